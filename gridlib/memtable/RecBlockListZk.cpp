// RecBlockListZk.cpp - the blocked record list.
#include "gridlib/memtable/RecBlockListZk.h"

#include <algorithm>

#include "gridlib/memtable/MemTableDataZk.h"
#include "platform/rtl/SysUtils.h"

namespace {
// A block splits when it reaches twice this size.
constexpr std::size_t kBlockSize = 512;

[[noreturn]] void IndexError(int Index) {
  throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}
}  // namespace

TRecBlockListZk::TRecBlockListZk(TLinkSlot Slot) : FSlot(Slot) {}

TRecBlockListZk::~TRecBlockListZk() { Clear(); }

TRecBlockListZk::TBlock* TRecBlockListZk::BlockOf(const TMemoryRecordZk* Rec) const {
  if (FSlot) {
    TBlock* B = Rec->*FSlot;
    return B;
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

int TRecBlockListZk::FindBlock(int Index) const {
  // Rows are mostly read in order: the block of the last read comes first.
  if (FLastBlock < FBlocks.size()) {
    const TBlock& B = *FBlocks[FLastBlock];
    if (Index >= B.Start && Index < B.Start + static_cast<int>(B.Items.size())) return static_cast<int>(FLastBlock);
  }
  auto It = std::upper_bound(FBlocks.begin(), FBlocks.end(), Index,
                             [](int I, const std::unique_ptr<TBlock>& B) { return I < B->Start; });
  const int Found = static_cast<int>(It - FBlocks.begin()) - 1;
  FLastBlock = static_cast<std::size_t>(std::max(Found, 0));
  return Found;
}

TMemoryRecordZk* TRecBlockListZk::Items(int Index) const {
  if (Index < 0 || Index >= FCount) IndexError(Index);
  const TBlock& B = *FBlocks[FindBlock(Index)];
  return B.Items[static_cast<std::size_t>(Index - B.Start)];
}

int TRecBlockListZk::IndexOf(const TMemoryRecordZk* Rec) const {
  const TBlock* B = Rec ? BlockOf(Rec) : nullptr;
  if (!B) return -1;
  auto It = std::find(B->Items.begin(), B->Items.end(), Rec);
  return B->Start + static_cast<int>(It - B->Items.begin());
}

void TRecBlockListZk::Renumber(int FromBlock) {
  int Start = FromBlock > 0 ? FBlocks[FromBlock - 1]->Start +
                                  static_cast<int>(FBlocks[FromBlock - 1]->Items.size())
                            : 0;
  for (std::size_t I = static_cast<std::size_t>(FromBlock); I < FBlocks.size(); ++I) {
    FBlocks[I]->Start = Start;
    FBlocks[I]->Pos = static_cast<int>(I);
    Start += static_cast<int>(FBlocks[I]->Items.size());
  }
}

void TRecBlockListZk::Split(int BlockIndex) {
  TBlock& B = *FBlocks[BlockIndex];
  auto Tail = std::make_unique<TBlock>();
  Tail->Items.assign(B.Items.begin() + kBlockSize, B.Items.end());
  B.Items.resize(kBlockSize);
  for (TMemoryRecordZk* R : Tail->Items) SetLink(R, Tail.get());
  FBlocks.insert(FBlocks.begin() + BlockIndex + 1, std::move(Tail));
}

void TRecBlockListZk::Insert(int Index, TMemoryRecordZk* Rec) {
  if (Index < 0 || Index > FCount) IndexError(Index);
  if (FBlocks.empty()) FBlocks.push_back(std::make_unique<TBlock>());
  int BI = Index == FCount ? static_cast<int>(FBlocks.size()) - 1 : FindBlock(Index);
  TBlock& B = *FBlocks[BI];
  B.Items.insert(B.Items.begin() + (Index - B.Start), Rec);
  SetLink(Rec, &B);
  ++FCount;
  if (B.Items.size() >= 2 * kBlockSize) {
    Split(BI);
    Renumber(BI);
  } else {
    for (std::size_t I = static_cast<std::size_t>(BI) + 1; I < FBlocks.size(); ++I) ++FBlocks[I]->Start;
  }
}

TMemoryRecordZk* TRecBlockListZk::Extract(int Index) {
  if (Index < 0 || Index >= FCount) IndexError(Index);
  int BI = FindBlock(Index);
  TBlock& B = *FBlocks[BI];
  TMemoryRecordZk* Rec = B.Items[static_cast<std::size_t>(Index - B.Start)];
  B.Items.erase(B.Items.begin() + (Index - B.Start));
  SetLink(Rec, nullptr);
  --FCount;
  if (B.Items.empty()) {
    FBlocks.erase(FBlocks.begin() + BI);
    if (BI < static_cast<int>(FBlocks.size())) Renumber(BI);
  } else {
    for (std::size_t I = static_cast<std::size_t>(BI) + 1; I < FBlocks.size(); ++I) --FBlocks[I]->Start;
  }
  return Rec;
}

void TRecBlockListZk::Remove(TMemoryRecordZk* Rec) {
  int Index = IndexOf(Rec);
  if (Index >= 0) Extract(Index);
}

void TRecBlockListZk::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  TMemoryRecordZk* Rec = Extract(CurIndex);
  Insert(NewIndex, Rec);
}

void TRecBlockListZk::Clear() {
  ForEach([this](TMemoryRecordZk* R) { SetLink(R, nullptr); });
  FBlocks.clear();
  FLinks.clear();
  FCount = 0;
}

std::vector<TMemoryRecordZk*> TRecBlockListZk::ToVector() const {
  std::vector<TMemoryRecordZk*> Result;
  Result.reserve(static_cast<std::size_t>(FCount));
  ForEach([&Result](TMemoryRecordZk* R) { Result.push_back(R); });
  return Result;
}

void TRecBlockListZk::Assign(const std::vector<TMemoryRecordZk*>& Records) {
  Clear();
  for (std::size_t I = 0; I < Records.size(); I += kBlockSize) {
    auto B = std::make_unique<TBlock>();
    B->Items.assign(Records.begin() + static_cast<std::ptrdiff_t>(I),
                    Records.begin() + static_cast<std::ptrdiff_t>(std::min(Records.size(), I + kBlockSize)));
    for (TMemoryRecordZk* R : B->Items) SetLink(R, B.get());
    FBlocks.push_back(std::move(B));
  }
  FCount = static_cast<int>(Records.size());
  Renumber(0);
}
