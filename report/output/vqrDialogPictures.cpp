// vqrDialogPictures.cpp - pages, sheets and arrows of the dialogs' pictures.
#include "report/output/vqrDialogPictures.h"

#include "platform/graphics/Colors.h"

namespace {

const TColor PageLine = TColor(0x00A0A0A0);   // the grey "text" lines on a page

void PenAndBrush(TCanvas* C, TColor Pen, TColor Brush) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(Pen);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Brush);
}

// A white sheet with a black edge and grey lines of text across it.
void Sheet(TCanvas* C, const TRect& R, bool Lines = true) {
  PenAndBrush(C, clBlack, clWhite);
  C->Rectangle(R);
  if (!Lines) return;
  PenAndBrush(C, PageLine, PageLine);
  for (int Y = R.Top + 3; Y < R.Bottom - 3; Y += 3) {
    C->MoveTo(R.Left + 3, Y);
    C->LineTo(R.Right - 3, Y);
  }
}

// A right-pointing arrow from (X, Y) to (X + 8, Y).
void ArrowRight(TCanvas* C, int X, int Y) {
  PenAndBrush(C, clNavy, clNavy);
  C->MoveTo(X, Y);
  C->LineTo(X + 6, Y);
  C->Polygon({{X + 5, Y - 3}, {X + 8, Y}, {X + 5, Y + 3}});
}

}  // namespace

void vqrPaintOrientation(TCanvas* C, int X, int Y, bool Landscape) {
  const int W = Landscape ? vqrOrientationLong : vqrOrientationShort;
  const int H = Landscape ? vqrOrientationShort : vqrOrientationLong;
  const int Fold = 7;
  PenAndBrush(C, clBlack, clWhite);
  C->Polygon({{X, Y}, {X + W - 1 - Fold, Y}, {X + W - 1, Y + Fold}, {X + W - 1, Y + H - 1}, {X, Y + H - 1}});
  PenAndBrush(C, clBlack, clSilver);
  C->Polygon({{X + W - 1 - Fold, Y}, {X + W - 1 - Fold, Y + Fold}, {X + W - 1, Y + Fold}});
  C->Font()->SetName(u"Arial");
  C->Font()->SetHeight(-16);
  C->Font()->SetStyle(TFontStyles{fsBold});
  C->Font()->SetColor(clNavy);
  C->Brush()->SetStyle(bsClear);
  const TSize Size = C->TextExtent(u"A");
  C->TextOut(X + (W - Size.cx) / 2, Y + (H - Size.cy) / 2 + 1, u"A");
  C->Brush()->SetStyle(bsSolid);
}

void vqrPaintPrintMode(TCanvas* C, int X, int Y, int Mode) {
  auto At = [X, Y](int L, int T, int R, int B) { return Rect(X + L, Y + T, X + R, Y + B); };
  switch (Mode) {
    case 1:   // a large page cut over two sheets
      Sheet(C, At(0, 0, 24, 32));
      PenAndBrush(C, clRed, clRed);
      for (int Dy = 1; Dy < 31; Dy += 3) {
        C->MoveTo(X + 12, Y + Dy);
        C->LineTo(X + 12, Y + Dy + 2);
      }
      Sheet(C, At(37, 6, 50, 26));
      Sheet(C, At(51, 6, 64, 26));
      break;
    case 2:   // two small pages joined on one sheet
      Sheet(C, At(0, 8, 11, 24));
      Sheet(C, At(13, 8, 24, 24));
      Sheet(C, At(38, 0, 64, 32), false);
      Sheet(C, At(41, 8, 50, 24));
      Sheet(C, At(52, 8, 61, 24));
      break;
    case 3:   // a large page scaled down to a smaller sheet
      Sheet(C, At(0, 0, 24, 32));
      Sheet(C, At(44, 7, 59, 27));
      break;
    default:   // one page on one sheet
      Sheet(C, At(2, 4, 21, 28));
      Sheet(C, At(42, 4, 61, 28));
      break;
  }
  ArrowRight(C, X + 27, Y + 16);
}

void vqrPaintCopies(TCanvas* C, int X, int Y, bool Collate) {
  static const char16_t* const Numbers[2][3] = {{u"1", u"2", u"3"}, {u"1", u"1", u"2"}};
  for (int Index = 0; Index < 3; ++Index) {
    const int L = X + 4 + Index * 28, T = Y + 6 + (Index % 2) * 4;
    Sheet(C, Rect(L, T, L + 22, T + 30), false);
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(clBlack);
    C->TextOut(L + 8, T + 8, Numbers[Collate ? 0 : 1][Index]);
    C->Brush()->SetStyle(bsSolid);
  }
}
