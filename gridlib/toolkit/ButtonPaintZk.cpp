// ButtonPaintZk.cpp - button faces, check boxes and their cache; sizes; tree-outline cells;
// gradients. The themed look is drawn by us in the same geometry as the classic one, with
// flat frames and shaded symbols in place of bevels.
#include "gridlib/toolkit/ButtonPaintZk.h"

#include <algorithm>
#include <memory>

#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/Math.h"

int DefaultFlatButtonWidth = 0;

namespace {

// A symbol as horizontal runs: each pair is a line from the first point up to (not including)
// the second.
using TSegments = std::vector<TPoint>;

struct TCacheEntry {
  TButtonBitmapInfoZk Info;
  std::unique_ptr<TBitmap> Bitmap;
};

std::vector<TCacheEntry>& Cache() {
  static std::vector<TCacheEntry> Entries;
  return Entries;
}

TRect Inset(TRect R, int D) {
  InflateRect(R, -D, -D);
  return R;
}

void FrameWith(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  Canvas->FrameRect(R);
}

void FillWith(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

void AddRun(TSegments& S, int X1, int X2, int Y) {
  S.push_back({X1, Y});
  S.push_back({X2, Y});
}

void AddBlock(TSegments& S, int X, int Y, int W, int H) {
  for (int Row = 0; Row < H; ++Row) AddRun(S, X, X + W, Y + Row);
}

void DrawSegments(TCanvas* Canvas, TPoint Origin, const TSegments& S, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Pen()->SetWidth(1);
  for (std::size_t I = 0; I + 1 < S.size(); I += 2)
    Canvas->Polyline({{Origin.X + S[I].X, Origin.Y + S[I].Y},
                      {Origin.X + S[I + 1].X, Origin.Y + S[I + 1].Y}});
}

// The symbol in its colours: classic one colour (disabled: embossed), themed shaded rows.
void DrawSymbol(TCanvas* Canvas, TPoint Origin, const TSegments& S, bool Enabled) {
  if (ThemesActive()) {
    if (Enabled)
      DrawGradientSegments(Canvas, Origin, S, MixColorsPercent(cl3DDkShadow, clBlack, 30),
                           cl3DDkShadow);
    else
      DrawGradientSegments(Canvas, Origin, S, clGrayText, MixColorsPercent(clGrayText, clWhite, 30));
    return;
  }
  if (Enabled) {
    DrawSegments(Canvas, Origin, S, clBtnText);
  } else {
    DrawSegments(Canvas, {Origin.X + 1, Origin.Y + 1}, S, clBtnHighlight);
    DrawSegments(Canvas, Origin, S, clBtnShadow);
  }
}

TSegments EllipsisSymbol(int W, int H) {
  const int D = W > 7 ? 2 : 1, G = W < 12 ? 1 : 2;
  const int X = W / 2 - D / 2, Y = H / 2 - D / 2;
  TSegments S;
  for (int Dx : {-(G + D), 0, G + D}) AddBlock(S, X + Dx, Y, D, D);
  return S;
}

TSegments PlusMinusSymbol(int W, int H, bool Plus, bool Flat) {
  const int M = std::min(W, H);
  int L = std::max(M * 4 / 7, 1);
  const int T = std::max(L / 3, 1);
  if (Flat) --L;
  if ((L & 1) != (M & 1)) ++L;
  if (Plus && (L & 1) != (T & 1)) L += M < 12 ? 1 : -1;
  const int X = (W - L) / 2, Y = (H - T) / 2;
  TSegments S;
  AddBlock(S, X, Y, L, T);
  if (Plus) {
    const int Off = L / 2 - T / 2;
    AddBlock(S, X + Off, Y - Off, T, L);
  }
  return S;
}

int ArrowWidth(int M) {
  if (M >= 19) return 9;
  if (M >= 16) return 7;
  if (M >= 12) return 5;
  return ThemesActive() ? 5 : 3;
}

// Rows from the base to the tip, relative to the arrow's top-left.
TSegments ArrowSymbol(int A, bool Down) {
  const int Rows = A / 2 + 1;
  TSegments S;
  for (int I = 0; I < Rows; ++I) {
    if (Down)
      AddRun(S, I, A - I, I);
    else
      AddRun(S, A / 2 - (Rows - 1 - I), A / 2 + (Rows - 1 - I) + 1, Rows - 1 - I);
  }
  return S;
}

void DrawArrow(TCanvas* Canvas, const TRect& Face, bool Down, bool Enabled, bool Pressed) {
  const int A = ArrowWidth(std::min(Face.Width(), Face.Height()));
  const int Rows = A / 2 + 1;
  TPoint Origin{(Face.Left + Face.Right - A) / 2, (Face.Top + Face.Bottom - Rows) / 2};
  if (Pressed) Origin = {Origin.X + 1, Origin.Y + 1};
  const TSegments S = ArrowSymbol(A, Down);
  if (ThemesActive())
    DrawSymbol(Canvas, Origin, S, Enabled);
  else
    DrawSegments(Canvas, Origin, S, Enabled ? clWindowText : clGrayText);
}

// The push-button face of the drawn styles; returns the symbol area.
TRect DrawnFaceBackground(TCanvas* Canvas, TRect R, bool Pressed, bool Active, bool Flat,
                          bool Enabled) {
  if (ThemesActive()) {
    const TColor Face = !Enabled ? clBtnFace
                        : Pressed ? MixColorsPercent(clBtnFace, clBtnShadow, 40)
                        : Active  ? MixColorsPercent(clBtnFace, clWhite, 50)
                                  : clBtnFace;
    FillVerticalGradient(Canvas, R, MixColorsPercent(Face, clWhite, 40), Face);
    if (!Flat || Active || Pressed)
      FrameWith(Canvas, R, Enabled ? clBtnShadow : MixColorsPercent(clBtnShadow, clWhite, 40));
    return Inset(R, 2);
  }
  if (Flat) {
    FillWith(Canvas, R, clBtnFace);
    return Inset(R, 1);
  }
  TRect E = R;
  DrawEdge(Canvas, E, Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
  return Inset(R, 2);
}

void DrawnFace(TCanvas* Canvas, TDrawButtonControlStyleZk Style, const TRect& R, bool DownDirect,
               bool Pressed, bool Active, bool Flat, bool Enabled) {
  const TRect Area = DrawnFaceBackground(Canvas, R, Pressed, Active, Flat, Enabled);
  const int Shift = Pressed ? 1 : 0;
  const TPoint Origin{Area.Left + Shift, Area.Top + Shift};
  switch (Style) {
    case bcsEllipsisZk:
      DrawSymbol(Canvas, Origin, EllipsisSymbol(Area.Width(), Area.Height()), Enabled);
      break;
    case bcsPlusZk:
    case bcsMinusZk:
      DrawSymbol(Canvas, Origin,
                 PlusMinusSymbol(Area.Width(), Area.Height(), Style == bcsPlusZk, Flat), Enabled);
      break;
    case bcsAltDropDownZk:
      DrawArrow(Canvas, R, true, Enabled, Pressed);
      break;
    case bcsAltUpDownZk: {
      TRect Half = R;
      // With themes each half's arrow reaches one pixel into the other half.
      if (ThemesActive()) {
        if (DownDirect) --Half.Top; else ++Half.Bottom;
      }
      DrawArrow(Canvas, Half, DownDirect, Enabled, Pressed);
      break;
    }
    default:
      break;
  }
}

unsigned ScrollState(bool Pressed, bool Flat, bool Enabled) {
  return (Pressed ? DFCS_PUSHED : 0u) | (Flat ? DFCS_FLAT : 0u) | (Enabled ? 0u : DFCS_INACTIVE);
}

}  // namespace

// --- faces ---------------------------------------------------------------------------------------

void PaintCheckBox(TCanvas* Canvas, TRect Rect, TCheckBoxState CheckState, bool Active,
                   bool Pressed, bool Flat, bool Enabled) {
  const int Side = std::min(Rect.Width(), Rect.Height());
  TRect Sq = Bounds(Rect.Left + (Rect.Width() - Side) / 2, Rect.Top + (Rect.Height() - Side) / 2,
                    Side, Side);
  unsigned State = DFCS_BUTTONCHECK;
  if (CheckState == cbChecked) State |= DFCS_CHECKED;
  if (CheckState == cbGrayed) State |= DFCS_CHECKED | DFCS_BUTTON3STATE;
  if (!Enabled) State |= DFCS_INACTIVE;
  if (Pressed) State |= DFCS_PUSHED;
  const bool Themes = ThemesActive();
  if (Themes) State |= DFCS_FLAT;
  if (Themes && Active && Enabled && !Pressed) State |= DFCS_HOT;
  TCanvasState Saved = 0;
  if (Flat) {
    Saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(Inset(Sq, Themes ? 2 : 1));
    if (!Themes) InflateRect(Sq, 1, 1);
  }
  TRect Box = Sq;
  DrawFrameControl(Canvas, Box, DFC_BUTTON, State);
  if (Flat) {
    Canvas->RestoreDC(Saved);
    InflateRect(Sq, -1, -1);
    FrameWith(Canvas, Sq, Themes ? clBtnShadow : (Active ? clBtnFace : clBtnShadow));
  }
}

void PaintButtonFace(TCanvas* Canvas, TDrawButtonControlStyleZk Style, TRect Rect,
                     bool DownDirect, bool Pressed, bool Active, bool Flat, bool Enabled) {
  const bool Themes = ThemesActive();
  const bool Narrowed = Flat && Active && !Themes;
  TCanvasState Saved = 0;
  if (Narrowed) {
    Saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(Inset(Rect, 1));
  }
  const int Grow = Flat && !Themes ? (Active ? 1 : 2) : 0;
  InflateRect(Rect, Grow, Grow);
  if (Style == bcsDropDownZk || Style == bcsUpDownZk) {
    unsigned State = ScrollState(Pressed, Flat || Themes, Enabled);
    if (Themes && Active && Enabled && !Pressed) State |= DFCS_HOT;
    State |= Style == bcsDropDownZk ? DFCS_SCROLLCOMBOBOX
                                    : (DownDirect ? DFCS_SCROLLDOWN : DFCS_SCROLLUP);
    TRect R = Rect;
    DrawFrameControl(Canvas, R, DFC_SCROLL, State);
  } else {
    DrawnFace(Canvas, Style, Rect, DownDirect, Pressed, Active, Flat, Enabled);
  }
  InflateRect(Rect, -Grow, -Grow);
  if (Narrowed) {
    Canvas->RestoreDC(Saved);
    TRect R = Rect;
    DrawEdge(Canvas, R, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
}

// --- cache ---------------------------------------------------------------------------------------

const TBitmap* GetButtonBitmap(TButtonBitmapInfoZk Info) {
  Info.Size.X = std::max(Info.Size.X, 0);
  Info.Size.Y = std::max(Info.Size.Y, 0);
  for (const TCacheEntry& E : Cache())
    if (E.Info == Info) return E.Bitmap.get();
  auto Bitmap = std::make_unique<TBitmap>(Info.Size.X, Info.Size.Y);
  if (Info.Size.X > 0 && Info.Size.Y > 0) {
    const TRect R = Rect(0, 0, Info.Size.X, Info.Size.Y);
    if (Info.BitmapType == bcsCheckboxZk)
      PaintCheckBox(Bitmap->Canvas(), R, Info.CheckState, Info.Active, Info.Pressed, Info.Flat,
                    Info.Enabled);
    else
      PaintButtonFace(Bitmap->Canvas(), Info.BitmapType, R, Info.DownDirect, Info.Pressed,
                      Info.Active, Info.Flat, Info.Enabled);
  }
  Cache().push_back({Info, std::move(Bitmap)});
  return Cache().back().Bitmap.get();
}

int ButtonBitmapCacheCount() { return static_cast<int>(Cache().size()); }
void ResetEditButtonBitmapCache() { Cache().clear(); }

namespace {

void BlitFace(TCanvas* Canvas, const TRect& R, const TButtonBitmapInfoZk& Info) {
  const TBitmap* Face = GetButtonBitmap(Info);
  if (R.Width() <= 0 || R.Height() <= 0) return;
  Canvas->DrawBitmap(R, *Face, Rect(0, 0, R.Width(), R.Height()));
}

TButtonBitmapInfoZk KeyFor(const TRect& R, TDrawButtonControlStyleZk Style, bool Flat,
                           bool Pressed, bool Active, bool Enabled, bool DownDirect,
                           TCheckBoxState CheckState) {
  TButtonBitmapInfoZk Info;
  Info.Size = {R.Width(), R.Height()};
  Info.BitmapType = Style;
  Info.Flat = Flat;
  Info.Pressed = Pressed;
  Info.Active = Active;
  Info.Enabled = Enabled;
  Info.DownDirect = DownDirect;
  Info.CheckState = CheckState;
  return Info;
}

}  // namespace

void PaintEditButtonCached(TCanvas* Canvas, TRect R, TColor BorderColor,
                           TCheckBoxState CheckState, bool Enabled, bool Active, bool Flat,
                           int PressedPart, TDrawButtonControlStyleZk Style) {
  const bool Themes = ThemesActive();
  if (Style == bcsCheckboxZk) {
    const int W = R.Width(), H = R.Height();
    if (W > H) {
      R.Left += (W - H) / 2;
      R.Right = R.Left + H;
    } else if (H > W) {
      R.Top += (H - W) / 2;
      R.Bottom = R.Top + W;
    }
    if (Flat && !Themes) InflateRect(R, -1, -1);
    BlitFace(Canvas, R, KeyFor(R, Style, Flat, PressedPart != 0, Active, Enabled, false, CheckState));
    if (!Flat) return;
    if (!Themes) InflateRect(R, 1, 1);
    if (!Themes && Active) {
      DrawEdge(Canvas, R, BDR_SUNKENOUTER, BF_RECT);
      return;
    }
    FrameWith(Canvas, R, BorderColor);
    return;
  }
  const bool Framed = Flat && !Active && !Themes;
  if (Framed) InflateRect(R, -1, -1);
  if (Style == bcsUpDownZk || Style == bcsAltUpDownZk) {
    const int H = R.Height();
    TRect Upper = Rect(R.Left, R.Top, R.Right, R.Top + H / 2);
    TRect Lower = Rect(R.Left, R.Bottom - H / 2, R.Right, R.Bottom);
    if (Framed) {
      --Upper.Bottom;
      ++Lower.Top;
    }
    BlitFace(Canvas, Upper, KeyFor(Upper, Style, Flat, PressedPart == 1, Active, Enabled, false, cbUnchecked));
    BlitFace(Canvas, Lower, KeyFor(Lower, Style, Flat, PressedPart == 2, Active, Enabled, true, cbUnchecked));
    const int BandTop = Upper.Bottom, BandBottom = Lower.Top;
    if (BandBottom > BandTop) FillWith(Canvas, Rect(R.Left, BandTop, R.Right, BandBottom), BorderColor);
  } else {
    BlitFace(Canvas, R, KeyFor(R, Style, Flat, PressedPart != 0, Active, Enabled, false, cbUnchecked));
  }
  if (Framed) {
    InflateRect(R, 1, 1);
    FrameWith(Canvas, R, BorderColor);
  }
}

// --- sizes ---------------------------------------------------------------------------------------

int FlatEditButtonWidthForTextHeight(int TmHeight) {
  int W = static_cast<int>(Round(TmHeight / 3.0 * 2));
  if (ThemesActive()) {
    if (W % 2 == 1) ++W;
  } else if (W % 2 == 0) {
    ++W;
  }
  return std::min(W, GetSystemMetrics(SM_CXVSCROLL));
}

int FlatEditButtonDefaultWidth() {
  TBitmap Probe(1, 1);
  TFont ScreenFont;
  Probe.Canvas()->SetFont(&ScreenFont);
  return FlatEditButtonWidthForTextHeight(Probe.Canvas()->TextMetrics().tmHeight);
}

void InitButtonPaint() { DefaultFlatButtonWidth = FlatEditButtonDefaultWidth(); }

int ButtonHeightForWidth(int Width, bool Flat) {
  return Flat ? static_cast<int>(Round(Width * 3 / 2.0)) : Width;
}

TSize CheckBoxSize() { return {13, 13}; }

TRect CalcCheckBoxRect(const TRect& R, int HorzAlign, int VertAlign) {
  const TSize Box = CheckBoxSize();
  const int W = std::min(Box.cx, R.Width()), H = std::min(Box.cy, R.Height());
  int X = R.Left, Y = R.Top;
  if (R.Width() > W) {
    if (HorzAlign == 1) X = R.Right - W;
    else if (HorzAlign == 2) X = R.Left + R.Width() / 2 - W / 2;
  }
  if (R.Height() > H) {
    if (VertAlign == 1) Y = R.Top + R.Height() / 2 - H / 2;
    else if (VertAlign == 2) Y = R.Bottom - H;
  }
  return Bounds(X, Y, W, H);
}

void DrawImageCentered(TCanvas* Canvas, const TRect& R, const TCustomImageList* Images,
                       int ImageIndex, bool Selected) {
  if (!Images) return;
  const TRect Image = Bounds(R.Left + (R.Width() - Images->Width()) / 2,
                             R.Top + (R.Height() - Images->Height()) / 2, Images->Width(),
                             Images->Height());
  const bool Inside = Image.Left >= R.Left && Image.Top >= R.Top && Image.Right <= R.Right &&
                      Image.Bottom <= R.Bottom;
  TCanvasState Saved = 0;
  if (!Inside) {
    Saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(R);
  }
  Images->Draw(Canvas, Image.Left, Image.Top, ImageIndex, Selected ? dsSelected : dsNormal,
               Images->ImageType());
  if (!Inside) Canvas->RestoreDC(Saved);
}

// --- tree outline --------------------------------------------------------------------------------

namespace {

void DottedLine(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, bool DotPhase) {
  const TColor Color = clBtnShadow;
  if (X1 == X2) {
    for (int Y = std::min(Y1, Y2); Y < std::max(Y1, Y2); ++Y)
      if (((X1 + Y) & 1) == (DotPhase ? 1 : 0)) Canvas->SetPixels(X1, Y, Color);
  } else {
    for (int X = std::min(X1, X2); X < std::max(X1, X2); ++X)
      if (((X + Y1) & 1) == (DotPhase ? 1 : 0)) Canvas->SetPixels(X, Y1, Color);
  }
}

}  // namespace

void PaintTreeLineElement(TCanvas* Canvas, const TRect& R, int Kind, bool RightToLeft,
                          double ScaleY, double ScaleX, bool DotPhase) {
  const int Cx = (R.Left + R.Right) / 2, Cy = (R.Top + R.Bottom) / 2;
  const int Bx = static_cast<int>(Round(4 * ScaleX)), By = static_cast<int>(Round(4 * ScaleY));
  const int Sx = std::max(1, static_cast<int>(Round(ScaleX)));
  const int Sy = std::max(1, static_cast<int>(Round(ScaleY)));
  if (Kind >= 0 && Kind <= 7) {
    TRect Box = Rect(Cx - Bx, Cy - By, Cx + Bx + 1, Cy + By + 1);
    if (RightToLeft) OffsetRect(Box, -1, 0);
    FillWith(Canvas, Box, clWindow);
    FrameWith(Canvas, Box, clBtnShadow);
    const int Ix = static_cast<int>(Round(2 * ScaleX)), Iy = static_cast<int>(Round(2 * ScaleY));
    Canvas->Pen()->SetColor(clWindowText);
    Canvas->Pen()->SetWidth(1);
    const int Mx = (Box.Left + Box.Right) / 2, My = (Box.Top + Box.Bottom) / 2;
    Canvas->Polyline({{Box.Left + Ix, My}, {Box.Right - Ix, My}});
    if (Kind >= 4) Canvas->Polyline({{Mx, Box.Top + Iy}, {Mx, Box.Bottom - Iy}});
    const int Local = Kind % 4;
    if (Local != 3) DottedLine(Canvas, Box.Right - 1 + Sx, Cy, R.Right, Cy, DotPhase);
    if (Local == 0 || Local == 1) DottedLine(Canvas, Cx, R.Top, Cx, Box.Top, DotPhase);
    if (Local == 0 || Local == 2) DottedLine(Canvas, Cx, Box.Bottom - 1 + Sy, Cx, R.Bottom, DotPhase);
    return;
  }
  switch (Kind) {
    case 8:
      DottedLine(Canvas, Cx, R.Top, Cx, R.Bottom, DotPhase);
      DottedLine(Canvas, Cx, Cy, R.Right, Cy, DotPhase);
      break;
    case 9:
      DottedLine(Canvas, Cx, R.Top, Cx, Cy, DotPhase);
      DottedLine(Canvas, Cx, Cy, R.Right, Cy, DotPhase);
      break;
    case 10:
      DottedLine(Canvas, Cx, Cy, R.Right, Cy, DotPhase);
      DottedLine(Canvas, Cx, Cy, Cx, R.Bottom, DotPhase);
      break;
    case 11:
      DottedLine(Canvas, Cx, R.Top, Cx, R.Bottom, DotPhase);
      break;
    default:
      break;
  }
}

// --- colours -------------------------------------------------------------------------------------

namespace {

int Channel(TColorRef C, int Shift) { return static_cast<int>((C >> Shift) & 0xFF); }

TColor RGBOf(int R, int G, int B) {
  auto Clamp = [](int V) { return std::clamp(V, 0, 255); };
  return static_cast<TColor>(Clamp(R) | (Clamp(G) << 8) | (Clamp(B) << 16));
}

// c1 - (c1 - c2) / Div x Step for each channel, rounded.
TColor StepColor(TColorRef C1, TColorRef C2, double Div, int Step) {
  int Out[3];
  for (int I = 0; I < 3; ++I) {
    const int A = Channel(C1, I * 8), B = Channel(C2, I * 8);
    Out[I] = static_cast<int>(Round(A - (A - B) / Div * Step));
  }
  return RGBOf(Out[0], Out[1], Out[2]);
}

}  // namespace

TColor MixColorsPercent(TColor C1, TColor C2, int Percent) {
  const TColorRef A = ColorToRGB(C1), B = ColorToRGB(C2);
  int Out[3];
  for (int I = 0; I < 3; ++I) {
    const int X = Channel(A, I * 8), Y = Channel(B, I * 8);
    Out[I] = static_cast<int>(Round(X + Percent * (Y - X) / 100.0));
  }
  return RGBOf(Out[0], Out[1], Out[2]);
}

void FillVerticalGradient(TCanvas* Canvas, const TRect& R, TColor C1, TColor C2) {
  const int N = R.Height();
  if (N <= 1) return;
  const TColorRef A = ColorToRGB(C1), B = ColorToRGB(C2);
  Canvas->Pen()->SetWidth(1);
  for (int I = 0; I < N; ++I) {
    const TColor Color = StepColor(A, B, N - 1, I);
    if (R.Width() <= 1) {
      Canvas->Pen()->SetColor(Color);
      Canvas->Polyline({{R.Left, R.Top + I}, {R.Left, R.Top + I + 1}});
    } else {
      FillWith(Canvas, Rect(R.Left, R.Top + I, R.Right, R.Top + I + 1), Color);
    }
  }
}

void DrawGradientSegments(TCanvas* Canvas, TPoint Origin, const std::vector<TPoint>& Points,
                          TColor C1, TColor C2) {
  const int K = static_cast<int>(Points.size() / 2);
  const TColorRef A = ColorToRGB(C1), B = ColorToRGB(C2);
  Canvas->Pen()->SetWidth(1);
  for (int I = 0; I < K; ++I) {
    Canvas->Pen()->SetColor(StepColor(A, B, std::max(K - 1, 1), I));
    const TPoint P = Points[2 * I], Q = Points[2 * I + 1];
    Canvas->Polyline({{Origin.X + P.X, Origin.Y + P.Y}, {Origin.X + Q.X, Origin.Y + Q.Y}});
  }
}
