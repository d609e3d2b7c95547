// RecBlockListZk.h - an ordered list of records cut into blocks of a few hundred, so that
// inserting or removing one record costs O(sqrt n) and finding a record's position needs no
// scan of the list: each record points at its block through a link slot.
//
// The records list and the first records view of a container use a slot in the record
// (FListLink, FViewLink); any further list of the same records keeps its links in a hash map.
#pragma once

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "gridlib/memtable/BlockCountsZk.h"

class TMemoryRecordZk;

class TRecBlockListZk {
public:
  struct TBlock;
  using TLinkSlot = TBlock* TMemoryRecordZk::*;

  // Slot nullptr: links are kept in a map of this list.
  explicit TRecBlockListZk(TLinkSlot Slot = nullptr);
  ~TRecBlockListZk();
  TRecBlockListZk(const TRecBlockListZk&) = delete;
  TRecBlockListZk& operator=(const TRecBlockListZk&) = delete;

  int Count() const { return FCount; }
  bool Empty() const { return FCount == 0; }
  TMemoryRecordZk* Items(int Index) const;
  TMemoryRecordZk* First() const { return Items(0); }
  TMemoryRecordZk* Last() const { return Items(FCount - 1); }
  // The position of Rec, or -1 when it is not in this list.
  int IndexOf(const TMemoryRecordZk* Rec) const;
  bool Contains(const TMemoryRecordZk* Rec) const { return BlockOf(Rec) != nullptr; }
  void Insert(int Index, TMemoryRecordZk* Rec);
  void Add(TMemoryRecordZk* Rec) { Insert(FCount, Rec); }
  TMemoryRecordZk* Extract(int Index);
  void Remove(TMemoryRecordZk* Rec);
  void Move(int CurIndex, int NewIndex);
  void Clear();
  // The records in order, and the list refilled from records in order.
  std::vector<TMemoryRecordZk*> ToVector() const;
  void Assign(const std::vector<TMemoryRecordZk*>& Records);
  // For a list ordered so that the records satisfying Less come first: the position of the
  // first record that does not. The blocks' last records are searched first (few, and the
  // same ones for many searches, so they stay in the cache), then one block.
  template <class F>
  int PartitionPoint(F&& Less) const {
    auto BIt = std::partition_point(FBlocks.begin(), FBlocks.end(), [&](const std::unique_ptr<TBlock>& B) {
      return B->Items.empty() || Less(B->Items.back());
    });
    if (BIt == FBlocks.end()) return FCount;
    const std::vector<TMemoryRecordZk*>& Items = (*BIt)->Items;
    // Within the block the records lie anywhere in memory: the two the next step may read are
    // fetched while this one is compared.
    std::size_t Low = 0, Length = Items.size();
    while (Length > 0) {
      const std::size_t Half = Length / 2;
      Prefetch(Items, Low + Half / 2);
      Prefetch(Items, Low + Half + 1 + (Length - Half - 1) / 2);
      if (Less(Items[Low + Half])) {
        Low += Half + 1;
        Length -= Half + 1;
      } else {
        Length = Half;
      }
    }
    return FCounts.Start(static_cast<std::size_t>(BIt - FBlocks.begin())) + static_cast<int>(Low);
  }
  template <class F>
  void ForEach(F&& Proc) const {
    for (const auto& B : FBlocks)
      for (TMemoryRecordZk* R : B->Items) Proc(R);
  }

  struct TBlock {
    std::vector<TMemoryRecordZk*> Items;
    std::size_t Pos = 0;  // position of the block in the block list
  };

private:
  // Starts loading the record at Items[I] (and the first bytes of its values) into the cache.
  static void Prefetch(const std::vector<TMemoryRecordZk*>& Items, std::size_t I) {
    if (I >= Items.size()) return;
    const auto* P = reinterpret_cast<const char*>(Items[I]);
    __builtin_prefetch(P);
    __builtin_prefetch(P + 64);
  }
  TBlock* BlockOf(const TMemoryRecordZk* Rec) const;
  void SetLink(TMemoryRecordZk* Rec, TBlock* Block);
  // The block holding position Index (Index == Count: the last block) and where it starts.
  std::size_t FindBlock(int Index, int& Start) const;
  // After blocks were added or removed: their positions and the counts tree.
  void Reorganize();
  void Split(std::size_t BlockIndex);

  TLinkSlot FSlot;
  std::unordered_map<const TMemoryRecordZk*, TBlock*> FLinks;
  std::vector<std::unique_ptr<TBlock>> FBlocks;
  TBlockCountsZk FCounts;
  int FCount = 0;
  // The block last found by position, for rows read in order; cleared by every change.
  mutable std::size_t FLastBlock = 0;
  mutable int FLastStart = -1;
};
