// vqrExportPDFDialogForm.cpp - the PDF export's options dialog.
#include "report/output/vqrExportPDFDialogForm.h"

#include "platform/controls/Controls.h"

int ShowPdfOptionsDialog(TvqrPDFExport*) { return mrOk; }
