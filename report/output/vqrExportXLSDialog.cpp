// vqrExportXLSDialog.cpp - the spreadsheet export's ShowModal (dialog to come).
#include "report/output/vqrExportXLS.h"

int TvqrXLSExport::ShowModal() { return 1; }
