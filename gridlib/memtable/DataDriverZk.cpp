// DataDriverZk.cpp - TDataDriverZk: the structure and records read from the provider, and
// the change log written back to it.
#include "gridlib/memtable/DataDriverZk.h"

#include "platform/db/DataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Params.h"
#include "platform/rtl/Variants.h"

namespace {

std::unique_ptr<TUpdateErrorZk> TakeUpdateError(TMemoryRecordZk* Rec) {
  TUpdateErrorZk* Error = Rec->UpdateError();
  if (!Error || !Error->ExceptionObject()) return nullptr;
  return std::make_unique<TUpdateErrorZk>(std::make_unique<EDatabaseError>(Error->ExceptionObject()->Message()));
}

inline constexpr const char16_t* KeyNotFoundText = u"Key is not found in ProviderDataSet";
inline constexpr const char16_t* RecordChangedText = u"Record not found or changed";

// Goes back to the saved provider record at the end, whatever happened.
class TProviderPosition {
public:
  explicit TProviderPosition(TDataSet* DataSet) : FDataSet(DataSet), FBookmark(DataSet->Bookmark()) {}
  ~TProviderPosition() {
    try {
      if (!FBookmark.empty() && FDataSet->Active() && FDataSet->BookmarkValid(FBookmark))
        FDataSet->GotoBookmark(FBookmark);
    } catch (const Exception&) {
      // The provider could not go back (it moved on by itself): the change was made.
    }
  }
  void Drop() { FBookmark.clear(); }
  const TBookmark& Bookmark() const { return FBookmark; }

private:
  TDataSet* FDataSet;
  TBookmark FBookmark;
};

}  // namespace

TDataDriverZk::TDataDriverZk(TComponent* AOwner) : TComponent(AOwner) {}

TDataDriverZk::~TDataDriverZk() {
  Destroying();
  SetProviderEOF(true);
  if (FProviderDataSet) FProviderDataSet->RemoveFreeNotification(this);
}

void TDataDriverZk::SetProviderDataSet(TDataSet* Value) {
  if (Value == FProviderDataSet) return;
  if (FProviderDataSet) FProviderDataSet->RemoveFreeNotification(this);
  ForgetReader();
  FProviderDataSet = Value;
  if (Value) Value->FreeNotification(this);
}

void TDataDriverZk::ForgetReader() {
  if (FReaderDataSetFreeOnEof) delete FReaderDataSet;
  FReaderDataSetFreeOnEof = false;
  FReaderDataSet = nullptr;
  FResolvedReader = nullptr;
}

void TDataDriverZk::SetProviderEOF(bool Value) {
  if (Value == FProviderEOF) return;
  FProviderEOF = Value;
  ForgetReader();
}

void TDataDriverZk::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FProviderDataSet) FProviderDataSet = nullptr;
  if (AComponent == FReaderDataSet) {
    FReaderDataSet = nullptr;
    FReaderDataSetFreeOnEof = false;
    FResolvedReader = nullptr;
  }
  if (AComponent == FDataDriverConsumer) FDataDriverConsumer = nullptr;
}

TParams* TDataDriverZk::ProviderParams() const {
  return FProviderDataSet ? FProviderDataSet->PSGetParams() : nullptr;
}

// ===== structure and reader ======================================================================

void TDataDriverZk::AdjustDataStruct(TFields*, TMTDataStructZk*) {}

void TDataDriverZk::BuildDataStruct(TMTDataStructZk* DataStruct) {
  if (FOnBuildDataStruct)
    FOnBuildDataStruct(this, DataStruct);
  else if (FOnProduceDataReader) {
    if (TDataSet* Reader = GetDataReader()) DataStruct->BuildStructFromFields(Reader->Fields());
  } else
    DefaultBuildDataStruct(DataStruct);
}

void TDataDriverZk::DefaultBuildDataStruct(TMTDataStructZk* DataStruct) {
  if (FReaderDataSet) {
    DataStruct->BuildStructFromFields(FReaderDataSet->Fields());
    AdjustDataStruct(FReaderDataSet->Fields(), DataStruct);
  } else if (FProviderDataSet) {
    const bool Opened = FProviderDataSet->FieldCount() == 0 && !FProviderDataSet->Active();
    if (Opened) FProviderDataSet->Open();
    DataStruct->BuildStructFromFields(FProviderDataSet->Fields());
    AdjustDataStruct(FProviderDataSet->Fields(), DataStruct);
    if (Opened) FProviderDataSet->Close();
  }
}

TDataSet* TDataDriverZk::GetDataReader() {
  if (FReaderDataSet) return FReaderDataSet;
  FReaderDataSetFreeOnEof = false;
  FProviderEOF = false;
  TDataSet* Reader = nullptr;
  bool FreeOnEof = false;
  if (FOnProduceDataReader)
    FOnProduceDataReader(this, Reader, FreeOnEof);
  else
    DefaultProduceDataReader(Reader, FreeOnEof);
  FReaderDataSet = Reader;
  FReaderDataSetFreeOnEof = FreeOnEof;
  FResolvedReader = nullptr;
  if (Reader) Reader->FreeNotification(this);
  return Reader;
}

void TDataDriverZk::DefaultProduceDataReader(TDataSet*& DataSet, bool& FreeOnEof) {
  DataSet = nullptr;
  FreeOnEof = false;
  if (!FProviderDataSet) return;
  FProviderDataSet->Open();
  FProviderDataSet->First();
  DataSet = FProviderDataSet;
}

// ===== reading ===================================================================================

int TDataDriverZk::ReadData(TMemTableDataZk* Data, int Count) {
  if (FProviderEOF || Count == 0) return 0;
  if (!FReaderDataSet) GetDataReader();
  if (!FOnReadRecord && !FOnAssignFieldValue) return ReadDataDirect(Data, Count);
  int Result = 0;
  TRecordsListZk* List = Data->RecordsList();
  for (;;) {
    TMemoryRecordZk* Rec = List->NewRecord();
    bool Eof = false;
    try {
      if (FOnReadRecord)
        FOnReadRecord(this, Data, Rec, Eof);
      else
        DefaultReadRecord(Data, Rec, Eof);
    } catch (...) {
      Rec->Cancel();
      throw;
    }
    SetProviderEOF(Eof);
    if (Eof)
      Rec->Cancel();
    else
      List->FetchRecord(Rec);
    ++Result;
    if (Eof || --Count == 0) break;
  }
  return Result;
}

// The default reading without handlers: each record's values are gathered first and the
// record made with room for exactly them (RecordValuesBuilder).
int TDataDriverZk::ReadDataDirect(TMemTableDataZk* Data, int Count) {
  int Result = 0;
  TRecordsListZk* List = Data->RecordsList();
  TMTDataStructZk* Struct = Data->DataStruct();
  TRecordValuesBuilderZk Builder(List);
  // The reader's field for each structure position, looked up once for the whole read.
  std::vector<TField*> Fields;
  TDataSet* FieldsReader = nullptr;
  for (;;) {
    TDataSet* Reader = FReaderDataSet;
    const bool Eof = !Reader || !Reader->Active() || Reader->Eof();
    if (!Eof) {
      if (Reader != FieldsReader || Fields.size() != static_cast<std::size_t>(Struct->Count())) {
        FieldsReader = Reader;
        Fields.resize(static_cast<std::size_t>(Struct->Count()));
        for (int I = 0, N = Struct->Count(); I < N; ++I) Fields[static_cast<std::size_t>(I)] = ReaderField(Reader, Struct, I);
      }
      for (std::size_t I = 0; I < Fields.size(); ++I)
        if (Fields[I]) Builder.SetValue(static_cast<int>(I), Fields[I]->AsVariant());
      Reader->Next();
    }
    SetProviderEOF(Eof);
    if (!Eof) {
      TMemoryRecordZk* Rec = Builder.NewRecord();
      try {
        List->FetchRecord(Rec);
      } catch (...) {
        if (!Rec->Attached()) delete Rec;  // refused before it joined the list
        throw;
      }
    }
    ++Result;
    if (Eof || --Count == 0) break;
  }
  return Result;
}

void TDataDriverZk::DefaultReadRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec, bool& ProviderEOF) {
  TDataSet* Reader = FReaderDataSet;
  ProviderEOF = !Reader || !Reader->Active() || Reader->Eof();
  if (ProviderEOF) return;
  const int N = MemRec->DataStruct()->Count();
  for (int I = 0; I < N; ++I) AssignFieldValue(Data, MemRec, I, dvvValueZk, Reader);
  Reader->Next();
}

void TDataDriverZk::AssignFieldValue(TMemTableDataZk* Data, TMemoryRecordZk* MemRec, int DataFieldIndex,
                                     TDataValueVersionZk Version, TDataSet* ReaderDataSet) {
  if (FOnAssignFieldValue)
    FOnAssignFieldValue(this, Data, MemRec, DataFieldIndex, Version, ReaderDataSet);
  else
    DefaultAssignFieldValue(Data, MemRec, DataFieldIndex, Version, ReaderDataSet);
}

// Resolved once per reader and structure position, not by name for every value.
TField* TDataDriverZk::ReaderField(TDataSet* Reader, TMTDataStructZk* Struct, int Index) {
  if (Reader != FResolvedReader || static_cast<int>(FReaderFields.size()) != Struct->Count()) {
    FResolvedReader = Reader;
    FReaderFields.assign(static_cast<std::size_t>(Struct->Count()), nullptr);
    FReaderFieldKnown.assign(static_cast<std::size_t>(Struct->Count()), false);
  }
  const std::size_t I = static_cast<std::size_t>(Index);
  if (!FReaderFieldKnown[I]) {
    FReaderFields[I] = Reader->FindField(Struct->DataFields(Index)->FieldName());
    FReaderFieldKnown[I] = true;
  }
  return FReaderFields[I];
}

void TDataDriverZk::DefaultAssignFieldValue(TMemTableDataZk*, TMemoryRecordZk* MemRec, int DataFieldIndex,
                                            TDataValueVersionZk Version, TDataSet* ReaderDataSet) {
  TMTDataStructZk* Struct = MemRec->DataStruct();
  TField* Field = ReaderDataSet == FReaderDataSet && ReaderDataSet
                      ? ReaderField(ReaderDataSet, Struct, DataFieldIndex)
                      : ReaderDataSet->FindField(Struct->DataFields(DataFieldIndex)->FieldName());
  if (Field) MemRec->SetDataValue(DataFieldIndex, Version, Field->AsVariant());
}

void TDataDriverZk::ConsumerClosed(TDataSet*) {
  if (FProviderDataSet) FProviderDataSet->Close();
  SetProviderEOF(true);
}

// ===== resolving =================================================================================

int TDataDriverZk::ApplyUpdates(TMemTableDataZk* Data) {
  TRecordsListZk* List = Data->RecordsList();
  const std::vector<TMemoryRecordZk*> Delta = List->DeltaList();
  RefreshProviderFor(Delta);
  int Result = 0;
  for (TMemoryRecordZk* Rec : Delta) {
    if (!Rec) continue;
    TUpdateErrorActionZk Action = ueaBreakRaiseZk;
    for (;;) {
      Action = ueaBreakRaiseZk;
      try {
        UpdateRecord(Data, Rec);
        ++Result;
        break;
      } catch (const EDatabaseError& E) {
        if (FOnUpdateError)
          FOnUpdateError(this, Data, Rec, Action);
        else
          DefaultUpdateError(Data, Rec, Action);
        if (Action == ueaBreakRaiseZk) throw;
        Rec->SetUpdateError(std::make_unique<TUpdateErrorZk>(std::make_unique<EDatabaseError>(E.Message())));
        if (Action != ueaRetryZk) break;
      }
    }
    if (Action == ueaBreakAbortZk) break;
    if (Action != ueaCountinueSkip) {
      // Merged although it failed: the record keeps its error for the user to see.
      std::unique_ptr<TUpdateErrorZk> Error = Action == ueaCountinueZk ? TakeUpdateError(Rec) : nullptr;
      Rec->MergeChanges();
      if (Error) Rec->SetUpdateError(std::move(Error));
    }
  }
  List->CleanupChangedRecs();
  return Result;
}

// A provider with a client-side cursor keeps the rows it read: before changed or deleted
// records are looked up in it, it reads them again, so a row changed behind the table's back
// is not found. Not while records are still being read from it (that would lose the place).
void TDataDriverZk::RefreshProviderFor(const std::vector<TMemoryRecordZk*>& Delta) {
  if (!FResolveToDataSet || !FProviderDataSet || !FProviderDataSet->Active()) return;
  if (FReaderDataSet == FProviderDataSet && !FProviderEOF) return;
  for (TMemoryRecordZk* Rec : Delta)
    if (Rec && (Rec->UpdateStatus() == usModified || Rec->UpdateStatus() == usDeleted)) {
      FProviderDataSet->CheckBrowseMode();
      FProviderDataSet->Refresh();
      return;
    }
}

void TDataDriverZk::DefaultUpdateError(TMemTableDataZk*, TMemoryRecordZk*, TUpdateErrorActionZk& Action) {
  Action = ueaBreakRaiseZk;
}

void TDataDriverZk::UpdateRecord(TMemTableDataZk* Data, TMemoryRecordZk* MemRec) {
  if (FOnUpdateRecord)
    FOnUpdateRecord(this, Data, MemRec);
  else
    DefaultUpdateRecord(Data, MemRec);
}

String TDataDriverZk::ProviderKeyFields() const {
  if (!FKeyFields.empty()) return FKeyFields;
  String Result;
  for (int I = 0; I < FProviderDataSet->FieldCount(); ++I) {
    TField* F = FProviderDataSet->Fields()->Fields(I);
    if (F->FieldNo() <= 0) continue;
    if (!Result.empty()) Result += u';';
    Result += F->FieldName();
  }
  return Result;
}

// A changed or deleted record the provider no longer has (or has with other values) raises
// "Record not found or changed" into the update-error actions instead of passing as written.
bool TDataDriverZk::DefaultUpdateRecord(TMemTableDataZk*, TMemoryRecordZk* MemRec) {
  if (!FResolveToDataSet || !FProviderDataSet) return false;
  TDataSet* Provider = FProviderDataSet;
  Provider->Open();
  Provider->CheckBrowseMode();
  TProviderPosition Position(Provider);
  const TUpdateStatus Status = MemRec->UpdateStatus();
  if (Status == usModified || Status == usDeleted) {
    const String Keys = ProviderKeyFields();
    if (!Provider->Locate(Keys, MemRec->GetDataValues(Keys, dvvOldestValue), {}))
      DatabaseError(RecordChangedText, Provider);
    if (Status == usDeleted && Provider->Bookmark() == Position.Bookmark()) Position.Drop();
  }
  if (Status == usDeleted) {
    Provider->Delete();
    return true;
  }
  TMTDataStructZk* Struct = MemRec->DataStruct();
  if (Status == usModified)
    Provider->Edit();
  else
    Provider->Insert();
  try {
    for (int I = 0; I < Struct->Count(); ++I) {
      TField* F = Provider->FindField(Struct->DataFields(I)->FieldName());
      // A new row's auto-increment key is the database's to give (and read back below); the
      // table's own placeholder numbers never reach the file.
      if (!F || F->ReadOnly() || (Status == usInserted && F->DataType() == ftAutoInc)) continue;
      F->SetAsVariant(MemRec->GetDataValue(I, dvvValueZk));
    }
    Provider->Post();
  } catch (const EDatabaseError&) {
    const TDataSetState S = Provider->State();
    if (S == dsEdit || S == dsInsert || S == dsSetKey) Provider->Cancel();
    throw;
  }
  const bool Editing = MemRec->EditState() == resBrowseZk;
  if (Editing) MemRec->Edit();
  for (int I = 0; I < Struct->Count(); ++I)
    if (TField* F = Provider->FindField(Struct->DataFields(I)->FieldName()))
      MemRec->SetDataValue(I, dvvValueZk, F->AsVariant());
  if (Editing) MemRec->Post();
  return true;
}

void TDataDriverZk::RefreshRecord(TMemoryRecordZk* MemRec) {
  if (FOnRefreshRecord)
    FOnRefreshRecord(this, MemRec->RecordsList()->MemTableData(), MemRec);
  else
    DefaultRefreshRecord(MemRec);
}

void TDataDriverZk::DefaultRefreshRecord(TMemoryRecordZk* MemRec) {
  if (!FProviderDataSet) return;
  TDataSet* Provider = FProviderDataSet;
  TProviderPosition Position(Provider);
  const String Keys = ProviderKeyFields();
  const TDataValueVersionZk Version = MemRec->UpdateStatus() == usModified ? dvvOldValueZk : dvvValueZk;
  if (!Provider->Locate(Keys, MemRec->GetDataValues(Keys, Version), {})) throw Exception(KeyNotFoundText);
  for (int I = 0; I < MemRec->DataStruct()->Count(); ++I)
    AssignFieldValue(MemRec->RecordsList()->MemTableData(), MemRec, I, dvvRefreshValue, Provider);
}

// ===== master parameters =========================================================================

bool TDataDriverZk::RefreshReaderParamsFromCursor(TDataSet* DataSet) {
  TParams* Params = ProviderParams();
  if (!Params) return false;
  for (int I = 0; I < Params->Count(); ++I) {
    TParam* P = Params->Items(I);
    if (TField* F = DataSet->FindField(P->Name()))
      if (!VarSameValue(F->AsVariant(), P->Value())) return true;
  }
  return false;
}

void TDataDriverZk::SetReaderParamsFromCursor(TDataSet* DataSet) {
  TParams* Params = ProviderParams();
  if (!Params) return;
  for (int I = 0; I < Params->Count(); ++I) {
    TParam* P = Params->Items(I);
    if (P->Bound()) continue;
    TField* F = DataSet->FieldByName(P->Name());
    P->SetDataType(F->DataType());
    P->SetValue(F->AsVariant());
    P->SetBound(false);
  }
}

REGISTER_CLASS(TDataDriverZk) {}

REGISTER_CLASS(TDataSetDriverZk) {
  Class.Property("KeyFields", &TDataSetDriverZk::KeyFields, &TDataSetDriverZk::SetKeyFields)
      .Property("ProviderDataSet", &TDataSetDriverZk::ProviderDataSet, &TDataSetDriverZk::SetProviderDataSet)
      .Property("ResolveToDataSet", &TDataSetDriverZk::ResolveToDataSet, &TDataSetDriverZk::SetResolveToDataSet,
                true);
}

void RegisterDataDriverClasses() { RegisterClasses({TDataSetDriverZk::ClassInfo()}); }
