// UpDown.cpp - the up-down buttons, drawn by us.
#include "platform/controls/UpDown.h"

#include "platform/classes/TypeRegistry.h"

#include <algorithm>

#include "platform/controls/StdCtrls.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TUpDown) {
  Class.Property("Min", &TUpDown::Min, &TUpDown::SetMin, 0)
      .Property("Max", &TUpDown::Max, &TUpDown::SetMax, 100)
      .Property("Increment", &TUpDown::Increment, &TUpDown::SetIncrement, 1)
      .Property("Position", &TUpDown::Position, &TUpDown::SetPosition, 0);
}

TUpDown::TUpDown(TComponent* AOwner) : TCustomControl(AOwner) {
  // OnClick follows each step, not each button release.
  SetControlStyle(ControlStyle() - TControlStyle{csClickEvents});
  SetBounds(0, 0, 17, 21);
}

void TUpDown::SetMin(int Value) {
  FMin = Value;
  SetPosition(FPosition);
}

void TUpDown::SetMax(int Value) {
  FMax = Value;
  SetPosition(FPosition);
}

int TUpDown::Position() const {
  if (auto* Edit = dynamic_cast<TCustomEdit*>(FAssociate)) {
    int Value = 0;
    if (TryStrToInt(Trim(Edit->Text()), Value)) return std::clamp(Value, FMin, std::max(FMin, FMax));
  }
  return FPosition;
}

void TUpDown::SetPosition(int Value) {
  FPosition = std::clamp(Value, FMin, std::max(FMin, FMax));
  if (FAssociate) FAssociate->SetText(IntToStr(FPosition));
  Invalidate();
}

void TUpDown::SetAssociate(TWinControl* Value) {
  if (FAssociate) FAssociate->RemoveFreeNotification(this);
  FAssociate = Value;
  if (!FAssociate) return;
  FAssociate->FreeNotification(this);
  PlaceBesideAssociate();
  SetPosition(FPosition);
}

void TUpDown::PlaceBesideAssociate() {
  if (FAssociate->Parent() && Parent() != FAssociate->Parent()) SetParent(FAssociate->Parent());
  SetBounds(FAssociate->Left() + FAssociate->Width(), FAssociate->Top(), Width(),
            FAssociate->Height());
}

void TUpDown::StepBy(bool Up) {
  SetPosition(Position() + (Up ? FIncrement : -FIncrement));
  Click();
}

void TUpDown::Paint() {
  TCanvas* C = Canvas();
  const int Half = ClientHeight() / 2;
  TRect Top = Rect(0, 0, ClientWidth(), Half), Bottom = Rect(0, Half, ClientWidth(), ClientHeight());
  DrawFrameControl(C, Top, DFC_SCROLL, DFCS_SCROLLUP);
  DrawFrameControl(C, Bottom, DFC_SCROLL, DFCS_SCROLLDOWN);
}

void TUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && Enabled()) StepBy(Y < ClientHeight() / 2);
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAssociate) FAssociate = nullptr;
}
