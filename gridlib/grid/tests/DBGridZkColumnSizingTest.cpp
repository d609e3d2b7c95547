// DBGridZkColumnSizingTest.cpp - a column sized by dragging its title edge: the width stays
// within the column's bounds, reaches the column, and with fitted columns moves the fitting's
// proportions so that later layouts keep it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct ColumnSizing : ::testing::Test {
  TDBGridOnForm F{5, 520, 200};
  TDBGridZk* G = F.Grid;
  int Changes = 0;

  ColumnSizing() {
    G->SetOnColWidthsChanged([this](TObject*) { ++Changes; });
  }
  TColumnZk* Column(int I) { return G->Columns()->Items(I); }
  // Drags the right edge of column I's title by Dx pixels.
  void DragEdge(int I, int Dx) {
    const TRect T = G->CellRect(G->ColumnIndexToGridCol(I), 0);
    const int Y = (T.Top + T.Bottom) / 2;
    SimulateMouseMove(G->ClientToScreen(TPoint(T.Right, Y)));
    SimulateMouseDown(mbLeft, G->ClientToScreen(TPoint(T.Right, Y)));
    SimulateMouseMove(G->ClientToScreen(TPoint(T.Right + Dx, Y)), {ssLeft});
    SimulateMouseUp(mbLeft, G->ClientToScreen(TPoint(T.Right + Dx, Y)));
  }
  int Shown(int I) { return G->ColWidth(G->ColumnIndexToGridCol(I)); }
};

// Each case sizes its own column, so no two presses fall on one spot as a double click.
TEST_F(ColumnSizing, WidthStaysWithinTheColumnsBounds) {
  struct Case {
    int Column, Min, Max, Dx, Expected;  // bounds and Expected relative to the starting width
  };
  for (const Case& C : {Case{0, -5, 0, -20, -5}, Case{1, 0, 0, 30, 30}, Case{2, 0, 10, 30, 10}}) {
    SCOPED_TRACE(testing::Message() << "min " << C.Min << " max " << C.Max << " dx " << C.Dx);
    TColumnZk* Col = Column(C.Column);
    const int W = Col->Width();
    if (C.Min) Col->SetMinWidth(W + C.Min);
    if (C.Max) Col->SetMaxWidth(W + C.Max);
    Changes = 0;
    DragEdge(C.Column, C.Dx);
    EXPECT_EQ(Col->Width(), W + C.Expected);
    EXPECT_EQ(Shown(C.Column), W + C.Expected);
    EXPECT_EQ(Changes, 1);
  }
}

TEST_F(ColumnSizing, FittedColumnsKeepTheSizingOverLayouts) {
  G->SetAutoFitColWidths(true);
  const int W0 = Shown(0), W1 = Shown(1), W2 = Shown(2);
  DragEdge(0, 30);
  EXPECT_NEAR(Shown(0), W0 + 30, 2);
  EXPECT_NEAR(Shown(1), W1 - 30, 2) << "the next column gives up the width";
  EXPECT_NEAR(Shown(2), W2, 1) << "the others keep theirs";
  EXPECT_EQ(Changes, 1);
  const int After0 = Shown(0);
  G->LayoutChanged();
  EXPECT_EQ(Shown(0), After0) << "a later layout does not snap back";
  SaveShot(G, "dbgrid-fitted-sized.png");
}

TEST_F(ColumnSizing, FittedColumnsTakeAWidthSetByCode) {
  G->SetAutoFitColWidths(true);
  const int W0 = Shown(0), W1 = Shown(1), W2 = Shown(2);
  Column(0)->SetWidth(W0 + 30);
  EXPECT_NEAR(Shown(0), W0 + 30, 2);
  EXPECT_NEAR(Shown(1), W1 - 30, 2) << "the next column gives up the width";
  EXPECT_NEAR(Shown(2), W2, 1) << "the others keep theirs";
  Column(1)->Title()->SetCaption(u"Name");
  EXPECT_NEAR(Shown(0), W0 + 30, 2) << "other changes leave the proportions alone";
}

TEST_F(ColumnSizing, WholeRightPartSharesTheSizing) {
  G->SetAutoFitColWidths(true);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghResizeWholeRightPart});
  const int Count = G->Columns()->Count();
  std::vector<int> Before;
  for (int I = 0; I < Count; ++I) Before.push_back(Shown(I));
  DragEdge(1, 40);
  EXPECT_NEAR(Shown(0), Before[0], 1) << "columns left of the sized one keep their width";
  EXPECT_NEAR(Shown(1), Before[1] + 40, 2);
  int Lost = 0;
  for (int I = 2; I < Count; ++I) {
    EXPECT_LT(Shown(I), Before[I]) << "column " << I << " shares the loss";
    Lost += Before[I] - Shown(I);
  }
  EXPECT_NEAR(Lost, 40, Count);
}

}  // namespace
