// vqrExportXLSTest.cpp - the spreadsheet wrapper and the spreadsheet export filter over a
// small hand-made page, read from the stand-in's model before saving and from the file after.
#include "report/output/vqrExportXLS.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Picture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/shell/Spreadsheet.h"
#include "platform/shell/tests/XlsxReadBack.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassPages.h"
#include "report/core/vqrClassPicture.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/StdCtrls.h"
#include "report/output/vqrExcel.h"
#include "report/output/vqrExportXLSDialog.h"
#include "report/output/vqrExportRes.h"

namespace fs = std::filesystem;

namespace {

class XlsWrapper : public ::testing::Test {
protected:
  void SetUp() override { Excel.OpenExcel(); }
  void TearDown() override { TvqrExcel::SetApplyHookForTests(nullptr); }
  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  TvqrExcel Excel;
};

}  // namespace

TEST_F(XlsWrapper, CellNamesAndTheColumnCap) {
  const struct {
    int x, y;
    const char16_t* Name;
  } Names[] = {{1, 1, u"A1"},   {26, 5, u"Z5"},  {27, 1, u"AA1"},
               {52, 1, u"AZ1"}, {53, 1, u"BA1"}, {256, 3, u"IV3"}};
  for (const auto& N : Names) EXPECT_EQ(TvqrExcel::CellName(N.x, N.y), N.Name);

  const struct {
    int x, dx;
    bool Formed;
    TSheetArea Area;
  } Ranges[] = {{250, 10, true, {0, 249, 1, 253}}, {1, 2, true, {0, 0, 1, 1}},
                {255, 1, false, {}},               {300, 1, false, {}},
                {3, 0, false, {}}};
  for (const auto& R : Ranges) {
    Excel.SetRange(R.x, 1, R.dx, 2);
    ASSERT_EQ(Excel.HasRange(), R.Formed) << R.x;
    if (R.Formed) {
      EXPECT_EQ(Excel.Range()->Areas().front(), R.Area) << R.x;
    }
  }
}

TEST_F(XlsWrapper, SizesKeepToTheirLimits) {
  Excel.SetRowSize(1, 500);
  Excel.SetRowSize(2, 0);
  Excel.SetColSize(1, 300);
  Excel.SetColSize(2, 12.5);
  EXPECT_EQ(Excel.WorkSheet()->RowHeight(0), 409);
  EXPECT_FALSE(Excel.WorkSheet()->RowHeight(1).has_value());
  EXPECT_FALSE(Excel.WorkSheet()->ColumnWidth(0).has_value());
  EXPECT_EQ(Excel.WorkSheet()->ColumnWidth(1), 12.5);
  Excel.SetPageMargin(26, 13, 52, 39, poLandscape);
  EXPECT_EQ(Excel.WorkSheet()->PageSetup().LeftMargin, 26);
  EXPECT_EQ(Excel.WorkSheet()->PageSetup().Orientation, xlLandscape);
}

TEST_F(XlsWrapper, GroupedAddressesStayWithin255Characters) {
  std::vector<std::pair<int, String>> Applied;
  TvqrExcel::SetApplyHookForTests([&](int Kind, const String& Text) { Applied.push_back({Kind, Text}); });
  Excel.WorkBook()->Styles()->Add(u"S0");
  Excel.WorkBook()->Styles()->Add(u"S1");
  std::vector<TvqrRangeItem> Styles, Frames, Rows;
  for (int y = 1; y <= 300; ++y) Styles.push_back({TvqrExcel::CellName(1, y), y <= 290 ? 0 : 1});
  Frames = {{u"A1", 0}, {u"B1", 4}, {u"B2", 4}};
  for (int y = 1; y <= 300; ++y) Rows.push_back({u"A" + IntToStr(y), y % 2});
  Excel.ApplyGroupedRanges(Styles, gkStyle, nullptr);
  Excel.ApplyGroupedRanges(Frames, gkFrames, nullptr);
  Excel.ApplyRowHeights(Rows, {15, 30}, nullptr, 300, 0);
  int StyleTexts = 0;
  for (const auto& [Kind, Text] : Applied) {
    EXPECT_LE(Text.size(), 255u) << ToUtf8(Text);
    if (Kind == gkStyle) ++StyleTexts;
  }
  EXPECT_GT(StyleTexts, 4);
  // Styles use the list separator of the locale (";" in Russian settings) ...
  EXPECT_EQ(Applied[0].second.substr(0, 6), u"A1;A2;");
  EXPECT_EQ(Excel.WorkSheet()->Cell(299, 0)->Style->Name, u"S1");
  // ... the empty frame set applies nothing, the top lines go to B1:B2's outer edge.
  const auto FirstFrame = std::find_if(Applied.begin(), Applied.end(),
                                       [](const auto& A) { return A.first == gkFrames; });
  ASSERT_NE(FirstFrame, Applied.end());
  EXPECT_EQ(FirstFrame->second, u"B1;B2");
  // Row heights: the common one for all, then the odd rows joined by ";".
  TFormatSettings Comma = TFormatSettings::Invariant();
  TFormatSettingsScope Invariant(Comma);
  Applied.clear();
  Excel.ApplyRowHeights(Rows, {15, 30}, nullptr, 300, 0);
  ASSERT_GE(Applied.size(), 2u);
  EXPECT_EQ(Applied[0].second, u"A1:A300");
  EXPECT_EQ(Applied[1].second.substr(0, 9), u"A1;A3;A5;");
  EXPECT_EQ(Excel.WorkSheet()->RowHeight(298), 30);
  EXPECT_EQ(Excel.WorkSheet()->RowHeight(299), 15);
}

TEST(XlsNumberFormat, ExcelNumberFormats) {
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  const struct {
    const char16_t* Format;
    const char16_t* Expected;
  } Cases[] = {{u"%2.2n", u"# ##0,00"}, {u"%2.3f", u"0,000"},  {u"%2.1d", u"#,#"},
               {u"%d", u"#,"},          {u"%2.n", u"# ##0,"}, {u"%2.xn", u"# ##0,"},
               {u"%2.2g", u""},         {u"", u""}};
  for (const auto& C : Cases)
    EXPECT_EQ(TvqrXLSExport::ExcelNumberFormat(C.Format), C.Expected) << ToUtf8(C.Format);
}

// --- the filter over one hand-made page ------------------------------------------------------

namespace {

class XlsExport : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterExportStrings();
    Dir = fs::temp_directory_path() / ("vorenta-xlsexport-" + std::to_string(::getpid()));
    fs::create_directories(Dir);
    Page = std::make_unique<TvqrReportPage>(nullptr);
    Page->SetOrientation(poLandscape);
    Page->SetLeftMargin(10);
    Page->SetTopMargin(20);
  }
  void TearDown() override {
    TvqrXLSExport::SetBeforeSaveHookForTests(nullptr);
    Views.clear();
    Page.reset();
    fs::remove_all(Dir);
  }
  TvqrMemoView* Memo(Extended L, Extended T, Extended W, Extended H, const String& Text) {
    auto* M = new TvqrMemoView(nullptr);
    M->SetParent(Page.get());
    M->SetBounds(L, T, W, H);
    M->SetText(Text);
    Views.emplace_back(M);
    return M;
  }
  // Runs the filter's calls over the page; the model is read before saving.
  void Run(TvqrXLSExport& F, const std::function<void(TWorksheet*)>& Check) {
    F.SetShowProgress(false);
    TvqrXLSExport::SetBeforeSaveHookForTests([&](TvqrExcel* E) { Check(E->WorkSheet()); });
    ASSERT_TRUE(F.Start());
    F.StartPage(Page.get(), 0);
    for (auto& V : Views) F.ExportObject(V.get());
    F.FinishPage(Page.get(), 0);
    F.Finish();
  }

  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  fs::path Dir;
  std::unique_ptr<TvqrReportPage> Page;
  std::vector<std::unique_ptr<TvqrView>> Views;
};

}  // namespace

TEST_F(XlsExport, BothPathsFillTheSheet) {
  TvqrMemoView* Sum = Memo(0, 0, 100, 20, u"1 234,50");
  Sum->DisplayFormat()->SetKind(fkNumeric);
  Sum->DisplayFormat()->SetFormatStr(u"%2.2n");
  Sum->DisplayFormat()->SetDecimalSeparator(u",");
  Sum->Frame()->SetTyp({ftLeft, ftTop});
  TvqrMemoView* Code = Memo(100, 0, 60, 20, u"007");
  Code->SetColor(clWhite);
  TvqrMemoView* Formula = Memo(0, 20, 160, 40, u"=1+1");
  Formula->SetRotation(300);
  Formula->Font()->SetStyle({fsBold});
  for (bool Fast : {true, false}) {
    TvqrXLSExport F(TvqrCustomExportFilter::NoRegisterTag{});
    F.SetFastExport(Fast);
    F.SetFileName(Utf8ToString((Dir / (Fast ? "fast.xls" : "slow.xls")).string()));
    Run(F, [&](TWorksheet* S) {
      const TSheetCell* A = S->Cell(0, 0);
      ASSERT_NE(A, nullptr);
      EXPECT_EQ(A->IsNumber, Fast) << Fast;  // the cell-by-cell path writes the text as shown
      if (Fast) {
        EXPECT_EQ(A->Number, 1234.5);
        EXPECT_EQ(A->NumberFormat, u"#,##0.00");
      }
      EXPECT_EQ(A->Borders & 3, 3);  // left and top
      const TSheetCell* B = S->Cell(0, 1);
      ASSERT_NE(B, nullptr);
      EXPECT_EQ(B->IsNumber, !Fast) << "007 is text only through its text format";
      EXPECT_EQ(B->Text, u"007");
      // White fill: untouched in the fast path, set cell by cell.
      EXPECT_EQ(B->Style->Interior.Color.has_value(), !Fast);
      const TSheetCell* C = S->Cell(1, 0);
      ASSERT_NE(C, nullptr);
      EXPECT_FALSE(C->IsNumber);
      EXPECT_EQ(C->Text, u"=1+1");
      EXPECT_TRUE(C->Style->Font.Bold);
      EXPECT_EQ(C->Style->Orientation, Fast ? -60 : 0);
      EXPECT_EQ(S->Merges(), (std::vector<TSheetArea>{{1, 0, 1, 1}}));
      EXPECT_NEAR(*S->RowHeight(0), 20 / 1.315, Fast ? 0.125 : 1e-9);
      EXPECT_NEAR(*S->ColumnWidth(0), 100 / 8.0, 1e-9);
      EXPECT_NEAR(S->PageSetup().LeftMargin, 26, 1e-9);
      EXPECT_EQ(S->PageSetup().Orientation, xlLandscape);
      EXPECT_TRUE(S->WrapText());
    });
    EXPECT_TRUE(fs::exists(Dir / (Fast ? "fast.xlsx" : "slow.xlsx")));
  }
}

TEST_F(XlsExport, FileReadsBackWithPicturesAndBreaks) {
  if (!xlsxtest::HaveOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
  Memo(0, 0, 100, 20, u"Прайс");
  TvqrPictureView* P = new TvqrPictureView(nullptr);
  P->SetParent(Page.get());
  P->SetBounds(100, 0, 69, 138);
  TBitmap Blue(20, 20);
  Blue.Canvas()->Brush()->SetColor(clBlue);
  Blue.Canvas()->FillRect(TRect{0, 0, 20, 20});
  P->Picture()->SetGraphic(&Blue);
  Views.emplace_back(P);
  TvqrXLSExport F(TvqrCustomExportFilter::NoRegisterTag{});
  F.SetFileName(u"book.xlsx");
  F.SetDefaultPath(Utf8ToString(Dir.string()));
  Run(F, [](TWorksheet* S) {
    ASSERT_EQ(S->PictureList().size(), 1u);
    EXPECT_NEAR(S->PictureList()[0]->Width, 50, 1e-9);
    EXPECT_NEAR(S->PictureList()[0]->Height, 100, 1e-9);
    EXPECT_NEAR(S->PictureList()[0]->OffsetX, 1, 1e-9);
  });
  const std::string Out = xlsxtest::ReadBack(
      (Dir / "book.xlsx").string(),
      "print(ws['A1'].value, len(ws._images), ws.page_setup.orientation, "
      "round(ws.page_margins.left * 72, 3))");
  EXPECT_EQ(Out, "Прайс 1 landscape 26.0\n");
}

TEST_F(XlsExport, AFailedSaveRaisesAndLeavesNoFile) {
  Memo(0, 0, 100, 20, u"x");
  TvqrXLSExport F(TvqrCustomExportFilter::NoRegisterTag{});
  const fs::path Target = Dir / "missing" / "a.xlsx";
  F.SetFileName(Utf8ToString(Target.string()));
  EXPECT_THROW(Run(F, [](TWorksheet*) {}), EInOutError);
  EXPECT_FALSE(fs::exists(Target.parent_path()));
  TvqrXLSExport NoName(TvqrCustomExportFilter::NoRegisterTag{});
  EXPECT_FALSE(NoName.Start());
}

// --- the dialog ------------------------------------------------------------------------------

TEST_F(XlsExport, DialogTakesTheOptionsAndTheFileName) {
  auto Answerer = std::make_unique<TTestDialogAnswerer>();
  TTestDialogAnswerer* A = Answerer.get();
  auto Previous = SetDialogService(std::move(Answerer));
  TFileDialogRequest Seen;
  const String Chosen = Utf8ToString((Dir / "chosen.xlsx").string());
  A->FileAnswers.push_back([&](TFileDialogRequest& R) {
    Seen = R;
    R.Files = {Chosen};
    return true;
  });
  A->FileAnswers.push_back([](TFileDialogRequest&) { return false; });

  TvqrXLSExport F(TvqrCustomExportFilter::NoRegisterTag{});
  F.SetDefaultPath(Utf8ToString(Dir.string()));
  F.PageNumbers = u"2-3";
  bool PagesChosen = false;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    auto* D = dynamic_cast<TvqrXLSExportDialog*>(Form);
    ASSERT_NE(D, nullptr);
    PagesChosen = D->PageNumbersRB->Checked() && D->PageNumbersE->Text() == u"2-3";
    if (!fs::exists(Dir / "dialog.png")) SaveControlToPng(D, Utf8ToString((Dir / "dialog.png").string()));
    D->ContinuousCB->SetChecked(true);
    D->FastExpCB->SetChecked(false);
    D->SetModalResult(mrOk);
  });
  EXPECT_EQ(F.ShowModal(), mrOk);
  EXPECT_TRUE(PagesChosen);
  EXPECT_FALSE(F.EmptyLines());
  EXPECT_TRUE(F.SuppressPageHeadersFooters);
  EXPECT_FALSE(F.FastExport());
  EXPECT_EQ(F.PageNumbers, u"2-3");
  EXPECT_EQ(F.FileName(), Chosen);
  EXPECT_EQ(Seen.Filter, u"Файл Excel (*.xlsx)|*.xlsx");
  EXPECT_EQ(Seen.InitialDir, Utf8ToString(Dir.string()));
  EXPECT_TRUE(fs::exists(Dir / "dialog.png"));
  // A cancelled save dialog cancels the export.
  EXPECT_EQ(F.ShowModal(), mrCancel);
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) { Form->SetModalResult(mrCancel); });
  EXPECT_EQ(F.ShowModal(), mrCancel);
  TCustomForm::SetModalHookForTests(nullptr);
  if (const char* Keep = std::getenv("VORENTA_KEEP_SHOTS"))
    fs::copy_file(Dir / "dialog.png", fs::path(Keep) / "xls-dialog.png",
                  fs::copy_options::overwrite_existing);
  SetDialogService(std::move(Previous));
}
