// FieldDefs.cpp - TFieldDef and TFieldDefs.
#include "platform/db/FieldDefs.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TFieldDef) {
  Class.Property("Name", &TFieldDef::Name, &TFieldDef::SetName)
      .Property("DataType", &TFieldDef::DataType, &TFieldDef::SetDataType, ftUnknown)
      .Property("Size", &TFieldDef::Size, &TFieldDef::SetSize, 0)
      .Property("Required", &TFieldDef::Required, &TFieldDef::SetRequired, false);
}

REGISTER_CLASS(TFieldDefs) {}

TFieldDef::TFieldDef(TCollection* ACollection) : TCollectionItem(ACollection) {}

TFieldDef::TFieldDef(TFieldDefs* Owner, const String& Name, TFieldType DataType, int Size,
                     bool Required)
    : TCollectionItem(Owner), FName(Name), FDataType(DataType), FSize(Size) {
  if (Required) FAttributes.Include(faRequired);
}

TFieldDef::~TFieldDef() = default;

TFieldDefs* TFieldDef::Collection() const {
  return static_cast<TFieldDefs*>(TCollectionItem::Collection());
}

String TFieldDef::DisplayName() const { return FName; }
void TFieldDef::SetName(const String& Value) { FName = Value; Changed(false); }
void TFieldDef::SetDataType(TFieldType Value) { FDataType = Value; Changed(false); }
void TFieldDef::SetSize(int Value) { FSize = Value; Changed(false); }
void TFieldDef::SetPrecision(int Value) { FPrecision = Value; Changed(false); }
void TFieldDef::SetAttributes(TFieldAttributes Value) { FAttributes = Value; Changed(false); }
void TFieldDef::SetRequired(bool Value) {
  if (Value) FAttributes.Include(faRequired);
  else FAttributes.Exclude(faRequired);
  Changed(false);
}
void TFieldDef::SetInternalCalcField(bool Value) { FInternalCalcField = Value; Changed(false); }

void TFieldDef::Assign(TPersistent* Source) {
  auto* Def = dynamic_cast<TFieldDef*>(Source);
  if (!Def) return TCollectionItem::Assign(Source);
  FName = Def->FName;
  FDataType = Def->FDataType;
  FSize = Def->FSize;
  FPrecision = Def->FPrecision;
  FAttributes = Def->FAttributes;
  FInternalCalcField = Def->FInternalCalcField;
  Changed(false);
}

TFieldDefs* TFieldDef::ChildDefs() {
  if (!FChildDefs)
    FChildDefs = std::make_unique<TFieldDefs>(Collection() ? Collection()->DataSet() : nullptr);
  return FChildDefs.get();
}

TField* TFieldDef::CreateField(TComponent* Owner) {
  TDataSet* DataSet = Collection() ? Collection()->DataSet() : nullptr;
  TFieldClass Class = DefaultFieldClass(FDataType);
  if (!Class) DatabaseError(u"Field '" + FName + u"' is of an unknown type", DataSet);
  TField* Field = Class(Owner);
  try {
    Field->SetSize(FDataType == ftString || FDataType == ftWideString || FDataType == ftFixedChar ||
                           FDataType == ftGuid || FDataType == ftBCD || FDataType == ftFMTBcd ||
                           Field->IsBlob()
                       ? FSize
                       : 0);
    Field->SetFieldName(FName);
    Field->SetRequired(FAttributes.Contains(faRequired));
    Field->SetReadOnly(FAttributes.Contains(faReadonly));
    if (FInternalCalcField) Field->SetFieldKind(fkInternalCalc);
    Field->SetDataSet(DataSet);
  } catch (...) {
    delete Field;
    throw;
  }
  return Field;
}

TFieldDefs::TFieldDefs(TDataSet* ADataSet)
    : TOwnedCollection(ADataSet, TFieldDef::ClassInfo()), FDataSet(ADataSet) {}
TFieldDefs::~TFieldDefs() = default;

TFieldDef* TFieldDefs::AddFieldDef() { return static_cast<TFieldDef*>(TCollection::Add()); }

TFieldDef* TFieldDefs::Add(const String& Name, TFieldType DataType, int Size, bool Required) {
  if (Name.empty()) DatabaseError(u"Field name missing", FDataSet);
  if (IndexOf(Name) >= 0) DatabaseError(DuplicateFieldText(Name), FDataSet);
  return new TFieldDef(this, Name, DataType, Size, Required);
}

int TFieldDefs::IndexOf(const String& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(Items(I)->Name(), Name)) return I;
  return -1;
}

TFieldDef* TFieldDefs::Find(const String& Name) const {
  int Index = IndexOf(Name);
  if (Index < 0) DatabaseError(FieldNotFoundText(Name), FDataSet);
  return Items(Index);
}

void TFieldDefs::Assign(const TFieldDefs& Source) {
  // The collection's copy only reads its source.
  TOwnedCollection::Assign(const_cast<TFieldDefs*>(&Source));
}

void TFieldDefs::Update(TCollectionItem* Item) {
  (void)Item;
  FUpdated = false;
  if (FDataSet) FDataSet->DefChanged(nullptr);
}

void TFieldDefs::Update() {
  if (FUpdated || !FDataSet) return;
  FDataSet->InitFieldDefs();
  FUpdated = true;
}
