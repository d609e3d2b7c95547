// vqrPrinterCupsTest.cpp - the printer layer against a private cupsd: the queue's papers,
// bins, sides and resolution, a collated two-copy job, a bin change making two jobs, print to
// file, and a queue that rejects jobs.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/controls/Forms.h"
#include "platform/printing/tests/CupsFixture.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrPrinter.h"
#include "report/core/vqrUtils.h"

namespace {



class PrinterCupsTest : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string Why = Cups.Start();
    if (Why == TCupsFixture::Skipped) GTEST_SKIP() << Why;
    ASSERT_TRUE(Why.empty()) << Why;
    InitControls();
    Application->Initialize();
    vqrModuleInitialize();
    PrinterList()->Refresh();
    SetErrorBoxHandler([this](const String&, const String& Text) { Errors.push_back(Text); });
    Report = std::make_unique<TvqrReport>(nullptr);
    Report->PrintOptions()->SetShowDialog(false);
    Source = std::make_unique<TvqrReportPage>(nullptr);
    Source->SetName(u"Page1");
    auto* Memo = new TvqrMemoView(Source.get());
    Memo->SetName(u"Memo1");
    Memo->SetBounds(20, 20, 400, 30);
    Memo->SetText(u"Заказ № 17");
    Store()->AddSourcePage(Source.get());
  }
  void TearDown() override {
    Report.reset();
    SetErrorBoxHandler(nullptr);
    FreePrinterList();
    vqrModuleFinalize();
  }
  TvqrPreviewPages* Store() { return static_cast<TvqrPreviewPages*>(Report->PreviewPages()); }
  void AddPages(int N) {
    for (int I = 0; I < N; ++I) {
      Store()->AddPageAction = apAdd;
      Store()->AddPage(Source.get());
      for (TvqrComponent* C : Source->Objects()) Store()->AddObject(C);
    }
  }
  TCupsFixture Cups;
  std::vector<String> Errors;
  std::unique_ptr<TvqrReport> Report;
  std::unique_ptr<TvqrReportPage> Source;
};

TEST_F(PrinterCupsTest, TheQueueGivesPapersBinsSidesAndResolution) {
  TvqrPrinters* L = PrinterList();
  ASSERT_TRUE(L->HasPhysicalPrinters());
  ASSERT_EQ(L->IndexOf(u"vorenta-test"), L->PrinterIndex());
  TvqrCustomPrinter* P = L->Printer();
  ASSERT_TRUE(P->Initialized());
  EXPECT_EQ(P->DPI().X, 600);
  EXPECT_EQ(P->DefPaper(), 9);
  EXPECT_EQ(P->DefPaperWidth(), 210);
  EXPECT_EQ(P->DefPaperHeight(), 297);
  EXPECT_EQ(P->LeftMargin(), 5);
  EXPECT_GE(P->PaperIndex(11), 0);  // A5
  EXPECT_GE(P->PaperIndex(1), 0);   // Letter
  EXPECT_EQ(P->BinNameToNumber(u"manual"), 4);
  EXPECT_EQ(P->BinNameToNumber(u"tray-1"), 1);
  auto* Q = dynamic_cast<TvqrPrinter*>(P);
  ASSERT_NE(Q, nullptr);
  EXPECT_EQ(Q->SidesKeywords().size(), 3u);
  P->SetViewParams(11, 0, 0, poLandscape);
  EXPECT_EQ(P->Paper(), 11);
  EXPECT_EQ(P->PaperWidth(), 210);
  EXPECT_EQ(P->PaperHeight(), 148);
}

TEST_F(PrinterCupsTest, CollatedCopiesReachTheQueueAsOnePdfWithTheText) {
  AddPages(2);
  Report->PrintOptions()->SetCopies(2);
  ASSERT_TRUE(Report->Print());
  auto* Q = dynamic_cast<TvqrPrinter*>(PrinterList()->Printer());
  EXPECT_EQ(Q->LastJobs().size(), 1u);
  ASSERT_TRUE(Cups.WaitForJobs());
  EXPECT_EQ(TCupsFixture::PdfPages(Cups.Output()), 4);
  EXPECT_NE(CommandOutput("pdftotext '" + Cups.Output() + "' - 2>/dev/null").find("Заказ № 17"), std::string::npos);
  const std::string Info = CommandOutput("pdfinfo '" + Cups.Output() + "' 2>/dev/null");
  EXPECT_NE(Info.find("595"), std::string::npos) << Info;  // A4: 595 x 842 points
  EXPECT_NE(Info.find("842"), std::string::npos) << Info;
  EXPECT_TRUE(Errors.empty());
}

TEST_F(PrinterCupsTest, ABinChangeCutsTheDocumentIntoTwoJobs) {
  Source->SetBin(4);
  Source->SetBinOtherPages(1);
  Store()->Clear();
  Store()->AddSourcePage(Source.get());
  AddPages(3);
  ASSERT_TRUE(Report->Print());
  auto* Q = dynamic_cast<TvqrPrinter*>(PrinterList()->Printer());
  EXPECT_EQ(Q->LastJobs().size(), 2u);
  EXPECT_TRUE(Cups.WaitForJobs());
}

TEST_F(PrinterCupsTest, PrintToFileWritesThePdfThereAndAnUnwritablePathFails) {
  AddPages(1);
  const std::string File = Cups.Folder() + "/order.prn";
  Report->PrintOptions()->SetPrnOutFileName(Utf8ToString(File));
  ASSERT_TRUE(Report->Print());
  EXPECT_EQ(TCupsFixture::PdfPages(File), 1);
  Report->PrintOptions()->SetPrnOutFileName(u"/nonexistent-vorenta/order.prn");
  EXPECT_FALSE(Report->Print());
  ASSERT_EQ(Errors.size(), 1u);
}

TEST_F(PrinterCupsTest, AQueueRejectingJobsFailsCleanly) {
  AddPages(1);
  ASSERT_EQ(Cups.Tool("cupsreject", {TCupsFixture::Queue}), 0);
  EXPECT_FALSE(Report->Print());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_FALSE(Errors[0].empty());
  auto* Q = dynamic_cast<TvqrPrinter*>(PrinterList()->Printer());
  EXPECT_TRUE(Q->LastJobs().empty());
}

}  // namespace
