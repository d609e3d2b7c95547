// List.cpp - TList and TObjectList.
#include "platform/classes/List.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TList) {}
REGISTER_CLASS(TObjectList) {}

namespace {
[[noreturn]] void ListError(std::u16string_view Pattern, Int64 Value) {
  throw EListError(Format(String(Pattern), {Value}));
}
}  // namespace

TList::~TList() { Clear(); }

void TList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) ListError(u"List index out of bounds (%d)", Index);
}

void TList::SetCount(int NewCount) {
  if (NewCount < 0) ListError(u"List count out of bounds (%d)", NewCount);
  while (Count() > NewCount) Delete(Count() - 1);
  FList.resize(NewCount, nullptr);
}

void TList::SetCapacity(int NewCapacity) {
  if (NewCapacity < Count()) ListError(u"List capacity out of bounds (%d)", NewCapacity);
  if (NewCapacity > Capacity()) {
    FList.reserve(NewCapacity);
  } else if (NewCapacity < Capacity()) {
    std::vector<void*> Shrunk;
    Shrunk.reserve(NewCapacity);
    Shrunk.assign(FList.begin(), FList.end());
    FList.swap(Shrunk);
  }
}

void* TList::Items(int Index) const {
  CheckIndex(Index);
  return FList[Index];
}

void TList::SetItems(int Index, void* Item) {
  CheckIndex(Index);
  void* Old = FList[Index];
  if (Old == Item) return;
  FList[Index] = Item;
  if (Old) Notify(Old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

int TList::Add(void* Item) {
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) ListError(u"List index out of bounds (%d)", Index);
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
  CheckIndex(Index);
  void* Item = FList[Index];
  FList.erase(FList.begin() + Index);
  if (Item) Notify(Item, lnDeleted);
}

int TList::Remove(void* Item) {
  int Index = IndexOf(Item);
  if (Index >= 0) Delete(Index);
  return Index;
}

void* TList::Extract(void* Item) {
  int Index = IndexOf(Item);
  if (Index < 0) return nullptr;
  FList.erase(FList.begin() + Index);
  Notify(Item, lnExtracted);
  return Item;
}

int TList::IndexOf(void* Item) const {
  auto It = std::find(FList.begin(), FList.end(), Item);
  return It == FList.end() ? -1 : static_cast<int>(It - FList.begin());
}

void TList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[Index1], FList[Index2]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(NewIndex);
  CheckIndex(CurIndex);
  void* Item = FList[CurIndex];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, Item);
}

void TList::Pack() { std::erase(FList, nullptr); }

void TList::Clear() {
  // Deleted one by one from the end so that Notify sees each item leave.
  while (!FList.empty()) Delete(Count() - 1);
  FList.shrink_to_fit();
}

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(FList.begin(), FList.end(),
                   [&Compare](void* A, void* B) { return Compare(A, B) < 0; });
}

void TList::Notify(void*, TListNotification) {}

// --- TObjectList ----------------------------------------------------------------------------------

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* Ptr, TListNotification Action) {
  if (FOwnsObjects && Action == lnDeleted) delete static_cast<TObject*>(Ptr);
  TList::Notify(Ptr, Action);
}
