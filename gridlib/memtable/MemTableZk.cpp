// MemTableZk.cpp - the memory table's life cycle, record buffers, bookmarks, navigation and
// the open / close sequences.
#include "gridlib/memtable/MemTableZk.h"

#include <cstring>
#include <limits>

#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MTIndexZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/MemTableZk_p.h"
#include "gridlib/memtable/RefObjectField.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/IndexDefs.h"
#include "platform/db/Params.h"
#include "platform/rtl/SysUtils.h"

TCustomMemTableZk::TCustomMemTableZk(TComponent* AOwner)
    : TDataSet(AOwner),
      FInternMemTableData(std::make_unique<TMemTableDataZk>(nullptr)),
      FRecordsView(std::make_unique<TRecordsViewZk>(this)),
      FFilterExpr(std::make_unique<TDataSetExprParserZk>(this, dsptFilterZk)),
      FParams(std::make_unique<TParams>()),
      FMasterDataLink(std::make_unique<TMasterDataLinkZk>(this)) {
  FInternMemTableData->SetName(u"MemTableData");
  TRecordsViewZk* View = FRecordsView.get();
  View->Aggregates()->Reset(false);  // aggregate fields come into use when the table opens
  View->SetOnFilterRecord([this](TMemoryRecordZk* Rec) { return FilterMemRecord(Rec); });
  View->SetOnGetPrefilteredList([this]() -> const std::vector<TMemoryRecordZk*>* {
    return FDetailRecListActive ? &FDetailRecList : nullptr;
  });
  View->SetOnViewDataEvent([this](TMemoryRecordZk* Rec, int Index, TRecordsListNotification A) {
    ViewDataEvent(Rec, Index, A);
  });
  View->SetOnViewRecordMovedEvent([this](TMemoryRecordZk*, int Old, int New) { ViewRecordMoved(Old, New); });
  View->SetOnFetchRecords([this](int Count) { return FetchFromDriver(Count); });
  View->SetOnApplyUpdates([this](TMemTableDataZk* Data) { ApplyDataChanges(Data, -1); });
  View->SetMemTableData(FInternMemTableData.get());
}

TCustomMemTableZk::~TCustomMemTableZk() {
  Destroying();
  Close();
  FMasterDataLink->SetDataSource(nullptr);
  if (FExternalMemData) FExternalMemData->RemoveFreeNotification(this);
  FRecordsView->SetMemTableData(nullptr);
  if (FDataDriver) {
    FDataDriver->RemoveFreeNotification(this);
    if (FDataDriver->DataDriverConsumer() == this) FDataDriver->SetDataDriverConsumer(nullptr);
  }
  for (TComponent* Receiver : FEventReceivers) Receiver->RemoveFreeNotification(this);
}

TMemTableDataZk* TCustomMemTableZk::MemTableData() const { return FInternMemTableData.get(); }

TMemTableDataZk* TCustomMemTableZk::ViewData() const { return FRecordsView->MemTableData(); }

int TCustomMemTableZk::ViewCount() const { return FRecordsView->Count(); }

TMemoryRecordZk* TCustomMemTableZk::ViewRecord(int Row) const { return FRecordsView->ViewItems(Row); }

void TCustomMemTableZk::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  DataEvent(deDataSetChange, 0);
}

void TCustomMemTableZk::SetParams(TParams* Value) { FParams->Assign(Value); }

// ===== record buffers ============================================================================

TRecBuf& TCustomMemTableZk::RecBufOf(TRecordBuffer Buffer) const {
  return *FRecordCache[static_cast<std::size_t>(Buffer - 1)];
}

TRecordBuffer TCustomMemTableZk::AllocRecordBuffer() {
  std::size_t I = 0;
  while (I < FRecordCache.size() && FRecordCache[I]->InUse) ++I;
  if (I == FRecordCache.size()) FRecordCache.push_back(std::make_unique<TRecBuf>());
  TRecBuf& B = *FRecordCache[I];
  B.InUse = true;
  B.RecordNumber = -2;
  B.SetLength(FieldCount());
  return static_cast<TRecordBuffer>(I + 1);
}

void TCustomMemTableZk::FreeRecordBuffer(TRecordBuffer& Buffer) {
  if (Buffer <= 0) return;
  const std::size_t I = static_cast<std::size_t>(Buffer - 1);
  if (I + 1 == FRecordCache.size() && static_cast<int>(FRecordCache.size()) > BufferCount() + 2) {
    FRecordCache.pop_back();
  } else {
    TRecBuf& B = *FRecordCache[I];
    B.InUse = false;
    B.RecordNumber = -1;
    B.Clear();
    B.RecView = nullptr;
    B.MemRec = nullptr;
    B.UseMemRec = false;
  }
  Buffer = 0;
}

void TCustomMemTableZk::InternalInitRecord(TRecordBuffer Buffer) {
  TRecBuf& B = RecBufOf(Buffer);
  B.SetLength(FieldCount());
  B.RecView = nullptr;
  B.MemRec = nullptr;
  B.UseMemRec = false;
}

void TCustomMemTableZk::InitRecord(TRecordBuffer Buffer) {
  TDataSet::InitRecord(Buffer);
  TRecBuf& B = RecBufOf(Buffer);
  B.Bookmark = std::numeric_limits<std::int32_t>::min();
  B.BookmarkFlag = bfInserted;
  B.RecordNumber = -1;
}

void TCustomMemTableZk::ClearCalcFields(TRecordBuffer Buffer) {
  TRecBuf& B = RecBufOf(Buffer);
  for (int I = 0; I < FieldCount(); ++I) {
    TField* F = Fields()->Fields(I);
    if ((F->FieldKind() == fkCalculated || F->FieldKind() == fkLookup) && I < static_cast<int>(B.Values.size()))
      B.Values[static_cast<std::size_t>(I)] = Variant::MakeNull();
  }
}

void TCustomMemTableZk::FillBufferFromRecord(TMemoryRecordZk* Rec, int RowNum, TRecordBuffer Buffer) {
  TRecBuf& B = RecBufOf(Buffer);
  B.SetLength(FieldCount());
  B.Bookmark = RowNum + 1;
  B.RecordNumber = RowNum;
  B.BookmarkFlag = bfCurrent;
  B.MemRec = Rec;
  B.UseMemRec = true;
  B.RecView = FRecordsView->ViewAsTreeList() && RowNum >= 0
                  ? FRecordsView->MemoryTreeList()->NodeOf(Rec)
                  : nullptr;
  GetCalcFields(Buffer);
}

// Rebuilds the framework's window after the rows were reordered wholesale.
void TCustomMemTableZk::RebuildBuffers() {
  try {
    SetBufListSize(0);
    SetBufListSize(BufferCount() + 1);
  } catch (...) {
    SetState(dsInactive);
    CloseCursor();
    throw;
  }
}

// ===== reading ===================================================================================

TGetResult TCustomMemTableZk::GetRecord(TRecordBuffer Buffer, TGetMode GetMode, bool DoCheck) {
  TGetResult Result = grOK;
  switch (GetMode) {
    case gmCurrent:
      if (FRecordPos < 0 || FRecordPos >= ViewCount()) Result = grError;
      break;
    case gmNext:
      if (FRecordPos >= ViewCount() - 1 && FDataDriver) {
        LockViewResync();
        try {
          FetchFromDriver(FFetchAllOnOpen ? -1 : 1);
        } catch (...) {
          UnlockViewResync(false);
          throw;
        }
        UnlockViewResync(false);
      }
      if (FRecordPos < ViewCount() - 1) {
        ++FRecordPos;
      } else {
        FRecordPos = ViewCount();
        Result = grEOF;
      }
      break;
    case gmPrior:
      if (FRecordPos > 0) {
        if (FRecordPos > ViewCount()) FRecordPos = ViewCount();
        --FRecordPos;
      } else {
        FRecordPos = -1;
        FInstantReadCurRowNum = 0;
        Result = grBOF;
      }
      break;
  }
  if (FRecordPos >= 0) FInstantReadCurRowNum = FRecordPos;
  if (Result == grOK) FillBufferFromRecord(ViewRecord(FRecordPos), FRecordPos, Buffer);
  if (Result == grError && DoCheck) DatabaseError(DBText::NoDataFound, this);
  return Result;
}

// ===== bookmarks =================================================================================

int TCustomMemTableZk::BookmarkToRecNo(const TBookmark& Bookmark) {
  std::int32_t N = 0;
  if (Bookmark.size() >= sizeof(N)) std::memcpy(&N, Bookmark.data(), sizeof(N));
  return N;
}

TBookmark TCustomMemTableZk::RecNoToBookmark(int RecNo) {
  TBookmark Result(sizeof(std::int32_t));
  const std::int32_t N = RecNo;
  std::memcpy(Result.data(), &N, sizeof(N));
  return Result;
}

void TCustomMemTableZk::GetBookmarkData(TRecordBuffer Buffer, TBookmark& Data) const {
  Data = RecNoToBookmark(RecBufOf(Buffer).Bookmark);
}

void TCustomMemTableZk::SetBookmarkData(TRecordBuffer Buffer, const TBookmark& Data) {
  RecBufOf(Buffer).Bookmark = BookmarkToRecNo(Data);
}

TBookmarkFlag TCustomMemTableZk::GetBookmarkFlag(TRecordBuffer Buffer) const {
  return RecBufOf(Buffer).BookmarkFlag;
}

void TCustomMemTableZk::SetBookmarkFlag(TRecordBuffer Buffer, TBookmarkFlag Value) {
  RecBufOf(Buffer).BookmarkFlag = Value;
}

TBookmark TCustomMemTableZk::GetBookmark() const {
  if (!FInstantBuffers.empty()) return RecNoToBookmark(RecBufOf(FInstantBuffers.back()).Bookmark);
  return TDataSet::GetBookmark();
}

bool TCustomMemTableZk::BookmarkValid(const TBookmark& Bookmark) const {
  if (!FActive || Bookmark.size() < sizeof(std::int32_t)) return false;
  const int N = BookmarkToRecNo(Bookmark);
  return N > 0 && ViewCount() >= N;
}

int TCustomMemTableZk::CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const {
  if (Bookmark1.empty() && Bookmark2.empty()) return 0;
  if (Bookmark1.empty()) return -1;
  if (Bookmark2.empty()) return 1;
  const int A = BookmarkToRecNo(Bookmark1), B = BookmarkToRecNo(Bookmark2);
  return A < B ? -1 : A > B ? 1 : 0;
}

void TCustomMemTableZk::InternalGotoBookmark(const TBookmark& Bookmark) {
  const int N = BookmarkToRecNo(Bookmark);
  if (Bookmark.size() < sizeof(std::int32_t) || N < 1 || N > ViewCount())
    DatabaseError(DBText::RecordNotFound, this);
  FRecordPos = N - 1;
  FInstantReadCurRowNum = N - 1;
}

void TCustomMemTableZk::InternalSetToRecord(TRecordBuffer Buffer) {
  InternalGotoBookmark(RecNoToBookmark(RecBufOf(Buffer).Bookmark));
}

// ===== cursor ====================================================================================

void TCustomMemTableZk::InternalFirst() {
  FRecordPos = -1;
  FInstantReadCurRowNum = 0;
}

void TCustomMemTableZk::InternalLast() {
  if (FDataDriver) {
    LockViewResync();
    try {
      FetchFromDriver(-1);
    } catch (...) {
      UnlockViewResync(false);
      throw;
    }
    UnlockViewResync(false);
  }
  FRecordPos = ViewCount();
  const TDataSetState S = State();
  FInstantReadCurRowNum = S == dsEdit || S == dsInsert || S == dsSetKey ? FRecordPos : FRecordPos - 1;
}

int TCustomMemTableZk::GetRecordCount() const {
  CheckActive();
  return ViewCount();
}

int TCustomMemTableZk::GetRecNo() const {
  CheckActive();
  TRecBuf* B = nullptr;
  if (!StateRecBuf(B, false)) return -1;
  return B->RecordNumber + 1;
}

// Leaves edit mode first: moving away with the edit pending would drop it (or post a copy).
void TCustomMemTableZk::SetRecNoValue(int Value) {
  CheckBrowseMode();
  if (Value < 1 || Value > ViewCount()) return;
  DoBeforeScroll();
  FRecordPos = Value - 1;
  Resync({});
  DoAfterScroll();
}

// The deferred-resync bracket ------------------------------------------------------------------

void TCustomMemTableZk::UnlockViewResync(bool DoResync) {
  if (FRecordsViewUpdating > 0) --FRecordsViewUpdating;
  if (DoResync && FRecordsViewUpdating == 0 && FRecordsViewUpdated) {
    FRecordsViewUpdated = false;
    Resync({});
  }
}

void TCustomMemTableZk::Resync(TResyncMode Mode) {
  if (FRecordsViewUpdating > 0) {
    FRecordsViewUpdated = true;
    return;
  }
  TDataSet::Resync(Mode);
}

// ===== open and close ============================================================================

void TCustomMemTableZk::OpenCursor(bool InfoQuery) {
  if (!InfoQuery) {
    if (FDataDriver) {
      if (FMasterDetailSide != mdsOnSelfZk) SetReaderParamsFromMaster();
      FDataSetReader = FDataDriver->GetDataReader();
      if (FDataSetReader) FDataSetReader->FreeNotification(this);
      FDataDriver->BuildDataStruct(ViewData()->DataStruct());
    } else if (ViewData()->DataStruct()->Count() == 0) {
      DatabaseError(MemTableText::NoData, this);
    }
    BuildIndexesFromDefs();
    FActive = true;
  }
  try {
    TDataSet::OpenCursor(InfoQuery);
  } catch (...) {
    if (!InfoQuery) {
      FActive = false;
      FDataSetReader = nullptr;
      if (FDataDriver) FDataDriver->ConsumerClosed(this);
    }
    throw;
  }
}

void TCustomMemTableZk::InternalOpen() {
  SetBookmarkSize(sizeof(std::int32_t));
  FieldDefs()->SetUpdated(false);
  InternalInitFieldDefs();
  if (DefaultFields()) CreateFields();
  BindFields(true);
  if (FieldCount() == 0) DatabaseError(DBText::NoFieldsDefined, this);
  InternalFirst();
  UpdateDetailMode(false);
  ParseFilter();
  InternalRefresh();
  FRecordsView->UpdateFields();
  FRecordsView->Aggregates()->Reset(true);
  FRecordsView->SetSortOrder(FSortOrder);
}

void TCustomMemTableZk::InternalClose() {
  FMasterValList.clear();
  FActive = false;
  FFilterExpr->ParseExpression(String());
  FRecordsView->Aggregates()->Reset(false);
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  FDataSetReader = nullptr;
  if (FDataDriver) FDataDriver->ConsumerClosed(this);
  FRecordsView->SetSortOrder(String());
  FStateInsert = false;
}

void TCustomMemTableZk::InternalInitFieldDefs() {
  ViewData()->DataStruct()->BuildFieldDefsFromStruct(FieldDefs());
}

// The framework creates no field for ftUnknown definitions: the table makes those object
// reference fields itself.
void TCustomMemTableZk::CreateFields() {
  TDataSet::CreateFields();
  for (int I = 0; I < FieldDefs()->Count(); ++I) {
    TFieldDef* Def = FieldDefs()->Items(I);
    if (Def->DataType() != ftUnknown || FindField(Def->Name())) continue;
    auto* F = new TRefObjectField(this);
    F->SetFieldName(Def->Name());
    F->SetDataSet(this);
  }
  TMTDataStructZk* Struct = ViewData()->DataStruct();
  for (int I = 0; I < FieldCount(); ++I) {
    TField* F = Fields()->Fields(I);
    if (TMTDataFieldZk* Def = Struct->FindField(F->FieldName())) {
      if (!Def->DisplayLabel().empty()) F->SetDisplayLabel(Def->DisplayLabel());
      F->SetVisible(Def->Visible());
    }
  }
}

// Each open rebuilds the indexes made from IndexDefs rather than adding them again.
void TCustomMemTableZk::BuildIndexesFromDefs() {
  TMTIndexesZk* Indexes = ViewData()->RecordsList()->Indexes();
  Indexes->Clear();
  TIndexDefs* Defs = IndexDefs();
  for (int I = 0; I < Defs->Count(); ++I) {
    TIndexDef* Def = Defs->Items(I);
    TMTIndexZk* Index = Indexes->Add();
    Index->SetFields(Def->Fields());
    Index->SetUnical(Def->Options().Contains(ixUnique));
    Index->SetPrimary(Def->Options().Contains(ixPrimary));
  }
  for (int I = 0; I < Indexes->Count(); ++I) Indexes->Items(I)->SetActive(true);
}

void TCustomMemTableZk::CreateDataSet() {
  CheckInactive();
  if (FieldDefs()->Count() == 0) InitFieldDefs();
  String AutoIncName;
  if (FieldDefs()->Count() == 0 && FieldCount() > 0) {
    AutoIncName = CheckFieldsForCreate();
    for (int I = 0; I < FieldCount(); ++I) {
      TField* F = Fields()->Fields(I);
      if (F->FieldKind() == fkData) FieldDefs()->Add(F->FieldName(), F->DataType(), F->Size(), F->Required());
    }
  }
  TMemTableDataZk* Data = ViewData();
  Data->DestroyTable();
  Data->DataStruct()->BuildStructFromFieldDefs(FieldDefs());
  if (!AutoIncName.empty())
    if (auto* Inc = dynamic_cast<TMTNumericDataFieldZk*>(Data->DataStruct()->FindField(AutoIncName)))
      Inc->SetAutoIncrement(true);
  Open();
}

// Before anything is dropped: every data field needs a type the records can hold. Answers the
// name of the field whose values the table generates, if any.
String TCustomMemTableZk::CheckFieldsForCreate() const {
  String AutoIncName;
  for (int I = 0; I < FieldCount(); ++I) {
    TField* F = Fields()->Fields(I);
    if (F->FieldKind() != fkData && F->FieldKind() != fkInternalCalc) continue;
    if (!MTDataFieldClassForType(F->DataType()))
      DatabaseError(Format(MemTableText::UnknownFieldType, {F->DisplayName()}), this);
    if (F->AutoGenerateValue() == arAutoInc) AutoIncName = F->FieldName();
  }
  return AutoIncName;
}

void TCustomMemTableZk::ClearData() {
  ViewData()->RecordsList()->Clear();
  ViewData()->AutoIncrement()->Reset();
  FRecordPos = -1;
  FInstantReadCurRowNum = -1;
}

void TCustomMemTableZk::EmptyTable() {
  if (!Active()) return;
  LockViewResync();
  try {
    CheckBrowseMode();
    ClearData();
    ClearBuffers();
  } catch (...) {
    UnlockViewResync(true);
    throw;
  }
  UnlockViewResync(true);
  DataEvent(deDataSetChange, 0);
}

void TCustomMemTableZk::DestroyTable() {
  Close();
  ViewData()->DestroyTable();
}

// ===== links =====================================================================================

void TCustomMemTableZk::SetDataDriver(TDataDriverZk* Value) {
  if (Value == FDataDriver) return;
  if (Value && FExternalMemData) throw Exception(MemTableText::DriverWithExternal);
  if (Active()) Close();
  if (FDataDriver) {
    FDataDriver->RemoveFreeNotification(this);
    if (FDataDriver->DataDriverConsumer() == this) FDataDriver->SetDataDriverConsumer(nullptr);
  }
  FDataDriver = Value;
  if (Value) {
    if (auto* Other = dynamic_cast<TCustomMemTableZk*>(Value->DataDriverConsumer()))
      if (Other != this) Other->SetDataDriver(nullptr);
    Value->SetDataDriverConsumer(this);
    Value->FreeNotification(this);
    DriverStructChanged();
  }
}

void TCustomMemTableZk::DriverStructChanged() { DataEvent(dePropertyChange, 0); }

void TCustomMemTableZk::SetExternalMemData(TCustomMemTableZk* Value) {
  if (Value == FExternalMemData) return;
  if (Value == this) throw Exception(MemTableText::CircularLinks);
  if (Value && FDataDriver) throw Exception(MemTableText::ExternalWithDriver);
  const bool WasActive = Active();
  Close();
  if (FExternalMemData) FExternalMemData->RemoveFreeNotification(this);
  FRecordsView->SetMemTableData(Value ? Value->MemTableData() : FInternMemTableData.get());
  FExternalMemData = Value;
  if (Value) Value->FreeNotification(this);
  if (WasActive) Open();
}

// A freed receiver, reader, driver or external table is forgotten; without its external
// table the view falls back to the own container and the table closes.
void TCustomMemTableZk::Notification(TComponent* AComponent, TOperation Operation) {
  TDataSet::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  FEventReceivers.erase(std::remove(FEventReceivers.begin(), FEventReceivers.end(), AComponent),
                        FEventReceivers.end());
  if (AComponent == FDataSetReader) FDataSetReader = nullptr;
  if (FDataDriver && AComponent == FDataDriver) {
    FDataDriver = nullptr;  // first: the driver is being destroyed, closing must not call it
    if (Active()) Close();
  }
  if (FExternalMemData && AComponent == FExternalMemData) {
    FExternalMemData = nullptr;
    if (Active()) Close();
    FRecordsView->SetMemTableData(FInternMemTableData.get());
  }
}

// ===== registration ==============================================================================

void TCustomMemTableZk::ResetAggField(TField* Field) {
  auto* A = static_cast<TMTAggregateZk*>(static_cast<TAggregateField*>(Field)->Handle());
  if (Field->FieldKind() != fkAggregate || !A) return;
  A->AssignField(static_cast<TAggregateField*>(Field));
  A->Reset();
  A->Recalc();
  if (Active()) DataEvent(deDataSetChange, 0);
}

bool TMemTableZk::AggregatesActive() const { return RecordsView()->Aggregates()->Active(); }

void TMemTableZk::SetAggregatesActive(bool Value) {
  if (Value == AggregatesActive()) return;
  RecordsView()->Aggregates()->SetActive(Value);
  if (Active()) {
    UpdateCursorPos();
    Resync({});
  }
}

REGISTER_CLASS(TCustomMemTableZk) {}

REGISTER_CLASS(TMemTableZk) {
  Class.Property("AggregatesActive", &TMemTableZk::AggregatesActive, &TMemTableZk::SetAggregatesActive, false)
      .Property("CachedUpdates", &TMemTableZk::CachedUpdates, &TMemTableZk::SetCachedUpdates, false)
      .Property("DetailFields", &TMemTableZk::DetailFields, &TMemTableZk::SetDetailFields)
      .Property("FetchAllOnOpen", &TMemTableZk::FetchAllOnOpen, &TMemTableZk::SetFetchAllOnOpen, false)
      .Property("MasterDetailSide", &TMemTableZk::MasterDetailSide, &TMemTableZk::SetMasterDetailSide,
                mdsOnSelfZk)
      .Property("MasterFields", &TMemTableZk::MasterFields, &TMemTableZk::SetMasterFields)
      .Property("MasterSource", &TMemTableZk::MasterSource, &TMemTableZk::SetMasterSource)
      .Property("DataDriver", &TMemTableZk::DataDriver, &TMemTableZk::SetDataDriver)
      .Property("ReadOnly", &TMemTableZk::ReadOnly, &TMemTableZk::SetReadOnly, false)
      .Property("SortOrder", &TMemTableZk::SortOrder, &TMemTableZk::SetSortOrder);
}

void RegisterMemTableClasses() { RegisterClasses({TMemTableZk::ClassInfo(), TRefObjectField::ClassInfo()}); }
