// Timer.cpp - TTimer over a hidden window's timer 1.
#include "platform/controls/Timer.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/WinApi.h"

REGISTER_CLASS(TTimer) {
  Class.Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
      .Property("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000u);
}

// The hidden window that receives the timer's WM_TIMER.
class TTimer::TTimerWindow : public TWinControl {
public:
  explicit TTimerWindow(TTimer* Owner) : TWinControl(nullptr), FTimer(Owner) { SetVisible(false); }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_TIMER) {
      FTimer->Timer();
      return;
    }
    TWinControl::Dispatch(Message);
  }

private:
  TTimer* FTimer;
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FWindow(std::make_unique<TTimerWindow>(this)) {}

TTimer::~TTimer() { KillTimer(FWindow.get(), 1); }

void TTimer::SetEnabled(bool Value) {
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = std::move(Value);
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(FWindow.get(), 1);
  if (FEnabled && FInterval != 0 && FOnTimer) SetTimer(FWindow->Handle(), 1, FInterval);
}

void TTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}
