// MemTableZkEdit.cpp - the memory table's editing: posting, inserting, deleting, cancelling,
// cached updates and their application, reading records from the data driver, and copying
// records from and to other datasets.
#include "gridlib/memtable/MemTableZk.h"

#include <limits>

#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/MemTableZk_p.h"

namespace {

// Runs Body inside the table's deferred-resync bracket; the bracket closes without a resync,
// as the framework resyncs after the operation.
template <class TBody>
void InBracket(TCustomMemTableZk* Table, TBody&& Body) {
  Table->LockViewResync();
  try {
    Body();
  } catch (...) {
    Table->UnlockViewResync(false);
    throw;
  }
  Table->UnlockViewResync(false);
}

}  // namespace

bool TCustomMemTableZk::CachedUpdates() const { return FRecordsView->CachedUpdates(); }

void TCustomMemTableZk::SetCachedUpdates(bool Value) { FRecordsView->SetCachedUpdates(Value); }

void TCustomMemTableZk::StoreBufferInRecord(TRecordBuffer Buffer, TMemoryRecordZk* Rec) {
  if (State() == dsFilter) DatabaseError(DBText::NotEditing, this);
  const TRecBuf& B = RecBufOf(Buffer);
  for (int I = 0; I < FieldCount(); ++I) {
    TField* F = Fields()->Fields(I);
    if (F->FieldNo() > 0) Rec->SetDataValue(F->FieldNo() - 1, dvvValueZk, B.GetValue(F));
  }
}

void TCustomMemTableZk::InternalInsert() {
  if (RecBufOf(ActiveBuffer()).BookmarkFlag == bfEOF) FInstantReadCurRowNum = ViewCount();
}

void TCustomMemTableZk::InternalAddRecord(TRecordBuffer Buffer, bool Append) {
  InBracket(this, [&] {
    TMemoryRecordZk* Rec = FRecordsView->NewRecord();
    try {
      StoreBufferInRecord(Buffer, Rec);
      if (Append)
        FRecordsView->AddRecord(Rec);
      else
        FRecordsView->InsertRecord(FRecordPos < 0 ? 0 : FRecordPos, Rec);
    } catch (...) {
      // The list refused it (or the driver failed before it was attached): still ours.
      if (!Rec->Attached()) Rec->Cancel();
      if (!CachedUpdates() && ViewData()->RecordsList()->HasCachedChanges()) FRecordsView->CancelUpdates();
      throw;
    }
    FRecordPos = FRecordsView->IndexOf(Rec);
  });
}

// Required data fields are checked by the framework's InternalPost before anything is stored.
void TCustomMemTableZk::InternalPost() {
  TDataSet::InternalPost();
  UpdateCursorPos();
  if (State() == dsEdit) {
    InBracket(this, [&] {
      TMemoryRecordZk* Rec = ViewRecord(FRecordPos);
      Rec->Edit();
      try {
        StoreBufferInRecord(ActiveBuffer(), Rec);
        Rec->Post();
      } catch (...) {
        if (Rec->EditState() == resEditZk) Rec->Cancel();
        throw;
      }
      FRecordPos = FRecordsView->IndexOf(Rec);
    });
  } else {
    InternalAddRecord(ActiveBuffer(), Eof());
  }
}

void TCustomMemTableZk::InternalCancel() {
  if (State() == dsEdit && FRecordPos >= 0 && FRecordPos < ViewCount()) {
    TMemoryRecordZk* Rec = ViewRecord(FRecordPos);
    if (Rec->EditState() == resEditZk) Rec->Cancel();
  }
  if (!CachedUpdates() && ViewData()->RecordsList()->HasCachedChanges()) FRecordsView->CancelUpdates();
}

void TCustomMemTableZk::InternalDelete() {
  InBracket(this, [&] {
    try {
      FRecordsView->DeleteRecord(FRecordPos);
    } catch (...) {
      if (!CachedUpdates() && ViewData()->RecordsList()->HasCachedChanges()) FRecordsView->CancelUpdates();
      throw;
    }
    if (FRecordPos >= ViewCount()) --FRecordPos;
  });
}

void TCustomMemTableZk::DoOnNewRecord() {
  for (int I = 0; I < FieldCount(); ++I) {
    TField* F = Fields()->Fields(I);
    if (!F->DefaultExpression().empty() && F->CanModify()) F->SetAsString(F->DefaultExpression());
  }
  if (FDetailMode && !FDetailFieldList.empty()) {
    const Variant Values = MasterValues();
    for (std::size_t I = 0; I < FDetailFieldList.size(); ++I) {
      if (FDetailFieldList.size() == 1)
        FDetailFieldList[I]->SetAsVariant(Values);
      else if (Values.IsArray() && static_cast<int>(I) < Values.ArrayLength())
        FDetailFieldList[I]->SetAsVariant(Values[Values.ArrayLowBound() + static_cast<int>(I)]);
    }
  }
  TDataSet::DoOnNewRecord();
}

// ===== cached updates ============================================================================

int TCustomMemTableZk::ApplyDataChanges(TMemTableDataZk* Data, int MaxErrors) {
  (void)MaxErrors;
  if (FDataDriver) return FDataDriver->ApplyUpdates(Data);
  if (Data == ViewData()) FRecordsView->MergeChangeLog();
  return 0;
}

int TCustomMemTableZk::ApplyUpdates(int MaxErrors) {
  CheckActive();
  int Result = 0;
  try {
    Result = ApplyDataChanges(ViewData(), MaxErrors);
  } catch (...) {
    UpdateCursorPos();
    Resync({});
    throw;
  }
  UpdateCursorPos();
  Resync({});
  return Result;
}

void TCustomMemTableZk::MergeChangeLog() { FRecordsView->MergeChangeLog(); }

void TCustomMemTableZk::CancelUpdates() {
  FRecordsView->CancelUpdates();
  if (Active()) Resync({});
}

void TCustomMemTableZk::RevertRecord() {
  Cancel();
  CheckBrowseMode();
  UpdateCursorPos();
  if (ViewCount() == 0) throw Exception(MemTableText::NoRecords);
  if (!FRecordsView->ViewAsTreeList()) FRecordsView->RevertRecord(RecNo() - 1);
  Resync({});
}

void TCustomMemTableZk::RefreshRecord() {
  CheckActive();
  UpdateCursorPos();
  if (FDataDriver && ViewCount() > 0 && FRecordPos >= 0 && FRecordPos < ViewCount()) {
    FDataDriver->RefreshRecord(ViewRecord(FRecordPos));
    Resync({});
  }
}

TUpdateStatus TCustomMemTableZk::UpdateStatus() const {
  CheckActive();
  const int No = RecNo();
  return No < 1 ? usUnmodified : ViewRecord(No - 1)->UpdateStatus();
}

TUpdateErrorZk* TCustomMemTableZk::UpdateError() const {
  CheckActive();
  TRecBuf* B = nullptr;
  if (!StateRecBuf(B, false) || B->RecordNumber < 0 || B->RecordNumber >= ViewCount()) return nullptr;
  return ViewRecord(B->RecordNumber)->UpdateError();
}

TUpdateStatusSet TCustomMemTableZk::StatusFilter() const { return FRecordsView->StatusFilter(); }

void TCustomMemTableZk::SetStatusFilter(TUpdateStatusSet Value) {
  if (Active()) CheckBrowseMode();
  FRecordsView->SetStatusFilter(Value);
  if (Active()) First();
}

// ===== fetching ==================================================================================

int TCustomMemTableZk::FetchRecords(int Count) {
  if (!Active()) return 0;
  int Result = 0;
  LockViewResync();
  try {
    Result = ViewData()->FetchRecords(Count);
  } catch (...) {
    UnlockViewResync(true);
    throw;
  }
  UnlockViewResync(true);
  return Result;
}

int TCustomMemTableZk::FetchFromDriver(int Count) {
  if (!FDataDriver || !FActive) return 0;
  const int Target = ViewCount() + Count;
  int Result = FDataDriver->ReadData(ViewData(), Count);
  while (Count > 0 && ViewCount() < Target && !FDataDriver->ProviderEOF())
    Result += FDataDriver->ReadData(ViewData(), 1);
  return Result;
}

// ===== copying ===================================================================================

int TCustomMemTableZk::LoadFromDataSet(TDataSet* Source, int RecordCount, bool UseCachedUpdates) {
  if (!Source || Source == this) return 0;
  int Copied = 0;
  const bool SourceWasActive = Source->Active();
  Source->DisableControls();
  DisableControls();
  LockViewResync();
  try {
    Source->Open();
    Source->CheckBrowseMode();
    Source->UpdateCursorPos();
    if (!Active()) Open();
    CheckBrowseMode();
    if (RecordCount <= 0) {
      Source->First();
      RecordCount = std::numeric_limits<int>::max();
    }
    const bool Logged = UseCachedUpdates && CachedUpdates();
    TRecordsListZk* List = ViewData()->RecordsList();
    TRecordValuesBuilderZk Builder(List);
    while (!Source->Eof()) {
      if (Logged) {
        Append();
        for (int I = 0; I < FieldCount(); ++I) {
          TField* F = Fields()->Fields(I);
          if (F->FieldNo() <= 0) continue;
          if (TField* From = Source->FindField(F->FieldName())) F->SetAsVariant(From->AsVariant());
        }
        Post();
      } else {
        for (int I = 0; I < FieldCount(); ++I) {
          TField* F = Fields()->Fields(I);
          if (F->FieldNo() <= 0) continue;
          if (TField* From = Source->FindField(F->FieldName()))
            Builder.SetValue(F->FieldNo() - 1, From->AsVariant());
        }
        TMemoryRecordZk* Rec = Builder.NewRecord();
        try {
          List->FetchRecord(Rec);
        } catch (...) {
          if (!Rec->Attached()) delete Rec;
          throw;
        }
      }
      if (++Copied >= RecordCount) break;
      Source->Next();
    }
  } catch (...) {
    UnlockViewResync(false);
    EnableControls();
    Source->EnableControls();
    throw;
  }
  UnlockViewResync(false);
  First();
  EnableControls();
  Source->EnableControls();
  if (!SourceWasActive) Source->Close();
  return Copied;
}

// A destination field the table lacks is left alone (the copy goes by the table's names).
int TCustomMemTableZk::SaveToDataSet(TDataSet* Dest, int RecordCount) {
  if (!Dest || Dest == this) return 0;
  CheckBrowseMode();
  UpdateCursorPos();
  int Copied = 0;
  Dest->DisableControls();
  DisableControls();
  try {
    if (Dest->Active())
      Dest->CheckBrowseMode();
    else
      Dest->Open();
    if (RecordCount <= 0) {
      First();
      RecordCount = std::numeric_limits<int>::max();
    }
    while (!Eof() && Copied < RecordCount) {
      Dest->Append();
      for (int I = 0; I < Dest->FieldCount(); ++I) {
        TField* To = Dest->Fields()->Fields(I);
        if (To->FieldNo() <= 0) continue;
        if (TField* From = FindField(To->FieldName())) To->SetAsVariant(From->AsVariant());
      }
      Dest->Post();
      ++Copied;
      Next();
    }
    Dest->First();
  } catch (...) {
    EnableControls();
    Dest->EnableControls();
    throw;
  }
  EnableControls();
  Dest->EnableControls();
  return Copied;
}
