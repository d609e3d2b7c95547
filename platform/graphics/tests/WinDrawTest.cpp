// Tests of DrawText's layout with fixed metrics, and of the bevels, focus frames and gradients.
#include "platform/graphics/WinDraw.h"

#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"

namespace {

// Every character 8 pixels, a space 4, a line 16.
class FakeMetrics : public ::testing::Test {
protected:
  FakeMetrics() { SetFontMetricsForTests(&Fixed); }
  ~FakeMetrics() override { SetFontMetricsForTests(nullptr); }
  TDrawTextLayout Layout(const String& Text, TRect R, unsigned Format) {
    return LayoutDrawText(FontMetrics(), TFontRequest{}, Text, R, Format);
  }
  static std::vector<String> Texts(const TDrawTextLayout& L) {
    std::vector<String> Out;
    for (const auto& Line : L.Lines) Out.push_back(Line.Text);
    return Out;
  }
  TFixedFontMetrics Fixed{8, 16, 4};
};

}  // namespace

TEST_F(FakeMetrics, DrawTextLayoutCases) {
  struct Case {
    const char* Name;
    String Text;
    TRect R;
    unsigned Format;
    std::vector<String> Lines;
    int Height;
  } Cases[] = {
      {"word break at spaces", u"aaa bbb ccc", Rect(0, 0, 60, 100), DT_WORDBREAK, {u"aaa bbb", u"ccc"}, 32},
      {"long word stands alone", u"aaaaaaaaaa b", Rect(0, 0, 40, 100), DT_WORDBREAK, {u"aaaaaaaaaa", u"b"}, 32},
      {"edit control cuts words", u"aaaaaaa", Rect(0, 0, 40, 100), DT_WORDBREAK | DT_EDITCONTROL, {u"aaaaa", u"aa"}, 32},
      {"line breaks without word break", u"ab\r\ncd\nef", Rect(0, 0, 10, 100), 0, {u"ab", u"cd", u"ef"}, 48},
      {"single line keeps breaks out", u"ab\ncd", Rect(0, 0, 10, 100), DT_SINGLELINE, {u"ab\ncd"}, 16},
      {"end ellipsis", u"abcdefgh", Rect(0, 0, 50, 20), DT_SINGLELINE | DT_END_ELLIPSIS, {u"abc..."}, 16},
      {"fits: no ellipsis", u"abc", Rect(0, 0, 50, 20), DT_SINGLELINE | DT_END_ELLIPSIS, {u"abc"}, 16},
      {"word ellipsis", u"abc defgh", Rect(0, 0, 60, 20), DT_SINGLELINE | DT_WORD_ELLIPSIS, {u"abc..."}, 16},
      {"path ellipsis keeps the file", u"C:\\data\\x\\file", Rect(0, 0, 100, 20), DT_SINGLELINE | DT_PATH_ELLIPSIS, {u"C:\\d...\\file"}, 16},
      {"prefix removed", u"&Open && close", Rect(0, 0, 200, 20), DT_SINGLELINE, {u"Open & close"}, 16},
      {"no prefix keeps ampersands", u"&a", Rect(0, 0, 200, 20), DT_SINGLELINE | DT_NOPREFIX, {u"&a"}, 16},
      {"vertical centre offsets the result", u"a", Rect(0, 0, 50, 40), DT_SINGLELINE | DT_VCENTER, {u"a"}, 28},
      {"empty text is one line", u"", Rect(0, 0, 50, 40), 0, {u""}, 16},
  };
  for (const auto& C : Cases) {
    const TDrawTextLayout L = Layout(C.Text, C.R, C.Format);
    EXPECT_EQ(Texts(L), C.Lines) << C.Name;
    EXPECT_EQ(L.Height, C.Height) << C.Name;
  }
}

TEST_F(FakeMetrics, AlignmentAndTabs) {
  const TRect R = Rect(10, 0, 110, 50);
  EXPECT_EQ(Layout(u"abcd", R, DT_SINGLELINE | DT_RIGHT).Lines[0].X, 110 - 32);
  EXPECT_EQ(Layout(u"abcd", R, DT_SINGLELINE | DT_CENTER).Lines[0].X, 10 + (100 - 32) / 2);
  const auto Prefixed = Layout(u"ab &cd", R, DT_SINGLELINE);
  EXPECT_EQ(Prefixed.Lines[0].PrefixIndex, 3);
  // Tab stops every 8 average characters (64 pixels): "a" is 8 wide, so 14 spaces follow.
  EXPECT_EQ(Layout(u"a\tb", R, DT_SINGLELINE | DT_EXPANDTABS).Lines[0].Width, 64 + 8);
}

TEST_F(FakeMetrics, CalcRectGivesTheTextsRectangleAndDrawsNothing) {
  TBitmap Bitmap(120, 80);
  TRect R = Rect(5, 5, 65, 5);
  const int Height = DrawText(Bitmap.Canvas(), u"aaa bbb ccc", R, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(Height, 32);
  EXPECT_EQ(R, Rect(5, 5, 5 + 52, 5 + 32));  // the widest line, "aaa bbb"
  for (int X = 0; X < 120; X += 7) ASSERT_EQ(Bitmap.PixelRGB(X, 10), 0xFFFFFFu);
}

TEST(WinDraw, RaisedEdgeUsesTheClassicColours) {
  TBitmap Bitmap(20, 20);
  TRect R = Rect(0, 0, 20, 20);
  DrawEdge(Bitmap.Canvas(), R, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  EXPECT_EQ(R, Rect(2, 2, 18, 18));
  EXPECT_EQ(Bitmap.PixelRGB(0, 0), ColorToRGB(cl3DLight));
  EXPECT_EQ(Bitmap.PixelRGB(19, 19), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(Bitmap.PixelRGB(19, 0), ColorToRGB(cl3DDkShadow));  // the dark side owns the corner
  EXPECT_EQ(Bitmap.PixelRGB(1, 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Bitmap.PixelRGB(18, 18), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Bitmap.PixelRGB(10, 10), ColorToRGB(clBtnFace));
}

TEST(WinDraw, FocusRectDrawnTwiceErases) {
  TBitmap Bitmap(20, 20);
  Bitmap.Canvas()->Brush()->SetColor(clSilver);
  Bitmap.Canvas()->FillRect(Rect(0, 0, 20, 20));
  DrawFocusRect(Bitmap.Canvas(), Rect(2, 2, 12, 9));
  EXPECT_EQ(Bitmap.PixelRGB(2, 2), RGB(63, 63, 63));    // inverted silver
  EXPECT_EQ(Bitmap.PixelRGB(3, 2), RGB(192, 192, 192));  // every other pixel
  EXPECT_EQ(Bitmap.PixelRGB(11, 7), RGB(63, 63, 63));
  DrawFocusRect(Bitmap.Canvas(), Rect(2, 2, 12, 9));
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) ASSERT_EQ(Bitmap.PixelRGB(X, Y), RGB(192, 192, 192)) << X << "," << Y;
  InvertRect(Bitmap.Canvas(), Rect(0, 0, 2, 2));
  EXPECT_EQ(Bitmap.PixelRGB(1, 1), RGB(63, 63, 63));
}

TEST(WinDraw, GradientRunsFromTheFirstColourTowardTheSecond) {
  TBitmap Bitmap(10, 100);
  GradientFill(Bitmap.Canvas(), Rect(0, 0, 10, 100), clBlack, clWhite, true);
  EXPECT_EQ(Bitmap.PixelRGB(5, 0), 0u);
  EXPECT_EQ(Bitmap.PixelRGB(5, 50), RGB(127, 127, 127));
  EXPECT_EQ(Bitmap.PixelRGB(5, 99), RGB(252, 252, 252));  // 255 * 99 / 100
  GradientFill(Bitmap.Canvas(), Rect(0, 0, 10, 5), clRed, clBlue, false);
  EXPECT_EQ(Bitmap.PixelRGB(0, 2), RGB(255, 0, 0));
  EXPECT_EQ(Bitmap.PixelRGB(9, 2), RGB(26, 0, 229));
}

TEST(WinDraw, CheckBoxIsThirteenPixelsWithAMark) {
  TBitmap Bitmap(13, 13);
  TRect R = Rect(0, 0, 13, 13);
  DrawFrameControl(Bitmap.Canvas(), R, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  EXPECT_EQ(Bitmap.PixelRGB(0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Bitmap.PixelRGB(12, 12), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Bitmap.PixelRGB(2, 2), ColorToRGB(clWindow));
  EXPECT_EQ(Bitmap.PixelRGB(5, 7), ColorToRGB(clWindowText));  // the bottom of the tick
}

// A radio button is round: its corners keep the background, its well and dot are inside.
TEST(WinDraw, RadioButtonIsARoundWellWithADot) {
  for (const bool Checked : {false, true}) {
    SCOPED_TRACE(Checked);
    TBitmap Bitmap(12, 12);
    Bitmap.Canvas()->Brush()->SetColor(clRed);
    Bitmap.Canvas()->FillRect(Rect(0, 0, 12, 12));
    TRect R = Rect(0, 0, 12, 12);
    DrawFrameControl(Bitmap.Canvas(), R, DFC_BUTTON, DFCS_BUTTONRADIO | (Checked ? DFCS_CHECKED : 0u));
    for (const TPoint Corner : {TPoint{0, 0}, TPoint{11, 0}, TPoint{0, 11}, TPoint{11, 11}})
      EXPECT_EQ(Bitmap.PixelRGB(Corner.X, Corner.Y), ColorToRGB(clRed));
    EXPECT_EQ(Bitmap.PixelRGB(5, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Bitmap.PixelRGB(6, 11), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Bitmap.PixelRGB(3, 3), ColorToRGB(clWindow));
    EXPECT_EQ(Bitmap.PixelRGB(5, 5), ColorToRGB(Checked ? clWindowText : clWindow));
  }
}

TEST(WinDraw, DeviceCapsOfATrueColourCanvas) {
  TBitmap Bitmap(4, 4);
  struct TCase { int Index, Value; };
  const TCase Cases[] = {{LOGPIXELSX, 96}, {LOGPIXELSY, 96},
                         {NUMCOLORS, -1}, {BITSPIXEL, 32}, {PLANES, 1}, {2, 0}};
  for (const TCase& C : Cases) EXPECT_EQ(GetDeviceCaps(Bitmap.Canvas(), C.Index), C.Value) << C.Index;
}
