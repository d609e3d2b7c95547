// DBGridZkRowHeights.cpp - rows as high as their contents: with dghAutoFitRowHeight every row of
// a memory table's view takes the height its tallest cell text needs in its column's width.
// Over an ordinary dataset the rows are the link's buffer, counted in standard heights, and keep
// that height; grouped rows take theirs from the group tree.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>

#include "gridlib/grid/DBGridZkGrouping.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/WinDraw.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Math.h"

void LoadFieldPicture(TField* Field, TPicture& Picture) {
  Picture.SetGraphic(nullptr);
  auto* Blob = dynamic_cast<TBlobField*>(Field);
  if (!Blob || Blob->IsNull()) return;
  try {
    Picture.LoadFromBytes(Blob->AsBytes());
  } catch (const Exception&) {
    Picture.SetGraphic(nullptr);   // not a picture: shown and measured as an empty field
  }
}

namespace {

// The height of the picture of the record read now at the column's width: a wider picture is
// shrunk to the width keeping its shape. 0 without a picture.
int PictureRowHeight(TColumnZk* Column) {
  TPicture Picture;
  LoadFieldPicture(Column->Field(), Picture);
  const int W = Picture.Width(), H = Picture.Height(), ColW = Column->Width();
  if (!Picture.Graphic() || W <= 0 || H <= 0) return 0;
  if (W <= ColW || ColW <= 0) return H;
  return static_cast<int>(Round(H / (double(W) / ColW)));
}

}  // namespace

// The height the column's display text (or picture) of the record read now needs; the standard
// height when rows do not fit their contents or the table shows a tree.
int TColumnZk::CalcRowHeight() {
  TCustomDBGridZk* G = Grid();
  if (!G) return 0;
  const int H = G->StdDefaultRowHeight();
  if (!G->OptionsZk().Contains(dghAutoFitRowHeight) || G->MemTableTreeShown()) return H;
  // The picture's own height, even below the standard: the grid keeps rows at least that high.
  if (G->DrawGraphicData() && GetColumnType() == ctGraphicData) return PictureRowHeight(this);
  int Margin = AlwaysShowEditButton() ? EditButtonsWidth() + 4 : 4;
  const TColumnsZkList& Visible = G->VisibleColumns();
  if (!Visible.empty() && Visible.front() == this) Margin += G->GetCellTreeElmentsAreaWidth();
  if (ImageList() && ShowImageAndText()) Margin += ImageList()->Width() + 4;
  TBitmap Scratch;
  TCanvas* C = Scratch.Canvas();
  C->Font()->Assign(Font());
  TRect R = Rect(0, 0, std::max(1, Width() - Margin), H);
  unsigned Flags = DT_CALCRECT | DT_NOPREFIX;
  if (WordWrap()) Flags |= DT_WORDBREAK;
  const String Text = DisplayText();
  DrawText(C, Text.empty() ? String(u" ") : Text, R, Flags);
  const int TextH = R.Bottom - R.Top;
  if (TextH <= H) return H;
  const int Line = G->Options().Contains(dgRowLines) ? G->GridLineWidth() : 0;
  return TextH + (G->Flat() ? 1 : 3) + Line;
}

// The tallest visible column's need for the record read now; OnGetRowHeight has the last word.
int TCustomDBGridZk::CalcRowHeight() {
  int H = FStdDefaultRowHeight;
  for (TColumnZk* C : FVisibleColumns) H = std::max(H, C->CalcRowHeight());
  if (FOnGetRowHeight) FOnGetRowHeight(this, H);
  return H;
}

int TCustomDBGridZk::DataRowHeight(int DataRow) {
  if (TGroupDataTreeNodeZk* Node = GroupNodeOfDataRow(DataRow)) return Node->RowHeight();
  if (!UsesMemTableRows()) return FStdDefaultRowHeight;
  // Without fitting every column answers the standard height: nothing to read.
  if (!FOptionsZk.Contains(dghAutoFitRowHeight) && !FOnGetRowHeight) return FStdDefaultRowHeight;
  int H = FStdDefaultRowHeight;
  ForDataRow(DataRow, [&] { H = CalcRowHeight(); });
  return H;
}

void TCustomDBGridZk::UpdateDataRowHeight(int DataRow) {
  const int R = FTitleOffset + DataRow;
  if (R < FTitleOffset || R >= RowCount()) return;
  int H = DataRowHeight(DataRow);
  if (DataRow == RowDetailDataRow()) H += FRowDetailPanel->Height();
  if (RowHeight(R) != H) SetRowHeight(R, H);
}

// Each data row measured under one paint lock: a memory table's flat view row by row, a
// buffer's rows at the standard height (with the detail panel under its row).
void TCustomDBGridZk::UpdateAllGridDataRowHeights() {
  if (GroupingWorks()) return;
  FColWidthsChanged = false;
  const bool Measured = UsesMemTableRows() && !MemTableTreeShown();
  const int N = Measured ? std::min(SourceRowCount(), RowCount() - FTitleOffset) : RowCount() - FTitleOffset;
  LockPaint();
  try {
    for (int D = 0; D < N; ++D) UpdateDataRowHeight(D);
  } catch (...) {
    UnlockPaint();
    throw;
  }
  UnlockPaint();
}

void TCustomDBGridZk::UpdateAllDataRowHeights() {
  if (ComponentState().Contains(csLoading)) return;
  UpdateAllGridDataRowHeights();
}

// A memory table's view is measured again at once, under a layout lock so that nothing it sets
// starts a recalculation; while the grid is busy, or over a buffer, the next row count update
// does it. Heights that neither fit the text nor ask OnGetRowHeight do not depend on widths.
void TCustomDBGridZk::ColWidthsReachRowHeights() {
  if (!FOptionsZk.Contains(dghAutoFitRowHeight) && !FOnGetRowHeight) return;
  if (!UsesMemTableRows() || FLayoutLock > 0 || FUpdateLock > 0) {
    FColWidthsChanged = true;
    return;
  }
  ++FLayoutLock;
  try {
    UpdateAllDataRowHeights();
  } catch (...) {
    --FLayoutLock;
    throw;
  }
  --FLayoutLock;
}

// A data row sized by the user gives every data row its height (RowHeight), unless rows fit
// their contents. The search starts below the title and filter rows and passes over the detail
// panel's row, which are not data row heights.
void TCustomDBGridZk::RowHeightsUpdated() {
  if (TCustomGridZk::GridState() == gsRowSizing && !FOptionsZk.Contains(dghAutoFitRowHeight) && !FOnGetRowHeight) {
    const int Panel = FTitleOffset + RowDetailDataRow();
    for (int R = FTitleOffset; R < RowCount(); ++R) {
      if (R == Panel || RowHeight(R) == FStdDefaultRowHeight) continue;
      FRowLines = 0;
      SetRowHeight(RowHeight(R));
      UpdateScrollBar();
      break;
    }
  }
  TCustomGridZk::RowHeightsUpdated();
}
