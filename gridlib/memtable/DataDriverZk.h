// DataDriverZk.h - data drivers: what fills a memory table from another dataset (the
// provider) and writes the table's changes back to it. TDataDriverZk holds the reading and
// resolving logic with an event and a replaceable default for each step; TDataSetDriverZk
// publishes the provider dataset and the key fields.
#pragma once

#include <functional>
#include <vector>

#include "gridlib/memtable/MemTableDataZk.h"
#include "platform/classes/Component.h"

class TDataSet;
class TField;
class TParams;

VORENTA_ENUM(TUpdateErrorActionZk, ueaBreakAbortZk, ueaBreakRaiseZk, ueaCountinueZk, ueaRetryZk,
             ueaCountinueSkip);

class TDataDriverZk;
using TDataDriverProduceDataReaderZkEvent =
    std::function<void(TDataDriverZk* Driver, TDataSet*& DataReader, bool& FreeOnEof)>;
using TDataDriverBuildDataStructZkEvent =
    std::function<void(TDataDriverZk* Driver, TMTDataStructZk* DataStruct)>;
using TDataDriverReadRecordZkEvent = std::function<void(
    TDataDriverZk* Driver, TMemTableDataZk* Data, TMemoryRecordZk* MemRec, bool& ProviderEOF)>;
using TDataDriverAssignFieldValueZkEvent = std::function<void(
    TDataDriverZk* Driver, TMemTableDataZk* Data, TMemoryRecordZk* MemRec, int DataFieldIndex,
    TDataValueVersionZk Version, TDataSet* ReaderDataSet)>;
using TDataDriverRecordZkEvent =
    std::function<void(TDataDriverZk* Driver, TMemTableDataZk* Data, TMemoryRecordZk* MemRec)>;
using TDataDriverUpdateErrorZkEvent =
    std::function<void(TDataDriverZk* Driver, TMemTableDataZk* Data, TMemoryRecordZk* MemRec,
                       TUpdateErrorActionZk& Action)>;

class TDataDriverZk : public TComponent {
  VORENTA_CLASS(TDataDriverZk, TComponent)
public:
  explicit TDataDriverZk(TComponent* AOwner);
  ~TDataDriverZk() override;

  const String& KeyFields() const { return FKeyFields; }
  void SetKeyFields(const String& Value) { FKeyFields = Value; }
  TDataSet* ProviderDataSet() const { return FProviderDataSet; }
  void SetProviderDataSet(TDataSet* Value);
  bool ProviderEOF() const { return FProviderEOF; }
  void SetProviderEOF(bool Value);
  bool ResolveToDataSet() const { return FResolveToDataSet; }
  void SetResolveToDataSet(bool Value) { FResolveToDataSet = Value; }
  // The memory table this driver feeds (one at a time).
  TObject* DataDriverConsumer() const { return FDataDriverConsumer; }
  void SetDataDriverConsumer(TObject* Value) { FDataDriverConsumer = Value; }

  TDataDriverProduceDataReaderZkEvent OnProduceDataReader() const { return FOnProduceDataReader; }
  void SetOnProduceDataReader(TDataDriverProduceDataReaderZkEvent V) { FOnProduceDataReader = std::move(V); }
  TDataDriverBuildDataStructZkEvent OnBuildDataStruct() const { return FOnBuildDataStruct; }
  void SetOnBuildDataStruct(TDataDriverBuildDataStructZkEvent V) { FOnBuildDataStruct = std::move(V); }
  TDataDriverReadRecordZkEvent OnReadRecord() const { return FOnReadRecord; }
  void SetOnReadRecord(TDataDriverReadRecordZkEvent V) { FOnReadRecord = std::move(V); }
  TDataDriverAssignFieldValueZkEvent OnAssignFieldValue() const { return FOnAssignFieldValue; }
  void SetOnAssignFieldValue(TDataDriverAssignFieldValueZkEvent V) { FOnAssignFieldValue = std::move(V); }
  TDataDriverRecordZkEvent OnUpdateRecord() const { return FOnUpdateRecord; }
  void SetOnUpdateRecord(TDataDriverRecordZkEvent V) { FOnUpdateRecord = std::move(V); }
  TDataDriverRecordZkEvent OnRefreshRecord() const { return FOnRefreshRecord; }
  void SetOnRefreshRecord(TDataDriverRecordZkEvent V) { FOnRefreshRecord = std::move(V); }
  TDataDriverUpdateErrorZkEvent OnUpdateError() const { return FOnUpdateError; }
  void SetOnUpdateError(TDataDriverUpdateErrorZkEvent V) { FOnUpdateError = std::move(V); }

  virtual void AdjustDataStruct(TFields* Fields, TMTDataStructZk* DataStruct);
  // Writes the change log; answers how many records were written.
  virtual int ApplyUpdates(TMemTableDataZk* Data);
  virtual bool DefaultUpdateRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec);
  virtual TDataSet* GetDataReader();
  // Reads up to Count records (negative: all); counts the attempt that met the end.
  virtual int ReadData(TMemTableDataZk* Data, int Count);
  virtual bool RefreshReaderParamsFromCursor(TDataSet* DataSet);
  virtual void AssignFieldValue(TMemTableDataZk* Data, TMemoryRecordZk* MemRec, int DataFieldIndex,
                                TDataValueVersionZk Version, TDataSet* ReaderDataSet);
  virtual void UpdateRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec);
  virtual void ConsumerClosed(TDataSet* ConsumerDataSet);
  virtual void DefaultAssignFieldValue(TMemTableDataZk* Data, TMemoryRecordZk* MemRec,
                                       int DataFieldIndex, TDataValueVersionZk Version,
                                       TDataSet* ReaderDataSet);
  virtual void DefaultBuildDataStruct(TMTDataStructZk* DataStruct);
  virtual void DefaultProduceDataReader(TDataSet*& DataSet, bool& FreeOnEof);
  virtual void DefaultReadRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec, bool& ProviderEOF);
  virtual void DefaultUpdateError(TMemTableDataZk* Data, TMemoryRecordZk* MemRec,
                                  TUpdateErrorActionZk& Action);
  virtual void DefaultRefreshRecord(TMemoryRecordZk* MemRec);
  virtual void BuildDataStruct(TMTDataStructZk* DataStruct);
  virtual void RefreshRecord(TMemoryRecordZk* MemRec);
  virtual void SetReaderParamsFromCursor(TDataSet* DataSet);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The provider's parameters as its provider support reports them, or nullptr.
  TParams* ProviderParams() const;

private:
  // The reader's field for a structure position, resolved once per reader.
  TField* ReaderField(TDataSet* Reader, TMTDataStructZk* Struct, int Index);
  int ReadDataDirect(TMemTableDataZk* Data, int Count);
  String ProviderKeyFields() const;
  void RefreshProviderFor(const std::vector<TMemoryRecordZk*>& Delta);
  void ForgetReader();

  String FKeyFields;
  TDataSet* FProviderDataSet = nullptr;
  TDataSet* FReaderDataSet = nullptr;
  bool FReaderDataSetFreeOnEof = false;
  bool FProviderEOF = false;
  bool FResolveToDataSet = true;
  TObject* FDataDriverConsumer = nullptr;
  TDataSet* FResolvedReader = nullptr;
  std::vector<TField*> FReaderFields;
  std::vector<bool> FReaderFieldKnown;
  TDataDriverProduceDataReaderZkEvent FOnProduceDataReader;
  TDataDriverBuildDataStructZkEvent FOnBuildDataStruct;
  TDataDriverReadRecordZkEvent FOnReadRecord;
  TDataDriverAssignFieldValueZkEvent FOnAssignFieldValue;
  TDataDriverRecordZkEvent FOnUpdateRecord;
  TDataDriverRecordZkEvent FOnRefreshRecord;
  TDataDriverUpdateErrorZkEvent FOnUpdateError;
};

// A driver over a provider dataset, with the provider and the key fields published.
class TDataSetDriverZk : public TDataDriverZk {
  VORENTA_CLASS(TDataSetDriverZk, TDataDriverZk)
public:
  using TDataDriverZk::TDataDriverZk;
};

// ===== SQL data drivers =======================================================================
// Drivers that talk to a database through SQL commands. No concrete driver ships: the base
// classes route each command to the process-wide resolver's hooks (or a descendant's own
// execution) and generate insert, update and delete statements from a record.

class TStrings;
class TCustomSQLDataDriverZk;

VORENTA_ENUM(TSQLCommandTypeZk, cthSelectQuery, cthUpdateQuery, cthTable, cthStoredProc);
VORENTA_ENUM(TDynaSQLOptionZk, dsoDynamicSQLInsertZk, dsoDynamicSQLUpdateZk, dsoDynamicSQLDeleteZk);
VORENTA_SET(TDynaSQLOptionsZk, TDynaSQLOptionZk);

class TCustomSQLCommandZk : public TPersistent {
public:
  explicit TCustomSQLCommandZk(TCustomSQLDataDriverZk* ADataDriver);
  ~TCustomSQLCommandZk() override;
  TStrings* CommandText() const { return FCommandText.get(); }
  void SetCommandText(TStrings* Value);
  TSQLCommandTypeZk CommandType() const { return FCommandType; }
  void SetCommandType(TSQLCommandTypeZk Value) { FCommandType = Value; }
  TCustomSQLDataDriverZk* DataDriver() const { return FDataDriver; }
  void Assign(TPersistent* Source) override;
  // Runs the command: the resolver's hook when there is one; -1 and no cursor otherwise.
  virtual int Execute(TDataSet*& Cursor, bool& FreeOnEof);
  virtual TParams* GetParams() { return nullptr; }
  virtual void RefreshParams(TMemoryRecordZk* MemRecord, TDataValueVersionZk Version);
  virtual void SetParams(TParams* AParams);

private:
  std::unique_ptr<TStrings> FCommandText;
  TSQLCommandTypeZk FCommandType = cthSelectQuery;
  TCustomSQLDataDriverZk* FDataDriver;
};

class TDynaSQLParamsZk : public TPersistent {
public:
  explicit TDynaSQLParamsZk(TCustomSQLDataDriverZk* ADataDriver) : FDataDriver(ADataDriver) {}
  TCustomSQLDataDriverZk* DataDriver() const { return FDataDriver; }
  const String& UpdateTable() const { return FUpdateTable; }
  void SetUpdateTable(const String& Value) { FUpdateTable = Value; }
  // Comma texts of field names.
  const String& UpdateFields() const { return FUpdateFields; }
  void SetUpdateFields(const String& Value) { FUpdateFields = Value; }
  const String& KeyFields() const { return FKeyFields; }
  void SetKeyFields(const String& Value) { FKeyFields = Value; }
  bool SkipUnchangedFields() const { return FSkipUnchangedFields; }
  void SetSkipUnchangedFields(bool Value) { FSkipUnchangedFields = Value; }
  TDynaSQLOptionsZk Options() const { return FOptions; }
  void SetOptions(TDynaSQLOptionsZk Value) { FOptions = Value; }
  void Assign(TPersistent* Source) override;

private:
  TCustomSQLDataDriverZk* FDataDriver;
  String FUpdateTable;
  String FUpdateFields;
  String FKeyFields;
  bool FSkipUnchangedFields = false;
  TDynaSQLOptionsZk FOptions;
};

// Writes insert, update and delete statements from a record.
class TServerSpecOperationsZk {
public:
  virtual ~TServerSpecOperationsZk() = default;
  // "where" and one " KEY = :OLD_KEY" line per key, " and" between them.
  virtual void WhereClause(const std::vector<String>& KeyFields, TStrings* Lines);
  // The names of FieldList whose current and old values differ.
  virtual void ChangedFields(TMemoryRecordZk* MemRec, const std::vector<String>& FieldList,
                             std::vector<String>& Result);
  virtual void UpdateRecord(TCustomSQLDataDriverZk* Driver, TMemTableDataZk* Data, TMemoryRecordZk* MemRec);
  virtual void GetBackUpdatedValues(TMemoryRecordZk*, TCustomSQLCommandZk*, TDataSet*) {}
  // Raises for an update or delete without key fields: it would change every row.
  virtual void GenerateDynaSQLCommand(TMemoryRecordZk* MemRec, TCustomSQLCommandZk* Command);
  bool IncludeInsertFieldsInUpdateCommand() const { return FIncludeInsertFieldsInUpdateCommand; }
  void SetIncludeInsertFieldsInUpdateCommand(bool Value) { FIncludeInsertFieldsInUpdateCommand = Value; }

private:
  bool FIncludeInsertFieldsInUpdateCommand = false;
};

// The process-wide hooks through which every SQL driver's commands run.
class TSQLDataDriverResolver {
public:
  using TExecuteCommandEvent = std::function<int(TCustomSQLDataDriverZk* Driver, TCustomSQLCommandZk* Command,
                                                 TDataSet*& Cursor, bool& FreeOnEof, bool& Processed)>;
  using TUpdateRecordEvent = std::function<void(TCustomSQLDataDriverZk* Driver, TMemTableDataZk* Data,
                                                TMemoryRecordZk* MemRec, bool& Processed)>;
  virtual ~TSQLDataDriverResolver() = default;
  TServerSpecOperationsZk* ServerSpecOperations() const { return FServerSpecOperations; }
  void SetServerSpecOperations(TServerSpecOperationsZk* Value) { FServerSpecOperations = Value; }
  TExecuteCommandEvent OnExecuteCommand() const { return FOnExecuteCommand; }
  void SetOnExecuteCommand(TExecuteCommandEvent Value) { FOnExecuteCommand = std::move(Value); }
  TUpdateRecordEvent OnUpdateRecord() const { return FOnUpdateRecord; }
  void SetOnUpdateRecord(TUpdateRecordEvent Value) { FOnUpdateRecord = std::move(Value); }

  virtual int ExecuteCommand(TCustomSQLDataDriverZk* Driver, TCustomSQLCommandZk* Command, bool& Processed,
                             bool& FreeOnEof, TDataSet*& Cursor);
  virtual void UpdateRecord(TCustomSQLDataDriverZk* Driver, TMemTableDataZk* Data, bool& Processed,
                            TMemoryRecordZk* MemRec);
  virtual void DefaultUpdateRecord(TCustomSQLDataDriverZk* Driver, TMemTableDataZk* Data, bool& Processed,
                                   TMemoryRecordZk* MemRec);

private:
  TServerSpecOperationsZk* FServerSpecOperations = nullptr;
  TExecuteCommandEvent FOnExecuteCommand;
  TUpdateRecordEvent FOnUpdateRecord;
};

// The process-wide resolver, or nullptr.
TSQLDataDriverResolver* GetSQLDataDriverResolver();
// Replaces the resolver; the caller owns the previous one.
std::unique_ptr<TSQLDataDriverResolver> SetSQLDataDriverResolver(std::unique_ptr<TSQLDataDriverResolver> Value);
TServerSpecOperationsZk* DefaultServerSpecOperations();

class TCustomSQLDataDriverZk : public TDataDriverZk {
  VORENTA_CLASS(TCustomSQLDataDriverZk, TDataDriverZk)
public:
  using TExecuteCommandEvent =
      std::function<int(TCustomSQLDataDriverZk* Driver, TCustomSQLCommandZk* Command, TDataSet*& Cursor, bool& FreeOnEof)>;
  explicit TCustomSQLDataDriverZk(TComponent* AOwner);
  ~TCustomSQLDataDriverZk() override;

  TCustomSQLCommandZk* SelectCommand() const { return FSelectCommand.get(); }
  TCustomSQLCommandZk* UpdateCommand() const { return FUpdateCommand.get(); }
  TCustomSQLCommandZk* InsertCommand() const { return FInsertCommand.get(); }
  TCustomSQLCommandZk* DeleteCommand() const { return FDeleteCommand.get(); }
  TCustomSQLCommandZk* GetrecCommand() const { return FGetrecCommand.get(); }
  TCustomSQLCommandZk* ServiceCommand() const { return FServiceCommand.get(); }
  TStrings* SpecParams() const { return FSpecParams.get(); }
  TDynaSQLParamsZk* DynaSQLParams() const { return FDynaSQLParams.get(); }
  TServerSpecOperationsZk* ServerSpecOperations() const { return FServerSpecOperations; }
  void SetServerSpecOperations(TServerSpecOperationsZk* Value) { FServerSpecOperations = Value; }
  TExecuteCommandEvent OnExecuteCommand() const { return FOnExecuteCommand; }
  void SetOnExecuteCommand(TExecuteCommandEvent Value) { FOnExecuteCommand = std::move(Value); }

  virtual TSQLCommandTypeZk DefaultCommandType(TCustomSQLCommandZk* Command) const;
  virtual int DoUpdateRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec);
  virtual int ExecuteCommand(TCustomSQLCommandZk* Command, TDataSet*& Cursor, bool& FreeOnEof);
  virtual int DefaultExecuteCommand(TCustomSQLCommandZk* Command, TDataSet*& Cursor, bool& FreeOnEof);
  virtual bool HaveDataConnection() const { return false; }
  virtual void GenerateDynamicSQLCommand(TMemoryRecordZk* MemRecord, TCustomSQLCommandZk* Command);

  void AdjustDataStruct(TFields* Fields, TMTDataStructZk* DataStruct) override;
  bool DefaultUpdateRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec) override;
  void DefaultBuildDataStruct(TMTDataStructZk* DataStruct) override;
  void DefaultProduceDataReader(TDataSet*& DataSet, bool& FreeOnEof) override;

protected:
  // Runs in the constructor, where a descendant's override is not yet in force: a concrete
  // driver gives its commands their execution through the resolver or ExecuteCommand.
  virtual std::unique_ptr<TCustomSQLCommandZk> CreateCommand();

private:
  std::unique_ptr<TCustomSQLCommandZk> FSelectCommand, FUpdateCommand, FInsertCommand, FDeleteCommand,
      FGetrecCommand, FServiceCommand;
  std::unique_ptr<TStrings> FSpecParams;
  std::unique_ptr<TDynaSQLParamsZk> FDynaSQLParams;
  TServerSpecOperationsZk* FServerSpecOperations = nullptr;
  TExecuteCommandEvent FOnExecuteCommand;
};

void RegisterDataDriverClasses();
