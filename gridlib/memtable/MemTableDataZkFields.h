// MemTableDataZkFields.h - the field structure of the memory table's data container: the
// structure (TMTDataStructZk) and its nine field definition classes, with the tables from a
// field type to its definition class and to the variant type its values are held in.
#pragma once

#include <vector>

#include "platform/classes/Alignment.h"
#include "platform/classes/Component.h"
#include "platform/db/DBConsts.h"
#include "platform/rtl/Variant.h"

class TMemTableDataZk;
class TMTDataStructZk;
class TField;
class TFieldDefs;
class TFields;

VORENTA_ENUM(TMTStringDataTypeZk, fdtStringZk, fdtFixedCharZk, fdtWideStringZk, fdtGuidZk,
             fdtFixedWideCharZk, fdtOraIntervalZk);
VORENTA_ENUM(TMTNumericDataTypeZk, fdtSmallintZk, fdtIntegerZk, fdtWordZk, fdtFloatZk,
             fdtCurrencyZk, fdtBCDZk, fdtAutoIncZk, fdtLargeintZk, fdtFMTBcdZk, fdtLongWordZk,
             fdtShortintZk, fdtByteZk, fdtExtendedZk);
VORENTA_ENUM(TMTDateTimeDataTypeZk, fdtDateZk, fdtTimeZk, fdtDateTimeZk);
VORENTA_ENUM(TMTInterfaceDataTypeZk, fdtInterfaceZk, fdtIDispatchZk);
VORENTA_ENUM(TMTVariantDataTypeZk, fdtVariant, fdtBytes, fdtVarBytes);
VORENTA_ENUM(TMTSQLTimeStampDataTypeZk, fdtTimeStampZk, fdtOraTimeStampZk);

// One field definition: its name, display settings and data type. Its position in the
// structure is the position of its value in every record.
class TMTDataFieldZk : public TComponent {
  VORENTA_CLASS(TMTDataFieldZk, TComponent)
public:
  explicit TMTDataFieldZk(TComponent* AOwner);
  ~TMTDataFieldZk() override;

  virtual int DefaultSize() const { return 0; }
  virtual TAlignment DefaultAlignment() const { return taLeftJustify; }
  virtual String DefaultDefaultExpression() const { return String(); }
  virtual String DefaultDisplayLabel() const { return Name(); }
  virtual int DefaultDisplayWidth() const { return 50; }
  virtual String DefaultEditMask() const { return String(); }
  virtual bool DefaultRequired() const { return false; }
  virtual bool DefaultVisible() const { return true; }

  virtual TAlignment Alignment() const { return FAlignment; }
  virtual void SetAlignment(TAlignment Value) { FAlignment = Value; }
  virtual bool AutoIncrement() const { return FAutoIncrement; }
  virtual void SetAutoIncrement(bool Value) { FAutoIncrement = Value; }
  virtual TFieldType DataType() const { return ftUnknown; }
  virtual String DefaultExpression() const { return FDefaultExpression; }
  virtual void SetDefaultExpression(const String& Value) { FDefaultExpression = Value; }
  virtual String DisplayLabel() const { return FDisplayLabel; }
  virtual void SetDisplayLabel(const String& Value) { FDisplayLabel = Value; }
  virtual int DisplayWidth() const { return FDisplayWidth; }
  virtual void SetDisplayWidth(int Value) { FDisplayWidth = Value; }
  virtual String EditMask() const { return FEditMask; }
  virtual void SetEditMask(const String& Value) { FEditMask = Value; }
  virtual String FieldName() const { return FFieldName; }
  // Checks the name against the structure (empty or duplicate) when it changes.
  virtual void SetFieldName(const String& Value);
  virtual bool ReadOnly() const { return FReadOnly; }
  virtual void SetReadOnly(bool Value) { FReadOnly = Value; }
  virtual bool Required() const { return FRequired; }
  virtual void SetRequired(bool Value) { FRequired = Value; }
  virtual int Size() const { return FSize; }
  // "Invalid field size" for a class of fixed size.
  virtual void SetSize(int Value);
  virtual bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value) { FVisible = Value; }
  virtual bool CanDinaSize() const { return false; }
  // Whether values are object references, stored as given.
  virtual bool HoldsObjects() const { return false; }
  // The variant type the definition's values are held in.
  virtual TVarType GetVarDataType() const { return FieldTypeVarType(DataType()); }
  // "Can not assign DataType from Field" for a type the class does not hold.
  virtual void AssignDataType(TFieldType FieldType);
  virtual void AssignProps(TField* Field);

  void Assign(TPersistent* Source) override;
  void ReadState(TReader* Reader) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  TMTDataStructZk* DataStruct() const { return FDataStruct; }
  void SetDataStruct(TMTDataStructZk* Value);
  Int64 FieldId() const { return FFieldId; }
  // The position in the structure.
  int Index() const;

  static TVarType FieldTypeVarType(TFieldType Type);

protected:
  [[noreturn]] void DataTypeError() const;

  TAlignment FAlignment = taLeftJustify;
  bool FAutoIncrement = false;
  TMTDataStructZk* FDataStruct = nullptr;
  String FDefaultExpression;
  String FDisplayLabel;
  String FEditMask;
  int FDisplayWidth = 0;
  int FSize = 0;
  Int64 FFieldId = 0;
  String FFieldName;
  bool FReadOnly = false;
  bool FRequired = false;
  // A new definition is shown: a table made from field definitions alone takes its fields'
  // Visible from here. Stored structures always write Visible, so they read back as written.
  bool FVisible = true;

  friend class TMTDataStructZk;
};

using TMTDataFieldClassZk = TClass;

class TMTStringDataFieldZk : public TMTDataFieldZk {
  VORENTA_CLASS(TMTStringDataFieldZk, TMTDataFieldZk)
public:
  using TMTDataFieldZk::TMTDataFieldZk;
  int DefaultSize() const override { return 20; }
  TFieldType DataType() const override;
  bool CanDinaSize() const override { return true; }
  void AssignDataType(TFieldType FieldType) override;
  void AssignProps(TField* Field) override;
  void Assign(TPersistent* Source) override;
  TMTStringDataTypeZk StringDataType() const { return FStringDataType; }
  void SetStringDataType(TMTStringDataTypeZk Value) { FStringDataType = Value; }
  bool FixedChar() const { return FFixedChar; }
  void SetFixedChar(bool Value) { FFixedChar = Value; }
  bool Transliterate() const { return FTransliterate; }
  void SetTransliterate(bool Value) { FTransliterate = Value; }

private:
  TMTStringDataTypeZk FStringDataType = fdtStringZk;
  bool FFixedChar = false;
  bool FTransliterate = true;
};

class TMTNumericDataFieldZk : public TMTDataFieldZk {
  VORENTA_CLASS(TMTNumericDataFieldZk, TMTDataFieldZk)
public:
  using TMTDataFieldZk::TMTDataFieldZk;
  TFieldType DataType() const override;
  void AssignDataType(TFieldType FieldType) override;
  void AssignProps(TField* Field) override;
  void Assign(TPersistent* Source) override;
  TMTNumericDataTypeZk NumericDataType() const { return FNumericDataType; }
  void SetNumericDataType(TMTNumericDataTypeZk Value) { FNumericDataType = Value; }
  String DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value) { FDisplayFormat = Value; }
  String EditFormat() const { return FEditFormat; }
  void SetEditFormat(const String& Value) { FEditFormat = Value; }
  bool currency() const { return FCurrency; }
  void SetCurrency(bool Value) { FCurrency = Value; }
  Extended MaxValue() const { return FMaxValue; }
  void SetMaxValue(Extended Value) { FMaxValue = Value; }
  Extended MinValue() const { return FMinValue; }
  void SetMinValue(Extended Value) { FMinValue = Value; }
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value) { FPrecision = Value; }

private:
  TMTNumericDataTypeZk FNumericDataType = fdtSmallintZk;
  String FDisplayFormat;
  String FEditFormat;
  bool FCurrency = false;
  Extended FMaxValue = 0;
  Extended FMinValue = 0;
  int FPrecision = 0;
};

class TMTDateTimeDataFieldZk : public TMTDataFieldZk {
  VORENTA_CLASS(TMTDateTimeDataFieldZk, TMTDataFieldZk)
public:
  using TMTDataFieldZk::TMTDataFieldZk;
  TFieldType DataType() const override;
  void AssignDataType(TFieldType FieldType) override;
  void AssignProps(TField* Field) override;
  void Assign(TPersistent* Source) override;
  TMTDateTimeDataTypeZk DateTimeDataType() const { return FDateTimeDataType; }
  void SetDateTimeDataType(TMTDateTimeDataTypeZk Value) { FDateTimeDataType = Value; }
  String DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value) { FDisplayFormat = Value; }

private:
  TMTDateTimeDataTypeZk FDateTimeDataType = fdtDateZk;
  String FDisplayFormat;
};

class TMTBlobDataFieldZk : public TMTDataFieldZk {
  VORENTA_CLASS(TMTBlobDataFieldZk, TMTDataFieldZk)
public:
  using TMTDataFieldZk::TMTDataFieldZk;
  TFieldType DataType() const override { return FBlobType; }
  // Any type from ftBlob to ftWideMemo is stored; others are ignored.
  void AssignDataType(TFieldType FieldType) override;
  void AssignProps(TField* Field) override;
  void Assign(TPersistent* Source) override;
  TFieldType BlobType() const { return FBlobType; }
  // A type outside ftBlob..ftWideMemo raises "Invalid property value" (streams check it).
  void SetBlobType(TFieldType Value);
  int GraphicHeader() const { return FGraphicHeader; }
  void SetGraphicHeader(int Value) { FGraphicHeader = Value; }
  bool Transliterate() const { return FTransliterate; }
  void SetTransliterate(bool Value) { FTransliterate = Value; }

private:
  TFieldType FBlobType = ftBlob;
  int FGraphicHeader = 0;
  bool FTransliterate = false;
};

class TMTBooleanDataFieldZk : public TMTDataFieldZk {
  VORENTA_CLASS(TMTBooleanDataFieldZk, TMTDataFieldZk)
public:
  using TMTDataFieldZk::TMTDataFieldZk;
  TFieldType DataType() const override { return ftBoolean; }
  void AssignDataType(TFieldType FieldType) override;
  void AssignProps(TField* Field) override;
  void Assign(TPersistent* Source) override;
  String DisplayValues() const { return FDisplayValues; }
  void SetDisplayValues(const String& Value) { FDisplayValues = Value; }

private:
  String FDisplayValues;
};

class TMTInterfaceDataFieldZk : public TMTDataFieldZk {
  VORENTA_CLASS(TMTInterfaceDataFieldZk, TMTDataFieldZk)
public:
  using TMTDataFieldZk::TMTDataFieldZk;
  TFieldType DataType() const override;
  void AssignDataType(TFieldType FieldType) override;
  TMTInterfaceDataTypeZk InterfaceDataType() const { return FInterfaceDataType; }
  void SetInterfaceDataType(TMTInterfaceDataTypeZk Value) { FInterfaceDataType = Value; }

private:
  TMTInterfaceDataTypeZk FInterfaceDataType = fdtInterfaceZk;
};

class TMTVariantDataFieldZk : public TMTDataFieldZk {
  VORENTA_CLASS(TMTVariantDataFieldZk, TMTDataFieldZk)
public:
  using TMTDataFieldZk::TMTDataFieldZk;
  TFieldType DataType() const override;
  bool CanDinaSize() const override { return FVariantDataType != fdtVariant; }
  void AssignDataType(TFieldType FieldType) override;
  TMTVariantDataTypeZk VariantDataType() const { return FVariantDataType; }
  void SetVariantDataType(TMTVariantDataTypeZk Value) { FVariantDataType = Value; }

private:
  TMTVariantDataTypeZk FVariantDataType = fdtVariant;
};

// A field holding a reference to an object (as an object handle).
class TMTRefObjectFieldZk : public TMTDataFieldZk {
  VORENTA_CLASS(TMTRefObjectFieldZk, TMTDataFieldZk)
public:
  using TMTDataFieldZk::TMTDataFieldZk;
  bool CanDinaSize() const override { return true; }
  bool HoldsObjects() const override { return true; }
  void AssignDataType(TFieldType FieldType) override;
};

class TMTSQLTimeStampDataFieldZk : public TMTDataFieldZk {
  VORENTA_CLASS(TMTSQLTimeStampDataFieldZk, TMTDataFieldZk)
public:
  using TMTDataFieldZk::TMTDataFieldZk;
  TFieldType DataType() const override;
  void AssignDataType(TFieldType FieldType) override;
  void Assign(TPersistent* Source) override;
  TMTSQLTimeStampDataTypeZk SQLTimeStampDataFieldType() const { return FSQLTimeStampDataFieldType; }
  void SetSQLTimeStampDataFieldType(TMTSQLTimeStampDataTypeZk Value) {
    FSQLTimeStampDataFieldType = Value;
  }
  String DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value) { FDisplayFormat = Value; }

private:
  TMTSQLTimeStampDataTypeZk FSQLTimeStampDataFieldType = fdtTimeStampZk;
  String FDisplayFormat;
};

// The definition class holding a field type, or nullptr for a type without one.
TClass MTDataFieldClassForType(TFieldType Type);

// The ordered field definitions of a data container. The structure frees its definitions.
class TMTDataStructZk : public TComponent {
  VORENTA_CLASS(TMTDataStructZk, TComponent)
public:
  explicit TMTDataStructZk(TMemTableDataZk* AMemTableData);
  ~TMTDataStructZk() override;

  int Count() const { return static_cast<int>(FList.size()); }
  TMTDataFieldZk* DataFields(int Index) const { return FList.at(static_cast<std::size_t>(Index)); }
  TMemTableDataZk* MemTableData() const { return FMemTableData; }

  void Clear();
  TMTDataFieldZk* CreateField(TClass FieldClass);
  void InsertField(TMTDataFieldZk* Field);
  void RemoveField(TMTDataFieldZk* Field);
  // Locale case-insensitive; nullptr when absent.
  TMTDataFieldZk* FindField(const String& FieldName) const;
  // FindField or the database error "Field '%s' not found".
  TMTDataFieldZk* FieldByName(const String& FieldName) const;
  // ASCII case-insensitive position, or -1.
  int FieldIndex(const String& FieldName) const;
  void GetFieldList(std::vector<TMTDataFieldZk*>* List, const String& FieldNames) const;
  // Positions of a ';' list; a single unknown name leaves Indexes as it was.
  void FieldsIndex(const String& FieldNames, std::vector<int>& Indexes) const;
  void CheckFieldName(const String& FieldName) const;
  // The unique component name for a definition of FieldName (the name's ASCII letters,
  // digits and '_', numbered when taken).
  String CreateUniqueName(const TMTDataFieldZk* Field, const String& FieldName) const;
  void Assign(TPersistent* Source) override;
  void BuildStructFromFieldDefs(TFieldDefs* FieldDefs);
  void BuildStructFromFields(TFields* Fields);
  void BuildFieldDefsFromStruct(TFieldDefs* FieldDefs) const;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  // Definitions read from a stream are owned by the structure.
  TComponent* GetChildOwner() override;

private:
  std::vector<TMTDataFieldZk*> FList;
  TMemTableDataZk* FMemTableData;
  Int64 FNextFieldId = 0;
};

// Registers the container's stream classes with the type registry (once at start-up).
void RegisterMemTableDataClasses();
