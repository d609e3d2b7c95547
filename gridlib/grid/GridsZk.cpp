// GridsZk.cpp - the base grid's model: construction, counts, extents, the layout and the
// conversions between cells and pixels, invalidation, streaming of the extents, the line
// colours and the out-boundary strips.
#include "gridlib/grid/GridsZk.h"

#include <algorithm>

#include "gridlib/grid/GridsZk_p.h"
#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

// --- errors ---------------------------------------------------------------------------------------

void RaiseGridError(TGridErrorZk Kind) {
  // ORDER GRIDERRORS
  static const char16_t* const Texts[] = {
      u"Grid too large for operation",
      u"Too many rows or columns deleted",
      u"Grid index out of range",
      u"Fixed column count must be less than column count",
      u"Fixed row count must be less than row count",
      u"FContraColCount can not be negative.",
      u"FContraRowCount can not be negative."};
  throw EInvalidGridOperationZk(Texts[Kind]);
}

// --- cell rectangles and extents arrays -----------------------------------------------------------

TGridCellRect NormalizedCellRect(TGridCoord A, TGridCoord B) {
  return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}

bool CellInCellRect(TGridCoord Cell, const TGridCellRect& R) {
  return Cell.X >= R.Left && Cell.X <= R.Right && Cell.Y >= R.Top && Cell.Y <= R.Bottom;
}

namespace {

constexpr int MaxExtentsCount = 0x7FFFFFD;

int ExtentsCount(const TIntegerArray& A) { return A.empty() ? 0 : A[0]; }

}  // namespace

void SetExtentsCount(TIntegerArray& Extents, int Count, int Default) {
  if (Count > MaxExtentsCount) RaiseGridError(geTooLarge);
  const int Old = ExtentsCount(Extents);
  if (Count <= 0) {
    Extents.clear();
    return;
  }
  Extents.resize(size_t(Count) + 1, Default);
  for (int I = Old + 1; I <= Count; ++I) Extents[size_t(I)] = Default;
  Extents[0] = Count;
}

void ResizeExtents(TIntegerArray& Extents, int Index, int Amount, int Default) {
  if (Amount == 0) return;
  const int Old = ExtentsCount(Extents);
  if (Index < 0 || Index > Old) RaiseGridError(geIndexOutOfRange);
  const long long NewCount = (long long)Old + Amount;
  if (NewCount < 0) RaiseGridError(geTooManyDeleted);
  if (NewCount > MaxExtentsCount) RaiseGridError(geTooLarge);
  if (NewCount == 0) {
    Extents.clear();
    return;
  }
  Extents.resize(size_t(NewCount) + 1);
  for (int I = Index; I < int(NewCount); ++I) Extents[size_t(I) + 1] = Default;
  Extents[0] = int(NewCount);
}

void MoveExtentEntry(TIntegerArray& Extents, int From, int To) {
  const int Count = ExtentsCount(Extents);
  if (From < 0 || To < 0 || From >= Count || To >= Count || From == To) return;
  const auto First = Extents.begin() + 1;
  if (From < To) std::rotate(First + From, First + From + 1, First + To + 1);
  else std::rotate(First + To, First + From, First + From + 1);
}

bool SameExtents(const TIntegerArray& A, const TIntegerArray& B) { return A == B; }

void TExtentBandZk::Include(int Index) {
  if (Stale) return;
  if (Empty()) {
    Lo = Hi = Index;
    return;
  }
  Lo = std::min(Lo, Index);
  Hi = std::max(Hi, Index);
}

void TExtentBandZk::Moved(int From, int To) {
  const int A = std::min(From, To), B = std::max(From, To);
  if (Empty() || Hi < A || Lo > B) return;
  Include(A);
  Include(B);
}

void TExtentBandZk::Refresh(const TIntegerArray& Extents, int Default) {
  if (!Stale) return;
  *this = {};
  for (int I = 0; I < ExtentsCount(Extents); ++I)
    if (Extents[size_t(I) + 1] != Default) Include(I);
}

// --- metrics --------------------------------------------------------------------------------------

int TGridAxisMetrics::ExtentOf(int Index) const {
  return Rows ? Grid->RowHeight(Index) : Grid->ColWidth(Index);
}

namespace {

// Everything of an axis that follows from its counts, extents and client extent.
// The pixels of a run of cells, within the int range whatever the counts.
int Span(const TGridAxisMetrics& A, int First, int Last) {
  const long long Sum = A.Grid->ExtentsSpan(A.Rows, First, Last, A.AxisLineWidth);
  return int(std::clamp<long long>(Sum, -(1 << 28), 1 << 28));
}

void FillAxis(TGridAxisMetrics& A) {
  const int Line = A.AxisLineWidth;
  A.FixedEnd = A.NearIndent + Span(A, 0, A.FixedCount);
  const int Frozen = std::clamp(A.FrozenCount, 0, A.FixedCount);
  A.FrozenStart = A.FixedEnd - Span(A, A.FixedCount - Frozen, A.FixedCount);
  A.ContraStart = A.ClientExtent - Span(A, A.CellCount, A.AllCellCount);
  if (A.ContraCount > 0) A.ContraStart -= Line;
  A.ScrollAreaEnd = A.ContraStart;
  A.ClientLimit = A.ClientExtent - A.FarIndent;
  A.ScrolledStart = A.FixedEnd - A.PixelOffset;
  A.LastWholeCell = A.FirstScrolledCell;
  A.LastWholeEnd = A.FixedEnd;
  A.VisibleEnd = A.FixedEnd;
  int End = A.ScrolledStart;
  for (int I = A.FirstScrolledCell; I < A.CellCount; ++I) {
    End += A.ExtentOf(I) + Line;
    if (End > A.ScrollAreaEnd) {
      A.VisibleEnd = A.ScrollAreaEnd;
      break;
    }
    A.LastWholeCell = I;
    A.LastWholeEnd = End;
    A.VisibleEnd = End;
  }
  A.DataEnd = A.ContraCount == 0 ? A.VisibleEnd : A.ClientLimit;
}

// The cell of an axis holding pixel P (its trailing line included), or -1; hidden cells are
// never hit: their line counts for the cell after them.
int AxisCellAt(const TGridAxisMetrics& A, int P) {
  auto Scan = [&](int Pos, int First, int Last) {
    for (int I = First; I <= Last; ++I) {
      const int Extent = A.ExtentOf(I);
      Pos += Extent + A.AxisLineWidth;
      if (P < Pos && Extent > 0) return I;
    }
    return -1;
  };
  if (P < A.NearIndent) return -1;
  if (P < A.FixedEnd) return Scan(A.NearIndent, 0, A.FixedCount - 1);
  if (A.ContraCount > 0 && P >= A.ContraStart)
    return Scan(A.ContraStart + A.AxisLineWidth, A.CellCount, A.AllCellCount - 1);
  if (P >= A.ScrollAreaEnd) return -1;
  return Scan(A.ScrolledStart, A.FirstScrolledCell, A.CellCount - 1);
}

}  // namespace

TSize TCustomGridZk::GridClientSize() const {
  if (HandleAllocated()) return {ClientWidth(), ClientHeight()};
  return {Width(), Height()};
}

TGridMetrics TCustomGridZk::CalcMetrics() const {
  TGridMetrics M;
  const TSize Client = GridClientSize();
  const TGridOutBoundaryDataZk& O = *FOutBoundaryData;
  auto Setup = [this](TGridAxisMetrics& A, bool Rows, bool Lines, int Near, int Far, int Extent) {
    A.Grid = this;
    A.Rows = Rows;
    A.AxisLineWidth = Lines ? FGridLineWidth : 0;
    A.NearIndent = Near;
    A.FarIndent = Far;
    A.FixedCount = Rows ? FFixedRows : FFixedCols;
    A.FirstScrolledCell = Rows ? FTopLeft.Y : FTopLeft.X;
    A.CellCount = Rows ? FRowCount : FColCount;
    A.FrozenCount = Rows ? FFrozenRowCount : FFrozenColCount;
    A.ContraCount = Rows ? FContraRowCount : FContraColCount;
    A.AllCellCount = Rows ? FullRowCount() : FullColCount();
    A.PixelOffset = Rows ? FDataOffset.cy : FDataOffset.cx;
    A.ClientExtent = Extent;
    FillAxis(A);
  };
  Setup(M.Horz, false, FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine),
        O.LeftIndent(), O.RightIndent(), Client.cx);
  Setup(M.Vert, true, FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine),
        O.TopIndent(), O.BottomIndent(), Client.cy);
  return M;
}

// --- construction ---------------------------------------------------------------------------------

TCustomGridZk::TCustomGridZk(TComponent* AOwner)
    : TCustomControl(AOwner), FGridLinesCache(std::make_unique<TGridLinesCacheZk>()) {
  SetControlStyle({csCaptureMouse, csOpaque, csDoubleClicks, csNeedsBorderPaint});
  FOutBoundaryData = std::make_unique<TGridOutBoundaryDataZk>(this);
  FColCount = 5;
  FRowCount = 5;
  FFixedCols = 1;
  FFixedRows = 1;
  FOptions = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(Left(), Top(), FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
  InitializeCurrent();
  FGridLineColors.reset(CreateGridLineColors());
  FMouseDownCell = MouseCoord(-1, -1);
  RecalcHorzDataSize();
  RecalcVertDataSize();
}

TCustomGridZk::~TCustomGridZk() {
  delete FInplaceEdit;
  FInplaceEdit = nullptr;
}

void TCustomGridZk::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_TABSTOP;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  Params.WindowClass.style = CS_DBLCLKS;
  if (FBorderStyle == bsSingle) {
    if (Ctl3D()) {
      Params.Style &= ~WS_BORDER;
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    } else {
      Params.Style |= WS_BORDER;
    }
  }
}

void TCustomGridZk::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBarRanges();
}

// --- counts ---------------------------------------------------------------------------------------

void TCustomGridZk::SetColCount(int Value) {
  if (Value == FColCount) return;
  if (Value <= 0) Value = 1;
  if (FFixedCols >= Value) SetFixedCols(Value - 1);
  if (FContraColCount > 0) ChangeCellCount(std::min(FColCount, Value), Value - FColCount, false);
  else SetCounts(Value, FRowCount);
  if (FOptions.Contains(goRowSelect)) {
    FAnchor.X = FColCount - 1;
    InvalidateWholeGrid();
  }
  RecalcHorzDataSize();
  UpdateScrollBarRanges();
}

void TCustomGridZk::SetRowCount(int Value) {
  if (Value == FRowCount) return;
  if (Value <= 0) Value = 1;
  if (FFixedRows >= Value) SetFixedRows(Value - 1);
  if (FContraRowCount > 0) ChangeCellCount(std::min(FRowCount, Value), Value - FRowCount, true);
  else SetCounts(FColCount, Value);
  RecalcVertDataSize();
  UpdateScrollBarRanges();
}

void TCustomGridZk::SetFixedCols(int Value) {
  if (Value == FFixedCols) return;
  if (Value < 0) RaiseGridError(geIndexOutOfRange);
  if (Value >= FColCount) RaiseGridError(geFixedColTooBig);
  FFixedCols = Value;
  RecalcHorzDataSize();
  UpdateScrollBarRanges();
  InitializeCurrent();
  InvalidateWholeGrid();
}

void TCustomGridZk::SetFixedRows(int Value) {
  if (Value == FFixedRows) return;
  if (Value < 0) RaiseGridError(geIndexOutOfRange);
  if (Value >= FRowCount) RaiseGridError(geFixedRowTooBig);
  FFixedRows = Value;
  RecalcVertDataSize();
  UpdateScrollBarRanges();
  InitializeCurrent();
  InvalidateWholeGrid();
}

void TCustomGridZk::SetFrozenColCount(int Value) {
  FFrozenColCount = Value;
  InvalidateWholeGrid();
}

void TCustomGridZk::SetFrozenRowCount(int Value) {
  FFrozenRowCount = Value;
  InvalidateWholeGrid();
}

void TCustomGridZk::SetContraColCount(int Value) {
  if (Value == FContraColCount) return;
  if (Value < 0) RaiseGridError(geContraColNegative);
  SetContraCounts(Value, FContraRowCount);
  RecalcHorzDataSize();
  UpdateScrollBarRanges();
}

void TCustomGridZk::SetContraRowCount(int Value) {
  if (Value == FContraRowCount) return;
  if (Value < 0) RaiseGridError(geContraRowNegative);
  SetContraCounts(FContraColCount, Value);
  RecalcVertDataSize();
  UpdateScrollBarRanges();
}

void TCustomGridZk::SetContraCounts(int ACols, int ARows) {
  const int OldCols = FContraColCount, OldRows = FContraRowCount;
  FContraColCount = ACols;
  FContraRowCount = ARows;
  try {
    if (!FColWidths.empty()) SetExtentsCount(FColWidths, FullColCount(), FDefaultColWidth);
    if (!FTabStops.empty()) SetExtentsCount(FTabStops, FullColCount(), 1);
    if (!FRowHeights.empty()) SetExtentsCount(FRowHeights, FullRowCount(), FDefaultRowHeight);
  } catch (const EInvalidGridOperationZk&) {
    // Kept as the grid has always done: a contra count the arrays cannot hold is dropped.
    FContraColCount = OldCols;
    FContraRowCount = OldRows;
  }
  InvalidateWholeGrid();
  UpdateScrollBarRanges();
}

// The counts stored and the arrays and the current cell brought in step, without notices.
void TCustomGridZk::ApplyCounts(int ACols, int ARows) {
  FColCount = ACols;
  FRowCount = ARows;
  if (FFixedCols > FColCount) FFixedCols = FColCount - 1;
  if (FFixedRows > FRowCount) FFixedRows = FRowCount - 1;
  if (!FColWidths.empty()) SetExtentsCount(FColWidths, FullColCount(), FDefaultColWidth);
  if (!FTabStops.empty()) SetExtentsCount(FTabStops, FullColCount(), 1);
  if (!FRowHeights.empty()) SetExtentsCount(FRowHeights, FullRowCount(), FDefaultRowHeight);
}

void TCustomGridZk::SetCounts(int ACols, int ARows) {
  const int OldCols = FColCount, OldRows = FRowCount;
  const TSize OldDataSize = FGridDataSize;
  const TGridCoord OldTopLeft = FTopLeft, OldCurrent = FCurrent, OldAnchor = FAnchor;
  const TGridMetrics Old = CalcMetrics();
  try {
    ApplyCounts(ACols, ARows);
    TGridCoord Cur = FCurrent;
    Cur.X = std::min(Cur.X, FColCount - 1);
    Cur.Y = std::min(Cur.Y, FRowCount - 1);
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, FColCount - 1));
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, FRowCount - 1));
    if (!(Cur == FCurrent)) SetCurrentCell(Cur.X, Cur.Y, true, true, true);
    if (!(FAnchor == FCurrent) && (FAnchor.X >= FColCount || FAnchor.Y >= FRowCount))
      ExtendSelectionTo(FCurrent, false);
    if (FVirtualView || !(OldTopLeft == FTopLeft)) {
      InvalidateWholeGrid();
    } else if (HandleAllocated()) {
      const TSize Client = GridClientSize();
      const TGridMetrics New = CalcMetrics();
      const int X = std::min(Old.Horz.LastWholeEnd, New.Horz.LastWholeEnd) -
                    ColWidth(std::min(Old.Horz.LastWholeCell, New.Horz.LastWholeCell)) - FGridLineWidth;
      const int Y = std::min(Old.Vert.LastWholeEnd, New.Vert.LastWholeEnd) -
                    RowHeight(std::min(Old.Vert.LastWholeCell, New.Vert.LastWholeCell)) - FGridLineWidth;
      const TRect Cols = Rect(std::max(0, X), 0, Client.cx, Client.cy);
      const TRect Rows = Rect(0, std::max(0, Y), Client.cx, Client.cy);
      ::InvalidateRect(this, &Cols, false);
      ::InvalidateRect(this, &Rows, false);
    }
    UpdateScrollBarRanges();
    CountsChanged(OldCols, OldRows);
  } catch (...) {
    FGridDataSize = OldDataSize;
    ApplyCounts(OldCols, OldRows);
    FTopLeft = OldTopLeft;
    FCurrent = OldCurrent;
    FAnchor = OldAnchor;
    InvalidateWholeGrid();
    throw;
  }
}

void TCustomGridZk::ChangeCellCount(int Index, int Amount, bool Rows) {
  if (Amount == 0) return;
  const int OldCols = FColCount, OldRows = FRowCount;
  if (Rows) {
    if (!FRowHeights.empty()) ResizeExtents(FRowHeights, Index, Amount, FDefaultRowHeight);
    FRowBand.CutFrom(Index);
    FRowCount += Amount;
  } else {
    if (!FColWidths.empty()) ResizeExtents(FColWidths, Index, Amount, FDefaultColWidth);
    FColBand.CutFrom(Index);
    if (!FTabStops.empty()) ResizeExtents(FTabStops, Index, Amount, 1);
    FColCount += Amount;
  }
  int Cur = Rows ? FCurrent.Y : FCurrent.X;
  if (Cur >= Index) {
    if (Amount < 0 && Cur < Index - Amount) Cur = Index;
    else Cur += Amount;
  }
  Cur = std::min(Cur, (Rows ? FRowCount : FColCount) - 1);
  int& First = Rows ? FTopLeft.Y : FTopLeft.X;
  First = std::clamp(First, Rows ? FFixedRows : FFixedCols,
                     std::max(Rows ? FFixedRows : FFixedCols, (Rows ? FRowCount : FColCount) - 1));
  InvalidateWholeGrid();
  CountsChanged(OldCols, OldRows);
  const TGridCoord NewCur = Rows ? TGridCoord{FCurrent.X, Cur} : TGridCoord{Cur, FCurrent.Y};
  if (!(NewCur == FCurrent)) SetCurrentCell(NewCur.X, NewCur.Y, true, true, true);
  UpdateScrollBarRanges();
}

void TCustomGridZk::InitializeCurrent() {
  FTopLeft = {FFixedCols, FFixedRows};
  FCurrent = FTopLeft;
  FAnchor = FCurrent;
  FDataOffset = {};
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
}

// --- extents --------------------------------------------------------------------------------------

int TCustomGridZk::ColWidth(int Index) const {
  if (!FColWidths.empty() && Index >= 0 && Index < FColWidths[0]) return FColWidths[size_t(Index) + 1];
  return FDefaultColWidth;
}

int TCustomGridZk::RowHeight(int Index) const {
  if (!FRowHeights.empty() && Index >= 0 && Index < FRowHeights[0])
    return FRowHeights[size_t(Index) + 1];
  return FDefaultRowHeight;
}

long long TCustomGridZk::ExtentsSpan(bool Rows, int First, int Last, int Line) const {
  if (Last <= First) return 0;
  const TIntegerArray& A = Rows ? FRowHeights : FColWidths;
  const int Default = Rows ? FDefaultRowHeight : FDefaultColWidth;
  long long Sum = (long long)(Last - First) * (Default + Line);
  if (A.empty()) return Sum;
  TExtentBandZk& Band = Rows ? FRowBand : FColBand;
  Band.Refresh(A, Default);
  const int To = std::min(Last, Band.Hi + 1);
  for (int I = std::max(First, Band.Lo); I < To; ++I) Sum += (Rows ? RowHeight(I) : ColWidth(I)) - Default;
  return Sum;
}

void TCustomGridZk::SetColWidth(int Index, int Value) {
  if (Index < 0 || Index >= FullColCount()) RaiseGridError(geIndexOutOfRange);
  if (FColWidths.empty()) SetExtentsCount(FColWidths, FullColCount(), FDefaultColWidth);
  const int Old = ColWidth(Index);
  if (Old == Value) return;
  ExtentChanged(Index, Old, Value, false);
  FColWidths[size_t(Index) + 1] = Value;
  if (Value != FDefaultColWidth) FColBand.Include(Index);
  FDataPageSize.cx = std::max(0, CalcMetrics().Horz.ScrollAreaEnd - CalcMetrics().Horz.FixedEnd);
  ColumnWidthsChanged();
}

void TCustomGridZk::SetRowHeight(int Index, int Value) {
  if (Index < 0 || Index >= FullRowCount()) RaiseGridError(geIndexOutOfRange);
  if (FRowHeights.empty()) SetExtentsCount(FRowHeights, FullRowCount(), FDefaultRowHeight);
  const int Old = RowHeight(Index);
  if (Old == Value) return;
  ExtentChanged(Index, Old, Value, true);
  FRowHeights[size_t(Index) + 1] = Value;
  if (Value != FDefaultRowHeight) FRowBand.Include(Index);
  FDataPageSize.cy = std::max(0, CalcMetrics().Vert.ScrollAreaEnd - CalcMetrics().Vert.FixedEnd);
  RowHeightsUpdated();
}

void TCustomGridZk::SetDefaultColWidth(int Value) {
  if (Value == FDefaultColWidth) return;
  FDefaultColWidth = Value;
  FColBand.Stale = true;
  RecalcHorzDataSize();
  ColumnWidthsChanged();
  InvalidateWholeGrid();
}

void TCustomGridZk::SetDefaultRowHeight(int Value) {
  FRowHeights.clear();
  FRowBand.Clear();
  FDefaultRowHeight = Value;
  RecalcVertDataSize();
  RowHeightsUpdated();
  InvalidateWholeGrid();
}

bool TCustomGridZk::IsTabStop(int Index) const {
  if (!FTabStops.empty() && Index >= 0 && Index < FTabStops[0]) return FTabStops[size_t(Index) + 1] != 0;
  return true;
}

void TCustomGridZk::SetTabStop(int Index, bool Value) {
  if (Index < 0 || Index >= FullColCount()) RaiseGridError(geIndexOutOfRange);
  if (FTabStops.empty()) SetExtentsCount(FTabStops, FullColCount(), 1);
  FTabStops[size_t(Index) + 1] = Value ? 1 : 0;
}

void TCustomGridZk::SetGridLineWidth(int Value) {
  if (Value == FGridLineWidth) return;
  FGridLineWidth = Value;
  RecalcHorzDataSize();
  RecalcVertDataSize();
  UpdateScrollBarRanges();
  InvalidateWholeGrid();
}

// --- moving columns and rows ----------------------------------------------------------------------

namespace {

int AdjustMovedIndex(int Index, int From, int To) {
  if (Index == From) return To;
  if (From < To && Index > From && Index <= To) return Index - 1;
  if (To < From && Index >= To && Index < From) return Index + 1;
  return Index;
}

}  // namespace

void TCustomGridZk::RelocateColumn(int FromIndex, int ToIndex) {
  if (FromIndex == ToIndex) return;
  MoveExtentEntry(FColWidths, FromIndex, ToIndex);
  FColBand.Moved(FromIndex, ToIndex);
  MoveExtentEntry(FTabStops, FromIndex, ToIndex);
  FCurrent.X = AdjustMovedIndex(FCurrent.X, FromIndex, ToIndex);
  FAnchor.X = AdjustMovedIndex(FAnchor.X, FromIndex, ToIndex);
  if (FInplaceCol != -1) FInplaceCol = AdjustMovedIndex(FInplaceCol, FromIndex, ToIndex);
  if (HandleAllocated()) {
    TRect R = CellsScreenRect(CalcMetrics(),
                              {std::min(FromIndex, ToIndex), 0, std::max(FromIndex, ToIndex), 0}, true);
    R.Top = 0;
    R.Bottom = GridClientSize().cy;
    if (R.Right > R.Left) ::InvalidateRect(this, &R, false);
  }
  AfterColumnMove(FromIndex, ToIndex);
  if (!FColWidths.empty()) ColumnWidthsChanged();
  RefreshEditor();
}

void TCustomGridZk::RelocateRow(int FromIndex, int ToIndex) {
  MoveExtentEntry(FRowHeights, FromIndex, ToIndex);
  FRowBand.Moved(FromIndex, ToIndex);
  FCurrent.Y = AdjustMovedIndex(FCurrent.Y, FromIndex, ToIndex);
  FAnchor.Y = AdjustMovedIndex(FAnchor.Y, FromIndex, ToIndex);
  if (FInplaceRow != -1) FInplaceRow = AdjustMovedIndex(FInplaceRow, FromIndex, ToIndex);
  if (HandleAllocated()) {
    TRect R = CellsScreenRect(CalcMetrics(),
                              {0, std::min(FromIndex, ToIndex), 0, std::max(FromIndex, ToIndex)}, true);
    R.Left = 0;
    R.Right = GridClientSize().cx;
    if (R.Bottom > R.Top) ::InvalidateRect(this, &R, false);
  }
  AfterRowMove(FromIndex, ToIndex);
  if (!FRowHeights.empty()) RowHeightsUpdated();
  RefreshEditor();
}

// --- conversions ----------------------------------------------------------------------------------

TGridCoord TCustomGridZk::CellAtPoint(int X, int Y, const TGridMetrics& Metrics) const {
  return {AxisCellAt(Metrics.Horz, X), AxisCellAt(Metrics.Vert, Y)};
}

TGridCoord TCustomGridZk::MouseCoord(int X, int Y) const {
  TGridCoord C = CellAtPoint(X, Y, CalcMetrics());
  if (C.X < 0 || C.Y < 0) C = {-1, -1};
  return C;
}

int TCustomGridZk::CellLinePos(const TGridAxisMetrics& Axis, int Index) const {
  int Pos = 0, First = 0;
  if (Index < Axis.FixedCount) {
    Pos = Axis.NearIndent;
  } else if (Index >= Axis.CellCount) {
    Pos = Axis.ContraStart + Axis.AxisLineWidth;
    First = Axis.CellCount;
  } else if (Index >= Axis.FirstScrolledCell) {
    Pos = Axis.ScrolledStart;
    First = Axis.FirstScrolledCell;
  } else {
    return Axis.NearIndent;
  }
  for (int I = First; I < Index; ++I) {
    Pos += Axis.ExtentOf(I) + Axis.AxisLineWidth;
    if (Pos > Axis.ClientLimit) return 0;
  }
  return Pos;
}

bool TCustomGridZk::CellRangePixels(const TGridAxisMetrics& Axis, int First, int Last,
                                    bool IncludeLine, int& Start, int& End) const {
  if (First > Axis.AllCellCount + 1) First = Axis.AllCellCount;
  if (First >= Axis.FixedCount && First < Axis.FirstScrolledCell) {
    if (Last < Axis.FirstScrolledCell) return false;
    First = Axis.FirstScrolledCell;
  }
  const bool LastScrolled = Last >= Axis.FixedCount && Last < Axis.CellCount;
  if (LastScrolled && Last > Axis.LastWholeCell) {
    if (Axis.LastWholeCell + 1 < Axis.CellCount) {
      Last = Axis.LastWholeCell + 1;
      if (CellLinePos(Axis, Last) == 0) --Last;
    } else {
      Last = Axis.LastWholeCell;
    }
  }
  if (Last >= Axis.CellCount) Last = std::min(Last, Axis.AllCellCount - 1);
  Start = CellLinePos(Axis, First);
  const int LastPos = CellLinePos(Axis, Last);
  End = LastPos != 0 ? LastPos + Axis.ExtentOf(Last) : Start + Axis.ExtentOf(First);
  End = std::min(End, Last >= Axis.CellCount ? Axis.ClientLimit : Axis.ScrollAreaEnd);
  if (First >= Axis.FixedCount && First < Axis.CellCount) Start = std::max(Start, Axis.FixedEnd);
  if (IncludeLine) End += Axis.AxisLineWidth;
  return true;
}

TRect TCustomGridZk::CellsScreenRect(const TGridMetrics& Metrics, const TGridCellRect& Cells,
                                     bool IncludeLine) const {
  if (Cells.Left > Cells.Right || Cells.Top > Cells.Bottom) return {};
  auto BeyondView = [](const TGridAxisMetrics& A, int First, int Last) {
    return First >= A.FixedCount && First < A.CellCount && First > A.LastWholeCell + 1 &&
           Last < A.CellCount;
  };
  if (BeyondView(Metrics.Horz, Cells.Left, Cells.Right) ||
      BeyondView(Metrics.Vert, Cells.Top, Cells.Bottom))
    return {};
  TRect R;
  if (!CellRangePixels(Metrics.Horz, Cells.Left, Cells.Right, IncludeLine, R.Left, R.Right) ||
      !CellRangePixels(Metrics.Vert, Cells.Top, Cells.Bottom, IncludeLine, R.Top, R.Bottom))
    return {};
  return R;
}

TRect TCustomGridZk::CellsBoxRect(int ALeft, int ATop, int ARight, int ABottom) const {
  return CellsScreenRect(CalcMetrics(), {ALeft, ATop, ARight, ABottom}, false);
}

int TCustomGridZk::VisibleColCount() const {
  const TGridMetrics M = CalcMetrics();
  return M.Horz.LastWholeCell - FTopLeft.X + 1;
}

int TCustomGridZk::VisibleRowCount() const {
  const TGridMetrics M = CalcMetrics();
  return M.Vert.LastWholeCell - FTopLeft.Y + 1;
}

int TCustomGridZk::GridHeight() const { return CalcMetrics().Vert.VisibleEnd; }
int TCustomGridZk::GridWidth() const { return CalcMetrics().Horz.VisibleEnd; }

// --- invalidation ---------------------------------------------------------------------------------

void TCustomGridZk::InvalidateCellRect(const TGridCellRect& Cells) {
  if (!HandleAllocated()) return;
  const TRect R = CellsScreenRect(CalcMetrics(), Cells, true);
  if (!R.IsEmpty()) ::InvalidateRect(this, &R, false);
}

void TCustomGridZk::InvalidateOneCell(int ACol, int ARow) { InvalidateCellRect({ACol, ARow, ACol, ARow}); }

void TCustomGridZk::InvalidateColumnCells(int ACol) {
  if (!HandleAllocated()) return;
  InvalidateCellRect({ACol, 0, ACol, FTopLeft.Y + VisibleRowCount() + 1});
  if (FContraRowCount > 0) InvalidateCellRect({ACol, FRowCount, ACol, FullRowCount() - 1});
}

void TCustomGridZk::InvalidateRowCells(int ARow) {
  if (!HandleAllocated()) return;
  InvalidateCellRect({0, ARow, FTopLeft.X + VisibleColCount() + 1, ARow});
  if (FContraColCount > 0) InvalidateCellRect({FColCount, ARow, FullColCount() - 1, ARow});
}

void TCustomGridZk::InvalidateWholeGrid() {
  if (HandleAllocated()) Invalidate();
}

void TCustomGridZk::InvalidateSelectionChange(const TGridCellRect& Old) {
  if (!HandleAllocated()) return;
  const TGridCellRect New = CurrentSelection();
  if (Old == New) return;
  const TGridCellRect Inter{std::max(Old.Left, New.Left), std::max(Old.Top, New.Top),
                            std::min(Old.Right, New.Right), std::min(Old.Bottom, New.Bottom)};
  if (Inter.Left > Inter.Right || Inter.Top > Inter.Bottom) {
    InvalidateCellRect(Old);
    InvalidateCellRect(New);
    return;
  }
  // The parts of each rectangle outside the intersection: bands above and below it, and the
  // pieces left and right of it.
  for (const TGridCellRect& R : {Old, New}) {
    if (R.Top < Inter.Top) InvalidateCellRect({R.Left, R.Top, R.Right, Inter.Top - 1});
    if (R.Bottom > Inter.Bottom) InvalidateCellRect({R.Left, Inter.Bottom + 1, R.Right, R.Bottom});
    if (R.Left < Inter.Left) InvalidateCellRect({R.Left, Inter.Top, Inter.Left - 1, Inter.Bottom});
    if (R.Right > Inter.Right) InvalidateCellRect({Inter.Right + 1, Inter.Top, R.Right, Inter.Bottom});
  }
}

// --- properties -----------------------------------------------------------------------------------

void TCustomGridZk::SetLeftCol(int Value) {
  if (Value != FTopLeft.X) SetFirstScrolledCells(Value, FTopLeft.Y);
}

void TCustomGridZk::SetTopRow(int Value) {
  if (Value != FTopLeft.Y) SetFirstScrolledCells(FTopLeft.X, Value);
}

void TCustomGridZk::SetCol(int Value) {
  if (Value != FCurrent.X) GoToCell(Value, FCurrent.Y, true);
}

void TCustomGridZk::SetRow(int Value) {
  if (Value != FCurrent.Y) GoToCell(FCurrent.X, Value, true);
}

void TCustomGridZk::SetOptions(TGridOptions Value) {
  if (Value == FOptions) return;
  if (Value.Contains(goRowSelect)) Value.Exclude(goAlwaysShowEditor);
  FOptions = Value;
  if (!FEditorMode) {
    if (FOptions.Contains(goAlwaysShowEditor)) OpenEditor();
    else CloseEditor();
  }
  if (FOptions.Contains(goRowSelect)) {
    SetCurrentCell(FCurrent.X, FCurrent.Y, true, false, false);
    RecalcHorzDataSize();
    RecalcVertDataSize();
  }
  UpdateScrollBarRanges();
  InvalidateWholeGrid();
}

void TCustomGridZk::SetFixedColor(TColor Value) {
  if (Value == FFixedColor) return;
  FFixedColor = Value;
  InvalidateWholeGrid();
}

void TCustomGridZk::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomGridZk::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomGridZk::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  UpdateFixedLineColor();
  FlatChanged();
  Invalidate();
}

bool TCustomGridZk::GridIsActive() const {
  if (TCustomForm* Form = ::GetParentForm(this)) return Form->ActiveControl() == this;
  HWND Focus = GetFocus();
  return Focus && (Focus == this || IsChild(const_cast<TCustomGridZk*>(this), Focus));
}

// --- the base behaviour of the simpler virtual operations -----------------------------------------

bool TCustomGridZk::BeginColumnMove(int&, int&, TPoint) { return true; }
bool TCustomGridZk::BeginRowMove(int&, int&, TPoint) { return true; }
bool TCustomGridZk::GridAcceptsKey(Word, TShiftState) { return true; }
void TCustomGridZk::GetCellRect(int ACol, int ARow, TRect& R) { R = CellScreenRect(ACol, ARow); }
bool TCustomGridZk::CheckColumnMove(int&, int&, TPoint) { return true; }
bool TCustomGridZk::CheckRowMove(int&, int&, TPoint) { return true; }
TGridLineColorsZk* TCustomGridZk::CreateGridLineColors() { return new TGridLineColorsZk(this); }
bool TCustomGridZk::EndColumnMove(int& Origin, int& Destination, TPoint) {
  if (Origin < Destination && !FMovePosRightSite) --Destination;
  return true;
}
bool TCustomGridZk::EndRowMove(int&, int&, TPoint) { return true; }
int TCustomGridZk::EditorKindQuery() { return 0; }
bool TCustomGridZk::CanHotTrackCell(int, int) { return false; }
bool TCustomGridZk::CellMayBeCurrent(int, int) { return true; }
void TCustomGridZk::GetCellBorder(int, int, TGridCellBorderTypeZk Border, bool& Draw, TColor&,
                                  bool& Extend) {
  if (Border == cbtRightZk || Border == cbtLeftZk) {
    Draw = FOptions.Contains(goVertLine);
    Extend = FOptions.Contains(goHorzLine);
  } else {
    Draw = FOptions.Contains(goHorzLine);
    Extend = FOptions.Contains(goVertLine);
  }
}
void TCustomGridZk::AfterColumnMove(int, int) {}
void TCustomGridZk::ColumnWidthsChanged() {
  UpdateScrollBarRanges();
  RefreshEditor();
}
void TCustomGridZk::RemoveColumn(int ACol) {
  RelocateColumn(ACol, FullColCount() - 1);
  SetColCount(FColCount - 1);
}
void TCustomGridZk::RemoveRow(int ARow) {
  LockPaint();
  try {
    if (ARow == FCurrent.Y && ARow > 0) SetRow(ARow - 1);
    RelocateRow(ARow, FullRowCount() - 1);
    SetRowCount(FRowCount - 1);
  } catch (...) {
    UnlockPaint();
    throw;
  }
  UnlockPaint();
}
void TCustomGridZk::FlatChanged() {}
void TCustomGridZk::InvalidateGridArea() { Invalidate(); }
void TCustomGridZk::RowHeightsUpdated() {
  UpdateScrollBarRanges();
  RefreshEditor();
}
void TCustomGridZk::AfterRowMove(int, int) {}
void TCustomGridZk::CountsChanged(int, int) {}
void TCustomGridZk::UpdateFixedLineColor() { FFixedLineColor = FFlat ? clGray : clBlack; }
void TCustomGridZk::TopLeftChanged() { UpdateEditorPos(); }

// --- streaming ------------------------------------------------------------------------------------

void TCustomGridZk::DefineProperties(TFiler* Filer) {
  TCustomControl::DefineProperties(Filer);
  if (!FSaveCellExtents) return;
  const TCustomGridZk* Ancestor = FStreamAncestor;
  const bool WriteCols = Ancestor ? !SameExtents(FColWidths, Ancestor->FColWidths) : !FColWidths.empty();
  const bool WriteRows =
      Ancestor ? !SameExtents(FRowHeights, Ancestor->FRowHeights) : !FRowHeights.empty();
  Filer->DefineProperty(u"ColWidths", [this](TReader* R) { ReadColWidths(R); },
                        [this](TWriter* W) { WriteColWidths(W); }, WriteCols);
  Filer->DefineProperty(u"RowHeights", [this](TReader* R) { ReadRowHeights(R); },
                        [this](TWriter* W) { WriteRowHeights(W); }, WriteRows);
}

namespace {

// The extents of a list value, one per cell; a list longer than the cells is the stream's
// fault and reported by the reader, naming the property.
template <class Setter>
void ReadExtents(TReader* Reader, int Count, Setter Set) {
  Reader->ReadListBegin();
  for (int I = 0; !Reader->EndOfList(); ++I) {
    const int Value = Reader->ReadInteger();
    if (I >= Count) Reader->ReadError(u"Grid index out of range");
    Set(I, Value);
  }
  Reader->ReadListEnd();
}

}  // namespace

void TCustomGridZk::ReadColWidths(TReader* Reader) {
  ReadExtents(Reader, FColCount, [this](int I, int V) { SetColWidth(I, V); });
}

void TCustomGridZk::ReadRowHeights(TReader* Reader) {
  ReadExtents(Reader, FRowCount, [this](int I, int V) { SetRowHeight(I, V); });
}

void TCustomGridZk::WriteColWidths(TWriter* Writer) {
  Writer->WriteListBegin();
  for (int I = 0; I < FColCount; ++I) Writer->WriteInteger(ColWidth(I));
  Writer->WriteListEnd();
}

void TCustomGridZk::WriteRowHeights(TWriter* Writer) {
  Writer->WriteListBegin();
  for (int I = 0; I < FRowCount; ++I) Writer->WriteInteger(RowHeight(I));
  Writer->WriteListEnd();
}

// --- line colours ---------------------------------------------------------------------------------

TGridLineColorsZk::TGridLineColorsZk(TCustomGridZk* Grid) : FGrid(Grid) {
  for (TColor& C : FColors) C = clDefault;
}

void TGridLineColorsZk::SetStored(TColorIndex Index, TColor Value) {
  if (FColors[Index] == Value) return;
  FColors[Index] = Value;
  if (FGrid) FGrid->Invalidate();
}

TColor TGridLineColorsZk::Pick(TColorIndex Index, TColor Default) const {
  return FColors[Index] == clDefault ? Default : FColors[Index];
}

TColor TGridLineColorsZk::GetDarkColor() { return Pick(lcDark, clGray); }

TColor TGridLineColorsZk::GetBrightColor() {
  const bool SilverGrid = FGrid && ColorToRGB(FGrid->Color()) == clSilver;
  return Pick(lcBright, SilverGrid ? clGray : clSilver);
}

TColor TGridLineColorsZk::GetCellColor(int ACol, int ARow) {
  const TCustomGridZk* G = FGrid;
  if (ACol < G->FixedCols() - G->FrozenColCount() || ARow < G->FixedRows() - G->FrozenRowCount())
    return GetDarkColor();
  if (ACol < G->ColCount() && ARow < G->RowCount()) return GetBrightColor();
  if (ARow >= G->RowCount()) return GetVertAreaContraVertColor();
  return GetHorzAreaContraHorzColor();
}

TColor TGridLineColorsZk::GetLeftBorderCellColor(int ACol, int) {
  return ACol == FGrid->ColCount() ? GetVertAreaContraBorderColor() : GetBrightColor();
}
TColor TGridLineColorsZk::GetTopBorderCellColor(int, int ARow) {
  return ARow == FGrid->RowCount() ? GetHorzAreaContraBorderColor() : GetBrightColor();
}
TColor TGridLineColorsZk::GetRightBorderCellColor(int ACol, int) {
  return FGrid->FrozenColCount() > 0 && ACol == FGrid->FixedCols() - 1
             ? GetVertAreaFrozenBorderColor() : GetBrightColor();
}
TColor TGridLineColorsZk::GetDownBorderCellColor(int, int ARow) {
  return FGrid->FrozenRowCount() > 0 && ARow == FGrid->FixedRows() - 1 ? GetDarkColor()
                                                                       : GetBrightColor();
}
TColor TGridLineColorsZk::GetFixedVertColor() { return Pick(lcFixedVert, GetDarkColor()); }
TColor TGridLineColorsZk::GetFixedHorzColor() { return Pick(lcFixedHorz, GetDarkColor()); }
TColor TGridLineColorsZk::GetVertAreaFrozenVertColor() { return Pick(lcVertAreaFrozenVert, GetBrightColor()); }
TColor TGridLineColorsZk::GetVertAreaFrozenHorzColor() { return Pick(lcVertAreaFrozenHorz, GetBrightColor()); }
TColor TGridLineColorsZk::GetHorzAreaFrozenVertColor() { return Pick(lcHorzAreaFrozenVert, GetBrightColor()); }
TColor TGridLineColorsZk::GetHorzAreaFrozenHorzColor() { return Pick(lcHorzAreaFrozenHorz, GetBrightColor()); }
TColor TGridLineColorsZk::GetVertAreaFrozenBorderColor() { return Pick(lcVertAreaFrozenBorder, GetDarkColor()); }
TColor TGridLineColorsZk::GetHorzAreaFrozenBorderColor() { return Pick(lcHorzAreaFrozenBorder, GetDarkColor()); }
TColor TGridLineColorsZk::GetDataVertColor() { return Pick(lcDataVert, GetBrightColor()); }
TColor TGridLineColorsZk::GetDataHorzColor() { return Pick(lcDataHorz, GetBrightColor()); }
TColor TGridLineColorsZk::GetVertAreaContraVertColor() { return Pick(lcVertAreaContraVert, GetBrightColor()); }
TColor TGridLineColorsZk::GetVertAreaContraHorzColor() { return Pick(lcVertAreaContraHorz, GetBrightColor()); }
TColor TGridLineColorsZk::GetHorzAreaContraVertColor() { return Pick(lcHorzAreaContraVert, GetBrightColor()); }
TColor TGridLineColorsZk::GetHorzAreaContraHorzColor() { return Pick(lcHorzAreaContraHorz, GetBrightColor()); }
TColor TGridLineColorsZk::GetVertAreaContraBorderColor() { return Pick(lcVertAreaContraBorder, GetDarkColor()); }
TColor TGridLineColorsZk::GetHorzAreaContraBorderColor() { return Pick(lcHorzAreaContraBorder, GetDarkColor()); }

// --- out-boundary strips --------------------------------------------------------------------------

TGridOutBoundaryDataZk::TGridOutBoundaryDataZk(TCustomGridZk* Grid) : FGrid(Grid) {}

void TGridOutBoundaryDataZk::Changed(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  if (FGrid) FGrid->InvalidateGridArea();
}

void TGridOutBoundaryDataZk::SetLeftIndent(int Value) { Changed(FLeftIndent, Value); }
void TGridOutBoundaryDataZk::SetTopIndent(int Value) { Changed(FTopIndent, Value); }
void TGridOutBoundaryDataZk::SetRightIndent(int Value) { Changed(FRightIndent, Value); }
void TGridOutBoundaryDataZk::SetBottomIndent(int Value) { Changed(FBottomIndent, Value); }

void TGridOutBoundaryDataZk::SetLeftTopDrawPriority(TCornerDrawPriorityZk Value) {
  if (Value == FLeftTopDrawPriority) return;
  FLeftTopDrawPriority = Value;
  if (FGrid) FGrid->InvalidateGridArea();
}
void TGridOutBoundaryDataZk::SetRightTopDrawPriority(TCornerDrawPriorityZk Value) {
  if (Value == FRightTopDrawPriority) return;
  FRightTopDrawPriority = Value;
  if (FGrid) FGrid->InvalidateGridArea();
}
// Only stored: the strips are repainted with the next change of another setting.
void TGridOutBoundaryDataZk::SetLeftBottomDrawPriority(TCornerDrawPriorityZk Value) {
  FLeftBottomDrawPriority = Value;
}
void TGridOutBoundaryDataZk::SetRightBottomDrawPriority(TCornerDrawPriorityZk Value) {
  if (Value == FRightBottomDrawPriority) return;
  FRightBottomDrawPriority = Value;
  if (FGrid) FGrid->InvalidateGridArea();
}

bool TGridOutBoundaryDataZk::GetOutBoundaryRect(TRect& R, TGridCellBorderTypeZk Type) const {
  const TSize C = FGrid->GridClientSize();
  auto Vertical = [](TCornerDrawPriorityZk P) { return P == crpVerticalDataPriorityZk; };
  switch (Type) {
    case cbtTopZk:
    case cbtBottomZk: {
      const int Indent = Type == cbtTopZk ? FTopIndent : FBottomIndent;
      if (Indent == 0) return false;
      const auto LeftP = Type == cbtTopZk ? FLeftTopDrawPriority : FLeftBottomDrawPriority;
      const auto RightP = Type == cbtTopZk ? FRightTopDrawPriority : FRightBottomDrawPriority;
      R.Left = Vertical(LeftP) ? FLeftIndent : 0;
      R.Right = Vertical(RightP) ? C.cx - FRightIndent : C.cx;
      R.Top = Type == cbtTopZk ? 0 : C.cy - FBottomIndent;
      R.Bottom = Type == cbtTopZk ? FTopIndent : C.cy;
      return true;
    }
    case cbtLeftZk:
    case cbtRightZk: {
      const int Indent = Type == cbtLeftZk ? FLeftIndent : FRightIndent;
      if (Indent == 0) return false;
      const auto TopP = Type == cbtLeftZk ? FLeftTopDrawPriority : FRightTopDrawPriority;
      const auto BottomP = Type == cbtLeftZk ? FLeftBottomDrawPriority : FRightBottomDrawPriority;
      R.Top = Vertical(TopP) ? 0 : FTopIndent;
      R.Bottom = Vertical(BottomP) ? C.cy : C.cy - FBottomIndent;
      R.Left = Type == cbtLeftZk ? 0 : C.cx - FRightIndent;
      R.Right = Type == cbtLeftZk ? FLeftIndent : C.cx;
      return true;
    }
  }
  return false;
}

void TGridOutBoundaryDataZk::InvalidateOutBoundary(TGridCellBorderTypeZk Type) {
  TRect R;
  if (FGrid->HandleAllocated() && GetOutBoundaryRect(R, Type)) ::InvalidateRect(FGrid, &R, false);
}

// --- registration ---------------------------------------------------------------------------------

REGISTER_CLASS(TGridLineColorsZk) {
  using L = TGridLineColorsZk;
#define VORENTA_LINE_COLOR(Name, Index) \
  .Property(Name, &L::StoredColor<L::Index>, &L::SetStoredColor<L::Index>, clDefault)
  Class VORENTA_LINE_COLOR("BrightColor", lcBright) VORENTA_LINE_COLOR("DarkColor", lcDark)
      VORENTA_LINE_COLOR("DataHorzColor", lcDataHorz) VORENTA_LINE_COLOR("DataVertColor", lcDataVert)
      VORENTA_LINE_COLOR("FixedHorzColor", lcFixedHorz) VORENTA_LINE_COLOR("FixedVertColor", lcFixedVert)
      VORENTA_LINE_COLOR("HorzAreaContraBorderColor", lcHorzAreaContraBorder)
      VORENTA_LINE_COLOR("HorzAreaContraHorzColor", lcHorzAreaContraHorz)
      VORENTA_LINE_COLOR("HorzAreaContraVertColor", lcHorzAreaContraVert)
      VORENTA_LINE_COLOR("HorzAreaFrozenBorderColor", lcHorzAreaFrozenBorder)
      VORENTA_LINE_COLOR("HorzAreaFrozenHorzColor", lcHorzAreaFrozenHorz)
      VORENTA_LINE_COLOR("HorzAreaFrozenVertColor", lcHorzAreaFrozenVert)
      VORENTA_LINE_COLOR("VertAreaContraBorderColor", lcVertAreaContraBorder)
      VORENTA_LINE_COLOR("VertAreaContraHorzColor", lcVertAreaContraHorz)
      VORENTA_LINE_COLOR("VertAreaContraVertColor", lcVertAreaContraVert)
      VORENTA_LINE_COLOR("VertAreaFrozenBorderColor", lcVertAreaFrozenBorder)
      VORENTA_LINE_COLOR("VertAreaFrozenHorzColor", lcVertAreaFrozenHorz)
      VORENTA_LINE_COLOR("VertAreaFrozenVertColor", lcVertAreaFrozenVert);
#undef VORENTA_LINE_COLOR
}

REGISTER_CLASS(TGridOutBoundaryDataZk) {
  using O = TGridOutBoundaryDataZk;
  Class.Property("LeftIndent", &O::LeftIndent, &O::SetLeftIndent, 0)
      .Property("TopIndent", &O::TopIndent, &O::SetTopIndent, 0)
      .Property("RightIndent", &O::RightIndent, &O::SetRightIndent, 0)
      .Property("BottomIndent", &O::BottomIndent, &O::SetBottomIndent, 0)
      .Property("LeftTopDrawPriority", &O::LeftTopDrawPriority, &O::SetLeftTopDrawPriority,
                crpHorizontalDataPriorityZk)
      .Property("RightTopDrawPriority", &O::RightTopDrawPriority, &O::SetRightTopDrawPriority,
                crpHorizontalDataPriorityZk)
      .Property("LeftBottomDrawPriority", &O::LeftBottomDrawPriority,
                &O::SetLeftBottomDrawPriority, crpHorizontalDataPriorityZk)
      .Property("RightBottomDrawPriority", &O::RightBottomDrawPriority,
                &O::SetRightBottomDrawPriority, crpHorizontalDataPriorityZk);
}

REGISTER_CLASS(TCustomGridZk) {
  using G = TCustomGridZk;
  Class.Property("ColCount", &G::ColCount, &G::SetColCount, 5)
      .Property("RowCount", &G::RowCount, &G::SetRowCount, 5)
      .Property("DefaultColWidth", &G::DefaultColWidth, &G::SetDefaultColWidth, 64)
      .Property("DefaultRowHeight", &G::DefaultRowHeight, &G::SetDefaultRowHeight, 24)
      .Property("FixedCols", &G::FixedCols, &G::SetFixedCols, 1)
      .Property("FixedRows", &G::FixedRows, &G::SetFixedRows, 1)
      .Property("FixedColor", &G::FixedColor, &G::SetFixedColor)
      .Property("Flat", &G::Flat, &G::SetFlat, false)
      .Property("GridLineColors", &G::GridLineColors, &G::SetGridLineColors)
      .Property("GridLineWidth", &G::GridLineWidth, &G::SetGridLineWidth, 1)
      .Property("Options", &G::Options, &G::SetOptions,
                TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect})
      .Property("ScrollBars", &G::ScrollBars, &G::SetScrollBars, ssBoth)
      .Property("OnCellMouseClick", &G::OnCellMouseClick, &G::SetOnCellMouseClick);
}

REGISTER_CLASS(TInplaceEdit) {}

void RegisterGridsClasses() {
  RegisterClasses({TGridLineColorsZk::ClassInfo(), TGridOutBoundaryDataZk::ClassInfo()});
}
