// DBGridZkDraw.cpp - the grid unit's drawing layer: colour arithmetic, the text writers, and
// the grid's in-cell buttons, 3-D frames and themed or gradient cell backgrounds.
#include "gridlib/grid/DBGridZkDraw.h"

#include <algorithm>
#include <cmath>

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/FontService.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

namespace {

int Channel(TColorRef C, int Shift) { return static_cast<int>((C >> Shift) & 0xFF); }

TColor FromChannels(int R, int G, int B) { return static_cast<TColor>(RGB(R, G, B)); }

// The process's bitmap for half-transparent buttons; it only grows.
TBitmap& SharedButtonBitmap(int W, int H) {
  static TBitmap B;
  if (B.Width() < W || B.Height() < H) B.SetSize(std::max(B.Width(), W), std::max(B.Height(), H));
  return B;
}

TDrawButtonControlStyleZk ButtonDrawStyle(TEditButtonStyleZk Style) {
  switch (Style) {
    case ebsEllipsisZk: return bcsEllipsisZk;
    case ebsGlyphZk: case ebsUpDownZk: return bcsUpDownZk;
    case ebsPlusZk: return bcsPlusZk;
    case ebsMinusZk: return bcsMinusZk;
    case ebsAltDropDownZk: return bcsAltDropDownZk;
    case ebsAltUpDownZk: return bcsAltUpDownZk;
    default: return bcsDropDownZk;
  }
}

}  // namespace

TColor LightenColor(TColor AColor, TColor GlassColor, bool Ungray) {
  const TColorRef A = ColorToRGB(AColor), G = ColorToRGB(GlassColor);
  int Out[3];
  for (int I = 0; I < 3; ++I) {
    const double a = Channel(A, I * 8), g = Channel(G, I * 8);
    double c = a + (g - a) * 0.5;
    c = c + (225 - c) * 0.6;
    if (Ungray) c = c - (122 - c) * 0.25;
    Out[I] = std::clamp(static_cast<int>(std::nearbyint(c)), 0, 255);
  }
  return FromChannels(Out[0], Out[1], Out[2]);
}

TColor ApproachColor(TColor C1, TColor C2, double Weight) {
  const TColorRef A = ColorToRGB(C1), B = ColorToRGB(C2);
  int Out[3];
  for (int I = 0; I < 3; ++I) {
    const int a = Channel(A, I * 8), b = Channel(B, I * 8);
    // Multiplied before dividing, so a step that lands on a whole value is not lost to the
    // rounding of (b - a) / 255.
    Out[I] = std::clamp(a + static_cast<int>(std::trunc((b - a) * Weight / 255.0)), 0, 255);
  }
  return FromChannels(Out[0], Out[1], Out[2]);
}

String EllipsisText(const String& Text, TCanvas* Canvas, int MaxWidth) {
  String Result = Text;
  const int Len = static_cast<int>(Text.size());
  for (int I = 1; I <= Len; ++I) {
    if (Canvas->TextWidth(Result) <= MaxWidth) break;
    Result = Text.substr(0, static_cast<std::size_t>(std::max(0, Len - I - 1))) + u"...";
  }
  return Result;
}

int MeasureTextWidth(TCanvas* Canvas, const String& Text) {
  TRect R = Rect(0, 0, 1, 0);
  DrawText(Canvas, Text, R, DT_CALCRECT | DT_NOPREFIX);
  return R.Right - R.Left;
}

void WriteTextToCell(TCanvas* Canvas, const TRect& ARect, bool FillBackground, int DX, int DY,
                     const String& Text, TAlignment Alignment, TTextLayout Layout, bool WordWrap,
                     bool EndEllipsis, int LeftMargin, int RightMargin, bool RightToLeftReading) {
  // Surfaces are true colour: every brush colour is exact, so no palette detour is needed.
  TBrush* Brush = Canvas->Brush();
  const TBrushStyle SavedStyle = Brush->Style();
  if (WordWrap || LeftMargin != 0 || RightMargin != 0) {
    if (FillBackground) Canvas->FillRect(ARect);
    else Brush->SetStyle(bsClear);
    unsigned Format = DT_NOPREFIX | DT_EXPANDTABS;
    if (Alignment == taRightJustify) Format |= DT_RIGHT;
    else if (Alignment == taCenter) Format |= DT_CENTER;
    if (WordWrap) Format |= DT_WORDBREAK;
    if (EndEllipsis) Format |= DT_END_ELLIPSIS;
    if (RightToLeftReading) Format |= DT_RTLREADING;
    DRAWTEXTPARAMS Params{};
    Params.cbSize = 20;
    Params.iLeftMargin = LeftMargin;
    Params.iRightMargin = RightMargin;
    TRect Inner = ARect;
    InflateRect(Inner, -DX, -DY);
    TRect R = Inner;
    if (Layout != tlTop) {
      TRect Calc = R;
      DrawTextEx(Canvas, Text, Calc, Format | DT_CALCRECT, &Params);
      const int TextHeight = Calc.Bottom - Calc.Top;
      if (Layout == tlCenter) R.Top += (R.Bottom - R.Top - TextHeight) / 2;
      else R.Top = R.Bottom - TextHeight;
    }
    if (DX > 0) ++R.Bottom;
    const bool Clip = R.Top < Inner.Top;
    TCanvasState Saved{};
    if (Clip) {
      Saved = Canvas->SaveDC();
      Canvas->IntersectClipRect(Inner);
    }
    DrawTextEx(Canvas, Text, R, Format, &Params);
    if (Clip) Canvas->RestoreDC(Saved);
    if (!FillBackground) Brush->SetStyle(SavedStyle);
    return;
  }
  const String Shown = EndEllipsis ? EllipsisText(Text, Canvas, ARect.Right - ARect.Left - DX)
                                   : Text;
  const TFontStyles Style = Canvas->Font()->Style();
  const int Width = Alignment != taLeftJustify &&
                            (Style.Contains(fsBold) || Style.Contains(fsItalic))
                        ? MeasureTextWidth(Canvas, Shown)
                        : Canvas->TextWidth(Shown);
  int X = ARect.Left + DX;
  if (Alignment == taRightJustify) X = ARect.Right - Width - 3;
  else if (Alignment == taCenter)
    X = ARect.Right <= ARect.Left ? 0 : ARect.Left + (ARect.Right - ARect.Left) / 2 - Width / 2;
  int Y = ARect.Top;
  const int TextHeight = Canvas->TextHeight(Shown);
  if (Layout != tlTop && TextHeight < ARect.Bottom - ARect.Top - DY) {
    if (Layout == tlCenter) Y = (ARect.Top + ARect.Bottom - TextHeight) / 2 - DY;
    else Y = ARect.Bottom - TextHeight - DY;
  }
  if (!FillBackground) Brush->SetStyle(bsClear);
  Canvas->TextRect(ARect, X, Y + DY, Shown);
  Brush->SetStyle(SavedStyle);
}

void WriteSimpleCellText(TCanvas* Canvas, const TRect& ARect, int DX, int DY, const String& Text,
                         TAlignment Alignment) {
  const int Width = Canvas->TextWidth(Text);
  int X = ARect.Left + DX;
  if (Alignment == taRightJustify) X = ARect.Right - Width - 3;
  else if (Alignment == taCenter) X = ARect.Left + (ARect.Right - ARect.Left) / 2 - Width / 2;
  Canvas->TextRect(ARect, X, ARect.Top + DY, Text);
}

std::unique_ptr<TFont> CreateVerticalFont(TFont* Font) {
  auto Result = std::make_unique<TFont>();
  Result->Assign(Font);
  if (AnsiSameText(Font->Name(), u"Default")) Result->SetName(TFont().Name());
  Result->SetOrientation(900);
  return Result;
}

namespace {

// The slant an italic outline font adds to a text's length; the metric's overhang otherwise.
int TextOverhang(TCanvas* Canvas) {
  const TTextMetric M = Canvas->TextMetrics();
  if (!Canvas->Font()->Style().Contains(fsItalic)) return M.tmOverhang;
  const TOutlineTextMetric O = TFontService::Instance().OutlineTextMetrics(Canvas->Font()->Request());
  if (O.otmsCharSlopeRise == 0) return M.tmOverhang;
  return (M.tmHeight - M.tmInternalLeading) * O.otmsCharSlopeRun / O.otmsCharSlopeRise;
}

}  // namespace

int WriteVerticalText(TCanvas* Canvas, const TRect& ARect, bool FillBackground, int DX, int DY,
                      const String& Text, TAlignment Alignment, TTextLayout Layout,
                      bool CalcOnly) {
  TFont Saved;
  Saved.Assign(Canvas->Font());
  struct TRestore {
    TCanvas* C;
    TFont* F;
    ~TRestore() { C->Font()->Assign(F); }
  } Restore{Canvas, &Saved};
  Canvas->Font()->Assign(CreateVerticalFont(&Saved).get());
  const int Overhang = TextOverhang(Canvas);
  const int Length = Canvas->TextWidth(Text) + Overhang;
  if (CalcOnly) return Length;
  const int Across = Canvas->TextHeight(Text);
  int X = ARect.Left + DX;
  if (Alignment == taRightJustify) X = ARect.Right - Across;
  else if (Alignment == taCenter)
    X = ARect.Left + (ARect.Right - ARect.Left) / 2 - (Across + Overhang) / 2;
  int Y = ARect.Bottom - DY;
  if (Layout == tlTop) Y = ARect.Top + Length;
  else if (Layout == tlCenter) Y = ARect.Bottom - (ARect.Bottom - ARect.Top) / 2 + Length / 2;
  TBrush* Brush = Canvas->Brush();
  const TBrushStyle SavedStyle = Brush->Style();
  if (FillBackground) Canvas->FillRect(ARect);
  Brush->SetStyle(bsClear);
  Canvas->TextRect(ARect, X, Y, Text);
  Brush->SetStyle(SavedStyle);
  return Length;
}

void DrawCellImage(TCustomImageList* Images, TBitmap* Bitmap, TCanvas* Canvas, const TRect& ARect,
                   int ImageIndex, int DX, TAlignment Alignment) {
  if (!Images && (!Bitmap || Bitmap->Empty())) return;
  const int W = Images ? Images->Width() : Bitmap->Width();
  const int H = Images ? Images->Height() : Bitmap->Height();
  int X = ARect.Left + DX;
  if (Alignment == taRightJustify) X = ARect.Right - W + DX;
  else if (Alignment == taCenter) X = (ARect.Left + ARect.Right - W) / 2 + DX;
  const int Y = (ARect.Top + ARect.Bottom - H) / 2;
  const bool Inside = X >= ARect.Left && Y >= ARect.Top && X + W <= ARect.Right &&
                      Y + H <= ARect.Bottom;
  TCanvasState Saved{};
  if (!Inside) {
    Saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(ARect);
  }
  if (Images) Images->Draw(Canvas, X, Y, ImageIndex);
  else Canvas->Draw(X, Y, Bitmap);
  if (!Inside) Canvas->RestoreDC(Saved);
}

// The grid's right-to-left mirroring is not needed: controls here never use right-to-left
// alignment, so the rect, margins and alignment go through as they are. A one-line text shows
// tabs and line breaks as spaces.
void TCustomDBGridZk::WriteCellText(TColumnZk*, TCanvas* ACanvas, TRect ARect,
                                    bool FillBackground, int DX, int DY, const String& Text,
                                    TAlignment Alignment, TTextLayout Layout, bool WordWrap,
                                    bool EndEllipsis, int LeftMargin, int RightMargin) {
  String Shown = Text;
  if (!WordWrap)
    for (Char& Ch : Shown)
      if (Ch == u'\t' || Ch == u'\r' || Ch == u'\n') Ch = u' ';
  WriteTextToCell(ACanvas, ARect, FillBackground, DX, DY, Shown, Alignment, Layout, WordWrap,
                  EndEllipsis, LeftMargin, RightMargin, false);
}

// --- the grid's cell decorations ------------------------------------------------------------------

bool TCustomDBGridZk::FixedCellsThemed() const {
  return !Flat() && ThemesActive() && FOptionsZk.Contains(dghFixed3D);
}

// The themed look of a cell: our own picture of a tool-bar split button, hot (light) or pressed
// (darker), since the platform has no theme engine of its own.
void TCustomDBGridZk::FillCellBackground(bool Themed, TRect ARect, bool Pressed, bool Selected,
                                         TRect ClipRect, bool Is3D) {
  TCanvas* C = Canvas();
  if (Themed && Is3D) {
    const bool Down = Pressed || Selected;
    const bool Clip = !ClipRect.IsEmpty();
    C->FillRect(Clip ? ClipRect : ARect);
    TCanvasState Saved{};
    if (Clip) {
      Saved = C->SaveDC();
      C->IntersectClipRect(ClipRect);
    }
    const TColor Face = C->Brush()->Color();
    FillGradientRect(C, ARect, Down ? MixColorsPercent(Face, clBlack, 10) : clBtnHighlight,
                     Down ? MixColorsPercent(Face, clBlack, 20) : Face);
    C->Pen()->SetColor(MixColorsPercent(Face, clBlack, Down ? 35 : 25));
    C->MoveTo(ARect.Right - 1, ARect.Top);
    C->LineTo(ARect.Right - 1, ARect.Bottom - 1);
    C->LineTo(ARect.Left - 1, ARect.Bottom - 1);
    if (Clip) C->RestoreDC(Saved);
  } else if (Flat() && ThemesActive() && Is3D) {
    FillGradientRect(C, ARect, clBtnHighlight, C->Brush()->Color());
  } else {
    C->FillRect(ARect);
  }
}

void TCustomDBGridZk::DrawCell3DFrame(TCanvas* ACanvas, TRect ARect, bool Pressed, bool Selected,
                                      bool DrawLeftTop, bool DrawRightBottom) {
  const unsigned Edge = Selected || Pressed ? BDR_SUNKENINNER : BDR_RAISEDINNER;
  const unsigned TopLeft = DrawLeftTop ? BF_TOPLEFT : BF_TOP;
  if (!Flat()) {
    if (DrawLeftTop && DrawRightBottom) {
      DrawEdge(ACanvas, ARect, Edge, BF_RECT);
    } else {
      TRect R = ARect;
      DrawEdge(ACanvas, R, Edge, TopLeft);
      R = ARect;
      DrawEdge(ACanvas, R, Edge, DrawRightBottom ? BF_BOTTOMRIGHT : BF_BOTTOM);
    }
    return;
  }
  ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());
  ACanvas->MoveTo(ARect.Left, ARect.Bottom - 1);
  if (DrawRightBottom) {
    ACanvas->LineTo(ARect.Right - 1, ARect.Bottom - 1);
    ACanvas->LineTo(ARect.Right - 1, ARect.Top - 1);
  } else {
    ACanvas->LineTo(ARect.Right, ARect.Bottom - 1);
  }
  DrawEdge(ACanvas, ARect, Edge, TopLeft);
}

void TCustomDBGridZk::DrawCellButton(TColumnZk*, TCanvas* ACanvas, TEditButtonStyleZk Style,
                                     TRect ButtonRect, TRect CellRect, bool Pressed, bool Hot,
                                     bool AFlat, bool Enabled, TColor AColor, TBitmap* Glyph,
                                     int Transparency) {
  TCanvas* Target = ACanvas;
  TBitmap* Buffer = nullptr;
  TRect Visible{};
  IntersectRect(Visible, ButtonRect, CellRect);
  if (Transparency > 0) {
    // Drawn off screen at the same place, then blended over the cell filled with AColor.
    Buffer = &SharedButtonBitmap(std::max(1, Width()), std::max(1, Height()));
    Target = Buffer->Canvas();
    ACanvas->Brush()->SetColor(AColor);
    ACanvas->FillRect(Visible);
  }
  const bool Clip = !(ButtonRect.Left >= CellRect.Left && ButtonRect.Top >= CellRect.Top &&
                      ButtonRect.Right <= CellRect.Right && ButtonRect.Bottom <= CellRect.Bottom);
  TCanvasState Saved{};
  if (Clip) {
    Saved = Target->SaveDC();
    Target->IntersectClipRect(CellRect);
  }
  TRect R = ButtonRect;
  if (AFlat && !ThemesActive()) {
    Target->Pen()->SetColor(Hot ? clBtnFace : AColor);
    Target->MoveTo(R.Left, R.Top);
    Target->LineTo(R.Left, R.Bottom);
    ++R.Left;
  }
  if (Style == ebsGlyphZk) {
    if (!AFlat || ThemesActive()) {
      Target->Brush()->SetColor(clBtnFace);
      DrawEdge(Target, R, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    } else {
      Target->Brush()->SetColor(AColor);
      Target->FrameRect(R);
      InflateRect(R, -1, -1);
      Target->Brush()->SetColor(clBtnFace);
      Target->FillRect(R);
    }
    if (Glyph && !Glyph->Empty()) {
      Glyph->SetTransparent(true);
      Target->Draw(R.Left + (R.Right - R.Left - Glyph->Width()) / 2,
                   R.Top + (R.Bottom - R.Top - Glyph->Height()) / 2, Glyph);
    }
  } else {
    PaintEditButtonCached(Target, R, AColor, cbUnchecked, Enabled, Hot, AFlat, Pressed ? 1 : 0,
                          ButtonDrawStyle(Style));
  }
  if (Clip) Target->RestoreDC(Saved);
  if (Buffer && !Visible.IsEmpty())
    AlphaBlend(ACanvas, Visible, *Buffer, Visible,
               static_cast<int>(std::trunc((100 - Transparency) * 2.55)));
}

bool TCustomDBGridZk::HighlightDataCellColor(int DataCol, int DataRow, const String& Value,
                                             TGridDrawState AState, TColor& AColor,
                                             TFont* AFont) {
  if (!FStyle) return false;
  return FStyle->GetDataCellHighlight(this, FIndicatorOffset + DataCol, FTitleOffset + DataRow,
                                      DataCol, DataRow, Value, AState, false, AColor, AFont);
}
