// vqrDBSet.cpp - TvqrDBDataset: the adapter's life cycle, record walk, values and blobs.
#include "report/core/vqrDBSet.h"

#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrUnicodeUtils.h"

using namespace vqrclass_detail;

REGISTER_CLASS(TvqrDBDataset) {
  Class.Property("DataSet", &TvqrDBDataset::DataSet, &TvqrDBDataset::SetDataSet)
      .Stored(&TvqrDBDataset::IsDataSetStored)
      .Property("DataSource", &TvqrDBDataset::DataSource, &TvqrDBDataset::SetDataSource)
      .Stored(&TvqrDBDataset::IsDataSetStored)
      .Property("BCDToCurrency", &TvqrDBDataset::BCDToCurrency, &TvqrDBDataset::SetBCDToCurrency,
                false);
}

namespace {

bool IsWideBlob(const TField* F) {
  auto* Blob = dynamic_cast<const TBlobField*>(F);
  if (!Blob) return false;
  const TFieldType T = Blob->BlobType();
  return T == ftWideString || T == ftFixedWideChar || T == ftWideMemo;
}

}  // namespace

TvqrDBDataset::~TvqrDBDataset() {
  // A report freed in the middle of a run must not leave its hooks on the dataset.
  if (FHooksInstalled && FDS) {
    FDS->SetAfterOpen(FSaveOpenEvent);
    FDS->SetBeforeClose(FSaveCloseEvent);
  }
}

void TvqrDBDataset::SetDataSet(TDataSet* Value) {
  FDataSet = Value;
  if (Value) {
    FDataSource = nullptr;
    Value->FreeNotification(this);
  }
  FDS = GetDataSet();
}

void TvqrDBDataset::SetDataSource(TDataSource* Value) {
  FDataSource = Value;
  if (Value) {
    FDataSet = nullptr;
    Value->FreeNotification(this);
  }
  FDS = GetDataSet();
}

bool TvqrDBDataset::IsDataSetStored() const { return Report() == nullptr; }

TDataSet* TvqrDBDataset::GetDataSet() const {
  if (FDataSet) return FDataSet;
  if (FDataSource && FDataSource->DataSet()) return FDataSource->DataSet();
  return nullptr;
}

void TvqrDBDataset::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDataSource) {
    SetDataSource(nullptr);
  } else if (AComponent == FDataSet) {
    FHooksInstalled = false;  // the dataset goes with its handlers
    SetDataSet(nullptr);
  }
}

// --- Life cycle -------------------------------------------------------------------------------

void TvqrDBDataset::Initialize() {
  FDS = GetDataSet();
  if (!FDS) throw Exception(Format(ResText(u"dbNotConn"), {Name()}));
  if (!FHooksInstalled) {
    FSaveOpenEvent = FDS->AfterOpen();
    FSaveCloseEvent = FDS->BeforeClose();
    FDS->SetAfterOpen([this](TDataSet* D) { AfterOpenHook(D); });
    FDS->SetBeforeClose([this](TDataSet* D) { BeforeCloseHook(D); });
    FHooksInstalled = true;
  }
  FRangeEof = false;
  FInitialized = false;
}

void TvqrDBDataset::Open() {
  if (FInitialized) return;
  FInitialized = true;
  FDS->Open();
  AfterOpenHook(nullptr);
  if (RangeBegin() == rbCurrent || RangeEnd() == reCurrent)
    FBookmark = FDS->GetBookmark();
  else
    FBookmark.clear();
  inherited::Open();
}

void TvqrDBDataset::OpenIfNeeded() {
  if (FInitialized) return;
  if (!FDS) throw Exception(Format(ResText(u"dbNotConn"), {Name()}));
  Open();
}

void TvqrDBDataset::AfterOpenHook(TDataSet* D) {
  TStringList* List = Fields();
  GetFieldList(List);
  for (int I = 0; I < List->Count(); ++I)
    List->SetObjects(I, FDS ? FDS->FindField(ConvertAlias(List->Strings(I))) : nullptr);
  if (FSaveOpenEvent && D) FSaveOpenEvent(D);
}

void TvqrDBDataset::BeforeCloseHook(TDataSet* D) {
  if (FSaveCloseEvent && D) FSaveCloseEvent(D);
  FBookmark.clear();
  FInitialized = false;
}

void TvqrDBDataset::Close() {
  inherited::Close();
  BeforeCloseHook(nullptr);
  if (FDS) FDS->Close();
}

void TvqrDBDataset::Finalize() {
  if (!FDS) return;
  if (!FBookmark.empty()) {
    if (FDS->Active()) FDS->GotoBookmark(FBookmark);
    FBookmark.clear();
  }
  if (CloseDataSource()) Close();
  // Only the hooks this run put on the dataset are taken off again: a run that failed
  // before Initialize must leave the application's own handlers alone.
  if (FHooksInstalled) {
    FDS->SetAfterOpen(FSaveOpenEvent);
    FDS->SetBeforeClose(FSaveCloseEvent);
    FHooksInstalled = false;
  }
  FSaveOpenEvent = nullptr;
  FSaveCloseEvent = nullptr;
  FInitialized = false;
}

// --- Record walk ------------------------------------------------------------------------------

void TvqrDBDataset::First() {
  OpenIfNeeded();
  if (RangeBegin() == rbCurrent && !FBookmark.empty())
    FDS->GotoBookmark(FBookmark);
  else
    FDS->First();
  FRangeEof = false;
  inherited::First();
}

void TvqrDBDataset::Next() {
  OpenIfNeeded();
  FRangeEof = false;
  if (RangeEnd() == reCurrent) {
    TBookmark Current = FDS->GetBookmark();
    if (FDS->CompareBookmarks(Current, FBookmark) == 0) {
      FRangeEof = true;
      return;
    }
  }
  FDS->Next();
  inherited::Next();
}

void TvqrDBDataset::Prior() {
  OpenIfNeeded();
  FDS->Prior();
  inherited::Prior();
}

bool TvqrDBDataset::Eof() {
  OpenIfNeeded();
  const bool Base = inherited::Eof();
  return Base || FDS->Eof() || FRangeEof;
}

int TvqrDBDataset::RecordCount() {
  OpenIfNeeded();
  return FDS->RecordCount();
}

// --- Fields and values ------------------------------------------------------------------------

void TvqrDBDataset::GetFieldList(TStrings* List) {
  List->Clear();
  if (FieldAliases()->Count() > 0) {
    for (int I = 0; I < FieldAliases()->Count(); ++I) {
      const String Line = FieldAliases()->Strings(I);
      const std::size_t Eq = Line.find(u'=');
      const String FieldName = Eq == String::npos ? Line : Line.substr(0, Eq);
      if (!FieldName.empty() && FieldName[0] == u'-') continue;
      List->Add(Eq == String::npos ? String() : Line.substr(Eq + 1));
    }
    return;
  }
  TDataSet* DS = GetDataSet();
  if (!DS) return;
  try {
    std::vector<String> Names;
    DS->GetFieldNames(Names);
    for (const String& N : Names) List->Add(N);
    List->BeginUpdate();
    for (int I = 0; I < DS->AggFields()->Count(); ++I)
      List->Add(DS->AggFields()->Fields(I)->FieldName());
    List->EndUpdate();
  } catch (const Exception&) {
    // A dataset that cannot list its fields leaves what was added so far.
  }
}

TField* TvqrDBDataset::AliasField(const String& Alias, bool& Found) const {
  int Index = -1;
  Found = Fields()->Find(Alias, Index);
  return Found ? dynamic_cast<TField*>(Fields()->Objects(Index)) : nullptr;
}

String TvqrDBDataset::FieldReference(const String& Alias) const {
  return UserName() + u".\"" + Alias + u"\"";
}

void TvqrDBDataset::AddFieldNotFound(const String& Alias) {
  TvqrReport* R = ReportRef() ? ReportRef() : Report();
  if (!R) return;
  R->Errors()->Add(R->CurObject() + u": " + ResText(u"dbFldNotFound") + u" " +
                   FieldReference(Alias));
}

Variant TvqrDBDataset::Value(const String& Alias) {
  OpenIfNeeded();
  bool Found = false;
  TField* F = AliasField(Alias, Found);
  // An alias listed but missing from the dataset reads as an unknown one.
  if (!F) {
    AddFieldNotFound(Alias);
    return Null();
  }
  if (dynamic_cast<TBCDField*>(F)) {
    if (F->IsNull()) return Null();
    return FBCDToCurrency ? Variant(F->AsCurrency()) : Variant(F->AsFloat());
  }
  if (dynamic_cast<TLargeintField*>(F)) {
    if (F->IsNull()) return Null();
    return Variant(F->AsLargeInt());
  }
  // No SQL time-stamp field class exists: date-time fields pass their variant below.
  if (dynamic_cast<TBlobField*>(F)) return Variant(F->AsString());
  return F->Value();
}

String TvqrDBDataset::DisplayText(const String& Alias) {
  OpenIfNeeded();
  if (!FDS || !FDS->Active()) return FieldReference(Alias);
  if (Fields()->Count() == 0) return FDS->FieldByName(Alias)->DisplayText();
  bool Found = false;
  TField* F = AliasField(Alias, Found);
  if (!F) {
    AddFieldNotFound(Alias);
    return ResText(u"dbFldNotFound") + u" " + FieldReference(Alias);
  }
  if (dynamic_cast<TWideStringField*>(F) || IsWideBlob(F)) return VarToStr(F->Value());
  return F->DisplayText();
}

int TvqrDBDataset::DisplayWidth(const String& Alias) {
  const String FieldName = ConvertAlias(Alias);
  TDataSet* DS = GetDataSet();
  if (!DS) return 10;
  if (TField* F = DS->FindField(FieldName)) return F->DisplayWidth();
  try {
    DS->FieldDefs()->Update();
  } catch (const Exception&) {
    // Definitions that cannot be refreshed are searched as they are.
  }
  TFieldDef* Def = DS->FieldDefs()->Find(FieldName);
  switch (Def->DataType()) {
    case ftString:
    case ftWideString:
      return Def->Size();
    case ftDateTime:
      return 20;
    case ftLargeint:
      return 15;
    default:
      return 10;
  }
}

TvqrFieldType TvqrDBDataset::FieldType(const String& Alias) {
  TDataSet* DS = GetDataSet();
  TField* F = DS ? DS->FindField(ConvertAlias(Alias)) : nullptr;
  if (!F) return fftNumeric;
  switch (F->DataType()) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftFixedWideChar:
    case ftMemo:
    case ftWideMemo:
    case ftFmtMemo:
      return fftString;
    case ftBoolean:
      return fftBoolean;
    default:
      return fftNumeric;
  }
}

bool TvqrDBDataset::IsBlobField(const String& Alias) {
  OpenIfNeeded();
  bool Found = false;
  TField* F = AliasField(Alias, Found);
  return F && dynamic_cast<TBlobField*>(F);
}

void TvqrDBDataset::AssignBlobTo(const String& Alias, TObject* Obj) {
  OpenIfNeeded();
  int Index = -1;
  if (!Fields()->Find(Alias, Index))
    throw EStringListError(Format(u"List index out of bounds (%d)", {Index}));
  auto* F = dynamic_cast<TBlobField*>(Fields()->Objects(Index));
  if (!F) return;
  if (auto* Wide = dynamic_cast<TvqrWideStrings*>(Obj)) {
    if (F->BlobType() == ftWideMemo) {
      Wide->SetText(F->AsString());
    } else {
      TStringList Lines;
      Lines.SetText(F->AsString());
      Wide->Assign(&Lines);
    }
  } else if (auto* Stream = dynamic_cast<TStream*>(Obj)) {
    const std::string Bytes =
        F->BlobType() == ftWideMemo ? StringToUtf8(F->AsString()) : F->AsBytes();
    Stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    Stream->SetPosition(0);
  }
}
