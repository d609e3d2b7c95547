// ConsumeClickZk.h - swallowing the click that closed a drop-down, so that the same press on the
// editor's button or on the grid does not open the drop-down again.
#pragma once

#include "platform/controls/Controls.h"

// Looks, without removing, for the first queued left-button message (down, up or double click)
// for Control's window (its parent's when Control is windowless). When that message is a down
// or a double click on Control itself (for a windowless control: Control is the child at the
// click, disabled children included), it is removed and the answer is true.
bool ConsumePendingClickOnControl(TControl* Control);
// The same search; the click is removed when it falls on Control as above and, converted into
// Control's client coordinates, lies inside Control's client rect. The grid uses it for its
// cell buttons.
bool ConsumePendingClickInRect(TControl* Control);
