// DBGridZkColumnNavigation.cpp - moving between the columns of an in-row panel by their
// placements: along a line (and on to the next line), and up or down through overlapping
// columns.
#include "gridlib/grid/DBGridZk.h"

TColumnZk* TDBGridColumnsZk::GetNextHorzColumn(TColumnZk* ForColumn, bool GoForward,
                                               bool TillTheLastCol, bool CheckTabStop) const {
  const TColumnZkInRowPanelPlacement& F = ForColumn->RowPlacement();
  auto Candidate = [&](TColumnZk* C) {
    return C != ForColumn && C->Visible() && (!CheckTabStop || C->IsTabStop());
  };
  // The nearest column on the same line.
  TColumnZk* Best = nullptr;
  for (int I = 0; I < Count(); ++I) {
    TColumnZk* C = Items(I);
    const TColumnZkInRowPanelPlacement& P = C->RowPlacement();
    if (!Candidate(C) || P.Top != F.Top) continue;
    if (GoForward ? P.DataCellLeft > F.DataCellLeft &&
                        (!Best || P.Left < Best->RowPlacement().Left)
                  : P.Left < F.Left && (!Best || P.Left > Best->RowPlacement().Left))
      Best = C;
  }
  if (Best) return Best;
  if (!TillTheLastCol) return ForColumn;
  // The upper-left column of the lines below, or the lower-right one of the lines above.
  for (int I = 0; I < Count(); ++I) {
    TColumnZk* C = Items(I);
    const TColumnZkInRowPanelPlacement& P = C->RowPlacement();
    if (!Candidate(C) || (GoForward ? P.Top <= F.Top : P.Top >= F.Top)) continue;
    if (!Best) {
      Best = C;
      continue;
    }
    const TColumnZkInRowPanelPlacement& B = Best->RowPlacement();
    if (GoForward ? B.Top >= P.Top && B.Left >= P.Left : P.Top >= B.Top && P.Left >= B.Left)
      Best = C;
  }
  return Best ? Best : ForColumn;
}

TColumnZk* TDBGridColumnsZk::GetNextVertColumn(TColumnZk* ForColumn, bool GoForward) const {
  const TColumnZkInRowPanelPlacement& F = ForColumn->RowPlacement();
  TColumnZk* BaseColumn = ForColumn;
  for (int I = 0; I < Count(); ++I)   // a base column deleted since is not used
    if (Items(I) == FUpDownBaseColumn) BaseColumn = FUpDownBaseColumn;
  const TColumnZkInRowPanelPlacement& Base = BaseColumn->RowPlacement();
  TColumnZk* Best = nullptr;
  for (int I = 0; I < Count(); ++I) {
    TColumnZk* C = Items(I);
    const TColumnZkInRowPanelPlacement& P = C->RowPlacement();
    if (C == ForColumn || !C->Visible()) continue;
    if (P.Left > Base.Left + Base.Width || P.Left + P.Width < Base.Left) continue;
    if (GoForward ? P.Top <= F.Top + F.Height : P.Top >= F.Top) continue;
    if (!Best) {
      Best = C;
      continue;
    }
    const TColumnZkInRowPanelPlacement& B = Best->RowPlacement();
    const bool Nearer = GoForward ? P.Top < B.Top : P.Top > B.Top;
    if (Nearer || (P.Top == B.Top && P.Left < B.Left)) Best = C;
  }
  return Best ? Best : ForColumn;
}

TColumnZk* TDBGridColumnsZk::GetTopColumn(TColumnZk* ForColumn) const {
  for (TColumnZk* Next = GetNextVertColumn(ForColumn, false); Next != ForColumn;
       Next = GetNextVertColumn(ForColumn, false))
    ForColumn = Next;
  return ForColumn;
}

TColumnZk* TDBGridColumnsZk::GetBottomColumn(TColumnZk* ForColumn) const {
  for (TColumnZk* Next = GetNextVertColumn(ForColumn, true); Next != ForColumn;
       Next = GetNextVertColumn(ForColumn, true))
    ForColumn = Next;
  return ForColumn;
}
