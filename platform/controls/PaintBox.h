// PaintBox.h - TPaintBox: a graphic control that paints through its OnPaint event.
#pragma once

#include "platform/controls/Controls.h"

class TPaintBox : public TGraphicControl {
  VORENTA_CLASS(TPaintBox, TGraphicControl)
public:
  explicit TPaintBox(TComponent* AOwner);
  const TNotifyEvent& OnPaint() const { return FOnPaint; }
  void SetOnPaint(TNotifyEvent Value) { FOnPaint = std::move(Value); }

protected:
  void Paint() override;

private:
  TNotifyEvent FOnPaint;
};
