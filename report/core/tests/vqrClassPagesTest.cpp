// vqrClassPagesTest.cpp - report pages: paper table, orientation, rounding, columns, the page
// count and the alignment of bands.
#include <gtest/gtest.h>

#include "platform/rtl/FormatSettings.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrPaperSizes.h"

TEST(vqrPaperSizes, SixtySixCodesWithTheirSizes) {
  int Count = 0;
  vqrPaperSizes(Count);
  EXPECT_EQ(Count, 66);
  struct TCase {
    int Code;
    bool Found;
    double Width, Height;
  };
  const TCase Cases[] = {{9, true, 210, 297},    {35, true, 176, 125}, {68, true, 322, 445},
                         {48, false, -1, -1},    {256, false, -1, -1}, {0, false, -1, -1}};
  for (const TCase& C : Cases) {
    Extended W = -1, H = -1;
    EXPECT_EQ(LookupPaperSize(C.Code, W, H), C.Found) << C.Code;
    EXPECT_EQ(double(W), C.Width) << C.Code;
    EXPECT_EQ(double(H), C.Height) << C.Code;
  }
}

TEST(vqrReportPage, ANewPageIsA4PortraitWithoutMargins) {
  TvqrReportPage Page(nullptr);
  EXPECT_EQ(double(Page.PaperWidth()), 210.0);
  EXPECT_EQ(double(Page.PaperHeight()), 297.0);
  EXPECT_EQ(double(Page.Width()), 794.0);
  EXPECT_EQ(double(Page.Height()), 1123.0);
  EXPECT_EQ(double(Page.LeftMargin()), 0.0);
  EXPECT_EQ(Page.Bin(), 7);
  EXPECT_EQ(Page.PageCount(), 1);
  EXPECT_EQ(Page.Color(), clNone);
}

TEST(vqrReportPage, LandscapeRotatesTheMarginsAndBackAgain) {
  TvqrReportPage Page(nullptr);
  Page.SetLeftMargin(10), Page.SetRightMargin(20), Page.SetTopMargin(30), Page.SetBottomMargin(40);
  Page.SetOrientation(poLandscape);
  EXPECT_EQ(double(Page.LeftMargin()), 30.0);
  EXPECT_EQ(double(Page.RightMargin()), 40.0);
  EXPECT_EQ(double(Page.TopMargin()), 20.0);
  EXPECT_EQ(double(Page.BottomMargin()), 10.0);
  EXPECT_EQ(double(Page.PaperWidth()), 297.0);
  Page.SetPaperSize(11);  // A5 is looked up and swapped for landscape
  EXPECT_EQ(double(Page.PaperWidth()), 210.0);
  EXPECT_EQ(double(Page.PaperHeight()), 148.0);
  Page.SetOrientation(poPortrait);
  EXPECT_EQ(double(Page.LeftMargin()), 10.0);
  EXPECT_EQ(double(Page.BottomMargin()), 40.0);
}

TEST(vqrReportPage, PaperSizesRoundToEightDecimalsAndBecomeCustom) {
  TvqrReportPage Page(nullptr);
  Page.SetPaperWidth(100.123456789L);
  EXPECT_EQ(Page.PaperSize(), 256);
  EXPECT_EQ(Page.PaperWidth(), RoundTo8Decimals(100.123456789L));
  EXPECT_NEAR(double(Page.PaperWidth()), 100.12345679, 1e-12);
  Page.SetPaperSize(256);
  EXPECT_NEAR(double(Page.PaperWidth()), 100.12345679, 1e-12);
  Page.SetPaperSize(49);  // not in the table: the sizes stay, the code is stored
  EXPECT_EQ(Page.PaperSize(), 49);
  EXPECT_NEAR(double(Page.PaperWidth()), 100.12345679, 1e-12);
  // Halves go to the even neighbour on the scaled integer.
  EXPECT_EQ(RoundTo8Decimals(0.000000025L), 0.00000002L);
}

TEST(vqrReportPage, ColumnsShareThePrintableWidth) {
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  TvqrReportPage Page(nullptr);
  Page.SetDefaults();
  Page.SetColumns(3);
  EXPECT_NEAR(double(Page.ColumnWidth()), 190.0 / 3, 1e-9);
  ASSERT_EQ(Page.ColumnPositions()->Count(), 3);
  EXPECT_EQ(Page.ColumnPositions()->Strings(0), u"0");
  EXPECT_TRUE(Page.ColumnPositions()->Strings(1).starts_with(u"63,333333"));
  EXPECT_TRUE(Page.ColumnPositions()->Strings(2).starts_with(u"126,66666"));
  Page.SetColumns(0);
  EXPECT_EQ(Page.ColumnPositions()->Count(), 0);
  EXPECT_NEAR(double(Page.ColumnWidth()), 190.0 / 3, 1e-9);
  // More columns than millimetres of printable width is a bad value, not a huge list.
  EXPECT_THROW(Page.SetColumns(191), Exception);
  EXPECT_EQ(Page.Columns(), 0);
  EXPECT_EQ(Page.ColumnPositions()->Count(), 0);
}

TEST(vqrReportPage, PageCountBelowOneIsIgnored) {
  TvqrReportPage Page(nullptr);
  for (int Value : {0, -3}) Page.SetPageCount(Value);
  EXPECT_EQ(Page.PageCount(), 1);
  Page.SetPageCount(4);
  EXPECT_EQ(Page.PageCount(), 4);
}

TEST(vqrReportPage, BandsTakeThePrintableOrTheColumnWidth) {
  RegisterReportClasses();
  TvqrReport Report(nullptr);
  auto* Page = new TvqrReportPage(&Report);
  Page->SetDefaults();
  auto* Header = new TvqrPageHeader(Page);
  auto* Data = new TvqrMasterData(Page);
  Data->SetLeft(5);
  Page->SetColumns(2);
  Page->AlignChildren();
  EXPECT_NEAR(double(Header->Width()), 190 * 3.77953, 1e-6);
  EXPECT_NEAR(double(Data->Width()), 95 * 3.77953, 1e-6);
  EXPECT_EQ(double(Page->Width()), 794.0);  // back to the whole paper
}
