// MemTableDataZkView.cpp - the records view: rows kept up to date on every record event,
// sorting, record moves and the direct aggregate over one field.
#include "gridlib/memtable/MemTableDataZkView.h"

#include <algorithm>
#include <optional>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

REGISTER_CLASS(TRecordsViewZk) {}

TRecordsViewZk::TRecordsViewZk(TDataSet* ADataSet)
    : TRecordsListNotificatorZk(nullptr), FDataSet(ADataSet),
      FRows(std::make_unique<TRecBlockListZk>()),
      FAggregates(std::make_unique<TMTAggregatesZk>(this)),
      FMemoryTreeList(std::make_unique<TMemoryTreeListZk>(this)) {}

TRecordsViewZk::~TRecordsViewZk() {
  std::vector<TRecordsListNotificatorZk*> Observers = FNotificators;
  for (TRecordsListNotificatorZk* N : Observers) N->SetDataObject(nullptr);
  // Leaving the container while being destroyed tells nobody.
  FOnViewDataEvent = nullptr;
  FOnViewRecordMovedEvent = nullptr;
  SetOnDataEvent(nullptr);
  SetDataObject(nullptr);
  FRows->Clear();
  FMemoryTreeList->ClearTree();
}

// The first view of a container keeps its row links in the records themselves.
void TRecordsViewZk::ResetRowList() {
  FRows->Clear();
  FMemoryTreeList->ClearTree();
  if (FRowsData) FRowsData->ReleaseViewLink(this);
  TMemTableDataZk* Data = MemTableData();
  FRowsData = Data;
  FRows = std::make_unique<TRecBlockListZk>(Data && Data->ClaimViewLink(this)
                                                ? &TMemoryRecordZk::FViewLink
                                                : nullptr);
}

// --- rows ----------------------------------------------------------------------------------------

int TRecordsViewZk::Count() const {
  return FViewAsTreeList ? FMemoryTreeList->VisibleCount() : FRows->Count();
}

int TRecordsViewZk::AccountableItemsCount() const {
  return FViewAsTreeList ? FMemoryTreeList->AccountableCount() : FRows->Count();
}

TMemoryRecordZk* TRecordsViewZk::ViewItems(int Index) const {
  if (!FViewAsTreeList) return FRows->Items(Index);
  TMemRecViewZk* Node = FMemoryTreeList->GetVisibleNode(Index);
  return Node ? Node->Rec() : nullptr;
}

TMemoryRecordZk* TRecordsViewZk::AccountableItems(int Index) const {
  if (!FViewAsTreeList) return FRows->Items(Index);
  TMemRecViewZk* Node = FMemoryTreeList->GetAccountableNode(Index);
  return Node ? Node->Rec() : nullptr;
}

int TRecordsViewZk::IndexOf(const TMemoryRecordZk* Rec) const {
  if (!FViewAsTreeList) return FRows->IndexOf(Rec);
  TMemRecViewZk* Node = FMemoryTreeList->NodeOf(Rec);
  return Node ? FMemoryTreeList->VisibleIndexOf(Node) : -1;
}

TMemoryRecordZk* TRecordsViewZk::NewRecord() { return MemTableData()->RecordsList()->NewRecord(); }

void TRecordsViewZk::AddRecord(TMemoryRecordZk* Rec) { MemTableData()->RecordsList()->AddRecord(Rec); }

void TRecordsViewZk::DeleteRecord(int Index) {
  TRecordsListZk* List = MemTableData()->RecordsList();
  List->DeleteRecord(List->IndexOf(ViewItems(Index)));
}

void TRecordsViewZk::InsertRecord(int Index, TMemoryRecordZk* Rec) {
  TRecordsListZk* List = MemTableData()->RecordsList();
  int At;
  if (FViewAsTreeList)
    At = Index <= 0 ? 0 : List->IndexOf(ViewItems(Index - 1)) + 1;
  else if (Count() == 0 || Index <= 0)
    At = 0;
  else if (Index >= Count())
    At = List->Count();
  else
    At = List->IndexOf(ViewItems(Index));
  List->InsertRecord(At, Rec);
}

void TRecordsViewZk::RevertRecord(int Index) {
  TRecordsListZk* List = MemTableData()->RecordsList();
  List->RevertRecord(List->IndexOf(ViewItems(Index)));
}

void TRecordsViewZk::RefreshRecord(int Index, const TMemoryRecordZk* Rec) {
  TRecordsListZk* List = MemTableData()->RecordsList();
  List->RefreshRecord(List->IndexOf(ViewItems(Index)), Rec);
}

void TRecordsViewZk::MergeChangeLog() { MemTableData()->RecordsList()->MergeChangeLog(); }

void TRecordsViewZk::CancelUpdates() { MemTableData()->RecordsList()->CancelUpdates(); }

void TRecordsViewZk::LockCachedUpdates() {
  ++FCachedUpdatesLockCount;
  if (TMemTableDataZk* Data = MemTableData()) Data->RecordsList()->SetCachedUpdates(false);
}

void TRecordsViewZk::UnlockCachedUpdates() {
  if (FCachedUpdatesLockCount > 0) --FCachedUpdatesLockCount;
  if (FCachedUpdatesLockCount == 0)
    if (TMemTableDataZk* Data = MemTableData()) Data->RecordsList()->SetCachedUpdates(FCachedUpdates);
}

void TRecordsViewZk::SetCachedUpdates(bool Value) {
  FCachedUpdates = Value;
  if (FCachedUpdatesLockCount == 0)
    if (TMemTableDataZk* Data = MemTableData()) Data->RecordsList()->SetCachedUpdates(Value);
}

bool TRecordsViewZk::IsRecordInView(TMemoryRecordZk* Rec, int) {
  if (!FStatusFilter.Contains(Rec->UpdateStatus())) return false;
  return FOnFilterRecord ? FOnFilterRecord(Rec) : true;
}

// The old rows leave the view as the walk over the records reads each record anyway.
void TRecordsViewZk::RefreshFilteredRecsList() {
  TMemTableDataZk* Data = MemTableData();
  if (Data && !FViewAsTreeList) {
    std::vector<TMemoryRecordZk*> Rows;
    {
      TRecBlockListZk::TRetiredRows Old(*FRows);
      const std::vector<TMemoryRecordZk*>* Pre = FOnGetPrefilteredList ? FOnGetPrefilteredList() : nullptr;
      auto Take = [&](TMemoryRecordZk* R) {
        Old.Forget(R);
        if (IsRecordInView(R, -1)) Rows.push_back(R);
      };
      if (Pre)
        for (TMemoryRecordZk* R : *Pre) Take(R);
      else
        Data->RecordsList()->ActiveList().ForEach(Take);
    }
    FRows->Assign(Rows);
  } else {
    FRows->Clear();
  }
  if (FViewAsTreeList) {
    FMemoryTreeList->UpdateNodesState(nullptr);
    if (!FMemoryTreeList->FilterNodeIfParentVisible()) FMemoryTreeList->ShowChildrenOfVisibleLeaves(nullptr);
  }
  if (!FSortOrder.empty())
    Resort();
  else
    ViewDataEvent(nullptr, -1, rlnListChangedZk);
}

void TRecordsViewZk::RebuildMemoryTreeList() {
  FMemoryTreeList->ClearTree();
  if (!FViewAsTreeList || !MemTableData()) return;
  // Records marked for deletion have no node, as when they are marked one by one.
  MemTableData()->RecordsList()->ActiveList().ForEach([this](TMemoryRecordZk* R) {
    if (R->UpdateStatus() != usDeleted) FMemoryTreeList->AddChildAtKey(String(), R);
  });
}

void TRecordsViewZk::SetViewAsTreeList(bool Value) {
  if (Value == FViewAsTreeList) return;
  FViewAsTreeList = Value;
  if (Value) {
    RebuildMemoryTreeList();
  } else {
    FMemoryTreeList->ClearTree();
  }
  RefreshFilteredRecsList();
}

void TRecordsViewZk::UpdateFields() {
  FTreeViewKeyFields.clear();
  FTreeViewRefParentFields.clear();
  TMemTableDataZk* Data = MemTableData();
  if (!Data) return;
  if (!FTreeViewKeyFieldName.empty())
    Data->DataStruct()->FieldsIndex(FTreeViewKeyFieldName, FTreeViewKeyFields);
  if (!FTreeViewRefParentFieldName.empty())
    Data->DataStruct()->FieldsIndex(FTreeViewRefParentFieldName, FTreeViewRefParentFields);
}

void TRecordsViewZk::SetTreeViewKeyFieldName(const String& Value) {
  if (Value == FTreeViewKeyFieldName) return;
  FTreeViewKeyFieldName = Value;
  UpdateFields();
}

void TRecordsViewZk::SetTreeViewRefParentFieldName(const String& Value) {
  if (Value == FTreeViewRefParentFieldName) return;
  FTreeViewRefParentFieldName = Value;
  UpdateFields();
}

void TRecordsViewZk::SetSortOrder(const String& Value) {
  if (Value == FSortOrder) return;
  FOrderByList.ParseOrderByStr(Value);  // raises with the old text and order kept
  FSortOrder = Value;
  Resort();
}

void TRecordsViewZk::SetStatusFilter(TUpdateStatusSet Value) {
  if (Value == FStatusFilter) return;
  FStatusFilter = Value;
  RefreshFilteredRecsList();
}

void TRecordsViewZk::Resort() {
  if (FSortOrder.empty()) return;
  if (FViewAsTreeList) FMemoryTreeList->SetSortOrder(FSortOrder);
  SortData(const_cast<TRecordsViewOrderByList*>(&FOrderByList),
           [this](TMemoryRecordZk* A, TMemoryRecordZk* B, void*) { return CompareRecords(A, B); });
}

void SortRecordsVector(std::vector<TMemoryRecordZk*>& List, const TCompareRecords& Compare,
                       void* ParamSort);

namespace {

// A row to sort with its first ORDER BY value at hand (read in place), and the characters of
// the first text item among the first two (read out of the record once for the whole sort)
// with their sort-key prefix, which decides most comparisons without the collation.
struct TSortEntry {
  TMemoryRecordZk* Rec;
  TPackedValueZk First;
  std::u16string_view Text;
  std::uint64_t Key;
  bool IsText;
};

int CompareEntries(const TSortEntry& A, const TSortEntry& B, const TOrderByList& List, int TextItem) {
  for (int I = 0; I < List.Count(); ++I) {
    const TOrderByItemZk& Item = List.Items(I);
    int C;
    if (I == TextItem && A.IsText && B.IsText) {  // as CompareOrderValues orders two texts
      C = A.Key != B.Key ? (A.Key < B.Key ? -1 : 1) : AnsiCompareStr(A.Text, B.Text);
      if (C == 0) C = CompareStr(A.Text, B.Text);
    } else if (I == 0) {
      C = CompareOrderValues(A.First, B.First, false);
    } else {
      C = CompareOrderValues(A.Rec->ValueAt(Item.FieldIndex), B.Rec->ValueAt(Item.FieldIndex), false);
    }
    if (C != 0) return Item.Desc ? -C : C;
  }
  return 0;
}

// The same partition sort as the records list's, over the entries.
void QuickSortEntries(std::vector<TSortEntry>& List, int L, int R, const TOrderByList& Order, int TextItem) {
  int I;
  do {
    I = L;
    int J = R;
    const TSortEntry P = List[static_cast<std::size_t>((L + R) / 2)];
    do {
      while (CompareEntries(List[static_cast<std::size_t>(I)], P, Order, TextItem) < 0) ++I;
      while (CompareEntries(List[static_cast<std::size_t>(J)], P, Order, TextItem) > 0) --J;
      if (I <= J) {
        std::swap(List[static_cast<std::size_t>(I)], List[static_cast<std::size_t>(J)]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSortEntries(List, L, J, Order, TextItem);
    L = I;
  } while (I < R);
}

bool IsTextType(TVarType T) { return T == varString || T == varOleStr || T == varUString; }

}  // namespace

// The rows' order by the view's ORDER BY, each row's first text item (among the first two)
// read out once and compared by its sort-key prefix before the collation is asked.
void TRecordsViewZk::SortByOrderList(std::vector<TMemoryRecordZk*>& Rows, std::vector<std::uint64_t>& Keys) const {
  const int Field = FOrderByList.Items(0).FieldIndex;
  TMTDataStructZk* Struct = MemTableData()->DataStruct();
  int TextItem = -1;
  for (int I = 0; I < std::min(2, FOrderByList.Count()) && TextItem < 0; ++I)
    if (IsTextType(Struct->DataFields(FOrderByList.Items(I).FieldIndex)->GetVarDataType())) TextItem = I;
  std::vector<TSortEntry> Entries;
  Entries.reserve(Rows.size());
  std::u16string Texts;  // every row's text of that item, one after another
  std::vector<std::size_t> Starts;
  TTextBufferZk Buffer;
  for (TMemoryRecordZk* Rec : Rows) {
    const TPackedValueZk V = Rec->ValueAt(Field);
    const TPackedValueZk T = TextItem < 0 ? TPackedValueZk() : Rec->ValueAt(FOrderByList.Items(TextItem).FieldIndex);
    Starts.push_back(Texts.size());
    if (T.IsString()) Texts += T.Text(Buffer);
    Entries.push_back({Rec, V, {}, 0, T.IsString()});
  }
  for (std::size_t I = 0; I < Entries.size(); ++I)
    if (Entries[I].IsText) {
      const std::size_t End = I + 1 < Starts.size() ? Starts[I + 1] : Texts.size();
      Entries[I].Text = std::u16string_view(Texts).substr(Starts[I], End - Starts[I]);
      Entries[I].Key = AnsiSortKeyPrefix(Entries[I].Text);
    }
  if (!Entries.empty()) QuickSortEntries(Entries, 0, static_cast<int>(Entries.size()) - 1, FOrderByList, TextItem);
  for (std::size_t I = 0; I < Rows.size(); ++I) Rows[I] = Entries[I].Rec;
  Keys.clear();
  if (TextItem == 0)
    for (const TSortEntry& E : Entries) Keys.push_back(E.Key);
}

void TRecordsViewZk::SortData(void* ParamSort, const TCompareRecords& Compare) {
  if (!FViewAsTreeList) {
    std::vector<TMemoryRecordZk*> Rows = FRows->ToVector();
    std::vector<std::uint64_t> Keys;
    const bool OwnOrder =
        ParamSort == &FOrderByList && !FOnCompareRecords && FOrderByList.Count() > 0 && MemTableData();
    if (OwnOrder && Rows.size() > 1)
      SortByOrderList(Rows, Keys);
    else
      SortRecordsVector(Rows, Compare, ParamSort);
    // Rows sorted by the view's own order on a text field keep their keys for later searches.
    FKeysField = OwnOrder ? KeyField() : -1;
    if (FKeysField >= 0 && Keys.size() != Rows.size()) {
      Keys.clear();
      TTextBufferZk Buffer;
      for (const TMemoryRecordZk* R : Rows) {
        const TPackedValueZk V = R->ValueAt(FKeysField);
        Keys.push_back(V.IsString() ? AnsiSortKeyPrefix(V.Text(Buffer)) : 0);
      }
    }
    FRows->Assign(Rows, FKeysField >= 0 ? &Keys : nullptr);
  }
  ViewDataEvent(nullptr, -1, rlnListChangedZk);
}

int TRecordsViewZk::CompareRecords(TMemoryRecordZk* Rec1, TMemoryRecordZk* Rec2) const {
  if (!FSortOrder.empty()) {
    auto* List = const_cast<TRecordsViewOrderByList*>(&FOrderByList);
    return FOnCompareRecords ? FOnCompareRecords(Rec1, Rec2, List) : CompareRecordsByOrder(Rec1, Rec2, FOrderByList);
  }
  return Rec1->Index() - Rec2->Index();
}

int TRecordsViewZk::KeyField() const {
  if (FViewAsTreeList || FSortOrder.empty() || FOnCompareRecords || FOrderByList.Count() == 0) return -1;
  const TMemTableDataZk* Data = MemTableData();
  const int Field = FOrderByList.Items(0).FieldIndex;
  if (!Data || Field < 0 || Field >= Data->DataStruct()->Count()) return -1;
  return IsTextType(Data->DataStruct()->DataFields(Field)->GetVarDataType()) ? Field : -1;
}

int TRecordsViewZk::FindInsertPosition(TMemoryRecordZk* Rec, int Hint, std::uint64_t* Key) const {
  // The view's own order: the record's first value read once for the whole search, with its
  // key when the rows keep keys.
  const bool Keyed = RowsKeyed();
  std::optional<TOrderProbeZk> Probe;
  if (!FSortOrder.empty() && !FOnCompareRecords) Probe.emplace(Rec, FOrderByList, Keyed);
  if (Key) *Key = Probe ? Probe->Key() : 0;
  const int N = FRows->Count();
  if (N == 0) return 0;
  // Unsorted rows follow the records list: its last record (a fetch appends there) comes
  // after every row, found without working out record positions.
  if (FSortOrder.empty() && Rec->RecordsList() && Rec->RecordsList()->ActiveList().Last() == Rec) return N;
  auto Compare = [&](int Row) {
    TMemoryRecordZk* R = FRows->Items(Row);
    return Probe ? Probe->CompareRow(R, Keyed ? FRows->KeyAt(Row) : 0) : CompareRecords(R, Rec);
  };
  if (Compare(0) > 0) return 0;
  if (Compare(N - 1) < 0) return N;
  if (Hint >= 0 && Hint <= N && (Hint == 0 || Compare(Hint - 1) <= 0) && (Hint == N || Compare(Hint) >= 0))
    return Hint;
  // The first row not less than the record: among equal rows it goes before them.
  return FRows->PartitionPoint([&](TMemoryRecordZk* Row, std::uint64_t RowKey) {
    return (Probe ? Probe->CompareRow(Row, RowKey) : CompareRecords(Row, Rec)) < 0;
  });
}

// --- events ----------------------------------------------------------------------------------------

void TRecordsViewZk::RegisterNotificator(TRecordsListNotificatorZk* Notificator) {
  if (std::find(FNotificators.begin(), FNotificators.end(), Notificator) == FNotificators.end())
    FNotificators.push_back(Notificator);
}

void TRecordsViewZk::UnregisterNotificator(TRecordsListNotificatorZk* Notificator) {
  FNotificators.erase(std::remove(FNotificators.begin(), FNotificators.end(), Notificator),
                      FNotificators.end());
}

void TRecordsViewZk::ViewDataEvent(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action) {
  FCatchChanged = true;
  FAggregates->Recalc();
  if (FOnViewDataEvent) FOnViewDataEvent(MemRec, Index, Action);
  if (!FNotificators.empty())
    ForEachNotificator(FNotificators, [&](TRecordsListNotificatorZk* N) { N->DataEvent(MemRec, Index, Action); });
}

void TRecordsViewZk::ViewRecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex) {
  if (FOnViewRecordMovedEvent) FOnViewRecordMovedEvent(Item, OldIndex, NewIndex);
  if (!FNotificators.empty())
    ForEachNotificator(FNotificators, [&](TRecordsListNotificatorZk* N) { N->RecordMoved(Item, OldIndex, NewIndex); });
}

void TRecordsViewZk::DataEvent(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action) {
  TRecordsListNotificatorZk::DataEvent(MemRec, Index, Action);
  if (Action == rlnListChangedZk && MemTableData() != FRowsData) {
    // Attached to another container (or detached): new row links, new field positions.
    ResetRowList();
    UpdateFields();
  }
  if (Action == rlnListChangingZk && MemRec == nullptr) {
    // The list is about to change as a whole (records may be freed): the rows are rebuilt
    // when it has changed.
    FRows->Clear();
    FMemoryTreeList->ClearTree();
    return;
  }
  if (FDisableFilterCount > 0) return;
  if (FViewAsTreeList)
    TreeDataEvent(MemRec, Action);
  else
    PlainDataEvent(MemRec, Action);
  switch (Action) {
    case rlnRecAddedZk: case rlnRecChangedZk: case rlnRecDeletedZk: case rlnListChangedZk:
    case rlnRecMarkedForDelZk:
      FAggregates->Recalc();
      break;
    default:
      break;
  }
}

void TRecordsViewZk::PlainDataEvent(TMemoryRecordZk* MemRec, TRecordsListNotification Action) {
  switch (Action) {
    case rlnRecAddedZk: {
      if (!IsRecordInView(MemRec, -1)) return;
      std::uint64_t Key = 0;
      const int Row = FindInsertPosition(MemRec, -1, &Key);
      FRows->Insert(std::min(Row, FRows->Count()), MemRec, Key);
      ViewDataEvent(MemRec, Row, rlnRecAddedZk);
      return;
    }
    case rlnRecChangedZk:
    case rlnRecMarkedForDelZk: {
      const int Old = FRows->IndexOf(MemRec);
      if (Old >= 0) FRows->Extract(Old);
      int New = -1;
      if (IsRecordInView(MemRec, -1)) {
        std::uint64_t Key = 0;
        New = std::min(FindInsertPosition(MemRec, Old, &Key), FRows->Count());
        FRows->Insert(New, MemRec, Key);
      }
      if (Old >= 0 && New >= 0) {
        if (Old != New) ViewRecordMoved(MemRec, Old, New);
        ViewDataEvent(MemRec, New, Action);
      } else if (New >= 0) {
        ViewDataEvent(MemRec, New, rlnRecAddedZk);
      } else if (Old >= 0) {
        ViewDataEvent(MemRec, Old, rlnRecDeletedZk);
      }
      return;
    }
    case rlnRecDeletedZk: {
      const int Old = FRows->IndexOf(MemRec);
      if (Old < 0) return;
      FRows->Extract(Old);
      ViewDataEvent(MemRec, Old, rlnRecDeletedZk);
      return;
    }
    case rlnListChangedZk:
      RefreshFilteredRecsList();
      return;
    default:
      return;
  }
}

void TRecordsViewZk::CheckTreeChange(TMemoryRecordZk* MemRec) {
  if (FMemoryTreeList->CheckReferenceLoop(MemRec, Variant())) RaiseReferenceLoop();
  if (FMemoryTreeList->CheckLevelLimit(MemRec, Variant())) RaiseTreeMaxLevel(FMemoryTreeList->MaxLevel());
}

void TRecordsViewZk::TreeDataEvent(TMemoryRecordZk* MemRec, TRecordsListNotification Action) {
  TMemoryTreeListZk* Tree = FMemoryTreeList.get();
  switch (Action) {
    case rlnRecAddingZk:
    case rlnRecChangingZk:
      CheckTreeChange(MemRec);
      return;
    case rlnRecAddedZk: {
      TMemRecViewZk* Node = Tree->AddChildAtKey(String(), MemRec);
      Tree->UpdateNodeState(Node, true);
      break;
    }
    case rlnRecChangedZk: {
      TMemRecViewZk* Node = Tree->NodeOf(MemRec);
      if (Node)
        Tree->UpdateParent(Node);
      else if (MemRec->UpdateStatus() != usDeleted)
        Node = Tree->AddChildAtKey(String(), MemRec);  // a reverted deletion comes back
      if (Node) Tree->UpdateNodeState(Node, true);
      break;
    }
    case rlnRecDeletedZk:
    case rlnRecMarkedForDelZk: {
      TMemRecViewZk* Node = Tree->NodeOf(MemRec);
      if (!Node) return;
      TBaseTreeNodeZk* Parent = Node->Parent();
      Tree->DeleteRecordNode(Node);
      if (Parent && Parent != Tree->Root()) Tree->UpdateNodeState(static_cast<TMemRecViewZk*>(Parent), true);
      break;
    }
    case rlnListChangedZk:
      RebuildMemoryTreeList();
      RefreshFilteredRecsList();
      return;
    default:
      return;
  }
  if (Tree->VisibleItemsObsolete()) ViewDataEvent(nullptr, -1, rlnListChangedZk);
}

// --- record moves ----------------------------------------------------------------------------------

void TRecordsViewZk::RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex) {
  TRecordsListNotificatorZk::RecordMoved(Item, OldIndex, NewIndex);
  if (FViewAsTreeList) {
    TMemRecViewZk* Node = FMemoryTreeList->NodeOf(Item);
    if (!Node || !Node->Parent()) return;
    TBaseTreeNodeZk* Parent = Node->Parent();
    TBaseTreeNodeZk* Before = nullptr;
    for (int I = 0; I < Parent->Count(); ++I) {
      auto* S = static_cast<TMemRecViewZk*>(Parent->Items(I));
      if (S != Node && S->Rec()->Index() > NewIndex) {
        Before = S;
        break;
      }
    }
    if (Before)
      FMemoryTreeList->MoveTo(Node, Before, naInsertZk, true);
    else
      FMemoryTreeList->MoveTo(Node, Parent, naAddChildZk, true);
    ViewDataEvent(nullptr, -1, rlnListChangingZk);
    return;
  }
  PlainRecordMoved(Item, NewIndex);
}

// The rows follow the records list: the moved record's row goes before the first row whose
// record now lies after it. A record moved up with no such row before it keeps its row. A
// sorted view keeps its order: the records list's order does not decide its rows.
void TRecordsViewZk::PlainRecordMoved(TMemoryRecordZk* Item, int NewIndex) {
  const int Row = FRows->IndexOf(Item);
  if (Row < 0 || !FSortOrder.empty()) return;
  int Target = Row;
  bool Up = false;
  for (int I = 0; I < Row; ++I)
    if (FRows->Items(I)->Index() > NewIndex) {
      Target = I;
      Up = true;
      break;
    }
  if (!Up) {
    Target = FRows->Count() - 1;
    for (int I = Row + 1; I < FRows->Count(); ++I)
      if (FRows->Items(I)->Index() > NewIndex) {
        Target = I - 1;
        break;
      }
  }
  if (Target == Row) return;
  FRows->Move(Row, Target);
  ViewDataEvent(nullptr, -1, rlnListChangingZk);
}

// --- the direct aggregate --------------------------------------------------------------------------

Variant TRecordsViewZk::CalcAggrFieldFunc(const String& FieldName, const String& AggrFuncName) const {
  const int Rows = AccountableItemsCount();
  if (FieldName == u"*" && AggrFuncName == u"COUNT") return Rows;
  const int Field = MemTableData() ? MemTableData()->DataStruct()->FieldIndex(FieldName) : -1;
  if (Field < 0) throw Exception(u"Invalid field name: " + FieldName);
  const bool Sum = AggrFuncName == u"SUM", Count = AggrFuncName == u"COUNT",
             Min = AggrFuncName == u"MIN", Max = AggrFuncName == u"MAX", Avg = AggrFuncName == u"AVG";
  if (!(Sum || Count || Min || Max || Avg))
    throw Exception(u"Unsupported aggrigate function: " + AggrFuncName);
  Variant Acc = Min || Max ? Variant::MakeNull() : Variant(0);
  for (int R = 0; R < Rows; ++R) {
    const Variant V = AccountableItems(R)->ValueAt(Field).ToVariant();
    if (V.IsNull()) continue;
    if (Count)
      Acc = Acc + Variant(1);
    else if (Sum || Avg)
      Acc = Acc + V;
    else if (Acc.IsNull() || (Min ? VarLess(V, Acc) : VarLess(Acc, V)))
      Acc = V;
  }
  if (Avg) return Rows == 0 ? Variant::MakeNull() : Acc / Variant(Rows);
  return Acc;
}
