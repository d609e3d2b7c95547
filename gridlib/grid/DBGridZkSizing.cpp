// DBGridZkSizing.cpp - the data grid's sizing hit tests: the base grid's edges with the last
// column's edge kept inside the columns, a cut-off first column sized as itself, rows sized only
// over the indicator, and the extra zones at the right edges of frozen columns' titles.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>

#include "gridlib/grid/DBGridZk_p.h"

void TCustomDBGridZk::FindSizingLine(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                     int& SizingOfs, TGridMetrics& Metrics) {
  TCustomGridZk::FindSizingLine(X, Y, State, Index, SizingPos, SizingOfs, Metrics);
  if (FGridRowPanel->Active() && RowPanelSizingStateAt(X, Y, State, Index, SizingPos, SizingOfs))
    return;
  if (State == gsColSizing) {
    const TGridAxisMetrics& H = Metrics.Horz;
    if (Index >= H.AllCellCount) {
      Index = ColCount() - 1;
    } else if (H.ContraCount == 0 && H.LastWholeCell <= LeftCol() && Index > LeftCol() &&
               H.FixedEnd + ColWidth(LeftCol()) > H.ClientLimit) {
      Index = LeftCol();
    }
  } else if (State == gsRowSizing) {
    // Rows are sized over the indicator only.
    if (!IndicatorShown() || X >= ColWidth(0) || FGridRowPanel->Active()) State = gsNormal;
  }
  if (State != gsNormal || !FOptionsZk.Contains(dghColumnResize) ||
      Y >= TitleRowCount() * FTitleRowHeight + FilterRowCount() * FStdDefaultRowHeight)
    return;
  // The right edges of frozen data columns' titles: a 7-pixel zone across the grid line.
  const int Line = GridLineWidth();
  const int E = Line <= 6 ? (7 - Line) / 2 : 0;
  int Right = 0;
  for (int C = 0; C < FixedCols(); ++C) {
    Right += ColWidth(C) + Line;
    if (C < FIndicatorOffset || ColWidth(C) <= 0) continue;
    const int Edge = Right - Line;
    if (X >= Edge - E && X < Edge + std::max(Line, 7) - E) {
      State = gsColSizing;
      Index = C;
      SizingPos = Edge;
      SizingOfs = Edge - X;
      return;
    }
  }
}
