// DBGridZkMemTable.cpp - the grid over a memory table's view: every view row is a grid row,
// read through the table's instant read without moving the cursor; view events insert, delete
// and move grid rows; records are fetched while the client area is not filled; the vertical
// bar and the wheel move the top row over the whole view.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkGroupView.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/controls/ScrollBars.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"

namespace {

// Sets a flag for the lifetime of the scope, so re-entered calls see it.
class TFlagScope {
public:
  explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagScope() { FFlag = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  bool& FFlag;
};

}  // namespace

bool TCustomDBGridZk::UsesMemTable() const { return FDataLink->MemTable() != nullptr; }

bool TCustomDBGridZk::UsesMemTableRows() const {
  return FDataLink->Active() && UsesMemTable() && !GroupingWorks();
}

int TCustomDBGridZk::SourceRowCount() const {
  if (!FDataLink->Active()) return 0;
  if (UsesMemTable())
    return GroupingWorks() ? FDataGrouping->GroupDataTree()->FlatVisibleCount()
                           : FDataLink->MemTable()->InstantReadRowCount();
  return FDataLink->RecordCount();
}

bool TCustomDBGridZk::IsCurrentDataRow(int DataRow) const {
  return FDataLink->Active() && DataRow >= 0 && DataRow == CurrentDataRow();
}

bool TCustomDBGridZk::ExtendedScrolling() const {
  return UsesMemTableRows() && FCenter && FCenter->UseExtendedScrollingForMemTable();
}

int TCustomDBGridZk::TopDataRow() const { return TopRow() - FTitleOffset; }

int TCustomDBGridZk::LastVisibleDataRow() const {
  if (!UsesMemTableRows()) return FDataLink->RecordCount() - 1;
  return std::min(SourceRowCount() - 1, TopDataRow() + VisibleDataRowCount() - 1);
}

void TCustomDBGridZk::ReadableDataRows(int& From, int& To) const {
  From = 0;
  To = FDataLink->Active() ? FDataLink->RecordCount() : 0;
  if (!UsesMemTableRows()) return;
  From = TopDataRow();
  To = std::min(SourceRowCount(), From + VisibleDataRowCount() + 1);
}

// --- row count and row bookkeeping ----------------------------------------------------------------

void TCustomDBGridZk::SetRowCountKeepCurrent(int Value) {
  if (Value == RowCount()) return;
  TFlagScope Updating(FUpdatingRows);
  if (Row() >= Value && Value - 1 >= FixedRows()) SetCurrentCell(Col(), Value - 1, true, false, false);
  SetRowCount(Value);
}

// Outside tree mode the view events keep the rows; a count that still differs (events the
// grid missed while unlinked) is taken over here, so no view row is ever out of reach.
void TCustomDBGridZk::UpdateMemTableRowCount() {
  IMemTableZk* Table = FDataLink->MemTable();
  const int Rows = Table->InstantReadRowCount();
  const int Wanted = FTitleOffset + std::max(1, Rows);
  if (RowCount() != Wanted) {
    SetRowCountKeepCurrent(Wanted);
    UpdateAllDataRowHeights();
  }
  if (!HandleAllocated()) return;
  ClampTopRow();
  if (FColWidthsChanged && RowCount() - FTitleOffset == Rows) UpdateAllDataRowHeights();
  if (Table->GetInstantReadCurRow() + FTitleOffset != Row()) MoveToMemTableCurrentRow();
  FetchVisibleRecords();
  Invalidate();
}

void TCustomDBGridZk::MoveToMemTableCurrentRow() {
  const int Cur = FDataLink->MemTable()->GetInstantReadCurRow();
  int Target = Cur < 0 ? FixedRows() : Cur + FTitleOffset;
  if (Target >= RowCount()) Target = FixedRows();
  if (Target == Row()) return;
  if (!FOptions.Contains(dgAlwaysShowEditor)) HideCellEditor();
  InvalidateGridRow(Row());
  {
    TFlagScope Updating(FUpdatingRows);
    const bool Show = !FLockAutoShowCurCell && !FGridRowPanel->Active();
    SetCurrentCell(std::max(Col(), FixedCols()), Target, true, false, Show);
  }
  InvalidateGridRow(Target);
  InvalidateEditor();
}

void TCustomDBGridZk::MemTableViewEvent(int RowNum, TMTViewEventTypeZk Event, int OldRowNum) {
  IMemTableZk* Table = FDataLink->MemTable();
  if (Table->GetTreeViewMode()) return;
  TFlagScope Updating(FUpdatingRows);
  switch (Event) {
    case mtRowInsertedZk:
      if (Table->InstantReadRowCount() > 1) {
        SetRowCount(RowCount() + 1);
        RelocateRow(RowCount() - 1, RowNum + FTitleOffset);
      }
      UpdateDataRowHeight(RowNum);
      break;
    case mtRowChangedZk:
      UpdateDataRowHeight(RowNum);
      InvalidateGridRow(RowNum + FTitleOffset);
      break;
    case mtRowDeletedZk:
      if (Table->InstantReadRowCount() > 0 && RowNum + FTitleOffset < RowCount() &&
          RowCount() > FTitleOffset + 1) {
        RelocateRow(RowNum + FTitleOffset, RowCount() - 1);
        SetRowCount(RowCount() - 1);
      }
      break;
    case mtRowMovedZk:
      if (OldRowNum >= 0 && OldRowNum + FTitleOffset < RowCount() && RowNum + FTitleOffset < RowCount())
        RelocateRow(OldRowNum + FTitleOffset, RowNum + FTitleOffset);
      break;
    case mtViewDataChangedZk:
      SetRowCount(FTitleOffset + std::max(1, Table->InstantReadRowCount()));
      UpdateAllDataRowHeights();
      break;
  }
  if (HandleAllocated()) Invalidate();
}

// --- the current row and fetching -----------------------------------------------------------------

void TCustomDBGridZk::MemTableScroll(int) {
  if (!FInplaceSearchLocating) StopInplaceSearch();
  if (!FDataLink->Active() || !UsesMemTableRows()) return;
  InvalidateGridRow(Row());
  if (HandleAllocated() && !ComponentState().Contains(csLoading)) {
    const int OldTop = TopRow();
    MoveToMemTableCurrentRow();
    if (TopRow() != OldTop) FetchVisibleRecords();
  }
  InvalidateFooter();
  UpdateScrollBar();
}

void TCustomDBGridZk::FetchVisibleRecords() {
  if (FFetchingRecords || !HandleAllocated() || !UsesMemTableRows()) return;
  TFlagScope Fetching(FFetchingRecords);
  const TGridAxisMetrics V = CalcMetrics().Vert;
  const int Step = std::max(1, FStdDefaultRowHeight);
  int Count = 0;
  if (V.ScrollAreaEnd > V.VisibleEnd)
    Count = (V.ScrollAreaEnd - V.VisibleEnd) / Step + 1;
  else if (V.LastWholeCell >= RowCount() - 1)
    Count = 1;
  if (Count > 0) FDataLink->MemTable()->FetchRecords(Count);
}

// --- top row --------------------------------------------------------------------------------------

int TCustomDBGridZk::MaxTopRow() const {
  const TGridAxisMetrics V = CalcMetrics().Vert;
  return MaxFirstScrolledCell(V, RowCount() - 1);
}

int TCustomDBGridZk::SafeMoveTop(int ATop, bool CheckOnly) {
  const int Target = std::clamp(std::min(ATop, MaxTopRow()), FixedRows(), std::max(FixedRows(), RowCount() - 1));
  if (CheckOnly || Target == TopRow()) return Target;
  SetTopRow(Target);
  UpdateExtendedVertScrollBar();
  return Target;
}

void TCustomDBGridZk::ClampTopRow() {
  const int Max = MaxTopRow();
  if (TopRow() > Max) SetTopRow(Max);
}

// --- the vertical bar over the view ----------------------------------------------------------------

void TCustomDBGridZk::UpdateExtendedVertScrollBar() {
  if (!HandleAllocated() || FVertScrollBar->SmoothStep()) return;
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  const TScrollBarVisibleModeZk Mode = FVertScrollBar->VisibleMode();
  if (Mode == sbAlwaysShowZk) SI.fMask |= SIF_DISABLENOSCROLL;
  const TGridAxisMetrics V = CalcMetrics().Vert;
  SI.nMin = 1;
  SI.nPos = TopRow() - FixedRows() + 1;
  if (FOptionsZk.Contains(dghAutoFitRowHeight)) {
    SI.nPage = 0;
    SI.nMax = MaxTopRow() - FixedRows() + 1;
  } else {
    SI.nPage = static_cast<unsigned>(std::max(1, V.LastWholeCell - TopRow() + 1));
    SI.nMax = std::max(1, RowCount() - FixedRows());
  }
  ApplyVertScrollInfo(this, SI);
}

void TCustomDBGridZk::ExtendedVertScroll(unsigned Code, int TrackPos) {
  const TGridAxisMetrics V = CalcMetrics().Vert;
  const int Top = TopRow();
  switch (Code) {
    case SB_LINEUP: SafeMoveTop(Top - 1, false); break;
    case SB_LINEDOWN: SafeMoveTop(Top + 1, false); break;
    case SB_PAGEUP: {
      // The rows that fit above so that the present top row becomes the last visible one.
      int Room = V.ScrollAreaEnd - V.FixedEnd - RowHeight(Top) - V.AxisLineWidth;
      int First = Top;
      while (First - 1 >= FixedRows() && Room >= RowHeight(First - 1) + V.AxisLineWidth) {
        Room -= RowHeight(First - 1) + V.AxisLineWidth;
        --First;
      }
      SafeMoveTop(Top - std::max(1, Top - First), false);
      break;
    }
    case SB_PAGEDOWN: SafeMoveTop(Top + std::max(1, V.LastWholeCell - Top), false); break;
    case SB_THUMBTRACK:
      if (!FVertScrollBar->Tracking()) break;
      [[fallthrough]];
    case SB_THUMBPOSITION: SafeMoveTop(FixedRows() + TrackPos - 1, false); break;
    case SB_TOP: SafeMoveTop(FixedRows(), false); break;
    case SB_BOTTOM: SafeMoveTop(RowCount(), false); break;
    default: break;
  }
  UpdateExtendedVertScrollBar();
}

bool TCustomDBGridZk::MemTableWheel(bool Down, TShiftState Shift, TPoint MousePos) {
  if (!ExtendedScrolling()) return false;
  const auto& Handler = Down ? OnMouseWheelDown() : OnMouseWheelUp();
  if (Handler) {
    bool Handled = false;
    Handler(this, Shift, MousePos, Handled);
    if (Handled) return true;
  }
  const bool ShiftKey = Shift.Contains(ssShift), Ctrl = Shift.Contains(ssCtrl);
  const int Sign = Down ? 1 : -1;
  if (ShiftKey && !Ctrl) {
    if (Down) DataSet()->Next();
    else DataSet()->Prior();
  } else if (ShiftKey) {
    MoveBy(Sign * VisibleRowCount());
  } else if (Ctrl) {
    const int Page = VisibleRowCount();
    if (Down) {
      const int Missing = Page - (RowCount() - TopRow() - Page);
      if (Missing > 0) FDataLink->MemTable()->FetchRecords(Missing);
    }
    SafeMoveTop(TopRow() + Sign * Page, false);
  } else {
    SafeMoveTop(TopRow() + Sign, false);
  }
  return true;
}
