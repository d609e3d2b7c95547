// IndexDefs.cpp - TIndexDef and TIndexDefs.
#include "platform/db/IndexDefs.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/SysUtils.h"

TIndexDef::TIndexDef(TIndexDefs* Owner, const String& Name, const String& Fields,
                     TIndexOptions Options)
    : FOwner(Owner), FName(Name), FFields(Fields), FOptions(Options) {}

void TIndexDef::Changed() { if (FOwner) FOwner->Changed(); }

int TIndexDef::Index() const {
  for (int I = 0; I < FOwner->Count(); ++I)
    if (FOwner->Items(I) == this) return I;
  return -1;
}

void TIndexDef::Assign(const TIndexDef& Source) {
  FName = Source.FName;
  FFields = Source.FFields;
  FCaseInsFields = Source.FCaseInsFields;
  FDescFields = Source.FDescFields;
  FExpression = Source.FExpression;
  FOptions = Source.FOptions;
  Changed();
}

TIndexDef* TIndexDefs::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return FItems[Index].get();
}

TIndexDef* TIndexDefs::AddIndexDef() {
  FItems.push_back(std::make_unique<TIndexDef>(this, String(), String(), TIndexOptions{}));
  Changed();
  return FItems.back().get();
}

TIndexDef* TIndexDefs::Add(const String& Name, const String& Fields, TIndexOptions Options) {
  if (!Name.empty() && IndexOf(Name) >= 0)
    DatabaseError(u"Duplicate index name '" + Name + u"'", FDataSet);
  FItems.push_back(std::make_unique<TIndexDef>(this, Name, Fields, Options));
  Changed();
  return FItems.back().get();
}

int TIndexDefs::IndexOf(const String& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(FItems[I]->Name(), Name)) return I;
  return -1;
}

TIndexDef* TIndexDefs::Find(const String& Name) const {
  int Index = IndexOf(Name);
  if (Index < 0) DatabaseError(u"Index '" + Name + u"' not found", FDataSet);
  return FItems[Index].get();
}

TIndexDef* TIndexDefs::GetIndexForFields(const String& Fields, bool CaseInsensitive) const {
  for (const auto& Def : FItems) {
    if (Def->Options().Contains(ixExpression)) continue;
    if (CaseInsensitive != Def->Options().Contains(ixCaseInsensitive)) continue;
    if (AnsiSameText(Def->Fields(), Fields)) return Def.get();
  }
  return nullptr;
}

void TIndexDefs::Delete(int Index) {
  Items(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TIndexDefs::Clear() {
  FItems.clear();
  Changed();
}

void TIndexDefs::Assign(const TIndexDefs& Source) {
  FItems.clear();
  for (const auto& Def : Source.FItems) {
    FItems.push_back(std::make_unique<TIndexDef>(this, String(), String(), TIndexOptions{}));
    FItems.back()->Assign(*Def);
  }
  Changed();
}

void TIndexDefs::Changed() {
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
