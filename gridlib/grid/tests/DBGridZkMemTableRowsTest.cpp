// DBGridZkMemTableRowsTest.cpp - the data grid over a memory table's whole view: rows read by
// instant read (record numbers, values and stripes of rows that are not current), the thumb
// moving the top row to any of 10,000 records, view events inserting and deleting grid rows
// while the current row stays on its record, the wheel, and records fetched for empty space.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

// A memory table whose data driver is stood in for: each fetch appends the records asked for
// and is remembered.
class TFetchingMemTable : public TMemTableZk {
public:
  using TMemTableZk::TMemTableZk;
  std::vector<int> Fetches;
  int FetchRecords(int Count) override {
    Fetches.push_back(Count);
    return 0;
  }
};

class DBGridZkMemTableRows : public ::testing::Test {
protected:
  void Open(int Records) {
    Table = new TFetchingMemTable(F.Form);
    Table->FieldDefs()->Add(u"ID", ftInteger);
    Table->FieldDefs()->Add(u"NM", ftWideString, 20);
    Table->CreateDataSet();
    Table->DisableControls();
    for (int I = 1; I <= Records; ++I)
      Table->AppendRecord({Variant(I), Variant(String(u"Колер ") + IntToStr(I))});
    Table->First();
    Table->EnableControls();
    for (int I = 0; I < Table->FieldCount(); ++I) Table->Fields()->Fields(I)->SetVisible(true);
    F.Source->SetDataSet(Table);
    G = F.Grid;
    G->SetFocus();
  }
  int Offset() const { return G->TopDataOffset(); }
  // The record a grid row shows, read the way painting reads it.
  int RecNoOfRow(int GridRow) {
    int No = -1;
    G->ForDataRow(GridRow - Offset(), [&] { No = G->RecNoZk(); });
    return No;
  }
  SCROLLINFO Bar() {
    SCROLLINFO SI;
    SI.fMask = SIF_ALL;
    GetScrollInfo(G, SB_VERT, SI);
    return SI;
  }

  TDBGridOnForm F{0};
  TFetchingMemTable* Table = nullptr;
  TDBGridZk* G = nullptr;
};

TEST_F(DBGridZkMemTableRows, EveryViewRowIsAGridRowReadWithoutMovingTheCursor) {
  Open(10000);
  ASSERT_TRUE(G->UsesMemTableRows());
  EXPECT_EQ(G->RowCount(), Offset() + 10000);
  EXPECT_EQ(G->SourceRowCount(), 10000);
  Table->SetRecNo(3);
  EXPECT_EQ(G->Row(), Offset() + 2) << "the current row is the table's current view row";
  for (int Row : {0, 1, 5, 9999}) {
    G->ForDataRow(Row, [&] {
      EXPECT_EQ(G->RecNoZk(), Row + 1);
      EXPECT_EQ(G->FindColumnByName(u"NM")->DisplayText(), u"Колер " + IntToStr(Row + 1));
    });
  }
  EXPECT_EQ(Table->RecNo(), 3) << "reading rows leaves the cursor";
  EXPECT_TRUE(G->IsCurrentDataRow(2));
  EXPECT_FALSE(G->IsCurrentDataRow(0));
}

// A lookup field of a row that is not current shows that row's looked-up text.
TEST_F(DBGridZkMemTableRows, LookupFieldsReadThePaintedRow) {
  auto* Colours = new TArrayDataSet(F.Form);
  Colours->FieldDefs()->Add(u"ID", ftInteger);
  Colours->FieldDefs()->Add(u"NM", ftWideString, 20);
  const char16_t* Names[] = {u"Белила", u"Охра", u"Умбра"};
  for (int I = 0; I < 3; ++I) Colours->AddRow({I + 1, String(Names[I])});
  Colours->Open();
  Table = new TFetchingMemTable(F.Form);
  for (const char16_t* N : {u"POS", u"COLOR_ID"}) {
    auto* Fld = new TIntegerField(F.Form);
    Fld->SetFieldName(N);
    Fld->SetDataSet(Table);
  }
  AddLookupField(Table, F.Form, u"lvNM", u"COLOR_ID", Colours, u"ID", u"NM");
  Table->CreateDataSet();
  for (int I = 1; I <= 6; ++I) Table->AppendRecord({I, (I - 1) % 3 + 1});
  Table->First();
  F.Source->SetDataSet(Table);
  G = F.Grid;
  ASSERT_TRUE(G->UsesMemTableRows());
  for (int Row = 0; Row < 6; ++Row)
    G->ForDataRow(Row, [&] {
      EXPECT_EQ(G->FindColumnByName(u"lvNM")->DisplayText(), String(Names[Row % 3])) << Row;
    });
  EXPECT_EQ(Table->RecNo(), 1);
}

// Stripes come from each painted row's own record number, so rows not current alternate.
TEST_F(DBGridZkMemTableRows, RowsNotCurrentPaintTheirOwnStripe) {
  Open(30);
  G->SetEvenRowColor(clYellow);
  G->SetOddRowColor(clWhite);
  Table->SetRecNo(20);   // scrolls the view down
  ASSERT_GT(G->TopRow(), Offset());
  TBitmap Image;
  RenderControl(G, Image);
  SaveShot(G, "dbgrid-memtable-rows.png");
  for (int Row = G->TopRow(); Row < G->TopRow() + 4; ++Row) {
    if (Row == G->Row()) continue;
    const TRect R = G->CellRect(G->IndicatorOffset() + 1, Row);
    const int No = RecNoOfRow(Row);
    EXPECT_EQ(Image.Canvas()->Pixels(R.Right - 3, (R.Top + R.Bottom) / 2),
              No % 2 == 0 ? clYellow : clWhite)
        << "row " << Row << " record " << No;
  }
}

TEST_F(DBGridZkMemTableRows, ThumbMovesTheTopRowOverTheWholeView) {
  Open(10000);
  const int Page = static_cast<int>(Bar().nPage);
  EXPECT_EQ(Bar().nMin, 1);
  EXPECT_EQ(Bar().nMax, 10000);
  EXPECT_GT(Page, 1);
  EXPECT_EQ(Bar().nPos, 1);
  ScrollBarTrack(G, SB_VERT, 7000);
  ScrollBarEndTrack(G, SB_VERT);
  EXPECT_EQ(G->TopRow(), Offset() + 6999);
  EXPECT_EQ(RecNoOfRow(G->TopRow()), 7000);
  EXPECT_EQ(Bar().nPos, 7000);
  EXPECT_EQ(Table->RecNo(), 1) << "the thumb scrolls the view, not the cursor";
  // The last page fills the grid: the top row stops where the last record is the last row.
  G->Perform(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(G->TopRow(), G->SafeMoveTop(G->RowCount(), true));
  EXPECT_EQ(RecNoOfRow(G->TopRow() + Page - 1), 10000);
  struct TCase { int Top; int Expected; };
  const int Max = G->TopRow();
  const TCase Cases[] = {{-5, Offset()}, {Offset() + 10, Offset() + 10}, {G->RowCount() + 50, Max}};
  for (const TCase& C : Cases) EXPECT_EQ(G->SafeMoveTop(C.Top, true), C.Expected) << C.Top;
  G->Perform(WM_VSCROLL, SB_TOP, 0);
  G->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(G->TopRow(), Offset() + Page - 1) << "the last whole row becomes the top one";
  G->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  G->Perform(WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(G->TopRow(), Offset() + 1);
  // Selecting a record far away brings its row into view.
  Table->SetRecNo(8000);
  EXPECT_EQ(G->Row(), Offset() + 7999);
  EXPECT_LE(G->TopRow(), G->Row());
  EXPECT_GT(G->TopRow() + Page, G->Row());
}

TEST_F(DBGridZkMemTableRows, WheelMovesTheViewAndShiftWheelTheRecord) {
  Open(100);
  G->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<Word>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(G->TopRow(), Offset() + 1);
  EXPECT_EQ(Table->RecNo(), 1);
  G->Perform(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<Word>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(Table->RecNo(), 2);
  EXPECT_EQ(G->Row(), Offset() + 1);
}

// A typed search over the view brings the found row to the middle of the grid.
TEST_F(DBGridZkMemTableRows, TypedSearchCentresTheFoundRow) {
  Open(300);
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghIncSearch, dghPreferIncSearch});
  G->MoveCol(1, 0, false);
  SimulateTyping(u"колер 250");
  EXPECT_EQ(Table->RecNo(), 250);
  EXPECT_EQ(G->InplaceSearchText(), u"Колер 250");
  EXPECT_EQ(G->Row(), Offset() + 249);
  EXPECT_EQ(G->TopRow(), G->Row() - G->VisibleRowCount() / 2);
}

// Inserted and deleted view rows move the grid rows; the current row stays on its record.
TEST_F(DBGridZkMemTableRows, ViewEventsKeepRowsAndTheCurrentRecord) {
  Open(20);
  G->SetFooterRowCount(1);   // rows come and go before the footer row
  Table->SetRecNo(10);
  const int Rows = G->RowCount();
  Table->Insert();
  EXPECT_EQ(G->RowCount(), Rows + 1) << "the record being inserted has its own row";
  EXPECT_EQ(G->Row(), Offset() + 9);
  Table->FieldByName(u"ID")->SetAsInteger(500);
  Table->Post();
  EXPECT_EQ(G->RowCount(), Rows + 1);
  EXPECT_EQ(RecNoOfRow(G->Row()), Table->RecNo());
  EXPECT_EQ(G->FindColumnByName(u"ID")->Field()->AsInteger(), 500);

  Table->Insert();
  Table->Cancel();
  EXPECT_EQ(G->RowCount(), Rows + 1) << "a cancelled insertion leaves no row";

  // A row deleted above the current one: one grid row less, the same record current.
  Table->SetRecNo(15);
  const int Id = Table->FieldByName(u"ID")->AsInteger();
  Table->SetRecNo(3);
  Table->Delete();
  EXPECT_EQ(G->RowCount(), Rows);
  Table->Locate(u"ID", Id, {});
  EXPECT_EQ(G->Row() - Offset(), Table->RecNo() - 1);
  G->ForDataRow(G->Row() - Offset(), [&] { EXPECT_EQ(Table->FieldByName(u"ID")->AsInteger(), Id); });

  // Emptying the view keeps one empty grid row.
  while (!Table->IsEmpty()) Table->Delete();
  EXPECT_EQ(G->RowCount(), Offset() + 1);
  Table->AppendRecord({Variant(1), Variant(u"A")});
  Table->AppendRecord({Variant(2), Variant(u"B")});
  EXPECT_EQ(G->RowCount(), Offset() + 2);
}

TEST_F(DBGridZkMemTableRows, ClickAndKeysMoveTheCursorToTheRow) {
  Open(50);
  const TRect R = G->CellRect(G->IndicatorOffset(), Offset() + 4);
  G->Perform(WM_LBUTTONDOWN, 0, MAKELPARAM(R.Left + 5, R.Top + 3));
  G->Perform(WM_LBUTTONUP, 0, MAKELPARAM(R.Left + 5, R.Top + 3));
  EXPECT_EQ(Table->RecNo(), 5);
  EXPECT_EQ(G->Row(), Offset() + 4);
  G->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Table->RecNo(), 6);
  EXPECT_EQ(G->Row(), Offset() + 5);
  G->Perform(WM_KEYDOWN, VK_END, 0);
  G->Perform(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(G->Row() - Offset(), Table->RecNo() - 1);
}

// Over a scrolled view Ctrl+Up and Ctrl+Down go to the first and last whole rows shown, and a
// rectangle's rows are the view rows of its records.
TEST_F(DBGridZkMemTableRows, VisibleRowsAreTheScrolledOnes) {
  Open(200);
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect});
  G->SetAllowedSelections(TDBGridZkAllowedSelections{gstRectangleAS});
  ScrollBarTrack(G, SB_VERT, 41);
  ScrollBarEndTrack(G, SB_VERT);
  ASSERT_EQ(G->TopRow(), Offset() + 40);
  const int Page = G->VisibleDataRowCount();
  Table->SetRecNo(45);
  SimulateKeyPress(VK_UP, {ssCtrl});
  EXPECT_EQ(Table->RecNo(), 41);
  SimulateKeyPress(VK_DOWN, {ssCtrl});
  EXPECT_EQ(Table->RecNo(), 40 + Page);
  EXPECT_EQ(G->TopRow(), Offset() + 40) << "the view did not move";

  TBookmarkRef First, Last;
  Table->SetRecNo(43);
  First = std::make_shared<const TBookmark>(Table->GetBookmark());
  Table->SetRecNo(46);
  Last = std::make_shared<const TBookmark>(Table->GetBookmark());
  G->Selection()->Rect()->Select(0, First, false);
  G->Selection()->Rect()->Select(1, Last, true);
  const TRect R = G->Selection()->SelectionToGridRect();
  EXPECT_EQ(R.Top, Offset() + 42);
  EXPECT_EQ(R.Bottom, Offset() + 45);
}

// Scrolled by pixels, the focused cell of the row cut by the top edge keeps its focus frame on
// the sides and bottom; the frame's top is cut away with the row, not drawn along the edge.
TEST_F(DBGridZkMemTableRows, FocusFrameOfARowCutAtTheTopIsCutToo) {
  Open(50);
  G->VertScrollBar()->SetSmoothStep(true);
  G->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  ASSERT_EQ(G->TopRow(), Offset()) << "the first row is cut, not gone";
  ASSERT_GT(Bar().nPos, 0);
  TBitmap B;
  RenderControl(G, B);
  const TRect In = G->NonClientInsets();
  const TRect Below = G->CellRect(G->Col(), Offset() + 1);
  const int Edge = G->CalcMetrics().Vert.FixedEnd;
  const int CutBottom = Below.Top - G->GridLineWidth() - 1;
  ASSERT_GT(CutBottom, Edge + 1);
  auto Changes = [&](int Y) {
    int N = 0;
    for (int X = Below.Left + 2; X < Below.Right - 2; ++X)
      if (B.PixelRGB(In.Left + X, In.Top + Y) != B.PixelRGB(In.Left + X + 1, In.Top + Y)) ++N;
    return N;
  };
  EXPECT_GT(Changes(CutBottom), Below.Width() / 2) << "the frame's dotted bottom";
  // What changes along the cut is the clipped text, a few strokes, not a dotted line.
  EXPECT_LT(Changes(Edge), Below.Width() / 4) << "no dotted line along the cut";
}

// Five records in a grid with room for more: the table is asked for what the empty part
// holds, in rows of the standard height, plus one.
TEST_F(DBGridZkMemTableRows, EmptySpaceFetchesRecords) {
  Open(5);
  const TGridMetrics M = G->CalcMetrics();
  const int Expected = (M.Vert.ScrollAreaEnd - M.Vert.VisibleEnd) / G->StdDefaultRowHeight() + 1;
  ASSERT_GT(Expected, 1);
  ASSERT_FALSE(Table->Fetches.empty());
  EXPECT_EQ(Table->Fetches.back(), Expected);
}

// A table reading 1,000 rows of a SQLite file on demand: the grid takes as many as fill it,
// scrolling to the loaded end asks for more, and the last record brings the rest.
TEST(DBGridZkMemTableFetch, RecordsComeFromTheFileAsTheGridNeedsThem) {
  namespace fs = std::filesystem;
  const fs::path Dir = fs::temp_directory_path() / ("vorenta-mtrows-" + std::to_string(getpid()));
  fs::create_directories(Dir);
  std::ofstream(Dir / "rows.data").close();
  {
    TDBGridOnForm F(0);
    auto* Conn = new TADOConnection(F.Form);
    Conn->SetConnectionString(u"Data Source=" + Utf8ToString((Dir / "rows.data").string()));
    Conn->Open();
    Conn->Execute(u"CREATE TABLE ROWS_ (ID INTEGER PRIMARY KEY, NM VARCHAR(20))");
    Conn->Execute(u"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 1000) "
                  u"INSERT INTO ROWS_ SELECT I, 'Колер ' || I FROM N");
    auto* Query = new TADOQuery(F.Form);
    Query->SetConnection(Conn);
    Query->SQL()->SetText(u"SELECT ID, NM FROM ROWS_ ORDER BY ID");
    auto* Driver = new TDataSetDriverZk(F.Form);
    Driver->SetProviderDataSet(Query);
    auto* Table = new TMemTableZk(F.Form);
    Table->SetDataDriver(Driver);
    Table->Open();
    for (int I = 0; I < Table->FieldCount(); ++I) Table->Fields()->Fields(I)->SetVisible(true);
    F.Source->SetDataSet(Table);
    TDBGridZk* G = F.Grid;
    const int Offset = G->TopDataOffset();
    const int Page = G->VisibleDataRowCount();
    const int Loaded = G->RowCount() - Offset;
    EXPECT_GT(Loaded, Page) << "the client area is filled";
    EXPECT_LT(Loaded, 1000) << "and no more than that is read";
    G->SafeMoveTop(G->RowCount(), false);
    EXPECT_GT(G->RowCount() - Offset, Loaded) << "the last loaded row in sight asks for more";
    Table->Last();
    EXPECT_EQ(G->RowCount(), Offset + 1000);
    EXPECT_EQ(G->Row(), Offset + 999);
    G->ForDataRow(999, [&] { EXPECT_EQ(Table->FieldByName(u"NM")->AsString(), u"Колер 1000"); });
    G->ForDataRow(500, [&] { EXPECT_EQ(G->RecNoZk(), 501); });
  }
  fs::remove_all(Dir);
}

// A tree: 1 (2, 3), 4 (5 (6)), 7; every node expanded.
class DBGridZkMemTableTree : public DBGridZkMemTableRows {
protected:
  void OpenTree() {
    Table = new TFetchingMemTable(F.Form);
    Table->FieldDefs()->Add(u"ID", ftInteger);
    Table->FieldDefs()->Add(u"PARENT_ID", ftInteger);
    Table->FieldDefs()->Add(u"NM", ftWideString, 20);
    Table->CreateDataSet();
    for (auto [Id, Parent] : std::vector<std::pair<int, int>>{{1, 0}, {2, 1}, {3, 1}, {4, 0}, {5, 4}, {6, 5}, {7, 0}})
      Table->AppendRecord({Id, Parent ? Variant(Parent) : Variant::MakeNull(), String(u"Узел ") + IntToStr(Id)});
    Table->SetTreeKeyFields(u"ID", u"PARENT_ID");
    Table->RecordsView()->MemoryTreeList()->SetDefaultNodeExpanded(true);
    Table->SetTreeViewActive(true);
    Table->First();
    for (int I = 0; I < Table->FieldCount(); ++I) Table->Fields()->Fields(I)->SetVisible(true);
    F.Source->SetDataSet(Table);
    G = F.Grid;
    G->SetFocus();
  }
  int Id() { return Table->FieldByName(u"ID")->AsInteger(); }
  // Presses the first column at X pixels from its left edge on a grid row.
  void PressFirstColumn(int GridRow, int X) {
    const TRect R = G->CellRect(G->IndicatorOffset(), GridRow);
    G->Perform(WM_LBUTTONDOWN, 0, MAKELPARAM(R.Left + X, R.Top + 3));
    G->Perform(WM_LBUTTONUP, 0, MAKELPARAM(R.Left + X, R.Top + 3));
  }
};

// A grid whose top row can be moved without the scroll's own repaint, so that what
// TopLeftChanged repaints is all that shows.
class TQuietTopGrid : public TDBGridZk {
public:
  using TDBGridZk::TDBGridZk;
  void SetTopQuietly(int ARow) { FTopLeft.Y = ARow; }
};

// Tree lines are dotted in a phase that follows the top row: after a downward scroll the row
// that was cut by the bottom edge is repainted whole. Scrolling up, or a view that is not a tree,
// repaints nothing more.
TEST_F(DBGridZkMemTableTree, ScrollingDownRepaintsTheRowCutAtTheBottom) {
  OpenTree();
  auto* P = new TQuietTopGrid(F.Form);
  P->SetParent(F.Form);
  P->SetBounds(10, 10, 300, 200);
  P->HandleNeeded();
  P->SetDataSource(F.Source);
  const int Step = P->StdDefaultRowHeight() + P->GridLineWidth();
  const TGridMetrics M = P->CalcMetrics();
  const int Frame = P->ClientHeight() - (M.Vert.ScrollAreaEnd - M.Vert.FixedEnd);
  const int Top = P->TopRow();
  P->SetClientHeight(Frame + 3 * Step);
  ASSERT_EQ(P->RowCutAtBottom(Top), -1) << "three whole rows";
  P->SetClientHeight(Frame + 3 * Step + Step / 2);
  ASSERT_EQ(P->RowCutAtBottom(Top), Top + 3);
  auto ScrollTo = [&](int Row) {
    P->ValidateRect(nullptr);
    P->SetTopQuietly(Row);
    P->TopLeftChanged();
  };
  ScrollTo(Top);
  ScrollTo(Top + 1);
  ASSERT_TRUE(P->HasInvalidRegion());
  const TRect Cut = P->CellRect(P->IndicatorOffset(), Top + 3);
  P->ValidateRect(&Cut);
  EXPECT_TRUE(P->HasInvalidRegion()) << "the whole row, not one cell";
  const TRect Row = Rect(-1000, Cut.Top, 10000, Cut.Bottom + P->GridLineWidth());
  P->ValidateRect(&Row);
  EXPECT_FALSE(P->HasInvalidRegion()) << "only the row cut before the scroll";

  ScrollTo(Top);
  EXPECT_FALSE(P->HasInvalidRegion()) << "upward";
  Table->SetTreeViewActive(false);
  ScrollTo(Top);
  ScrollTo(Top + 1);
  EXPECT_FALSE(P->HasInvalidRegion()) << "not a tree";
}

TEST_F(DBGridZkMemTableTree, OutlineWidthFollowsEachRowsLevel) {
  OpenTree();
  ASSERT_TRUE(G->MemTableTreeShown());
  EXPECT_EQ(G->RowCount(), Offset() + 7);
  const int Widths[] = {18, 36, 36, 18, 36, 54, 18};
  for (int Row = 0; Row < 7; ++Row)
    G->ForDataRow(Row, [&] { EXPECT_EQ(G->GetCellTreeElmentsAreaWidth(), Widths[Row]) << Row; });
  SaveShot(G, "dbgrid-memtable-tree.png");
}

// A selected record's outline takes the selection colour; the others stay on the grid colour.
TEST_F(DBGridZkMemTableTree, SelectedRecordsOutlineIsHighlighted) {
  OpenTree();
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect, dgAlwaysShowSelection});
  Table->Locate(u"ID", 5, {});
  G->SelectedRows()->SetCurrentRowSelected(true);
  Table->First();
  TBitmap Image;
  RenderControl(G, Image);
  auto OutlinePixel = [&](int DataRow) {
    const TRect Insets = G->NonClientInsets();
    const TRect R = G->CellScreenRect(G->IndicatorOffset(), Offset() + DataRow);
    return Image.PixelRGB(Insets.Left + R.Left + 2, Insets.Top + R.Top + 2);
  };
  EXPECT_EQ(OutlinePixel(2), ColorToRGB(G->Color()));
  EXPECT_NE(OutlinePixel(4), ColorToRGB(G->Color())) << "record 5 is selected";
}

// A press on a node's box collapses and expands it; the record stays current; a press right
// of the box only selects the row.
TEST_F(DBGridZkMemTableTree, BoxPressAndNumpadKeysExpandAndCollapse) {
  OpenTree();
  Table->Locate(u"ID", 7, {});
  PressFirstColumn(Offset() + 3, 9);   // the box of node 4
  EXPECT_EQ(G->RowCount(), Offset() + 5);
  EXPECT_EQ(Id(), 7) << "the current record stays";
  EXPECT_EQ(G->Row(), Offset() + 4);
  PressFirstColumn(Offset() + 3, 9);
  EXPECT_EQ(G->RowCount(), Offset() + 7);
  PressFirstColumn(Offset() + 1, 36 + 4);   // past node 2's outline
  EXPECT_EQ(Id(), 2);
  EXPECT_EQ(G->RowCount(), Offset() + 7);

  Table->Locate(u"ID", 1, {});
  struct TCase { Word Key; int Rows; };
  const TCase Cases[] = {{VK_SUBTRACT, 5}, {VK_SUBTRACT, 5}, {VK_ADD, 7}, {VK_MULTIPLY, 5}, {VK_MULTIPLY, 7}};
  for (const TCase& C : Cases) {
    G->Perform(WM_KEYDOWN, C.Key, 0);
    EXPECT_EQ(G->RowCount(), Offset() + C.Rows) << C.Key;
    EXPECT_EQ(Id(), 1);
  }
}

}  // namespace
