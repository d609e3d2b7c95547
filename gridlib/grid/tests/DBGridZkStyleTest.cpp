// DBGridZkStyleTest.cpp - the paint-style object: its change notifications, the grids it
// serves, and the hot-track and fixed-cell colours it gives.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gridlib/grid/DBGridZkDraw.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"

namespace {

// A grid that counts its layout recalculations.
class TCountingGrid : public TDBGridZk {
public:
  using TDBGridZk::TDBGridZk;
  void LayoutChanged() override {
    ++Layouts;
    TDBGridZk::LayoutChanged();
  }
  int Layouts = 0;
};

// Changing a style property recalculates every grid using the style, once per change; a grid
// moved to another style or freed hears no more; a freed style hands its grids back to the
// process's style.
TEST(DBGridZkStyle, ChangesReachTheGridsThatUseTheStyle) {
  TDBGridOnForm F(3);
  auto* A = new TCountingGrid(F.Form);
  auto* B = new TCountingGrid(F.Form);
  A->SetParent(F.Form);
  B->SetParent(F.Form);
  auto Own = std::make_unique<TDBGridZkStyle>();
  A->SetStyle(Own.get());
  B->SetStyle(Own.get());
  Own->AddChangeNotification(A);   // no second entry
  A->Layouts = B->Layouts = 0;
  Own->SetLuminateSelection(false);
  Own->SetLuminateSelection(false);   // unchanged: no notice
  EXPECT_EQ(A->Layouts, 1);
  EXPECT_EQ(B->Layouts, 1);
  Own->SetIsDrawFocusRect(false);
  Own->SetInTitleFitlerButtonStyle(ebsEllipsisZk);
  EXPECT_EQ(A->Layouts, 3);
  B->SetStyle(nullptr);
  EXPECT_EQ(B->Style(), DBGridZkStyle());
  EXPECT_FALSE(Own->GridInChangeNotification(B));
  EXPECT_TRUE(DBGridZkStyle()->GridInChangeNotification(B));
  delete A;
  Own->Changed();   // the freed grid is not called
  B->SetStyle(Own.get());
  Own.reset();
  EXPECT_EQ(B->Style(), DBGridZkStyle());
  EXPECT_TRUE(DBGridZkStyle()->GridInChangeNotification(B));
  EXPECT_TRUE(DBGridZkStyle()->GridInChangeNotification(F.Grid));
}

}  // namespace

namespace {

// The colour a cell shows below its text, near its right end.
TColorRef CellPixel(TDBGridZk* G, int ACol, int ARow) {
  TBitmap B;
  RenderControl(G, B);
  const TRect Insets = G->NonClientInsets();
  const TRect R = G->CellScreenRect(ACol, ARow);
  return B.PixelRGB(Insets.Left + R.Right - 3, Insets.Top + R.Bottom - 2);
}

// Titles, footers and indicator cells of what is selected take the selection's colours: the
// dark face on titles and indicators, a lightened footer unless it looks like a fixed cell.
TEST(DBGridZkStyle, SelectedFixedCellsTakeTheSelectionColours) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect});
  G->SetFooterRowCount(1);
  G->SetFocus();
  const int Footer = G->RowCount();
  G->Selection()->Columns()->Select(G->Columns()->Items(1), false);
  ASSERT_EQ(G->Selection()->SelectionType(), gstColumns);
  struct TCase { const char* Name; int Col, Row; TColor Expected; };
  const TCase Columns[] = {
      {"selected column's title", 2, 0, RGB(64, 64, 64)},
      {"other title", 3, 0, clBtnFace},
      {"selected column's footer", 2, Footer, LightenColor(clWindow, clHighlight, true)},
      {"other footer", 3, Footer, clWindow},
  };
  for (const TCase& C : Columns)
    EXPECT_EQ(CellPixel(G, C.Col, C.Row), ColorToRGB(C.Expected)) << C.Name;
  G->SetFooterColor(G->FixedColor());
  EXPECT_EQ(CellPixel(G, 2, Footer), RGB(64, 64, 64)) << "a footer in the fixed colour";

  G->ClearSelection();
  F.Set->SetRecNo(3);
  G->SelectedRows()->SetCurrentRowSelected(true);
  F.Set->SetRecNo(1);
  EXPECT_EQ(CellPixel(G, 0, 3), RGB(64, 64, 64)) << "selected record's indicator";
  EXPECT_EQ(CellPixel(G, 0, 2), ColorToRGB(clBtnFace)) << "other record's indicator";
  EXPECT_EQ(CellPixel(G, 2, 0), ColorToRGB(clBtnFace)) << "titles of a record selection";
}

// With hot tracking the cell under the mouse is lightened; with row highlight its row too,
// two thirds of the way back to the cells' own colour. Leaving the row repaints it plain.
TEST(DBGridZkStyle, HotTrackingLightensTheCellOrRowUnderTheMouse) {
  TDBGridOnForm F(6);
  TDBGridZk* G = F.Grid;
  const TColor Light = LightenColor(clWindow, clHighlight, true);
  auto MoveTo = [&](int ACol, int ARow) {
    const TRect R = G->CellRect(ACol, ARow);
    SimulateMouseMove(G->ClientToScreen(TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2)));
  };
  struct TCase { const char* Name; TDBGridZkOptions Add; TColor Hot, Beside; };
  const TCase Cases[] = {
      {"off", {}, clWindow, clWindow},
      {"cell", {dghHotTrack}, Light, clWindow},
      {"row", {dghHotTrack, dghRowHighlight}, Light, ApproachColor(Light, clWindow, 170.66666666666666)},
  };
  const TDBGridZkOptions Base = G->OptionsZk();
  for (const TCase& C : Cases) {
    G->SetOptionsZk(Base + C.Add);
    MoveTo(2, 4);
    EXPECT_EQ(CellPixel(G, 2, 4), ColorToRGB(C.Hot)) << C.Name;
    EXPECT_EQ(CellPixel(G, 3, 4), ColorToRGB(C.Beside)) << C.Name;
    EXPECT_EQ(CellPixel(G, 3, 5), ColorToRGB(clWindow)) << C.Name << ": other rows";
    MoveTo(2, 5);
    EXPECT_EQ(CellPixel(G, 3, 4), ColorToRGB(clWindow)) << C.Name << ": the row left";
  }
}

// The focused cell of the focused grid gets a focus rectangle unless the style or whole-row
// selection says no.
TEST(DBGridZkStyle, FocusRectangleFollowsTheStyle) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  TDBGridZkStyle Own;
  G->SetStyle(&Own);
  G->SetFocus();
  G->SetCol(2);
  Application->ProcessMessages();
  auto TopEdge = [&] {
    TBitmap B;
    RenderControl(G, B);
    const TRect Insets = G->NonClientInsets();
    const TRect R = G->CellScreenRect(2, 1);
    std::vector<TColorRef> Line;
    for (int X = R.Left + 2; X < R.Right - 2; ++X)
      Line.push_back(B.PixelRGB(Insets.Left + X, Insets.Top + R.Top));
    return Line;
  };
  const auto With = TopEdge();
  Own.SetIsDrawFocusRect(false);
  const auto Without = TopEdge();
  EXPECT_NE(With, Without) << "the dotted line along the cell's top";
  Own.SetIsDrawFocusRect(true);
  G->SetOptions(G->Options() + TDBGridOptions{dgRowSelect});
  EXPECT_EQ(TopEdge(), Without) << "whole-row selection draws none";
  G->SetStyle(nullptr);
}

}  // namespace

namespace {

// With record numbers shown, the indicator's first footer cell shows the record count.
TEST(DBGridZkStyle, IndicatorFooterShowsTheRecordCount) {
  TDBGridOnForm F(7);
  TDBGridZk* G = F.Grid;
  G->SetFooterRowCount(2);
  auto Ink = [&](int ARow) {
    TBitmap B;
    RenderControl(G, B);
    const TRect Insets = G->NonClientInsets();
    const TRect R = G->CellScreenRect(0, ARow);
    int N = 0;
    for (int Y = R.Top + 2; Y < R.Bottom - 2; ++Y)
      for (int X = R.Left + 2; X < R.Right - 2; ++X)
        N += GetRValue(B.PixelRGB(Insets.Left + X, Insets.Top + Y)) < 100;
    return N;
  };
  const int First = G->RowCount();
  EXPECT_EQ(Ink(First), 0) << "without record numbers";
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghShowRecNo});
  EXPECT_GT(Ink(First), 0) << "the count";
  EXPECT_EQ(Ink(First + 1), 0) << "the second footer row stays empty";
}

}  // namespace
