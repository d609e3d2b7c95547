// vqrClassViewsDraw.cpp - drawing a view's background and frame, the shapes and the
// subreport on any canvas at a scale and an offset.
#include <cmath>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/Math.h"
#include "report/core/vqrClass.h"

namespace {

int RoundI(Extended X) { return static_cast<int>(Round(X)); }

// Frame styles beyond solid map to the pen style of the same ordinal; the two drawn dotted
// styles (alternate dots, squares) use the dotted pen.
TPenStyle PenStyleOf(TvqrFrameStyle Style) {
  switch (Style) {
    case fsDash: return psDash;
    case fsDot: return psDot;
    case fsDashDot: return psDashDot;
    case fsDashDotDot: return psDashDotDot;
    case fsAltDot:
    case fsSquare: return psDot;
    default: return psSolid;
  }
}

}  // namespace

// =============================================================================================
// TvqrView
// =============================================================================================

void TvqrView::Draw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY, Extended AOffsetX,
                    Extended AOffsetY) {
  BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  DrawBackground();
  DrawFrame();
}

void TvqrView::BeginDraw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY, Extended AOffsetX,
                         Extended AOffsetY) {
  Canvas = ACanvas;
  ScaleX = AScaleX;
  ScaleY = AScaleY;
  OffsetX = AOffsetX;
  OffsetY = AOffsetY;
  X = RoundI(OffsetX + ScaleX * AbsLeft());
  Y = RoundI(OffsetY + ScaleY * AbsTop());
  X1 = RoundI(OffsetX + ScaleX * (AbsLeft() + Width()));
  Y1 = RoundI(OffsetY + ScaleY * (AbsTop() + Height()));
  if (Frame()->DropShadow()) {
    X1 -= RoundI(ScaleX * Frame()->ShadowWidth());
    Y1 -= RoundI(ScaleY * Frame()->ShadowWidth());
  }
  DX = X1 - X;
  DY = Y1 - Y;
  FrameWidth = RoundI(ScaleX * Frame()->Width());
}

void TvqrView::DrawBackground() {
  Canvas->Brush()->SetStyle(FBrushStyle);
  if (FColor != clNone) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(FColor);
    Canvas->FillRect(Rect(X, Y, X1, Y1));
  }
  if (FBrushStyle >= bsHorizontal && FBrushStyle <= bsDiagCross) {
    Canvas->Brush()->SetStyle(FBrushStyle);
    Canvas->Brush()->SetColor(Frame()->Color());
    Canvas->Rectangle(X, Y, X1 + 1, Y1 + 1);
    Canvas->Brush()->SetStyle(bsSolid);
  }
}

void TvqrView::DrawThickLine(int AX, int AY, int AX1, int AY1, int W) {
  if (W == 0) W = 1;
  const bool Horizontal = std::abs(AX1 - AX) > std::abs(AY1 - AY);
  const int From = -(W / 2);
  const int To = W / 2 - (W % 2 == 0 ? 1 : 0);
  for (int K = From; K <= To; ++K) {
    if (Horizontal) {
      Canvas->MoveTo(AX, AY + K);
      Canvas->LineTo(AX1, AY1 + K);
    } else {
      Canvas->MoveTo(AX + K, AY);
      Canvas->LineTo(AX1 + K, AY1);
    }
  }
}

void TvqrView::SetFramePen(TvqrFrameLine* Line) {
  TPen* Pen = Canvas->Pen();
  Pen->SetColor(Line->Color());
  if (Line->Style() == fsSolid || Line->Style() == fsDouble) {
    Pen->SetStyle(psSolid);
    Pen->SetWidth(RoundI(Line->Width() * ScaleX));
  } else {
    Pen->SetStyle(PenStyleOf(Line->Style()));
    Pen->SetWidth(1);
  }
}

void TvqrView::DrawFrame() {
  TvqrFrame* F = Frame();
  if (F->DropShadow()) {
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(F->ShadowColor());
    const int S = RoundI(F->ShadowWidth() * ScaleX);
    DrawThickLine(X1 + S / 2, Y + S, X1 + S / 2, Y1, S);
    const int T = RoundI(F->ShadowWidth() * ScaleY);
    DrawThickLine(X + T, Y1 + T / 2, X1 + T, Y1 + T / 2, T);
  }
  if (F->Typ().Empty() || F->Color() == clNone || F->Width() == 0) return;
  Canvas->Brush()->SetStyle(bsSolid);
  if (F->Style() != fsSolid) {
    if (FColor == clNone) {
      Canvas->Brush()->SetStyle(bsClear);
    } else {
      Canvas->Brush()->SetColor(FColor);
    }
  }
  const TvqrFrameTypes Typ = F->Typ();
  const bool HasLeft = Typ.Contains(ftLeft), HasRight = Typ.Contains(ftRight);
  const bool HasTop = Typ.Contains(ftTop), HasBottom = Typ.Contains(ftBottom);
  if (HasLeft) {
    SetFramePen(F->LeftLine());
    const int A = Canvas->Pen()->Width() == 2 && F->Style() != fsSolid ? 1 : 0;
    DrawFrameLine(X, Y - A, X, Y1, F->LeftLine(), 0, HasTop, HasBottom);
  }
  if (HasRight) {
    SetFramePen(F->RightLine());
    DrawFrameLine(X1, Y, X1, Y1, F->RightLine(), 1, HasTop, HasBottom);
  }
  if (HasTop) {
    SetFramePen(F->TopLine());
    DrawFrameLine(X, Y, X1, Y, F->TopLine(), 2, HasLeft, HasRight);
  }
  if (HasBottom) {
    SetFramePen(F->BottomLine());
    const int B = Canvas->Pen()->Width() == 1 && F->Style() != fsSolid ? 1 : 0;
    DrawFrameLine(X, Y1, X1 + B, Y1, F->BottomLine(), 3, HasLeft, HasRight);
  }
}

void TvqrView::DrawFrameLine(int AX, int AY, int AX1, int AY1, TvqrFrameLine* Line, int Side,
                             bool HasStart, bool HasEnd) {
  const int W = RoundI(Line->Width() * ScaleX);
  const bool Vertical = Side < 2;
  const TvqrFrameStyle Style = Line->Style();
  if (Style == fsSolid || Style == fsDouble) {
    // An end without a neighbouring side is pulled in by half the width.
    if (!HasStart) (Vertical ? AY : AX) += W / 2;
    if (!HasEnd) (Vertical ? AY1 : AX1) -= W / 2;
  }
  if (Style == fsSolid) {
    Canvas->Pen()->SetWidth(W);
    Canvas->MoveTo(AX, AY);
    Canvas->LineTo(AX1, AY1);
    return;
  }
  if (Style == fsDouble) {
    Canvas->Pen()->SetWidth(W);
    const int D1 = HasStart ? W : 0, D2 = HasEnd ? W : 0;
    // Left and top: the outer (-W) line runs beyond the ends; right and bottom: the +W one.
    const bool OuterFirst = Side == 0 || Side == 2;
    auto Stroke = [&](int Offset, bool Beyond) {
      const int S = Beyond ? -D1 : D1, E = Beyond ? D2 : -D2;
      if (Vertical) {
        Canvas->MoveTo(AX + Offset, AY + S);
        Canvas->LineTo(AX1 + Offset, AY1 + E);
      } else {
        Canvas->MoveTo(AX + S, AY + Offset);
        Canvas->LineTo(AX1 + E, AY1 + Offset);
      }
    };
    Stroke(-W, OuterFirst);
    if (FColor != clNone) {
      Canvas->Pen()->SetColor(FColor);
      Canvas->MoveTo(AX, AY);
      Canvas->LineTo(AX1, AY1);
      Canvas->Pen()->SetColor(Line->Color());
    }
    Stroke(W, !OuterFirst);
    return;
  }
  if (Style == fsAltDot || Style == fsSquare) {
    if (FColor != clNone) {
      Canvas->Pen()->SetColor(FColor);
      Canvas->Pen()->SetStyle(psSolid);
      DrawThickLine(AX, AY, AX1, AY1, W);
    }
    return StampDots(AX, AY, AX1, AY1, W, Line->Color(), Style);
  }
  DrawThickLine(AX, AY, AX1, AY1, W);
}

// Dotted and square-dotted lines: the platform has no user-styled geometric pens, so the
// line is stamped from a pattern bitmap holding, every 2w pixels, a dot (w < 2), a w x w
// round dot or a w x w square, black on white; the raster operation paints the line colour
// where the pattern is black.
void TvqrView::StampDots(int AX, int AY, int AX1, int AY1, int W, TColor LineColor,
                         TvqrFrameStyle Style) {
  if (W < 1) W = 1;
  const bool Vertical = AX == AX1;
  const int Length = Vertical ? std::abs(AY1 - AY) + 1 : std::abs(AX1 - AX) + 1;
  const int Thick = W;
  TBitmap Pattern(Vertical ? Thick : Length, Vertical ? Length : Thick);
  TCanvas* P = Pattern.Canvas();
  P->Brush()->SetStyle(bsSolid);
  P->Brush()->SetColor(clWhite);
  P->FillRect(Rect(0, 0, Pattern.Width(), Pattern.Height()));
  P->Brush()->SetColor(clBlack);
  P->Pen()->SetColor(clBlack);
  for (int At = 0; At < Length; At += 2 * W) {
    const int DX0 = Vertical ? 0 : At, DY0 = Vertical ? At : 0;
    if (W < 2)
      P->SetPixels(DX0, DY0, clBlack);
    else if (Style == fsAltDot)
      P->Ellipse(DX0, DY0, DX0 + W, DY0 + W);
    else
      P->FillRect(Rect(DX0, DY0, DX0 + W, DY0 + W));
  }
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(LineColor);
  const int Left = std::min(AX, AX1) - W / 2, Top = std::min(AY, AY1) - W / 2;
  Canvas->DrawBitmap(Rect(Left, Top, Left + Pattern.Width(), Top + Pattern.Height()), Pattern,
                     Rect(0, 0, Pattern.Width(), Pattern.Height()), ROP_PSDPxax);
}

// =============================================================================================
// TvqrShapeView
// =============================================================================================

void TvqrShapeView::Draw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY, Extended AOffsetX,
                         Extended AOffsetY) {
  if (Frame()->Style() != fsDouble) {
    BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
    DrawShape();
    return;
  }
  Frame()->SetStyle(fsSolid);
  const Extended L = Left(), T = Top(), W = Width(), H = Height();
  BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  DrawShape();
  const Extended F = Frame()->Width();
  switch (FShape) {
    case TvqrShapeKind::skTriangle: SetBounds(L + 4 * F, T + 4 * F, W - 8 * F, H - 6 * F); break;
    case TvqrShapeKind::skDiamond: SetBounds(L + 3 * F, T + 3 * F, W - 6 * F, H - 6 * F); break;
    case TvqrShapeKind::skDiagonal1:
    case TvqrShapeKind::skDiagonal2: SetLeft(L + 2 * F); break;
    default: SetBounds(L + 2 * F, T + 2 * F, W - 4 * F, H - 4 * F); break;
  }
  BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  DrawShape();
  Frame()->SetStyle(fsDouble);
  SetBounds(L, T, W, H);
}

void TvqrShapeView::DrawShape() {
  TPen* Pen = Canvas->Pen();
  Pen->SetColor(Frame()->Color());
  Pen->SetWidth(FrameWidth);
  Pen->SetStyle(Frame()->Color() == clNone ? psClear : PenStyleOf(Frame()->Style()));
  Canvas->Brush()->SetStyle(bsSolid);
  if (BrushStyle() != bsSolid) {
    if (Color() != clNone) {
      Canvas->Brush()->SetColor(Color());
      DrawOutline();
    }
    Canvas->Brush()->SetStyle(BrushStyle());
    Canvas->Brush()->SetColor(Frame()->Color());
    DrawOutline();
    return;
  }
  if (Color() == clNone) {
    Canvas->Brush()->SetStyle(bsClear);
  } else {
    Canvas->Brush()->SetColor(Color());
  }
  DrawOutline();
}

void TvqrShapeView::DrawOutline() {
  switch (FShape) {
    case TvqrShapeKind::skRectangle: Canvas->Rectangle(X, Y, X1 + 1, Y1 + 1); break;
    case TvqrShapeKind::skRoundRectangle: {
      const int C = FCurve != 0 ? RoundI(FCurve * ScaleX * 10) : std::min(DX, DY) / 4;
      Canvas->RoundRect(X, Y, X1 + 1, Y1 + 1, C, C);
      break;
    }
    case TvqrShapeKind::skEllipse: Canvas->Ellipse(X, Y, X1 + 1, Y1 + 1); break;
    case TvqrShapeKind::skTriangle:
      Canvas->Polygon({{X1, Y1}, {X, Y1}, {X + DX / 2, Y}, {X1, Y1}});
      break;
    case TvqrShapeKind::skDiamond:
      Canvas->Polygon({{X + DX / 2, Y}, {X1, Y + DY / 2}, {X + DX / 2, Y1}, {X, Y + DY / 2}});
      break;
    case TvqrShapeKind::skDiagonal1: DrawThickLine(X, Y1, X1, Y, FrameWidth); break;
    case TvqrShapeKind::skDiagonal2: DrawThickLine(X, Y, X1, Y1, FrameWidth); break;
  }
}

// =============================================================================================
// TvqrSubreport
// =============================================================================================

void TvqrSubreport::Draw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY, Extended AOffsetX,
                         Extended AOffsetY) {
  inherited::Draw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  ACanvas->Font()->Assign(Font());
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->TextOut(X + 2, Y + 2, Name());
}
