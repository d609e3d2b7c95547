// Label.cpp - TCustomLabel, TCustomStaticText and TCustomGroupBox: captions and frames.
#include "platform/controls/StdCtrls.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TCustomLabel) {
  Class.Property("Caption", &TCustomLabel::Caption, &TCustomLabel::SetCaption)
      .Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, taLeftJustify)
      .Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, tlTop)
      .Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false)
      .Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false)
      .Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
      .Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true);
}
REGISTER_CLASS(TLabel) {}
REGISTER_CLASS(TCustomStaticText) {
  Class.Property("Caption", &TCustomStaticText::Caption, &TCustomStaticText::SetCaption)
      .Property("Alignment", &TCustomStaticText::Alignment, &TCustomStaticText::SetAlignment,
                 taLeftJustify)
      .Property("BorderStyle", &TCustomStaticText::BorderStyle, &TCustomStaticText::SetBorderStyle,
                sbsNone)
      .Property("AutoSize", &TCustomStaticText::AutoSize, &TCustomStaticText::SetAutoSize, true);
}
REGISTER_CLASS(TStaticText) {}
REGISTER_CLASS(TCustomGroupBox) {
  Class.Property("Caption", &TCustomGroupBox::Caption, &TCustomGroupBox::SetCaption);
}
REGISTER_CLASS(TGroupBox) {}

namespace {
const unsigned AlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};

// Accelerator: a matching "&x" in the caption focuses the target control.
bool FocusByAccel(const String& Caption, bool ShowAccel, Char C, TWinControl* Target) {
  if (!ShowAccel || !Target || !IsAccel(C, Caption)) return false;
  if (!Target->CanFocus()) return false;
  Target->SetFocus();
  return true;
}
}  // namespace

// --- TCustomLabel -------------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csReplicatable});
  SetBounds(0, 0, 65, 17);
  SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}
void TCustomLabel::SetLayout(TTextLayout Value) {
  FLayout = Value;
  Invalidate();
}
void TCustomLabel::SetWordWrap(bool Value) {
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetTransparent(bool Value) {
  FTransparent = Value;
  SetControlStyle(Value ? ControlStyle() - TControlStyle{csOpaque}
                        : ControlStyle() + TControlStyle{csOpaque});
  Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool Value) {
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetFocusControl(TWinControl* Value) {
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}
void TCustomLabel::SetAutoSize(bool Value) {
  TGraphicControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

unsigned TCustomLabel::DrawTextFlags() const {
  unsigned F = AlignFlags[FAlignment] | (FWordWrap ? DT_WORDBREAK : 0u) | DT_EXPANDTABS;
  if (!FShowAccelChar) F |= DT_NOPREFIX;
  return F;
}

void TCustomLabel::AdjustBounds() {
  if (!AutoSize()) return;
  TCanvas* C = Canvas();
  C->Font()->Assign(Font());
  TRect R = Rect(0, 0, FWordWrap ? Width() : 0, 0);
  String Text = Caption().empty() ? String(u" ") : Caption();
  DrawText(C, Text, R, DrawTextFlags() | DT_CALCRECT);
  int X = Left();
  if (FAlignment == taRightJustify) X = Left() + Width() - R.Width();
  else if (FAlignment == taCenter) X = Left() + (Width() - R.Width()) / 2;
  SetBounds(X, Top(), R.Width(), R.Height());
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(Message);
      AdjustBounds();
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (IsEnabledInTree() && Visible() &&
          FocusByAccel(Caption(), FShowAccelChar, Char(Message.WParam), FFocusControl)) {
        Message.Result = 1;
        return;
      }
      TGraphicControl::Dispatch(Message);
      return;
    default: TGraphicControl::Dispatch(Message);
  }
}

void TCustomLabel::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  if (!FTransparent) {
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
  }
  C->Brush()->SetStyle(bsClear);
  C->Font()->Assign(Font());
  if (FLayout != tlTop) {
    TRect Calc = R;
    DrawText(C, Caption(), Calc, DrawTextFlags() | DT_CALCRECT);
    const int Free = R.Height() - Calc.Height();
    R.Top += FLayout == tlCenter ? Free / 2 : Free;
  }
  if (!IsEnabledInTree()) {
    // The engraved look of disabled text.
    TRect Shadow = R;
    OffsetRect(Shadow, 1, 1);
    C->Font()->SetColor(clBtnHighlight);
    DrawText(C, Caption(), Shadow, DrawTextFlags());
    C->Font()->SetColor(clBtnShadow);
  }
  DrawText(C, Caption(), R, DrawTextFlags());
}

// --- TCustomStaticText ----------------------------------------------------------------------------

TCustomStaticText::TCustomStaticText(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
  SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csReplicatable, csDoubleClicks});
  SetBounds(0, 0, 65, 17);
  SetAutoSize(true);
}

void TCustomStaticText::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle Value) {
  FStaticBorder = Value;
  TWinControl::SetBorderStyle(Value == sbsNone ? bsNone : bsSingle);
  AdjustBounds();
  Invalidate();
}

void TCustomStaticText::SetShowAccelChar(bool Value) {
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomStaticText::SetAutoSize(bool Value) {
  TWinControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomStaticText::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomStaticText::AdjustBounds() {
  if (!AutoSize()) return;
  FCanvas->Font()->Assign(Font());
  TRect R;
  String Text = Caption().empty() ? String(u" ") : Caption();
  DrawText(FCanvas.get(), Text, R, DT_CALCRECT | (FShowAccelChar ? 0u : DT_NOPREFIX));
  const TRect Frame = NonClientInsets();
  SetBounds(Left(), Top(), R.Width() + Frame.Left + Frame.Right,
            R.Height() + Frame.Top + Frame.Bottom);
}

void TCustomStaticText::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TWinControl::Dispatch(Message);
      AdjustBounds();
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (IsEnabledInTree() &&
          FocusByAccel(Caption(), FShowAccelChar, Char(Message.WParam), FFocusControl)) {
        Message.Result = 1;
        return;
      }
      TWinControl::Dispatch(Message);
      return;
    default: TWinControl::Dispatch(Message);
  }
}

void TCustomStaticText::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(FCanvas.get(), DC, Font(), Color());
  TCanvas* C = FCanvas.get();
  TRect R = ClientRect();
  C->FillRect(R);
  if (FStaticBorder == sbsSunken) DrawEdge(C, R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  C->Brush()->SetStyle(bsClear);
  if (!IsEnabledInTree()) C->Font()->SetColor(clGrayText);
  DrawText(C, Caption(), R, AlignFlags[FAlignment] | (FShowAccelChar ? 0u : DT_NOPREFIX));
}

// --- TCustomGroupBox ----------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                   csDoubleClicks, csReplicatable});
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Canvas()->Font()->Assign(Font());
  Rect.Top += Canvas()->TextHeight(u"0");
  InflateRect(Rect, -1, -1);
  if (Ctl3D()) InflateRect(Rect, -1, -1);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      Realign();
      Invalidate();
      return;
    case CM_DIALOGCHAR: {
      if (IsAccel(Char(Message.WParam), Caption()) && CanFocus()) {
        if (TWinControl* First = FindNextControl(nullptr, true, true, false)) First->SetFocus();
        Message.Result = 1;
        return;
      }
      TCustomControl::Dispatch(Message);
      return;
    }
    default: TCustomControl::Dispatch(Message);
  }
}

void TCustomGroupBox::Paint() {
  Canvas()->Font()->Assign(Font());
  PaintGroupFrame(Canvas(), ClientRect(), Caption(), Color(), IsEnabledInTree());
}
