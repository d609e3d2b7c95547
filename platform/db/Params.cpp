// Params.cpp - TParam and TParams, with the ":NAME" parsing of statement texts.
#include "platform/db/Params.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {
TFieldType FieldTypeOfValue(const Variant& V) {
  switch (V.VType()) {
    case varSmallint: case varShortInt: case varByte: return ftSmallint;
    case varInteger: case varLongWord: return ftInteger;
    case varWord: return ftWord;
    case varInt64: case varUInt64: return ftLargeint;
    case varSingle: case varDouble: return ftFloat;
    case varCurrency: return ftCurrency;
    case varDate: return ftDateTime;
    case varBoolean: return ftBoolean;
    case varUString: case varOleStr: case varString: return ftWideString;
    default: return ftUnknown;
  }
}
}  // namespace

REGISTER_CLASS(TParam) {
  Class.Property("Name", &TParam::Name, &TParam::SetName)
      .Property("DataType", &TParam::DataType, &TParam::SetDataType, ftUnknown)
      .Property("ParamType", &TParam::ParamType, &TParam::SetParamType, ptUnknown)
      .Property("Size", &TParam::Size, &TParam::SetSize, 0)
      .Property("Value", &TParam::Value, &TParam::SetValue);
}

REGISTER_CLASS(TParams) {}

TParam::TParam(TCollection* ACollection)
    : TCollectionItem(ACollection), FValue(Variant::MakeNull()) {}

TParam::TParam(TParams* Owner, const String& Name, TFieldType DataType, TParamType ParamType)
    : TCollectionItem(Owner), FName(Name), FDataType(DataType), FParamType(ParamType),
      FValue(Variant::MakeNull()) {}

TParams* TParam::Collection() const { return static_cast<TParams*>(TCollectionItem::Collection()); }

String TParam::DisplayName() const { return FName.empty() ? TCollectionItem::DisplayName() : FName; }

bool TParam::IsNull() const { return FValue.IsNull() || FValue.IsEmpty(); }

void TParam::Clear() { FValue = Variant::MakeNull(); }

void TParam::SetValue(const Variant& Value) {
  FValue = Value.IsEmpty() ? Variant::MakeNull() : Value;
  if (FDataType == ftUnknown) FDataType = FieldTypeOfValue(Value);
  FBound = true;
}

String TParam::AsString() const { return IsNull() ? String() : FValue.AsString(); }
void TParam::SetAsString(const String& V) { SetValue(Variant(V)); }
Integer TParam::AsInteger() const { return IsNull() ? 0 : FValue.AsInteger(); }
void TParam::SetAsInteger(Integer V) { SetValue(Variant(V)); }
double TParam::AsFloat() const { return IsNull() ? 0.0 : FValue.AsDouble(); }
void TParam::SetAsFloat(double V) { SetValue(Variant(V)); }
TDateTime TParam::AsDateTime() const { return IsNull() ? 0.0 : FValue.AsDateTime(); }
void TParam::SetAsDateTime(TDateTime V) { SetValue(Variant::FromDateTime(V)); }
bool TParam::AsBoolean() const { return IsNull() ? false : FValue.AsBoolean(); }
void TParam::SetAsBoolean(bool V) { SetValue(Variant(V)); }

void TParam::AssignField(const TField* Field) {
  if (!Field) return;
  AssignFieldValue(Field, Field->AsVariant());
  FName = Field->FieldName();
}

void TParam::AssignFieldValue(const TField* Field, const Variant& Value) {
  FDataType = Field->DataType();
  FSize = Field->Size();
  SetValue(Value);
}

void TParam::Assign(const TParam& Source) {
  FName = Source.FName;
  FDataType = Source.FDataType;
  FParamType = Source.FParamType;
  FSize = Source.FSize;
  FBound = Source.FBound;
  FValue = Source.FValue;
}

void TParam::Assign(TPersistent* Source) {
  if (auto* Param = dynamic_cast<TParam*>(Source)) return Assign(*Param);
  TCollectionItem::Assign(Source);
}

TParams::TParams(TPersistent* AOwner) : TOwnedCollection(AOwner, TParam::ClassInfo()) {}

TParam* TParams::AddParam() { return static_cast<TParam*>(Add()); }

TParam* TParams::CreateParam(TFieldType DataType, const String& Name, TParamType ParamType) {
  TParam* Param = AddParam();
  Param->SetName(Name);
  Param->SetDataType(DataType);
  Param->SetParamType(ParamType);
  return Param;
}

TParam* TParams::FindParam(const String& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(Items(I)->Name(), Name)) return Items(I);
  return nullptr;
}

TParam* TParams::ParamByName(const String& Name) const {
  TParam* P = FindParam(Name);
  if (!P) DatabaseError(ParamNotFoundText(Name));
  return P;
}

void TParams::Assign(const TParams& Source) {
  // The collection's copy only reads its source.
  TOwnedCollection::Assign(const_cast<TParams*>(&Source));
}

void TParams::AssignValues(const TParams& Source) {
  for (int I = 0; I < Count(); ++I)
    if (const TParam* Theirs = Source.FindParam(Items(I)->Name())) Items(I)->Assign(*Theirs);
}

void TParams::ParseSQLKeepingValues(const String& SQL) {
  TParams Old;
  Old.Assign(*this);
  Clear();
  ParseSQL(SQL, true);
  AssignValues(Old);
}

bool TParams::IsEqual(const TParams& Other) const {
  if (Count() != Other.Count()) return false;
  for (int I = 0; I < Count(); ++I) {
    const TParam* A = Items(I);
    const TParam* B = Other.Items(I);
    if (A->Name() != B->Name() || A->DataType() != B->DataType() ||
        A->IsNull() != B->IsNull() || (!A->IsNull() && !VarSameValue(A->Value(), B->Value())))
      return false;
  }
  return true;
}

Variant TParams::ParamValues(const String& Names) const {
  std::vector<Variant> Values;
  std::size_t Pos = 0;
  while (Pos < Names.size()) Values.push_back(ParamByName(ExtractFieldName(Names, Pos))->Value());
  if (Values.size() == 1) return Values[0];
  return VarArrayOf(Values);
}

void TParams::SetParamValues(const String& Names, const Variant& Values) {
  std::vector<TParam*> List;
  std::size_t Pos = 0;
  while (Pos < Names.size()) List.push_back(ParamByName(ExtractFieldName(Names, Pos)));
  if (List.size() == 1) {
    List[0]->SetValue(Values);
    return;
  }
  if (!Values.IsArray()) DatabaseError(DBText::NotArray);
  for (std::size_t I = 0; I < List.size(); ++I)
    List[I]->SetValue(Values[Values.ArrayLowBound() + static_cast<int>(I)]);
}

String TParams::ParseSQL(const String& SQL, bool DoCreate, std::vector<String>* Order) {
  String Result;
  std::size_t I = 0;
  auto IsNameChar = [](Char C) {
    return C == u'_' || (C >= u'0' && C <= u'9') || (C >= u'A' && C <= u'Z') ||
           (C >= u'a' && C <= u'z') || C >= 0x80;
  };
  while (I < SQL.size()) {
    Char C = SQL[I];
    if (C == u'\'' || C == u'"' || C == u'`') {
      // Quoted text and quoted names keep their colons.
      std::size_t End = SQL.find(C, I + 1);
      while (End != String::npos && End + 1 < SQL.size() && SQL[End + 1] == C)
        End = SQL.find(C, End + 2);
      End = End == String::npos ? SQL.size() : End + 1;
      Result += SQL.substr(I, End - I);
      I = End;
      continue;
    }
    if (C == u':' && I + 1 < SQL.size() && SQL[I + 1] == u':') {
      Result += u"::";
      I += 2;
      continue;
    }
    if (C == u':' && I + 1 < SQL.size() && IsNameChar(SQL[I + 1])) {
      std::size_t End = I + 1;
      while (End < SQL.size() && IsNameChar(SQL[End])) ++End;
      String Name = SQL.substr(I + 1, End - I - 1);
      if (DoCreate && !FindParam(Name)) CreateParam(ftUnknown, Name, ptInput);
      if (Order) Order->push_back(Name);
      Result += u'?';
      I = End;
      continue;
    }
    Result += C;
    ++I;
  }
  return Result;
}
