// EditRows.cpp - laying out, measuring and painting the rows of a multi-line edit's text.
#include "platform/controls/EditRows.h"

#include <algorithm>

#include "platform/controls/StdCtrls_p.h"
#include "platform/graphics/WinDraw.h"

namespace {

// The length of the line break at Pos: 2 for CR LF, 1 for a lone CR or LF, else 0.
int BreakAt(const String& Text, size_t Pos) {
  if (Pos >= Text.size()) return 0;
  if (Text[Pos] == u'\r') return Pos + 1 < Text.size() && Text[Pos + 1] == u'\n' ? 2 : 1;
  return Text[Pos] == u'\n' ? 1 : 0;
}

bool IsBlank(Char C) { return C == u' ' || C == u'\t'; }

// Appends the rows of the line [From, End) that ends in a break of Break characters.
void WrapLine(TCanvas* Canvas, const String& Text, int From, int End, int Break, int Width,
              bool WordWrap, std::vector<TEditRow>& Rows) {
  while (WordWrap && End - From > 1) {
    int Fit = 0;
    GetTextExtentExPoint(Canvas, Text.substr(size_t(From), size_t(End - From)), Width, &Fit,
                         nullptr);
    if (Fit >= End - From) break;
    int Cut = From + std::max(Fit, 1);
    for (int I = From + Fit; I > From; --I)
      if (IsBlank(Text[size_t(I - 1)])) {
        Cut = I;
        break;
      }
    while (Cut < End && Text[size_t(Cut)] == u' ') ++Cut;
    if (Cut >= End) break;
    Rows.push_back({From, Cut - From, 0});
    From = Cut;
  }
  Rows.push_back({From, End - From, Break});
}

}  // namespace

std::vector<TEditRow> LayoutEditRows(TCanvas* Canvas, const String& Text, int Width,
                                     bool WordWrap) {
  std::vector<TEditRow> Rows;
  size_t Start = 0;
  for (size_t I = 0; I < Text.size();) {
    if (const int B = BreakAt(Text, I)) {
      WrapLine(Canvas, Text, int(Start), int(I), B, Width, WordWrap, Rows);
      I += size_t(B);
      Start = I;
    } else {
      ++I;
    }
  }
  WrapLine(Canvas, Text, int(Start), int(Text.size()), 0, Width, WordWrap, Rows);
  return Rows;
}

int EditRowOf(const std::vector<TEditRow>& Rows, int Index) {
  for (size_t I = 0; I < Rows.size(); ++I)
    if (Index <= Rows[I].Start + Rows[I].Length) return int(I);
  return int(Rows.size()) - 1;
}

int EditRowCharX(TCanvas* Canvas, const String& Text, const TEditRow& Row, int Index) {
  const int End = std::min(Index, Row.Start + Row.Length);
  if (End <= Row.Start) return 0;
  return Canvas->TextWidth(Text.substr(size_t(Row.Start), size_t(End - Row.Start)));
}

int EditRowCharAt(TCanvas* Canvas, const String& Text, const TEditRow& Row, bool LastRow, int X) {
  const bool Wrapped = Row.BreakLength == 0 && !LastRow;
  const int Last = Row.Start + Row.Length - (Wrapped ? 1 : 0);
  const String Chars = Text.substr(size_t(Row.Start), size_t(std::max(Last - Row.Start, 0)));
  return Row.Start + CharIndexAtX(Canvas, Chars, X);
}

void PaintEditRow(TCanvas* Canvas, const String& Text, const TEditRow& Row, TPoint At,
                  int RowHeight, int SelStart, int SelEnd, TColor TextColor) {
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Font()->SetColor(TextColor);
  Canvas->TextOut(At.X, At.Y, Text.substr(size_t(Row.Start), size_t(Row.Length)));
  const int From = std::max(SelStart, Row.Start), To = std::min(SelEnd, Row.Start + Row.Length);
  if (From >= To) return;
  const int X1 = At.X + EditRowCharX(Canvas, Text, Row, From);
  const int X2 = At.X + EditRowCharX(Canvas, Text, Row, To);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clHighlight);
  Canvas->FillRect(Rect(X1, At.Y, X2, At.Y + RowHeight));
  Canvas->Font()->SetColor(clHighlightText);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextOut(X1, At.Y, Text.substr(size_t(From), size_t(To - From)));
}
