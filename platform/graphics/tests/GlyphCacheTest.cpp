// Tests of the glyph cache: text drawn from cached masks matches text filled from outlines, and
// the cache stays within its byte limit.
#include "platform/graphics/GlyphCache.h"

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

TEST(GlyphCache, CachedTextMatchesFilledOutlinesWithinOneGreyLevel) {
  for (const TTextCase& Case : TextCases) {
    const auto Filled = Draw(Case, false);
    const auto Cached = Draw(Case, true);
    Draw(Case, true);  // a second time from masks already kept
    int Differing = 0, Inked = 0;
    for (int Y = 0; Y < 70; ++Y)
      for (int X = 0; X < 260; ++X) {
        const TColorRef P = Cached->PixelRGB(X, Y);
        ASSERT_LE(ChannelDifference(P, Filled->PixelRGB(X, Y)), 1)
            << StringToUtf8(Case.Text) << " at " << X << "," << Y;
        Differing += P != Filled->PixelRGB(X, Y);
        Inked += P != ColorToRGB(Case.Background);
      }
    EXPECT_GT(Inked, 40) << StringToUtf8(Case.Text);
    EXPECT_LT(Differing, Inked / 10) << StringToUtf8(Case.Text);
  }
}

TEST(GlyphCache, StaysWithinItsByteLimitAndForgetsTheLeastRecentlyUsed) {
  TGlyphCache& Cache = ScreenGlyphCache();
  const std::size_t Limit = Cache.ByteLimit();
  Cache.SetByteLimit(6000);
  const TTextCase Case{u"Arial", -12, {}, clBlack, clWhite, 0, u"Колонка 0123456789"};
  for (int Height = -10; Height >= -40; --Height) {
    TTextCase Sized = Case;
    Sized.Height = Height;
    Draw(Sized, true);
    EXPECT_LE(Cache.Bytes(), 6000u);
  }
  EXPECT_GT(Cache.Count(), 0u);
  const auto Filled = Draw(Case, false);  // evicted glyphs render again, the same
  const auto Cached = Draw(Case, true);
  for (int Y = 0; Y < 70; ++Y)
    for (int X = 0; X < 260; ++X) ASSERT_LE(ChannelDifference(Cached->PixelRGB(X, Y), Filled->PixelRGB(X, Y)), 1);
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
