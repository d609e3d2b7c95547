// vqrPaperSizes.h - the table of standard paper codes shared by report pages and the printer
// layer: 66 codes with their portrait sizes in tenths of a millimetre.
#pragma once

#include "platform/rtl/Types.h"

// Paper code 256: the width and height given with it apply; it is never in the table.
constexpr int vqrCustomPaperCode = 256;

struct TvqrPaperSize {
  int Code;
  int Width;   // tenths of a millimetre, portrait
  int Height;  // tenths of a millimetre, portrait
};

// The rows in table order.
const TvqrPaperSize* vqrPaperSizes(int& Count);
// At the first row of that code: Width and Height in millimetres (portrait) and true; false
// and the outputs untouched when no row has it.
bool LookupPaperSize(int PaperCode, Extended& Width, Extended& Height);
