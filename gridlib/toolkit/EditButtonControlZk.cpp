// EditButtonControlZk.cpp - the edit button control: pressed half, auto-repeat, painting.
#include "gridlib/toolkit/EditButtonControlZk.h"

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Timer.h"
#include "platform/graphics/WinDraw.h"

REGISTER_CLASS(TEditButtonControlZk) {}
REGISTER_CLASS(TSpeedButtonZk) {}

namespace {

TDrawButtonControlStyleZk DrawStyleOf(TEditButtonStyleZk Style) {
  switch (Style) {
    case ebsEllipsisZk: return bcsEllipsisZk;
    case ebsUpDownZk: return bcsUpDownZk;
    case ebsPlusZk: return bcsPlusZk;
    case ebsMinusZk: return bcsMinusZk;
    case ebsAltDropDownZk: return bcsAltDropDownZk;
    case ebsAltUpDownZk: return bcsAltUpDownZk;
    default: return bcsDropDownZk;
  }
}

}  // namespace

TEditButtonControlZk::TEditButtonControlZk(TComponent* AOwner) : TSpeedButton(AOwner) {}

TEditButtonControlZk::~TEditButtonControlZk() = default;

bool TEditButtonControlZk::IsPressedState() const {
  return State() == bsDown || State() == bsExclusive;
}

void TEditButtonControlZk::SetState(TButtonState NewState, bool IsActive, int ButtonNum) {
  if (State() == NewState && FActive == IsActive && FButtonNum == ButtonNum) return;
  TSpeedButton::SetState(NewState);
  FActive = IsActive;
  FButtonNum = ButtonNum;
  Repaint();
}

void TEditButtonControlZk::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  Invalidate();
}

void TEditButtonControlZk::SetStyle(TEditButtonStyleZk Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TEditButtonControlZk::SetAlwaysDown(bool Value) {
  if (FAlwaysDown == Value) return;
  FAlwaysDown = Value;
  if (Value) {
    SetGroupIndex(1);
    SetDown(true);
    SetAllowAllUp(false);
    FButtonNum = 1;
  } else {
    SetAllowAllUp(true);
    SetDown(false);
    SetGroupIndex(0);
    FButtonNum = 0;
  }
  Invalidate();
}

void TEditButtonControlZk::EditButtonDown(bool TopButton, bool& AutoRepeat) {
  bool Handled = false;
  if (FOnDown) FOnDown(this, TopButton, AutoRepeat, Handled);
}

void TEditButtonControlZk::Click() {
  if (!FNoDoClick) TSpeedButton::Click();
}

// --- pressed half ----------------------------------------------------------------------------------

// Up/down buttons: the upper half gives 1, the lower 2, and the middle row (two rows for an odd
// height) none; every other style is pressed as a whole.
void TEditButtonControlZk::UpdateButtonNum(int, int Y) {
  int Num = 0;
  if (IsPressedState()) {
    if (IsUpDownStyle(FStyle)) {
      const int H = Height();
      if (Y < H / 2) Num = 1;
      else if (Y > H - H / 2) Num = 2;
    } else {
      Num = 1;
    }
  }
  if (Num == FButtonNum) return;
  FButtonNum = Num;
  Invalidate();
}

void TEditButtonControlZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  bool AutoRepeat = IsUpDownStyle(FStyle);
  FReleasedByDrag = false;
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  UpdateButtonNum(X, Y);
  if (FButtonNum < 1) return;
  EditButtonDown(FButtonNum == 1, AutoRepeat);
  if (AutoRepeat) StartRepeatTimer(InitialRepeatDelay);
}

// Leaving the pressed half of an up/down button releases it; coming back does not press it.
void TEditButtonControlZk::MouseMove(TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseMove(Shift, X, Y);
  if (!MouseCapture() || !IsUpDownStyle(FStyle)) return;
  if (FReleasedByDrag) {
    if (State() == bsDown) SetState(bsUp);
    return;
  }
  if (State() != bsDown) return;
  const int H = Height();
  if ((FButtonNum == 2 && Y < H / 2) || (FButtonNum == 1 && Y > H - H / 2)) {
    FReleasedByDrag = true;
    SetState(bsUp);
    Invalidate();
  }
}

void TEditButtonControlZk::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FNoDoClick = IsUpDownStyle(FStyle) && State() != bsDown;
  try {
    TSpeedButton::MouseUp(Button, Shift, X, Y);
  } catch (...) {
    FNoDoClick = false;
    throw;
  }
  FNoDoClick = false;
  FReleasedByDrag = false;
  UpdateButtonNum(X, Y);
  StopRepeatTimer();
}

// --- auto-repeat -------------------------------------------------------------------------------------

TTimer* TEditButtonControlZk::GetTimer() {
  if (!FTimer) {
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetOnTimer([this](TObject* Sender) { RepeatTimerTick(Sender); });
  }
  return FTimer;
}

void TEditButtonControlZk::StartRepeatTimer(unsigned Interval) {
  TTimer* T = GetTimer();
  if (T->Enabled() && T->Interval() == Interval) return;
  T->SetEnabled(false);
  T->SetInterval(Interval);
  T->SetEnabled(true);
}

void TEditButtonControlZk::StopRepeatTimer() {
  if (FTimer && FTimer->Enabled()) FTimer->SetEnabled(false);
}

void TEditButtonControlZk::RepeatTimerTick(TObject*) {
  bool AutoRepeat = IsUpDownStyle(FStyle);
  if (State() != bsDown) return;
  if (FTimer->Interval() == InitialRepeatDelay) FTimer->SetInterval(RepeatDelay);
  EditButtonDown(FButtonNum == 1, AutoRepeat);
  if (!AutoRepeat) StopRepeatTimer();
}

// --- painting ------------------------------------------------------------------------------------------

void TEditButtonControlZk::Paint() {
  if (FStyle == ebsGlyphZk) {
    PaintGlyphStyle();
    return;
  }
  const bool Hot = ThemesActive() ? MouseInControl() : FActive;
  const TColor Border = Parent() ? Parent()->Color() : Color();
  PaintEditButtonCached(Canvas(), ClientRect(), Border, cbUnchecked, IsEnabledInTree(), Hot, Flat(),
                        IsPressedState() ? FButtonNum : 0, DrawStyleOf(FStyle));
}

// A caption or glyph button: the speed button's face, with the flat looks of the editors.
void TEditButtonControlZk::PaintGlyphStyle() {
  TCanvas* C = Canvas();
  const bool Themes = ThemesActive();
  const bool Pressed = IsPressedState();
  if (Themes && Flat() && !MouseInControl() && IsEnabledInTree() && !Down() && Glyph()->Empty()) {
    // A flat themed caption button at rest: a group-box frame with the caption.
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
    TRect R = ClientRect();
    DrawEdge(C, R, EDGE_ETCHED, BF_RECT);
    DrawButtonCaption();
    return;
  }
  const bool NarrowClip = !Themes && Flat();
  TCanvasState Saved{};
  if (NarrowClip) {
    Saved = C->SaveDC();
    TRect Inner = ClientRect();
    InflateRect(Inner, -1, -1);
    C->IntersectClipRect(Inner);
  }
  TSpeedButton::Paint();
  if (!NarrowClip) return;
  C->RestoreDC(Saved);
  TRect R = ClientRect();
  if (FActive) {
    DrawEdge(C, R, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else {
    C->Brush()->SetColor(Parent() ? Parent()->Color() : Color());
    C->FrameRect(R);
  }
}

// The caption centred both ways on a transparent background; disabled: embossed.
void TEditButtonControlZk::DrawButtonCaption() {
  TCanvas* C = Canvas();
  C->Font()->Assign(Font());
  C->Brush()->SetStyle(bsClear);
  TRect Measure = ClientRect();
  DrawText(C, Caption(), Measure, DT_CALCRECT | DT_SINGLELINE);
  const TRect Client = ClientRect();
  TRect R = Rect(0, 0, Measure.Width(), Measure.Height());
  OffsetRect(R, (Client.Width() - R.Width()) / 2, (Client.Height() - R.Height()) / 2);
  const unsigned Flags = DT_SINGLELINE;
  if (!IsEnabledInTree()) {
    TRect Shadow = R;
    OffsetRect(Shadow, 1, 1);
    C->Font()->SetColor(clBtnHighlight);
    DrawText(C, Caption(), Shadow, Flags);
    C->Font()->SetColor(clBtnShadow);
  }
  DrawText(C, Caption(), R, Flags);
  C->Brush()->SetStyle(bsSolid);
}
