// ArrayDataSet.cpp - TArrayDataSet: the record buffers, the cursor over the rows, posting and
// deleting, filtering and the master restriction.
#include "platform/db/ArrayDataSet.h"

#include <cstring>

#include "platform/db/FieldDefs.h"
#include "platform/db/FilterExpr.h"
#include "platform/db/MasterParams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

TArrayDataSet::TArrayDataSet(TComponent* AOwner)
    : TDataSet(AOwner),
      FParams(std::make_unique<TParams>()),
      FMasterLink(std::make_unique<TMasterParamsLink>(this, FParams.get())) {
  FMasterLink->OnMasterChange = [this] { MasterChanged(); };
}

TArrayDataSet::~TArrayDataSet() {
  Destroying();
  Close();
  FMasterLink->SetDataSource(nullptr);
}

TDataSource* TArrayDataSet::MasterSource() const { return FMasterLink->DataSource(); }

void TArrayDataSet::SetMasterSource(TDataSource* Value) {
  FMasterLink->SetDataSource(Value);
  if (Active()) MasterChanged();
}

void TArrayDataSet::MasterChanged() {
  FMasterLink->ApplyMasterValues();
  if (!Active()) return;
  // A re-run of the detail: its rows are selected again for the new master values.
  Close();
  Open();
}

void TArrayDataSet::AddRow(const std::vector<Variant>& Values) {
  TRow Row{FNextId++, Values};
  Row.Values.resize(static_cast<std::size_t>(FieldDefs()->Count()), Variant::MakeNull());
  FRows.push_back(std::move(Row));
  if (Active() && State() == dsBrowse) Resync({});
}

void TArrayDataSet::ClearRows() {
  FRows.clear();
  FCursor = -1;
  if (Active()) {
    ClearBuffers();
    DataEvent(deDataSetChange, 0);
  }
}

// ===== buffers =================================================================================

TRecordBuffer TArrayDataSet::AllocRecordBuffer() {
  for (std::size_t I = 0; I < FCache.size(); ++I) {
    if (!FCache[I]->InUse) {
      FCache[I]->InUse = true;
      return static_cast<TRecordBuffer>(I + 1);
    }
  }
  FCache.push_back(std::make_unique<TBuf>());
  FCache.back()->InUse = true;
  return static_cast<TRecordBuffer>(FCache.size());
}

void TArrayDataSet::FreeRecordBuffer(TRecordBuffer& Buffer) {
  if (Buffer > 0) {
    TBuf& B = Buf(Buffer);
    B.InUse = false;
    B.Values.clear();
  }
  Buffer = 0;
}

void TArrayDataSet::InternalInitRecord(TRecordBuffer Buffer) {
  TBuf& B = Buf(Buffer);
  B.Values.assign(static_cast<std::size_t>(FieldCount()), Variant::MakeNull());
  B.Id = 0;
}

void TArrayDataSet::FillBuffer(TRecordBuffer Buffer, int RowIndex) {
  TBuf& B = Buf(Buffer);
  const TRow& Row = FRows[RowIndex];
  B.Id = Row.Id;
  B.Flag = bfCurrent;
  const int Count = FieldCount();
  B.Values.resize(static_cast<std::size_t>(Count));
  for (int I = 0; I < Count; ++I) {
    const int FieldNo = Fields()->begin()[I]->FieldNo();
    if (FieldNo > 0)
      B.Values[I] = Row.Values[FieldNo - 1];
    else
      B.Values[I] = Variant::MakeNull();
  }
  GetCalcFields(Buffer);
}

TArrayDataSet::TBuf* TArrayDataSet::StateBuffer() const {
  TRecordBuffer Buffer = 0;
  switch (State()) {
    case dsBrowse:
      if (!IsEmpty()) Buffer = ActiveBuffer();
      break;
    case dsEdit: case dsInsert: case dsNewValue: case dsOldValue: case dsCurValue:
      Buffer = ActiveBuffer();
      break;
    case dsCalcFields:
      Buffer = CalcBuffer();
      break;
    case dsFilter:
      Buffer = TempBuffer();
      break;
    default:
      break;
  }
  return Buffer > 0 ? &Buf(Buffer) : nullptr;
}

bool TArrayDataSet::GetFieldData(TField* Field, Variant* Value) const {
  TBuf* B = StateBuffer();
  int Index = Field->Index();
  if (!B || Index < 0) return false;
  // The value is copied once, straight from where it is kept.
  const Variant* V = Index < static_cast<int>(B->Values.size()) ? &B->Values[Index] : nullptr;
  if (State() == dsOldValue && Field->FieldNo() > 0) {
    int Row = FindRow(B->Id);
    V = Row >= 0 ? &FRows[Row].Values[Field->FieldNo() - 1] : nullptr;
  }
  if (!V || V->IsNull() || V->IsEmpty()) return false;
  if (Value) *Value = *V;
  return true;
}

void TArrayDataSet::SetFieldData(TField* Field, const Variant* Value) {
  TDataSetState S = State();
  if (S != dsEdit && S != dsInsert && S != dsSetKey && S != dsCalcFields && S != dsFilter &&
      S != dsNewValue && S != dsInternalCalc)
    DatabaseError(DBText::NotEditing, this);
  TBuf* B = StateBuffer();
  int Index = Field->Index();
  if (!B || Index < 0) return;
  Field->Validate(Value);
  if (static_cast<int>(B->Values.size()) <= Index) B->Values.resize(Index + 1, Variant::MakeNull());
  B->Values[Index] = Value ? *Value : Variant::MakeNull();
  if (S != dsCalcFields && S != dsFilter && S != dsNewValue && S != dsInternalCalc)
    DataEvent(deFieldChange, reinterpret_cast<std::intptr_t>(Field));
}

// ===== cursor ==================================================================================

bool TArrayDataSet::MasterAccepts(const TRow& Row) const {
  if (!MasterSource()) return true;
  for (int I = 0; I < FParams->Count(); ++I) {
    TParam* Param = FParams->Items(I);
    int Def = FieldDefs()->IndexOf(Param->Name());
    if (Def < 0 || !Param->Bound()) continue;
    const Variant& V = Row.Values[Def];
    if (Param->IsNull() || V.IsNull() || !VarSameValue(V, Param->Value())) return false;
  }
  return true;
}

bool TArrayDataSet::Accept(int RowIndex) {
  if (!MasterAccepts(FRows[RowIndex])) return false;
  if (!Filtered() || (!FFilterExpr && !OnFilterRecord())) return true;
  TDataSetState Saved = SetTempState(dsFilter);
  bool Accepted = true;
  try {
    FillBuffer(TempBuffer(), RowIndex);
    if (FFilterExpr) Accepted = TExprEvaluator(FilterOptions()).IsTrue(*FFilterExpr->Root());
    if (Accepted && OnFilterRecord()) OnFilterRecord()(this, Accepted);
  } catch (...) {
    RestoreState(Saved);
    throw;
  }
  RestoreState(Saved);
  return Accepted;
}

TGetResult TArrayDataSet::GetRecord(TRecordBuffer Buffer, TGetMode GetMode, bool DoCheck) {
  const int Count = static_cast<int>(FRows.size());
  switch (GetMode) {
    case gmCurrent:
      if (FCursor < 0 || FCursor >= Count || !Accept(FCursor)) {
        if (DoCheck) DatabaseError(DBText::NoDataFound, this);
        return grError;
      }
      break;
    case gmNext:
      do {
        ++FCursor;
      } while (FCursor < Count && !Accept(FCursor));
      if (FCursor >= Count) {
        FCursor = Count;
        return grEOF;
      }
      break;
    case gmPrior:
      if (FCursor > Count) FCursor = Count;
      do {
        --FCursor;
      } while (FCursor >= 0 && !Accept(FCursor));
      if (FCursor < 0) {
        FCursor = -1;
        return grBOF;
      }
      break;
  }
  FillBuffer(Buffer, FCursor);
  return grOK;
}

int TArrayDataSet::FindRow(Int64 Id) const {
  for (std::size_t I = 0; I < FRows.size(); ++I)
    if (FRows[I].Id == Id) return static_cast<int>(I);
  return -1;
}

void TArrayDataSet::GetBookmarkData(TRecordBuffer Buffer, TBookmark& Data) const {
  Data.resize(sizeof(Int64));
  std::memcpy(Data.data(), &Buf(Buffer).Id, sizeof(Int64));
}

void TArrayDataSet::SetBookmarkData(TRecordBuffer Buffer, const TBookmark& Data) {
  if (Data.size() == sizeof(Int64)) std::memcpy(&Buf(Buffer).Id, Data.data(), sizeof(Int64));
}

TBookmarkFlag TArrayDataSet::GetBookmarkFlag(TRecordBuffer Buffer) const { return Buf(Buffer).Flag; }
void TArrayDataSet::SetBookmarkFlag(TRecordBuffer Buffer, TBookmarkFlag Value) { Buf(Buffer).Flag = Value; }

void TArrayDataSet::InternalGotoBookmark(const TBookmark& Bookmark) {
  Int64 Id = 0;
  if (Bookmark.size() == sizeof(Int64)) std::memcpy(&Id, Bookmark.data(), sizeof(Int64));
  int Row = FindRow(Id);
  if (Row < 0) DatabaseError(DBText::RecordNotFound, this);
  FCursor = Row;
}

bool TArrayDataSet::BookmarkValid(const TBookmark& Bookmark) const {
  if (!FOpen || Bookmark.size() != sizeof(Int64)) return false;
  Int64 Id = 0;
  std::memcpy(&Id, Bookmark.data(), sizeof(Int64));
  return FindRow(Id) >= 0;
}

int TArrayDataSet::CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const {
  if (Bookmark1.size() != sizeof(Int64) || Bookmark2.size() != sizeof(Int64))
    return TDataSet::CompareBookmarks(Bookmark1, Bookmark2);
  Int64 A = 0, B = 0;
  std::memcpy(&A, Bookmark1.data(), sizeof(Int64));
  std::memcpy(&B, Bookmark2.data(), sizeof(Int64));
  int RowA = FindRow(A), RowB = FindRow(B);
  return RowA < RowB ? -1 : RowA > RowB ? 1 : 0;
}

void TArrayDataSet::InternalFirst() { FCursor = -1; }
void TArrayDataSet::InternalLast() { FCursor = static_cast<int>(FRows.size()); }

int TArrayDataSet::GetRecordCount() const {
  CheckActive();
  auto* Self = const_cast<TArrayDataSet*>(this);
  int Count = 0;
  for (int I = 0; I < RowCount(); ++I)
    if (Self->Accept(I)) ++Count;
  return Count;
}

int TArrayDataSet::GetRecNo() const {
  CheckActive();
  TBuf* B = StateBuffer();
  if (!B || B->Flag != bfCurrent) return -1;
  auto* Self = const_cast<TArrayDataSet*>(this);
  int No = 0;
  for (int I = 0; I < RowCount(); ++I) {
    if (!Self->Accept(I)) continue;
    ++No;
    if (FRows[I].Id == B->Id) return No;
  }
  return -1;
}

void TArrayDataSet::SetRecNoValue(int Value) {
  CheckBrowseMode();
  if (Value < 1) return;
  int No = 0, Target = -1;
  for (int I = 0; I < RowCount(); ++I) {
    if (!Accept(I)) continue;
    Target = I;  // past the last row stays on the last
    if (++No == Value) break;
  }
  if (Target < 0) return;
  DoBeforeScroll();
  FCursor = Target;
  Resync({rmCenter});
  DoAfterScroll();
}

// ===== open, close =============================================================================

void TArrayDataSet::InternalOpen() {
  if (FieldDefs()->Count() == 0 && Fields()->Count() == 0)
    DatabaseError(DBText::NoFieldsDefined, this);
  if (DefaultFields()) CreateFields();
  BindFields(true);
  SetBookmarkSize(sizeof(Int64));
  FCursor = -1;
  FOpen = true;
  FMasterLink->ApplyMasterValues();
  FMasterLink->RememberRun();
  FilterChanged();
  ++FRunCount;
}

void TArrayDataSet::InternalClose() {
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  FFilterExpr.reset();
  FOpen = false;
  FCursor = -1;
}

// ===== editing =================================================================================

void TArrayDataSet::StoreBuffer(const TBuf& Buffer, TRow& Row) {
  for (int I = 0; I < FieldCount(); ++I) {
    TField* Field = Fields()->Fields(I);
    if (Field->FieldNo() > 0 && I < static_cast<int>(Buffer.Values.size()))
      Row.Values[Field->FieldNo() - 1] = Buffer.Values[I];
  }
}

void TArrayDataSet::InternalAddRecord(TRecordBuffer Buffer, bool Append) {
  TBuf& B = Buf(Buffer);
  TRow Row{FNextId++, std::vector<Variant>(static_cast<std::size_t>(FieldDefs()->Count()), Variant::MakeNull())};
  StoreBuffer(B, Row);
  // Auto-increment fields take the next free number, so the key is readable after posting.
  for (int I = 0; I < FieldDefs()->Count(); ++I) {
    if (FieldDefs()->Items(I)->DataType() != ftAutoInc || !Row.Values[I].IsNull()) continue;
    Int64 Max = 0;
    for (const TRow& Other : FRows)
      if (!Other.Values[I].IsNull()) Max = std::max(Max, Other.Values[I].AsInt64());
    Row.Values[I] = Variant(static_cast<int>(Max + 1));
  }
  int At = static_cast<int>(FRows.size());
  if (!Append && B.Flag != bfEOF) {
    int Current = FindRow(B.Id);
    if (Current >= 0) At = Current;
    else if (B.Flag == bfBOF) At = 0;
  }
  B.Id = Row.Id;
  FRows.insert(FRows.begin() + At, std::move(Row));
  FCursor = At;
}

void TArrayDataSet::InternalPost() {
  TDataSet::InternalPost();
  TBuf& B = Buf(ActiveBuffer());
  if (State() == dsInsert) {
    InternalAddRecord(ActiveBuffer(), B.Flag == bfEOF);
    return;
  }
  int Row = FindRow(B.Id);
  if (Row < 0) DatabaseError(DBText::RecordNotFound, this);
  StoreBuffer(B, FRows[Row]);
  FCursor = Row;
}

void TArrayDataSet::InternalDelete() {
  int Row = FindRow(Buf(ActiveBuffer()).Id);
  if (Row < 0) DatabaseError(DBText::RecordNotFound, this);
  FRows.erase(FRows.begin() + Row);
  FCursor = Row;
}

// ===== filtering ===============================================================================

void TArrayDataSet::FilterChanged() {
  FFilterExpr.reset();
  if (FOpen && Filtered() && !Trim(Filter()).empty())
    FFilterExpr = std::make_unique<TExprParser>(this, Filter(), FilterOptions());
}

void TArrayDataSet::SetFiltered(bool Value) {
  if (Value == Filtered()) return;
  if (Active()) CheckBrowseMode();
  TDataSet::SetFiltered(Value);
  FilterChanged();
  if (Active()) First();
}

void TArrayDataSet::SetFilterText(const String& Value) {
  if (Value == Filter()) return;
  if (Active()) CheckBrowseMode();
  TDataSet::SetFilterText(Value);
  FilterChanged();
  if (Active() && Filtered()) First();
}

void TArrayDataSet::SetOnFilterRecord(TFilterRecordEvent Value) {
  if (Active()) CheckBrowseMode();
  TDataSet::SetOnFilterRecord(std::move(Value));
  if (Active() && Filtered()) First();
}
