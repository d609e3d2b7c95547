// vqrExportXLS.cpp - the spreadsheet export filter: its properties, the driver's calls and
// the number formats.
#include "report/output/vqrExportXLS.h"

#include <exception>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/shell/Spreadsheet.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassPages.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"
#include "report/output/vqrExcel.h"
#include "report/output/vqrExportMatrix.h"
#include "report/output/vqrExportProgress.h"

namespace {

TvqrXLSExport::TBeforeSaveHook& BeforeSaveHook() {
  static TvqrXLSExport::TBeforeSaveHook Hook;
  return Hook;
}

// Millimetres to the sheet's margin units.
constexpr Extended MarginScale = 2.6L;
// Rows taller than this many pixels are split.
constexpr Extended MaxRowPixels = 537.835L;

}  // namespace

REGISTER_CLASS(TvqrXLSExport) {
  Class.Property("ExportPictures", &TvqrXLSExport::ExportPictures, &TvqrXLSExport::SetExportPictures, true)
      .Property("ExportStyles", &TvqrXLSExport::ExportStyles, &TvqrXLSExport::SetExportStyles, true)
      .Property("MergeCells", &TvqrXLSExport::MergeCells, &TvqrXLSExport::SetMergeCells, true)
      .Property("OpenExcelAfterExport", &TvqrXLSExport::OpenExcelAfterExport,
                &TvqrXLSExport::SetOpenExcelAfterExport, false)
      .Property("Wysiwyg", &TvqrXLSExport::Wysiwyg, &TvqrXLSExport::SetWysiwyg, true)
      .Property("AsText", &TvqrXLSExport::AsText, &TvqrXLSExport::SetAsText, false)
      .Property("Background", &TvqrXLSExport::Background, &TvqrXLSExport::SetBackground, true)
      .Property("FastExport", &TvqrXLSExport::FastExport, &TvqrXLSExport::SetFastExport, true)
      .Property("PageBreaks", &TvqrXLSExport::PageBreaks, &TvqrXLSExport::SetPageBreaks, true)
      .Property("EmptyLines", &TvqrXLSExport::EmptyLines, &TvqrXLSExport::SetEmptyLines, true)
      .Property("ExportEMF", &TvqrXLSExport::ExportEMF, &TvqrXLSExport::SetExportEMF, true)
      .Property("SuppressPageHeadersFooters", &TvqrXLSExport::SuppressHeadersFooters,
                &TvqrXLSExport::SetSuppressHeadersFooters, false);
}

void RegisterXLSExportClasses() { RegisterClasses({TvqrXLSExport::ClassInfo()}); }

TvqrXLSExport::TvqrXLSExport(TComponent* AOwner) : TvqrCustomExportFilter(AOwner) { Init(); }

TvqrXLSExport::TvqrXLSExport(NoRegisterTag Tag) : TvqrCustomExportFilter(Tag) { Init(); }

TvqrXLSExport::~TvqrXLSExport() = default;

void TvqrXLSExport::Init() {
  FilterDesc = StringById(8009);
  DefaultExt = StringById(8010);
}

void TvqrXLSExport::SetBeforeSaveHookForTests(TBeforeSaveHook Hook) {
  BeforeSaveHook() = std::move(Hook);
}

String TvqrXLSExport::GetDescription() { return StringTable()->Get(u"XlsOLEexport"); }

String TvqrXLSExport::ExcelNumberFormat(const String& FormatStr) {
  if (FormatStr.empty()) return String();
  int Decimals = 0;
  const std::size_t Dot = FormatStr.find(u'.');
  if (Dot != String::npos && Dot + 1 < FormatStr.size()) {
    // No number there counts as none (the format "%.n" has 0 decimals).
    const String Digits = FormatStr.substr(Dot + 1, FormatStr.size() - Dot - 2);
    Decimals = StrToIntDef(Digits, 0);
    if (Decimals < 0 || Decimals > 30) Decimals = 0;
  }
  const String Separator(1, FormatSettings.DecimalSeparator);
  const auto Repeat = [&](Char C) { return String(static_cast<std::size_t>(Decimals), C); };
  switch (FormatStr.back()) {
    case u'd': return String(u"#") + Separator + Repeat(u'#');
    case u'f': return String(u"0") + Separator + Repeat(u'0');
    case u'n': return String(u"# ##0") + Separator + Repeat(u'0');
    default: return String();
  }
}

bool TvqrXLSExport::Start() {
  if (SlaveExport) {
    const String Base = Report && !Report->FileName().empty()
                            ? ExtractFileName(Report->FileName())
                            : ExtractFileName(NewTempFileName());
    SetFileName(IncludeTrailingPathDelimiter(SystemTempPath()) +
                ChangeFileExt(Base, StringById(8010)));
  }
  if (FileName().empty()) return false;
  if (ExtractFilePath(FileName()).empty() && !DefaultPath().empty())
    SetFileName(IncludeTrailingPathDelimiter(DefaultPath()) + FileName());

  FFirstPage = true;
  FMatrix = std::make_unique<TvqrIEMatrix>(UseFileCache(), SystemTempPath());
  TvqrIEMatrix& M = *FMatrix;
  M.DotMatrix = Report && Report->DotMatrixReport();
  M.ShowProgress = ShowProgress();
  M.MaxCellHeight = MaxRowPixels;
  M.BackgroundImage = false;
  M.Background = FBackground && FEmptyLines;
  M.RichText = M.PlainRich = !FExportEMF;
  M.Inaccuracy = FWysiwyg ? 0.5L : 10;
  M.RotatedAsImage = false;
  M.DeleteHTMLTags = true;
  M.Printable = ExportNotPrintable();
  M.EmptyLines = FEmptyLines;
  M.EMFPictures = FExportEMF;

  FExcel = std::make_unique<TvqrExcel>();
  try {
    FExcel->OpenExcel();
  } catch (const Exception&) {
    // The stand-in always starts; this is the path for an application that does not.
    FExcel.reset();
    FMatrix.reset();
    ShowErrorBox(u"Microsoft Excel must be installed on this computer!");
    return false;
  }
  return true;
}

void TvqrXLSExport::StartPage(TvqrReportPage* Page, int) {
  if (!FFirstPage) return;
  FPageLeft = Page->LeftMargin() * MarginScale;
  FPageTop = Page->TopMargin() * MarginScale;
  FPageBottom = Page->BottomMargin() * MarginScale;
  FPageRight = Page->RightMargin() * MarginScale;
  FPageOrientation = Page->Orientation();
  FFirstPage = false;
}

void TvqrXLSExport::ExportObject(TvqrComponent* Obj) {
  if (!FMatrix) return;
  if (TvqrPage* Page = Obj->Page()) Page->SetTop(FMatrix->Inaccuracy);
  auto* View = dynamic_cast<TvqrView*>(Obj);
  if (!View || Obj->Name() == u"_pagebackground") return;
  if (!ExportNotPrintable() && !View->Printable()) return;
  if (!dynamic_cast<TvqrCustomMemoView*>(Obj) && !FExportPictures) return;
  FMatrix->AddObject(View);
}

void TvqrXLSExport::FinishPage(TvqrReportPage* Page, int Index) {
  if (!FMatrix) return;
  FMatrix->AddPage(Page->Orientation(), Page->Width(), Page->Height(), Page->LeftMargin(),
                   Page->TopMargin(), Page->RightMargin(), Page->BottomMargin(),
                   Page->MirrorMargins(), Index);
}

void TvqrXLSExport::Finish() {
  const bool Unwinding = std::uncaught_exceptions() > 0;
  struct TRelease {
    TvqrXLSExport* F;
    ~TRelease() {
      F->FProgress.reset();
      F->FMatrix.reset();
      if (F->FExcel) F->FExcel->Release();
      F->FExcel.reset();
    }
  } Release{this};
  if (!FMatrix || !FExcel) return;

  FMatrix->Prepare();
  if (FFastExport)
    ExportFast();
  else
    ExportCellByCell();
  FExcel->SetRange(1, 1, 1, 1);
  if (FExcel->HasRange()) FExcel->Range()->Select();
  if (FOpenExcelAfterExport) FExcel->SetVisible(true);

  String Target = FileName();
  if (ExtractFilePath(Target).empty()) Target = IncludeTrailingPathDelimiter(GetCurrentDir()) + Target;
  if (BeforeSaveHook()) BeforeSaveHook()(FExcel.get());
  std::exception_ptr SaveError;
  try {
    FExcel->WorkBook()->SaveAs(Target, xlNormal, 1);
  } catch (const Exception&) {
    SaveError = std::current_exception();
  }
  FExcel->Excel()->DisplayAlerts = true;
  FExcel->Excel()->ScreenUpdating = true;
  if (FOpenExcelAfterExport) {
    // The shown workbook stays with the desktop's viewer; our model is done.
    FExcel->Release();
  }
  // A failed save reaches the export's error path, unless an error is already on its way.
  if (SaveError && !Unwinding) std::rethrow_exception(SaveError);
}
