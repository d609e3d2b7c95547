// MTIndexZk.cpp - the key indexes of a records list.
#include "gridlib/memtable/MTIndexZk.h"

#include <algorithm>

#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {
constexpr std::size_t kIndexBlock = 256;

int KeyOrder(const Variant& A, const Variant& B) {
  switch (CompareVariantKeys(A, B)) {
    case vrLessThan: return -1;
    case vrEqual: return 0;
    case vrGreaterThan: return 1;
    case vrNotEqual: break;
  }
  throw Exception(u"TMTIndexZk.FindKeyValueIndex: values is not comparable.");
}

}  // namespace

// --- TMTIndexZk --------------------------------------------------------------------------------------

TMTIndexZk::TMTIndexZk(TMTIndexesZk* Collection)
    : FCollection(Collection), FRecordsList(Collection->RecList()) {}

TMTIndexZk::TMTIndexZk(TRecordsListZk* ARecordsList) : FRecordsList(ARecordsList) {}

std::unique_ptr<TMTIndexZk> TMTIndexZk::CreateApart(TRecordsListZk* ARecordsList) {
  return std::unique_ptr<TMTIndexZk>(new TMTIndexZk(ARecordsList));
}

TMTIndexZk::~TMTIndexZk() = default;

void TMTIndexZk::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (FActive)
    RebuildIndex();
  else
    ClearIndex();
}

void TMTIndexZk::SetFields(const String& Value) {
  if (Value == FFields) return;
  FFields = Value;
  RebuildIndex();
}

void TMTIndexZk::SetUnical(bool Value) {
  if (Value == FUnical) return;
  FUnical = Value;
  RebuildIndex();
}

void TMTIndexZk::SetPrimary(bool Value) {
  if (Value == FPrimary) return;
  FPrimary = Value;
  RebuildIndex();
}

const TIndexItemZk& TMTIndexZk::Items(int Index) const {
  if (Index < 0 || Index >= FCount)
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  int Start;
  const TBlock& B = *FBlocks[FindBlock(Index, Start)];
  return B.Items[static_cast<std::size_t>(Index - Start)];
}

void TMTIndexZk::ClearIndex() {
  FBlocks.clear();
  FCount = 0;
  Reorganize();
}

void TMTIndexZk::UpdateFieldIndexes() {
  FFieldIndexes.clear();
  if (FFields.empty()) return;
  TMTDataStructZk* Struct = FRecordsList->DataStruct();
  if (FFields.find(u';') == String::npos) {
    const int I = Struct->FieldIndex(FFields);
    if (I < 0) DatabaseError(FieldNotFoundText(FFields), Struct);
    FFieldIndexes = {I};
  } else {
    Struct->FieldsIndex(FFields, FFieldIndexes);
  }
}

void TMTIndexZk::StructChanged() {
  if (!Maintained()) return;
  try {
    RebuildIndex();
  } catch (const EDatabaseError&) {
    // Its fields left the structure: the index stops, empty, instead of failing every
    // later record event.
    ClearIndex();
    FActive = false;
  }
}

Variant TMTIndexZk::KeyOf(const TMemoryRecordZk* Rec, TDataValueVersionZk Version) const {
  return Rec->GetIndexedDataValues(FFieldIndexes, Version);
}

void TMTIndexZk::RebuildIndex() {
  ClearIndex();
  if (FFields.empty()) return;
  UpdateFieldIndexes();
  std::vector<TIndexItemZk> All;
  All.reserve(static_cast<std::size_t>(FRecordsList->Count()));
  FRecordsList->ActiveList().ForEach([&](TMemoryRecordZk* R) {
    // A record marked for deletion has no entry (it leaves the index when it is marked).
    if (R->UpdateStatus() != usDeleted) All.push_back({KeyOf(R), R});
  });
  std::sort(All.begin(), All.end(), [](const TIndexItemZk& A, const TIndexItemZk& B) {
    const int C = KeyOrder(A.Value, B.Value);
    return C != 0 ? C < 0 : A.Rec->HashCode() < B.Rec->HashCode();
  });
  for (std::size_t I = 0; I < All.size(); I += kIndexBlock) {
    auto B = std::make_unique<TBlock>();
    const auto End = std::min(All.size(), I + kIndexBlock);
    B->Items.assign(std::make_move_iterator(All.begin() + static_cast<std::ptrdiff_t>(I)),
                    std::make_move_iterator(All.begin() + static_cast<std::ptrdiff_t>(End)));
    FBlocks.push_back(std::move(B));
  }
  FCount = static_cast<int>(All.size());
  Reorganize();
}

std::size_t TMTIndexZk::FindBlock(int Pos, int& Start) const {
  if (Pos >= FCount) {
    Start = FCount - static_cast<int>(FBlocks.back()->Items.size());
    return FBlocks.size() - 1;
  }
  return FCounts.Find(Pos, Start);
}

void TMTIndexZk::Reorganize() {
  FCounts.Rebuild(FBlocks.size(), [this](std::size_t I) { return static_cast<int>(FBlocks[I]->Items.size()); });
}

int TMTIndexZk::CompareEntry(const TIndexItemZk& Item, const Variant& Key, unsigned Hash) const {
  const int C = KeyOrder(Item.Value, Key);
  if (C != 0) return C;
  return Item.Rec->HashCode() < Hash ? -1 : Item.Rec->HashCode() > Hash ? 1 : 0;
}

int TMTIndexZk::LowerBound(const Variant& Key, unsigned Hash) const {
  // The first block whose last entry is not less than the key; then within it.
  auto BIt = std::partition_point(FBlocks.begin(), FBlocks.end(), [&](const std::unique_ptr<TBlock>& B) {
    return CompareEntry(B->Items.back(), Key, Hash) < 0;
  });
  if (BIt == FBlocks.end()) return FCount;
  const TBlock& B = **BIt;
  auto It = std::partition_point(B.Items.begin(), B.Items.end(), [&](const TIndexItemZk& Item) {
    return CompareEntry(Item, Key, Hash) < 0;
  });
  return FCounts.Start(static_cast<std::size_t>(BIt - FBlocks.begin())) + static_cast<int>(It - B.Items.begin());
}

void TMTIndexZk::InsertAt(int Pos, TIndexItemZk Item) {
  if (FBlocks.empty()) {
    FBlocks.push_back(std::make_unique<TBlock>());
    Reorganize();
  }
  int Start;
  const std::size_t BI = FindBlock(Pos, Start);
  TBlock& B = *FBlocks[BI];
  B.Items.insert(B.Items.begin() + (Pos - Start), std::move(Item));
  ++FCount;
  FCounts.Add(BI, 1);
  if (B.Items.size() >= 2 * kIndexBlock) {
    auto Tail = std::make_unique<TBlock>();
    Tail->Items.assign(std::make_move_iterator(B.Items.begin() + kIndexBlock),
                       std::make_move_iterator(B.Items.end()));
    B.Items.resize(kIndexBlock);
    FBlocks.insert(FBlocks.begin() + static_cast<std::ptrdiff_t>(BI) + 1, std::move(Tail));
    Reorganize();
  }
}

void TMTIndexZk::EraseAt(int Pos) {
  int Start;
  const std::size_t BI = FindBlock(Pos, Start);
  TBlock& B = *FBlocks[BI];
  B.Items.erase(B.Items.begin() + (Pos - Start));
  --FCount;
  if (B.Items.empty()) {
    FBlocks.erase(FBlocks.begin() + static_cast<std::ptrdiff_t>(BI));
    Reorganize();
  } else {
    FCounts.Add(BI, -1);
  }
}

void TMTIndexZk::InsertEntry(const Variant& Key, TMemoryRecordZk* Rec) {
  InsertAt(LowerBound(Key, Rec->HashCode()), {Key, Rec});
}

bool TMTIndexZk::EraseEntry(const Variant& Key, TMemoryRecordZk* Rec) {
  const int Pos = LowerBound(Key, Rec->HashCode());
  if (Pos >= FCount || Items(Pos).Rec != Rec) return false;
  EraseAt(Pos);
  return true;
}

bool TMTIndexZk::FindKeyValueIndex(const Variant& Value, int& Index) const {
  Index = LowerBound(Value, 0);
  return Index < FCount && KeyOrder(Items(Index).Value, Value) == 0;
}

bool TMTIndexZk::FindRecordIndexByKey(const Variant& Value, int& Index) const {
  if (!FindKeyValueIndex(Value, Index)) return false;
  Index = Items(Index).RecIndex();
  return true;
}

TMemoryRecordZk* TMTIndexZk::FindRecordByKey(const Variant& Value) const {
  int Index;
  return FindKeyValueIndex(Value, Index) ? Items(Index).Rec : nullptr;
}

void TMTIndexZk::FillMatchedKeyList(const Variant& Value, std::vector<const TIndexItemZk*>& List) const {
  int Index;
  if (!FindKeyValueIndex(Value, Index)) return;
  for (int I = Index; I < FCount && KeyOrder(Items(I).Value, Value) == 0; ++I) List.push_back(&Items(I));
}

void TMTIndexZk::FillMatchedRecsList(const Variant& Value, std::vector<TMemoryRecordZk*>& List) const {
  int Index;
  if (!FindKeyValueIndex(Value, Index)) return;
  for (int I = Index; I < FCount && KeyOrder(Items(I).Value, Value) == 0; ++I) List.push_back(Items(I).Rec);
}

void TMTIndexZk::KeyViolation(const Variant& Key) const {
  throw Exception(u"Unical key violation " + VarToStr(Key.IsArray() ? Key[Key.ArrayLowBound()] : Key) +
                  [&Key] {
                    String Rest;
                    if (Key.IsArray())
                      for (int I = Key.ArrayLowBound() + 1; I <= Key.ArrayHighBound(); ++I)
                        Rest += u";" + VarToStr(Key[I]);
                    return Rest;
                  }());
}

void TMTIndexZk::RecordEvent(TMemoryRecordZk* MemRec, int, TRecordsListNotification Action) {
  if (!Maintained()) return;
  switch (Action) {
    case rlnRecAddingZk:
      if (Enforces()) {
        const Variant Key = KeyOf(MemRec);
        int Pos;
        if (FindKeyValueIndex(Key, Pos)) KeyViolation(Key);
      }
      break;
    case rlnRecAddedZk:
      InsertEntry(KeyOf(MemRec), MemRec);
      break;
    case rlnRecChangingZk: {
      FOldValue = KeyOf(MemRec, dvvCurValueZk);
      if (Enforces()) {
        const Variant Key = KeyOf(MemRec);
        int Pos;
        // A reverted deletion has no entry: its key must be free again.
        const bool Returning = MemRec->UpdateStatus() == usDeleted;
        if ((Returning || !VariantsEqual(Key, FOldValue)) && FindKeyValueIndex(Key, Pos))
          KeyViolation(Key);
      }
      break;
    }
    case rlnRecChangedZk: {
      // A reverted deletion has no entry any more: it gets one again.
      const Variant Key = KeyOf(MemRec);
      if (MemRec->UpdateStatus() != usDeleted && VariantsEqual(Key, FOldValue)) {
        const int Pos = LowerBound(Key, MemRec->HashCode());
        if (Pos < FCount && Items(Pos).Rec == MemRec) break;  // the key did not change
      }
      EraseEntry(FOldValue, MemRec);
      if (MemRec->UpdateStatus() != usDeleted) InsertEntry(Key, MemRec);
      break;
    }
    case rlnRecDeletedZk:
    case rlnRecMarkedForDelZk:
      if (!EraseEntry(KeyOf(MemRec), MemRec)) {
        // The key changed without an event (a value set directly): find the entry by record.
        for (int I = 0; I < FCount; ++I)
          if (Items(I).Rec == MemRec) {
            EraseAt(I);
            break;
          }
      }
      break;
    case rlnListChangedZk:
      StructChanged();
      break;
    default:
      break;
  }
}

// Entries point at their records: a move changes no entry.
void TMTIndexZk::RecordMoved(TMemoryRecordZk*, int, int) {}

// --- TMTIndexesZk -------------------------------------------------------------------------------------

TMTIndexZk* TMTIndexesZk::Add() {
  FItems.push_back(std::make_unique<TMTIndexZk>(this));
  return FItems.back().get();
}

void TMTIndexesZk::Delete(int Index) {
  FItems.erase(FItems.begin() + Index);
}

TMTIndexZk* TMTIndexesZk::GetIndexForFields(const String& Fields) const {
  for (const auto& I : FItems)
    if (SameText(I->Fields(), Fields)) return I.get();
  return nullptr;
}

TMTIndexZk* TMTIndexesZk::GetActiveIndexForFields(const String& Fields) const {
  for (const auto& I : FItems)
    if (I->Active() && SameText(I->Fields(), Fields)) return I.get();
  return nullptr;
}

void TMTIndexesZk::RecordEvent(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action) {
  for (const auto& I : FItems) I->RecordEvent(MemRec, Index, Action);
}

void TMTIndexesZk::RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex) {
  for (const auto& I : FItems) I->RecordMoved(Item, OldIndex, NewIndex);
}

void TMTIndexesZk::StructChanged() {
  for (const auto& I : FItems) I->StructChanged();
}

void TMTIndexesZk::ClearIndexes() {
  for (const auto& I : FItems) I->ClearIndex();
}
