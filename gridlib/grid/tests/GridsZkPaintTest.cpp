// GridsZkPaintTest.cpp - the base grid's pixels: line colours, fixed lines, the row-select
// highlight, the empty band, the sizing line, and scrolling against a fresh paint.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gridlib/grid/GridsZk_p.h"
#include "gridlib/grid/tests/GridTestGrid.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/Snapshot.h"
#include "platform/graphics/Bitmap.h"

namespace {

// The grid's client area as painted (the frame cut off).
struct TShot {
  std::unique_ptr<TBitmap> Bitmap = std::make_unique<TBitmap>();
  TRect Insets;
  TColorRef At(int X, int Y) const { return Bitmap->PixelRGB(Insets.Left + X, Insets.Top + Y); }
};

TShot Shoot(TTestGrid* Grid) {
  TShot S;
  RenderControl(Grid, *S.Bitmap);
  S.Insets = Grid->NonClientInsets();
  return S;
}

class GridPaint : public ::testing::Test {
protected:
  TGridOnForm F{320, 120};
  TTestGrid* Grid = F.Grid;
};

TEST_F(GridPaint, DataLinesSilverFixedLinesGreyAndGreyOnASilverGrid) {
  // Column 1 ends at 65 + 64 = 129: its line is x = 129; row 1's line is y = 49.
  TShot S = Shoot(Grid);
  EXPECT_EQ(S.At(129, 60), ColorToRGB(clSilver));
  EXPECT_EQ(S.At(100, 49), ColorToRGB(clSilver));
  EXPECT_EQ(S.At(64, 60), ColorToRGB(clGray)) << "the title column's line";
  EXPECT_EQ(S.At(100, 24), ColorToRGB(clGray)) << "the title row's line";
  Grid->SetColor(clSilver);
  S = Shoot(Grid);
  EXPECT_EQ(S.At(129, 60), ColorToRGB(clGray));
}

TEST_F(GridPaint, FixedLineOptionOffPaintsTheFixedColour) {
  Grid->SetCtl3D(false);
  Grid->SetOptions(Grid->Options() - TGridOptions{goFixedVertLine});
  const TShot S = Shoot(Grid);
  EXPECT_EQ(S.At(64, 60), ColorToRGB(Grid->FixedColor()));
  EXPECT_EQ(S.At(129, 60), ColorToRGB(clSilver)) << "data lines stay";
}

TEST_F(GridPaint, RowSelectHighlightsTheRowWithOneFocusRectangle) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
  Grid->SetCurrentCell(1, 2, true, false, false);
  ASSERT_TRUE(Grid->Focused());
  const TShot S = Shoot(Grid);
  const TRect Sel = Grid->CellsScreenRect(Grid->CalcMetrics(), Grid->CurrentSelection(), false);
  // Inside the row, away from the focus rectangle's dots, the highlight colour.
  EXPECT_EQ(S.At(100, Sel.Top + 10), ColorToRGB(clHighlight));
  EXPECT_EQ(S.At(200, Sel.Top + 10), ColorToRGB(clHighlight));
  // The focus rectangle's dots run around the whole selection, not around each cell: they
  // stand on the selection's left edge, and none stand on the boundary between two cells.
  int EdgeDots = 0;
  for (int Y = Sel.Top; Y < Sel.Bottom; ++Y)
    if (S.At(Sel.Left, Y) != ColorToRGB(clHighlight)) ++EdgeDots;
  EXPECT_GT(EdgeDots, 0);
  int InnerDots = 0;
  for (int Y = Sel.Top + 1; Y < Sel.Bottom - 1; ++Y)
    if (S.At(130, Y) != ColorToRGB(clHighlight) && S.At(130, Y) != ColorToRGB(clSilver)) ++InnerDots;
  EXPECT_EQ(InnerDots, 0);
}

TEST_F(GridPaint, EmptyBandOnlyWhenTheGridIsWiderThanItsColumns) {
  Grid->SetColCount(3);
  const TShot Wide = Shoot(Grid);
  EXPECT_EQ(Wide.At(250, 60), ColorToRGB(Grid->Color()));
  EXPECT_EQ(Wide.At(250, 10), ColorToRGB(Grid->Color())) << "beside the titles too";
  Grid->SetColCount(8);
  const TShot Narrow = Shoot(Grid);
  EXPECT_NE(Narrow.At(250, 10), ColorToRGB(Grid->Color())) << "titles fill the width";
}

TEST_F(GridPaint, SizingLineInvertsThenIsGone) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing});
  const TShot Before = Shoot(Grid);
  // The title row's line after column 1 stands at x = 129.
  SimulateMouseDown(mbLeft, F.At(129, 10));
  ASSERT_EQ(Grid->FGridState, gsColSizing);
  SimulateMouseMove(F.At(150, 10));
  const TShot During = Shoot(Grid);
  int Inverted = 0;
  for (int Y = 30; Y < 110; ++Y)
    if (During.At(150, Y) == (~Before.At(150, Y) & 0xFFFFFF)) ++Inverted;
  EXPECT_GT(Inverted, 20) << "a dotted line inverts about every other pixel";
  Grid->Perform(WM_CANCELMODE, 0, 0);
  SimulateMouseUp(mbLeft, F.At(150, 10));
  const TShot After = Shoot(Grid);
  for (int Y = 30; Y < 110; ++Y) EXPECT_EQ(After.At(150, Y), Before.At(150, Y)) << Y;
  EXPECT_EQ(Grid->ColWidth(1), 64) << "cancelled";
}

TEST_F(GridPaint, AfterScrollingTheImageEqualsAFreshPaint) {
  Grid->SetColCount(12);
  Grid->SetRowCount(40);
  Grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  Grid->Perform(WM_HSCROLL, SB_PAGEDOWN, 0);
  ASSERT_GT(Grid->TopRow(), 1);
  ASSERT_GT(Grid->LeftCol(), 1);
  const TShot Scrolled = Shoot(Grid);
  TGridOnForm Fresh(320, 120);
  Fresh.Grid->SetColCount(12);
  Fresh.Grid->SetRowCount(40);
  Fresh.Grid->SetFirstScrolledCells(Grid->LeftCol(), Grid->TopRow());
  Fresh.Grid->SetCurrentCell(Grid->Col(), Grid->Row(), true, false, false);
  const TShot Clean = Shoot(Fresh.Grid);
  int Different = 0;
  for (int Y = 0; Y < Grid->ClientHeight(); ++Y)
    for (int X = 0; X < Grid->ClientWidth(); ++X)
      if (Scrolled.At(X, Y) != Clean.At(X, Y)) ++Different;
  EXPECT_EQ(Different, 0);
}

TEST(GridLinesCache, OneBatchPerColourAndStorageKept) {
  TGridLinesCacheZk Cache;
  Cache.AddLine(clGray, 0, 0, 10, 0);
  Cache.AddLine(clSilver, 0, 1, 10, 1);
  Cache.AddLine(clGray, 0, 2, 10, 2);
  EXPECT_EQ(Cache.BatchCount(), 2);
  EXPECT_EQ(Cache.GetGridLines(clGray).Points.size(), 4u);
  const TPoint* Storage = Cache.GetGridLines(clGray).Points.data();
  Cache.Clear();
  EXPECT_EQ(Cache.BatchCount(), 0);
  Cache.AddLine(clRed, 1, 1, 2, 2);
  EXPECT_EQ(Cache.GetGridLines(clRed).Points.data(), Storage) << "the first batch's storage is reused";
}

}  // namespace

namespace {

// Writes the grid's picture to $VORENTA_GRID_PNG when set, for looking at it.
TEST(GridPicture, SavedWhenAsked) {
  const char* Out = std::getenv("VORENTA_GRID_PNG");
  if (!Out) GTEST_SKIP() << "set VORENTA_GRID_PNG to a file name";
  TGridOnForm F(420, 200);
  F.Grid->SetColCount(8);
  F.Grid->SetRowCount(12);
  F.Grid->SetFixedCols(2);
  F.Grid->SetFrozenColCount(1);
  F.Grid->SetContraRowCount(1);
  F.Grid->SetOptions(F.Grid->Options() + TGridOptions{goRowSelect});
  F.Grid->SetCurrentCell(2, 3, true, false, false);
  F.Grid->Perform(WM_HSCROLL, SB_LINEDOWN, 0);
  SaveControlToPng(F.Grid, Utf8ToString(Out));
}

}  // namespace
