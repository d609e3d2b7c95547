// IndexDefs.cpp - TIndexDef and TIndexDefs.
#include "platform/db/IndexDefs.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TIndexDef) {
  Class.Property("Name", &TIndexDef::Name, &TIndexDef::SetName)
      .Property("Fields", &TIndexDef::Fields, &TIndexDef::SetFields)
      .Property("Options", &TIndexDef::Options, &TIndexDef::SetOptions, TIndexOptions{});
}

REGISTER_CLASS(TIndexDefs) {}

TIndexDef::TIndexDef(TIndexDefs* Owner, const String& Name, const String& Fields,
                     TIndexOptions Options)
    : TCollectionItem(Owner), FName(Name), FFields(Fields), FOptions(Options) {}

TIndexDefs* TIndexDef::Collection() const {
  return static_cast<TIndexDefs*>(TCollectionItem::Collection());
}

void TIndexDef::Assign(const TIndexDef& Source) {
  FName = Source.FName;
  FFields = Source.FFields;
  FCaseInsFields = Source.FCaseInsFields;
  FDescFields = Source.FDescFields;
  FExpression = Source.FExpression;
  FOptions = Source.FOptions;
  Changed(false);
}

void TIndexDef::Assign(TPersistent* Source) {
  if (auto* Def = dynamic_cast<TIndexDef*>(Source)) return Assign(*Def);
  TCollectionItem::Assign(Source);
}

TIndexDefs::TIndexDefs(TDataSet* ADataSet)
    : TOwnedCollection(ADataSet, TIndexDef::ClassInfo()), FDataSet(ADataSet) {}

TIndexDef* TIndexDefs::AddIndexDef() { return static_cast<TIndexDef*>(TCollection::Add()); }

TIndexDef* TIndexDefs::Add(const String& Name, const String& Fields, TIndexOptions Options) {
  if (!Name.empty() && IndexOf(Name) >= 0)
    DatabaseError(u"Duplicate index name '" + Name + u"'", FDataSet);
  return new TIndexDef(this, Name, Fields, Options);
}

int TIndexDefs::IndexOf(const String& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(Items(I)->Name(), Name)) return I;
  return -1;
}

TIndexDef* TIndexDefs::Find(const String& Name) const {
  int Index = IndexOf(Name);
  if (Index < 0) DatabaseError(u"Index '" + Name + u"' not found", FDataSet);
  return Items(Index);
}

TIndexDef* TIndexDefs::GetIndexForFields(const String& Fields, bool CaseInsensitive) const {
  for (int I = 0; I < Count(); ++I) {
    TIndexDef* Def = Items(I);
    if (Def->Options().Contains(ixExpression)) continue;
    if (CaseInsensitive != Def->Options().Contains(ixCaseInsensitive)) continue;
    if (AnsiSameText(Def->Fields(), Fields)) return Def;
  }
  return nullptr;
}

void TIndexDefs::Assign(const TIndexDefs& Source) {
  // The collection's copy only reads its source.
  TOwnedCollection::Assign(const_cast<TIndexDefs*>(&Source));
}

void TIndexDefs::Update(TCollectionItem* Item) {
  (void)Item;
  FUpdated = false;
  if (FDataSet) FDataSet->DefChanged(nullptr);
}

void TIndexDefs::Update() {
  if (FUpdated || !FDataSet) return;
  FDataSet->UpdateIndexDefs();
  FUpdated = true;
}

void GetIndexDefs(const TIndexDefs& Source, TIndexDefs& Dest, TIndexOptions IndexTypes) {
  Dest.Clear();
  for (int I = 0; I < Source.Count(); ++I) {
    TIndexDef* Def = Source.Items(I);
    if ((Def->Options() * IndexTypes) == IndexTypes) Dest.AddIndexDef()->Assign(*Def);
  }
}
