// DBGridZkDefaultDrawTest.cpp - the footer drawing event and the grid's default painting that
// drawing-event handlers call.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Types.h"

namespace {

// Dark pixels in the left and right halves of a cell's inside.
std::pair<int, int> InkHalves(TDBGridZk* G, int ACol, int ARow) {
  const TRect R = G->CellScreenRect(ACol, ARow);
  const int W = R.Right - R.Left - 2;
  const std::vector<TColorRef> P = CellInside(G, ACol, ARow);
  std::pair<int, int> Ink{0, 0};
  for (size_t I = 0; I < P.size(); ++I)
    if (GetRValue(P[I]) < 100) (static_cast<int>(I % W) < W / 2 ? Ink.first : Ink.second)++;
  return Ink;
}

struct TFooterGrid : TDBGridOnForm {
  TFooterGrid() : TDBGridOnForm(5) {
    Grid->SetFooterRowCount(1);
    TColumnZk* Name = Grid->Columns()->Items(1);
    Name->Footer()->SetValueType(fvtStaticText);
    Name->Footer()->SetValue(u"Total");
  }
};

// The event follows the default footer painting with the cell's column, footer row and rect,
// and what it paints stays.
TEST(DBGridZkDefaultDraw, FooterEventGetsItsCellAndPaintsLast) {
  TFooterGrid F;
  TDBGridZk* G = F.Grid;
  const int FooterRow = G->RowCount();
  int Calls = 0;
  G->SetOnDrawFooterCell([&](TObject* Sender, int DataCol, int Row, TColumnZk* Column,
                             const TRect& Rect, TGridDrawState) {
    EXPECT_EQ(Sender, G);
    EXPECT_EQ(Row, 0);
    EXPECT_EQ(Column, G->Columns()->Items(DataCol));
    if (DataCol != 1) return;
    const TRect Cell = G->CellScreenRect(DataCol + 1, FooterRow);
    EXPECT_EQ(Rect.Left, Cell.Left);
    EXPECT_EQ(Rect.Top, Cell.Top);
    EXPECT_EQ(Rect.Right, Cell.Right);
    ++Calls;
    G->Canvas()->Brush()->SetColor(clRed);
    G->Canvas()->FillRect(Rect);
  });
  const std::vector<TColorRef> Inside = CellInside(G, 2, FooterRow);
  EXPECT_GE(Calls, 1);
  for (TColorRef P : Inside) ASSERT_EQ(P, ColorToRGB(clRed));
  SaveShot(G, "dbgrid-footer-event.png");
}

// A handler that turns the grid's own painting off and calls the helpers gets the picture
// the grid paints itself; the footer helper also goes through OnGetFooterParams.
TEST(DBGridZkDefaultDraw, HelpersPaintAsTheGrid) {
  TFooterGrid F;
  TDBGridZk* G = F.Grid;
  G->SetOptionsZk(G->OptionsZk() - TDBGridZkOptions{dghFooter3D, dghData3D});
  const int FooterRow = G->RowCount();
  const int DataRow = G->TopDataOffset() + 2;   // not the current row
  const std::vector<TColorRef> Footer = CellInside(G, 2, FooterRow);
  const std::vector<TColorRef> Data = CellInside(G, 2, DataRow);
  G->SetDefaultDrawingZk(false);
  G->SetOnDrawFooterCell([G](TObject*, int DataCol, int Row, TColumnZk* Column,
                             const TRect& Rect, TGridDrawState State) {
    G->DefaultDrawFooterCell(Rect, DataCol, Row, Column, State);
  });
  G->SetOnDrawColumnCell([G](TObject*, const TRect& Rect, int DataCol, TColumnZk* Column,
                             TGridDrawState State) {
    G->Canvas()->Brush()->SetColor(G->Color());
    G->Canvas()->Font()->Assign(Column->Font());
    G->DefaultDrawColumnCell(Rect, DataCol, Column, State);
  });
  EXPECT_EQ(CellInside(G, 2, FooterRow), Footer);
  EXPECT_EQ(CellInside(G, 2, DataRow), Data);
  G->SetOnGetFooterParams([](TObject*, int, int, TColumnZk*, TFont*, TColor& Background,
                             TAlignment& Alignment, TGridDrawState, String& Text) {
    Background = clWhite;
    Alignment = taRightJustify;
    Text = u"Sum";
  });
  const std::pair<int, int> Ink = InkHalves(G, 2, FooterRow);
  EXPECT_EQ(Ink.first, 0);
  EXPECT_GT(Ink.second, 0);
  SaveShot(G, "dbgrid-footer-helpers.png");
}

// The field helper writes the field's display text by the field's alignment; without a field
// the cell is only filled.
TEST(DBGridZkDefaultDraw, DataCellHelperWritesTheFieldByItsAlignment) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->SetDefaultDrawingZk(false);
  const char16_t* Field = nullptr;
  G->SetOnDrawDataCell([&](TObject*, const TRect& Rect, TField*, TGridDrawState State) {
    G->Canvas()->Brush()->SetColor(clWhite);
    G->Canvas()->Font()->SetColor(clBlack);
    G->DefaultDrawDataCell(Rect, Field ? F.Set->FieldByName(Field)
                                       : nullptr,
                           State);
  });
  struct {
    const char16_t* Field;
    bool Left, Right;
  } const Cases[] = {{u"ID", false, true}, {u"NAME", true, false}, {nullptr, false, false}};
  for (const auto& C : Cases) {
    Field = C.Field;
    const std::pair<int, int> Ink = InkHalves(G, 2, G->TopDataOffset() + 1);
    EXPECT_EQ(Ink.first > 0, C.Left) << (C.Field ? "a field" : "no field");
    EXPECT_EQ(Ink.second > 0, C.Right) << (C.Field ? "a field" : "no field");
  }
}

}  // namespace
