// Collection.cpp - TCollection and TCollectionItem.
#include "platform/classes/Collection.h"

#include <algorithm>
#include <cassert>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TCollectionItem) {}
REGISTER_CLASS(TCollection) {}
REGISTER_CLASS(TOwnedCollection) {}

namespace {
[[noreturn]] void ListIndexError(int Index) {
  throw EListError(Format(u"List index out of bounds (%d)", {Index}));
}
}  // namespace

// --- TCollectionItem ------------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* ACollection) { SetCollection(ACollection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& Items = FCollection->FItems;
  return static_cast<int>(std::find(Items.begin(), Items.end(), this) - Items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int Current = Index();
  if (Current < 0 || Current == Value) return;
  auto& Items = FCollection->FItems;
  if (Value < 0 || Value >= static_cast<int>(Items.size())) ListIndexError(Value);
  Items.erase(Items.begin() + Current);
  Items.insert(Items.begin() + Value, this);
  Changed(true);
}

String TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

String TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + u"[" + IntToStr(Index()) + u"]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0)
    FCollection->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

// --- TCollection ----------------------------------------------------------------------------------

TCollection::TCollection(TClass AItemClass) : FItemClass(AItemClass) {
  assert(AItemClass && AItemClass->IsCollectionItemClass() && "items are TCollectionItems");
}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no Update calls from a collection being destroyed
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[Index];
}

void TCollection::SetItems(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

// The item is announced (Notify cnAdded, Changed) once it is fully constructed, so that
// handlers see the item's own class.
TCollectionItem* TCollection::Add() {
  FAdding = true;
  TCollectionItem* Item;
  try {
    Item = FItemClass->CreateItem(this);
  } catch (...) {
    FAdding = false;
    throw;
  }
  FAdding = false;
  Announce(Item);
  return Item;
}

void TCollection::Announce(TCollectionItem* Item) {
  SetItemName(Item);
  Notify(Item, cnAdded);
  Changed();
}

TCollectionItem* TCollection::Insert(int Index) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  TCollectionItem* Item = Add();
  Item->SetIndex(Index);
  return Item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* Item = Items(Index);
  Notify(Item, cnDeleting);
  RemoveItem(Item);  // while the item is still whole, so Notify sees its class
  delete Item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) {
      TCollectionItem* Item = FItems.back();
      RemoveItem(Item);
      delete Item;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* Item : FItems)
    if (Item->FID == ID) return Item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  --FUpdateCount;
  Changed();
}

void TCollection::Assign(TPersistent* Source) {
  // Clearing first would empty the source as well.
  if (Source == this) return;
  auto* Other = dynamic_cast<TCollection*>(Source);
  if (!Other) return TPersistent::Assign(Source);
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* Item : Other->FItems) Add()->Assign(Item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TCollection::GetNamePath() const {
  TPersistent* Owner = GetOwner();
  if (!Owner) return ClassName();
  String OwnerPath = Owner->GetNamePath();
  if (OwnerPath.empty()) return ClassName();
  // The owner's published property that holds this collection names it.
  for (const TPropInfo* Prop : Owner->ClassType()->Properties())
    if (Prop->Kind() == tkClass && Prop->GetObject(Owner) == this)
      return OwnerPath + u"." + Prop->Name();
  return OwnerPath + u"." + ClassName();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::SetItemName(TCollectionItem*) {}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  if (!FAdding) Announce(Item);
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It != FItems.end()) FItems.erase(It);
  Item->FCollection = nullptr;
  Changed();
}
