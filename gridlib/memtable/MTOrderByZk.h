// MTOrderByZk.h - ORDER BY lists: a text of field names, each optionally followed by ASC or
// DESC, parsed into items (field position, descending flag), and the comparison of two
// records by such a list.
//
// The view's and the tree's lists hold structure positions; the memory table's own list
// (TMTOrderByList) resolves names its own way by overriding FindFieldIndex.
#pragma once

#include <vector>

#include "gridlib/memtable/PackedValuesZk.h"
#include "platform/rtl/Variant.h"

class TMemoryRecordZk;
class TMTDataStructZk;
class TRecordsViewZk;
class TMemoryTreeListZk;

struct TOrderByItemZk {
  int FieldIndex = -1;
  bool Desc = false;
  bool CaseIns = false;  // never set by the parser
};

class TOrderByList {
public:
  virtual ~TOrderByList() = default;
  int Count() const { return static_cast<int>(FItems.size()); }
  const TOrderByItemZk& Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
  void Clear() { FItems.clear(); }
  void Add(const TOrderByItemZk& Item) { FItems.push_back(Item); }

  // Replaces the items with the parsed ones; on an error the items stay as they were.
  // Raises " Field - "X" not found." and " Invalid token - "X"".
  void ParseOrderByStr(const String& OrderByStr);
  // The next token of Exp from the 1-based position FromIndex, which is left after it;
  // empty at the end. Only blanks (code 32) separate; ',' and ';' are tokens of their own;
  // "[...]" is one name.
  static String GetToken(const String& Exp, int& FromIndex);

  virtual int FindFieldIndex(const String&) const { return -1; }

private:
  std::vector<TOrderByItemZk> FItems;
};

// Names resolve through a structure's FieldIndex (ASCII letters compared case-insensitively).
class TStructOrderByList : public TOrderByList {
public:
  int FindFieldIndex(const String& Name) const override;

protected:
  virtual TMTDataStructZk* DataStruct() const = 0;
};

class TRecordsViewOrderByList : public TStructOrderByList {
public:
  explicit TRecordsViewOrderByList(TRecordsViewZk* AView) : FRecordsView(AView) {}

protected:
  TMTDataStructZk* DataStruct() const override;

private:
  TRecordsViewZk* FRecordsView;
};

class TMemoryTreeListOrderByList : public TStructOrderByList {
public:
  explicit TMemoryTreeListOrderByList(TMemoryTreeListZk* ATree) : FTreeList(ATree) {}

protected:
  TMTDataStructZk* DataStruct() const override;

private:
  TMemoryTreeListZk* FTreeList;
};

// Null (or Empty) first, then the variants' own = and <, or the texts compared with
// AnsiCompareText when CaseInsensitive: -1, 0 or 1.
int CompareOrderValues(const Variant& V1, const Variant& V2, bool CaseInsensitive);
// Two records by a list of structure positions, a descending item negating its result; the
// first non-zero result decides. An empty list compares equal.
int CompareRecordsByOrder(const TMemoryRecordZk* Rec1, const TMemoryRecordZk* Rec2,
                          const TOrderByList& List);

// One record compared with many rows by a list (a binary search for its place): its first
// value is read out of the record once, not on every comparison. WithKey: a text first value
// also gets its sort-key prefix, and rows whose prefixes differ from it are ordered by those.
class TOrderProbeZk {
public:
  TOrderProbeZk(const TMemoryRecordZk* Rec, const TOrderByList& List, bool WithKey = false);
  TOrderProbeZk(const TOrderProbeZk&) = delete;
  TOrderProbeZk& operator=(const TOrderProbeZk&) = delete;
  // CompareRecordsByOrder(Row, the record, the list); RowKey: the row's prefix (0: unknown).
  int CompareRow(const TMemoryRecordZk* Row, std::uint64_t RowKey = 0) const;
  // The record's sort-key prefix (0 without one).
  std::uint64_t Key() const { return FKey; }

private:
  const TMemoryRecordZk* FRec;
  const TOrderByList& FList;
  TPackedValueZk FFirst;
  TTextBufferZk FBuffer;
  std::u16string_view FText;
  std::uint64_t FKey = 0;
  bool FIsText = false;
};
