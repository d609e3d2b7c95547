// WinDraw.cpp - DrawText layout and drawing, bevels, frame controls, focus frames, gradients.
#include "platform/graphics/WinDraw.h"

#include <algorithm>

#include "platform/graphics/Bitmap.h"

namespace {

const String Ellipsis = u"...";

struct TMeasure {
  IFontMetrics& Metrics;
  const TFontRequest& Font;
  int Width(std::u16string_view S) const { return S.empty() ? 0 : Metrics.TextWidth(Font, S); }
};

// Splits at CR, LF and CR LF.
std::vector<String> Paragraphs(const String& Text) {
  std::vector<String> Result(1);
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const Char C = Text[I];
    if (C == u'\r' || C == u'\n') {
      if (C == u'\r' && I + 1 < Text.size() && Text[I + 1] == u'\n') ++I;
      Result.emplace_back();
    } else {
      Result.back() += C;
    }
  }
  return Result;
}

// Removes "&" prefixes ("&&" is one "&"); returns the index of the underlined character.
int StripPrefixes(String& S) {
  String Out;
  int Index = -1;
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] == u'&' && I + 1 < S.size()) {
      ++I;
      if (S[I] != u'&') Index = int(Out.size());
    }
    Out += S[I];
  }
  S = Out;
  return Index;
}

String ExpandTabs(const String& S, const TMeasure& M, int TabWidth) {
  if (S.find(u'\t') == String::npos || TabWidth <= 0) return S;
  const int Space = std::max(1, M.Width(u" "));
  String Out;
  for (Char C : S) {
    if (C != u'\t') {
      Out += C;
      continue;
    }
    const int Now = M.Width(Out);
    const int Stop = (Now / TabWidth + 1) * TabWidth;
    Out.append(std::size_t(std::max(1, (Stop - Now + Space - 1) / Space)), u' ');
  }
  return Out;
}

std::u16string_view TrimRight(std::u16string_view S) {
  while (!S.empty() && S.back() == u' ') S.remove_suffix(1);
  return S;
}

// Breaks a paragraph into lines of at most Avail pixels at spaces; a word longer than a line
// is cut by characters only for an edit control, otherwise it stands alone.
std::vector<String> WordBreak(const String& S, const TMeasure& M, int Avail, bool CutWords) {
  std::vector<String> Lines;
  std::size_t Start = 0;
  while (Start < S.size()) {
    std::size_t LastFit = Start;   // end of the longest prefix ending at a word end that fits
    std::size_t I = Start;
    while (I < S.size()) {
      std::size_t WordEnd = I;
      while (WordEnd < S.size() && S[WordEnd] == u' ') ++WordEnd;
      while (WordEnd < S.size() && S[WordEnd] != u' ') ++WordEnd;
      if (M.Width(TrimRight(std::u16string_view(S).substr(Start, WordEnd - Start))) > Avail) break;
      LastFit = WordEnd;
      I = WordEnd;
    }
    if (LastFit == Start) {  // not even the first word fits
      std::size_t WordEnd = Start;
      while (WordEnd < S.size() && S[WordEnd] == u' ') ++WordEnd;
      while (WordEnd < S.size() && S[WordEnd] != u' ') ++WordEnd;
      LastFit = WordEnd;
      if (CutWords) {
        std::size_t Cut = Start + 1;
        while (Cut < WordEnd && M.Width(std::u16string_view(S).substr(Start, Cut + 1 - Start)) <= Avail) ++Cut;
        LastFit = Cut;
      }
    }
    Lines.emplace_back(TrimRight(std::u16string_view(S).substr(Start, LastFit - Start)));
    Start = LastFit;
    while (Start < S.size() && S[Start] == u' ') ++Start;
  }
  if (Lines.empty()) Lines.emplace_back();
  return Lines;
}

String EndEllipsis(const String& S, const TMeasure& M, int Avail, bool AtWord) {
  if (M.Width(S) <= Avail) return S;
  for (std::size_t Keep = S.size(); Keep-- > 0;) {
    if (AtWord && Keep > 0 && S[Keep] != u' ') continue;
    const String Candidate = String(TrimRight(std::u16string_view(S).substr(0, Keep))) + Ellipsis;
    if (M.Width(Candidate) <= Avail) return Candidate;
  }
  return Ellipsis;
}

// Keeps the last path element and as much of the start as fits: "C:\Data\...\file.txt".
String PathEllipsis(const String& S, const TMeasure& M, int Avail) {
  if (M.Width(S) <= Avail) return S;
  const std::size_t Sep = S.find_last_of(u"\\/");
  if (Sep == String::npos) return EndEllipsis(S, M, Avail, false);
  const String Tail = S.substr(Sep);
  for (std::size_t Keep = Sep; Keep-- > 0;) {
    const String Candidate = S.substr(0, Keep) + Ellipsis + Tail;
    if (M.Width(Candidate) <= Avail) return Candidate;
  }
  return EndEllipsis(Ellipsis + Tail, M, Avail, false);
}

int TextAdvanceUpTo(IFontMetrics& Metrics, const TFontRequest& Font, const String& S, int Index) {
  return Index <= 0 ? 0 : Metrics.TextWidth(Font, std::u16string_view(S).substr(0, std::size_t(Index)));
}

// Fills R with a colour through the canvas brush, leaving the brush as it was.
void FillWith(TCanvas* Canvas, const TRect& R, TColor Color) {
  TBrush Saved;
  Saved.Assign(Canvas->Brush());
  Canvas->Brush()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->FillRect(R);
  Canvas->Brush()->Assign(&Saved);
}

}  // namespace

TDrawTextLayout LayoutDrawText(IFontMetrics& Metrics, const TFontRequest& Font, const String& Text,
                               const TRect& R, unsigned Format, const DRAWTEXTPARAMS* Params) {
  const TMeasure M{Metrics, Font};
  const TTextMetric TM = Metrics.TextMetrics(Font);
  const int LeftMargin = Params ? Params->iLeftMargin : 0;
  const int RightMargin = Params ? Params->iRightMargin : 0;
  int TabChars = Params ? Params->iTabLength : 8;
  if (Format & DT_TABSTOP) TabChars = int((Format >> 8) & 0xFF);
  const int Avail = R.Width() - LeftMargin - RightMargin;
  const int LineHeight = TM.tmHeight + ((Format & DT_EXTERNALLEADING) ? TM.tmExternalLeading : 0);

  TDrawTextLayout Layout;
  const std::vector<String> Paras = (Format & DT_SINGLELINE) ? std::vector<String>{Text} : Paragraphs(Text);
  for (String Para : Paras) {
    int Prefix = (Format & DT_NOPREFIX) ? -1 : StripPrefixes(Para);
    if (Format & DT_HIDEPREFIX) Prefix = -1;
    if (Format & DT_EXPANDTABS) Para = ExpandTabs(Para, M, TabChars * TM.tmAveCharWidth);
    std::vector<String> Lines = ((Format & DT_WORDBREAK) && !(Format & DT_SINGLELINE))
                                    ? WordBreak(Para, M, Avail, Format & DT_EDITCONTROL)
                                    : std::vector<String>{Para};
    int Offset = 0;  // where the current line starts in the paragraph, for the prefix
    for (String& Line : Lines) {
      TDrawTextLine L;
      const std::size_t Found = Para.find(Line, std::size_t(Offset));
      const int LineStart = Found == String::npos ? Offset : int(Found);
      if (Prefix >= LineStart && Prefix < LineStart + int(Line.size())) L.PrefixIndex = Prefix - LineStart;
      Offset = LineStart + int(Line.size());
      if (Format & DT_PATH_ELLIPSIS) Line = PathEllipsis(Line, M, Avail);
      else if (Format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS))
        Line = EndEllipsis(Line, M, Avail, Format & DT_WORD_ELLIPSIS);
      if (L.PrefixIndex >= int(Line.size())) L.PrefixIndex = -1;
      L.Text = Line;
      L.Width = M.Width(Line);
      Layout.Lines.push_back(std::move(L));
    }
  }

  int Y = R.Top;
  const int Total = LineHeight * int(Layout.Lines.size());
  if (Format & DT_SINGLELINE) {
    if (Format & DT_VCENTER) Y = R.Top + (R.Height() - LineHeight) / 2;
    else if (Format & DT_BOTTOM) Y = R.Bottom - LineHeight;
  }
  int Widest = 0;
  for (auto& L : Layout.Lines) {
    if (Format & DT_CENTER) L.X = R.Left + LeftMargin + (Avail - L.Width) / 2;
    else if (Format & DT_RIGHT) L.X = R.Right - RightMargin - L.Width;
    else L.X = R.Left + LeftMargin;
    L.Y = Y;
    Y += LineHeight;
    Widest = std::max(Widest, L.Width);
  }
  Layout.Bounds = {R.Left, R.Top, R.Left + LeftMargin + Widest + RightMargin, R.Top + Total};
  const bool Shifted = (Format & DT_SINGLELINE) && (Format & (DT_VCENTER | DT_BOTTOM));
  Layout.Height = Shifted ? Layout.Lines.front().Y - R.Top + LineHeight : Total;
  return Layout;
}

int DrawTextEx(TCanvas* Canvas, const String& Text, TRect& R, unsigned Format,
               DRAWTEXTPARAMS* Params) {
  const TFontRequest Font = Canvas->DeviceFont().Request;
  IFontMetrics& Metrics = FontMetrics();
  const TDrawTextLayout Layout = LayoutDrawText(Metrics, Font, Text, R, Format, Params);
  if (Params) Params->uiLengthDrawn = unsigned(Text.size());
  if (Format & DT_CALCRECT) {
    R.Right = Layout.Bounds.Right;
    R.Bottom = Layout.Bounds.Bottom;
    return Layout.Height;
  }
  const unsigned Options = (Format & DT_NOCLIP) ? 0u : unsigned(ETO_CLIPPED);
  const int Ascent = Metrics.TextMetrics(Font).tmAscent;
  for (const auto& L : Layout.Lines) {
    if (Format & DT_PREFIXONLY) continue;
    Canvas->ExtTextOut(L.X, L.Y, Options, &R, L.Text);
  }
  for (const auto& L : Layout.Lines) {
    if (L.PrefixIndex < 0) continue;
    const int X = L.X + TextAdvanceUpTo(Metrics, Font, L.Text, L.PrefixIndex);
    const int W = Metrics.TextWidth(Font, std::u16string_view(L.Text).substr(std::size_t(L.PrefixIndex), 1));
    FillWith(Canvas, Rect(X, L.Y + Ascent + 1, X + W, L.Y + Ascent + 2), Canvas->Font()->Color());
  }
  return Layout.Height;
}

int DrawText(TCanvas* Canvas, const String& Text, TRect& R, unsigned Format) {
  return DrawTextEx(Canvas, Text, R, Format, nullptr);
}

int GetDeviceCaps(TCanvas* Canvas, int Index) {
  switch (Index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return Canvas->Device() ? Canvas->Device()->PixelsPerInch() : Canvas->Font()->PixelsPerInch();
    case NUMCOLORS: return -1;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    default: return 0;
  }
}

TSize GetTextExtentExPoint(TCanvas* Canvas, const String& Text, int MaxExtent, int* Fit,
                           std::vector<int>* Extents) {
  std::vector<int> Advances;
  const TFontRequest Font = Canvas->DeviceFont().Request;
  FontMetrics().CharAdvances(Font, Text, Advances);
  int Sum = 0, Fits = 0;
  if (Extents) Extents->resize(Text.size());
  for (std::size_t I = 0; I < Advances.size(); ++I) {
    Sum += Advances[I];
    if (Extents) (*Extents)[I] = Sum;
    if (Sum <= MaxExtent) Fits = int(I + 1);
  }
  if (Fit) *Fit = Fits;
  return {Sum, FontMetrics().TextMetrics(Font).tmHeight};
}

// --- bevels ---------------------------------------------------------------------------------

namespace {

// Draws one ring of a bevel: the top-left colour on the top and left sides, the bottom-right
// colour on the others, which own the corners they share.
void Ring(TCanvas* Canvas, const TRect& R, unsigned Sides, TColor TopLeft, TColor BottomRight) {
  if (Sides & BF_TOP) FillWith(Canvas, Rect(R.Left, R.Top, R.Right - 1, R.Top + 1), TopLeft);
  if (Sides & BF_LEFT) FillWith(Canvas, Rect(R.Left, R.Top, R.Left + 1, R.Bottom - 1), TopLeft);
  if (Sides & BF_BOTTOM) FillWith(Canvas, Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom), BottomRight);
  if (Sides & BF_RIGHT) FillWith(Canvas, Rect(R.Right - 1, R.Top, R.Right, R.Bottom), BottomRight);
}

void Shrink(TRect& R, unsigned Sides) {
  if (Sides & BF_LEFT) ++R.Left;
  if (Sides & BF_TOP) ++R.Top;
  if (Sides & BF_RIGHT) --R.Right;
  if (Sides & BF_BOTTOM) --R.Bottom;
}

}  // namespace

bool DrawEdge(TCanvas* Canvas, TRect& R, unsigned Edge, unsigned Flags) {
  TRect Inside = R;
  const unsigned Sides = Flags & BF_RECT;
  if (Flags & (BF_FLAT | BF_MONO)) {
    const TColor Outer = (Flags & BF_MONO) ? clWindowFrame : clBtnShadow;
    const TColor Inner = (Flags & BF_MONO) ? clWindow : clBtnFace;
    if (Edge & BDR_OUTER) { Ring(Canvas, Inside, Sides, Outer, Outer); Shrink(Inside, Sides); }
    if (Edge & BDR_INNER) { Ring(Canvas, Inside, Sides, Inner, Inner); Shrink(Inside, Sides); }
  } else {
    const bool Soft = Flags & BF_SOFT;
    if (Edge & BDR_RAISEDOUTER) Ring(Canvas, Inside, Sides, Soft ? clBtnHighlight : cl3DLight, cl3DDkShadow);
    else if (Edge & BDR_SUNKENOUTER) Ring(Canvas, Inside, Sides, clBtnShadow, clBtnHighlight);
    if (Edge & BDR_OUTER) Shrink(Inside, Sides);
    if (Edge & BDR_RAISEDINNER) Ring(Canvas, Inside, Sides, Soft ? cl3DLight : clBtnHighlight, clBtnShadow);
    else if (Edge & BDR_SUNKENINNER) Ring(Canvas, Inside, Sides, cl3DDkShadow, cl3DLight);
    if (Edge & BDR_INNER) Shrink(Inside, Sides);
  }
  if (Flags & BF_MIDDLE) FillWith(Canvas, Inside, (Flags & BF_MONO) ? clWindow : clBtnFace);
  if (Flags & BF_ADJUST) R = Inside;
  return true;
}

// --- frame controls -------------------------------------------------------------------------

namespace {

// The classic check mark: seven columns three pixels high, lowest in the third column.
void CheckMark(TCanvas* Canvas, int X, int Y, TColor Color) {
  static const int Top[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int C = 0; C < 7; ++C) FillWith(Canvas, Rect(X + C, Y + Top[C], X + C + 1, Y + Top[C] + 3), Color);
}

// A filled triangle pointing Dir (0 up, 1 down, 2 left, 3 right) centred in R.
void Arrow(TCanvas* Canvas, const TRect& R, unsigned Dir, TColor Color) {
  const int Size = std::min(R.Width(), R.Height());
  const int Rows = std::max(2, (Size - 1) / 4);
  const int CX = R.Left + R.Width() / 2, CY = R.Top + R.Height() / 2;
  for (int I = 0; I < Rows; ++I) {
    const int Half = (Dir == 0 || Dir == 2) ? I : Rows - 1 - I;  // the tip is the 0-wide end
    if (Dir <= 1) {
      const int Y = CY - Rows / 2 + I;
      FillWith(Canvas, Rect(CX - Half, Y, CX + Half + 1, Y + 1), Color);
    } else {
      const int X = CX - Rows / 2 + I;
      FillWith(Canvas, Rect(X, CY - Half, X + 1, CY + Half + 1), Color);
    }
  }
}

// The round 12 x 12 radio button: a sunken ring of two shades on each side, the well in
// Well, and the dot when checked.
void RadioButtonImage(TCanvas* Canvas, const TRect& R, TColor Well, bool Checked, TColor Dot) {
  static const char* const Rows[12] = {
      "....SSSS....", "..SSDDDDSS..", ".SDDWWWWDDH.", ".SDWWWWWWLH.",
      "SDWWWWWWWWLH", "SDWWWWWWWWLH", "SDWWWWWWWWLH", "SDWWWWWWWWLH",
      ".SDWWWWWWLH.", ".SLLWWWWLLH.", "..HHLLLLHH..", "....HHHH...."};
  static const char* const DotRows[4] = {".XX.", "XXXX", "XXXX", ".XX."};
  const int Size = 12;
  const int X0 = R.Left + (R.Width() - Size) / 2, Y0 = R.Top + (R.Height() - Size) / 2;
  auto ColorOf = [&](char Code) {
    switch (Code) {
      case 'S': return clBtnShadow;
      case 'D': return cl3DDkShadow;
      case 'H': return clBtnHighlight;
      case 'L': return cl3DLight;
      default: return Well;
    }
  };
  for (int Y = 0; Y < Size; ++Y)
    for (int X = 0; X < Size; ++X)
      if (Rows[Y][X] != '.') FillWith(Canvas, Rect(X0 + X, Y0 + Y, X0 + X + 1, Y0 + Y + 1), ColorOf(Rows[Y][X]));
  if (!Checked) return;
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X)
      if (DotRows[Y][X] == 'X') FillWith(Canvas, Rect(X0 + 4 + X, Y0 + 4 + Y, X0 + 5 + X, Y0 + 5 + Y), Dot);
}

}  // namespace

bool DrawFrameControl(TCanvas* Canvas, TRect& R, unsigned Type, unsigned State) {
  const bool Inactive = State & DFCS_INACTIVE;
  const bool Pushed = State & DFCS_PUSHED;
  if (Type == DFC_BUTTON && (State & 0xFF) == DFCS_BUTTONPUSH) {
    TRect Inner = R;
    DrawEdge(Canvas, Inner, Pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
    if (State & DFCS_ADJUSTRECT) R = Inner;
    return true;
  }
  if (Type == DFC_BUTTON && (State & 0xFF) == DFCS_BUTTONRADIO) {
    RadioButtonImage(Canvas, R, (Inactive || Pushed) ? clBtnFace : clWindow, State & DFCS_CHECKED,
                     Inactive ? clBtnShadow : clWindowText);
    return true;
  }
  if (Type == DFC_BUTTON) {
    const int Size = 13;
    TRect Box = Bounds(R.Left + (R.Width() - Size) / 2, R.Top + (R.Height() - Size) / 2, Size, Size);
    const bool ThreeState = (State & DFCS_BUTTON3STATE) && (State & DFCS_CHECKED);
    DrawEdge(Canvas, Box, (State & DFCS_FLAT) ? BDR_SUNKENOUTER : EDGE_SUNKEN,
             BF_RECT | BF_ADJUST | ((State & DFCS_FLAT) ? BF_FLAT : 0u));
    FillWith(Canvas, Box, (Inactive || Pushed || ThreeState) ? clBtnFace : clWindow);
    if (State & DFCS_CHECKED) CheckMark(Canvas, Box.Left + 1, Box.Top + 1, (Inactive || ThreeState) ? clBtnShadow : clWindowText);
    return true;
  }
  if (Type == DFC_SCROLL) {
    TRect Inner = R;
    if (State & DFCS_FLAT) {
      FillWith(Canvas, Inner, clBtnFace);
      if (Pushed) DrawEdge(Canvas, Inner, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
    } else {
      DrawEdge(Canvas, Inner, Pushed ? EDGE_SUNKEN : EDGE_RAISED,
               BF_RECT | BF_MIDDLE | BF_ADJUST | (Pushed ? BF_FLAT : 0u));
    }
    unsigned Dir = State & 0xF;
    if (Dir == DFCS_SCROLLCOMBOBOX) Dir = DFCS_SCROLLDOWN;
    TRect ArrowBox = R;
    if (Pushed) OffsetRect(ArrowBox, 1, 1);
    if (Inactive) {
      TRect Shadow = ArrowBox;
      OffsetRect(Shadow, 1, 1);
      Arrow(Canvas, Shadow, Dir, clBtnHighlight);
    }
    Arrow(Canvas, ArrowBox, Dir, Inactive ? clBtnShadow : clBtnText);
    return true;
  }
  return false;
}

void DrawFocusRect(TCanvas* Canvas, const TRect& R) {
  if (R.IsEmpty()) return;
  TPen Saved;
  Saved.Assign(Canvas->Pen());
  Canvas->Pen()->SetColor(clWhite);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psAlternate);
  Canvas->Pen()->SetMode(pmXor);
  // Every pixel whose coordinates add up to an even number, all around.
  const int L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
  const int Start = ((L + T) % 2 == 0) ? L : L + 1;
  Canvas->Polyline({{Start, T}, {Rt, T}, {Rt, B}, {L, B}, {L, T}, {Start, T}});
  Canvas->Pen()->Assign(&Saved);
}

void InvertRect(TCanvas* Canvas, const TRect& R) { Canvas->PatBlt(R, DSTINVERT); }

void GradientFill(TCanvas* Canvas, const TRect& R, TColor From, TColor To, bool Vertical) {
  const int Steps = Vertical ? R.Height() : R.Width();
  if (Steps <= 0) return;
  const TColorRef A = ColorToRGB(From), B = ColorToRGB(To);
  auto Mix = [&](int (*Part)(TColorRef), int I) { return Part(A) + (Part(B) - Part(A)) * I / Steps; };
  for (int I = 0; I < Steps; ++I) {
    const TColor C = TColor(RGB(Mix(GetRValue, I), Mix(GetGValue, I), Mix(GetBValue, I)));
    FillWith(Canvas, Vertical ? Rect(R.Left, R.Top + I, R.Right, R.Top + I + 1)
                              : Rect(R.Left + I, R.Top, R.Left + I + 1, R.Bottom), C);
  }
}

void AlphaBlend(TCanvas* Canvas, const TRect& Dest, const TBitmap& Source, const TRect& SrcRect,
                int ConstantAlpha) {
  Canvas->DrawBitmap(Dest, Source, SrcRect, SRCCOPY, ConstantAlpha);
}
