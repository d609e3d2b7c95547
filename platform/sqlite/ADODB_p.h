// ADODB_p.h - what the connection, query and command sources share: the SQLite handle, the
// statement wrapper, parameter binding, error texts and value conversion.
#pragma once

#include <sqlite3.h>

#include <string>

#include "platform/db/Params.h"
#include "platform/rtl/Variant.h"
#include "platform/sqlite/ADODB.h"

struct TADOConnection::Impl {
  sqlite3* Db = nullptr;
};

namespace SqliteImpl {

// The layer's texts, defined once.
namespace Text {
inline constexpr const char16_t* NotConnected =
    u"Operation is not allowed when the object is closed";
inline constexpr const char16_t* NoConnection = u"Missing Connection or ConnectionString";
inline constexpr const char16_t* NoDataSource = u"The connection string names no Data Source";
inline constexpr const char16_t* ConnectionOpen =
    u"Cannot change the connection string of an open connection";
inline constexpr const char16_t* NoTransaction = u"No transaction is active";
inline constexpr const char16_t* EmptyCommand = u"The command text is empty";
inline constexpr const char16_t* OneStatement = u"A query takes a single statement";
inline constexpr const char16_t* NoResultSet = u"The statement returns no rows";
}  // namespace Text

// What went wrong with the database file itself, in Russian and naming the file, for the
// result codes that concern the file (busy or locked, corrupt, not a database, cannot be
// opened, read-only, input/output, disk full); empty for every other code.
String FileErrorText(int ResultCode, const String& FileName);

// The file's own error (FileErrorText) when there is one, otherwise
// "Cannot open database "<file>": <SQLite's message>".
String OpenErrorText(const String& FileName, int ResultCode, const char* Message);

// Raises EDatabaseError for the last failure on Db: the file's own error naming the file, or
// SQLite's message for a failing statement.
[[noreturn]] void RaiseSqliteError(sqlite3* Db);

// A prepared statement owned by its holder; finalized on destruction.
class TStatement {
public:
  TStatement() = default;
  TStatement(const TStatement&) = delete;
  TStatement& operator=(const TStatement&) = delete;
  ~TStatement() { Finalize(); }

  // Prepares the first statement of Sql at Offset; returns the offset after it, or
  // std::string::npos when only blanks, ';' and comments remain (no statement).
  size_t Prepare(sqlite3* Db, const std::string& Sql, size_t Offset, bool Persistent);
  void Finalize();
  sqlite3_stmt* Handle() const { return FStmt; }
  explicit operator bool() const { return FStmt != nullptr; }
  // Resets for another run; keeps the bindings until Bind replaces them.
  void Reset();

private:
  sqlite3_stmt* FStmt = nullptr;
};

// True when Sql from Offset holds only blanks, ';' and comments.
bool OnlyBlanks(const std::string& Sql, size_t Offset);

// Binds every ":NAME" of Stmt from Params (names compared ignoring case). A name missing from
// Params raises "Parameter 'NAME' not found".
void BindParams(sqlite3_stmt* Stmt, const TParams& Params);

// Binds one value by its own type (see ADODB.h); Name is for the error message. AsBlob binds
// text holding one byte per character (a blob field's value) as the bytes themselves.
void BindVariant(sqlite3_stmt* Stmt, int Index, const Variant& V, const String& Name,
                 bool AsBlob = false);
// The field types whose values are bytes, stored as BLOBs.
bool IsBinaryType(TFieldType Type);

// Steps a statement that returns no rows through to the end; returns the rows it changed.
int RunToEnd(sqlite3* Db, sqlite3_stmt* Stmt);

// Dates travel as ISO text: "YYYY-MM-DD", with " HH:MM:SS" when the time is not midnight.
std::string DateTimeToIso(TDateTime Value);
// Reads "YYYY-MM-DD[ HH:MM[:SS[.fff]]]" (also with 'T'); false when the text is no date.
bool IsoToDateTime(const char* Text, int Length, TDateTime& Value);

// Runs Fn inside a savepoint: released on success, rolled back when Fn raises.
template <typename F>
auto InSavepoint(sqlite3* Db, F&& Fn) -> decltype(Fn());

void ExecSimple(sqlite3* Db, const char* Sql);

template <typename F>
auto InSavepoint(sqlite3* Db, F&& Fn) -> decltype(Fn()) {
  ExecSimple(Db, "SAVEPOINT vorenta_op");
  try {
    if constexpr (std::is_void_v<decltype(Fn())>) {
      Fn();
      ExecSimple(Db, "RELEASE vorenta_op");
    } else {
      auto Result = Fn();
      ExecSimple(Db, "RELEASE vorenta_op");
      return Result;
    }
  } catch (...) {
    // The original failure is what the caller must see; the rollback cannot fail on a
    // savepoint we opened ourselves.
    sqlite3_exec(Db, "ROLLBACK TO vorenta_op; RELEASE vorenta_op", nullptr, nullptr, nullptr);
    throw;
  }
}

}  // namespace SqliteImpl
