// DataDriverZkSQL.cpp - the SQL data driver's base classes: commands routed to the
// process-wide resolver, the generated insert, update and delete statements, and the
// writing of one change through a command.
#include "gridlib/memtable/DataDriverZk.h"

#include <algorithm>

#include "platform/classes/Strings.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

inline constexpr const char16_t* NoSelectCursorText = u"SelectCommand.Execute does not get DataSet";
inline constexpr const char16_t* NoKeyFieldsText =
    u"No key fields are set: an update or delete statement would change every row of the table";

std::unique_ptr<TSQLDataDriverResolver>& ResolverSlot() {
  static std::unique_ptr<TSQLDataDriverResolver> Resolver = std::make_unique<TSQLDataDriverResolver>();
  return Resolver;
}

std::vector<String> CommaNames(const String& Text) {
  TStringList List;
  List.SetCommaText(Text);
  std::vector<String> Names;
  for (int I = 0; I < List.Count(); ++I) Names.push_back(List.Strings(I));
  return Names;
}

// "  (A, B, ...)" wrapped after the name that takes the line past 70 characters, each group
// (keys, then fields) wrapping on its own; the next line starts with three blanks.
void AddNameList(TStrings* Lines, const std::vector<std::vector<String>>& Groups, const String& Prefix) {
  String Line = u"  (";
  bool First = true;
  for (const std::vector<String>& Group : Groups)
    for (std::size_t I = 0; I < Group.size(); ++I) {
      if (!First) Line += u", ";
      First = false;
      Line += Prefix + Group[I];
      if (Line.size() > 70 && I + 1 < Group.size()) {
        Lines->Add(Line);
        Line = u"   ";
      }
    }
  Lines->Add(Line + u")");
}

}  // namespace

TSQLDataDriverResolver* GetSQLDataDriverResolver() { return ResolverSlot().get(); }

std::unique_ptr<TSQLDataDriverResolver> SetSQLDataDriverResolver(std::unique_ptr<TSQLDataDriverResolver> Value) {
  std::unique_ptr<TSQLDataDriverResolver> Previous = std::move(ResolverSlot());
  ResolverSlot() = std::move(Value);
  return Previous;
}

TServerSpecOperationsZk* DefaultServerSpecOperations() {
  static TServerSpecOperationsZk Operations;
  return &Operations;
}

// ===== commands ==================================================================================

TCustomSQLCommandZk::TCustomSQLCommandZk(TCustomSQLDataDriverZk* ADataDriver)
    : FCommandText(std::make_unique<TStringList>()), FDataDriver(ADataDriver) {}

TCustomSQLCommandZk::~TCustomSQLCommandZk() = default;

void TCustomSQLCommandZk::SetCommandText(TStrings* Value) { FCommandText->Assign(Value); }

void TCustomSQLCommandZk::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TCustomSQLCommandZk*>(Source)) {
    FCommandText->Assign(Other->CommandText());
    FCommandType = Other->CommandType();
  }
}

int TCustomSQLCommandZk::Execute(TDataSet*& Cursor, bool& FreeOnEof) {
  Cursor = nullptr;
  TSQLDataDriverResolver* Resolver = GetSQLDataDriverResolver();
  if (!Resolver) return -1;
  bool Processed = false;
  return Resolver->ExecuteCommand(FDataDriver, this, Processed, FreeOnEof, Cursor);
}

void TCustomSQLCommandZk::RefreshParams(TMemoryRecordZk*, TDataValueVersionZk) {}

void TCustomSQLCommandZk::SetParams(TParams*) {}

void TDynaSQLParamsZk::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TDynaSQLParamsZk*>(Source)) {
    FUpdateTable = Other->FUpdateTable;
    FUpdateFields = Other->FUpdateFields;
    FKeyFields = Other->FKeyFields;
    FSkipUnchangedFields = Other->FSkipUnchangedFields;
    FOptions = Other->FOptions;
  }
}

// ===== generated statements ======================================================================

void TServerSpecOperationsZk::WhereClause(const std::vector<String>& KeyFields, TStrings* Lines) {
  if (KeyFields.empty()) return;
  Lines->Add(u"where");
  for (std::size_t I = 0; I < KeyFields.size(); ++I)
    Lines->Add(u" " + KeyFields[I] + u" = :OLD_" + KeyFields[I] + (I + 1 < KeyFields.size() ? u" and" : u""));
}

void TServerSpecOperationsZk::ChangedFields(TMemoryRecordZk* MemRec, const std::vector<String>& FieldList,
                                            std::vector<String>& Result) {
  Result.clear();
  String ListText;
  for (const String& Name : FieldList) ListText += (ListText.empty() ? u"" : u",") + Name;
  for (const String& Name : FieldList) {
    const int Index = MemRec->DataStruct()->FieldIndex(Name);
    if (Index < 0)
      throw Exception(u"Invalid field name \"" + Name + u"\" in field list \"" + ListText + u"\"");
    if (!VarSameValue(MemRec->GetDataValue(Index, dvvValueZk), MemRec->GetDataValue(Index, dvvOldValueZk)))
      Result.push_back(Name);
  }
}

void TServerSpecOperationsZk::UpdateRecord(TCustomSQLDataDriverZk* Driver, TMemTableDataZk* Data,
                                           TMemoryRecordZk* MemRec) {
  Driver->DoUpdateRecord(Data, MemRec);
}

void TServerSpecOperationsZk::GenerateDynaSQLCommand(TMemoryRecordZk* MemRec, TCustomSQLCommandZk* Command) {
  Command->SetCommandType(cthUpdateQuery);
  TDynaSQLParamsZk* Params = Command->DataDriver()->DynaSQLParams();
  const std::vector<String> Keys = CommaNames(Params->KeyFields());
  std::vector<String> Fields = CommaNames(Params->UpdateFields());
  const TUpdateStatus Status = MemRec->UpdateStatus();
  if (Status == usModified && Params->SkipUnchangedFields()) {
    std::vector<String> Changed;
    ChangedFields(MemRec, Fields, Changed);
    Fields = Changed;
  }
  TStrings* Lines = Command->CommandText();
  Lines->Clear();
  if ((Status == usModified || Status == usDeleted) && Keys.empty()) throw Exception(NoKeyFieldsText);
  const String& Table = Params->UpdateTable();
  if (Status == usInserted) {
    Lines->Add(u"insert into " + Table);
    AddNameList(Lines, {Keys, Fields}, String());
    Lines->Add(u"values");
    AddNameList(Lines, {Keys, Fields}, u":");
  } else if (Status == usModified) {
    if (Fields.empty()) return;
    Lines->Add(u"update " + Table);
    Lines->Add(u"set");
    for (std::size_t I = 0; I < Fields.size(); ++I)
      Lines->Add(u" " + Fields[I] + u" = :" + Fields[I] + (I + 1 < Fields.size() ? u"," : u""));
    WhereClause(Keys, Lines);
  } else if (Status == usDeleted) {
    Lines->Add(u"delete from " + Table);
    WhereClause(Keys, Lines);
  }
}

// ===== the resolver ==============================================================================

int TSQLDataDriverResolver::ExecuteCommand(TCustomSQLDataDriverZk* Driver, TCustomSQLCommandZk* Command,
                                           bool& Processed, bool& FreeOnEof, TDataSet*& Cursor) {
  if (FOnExecuteCommand) return FOnExecuteCommand(Driver, Command, Cursor, FreeOnEof, Processed);
  Processed = false;
  return -1;
}

void TSQLDataDriverResolver::UpdateRecord(TCustomSQLDataDriverZk* Driver, TMemTableDataZk* Data, bool& Processed,
                                          TMemoryRecordZk* MemRec) {
  if (FOnUpdateRecord) FOnUpdateRecord(Driver, Data, MemRec, Processed);
  if (!Processed) DefaultUpdateRecord(Driver, Data, Processed, MemRec);
}

void TSQLDataDriverResolver::DefaultUpdateRecord(TCustomSQLDataDriverZk* Driver, TMemTableDataZk* Data,
                                                 bool& Processed, TMemoryRecordZk* MemRec) {
  if (FServerSpecOperations)
    FServerSpecOperations->UpdateRecord(Driver, Data, MemRec);
  else if (Driver->ServerSpecOperations())
    Driver->ServerSpecOperations()->UpdateRecord(Driver, Data, MemRec);
  else
    Driver->DoUpdateRecord(Data, MemRec);
  Processed = true;
}

// ===== the driver ================================================================================

TCustomSQLDataDriverZk::TCustomSQLDataDriverZk(TComponent* AOwner)
    : TDataDriverZk(AOwner),
      FSpecParams(std::make_unique<TStringList>()),
      FDynaSQLParams(std::make_unique<TDynaSQLParamsZk>(this)) {
  FSelectCommand = CreateCommand();
  FUpdateCommand = CreateCommand();
  FInsertCommand = CreateCommand();
  FDeleteCommand = CreateCommand();
  FGetrecCommand = CreateCommand();
  for (TCustomSQLCommandZk* C : {FSelectCommand.get(), FUpdateCommand.get(), FInsertCommand.get(),
                                 FDeleteCommand.get(), FGetrecCommand.get()})
    C->SetCommandType(DefaultCommandType(C));
  SetResolveToDataSet(false);
  FServiceCommand = CreateCommand();
}

TCustomSQLDataDriverZk::~TCustomSQLDataDriverZk() = default;

std::unique_ptr<TCustomSQLCommandZk> TCustomSQLDataDriverZk::CreateCommand() {
  return std::make_unique<TCustomSQLCommandZk>(this);
}

TSQLCommandTypeZk TCustomSQLDataDriverZk::DefaultCommandType(TCustomSQLCommandZk* Command) const {
  return Command == FSelectCommand.get() || Command == FGetrecCommand.get() ? cthSelectQuery : cthUpdateQuery;
}

int TCustomSQLDataDriverZk::ExecuteCommand(TCustomSQLCommandZk* Command, TDataSet*& Cursor, bool& FreeOnEof) {
  return FOnExecuteCommand ? FOnExecuteCommand(this, Command, Cursor, FreeOnEof)
                           : DefaultExecuteCommand(Command, Cursor, FreeOnEof);
}

int TCustomSQLDataDriverZk::DefaultExecuteCommand(TCustomSQLCommandZk* Command, TDataSet*& Cursor, bool& FreeOnEof) {
  Cursor = nullptr;
  if (HaveDataConnection()) return Command->Execute(Cursor, FreeOnEof);
  if (TSQLDataDriverResolver* Resolver = GetSQLDataDriverResolver()) {
    bool Processed = false;
    const int Result = Resolver->ExecuteCommand(this, Command, Processed, FreeOnEof, Cursor);
    if (Processed) return Result;
  }
  return Command->Execute(Cursor, FreeOnEof);
}

void TCustomSQLDataDriverZk::DefaultProduceDataReader(TDataSet*& DataSet, bool& FreeOnEof) {
  if (ProviderDataSet()) return TDataDriverZk::DefaultProduceDataReader(DataSet, FreeOnEof);
  ExecuteCommand(FSelectCommand.get(), DataSet, FreeOnEof);
}

void TCustomSQLDataDriverZk::DefaultBuildDataStruct(TMTDataStructZk* DataStruct) {
  if (ProviderDataSet()) return TDataDriverZk::DefaultBuildDataStruct(DataStruct);
  TDataSet* Cursor = nullptr;
  bool FreeOnEof = false;
  ExecuteCommand(FSelectCommand.get(), Cursor, FreeOnEof);
  if (!Cursor) throw Exception(NoSelectCursorText);
  try {
    Cursor->Open();
    DataStruct->BuildStructFromFields(Cursor->Fields());
    AdjustDataStruct(Cursor->Fields(), DataStruct);
    Cursor->Close();
  } catch (...) {
    if (FreeOnEof) delete Cursor;
    throw;
  }
  if (FreeOnEof) delete Cursor;
}

void TCustomSQLDataDriverZk::AdjustDataStruct(TFields*, TMTDataStructZk* DataStruct) {
  const String Name = FSpecParams->Values(u"AUTO_INCREMENT_FIELD");
  if (Name.empty()) return;
  if (auto* Field = dynamic_cast<TMTNumericDataFieldZk*>(DataStruct->FindField(Name))) Field->SetAutoIncrement(true);
}

bool TCustomSQLDataDriverZk::DefaultUpdateRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec) {
  if (TSQLDataDriverResolver* Resolver = GetSQLDataDriverResolver()) {
    bool Processed = false;
    Resolver->UpdateRecord(this, Data, Processed, MemRec);
    if (Processed) return false;
  }
  if (FServerSpecOperations)
    FServerSpecOperations->UpdateRecord(this, Data, MemRec);
  else
    DoUpdateRecord(Data, MemRec);
  return true;
}

void TCustomSQLDataDriverZk::GenerateDynamicSQLCommand(TMemoryRecordZk* MemRecord, TCustomSQLCommandZk* Command) {
  TServerSpecOperationsZk* Operations = FServerSpecOperations;
  if (!Operations && GetSQLDataDriverResolver()) Operations = GetSQLDataDriverResolver()->ServerSpecOperations();
  if (!Operations) Operations = DefaultServerSpecOperations();
  Operations->GenerateDynaSQLCommand(MemRecord, Command);
}

int TCustomSQLDataDriverZk::DoUpdateRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec) {
  if (ResolveToDataSet()) return TDataDriverZk::DefaultUpdateRecord(Data, MemRec) ? 1 : 0;
  const TUpdateStatus Status = MemRec->UpdateStatus();
  const TDynaSQLOptionsZk Options = FDynaSQLParams->Options();
  const bool Dynamic = (Status == usModified && Options.Contains(dsoDynamicSQLUpdateZk)) ||
                       (Status == usInserted && Options.Contains(dsoDynamicSQLInsertZk)) ||
                       (Status == usDeleted && Options.Contains(dsoDynamicSQLDeleteZk));
  TCustomSQLCommandZk* Command = nullptr;
  if (Dynamic) {
    GenerateDynamicSQLCommand(MemRec, FServiceCommand.get());
    if (!Trim(FServiceCommand->CommandText()->Text()).empty()) Command = FServiceCommand.get();
  } else {
    Command = Status == usModified ? FUpdateCommand.get() : Status == usInserted ? FInsertCommand.get()
                                                                                 : FDeleteCommand.get();
  }
  if (!Command) return 0;
  Command->RefreshParams(MemRec, dvvValueZk);
  TDataSet* Cursor = nullptr;
  bool FreeOnEof = false;
  const int Result = ExecuteCommand(Command, Cursor, FreeOnEof);
  if (FreeOnEof) delete Cursor;
  return Result;
}

REGISTER_CLASS(TCustomSQLDataDriverZk) {}
