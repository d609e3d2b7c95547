// PopupListboxItemZk.h - the object behind an item of a popup list box when its UseItemObjects
// is set: it draws the item and handles the mouse and keys on it (the grid's filter-list entries
// derive from it).
#pragma once

#include "platform/controls/Controls.h"
#include "platform/controls/StdCtrls.h"

class TPopupListboxZk;

class TPopupListboxItemZk : public TObject {
  VORENTA_CLASS(TPopupListboxItemZk, TObject)
public:
  // False: the item is drawn without its focus rectangle.
  virtual bool CanShowFocus(TPopupListboxZk* Sender, int ItemIndex);
  // Sender's DefaultDrawItem.
  virtual void DrawItem(TPopupListboxZk* Sender, int ItemIndex, const TRect& ARect,
                        TOwnerDrawState State);
  // InItemPos is the mouse position in the list box's client coordinates.
  virtual void MouseDown(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos,
                         TMouseButton Button, TShiftState Shift);
  virtual void MouseMove(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos,
                         TShiftState Shift);
  // IsCloseListbox := CloseOnExecute.
  virtual void MouseUp(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos,
                       TMouseButton Button, TShiftState Shift, bool& IsCloseListbox);
  virtual void KeyPress(TPopupListboxZk* Sender, int ItemIndex, bool& IsCloseListbox,
                        TShiftState Shift, Char& Key);
  virtual bool CloseOnExecute(TPopupListboxZk* Sender, int ItemIndex);
  virtual void Execute(TPopupListboxZk* Sender, int ItemIndex, TPoint InItemPos,
                       TShiftState Shift);
};

// The shared instance for items that need nothing of their own.
TPopupListboxItemZk* DefaultPopupListboxItem();
