// MemTreeZk.cpp - the generic ordered tree: nodes, attaching and moving, visible walks.
#include "gridlib/memtable/MemTreeZk.h"

#include "platform/rtl/SysUtils.h"

void RaiseTreeMaxLevel(int MaxLevel) {
  throw Exception(u"TBaseTreeNodeZk.SetLevel: Max level exceed - " + IntToStr(MaxLevel));
}

void RaiseReferenceLoop() { throw Exception(u"Reference-loop found"); }

// --- TBaseTreeNodeZk ----------------------------------------------------------------------------

TBaseTreeNodeZk::~TBaseTreeNodeZk() {
  for (TBaseTreeNodeZk* Child : FItems) delete Child;
}

const std::vector<TBaseTreeNodeZk*>& TBaseTreeNodeZk::GetVisibleList() const {
  return Count() == GetVisibleCount() ? FItems : FVisibleItems;
}

int TBaseTreeNodeZk::GetVisibleCount() const {
  return Count() == FVisibleCount ? Count() : static_cast<int>(FVisibleItems.size());
}

TBaseTreeNodeZk* TBaseTreeNodeZk::GetVisibleItem(int Index) const {
  const auto& List = GetVisibleList();
  return Index >= 0 && Index < static_cast<int>(List.size()) ? List[Index] : nullptr;
}

int TBaseTreeNodeZk::SubtreeDepth() const {
  int Depth = 0;
  for (const TBaseTreeNodeZk* Child : FItems) Depth = std::max(Depth, 1 + Child->SubtreeDepth());
  return Depth;
}

void TBaseTreeNodeZk::CheckOwner(const TBaseTreeNodeZk* Node) const {
  if (Node->FOwner != FOwner)
    throw Exception(u"TBaseTreeNodeZk.Add: Tree nodes can not has different Owners");
}

int TBaseTreeNodeZk::Add(TBaseTreeNodeZk* Node) {
  CheckOwner(Node);
  const bool AllVisible = FVisibleCount == Count();
  FItems.push_back(Node);
  const int Index = Count() - 1;
  if (AllVisible && Node->FVisible) {
    Node->FVisibleIndex = Index;
    ++FVisibleCount;
  } else {
    BuildVisibleItems();
  }
  return Index;
}

void TBaseTreeNodeZk::Insert(int Index, TBaseTreeNodeZk* Node) {
  CheckOwner(Node);
  const bool AllVisible = FVisibleCount == Count();
  FItems.insert(FItems.begin() + Index, Node);
  if (AllVisible && Node->FVisible)
    ++FVisibleCount;
  else
    BuildVisibleItems();
}

void TBaseTreeNodeZk::Delete(int Index) {
  const bool AllVisible = FVisibleCount == Count();
  FItems.erase(FItems.begin() + Index);
  if (AllVisible)
    --FVisibleCount;
  else
    BuildVisibleItems();
}

void TBaseTreeNodeZk::Exchange(int Index1, int Index2) {
  if (Index1 == Index2) return;
  std::swap(FItems[Index1], FItems[Index2]);
  FItems[Index1]->FIndex = Index1;
  FItems[Index2]->FIndex = Index2;
}

void TBaseTreeNodeZk::SetLevel(int Value) {
  if (Value == FLevel) return;
  if (Value > FOwner->MaxLevel()) RaiseTreeMaxLevel(FOwner->MaxLevel());
  FLevel = Value;
  for (TBaseTreeNodeZk* Child : FItems) Child->SetLevel(FLevel + 1);
}

void TBaseTreeNodeZk::SetExpanded(bool Value) {
  if (Value == FExpanded || !ExpandedChanging()) return;
  FExpanded = Value;
  ExpandedChanged();
}

void TBaseTreeNodeZk::SetVisible(bool Value) {
  if (Value == FVisible || !VisibleChanging()) return;
  FVisible = Value;
  VisibleChanged();
}

bool TBaseTreeNodeZk::IsSelfOrAncestorOf(const TBaseTreeNodeZk* Node) const {
  for (const TBaseTreeNodeZk* N = Node; N && N != FOwner->Root(); N = N->FParent)
    if (N == this) return true;
  return false;
}

bool TBaseTreeNodeZk::ExpandedChanging() { return FOwner->ExpandedChanging(this); }

TBaseTreeNodeZk* TBaseTreeNodeZk::GetItem(int Index) const {
  return Index >= 0 && Index < Count() ? FItems[Index] : nullptr;
}

void TBaseTreeNodeZk::ClearItems() {
  FItems.clear();
  FVisibleItems.clear();
  FVisibleCount = 0;
}

void TBaseTreeNodeZk::ChildVisibleChanged(TBaseTreeNodeZk*) { BuildVisibleItems(); }

void TBaseTreeNodeZk::ExpandedChanged() { FOwner->ExpandedChanged(this); }

void TBaseTreeNodeZk::VisibleChanged() {
  if (FParent) FParent->ChildVisibleChanged(this);
}

void TBaseTreeNodeZk::BuildVisibleItems() {
  FVisibleItems.clear();
  for (TBaseTreeNodeZk* Child : FItems) {
    if (!Child->FVisible) continue;
    Child->FVisibleIndex = static_cast<int>(FVisibleItems.size());
    FVisibleItems.push_back(Child);
  }
  FVisibleCount = static_cast<int>(FVisibleItems.size());
  if (!FItems.empty()) FHasChildren = FVisibleCount > 0;
}

void TBaseTreeNodeZk::SortChildren(void* ParamSort, bool ARecurse, const TCompareNodesZk& Compare) {
  if (FItems.empty()) return;
  QuickSort(0, Count() - 1, ParamSort, Compare);
  if (ARecurse)
    for (TBaseTreeNodeZk* Child : FItems) Child->SortChildren(ParamSort, true, Compare);
}

// The classic partition sort with the middle node as pivot; not stable.
void TBaseTreeNodeZk::QuickSort(int L, int R, void* ParamSort, const TCompareNodesZk& Compare) {
  int I;
  do {
    I = L;
    int J = R;
    TBaseTreeNodeZk* P = FItems[(L + R) / 2];
    do {
      while (Compare(FItems[I], P, ParamSort) < 0) ++I;
      while (Compare(FItems[J], P, ParamSort) > 0) --J;
      if (I <= J) {
        Exchange(I, J);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSort(L, J, ParamSort, Compare);
    L = I;
  } while (I < R);
  if (Count() != FVisibleCount) BuildVisibleItems();
}

// --- TTreeListZk -----------------------------------------------------------------------------------

TTreeListZk::TTreeListZk(TTreeNodeFactoryZk ItemFactory) : FItemFactory(std::move(ItemFactory)) {
  FRoot = NewNode();
}

TTreeListZk::~TTreeListZk() { delete FRoot; }

bool TTreeListZk::ExpandedChanging(TBaseTreeNodeZk* Node) {
  return FOnExpandedChanging ? FOnExpandedChanging(Node) : true;
}

void TTreeListZk::ExpandedChanged(TBaseTreeNodeZk* Node) {
  if (FOnExpandedChanged) FOnExpandedChanged(Node);
}

int TTreeListZk::CompareTreeNodes(TBaseTreeNodeZk*, TBaseTreeNodeZk*, void*) { return 0; }

void TTreeListZk::CheckAttach(const TBaseTreeNodeZk* Node, const TBaseTreeNodeZk* Parent) const {
  Parent->CheckOwner(Node);
  if (Parent->FLevel + 1 + Node->SubtreeDepth() > FMaxLevel) RaiseTreeMaxLevel(FMaxLevel);
}

TBaseTreeNodeZk* TTreeListZk::AddChild(const String& Text, TBaseTreeNodeZk* Parent,
                                       TObject* Data) {
  if (!Parent) Parent = FRoot;
  if (Parent->FLevel + 1 > FMaxLevel) RaiseTreeMaxLevel(FMaxLevel);
  TBaseTreeNodeZk* Node = NewNode();
  Node->FParent = Parent;
  Parent->FHasChildren = true;
  Node->FData = Data;
  const int Index = Parent->Add(Node);
  Node->FText = Text;
  Node->SetLevel(Parent->FLevel + 1);
  Node->FIndex = Index;
  return Node;
}

TBaseTreeNodeZk* TTreeListZk::CreateNodeApart(const String& Text, TObject* Data) {
  TBaseTreeNodeZk* Node = NewNode();
  Node->FData = Data;
  Node->FText = Text;
  Node->FIndex = -1;
  return Node;
}

void TTreeListZk::AddNode(TBaseTreeNodeZk* Node, TBaseTreeNodeZk* Destination,
                          TNodeAttachModeZk Mode, bool ReIndex) {
  if (!Node || Node == FRoot) return;
  if (!Destination) Destination = FRoot;
  const bool ChildMode = Mode == naAddChildZk || Mode == naAddChildFirstZk;
  if (Destination == FRoot && !ChildMode) return;
  switch (Mode) {
    case naAddZk:
      AddNode(Node, Destination->FParent, naAddChildZk, false);
      return;
    case naAddFirstZk:
      AddNode(Node, Destination->FParent, naAddChildFirstZk, ReIndex);
      return;
    case naAddChildZk:
      CheckAttach(Node, Destination);
      Node->FParent = Destination;
      Destination->FHasChildren = true;
      Node->FIndex = Destination->Add(Node);
      Node->SetLevel(Destination->FLevel + 1);
      return;
    case naAddChildFirstZk:
      CheckAttach(Node, Destination);
      Node->FParent = Destination;
      Destination->FHasChildren = true;
      Destination->Insert(0, Node);
      Node->FIndex = 0;
      Node->SetLevel(Destination->FLevel + 1);
      if (ReIndex) BuildChildrenIndex(Destination, false);
      return;
    case naInsertZk: {
      TBaseTreeNodeZk* P = Destination->FParent;
      CheckAttach(Node, P);
      Node->FParent = P;
      P->FHasChildren = true;
      P->Insert(Destination->FIndex, Node);
      Node->FIndex = Destination->FIndex;
      Node->SetLevel(P->FLevel + 1);
      if (ReIndex) BuildChildrenIndex(P, false);
      return;
    }
  }
}

void TTreeListZk::MoveTo(TBaseTreeNodeZk* Node, TBaseTreeNodeZk* Destination,
                         TNodeAttachModeZk Mode, bool ReIndex) {
  if (!Node || Node == FRoot || !Destination) return;
  const bool ChildMode = Mode == naAddChildZk || Mode == naAddChildFirstZk;
  if (Destination == FRoot && !ChildMode) return;
  if (Node->IsSelfOrAncestorOf(Destination)) RaiseReferenceLoop();
  const TBaseTreeNodeZk* NewParent = ChildMode ? Destination : Destination->FParent;
  if (NewParent->FLevel + 1 + Node->SubtreeDepth() > FMaxLevel) RaiseTreeMaxLevel(FMaxLevel);
  if (TBaseTreeNodeZk* Old = Node->FParent) {
    Old->Delete(Node->FIndex);
    Old->FHasChildren = Old->Count() > 0;
    if (ReIndex) BuildChildrenIndex(Old, false);
  }
  AddNode(Node, Destination, Mode, ReIndex);
}

void TTreeListZk::SortData(const TCompareNodesZk& CompareProg, void* ParamSort, bool ARecurse) {
  FRoot->SortChildren(ParamSort, ARecurse, CompareProg);
}

void TTreeListZk::DeleteChildren(TBaseTreeNodeZk* Node) {
  for (TBaseTreeNodeZk* Child : Node->FItems) delete Child;
  Node->ClearItems();
}

void TTreeListZk::ExtractNode(TBaseTreeNodeZk* Node, bool ReIndex) {
  TBaseTreeNodeZk* Parent = Node->FParent;
  if (!Parent) return;
  Parent->Delete(Node->FIndex);
  Parent->FHasChildren = Parent->Count() > 0;
  if (ReIndex) BuildChildrenIndex(Parent, false);
}

void TTreeListZk::DeleteNode(TBaseTreeNodeZk* Node, bool ReIndex) {
  DeleteChildren(Node);
  ExtractNode(Node, ReIndex);
  delete Node;
}

void TTreeListZk::Expand(TBaseTreeNodeZk* Node, bool Recurse) {
  if (!Node) Node = FRoot;
  if (Node->Count() == 0) return;
  if (Node != FRoot) Node->SetExpanded(true);
  if (Recurse)
    for (TBaseTreeNodeZk* Child : Node->FItems) Expand(Child, true);
}

void TTreeListZk::Collapse(TBaseTreeNodeZk* Node, bool Recurse) {
  if (!Node) Node = FRoot;
  Node->SetExpanded(false);
  if (Recurse)
    for (TBaseTreeNodeZk* Child : Node->FItems) Collapse(Child, true);
}

void TTreeListZk::BuildChildrenIndex(TBaseTreeNodeZk* Node, bool Recurse) {
  if (!Node) Node = FRoot;
  Node->FVisibleItems.clear();
  for (int I = 0; I < Node->Count(); ++I) {
    if (Recurse) BuildChildrenIndex(Node->FItems[I], true);
    Node->FItems[I]->FIndex = I;
  }
  Node->BuildVisibleItems();
}

int TTreeListZk::CountChildren(TBaseTreeNodeZk* Node) const {
  return (Node ? Node : FRoot)->Count();
}

TBaseTreeNodeZk* TTreeListZk::GetFirstChild(TBaseTreeNodeZk* Node) const {
  return Node && Node->Count() > 0 ? Node->FItems.front() : nullptr;
}

TBaseTreeNodeZk* TTreeListZk::GetLastChild(TBaseTreeNodeZk* Node) const {
  return Node && Node->Count() > 0 ? Node->FItems.back() : nullptr;
}

TBaseTreeNodeZk* TTreeListZk::GetPrevSibling(TBaseTreeNodeZk* Node) const {
  if (!Node || Node->FIndex == 0 || !Node->FParent) return nullptr;
  return Node->FParent->GetItem(Node->FIndex - 1);
}

TBaseTreeNodeZk* TTreeListZk::GetNextSibling(TBaseTreeNodeZk* Node) const {
  if (!Node || !Node->FParent || Node->FIndex + 1 >= Node->FParent->Count()) return nullptr;
  return Node->FParent->GetItem(Node->FIndex + 1);
}

TBaseTreeNodeZk* TTreeListZk::GetLast(TBaseTreeNodeZk* Node) const {
  if (!Node) Node = FRoot;
  if (Node->Count() == 0) return nullptr;
  while (Node->Count() > 0) Node = Node->FItems.back();
  return Node;
}

TBaseTreeNodeZk* TTreeListZk::GetNext(TBaseTreeNodeZk* Node) const {
  if (!Node || Node == FRoot) return Node;
  if (Node->Count() > 0) return Node->FItems.front();
  for (TBaseTreeNodeZk* N = Node; N && N != FRoot; N = N->FParent)
    if (TBaseTreeNodeZk* S = GetNextSibling(N)) return S;
  return nullptr;
}

TBaseTreeNodeZk* TTreeListZk::GetPrevious(TBaseTreeNodeZk* Node) const {
  if (!Node || Node == FRoot) return Node;
  if (TBaseTreeNodeZk* S = GetPrevSibling(Node)) {
    TBaseTreeNodeZk* Last = GetLast(S);
    return Last ? Last : S;
  }
  return Node->FParent == FRoot ? nullptr : Node->FParent;
}

TBaseTreeNodeZk* TTreeListZk::GetParentAtLevel(TBaseTreeNodeZk* Node, int ParentLevel) const {
  if (!Node || Node == FRoot || ParentLevel < 0 || ParentLevel >= Node->FLevel) return nullptr;
  if (ParentLevel == 0) return FRoot;
  TBaseTreeNodeZk* N = Node->FParent;
  while (N && N->FLevel != ParentLevel) N = N->FParent;
  return N;
}

TBaseTreeNodeZk* TTreeListZk::GetNode(TBaseTreeNodeZk* StartNode, const TObject* Data) const {
  if (!StartNode) StartNode = FRoot;
  for (TBaseTreeNodeZk* Child : StartNode->FItems) {
    if (Child->FData == Data) return Child;
    if (TBaseTreeNodeZk* Found = GetNode(Child, Data)) return Found;
  }
  return nullptr;
}

TBaseTreeNodeZk* TTreeListZk::GetNextVisibleSibling(TBaseTreeNodeZk* Node) const {
  if (!Node || !Node->FParent) return nullptr;
  TBaseTreeNodeZk* P = Node->FParent;
  if (P->FVisibleCount == P->Count()) return GetNextSibling(Node);
  return P->GetVisibleItem(Node->FVisibleIndex + 1);
}

TBaseTreeNodeZk* TTreeListZk::GetPrevVisibleSibling(TBaseTreeNodeZk* Node) const {
  if (!Node || !Node->FParent) return nullptr;
  TBaseTreeNodeZk* P = Node->FParent;
  if (P->FVisibleCount == P->Count()) return GetPrevSibling(Node);
  return Node->FVisibleIndex == 0 ? nullptr : P->GetVisibleItem(Node->FVisibleIndex - 1);
}

TBaseTreeNodeZk* TTreeListZk::GetFirstVisible() const {
  TBaseTreeNodeZk* N = GetFirstChild(FRoot);
  while (N && !N->FVisible) {
    TBaseTreeNodeZk* Next = GetNextSibling(N);
    if (!Next) {
      TBaseTreeNodeZk* P = N->FParent;
      Next = P == FRoot ? nullptr : GetNextSibling(P);
    }
    N = Next;
  }
  return N;
}

bool TTreeListZk::GetPathVisible(TBaseTreeNodeZk* Node, bool ConsiderCollapsed) const {
  if (!Node || Node == FRoot) return false;
  TBaseTreeNodeZk* N = Node->FParent;
  while (N && N != FRoot && N->FVisible && (N->FExpanded || !ConsiderCollapsed)) N = N->FParent;
  return N == FRoot;
}

TBaseTreeNodeZk* TTreeListZk::GetParentVisible(TBaseTreeNodeZk* Node, bool ConsiderCollapsed) const {
  TBaseTreeNodeZk* N = Node;
  while (N && N != FRoot) {
    N = N->FParent;
    if (ConsiderCollapsed)
      while (N != FRoot && !N->FExpanded) N = N->FParent;
    if (N == FRoot) break;
    if (N->FVisible && GetPathVisible(N, ConsiderCollapsed)) break;
    while (N != FRoot && (N->FParent->FExpanded || !ConsiderCollapsed)) {
      N = N->FParent;
      if (N == FRoot) break;
    }
  }
  return N;
}

TBaseTreeNodeZk* TTreeListZk::GetNextVisible(TBaseTreeNodeZk* Node, bool ConsiderCollapsed) const {
  if (!Node || Node == FRoot) return nullptr;
  if (!Node->FVisible || !GetPathVisible(Node, ConsiderCollapsed))
    Node = GetParentVisible(Node, ConsiderCollapsed);
  // A hidden first child still starts the walk, so its visible siblings are found.
  if (Node->Count() > 0 && (Node->FExpanded || !ConsiderCollapsed)) {
    TBaseTreeNodeZk* Child = Node->FItems.front();
    if (Child->FVisible) return Child;
    Node = Child;
  }
  TBaseTreeNodeZk* Current = Node;
  for (;;) {
    if (TBaseTreeNodeZk* S = GetNextSibling(Current)) {
      Current = S;
      if (Current->FVisible) return Current;
    } else {
      Current = Current->FParent;
      if (!Current || Current == FRoot) return nullptr;
    }
  }
}

void TTreeListZk::ExportToTreeView(ITreeViewExportTargetZk* TreeView, TBaseTreeNodeZk* Node,
                                   void* NodeTree, bool AddChild) const {
  for (TBaseTreeNodeZk* N = Node; N; N = GetNextSibling(N)) {
    void* Item = TreeView->AddItem(NodeTree, AddChild, N->FText, N->FData, N->FExpanded);
    if (N->Count() > 0) ExportToTreeView(TreeView, N->FItems.front(), Item, true);
  }
}
