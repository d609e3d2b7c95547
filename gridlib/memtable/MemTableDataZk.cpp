// MemTableDataZk.cpp - the data container, its shadow, the auto-increment counter and the
// observers of record events.
#include "gridlib/memtable/MemTableDataZk.h"

#include <algorithm>

#include "gridlib/memtable/MTIndexZk.h"

// --- TRecordsListNotificatorZk ---------------------------------------------------------------------

TRecordsListNotificatorZk::TRecordsListNotificatorZk(TComponent* AOwner) : TComponent(AOwner) {}

TRecordsListNotificatorZk::~TRecordsListNotificatorZk() { SetDataObject(nullptr); }

namespace {
INotificatorHostZk* HostOf(TComponent* Object) { return dynamic_cast<INotificatorHostZk*>(Object); }
}  // namespace

void TRecordsListNotificatorZk::SetDataObject(TComponent* Value) {
  if (Value == FDataObject) return;
  DataEvent(nullptr, -1, rlnListChangingZk);
  if (FDataObject) {
    if (INotificatorHostZk* Host = HostOf(FDataObject)) Host->UnregisterNotificator(this);
    FDataObject->RemoveFreeNotification(this);
  }
  FDataObject = Value;
  if (FDataObject) {
    if (INotificatorHostZk* Host = HostOf(FDataObject)) Host->RegisterNotificator(this);
    FDataObject->FreeNotification(this);
  }
  DataEvent(nullptr, -1, rlnListChangedZk);
}

void TRecordsListNotificatorZk::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataObject) SetDataObject(nullptr);
}

void TRecordsListNotificatorZk::AfterDataEvent(TMemoryRecordZk* MemRec, int Index,
                                               TRecordsListNotification Action) {
  if (FOnAfterDataEvent) FOnAfterDataEvent(MemRec, Index, Action);
}

void TRecordsListNotificatorZk::DataEvent(TMemoryRecordZk* MemRec, int Index,
                                          TRecordsListNotification Action) {
  if (FOnDataEvent) FOnDataEvent(MemRec, Index, Action);
  switch (Action) {
    case rlnRecAddedZk: RecordAdded(MemRec, Index); break;
    case rlnRecChangedZk: RecordChanged(MemRec, Index); break;
    case rlnRecDeletedZk: RecordDeleted(MemRec, Index); break;
    case rlnListChangedZk: ListChanged(MemRec, Index); break;
    default: break;
  }
}

void TRecordsListNotificatorZk::RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex) {
  if (FOnRecordMoved) FOnRecordMoved(Item, OldIndex, NewIndex);
}

// --- TAutoIncrementZk --------------------------------------------------------------------------------

void TAutoIncrementZk::SetInitValue(int Value) {
  if (FCurValue == FInitValue) FCurValue = Value;
  FInitValue = Value;
}

int TAutoIncrementZk::Promote() {
  const int Result = FCurValue;
  FCurValue += FStep;
  return Result;
}

void TAutoIncrementZk::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TAutoIncrementZk*>(Source)) {
    FStep = Other->FStep;
    SetInitValue(Other->FInitValue);
    return;
  }
  TPersistent::Assign(Source);
}

// --- TMemTableDataZk -----------------------------------------------------------------------------------

TMemTableDataZk::TMemTableDataZk(TComponent* AOwner)
    : TComponent(AOwner), FDataStruct(new TMTDataStructZk(this)),
      FNewDataStruct(std::make_unique<TMTDataStructZk>(nullptr)),
      FRecordsList(new TRecordsListZk(this)), FAutoIncrement(std::make_unique<TAutoIncrementZk>()) {}

TMemTableDataZk::~TMemTableDataZk() {
  std::vector<TRecordsListNotificatorZk*> Observers = FNotificators;
  for (TRecordsListNotificatorZk* N : Observers) N->SetDataObject(nullptr);
  delete FRecordsList;
  FRecordsList = nullptr;
  delete FDataStruct;
  FDataStruct = nullptr;
}

void TMemTableDataZk::RegisterNotificator(TRecordsListNotificatorZk* Notificator) {
  if (std::find(FNotificators.begin(), FNotificators.end(), Notificator) == FNotificators.end())
    FNotificators.push_back(Notificator);
}

void TMemTableDataZk::UnregisterNotificator(TRecordsListNotificatorZk* Notificator) {
  FNotificators.erase(std::remove(FNotificators.begin(), FNotificators.end(), Notificator),
                      FNotificators.end());
}

void TMemTableDataZk::ApplyUpdates(TMemTableDataZk* AMemTableData) {
  ForEachNotificator(FNotificators, [AMemTableData](TRecordsListNotificatorZk* N) {
    if (N->OnApplyUpdates()) N->OnApplyUpdates()(AMemTableData);
  });
}

bool TMemTableDataZk::WantsAppliedChanges() const {
  return std::any_of(FNotificators.begin(), FNotificators.end(),
                     [](TRecordsListNotificatorZk* N) { return static_cast<bool>(N->OnApplyUpdates()); });
}

void TMemTableDataZk::Notify(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action) {
  ForEachNotificator(FNotificators,
                     [&](TRecordsListNotificatorZk* N) { N->DataEvent(MemRec, Index, Action); });
}

void TMemTableDataZk::RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex) {
  ForEachNotificator(FNotificators,
                     [&](TRecordsListNotificatorZk* N) { N->RecordMoved(Item, OldIndex, NewIndex); });
}

int TMemTableDataZk::FetchRecords(int Count) {
  int Result = 0;
  ForEachNotificator(FNotificators, [&](TRecordsListNotificatorZk* N) { Result += N->FetchRecords(Count); });
  return Result;
}

void TMemTableDataZk::SetAutoIncValue(TMemoryRecordZk* Rec) {
  bool HaveValue = false;
  int Value = 0;
  TMTDataStructZk* Struct = DataStruct();
  for (int I = 0; I < Struct->Count(); ++I) {
    TMTDataFieldZk* F = Struct->DataFields(I);
    if (F->DataType() != ftAutoInc && !F->AutoIncrement()) continue;
    if (!HaveValue) {
      Value = FAutoIncrement->Promote();
      HaveValue = true;
    }
    Rec->SetDataValue(I, dvvValueZk, Value);
  }
}

void TMemTableDataZk::StructChanged() {
  FIncFieldIndexes.clear();
  if (!FDataStruct) return;
  for (int I = 0; I < FDataStruct->Count(); ++I)
    if (FDataStruct->DataFields(I)->DataType() == ftAutoInc) FIncFieldIndexes.push_back(I);
  if (FRecordsList) FRecordsList->Indexes()->StructChanged();
}

TMTDataStructZk* TMemTableDataZk::BeginRestruct() {
  if (FRestructMode) throw Exception(u"MemTableData already in RestructMode.");
  FNewDataStruct->Assign(FDataStruct);
  FRestructMode = true;
  return FNewDataStruct.get();
}

void TMemTableDataZk::CancelRestruct() {
  FRestructMode = false;
  FNewDataStruct->Clear();
}

void TMemTableDataZk::DestroyTable() {
  FRecordsList->Indexes()->ClearIndexes();
  FRecordsList->Clear();
  FDataStruct->Clear();
}

void TMemTableDataZk::GetChildren(const TGetChildProc& Proc, TComponent*) {
  Proc(FDataStruct);
  Proc(FRecordsList);
}

// --- TMemTableDataShadowZk --------------------------------------------------------------------------

TMemTableDataShadowZk::TMemTableDataShadowZk(TMemTableDataZk* AMasterTable)
    : TMemTableDataZk(nullptr), FMasterTable(AMasterTable) {}
