// vqrExportPDFContentTest.cpp - the content operators the PDF export writes for single views.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <regex>

#include "PdfFixture.h"
#include "platform/graphics/Graphics.h"
#include "report/core/vqrClassViews.h"
#include "report/core/vqrUtils.h"
#include "report/output/vqrExportPDF_p.h"
#include "report/output/vqrPDFFont.h"

namespace {

struct ContentCase {
  const char* Name;
  std::function<void(TSingleViewReport&)> Build;
  std::vector<const char*> Snippets;   // each must occur in the content
  std::vector<const char*> Absent = {};
};

TvqrMemoView* Memo(TSingleViewReport& R, const String& Text) {
  auto* M = R.Add<TvqrMemoView>();
  M->SetBounds(100, 100, 200, 40);
  M->SetText(Text);
  return M;
}

}  // namespace

TEST(PdfContent, ViewsBecomeOperators) {
  const ContentCase Cases[] = {
      {"fill and frame",
       [](TSingleViewReport& R) {
         auto* M = Memo(R, u"x");
         M->SetColor(TColor(0x0000FF));
         M->Frame()->SetTyp({ftTop, ftLeft});
         M->Frame()->SetStyle(fsDash);
       },
       // red fill; the frame: top then left edge, dashed, black as integers
       {"1.00 0.00 0.00 rg\r\n", " re\r\nf\r\n", "0 0 0 RG\r\n[6.00 ] 0 d\r\n0.75 w\r\n"}},
      {"white and black as integers",
       [](TSingleViewReport& R) { Memo(R, u"x")->SetColor(clWhite); },
       {"1 1 1 rg\r\n", "0 0 0 rg\r\n"}},
      {"underlined font",
       [](TSingleViewReport& R) { Memo(R, u"x")->Font()->SetStyle({fsUnderline}); },
       {"0.80 w\r\n", " l\r\nS\r\nQ\r\n"}},
      {"rotation 90",
       [](TSingleViewReport& R) { Memo(R, u"x")->SetRotation(90); },
       {"0.00 1.00 -1.00 0.00 "}},
      {"right alignment with character spacing",
       [](TSingleViewReport& R) {
         auto* M = Memo(R, u"x");
         M->SetHAlign(haRight);
         M->SetCharSpacing(2);
       },
       {"1.50 Tc\r\n"}},
      {"empty line keeps its place",
       [](TSingleViewReport& R) { Memo(R, u"a\r\n\r\nb"); },
       // two text objects only; the second line is two line heights below the first
       {"BT\r\n"}},
      {"word wrap off is a picture",
       [](TSingleViewReport& R) { Memo(R, u"x")->SetWordWrap(false); },
       {"BI\r\n", "/F [/DCT]\r\nID\n\xFF\xD8", "\r\nEI\r\nQ\r\n"}, {"BT\r\n"}},
      {"page background only when asked",
       [](TSingleViewReport& R) { R.Add<TvqrPictureView>()->SetBounds(0, 0, 10, 10); },
       {}, {"_pagebackground"}},
      {"double frame is solid",
       [](TSingleViewReport& R) {
         auto* M = Memo(R, u"x");
         M->Frame()->SetTyp({ftBottom});
         M->Frame()->SetStyle(fsDouble);
       },
       {"[] 0 d\r\n"}},
      {"dashed frame of width 0 is solid",
       [](TSingleViewReport& R) {
         auto* M = Memo(R, u"x");
         M->Frame()->SetTyp({ftBottom});
         M->Frame()->SetStyle(fsDot);
         M->Frame()->SetWidth(0);
       },
       {"[] 0 d\r\n"}, {"[0.00"}},
      {"vertical solid arrow",
       [](TSingleViewReport& R) {
         auto* L = R.Add<TvqrLineView>();
         L->SetBounds(100, 100, 0, 100);
         L->SetArrowEnd(true);
         L->SetArrowSolid(true);
       },
       // the join and fill colour come before the path; the base is straight above the tip
       {"1 j\r\n0 0 0 rg\r\n", "\r\nb\r\n"}},
      {"horizontal arrow",
       [](TSingleViewReport& R) {
         auto* L = R.Add<TvqrLineView>();
         L->SetBounds(100, 100, 100, 0);
         L->SetArrowStart(true);
       },
       {" l\r\nS\r\n"}, {"1 j"}},
  };
  for (const auto& C : Cases) {
    TSingleViewReport R;
    C.Build(R);
    const std::string Content = R.Content();
    for (const char* S : C.Snippets)
      EXPECT_NE(Content.find(S), std::string::npos) << C.Name << ": " << S << "\n" << Content;
    for (const char* S : C.Absent)
      EXPECT_EQ(Content.find(S), std::string::npos) << C.Name << ": " << S << "\n" << Content;
  }
}

TEST(PdfContent, LinesArePlacedByAlignmentIndentAndHeight) {
  TSingleViewReport R;
  auto* M = Memo(R, u"a\r\n\r\nb");
  M->SetParagraphGap(20);
  const std::string Content = R.Content();
  std::vector<std::pair<double, double>> Td;
  for (std::size_t P = Content.find(" Td\r\n"); P != std::string::npos; P = Content.find(" Td\r\n", P + 1)) {
    const std::size_t Start = Content.rfind("BT\r\n", P) + 4;
    double X = 0, Y = 0;
    std::sscanf(Content.c_str() + Start, "%lf %lf", &X, &Y);
    Td.push_back({X, Y});
  }
  ASSERT_EQ(Td.size(), 2u) << Content;
  // The first line is indented by 20 px (15 pt); the empty second line still takes its height.
  EXPECT_NEAR(Td[0].first - Td[1].first, 15.0, 0.02);
  const double LineHeight = (Td[0].second - Td[1].second) / 2;
  EXPECT_GT(LineHeight, 8);
  EXPECT_LT(LineHeight, 14);
}

TEST(PdfContent, TextMapsFollowClustersAndMissingGlyphsStayOut) {
  TSingleViewReport R;
  auto* Lig = Memo(R, u"office fine flat");
  Lig->Font()->SetName(u"DejaVu Sans");
  // Later plain uses of the ligature's letters must not be displaced by the ligature.
  auto* Plain = Memo(R, u"if lift");
  Plain->Font()->SetName(u"DejaVu Sans");
  Plain->SetTop(200);
  auto* Rtl = Memo(R, u"שלום abc");
  Rtl->SetTop(300);
  Rtl->SetRTLReading(true);
  auto* Odd = Memo(R, u"a\u0001b \U0001F600 \u4E2D");   // a control, an emoji, a CJK letter
  Odd->SetTop(400);
  const std::string Path = "/tmp/vorenta-pdf-text-" + std::to_string(::getpid()) + ".pdf";
  TMemoryStream Unused;
  (void)Unused;
  R.Content();
  TvqrPDFExport F(TvqrCustomExportFilter::NoRegisterTag{});
  F.SetShowDialog(false);
  F.SetShowProgress(false);
  F.SetFileName(Utf8ToString(Path));
  ASSERT_TRUE(R.Report()->Export(&F));
  int Code = -1;
  CommandOutput("qpdf --check " + Path + " 2>&1", &Code);
  EXPECT_EQ(Code, 0);
  const std::string Text = CommandOutput("pdftotext " + Path + " - 2>/dev/null");
  EXPECT_NE(Text.find("office fine flat"), std::string::npos) << Text;
  EXPECT_NE(Text.find("if lift"), std::string::npos) << Text;
  EXPECT_NE(Text.find("abc"), std::string::npos) << Text;
  EXPECT_NE(Text.find("שלום"), std::string::npos) << Text;
  const std::string Pdf = CommandOutput("qpdf --qdf --object-streams=disable " + Path + " - 2>/dev/null");
  // The "fi" ligature glyph maps to both letters.
  EXPECT_NE(Pdf.find("> <00660069>"), std::string::npos);
  // Glyph 0 (the control, the emoji and the CJK letter Arial lacks) has no text: the only
  // "<0000> <" is the code space range.
  EXPECT_EQ(Pdf.find("<0000> <"), Pdf.find("<0000> <FFFF>"));
  EXPECT_EQ(Pdf.find("<0000> <", Pdf.find("<0000> <FFFF>") + 1), Pdf.find("<0000> <FFFF>", Pdf.find("<0000> <FFFF>") + 1));
  if (!std::getenv("VORENTA_PDF_KEEP")) std::remove(Path.c_str());
}

// A text is shaped once per font and reading order: the second use gives the same glyphs and
// advances, and the other reading order is shaped on its own.
TEST(PdfContent, RepeatedTextsGiveTheGlyphsOfTheirReadingOrder) {
  TFont Font;
  Font.SetName(u"Liberation Sans");
  TvqrPDFFont Pdf(&Font);
  const std::u16string Text = u"abc שלום 12,50";
  std::vector<double> First, Again;
  const auto Ltr = Pdf.RemapString(Text, false, &First);
  const std::size_t Used = Pdf.UsedGlyphs().size();
  EXPECT_EQ(Pdf.RemapString(Text, false, &Again), Ltr);
  EXPECT_EQ(Again, First);
  EXPECT_EQ(Pdf.UsedGlyphs().size(), Used);
  const auto Rtl = Pdf.RemapString(Text, true);
  ASSERT_EQ(Rtl.size(), Ltr.size());
  EXPECT_NE(Rtl, Ltr);   // the Latin run and the number come after the Hebrew one
  EXPECT_EQ(Pdf.RemapString(Text, true), Rtl);
}

// In a left-to-right text a right-to-left run (Hebrew, Arabic, Hebrew with a point) comes out
// as it is shaped alone: reversed.
TEST(PdfContent, RightToLeftRunsOfALeftToRightTextAreReversed) {
  TFont Font;
  Font.SetName(u"DejaVu Sans");
  TvqrPDFFont Pdf(&Font);
  for (const std::u16string Run : {u"שלום", u"\u0633\u0644\u0627\u0645", u"\u05D0\u05B8\u05D1"}) {
    const auto Alone = Pdf.RemapString(Run, true);
    const auto Mixed = Pdf.RemapString(u"ab " + Run, false);
    ASSERT_GE(Mixed.size(), Alone.size());
    EXPECT_TRUE(std::equal(Alone.begin(), Alone.end(), Mixed.end() - std::ptrdiff_t(Alone.size())))
        << StringToUtf8(Run);
  }
}

// A glyph's width is its own advance, not the one kerning gave it next to its first neighbour
// ("A" before "V", Cyrillic "Т" before "у"): lines are written as glyph strings placed by the
// widths, so a kerned width would narrow every later use.
TEST(PdfContent, GlyphWidthsLeaveOutKerning) {
  TFont Font;
  Font.SetName(u"Liberation Sans");
  for (const auto& [Pair, Letter] : {std::pair{u"AV", u"A"}, std::pair{u"Ту", u"Т"}}) {
    TvqrPDFFont InPair(&Font), Alone(&Font);
    std::vector<double> Advances;
    InPair.RemapString(Pair, false, &Advances);
    Alone.RemapString(Letter, false);
    const int Own = Alone.UsedGlyphs()[0].Width;
    EXPECT_LT(std::lround(Advances[0]), Own) << "no kerning in " << StringToUtf8(Pair);
    EXPECT_EQ(InPair.UsedGlyphs()[0].Width, Own) << StringToUtf8(Pair);
  }
}

// Layouts are remembered per document: the same text in another box or font still wraps as
// it would alone.
TEST(PdfContent, RepeatedTextsWrapByTheirOwnBoxAndFont) {
  using TSetup = std::function<void(TvqrMemoView*)>;
  const TSetup Wide = [](TvqrMemoView*) {};
  const TSetup Narrow = [](TvqrMemoView* M) { M->SetWidth(60); };
  const TSetup Large = [](TvqrMemoView* M) { M->Font()->SetSize(24); };
  const TSetup Spaced = [](TvqrMemoView* M) { M->SetCharSpacing(6); };
  auto Lines = [](std::vector<TSetup> Setups) {
    TSingleViewReport R;
    int Top = 0;
    for (const TSetup& Setup : Setups) {
      auto* M = Memo(R, u"alpha beta gamma delta");
      M->SetTop(Top += 100);
      Setup(M);
    }
    const std::string Content = R.Content();
    int Count = 0;
    for (auto P = Content.find("BT\r\n"); P != std::string::npos; P = Content.find("BT\r\n", P + 1)) ++Count;
    return Count;
  };
  ASSERT_EQ(Lines({Wide}), 1);
  for (const TSetup& Other : {Narrow, Large, Spaced}) {
    ASSERT_GT(Lines({Other}), 1);
    EXPECT_EQ(Lines({Wide, Other}), 1 + Lines({Other}));
    EXPECT_EQ(Lines({Other, Wide}), Lines({Other}) + 1);
  }
}

// A document remembers texts' glyphs and frame lines' operators: a memo written after others
// of other fonts, reading orders or frame lines still gets its own.
TEST(PdfContent, RepeatedTextsAndFramesKeepTheirOwnGlyphsAndLines) {
  using TSetup = std::function<void(TvqrMemoView*)>;
  const TSetup Setups[] = {
      [](TvqrMemoView*) {},
      [](TvqrMemoView* M) { M->Font()->SetName(u"DejaVu Sans"); },
      [](TvqrMemoView* M) { M->Font()->SetStyle({fsBold}); },
      [](TvqrMemoView* M) { M->SetRTLReading(true); },
      [](TvqrMemoView* M) {
        M->Frame()->SetTyp({ftLeft, ftTop});
        M->Frame()->LeftLine()->SetStyle(fsDash);
        M->Frame()->TopLine()->SetWidth(3);
      },
  };
  // The memos share one place, so each one's operators are the same alone or after others
  // (but for the font resource's number, given in order of use).
  auto Content = [](std::vector<TSetup> List) {
    TSingleViewReport R;
    for (const TSetup& Setup : List) {
      auto* M = Memo(R, u"abc שלום 12,50");
      M->Frame()->SetTyp({ftLeft, ftRight, ftTop, ftBottom});
      Setup(M);
    }
    const std::string All = R.Content();
    return std::regex_replace(All.substr(All.find("q\r\n")), std::regex("/F[0-9]+ "), "/F ");
  };
  for (const TSetup& A : Setups)
    for (const TSetup& B : Setups) EXPECT_EQ(Content({A, B}), Content({A}) + Content({B}));
}

TEST(PdfContent, HugePicturesDrawAtALowerScale) {
  TSingleViewReport R;
  auto* M = Memo(R, u"x");
  M->SetWordWrap(false);
  M->SetBounds(0, 0, 100, 20);   // 300 x 60 pixels at scale 3: kept
  auto* Huge = Memo(R, u"y");
  Huge->SetWordWrap(false);
  Huge->SetBounds(0, 0, 4000, 10);   // scale 3 would give 12,000 pixels
  const std::string Content = R.Content();
  EXPECT_NE(Content.find("/W 303\r\n/H 63\r\n"), std::string::npos);
  const auto At = Content.find("/W ", Content.find("/W 303") + 1);
  ASSERT_NE(At, std::string::npos);
  EXPECT_LE(std::stoi(Content.substr(At + 3)), 8000);
  EXPECT_GE(std::stoi(Content.substr(At + 3)), 7990);
}

// Numbers are written as FloatToFixedText(2, '.', X) gives them; the quick route for values away
// from a rounding tie must agree with it everywhere, ties, signs and huge values included.
TEST(PdfContent, NumbersMatchTheFixedTextOfTwoDecimals) {
  std::vector<Extended> Values = {0,       -0.0L,    0.005L,  -0.005L, 0.004L,  -0.004L, 0.125L,
                                  1.005L,  2.675L,   0.995L,  9.995L,  99.995L, 595.275L,
                                  841.89L, 0.1L,     -12.345L, 1e7L - 0.005L, 1e7L,   -1e7L,
                                  1e15L,   -3.7e17L, 1e19L,   12.5e-2L, 0.75L * 718};
  // Quarter pixels at 0.75 points a pixel and the page's margins hit ties and near-ties often.
  for (int I = -4000; I <= 4000; ++I) Values.push_back(I * 0.0025L + 28.35L);
  unsigned Seed = 12345;
  for (int I = 0; I < 20000; ++I) {
    Seed = Seed * 1103515245u + 12345u;
    Values.push_back((Extended(Seed % 2000000) - 1000000) / Extended(1 + Seed % 997));
  }
  for (Extended X : Values) {
    ASSERT_EQ(vqrpdf::Num(X), StringToUtf8(FloatToFixedText(2, u'.', X))) << double(X);
    if (std::fabs(X) < 1e9L) {
      ASSERT_EQ(vqrpdf::RoundToInt(X), int(std::nearbyint(X))) << double(X);
    }
  }
  // Pixel rounding takes halves to even, as nearbyint does.
  const std::pair<Extended, int> Rounded[] = {{0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {-0.5L, 0},
                                              {-2.5L, -2}, {2.5000000001L, 3}, {-1.4999L, -1}};
  for (const auto& [X, Expected] : Rounded) EXPECT_EQ(vqrpdf::RoundToInt(X), Expected) << double(X);
}
