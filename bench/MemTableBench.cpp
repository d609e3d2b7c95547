// MemTableBench - the memory table as a dataset against SQLite's in-memory database, in one
// program and one run, on the seeded material-like rows of MemTableBenchRows.h (1,000,000 by
// default). Text orders alike on both sides (a collation calling the variants' comparison),
// SQLite's LIKE is case-sensitive like the table's filter, statements are prepared, each case
// runs 5 times (median reported) and each pair's results are checked equal before timing.
//
//   sort      SortOrder "NM", then "LKM_TP_ID, NM DESC", reading every row, against ORDER BY
//             stepping all rows
//   filter    Filter "LKM_TP_ID = 2 and NM LIKE 'К%'", then NM = one of the names: count and
//             read every row, against the same WHERE
//   locate    10,000 Locate('ID', v, []) with an index from IndexDefs, against indexed SELECTs;
//             100 prefix locates (partial key, case-insensitive), against a registered prefix
//             function
//   groups    SUM(PRICE1) and COUNT(*) of each of 50 groups: a detail on its own side under a
//             master of the group keys, two aggregate fields, the master scrolled through every
//             group; against GROUP BY without and with an index
//   open      open from a driver over a TArrayDataSet of the rows, against inserting them in
//             one transaction
//   file      (no SQLite counterpart) a 100,000-row database file opened by TADOQuery alone and
//             through the driver, every row read
//   memory    bytes per record: the open table, then with an index and a sorted view, against
//             sqlite3_memory_used per row without and with indexes
//
//   MemTableBench [rows] [runs] [case]   (one case alone, for profiling)
#include <sqlite3.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/MemTableBenchRows.h"
#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MTIndexZk.h"
#include "gridlib/memtable/MemTableDataZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/db/IndexDefs.h"
#include "platform/sqlite/ADODB.h"

namespace {

const char16_t* const FieldList = u"ID, NM, COMMENT, LKM_TP_ID, PRICE1, DT_EDIT, PARENT_ID";

void AddFieldDefs(TDataSet& Data) {
  Data.FieldDefs()->Add(u"ID", ftInteger);
  Data.FieldDefs()->Add(u"NM", ftWideString, 40);
  Data.FieldDefs()->Add(u"COMMENT", ftWideString, 40);
  Data.FieldDefs()->Add(u"LKM_TP_ID", ftInteger);
  Data.FieldDefs()->Add(u"PRICE1", ftFloat);
  Data.FieldDefs()->Add(u"DT_EDIT", ftDateTime);
  Data.FieldDefs()->Add(u"PARENT_ID", ftInteger);
}

std::unique_ptr<TArrayDataSet> MakeProvider(const std::vector<TRow>& Rows) {
  auto P = std::make_unique<TArrayDataSet>(nullptr);
  AddFieldDefs(*P);
  for (const TRow& R : Rows)
    P->AddRow({R.Id, R.Name, R.CommentNull ? Variant::MakeNull() : Variant(R.Comment), R.Type, R.Price,
               Variant::FromDateTime(R.Date), R.ParentNull ? Variant::MakeNull() : Variant(R.Parent)});
  return P;
}

// A memory table filled by a dataset driver from the provider (every record on open).
struct TMemSide {
  TDataSetDriverZk Driver{nullptr};
  TMemTableZk Table{nullptr};
  explicit TMemSide(TDataSet* Provider, const char16_t* IndexField = nullptr) {
    Driver.SetProviderDataSet(Provider);
    Table.SetDataDriver(&Driver);
    Table.SetFetchAllOnOpen(true);
    if (IndexField) Table.IndexDefs()->Add(String(u"BY_") + IndexField, IndexField, {});
  }
  // Every row's values of the named fields, in table order, as text.
  std::vector<String> Read(std::initializer_list<const char16_t*> Names, int Every = 1) {
    std::vector<TField*> Fields;
    for (const char16_t* N : Names) Fields.push_back(Table.FieldByName(N));
    std::vector<String> Out;
    Table.DisableControls();
    int I = 0;
    for (Table.First(); !Table.Eof(); Table.Next(), ++I) {
      String Line;
      for (TField* F : Fields) Line += F->AsString() + u'|';
      if (I % Every == 0) Out.push_back(Line);
    }
    Table.EnableControls();
    return Out;
  }
};

void Prefix(sqlite3_context* Ctx, int, sqlite3_value** Args) {
  const auto* T = static_cast<const char16_t*>(sqlite3_value_text16(Args[0]));
  const auto* P = static_cast<const char16_t*>(sqlite3_value_text16(Args[1]));
  if (!T || !P) return sqlite3_result_int(Ctx, 0);
  const std::u16string_view Text(T, static_cast<std::size_t>(sqlite3_value_bytes16(Args[0])) / 2);
  const std::u16string_view Key(P, static_cast<std::size_t>(sqlite3_value_bytes16(Args[1])) / 2);
  sqlite3_result_int(Ctx, AnsiCompareText(Text.substr(0, Key.size()), Key) == 0);
}

struct TSqlSide {
  sqlite3* Db = nullptr;
  TSqlSide() {
    sqlite3_open(":memory:", &Db);
    Exec("PRAGMA encoding='UTF-16le'; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
         "PRAGMA temp_store=MEMORY; PRAGMA case_sensitive_like=ON;");
    sqlite3_create_collation_v2(Db, "VARIANT", SQLITE_UTF16LE, nullptr, CollateLikeVariants, nullptr);
    sqlite3_create_function_v2(Db, "ci_prefix", 2, SQLITE_UTF16LE | SQLITE_DETERMINISTIC, nullptr, Prefix,
                               nullptr, nullptr, nullptr);
    Exec("CREATE TABLE T (ID INTEGER, NM TEXT COLLATE VARIANT, COMMENT TEXT, LKM_TP_ID INTEGER,"
         " PRICE1 REAL, DT_EDIT REAL, PARENT_ID INTEGER)");
  }
  ~TSqlSide() { sqlite3_close(Db); }
  TSqlSide(const TSqlSide&) = delete;
  TSqlSide& operator=(const TSqlSide&) = delete;
  void Exec(const char* Sql) { SqlExec(Db, Sql); }
  sqlite3_stmt* Prepare(const std::string& Sql) { return SqlPrepare(Db, Sql.c_str()); }
  static void BindText(sqlite3_stmt* S, int I, const String& Text) { SqlBindText(S, I, Text); }
  void Insert(const std::vector<TRow>& Rows) { SqlInsertRows(Db, Rows); }
  // Every row of a query as text, the columns as the table shows them.
  std::vector<String> Read(const std::string& Sql, int Every = 1) {
    std::vector<String> Out;
    sqlite3_stmt* S = Prepare(Sql);
    const int Columns = sqlite3_column_count(S);
    for (int I = 0; sqlite3_step(S) == SQLITE_ROW; ++I) {
      String Line;
      for (int C = 0; C < Columns; ++C) {
        if (sqlite3_column_type(S, C) == SQLITE_INTEGER)
          Line += IntToStr(sqlite3_column_int(S, C));
        else if (const auto* P = static_cast<const char16_t*>(sqlite3_column_text16(S, C)))
          Line += String(P, static_cast<std::size_t>(sqlite3_column_bytes16(S, C)) / 2);
        Line += u'|';
      }
      if (I % Every == 0) Out.push_back(Line);
    }
    sqlite3_finalize(S);
    return Out;
  }
};

struct TCaseTimes {
  std::vector<double> Mem, Sql, Sql2;
};

void Report(const char* Case, const TCaseTimes& T, const char* SqlNote = "") {
  const double Mem = Median(T.Mem), Sql = Median(T.Sql);
  std::printf("%-10s memtable %8.3f s   sqlite%s %8.3f s   ratio (sqlite / memtable) %6.2f\n", Case, Mem,
              SqlNote, Sql, Sql / Mem);
  if (!T.Sql2.empty()) {
    const double Sql2 = Median(T.Sql2);
    std::printf("%-10s %21s   sqlite (indexed) %8.3f s   ratio %6.2f\n", "", "", Sql2, Sql2 / Mem);
  }
}

// --- the cases ---------------------------------------------------------------------------------

void SortCase(TMemSide& M, TSqlSide& S, int Runs, int N) {
  struct {
    const char16_t* Order;
    std::string Sql;
    std::initializer_list<const char16_t*> Fields;
    const char* Name;
  } Cases[] = {{u"NM", "SELECT NM FROM T ORDER BY NM", {u"NM"}, "sort NM"},
               {u"LKM_TP_ID, NM DESC", "SELECT LKM_TP_ID, NM FROM T ORDER BY LKM_TP_ID, NM DESC",
                {u"LKM_TP_ID", u"NM"}, "sort 2"}};
  for (auto& C : Cases) {
    M.Table.SetSortOrder(C.Order);
    const int Every = std::max(1, N / 1000);
    if (M.Read(C.Fields, Every) != S.Read(C.Sql, Every)) Fail(C.Name);
    TCaseTimes T;
    for (int Run = 0; Run < Runs; ++Run) {
      M.Table.SetSortOrder(String());
      T.Mem.push_back(Seconds([&] {
        M.Table.SetSortOrder(C.Order);
        M.Read(C.Fields, N);
      }));
      T.Sql.push_back(Seconds([&] { S.Read(C.Sql, N); }));
    }
    Report(C.Name, T);
  }
  M.Table.SetSortOrder(String());
}

void FilterCase(TMemSide& M, TSqlSide& S, int Runs, const char* Name, const String& Filter, const std::string& Where) {
  const std::string Sql = "SELECT ID, NM FROM T WHERE " + Where;
  M.Table.SetFilter(Filter);
  M.Table.SetFilteredValue(true);
  std::vector<String> Mine = M.Read({u"ID", u"NM"});
  if (Mine != S.Read(Sql) || static_cast<std::size_t>(M.Table.RecordCount()) != Mine.size()) Fail("filter");
  TCaseTimes T;
  for (int Run = 0; Run < Runs; ++Run) {
    M.Table.SetFilteredValue(false);
    T.Mem.push_back(Seconds([&] {
      M.Table.SetFilteredValue(true);
      if (M.Table.RecordCount() < 0) Fail("count");
      M.Read({u"ID", u"NM"});
    }));
    T.Sql.push_back(Seconds([&] { S.Read(Sql); }));
  }
  M.Table.SetFilteredValue(false);
  std::printf("%s: %zu rows\n", Name, Mine.size());
  Report(Name, T);
}

void LocateCase(TMemSide& M, TSqlSide& S, const std::vector<TRow>& Rows, int Runs) {
  S.Exec("CREATE INDEX T_ID ON T (ID)");
  const std::vector<int> Ids = [&] {
    std::mt19937 R(13);
    std::vector<int> V;
    for (int I = 0; I < 10000; ++I) V.push_back(Rows[R() % Rows.size()].Id);
    return V;
  }();
  TField* Price = M.Table.FieldByName(u"PRICE1");
  double MemSum = 0, SqlSum = 0;
  auto MemRun = [&] {
    for (int Id : Ids)
      if (M.Table.Locate(u"ID", Id, {})) MemSum += Price->AsFloat();
  };
  sqlite3_stmt* Q = S.Prepare("SELECT PRICE1 FROM T WHERE ID = ?");
  auto SqlRun = [&] {
    for (int Id : Ids) {
      sqlite3_bind_int(Q, 1, Id);
      if (sqlite3_step(Q) == SQLITE_ROW) SqlSum += sqlite3_column_double(Q, 0);
      sqlite3_reset(Q);
    }
  };
  MemRun();
  SqlRun();
  if (MemSum != SqlSum) Fail("locate");
  TCaseTimes T;
  for (int Run = 0; Run < Runs; ++Run) {
    T.Mem.push_back(Seconds(MemRun));
    T.Sql.push_back(Seconds(SqlRun));
  }
  sqlite3_finalize(Q);
  Report("locate", T);

  // Prefix locates: the first row in table order whose name starts with the prefix, any case.
  std::vector<String> Prefixes;
  std::mt19937 R(17);
  for (int I = 0; I < 100; ++I) Prefixes.push_back(AnsiLowerCase(Rows[R() % Rows.size()].Name.substr(0, 3)));
  TField* Id = M.Table.FieldByName(u"ID");
  std::vector<int> MemIds, SqlIds;
  auto MemPrefix = [&] {
    MemIds.clear();
    for (const String& P : Prefixes)
      MemIds.push_back(M.Table.Locate(u"NM", P, {loPartialKey, loCaseInsensitive}) ? Id->AsInteger() : 0);
  };
  sqlite3_stmt* P = S.Prepare("SELECT ID FROM T WHERE ci_prefix(NM, ?) ORDER BY rowid LIMIT 1");
  auto SqlPrefix = [&] {
    SqlIds.clear();
    for (const String& Key : Prefixes) {
      TSqlSide::BindText(P, 1, Key);
      SqlIds.push_back(sqlite3_step(P) == SQLITE_ROW ? sqlite3_column_int(P, 0) : 0);
      sqlite3_reset(P);
    }
  };
  MemPrefix();
  SqlPrefix();
  if (MemIds != SqlIds) Fail("prefix locate");
  TCaseTimes TP;
  for (int Run = 0; Run < Runs; ++Run) {
    TP.Mem.push_back(Seconds(MemPrefix));
    TP.Sql.push_back(Seconds(SqlPrefix));
  }
  sqlite3_finalize(P);
  Report("prefix", TP);
  S.Exec("DROP INDEX T_ID");
}

void GroupCase(TArrayDataSet* Provider, TSqlSide& S, int Runs) {
  TArrayDataSet Master(nullptr);
  Master.FieldDefs()->Add(u"LKM_TP_ID", ftInteger);
  for (int G = 1; G <= 50; ++G) Master.AddRow({G});
  Master.Open();
  TDataSource Source(nullptr);
  Source.SetDataSet(&Master);
  TMemSide M(Provider, u"LKM_TP_ID");
  auto* Sum = new TAggregateField(&M.Table);
  Sum->SetFieldName(u"TOTAL");
  Sum->SetExpression(u"SUM(PRICE1)");
  Sum->SetActive(true);
  Sum->SetDataSet(&M.Table);
  auto* Count = new TAggregateField(&M.Table);
  Count->SetFieldName(u"ROWS");
  Count->SetExpression(u"COUNT(*)");
  Count->SetActive(true);
  Count->SetDataSet(&M.Table);
  M.Table.SetAggregatesActive(true);
  M.Table.Open();
  M.Table.SetMasterSource(&Source);
  M.Table.SetMasterFields(u"LKM_TP_ID");
  M.Table.SetDetailFields(u"LKM_TP_ID");
  std::vector<std::pair<double, int>> Mine, Theirs;
  auto MemRun = [&] {
    Mine.clear();
    for (Master.First(); !Master.Eof(); Master.Next())
      Mine.push_back({Sum->AsVariant().AsDouble(), Count->AsVariant().AsInteger()});
  };
  auto SqlRun = [&] {
    Theirs.clear();
    sqlite3_stmt* Q = S.Prepare("SELECT SUM(PRICE1), COUNT(*) FROM T GROUP BY LKM_TP_ID ORDER BY LKM_TP_ID");
    while (sqlite3_step(Q) == SQLITE_ROW) Theirs.push_back({sqlite3_column_double(Q, 0), sqlite3_column_int(Q, 1)});
    sqlite3_finalize(Q);
  };
  MemRun();
  SqlRun();
  if (Mine.size() != Theirs.size()) Fail("groups");
  for (std::size_t I = 0; I < Mine.size(); ++I)
    if (Mine[I].second != Theirs[I].second || std::fabs(Mine[I].first - Theirs[I].first) > 1e-6 * Theirs[I].first)
      Fail("group sums");
  TCaseTimes T;
  for (int Run = 0; Run < Runs; ++Run) {
    T.Mem.push_back(Seconds(MemRun));
    T.Sql.push_back(Seconds(SqlRun));
  }
  S.Exec("CREATE INDEX T_TP ON T (LKM_TP_ID)");
  for (int Run = 0; Run < Runs; ++Run) T.Sql2.push_back(Seconds(SqlRun));
  S.Exec("DROP INDEX T_TP");
  Report("groups", T);
}

void OpenCase(TArrayDataSet* Provider, const std::vector<TRow>& Rows, int Runs) {
  TCaseTimes T;
  for (int Run = 0; Run < Runs; ++Run) {
    TMemSide M(Provider);
    T.Mem.push_back(Seconds([&] { M.Table.Open(); }));
    if (M.Table.RecordCount() != static_cast<int>(Rows.size())) Fail("open");
    TSqlSide S;
    T.Sql.push_back(Seconds([&] { S.Insert(Rows); }));
  }
  Report("open", T);
}

// A database file of the first 100,000 rows, opened by the query alone and through the driver.
void FileCase(const std::vector<TRow>& Rows, int Runs) {
  const std::vector<TRow> Part(Rows.begin(), Rows.begin() + std::min<std::size_t>(Rows.size(), 100000));
  const std::string Path = (std::filesystem::temp_directory_path() /
                            ("vorenta_memtable_bench_" + std::to_string(getpid()) + ".data")).string();
  {
    TSqlSide S;
    S.Insert(Part);
    sqlite3* File = nullptr;
    sqlite3_open(Path.c_str(), &File);
    sqlite3_backup* B = sqlite3_backup_init(File, "main", S.Db, "main");
    sqlite3_backup_step(B, -1);
    sqlite3_backup_finish(B);
    sqlite3_close(File);
  }
  TADOConnection Conn(nullptr);
  Conn.SetConnectionString(Utf8ToString("Data Source=" + Path));
  Conn.Open();
  std::vector<double> Query, Driver;
  for (int Run = 0; Run < Runs; ++Run) {
    TADOQuery Q(nullptr);
    Q.SetConnection(&Conn);
    Q.SQL()->SetText(String(u"SELECT ") + FieldList + u" FROM T");
    Query.push_back(Seconds([&] {
      Q.Open();
      int Count = 0;
      for (; !Q.Eof(); Q.Next()) ++Count;
      if (Count != static_cast<int>(Part.size())) Fail("file rows");
    }));
    Q.Close();
    TMemSide M(&Q);
    Driver.push_back(Seconds([&] { M.Table.Open(); }));
    if (M.Table.RecordCount() != static_cast<int>(Part.size())) Fail("file rows through the driver");
  }
  std::printf("file      %zu rows: TADOQuery alone %8.3f s, through the driver %8.3f s\n", Part.size(),
              Median(Query), Median(Driver));
  std::filesystem::remove(Path);
}

void MemoryCase(TArrayDataSet* Provider, const std::vector<TRow>& Rows) {
  const double N = static_cast<double>(Rows.size());
  const std::size_t Before = HeapInUse();
  TMemSide M(Provider);
  M.Table.Open();
  const std::size_t Plain = HeapInUse() - Before;
  TMTIndexZk* Index = M.Table.MemTableData()->RecordsList()->Indexes()->Add();
  Index->SetFields(u"ID");
  Index->SetActive(true);
  M.Table.SetSortOrder(u"NM");
  const std::size_t Full = HeapInUse() - Before;
  const sqlite3_int64 SqlBefore = sqlite3_memory_used();
  TSqlSide S;
  S.Insert(Rows);
  const sqlite3_int64 SqlPlain = sqlite3_memory_used() - SqlBefore;
  S.Exec("CREATE INDEX T_ID ON T (ID); CREATE INDEX T_NM ON T (NM);");
  const sqlite3_int64 SqlFull = sqlite3_memory_used() - SqlBefore;
  std::printf("memory    memtable %6.1f B/row (table), %6.1f B/row (with index on ID and view sorted on NM)\n",
              static_cast<double>(Plain) / N, static_cast<double>(Full) / N);
  std::printf("          sqlite   %6.1f B/row (table), %6.1f B/row (with indexes on ID and NM)\n",
              static_cast<double>(SqlPlain) / N, static_cast<double>(SqlFull) / N);
}

}  // namespace

int main(int Argc, char** Argv) {
  const int N = Argc > 1 ? std::atoi(Argv[1]) : 1000000;
  const int Runs = Argc > 2 ? std::atoi(Argv[2]) : 5;
  std::printf("rows %d, runs %d (median)\n", N, Runs);
  const std::vector<TRow> Rows = MakeRows(N);
  const std::unique_ptr<TArrayDataSet> Provider = MakeProvider(Rows);
  Provider->Open();
  const std::string Only = Argc > 3 ? Argv[3] : "";
  auto Wanted = [&](const char* Case) { return Only.empty() || Only == Case; };
  if (Wanted("sort") || Wanted("filter") || Wanted("locate") || Wanted("groups")) {
    TMemSide M(Provider.get(), u"ID");
    M.Table.Open();
    TSqlSide S;
    S.Insert(Rows);
    if (Wanted("sort")) SortCase(M, S, Runs, N);
    if (Wanted("filter")) {
      FilterCase(M, S, Runs, "filter", u"LKM_TP_ID = 2 and NM LIKE 'К%'", "LKM_TP_ID = 2 AND NM LIKE 'К%'");
      // A text compared whole: every record's name against one that repeats.
      const String Name = Rows[Rows.size() / 2].Name;
      FilterCase(M, S, Runs, "filter =", u"NM = '" + Name + u"'", "NM = '" + StringToUtf8(Name) + "'");
    }
    if (Wanted("locate")) LocateCase(M, S, Rows, Runs);
    if (Wanted("groups")) GroupCase(Provider.get(), S, Runs);
  }
  if (Wanted("open")) OpenCase(Provider.get(), Rows, Runs);
  if (Wanted("file")) FileCase(Rows, Runs);
  if (Wanted("memory")) MemoryCase(Provider.get(), Rows);
  return 0;
}
