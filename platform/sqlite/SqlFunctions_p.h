// SqlFunctions_p.h - SQL functions and the collation registered on every connection.
//
// The application's SQL was written for the old desktop database; where its functions behave
// differently from SQLite's, the old behaviour is registered under the old name:
//   MID(s, start[, len])   1-based substring counted in UTF-16 units; start < 1 or len < 0 is
//                          an error, as in the old database
//   LIKE / like(p, s[, e]) '%' and '_' wildcards and the ESCAPE form, ignoring case for every
//                          script (ICU simple case folding), so 'К' LIKE 'к' holds
//   ROUND(x[, n])          rounds the shortest decimal form of x to n decimals, halves to even
//                          (154.5 -> 154, 2.675 -> 2.68), so prices stored by the old database
//                          do not shift when recalculated; n < 0 is an error
//   FDIV(a, b)             a / b in floating point, an error "Division by zero" when b is 0
//                          (SQLite's "/" gives NULL there and truncates integer operands)
//   COLLATE RU             Russian ordering through ICU: "Ё" sorts with "Е", case after letter
// IIF is SQLite's own (3.32+); ISNULL(x) cannot be a function in SQLite: write COALESCE.
#pragma once

struct sqlite3;

namespace SqliteImpl {

// Registers the functions and the collation above on Db; raises EDatabaseError on failure.
void RegisterSqlFunctions(sqlite3* Db);

// The rounding ROUND performs, for the database layer and its tests.
double RoundDecimalHalfEven(double Value, int Digits);

}  // namespace SqliteImpl
