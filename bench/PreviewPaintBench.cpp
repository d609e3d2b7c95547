// PreviewPaintBench.cpp - the preview's page painting against poppler.
//
// The colour price list of 11,000 generated colours (about 110 pages) is prepared once. Ours:
// DrawPage of pages with a warm page cache at zoom 1 on a 96-dpi bitmap (794 x 1123), the
// pages painted per second. Poppler (libpoppler-cpp) renders the same pages of the PDF the PDF
// filter writes from them, at 96 dpi, in the same run. Also measured: ShowReport of the list
// to the first page shown in the preview, a whole-page repaint of the preview, and spooling 25
// pages to a private cupsd's test queue (skipped without cupsd). Run in a Release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/PreviewPaintBench
#include <benchmark/benchmark.h>

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include "bench/BenchSample.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Snapshot.h"
#include "platform/graphics/Bitmap.h"
#include "platform/printing/tests/CupsFixture.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrPreviewPages.h"
#include "report/core/vqrPrinter.h"
#include "report/output/vqrExportPDF.h"
#include "report/output/vqrOutputModule.h"
#include "report/output/vqrPreview.h"
#include "report/output/vqrPreviewForm.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kColours = 11000;
constexpr int kPagesDrawn = 20;

class TBench {
public:
  TBench() {
    InitControls();
    Application->Initialize();
    vqrOutputModuleInitialize();
    Sample = std::make_unique<TBenchSample>("vorenta_preview_bench", kColours);
    Dir = Sample->Dir;
    Report = Sample->ColourPriceList();
    Sample->Reports->PrepareReport(u"vqrRepColorPrice", true);
    Store = static_cast<TvqrPreviewPages*>(Report->PreviewPages());
    TvqrPDFExport Pdf(TvqrCustomExportFilter::NoRegisterTag{});
    Pdf.SetShowDialog(false);
    Pdf.SetShowProgress(false);
    Pdf.SetFileName(Utf8ToString((Dir / "list.pdf").string()));
    Report->Export(&Pdf);
  }
  std::unique_ptr<TBenchSample> Sample;
  fs::path Dir;
  TvqrReport* Report = nullptr;
  TvqrPreviewPages* Store = nullptr;
};

TBench& Bench() {
  static TBench B;
  return B;
}

void BM_DrawPageOurs(benchmark::State& State) {
  TBench& B = Bench();
  TBitmap Bitmap(794, 1123);
  for (int I = 0; I < kPagesDrawn; ++I) B.Store->Page(I);  // warm page cache
  int Page = 0, Pages = 0;
  for (auto _ : State) {
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(Rect(0, 0, 794, 1123));
    B.Store->DrawPage(Page, Bitmap.Canvas(), 1, 1, 0, 0);
    Page = (Page + 1) % kPagesDrawn;
    ++Pages;
  }
  State.counters["pages/s"] = benchmark::Counter(Pages, benchmark::Counter::kIsRate);
  State.counters["report_pages"] = B.Store->Count();
}
BENCHMARK(BM_DrawPageOurs)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_DrawPagePoppler(benchmark::State& State) {
  TBench& B = Bench();
  std::unique_ptr<poppler::document> Doc(poppler::document::load_from_file((B.Dir / "list.pdf").string()));
  if (!Doc) {
    State.SkipWithError("the PDF could not be read");
    return;
  }
  poppler::page_renderer Renderer;
  Renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
  Renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
  int Page = 0, Pages = 0;
  const int Count = std::min(kPagesDrawn, Doc->pages());
  std::vector<std::unique_ptr<poppler::page>> Loaded;
  for (int I = 0; I < Count; ++I) Loaded.emplace_back(Doc->create_page(I));
  for (auto _ : State) {
    poppler::image Image = Renderer.render_page(Loaded[Page].get(), 96, 96);
    benchmark::DoNotOptimize(Image.data());
    Page = (Page + 1) % Count;
    ++Pages;
  }
  State.counters["pages/s"] = benchmark::Counter(Pages, benchmark::Counter::kIsRate);
  State.counters["pdf_pages"] = Doc->pages();
}
BENCHMARK(BM_DrawPagePoppler)->Unit(benchmark::kMillisecond)->MinTime(2);

// ShowReport (prepares again on the preview's timer) until the first page is in the preview.
void BM_ShowReportFirstPage(benchmark::State& State) {
  TBench& B = Bench();
  B.Report->PreviewOptions()->SetModal(false);
  for (auto _ : State) {
    const auto Start = Clock::now();
    double FirstPage = 0;
    B.Report->ShowReport(true);
    auto* Form = dynamic_cast<TvqrPreviewForm*>(Screen->Forms(Screen->FormCount() - 1));
    TvqrPreview* P = Form ? Form->PreviewControl() : nullptr;
    while (P && FirstPage == 0) {
      Application->ProcessMessages();
      if (P->Workspace->PageList().Count() > 0)
        FirstPage = std::chrono::duration<double>(Clock::now() - Start).count();
    }
    while (P && P->Running()) Application->ProcessMessages();
    State.SetIterationTime(FirstPage);
    if (Form) {
      Form->Close();
      Application->ProcessMessages();
    }
  }
}
BENCHMARK(BM_ShowReportFirstPage)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// The preview window showing whole pages, painted whole.
void BM_WholePageRepaint(benchmark::State& State) {
  TBench& B = Bench();
  TvqrPreviewForm Form(nullptr);
  Form.SetBounds(0, 0, 1280, 1000);
  TvqrPreview* P = Form.PreviewControl();
  P->Report = B.Report;
  P->PreviewPages = B.Store;
  Form.Init();
  Form.Show();
  P->SetZoomMode(zmWholePage);
  TBitmap Shot;
  for (auto _ : State) RenderControl(P->Workspace, Shot);
}
BENCHMARK(BM_WholePageRepaint)->Unit(benchmark::kMillisecond);

// 25 pages recorded and sent to a private cupsd's queue (the job is queued, not yet printed).
void BM_Spool25Pages(benchmark::State& State) {
  TBench& B = Bench();
  TCupsFixture Cups;
  const std::string Why = Cups.Start();
  if (!Why.empty()) {
    State.SkipWithError(Why.c_str());
    return;
  }
  PrinterList()->Refresh();
  B.Report->PrintOptions()->SetShowDialog(false);
  B.Report->PrintOptions()->SetPageNumbers(u"1-25");
  for (auto _ : State) {
    if (!B.Report->Print()) State.SkipWithError("print failed");
    State.PauseTiming();
    Cups.WaitForJobs(120);
    State.ResumeTiming();
  }
  B.Report->PrintOptions()->SetPageNumbers(String());
  FreePrinterList();
}
BENCHMARK(BM_Spool25Pages)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
