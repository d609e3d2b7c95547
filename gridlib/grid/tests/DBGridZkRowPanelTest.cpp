// DBGridZkRowPanelTest.cpp - the in-row panel: columns placed on lines inside the master cell,
// width scaling, hit tests, sizing edges and snapping, and a picture of an in-row grid.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

namespace {

class DBGridZkRowPanel : public ::testing::Test {
protected:
  void SetUp() override {
    for (int I = 0; I < G->Columns()->Count(); ++I) G->Columns()->Items(I)->SetStored(true);
    // P: one line, 100 wide; Q: two lines from line 0, 50 wide; R: line 1, 80 wide.
    Set(u"ID", 0, 1, 100);
    Set(u"NAME", 0, 2, 50);
    Set(u"PRICE", 1, 1, 80);
    for (const Char* Hidden : {u"QTY", u"FLAG", u"NOTE"}) G->FindColumnByName(Hidden)->SetVisible(false);
    G->RowPanel()->SetActive(true);
    H = G->InRowPanelLineHeight();
  }
  void Set(const String& Name, int Line, int Lines, int Width) {
    TColumnZk* C = G->FindColumnByName(Name);
    C->SetInRowLinePos(Line);
    C->SetInRowLineHeight(Lines);
    C->SetWidth(Width);
  }
  const TColumnZkInRowPanelPlacement& At(const String& Name) {
    return G->FindColumnByName(Name)->RowPlacement();
  }

  TDBGridOnForm F{5, 520, 200};
  TDBGridZk* G = F.Grid;
  int H = 0;
};

TEST_F(DBGridZkRowPanel, ColumnsStartAfterTheWidestOfTheirLines) {
  ASSERT_EQ(G->GridLineWidth(), 1);
  EXPECT_EQ(At(u"ID").Left, 0);
  EXPECT_EQ(At(u"NAME").Left, 101);
  EXPECT_EQ(At(u"NAME").Height, 2 * (1 + H) - 1);
  EXPECT_EQ(At(u"PRICE").Left, 152);
  EXPECT_EQ(At(u"PRICE").Top, 1 + H);
  EXPECT_EQ(G->GridMasterCellWidth(), 232);
  EXPECT_EQ(G->GridMasterCellHeight(), 2 * (1 + H) - 1);
  // An invisible column sits at its line's end with no width and moves nothing.
  EXPECT_EQ(At(u"QTY").Left, 152);
  EXPECT_EQ(At(u"QTY").Width, 0);
  // The grid shows one data column of the master cell's size, rows as high as the cell.
  EXPECT_EQ(G->ColWidth(G->IndicatorOffset()), 232);
  EXPECT_EQ(G->RowHeight(G->TopDataOffset()), 2 * (1 + H) - 1);
  // The columns are numbered by placement: left, then top, hidden before shown.
  EXPECT_LT(G->FindColumnByName(u"QTY")->Index(), G->FindColumnByName(u"PRICE")->Index());
  EXPECT_LT(G->FindColumnByName(u"NAME")->Index(), G->FindColumnByName(u"QTY")->Index());
}

TEST_F(DBGridZkRowPanel, ScalingKeepsEdgesInProportion) {
  TColumnZk* P = G->FindColumnByName(u"ID");
  P->SetWidth(99);
  G->RelayoutCellsInRowPanel();
  G->Columns()->ScaleWidths(200, 300);
  EXPECT_EQ(P->Width(), 149);
  EXPECT_EQ(At(u"NAME").Left, 150);  // the next column follows the scaled edge
}

TEST_F(DBGridZkRowPanel, HitTestsSizingEdgesAndSnapping) {
  const struct {
    TPoint Pos;
    const Char* Title;  // column of the title-type rectangle, or nullptr
  } Cases[] = {{{0, 0}, u"ID"},
               {{100, 3}, u"ID"},  // the column line belongs to the column on its left
               {{101, H + 3}, u"NAME"},
               {{160, H + 3}, u"PRICE"},
               {{160, 2}, nullptr},  // line 0 ends at 152
               {{300, 2}, nullptr}};
  for (const auto& C : Cases) {
    TColumnZk* Hit = G->GetColumnInRowPanelAtPos(C.Pos, true);
    EXPECT_EQ(Hit ? Hit->FieldName() : String(), C.Title ? String(C.Title) : String())
        << C.Pos.X << "," << C.Pos.Y;
  }

  const TRect Cell = G->CellRect(G->IndicatorOffset(), 0);
  TGridState State = gsNormal;
  int Index = -1, Pos = 0, Ofs = 0;
  ASSERT_TRUE(G->RowPanelSizingStateAt(Cell.Left + 102, Cell.Top + 5, State, Index, Pos, Ofs));
  EXPECT_EQ(State, gsColSizing);
  EXPECT_EQ(G->Columns()->Items(Index)->FieldName(), u"ID");  // the first column found wins
  EXPECT_FALSE(G->RowPanelSizingStateAt(Cell.Left + 50, Cell.Top + 5, State, Index, Pos, Ofs));

  // A width dragged to within 3 pixels of another column's right edge snaps to it.
  TColumnZk* Price = G->FindColumnByName(u"PRICE");
  const int Line = G->Options().Contains(dgColLines) ? 1 : 0;
  const int NameEdge = Cell.Left + At(u"NAME").Left + At(u"NAME").Width - 1 + Line;
  EXPECT_EQ(G->SnapRowPanelWidth(Price, 40, NameEdge + 2), 38);
  EXPECT_EQ(G->SnapRowPanelWidth(Price, 40, NameEdge + 4), 40);
  // Fitting widens the last column of a line to the panel's width (plus one pixel).
  Set(u"QTY", 0, 1, 20);
  TColumnZk* Qty = G->FindColumnByName(u"QTY");
  Qty->SetVisible(true);
  G->RelayoutCellsInRowPanel();
  ASSERT_EQ(At(u"QTY").Left, 152);
  G->RowPanelFitColWidth(Qty->Index());
  EXPECT_EQ(Qty->Width(), 20 + 232 - (172 + Line) + 1);
}

// Sizing by the mouse in the titles: a width dragged near another edge snaps (not with Ctrl),
// and a bottom edge dragged one line down gives the column two lines.
TEST_F(DBGridZkRowPanel, TitleEdgesDraggedSizeWidthsAndLines) {
  const TRect Cell = G->CellRect(G->IndicatorOffset(), 0);
  UseTestClock(true);
  auto Drag = [&](TPoint From, TPoint To, TShiftState Shift = {}) {
    AdvanceTestClock(1000);  // no double clicks
    SimulateMouseDown(mbLeft, G->ClientToScreen(From), Shift);
    SimulateMouseMove(G->ClientToScreen(To), Shift);
    SimulateMouseUp(mbLeft, G->ClientToScreen(To), Shift);
  };
  TColumnZk* Id = G->FindColumnByName(u"ID");
  Drag(Point(Cell.Left + 100, Cell.Top + 4), Point(Cell.Left + 120, Cell.Top + 4));
  EXPECT_EQ(Id->Width(), 120);
  EXPECT_EQ(At(u"NAME").Left, 121);
  // ID dragged to 2 pixels before NAME's right edge snaps onto it; with Ctrl it does not.
  const int Line = G->Options().Contains(dgColLines) ? 1 : 0;
  const int NameEdge = Cell.Left + At(u"NAME").Left + At(u"NAME").Width - 1 + Line;
  Drag(Point(Cell.Left + 120, Cell.Top + 4), Point(NameEdge - 2, Cell.Top + 4), {ssCtrl});
  EXPECT_EQ(Id->Width(), NameEdge - 2 - Cell.Left);
  Id->SetWidth(120);
  Drag(Point(Cell.Left + 120, Cell.Top + 4), Point(NameEdge - 2, Cell.Top + 4));
  EXPECT_EQ(Id->Width(), NameEdge - Cell.Left);

  Id->SetWidth(100);
  G->SetRowSizingAllowed(true);
  Drag(Point(Cell.Left + 50, Cell.Top + H), Point(Cell.Left + 50, Cell.Top + 2 * H + 1));
  EXPECT_EQ(Id->InRowLineHeight(), 2);
  EXPECT_EQ(G->GridState(), dgsNormal);
  UseTestClock(false);
}

// A double click on a column's right edge widens it up to the panel's right end.
TEST_F(DBGridZkRowPanel, DoubleClickOnAnEdgeFitsTheColumn) {
  Set(u"QTY", 2, 1, 20);  // alone on line 2
  TColumnZk* Qty = G->FindColumnByName(u"QTY");
  Qty->SetVisible(true);
  ASSERT_EQ(G->GridMasterCellWidth(), 232);
  const TRect T = G->RowPanelTitleClientRect(Qty);
  const TPoint Edge = G->ClientToScreen(Point(T.Right, T.Top + 3));
  UseTestClock(true);
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, Edge);
  SimulateMouseUp(mbLeft, Edge);
  EXPECT_EQ(Qty->Width(), 20) << "a single click sizes nothing";
  SimulateMouseDown(mbLeft, Edge, {ssDouble});
  SimulateMouseUp(mbLeft, Edge);
  UseTestClock(false);
  const int Line = G->Options().Contains(dgColLines) ? 1 : 0;
  EXPECT_EQ(Qty->Width(), 20 + 232 - (20 + Line) + 1);
}

// A press on a data cell makes its record and its column current; a title button shows
// pressed while held and its release clicks and sort-marks that column.
TEST_F(DBGridZkRowPanel, PressesOnCellsAndTitleButtons) {
  UseTestClock(true);
  AdvanceTestClock(1000);
  TColumnZk* Price = G->FindColumnByName(u"PRICE");
  const TRect Row3 = G->CellRect(G->IndicatorOffset(), G->TopDataOffset() + 2);
  const auto& P = Price->RowPlacement();
  const TPoint InPrice(Row3.Left + P.DataCellLeft + 5, Row3.Top + P.Top + 3);
  SimulateMouseDown(mbLeft, G->ClientToScreen(InPrice));
  SimulateMouseUp(mbLeft, G->ClientToScreen(InPrice));
  EXPECT_EQ(F.Set->RecNo(), 3);
  EXPECT_EQ(G->SelectedField(), Price->Field());

  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghAutoSortMarking});
  Price->Title()->SetTitleButton(true);
  int Clicked = -1;
  G->SetOnTitleBtnClick([&](TObject*, int ACol, TColumnZk*) { Clicked = ACol; });
  const TRect T = G->RowPanelTitleClientRect(Price);
  const TPoint OnTitle(T.Left + 10, T.Top + 4);
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, G->ClientToScreen(OnTitle));
  EXPECT_EQ(G->PressedTitleColumn(), Price);
  EXPECT_EQ(G->PressedTitleRect(), T);
  // The pressed picture, for a look.
  Application->ProcessMessages();
  SaveShot(G, "dbgrid-inrow-pressed.png");
  SimulateMouseUp(mbLeft, G->ClientToScreen(OnTitle));
  EXPECT_EQ(Clicked, Price->Index());
  EXPECT_EQ(Price->Title()->SortMarker(), smDownZk);
  // Released off the title: no click.
  Clicked = -1;
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, G->ClientToScreen(OnTitle));
  SimulateMouseUp(mbLeft, G->ClientToScreen(Point(T.Right + 40, T.Top + 4)));
  EXPECT_EQ(Clicked, -1);
  UseTestClock(false);
}

// A title dragged onto another line lands after the column left of the drop; a drag ending
// where it started changes nothing.
TEST_F(DBGridZkRowPanel, TitlesDraggedToAnotherPlace) {
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghColumnMove});
  UseTestClock(true);
  auto Drag = [&](TColumnZk* C, TPoint To) {
    AdvanceTestClock(1000);
    const TRect T = G->RowPanelTitleClientRect(C);
    const TPoint From(T.Left + 5, T.Top + 4);
    SimulateMouseDown(mbLeft, G->ClientToScreen(From));
    SimulateMouseMove(G->ClientToScreen(Point(From.X + 10, From.Y + 1)));
    EXPECT_EQ(G->GridState(), dgsNormal);
    EXPECT_EQ(G->TCustomGridZk::GridState(), gsColMoving);
    SimulateMouseMove(G->ClientToScreen(To));
    SimulateMouseUp(mbLeft, G->ClientToScreen(To));
    EXPECT_EQ(G->TCustomGridZk::GridState(), gsNormal);
  };
  TColumnZk* Id = G->FindColumnByName(u"ID");
  TColumnZk* Price = G->FindColumnByName(u"PRICE");
  const TRect PriceTitle = G->RowPanelTitleClientRect(Price);
  Drag(Id, Point(PriceTitle.Right + 5, PriceTitle.Top + 4));
  EXPECT_EQ(Id->InRowLinePos(), 1);
  EXPECT_EQ(At(u"NAME").Left, 0) << "line 0 starts with NAME now";
  EXPECT_EQ(At(u"ID").Left, At(u"PRICE").Left + At(u"PRICE").Width + 1) << "after PRICE";
  // Dropped back on itself: nothing moves.
  const int Before = At(u"ID").Left;
  const TRect IdTitle = G->RowPanelTitleClientRect(Id);
  Drag(Id, Point(IdTitle.Right + 2, IdTitle.Top + 4));
  EXPECT_EQ(At(u"ID").Left, Before);
  EXPECT_EQ(Id->InRowLinePos(), 1);
  UseTestClock(false);
}

// A title dragged out past the right edge scrolls the panel; held there, the timer keeps
// scrolling every 60 ms until the end; back inside, the scrolling stops.
TEST_F(DBGridZkRowPanel, DragRestingAtTheEdgeScrollsOnTheTimer) {
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghColumnMove});
  G->FindColumnByName(u"PRICE")->SetWidth(900);
  ASSERT_GT(G->GridMasterCellWidth(), G->ClientWidth());
  UseTestClock(true);
  AdvanceTestClock(1000);
  const TRect T = G->RowPanelTitleClientRect(G->FindColumnByName(u"ID"));
  const TPoint From(T.Left + 5, T.Top + 4);
  SimulateMouseDown(mbLeft, G->ClientToScreen(From));
  SimulateMouseMove(G->ClientToScreen(Point(From.X + 10, From.Y)));
  ASSERT_EQ(G->TCustomGridZk::GridState(), gsColMoving);
  const TPoint Edge(G->ClientWidth() - 20, From.Y);
  SimulateMouseMove(G->ClientToScreen(Edge));
  const int AfterMove = G->SmoothPos().X;
  EXPECT_GT(AfterMove, 0) << "moving over the edge scrolls";
  AdvanceTestClock(60);
  Application->ProcessMessages();
  const int AfterTick = G->SmoothPos().X;
  EXPECT_GT(AfterTick, AfterMove) << "resting at the edge, the timer scrolls on";
  for (int Tick = 0; Tick < 200; ++Tick) {
    AdvanceTestClock(60);
    Application->ProcessMessages();
  }
  const TRect Last = G->RowPanelTitleClientRect(G->FindColumnByName(u"PRICE"));
  EXPECT_LE(Last.Right, G->ClientWidth()) << "scrolled to the end";
  EXPECT_GE(Last.Right, G->ClientWidth() - 4) << "and no further";
  SimulateMouseMove(G->ClientToScreen(Point(G->ClientWidth() / 2, From.Y)));
  SimulateMouseMove(G->ClientToScreen(Point(G->ClientWidth() / 2 - 10, From.Y)));
  const int Inside = G->SmoothPos().X;
  AdvanceTestClock(600);
  Application->ProcessMessages();
  EXPECT_EQ(G->SmoothPos().X, Inside) << "back inside, nothing scrolls";
  SimulateMouseUp(mbLeft, G->ClientToScreen(Point(G->ClientWidth() / 2 - 10, From.Y)));
  EXPECT_EQ(G->TCustomGridZk::GridState(), gsNormal);
  // Scrolled, a press still finds the column under the pointer; the column wider than the
  // view shows its start.
  TColumnZk* Price = G->FindColumnByName(u"PRICE");
  const TRect Row2 = G->RowPanelCellRect(G->TopDataOffset() + 1);
  const TPoint InPrice(Row2.Left + Price->RowPlacement().DataCellLeft + 700,
                       Row2.Top + Price->RowPlacement().Top + 3);
  ASSERT_LT(InPrice.X, G->ClientWidth());
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, G->ClientToScreen(InPrice));
  SimulateMouseUp(mbLeft, G->ClientToScreen(InPrice));
  EXPECT_EQ(G->SelectedField(), Price->Field());
  EXPECT_EQ(G->SmoothPos().X, Price->RowPlacement().DataCellLeft);
  UseTestClock(false);
}

// The cell editor covers the current column's data cell and follows the column; in a scrolled
// panel it is cut at the indicator.
TEST_F(DBGridZkRowPanel, EditorCoversTheCurrentColumnsDataCell) {
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->SetFocus();
  auto Expected = [&](const String& Name) {
    const auto& P = At(Name);
    const TRect Cell = G->RowPanelCellRect(G->Row());
    return Rect(Cell.Left + P.DataCellLeft, Cell.Top + P.Top,
                Cell.Left + P.DataCellLeft + P.DataCellWidth, Cell.Top + P.Top + P.Height);
  };
  for (const String Name : {u"PRICE", u"NAME"}) {
    G->MoveCol(G->FindColumnByName(Name)->Index(), 0, false);
    G->ShowCellEditor();
    TInplaceEdit* Edit = G->InplaceEditor();
    ASSERT_TRUE(Edit && Edit->EditorVisible()) << StringToUtf8(Name);
    EXPECT_EQ(Edit->BoundsRect(), Expected(Name)) << StringToUtf8(Name);
    EXPECT_EQ(Edit->Text(), G->FindColumnByName(Name)->Field()->Text()) << StringToUtf8(Name);
  }
  // A wide column far right is scrolled into view; its editor starts at the indicator.
  G->FindColumnByName(u"PRICE")->SetWidth(900);
  G->MoveCol(G->FindColumnByName(u"PRICE")->Index(), 0, false);
  G->ShowCellEditor();
  EXPECT_EQ(G->SmoothPos().X, At(u"PRICE").DataCellLeft);
  const TRect E = G->InplaceEditor()->BoundsRect();
  EXPECT_EQ(E.Left, G->CellRect(G->IndicatorOffset(), G->Row()).Left);
  EXPECT_EQ(E.Right, G->CellRect(G->IndicatorOffset(), G->Row()).Right);
}

// A press on a cell's edit button in another record moves there, shows the editor over the
// cell and presses its button; a press beside the buttons only moves.
TEST_F(DBGridZkRowPanel, EditButtonPressesReachTheEditorsButton) {
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  TColumnZk* Name = G->FindColumnByName(u"NAME");
  Name->SetButtonStyle(cbsEllipsis);
  Name->SetWidth(90);
  int Clicks = 0;
  G->SetOnEditButtonClick([&](TObject*) { ++Clicks; });
  G->SetFocus();
  UseTestClock(true);
  auto Press = [&](int Record, int FromRight) {
    AdvanceTestClock(1000);
    const TRect Cell = G->RowPanelCellRect(G->TopDataOffset() + Record - 1);
    const auto& P = Name->RowPlacement();
    const TPoint At(Cell.Left + P.DataCellLeft + P.DataCellWidth - FromRight, Cell.Top + P.Top + 5);
    SimulateMouseDown(mbLeft, G->ClientToScreen(At));
    SimulateMouseUp(mbLeft, G->ClientToScreen(At));
    Application->ProcessMessages();
  };
  const int Strip = Name->EditButtonsWidth();
  ASSERT_GT(Strip, 0);
  Press(3, Strip + 10);
  EXPECT_EQ(F.Set->RecNo(), 3);
  EXPECT_EQ(G->SelectedField(), Name->Field());
  EXPECT_FALSE(G->InplaceEditor() && G->InplaceEditor()->EditorVisible()) << "beside the button";
  EXPECT_EQ(Clicks, 0);
  Press(2, Strip / 2);
  EXPECT_EQ(F.Set->RecNo(), 2);
  ASSERT_TRUE(G->InplaceEditor() && G->InplaceEditor()->EditorVisible());
  const auto& P = Name->RowPlacement();
  EXPECT_EQ(G->InplaceEditor()->BoundsRect().Width(), P.DataCellWidth);
  EXPECT_EQ(Clicks, 1) << "the press reached the editor's button";
  UseTestClock(false);
}

// In a scrolled panel the detail expander is found where it is painted: in the first column's
// data cell, moved left by the scroll.
TEST_F(DBGridZkRowPanel, DetailExpanderInAScrolledPanel) {
  G->FindColumnByName(u"ID")->SetWidth(300);
  G->FindColumnByName(u"PRICE")->SetWidth(900);
  G->RowDetailPanel()->SetActive(true);
  G->RowDetailPanel()->SetHeight(40);
  // A few pixels: the expander stays partly in view.
  G->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0);
  const int Scrolled = G->SmoothPos().X;
  ASSERT_GT(Scrolled, 0);
  ASSERT_LE(Scrolled, 6);
  const TRect Cell = G->RowPanelCellRect(G->Row());
  const auto& P = At(u"ID");
  const TPoint Box(Cell.Left + P.DataCellLeft + 7, Cell.Top + P.Top + 6);
  const TRect Visible = G->CellRect(G->IndicatorOffset(), G->Row());
  ASSERT_LT(Cell.Left, Visible.Left);
  EXPECT_TRUE(G->RowDetailExpanderAtMouse(Box.X, Box.Y));
  EXPECT_FALSE(G->RowDetailExpanderAtMouse(Visible.Left + 10, Visible.Top + 6))
      << "the scrolled expander ends before that point";
  UseTestClock(true);
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, G->ClientToScreen(Box));
  SimulateMouseUp(mbLeft, G->ClientToScreen(Box));
  UseTestClock(false);
  EXPECT_TRUE(G->RowDetailPanel()->Visible()) << "the press opened the panel";
  // Scrolled past the expander, the visible part's corner holds no expander.
  G->Perform(WM_HSCROLL, SB_LINEDOWN, 0);
  ASSERT_GE(G->SmoothPos().X, 11);
  EXPECT_FALSE(G->RowDetailExpanderAtMouse(Visible.Left + 5, Visible.Top + 5));
}

// With auto-fitting the master cell fills the client width; the widths keep their proportions.
TEST_F(DBGridZkRowPanel, AutoFitScalesTheMasterCellToTheClientWidth) {
  G->SetAutoFitColWidths(true);
  const int Room = G->ClientWidth() - G->ColWidth(0) - (G->Options().Contains(dgColLines) ? 1 : 0);
  EXPECT_NEAR(G->GridMasterCellWidth() + G->GridLineWidth(), Room, 2);
  EXPECT_NEAR(double(At(u"ID").Width) / At(u"NAME").Width, 100.0 / 50, 0.1);
  const int Width = G->GridMasterCellWidth();
  G->Invalidate();
  G->LayoutChanged();
  EXPECT_EQ(G->GridMasterCellWidth(), Width) << "a second layout keeps the fitted widths";
}

// The filter row keeps the panel's layout: a press on a column's filter cell puts the editor
// over it; the in-title list drops from the column's place in the title.
TEST_F(DBGridZkRowPanel, FilterCellsAndInTitleListsFollowThePlacements) {
  TColumnZk* Price = G->FindColumnByName(u"PRICE");
  G->STFilter()->SetVisible(true);
  ASSERT_EQ(G->TopDataOffset(), 2);
  const TRect Cell = G->RowPanelTitleClientRect(Price, 1);
  UseTestClock(true);
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, G->ClientToScreen(Point(Cell.Left + 4, Cell.Top + 4)));
  SimulateMouseUp(mbLeft, G->ClientToScreen(Point(Cell.Left + 4, Cell.Top + 4)));
  ASSERT_TRUE(G->STFilter()->FilterEdit && G->STFilter()->FilterEdit->Visible());
  EXPECT_EQ(G->STFilter()->FilterCol, Price->Index());
  EXPECT_EQ(G->STFilter()->FilterEdit->BoundsRect(),
            Rect(Cell.Left + 1, Cell.Top, Cell.Right, Cell.Bottom));
  G->LeaveFilterRow();

  G->STFilter()->SetLocation(stflInTitleFilterZk);
  const TRect Title = G->RowPanelTitleClientRect(Price);
  const TPoint Button(Title.Right - 5, Title.Top + 4);
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, G->ClientToScreen(Button));
  SimulateMouseUp(mbLeft, G->ClientToScreen(Button));
  EXPECT_TRUE(InTitleFilterListVisible(G));
  EXPECT_EQ(G->STFilter()->InTitleColumn, Price);
  CloseInTitleFilterList(G, false);
  UseTestClock(false);
}

// Only the in-row title under the mouse lights its filter button; the other titles of the same
// master cell keep theirs faint.
TEST_F(DBGridZkRowPanel, OnlyTheTitleUnderTheMouseLightsItsFilterButton) {
  G->STFilter()->SetLocation(stflInTitleFilterZk);
  G->STFilter()->SetVisible(true);
  TColumnZk* Id = G->FindColumnByName(u"ID");
  TColumnZk* Price = G->FindColumnByName(u"PRICE");
  const TRect In = G->NonClientInsets();
  auto Pixels = [&](TColumnZk* C) {
    TBitmap B;
    RenderControl(G, B);
    const TRect R = TitleFilterButtonRect(G, C, G->RowPanelTitleClientRect(C));
    std::vector<TColorRef> P;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) P.push_back(B.PixelRGB(In.Left + X, In.Top + Y));
    return P;
  };
  SimulateMouseMove(G->ClientToScreen(Point(5, G->ClientHeight() - 5)));
  const auto IdAway = Pixels(Id), PriceAway = Pixels(Price);
  const TRect Button = TitleFilterButtonRect(G, Price, G->RowPanelTitleClientRect(Price));
  SimulateMouseMove(G->ClientToScreen(Point(Button.Left + 3, Button.Top + 3)));
  EXPECT_EQ(G->HotTrackEditButton(), 0);
  EXPECT_NE(Pixels(Price), PriceAway) << "the button under the mouse";
  EXPECT_EQ(Pixels(Id), IdAway) << "another title of the master cell";
  SaveShot(G, "dbgrid-inrow-intitle-hot.png");
  const TRect IdTitle = G->RowPanelTitleClientRect(Id);
  SimulateMouseMove(G->ClientToScreen(Point(IdTitle.Left + 3, IdTitle.Top + 3)));
  EXPECT_EQ(G->HotTrackEditButton(), -1);
  EXPECT_EQ(Pixels(Price), PriceAway) << "the mouse moved to another title";
}

// With hot tracking the data cell under the mouse is lightened, not the master cell's first one.
TEST_F(DBGridZkRowPanel, HotTrackingLightsTheDataCellUnderTheMouse) {
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghHotTrack});
  const int Row = G->TopDataOffset() + 1;
  const TRect Id = G->RowPanelDataClientRect(G->FindColumnByName(u"ID"), Row);
  const TRect Price = G->RowPanelDataClientRect(G->FindColumnByName(u"PRICE"), Row);
  const TRect In = G->NonClientInsets();
  auto Back = [&](const TRect& R) {
    TBitmap B;
    RenderControl(G, B);
    return B.PixelRGB(In.Left + R.Left + 2, In.Top + R.Bottom - 2);
  };
  const TColorRef Plain = Back(Price);
  ASSERT_EQ(Back(Id), Plain);
  SimulateMouseMove(G->ClientToScreen(Point(Price.Left + 2, Price.Bottom - 2)));
  EXPECT_NE(Back(Price), Plain);
  EXPECT_EQ(Back(Id), Plain);
}

TEST_F(DBGridZkRowPanel, InRowGridPicture) {
  Application->ProcessMessages();
  SaveShot(G, "dbgrid-inrow.png");
  EXPECT_EQ(G->ColCount(), G->IndicatorOffset() + 3);
}

}  // namespace
