// ProgressBar.h - TProgressBar: a sunken bar filled from the left in the highlight colour
// up to Position within Min .. Max; StepIt advances by Step and wraps to Min past Max.
#pragma once

#include "platform/controls/Controls.h"

class TProgressBar : public TCustomControl {
  VORENTA_CLASS(TProgressBar, TCustomControl)
public:
  explicit TProgressBar(TComponent* AOwner);

  int Min() const { return FMin; }
  void SetMin(int Value) { SetRange(Value, FMax); }
  int Max() const { return FMax; }
  void SetMax(int Value) { SetRange(FMin, Value); }
  int Position() const { return FPosition; }
  // Kept within Min .. Max.
  void SetPosition(int Value);
  int Step() const { return FStep; }
  void SetStep(int Value) { FStep = Value; }
  void StepIt();
  void StepBy(int Delta) { SetPosition(FPosition + Delta); }
  // The filled part's right edge in client pixels.
  int FilledWidth() const;

protected:
  void Paint() override;

private:
  void SetRange(int AMin, int AMax);
  int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
};
