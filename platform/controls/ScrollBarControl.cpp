// ScrollBarControl.cpp - TScrollBar over the window's own scroll bar.
#include "platform/controls/ScrollBarControl.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Messages.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"

REGISTER_CLASS(TScrollBar) {
  Class.Property("Kind", &TScrollBar::Kind, &TScrollBar::SetKind, sbHorizontal)
      .Property("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, 1)
      .Property("Max", &TScrollBar::Max, &TScrollBar::SetMax, 100)
      .Property("Min", &TScrollBar::Min, &TScrollBar::SetMin, 0)
      .Property("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize, 0)
      .Property("Position", &TScrollBar::Position, &TScrollBar::SetPosition, 0)
      .Property("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, 1);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  AMax = std::max(AMax, AMin);
  APosition = std::clamp(APosition, AMin, AMax);
  const bool Moved = APosition != FPosition;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  FPageSize = std::min(FPageSize, FMax - FMin + 1);
  UpdateBar();
  if (Moved && FOnChange) FOnChange(this);
}

void TScrollBar::SetPageSize(int Value) {
  FPageSize = std::clamp(Value, 0, FMax - FMin + 1);
  UpdateBar();
}

void TScrollBar::UpdateBar() {
  SCROLLINFO Info;
  // A scroll bar control stays shown when there is nothing to scroll.
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  Info.nMin = FMin;
  Info.nMax = FMax;
  Info.nPage = unsigned(FPageSize);
  Info.nPos = FPosition;
  SetScrollInfo(this, Bar(), Info, true);
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= FKind == sbVertical ? WS_VSCROLL : WS_HSCROLL;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateBar();   // the window's bar starts anew with every window
}

void TScrollBar::Scroll(unsigned Code, int ThumbPos) {
  if (const std::optional<int> Pos =
          ScrollCodePos(Code, FPosition, FSmallChange, FLargeChange, ThumbPos, FMin, FMax))
    SetPosition(*Pos);
}

void TScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      // From the window's own bar: tell the parent, as the native control does.
      if (Message.LParam == 0 && Parent()) {
        Message.Result = Parent()->Perform(Message.Msg, Message.WParam, LPARAM(this));
        return;
      }
      Scroll(LOWORD(Message.WParam), SmallInt(HIWORD(Message.WParam)));
      return;
    case CN_HSCROLL:
    case CN_VSCROLL: Scroll(LOWORD(Message.WParam), SmallInt(HIWORD(Message.WParam))); return;
    default: TWinControl::Dispatch(Message);
  }
}
