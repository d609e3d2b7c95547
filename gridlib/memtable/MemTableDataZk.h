// MemTableDataZk.h - the memory table's data container: its records (current, old and edit
// copies of the values), the records list with its edit cycle and change log, the observers
// that follow record events, and the auto-increment counter. The field structure is in
// MemTableDataZkFields.h, the indexes in MTIndexZk.h.
//
// A record's values are packed into one block per version (PackedValuesZk.h), in structure
// order. The old values exist only while a change is pending in the change log, the edit copy
// only between Edit and Post.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <vector>

#include "gridlib/memtable/MemTableDataZkFields.h"
#include "gridlib/memtable/PackedValuesZk.h"
#include "gridlib/memtable/RecBlockListZk.h"
#include "platform/classes/Component.h"
#include "platform/db/DBConsts.h"
#include "platform/rtl/Variant.h"

class TRecordsListZk;
class TMTIndexesZk;
class TMemTableDataZk;
class TRecordsListNotificatorZk;
class TRecordArenaZk;
class TStream;

using TRecDataValues = TPackedValuesZk;

enum TRecordEditStateZk { resBrowseZk, resEditZk, resInsertZk };

enum TDataValueVersionZk {
  dvvOldValueZk, dvvCurValueZk, dvvEditValueZk, dvvValueZk, dvvOldestValue, dvvRefreshValue
};

enum TRecordsListNotification {
  rlnRecAddingZk, rlnRecAddedZk, rlnRecChangingZk, rlnRecChangedZk, rlnRecDeletingZk,
  rlnRecDeletedZk, rlnListChangingZk, rlnListChangedZk, rlnRecMarkingForDelZk,
  rlnRecMarkedForDelZk
};

// The error a data driver met while applying a record's change; owns the exception.
class TUpdateErrorZk {
public:
  explicit TUpdateErrorZk(std::unique_ptr<Exception> E) : FException(std::move(E)) {}
  Exception* ExceptionObject() const { return FException.get(); }

private:
  std::unique_ptr<Exception> FException;
};

class TMemoryRecordZk : public TPersistent {
  VORENTA_CLASS(TMemoryRecordZk, TPersistent)
public:
  ~TMemoryRecordZk() override;

  // The position in the records list's active list, or -1.
  int Index() const;
  bool Attached() const { return FListLink != nullptr; }
  TMTDataStructZk* DataStruct() const;
  unsigned HashCode() const { return FHashCode; }
  TRecordsListZk* RecordsList() const { return FRecordsList; }
  const TRecDataValues* OldData() const { return FHasSide ? SidePart()->OldData.get() : nullptr; }
  TUpdateErrorZk* UpdateError() const { return FHasSide ? SidePart()->UpdateError.get() : nullptr; }
  void SetUpdateError(std::unique_ptr<TUpdateErrorZk> Value);
  int UpdateIndex() const { return FHasSide ? SidePart()->UpdateIndex : -1; }
  void SetUpdateIndex(int Value);
  TUpdateStatus UpdateStatus() const { return static_cast<TUpdateStatus>(FUpdateStatus); }
  void SetUpdateStatus(TUpdateStatus Value) { FUpdateStatus = static_cast<std::uint8_t>(Value); }
  TRecordEditStateZk EditState() const { return static_cast<TRecordEditStateZk>(FEditState); }
  bool EditChanged() const { return FEditChanged; }
  void SetEditChanged(bool Value) { FEditChanged = Value; }
  bool HasEditValues() const { return FHasSide && SidePart()->EditValues; }

  void Edit();
  void Post();
  void Cancel();
  void MergeChanges();
  void RevertRecord();
  void RefreshRecord(const TMemoryRecordZk* Rec);

  Variant GetDataValue(int Index, TDataValueVersionZk Version) const;
  void SetDataValue(int Index, TDataValueVersionZk Version, const Variant& Value);
  // A ';' list gives a variant array (lower bound 0); one name its value.
  Variant GetDataValues(const String& FieldNames, TDataValueVersionZk Version) const;
  void SetDataValues(const String& FieldNames, TDataValueVersionZk Version, const Variant& Value);
  // One position gives its value, several a variant array.
  Variant GetIndexedDataValues(const std::vector<int>& Indexes, TDataValueVersionZk Version) const;
  // A current value read in place (no Variant built): for comparisons on hot paths.
  TPackedValueZk ValueAt(int Index) const { return TRecDataValues::AtOf(MarkedValues(), Index); }
  int ValueCount() const { return TRecDataValues::CountOf(MarkedValues()); }

  // The link slots of the records list and of the first records view (RecBlockListZk.h).
  TRecBlockListZk::TBlock* FListLink = nullptr;
  TRecBlockListZk::TBlock* FViewLink = nullptr;

  // A record and the room for its values are one place in its list's arena (PackedValuesZk.h,
  // RecordArenaZk.h): the record is made with room for its values and frees both at once.
  static void operator delete(TMemoryRecordZk* P, std::destroying_delete_t);

private:
  // RoomBytes: the room placed behind the record; SizeClass: its place's class in the arena.
  TMemoryRecordZk(TRecordsListZk* AList, std::size_t RoomBytes, std::uint8_t SizeClass);
  TMemoryRecordZk(TRecordsListZk* AList, const TRecDataValues& Values, std::size_t RoomBytes,
                  std::uint8_t SizeClass);
  TMemoryRecordZk(TRecordsListZk* AList, TPackedValuesAppenderZk& Values, std::size_t RoomBytes,
                  std::uint8_t SizeClass);
  unsigned char* RoomStart() const {
    return reinterpret_cast<unsigned char*>(const_cast<TMemoryRecordZk*>(this)) + sizeof(TMemoryRecordZk);
  }
  // The current values' block, marked as TPackedValuesZk marks it: in the room (no pointer is
  // kept for that), or on the heap with its address in the first bytes of the room, which the
  // block left for good.
  unsigned char* MarkedValues() const {
    if (!FValuesOnHeap) return TRecDataValues::MarkInRoom(RoomStart());
    unsigned char* Block;
    std::memcpy(&Block, RoomStart(), sizeof Block);
    return Block;
  }
  void KeepValues(unsigned char* MarkedBlock) {
    FValuesOnHeap = !TRecDataValues::InRoom(MarkedBlock);
    if (FValuesOnHeap) std::memcpy(RoomStart(), &MarkedBlock, sizeof MarkedBlock);
  }
  class TCurrentValues;
  // The saved values a version reads (old or edit values), or nullptr for the current ones.
  const TRecDataValues* SavedValues(TDataValueVersionZk Version) const;
  void CheckIndex(int Index) const;

  // What a record has only while a change is logged or an edit is under way. It is kept in a
  // map beside the records, found by the record's address when FHasSide is set: a million
  // records in browse state carry one bit for it.
  struct TSide {
    std::unique_ptr<TRecDataValues> OldData;
    std::unique_ptr<TRecDataValues> EditValues;  // the values before Edit, until Post or Cancel
    std::unique_ptr<TUpdateErrorZk> UpdateError;
    int UpdateIndex = -1;
  };
  TSide& Side();
  // The side part; only while FHasSide is set.
  TSide* SidePart() const;
  struct TSideMap;
  static TSideMap& SideMap();
  // Drops the side part once nothing is left in it.
  void TrimSide();
  void DropSide();
  void SetOldData(std::unique_ptr<TRecDataValues> Value);
  void SetEditValues(std::unique_ptr<TRecDataValues> Value);
  // Puts the old values back as the current ones, if there are any, and drops them.
  void RestoreOldData();

  // Value as SetDataValue stores it for Field: converted to the field's type.
  static void StoreValue(TRecDataValues& Target, const TMTDataFieldZk* Field, int Index, const Variant& Value);
  // Calls Store with Value converted as StoreValue converts it.
  template <class TStore>
  static void ConvertForField(const TMTDataFieldZk* Field, const Variant& Value, TStore&& Store);
  // The same for a field of VarType (AsIs: a field taking any value unchanged).
  template <class TStore>
  static void ConvertForType(TVarType VarType, bool AsIs, const Variant& Value, TStore&& Store);

  TRecordsListZk* FRecordsList;
  unsigned FHashCode = 0;
  std::uint8_t FUpdateStatus = usUnmodified;
  std::uint8_t FEditState = resInsertZk;
  bool FEditChanged : 1 = false;
  bool FHasSide : 1 = false;
  bool FValuesOnHeap : 1 = false;
  std::uint8_t FSizeClass;

  friend class TRecordsListZk;
  friend class TRecordValuesBuilderZk;
};

// The values of records about to be fetched, set as SetDataValue sets them, each record then
// made with room for exactly its values. Values given in field order are appended as they
// come; once one comes out of order, the record's values are set in place instead.
class TRecordValuesBuilderZk {
public:
  explicit TRecordValuesBuilderZk(TRecordsListZk* AList);
  ~TRecordValuesBuilderZk();
  void SetValue(int Index, const Variant& Value);
  // A new record (not yet attached) with the values; the builder starts again from Nulls.
  TMemoryRecordZk* NewRecord();

private:
  // How each position's values are stored, worked out once for all the records.
  struct TStoreAs {
    TVarType VarType;
    bool AsIs;
  };
  TRecordsListZk* FList;
  std::vector<TStoreAs> FStoreAs;
  TPackedValuesAppenderZk FAppender;
  std::unique_ptr<TRecDataValues> FOutOfOrder;
};

using TCompareRecords =
    std::function<int(TMemoryRecordZk* Rec1, TMemoryRecordZk* Rec2, void* ParamSort)>;

class TRecordsListZk : public TComponent {
  VORENTA_CLASS(TRecordsListZk, TComponent)
public:
  explicit TRecordsListZk(TMemTableDataZk* AMemTableData);
  ~TRecordsListZk() override;

  bool CachedUpdates() const { return FCachedUpdates; }
  void SetCachedUpdates(bool Value) { FCachedUpdates = Value; }
  int Count() const { return FRecList.Count(); }
  TMemoryRecordZk* Items(int Index) const { return FRecList.Items(Index); }
  TMTDataStructZk* DataStruct() const;
  const std::vector<TMemoryRecordZk*>& DeltaList() const { return FDeltaList; }
  const std::vector<TMemoryRecordZk*>& DeletedList() const { return FDeletedList; }
  TMTIndexesZk* Indexes() const { return FIndexes.get(); }
  TMemTableDataZk* MemTableData() const { return FMemTableData; }
  int RecValCount() const;
  const TRecBlockListZk& ActiveList() const { return FRecList; }

  TMemoryRecordZk* NewRecord();
  // A new record holding Values (as many as the structure has fields), with room for exactly
  // them: what a fetch of many records uses (TRecordValuesBuilderZk).
  TMemoryRecordZk* NewRecord(const TRecDataValues& Values);
  // The same from appended values, which the record takes over (the appender starts again).
  TMemoryRecordZk* NewRecord(TPackedValuesAppenderZk& Values);
  int AddRecord(TMemoryRecordZk* Rec);
  void InsertRecord(int Index, TMemoryRecordZk* Rec);
  int FetchRecord(TMemoryRecordZk* Rec);
  void DeleteRecord(int Index);
  void PersistDeleteRecord(int Index);
  void PersistRemoveRecord(int Index);
  void RevertRecord(int Index);
  void RefreshRecord(int Index, const TMemoryRecordZk* FromRec);
  int IndexOf(const TMemoryRecordZk* Item) const { return FRecList.IndexOf(Item); }
  void Move(int CurIndex, int NewIndex);
  void SortData(const TCompareRecords& Compare, void* ParamSort);
  void Clear();
  bool HasCachedChanges() const { return !FDeltaList.empty(); }
  void CancelUpdates();
  void MergeChangeLog();
  void CleanupChangedRecs();

  virtual void Notify(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action);
  virtual void RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex);
  virtual void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate();

  // The "Data" property: every active record's values (stored format).
  void ReadData(TReader* Reader);
  void WriteData(TWriter* Writer) const;

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  int AttachRecord(TMemoryRecordZk* Rec, int Index, bool Fetching, bool Appending);
  void AppendToLog(TMemoryRecordZk* Rec);
  void DropFromLog(TMemoryRecordZk* Rec);
  // Carries one change of a list not in cached-updates mode to the apply-updates handlers.
  void ApplyRecordChange(TMemoryRecordZk* Rec, TUpdateStatus Status);
  // Frees a record that belongs to no collection of the list any more.
  void FreeRecord(TMemoryRecordZk* Rec);
  void CheckRecordFree(const TMemoryRecordZk* Rec) const;
  void ReadRecord(TReader* Reader, int RecNo);
  // A record made in the arena with Room bytes for its values behind it.
  template <class... TValues>
  TMemoryRecordZk* MakeRecord(std::size_t Room, TValues&... Values);

  TRecBlockListZk FRecList{&TMemoryRecordZk::FListLink};
  std::vector<TMemoryRecordZk*> FDeltaList;
  std::vector<TMemoryRecordZk*> FDeletedList;
  std::unique_ptr<TMTIndexesZk> FIndexes;
  bool FCachedUpdates = false;
  TMemTableDataZk* FMemTableData;
  unsigned FNewHashCode = 1;
  int FUpdateCount = 0;
  TRecordArenaZk* FArena;  // the records' memory (RecordArenaZk.h); lets go in the destructor

  friend class TMemoryRecordZk;
};

using TRecordsListNotificatorDataEventZk =
    std::function<void(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action)>;
using TRecordsListFetchRecordsEventZk = std::function<int(int Count)>;
using TRecordsListApplyUpdatesEventZk = std::function<void(TMemTableDataZk* AMemTableData)>;
using TRecordsListRecordMovedEventZk =
    std::function<void(TMemoryRecordZk* Item, int OldIndex, int NewIndex)>;

// What an object that follows a container's (or a view's) record events derives from.
class TRecordsListNotificatorZk : public TComponent {
  VORENTA_CLASS(TRecordsListNotificatorZk, TComponent)
public:
  explicit TRecordsListNotificatorZk(TComponent* AOwner);
  ~TRecordsListNotificatorZk() override;

  TComponent* DataObject() const { return FDataObject; }
  // Unregisters from the old container or view and registers with the new one, framed by
  // list-changing and list-changed events.
  void SetDataObject(TComponent* Value);

  TRecordsListNotificatorDataEventZk OnDataEvent() const { return FOnDataEvent; }
  void SetOnDataEvent(TRecordsListNotificatorDataEventZk Value) { FOnDataEvent = std::move(Value); }
  TRecordsListNotificatorDataEventZk OnAfterDataEvent() const { return FOnAfterDataEvent; }
  void SetOnAfterDataEvent(TRecordsListNotificatorDataEventZk Value) {
    FOnAfterDataEvent = std::move(Value);
  }
  TRecordsListFetchRecordsEventZk OnFetchRecords() const { return FOnFetchRecords; }
  void SetOnFetchRecords(TRecordsListFetchRecordsEventZk Value) { FOnFetchRecords = std::move(Value); }
  TRecordsListApplyUpdatesEventZk OnApplyUpdates() const { return FOnApplyUpdates; }
  void SetOnApplyUpdates(TRecordsListApplyUpdatesEventZk Value) { FOnApplyUpdates = std::move(Value); }
  TRecordsListRecordMovedEventZk OnRecordMoved() const { return FOnRecordMoved; }
  void SetOnRecordMoved(TRecordsListRecordMovedEventZk Value) { FOnRecordMoved = std::move(Value); }

  virtual int FetchRecords(int Count) { return FOnFetchRecords ? FOnFetchRecords(Count) : 0; }
  virtual void AfterDataEvent(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action);
  virtual void DataEvent(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action);
  virtual void RecordAdded(TMemoryRecordZk*, int) {}
  virtual void RecordChanged(TMemoryRecordZk*, int) {}
  virtual void RecordDeleted(TMemoryRecordZk*, int) {}
  virtual void ListChanged(TMemoryRecordZk*, int) {}
  virtual void RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex);

  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TComponent* FDataObject = nullptr;
  TRecordsListNotificatorDataEventZk FOnDataEvent;
  TRecordsListNotificatorDataEventZk FOnAfterDataEvent;
  TRecordsListFetchRecordsEventZk FOnFetchRecords;
  TRecordsListApplyUpdatesEventZk FOnApplyUpdates;
  TRecordsListRecordMovedEventZk FOnRecordMoved;
};

// Calls Proc for each observer of List in order. Observers may register or leave meanwhile,
// so a list of several is walked from a copy; the usual single observer needs none.
template <class TProc>
void ForEachNotificator(const std::vector<TRecordsListNotificatorZk*>& List, TProc&& Proc) {
  if (List.size() == 1) return Proc(List.front());
  const std::vector<TRecordsListNotificatorZk*> Copy = List;
  for (TRecordsListNotificatorZk* N : Copy) Proc(N);
}

// What observes the view's own observer list: a view exposes it through this interface so
// the notificator can register with a view without knowing its class.
class INotificatorHostZk {
public:
  virtual ~INotificatorHostZk() = default;
  virtual void RegisterNotificator(TRecordsListNotificatorZk* Notificator) = 0;
  virtual void UnregisterNotificator(TRecordsListNotificatorZk* Notificator) = 0;
};

class TAutoIncrementZk : public TPersistent {
  VORENTA_CLASS(TAutoIncrementZk, TPersistent)
public:
  TAutoIncrementZk() { Reset(); }
  int Step() const { return FStep; }
  void SetStep(int Value) { FStep = Value; }
  int InitValue() const { return FInitValue; }
  // Moves CurValue along when it still stands at the old initial value.
  void SetInitValue(int Value);
  int CurValue() const { return FCurValue; }
  void SetCurValue(int Value) { FCurValue = Value; }
  int Promote();
  void Reset() { FCurValue = FInitValue; }
  void Assign(TPersistent* Source) override;

private:
  int FStep = -1;
  int FInitValue = -1;
  int FCurValue = -1;
};

class TMemTableDataZk : public TComponent, public INotificatorHostZk {
  VORENTA_CLASS(TMemTableDataZk, TComponent)
public:
  explicit TMemTableDataZk(TComponent* AOwner);
  ~TMemTableDataZk() override;

  TAutoIncrementZk* AutoIncrement() const { return GetAutoIncrement(); }
  void SetAutoIncrement(TAutoIncrementZk* Value) { FAutoIncrement->Assign(Value); }
  TMTDataStructZk* DataStruct() const { return GetDataStruct(); }
  TRecordsListZk* RecordsList() const { return GetRecordsList(); }
  bool IsEmpty() const { return DataStruct()->Count() == 0; }
  bool RestructMode() const { return FRestructMode; }
  const std::vector<int>& IncFieldIndexes() const { return FIncFieldIndexes; }
  const std::vector<TRecordsListNotificatorZk*>& Notificators() const { return FNotificators; }

  virtual TAutoIncrementZk* GetAutoIncrement() const { return FAutoIncrement.get(); }
  virtual TMTDataStructZk* GetDataStruct() const { return FDataStruct; }
  virtual TRecordsListZk* GetRecordsList() const { return FRecordsList; }
  void RegisterNotificator(TRecordsListNotificatorZk* Notificator) override;
  void UnregisterNotificator(TRecordsListNotificatorZk* Notificator) override;
  virtual void ApplyUpdates(TMemTableDataZk* AMemTableData);
  // Whether ApplyUpdates has anyone to tell (an observer with OnApplyUpdates); a descendant
  // that overrides ApplyUpdates overrides this too.
  virtual bool WantsAppliedChanges() const;
  virtual void StructChanging() {}
  virtual void Notify(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action);
  virtual void RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex);
  virtual void SetAutoIncValue(TMemoryRecordZk* Rec);
  virtual void StructChanged();
  virtual TMTDataStructZk* BeginRestruct();
  virtual int FetchRecords(int Count);
  virtual void CancelRestruct();
  // Only leaves restructure mode: nothing uses the edited copy yet.
  virtual void CommitRestruct() { FRestructMode = false; }
  virtual void DestroyTable();

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void ReadState(TReader* Reader) override;

  // The first records view over the container keeps its row links in the records
  // (TMemoryRecordZk::FViewLink); later views keep theirs in a map.
  bool ClaimViewLink(const void* View) {
    if (FViewLinkOwner && FViewLinkOwner != View) return false;
    FViewLinkOwner = View;
    return true;
  }
  void ReleaseViewLink(const void* View) {
    if (FViewLinkOwner == View) FViewLinkOwner = nullptr;
  }

  // The stored format: this container's entry ("MemTableData" with its structure and
  // records) written to a component stream and read back into this container.
  void SaveDataToStream(TStream* Stream);
  void LoadDataFromStream(TStream* Stream);

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  TMTDataStructZk* FDataStruct;
  std::unique_ptr<TMTDataStructZk> FNewDataStruct;
  TRecordsListZk* FRecordsList;
  std::unique_ptr<TAutoIncrementZk> FAutoIncrement;
  std::vector<TRecordsListNotificatorZk*> FNotificators;
  std::vector<int> FIncFieldIndexes;
  bool FRestructMode = false;
  const void* FViewLinkOwner = nullptr;
};

// A container over the master's structure that hands one change to the apply-updates
// handlers; it gives no auto-increment values.
class TMemTableDataShadowZk : public TMemTableDataZk {
  VORENTA_CLASS(TMemTableDataShadowZk, TMemTableDataZk)
public:
  explicit TMemTableDataShadowZk(TMemTableDataZk* AMasterTable);
  TMTDataStructZk* GetDataStruct() const override { return FMasterTable->DataStruct(); }
  void SetAutoIncValue(TMemoryRecordZk*) override {}
  TMemTableDataZk* MasterTable() const { return FMasterTable; }

private:
  TMemTableDataZk* FMasterTable;
};
