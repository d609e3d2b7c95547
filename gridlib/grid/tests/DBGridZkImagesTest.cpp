// DBGridZkImagesTest.cpp - the grid's image lists (title images, the columns' cell images) and
// the columns' own popup menus.
#include <gtest/gtest.h>

#include <memory>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Menus.h"
#include "platform/controls/WinApi.h"

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
