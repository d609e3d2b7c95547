// ToolCtrlsZk.cpp - key values, field-name lists and the theme setting.
#include "gridlib/toolkit/ToolCtrlsZk.h"

#include "platform/classes/Component.h"
#include "platform/db/DBConsts.h"

namespace {

bool GThemesActive = false;

// Both one-dimensional arrays with the same bounds; Low/High receive them.
bool SameArrayShape(const Variant& V1, const Variant& V2, int& Low, int& High) {
  if (VarArrayDimCount(V1) != VarArrayDimCount(V2)) return false;
  Low = VarArrayLowBound(V1, 1);
  High = VarArrayHighBound(V1, 1);
  return Low == VarArrayLowBound(V2, 1) && High == VarArrayHighBound(V2, 1);
}

bool VariantsEqualRaising(const Variant& V1, const Variant& V2) {
  const bool A1 = VarIsArray(V1), A2 = VarIsArray(V2);
  if (A1 != A2) return false;
  int Low = 0, High = -1;
  if (A1 && SameArrayShape(V1, V2, Low, High)) {
    if (High < Low) return false;
    for (int I = Low; I <= High; ++I)
      if (!(VarArrayGet(V1, I) == VarArrayGet(V2, I))) return false;
    return true;
  }
  if (VarIsEmpty(V1) != VarIsEmpty(V2)) return false;
  return V1 == V2;
}

}  // namespace

bool VariantsEqual(const Variant& V1, const Variant& V2) {
  try {
    return VariantsEqualRaising(V1, V2);
  } catch (const Exception&) {
    // Values the variant rules cannot compare (a string against a number, ...) are unequal
    // keys; callers ask "is this the same key", never "are these comparable".
    return false;
  }
}

TVariantRelationship CompareVariantsNullsLow(const Variant& V1, const Variant& V2) {
  const bool N1 = VarIsNull(V1), N2 = VarIsNull(V2);
  if (N1 && N2) return vrEqual;
  if (N1) return vrLessThan;
  if (N2) return vrGreaterThan;
  return VarCompareValue(V1, V2);
}

TVariantRelationship CompareVariantKeys(const Variant& V1, const Variant& V2) {
  const bool A1 = VarIsArray(V1), A2 = VarIsArray(V2);
  if (A1 != A2) return vrNotEqual;
  if (!A1) return CompareVariantsNullsLow(V1, V2);
  int Low = 0, High = -1;
  if (!SameArrayShape(V1, V2, Low, High) || High < Low) return vrNotEqual;
  for (int I = Low; I <= High; ++I) {
    const TVariantRelationship R = CompareVariantsNullsLow(VarArrayGet(V1, I), VarArrayGet(V2, I));
    if (R != vrEqual) return R;
  }
  return vrEqual;
}

void CollectFieldsByNames(std::vector<TField*>* List, const TDataSet* DataSet,
                          const TComponent* Component, const String& FieldNames) {
  std::size_t Pos = 0;
  while (Pos < FieldNames.size()) {
    const String Name = ExtractFieldName(FieldNames, Pos);
    TField* Field = DataSet->FindField(Name);
    if (!Field) DatabaseError(FieldNotFoundText(Name), Component);
    if (List) List->push_back(Field);
  }
}

void FieldsArrayByNames(const TDataSet* DataSet, const TComponent* Control,
                        const String& FieldNames, TFieldsArrZk& Fields) {
  TFieldsArrZk Result;
  CollectFieldsByNames(&Result, DataSet, Control, FieldNames);
  Fields = std::move(Result);
}

void AssignKeyFieldValues(TDataSet* DataSet, const String& FieldNames, const Variant& Value) {
  if (VariantsEqual(Value, Null())) {
    std::vector<TField*> Fields;
    DataSet->GetFieldList(Fields, FieldNames);
    for (TField* Field : Fields) Field->Clear();
    return;
  }
  DataSet->SetFieldValues(FieldNames, Value);
}

bool ThemesActive() { return GThemesActive; }
void SetThemesActive(bool Value) { GThemesActive = Value; }
