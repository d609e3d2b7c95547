// DBGridZkGroupViewTest.cpp - the data grid grouped over the memory table: group row texts,
// the group panel's height and drops, keys on group rows, moving over rows, a record inserted
// inside a group, and a picture of the grouped grid.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZkGroupView.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/MemTableZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Starts a column drag into the group panel as a title drag would.
class TGroupTestGrid : public TDBGridZk {
public:
  using TDBGridZk::TDBGridZk;
  void DragColumnToPanel(int ColumnIndex, int X) {
    FPressedDataCol = ColumnIndex;
    FGroupDataMovingIndex = -1;
    StartGroupPanelTitleMove(X);
  }
};

class DBGridZkGroupView : public ::testing::Test {
protected:
  void SetUp() override {
    Table = new TMemTableZk(F.Form);
    Table->FieldDefs()->Add(u"CITY", ftWideString, 20);
    Table->FieldDefs()->Add(u"SHOP", ftWideString, 20);
    Table->FieldDefs()->Add(u"QTY", ftInteger);
    Table->CreateDataSet();
    for (int I = 0; I < 12; ++I)
      Table->AppendRecord({Variant(u"Kiev"), Variant(I % 2 ? u"Podil" : u"Obolon"), Variant(I)});
    Table->AppendRecord({Variant(u"Lviv"), Variant(u"Rynok"), Variant(20)});
    Table->AppendRecord({Variant(u"Lviv"), Variant(u"Rynok"), Variant(21)});
    Table->AppendRecord({Variant(u"Odesa"), Variant(u"Port"), Variant(30)});
    Table->First();
    for (int I = 0; I < Table->FieldCount(); ++I) Table->Fields()->Fields(I)->SetVisible(true);
    F.Grid->SetVisible(false);
    G = new TGroupTestGrid(F.Form);
    G->SetParent(F.Form);
    G->SetBounds(10, 10, 520, 300);
    G->HandleNeeded();
    F.Source->SetDataSet(Table);
    G->SetDataSource(F.Source);
    G->FindColumnByName(u"CITY")->Title()->SetCaption(u"City");
    G->FindColumnByName(u"SHOP")->Title()->SetCaption(u"Shop");
    G->SetFocus();
  }
  TGridDataGroupLevelZk* Group(const String& FieldName) {
    auto* Level = static_cast<TDBGridZkDataGroupLevelZk*>(G->DataGrouping()->GroupLevels()->Add());
    Level->SetColumnName(FieldName);
    G->DataGrouping()->SetActive(true);
    return Level;
  }
  TGroupDataTreeNodeZk* RowNode(int DataRow) { return G->GroupNodeOfDataRow(DataRow); }
  String RowText(int DataRow) {
    TGroupDataTreeNodeZk* N = RowNode(DataRow);
    return N && N->DataGroup() ? N->DataGroup()->GetGroupRowText(N) : String();
  }
  int TopIndent() { return G->OutBoundaryData()->TopIndent(); }
  std::vector<TColor> PixelsIn(const TRect& R) {
    TBitmap B;
    RenderControl(G, B);
    std::vector<TColor> Pixels;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) Pixels.push_back(B.PixelRGB(X, Y));
    return Pixels;
  }
  int CurrentDataRow() { return G->Row() - G->TopRow() + (G->TopRow() - G->FixedRows()); }

  TDBGridOnForm F{0};
  TMemTableZk* Table = nullptr;
  TGroupTestGrid* G = nullptr;
};

TEST_F(DBGridZkGroupView, GroupRowsReadCaptionKeyAndChildCount) {
  Group(u"CITY");
  G->DataGrouping()->GroupDataTree()->ExpandLevel(1);
  EXPECT_EQ(RowText(0), u"City: Kiev (12)");
  EXPECT_EQ(RowNode(1)->NodeType(), dntDataSetRecordZk);
  EXPECT_EQ(RowText(13), u"City: Lviv (2)");
  EXPECT_EQ(G->RowCount(), G->FixedRows() + 18);  // three groups and fifteen records

  // Under a second level, an upper group counts its subgroups.
  Group(u"SHOP");
  G->DataGrouping()->GroupDataTree()->CollapseLevel(2);
  G->DataGrouping()->GroupDataTree()->ExpandLevel(1);
  EXPECT_EQ(RowText(0), u"City: Kiev (2)");
  EXPECT_EQ(RowText(1), u"Shop: Obolon (6)");
  EXPECT_EQ(RowText(2), u"Shop: Podil (6)");
  // The grid's and the level's handlers may change the text, in this order.
  G->SetOnDataGroupGetRowText([](TCustomDBGridZk*, TGroupDataTreeNodeZk*, String& T) { T += u"!"; });
  static_cast<TDBGridZkDataGroupLevelZk*>(G->DataGrouping()->ActiveGroupLevels(0))
      ->SetOnGetGroupRowText([](TCustomDBGridZk*, TGroupDataTreeNodeZk*, String& T) { T += u"?"; });
  EXPECT_EQ(RowText(0), u"City: Kiev (2)!?");
}

TEST_F(DBGridZkGroupView, GroupPanelHeightFollowsItsBoxes) {
  EXPECT_EQ(TopIndent(), 0);
  G->DataGrouping()->SetGroupPanelVisible(true);
  EXPECT_EQ(TopIndent(), 30);  // no level: room for the hint
  TGridDataGroupLevelZk* City = Group(u"CITY");
  TGridDataGroupLevelZk* Shop = Group(u"SHOP");
  const TRect A = City->GroupPanelRect(), B = Shop->GroupPanelRect();
  EXPECT_EQ(TopIndent(), B.Bottom + 5);
  // A staircase: the next box starts right of the last and half a box lower.
  EXPECT_GT(B.Left, A.Right);
  EXPECT_EQ(B.Top - A.Top, A.Height() / 2);
  G->DataGrouping()->SetGroupPanelVisible(false);
  EXPECT_EQ(TopIndent(), 0);
}

// Drop positions between the boxes, a column dropped into the panel and a box dragged there.
TEST_F(DBGridZkGroupView, DropsIntoTheGroupPanel) {
  G->DataGrouping()->SetGroupPanelVisible(true);
  TGridDataGroupLevelZk* City = Group(u"CITY");
  TGridDataGroupLevelZk* Shop = Group(u"SHOP");
  const TRect A = City->GroupPanelRect(), B = Shop->GroupPanelRect();
  const struct {
    int X, Index;
  } Cases[] = {{0, 0},
               {(A.Left + A.Right) / 2 - 1, 0},
               {(A.Left + A.Right) / 2, 1},
               {(B.Left + B.Right) / 2 - 1, 1},
               {B.Right + 40, 2}};
  for (const auto& C : Cases) {
    TPoint Marker;
    EXPECT_EQ(G->GroupPanelDropPosition(C.X, Marker), C.Index) << "X " << C.X;
  }

  // A column dropped between the boxes becomes the second level and leaves the columns.
  TColumnZk* Qty = G->FindColumnByName(u"QTY");
  G->DragColumnToPanel(Qty->Index(), A.Right + 2);
  G->EndGroupPanelTitleMove(A.Right + 2, A.Top, true);
  ASSERT_EQ(G->DataGrouping()->ActiveGroupLevelsCount(), 3);
  EXPECT_EQ(static_cast<TDBGridZkDataGroupLevelZk*>(G->DataGrouping()->ActiveGroupLevels(1))
                ->ColumnName(), u"QTY");
  EXPECT_FALSE(Qty->Visible());

  // Dragging the first box short of the second's centre changes nothing; past it, they swap.
  auto Drag = [&](TGridDataGroupLevelZk* Level, int ToX) {
    const TRect R = Level->GroupPanelRect();
    const TPoint From = G->ClientToScreen(TPoint(R.Left + 4, R.Top + 4));
    SimulateMouseDown(mbLeft, From);
    SimulateMouseMove(G->ClientToScreen(TPoint(ToX, R.Top + 4)));
    SimulateMouseUp(mbLeft, G->ClientToScreen(TPoint(ToX, R.Top + 4)));
  };
  G->SetOptionsZk(G->OptionsZk() - TDBGridZkOptions{dghAutoSortMarking});
  const TRect Second = G->DataGrouping()->ActiveGroupLevels(1)->GroupPanelRect();
  Drag(City, (Second.Left + Second.Right) / 2 - 2);
  EXPECT_EQ(G->DataGrouping()->ActiveGroupLevels(0), City);
  Drag(City, (Second.Left + Second.Right) / 2 + 2);
  EXPECT_EQ(G->DataGrouping()->ActiveGroupLevels(1), City);
  EXPECT_EQ(G->GridState(), dgsNormal);
}

// A column title dragged up into the panel becomes a level there and leaves the columns.
TEST_F(DBGridZkGroupView, ATitleDraggedIntoThePanelGroupsByItsColumn) {
  G->DataGrouping()->SetGroupPanelVisible(true);
  G->DataGrouping()->SetActive(true);  // on, but nothing to group by yet
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghColumnMove});
  UseTestClock(true);
  AdvanceTestClock(1000);
  TColumnZk* City = G->FindColumnByName(u"CITY");
  const TRect Title = G->CellRect(G->ColumnIndexToGridCol(City->Index()), 0);
  const TPoint Down((Title.Left + Title.Right) / 2, (Title.Top + Title.Bottom) / 2);
  SimulateMouseDown(mbLeft, G->ClientToScreen(Down));
  SimulateMouseMove(G->ClientToScreen(TPoint(Down.X + 30, Down.Y)));
  SimulateMouseMove(G->ClientToScreen(TPoint(Down.X + 30, TopIndent() / 2)));
  EXPECT_EQ(G->GridState(), dgsGroupPanelTitleMoving);
  SimulateMouseUp(mbLeft, G->ClientToScreen(TPoint(Down.X + 30, TopIndent() / 2)));
  UseTestClock(false);
  ASSERT_EQ(G->DataGrouping()->ActiveGroupLevelsCount(), 1);
  EXPECT_EQ(G->DataGrouping()->ActiveGroupLevels(0)->Column(), City);
  EXPECT_FALSE(City->Visible());
  EXPECT_EQ(RowText(0), u"City: Kiev (12)");
}

TEST_F(DBGridZkGroupView, KeysOnGroupRowsExpandCollapseAndScroll) {
  Group(u"CITY");
  G->SelectGroupNode(RowNode(0), false);
  ASSERT_EQ(G->CurGroupDataNode()->DataGroup()->GetGroupRowText(G->CurGroupDataNode()),
            u"City: Kiev (12)");
  SimulateKeyPress(VK_RIGHT);
  EXPECT_TRUE(RowNode(0)->Expanded());
  EXPECT_EQ(G->RowCount(), G->FixedRows() + 15);
  SimulateKeyPress(VK_LEFT);
  EXPECT_FALSE(RowNode(0)->Expanded());
  // Left on a collapsed row scrolls the columns instead.
  G->SetBounds(10, 10, 160, 300);
  G->SetLeftCol(G->FixedCols() + 1);
  const int Left = G->LeftCol();
  SimulateKeyPress(VK_LEFT);
  EXPECT_EQ(G->LeftCol(), Left - 1);
  EXPECT_FALSE(RowNode(0)->Expanded());
  SimulateKeyPress(VK_MULTIPLY);
  EXPECT_TRUE(RowNode(0)->Expanded());
  SimulateKeyPress(VK_SUBTRACT);
  EXPECT_FALSE(RowNode(0)->Expanded());
}

TEST_F(DBGridZkGroupView, MovingOverRowsFollowsTheDatasetAndStopsAtTheLastRow) {
  Group(u"CITY");
  G->SelectGroupNode(RowNode(1), false);  // Lviv, collapsed
  EXPECT_EQ(Table->FieldByName(u"QTY")->AsInteger(), 20) << "the dataset follows a group row";
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(G->CurGroupDataNode(), RowNode(2)) << "stays on the last row";
  EXPECT_EQ(Table->FieldByName(u"CITY")->AsString(), u"Odesa");

  // The dataset moving to a record inside a collapsed group selects that group's row.
  Table->SetRecNo(14);  // the second Lviv record
  EXPECT_EQ(G->CurGroupDataNode(), RowNode(1));
  EXPECT_FALSE(RowNode(1)->Expanded());
}

// The vertical bar counts the visible rows, group rows included, and its codes move over them.
TEST_F(DBGridZkGroupView, TheScrollBarWalksTheVisibleRows) {
  Group(u"CITY");
  auto Info = [&] {
    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    GetScrollInfo(G, SB_VERT, SI);
    return SI;
  };
  G->SelectGroupNode(RowNode(0), false);
  const int Page = static_cast<int>(Info().nPage);
  EXPECT_EQ(Info().nMax, 3 + Page - 1);
  EXPECT_EQ(Info().nPos, 1);
  G->Perform(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(G->CurGroupDataNode(), RowNode(2));
  EXPECT_EQ(Info().nPos, 3);
  G->Perform(WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(G->CurGroupDataNode(), RowNode(1));
  EXPECT_EQ(Table->FieldByName(u"CITY")->AsString(), u"Lviv");
}

TEST_F(DBGridZkGroupView, ARecordInsertedInsideAGroupTakesItsKeys) {
  Group(u"CITY");
  Group(u"SHOP");
  Table->SetRecNo(13);  // a Lviv record
  G->DataInsert();
  ASSERT_EQ(Table->State(), dsInsert);
  Table->FieldByName(u"QTY")->SetAsInteger(99);
  Table->Post();
  EXPECT_EQ(Table->FieldByName(u"QTY")->AsInteger(), 99);
  EXPECT_EQ(Table->FieldByName(u"CITY")->AsString(), u"Lviv");
  EXPECT_EQ(Table->FieldByName(u"SHOP")->AsString(), u"Rynok");
  EXPECT_EQ(RowText(1), u"City: Lviv (1)");
  TGroupDataTreeNodeZk* Rynok = G->DataGrouping()->GroupDataTree()->RootNode()->Items(1)->Items(0);
  EXPECT_EQ(Rynok->Count(), 3);
  EXPECT_TRUE(Rynok->Expanded()) << "the path to the new record opens";
}

// Levels reach the dataset through the sort marking: a rebuilt level list and a flipped sort
// order each run SortMarkingChanged. The column's key handlers come before the level's.
TEST_F(DBGridZkGroupView, LevelChangesReachSortingAndColumnsShapeTheKeys) {
  int Sorted = 0;
  G->SetOnSortMarkingChanged([&](TObject*) { ++Sorted; });
  TGridDataGroupLevelZk* City = Group(u"CITY");
  EXPECT_GE(Sorted, 1);
  const int AfterAdd = Sorted;
  City->SetSortOrder(soDescZk);
  EXPECT_GT(Sorted, AfterAdd);

  TColumnZk* Column = G->FindColumnByName(u"CITY");
  auto* Level = static_cast<TDBGridZkDataGroupLevelZk*>(City);
  Column->SetOnGroupGetKeyValue([](TCustomDBGridZk*, TColumnZk*, Variant& V) {
    V = Variant(VarToStr(V).substr(0, 1));  // group by the first letter
  });
  Column->SetOnGroupGetKeyValueAsText(
      [](TCustomDBGridZk*, TGroupDataTreeNodeZk*, const Variant&, String& T) { T = u"[" + T + u"]"; });
  Level->SetOnGetKeyValueAsText(
      [](TCustomDBGridZk*, TGroupDataTreeNodeZk*, const Variant&, String& T) { T += u"!"; });
  City->SetSortOrder(soAscZk);
  G->DataGrouping()->RefreshTree(false);
  EXPECT_EQ(RowText(0), u"City: [K]! (12)");
  EXPECT_EQ(RowText(1), u"City: [L]! (2)");
}

// A level dragged down out of the panel leaves the grouping and goes on as a column move.
TEST_F(DBGridZkGroupView, ALevelDraggedOutDownwardsBecomesAColumnMove) {
  G->DataGrouping()->SetGroupPanelVisible(true);
  G->SetOptionsZk(G->OptionsZk() - TDBGridZkOptions{dghAutoSortMarking});
  TGridDataGroupLevelZk* Shop = Group(u"SHOP");
  TColumnZk* Column = G->FindColumnByName(u"SHOP");
  Column->SetVisible(false);
  const TRect R = Shop->GroupPanelRect();
  UseTestClock(true);
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, G->ClientToScreen(TPoint(R.Left + 4, R.Top + 4)));
  SimulateMouseMove(G->ClientToScreen(TPoint(R.Left + 20, R.Top + 4)));
  EXPECT_EQ(G->GridState(), dgsGroupPanelTitleMoving);
  const TRect Title = G->CellRect(G->FixedCols(), 0);
  SimulateMouseMove(G->ClientToScreen(TPoint(Title.Left + 5, Title.Top + 5)));
  EXPECT_EQ(G->DataGrouping()->ActiveGroupLevelsCount(), 0);
  EXPECT_TRUE(Column->Visible());
  EXPECT_EQ(G->TCustomGridZk::GridState(), gsColMoving);
  SimulateMouseUp(mbLeft, G->ClientToScreen(TPoint(Title.Left + 5, Title.Top + 5)));
  UseTestClock(false);
  EXPECT_EQ(G->TCustomGridZk::GridState(), gsNormal);
  EXPECT_EQ(G->VisibleColumns().front(), Column) << "dropped on the first column's place";
}

// Switched on in the designer over a dataset that cannot be grouped, grouping says so.
TEST_F(DBGridZkGroupView, DesignTimeWarningWithoutAMemoryTable) {
  auto* Answerer = new TTestDialogAnswerer;
  auto Saved = SetDialogService(std::unique_ptr<IDialogService>(Answerer));
  Answerer->MessageAnswers.push_back(mrOk);
  F.Source->SetDataSet(F.Set);
  G->SetDesigning(true, false);
  G->DataGrouping()->SetActive(true);
  G->SetDesigning(false, false);
  ASSERT_EQ(Answerer->Messages.size(), 1u);
  EXPECT_EQ(Answerer->Messages[0].Text,
            u"DataSet doesn't support IMemTableZk interface. Groupoing won't work.");
  SetDialogService(std::move(Saved));
}

// In an in-row panel the first column of each line takes the indent, group rows stay one
// wide row, and a press on a record's cell selects that record; the detail panel under the
// current record adds its height to that row.
TEST_F(DBGridZkGroupView, InRowPanelWithGroupsAndTheDetailBand) {
  for (int I = 0; I < G->Columns()->Count(); ++I) G->Columns()->Items(I)->SetStored(true);
  G->FindColumnByName(u"QTY")->SetInRowLinePos(1);
  G->RowPanel()->SetActive(true);
  Group(u"CITY");
  G->DataGrouping()->GroupDataTree()->ExpandLevel(1);
  TColumnZk* Shop = G->FindColumnByName(u"SHOP");
  TColumnZk* Qty = G->FindColumnByName(u"QTY");
  EXPECT_EQ(Qty->RowPlacement().DataCellLeft, GroupLevelIndentZk) << "starts line 1";
  EXPECT_EQ(Shop->RowPlacement().DataCellLeft, Shop->RowPlacement().Left);
  ASSERT_EQ(RowNode(2)->NodeType(), dntDataSetRecordZk);
  const TRect Row = G->CellRect(G->IndicatorOffset(), G->TopDataOffset() + 2);
  const auto& P = Qty->RowPlacement();
  UseTestClock(true);
  AdvanceTestClock(1000);
  const TPoint At(Row.Left + P.DataCellLeft + 4, Row.Top + P.Top + 3);
  SimulateMouseDown(mbLeft, G->ClientToScreen(At));
  SimulateMouseUp(mbLeft, G->ClientToScreen(At));
  UseTestClock(false);
  EXPECT_EQ(G->CurGroupDataNode(), RowNode(2));
  EXPECT_EQ(Table->FieldByName(u"QTY")->AsInteger(), 1) << "the second Kiev record";
  EXPECT_EQ(G->SelectedField(), Qty->Field());

  const int Plain = G->RowHeight(G->TopDataOffset() + 2);
  G->RowDetailPanel()->SetActive(true);
  G->RowDetailPanel()->SetHeight(40);
  G->RowDetailPanel()->SetVisible(true);
  G->UpdateRowCount();
  EXPECT_EQ(G->RowDetailDataRow(), 2);
  EXPECT_EQ(G->RowHeight(G->TopDataOffset() + 2), Plain + 40);
  Application->ProcessMessages();
  SaveShot(G, "dbgrid-grouped-inrow.png");
}

// With the filter in the titles each panel box has its filter button: a press drops the
// column's list under the box, and its sort entries order the level as their captions read.
// The box under the mouse is lit.
TEST_F(DBGridZkGroupView, PanelBoxesHaveFilterButtonsAndLightUnderTheMouse) {
  G->DataGrouping()->SetGroupPanelVisible(true);
  G->STFilter()->SetVisible(true);
  G->STFilter()->SetLocation(stflInTitleFilterZk);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghAutoSortMarking});
  G->FindColumnByName(u"CITY")->Title()->SetTitleButton(true);
  TGridDataGroupLevelZk* City = Group(u"CITY");
  TRect Box = City->GroupPanelRect();
  InflateRect(Box, -1, -1);
  const TRect Button = TitleFilterButtonRect(Box);
  const TPoint OnButton = {(Button.Left + Button.Right) / 2, (Button.Top + Button.Bottom) / 2};
  SimulateMouseMove(G->ClientToScreen(TPoint(Box.Left + 3, Box.Top + 3)));
  EXPECT_EQ(G->DataGrouping()->HotTrackGroupLevelIdx(), 0);
  EXPECT_EQ(G->DataGrouping()->HotTrackEditButton(), -1);
  const std::vector<TColor> Plain = PixelsIn(Button);
  SimulateMouseMove(G->ClientToScreen(OnButton));
  EXPECT_EQ(G->DataGrouping()->HotTrackGroupLevelIdx(), 0);
  EXPECT_EQ(G->DataGrouping()->HotTrackEditButton(), 0);
  EXPECT_NE(PixelsIn(Button), Plain) << "the button under the mouse is painted hot";
  SaveShot(G, "dbgrid-group-hot-button.png");
  SimulateMouseMove(G->ClientToScreen(TPoint(Box.Left + 3, Box.Top + 3)));
  EXPECT_EQ(G->DataGrouping()->HotTrackEditButton(), -1);
  EXPECT_EQ(PixelsIn(Button), Plain);
  SimulateMouseMove(G->ClientToScreen(TPoint(Box.Right + 30, Box.Top + 3)));
  EXPECT_EQ(G->DataGrouping()->HotTrackGroupLevelIdx(), -1);
  // The box's 1-pixel frame is outside it.
  SimulateMouseMove(G->ClientToScreen(TPoint(Box.Left - 1, Box.Top + 3)));
  EXPECT_EQ(G->DataGrouping()->HotTrackGroupLevelIdx(), -1);

  UseTestClock(true);
  AdvanceTestClock(1000);
  SimulateClick(G, OnButton);
  UseTestClock(false);
  ASSERT_TRUE(InTitleFilterListVisible(G));
  EXPECT_EQ(G->STFilter()->InTitleGroupLevel, City);
  EXPECT_EQ(City->SortOrder(), soAscZk) << "the press on the button is no title click";
  TPopupListboxZk* List = G->STFilter()->InTitleListbox;
  List->SetItemIndex(List->Items()->IndexOf(u"(Сортировка по убыванию)"));
  CloseInTitleFilterList(G, true);
  EXPECT_EQ(City->SortOrder(), soDescZk);
  EXPECT_EQ(G->STFilter()->InTitleGroupLevel, nullptr);
  EXPECT_EQ(RowText(0), u"City: Odesa (1)");
  DropDownInTitleFilter(G, G->FindColumnByName(u"CITY"), City->GroupPanelRect());
  G->STFilter()->InTitleGroupLevel = City;
  List->SetItemIndex(List->Items()->IndexOf(u"(Сортировка по возрастанию)"));
  CloseInTitleFilterList(G, true);
  EXPECT_EQ(City->SortOrder(), soAscZk);
  EXPECT_EQ(G->FindColumnByName(u"CITY")->Title()->SortMarker(), smNoneZk)
      << "the column's own marker is left alone";
}

// Over a memory table every record is a grid row: one cut by the grid's bottom edge of an
// in-row panel is shown, and a press on it moves there.
TEST_F(DBGridZkGroupView, InRowPressOnARecordCutAtTheBottom) {
  for (int I = 0; I < G->Columns()->Count(); ++I) G->Columns()->Items(I)->SetStored(true);
  G->FindColumnByName(u"QTY")->SetInRowLinePos(1);
  G->RowPanel()->SetActive(true);
  const TRect Second = G->RowPanelCellRect(G->TopDataOffset() + 1);
  const int RowH = G->RowHeight(G->TopDataOffset() + 2);
  G->SetHeight(G->Height() - G->ClientHeight() + Second.Bottom + 1 + RowH / 2);
  Application->ProcessMessages();
  ASSERT_GT(G->ClientHeight(), Second.Bottom + 5);
  ASSERT_LT(G->ClientHeight(), Second.Bottom + 1 + RowH) << "the third record is cut";
  SaveShot(G, "dbgrid-inrow-cut.png");
  const TPoint In(Second.Left + G->FindColumnByName(u"SHOP")->RowPlacement().DataCellLeft + 10,
                  Second.Bottom + 5);
  UseTestClock(true);
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, G->ClientToScreen(In));
  SimulateMouseUp(mbLeft, G->ClientToScreen(In));
  UseTestClock(false);
  EXPECT_EQ(Table->FieldByName(u"QTY")->AsInteger(), 2) << "the third record";
  EXPECT_EQ(G->SelectedField(), Table->FieldByName(u"SHOP"));
}

TEST_F(DBGridZkGroupView, GroupedGridPicture) {
  G->DataGrouping()->SetGroupPanelVisible(true);
  Group(u"CITY");
  Group(u"SHOP");
  G->DataGrouping()->GroupDataTree()->ExpandLevel(1);
  G->DataGrouping()->GroupDataTree()->ExpandLevel(2);
  G->DataGrouping()->GroupDataTree()->RootNode()->Items(0)->Items(1)->SetExpanded(false);
  Application->ProcessMessages();
  SaveShot(G, "dbgrid-grouped.png");
  EXPECT_GT(TopIndent(), 30);
}

}  // namespace
