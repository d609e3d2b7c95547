// MemTableZkGrid.cpp - what the data grid asks of the memory table (IMemTableZk): instant
// read of any row, the view events sent to registered receivers, tree queries, distinct
// field values and record moves.
#include "gridlib/memtable/MemTableZk.h"

#include <algorithm>

#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/MemTableZk_p.h"
#include "gridlib/toolkit/BMListZk.h"
#include "platform/classes/Strings.h"

namespace {

// The distinct values of one field over every record of the container (hidden ones too), or
// over the records that pass the filter text given, in value order; texts that differ only in
// letter case are one entry (the first met). Filled again on every read, so a posted change
// is always seen.
class TMemTableDataFieldValueListZk : public IMemTableDataFieldValueListZk {
public:
  TMemTableDataFieldValueListZk(TDataSet* DataSet, TRecordsViewZk* View, int FieldIndex)
      : FView(View), FFieldIndex(FieldIndex), FValues(std::make_unique<TStringList>()),
        FFilter(std::make_unique<TDataSetExprParserZk>(DataSet, dsptFilterZk)) {}

  TStrings* GetValues() override {
    std::vector<Variant> Values;
    const bool Text = FView->MemTableData() &&
                      FFieldIndex < FView->MemTableData()->DataStruct()->Count() &&
                      dynamic_cast<TMTStringDataFieldZk*>(FView->MemTableData()->DataStruct()->DataFields(FFieldIndex));
    if (TMemTableDataZk* Data = FView->MemTableData())
      Data->RecordsList()->ActiveList().ForEach([&](TMemoryRecordZk* Rec) {
        if (FFilter->HasData() && !FFilter->IsCurRecordInFilter(Rec)) return;
        const Variant V = Rec->ValueAt(FFieldIndex).ToVariant();
        if (!V.IsNull() && !V.IsEmpty())
          Values.push_back(V);
        else if (Text)
          Values.push_back(Variant(String()));  // a text field lists Null as empty text
      });
    std::stable_sort(Values.begin(), Values.end(), [Text](const Variant& A, const Variant& B) {
      return CompareOrderValues(A, B, Text) < 0;
    });
    Values.erase(std::unique(Values.begin(), Values.end(),
                             [Text](const Variant& A, const Variant& B) { return CompareOrderValues(A, B, Text) == 0; }),
                 Values.end());
    FValues->Clear();
    for (const Variant& V : Values) FValues->Add(V.AsString());
    return FValues.get();
  }
  // A text that does not parse raises the parser's error.
  void SetFilter(const String& Filter) override { FFilter->ParseExpression(Filter); }

private:
  TRecordsViewZk* FView;
  int FFieldIndex;
  std::unique_ptr<TStringList> FValues;
  std::unique_ptr<TDataSetExprParserZk> FFilter;
};

}  // namespace

// ===== instant read ==============================================================================

void TCustomMemTableZk::InstantReadEnter(int RowNum) {
  TRecordBuffer Buffer = AllocRecordBuffer();
  FInstantBuffers.push_back(Buffer);
  TRecBuf& B = RecBufOf(Buffer);
  const TDataSetState S = State();
  if ((S == dsEdit || S == dsInsert) && RowNum == FInstantReadCurRowNum) {
    B = RecBufOf(ActiveBuffer());
    B.InUse = true;
    if (S == dsInsert) {
      B.RecordNumber = -1;
      B.RecView = nullptr;
      B.MemRec = nullptr;
    }
    return;
  }
  if (ViewCount() == 0) {
    InternalInitRecord(Buffer);
    return;
  }
  if (S == dsInsert && RowNum > FInstantReadCurRowNum) --RowNum;
  if (RowNum < 0 || RowNum >= ViewCount()) {
    InternalInitRecord(Buffer);
    return;
  }
  FillBufferFromRecord(ViewRecord(RowNum), RowNum, Buffer);
}

void TCustomMemTableZk::InstantReadEnter(TMemoryRecordZk* MemRec, int RowNum) {
  TRecordBuffer Buffer = AllocRecordBuffer();
  FInstantBuffers.push_back(Buffer);
  FillBufferFromRecord(MemRec, RowNum, Buffer);
}

void TCustomMemTableZk::InstantReadLeave() {
  if (FInstantBuffers.empty()) throw Exception(MemTableText::NotInInstantRead);
  TRecordBuffer Buffer = FInstantBuffers.back();
  FInstantBuffers.pop_back();
  FreeRecordBuffer(Buffer);
}

int TCustomMemTableZk::GetInstantReadCurRow() {
  if (Active()) UpdateCursorPos();
  return FInstantReadCurRowNum;
}

int TCustomMemTableZk::InstantReadRowCount() {
  if (!Active()) return 0;
  UpdateCursorPos();
  return ViewCount() + (State() == dsInsert ? 1 : 0);
}

int TCustomMemTableZk::InstantReadIndexOfBookmark(const TBookmark& Bookmark) {
  return Bookmark.empty() ? -1 : BookmarkToRecNo(Bookmark) - 1;
}

// ===== view events ===============================================================================

int TCustomMemTableZk::ViewIndexToRowNum(int Index) const {
  if (State() == dsInsert && Index >= FInstantReadCurRowNum) return Index + 1;
  return Index;
}

void TCustomMemTableZk::BroadcastViewEvent(int RowNum, TMTViewEventTypeZk Event, int OldRowNum) {
  if (!Active() && !FActive) return;
  if (ControlsDisabled()) {
    if (FInactiveCount < 2) ++FInactiveCount;
    if (FInactiveCount == 1) {
      FInactiveEventRowNum = RowNum;
      FInactiveEvent = Event;
      FInactiveEventOldRowNum = OldRowNum;
    }
    return;
  }
  const std::vector<TComponent*> Receivers = FEventReceivers;
  for (TComponent* C : Receivers) {
    if (std::find(FEventReceivers.begin(), FEventReceivers.end(), C) == FEventReceivers.end()) continue;
    if (auto* R = dynamic_cast<IMTViewEventReceiverZk*>(C)) R->MTViewDataEvent(RowNum, Event, OldRowNum);
  }
  FInactiveCount = 0;
}

void TCustomMemTableZk::ReplayInactiveEvent() {
  const int Count = FInactiveCount;
  FInactiveCount = 0;
  if (Count == 1)
    BroadcastViewEvent(FInactiveEventRowNum, FInactiveEvent, FInactiveEventOldRowNum);
  else if (Count > 1)
    BroadcastViewEvent(-1, mtViewDataChangedZk, -1);
}

void TCustomMemTableZk::ViewDataEvent(TMemoryRecordZk*, int Index, int Action) {
  if (!FActive) return;
  switch (Action) {
    case rlnRecAddedZk:
      BroadcastViewEvent(ViewIndexToRowNum(Index), mtRowInsertedZk, -1);
      break;
    case rlnRecChangedZk:
    case rlnRecMarkedForDelZk:
      BroadcastViewEvent(ViewIndexToRowNum(Index), mtRowChangedZk, -1);
      break;
    case rlnRecDeletedZk:
      BroadcastViewEvent(ViewIndexToRowNum(Index), mtRowDeletedZk, -1);
      break;
    case rlnListChangedZk:
      BroadcastViewEvent(-1, mtViewDataChangedZk, -1);
      break;
    default:
      return;
  }
  // A row added or removed above the virtual insert row moves that row too, so the grid
  // closes it where it now stands when the insertion ends.
  if (State() == dsInsert && Index >= 0 && Index < FInstantReadCurRowNum) {
    if (Action == rlnRecAddedZk) ++FInstantReadCurRowNum;
    if (Action == rlnRecDeletedZk) --FInstantReadCurRowNum;
  }
  if (Active() && State() == dsBrowse) Resync({});
}

void TCustomMemTableZk::ViewRecordMoved(int OldIndex, int NewIndex) {
  if (!FActive) return;
  BroadcastViewEvent(ViewIndexToRowNum(NewIndex), mtRowMovedZk, ViewIndexToRowNum(OldIndex));
}

void TCustomMemTableZk::DataEvent(TDataEvent Event, std::intptr_t Info) {
  const bool IsActive = Active();
  if (IsActive && FOldControlsDisabled && !ControlsDisabled()) ReplayInactiveEvent();
  if (Event == deUpdateState) {
    if (State() == dsInsert && !FStateInsert) {
      FStateInsert = true;
      BroadcastViewEvent(GetInstantReadCurRow(), mtRowInsertedZk, -1);
    } else if (State() == dsBrowse && FStateInsert) {
      FStateInsert = false;
      BroadcastViewEvent(FInstantReadCurRowNum, mtRowDeletedZk, -1);
    }
  }
  if (Event == deFieldListChange && !ComponentState().Contains(csLoading)) {
    FRecordsView->Aggregates()->Reset(IsActive);  // also drops the aggregate of a removed field
    if (IsActive) Resync({});
  }
  TDataSet::DataEvent(Event, Info);
  if (IsActive && !FOldActive) BroadcastViewEvent(-1, mtViewDataChangedZk, -1);
  FOldControlsDisabled = ControlsDisabled();
  FOldActive = IsActive;
}

void TCustomMemTableZk::RegisterEventReceiver(TComponent* Receiver) {
  if (!Receiver || std::find(FEventReceivers.begin(), FEventReceivers.end(), Receiver) != FEventReceivers.end())
    return;
  FEventReceivers.push_back(Receiver);
  Receiver->FreeNotification(this);
}

void TCustomMemTableZk::UnregisterEventReceiver(TComponent* Receiver) {
  auto It = std::find(FEventReceivers.begin(), FEventReceivers.end(), Receiver);
  if (It == FEventReceivers.end()) return;
  FEventReceivers.erase(It);
  Receiver->RemoveFreeNotification(this);
}

// ===== records and rows ==========================================================================

TMemoryRecordZk* TCustomMemTableZk::GetRec() {
  CheckActive();
  TRecBuf* B = nullptr;
  return StateRecBuf(B, false) ? B->MemRec : nullptr;
}

// The record's row comes from the view's row links, not from a scan.
bool TCustomMemTableZk::GotoRec(TMemoryRecordZk* Rec) {
  CheckActive();
  const int Row = Rec ? FRecordsView->IndexOf(Rec) : -1;
  if (Row < 0) return false;
  SetRecNo(Row + 1);
  return true;
}

std::unique_ptr<IMemTableDataFieldValueListZk> TCustomMemTableZk::GetFieldValueList(const String& FieldName) {
  TField* Field = FindField(FieldName);
  if (!Field) return nullptr;
  if (Field->FieldKind() == fkLookup) {
    auto List = std::make_unique<TDatasetFieldValueListZk>();
    List->SetDataSet(Field->LookupDataSet());
    List->SetFieldName(Field->LookupResultField());
    return List;
  }
  if (Field->FieldNo() <= 0) return nullptr;
  return std::make_unique<TMemTableDataFieldValueListZk>(this, FRecordsView.get(),
                                                         Field->FieldNo() - 1);
}

// Moves the listed rows to row ToRecNo (1-based) as the list moves an item: walking the
// records from the last, each goes to the target row, which moves up by one for a record
// coming from above it. Only 1 <= ToRecNo <= count is taken; a drop after the last row is
// ToRecNo = count. The bookmark list then names the moved records at their new rows. Moves
// are made in the records list, so they show in a view without a sort order.
// In tree mode each record goes through MoveTreeRecord with the same walk and target rows; the
// first refusal ends the walk and answers False.
bool TCustomMemTableZk::MoveRecords(TBMListZk* BookmarkList, int ToRecNo, int TreeLevel, bool CheckOnly) {
  CheckActive();
  const int Count = ViewCount();
  const bool Tree = FRecordsView->ViewAsTreeList();
  if (!BookmarkList || ToRecNo < 1 || ToRecNo > Count) return false;
  std::vector<TMemoryRecordZk*> Recs;
  for (int I = 0; I < BookmarkList->Count(); ++I) {
    const int Row = BookmarkToRecNo(*BookmarkList->Items(I)) - 1;
    if (Row < 0 || Row >= Count) return false;
    Recs.push_back(ViewRecord(Row));
  }
  if (CheckOnly && !Tree) return true;
  if (!CheckOnly) CheckBrowseMode();
  TMemoryRecordZk* Current = FRecordPos >= 0 && FRecordPos < Count ? ViewRecord(FRecordPos) : nullptr;
  TRecordsListZk* List = ViewData()->RecordsList();
  if (!CheckOnly) LockViewResync();
  bool Result = true;
  try {
    int Target = ToRecNo - 1;
    for (std::size_t I = Recs.size(); I-- > 0 && Result;) {
      const int From = FRecordsView->IndexOf(Recs[I]);
      if (I + 1 != Recs.size() && From < Target) --Target;
      if (Tree) {
        Result = From >= 0 && MoveTreeRecord(From, Target, TreeLevel, CheckOnly);
        continue;
      }
      if (From < 0 || From == Target) continue;
      List->Move(List->IndexOf(Recs[I]), List->IndexOf(ViewRecord(Target)));
    }
    if (CheckOnly) return Result;
    if (Current && FRecordsView->IndexOf(Current) >= 0) FRecordPos = FRecordsView->IndexOf(Current);
  } catch (...) {
    if (!CheckOnly) UnlockViewResync(true);
    throw;
  }
  std::vector<int> Rows;
  for (TMemoryRecordZk* Rec : Recs) Rows.push_back(FRecordsView->IndexOf(Rec) + 1);
  std::sort(Rows.begin(), Rows.end());
  for (int I = 0; I < static_cast<int>(Rows.size()); ++I)
    BookmarkList->SetItems(I, std::make_shared<const TBookmark>(RecNoToBookmark(Rows[static_cast<std::size_t>(I)])));
  FRecordsViewUpdated = true;
  UnlockViewResync(true);
  return Result;
}

// One tree move: the neighbours at the drop place decide where the node goes. Moving down,
// the node below is the one after the target row, the last row included (a drop just above
// the last row can make the node the last row's sibling).
bool TCustomMemTableZk::MoveTreeRecord(int FromIndex, int ToIndex, int TreeLevel, bool CheckOnly) {
  TMemoryTreeListZk* Tree = FRecordsView->MemoryTreeList();
  const int Count = ViewCount();
  TMemRecViewZk* Node = Tree->GetVisibleNode(FromIndex);
  if (!Node || ToIndex < 0 || ToIndex >= Count) return false;
  TMemRecViewZk* Above = nullptr;
  TMemRecViewZk* Below = nullptr;
  if (FromIndex < ToIndex) {
    Above = Tree->GetVisibleNode(ToIndex);
    if (ToIndex + 1 < Count) Below = Tree->GetVisibleNode(ToIndex + 1);
  } else {
    if (ToIndex > 0) Above = Tree->GetVisibleNode(ToIndex - 1);
    Below = Tree->GetVisibleNode(ToIndex);
  }
  enum { AfterSibling, BeforeSibling, AsChild };
  if (Above && Above->Level() == TreeLevel) return MoveTreeNode(Node, Above, AfterSibling, CheckOnly);
  if (Below && Below->Level() == TreeLevel) return MoveTreeNode(Node, Below, BeforeSibling, CheckOnly);
  if (Above && Above->Level() < TreeLevel) return MoveTreeNode(Node, Above, AsChild, CheckOnly);
  if (Above && Above->Level() > TreeLevel) {
    TBaseTreeNodeZk* Ancestor = Above;
    while (Ancestor->Level() > TreeLevel) {
      Ancestor = Ancestor->Parent();
      if (!Ancestor || Ancestor == Tree->Root()) return true;
    }
    return MoveTreeNode(Node, static_cast<TMemRecViewZk*>(Ancestor), AfterSibling, CheckOnly);
  }
  return true;
}

// Gives Node's record the parent key that puts it after or before Target as a sibling, or
// under Target as a child, and moves it in the records list next to Target's record.
bool TCustomMemTableZk::MoveTreeNode(TMemRecViewZk* Node, TMemRecViewZk* Target, int Rule, bool CheckOnly) {
  enum { AfterSibling, BeforeSibling, AsChild };
  TMemoryTreeListZk* Tree = FRecordsView->MemoryTreeList();
  TMemoryRecordZk* Rec = Node->Rec();
  const String& Field =
      Rule == AsChild ? FRecordsView->TreeViewKeyFieldName() : FRecordsView->TreeViewRefParentFieldName();
  const Variant NewParent = Target->Rec()->GetDataValues(Field, dvvValueZk);
  const int From = Rec->Index(), To = Target->Rec()->Index();
  int Appointed = 0;
  TMemRecViewZk* AppointedParent = Target;
  if (Rule != AsChild) {
    Appointed = Rule == AfterSibling ? To + (From >= To ? 1 : 0) : To - (From < To ? 1 : 0);
    AppointedParent = dynamic_cast<TMemRecViewZk*>(Target->Parent());
  }
  if (FOnCheckMoveNode && !FOnCheckMoveNode(this, Node, AppointedParent, Appointed)) return false;
  if (CheckOnly) return !Tree->CheckReferenceLoop(Rec, NewParent);
  Rec->Edit();
  try {
    Rec->SetDataValues(FRecordsView->TreeViewRefParentFieldName(), dvvValueZk, NewParent);
    Rec->Post();
  } catch (...) {
    if (Rec->EditState() == resEditZk) Rec->Cancel();
    throw;
  }
  if (Rule == AsChild) return true;
  TRecordsListZk* List = ViewData()->RecordsList();
  const int Now = Rec->Index(), TargetNow = Target->Rec()->Index();
  const int Dest = Rule == AfterSibling ? (Now < TargetNow ? TargetNow : TargetNow + 1)
                                        : (Now < TargetNow ? TargetNow - 1 : TargetNow);
  if (Dest != Now) List->Move(Now, Dest);
  return true;
}

// ===== tree ======================================================================================

bool TCustomMemTableZk::TreeViewActive() const { return FRecordsView->ViewAsTreeList(); }

void TCustomMemTableZk::SetTreeViewActive(bool Value) {
  if (Active()) CheckBrowseMode();
  FRecordsView->SetViewAsTreeList(Value);
  if (Active()) {
    First();
    Resync({});
  }
}

void TCustomMemTableZk::SetTreeKeyFields(const String& KeyFieldName, const String& RefParentFieldName) {
  FRecordsView->SetTreeViewKeyFieldName(KeyFieldName);
  FRecordsView->SetTreeViewRefParentFieldName(RefParentFieldName);
}

bool TCustomMemTableZk::GetTreeViewMode() { return FRecordsView->ViewAsTreeList(); }

TMemRecViewZk* TCustomMemTableZk::TreeNode() const {
  CheckActive();
  TRecBuf* B = nullptr;
  return StateRecBuf(B, false) ? B->RecView : nullptr;
}

bool TCustomMemTableZk::GetTreeNodeExpanded() {
  TMemRecViewZk* Node = TreeNode();
  return Node && Node->NodeExpanded();
}

bool TCustomMemTableZk::GetTreeNodeHasChildren() {
  TMemRecViewZk* Node = TreeNode();
  return Node && Node->NodeHasChildren();
}

int TCustomMemTableZk::GetTreeNodeLevel() {
  TMemRecViewZk* Node = TreeNode();
  return Node ? Node->Level() : -1;
}

int TCustomMemTableZk::GetPrevNodeLevel() {
  CheckActive();
  const int No = RecNo();
  if (!FRecordsView->ViewAsTreeList() || No <= 1) return -1;
  TMemRecViewZk* Node = FRecordsView->MemoryTreeList()->GetVisibleNode(No - 2);
  return Node ? Node->Level() : -1;
}

// Outside tree mode there is no level: -1.
int TCustomMemTableZk::GetNextNodeLevel() {
  CheckActive();
  const int No = RecNo();
  if (!FRecordsView->ViewAsTreeList() || No < 1 || No >= ViewCount()) return -1;
  TMemRecViewZk* Node = FRecordsView->MemoryTreeList()->GetVisibleNode(No);
  return Node ? Node->Level() : -1;
}

bool TCustomMemTableZk::ParentHasNextSibling(int Level) {
  CheckActive();
  TMemRecViewZk* Node = TreeNode();
  if (Level <= 0 || !Node) return false;
  TBaseTreeNodeZk* Ancestor = Node;
  for (int Up = Node->Level() - Level; Up > 0 && Ancestor; --Up) Ancestor = Ancestor->Parent();
  return Ancestor && FRecordsView->MemoryTreeList()->GetNextVisibleSibling(Ancestor) != nullptr;
}

int TCustomMemTableZk::SetTreeNodeExpanded(int RowNum, bool Value) {
  CheckActive();
  int Result = -1;
  TMemRecViewZk* Current = TreeNode();
  TMemRecViewZk* Node = nullptr;
  InstantReadEnter(RowNum);
  Node = RecBufOf(FInstantBuffers.back()).RecView;
  InstantReadLeave();
  if (!Node) return -1;
  TMemoryTreeListZk* Tree = FRecordsView->MemoryTreeList();
  Node->SetNodeExpanded(Value);
  Tree->BuildVisibleItems();
  if (Current && Tree->VisibleIndexOf(Current) < 0) {
    TMemRecViewZk* Up = Current;
    bool Stepped = false;
    while (Up && Up->Level() > 1 && Tree->VisibleIndexOf(Up) < 0) {
      Up = Up->NodeParent();
      Stepped = true;
    }
    if (Stepped && Up && Tree->VisibleIndexOf(Up) >= 0) Result = Tree->VisibleIndexOf(Up) + 1;
  }
  Resync({});
  return Result;
}

void TCustomMemTableZk::SetTreeNodeExpandedValue(bool Value) {
  CheckActive();
  TRecBuf* B = nullptr;
  if (!StateRecBuf(B, true)) return;
  if (!B->RecView) {
    B->NewTreeNodeExpanded = Value;
    return;
  }
  bool Allowed = true;
  if (Value && !B->RecView->NodeExpanded() && FOnTreeNodeExpanding)
    FOnTreeNodeExpanding(this, B->RecordNumber + 1, Allowed);
  if (Allowed) {
    B->RecView->SetNodeExpanded(Value);
    FRecordsView->MemoryTreeList()->BuildVisibleItems();
  }
  Resync({});
}
