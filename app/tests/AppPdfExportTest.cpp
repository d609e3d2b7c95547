// AppPdfExportTest.cpp - the application's three PDF commands end to end over the sample
// database: the options and save dialogs answered, the files in "Report" read back by qpdf and
// pdftotext, and a cancelled dialog leaving no file and no error box.
#include <cstdio>
#include <filesystem>

#include "app/AppReports.h"
#include "app/tests/AppFixture.h"
#include "platform/rtl/tests/CommandOutput.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrEngine.h"

namespace {


class AppPdfExport : public AppReportsFixture {
protected:
  void SetUp() override {
    AppReportsFixture::SetUp();
    Module->StartDirectory = Utf8ToString(Dir.string());
    auto A = std::make_unique<TTestDialogAnswerer>();
    Answerer = A.get();
    Previous = SetDialogService(std::move(A));
  }
  void TearDown() override {
    TCustomForm::SetModalHookForTests(nullptr);
    SetDialogService(std::move(Previous));
    AppReportsFixture::TearDown();
  }
  // The options dialog answered OK, the save dialog accepting the proposed name.
  void AcceptDialogs(int Count) {
    TCustomForm::SetModalHookForTests([](TCustomForm* Form) { Form->SetModalResult(mrOk); });
    for (int I = 0; I < Count; ++I)
      Answerer->FileAnswers.push_back([](TFileDialogRequest& R) {
        R.Files = {R.FileName};
        return true;
      });
  }
  std::string Text(const String& Path, int* Code) {
    const std::string P = StringToUtf8(Path);
    // A copy for looking at the pages (pdftoppm).
    if (const char* Keep = std::getenv("VORENTA_PDF_KEEP"))
      CommandOutput("cp '" + P + "' " + Keep + "-" + std::to_string(++FKept) + ".pdf");
    CommandOutput("qpdf --check '" + P + "' 2>&1", Code);
    return CommandOutput("pdftotext '" + P + "' - 2>/dev/null");
  }

  TTestDialogAnswerer* Answerer = nullptr;
  int FKept = 0;
  std::unique_ptr<IDialogService> Previous;
};

}  // namespace

TEST_F(AppPdfExport, TheThreeCommandsWriteReadableFilesIntoReport) {
  AcceptDialogs(3);
  GoToOrder(3);
  const String Order = Module->ExportOrderPdf();
  const String Colours = Module->ExportColourPriceListPdf();
  const String Materials = Module->ExportMaterialPriceListPdf();
  EXPECT_TRUE(Boxes.empty());
  const String Folder = Utf8ToString((Dir / "Report").string()) + u"/";
  EXPECT_EQ(Order.substr(0, Folder.size() + 3), Folder + u"№ 7");
  EXPECT_EQ(Colours, Folder + u"Прайс на каталог цвета от " + DateToStr(Date()) + u".pdf");
  EXPECT_EQ(Materials, Folder + u"Прайс на лакокрасочные материалы от " + DateToStr(Date()) + u".pdf");
  int Code = -1;
  const std::string OrderText = Text(Order, &Code);
  EXPECT_EQ(Code, 0);
  // Every text of the order is searchable: its number, the group names, the rows and totals;
  // nothing is written as a picture.
  for (const char* S : {"Заказ № 7", "К 10-01", "Л 10-02", "Эмаль ПФ база A 0,9 кг", "Паста черная 1 л",
                        "Колеровка", "Доставка", "Итого К 10-01:", "Итого по заказу", "3 510"})
    EXPECT_NE(OrderText.find(S), std::string::npos) << S << "\n" << OrderText;
  EXPECT_EQ(CommandOutput("pdfimages -list '" + StringToUtf8(Order) + "' 2>/dev/null").find(" jpeg "),
            std::string::npos);
  const std::string ColourText = Text(Colours, &Code);
  EXPECT_EQ(Code, 0);
  for (const char* S : {"Прайс на каталог цвета", "Наименование", "Цена осн.", "А 10-04 Универсальная", "121"})
    EXPECT_NE(ColourText.find(S), std::string::npos) << S << "\n" << ColourText;
  const std::string MaterialText = Text(Materials, &Code);
  EXPECT_EQ(Code, 0);
  EXPECT_NE(MaterialText.find("Эмаль ПФ база A 0,9 кг"), std::string::npos) << MaterialText;
}

TEST_F(AppPdfExport, ACancelledDialogWritesNothingAndSaysNothing) {
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) { Form->SetModalResult(mrCancel); });
  GoToOrder(3);
  EXPECT_EQ(Module->ExportOrderPdf(), u"");
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) { Form->SetModalResult(mrOk); });
  Answerer->FileAnswers.push_back([](TFileDialogRequest&) { return false; });
  EXPECT_EQ(Module->ExportColourPriceListPdf(), u"");
  EXPECT_TRUE(Boxes.empty());
  EXPECT_TRUE(std::filesystem::is_empty(Dir / "Report"));
}
