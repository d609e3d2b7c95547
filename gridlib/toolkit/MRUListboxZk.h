// MRUListboxZk.h - the drop-down list of an editor's most recently used texts: a popup list
// box whose own scroll bars are replaced by a vertical scroll bar control at its right edge,
// sharing the corner with the size grip.
#pragma once

#include "gridlib/toolkit/PopupListboxZk.h"

class TScrollBar;

class TMRUListboxZk : public TPopupListboxZk {
  VORENTA_CLASS(TMRUListboxZk, TPopupListboxZk)
public:
  explicit TMRUListboxZk(TComponent* AOwner);
  // Frees the bar first: its window procedure and moves call back into the list.
  ~TMRUListboxZk() override;

  // Owned; its scroll notices scroll the list.
  TScrollBar* ScrollBar() const { return FScrollBar; }
  // Places the bar and sets its range, page and position from the list: shown only when there
  // are more items than whole rows. A grip on the right keeps its corner square beside the bar.
  // Nothing before the window exists.
  void UpdateScrollBar();
  // Moves the bar to the right edge, clear of a grip on the right.
  void UpdateScrollBarPos();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  // The bar's window procedure: its scroll notices go to the list.
  void ScrollBarWndProc(TMessage& Message);

  TScrollBar* FScrollBar;
  bool FScrollBarLockMove = false;
};
