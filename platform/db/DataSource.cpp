// DataSource.cpp - TDataSource (state, enabling, event fan-out) and TDataLink (state, the
// link's buffer window, the dispatch of data events to its virtual methods).
#include "platform/db/DataSource.h"

#include <algorithm>

#include "platform/db/DataSet.h"

// The type-registry record of TDataSource is in DBRegister.cpp.

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  Destroying();
  SetDataSet(nullptr);
  for (TDataLink* Link : std::vector<TDataLink*>(FDataLinks)) Link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (Value && Value->IsLinkedTo(this)) DatabaseError(DBText::CircularDataLink, this);
  if (FDataSet) {
    FDataSet->RemoveFreeNotification(this);
    FDataSet->RemoveDataSource(this);
    NotifyDataLinks(deDisconnect, 0);
    // The links leave the old dataset before they meet the new one, even when both are open:
    // they drop its fields and take the new ones as a fresh activation.
    FDataSet = nullptr;
    UpdateState();
  }
  FDataSet = Value;
  if (FDataSet) {
    FDataSet->FreeNotification(this);
    FDataSet->AddDataSource(this);
  }
  UpdateState();
}

void TDataSource::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  NotifyDataLinks(deDisabledStateChange, Value ? 1 : 0);
  UpdateState();
}

void TDataSource::Edit() {
  if (FAutoEdit && FState == dsBrowse && FDataSet) FDataSet->Edit();
}

bool TDataSource::IsLinkedTo(TDataSet* DataSet) const {
  return DataSet && DataSet->IsLinkedTo(const_cast<TDataSource*>(this));
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataSet) SetDataSet(nullptr);
}

void TDataSource::AddDataLink(TDataLink* Link) {
  FDataLinks.push_back(Link);
  if (FDataSet) FDataSet->UpdateBufferCount();
}

void TDataSource::RemoveDataLink(TDataLink* Link) {
  FDataLinks.erase(std::remove(FDataLinks.begin(), FDataLinks.end(), Link), FDataLinks.end());
  if (FDataSet && !FDataSet->ComponentState().Contains(csDestroying)) FDataSet->UpdateBufferCount();
}

void TDataSource::DataEvent(TDataEvent Event, std::intptr_t Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (!FEnabled && Event != deDisabledStateChange) return;
  NotifyDataLinks(Event, Info);
  switch (Event) {
    case deFieldChange:
      if (FOnDataChange) FOnDataChange(this, reinterpret_cast<TField*>(Info));
      break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      if (FOnDataChange) FOnDataChange(this, nullptr);
      break;
    case deUpdateRecord:
      if (FOnUpdateData) FOnUpdateData(this);
      break;
    default:
      break;
  }
}

void TDataSource::NotifyDataLinks(TDataEvent Event, std::intptr_t Info) {
  // Links with a window of several rows (grids) go first, so that single-row controls see
  // the dataset after the grids have followed it. Walk copies: a link may detach itself.
  std::vector<TDataLink*> Links = FDataLinks;
  auto Still = [this](TDataLink* Link) {
    return std::find(FDataLinks.begin(), FDataLinks.end(), Link) != FDataLinks.end();
  };
  for (TDataLink* Link : Links)
    if (Link->BufferCount() > 1 && Still(Link)) Link->DataEvent(Event, Info);
  for (TDataLink* Link : Links)
    if (Link->BufferCount() <= 1 && Still(Link)) Link->DataEvent(Event, Info);
}

void TDataSource::SetState(TDataSetState Value) {
  if (FState == Value) return;
  TDataSetState Prior = FState;
  FState = Value;
  NotifyDataLinks(deUpdateState, 0);
  if (ComponentState().Contains(csDestroying)) return;
  if (FOnStateChange) FOnStateChange(this);
  if (Prior == dsInactive) {
    NotifyDataLinks(deLayoutChange, 0);
    NotifyDataLinks(deDataSetChange, 0);
    if (FOnDataChange) FOnDataChange(this, nullptr);
  }
}

void TDataSource::UpdateState() {
  SetState(FEnabled && FDataSet ? FDataSet->State() : dsInactive);
}

// ===== TDataLink ===============================================================================

TDataLink::TDataLink() = default;

TDataLink::~TDataLink() {
  if (FDataSource) FDataSource->RemoveDataLink(this);
  FDataSource = nullptr;
}

void TDataLink::SetDataSource(TDataSource* Value) {
  if (Value == FDataSource) return;
  if (Value && GetDetailDataSet() && Value->IsLinkedTo(GetDetailDataSet()))
    DatabaseError(DBText::CircularDataLink);
  if (FDataSource) FDataSource->RemoveDataLink(this);
  FDataSource = Value;
  if (FDataSource) FDataSource->AddDataLink(this);
  UpdateState();
}

TDataSet* TDataLink::DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }

void TDataLink::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  UpdateState();
}

void TDataLink::UpdateState() {
  SetActive(FDataSource && FDataSource->State() != dsInactive);
  TDataSetState State = FDataSource ? FDataSource->State() : dsInactive;
  SetEditing((State == dsEdit || State == dsInsert || State == dsSetKey) && !FReadOnly);
}

void TDataLink::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (Value) UpdateRange();
  else FFirstRecord = 0;
  ActiveChanged();
}

void TDataLink::SetEditing(bool Value) {
  if (FEditing == Value) return;
  FEditing = Value;
  EditingChanged();
}

void TDataLink::UpdateRange() {
  TDataSet* Set = DataSet();
  if (!Set) return;
  int Min = Set->FActiveRecord - FBufferCount + 1;
  if (Min < 0) Min = 0;
  int Max = Set->FBufferCount - FBufferCount;
  if (Max < 0) Max = 0;
  if (Max > Set->FActiveRecord) Max = Set->FActiveRecord;
  if (FFirstRecord < Min) FFirstRecord = Min;
  if (FFirstRecord > Max) FFirstRecord = Max;
}

int TDataLink::ActiveRecord() const {
  TDataSet* Set = DataSet();
  if (!Set || !FActive) return 0;
  return Set->FActiveRecord - FFirstRecord;
}

void TDataLink::SetActiveRecord(int Value) {
  TDataSet* Set = DataSet();
  if (Set && FActive) Set->FActiveRecord = Value + FFirstRecord;
}

void TDataLink::SetBufferCount(int Value) {
  if (FBufferCount == Value || Value < 1) return;
  FBufferCount = Value;
  if (TDataSet* Set = DataSet()) {
    Set->UpdateBufferCount();
    if (FActive) UpdateRange();
  }
}

int TDataLink::RecordCount() const {
  TDataSet* Set = DataSet();
  if (!Set || !FActive) return 0;
  int Result = Set->FRecordCount - FFirstRecord;
  if (Result > FBufferCount) Result = FBufferCount;
  return Result < 0 ? 0 : Result;
}

bool TDataLink::Edit() {
  if (!FReadOnly && FDataSource) FDataSource->Edit();
  return FEditing;
}

void TDataLink::UpdateRecord() {
  FUpdating = true;
  try {
    UpdateData();
  } catch (...) {
    FUpdating = false;
    throw;
  }
  FUpdating = false;
}

int TDataLink::MoveBy(int Distance) {
  TDataSet* Set = DataSet();
  return Set ? Set->MoveBy(Distance) : 0;
}

void TDataLink::DataEvent(TDataEvent Event, std::intptr_t Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (!FActive) return;
  switch (Event) {
    case deFieldChange:
    case deRecordChange:
      if (!FUpdating) RecordChanged(reinterpret_cast<TField*>(Info));
      break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
      int Expected = FFirstRecord + (Event == deDataSetScroll ? static_cast<int>(Info) : 0);
      FFirstRecord = Expected;
      UpdateRange();
      if (Event == deDataSetChange) DataSetChanged();
      else if (Event == deDataSetScroll) DataSetScrolled(FFirstRecord - Expected);
      else LayoutChanged();
      break;
    }
    case deUpdateRecord:
      UpdateRecord();
      break;
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case deFocusControl: {
      TField* Field = reinterpret_cast<TField*>(Info);
      FocusControl(Field);
      break;
    }
    default:
      break;
  }
}
