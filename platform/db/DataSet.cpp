// DataSet.cpp - TDataSet: life cycle (open, close), fields and their binding, states, data
// events and disabled controls, calculated fields and the event hooks. The buffer window is in
// DataSetBuffers.cpp, navigation in DataSetNavigate.cpp, editing in DataSetEdit.cpp, searching
// in DataSetSearch.cpp.
#include "platform/db/DataSet.h"

#include <algorithm>

#include "platform/db/BlobStream.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/IndexDefs.h"

REGISTER_CLASS(TDataSet) {}

TDataSet::TDataSet(TComponent* AOwner)
    : TComponent(AOwner),
      FFields(std::make_unique<TFields>(this)),
      FAggFields(std::make_unique<TFields>(this)),
      FFieldDefs(std::make_unique<TFieldDefs>(this)) {}

unsigned TDataSet::NewDataVersion() {
  static unsigned Last = 0;
  return ++Last;
}

bool TDataSet::GetFieldColumn(TField*, std::vector<Variant>&) const { return false; }

TDataSet::~TDataSet() {
  // A descendant closes in its own destructor (its InternalClose is gone by now); closing
  // here only covers what the base still holds.
  Destroying();
  while (!FDataSources.empty()) FDataSources.back()->SetDataSet(nullptr);
  DestroyFields();
  for (TField* Field : std::vector<TField*>(FFields->begin(), FFields->end()))
    Field->FDataSet = nullptr;
  for (TField* Field : std::vector<TField*>(FAggFields->begin(), FAggFields->end()))
    Field->FDataSet = nullptr;
  DestroyComponents();
}

// ===== opening and closing =====================================================================

bool TDataSet::Active() const { return FState != dsInactive && FState != dsOpening; }

void TDataSet::SetActive(bool Value) {
  if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) {
    FStreamedActive = Value;
    return;
  }
  if (Active() == Value) return;
  SetActiveValue(Value);
}

// Opening follows the class library: OpenCursor runs DoInternalOpen (unless an asynchronous
// open left the dataset in dsOpening), then OpenCursorComplete makes the dataset browse, or
// closes what was opened when the open failed.
void TDataSet::SetActiveValue(bool Value) {
  if (Value) {
    DoBeforeOpen();
    FEnableEvent = deLayoutChange;
    FInternalOpenComplete = false;
    try {
      OpenCursor(false);
    } catch (...) {
      if (FState != dsOpening) CloseFailedOpen();
      throw;
    }
    if (FState != dsOpening) OpenCursorComplete();
    return;
  }
  // Closing drops a pending edit or insert without posting it.
  DoBeforeClose();
  SetState(dsInactive);
  CloseCursor();
  DoAfterClose();
}

void TDataSet::OpenCursor(bool InfoQuery) {
  if (InfoQuery)
    InternalInitFieldDefs();
  else if (FState != dsOpening)
    DoInternalOpen();
}

void TDataSet::OpenCursorComplete() {
  try {
    if (FState == dsOpening) DoInternalOpen();
  } catch (...) {
    CloseFailedOpen();
    throw;
  }
  if (!FInternalOpenComplete) {
    CloseFailedOpen();
    return;
  }
  SetState(dsBrowse);
  DoAfterOpen();
  if (!IsEmpty()) DoAfterScroll();
}

void TDataSet::CloseFailedOpen() {
  SetState(dsInactive);
  FState = dsInactive;
  CloseCursor();
}

void TDataSet::DoInternalOpen() {
  FDefaultFields = FFields->Count() == 0;
  InternalOpen();
  FInternalOpenComplete = true;
  // Records read into the window while the cursor was opening (fields not yet bound) are
  // dropped, and a window sized before the cursor could be read is filled: either way the
  // first record is current once the dataset is open.
  if (FRecordCount > 0) {
    ClearBuffers();
    InternalFirst();
  }
  UpdateBufferCount();
  if (FRecordCount == 0 && FBufferCount > 0 && IsCursorOpen()) GetNextRecords();
  FBOF = true;
}

void TDataSet::CloseCursor() {
  FreeFieldBuffers();
  ClearBuffers();
  SetBufListSize(0);
  if (FInternalOpenComplete || IsCursorOpen()) InternalClose();
  FInternalOpenComplete = false;
  FBufferCount = 0;
  FDefaultFields = false;
}

void TDataSet::InitFieldDefs() {
  if (IsCursorOpen()) {
    InternalInitFieldDefs();
    return;
  }
  OpenCursor(true);
}

void TDataSet::CheckActive() const {
  if (!Active()) DatabaseError(DBText::DataSetClosed, this);
}

void TDataSet::CheckInactive() const {
  if (Active()) DatabaseError(DBText::DataSetOpen, this);
}

bool TDataSet::IsEmpty() const {
  return FActiveRecord >= FRecordCount;
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (FStreamedActive) {
    FStreamedActive = false;
    SetActive(true);
  }
}

void TDataSet::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  for (TField* Field : *FFields)
    if (Field->LookupDataSet() == AComponent) Field->SetLookupDataSet(nullptr);
}

void TDataSet::InternalHandleException() { throw; }

void TDataSet::DefChanged(TObject* Sender) { (void)Sender; }

TIndexDefs* TDataSet::IndexDefs() {
  if (!FIndexDefs) FIndexDefs = std::make_unique<TIndexDefs>(this);
  return FIndexDefs.get();
}

// ===== fields ==================================================================================

TFieldClass TDataSet::GetFieldClass(TFieldType FieldType) const {
  return DefaultFieldClass(FieldType);
}

void TDataSet::CreateFields() {
  for (int I = 0; I < FFieldDefs->Count(); ++I) {
    TFieldDef* Def = FFieldDefs->Items(I);
    if (Def->DataType() == ftUnknown) continue;
    if (Def->Attributes().Contains(faHiddenCol) && !FFieldDefs->HiddenFields()) continue;
    Def->CreateField(this);
  }
}

void TDataSet::DestroyFields() {
  // Default fields belong to the dataset; persistent fields to their owner.
  std::vector<TField*> Own;
  for (TField* Field : *FFields)
    if (Field->Owner() == this) Own.push_back(Field);
  for (TField* Field : Own) delete Field;
}

void TDataSet::BindFields(bool Binding) {
  FCalcFieldsSize = 0;
  FInternalCalcFields = false;
  for (TField* Field : *FFields) {
    if (!Binding) {
      Field->Bind(0, 0);
      continue;
    }
    switch (Field->FieldKind()) {
      case fkCalculated:
      case fkLookup:
        Field->Bind(-1, FCalcFieldsSize);
        FCalcFieldsSize += std::max(Field->DataSize(), 1);
        break;
      case fkAggregate:
        Field->Bind(-1, 0);
        break;
      case fkData:
      case fkInternalCalc: {
        if (Field->FieldKind() == fkInternalCalc) FInternalCalcFields = true;
        int Index = FFieldDefs->IndexOf(Field->FieldName());
        if (Index < 0) {
          if (Field->FieldKind() == fkInternalCalc) {
            Field->Bind(-1, 0);
            break;
          }
          DatabaseError(FieldNotFoundText(Field->FieldName()), this);
        }
        TFieldDef* Def = FFieldDefs->Items(Index);
        Field->Bind(Def->FieldNo(), 0);
        break;
      }
    }
  }
}

void TDataSet::AddField(TField* Field) {
  TFields* List = Field->FieldKind() == fkAggregate ? FAggFields.get() : FFields.get();
  if (List->FindField(Field->FieldName()) && !Field->FieldName().empty())
    DatabaseError(DuplicateFieldText(Field->FieldName()), this);
  List->Add(Field);
  if (!ComponentState().Contains(csDestroying)) DataEvent(deFieldListChange, 0);
}

void TDataSet::RemoveField(TField* Field) {
  FFields->Remove(Field);
  FAggFields->Remove(Field);
  if (!ComponentState().Contains(csDestroying)) DataEvent(deFieldListChange, 0);
}

TField* TDataSet::FindField(const String& FieldName) const {
  if (TField* Field = FFields->FindField(FieldName)) return Field;
  return FAggFields->FindField(FieldName);
}

TField* TDataSet::FieldByName(const String& FieldName) const {
  TField* Field = FindField(FieldName);
  if (!Field) DatabaseError(FieldNotFoundText(FieldName), this);
  return Field;
}

void TDataSet::GetFieldList(std::vector<TField*>& List, const String& FieldNames) const {
  std::size_t Pos = 0;
  while (Pos < FieldNames.size()) {
    String Name = ExtractFieldName(FieldNames, Pos);
    if (!Name.empty()) List.push_back(FieldByName(Name));
  }
}

void TDataSet::GetFieldNames(std::vector<String>& List) const {
  if (FFields->Count() > 0) {
    for (TField* Field : *FFields) List.push_back(Field->FieldName());
    return;
  }
  const_cast<TDataSet*>(this)->FFieldDefs->Update();
  for (int I = 0; I < FFieldDefs->Count(); ++I) List.push_back(FFieldDefs->Items(I)->Name());
}

bool TDataSet::GetFieldData(TField* Field, Variant* Value) const {
  (void)Field;
  (void)Value;
  return false;
}

bool TDataSet::GetFieldData(int FieldNo, Variant* Value) const {
  TField* Field = FieldByNumber(FieldNo);
  return Field && GetFieldData(Field, Value);
}

void TDataSet::SetFieldData(TField* Field, const Variant* Value) {
  (void)Field;
  (void)Value;
  DatabaseError(DBText::NotEditing, this);
}

TStream* TDataSet::CreateBlobStream(TField* Field, TBlobStreamMode Mode) {
  return new TBlobStream(Field, Mode);
}

Variant TDataSet::GetAggregateValue(TField* Field) const {
  (void)Field;
  return Variant::MakeNull();
}

// ===== states and data events ==================================================================

void TDataSet::SetState(TDataSetState Value) {
  if (FState == Value) return;
  FState = Value;
  FModified = false;
  DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState Value) {
  TDataSetState Old = FState;
  FState = Value;
  ++FDisableCount;
  return Old;
}

void TDataSet::RestoreState(TDataSetState Value) {
  FState = Value;
  --FDisableCount;
}

void TDataSet::DataEvent(TDataEvent Event, std::intptr_t Info) {
  switch (Event) {
    case deFieldChange: {
      TField* Field = reinterpret_cast<TField*>(Info);
      if (Field->FieldKind() == fkData || Field->FieldKind() == fkInternalCalc)
        FModified = true;
      if (FState != dsSetKey && FState != dsFilter) {
        if (FAutoCalcFields && FCalcFieldsSize > 0 && Field->FieldKind() == fkData)
          CalculateFields(ActiveBuffer());
        Field->Change();
      }
      break;
    }
    case dePropertyChange:
      FFieldDefs->SetUpdated(false);
      break;
    default:
      break;
  }
  if (!ControlsDisabled() && FState != dsBlockRead) {
    NotifySources(Event, Info);
  } else if ((Event == deUpdateState && FState == dsInactive) || Event == deLayoutChange) {
    FEnableEvent = deLayoutChange;
  }
}

void TDataSet::NotifySources(TDataEvent Event, std::intptr_t Info) {
  // A source may detach itself while handling the event: walk a copy.
  std::vector<TDataSource*> Sources = FDataSources;
  for (TDataSource* Source : Sources)
    if (std::find(FDataSources.begin(), FDataSources.end(), Source) != FDataSources.end())
      Source->DataEvent(Event, Info);
}

void TDataSet::DisableControls() {
  if (FDisableCount == 0) {
    FDisableState = FState;
    FEnableEvent = deDataSetChange;
    NotifySources(deDisabledStateChange, 0);
  }
  ++FDisableCount;
}

void TDataSet::EnableControls() {
  if (FDisableCount == 0) return;
  if (--FDisableCount != 0) return;
  NotifySources(deDisabledStateChange, 1);
  if (FDisableState != FState) DataEvent(deUpdateState, 0);
  if (FDisableState != dsInactive && FState != dsInactive) DataEvent(FEnableEvent, 0);
}

void TDataSet::AddDataSource(TDataSource* Source) {
  FDataSources.push_back(Source);
  UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* Source) {
  FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), Source),
                     FDataSources.end());
  // While the dataset is destroyed its cursor virtuals are gone: nothing to resize.
  if (!ComponentState().Contains(csDestroying)) UpdateBufferCount();
}

bool TDataSet::IsLinkedTo(TDataSource* DataSource) const {
  // Follows the master chain: a dataset is linked to a source whose dataset is its detail.
  for (TDataSet* Set = DataSource ? DataSource->DataSet() : nullptr; Set;) {
    if (Set == this) return true;
    TDataSource* Master = Set->GetDataSource();
    Set = Master ? Master->DataSet() : nullptr;
  }
  return false;
}

// ===== calculated and lookup fields ============================================================

void TDataSet::ClearCalcFields(TRecordBuffer Buffer) { (void)Buffer; }

void TDataSet::GetCalcFields(TRecordBuffer Buffer) {
  if (FCalcFieldsSize <= 0 && !FInternalCalcFields) return;
  TDataSetState Saved = FState;
  FState = dsCalcFields;
  try {
    CalculateFields(Buffer);
  } catch (...) {
    FState = Saved;
    throw;
  }
  FState = Saved;
}

void TDataSet::CalculateFields(TRecordBuffer Buffer) {
  TRecordBuffer SavedCalc = FCalcBuffer;
  TDataSetState SavedState = FState;
  FCalcBuffer = Buffer;
  FState = dsCalcFields;
  try {
    if (SavedState != dsInternalCalc) {
      ClearCalcFields(Buffer);
      for (TField* Field : *FFields)
        if (Field->FieldKind() == fkLookup) Field->CalcLookupValue();
    }
    DoOnCalcFields();
  } catch (...) {
    FState = SavedState;
    FCalcBuffer = SavedCalc;
    throw;
  }
  FState = SavedState;
  FCalcBuffer = SavedCalc;
}

// ===== filtering hooks =========================================================================

void TDataSet::SetFiltered(bool Value) { FFiltered = Value; }
void TDataSet::SetFilterText(const String& Value) { FFilterText = Value; }
void TDataSet::SetFilterOptions(TFilterOptions Value) { FFilterOptions = Value; }
void TDataSet::SetOnFilterRecord(TFilterRecordEvent Value) { FOnFilterRecord = std::move(Value); }

// ===== event hooks =============================================================================

namespace {
void Fire(const TDataSetNotifyEvent& Event, TDataSet* DataSet) {
  if (Event) Event(DataSet);
}
}  // namespace

void TDataSet::DoBeforeOpen() { Fire(FBeforeOpen, this); }
void TDataSet::DoAfterOpen() { Fire(FAfterOpen, this); }
void TDataSet::DoBeforeClose() { Fire(FBeforeClose, this); }
void TDataSet::DoAfterClose() { Fire(FAfterClose, this); }
void TDataSet::DoBeforeInsert() { Fire(FBeforeInsert, this); }
void TDataSet::DoAfterInsert() { Fire(FAfterInsert, this); }
void TDataSet::DoBeforeEdit() { Fire(FBeforeEdit, this); }
void TDataSet::DoAfterEdit() { Fire(FAfterEdit, this); }
void TDataSet::DoBeforePost() { Fire(FBeforePost, this); }
void TDataSet::DoAfterPost() { Fire(FAfterPost, this); }
void TDataSet::DoBeforeCancel() { Fire(FBeforeCancel, this); }
void TDataSet::DoAfterCancel() { Fire(FAfterCancel, this); }
void TDataSet::DoBeforeDelete() { Fire(FBeforeDelete, this); }
void TDataSet::DoAfterDelete() { Fire(FAfterDelete, this); }
void TDataSet::DoBeforeScroll() { Fire(FBeforeScroll, this); }
void TDataSet::DoAfterScroll() { Fire(FAfterScroll, this); }
void TDataSet::DoBeforeRefresh() { Fire(FBeforeRefresh, this); }
void TDataSet::DoAfterRefresh() { Fire(FAfterRefresh, this); }
void TDataSet::DoOnCalcFields() { Fire(FOnCalcFields, this); }
void TDataSet::DoOnNewRecord() { Fire(FOnNewRecord, this); }
