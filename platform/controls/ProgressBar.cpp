// ProgressBar.cpp - the progress bar, drawn by us.
#include "platform/controls/ProgressBar.h"

#include "platform/classes/TypeRegistry.h"

#include <algorithm>

#include "platform/graphics/WinDraw.h"

REGISTER_CLASS(TProgressBar) {
  Class.Property("Min", &TProgressBar::Min, &TProgressBar::SetMin, 0)
      .Property("Max", &TProgressBar::Max, &TProgressBar::SetMax, 100)
      .Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0)
      .Property("Step", &TProgressBar::Step, &TProgressBar::SetStep, 10);
}

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 150, 17);
}

void TProgressBar::SetRange(int AMin, int AMax) {
  FMin = AMin;
  FMax = std::max(AMin, AMax);
  FPosition = std::clamp(FPosition, FMin, FMax);
  Invalidate();
}

void TProgressBar::SetPosition(int Value) {
  Value = std::clamp(Value, FMin, FMax);
  if (Value == FPosition) return;
  FPosition = Value;
  Invalidate();
}

void TProgressBar::StepIt() {
  const int Next = FPosition + FStep;
  SetPosition(Next > FMax ? FMin + (Next - FMax - 1) : Next);
}

int TProgressBar::FilledWidth() const {
  const int Inner = std::max(0, ClientWidth() - 2);
  if (FMax <= FMin) return 0;
  return static_cast<int>(static_cast<long long>(Inner) * (FPosition - FMin) / (FMax - FMin));
}

void TProgressBar::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(R);
  DrawEdge(C, R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  const int Filled = FilledWidth();
  if (Filled > 0) {
    C->Brush()->SetColor(clHighlight);
    C->FillRect(Rect(R.Left, R.Top, R.Left + Filled, R.Bottom));
  }
}
