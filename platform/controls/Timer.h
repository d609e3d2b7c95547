// Timer.h - TTimer: a component that calls OnTimer every Interval milliseconds through a
// window timer (so it runs on the message loop, and tests drive it with the test clock).
#pragma once

#include "platform/controls/Controls.h"

class TTimer : public TComponent {
  VORENTA_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return FInterval; }
  // 0 stops the timer, as the library's does.
  void SetInterval(unsigned Value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value);

protected:
  virtual void Timer();

private:
  class TTimerWindow;
  void UpdateTimer();
  std::unique_ptr<TTimerWindow> FWindow;
  bool FEnabled = true;
  unsigned FInterval = 1000;
  TNotifyEvent FOnTimer;
};
