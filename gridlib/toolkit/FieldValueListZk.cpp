// FieldValueListZk.cpp - the field value list and its data link.
#include "gridlib/toolkit/FieldValueListZk.h"

#include "platform/db/DataSet.h"

void TDataLinkZk::DataEvent(TDataEvent Event, std::intptr_t Info) {
  TDataLink::DataEvent(Event, Info);
  if (FOnDataEvent) FOnDataEvent(Event, Info);
}

TDatasetFieldValueListZk::TDatasetFieldValueListZk()
    : FValues(std::make_unique<TStringList>()), FDataLink(std::make_unique<TDataLinkZk>()),
      FDataSource(std::make_unique<TDataSource>(nullptr)) {
  FValues->SetSorted(true);
  FValues->SetDuplicates(dupIgnore);
  FDataLink->SetOnDataEvent([this](TDataEvent Event, std::intptr_t Info) { DataEvent(Event, Info); });
}

TDatasetFieldValueListZk::~TDatasetFieldValueListZk() {
  FDataLink->SetOnDataEvent(nullptr);
  FDataLink->SetDataSource(nullptr);
  FDataSource->SetDataSet(nullptr);
}

void TDatasetFieldValueListZk::SetFieldName(const String& Value) {
  if (Value == FFieldName) return;
  FDataObsoleted = true;
  FFieldName = Value;
}

void TDatasetFieldValueListZk::SetDataSource(TDataSource* Value) {
  if (Value == FDataLink->DataSource()) return;
  FDataObsoleted = true;
  FDataLink->SetDataSource(Value);
}

TDataSet* TDatasetFieldValueListZk::DataSet() const { return FDataSource->DataSet(); }

void TDatasetFieldValueListZk::SetDataSet(TDataSet* Value) {
  SetDataSource(nullptr);
  FDataLink->SetDataSource(FDataSource.get());
  if (Value != FDataLink->DataSet()) {
    FDataObsoleted = true;
    FDataSource->SetDataSet(Value);
  }
}

TStrings* TDatasetFieldValueListZk::GetValues() {
  if (FDataObsoleted) RefreshValues();
  return FValues.get();
}

void TDatasetFieldValueListZk::DataEvent(TDataEvent Event, std::intptr_t) {
  if (Event == deDataSetChange || Event == dePropertyChange || Event == deFieldListChange)
    FDataObsoleted = true;
}

void TDatasetFieldValueListZk::RefreshValues() {
  FValues->Clear();
  if (!FDataLink->Active()) return;
  TDataSet* Set = FDataLink->DataSet();
  TField* Field = Set->FindField(FFieldName);
  if (!Field) return;
  Set->DisableControls();
  try {
    const TBookmark Saved = Set->GetBookmark();
    FValues->BeginUpdate();
    try {
      for (Set->First(); !Set->Eof(); Set->Next()) FValues->Add(Field->AsString());
    } catch (...) {
      FValues->EndUpdate();
      throw;
    }
    FValues->EndUpdate();
    if (!Saved.empty() && Set->BookmarkValid(Saved)) Set->GotoBookmark(Saved);
  } catch (...) {
    Set->EnableControls();
    throw;
  }
  Set->EnableControls();
  FDataObsoleted = false;
}
