// AppBench.cpp - the data module on a generated catalogue of 5,000 colours with 20,000 lines in
// each recipe table: the catalogue price recalculation, and catalogue cursor moves with their
// detail queries (the eight costing queries and the two colour prices follow the cursor).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/AppDialogs.h"
#include "app/DM_MAIN.h"
#include "app/SampleDatabase.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

namespace fs = std::filesystem;

constexpr int kColours = 5000;
constexpr int kLinesPerColour = 4;

std::string GeneratedDatabase() {
  std::string Sql = ReadTextFile(Utf8ToString(VORENTA_SAMPLE_SQL));
  Sql += "DELETE FROM DS_COLOR; DELETE FROM DS_COLOR_REC; DELETE FROM DS_COLOR_REC_A;\n";
  Sql += "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
         std::to_string(kColours) + ")\n"
         "INSERT INTO DS_COLOR (ID,NM,COLOR,COLOR_TP_ID,AM,BASE_ID,IND,PRICE1)\n"
         "SELECT i, 'К ' || printf('%02d-%02d', i/100 % 100, i % 100), i*997 % 16777216,"
         " 1 + i % 3, 100, 1, i / 50, 100 FROM n;\n";
  for (const char* Table : {"DS_COLOR_REC", "DS_COLOR_REC_A"})
    Sql += std::string("INSERT INTO ") + Table +
           " (COLOR_ID,LKM_TP_ID,LKM_ID,LKM_REC_ID,AM" +
           (std::string(Table) == "DS_COLOR_REC_A" ? ",IS_BASE1" : "") +
           ")\nSELECT ID, 1, 1, 1, 70" +
           (std::string(Table) == "DS_COLOR_REC_A" ? ", 1" : "") +
           " FROM DS_COLOR UNION ALL SELECT ID, 2, 3, 4, 15" +
           (std::string(Table) == "DS_COLOR_REC_A" ? ", 0" : "") +
           " FROM DS_COLOR UNION ALL SELECT ID, 2, 4, 5, 10" +
           (std::string(Table) == "DS_COLOR_REC_A" ? ", 0" : "") +
           " FROM DS_COLOR UNION ALL SELECT ID, 2, 5, 6, 5" +
           (std::string(Table) == "DS_COLOR_REC_A" ? ", 0" : "") + " FROM DS_COLOR;\n";
  static_assert(kLinesPerColour == 4, "the generator writes four lines per colour");
  return Sql;
}

class TBenchDatabase {
public:
  TBenchDatabase() {
    Dir = fs::temp_directory_path() / "vorenta_app_bench";
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    fs::current_path(Dir);
    CreateDatabaseFile(u"DATA/vorenta.data", GeneratedDatabase());
    SetAppBoxHandler([](TAppBoxKind, const String&, const String&) { return true; });
    Module = std::make_unique<TDM>(nullptr);
    Module->RefreshAllData();
    Module->Calculate(Variant(10.0));
  }
  ~TBenchDatabase() {
    Module.reset();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(Dir);
  }
  fs::path Dir;
  std::unique_ptr<TDM> Module;
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
