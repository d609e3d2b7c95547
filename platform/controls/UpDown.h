// UpDown.h - TUpDown: two arrow buttons that step Position within Min .. Max and, with an
// Associate edit, write the position into it and sit at its right edge.
#pragma once

#include "platform/controls/Controls.h"

class TCustomEdit;

class TUpDown : public TCustomControl {
  VORENTA_CLASS(TUpDown, TCustomControl)
public:
  explicit TUpDown(TComponent* AOwner);

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }
  // The associate's number when it holds one, else the last position set.
  int Position() const;
  // Kept within Min .. Max; shown in the associate.
  void SetPosition(int Value);
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value);
  // One step up (Up true) or down, as a click on the arrow; then OnClick.
  void StepBy(bool Up);

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void PlaceBesideAssociate();
  int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
  TWinControl* FAssociate = nullptr;
};
