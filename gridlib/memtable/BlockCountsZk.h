// BlockCountsZk.h - the item counts of a list's blocks as a Fenwick tree: the position where
// a block starts and the block holding a position are found in O(log blocks), and one item
// more or less in a block costs O(log blocks), so long blocked lists need no renumbering.
#pragma once

#include <cstddef>
#include <vector>

class TBlockCountsZk {
public:
  // Rebuilds the tree from the blocks' counts (after a block was split or removed).
  template <class TCountOf>
  void Rebuild(std::size_t Blocks, TCountOf&& CountOf) {
    FTree.assign(Blocks + 1, 0);
    for (std::size_t I = 1; I <= Blocks; ++I) {
      FTree[I] += CountOf(I - 1);
      const std::size_t Parent = I + (I & (~I + 1));
      if (Parent <= Blocks) FTree[Parent] += FTree[I];
    }
  }
  // One block more at the end, in O(log blocks): its node sums the nodes it covers.
  void Append(int Count) {
    if (FTree.empty()) FTree.push_back(0);
    const std::size_t I = FTree.size();
    const std::size_t Low = I - (I & (~I + 1));
    for (std::size_t J = I - 1; J > Low; J -= J & (~J + 1)) Count += FTree[J];
    FTree.push_back(Count);
  }
  void Add(std::size_t Block, int Delta) {
    for (std::size_t I = Block + 1; I < FTree.size(); I += I & (~I + 1)) FTree[I] += Delta;
  }
  // The number of items in the blocks before Block.
  int Start(std::size_t Block) const {
    int Sum = 0;
    for (std::size_t I = Block; I > 0; I -= I & (~I + 1)) Sum += FTree[I];
    return Sum;
  }
  // The block holding position Index (0 <= Index < total), and in Start where it begins.
  std::size_t Find(int Index, int& Start) const {
    std::size_t Pos = 0;
    std::size_t Step = 1;
    while (Step * 2 < FTree.size()) Step *= 2;
    Start = 0;
    for (; Step > 0; Step /= 2)
      if (Pos + Step < FTree.size() && Start + FTree[Pos + Step] <= Index) {
        Pos += Step;
        Start += FTree[Pos];
      }
    return Pos;
  }

private:
  std::vector<int> FTree;  // 1-based
};
