// MTIndexZk.h - key indexes of a records list: for each record the key values of one field
// or a ';' list of fields, kept in key order, enforcing unique keys when asked, and following
// every record event before the container's observers see it.
//
// Entries point at their record, so no position has to be shifted when records are inserted
// or deleted, and equal keys are ordered by the record's hash code, so a record's own entry
// is found by binary search even among many equal keys. The entries live in blocks of a few
// hundred: insert, find and erase cost O(log n) comparisons and O(sqrt n) moves.
#pragma once

#include <memory>
#include <vector>

#include "gridlib/memtable/BlockCountsZk.h"
#include "gridlib/memtable/MemTableDataZk.h"

class TMTIndexesZk;

struct TIndexItemZk {
  Variant Value;                   // the key: a value, or a variant array for a field list
  TMemoryRecordZk* Rec = nullptr;  // the record the key belongs to
  // The record's position in the records list.
  int RecIndex() const { return Rec->Index(); }
};

class TMTIndexZk {
public:
  // An index of the collection (its records list is the collection's).
  explicit TMTIndexZk(TMTIndexesZk* Collection);
  // An index bound to a records list directly, outside any collection.
  static std::unique_ptr<TMTIndexZk> CreateApart(TRecordsListZk* ARecordsList);
  ~TMTIndexZk();
  TMTIndexZk(const TMTIndexZk&) = delete;
  TMTIndexZk& operator=(const TMTIndexZk&) = delete;

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  const String& Fields() const { return FFields; }
  void SetFields(const String& Value);
  bool Unical() const { return FUnical; }
  void SetUnical(bool Value);
  bool Primary() const { return FPrimary; }
  void SetPrimary(bool Value);
  TRecordsListZk* RecordsList() const { return FRecordsList; }
  int Count() const { return FCount; }
  const TIndexItemZk& Items(int Index) const;

  void ClearIndex();
  void RebuildIndex();
  // Rebuilds an active index against the present structure; one whose fields are gone
  // becomes inactive.
  void StructChanged();
  // Whether an entry equal to Value exists; Index is the first such entry or the insertion
  // position. Raises when keys cannot be compared.
  bool FindKeyValueIndex(const Variant& Value, int& Index) const;
  // As FindKeyValueIndex; when found, Index is the record's position in the records list.
  bool FindRecordIndexByKey(const Variant& Value, int& Index) const;
  // The first record whose key equals Value, or nullptr.
  TMemoryRecordZk* FindRecordByKey(const Variant& Value) const;
  // Every entry (record) whose key equals Value, in index order.
  void FillMatchedKeyList(const Variant& Value, std::vector<const TIndexItemZk*>& List) const;
  void FillMatchedRecsList(const Variant& Value, std::vector<TMemoryRecordZk*>& List) const;

  void RecordEvent(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action);
  void RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex);
  // The key of a record, taken from the given version of its values.
  Variant KeyOf(const TMemoryRecordZk* Rec, TDataValueVersionZk Version = dvvValueZk) const;

private:
  explicit TMTIndexZk(TRecordsListZk* ARecordsList);
  bool Enforces() const { return FUnical || FPrimary; }
  bool Maintained() const { return FActive && !FFields.empty(); }
  // First position not less than (Key, Hash).
  int LowerBound(const Variant& Key, unsigned Hash) const;
  int CompareEntry(const TIndexItemZk& Item, const Variant& Key, unsigned Hash) const;
  void InsertEntry(const Variant& Key, TMemoryRecordZk* Rec);
  // Removes Rec's own entry filed under Key; false when there is none.
  bool EraseEntry(const Variant& Key, TMemoryRecordZk* Rec);
  void InsertAt(int Pos, TIndexItemZk Item);
  void EraseAt(int Pos);
  [[noreturn]] void KeyViolation(const Variant& Key) const;
  void UpdateFieldIndexes();

  struct TBlock {
    std::vector<TIndexItemZk> Items;
  };
  // The block holding position Pos (Pos == Count: the last block) and where it starts.
  std::size_t FindBlock(int Pos, int& Start) const;
  // After blocks were added or removed: the counts tree again.
  void Reorganize();

  TMTIndexesZk* FCollection = nullptr;
  TRecordsListZk* FRecordsList;
  bool FActive = false;
  String FFields;
  std::vector<int> FFieldIndexes;
  bool FUnical = false;
  bool FPrimary = false;
  Variant FOldValue;
  std::vector<std::unique_ptr<TBlock>> FBlocks;
  TBlockCountsZk FCounts;
  int FCount = 0;
};

class TMTIndexesZk {
public:
  explicit TMTIndexesZk(TRecordsListZk* ARecList) : FRecList(ARecList) {}
  TRecordsListZk* RecList() const { return FRecList; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TMTIndexZk* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
  TMTIndexZk* Add();
  void Delete(int Index);
  void Clear() { FItems.clear(); }
  // The first index on Fields (ASCII letters compared case-insensitively), or nullptr.
  TMTIndexZk* GetIndexForFields(const String& Fields) const;
  // The first active index on Fields with entries to search, or nullptr.
  TMTIndexZk* GetActiveIndexForFields(const String& Fields) const;
  void RecordEvent(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action);
  void RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex);
  // Empties every index (the records list is being cleared).
  void ClearIndexes();
  void StructChanged();

private:
  TRecordsListZk* FRecList;
  std::vector<std::unique_ptr<TMTIndexZk>> FItems;
};
