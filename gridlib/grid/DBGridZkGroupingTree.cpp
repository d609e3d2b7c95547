// DBGridZkGroupingTree.cpp - the group data tree: placing records under their group nodes,
// the record operations the grid calls for the memory table's view events, and the flat list
// of visible rows.
#include "gridlib/grid/DBGridZkGrouping.h"

#include <optional>

#include "gridlib/toolkit/MemTableIntfZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Variants.h"

namespace {

// Keeps the memory table's fields on one view row for the scope's lifetime; left on every
// way out, an exception included.
class TInstantReadScope {
public:
  TInstantReadScope(IMemTableZk* Table, int RowNum) : FTable(Table) {
    FTable->InstantReadEnter(RowNum);
  }
  ~TInstantReadScope() { FTable->InstantReadLeave(); }
  TInstantReadScope(const TInstantReadScope&) = delete;
  TInstantReadScope& operator=(const TInstantReadScope&) = delete;

private:
  IMemTableZk* FTable;
};

// Whether a child's key comes after (Order > 0) or before (Order < 0) Key in SortOrder.
bool KeyIs(const Variant& ChildKey, const Variant& Key, TSortOrderZk SortOrder, int Order) {
  const TVariantRelationship R = CompareVariantKeys(ChildKey, Key);
  const bool Greater = SortOrder == soAscZk ? R == vrGreaterThan : R == vrLessThan;
  const bool Less = SortOrder == soAscZk ? R == vrLessThan : R == vrGreaterThan;
  return Order > 0 ? Greater : Less;
}

// Counts an update bracket of the tree; closed on every way out.
class TTreeUpdateScope {
public:
  explicit TTreeUpdateScope(TGridGroupDataTreeZk* Tree) : FTree(Tree) { FTree->BeginUpdate(); }
  ~TTreeUpdateScope() { FTree->EndUpdate(); }
  TTreeUpdateScope(const TTreeUpdateScope&) = delete;
  TTreeUpdateScope& operator=(const TTreeUpdateScope&) = delete;

private:
  TGridGroupDataTreeZk* FTree;
};

}  // namespace

// --- TGroupDataTreeNodeZk ------------------------------------------------------------------------

int TGroupDataTreeNodeZk::RowHeight() {
  if (FRowHeightNeedUpdate) UpdateRowHeight();
  return FRowHeight;
}

void TGroupDataTreeNodeZk::SetRowHeight(int Value) {
  FRowHeight = Value;
  FRowHeightNeedUpdate = false;
}

void TGroupDataTreeNodeZk::UpdateRowHeight() {
  auto* Tree = static_cast<TGridGroupDataTreeZk*>(Owner());
  IGridDataGroupsHostZk* Host = Tree->GridDataGroups()->Host();
  if (!Host) return;
  if (FNodeType == dntDataGroupZk) return SetRowHeight(Host->GroupingGroupRowHeight(this));
  IMemTableZk* Table = Host->GroupingMemTable();
  if (!Table) return;
  TInstantReadScope Read(Table, FDataSetRecordViewNo);
  SetRowHeight(Host->GroupingDataRowHeight());
}

void TGroupDataTreeNodeZk::SetRecordViewNo(int RecNo) {
  FDataSetRecordViewNo = RecNo;
  FKeyValue = RecNo;
  if (VarIsArray(FFullKey)) FFullKey[FFullKey.ArrayHighBound()] = RecNo;
}

// --- TGridGroupDataTreeZk ------------------------------------------------------------------------

TGridGroupDataTreeZk::TGridGroupDataTreeZk(TGridDataGroupsZk* AGridDataGroups)
    : TTreeListZk([](TTreeListZk* Owner) -> TBaseTreeNodeZk* {
        return new TGroupDataTreeNodeZk(Owner);
      }),
      FGridDataGroups(AGridDataGroups) {}

void TGridGroupDataTreeZk::ExpandedChanged(TBaseTreeNodeZk* Node) {
  TTreeListZk::ExpandedChanged(Node);
  if (FUpdateCount == 0) RebuildFlatVisibleList();
}

TGroupDataTreeNodeZk* TGridGroupDataTreeZk::FirstNode() const {
  return static_cast<TGroupDataTreeNodeZk*>(GetFirst());
}

TGroupDataTreeNodeZk* TGridGroupDataTreeZk::NextNode(TGroupDataTreeNodeZk* Node) const {
  return static_cast<TGroupDataTreeNodeZk*>(GetNext(Node));
}

TGroupDataTreeNodeZk* TGridGroupDataTreeZk::GetNodeToInsertForKey1(
    TGroupDataTreeNodeZk* ParentNode, const Variant& Key1, TSortOrderZk SortOrder,
    TNodeAttachModeZk& InsertMode) {
  InsertMode = naAddChildZk;
  const int Count = ParentNode->Count();
  if (Count == 0) return nullptr;
  auto KeyAt = [&](int I) -> const Variant& { return ParentNode->Items(I)->KeyValue(); };
  if (KeyIs(KeyAt(0), Key1, SortOrder, +1)) {
    InsertMode = naInsertZk;
    return ParentNode->Items(0);
  }
  if (KeyIs(KeyAt(Count - 1), Key1, SortOrder, -1)) {
    InsertMode = naAddZk;
    return ParentNode->Items(Count - 1);
  }
  int Lo = 0, Hi = Count - 1, Mid = (Count - 1) / 2;
  for (;;) {
    if (KeyIs(KeyAt(Mid), Key1, SortOrder, +1))
      Hi = Mid;
    else if (KeyIs(KeyAt(Mid), Key1, SortOrder, -1))
      Lo = Mid;
    else
      return ParentNode->Items(Mid);  // equal or not comparable: this group
    const int Next = (Lo + Hi) / 2;
    if (Next == Mid) break;
    Mid = Next;
  }
  // The first child is never after Key and the last never before it, so Mid + 1 exists.
  TGroupDataTreeNodeZk* Place = ParentNode->Items(std::min(Mid + 1, Count - 1));
  if (CompareVariantKeys(Place->KeyValue(), Key1) != vrEqual) InsertMode = naInsertZk;
  return Place;
}

TGroupDataTreeNodeZk* TGridGroupDataTreeZk::MakeGroupNode(TGridDataGroupLevelZk* Level,
                                                          const Variant& Key) {
  auto* Node = static_cast<TGroupDataTreeNodeZk*>(CreateNodeApart(String(), nullptr));
  Node->SetDataGroup(Level);
  Node->SetNodeType(dntDataGroupZk);
  Node->SetKeyValue(Key);
  Node->RowDataChanged();
  InitNodeState(Node, FGridDataGroups->DefaultStateExpanded(), false);
  return Node;
}

void TGridGroupDataTreeZk::AttachAt(TGroupDataTreeNodeZk* Node, TGroupDataTreeNodeZk* Parent,
                                    TGroupDataTreeNodeZk* Place, TNodeAttachModeZk Mode) {
  if (Place && Mode == naInsertZk)
    AddNode(Node, Place, naInsertZk, true);
  else
    AddNode(Node, Parent, naAddChildZk, false);
}

// Searching happens before anything is created, so a key comparison that raises leaves the
// tree as it was; once a group is made, the levels below it are made without comparing.
TGroupDataTreeNodeZk* TGridGroupDataTreeZk::AddRecordNodeForKey(const Variant& AKey) {
  const int N = FGridDataGroups->ActiveGroupLevelsCount();
  TGroupDataTreeNodeZk* Parent = RootNode();
  TNodeAttachModeZk InsertMode = naAddChildZk;
  TGroupDataTreeNodeZk* Candidate = Parent;
  for (int I = 0; I < N; ++I) {
    TGridDataGroupLevelZk* Level = FGridDataGroups->ActiveGroupLevels(I);
    const Variant Key = AKey[I];
    if (InsertMode == naAddChildZk && Candidate) {
      Candidate = GetNodeToInsertForKey1(Parent, Key, Level->SortOrder(), InsertMode);
      if (Candidate && InsertMode == naAddChildZk) {
        Parent = Candidate;
        continue;
      }
    }
    TGroupDataTreeNodeZk* Group = MakeGroupNode(Level, Key);
    AttachAt(Group, Parent, Candidate, InsertMode);
    Parent = Group;
    Candidate = nullptr;
  }
  const Variant RecNo = AKey[N];
  auto* Node = static_cast<TGroupDataTreeNodeZk*>(CreateNodeApart(String(), nullptr));
  TGroupDataTreeNodeZk* Place = nullptr;
  if (Candidate) Place = GetNodeToInsertForKey1(Parent, RecNo, soAscZk, InsertMode);
  // An equal view number goes before the node that has it.
  AttachAt(Node, Parent, Place, InsertMode == naAddChildZk && Place ? naInsertZk : InsertMode);
  return Node;
}

TGroupDataTreeNodeZk* TGridGroupDataTreeZk::AddRecordNode(const Variant& Key, int ViewRecNo) {
  TGroupDataTreeNodeZk* Node = AddRecordNodeForKey(Key);
  Node->SetDataGroup(nullptr);
  Node->SetNodeType(dntDataSetRecordZk);
  Node->SetDataSetRecordViewNo(ViewRecNo);
  Node->SetFullKey(Key);
  Node->SetKeyValue(ViewRecNo);
  Node->RowDataChanged();
  return Node;
}

TGroupDataTreeNodeZk* TGridGroupDataTreeZk::GetNodeByRecordViewNo(int RecordViewNo) const {
  for (TGroupDataTreeNodeZk* N = FirstNode(); N; N = NextNode(N))
    if (N->NodeType() == dntDataSetRecordZk && N->DataSetRecordViewNo() == RecordViewNo) return N;
  return nullptr;
}

int TGridGroupDataTreeZk::IndexOfVisibleNode(const TGroupDataTreeNodeZk* Node) const {
  for (size_t I = 0; I < FFlatVisibleList.size(); ++I)
    if (FFlatVisibleList[I] == Node) return static_cast<int>(I);
  return -1;
}

int TGridGroupDataTreeZk::IndexOfVisibleRecordViewNo(int RecordViewNo) const {
  for (size_t I = 0; I < FFlatVisibleList.size(); ++I) {
    const TGroupDataTreeNodeZk* N = FFlatVisibleList[I];
    if (N->NodeType() == dntDataSetRecordZk && N->DataSetRecordViewNo() == RecordViewNo)
      return static_cast<int>(I);
  }
  return -1;
}

// A key that cannot be placed ends the rebuild with an empty tree (never a half-built one),
// the update bracket closed and the grid told.
void TGridGroupDataTreeZk::RebuildRecords(IMemTableZk* AIntMemTable, bool KeepGroups) {
  try {
    TTreeUpdateScope Update(this);
    if (KeepGroups)
      DeleteRecordNodes();
    else
      Clear();
    const int Count = AIntMemTable ? AIntMemTable->InstantReadRowCount() : 0;
    for (int R = 0; R < Count; ++R) {
      TInstantReadScope Read(AIntMemTable, R);
      AddRecordNode(FGridDataGroups->GetKeyValueForViewRecNo(R), R);
    }
    if (KeepGroups) DeleteEmptyNodes();
  } catch (...) {
    Clear();
    RebuildFlatVisibleList();
    throw;
  }
  RebuildFlatVisibleList();
  UpdateAllDataRowHeights();
}

void TGridGroupDataTreeZk::RebuildDataTree(IMemTableZk* AIntMemTable) {
  RebuildRecords(AIntMemTable, false);
}

void TGridGroupDataTreeZk::RebuildDataTreeEx(IMemTableZk* AIntMemTable) {
  RebuildRecords(AIntMemTable, true);
}

void TGridGroupDataTreeZk::NotifyFlatListChanged() {
  if (IGridDataGroupsHostZk* Host = FGridDataGroups->Host()) Host->GroupingFlatListChanged();
}

void TGridGroupDataTreeZk::RebuildFlatVisibleList() {
  FFlatVisibleList.clear();
  std::vector<TGroupDataTreeNodeZk*> Stack;
  auto PushChildren = [&](TGroupDataTreeNodeZk* Node) {
    for (int I = Node->Count() - 1; I >= 0; --I) Stack.push_back(Node->Items(I));
  };
  PushChildren(RootNode());
  while (!Stack.empty()) {
    TGroupDataTreeNodeZk* Node = Stack.back();
    Stack.pop_back();
    if (!Node->Visible()) continue;
    FFlatVisibleList.push_back(Node);
    if (Node->Expanded()) PushChildren(Node);
  }
  NotifyFlatListChanged();
}

void TGridGroupDataTreeZk::RecordChanged(int RecNum) {
  TGroupDataTreeNodeZk* Node = GetNodeByRecordViewNo(RecNum);
  if (!Node) return;
  const Variant Key = FGridDataGroups->GetKeyValueForViewRecNo(RecNum);
  if (CompareVariantKeys(Key, Node->FullKey()) != vrEqual) {
    const Variant OldKey = Node->FullKey();
    Node->SetFullKey(Key);
    try {
      UpdateRecordNodePosInTree(Node);
    } catch (...) {
      Node->SetFullKey(OldKey);
      throw;
    }
    RebuildFlatVisibleList();
  } else if (const int Index = IndexOfVisibleNode(Node); Index >= 0) {
    if (IGridDataGroupsHostZk* Host = FGridDataGroups->Host()) Host->GroupingInvalidateRow(Index);
  }
}

// The record's new node is placed before the old one is removed: when the new key cannot be
// placed, the record keeps its node and its group.
void TGridGroupDataTreeZk::UpdateRecordNodePosInTree(TGroupDataTreeNodeZk* RecNode) {
  const Variant Key = RecNode->FullKey();
  const int RecNo = RecNode->DataSetRecordViewNo();
  std::optional<TInstantReadScope> Read;
  if (IGridDataGroupsHostZk* Host = FGridDataGroups->Host())
    if (IMemTableZk* Table = Host->GroupingMemTable()) Read.emplace(Table, RecNo);
  AddRecordNode(Key, RecNo);
  DeleteRecordNode(RecNode);
}

void TGridGroupDataTreeZk::DeleteRecordNode(TGroupDataTreeNodeZk* RecNode) {
  TGroupDataTreeNodeZk* Parent = RecNode->ParentNode();
  DeleteNode(RecNode, true);
  for (int I = 0; I < FGridDataGroups->ActiveGroupLevelsCount(); ++I) {
    if (!Parent || Parent == RootNode() || Parent->Count() > 0) break;
    TGroupDataTreeNodeZk* Up = Parent->ParentNode();
    DeleteNode(Parent, true);
    Parent = Up;
  }
}

void TGridGroupDataTreeZk::ShiftRecordNumbers(int FromRecNo, int Delta) {
  for (TGroupDataTreeNodeZk* N = FirstNode(); N; N = NextNode(N))
    if (N->NodeType() == dntDataSetRecordZk && N->DataSetRecordViewNo() >= FromRecNo)
      N->SetRecordViewNo(N->DataSetRecordViewNo() + Delta);
}

void TGridGroupDataTreeZk::RecordDeleted(int RecNum) {
  if (TGroupDataTreeNodeZk* Node = GetNodeByRecordViewNo(RecNum)) DeleteRecordNode(Node);
  ShiftRecordNumbers(RecNum + 1, -1);
  RebuildFlatVisibleList();
}

void TGridGroupDataTreeZk::RecordInserted(int RecNum) {
  IGridDataGroupsHostZk* Host = FGridDataGroups->Host();
  IMemTableZk* Table = Host ? Host->GroupingMemTable() : nullptr;
  ShiftRecordNumbers(RecNum, +1);
  TGroupDataTreeNodeZk* Node = nullptr;
  bool Inserting = false;
  try {
    std::optional<TInstantReadScope> Read;
    if (Table) Read.emplace(Table, RecNum);
    Variant Key = FGridDataGroups->GetKeyValueForViewRecNo(RecNum);
    TDataSet* DataSet = Host ? Host->GroupingDataSet() : nullptr;
    Inserting = DataSet && DataSet->State() == dsInsert && Table &&
                Table->GetInstantReadCurRow() == RecNum;
    if (Inserting) {
      SetDataSetkeyValue();
      const Variant& Given = FGridDataGroups->InsertingKeyValue();
      // The given key names the group; its last element is the new record's own row.
      if (VarIsArray(Given) && Given.ArrayLength() == Key.ArrayLength()) {
        Key = Given;
        Key[Key.ArrayHighBound()] = RecNum;
      }
      FGridDataGroups->SetInsertingKeyValue(Unassigned());
    }
    Node = AddRecordNode(Key, RecNum);
  } catch (...) {
    ShiftRecordNumbers(RecNum + 1, -1);
    throw;
  }
  if (Inserting) ExpandNodePathToView(Node);
  RebuildFlatVisibleList();
}

void TGridGroupDataTreeZk::SetDataSetkeyValue() {
  const Variant& Key = FGridDataGroups->InsertingKeyValue();
  IGridDataGroupsHostZk* Host = FGridDataGroups->Host();
  if (VarIsEmpty(Key) || !VarIsArray(Key) || !Host) return;
  const int N = std::min(FGridDataGroups->ActiveGroupLevelsCount(), Key.ArrayLength());
  for (int I = 0; I < N; ++I)
    if (TField* Field = Host->GroupingColumnField(FGridDataGroups->ActiveGroupColumns(I)))
      Field->SetValue(Key[I]);
}

void TGridGroupDataTreeZk::ExpandNodePathToView(TGroupDataTreeNodeZk* Node) {
  TTreeUpdateScope Update(this);
  for (TGroupDataTreeNodeZk* P = Node->ParentNode(); P && P != RootNode(); P = P->ParentNode())
    P->SetExpanded(true);
}

void TGridGroupDataTreeZk::DeleteRecordNodes() {
  std::vector<TGroupDataTreeNodeZk*> Records;
  for (TGroupDataTreeNodeZk* N = FirstNode(); N; N = NextNode(N))
    if (N->NodeType() == dntDataSetRecordZk) Records.push_back(N);
  for (TGroupDataTreeNodeZk* N : Records) DeleteNode(N, true);
  // Groups left without children that no longer belong to the active level of their depth.
  TGroupDataTreeNodeZk* N = FirstNode();
  while (N) {
    const int Depth = N->Level();
    TGridDataGroupLevelZk* Expected = Depth <= FGridDataGroups->ActiveGroupLevelsCount()
                                          ? FGridDataGroups->ActiveGroupLevels(Depth - 1)
                                          : nullptr;
    if (N->Count() == 0 && N->DataGroup() != Expected) {
      TGroupDataTreeNodeZk* Next = static_cast<TGroupDataTreeNodeZk*>(GetNextSibling(N));
      if (!Next)
        for (TGroupDataTreeNodeZk* P = N->ParentNode(); P && P != RootNode() && !Next;
             P = P->ParentNode())
          Next = static_cast<TGroupDataTreeNodeZk*>(GetNextSibling(P));
      DeleteNode(N, true);
      N = Next;
    } else {
      N = NextNode(N);
    }
  }
}

void TGridGroupDataTreeZk::DeleteEmptyNodes() {
  TGroupDataTreeNodeZk* N = FirstNode();
  while (N) {
    if (N->NodeType() == dntDataGroupZk && N->Count() == 0) {
      TGroupDataTreeNodeZk* Before = static_cast<TGroupDataTreeNodeZk*>(GetPrevious(N));
      DeleteNode(N, true);
      N = Before ? Before : FirstNode();
    } else {
      N = NextNode(N);
    }
  }
}

void TGridGroupDataTreeZk::DeleteRecordNodesUpToLevel(int Level) {
  if (Level <= 1) return Clear();
  std::vector<TGroupDataTreeNodeZk*> Cut;
  for (TGroupDataTreeNodeZk* N = GetFirstNodeAtLevel(Level); N; N = GetNextNodeAtLevel(N, Level))
    if (N->NodeType() == dntDataGroupZk) Cut.push_back(N);
  for (TGroupDataTreeNodeZk* N : Cut) DeleteNode(N, true);
}

void TGridGroupDataTreeZk::UpdateAllDataRowHeights() {
  for (TGroupDataTreeNodeZk* N = FirstNode(); N; N = NextNode(N)) N->UpdateRowHeight();
}

int TGridGroupDataTreeZk::CompareNodes(TBaseTreeNodeZk* Node1, TBaseTreeNodeZk* Node2,
                                       TSortOrderZk SortOrder) {
  auto* A = static_cast<TGroupDataTreeNodeZk*>(Node1);
  auto* B = static_cast<TGroupDataTreeNodeZk*>(Node2);
  if (A->NodeType() != dntDataGroupZk) return 0;
  int R = 0;
  switch (CompareVariantKeys(A->KeyValue(), B->KeyValue())) {
    case vrLessThan: R = -1; break;
    case vrGreaterThan: R = 1; break;
    default: R = 0; break;
  }
  return SortOrder == soDescZk ? -R : R;
}

void TGridGroupDataTreeZk::ResortLevel(int LevelIndex, TSortOrderZk SortOrder) {
  auto Compare = [this](TBaseTreeNodeZk* A, TBaseTreeNodeZk* B, void* Param) {
    return CompareNodes(A, B, *static_cast<TSortOrderZk*>(Param));
  };
  if (LevelIndex == 0) {
    RootNode()->SortChildren(&SortOrder, false, Compare);
  } else {
    TTreeUpdateScope Update(this);
    for (TGroupDataTreeNodeZk* N = GetFirstNodeAtLevel(LevelIndex); N;
         N = GetNextNodeAtLevel(N, LevelIndex))
      N->SortChildren(&SortOrder, false, Compare);
  }
  RebuildFlatVisibleList();
}

TGroupDataTreeNodeZk* TGridGroupDataTreeZk::GetFirstNodeAtLevel(int Level) const {
  for (TGroupDataTreeNodeZk* N = FirstNode(); N; N = NextNode(N))
    if (N->Level() == Level) return N;
  return nullptr;
}

// The next node at the same depth in depth-first order; the subtree below Node is skipped.
TGroupDataTreeNodeZk* TGridGroupDataTreeZk::GetNextNodeAtLevel(TGroupDataTreeNodeZk* Node,
                                                               int Level) const {
  TBaseTreeNodeZk* N = Node;
  for (;;) {
    TBaseTreeNodeZk* Next = nullptr;
    for (TBaseTreeNodeZk* P = N; P && P != Root() && !Next; P = P->Parent())
      Next = GetNextSibling(P);
    if (!Next) return nullptr;
    N = Next;
    while (N->Level() < Level && N->Count() > 0) N = N->Items(0);
    if (N->Level() == Level) return static_cast<TGroupDataTreeNodeZk*>(N);
  }
}

void TGridGroupDataTreeZk::CollapseLevel(int Level) {
  {
    TTreeUpdateScope Update(this);
    for (TGroupDataTreeNodeZk* N = GetFirstNodeAtLevel(Level); N; N = GetNextNodeAtLevel(N, Level))
      N->SetExpanded(false);
  }
  RebuildFlatVisibleList();
}

void TGridGroupDataTreeZk::ExpandLevel(int Level) {
  {
    TTreeUpdateScope Update(this);
    for (TGroupDataTreeNodeZk* N = GetFirstNodeAtLevel(Level); N; N = GetNextNodeAtLevel(N, Level))
      N->SetExpanded(true);
  }
  RebuildFlatVisibleList();
}
