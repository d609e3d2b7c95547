// Tests of the image list: masked adds, drawing styles, overlays and the disabled look.
#include "platform/graphics/ImageList.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/graphics/Canvas.h"

namespace {

// Two 4 x 4 images side by side: a red square on magenta, a blue dot on magenta.
void PaintStrip(TBitmap& B) {
  B.SetSize(8, 4);
  B.Canvas()->Brush()->SetColor(clFuchsia);
  B.Canvas()->FillRect(Rect(0, 0, 8, 4));
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->FillRect(Rect(1, 1, 3, 3));
  B.SetPixelRGB(6, 2, RGB(0, 0, 255));
}

}  // namespace

TEST(ImageList, AddsMaskedStripsAndDrawsThemWithStyles) {
  TImageList List(4, 4);
  TBitmap Source;
  PaintStrip(Source);
  EXPECT_EQ(List.AddMasked(&Source, clDefault), 0);  // magenta from the bottom-left pixel
  EXPECT_EQ(List.Count(), 2);
  TBitmap Target(10, 10);
  Target.Canvas()->Brush()->SetColor(clGreen);
  Target.Canvas()->FillRect(Rect(0, 0, 10, 10));
  List.Draw(Target.Canvas(), 0, 0, 0);
  EXPECT_EQ(Target.PixelRGB(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(Target.PixelRGB(0, 0), RGB(0, 128, 0));  // the mask colour lets the back show
  List.Draw(Target.Canvas(), 5, 5, 0, dsSelected, itImage);
  EXPECT_EQ(Target.PixelRGB(6, 6), RGB(133, 18, 53));  // half way to clHighlight (10, 36, 106)
  List.Draw(Target.Canvas(), 0, 5, 0, dsNormal, itImage, false);
  EXPECT_EQ(Target.PixelRGB(1, 6), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Target.PixelRGB(3, 8), ColorToRGB(clBtnHighlight));  // the offset highlight
  EXPECT_TRUE(List.Overlay(1, 0));
  TBitmap Over(4, 4);
  List.DrawOverlay(Over.Canvas(), 0, 0, 0, 0);
  EXPECT_EQ(Over.PixelRGB(2, 2), RGB(0, 0, 255));  // the overlay's dot on top
  EXPECT_EQ(Over.PixelRGB(1, 1), RGB(255, 0, 0));
  List.Delete(1);
  EXPECT_EQ(List.Count(), 1);
  TBitmap Copy;
  List.GetBitmap(0, &Copy);
  EXPECT_EQ(Copy.PixelRGB(0, 0), RGB(255, 255, 255));
}

TEST(ImageList, ChangeLinksHearChangesAndTheListsEnd) {
  TChangeLink Kept, Moved;
  int Changes = 0, Freed = 0;
  Kept.OnChange = [&](TObject*) { ++Changes; };
  Kept.OnFree = [&](TObject*) { ++Freed; };
  Moved.OnChange = [&](TObject*) { Changes += 100; };
  TImageList Other(4, 4);
  {
    auto List = std::make_unique<TImageList>(4, 4);
    List->RegisterChanges(&Kept);
    List->RegisterChanges(&Kept);   // once only
    List->RegisterChanges(&Moved);
    Other.RegisterChanges(&Moved);  // a link follows one list at a time
    List->Clear();
    EXPECT_EQ(Changes, 1);
    {
      TChangeLink Gone;
      Gone.OnChange = [&](TObject*) { ADD_FAILURE(); };
      List->RegisterChanges(&Gone);
    }  // a destroyed link is forgotten
    List->Clear();
    EXPECT_EQ(Changes, 2);
  }
  EXPECT_EQ(Freed, 1);
  EXPECT_EQ(Kept.Sender(), nullptr);
  Other.Clear();
  EXPECT_EQ(Changes, 102);
}
