// ToolCtrlsZkInput.cpp - the keyboard and double-click queries of ToolCtrlsZk.
#include "gridlib/toolkit/ToolCtrlsZk.h"

#include <cstdlib>

#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"

TShiftState KeyboardShiftState() {
  return KeyboardStateToShiftState() * TShiftState{ssShift, ssCtrl, ssAlt};
}

bool IsDoubleClickAt(TPoint OldPos, TPoint NewPos, int Interval) {
  if (Interval > static_cast<int>(GetDoubleClickTime())) return false;
  return std::abs(OldPos.X - NewPos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
         std::abs(OldPos.Y - NewPos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK);
}
