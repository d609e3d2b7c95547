// AppPreviewScreenTest.cpp - the colour price list shown in its preview window on a real X
// server, photographed at 100 %, as whole pages and with the thumbnails, with the print dialog
// and the page-settings dialog opened from it. Runs under xvfb-run (ctest label "xserver");
// the pictures go to <test folder>/screenshots and are looked at by a person.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/AppReports.h"
#include "app/tests/AppFixture.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Snapshot.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassReport.h"
#include "report/output/vqrCtrls.h"
#include "report/output/vqrOutputModule.h"
#include "report/output/vqrPreview.h"
#include "report/output/vqrPreviewForm.h"
#include "report/output/vqrPreviewPageSettings.h"
#include "report/output/vqrPrintDialog.h"

namespace {

namespace fs = std::filesystem;

void Pump(int Milliseconds) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
  while (std::chrono::steady_clock::now() < End) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

class AppPreviewScreen : public AppReportsFixture {
protected:
  void SetUp() override {
    const char* Platform = std::getenv("QT_QPA_PLATFORM");
    if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb (run under xvfb-run)";
    InitControls();
    Application->Initialize();
    vqrOutputModuleInitialize();
    AppReportsFixture::SetUp();
  }
  void TearDown() override {
    if (!Real) return;
    TCustomForm::SetModalHookForTests(nullptr);
    AppReportsFixture::TearDown();
    vqrOutputModuleFinalize();
  }
};

TEST_F(AppPreviewScreen, ColourPriceListPreviewAndItsDialogs) {
  const fs::path Out = OldDir / "screenshots";
  fs::create_directories(Out);
  auto Shot = [&](const char* Name) {
    Pump(400);
    SaveScreenToPng(Utf8ToString((Out / Name).string()));
  };
  int Pages = 0;
  bool SawPrint = false, SawSettings = false;
  auto Steps = [&](TvqrPreviewForm* W) {
    TvqrPreview* P = W->PreviewControl();
    Pump(300);  // the preview's timer prepares the report again
    for (int I = 0; I < 100 && (P->Running() || P->PageCount() == 0); ++I) Pump(50);
    Pages = P->PageCount();
    W->SetBounds(0, 0, 1280, 1000);
    P->SetZoom(1);
    Shot("x-preview-100.png");
    EXPECT_FALSE(P->Running());
    EXPECT_EQ(W->CancelB->Caption(), u"Закрыть");
    EXPECT_TRUE(W->PrintB->Enabled());
    P->SetZoomMode(zmWholePage);
    W->ZoomCB->Perform(CM_MOUSEENTER);   // the zoom box lit as under the mouse
    Shot("x-preview-whole-page.png");
    W->ZoomCB->Perform(CM_MOUSELEAVE);
    P->SetThumbnailVisible(true);
    Shot("x-preview-thumbnails.png");
    TvqrDuplexMode Duplex = dmNone;
    vqrShowPrintDialog(W->Report(), Duplex);
    P->PageSetupDlg();
  };
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    if (auto* D = dynamic_cast<TvqrPrintDialog*>(Form)) {
      SawPrint = true;
      Shot("x-print-dialog.png");
      D->PrintModeCB->SetDroppedDown(true);
      Shot("x-print-modes.png");
      D->PrintModeCB->SetDroppedDown(false);
    } else if (dynamic_cast<TvqrPageSettingsForm*>(Form)) {
      SawSettings = true;
      Shot("x-page-settings.png");
    } else if (auto* W = dynamic_cast<TvqrPreviewForm*>(Form)) {
      Steps(W);
    }
    Form->SetModalResult(mrCancel);
  });
  Module->PreviewColourPriceList();
  // A modeless preview: the same steps on the window now shown.
  for (int I = 0; I < Screen->FormCount() && Pages == 0; ++I)
    if (auto* W = dynamic_cast<TvqrPreviewForm*>(Screen->Forms(I))) {
      Steps(W);
      W->Close();
      Pump(100);
    }
  EXPECT_GT(Pages, 0);
  EXPECT_TRUE(SawPrint);
  EXPECT_TRUE(SawSettings);
}

}  // namespace
