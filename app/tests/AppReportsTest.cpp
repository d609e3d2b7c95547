// AppReportsTest.cpp - the application's reports prepared by the real engine over the sample
// database: groups and totals of an order, a recipe, the two price lists, page macros, and a
// look at page 1 of each report drawn on a bitmap.
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/AppReports.h"
#include "app/tests/AppFixture.h"
#include "platform/controls/Timer.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Picture.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrEngine.h"
#include "report/core/vqrPreviewPages.h"

namespace {

class AppReports : public AppFixture {
protected:
  void SetUp() override {
    AppFixture::SetUp();
    TvqrEngine::SetClockForTests([] { return 46000.5; });  // 09.12.2025 12:00:00
    Real = std::make_unique<TAppReports>(Module.get());
    Module->Reports = Real.get();
  }
  void TearDown() override {
    Module->Reports = &Reports;
    Real.reset();
    TvqrEngine::SetClockForTests(nullptr);
    AppFixture::TearDown();
  }

  TvqrPreviewPages* Store(const String& Name) {
    return static_cast<TvqrPreviewPages*>(Real->Report(Name)->PreviewPages());
  }
  // The texts of every text object, page by page in output order.
  std::vector<String> Texts(const String& Name) {
    std::vector<String> Out;
    TvqrPreviewPages* S = Store(Name);
    std::function<void(TvqrXMLItem*)> Walk = [&](TvqrXMLItem* Item) {
      for (int I = 0; I < Item->Count(); ++I) {
        if (Item->Items(I)->PropExists(u"u")) Out.push_back(Trim(Item->Items(I)->Prop(u"u")));
        Walk(Item->Items(I));
      }
    };
    for (int P = 0; P < S->Count(); ++P) Walk(S->PagesItem()->Items(P));
    return Out;
  }
  bool Has(const std::vector<String>& Texts, const String& Text) {
    return std::find(Texts.begin(), Texts.end(), Text) != Texts.end();
  }
  // Draws page 1 on a bitmap and saves it as a test artefact (a look at the layout).
  void SavePng(const String& Name) {
    TvqrPreviewPages* S = Store(Name);
    ASSERT_GT(S->Count(), 0);
    TBitmap Bitmap(800, 1131);
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(Rect(0, 0, 800, 1131));
    S->DrawPage(0, Bitmap.Canvas(), 1, 1, 0, 0);
    std::filesystem::path Out = std::filesystem::temp_directory_path() / "vorenta-report-looks";
    std::filesystem::create_directories(Out);
    TPngImage Png;
    Png.Bitmap()->Assign(&Bitmap);
    std::ofstream File(Out / (StringToUtf8(Name) + ".png"), std::ios::binary);
    File << Png.SaveToBytes();
    EXPECT_GT(Png.Width(), 0);
  }

  std::unique_ptr<TAppReports> Real;
};

TEST_F(AppReports, OrderSevenHasThreeGroupsAndItsTotal) {
  GoToOrder(3);
  Module->PreviewOrder();
  // The preview empties the pages and prepares again on its timer; prepare here instead.
  Real->PrepareReport(u"vqrRepOrd", true);
  TvqrReport* R = Real->Report(u"vqrRepOrd");
  ASSERT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
  std::vector<String> T = Texts(u"vqrRepOrd");
  std::string All;
  for (const String& S : T) All += StringToUtf8(S) + " | ";
  EXPECT_TRUE(Has(T, u"3\u00A0510")) << All;
  EXPECT_TRUE(Has(T, u"Итого  по заказу")) << All;
  int Groups = 0;
  for (const String& S : T)
    if (S.rfind(u"Итого ", 0) == 0 && S.back() == u':') ++Groups;
  EXPECT_EQ(Groups, 3) << All;
  SavePng(u"vqrRepOrd");
}

TEST_F(AppReports, RecipeHasItsLinesAndTotals) {
  GoToColour(1);
  Module->Calculate(Variant(10.0));
  Module->PreviewRecipe(TCalcMode::BaseMass, 0);
  Real->PrepareReport(u"vqrRepColor", true);
  TvqrReport* R = Real->Report(u"vqrRepColor");
  ASSERT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
  std::vector<String> T = Texts(u"vqrRepColor");
  std::string All;
  for (const String& S : T) All += StringToUtf8(S) + " | ";
  EXPECT_TRUE(Has(T, u"К 10-01")) << All;
  EXPECT_TRUE(Has(T, u"Итого:")) << All;
  EXPECT_TRUE(Has(T, u"09.12.2025 12:00:00")) << All;  // [Date] [Time] on a pinned clock
  SavePng(u"vqrRepColor");
}

TEST_F(AppReports, PriceListsKeepTotalPagesForDrawing) {
  Module->PreviewColourPriceList();
  Real->PrepareReport(u"vqrRepColorPrice", true);
  TvqrReport* R = Real->Report(u"vqrRepColorPrice");
  ASSERT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
  std::vector<String> T = Texts(u"vqrRepColorPrice");
  EXPECT_TRUE(Has(T, u"стр. 1 из [TotalPages#]"));
  TvqrPreviewPages* S = Store(u"vqrRepColorPrice");
  TMetafile Meta;
  {
    TMetafileCanvas Canvas(&Meta);
    S->DrawPage(0, &Canvas, 1, 1, 0, 0);
  }
  String Drawn;
  for (const TMetaTextRecord& Rec : Meta.TextRecords()) Drawn += Rec.Text;
  EXPECT_NE(Drawn.find(u"стр. 1 из " + IntToStr(S->Count())), String::npos)
      << StringToUtf8(Drawn);
  SavePng(u"vqrRepColorPrice");

 Module->PreviewMaterialPriceList();
  Real->PrepareReport(u"vqrRepLKMPrice", true);
  R = Real->Report(u"vqrRepLKMPrice");
  ASSERT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
  EXPECT_GT(Texts(u"vqrRepLKMPrice").size(), 5u);
  SavePng(u"vqrRepLKMPrice");
}

// The preview prepares twice: ShowReport(True) empties the pages and its timer prepares again.
TEST_F(AppReports, PreviewClearsAndTheTimerPreparesAgain) {
  Module->PreviewMaterialPriceList();
  TvqrReport* R = Real->Report(u"vqrRepLKMPrice");
  EXPECT_EQ(Store(u"vqrRepLKMPrice")->Count(), 0);
  ASSERT_TRUE(R->Timer()->Enabled());
  R->Timer()->OnTimer()(R->Timer());
  EXPECT_FALSE(R->Timer()->Enabled());
  EXPECT_GT(Store(u"vqrRepLKMPrice")->Count(), 0);
  EXPECT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
}

}  // namespace
