// ButtonControls.cpp - TButtonControl, TButton, TCustomCheckBox and TRadioButton.
#include "platform/controls/StdCtrls.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TButtonControl) {
  Class.Property("Caption", &TButtonControl::Caption, &TButtonControl::SetCaption);
}
REGISTER_CLASS(TButton) {
  Class.Property("Default", &TButton::Default, &TButton::SetDefault, false)
      .Property("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
      .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone);
}
REGISTER_CLASS(TCustomCheckBox) {
  Class.Property("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed,
                 false)
      .Property("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState, cbUnchecked)
      .Property("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment,
                taRightJustify);
}
REGISTER_CLASS(TCheckBox) {}
REGISTER_CLASS(TRadioButton) {
  Class.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false);
}

namespace {

// The caption drawn beside a check mark or radio circle, with its focus frame.
void PaintButtonCaption(TCanvas* C, TWinControl* Control, const TRect& TextArea, bool Focused) {
  TRect R = TextArea;
  unsigned Flags = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
  C->Brush()->SetStyle(bsClear);
  if (!Control->IsEnabledInTree()) C->Font()->SetColor(clGrayText);
  DrawText(C, Control->Caption(), R, Flags);
  if (!Focused) return;
  TRect F = TextArea;
  DrawText(C, Control->Caption(), F, Flags | DT_CALCRECT);
  F.Top = TextArea.Top + (TextArea.Height() - F.Height()) / 2;
  F.Bottom = F.Top + F.Height();
  InflateRect(F, 1, 1);
  C->Brush()->SetStyle(bsSolid);
  DrawFocusRect(C, F);
}

// The mark's square (13 x 13) and the text area of a check box or radio button.
void SplitButtonArea(const TRect& Client, TLeftRight Alignment, TRect& Mark, TRect& TextArea) {
  const int Size = 13;
  const int Top = Client.Top + (Client.Height() - Size) / 2;
  if (Alignment == taRightJustify) {
    Mark = Bounds(Client.Left, Top, Size, Size);
    TextArea = Rect(Client.Left + Size + 4, Client.Top, Client.Right, Client.Bottom);
  } else {
    Mark = Bounds(Client.Right - Size, Top, Size, Size);
    TextArea = Rect(Client.Left, Client.Top, Client.Right - Size - 4, Client.Bottom);
  }
}

}  // namespace

// --- TButtonControl -----------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
  SetControlStyle({csSetCaption, csDoubleClicks, csCaptureMouse});
  SetTabStop(true);
}

void TButtonControl::SetWordWrap(bool Value) {
  FWordWrap = Value;
  Invalidate();
}

void TButtonControl::SetPressed(bool Value) {
  if (FPressed == Value) return;
  FPressed = Value;
  Invalidate();
}

void TButtonControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_BUTTON; return;
    case CM_DIALOGCHAR:
      if (IsAccel(Char(Message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(this));
        Message.Result = 1;
        return;
      }
      TWinControl::Dispatch(Message);
      return;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED && !FClicksDisabled) Click();
      return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      FPressInside = false;
      SetPressed(false);
      TWinControl::Dispatch(Message);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      TWinControl::Dispatch(Message);
      Invalidate();
      return;
    default: TWinControl::Dispatch(Message);
  }
}

void TButtonControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    FPressInside = true;
    SetPressed(true);
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TButtonControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (FPressInside) SetPressed(ClientRect().Contains({X, Y}));
  TWinControl::MouseMove(Shift, X, Y);
}

void TButtonControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const bool Clicked = Button == mbLeft && FPressInside && ClientRect().Contains({X, Y});
  if (Button == mbLeft) {
    FPressInside = false;
    SetPressed(false);
  }
  if (Clicked) Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(this));
  TWinControl::MouseUp(Button, Shift, X, Y);
}

void TButtonControl::KeyDown(Word& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE && Shift.Empty()) SetPressed(true);
}

void TButtonControl::KeyUp(Word& Key, TShiftState Shift) {
  TWinControl::KeyUp(Key, Shift);
  if (Key == VK_SPACE && FPressed) {
    SetPressed(false);
    Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(this));
  }
}

// --- TButton --------------------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetParentColor(false);
  SetColor(clBtnFace);
}

void TButton::SetDefault(bool Value) {
  FDefault = Value;
  Invalidate();
}

void TButton::Click() {
  if (TCustomForm* Form = GetParentForm(); Form && FModalResult != mrNone)
    Form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

bool TButton::Active() const {
  if (Focused()) return true;
  // The default button is active unless another button holds the focus.
  HWND F = GetFocus();
  return FDefault && !(F && dynamic_cast<TButton*>(F));
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_BUTTON | (Active() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return;
    case CM_DIALOGKEY: {
      const Word Key = Word(Message.WParam);
      const bool Plain = KeyDataToShiftState(Message.LParam).Empty();
      if (Plain && ((Key == VK_RETURN && Active()) || (Key == VK_ESCAPE && FCancel)) &&
          IsEnabledInTree() && Showing()) {
        Click();
        Message.Result = 1;
        return;
      }
      TButtonControl::Dispatch(Message);
      return;
    }
    case CM_FOCUSCHANGED:
      Invalidate();
      TButtonControl::Dispatch(Message);
      return;
    default: TButtonControl::Dispatch(Message);
  }
}

void TButton::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(Canvas(), DC, Font(), Color());
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  const bool Dflt = Active();
  if (Dflt) {
    C->Brush()->SetColor(clWindowFrame);
    C->FrameRect(R);
    InflateRect(R, -1, -1);
  }
  TRect Face = R;
  DrawFrameControl(C, Face, DFC_BUTTON, DFCS_BUTTONPUSH | (Pressed() ? unsigned(DFCS_PUSHED) : 0u));
  TRect T = R;
  if (Pressed()) OffsetRect(T, 1, 1);
  C->Brush()->SetStyle(bsClear);
  if (!IsEnabledInTree()) C->Font()->SetColor(clGrayText);
  DrawText(C, Caption(), T,
           DT_CENTER | DT_VCENTER | (WordWrap() ? DT_WORDBREAK : DT_SINGLELINE));
  if (Focused()) {
    TRect F = R;
    InflateRect(F, -3, -3);
    C->Brush()->SetStyle(bsSolid);
    DrawFocusRect(C, F);
  }
}

// --- TCustomCheckBox ----------------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  // Double clicks arrive as two clicks.
  SetControlStyle(ControlStyle() - TControlStyle{csDoubleClicks});
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  Invalidate();
  if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }

void TCustomCheckBox::SetAlignment(TLeftRight Value) {
  FAlignment = Value;
  Invalidate();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      // The click comes from the state change (SetState calls Click).
      if (HIWORD(Message.WParam) == BN_CLICKED && !ClicksDisabled()) Toggle();
      return;
    case BM_GETCHECK: Message.Result = FState; return;
    case BM_SETCHECK: {
      SetClicksDisabled(true);
      SetState(TCheckBoxState(Message.WParam <= 2 ? Message.WParam : 0));
      SetClicksDisabled(false);
      return;
    }
    default: TButtonControl::Dispatch(Message);
  }
}

void TCustomCheckBox::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(Canvas(), DC, Font(), Color());
  TCanvas* C = Canvas();
  C->FillRect(ClientRect());
  TRect Mark, TextArea;
  SplitButtonArea(ClientRect(), FAlignment, Mark, TextArea);
  unsigned State = DFCS_BUTTONCHECK;
  if (FState == cbChecked) State |= DFCS_CHECKED;
  if (FState == cbGrayed) State = DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (Pressed()) State |= DFCS_PUSHED;
  if (!IsEnabledInTree()) State |= DFCS_INACTIVE;
  DrawFrameControl(C, Mark, DFC_BUTTON, State);
  PaintButtonCaption(C, this, TextArea, Focused());
}

// --- TRadioButton -------------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  SetTabStop(Value);
  Invalidate();
  if (!Value) return;
  if (TWinControl* P = Parent())
    for (int I = 0; I < P->ControlCount(); ++I)
      if (auto* Other = dynamic_cast<TRadioButton*>(P->Controls(I)); Other && Other != this)
        Other->SetChecked(false);
  if (!ClicksDisabled()) Click();
}

void TRadioButton::SetAlignment(TLeftRight Value) {
  FAlignment = Value;
  Invalidate();
}

void TRadioButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_BUTTON | DLGC_RADIOBUTTON; return;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED) SetChecked(true);
      return;
    case WM_SETFOCUS:
      // Arriving by the arrow keys checks the button, as in a group of radio buttons.
      TButtonControl::Dispatch(Message);
      if (Focused() && !FChecked && (GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0 ||
                                     GetKeyState(VK_LEFT) < 0 || GetKeyState(VK_RIGHT) < 0))
        SetChecked(true);
      return;
    case BM_GETCHECK: Message.Result = FChecked ? BST_CHECKED : BST_UNCHECKED; return;
    case BM_SETCHECK:
      SetClicksDisabled(true);
      SetChecked(Message.WParam == BST_CHECKED);
      SetClicksDisabled(false);
      return;
    default: TButtonControl::Dispatch(Message);
  }
}

void TRadioButton::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(Canvas(), DC, Font(), Color());
  TCanvas* C = Canvas();
  C->FillRect(ClientRect());
  TRect Mark, TextArea;
  SplitButtonArea(ClientRect(), FAlignment, Mark, TextArea);
  unsigned State = DFCS_BUTTONRADIO | (FChecked ? unsigned(DFCS_CHECKED) : 0u) |
                   (Pressed() ? unsigned(DFCS_PUSHED) : 0u);
  if (!IsEnabledInTree()) State |= DFCS_INACTIVE;
  DrawFrameControl(C, Mark, DFC_BUTTON, State);
  PaintButtonCaption(C, this, TextArea, Focused());
}
