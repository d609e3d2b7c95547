// DBGridZkMouse.cpp - the data grid's mouse: presses on titles (buttons with sort marking, the
// column-select band), on the indicator title and on data cells (record, rectangle and column
// selection), drags that extend a selection with auto-scroll, traced column sizing, releases
// that click titles, cells and check boxes.
#include "gridlib/grid/DBGridZk.h"

#include "gridlib/grid/DBGridZkFilterRow.h"

#include <algorithm>
#include <cstdlib>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkGroupView.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

namespace {

constexpr int DragThreshold = 3;
constexpr int ColumnSelectBand = 7;

bool Moved(TPoint A, TPoint B) {
  return std::abs(A.X - B.X) > DragThreshold || std::abs(A.Y - B.Y) > DragThreshold;
}

}  // namespace

// --- title buttons --------------------------------------------------------------------------------

// The pressed title's rectangle: its cell, or its place in the in-row panel's master cell.
TRect TCustomDBGridZk::PressedTitleRect() {
  TColumnZk* C = FGridRowPanel->Active() ? PressedTitleColumn() : nullptr;
  return C ? RowPanelTitleClientRect(C) : CellScreenRect(FPressedCol, 0);
}

void TCustomDBGridZk::TrackButton(int X, int Y) {
  if (FPressedCol < 0) return;
  const TRect R = PressedTitleRect();
  const bool Inside = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
  if (Inside != FPressed) {
    FPressed = Inside;
    InvalidateCell(FPressedCol, 0);
  }
}

void TCustomDBGridZk::StopTracking() {
  if (FTracking && FPressedCol >= 0) InvalidateCell(FPressedCol, 0);
  FTracking = false;
  FPressed = false;
  FPressedCol = -1;
  FDataTracking = false;
  FIndicatorPressed = false;
}

void TCustomDBGridZk::CheckTitleButton(int ACol, bool& Enabled) {
  if (FOnCheckButton) FOnCheckButton(this, ACol, ColumnAtGridCol(ACol), Enabled);
}

void TCustomDBGridZk::TitleBtnClick(int ACol, TColumnZk* Column) {
  if (FOnTitleBtnClick) FOnTitleBtnClick(this, ACol, Column);
}

void TCustomDBGridZk::CellClick(TColumnZk* Column) {
  if (FOnCellClick) FOnCellClick(Column);
}

void TCustomDBGridZk::SortMarkingChanged() {
  if (FOnSortMarkingChanged) FOnSortMarkingChanged(this);
  else DefaultApplySorting();
}

void TCustomDBGridZk::DefaultApplySorting() {
  if (FCenter) FCenter->ApplySorting(this);
}

void TCustomDBGridZk::SetSortMarkedColumns() {
  FSortMarkedColumns.clear();
  for (int I = 0; I < FColumns->Count(); ++I) {
    TColumnZk* C = FColumns->Items(I);
    const int S = C->Title()->SortIndex();
    if (S <= 0) continue;
    if (int(FSortMarkedColumns.size()) < S) FSortMarkedColumns.resize(std::size_t(S), nullptr);
    FSortMarkedColumns[std::size_t(S - 1)] = C;
  }
}

// The next marker of a title click: none, down, up, down... With KeepMulti (Ctrl and multi-sort
// marking) the other markers stay; otherwise this column becomes the only sorted one.
static void AdvanceSortMarker(TCustomDBGridZk* G, TColumnZk* C, bool KeepMulti) {
  const TSortMarkerZk Next = C->Title()->SortMarker() == smDownZk ? smUpZk : smDownZk;
  KeepMulti = KeepMulti && G->OptionsZk().Contains(dghMultiSortMarking);
  if (!KeepMulti) {
    for (int I = 0; I < G->Columns()->Count(); ++I) {
      TColumnZk* O = G->Columns()->Items(I);
      if (O != C && O->Title()->SortMarker() != smNoneZk) {
        O->Title()->SetSortMarker(smNoneZk);
        O->Title()->SetSortIndex(0);
      }
    }
    C->Title()->SetSortIndex(1);
  } else if (C->Title()->SortIndex() <= 0) {
    int Max = 0;
    for (int I = 0; I < G->Columns()->Count(); ++I)
      Max = std::max(Max, G->Columns()->Items(I)->Title()->SortIndex());
    C->Title()->SetSortIndex(Max + 1);
  }
  C->Title()->SetSortMarker(Next);
  G->SetSortMarkedColumns();
}

// --- presses --------------------------------------------------------------------------------------

void TCustomDBGridZk::TitleMouseDown(const TGridCoord& K, TMouseButton Button, TShiftState Shift,
                                     int X, int Y) {
  TColumnZk* C = ColumnAtGridCol(K.X);
  const TRect R = CellScreenRect(K.X, K.Y);
  // The lowest pixels of a data column's title select the column.
  if (C && K.Y == FTitleOffset - 1 && SelectionTypeAllowed(gstColumns) &&
      Y >= R.Bottom - std::min(ColumnSelectBand, R.Height()) && Button == mbLeft) {
    InvalidateGridCol(K.X);
    FDBGridZkState = dgsColSelecting;
    StartTrackTimer(60);
    if (Shift.Contains(ssShift)) FSelection->Columns()->SelectShift(C);
    else if (Shift.Contains(ssCtrl)) FSelection->Columns()->InvertSelect(C);
    else {
      Invalidate();
      FSelection->Columns()->Select(C, false);
    }
    return;
  }
  if (C && Button == mbRight && FOptionsZk.Contains(dghColumnMove)) {
    FSwapButtons = true;
    Button = mbLeft;
  }
  if (C && Button == mbLeft) {
    bool Enabled = C->Title()->TitleButton();
    CheckTitleButton(K.X, Enabled);
    if (Enabled) {
      if (MouseCapture()) {
        FTracking = true;
        FPressedCol = K.X;
        FPressedDataCol = GridColToColumnIndex(K.X);
        FPressed = false;
        TrackButton(X, Y);
      }
      return;
    }
  }
  if (K.X < FIndicatorOffset && K.Y == 0) {
    if (FCenter) {
      const TRect Cell = CellScreenRect(K.X, K.Y);
      FCenter->IndicatorTitleMouseDown(this, K, Button, Shift, X - Cell.Left, Y - Cell.Top);
    } else {
      IndicatorTitleMouseDown(K, Button, Shift, X, Y);
    }
    InvalidateEditor();
    if (FDBGridZkState == dgsTitleDown) {
      TCustomControl::MouseDown(Button, Shift, X, Y);
      return;
    }
  }
  FDataLink->UpdateRecord();
  Canvas()->Pen()->SetColor(clSilver);
  TCustomGridZk::MouseDown(Button, Shift, X, Y);
}

void TCustomDBGridZk::DataMouseDown(const TGridCoord& K, TMouseButton Button, TShiftState Shift,
                                    int X, int Y) {
  if (!FDataLink->Active()) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (StartDataRowMove(X, Y, false) || CellTreeElementClick(X, Y, false)) return;
  if (GroupingWorks()) return GroupRowMouseDown(K, X);
  TDataSet* D = DataSet();
  BeginUpdate();
  try {
    FDataLink->UpdateRecord();
    HideCellEditor();
    const TGridCoord Before{Col(), Row()};
    const TBookmarkRef BeforeBookmark = FBookmarks->GetCurrentBookmark();
    const bool InIndicator = K.X < FIndicatorOffset;
    const bool ShiftRange = Shift.Contains(ssShift) && FOptions.Contains(dgMultiSelect) &&
                            (FOptions.Contains(dgRowSelect) || InIndicator);
    FLockAutoShowCurCell = true;
    if (K.Y >= FTitleOffset && K.Y != Row() && !ShiftRange)
      MoveBy(K.Y - FTitleOffset - CurrentDataRow());
    FLockAutoShowCurCell = false;
    if (!InIndicator) MoveCol(GridColToColumnIndex(K.X), 0, false);
    const bool Rectangles = SelectionTypeAllowed(gstRectangle);
    if (MouseCapture()) {
      const TGridMetrics M = CalcMetrics();
      const bool InData = X >= M.Horz.FixedEnd && Y >= M.Vert.FixedEnd;
      if (InData && (!FOptions.Contains(dgMultiSelect) || !FOptions.Contains(dgRowSelect))) {
        FTracking = FDataTracking = true;
        if (!Shift.Contains(ssCtrl) && !Shift.Contains(ssShift) &&
            FOptionsZk.Contains(dghClearSelection)) {
          if (Button == mbLeft) ClearSelectionIfOption();
          else if (!FSelection->DataCellSelected(GridColToColumnIndex(K.X), D->GetBookmark()))
            ClearSelection();
        }
        if (!InIndicator && Rectangles && Button == mbLeft && !(D->Bof() && D->Eof())) {
          if (Shift.Contains(ssShift)) {
            if (FSelection->SelectionType() != gstRectangle)
              FSelection->Rect()->Select(GridColToColumnIndex(Before.X), BeforeBookmark, false);
            FSelection->Rect()->Select(SelectedIndex(), FBookmarks->GetCurrentBookmark(), true);
          } else {
            FSelection->Rect()->Select(SelectedIndex(), FBookmarks->GetCurrentBookmark(), false);
          }
          FDBGridZkState = dgsRectSelecting;
        }
      }
      if (SelectionTypeAllowed(gstRecordBookmarks) &&
          (FOptions.Contains(dgRowSelect) || InIndicator || !Rectangles)) {
        FSelecting = false;
        if (Shift.Contains(ssShift) && K.Y != Row()) {
          FSelecting = FSelectionAnchor != nullptr;
          FAntiSelection = true;
          MoveWithSelection(true, K.Y - Row(), false, true);
        } else if ((Shift.Contains(ssCtrl) || !FOptionsZk.Contains(dghClearSelection)) &&
                   Button == mbLeft) {
          FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
        } else if (Button == mbLeft) {
          ClearSelectionIfOption();
          FBookmarks->SetCurrentRowSelected(true);
        }
        if (FOptions.Contains(dgRowSelect) || !Rectangles || InIndicator) {
          FIndicatorPressed = true;
          FTracking = true;
          FSelecting = true;
          FSelectionAnchorSelected = !FBookmarks->CurrentRowSelected();
          FSelectionAnchor = FBookmarks->GetCurrentBookmark();
          FAntiSelection = Shift.Contains(ssCtrl) || !FOptionsZk.Contains(dghClearSelection);
          FDBGridZkState = dgsRowSelecting;
        }
      }
    }
    if (Button == mbLeft && AlwaysShowEditor() && (Before == TGridCoord{Col(), Row()}))
      ShowCellEditor();
    if (Button != mbLeft || InIndicator) {
      InvalidateEditor();
    } else {
      const bool Same = Before == TGridCoord{Col(), Row()};
      TColumnZk* C = ColumnAtGridCol(K.X);
      // A press on the cell's button strip opens the editor and presses its button.
      const TRect Cell = CellRect(K.X, K.Y);
      const int Strip = C ? C->EditButtonsWidth() : 0;
      const bool OnButtons = Strip > 0 && X >= Cell.Right - Strip && X < Cell.Right;
      if (FOptions.Contains(dgAlwaysShowEditor) || Same || OnButtons) ShowCellEditor();
      if (OnButtons && InplaceEditor() && InplaceEditor()->EditorVisible())
        PassPressToEditorButton(X, Y);
      if (C && C->Checkboxes()) FPressedCell = K;
    }
  } catch (...) {
    FLockAutoShowCurCell = false;
    EndUpdate();
    throw;
  }
  EndUpdate();
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomDBGridZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FStartShiftState = Shift;
  FPressedCell = {-1, -1};
  FPressedDataCol = -1;
  FDownMousePos = {X, Y};
  if (!AcquireFocus()) return;
  if (Button == mbLeft && FDataGrouping->GroupPanelVisible() &&
      Y < OutBoundaryData()->TopIndent())
    return GroupPanelMouseDown(X, Y);
  const TGridCoord K = MouseCoord(X, Y);
  TGridState State = gsNormal;
  int Index = -1, Pos = 0, Ofs = 0;
  TGridMetrics M;
  FindSizingLine(X, Y, State, Index, Pos, Ofs, M);
  if (Shift.Contains(ssDouble) && Button == mbLeft) {
    // A double click on a column's sizing edge fits the column instead of being a click.
    TColumnZk* Sized = State == gsColSizing ? ColumnAtGridCol(Index) : nullptr;
    if (FGridRowPanel->Active() && State == gsColSizing)
      RowPanelFitColWidth(Index);
    else if (Sized && FOptionsZk.Contains(dghDblClickOptimizeColWidth))
      FitColumnsAfterSizingClick(Sized);
    else
      DblClickStep(K, State, Shift);
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (FGridState == gsNormal && State != gsNormal) {
    FDataLink->UpdateRecord();
    if (FOptionsZk.Contains(dghTraceColSizing) && Button == mbLeft && State == gsColSizing) {
      FSizingOfs = Ofs;
      FSizingPos = Pos;
      FSizingIndex = Index;
      FGridState = gsColSizing;
      TCustomControl::MouseDown(Button, Shift, X, Y);
      return;
    }
    TCustomGridZk::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (K.X < 0 || K.Y < 0) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (FGridRowPanel->Active() && K.X >= FIndicatorOffset) {
    if (IsFilterRowCell(K.X, K.Y) && Button == mbLeft) {
      if (TColumnZk* C = RowPanelColumnAt(X, Y, true)) EnterFilterCell(C->Index());
      return;
    }
    if (K.Y < FTitleOffset) return RowPanelTitleMouseDown(Button, Shift, X, Y);
    return RowPanelDataMouseDown(K, Button, Shift, X, Y);
  }
  if (IsFilterRowCell(K.X, K.Y) && Button == mbLeft) {
    const int Data = GridColToColumnIndex(K.X);
    if (Data >= 0 && Data < static_cast<int>(FVisibleColumns.size()))
      EnterFilterCell(FVisibleColumns[Data]->Index());
    return;
  }
  if (Button == mbLeft && K.Y == FTitleOffset - 1 && TitleFilterButtonAt(this, K.X, X, Y)) {
    DropDownInTitleFilter(this, ColumnAtGridCol(K.X));
    return;
  }
  if (K.Y < FTitleOffset) TitleMouseDown(K, Button, Shift, X, Y);
  else DataMouseDown(K, Button, Shift, X, Y);
}

// --- moves ----------------------------------------------------------------------------------------

void TCustomDBGridZk::MouseMove(TShiftState Shift, int X, int Y) {
  const TPoint Previous = FMoveMousePos;
  FMoveMousePos = {X, Y};
  if (FDBGridZkState == dgsGroupPanelTitleMoving) return GroupPanelTitleMoving(X, Y);
  if (FDataGrouping->GroupPanelVisible()) GroupPanelHotTrack(X, Y);
  // A column title dragged up into the group panel continues as a drag there.
  if (FGridState == gsColMoving && !FGridRowPanel->Active() &&
      FDataGrouping->GroupPanelVisible() && Y < OutBoundaryData()->TopIndent())
    if (TColumnZk* Moved = ColumnAtGridCol(FMoveIndex)) {
      FGroupDataMovingIndex = -1;
      StartGroupPanelTitleMove(X);
      FPressedDataCol = Moved->Index();
      return;
    }
  if (FGridRowPanel->Active()) {
    if (FGridState == gsColMoving) return TrackRowPanelColumnDrag(Shift, X, Y);
    if (RowPanelDragStarts(X, Y))
      return StartRowPanelColumnDragAt(Shift, X, FPressedDataCol, Y);
  }
  if (FTracking && FPressedCol != -1) {
    TrackButton(X, Y);
    if (FDBGridZkState != dgsTitleDown && FOptionsZk.Contains(dghColumnMove) &&
        Moved(FDownMousePos, {X, Y})) {
      StopTracking();
      Canvas()->Pen()->SetColor(clSilver);
      TCustomGridZk::MouseDown(mbLeft, {ssLeft}, FDownMousePos.X, FDownMousePos.Y);
    }
    return;
  }
  if (FIndicatorPressed || FDataTracking || FDBGridZkState == dgsRectSelecting) {
    const TGridMetrics M = CalcMetrics();
    const TGridCoord Cell =
        MouseCoord(std::clamp(X, 0, std::max(0, Width() - 1)), std::clamp(Y, 0, std::max(0, Height() - 1)));
    const bool AddSel = !(Previous == TPoint{X, Y});
    if (Y > M.Vert.FixedEnd && Y < M.Vert.VisibleEnd && Cell.Y >= FTitleOffset && Cell.Y != Row())
      MoveWithSelection(Shift.Contains(ssLeft) && AddSel, Cell.Y - Row(), false,
                        FDBGridZkState != dgsRectSelecting);
    if (FDataTracking && X > M.Horz.FixedEnd && X < M.Horz.VisibleEnd && Cell.X >= FIndicatorOffset &&
        Cell.X != Col()) {
      MoveCol(GridColToColumnIndex(Cell.X), Cell.X > Col() ? 1 : -1, false);
      if (FDBGridZkState == dgsRectSelecting)
        FSelection->Rect()->Select(SelectedIndex(), FBookmarks->GetCurrentBookmark(), AddSel);
    } else if (FDBGridZkState == dgsRectSelecting && AddSel && Cell.Y >= FTitleOffset) {
      FSelection->Rect()->Select(SelectedIndex(), FBookmarks->GetCurrentBookmark(), true);
    }
    FDownMousePos = {X, Y};
    FMouseShift = Shift;
    TrackSelection();
    return;
  }
  if (FDBGridZkState == dgsColSelecting) {
    const TGridMetrics M = CalcMetrics();
    const TGridCoord Cell = MouseCoord(X, std::max(0, std::min(Y, Height() - 1)));
    if (X > M.Horz.FixedEnd && X < M.Horz.VisibleEnd && Cell.X >= FIndicatorOffset) {
      if (TColumnZk* C = ColumnAtGridCol(Cell.X)) FSelection->Columns()->SelectShift(C);
    }
    return;
  }
  if (FOptionsZk.Contains(dghTraceColSizing) && FGridState == gsColSizing) {
    FSizingPos = FSizingOfs + X;
    const int Left = CellScreenRect(FSizingIndex, 0).Left;
    const int W = std::max(1, FSizingPos - Left);
    if (!FAutoFitColWidths || FSizingPos < ClientWidth() - (FColumns->Count() - FSizingIndex) * 2)
      SetColWidth(FSizingIndex, W);
    return;
  }
  if (FDBGridZkState == dgsRowMoving) {
    TrackDataRowMove(Y);
    return;
  }
  TCustomGridZk::MouseMove(Shift, X, Y);
}

// --- releases -------------------------------------------------------------------------------------

bool TCustomDBGridZk::TitleClickCounts(int X, int Y) const {
  if (FPressedCol < 0) return false;
  const TRect R = const_cast<TCustomDBGridZk*>(this)->PressedTitleRect();
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

void TCustomDBGridZk::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridCoord Cell = MouseCoord(X, Y);
  if (FDBGridZkState == dgsGroupPanelTitleMoving)
    return EndGroupPanelTitleMove(X, Y, Y < OutBoundaryData()->TopIndent());
  if (FDBGridZkState == dgsGroupPanelTitleDown) return GroupPanelTitleMouseUp(X, Y);
  if (FDBGridZkState == dgsRowMoving) EndDataRowMove(X, Y, true);
  if (FGridRowPanel->Active() && (FGridState == gsColSizing || FGridState == gsRowSizing))
    return RowPanelTitleMouseUp(Button, Shift, X, Y);
  if (FGridRowPanel->Active() && FGridState == gsColMoving) {
    EndRowPanelColumnDrag(true);
    TCustomControl::MouseUp(Button, Shift, X, Y);
    return;
  }
  if (FOptionsZk.Contains(dghTraceColSizing) && FGridState == gsColSizing) {
    FGridState = gsNormal;
    FDBGridZkState = dgsNormal;
    TCustomControl::MouseUp(Button, Shift, X, Y);
    return;
  }
  const TDBGridZkState WasState = FDBGridZkState;
  FDBGridZkState = dgsNormal;
  const TGridState WasGrid = FGridState;
  FSelecting = false;
  if (FTracking && FPressedCol >= 0) {
    const bool Click = TitleClickCounts(X, Y) && WasState != dgsTitleDown;
    const int PressedCol = FPressedCol;
    TColumnZk* C = PressedTitleColumn();
    StopTracking();
    if (Click) {
      const int Index = FGridRowPanel->Active() && C ? C->Index() : GridColToColumnIndex(PressedCol);
      if (C) {
        TitleBtnClick(Index, C);
        FSortMarking = Shift.Contains(ssCtrl);
        if (FOptionsZk.Contains(dghAutoSortMarking)) AdvanceSortMarker(this, C, FSortMarking);
        if (!FSortMarking) SortMarkingChanged();
        Invalidate();
      }
    }
  } else if (FSwapButtons) {
    FSwapButtons = false;
    SetMouseCapture(false);
    if (Button == mbRight) Button = mbLeft;
  }
  if (WasState == dgsTitleDown) {
    FIndicatorTitle->SetDown(false);
    InvalidateCell(0, 0);
  }
  if (FIndicatorPressed || FDataTracking) StopTracking();
  if (WasState != dgsNormal) StopTrackTimer();
  TCustomGridZk::MouseUp(Button, Shift, X, Y);
  if (WasGrid == gsRowSizing || WasGrid == gsColSizing) return;
  if (InplaceEditor() && InplaceEditor()->EditorVisible()) {
    const TRect E = InplaceEditor()->BoundsRect();
    if (X >= E.Left && X < E.Right && Y >= E.Top && Y < E.Bottom) return;
  }
  if (FGridRowPanel->Active()) {
    if (TColumnZk* C = RowPanelColumnAt(X, Y, Cell.Y < FTitleOffset); C && Button == mbLeft)
      Cell.Y < FTitleOffset ? TitleClick(C) : CellClick(C);
    if (Cell.Y >= FTitleOffset) RowPanelDataMouseUp(Shift, X, Y);
    FPressedCell = {-1, -1};
    return;
  }
  TColumnZk* C = Cell.X >= 0 ? ColumnAtGridCol(Cell.X) : nullptr;
  if (Button == mbLeft && C) {
    if (Cell.Y < FTitleOffset) TitleClick(C);
    else if (!CellTreeElementClick(X, Y, true)) CellClick(C);
  }
  // A check box steps on release, on the cell it was pressed on.
  if (C && C->Checkboxes() && Cell == FPressedCell && !Shift.Contains(ssDouble) &&
      ColumnEditable(GridColToColumnIndex(Cell.X)) && C->Field()) {
    FDataLink->Edit();
    TField* F = C->Field();
    F->SetAsBoolean(F->IsNull() ? true : !F->AsBoolean());
  }
  FPressedCell = {-1, -1};
}


void TCustomDBGridZk::DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button,
                                            TShiftState Shift, int X, int Y) {
  if (FCenter) FCenter->CellMouseClick(this, Cell, Button, Shift, X, Y);
}

void TCustomDBGridZk::CancelMode() {
  if (FDBGridZkState == dgsRowMoving) EndDataRowMove(0, 0, false);
  if (FGridRowPanel->Active() && FGridState == gsColMoving) EndRowPanelColumnDrag(false);
  FDBGridZkState = dgsNormal;
  StopTracking();
  StopTrackTimer();
  TCustomGridZk::CancelMode();
}

bool TCustomDBGridZk::WMTimerZk(TMessage& Message) {
  if (Message.WParam == 2) {
    StopInplaceSearch();
    return true;
  }
  if (Message.WParam == 1 &&
      (FIndicatorPressed || FDataTracking || FDBGridZkState == dgsColSelecting)) {
    TrackSelection();
    return true;
  }
  if (Message.WParam == 1 && FDBGridZkState == dgsRowMoving) {
    TrackDataRowMove(FMoveMousePos.Y);
    return true;
  }
  if (Message.WParam == 1 && FGridRowPanel->Active() && FGridState == gsColMoving) {
    TrackRowPanelColumnDrag({}, FMoveMousePos.X, FMoveMousePos.Y);
    return true;
  }
  return false;
}

void TCustomDBGridZk::PassPressToEditorButton(int X, int Y) {
  TInplaceEdit* Editor = InplaceEditor();
  const TPoint P = Editor->ScreenToClient(ClientToScreen({X, Y}));
  TControl* Target = Editor->ControlAtPos(P, false);
  if (!Target) return;
  StopTracking();
  if (MouseCapture()) SetMouseCapture(false);
  const TPoint Local = Target->ScreenToClient(ClientToScreen({X, Y}));
  Target->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Local.X, Local.Y));
}

// A double click on a check box (or key image) steps its value when the column says so.
void TCustomDBGridZk::DblClickStep(TGridCoord K, TGridState SizingState, TShiftState Shift) {
  TColumnZk* C = SizingState == gsNormal && K.X >= FIndicatorOffset && K.Y >= FTitleOffset
                     ? ColumnAtGridCol(K.X)
                     : nullptr;
  if (C && C->DblClickNextVal() &&
      (C->GetColumnType() == ctCheckboxes || C->GetColumnType() == ctKeyImageList))
    C->StepFieldValue(Shift.Contains(ssShift) ? -1 : 1);
  DblClick();
}
