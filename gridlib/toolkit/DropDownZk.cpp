// DropDownZk.cpp - placement of drop-down windows.
#include "gridlib/toolkit/DropDownZk.h"

#include "platform/controls/Forms.h"

TDropDownPlacement CalcDropDownPlacement(const TRect& W, const TRect& R, TSize Size, int Align) {
  TDropDownPlacement P;
  int H = Size.cy, Width = Size.cx, Y = 0;
  const bool FitsBelow = W.Bottom >= R.Bottom + H;
  const bool FitsAbove = R.Top - H >= W.Top;
  const bool Above = (!FitsBelow && FitsAbove) ||
                     (!FitsAbove && !FitsBelow && W.Bottom - R.Bottom < R.Top - W.Top);
  if (Above) {
    if (!FitsAbove) H = R.Top - W.Top;
    Y = R.Top - H;
    P.Vertical = sgcpToTop;
  } else {
    if (!FitsBelow) H = W.Bottom - R.Bottom;
    Y = R.Bottom;
    P.Vertical = sgcpToBottom;
  }
  int X = Align == 1 ? R.Right - Width
          : Align == 2 ? R.Left - (Width - R.Width()) / 2
                       : R.Left;
  if (W.Width() < Width) Width = W.Width();
  if (X + Width > W.Right) {
    X = W.Right - Width;
    P.Horizontal = sgcpToLeft;
  } else if (X < W.Left) {
    X = W.Left;
    P.Horizontal = sgcpToRight;
  } else {
    P.Horizontal = Align == 1 ? sgcpToLeft : sgcpToRight;
  }
  P.Pos = {X, Y};
  P.Size = {Width, H};
  return P;
}

void PlaceDropDownAtRect(const TRect& Rect, TControl* Control, int Align, TPoint& Pos) {
  TRect Work = Screen->WorkAreaRect();
  if (TMonitor* Monitor = Screen->MonitorFromRect(Rect, mdNearest)) Work = Monitor->WorkareaRect();
  const TDropDownPlacement P =
      CalcDropDownPlacement(Work, Rect, {Control->Width(), Control->Height()}, Align);
  if (P.Size.cy != Control->Height()) Control->SetHeight(P.Size.cy);
  Control->Perform(WM_SIZEGRIPCHANGEPOSITION, P.Vertical, 0);
  if (P.Size.cx != Control->Width()) Control->SetWidth(P.Size.cx);
  Control->Perform(WM_SIZEGRIPCHANGEPOSITION, P.Horizontal, 0);
  Pos = P.Pos;
}

void PlaceDropDownUnderEdit(TControl* Edit, TControl* Control, int Align, TPoint& Pos) {
  TRect R = Edit->BoundsRect();
  if (Edit->Parent()) {
    const TPoint TopLeft = Edit->Parent()->ClientToScreen({R.Left, R.Top});
    R = Bounds(TopLeft.X, TopLeft.Y, R.Width(), R.Height());
  }
  PlaceDropDownAtRect(R, Control, Align, Pos);
}

TSizeGripPostion ChangedGripPosition(TSizeGripPostion Position, TSizeGripChangePosition Change) {
  switch (Change) {
    case sgcpToLeft:
      if (Position == sgpTopRight) return sgpTopLeft;
      if (Position == sgpBottomRight) return sgpBottomLeft;
      break;
    case sgcpToRight:
      if (Position == sgpTopLeft) return sgpTopRight;
      if (Position == sgpBottomLeft) return sgpBottomRight;
      break;
    case sgcpToTop:
      if (Position == sgpBottomRight) return sgpTopRight;
      if (Position == sgpBottomLeft) return sgpTopLeft;
      break;
    case sgcpToBottom:
      if (Position == sgpTopRight) return sgpBottomRight;
      if (Position == sgpTopLeft) return sgpBottomLeft;
      break;
  }
  return Position;
}
