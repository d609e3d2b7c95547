// RefObjectField.h - TRefObjectField: the memory table's field of type ftUnknown, holding a
// reference to an object. The value travels as a checked handle (VarFromObject): reading the
// field after its object was freed raises instead of giving a dangling pointer. The table does
// not own the object; whoever frees it should clear the field.
#pragma once

#include "platform/db/Fields.h"

class TRefObjectField : public TField {
  VORENTA_CLASS(TRefObjectField, TField)
public:
  explicit TRefObjectField(TComponent* AOwner);
  // The object, or nullptr. Without a dataset both raise "Missing data set for field '%s'".
  TObject* Value() const;
  void SetValue(TObject* Value);
  void CheckTypeSize(int) const override {}

protected:
  Variant GetAsVariant() const override;
  void SetVarValue(const Variant& V) override;

private:
  void CheckDataSet() const;
};
