// SqlFunctions.cpp - MID, LIKE, ROUND, FDIV and the RU collation for every connection.
//
// See SqlFunctions_p.h for what each one does and why it replaces SQLite's behaviour.
#include "platform/sqlite/SqlFunctions_p.h"

#include <sqlite3.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/FilterExpr.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"

namespace SqliteImpl {

namespace {

// ---------------------------------------------------------------------------------------------
// LIKE
// ---------------------------------------------------------------------------------------------

// Decodes UTF-8 into case-folded code points; ill-formed bytes become U+FFFD.
void FoldUtf8(const unsigned char* Text, int Length, std::vector<UChar32>& Out) {
  Out.clear();
  int I = 0;
  while (I < Length) {
    UChar32 C;
    U8_NEXT(Text, I, Length, C);
    if (C < 0) C = 0xFFFD;
    Out.push_back(u_foldCase(C, U_FOLD_CASE_DEFAULT));
  }
}

bool AnyNull(int Argc, sqlite3_value** Argv) {
  for (int I = 0; I < Argc; ++I)
    if (sqlite3_value_type(Argv[I]) == SQLITE_NULL) return true;
  return false;
}

void LikeFunction(sqlite3_context* Ctx, int Argc, sqlite3_value** Argv) {
  if (AnyNull(Argc, Argv)) return sqlite3_result_null(Ctx);
  std::optional<char32_t> Escape;
  if (Argc == 3) {
    std::vector<UChar32> Esc;
    FoldUtf8(sqlite3_value_text(Argv[2]), sqlite3_value_bytes(Argv[2]), Esc);
    if (Esc.size() != 1)
      return sqlite3_result_error(Ctx, "ESCAPE expression must be a single character", -1);
    Escape = static_cast<char32_t>(Esc[0]);
  }
  // Buffers reused between rows: one thread runs all database work.
  static std::vector<UChar32> Pattern, Text;
  static std::vector<TLikeItem> Tokens;
  FoldUtf8(sqlite3_value_text(Argv[0]), sqlite3_value_bytes(Argv[0]), Pattern);
  FoldUtf8(sqlite3_value_text(Argv[1]), sqlite3_value_bytes(Argv[1]), Text);
  if (!TokenizeLikePattern(Pattern, Escape, Tokens)) return sqlite3_result_int(Ctx, 0);
  sqlite3_result_int(Ctx, MatchLikeItems(Tokens, Text) ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// MID, ROUND, FDIV
// ---------------------------------------------------------------------------------------------

void MidFunction(sqlite3_context* Ctx, int Argc, sqlite3_value** Argv) {
  if (AnyNull(Argc, Argv)) return sqlite3_result_null(Ctx);
  const sqlite3_int64 Start = sqlite3_value_int64(Argv[1]);
  if (Start < 1) return sqlite3_result_error(Ctx, "MID: start must be 1 or greater", -1);
  const auto* Text = static_cast<const char16_t*>(sqlite3_value_text16(Argv[0]));
  const sqlite3_int64 Units = sqlite3_value_bytes16(Argv[0]) / 2;
  sqlite3_int64 Count = Units;
  if (Argc == 3) {
    Count = sqlite3_value_int64(Argv[2]);
    if (Count < 0) return sqlite3_result_error(Ctx, "MID: length must not be negative", -1);
  }
  const sqlite3_int64 From = std::min(Start - 1, Units);
  Count = std::min(Count, Units - From);
  sqlite3_result_text16(Ctx, Text + From, static_cast<int>(Count * 2), SQLITE_TRANSIENT);
}

void RoundFunction(sqlite3_context* Ctx, int Argc, sqlite3_value** Argv) {
  if (AnyNull(Argc, Argv)) return sqlite3_result_null(Ctx);
  const sqlite3_int64 Digits = Argc == 2 ? sqlite3_value_int64(Argv[1]) : 0;
  if (Digits < 0)
    return sqlite3_result_error(Ctx, "ROUND: the number of decimals must not be negative", -1);
  const int Clamped = static_cast<int>(std::min<sqlite3_int64>(Digits, 400));
  sqlite3_result_double(Ctx, RoundDecimalHalfEven(sqlite3_value_double(Argv[0]), Clamped));
}

void FdivFunction(sqlite3_context* Ctx, int Argc, sqlite3_value** Argv) {
  if (AnyNull(Argc, Argv)) return sqlite3_result_null(Ctx);
  const double Divisor = sqlite3_value_double(Argv[1]);
  if (Divisor == 0) return sqlite3_result_error(Ctx, "Division by zero", -1);
  sqlite3_result_double(Ctx, sqlite3_value_double(Argv[0]) / Divisor);
}

// ---------------------------------------------------------------------------------------------
// COLLATE RU
// ---------------------------------------------------------------------------------------------

int CompareRussian(void* Collator, int LenA, const void* A, int LenB, const void* B) {
  UErrorCode Status = U_ZERO_ERROR;
  const UCollationResult R =
      ucol_strcollUTF8(static_cast<UCollator*>(Collator), static_cast<const char*>(A), LenA,
                       static_cast<const char*>(B), LenB, &Status);
  if (U_FAILURE(Status)) {
    const int Bytes = std::memcmp(A, B, std::min(LenA, LenB));
    return Bytes != 0 ? Bytes : LenA - LenB;
  }
  return R == UCOL_LESS ? -1 : R == UCOL_GREATER ? 1 : 0;
}

void CloseCollator(void* Collator) { ucol_close(static_cast<UCollator*>(Collator)); }

void Check(sqlite3* Db, int Rc, const char* What) {
  if (Rc == SQLITE_OK) return;
  throw EDatabaseError(Utf8ToString(std::string("Cannot register ") + What + ": " +
                                    sqlite3_errmsg(Db)));
}

void RegisterFunction(sqlite3* Db, const char* Name, int Args,
                      void (*Fn)(sqlite3_context*, int, sqlite3_value**)) {
  const int Flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  Check(Db, sqlite3_create_function_v2(Db, Name, Args, Flags, nullptr, Fn, nullptr, nullptr,
                                       nullptr),
        Name);
}

}  // namespace

double RoundDecimalHalfEven(double Value, int Digits) { return SimpleRoundToEven(Value, -Digits); }

void RegisterSqlFunctions(sqlite3* Db) {
  RegisterFunction(Db, "MID", 2, MidFunction);
  RegisterFunction(Db, "MID", 3, MidFunction);
  RegisterFunction(Db, "LIKE", 2, LikeFunction);
  RegisterFunction(Db, "LIKE", 3, LikeFunction);
  RegisterFunction(Db, "ROUND", 1, RoundFunction);
  RegisterFunction(Db, "ROUND", 2, RoundFunction);
  RegisterFunction(Db, "FDIV", 2, FdivFunction);

  UErrorCode Status = U_ZERO_ERROR;
  UCollator* Collator = ucol_open("ru", &Status);
  if (U_FAILURE(Status)) throw EDatabaseError(u"Cannot open the Russian collation of ICU");
  const int Rc =
      sqlite3_create_collation_v2(Db, "RU", SQLITE_UTF8, Collator, CompareRussian, CloseCollator);
  if (Rc != SQLITE_OK) ucol_close(Collator);  // SQLite calls the destructor only on success
  Check(Db, Rc, "collation RU");
}

}  // namespace SqliteImpl
