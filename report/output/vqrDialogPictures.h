// vqrDialogPictures.h - the small pictures of the print and page-settings dialogs, drawn by
// code: a page in either orientation, the four print modes and the collated or uncollated
// copies. Each draws onto a canvas at a corner, transparent around its sheets.
#pragma once

#include "platform/graphics/Canvas.h"

// A 26 x 32 portrait page (or a 32 x 26 landscape one) with a turned-down corner and a letter.
constexpr int vqrOrientationLong = 32, vqrOrientationShort = 26;
void vqrPaintOrientation(TCanvas* C, int X, int Y, bool Landscape);

// The print modes' pictures, 64 x 32 each, in the order of the print-mode list: one page on one
// sheet, a large page cut over two sheets, two small pages joined on one sheet, a large page
// scaled down to a smaller sheet.
constexpr int vqrPrintModeWidth = 64, vqrPrintModeHeight = 32;
void vqrPaintPrintMode(TCanvas* C, int X, int Y, int Mode);

// Two copies of a three-page job as stacked sheets: "1 2 3" (collated) or "1 1 2".
void vqrPaintCopies(TCanvas* C, int X, int Y, bool Collate);
