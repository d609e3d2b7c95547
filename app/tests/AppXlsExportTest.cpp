// AppXlsExportTest.cpp - the application's four reports exported to a workbook by the
// spreadsheet filter, fast and cell by cell, and read back with openpyxl.
#include <filesystem>
#include <functional>

#include "app/AppReports.h"
#include "app/tests/AppFixture.h"
#include "platform/rtl/SysUtils.h"
#include "platform/shell/Spreadsheet.h"
#include "platform/shell/tests/XlsxReadBack.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrEngine.h"
#include "report/core/vqrPreviewPages.h"
#include "report/output/vqrExcel.h"
#include "report/output/vqrExportMatrix.h"
#include "report/output/vqrExportXLS.h"
#include "report/output/vqrExportXLSDialog.h"
#include "report/output/vqrOutputModule.h"
#include "report/output/vqrPreview.h"
#include "report/output/vqrPreviewForm.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdCtrls.h"

namespace fs = std::filesystem;

namespace {

class AppXlsExport : public AppReportsFixture {
protected:
  void TearDown() override {
    TvqrXLSExport::SetBeforeSaveHookForTests(nullptr);
    AppReportsFixture::TearDown();
  }
  // Prepares the report and exports it; the sheet's model is handed to Check before saving.
  fs::path Export(const String& Name, bool Fast,
                  const std::function<void(TWorksheet*)>& Check = nullptr) {
    Real->PrepareReport(Name, true);
    TvqrReport* R = Real->Report(Name);
    EXPECT_EQ(R->Errors()->Count(), 0) << StringToUtf8(R->Errors()->Text());
    TvqrXLSExport F(TvqrCustomExportFilter::NoRegisterTag{});
    F.SetShowDialog(false);
    F.SetFastExport(Fast);
    const fs::path Path = Dir / (StringToUtf8(Name) + (Fast ? "-fast" : "-cells") + ".xlsx");
    F.SetFileName(Utf8ToString(Path.string()));
    TvqrXLSExport::SetBeforeSaveHookForTests([&](TvqrExcel* E) {
      if (Check) Check(E->WorkSheet());
    });
    EXPECT_TRUE(R->Export(&F)) << StringToUtf8(R->Errors()->Text());
    EXPECT_TRUE(fs::exists(Path));
    return Path;
  }
  TvqrPreviewPages* Store(const String& Name) {
    return static_cast<TvqrPreviewPages*>(Real->Report(Name)->PreviewPages());
  }

  // Count more colours named "Я 1001" ..., each with a recipe of one base.
  void AddColours(int Count) {
    Exec(u"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < " +
         IntToStr(Count) +
         u") INSERT INTO DS_COLOR (NM, COLOR_TP_ID, AM, BASE_ID, IND, PRICE1) "
         u"SELECT 'Я ' || (1000 + I), 1, 100, 1, 90, I FROM N");
    Exec(u"INSERT INTO DS_COLOR_REC (COLOR_ID, LKM_TP_ID, LKM_ID, LKM_REC_ID, AM) "
         u"SELECT ID, 1, 1, 1, 100 FROM DS_COLOR WHERE NM LIKE 'Я %'");
  }

};

}  // namespace

// Both paths give the same sheet: texts, merges, frames, sizes (heights at quarter points in
// the fast path), page setup; the fast path keeps texts of text-format cells as text.
TEST_F(AppXlsExport, TheOrderFastAndCellByCell) {
  if (!xlsxtest::HaveOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
  GoToOrder(3);
  Module->PreviewOrder();
  const fs::path Cells = Export(u"vqrRepOrd", false);
  const fs::path Fast = Export(u"vqrRepOrd", true);
  const std::string Out = xlsxtest::ReadBack(
      Fast.string(),
      "other = openpyxl.load_workbook('" + Cells.string() + "').worksheets[0]\n"
      "def cells(s):\n"
      "  return {(c.row, c.column): c for row in s.iter_rows() for c in row}\n"
      "a, b = cells(ws), cells(other)\n"
      "print(ws.max_row, ws.max_column, other.max_row, other.max_column)\n"
      "print(sorted(map(str, ws.merged_cells.ranges)) == sorted(map(str, other.merged_cells.ranges)), len(ws.merged_cells.ranges))\n"
      "print(sum(1 for k in a if str(a[k].value) != str(b[k].value)))\n"
      "print(sum(1 for k in a if (a[k].border.top.style, a[k].border.left.style, a[k].border.bottom.style, a[k].border.right.style) != (b[k].border.top.style, b[k].border.left.style, b[k].border.bottom.style, b[k].border.right.style)), sum(1 for c in a.values() if c.border.left.style == 'thin'))\n"
      "print(all(abs(ws.row_dimensions[r].height - other.row_dimensions[r].height) <= 0.125 for r in range(1, ws.max_row + 1)))\n"
      "print(all(ws.column_dimensions[k].width == other.column_dimensions[k].width for k in 'ABCDE'))\n"
      "print(sum(isinstance(c.value, (int, float)) for c in a.values()), sum(isinstance(c.value, (int, float)) for c in b.values()) > 10)\n"
      "print(ws['A1'].value, ws['A1'].font.sz, ws['A1'].font.b)\n"
      "print(round(ws.page_margins.left * 72, 3), round(ws.page_margins.top * 72, 3), ws.page_setup.orientation, len(ws._images))\n");
  EXPECT_EQ(Out,
            "21 5 21 5\n"
            "True 10\n"
            "0\n"
            "0 69\n"
            "True\n"
            "True\n"
            "0 True\n"
            "Заказ № 7 от 09.12.2026 12.0 True\n"
            "26.0 26.0 portrait 0\n");
}

TEST_F(AppXlsExport, PriceListPagesBreakWhereTheNextPageBegins) {
  if (!xlsxtest::HaveOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
  AddColours(400);
  Module->PreviewColourPriceList();
  const fs::path Path = Export(u"vqrRepColorPrice", true);
  const std::string Out = xlsxtest::ReadBack(
      Path.string(),
      "breaks = [b.id for b in ws.row_breaks.brk]\n"
      "print(len(breaks), breaks[-1] > ws.max_row)\n"
      "print([ws.cell(b + 1, 1).value for b in breaks[:-1]])\n"
      "print([ws.cell(b - 1, 1).value for b in breaks[:-1]])\n"
      "print(sum(1 for row in ws.iter_rows() for c in row if isinstance(c.value, str) and c.value.strip().startswith('Я 1')))\n"
      "print([c.value for row in ws.iter_rows() for c in row if isinstance(c.value, str) and c.value.startswith('стр.')])\n");
  const std::string Title = "'Прайс на каталог цвета от 09.12.2025'";
  const std::string Footer = "'09.12.2025'";
  EXPECT_EQ(Out, "4 True\n[" + Title + ", " + Title + ", " + Title + "]\n[" + Footer + ", " +
                     Footer + ", " + Footer + "]\n400\n" +
                     "['стр. 1 из 4', 'стр. 2 из 4', 'стр. 3 из 4', 'стр. 4 из 4']\n");
}

TEST_F(AppXlsExport, TheRecipeAndTheMaterialPriceList) {
  if (!xlsxtest::HaveOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed";
  GoToColour(1);
  Module->Calculate(Variant(10.0));
  Module->PreviewRecipe(TCalcMode::BaseMass, 0);
  const std::string Script =
      "vals = [c.value for row in ws.iter_rows() for c in row if c.value is not None]\n"
      "print(len(ws.merged_cells.ranges) > 0, vals[:3])\n";
  EXPECT_EQ(xlsxtest::ReadBack(Export(u"vqrRepColor", false).string(), Script),
            "True [' Цвет', ' К 10-01', '09.12.2025 12:00:00']\n");
  Module->PreviewMaterialPriceList();
  EXPECT_EQ(xlsxtest::ReadBack(Export(u"vqrRepLKMPrice", true).string(), Script),
            "True ['Прайс на лакокрасочные материалы от 09.12.2025', 'Наименование / Примечание', "
            "'Цена']\n");
}

TEST_F(AppXlsExport, AFailedSaveFailsTheExport) {
  GoToOrder(3);
  Module->PreviewOrder();
  Real->PrepareReport(u"vqrRepOrd", true);
  TvqrReport* R = Real->Report(u"vqrRepOrd");
  TvqrXLSExport F(TvqrCustomExportFilter::NoRegisterTag{});
  F.SetShowDialog(false);
  const fs::path Target = Dir / "missing" / "order.xlsx";
  F.SetFileName(Utf8ToString(Target.string()));
  EXPECT_FALSE(R->Export(&F));
  const String Errors = R->Errors()->Text();
  EXPECT_NE(Errors.find(u"Cannot create file"), String::npos) << StringToUtf8(Errors);
  EXPECT_NE(Errors.find(u"No such file or directory"), String::npos) << StringToUtf8(Errors);
  EXPECT_FALSE(fs::exists(Target.parent_path()));
}

// The preview's export menu offers the data module's spreadsheet filter first; its dialog and
// save dialog lead to the workbook.
TEST_F(AppXlsExport, ThroughThePreviewsExportMenuAndTheDialog) {
  GoToOrder(3);
  Module->PreviewOrder();
  Real->PrepareReport(u"vqrRepOrd", true);
  TvqrReport* R = Real->Report(u"vqrRepOrd");
  vqrOutputModuleInitialize();
  struct TEnd {
    ~TEnd() { vqrOutputModuleFinalize(); }
  } End;
  auto* W = new TvqrPreviewForm(Application);
  W->SetBounds(0, 0, 900, 700);
  W->PreviewControl()->Report = R;
  W->PreviewControl()->PreviewPages = Store(u"vqrRepOrd");
  W->Init();
  W->Show();
  ASSERT_GE(W->ExportPopup->Items()->Count(), 3);
  TMenuItem* Sheet = W->ExportPopup->Items()->Items(0);
  EXPECT_EQ(Sheet->Caption(), u"Документ Excel (OLE)...");

  auto Answerer = std::make_unique<TTestDialogAnswerer>();
  const fs::path Path = Dir / "Заказ.xlsx";
  Answerer->FileAnswers.push_back([&](TFileDialogRequest& Req) {
    Req.Files = {Utf8ToString(Path.string())};
    return true;
  });
  auto Previous = SetDialogService(std::move(Answerer));
  bool Shown = false;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    if (auto* D = dynamic_cast<TvqrXLSExportDialog*>(Form)) {
      Shown = true;
      D->FastExpCB->SetChecked(false);
      D->SetModalResult(mrOk);
    }
  });
  W->ExportItemClick(Sheet);
  TCustomForm::SetModalHookForTests(nullptr);
  SetDialogService(std::move(Previous));
  delete W;
  EXPECT_TRUE(Shown);
  ASSERT_TRUE(fs::exists(Path));
  if (xlsxtest::HaveOpenpyxl()) {
    EXPECT_EQ(xlsxtest::ReadBack(Path.string(), "print(ws['A1'].value)"),
              "Заказ № 7 от 09.12.2026\n");
  }
}
