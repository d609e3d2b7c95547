// GridMarkersZk.h - the small windows that float over a grid while the user drags: the drag box
// and the red insertion marker shown between columns while a column is moved.
//
// Both are top-level popup tool windows, topmost and never activated. The drag box is
// semi-transparent; the move line is a white window whose white is its colour key, so that
// only its red lines show: a line with a triangle at each end. One of each exists per process,
// made on first use (GridDragBoxWindow, GridMoveLineWindow) and owned by the application.
#pragma once

#include "platform/controls/Controls.h"

class TShape;

class TGridDragWinZk : public TCustomControl {
  VORENTA_CLASS(TGridDragWinZk, TCustomControl)
public:
  explicit TGridDragWinZk(TComponent* AOwner);

  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  // 0 means no colour key.
  TColor TransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor Value);

  // Shows the window at Pos (client coordinates of Control) with the given size (the present
  // width for the second form), topmost, without activating it.
  void StartShow(TControl* Control, TPoint Pos, int AWidth, int AHeight);
  void StartShow(TControl* Control, TPoint Pos, int AHeight) { StartShow(Control, Pos, Width(), AHeight); }
  void MoveToFor(TControl* Control, TPoint NewPos);
  void MoveToFor(TControl* Control, TPoint NewPos, int NewWidth, int NewHeight);
  // Does nothing: the window is shown by StartShow.
  void Show() {}
  // Shrinks the window to nothing where it stands; it stays visible in state.
  void TemporaryHide();
  bool CanFocus() const override { return false; }

protected:
  bool IsTopLevel() const override { return true; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void UpdateLayeredAttributes();

  Byte FAlphaBlendValue = 200;
  TColor FTransparentColorValue = 0;
};

class TGridDragBoxZk : public TGridDragWinZk {
  VORENTA_CLASS(TGridDragBoxZk, TGridDragWinZk)
public:
  explicit TGridDragBoxZk(TComponent* AOwner) : TGridDragWinZk(AOwner) {}
};

class TGridMoveLineZk : public TGridDragWinZk {
  VORENTA_CLASS(TGridMoveLineZk, TGridDragWinZk)
public:
  explicit TGridMoveLineZk(TComponent* AOwner);

  bool IsVert() const { return FIsVert; }
  // Shows the marker for a line of length Size whose start is Pos: vertical, the line stands
  // on Pos.X; horizontal, it lies at Pos.Y - 1.
  void StartShow(TControl* Control, TPoint Pos, bool AIsVert, int Size);
  void MoveToFor(TControl* Control, TPoint NewPos);
  void UpdateOrientationData();
  // The line pieces by name (sHigh7 ... sLow7, hLeft7 ... hRight7), or nullptr.
  TShape* Piece(const String& Name) const;

private:
  TShape* FPieces[14] = {};
  bool FIsVert = true;
};

TGridDragBoxZk* GridDragBoxWindow();
TGridMoveLineZk* GridMoveLineWindow();
