// AppBench.cpp - the data module on a generated catalogue of 5,000 colours with 20,000 lines in
// each recipe table: the catalogue price recalculation, and catalogue cursor moves with their
// detail queries (the eight costing queries and the two colour prices follow the cursor).
#include <benchmark/benchmark.h>

#include "bench/BenchSample.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

constexpr int kColours = 5000;

// The sample with the costing of the first colour done once.
struct TBenchDatabase : TBenchSample {
  TBenchDatabase() : TBenchSample("vorenta_app_bench", kColours) {
    Module->Calculate(Variant(10.0));
  }
};

TBenchDatabase& Database() {
  static TBenchDatabase Db;
  return Db;
}

void CataloguePriceRecalculation(benchmark::State& State) {
  TDM* Module = Database().Module.get();
  for (auto _ : State) Module->RecalculateCatalogPrices();
}
BENCHMARK(CataloguePriceRecalculation)->Unit(benchmark::kMillisecond);

// One catalogue move: the ten detail queries follow the cursor.
void CatalogueCursorMove(benchmark::State& State) {
  TDM* Module = Database().Module.get();
  Module->Color->First();
  for (auto _ : State) {
    Module->Color->Next();
    if (Module->Color->Eof()) Module->Color->First();
    benchmark::DoNotOptimize(Module->ColorCost2->FieldByName(u"SUM_COST")->AsFloat());
  }
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(CatalogueCursorMove)->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
