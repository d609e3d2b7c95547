// ScrollBarControl.h - TScrollBar: a scroll bar standing as a control of its own.
//
// The control's window is all bar: it shows its own window scroll bar (ScrollBars.h) over its
// whole area, so painting, presses and thumb dragging follow the window scroll-bar rules. Like
// the native control it tells its parent (WM_VSCROLL or WM_HSCROLL, LParam the bar), which
// reflects the notice back as CN_VSCROLL or CN_HSCROLL; by default the bar then moves its
// position and fires OnChange. A control that wants the notices for itself replaces the bar's
// window procedure (SetWindowProc) and catches the CN_ message.
#pragma once

#include "platform/controls/Controls.h"

class TScrollBar : public TWinControl {
  VORENTA_CLASS(TScrollBar, TWinControl)
public:
  explicit TScrollBar(TComponent* AOwner);

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
  int Min() const { return FMin; }
  void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
  int Max() const { return FMax; }
  void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
  // The range AMin..AMax (Max below Min is raised to Min) and the position clamped into it;
  // OnChange when the position moved.
  void SetParams(int APosition, int AMin, int AMax);
  // The thumb's length in range units (0: a square thumb); at most the range's size.
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int Value) { FSmallChange = Value; }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int Value) { FLargeChange = Value; }

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

private:
  int Bar() const { return FKind == sbVertical ? SB_VERT : SB_HORZ; }
  // Shows the model on the window's bar.
  void UpdateBar();
  void Scroll(unsigned Code, int ThumbPos);

  TScrollBarKind FKind = sbHorizontal;
  int FPosition = 0;
  int FMin = 0;
  int FMax = 100;
  int FPageSize = 0;
  int FSmallChange = 1;
  int FLargeChange = 1;
  TNotifyEvent FOnChange;
};
