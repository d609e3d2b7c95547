// DBGridZkHeadTree.cpp - the multi-title header tree: nodes in sibling rings, grouping runs of
// siblings under a new node, and the tree built from the columns' "A|B" captions.
#include "gridlib/grid/DBGridZkHeadTree.h"

#include "gridlib/grid/DBGridZk.h"
#include "platform/rtl/Exceptions.h"

namespace {

[[noreturn]] void NotInTree() { throw Exception(u"Node not in Tree"); }

// Words of a caption are separated by runs of '|'. The first word, and the index where the
// second word starts (npos when there is none).
String FirstWord(const String& Text, std::size_t* Second) {
  std::size_t B = Text.find_first_not_of(u'|');
  if (B == String::npos) {
    if (Second) *Second = String::npos;
    return String();
  }
  std::size_t E = Text.find(u'|', B);
  if (Second) *Second = E == String::npos ? String::npos : Text.find_first_not_of(u'|', E);
  return Text.substr(B, E == String::npos ? String::npos : E - B);
}

THeadTreeNode* LinkAfter(THeadTreeNode* After, THeadTreeNode* Node) {
  Node->Next = After->Next;
  After->Next = Node;
  return Node;
}

}  // namespace

THeadTreeNode::THeadTreeNode() = default;

THeadTreeNode::THeadTreeNode(const String& AText, int AHeight, int AWidth)
    : Height(AHeight), Text(AText), Width(AWidth) {}

// Only the root frees the tree; an inner node is freed by its host's FreeAllChild.
THeadTreeNode::~THeadTreeNode() {
  if (!Host) FreeAllChild();
}

void THeadTreeNode::FreeAllChild() {
  if (!Child) return;
  THeadTreeNode* N = Child;
  do {
    THeadTreeNode* Following = N->Next;
    N->FreeAllChild();
    delete N;
    N = Following;
  } while (N != Child);
  Child = nullptr;
}

bool THeadTreeNode::Find(THeadTreeNode* ANode) {
  THeadTreeNode* N = this;
  do {
    if (N == ANode) return true;
    if (N->Child && N->Child->Find(ANode)) return true;
    N = N->Next;
  } while (N != this);
  return false;
}

int THeadTreeNode::GetLevel() const {
  int Level = 0;
  for (const THeadTreeNode* N = Host; N; N = N->Host) ++Level;
  return Level;
}

THeadTreeNode* THeadTreeNode::Add(THeadTreeNode* AAfter, const String& AText, int AHeight,
                                  int AWidth) {
  if (!Find(AAfter)) NotInTree();
  auto* Node = new THeadTreeNode(AText, AHeight, AWidth);
  Node->Host = AAfter->Host;
  return LinkAfter(AAfter, Node);
}

THeadTreeNode* THeadTreeNode::AddChild(THeadTreeNode* ANode, const String& AText, int AHeight,
                                       int AWidth) {
  if (!Find(ANode)) NotInTree();
  auto* Node = new THeadTreeNode(AText, AHeight, AWidth);
  Node->Host = ANode;
  if (!ANode->Child) {
    ANode->Child = Node;
    return Node;
  }
  THeadTreeNode* Last = ANode->Child;
  while (Last->Next != ANode->Child) Last = Last->Next;
  return LinkAfter(Last, Node);
}

THeadTreeNode* THeadTreeNode::Union(THeadTreeNode* AFrom, THeadTreeNode* ATo,
                                    const String& AText, int AHeight) {
  if (!Find(AFrom)) NotInTree();
  THeadTreeNode* First = AFrom->Host ? AFrom->Host->Child : AFrom;
  for (THeadTreeNode* N = AFrom; N != ATo;) {
    N = N->Next;
    if (N == First) throw Exception(u"ATo not in level");
  }
  THeadTreeNode* Before = AFrom;
  while (Before->Next != AFrom) Before = Before->Next;
  auto* Group = new THeadTreeNode(AText, AHeight, 0);
  Group->Host = AFrom->Host;
  Group->VLineWidth = ATo->VLineWidth;
  Group->Next = ATo->Next == AFrom ? Group : ATo->Next;
  if (Before != ATo) Before->Next = Group;
  Group->Child = AFrom;
  if (AFrom->Host && AFrom->Host->Child == AFrom) AFrom->Host->Child = Group;
  for (THeadTreeNode* N = AFrom;; N = N->Next) {
    N->Height -= AHeight;
    N->Host = Group;
    Group->Width += N->Width + Group->VLineWidth;
    if (N == ATo) break;
  }
  if (Group->VLineWidth > 0) Group->Width -= Group->VLineWidth;
  ATo->Next = AFrom;
  return Group;
}

void THeadTreeNode::CreateFieldTree(TCustomDBGridZk* AGrid) {
  FreeAllChild();
  TLeafColsZk& Leaves = AGrid->LeafFieldArr();
  TDBGridColumnsZk* Columns = AGrid->Columns();
  const int N = Columns->Count();
  Leaves.assign(static_cast<std::size_t>(N), TLeafColZk{});
  const bool ColLines = AGrid->Options().Contains(dgColLines);
  for (int I = 0; I < N; ++I) {
    TColumnZk* C = Columns->Items(I);
    const int W = C->Visible() ? AGrid->HeadTreeLeafWidth(C) : ColLines ? -1 : 0;
    THeadTreeNode* Leaf = AddChild(this, C->Title()->Caption(), AGrid->RowHeight(0), W);
    Leaf->Column = C;
    Leaf->WIndent = C->Title()->SortMarker() != smNoneZk ? 16 : 0;
    Leaf->VLineWidth = ColLines ? 1 : 0;
    Leaves[static_cast<std::size_t>(I)] = {Leaf, C};
  }
  // Each pass takes the first word off the first caption that has two and off the run of
  // neighbours sharing that word, and groups the run when it lies on one level (else the word
  // is dropped and the pass goes on).
  auto Leaf = [&](int I) { return Leaves[static_cast<std::size_t>(I)].FLeaf; };
  auto Strip = [](THeadTreeNode* Node) {
    std::size_t At;
    FirstWord(Node->Text, &At);
    Node->Text = At == String::npos ? String() : Node->Text.substr(At);
  };
  for (bool Changed = true; Changed;) {
    Changed = false;
    for (int I = 0; I < N; ++I) {
      THeadTreeNode* From = Leaf(I);
      std::size_t Second;
      const String G = FirstWord(From->Text, &Second);
      if (Second == String::npos) continue;
      int J = I;
      for (; J < N - 1 && FirstWord(Leaf(J + 1)->Text, nullptr) == G; ++J) Strip(Leaf(J));
      THeadTreeNode* To = Leaf(J);
      Strip(To);
      Changed = true;
      if (From->Host == To->Host) {
        Union(From, To, G, 20);
        break;
      }
    }
  }
}
