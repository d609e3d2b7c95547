// EditButtonControlZk.h - the visible edit button: a speed button painted as a drop-down,
// ellipsis, up/down, plus, minus or glyph button, that knows which half of an up/down button is
// pressed and repeats OnDown while held (400 ms, then every 100 ms).
#pragma once

#include "gridlib/toolkit/EditButtonsZk.h"
#include "platform/controls/Buttons.h"

class TTimer;

class TEditButtonControlZk : public TSpeedButton {
  VORENTA_CLASS(TEditButtonControlZk, TSpeedButton)
public:
  explicit TEditButtonControlZk(TComponent* AOwner);
  ~TEditButtonControlZk() override;

  // The first delay of the auto-repeat and the delay between repeats.
  static constexpr unsigned InitialRepeatDelay = 400;
  static constexpr unsigned RepeatDelay = 100;

  // Owners drive the pressed look (for example while a drop-down is open); repaints at once
  // when anything changed.
  void SetState(TButtonState NewState, bool IsActive, int ButtonNum);
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  // Down in group 1 and drawn pressed, or back up.
  bool AlwaysDown() const { return FAlwaysDown; }
  void SetAlwaysDown(bool Value);
  TEditButtonStyleZk Style() const { return FStyle; }
  void SetStyle(TEditButtonStyleZk Value);
  const TButtonDownEventZk& OnDown() const { return FOnDown; }
  void SetOnDown(TButtonDownEventZk Value) { FOnDown = std::move(Value); }
  void SetWidthNoNotify(int AWidth) { SetWidth(AWidth); }

  // 0 no part pressed, 1 the whole button or the upper half, 2 the lower half.
  int ButtonNum() const { return FButtonNum; }
  // The repeat timer (nullptr before the first repeat).
  TTimer* RepeatTimer() const { return FTimer; }

  void Click() override;

protected:
  using TSpeedButton::SetState;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void EditButtonDown(bool TopButton, bool& AutoRepeat);

private:
  void UpdateButtonNum(int X, int Y);
  TTimer* GetTimer();
  void StartRepeatTimer(unsigned Interval);
  void StopRepeatTimer();
  void RepeatTimerTick(TObject* Sender);
  bool IsPressedState() const;
  void PaintGlyphStyle();
  void DrawButtonCaption();

  bool FActive = false;
  bool FAlwaysDown = false;
  int FButtonNum = 0;
  bool FNoDoClick = false;
  bool FReleasedByDrag = false;   // left its half while held: stays up until released
  TButtonDownEventZk FOnDown;
  TEditButtonStyleZk FStyle = ebsDropDownZk;
  TTimer* FTimer = nullptr;   // owned through the control
};

// A plain speed button of the library.
class TSpeedButtonZk : public TEditButtonControlZk {
  VORENTA_CLASS(TSpeedButtonZk, TEditButtonControlZk)
public:
  using TEditButtonControlZk::TEditButtonControlZk;
};
