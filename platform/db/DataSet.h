// DataSet.h - TDataSet, the base of every dataset: states, the record-buffer window, the
// navigation and editing sequences, data events, fields and their values.
//
// A descendant dataset plugs in by overriding the protected virtual interface below: it hands
// out record-buffer tokens (AllocRecordBuffer/FreeRecordBuffer), fills them (GetRecord),
// stores bookmarks in them, moves its own cursor (InternalFirst/InternalLast/
// InternalSetToRecord/InternalGotoBookmark), exchanges field values as Variants
// (GetFieldData/SetFieldData), and performs the edits (InternalPost/InternalDelete/...).
// The framework keeps a window of BufferCount buffers (the largest buffer count of the
// attached data links) plus one temporary buffer, and drives the calls in the class
// library's order so that a descendant written against that library works unchanged.
//
// The implementation is split by concern: DataSet.cpp (life cycle, fields, states, events),
// DataSetBuffers.cpp (the buffer window, Resync, bookmarks), DataSetNavigate.cpp,
// DataSetEdit.cpp, DataSetSearch.cpp (Locate/Lookup/field values).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/DBConsts.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Variant.h"

class TDataSet;
class TDataSource;
class TFieldDefs;
class TIndexDefs;
class TParams;
class TStream;

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;
using TDataSetErrorEvent =
    std::function<void(TDataSet* DataSet, EDatabaseError& E, TDataAction& Action)>;
using TFilterRecordEvent = std::function<void(TDataSet* DataSet, bool& Accept)>;

class TDataSet : public TComponent {
  VORENTA_CLASS(TDataSet, TComponent)
public:
  explicit TDataSet(TComponent* AOwner);
  ~TDataSet() override;

  // --- opening and state
  bool Active() const;
  void SetActive(bool Value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return FState; }
  bool Bof() const { return FBOF; }
  bool Eof() const { return FEOF; }
  bool IsEmpty() const;
  bool Modified() const { return FModified; }
  bool CanModify() const { return GetCanModify(); }
  bool DefaultFields() const { return FDefaultFields; }
  bool AutoCalcFields() const { return FAutoCalcFields; }
  void SetAutoCalcFields(bool Value) { FAutoCalcFields = Value; }
  void CheckActive() const;
  void CheckInactive() const;

  // --- navigation
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves by Distance records; returns the distance actually moved.
  int MoveBy(int Distance);
  int RecNo() const { return GetRecNo(); }
  void SetRecNo(int Value) { SetRecNoValue(Value); }
  int RecordCount() const { return GetRecordCount(); }
  virtual bool IsSequenced() const { return true; }
  void Refresh();
  void UpdateCursorPos();
  void CursorPosChanged() { FCurrentRecord = -1; }
  virtual void Resync(TResyncMode Mode);

  // --- bookmarks
  TBookmark Bookmark() const { return GetBookmark(); }
  void SetBookmark(const TBookmark& Value) { GotoBookmark(Value); }
  virtual TBookmark GetBookmark() const;
  void GotoBookmark(const TBookmark& Bookmark);
  void FreeBookmark(TBookmark&) {}
  virtual bool BookmarkValid(const TBookmark& Bookmark) const;
  // Three-way comparison; an empty bookmark sorts first.
  virtual int CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const;
  bool BookmarkAvailable() const;
  int BookmarkSize() const { return FBookmarkSize; }

  // --- editing
  void Append();
  void Insert();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  void CheckBrowseMode();
  // Asks the controls to write pending text into the fields (deUpdateRecord).
  void UpdateRecord();
  void ClearFields();
  void AppendRecord(const std::vector<Variant>& Values) { InsertRecordValues(Values, true); }
  void InsertRecord(const std::vector<Variant>& Values) { InsertRecordValues(Values, false); }
  virtual TUpdateStatus UpdateStatus() const { return usUnmodified; }

  // --- controls
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return FDisableCount != 0; }

  // --- fields
  TFields* Fields() const { return FFields.get(); }
  TFields* AggFields() const { return FAggFields.get(); }
  int FieldCount() const { return FFields->Count(); }
  TFieldDefs* FieldDefs() const { return FFieldDefs.get(); }
  // Created on first use; datasets that know indexes fill it in UpdateIndexDefs.
  TIndexDefs* IndexDefs();
  TField* FindField(const String& FieldName) const;
  TField* FieldByName(const String& FieldName) const;
  TField* FieldByNumber(int FieldNo) const { return FFields->FieldByNumber(FieldNo); }
  // The fields named by a ';' list, in list order (an unknown name raises).
  void GetFieldList(std::vector<TField*>& List, const String& FieldNames) const;
  void GetFieldNames(std::vector<String>& List) const;
  // One field: its value; several: a Variant array in list order.
  Variant FieldValues(const String& FieldNames) const;
  void SetFieldValues(const String& FieldNames, const Variant& Value);
  // Field values as they move between fields and the dataset (see Fields.h).
  virtual bool GetFieldData(TField* Field, Variant* Value) const;
  bool GetFieldData(int FieldNo, Variant* Value) const;
  virtual void SetFieldData(TField* Field, const Variant* Value);
  // A stream over a blob or memo field's bytes (see BlobStream.h); the caller frees it.
  virtual TStream* CreateBlobStream(TField* Field, TBlobStreamMode Mode);
  virtual Variant GetAggregateValue(TField* Field) const;
  // A stamp of the records' contents: it changes whenever a record, the set of records or
  // their order changes (open, close, refresh, filter, post, delete), never on a mere move.
  // 0 when the dataset keeps none; stamps are unique within the process, so text caches over
  // the records can tell a changed dataset from an unchanged one.
  virtual unsigned DataVersion() const { return 0; }
  // The stored values of data field Field for every record in cursor order, read without
  // moving the cursor (Null where a record has none); false when the dataset cannot, and the
  // records are to be walked.
  virtual bool GetFieldColumn(TField* Field, std::vector<Variant>& Values) const;

  // --- searching
  virtual bool Locate(const String& KeyFields, const Variant& KeyValues,
                      TLocateOptions Options);
  // The result fields' values of the first record matching, or Null; the cursor stays.
  virtual Variant Lookup(const String& KeyFields, const Variant& KeyValues,
                         const String& ResultFields);

  // --- filtering (applied by the descendant)
  const String& Filter() const { return FFilterText; }
  void SetFilter(const String& Value) { SetFilterText(Value); }
  bool Filtered() const { return FFiltered; }
  void SetFilteredValue(bool Value) { SetFiltered(Value); }
  TFilterOptions FilterOptions() const { return FFilterOptions; }
  void SetFilterOptionsValue(TFilterOptions Value) { SetFilterOptions(Value); }
  const TFilterRecordEvent& OnFilterRecord() const { return FOnFilterRecord; }
  void SetOnFilterRecordValue(TFilterRecordEvent Value) { SetOnFilterRecord(std::move(Value)); }

  // --- provider support (what a data driver asks of the dataset it reads and resolves to)
  // The dataset's parameters, or nullptr when it has none.
  virtual TParams* PSGetParams() { return nullptr; }
  // ';'-separated key fields: those flagged pfInKey, else the fields of the primary index.
  virtual String PSGetKeyFields();
  // A new copy of the index definitions having every option of IndexTypes (all when empty).
  virtual std::unique_ptr<TIndexDefs> PSGetIndexDefs(TIndexOptions IndexTypes);

  // --- data sources
  int DataSourceCount() const { return static_cast<int>(FDataSources.size()); }
  TDataSource* DataSources(int Index) const { return FDataSources[Index]; }
  bool IsLinkedTo(TDataSource* DataSource) const;
  // The master source of a detail dataset (GetDataSource), or nullptr.
  TDataSource* DataSource() const { return GetDataSource(); }

  // --- events
#define VORENTA_DATASET_EVENT(Name, Type) \
  const Type& Name() const { return F##Name; } \
  void Set##Name(Type Value) { F##Name = std::move(Value); }
  VORENTA_DATASET_EVENT(BeforeOpen, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(AfterOpen, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(BeforeClose, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(AfterClose, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(BeforeInsert, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(AfterInsert, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(BeforeEdit, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(AfterEdit, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(BeforePost, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(AfterPost, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(BeforeCancel, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(AfterCancel, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(BeforeDelete, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(AfterDelete, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(BeforeScroll, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(AfterScroll, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(BeforeRefresh, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(AfterRefresh, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(OnCalcFields, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(OnNewRecord, TDataSetNotifyEvent)
  VORENTA_DATASET_EVENT(OnPostError, TDataSetErrorEvent)
  VORENTA_DATASET_EVENT(OnEditError, TDataSetErrorEvent)
  VORENTA_DATASET_EVENT(OnDeleteError, TDataSetErrorEvent)
#undef VORENTA_DATASET_EVENT

  // Sends a data event to the data sources (and through them to the links).
  virtual void DataEvent(TDataEvent Event, std::intptr_t Info);

protected:
  // ===== the record-buffer window (library algorithms; descendants call, rarely override)
  TRecordBuffer ActiveBuffer() const;
  TRecordBuffer TempBuffer() const { return FBuffers[FRecordCount]; }
  TRecordBuffer CalcBuffer() const { return FCalcBuffer; }
  TRecordBuffer Buffers(int Index) const { return FBuffers[Index]; }
  int BufferCount() const { return FBufferCount; }
  virtual void SetBufferCount(int Value);
  void SetBufListSize(int Value);
  void ClearBuffers();
  void ActivateBuffers();
  void UpdateBufferCount();
  bool GetNextRecord();
  bool GetPriorRecord();
  int GetNextRecords();
  int GetPriorRecords();
  void SetCurrentRecord(int Index);
  // Moves buffer CurIndex to NewIndex, shifting the ones between.
  void MoveBuffer(int CurIndex, int NewIndex);
  int CalcFieldsSize() const { return FCalcFieldsSize; }
  bool InternalCalcFields() const { return FInternalCalcFields; }
  void SetBookmarkSize(int Value) { FBookmarkSize = Value; }
  // A fresh stamp for DataVersion, never handed out before.
  static unsigned NewDataVersion();

  // ===== record buffers and reading (descendants override)
  virtual TRecordBuffer AllocRecordBuffer() = 0;
  virtual void FreeRecordBuffer(TRecordBuffer& Buffer) = 0;
  virtual int GetRecordSize() const { return 0; }
  virtual void InternalInitRecord(TRecordBuffer Buffer) = 0;
  virtual void InitRecord(TRecordBuffer Buffer);
  virtual void ClearCalcFields(TRecordBuffer Buffer);
  virtual TGetResult GetRecord(TRecordBuffer Buffer, TGetMode GetMode, bool DoCheck) = 0;
  virtual bool GetCurrentRecord(TRecordBuffer Buffer) const;

  // ===== bookmarks (descendants override)
  virtual void GetBookmarkData(TRecordBuffer Buffer, TBookmark& Data) const = 0;
  virtual void SetBookmarkData(TRecordBuffer Buffer, const TBookmark& Data) = 0;
  virtual TBookmarkFlag GetBookmarkFlag(TRecordBuffer Buffer) const = 0;
  virtual void SetBookmarkFlag(TRecordBuffer Buffer, TBookmarkFlag Value) = 0;
  virtual void InternalGotoBookmark(const TBookmark& Bookmark) = 0;
  virtual void InternalSetToRecord(TRecordBuffer Buffer);

  // ===== cursor (descendants override)
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  virtual int GetRecordCount() const;
  virtual int GetRecNo() const { return -1; }
  virtual void SetRecNoValue(int Value);
  virtual bool GetCanModify() const { return true; }
  virtual TDataSource* GetDataSource() const { return nullptr; }
  virtual TFieldClass GetFieldClass(TFieldType FieldType) const;

  // ===== open and close
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual bool IsCursorOpen() const = 0;
  virtual void InternalInitFieldDefs() = 0;
  virtual void OpenCursor(bool InfoQuery);
  virtual void CloseCursor();
  void OpenCursorComplete();
  virtual void DoInternalOpen();
  void InitFieldDefs();
  virtual void CreateFields();
  virtual void DestroyFields();
  virtual void BindFields(bool Binding);
  virtual void InternalHandleException();
  virtual void UpdateIndexDefs() {}
  virtual void DefChanged(TObject* Sender);

  // ===== editing (descendants override)
  virtual void InternalAddRecord(TRecordBuffer Buffer, bool Append) = 0;
  virtual void InternalInsert() {}
  virtual void InternalEdit() {}
  virtual void InternalPost();
  virtual void InternalCancel() {}
  virtual void InternalDelete() = 0;
  virtual void InternalRefresh() {}
  virtual void CloseBlob(TField*) {}
  virtual void ResetAggField(TField*) {}
  // Runs Operation with the error event deciding daFail/daAbort/daRetry.
  void CheckOperation(const std::function<void()>& Operation, const TDataSetErrorEvent& Event);
  void CheckCanModify() const;
  void CheckRequiredFields();

  // ===== states
  void SetState(TDataSetState Value);
  TDataSetState SetTempState(TDataSetState Value);
  void RestoreState(TDataSetState Value);
  void SetModified(bool Value) { FModified = Value; }
  void SetBof(bool Value) { FBOF = Value; }
  void SetEof(bool Value) { FEOF = Value; }

  // ===== calculated fields
  void GetCalcFields(TRecordBuffer Buffer);
  virtual void CalculateFields(TRecordBuffer Buffer);
  void RefreshInternalCalcFields(TRecordBuffer Buffer) { (void)Buffer; }

  // ===== filtering hooks (descendants re-filter; the base only stores)
  virtual void SetFiltered(bool Value);
  virtual void SetFilterText(const String& Value);
  virtual void SetFilterOptions(TFilterOptions Value);
  virtual void SetOnFilterRecord(TFilterRecordEvent Value);

  // ===== event hooks (each calls the matching On/Before/After member)
  virtual void DoBeforeOpen();
  virtual void DoAfterOpen();
  virtual void DoBeforeClose();
  virtual void DoAfterClose();
  virtual void DoBeforeInsert();
  virtual void DoAfterInsert();
  virtual void DoBeforeEdit();
  virtual void DoAfterEdit();
  virtual void DoBeforePost();
  virtual void DoAfterPost();
  virtual void DoBeforeCancel();
  virtual void DoAfterCancel();
  virtual void DoBeforeDelete();
  virtual void DoAfterDelete();
  virtual void DoBeforeScroll();
  virtual void DoAfterScroll();
  virtual void DoBeforeRefresh();
  virtual void DoAfterRefresh();
  virtual void DoOnCalcFields();
  virtual void DoOnNewRecord();

  // ===== component model
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Fields the class library names; descendants read them.
  std::vector<TRecordBuffer> FBuffers;
  int FBufferCount = 0;
  int FRecordCount = 0;
  int FActiveRecord = 0;
  int FCurrentRecord = -1;
  bool FBOF = true;
  bool FEOF = true;
  TDataSetState FState = dsInactive;
  bool FModified = false;
  TRecordBuffer FCalcBuffer = 0;
  int FCalcFieldsSize = 0;
  bool FInternalCalcFields = false;
  bool FDefaultFields = false;
  bool FInternalOpenComplete = false;

private:
  friend class TDataSource;
  friend class TDataLink;
  friend class TField;
  friend class TAggregateField;
  friend class TFieldDefs;
  friend class TIndexDefs;

  void SetActiveValue(bool Value);
  void CloseFailedOpen();
  void BeginInsertAppend();
  void EndInsertAppend();
  void InsertRecordValues(const std::vector<Variant>& Values, bool Append);
  void FreeFieldBuffers() {}
  void AddDataSource(TDataSource* Source);
  void RemoveDataSource(TDataSource* Source);
  void AddField(TField* Field);
  void RemoveField(TField* Field);
  bool LocateRecord(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options,
                    bool SyncCursor);
  void NotifySources(TDataEvent Event, std::intptr_t Info);

  std::unique_ptr<TFields> FFields;
  std::unique_ptr<TFields> FAggFields;
  std::unique_ptr<TFieldDefs> FFieldDefs;
  std::unique_ptr<TIndexDefs> FIndexDefs;
  std::vector<TDataSource*> FDataSources;
  int FBookmarkSize = 0;
  int FDisableCount = 0;
  TDataSetState FDisableState = dsInactive;
  TDataEvent FEnableEvent = deDataSetChange;
  bool FAutoCalcFields = true;
  bool FStreamedActive = false;
  String FFilterText;
  bool FFiltered = false;
  TFilterOptions FFilterOptions;
  TFilterRecordEvent FOnFilterRecord;

  TDataSetNotifyEvent FBeforeOpen, FAfterOpen, FBeforeClose, FAfterClose;
  TDataSetNotifyEvent FBeforeInsert, FAfterInsert, FBeforeEdit, FAfterEdit;
  TDataSetNotifyEvent FBeforePost, FAfterPost, FBeforeCancel, FAfterCancel;
  TDataSetNotifyEvent FBeforeDelete, FAfterDelete, FBeforeScroll, FAfterScroll;
  TDataSetNotifyEvent FBeforeRefresh, FAfterRefresh, FOnCalcFields, FOnNewRecord;
  TDataSetErrorEvent FOnPostError, FOnEditError, FOnDeleteError;
};
