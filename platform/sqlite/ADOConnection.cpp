// ADOConnection.cpp - TADOConnection: opening the database file, transactions, Execute.
#include "platform/sqlite/ADODB.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB_p.h"
#include "platform/sqlite/SqlFunctions_p.h"

using namespace SqliteImpl;

namespace {

constexpr int BusyTimeoutMs = 2000;

String Unquote(const String& S) {
  if (S.size() >= 2 && (S.front() == u'"' || S.front() == u'\'') && S.back() == S.front())
    return S.substr(1, S.size() - 2);
  return S;
}

// The value of Key in a "Key=Value;Key=Value" string (keys compared ignoring case).
String ConnectionValue(const String& ConnectionString, const String& Key) {
  size_t Start = 0;
  while (Start <= ConnectionString.size()) {
    size_t End = ConnectionString.find(u';', Start);
    if (End == String::npos) End = ConnectionString.size();
    const String Part = ConnectionString.substr(Start, End - Start);
    const size_t Eq = Part.find(u'=');
    if (Eq != String::npos && SameText(Trim(Part.substr(0, Eq)), Key))
      return Unquote(Trim(Part.substr(Eq + 1)));
    Start = End + 1;
  }
  return String();
}

// Whether the file carries no write permission for anyone: then it is opened read-only for
// every user (root too, whom the system would let write), as its owner asked.
bool WriteProtected(const std::string& Path) {
  struct stat Info;
  return ::stat(Path.c_str(), &Info) == 0 && (Info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Opens FileName read-write (read-only when write-protected) without creating it; runs a probe
// so that a file that is not a database fails here rather than at the first query.
sqlite3* OpenDatabase(const String& FileName) {
  sqlite3* Db = nullptr;
  const std::string Path = StringToUtf8(FileName);
  const int Mode = WriteProtected(Path) ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  int Rc = sqlite3_open_v2(Path.c_str(), &Db, Mode | SQLITE_OPEN_NOMUTEX,
                           nullptr);  // one thread does all database work
  if (Rc == SQLITE_OK) {
    sqlite3_busy_timeout(Db, BusyTimeoutMs);
    sqlite3_extended_result_codes(Db, 1);
    Rc = sqlite3_exec(Db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  }
  if (Rc != SQLITE_OK) {
    const String Message =
        OpenErrorText(FileName, Rc, Db ? sqlite3_errmsg(Db) : sqlite3_errstr(Rc));
    sqlite3_close(Db);
    throw EDatabaseError(Message);
  }
  return Db;
}

}  // namespace

REGISTER_CLASS(TADOConnection) {
  Class.Property("ConnectionString", &TADOConnection::ConnectionString,
                 &TADOConnection::SetConnectionString)
      .Property("LoginPrompt", &TADOConnection::LoginPrompt, &TADOConnection::SetLoginPrompt,
                true);
}

TADOConnection::TADOConnection(TComponent* AOwner)
    : TComponent(AOwner), FImpl(std::make_unique<Impl>()) {}

TADOConnection::~TADOConnection() {
  DoDisconnect();
  // Clients outlive us only when owned elsewhere: they forget us through Notification.
}

void TADOConnection::SetConnectionString(const String& Value) {
  if (Connected()) throw EDatabaseError(Text::ConnectionOpen);
  FConnectionString = Value;
}

String TADOConnection::DatabaseFileName() const {
  return ConnectionValue(FConnectionString, u"Data Source");
}

bool TADOConnection::Connected() const { return FImpl->Db != nullptr; }

bool TADOConnection::ReadOnly() const {
  return Connected() && sqlite3_db_readonly(FImpl->Db, "main") == 1;
}

void TADOConnection::SetConnected(bool Value) {
  if (Value == Connected()) return;
  if (Value)
    DoConnect();
  else
    DoDisconnect();
}

TADOConnection::Impl& TADOConnection::Core() const {
  if (!FImpl->Db) throw EDatabaseError(Text::NotConnected);
  return *FImpl;
}

void TADOConnection::DoConnect() {
  const String FileName = DatabaseFileName();
  if (FileName.empty()) throw EDatabaseError(Text::NoDataSource);
  sqlite3* Db = OpenDatabase(FileName);
  try {
    RegisterSqlFunctions(Db);
    // Stored rows refer to missing and zero keys; nothing may cascade or refuse them.
    ExecSimple(Db, "PRAGMA foreign_keys = OFF");
  } catch (...) {
    sqlite3_close(Db);
    throw;
  }
  FImpl->Db = Db;
  FTransLevel = 0;
}

void TADOConnection::DoDisconnect() {
  if (!FImpl->Db) return;
  // Queries close and drop their statements first: the handle closes cleanly after them.
  const std::vector<TComponent*> Clients = FClients;
  for (TComponent* Client : Clients) {
    if (auto* Query = dynamic_cast<TADOQuery*>(Client)) Query->ConnectionClosing();
    if (auto* Command = dynamic_cast<TADOCommand*>(Client)) Command->ConnectionClosing();
  }
  if (FTransLevel > 0)
    sqlite3_exec(FImpl->Db, "ROLLBACK", nullptr, nullptr, nullptr);  // nothing half-written
  FTransLevel = 0;
  sqlite3_close_v2(FImpl->Db);
  FImpl->Db = nullptr;
}

int TADOConnection::BeginTrans() {
  sqlite3* Db = Core().Db;
  if (FTransLevel == 0) {
    ExecSimple(Db, "BEGIN");
  } else {
    ExecSimple(Db, ("SAVEPOINT vorenta_trans" + std::to_string(FTransLevel + 1)).c_str());
  }
  return ++FTransLevel;
}

void TADOConnection::CommitTrans() {
  sqlite3* Db = Core().Db;
  if (FTransLevel == 0) throw EDatabaseError(Text::NoTransaction);
  if (FTransLevel == 1)
    ExecSimple(Db, "COMMIT");
  else
    ExecSimple(Db, ("RELEASE vorenta_trans" + std::to_string(FTransLevel)).c_str());
  --FTransLevel;
}

void TADOConnection::RollbackTrans() {
  sqlite3* Db = Core().Db;
  if (FTransLevel == 0) throw EDatabaseError(Text::NoTransaction);
  if (FTransLevel == 1) {
    ExecSimple(Db, "ROLLBACK");
  } else {
    const std::string Name = "vorenta_trans" + std::to_string(FTransLevel);
    ExecSimple(Db, ("ROLLBACK TO " + Name + "; RELEASE " + Name).c_str());
  }
  --FTransLevel;
}

int TADOConnection::Execute(const String& CommandText) {
  sqlite3* Db = Core().Db;
  const std::string Sql = StringToUtf8(CommandText);
  return InSavepoint(Db, [&] {
    int Changed = 0;
    TStatement Stmt;
    for (size_t Offset = 0;;) {
      Offset = Stmt.Prepare(Db, Sql, Offset, false);
      if (!Stmt) break;
      Changed += RunToEnd(Db, Stmt.Handle());
      if (Offset == std::string::npos) break;
    }
    return Changed;
  });
}

int TADOConnection::DataSetCount() const {
  return static_cast<int>(std::count_if(FClients.begin(), FClients.end(), [](TComponent* C) {
    return dynamic_cast<TDataSet*>(C) != nullptr;
  }));
}

TDataSet* TADOConnection::DataSets(int Index) const {
  for (TComponent* C : FClients) {
    auto* DataSet = dynamic_cast<TDataSet*>(C);
    if (DataSet && Index-- == 0) return DataSet;
  }
  throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}

void TADOConnection::AddClient(TComponent* Client) {
  if (std::find(FClients.begin(), FClients.end(), Client) == FClients.end())
    FClients.push_back(Client);
}

void TADOConnection::RemoveClient(TComponent* Client) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Client), FClients.end());
}

void TADOConnection::Rebind(TComponent* Client, TADOConnection*& Field, TADOConnection* To) {
  if (Field) {
    Field->RemoveClient(Client);
    Field->RemoveFreeNotification(Client);
  }
  Field = To;
  if (Field) {
    Field->AddClient(Client);
    Field->FreeNotification(Client);
  }
}
