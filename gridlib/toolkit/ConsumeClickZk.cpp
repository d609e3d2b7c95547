// ConsumeClickZk.cpp - swallowing a queued left-button press aimed at a control.
#include "gridlib/toolkit/ConsumeClickZk.h"

#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Geometry.h"

namespace {

// The window whose queue entries carry presses on Control.
TWinControl* ClickWindow(TControl* Control) {
  if (auto* Win = dynamic_cast<TWinControl*>(Control)) return Win;
  return Control->Parent();
}

// The first queued left-button message for Control's window when it is a press on Control;
// Pos receives the press in Control's client coordinates.
bool PeekPressOn(TControl* Control, TPoint& Pos) {
  TWinControl* Window = Control ? ClickWindow(Control) : nullptr;
  if (!Window) return false;
  TMsg Msg;
  if (!PeekMessage(Msg, Window, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE)) return false;
  if (Msg.message != WM_LBUTTONDOWN && Msg.message != WM_LBUTTONDBLCLK) return false;
  const TPoint P{GET_X_LPARAM(Msg.lParam), GET_Y_LPARAM(Msg.lParam)};
  // A windowed control gets the presses on itself; a press on one of its windowed children
  // would be queued for that child.
  if (Window == Control) {
    Pos = P;
    return true;
  }
  if (Window->ControlAtPos(P, true) != Control) return false;
  Pos = Control->ScreenToClient(Window->ClientToScreen(P));
  return true;
}

void RemovePress(TControl* Control) {
  TMsg Msg;
  PeekMessage(Msg, ClickWindow(Control), WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE);
}

}  // namespace

bool ConsumePendingClickOnControl(TControl* Control) {
  TPoint Pos;
  if (!PeekPressOn(Control, Pos)) return false;
  RemovePress(Control);
  return true;
}

bool ConsumePendingClickInRect(TControl* Control) {
  TPoint Pos;
  if (!PeekPressOn(Control, Pos) || !PtInRect(Control->ClientRect(), Pos)) return false;
  RemovePress(Control);
  return true;
}
