// vqrDMPClassTest.cpp - dot-matrix objects: snapping to the character grid, the page defaults,
// font styles passed down from the page, attribute differences and printer commands.
#include "report/core/vqrDMPClass.h"

#include <gtest/gtest.h>

#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrDsgnIntf.h"

namespace {

struct DMPFixture : ::testing::Test {
  void SetUp() override { vqrModuleInitialize(); }
  void TearDown() override { vqrModuleFinalize(); }
};

// The module's start puts the three objects into the object registry under the dot-matrix
// category, and its end takes them out.
TEST(DMPRegistry, ObjectsAreRegisteredWhileTheModuleRuns) {
  vqrModuleInitialize();
  const std::pair<TClass, int> Expected[] = {{TvqrDMPMemoView::ClassInfo(), 2},
                                             {TvqrDMPLineView::ClassInfo(), 5},
                                             {TvqrDMPCommand::ClassInfo(), 21}};
  for (const auto& [Class, Image] : Expected) {
    EXPECT_EQ(ObjectRegistry()->ImageIndexOf(Class), Image);
    bool Dmp = false;
    for (int I = 0; I < ObjectRegistry()->Count(); ++I)
      if (ObjectRegistry()->Items(I)->ClassRef == Class) Dmp = ObjectRegistry()->Items(I)->Category == TvqrObjectCategories{ctDMP};
    EXPECT_TRUE(Dmp);
  }
  vqrModuleFinalize();
  EXPECT_EQ(ObjectRegistry()->ImageIndexOf(TvqrDMPCommand::ClassInfo()), -1);
}

TEST_F(DMPFixture, TextLineAndCommandSnapToTheCells) {
  TvqrDMPPage Page(nullptr);
  struct Case { Extended Left; bool Right; Extended Expected; };
  for (const Case& C : {Case{100, false, 96}, Case{100, true, 96}, Case{105, false, 105.6L}, Case{105, true, 96}}) {
    auto* M = new TvqrDMPMemoView(&Page);
    M->SetParent(&Page);
    if (C.Right) M->SetAlign(baRight);
    M->SetLeft(C.Left);
    EXPECT_NEAR(double(M->Left()), double(C.Expected), 1e-9) << double(C.Left) << C.Right;
  }
  auto* M = new TvqrDMPMemoView(&Page);
  M->SetParent(&Page);
  M->SetHeight(40);
  EXPECT_EQ(M->Height(), 34);
  auto* L = new TvqrDMPLineView(&Page);
  L->SetParent(&Page);
  L->SetLeft(100);
  EXPECT_NEAR(double(L->Left()), 100.8, 1e-9);
  L->SetLeft(-5);
  EXPECT_NEAR(double(L->Left()), -4.8, 1e-9);
  TvqrDMPCommand Cmd(nullptr);
  Cmd.SetLeft(100);
  EXPECT_NEAR(double(Cmd.Left()), 96, 1e-9);
}

TEST_F(DMPFixture, PageDefaultsAreWholeCells) {
  TvqrDMPPage Page(nullptr);
  Page.SetDefaults();
  EXPECT_NEAR(double(Page.PaperWidth()), 208.28, 0.01);   // 82 cells
  EXPECT_NEAR(double(Page.PaperHeight()), 296.86, 0.01);  // 66 cells
  EXPECT_NEAR(double(Page.LeftMargin()), 2.54, 0.01);
  EXPECT_NEAR(double(Page.TopMargin()), 4.50, 0.01);
  EXPECT_EQ(Page.Font()->Name(), u"Courier New");
}

TEST_F(DMPFixture, PageStyleReachesObjectsAndDiffsWriteIt) {
  TvqrDMPPage Page(nullptr);
  auto* M = new TvqrDMPMemoView(&Page);
  M->SetParent(&Page);
  M->SetParentFont(true);
  Page.SetFontStyle(TvqrDMPFontStyles{fsxBold});
  EXPECT_TRUE(M->FontStyle().Contains(fsxBold));
  EXPECT_TRUE(M->Font()->Style().Contains(fsBold));
  TvqrDMPMemoView Same(nullptr);
  Same.SetFontStyle(TvqrDMPFontStyles{fsxBold});
  EXPECT_EQ(M->Diff(&Same).find(u"FontStyle"), String::npos);
  TvqrDMPMemoView Plain(nullptr);
  EXPECT_NE(M->Diff(&Plain).find(u" FontStyle=\"1\""), String::npos);
}

TEST_F(DMPFixture, CommandsTurnIntoCharacters) {
  TvqrDMPCommand C(nullptr);
  struct Case { const char16_t* Command; String Chars; };
  for (const Case& K : {Case{u"#27#64", String{char16_t(27), char16_t(64)}},
                        Case{u"1B40", String{char16_t(27), char16_t(64)}},
                        Case{u"1B4", String{char16_t(27)}}}) {
    C.SetCommand(K.Command);
    EXPECT_EQ(C.ToChr(), K.Chars);
  }
  C.SetCommand(u"#2x");
  EXPECT_THROW(C.ToChr(), EConvertError);
  TvqrDMPMemoView M(nullptr);
  M.SetBoundsDirect(0, 0, 3 * vq1CharX, 2 * vq1CharY);
  M.Lines()->SetText(u"abcdef\r\nghijk\r\nlmn");
  EXPECT_EQ(M.GetoutBoundText(), u"abc\r\nghi\r\n");
}

}  // namespace
