// ReportXMLBench.cpp - the report engine's XML document: saving and loading a template-sized tree.
//
// The tree is shaped like a large report: 20 pages of 20 bands of 25 memos, each memo with the
// attributes a template stores, about 10,000 elements and 1.3 MB of text. Timed in memory, so
// the figures are the reader's and writer's own.
#include <benchmark/benchmark.h>

#include "platform/classes/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrXML.h"

namespace {

void FillReport(TvqrXMLItem* Root) {
  Root->SetName(u"TvqrReport");
  Root->SetText(u"Name=\"Report\" Version=\"3.0\" ReportOptions.Name=\"Price list\"");
  for (int p = 0; p < 20; ++p) {
    TvqrXMLItem* Page = Root->Add();
    Page->SetName(u"TvqrReportPage");
    Page->SetText(u"Name=\"Page" + IntToStr(p) + u"\" PaperWidth=\"210\" PaperHeight=\"297\"");
    for (int b = 0; b < 20; ++b) {
      TvqrXMLItem* Band = Page->Add();
      Band->SetName(u"TvqrMasterData");
      Band->SetText(u"Name=\"Band" + IntToStr(b) + u"\" Height=\"18,89765\" Top=\"" +
                    IntToStr(b * 20) + u"\" Width=\"718,1107\"");
      for (int m = 0; m < 25; ++m) {
        TvqrXMLItem* Memo = Band->Add();
        Memo->SetName(u"TvqrMemoView");
        Memo->SetText(u"Name=\"Memo" + IntToStr(m) + u"\" Left=\"" + IntToStr(m * 28) +
                      u"\" Width=\"28,3\" Height=\"18,9\" Font.Name=\"Arial\" Font.Size=\"8\" "
                      u"Frame.Typ=\"15\" HAlign=\"haRight\" Text=\"[&#60;ds.&#34;AMX&#34;&#62;]\"");
      }
    }
  }
}

void BM_ReportXMLSave(benchmark::State& State) {
  TvqrXMLDocument Doc;
  FillReport(Doc.Root());
  for (auto _ : State) {
    TMemoryStream Out;
    Doc.SaveToStream(&Out);
    benchmark::DoNotOptimize(Out.Size());
  }
}

void BM_ReportXMLLoad(benchmark::State& State) {
  TvqrXMLDocument Doc;
  FillReport(Doc.Root());
  TMemoryStream Saved;
  Doc.SaveToStream(&Saved);
  State.counters["bytes"] = static_cast<double>(Saved.Size());
  for (auto _ : State) {
    Saved.SetPosition(0);
    TvqrXMLDocument Read;
    Read.LoadFromStream(&Saved);
    benchmark::DoNotOptimize(Read.Root()->Count());
  }
}

}  // namespace

BENCHMARK(BM_ReportXMLSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportXMLLoad)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
