// ButtonPaintZkTest.cpp - button faces and check boxes checked on a bitmap at a few pixels,
// the face cache, the flat sizes, the check box rect, tree-outline cells and gradients.
#include <gtest/gtest.h>

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Colors.h"

namespace {

constexpr TColor Border = 0x00FF00;   // pure green, a colour no face uses

class ButtonPaintTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetThemesActive(false);
    ResetEditButtonBitmapCache();
    Bmp = std::make_unique<TBitmap>(40, 40);
    Bmp->Canvas()->Brush()->SetColor(clWhite);
    Bmp->Canvas()->FillRect(Rect(0, 0, 40, 40));
  }
  void TearDown() override { ResetEditButtonBitmapCache(); }
  TColorRef At(int X, int Y) const { return Bmp->PixelRGB(X, Y); }
  std::unique_ptr<TBitmap> Bmp;
};

TEST_F(ButtonPaintTest, RaisedFaceHasHighlightTopLeftAndDarkBottomRight) {
  PaintEditButtonCached(Bmp->Canvas(), Rect(0, 0, 17, 20), Border, cbUnchecked, true, false,
                        false, 0, bcsEllipsisZk);
  EXPECT_EQ(At(8, 0), ColorToRGB(cl3DLight));
  EXPECT_EQ(At(8, 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(At(16, 10), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(At(4, 4), ColorToRGB(clBtnFace));
  // The middle ellipsis dot (2 x 2, area 13 x 16 from (2, 2)).
  EXPECT_EQ(At(2 + 6, 2 + 7), ColorToRGB(clBtnText));
  EXPECT_EQ(At(17, 10), ColorToRGB(clWhite));   // nothing outside
}

TEST_F(ButtonPaintTest, FlatNotHotFaceIsFramedInTheBorderColourAndHotIsNot) {
  PaintEditButtonCached(Bmp->Canvas(), Rect(0, 0, 15, 20), Border, cbUnchecked, true, false,
                        true, 0, bcsDropDownZk);
  EXPECT_EQ(At(0, 0), ColorToRGB(Border));
  EXPECT_EQ(At(14, 19), ColorToRGB(Border));
  EXPECT_NE(At(1, 10), ColorToRGB(Border));

  PaintEditButtonCached(Bmp->Canvas(), Rect(20, 0, 35, 20), Border, cbUnchecked, true, true,
                        true, 0, bcsDropDownZk);
  EXPECT_NE(At(20, 0), ColorToRGB(Border));
  EXPECT_EQ(At(20, 0), ColorToRGB(clBtnHighlight));   // raised inner edge of the hot face
}

TEST_F(ButtonPaintTest, UpDownOddHeightFillsTheMiddleRowAndPressesTheLowerHalf) {
  PaintEditButtonCached(Bmp->Canvas(), Rect(0, 0, 16, 21), Border, cbUnchecked, true, false,
                        false, 2, bcsUpDownZk);
  for (int X : {0, 8, 15}) EXPECT_EQ(At(X, 10), ColorToRGB(Border)) << X;
  EXPECT_EQ(At(0, 0), ColorToRGB(clBtnFace));        // upper half raised: light outer edge
  EXPECT_NE(At(0, 11), ColorToRGB(At(0, 0)));        // lower half pressed: another edge
  EXPECT_EQ(At(15, 9), ColorToRGB(cl3DDkShadow));
}

TEST_F(ButtonPaintTest, CheckBoxStatesAndFlatFrames) {
  PaintEditButtonCached(Bmp->Canvas(), Rect(0, 0, 13, 13), Border, cbUnchecked, true, false,
                        false, 0, bcsCheckboxZk);
  PaintEditButtonCached(Bmp->Canvas(), Rect(20, 0, 33, 13), Border, cbChecked, true, false,
                        false, 0, bcsCheckboxZk);
  EXPECT_EQ(At(6, 6), ColorToRGB(clWindow));
  EXPECT_EQ(At(26, 6), ColorToRGB(clWindowText)) << "the check mark";

  PaintEditButtonCached(Bmp->Canvas(), Rect(0, 20, 13, 33), Border, cbUnchecked, true, false,
                        true, 0, bcsCheckboxZk);
  EXPECT_EQ(At(0, 20), ColorToRGB(Border));
  PaintEditButtonCached(Bmp->Canvas(), Rect(20, 20, 33, 33), Border, cbUnchecked, true, true,
                        true, 0, bcsCheckboxZk);
  EXPECT_EQ(At(20, 20), ColorToRGB(clBtnShadow)) << "sunken outer edge when hot";
  EXPECT_EQ(At(32, 32), ColorToRGB(clBtnHighlight));
}

TEST_F(ButtonPaintTest, TheCacheHoldsOneEntryPerKey) {
  for (int I = 0; I < 2; ++I)
    PaintEditButtonCached(Bmp->Canvas(), Rect(0, 0, 17, 20), Border, cbUnchecked, true, false,
                          false, 0, bcsPlusZk);
  EXPECT_EQ(ButtonBitmapCacheCount(), 1);
  PaintEditButtonCached(Bmp->Canvas(), Rect(0, 0, 0, -5), Border, cbUnchecked, true, false,
                        false, 0, bcsPlusZk);
  EXPECT_EQ(ButtonBitmapCacheCount(), 2);
  EXPECT_EQ(At(0, 0), ColorToRGB(cl3DLight));   // the empty face drew nothing
  ResetEditButtonBitmapCache();
  EXPECT_EQ(ButtonBitmapCacheCount(), 0);
}

TEST(ButtonSizes, FlatWidthAndHeight) {
  SetThemesActive(true);
  EXPECT_EQ(FlatEditButtonWidthForTextHeight(16), 12);
  EXPECT_EQ(FlatEditButtonWidthForTextHeight(40), 17) << "capped at the scroll bar width";
  SetThemesActive(false);
  EXPECT_EQ(FlatEditButtonWidthForTextHeight(16), 11);
  EXPECT_EQ(ButtonHeightForWidth(11, true), 16);
  EXPECT_EQ(ButtonHeightForWidth(11, false), 11);
  EXPECT_EQ(ButtonHeightForWidth(12, true), 18);
}

TEST(ButtonSizes, CheckBoxRectAlignments) {
  const TRect R = Rect(10, 10, 50, 50);
  struct Row {
    int H, V;
    TRect Expected;
  } Rows[] = {
      {0, 0, Rect(10, 10, 23, 23)},
      {1, 2, Rect(37, 37, 50, 50)},
      {2, 1, Rect(24, 24, 37, 37)},
  };
  for (const Row& Rw : Rows) {
    const TRect Got = CalcCheckBoxRect(R, Rw.H, Rw.V);
    EXPECT_EQ(Got, Rw.Expected) << Rw.H << "," << Rw.V;
  }
  EXPECT_EQ(CalcCheckBoxRect(Rect(0, 0, 8, 8), 2, 1), Rect(0, 0, 8, 8));
}

TEST(Gradients, MixAndFill) {
  EXPECT_EQ(MixColorsPercent(0x000000, 0xFFFFFF, 50), TColor(0x808080));
  EXPECT_EQ(MixColorsPercent(0x0000FF, 0x00FF00, 0), TColor(0x0000FF));
  TBitmap B(4, 4);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(Rect(0, 0, 4, 4));
  FillVerticalGradient(B.Canvas(), Rect(0, 0, 4, 1), clBlack, clBlack);
  EXPECT_EQ(B.PixelRGB(1, 0), TColorRef(0xFFFFFF)) << "one row draws nothing";
  FillVerticalGradient(B.Canvas(), Rect(0, 0, 4, 3), 0x000000, 0x0000C8);
  EXPECT_EQ(B.PixelRGB(1, 0), TColorRef(0x000000));
  EXPECT_EQ(B.PixelRGB(1, 1), TColorRef(0x000064));
  EXPECT_EQ(B.PixelRGB(1, 2), TColorRef(0x0000C8));
}

TEST(TreeOutline, ClosedBoxWithPlusAndDottedLines) {
  SetThemesActive(false);
  TBitmap B(20, 20);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(Rect(0, 0, 20, 20));
  PaintTreeLineElement(B.Canvas(), Rect(0, 0, 20, 20), 4, false, 1.0, 1.0, false);
  // Box (6, 6)-(15, 15) outlined, minus and plus through the centre (10, 10).
  EXPECT_EQ(B.PixelRGB(6, 6), ColorToRGB(clBtnShadow));
  EXPECT_EQ(B.PixelRGB(10, 10), ColorToRGB(clWindowText));
  EXPECT_EQ(B.PixelRGB(10, 8), ColorToRGB(clWindowText));
  EXPECT_EQ(B.PixelRGB(7, 7), ColorToRGB(clWindow));
  // Dotted: the line above the box has dots on even x + y only.
  EXPECT_EQ(B.PixelRGB(10, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(B.PixelRGB(10, 1), TColorRef(0xFFFFFF));
  // Kind 11: only the vertical line.
  TBitmap C(20, 20);
  C.Canvas()->Brush()->SetColor(clWhite);
  C.Canvas()->FillRect(Rect(0, 0, 20, 20));
  PaintTreeLineElement(C.Canvas(), Rect(0, 0, 20, 20), 11, false, 1.0, 1.0, true);
  EXPECT_EQ(C.PixelRGB(10, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(C.PixelRGB(15, 10), TColorRef(0xFFFFFF));
}

}  // namespace
