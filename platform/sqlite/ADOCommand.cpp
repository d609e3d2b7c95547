// ADOCommand.cpp - TADOCommand: statements that return no rows, with named parameters.
//
// The text may hold several statements; they run in one savepoint, so a failure in any of
// them leaves nothing of the others written. Prepared statements are kept until the text or
// the connection changes and re-bound on every Execute.
#include "platform/sqlite/ADODB.h"

#include <vector>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/sqlite/ADODB_p.h"

using namespace SqliteImpl;

struct TADOCommand::Impl {
  std::vector<std::unique_ptr<TStatement>> Statements;
  bool Prepared = false;
};

REGISTER_CLASS(TADOCommand) {
  Class.Property("Connection", &TADOCommand::Connection, &TADOCommand::SetConnection)
      .Property("CommandText", &TADOCommand::CommandText, &TADOCommand::SetCommandText)
      .Property("ParamCheck", &TADOCommand::ParamCheck, &TADOCommand::SetParamCheck, true);
}

TADOCommand::TADOCommand(TComponent* AOwner)
    : TComponent(AOwner),
      FParameters(std::make_unique<TParameters>()),
      FImpl(std::make_unique<Impl>()) {}

TADOCommand::~TADOCommand() { SetConnection(nullptr); }

void TADOCommand::SetConnection(TADOConnection* Value) {
  if (Value == FConnection) return;
  ConnectionClosing();
  TADOConnection::Rebind(this, FConnection, Value);
}

void TADOCommand::SetCommandText(const String& Value) {
  if (Value == FCommandText) return;
  ConnectionClosing();
  FCommandText = Value;
  if (!FParamCheck) return;
  FParameters->ParseSQLKeepingValues(Value);
}

bool TADOCommand::Prepared() const { return FImpl->Prepared; }

void TADOCommand::SetPrepared(bool Value) {
  if (!Value) return ConnectionClosing();
  if (FImpl->Prepared) return;
  if (!FConnection) throw EDatabaseError(Text::NoConnection);
  sqlite3* Db = FConnection->Core().Db;
  const std::string Sql = StringToUtf8(FCommandText);
  std::vector<std::unique_ptr<TStatement>> Statements;
  for (size_t Offset = 0; Offset != std::string::npos;) {
    auto Stmt = std::make_unique<TStatement>();
    Offset = Stmt->Prepare(Db, Sql, Offset, true);
    if (*Stmt) Statements.push_back(std::move(Stmt));
  }
  if (Statements.empty()) throw EDatabaseError(Text::EmptyCommand);
  FImpl->Statements = std::move(Statements);
  FImpl->Prepared = true;
}

int TADOCommand::Execute() {
  SetPrepared(true);
  sqlite3* Db = FConnection->Core().Db;
  auto Run = [&] {
    int Changed = 0;
    for (const auto& Stmt : FImpl->Statements) {
      BindParams(Stmt->Handle(), *FParameters);
      Changed += RunToEnd(Db, Stmt->Handle());
    }
    return Changed;
  };
  if (FImpl->Statements.size() == 1) return Run();  // one statement is atomic by itself
  return InSavepoint(Db, Run);
}

void TADOCommand::ConnectionClosing() {
  FImpl->Statements.clear();
  FImpl->Prepared = false;
}

void TADOCommand::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FConnection) {
    ConnectionClosing();
    FConnection = nullptr;
  }
}
