// RecBlockListZk.h - an ordered list of records cut into blocks of a few hundred, so that
// inserting or removing one record costs O(sqrt n) and finding a record's position needs no
// scan of the list: each record points at its block through a link slot.
//
// The records list and the first records view of a container use a slot in the record
// (FListLink, FViewLink); any further list of the same records keeps its links in a hash map.
//
// A list may keep a 64-bit key beside each record (Keyed): a sorted view keeps there the sort-key
// prefix of each row's first value, so a search decides most steps on keys lying side by side
// in a block instead of on records scattered in memory. Key 0 decides nothing.
#pragma once

#include <algorithm>
#include <cstdint>
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
  // Key is kept only by a keyed list.
  void Insert(int Index, TMemoryRecordZk* Rec, std::uint64_t Key = 0);
  void Add(TMemoryRecordZk* Rec) { Insert(FCount, Rec); }
  TMemoryRecordZk* Extract(int Index);
  void Remove(TMemoryRecordZk* Rec);
  void Move(int CurIndex, int NewIndex);
  void Clear();
  // The records in order, and the list refilled from records in order: with Keys (one for each
  // record) the list is keyed, without them not.
  std::vector<TMemoryRecordZk*> ToVector() const;
  void Assign(const std::vector<TMemoryRecordZk*>& Records, const std::vector<std::uint64_t>* Keys = nullptr);
  bool Keyed() const { return FKeyed; }

  // The rows of a list handed over for a rebuild: the list is empty at once, and each record
  // leaves its old block when a walk over the records meets it (Forget), or, if no walk met
  // it, when this ends. A rebuild that reads every record anyway thus needs no separate pass
  // writing every old row's link. Until then a record linked to a handed-over block counts
  // as not in the list. Lists keeping their links in a map are simply cleared.
  class TRetiredRows {
  public:
    explicit TRetiredRows(TRecBlockListZk& List);
    ~TRetiredRows();
    TRetiredRows(const TRetiredRows&) = delete;
    TRetiredRows& operator=(const TRetiredRows&) = delete;
    // (A template only so that the record's type is complete where it is used.)
    template <class TRec>
    void Forget(TRec* Rec) {
      if (!FSlot) return;
      TBlock*& Link = Rec->*FSlot;
      if (Link && Link->Pos == kRetired) {
        Link = nullptr;
        ++FForgotten;
      }
    }

  private:
    TLinkSlot FSlot;
    std::vector<std::unique_ptr<TBlock>> FBlocks;
    int FCount;
    int FForgotten = 0;
  };
  // The key beside the record at Index (0 in a list without keys).
  std::uint64_t KeyAt(int Index) const;
  // For a list ordered so that the records satisfying Less(record, its key) come first: the
  // position of the first record that does not. The blocks' last records are searched first
  // (few, and the same ones for many searches, so they stay in the cache), then one block.
  template <class F>
  int PartitionPoint(F&& Less) const {
    auto BIt = std::partition_point(FBlocks.begin(), FBlocks.end(), [&](const std::unique_ptr<TBlock>& B) {
      return B->Items.empty() || Less(B->Items.back(), KeyOf(*B, B->Items.size() - 1));
    });
    if (BIt == FBlocks.end()) return FCount;
    const TBlock& Block = **BIt;
    const std::vector<TMemoryRecordZk*>& Items = Block.Items;
    // Within the block the records lie anywhere in memory: without keys, the two the next step
    // may read are fetched while this one is compared.
    std::size_t Low = 0, Length = Items.size();
    while (Length > 0) {
      const std::size_t Half = Length / 2;
      if (!FKeyed) {
        Prefetch(Items, Low + Half / 2);
        Prefetch(Items, Low + Half + 1 + (Length - Half - 1) / 2);
      }
      if (Less(Items[Low + Half], KeyOf(Block, Low + Half))) {
        Low += Half + 1;
        Length -= Half + 1;
      } else {
        Length = Half;
      }
    }
    return FCounts.Start(static_cast<std::size_t>(BIt - FBlocks.begin())) + static_cast<int>(Low);
  }
  // Every record in order; the record a few steps on (with its values) is fetched into the
  // cache meanwhile, as a walk mostly reads each record it visits.
  template <class F>
  void ForEach(F&& Proc) const {
    for (const auto& B : FBlocks)
      for (std::size_t I = 0, N = B->Items.size(); I < N; ++I) {
        Prefetch(B->Items, I + kWalkAhead);
        Proc(B->Items[I]);
      }
  }

  struct TBlock {
    std::vector<TMemoryRecordZk*> Items;
    std::vector<std::uint64_t> Keys;  // beside Items in a keyed list, else empty
    std::size_t Pos = 0;               // position of the block in the block list
  };

private:
  static constexpr std::size_t kWalkAhead = 8;
  // The position of a block handed over to a TRetiredRows.
  static constexpr std::size_t kRetired = static_cast<std::size_t>(-1);
  std::uint64_t KeyOf(const TBlock& B, std::size_t I) const { return FKeyed ? B.Keys[I] : 0; }
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
  bool FKeyed = false;
  // The block last found by position, for rows read in order; cleared by every change.
  mutable std::size_t FLastBlock = 0;
  mutable int FLastStart = -1;
};
