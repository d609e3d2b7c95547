// Uf_data.h - the application's small number and file-name routines.
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
