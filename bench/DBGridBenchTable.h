// DBGridBenchTable.h - the data grid benchmarks' table: T in a SQLite file, Rows records of ID,
// a Cyrillic name of 8-40 characters, PRICE, QTY, DT and three short texts.
#pragma once

#include <sqlite3.h>

#include <string>

#include "platform/rtl/SysUtils.h"

// The name of record I: colour words repeated to 8 + I % 33 characters.
inline std::string GridBenchName(int I) {
  static const char* const Words[] = {"Белила", "Охра", "Умбра", "Сиена", "Кобальт"};
  std::u16string S;
  while (static_cast<int>(S.size()) < 8 + I % 33) {
    const std::string W = std::string(Words[(I + S.size()) % 5]) + " ";
    S += Utf8ToString(W);
  }
  return StringToUtf8(S.substr(0, 8 + I % 33));
}

// Creates T with Rows records in File; ExtraSql (more tables) runs before.
inline void FillGridBenchTable(const std::string& File, int Rows, const std::string& ExtraSql = {}) {
  sqlite3* Db = nullptr;
  sqlite3_open(File.c_str(), &Db);
  sqlite3_exec(Db,
               ("CREATE TABLE T (ID INTEGER PRIMARY KEY, NM VARCHAR(40), PRICE CURRENCY, "
                "QTY INTEGER, DT DATETIME, A VARCHAR(20), B VARCHAR(20), C VARCHAR(20));" +
                ExtraSql + "BEGIN")
                   .c_str(),
               nullptr, nullptr, nullptr);
  sqlite3_stmt* Insert = nullptr;
  sqlite3_prepare_v2(Db, "INSERT INTO T VALUES (?, ?, ?, ?, '2024-03-01', 'колер', 'база', 'тон')",
                     -1, &Insert, nullptr);
  for (int I = 1; I <= Rows; ++I) {
    const std::string N = GridBenchName(I);
    sqlite3_bind_int(Insert, 1, I);
    sqlite3_bind_text(Insert, 2, N.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(Insert, 3, I % 1000 + 0.25);
    sqlite3_bind_int(Insert, 4, I % 50);
    sqlite3_step(Insert);
    sqlite3_reset(Insert);
  }
  sqlite3_finalize(Insert);
  sqlite3_exec(Db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(Db);
}
