// vqrExportPDFDialogForm.h - TvqrPDFExportDialog, the PDF export's options dialog (export
// settings and page range, document information, security, viewer preferences).
#pragma once

class TvqrPDFExport;

// Shows the options dialog over Filter's properties; on OK writes them back. The modal result.
int ShowPdfOptionsDialog(TvqrPDFExport* Filter);
