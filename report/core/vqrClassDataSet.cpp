// vqrClassDataSet.cpp - the data-source base, the event-fed and the aliased data sources and
// the global list of data sources.
#include "report/core/vqrClassDataSet.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrClass_p.h"

using namespace vqrclass_detail;

REGISTER_CLASS(TvqrDataSet) {
  Class.Property("Enabled", &TvqrDataSet::Enabled, &TvqrDataSet::SetEnabled, true)
      .Property("RangeBegin", &TvqrDataSet::RangeBegin, &TvqrDataSet::SetRangeBegin, rbFirst)
      .Property("RangeEnd", &TvqrDataSet::RangeEnd, &TvqrDataSet::SetRangeEnd, reLast)
      .Property("RangeEndCount", &TvqrDataSet::RangeEndCount, &TvqrDataSet::SetRangeEndCount, 0)
      .Property("UserName", &TvqrDataSet::UserName, &TvqrDataSet::SetUserName)
      .Property("OnCheckEOF", &TvqrDataSet::OnCheckEOF, &TvqrDataSet::SetOnCheckEOF)
      .Property("OnFirst", &TvqrDataSet::OnFirst, &TvqrDataSet::SetOnFirst)
      .Property("OnNext", &TvqrDataSet::OnNext, &TvqrDataSet::SetOnNext)
      .Property("OnPrior", &TvqrDataSet::OnPrior, &TvqrDataSet::SetOnPrior);
}

REGISTER_CLASS(TvqrUserDataSet) {
  Class.Property("Fields", &TvqrUserDataSet::Fields, &TvqrUserDataSet::SetFields)
      .Property("OnGetValue", &TvqrUserDataSet::OnGetValue, &TvqrUserDataSet::SetOnGetValue)
      .Property("OnNewGetValue", &TvqrUserDataSet::OnNewGetValue,
                &TvqrUserDataSet::SetOnNewGetValue);
}

REGISTER_CLASS(TvqrCustomDBDataSet) {
  Class.Property("CloseDataSource", &TvqrDataSet::CloseDataSource, &TvqrDataSet::SetCloseDataSource)
      .Property("FieldAliases", &TvqrCustomDBDataSet::FieldAliases,
                &TvqrCustomDBDataSet::SetFieldAliases)
      .Property("OpenDataSource", &TvqrDataSet::OpenDataSource, &TvqrDataSet::SetOpenDataSource,
                true)
      .Property("OnClose", &TvqrDataSet::OnClose, &TvqrDataSet::SetOnClose)
      .Property("OnOpen", &TvqrDataSet::OnOpen, &TvqrDataSet::SetOnOpen);
}

REGISTER_CLASS(TvqrCustomDatabase) {}

// =============================================================================================
// The global list
// =============================================================================================

TvqrGlobalDataSetList* vqrGlobalDataSetList() {
  static TvqrGlobalDataSetList List;
  return &List;
}

const std::vector<TvqrDataSet*>& vqrGlobalDataSets() { return vqrGlobalDataSetList()->Items(); }

void TvqrGlobalDataSetList::Add(TvqrDataSet* DS) {
  std::lock_guard Guard(FLock);
  FItems.push_back(DS);
}

void TvqrGlobalDataSetList::Remove(TvqrDataSet* DS) {
  std::lock_guard Guard(FLock);
  std::erase(FItems, DS);
}

TvqrDataSet* TvqrGlobalDataSetList::Find(TvqrReport* Report, TvqrDataSet* DataSet,
                                         const String& Name) {
  if (Name.empty()) return nullptr;
  if (!Report) return DataSet;
  std::lock_guard Guard(FLock);
  for (TvqrDataSet* DS : FItems) {
    auto* OwnerReport = dynamic_cast<TvqrReport*>(DS->Owner());
    if (OwnerReport && OwnerReport != Report) continue;
    if (AnsiSameText(DS->UserName(), Name)) return DS;
  }
  return DataSet;
}

void TvqrGlobalDataSetList::GetActiveList(TStrings* List) {
  std::lock_guard Guard(FLock);
  List->Clear();
  for (TvqrDataSet* DS : FItems)
    if (!DS->UserName().empty() && DS->Enabled()) List->AddObject(DS->UserName(), DS);
}

// =============================================================================================
// TvqrDataSetRef
// =============================================================================================

void TvqrDataSetRef::Set(TvqrDataSet* Value, TComponent* Holder) {
  DataSet = Value;
  StoredName = Value ? Value->UserName() : String();
  if (Value) Value->FreeNotification(Holder);
}

String TvqrDataSetRef::Name() const { return DataSet ? DataSet->UserName() : StoredName; }

void TvqrDataSetRef::SetName(const String& Value, TvqrComponent* Holder) {
  StoredName = Value;
  DataSet = Holder->FindDataSet(DataSet, Value);
  if (DataSet) DataSet->FreeNotification(Holder);
}

void TvqrDataSetRef::Removed(const TComponent* AComponent) {
  if (AComponent == DataSet) DataSet = nullptr;
}

// =============================================================================================
// TvqrDataSet
// =============================================================================================

TvqrDataSet::TvqrDataSet(TComponent* AOwner) : TvqrDialogComponent(AOwner) {
  vqrGlobalDataSetList()->Add(this);
}

TvqrDataSet::~TvqrDataSet() { vqrGlobalDataSetList()->Remove(this); }

void TvqrDataSet::SetUserName(const String& Value) {
  if (Trim(Value).empty()) throw Exception(ResText(u"prInvProp"));
  FUserName = Value;
}

void TvqrDataSet::SetName(const String& Value) {
  const String OldName = Name();
  inherited::SetName(Value);
  if (!Name().empty() && (FUserName.empty() || FUserName == OldName)) FUserName = Name();
}

String TvqrDataSet::DisplayText(const String&) { return String(); }
int TvqrDataSet::DisplayWidth(const String&) { return 10; }
TvqrFieldType TvqrDataSet::FieldType(const String&) { return fftNumeric; }
Variant TvqrDataSet::Value(const String&) { return Null(); }

void TvqrDataSet::Open() {
  if (FOnOpen) FOnOpen(this);
}

void TvqrDataSet::Close() {
  if (FOnClose) FOnClose(this);
}

void TvqrDataSet::First() {
  FRecNo = 0;
  FEof = false;
  if (FOnFirst) FOnFirst(this);
}

void TvqrDataSet::Next() {
  FEof = false;
  ++FRecNo;
  if (FRangeEnd == reCount && FRecNo >= FRangeEndCount) {
    FRecNo = FRangeEndCount - 1;
    FEof = true;
    return;
  }
  if (FOnNext) FOnNext(this);
}

void TvqrDataSet::Prior() {
  --FRecNo;
  if (FOnPrior) FOnPrior(this);
}

bool TvqrDataSet::Eof() {
  bool Result = FRangeEnd == reCount && (FRecNo >= FRangeEndCount || FEof);
  if (FOnCheckEOF) FOnCheckEOF(this, Result);
  return Result;
}

int TvqrDataSet::RecordCount() {
  return FRangeBegin == rbFirst && FRangeEnd == reCount ? FRangeEndCount : 0;
}

void TvqrDataSet::GetFieldList(TStrings* List) { List->Clear(); }

bool TvqrDataSet::HasField(const String& Name) {
  TStringList List;
  GetFieldList(&List);
  return List.IndexOf(Name) >= 0;
}

// =============================================================================================
// TvqrUserDataSet
// =============================================================================================

TvqrUserDataSet::TvqrUserDataSet(TComponent* AOwner)
    : TvqrDataSet(AOwner), FFields(std::make_unique<TStringList>()) {}

TvqrUserDataSet::~TvqrUserDataSet() = default;

void TvqrUserDataSet::GetFieldList(TStrings* List) { List->Assign(FFields.get()); }

int TvqrUserDataSet::FieldsCount() { return FFields->Count(); }

Variant TvqrUserDataSet::Value(const String& Name) {
  Variant Result = Null();
  if (FOnGetValue) FOnGetValue(Name, Result);
  if (FOnNewGetValue) FOnNewGetValue(this, Name, Result);
  return Result;
}

String TvqrUserDataSet::DisplayText(const String& Name) {
  String Result;
  if (FOnGetValue) {
    Variant V = Null();
    FOnGetValue(Name, V);
    Result = VarToStr(V);
  }
  if (FOnNewGetValue) {
    Variant V = Null();
    FOnNewGetValue(this, Name, V);
    Result = VarToStr(V);
  }
  return Result;
}

// =============================================================================================
// TvqrCustomDBDataSet
// =============================================================================================

TvqrCustomDBDataSet::TvqrCustomDBDataSet(TComponent* AOwner)
    : TvqrDataSet(AOwner),
      FAliases(std::make_unique<TStringList>()),
      FFields(std::make_unique<TStringList>()) {
  FFields->SetSorted(true);
  FFields->SetDuplicates(dupIgnore);
}

TvqrCustomDBDataSet::~TvqrCustomDBDataSet() = default;

namespace {

// The part of an alias line before / after its first "=".
String LineFieldName(const String& Line) {
  const std::size_t Eq = Line.find(u'=');
  return Eq == String::npos ? Line : Line.substr(0, Eq);
}

String LineAlias(const String& Line) {
  const std::size_t Eq = Line.find(u'=');
  return Eq == String::npos ? String() : Line.substr(Eq + 1);
}

}  // namespace

String TvqrCustomDBDataSet::ConvertAlias(const String& Alias) const {
  for (int I = 0; I < FAliases->Count(); ++I) {
    const String Line = FAliases->Strings(I);
    if (AnsiSameText(LineAlias(Line), Alias)) return LineFieldName(Line);
  }
  return Alias;
}

String TvqrCustomDBDataSet::GetAlias(const String& FieldName) const {
  for (int I = 0; I < FAliases->Count(); ++I) {
    const String Line = FAliases->Strings(I);
    if (AnsiSameText(LineFieldName(Line), FieldName)) return LineAlias(Line);
  }
  return FieldName;
}

int TvqrCustomDBDataSet::FieldsCount() {
  TStringList List;
  GetFieldList(&List);
  return List.Count();
}
