// EditRows.h - the rows of a multi-line edit's text: lines broken at CR LF and, with word wrap,
// at the formatting rectangle's right edge; the row of a character, the character under a
// point and the x of a character in its row; a row painted with its selection. The memo and the
// grid's word-wrapping cell editor share these.
#pragma once

#include <vector>

#include "platform/graphics/Canvas.h"

// Length characters from Start, then a line break of BreakLength characters (0 for a wrapped
// row and the last one).
struct TEditRow {
  int Start, Length, BreakLength;
};

// Text laid out for Width pixels in Canvas's font. A wrapped row breaks after its last blank
// that fits (blanks after it hang on the row), else inside the word, and keeps at least one
// character; a final line break leaves an empty last row.
std::vector<TEditRow> LayoutEditRows(TCanvas* Canvas, const String& Text, int Width,
                                     bool WordWrap);

// The row holding character Index (the last row for an index past the text).
int EditRowOf(const std::vector<TEditRow>& Rows, int Index);

// The x of character Index from its row's left edge, in Canvas's font.
int EditRowCharX(TCanvas* Canvas, const String& Text, const TEditRow& Row, int Index);

// The character of Row nearest to X (measured from the row's left edge); a wrapped row (one
// that is not the last and ends without a line break) ends before the next row's first
// character.
int EditRowCharAt(TCanvas* Canvas, const String& Text, const TEditRow& Row, bool LastRow, int X);

// Paints Row at (X, Y) in Canvas's font and TextColor on the background already filled, the
// characters of [SelStart, SelEnd) on the highlight colour RowHeight pixels high.
void PaintEditRow(TCanvas* Canvas, const String& Text, const TEditRow& Row, TPoint At,
                  int RowHeight, int SelStart, int SelEnd, TColor TextColor);
