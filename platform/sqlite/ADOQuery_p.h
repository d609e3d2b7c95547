// ADOQuery_p.h - the query's static cursor: rows, record buffers and result metadata, shared
// by ADOQuery.cpp (opening, reading, navigation, master values), ADOQueryUpdate.cpp
// (writing rows back, searching) and ADOQueryFilter.cpp (the filtered view).
//
// Rows live in one flat array of Variants, one slot of ColCount values per row read or
// inserted; Order lists the slots in cursor order. A bookmark is the slot number (4 bytes), so
// it survives inserts and deletes around it. A record buffer names its slot and, while the
// record is edited or inserted, holds its own copy of the values.
//
// Filtering (Filter/OnFilterRecord with Filtered) builds the view once, when the rows are read
// or the filter changes; a posted row is checked again and leaves the view when the filter no
// longer accepts it, so navigation, RecordCount, RecNo, Locate and Lookup see only the view.
#pragma once

#include <memory>
#include <vector>

#include "platform/db/FilterExpr.h"
#include "platform/sqlite/ADODB_p.h"

namespace SqliteImpl {

// How a column's values are read: by the field type its declaration names, or as stored.
enum class TReadKind { Native, Integer, Float, Boolean, Date, Text };

struct TColumnInfo {
  String Name;
  TFieldType DataType = ftUnknown;  // ftUnknown: taken from the values read
  int Size = 0;
  TReadKind Read = TReadKind::Native;
  std::string Origin;     // the base-table column it comes from, or empty
  bool Updatable = false;  // written back when the row is posted
  // What the values read so far held (for columns without a declared type).
  bool SawInteger = false, SawBigInteger = false, SawFloat = false, SawText = false;
  int MaxLength = 0;
};

struct TRecBuf {
  int Slot = -1;
  TBookmarkFlag Flag = bfCurrent;
  bool Owned = false;                 // Values holds the record being edited or inserted
  std::vector<Variant> Values;
  std::vector<std::pair<const TField*, Variant>> Calc;  // calculated and lookup fields
};

// One value of the current row of Stmt, read as Col's kind asks; notes what it saw in Col.
Variant ReadColumnValue(sqlite3_stmt* Stmt, int Index, TColumnInfo& Col);

inline TRecBuf* Buf(TRecordBuffer Token) { return reinterpret_cast<TRecBuf*>(Token); }

}  // namespace SqliteImpl

struct TADOQuery::Impl {
  SqliteImpl::TStatement Stmt;
  bool Prepared = false;
  bool Open = false;
  std::vector<SqliteImpl::TColumnInfo> Columns;
  int ColCount = 0;
  std::vector<Variant> Data;  // slot * ColCount + column
  std::vector<int> Order;     // cursor position -> slot, the rows the filter accepts
  // While a filter is applied: every row in cursor order, Order being the accepted ones.
  bool FilterView = false;
  std::vector<int> AllOrder;
  std::unique_ptr<TExprParser> FilterExpr;
  SqliteImpl::TRecBuf FilterBuf;  // the record the filter looks at (dsFilter)
  mutable std::vector<int> PosOfSlot;
  mutable bool PosDirty = true;
  int Cursor = -1;  // -1 before the first row, Order.size() after the last
  // The one base table rows are written to, and the result columns holding its key.
  std::string BaseTable;
  std::vector<int> KeyColumns;
  bool RowidKey = false;  // the key is the table's INTEGER PRIMARY KEY
  // Master values the statement last ran with.
  std::vector<Variant> LastMasterValues;
  bool HasMasterValues = false;

  // Forgets the prepared statement and what it told about its columns.
  void DropStatement() {
    Stmt.Finalize();
    Prepared = false;
    Columns.clear();
    ColCount = 0;
  }
  int SlotCount() const { return ColCount ? static_cast<int>(Data.size()) / ColCount : 0; }
  int RowCount() const { return static_cast<int>(Order.size()); }
  const Variant* Row(int Slot) const { return &Data[static_cast<size_t>(Slot) * ColCount]; }
  Variant* Row(int Slot) { return &Data[static_cast<size_t>(Slot) * ColCount]; }
  // The cursor position of a slot, or -1 when it is no row (deleted or unknown).
  int PositionOf(int Slot) const {
    if (Slot < 0 || Slot >= SlotCount()) return -1;
    if (PosDirty) {
      PosOfSlot.assign(SlotCount(), -1);
      for (int I = 0; I < RowCount(); ++I) PosOfSlot[Order[I]] = I;
      PosDirty = false;
    }
    return PosOfSlot[Slot];
  }
};
