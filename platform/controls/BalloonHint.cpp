// BalloonHint.cpp - the balloon hint: title and description in a rounded frame with a pointer.
#include "platform/controls/BalloonHint.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"

REGISTER_CLASS(TBalloonHint) {
  Class.Property("Title", &TBalloonHint::Title, &TBalloonHint::SetTitle)
      .Property("Description", &TBalloonHint::Description, &TBalloonHint::SetDescription)
      .Property("HideAfter", &TBalloonHint::HideAfter, &TBalloonHint::SetHideAfter, -1);
}

namespace {

constexpr int PointerHeight = 10;
constexpr int Padding = 8;
constexpr int MaxTextWidth = 300;
constexpr unsigned HideTimerId = 1;

class TBalloonWindow : public THintWindow {
public:
  TBalloonWindow(TComponent* AOwner, TBalloonHint* Hint) : THintWindow(AOwner), FHint(Hint) {}

  // The size of the title and description with the padding and the pointer.
  TSize Measure() {
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    C->Font()->SetStyle({fsBold});
    TRect T = Rect(0, 0, MaxTextWidth, 0);
    if (!FHint->Title().empty()) DrawText(C, FHint->Title(), T, DT_CALCRECT | DT_WORDBREAK);
    C->Font()->SetStyle({});
    TRect D = Rect(0, 0, MaxTextWidth, 0);
    if (!FHint->Description().empty())
      DrawText(C, FHint->Description(), D, DT_CALCRECT | DT_WORDBREAK);
    FTitleHeight = T.Height();
    const int W = std::max(T.Width(), D.Width()) + 2 * Padding;
    const int H = T.Height() + D.Height() + 2 * Padding + (T.Height() && D.Height() ? 4 : 0);
    return {W, H + PointerHeight};
  }

  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_TIMER && Message.WParam == HideTimerId) {
      FHint->HideHint();
      return;
    }
    THintWindow::Dispatch(Message);
  }

protected:
  void Paint() override {
    TCanvas* C = Canvas();
    const TRect R = ClientRect();
    C->Brush()->SetColor(Color());
    C->FillRect(R);
    const TRect Body = Rect(R.Left, R.Top + PointerHeight, R.Right - 1, R.Bottom - 1);
    C->Pen()->SetColor(clInfoText);
    C->Brush()->SetColor(clInfoBk);
    C->RoundRect(Body.Left, Body.Top, Body.Right, Body.Bottom, 10, 10);
    const int PX = Padding * 2;
    C->Polygon({{PX, Body.Top + 1}, {PX + 6, R.Top}, {PX + 12, Body.Top + 1}});
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(Font());
    C->Font()->SetColor(clInfoText);
    TRect T = Rect(Body.Left + Padding, Body.Top + Padding, Body.Right - Padding, Body.Bottom);
    if (!FHint->Title().empty()) {
      C->Font()->SetStyle({fsBold});
      DrawText(C, FHint->Title(), T, DT_WORDBREAK);
      C->Font()->SetStyle({});
      T.Top += FTitleHeight + 4;
    }
    DrawText(C, FHint->Description(), T, DT_WORDBREAK);
  }

private:
  TBalloonHint* FHint;
  int FTitleHeight = 0;
};

}  // namespace

TBalloonHint::TBalloonHint(TComponent* AOwner) : TComponent(AOwner) {}

TBalloonHint::~TBalloonHint() = default;

void TBalloonHint::ShowHint(TPoint ScreenPos) {
  if (!FWindow) FWindow = new TBalloonWindow(this, this);
  auto* W = static_cast<TBalloonWindow*>(FWindow);
  const TSize S = W->Measure();
  // The pointer's tip sits on the point.
  const TRect R = Bounds(ScreenPos.X - Padding * 2 - 6, ScreenPos.Y, S.cx, S.cy);
  W->ActivateHint(R, FDescription);
  if (FHideAfter > 0) SetTimer(W->Handle(), HideTimerId, unsigned(FHideAfter));
}

void TBalloonHint::ShowHint(TControl* Control) {
  if (!Control) return;
  ShowHint(Control->ClientToScreen({Control->Width() / 2, Control->Height()}));
}

void TBalloonHint::HideHint() {
  if (!FWindow) return;
  KillTimer(FWindow->Handle(), HideTimerId);
  FWindow->ReleaseHandle();
}

bool TBalloonHint::ShowingHint() const { return FWindow && FWindow->Visible(); }
