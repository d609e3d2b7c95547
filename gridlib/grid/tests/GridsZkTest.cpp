// GridsZkTest.cpp - the base grid's model: defaults, layout and hit tests, counts, extents and
// their errors, and streaming of the extents.
#include "gridlib/grid/GridsZk.h"

#include <gtest/gtest.h>

#include "gridlib/grid/tests/GridTestGrid.h"
#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"

namespace {

class GridModel : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    Grid = std::make_unique<TTestGrid>(nullptr);
  }
  std::unique_ptr<TTestGrid> Grid;
};

TEST_F(GridModel, NewGridDefaults) {
  EXPECT_EQ(Grid->Width(), 320);
  EXPECT_EQ(Grid->Height(), 120);
  EXPECT_EQ(Grid->ColCount(), 5);
  EXPECT_EQ(Grid->RowCount(), 5);
  EXPECT_EQ(Grid->FixedCols(), 1);
  EXPECT_EQ(Grid->FixedRows(), 1);
  EXPECT_EQ(Grid->Current(), (TGridCoord{1, 1}));
  EXPECT_EQ(Grid->LeftCol(), 1);
  EXPECT_EQ(Grid->DefaultColWidth(), 64);
  EXPECT_EQ(Grid->DefaultRowHeight(), 24);
  EXPECT_EQ(Grid->Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                           goRangeSelect}));
  // 5 columns of 64 + 1 in 320 pixels: the fifth ends at 325, so columns 1..3 are whole.
  EXPECT_EQ(Grid->VisibleColCount(), 3);
  EXPECT_EQ(Grid->MouseCoord(-1, -1), (TGridCoord{-1, -1}));
}

struct TGeometryCase {
  const char* Name;
  int Width;
  int ContraCols;        // of width 50
  int LeftIndent;
  int FixedCols, FrozenCols;
  int HiddenCol;         // width 0, or -1
  TPoint Point;
  TGridCoord Expected;
};

TEST_F(GridModel, HitTestTable) {
  const TGeometryCase Cases[] = {
      {"title corner", 320, 0, 0, 1, 0, -1, {10, 10}, {0, 0}},
      {"first data cell", 320, 0, 0, 1, 0, -1, {70, 30}, {1, 1}},
      {"trailing line belongs to the cell", 320, 0, 0, 1, 0, -1, {128, 30}, {1, 1}},
      {"right of the cells", 320, 0, 0, 1, 0, -1, {330, 30}, {-1, -1}},
      {"left strip", 320, 0, 10, 1, 0, -1, {5, 30}, {-1, -1}},
      {"after the strip", 320, 0, 10, 1, 0, -1, {12, 30}, {0, 1}},
      {"contra column start", 400, 2, 0, 1, 0, -1, {298, 30}, {5, 1}},
      {"contra boundary line", 400, 2, 0, 1, 0, -1, {297, 30}, {5, 1}},
      {"second contra column", 400, 2, 0, 1, 0, -1, {350, 30}, {6, 1}},
      {"frozen column", 400, 0, 0, 2, 1, -1, {70, 30}, {1, 1}},
      {"hidden column's line goes to the next", 400, 0, 0, 1, 0, 2, {130, 30}, {3, 1}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Grid = std::make_unique<TTestGrid>(nullptr);
    Grid->SetBounds(0, 0, C.Width, 120);
    Grid->SetFixedCols(C.FixedCols);
    Grid->SetFrozenColCount(C.FrozenCols);
    Grid->OutBoundaryData()->SetLeftIndent(C.LeftIndent);
    Grid->SetContraColCount(C.ContraCols);
    for (int I = 0; I < C.ContraCols; ++I) Grid->SetColWidth(Grid->ColCount() + I, 50);
    if (C.HiddenCol >= 0) Grid->SetColWidth(C.HiddenCol, 0);
    EXPECT_EQ(Grid->MouseCoord(C.Point.X, C.Point.Y), C.Expected);
  }
}

TEST_F(GridModel, ContraColumnsArePinnedToTheRightEdge) {
  Grid->SetBounds(0, 0, 400, 120);
  Grid->SetContraColCount(2);
  Grid->SetColWidth(5, 50);
  Grid->SetColWidth(6, 50);
  const TGridMetrics M = Grid->CalcMetrics();
  EXPECT_EQ(M.Horz.ContraStart, 297);
  EXPECT_EQ(Grid->CellLinePos(M.Horz, 5), 298);
  EXPECT_EQ(Grid->CellScreenRect(6, 1), Rect(349, 25, 399, 49));
}

TEST_F(GridModel, HiddenColumnIsNeverHit) {
  Grid->SetColCount(8);
  Grid->SetBounds(0, 0, 600, 120);
  Grid->SetColWidth(3, 0);
  for (int X = 0; X < 600; ++X) EXPECT_NE(Grid->MouseCoord(X, 30).X, 3) << X;
}

TEST_F(GridModel, FrozenColumnMayBeCurrentTheTitleColumnNot) {
  Grid->SetBounds(0, 0, 400, 120);
  Grid->SetFixedCols(2);
  Grid->SetFrozenColCount(1);
  Grid->SetCurrentCell(1, 2, true, false, false);
  EXPECT_EQ(Grid->Current(), (TGridCoord{1, 2}));
  Word Key = VK_LEFT;
  Grid->Perform(WM_KEYDOWN, Key, 0);
  EXPECT_EQ(Grid->Col(), 1) << "column 0 is a title column";
}

TEST_F(GridModel, CountsAndTheirErrors) {
  Grid->SetColCount(0);
  EXPECT_EQ(Grid->ColCount(), 1);
  EXPECT_EQ(Grid->FixedCols(), 0);
  Grid->SetColCount(5);
  Grid->SetFixedCols(1);
  struct TCase {
    const char* Name;
    std::function<void()> Run;
    const char16_t* Text;
  } Cases[] = {
      {"fixed cols", [&] { Grid->SetFixedCols(5); }, u"Fixed column count must be less than column count"},
      {"fixed rows", [&] { Grid->SetFixedRows(7); }, u"Fixed row count must be less than row count"},
      {"negative fixed", [&] { Grid->SetFixedCols(-1); }, u"Grid index out of range"},
      {"contra cols", [&] { Grid->SetContraColCount(-1); }, u"FContraColCount can not be negative."},
      {"contra rows", [&] { Grid->SetContraRowCount(-2); }, u"FContraRowCount can not be negative."},
      {"col width", [&] { Grid->SetColWidth(5, 10); }, u"Grid index out of range"},
      {"row height", [&] { Grid->SetRowHeight(-1, 10); }, u"Grid index out of range"},
      {"current cell", [&] { Grid->SetCurrentCell(9, 1, true, false, false); }, u"Grid index out of range"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    try {
      C.Run();
      ADD_FAILURE() << "no error";
    } catch (const EInvalidGridOperationZk& E) {
      EXPECT_EQ(E.Message(), C.Text);
    }
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->FixedRows(), 1);
    EXPECT_EQ(Grid->ContraColCount(), 0);
    EXPECT_TRUE(Grid->ColWidthsArray().empty() || Grid->ColWidthsArray()[0] == 5);
  }
}

TEST_F(GridModel, SetCountsRollsBackWhenAStepFails) {
  Grid->SetColWidth(2, 30);
  try {
    Grid->SetColCount(200'000'000);
    ADD_FAILURE() << "no error";
  } catch (const EInvalidGridOperationZk& E) {
    EXPECT_EQ(E.Message(), u"Grid too large for operation");
  }
  EXPECT_EQ(Grid->ColCount(), 5);
  EXPECT_EQ(Grid->ColWidthsArray().size(), 6u);
  EXPECT_EQ(Grid->ColWidth(2), 30);

  Grid->FailCountsChanged = true;
  Grid->SetCurrentCell(4, 4, true, false, false);
  EXPECT_THROW(Grid->SetRowCount(3), Exception);
  EXPECT_EQ(Grid->RowCount(), 5);
  EXPECT_EQ(Grid->Current(), (TGridCoord{4, 4}));
}

TEST(GridExtents, ResizeExtentsLimitsAndDefaults) {
  struct TCase {
    const char* Name;
    int Index, Amount;
    const char16_t* Error;
    TIntegerArray Expected;
  } Cases[] = {
      {"insert resets from index", 1, 1, nullptr, {4, 10, 7, 7, 7}},
      {"delete resets from index", 2, -1, nullptr, {2, 10, 11}},
      {"nothing", 0, 0, nullptr, {3, 10, 11, 12}},
      {"delete all", 0, -3, nullptr, {}},
      {"index beyond", 4, 1, u"Grid index out of range", {3, 10, 11, 12}},
      {"too many deleted", 0, -4, u"Too many rows or columns deleted", {3, 10, 11, 12}},
      {"too large", 0, 0x7FFFFFD - 2, u"Grid too large for operation", {3, 10, 11, 12}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TIntegerArray A{3, 10, 11, 12};
    try {
      ResizeExtents(A, C.Index, C.Amount, 7);
      EXPECT_EQ(C.Error, nullptr);
    } catch (const EInvalidGridOperationZk& E) {
      ASSERT_NE(C.Error, nullptr);
      EXPECT_EQ(E.Message(), C.Error);
    }
    EXPECT_EQ(A, C.Expected);
  }
  TIntegerArray A{3, 10, 11, 12};
  MoveExtentEntry(A, 0, 2);
  EXPECT_EQ(A, (TIntegerArray{3, 11, 12, 10}));
  EXPECT_TRUE(SameExtents({}, {}));
  EXPECT_FALSE(SameExtents({}, {1, 5}));
}

// Spans are counted outside the band of cells that may differ from the default; after each
// kind of change they must equal a plain walk over every cell.
TEST_F(GridModel, SpansEqualAWalkAfterEveryKindOfExtentChange) {
  class TSpanGrid : public TTestGrid {
  public:
    using TTestGrid::TTestGrid;
    using TCustomGridZk::ChangeCellCount;
  };
  TSpanGrid G(nullptr);
  G.SetColCount(40);
  G.SetRowCount(200);
  auto Walk = [&G](bool Rows, int First, int Last, int Line) {
    long long Sum = 0;
    for (int I = First; I < Last; ++I) Sum += (Rows ? G.RowHeight(I) : G.ColWidth(I)) + Line;
    return Sum;
  };
  auto Check = [&](const char* Step) {
    SCOPED_TRACE(Step);
    for (bool Rows : {true, false}) {
      const int N = Rows ? G.RowCount() : G.ColCount();
      for (int First : {0, 1, 3, N / 2, N - 1})
        for (int Last : {First, First + 1, N / 2, N - 2, N})
          EXPECT_EQ(G.ExtentsSpan(Rows, First, Last, 1), Walk(Rows, First, Last, 1))
              << (Rows ? "rows " : "cols ") << First << ".." << Last;
    }
  };
  Check("defaults only");
  G.SetRowHeight(150, 7);
  G.SetRowHeight(30, 24);  // equal to the default
  G.SetColWidth(30, 11);
  Check("one cell far out");
  G.RelocateRow(150, 5);
  G.RelocateColumn(30, 2);
  Check("moved towards the start");
  G.SetRowHeight(0, 40);
  G.SetColWidth(0, 11);
  Check("a title row and an indicator");
  G.RelocateColumn(0, 20);
  Check("moved right");
  G.ChangeCellCount(10, 3, true);
  G.ChangeCellCount(2, -1, false);
  Check("inserted and deleted");
  G.SetRowHeight(7, 50);
  G.SetDefaultColWidth(30);
  G.SetColWidth(3, 64);
  Check("default width changed under stored widths");
  G.SetDefaultRowHeight(18);
  Check("default height drops the heights");
}

// --- streaming ---------------------------------------------------------------------------------

class TStreamGrid : public TTestGrid {
  VORENTA_CLASS(TStreamGrid, TTestGrid)
public:
  using TTestGrid::TTestGrid;
};

}  // namespace

REGISTER_CLASS(TStreamGrid) {}

namespace {

class GridStreaming : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    RegisterClasses({TStreamGrid::ClassInfo()});
  }
};

TEST_F(GridStreaming, ExtentsRoundTripAfterTheCounts) {
  TStreamGrid Source(nullptr);
  Source.SetName(u"Grid1");
  Source.SetColCount(7);
  Source.SetRowCount(3);
  Source.SetColWidth(6, 99);
  Source.SetRowHeight(2, 40);
  const String Text = ComponentToText(&Source);
  EXPECT_NE(StringToUtf8(Text).find("ColWidths = (\n"), std::string::npos) << StringToUtf8(Text);
  std::unique_ptr<TComponent> Copy(TextToComponent(Text));
  auto* Read = dynamic_cast<TStreamGrid*>(Copy.get());
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->ColCount(), 7);
  EXPECT_EQ(Read->ColWidth(6), 99);
  EXPECT_EQ(Read->RowHeight(2), 40);
  EXPECT_EQ(Read->ColWidthsArray(), Source.ColWidthsArray());
}

TEST_F(GridStreaming, InheritedGridWithEqualExtentsWritesNothing) {
  TStreamGrid Ancestor(nullptr), Derived(nullptr);
  for (TStreamGrid* G : {&Ancestor, &Derived}) G->SetColWidth(2, 80);
  Derived.SetName(u"Grid1");
  Derived.SetStreamAncestor(&Ancestor);
  EXPECT_EQ(StringToUtf8(ComponentToText(&Derived)).find("ColWidths"), std::string::npos);
  Derived.SetColWidth(3, 81);
  EXPECT_NE(StringToUtf8(ComponentToText(&Derived)).find("ColWidths"), std::string::npos);
}

TEST_F(GridStreaming, MoreExtentsThanCellsIsTheReadersError) {
  const String Text = u"object Grid1: TStreamGrid\n  ColCount = 2\n  ColWidths = (\n    10\n    20\n    30)\nend\n";
  try {
    std::unique_ptr<TComponent> Copy(TextToComponent(Text));
    ADD_FAILURE() << "no error";
  } catch (const EReadError& E) {
    EXPECT_NE(StringToUtf8(E.Message()).find("ColWidths"), std::string::npos) << StringToUtf8(E.Message());
  }
}

}  // namespace
