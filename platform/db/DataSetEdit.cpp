// DataSetEdit.cpp - TDataSet's editing sequences: Insert, Append, Edit, Post, Cancel, Delete,
// CheckBrowseMode, UpdateRecord and the error-event protocol (daFail, daAbort, daRetry).
#include "platform/db/DataSet.h"

#include "platform/db/DataSource.h"

namespace {
bool IsEditing(TDataSetState State) { return State == dsEdit || State == dsInsert; }
}  // namespace

void TDataSet::CheckCanModify() const {
  if (!CanModify()) DatabaseError(DBText::DataSetReadOnly, this);
}

void TDataSet::CheckOperation(const std::function<void()>& Operation,
                              const TDataSetErrorEvent& Event) {
  for (;;) {
    try {
      UpdateCursorPos();
      Operation();
      return;
    } catch (EDatabaseError& E) {
      TDataAction Action = daFail;
      if (Event) Event(this, E, Action);
      if (Action == daFail) throw;
      if (Action == daAbort) Abort();
    }
  }
}

void TDataSet::CheckRequiredFields() {
  for (TField* Field : *FFields) {
    if (Field->Required() && !Field->ReadOnly() && Field->FieldKind() == fkData &&
        Field->AutoGenerateValue() != arAutoInc && Field->IsNull()) {
      Field->FocusControl();
      DatabaseError(FieldRequiredText(Field->DisplayName()), this);
    }
  }
}

void TDataSet::InternalPost() { CheckRequiredFields(); }

void TDataSet::InitRecord(TRecordBuffer Buffer) {
  InternalInitRecord(Buffer);
  ClearCalcFields(Buffer);
  SetBookmarkFlag(Buffer, bfInserted);
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  CheckCanModify();
  DoBeforeInsert();
  DoBeforeScroll();
}

void TDataSet::EndInsertAppend() {
  SetState(dsInsert);
  try {
    DoOnNewRecord();
  } catch (...) {
    UpdateCursorPos();
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync({});
    throw;
  }
  FModified = false;
  DataEvent(deDataSetChange, 0);
  DoAfterInsert();
  DoAfterScroll();
}

void TDataSet::Insert() {
  BeginInsertAppend();
  TBookmark OldCurrent = GetBookmark();
  MoveBuffer(FRecordCount, FActiveRecord);
  TRecordBuffer Buffer = ActiveBuffer();
  InitRecord(Buffer);
  if (FRecordCount == 0) {
    SetBookmarkFlag(Buffer, bfBOF);
  } else if (!OldCurrent.empty()) {
    SetBookmarkData(Buffer, OldCurrent);
  }
  if (FRecordCount < FBufferCount) ++FRecordCount;
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  ClearBuffers();
  TRecordBuffer Buffer = FBuffers[0];
  InitRecord(Buffer);
  SetBookmarkFlag(Buffer, bfEOF);
  FRecordCount = 1;
  FBOF = false;
  GetPriorRecords();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Edit() {
  if (IsEditing(FState)) return;
  if (FRecordCount == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModify();
  DoBeforeEdit();
  CheckOperation([this] { InternalEdit(); }, FOnEditError);
  GetCalcFields(ActiveBuffer());
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  DoAfterEdit();
}

void TDataSet::Post() {
  UpdateRecord();
  if (!IsEditing(FState)) return;
  DataEvent(deCheckBrowseMode, 0);
  DoBeforePost();
  CheckOperation([this] { InternalPost(); }, FOnPostError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  DoAfterPost();
}

void TDataSet::Cancel() {
  if (!IsEditing(FState)) return;
  DataEvent(deCheckBrowseMode, 0);
  DoBeforeCancel();
  bool DoScrollEvents = FState == dsInsert;
  if (DoScrollEvents) DoBeforeScroll();
  UpdateCursorPos();
  InternalCancel();
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  DoAfterCancel();
  if (DoScrollEvents) DoAfterScroll();
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == dsInsert || FState == dsSetKey) {
    Cancel();
    return;
  }
  if (FRecordCount == 0) DatabaseError(DBText::DataSetEmpty, this);
  DataEvent(deCheckBrowseMode, 0);
  DoBeforeDelete();
  DoBeforeScroll();
  CheckOperation([this] { InternalDelete(); }, FOnDeleteError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  DoAfterDelete();
  DoAfterScroll();
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  switch (FState) {
    case dsEdit:
    case dsInsert:
      UpdateRecord();
      if (FModified) {
        Post();
      } else {
        Cancel();
      }
      break;
    case dsSetKey:
      Post();
      break;
    default:
      break;
  }
}

void TDataSet::UpdateRecord() {
  if (!IsEditing(FState) && FState != dsSetKey) DatabaseError(DBText::NotEditing, this);
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::ClearFields() {
  if (!IsEditing(FState)) DatabaseError(DBText::NotEditing, this);
  DataEvent(deCheckBrowseMode, 0);
  InternalInitRecord(ActiveBuffer());
  if (FState != dsSetKey) GetCalcFields(ActiveBuffer());
  DataEvent(deRecordChange, 0);
}

void TDataSet::InsertRecordValues(const std::vector<Variant>& Values, bool Append) {
  BeginInsertAppend();
  if (!Append) UpdateCursorPos();
  DisableControls();
  try {
    MoveBuffer(FRecordCount, FActiveRecord);
    TRecordBuffer Buffer = ActiveBuffer();
    InitRecord(Buffer);
    TDataSetState Saved = SetTempState(dsInsert);
    try {
      for (std::size_t I = 0; I < Values.size() && I < static_cast<std::size_t>(FieldCount());
           ++I) {
        TField* Field = FFields->Fields(static_cast<int>(I));
        if (!Values[I].IsEmpty() && Field->FieldKind() == fkData) Field->SetAsVariant(Values[I]);
      }
    } catch (...) {
      RestoreState(Saved);
      throw;
    }
    RestoreState(Saved);
    InternalAddRecord(Buffer, Append);
  } catch (...) {
    EnableControls();
    Resync({});
    throw;
  }
  EnableControls();
  Resync({});
  DoAfterPost();
}
