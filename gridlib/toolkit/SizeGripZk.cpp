// SizeGripZk.cpp - the size grip of the drop-downs.
#include "gridlib/toolkit/SizeGripZk.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Canvas.h"

namespace {

// Sets a flag for the lifetime of the guard.
class TFlagGuard {
public:
  explicit TFlagGuard(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagGuard() { FFlag = false; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
  bool& FFlag;
};

// A point drawn for the bottom-right corner, mirrored into Position's corner.
TPoint Mirrored(TSizeGripPostion Position, TPoint P, int Width, int Height) {
  if (Position == sgpTopLeft || Position == sgpBottomLeft) P.X = Width - 1 - P.X;
  if (Position == sgpTopLeft || Position == sgpTopRight) P.Y = Height - 1 - P.Y;
  return P;
}

}  // namespace

REGISTER_CLASS(TSizeGripZk) {}

std::vector<TPoint> SizeGripTriangle(TSizeGripPostion Position, int Width, int Height) {
  const int W = Width, H = Height;
  switch (Position) {
    case sgpTopLeft: return {{0, 0}, {W - 1, 0}, {0, H - 1}};
    case sgpTopRight: return {{1, 0}, {W, 0}, {W, H - 1}};
    case sgpBottomLeft: return {{0, 0}, {0, H}, {W, H}};
    case sgpBottomRight: break;
  }
  return {{0, H}, {W, H}, {W, 0}};
}

TSizeGripZk::TSizeGripZk(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle Style = ControlStyle();
  Style << csReplicatable << csCaptureMouse;
  SetControlStyle(Style);
  SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYVSCROLL));
  SetColor(clBtnFace);
}

void TSizeGripZk::SetPosition(TSizeGripPostion Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  RecreateWnd();
}

void TSizeGripZk::SetTriangleWindow(bool Value) {
  if (FTriangleWindow == Value) return;
  FTriangleWindow = Value;
  if (HandleAllocated()) UpdateWindowRegion();
}

void TSizeGripZk::ChangePosition(TSizeGripChangePosition NewPosition) {
  SetPosition(ChangedGripPosition(FPosition, NewPosition));
}

void TSizeGripZk::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateWindowRegion();
}

void TSizeGripZk::UpdateWindowRegion() {
  if (FTriangleWindow) {
    const std::vector<TPoint> Triangle = SizeGripTriangle(FPosition, Width(), Height());
    SetWindowRgn(this, &Triangle, true);
  } else {
    SetWindowRgn(this, nullptr, true);
  }
  UpdatePosition();
  SetCursor(FPosition == sgpTopLeft || FPosition == sgpBottomRight ? crSizeNWSE : crSizeNESW);
}

void TSizeGripZk::UpdatePosition() {
  if (!Parent()) return;
  const TRect Client = Parent()->ClientRect();
  const int X = AtRight() ? Client.Width() - Width() : 0;
  const int Y = AtBottom() ? Client.Height() - Height() : 0;
  TFlagGuard Internal(FInternalMove);
  MoveWindow(this, X, Y, Width(), Height(), true);
}

void TSizeGripZk::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!FInternalMove && Parent()) UpdatePosition();
}

void TSizeGripZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Parent()) return;
  FInitScreenMousePos = ClientToScreen({X, Y});
  FOldMouseMovePos = FInitScreenMousePos;
  FParentRect = Rect(Parent()->ClientWidth(), Parent()->ClientHeight(), Parent()->Width(),
                     Parent()->Height());
}

void TSizeGripZk::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const TPoint ScreenPos = ClientToScreen({X, Y});
  if (!Shift.Contains(ssLeft) || GetCapture() != this || FInternalMove || !Parent() ||
      ScreenPos == FOldMouseMovePos)
    return;
  FOldMouseMovePos = ScreenPos;
  ResizeParent(ScreenPos);
  UpdatePosition();
}

// The parent's new bounds from the mouse offset since the press, kept inside the work area:
// a right or bottom grip moves the parent's right or bottom edge, a left or top grip its left
// or top edge (the opposite edge stays).
void TSizeGripZk::ResizeParent(TPoint ScreenPos) {
  TWinControl* P = Parent();
  TRect Work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
  TRect Outer;
  GetWindowRect(P, Outer);
  const TPoint ClientOrigin = P->ClientOrigin();
  const int FrameW = FParentRect.Right - FParentRect.Left;   // outer width - client width
  const int FrameH = FParentRect.Bottom - FParentRect.Top;
  const int DX = ScreenPos.X - FInitScreenMousePos.X;
  const int DY = ScreenPos.Y - FInitScreenMousePos.Y;
  const int OldClientW = P->ClientWidth(), OldClientH = P->ClientHeight();

  int ClientW, ClientH;
  TRect NewOuter = Outer;
  if (AtRight()) {
    ClientW = FParentRect.Left + DX;
    ClientW -= std::max(0, Outer.Left + ClientW + FrameW - Work.Right);
    NewOuter.Right = Outer.Left + std::max(ClientW, 0) + FrameW;
  } else {
    const int Border = ClientOrigin.X - Outer.Left;
    const int StartLeft = Outer.Right - FParentRect.Right;
    const int Grow = std::min(-DX, StartLeft + Border - Work.Left);
    ClientW = FParentRect.Left + Grow;
    NewOuter.Left = Outer.Right - std::max(ClientW, 0) - FrameW;
  }
  if (AtBottom()) {
    ClientH = FParentRect.Top + DY;
    ClientH -= std::max(0, Outer.Top + ClientH + FrameH - Work.Bottom);
    NewOuter.Bottom = Outer.Top + std::max(ClientH, 0) + FrameH;
  } else {
    const int Border = ClientOrigin.Y - Outer.Top;
    const int StartTop = Outer.Bottom - FParentRect.Bottom;
    const int Grow = std::min(-DY, StartTop + Border - Work.Top);
    ClientH = FParentRect.Top + Grow;
    NewOuter.Top = Outer.Bottom - std::max(ClientH, 0) - FrameH;
  }

  TPoint TopLeft = NewOuter.TopLeft();
  if (P->Parent()) TopLeft = P->Parent()->ScreenToClient(TopLeft);
  P->SetBounds(TopLeft.X, TopLeft.Y, NewOuter.Width(), NewOuter.Height());
  if ((P->ClientWidth() != OldClientW || P->ClientHeight() != OldClientH) && FParentResized)
    FParentResized(this);
}

void TSizeGripZk::Paint() {
  TCanvas* C = Canvas();
  const int W = Width(), H = Height();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, W, H));
  static constexpr TColor Colors[] = {clBtnHighlight, clBtnShadow, clBtnShadow, clBtnFace};
  // Lines parallel to the triangle's long side, moving towards the corner.
  for (int I = 0; I < W; I += 4) {
    for (int K = 0; K < 4 && I + K < W; ++K) {
      const int D = I + K;
      C->Pen()->SetColor(Colors[K]);
      const TPoint A = Mirrored(FPosition, {D, H - 1}, W, H);
      const TPoint B = Mirrored(FPosition, {W - 1, D * (H - 1) / std::max(W - 1, 1)}, W, H);
      C->MoveTo(A.X, A.Y);
      C->LineTo(B.X, B.Y);
    }
  }
}
