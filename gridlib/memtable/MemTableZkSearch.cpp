// MemTableZkSearch.cpp - the memory table's order, filter, Locate and Lookup, and the
// master-detail restriction.
#include "gridlib/memtable/MemTableZk.h"

#include <algorithm>

#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MTIndexZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/MemTableZk_p.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

bool VariantsEqualLocal(const Variant& A, const Variant& B) {
  try {
    if (A.IsArray() != B.IsArray()) return false;
    if (!A.IsArray()) return VarSameValue(A, B);
    const int N = A.ArrayLength();
    if (N == 0 || N != B.ArrayLength()) return false;
    for (int I = 0; I < N; ++I)
      if (!VarSameValue(A[A.ArrayLowBound() + I], B[B.ArrayLowBound() + I])) return false;
    return true;
  } catch (const Exception&) {
    return false;  // values that cannot be compared are not equal
  }
}

bool IsTextField(const TField* Field) {
  return Field->DataType() == ftString || Field->DataType() == ftWideString;
}

bool TextMatches(std::u16string_view FieldText, const Variant& Value, TLocateOptions Options) {
  const String Key = Value.IsNull() || Value.IsEmpty() ? String() : Value.AsString();
  if (Options.Contains(loPartialKey)) FieldText = FieldText.substr(0, Key.size());
  return Options.Contains(loCaseInsensitive) ? AnsiCompareText(FieldText, Key) == 0
                                             : AnsiCompareStr(FieldText, Key) == 0;
}

bool KeyValueMatches(TField* Field, const Variant& Value, TLocateOptions Options) {
  if (IsTextField(Field)) return TextMatches(Field->AsString(), Value, Options);
  return VariantsEqualLocal(Field->AsVariant(), Value);
}

}  // namespace

// ===== order =====================================================================================

void TCustomMemTableZk::SetSortOrder(const String& Value) {
  if (Value == FSortOrder) return;
  if (!Active()) {
    FSortOrder = Value;
    return;
  }
  CheckBrowseMode();
  if (InstantReadMode()) throw Exception(MemTableText::SortInInstantRead);
  FRecordsView->SetSortOrder(Value);  // a bad text raises with the old order kept
  FSortOrder = Value;
  RebuildBuffers();
  Resync({});
}

// ===== filter ====================================================================================

void TCustomMemTableZk::ParseFilter() {
  FFilterExpr->ParseExpression(FActive && Filtered() ? Filter() : String());
}

// A failing filter is reported once per refresh, and the record counts as out of the filter.
bool TCustomMemTableZk::FilterMemRecord(TMemoryRecordZk* Rec) {
  bool Result = true;
  const bool ByEvent = Filtered() && OnFilterRecord();
  if (!FActive || !(FDetailMode || (Filtered() && (ByEvent || !Filter().empty())))) return true;
  TDataSetState Saved = dsInactive;
  bool TempState = false;
  try {
    if (ByEvent) {
      Saved = SetTempState(dsFilter);
      TempState = true;
      FillBufferFromRecord(Rec, -1, TempBuffer());
    }
    if (FFilterExpr->HasData()) Result = FFilterExpr->IsCurRecordInFilter(Rec);
    if (ByEvent) OnFilterRecord()(this, Result);
    if (Result && FDetailMode &&
        (FMasterDetailSide == mdsOnSelfZk || FMasterDetailSide == mdsOnSelfAfterProviderZk)) {
      if (FDetailRecListActive) {
        Result = FDetailRecSet.count(Rec) != 0;
      } else {
        std::vector<int> Positions;
        for (TField* F : FDetailFieldList) Positions.push_back(F->FieldNo() - 1);
        Result = VariantsEqualLocal(Rec->GetIndexedDataValues(Positions, dvvValueZk), FMasterValues);
      }
    }
  } catch (const Exception& E) {
    Result = false;
    if (!FFilterFailed) {
      FFilterFailed = true;
      if (Application) Application->HandleException(this, E);
    }
  }
  if (TempState) RestoreState(Saved);
  return Result;
}

void TCustomMemTableZk::SetFiltered(bool Value) {
  if (Value == Filtered()) return;
  if (Active()) CheckBrowseMode();
  TDataSet::SetFiltered(Value);
  if (Active()) {
    ParseFilter();
    Refresh();
  }
}

// A text that fails to parse raises and leaves the previous text and rows in force.
void TCustomMemTableZk::SetFilterText(const String& Value) {
  if (Value == Filter()) return;
  if (Active()) CheckBrowseMode();
  if (FActive && Filtered()) {
    TDataSetExprParserZk Check(this, dsptFilterZk);
    Check.ParseExpression(Value);
  }
  TDataSet::SetFilterText(Value);
  if (Active() && Filtered()) {
    ParseFilter();
    Refresh();
  }
}

void TCustomMemTableZk::SetOnFilterRecord(TFilterRecordEvent Value) {
  if (Active()) CheckBrowseMode();
  TDataSet::SetOnFilterRecord(std::move(Value));
  if (Active() && Filtered()) Refresh();
}

void TCustomMemTableZk::InternalRefresh() {
  FFilterFailed = false;
  FDetailRecList.clear();
  if (FDetailMode && !FDetailFields.empty()) {
    if (TMTIndexZk* Index = ViewData()->RecordsList()->Indexes()->GetActiveIndexForFields(FDetailFields)) {
      Index->FillMatchedRecsList(FMasterValues, FDetailRecList);
      FDetailRecSet.clear();
      FDetailRecSet.insert(FDetailRecList.begin(), FDetailRecList.end());
      FDetailRecListActive = true;
    }
  }
  try {
    FRecordsView->RefreshFilteredRecsList();
  } catch (...) {
    FDetailRecListActive = false;
    FDetailRecSet.clear();
    throw;
  }
  FDetailRecListActive = false;
  FDetailRecSet.clear();
  InternalFirst();
}

// ===== Locate and Lookup =========================================================================

bool TCustomMemTableZk::RowMatches(const std::vector<TField*>& KeyFields, const Variant& KeyValues,
                                   TLocateOptions Options) {
  if (KeyFields.size() == 1) return KeyValueMatches(KeyFields[0], KeyValues, Options);
  if (!KeyValues.IsArray()) return false;
  for (std::size_t I = 0; I < KeyFields.size(); ++I) {
    const int At = KeyValues.ArrayLowBound() + static_cast<int>(I);
    if (static_cast<int>(I) >= KeyValues.ArrayLength()) return false;
    if (!KeyValueMatches(KeyFields[I], KeyValues[At], Options)) return false;
  }
  return true;
}

// Through an index every record with the key is taken and the smallest visible row answers:
// the index's first entry may be a record the view hides.
int TCustomMemTableZk::FindRec(const String& KeyFields, const Variant& KeyValues,
                               TLocateOptions Options) {
  std::vector<TField*> Fields;
  GetFieldList(Fields, KeyFields);
  bool AllData = !Fields.empty();
  for (TField* F : Fields) AllData = AllData && F->FieldNo() > 0;
  int Result = -1;
  TMTIndexZk* Index = Options.Empty() && AllData
                          ? ViewData()->RecordsList()->Indexes()->GetActiveIndexForFields(KeyFields)
                          : nullptr;
  // One text data field with no value hook: the record's own text is what the field shows, so
  // rows are tested without filling a buffer for each.
  const bool DirectText = Fields.size() == 1 && AllData && IsTextField(Fields[0]) &&
                          Fields[0]->FieldKind() == fkData && !FOnGetFieldValue;
  auto Test = [&](int Row) {
    if (DirectText) {
      const TPackedValueZk V = ViewRecord(Row)->ValueAt(Fields[0]->FieldNo() - 1);
      TTextBufferZk Buffer;
      return TextMatches(V.IsString() ? V.Text(Buffer) : std::u16string_view(), KeyValues, Options);
    }
    InstantReadEnter(Row);
    bool Match = false;
    try {
      Match = RowMatches(Fields, KeyValues, Options);
    } catch (...) {
      InstantReadLeave();
      throw;
    }
    InstantReadLeave();
    return Match;
  };
  if (Index) {
    std::vector<TMemoryRecordZk*> Recs;
    Index->FillMatchedRecsList(KeyValues, Recs);
    for (TMemoryRecordZk* Rec : Recs) {
      const int Row = FRecordsView->IndexOf(Rec);
      if (Row >= 0 && (Result < 0 || Row < Result)) Result = Row;
    }
  } else {
    for (int Row = 0; Row < ViewCount() && Result < 0; ++Row)
      if (Test(Row)) Result = Row;
  }
  while (Result < 0 && FDataDriver && !FDataDriver->ProviderEOF()) {
    const int Before = ViewCount();
    LockViewResync();
    try {
      FetchFromDriver(1);
    } catch (...) {
      UnlockViewResync(false);
      throw;
    }
    UnlockViewResync(false);
    for (int Row = Before; Row < ViewCount() && Result < 0; ++Row)
      if (Test(Row)) Result = Row;
  }
  return Result;
}

// Fires no scroll events.
bool TCustomMemTableZk::Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  CheckBrowseMode();
  if (Bof() && Eof()) return false;
  bool Found = false;
  LockViewResync();
  try {
    const int Row = FindRec(KeyFields, KeyValues, Options);
    if (Row >= 0) {
      FRecordPos = Row;
      FRecordsViewUpdated = true;
      Found = true;
    }
  } catch (...) {
    UnlockViewResync(true);
    throw;
  }
  UnlockViewResync(true);
  return Found;
}

// Answers Empty (not Null) when nothing matches; the framework's lookup fields read it as Null.
Variant TCustomMemTableZk::Lookup(const String& KeyFields, const Variant& KeyValues,
                                  const String& ResultFields) {
  Variant Result;
  if (!Active()) return Result;
  const int Before = ViewCount();
  const int Row = FindRec(KeyFields, KeyValues, {});
  if (Row >= 0) {
    InstantReadEnter(Row);
    try {
      Result = FieldValues(ResultFields);
    } catch (...) {
      InstantReadLeave();
      throw;
    }
    InstantReadLeave();
  }
  if (ViewCount() != Before) Resync({});
  return Result;
}

// ===== master-detail =============================================================================

void TMasterDataLinkZk::ActiveChanged() {
  FFields.clear();
  if (Active() && DataSet()) DataSet()->GetFieldList(FFields, FFieldNames);
  if (FTable->Active() && !FTable->ComponentState().Contains(csDestroying) && Active())
    FTable->MasterRecordChanged();
}

void TMasterDataLinkZk::RecordChanged(TField* Field) {
  if (!DataSet() || DataSet()->State() == dsSetKey || !FTable->Active()) return;
  if (Field && std::find(FFields.begin(), FFields.end(), Field) == FFields.end()) return;
  FTable->MasterRecordChanged();
}

void TMasterDataLinkZk::CheckBrowseMode() {
  if (FTable->Active()) FTable->CheckBrowseMode();
}

TDataSource* TCustomMemTableZk::MasterSource() const { return FMasterDataLink->DataSource(); }

void TCustomMemTableZk::SetMasterSource(TDataSource* Value) {
  if (Value && Value->DataSet() == this) DatabaseError(DBText::CircularDataLink, this);
  FMasterDataLink->SetDataSource(Value);
  UpdateDetailMode(true);
}

const String& TCustomMemTableZk::MasterFields() const { return FMasterDataLink->FieldNames(); }

void TCustomMemTableZk::SetMasterFields(const String& Value) {
  FMasterDataLink->SetFieldNames(Value);
  UpdateDetailMode(true);
}

void TCustomMemTableZk::SetDetailFields(const String& Value) {
  std::vector<TField*> Check;
  if (FieldCount() > 0 && !Value.empty()) GetFieldList(Check, Value);  // an unknown name raises here
  FDetailFields = Value;
  UpdateDetailMode(true);
}

Variant TCustomMemTableZk::MasterValues() const {
  TDataSet* Master = MasterSource() ? MasterSource()->DataSet() : nullptr;
  if (!Master || !Master->Active() || MasterFields().empty()) return Variant();
  return Master->FieldValues(MasterFields());
}

void TCustomMemTableZk::UpdateDetailMode(bool Reload) {
  bool Mode = false;
  FDetailFieldList.clear();
  if (FieldCount() > 0) {
    if (!FDetailFields.empty()) GetFieldList(FDetailFieldList, FDetailFields);
    const bool LinkActive = FMasterDataLink->Active();
    Mode = FMasterDetailSide == mdsOnProviderZk
               ? LinkActive
               : !FDetailFieldList.empty() && LinkActive && !FMasterDataLink->Fields().empty();
  }
  if (Mode == FDetailMode) return;
  FDetailMode = Mode;
  FMasterValues = Mode && FMasterDetailSide != mdsOnProviderZk ? MasterValues() : Variant();
  if (Reload && Active()) {
    if (FMasterDetailSide == mdsOnSelfZk)
      Refresh();
    else
      MasterRecordChanged();
  }
}

void TCustomMemTableZk::MasterRecordChanged() {
  const bool OldMode = FDetailMode;
  UpdateDetailMode(false);
  if (!Active()) return;
  if (FMasterDetailSide == mdsOnProviderZk) {
    TDataSet* Master = MasterSource() ? MasterSource()->DataSet() : nullptr;
    if (FDataDriver && Master && Master->Active() && FDataDriver->RefreshReaderParamsFromCursor(Master)) {
      DisableControls();
      try {
        Close();
        Open();
      } catch (...) {
        EnableControls();
        throw;
      }
      EnableControls();
    }
    return;
  }
  const Variant Current = MasterValues();
  if (OldMode != FDetailMode || (FDetailMode && !VariantsEqualLocal(Current, FMasterValues))) {
    FMasterValues = FDetailMode ? Current : Variant();
    if (FDetailMode && FMasterDetailSide == mdsOnSelfAfterProviderZk) ReadDetailFromProvider();
    Refresh();
  }
}

bool TCustomMemTableZk::SetReaderParamsFromMaster() {
  TDataSet* Master = MasterSource() ? MasterSource()->DataSet() : nullptr;
  if (!FDataDriver || !Master || !Master->Active() || Master->State() == dsSetKey) return false;
  FDataDriver->SetReaderParamsFromCursor(Master);
  if (FMasterDetailSide == mdsOnSelfAfterProviderZk) FMasterValList.push_back(MasterValues());
  return true;
}

// The provider is asked once per distinct master value; the records of every value asked so
// far stay, and the table's own detail restriction shows the current master's.
void TCustomMemTableZk::ReadDetailFromProvider() {
  TDataSet* Master = MasterSource() ? MasterSource()->DataSet() : nullptr;
  if (!FDataDriver || !Master || !Master->Active() || Master->State() == dsSetKey) return;
  for (const Variant& Known : FMasterValList)
    if (VariantsEqualLocal(Known, FMasterValues)) return;
  DisableControls();
  LockViewResync();
  try {
    FetchFromDriver(-1);
    FDataDriver->ConsumerClosed(this);
    SetReaderParamsFromMaster();
    FDataSetReader = FDataDriver->GetDataReader();
    if (FDataSetReader) FDataSetReader->FreeNotification(this);
  } catch (...) {
    UnlockViewResync(false);
    EnableControls();
    throw;
  }
  UnlockViewResync(false);
  EnableControls();
}
