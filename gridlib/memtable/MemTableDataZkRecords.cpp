// MemTableDataZkRecords.cpp - records, the records list with its edit cycle and change log.
#include "gridlib/memtable/MemTableDataZk.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <unordered_map>

#include "gridlib/memtable/MTIndexZk.h"
#include "gridlib/memtable/RecordArenaZk.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {
[[noreturn]] void NotInEditMode() { throw EDatabaseError(u"Dataset not in edit or insert mode"); }

const char16_t kOldNotAccessible[] = u"TMemoryRecordZk.GetDataValues: Old values is not accessible.";
const char16_t kEditNotAccessible[] =
    u"TMemoryRecordZk.GetDataValues: Edit values is not accessible.";

bool HasListSeparator(const String& Names) { return Names.find(u';') != String::npos; }
}  // namespace

// --- TMemoryRecordZk -------------------------------------------------------------------------------

void TMemoryRecordZk::operator delete(TMemoryRecordZk* P, std::destroying_delete_t) {
  const std::uint8_t SizeClass = P->FSizeClass;
  P->~TMemoryRecordZk();
  TRecordArenaZk::Free(P, SizeClass);
}

// The record's current values as a TPackedValuesZk for the length of one use: made over the
// block where the record keeps it, and the block's place kept again afterwards (a change may
// have moved it to the heap). Reading through it leaves the record as it was.
class TMemoryRecordZk::TCurrentValues {
public:
  explicit TCurrentValues(const TMemoryRecordZk* Rec)
      : FRec(const_cast<TMemoryRecordZk*>(Rec)), FValues(TRecDataValues::kAdopt, Rec->MarkedValues()) {}
  ~TCurrentValues() { FRec->KeepValues(FValues.ReleaseBlock()); }
  TCurrentValues(const TCurrentValues&) = delete;
  TCurrentValues& operator=(const TCurrentValues&) = delete;
  TRecDataValues& operator*() { return FValues; }
  TRecDataValues* operator->() { return &FValues; }

private:
  TMemoryRecordZk* FRec;
  TRecDataValues FValues;
};

// The room holds at least a pointer: the address of values that moved to the heap.
TMemoryRecordZk::TMemoryRecordZk(TRecordsListZk* AList, std::size_t RoomBytes, std::uint8_t SizeClass)
    : FRecordsList(AList), FSizeClass(SizeClass) {
  KeepValues(TRecDataValues(AList->RecValCount(), RoomStart(), RoomBytes).ReleaseBlock());
}

TMemoryRecordZk::TMemoryRecordZk(TRecordsListZk* AList, const TRecDataValues& Values, std::size_t RoomBytes,
                                 std::uint8_t SizeClass)
    : FRecordsList(AList), FSizeClass(SizeClass) {
  KeepValues(TRecDataValues(Values, RoomStart(), RoomBytes).ReleaseBlock());
}

TMemoryRecordZk::TMemoryRecordZk(TRecordsListZk* AList, TPackedValuesAppenderZk& Values, std::size_t RoomBytes,
                                 std::uint8_t SizeClass)
    : FRecordsList(AList), FSizeClass(SizeClass) {
  KeepValues(TRecDataValues(Values, RoomStart(), RoomBytes).ReleaseBlock());
}

// The side parts of all records, by record. Records of different tables may be used from
// different threads, hence the lock; a record's side part is looked up only while it has one.
struct TMemoryRecordZk::TSideMap {
  std::mutex Lock;
  std::unordered_map<const TMemoryRecordZk*, std::unique_ptr<TSide>> Parts;
};

TMemoryRecordZk::TSideMap& TMemoryRecordZk::SideMap() {
  static TSideMap* Map = new TSideMap;  // never destroyed: records may go after static destruction
  return *Map;
}

TMemoryRecordZk::~TMemoryRecordZk() {
  if (FHasSide) DropSide();
  const TRecDataValues Values(TRecDataValues::kAdopt, MarkedValues());  // freed on leaving
}

// The part is destroyed after the lock is let go, so the lock is not held while its values go.
void TMemoryRecordZk::DropSide() {
  TSideMap& Map = SideMap();
  std::unique_ptr<TSide> Part;
  {
    std::lock_guard<std::mutex> Guard(Map.Lock);
    auto It = Map.Parts.find(this);
    Part = std::move(It->second);
    Map.Parts.erase(It);
  }
  FHasSide = false;
}

int TMemoryRecordZk::Index() const { return FRecordsList ? FRecordsList->IndexOf(this) : -1; }

TMTDataStructZk* TMemoryRecordZk::DataStruct() const { return FRecordsList->DataStruct(); }

TMemoryRecordZk::TSide* TMemoryRecordZk::SidePart() const {
  TSideMap& Map = SideMap();
  std::lock_guard<std::mutex> Guard(Map.Lock);
  return Map.Parts.find(this)->second.get();
}

TMemoryRecordZk::TSide& TMemoryRecordZk::Side() {
  if (FHasSide) return *SidePart();
  TSideMap& Map = SideMap();
  auto Part = std::make_unique<TSide>();
  TSide* Result = Part.get();
  {
    std::lock_guard<std::mutex> Guard(Map.Lock);
    Map.Parts.emplace(this, std::move(Part));
  }
  FHasSide = true;
  return *Result;
}

void TMemoryRecordZk::TrimSide() {
  if (!FHasSide) return;
  const TSide* S = SidePart();
  if (S->OldData || S->EditValues || S->UpdateError || S->UpdateIndex >= 0) return;
  DropSide();
}

void TMemoryRecordZk::SetUpdateError(std::unique_ptr<TUpdateErrorZk> Value) {
  if (!Value && !FHasSide) return;
  Side().UpdateError = std::move(Value);
  TrimSide();
}

void TMemoryRecordZk::SetUpdateIndex(int Value) {
  if (Value < 0 && !FHasSide) return;
  Side().UpdateIndex = Value;
  TrimSide();
}

void TMemoryRecordZk::SetOldData(std::unique_ptr<TRecDataValues> Value) {
  if (!Value && !FHasSide) return;
  Side().OldData = std::move(Value);
  TrimSide();
}

void TMemoryRecordZk::SetEditValues(std::unique_ptr<TRecDataValues> Value) {
  if (!Value && !FHasSide) return;
  Side().EditValues = std::move(Value);
  TrimSide();
}

void TMemoryRecordZk::RestoreOldData() {
  if (FHasSide && SidePart()->OldData) *TCurrentValues(this) = std::move(*SidePart()->OldData);
  SetOldData(nullptr);
}

void TMemoryRecordZk::Edit() {
  if (FEditState != resBrowseZk) return;
  FEditState = resEditZk;
  FEditChanged = false;
  SetEditValues(std::make_unique<TRecDataValues>(*TCurrentValues(this)));
}

void TMemoryRecordZk::Post() {
  if (FEditState == resBrowseZk) NotInEditMode();
  if (FEditState == resInsertZk) {
    FRecordsList->AddRecord(this);
    return;
  }
  const int Index = this->Index();
  FRecordsList->Notify(this, Index, rlnRecChangingZk);
  if (FRecordsList->CachedUpdates()) {
    if (FUpdateStatus == usUnmodified) FUpdateStatus = usModified;
    if (UpdateIndex() < 0) FRecordsList->AppendToLog(this);
    if (FUpdateStatus == usModified && !OldData() && HasEditValues())
      SetOldData(std::make_unique<TRecDataValues>(*SidePart()->EditValues));
  } else {
    FRecordsList->ApplyRecordChange(this, usModified);
  }
  SetEditValues(nullptr);
  FEditState = resBrowseZk;
  FRecordsList->Notify(this, Index, rlnRecChangedZk);
}

void TMemoryRecordZk::Cancel() {
  switch (FEditState) {
    case resBrowseZk:
      NotInEditMode();
    case resInsertZk:
      delete this;
      return;
    case resEditZk:
      *TCurrentValues(this) = std::move(*SidePart()->EditValues);
      SetEditValues(nullptr);
      FEditState = resBrowseZk;
      return;
  }
}

void TMemoryRecordZk::MergeChanges() {
  if (FUpdateStatus == usUnmodified) return;
  if (FUpdateStatus == usDeleted) FRecordsList->PersistRemoveRecord(Index());
  SetOldData(nullptr);
  FUpdateStatus = usUnmodified;
  if (UpdateIndex() >= 0) FRecordsList->DropFromLog(this);
  SetUpdateError(nullptr);
}

void TMemoryRecordZk::RevertRecord() {
  const int Index = this->Index();
  if (FUpdateStatus == usModified) {
    FRecordsList->Notify(this, Index, rlnRecChangingZk);
    RestoreOldData();
    FUpdateStatus = usUnmodified;
    FRecordsList->Notify(this, Index, rlnRecChangedZk);
  } else if (FUpdateStatus == usDeleted) {
    FRecordsList->Notify(this, Index, rlnRecChangingZk);
    FUpdateStatus = usUnmodified;
    // A deleted record kept its old values when it had been edited before (see DeleteRecord).
    if (OldData()) FUpdateStatus = usModified;
    FRecordsList->Notify(this, Index, rlnRecChangedZk);
  }
  SetUpdateError(nullptr);
}

void TMemoryRecordZk::RefreshRecord(const TMemoryRecordZk* Rec) {
  if (FUpdateStatus == usModified)
    SetOldData(std::make_unique<TRecDataValues>(*TCurrentValues(Rec)));
  else if (Rec != this)
    *TCurrentValues(this) = *TCurrentValues(Rec);
}

void TMemoryRecordZk::CheckIndex(int Index) const {
  if (Index < 0 || Index >= ValueCount())
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}

const TRecDataValues* TMemoryRecordZk::SavedValues(TDataValueVersionZk Version) const {
  if (!FHasSide) {
    if (Version == dvvOldValueZk) throw Exception(kOldNotAccessible);
    if (Version == dvvEditValueZk) throw Exception(kEditNotAccessible);
    return nullptr;
  }
  const TRecDataValues* Old = OldData();
  const TRecDataValues* Before = HasEditValues() ? SidePart()->EditValues.get() : nullptr;
  switch (Version) {
    case dvvOldValueZk:
      if (!Old) throw Exception(kOldNotAccessible);
      return Old;
    case dvvCurValueZk:
      return Before;
    case dvvEditValueZk:
      if (!Before) throw Exception(kEditNotAccessible);
      return nullptr;
    case dvvValueZk:
      return nullptr;
    case dvvOldestValue:
      return Old ? Old : Before;
    case dvvRefreshValue:
      return Old;
  }
  return nullptr;
}

Variant TMemoryRecordZk::GetDataValue(int Index, TDataValueVersionZk Version) const {
  CheckIndex(Index);
  const TRecDataValues* Saved = SavedValues(Version);
  return Saved ? Saved->Get(Index) : ValueAt(Index).ToVariant();
}

void TMemoryRecordZk::SetDataValue(int Index, TDataValueVersionZk Version, const Variant& Value) {
  CheckIndex(Index);
  if (const TRecDataValues* Saved = SavedValues(Version))
    return StoreValue(const_cast<TRecDataValues&>(*Saved), DataStruct()->DataFields(Index), Index, Value);
  StoreValue(*TCurrentValues(this), DataStruct()->DataFields(Index), Index, Value);
}

namespace {
bool IsStringType(TVarType T) { return T == varUString || T == varOleStr || T == varString; }
}  // namespace

template <class TStore>
void TMemoryRecordZk::ConvertForType(TVarType VarType, bool AsIs, const Variant& Value, TStore&& Store) {
  if (AsIs || VarType == varVariant || Value.IsNull() || Value.VType() == VarType) {
    Store(Value);
  } else if (Value.IsString() && IsStringType(VarType)) {
    // The string kinds share their text: only the kind changes, the text is not copied.
    Variant Retyped(Value);
    Retyped.SetStringType(VarType);
    Store(Retyped);
  } else if (VarType == (varArray | varByte) && Value.IsString()) {
    // Dataset fields carry binary data as text, one character a byte; the record keeps bytes.
    std::string Bytes;
    BlobTextToBytes(Value.StringRef(), Bytes);
    Store(VarArrayFromBytes(Bytes));
  } else {
    Store(VarAsType(Value, VarType));
  }
}

template <class TStore>
void TMemoryRecordZk::ConvertForField(const TMTDataFieldZk* Field, const Variant& Value, TStore&& Store) {
  ConvertForType(Field->GetVarDataType(), Field->HoldsObjects(), Value, Store);
}

void TMemoryRecordZk::StoreValue(TRecDataValues& Target, const TMTDataFieldZk* Field, int Index,
                                 const Variant& Value) {
  ConvertForField(Field, Value, [&](const Variant& Stored) { Target.Set(Index, Stored); });
}

// --- TRecordValuesBuilderZk ----------------------------------------------------------------------------

TRecordValuesBuilderZk::TRecordValuesBuilderZk(TRecordsListZk* AList)
    : FList(AList), FAppender(AList->RecValCount()) {
  const TMTDataStructZk* Struct = AList->DataStruct();
  FStoreAs.reserve(static_cast<std::size_t>(FAppender.Count()));
  for (int I = 0; I < FAppender.Count(); ++I) {
    const TMTDataFieldZk* Field = Struct->DataFields(I);
    FStoreAs.push_back({Field->GetVarDataType(), Field->HoldsObjects()});
  }
}

TRecordValuesBuilderZk::~TRecordValuesBuilderZk() = default;

void TRecordValuesBuilderZk::SetValue(int Index, const Variant& Value) {
  if (Index < 0 || Index >= FAppender.Count())
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  const TStoreAs& As = FStoreAs[static_cast<std::size_t>(Index)];
  if (!FOutOfOrder && Index >= FAppender.Next()) {
    // A text for a text field takes the field's string kind without a retyped copy.
    if (!As.AsIs && Value.IsString() && IsStringType(As.VarType))
      return FAppender.AppendText(Index, As.VarType, Value.StringRef());
    return TMemoryRecordZk::ConvertForType(As.VarType, As.AsIs, Value,
                                           [&](const Variant& Stored) { FAppender.Append(Index, Stored); });
  }
  if (!FOutOfOrder) FOutOfOrder = std::make_unique<TRecDataValues>(FAppender, nullptr, 0);
  TMemoryRecordZk::ConvertForType(As.VarType, As.AsIs, Value,
                                  [&](const Variant& Stored) { FOutOfOrder->Set(Index, Stored); });
}

TMemoryRecordZk* TRecordValuesBuilderZk::NewRecord() {
  if (!FOutOfOrder) return FList->NewRecord(FAppender);
  TMemoryRecordZk* Rec = FList->NewRecord(*FOutOfOrder);
  FOutOfOrder.reset();
  return Rec;
}

Variant TMemoryRecordZk::GetDataValues(const String& FieldNames,
                                       TDataValueVersionZk Version) const {
  if (Version == dvvOldValueZk && !OldData()) throw Exception(kOldNotAccessible);
  if (!HasListSeparator(FieldNames))
    return GetDataValue(DataStruct()->FieldIndex(FieldNames), Version);
  std::vector<TMTDataFieldZk*> Fields;
  DataStruct()->GetFieldList(&Fields, FieldNames);
  std::vector<Variant> Items;
  for (TMTDataFieldZk* F : Fields) Items.push_back(GetDataValue(F->Index(), Version));
  return VarArrayOf(Items);
}

void TMemoryRecordZk::SetDataValues(const String& FieldNames, TDataValueVersionZk Version,
                                    const Variant& Value) {
  if (!HasListSeparator(FieldNames))
    return SetDataValue(DataStruct()->FieldIndex(FieldNames), Version, Value);
  std::vector<TMTDataFieldZk*> Fields;
  DataStruct()->GetFieldList(&Fields, FieldNames);
  for (std::size_t I = 0; I < Fields.size(); ++I)
    SetDataValue(Fields[I]->Index(), Version, Value[Value.ArrayLowBound() + static_cast<int>(I)]);
}

Variant TMemoryRecordZk::GetIndexedDataValues(const std::vector<int>& Indexes,
                                              TDataValueVersionZk Version) const {
  if (Indexes.size() == 1) return GetDataValue(Indexes[0], Version);
  std::vector<Variant> Items;
  Items.reserve(Indexes.size());
  for (int I : Indexes) Items.push_back(GetDataValue(I, Version));
  return VarArrayOf(Items);
}

// --- TRecordsListZk --------------------------------------------------------------------------------

TRecordsListZk::TRecordsListZk(TMemTableDataZk* AMemTableData)
    : TComponent(nullptr), FIndexes(std::make_unique<TMTIndexesZk>(this)),
      FMemTableData(AMemTableData), FArena(TRecordArenaZk::Create()) {
  ChangeName(u"RecordsList");
}

TRecordsListZk::~TRecordsListZk() {
  for (TMemoryRecordZk* R : FDeletedList) delete R;
  FDeletedList.clear();
  FDeltaList.clear();
  FRecList.ForEach([](TMemoryRecordZk* R) { R->FRecordsList = nullptr; });
  std::vector<TMemoryRecordZk*> Records = FRecList.ToVector();
  FRecList.Clear();
  for (TMemoryRecordZk* R : Records) delete R;
  FIndexes.reset();
  FArena->Detach();
}

TMTDataStructZk* TRecordsListZk::DataStruct() const { return FMemTableData->DataStruct(); }

int TRecordsListZk::RecValCount() const { return DataStruct()->Count(); }

template <class... TValues>
TMemoryRecordZk* TRecordsListZk::MakeRecord(std::size_t Room, TValues&... Values) {
  std::uint8_t SizeClass = 0;
  Room = std::max(Room, sizeof(unsigned char*));
  void* Place = FArena->Allocate(sizeof(TMemoryRecordZk) + Room, SizeClass);
  TMemoryRecordZk* Rec;
  try {
    Rec = ::new (Place) TMemoryRecordZk(this, Values..., Room, SizeClass);
  } catch (...) {
    TRecordArenaZk::Free(Place, SizeClass);
    throw;
  }
  Rec->FHashCode = FNewHashCode++;
  return Rec;
}

TMemoryRecordZk* TRecordsListZk::NewRecord() {
  return MakeRecord(TRecDataValues::kRoomOverhead + 2 + static_cast<std::size_t>(RecValCount()));
}

TMemoryRecordZk* TRecordsListZk::NewRecord(const TRecDataValues& Values) {
  if (Values.Count() != RecValCount()) throw Exception(u"The values do not match the record structure.");
  return MakeRecord(Values.RoomNeeded(), Values);
}

TMemoryRecordZk* TRecordsListZk::NewRecord(TPackedValuesAppenderZk& Values) {
  if (Values.Count() != RecValCount()) throw Exception(u"The values do not match the record structure.");
  return MakeRecord(Values.RoomNeeded(), Values);
}

int TRecordsListZk::AddRecord(TMemoryRecordZk* Rec) { return AttachRecord(Rec, Count(), false, true); }

void TRecordsListZk::InsertRecord(int Index, TMemoryRecordZk* Rec) {
  AttachRecord(Rec, Index, false, false);
}

int TRecordsListZk::FetchRecord(TMemoryRecordZk* Rec) {
  const bool Cached = FCachedUpdates;
  FCachedUpdates = false;
  try {
    int Index = AttachRecord(Rec, Count(), true, true);
    FCachedUpdates = Cached;
    return Index;
  } catch (...) {
    FCachedUpdates = Cached;
    throw;
  }
}

int TRecordsListZk::AttachRecord(TMemoryRecordZk* Rec, int Index, bool Fetching, bool Appending) {
  if (Rec->FRecordsList != this) throw Exception(u"Record.RecordsList is not the same.");
  if (Rec->Attached()) throw Exception(u"The record already attached to RecordsList.");
  if (Appending) Index = Count();
  if (Index < 0 || Index > Count())
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  Notify(Rec, Index, rlnRecAddingZk);
  if (!Fetching) {
    FMemTableData->SetAutoIncValue(Rec);
    if (!FCachedUpdates) ApplyRecordChange(Rec, usInserted);
  }
  FRecList.Insert(Index, Rec);
  if (FCachedUpdates) {
    Rec->FUpdateStatus = usInserted;
    if (Rec->UpdateIndex() < 0) AppendToLog(Rec);
  } else {
    Rec->FUpdateStatus = usUnmodified;
  }
  Rec->FEditState = resBrowseZk;
  Notify(Rec, Index, rlnRecAddedZk);
  return Index;
}

void TRecordsListZk::AppendToLog(TMemoryRecordZk* Rec) {
  FDeltaList.push_back(Rec);
  Rec->SetUpdateIndex(static_cast<int>(FDeltaList.size()) - 1);
}

void TRecordsListZk::DropFromLog(TMemoryRecordZk* Rec) {
  const int Log = Rec->UpdateIndex();
  if (Log >= 0 && Log < static_cast<int>(FDeltaList.size())) FDeltaList[static_cast<std::size_t>(Log)] = nullptr;
  Rec->SetUpdateIndex(-1);
}

void TRecordsListZk::DeleteRecord(int Index) {
  TMemoryRecordZk* Rec = Items(Index);
  if (!FCachedUpdates) return PersistDeleteRecord(Index);
  switch (Rec->FUpdateStatus) {
    case usDeleted:
      throw Exception(u"Can not MarkDel Deleted record");
    case usInserted:
      DropFromLog(Rec);
      return PersistDeleteRecord(Index);
    default:
      // An edited record keeps its original values, so that cancelling the deletion (or
      // the driver locating the provider's row) sees them rather than the edited ones.
      Rec->SetUpdateError(nullptr);
      Rec->FUpdateStatus = usDeleted;
      if (Rec->UpdateIndex() < 0) AppendToLog(Rec);
      Notify(Rec, Index, rlnRecMarkedForDelZk);
  }
}

void TRecordsListZk::PersistDeleteRecord(int Index) {
  TMemoryRecordZk* Rec = Items(Index);
  Notify(Rec, Index, rlnRecDeletingZk);
  if (!FCachedUpdates) ApplyRecordChange(Rec, usDeleted);
  FRecList.Extract(Index);
  Notify(Rec, Index, rlnRecDeletedZk);
  // Gone for good: a change still logged for it (from cached mode) goes with it, rather than
  // refusing to free the record and losing it.
  DropFromLog(Rec);
  FreeRecord(Rec);
}

void TRecordsListZk::PersistRemoveRecord(int Index) {
  TMemoryRecordZk* Rec = Items(Index);
  Notify(Rec, Index, rlnRecDeletingZk);
  FRecList.Extract(Index);
  FDeletedList.push_back(Rec);
  Notify(Rec, Index, rlnRecDeletedZk);
}

void TRecordsListZk::CheckRecordFree(const TMemoryRecordZk* Rec) const {
  if (std::find(FDeletedList.begin(), FDeletedList.end(), Rec) != FDeletedList.end())
    throw Exception(u"Can not delete Record if it present in DeletedList.");
  const int Log = Rec->UpdateIndex();
  if (Log >= 0 && Log < static_cast<int>(FDeltaList.size()) && FDeltaList[static_cast<std::size_t>(Log)] == Rec)
    throw Exception(u"Can not delete Record if it present in CachedUpdate pending list.");
  if (Rec->Attached()) throw Exception(u"Can not delete Record if it present in active list.");
}

void TRecordsListZk::FreeRecord(TMemoryRecordZk* Rec) {
  CheckRecordFree(Rec);
  delete Rec;
}

void TRecordsListZk::RevertRecord(int Index) {
  TMemoryRecordZk* Rec = Items(Index);
  if (Rec->FUpdateStatus == usInserted) {
    DropFromLog(Rec);
    PersistDeleteRecord(Index);
  } else {
    Rec->RevertRecord();
  }
}

void TRecordsListZk::RefreshRecord(int Index, const TMemoryRecordZk* FromRec) {
  Items(Index)->RefreshRecord(FromRec);
}

void TRecordsListZk::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  TMemoryRecordZk* Rec = Items(CurIndex);
  FRecList.Move(CurIndex, NewIndex);
  RecordMoved(Rec, CurIndex, NewIndex);
}

namespace {
// The classic partition sort of the records list and the view; the middle record is the
// pivot. Not stable.
void QuickSortRecords(std::vector<TMemoryRecordZk*>& List, int L, int R,
                      const TCompareRecords& Compare, void* ParamSort) {
  int I;
  do {
    I = L;
    int J = R;
    TMemoryRecordZk* P = List[static_cast<std::size_t>((L + R) / 2)];
    do {
      while (Compare(List[static_cast<std::size_t>(I)], P, ParamSort) < 0) ++I;
      while (Compare(List[static_cast<std::size_t>(J)], P, ParamSort) > 0) --J;
      if (I <= J) {
        std::swap(List[static_cast<std::size_t>(I)], List[static_cast<std::size_t>(J)]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSortRecords(List, L, J, Compare, ParamSort);
    L = I;
  } while (I < R);
}
}  // namespace

void SortRecordsVector(std::vector<TMemoryRecordZk*>& List, const TCompareRecords& Compare,
                       void* ParamSort) {
  if (List.size() > 1) QuickSortRecords(List, 0, static_cast<int>(List.size()) - 1, Compare, ParamSort);
}

void TRecordsListZk::SortData(const TCompareRecords& Compare, void* ParamSort) {
  std::vector<TMemoryRecordZk*> Records = FRecList.ToVector();
  SortRecordsVector(Records, Compare, ParamSort);
  FRecList.Assign(Records);
  Notify(nullptr, -1, rlnListChangedZk);
}

void TRecordsListZk::Clear() {
  // Observers let go of the records before they are freed.
  Notify(nullptr, -1, rlnListChangingZk);
  // Records whose deletion was merged belong to nothing else: they go too.
  for (TMemoryRecordZk* R : FDeletedList) delete R;
  FDeletedList.clear();
  FDeltaList.clear();
  FIndexes->ClearIndexes();
  std::vector<TMemoryRecordZk*> Records = FRecList.ToVector();
  FRecList.Clear();
  for (TMemoryRecordZk* R : Records) {
    R->SetUpdateIndex(-1);
    delete R;
  }
  Notify(nullptr, -1, rlnListChangedZk);
}

void TRecordsListZk::CancelUpdates() {
  Notify(nullptr, -1, rlnListChangingZk);  // inserted records are freed below
  for (int I = Count() - 1; I >= 0; --I) {
    TMemoryRecordZk* Rec = Items(I);
    switch (Rec->FUpdateStatus) {
      case usModified:
        // A modified record without old values has nothing to restore: it counts as
        // unmodified and the walk goes on.
        Rec->RestoreOldData();
        Rec->FUpdateStatus = usUnmodified;
        Rec->SetUpdateIndex(-1);
        break;
      case usInserted:
        DropFromLog(Rec);
        FRecList.Extract(I);
        delete Rec;
        break;
      case usDeleted:
        Rec->RestoreOldData();
        Rec->FUpdateStatus = usUnmodified;
        Rec->SetUpdateIndex(-1);
        break;
      case usUnmodified:
        break;
    }
  }
  FDeltaList.clear();
  Notify(nullptr, -1, rlnListChangedZk);
}

void TRecordsListZk::MergeChangeLog() {
  std::vector<TMemoryRecordZk*> Log = FDeltaList;
  for (TMemoryRecordZk* Rec : Log)
    if (Rec) Rec->MergeChanges();
  std::vector<TMemoryRecordZk*> Deleted;
  Deleted.swap(FDeletedList);
  FDeltaList.clear();
  for (TMemoryRecordZk* Rec : Deleted) delete Rec;
}

void TRecordsListZk::CleanupChangedRecs() {
  std::vector<TMemoryRecordZk*> Deleted;
  Deleted.swap(FDeletedList);
  for (TMemoryRecordZk* Rec : Deleted) delete Rec;
  FDeltaList.erase(std::remove(FDeltaList.begin(), FDeltaList.end(), nullptr), FDeltaList.end());
  for (std::size_t I = 0; I < FDeltaList.size(); ++I) FDeltaList[I]->SetUpdateIndex(static_cast<int>(I));
}

void TRecordsListZk::Notify(TMemoryRecordZk* MemRec, int Index, TRecordsListNotification Action) {
  if (FUpdateCount > 0) return;
  FIndexes->RecordEvent(MemRec, Index, Action);
  FMemTableData->Notify(MemRec, Index, Action);
}

void TRecordsListZk::RecordMoved(TMemoryRecordZk* Item, int OldIndex, int NewIndex) {
  FIndexes->RecordMoved(Item, OldIndex, NewIndex);
  FMemTableData->RecordMoved(Item, OldIndex, NewIndex);
}

void TRecordsListZk::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) Notify(nullptr, -1, rlnListChangedZk);
}

void TRecordsListZk::ApplyRecordChange(TMemoryRecordZk* Rec, TUpdateStatus Status) {
  // Nobody to hand the change to: the shadow would be built and dropped unseen.
  if (!FMemTableData->WantsAppliedChanges()) return;
  TMemTableDataShadowZk Shadow(FMemTableData);
  TRecordsListZk* List = Shadow.RecordsList();
  List->SetCachedUpdates(true);
  const int N = RecValCount();
  auto CopyValues = [N](TMemoryRecordZk* To, const TMemoryRecordZk* From, TDataValueVersionZk V) {
    TMemoryRecordZk::TCurrentValues Values(To);
    for (int I = 0; I < N; ++I) Values->Set(I, From->GetDataValue(I, V));
  };
  TMemoryRecordZk* ShadowRec = List->NewRecord();
  switch (Status) {
    case usModified:
      CopyValues(ShadowRec, Rec, dvvOldestValue);
      List->FetchRecord(ShadowRec);
      ShadowRec->Edit();
      CopyValues(ShadowRec, Rec, dvvValueZk);
      ShadowRec->Post();
      break;
    case usInserted:
      CopyValues(ShadowRec, Rec, dvvValueZk);
      ShadowRec->Post();
      break;
    default:
      CopyValues(ShadowRec, Rec, dvvOldestValue);
      List->FetchRecord(ShadowRec);
      List->DeleteRecord(0);
      break;
  }
  FMemTableData->ApplyUpdates(&Shadow);
  if (Status == usModified || Status == usInserted) CopyValues(Rec, ShadowRec, dvvValueZk);
}
