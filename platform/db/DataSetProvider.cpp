// DataSetProvider.cpp - TDataSet's provider support: the parameters, key fields and index
// definitions a data driver asks of the dataset it reads and writes.
#include "platform/db/DataSet.h"

#include "platform/db/IndexDefs.h"

String TDataSet::PSGetKeyFields() {
  String Result;
  for (int I = 0; I < FieldCount(); ++I) {
    TField* Field = Fields()->Fields(I);
    if (!Field->ProviderFlags().Contains(pfInKey)) continue;
    if (!Result.empty()) Result += u';';
    Result += Field->FieldName();
  }
  if (!Result.empty()) return Result;
  std::unique_ptr<TIndexDefs> Primary = PSGetIndexDefs(TIndexOptions{ixPrimary});
  return Primary->Count() > 0 ? Primary->Items(0)->Fields() : String();
}

std::unique_ptr<TIndexDefs> TDataSet::PSGetIndexDefs(TIndexOptions IndexTypes) {
  auto Result = std::make_unique<TIndexDefs>(this);
  GetIndexDefs(*IndexDefs(), *Result, IndexTypes);
  return Result;
}
