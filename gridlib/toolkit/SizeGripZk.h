// SizeGripZk.h - the size grip in a corner of a drop-down: dragging it resizes the drop-down
// within the work area.
#pragma once

#include <vector>

#include "gridlib/toolkit/DropDownZk.h"
#include "platform/controls/Controls.h"

class TSizeGripZk : public TCustomControl {
  VORENTA_CLASS(TSizeGripZk, TCustomControl)
public:
  explicit TSizeGripZk(TComponent* AOwner);

  TSizeGripPostion Position() const { return FPosition; }
  // A new corner re-creates the window (its region and cursor follow).
  void SetPosition(TSizeGripPostion Value);
  // Whether the window is cut to the triangle whose right angle lies in the grip's corner.
  bool TriangleWindow() const { return FTriangleWindow; }
  void SetTriangleWindow(bool Value);
  // Fired while dragging, when the parent's client size changed.
  const TNotifyEvent& OnParentResized() const { return FParentResized; }
  void SetOnParentResized(TNotifyEvent Value) { FParentResized = std::move(Value); }

  // Moves the grip into its corner of the parent's client area.
  void UpdatePosition();
  // Moves the grip to the corner away from where the drop-down went (ChangedGripPosition).
  void ChangePosition(TSizeGripChangePosition NewPosition);
  // Sets the window's region (see TriangleWindow), then the position and the cursor.
  void UpdateWindowRegion();

  // A move by anybody else puts the grip back into its corner.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void Paint() override;

private:
  bool AtRight() const { return FPosition == sgpTopRight || FPosition == sgpBottomRight; }
  bool AtBottom() const { return FPosition == sgpBottomLeft || FPosition == sgpBottomRight; }
  void ResizeParent(TPoint ScreenPos);

  TPoint FInitScreenMousePos;
  bool FInternalMove = false;
  TPoint FOldMouseMovePos;
  // The parent's client width and height, then its width and height, when the drag began.
  TRect FParentRect;
  TNotifyEvent FParentResized;
  TSizeGripPostion FPosition = sgpBottomRight;
  bool FTriangleWindow = true;
};

// The outline of a Width x Height grip in the Position corner, in window coordinates; the two
// top corners' triangles are one pixel smaller.
std::vector<TPoint> SizeGripTriangle(TSizeGripPostion Position, int Width, int Height);
