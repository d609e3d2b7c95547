// MemTableIntfZk.h - what the data grid asks of an in-memory table (IMemTableZk) and how the
// table tells the grid about changed view rows (IMTViewEventReceiverZk). Declared with the
// toolkit so the grid depends on the contract only; the memory table implements it.
#pragma once

#include <memory>

#include "gridlib/toolkit/FieldValueListZk.h"
#include "platform/db/DBConsts.h"
#include "platform/rtl/Types.h"

class TComponent;
class TBMListZk;
// One record of the memory table; opaque to the grid.
class TMemoryRecordZk;

// RowNum and OldRowNum are grid rows; -1 is "no particular row" and goes with
// mtViewDataChangedZk only. OldRowNum is used by mtRowMovedZk alone.
enum TMTViewEventTypeZk {
  mtRowInsertedZk,
  mtRowChangedZk,
  mtRowDeletedZk,
  mtRowMovedZk,
  mtViewDataChangedZk
};

// A component that wants the table's view events implements this besides deriving from
// TComponent; the table finds it by dynamic_cast on the registered component.
class IMTViewEventReceiverZk {
public:
  virtual ~IMTViewEventReceiverZk() = default;
  virtual void MTViewDataEvent(int RowNum, TMTViewEventTypeZk Event, int OldRowNum) = 0;
};

// The grid's view of an in-memory table. Row numbers are 0-based view rows unless said
// otherwise; grid rows count the virtual row of a record being inserted.
class IMemTableZk {
public:
  virtual ~IMemTableZk() = default;
  // Fetches up to Count further records through the data driver; answers how many were read.
  virtual int FetchRecords(int Count) = 0;
  // The grid row of the current record (in instant-read mode the row being read); -1 when none.
  virtual int GetInstantReadCurRow() = 0;
  // Always false.
  virtual bool ReservedQuery() = 0;
  // The current (or instant-read) row's tree node: expanded, has children, level (top 1).
  // Without a node: false, false, -1.
  virtual bool GetTreeNodeExpanded() = 0;
  virtual bool GetTreeNodeHasChildren() = 0;
  virtual int GetTreeNodeLevel() = 0;
  // The level of the row above / below; -1 at the first / last row or outside a tree.
  virtual int GetPrevNodeLevel() = 0;
  virtual int GetNextNodeLevel() = 0;
  // The current record object, or nullptr.
  virtual TMemoryRecordZk* GetRec() = 0;
  // -1 for an empty bookmark, else the bookmark's row number - 1.
  virtual int InstantReadIndexOfBookmark(const TBookmark& Bookmark) = 0;
  // The rows of the current view, plus 1 while a record is being inserted.
  virtual int InstantReadRowCount() = 0;
  // Whether the records view shows a tree.
  virtual bool GetTreeViewMode() = 0;
  // Whether the current node's ancestor at Level has a next visible sibling.
  virtual bool ParentHasNextSibling(int Level) = 0;
  // Moves to the row of Rec; false when it is not in the view.
  virtual bool GotoRec(TMemoryRecordZk* Rec) = 0;
  // Expands or collapses the node of a view row; answers the new row of the previously
  // current record, or -1.
  virtual int SetTreeNodeExpanded(int RowNum, bool Value) = 0;
  // The distinct values of a field; the caller owns the list. Empty for a name that is no
  // field of the table.
  virtual std::unique_ptr<IMemTableDataFieldValueListZk> GetFieldValueList(
      const String& FieldName) = 0;
  // Moves the listed records to a record number and tree level; with CheckOnly only answers
  // whether it may.
  virtual bool MoveRecords(TBMListZk* BookmarkList, int ToRecNo, int TreeLevel,
                           bool CheckOnly) = 0;
  // The fields show view row RowNum without moving the cursor, until InstantReadLeave.
  virtual void InstantReadEnter(int RowNum) = 0;
  virtual void InstantReadLeave() = 0;
  // Adds or removes a receiver of view events (one implementing IMTViewEventReceiverZk).
  virtual void RegisterEventReceiver(TComponent* Receiver) = 0;
  virtual void UnregisterEventReceiver(TComponent* Receiver) = 0;
};
