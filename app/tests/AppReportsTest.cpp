// AppReportsTest.cpp - the application's reports prepared by the real engine over the sample
// database: groups and totals of an order, a recipe, the two price lists, page macros, and a
// look at page 1 of each report drawn on a bitmap.
#include <algorithm>
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

class AppReports : public AppReportsFixture {
protected:

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
  static std::string Joined(const std::vector<String>& Texts) {
    std::string All;
    for (const String& S : Texts) All += StringToUtf8(S) + " | ";
    return All;
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

};

TEST_F(AppReports, OrderSevenHasThreeGroupsAndItsTotal) {
  GoToOrder(3);
  Module->PreviewOrder();
  // The preview empties the pages and prepares again on its timer; prepare here instead.
  Real->PrepareReport(u"vqrRepOrd", true);
  TvqrReport* R = Real->Report(u"vqrRepOrd");
  ASSERT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
  std::vector<String> T = Texts(u"vqrRepOrd");
  const std::string All = Joined(T);
  // Two colours, then the extra payments whose colour name is empty; each footer ends in the
  // group's sum, and the summary holds the order total.
  struct {
    const char16_t* Footer;
    const char16_t* Sum;
  } const Groups[] = {{u"Итого   К 10-01:", u"1\u00A0500"},
                      {u"Итого   Л 10-02:", u"1\u00A0210"},
                      {u"Итого   :", u"800"}};
  std::size_t From = 0;
  for (const auto& G : Groups) {
    auto At = std::find(T.begin() + static_cast<std::ptrdiff_t>(From), T.end(), String(G.Footer));
    ASSERT_NE(At, T.end()) << StringToUtf8(G.Footer) << " in " << All;
    From = static_cast<std::size_t>(At - T.begin());
    ASSERT_LT(From + 4, T.size());
    EXPECT_EQ(T[From + 4], G.Sum) << All;
  }
  auto Total = std::find(T.begin(), T.end(), String(u"Итого  по заказу"));
  ASSERT_NE(Total, T.end()) << All;
  ASSERT_NE(Total + 1, T.end());
  EXPECT_EQ(*(Total + 1), u"3\u00A0510") << All;
  EXPECT_LT(From, static_cast<std::size_t>(Total - T.begin()));
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
  const std::string All = Joined(T);
  EXPECT_TRUE(Has(T, u"К 10-01")) << All;
  EXPECT_TRUE(Has(T, u"09.12.2025 12:00:00")) << All;  // [Date] [Time] on a pinned clock
  // Three lines: the base and two pastes, with their share, mass and sum.
  const std::vector<std::vector<String>> Lines = {
      {u"База", u"База A (белая)", u"80", u"10", u"100", u"1\u00A0000"},
      {u"Колеровочная паста", u"Паста желтая оксидная", u"15", u"1,875", u"330", u"619"},
      {u"Колеровочная паста", u"Паста красная оксидная", u"5", u"0,625", u"500", u"313"}};
  for (const auto& Line : Lines) {
    auto At = std::search(T.begin(), T.end(), Line.begin(), Line.end());
    EXPECT_NE(At, T.end()) << StringToUtf8(Line[1]) << " in " << All;
  }
  int Rows = 0;
  for (const String& S : T) Rows += S == u"Колеровочная паста" || S == u"База";
  EXPECT_EQ(Rows, 3) << All;
  const std::vector<String> Totals = {u"Итого:", u"12,5", u"", u"1\u00A0931"};
  EXPECT_NE(std::search(T.begin(), T.end(), Totals.begin(), Totals.end()), T.end()) << All;
  SavePng(u"vqrRepColor");
}

// Enough colours for the price list to fill both columns of its first page: the column header
// prints at the top of each column, the rows continue in the second column, and a colour whose
// recipe does not sum to 100 % is left out.
TEST_F(AppReports, TheColourPriceListRunsInTwoColumns) {
  Exec(u"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 150) "
       u"INSERT INTO DS_COLOR (NM, COLOR_TP_ID, AM, BASE_ID, IND, PRICE1) "
       u"SELECT 'Я ' || (1000 + I), 1, 100, 1, 90, I FROM N");
  Exec(u"INSERT INTO DS_COLOR_REC (COLOR_ID, LKM_TP_ID, LKM_ID, LKM_REC_ID, AM) "
       u"SELECT ID, 1, 1, 1, 100 FROM DS_COLOR WHERE NM LIKE 'Я %'");
  Module->PreviewColourPriceList();
  Real->PrepareReport(u"vqrRepColorPrice", true);
  TvqrReport* R = Real->Report(u"vqrRepColorPrice");
  ASSERT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
  TvqrPreviewPages* S = Store(u"vqrRepColorPrice");
  ASSERT_GE(S->Count(), 1);
  TvqrReportPage* First = S->Page(0);
  const Extended SecondColumn = First->ColumnWidth() * vq01cm;  // in pixels
  int Headers[2] = {0, 0}, Rows[2] = {0, 0};
  for (TvqrComponent* Obj : First->AllObjects()) {
    auto* Memo = dynamic_cast<TvqrMemoView*>(Obj);
    if (!Memo) continue;
    const int Column = Memo->AbsLeft() >= SecondColumn - 1 ? 1 : 0;
    const String Text = Trim(Memo->Text());
    if (Text == u"Наименование") ++Headers[Column];
    if (Text.rfind(u"Я 1", 0) == 0) ++Rows[Column];
  }
  EXPECT_EQ(Headers[0], 1);
  EXPECT_EQ(Headers[1], 1);
  EXPECT_GT(Rows[0], 10);
  EXPECT_GT(Rows[1], 10);
  std::vector<String> T = Texts(u"vqrRepColorPrice");
  int Listed = 0;
  for (const String& Text : T) Listed += Text.rfind(u"Я 1", 0) == 0;
  EXPECT_EQ(Listed, 150);
  for (const String& Text : T) EXPECT_EQ(Text.find(u"К 21-12"), String::npos);  // 99,99 %
  EXPECT_TRUE(Has(T, u"стр. 1 из [TotalPages#]"));
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
}

// The material price list: one group per material type, each with its own materials.
TEST_F(AppReports, TheMaterialPriceListIsGroupedByType) {
  Module->PreviewMaterialPriceList();
  Real->PrepareReport(u"vqrRepLKMPrice", true);
  TvqrReport* R = Real->Report(u"vqrRepLKMPrice");
  ASSERT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
  std::vector<String> T = Texts(u"vqrRepLKMPrice");
  const std::string All = Joined(T);
  auto Find = [&](const String& Text) {
    return std::find(T.begin(), T.end(), Text) - T.begin();
  };
  const auto Bases = Find(u"База"), Pastes = Find(u"Колеровочная паста");
  ASSERT_LT(Bases, Pastes) << All;
  ASSERT_LT(Pastes, static_cast<std::ptrdiff_t>(T.size())) << All;
  for (const char16_t* Base : {u"Эмаль ПФ база A 0,9 кг", u"Эмаль ПФ база C 0,9 кг"}) {
    EXPECT_GT(Find(Base), Bases) << All;
    EXPECT_LT(Find(Base), Pastes) << All;
  }
  for (const char16_t* Paste : {u"Паста желтая 1 л", u"Паста черная 1 л"})
    EXPECT_GT(Find(Paste), Pastes) << All;
  EXPECT_TRUE(Has(T, u"Паста черная 0,5 л без цены")) << All;
  EXPECT_EQ(Find(u"Доп. платеж"), static_cast<std::ptrdiff_t>(T.size()));  // a type without materials
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
