// Tests of the recording canvas: replay at another scale, and the text records.
#include "platform/graphics/Metafile.h"

#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Exceptions.h"

namespace {

void DrawScene(TCanvas& C) {
  C.Brush()->SetColor(clYellow);
  C.FillRect(Rect(0, 0, 50, 40));
  C.Pen()->SetColor(clBlue);
  C.Brush()->SetColor(clLime);
  C.Rectangle(5, 5, 30, 20);
  C.MoveTo(2, 35);
  C.LineTo(45, 25);
  C.Font()->SetName(u"Arial");
  C.Font()->SetHeight(-10);
  C.Brush()->SetStyle(bsClear);
  const int Dx[] = {6, 6, 6};
  C.ExtTextOut(8, 22, 0, nullptr, u"Abc", Dx);
}

}  // namespace

TEST(Metafile, ReplayAtTwiceTheSizeEqualsDirectDrawing) {
  TMetafile Meta;
  Meta.SetWidth(50);
  Meta.SetHeight(40);
  {
    TMetafileCanvas Recorder(&Meta);
    DrawScene(Recorder);
  }
  TBitmap Replayed(100, 80), Direct(100, 80);
  Replayed.Canvas()->StretchDraw(Rect(0, 0, 100, 80), &Meta);
  TCanvas& C = *Direct.Canvas();
  C.SetMapMode(MM_ANISOTROPIC);
  C.SetWindowExt(50, 40);
  C.SetViewportExt(100, 80);
  DrawScene(C);
  int Differ = 0;
  for (int Y = 0; Y < 80; ++Y)
    for (int X = 0; X < 100; ++X) Differ += Replayed.PixelRGB(X, Y) != Direct.PixelRGB(X, Y);
  EXPECT_EQ(Differ, 0);
  EXPECT_EQ(Replayed.PixelRGB(20, 20), RGB(0, 255, 0));
}

TEST(Metafile, EnumeratesItsTextRecordsAndGrowsItsFrame) {
  TMetafile Meta;
  {
    TMetafileCanvas Recorder(&Meta);
    Recorder.Font()->SetName(u"Arial");
    Recorder.Font()->SetHeight(-12);
    Recorder.TextOut(10, 5, u"Краска");
    const TRect Clip = Rect(0, 30, 20, 50);
    Recorder.ExtTextOut(3, 30, ETO_CLIPPED, &Clip, u"Белила");
    EXPECT_EQ(Recorder.Kind(), ckMetafile);
  }
  const auto Texts = Meta.TextRecords();
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_EQ(Texts[0].Text, u"Краска");
  EXPECT_EQ(Texts[0].Origin, Point(10, 5));
  EXPECT_EQ(Texts[0].Bounds.Left, 10);
  EXPECT_EQ(Texts[1].Bounds.Right, 20);  // cut by its clip rectangle
  EXPECT_GT(Meta.Width(), 20);
  EXPECT_GT(Meta.Height(), 30);
  EXPECT_THROW(Meta.SaveToBytes(), EInvalidGraphic);
}
