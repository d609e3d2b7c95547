// vqrExportPDFDialog.cpp - the PDF export's ShowModal: the options dialog, then the save dialog.
#include "report/output/vqrExportPDF.h"

#include "platform/controls/Dialogs.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClassOptions.h"
#include "report/core/vqrClassReport.h"
#include "report/output/vqrExportPDFDialogForm.h"

int TvqrPDFExport::ShowModal() {
  if (FTitle.empty() && Report) FTitle = Report->ReportOptions()->Name();
  if (Stream) return mrOk;
  FOutline = Report ? Report->PreviewOptions()->OutlineVisible() : true;
  if (TvqrPDFExport::TDialogHook Hook = SetDialogHookForTests(nullptr)) {
    SetDialogHookForTests(Hook);
    return Hook(this);
  }
  if (SlaveExport) FOpenAfterExport = false;
  if (ShowPdfOptionsDialog(this) != mrOk) return mrCancel;
  if (SlaveExport) return mrOk;
  TSaveDialog Save(nullptr);
  Save.SetFilter(FilterDesc);
  Save.SetDefaultExt(DefaultExt);
  if (!DefaultPath().empty()) Save.SetInitialDir(DefaultPath());
  String Proposed = FileName();
  if (Proposed.empty() && Report)
    Proposed = ChangeFileExt(ExtractFileName(Report->FileName()), DefaultExt);
  Save.SetFileName(Proposed);
  TOpenOptions Options = Save.Options();
  if (OverwritePrompt()) Options.Include(ofOverwritePrompt);
  Save.SetOptions(Options);
  if (!Save.Execute()) return mrCancel;
  SetFileName(Save.FileName());
  return mrOk;
}
