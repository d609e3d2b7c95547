// Tests of the SQL functions and the collation registered on every connection.
#include "platform/sqlite/SqlFunctions_p.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

class SqlFunctions : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &Db), SQLITE_OK);
    SqliteImpl::RegisterSqlFunctions(Db);
  }
  void TearDown() override { sqlite3_close(Db); }

  // The first column of the first row as text ("NULL" for null), or "error: <message>".
  std::string Scalar(const std::string& Sql) {
    sqlite3_stmt* Stmt = nullptr;
    if (sqlite3_prepare_v2(Db, Sql.c_str(), -1, &Stmt, nullptr) != SQLITE_OK)
      return std::string("error: ") + sqlite3_errmsg(Db);
    std::string Out;
    const int Rc = sqlite3_step(Stmt);
    if (Rc == SQLITE_ROW) {
      const auto* Text = sqlite3_column_text(Stmt, 0);
      Out = Text ? reinterpret_cast<const char*>(Text) : "NULL";
    } else if (Rc != SQLITE_DONE) {
      Out = std::string("error: ") + sqlite3_errmsg(Db);
    }
    sqlite3_finalize(Stmt);
    return Out;
  }

  std::vector<std::string> Column(const std::string& Sql) {
    sqlite3_stmt* Stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(Db, Sql.c_str(), -1, &Stmt, nullptr), SQLITE_OK)
        << sqlite3_errmsg(Db);
    std::vector<std::string> Out;
    while (sqlite3_step(Stmt) == SQLITE_ROW)
      Out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(Stmt, 0)));
    sqlite3_finalize(Stmt);
    return Out;
  }

  sqlite3* Db = nullptr;
};

TEST_F(SqlFunctions, RoundHalvesToEvenOnTheDecimalValue) {
  struct Case { double In; int Digits; double Out; } Cases[] = {
      {154.5, 0, 154},   {155.5, 0, 156},     {2.5, 0, 2},       {-2.5, 0, -2},
      {3.5, 0, 4},       {0.5, 0, 0},         {1.5, 0, 2},       {0.49999999999999994, 0, 0},
      {2.675, 2, 2.68},  {2.665, 2, 2.66},    {1.005, 2, 1.0},   {0.285, 2, 0.28},
      {0.295, 2, 0.3},   {99.995, 2, 100.0},  {99.996, 2, 100.0}, {12.34565, 4, 12.3456},
      {12.34575, 4, 12.3458}, {0.0001, 2, 0}, {123.456, 5, 123.456}, {-0.4, 0, 0},
      {1e300, 2, 1e300}, {5e-324, 2, 0},      {9.5, 0, 10},      {0.05, 1, 0.0},
  };
  for (const auto& C : Cases) {
    const double Got = SqliteImpl::RoundDecimalHalfEven(C.In, C.Digits);
    EXPECT_EQ(Got, C.Out) << C.In << " to " << C.Digits;
    EXPECT_FALSE(std::signbit(Got) && Got == 0) << "negative zero from " << C.In;
  }
}

TEST_F(SqlFunctions, RoundInSql) {
  EXPECT_EQ(Scalar("SELECT ROUND(154.5)"), "154.0");
  EXPECT_EQ(Scalar("SELECT ROUND(2.675, 2)"), "2.68");
  EXPECT_EQ(Scalar("SELECT ROUND(NULL, 2)"), "NULL");
  EXPECT_EQ(Scalar("SELECT round(7, 0)"), "7.0");
  EXPECT_EQ(Scalar("SELECT ROUND(AM,2)=100 FROM (SELECT 99.999 AS AM)"), "1");
  EXPECT_EQ(Scalar("SELECT ROUND(1.5, -1)"),
            "error: ROUND: the number of decimals must not be negative");
}

TEST_F(SqlFunctions, MidCountsFromOneInUtf16Units) {
  struct Case { const char* Sql; const char* Out; } Cases[] = {
      {"SELECT MID('Краска', 2, 3)", "рас"},
      {"SELECT MID('Краска', 4)", "ска"},
      {"SELECT MID('abc', 3, 10)", "c"},
      {"SELECT MID('abc', 5, 1)", ""},
      {"SELECT MID('abc', 1, 0)", ""},
      {"SELECT MID(NULL, 1, 1)", "NULL"},
      {"SELECT MID(12345, 2, 2)", "23"},
      {"SELECT MID('abc', 0, 1)", "error: MID: start must be 1 or greater"},
      {"SELECT MID('abc', 1, -1)", "error: MID: length must not be negative"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Scalar(C.Sql), C.Out) << C.Sql;
}

TEST_F(SqlFunctions, LikeIgnoresCaseForCyrillic) {
  struct Case { const char* Sql; const char* Out; } Cases[] = {
      {"SELECT 'Краска' LIKE 'КРАС%'", "1"},
      {"SELECT 'краска' LIKE '%АСК%'", "1"},
      {"SELECT 'Ёлка' LIKE 'ё%'", "1"},
      {"SELECT 'Ёлка' LIKE 'е%'", "0"},  // case only, not accents
      {"SELECT 'К' LIKE 'к'", "1"},
      {"SELECT 'Белый' LIKE '_е%'", "1"},
      {"SELECT 'Белый' LIKE '_____'", "1"},
      {"SELECT 'Белый' LIKE '____'", "0"},
      {"SELECT 'abc' LIKE 'a%c%'", "1"},
      {"SELECT 'abcbc' LIKE '%bc'", "1"},
      {"SELECT 'abcbd' LIKE '%bc'", "0"},
      {"SELECT '' LIKE '%'", "1"},
      {"SELECT '10%' LIKE '10!%' ESCAPE '!'", "1"},
      {"SELECT '100' LIKE '10!%' ESCAPE '!'", "0"},
      {"SELECT 'a_c' LIKE 'a\\_c' ESCAPE '\\'", "1"},
      {"SELECT 'abc' LIKE 'a\\_c' ESCAPE '\\'", "0"},
      {"SELECT 'abc' LIKE 'abc!' ESCAPE '!'", "0"},
      {"SELECT NULL LIKE 'a'", "NULL"},
      {"SELECT 'a' LIKE 'a' ESCAPE 'xy'", "error: ESCAPE expression must be a single character"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Scalar(C.Sql), C.Out) << C.Sql;
}

TEST_F(SqlFunctions, RussianCollationSortsYoWithYe) {
  Scalar("CREATE TABLE T (NM TEXT)");
  Scalar("INSERT INTO T VALUES ('Ёлка'), ('Арбуз'), ('елка'), ('Жёлтый'), ('Ель'), ('Яблоко'), "
         "('белый'), ('Белый')");
  const std::vector<std::string> Expected = {"Арбуз", "белый", "Белый", "елка",
                                             "Ёлка",  "Ель",   "Жёлтый", "Яблоко"};
  EXPECT_EQ(Column("SELECT NM FROM T ORDER BY NM COLLATE RU"), Expected);
}

TEST_F(SqlFunctions, FdivRaisesOnZero) {
  EXPECT_EQ(Scalar("SELECT FDIV(5, 2)"), "2.5");
  EXPECT_EQ(Scalar("SELECT FDIV(NULL, 0)"), "NULL");
  EXPECT_EQ(Scalar("SELECT FDIV(1, 0)"), "error: Division by zero");
  EXPECT_EQ(Scalar("SELECT FDIV(1, 0.0)"), "error: Division by zero");
}

}  // namespace
