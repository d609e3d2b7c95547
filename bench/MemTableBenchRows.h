// MemTableBenchRows.h - the seeded material-like rows both memory table benchmarks use, and
// the SQLite collation that orders text as the variants do.
#pragma once

#include <malloc.h>
#include <sqlite3.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string_view>
#include <vector>

#include "gridlib/memtable/RecordArenaZk.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

struct TRow {
  int Id;
  String Name;
  bool CommentNull;
  String Comment;
  int Type;
  double Price;
  double Date;
  bool ParentNull;
  int Parent;
};

String RandomName(std::mt19937& R) {
  static const char16_t Letters[] = u"абвгдежзиклмнопрстуфхцчшэюяАБВГДЕЖЗИКЛМНОabcdefghijklmnopqrstuvwxyzABCDEFGH ";
  const int Len = 8 + static_cast<int>(R() % 33);
  String S;
  for (int I = 0; I < Len; ++I) S += Letters[R() % (sizeof Letters / sizeof Letters[0] - 1)];
  return S;
}

std::vector<TRow> MakeRows(int N) {
  std::mt19937 R(2025);
  std::vector<int> Ids(static_cast<std::size_t>(N));
  for (int I = 0; I < N; ++I) Ids[static_cast<std::size_t>(I)] = I + 1;
  std::shuffle(Ids.begin(), Ids.end(), R);
  std::vector<TRow> Rows;
  Rows.reserve(static_cast<std::size_t>(N));
  for (int I = 0; I < N; ++I) {
    TRow Row;
    Row.Id = Ids[static_cast<std::size_t>(I)];
    Row.Name = (I > 0 && R() % 5 == 0) ? Rows[R() % Rows.size()].Name : RandomName(R);
    Row.CommentNull = R() % 10 < 3;
    Row.Comment = Row.CommentNull ? String() : RandomName(R);
    Row.Type = 1 + static_cast<int>(R() % 50);
    Row.Price = static_cast<double>(R() % 100000) / 100.0;
    Row.Date = 44000.0 + static_cast<double>(R() % 2000000) / 1000.0;
    Row.ParentNull = I == 0 || R() % 10 == 0;
    Row.Parent = Row.ParentNull ? 0 : Rows[R() % Rows.size()].Id;
    Rows.push_back(Row);
  }
  return Rows;
}

int CollateLikeVariants(void*, int L1, const void* S1, int L2, const void* S2) {
  std::u16string_view A(static_cast<const char16_t*>(S1), static_cast<std::size_t>(L1) / 2);
  std::u16string_view B(static_cast<const char16_t*>(S2), static_cast<std::size_t>(L2) / 2);
  const int C = AnsiCompareStr(A, B);
  return C != 0 ? C : CompareStr(A, B);
}

// Wall time; with MEMTABLE_BENCH_CPU set, the thread's CPU time (steadier on a loaded machine).
double Seconds(const std::function<void()>& Body) {
  if (std::getenv("MEMTABLE_BENCH_CPU")) {
    timespec Start{}, End{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &Start);
    Body();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &End);
    return static_cast<double>(End.tv_sec - Start.tv_sec) + static_cast<double>(End.tv_nsec - Start.tv_nsec) * 1e-9;
  }
  const auto Start = std::chrono::steady_clock::now();
  Body();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

// Bytes in use: malloc's heap, its mapped blocks and the records' chunks.
std::size_t HeapInUse() {
  const struct mallinfo2 M = mallinfo2();
  return M.uordblks + M.hblkhd + TRecordArenaZk::MappedBytes();
}

[[noreturn]] void Fail(const char* What) {
  std::fprintf(stderr, "results differ: %s\n", What);
  std::exit(1);
}

// --- the SQLite side's common steps --------------------------------------------------------------

void SqlExec(sqlite3* Db, const char* Sql) {
  char* Err = nullptr;
  if (sqlite3_exec(Db, Sql, nullptr, nullptr, &Err) != SQLITE_OK) {
    std::fprintf(stderr, "sqlite: %s\n", Err);
    std::exit(1);
  }
}

sqlite3_stmt* SqlPrepare(sqlite3* Db, const char* Sql) {
  sqlite3_stmt* S = nullptr;
  if (sqlite3_prepare_v2(Db, Sql, -1, &S, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(Db));
    std::exit(1);
  }
  return S;
}

void SqlBindText(sqlite3_stmt* S, int I, const String& Text) {
  sqlite3_bind_text16(S, I, Text.data(), static_cast<int>(Text.size() * 2), SQLITE_STATIC);
}

// The rows into table T with one prepared INSERT in one transaction.
void SqlInsertRows(sqlite3* Db, const std::vector<TRow>& Rows) {
  SqlExec(Db, "BEGIN");
  sqlite3_stmt* S = SqlPrepare(Db, "INSERT INTO T VALUES (?, ?, ?, ?, ?, ?, ?)");
  for (const TRow& Row : Rows) {
    sqlite3_bind_int(S, 1, Row.Id);
    SqlBindText(S, 2, Row.Name);
    if (Row.CommentNull) sqlite3_bind_null(S, 3); else SqlBindText(S, 3, Row.Comment);
    sqlite3_bind_int(S, 4, Row.Type);
    sqlite3_bind_double(S, 5, Row.Price);
    sqlite3_bind_double(S, 6, Row.Date);
    if (Row.ParentNull) sqlite3_bind_null(S, 7); else sqlite3_bind_int(S, 7, Row.Parent);
    sqlite3_step(S);
    sqlite3_reset(S);
  }
  sqlite3_finalize(S);
  SqlExec(Db, "COMMIT");
}

}  // namespace
