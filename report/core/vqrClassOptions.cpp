// vqrClassOptions.cpp - the option objects, the password prompt, named connections and the
// dataset list.
#include "report/core/vqrClassOptions.h"

#include "platform/classes/Registry.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrUtils.h"

using namespace vqrclass_detail;

REGISTER_CLASS(TvqrEngineOptions) {
  using E = TvqrEngineOptions;
  Class.Property("ConvertNulls", &E::ConvertNulls, &E::SetConvertNulls, true)
      .Property("DoublePass", &E::DoublePass, &E::SetDoublePass, false)
      .Property("MaxMemSize", &E::MaxMemSize, &E::SetMaxMemSize, 10)
      .Property("PrintIfEmpty", &E::PrintIfEmpty, &E::SetPrintIfEmpty, true)
      .Property("SilentMode", &E::SilentMode, &E::SetSilentMode, false)
      .Property("NewSilentMode", &E::NewSilentMode, &E::SetNewSilentMode,
                simMessageBoxes)
      .Property("TempDir", &E::TempDir, &E::SetTempDir)
      .Property("UseFileCache", &E::UseFileCache, &E::SetUseFileCache, false)
      .Property("IgnoreDevByZero", &E::IgnoreDevByZero,
                &E::SetIgnoreDevByZero, false);
}

REGISTER_CLASS(TvqrPreviewOptions) {
  using P = TvqrPreviewOptions;
  Class.Property("AllowEdit", &P::AllowEdit, &P::SetAllowEdit, true)
      .Property("Buttons", &P::Buttons, &P::SetButtons)
      .Property("DoubleBuffered", &P::DoubleBuffered,
                &P::SetDoubleBuffered, true)
      .Property("Maximized", &P::Maximized, &P::SetMaximized, true)
      .Property("MDIChild", &P::MDIChild, &P::SetMDIChild, false)
      .Property("Modal", &P::Modal, &P::SetModal, true)
      .Property("OutlineExpand", &P::OutlineExpand,
                &P::SetOutlineExpand, true)
      .Property("OutlineVisible", &P::OutlineVisible,
                &P::SetOutlineVisible, false)
      .Property("OutlineWidth", &P::OutlineWidth, &P::SetOutlineWidth, 120)
      .Property("PagesInCache", &P::PagesInCache, &P::SetPagesInCache, 50)
      .Property("ThumbnailVisible", &P::ThumbnailVisible,
                &P::SetThumbnailVisible, false)
      .Property("ShowCaptions", &P::ShowCaptions, &P::SetShowCaptions, false)
      .Property("Zoom", &P::Zoom, &P::SetZoom)
      .Property("ZoomMode", &P::ZoomMode, &P::SetZoomMode, zmDefault)
      .Property("PictureCacheInFile", &P::PictureCacheInFile,
                &P::SetPictureCacheInFile, false);
}

REGISTER_CLASS(TvqrPrintOptions) {
  using P = TvqrPrintOptions;
  Class.Property("Copies", &P::Copies, &P::SetCopies, 1)
      .Property("Collate", &P::Collate, &P::SetCollate, true)
      .Property("PageNumbers", &P::PageNumbers, &P::SetPageNumbers)
      .Property("Printer", &P::Printer, &P::SetPrinter)
      .Property("PrintMode", &P::PrintMode, &P::SetPrintMode, pmDefault)
      .Property("PrintOnSheet", &P::PrintOnSheet, &P::SetPrintOnSheet)
      .Property("PrintPages", &P::PrintPages, &P::SetPrintPages, ppAll)
      .Property("Reverse", &P::Reverse, &P::SetReverse, false)
      .Property("ShowDialog", &P::ShowDialog, &P::SetShowDialog, true)
      .Property("SwapPageSize", &P::SwapPageSize, &P::SetSwapPageSize)
      .Stored(false);
}

REGISTER_CLASS(TvqrReportOptions) {
  using R = TvqrReportOptions;
  Class.Property("Author", &R::Author, &R::SetAuthor)
      .Property("Compressed", &R::Compressed, &R::SetCompressed, false)
      .Property("ConnectionName", &R::ConnectionName,
                &R::SetConnectionName)
      .DateTimeProperty("CreateDate", &R::CreateDate,
                        &R::SetCreateDate)
      .Property("Description", &R::Description, &R::SetDescription)
      .Property("InitString", &R::InitString, &R::SetInitString)
      .DateTimeProperty("LastChange", &R::LastChange,
                        &R::SetLastChange)
      .Property("Name", &R::Name, &R::SetName)
      .Property("Password", &R::Password, &R::SetPassword)
      .Property("Picture", &R::Picture, &R::SetPicture)
      .Property("VersionBuild", &R::VersionBuild, &R::SetVersionBuild)
      .Property("VersionMajor", &R::VersionMajor, &R::SetVersionMajor)
      .Property("VersionMinor", &R::VersionMinor, &R::SetVersionMinor)
      .Property("VersionRelease", &R::VersionRelease,
                &R::SetVersionRelease);
}

REGISTER_CLASS(TvqrDataSetItem) {
  Class.Property("DataSetName", &TvqrDataSetItem::DataSetName, &TvqrDataSetItem::SetDataSetName);
}

REGISTER_CLASS(TvqrReportDataSets) {}

// =============================================================================================
// Engine options
// =============================================================================================

TvqrEngineOptions::TvqrEngineOptions() { Clear(); }

void TvqrEngineOptions::Clear() {
  FConvertNulls = true;
  FIgnoreDevByZero = false;
  FDoublePass = false;
}

void TvqrEngineOptions::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrEngineOptions*>(Source);
  if (!Src) return;
  FConvertNulls = Src->FConvertNulls;
  FDoublePass = Src->FDoublePass;
  FMaxMemSize = Src->FMaxMemSize;
  FPrintIfEmpty = Src->FPrintIfEmpty;
  FSilentMode = Src->FSilentMode;
  FTempDir = Src->FTempDir;
  FUseFileCache = Src->FUseFileCache;
  FIgnoreDevByZero = Src->FIgnoreDevByZero;
}

// =============================================================================================
// Preview options
// =============================================================================================

TvqrPreviewButtons TvqrPreviewOptions::DefaultButtons() {
  TvqrPreviewButtons Result;
  for (int B = pbPrint; B <= pbExportQuick; ++B) Result.Include(static_cast<TvqrPreviewButton>(B));
  return Result;
}

TvqrPreviewOptions::TvqrPreviewOptions() {
  Clear();
  FButtons = DefaultButtons();
}

void TvqrPreviewOptions::Clear() {
  FOutlineExpand = true;
  FOutlineVisible = false;
  FOutlineWidth = 120;
  FPagesInCache = 50;
  FThumbnailVisible = false;
}

void TvqrPreviewOptions::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrPreviewOptions*>(Source);
  if (!Src) return;
  FAllowEdit = Src->FAllowEdit;
  FButtons = Src->FButtons;
  FDoubleBuffered = Src->FDoubleBuffered;
  FMaximized = Src->FMaximized;
  FMDIChild = Src->FMDIChild;
  FModal = Src->FModal;
  FOutlineExpand = Src->FOutlineExpand;
  FOutlineVisible = Src->FOutlineVisible;
  FOutlineWidth = Src->FOutlineWidth;
  FPagesInCache = Src->FPagesInCache;
  FThumbnailVisible = Src->FThumbnailVisible;
  FShowCaptions = Src->FShowCaptions;
  FZoom = Src->FZoom;
  FZoomMode = Src->FZoomMode;
  FPictureCacheInFile = Src->FPictureCacheInFile;
  FRTLPreview = Src->FRTLPreview;
}

// =============================================================================================
// Print options
// =============================================================================================

TvqrPrintOptions::TvqrPrintOptions() { Clear(); }

void TvqrPrintOptions::Clear() {
  FCopies = 1;
  FCollate = true;
  FPageNumbers.clear();
  FPagesOnSheet = 0;
  FPrinter = ResText(u"prDefault");
  FPrintMode = pmDefault;
  FPrintOnSheet = 0;
  FPrintPages = ppAll;
  FReverse = false;
  FShowDialog = true;
  FSplicingLine = 3;
}

void TvqrPrintOptions::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrPrintOptions*>(Source);
  if (!Src) return;
  FCopies = Src->FCopies;
  FCollate = Src->FCollate;
  FPageNumbers = Src->FPageNumbers;
  FPrinter = Src->FPrinter;
  FPrintMode = Src->FPrintMode;
  FPrintOnSheet = Src->FPrintOnSheet;
  FPrintPages = Src->FPrintPages;
  FReverse = Src->FReverse;
  FShowDialog = Src->FShowDialog;
  FSplicingLine = Src->FSplicingLine;
}

// =============================================================================================
// Report options
// =============================================================================================

namespace {

TvqrReportOptions::TvqrPasswordPrompt& PasswordPrompt() {
  static TvqrReportOptions::TvqrPasswordPrompt Prompt;
  return Prompt;
}

}  // namespace

String& vqrConnectionsKey() {
  static String Key = u"\\Software\\Quillerant\\Connections";
  return Key;
}

void TvqrReportOptions::SetPasswordPrompt(TvqrPasswordPrompt Prompt) {
  PasswordPrompt() = std::move(Prompt);
}

TvqrReportOptions::TvqrReportOptions(TvqrReport* AReport)
    : FReport(AReport),
      FDescription(std::make_unique<TStringList>()),
      FPicture(std::make_unique<TPicture>()) {
  FCreateDate = Now();
  FLastChange = FCreateDate;
}

TvqrReportOptions::~TvqrReportOptions() = default;

void TvqrReportOptions::Clear() {
  if (!FInfo) {
    FAuthor.clear();
    FCompressed = false;
    FCreateDate = Now();
    FLastChange = FCreateDate;
    FDescription->Clear();
    FPicture->Assign(nullptr);
    FVersionBuild.clear();
    FVersionMajor.clear();
    FVersionMinor.clear();
    FVersionRelease.clear();
  }
  FConnectionName.clear();
  FInitString.clear();
  FName.clear();
  FPassword.clear();
  FPrevPassword.clear();
}

void TvqrReportOptions::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrReportOptions*>(Source);
  if (!Src) return;
  FAuthor = Src->FAuthor;
  FCompressed = Src->FCompressed;
  FConnectionName = Src->FConnectionName;
  FCreateDate = Src->FCreateDate;
  FDescription->Assign(Src->FDescription.get());
  FInitString = Src->FInitString;
  FLastChange = Src->FLastChange;
  FName = Src->FName;
  FPassword = Src->FPassword;
  FPicture->Assign(Src->FPicture.get());
  FVersionBuild = Src->FVersionBuild;
  FVersionMajor = Src->FVersionMajor;
  FVersionMinor = Src->FVersionMinor;
  FVersionRelease = Src->FVersionRelease;
}

// Four places, each that can be opened: the key under the machine's and then the user's
// root, then the key with "FIB" appended under both. Every non-empty value reaches the
// handler, so the last place that holds one wins.
void TvqrReportOptions::SetConnectionName(const String& Value) {
  FConnectionName = Value;
  if (Value.empty() || !FReport || !FReport->OnSetConnection()) return;
  const String Keys[] = {vqrConnectionsKey(), vqrConnectionsKey() + u"FIB"};
  for (const String& Key : Keys) {
    for (HKEY Root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      TRegistry Reg;
      Reg.SetRootKey(Root);
      if (!Reg.OpenKeyReadOnly(Key)) continue;
      const String Conn = Reg.ReadString(Value);
      if (!Conn.empty()) FReport->OnSetConnection()(Conn);
    }
  }
}

bool TvqrReportOptions::CheckPassword() {
  if (FPassword.empty() || FPassword == FPrevPassword) return true;
  String Typed;
  const bool Accepted = PasswordPrompt() && PasswordPrompt()(Typed) && Typed == FPassword;
  if (Accepted) {
    FPrevPassword = FPassword;
    return true;
  }
  if (FReport) {
    FReport->Errors()->Add(ResText(u"Invalid password"));
    ReportError(FReport, ResText(u"clErrors") + u"\r\n" + FReport->Errors()->Text());
  }
  return false;
}

// =============================================================================================
// Dataset list
// =============================================================================================

TvqrDataSetItem::TvqrDataSetItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

namespace {

TvqrReport* ItemReport(const TvqrDataSetItem* Item) {
  auto* List = dynamic_cast<TvqrReportDataSets*>(Item->Collection());
  return List ? List->Report() : nullptr;
}

}  // namespace

void TvqrDataSetItem::SetDataSet(TvqrDataSet* Value) {
  FDataSet = Value;
  FDataSetName = Value ? Value->UserName() : String();
  // The report forgets the entry when the data source goes away.
  if (Value)
    if (TvqrReport* R = ItemReport(this)) Value->FreeNotification(R);
}

String TvqrDataSetItem::DataSetName() const {
  return FDataSet ? FDataSet->UserName() : FDataSetName;
}

void TvqrDataSetItem::SetDataSetName(const String& Value) {
  FDataSetName = Value;
  if (Value.empty()) {
    FDataSet = nullptr;
    return;
  }
  if (TvqrReport* R = ItemReport(this)) FDataSet = R->FindDataSet(FDataSet, Value);
}

TvqrReportDataSets::TvqrReportDataSets(TvqrReport* AReport)
    : TCollection(TvqrDataSetItem::ClassInfo()), FReport(AReport) {}

TvqrDataSetItem* TvqrReportDataSets::Items(int Index) const {
  return static_cast<TvqrDataSetItem*>(TCollection::Items(Index));
}

void TvqrReportDataSets::Add(TvqrDataSet* DataSet) {
  static_cast<TvqrDataSetItem*>(TCollection::Add())->SetDataSet(DataSet);
}

TvqrDataSetItem* TvqrReportDataSets::Find(TvqrDataSet* DataSet) const {
  for (int I = 0; I < Count(); ++I)
    if (Items(I)->DataSet() == DataSet) return Items(I);
  return nullptr;
}

TvqrDataSetItem* TvqrReportDataSets::Find(const String& Name) const {
  for (int I = 0; I < Count(); ++I) {
    TvqrDataSet* DS = Items(I)->DataSet();
    if (DS && SameText(DS->UserName(), Name)) return Items(I);
  }
  return nullptr;
}

void TvqrReportDataSets::Delete(const String& Name) {
  if (TvqrDataSetItem* Item = Find(Name)) delete Item;
}

void TvqrReportDataSets::Initialize() {
  for (int I = 0; I < Count(); ++I)
    if (TvqrDataSet* DS = Items(I)->DataSet()) {
      DS->SetReportRef(FReport);
      DS->Initialize();
    }
}

// Last initialized, first finalized: two sources over one dataset each put their handlers over
// the ones they found, so only this order leaves the dataset with its own handlers again (the
// other order left it calling into the first source, freed with the report).
void TvqrReportDataSets::Finalize() {
  for (int I = Count() - 1; I >= 0; --I)
    if (TvqrDataSet* DS = Items(I)->DataSet()) DS->Finalize();
}
