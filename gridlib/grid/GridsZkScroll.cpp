// GridsZkScroll.cpp - the base grid's scrolling (by cells or by pixels), its scroll bars and
// the sizing of columns and rows with the mouse.
//
// A cell-scrolled axis moves its first scrolled cell and runs its bar over 0..127; a
// pixel-scrolled axis moves the first cell and the pixels of it scrolled out of view
// (FDataOffset) together and runs its bar over the pixels of the scrolled cells.
#include "gridlib/grid/GridsZk.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "gridlib/grid/GridsZk_p.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/Math.h"

namespace {

// The pixels of cells First..Last - 1 with their lines, kept within the int range (a grid of
// a hundred million rows has more pixels than that).
int SpanOf(const TGridAxisMetrics& A, int First, int Last, int Line) {
  const long long Sum = A.Grid->ExtentsSpan(A.Rows, First, Last, Line);
  return int(std::clamp<long long>(Sum, INT_MIN / 2, INT_MAX / 2));
}

int PageOf(const TGridAxisMetrics& A) { return std::max(0, A.ScrollAreaEnd - A.FixedEnd); }

struct TPixelFirst {
  int Cell;
  int Overflow;
};

// The first cell that no longer fits when the cells up to Cell end flush with the scrolled
// area's end, and the pixels of it that would be scrolled out (0 when Cell itself does not fit).
TPixelFirst MaxFirstScrolledPixel(const TGridAxisMetrics& A, int Cell) {
  const int Start = std::max(Cell, A.FixedCount);
  int Room = A.ScrollAreaEnd + A.AxisLineWidth;
  for (int I = Start; I >= A.FixedCount; --I) {
    const int Extent = A.ExtentOf(I);
    if (Extent <= 0) continue;
    Room -= Extent + A.AxisLineWidth;
    if (Room < A.FixedEnd) return {I, I == Start ? 0 : A.FixedEnd - Room};
  }
  return {A.FixedCount, 0};
}

}  // namespace

// --- data sizes -----------------------------------------------------------------------------------

void TCustomGridZk::RecalcHorzDataSize() {
  const TGridMetrics M = CalcMetrics();
  FGridDataSize.cx = SpanOf(M.Horz, FFixedCols, FColCount, FGridLineWidth);
  FSmoothPos.X = SpanOf(M.Horz, FFixedCols, FTopLeft.X, FGridLineWidth) + FDataOffset.cx;
  FDataPageSize.cx = PageOf(M.Horz);
}

void TCustomGridZk::RecalcVertDataSize() {
  const TGridMetrics M = CalcMetrics();
  FGridDataSize.cy = SpanOf(M.Vert, FFixedRows, FRowCount, FGridLineWidth);
  FSmoothPos.Y = SpanOf(M.Vert, FFixedRows, FTopLeft.Y, FGridLineWidth) + FDataOffset.cy;
  FDataPageSize.cy = PageOf(M.Vert);
}

void TCustomGridZk::ExtentChanged(int Index, int OldExtent, int NewExtent, bool Rows) {
  InvalidateWholeGrid();
  const int Fixed = Rows ? FFixedRows : FFixedCols;
  const int Count = Rows ? FRowCount : FColCount;
  // Only scrolled cells make up the data size; the thumb and line steps of both modes read it.
  if (Index >= Fixed && Index < Count) (Rows ? FGridDataSize.cy : FGridDataSize.cx) += NewExtent - OldExtent;
}

int TCustomGridZk::MaxFirstScrolledCell(const TGridAxisMetrics& A, int Cell) const {
  const int Start = std::max(Cell, A.FixedCount);
  int Room = A.ScrollAreaEnd + A.AxisLineWidth;
  int Result = Start;
  for (int I = Start; I >= A.FixedCount; --I) {
    const int Extent = A.ExtentOf(I);
    if (Extent > 0) {
      Room -= Extent + A.AxisLineWidth;
      if (Room < A.FixedEnd) break;
    }
    Result = I;
  }
  return Result;
}

int TCustomGridZk::HorzScrollStep() { return std::max(1, FDataPageSize.cx / 20); }
int TCustomGridZk::VertScrollStep() { return std::max(1, FDataPageSize.cy / 20); }
bool TCustomGridZk::HorzSmoothScroll() { return FOptions.Contains(goRowSelect); }
bool TCustomGridZk::VertSmoothScroll() { return false; }

// --- moving the view ------------------------------------------------------------------------------

void TCustomGridZk::ScrollCellIntoView(TGridCoord Cell, bool OnX, bool OnY) {
  if (!HandleAllocated()) return;
  const TGridMetrics M = CalcMetrics();
  auto InView = [](const TGridAxisMetrics& A, int Index) {
    return Index >= A.FirstScrolledCell && Index <= A.LastWholeCell &&
           !(Index == A.FirstScrolledCell && A.PixelOffset > 0);
  };
  if (InView(M.Horz, Cell.X) && InView(M.Vert, Cell.Y)) return;
  Update();
  const TGridCoord OldTopLeft = FTopLeft;
  const TSize OldOffset = FDataOffset;
  auto Bring = [this](const TGridAxisMetrics& A, int Index, int& First, int& Offset, bool Smooth) {
    if (Index == A.FirstScrolledCell && Offset > 0) {
      Offset = 0;
    } else if (Index >= A.FixedCount && Index < A.FirstScrolledCell) {
      First = Index;
      Offset = 0;
    } else if (Index > A.LastWholeCell && Index < A.CellCount) {
      First = MaxFirstScrolledCell(A, Index);
      Offset = 0;
      if (Smooth && First > A.FixedCount) {
        const TPixelFirst P = MaxFirstScrolledPixel(A, Index);
        if (P.Overflow != 0) {
          First = P.Cell;
          Offset = P.Overflow;
        }
      }
    }
  };
  if (OnX) Bring(M.Horz, Cell.X, FTopLeft.X, FDataOffset.cx, HorzSmoothScroll());
  if (OnY) Bring(M.Vert, Cell.Y, FTopLeft.Y, FDataOffset.cy, VertSmoothScroll());
  FirstScrolledCellsMoved(OldTopLeft, OldOffset);
}

void TCustomGridZk::SetFirstScrolledCells(int ACol, int ARow) {
  if (ACol == FTopLeft.X && ARow == FTopLeft.Y) return;
  Update();
  const TGridCoord OldTopLeft = FTopLeft;
  const TSize OldOffset = FDataOffset;
  if (ACol != FTopLeft.X) FDataOffset.cx = 0;
  if (ARow != FTopLeft.Y) FDataOffset.cy = 0;
  FTopLeft = {ACol, ARow};
  FirstScrolledCellsMoved(OldTopLeft, OldOffset);
}

namespace {

// How far the contents move on one axis when its first cell and offset change.
int Displacement(const TGridAxisMetrics& A, int OldFirst, int NewFirst, int OldOffset, int NewOffset) {
  if (NewFirst >= OldFirst)
    return -(NewOffset + SpanOf(A, OldFirst, NewFirst, A.AxisLineWidth) - OldOffset);
  return OldOffset + SpanOf(A, NewFirst, OldFirst, A.AxisLineWidth) - NewOffset;
}

}  // namespace

void TCustomGridZk::FirstScrolledCellsMoved(TGridCoord OldTopLeft, TSize OldOffset) {
  const TGridMetrics M = CalcMetrics();
  FSmoothPos.X = SpanOf(M.Horz, FFixedCols, FTopLeft.X, FGridLineWidth) + FDataOffset.cx;
  FSmoothPos.Y = SpanOf(M.Vert, FFixedRows, FTopLeft.Y, FGridLineWidth) + FDataOffset.cy;
  UpdateScrollBarPositions();
  if (HandleAllocated()) {
    const int DX = Displacement(M.Horz, OldTopLeft.X, FTopLeft.X, OldOffset.cx, FDataOffset.cx);
    const int DY = Displacement(M.Vert, OldTopLeft.Y, FTopLeft.Y, OldOffset.cy, FDataOffset.cy);
    if (std::abs(DX) > M.Horz.ScrollAreaEnd - M.Horz.FixedEnd ||
        std::abs(DY) > M.Vert.ScrollAreaEnd - M.Vert.FixedEnd)
      InvalidateWholeGrid();
    else
      ScrollContentsWindow(DX, DY, M);
  }
  TopLeftChanged();
}

void TCustomGridZk::ScrollContents(int DX, int DY) { ScrollContentsWindow(DX, DY, CalcMetrics()); }

void TCustomGridZk::ScrollContentsWindow(int DX, int DY, const TGridMetrics& M) {
  if (!HandleAllocated() || (DX == 0 && DY == 0)) return;
  const unsigned Flags = SW_INVALIDATE | (FDefaultDrawing ? 0u : unsigned(SW_ERASE));
  const TGridAxisMetrics& H = M.Horz;
  const TGridAxisMetrics& V = M.Vert;
  auto Scroll = [&](TRect R, int X, int Y) {
    if (!R.IsEmpty()) ScrollWindowEx(this, X, Y, &R, &R, nullptr, nullptr, Flags);
  };
  if (DX != 0 && DY != 0) {
    Scroll(Rect(H.FixedEnd, V.NearIndent, H.ScrollAreaEnd, V.FixedEnd), DX, 0);
    Scroll(Rect(H.NearIndent, V.FixedEnd, H.FixedEnd, V.ScrollAreaEnd), 0, DY);
    Scroll(Rect(H.FixedEnd, V.FixedEnd, H.ScrollAreaEnd, V.ScrollAreaEnd), DX, DY);
    Scroll(Rect(H.FixedEnd, V.ScrollAreaEnd, H.ScrollAreaEnd, V.ClientLimit), DX, 0);
    Scroll(Rect(H.ScrollAreaEnd, V.FixedEnd, H.ClientLimit, V.ScrollAreaEnd), 0, DY);
  } else if (DY != 0) {
    Scroll(Rect(H.NearIndent, V.FixedEnd, H.ClientLimit, V.ScrollAreaEnd), 0, DY);
  } else {
    Scroll(Rect(H.FixedEnd, V.NearIndent, H.ScrollAreaEnd, V.ClientLimit), DX, 0);
  }
  if (FOptions.Contains(goRowSelect)) InvalidateCellRect(CurrentSelection());
}

void TCustomGridZk::ScrollPixelsBy(int DX, int DY) {
  const TGridMetrics M = CalcMetrics();
  const TGridCoord OldTopLeft = FTopLeft;
  const TSize OldOffset = FDataOffset;
  auto Step = [](const TGridAxisMetrics& A, int Delta, int& First, int& Offset) {
    if (Delta == 0) return;
    int B = Delta + Offset;
    if (B >= 0) {
      while (First < A.CellCount - 1 && B > A.ExtentOf(First) + A.AxisLineWidth) {
        B -= A.ExtentOf(First) + A.AxisLineWidth;
        ++First;
      }
    } else {
      while (B < 0 && First > A.FixedCount) {
        --First;
        B += A.ExtentOf(First) + A.AxisLineWidth;
      }
      B = std::max(B, 0);
    }
    Offset = B;
  };
  Step(M.Horz, DX, FTopLeft.X, FDataOffset.cx);
  Step(M.Vert, DY, FTopLeft.Y, FDataOffset.cy);
  FirstScrolledCellsMoved(OldTopLeft, OldOffset);
}

void TCustomGridZk::ScrollPixelsClamped(int DX, int DY) {
  if (!HorzSmoothScroll()) DX = 0;
  if (!VertSmoothScroll()) DY = 0;
  auto Clamp = [](int Delta, int Pos, int Data, int Page) {
    if (Delta > 0) return std::min(Delta, std::max(0, Data - Page - Pos));
    return std::max(Delta, -Pos);
  };
  DX = Clamp(DX, FSmoothPos.X, FGridDataSize.cx, FDataPageSize.cx);
  DY = Clamp(DY, FSmoothPos.Y, FGridDataSize.cy, FDataPageSize.cy);
  if (DX != 0 || DY != 0) ScrollPixelsBy(DX, DY);
}

bool TCustomGridZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
  if (VertSmoothScroll()) ScrollPixelsClamped(0, VertScrollStep());
  else if (FCurrent.Y < FRowCount - 1) SetRow(FCurrent.Y + 1);
  return true;
}

bool TCustomGridZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
  if (VertSmoothScroll()) ScrollPixelsClamped(0, -VertScrollStep());
  else if (FCurrent.Y > FFixedRows) SetRow(FCurrent.Y - 1);
  return true;
}

// --- scroll bars ----------------------------------------------------------------------------------

void TCustomGridZk::SetScrollInfoIfChanged(int Bar, int Min, int Max, int Page, int Pos) {
  SCROLLINFO Old;
  Old.fMask = SIF_ALL;
  GetScrollInfo(this, Bar, Old);
  if (Old.nMin == Min && Old.nMax == Max && int(Old.nPage) == Page && Old.nPos == Pos) return;
  SCROLLINFO New;
  New.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  New.nMin = Min;
  New.nMax = Max;
  New.nPage = unsigned(std::max(0, Page));
  New.nPos = Pos;
  SetScrollInfo(this, Bar, New, true);
}

namespace {

bool HasBar(TScrollStyle Style, int Bar) {
  return Style == ssBoth || (Bar == SB_HORZ ? Style == ssHorizontal : Style == ssVertical);
}

// The cell-mode thumb position of a first scrolled cell; 0 when nothing can scroll.
int CellModePos(int First, int Fixed, int MaxFirst) {
  if (MaxFirst <= Fixed) return 0;
  return MulDiv(First - Fixed, 127, MaxFirst - Fixed);
}

}  // namespace

void TCustomGridZk::UpdateScrollBarPositions() {
  if (!HandleAllocated() || FScrollBars == ssNone) return;
  const TGridMetrics M = CalcMetrics();
  if (HasBar(FScrollBars, SB_HORZ)) {
    if (HorzSmoothScroll()) {
      SetScrollInfoIfChanged(SB_HORZ, 0, FGridDataSize.cx - 1, FDataPageSize.cx, FSmoothPos.X);
    } else {
      const int Pos = FColCount == 1
                          ? FColOffset
                          : CellModePos(FTopLeft.X, FFixedCols, MaxFirstScrolledCell(M.Horz, FColCount - 1));
      if (GetScrollPos(this, SB_HORZ) != Pos) SetScrollPos(this, SB_HORZ, Pos, true);
    }
  }
  if (HasBar(FScrollBars, SB_VERT)) {
    if (VertSmoothScroll()) {
      SetScrollInfoIfChanged(SB_VERT, 0, FGridDataSize.cy - 1, FDataPageSize.cy, FSmoothPos.Y);
    } else {
      const int Pos = CellModePos(FTopLeft.Y, FFixedRows, MaxFirstScrolledCell(M.Vert, FRowCount - 1));
      if (GetScrollPos(this, SB_VERT) != Pos) SetScrollPos(this, SB_VERT, Pos, true);
    }
  }
}

// One bar's range for the present client size.
void TCustomGridZk::UpdateAxisScrollBar(int Bar, const TGridAxisMetrics& A, int ClientExtent) {
  const bool Rows = Bar == SB_VERT;
  const bool Smooth = Rows ? VertSmoothScroll() : HorzSmoothScroll();
  int& First = Rows ? FTopLeft.Y : FTopLeft.X;
  int& Smoothed = Rows ? FSmoothPos.Y : FSmoothPos.X;
  int& Page = Rows ? FDataPageSize.cy : FDataPageSize.cx;
  const int Data = Rows ? FGridDataSize.cy : FGridDataSize.cx;
  if (Smooth) {
    const int Total = SpanOf(A, A.FixedCount, A.CellCount, A.AxisLineWidth);
    const int Overhang = A.FixedEnd + Total - A.ScrollAreaEnd;
    if (Overhang < Smoothed) {
      Rows ? ScrollPixelsBy(0, std::max(Overhang, 0) - Smoothed)
           : ScrollPixelsBy(std::max(Overhang, 0) - Smoothed, 0);
    }
    Page = PageOf(A);
    SetScrollInfoIfChanged(Bar, 0, Data - 1, Page, Smoothed);
    return;
  }
  Page = PageOf(A);
  if (!Rows && FColCount == 1) {
    SetScrollRange(this, SB_HORZ, 0, std::max(0, ColWidth(0) - ClientExtent), true);
    return;
  }
  const int MaxFirst = MaxFirstScrolledCell(A, A.CellCount - 1);
  if (MaxFirst > A.FixedCount)
    SetScrollInfoIfChanged(Bar, 0, 127, 0, CellModePos(First, A.FixedCount, MaxFirst));
  else
    SetScrollInfoIfChanged(Bar, 0, 0, 0, 0);
  if (First > MaxFirst) {
    Update();
    First = MaxFirst;
    (Rows ? FDataOffset.cy : FDataOffset.cx) = 0;
  }
}

void TCustomGridZk::UpdateScrollBarRanges() {
  if (FScrollBars == ssNone || !HandleAllocated() || !Showing() || PaintLocked()) return;
  const TGridCoord SavedTopLeft = FTopLeft;
  const TSize SavedOffset = FDataOffset;
  const TScrollStyle Kept = FScrollBars;
  // While the ranges change a bar may appear or go, and the size message that follows must
  // not come back here.
  FScrollBars = ssNone;
  try {
    const int Width = ClientWidth();
    if (HasBar(Kept, SB_HORZ)) UpdateAxisScrollBar(SB_HORZ, CalcMetrics().Horz, Width);
    if (HasBar(Kept, SB_VERT)) UpdateAxisScrollBar(SB_VERT, CalcMetrics().Vert, ClientHeight());
    if (HasBar(Kept, SB_HORZ) && ClientWidth() != Width)
      UpdateAxisScrollBar(SB_HORZ, CalcMetrics().Horz, ClientWidth());
  } catch (...) {
    FScrollBars = Kept;
    throw;
  }
  FScrollBars = Kept;
  UpdateScrollBarPositions();
  const bool Moved = HorzSmoothScroll() ? FTopLeft.Y != SavedTopLeft.Y : !(FTopLeft == SavedTopLeft);
  if (Moved) FirstScrolledCellsMoved(SavedTopLeft, SavedOffset);
}

void TCustomGridZk::ScrollBarMessage(int Bar, unsigned Code, int Pos) {
  if (Visible() && CanFocus() && TabStop() && !Focused()) SetFocus();
  const bool Pixels = Bar == SB_HORZ ? (HorzSmoothScroll() || FColCount == 1) : VertSmoothScroll();
  if (Pixels) ScrollBarPixelRule(Bar, Code, Pos);
  else ScrollBarCellRule(Bar, Code, Pos);
}

void TCustomGridZk::ScrollBarPixelRule(int Bar, unsigned Code, int Pos) {
  const bool Horz = Bar == SB_HORZ;
  const int Smooth = Horz ? FSmoothPos.X : FSmoothPos.Y;
  const int Page = Horz ? FDataPageSize.cx : FDataPageSize.cy;
  const int Data = Horz ? FGridDataSize.cx : FGridDataSize.cy;
  const int Step = Horz ? HorzScrollStep() : VertScrollStep();
  int Delta = 0;
  switch (Code) {
    case SB_LINEUP: Delta = -Step; break;
    case SB_LINEDOWN: Delta = Step; break;
    case SB_PAGEUP: Delta = -Page; break;
    case SB_PAGEDOWN: Delta = Page; break;
    case SB_THUMBTRACK:
      if (FOptions.Contains(goThumbTracking)) Delta = Pos - Smooth;
      break;
    case SB_THUMBPOSITION: Delta = Pos - Smooth; break;
    case SB_TOP: Delta = -Smooth; break;
    case SB_BOTTOM: Delta = Data - Page - Smooth; break;
    default: break;
  }
  if (Delta != 0) ScrollPixelsClamped(Horz ? Delta : 0, Horz ? 0 : Delta);
}

void TCustomGridZk::ScrollBarCellRule(int Bar, unsigned Code, int Pos) {
  const TGridMetrics M = CalcMetrics();
  const TGridAxisMetrics& A = Bar == SB_HORZ ? M.Horz : M.Vert;
  const int Fixed = A.FixedCount;
  const int MaxCell = MaxFirstScrolledCell(A, A.CellCount - 1);
  auto Next = [&](int Cur) {
    switch (Code) {
      case SB_LINEUP: return Cur - 1;
      case SB_LINEDOWN: return Cur + 1;
      case SB_PAGEUP: return Cur - std::max(1, Cur - MaxFirstScrolledCell(A, Cur));
      case SB_PAGEDOWN: return Cur + std::max(1, A.LastWholeCell - Cur);
      case SB_THUMBTRACK:
        if (!FOptions.Contains(goThumbTracking)) return Cur;
        [[fallthrough]];
      case SB_THUMBPOSITION: return Fixed + MulDiv(Pos, MaxCell - Fixed, 127);
      case SB_TOP: return Fixed;
      case SB_BOTTOM: return MaxCell;
      default: return Cur;
    }
  };
  const int Old = A.FirstScrolledCell;
  int New = Next(Old);
  // Hidden cells are stepped over.
  for (int Prev = Old; New > Fixed && New < MaxCell && A.ExtentOf(New) <= 0 && New != Prev;) {
    Prev = New;
    New = Next(New);
  }
  New = std::clamp(New, Fixed, std::max(Fixed, MaxCell));
  if (New == Old) return;
  if (Bar == SB_HORZ) SetFirstScrolledCells(New, FTopLeft.Y);
  else SetFirstScrolledCells(FTopLeft.X, New);
}

// Both bars take the thumb's 32-bit track position from the bar: the message carries 16 bits,
// which would wrap for pixel positions above 65,535. A message whose position is not the bar's
// (sent by a program rather than the bar) keeps its own.
namespace {

// The thumb position of a scroll message: the bar's own 32-bit track position when the
// message's 16 bits are its low word.
int ThumbPos(HWND Wnd, int Bar, const TWMScroll& M) {
  int Pos = M.Pos();
  if (M.ScrollCode() != SB_THUMBTRACK && M.ScrollCode() != SB_THUMBPOSITION) return Pos;
  SCROLLINFO Info;
  Info.fMask = SIF_TRACKPOS;
  if (GetScrollInfo(Wnd, Bar, Info) && LOWORD(unsigned(Info.nTrackPos)) == LOWORD(unsigned(Pos)))
    Pos = Info.nTrackPos;
  return Pos;
}

}  // namespace

void TCustomGridZk::WMHScroll(TMessage& Message) {
  TWMScroll M{Message};
  ScrollBarMessage(SB_HORZ, M.ScrollCode(), ThumbPos(this, SB_HORZ, M));
}

void TCustomGridZk::WMVScroll(TMessage& Message) {
  TWMScroll M{Message};
  ScrollBarMessage(SB_VERT, M.ScrollCode(), ThumbPos(this, SB_VERT, M));
}

void TCustomGridZk::WMSize(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  RecalcHorzDataSize();
  RecalcVertDataSize();
  UpdateScrollBarRanges();
  if (FContraColCount > 0 || FContraRowCount > 0) InvalidateWholeGrid();
}

// --- sizing ---------------------------------------------------------------------------------------

namespace {

struct TSizingHit {
  int Index = -1;
  int Pos = 0;
};

// The line of an axis the sizing zone around P holds, or Index -1.
TSizingHit AxisSizingHit(const TGridAxisMetrics& A, int P) {
  int Zone = A.AxisLineWidth, Tolerance = 0;
  if (Zone <= 6) {
    Tolerance = (7 - Zone) / 2;
    Zone = 7;
  }
  auto Hit = [&](int E) { return E - Tolerance <= P && P <= E + Zone - Tolerance; };
  const int Line = A.AxisLineWidth;
  int Pos = A.FrozenStart;
  for (int I = A.FixedCount - std::clamp(A.FrozenCount, 0, A.FixedCount); I < A.FixedCount; ++I) {
    const int E = Pos + A.ExtentOf(I);
    if (Hit(E)) return {I, E};
    Pos = E + Line;
  }
  Pos = A.ScrolledStart;
  for (int I = A.FirstScrolledCell; I < A.CellCount; ++I) {
    const int E = Pos + A.ExtentOf(I);
    if (E > A.VisibleEnd) break;
    if (Hit(E)) return {I, E};
    Pos = E + Line;
  }
  if (A.ScrollAreaEnd == A.VisibleEnd && A.ScrollAreaEnd - Tolerance <= P && P <= A.ScrollAreaEnd) {
    const int Index = A.LastWholeEnd != A.FixedEnd ? A.LastWholeCell + 1 : A.LastWholeCell;
    return {std::min(Index, A.CellCount - 1), A.ScrollAreaEnd};
  }
  if (A.ContraCount > 0 && A.ContraStart <= P && P <= A.ScrollAreaEnd + Tolerance)
    return {A.CellCount, A.ContraStart};
  Pos = A.ContraStart + Line;
  for (int I = A.CellCount; I + 1 < A.AllCellCount; ++I) {
    const int E = Pos + A.ExtentOf(I);
    if (E > A.DataEnd) break;
    if (Hit(E)) return {I + 1, E};
    Pos = E + Line;
  }
  return {};
}

}  // namespace

void TCustomGridZk::FindSizingLine(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                   int& SizingOfs, TGridMetrics& Metrics) {
  State = gsNormal;
  Index = -1;
  Metrics = CalcMetrics();
  if (!FOptions.Contains(goRowSizing) && !FOptions.Contains(goColSizing)) return;
  const TGridAxisMetrics& H = Metrics.Horz;
  const TGridAxisMetrics& V = Metrics.Vert;
  TSizingHit Hit;
  TGridState Found = gsNormal;
  int P = 0;
  if (X > H.FrozenStart && FOptions.Contains(goColSizing)) {
    if (V.NearIndent <= Y && Y < V.FrozenStart) {
      Hit = AxisSizingHit(H, X);
      Found = gsColSizing;
      P = X;
    }
  } else if (Y > V.FrozenStart && FOptions.Contains(goRowSizing) && X < H.FrozenStart) {
    Hit = AxisSizingHit(V, Y);
    Found = gsRowSizing;
    P = Y;
  }
  if (Hit.Index < 0) return;
  State = Found;
  Index = Hit.Index;
  SizingPos = Hit.Pos;
  SizingOfs = Hit.Pos - P;
}

bool TCustomGridZk::SizingHitTest(int X, int Y) {
  if (FGridState != gsNormal) return true;
  TGridState State;
  int Index, Pos, Ofs;
  TGridMetrics M;
  FindSizingLine(X, Y, State, Index, Pos, Ofs, M);
  return State != gsNormal;
}

void TCustomGridZk::SizingLineBounds(const TGridMetrics& Metrics, int& Start, int& Finish) {
  const TGridAxisMetrics& Across = FGridState == gsRowSizing ? Metrics.Horz : Metrics.Vert;
  Start = Across.NearIndent;
  Finish = Across.DataEnd;
}

int TCustomGridZk::NewSizedExtent(const TGridAxisMetrics& A) const {
  const int Line = A.AxisLineWidth;
  if (FSizingIndex < A.FixedCount) {
    const int FirstFrozen = A.FixedCount - std::clamp(A.FrozenCount, 0, A.FixedCount);
    return FSizingPos - (A.FrozenStart + SpanOf(A, FirstFrozen, FSizingIndex, Line));
  }
  if (FSizingIndex < A.CellCount)
    return FSizingPos - (A.ScrolledStart + SpanOf(A, A.FirstScrolledCell, FSizingIndex, Line));
  const int End = A.ContraStart - Line + SpanOf(A, A.CellCount, FSizingIndex + 1, Line);
  return End - FSizingPos;
}

TRect TCustomGridZk::SizingLineRect() const {
  const TGridMetrics M = CalcMetrics();
  int Start = 0, Finish = 0;
  const_cast<TCustomGridZk*>(this)->SizingLineBounds(M, Start, Finish);
  if (FGridState == gsRowSizing) return Rect(Start, FSizingPos, Finish, FSizingPos + 1);
  return Rect(FSizingPos, Start, FSizingPos + 1, Finish);
}

// The sizing line is part of the picture while it is shown: each change repaints its strip.
void TCustomGridZk::ShowSizingLine(bool Show) {
  if (FSizingLineShown == Show) return;
  FSizingLineShown = Show;
  if (!HandleAllocated()) return;
  const TRect R = SizingLineRect();
  ::InvalidateRect(this, &R, false);
}

void TCustomGridZk::WMSetCursor(TMessage& Message) {
  TWMSetCursor M{Message};
  TGridState State = FGridState;
  if (M.HitTest() == HTCLIENT && State == gsNormal) {
    int Index, Pos, Ofs;
    TGridMetrics Metrics;
    FindSizingLine(FHitTest.X, FHitTest.Y, State, Index, Pos, Ofs, Metrics);
  }
  if (M.HitTest() != HTCLIENT || (State != gsRowSizing && State != gsColSizing)) {
    TCustomControl::Dispatch(Message);
    return;
  }
  // The split cursor for this answer only; the control's own cursor stays.
  const TCursor Kept = Cursor();
  SetCursor(State == gsRowSizing ? crVSplit : crHSplit);
  TCustomControl::Dispatch(Message);
  SetCursor(Kept);
}

void TCustomGridZk::WMNCHitTest(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  FHitTest = ScreenToClient({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
}
