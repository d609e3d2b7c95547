// ReportModelBench.cpp - what every report run pays to restore its template: saving the
// report to a stream and loading it back (objects created and every property set), for the
// order template and for a synthetic template of 2,000 text objects; beside it, libxml2
// parsing and re-serialising the same text (a tree of nodes only).
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/classes/Streams.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrDBSet.h"
#include "report/core/vqrEngine.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"

namespace {

std::string ReadFile(const char* Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), {});
}

// The process-wide state every case shares: the report module, the band engine and the
// adapters the order template names, over an order of 3 colours with 8 lines each.
struct TModule {
  TComponent Owner{nullptr};
  TModule() {
    vqrModuleInitialize();
    vqrEngineModuleInitialize();
    auto* Order = new TArrayDataSet(&Owner);
    for (const char16_t* F : {u"NUM", u"DT", u"COMMENT"}) Order->FieldDefs()->Add(F, ftWideString, 40);
    Order->AddRow({Variant(u"12"), Variant(u"09.12.2026"), Variant(u"Самовывоз")});
    auto* Lines = new TArrayDataSet(&Owner);
    Lines->FieldDefs()->Add(u"ORD_TOP_ID", ftInteger);
    for (const char16_t* F : {u"lvCOLOR_NM", u"lvLKM_REC_NM", u"COMMENT"})
      Lines->FieldDefs()->Add(F, ftWideString, 40);
    for (const char16_t* F : {u"AM0", u"AM", u"PRICE", u"cvSum"}) Lines->FieldDefs()->Add(F, ftFloat);
    for (int C = 1; C <= 3; ++C)
      for (int L = 1; L <= 8; ++L)
        Lines->AddRow({Variant(C), Variant(u"Цвет " + IntToStr(C)), Variant(u"Паста " + IntToStr(L)),
                       Variant(u""), Variant(1.25 * L), Variant(1.25 * L), Variant(310.0),
                       Variant(387.5 * L)});
    Order->Open();
    Lines->Open();
    const std::pair<const char16_t*, TDataSet*> Adapters[] = {{u"vqrDBDSOrd", Order},
                                                              {u"vqrDBDSROrdRec", Lines}};
    for (const auto& [Name, DataSet] : Adapters) {
      auto* A = new TvqrDBDataset(&Owner);
      A->SetName(Name);
      A->SetDataSet(DataSet);
    }
  }
};

void EnsureModule() { static TModule Module; }

std::unique_ptr<TvqrReport> OrderReport() {
  auto Report = std::make_unique<TvqrReport>(nullptr);
  const std::string Text = ReadFile(VORENTA_SOURCE_DIR "/app/resources/reports/vqrRepOrd.xml");
  TMemoryStream In;
  In.WriteBuffer(Text.data(), static_cast<Int64>(Text.size()));
  In.SetPosition(0);
  Report->LoadFromStream(&In);
  return Report;
}

// 20 bands of 100 framed text objects with expressions and formats.
std::unique_ptr<TvqrReport> SyntheticReport() {
  auto Report = std::make_unique<TvqrReport>(nullptr);
  auto* Page = new TvqrReportPage(Report.get());
  Page->SetName(u"Page1");
  Page->SetDefaults();
  TvqrFrameTypes All;
  All << ftLeft << ftRight << ftTop << ftBottom;
  for (int B = 0; B < 20; ++B) {
    auto* Band = new TvqrMasterData(Page);
    Band->SetName(u"Band" + IntToStr(B + 1));
    Band->SetBounds(0, B * 30, 718.1107L, 22.6772L);
    for (int M = 0; M < 100; ++M) {
      auto* Memo = new TvqrMemoView(Band);
      Memo->SetName(u"Memo" + IntToStr(B * 100 + M + 1));
      Memo->SetBounds((M % 10) * 71.811L, 0, 71.811L, 22.6772L);
      Memo->Frame()->SetTyp(All);
      Memo->SetHAlign(haRight);
      Memo->DisplayFormat()->SetKind(fkNumeric);
      Memo->DisplayFormat()->SetFormatStr(u"%2.2n");
      Memo->SetText(u"[Данные.\"Поле" + IntToStr(M) + u"\" #n%2,0n]");
    }
  }
  return Report;
}

std::string SaveText(TvqrReport& Report) {
  TMemoryStream Out;
  Report.SaveToStream(&Out);
  return std::string(static_cast<const char*>(Out.Memory()), static_cast<std::size_t>(Out.Size()));
}

void SaveAndReload(benchmark::State& State, TvqrReport& Report) {
  TMemoryStream Stream;
  for (auto _ : State) {
    Stream.SetSize(0);
    Report.SaveToStream(&Stream);
    Stream.SetPosition(0);
    Report.LoadFromStream(&Stream);
  }
  State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(Stream.Size()));
}

void LibXmlParseAndWrite(benchmark::State& State, const std::string& Text) {
  for (auto _ : State) {
    xmlDocPtr Doc = xmlReadMemory(Text.data(), static_cast<int>(Text.size()), nullptr, "utf-8", 0);
    xmlChar* Out = nullptr;
    int Size = 0;
    xmlDocDumpMemory(Doc, &Out, &Size);
    benchmark::DoNotOptimize(Size);
    xmlFree(Out);
    xmlFreeDoc(Doc);
  }
  State.SetBytesProcessed(State.iterations() * static_cast<int64_t>(Text.size()));
}

void BM_OrderTemplateSaveLoad(benchmark::State& State) {
  EnsureModule();
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  auto Report = OrderReport();
  SaveAndReload(State, *Report);
}

void BM_OrderTemplateLibXml(benchmark::State& State) {
  EnsureModule();
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  LibXmlParseAndWrite(State, SaveText(*OrderReport()));
}

void BM_Synthetic2000SaveLoad(benchmark::State& State) {
  EnsureModule();
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  auto Report = SyntheticReport();
  SaveAndReload(State, *Report);
}

void BM_Synthetic2000LibXml(benchmark::State& State) {
  EnsureModule();
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  LibXmlParseAndWrite(State, SaveText(*SyntheticReport()));
}

// One run of the order report as the application prepares it, with and without the template
// save and reload around it.
void BM_OrderPrepareReport(benchmark::State& State) {
  EnsureModule();
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  auto Report = OrderReport();
  Report->EngineOptions()->SetDestroyForms(State.range(0) != 0);
  Report->EngineOptions()->SetNewSilentMode(simSilent);
  for (auto _ : State)
    if (!Report->PrepareReport(true)) State.SkipWithError("the order report failed");
}

}  // namespace

BENCHMARK(BM_OrderPrepareReport)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrderTemplateSaveLoad)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OrderTemplateLibXml)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Synthetic2000SaveLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Synthetic2000LibXml)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
