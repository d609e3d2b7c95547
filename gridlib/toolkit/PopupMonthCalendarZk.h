// PopupMonthCalendarZk.h - the month calendar that drops down under a date editor or a grid's
// date cell. It never takes the focus: its owner routes the keys to it (Perform WM_KEYDOWN).
// It closes through its owner's ICloseUpOwnerZk: Enter takes the date, Escape discards it, a
// click on a day takes it, a press outside (swallowed) discards it.
#pragma once

#include "gridlib/toolkit/MonthCalendarZk.h"
#include "platform/controls/DropDownWindow.h"

class TPopupMonthCalendarZk : public TDropDownWindow {
  VORENTA_CLASS(TPopupMonthCalendarZk, TDropDownWindow)
public:
  explicit TPopupMonthCalendarZk(TComponent* AOwner);

  TDateTime Date() const { return FModel.Date(); }
  // Out-of-range values leave the date as it was.
  void SetDate(TDateTime Value);
  // 2 with Ctl3D (a raised double edge), else 0 (a one-pixel window border).
  int BorderWidth() const { return FBorderWidth; }
  // The view in which the last press began (always the month view here).
  int DownViewType() const { return FDownViewType; }
  const TMonthCalendarModelZk& Model() const { return FModel; }

  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  void Resize() override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  // Asks the owner to close; an owner without ICloseUpOwnerZk gets nothing.
  void RequestCloseUp(bool Accept);
  int LineHeight();
  void UpdateLayout();
  void PaintDays();

  TMonthCalendarModelZk FModel;
  int FBorderWidth = 2;
  int FDownViewType = mcvMonth;
};
