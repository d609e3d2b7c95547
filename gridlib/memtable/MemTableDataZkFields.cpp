// MemTableDataZkFields.cpp - the field definition classes, the structure and the type
// tables; the classes' published properties are registered here.
#include "gridlib/memtable/MemTableDataZkFields.h"

#include <algorithm>

#include "gridlib/memtable/MemTableDataZk.h"
#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"

namespace {

template <class TEnum>
TEnum EnumFromType(TFieldType Type, std::initializer_list<TFieldType> Types, bool& Found) {
  int I = 0;
  for (TFieldType T : Types) {
    if (T == Type) {
      Found = true;
      return static_cast<TEnum>(I);
    }
    ++I;
  }
  Found = false;
  return static_cast<TEnum>(0);
}

template <class TEnum>
TFieldType TypeFromEnum(TEnum Value, std::initializer_list<TFieldType> Types) {
  return Types.begin()[static_cast<int>(Value)];
}

constexpr std::initializer_list<TFieldType> kStringTypes = {
    ftString, ftFixedChar, ftWideString, ftGuid, ftFixedWideChar, ftOraInterval};
constexpr std::initializer_list<TFieldType> kNumericTypes = {
    ftSmallint, ftInteger, ftWord, ftFloat, ftCurrency, ftBCD, ftAutoInc,
    ftLargeint, ftFMTBcd, ftLongWord, ftShortint, ftByte, ftExtended};
constexpr std::initializer_list<TFieldType> kDateTimeTypes = {ftDate, ftTime, ftDateTime};
constexpr std::initializer_list<TFieldType> kInterfaceTypes = {ftInterface, ftIDispatch};
constexpr std::initializer_list<TFieldType> kVariantTypes = {ftVariant, ftBytes, ftVarBytes};
constexpr std::initializer_list<TFieldType> kTimeStampTypes = {ftTimeStamp, ftOraTimeStamp};

bool IsAsciiNameChar(Char C) {
  return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9') ||
         C == u'_';
}

String KeepAsciiNameChars(const String& S) {
  String Result;
  for (Char C : S)
    if (IsAsciiNameChar(C)) Result += C;
  return Result;
}


}  // namespace

// --- type tables -----------------------------------------------------------------------------

TVarType TMTDataFieldZk::FieldTypeVarType(TFieldType Type) {
  switch (Type) {
    case ftString: case ftMemo: case ftFmtMemo: case ftFixedChar: case ftOraClob: case ftGuid:
    case ftOraInterval:
      return varString;
    case ftSmallint: return varSmallint;
    case ftInteger: case ftWord: case ftAutoInc: return varInteger;
    case ftBoolean: return varBoolean;
    case ftFloat: case ftExtended: return varDouble;
    case ftCurrency: case ftBCD: return varCurrency;
    case ftDate: case ftTime: case ftDateTime: return varDate;
    case ftWideString: case ftFixedWideChar: case ftWideMemo: return varOleStr;
    case ftLargeint: return varInt64;
    case ftLongWord: return varLongWord;
    case ftShortint: return varShortInt;
    case ftByte: return varByte;
    case ftVariant: return varVariant;
    case ftInterface: return varUnknown;
    case ftIDispatch: return varDispatch;
    // No custom variant types here: time stamps are dates and FMT BCD a float.
    case ftTimeStamp: case ftOraTimeStamp: return varDate;
    case ftFMTBcd: return varDouble;
    case ftBytes: case ftVarBytes: case ftBlob: case ftGraphic: case ftParadoxOle:
    case ftDBaseOle: case ftTypedBinary: case ftOraBlob:
      return varArray | varByte;
    case ftUnknown: case ftCursor: case ftADT: case ftArray: case ftReference: case ftDataSet:
    case ftConnection: case ftParams: case ftStream:
      return varError;
    default:
      return varEmpty;
  }
}

TClass MTDataFieldClassForType(TFieldType Type) {
  auto In = [Type](std::initializer_list<TFieldType> L) {
    return std::find(L.begin(), L.end(), Type) != L.end();
  };
  if (Type == ftUnknown) return TMTRefObjectFieldZk::ClassInfo();
  if (In(kStringTypes)) return TMTStringDataFieldZk::ClassInfo();
  if (In(kNumericTypes)) return TMTNumericDataFieldZk::ClassInfo();
  if (Type == ftBoolean) return TMTBooleanDataFieldZk::ClassInfo();
  if (In(kDateTimeTypes)) return TMTDateTimeDataFieldZk::ClassInfo();
  if (In(kVariantTypes)) return TMTVariantDataFieldZk::ClassInfo();
  if (In({ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftOraBlob,
          ftOraClob, ftWideMemo}))
    return TMTBlobDataFieldZk::ClassInfo();
  if (In(kInterfaceTypes)) return TMTInterfaceDataFieldZk::ClassInfo();
  if (In(kTimeStampTypes)) return TMTSQLTimeStampDataFieldZk::ClassInfo();
  return nullptr;
}

// --- TMTDataFieldZk ----------------------------------------------------------------------------

TMTDataFieldZk::TMTDataFieldZk(TComponent* AOwner) : TComponent(AOwner) {}

TMTDataFieldZk::~TMTDataFieldZk() { SetDataStruct(nullptr); }

void TMTDataFieldZk::DataTypeError() const { throw Exception(u"Can not assign DataType from Field"); }

void TMTDataFieldZk::AssignDataType(TFieldType) { DataTypeError(); }

void TMTDataFieldZk::SetFieldName(const String& Value) {
  if (FDataStruct && FDataStruct->MemTableData()) FDataStruct->MemTableData()->StructChanging();
  if (FDataStruct && !AnsiSameText(Value, FFieldName)) FDataStruct->CheckFieldName(Value);
  FFieldName = Value;
}

void TMTDataFieldZk::SetSize(int Value) {
  if (!CanDinaSize()) throw EDatabaseError(u"Invalid field size");
  FSize = Value;
}

int TMTDataFieldZk::Index() const {
  if (!FDataStruct) return -1;
  for (int I = 0; I < FDataStruct->Count(); ++I)
    if (FDataStruct->DataFields(I) == this) return I;
  return -1;
}

void TMTDataFieldZk::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TMTDataFieldZk*>(Source);
  if (!Src) return TComponent::Assign(Source);
  SetFieldName(Src->FieldName());
  if (CanDinaSize()) SetSize(Src->Size());
  SetAlignment(Src->Alignment());
  SetDefaultExpression(Src->DefaultExpression());
  SetDisplayLabel(Src->DisplayLabel());
  SetDisplayWidth(Src->DisplayWidth());
  SetEditMask(Src->EditMask());
  SetRequired(Src->Required());
  SetVisible(Src->Visible());
}

void TMTDataFieldZk::AssignProps(TField* Field) {
  SetAlignment(Field->Alignment());
  SetDefaultExpression(Field->DefaultExpression());
  SetEditMask(Field->EditMask());
  SetRequired(Field->Required());
  SetDisplayLabel(Field->DisplayLabel());
  SetDisplayWidth(Field->DisplayWidth());
  if (Field->AutoGenerateValue() == arAutoInc) SetAutoIncrement(true);
  if (CanDinaSize()) SetSize(Field->Size());
  SetVisible(Field->Visible());
}

TComponent* TMTDataFieldZk::GetParentComponent() const { return FDataStruct; }

void TMTDataFieldZk::SetParentComponent(TComponent* Value) {
  if (ComponentState().Contains(csLoading)) return;
  FDataStruct = dynamic_cast<TMTDataStructZk*>(Value);
}

void TMTDataFieldZk::SetDataStruct(TMTDataStructZk* Value) {
  if (Value == FDataStruct) return;
  if (FDataStruct) FDataStruct->RemoveField(this);
  if (Value) Value->InsertField(this);
}

// --- the definition classes ----------------------------------------------------------------------

TFieldType TMTStringDataFieldZk::DataType() const { return TypeFromEnum(FStringDataType, kStringTypes); }

void TMTStringDataFieldZk::AssignDataType(TFieldType FieldType) {
  bool Found;
  auto V = EnumFromType<TMTStringDataTypeZk>(FieldType, kStringTypes, Found);
  if (!Found) DataTypeError();
  FStringDataType = V;
}

void TMTStringDataFieldZk::AssignProps(TField* Field) {
  TMTDataFieldZk::AssignProps(Field);
  if (auto* F = dynamic_cast<TStringField*>(Field)) {
    FFixedChar = F->FixedChar();
    FTransliterate = F->Transliterate();
  }
}

void TMTStringDataFieldZk::Assign(TPersistent* Source) {
  TMTDataFieldZk::Assign(Source);
  if (auto* S = dynamic_cast<TMTStringDataFieldZk*>(Source)) {
    FStringDataType = S->FStringDataType;
    FFixedChar = S->FFixedChar;
    FTransliterate = S->FTransliterate;
  }
}

TFieldType TMTNumericDataFieldZk::DataType() const {
  return TypeFromEnum(FNumericDataType, kNumericTypes);
}

void TMTNumericDataFieldZk::AssignDataType(TFieldType FieldType) {
  bool Found;
  auto V = EnumFromType<TMTNumericDataTypeZk>(FieldType, kNumericTypes, Found);
  if (!Found) DataTypeError();
  FNumericDataType = V;
}

void TMTNumericDataFieldZk::AssignProps(TField* Field) {
  TMTDataFieldZk::AssignProps(Field);
  auto* N = dynamic_cast<TNumericField*>(Field);
  if (!N) return;
  FDisplayFormat = N->DisplayFormat();
  FEditFormat = N->EditFormat();
  if (auto* F = dynamic_cast<TIntegerField*>(Field)) {
    FMaxValue = static_cast<Extended>(F->MaxValue());
    FMinValue = static_cast<Extended>(F->MinValue());
  } else if (auto* F = dynamic_cast<TFloatField*>(Field)) {
    FCurrency = F->currency();
    FMaxValue = F->MaxValue();
    FMinValue = F->MinValue();
    FPrecision = F->Precision();
  } else if (auto* F = dynamic_cast<TBCDField*>(Field)) {
    FCurrency = F->currency();
    FPrecision = F->Precision();
  }
}

void TMTNumericDataFieldZk::Assign(TPersistent* Source) {
  TMTDataFieldZk::Assign(Source);
  if (auto* S = dynamic_cast<TMTNumericDataFieldZk*>(Source)) {
    FNumericDataType = S->FNumericDataType;
    FDisplayFormat = S->FDisplayFormat;
    FEditFormat = S->FEditFormat;
    FCurrency = S->FCurrency;
    FMaxValue = S->FMaxValue;
    FMinValue = S->FMinValue;
    FPrecision = S->FPrecision;
  }
}

TFieldType TMTDateTimeDataFieldZk::DataType() const {
  return TypeFromEnum(FDateTimeDataType, kDateTimeTypes);
}

void TMTDateTimeDataFieldZk::AssignDataType(TFieldType FieldType) {
  bool Found;
  auto V = EnumFromType<TMTDateTimeDataTypeZk>(FieldType, kDateTimeTypes, Found);
  if (!Found) DataTypeError();
  FDateTimeDataType = V;
}

void TMTDateTimeDataFieldZk::AssignProps(TField* Field) {
  TMTDataFieldZk::AssignProps(Field);
  if (auto* F = dynamic_cast<TDateTimeField*>(Field)) FDisplayFormat = F->DisplayFormat();
}

void TMTDateTimeDataFieldZk::Assign(TPersistent* Source) {
  TMTDataFieldZk::Assign(Source);
  if (auto* S = dynamic_cast<TMTDateTimeDataFieldZk*>(Source)) {
    FDateTimeDataType = S->FDateTimeDataType;
    FDisplayFormat = S->FDisplayFormat;
  }
}

void TMTBlobDataFieldZk::AssignDataType(TFieldType FieldType) {
  if (FieldType >= ftBlob && FieldType <= ftWideMemo) FBlobType = FieldType;
}

void TMTBlobDataFieldZk::SetBlobType(TFieldType Value) {
  if (Value < ftBlob || Value > ftWideMemo) throw Exception(u"Invalid property value");
  FBlobType = Value;
}

void TMTBlobDataFieldZk::AssignProps(TField* Field) {
  TMTDataFieldZk::AssignProps(Field);
  if (auto* F = dynamic_cast<TBlobField*>(Field)) {
    AssignDataType(F->DataType());
    FGraphicHeader = F->GraphicHeader();
    FTransliterate = F->Transliterate();
  }
}

void TMTBlobDataFieldZk::Assign(TPersistent* Source) {
  TMTDataFieldZk::Assign(Source);
  if (auto* S = dynamic_cast<TMTBlobDataFieldZk*>(Source)) {
    FBlobType = S->FBlobType;
    FGraphicHeader = S->FGraphicHeader;
    FTransliterate = S->FTransliterate;
  }
}

void TMTBooleanDataFieldZk::AssignDataType(TFieldType FieldType) {
  if (FieldType != ftBoolean) DataTypeError();
}

void TMTBooleanDataFieldZk::AssignProps(TField* Field) {
  TMTDataFieldZk::AssignProps(Field);
  if (auto* F = dynamic_cast<TBooleanField*>(Field)) FDisplayValues = F->DisplayValues();
}

void TMTBooleanDataFieldZk::Assign(TPersistent* Source) {
  TMTDataFieldZk::Assign(Source);
  if (auto* S = dynamic_cast<TMTBooleanDataFieldZk*>(Source)) FDisplayValues = S->FDisplayValues;
}

TFieldType TMTInterfaceDataFieldZk::DataType() const {
  return TypeFromEnum(FInterfaceDataType, kInterfaceTypes);
}

void TMTInterfaceDataFieldZk::AssignDataType(TFieldType FieldType) {
  bool Found;
  auto V = EnumFromType<TMTInterfaceDataTypeZk>(FieldType, kInterfaceTypes, Found);
  if (!Found) DataTypeError();
  FInterfaceDataType = V;
}

TFieldType TMTVariantDataFieldZk::DataType() const {
  return TypeFromEnum(FVariantDataType, kVariantTypes);
}

void TMTVariantDataFieldZk::AssignDataType(TFieldType FieldType) {
  bool Found;
  auto V = EnumFromType<TMTVariantDataTypeZk>(FieldType, kVariantTypes, Found);
  if (!Found) DataTypeError();
  FVariantDataType = V;
}

void TMTRefObjectFieldZk::AssignDataType(TFieldType FieldType) {
  if (FieldType != ftUnknown) DataTypeError();
}

TFieldType TMTSQLTimeStampDataFieldZk::DataType() const {
  return TypeFromEnum(FSQLTimeStampDataFieldType, kTimeStampTypes);
}

void TMTSQLTimeStampDataFieldZk::AssignDataType(TFieldType FieldType) {
  bool Found;
  auto V = EnumFromType<TMTSQLTimeStampDataTypeZk>(FieldType, kTimeStampTypes, Found);
  if (!Found) DataTypeError();
  FSQLTimeStampDataFieldType = V;
}

void TMTSQLTimeStampDataFieldZk::Assign(TPersistent* Source) {
  TMTDataFieldZk::Assign(Source);
  if (auto* S = dynamic_cast<TMTSQLTimeStampDataFieldZk*>(Source)) {
    FSQLTimeStampDataFieldType = S->FSQLTimeStampDataFieldType;
    FDisplayFormat = S->FDisplayFormat;
  }
}

// --- TMTDataStructZk --------------------------------------------------------------------------------

TMTDataStructZk::TMTDataStructZk(TMemTableDataZk* AMemTableData)
    : TComponent(AMemTableData), FMemTableData(AMemTableData) {
  if (AMemTableData) ChangeName(u"DataStruct");
}

TMTDataStructZk::~TMTDataStructZk() {
  FMemTableData = nullptr;
  Clear();
}

void TMTDataStructZk::Clear() {
  std::vector<TMTDataFieldZk*> Fields;
  Fields.swap(FList);
  for (TMTDataFieldZk* F : Fields) {
    F->FDataStruct = nullptr;
    delete F;
  }
  if (FMemTableData) FMemTableData->StructChanged();
}

TMTDataFieldZk* TMTDataStructZk::CreateField(TClass FieldClass) {
  auto* Field = dynamic_cast<TMTDataFieldZk*>(FieldClass->CreateComponent(this));
  if (!Field) throw Exception(u"Can not assign DataType from Field");
  Field->SetDataStruct(this);
  Field->FFieldId = FNextFieldId++;
  return Field;
}

void TMTDataStructZk::InsertField(TMTDataFieldZk* Field) {
  FList.push_back(Field);
  Field->FDataStruct = this;
  if (FMemTableData) FMemTableData->StructChanged();
}

void TMTDataStructZk::RemoveField(TMTDataFieldZk* Field) {
  if (Field->FDataStruct != this) return;
  FList.erase(std::remove(FList.begin(), FList.end(), Field), FList.end());
  Field->FDataStruct = nullptr;
  if (FMemTableData) FMemTableData->StructChanged();
}

TMTDataFieldZk* TMTDataStructZk::FindField(const String& FieldName) const {
  for (TMTDataFieldZk* F : FList)
    if (AnsiSameText(F->FieldName(), FieldName)) return F;
  return nullptr;
}

TMTDataFieldZk* TMTDataStructZk::FieldByName(const String& FieldName) const {
  TMTDataFieldZk* F = FindField(FieldName);
  if (!F) DatabaseError(FieldNotFoundText(FieldName), this);
  return F;
}

int TMTDataStructZk::FieldIndex(const String& FieldName) const {
  for (std::size_t I = 0; I < FList.size(); ++I)
    if (SameText(FList[I]->FieldName(), FieldName)) return static_cast<int>(I);
  return -1;
}

void TMTDataStructZk::GetFieldList(std::vector<TMTDataFieldZk*>* List,
                                   const String& FieldNames) const {
  std::size_t Pos = 0;
  while (Pos < FieldNames.size()) {
    TMTDataFieldZk* F = FieldByName(ExtractFieldName(FieldNames, Pos));
    if (List) List->push_back(F);
  }
}

void TMTDataStructZk::FieldsIndex(const String& FieldNames, std::vector<int>& Indexes) const {
  if (FieldNames.find(u';') != String::npos) {
    std::vector<TMTDataFieldZk*> Fields;
    GetFieldList(&Fields, FieldNames);
    Indexes.clear();
    for (TMTDataFieldZk* F : Fields) Indexes.push_back(F->Index());
    return;
  }
  const int I = FieldIndex(FieldNames);
  if (I >= 0) Indexes = {I};
}

void TMTDataStructZk::CheckFieldName(const String& FieldName) const {
  if (FieldName.empty()) DatabaseError(u"Field name missing", FMemTableData);
  if (FindField(FieldName))
    DatabaseError(Format(u"Duplicate field name '%s'", {FieldName}), FMemTableData);
}

String TMTDataStructZk::CreateUniqueName(const TMTDataFieldZk* Field, const String& FieldName) const {
  String Base = KeepAsciiNameChars(FieldName);
  if (Base.empty() || (Base[0] >= u'0' && Base[0] <= u'9')) {
    Base = KeepAsciiNameChars(Field->ClassName() + Base);
    if (!Base.empty() && Base[0] == u'T') Base.erase(0, 1);
  }
  auto Taken = [this, Field](const String& Name) {
    for (const TMTDataFieldZk* F : FList)
      if (F != Field && AnsiSameText(F->Name(), Name)) return true;
    return false;
  };
  for (int N = 1; N < 2147483647; ++N) {
    String Candidate = N == 1 ? Base : Base + IntToStr(N);
    if (!Taken(Candidate)) return Candidate;
  }
  return Base;
}

void TMTDataStructZk::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TMTDataStructZk*>(Source);
  if (!Src) return TComponent::Assign(Source);
  if (FMemTableData && FMemTableData->RecordsList() && FMemTableData->RecordsList()->Count() > 0)
    throw Exception(u"Can not assign struct for not empty list of records");
  Clear();
  for (TMTDataFieldZk* F : Src->FList) {
    TMTDataFieldZk* New = CreateField(F->ClassType());
    New->Assign(F);
  }
}

void TMTDataStructZk::BuildStructFromFieldDefs(TFieldDefs* FieldDefs) {
  if (FMemTableData) FMemTableData->DestroyTable();
  for (int I = 0; I < FieldDefs->Count(); ++I) {
    TFieldDef* Def = FieldDefs->Items(I);
    TClass Class = MTDataFieldClassForType(Def->DataType());
    if (!Class) continue;
    TMTDataFieldZk* F = CreateField(Class);
    F->AssignDataType(Def->DataType());
    F->SetFieldName(Def->Name());
    F->ChangeName(CreateUniqueName(F, Def->Name()));
    F->SetRequired(Def->Required());
    if (auto* N = dynamic_cast<TMTNumericDataFieldZk*>(F)) N->SetPrecision(Def->Precision());
    if (F->CanDinaSize()) F->SetSize(Def->Size());
  }
}

void TMTDataStructZk::BuildStructFromFields(TFields* Fields) {
  if (FMemTableData) FMemTableData->DestroyTable();
  for (int I = 0; I < Fields->Count(); ++I) {
    TField* Field = Fields->Fields(I);
    if (Field->FieldKind() != fkData && Field->FieldKind() != fkInternalCalc) continue;
    TClass Class = MTDataFieldClassForType(Field->DataType());
    if (!Class) continue;
    TMTDataFieldZk* F = CreateField(Class);
    F->AssignDataType(Field->DataType());
    F->SetFieldName(Field->FieldName());
    F->ChangeName(CreateUniqueName(F, Field->FieldName()));
    F->AssignProps(Field);
  }
}

void TMTDataStructZk::BuildFieldDefsFromStruct(TFieldDefs* FieldDefs) const {
  FieldDefs->BeginUpdate();
  try {
    FieldDefs->Clear();
    for (TMTDataFieldZk* F : FList) {
      TFieldDef* Def = FieldDefs->Add(F->FieldName(), F->DataType(), F->Size(), F->Required());
      if (F->DataType() == ftBCD)
        if (auto* N = dynamic_cast<TMTNumericDataFieldZk*>(F)) Def->SetPrecision(N->Precision());
    }
  } catch (...) {
    FieldDefs->EndUpdate();
    throw;
  }
  FieldDefs->EndUpdate();
}

void TMTDataStructZk::GetChildren(const TGetChildProc& Proc, TComponent*) {
  for (TMTDataFieldZk* F : FList) Proc(F);
}

// --- registration ------------------------------------------------------------------------------------

REGISTER_CLASS(TMTDataFieldZk) {
  Class.Property("FieldName", &TMTDataFieldZk::FieldName, &TMTDataFieldZk::SetFieldName);
}

namespace {
template <class T>
void CommonProps(TClassBuilder<T>& Class, bool WithDefaultExpression, bool WithEditMask) {
  Class.Property("Alignment", &T::Alignment, &T::SetAlignment);
  if (WithDefaultExpression)
    Class.Property("DefaultExpression", &T::DefaultExpression, &T::SetDefaultExpression);
  Class.Property("DisplayLabel", &T::DisplayLabel, &T::SetDisplayLabel)
      .Property("DisplayWidth", &T::DisplayWidth, &T::SetDisplayWidth);
  if (WithEditMask) Class.Property("EditMask", &T::EditMask, &T::SetEditMask);
}
template <class T>
void RequiredVisible(TClassBuilder<T>& Class) {
  Class.Property("Required", &T::Required, &T::SetRequired)
      .Property("Visible", &T::Visible, &T::SetVisible);
}
}  // namespace

REGISTER_CLASS(TMTStringDataFieldZk) {
  Class.Property("StringDataType", &TMTStringDataFieldZk::StringDataType,
                 &TMTStringDataFieldZk::SetStringDataType);
  CommonProps(Class, true, true);
  RequiredVisible(Class);
  Class.Property("FixedChar", &TMTStringDataFieldZk::FixedChar, &TMTStringDataFieldZk::SetFixedChar, false)
      .Property("Size", &TMTStringDataFieldZk::Size, &TMTStringDataFieldZk::SetSize)
      .Property("Transliterate", &TMTStringDataFieldZk::Transliterate,
                &TMTStringDataFieldZk::SetTransliterate, true);
}

REGISTER_CLASS(TMTNumericDataFieldZk) {
  using T = TMTNumericDataFieldZk;
  Class.Property("NumericDataType", &T::NumericDataType, &T::SetNumericDataType);
  CommonProps(Class, true, true);
  RequiredVisible(Class);
  Class.Property("DisplayFormat", &T::DisplayFormat, &T::SetDisplayFormat)
      .Property("EditFormat", &T::EditFormat, &T::SetEditFormat)
      .Property("currency", &T::currency, &T::SetCurrency)
      .Property("MaxValue", &T::MaxValue, &T::SetMaxValue)
      .Property("MinValue", &T::MinValue, &T::SetMinValue)
      .Property("Precision", &T::Precision, &T::SetPrecision);
}

REGISTER_CLASS(TMTDateTimeDataFieldZk) {
  using T = TMTDateTimeDataFieldZk;
  Class.Property("DateTimeDataType", &T::DateTimeDataType, &T::SetDateTimeDataType);
  CommonProps(Class, true, true);
  RequiredVisible(Class);
  Class.Property("DisplayFormat", &T::DisplayFormat, &T::SetDisplayFormat);
}

REGISTER_CLASS(TMTBlobDataFieldZk) {
  using T = TMTBlobDataFieldZk;
  CommonProps(Class, true, true);
  RequiredVisible(Class);
  Class.Property("BlobType", &T::BlobType, &T::SetBlobType)
      .Property("GraphicHeader", &T::GraphicHeader, &T::SetGraphicHeader)
      .Property("Transliterate", &T::Transliterate, &T::SetTransliterate);
}

REGISTER_CLASS(TMTBooleanDataFieldZk) {
  using T = TMTBooleanDataFieldZk;
  CommonProps(Class, true, true);
  RequiredVisible(Class);
  Class.Property("DisplayValues", &T::DisplayValues, &T::SetDisplayValues);
}

REGISTER_CLASS(TMTInterfaceDataFieldZk) {
  using T = TMTInterfaceDataFieldZk;
  CommonProps(Class, true, false);
  Class.Property("InterfaceDataType", &T::InterfaceDataType, &T::SetInterfaceDataType);
  RequiredVisible(Class);
}

REGISTER_CLASS(TMTVariantDataFieldZk) {
  using T = TMTVariantDataFieldZk;
  CommonProps(Class, true, false);
  Class.Property("VariantDataType", &T::VariantDataType, &T::SetVariantDataType);
  RequiredVisible(Class);
}

REGISTER_CLASS(TMTRefObjectFieldZk) {
  CommonProps(Class, false, false);
  RequiredVisible(Class);
}

REGISTER_CLASS(TMTSQLTimeStampDataFieldZk) {
  using T = TMTSQLTimeStampDataFieldZk;
  Class.Property("SQLTimeStampDataFieldType", &T::SQLTimeStampDataFieldType,
                 &T::SetSQLTimeStampDataFieldType);
  CommonProps(Class, true, true);
  RequiredVisible(Class);
  Class.Property("DisplayFormat", &T::DisplayFormat, &T::SetDisplayFormat);
}

REGISTER_CLASS(TMTDataStructZk) {}
