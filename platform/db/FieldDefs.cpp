// FieldDefs.cpp - TFieldDef and TFieldDefs.
#include "platform/db/FieldDefs.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/SysUtils.h"

TFieldDef::TFieldDef(TFieldDefs* Owner, const String& Name, TFieldType DataType, int Size,
                     bool Required, int FieldNo)
    : FOwner(Owner), FName(Name), FDataType(DataType), FSize(Size), FFieldNo(FieldNo) {
  if (Required) FAttributes.Include(faRequired);
}

TFieldDef::~TFieldDef() = default;

void TFieldDef::Changed() { if (FOwner) FOwner->Changed(); }
void TFieldDef::SetName(const String& Value) { FName = Value; Changed(); }
void TFieldDef::SetDataType(TFieldType Value) { FDataType = Value; Changed(); }
void TFieldDef::SetSize(int Value) { FSize = Value; Changed(); }
void TFieldDef::SetPrecision(int Value) { FPrecision = Value; Changed(); }
void TFieldDef::SetAttributes(TFieldAttributes Value) { FAttributes = Value; Changed(); }
void TFieldDef::SetRequired(bool Value) {
  if (Value) FAttributes.Include(faRequired);
  else FAttributes.Exclude(faRequired);
  Changed();
}
void TFieldDef::SetInternalCalcField(bool Value) { FInternalCalcField = Value; Changed(); }

int TFieldDef::Index() const {
  for (int I = 0; I < FOwner->Count(); ++I)
    if (FOwner->Items(I) == this) return I;
  return -1;
}

TFieldDefs* TFieldDef::ChildDefs() {
  if (!FChildDefs) FChildDefs = std::make_unique<TFieldDefs>(FOwner ? FOwner->DataSet() : nullptr);
  return FChildDefs.get();
}

TField* TFieldDef::CreateField(TComponent* Owner) {
  TDataSet* DataSet = FOwner ? FOwner->DataSet() : nullptr;
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

TFieldDefs::TFieldDefs(TDataSet* ADataSet) : FDataSet(ADataSet) {}
TFieldDefs::~TFieldDefs() = default;

TFieldDef* TFieldDefs::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return FItems[Index].get();
}

TFieldDef* TFieldDefs::AddFieldDef() {
  FItems.push_back(std::make_unique<TFieldDef>(this, String(), ftUnknown, 0, false, Count() + 1));
  Changed();
  return FItems.back().get();
}

TFieldDef* TFieldDefs::Add(const String& Name, TFieldType DataType, int Size, bool Required) {
  if (Name.empty()) DatabaseError(u"Field name missing", FDataSet);
  if (IndexOf(Name) >= 0) DatabaseError(DuplicateFieldText(Name), FDataSet);
  FItems.push_back(std::make_unique<TFieldDef>(this, Name, DataType, Size, Required, Count() + 1));
  Changed();
  return FItems.back().get();
}

int TFieldDefs::IndexOf(const String& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(FItems[I]->Name(), Name)) return I;
  return -1;
}

TFieldDef* TFieldDefs::Find(const String& Name) const {
  int Index = IndexOf(Name);
  if (Index < 0) DatabaseError(FieldNotFoundText(Name), FDataSet);
  return FItems[Index].get();
}

void TFieldDefs::Delete(int Index) {
  Items(Index);
  FItems.erase(FItems.begin() + Index);
  Renumber();
  Changed();
}

void TFieldDefs::Clear() {
  FItems.clear();
  Changed();
}

void TFieldDefs::Assign(const TFieldDefs& Source) {
  BeginUpdate();
  FItems.clear();
  for (const auto& Def : Source.FItems) {
    TFieldDef* Copy = Add(Def->Name(), Def->DataType(), Def->Size(), Def->Required());
    Copy->FPrecision = Def->Precision();
    Copy->FAttributes = Def->Attributes();
    Copy->FInternalCalcField = Def->InternalCalcField();
  }
  EndUpdate();
}

void TFieldDefs::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TFieldDefs::Renumber() {
  for (int I = 0; I < Count(); ++I) FItems[I]->FFieldNo = I + 1;
}

void TFieldDefs::Changed() {
  if (FUpdateCount > 0) return;
  FUpdated = false;
  if (FDataSet) FDataSet->DefChanged(nullptr);
}

void TFieldDefs::Update() {
  if (FUpdated || !FDataSet) return;
  FDataSet->InitFieldDefs();
  FUpdated = true;
}
