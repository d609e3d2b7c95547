// RefObjectField.cpp - the object-reference field of a memory table.
#include "gridlib/memtable/RefObjectField.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/Variants.h"

namespace {
constexpr std::string_view ObjectTag = "TObject";
}

TRefObjectField::TRefObjectField(TComponent* AOwner) : TField(AOwner, ftUnknown) {}

void TRefObjectField::CheckDataSet() const {
  if (!DataSet()) DatabaseError(u"Missing data set for field '" + DisplayName() + u"'", this);
}

TObject* TRefObjectField::Value() const {
  CheckDataSet();
  return VarToObjectAs<TObject>(GetAsVariant(), ObjectTag);
}

void TRefObjectField::SetValue(TObject* Value) {
  CheckDataSet();
  SetVarValue(VarFromObject(Value, ObjectTag));
}

Variant TRefObjectField::GetAsVariant() const {
  Variant V;
  return GetData(&V) ? V : Variant::MakeNull();
}

void TRefObjectField::SetVarValue(const Variant& V) {
  if (V.IsNull() || V.IsEmpty() || (V.IsHandle() && V.AsHandle() == TObjectHandle::Nil)) {
    SetData(nullptr);
    return;
  }
  if (!V.IsHandle()) DatabaseError(u"Field '" + DisplayName() + u"' holds object references only", DataSet());
  VarToObject(V, ObjectTag);  // a released or foreign handle raises here
  SetData(&V);
}

REGISTER_CLASS(TRefObjectField) {}
