// ReportBench.cpp - the band engine preparing a long grouped report, and the prepared pages
// rebuilt and drawn onto the recording canvas.
//
// Workload: 10,000 rows fed from memory (TvqrDBDataset over TArrayDataSet), groups of 20 to 30
// rows, A4, Arial 9 pt (Liberation Sans), a page header, a page footer with "page X of Y", a
// group header and a group footer with two SUMs, a summary with the grand totals. Variant A has
// fixed rows; in variant B each row has a comment that grows and stretches the row. Only the
// prepare call is timed (PrepareReport, template save and reload on as in the application):
// the median of 5 runs after a warm-up. Before timing, the page count and the grand totals are
// checked against the data.
//
// The anchor is KReport 3.2 preparing the same report (bench/kreport/, a Qt 5 program built as
// its own project when the package is present): ReportBench runs it as a child process with the
// same rows and seed and prints both sides and their ratio.
//
//   ReportBench [rows]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/graphics/Metafile.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrDBSet.h"
#include "report/core/vqrEngine.h"
#include "report/core/vqrPreviewPages.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TWorkload {
  std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>(nullptr);
  TArrayDataSet* Table = nullptr;
  std::unique_ptr<TvqrReport> Report;
  long long SumQty = 0, SumCost = 0;
};

std::unique_ptr<TWorkload> Build(int Rows, bool Growing, unsigned Seed) {
  auto W = std::make_unique<TWorkload>();
  W->Table = new TArrayDataSet(W->Owner.get());
  W->Table->FieldDefs()->Add(u"GRP", ftInteger);
  W->Table->FieldDefs()->Add(u"NAME", ftString, 40);
  W->Table->FieldDefs()->Add(u"QTY", ftInteger);
  W->Table->FieldDefs()->Add(u"COST", ftInteger);
  W->Table->FieldDefs()->Add(u"NOTE", ftString, 400);
  std::mt19937 Random(Seed);
  int Group = 1, Left = 20 + static_cast<int>(Random() % 11);
  for (int I = 0; I < Rows; ++I) {
    if (Left-- == 0) {
      ++Group;
      Left = 19 + static_cast<int>(Random() % 11);
    }
    int Qty = 1 + static_cast<int>(Random() % 50), Cost = 10 + static_cast<int>(Random() % 990);
    String Note;
    if (Growing)
      for (int K = 0; K < I % 12; ++K) Note += u"примечание к строке ";
    W->Table->AddRow({Group, u"Позиция " + IntToStr(I + 1), Qty, Cost, Note});
    W->SumQty += Qty;
    W->SumCost += Cost;
  }
  W->Table->Open();

  W->Report = std::make_unique<TvqrReport>(nullptr);
  TvqrReport* R = W->Report.get();
  // The adapter belongs to the host, as in the application: the template reload keeps it.
  auto* Adapter = new TvqrDBDataset(W->Owner.get());
  Adapter->SetName(u"ds");
  Adapter->SetUserName(u"ds");
  Adapter->SetDataSet(W->Table);
  R->DataSets()->Add(Adapter);
  auto* Page = new TvqrReportPage(R);
  Page->SetName(u"Page1");
  Page->SetPaperSize(9);
  for (auto Set : {&TvqrReportPage::SetLeftMargin, &TvqrReportPage::SetRightMargin,
                   &TvqrReportPage::SetTopMargin, &TvqrReportPage::SetBottomMargin})
    (Page->*Set)(10);
  Page->Font()->SetName(u"Arial");
  Page->Font()->SetSize(9);
  int Names = 0;
  auto Band = [&](TvqrBand* B, const String& Name, Extended Top, Extended Height) {
    B->SetName(Name);
    B->SetBounds(0, Top, 718, Height);
    return B;
  };
  auto Memo = [&](TvqrBand* B, Extended Left, Extended Width, const String& Text) {
    auto* M = new TvqrMemoView(B);
    M->SetName(u"Memo" + IntToStr(++Names));
    M->SetBounds(Left, 0, Width, B->Height());
    M->SetText(Text);
    M->Frame()->SetTyp(TvqrFrameTypes{ftLeft, ftRight, ftTop, ftBottom});
    return M;
  };
  auto* Head = Band(new TvqrPageHeader(Page), u"PageHeader1", 0, 24);
  Memo(Head, 0, 718, u"Отчёт о позициях");
  auto* GH = static_cast<TvqrGroupHeader*>(Band(new TvqrGroupHeader(Page), u"GroupHeader1", 40, 18));
  GH->SetCondition(u"ds.\"GRP\"");
  Memo(GH, 0, 718, u"Группа [ds.\"GRP\"]");
  auto* Data = static_cast<TvqrMasterData*>(Band(new TvqrMasterData(Page), u"MasterData1", 70, 18));
  Data->SetDataSet(Adapter);
  Data->SetStretched(Growing);
  Memo(Data, 0, 200, u"[ds.\"NAME\"]");
  Memo(Data, 200, 80, u"[ds.\"QTY\"]")->SetHAlign(haRight);
  Memo(Data, 280, 100, u"[ds.\"COST\" #n%2,0n]")->SetHAlign(haRight);
  if (Growing) Memo(Data, 380, 338, u"[ds.\"NOTE\"]")->SetStretchMode(smMaxHeight);
  auto* GF = Band(new TvqrGroupFooter(Page), u"GroupFooter1", 100, 18);
  Memo(GF, 0, 200, u"Итого по группе");
  Memo(GF, 200, 80, u"[SUM(<ds.\"QTY\">,MasterData1)]");
  Memo(GF, 280, 100, u"[SUM(<ds.\"COST\">,MasterData1) #n%2,0n]");
  auto* Summary = Band(new TvqrReportSummary(Page), u"ReportSummary1", 140, 18);
  Memo(Summary, 0, 200, u"Всего");
  Memo(Summary, 200, 80, u"[SUM(<ds.\"QTY\">,MasterData1)]");
  Memo(Summary, 280, 100, u"[SUM(<ds.\"COST\">,MasterData1)]");
  auto* Foot = Band(new TvqrPageFooter(Page), u"PageFooter1", 200, 18);
  Memo(Foot, 500, 218, u"стр. [<Page#>] из [TotalPages#]");
  return W;
}

double Seconds(const std::function<void()>& F) {
  auto Start = Clock::now();
  F();
  return std::chrono::duration<double>(Clock::now() - Start).count();
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

// The summary's texts must hold the grand totals.
bool TotalsRight(TvqrPreviewPages* Store, const TWorkload& W) {
  String Last;
  std::function<void(TvqrXMLItem*)> Walk = [&](TvqrXMLItem* Item) {
    for (int I = 0; I < Item->Count(); ++I) {
      if (Item->Items(I)->PropExists(u"u")) Last += Item->Items(I)->Prop(u"u") + u"|";
      Walk(Item->Items(I));
    }
  };
  TvqrXMLItem* Page = Store->PagesItem()->Items(Store->Count() - 1);
  if (!Page->Loaded()) Store->XMLDocument()->LoadItem(Page);
  Walk(Page);
  return Last.find(u"Всего|" + IntToStr(W.SumQty) + u"|" + IntToStr(W.SumCost) + u"|") !=
         String::npos;
}

struct TAnchor {
  bool Ran = false;
  int Pages = 0;
  double Seconds = 0;
  std::string Line;
};

// Runs the KReport program for one variant; its one output line carries pages and seconds.
TAnchor RunAnchor(int Rows, bool Growing) {
  TAnchor A;
#ifdef VORENTA_KREPORT_ANCHOR
  if (std::getenv("REPORTBENCH_NO_ANCHOR")) return A;  // e.g. under callgrind
  std::string Command = std::string(VORENTA_KREPORT_ANCHOR) + " " + std::to_string(Rows) +
                        " 42 " + (Growing ? "B" : "A") + " 2>/dev/null";
  if (FILE* Pipe = popen(Command.c_str(), "r")) {
    char Buffer[512];
    while (std::fgets(Buffer, sizeof Buffer, Pipe)) A.Line = Buffer;
    pclose(Pipe);
  }
  A.Ran = std::sscanf(A.Line.c_str(), "pages %d seconds %lf", &A.Pages, &A.Seconds) == 2 &&
          A.Seconds > 0;
#else
  (void)Rows;
  (void)Growing;
#endif
  return A;
}

void RunVariant(const char* Label, int Rows, bool Growing) {
  auto W = Build(Rows, Growing, 42);
  TvqrReport* R = W->Report.get();
  auto* Store = static_cast<TvqrPreviewPages*>(R->PreviewPages());
  if (!R->PrepareReport(true)) {
    std::printf("%s: run failed: %s\n", Label, StringToUtf8(R->Errors()->Text()).c_str());
    return;
  }
  const int Pages = Store->Count();
  if (!TotalsRight(Store, *W)) std::printf("%s: grand totals DIFFER from the data\n", Label);
  std::vector<double> Times;
  for (int I = 0; I < 5; ++I)
    Times.push_back(Seconds([&] {
      if (!R->PrepareReport(true)) std::printf("%s: run failed\n", Label);
    }));
  double T = Median(Times);
  if (Store->Count() != Pages) std::printf("%s: page count changed between runs\n", Label);
  std::printf("%s: %d rows, %d pages, prepare %.3f s median of 5, %.0f pages/s, %.0f rows/s\n",
              Label, Rows, Pages, T, Pages / T, Rows / T);
  TAnchor K = RunAnchor(Rows, Growing);
  if (K.Ran) {
    std::printf("%s: KReport 3.2: %d pages, pre-render %.3f s median of 5, %.0f pages/s, %.0f rows/s"
                " (%s)\n",
                Label, K.Pages, K.Seconds, K.Pages / K.Seconds, Rows / K.Seconds,
                K.Line.find("totals") != std::string::npos &&
                        K.Line.find("DIFFER") == std::string::npos
                    ? "totals and page texts checked"
                    : "its totals or page texts DIFFER");
    std::printf("%s: ratio ours/KReport: %.1fx pages/s, %.1fx rows/s\n", Label,
                (Pages / T) / (K.Pages / K.Seconds), K.Seconds / T);
  } else {
    std::printf("%s: KReport anchor not built or failed%s%s\n", Label, K.Line.empty() ? "" : ": ",
                K.Line.c_str());
  }
  if (std::getenv("REPORTBENCH_PREPARE_ONLY")) return;
  // Page rebuild plus drawing onto the recording canvas, as the preview and PDF start from.
  double Draw = Seconds([&] {
    for (int P = 0; P < Pages; ++P) {
      TMetafile Meta;
      TMetafileCanvas Canvas(&Meta);
      Store->DrawPage(P, &Canvas, 1, 1, 0, 0);
    }
  });
  std::printf("%s: rebuild + DrawPage on TMetafileCanvas %.3f s, %.0f pages/s\n", Label, Draw,
              Pages / Draw);
}

}  // namespace

int main(int argc, char** argv) {
  int Rows = argc > 1 ? std::atoi(argv[1]) : 10000;
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  vqrModuleInitialize();
  RunVariant("A fixed rows", Rows, false);
  RunVariant("B growing rows", Rows, true);
  vqrModuleFinalize();
  return 0;
}
