// MemTableDataZkTree.cpp - the record tree: placing records under the record of their
// parent key, keeping the visible rows, refusing loops.
#include "gridlib/memtable/MemTableDataZkView.h"

#include <algorithm>
#include <functional>

#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/rtl/Variants.h"

// --- key hashing ----------------------------------------------------------------------------------

std::size_t TVariantKeyHashZk::operator()(const Variant& V) const {
  if (V.IsArray()) {
    std::size_t H = 0x9E3779B9u;
    for (int I = V.ArrayLowBound(); I <= V.ArrayHighBound(); ++I)
      H = H * 31 + (*this)(V[I]);
    return H;
  }
  if (V.IsNull() || V.IsEmpty()) return 0;
  if (V.IsString()) return std::hash<std::u16string_view>()(V.StringRef());
  // Numbers of every kind (and dates, Booleans) that compare equal hash alike.
  try {
    return std::hash<double>()(V.AsDouble());
  } catch (const Exception&) {
    return 1;  // a value without a number form: all such keys share one bucket
  }
}

bool TVariantKeyEqualZk::operator()(const Variant& A, const Variant& B) const {
  return VariantsEqual(A, B);
}

// --- TMemRecViewZk ----------------------------------------------------------------------------------

// The root (no record) is freed by the base tree's destructor, when the record tree is gone.
TMemRecViewZk::~TMemRecViewZk() {
  if (Rec()) NodeOwner()->NodeFreed(this);
}

TMemoryTreeListZk* TMemRecViewZk::NodeOwner() const { return static_cast<TMemoryTreeListZk*>(Owner()); }

void TMemRecViewZk::SortByFields(const String& SortByStr) {
  TRecordsViewZk* View = NodeOwner()->RecordsView();
  if (!View->OnParseOrderByStr()) return;
  std::unique_ptr<TOrderByList> List = View->OnParseOrderByStr()(SortByStr);
  TCompareNodesZk Compare = View->OnCompareTreeNode();
  if (!Compare) return;
  SortChildren(List.get(), false, Compare);
}

// --- TMemoryTreeListZk ----------------------------------------------------------------------------

TMemoryTreeListZk::TMemoryTreeListZk(TRecordsViewZk* AView)
    : TTreeListZk([](TTreeListZk* Owner) { return new TMemRecViewZk(Owner); }), FRecordsViewZk(AView) {}

TMemoryTreeListZk::~TMemoryTreeListZk() { ClearTree(); }

void TMemoryTreeListZk::ClearTree() {
  FNodeOfRec.clear();
  FByKey.clear();
  FByParentKey.clear();
  FClearing = true;
  Clear();
  FClearing = false;
  FVisibleExpandedItems.clear();
  FVisibleItems.clear();
  FVisibleItemsObsolete = true;
}

Variant TMemoryTreeListZk::KeyValues(const TMemoryRecordZk* Rec) const {
  const auto& Fields = FRecordsViewZk->TreeViewKeyFields();
  return Fields.empty() ? Variant::MakeNull() : Rec->GetIndexedDataValues(Fields, dvvValueZk);
}

Variant TMemoryTreeListZk::ParentValues(const TMemoryRecordZk* Rec) const {
  const auto& Fields = FRecordsViewZk->TreeViewRefParentFields();
  return Fields.empty() ? Variant::MakeNull() : Rec->GetIndexedDataValues(Fields, dvvValueZk);
}

TMemRecViewZk* TMemoryTreeListZk::NodeOf(const TMemoryRecordZk* Rec) const {
  auto It = FNodeOfRec.find(Rec);
  return It == FNodeOfRec.end() ? nullptr : It->second;
}

// With several records of one key the first in records-list order is the parent.
TMemRecViewZk* TMemoryTreeListZk::NodeAtKey(const Variant& Value) const {
  if (Value.IsNull()) return nullptr;
  auto [B, E] = FByKey.equal_range(Value);
  TMemRecViewZk* Best = nullptr;
  for (auto It = B; It != E; ++It)
    if (!Best || It->second->Rec()->Index() < Best->Rec()->Index()) Best = It->second;
  return Best;
}

TBaseTreeNodeZk* TMemoryTreeListZk::ParentNodeFor(const Variant& ParentKey) const {
  TMemRecViewZk* Node = NodeAtKey(ParentKey);
  return Node ? static_cast<TBaseTreeNodeZk*>(Node) : Root();
}

void TMemoryTreeListZk::FileNode(TMemRecViewZk* Node) {
  Node->FKey = KeyValues(Node->Rec());
  Node->FParentKey = ParentValues(Node->Rec());
  if (!Node->FKey.IsNull()) FByKey.emplace(Node->FKey, Node);
  if (!Node->FParentKey.IsNull()) FByParentKey.emplace(Node->FParentKey, Node);
}

namespace {
template <class TMap>
void EraseNode(TMap& Map, const Variant& Key, const TMemRecViewZk* Node) {
  if (Key.IsNull()) return;
  auto [B, E] = Map.equal_range(Key);
  for (auto It = B; It != E; ++It)
    if (It->second == Node) {
      Map.erase(It);
      return;
    }
}
}  // namespace

void TMemoryTreeListZk::UnfileNode(TMemRecViewZk* Node) {
  EraseNode(FByKey, Node->FKey, Node);
  EraseNode(FByParentKey, Node->FParentKey, Node);
}

void TMemoryTreeListZk::NodeFreed(TMemRecViewZk* Node) {
  FVisibleItemsObsolete = true;
  if (FClearing) return;
  UnfileNode(Node);
  auto It = FNodeOfRec.find(Node->Rec());
  if (It != FNodeOfRec.end() && It->second == Node) FNodeOfRec.erase(It);
}

int TMemoryTreeListZk::GetIndexForNode(const TMemoryRecordZk* Rec, TBaseTreeNodeZk* ParentNode) const {
  if (!ParentNode || ParentNode->Count() == 0) return -1;
  const int Pos = Rec->Index();
  for (int I = ParentNode->Count() - 1; I >= 0; --I) {
    auto* Child = static_cast<TMemRecViewZk*>(ParentNode->Items(I));
    if (Child->Rec()->Index() < Pos) return I == ParentNode->Count() - 1 ? -1 : I + 1;
  }
  return 0;
}

// Where a node goes among Parent's children: by the view's order when it has one (after the
// children that compare not greater), else by records-list position.
void TMemoryTreeListZk::PlaceUnder(TMemRecViewZk* Node, TBaseTreeNodeZk* Parent) {
  int At = -1;
  if (!FRecordsViewZk->SortOrder().empty()) {
    int Low = 0, High = Parent->Count();
    while (Low < High) {
      const int Mid = (Low + High) / 2;
      auto* Child = static_cast<TMemRecViewZk*>(Parent->Items(Mid));
      if (Child != Node && FRecordsViewZk->CompareRecords(Child->Rec(), Node->Rec()) <= 0)
        Low = Mid + 1;
      else
        High = Mid;
    }
    At = Low < Parent->Count() ? Low : -1;
  } else {
    At = GetIndexForNode(Node->Rec(), Parent);
  }
  TBaseTreeNodeZk* Before = At >= 0 ? Parent->Items(At) : nullptr;
  if (Before == Node) return;
  const bool Attached = Node->Parent() != nullptr;
  if (Before) {
    if (Attached)
      MoveTo(Node, Before, naInsertZk, true);
    else
      AddNode(Node, Before, naInsertZk, true);
  } else if (Attached) {
    MoveTo(Node, Parent, naAddChildZk, true);
  } else {
    AddNode(Node, Parent, naAddChildZk, true);
  }
  FVisibleItemsObsolete = true;
}

TMemRecViewZk* TMemoryTreeListZk::AddChildAtKey(const String& Name, TMemoryRecordZk* MemRecord) {
  TBaseTreeNodeZk* Parent = ParentNodeFor(ParentValues(MemRecord));
  // A chain deeper than the tree allows (from stored data) starts again at the top.
  if (Parent->Level() + 1 > MaxLevel()) Parent = Root();
  auto* Node = static_cast<TMemRecViewZk*>(CreateNodeApart(Name, MemRecord));
  InitNodeState(Node, FDefaultNodeExpanded, FDefaultNodeHasChildren);
  PlaceUnder(Node, Parent);
  FNodeOfRec[MemRecord] = Node;
  FileNode(Node);
  if (FFullBuildCheck) AdoptWaitingNodes(Node);
  FVisibleItemsObsolete = true;
  return Node;
}

// The nodes whose parent key is Node's key, not yet under it, move under it (in records-list
// order); a node that is Node's own ancestor stays where it is, so no loop forms.
void TMemoryTreeListZk::AdoptWaitingNodes(TMemRecViewZk* Node) {
  if (Node->FKey.IsNull()) return;
  std::vector<TMemRecViewZk*> Waiting;
  auto [B, E] = FByParentKey.equal_range(Node->FKey);
  for (auto It = B; It != E; ++It) {
    TMemRecViewZk* C = It->second;
    if (C->Parent() == Node || C->IsSelfOrAncestorOf(Node)) continue;
    if (Node->Level() + 1 + C->SubtreeDepth() > MaxLevel()) continue;
    if (NodeAtKey(Node->FKey) != Node) continue;  // another record of this key is the parent
    Waiting.push_back(C);
  }
  std::sort(Waiting.begin(), Waiting.end(), [](TMemRecViewZk* A, TMemRecViewZk* B) {
    return A->Rec()->Index() < B->Rec()->Index();
  });
  for (TMemRecViewZk* C : Waiting) PlaceUnder(C, Node);
}

void TMemoryTreeListZk::UpdateParent(TMemRecViewZk* Node) {
  const Variant OldKey = Node->FKey;
  UnfileNode(Node);
  FileNode(Node);
  if (!VariantsEqual(OldKey, Node->FKey)) {
    // Children that hung under the old key go where their parent key now leads.
    std::vector<TMemRecViewZk*> Children;
    for (int I = 0; I < Node->Count(); ++I) Children.push_back(static_cast<TMemRecViewZk*>(Node->Items(I)));
    for (TMemRecViewZk* C : Children) {
      TBaseTreeNodeZk* P = ParentNodeFor(C->FParentKey);
      if (P != Node && !C->IsSelfOrAncestorOf(P)) PlaceUnder(C, P);
    }
    if (FFullBuildCheck) AdoptWaitingNodes(Node);
  }
  TBaseTreeNodeZk* Parent = ParentNodeFor(Node->FParentKey);
  if (Parent != Node->Parent() && !Node->IsSelfOrAncestorOf(Parent)) PlaceUnder(Node, Parent);
  FVisibleItemsObsolete = true;
}

void TMemoryTreeListZk::DeleteRecordNode(TMemRecViewZk* Node) {
  UnfileNode(Node);
  FNodeOfRec.erase(Node->Rec());
  // Out of its parent first: its record has left the list and has no position to compare.
  ExtractNode(Node, true);
  std::vector<TMemRecViewZk*> Children;
  for (int I = 0; I < Node->Count(); ++I) Children.push_back(static_cast<TMemRecViewZk*>(Node->Items(I)));
  for (TMemRecViewZk* C : Children) PlaceUnder(C, ParentNodeFor(C->FParentKey));
  Node->SetData(nullptr);
  delete Node;
  FVisibleItemsObsolete = true;
}

// --- visible state -----------------------------------------------------------------------------------

void TMemoryTreeListZk::UpdateNodeState(TMemRecViewZk* Node, bool IsUpdateParent) {
  FVisibleItemsObsolete = true;
  if (!Node || Node == Root()) return;
  Node->SetVisible(Node->GetVisibleCount() > 0 || FRecordsViewZk->IsRecordInView(Node->Rec(), -1));
  if (!IsUpdateParent) return;
  TBaseTreeNodeZk* P = Node->Parent();
  if (P && P != Root() && P->Visible() != Node->Visible())
    UpdateNodeState(static_cast<TMemRecViewZk*>(P), true);
}

void TMemoryTreeListZk::UpdateNodesState(TBaseTreeNodeZk* Parent) {
  if (!Parent) Parent = Root();
  for (int I = 0; I < Parent->Count(); ++I) {
    auto* Child = static_cast<TMemRecViewZk*>(Parent->Items(I));
    UpdateNodesState(Child);
    UpdateNodeState(Child, false);
  }
  FVisibleItemsObsolete = true;
}

void TMemoryTreeListZk::SetSubtreeVisible(TBaseTreeNodeZk* Node, bool Value, bool Recurse) {
  if (!Node) Node = Root();
  for (int I = 0; I < Node->Count(); ++I) {
    Node->Items(I)->SetVisible(Value);
    if (Recurse) SetSubtreeVisible(Node->Items(I), Value, true);
  }
  FVisibleItemsObsolete = true;
}

void TMemoryTreeListZk::ShowChildrenOfVisibleLeaves(TBaseTreeNodeZk* Node) {
  if (!Node) Node = Root();
  for (int I = 0; I < Node->Count(); ++I) {
    TBaseTreeNodeZk* Child = Node->Items(I);
    if (!Child->Visible()) continue;
    if (Child->GetVisibleCount() == 0)
      SetSubtreeVisible(Child, true, true);
    else
      ShowChildrenOfVisibleLeaves(Child);
  }
}

void TMemoryTreeListZk::BuildVisibleItems() {
  FVisibleExpandedItems.clear();
  FVisibleItems.clear();
  ++FRowGeneration;
  for (TBaseTreeNodeZk* N = GetFirstVisible(); N; N = GetNextVisible(N, true)) {
    auto* Node = static_cast<TMemRecViewZk*>(N);
    Node->FVisibleRow = static_cast<int>(FVisibleExpandedItems.size());
    Node->FRowGeneration = FRowGeneration;
    FVisibleExpandedItems.push_back(Node);
  }
  for (TBaseTreeNodeZk* N = GetFirstVisible(); N; N = GetNextVisible(N, false))
    FVisibleItems.push_back(static_cast<TMemRecViewZk*>(N));
  FVisibleItemsObsolete = false;
}

int TMemoryTreeListZk::VisibleCount() {
  if (FVisibleItemsObsolete) BuildVisibleItems();
  return static_cast<int>(FVisibleExpandedItems.size());
}

int TMemoryTreeListZk::AccountableCount() {
  if (FVisibleItemsObsolete) BuildVisibleItems();
  return static_cast<int>(FVisibleItems.size());
}

TMemRecViewZk* TMemoryTreeListZk::GetVisibleNode(int Index) {
  if (FVisibleItemsObsolete) BuildVisibleItems();
  return Index >= 0 && Index < static_cast<int>(FVisibleExpandedItems.size())
             ? FVisibleExpandedItems[static_cast<std::size_t>(Index)]
             : nullptr;
}

TMemRecViewZk* TMemoryTreeListZk::GetAccountableNode(int Index) {
  if (FVisibleItemsObsolete) BuildVisibleItems();
  return Index >= 0 && Index < static_cast<int>(FVisibleItems.size())
             ? FVisibleItems[static_cast<std::size_t>(Index)]
             : nullptr;
}

int TMemoryTreeListZk::VisibleIndexOf(const TMemRecViewZk* Node) {
  if (FVisibleItemsObsolete) BuildVisibleItems();
  return Node->FRowGeneration == FRowGeneration ? Node->FVisibleRow : -1;
}

void TMemoryTreeListZk::GetRecordsList(std::vector<TMemoryRecordZk*>& List, TBaseTreeNodeZk* Node,
                                       bool ARecurse) const {
  if (!Node) Node = Root();
  for (int I = 0; I < Node->Count(); ++I) {
    List.push_back(static_cast<TMemRecViewZk*>(Node->Items(I))->Rec());
    if (ARecurse) GetRecordsList(List, Node->Items(I), true);
  }
}

// --- loops and order ----------------------------------------------------------------------------------

bool TMemoryTreeListZk::CheckReferenceLoop(const TMemoryRecordZk* MemRecord,
                                           const Variant& NewRefValue) const {
  const Variant Ref = NewRefValue.IsEmpty() ? ParentValues(MemRecord) : NewRefValue;
  if (Ref.IsNull()) return false;
  if (VariantsEqual(Ref, KeyValues(MemRecord))) return true;
  const TMemRecViewZk* Own = NodeOf(MemRecord);
  for (const TBaseTreeNodeZk* N = NodeAtKey(Ref); N && N != Root(); N = N->Parent())
    if (N == Own) return true;
  return false;
}

bool TMemoryTreeListZk::CheckLevelLimit(const TMemoryRecordZk* MemRecord, const Variant& NewRefValue) const {
  const Variant Ref = NewRefValue.IsEmpty() ? ParentValues(MemRecord) : NewRefValue;
  const TBaseTreeNodeZk* Parent = ParentNodeFor(Ref);
  const TMemRecViewZk* Own = NodeOf(MemRecord);
  return Parent->Level() + 1 + (Own ? Own->SubtreeDepth() : 0) > MaxLevel();
}

int TMemoryTreeListZk::CompareTreeNodes(TBaseTreeNodeZk* Node1, TBaseTreeNodeZk* Node2, void* ParamSort) {
  auto* R1 = static_cast<TMemRecViewZk*>(Node1)->Rec();
  auto* R2 = static_cast<TMemRecViewZk*>(Node2)->Rec();
  if (FRecordsViewZk->OnCompareRecords()) return FRecordsViewZk->OnCompareRecords()(R1, R2, ParamSort);
  return ParamSort ? CompareRecordsByOrder(R1, R2, *static_cast<TOrderByList*>(ParamSort)) : 0;
}

void TMemoryTreeListZk::MoveTo(TBaseTreeNodeZk* Node, TBaseTreeNodeZk* Destination,
                               TNodeAttachModeZk Mode, bool ReIndex) {
  TTreeListZk::MoveTo(Node, Destination, Mode, ReIndex);
  FVisibleItemsObsolete = true;
}

void TMemoryTreeListZk::SortData(const TCompareNodesZk& CompareProg, void* ParamSort, bool ARecurse) {
  TTreeListZk::SortData(CompareProg, ParamSort, ARecurse);
  BuildVisibleItems();
}

void TMemoryTreeListZk::SetSortOrder(const String& Value) {
  if (Value == FSortOrder) return;
  FOrderByList.ParseOrderByStr(Value);
  FSortOrder = Value;
  Resort();
}

void TMemoryTreeListZk::Resort() {
  SortData([this](TBaseTreeNodeZk* A, TBaseTreeNodeZk* B, void* P) { return CompareTreeNodes(A, B, P); },
           &FOrderByList, true);
}

bool TMemoryTreeListZk::ExpandedChanging(TBaseTreeNodeZk* Node) { return TTreeListZk::ExpandedChanging(Node); }

void TMemoryTreeListZk::ExpandedChanged(TBaseTreeNodeZk* Node) {
  FVisibleItemsObsolete = true;
  TTreeListZk::ExpandedChanged(Node);
}
