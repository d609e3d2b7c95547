// Tests of the glyph cache: text drawn from cached masks matches text filled from outlines, and
// the cache stays within its byte limit.
#include "platform/graphics/GlyphCache.h"
#include "platform/graphics/GlyphRaster.h"

#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TTextCase {
  const char16_t* Font;
  int Height;
  TFontStyles Style;
  TColor Color, Background;
  int Escapement;
  const char16_t* Text;
};

// Synthetic styles come from DejaVu Sans (Tahoma), which has no oblique face here.
const TTextCase TextCases[] = {
    {u"Arial", -13, {}, clBlack, clWhite, 0, u"Белила 1234567,89 AVAWfi"},
    {u"Arial", -11, {fsBold}, clWhite, clNavy, 0, u"Колонка Qgjy|"},
    {u"Times New Roman", -17, {fsItalic, fsUnderline}, clMaroon, clYellow, 0, u"Охра ffl/\\"},
    {u"Tahoma", -12, {fsItalic}, clGreen, clWhite, 0, u"Сиена 31.12.2024"},
    {u"Tahoma", -15, {fsBold, fsItalic}, clBlack, clSilver, 0, u"Кобальт W\U0001D400"},
    {u"Courier New", -30, {}, clRed, clWhite, 0, u"Mg@"},
    {u"Arial", -14, {}, clBlack, clWhite, 450, u"rotated"},
};

// Draws the case on a fresh bitmap, clipped at the right so that a glyph is cut.
std::unique_ptr<TBitmap> Draw(const TTextCase& Case, bool Cached) {
  SetGlyphCacheEnabled(Cached);
  auto B = std::make_unique<TBitmap>(260, 70);
  TCanvas& C = *B->Canvas();
  C.Brush()->SetColor(Case.Background);
  C.FillRect(Rect(0, 0, 260, 70));
  C.Font()->SetName(Case.Font);
  C.Font()->SetHeight(Case.Height);
  C.Font()->SetStyle(Case.Style);
  C.Font()->SetColor(Case.Color);
  C.Font()->SetOrientation(Case.Escapement);
  C.Brush()->SetStyle(bsClear);
  C.TextRect(Rect(1, 1, 231, 69), 3, Case.Escapement ? 60 : 5, Case.Text);
  SetGlyphCacheEnabled(true);
  return B;
}

int ChannelDifference(TColorRef A, TColorRef B) {
  return std::max({std::abs(int(GetRValue(A)) - int(GetRValue(B))),
                   std::abs(int(GetGValue(A)) - int(GetGValue(B))),
                   std::abs(int(GetBValue(A)) - int(GetBValue(B)))});
}

}  // namespace

// The masks come from FreeType's rasteriser, the filled outlines from Qt's, which flattens
// curves into lines: edge pixels differ by some grey levels, but the same pixels are inked and
// the ink adds up alike. A glyph out of place by one pixel differs by far more at its stems.
TEST(GlyphCache, CachedTextMatchesFilledOutlines) {
  for (const TTextCase& Case : TextCases) {
    const auto Filled = Draw(Case, false);
    const auto Cached = Draw(Case, true);
    const auto Again = Draw(Case, true);  // a second time from masks already kept
    const TColorRef Background = ColorToRGB(Case.Background);
    int Inked = 0, BeyondTwo = 0;
    long CachedInk = 0, FilledInk = 0;
    for (int Y = 0; Y < 70; ++Y)
      for (int X = 0; X < 260; ++X) {
        const TColorRef P = Cached->PixelRGB(X, Y), F = Filled->PixelRGB(X, Y);
        const int Difference = ChannelDifference(P, F);
        ASSERT_LE(Difference, 32) << StringToUtf8(Case.Text) << " at " << X << "," << Y;
        ASSERT_EQ(P, Again->PixelRGB(X, Y)) << StringToUtf8(Case.Text) << " at " << X << "," << Y;
        BeyondTwo += Difference > 2;
        Inked += P != Background;
        CachedInk += ChannelDifference(P, Background);
        FilledInk += ChannelDifference(F, Background);
      }
    EXPECT_GT(Inked, 40) << StringToUtf8(Case.Text);
    EXPECT_LT(BeyondTwo, Inked / 4) << StringToUtf8(Case.Text);
    EXPECT_NEAR(double(CachedInk), double(FilledInk), FilledInk / 100.0) << StringToUtf8(Case.Text);
  }
}

TEST(GlyphCache, StaysWithinItsByteLimitAndForgetsTheLeastRecentlyUsed) {
  TGlyphCache& Cache = ScreenGlyphCache();
  const std::size_t Limit = Cache.ByteLimit();
  Cache.SetByteLimit(6000);
  const TTextCase Case{u"Arial", -12, {}, clBlack, clWhite, 0, u"Колонка 0123456789"};
  const auto Before = Draw(Case, true);
  for (int Height = -10; Height >= -40; --Height) {
    TTextCase Sized = Case;
    Sized.Height = Height;
    Draw(Sized, true);
    EXPECT_LE(Cache.Bytes(), 6000u);
  }
  EXPECT_GT(Cache.Count(), 0u);
  const auto After = Draw(Case, true);  // evicted glyphs render again, the same
  for (int Y = 0; Y < 70; ++Y)
    for (int X = 0; X < 260; ++X) ASSERT_EQ(After->PixelRGB(X, Y), Before->PixelRGB(X, Y)) << X << "," << Y;
  Cache.SetByteLimit(Limit);

  TGlyphCache Small(3 * (100 + 96));
  auto Mask = [] { return TGlyphMask{0, 0, 10, 10, std::vector<std::uint8_t>(100, 1)}; };
  Small.Add({1, 64, 1}, Mask());
  Small.Add({1, 64, 2}, Mask());
  Small.Add({1, 64, 3}, Mask());
  ASSERT_NE(Small.Find({1, 64, 1}), nullptr);  // now the most recently used
  Small.Add({1, 64, 4}, Mask());
  EXPECT_EQ(Small.Count(), 3u);
  EXPECT_NE(Small.Find({1, 64, 1}), nullptr);
  EXPECT_EQ(Small.Find({1, 64, 2}), nullptr);
  Small.Add({1, 64, 5}, TGlyphMask{0, 0, 100, 100, std::vector<std::uint8_t>(10000, 1)});
  EXPECT_EQ(Small.Count(), 1u);   // larger than the limit: kept alone while it is drawn
  EXPECT_NE(Small.Find({1, 64, 5}), nullptr);
}

// A square of one em with its corner on the origin, and a triangle, at a 10-pixel em.
TEST(GlyphCache, OutlinesRasteriseOnWholePixelsAndSlantByAFifthOfTheirHeight) {
  using Op = TOutlineOp;
  const std::vector<Op> Square = {{Op::MoveTo, 0, 0, 0, 0, 0, 0}, {Op::LineTo, 1, 0, 0, 0, 0, 0},
                                  {Op::LineTo, 1, 1, 0, 0, 0, 0}, {Op::LineTo, 0, 1, 0, 0, 0, 0},
                                  {Op::LineTo, 0, 0, 0, 0, 0, 0}};
  const TGlyphMask Plain = RasterizeGlyphOutline(Square, 10, false);
  EXPECT_EQ((std::vector<int>{Plain.Left, Plain.Top, Plain.Width, Plain.Height}), (std::vector<int>{0, -10, 10, 10}));
  EXPECT_EQ(Plain.Coverage, std::vector<std::uint8_t>(100, 255));

  // Leaning right: the top edge runs from x 2 to 12, the bottom one from 0 to 10.
  const TGlyphMask Slanted = RasterizeGlyphOutline(Square, 10, true);
  EXPECT_EQ((std::vector<int>{Slanted.Left, Slanted.Top, Slanted.Width, Slanted.Height}), (std::vector<int>{0, -10, 12, 10}));
  const auto At = [&](int X, int Y) { return int(Slanted.Coverage[std::size_t(Y) * Slanted.Width + X]); };
  EXPECT_EQ(At(0, 0), 0);      // top row, left of the leaning edge
  EXPECT_EQ(At(11, 0), 230);   // the right edge crosses the top row's last pixel at 11.8..12
  EXPECT_EQ(At(0, 9), 230);    // the left edge crosses the bottom row's first pixel at 0..0.2
  EXPECT_EQ(At(5, 5), 255);
  EXPECT_EQ(At(11, 9), 0);

  // A quadratic arc bulging below its chord: the pixels under the chord are inked.
  const std::vector<Op> Bowl = {{Op::MoveTo, 0, 0.5f, 0, 0, 0, 0}, {Op::QuadTo, 0.5f, -0.5f, 1, 0.5f, 0, 0},
                                {Op::LineTo, 0, 0.5f, 0, 0, 0, 0}};
  const TGlyphMask Arc = RasterizeGlyphOutline(Bowl, 10, false);
  EXPECT_EQ(Arc.Top, -5);
  EXPECT_EQ(Arc.Height, 5);   // down to the arc's lowest point, the baseline
  EXPECT_GT(Arc.Coverage[std::size_t(4) * Arc.Width + 5], 0);

  EXPECT_EQ(RasterizeGlyphOutline({}, 10, false).Width, 0);
  const std::vector<Op> Flat = {{Op::MoveTo, 0, 0, 0, 0, 0, 0}, {Op::LineTo, 1, 0, 0, 0, 0, 0}};
  EXPECT_EQ(RasterizeGlyphOutline(Flat, 10, false).Width, 0);
}

// New glyphs are filled straight from the font: the same masks as their outlines give, upright
// and slanted; a glyph without an outline gives an empty mask.
TEST(GlyphCache, GlyphsRasterisedFromTheFontMatchTheirOutlines) {
  TFontService& Service = TFontService::Instance();
  const TFontRequest Fonts[] = {{u"Arial", -13, false, false}, {u"Times New Roman", -17, false, true},
                                {u"Tahoma", -40, true, false}};
  for (const TFontRequest& Font : Fonts)
    for (const char16_t* C = u"Яд@g8 "; *C; ++C)
      for (const bool Slant : {false, true}) {
        const std::uint32_t Glyph = Service.GlyphIndex(Font, *C);
        std::vector<TOutlineOp> Ops;
        const bool HasOutline = Service.GlyphOutline(Font, Glyph, Ops);
        const TGlyphMask Direct = Service.RasterizeGlyph(Font, Glyph, Slant);
        const TGlyphMask Outlined = HasOutline ? RasterizeGlyphOutline(Ops, Service.EmPixels(Font), Slant) : TGlyphMask{};
        const std::string Where = StringToUtf8(Font.Name) + " " + StringToUtf8(String(1, *C)) + (Slant ? " slanted" : "");
        EXPECT_EQ(Direct.Width > 0, HasOutline) << Where;
        EXPECT_EQ((std::vector<int>{Direct.Left, Direct.Top, Direct.Width, Direct.Height}),
                  (std::vector<int>{Outlined.Left, Outlined.Top, Outlined.Width, Outlined.Height})) << Where;
        EXPECT_EQ(Direct.Coverage, Outlined.Coverage) << Where;
      }
}
