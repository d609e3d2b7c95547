// DBGridInplaceEditImageTest.cpp - the cell editor of a column that shows images beside its
// text draws the value's image left of the text, and the text starts after it; a value chosen
// from the pick list brings its image.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/SysUtils.h"

namespace {

const TColor Colors[] = {clRed, clLime, clBlue, clYellow, clFuchsia};

// Five 10 x 10 images, one plain colour each.
void FillImages(TImageList& Images) {
  for (TColor C : Colors) {
    TBitmap B;
    B.SetSize(10, 10);
    B.Canvas()->Brush()->SetColor(C);
    B.Canvas()->FillRect(Rect(0, 0, 10, 10));
    Images.Add(&B, nullptr);
  }
}

// The editor's pixel in the middle of its image strip.
TColorRef ImagePixel(TDBGridInplaceEdit* Edit) {
  TBitmap B;
  RenderControl(Edit, B);
  const TRect Insets = Edit->NonClientInsets();
  return B.PixelRGB(Insets.Left + 2 + 5, Insets.Top + Edit->ClientHeight() / 2);
}

struct TImageGrid : TDBGridOnForm {
  TImageList Images{10, 10};
  TImageGrid() : TDBGridOnForm(10, 520, 200) {
    FillImages(Images);
    Grid->SetOptions(Grid->Options() + TDBGridOptions{dgEditing});
    Grid->SetFocus();
  }
  TDBGridInplaceEdit* EditColumn(TColumnZk* C) {
    Grid->MoveCol(C->Index(), 0, false);
    Grid->ShowCellEditor();
    Application->ProcessMessages();
    return Grid->DBInplaceEdit();
  }
};

// A number column: the field's value is the image; without ShowImageAndText the column shows
// images only and its cells take no editor text room for them.
TEST(DBGridInplaceEditImage, NumberValueImageStandsLeftOfTheText) {
  TImageGrid F;
  TColumnZk* Qty = F.Grid->FindColumnByName(u"QTY");
  TDBGridInplaceEdit* Edit = F.EditColumn(Qty);
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  const int PlainLeft = Edit->EditTextRect().Left;

  Qty->SetImageList(&F.Images);
  Qty->SetShowImageAndText(true);
  F.Grid->InvalidateEditor();
  Edit = F.EditColumn(Qty);
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  EXPECT_EQ(Edit->ImageIndex(), 2) << "record 1 has QTY 2";
  EXPECT_EQ(Edit->EditTextRect().Left, PlainLeft + 10 + 5) << "the text starts after the image";
  EXPECT_EQ(ImagePixel(Edit), ColorToRGB(clBlue));
  SaveShot(F.Grid, "dbgrid-editor-image.png");

  F.Set->SetRecNo(3);   // QTY 6: the list has no such image, none is drawn
  Edit = F.EditColumn(Qty);
  EXPECT_EQ(Edit->ImageIndex(), 6);
  EXPECT_EQ(ImagePixel(Edit), ColorToRGB(Edit->Color()));
  Qty->SetNotInKeyListIndex(4);
  F.Set->Edit();
  Qty->Field()->Clear();
  Edit->RefreshImageIndex();
  EXPECT_EQ(Edit->ImageIndex(), 4) << "an empty value takes the column's image for others";
  EXPECT_EQ(ImagePixel(Edit), ColorToRGB(clFuchsia));
}

// A pick-list column: the chosen entry's place in the list is the image.
TEST(DBGridInplaceEditImage, ChosenPickListEntryBringsItsImage) {
  TImageGrid F;
  TColumnZk* Name = F.Grid->FindColumnByName(u"NAME");
  for (const char16_t* S : {u"Краска", u"Лак", u"Грунт"}) Name->PickList()->Add(S);
  Name->SetImageList(&F.Images);
  Name->SetShowImageAndText(true);
  TDBGridInplaceEdit* Edit = F.EditColumn(Name);
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  EXPECT_EQ(Edit->ImageIndex(), 0) << "record 1 is Краска";
  SimulateKeyPress(VK_DOWN, {ssAlt});
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_RETURN);
  Application->ProcessMessages();
  EXPECT_EQ(Edit->Text(), u"Грунт");
  EXPECT_EQ(Edit->ImageIndex(), 2);
  EXPECT_EQ(ImagePixel(Edit), ColorToRGB(clBlue));
}

}  // namespace
