// Fields.h - field objects: TField, its kinds, and the TFields list of a dataset.
//
// A field reads and writes its value through its dataset (GetFieldData/SetFieldData) as a
// Variant; each field kind canonicalises the value on the way in (strings cut to Size,
// integers range-checked, dates as TDateTime, BCD as Currency) so every dataset can store
// Variants. Writing a value runs Validate (OnValidate with the new value readable through the
// field), stores it, and the dataset's deFieldChange then reaches OnChange, which fires on
// every write, also when the value does not change.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/DBConsts.h"
#include "platform/rtl/Variant.h"

class TDataSet;
class TField;
class TFields;

using TFieldNotifyEvent = std::function<void(TField* Sender)>;
using TFieldGetTextEvent = std::function<void(TField* Sender, String& Text, bool DisplayText)>;
using TFieldSetTextEvent = std::function<void(TField* Sender, const String& Text)>;

// Creates a field of one class with the given owner (the class library's field class).
using TFieldClass = TField* (*)(TComponent* AOwner);

class TField : public TComponent {
  VORENTA_CLASS(TField, TComponent)
public:
  TField(TComponent* AOwner, TFieldType DataType);
  ~TField() override;

  // --- identity and binding
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  String FullName() const { return FFieldName; }
  TFieldType DataType() const { return FDataType; }
  int FieldNo() const { return FFieldNo; }
  TFieldKind FieldKind() const { return FFieldKind; }
  void SetFieldKind(TFieldKind Value);
  bool Calculated() const { return FFieldKind == fkCalculated; }
  bool Lookup() const { return FFieldKind == fkLookup; }
  int Index() const;
  void SetIndex(int Value);
  int Size() const { return FSize; }
  void SetSize(int Value);
  int Offset() const { return FOffset; }
  virtual bool IsBlob() const { return false; }
  virtual int DataSize() const;

  // --- presentation and rules
  String DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
  void SetDisplayLabel(const String& Value);
  String DisplayName() const { return DisplayLabel(); }
  int DisplayWidth() const { return FDisplayWidth > 0 ? FDisplayWidth : DefaultWidth(); }
  void SetDisplayWidth(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool Required() const { return FRequired; }
  void SetRequired(bool Value) { FRequired = Value; }
  const String& Origin() const { return FOrigin; }
  void SetOrigin(const String& Value) { FOrigin = Value; }
  const String& EditMask() const { return FEditMask; }
  void SetEditMask(const String& Value);
  const String& DefaultExpression() const { return FDefaultExpression; }
  void SetDefaultExpression(const String& Value) { FDefaultExpression = Value; }
  TProviderFlags ProviderFlags() const { return FProviderFlags; }
  void SetProviderFlags(TProviderFlags Value) { FProviderFlags = Value; }
  TAutoRefreshFlag AutoGenerateValue() const { return FAutoGenerateValue; }
  void SetAutoGenerateValue(TAutoRefreshFlag Value) { FAutoGenerateValue = Value; }
  // Not read-only, the dataset can modify, and a data field (or a lookup field, which writes
  // its key fields).
  bool CanModify() const;
  virtual bool IsValidChar(Char Ch) const;

  // --- lookup definition (FieldKind fkLookup)
  const String& KeyFields() const { return FKeyFields; }
  void SetKeyFields(const String& Value);
  TDataSet* LookupDataSet() const { return FLookupDataSet; }
  void SetLookupDataSet(TDataSet* Value);
  const String& LookupKeyFields() const { return FLookupKeyFields; }
  void SetLookupKeyFields(const String& Value);
  const String& LookupResultField() const { return FLookupResultField; }
  void SetLookupResultField(const String& Value);
  bool LookupCache() const { return FLookupCache; }
  void SetLookupCache(bool Value);
  // Rebuilds the lookup cache from the lookup dataset (when LookupCache is set).
  void RefreshLookupList();

  // --- value access
  bool IsNull() const;
  void Clear() { SetData(nullptr); }
  Variant Value() const { return AsVariant(); }
  void SetValue(const Variant& V) { SetAsVariant(V); }
  Variant AsVariant() const { return GetAsVariant(); }
  void SetAsVariant(const Variant& V);
  String AsString() const { return GetAsString(); }
  void SetAsString(const String& V) { SetAsStringValue(V); }
  Integer AsInteger() const { return GetAsInteger(); }
  void SetAsInteger(Integer V) { SetAsIntegerValue(V); }
  Int64 AsLargeInt() const { return GetAsLargeInt(); }
  void SetAsLargeInt(Int64 V) { SetAsLargeIntValue(V); }
  double AsFloat() const { return GetAsFloat(); }
  void SetAsFloat(double V) { SetAsFloatValue(V); }
  Currency AsCurrency() const { return GetAsCurrency(); }
  void SetAsCurrency(Currency V) { SetAsCurrencyValue(V); }
  TDateTime AsDateTime() const { return GetAsDateTime(); }
  void SetAsDateTime(TDateTime V) { SetAsDateTimeValue(V); }
  bool AsBoolean() const { return GetAsBoolean(); }
  void SetAsBoolean(bool V) { SetAsBooleanValue(V); }
  // Editing text (EditFormat) and display text (DisplayFormat), through OnGetText when set.
  String Text() const;
  void SetText(const String& Value);
  String DisplayText() const;
  // The values of the record in the temporary states dsOldValue, dsCurValue, dsNewValue.
  Variant OldValue() const;
  Variant CurValue() const;
  Variant NewValue() const;
  void SetNewValue(const Variant& V);
  // Asks the controls showing this field to take the focus (deFocusControl).
  void FocusControl();

  // --- events
  const TFieldNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TFieldNotifyEvent Value) { FOnChange = std::move(Value); }
  const TFieldNotifyEvent& OnValidate() const { return FOnValidate; }
  void SetOnValidate(TFieldNotifyEvent Value) { FOnValidate = std::move(Value); }
  const TFieldGetTextEvent& OnGetText() const { return FOnGetText; }
  void SetOnGetText(TFieldGetTextEvent Value) { FOnGetText = std::move(Value); }
  const TFieldSetTextEvent& OnSetText() const { return FOnSetText; }
  void SetOnSetText(TFieldSetTextEvent Value) { FOnSetText = std::move(Value); }

  // --- the exchange with the dataset (called by datasets and field kinds)
  // Reads the value; false when Null. Value may be null to test for Null only. While
  // OnValidate runs, gives the value being validated.
  bool GetData(Variant* Value) const;
  // Writes the value through the dataset; nullptr clears it (Null).
  void SetData(const Variant* Value);
  // Runs OnValidate with Value readable through the field; datasets call it before storing.
  void Validate(const Variant* Value);
  // Sent by the dataset after a successful write (deFieldChange): fires OnChange.
  virtual void Change();
  // The dataset sets FieldNo and the calculated-area offset when binding.
  void Bind(int FieldNo, int Offset) { FFieldNo = FieldNo; FOffset = Offset; }
  // Lookup value for the dataset's current key values (CalculateFields uses it).
  void CalcLookupValue();

protected:
  virtual int DefaultWidth() const { return 10; }
  // Checks a size given for this kind ("Invalid field size").
  virtual void CheckTypeSize(int Value) const;
  // Typed access; the defaults convert through the Variant (Null reads as 0, "" or False).
  virtual Variant GetAsVariant() const;
  virtual void SetVarValue(const Variant& V);
  virtual String GetAsString() const;
  virtual void SetAsStringValue(const String& V);
  virtual Integer GetAsInteger() const;
  virtual void SetAsIntegerValue(Integer V);
  virtual Int64 GetAsLargeInt() const;
  virtual void SetAsLargeIntValue(Int64 V);
  virtual double GetAsFloat() const;
  virtual void SetAsFloatValue(double V);
  virtual Currency GetAsCurrency() const;
  virtual void SetAsCurrencyValue(Currency V);
  virtual TDateTime GetAsDateTime() const;
  virtual void SetAsDateTimeValue(TDateTime V);
  virtual bool GetAsBoolean() const;
  virtual void SetAsBooleanValue(bool V);
  virtual void GetText(String& Text, bool DisplayText) const;
  virtual void SetTextValue(const String& Text);
  // Brings a value to this kind's canonical Variant (type, size, range); raises on bad input.
  virtual Variant Canonical(const Variant& V) const { return V; }
  [[noreturn]] void ConvertError(const String& Text) const;
  void PropertyChanged(bool LayoutAffected);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TFieldType FDataType;
  int FSize = 0;

private:
  friend class TFields;
  friend class TDataSet;
  Variant ValueInState(TDataSetState State) const;

  TDataSet* FDataSet = nullptr;
  // Where Index() found this field last: reads of a record's values ask it for every value,
  // and the list seldom changes, so that place is checked before the list is searched.
  mutable int FIndexHint = 0;
  String FFieldName;
  int FFieldNo = 0;
  int FOffset = 0;
  TFieldKind FFieldKind = fkData;
  String FDisplayLabel;
  int FDisplayWidth = 0;
  TAlignment FAlignment = taLeftJustify;
  bool FVisible = true;
  bool FReadOnly = false;
  bool FRequired = false;
  String FOrigin;
  String FEditMask;
  String FDefaultExpression;
  TProviderFlags FProviderFlags{pfInUpdate, pfInWhere};
  TAutoRefreshFlag FAutoGenerateValue = arNone;
  String FKeyFields;
  TDataSet* FLookupDataSet = nullptr;
  String FLookupKeyFields;
  String FLookupResultField;
  bool FLookupCache = false;
  std::vector<std::pair<Variant, Variant>> FLookupList;
  const Variant* FValidating = nullptr;
  TFieldNotifyEvent FOnChange;
  TFieldNotifyEvent FOnValidate;
  TFieldGetTextEvent FOnGetText;
  TFieldSetTextEvent FOnSetText;
};

// --- text kinds ------------------------------------------------------------------------

class TStringField : public TField {
  VORENTA_CLASS(TStringField, TField)
public:
  explicit TStringField(TComponent* AOwner, TFieldType DataType = ftString);
  bool FixedChar() const { return FFixedChar; }
  void SetFixedChar(bool Value) { FFixedChar = Value; }
  bool Transliterate() const { return FTransliterate; }
  void SetTransliterate(bool Value) { FTransliterate = Value; }

protected:
  int DefaultWidth() const override { return FSize; }
  void CheckTypeSize(int Value) const override;
  Variant Canonical(const Variant& V) const override;
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  bool GetAsBoolean() const override;

private:
  bool FFixedChar = false;
  bool FTransliterate = true;
};

class TWideStringField : public TStringField {
  VORENTA_CLASS(TWideStringField, TStringField)
public:
  explicit TWideStringField(TComponent* AOwner) : TStringField(AOwner, ftWideString) {}
};

class TGuidField : public TStringField {
public:
  explicit TGuidField(TComponent* AOwner);
};

// --- numeric kinds ---------------------------------------------------------------------

class TNumericField : public TField {
  VORENTA_CLASS(TNumericField, TField)
public:
  TNumericField(TComponent* AOwner, TFieldType DataType);
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);
  const String& EditFormat() const { return FEditFormat; }
  void SetEditFormat(const String& Value);
  bool IsValidChar(Char Ch) const override;

protected:
  void SetAsStringValue(const String& V) override;

private:
  String FDisplayFormat;
  String FEditFormat;
};

class TIntegerField : public TNumericField {
  VORENTA_CLASS(TIntegerField, TNumericField)
public:
  explicit TIntegerField(TComponent* AOwner, TFieldType DataType = ftInteger);
  Int64 MinValue() const { return FMinValue; }
  void SetMinValue(Int64 Value) { FMinValue = Value; }
  Int64 MaxValue() const { return FMaxValue; }
  void SetMaxValue(Int64 Value) { FMaxValue = Value; }

protected:
  int DefaultWidth() const override { return 11; }
  Variant Canonical(const Variant& V) const override;
  void GetText(String& Text, bool DisplayText) const override;
  // The type's own range (int16, uint16, int32, int64).
  virtual void TypeRange(Int64& Min, Int64& Max) const;

private:
  Int64 FMinValue = 0;
  Int64 FMaxValue = 0;
};

class TSmallintField : public TIntegerField {
  VORENTA_CLASS(TSmallintField, TIntegerField)
public:
  explicit TSmallintField(TComponent* AOwner) : TIntegerField(AOwner, ftSmallint) {}
protected:
  int DefaultWidth() const override { return 6; }
};

class TWordField : public TIntegerField {
public:
  explicit TWordField(TComponent* AOwner) : TIntegerField(AOwner, ftWord) {}
protected:
  int DefaultWidth() const override { return 5; }
};

class TAutoIncField : public TIntegerField {
  VORENTA_CLASS(TAutoIncField, TIntegerField)
public:
  explicit TAutoIncField(TComponent* AOwner);
};

class TLargeintField : public TIntegerField {
  VORENTA_CLASS(TLargeintField, TIntegerField)
public:
  explicit TLargeintField(TComponent* AOwner) : TIntegerField(AOwner, ftLargeint) {}
protected:
  int DefaultWidth() const override { return 15; }
};

class TFloatField : public TNumericField {
  VORENTA_CLASS(TFloatField, TNumericField)
public:
  explicit TFloatField(TComponent* AOwner, TFieldType DataType = ftFloat);
  bool currency() const { return FCurrency; }
  void SetCurrency(bool Value);
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  double MinValue() const { return FMinValue; }
  void SetMinValue(double Value) { FMinValue = Value; }
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value) { FMaxValue = Value; }

protected:
  Variant Canonical(const Variant& V) const override;
  void GetText(String& Text, bool DisplayText) const override;

private:
  bool FCurrency = false;
  int FPrecision = 15;
  double FMinValue = 0;
  double FMaxValue = 0;
};

class TCurrencyField : public TFloatField {
  VORENTA_CLASS(TCurrencyField, TFloatField)
public:
  explicit TCurrencyField(TComponent* AOwner);
};

class TBCDField : public TNumericField {
public:
  explicit TBCDField(TComponent* AOwner, TFieldType DataType = ftBCD);
  bool currency() const { return FCurrency; }
  void SetCurrency(bool Value);
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value) { FPrecision = Value; }

protected:
  Variant Canonical(const Variant& V) const override;
  void GetText(String& Text, bool DisplayText) const override;
  void CheckTypeSize(int Value) const override;

private:
  bool FCurrency = false;
  int FPrecision = 0;
};

// --- Boolean, dates ----------------------------------------------------------------------

class TBooleanField : public TField {
  VORENTA_CLASS(TBooleanField, TField)
public:
  explicit TBooleanField(TComponent* AOwner);
  // "True;False" texts for display and parsing.
  const String& DisplayValues() const { return FDisplayValues; }
  void SetDisplayValues(const String& Value);

protected:
  int DefaultWidth() const override { return 5; }
  Variant Canonical(const Variant& V) const override;
  void GetText(String& Text, bool DisplayText) const override;
  void SetAsStringValue(const String& V) override;

private:
  String FDisplayValues;
  String FTrueText = u"True";
  String FFalseText = u"False";
};

class TDateTimeField : public TField {
  VORENTA_CLASS(TDateTimeField, TField)
public:
  explicit TDateTimeField(TComponent* AOwner, TFieldType DataType = ftDateTime);
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value);

protected:
  int DefaultWidth() const override { return 18; }
  Variant Canonical(const Variant& V) const override;
  void GetText(String& Text, bool DisplayText) const override;
  void SetAsStringValue(const String& V) override;

private:
  String FDisplayFormat;
};

class TDateField : public TDateTimeField {
  VORENTA_CLASS(TDateField, TDateTimeField)
public:
  explicit TDateField(TComponent* AOwner) : TDateTimeField(AOwner, ftDate) {}
protected:
  int DefaultWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField {
public:
  explicit TTimeField(TComponent* AOwner) : TDateTimeField(AOwner, ftTime) {}
protected:
  int DefaultWidth() const override { return 8; }
};

// --- blobs, variants, references -------------------------------------------------------

// Blob kinds keep their whole value in one Variant: text for memos, the bytes as a string of
// byte-sized characters otherwise.
String BlobBytesToText(std::string_view Bytes);
// The bytes a blob text holds; false when a character lies above 0xFF (its low byte is kept).
bool BlobTextToBytes(std::u16string_view Text, std::string& Bytes);

class TBlobField : public TField {
public:
  explicit TBlobField(TComponent* AOwner, TFieldType DataType = ftBlob);
  bool IsBlob() const override { return true; }
  TFieldType BlobType() const { return FDataType; }
  void SetBlobType(TFieldType Value) { FDataType = Value; }
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  bool Transliterate() const { return FTransliterate; }
  void SetTransliterate(bool Value) { FTransliterate = Value; }
  int GraphicHeader() const { return FGraphicHeader; }
  void SetGraphicHeader(int Value) { FGraphicHeader = Value; }
  // Whole value as raw bytes (one byte per character of the stored text).
  std::string AsBytes() const;
  void SetAsBytes(const std::string& Bytes);

protected:
  void CheckTypeSize(int Value) const override;
  void GetText(String& Text, bool DisplayText) const override;
  void SetVarValue(const Variant& V) override;

private:
  bool FModified = false;
  bool FTransliterate = true;
  int FGraphicHeader = 0;
};

class TMemoField : public TBlobField {
public:
  explicit TMemoField(TComponent* AOwner, TFieldType DataType = ftMemo)
      : TBlobField(AOwner, DataType) {}
};

class TWideMemoField : public TMemoField {
public:
  explicit TWideMemoField(TComponent* AOwner) : TMemoField(AOwner, ftWideMemo) {}
};

class TGraphicField : public TBlobField {
public:
  explicit TGraphicField(TComponent* AOwner) : TBlobField(AOwner, ftGraphic) {}
};

class TVariantField : public TField {
public:
  explicit TVariantField(TComponent* AOwner) : TField(AOwner, ftVariant) {}
protected:
  void CheckTypeSize(int) const override {}
};

// A reference to a row of another table; declared for completeness, values are Variants.
class TReferenceField : public TField {
public:
  explicit TReferenceField(TComponent* AOwner) : TField(AOwner, ftReference) {}
};

// A value the dataset computes over its rows (GetAggregateValue); lives in AggFields.
class TAggregateField : public TField {
public:
  explicit TAggregateField(TComponent* AOwner);
  const String& Expression() const { return FExpression; }
  void SetExpression(const String& Value);
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TFieldType ResultType() const { return FResultType; }
  void SetResultType(TFieldType Value) { FResultType = Value; }
  const String& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const String& Value) { FDisplayFormat = Value; }
  bool currency() const { return FCurrency; }
  void SetCurrency(bool Value) { FCurrency = Value; }
  // An opaque pointer the dataset keeps per aggregate.
  void* Handle() const { return FHandle; }
  void SetHandle(void* Value) { FHandle = Value; }

protected:
  Variant GetAsVariant() const override;
  void GetText(String& Text, bool DisplayText) const override;

private:
  String FExpression;
  bool FActive = false;
  TFieldType FResultType = ftUnknown;
  String FDisplayFormat;
  bool FCurrency = false;
  void* FHandle = nullptr;
};

// The class creating fields of a type (nullptr for types no field class serves).
TFieldClass DefaultFieldClass(TFieldType Type);

// --- TFields -----------------------------------------------------------------------------

// The ordered field list of a dataset. It does not own the fields: a field belongs to its
// owner component (the form for persistent fields, the dataset for default fields).
class TFields {
public:
  explicit TFields(TDataSet* ADataSet) : FDataSet(ADataSet) {}
  TFields(const TFields&) = delete;
  TFields& operator=(const TFields&) = delete;

  TDataSet* DataSet() const { return FDataSet; }
  int Count() const { return static_cast<int>(FList.size()); }
  TField* Fields(int Index) const;
  TField* operator[](int Index) const { return Fields(Index); }
  int IndexOf(const TField* Field) const;
  TField* FindField(const String& Name) const;
  TField* FieldByName(const String& Name) const;
  TField* FieldByNumber(int FieldNo) const;
  void Add(TField* Field);
  void Remove(TField* Field);
  void SetFieldIndex(TField* Field, int Index);
  // Detaches every field from the dataset (fields stay alive).
  void Clear();
  auto begin() const { return FList.begin(); }
  auto end() const { return FList.end(); }

private:
  TDataSet* FDataSet;
  std::vector<TField*> FList;
};
