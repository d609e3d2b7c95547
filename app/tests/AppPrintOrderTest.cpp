// AppPrintOrderTest.cpp - the order printed through the print dialog to a private cupsd's
// queue: the dialog is answered OK with two copies, and the queue's file holds the order's
// pages twice, on A4, with its text.
#include <cstdio>

#include "app/AppReports.h"
#include "app/tests/AppFixture.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/UpDown.h"
#include "platform/printing/tests/CupsFixture.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrPrinter.h"
#include "report/output/vqrOutputModule.h"
#include "report/output/vqrPrintDialog.h"

namespace {


class AppPrintOrder : public AppReportsFixture {
protected:
  void SetUp() override {
    const std::string Why = Cups.Start();
    if (Why == TCupsFixture::Skipped) GTEST_SKIP() << Why;
    ASSERT_TRUE(Why.empty()) << Why;
    InitControls();
    Application->Initialize();
    vqrOutputModuleInitialize();
    PrinterList()->Refresh();
    AppReportsFixture::SetUp();
  }
  void TearDown() override {
    if (!Real) return;
    TCustomForm::SetModalHookForTests(nullptr);
    AppReportsFixture::TearDown();
    vqrOutputModuleFinalize();
  }
  TCupsFixture Cups;
};

TEST_F(AppPrintOrder, TheOrderGoesThroughItsDialogToTheQueue) {
  GoToOrder(3);
  bool Asked = false;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    if (auto* D = dynamic_cast<TvqrPrintDialog*>(Form)) {
      Asked = true;
      EXPECT_EQ(D->PrintersCB->Text(), u"vorenta-test");
      D->UpDown1->StepBy(true);  // two copies
    }
    Form->SetModalResult(mrOk);
  });
  Module->PrintOrder();
  EXPECT_TRUE(Asked);
  ASSERT_TRUE(Cups.WaitForJobs());
  TvqrReport* R = Real->Report(u"vqrRepOrd");
  const int Pages = R->PreviewPages()->Count();
  ASSERT_GT(Pages, 0);
  const std::string File = Cups.Output();
  EXPECT_EQ(TCupsFixture::PdfPages(File), 2 * Pages);
  const std::string Info = CommandOutput("pdfinfo '" + File + "' 2>/dev/null");
  EXPECT_NE(Info.find("595"), std::string::npos) << Info;
  EXPECT_NE(CommandOutput("pdftotext '" + File + "' - 2>/dev/null").find("Заказ №"), std::string::npos);
  EXPECT_EQ(R->PrintOptions()->Copies(), 1);  // the dialog's choice held for that job only
}

}  // namespace
