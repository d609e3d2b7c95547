// vqrClassAbstract.cpp - the base behaviour of the engine, outline, page-store and export-filter
// contracts; every abstract operation raises the abstract-method error.
#include "report/core/vqrClassAbstract.h"

#include "platform/classes/TypeRegistry.h"
#include "report/core/vqrDsgnIntf.h"

REGISTER_CLASS(TvqrCustomEngine) {}
REGISTER_CLASS(TvqrCustomOutline) {}

// =============================================================================================
// TvqrCustomEngine
// =============================================================================================

TvqrCustomEngine::TvqrCustomEngine(TvqrReport* AReport)
    : FReport(AReport), FNotifyList(std::make_unique<TList>()) {}

TvqrCustomEngine::~TvqrCustomEngine() = default;

void TvqrCustomEngine::EndPage() { vqrAbstractError(); }
void TvqrCustomEngine::NewColumn() { vqrAbstractError(); }
void TvqrCustomEngine::NewPage() { vqrAbstractError(); }
void TvqrCustomEngine::ShowBand(TvqrBand*) { vqrAbstractError(); }
void TvqrCustomEngine::ShowBand(TClass) { vqrAbstractError(); }
Extended TvqrCustomEngine::HeaderHeight() { vqrAbstractError(); }
Extended TvqrCustomEngine::FooterHeight() { vqrAbstractError(); }
Extended TvqrCustomEngine::FreeSpace() { vqrAbstractError(); }
Variant TvqrCustomEngine::GetAggregateValue(const String&, const String&, TvqrBand*, int) {
  vqrAbstractError();
}
bool TvqrCustomEngine::Run() { vqrAbstractError(); }

void TvqrCustomEngine::ShowBandByName(const String& BandName) {
  ShowBand(dynamic_cast<TvqrBand*>(FReport->FindObject(BandName)));
}

void TvqrCustomEngine::StopReport() { FReport->SetTerminated(true); }

bool TvqrCustomEngine::DoublePass() const { return FReport->EngineOptions()->DoublePass(); }

// =============================================================================================
// TvqrCustomOutline
// =============================================================================================

TvqrCustomOutline::TvqrCustomOutline(TvqrCustomPreviewPages* APreviewPages)
    : FPreviewPages(APreviewPages) {}

int TvqrCustomOutline::Count() const { vqrAbstractError(); }
void TvqrCustomOutline::AddItem(const String&, int) { vqrAbstractError(); }
void TvqrCustomOutline::LevelDown(int) { vqrAbstractError(); }
void TvqrCustomOutline::LevelRoot() { vqrAbstractError(); }
void TvqrCustomOutline::LevelUp() { vqrAbstractError(); }
void TvqrCustomOutline::GetItem(int, String&, int&, int&) { vqrAbstractError(); }
void TvqrCustomOutline::ShiftItems(TvqrXMLItem*, int) { vqrAbstractError(); }
TvqrXMLItem* TvqrCustomOutline::GetCurPosition() { vqrAbstractError(); }

TvqrCustomEngine* TvqrCustomOutline::Engine() const {
  return FPreviewPages ? FPreviewPages->Engine() : nullptr;
}

// =============================================================================================
// TvqrCustomPreviewPages
// =============================================================================================

namespace {

TvqrCustomPreviewPages::TOutlineFactory& OutlineFactory() {
  static TvqrCustomPreviewPages::TOutlineFactory Factory;
  return Factory;
}

}  // namespace

void TvqrCustomPreviewPages::SetOutlineFactory(TOutlineFactory Factory) {
  OutlineFactory() = std::move(Factory);
}

TvqrCustomPreviewPages::TvqrCustomPreviewPages(TvqrReport* AReport) : FReport(AReport) {
  if (OutlineFactory()) FOutline.reset(OutlineFactory()(this));
}

TvqrCustomPreviewPages::~TvqrCustomPreviewPages() = default;

int TvqrCustomPreviewPages::Count() const { vqrAbstractError(); }
TvqrReportPage* TvqrCustomPreviewPages::Page(int) { vqrAbstractError(); }
TPoint TvqrCustomPreviewPages::PageSize(int) { vqrAbstractError(); }
void TvqrCustomPreviewPages::Clear() { vqrAbstractError(); }
void TvqrCustomPreviewPages::Initialize() { vqrAbstractError(); }
void TvqrCustomPreviewPages::AddObject(TvqrComponent*) { vqrAbstractError(); }
void TvqrCustomPreviewPages::AddPage(TvqrReportPage*) { vqrAbstractError(); }
void TvqrCustomPreviewPages::AddSourcePage(TvqrReportPage*) { vqrAbstractError(); }
void TvqrCustomPreviewPages::AddToSourcePage(TvqrComponent*) { vqrAbstractError(); }
void TvqrCustomPreviewPages::BeginPass() { vqrAbstractError(); }
void TvqrCustomPreviewPages::ClearFirstPassPages() { vqrAbstractError(); }
void TvqrCustomPreviewPages::CutObjects(int) { vqrAbstractError(); }
void TvqrCustomPreviewPages::Finish() { vqrAbstractError(); }
void TvqrCustomPreviewPages::IncLogicalPageNumber() { vqrAbstractError(); }
void TvqrCustomPreviewPages::ResetLogicalPageNumber() { vqrAbstractError(); }
void TvqrCustomPreviewPages::PasteObjects(Extended, Extended) { vqrAbstractError(); }
void TvqrCustomPreviewPages::ShiftAnchors(int, int) { vqrAbstractError(); }
void TvqrCustomPreviewPages::AddPicture(TvqrReportComponent*) { vqrAbstractError(); }
bool TvqrCustomPreviewPages::BandExists(TvqrBand*) { vqrAbstractError(); }
int TvqrCustomPreviewPages::GetCurPosition() { vqrAbstractError(); }
int TvqrCustomPreviewPages::GetAnchorCurPosition() { vqrAbstractError(); }
Extended TvqrCustomPreviewPages::GetLastY(Extended) { vqrAbstractError(); }
int TvqrCustomPreviewPages::GetLogicalPageNo() { vqrAbstractError(); }
int TvqrCustomPreviewPages::GetLogicalTotalPages() { vqrAbstractError(); }
void TvqrCustomPreviewPages::AddEmptyPage(int) { vqrAbstractError(); }
void TvqrCustomPreviewPages::DeletePage(int) { vqrAbstractError(); }
void TvqrCustomPreviewPages::ModifyPage(int, TvqrReportPage*) { vqrAbstractError(); }
void TvqrCustomPreviewPages::DrawPage(int, TCanvas*, Extended, Extended, Extended, Extended) {
  vqrAbstractError();
}
void TvqrCustomPreviewPages::ObjectOver(int, int, int, int, Word, Extended, Extended, Extended,
                                        bool, int&, bool) {
  vqrAbstractError();
}
void TvqrCustomPreviewPages::AddFrom(TvqrReport*) { vqrAbstractError(); }
void TvqrCustomPreviewPages::LoadFromStream(TStream*, bool) { vqrAbstractError(); }
void TvqrCustomPreviewPages::SaveToStream(TStream*) { vqrAbstractError(); }
bool TvqrCustomPreviewPages::LoadFromFile(const String&, bool) { vqrAbstractError(); }
void TvqrCustomPreviewPages::SaveToFile(const String&) { vqrAbstractError(); }
bool TvqrCustomPreviewPages::Print() { vqrAbstractError(); }
bool TvqrCustomPreviewPages::Export(TvqrCustomExportFilter*) { vqrAbstractError(); }

// =============================================================================================
// TvqrCustomExportFilter
// =============================================================================================

REGISTER_CLASS(TvqrCustomExportFilter) {
  Class.Property("ShowDialog", &TvqrCustomExportFilter::ShowDialog,
                 &TvqrCustomExportFilter::SetShowDialog, true)
      .Property("FileName", &TvqrCustomExportFilter::FileName, &TvqrCustomExportFilter::SetFileName)
      .Property("ExportNotPrintable", &TvqrCustomExportFilter::ExportNotPrintable,
                &TvqrCustomExportFilter::SetExportNotPrintable, false)
      .Property("UseFileCache", &TvqrCustomExportFilter::UseFileCache,
                &TvqrCustomExportFilter::SetUseFileCache, true)
      .Property("DefaultPath", &TvqrCustomExportFilter::DefaultPath,
                &TvqrCustomExportFilter::SetDefaultPath)
      .Property("ShowProgress", &TvqrCustomExportFilter::ShowProgress,
                &TvqrCustomExportFilter::SetShowProgress, true)
      .Property("OverwritePrompt", &TvqrCustomExportFilter::OverwritePrompt,
                &TvqrCustomExportFilter::SetOverwritePrompt, false)
      .Property("OnBeginExport", &TvqrCustomExportFilter::OnBeginExport,
                &TvqrCustomExportFilter::SetOnBeginExport);
}

TvqrCustomExportFilter::TvqrCustomExportFilter(TComponent* AOwner) : TComponent(AOwner) {
  ExportFilterRegistry()->Register(this);
  SetDefaults();
}

TvqrCustomExportFilter::TvqrCustomExportFilter(NoRegisterTag)
    : TComponent(nullptr), FNoRegister(true) {
  SetDefaults();
}

TvqrCustomExportFilter::~TvqrCustomExportFilter() {
  if (!FNoRegister) ExportFilterRegistry()->Unregister(this);
}

void TvqrCustomExportFilter::SetDefaults() {
  FShowDialog = true;
  FUseFileCache = true;
  FShowProgress = true;
  FOverwritePrompt = false;
}

void TvqrCustomExportFilter::ExportObject(TvqrComponent*) { vqrAbstractError(); }
