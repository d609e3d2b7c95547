// ADODB.h - the database connection, queries and commands over an SQLite file.
//
// TADOConnection opens the file named by "Data Source=" in its connection string (relative to
// the working directory; the other keys of the old provider are accepted and ignored) and
// never creates it: a missing file is an error. Every connection registers the SQL functions
// and the collation the application's SQL relies on (see SqlFunctions_p.h: MID, a LIKE that
// ignores case in every script, half-even ROUND, FDIV and COLLATE RU).
//
// TADOQuery is a dataset with a static client-side cursor: opening runs the statement and
// reads every row, so RecordCount is exact. Posting an edit, insert or delete writes the row
// of the one base table the result comes from (found from the columns' origin metadata) by
// its key (the INTEGER PRIMARY KEY or the declared primary key); the key the database gives a
// new row is read back into the record when the insert is posted, with the row's defaults.
// A query with a master DataSource takes the parameters named like master fields from the
// master's current row, and runs again only when those values change. Filter (the framework's
// filter expressions) and OnFilterRecord, with Filtered, restrict the rows the cursor shows.
//
// TADOCommand runs a statement (or several, in one transaction) that returns no rows.
//
// Parameters are written ":NAME" in the SQL and bound with their value's own type (an integer
// as an integer, a float as a float, a date as ISO text "YYYY-MM-DD[ HH:MM:SS]"), whatever
// type they were declared with, so arithmetic and comparisons work as in the old database.
// Every failure of the database is an EDatabaseError carrying SQLite's message.
#pragma once

#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Params.h"

class TStrings;
class TStringList;
class TADOQuery;
class TADOCommand;

// The old provider's parameter collection behaves as the framework's parameters.
using TParameters = TParams;
using TParameter = TParam;

class TADOConnection : public TComponent {
  VORENTA_CLASS(TADOConnection, TComponent)
public:
  explicit TADOConnection(TComponent* AOwner);
  ~TADOConnection() override;

  // --- connecting
  const String& ConnectionString() const { return FConnectionString; }
  // Raises on an open connection.
  void SetConnectionString(const String& Value);
  // The file named by "Data Source=", as given.
  String DatabaseFileName() const;
  bool Connected() const;
  // The database file can only be read (connected to a write-protected file).
  bool ReadOnly() const;
  void SetConnected(bool Value);
  void Open() { SetConnected(true); }
  // Closes the queries on this connection and ends an open transaction (rolled back).
  void Close() { SetConnected(false); }
  // Kept for forms that set it; there is never a login dialog.
  bool LoginPrompt() const { return FLoginPrompt; }
  void SetLoginPrompt(bool Value) { FLoginPrompt = Value; }

  // --- transactions (nested ones are savepoints)
  // Returns the new nesting level (1 for the outermost).
  int BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  bool InTransaction() const { return FTransLevel > 0; }

  // Runs one or more statements that return no rows, all or nothing; returns the rows changed.
  int Execute(const String& CommandText);

  // The queries and commands on this connection.
  int DataSetCount() const;
  TDataSet* DataSets(int Index) const;

  struct Impl;

private:
  friend class TADOQuery;
  friend class TADOCommand;
  // The layer's own state (the SQLite handle); raises when not connected.
  Impl& Core() const;
  void AddClient(TComponent* Client);
  void RemoveClient(TComponent* Client);
  // Points Client's connection field at To: it leaves the old connection's clients (and free
  // notifications) and joins To's.
  static void Rebind(TComponent* Client, TADOConnection*& Field, TADOConnection* To);
  void DoConnect();
  void DoDisconnect();

  std::unique_ptr<Impl> FImpl;
  String FConnectionString;
  bool FLoginPrompt = true;
  int FTransLevel = 0;
  std::vector<TComponent*> FClients;
};

class TADOCommand : public TComponent {
  VORENTA_CLASS(TADOCommand, TComponent)
public:
  explicit TADOCommand(TComponent* AOwner);
  ~TADOCommand() override;

  TADOConnection* Connection() const { return FConnection; }
  void SetConnection(TADOConnection* Value);
  const String& CommandText() const { return FCommandText; }
  // Re-reads the ":NAME" parameters (values of names kept are kept).
  void SetCommandText(const String& Value);
  bool ParamCheck() const { return FParamCheck; }
  void SetParamCheck(bool Value) { FParamCheck = Value; }
  TParameters* Parameters() const { return FParameters.get(); }
  bool Prepared() const;
  void SetPrepared(bool Value);
  // Runs the command with the current parameter values; returns the rows changed.
  int Execute();

  struct Impl;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TADOConnection;
  void ConnectionClosing();

  TADOConnection* FConnection = nullptr;
  String FCommandText;
  bool FParamCheck = true;
  std::unique_ptr<TParameters> FParameters;
  std::unique_ptr<Impl> FImpl;
};

class TADOQuery : public TDataSet {
  VORENTA_CLASS(TADOQuery, TDataSet)
public:
  explicit TADOQuery(TComponent* AOwner);
  ~TADOQuery() override;

  TADOConnection* Connection() const { return FConnection; }
  void SetConnection(TADOConnection* Value);
  // The statement's lines; changing them closes nothing but re-reads the parameters and
  // drops the prepared statement.
  TStrings* SQL() const;
  bool ParamCheck() const { return FParamCheck; }
  void SetParamCheck(bool Value) { FParamCheck = Value; }
  TParameters* Parameters() const { return FParameters.get(); }
  TParams* PSGetParams() override { return FParameters.get(); }
  // The master whose current row gives the parameters named like its fields.
  void SetDataSource(TDataSource* Value);
  bool Prepared() const;
  void SetPrepared(bool Value);
  // Runs the statement again with the current parameters and goes to the first row.
  void Requery();
  // Runs SQL that returns no rows (several statements all or nothing) with the current
  // parameters; returns the rows changed, kept as RowsAffected.
  int ExecSQL();
  int RowsAffected() const { return FRowsAffected; }
  // How many times the statement ran (opening, Requery, master changes): for tests.
  int ExecutionCount() const { return FExecutionCount; }

  bool Locate(const String& KeyFields, const Variant& KeyValues,
              TLocateOptions Options) override;
  Variant Lookup(const String& KeyFields, const Variant& KeyValues,
                 const String& ResultFields) override;
  bool GetFieldData(TField* Field, Variant* Value) const override;
  void SetFieldData(TField* Field, const Variant* Value) override;
  bool BookmarkValid(const TBookmark& Bookmark) const override;
  int CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const override;
  unsigned DataVersion() const override { return FDataVersion; }
  bool GetFieldColumn(TField* Field, std::vector<Variant>& Values) const override;

  struct Impl;

protected:
  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& Buffer) override;
  void InternalInitRecord(TRecordBuffer Buffer) override;
  void ClearCalcFields(TRecordBuffer Buffer) override;
  TGetResult GetRecord(TRecordBuffer Buffer, TGetMode GetMode, bool DoCheck) override;
  void GetBookmarkData(TRecordBuffer Buffer, TBookmark& Data) const override;
  void SetBookmarkData(TRecordBuffer Buffer, const TBookmark& Data) override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer Buffer) const override;
  void SetBookmarkFlag(TRecordBuffer Buffer, TBookmarkFlag Value) override;
  void InternalGotoBookmark(const TBookmark& Bookmark) override;
  void InternalSetToRecord(TRecordBuffer Buffer) override;
  void InternalFirst() override;
  void InternalLast() override;
  int GetRecordCount() const override;
  int GetRecNo() const override;
  void SetRecNoValue(int Value) override;
  bool GetCanModify() const override;
  TDataSource* GetDataSource() const override;
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override;
  void InternalInitFieldDefs() override;
  void InternalAddRecord(TRecordBuffer Buffer, bool Append) override;
  void InternalPost() override;
  void InternalCancel() override;
  void InternalDelete() override;
  void InternalRefresh() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetFiltered(bool Value) override;
  void SetFilterText(const String& Value) override;
  void SetFilterOptions(TFilterOptions Value) override;
  void SetOnFilterRecord(TFilterRecordEvent Value) override;

private:
  friend class TADOConnection;
  friend class TADOMasterLink;
  void ConnectionClosing();
  void SQLChanged();
  // From the master link: the master's row or state changed.
  void MasterChanged();
  void Execute();
  void ReadDatesForDateFields();
  // Filtering (ADOQueryFilter.cpp): the parsed Filter, the view of accepted rows, one row's test.
  void BuildFilter();
  void ApplyFilter();
  bool FilterAccepts(int Slot);
  void FilterChanged();
  void LeaveViewIfRejected(int Slot);
  // The rows read, their order or a stored value changed.
  void StampDataVersion() { FDataVersion = NewDataVersion(); }

  TADOConnection* FConnection = nullptr;
  std::unique_ptr<TStringList> FSQL;
  bool FParamCheck = true;
  std::unique_ptr<TParameters> FParameters;
  std::unique_ptr<TDataLink> FMasterLink;
  int FExecutionCount = 0;
  int FRowsAffected = -1;
  unsigned FDataVersion = NewDataVersion();
  std::unique_ptr<Impl> FImpl;
};
