// ScrollingWinControl.cpp - TScrollingWinControl and its two TControlScrollBars, and TMouse.
#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Controls_p.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"

REGISTER_CLASS(TControlScrollBar) {}
REGISTER_CLASS(TScrollingWinControl) {}

TControlScrollBar::TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind)
    : FControl(Control), FKind(Kind) {}

int TControlScrollBar::ClientExtent() const {
  // The extent the contents may use: the client size as if no bar of ours were shown.
  const TRect R = FControl->ClientRect();
  if (FKind == sbHorizontal)
    return R.Width() + (FControl->ScrollBarShown(SB_VERT) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
  return R.Height() + (FControl->ScrollBarShown(SB_HORZ) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
}

bool TControlScrollBar::IsScrollBarVisible() const {
  return FVisible && FRange > ClientExtent();
}

void TControlScrollBar::SetRange(int Value) {
  FRange = std::max(0, Value);
  Update();
}

void TControlScrollBar::SetPosition(int Value) {
  const TRect R = FControl->ClientRect();
  const int Page = FKind == sbHorizontal ? R.Width() : R.Height();
  Value = std::clamp(Value, 0, std::max(0, FRange - Page));
  if (Value == FPosition) return;
  const int Delta = FPosition - Value;
  FPosition = Value;
  if (FKind == sbHorizontal) FControl->ScrollBy(Delta, 0);
  else FControl->ScrollBy(0, Delta);
  if (FControl->HandleAllocated()) SetScrollPos(FControl, FKind == sbHorizontal ? SB_HORZ : SB_VERT, FPosition, true);
}

void TControlScrollBar::SetVisible(bool Value) {
  FVisible = Value;
  Update();
}

void TControlScrollBar::Update() {
  const int Bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
  SCROLLINFO I;
  I.fMask = SIF_ALL;
  I.nMin = 0;
  if (IsScrollBarVisible()) {
    const TRect R = FControl->ClientRect();
    I.nMax = FRange - 1;
    I.nPage = unsigned(FKind == sbHorizontal ? R.Width() : R.Height());
    I.nPos = FPosition;
  } else {
    I.nMax = 0;
    if (FPosition != 0) SetPosition(0);
  }
  SetScrollInfo(FControl, Bar, I, true);
}

void TControlScrollBar::ScrollMessage(TMessage& Message) {
  TWMScroll S{Message};
  const TRect R = FControl->ClientRect();
  const int Page = FKind == sbHorizontal ? R.Width() : R.Height();
  // Without Tracking the thumb's drag moves nothing until it is let go.
  if (S.ScrollCode() == SB_THUMBTRACK && !FTracking) return;
  if (const std::optional<int> Pos =
          ScrollCodePos(S.ScrollCode(), FPosition, FIncrement, Page, S.Pos(), 0, FRange))
    SetPosition(*Pos);
}

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner),
      FHorz(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      FVert(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::CreateParams(TCreateParams& Params) { TWinControl::CreateParams(Params); }

void TScrollingWinControl::SetAutoScroll(bool Value) {
  FAutoScroll = Value;
  Realign();
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY) {
  DisableAlign();
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    C->SetBounds(C->Left() + DeltaX, C->Top() + DeltaY, C->Width(), C->Height());
  }
  EnableAlign();
  InvalidateRect(nullptr, true);
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (!AControl || !ContainsControl(AControl)) return;
  const TRect R = AControl->BoundsRect();
  const TRect C = ClientRect();
  if (R.Left < 0) FHorz->SetPosition(FHorz->Position() + R.Left);
  else if (R.Right > C.Width()) FHorz->SetPosition(FHorz->Position() + std::min(R.Right - C.Width(), R.Left));
  if (R.Top < 0) FVert->SetPosition(FVert->Position() + R.Top);
  else if (R.Bottom > C.Height()) FVert->SetPosition(FVert->Position() + std::min(R.Bottom - C.Height(), R.Top));
}

void TScrollingWinControl::CalcAutoRange() {
  if (!FAutoScroll) return;
  int Right = 0, Bottom = 0;
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (!C->Visible() || C->Align() != alNone) continue;
    Right = std::max(Right, C->Left() + C->Width() + FHorz->Position());
    Bottom = std::max(Bottom, C->Top() + C->Height() + FVert->Position());
  }
  FHorz->SetRange(Right);
  FVert->SetRange(Bottom);
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars) return;
  FUpdatingScrollBars = true;
  CalcAutoRange();
  FUpdatingScrollBars = false;
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  if (FAutoScroll && !FUpdatingScrollBars) UpdateScrollBars();
}

void TScrollingWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
      if (Message.LParam == 0) {
        FHorz->ScrollMessage(Message);
        return;
      }
      break;
    case WM_VSCROLL:
      if (Message.LParam == 0) {
        FVert->ScrollMessage(Message);
        return;
      }
      break;
    default: break;
  }
  TWinControl::Dispatch(Message);
}

// --- TMouse --------------------------------------------------------------------------------------

TPoint TMouse::CursorPos() const {
  TPoint P;
  GetCursorPos(P);
  return P;
}
void TMouse::SetCursorPos(TPoint Value) { ::SetCursorPos(Value.X, Value.Y); }
HWND TMouse::Capture() const { return GetCapture(); }
void TMouse::SetCapture(HWND Value) {
  if (Value) ::SetCapture(Value);
  else ReleaseCapture();
}
