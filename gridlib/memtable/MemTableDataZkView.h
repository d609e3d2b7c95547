// MemTableDataZkView.h - the records view (the rows a memory table shows: a filtered and
// sorted list of records, or the visible nodes of a key / parent-key tree), its aggregates,
// and the record tree.
//
// The view's rows are a blocked list whose records point at their block, so a record's row
// is found without a scan and one row changes in O(sqrt n). The tree keeps a map from a
// record to its node and maps from key values to nodes, so placing a record (and adopting
// the nodes that wait for it) costs O(1) lookups. Aggregates are recomputed when read after
// a change.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "gridlib/memtable/MTOrderByZk.h"
#include "gridlib/memtable/MemTableDataZk.h"
#include "gridlib/memtable/MemTableDataZkExpr.h"
#include "gridlib/memtable/MemTreeZk.h"
#include "gridlib/memtable/RecBlockListZk.h"

class TAggregateField;
class TRecordsViewZk;
class TMemoryTreeListZk;

// --- the record tree ------------------------------------------------------------------------

// A tree node standing for one record.
class TMemRecViewZk : public TBaseTreeNodeZk {
public:
  explicit TMemRecViewZk(TTreeListZk* AOwner) : TBaseTreeNodeZk(AOwner) {}
  ~TMemRecViewZk() override;
  TMemoryRecordZk* Rec() const { return static_cast<TMemoryRecordZk*>(Data()); }
  TMemoryTreeListZk* NodeOwner() const;
  TMemRecViewZk* NodeParent() const { return static_cast<TMemRecViewZk*>(Parent()); }
  int NodesCount() const { return Count(); }
  int VisibleNodesCount() const { return GetVisibleCount(); }
  bool NodeExpanded() const { return Expanded(); }
  void SetNodeExpanded(bool Value) { SetExpanded(Value); }
  bool NodeHasChildren() const { return HasChildren(); }
  void SetNodeHasChildren(bool Value) { SetHasChildren(Value); }
  // Sorts the children (not recursively) by an ORDER BY text through the view's events.
  void SortByFields(const String& SortByStr);

private:
  // The key and parent values the node is filed under in the tree's maps.
  Variant FKey;
  Variant FParentKey;
  // The node's view row, valid while FRowGeneration is the tree's present one.
  int FVisibleRow = -1;
  unsigned FRowGeneration = 0;
  friend class TMemoryTreeListZk;
};

struct TVariantKeyHashZk {
  std::size_t operator()(const Variant& V) const;
};
struct TVariantKeyEqualZk {
  bool operator()(const Variant& A, const Variant& B) const;
};

class TMemoryTreeListZk : public TTreeListZk {
public:
  explicit TMemoryTreeListZk(TRecordsViewZk* AView);
  ~TMemoryTreeListZk() override;

  TRecordsViewZk* RecordsView() const { return FRecordsViewZk; }
  bool DefaultNodeExpanded() const { return FDefaultNodeExpanded; }
  void SetDefaultNodeExpanded(bool Value) { FDefaultNodeExpanded = Value; }
  bool DefaultNodeHasChildren() const { return FDefaultNodeHasChildren; }
  void SetDefaultNodeHasChildren(bool Value) { FDefaultNodeHasChildren = Value; }
  // Held for the table's settings; the placement rules do not consult it.
  TMemRecViewZk* DefaultParentNode() const { return FDefaultParentNode; }
  void SetDefaultParentNode(TMemRecViewZk* Value) { FDefaultParentNode = Value; }
  bool FullBuildCheck() const { return FFullBuildCheck; }
  void SetFullBuildCheck(bool Value) { FFullBuildCheck = Value; }
  bool FilterNodeIfParentVisible() const { return FFilterNodeIfParentVisible; }
  void SetFilterNodeIfParentVisible(bool Value) { FFilterNodeIfParentVisible = Value; }
  const String& SortOrder() const { return FSortOrder; }
  // Parses first (an error changes nothing), then re-sorts every level.
  void SetSortOrder(const String& Value);
  bool VisibleItemsObsolete() const { return FVisibleItemsObsolete; }
  void MarkObsolete() { FVisibleItemsObsolete = true; }

  // The view's rows (visible nodes along expanded paths) and accountable rows (all visible).
  int VisibleCount();
  int AccountableCount();
  TMemRecViewZk* GetVisibleNode(int Index);
  TMemRecViewZk* GetAccountableNode(int Index);
  // The row of a node among the visible rows, or -1.
  int VisibleIndexOf(const TMemRecViewZk* Node);
  void BuildVisibleItems();

  // The node of a record, or nullptr.
  TMemRecViewZk* NodeOf(const TMemoryRecordZk* Rec) const;
  // The node of the record whose key equals Value, or nullptr.
  TMemRecViewZk* NodeAtKey(const Variant& Value) const;
  // Places a record's node under the node of its parent key (top level when there is none)
  // and, with FullBuildCheck, moves the nodes waiting for this key under it.
  TMemRecViewZk* AddChildAtKey(const String& Name, TMemoryRecordZk* MemRecord);
  // Moves a changed record's node where its key and parent key now put it.
  void UpdateParent(TMemRecViewZk* Node);
  // Deletes a record's node; its children are placed again by their parent keys.
  void DeleteRecordNode(TMemRecViewZk* Node);
  void UpdateNodeState(TMemRecViewZk* Node, bool IsUpdateParent);
  void UpdateNodesState(TBaseTreeNodeZk* Parent);
  void ShowChildrenOfVisibleLeaves(TBaseTreeNodeZk* Node);
  void SetSubtreeVisible(TBaseTreeNodeZk* Node, bool Value, bool Recurse);
  void Resort();
  // Whether giving MemRecord the parent value NewRefValue (Empty: its own) would make a loop
  // or a chain deeper than the tree allows.
  bool CheckReferenceLoop(const TMemoryRecordZk* MemRecord, const Variant& NewRefValue) const;
  bool CheckLevelLimit(const TMemoryRecordZk* MemRecord, const Variant& NewRefValue) const;
  // Records of a node's children, each followed (ARecurse) by its own descendants.
  void GetRecordsList(std::vector<TMemoryRecordZk*>& List, TBaseTreeNodeZk* Node, bool ARecurse) const;
  void ClearTree();

  int CompareTreeNodes(TBaseTreeNodeZk* Node1, TBaseTreeNodeZk* Node2, void* ParamSort) override;
  void MoveTo(TBaseTreeNodeZk* Node, TBaseTreeNodeZk* Destination, TNodeAttachModeZk Mode,
              bool ReIndex) override;
  void SortData(const TCompareNodesZk& CompareProg, void* ParamSort, bool ARecurse) override;
  bool ExpandedChanging(TBaseTreeNodeZk* Node) override;
  void ExpandedChanged(TBaseTreeNodeZk* Node) override;

private:
  friend class TMemRecViewZk;
  Variant KeyValues(const TMemoryRecordZk* Rec) const;
  Variant ParentValues(const TMemoryRecordZk* Rec) const;
  TBaseTreeNodeZk* ParentNodeFor(const Variant& ParentKey) const;
  // The child position at which Rec belongs among Parent's children by records-list
  // position; -1 for the end.
  int GetIndexForNode(const TMemoryRecordZk* Rec, TBaseTreeNodeZk* ParentNode) const;
  void PlaceUnder(TMemRecViewZk* Node, TBaseTreeNodeZk* Parent);
  void FileNode(TMemRecViewZk* Node);
  void UnfileNode(TMemRecViewZk* Node);
  void AdoptWaitingNodes(TMemRecViewZk* Node);
  void NodeFreed(TMemRecViewZk* Node);

  TRecordsViewZk* FRecordsViewZk;
  bool FDefaultNodeExpanded = false;
  bool FDefaultNodeHasChildren = false;
  TMemRecViewZk* FDefaultParentNode = nullptr;
  bool FFullBuildCheck = false;
  bool FFilterNodeIfParentVisible = true;
  bool FClearing = false;
  std::vector<TMemRecViewZk*> FVisibleExpandedItems;
  std::vector<TMemRecViewZk*> FVisibleItems;
  bool FVisibleItemsObsolete = true;
  unsigned FRowGeneration = 1;
  String FSortOrder;
  TMemoryTreeListOrderByList FOrderByList{this};
  std::unordered_map<const TMemoryRecordZk*, TMemRecViewZk*> FNodeOfRec;
  std::unordered_multimap<Variant, TMemRecViewZk*, TVariantKeyHashZk, TVariantKeyEqualZk> FByKey;
  std::unordered_multimap<Variant, TMemRecViewZk*, TVariantKeyHashZk, TVariantKeyEqualZk> FByParentKey;
};

// --- aggregates -----------------------------------------------------------------------------

class TMTAggregateZk {
public:
  explicit TMTAggregateZk(TRecordsViewZk* AView);
  // Clears the Handle of the aggregate field bound to it.
  ~TMTAggregateZk();
  TMTAggregateZk(const TMTAggregateZk&) = delete;
  TMTAggregateZk& operator=(const TMTAggregateZk&) = delete;
  // Binds the aggregate to a dataset's aggregate field: takes its Active and Expression.
  void AssignField(TAggregateField* Field);
  TAggregateField* Field() const { return FField; }
  void ForgetField() { FField = nullptr; }
  bool Active() const { return FActive; }
  // A failing first calculation leaves the aggregate inactive and re-raises.
  void SetActive(bool Value);
  const String& Expression() const { return FExpression; }
  void SetExpression(const String& Value);
  bool InUse() const { return FInUse; }
  TFieldType DataType() const { return FDataType; }
  // The value, computed again first when the view changed since the last read.
  Variant Value();
  void Reset();
  void Recalc();
  void MarkObsolete() { FObsolete = true; }

private:
  TRecordsViewZk* FView;
  TAggregateField* FField = nullptr;
  bool FActive = false;
  String FExpression;
  std::unique_ptr<TDataSetExprParserZk> FAggrExpr;
  TFieldType FDataType = ftUnknown;
  bool FInUse = false;
  bool FObsolete = true;
  Variant FValue = Variant::MakeNull();
};

class TMTAggregatesZk {
public:
  explicit TMTAggregatesZk(TRecordsViewZk* AOwner) : FOwner(AOwner) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TMTAggregateZk* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
  TMTAggregateZk* Add();
  void Clear() { FItems.clear(); }
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  // Builds one aggregate per aggregate field of the view's dataset (each field's Handle),
  // or, with no such fields, resets the aggregates added by hand. DataSetOpen False leaves
  // every aggregate out of use (Null) while the dataset is closed.
  void Reset(bool DataSetOpen = true);
  bool DataSetOpen() const { return FDataSetOpen; }
  // Marks every value obsolete: each is computed again when read.
  void Recalc();

private:
  TRecordsViewZk* FOwner;
  bool FActive = false;
  bool FDataSetOpen = true;
  std::vector<std::unique_ptr<TMTAggregateZk>> FItems;
};

// --- the records view -------------------------------------------------------------------------

using TRecordsViewFilterEventZk = std::function<bool(TMemoryRecordZk* Rec)>;
using TGetPrefilteredListEventZk = std::function<const std::vector<TMemoryRecordZk*>*()>;
using TParseOrderByStrEventZk = std::function<std::unique_ptr<TOrderByList>(const String& OrderByStr)>;

class TRecordsViewZk : public TRecordsListNotificatorZk, public INotificatorHostZk {
  VORENTA_CLASS(TRecordsViewZk, TRecordsListNotificatorZk)
public:
  explicit TRecordsViewZk(TDataSet* ADataSet);
  ~TRecordsViewZk() override;

  TDataSet* DataSet() const { return FDataSet; }
  TMemTableDataZk* MemTableData() const { return dynamic_cast<TMemTableDataZk*>(DataObject()); }
  void SetMemTableData(TMemTableDataZk* Value) { SetDataObject(Value); }
  TMTAggregatesZk* Aggregates() const { return FAggregates.get(); }
  bool CatchChanged() const { return FCatchChanged; }
  void SetCatchChanged(bool Value) { FCatchChanged = Value; }
  TMemoryTreeListZk* MemoryTreeList() const { return FMemoryTreeList.get(); }
  const String& SortOrder() const { return FSortOrder; }
  // Parses first: a parse error re-raises and keeps the old text and order.
  void SetSortOrder(const String& Value);
  const TOrderByList& OrderByList() const { return FOrderByList; }
  TUpdateStatusSet StatusFilter() const { return FStatusFilter; }
  void SetStatusFilter(TUpdateStatusSet Value);
  const String& TreeViewKeyFieldName() const { return FTreeViewKeyFieldName; }
  void SetTreeViewKeyFieldName(const String& Value);
  const String& TreeViewRefParentFieldName() const { return FTreeViewRefParentFieldName; }
  void SetTreeViewRefParentFieldName(const String& Value);
  const std::vector<int>& TreeViewKeyFields() const { return FTreeViewKeyFields; }
  const std::vector<int>& TreeViewRefParentFields() const { return FTreeViewRefParentFields; }
  bool ViewAsTreeList() const { return FViewAsTreeList; }
  void SetViewAsTreeList(bool Value);

  TCompareRecords OnCompareRecords() const { return FOnCompareRecords; }
  void SetOnCompareRecords(TCompareRecords Value) { FOnCompareRecords = std::move(Value); }
  TCompareNodesZk OnCompareTreeNode() const { return FOnCompareTreeNode; }
  void SetOnCompareTreeNode(TCompareNodesZk Value) { FOnCompareTreeNode = std::move(Value); }
  TRecordsViewFilterEventZk OnFilterRecord() const { return FOnFilterRecord; }
  void SetOnFilterRecord(TRecordsViewFilterEventZk Value) { FOnFilterRecord = std::move(Value); }
  TGetPrefilteredListEventZk OnGetPrefilteredList() const { return FOnGetPrefilteredList; }
  void SetOnGetPrefilteredList(TGetPrefilteredListEventZk Value) {
    FOnGetPrefilteredList = std::move(Value);
  }
  TParseOrderByStrEventZk OnParseOrderByStr() const { return FOnParseOrderByStr; }
  void SetOnParseOrderByStr(TParseOrderByStrEventZk Value) { FOnParseOrderByStr = std::move(Value); }
  TRecordsListNotificatorDataEventZk OnViewDataEvent() const { return FOnViewDataEvent; }
  void SetOnViewDataEvent(TRecordsListNotificatorDataEventZk Value) {
    FOnViewDataEvent = std::move(Value);
  }
  TRecordsListRecordMovedEventZk OnViewRecordMovedEvent() const { return FOnViewRecordMovedEvent; }
  void SetOnViewRecordMovedEvent(TRecordsListRecordMovedEventZk Value) {
    FOnViewRecordMovedEvent = std::move(Value);
  }

  // --- rows ---------------------------------------------------------------------------------
  int Count() const;
  int ViewItemsCount() const { return Count(); }
  int AccountableItemsCount() const;
  TMemoryRecordZk* ViewItems(int Index) const;
  TMemoryRecordZk* AccountableItems(int Index) const;
  // The view row showing Rec, or -1 (no scan outside tree mode).
  int IndexOf(const TMemoryRecordZk* Rec) const;
  TMemoryRecordZk* NewRecord();
  void AddRecord(TMemoryRecordZk* Rec);
  void DeleteRecord(int Index);
  // Inserts before the record of row Index; Index equal to the row count appends.
  void InsertRecord(int Index, TMemoryRecordZk* Rec);
  void RevertRecord(int Index);
  void RefreshRecord(int Index, const TMemoryRecordZk* Rec);
  void MergeChangeLog();
  void CancelUpdates();
  void LockCachedUpdates();
  void UnlockCachedUpdates();
  bool CachedUpdates() const { return FCachedUpdates; }
  void SetCachedUpdates(bool Value);
  void InstantDisableFilter() { ++FDisableFilterCount; }
  void InstantEnableFilter() { if (FDisableFilterCount > 0) --FDisableFilterCount; }
  void RefreshFilteredRecsList();
  void RebuildMemoryTreeList();
  // The view's comparison: the ORDER BY (OnCompareRecords, or the data-field comparison of
  // CompareRecordsByOrder) or, without one, the records-list positions.
  int CompareRecords(TMemoryRecordZk* Rec1, TMemoryRecordZk* Rec2) const;
  // Where Rec belongs among the rows; Hint is tried first (-1: none). Key receives what the
  // rows keep beside Rec (RecBlockListZk.h): its sort-key prefix, or 0.
  int FindInsertPosition(TMemoryRecordZk* Rec, int Hint, std::uint64_t* Key = nullptr) const;
  void SortData(void* ParamSort, const TCompareRecords& Compare);
  // SUM, COUNT, MIN, MAX or AVG over the view's rows (accountable rows in tree mode); Nulls
  // are skipped, AVG divides by every row and is Null over no row.
  Variant CalcAggrFieldFunc(const String& FieldName, const String& AggrFuncName) const;

  virtual bool IsRecordInView(TMemoryRecordZk* Rec, int Index);
  void RegisterNotificator(TRecordsListNotificatorZk* Notificator) override;
  void UnregisterNotificator(TRecordsListNotificatorZk* Notificator) override;
  virtual void ViewDataEvent(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action);
  virtual void ViewRecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex);
  virtual void Resort();
  virtual void UpdateFields();

  void DataEvent(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action) override;
  void RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex) override;

private:
  void PlainDataEvent(TMemoryRecordZk* MemRec, TRecordsListNotification Action);
  void TreeDataEvent(TMemoryRecordZk* MemRec, TRecordsListNotification Action);
  void CheckTreeChange(TMemoryRecordZk* MemRec);
  void PlainRecordMoved(TMemoryRecordZk* Item, int NewIndex);
  void ResetRowList();
  void SortByOrderList(std::vector<TMemoryRecordZk*>& Rows, std::vector<std::uint64_t>& Keys) const;
  // The field whose sort-key prefixes the rows keep: the first ORDER BY item when the view
  // orders its rows itself and that field holds text; else -1.
  int KeyField() const;
  // Whether the rows' keys are those of KeyField's values.
  bool RowsKeyed() const { return FRows->Keyed() && FKeysField >= 0 && FKeysField == KeyField(); }

  TDataSet* FDataSet;
  TMemTableDataZk* FRowsData = nullptr;  // the container FRows was made for
  std::unique_ptr<TRecBlockListZk> FRows;
  int FKeysField = -1;  // the field the rows' keys were made from
  std::unique_ptr<TMTAggregatesZk> FAggregates;
  bool FCachedUpdates = true;
  int FCachedUpdatesLockCount = 0;
  bool FCatchChanged = false;
  TRecordsViewOrderByList FOrderByList{this};
  String FSortOrder;
  String FTreeViewKeyFieldName;
  std::vector<int> FTreeViewKeyFields;
  String FTreeViewRefParentFieldName;
  std::vector<int> FTreeViewRefParentFields;
  bool FViewAsTreeList = false;
  TUpdateStatusSet FStatusFilter{usUnmodified, usModified, usInserted};
  std::vector<TRecordsListNotificatorZk*> FNotificators;
  int FDisableFilterCount = 0;
  std::unique_ptr<TMemoryTreeListZk> FMemoryTreeList;
  TCompareRecords FOnCompareRecords;
  TCompareNodesZk FOnCompareTreeNode;
  TRecordsViewFilterEventZk FOnFilterRecord;
  TGetPrefilteredListEventZk FOnGetPrefilteredList;
  TParseOrderByStrEventZk FOnParseOrderByStr;
  TRecordsListNotificatorDataEventZk FOnViewDataEvent;
  TRecordsListRecordMovedEventZk FOnViewRecordMovedEvent;
};
