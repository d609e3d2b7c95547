// DBGridZkRowPanel.cpp - the in-row panel: every column placed on lines inside one master cell
// per row, the grid showing a single data column of the master cell's size, the master cells'
// painters, hit tests, and the snapping and fitting of in-row column widths.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>
#include <cmath>

#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZkGroupView.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/MemTableIntfZk.h"

namespace {

int RoundEven(double V) { return static_cast<int>(std::nearbyint(V)); }

TRect TitleRect(const TColumnZkInRowPanelPlacement& P) {
  return Rect(P.Left, P.Top, P.Left + P.Width, P.Top + P.Height);
}

TRect DataRect(const TColumnZkInRowPanelPlacement& P) {
  return Rect(P.DataCellLeft, P.Top, P.DataCellLeft + P.DataCellWidth, P.Top + P.Height);
}

// Left and top inclusive, right and bottom exclusive.
bool Holds(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

}  // namespace

// --- layout ---------------------------------------------------------------------------------------

// The master cell is the only data column, so the panel scrolls sideways by pixels.
bool TCustomDBGridZk::HorzSmoothScroll() {
  if (FGridRowPanel && FGridRowPanel->Active()) return true;
  return FHorzScrollBar ? FHorzScrollBar->SmoothStep() : TCustomGridZk::HorzSmoothScroll();
}

// The current column's data cell, clipped to the scrolled area; 18 pixels are left free for the
// detail expander in the first column.
TRect TCustomDBGridZk::EditorCellRect(int ACol, int ARow) {
  if (!FGridRowPanel->Active() || ARow < FTitleOffset) return TCustomGridZk::EditorCellRect(ACol, ARow);
  TColumnZk* C = ColumnAtGridCol(ACol);
  const TRect Visible = CellRect(FIndicatorOffset, ARow);
  if (!C || Visible.IsEmpty()) return {};
  TRect R = DataRect(C->RowPlacement());
  const bool Mirrored = UseRightToLeftAlignment();
  if (Mirrored) R = Rect(FGridMasterCellWidth - R.Right, R.Top, FGridMasterCellWidth - R.Left, R.Bottom);
  const TRect Cell = RowPanelCellRect(ARow);
  OffsetRect(R, Cell.Left, Cell.Top);
  if (FRowDetailPanel->Active() && !FVisibleColumns.empty() && FVisibleColumns.front() == C &&
      R.Width() > 18)
    (Mirrored ? R.Right : R.Left) += Mirrored ? -18 : 18;
  R.Left = std::max(R.Left, Visible.Left);
  R.Right = std::min(R.Right, Visible.Right);
  return R.Right > R.Left ? R : TRect{};
}

void TCustomDBGridZk::ScrollToInRowColumn(int Index) {
  if (!FGridRowPanel->Active() || Index < 0 || Index >= FColumns->Count()) return;
  const auto& P = FColumns->Items(Index)->RowPlacement();
  const int L = P.DataCellLeft, W = P.DataCellWidth, Page = DataPageSize().cx;
  const int S = SmoothPos().X;
  if (L + W > S + Page) {
    const int T = W > Page ? L : L + W - Page + (FOptions.Contains(dgColLines) ? GridLineWidth() : 0);
    ScrollPixelsClamped(T - S, 0);
  }
  if (L < SmoothPos().X) ScrollPixelsClamped(L - SmoothPos().X, 0);
}

void TDBGridColumnsZk::RelayoutCellsInRowPanel() {
  if (FGrid) FGrid->RelayoutCellsInRowPanel();
}

void TDBGridColumnsZk::ScaleWidths(int Divisor, int Denominator) {
  if (!FGrid || Divisor == 0) return;
  const int G = FGrid->GridLineWidth();
  for (int I = 0; I < Count(); ++I) {
    TColumnZk* C = Items(I);
    const int L = C->RowPlacement().Left, W = C->Width();
    C->SetWidth(RoundEven(double(L + W + G) / Divisor * Denominator) -
                RoundEven(Denominator * (double(L) / Divisor)) - G);
  }
  RelayoutCellsInRowPanel();
}

int TCustomDBGridZk::InRowPanelLineHeight() {
  Canvas()->Font()->Assign(TitleFont());
  return Canvas()->TextHeight(u"Wg") + 4 + (Flat() ? 0 : 1);
}

// Each column starts after the widest of the lines it covers; invisible columns take no room.
void TCustomDBGridZk::RelayoutCellsInRowPanel() {
  const int H = InRowPanelLineHeight(), G = GridLineWidth();
  std::vector<int> Free;
  FGridMasterCellWidth = 0;
  FGridMasterCellHeight = H;
  for (int I = 0; I < FColumns->Count(); ++I) {
    TColumnZk* C = FColumns->Items(I);
    const int P = C->InRowLinePos(), N = C->InRowLineHeight();
    if (static_cast<int>(Free.size()) < P + N) Free.resize(P + N, 0);
    int M = 0;
    for (int K = P; K < P + N; ++K) M = std::max(M, Free[K]);
    TColumnZkInRowPanelPlacement Pl;
    Pl.Left = M;
    Pl.Top = P * (G + H);
    Pl.Width = C->Visible() ? C->Width() : 0;
    Pl.Height = N * (G + H) - 1;
    Pl.DataCellLeft = Pl.Left;
    Pl.DataCellWidth = Pl.Width;
    if (Pl.Left == 0) {
      Pl.Width += FExtraFirstColumnWidth;
      Pl.DataCellLeft = FExtraFirstColumnWidth;
    }
    C->SetRowPlacement(Pl);
    for (int K = P; K < P + N; ++K) Free[K] = C->Visible() ? M + Pl.Width + G : M;
    if (!C->Visible()) continue;
    FGridMasterCellWidth = std::max(FGridMasterCellWidth, Pl.Left + C->Width());
    FGridMasterCellHeight = std::max(FGridMasterCellHeight, Pl.Top + Pl.Height);
  }
}

void TCustomDBGridZk::OrderColumnsByRowPanel() {
  if (!FGridRowPanel->Active()) return;
  std::vector<TColumnZk*> Order;
  for (int I = 0; I < FColumns->Count(); ++I) Order.push_back(FColumns->Items(I));
  std::stable_sort(Order.begin(), Order.end(), [](TColumnZk* A, TColumnZk* B) {
    const auto &PA = A->RowPlacement(), &PB = B->RowPlacement();
    if (PA.Left != PB.Left) return PA.Left < PB.Left;
    if (PA.Top != PB.Top) return PA.Top < PB.Top;
    return !A->Visible() && B->Visible();
  });
  bool Same = true;
  for (int I = 0; I < FColumns->Count() && Same; ++I) Same = Order[I] == FColumns->Items(I);
  if (Same) return;
  ++FLayoutLock;
  FColumns->BeginUpdate();
  for (size_t I = 0; I < Order.size(); ++I) Order[I]->SetIndex(static_cast<int>(I));
  FColumns->EndUpdate();
  --FLayoutLock;
}

// The row heights of one layout pass are the master cell's.
void TCustomDBGridZk::PrepareRowPanelLayout() {
  ExtraFirstColumnWidth();
  RelayoutCellsInRowPanel();
  OrderColumnsByRowPanel();
  BuildVisibleColumns();
  FStdDefaultRowHeight = FGridMasterCellHeight;
  FTitleRowHeight = FGridMasterCellHeight;
}

// The first data column is the master cell; the others stay in the grid with no width. With
// auto-fitting the columns are scaled so that the master cell fills the client width.
void TCustomDBGridZk::ApplyRowPanelColWidths() {
  ++FLayoutLock;
  if (FAutoFitColWidths && !ComponentState().Contains(csDesigning) && HandleAllocated()) {
    const int G = GridLineWidth();
    const int W = GridClientSize().cx - (FIndicatorOffset > 0 ? FRecNoTextWidth : 0) -
                  (FOptions.Contains(dgColLines) ? 1 : 0);
    if (W > 0 && FGridMasterCellWidth + G > 0) FColumns->ScaleWidths(FGridMasterCellWidth + G, W);
  }
  SetColWidth(FIndicatorOffset, FGridMasterCellWidth);
  for (int C = FIndicatorOffset + 1; C < ColCount(); ++C) SetColWidth(C, 0);
  --FLayoutLock;
}

// --- hit tests ------------------------------------------------------------------------------------

TColumnZk* TCustomDBGridZk::GetColumnInRowPanelAtPos(TPoint InCellPos, bool IsTitleTypeCell) {
  if (UseRightToLeftAlignment()) InCellPos.X = FGridMasterCellWidth - InCellPos.X;
  const int G = GridLineWidth();
  for (int I = 0; I < FColumns->Count(); ++I) {
    TColumnZk* C = FColumns->Items(I);
    TRect R = IsTitleTypeCell ? TitleRect(C->RowPlacement()) : DataRect(C->RowPlacement());
    if (FOptions.Contains(dgColLines)) R.Right += G;
    if (FOptions.Contains(dgRowLines)) R.Bottom += G;
    if (Holds(R, InCellPos)) return C;
  }
  return nullptr;
}

TColumnZk* TCustomDBGridZk::GetCellRectInRowPanelAtPos(TPoint InCellPos, TRect& ACellRect,
                                                       bool IncludeLines) {
  ACellRect = Rect(0, 0, 0, 0);
  const int G = GridLineWidth();
  for (int I = 0; I < FColumns->Count(); ++I) {
    TColumnZk* C = FColumns->Items(I);
    ACellRect = TitleRect(C->RowPlacement());
    if (IncludeLines && FOptions.Contains(dgColLines)) ACellRect.Right += G;
    if (IncludeLines && FOptions.Contains(dgRowLines)) ACellRect.Bottom += G;
    if (Holds(ACellRect, InCellPos)) return C;
  }
  return nullptr;
}

// Title row 0 only; the first column whose right edge (or bottom line) is within 3 pixels.
bool TCustomDBGridZk::RowPanelSizingStateAt(int X, int Y, TGridState& State, int& Index,
                                            int& SizingPos, int& SizingOfs) {
  if (!FGridRowPanel->Active() || FTitleOffset == 0) return false;
  const TRect Cell = RowPanelCellRect(0);
  if (!Holds(Cell, Point(X, Y))) return false;
  const TGridOptions Base = TCustomGridZk::Options();
  for (int I = 0; I < FColumns->Count(); ++I) {
    TColumnZk* C = FColumns->Items(I);
    if (!C->Visible()) continue;
    TRect R = TitleRect(C->RowPlacement());
    OffsetRect(R, Cell.Left, Cell.Top);
    if (Base.Contains(goColSizing) && Y >= R.Top && Y < R.Bottom && std::abs(X - R.Right) <= 3) {
      State = gsColSizing;
      SizingPos = R.Right;
    } else if (Base.Contains(goRowSizing) && X >= R.Left && X < R.Right &&
               std::abs(Y - R.Bottom) <= 3) {
      State = gsRowSizing;
      SizingPos = R.Bottom;
    } else {
      continue;
    }
    Index = I;
    SizingOfs = SizingPos - (State == gsColSizing ? X : Y);
    return true;
  }
  return false;
}

int TCustomDBGridZk::SnapRowPanelWidth(TColumnZk* Column, int NewWidth, int SizingPos) {
  const int Origin = RowPanelCellRect(0).Left;
  const int G = FOptions.Contains(dgColLines) ? GridLineWidth() : 0;
  for (int I = 0; I < FColumns->Count(); ++I) {
    TColumnZk* C = FColumns->Items(I);
    if (C == Column || !C->Visible()) continue;
    const int Edge = Origin + C->RowPlacement().Left + C->RowPlacement().Width - 1 + G;
    if (std::abs(Edge - SizingPos) < 4) return NewWidth + Edge - SizingPos;
  }
  return NewWidth;
}

void TCustomDBGridZk::RowPanelFitColWidth(int Index) {
  TColumnZk* C = FColumns->Items(Index);
  const auto& P = C->RowPlacement();
  const int Right = P.Left + P.Width + (FOptions.Contains(dgColLines) ? GridLineWidth() : 0);
  const int First = C->InRowLinePos(), Last = First + C->InRowLineHeight();
  int Limit = FGridMasterCellWidth;
  for (int I = 0; I < FColumns->Count(); ++I) {
    TColumnZk* O = FColumns->Items(I);
    if (O == C || !O->Visible()) continue;
    const int OFirst = O->InRowLinePos(), OLast = OFirst + O->InRowLineHeight();
    const int L = O->RowPlacement().Left;
    if (OFirst < Last && First < OLast && L >= Right && L < FGridMasterCellWidth)
      Limit = std::min(Limit, L);
  }
  if (Right >= Limit) return;
  C->SetWidth(C->Width() + Limit - Right + (Limit == FGridMasterCellWidth ? 1 : 0));
}

// --- painting -------------------------------------------------------------------------------------

bool TCustomDBGridZk::PaintRowPanelCell(int ACol, int ARow, const TRect& ARect,
                                        TGridDrawState AState) {
  if (ACol < FIndicatorOffset) return false;
  if (ACol > FIndicatorOffset) return true;  // no width: the master cell covers them
  switch (GetCellType(ACol, ARow)) {
    case catTitle: PaintRowPanelTitle(ACol, ARow, ARect, AState); return true;
    case catData: PaintRowPanelData(ACol, ARow, ARect, AState); return true;
    case catFooter: PaintRowPanelFooter(ACol, ARow, ARect, AState); return true;
    default: return false;
  }
}

TGridDrawState TCustomDBGridZk::RowPanelCellState(TColumnZk* Column, int ARow,
                                                  TGridDrawState AState) {
  TGridDrawState S = AState;
  S >> gdSelected >> gdFocused >> gdHotTrack;
  if (AState.Contains(gdHotTrack) && FHotTrackInRowCol == Column->Index()) S << gdHotTrack;
  const bool CurrentColumn = Column->Index() == SelectedIndex();
  if (ARow == Row() && Focused() && (CurrentColumn || FOptions.Contains(dgRowSelect)))
    S << gdFocused;
  if (ARow == Row() && CurrentColumn) S << gdSelected;
  return S;
}

namespace {

// The bottom and right lines of a column's rectangle inside the master cell R.
void CellLines(TCanvas* C, const TRect& Cell, const TRect& R, TColor Color) {
  C->Pen()->SetColor(Color);
  if (Cell.Bottom < R.Bottom) {
    C->MoveTo(Cell.Left, Cell.Bottom);
    C->LineTo(Cell.Right + 1, Cell.Bottom);
  }
  if (Cell.Right < R.Right) {
    C->MoveTo(Cell.Right, Cell.Top);
    C->LineTo(Cell.Right, Cell.Bottom + 1);
  }
}

}  // namespace

void TCustomDBGridZk::PaintRowPanelTitle(int, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  C->Brush()->SetColor(FColumnDefValues->Title()->Color());
  C->FillRect(ARect);
  const TColor Dark = GridLineColors()->GetDarkColor();
  // The filter row under the titles repeats the titles' layout with a filter cell per column.
  const bool FilterRow = ARow == FTitleOffset - 1 && FilterRowCount() > 0;
  for (size_t I = 0; I < FVisibleColumns.size(); ++I) {
    TColumnZk* Column = FVisibleColumns[I];
    TRect Cell = TitleRect(Column->RowPlacement());
    OffsetRect(Cell, ARect.Left, ARect.Top);
    CellLines(C, Cell, ARect, Dark);
    const int ACol = FIndicatorOffset + static_cast<int>(I);
    const TGridDrawState State = RowPanelCellState(Column, ARow, AState);
    if (FilterRow) {
      DrawFilterCell(ACol, ARow, Cell, State);
      continue;
    }
    DrawTitleAreaCell(ACol, ARow, Cell, State);
  }
}

void TCustomDBGridZk::PaintRowPanelData(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  const TPoint Origin = ARect.TopLeft();
  TGroupDataTreeNodeZk* Record = nullptr;
  if (GroupingWorks()) {
    // A group row is one wide row; a record row starts after its level bands and its cells
    // are read through an instant read of its record.
    TGroupDataTreeNodeZk* Node = GroupNodeOfDataRow(ARow - FTitleOffset);
    if (!Node) return;
    if (Node->NodeType() == dntDataGroupZk) {
      FDrawGroupDataNode = Node;
      DrawGroupDataRow(ACol, ARow, ARect, AState);
      FDrawGroupDataNode = nullptr;
      return;
    }
    DrawGroupIndent(ARow - FTitleOffset, Node->Level(), ARect);
    ARect.Left = std::min(ARect.Right, ARect.Left + FExtraFirstColumnWidth);
    ARect.Bottom -= 1;
    Record = Node;
  }
  C->Brush()->SetColor(Color());
  C->FillRect(ARect);
  const TColor Bright = GridLineColors()->GetBrightColor();
  const bool OneLine = FGridMasterCellHeight / std::max(1, InRowPanelLineHeight()) <= 1;
  const TColor Lines = ARow == Row() || OneLine ? Bright : MixColorsPercent(Bright, clWindow, 66);
  IMemTableZk* Table = Record ? FDataLink->MemTable() : nullptr;
  if (Table) Table->InstantReadEnter(Record->DataSetRecordViewNo());
  try {
    for (size_t I = 0; I < FVisibleColumns.size(); ++I) {
      TColumnZk* Column = FVisibleColumns[I];
      TRect Cell = DataRect(Column->RowPlacement());
      OffsetRect(Cell, Origin.X, Origin.Y);
      CellLines(C, Cell, ARect, Lines);
      const int CellCol = FIndicatorOffset + static_cast<int>(I);
      const TGridDrawState State = RowPanelCellState(Column, ARow, AState);
      if (Table) PaintDataCellContent(CellCol, ARow, Cell, State, Column);
      else DrawDataCell(CellCol, ARow, Cell, State);
    }
  } catch (...) {
    if (Table) Table->InstantReadLeave();
    throw;
  }
  if (Table) Table->InstantReadLeave();
}

void TCustomDBGridZk::PaintRowPanelFooter(int, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  C->Brush()->SetColor(Color());
  C->FillRect(ARect);
  const TColor Bright = GridLineColors()->GetBrightColor();
  for (size_t I = 0; I < FVisibleColumns.size(); ++I) {
    TRect Cell = TitleRect(FVisibleColumns[I]->RowPlacement());
    OffsetRect(Cell, ARect.Left, ARect.Top);
    CellLines(C, Cell, ARect, Bright);
    DrawFooterCell(FIndicatorOffset + static_cast<int>(I), ARow, Cell, AState);
  }
}

// --- sizing by the mouse --------------------------------------------------------------------------

void TCustomDBGridZk::RowPanelTitleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  ShowSizingLine(false);
  const TGridState State = FGridState;
  FGridState = gsNormal;
  TColumnZk* Sized = FSizingIndex >= 0 && FSizingIndex < FColumns->Count()
                         ? FColumns->Items(FSizingIndex) : nullptr;
  if (Sized) {
    FColumns->BeginUpdate();
    if (State == gsRowSizing) {
      const int H = std::max(1, InRowPanelLineHeight());
      const int Old = Sized->InRowLineHeight();
      const int N = RoundEven(double(H * Old + Y - FDownMousePos.Y) / H);
      const int LastLine = Sized->InRowLinePos() + Old;
      if (N > 0) {
        for (int I = 0; I < FColumns->Count() && !Shift.Contains(ssShift); ++I) {
          TColumnZk* C = FColumns->Items(I);
          if (C != Sized && C->InRowLinePos() + C->InRowLineHeight() == LastLine &&
              C->InRowLineHeight() + N - Old > 0)
            C->SetInRowLineHeight(C->InRowLineHeight() + N - Old);
        }
        Sized->SetInRowLineHeight(N);
      }
    } else {
      const int Move = UseRightToLeftAlignment() ? FDownMousePos.X - X : X - FDownMousePos.X;
      int Width = Sized->Width() + Move;
      if (!Shift.Contains(ssCtrl)) Width = SnapRowPanelWidth(Sized, Width, X + FSizingOfs);
      if (Width > 1) {
        const int Old = Sized->Width();
        const int Edge = Sized->RowPlacement().Left + Sized->RowPlacement().Width;
        for (int I = 0; I < FColumns->Count() && !Shift.Contains(ssShift); ++I) {
          TColumnZk* C = FColumns->Items(I);
          if (C != Sized && C->Visible() &&
              C->RowPlacement().Left + C->RowPlacement().Width == Edge &&
              C->Width() + Width - Old > 1)
            C->SetWidth(C->Width() + Width - Old);
        }
        Sized->SetWidth(Width);
      }
    }
    FColumns->EndUpdate();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}
