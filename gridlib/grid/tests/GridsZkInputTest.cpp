// GridsZkInputTest.cpp - the base grid's keys, cell clicks, selecting with auto-scroll, moving
// columns with the marker window, and the column-move timer interval.
#include <gtest/gtest.h>

#include "gridlib/grid/GridMarkersZk.h"
#include "gridlib/grid/tests/GridTestGrid.h"

namespace {

class GridInput : public ::testing::Test {
protected:
  void SetUp() override { UseTestClock(true); }
  void TearDown() override { UseTestClock(false); }
  TGridOnForm F{520, 200};
  TTestGrid* Grid = F.Grid;
};

TEST_F(GridInput, KeyTable) {
  struct TCase {
    const char* Name;
    int FixedCols, FrozenCols;
    TGridCoord Start;
    Word Key;
    TShiftState Shift;
    TGridCoord Expected;
  } Cases[] = {
      {"Ctrl+End", 1, 0, {1, 1}, VK_END, {ssCtrl}, {7, 9}},
      {"Ctrl+Home with a frozen column", 2, 1, {5, 6}, VK_HOME, {ssCtrl}, {2, 1}},
      {"Left into the frozen column", 2, 1, {2, 3}, VK_LEFT, {}, {1, 3}},
      {"Left stops before the title column", 2, 1, {1, 3}, VK_LEFT, {}, {1, 3}},
      {"Shift+Tab over a column that is no tab stop", 1, 0, {3, 2}, VK_TAB, {ssShift}, {1, 2}},
      {"Tab wraps to the next row", 1, 0, {7, 2}, VK_TAB, {}, {1, 3}},
      {"Shift+Tab wraps back to the last row", 1, 0, {1, 1}, VK_TAB, {ssShift}, {7, 9}},
      {"Home", 1, 0, {5, 4}, VK_HOME, {}, {1, 4}},
      {"Down", 1, 0, {5, 4}, VK_DOWN, {}, {5, 5}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Grid->SetColCount(8);
    Grid->SetRowCount(10);
    Grid->SetFixedCols(C.FixedCols);
    Grid->SetFrozenColCount(C.FrozenCols);
    Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
    Grid->SetTabStop(2, false);
    Grid->SetCurrentCell(C.Start.X, C.Start.Y, true, true, true);
    SimulateKeyPress(C.Key, C.Shift);
    EXPECT_EQ(Grid->Current(), C.Expected);
    EXPECT_EQ(Grid->Anchor(), C.Expected) << "no range from these keys";
    Grid->SetFixedCols(1);
  }
}

TEST_F(GridInput, ClickOnlyWhenPressAndReleaseHitOneCell) {
  // Column 2 starts at 65 + 65 = 130, row 2 at 25 + 25 = 50.
  SimulateMouseDown(mbRight, F.At(140, 55));
  SimulateMouseUp(mbRight, F.At(150, 60));
  ASSERT_EQ(Grid->Clicks.size(), 1u);
  EXPECT_EQ(Grid->Clicks[0].Cell, (TGridCoord{2, 2}));
  EXPECT_EQ(Grid->Clicks[0].Button, mbRight);
  EXPECT_EQ(Grid->Clicks[0].X, 20);
  EXPECT_EQ(Grid->Clicks[0].Y, 10);
  AdvanceTestClock(1000);
  SimulateMouseDown(mbRight, F.At(140, 55));
  SimulateMouseUp(mbRight, F.At(140, 80));
  EXPECT_EQ(Grid->Clicks.size(), 1u) << "released on another cell";
  // A quick second press is a double click, and a double click on the pressed cell is a click.
  SimulateMouseDown(mbRight, F.At(140, 80));
  SimulateMouseUp(mbRight, F.At(140, 80));
  SimulateMouseDown(mbRight, F.At(140, 80));
  ASSERT_EQ(Grid->Clicks.size(), 3u);
  EXPECT_EQ(Grid->Clicks[2].Cell, (TGridCoord{2, 3}));
}

TEST_F(GridInput, SelectingBelowTheGridGrowsOneRowEvery60ms) {
  Grid->SetRowCount(40);
  SimulateMouseDown(mbLeft, F.At(140, 55));
  SimulateMouseMove(F.At(140, 260));
  const int Start = Grid->Anchor().Y;
  for (int Tick = 1; Tick <= 3; ++Tick) {
    AdvanceTestClock(60);
    Application->ProcessMessages();
    EXPECT_EQ(Grid->Anchor().Y, Start + Tick);
  }
  AdvanceTestClock(30);
  Application->ProcessMessages();
  EXPECT_EQ(Grid->Anchor().Y, Start + 3) << "not before the next 60 ms";
  SimulateMouseUp(mbLeft, F.At(140, 260));
  AdvanceTestClock(120);
  Application->ProcessMessages();
  EXPECT_EQ(Grid->Anchor().Y, Start + 3) << "the timer stops with the release";
  EXPECT_EQ(Grid->Current().Y, 2);
}

TEST_F(GridInput, MovingAColumnShowsTheMarkerAndRelocatesIt) {
  Grid->SetColCount(8);
  Grid->SetOptions(Grid->Options() + TGridOptions{goColMoving});
  Grid->SetColWidth(2, 70);
  // Column 2 spans 130..200; column 5 starts at 130 + 71 + 65 + 65 = 331.
  SimulateMouseDown(mbLeft, F.At(150, 10));
  ASSERT_EQ(Grid->FGridState, gsColMoving);
  TGridMoveLineZk* Line = GridMoveLineWindow();
  EXPECT_TRUE(Line->Visible());
  SimulateMouseMove(F.At(340, 60));
  TRect R;
  GetWindowRect(Line, R);
  const int MarkerX = 331 + 64;   // the right side of column 5
  EXPECT_EQ(R.Left, F.At(MarkerX, 0).X - 3);
  EXPECT_EQ(R.Top, F.At(0, 0).Y - 4);
  EXPECT_EQ(R.Width(), 7);
  SimulateMouseUp(mbLeft, F.At(340, 60));
  EXPECT_FALSE(Line->Visible());
  EXPECT_EQ(Grid->ColWidth(5), 70);
  EXPECT_EQ(Grid->ColWidth(2), 64);

  SimulateMouseDown(mbLeft, F.At(140, 10));
  SimulateMouseUp(mbLeft, F.At(140, 10));
  EXPECT_EQ(Grid->ColWidth(5), 70) << "released on its own column: nothing moves";
}

TEST_F(GridInput, MovingRightOntoTheLeftSideEndsOneBefore) {
  int Origin = 2, Destination = 5;
  Grid->FMovePosRightSite = false;
  EXPECT_TRUE(Grid->EndColumnMove(Origin, Destination, {}));
  EXPECT_EQ(Destination, 4);
  Destination = 5;
  Grid->FMovePosRightSite = true;
  Grid->EndColumnMove(Origin, Destination, {});
  EXPECT_EQ(Destination, 5);
}

TEST(GridMoveTimer, IntervalTable) {
  struct TCase {
    int Distance, Budget;
    unsigned Interval;
  } Cases[] = {
      {0, 200, 360}, {1, 200, 360}, {10, 200, 360}, {11, 200, 360}, {12, 200, 210},
      {200, 200, 61}, {500, 200, 61}, {5, 40, 120},
      {30, -50, 61},   // the edge lies beyond the desktop
      {30, 0, 61},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(TCustomGridZk::ColumnMoveTimerInterval(C.Distance, C.Budget), C.Interval)
        << C.Distance << " of " << C.Budget;
}

}  // namespace
