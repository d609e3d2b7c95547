// vqrDrawTextTest.cpp - the text renderer: tags, wrapping, hyphenation, splitting, drawing.
#include "report/core/vqrDrawText.h"

#include <gtest/gtest.h>

#include "platform/graphics/Colors.h"
#include "platform/graphics/FontService.h"
#include "platform/graphics/Metafile.h"

namespace {

// Advances that scale with the font: 50 units at 600 dpi for 10 pt (height 83), 8 pixels at
// 96 dpi (height 13).
class TScaledMetrics : public TFixedFontMetrics {
public:
  void CharAdvances(const TFontRequest& Font, std::u16string_view Text,
                    std::vector<int>& Advances) override {
    int W = Font.Height < 0 && -Font.Height < 40 ? 8 : 50;
    Advances.assign(Text.size(), W);
  }
};

// Every character is 50 units wide at 600 dpi: 8 report pixels.
class DrawTextTest : public ::testing::Test {
protected:
  void SetUp() override {
    Previous = SetFontMetricsForTests(&Metrics);
    Font.SetName(u"Arial");
    Font.SetSize(10);
    Font.SetColor(clBlack);
  }
  void TearDown() override { SetFontMetricsForTests(Previous); }

  // A renderer over a text area WidthChars characters wide and Lines lines of 14 px high.
  void Prepare(TvqrDrawText& R, int WidthChars, int HeightPx, const std::vector<String>& Text,
               bool WordBreak = false, bool Tags = false) {
    R.SetFont(&Font);
    R.SetOptions(true, Tags, false, WordBreak, true, true, 0);
    R.SetGaps(0, 0, 0.72L);  // line height 13.28 + 0.72 = 14
    TRect Area = Rect(0, 0, WidthChars * 8, HeightPx);
    R.SetDimensions(1, 1, 1, Area, Area);
    R.SetText(Text);
  }
  std::vector<String> Wrapped(TvqrDrawText& R) {
    std::vector<String> Out;
    for (int I = 0; I < R.LineCount(); ++I) Out.push_back(R.Lines(I));
    return Out;
  }

  TScaledMetrics Metrics;
  IFontMetrics* Previous = nullptr;
  TFont Font;
};

TEST_F(DrawTextTest, WrapsParagraphs) {
  struct Case {
    std::vector<String> Text;
    int Width;
    bool WordBreak;
    std::vector<String> Lines;
  } Cases[] = {
      {{u""}, 10, false, {u" "}},
      {{u"aaaa bbbb cccc"}, 10, false, {u"aaaa bbbb", u"cccc"}},
      {{u"aaaa bbbb"}, 10, false, {u"aaaa bbbb"}},             // fits: not split
      {{u"abcdefghijklmno"}, 10, false, {u"abcdefghij", u"klmno"}},
      {{u"МАМА"}, 3, true, {u"МА-", u"МА"}},
      {{u"x"}, 0, false, {u"x"}},                               // one character never splits
      {{u"ab", u"cd"}, 10, false, {u"ab", u"cd"}},
  };
  for (const Case& C : Cases) {
    TvqrDrawText R;
    Prepare(R, C.Width, 100, C.Text, C.WordBreak);
    EXPECT_EQ(Wrapped(R), C.Lines) << ToUtf8(C.Text[0]);
  }
}

TEST_F(DrawTextTest, ParagraphFlagsAndPlainText) {
  TvqrDrawText R;
  Prepare(R, 10, 100, {u""});
  EXPECT_EQ(R.LineFlags(0), 3);
  EXPECT_EQ(R.PlainText(), u" \r\n");
  Prepare(R, 5, 100, {u"aaa bbb ccc"});
  ASSERT_EQ(R.LineCount(), 3);
  EXPECT_EQ(R.LineFlags(0), 1);
  EXPECT_EQ(R.LineFlags(1), 0);
  EXPECT_EQ(R.LineFlags(2), 2);
}

TEST_F(DrawTextTest, HugeParagraphIsMeasuredWithoutFixedBuffers) {
  // Once fixed 32,768-entry buffers: this length overran them.
  TvqrDrawText R;
  Prepare(R, 10, 100, {String(40000, u'a')});
  EXPECT_EQ(R.LineCount(), 4000);
  EXPECT_EQ(R.Lines(3999), String(10, u'a'));
}

TEST_F(DrawTextTest, FormattingTags) {
  struct Case {
    String Text;
    String Plain;      // the wrapped line
    TColor Color;      // colour of the first character
  } Cases[] = {
      {u"<font color=\"#FF0000\">x", u"x", static_cast<TColor>(0x0000FF)},
      {u"<font color=red>x", u"x", clRed},
      {u"<font color=#FF0000>x", u"<font color=#FF0000>x", clBlack},
      // A malformed colour stays plain text instead of failing the run.
      {u"<font color=\"#GG0000\">x", u"<font color=\"#GG0000\">x", clBlack},
      {u"<b>x</b>y", u"xy", clBlack},
      {u"<abc>x", u"<abc>x", clBlack},
  };
  for (const Case& C : Cases) {
    TvqrDrawText R;
    Prepare(R, 100, 100, {C.Text}, false, true);
    ASSERT_EQ(R.LineCount(), 1);
    EXPECT_EQ(R.Lines(0), C.Plain) << ToUtf8(C.Text);
    EXPECT_EQ(R.HTMLTags().Line(0).front().Color, C.Color) << ToUtf8(C.Text);
  }
  TvqrDrawText R;
  Prepare(R, 100, 100, {u"a<sub>b</sub>"}, false, true);
  const TvqrHTMLTags& Tags = R.HTMLTags().Line(0);
  ASSERT_EQ(Tags.size(), 2u);
  EXPECT_EQ(Tags[1].Size, 7);
  EXPECT_EQ(Tags[1].AddY, 1);
  EXPECT_TRUE(Tags[1].Small);
  EXPECT_FALSE(Tags[1].Default);
}

TEST_F(DrawTextTest, CharacterTagsKeepSourcePositionsAndFormattingChanges) {
  // Each character's tag holds its 1-based place in the source text (tags counted) and
  // whether its formatting differs from the character before.
  struct Case {
    String Text;
    bool Tags;
    std::vector<int> Positions;
    std::vector<bool> Defaults;
  } Cases[] = {
      {u"ab<b>cd</b>e", true, {1, 2, 6, 7, 12}, {true, true, false, true, false}},
      {u"ab<b>cd</b>e", false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
       std::vector<bool>(12, true)},
      {u"<x>y<<b>z", true, {1, 2, 3, 4, 5, 9}, {true, true, true, true, true, false}},
      {u"<b></b>", true, {8}, {true}},   // only tags: one blank in the default formatting
  };
  for (const Case& C : Cases) {
    TvqrDrawText R;
    Prepare(R, 100, 100, {C.Text, u"q"}, false, C.Tags);
    ASSERT_EQ(R.HTMLTags().Count(), 2) << ToUtf8(C.Text);
    const TvqrHTMLTags& Tags = R.HTMLTags().Line(0);
    std::vector<int> Positions;
    std::vector<bool> Defaults;
    for (const TvqrHTMLTag& T : Tags) {
      Positions.push_back(T.Position);
      Defaults.push_back(T.Default);
    }
    EXPECT_EQ(Positions, C.Positions) << ToUtf8(C.Text);
    EXPECT_EQ(Defaults, C.Defaults) << ToUtf8(C.Text);
    // The next paragraph starts after the line's CR LF.
    EXPECT_EQ(R.HTMLTags().Line(1).front().Position,
              static_cast<int>(C.Text.size()) + 3) << ToUtf8(C.Text);
  }
}

TEST_F(DrawTextTest, MeasuresAndSplits) {
  TvqrDrawText R;
  Prepare(R, 5, 27, {u"aaa bbb ccc"});
  EXPECT_DOUBLE_EQ(static_cast<double>(R.CalcHeight()), 42.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(R.UnusedSpace()), 0.0001);  // exactly two lines
  EXPECT_DOUBLE_EQ(static_cast<double>(R.CalcWidth()), 24.0);
  bool ParaBreak = false;
  EXPECT_EQ(R.GetOutBoundsText(ParaBreak), u"ccc\r\n");
  EXPECT_TRUE(ParaBreak);
  EXPECT_EQ(R.LineCount(), 2);
  EXPECT_EQ(R.GetInBoundsText(), u"aaa bbb");  // the cut starts at the break blank

  Prepare(R, 5, 100, {u"aaa"});
  EXPECT_EQ(R.GetOutBoundsText(ParaBreak), u"");
  EXPECT_FALSE(ParaBreak);
  EXPECT_EQ(R.LineCount(), 1);
}

TEST_F(DrawTextTest, SpreadIncrementsByHalving) {
  struct Case {
    int Count, N;
    std::vector<int> Expected;
  } Cases[] = {
      {4, 1, {0, 1, 0, 0}},
      {4, 2, {1, 0, 1, 0}},
      {4, 3, {1, 0, 1, 1}},
      {1, 1, {1}},
      {3, 0, {0, 0, 0}},
  };
  for (const Case& C : Cases) {
    std::vector<int> A(static_cast<size_t>(C.Count), 0);
    TvqrDrawText::SpreadIncrements(A, 0, C.Count - 1, 1, C.N);
    EXPECT_EQ(A, C.Expected) << C.Count << " " << C.N;
  }
}

TEST_F(DrawTextTest, DrawsJustifiedLinesOnTheRecordingCanvas) {
  TvqrDrawText R;
  Prepare(R, 12, 100, {u"aa bb cc dd ee"});  // "aa bb cc dd" / "ee"
  TMetafile Meta;
  {
    TMetafileCanvas Canvas(&Meta);
    R.DrawText(&Canvas, 3, 0);
  }
  std::vector<const TDeviceText*> Texts;
  for (const TMetaRecord& Rec : Meta.Records())
    if (Rec.Kind == mrText) Texts.push_back(&Rec.Text);
  ASSERT_EQ(Texts.size(), 2u);
  EXPECT_EQ(Texts[0]->Text, u"aa bb cc dd");
  // 96 px wide; the 11 characters take 8 each (88): 8 spare pixels go to the 3 blanks only,
  // the first ones taking one more.
  std::vector<int> Expected = {8, 8, 11, 8, 8, 11, 8, 8, 10, 8, 8};
  EXPECT_EQ(Texts[0]->Advances, Expected);
  // The last line of the paragraph stays left-aligned.
  EXPECT_EQ(Texts[1]->Origin.X, 0);
  EXPECT_EQ(Texts[1]->Advances, (std::vector<int>{8, 8}));
}

TEST_F(DrawTextTest, RotationPlacesTheBlockAtItsCorner) {
  struct Case {
    int Rotation;
    TPoint Origin;
  } Cases[] = {{0, {0, 0}}, {90, {0, 40}}, {180, {80, 40}}, {270, {80, 0}}};
  for (const Case& C : Cases) {
    TvqrDrawText R;
    R.SetFont(&Font);
    R.SetOptions(false, false, false, false, true, true, C.Rotation);
    R.SetGaps(0, 0, 0.72L);
    R.SetDimensions(1, 1, 1, Rect(0, 0, 80, 40), Rect(0, 0, 80, 40));
    R.SetText({u"ab"});
    TMetafile Meta;
    {
      TMetafileCanvas Canvas(&Meta);
      R.DrawText(&Canvas, 0, 0);
    }
    const TMetaRecord* Text = nullptr;
    for (const TMetaRecord& Rec : Meta.Records())
      if (Rec.Kind == mrText) Text = &Rec;
    ASSERT_NE(Text, nullptr);
    EXPECT_EQ(Text->Text.Origin.X, C.Origin.X) << C.Rotation;
    EXPECT_EQ(Text->Text.Origin.Y, C.Origin.Y) << C.Rotation;
    EXPECT_EQ(Text->Text.Font.Escapement, C.Rotation * 10);
  }
}

}  // namespace
