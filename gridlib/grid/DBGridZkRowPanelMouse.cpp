// DBGridZkRowPanelMouse.cpp - the mouse in the in-row panel: presses on titles (title buttons,
// in-title filter buttons) and on data cells (the column and record under the pointer become
// current), and dragging a column's title to another place among the panel's lines.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>
#include <cstdlib>

#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZkGroupView.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "gridlib/grid/GridMarkersZk.h"
#include "platform/db/DataSet.h"

namespace {

constexpr int DragThreshold = 3;

TRect PlacementRect(const TColumnZkInRowPanelPlacement& P) {
  return Rect(P.Left, P.Top, P.Left + P.Width, P.Top + P.Height);
}

}  // namespace

TRect TCustomDBGridZk::RowPanelCellRect(int ARow) {
  TRect R = CellRect(FIndicatorOffset, ARow);
  if (R.IsEmpty()) return R;
  R.Left -= DataOffset().cx;
  R.Right = R.Left + ColWidth(FIndicatorOffset);
  return R;
}

TRect TCustomDBGridZk::RowPanelTitleClientRect(TColumnZk* Column, int ARow) {
  const TRect Cell = RowPanelCellRect(ARow);
  TRect R = PlacementRect(Column->RowPlacement());
  OffsetRect(R, Cell.Left, Cell.Top);
  return R;
}

TRect TCustomDBGridZk::RowPanelDataClientRect(TColumnZk* Column, int ARow) {
  TRect R = RowPanelTitleClientRect(Column, ARow);
  const auto& P = Column->RowPlacement();
  R.Left += P.DataCellLeft - P.Left;
  R.Right = R.Left + P.DataCellWidth;
  return R;
}

TColumnZk* TCustomDBGridZk::RowPanelColumnAt(int X, int Y, bool IsTitleTypeCell) {
  const TGridCoord K = MouseCoord(X, Y);
  if (K.X != FIndicatorOffset || K.Y < 0) return nullptr;
  const TRect Cell = RowPanelCellRect(K.Y);
  return GetColumnInRowPanelAtPos(Point(X - Cell.Left, Y - Cell.Top), IsTitleTypeCell);
}

TColumnZk* TCustomDBGridZk::PressedTitleColumn() const {
  if (FGridRowPanel->Active())
    return FPressedDataCol >= 0 && FPressedDataCol < FColumns->Count()
               ? FColumns->Items(FPressedDataCol) : nullptr;
  return FPressedCol >= 0 ? ColumnAtGridCol(FPressedCol) : nullptr;
}

// --- presses --------------------------------------------------------------------------------------

void TCustomDBGridZk::RowPanelTitleMouseDown(TMouseButton Button, TShiftState Shift, int X,
                                             int Y) {
  if (Button == mbRight && FOptionsZk.Contains(dghColumnMove)) {
    FSwapButtons = true;
    Button = mbLeft;
  }
  TColumnZk* Column = Button == mbLeft ? RowPanelColumnAt(X, Y, true) : nullptr;
  if (!Column) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  FPressedDataCol = Column->Index();
  const bool Designing = ComponentState().Contains(csDesigning);
  if (!Designing && TitleFilterButtonAt(this, Column, X, Y)) {
    if (InTitleFilterListVisible(this)) CloseInTitleFilterList(this, false);
    else DropDownInTitleFilter(this, Column);
    return;
  }
  bool Enabled = Column->Title()->TitleButton();
  CheckTitleButton(FIndicatorOffset, Enabled);
  if (Enabled && !Designing && MouseCapture()) {
    FTracking = true;
    FPressedCol = FIndicatorOffset;
    FPressed = false;
    TrackButton(X, Y);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomDBGridZk::RowPanelDataMouseDown(const TGridCoord& Cell, TMouseButton Button,
                                            TShiftState Shift, int X, int Y) {
  TColumnZk* Column = RowPanelColumnAt(X, Y, false);
  if (!FDataLink->Active() || !Column) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  FDataLink->UpdateRecord();
  HideCellEditor();
  FPressedDataCol = Column->Index();
  const TGridCoord Before{Col(), Row()};
  if (GroupingWorks()) {
    GroupRowMouseDown(Cell, X);
    TGroupDataTreeNodeZk* Node = CurGroupDataNode();
    if (!Node || Node->NodeType() != dntDataSetRecordZk) return;
  } else if (Cell.Y != Row()) {
    FLockAutoShowCurCell = true;
    try {
      MoveBy(Cell.Y - FTitleOffset - FDataLink->ActiveRecord());
    } catch (...) {
      FLockAutoShowCurCell = false;
      throw;
    }
    FLockAutoShowCurCell = false;
  }
  MoveCol(Column->Index(), 0, false);
  if (Button == mbLeft && FOptions.Contains(dgMultiSelect) && FOptions.Contains(dgRowSelect)) {
    FSelecting = false;
    if (Shift.Contains(ssCtrl)) {
      FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
    } else {
      FBookmarks->Clear();
      FBookmarks->SetCurrentRowSelected(true);
    }
  }
  if (Button == mbLeft && InRowDetailExpander(FIndicatorOffset, Row(), X, Y)) {
    FRowDetailPanel->SetVisible(!FRowDetailPanel->Visible());
    return;
  }
  if (Button != mbLeft) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  // A press on the buttons at the cell's end opens the editor and presses the button there.
  const bool OnButtons = OnRowPanelEditButtons(Column, X, Y);
  if (Before == TGridCoord{Col(), Row()} || FOptions.Contains(dgAlwaysShowEditor) || OnButtons)
    ShowCellEditor();
  else
    InvalidateEditor();
  if (OnButtons && InplaceEditor() && InplaceEditor()->EditorVisible())
    PassPressToEditorButton(X, Y);
  if (Column->Checkboxes()) FPressedCell = {Col(), Row()};
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

// The column's edit buttons take the full height of its data cell at the cell's right end (left
// end when mirrored).
bool TCustomDBGridZk::OnRowPanelEditButtons(TColumnZk* Column, int X, int Y) {
  const int Strip = Column->EditButtonsWidth();
  const TRect Cell = RowPanelCellRect(MouseCoord(X, Y).Y);
  if (Strip <= 0 || Cell.IsEmpty()) return false;
  const auto& P = Column->RowPlacement();
  const int Left = Cell.Left + (UseRightToLeftAlignment()
                                    ? FGridMasterCellWidth - P.DataCellLeft - P.DataCellWidth
                                    : P.DataCellLeft);
  const int Right = Left + P.DataCellWidth;
  const int Top = Cell.Top + P.Top;
  if (Y < Top || Y >= Top + P.Height) return false;
  return UseRightToLeftAlignment() ? X >= Left && X < Left + Strip : X >= Right - Strip && X < Right;
}

// A release of a check box in the cell it was pressed on steps its value (Shift: backwards).
void TCustomDBGridZk::RowPanelDataMouseUp(TShiftState Shift, int X, int Y) {
  TColumnZk* Column = RowPanelColumnAt(X, Y, false);
  const bool SamePress = Column && Column->Index() == FPressedDataCol &&
                         MouseCoord(X, Y).Y == FPressedCell.Y && Row() == FPressedCell.Y;
  FPressedCell = {-1, -1};
  if (!SamePress || !Column->Checkboxes() || Shift.Contains(ssDouble) || !Column->Field() ||
      !ColumnEditable(Column->Index()))
    return;
  FDataLink->Edit();
  TField* F = Column->Field();
  F->SetAsBoolean(F->IsNull() ? !Shift.Contains(ssShift) : !F->AsBoolean());
}

// --- column drags ---------------------------------------------------------------------------------

bool TCustomDBGridZk::RowPanelDragStarts(int X, int Y) {
  if (!FGridRowPanel->Active() || FPressedDataCol < 0 || FTitleOffset == 0) return false;
  if (!MouseCapture()) return false;
  if (!ComponentState().Contains(csDesigning) && !FOptionsZk.Contains(dghColumnMove)) return false;
  if (FGridState != gsNormal || FDBGridZkState != dgsNormal) return false;
  if (MouseCoord(FDownMousePos.X, FDownMousePos.Y).Y != 0) return false;
  return std::abs(X - FDownMousePos.X) > DragThreshold ||
         std::abs(Y - FDownMousePos.Y) > DragThreshold;
}

void TCustomDBGridZk::StartRowPanelColumnDragAt(TShiftState Shift, int X, int DataCol, int Y) {
  if (DataCol < 0 || DataCol >= FColumns->Count()) return;
  StartRowPanelColumnDrag(Shift, X, PlacementRect(FColumns->Items(DataCol)->RowPlacement()),
                          DataCol, Y);
}

void TCustomDBGridZk::StartRowPanelColumnDrag(TShiftState, int X, const TRect& CellRect,
                                              int DataCol, int Y) {
  if (FTracking) {
    StopTracking();
    Update();
    SetMouseCapture(true);
    FPressedDataCol = DataCol;
  }
  FGridState = gsColMoving;
  FToMoveColumnIndex = DataCol;
  FToMoveInRowLinePos = FColumns->Items(DataCol)->InRowLinePos();
  const TRect Cell = RowPanelCellRect(0);
  FTopLeftCellOffset = Point(Cell.Left + CellRect.Left - FDownMousePos.X,
                             Cell.Top + CellRect.Top - FDownMousePos.Y);
  FDragCellRect = Rect(X + FTopLeftCellOffset.X, Y + FTopLeftCellOffset.Y,
                       X + FTopLeftCellOffset.X + CellRect.Width(),
                       Y + FTopLeftCellOffset.Y + CellRect.Height());
  ShowRowPanelMoveMarker();
  if (HandleAllocated())
    GridDragBoxWindow()->StartShow(this, FDragCellRect.TopLeft(), FDragCellRect.Width(),
                                   FDragCellRect.Height());
}

void TCustomDBGridZk::TrackRowPanelColumnDrag(TShiftState Shift, int X, int Y) {
  if (FDataGrouping->GroupPanelVisible() && Y < OutBoundaryData()->TopIndent()) {
    // Over the group panel the drag goes on as a drop into the grouping.
    const int Dragged = FToMoveColumnIndex;
    EndRowPanelColumnDrag(false);
    FPressedDataCol = Dragged;
    FGroupDataMovingIndex = -1;
    StartGroupPanelTitleMove(X);
    return;
  }
  const TRect Cell = RowPanelCellRect(0);
  const int Pitch = std::max(1, InRowPanelLineHeight() + GridLineWidth());
  const int Line = std::clamp((Y - Cell.Top) / Pitch, 0, FGridMasterCellHeight / Pitch);
  // The column on that line whose right edge is the nearest one left of the pointer.
  int Target = -1, TargetRight = 0;
  for (int I = 0; I < FColumns->Count(); ++I) {
    TColumnZk* C = FColumns->Items(I);
    if (!C->Visible() || Line < C->InRowLinePos() ||
        Line >= C->InRowLinePos() + C->InRowLineHeight())
      continue;
    const int Right = Cell.Left + C->RowPlacement().Left + C->RowPlacement().Width;
    if (Right <= X && (Target < 0 || Right > TargetRight)) {
      Target = I;
      TargetRight = Right;
    }
  }
  const int OldLeft = FDragCellRect.Left;
  OffsetRect(FDragCellRect, X + FTopLeftCellOffset.X - FDragCellRect.Left,
             Y + FTopLeftCellOffset.Y - FDragCellRect.Top);
  if (HandleAllocated()) GridDragBoxWindow()->MoveToFor(this, FDragCellRect.TopLeft());
  // Moving out over an edge scrolls; a box resting there keeps scrolling on the timer's ticks.
  const bool Resting = FDragCellRect.Left == OldLeft && FTimerActive;
  if (FDragCellRect.Left < 0 && (FDragCellRect.Left < OldLeft || Resting))
    ScrollRowPanelDrag(-1);
  else if (FDragCellRect.Right > ClientWidth() && (FDragCellRect.Left > OldLeft || Resting))
    ScrollRowPanelDrag(1);
  else
    StopTrackTimer();
  if (Target != FToMoveColumnIndex || Line != FToMoveInRowLinePos) {
    FToMoveColumnIndex = Target;
    FToMoveInRowLinePos = Line;
    ShowRowPanelMoveMarker();
  }
  (void)Shift;
}

// Scrolls half a step; the timer goes on only while there is more to scroll.
void TCustomDBGridZk::ScrollRowPanelDrag(int Direction) {
  const int Before = SmoothPos().X;
  ScrollPixelsClamped(Direction * std::max(1, HorzScrollStep() / 2), 0);
  if (SmoothPos().X == Before) return StopTrackTimer();
  Invalidate();
  StartTrackTimer(60);
}

// A vertical line one line high at the right edge of the target column, on the target line.
void TCustomDBGridZk::ShowRowPanelMoveMarker() {
  if (!HandleAllocated()) return;
  const TRect Cell = RowPanelCellRect(0);
  const int H = InRowPanelLineHeight();
  int X = Cell.Left;
  if (FToMoveColumnIndex >= 0 && FToMoveColumnIndex < FColumns->Count()) {
    const auto& P = FColumns->Items(FToMoveColumnIndex)->RowPlacement();
    X += P.Left + P.Width;
  }
  const TPoint Pos(X, Cell.Top + FToMoveInRowLinePos * (H + GridLineWidth()));
  TGridMoveLineZk* Line = GridMoveLineWindow();
  if (Line->Visible()) Line->MoveToFor(this, Pos);
  else Line->StartShow(this, Pos, true, H);
}

int TCustomDBGridZk::LastColumnInSpan(int Index) {
  const auto& T = FColumns->Items(Index)->RowPlacement();
  const int End = T.Left + T.Width;
  for (int I = FColumns->Count() - 1; I >= 0; --I) {
    const auto& P = FColumns->Items(I)->RowPlacement();
    if (P.Left + P.Width <= End) return I;
  }
  return Index;
}

// Accepted: the dragged column moves to the target line, after the target column (before
// every column when the target is the line's start).
void TCustomDBGridZk::EndRowPanelColumnDrag(bool Accept) {
  if (HandleAllocated()) {
    GridMoveLineWindow()->Hide();
    GridDragBoxWindow()->Hide();
  }
  FGridState = gsNormal;
  StopTrackTimer();
  const int Dragged = FPressedDataCol, Target = FToMoveColumnIndex;
  FToMoveColumnIndex = -1;
  if (!Accept || Dragged < 0 || Dragged >= FColumns->Count() || Target == Dragged) return;
  TColumnZk* Column = FColumns->Items(Dragged);
  FColumns->BeginUpdate();
  try {
    Column->SetInRowLinePos(FToMoveInRowLinePos);
    if (Target < 0) {
      Column->SetIndex(0);
    } else {
      const int Span = LastColumnInSpan(Target);
      Column->SetIndex(Dragged < Span || Span == FColumns->Count() - 1 ? Span : Span + 1);
    }
    if (FGroupDataMovingIndex >= 0 &&
        FGroupDataMovingIndex < FDataGrouping->ActiveGroupLevelsCount()) {
      delete FDataGrouping->ActiveGroupLevels(FGroupDataMovingIndex);
      Column->SetVisible(true);
    }
  } catch (...) {
    FGroupDataMovingIndex = -1;
    FColumns->EndUpdate();
    throw;
  }
  FGroupDataMovingIndex = -1;
  FColumns->EndUpdate();
}
