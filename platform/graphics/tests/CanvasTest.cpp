// Tests of the canvas on a bitmap, checked at a few pixels.
#include "platform/graphics/Canvas.h"

#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"

namespace {

class CanvasTest : public ::testing::Test {
protected:
  TBitmap Bitmap{40, 30};
  TCanvas& C = *Bitmap.Canvas();
  TColorRef At(int X, int Y) { return Bitmap.PixelRGB(X, Y); }
};

}  // namespace

TEST_F(CanvasTest, FillRectLeavesOutRightAndBottomEdges) {
  C.Brush()->SetColor(clRed);
  C.FillRect(Rect(2, 3, 10, 8));
  EXPECT_EQ(At(2, 3), RGB(255, 0, 0));
  EXPECT_EQ(At(9, 7), RGB(255, 0, 0));
  EXPECT_EQ(At(10, 7), RGB(255, 255, 255));
  EXPECT_EQ(At(9, 8), RGB(255, 255, 255));
  C.Brush()->SetColor(clBtnFace);  // system colours go through the fixed table
  C.FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(At(0, 0), ColorToRGB(clBtnFace));
}

TEST_F(CanvasTest, RectangleFramesWithThePenAndFillsInside) {
  C.Pen()->SetColor(clBlue);
  C.Brush()->SetColor(clLime);
  C.Rectangle(5, 5, 15, 12);
  EXPECT_EQ(At(5, 5), RGB(0, 0, 255));
  EXPECT_EQ(At(14, 11), RGB(0, 0, 255));   // the frame ends at Right - 1, Bottom - 1
  EXPECT_EQ(At(15, 11), RGB(255, 255, 255));
  EXPECT_EQ(At(6, 6), RGB(0, 255, 0));
  EXPECT_EQ(At(13, 10), RGB(0, 255, 0));
  C.Brush()->SetColor(clRed);
  C.FrameRect(Rect(20, 20, 25, 25));
  EXPECT_EQ(At(20, 20), RGB(255, 0, 0));
  EXPECT_EQ(At(24, 24), RGB(255, 0, 0));
  EXPECT_EQ(At(22, 22), RGB(255, 255, 255));
}

TEST_F(CanvasTest, LinesLeaveOutTheirLastPointAndDotsAlternate) {
  C.Pen()->SetColor(clBlack);
  C.MoveTo(0, 1);
  C.LineTo(10, 1);
  EXPECT_EQ(At(9, 1), RGB(0, 0, 0));
  EXPECT_EQ(At(10, 1), RGB(255, 255, 255));
  EXPECT_EQ(C.PenPos(), Point(10, 1));
  C.Pen()->SetStyle(psDot);  // three on, three off
  C.MoveTo(0, 3);
  C.LineTo(12, 3);
  const TColorRef Row[] = {At(0, 3), At(2, 3), At(3, 3), At(5, 3), At(6, 3)};
  EXPECT_EQ(Row[0], 0u);
  EXPECT_EQ(Row[1], 0u);
  EXPECT_EQ(Row[2], 0xFFFFFFu);
  EXPECT_EQ(Row[3], 0xFFFFFFu);
  EXPECT_EQ(Row[4], 0u);
}

TEST_F(CanvasTest, SolidLinesInEachDirectionCoverTheStartButNotTheEnd) {
  struct {
    TPoint From, To, FirstIn, LastIn, Out;
  } const Cases[] = {
      {{2, 2}, {9, 2}, {2, 2}, {8, 2}, {9, 2}},      // rightwards
      {{9, 4}, {2, 4}, {9, 4}, {3, 4}, {2, 4}},      // leftwards
      {{12, 2}, {12, 9}, {12, 2}, {12, 8}, {12, 9}},  // downwards
      {{14, 9}, {14, 2}, {14, 9}, {14, 3}, {14, 2}},  // upwards
      {{20, 2}, {27, 9}, {20, 2}, {26, 8}, {27, 9}},  // diagonal
  };
  C.Pen()->SetColor(clBlack);
  for (const auto& Case : Cases) {
    C.MoveTo(Case.From.X, Case.From.Y);
    C.LineTo(Case.To.X, Case.To.Y);
    EXPECT_EQ(At(Case.FirstIn.X, Case.FirstIn.Y), 0u) << Case.From.X << "," << Case.From.Y;
    EXPECT_EQ(At(Case.LastIn.X, Case.LastIn.Y), 0u) << Case.From.X << "," << Case.From.Y;
    EXPECT_EQ(At(Case.Out.X, Case.Out.Y), 0xFFFFFFu) << Case.From.X << "," << Case.From.Y;
  }
  EXPECT_EQ(At(9, 3), 0xFFFFFFu);  // one pixel thick
  EXPECT_EQ(At(13, 5), 0xFFFFFFu);
}

TEST_F(CanvasTest, XorLinesDrawnTwiceVanish) {
  C.Brush()->SetColor(clTeal);
  C.FillRect(Rect(0, 0, 40, 30));
  C.Pen()->SetMode(pmXor);
  C.Pen()->SetColor(clWhite);
  for (TPenStyle Style : {psSolid, psDot}) {
    C.Pen()->SetStyle(Style);
    const std::vector<TPoint> Path = {{1, 1}, {30, 1}, {30, 20}, {5, 25}};
    C.Polyline(Path);
    EXPECT_EQ(At(1, 1), ColorToRGB(clTeal) ^ 0xFFFFFF);
    if (Style == psSolid) {  // a corner is drawn once, not twice
      EXPECT_EQ(At(30, 1), ColorToRGB(clTeal) ^ 0xFFFFFF);
    }
    C.Polyline(Path);
    for (TPoint P : Path) EXPECT_EQ(At(P.X, P.Y), ColorToRGB(clTeal)) << P.X << "," << P.Y;
    EXPECT_EQ(At(15, 1), ColorToRGB(clTeal));
  }
  C.Pen()->SetWidth(5);  // a wide XOR line is a solid inverted band, and goes away again
  C.MoveTo(2, 10);
  C.LineTo(30, 10);
  EXPECT_EQ(At(15, 12), ColorToRGB(clTeal) ^ 0xFFFFFF);
  C.MoveTo(2, 10);
  C.LineTo(30, 10);
  EXPECT_EQ(At(15, 12), ColorToRGB(clTeal));
}

TEST_F(CanvasTest, ClipRegionsNarrowAndRestore) {
  const TClipRegion Saved = C.GetClipRegion();
  C.IntersectClipRect(Rect(10, 10, 20, 20));
  C.IntersectClipRect(Rect(15, 0, 40, 30));
  EXPECT_EQ(C.ClipRect(), Rect(15, 10, 20, 20));
  EXPECT_TRUE(C.RectVisible(Rect(0, 0, 16, 11)));
  EXPECT_FALSE(C.RectVisible(Rect(0, 0, 15, 10)));
  C.Brush()->SetColor(clRed);
  C.FillRect(Rect(0, 0, 40, 30));
  EXPECT_EQ(At(15, 10), RGB(255, 0, 0));
  EXPECT_EQ(At(14, 10), RGB(255, 255, 255));
  EXPECT_EQ(At(20, 15), RGB(255, 255, 255));
  C.SelectClipRegion(Saved);
  C.ExcludeClipRect(Rect(0, 0, 10, 30));
  C.Brush()->SetColor(clBlue);
  C.FillRect(Rect(0, 0, 40, 30));
  EXPECT_EQ(At(5, 5), RGB(255, 255, 255));
  EXPECT_EQ(At(10, 5), RGB(0, 0, 255));
  const TCanvasState State = C.SaveDC();
  C.IntersectClipRect(Rect(0, 0, 1, 1));
  C.RestoreDC(State);
  EXPECT_EQ(C.ClipRect(), Rect(10, 0, 40, 30));
}

TEST_F(CanvasTest, MirroredMappingTurnsCoordinatesAround) {
  C.SetMapMode(MM_ANISOTROPIC);
  C.SetWindowOrg(40, 0);
  C.SetWindowExt(-40, 30);
  C.SetViewportExt(40, 30);
  EXPECT_EQ(C.LPtoDP(Point(0, 5)), Point(40, 5));
  C.Brush()->SetColor(clRed);
  C.FillRect(Rect(0, 0, 10, 10));  // lands at the right edge
  EXPECT_EQ(At(35, 5), RGB(255, 0, 0));
  EXPECT_EQ(At(5, 5), RGB(255, 255, 255));
  C.SetMapMode(MM_TEXT);
  C.SetWindowOrg(0, 0);
  EXPECT_EQ(C.LPtoDP(Point(3, 4)), Point(3, 4));
}

TEST_F(CanvasTest, TextPaintsInsideItsCellAndClipsToTheRectangle) {
  C.Font()->SetName(u"Arial");
  C.Font()->SetHeight(-20);
  C.Font()->SetColor(clBlack);
  C.Brush()->SetStyle(bsClear);
  const TSize Extent = C.TextExtent(u"HH");
  EXPECT_EQ(Extent.cy, C.TextMetrics().tmHeight);
  C.TextOut(2, 2, u"HH");
  auto Dark = [&](int X0, int Y0, int X1, int Y1) {
    int N = 0;
    for (int Y = Y0; Y < Y1; ++Y)
      for (int X = X0; X < X1; ++X) N += GetRValue(At(X, Y)) < 128;
    return N;
  };
  EXPECT_GT(Dark(2, 2, 2 + Extent.cx, 2 + Extent.cy), 20);
  EXPECT_EQ(Dark(2 + Extent.cx + 1, 0, 40, 30), 0);
  TBitmap Other(40, 30);
  Other.Canvas()->Font()->SetName(u"Arial");
  Other.Canvas()->Font()->SetHeight(-20);
  Other.Canvas()->TextRect(Rect(0, 0, 8, 30), 2, 2, u"HH");  // clipped after 8 pixels
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 8; X < 40; ++X) ASSERT_EQ(Other.PixelRGB(X, Y), 0xFFFFFFu) << X << "," << Y;
}

TEST_F(CanvasTest, CopyRectAndAlphaBlendedBitmaps) {
  TBitmap Source(4, 4);
  Source.Canvas()->Brush()->SetColor(clBlue);
  Source.Canvas()->FillRect(Rect(0, 0, 4, 4));
  C.CopyRect(Rect(0, 0, 8, 8), Source.Canvas(), Rect(0, 0, 4, 4));  // stretched twice
  EXPECT_EQ(At(7, 7), RGB(0, 0, 255));
  EXPECT_EQ(At(8, 8), RGB(255, 255, 255));
  C.DrawBitmap(Rect(10, 0, 14, 4), Source, Rect(0, 0, 4, 4), SRCCOPY, 128);
  const TColorRef Half = At(11, 1);
  EXPECT_NEAR(GetRValue(Half), 127, 2);
  EXPECT_NEAR(GetBValue(Half), 255, 1);
  C.SetCopyMode(cmSrcInvert);
  C.CopyRect(Rect(0, 0, 4, 4), Source.Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(At(1, 1), 0u);  // blue XOR blue
}

TEST_F(CanvasTest, MaskOperationPaintsTheBrushWhereTheSourceIsBlack) {
  // A mask: black left column and bottom-right pixel, white and grey elsewhere.
  TBitmap Mask(2, 2);
  Mask.Canvas()->Brush()->SetColor(clWhite);
  Mask.Canvas()->FillRect(Rect(0, 0, 2, 2));
  Mask.SetPixelRGB(0, 0, 0);
  Mask.SetPixelRGB(0, 1, 0);
  Mask.SetPixelRGB(1, 1, 0);
  Mask.SetPixelRGB(1, 0, RGB(128, 128, 128));
  C.Brush()->SetColor(clLime);
  C.FillRect(Rect(0, 0, 40, 30));
  C.Brush()->SetColor(clRed);
  C.BitBlt(10, 10, 2, 2, Mask.Canvas(), 0, 0, ROP_PSDPxax);
  C.DrawBitmap(Rect(20, 20, 24, 24), Mask, Rect(0, 0, 2, 2), ROP_PSDPxax);   // stretched twice
  struct Case { int X, Y; TColorRef Expected; } Cases[] = {
      {10, 10, RGB(255, 0, 0)}, {10, 11, RGB(255, 0, 0)}, {11, 11, RGB(255, 0, 0)},
      {11, 10, RGB(0, 255, 0)},                      // grey is not black: destination kept
      {12, 10, RGB(0, 255, 0)},                      // outside
      {21, 23, RGB(255, 0, 0)}, {23, 23, RGB(255, 0, 0)}, {23, 21, RGB(0, 255, 0)},
  };
  for (const auto& K : Cases) EXPECT_EQ(At(K.X, K.Y), K.Expected) << K.X << "," << K.Y;
  EXPECT_EQ(C.CopyMode(), cmSrcCopy);   // BitBlt leaves the copy mode as it was
}

TEST(BitmapSize, WidthThenHeightOnAnEmptyBitmapGivesBoth) {
  TBitmap B;
  B.SetWidth(20);
  EXPECT_EQ(B.Width(), 20);
  B.SetHeight(10);
  EXPECT_EQ(B.Width(), 20);
  EXPECT_EQ(B.Height(), 10);
  EXPECT_FALSE(B.Empty());
}
