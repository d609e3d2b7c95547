// MemTableZk.h - TCustomMemTableZk and TMemTableZk: a dataset whose records live in the
// memory table engine (a data container, a records view over it, an optional data driver).
//
// The table stores no rows itself: every row number is a position in its records view, a
// record buffer is a token into the table's cache of TRecBuf objects (MemTableZk_p.h), and
// field values cross as Variants. It implements the grid contract (IMemTableZk): instant
// read of any row, tree queries, distinct values, record moves and view events.
//
// The unit is split by concern: MemTableZk.cpp (life cycle, buffers, navigation, open and
// close), MemTableZkEdit.cpp (editing, cached updates, fetching), MemTableZkSearch.cpp (sort,
// filter, locate, master-detail), MemTableZkGrid.cpp (instant read, view events, the grid
// contract), MemTableZkValues.cpp (field values).
#pragma once

#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

#include "gridlib/toolkit/MemTableIntfZk.h"
#include "platform/db/DataSet.h"

class TDataDriverZk;
class TDataSetExprParserZk;
class TDataSource;
class TMemTableDataZk;
class TMemRecViewZk;
class TMemoryRecordZk;
class TParams;
class TRecordsViewZk;
class TRecBuf;
class TUpdateErrorZk;
class TMasterDataLinkZk;

VORENTA_ENUM(TMasterDetailSideZk, mdsOnSelfZk, mdsOnProviderZk, mdsOnSelfAfterProviderZk);

using TMemTableChangeFieldValueEventZk =
    std::function<void(TDataSet* MemTable, TField* Field, Variant& Value)>;
class TMemRecViewZk;
// May refuse a tree move: the node, its appointed parent node and records-list position.
using TRecordsViewCheckMoveNodeEventZk =
    std::function<bool(TObject* Sender, TMemRecViewZk* SourceNode, TMemRecViewZk* AppointedParent,
                       int AppointedIndex)>;
using TMTTreeNodeExpandingEventZk =
    std::function<void(TObject* Sender, int RecNo, bool& AllowExpansion)>;

class TCustomMemTableZk : public TDataSet, public IMemTableZk {
  VORENTA_CLASS(TCustomMemTableZk, TDataSet)
public:
  explicit TCustomMemTableZk(TComponent* AOwner);
  ~TCustomMemTableZk() override;

  // --- structure and data
  void CreateDataSet();
  void EmptyTable();
  void DestroyTable();
  TMemTableDataZk* MemTableData() const;
  TRecordsViewZk* RecordsView() const { return FRecordsView.get(); }
  TDataDriverZk* DataDriver() const { return FDataDriver; }
  void SetDataDriver(TDataDriverZk* Value);
  TCustomMemTableZk* ExternalMemData() const { return FExternalMemData; }
  void SetExternalMemData(TCustomMemTableZk* Value);
  bool FetchAllOnOpen() const { return FFetchAllOnOpen; }
  void SetFetchAllOnOpen(bool Value) { FFetchAllOnOpen = Value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TParams* Params() const { return FParams.get(); }
  void SetParams(TParams* Value);

  // --- editing and cached updates
  bool CachedUpdates() const;
  void SetCachedUpdates(bool Value);
  virtual int ApplyUpdates(int MaxErrors);
  void MergeChangeLog();
  void CancelUpdates();
  void RevertRecord();
  void RefreshRecord();
  TUpdateStatus UpdateStatus() const override;
  TUpdateErrorZk* UpdateError() const;
  // Copies up to RecordCount records (-1: all) of Source into the table; answers how many.
  int LoadFromDataSet(TDataSet* Source, int RecordCount, bool UseCachedUpdates);
  // Appends up to RecordCount records (-1: all) to Dest; fields Dest lacks are skipped.
  int SaveToDataSet(TDataSet* Dest, int RecordCount);
  TUpdateStatusSet StatusFilter() const;
  void SetStatusFilter(TUpdateStatusSet Value);

  // --- order, search, master-detail
  const String& SortOrder() const { return FSortOrder; }
  void SetSortOrder(const String& Value);
  bool Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) override;
  Variant Lookup(const String& KeyFields, const Variant& KeyValues,
                 const String& ResultFields) override;
  TDataSource* MasterSource() const;
  void SetMasterSource(TDataSource* Value);
  const String& MasterFields() const;
  void SetMasterFields(const String& Value);
  const String& DetailFields() const { return FDetailFields; }
  void SetDetailFields(const String& Value);
  TMasterDetailSideZk MasterDetailSide() const { return FMasterDetailSide; }
  void SetMasterDetailSide(TMasterDetailSideZk Value) { FMasterDetailSide = Value; }

  // --- bookmarks as row numbers
  static int BookmarkToRecNo(const TBookmark& Bookmark);
  static TBookmark RecNoToBookmark(int RecNo);
  TBookmark GetBookmark() const override;
  bool BookmarkValid(const TBookmark& Bookmark) const override;
  int CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const override;

  // --- tree (the view's record tree)
  bool TreeViewActive() const;
  void SetTreeViewActive(bool Value);
  void SetTreeKeyFields(const String& KeyFieldName, const String& RefParentFieldName);
  TMemRecViewZk* TreeNode() const;
  int TreeNodeLevel() { return GetTreeNodeLevel(); }
  bool TreeNodeExpanded() { return GetTreeNodeExpanded(); }
  void SetTreeNodeExpandedValue(bool Value);
  TRecordsViewCheckMoveNodeEventZk OnRecordsViewCheckMoveNode() const { return FOnCheckMoveNode; }
  void SetOnRecordsViewCheckMoveNode(TRecordsViewCheckMoveNodeEventZk V) { FOnCheckMoveNode = std::move(V); }
  TMTTreeNodeExpandingEventZk OnTreeNodeExpanding() const { return FOnTreeNodeExpanding; }
  void SetOnTreeNodeExpanding(TMTTreeNodeExpandingEventZk Value) {
    FOnTreeNodeExpanding = std::move(Value);
  }

  // --- value hooks
  TMemTableChangeFieldValueEventZk OnGetFieldValue() const { return FOnGetFieldValue; }
  void SetOnGetFieldValue(TMemTableChangeFieldValueEventZk V) { FOnGetFieldValue = std::move(V); }
  TMemTableChangeFieldValueEventZk OnSetFieldValue() const { return FOnSetFieldValue; }
  void SetOnSetFieldValue(TMemTableChangeFieldValueEventZk V) { FOnSetFieldValue = std::move(V); }

  // --- field values (Variants; see MemTableZkValues.cpp)
  bool GetFieldData(TField* Field, Variant* Value) const override;
  void SetFieldData(TField* Field, const Variant* Value) override;
  TStream* CreateBlobStream(TField* Field, TBlobStreamMode Mode) override;
  // An aggregate field's value: its aggregate (the field's Handle) over the view's rows, Null
  // while the aggregates are inactive or no state buffer exists.
  Variant GetAggregateValue(TField* Field) const override;
  void DataEvent(TDataEvent Event, std::intptr_t Info) override;

  // --- the grid contract
  int FetchRecords(int Count) override;
  int GetInstantReadCurRow() override;
  bool ReservedQuery() override { return false; }
  bool GetTreeNodeExpanded() override;
  bool GetTreeNodeHasChildren() override;
  int GetTreeNodeLevel() override;
  int GetPrevNodeLevel() override;
  int GetNextNodeLevel() override;
  TMemoryRecordZk* GetRec() override;
  int InstantReadIndexOfBookmark(const TBookmark& Bookmark) override;
  int InstantReadRowCount() override;
  bool GetTreeViewMode() override;
  bool ParentHasNextSibling(int Level) override;
  bool GotoRec(TMemoryRecordZk* Rec) override;
  int SetTreeNodeExpanded(int RowNum, bool Value) override;
  std::unique_ptr<IMemTableDataFieldValueListZk> GetFieldValueList(
      const String& FieldName) override;
  bool MoveRecords(TBMListZk* BookmarkList, int ToRecNo, int TreeLevel, bool CheckOnly) override;
  void InstantReadEnter(int RowNum) override;
  void InstantReadEnter(TMemoryRecordZk* MemRec, int RowNum);
  void InstantReadLeave() override;
  void RegisterEventReceiver(TComponent* Receiver) override;
  void UnregisterEventReceiver(TComponent* Receiver) override;
  int InstantReadCurRow() { return GetInstantReadCurRow(); }
  bool InstantReadMode() const { return !FInstantBuffers.empty(); }

  // The deferred-resync bracket: Resync inside it only notes the request.
  void LockViewResync() { ++FRecordsViewUpdating; }
  void UnlockViewResync(bool DoResync);
  void Resync(TResyncMode Mode) override;
  // The driver's structure changed (a new driver, a new select text).
  void DriverStructChanged();

protected:
  // --- buffers and reading
  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& Buffer) override;
  int GetRecordSize() const override { return 65535; }
  void InternalInitRecord(TRecordBuffer Buffer) override;
  void InitRecord(TRecordBuffer Buffer) override;
  void ClearCalcFields(TRecordBuffer Buffer) override;
  TGetResult GetRecord(TRecordBuffer Buffer, TGetMode GetMode, bool DoCheck) override;
  bool GetCurrentRecord(TRecordBuffer) const override { return false; }
  void GetBookmarkData(TRecordBuffer Buffer, TBookmark& Data) const override;
  void SetBookmarkData(TRecordBuffer Buffer, const TBookmark& Data) override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer Buffer) const override;
  void SetBookmarkFlag(TRecordBuffer Buffer, TBookmarkFlag Value) override;
  void InternalGotoBookmark(const TBookmark& Bookmark) override;
  void InternalSetToRecord(TRecordBuffer Buffer) override;
  void InternalFirst() override;
  void InternalLast() override;
  int GetRecordCount() const override;
  int GetRecNo() const override;
  void SetRecNoValue(int Value) override;
  bool GetCanModify() const override { return !FReadOnly; }
  TDataSource* GetDataSource() const override { return MasterSource(); }

  // --- open and close
  void OpenCursor(bool InfoQuery) override;
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return FActive; }
  void InternalInitFieldDefs() override;
  void CreateFields() override;
  virtual void BuildIndexesFromDefs();
  void ResetAggField(TField* Field) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // --- editing
  void InternalAddRecord(TRecordBuffer Buffer, bool Append) override;
  void InternalInsert() override;
  void InternalPost() override;
  void InternalCancel() override;
  void InternalDelete() override;
  void InternalRefresh() override;
  void DoOnNewRecord() override;
  virtual void StoreBufferInRecord(TRecordBuffer Buffer, TMemoryRecordZk* Rec);
  virtual int ApplyDataChanges(TMemTableDataZk* Data, int MaxErrors);

  // --- filtering
  void SetFiltered(bool Value) override;
  void SetFilterText(const String& Value) override;
  void SetOnFilterRecord(TFilterRecordEvent Value) override;

  // --- values and view events
  virtual bool StateRecBuf(TRecBuf*& RecBuf, bool ForWrite) const;
  virtual void BroadcastViewEvent(int RowNum, TMTViewEventTypeZk Event, int OldRowNum);

private:
  friend class TMasterDataLinkZk;
  friend class TMemTableDataFieldValueListZk;
  TRecBuf& RecBufOf(TRecordBuffer Buffer) const;
  TMemTableDataZk* ViewData() const;
  String CheckFieldsForCreate() const;
  void FillBufferFromRecord(TMemoryRecordZk* Rec, int RowNum, TRecordBuffer Buffer);
  int ViewCount() const;
  TMemoryRecordZk* ViewRecord(int Row) const;
  int ViewIndexToRowNum(int Index) const;
  void ViewDataEvent(TMemoryRecordZk* Rec, int Index, int Action);
  void ViewRecordMoved(int OldIndex, int NewIndex);
  void ReplayInactiveEvent();
  void RebuildBuffers();
  int FetchFromDriver(int Count);
  bool FilterMemRecord(TMemoryRecordZk* Rec);
  void ParseFilter();
  int FindRec(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options);
  bool RowMatches(const std::vector<TField*>& Fields, const Variant& KeyValues,
                  TLocateOptions Options);
  void UpdateDetailMode(bool Reload);
  void MasterRecordChanged();
  bool SetReaderParamsFromMaster();
  void ReadDetailFromProvider();
  Variant MasterValues() const;
  void ClearData();
  void CheckTreeMode() const;
  bool MoveTreeRecord(int FromIndex, int ToIndex, int TreeLevel, bool CheckOnly);
  bool MoveTreeNode(TMemRecViewZk* Node, TMemRecViewZk* Target, int Rule, bool CheckOnly);

  std::vector<std::unique_ptr<TRecBuf>> FRecordCache;
  std::vector<TComponent*> FEventReceivers;
  std::vector<TRecordBuffer> FInstantBuffers;
  std::unique_ptr<TMemTableDataZk> FInternMemTableData;
  std::unique_ptr<TRecordsViewZk> FRecordsView;
  std::unique_ptr<TDataSetExprParserZk> FFilterExpr;
  std::unique_ptr<TParams> FParams;
  std::unique_ptr<TMasterDataLinkZk> FMasterDataLink;
  TDataDriverZk* FDataDriver = nullptr;
  TDataSet* FDataSetReader = nullptr;
  TCustomMemTableZk* FExternalMemData = nullptr;
  bool FActive = false;
  bool FReadOnly = false;
  bool FFetchAllOnOpen = false;
  bool FStateInsert = false;
  bool FDetailMode = false;
  bool FFilterFailed = false;
  int FRecordPos = -1;
  int FInstantReadCurRowNum = -1;
  int FRecordsViewUpdating = 0;
  bool FRecordsViewUpdated = false;
  int FInactiveCount = 0;
  int FInactiveEventRowNum = -1;
  TMTViewEventTypeZk FInactiveEvent = mtViewDataChangedZk;
  int FInactiveEventOldRowNum = -1;
  bool FOldControlsDisabled = false;
  bool FOldActive = false;
  TMasterDetailSideZk FMasterDetailSide = mdsOnSelfZk;
  String FDetailFields;
  std::vector<TField*> FDetailFieldList;
  Variant FMasterValues;
  std::vector<Variant> FMasterValList;  // master values the provider was asked for (after-provider side)
  std::vector<TMemoryRecordZk*> FDetailRecList;
  std::unordered_set<const TMemoryRecordZk*> FDetailRecSet;  // the same records, for membership
  bool FDetailRecListActive = false;
  String FSortOrder;
  TMemTableChangeFieldValueEventZk FOnGetFieldValue;
  TMemTableChangeFieldValueEventZk FOnSetFieldValue;
  TMTTreeNodeExpandingEventZk FOnTreeNodeExpanding;
  TRecordsViewCheckMoveNodeEventZk FOnCheckMoveNode;
};

class TMemTableZk : public TCustomMemTableZk {
  VORENTA_CLASS(TMemTableZk, TCustomMemTableZk)
public:
  using TCustomMemTableZk::TCustomMemTableZk;
  bool AggregatesActive() const;
  void SetAggregatesActive(bool Value);
};

void RegisterMemTableClasses();
