// DM_MAINReports.cpp - the data module's report commands and the PDF folder and file names.
#include "app/DM_MAIN.h"

#include "app/AppDialogs.h"
#include "app/AppReports.h"
#include "app/DM_MAIN_p.h"
#include "app/Uf_data.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

const char16_t kRecipeReport[] = u"vqrRepColor";
const char16_t kOrderReport[] = u"vqrRepOrd";
const char16_t kColourPriceReport[] = u"vqrRepColorPrice";
const char16_t kMaterialPriceReport[] = u"vqrRepLKMPrice";

}  // namespace

void TDM::PreviewRecipe(TCalcMode Mode, int Recipe) {
  const bool Base = Mode == TCalcMode::BaseMass;
  TADOQuery* Lines = Recipe == 0 ? (Base ? ColorRec1 : ColorRec2) : (Base ? ColorRecA1 : ColorRecA2);
  if (!Reports) return;
  Reports->SetAdapterDataSet(u"vqrDBDSColorRec", Lines);
  Reports->PrepareReport(kRecipeReport, true);
  Reports->ShowReport(kRecipeReport, true);
}

void TDM::PrepareOrderReport() {
  ROrdRec->Close();
  const Variant Id = Ord->FieldByName(u"ID")->Value();
  ROrdRec->Parameters()->ParamByName(u"OrdId1")->SetValue(Id);
  ROrdRec->Parameters()->ParamByName(u"OrdId2")->SetValue(Id);
  ROrdRec->Open();
}

void TDM::PreviewOrder() {
  PrepareOrderReport();
  if (!Reports) return;
  Reports->PrepareReport(kOrderReport, true);
  Reports->ShowReport(kOrderReport, true);
}

void TDM::PrintOrder() {
  PrepareOrderReport();
  if (!Reports) return;
  Reports->PrepareReport(kOrderReport, true);
  Reports->Print(kOrderReport);
}

String TDM::ExportOrderPdf() {
  PrepareOrderReport();
  return ExportPdf(kOrderReport, u"№ " + Ord->FieldByName(u"NUM")->AsString() + u" от " +
                                     Ord->FieldByName(u"DT")->AsString() + u".pdf");
}

void TDM::PreviewColourPriceList() {
  dm_detail::Reopen({RepColor});
  if (!Reports) return;
  Reports->PrepareReport(kColourPriceReport, true);
  Reports->ShowReport(kColourPriceReport, true);
}

String TDM::ExportColourPriceListPdf() {
  dm_detail::Reopen({RepColor});
  return ExportPdf(kColourPriceReport,
                   u"Прайс на каталог цвета от " + DateToStr(Date()) + u".pdf");
}

void TDM::PreviewMaterialPriceList() {
  if (!Reports) return;
  Reports->PrepareReport(kMaterialPriceReport, true);
  Reports->ShowReport(kMaterialPriceReport, true);
}

String TDM::ExportMaterialPriceListPdf() {
  return ExportPdf(kMaterialPriceReport,
                   u"Прайс на лакокрасочные материалы от " + DateToStr(Date()) + u".pdf");
}

// The folder "Report" under the start-up directory is made when it is missing, and a failed
// export is reported: the user learns that no file was written. A cancelled dialog is no
// failure. The result is the file written, which the user may have named otherwise.
String TDM::ExportPdf(const String& Report, const String& FileName) {
  const String Folder = IncludeTrailingPathDelimiter(StartDirectory) + u"Report";
  const String Name = SanitizeFileName(FileName);
  const String Path = IncludeTrailingPathDelimiter(Folder) + Name;
  if (!ForceDirectories(Folder)) {
    ShowAppError(u"Не удалось создать папку \"" + Folder + u"\"");
    return String();
  }
  TPdfExportResult Result;
  if (Reports) {
    Reports->PrepareReport(Report, true);
    Result = Reports->ExportPdf(Report, IncludeTrailingPathDelimiter(Folder), Name);
  }
  if (Result.Status == TPdfExportResult::psCancelled) return String();
  if (Result.Status != TPdfExportResult::psWritten) {
    ShowAppError(u"Не удалось сохранить файл \"" + Path + u"\"");
    return String();
  }
  return Result.Path;
}
