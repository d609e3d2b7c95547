// XlsxExportBench.cpp - the colour price list of 10,000 colours exported to a workbook by the
// spreadsheet filter (fast and cell by cell), against openpyxl building and saving the same
// sheet from the cell model our stand-in dumps.
//
// Ours: the export through the report's driver with its pages rebuilt and warm: feeding the
// matrix, Prepare, filling the sheet, saving; the split is reported per part. The anchor: the
// system's python3 with openpyxl reads the dumped model (not timed), builds the sheet (values,
// fonts, fills, borders, number formats, alignment, wrap, merges, heights, widths, breaks,
// margins) and saves it, timing itself; before timing it checks that our file and its own read
// back equal (values, merges, heights, widths, breaks). Run in a Release build:
//   QT_QPA_PLATFORM=offscreen build-rel/bench/XlsxExportBench
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/BenchSample.h"
#include "platform/rtl/SysUtils.h"
#include "platform/shell/Spreadsheet.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrEngine.h"
#include "report/output/vqrExcel.h"
#include "report/output/vqrExportProgress.h"
#include "report/output/vqrExportXLS.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kColours = 10000;

const char* kAnchorScript = R"PY(
import json, sys, time, openpyxl
from openpyxl.styles import Font, PatternFill, Border, Side, Alignment
from openpyxl.worksheet.pagebreak import Break
from openpyxl.utils import get_column_letter
from openpyxl.worksheet.merge import MergedCellRange
model = json.load(open(sys.argv[1], encoding='utf-8'))
ours, out = sys.argv[2], sys.argv[3]
H = {-4152: 'right', -4108: 'center', -4130: 'justify', -4131: 'left', 1: None}
V = {-4107: 'bottom', -4108: 'center', -4160: 'top', -4130: 'justify'}
thin = Side(style='thin')

def build():
    wb = openpyxl.Workbook()
    ws = wb.active
    styles = {}
    for r, c, value, fmt, borders, st in model['cells']:
        cell = ws.cell(row=r + 1, column=c + 1)
        if value != '':
            cell.value = value
        key = (json.dumps(st, sort_keys=True), fmt, borders)
        s = styles.get(key)
        if s is None:
            s = {}
            if st:
                s['font'] = Font(name=st['font'], size=st['size'], bold=bool(st['bold']),
                                 italic=bool(st['italic']), underline='single' if st['underline'] else None,
                                 color='FF%06X' % st['color'])
                if st['fill'] >= 0:
                    s['fill'] = PatternFill('solid', fgColor='FF%06X' % st['fill'])
                s['alignment'] = Alignment(horizontal=H.get(st['h']), vertical=V.get(st['v']),
                                           text_rotation=st['rotation'] if st['rotation'] >= 0 else 90 - st['rotation'],
                                           wrap_text=bool(model['wrap']))
            s['border'] = Border(left=thin if borders & 1 else Side(), top=thin if borders & 2 else Side(),
                                 bottom=thin if borders & 4 else Side(), right=thin if borders & 8 else Side())
            if fmt:
                s['number_format'] = fmt
            styles[key] = s
        for k, v in s.items():
            setattr(cell, k, v)
    # merge_cells checks each new range against all earlier ones (quadratic: 54 s for 10,494
    # merges); the ranges are distinct, so they are added the way merge_cells does after it.
    for r1, c1, r2, c2 in model['merges']:
        mcr = MergedCellRange(ws, '%s%d:%s%d' % (get_column_letter(c1 + 1), r1 + 1,
                                                get_column_letter(c2 + 1), r2 + 1))
        ws.merged_cells.ranges.append(mcr)
        ws._clean_merge_range(mcr)
    for r, h in model['rows'].items():
        ws.row_dimensions[int(r) + 1].height = h
    for c, w in model['cols'].items():
        ws.column_dimensions[get_column_letter(int(c) + 1)].width = w
    for b in model['breaks'][:1023]:
        ws.row_breaks.append(Break(id=b))
    l, r, t, b = model['margins']
    ws.page_margins.left, ws.page_margins.right = l / 72, r / 72
    ws.page_margins.top, ws.page_margins.bottom = t / 72, b / 72
    ws.page_setup.orientation = 'landscape' if model['landscape'] else 'portrait'
    wb.save(out)

def digest(path):
    ws = openpyxl.load_workbook(path).worksheets[0]
    values = {(c.row, c.column): c.value for row in ws.iter_rows() for c in row if c.value is not None}
    merges = sorted(str(m) for m in ws.merged_cells.ranges)
    heights = {r: round(d.height, 2) for r, d in ws.row_dimensions.items() if d.height is not None}
    breaks = [b.id for b in ws.row_breaks.brk]
    return values, merges, heights, breaks

build()
equal = digest(ours) == digest(out)
start = time.perf_counter()
build()
print('%s %.6f' % ('equal' if equal else 'DIFFERENT', time.perf_counter() - start))
)PY";

class TBenchReport : public TBenchSample {
public:
  TBenchReport() : TBenchSample("vorenta_xlsx_bench", kColours) {
    Report = ColourPriceList();
    Reports->PrepareReport(u"vqrRepColorPrice", true);
    std::ofstream(Dir / "anchor.py") << kAnchorScript;
  }

  struct TSplit {
    double Feed = 0, Prepare = 0, Fill = 0, Save = 0;
    int Rows = 0;
  };
  // One export; the split comes from the moments the matrix and the filter open their
  // progress (Prepare begins, the sheet filling begins) and from the hook before saving.
  TSplit Export(bool Fast, const fs::path& File, bool Dump = false) {
    TvqrXLSExport F(TvqrCustomExportFilter::NoRegisterTag{});
    F.SetShowDialog(false);
    F.SetFastExport(Fast);
    F.SetFileName(Utf8ToString(File.string()));
    std::vector<Clock::time_point> Marks;
    SetExportProgressFactory([&] {
      Marks.push_back(Clock::now());
      return std::make_unique<TvqrExportProgress>();
    });
    TSplit S;
    Clock::time_point BeforeSave;
    Clock::duration Dumping{};
    TvqrXLSExport::SetBeforeSaveHookForTests([&](TvqrExcel* E) {
      BeforeSave = Clock::now();
      S.Rows = static_cast<int>(E->WorkSheet()->RowHeights().size());
      if (Dump) std::ofstream(Dir / "model.json") << E->WorkSheet()->DumpJson();
      Dumping = Clock::now() - BeforeSave;  // not timed
    });
    const auto Start = Clock::now();
    if (!Report->Export(&F)) throw std::runtime_error("export failed");
    const auto End = Clock::now();
    SetExportProgressFactory(nullptr);
    TvqrXLSExport::SetBeforeSaveHookForTests(nullptr);
    auto Sec = [](auto A, auto B) { return std::chrono::duration<double>(B - A).count(); };
    if (Marks.size() >= 2) {
      S.Feed = Sec(Start, Marks[0]);
      S.Prepare = Sec(Marks[0], Marks[1]);
      S.Fill = Sec(Marks[1], BeforeSave);
    }
    S.Save = Sec(BeforeSave + Dumping, End);
    return S;
  }

  TvqrReport* Report = nullptr;
};

TBenchReport& Bench() {
  static TBenchReport B;
  return B;
}

void Report(benchmark::State& State, const TBenchReport::TSplit& Sum, int Runs,
            const fs::path& File) {
  State.counters["rows"] = Sum.Rows;
  State.counters["rows/s"] = benchmark::Counter(Sum.Rows * Runs, benchmark::Counter::kIsRate);
  State.counters["feed_ms"] = Sum.Feed * 1000 / Runs;
  State.counters["prepare_ms"] = Sum.Prepare * 1000 / Runs;
  State.counters["fill_ms"] = Sum.Fill * 1000 / Runs;
  State.counters["save_ms"] = Sum.Save * 1000 / Runs;
  State.counters["file_kB"] = static_cast<double>(fs::file_size(File)) / 1024;
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  State.counters["peak_rss_MB"] = static_cast<double>(U.ru_maxrss) / 1024;
}

void ExportPath(benchmark::State& State, bool Fast) {
  TBenchReport& B = Bench();
  const fs::path File = B.Dir / (Fast ? "fast.xlsx" : "cells.xlsx");
  B.Export(Fast, File);  // the pages rebuilt once: warm
  TBenchReport::TSplit Sum;
  int Runs = 0;
  for (auto _ : State) {
    const TBenchReport::TSplit S = B.Export(Fast, File);
    Sum.Feed += S.Feed;
    Sum.Prepare += S.Prepare;
    Sum.Fill += S.Fill;
    Sum.Save += S.Save;
    Sum.Rows = S.Rows;
    ++Runs;
  }
  Report(State, Sum, Runs, File);
}

void OursFast(benchmark::State& State) { ExportPath(State, true); }
BENCHMARK(OursFast)->Unit(benchmark::kMillisecond)->Iterations(5);

void OursCellByCell(benchmark::State& State) { ExportPath(State, false); }
BENCHMARK(OursCellByCell)->Unit(benchmark::kMillisecond)->Iterations(5);

// openpyxl on the same sheet; the time is the script's own, from building to saved.
void OpenpyxlAnchor(benchmark::State& State) {
  TBenchReport& B = Bench();
  const fs::path Ours = B.Dir / "fast.xlsx";
  const TBenchReport::TSplit S = B.Export(true, Ours, true);
  const fs::path Theirs = B.Dir / "openpyxl.xlsx";
  const std::string Cmd = "/usr/bin/python3 " + (B.Dir / "anchor.py").string() + " " +
                          (B.Dir / "model.json").string() + " " + Ours.string() + " " +
                          Theirs.string();
  for (auto _ : State) {
    char Buf[256] = {};
    FILE* P = popen(Cmd.c_str(), "r");
    if (!P || !std::fgets(Buf, sizeof Buf, P)) {
      State.SkipWithError("python3 with openpyxl did not run");
      if (P) pclose(P);
      return;
    }
    pclose(P);
    char Verdict[32] = {};
    double Seconds = 0;
    if (std::sscanf(Buf, "%31s %lf", Verdict, &Seconds) != 2 || std::string(Verdict) != "equal") {
      State.SkipWithError(("the files differ: " + std::string(Buf)).c_str());
      return;
    }
    State.SetIterationTime(Seconds);
  }
  State.counters["rows"] = S.Rows;
  State.counters["rows/s"] = benchmark::Counter(S.Rows * static_cast<double>(State.iterations()),
                                                benchmark::Counter::kIsRate);
  State.counters["file_kB"] = static_cast<double>(fs::file_size(Theirs)) / 1024;
}
BENCHMARK(OpenpyxlAnchor)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
