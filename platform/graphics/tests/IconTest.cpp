// Tests of icons: the older AND-mask forms, 32-bit alpha, PNG entries, several sizes, pictures.
#include "platform/graphics/Icon.h"

#include <gtest/gtest.h>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Picture.h"
#include "platform/rtl/Exceptions.h"

namespace {

void PutLE(std::string& Out, std::uint32_t V, int Bytes) {
  for (int I = 0; I < Bytes; ++I) Out += char(V >> (8 * I) & 0xFF);
}

// An icon file whose entries hold the given image bytes.
std::string IconFile(const std::vector<std::string>& Images, int Width = 0, int Height = 0) {
  std::string Out;
  PutLE(Out, 0, 2);
  PutLE(Out, 1, 2);
  PutLE(Out, std::uint32_t(Images.size()), 2);
  std::size_t Offset = 6 + 16 * Images.size();
  for (const std::string& Image : Images) {
    Out += char(Width);
    Out += char(Height);
    Out += std::string(2, '\0');
    PutLE(Out, 1, 2);
    PutLE(Out, 0, 2);
    PutLE(Out, std::uint32_t(Image.size()), 4);
    PutLE(Out, std::uint32_t(Offset), 4);
    Offset += Image.size();
  }
  for (const std::string& Image : Images) Out += Image;
  return Out;
}

// A DIB image of W x H at Bits: Pixels are palette indices (Bits <= 8) or 0xAARRGGBB values,
// top row first; Clear marks the AND mask's transparent pixels.
std::string Dib(int W, int H, int Bits, const std::vector<TColorRef>& Palette,
                const std::vector<std::uint32_t>& Pixels, const std::vector<int>& Clear,
                bool WithMask = true) {
  std::string Out;
  PutLE(Out, 40, 4);
  PutLE(Out, std::uint32_t(W), 4);
  PutLE(Out, std::uint32_t(2 * H), 4);
  PutLE(Out, 1, 2);
  PutLE(Out, std::uint32_t(Bits), 2);
  PutLE(Out, 0, 4);
  PutLE(Out, 0, 4);
  PutLE(Out, 0, 4);
  PutLE(Out, 0, 4);
  PutLE(Out, std::uint32_t(Palette.size()), 4);
  PutLE(Out, 0, 4);
  for (TColorRef C : Palette) PutLE(Out, GetBValue(C) | GetGValue(C) << 8 | GetRValue(C) << 16, 4);
  const auto Stride = [](int Width, int B) { return std::size_t((Width * B + 31) / 32 * 4); };
  for (int Y = H - 1; Y >= 0; --Y) {
    std::string Row(Stride(W, Bits), '\0');
    for (int X = 0; X < W; ++X) {
      const std::uint32_t P = Pixels[std::size_t(Y * W + X)];
      if (Bits >= 16) {
        for (int I = 0; I < Bits / 8; ++I) Row[std::size_t(X * Bits / 8 + I)] = char(P >> (8 * I) & 0xFF);
      } else {
        const int Bit = X * Bits;
        Row[std::size_t(Bit / 8)] = char(Row[std::size_t(Bit / 8)] | P << (8 - Bits - Bit % 8));
      }
    }
    Out += Row;
  }
  if (!WithMask) return Out;
  for (int Y = H - 1; Y >= 0; --Y) {
    std::string Row(Stride(W, 1), '\0');
    for (int X = 0; X < W; ++X)
      if (Clear[std::size_t(Y * W + X)]) Row[std::size_t(X / 8)] = char(Row[std::size_t(X / 8)] | 0x80 >> X % 8);
    Out += Row;
  }
  return Out;
}

// The icon drawn into a W x H area of lime, read back at (X, Y).
TColorRef Drawn(TIcon& Icon, int W, int H, int X, int Y) {
  TBitmap Target(W, H);
  Target.Canvas()->Brush()->SetColor(clLime);
  Target.Canvas()->FillRect(Rect(0, 0, W, H));
  Target.Canvas()->StretchDraw(Rect(0, 0, W, H), &Icon);
  return Target.PixelRGB(X, Y);
}

TColorRef Drawn(TIcon& Icon, int Size, int X, int Y) { return Drawn(Icon, Size, Size, X, Y); }

void Square(TBitmap& B, int Size, TColor Color, TPixelFormat Format) {
  B.SetPixelFormat(Format);
  B.SetSize(Size, Size);
  B.Canvas()->Brush()->SetColor(Color);
  B.Canvas()->FillRect(Rect(0, 0, Size, Size));
}

constexpr TColorRef Lime = 0x00FF00, Red = 0x0000FF, Blue = 0xFF0000, White = 0xFFFFFF;

}  // namespace

TEST(Icon, ReadsTheOlderFormsThroughTheirMasks) {
  // 3 x 2 so that rows are padded and the mask bits sit at uneven places; the middle of the
  // top row is transparent.
  const std::vector<int> Clear = {0, 1, 0, 0, 0, 0};
  const std::vector<TColorRef> Sixteen = {0, Red, Blue, White, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  struct Case {
    const char* Name;
    std::string Image;
  } Cases[] = {
      {"1 bit", Dib(3, 2, 1, {Red, White}, {0, 1, 1, 1, 0, 1}, Clear)},
      {"4 bits", Dib(3, 2, 4, Sixteen, {1, 2, 3, 3, 1, 3}, Clear)},
      {"8 bits", Dib(3, 2, 8, {0, Red, White}, {1, 2, 2, 2, 1, 2}, Clear)},
      {"24 bits", Dib(3, 2, 24, {}, {0xFF0000, 0x0000FF, 0xFFFFFF, 0xFFFFFF, 0xFF0000, 0xFFFFFF}, Clear)},
      // 32 bits with no alpha at all: the mask decides, as in icons made before alpha.
      {"32 bits, mask", Dib(3, 2, 32, {}, {0xFF0000, 0x0000FF, 0xFFFFFF, 0xFFFFFF, 0xFF0000, 0xFFFFFF}, Clear)},
  };
  for (auto& C : Cases) {
    TIcon Icon;
    Icon.LoadFromBytes(IconFile({C.Image}, 3, 2));
    ASSERT_EQ(Icon.ImageCount(), 1) << C.Name;
    EXPECT_EQ(Icon.Width(), 3) << C.Name;
    EXPECT_EQ(Icon.Height(), 2) << C.Name;
    EXPECT_EQ(Drawn(Icon, 3, 2, 0, 0), Red) << C.Name;
    EXPECT_EQ(Drawn(Icon, 3, 2, 1, 0), Lime) << C.Name;
    EXPECT_EQ(Drawn(Icon, 3, 2, 2, 0), White) << C.Name;
    EXPECT_EQ(Drawn(Icon, 3, 2, 1, 1), Red) << C.Name;
  }
}

TEST(Icon, AlphaWinsOverTheMaskAndAMissingMaskIsAllowedAt32Bits) {
  // Alpha 0 at (0,0), opaque red at (1,0); the mask says the opposite and is ignored.
  TIcon Icon;
  Icon.LoadFromBytes(IconFile({Dib(2, 1, 32, {}, {0x00FFFFFF, 0xFFFF0000}, {0, 1})}));
  EXPECT_EQ(Drawn(Icon, 2, 1, 0, 0), Lime);
  EXPECT_EQ(Drawn(Icon, 2, 1, 1, 0), Red);
  Icon.LoadFromBytes(IconFile({Dib(2, 1, 32, {}, {0x00FFFFFF, 0xFFFF0000}, {}, false)}));
  EXPECT_EQ(Drawn(Icon, 2, 1, 1, 0), Red);
}

TEST(Icon, SavesSeveralSizesWithAlphaAndDrawsTheOneThatFits) {
  TBitmap Small, Holed, Large;
  Square(Small, 16, clRed, pf32bit);
  Holed.SetPixelFormat(pf32bit);
  Holed.SetSize(32, 32);   // a new 32-bit bitmap is transparent
  Holed.Canvas()->Brush()->SetColor(clWhite);
  Holed.Canvas()->FillRect(Rect(0, 0, 32, 16));
  Square(Large, 48, clBlue, pf24bit);
  TIcon Icon;
  for (TBitmap* B : {&Small, &Holed, &Large}) Icon.AddImage(*B);
  EXPECT_EQ(Icon.Width(), 32);   // nearest the system icon size

  const std::string Bytes = Icon.SaveToBytes();
  TPicture Picture;
  Picture.LoadFromBytes(Bytes);
  auto* Loaded = dynamic_cast<TIcon*>(Picture.Graphic());
  ASSERT_NE(Loaded, nullptr);
  ASSERT_EQ(Loaded->ImageCount(), 3);
  EXPECT_EQ(Loaded->ImageBitCount(2), 32);
  EXPECT_EQ(Picture.Width(), 32);
  EXPECT_EQ(Loaded->SaveToBytes(), Bytes);   // unchanged icons write their own bytes back

  struct Case { int Size, X, Y; TColorRef Expected; } Cases[] = {
      {16, 8, 8, Red},     // exact size
      {30, 5, 5, White},   // the smallest image that covers 30 is the 32 one
      {30, 5, 25, Lime},   // ... whose transparent half stays transparent
      {40, 20, 20, Blue},  // 48 covers 40
      {64, 60, 60, Blue},  // nothing covers 64: the largest, stretched
  };
  for (const auto& C : Cases) EXPECT_EQ(Drawn(*Loaded, C.Size, C.X, C.Y), C.Expected) << C.Size;
}

TEST(Icon, ReadsPngEntriesAndLoadsByExtension) {
  TPngImage Png;
  TBitmap Pixels;
  Square(Pixels, 4, clBlue, pf24bit);
  Png.Assign(&Pixels);
  const std::string Bytes = IconFile({Png.SaveToBytes()});
  const String File = Utf8ToString(testing::TempDir()) + u"/vorenta-icon-test.ICO";
  {
    TIcon Icon;
    Icon.LoadFromBytes(Bytes);
    Icon.SaveToFile(File);
  }
  TPicture Picture;
  Picture.LoadFromFile(File);
  ASSERT_EQ(Picture.Graphic()->ClassType(), TIcon::ClassInfo());
  EXPECT_EQ(Picture.Width(), 4);
  EXPECT_EQ(Drawn(*static_cast<TIcon*>(Picture.Graphic()), 4, 3, 3), Blue);
}

TEST(Icon, RejectsDamagedFilesAndSizeChanges) {
  const std::string Good = Dib(2, 2, 8, {Red}, {0, 0, 0, 0}, {0, 0, 0, 0});
  std::string Cursor = IconFile({Good});
  Cursor[2] = 2;
  std::string PastEnd = IconFile({Good});
  PastEnd[6 + 12] = char(0x7F);   // offset beyond the file
  const std::string Cases[] = {
      "",
      Cursor,
      IconFile({}),
      PastEnd,
      IconFile({Good.substr(0, 30)}),                                      // header cut short
      IconFile({Good.substr(0, Good.size() - 1)}),                         // mask cut short
      IconFile({Dib(2, 2, 16, {}, {0, 0, 0, 0}, {0, 0, 0, 0})}),           // no such depth
      IconFile({Dib(2, 2, 8, {Red}, {0, 5, 0, 0}, {0, 0, 0, 0})}),         // index past the palette
  };
  for (std::size_t I = 0; I < std::size(Cases); ++I) {
    TIcon Icon;
    try {
      Icon.LoadFromBytes(Cases[I]);
      ADD_FAILURE() << "no error for case " << I;
    } catch (const EInvalidGraphic& E) {
      EXPECT_EQ(E.Message(), u"Icon image is not valid") << I;
    }
    EXPECT_TRUE(Icon.Empty()) << I;
  }
  TIcon Icon;
  Icon.LoadFromBytes(IconFile({Good}));
  EXPECT_THROW(Icon.SetWidth(16), EInvalidGraphicOperation);
  EXPECT_THROW(Icon.LoadFromBytes(Cases[3]), EInvalidGraphic);
  EXPECT_EQ(Icon.ImageCount(), 1);   // a failed load keeps what was there
}
