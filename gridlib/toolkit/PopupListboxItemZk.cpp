// PopupListboxItemZk.cpp - the base behaviour of popup list box item objects.
#include "gridlib/toolkit/PopupListboxItemZk.h"

#include "gridlib/toolkit/PopupListboxZk.h"
#include "platform/classes/TypeRegistry.h"

REGISTER_CLASS(TPopupListboxItemZk) {}

bool TPopupListboxItemZk::CanShowFocus(TPopupListboxZk*, int) { return true; }

void TPopupListboxItemZk::DrawItem(TPopupListboxZk* Sender, int ItemIndex, const TRect& ARect,
                                   TOwnerDrawState State) {
  Sender->DefaultDrawItem(ItemIndex, ARect, State);
}

void TPopupListboxItemZk::MouseDown(TPopupListboxZk*, int, TPoint, TMouseButton, TShiftState) {}

void TPopupListboxItemZk::MouseMove(TPopupListboxZk*, int, TPoint, TShiftState) {}

void TPopupListboxItemZk::MouseUp(TPopupListboxZk* Sender, int ItemIndex, TPoint, TMouseButton,
                                  TShiftState, bool& IsCloseListbox) {
  IsCloseListbox = CloseOnExecute(Sender, ItemIndex);
}

void TPopupListboxItemZk::KeyPress(TPopupListboxZk*, int, bool&, TShiftState, Char&) {}

bool TPopupListboxItemZk::CloseOnExecute(TPopupListboxZk*, int) { return true; }

void TPopupListboxItemZk::Execute(TPopupListboxZk*, int, TPoint, TShiftState) {}

TPopupListboxItemZk* DefaultPopupListboxItem() {
  static TPopupListboxItemZk Instance;
  return &Instance;
}
