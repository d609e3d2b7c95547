// Uf_data.h - the application's small number and file-name routines and the common settings
// of its data grids.
#pragma once

#include "platform/rtl/Types.h"

// Rounds Value to Digits decimals (Digits >= 0) with halves away from zero: multiplies by ten
// to the power Digits, adds one half with the value's sign, drops the fraction toward zero and
// divides back (0.005 gives 0.01, -0.005 gives -0.01).
double RoundToDigits(double Value, int Digits);

// Cleans a PDF file name: keeps the first 100 characters, splits at every run of the
// characters / ? * " \ (none at either end gives no piece), joins the pieces with "-" and
// trims blanks and control characters at both ends. An empty name stays empty.
String SanitizeFileName(const String& Name);

class TCustomDBGridZk;

// Gives a data grid the application's common behaviour: record and rectangle selections but no
// whole columns, copy, paste and select-all as its edit actions, editing and multi-select
// without row selection, Enter as Tab, sort marking, the find dialog, thumb tracking and
// multi-line titles with a margin of 3. The sets are changed as stored values.
void StyleDataGrid(TCustomDBGridZk* Grid);

// ReadOnly: takes away editing and the four allowed operations; otherwise gives them back.
void SetDataGridReadOnly(TCustomDBGridZk* Grid, bool ReadOnly);
