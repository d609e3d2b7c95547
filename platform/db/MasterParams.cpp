// MasterParams.cpp - TMasterParamsLink.
#include "platform/db/MasterParams.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/Variants.h"

TMasterParamsLink::TMasterParamsLink(TDataSet* Detail, TParams* Params)
    : FDetail(Detail), FParams(Params) {}

bool TMasterParamsLink::ApplyMasterValues() {
  TDataSet* Master = DataSet();
  if (!Master || !Master->Active()) return false;
  std::vector<Variant> Values;
  for (int I = 0; I < FParams->Count(); ++I) {
    TParam* Param = FParams->Items(I);
    TField* Field = Master->FindField(Param->Name());
    if (!Field) {
      Values.push_back(Param->Value());
      continue;
    }
    Param->AssignFieldValue(Field, Field->AsVariant());
    Values.push_back(Param->Value());
  }
  if (!FHasRun || Values.size() != FLastValues.size()) return true;
  for (std::size_t I = 0; I < Values.size(); ++I) {
    bool NullA = Values[I].IsNull() || Values[I].IsEmpty();
    bool NullB = FLastValues[I].IsNull() || FLastValues[I].IsEmpty();
    if (NullA != NullB || (!NullA && !VarSameValue(Values[I], FLastValues[I]))) return true;
  }
  return false;
}

void TMasterParamsLink::RememberRun() {
  FLastValues.clear();
  for (int I = 0; I < FParams->Count(); ++I) FLastValues.push_back(FParams->Items(I)->Value());
  FHasRun = true;
}

void TMasterParamsLink::MasterMoved() {
  if (!FDetail || !FDetail->Active()) return;
  if (ApplyMasterValues() && OnMasterChange) OnMasterChange();
}

void TMasterParamsLink::ActiveChanged() {
  if (Active()) MasterMoved();
}

void TMasterParamsLink::RecordChanged(TField* Field) {
  if (Field == nullptr) MasterMoved();
}

void TMasterParamsLink::CheckBrowseMode() {
  if (FDetail && FDetail->Active()) FDetail->CheckBrowseMode();
}
