// vqrPrinterJob.h - printing the prepared pages of a store on the current printer: the print
// dialog, copies and collation, page lists, odd and even pages, reverse order, duplex, paper
// bins and the four sheet modes (one page per sheet, scaled, split over sheets, joined).
#pragma once

class TvqrPreviewPages;

// True when the job ran; false without a printer, an invalid printer, a cancelled dialog, or
// when the print server refused the job (its message shown in an error box).
bool vqrPrintPreparedPages(TvqrPreviewPages* Store);

// How many pieces of length B cover A (millimetres): the whole count plus one when the rest
// is 11 mm or more, else the rounded quotient.
int vqrFitCount(double A, double B);
