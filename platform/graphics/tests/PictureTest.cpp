// Tests of the picture round trips: BMP, PNG and JPEG, and format sniffing.
#include "platform/graphics/Picture.h"

#include <gtest/gtest.h>

#include "platform/graphics/Canvas.h"
#include "platform/rtl/Exceptions.h"

namespace {

void PaintQuarters(TBitmap& B) {
  B.SetSize(16, 16);
  const TColor Colors[] = {clRed, clLime, clBlue, clWhite};
  for (int I = 0; I < 4; ++I) {
    B.Canvas()->Brush()->SetColor(Colors[I]);
    B.Canvas()->FillRect(Bounds((I % 2) * 8, (I / 2) * 8, 8, 8));
  }
}

bool Near(TColorRef A, TColorRef B, int Tolerance) {
  return std::abs(GetRValue(A) - GetRValue(B)) <= Tolerance &&
         std::abs(GetGValue(A) - GetGValue(B)) <= Tolerance &&
         std::abs(GetBValue(A) - GetBValue(B)) <= Tolerance;
}

}  // namespace

TEST(Picture, RoundTripsEachFormatThroughItsBytes) {
  TBitmap Source;
  PaintQuarters(Source);
  struct Case { const char* Name; std::unique_ptr<TEncodedImage> Image; int Tolerance; } Cases[] = {
      {"PNG", std::make_unique<TPngImage>(), 0},
      {"JPEG", std::make_unique<TJPEGImage>(), 40},
  };
  for (auto& C : Cases) {
    C.Image->Assign(&Source);
    const std::string Bytes = C.Image->SaveToBytes();
    TPicture Picture;
    Picture.LoadFromBytes(Bytes);
    ASSERT_NE(Picture.Graphic(), nullptr) << C.Name;
    EXPECT_EQ(Picture.Graphic()->ClassType(), C.Image->ClassType()) << C.Name;
    EXPECT_EQ(Picture.Width(), 16) << C.Name;
    // Unchanged images write back the very bytes they were read from.
    EXPECT_EQ(Picture.Graphic()->SaveToBytes(), Bytes) << C.Name;
    const TBitmap& Pixels = static_cast<TEncodedImage*>(Picture.Graphic())->Pixels();
    EXPECT_TRUE(Near(Pixels.PixelRGB(2, 2), RGB(255, 0, 0), C.Tolerance)) << C.Name;
    EXPECT_TRUE(Near(Pixels.PixelRGB(13, 13), RGB(255, 255, 255), C.Tolerance)) << C.Name;
  }
  TPicture Bmp;
  Bmp.LoadFromBytes(Source.SaveToBytes());
  ASSERT_EQ(Bmp.Graphic()->ClassType(), TBitmap::ClassInfo());
  EXPECT_EQ(static_cast<TBitmap*>(Bmp.Graphic())->PixelRGB(10, 3), RGB(0, 255, 0));
}

TEST(Picture, RejectsWhatItCannotRead) {
  TPicture Picture;
  try {
    Picture.LoadFromBytes("GIF89a");
    FAIL() << "no error";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(), u"Unknown picture format");
  }
  TJPEGImage Jpeg;
  EXPECT_THROW(Jpeg.LoadFromBytes(std::string("\xFF\xD8\xFF\xE0 truncated", 14)), EInvalidGraphic);
  EXPECT_THROW(Picture.LoadFromFile(u"picture.gif"), EInvalidGraphic);
}

TEST(Picture, ChangesReachTheOwnersEvent) {
  TPicture Picture;
  int Changes = 0;
  Picture.SetOnChange([&](TObject*) { ++Changes; });
  Picture.Bitmap()->SetSize(4, 4);
  EXPECT_GE(Changes, 2);  // the new bitmap, then its size
}
