// MemTableEngineBench - the memory table's engine against SQLite's in-memory database, in one
// program and one run, on the same seeded rows: a material-like table of N rows (1,000,000 by
// default) with a shuffled unique ID, names of 8 to 40 mixed Cyrillic and Latin characters
// (20 % repeated), a comment (30 % Null), a type 1-50, a price, a date and a parent ID.
//
// Text orders alike on both sides: SQLite compares NM through a registered collation that
// calls the comparison the variants use. Each case runs 5 times (median reported); before
// timing, both sides' results are checked equal.
//
//   fetch    N records into a container with a unique index on ID and a view sorted on NM,
//            against inserts into a table with UNIQUE ID and an index on NM, in one transaction
//   edit     10,000 random edits of NM and PRICE1 through the view and one ordered walk,
//            against 10,000 updates by ID and one ordered read
//   delete   10,000 deletions by key
//   lookup   100,000 key lookups
//   tree     a record tree built over the N records with FullBuildCheck (reported alone)
//   memory   bytes per record: container, then with the index and the view, against
//            sqlite3_memory_used per row: table, then with both indexes
//
//   MemTableEngineBench [rows] [runs] [fetch|edit]   (one case alone, for profiling)
#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench/MemTableBenchRows.h"
#include "gridlib/memtable/MTIndexZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

// --- the memory table side -------------------------------------------------------------------------

enum { cID, cNM, cCOMMENT, cTYPE, cPRICE, cDATE, cPARENT };

struct TEdit {
  int Id;
  String Name;
  double Price;
};

struct TMemSide {
  std::unique_ptr<TMemTableDataZk> Data = std::make_unique<TMemTableDataZk>(nullptr);
  std::unique_ptr<TRecordsViewZk> View;
  TMTIndexZk* ById = nullptr;

  TMemSide() {
    const std::pair<const char16_t*, TFieldType> Fields[] = {
        {u"ID", ftInteger}, {u"NM", ftWideString}, {u"COMMENT", ftWideString}, {u"LKM_TP_ID", ftInteger},
        {u"PRICE1", ftFloat}, {u"DT_EDIT", ftDateTime}, {u"PARENT_ID", ftInteger}};
    for (const auto& [Name, Type] : Fields) {
      TMTDataFieldZk* F = Data->DataStruct()->CreateField(MTDataFieldClassForType(Type));
      F->AssignDataType(Type);
      F->SetFieldName(Name);
    }
  }
  void AddIndexAndView() {
    ById = Data->RecordsList()->Indexes()->Add();
    ById->SetFields(u"ID");
    ById->SetUnical(true);
    ById->SetActive(true);
    View = std::make_unique<TRecordsViewZk>(nullptr);
    View->SetMemTableData(Data.get());
    View->SetSortOrder(u"NM");
  }
  void Fetch(const std::vector<TRow>& Rows) {
    TRecordsListZk* List = Data->RecordsList();
    TRecordValuesBuilderZk Builder(List);
    for (const TRow& Row : Rows) {
      Builder.SetValue(cID, Row.Id);
      Builder.SetValue(cNM, Row.Name);
      if (!Row.CommentNull) Builder.SetValue(cCOMMENT, Row.Comment);
      Builder.SetValue(cTYPE, Row.Type);
      Builder.SetValue(cPRICE, Row.Price);
      Builder.SetValue(cDATE, Variant::FromDateTime(Row.Date));
      if (!Row.ParentNull) Builder.SetValue(cPARENT, Row.Parent);
      List->FetchRecord(Builder.NewRecord());
    }
  }
  // The edits through the view, then one ordered walk.
  void Edit(const std::vector<TEdit>& Edits) {
    for (const TEdit& E : Edits) {
      TMemoryRecordZk* Rec = ById->FindRecordByKey(E.Id);
      Rec->Edit();
      Rec->SetDataValue(cNM, dvvValueZk, E.Name);
      Rec->SetDataValue(cPRICE, dvvValueZk, E.Price);
      Rec->Post();
    }
    OrderedNames(1);
  }
  std::vector<String> OrderedNames(int Every) const {
    // Each text read in place, as SQLite's side reads it from its page.
    std::vector<String> Names;
    TTextBufferZk Buffer;
    for (int I = 0; I < View->Count(); I += Every) {
      const TPackedValueZk V = View->ViewItems(I)->ValueAt(cNM);
      Names.push_back(V.IsString() ? String(V.Text(Buffer)) : String());
    }
    return Names;
  }
};

// --- the SQLite side --------------------------------------------------------------------------------

struct TSqlSide {
  sqlite3* Db = nullptr;
  explicit TSqlSide(bool Indexes) {
    sqlite3_open(":memory:", &Db);
    Exec("PRAGMA encoding='UTF-16le'; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
         "PRAGMA temp_store=MEMORY;");
    sqlite3_create_collation_v2(Db, "VARIANT", SQLITE_UTF16LE, nullptr, CollateLikeVariants, nullptr);
    Exec(Indexes ? "CREATE TABLE T (ID INTEGER UNIQUE, NM TEXT COLLATE VARIANT, COMMENT TEXT,"
                   " LKM_TP_ID INTEGER, PRICE1 REAL, DT_EDIT REAL, PARENT_ID INTEGER);"
                   "CREATE INDEX T_NM ON T (NM);"
                 : "CREATE TABLE T (ID INTEGER, NM TEXT COLLATE VARIANT, COMMENT TEXT,"
                   " LKM_TP_ID INTEGER, PRICE1 REAL, DT_EDIT REAL, PARENT_ID INTEGER);");
  }
  ~TSqlSide() { sqlite3_close(Db); }
  void Exec(const char* Sql) { SqlExec(Db, Sql); }
  sqlite3_stmt* Prepare(const char* Sql) { return SqlPrepare(Db, Sql); }
  static void BindText(sqlite3_stmt* S, int I, const String& Text) { SqlBindText(S, I, Text); }
  void Insert(const std::vector<TRow>& Rows) { SqlInsertRows(Db, Rows); }
  std::vector<String> OrderedNames(int Every) {
    std::vector<String> Names;
    sqlite3_stmt* S = Prepare("SELECT NM FROM T ORDER BY NM");
    for (int I = 0; sqlite3_step(S) == SQLITE_ROW; ++I)
      if (I % Every == 0) {
        const auto* P = static_cast<const char16_t*>(sqlite3_column_text16(S, 0));
        Names.push_back(P ? String(P, static_cast<std::size_t>(sqlite3_column_bytes16(S, 0)) / 2) : String());
      }
    sqlite3_finalize(S);
    return Names;
  }
  long long Count() {
    sqlite3_stmt* S = Prepare("SELECT COUNT(*) FROM T");
    sqlite3_step(S);
    const long long N = sqlite3_column_int64(S, 0);
    sqlite3_finalize(S);
    return N;
  }
};

std::vector<TEdit> MakeEdits(const std::vector<TRow>& Rows, int Count) {
  std::mt19937 R(7);
  std::vector<TEdit> Edits;
  for (int I = 0; I < Count; ++I)
    Edits.push_back({Rows[R() % Rows.size()].Id, RandomName(R), static_cast<double>(R() % 1000)});
  return Edits;
}

std::vector<int> RandomIds(const std::vector<TRow>& Rows, int Count, unsigned Seed, bool Distinct) {
  std::mt19937 R(Seed);
  std::vector<int> Ids;
  for (const TRow& Row : Rows) Ids.push_back(Row.Id);
  std::shuffle(Ids.begin(), Ids.end(), R);
  if (Distinct) {
    Ids.resize(static_cast<std::size_t>(std::min<int>(Count, static_cast<int>(Ids.size()))));
    return Ids;
  }
  std::vector<int> Out;
  for (int I = 0; I < Count; ++I) Out.push_back(Ids[R() % Ids.size()]);
  return Out;
}

// --- the cases ------------------------------------------------------------------------------------------

void Report(const char* Case, double Mem, double Sql) {
  std::printf("%-8s  memtable %9.3f s   sqlite %9.3f s   ratio (sqlite / memtable) %6.2f\n", Case, Mem,
              Sql, Sql / Mem);
}

}  // namespace

int main(int Argc, char** Argv) {
  const int N = Argc > 1 ? std::atoi(Argv[1]) : 1000000;
  const int Runs = Argc > 2 ? std::atoi(Argv[2]) : 5;
  const int Edits = std::min(10000, N), Deletes = std::min(10000, N), Lookups = 100000;
  const std::string Only = Argc > 3 ? Argv[3] : "";
  std::printf("rows %d, runs %d (median)\n", N, Runs);
  const std::vector<TRow> Rows = MakeRows(N);
  const std::vector<TEdit> EditList = MakeEdits(Rows, Edits);
  if (!Only.empty()) {
    std::vector<double> Times;
    for (int Run = 0; Run < Runs; ++Run) {
      TMemSide M;
      M.AddIndexAndView();
      Times.push_back(Seconds([&] { M.Fetch(Rows); }));
      if (Only == "edit") Times.back() = Seconds([&] { M.Edit(EditList); });
    }
    std::printf("%-8s  memtable %9.3f s\n", Only.c_str(), Median(Times));
    return 0;
  }
  const std::vector<int> DeleteIds = RandomIds(Rows, Deletes, 11, true);
  const std::vector<int> LookupIds = RandomIds(Rows, Lookups, 13, false);

  // Checks first: the same order of names, the same rows after edits and deletions.
  {
    TMemSide M;
    M.AddIndexAndView();
    M.Fetch(Rows);
    TSqlSide S(true);
    S.Insert(Rows);
    const int Every = std::max(1, N / 1000);
    if (M.OrderedNames(Every) != S.OrderedNames(Every)) Fail("order after fetch");
  }

  std::vector<double> MemFetch, SqlFetch, MemEdit, SqlEdit, MemDel, SqlDel, MemLook, SqlLook, Tree;
  for (int Run = 0; Run < Runs; ++Run) {
    TMemSide M;
    M.AddIndexAndView();
    MemFetch.push_back(Seconds([&] { M.Fetch(Rows); }));
    TSqlSide S(true);
    SqlFetch.push_back(Seconds([&] { S.Insert(Rows); }));

    MemEdit.push_back(Seconds([&] { M.Edit(EditList); }));
    SqlEdit.push_back(Seconds([&] {
      S.Exec("BEGIN");
      sqlite3_stmt* U = S.Prepare("UPDATE T SET NM = ?, PRICE1 = ? WHERE ID = ?");
      for (const TEdit& E : EditList) {
        TSqlSide::BindText(U, 1, E.Name);
        sqlite3_bind_double(U, 2, E.Price);
        sqlite3_bind_int(U, 3, E.Id);
        sqlite3_step(U);
        sqlite3_reset(U);
      }
      sqlite3_finalize(U);
      S.Exec("COMMIT");
      S.OrderedNames(1);
    }));
    if (Run == 0 && M.OrderedNames(std::max(1, N / 1000)) != S.OrderedNames(std::max(1, N / 1000)))
      Fail("order after edits");

    MemDel.push_back(Seconds([&] {
      for (int Id : DeleteIds) {
        TMemoryRecordZk* Rec = M.ById->FindRecordByKey(Id);
        M.Data->RecordsList()->DeleteRecord(Rec->Index());
      }
    }));
    SqlDel.push_back(Seconds([&] {
      S.Exec("BEGIN");
      sqlite3_stmt* D = S.Prepare("DELETE FROM T WHERE ID = ?");
      for (int Id : DeleteIds) {
        sqlite3_bind_int(D, 1, Id);
        sqlite3_step(D);
        sqlite3_reset(D);
      }
      sqlite3_finalize(D);
      S.Exec("COMMIT");
    }));
    if (Run == 0 && (M.View->Count() != S.Count() || M.OrderedNames(std::max(1, N / 1000)) !=
                                                         S.OrderedNames(std::max(1, N / 1000))))
      Fail("rows after deletions");

    double MemSum = 0, SqlSum = 0;
    MemLook.push_back(Seconds([&] {
      for (int Id : LookupIds)
        if (TMemoryRecordZk* Rec = M.ById->FindRecordByKey(Id)) MemSum += Rec->GetDataValue(cPRICE, dvvValueZk).AsDouble();
    }));
    SqlLook.push_back(Seconds([&] {
      sqlite3_stmt* Q = S.Prepare("SELECT PRICE1 FROM T WHERE ID = ?");
      for (int Id : LookupIds) {
        sqlite3_bind_int(Q, 1, Id);
        if (sqlite3_step(Q) == SQLITE_ROW) SqlSum += sqlite3_column_double(Q, 0);
        sqlite3_reset(Q);
      }
      sqlite3_finalize(Q);
    }));
    if (MemSum != SqlSum) Fail("lookups");

    TMemSide T;
    T.Fetch(Rows);
    TRecordsViewZk TreeView(nullptr);
    TreeView.SetMemTableData(T.Data.get());
    TreeView.SetTreeViewKeyFieldName(u"ID");
    TreeView.SetTreeViewRefParentFieldName(u"PARENT_ID");
    TreeView.MemoryTreeList()->SetFullBuildCheck(true);
    Tree.push_back(Seconds([&] { TreeView.SetViewAsTreeList(true); }));
    if (TreeView.AccountableItemsCount() != N) Fail("tree rows");
  }
  Report("fetch", Median(MemFetch), Median(SqlFetch));
  Report("edit", Median(MemEdit), Median(SqlEdit));
  Report("delete", Median(MemDel), Median(SqlDel));
  Report("lookup", Median(MemLook), Median(SqlLook));
  std::printf("%-8s  memtable %9.3f s   (FullBuildCheck, no SQLite counterpart)\n", "tree", Median(Tree));

  // Bytes per record.
  {
    const std::size_t Before = HeapInUse();
    TMemSide M;
    M.Fetch(Rows);
    const std::size_t Plain = HeapInUse() - Before;
    M.AddIndexAndView();
    const std::size_t Full = HeapInUse() - Before;
    const sqlite3_int64 SqlBefore = sqlite3_memory_used();
    sqlite3_int64 SqlPlain, SqlFull;
    {
      TSqlSide S(false);
      S.Insert(Rows);
      SqlPlain = sqlite3_memory_used() - SqlBefore;
    }
    {
      TSqlSide S(true);
      S.Insert(Rows);
      SqlFull = sqlite3_memory_used() - SqlBefore;
    }
    std::printf("memory    memtable %6.1f B/row (container), %6.1f B/row (with index and view)\n",
                static_cast<double>(Plain) / N, static_cast<double>(Full) / N);
    std::printf("          sqlite   %6.1f B/row (table),     %6.1f B/row (with both indexes)\n",
                static_cast<double>(SqlPlain) / N, static_cast<double>(SqlFull) / N);
  }
  return 0;
}
