// Tests of the font service with the real Liberation and DejaVu fonts, and the fake metrics.
#include "platform/graphics/FontService.h"

#include <gtest/gtest.h>

namespace {

TFontRequest Font(const char16_t* Name, int Height, bool Bold = false, bool Italic = false) {
  return {Name, Height, Bold, Italic};
}

std::uint32_t BigEndian32(const std::string& Data, std::size_t Offset) {
  std::uint32_t V = 0;
  for (int I = 0; I < 4; ++I) V = (V << 8) | std::uint8_t(Data[Offset + I]);
  return V;
}

}  // namespace

TEST(FontService, ResolvesTheProgramsFamiliesToTheirStandIns) {
  struct Case { const char16_t* Name; bool Bold, Italic; const char* File; } Cases[] = {
      {u"Arial", false, false, "LiberationSans-Regular.ttf"},
      {u"arial", true, false, "LiberationSans-Bold.ttf"},
      {u"Arial", true, true, "LiberationSans-BoldItalic.ttf"},
      {u"Times New Roman", true, false, "LiberationSerif-Bold.ttf"},
      {u"Courier New", false, false, "LiberationMono-Regular.ttf"},
      {u"Tahoma", false, false, "DejaVuSans.ttf"},
      {u"MS Sans Serif", false, false, "DejaVuSans.ttf"},
  };
  auto& Service = TFontService::Instance();
  for (const auto& C : Cases) {
    const TFontFile File = Service.Resolve(C.Name, C.Bold, C.Italic);
    EXPECT_TRUE(File.Path.ends_with(C.File)) << ToUtf8(C.Name) << " -> " << File.Path;
    EXPECT_FALSE(File.SyntheticBold || File.SyntheticItalic) << ToUtf8(C.Name);
  }
}

TEST(FontService, AdvancesAt600DpiAreArialsWidthsRounded) {
  // 10 pt at 600 dpi is an 83-pixel em; Arial's widths (2048 units): W 1933, a 1139, space 569.
  auto& Service = TFontService::Instance();
  std::vector<int> Advances;
  Service.CharAdvances(Font(u"Arial", -83), u"Wa a", Advances);
  EXPECT_EQ(Advances, (std::vector<int>{78, 46, 23, 46}));
  EXPECT_EQ(Service.TextWidth(Font(u"Arial", -83), u"Wa a"), 193);
  // A positive height is the cell height (ascent 1854 + descent 434 units).
  EXPECT_NEAR(Service.EmPixels(Font(u"Arial", 93)), 93.0 * 2048 / 2288, 1e-9);
}

TEST(FontService, TextMetricsFollowTheWindowsAscentAndDescent) {
  const TTextMetric M = TFontService::Instance().TextMetrics(Font(u"Arial", -83));
  EXPECT_EQ(M.tmAscent, 75);    // 1854 * 83 / 2048
  EXPECT_EQ(M.tmDescent, 18);   // 434 * 83 / 2048
  EXPECT_EQ(M.tmHeight, 93);
  EXPECT_EQ(M.tmInternalLeading, 10);
  EXPECT_EQ(M.tmCharSet, RUSSIAN_CHARSET);
  const TOutlineTextMetric O = TFontService::Instance().OutlineTextMetrics(Font(u"Arial", -2048, false, true));
  EXPECT_EQ(O.otmEMSquare, 2048);
  EXPECT_EQ(O.otmItalicAngle, -120);  // Liberation Sans Italic leans 12 degrees
  EXPECT_GT(O.otmsCharSlopeRun, 0);
}

TEST(FontService, CyrillicHasGlyphsAndMeasures) {
  auto& Service = TFontService::Instance();
  const String Text = u"Краска Жёлтая";
  for (Char C : Text) {
    if (C == u' ') continue;
    EXPECT_NE(Service.GlyphIndex(Font(u"Times New Roman", -16), C), 0u) << int(C);
  }
  EXPECT_NE(Service.GlyphIndex(Font(u"Arial", -16), u'Ж'), Service.GlyphIndex(Font(u"Arial", -16), u'ж'));
  EXPECT_GT(Service.TextWidth(Font(u"Arial", -16), u"Ж"), Service.TextWidth(Font(u"Arial", -16), u"ж"));
  std::vector<int> Advances;
  Service.CharAdvances(Font(u"Arial", -16), u"a\U0001F3A8", Advances);  // astral: second unit 0
  ASSERT_EQ(Advances.size(), 3u);
  EXPECT_EQ(Advances[2], 0);
}

TEST(FontService, LigatureInDejaVuSansMapsTwoCharactersToOneCluster) {
  const auto Glyphs = TFontService::Instance().Shape(Font(u"DejaVu Sans", -1000), u"fix", false);
  ASSERT_EQ(Glyphs.size(), 2u);  // "fi" ligature, then "x"
  EXPECT_EQ(Glyphs[0].Cluster, 0);
  EXPECT_EQ(Glyphs[1].Cluster, 2);
  EXPECT_NE(Glyphs[0].GlyphId, TFontService::Instance().GlyphIndex(Font(u"DejaVu Sans", -1000), u'f'));
  // Liberation Sans has no such ligature.
  EXPECT_EQ(TFontService::Instance().Shape(Font(u"Arial", -1000), u"fix", false).size(), 3u);
}

TEST(FontService, RightToLeftRunsAreItemizedAndShapedInVisualOrder) {
  auto& Service = TFontService::Instance();
  const String Text = u"ab \u05D0\u05D1 cd";
  const auto Items = Service.Itemize(Text, false);
  ASSERT_EQ(Items.size(), 3u);
  EXPECT_EQ(Items[1].Start, 3);
  EXPECT_EQ(Items[1].Length, 2);
  EXPECT_TRUE(Items[1].RightToLeft());
  EXPECT_EQ(TFontService::VisualOrder(Items), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(TFontService::VisualOrder(Service.Itemize(Text, true)).front(), 2);
  const auto Glyphs = Service.Shape(Font(u"DejaVu Sans", -100), u"\u05D0\u05D1", true);
  ASSERT_EQ(Glyphs.size(), 2u);
  EXPECT_EQ(Glyphs[0].Cluster, 1);  // the last letter comes first on screen
}

TEST(FontService, ReadsTablesWholeDataAndKerning) {
  auto& Service = TFontService::Instance();
  const std::string Head = Service.FontTable(Font(u"Arial", -12), "head");
  ASSERT_EQ(Head.size(), 54u);
  EXPECT_EQ(BigEndian32(Head, 12), 0x5F0F3CF5u);  // the magic number
  EXPECT_TRUE(Service.FontTable(Font(u"Arial", -12), "zzzz").empty());
  const std::string Data = Service.FontData(Font(u"Arial", -12));
  EXPECT_GT(Data.size(), 100000u);
  EXPECT_EQ(BigEndian32(Data, 0), 0x00010000u);  // a TrueType file
  EXPECT_LT(Service.Kerning(Font(u"Arial", -2048), u'A', u'V'), 0);
  EXPECT_EQ(Service.Kerning(Font(u"Arial", -2048), u'x', u'x'), 0);
}

TEST(FontService, GlyphOutlinesAreInEmUnits) {
  auto& Service = TFontService::Instance();
  std::vector<TOutlineOp> Ops;
  ASSERT_TRUE(Service.GlyphOutline(Font(u"Arial", -12), Service.GlyphIndex(Font(u"Arial", -12), u'H'), Ops));
  float MaxY = 0;
  for (const auto& Op : Ops) MaxY = std::max(MaxY, Op.Y1);
  EXPECT_NEAR(MaxY, 1409.0 / 2048, 0.01);  // cap height
  EXPECT_FALSE(Service.GlyphOutline(Font(u"Arial", -12), Service.GlyphIndex(Font(u"Arial", -12), u' '), Ops));
}

TEST(FontService, TestsCanSwapInFixedMetrics) {
  TFixedFontMetrics Fake(7, 15, 3);
  SetFontMetricsForTests(&Fake);
  EXPECT_EQ(FontMetrics().TextWidth(Font(u"Arial", -83), u"ab c"), 7 + 7 + 3 + 7);
  EXPECT_EQ(FontMetrics().TextMetrics(Font(u"Arial", -83)).tmHeight, 15);
  SetFontMetricsForTests(nullptr);
  EXPECT_EQ(FontMetrics().TextWidth(Font(u"Arial", -83), u"Wa a"), 193);
}

TEST(FontService, SubsetsKeepGlyphIdsAndDropTheOtherOutlines) {
  auto& Service = TFontService::Instance();
  const TFontRequest F = Font(u"Arial", -1000);
  const std::uint32_t A = Service.GlyphIndex(F, u'Ж');
  const std::string Whole = Service.FontData(F);
  const std::string Subset = Service.SubsetFontData(F, {A});
  ASSERT_FALSE(Subset.empty());
  EXPECT_LT(Subset.size() * 10, Whole.size());
  EXPECT_EQ(BigEndian32(Subset, 0), 0x00010000u);
  // Ids are kept: the glyph count in maxp runs up to the kept glyph's old id.
  auto GlyphCount = [](const std::string& Data) {
    const unsigned Tables = (std::uint8_t(Data[4]) << 8) | std::uint8_t(Data[5]);
    for (unsigned T = 0; T < Tables; ++T)
      if (Data.compare(12 + 16 * T, 4, "maxp") == 0) {
        const std::uint32_t Offset = BigEndian32(Data, 12 + 16 * T + 8);
        return (std::uint8_t(Data[Offset + 4]) << 8) | std::uint8_t(Data[Offset + 5]);
      }
    return -1;
  };
  EXPECT_EQ(GlyphCount(Subset), int(A) + 1);
  EXPECT_GT(GlyphCount(Whole), int(A) + 1);
  EXPECT_GT(Service.SubsetFontData(F, {}).size(), Subset.size());
  const TOutlineTextMetric O = Service.OutlineTextMetrics(F);
  EXPECT_NEAR(O.otmCapHeight, 1409.0 * 1000 / 2048, 1);
}
