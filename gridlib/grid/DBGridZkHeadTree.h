// DBGridZkHeadTree.h - the multi-title header tree: the captions "A|B|C" of neighbouring
// columns turned into group cells over their leaves. The layout builds it from the columns and
// sizes it; the title painting draws each leaf and the slices of the groups above it.
#pragma once

#include <vector>

#include "platform/rtl/Types.h"

class TColumnZk;
class TCustomDBGridZk;

class THeadTreeNode {
public:
  THeadTreeNode();
  THeadTreeNode(const String& AText, int AHeight, int AWidth);
  ~THeadTreeNode();
  THeadTreeNode(const THeadTreeNode&) = delete;
  THeadTreeNode& operator=(const THeadTreeNode&) = delete;

  // Siblings form a ring through Next (a lone node points to itself); Child is the first child.
  THeadTreeNode* Child = nullptr;
  TColumnZk* Column = nullptr;     // a leaf's column; nullptr for a group
  bool Drawed = false;             // the title painting already drew this group
  int Height = 0;                  // of the node's own cell
  THeadTreeNode* Host = nullptr;   // the parent; nullptr for the root
  THeadTreeNode* Next = this;
  String Text;
  int VLineWidth = 0;              // the line between siblings: 1 with column lines
  int Width = 0;
  int WIndent = 0;                 // 16 for the leaf of a sort-marked column

  // Raise Exception "Node not in Tree" when the reference node is not reachable from this one.
  THeadTreeNode* Add(THeadTreeNode* AAfter, const String& AText, int AHeight, int AWidth);
  THeadTreeNode* AddChild(THeadTreeNode* ANode, const String& AText, int AHeight, int AWidth);
  void FreeAllChild();
  bool Find(THeadTreeNode* ANode);
  // Root 0, its children 1.
  int GetLevel() const;
  // Groups the siblings AFrom .. ATo under a new node AHeight high; raises "ATo not in level"
  // when ATo is not AFrom or a later sibling.
  THeadTreeNode* Union(THeadTreeNode* AFrom, THeadTreeNode* ATo, const String& AText,
                       int AHeight);
  // Rebuilds the children of this (root) node from the grid's columns and fills the grid's
  // leaf array.
  void CreateFieldTree(TCustomDBGridZk* AGrid);
  // Each node of the child ring, depth first.
  template <class F> void DoForAllNode(F Proc) {
    if (!Child) return;
    THeadTreeNode* N = Child;
    do {
      Proc(N);
      N->DoForAllNode(Proc);
      N = N->Next;
    } while (N != Child);
  }
};

// One entry per column of the grid, in collection order.
struct TLeafColZk {
  THeadTreeNode* FLeaf = nullptr;
  TColumnZk* FColumn = nullptr;
};
using TLeafColsZk = std::vector<TLeafColZk>;
