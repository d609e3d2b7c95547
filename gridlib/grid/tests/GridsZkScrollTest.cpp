// GridsZkScrollTest.cpp - the base grid's scroll bars in both modes, window scrolling against
// repainting, and sizing columns and rows with the mouse.
#include <gtest/gtest.h>

#include "gridlib/grid/tests/GridTestGrid.h"
#include "platform/controls/ScrollBars.h"
#include "platform/rtl/Math.h"

namespace {

class GridScroll : public ::testing::Test {
protected:
  // Presses of earlier tests at the same screen points must not make double clicks.
  void SetUp() override {
    UseTestClock(true);
    AdvanceTestClock(1000);
  }
  void TearDown() override { UseTestClock(false); }
  TGridOnForm F{320, 120};
  TTestGrid* Grid = F.Grid;
  SCROLLINFO Bar(int Which) { return GetScrollBarState(Grid, Which).Info; }
};

TEST_F(GridScroll, CellModeBarEachCode) {
  Grid->SetRowCount(40);
  const int MaxTop = Grid->MaxFirstScrolledCell(Grid->CalcMetrics().Vert, 39);
  ASSERT_GT(MaxTop, 2);
  EXPECT_EQ(Bar(SB_VERT).nMin, 0);
  EXPECT_EQ(Bar(SB_VERT).nMax, 127);
  struct TCase {
    unsigned Code;
    int Pos;
    bool Tracking;
    int TopRow;
  } Cases[] = {
      {SB_LINEDOWN, 0, false, 2},
      {SB_PAGEDOWN, 0, false, 2 + std::max(1, Grid->VisibleRowCount() - 1)},
      {SB_LINEUP, 0, false, 1 + std::max(1, Grid->VisibleRowCount() - 1)},
      {SB_BOTTOM, 0, false, MaxTop},
      {SB_TOP, 0, false, 1},
      {SB_THUMBTRACK, 127, false, 1},
      {SB_THUMBTRACK, 127, true, MaxTop},
      {SB_THUMBPOSITION, 0, false, 1},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << "code " << C.Code << " tracking " << C.Tracking);
    TGridOptions O = Grid->Options();
    if (C.Tracking) O << goThumbTracking;
    else O >> goThumbTracking;
    Grid->SetOptions(O);
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(C.Code, C.Pos), 0);
    EXPECT_EQ(Grid->TopRow(), C.TopRow);
    EXPECT_EQ(Bar(SB_VERT).nPos, MulDiv(C.TopRow - 1, 127, MaxTop - 1));
  }
}

TEST_F(GridScroll, NothingToScrollGivesAnEmptyRangeAndPositionZero) {
  Grid->SetColCount(3);
  Grid->UpdateScrollBarRanges();
  EXPECT_EQ(Bar(SB_HORZ).nMax, 0);
  EXPECT_EQ(GetScrollPos(Grid, SB_HORZ), 0) << "no division by an empty range";
  Grid->Perform(WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Grid->LeftCol(), 1);
}

TEST_F(GridScroll, PixelModeBarWithRowSelect) {
  Grid->SetColCount(10);
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
  const int Data = Grid->GridDataSize().cx, Page = Grid->DataPageSize().cx;
  EXPECT_EQ(Data, 9 * 65);
  EXPECT_EQ(Bar(SB_HORZ).nMax, Data - 1);
  EXPECT_EQ(int(Bar(SB_HORZ).nPage), Page);
  const int Step = std::max(1, Page / 20), Last = Data - Page;
  struct TCase {
    unsigned Code;
    int Pos;
    int Expected;
  } Cases[] = {
      {SB_LINEDOWN, 0, Step},
      {SB_PAGEDOWN, 0, Step + Page},
      {SB_LINEUP, 0, Page},
      {SB_PAGEUP, 0, 0},
      {SB_PAGEUP, 0, 0},                 // not before the first position
      {SB_THUMBTRACK, 100, 0},           // without thumb tracking
      {SB_THUMBPOSITION, 100, 100},
      {SB_BOTTOM, 0, Last},
      {SB_LINEDOWN, 0, Last},            // no empty space after the data
      {SB_TOP, 0, 0},
  };
  for (const auto& C : Cases) {
    Grid->Perform(WM_HSCROLL, MAKEWPARAM(C.Code, C.Pos), 0);
    EXPECT_EQ(Grid->SmoothPos().X, C.Expected) << "code " << C.Code;
    EXPECT_EQ(Bar(SB_HORZ).nPos, C.Expected) << "code " << C.Code;
  }
  EXPECT_EQ(Grid->LeftCol(), 1);
  // Keys scroll by the line step and leave the current cell alone.
  const TGridCoord Current = Grid->Current();
  SimulateKeyPress(VK_RIGHT);
  EXPECT_EQ(Grid->SmoothPos().X, Step);
  EXPECT_EQ(Grid->Current(), Current);
  SimulateKeyPress(VK_LEFT);
  EXPECT_EQ(Grid->SmoothPos().X, 0);
}

TEST_F(GridScroll, ThumbPositionsBeyondSixteenBitsDoNotWrap) {
  Grid->SetColCount(2000);
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
  ASSERT_GT(Grid->GridDataSize().cx, 100000);
  ScrollBarTrack(Grid, SB_HORZ, 100000);
  EXPECT_EQ(Grid->SmoothPos().X, 0) << "no thumb tracking";
  ScrollBarEndTrack(Grid, SB_HORZ);
  EXPECT_EQ(Grid->SmoothPos().X, 100000);
  EXPECT_EQ(Grid->LeftCol(), 1 + 100000 / 65);
  Grid->SetOptions(Grid->Options() + TGridOptions{goThumbTracking});
  ScrollBarTrack(Grid, SB_HORZ, 70000);
  EXPECT_EQ(Grid->SmoothPos().X, 70000);
}

TEST_F(GridScroll, GrowingTheControlScrollsBackSoTheDataEndsAtTheEdge) {
  Grid->SetColCount(10);
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
  Grid->Perform(WM_HSCROLL, SB_BOTTOM, 0);
  Grid->SetBounds(Grid->Left(), Grid->Top(), 500, 120);
  EXPECT_EQ(Grid->SmoothPos().X, Grid->GridDataSize().cx - Grid->DataPageSize().cx);
  EXPECT_EQ(Grid->CalcMetrics().Horz.VisibleEnd, Grid->CalcMetrics().Horz.ScrollAreaEnd);
}

TEST_F(GridScroll, MoreThanAPageRepaintsAllAShortStepOnlyTheRows) {
  Grid->SetScrollBars(ssNone);   // the bars' own repaints aside
  Grid->SetRowCount(100);
  ValidateRect(Grid, nullptr);
  Grid->SetTopRow(2);
  EXPECT_EQ(Grid->FInvalid.Top, 25) << "the title row stays";
  ValidateRect(Grid, nullptr);
  Grid->SetTopRow(90);
  EXPECT_EQ(Grid->FInvalid, Grid->ClientRect());
}

TEST_F(GridScroll, AllColumnsHiddenScrollNowhereAndStepsEnd) {
  Grid->SetColCount(9);
  Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
  for (int C = 1; C < 9; ++C) Grid->SetColWidth(C, 0);
  for (unsigned Code : {SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM, SB_THUMBPOSITION, SB_LINEUP}) {
    Grid->Perform(WM_HSCROLL, MAKEWPARAM(Code, 64), 0);
    EXPECT_EQ(Grid->LeftCol(), 1) << Code;
  }
  SimulateKeyPress(VK_TAB);
  SimulateKeyPress(VK_END, {ssCtrl});
  EXPECT_EQ(Grid->LeftCol(), 1);
  EXPECT_EQ(Grid->MouseCoord(100, 30), (TGridCoord{-1, -1}));
}

TEST_F(GridScroll, WheelMovesTheCurrentRow) {
  SimulateMouseWheel(-WHEEL_DELTA, F.At(100, 60));
  EXPECT_EQ(Grid->Row(), 2);
  SimulateMouseWheel(WHEEL_DELTA, F.At(100, 60));
  EXPECT_EQ(Grid->Row(), 1);
}

// --- sizing -------------------------------------------------------------------------------------

TEST(GridSizing, ZonesByLineWidth) {
  InitControls();
  struct TCase {
    int LineWidth, From, To;   // relative to the line's position e
  } Cases[] = {{1, -3, 4}, {6, 0, 7}, {9, 0, 9}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.LineWidth);
    TTestGrid Grid(nullptr);
    Grid.SetBounds(0, 0, 600, 120);
    Grid.SetGridLineWidth(C.LineWidth);
    Grid.SetOptions(Grid.Options() + TGridOptions{goColSizing});
    const int E = 64 + C.LineWidth + 64;   // the end of column 1
    for (int P = E - 6; P <= E + 12; ++P) {
      TGridState State;
      int Index = -1, Pos = 0, Ofs = 0;
      TGridMetrics M;
      Grid.FindSizingLine(P, 5, State, Index, Pos, Ofs, M);
      const bool Inside = P >= E + C.From && P <= E + C.To;
      EXPECT_EQ(State == gsColSizing && Index == 1, Inside) << "at " << P - E;
      if (Inside) {
        EXPECT_EQ(Pos, E);
        EXPECT_EQ(Ofs, E - P);
      }
    }
  }
}

TEST_F(GridScroll, DraggingAColumnEdgeSizesItButNotBelowTwo) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing, goRowSizing});
  SimulateMouseMove(F.At(129, 10));
  EXPECT_EQ(GetCurrentCursor(), crHSplit);
  SimulateMouseMove(F.At(10, 49));
  EXPECT_EQ(GetCurrentCursor(), crVSplit);
  SimulateMouseMove(F.At(100, 60));
  EXPECT_NE(GetCurrentCursor(), crHSplit);

  SimulateMouseDown(mbLeft, F.At(130, 10));
  SimulateMouseMove(F.At(151, 10));
  SimulateMouseUp(mbLeft, F.At(151, 10));
  EXPECT_EQ(Grid->ColWidth(1), 85);
  EXPECT_EQ(Grid->FGridState, gsNormal);
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, F.At(150, 10));
  SimulateMouseMove(F.At(66, 10));
  SimulateMouseUp(mbLeft, F.At(66, 10));
  EXPECT_EQ(Grid->ColWidth(1), 85) << "a width of 1 is not taken";
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, F.At(10, 49));
  EXPECT_EQ(Grid->FGridState, gsRowSizing);
  SimulateMouseMove(F.At(10, 60));
  SimulateMouseUp(mbLeft, F.At(10, 60));
  EXPECT_EQ(Grid->RowHeight(1), 35);
}

}  // namespace

namespace {

// A grid whose columns scroll by pixels without row selection, as the data grid's may.
class TPixelGrid : public TTestGrid {
public:
  using TTestGrid::TTestGrid;
  bool HorzSmoothScroll() override { return true; }
};

TEST(GridPixelScroll, CellBroughtIntoViewEndsFlushWithTheScrolledArea) {
  InitControls();
  TForm* Form = new TForm(Application);
  auto* Grid = new TPixelGrid(Form);
  Grid->SetParent(Form);
  Grid->SetBounds(0, 0, 300, 120);
  Grid->SetColCount(9);
  Form->Show();
  Grid->HandleNeeded();
  Grid->SetCurrentCell(6, 1, true, true, true);
  const TGridMetrics M = Grid->CalcMetrics();
  EXPECT_GT(Grid->DataOffset().cx, 0) << "the first scrolled column is partly out of view";
  EXPECT_EQ(Grid->CellLinePos(M.Horz, 6) + Grid->ColWidth(6), M.Horz.ScrollAreaEnd);
  // Back to a column before the view: it becomes the first, whole.
  Grid->SetCurrentCell(2, 1, true, true, true);
  EXPECT_EQ(Grid->LeftCol(), 2);
  EXPECT_EQ(Grid->DataOffset().cx, 0);
  delete Form;
}

}  // namespace
