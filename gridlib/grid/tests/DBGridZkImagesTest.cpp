// DBGridZkImagesTest.cpp - the grid's image lists (title images, the columns' cell images) and
// the columns' own popup menus.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "gridlib/grid/DBGridZkDraw.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/SysUtils.h"

namespace {

// A column gets the key-image type from an image list unless it shows text beside the image
// or a pick list decides; a key-image cell has no text.
TEST(DBGridZkImages, ImageListMakesKeyImageColumns) {
  TDBGridOnForm F(3);
  TColumnZk* Qty = F.Grid->Columns()->Items(3);
  TImageList Images(8, 8);
  struct TCase { const char* Name; bool List, ShowText, PickList; TColumnZkType Type; };
  const TCase Cases[] = {
      {"no list", false, false, false, ctCommon},
      {"list", true, false, false, ctKeyImageList},
      {"list beside the text", true, true, false, ctCommon},
      {"pick list first", true, false, true, ctPickList},
  };
  for (const TCase& C : Cases) {
    Qty->SetImageList(C.List ? &Images : nullptr);
    Qty->SetShowImageAndText(C.ShowText);
    Qty->PickList()->Clear();
    if (C.PickList) Qty->PickList()->Add(u"a");
    EXPECT_EQ(Qty->GetColumnType(), C.Type) << C.Name;
    EXPECT_EQ(Qty->DisplayText().empty(), C.Type == ctKeyImageList) << C.Name;
    EXPECT_EQ(Qty->EditText().empty(), C.Type == ctKeyImageList) << C.Name;
  }
}

// A freed list leaves the grid and the columns that used it; copying a column copies its
// images, its menu and ShowImageAndText. The columns are customised: default ones follow the
// dataset's fields.
TEST(DBGridZkImages, FreedListsAreForgottenAndColumnsCopyThem) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  auto Images = std::make_unique<TImageList>(8, 8);
  auto* Menu = new TPopupMenu(F.Form);
  G->Columns()->Clear();
  TColumnZk* Name = G->Columns()->Add();
  Name->SetFieldName(u"NAME");
  G->SetTitleImages(Images.get());
  Name->SetImageList(Images.get());
  Name->SetShowImageAndText(true);
  Name->SetPopupMenu(Menu);
  TColumnZk* Copy = G->Columns()->Add();
  Copy->Assign(Name);
  EXPECT_EQ(Copy->ImageList(), Images.get());
  EXPECT_TRUE(Copy->ShowImageAndText());
  EXPECT_EQ(Copy->PopupMenu(), Menu);
  Images.reset();
  EXPECT_EQ(G->TitleImages(), nullptr);
  EXPECT_EQ(Name->ImageList(), nullptr);
  EXPECT_EQ(Copy->ImageList(), nullptr);
  delete Menu;
  EXPECT_EQ(Name->PopupMenu(), nullptr);
  EXPECT_EQ(Copy->PopupMenu(), nullptr);
  G->Repaint();   // nothing left pointing at the freed objects
}

// A right click over a column with its own menu opens that menu, on the title as on the data;
// over other columns and the indicator the grid's own menu opens.
TEST(DBGridZkImages, RightClickOpensTheColumnsMenu) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  auto* GridMenu = new TPopupMenu(F.Form);
  auto* ColumnMenu = new TPopupMenu(F.Form);
  G->SetPopupMenu(GridMenu);
  G->Columns()->Items(1)->SetPopupMenu(ColumnMenu);
  TPopupMenu* Shown = nullptr;
  TPopupMenu::SetChooser([&](TPopupMenu* M, TPoint) {
    Shown = M;
    return nullptr;
  });
  struct TCase { const char* Name; int Col, Row; bool AutoPopup; TPopupMenu* Expected; };
  const TCase Cases[] = {
      {"column's data cell", 2, 2, true, ColumnMenu},
      {"column's title", 2, 0, true, ColumnMenu},
      {"another column", 3, 2, true, GridMenu},
      {"indicator", 0, 2, true, GridMenu},
      {"column's menu not popping up", 2, 2, false, GridMenu},
  };
  for (const TCase& C : Cases) {
    ColumnMenu->SetAutoPopup(C.AutoPopup);
    Shown = nullptr;
    const TRect R = G->CellRect(C.Col, C.Row);
    const TPoint P = G->ClientToScreen(TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
    SimulateMouseDown(mbRight, P);
    SimulateMouseUp(mbRight, P);
    EXPECT_EQ(Shown, C.Expected) << C.Name;
  }
  EXPECT_EQ(ColumnMenu->PopupComponent(), G);
  TPopupMenu::SetChooser(nullptr);
}

}  // namespace

namespace {

// Images of one colour each: red, green, blue.
void FillImages(TImageList& Images) {
  for (TColor C : {clRed, clLime, clBlue}) {
    TBitmap B(8, 8);
    B.Canvas()->Brush()->SetColor(C);
    B.Canvas()->FillRect(Rect(0, 0, 8, 8));
    Images.AddMasked(&B, clFuchsia);
  }
}

// Pixels of Colour inside grid cell (ACol, ARow) of a rendered grid.
int CountInCell(TDBGridZk* G, int ACol, int ARow, TColorRef Colour) {
  TBitmap B;
  RenderControl(G, B);
  const TRect Insets = G->NonClientInsets();
  const TRect R = G->CellScreenRect(ACol, ARow);
  int N = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X)
      N += B.PixelRGB(Insets.Left + X, Insets.Top + Y) == Colour;
  return N;
}

// A title shows its image from TitleImages; a key-image cell shows the image of its value; an
// image beside the text leaves the text to its right.
TEST(DBGridZkImages, TitlesAndCellsDrawTheirImages) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  TImageList Images(8, 8);
  FillImages(Images);
  G->SetTitleImages(&Images);
  G->Columns()->Items(1)->Title()->SetImageIndex(0);
  EXPECT_EQ(CountInCell(G, 2, 0, RGB(255, 0, 0)), 64) << "the whole red image in the title";
  TColumnZk* Qty = G->Columns()->Items(3);
  Qty->SetImageList(&Images);
  EXPECT_EQ(CountInCell(G, 4, 1, RGB(0, 0, 255)), 64) << "QTY 2 shows image 2";
  EXPECT_EQ(CountInCell(G, 4, 2, RGB(0, 0, 255)), 0) << "QTY 4 has no image";
  Qty->SetShowImageAndText(true);
  EXPECT_EQ(CountInCell(G, 4, 1, RGB(0, 0, 255)), 64) << "beside the text";
  SaveShot(G, "dbgrid-images.png");
}

// The bounds of the dark pixels inside a rect of a bitmap.
TRect InkBounds(TBitmap& B, const TRect& R) {
  TRect Ink = Rect(R.Right, R.Bottom, R.Left, R.Top);
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X)
      if (GetRValue(B.PixelRGB(X, Y)) < 100) {
        Ink.Left = std::min(Ink.Left, X);
        Ink.Right = std::max(Ink.Right, X + 1);
        Ink.Top = std::min(Ink.Top, Y);
        Ink.Bottom = std::max(Ink.Bottom, Y + 1);
      }
  return Ink;
}

// A vertical title runs upward from near the cell's bottom, centred across it; an italic font
// is measured longer by its slant.
TEST(DBGridZkImages, VerticalTitlesRunUpward) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetTitleHeight(90);
  TColumnZk* Name = G->Columns()->Items(1);
  Name->Title()->SetCaption(u"Название");
  Name->Title()->SetOrientation(tohVertical);
  TBitmap B;
  RenderControl(G, B);
  SaveShot(G, "dbgrid-vertical.png");
  const TRect Insets = G->NonClientInsets();
  TRect R = G->CellScreenRect(2, 0);
  OffsetRect(R, Insets.Left, Insets.Top);
  InflateRect(R, -2, -2);
  const TRect Ink = InkBounds(B, R);
  ASSERT_FALSE(Ink.IsEmpty());
  EXPECT_GT(Ink.Bottom - Ink.Top, 2 * (Ink.Right - Ink.Left)) << "taller than wide";
  EXPECT_GE(Ink.Bottom, R.Bottom - 8) << "starts near the bottom";
  EXPECT_NEAR((Ink.Left + Ink.Right) / 2, (R.Left + R.Right) / 2, 3) << "centred across";

  TBitmap Scratch(10, 10);
  TCanvas* C = Scratch.Canvas();
  C->Font()->SetName(u"DejaVu Sans");
  C->Font()->SetSize(12);
  const int Upright = WriteVerticalText(C, R, false, 0, 0, u"Цена", taLeftJustify, tlTop, true);
  C->Font()->SetStyle({fsItalic});
  const int Slanted = WriteVerticalText(C, R, false, 0, 0, u"Цена", taLeftJustify, tlTop, true);
  EXPECT_GT(Slanted, C->TextWidth(u"Цена")) << "the slant adds to the length";
  EXPECT_GT(Upright, 0);
  EXPECT_EQ(C->Font()->Orientation(), 0) << "the canvas font is given back";
}

}  // namespace
