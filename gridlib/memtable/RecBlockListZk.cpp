// RecBlockListZk.cpp - the blocked record list.
#include "gridlib/memtable/RecBlockListZk.h"

#include <algorithm>

#include "gridlib/memtable/MemTableDataZk.h"
#include "platform/rtl/SysUtils.h"

namespace {
// A block splits when it reaches twice this size.
constexpr std::size_t kBlockSize = 256;
// How many rows ahead of a read the record is prefetched.
constexpr std::size_t kReadAhead = 8;

[[noreturn]] void IndexError(int Index) {
  throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}
}  // namespace

TRecBlockListZk::TRecBlockListZk(TLinkSlot Slot) : FSlot(Slot) {}

TRecBlockListZk::~TRecBlockListZk() { Clear(); }

TRecBlockListZk::TBlock* TRecBlockListZk::BlockOf(const TMemoryRecordZk* Rec) const {
  if (FSlot) {
    TBlock* B = Rec->*FSlot;
    return B && B->Pos != kRetired ? B : nullptr;
  }
  auto It = FLinks.find(Rec);
  return It == FLinks.end() ? nullptr : It->second;
}

void TRecBlockListZk::SetLink(TMemoryRecordZk* Rec, TBlock* Block) {
  if (FSlot) {
    Rec->*FSlot = Block;
  } else if (Block) {
    FLinks[Rec] = Block;
  } else {
    FLinks.erase(Rec);
  }
}

std::size_t TRecBlockListZk::FindBlock(int Index, int& Start) const {
  if (Index >= FCount) {
    Start = FCount - static_cast<int>(FBlocks.back()->Items.size());
    return FBlocks.size() - 1;
  }
  if (FLastStart >= 0 && FLastBlock < FBlocks.size() && Index >= FLastStart &&
      Index < FLastStart + static_cast<int>(FBlocks[FLastBlock]->Items.size())) {
    Start = FLastStart;
    return FLastBlock;
  }
  FLastBlock = FCounts.Find(Index, Start);
  FLastStart = Start;
  return FLastBlock;
}

void TRecBlockListZk::Reorganize() {
  for (std::size_t I = 0; I < FBlocks.size(); ++I) FBlocks[I]->Pos = I;
  FCounts.Rebuild(FBlocks.size(), [this](std::size_t I) { return static_cast<int>(FBlocks[I]->Items.size()); });
  FLastStart = -1;
}

TMemoryRecordZk* TRecBlockListZk::Items(int Index) const {
  if (Index < 0 || Index >= FCount) IndexError(Index);
  int Start;
  const TBlock& B = *FBlocks[FindBlock(Index, Start)];
  const auto I = static_cast<std::size_t>(Index - Start);
  // Rows are mostly read in order (a grid, an export, a walk), and a sorted view's records lie
  // scattered in memory: the record a few rows on, with its values, is fetched meanwhile.
  if (I + kReadAhead < B.Items.size()) {
    const auto* Ahead = reinterpret_cast<const char*>(B.Items[I + kReadAhead]);
    __builtin_prefetch(Ahead);
    __builtin_prefetch(Ahead + 64);
  }
  return B.Items[I];
}

std::uint64_t TRecBlockListZk::KeyAt(int Index) const {
  if (!FKeyed) return 0;
  if (Index < 0 || Index >= FCount) IndexError(Index);
  int Start;
  return FBlocks[FindBlock(Index, Start)]->Keys[static_cast<std::size_t>(Index - Start)];
}

int TRecBlockListZk::IndexOf(const TMemoryRecordZk* Rec) const {
  const TBlock* B = Rec ? BlockOf(Rec) : nullptr;
  if (!B) return -1;
  // From the back: a record just appended (a fetch) is found at once.
  auto It = std::find(B->Items.rbegin(), B->Items.rend(), Rec);
  return FCounts.Start(B->Pos) + static_cast<int>(B->Items.rend() - It) - 1;
}

void TRecBlockListZk::Split(std::size_t BlockIndex) {
  TBlock& B = *FBlocks[BlockIndex];
  auto Tail = std::make_unique<TBlock>();
  Tail->Items.assign(B.Items.begin() + kBlockSize, B.Items.end());
  B.Items.resize(kBlockSize);
  if (FKeyed) {
    Tail->Keys.assign(B.Keys.begin() + kBlockSize, B.Keys.end());
    B.Keys.resize(kBlockSize);
  }
  for (TMemoryRecordZk* R : Tail->Items) SetLink(R, Tail.get());
  const int Moved = static_cast<int>(Tail->Items.size());
  if (BlockIndex + 1 == FBlocks.size()) {
    // The last block (a list filled by appending): nothing before the new block moves, and
    // the full block gives back the room it grew for, which appending will not use again.
    B.Items.shrink_to_fit();
    B.Keys.shrink_to_fit();
    Tail->Pos = FBlocks.size();
    FBlocks.push_back(std::move(Tail));
    FCounts.Add(BlockIndex, -Moved);
    FCounts.Append(Moved);
    FLastStart = -1;
    return;
  }
  FBlocks.insert(FBlocks.begin() + static_cast<std::ptrdiff_t>(BlockIndex) + 1, std::move(Tail));
  Reorganize();
}

void TRecBlockListZk::Insert(int Index, TMemoryRecordZk* Rec, std::uint64_t Key) {
  if (Index < 0 || Index > FCount) IndexError(Index);
  if (FBlocks.empty()) {
    FBlocks.push_back(std::make_unique<TBlock>());
    Reorganize();
  }
  int Start;
  const std::size_t BI = FindBlock(Index, Start);
  TBlock& B = *FBlocks[BI];
  B.Items.insert(B.Items.begin() + (Index - Start), Rec);
  if (FKeyed) B.Keys.insert(B.Keys.begin() + (Index - Start), Key);
  SetLink(Rec, &B);
  ++FCount;
  FLastStart = -1;
  FCounts.Add(BI, 1);
  if (B.Items.size() >= 2 * kBlockSize) Split(BI);
}

TMemoryRecordZk* TRecBlockListZk::Extract(int Index) {
  if (Index < 0 || Index >= FCount) IndexError(Index);
  int Start;
  const std::size_t BI = FindBlock(Index, Start);
  TBlock& B = *FBlocks[BI];
  TMemoryRecordZk* Rec = B.Items[static_cast<std::size_t>(Index - Start)];
  B.Items.erase(B.Items.begin() + (Index - Start));
  if (FKeyed) B.Keys.erase(B.Keys.begin() + (Index - Start));
  SetLink(Rec, nullptr);
  --FCount;
  FLastStart = -1;
  if (B.Items.empty()) {
    FBlocks.erase(FBlocks.begin() + static_cast<std::ptrdiff_t>(BI));
    Reorganize();
  } else {
    FCounts.Add(BI, -1);
  }
  return Rec;
}

void TRecBlockListZk::Remove(TMemoryRecordZk* Rec) {
  const int Index = IndexOf(Rec);
  if (Index >= 0) Extract(Index);
}

void TRecBlockListZk::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  std::uint64_t Key = 0;
  if (FKeyed) {
    int Start;
    const TBlock& B = *FBlocks[FindBlock(CurIndex, Start)];
    Key = B.Keys[static_cast<std::size_t>(CurIndex - Start)];
  }
  TMemoryRecordZk* Rec = Extract(CurIndex);
  Insert(NewIndex, Rec, Key);
}

void TRecBlockListZk::Clear() {
  ForEach([this](TMemoryRecordZk* R) { SetLink(R, nullptr); });
  FBlocks.clear();
  FLinks.clear();
  FCount = 0;
  FKeyed = false;
  Reorganize();
}

TRecBlockListZk::TRetiredRows::TRetiredRows(TRecBlockListZk& List) : FSlot(List.FSlot), FCount(List.FCount) {
  if (!FSlot) {
    List.Clear();
    return;
  }
  FBlocks = std::move(List.FBlocks);
  for (const auto& B : FBlocks) B->Pos = kRetired;
  List.FBlocks.clear();
  List.FCount = 0;
  List.FKeyed = false;
  List.Reorganize();
}

// Records no walk met still point at these blocks: they are let go before the blocks are.
TRecBlockListZk::TRetiredRows::~TRetiredRows() {
  if (FForgotten == FCount) return;
  for (const auto& B : FBlocks)
    for (TMemoryRecordZk* R : B->Items) Forget(R);
}

std::vector<TMemoryRecordZk*> TRecBlockListZk::ToVector() const {
  std::vector<TMemoryRecordZk*> Result;
  Result.reserve(static_cast<std::size_t>(FCount));
  ForEach([&Result](TMemoryRecordZk* R) { Result.push_back(R); });
  return Result;
}

void TRecBlockListZk::Assign(const std::vector<TMemoryRecordZk*>& Records, const std::vector<std::uint64_t>* Keys) {
  Clear();
  FKeyed = Keys != nullptr;
  for (std::size_t I = 0; I < Records.size(); I += kBlockSize) {
    auto B = std::make_unique<TBlock>();
    const auto From = static_cast<std::ptrdiff_t>(I);
    const auto To = static_cast<std::ptrdiff_t>(std::min(Records.size(), I + kBlockSize));
    B->Items.assign(Records.begin() + From, Records.begin() + To);
    if (FKeyed) B->Keys.assign(Keys->begin() + From, Keys->begin() + To);
    for (TMemoryRecordZk* R : B->Items) SetLink(R, B.get());
    FBlocks.push_back(std::move(B));
  }
  FCount = static_cast<int>(Records.size());
  Reorganize();
}
