// SqliteBench - the database layer's hot paths against plain SQLite.
//
// Opening: a 100,000-row, 10-column query read into the static cursor with every field read
// through its TField, side by side with a plain sqlite3_step loop reading the same values
// into Variants. Master move: the catalogue pattern, a cursor move on 5,000 colours that
// re-runs 10 detail queries over 4 recipe lines each.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Strings.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/sqlite/ADODB.h"

namespace {

namespace fs = std::filesystem;

const fs::path& DatabasePath() {
  static const fs::path Path = [] {
    fs::path P = fs::temp_directory_path() / "vorenta_sqlite_bench.data";
    fs::remove(P);
    sqlite3* Db = nullptr;
    sqlite3_open(P.c_str(), &Db);
    sqlite3_exec(Db, R"(
      CREATE TABLE WIDE (ID INTEGER PRIMARY KEY, NM TEXT, CODE TEXT, N1 INTEGER, N2 INTEGER,
        N3 INTEGER, F1 REAL, F2 REAL, F3 REAL, NOTE TEXT);
      WITH RECURSIVE S(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM S WHERE I < 100000)
      INSERT INTO WIDE SELECT I, 'Краска ' || I, printf('K-%06d', I), I % 7, I * 3, I % 1000,
        I / 7.0, I * 1.5, I % 13 + 0.25, CASE WHEN I % 5 = 0 THEN NULL ELSE 'примечание' END
      FROM S;
      CREATE TABLE DS_COLOR (ID INTEGER PRIMARY KEY AUTOINCREMENT, NM TEXT, AM REAL, IND INTEGER,
        PRICE1 REAL, PRICE1A REAL);
      CREATE TABLE DS_COLOR_REC (RID INTEGER PRIMARY KEY AUTOINCREMENT, COLOR_ID INTEGER,
        LKM_TP_ID INTEGER, LKM_REC_ID INTEGER, AM REAL);
      CREATE TABLE DS_LKM_REC (ID INTEGER PRIMARY KEY AUTOINCREMENT, NM TEXT, PRICE1 REAL);
      CREATE INDEX IX_COLOR_REC_COLOR ON DS_COLOR_REC(COLOR_ID);
      WITH RECURSIVE S(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM S WHERE I < 5000)
      INSERT INTO DS_COLOR SELECT I, 'Цвет ' || I, 100, I % 3, 150 + I % 50, 160 FROM S;
      WITH RECURSIVE S(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM S WHERE I < 200)
      INSERT INTO DS_LKM_REC SELECT I, 'Пигмент ' || I, 10 + I FROM S;
      WITH RECURSIVE S(I) AS (SELECT 0 UNION ALL SELECT I + 1 FROM S WHERE I < 19999)
      INSERT INTO DS_COLOR_REC (COLOR_ID, LKM_TP_ID, LKM_REC_ID, AM)
        SELECT I / 4 + 1, CASE WHEN I % 4 = 0 THEN 1 ELSE 2 END, I % 200 + 1,
               CASE WHEN I % 4 = 0 THEN 70 ELSE 10 END FROM S;
    )", nullptr, nullptr, nullptr);
    sqlite3_close(Db);
    return P;
  }();
  return Path;
}

std::unique_ptr<TADOConnection> Connect() {
  auto Conn = std::make_unique<TADOConnection>(nullptr);
  Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                            Utf8ToString(DatabasePath().string()));
  Conn->Open();
  return Conn;
}

Variant ColumnVariant(sqlite3_stmt* Stmt, int I) {
  switch (sqlite3_column_type(Stmt, I)) {
    case SQLITE_INTEGER: {
      const sqlite3_int64 V = sqlite3_column_int64(Stmt, I);
      return V >= INT32_MIN && V <= INT32_MAX ? Variant(static_cast<int>(V))
                                               : Variant(static_cast<long long>(V));
    }
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(Stmt, I));
    case SQLITE_TEXT:
      return Variant(String(static_cast<const char16_t*>(sqlite3_column_text16(Stmt, I)),
                            sqlite3_column_bytes16(Stmt, I) / 2));
    default:
      return Variant::MakeNull();
  }
}

void BM_PlainStepIntoVariants(benchmark::State& State) {
  DatabasePath();
  sqlite3* Db = nullptr;
  sqlite3_open_v2(DatabasePath().c_str(), &Db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_stmt* Stmt = nullptr;
  sqlite3_prepare_v2(Db, "SELECT * FROM WIDE", -1, &Stmt, nullptr);
  std::vector<Variant> Row(10);
  for (auto _ : State) {
    int Rows = 0;
    while (sqlite3_step(Stmt) == SQLITE_ROW) {
      for (int I = 0; I < 10; ++I) Row[I] = ColumnVariant(Stmt, I);
      benchmark::DoNotOptimize(Row.data());
      ++Rows;
    }
    sqlite3_reset(Stmt);
    State.counters["rows"] = Rows;
  }
  sqlite3_finalize(Stmt);
  sqlite3_close(Db);
}
BENCHMARK(BM_PlainStepIntoVariants)->Unit(benchmark::kMillisecond);

void BM_QueryOpenAndReadEveryField(benchmark::State& State) {
  auto Conn = Connect();
  TADOQuery Q(nullptr);
  Q.SetConnection(Conn.get());
  Q.SQL()->SetText(u"SELECT * FROM WIDE");
  Variant Value;
  for (auto _ : State) {
    Q.Open();
    std::vector<TField*> Fields;
    for (int I = 0; I < Q.FieldCount(); ++I) Fields.push_back(Q.Fields()->Fields(I));
    int Rows = 0;
    for (; !Q.Eof(); Q.Next()) {
      for (TField* F : Fields) {
        Value = F->Value();
        benchmark::DoNotOptimize(Value);
      }
      ++Rows;
    }
    Q.Close();
    State.counters["rows"] = Rows;
  }
}
BENCHMARK(BM_QueryOpenAndReadEveryField)->Unit(benchmark::kMillisecond);

// The catalogue: a master cursor move re-runs the 10 detail queries of the current colour.
void BM_MasterMoveRerunsTenDetails(benchmark::State& State) {
  auto Conn = Connect();
  TADOQuery Master(nullptr);
  Master.SetConnection(Conn.get());
  Master.SQL()->SetText(u"SELECT * FROM DS_COLOR ORDER BY IND, NM COLLATE RU, ID");
  TDataSource Source(nullptr);
  Source.SetDataSet(&Master);
  const char16_t* const Details[] = {
      u"SELECT cr.*, COALESCE(lr.PRICE1, 0.0) AS PRICE1, (cr.AM*:X)/100 AS AMX, lr.NM AS LR_NM "
      u"FROM DS_COLOR_REC cr LEFT JOIN DS_LKM_REC lr ON lr.ID=cr.LKM_REC_ID "
      u"WHERE cr.COLOR_ID=:ID ORDER BY cr.LKM_TP_ID, lr.NM COLLATE RU, cr.RID",
      u"SELECT cr1.*, cr2.AM AS A, ROUND(FDIV(cr1.AM, 100-cr2.AM)*:X2, 4) AS AMX "
      u"FROM DS_COLOR_REC cr1 JOIN DS_COLOR_REC cr2 ON cr2.COLOR_ID=cr1.COLOR_ID AND cr2.LKM_TP_ID=1 "
      u"WHERE cr1.COLOR_ID=:ID ORDER BY cr1.LKM_TP_ID, cr1.RID",
      u"SELECT * FROM DS_COLOR_REC WHERE COLOR_ID=:ID ORDER BY RID",
      u"SELECT * FROM DS_COLOR_REC WHERE COLOR_ID=:ID AND LKM_TP_ID<>1 ORDER BY RID",
      u"SELECT c.ID, c.PRICE1, ROUND(1.0000*:X, 4) AS SUM_AMX, ROUND(c.PRICE1*:X, 0) AS SUM_COST "
      u"FROM DS_COLOR c WHERE c.ID=:ID",
      u"SELECT c.ID, c.PRICE1A AS PRICE1, ROUND(1.0000*:X, 4) AS SUM_AMX FROM DS_COLOR c WHERE c.ID=:ID",
      u"SELECT cr.COLOR_ID, sum(cr.AM) AS SAM, ROUND(sum(cr.AM*lr.PRICE1/100), 0) AS PRICE1 "
      u"FROM DS_COLOR_REC cr LEFT JOIN DS_LKM_REC lr ON cr.LKM_REC_ID=lr.ID "
      u"WHERE cr.COLOR_ID=:ID GROUP BY cr.COLOR_ID",
      u"SELECT cr.COLOR_ID, sum(cr.AM*1/100) AS AM FROM DS_COLOR_REC cr "
      u"WHERE cr.COLOR_ID=:ID GROUP BY cr.COLOR_ID",
      u"SELECT ID, PRICE1, ROUND(sum_amx, 4) AS SUM_AMX FROM (SELECT c.ID, c.PRICE1, "
      u"sum(CASE WHEN cr.LKM_TP_ID=1 THEN :X1 ELSE cr.AM/100*:X2 END) AS sum_amx "
      u"FROM DS_COLOR_REC cr JOIN DS_COLOR c ON c.ID=cr.COLOR_ID WHERE cr.COLOR_ID=:ID "
      u"GROUP BY c.ID, c.PRICE1)",
      u"SELECT count(*) AS N, max(AM) AS MX FROM DS_COLOR_REC WHERE COLOR_ID=:ID",
  };
  std::vector<std::unique_ptr<TADOQuery>> Queries;
  for (const char16_t* Sql : Details) {
    auto Q = std::make_unique<TADOQuery>(nullptr);
    Q->SetConnection(Conn.get());
    Q->SQL()->SetText(Sql);
    for (const char16_t* Name : {u"X", u"X1", u"X2"})
      if (TParam* P = Q->Parameters()->FindParam(Name)) P->SetValue(2.5);
    Q->SetDataSource(&Source);
    Queries.push_back(std::move(Q));
  }
  Master.Open();
  for (auto& Q : Queries) Q->Open();
  int Lines = 0;
  for (auto _ : State) {
    Master.Next();
    if (Master.Eof()) Master.First();
    Lines += Queries[0]->RecordCount();
  }
  State.counters["lines/move"] = static_cast<double>(Lines) / State.iterations();
  for (auto& Q : Queries) Q->Close();
}
BENCHMARK(BM_MasterMoveRerunsTenDetails)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
