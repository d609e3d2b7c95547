// vqrDrawTextDraw.cpp - the text renderer's drawing: the target font, the placement of the
// text block for every rotation, the spreading of the 600-dpi layout over the device's
// advances, alignment and justification, and runs of equal formatting.
#include "report/core/vqrDrawText.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/graphics/Canvas.h"
#include "platform/rtl/Math.h"

namespace {

int RoundInt(Extended X) { return static_cast<int>(Round(X)); }
bool IsPrinter(TCanvas* Canvas) { return Canvas->Kind() == ckPrinter; }
int DevicePPI(TCanvas* Canvas) {
  int Ppi = Canvas->Device() ? Canvas->Device()->PixelsPerInch() : 96;
  return Ppi > 0 ? Ppi : 96;
}

}  // namespace

void TvqrDrawText::SpreadIncrements(std::vector<int>& A, int Lo, int Hi, int Unit, int N) {
  if (N <= 0 || Hi < Lo) return;
  int Half = (Hi - Lo + 1) / 2;
  if (Half < 1) Half = 1;
  if (N == 1) {
    A[static_cast<size_t>(Lo + Half - 1)] += Unit;
    return;
  }
  SpreadIncrements(A, Lo, Lo + Half - 1, Unit, N / 2);
  SpreadIncrements(A, Lo + Half, Hi, Unit, N - N / 2);
}

int TvqrDrawText::DeviceHeight(TCanvas* Canvas, int Size) const {
  if (IsPrinter(Canvas)) return -RoundInt(DevicePPI(Canvas) * Size * FPrintScale / 72);
  return -RoundInt(Size * FScaleY * 96 / 72);
}

void TvqrDrawText::PlaceTextBlock(int, int VAlign, int H, int& X, int& Y, int& BW, double& Cos,
                                  double& Sin) {
  FRotation = ((FRotation % 360) + 360) % 360;
  const int L = FScaledRect.Left, T = FScaledRect.Top, R = FScaledRect.Right,
            B = FScaledRect.Bottom;
  double Rad = FRotation * std::numbers::pi / 180;
  Cos = std::cos(Rad);
  Sin = std::sin(Rad);
  double S = std::fabs(Sin), C = std::fabs(Cos);
  auto Slanted = [&]() { return C > 1e-9 ? RoundInt((R - L - S * H) / C) : 0; };
  int A = 0;
  double U = Cos, V = Sin;
  int Rot = FRotation;
  if (Rot == 0) {
    X = L; Y = T; BW = R - L; A = B - T;
  } else if (Rot < 90) {
    X = L; BW = Slanted(); Y = T + RoundInt(S * BW); A = H + B - Y - RoundInt(C * H); U = 1; V = 0;
  } else if (Rot == 90) {
    X = L; Y = B; BW = B - T; A = R - L;
  } else if (Rot < 180) {
    BW = Slanted(); X = L + RoundInt(C * BW); Y = B;
    A = H + B - T - RoundInt(C * H + S * BW); U = -1; V = 0;
  } else if (Rot == 180) {
    X = R; Y = B; BW = R - L; A = B - T;
  } else if (Rot < 270) {
    X = R; BW = Slanted(); Y = B - RoundInt(S * BW); A = H + Y - T - RoundInt(C * H); U = -1; V = 0;
  } else if (Rot == 270) {
    X = R; Y = T; BW = B - T; A = R - L;
  } else {
    X = L + RoundInt(S * H); Y = T; BW = Slanted();
    A = H + B - T - RoundInt(S * BW + C * H); U = 1; V = 0;
  }
  if (VAlign == 1) {
    Y += RoundInt(U * (A - H));
    X += RoundInt((A - H) * V);
  } else if (VAlign == 2) {
    Y += RoundInt(U * (A - H) / 2);
    X += RoundInt((A - H) / 2.0 * V);
  }
}

void TvqrDrawText::DrawText(TCanvas* Canvas, int HAlign, int VAlign) {
  if (!Canvas || FText.empty() || FHTMLTags.Count() == 0) return;
  TvqrDrawTextLock Guard;
  TFont* F = Canvas->Font();
  F->SetName(FFontName);
  F->SetCharset(static_cast<TFontCharset>(FFontCharset));
  F->SetStyle(FFontStyle);
  F->SetColor(FFontColor);
  F->SetHeight(DeviceHeight(Canvas, FFontSize));
  TvqrHTMLTags& FirstLine = FHTMLTags.Line(0);
  if (!FirstLine.empty() && !FirstLine.front().Default) {
    F->SetStyle(FirstLine.front().Style);
    F->SetColor(FirstLine.front().Color);
    F->SetHeight(DeviceHeight(Canvas, FirstLine.front().Size));
    FirstLine.front().Default = true;
  }
  int SavedOrientation = F->Orientation();
  FRotation = ((FRotation % 360) + 360) % 360;
  F->SetOrientation(FRotation * 10);

  int Hd = F->Height();
  int H600 = MeasureHeight();
  int N = static_cast<int>(FText.size());
  int H;
  if (IsPrinter(Canvas)) {
    Extended E = 600.0L / DevicePPI(Canvas) / FPrintScale;
    H = RoundInt((FLineSpacing * FScaleY * E * N + H600 * N) / E);
  } else {
    Extended E = 600.0L / 96;
    H = RoundInt((FLineSpacing * E * N + H600 * N) / E * FScaleY);
  }
  int Extra = FWysiwyg ? H + N * (Hd - RoundInt(FLineSpacing * FScaleY)) : 0;

  int X = 0, Y = 0, BW = 0;
  double Cos = 1, Sin = 0;
  PlaceTextBlock(HAlign, VAlign, H, X, Y, BW, Cos, Sin);

  std::vector<int> Adv(static_cast<size_t>(N > 1 ? N - 1 : 1), RoundInt(FLineSpacing * FScaleY) - Hd);
  if (N > 1 && Extra != 0) {
    int D = Extra > 0 ? 1 : -1, Abs = std::abs(Extra);
    if (Abs < N) {
      SpreadIncrements(Adv, 0, N - 2, D, Abs);
    } else {
      for (int& A : Adv) A += (Abs / (N - 1)) * D;
      SpreadIncrements(Adv, 0, N - 2, D, Abs % (N - 1));
    }
  }
  for (int J = 0; J < N; ++J) {
    int Flags = FText[static_cast<size_t>(J)].Flags;
    int Gap = (Flags & 1) && (HAlign == 0 || HAlign == 3) ? RoundInt(FParagraphGap * FScaleX) : 0;
    int Align = HAlign;
    if (HAlign == 3 && (Flags & 2)) Align = FRTLReading ? 1 : 0;
    DrawLineRuns(Canvas, FText[static_cast<size_t>(J)].Text, Align, J, BW - Gap, Y, X + Gap, Cos,
                 Sin);
    if (J < N - 1) {
      Y += RoundInt(Adv[static_cast<size_t>(J)] * Cos);
      X += RoundInt(Adv[static_cast<size_t>(J)] * Sin);
    }
  }
  F->SetOrientation(SavedOrientation);
}

void TvqrDrawText::DrawLineRuns(TCanvas* Canvas, const String& S, int Align, int LineIndex,
                                int Width, int Y, int X, double Cos, double Sin) {
  if (S.empty()) return;
  TFont* F = Canvas->Font();
  FMeasureStyle = F->Style();
  const Extended K = 600.0L / 96;
  std::vector<int> Measured;
  TFontStyles TargetStyle = F->Style();
  int G = CharWidths(Measured, S, false, RoundInt(FCharSpacing * K), LineIndex, nullptr);
  int M = CharWidths(FTempArray, S, false, RoundInt(FCharSpacing * FScaleX), LineIndex, Canvas);
  F->SetStyle(TargetStyle);

  int Ppx = DevicePPI(Canvas);
  int G1 = G - RoundInt(FCharSpacing * K);
  int Spacing = RoundInt(FCharSpacing * FScaleX);
  int T = IsPrinter(Canvas) ? RoundInt(G1 * FPrintScale / (600.0L / Ppx))
                            : RoundInt(G1 / K * FScaleX);
  if (!FWysiwyg) T = M - Spacing;
  int Delta = T + Spacing - M;
  int Free = Width - T;
  int Count = static_cast<int>(S.size());
  bool Block = false;
  int Blanks = 0;
  switch (Align) {
    case 1:
      X += RoundInt((Free + 1) * Cos) - 1;
      Y -= RoundInt((Free + 1) * Sin);
      if ((TargetStyle.Contains(fsBold) || TargetStyle.Contains(fsItalic)) && FRotation == 0) --X;
      break;
    case 2:
      X += RoundInt(Free / 2.0 * Cos);
      Y -= RoundInt(Free / 2.0 * Sin);
      break;
    case 3:
      for (Char C : S) Blanks += C == u' ' || C == u'\u00A0';
      if (Blanks > 0) {
        Block = true;
        Delta = std::abs(Width) + Spacing - M;
      }
      break;
    default: break;
  }
  int D = Delta >= 0 ? 1 : -1, Abs = std::abs(Delta);
  if (Block) {
    int Each = (Abs / Blanks) * D, Rest = Abs % Blanks;
    for (int I = 0; I < Count; ++I) {
      Char C = S[static_cast<size_t>(I)];
      if (C != u' ' && C != u'\u00A0') continue;
      FTempArray[static_cast<size_t>(I)] += Each + (Rest > 0 ? D : 0);
      if (Rest > 0) --Rest;
    }
  } else if (Abs < Count) {
    SpreadIncrements(FTempArray, 0, Count - 1, D, Abs);
  } else {
    for (int& A : FTempArray) A += (Abs / Count) * D;
    SpreadIncrements(FTempArray, 0, Count - 1, D, Abs % Count);
  }

  TvqrHTMLTags* Tags = LineIndex < FHTMLTags.Count() ? &FHTMLTags.Line(LineIndex) : nullptr;
  auto TagAt = [&](int I) -> TvqrHTMLTag* {
    return Tags && I < static_cast<int>(Tags->size()) ? &(*Tags)[static_cast<size_t>(I)] : nullptr;
  };
  int Dy = 0;
  if (TvqrHTMLTag* First = TagAt(0)) Dy = RoundInt(First->AddY * First->Size * FScaleY);
  TRect Clip = FScaledRect;
  int Start = 0;
  while (Start < Count) {
    int End = Start + 1;
    while (End < Count) {
      TvqrHTMLTag* Tag = TagAt(End);
      if (Tag && !Tag->Default) break;
      ++End;
    }
    String Run = S.substr(static_cast<size_t>(Start), static_cast<size_t>(End - Start));
    const int* Dx = FWysiwyg ? FTempArray.data() + Start : nullptr;
    Canvas->ExtTextOut(X + RoundInt(Dy * Sin), Y + RoundInt(Dy * Cos), FOptions, &Clip, Run, Dx);
    int W = 0;
    for (int I = Start; I < End; ++I) W += FTempArray[static_cast<size_t>(I)];
    if (End < Count) {
      TvqrHTMLTag* Tag = TagAt(End);
      Tag->Default = true;
      F->SetHeight(DeviceHeight(Canvas, Tag->Size));
      F->SetStyle(Tag->Style);
      F->SetColor(Tag->Color);
      Dy = RoundInt(Tag->AddY * Tag->Size * FScaleY);
    }
    if (FRotation != 0) {
      Y -= RoundInt(W * Sin);
      X += RoundInt(W * Cos);
    } else {
      X += W;
    }
    Start = End;
  }
}
