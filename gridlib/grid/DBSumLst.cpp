// DBSumLst.cpp - the footer aggregates: items, their collection and the producer that takes
// over a dataset's events.
#include "gridlib/grid/DBSumLst.h"

#include <cfenv>
#include <cmath>

#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

REGISTER_CLASS(TDBSum) {
  Class.Property("FieldName", &TDBSum::FieldName, &TDBSum::SetFieldName)
      .Property("GroupOperation", &TDBSum::GroupOperation, &TDBSum::SetGroupOperation, goSum);
}
REGISTER_CLASS(TDBSumCollection) {}
REGISTER_CLASS(TDBSumListProducer) {}
REGISTER_CLASS(TDBGridZkSumList) {
  Class.Property("Active", &TDBGridZkSumList::Active, &TDBGridZkSumList::SetActive, false)
      .Property("ExternalRecalc", &TDBGridZkSumList::ExternalRecalc,
                &TDBGridZkSumList::SetExternalRecalc, false)
      .Property("OnAfterRecalcAll", &TDBGridZkSumList::OnAfterRecalcAll,
                &TDBGridZkSumList::SetOnAfterRecalcAll)
      .Property("OnRecalcAll", &TDBGridZkSumList::OnRecalcAll, &TDBGridZkSumList::SetOnRecalcAll)
      .Property("SumListChanged", &TDBGridZkSumList::SumListChanged,
                &TDBGridZkSumList::SetSumListChanged)
      .Property("VirtualRecords", &TDBGridZkSumList::VirtualRecords,
                &TDBGridZkSumList::SetVirtualRecords, false);
}

void RegisterDBSumLstClasses() {
  RegisterClasses({TDBSum::ClassInfo(), TDBSumCollection::ClassInfo(),
                   TDBGridZkSumList::ClassInfo()});
}

// --- items ----------------------------------------------------------------------------------------

TDBSum::TDBSum(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TDBSum::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TDBSum*>(Source)) {
    SetGroupOperation(S->FGroupOperation);
    SetFieldName(S->FFieldName);
    Value = S->Value;
    SumValue = S->SumValue;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TDBSum::SetFieldName(const String& Value) {
  if (Value == FFieldName) return;
  FFieldName = Value;
  Changed(false);
}

void TDBSum::SetGroupOperation(TGroupOperation Value) {
  if (Value == FGroupOperation) return;
  FGroupOperation = Value;
  Changed(false);
}

TDBSumCollection::TDBSumCollection(TDBSumListProducer* AOwner)
    : TCollection(TDBSum::ClassInfo()), FOwner(AOwner) {}

TPersistent* TDBSumCollection::GetOwner() const { return FOwner; }

void TDBSumCollection::Update(TCollectionItem*) {
  if (FOwner) FOwner->SumItemsChanged();
}

TDBSum* TDBSumCollection::GetSumByOpAndFName(TGroupOperation AGroupOperation,
                                             const String& AFieldName) const {
  for (int I = 0; I < Count(); ++I) {
    TDBSum* S = Items(I);
    if (S->GroupOperation() == AGroupOperation && AnsiSameText(S->FieldName(), AFieldName))
      return S;
  }
  return nullptr;
}

// --- producer -------------------------------------------------------------------------------------

namespace {
constexpr Int64 CountStep = Currency::Scale;

// Chains a saved dataset handler around the producer's own work.
TDataSetNotifyEvent Chain(TDBSumListProducer* P, void (TDBSumListProducer::*Own)(TDataSet*)) {
  return [P, Own](TDataSet* D) { (P->*Own)(D); };
}
}  // namespace

TDBSumListProducer::TDBSumListProducer(TComponent* AOwner)
    : FOwner(AOwner), FSumCollection(std::make_unique<TDBSumCollection>(this)) {
  FActive = true;
}

TDBSumListProducer::~TDBSumListProducer() {
  // The collection must not call back into a half-destroyed producer.
  FActive = false;
  RestoreDataSetEvents();
}

Currency TDBSumListProducer::AddValue(Currency Sum, long double Value) {
  const long double Raw = static_cast<long double>(Sum.Raw()) + Value * Currency::Scale;
  return Currency::FromRaw(static_cast<Int64>(std::nearbyintl(Raw)));
}

void TDBSumListProducer::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TDBSumListProducer*>(Source)) {
    SetActive(S->FActive);
    SetDataSet(S->FDataSet);
    SetExternalRecalc(S->FExternalRecalc);
    FSumCollection->Assign(S->FSumCollection.get());
    FSumListChanged = S->FSumListChanged;
    SetVirtualRecords(S->FVirtualRecords);
    FOnAfterRecalcAll = S->FOnAfterRecalcAll;
    FOnRecalcAll = S->FOnRecalcAll;
    return;
  }
  TPersistent::Assign(Source);
}

bool TDBSumListProducer::OwnerBlocks() const {
  if (!FOwner) return false;
  const TComponentState S = FOwner->ComponentState();
  return S.Contains(csLoading) || (S.Contains(csDesigning) && !FDesignTimeWork);
}

void TDBSumListProducer::SetActive(bool Value) {
  if (Value == FActive) return;
  if (Value)
    Activate(true);
  else
    Deactivate(true);
}

void TDBSumListProducer::Activate(bool ARecalcAll) {
  FActive = true;
  if (OwnerBlocks()) return;
  SetDataSetEvents();
  if (ARecalcAll) RecalcAll();
}

void TDBSumListProducer::Deactivate(bool AClearSumValues) {
  FActive = false;
  if (OwnerBlocks()) return;
  RestoreDataSetEvents();
  if (AClearSumValues) ClearSumValues();
}

void TDBSumListProducer::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (FActive && !OwnerBlocks()) {
    RestoreDataSetEvents();
    FDataSet = Value;
    SetDataSetEvents();
    RecalcAll();
  } else {
    FDataSet = Value;
  }
}

void TDBSumListProducer::SetExternalRecalc(bool Value) {
  if (Value == FExternalRecalc) return;
  FExternalRecalc = Value;
  RecalcAll();
}

void TDBSumListProducer::SetVirtualRecords(bool Value) {
  if (Value == FVirtualRecords) return;
  FVirtualRecords = Value;
  if (Value) RecalcAll();
}

void TDBSumListProducer::OwnerLoaded() {
  if (FDataSet && FActive) Activate(true);
}

void TDBSumListProducer::SumItemsChanged() {
  if (FOwner && FOwner->ComponentState().Contains(csLoading)) return;
  if (FOwner && FOwner->ComponentState().Contains(csDestroying)) return;
  RecalcAll();
}

void TDBSumListProducer::NotifySumListChanged() {
  if (FSumListChanged) FSumListChanged(this);
}

void TDBSumListProducer::SetDataSetEvents() {
  if (!FDataSet || FEventsOverloaded) return;
  FMasterDataset = DataSetFromSourceProperty(
      FDataSet, FDataSet->ClassType()->FindProperty(u"MasterSource"));
  OldAfterEdit = FDataSet->AfterEdit();
  OldAfterInsert = FDataSet->AfterInsert();
  OldAfterOpen = FDataSet->AfterOpen();
  OldAfterPost = FDataSet->AfterPost();
  OldAfterScroll = FDataSet->AfterScroll();
  OldBeforeDelete = FDataSet->BeforeDelete();
  OldAfterClose = FDataSet->AfterClose();
  OldAfterCancel = FDataSet->AfterCancel();
  FDataSet->SetAfterEdit(Chain(this, &TDBSumListProducer::HandleAfterEdit));
  FDataSet->SetAfterInsert(Chain(this, &TDBSumListProducer::HandleAfterInsert));
  FDataSet->SetAfterOpen(Chain(this, &TDBSumListProducer::HandleAfterOpen));
  FDataSet->SetAfterPost(Chain(this, &TDBSumListProducer::HandleAfterPost));
  FDataSet->SetAfterScroll(Chain(this, &TDBSumListProducer::HandleAfterScroll));
  FDataSet->SetBeforeDelete(Chain(this, &TDBSumListProducer::HandleBeforeDelete));
  FDataSet->SetAfterClose(Chain(this, &TDBSumListProducer::HandleAfterClose));
  FDataSet->SetAfterCancel(Chain(this, &TDBSumListProducer::HandleAfterCancel));
  if (FMasterDataset) {
    OldMasterAfterScroll = FMasterDataset->AfterScroll();
    FMasterDataset->SetAfterScroll(Chain(this, &TDBSumListProducer::HandleMasterAfterScroll));
  }
  FEventsOverloaded = true;
}

void TDBSumListProducer::RestoreDataSetEvents() {
  if (FDataSet && FEventsOverloaded) {
    FDataSet->SetAfterEdit(std::move(OldAfterEdit));
    FDataSet->SetAfterInsert(std::move(OldAfterInsert));
    FDataSet->SetAfterOpen(std::move(OldAfterOpen));
    FDataSet->SetAfterPost(std::move(OldAfterPost));
    FDataSet->SetAfterScroll(std::move(OldAfterScroll));
    FDataSet->SetBeforeDelete(std::move(OldBeforeDelete));
    FDataSet->SetAfterClose(std::move(OldAfterClose));
    FDataSet->SetAfterCancel(std::move(OldAfterCancel));
    if (FMasterDataset) FMasterDataset->SetAfterScroll(std::move(OldMasterAfterScroll));
    OldAfterEdit = OldAfterInsert = OldAfterOpen = OldAfterPost = OldAfterScroll = nullptr;
    OldBeforeDelete = OldAfterClose = OldAfterCancel = OldMasterAfterScroll = nullptr;
    FMasterDataset = nullptr;
  }
  FEventsOverloaded = false;
}

TField* TDBSumListProducer::ItemField(const TDBSum* Item) const {
  if (Item->FieldName().empty() || !FDataSet) return nullptr;
  return FDataSet->FindField(Item->FieldName());
}

// An item whose field the dataset lacks takes no part: it keeps 0 instead of raising.
namespace {
bool Missing(const TDBSum* S, TField* F) { return !S->FieldName().empty() && !F; }
}  // namespace

void TDBSumListProducer::RecomputeAverage(TDBSum* S) {
  S->SumValue = S->FNotNullRecordCount == 0
                    ? Currency()
                    : Currency::FromRaw(static_cast<Int64>(std::nearbyintl(
                          static_cast<long double>(S->FSumValueAsSum.Raw()) /
                          S->FNotNullRecordCount)));
}

void TDBSumListProducer::HandleAfterOpen(TDataSet* DataSet) {
  if (FActive) RecalcAll();
  if (OldAfterOpen) OldAfterOpen(DataSet);
}

void TDBSumListProducer::HandleAfterEdit(TDataSet* DataSet) {
  if (FActive) {
    for (int I = 0; I < FSumCollection->Count(); ++I) {
      TDBSum* S = FSumCollection->Items(I);
      TField* F = ItemField(S);
      if (!S->TakesPart() || Missing(S, F)) continue;
      if (S->GroupOperation() == goCount) {
        S->Value = Currency::FromRaw(!F || !F->IsNull() ? CountStep : 0);
      } else {
        S->Value = F->IsNull() ? Currency() : AddValue(Currency(), F->AsFloat());
        S->VarValue = F->Value();
      }
    }
  }
  if (OldAfterEdit) OldAfterEdit(DataSet);
}

void TDBSumListProducer::HandleAfterInsert(TDataSet* DataSet) {
  if (FActive) {
    for (int I = 0; I < FSumCollection->Count(); ++I) {
      TDBSum* S = FSumCollection->Items(I);
      S->Value = Currency();
      if (S->GroupOperation() != goCount) S->VarValue = Null();
    }
  }
  if (OldAfterInsert) OldAfterInsert(DataSet);
}

void TDBSumListProducer::HandleAfterPost(TDataSet* DataSet) {
  if (FActive) {
    for (int I = 0; I < FSumCollection->Count(); ++I) {
      TDBSum* S = FSumCollection->Items(I);
      TField* F = ItemField(S);
      if (!S->TakesPart() || Missing(S, F)) continue;
      const Currency Old = S->Value;
      switch (S->GroupOperation()) {
        case goSum:
          S->SumValue = F->IsNull() ? S->SumValue - Old
                                    : AddValue(S->SumValue - Old, F->AsFloat());
          break;
        case goAvg:
          if (F->IsNull()) {
            if (!S->VarValue.IsNull() && !S->VarValue.IsEmpty()) --S->FNotNullRecordCount;
            S->FSumValueAsSum = S->FSumValueAsSum - Old;
          } else {
            if (S->VarValue.IsNull() || S->VarValue.IsEmpty()) ++S->FNotNullRecordCount;
            S->FSumValueAsSum = AddValue(S->FSumValueAsSum - Old, F->AsFloat());
          }
          RecomputeAverage(S);
          break;
        case goCount:
          S->SumValue = S->SumValue - Old +
                        Currency::FromRaw(!F || !F->IsNull() ? CountStep : 0);
          break;
      }
      // The posted record's contribution is the base of the next post without an edit.
      S->Value = S->GroupOperation() == goCount ? Currency::FromRaw(!F || !F->IsNull() ? CountStep : 0)
                 : F->IsNull()                  ? Currency()
                                                : AddValue(Currency(), F->AsFloat());
      if (S->GroupOperation() != goCount) S->VarValue = F->Value();
    }
    NotifySumListChanged();
  }
  if (OldAfterPost) OldAfterPost(DataSet);
}

void TDBSumListProducer::HandleBeforeDelete(TDataSet* DataSet) {
  if (OldBeforeDelete) OldBeforeDelete(DataSet);
  if (!FActive) return;
  for (int I = 0; I < FSumCollection->Count(); ++I) {
    TDBSum* S = FSumCollection->Items(I);
    TField* F = ItemField(S);
    if (!S->TakesPart() || Missing(S, F)) continue;
    const long double V = F && !F->IsNull() ? F->AsFloat() : 0.0L;
    switch (S->GroupOperation()) {
      case goSum: S->SumValue = AddValue(S->SumValue, -V); break;
      case goAvg:
        S->FSumValueAsSum = AddValue(S->FSumValueAsSum, -V);
        if (!F->IsNull()) --S->FNotNullRecordCount;
        RecomputeAverage(S);
        break;
      case goCount:
        if (!F || !F->IsNull()) S->SumValue = S->SumValue - Currency::FromRaw(CountStep);
        break;
    }
  }
  NotifySumListChanged();
}

void TDBSumListProducer::HandleAfterCancel(TDataSet* DataSet) {
  if (OldAfterCancel) OldAfterCancel(DataSet);
}

void TDBSumListProducer::HandleAfterClose(TDataSet* DataSet) {
  if (FActive) {
    ClearSumValues();
    Changing = false;
  }
  if (OldAfterClose) OldAfterClose(DataSet);
}

void TDBSumListProducer::HandleAfterScroll(TDataSet* DataSet) {
  if (OldAfterScroll) OldAfterScroll(DataSet);
  if (!FActive || Changing || !FDataSet) return;
  if (FDataSet->Filtered() != Filtered || (FDataSet->Filtered() && FDataSet->Filter() != Filter))
    RecalcAll();
}

void TDBSumListProducer::HandleMasterAfterScroll(TDataSet* DataSet) {
  if (OldMasterAfterScroll) OldMasterAfterScroll(DataSet);
  if (FActive && !Changing) RecalcAll();
}

void TDBSumListProducer::ClearSumValues() {
  for (int I = 0; I < FSumCollection->Count(); ++I) {
    TDBSum* S = FSumCollection->Items(I);
    S->SumValue = S->Value = S->FSumValueAsSum = Currency();
    S->FNotNullRecordCount = 0;
  }
  NotifySumListChanged();
}

void TDBSumListProducer::RecalcAll() {
  if (OwnerBlocks() || !FActive || !FDataSet || !FDataSet->Active() || !FEventsOverloaded) return;
  ClearSumValues();
  if (FOnRecalcAll) FOnRecalcAll(this);
  Filter = FDataSet->Filter();
  Filtered = FDataSet->Filtered();
  if (!FExternalRecalc) {
    std::vector<std::pair<TDBSum*, TField*>> Parts;
    for (int I = 0; I < FSumCollection->Count(); ++I) {
      TDBSum* S = FSumCollection->Items(I);
      TField* F = ItemField(S);
      if (S->TakesPart() && !Missing(S, F)) Parts.emplace_back(S, F);
    }
    if (!Parts.empty()) {
      const TBookmark Saved = FDataSet->Bookmark();
      FDataSet->DisableControls();
      Changing = true;
      try {
        FDataSet->First();
        while (!FDataSet->Eof()) {
          for (auto& [S, F] : Parts) {
            const bool NotNull = !F || !F->IsNull();
            switch (S->GroupOperation()) {
              case goSum:
                if (NotNull) S->SumValue = AddValue(S->SumValue, F->AsFloat());
                break;
              case goAvg:
                if (NotNull) {
                  ++S->FNotNullRecordCount;
                  S->FSumValueAsSum = AddValue(S->FSumValueAsSum, F->AsFloat());
                }
                break;
              case goCount:
                if (NotNull) S->SumValue = S->SumValue + Currency::FromRaw(CountStep);
                break;
            }
          }
          FDataSet->Next();
        }
        for (auto& [S, F] : Parts)
          if (S->GroupOperation() == goAvg) RecomputeAverage(S);
        if (!Saved.empty() && FDataSet->BookmarkValid(Saved)) FDataSet->GotoBookmark(Saved);
      } catch (...) {
        Changing = false;
        FDataSet->EnableControls();
        throw;
      }
      Changing = false;
      FDataSet->EnableControls();
    }
  }
  NotifySumListChanged();
  if (FOnAfterRecalcAll) FOnAfterRecalcAll(this);
}

int TDBSumListProducer::RecNo() const { return FDataSet ? FDataSet->RecNo() : -1; }
void TDBSumListProducer::SetRecNo(int Value) {
  if (FDataSet) FDataSet->SetRecNo(Value);
}
bool TDBSumListProducer::IsSequenced() const { return FDataSet && FDataSet->IsSequenced(); }
int TDBSumListProducer::RecordCount() const { return FDataSet ? FDataSet->RecordCount() : 0; }

TDBGridZkSumList::TDBGridZkSumList(TComponent* AOwner) : TDBSumListProducer(AOwner) {
  FDesignTimeWork = true;
  Deactivate(false);
}
