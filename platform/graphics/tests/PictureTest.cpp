// Tests of the picture round trips: BMP, PNG and JPEG, and format sniffing.
#include "platform/graphics/Picture.h"

#include <gtest/gtest.h>

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
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

TEST(Picture, DotInAFolderNameIsNoFileExtension) {
  TPicture Picture;
  try {
    Picture.LoadFromFile(u"scans.2024/picture");
    FAIL() << "no error";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(), u"Unknown picture file extension ()");
  }
}

TEST(Picture, ChangesReachTheOwnersEvent) {
  TPicture Picture;
  int Changes = 0;
  Picture.SetOnChange([&](TObject*) { ++Changes; });
  Picture.Bitmap()->SetSize(4, 4);
  EXPECT_GE(Changes, 2);  // the new bitmap, then its size
}

TEST(Picture, DataPropertyNamesTheGraphicAndCountsBitmapBytes) {
  TBitmap Source;
  PaintQuarters(Source);
  struct Case { const char* Name; std::unique_ptr<TGraphic> Graphic; bool Counted; } Cases[] = {
      {"TBitmap", std::make_unique<TBitmap>(), true},
      {"TPngImage", std::make_unique<TPngImage>(), false},
  };
  for (auto& C : Cases) {
    C.Graphic->Assign(&Source);
    TPicture Picture;
    Picture.SetGraphic(C.Graphic.get());
    TMemoryStream Data;
    TWriter Writer(&Data);
    Writer.WriteDefinedProperties(&Picture);
    const std::string Bytes = C.Graphic->SaveToBytes();
    std::string Expected = std::string("\4Data\x0A", 6);  // name, vaBinary, 32-bit length
    const std::string Name = C.Name;
    std::string Body = char(Name.size()) + Name;
    if (C.Counted) {
      const std::uint32_t N = std::uint32_t(Bytes.size());
      Body += std::string{char(N), char(N >> 8), char(N >> 16), char(N >> 24)};
    }
    Body += Bytes;
    const std::uint32_t L = std::uint32_t(Body.size());
    Expected += std::string{char(L), char(L >> 8), char(L >> 16), char(L >> 24)} + Body;
    EXPECT_EQ(std::string(static_cast<const char*>(Data.Memory()), std::size_t(Data.Size())),
              Expected) << C.Name;

    Data.SetPosition(0);
    TPicture Read;
    TReader Reader(&Data);
    Reader.ReadPropertyRecord(&Read);
    ASSERT_NE(Read.Graphic(), nullptr) << C.Name;
    EXPECT_EQ(Read.Graphic()->ClassName(), Utf8ToString(C.Name));
    EXPECT_EQ(Read.Graphic()->SaveToBytes(), Bytes) << C.Name;
  }

  TPicture Empty;  // no graphic, nothing written
  TMemoryStream None;
  TWriter Writer(&None);
  Writer.WriteDefinedProperties(&Empty);
  EXPECT_EQ(None.Size(), 0);
}
