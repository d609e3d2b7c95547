// PaperMappingTest.cpp - PWG names to paper codes, twin folding, millimetre rounding, bins from
// media-source keywords, sides and the default destination.
#include <gtest/gtest.h>

#include "platform/printing/PaperMapping.h"

namespace {

TEST(PaperMappingTest, PwgNamesAndPaperCodes) {
  struct Row {
    const char* Name;
    int Code;
  } Rows[] = {
      {"iso_a4_210x297mm", 9},
      {"iso_a4_210x297mm_borderless", 9},
      {"na_letter_8.5x11in", 1},
      {"iso_a5_148x210mm", 11},
      {"iso_a3_297x420mm", 8},
      {"jis_b5_182x257mm", 13},
      {"na_legal_8.5x14in", 5},
      {"iso_b6_125x176mm", 35},
      {"iso_a4", 0},                   // only the full self-describing name matches
      {"_borderless", 0},
      {"om_small-photo_100x150mm", 0},
      {"", 0},
  };
  for (const Row& R : Rows) {
    EXPECT_EQ(PwgPaperCode(R.Name), R.Code) << R.Name;
    if (R.Code != 0 && !IsBorderlessMedia(R.Name)) {
      EXPECT_EQ(PaperCodePwg(R.Code), R.Name);
    }
  }
  EXPECT_EQ(PaperCodePwg(256), "");
  EXPECT_EQ(PaperCodePwg(48), "");
}

TEST(PaperMappingTest, PaperListFoldsTwinsAndNumbersUnknownMediaAbove256) {
  const std::vector<TMediaSize> Media = {
      {"na_letter_8.5x11in_borderless", 21590, 27940, 0, 0, 0, 0},
      {"om_small-photo_100x150mm", 10000, 15000, 300, 300, 300, 300},
      {"iso_a4_210x297mm", 21000, 29700, 423, 423, 423, 423},
      {"na_letter_8.5x11in", 21590, 27940, 635, 635, 635, 635},
      {"iso_a4_210x297mm_borderless", 21000, 29700, 0, 0, 0, 0},
      {"custom_card_90x50mm", 9000, 5000, 0, 0, 0, 0},
      {"om_small-photo_100x150mm_borderless", 10000, 15000, 0, 0, 0, 0},
  };
  const std::vector<TQueuePaper> Papers = BuildPaperList(Media);
  struct Row {
    int Code;
    const char* Name;
    int Left;
  } Expected[] = {
      {1, "na_letter_8.5x11in", 635},  // the bordered twin replaces the borderless one
      {257, "om_small-photo_100x150mm", 300},
      {9, "iso_a4_210x297mm", 423},
      {258, "custom_card_90x50mm", 0},
  };
  ASSERT_EQ(Papers.size(), std::size(Expected));
  for (size_t I = 0; I < Papers.size(); ++I) {
    EXPECT_EQ(Papers[I].Code, Expected[I].Code) << I;
    EXPECT_EQ(Papers[I].Media.Name, Expected[I].Name) << I;
    EXPECT_EQ(Papers[I].Media.Left, Expected[I].Left) << I;
  }
}

TEST(PaperMappingTest, BorderlessOnlyQueueKeepsItsMediaUnderTheTableCode) {
  // A PDF queue lists every medium borderless only, with A4 slightly off size.
  const std::vector<TQueuePaper> Papers =
      BuildPaperList({{"iso_a4_210x297mm_borderless", 20990, 29704, 0, 0, 0, 0},
                      {"na_letter_8.5x11in_borderless", 21590, 27940, 0, 0, 0, 0}});
  ASSERT_EQ(Papers.size(), 2u);
  EXPECT_EQ(Papers[0].Code, 9);
  EXPECT_EQ(Papers[1].Code, 1);
}

TEST(PaperMappingTest, MillimetresRoundTiesToEvenAndMarginsFillThePaper) {
  struct Row {
    TMediaSize Media;
    TPaperMillimetres Mm;
  } Rows[] = {
      {{"a4", 21000, 29700, 423, 423, 423, 423}, {210, 297, 4, 4, 4, 4}},
      {{"pdf a4", 20990, 29704, 0, 0, 0, 0}, {210, 297, 0, 0, 0, 0}},
      {{"letter", 21590, 27940, 635, 635, 635, 635}, {216, 279, 6, 6, 7, 6}},
      {{"ties", 25050, 35150, 250, 350, 150, 450}, {250, 352, 2, 4, 2, 4}},
      {{"empty", 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
  };
  for (const Row& R : Rows) {
    const TPaperMillimetres M = MediaMillimetres(R.Media);
    EXPECT_EQ(M.Width, R.Mm.Width) << R.Media.Name;
    EXPECT_EQ(M.Height, R.Mm.Height) << R.Media.Name;
    EXPECT_EQ(M.Left, R.Mm.Left) << R.Media.Name;
    EXPECT_EQ(M.Top, R.Mm.Top) << R.Media.Name;
    EXPECT_EQ(M.Right, R.Mm.Right) << R.Media.Name;
    EXPECT_EQ(M.Bottom, R.Mm.Bottom) << R.Media.Name;
  }
}

TEST(PaperMappingTest, BinsFromMediaSource) {
  const std::vector<TQueueBin> Bins = BuildBinList(
      {"auto", "tray-1", "tray-2", "manual", "main", "photo", "auto", "by-pass-tray"});
  struct Row {
    int Code;
    const char* Keyword;
  } Expected[] = {
      {7, "auto"},   {1, "tray-1"}, {2, "tray-2"}, {4, "manual"},
      {256, "main"},  // code 1 is tray-1's already: a code of its own keeps bins apart
      {257, "photo"}, {258, "by-pass-tray"},
  };
  ASSERT_EQ(Bins.size(), std::size(Expected));
  for (size_t I = 0; I < Bins.size(); ++I) {
    EXPECT_EQ(Bins[I].Code, Expected[I].Code) << I;
    EXPECT_EQ(Bins[I].Keyword, Expected[I].Keyword) << I;
    EXPECT_EQ(BinKeyword(Bins, Expected[I].Code), Expected[I].Keyword) << I;
  }
  EXPECT_EQ(BinKeyword(Bins, 3), "");
  EXPECT_TRUE(BuildBinList({}).empty());
  EXPECT_EQ(MediaSourceBinCode("Auto"), 0);  // keywords are lower case; no folding
}

TEST(PaperMappingTest, SidesAndDuplexValues) {
  struct Row {
    int Duplex;
    const char* Sides;
  } Rows[] = {{1, "one-sided"}, {2, "two-sided-long-edge"}, {3, "two-sided-short-edge"}};
  for (const Row& R : Rows) {
    EXPECT_EQ(SidesKeyword(R.Duplex), R.Sides);
    EXPECT_EQ(SidesDuplex(R.Sides), R.Duplex);
  }
  EXPECT_EQ(SidesKeyword(0), "");
  EXPECT_EQ(SidesKeyword(4), "");
  EXPECT_EQ(SidesDuplex("two-sided"), 0);
}

TEST(PaperMappingTest, DefaultIndexIsTheMarkedOneElseZero) {
  EXPECT_EQ(DefaultIndex({}), 0);
  EXPECT_EQ(DefaultIndex({false, false}), 0);
  EXPECT_EQ(DefaultIndex({false, true, false}), 1);
}

}  // namespace
