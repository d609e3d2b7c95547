// HintWindow.h - THintWindow: the small top-level window that shows a control's hint.
#pragma once

#include "platform/controls/Controls.h"

class THintWindow : public TCustomControl {
  VORENTA_CLASS(THintWindow, TCustomControl)
public:
  explicit THintWindow(TComponent* AOwner);
  // The window rectangle (at 0, 0) that shows Hint within MaxWidth; Data may be a TFont*
  // for descendants that take their font from the hint data.
  virtual TRect CalcHintRect(int MaxWidth, const String& Hint, void* Data);
  virtual void ActivateHint(const TRect& R, const String& Hint);
  virtual void ActivateHintData(const TRect& R, const String& Hint, void* Data);
  // Hides the window.
  void ReleaseHandle();
  bool CanFocus() const override { return false; }

protected:
  void Paint() override;
  bool IsTopLevel() const override { return true; }
  void CreateParams(TCreateParams& Params) override;
};
