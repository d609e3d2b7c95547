// DropDownZk.h - what the drop-down windows share: where a drop-down goes on the screen under
// (or above) an edit area, and the message that tells it to move its size grip.
#pragma once

#include "platform/controls/Controls.h"

// The platform's drop-down messages under the names the drop-downs use.
// WParam a TSizeGripChangePosition.
constexpr unsigned WM_SIZEGRIPCHANGEPOSITION = WM_DROPDOWN_SIZEGRIP;
// The calendar's deferred close-up.
constexpr unsigned WM_DEFERREDCLOSEUP = WM_DROPDOWN_CLOSEUP;

enum TSizeGripPostion { sgpTopLeft, sgpTopRight, sgpBottomRight, sgpBottomLeft };
enum TSizeGripChangePosition { sgcpToLeft, sgcpToRight, sgcpToTop, sgcpToBottom };

// The outcome of placing a drop-down of Size under or above Edit inside Work.
struct TDropDownPlacement {
  TPoint Pos;          // screen position of the top-left corner
  TSize Size;          // the size, shrunk to fit
  TSizeGripChangePosition Vertical = sgcpToBottom;
  TSizeGripChangePosition Horizontal = sgcpToRight;
};

// Below when it fits there; above when it fits only above, or fits neither way and there is
// more room above (ties go below); shrunk to the room it gets. Align 0 left, 1 right, 2 centre;
// clamped to the work area horizontally.
TDropDownPlacement CalcDropDownPlacement(const TRect& Work, const TRect& Edit, TSize Size,
                                         int Align);
// Places Control for the screen rect Rect on the work area of the nearest monitor: may change
// its width and height, sends it the grip messages (vertical, then horizontal) and returns the
// position for its top-left corner.
void PlaceDropDownAtRect(const TRect& Rect, TControl* Control, int Align, TPoint& Pos);
// The same for the screen rect of Edit.
void PlaceDropDownUnderEdit(TControl* Edit, TControl* Control, int Align, TPoint& Pos);
// The size grip's new corner after a move of the drop-down (unchanged when not applicable).
TSizeGripPostion ChangedGripPosition(TSizeGripPostion Position, TSizeGripChangePosition Change);
