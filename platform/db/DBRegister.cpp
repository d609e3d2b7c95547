// DBRegister.cpp - the type-registry records of the field kinds and of TDataSource.
//
// Fields stream as components of their form with a DataSet reference (so a data module's text
// form lists them after their datasets); the reference is resolved when the whole form has
// been read, which adds the fields to their datasets in the order they stand in the form.
#include "platform/db/DBRegister.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/db/IndexDefs.h"
#include "platform/db/Params.h"

REGISTER_CLASS(TField) {
  Class.Property("FieldKind", &TField::FieldKind, &TField::SetFieldKind, fkData)
      .Property("FieldName", &TField::FieldName, &TField::SetFieldName)
      .Property("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel)
      .Property("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth)
      .Property("Visible", &TField::Visible, &TField::SetVisible, true)
      .Property("ReadOnly", &TField::ReadOnly, &TField::SetReadOnly, false)
      .Property("Required", &TField::Required, &TField::SetRequired, false)
      .Property("Origin", &TField::Origin, &TField::SetOrigin)
      .Property("KeyFields", &TField::KeyFields, &TField::SetKeyFields)
      .Property("LookupDataSet", &TField::LookupDataSet, &TField::SetLookupDataSet)
      .Property("LookupKeyFields", &TField::LookupKeyFields, &TField::SetLookupKeyFields)
      .Property("LookupResultField", &TField::LookupResultField, &TField::SetLookupResultField)
      .Property("LookupCache", &TField::LookupCache, &TField::SetLookupCache, false)
      .Property("DataSet", &TField::DataSet, &TField::SetDataSet);
}

REGISTER_CLASS(TStringField) {
  Class.Property("Size", &TStringField::Size, &TStringField::SetSize, 20)
      .Property("FixedChar", &TStringField::FixedChar, &TStringField::SetFixedChar, false);
}
REGISTER_CLASS(TWideStringField) {}

REGISTER_CLASS(TNumericField) {
  Class.Property("DisplayFormat", &TNumericField::DisplayFormat, &TNumericField::SetDisplayFormat)
      .Property("EditFormat", &TNumericField::EditFormat, &TNumericField::SetEditFormat);
}
REGISTER_CLASS(TIntegerField) {}
REGISTER_CLASS(TSmallintField) {}
REGISTER_CLASS(TAutoIncField) {}
REGISTER_CLASS(TLargeintField) {}
REGISTER_CLASS(TFloatField) {
  Class.Property("Currency", &TFloatField::currency, &TFloatField::SetCurrency, false)
      .Property("Precision", &TFloatField::Precision, &TFloatField::SetPrecision, 15);
}
REGISTER_CLASS(TCurrencyField) {}
REGISTER_CLASS(TBooleanField) {
  Class.Property("DisplayValues", &TBooleanField::DisplayValues, &TBooleanField::SetDisplayValues);
}
REGISTER_CLASS(TDateTimeField) {
  Class.Property("DisplayFormat", &TDateTimeField::DisplayFormat,
                 &TDateTimeField::SetDisplayFormat);
}
REGISTER_CLASS(TDateField) {}

REGISTER_CLASS(TDataSource) {
  Class.Property("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit, true)
      .Property("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet)
      .Property("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled, true);
}

void RegisterDBClasses() {
  RegisterClasses({TStringField::ClassInfo(), TWideStringField::ClassInfo(),
                   TIntegerField::ClassInfo(), TSmallintField::ClassInfo(),
                   TAutoIncField::ClassInfo(), TLargeintField::ClassInfo(),
                   TFloatField::ClassInfo(), TCurrencyField::ClassInfo(),
                   TBooleanField::ClassInfo(), TDateTimeField::ClassInfo(),
                   TDateField::ClassInfo(), TDataSource::ClassInfo(),
                   TParam::ClassInfo(), TParams::ClassInfo(),
                   TFieldDef::ClassInfo(), TFieldDefs::ClassInfo(),
                   TIndexDef::ClassInfo(), TIndexDefs::ClassInfo()});
}
