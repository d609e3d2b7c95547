// vqrPrinterPropertiesTest.cpp - the queue's properties dialog against a private cupsd: the
// chosen source and sides become the printer's bin and duplex, and the print dialog's
// properties button takes the duplex into its list.
#include <gtest/gtest.h>

#include "platform/controls/StdCtrls.h"
#include "platform/printing/tests/CupsFixture.h"
#include "report/core/vqrPrinter.h"
#include "report/output/vqrOutputModule.h"
#include "report/output/vqrPrintDialog.h"
#include "report/output/vqrPrinterProperties.h"

namespace {

TEST(vqrPrinterProperties, SourceAndSidesBecomeBinAndDuplex) {
  TCupsFixture Cups;
  const std::string Why = Cups.Start();
  if (Why == TCupsFixture::Skipped) GTEST_SKIP() << Why;
  ASSERT_TRUE(Why.empty()) << Why;
  InitControls();
  vqrOutputModuleInitialize();
  PrinterList()->Refresh();
  TvqrCustomPrinter* P = PrinterList()->Printer();
  ASSERT_NE(dynamic_cast<TvqrPrinter*>(P), nullptr);
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) {
    if (auto* F = dynamic_cast<TvqrPrinterPropertiesForm*>(Form)) {
      F->SourceCB->SetItemIndex(F->SourceCB->Items()->IndexOf(u"manual"));
      F->SidesCB->SetItemIndex(F->SidesCB->Items()->IndexOf(u"two-sided-long-edge"));
      Form->SetModalResult(mrOk);
      return;
    }
    if (auto* D = dynamic_cast<TvqrPrintDialog*>(Form)) {
      D->PropButtonClick();
      EXPECT_EQ(D->DuplexCB->ItemIndex(), int(dmVertical));
      EXPECT_EQ(D->ADuplexMode, dmVertical);
    }
    Form->SetModalResult(mrCancel);
  });
  P->PropertiesDlg();
  EXPECT_EQ(P->Bin(), 4);
  EXPECT_EQ(P->Duplex(), 2);
  TvqrReport Report(nullptr);
  TvqrDuplexMode Duplex = dmNone;
  EXPECT_FALSE(vqrShowPrintDialog(&Report, Duplex));
  TCustomForm::SetModalHookForTests(nullptr);
  vqrOutputModuleFinalize();
}

}  // namespace
