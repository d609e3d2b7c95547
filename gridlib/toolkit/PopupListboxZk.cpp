// PopupListboxZk.cpp - the popup list box of the drop-downs.
#include "gridlib/toolkit/PopupListboxZk.h"

#include <algorithm>

#include "gridlib/toolkit/DropDownZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr unsigned SearchResetMs = 2000;
constexpr size_t MaxSearchLength = 32;

}  // namespace

REGISTER_CLASS(TPopupListboxZk) {}

TPopupListboxZk::TPopupListboxZk(TComponent* AOwner)
    : TCustomListBox(AOwner), FLink(this), FSizeGrip(new TSizeGripZk(this)) {
  SetVisible(false);
  TControlStyle Style = ControlStyle();
  Style << csReplicatable;
  SetControlStyle(Style);
  SetStyle(lbOwnerDrawFixed);
  SetTabStop(false);
  SetAutoComplete(false);
  FSizeGrip->SetParent(this);
}

void TPopupListboxZk::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  SetDropDownParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

int TPopupListboxZk::BorderHeight() const { return Height() - ClientHeight(); }

void TPopupListboxZk::SetRowCount(int Value) {
  SetHeight(std::max(Value, 1) * ItemHeight() + BorderHeight());
}

void TPopupListboxZk::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int Border = BorderHeight();
  const int RowHeight = std::max(ItemHeight(), 1);
  FRowCount = std::max((AHeight - Border) / RowHeight, 1);
  AHeight = std::max(Border + FRowCount * RowHeight, GetSystemMetrics(SM_CYVSCROLL));
  AWidth = std::max(AWidth, GetSystemMetrics(SM_CXVSCROLL));
  TCustomListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FSizeGrip) FSizeGrip->UpdatePosition();
  FSizeGripResized = true;
}

void TPopupListboxZk::InvalidateIndex(int Index) {
  if (Index < 0 || !HandleAllocated()) return;
  const TRect R = ItemRect(Index);
  InvalidateRect(&R, false);
}

void TPopupListboxZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZEGRIPCHANGEPOSITION:
      FSizeGrip->ChangePosition(TSizeGripChangePosition(Message.WParam));
      return;
    case CM_MOUSEWHEEL:   // through DoMouseWheel, one row per step
      TWinControl::Dispatch(Message);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TCustomListBox::Dispatch(Message);
      InvalidateIndex(ItemIndex());
      return;
    default: TCustomListBox::Dispatch(Message);
  }
}

// Hot tracking: with no button held, the item under the mouse becomes the selected one.
void TPopupListboxZk::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomListBox::MouseMove(Shift, X, Y);
  const TPoint P{X, Y};
  if (P == FMousePos) return;
  FMousePos = P;
  if (Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle)) return;
  const int Index = ItemAtPos(P, true);
  if (Index >= 0) SetItemIndex(Index);
  if (Index != FMouseIndex) {
    InvalidateIndex(FMouseIndex);
    InvalidateIndex(Index);
    FMouseIndex = Index;
  }
}

bool TPopupListboxZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TCustomListBox::DoMouseWheelDown(Shift, MousePos)) SetTopIndex(TopIndex() + 1);
  return true;
}

bool TPopupListboxZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TCustomListBox::DoMouseWheelUp(Shift, MousePos)) SetTopIndex(TopIndex() - 1);
  return true;
}

void TPopupListboxZk::KeyPress(Char& Key) {
  TCustomListBox::KeyPress(Key);
  if (Key == VK_BACK || Key == VK_ESCAPE) {
    FSearchText.clear();
  } else if (Key > 31) {
    SearchFor(Key);
    Key = 0;
  }
}

// Appends Key to the search text (restarted after a pause) and selects the first item that
// starts with it, ignoring case.
void TPopupListboxZk::SearchFor(Char Key) {
  const unsigned Now = GetTickCount();
  if (Now - FSearchTickCount > SearchResetMs) FSearchText.clear();
  FSearchTickCount = Now;
  if (FSearchText.size() < MaxSearchLength) FSearchText += Key;
  const String Prefix = AnsiUpperCase(FSearchText);
  for (int I = 0; I < ItemCount(); ++I) {
    if (AnsiUpperCase(ItemText(I)).compare(0, Prefix.size(), Prefix) == 0) {
      SetItemIndex(I);
      return;
    }
  }
}
