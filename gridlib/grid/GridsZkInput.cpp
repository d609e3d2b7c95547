// GridsZkInput.cpp - the base grid's interaction: the current cell and the range selection,
// keys, mouse presses, moves and releases, cell clicks, hot tracking, moving columns and rows,
// the auto-scroll timer, cancel mode, focus, and the message dispatch of the whole grid.
#include "gridlib/grid/GridsZk.h"

#include <algorithm>

#include "gridlib/grid/GridMarkersZk.h"
#include "gridlib/grid/GridsZk_p.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"

// --- current cell and selection -------------------------------------------------------------------

void TCustomGridZk::SetCurrentCell(int ACol, int ARow, bool MoveAnchor, bool ScrollX, bool ScrollY) {
  if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount) RaiseGridError(geIndexOutOfRange);
  if (!CellMayBeCurrent(ACol, ARow)) return;
  const TGridCellRect OldSelection = CurrentSelection();
  const TGridCoord OldCurrent = FCurrent;
  FCurrent = {ACol, ARow};
  if (!FOptions.Contains(goAlwaysShowEditor)) CloseEditor();
  const bool RowSelect = FOptions.Contains(goRowSelect);
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) {
    FAnchor = FCurrent;
    if (RowSelect) FAnchor.X = FColCount - 1;
  }
  if (RowSelect) FCurrent.X = FTopLeft.X;
  if (ScrollX || ScrollY) ScrollCellIntoView(FCurrent, ScrollX && !RowSelect, ScrollY);
  InvalidateSelectionChange(OldSelection);
  InvalidateOneCell(OldCurrent.X, OldCurrent.Y);
  InvalidateOneCell(FCurrent.X, FCurrent.Y);
}

void TCustomGridZk::ExtendSelectionTo(TGridCoord Cell, bool Scroll) {
  if (!FOptions.Contains(goRangeSelect) || FOptions.Contains(goEditing)) {
    SetCurrentCell(Cell.X, Cell.Y, true, Scroll, Scroll);
    return;
  }
  const TGridCellRect OldSelection = CurrentSelection();
  FAnchor = Cell;
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
  ScrollCellIntoView(Cell, true, true);
  InvalidateSelectionChange(OldSelection);
}

void TCustomGridZk::GoToCell(int ACol, int ARow, bool MoveAnchor) {
  SetCurrentCell(ACol, ARow, MoveAnchor, true, true);
  RefreshEditor();
  Click();
}

void TCustomGridZk::StepAnchorByTimer(int Directions) {
  TGridCoord A = FAnchor;
  if ((Directions & 1) && A.X > FFixedCols) --A.X;
  if ((Directions & 2) && A.X < FColCount - 1) ++A.X;
  if ((Directions & 4) && A.Y > FFixedRows) --A.Y;
  if ((Directions & 8) && A.Y < FRowCount - 1) ++A.Y;
  if (!(A == FAnchor)) ExtendSelectionTo(A, true);
}

void TCustomGridZk::CellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift,
                                   int X, int Y) {
  if (FOnCellMouseClick) FOnCellMouseClick(this, Cell, Button, Shift, X, Y);
  else DefaultCellMouseClick(Cell, Button, Shift, X, Y);
}

void TCustomGridZk::DefaultCellMouseClick(const TGridCoord&, TMouseButton, TShiftState, int, int) {}

bool TCustomGridZk::CanCellMouseClick(const TMessage& M) {
  return FGridState == gsNormal && GET_X_LPARAM(M.LParam) >= 0 && GET_Y_LPARAM(M.LParam) >= 0;
}

void TCustomGridZk::UpdateHotTrackCell(int X, int Y) {
  const TGridCoord Cell = MouseCoord(X, Y);
  const bool Valid = FHotTrackCell.X >= 0 && FHotTrackCell.Y >= 0;
  if (Cell.X >= 0 && CanHotTrackCell(Cell.X, Cell.Y)) {
    if (!(Cell == FHotTrackCell)) {
      if (Valid) InvalidateOneCell(FHotTrackCell.X, FHotTrackCell.Y);
      InvalidateOneCell(Cell.X, Cell.Y);
      FHotTrackCell = Cell;
    }
  } else {
    if (Valid) InvalidateOneCell(FHotTrackCell.X, FHotTrackCell.Y);
    FHotTrackCell = {-1, -1};
  }
  if (FHotTrackCell.X >= 0) {
    const TRect R = CellScreenRect(FHotTrackCell.X, FHotTrackCell.Y);
    FHotTrackInCellPos = {X - R.Left, Y - R.Top};
  }
}

void TCustomGridZk::CancelMode() {
  switch (FGridState) {
    case gsSelecting: KillTimer(this, GridScrollTimerId); break;
    case gsRowSizing:
    case gsColSizing: ShowSizingLine(false); break;
    case gsRowMoving:
    case gsColMoving:
      HideMoveMarker();
      ShowMoveLine(false);
      KillTimer(this, GridScrollTimerId);
      break;
    default: break;
  }
  FGridState = gsNormal;
}

void TCustomGridZk::HideMoveMarker() {
  TGridMoveLineZk* Line = GridMoveLineWindow();
  if (Line->Visible()) Line->SetVisible(false);
}

// --- moving columns and rows ----------------------------------------------------------------------

void TCustomGridZk::StartColumnMove(int Index, int X, int Y, const TGridMetrics& Metrics) {
  FMoveIndex = Index;
  FMovePos = std::max(CellAtPoint(X, Y, Metrics).X, FTopLeft.X);
  FMovePosRightSite = FMoveIndex < FMovePos;
  if (!BeginColumnMove(FMoveIndex, FMovePos, {X, Y})) return;
  FGridState = gsColMoving;
  Update();
  DrawMoveMarker();
  SetTimer(this, GridScrollTimerId, GridScrollTimerInterval);
}

TRect TCustomGridZk::MoveLineRect() const {
  const TGridMetrics M = CalcMetrics();
  const TRect Cell = CellsScreenRect(M, {0, FMovePos, 0, FMovePos}, false);
  const int Y = FMoveIndex < FMovePos ? Cell.Bottom : Cell.Top;
  return Rect(0, Y - 2, GridClientSize().cx, Y + 3);
}

void TCustomGridZk::ShowMoveLine(bool Show) {
  if (FMoveLineShown == Show) return;
  FMoveLineShown = Show;
  if (!HandleAllocated()) return;
  const TRect R = MoveLineRect();
  ::InvalidateRect(this, &R, false);
}

void TCustomGridZk::DrawMoveMarker() {
  if (FGridState == gsRowMoving) {
    ShowMoveLine(true);
    return;
  }
  const TGridMetrics M = CalcMetrics();
  const int Start = CellLinePos(M.Horz, FMovePos);
  const int X = FMovePosRightSite ? Start + ColWidth(FMovePos) : Start - 1;
  TGridMoveLineZk* Line = GridMoveLineWindow();
  const TPoint P{X, M.Vert.NearIndent};
  if (Line->Visible()) Line->MoveToFor(this, P);
  else Line->StartShow(this, P, true, M.Vert.DataEnd - M.Vert.NearIndent);
}

void TCustomGridZk::MoveAdjust(int Pos, int Cell, TPoint Point, bool Rows, const TGridAxisMetrics& A) {
  bool Right = FMoveIndex < Cell;
  if (!Rows && ColWidth(FMoveIndex) < 1 && Cell >= 0) {
    int Run = FMoveIndex + 1;
    while (Run < FColCount && ColWidth(Run) < 1) ++Run;
    const int CellStart = CellLinePos(A, Cell);
    if (Run == Cell && Pos < CellStart + ColWidth(Cell) / 2) Right = false;
  }
  if (Cell == FMovePos && Right == FMovePosRightSite) return;
  if (A.PixelOffset == 0 && FMovePos == A.FixedCount && Pos < A.FixedEnd) return;
  if (FMovePos == A.CellCount - 1 && Pos > A.VisibleEnd) return;
  if (Rows) ShowMoveLine(false);
  const int Bar = Rows ? SB_VERT : SB_HORZ;
  int NewPos = Cell < 0 ? FMovePos : Cell;
  if (Pos < A.FixedEnd) {
    if (FMovePos > A.FixedCount || A.PixelOffset > 0) ScrollBarMessage(Bar, SB_LINEUP, 0);
    NewPos = Rows ? FTopLeft.Y : FTopLeft.X;
  } else if (Pos >= A.LastWholeEnd) {
    if (FMovePos == A.LastWholeCell && FMovePos != A.CellCount - 1) ScrollBarMessage(Bar, SB_LINEDOWN, 0);
    const TGridMetrics Fresh = CalcMetrics();
    NewPos = (Rows ? Fresh.Vert : Fresh.Horz).LastWholeCell;
  }
  if (NewPos != Cell) Right = FMoveIndex < NewPos;
  const bool Allowed = Rows ? CheckRowMove(FMoveIndex, NewPos, Point)
                            : CheckColumnMove(FMoveIndex, NewPos, Point);
  if (Allowed) {
    FMovePos = NewPos;
    FMovePosRightSite = Right;
  }
  DrawMoveMarker();
}

unsigned TCustomGridZk::ColumnMoveTimerInterval(int Distance, int Budget) {
  // The budget goes negative when the edge lies beyond the desktop (a grid reaching past the
  // screen); the interval must stay a sane positive time then.
  const int Limit = std::max(1, std::min(Budget, 200));
  const int D = std::min(Distance, Limit);
  const int K = D <= 10 ? 1 : D - 10;
  return unsigned(double(Limit) / K * 1.5) + GridScrollTimerInterval;
}

void TCustomGridZk::TimerTick() {
  if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving) return;
  TPoint Screen;
  GetCursorPos(Screen);
  const TPoint P = ScreenToClient(Screen);
  const TGridMetrics M = CalcMetrics();
  const TGridCoord Cell = CellAtPoint(P.X, P.Y, M);
  if (FGridState == gsSelecting) {
    int Directions = 0;
    if (P.X < M.Horz.FixedEnd) Directions |= 1;
    else if (P.X > M.Horz.LastWholeEnd) Directions |= 2;
    if (P.Y < M.Vert.FixedEnd) Directions |= 4;
    else if (P.Y > M.Vert.LastWholeEnd) Directions |= 8;
    if (Directions) StepAnchorByTimer(Directions);
    return;
  }
  if (FGridState == gsRowMoving) {
    MoveAdjust(P.Y, Cell.Y, P, true, M.Vert);
    return;
  }
  const int OldLeft = FTopLeft.X, OldSmooth = FSmoothPos.X;
  MoveAdjust(P.X, Cell.X, P, false, M.Horz);
  unsigned Interval = GridScrollTimerInterval;
  if (FMovePos < FFixedCols) {
    Interval = GridScrollTimerInterval;
  } else if (P.X < M.Horz.FixedEnd) {
    const int Edge = ClientToScreen({M.Horz.FixedEnd, 0}).X;
    Interval = ColumnMoveTimerInterval(Edge - Screen.X, Edge);
  } else if (P.X < M.Horz.ScrollAreaEnd) {
    const bool Scrolled = FTopLeft.X > OldLeft || FSmoothPos.X > OldSmooth;
    Interval = Scrolled ? 360 : GridScrollTimerInterval;
  } else if (P.X > M.Horz.ScrollAreaEnd) {
    const int Edge = ClientToScreen({M.Horz.ScrollAreaEnd, 0}).X;
    Interval = ColumnMoveTimerInterval(Screen.X - Edge, GetSystemMetrics(SM_CXSCREEN) - Edge);
  }
  SetTimer(this, GridScrollTimerId, Interval);
}

// --- keys -----------------------------------------------------------------------------------------

void TCustomGridZk::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (!GridAcceptsKey(Key, Shift)) {
    Key = 0;
    return;
  }
  const TGridMetrics M = CalcMetrics();
  TGridCoord NC = FCurrent, NTL = FTopLeft;
  const int PageW = std::max(1, M.Horz.LastWholeCell - FTopLeft.X);
  const int PageH = std::max(1, M.Vert.LastWholeCell - FTopLeft.Y);
  const bool RowSelect = FOptions.Contains(goRowSelect);
  bool MoveAnchor = !Shift.Contains(ssShift);
  if (Shift.Contains(ssCtrl)) {
    switch (Key) {
      case VK_PRIOR: NC.Y = FTopLeft.Y; break;
      case VK_NEXT: NC.Y = M.Vert.LastWholeCell; break;
      case VK_END: NC = {FColCount - 1, FRowCount - 1}; break;
      case VK_HOME: NC = {FFixedCols, FFixedRows}; break;
      case VK_LEFT:
        if (!RowSelect) { NC.X -= PageW; NTL.X -= PageW; }
        break;
      case VK_RIGHT:
        if (!RowSelect) { NC.X += PageW; NTL.X += PageW; }
        break;
      case VK_UP: --NTL.Y; break;
      case VK_DOWN: ++NTL.Y; break;
      default: break;
    }
  } else {
    switch (Key) {
      case VK_TAB: {
        if (Shift.Contains(ssAlt)) break;
        const bool Back = Shift.Contains(ssShift);
        auto Step = [&](TGridCoord C) {
          if (!Back) {
            if (++C.X >= FColCount) {
              C.X = FFixedCols;
              if (++C.Y >= FRowCount) C.Y = FFixedRows;
            }
          } else if (--C.X < FFixedCols) {
            C.X = FColCount - 1;
            if (--C.Y < FFixedRows) C.Y = FRowCount - 1;
          }
          return C;
        };
        NC = Step(FCurrent);
        while (!IsTabStop(NC.X) && NC.X != FCurrent.X) NC = Step(NC);
        MoveAnchor = true;
        break;
      }
      case VK_PRIOR: NC.Y -= PageH; NTL.Y -= PageH; break;
      case VK_NEXT: NC.Y += PageH; NTL.Y += PageH; break;
      case VK_END:
        if (RowSelect) NC.Y = FRowCount - 1;
        else NC.X = FColCount - 1;
        break;
      case VK_HOME:
        if (RowSelect) NC.Y = FFixedRows;
        else NC.X = FFixedCols;
        break;
      case VK_LEFT:
        if (RowSelect) ScrollPixelsClamped(-HorzScrollStep(), 0);
        else --NC.X;
        break;
      case VK_RIGHT:
        if (RowSelect) ScrollPixelsClamped(HorzScrollStep(), 0);
        else ++NC.X;
        break;
      case VK_UP: --NC.Y; break;
      case VK_DOWN: ++NC.Y; break;
      case VK_F2: SetEditorMode(true); break;
      default: break;
    }
  }
  const TGridMetrics Now = CalcMetrics();
  const int MaxLeft = MaxFirstScrolledCell(Now.Horz, FColCount - 1);
  const int MaxTop = MaxFirstScrolledCell(Now.Vert, FRowCount - 1);
  NTL.X = std::clamp(NTL.X, FFixedCols, std::max(FFixedCols, MaxLeft));
  NTL.Y = std::clamp(NTL.Y, FFixedRows, std::max(FFixedRows, MaxTop));
  if (!(NTL == FTopLeft)) SetFirstScrolledCells(NTL.X, NTL.Y);
  NC.X = std::clamp(NC.X, std::max(0, FFixedCols - FFrozenColCount), FColCount - 1);
  NC.Y = std::clamp(NC.Y, std::max(0, FFixedRows - FFrozenRowCount), FRowCount - 1);
  if (!(NC == FCurrent) && !(RowSelect && NC.Y == FCurrent.Y)) GoToCell(NC.X, NC.Y, MoveAnchor);
}

void TCustomGridZk::KeyPress(Char& Key) {
  TCustomControl::KeyPress(Key);
  if (FOptions.Contains(goAlwaysShowEditor) || Key != u'\r') return;
  if (FEditorMode) CloseEditor();
  else OpenEditor();
  Key = 0;
}

void TCustomGridZk::WMChar(TMessage& Message) {
  const Char Ch = Char(Message.WParam);
  if (FOptions.Contains(goEditing) && (Ch == 8 || Ch >= 32)) {
    OpenEditorWithChar(Ch);
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomGridZk::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS;
  if (FOptions.Contains(goRowSelect)) return;
  if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
  if (FOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

void TCustomGridZk::CMWantSpecialKey(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (FOptions.Contains(goEditing) && Message.WParam == VK_RETURN) Message.Result = 1;
}

// --- mouse ----------------------------------------------------------------------------------------

void TCustomGridZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  StoreAndHideEditor();
  if (CanFocus() || !::GetParentForm(this)) {
    if (CanFocus() && !Focused()) SetFocus();
    if (!GridIsActive()) {
      ReleaseCapture();
      return;
    }
  }
  if (Button == mbLeft && Shift.Contains(ssDouble)) {
    DblClick();
  } else if (Button == mbLeft) {
    TGridState State;
    int Index = -1, Pos = 0, Ofs = 0;
    TGridMetrics M;
    FindSizingLine(X, Y, State, Index, Pos, Ofs, M);
    if (State != gsNormal) {
      FGridState = State;
      FSizingIndex = Index;
      FSizingPos = Pos;
      FSizingOfs = Ofs;
      ShowSizingLine(true);
      return;
    }
    const TGridCoord Cell = CellAtPoint(X, Y, M);
    const bool Selectable = Cell.X >= FFixedCols - FFrozenColCount && Cell.Y >= FFixedRows - FFrozenRowCount &&
                            Cell.X >= 0 && Cell.Y >= 0 && Cell.X < FColCount && Cell.Y < FRowCount;
    if (!Selectable) {
      bool Started = false;
      if (FOptions.Contains(goRowMoving) && Cell.X >= 0 && Cell.X < FFixedCols && Cell.Y >= FFixedRows &&
          Cell.Y < FRowCount) {
        FMoveIndex = FMovePos = Cell.Y;
        if (BeginRowMove(FMoveIndex, FMovePos, {X, Y})) {
          FGridState = gsRowMoving;
          Started = true;
        }
      } else if (FOptions.Contains(goColMoving) && Cell.Y >= 0 && Cell.Y < FFixedRows &&
                 Cell.X >= FFixedCols && Cell.X < FColCount) {
        FMoveIndex = FMovePos = Cell.X;
        FMovePosRightSite = false;
        if (BeginColumnMove(FMoveIndex, FMovePos, {X, Y})) {
          FGridState = gsColMoving;
          Started = true;
        }
      }
      if (Started) {
        Update();
        DrawMoveMarker();
        SetTimer(this, GridScrollTimerId, GridScrollTimerInterval);
      }
    } else if (FOptions.Contains(goEditing)) {
      if (Cell == FCurrent) {
        OpenEditor();
      } else {
        SetCurrentCell(Cell.X, Cell.Y, true, true, true);
        RefreshEditor();
      }
      Click();
    } else {
      FGridState = gsSelecting;
      SetTimer(this, GridScrollTimerId, GridScrollTimerInterval);
      if (Shift.Contains(ssShift)) ExtendSelectionTo(Cell, true);
      else SetCurrentCell(Cell.X, Cell.Y, true, true, true);
    }
  }
  try {
    TCustomControl::MouseDown(Button, Shift, X, Y);
  } catch (...) {
    HideMoveMarker();
    throw;
  }
}

void TCustomGridZk::MouseMove(TShiftState Shift, int X, int Y) {
  switch (FGridState) {
    case gsRowSizing:
    case gsColSizing:
      ShowSizingLine(false);
      FSizingPos = (FGridState == gsRowSizing ? Y : X) + FSizingOfs;
      ShowSizingLine(true);
      break;
    case gsNormal: UpdateHotTrackCell(X, Y); break;
    default: {
      const TGridMetrics M = CalcMetrics();
      const TGridCoord Cell = CellAtPoint(X, Y, M);
      const bool Counts = Cell.X >= FFixedCols - FFrozenColCount && Cell.Y >= FFixedRows - FFrozenRowCount &&
                          Cell.X >= 0 && Cell.Y >= 0 &&
                          Cell.X <= std::min(M.Horz.LastWholeCell + 1, FColCount - 1) &&
                          Cell.Y <= std::min(M.Vert.LastWholeCell + 1, FRowCount - 1);
      if (!Counts) break;
      if (FGridState == gsSelecting && !(Cell == FAnchor)) ExtendSelectionTo(Cell, true);
      else if (FGridState == gsRowMoving) MoveAdjust(Y, Cell.Y, {X, Y}, true, M.Vert);
      else if (FGridState == gsColMoving) MoveAdjust(X, Cell.X, {X, Y}, false, M.Horz);
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGridZk::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridState State = FGridState;
  try {
    switch (State) {
      case gsSelecting:
        MouseMove(Shift, X, Y);
        KillTimer(this, GridScrollTimerId);
        RefreshEditor();
        Click();
        break;
      case gsRowSizing:
      case gsColSizing: {
        ShowSizingLine(false);
        const TGridMetrics M = CalcMetrics();
        const int Extent = NewSizedExtent(State == gsRowSizing ? M.Vert : M.Horz);
        if (Extent > 1) {
          if (State == gsRowSizing) SetRowHeight(FSizingIndex, Extent);
          else SetColWidth(FSizingIndex, Extent);
        }
        break;
      }
      case gsRowMoving:
        ShowMoveLine(false);
        KillTimer(this, GridScrollTimerId);
        if (EndRowMove(FMoveIndex, FMovePos, {X, Y}) && FMoveIndex != FMovePos)
          RelocateRow(FMoveIndex, FMovePos);
        RefreshEditor();
        break;
      case gsColMoving:
        HideMoveMarker();
        KillTimer(this, GridScrollTimerId);
        if (EndColumnMove(FMoveIndex, FMovePos, {X, Y}) && FMoveIndex != FMovePos)
          RelocateColumn(FMoveIndex, FMovePos);
        RefreshEditor();
        break;
      default: RefreshEditor(); break;
    }
  } catch (...) {
    FGridState = gsNormal;
    throw;
  }
  FGridState = gsNormal;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

namespace {

TMouseButton ButtonOfMessage(unsigned Msg) {
  switch (Msg) {
    case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return mbRight;
    case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return mbMiddle;
    default: return mbLeft;
  }
}

}  // namespace

// Presses remember their cell; a release or double click on that same cell is a cell click.
void TCustomGridZk::WMMouseButton(TMessage& Message) {
  const int X = GET_X_LPARAM(Message.LParam), Y = GET_Y_LPARAM(Message.LParam);
  const unsigned Msg = Message.Msg;
  if (Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN) {
    FMouseDownCell = MouseCoord(X, Y);
    if (FInplaceEdit) FInplaceEdit->SetClickTime(GetMessageTime());
    TCustomControl::Dispatch(Message);
    return;
  }
  const bool Allowed = CanCellMouseClick(Message);
  if (Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK) {
    FMouseDownCell = MouseCoord(X, Y);
    if (FInplaceEdit) FInplaceEdit->SetClickTime(GetMessageTime());
  }
  TCustomControl::Dispatch(Message);
  if (!Allowed || FMouseDownCell.X < 0 || FMouseDownCell.Y < 0) return;
  const TGridCoord Cell = MouseCoord(X, Y);
  if (!(Cell == FMouseDownCell)) return;
  TShiftState Shift = KeysToShiftState(unsigned(Message.WParam)) + KeyboardStateToShiftState();
  Shift = Shift * TShiftState{ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle};
  if (Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK) Shift << ssDouble;
  const TRect R = CellScreenRect(Cell.X, Cell.Y);
  CellMouseClick(Cell, ButtonOfMessage(Msg), Shift, X - R.Left, Y - R.Top);
}

// --- focus and other messages ---------------------------------------------------------------------

void TCustomGridZk::WMSetFocus(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (reinterpret_cast<TWinControl*>(Message.WParam) == FInplaceEdit && FInplaceEdit) return;
  InvalidateCellRect(CurrentSelection());
  RefreshEditor();
}

void TCustomGridZk::WMKillFocus(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  InvalidateCellRect(CurrentSelection());
  if (!FInplaceEdit || reinterpret_cast<TWinControl*>(Message.WParam) != FInplaceEdit)
    StoreAndHideEditor();
}

void TCustomGridZk::DoExit() {
  TCustomControl::DoExit();
  if (!FOptions.Contains(goAlwaysShowEditor)) CloseEditor();
}

void TCustomGridZk::CMCancelMode(TMessage& Message) {
  if (FInplaceEdit) FInplaceEdit->WindowProc(Message);
  TCustomControl::Dispatch(Message);
  CancelMode();
}

void TCustomGridZk::CMFontChanged(TMessage& Message) {
  if (FInplaceEdit) FInplaceEdit->Font()->Assign(Font());
  TCustomControl::Dispatch(Message);
}

void TCustomGridZk::CMMouseLeave(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  TPoint P;
  GetCursorPos(P);
  P = ScreenToClient(P);
  UpdateHotTrackCell(P.X, P.Y);
}

void TCustomGridZk::WMCommand(TMessage& Message) {
  TWMCommand C{Message};
  if (FInplaceEdit && C.Ctl() == LPARAM(static_cast<TWinControl*>(FInplaceEdit)) &&
      C.NotifyCode() == EN_CHANGE) {
    StoreEditorText();
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomGridZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL: WMHScroll(Message); return;
    case WM_VSCROLL: WMVScroll(Message); return;
    case WM_SIZE: WMSize(Message); return;
    case WM_SETCURSOR: WMSetCursor(Message); return;
    case WM_NCHITTEST: WMNCHitTest(Message); return;
    case WM_GETDLGCODE: WMGetDlgCode(Message); return;
    case WM_CHAR: WMChar(Message); return;
    case WM_COMMAND: WMCommand(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_TIMER:
      if (Message.WParam == GridScrollTimerId) TimerTick();
      else TCustomControl::Dispatch(Message);
      return;
    case WM_CANCELMODE:
      TCustomControl::Dispatch(Message);
      CancelMode();
      return;
    case CM_CANCELMODE: CMCancelMode(Message); return;
    case CM_FONTCHANGED: CMFontChanged(Message); return;
    case CM_WANTSPECIALKEY: CMWantSpecialKey(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_SHOWINGCHANGED:
      TCustomControl::Dispatch(Message);
      UpdateScrollBarRanges();
      return;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
      WMMouseButton(Message);
      return;
    default: TCustomControl::Dispatch(Message);
  }
}
