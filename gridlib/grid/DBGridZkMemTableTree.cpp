// DBGridZkMemTableTree.cpp - a memory table's tree view in the grid: the outline of lines and
// expand boxes before the first column's text, the press on a box, and the numpad keys that
// expand and collapse the current node.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>

#include "gridlib/grid/DBGridZk_p.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/graphics/Canvas.h"

namespace {

constexpr int TreeLevelWidth = 18;

// Element kinds of the outline painter.
constexpr int ElmOpenMiddle = 0, ElmOpenLast = 1, ElmClosedMiddle = 4, ElmClosedLast = 5;
constexpr int ElmLeafMiddle = 8, ElmLeafLast = 9, ElmVertLine = 11;

}  // namespace

bool TCustomDBGridZk::MemTableTreeShown() const {
  IMemTableZk* Table = FDataLink->MemTable();
  return Table && FDataLink->Active() && Table->GetTreeViewMode();
}

int TCustomDBGridZk::RowCutAtBottom(int Top) {
  const TGridMetrics M = CalcMetrics();
  int Y = M.Vert.FixedEnd;
  for (int R = std::max(Top, FixedRows()); R < RowCount() && Y < M.Vert.ScrollAreaEnd; ++R) {
    const int H = RowHeight(R);
    if (Y + H > M.Vert.ScrollAreaEnd) return R;
    Y += H + M.Vert.AxisLineWidth;
  }
  return -1;
}

int TCustomDBGridZk::GetCellTreeElmentsAreaWidth() {
  if (!MemTableTreeShown()) return 0;
  return std::max(0, TreeLevelWidth * FDataLink->MemTable()->GetTreeNodeLevel());
}

// The node being read: the levels above it as lines where an ancestor goes on, then its own
// box (with children) or branch (a leaf).
void TCustomDBGridZk::DrawTreeLines(TCanvas* Canvas, const TRect& R, bool RowLine, bool LinesOnly) {
  IMemTableZk* Table = FDataLink->MemTable();
  const bool Lines = RowLine && FOptions.Contains(dgRowLines);
  const bool DotPhase = FStdDefaultRowHeight % 2 == 1 && TopRow() % 2 == 1;
  const bool Rtl = UseRightToLeftAlignment();
  TRect Level(R.Left, R.Top, R.Left + TreeLevelWidth, R.Bottom);
  auto PaintElement = [&](const TRect& Box, int Kind) {
    Canvas->FillRect(Box);
    if (Kind >= 0) PaintTreeLineElement(Canvas, Box, Kind, Rtl, 1.0, 1.0, DotPhase);
  };
  auto Extended = [&](bool Extend) {
    TRect Box = Level;
    if (Extend) ++Box.Bottom;
    return Box;
  };
  bool Extend = Lines;
  if (Lines) Canvas->FillRect(TRect(Level.Left, R.Bottom, Level.Right, R.Bottom + 1));
  const int NodeLevel = Table->GetTreeNodeLevel();
  const int NextLevel = Table->GetNextNodeLevel();
  for (int I = 1; I < NodeLevel; ++I) {
    PaintElement(Extended(Extend), Table->ParentHasNextSibling(I) ? ElmVertLine : -1);
    Level.Left += TreeLevelWidth;
    Level.Right += TreeLevelWidth;
    Extend = Lines && (NextLevel < 0 || I < NextLevel);
    if (Extend) Canvas->FillRect(TRect(Level.Left, R.Bottom, Level.Right, R.Bottom + 1));
  }
  const bool Last = NextLevel < NodeLevel;
  int Kind;
  if (Table->GetTreeNodeHasChildren())
    Kind = Table->GetTreeNodeExpanded() ? (Last ? ElmOpenLast : ElmOpenMiddle)
                                        : (Last ? ElmClosedLast : ElmClosedMiddle);
  else
    Kind = Last ? ElmLeafLast : ElmLeafMiddle;
  if (LinesOnly && (Kind == ElmOpenMiddle || Kind == ElmClosedMiddle || Kind == ElmLeafMiddle))
    Kind = ElmVertLine;
  else if (LinesOnly)
    Kind = -1;
  PaintElement(Extended(Extend), Kind);
  if (Lines) {
    const TColor Pen = Canvas->Pen()->Color();
    Canvas->Pen()->SetColor(clSilver);
    Canvas->MoveTo(Level.Right - 1, Level.Bottom);
    Canvas->LineTo(Level.Right - 1, Level.Top - 2);
    Canvas->Pen()->SetColor(Pen);
  }
}

// The outline stands on the grid's colour, not the cell's (it belongs to the tree); a
// selected record's outline takes the style's selection colour.
void TCustomDBGridZk::DrawDataTreeElements(int AreaCol, int AreaRow, TGridDrawState AState,
                                           TRect ARect, bool) {
  if (!MemTableTreeShown()) return;
  TCanvas* C = Canvas();
  TColor Back = Color();
  const int DataCol = GridColToColumnIndex(AreaCol);
  if (FStyle && FSelection->DataCellSelected(DataCol, DataSet()->GetBookmark())) {
    TFont Scratch;
    FStyle->GetDataCellHighlight(this, AreaCol, AreaRow, DataCol, AreaRow - FTitleOffset, String(),
                                 AState, true, Back, &Scratch);
  }
  const TColor Saved = C->Brush()->Color();
  C->Brush()->SetColor(Back);
  DrawTreeLines(C, ARect, true, false);
  C->Brush()->SetColor(Saved);
}

// A press on the box at the right end of the first column's outline expands or collapses
// that row's node; the current record and the top row stay.
bool TCustomDBGridZk::CellTreeElementClick(int X, int Y, bool CheckOnly) {
  if (!MemTableTreeShown()) return false;
  IMemTableZk* Table = FDataLink->MemTable();
  const TGridCoord Cell = MouseCoord(X, Y);
  if (Cell.Y < FTitleOffset || Cell.X != FIndicatorOffset) return false;
  const int DataRow = Cell.Y - FTitleOffset;
  TMemoryRecordZk* Current = Table->GetRec();
  const int CurrentRow = CurrentDataRow();
  const int Top = TopRow();
  int Width = 0;
  bool Expanded = false;
  if (DataRow == CurrentRow) {
    Width = GetCellTreeElmentsAreaWidth();
    Expanded = Table->GetTreeNodeExpanded();
  } else {
    TMemTableRowRead Read(Table, DataRow);
    Width = GetCellTreeElmentsAreaWidth();
    Expanded = Table->GetTreeNodeExpanded();
  }
  const TRect R = CellRect(Cell.X, Cell.Y);
  const int Pos = UseRightToLeftAlignment() ? R.Right - 1 - X : X - R.Left;
  if (Pos < 0 || Pos >= Width) return false;
  if (CheckOnly) return true;
  TDataSet* D = DataSet();
  D->DisableControls();
  try {
    if (Pos >= Width - TreeLevelWidth) {
      const int NewRow = Table->SetTreeNodeExpanded(DataRow, !Expanded);
      LockPaint();
      FLockAutoShowCurCell = true;
      try {
        if (NewRow <= 0 || NewRow == D->RecNo()) Table->GotoRec(Current);
        else D->SetRecNo(NewRow);
      } catch (...) {
        FLockAutoShowCurCell = false;
        UnlockPaint();
        throw;
      }
      FLockAutoShowCurCell = false;
      UnlockPaint();
    }
  } catch (...) {
    D->EnableControls();
    throw;
  }
  D->EnableControls();
  SafeMoveTop(Top, false);
  Invalidate();
  UpdateScrollBar();
  return true;
}

// Numpad * toggles, + expands and - collapses the current row's node.
bool TCustomDBGridZk::TreeNodeKeyDown(Word Key) {
  if (!MemTableTreeShown() || (Key != VK_MULTIPLY && Key != VK_ADD && Key != VK_SUBTRACT)) return false;
  IMemTableZk* Table = FDataLink->MemTable();
  const int Row = CurrentDataRow();
  if (Row < 0) return true;
  const bool Expand = Key == VK_MULTIPLY ? !Table->GetTreeNodeExpanded() : Key == VK_ADD;
  Table->SetTreeNodeExpanded(Row, Expand);
  return true;
}
