// Statement.cpp - prepared statements, parameter binding, error raising and ISO dates shared
// by the connection, query and command sources.
#include "platform/sqlite/ADODB_p.h"

#include <cstdio>

#include "platform/db/DBConsts.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"

namespace SqliteImpl {

namespace {

// Skips blanks, ';' and comments from Offset; returns the first other offset.
size_t SkipBlanks(const std::string& Sql, size_t I) {
  while (I < Sql.size()) {
    const char C = Sql[I];
    if (C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == ';' || C == '\f') {
      ++I;
    } else if (Sql.compare(I, 2, "--") == 0) {
      I = Sql.find('\n', I);
      if (I == std::string::npos) return Sql.size();
    } else if (Sql.compare(I, 2, "/*") == 0) {
      I = Sql.find("*/", I + 2);
      if (I == std::string::npos) return Sql.size();
      I += 2;
    } else {
      break;
    }
  }
  return I;
}

}  // namespace

bool IsBinaryType(TFieldType Type) {
  return Type == ftBlob || Type == ftGraphic || Type == ftTypedBinary || Type == ftBytes ||
         Type == ftVarBytes;
}

void BindVariant(sqlite3_stmt* Stmt, int Index, const Variant& V, const String& Name,
                 bool AsBlob) {
  int Rc = SQLITE_OK;
  if (AsBlob && V.IsString()) {
    std::string Bytes;
    if (!BlobTextToBytes(V.StringRef(), Bytes))
      throw EDatabaseError(u"Parameter '" + Name + u"' holds a character that is no byte");
    Rc = sqlite3_bind_blob(Stmt, Index, Bytes.data(), static_cast<int>(Bytes.size()),
                           SQLITE_TRANSIENT);
    if (Rc != SQLITE_OK) RaiseSqliteError(sqlite3_db_handle(Stmt));
    return;
  }
  switch (V.VType()) {
    case varEmpty:
    case varNull:
      Rc = sqlite3_bind_null(Stmt, Index);
      break;
    case varBoolean:
      Rc = sqlite3_bind_int(Stmt, Index, V.AsBoolean() ? 1 : 0);
      break;
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64: case varUInt64:
      Rc = sqlite3_bind_int64(Stmt, Index, V.AsInt64());
      break;
    case varSingle: case varDouble: case varCurrency:
      Rc = sqlite3_bind_double(Stmt, Index, V.AsDouble());
      break;
    case varDate: {
      const std::string Iso = DateTimeToIso(V.AsDateTime());
      Rc = sqlite3_bind_text(Stmt, Index, Iso.data(), static_cast<int>(Iso.size()),
                             SQLITE_TRANSIENT);
      break;
    }
    default:
      if (!V.IsString())
        throw EDatabaseError(u"Parameter '" + Name + u"' has a value of a type the database "
                             u"cannot store");
      const String& S = V.StringRef();
      Rc = sqlite3_bind_text16(Stmt, Index, S.data(), static_cast<int>(S.size() * 2),
                               SQLITE_TRANSIENT);
  }
  if (Rc != SQLITE_OK) RaiseSqliteError(sqlite3_db_handle(Stmt));
}

String FileErrorText(int ResultCode, const String& FileName) {
  const char16_t* Text = nullptr;
  switch (ResultCode & 0xFF) {
    case SQLITE_BUSY: case SQLITE_LOCKED: Text = u"База данных занята другой программой"; break;
    case SQLITE_CORRUPT: Text = u"Файл базы данных повреждён"; break;
    case SQLITE_NOTADB: Text = u"Файл не является базой данных"; break;
    case SQLITE_CANTOPEN: Text = u"Не удаётся открыть файл базы данных"; break;
    case SQLITE_READONLY: Text = u"Файл базы данных открыт только для чтения"; break;
    case SQLITE_IOERR: Text = u"Ошибка чтения или записи файла базы данных"; break;
    case SQLITE_FULL: Text = u"Нет места для записи в файл базы данных"; break;
    default: return String();
  }
  return String(Text) + u": " + FileName;
}

String OpenErrorText(const String& FileName, int ResultCode, const char* Message) {
  const String FileError = FileErrorText(ResultCode, FileName);
  if (!FileError.empty()) return FileError;
  return u"Cannot open database \"" + FileName + u"\": " + Utf8ToString(Message);
}

void RaiseSqliteError(sqlite3* Db) {
  const char* Path = sqlite3_db_filename(Db, "main");
  const String FileError =
      FileErrorText(sqlite3_extended_errcode(Db), Utf8ToString(Path ? Path : ""));
  throw EDatabaseError(FileError.empty() ? Utf8ToString(sqlite3_errmsg(Db)) : FileError);
}

void ExecSimple(sqlite3* Db, const char* Sql) {
  if (sqlite3_exec(Db, Sql, nullptr, nullptr, nullptr) != SQLITE_OK) RaiseSqliteError(Db);
}

bool OnlyBlanks(const std::string& Sql, size_t Offset) {
  return SkipBlanks(Sql, Offset) >= Sql.size();
}

size_t TStatement::Prepare(sqlite3* Db, const std::string& Sql, size_t Offset,
                           bool Persistent) {
  Finalize();
  Offset = SkipBlanks(Sql, Offset);
  if (Offset >= Sql.size()) return std::string::npos;
  const char* Tail = nullptr;
  const int Rc = sqlite3_prepare_v3(Db, Sql.data() + Offset, static_cast<int>(Sql.size() - Offset),
                                    Persistent ? SQLITE_PREPARE_PERSISTENT : 0, &FStmt, &Tail);
  if (Rc != SQLITE_OK) {
    Finalize();
    RaiseSqliteError(Db);
  }
  const size_t Next = static_cast<size_t>(Tail - Sql.data());
  if (!FStmt) return std::string::npos;  // only a comment was left
  return Next;
}

void TStatement::Finalize() {
  if (FStmt) sqlite3_finalize(FStmt);
  FStmt = nullptr;
}

void TStatement::Reset() {
  if (FStmt) sqlite3_reset(FStmt);
}

void BindParams(sqlite3_stmt* Stmt, const TParams& Params) {
  const int Count = sqlite3_bind_parameter_count(Stmt);
  for (int I = 1; I <= Count; ++I) {
    const char* Raw = sqlite3_bind_parameter_name(Stmt, I);
    const String Name = Raw ? Utf8ToString(Raw + 1) : String(u"?");
    const TParam* Param = Params.FindParam(Name);
    if (!Param) throw EDatabaseError(ParamNotFoundText(Name));
    BindVariant(Stmt, I, Param->Value(), Name, IsBinaryType(Param->DataType()));
  }
}

int RunToEnd(sqlite3* Db, sqlite3_stmt* Stmt) {
  const sqlite3_int64 Before = sqlite3_total_changes64(Db);
  int Rc;
  while ((Rc = sqlite3_step(Stmt)) == SQLITE_ROW) {
  }
  if (Rc != SQLITE_DONE) {
    sqlite3_reset(Stmt);
    RaiseSqliteError(Db);
  }
  sqlite3_reset(Stmt);
  return static_cast<int>(sqlite3_total_changes64(Db) - Before);
}

// ---------------------------------------------------------------------------------------------
// ISO dates
// ---------------------------------------------------------------------------------------------

namespace {

bool ReadNumber(const char* Text, int Length, int& I, int Digits, int& Out) {
  Out = 0;
  for (int K = 0; K < Digits; ++K, ++I) {
    if (I >= Length || Text[I] < '0' || Text[I] > '9') return false;
    Out = Out * 10 + (Text[I] - '0');
  }
  return true;
}

}  // namespace

std::string DateTimeToIso(TDateTime Value) {
  // Whole seconds, rounded: the stored text keeps no fraction.
  TTimeStamp Stamp = DateTimeToTimeStamp(Value);
  Stamp.Time = (Stamp.Time + 500) / 1000 * 1000;
  if (Stamp.Time == MSecsPerDay) {
    Stamp.Time = 0;
    ++Stamp.Date;
  }
  Word Y, M, D, H, Mi, S, MSec;
  DecodeDateTime(TimeStampToDateTime(Stamp), Y, M, D, H, Mi, S, MSec);
  char Buf[48];
  if (Stamp.Time == 0) {
    std::snprintf(Buf, sizeof Buf, "%04u-%02u-%02u", Y, M, D);
  } else {
    std::snprintf(Buf, sizeof Buf, "%04u-%02u-%02u %02u:%02u:%02u", Y, M, D, H, Mi, S);
  }
  return Buf;
}

bool IsoToDateTime(const char* Text, int Length, TDateTime& Value) {
  int I = 0, Y, M, D;
  if (!ReadNumber(Text, Length, I, 4, Y) || I >= Length || Text[I++] != '-') return false;
  if (!ReadNumber(Text, Length, I, 2, M) || I >= Length || Text[I++] != '-') return false;
  if (!ReadNumber(Text, Length, I, 2, D)) return false;
  TDateTime Day;
  if (!TryEncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D), Day))
    return false;
  TDateTime Time = 0;
  if (I < Length) {
    if (Text[I] != ' ' && Text[I] != 'T') return false;
    ++I;
    int H, Mi, S = 0;
    if (!ReadNumber(Text, Length, I, 2, H) || I >= Length || Text[I++] != ':') return false;
    if (!ReadNumber(Text, Length, I, 2, Mi)) return false;
    if (I < Length && Text[I] == ':') {
      ++I;
      if (!ReadNumber(Text, Length, I, 2, S)) return false;
    }
    double Millis = 0;
    if (I < Length && Text[I] == '.') {
      double Scale = 100;
      for (++I; I < Length && Text[I] >= '0' && Text[I] <= '9'; ++I, Scale /= 10)
        Millis += (Text[I] - '0') * Scale;
    }
    if (I != Length ||
        !TryEncodeTime(static_cast<Word>(H), static_cast<Word>(Mi), static_cast<Word>(S), 0, Time))
      return false;
    Time += Millis / MSecsPerDay;
  }
  Value = ComposeDateTime(Day, Time);
  return true;
}

}  // namespace SqliteImpl
