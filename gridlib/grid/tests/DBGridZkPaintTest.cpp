// DBGridZkPaintTest.cpp - what the application changes in a title through OnGetBtnParams, where a
// column's Layout puts the text of data and footer cells, when a footer wraps, and the
// selection's colours in filter-row cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZkHeadTree.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Types.h"

namespace {

// Rows of a cell's inside that hold dark ink (text), as a fraction band: first and last inked
// row relative to the inside's height, and whether the right half has ink in the top line.
struct TInk {
  int First = -1, Last = -1, Height = 0;
};
TInk InkRows(TDBGridZk* G, int ACol, int ARow) {
  const TRect R = G->CellScreenRect(ACol, ARow);
  const int W = R.Width() - 2;
  const std::vector<TColorRef> P = CellInside(G, ACol, ARow);
  TInk Ink;
  Ink.Height = static_cast<int>(P.size()) / W;
  for (size_t I = 0; I < P.size(); ++I)
    if (GetRValue(P[I]) < 100 && GetGValue(P[I]) < 100) {
      const int Y = static_cast<int>(I) / W;
      if (Ink.First < 0) Ink.First = Y;
      Ink.Last = Y;
    }
  return Ink;
}

// The handler's colour, font and sort marker give the title the picture of a title set up
// that way; a column without a field is not offered to the handler.
TEST(DBGridZkPaint, TitleButtonParamsPaintTheTitleAsSetUp) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  TColumnZk* Name = G->Columns()->Items(1);
  Name->Title()->SetColor(clYellow);
  Name->Title()->Font()->SetColor(clRed);
  Name->Title()->SetSortMarker(smDownZk);
  const std::vector<TColorRef> SetUp = CellInside(G, 2, 0);
  Name->Title()->SetColor(clBtnFace);
  Name->Title()->Font()->SetColor(clWindowText);
  Name->Title()->SetSortMarker(smNoneZk);
  ASSERT_NE(CellInside(G, 2, 0), SetUp);
  int Offered = 0;
  G->SetOnGetBtnParams([&](TObject* Sender, TColumnZk* Column, TFont* AFont, TColor& Background,
                           TSortMarkerZk& SortMarker, bool IsDown) {
    EXPECT_EQ(Sender, G);
    EXPECT_FALSE(IsDown);
    EXPECT_NE(Column->Field(), nullptr);
    ++Offered;
    if (Column != Name) return;
    Background = clYellow;
    AFont->SetColor(clRed);
    SortMarker = smDownZk;
  });
  EXPECT_EQ(CellInside(G, 2, 0), SetUp);
  EXPECT_GT(Offered, 0);
  SaveShot(G, "dbgrid-title-params.png");
}

// Layout puts one line of text at the top, the middle or the bottom of a tall data or footer
// cell; the grid-wide default holds until the column sets its own, which alone is stored.
TEST(DBGridZkPaint, LayoutPlacesTheTextInTallDataAndFooterCells) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetRowLines(3);
  G->SetFooterRowCount(1);
  TColumnZk* Id = G->Columns()->Items(0);
  Id->Footer()->SetValueType(fvtStaticText);
  Id->Footer()->SetValue(u"77");
  const int DataRow = G->TopDataOffset() + 1, FooterRow = G->RowCount();
  struct {
    TTextLayout Layout;
    double From, To;   // where the ink lies, as parts of the cell's height
  } const Cases[] = {{tlTop, 0.0, 0.45}, {tlCenter, 0.25, 0.75}, {tlBottom, 0.55, 1.0}};
  for (const auto& C : Cases) {
    Id->SetLayout(C.Layout);
    for (int Row : {DataRow, FooterRow}) {
      const TInk Ink = InkRows(G, 1, Row);
      ASSERT_GE(Ink.First, 0) << C.Layout << " row " << Row;
      EXPECT_GE(Ink.First, C.From * Ink.Height) << C.Layout << " row " << Row;
      EXPECT_LE(Ink.Last, C.To * Ink.Height) << C.Layout << " row " << Row;
    }
  }
  TColumnZk* Qty = G->Columns()->Items(3);
  EXPECT_EQ(Qty->Layout(), tlTop);
  G->ColumnDefValues()->SetLayout(tlBottom);
  EXPECT_EQ(Qty->Layout(), tlBottom);
  EXPECT_FALSE(Qty->IsLayoutStored());
  Qty->SetLayout(tlBottom);
  EXPECT_FALSE(Qty->IsLayoutStored()) << "equal to the default";
  Qty->SetLayout(tlCenter);
  EXPECT_TRUE(Qty->IsLayoutStored());
  Qty->RestoreDefaults();
  EXPECT_EQ(Qty->Layout(), tlBottom);
}

// A word-wrapping footer wraps only when the data rows hold more than one line: in one-line
// rows the words run on to the cell's edge, in taller rows they go to the next line.
TEST(DBGridZkPaint, FooterWrapsOnlyInRowsOfSeveralLines) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetFooterRowCount(1);
  TColumnZk* Id = G->Columns()->Items(0);
  Id->Footer()->SetValueType(fvtStaticText);
  Id->Footer()->SetValue(u"WWWW WWWW WWWW");
  Id->Footer()->SetWordWrap(true);
  Id->Footer()->SetAlignment(taLeftJustify);
  Id->SetWidth(G->Canvas()->TextWidth(u"WWWW WW") + 6);
  const int FooterRow = G->RowCount();
  // The ink right of the first word tells a line that ran on.
  auto RunsOn = [&] {
    const TRect R = G->CellScreenRect(1, FooterRow);
    const int W = R.Width() - 2;
    const int FirstWord = G->Canvas()->TextWidth(u"WWWW ") + 3;
    const std::vector<TColorRef> P = CellInside(G, 1, FooterRow);
    for (size_t I = 0; I < P.size(); ++I)
      if (static_cast<int>(I) % W > FirstWord && GetRValue(P[I]) < 100) return true;
    return false;
  };
  EXPECT_FALSE(G->AllowWordWrap());
  EXPECT_TRUE(RunsOn());
  G->SetRowLines(2);
  EXPECT_TRUE(G->AllowWordWrap());
  EXPECT_FALSE(RunsOn());
  const TInk Ink = InkRows(G, 1, FooterRow);
  EXPECT_GT(Ink.Last, Ink.Height / 2) << "the second word on the second line";
}

// Filter cells of selected columns take the dark selection face, as their titles do; with
// everything selected the indicator's filter cell too; a column without a filter shows a plain
// cell in its title's colour.
TEST(DBGridZkPaint, FilterCellsShowTheSelection) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect});
  G->STFilter()->SetLocation(stflUnderTitleFilterZk);
  G->STFilter()->SetVisible(true);
  for (int I = 0; I < G->Columns()->Count(); ++I)
    G->Columns()->Items(I)->STFilter()->SetVisible(I != 2);
  const int FilterRow = G->TopDataOffset() - 1;
  auto Pixel = [&](int ACol) {
    TBitmap B;
    RenderControl(G, B);
    const TRect Insets = G->NonClientInsets();
    const TRect R = G->CellScreenRect(ACol, FilterRow);
    return B.PixelRGB(Insets.Left + R.Left + 2, Insets.Top + R.Bottom - 2);
  };
  const TColorRef Plain = Pixel(2);
  EXPECT_EQ(Pixel(3), ColorToRGB(G->Columns()->Items(2)->Title()->Color())) << "no filter";
  G->Selection()->Columns()->Select(G->Columns()->Items(1), false);
  EXPECT_EQ(Pixel(2), RGB(64, 64, 64)) << "selected column";
  EXPECT_EQ(Pixel(4), Plain) << "column not selected";
  G->Selection()->SelectAll();
  EXPECT_EQ(Pixel(0), RGB(64, 64, 64)) << "indicator with everything selected";
  EXPECT_EQ(Pixel(4), RGB(64, 64, 64));
  SaveShot(G, "dbgrid-filter-selected.png");
}

// A filter cell writes its condition where the column's Layout says; its drop-down button is
// faint (the cell's colour shows through its arrow) until the filter row is being edited.
TEST(DBGridZkPaint, FilterCellFollowsTheLayoutAndItsButtonFadesUntilEdited) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetRowLines(3);   // the filter row is as high as a data row
  G->STFilter()->SetVisible(true);
  TColumnZk* Name = G->Columns()->Items(1);
  Name->STFilter()->SetExpressionStr(u"~ Кр%");
  const int FilterRow = G->TopDataOffset() - 1, GridCol = G->ColumnIndexToGridCol(1);
  const TRect Cell = G->CellScreenRect(GridCol, FilterRow);
  const int ButtonLeft = Cell.Right - G->InplaceEditorButtonWidth();
  TBitmap B;
  const TRect In = G->NonClientInsets();
  auto Darkest = [&](int Left, int Right, int Top, int Bottom) {
    int Min = 255;
    for (int Y = Top; Y < Bottom; ++Y)
      for (int X = Left; X < Right; ++X) {
        const TColorRef P = B.PixelRGB(In.Left + X, In.Top + Y);
        Min = std::min({Min, int(GetRValue(P)), int(GetGValue(P)), int(GetBValue(P))});
      }
    return Min;
  };
  // Rows of the text part holding the blue ink.
  auto InkBand = [&] {
    RenderControl(G, B);
    int First = -1, Last = -1;
    for (int Y = Cell.Top + 1; Y < Cell.Bottom - 1; ++Y)
      for (int X = Cell.Left + 1; X < ButtonLeft - 1; ++X) {
        const TColorRef P = B.PixelRGB(In.Left + X, In.Top + Y);
        if (GetRValue(P) < 100 && GetGValue(P) < 100) {
          if (First < 0) First = Y - Cell.Top;
          Last = Y - Cell.Top;
        }
      }
    return std::pair{First, Last};
  };
  ASSERT_GT(Cell.Height(), 2 * G->Canvas()->TextHeight(u"Wg")) << "a tall filter row";
  Name->SetLayout(tlTop);
  const auto Top = InkBand();
  Name->SetLayout(tlBottom);
  const auto Bottom = InkBand();
  ASSERT_GE(Top.first, 0);
  EXPECT_LT(Top.second, Cell.Height() / 2) << "top";
  EXPECT_GT(Bottom.first, Cell.Height() / 2) << "bottom";

  const int ButtonBottom = Cell.Top + G->InplaceEditorButtonHeight();
  RenderControl(G, B);
  EXPECT_GT(Darkest(ButtonLeft, Cell.Right, Cell.Top, ButtonBottom), 150) << "faint";
  EXPECT_GT(Darkest(ButtonLeft, Cell.Right, ButtonBottom, Cell.Bottom), 200) << "below the button";
  G->EnterFilterCell(2);
  ASSERT_TRUE(G->STFilter()->FilterEditMode);
  RenderControl(G, B);
  EXPECT_LT(Darkest(ButtonLeft, Cell.Right, Cell.Top, ButtonBottom), 60) << "opaque while edited";
  SaveShot(G, "dbgrid-filter-cell.png");
}

// A column whose filter holds a condition shows the funnel left of its in-title button, at the
// top of the title; white on a selected title.
TEST(DBGridZkPaint, FilteredColumnsShowTheFunnelInTheirTitle) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect});
  G->STFilter()->SetLocation(stflInTitleFilterZk);
  G->STFilter()->SetVisible(true);
  G->Columns()->Items(1)->STFilter()->SetExpressionStr(u"~ Кр%");
  const int TitleRow = G->TopDataOffset() - 1;
  // The darkest and the brightest channel in the funnel's square of data column Index.
  auto SignInk = [&](int Index) {
    TBitmap B;
    RenderControl(G, B);
    const TRect In = G->NonClientInsets();
    const TRect Cell = G->CellRect(G->ColumnIndexToGridCol(Index), TitleRow);
    const TRect Button = TitleFilterButtonRect(G, G->Columns()->Items(Index), Cell);
    int Dark = 255, Bright = 0;
    for (int Y = Cell.Top; Y < Cell.Top + 8; ++Y)
      for (int X = Button.Left - 6; X < Button.Left; ++X) {
        const TColorRef P = B.PixelRGB(In.Left + X, In.Top + Y);
        Dark = std::min({Dark, int(GetRValue(P)), int(GetGValue(P)), int(GetBValue(P))});
        Bright = std::max({Bright, int(GetRValue(P)), int(GetGValue(P)), int(GetBValue(P))});
      }
    return std::pair{Dark, Bright};
  };
  EXPECT_LT(SignInk(1).first, 100) << "filtered";
  EXPECT_GT(SignInk(2).first, 150) << "not filtered";
  G->Selection()->Columns()->Select(G->Columns()->Items(1), false);
  EXPECT_GT(SignInk(1).second, 240) << "white on the selected title";
  SaveShot(G, "dbgrid-intitle-funnel.png");
}

// The in-title filter button is faint, stronger while the mouse is over its title's own part
// (not over the groups of a multi-level title), and opaque under the mouse.
TEST(DBGridZkPaint, InTitleFilterButtonFollowsTheMouse) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->STFilter()->SetLocation(stflInTitleFilterZk);
  G->STFilter()->SetVisible(true);
  G->Columns()->Items(1)->Title()->SetCaption(u"Товар|Название");
  G->Columns()->Items(2)->Title()->SetCaption(u"Товар|Цена");
  G->SetUseMultiTitle(true);
  const int TitleRow = G->TopDataOffset() - 1;
  const TRect Cell = G->CellRect(2, TitleRow);
  const TRect Button = TitleFilterButtonRect(G, G->Columns()->Items(1), Cell);
  // The button sits in the leaf's own part of the title, not over the group above it.
  const int LeafTop = Cell.Bottom - G->LeafNodeOf(G->Columns()->Items(1))->Height + 1;
  EXPECT_GE(Button.Top, LeafTop);
  EXPECT_LE(Button.Bottom, Cell.Bottom);
  EXPECT_FALSE(TitleFilterButtonAt(G, 2, Button.Left + 2, LeafTop - 2));
  EXPECT_TRUE(TitleFilterButtonAt(G, 2, Button.Left + 2, Button.Top + 2));
  auto ButtonPixels = [&] {
    TBitmap B;
    RenderControl(G, B);
    const TRect Insets = G->NonClientInsets();
    std::vector<TColorRef> P;
    for (int Y = Button.Top; Y < Button.Bottom; ++Y)
      for (int X = Button.Left; X < Button.Right; ++X)
        P.push_back(B.PixelRGB(Insets.Left + X, Insets.Top + Y));
    return P;
  };
  auto MoveTo = [&](int X, int Y) { SimulateMouseMove(G->ClientToScreen({X, Y})); };
  MoveTo(Cell.Left + 3, G->CellRect(2, TitleRow + 1).Top + 3);
  const std::vector<TColorRef> Away = ButtonPixels();
  MoveTo(Cell.Left + 3, Cell.Top + 2);
  EXPECT_TRUE(G->HotTrackMultiTitleOver());
  EXPECT_EQ(ButtonPixels(), Away) << "over the groups";
  MoveTo(Cell.Left + 3, Cell.Bottom - 3);
  EXPECT_FALSE(G->HotTrackMultiTitleOver());
  EXPECT_EQ(G->HotTrackEditButton(), -1);
  const std::vector<TColorRef> OverTitle = ButtonPixels();
  EXPECT_NE(OverTitle, Away) << "over the title";
  MoveTo((Button.Left + Button.Right) / 2, (Button.Top + Button.Bottom) / 2);
  EXPECT_EQ(G->HotTrackEditButton(), 0);
  EXPECT_NE(ButtonPixels(), OverTitle) << "over the button";
  SaveShot(G, "dbgrid-intitle-hot.png");
}

// Held pressed, a title moves its in-title filter button and its funnel down and right with
// its text: one pixel on a one-line title, two on a multi-level one; the same inside an in-row
// panel's title.
TEST(DBGridZkPaint, PressedTitleMovesItsFilterButtonAndFunnel) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->STFilter()->SetLocation(stflInTitleFilterZk);
  G->STFilter()->SetVisible(true);
  TColumnZk* Name = G->Columns()->Items(1);
  Name->SetWidth(120);
  Name->Title()->SetTitleButton(true);
  Name->STFilter()->SetExpressionStr(u"~ Кр%");
  G->Columns()->Items(2)->Title()->SetCaption(u"Товар|Цена");
  const TRect In = G->NonClientInsets();
  struct Case {
    const char* Label;
    bool Multi, InRow;
  };
  for (const Case& K : {Case{"one line", false, false}, Case{"multi-level", true, false},
                        Case{"in-row panel", false, true}}) {
    SCOPED_TRACE(K.Label);
    Name->Title()->SetCaption(K.Multi ? u"Товар|Название" : u"Название");
    G->SetUseMultiTitle(K.Multi);
    G->RowPanel()->SetActive(K.InRow);
    const int Shift = K.Multi ? 2 : 1;
    const TRect Cell = K.InRow ? G->RowPanelTitleClientRect(Name)
                               : G->CellRect(G->ColumnIndexToGridCol(1), G->TopDataOffset() - 1);
    // The multi-level title's own part ends at its column line.
    const TRect Own = K.Multi ? Rect(Cell.Left, Cell.Top, Cell.Right - 1, Cell.Bottom) : Cell;
    const TRect Button = TitleFilterButtonRect(G, Name, Own);
    const TPoint At = G->ClientToScreen({Cell.Left + 4, Cell.Bottom - 4});
    SimulateMouseMove(At);
    TBitmap Up, Down;
    RenderControl(G, Up);
    SimulateMouseDown(mbLeft, At);
    ASSERT_EQ(G->PressedTitleColumn(), Name);
    RenderControl(G, Down);
    if (K.Multi) SaveShot(G, "dbgrid-intitle-pressed.png");
    if (K.InRow) SaveShot(G, "dbgrid-inrow-intitle-pressed.png");
    SimulateMouseUp(mbLeft, G->ClientToScreen({Cell.Left + 4, Cell.Bottom + 30}));
    auto Pixel = [&](TBitmap& B, int X, int Y) { return B.PixelRGB(In.Left + X, In.Top + Y); };
    // The button and the funnel's square left of it from the top of the title's own part,
    // each pixel found again Shift pixels down and right (where the sunken frame leaves it).
    const int Top = (K.Multi ? Cell.Bottom - G->LeafNodeOf(Name)->Height + 1 : Cell.Top) + 1;
    int Moved = 0, Area = 0, Inked = 0;
    for (int Y = Top; Y < Button.Bottom - Shift; ++Y)
      for (int X = Button.Left - 6; X < Button.Right - Shift; ++X) {
        if (Y < Button.Top && X >= Button.Left) continue;
        const TColorRef P = Pixel(Up, X, Y);
        ++Area;
        Moved += P == Pixel(Down, X + Shift, Y + Shift);
        Inked += GetRValue(P) < 100 && P != Pixel(Down, X, Y);
      }
    EXPECT_EQ(Moved, Area) << "every pixel moved";
    EXPECT_GT(Inked, 4) << "the funnel's ink left its place";
  }
}

// Under multi-level titles with column lines the title's own part ends one pixel early, at the
// line; its filter button ends with it and leaves the line and the raised frame whole.
TEST(DBGridZkPaint, InTitleFilterButtonKeepsTheMultiTitleColumnLine) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->STFilter()->SetLocation(stflInTitleFilterZk);
  G->STFilter()->SetVisible(true);
  G->Columns()->Items(1)->Title()->SetCaption(u"Товар|Название");
  G->Columns()->Items(2)->Title()->SetCaption(u"Товар|Цена");
  G->Columns()->Items(2)->STFilter()->SetVisible(false);
  G->SetUseMultiTitle(true);
  const int Row = G->TopDataOffset() - 1;
  const TRect WithButton = G->CellRect(G->ColumnIndexToGridCol(1), Row);
  const TRect Without = G->CellRect(G->ColumnIndexToGridCol(2), Row);
  const TRect Button = TitleFilterButtonRect(G, G->Columns()->Items(1), WithButton);
  ASSERT_EQ(WithButton.Bottom, Without.Bottom);
  TBitmap B;
  RenderControl(G, B);
  const TRect In = G->NonClientInsets();
  // The right edge of both titles, the line and the frame's side, over the button's rows.
  for (int Y = Button.Top; Y < Button.Bottom; ++Y)
    for (const int Edge : {1, 2})
      EXPECT_EQ(B.PixelRGB(In.Left + WithButton.Right - Edge, In.Top + Y),
                B.PixelRGB(In.Left + Without.Right - Edge, In.Top + Y))
          << "x = Right - " << Edge << ", y = " << Y;
  SaveShot(G, "dbgrid-intitle-multi-line.png");
}

// The filter row under tall titles is as high as a data row, not as the titles; the data rows
// that fit below count it at that height.
TEST(DBGridZkPaint, FilterRowTakesTheDataRowHeight) {
  TDBGridOnForm F(30);
  TDBGridZk* G = F.Grid;
  G->STFilter()->SetLocation(stflUnderTitleFilterZk);
  G->STFilter()->SetVisible(true);
  G->SetTitleLines(3);
  ASSERT_EQ(G->TopDataOffset(), 2);
  EXPECT_GT(G->RowHeight(0), G->RowHeight(2) * 2) << "tall titles";
  EXPECT_EQ(G->RowHeight(1), G->RowHeight(2)) << "the filter row";
  const int Line = G->GridLineWidth();
  const int Above = G->RowHeight(0) + G->RowHeight(1) + 2 * Line;
  EXPECT_EQ(G->VisibleDataRowCount(),
            (G->GridClientSize().cy - Above) / (G->RowHeight(2) + Line));
}

}  // namespace
