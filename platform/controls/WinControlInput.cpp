// WinControlInput.cpp - TWinControl, part two: focus, the keyboard with its dialog-key
// negotiation, mouse routing to windowless children, cursors; and the input routines of
// WinApi.h that turn key presses and mouse actions into messages.
#include "platform/controls/Controls.h"

#include "platform/controls/Controls_p.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Menus.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"

void SetMessageTimeForInput(unsigned Time);

// --- focus ---------------------------------------------------------------------------------------

bool TWinControl::CanFocus() const {
  if (!::GetParentForm(this)) return Visible() && Enabled();
  for (const TControl* C = this; C; C = C->Parent())
    if (!C->Visible() || !C->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return HandleAllocated() && GetFocus() == this; }

void TWinControl::SetFocus() {
  if (TCustomForm* Form = ::GetParentForm(this); Form && Form != this) {
    Form->FocusControl(this);
    return;
  }
  if (!CanFocus()) CannotFocus();
  ::SetFocus(Handle());
}

void TWinControl::WMSetFocus(TMessage& Message) {
  // The form decides: a refused control leaves the focus message unanswered.
  if (TCustomForm* Form = ::GetParentForm(this); Form && Form != this) {
    if (!Form->SetFocusedControl(this)) return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CMEnter(TMessage& Message) {
  DoEnter();
  DefaultHandler(Message);
}

void TWinControl::CMExit(TMessage& Message) {
  DoExit();
  DefaultHandler(Message);
}

void TWinControl::DoEnter() {
  if (FOnEnter) FOnEnter(this);
}

void TWinControl::DoExit() {
  if (FOnExit) FOnExit(this);
}

// --- keyboard ------------------------------------------------------------------------------------

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (FOnKeyDown) FOnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (FOnKeyUp) FOnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(Char& Key) {
  if (FOnKeyPress) FOnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TWMKey K{Message};
  const TShiftState Shift = KeyDataToShiftState(K.KeyData());
  TCustomForm* Form = ::GetParentForm(this);
  if (Form && Form != this && Form->KeyPreview() && Form->DoKeyDown(Message)) return true;
  if (ControlStyle().Contains(csNoStdEvents)) return false;
  Word Key = K.CharCode();
  KeyDown(Key, Shift);
  K.SetCharCode(Key);
  return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TWMKey K{Message};
  const TShiftState Shift = KeyDataToShiftState(K.KeyData());
  TCustomForm* Form = ::GetParentForm(this);
  if (Form && Form != this && Form->KeyPreview() && Form->DoKeyUp(Message)) return true;
  if (ControlStyle().Contains(csNoStdEvents)) return false;
  Word Key = K.CharCode();
  KeyUp(Key, Shift);
  K.SetCharCode(Key);
  return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TWMKey K{Message};
  TCustomForm* Form = ::GetParentForm(this);
  if (Form && Form != this && Form->KeyPreview() && Form->DoKeyPress(Message)) return true;
  if (ControlStyle().Contains(csNoStdEvents)) return false;
  Char Ch = Char(K.CharCode());
  KeyPress(Ch);
  K.SetCharCode(Ch);
  return Ch == 0;
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

// The negotiation before a key reaches the control: the control's parents may claim it
// (CM_CHILDKEY); Tab, arrows, Return and Esc go to the form as CM_DIALOGKEY unless the control
// wants them (CM_WANTSPECIALKEY, then WM_GETDLGCODE). Result 1 = the key was taken.
void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  TWMKey K{Message};
  if (Perform(CM_CHILDKEY, K.CharCode(), LPARAM(this)) != 0) return;
  // Shortcuts of the popup menus of this control and its parents come first, then the form's
  // main menu and action lists.
  TCustomForm* ShortCutForm = ::GetParentForm(this);
  if (IsMenuKey(this, Message, ShortCutForm ? ShortCutForm->Menu() : nullptr)) return;
  if (ShortCutForm && ShortCutForm->IsShortCutKey(Message)) return;
  unsigned Mask = 0;
  switch (K.CharCode()) {
    case VK_TAB: Mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: Mask = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: Mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (Mask != 0 && Perform(CM_WANTSPECIALKEY, K.CharCode(), K.KeyData()) == 0 &&
      (unsigned(Perform(WM_GETDLGCODE, 0, 0)) & Mask) == 0) {
    TCustomForm* Form = ::GetParentForm(this);
    if (Form && Form->Perform(CM_DIALOGKEY, K.CharCode(), K.KeyData()) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) { Message.Result = 0; }

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 1;
  TWMKey K{Message};
  if ((unsigned(Perform(WM_GETDLGCODE, 0, 0)) & DLGC_WANTCHARS) == 0) {
    TCustomForm* Form = ::GetParentForm(this);
    if (Form && Form->Perform(CM_DIALOGCHAR, K.CharCode(), K.KeyData()) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& Message) {
  Broadcast(Message);
  if (Message.Result == 0) DefaultHandler(Message);
}

void TWinControl::CMDialogChar(TMessage& Message) {
  Broadcast(Message);
  if (Message.Result == 0) DefaultHandler(Message);
}

void TWinControl::CMChildKey(TMessage& Message) {
  if (Parent()) Message.Result = Parent()->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
  else DefaultHandler(Message);
}

// --- mouse routing -------------------------------------------------------------------------------

// Mouse messages over a windowless child (or while it holds the capture) go to it in its own
// coordinates; enter and leave notices follow the child under the mouse.
bool TWinControl::RouteToGraphicChild(TMessage& Message) {
  const TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  TControl* Target = nullptr;
  TControl* Captured = CaptureControl();
  if (Captured && Captured->Parent() == this && !dynamic_cast<TWinControl*>(Captured))
    Target = Captured;
  else if (!Captured || Captured == this)
    Target = ControlAtPos(P, false);
  if (Message.Msg == WM_MOUSEMOVE && Target != FMouseControl && (!Captured || Captured == this)) {
    if (FMouseControl) FMouseControl->Perform(CM_MOUSELEAVE, 0, 0);
    FMouseControl = Target;
    if (Target) Target->Perform(CM_MOUSEENTER, 0, 0);
  }
  if (!Target) return false;
  Message.LParam = MAKELPARAM(P.X - Target->Left(), P.Y - Target->Top());
  Target->WindowProc(Message);
  return true;
}

// Shows Cursor over the window WM_SETCURSOR names in WParam (the one under the mouse).
void ShowCursorOver(const TMessage& SetCursorMessage, TCursor Cursor) {
  SetCurrentCursor(Cursor);
  auto* Over = reinterpret_cast<TWinControl*>(SetCursorMessage.WParam);
  if (!IsWindow(Over)) return;
  if (auto* S = TWindowInternals::Surface(Over)) S->SetCursorShape(Cursor);
}

void TWinControl::WMSetCursor(TMessage& Message) {
  TWMSetCursor M{Message};
  if (M.HitTest() == HTCLIENT) {
    TCursor Cursor = Screen ? Screen->Cursor() : crDefault;
    if (Cursor == crDefault) {
      TPoint P;
      GetCursorPos(P);
      P = ScreenToClient(P);
      TControl* Child = ControlAtPos(P, false);
      Cursor = Child && Child->Cursor() != crDefault ? Child->Cursor() : this->Cursor();
    }
    if (Cursor != crDefault) {
      ShowCursorOver(Message, Cursor);
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// =================================================================================================
// Input routines
// =================================================================================================

namespace {

struct TClickMemory {
  HWND Wnd = nullptr;
  TMouseButton Button = mbLeft;
  unsigned Time = 0;
  TPoint Pos;
  bool Valid = false;
};

TClickMemory& LastClick() {
  static TClickMemory Memory;
  return Memory;
}

// The buttons (bit per TMouseButton) whose press a drop-down swallowed: their release goes too.
unsigned& SwallowedButtons() {
  static unsigned Buttons = 0;
  return Buttons;
}

TControl*& ControlUnderMouse() {
  static TControl* Control = nullptr;
  return Control;
}

void PressModifiers(TShiftState Shift, bool Down) {
  if (Shift.Contains(ssShift)) SetKeyState(VK_SHIFT, Down);
  if (Shift.Contains(ssCtrl)) SetKeyState(VK_CONTROL, Down);
  if (Shift.Contains(ssAlt)) SetKeyState(VK_MENU, Down);
}

LPARAM KeyData(TShiftState Shift, bool Up) {
  LPARAM Data = 1;
  if (Shift.Contains(ssAlt)) Data |= KF_ALTDOWN_LPARAM;
  if (Up) Data |= LPARAM(3) << 30;
  return Data;
}

TMenuKeyHook& MenuKeyHook() {
  static TMenuKeyHook Hook;
  return Hook;
}

// Alt went down and nothing else has happened since.
bool& AltAlone() {
  static bool Value = false;
  return Value;
}

// F10 and Alt are the system's keys: they make WM_SYSKEYDOWN and WM_SYSKEYUP, like any key
// with Alt held.
bool IsSystemKey(Word Key, TShiftState Shift) {
  return Shift.Contains(ssAlt) || Key == VK_F10 || Key == VK_MENU;
}

bool DeliverKey(HWND Target, unsigned Msg, WPARAM Key, LPARAM Data) {
  // The menu mode's hook takes keys first (a copy: the hook may end the mode and itself). A
  // swallowed key still makes its character while the mode lasts, for the accelerators.
  if (TMenuKeyHook Hook = MenuKeyHook(); Hook && Hook(Msg, Key)) return HasMenuKeyHook();
  TMsg M{Target, Msg, Key, Data, GetTickCount(), {}};
  if (Application && Application->OnMessage()) {
    bool Handled = false;
    Application->OnMessage()(M, Handled);
    if (Handled) return false;
  }
  SetMessageTimeForInput(M.time);
  // The class library's key hook: CN_x lets the control and its form take the key first.
  if (IsWindow(Target) && Target->Perform(CN_BASE + Msg, Key, Data) != 0) return false;
  if (IsWindow(Target)) Target->Perform(Msg, Key, Data);
  return true;
}

Char DefaultChar(Word Key, TShiftState Shift) {
  if (Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return 0;
  switch (Key) {
    case VK_RETURN: return u'\r';
    case VK_ESCAPE: return 0x1B;
    case VK_TAB: return u'\t';
    case VK_BACK: return 0x08;
    case VK_SPACE: return u' ';
    default: break;
  }
  if (Key >= '0' && Key <= '9') return Char(Key);
  if (Key >= 'A' && Key <= 'Z') return Shift.Contains(ssShift) ? Char(Key) : Char(Key + 32);
  return 0;
}

HWND WindowAt(TPoint ScreenPos) { return FindVCLWindow(ScreenPos); }

}  // namespace

void SimulateKeyDown(Word Key, TShiftState Shift, Char CharCode, HWND Target) {
  if (!Target) Target = GetFocus();
  if (!Target) return;
  if (Application) Application->CancelHint();
  PressModifiers(Shift, true);
  SetKeyState(Key, true);
  AltAlone() = Key == VK_MENU;
  const bool Alt = Shift.Contains(ssAlt);
  const bool Translated =
      DeliverKey(Target, IsSystemKey(Key, Shift) ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, KeyData(Shift, false));
  // The character comes from the key itself, not from what KeyDown left of it.
  if (Translated && CharCode != 0) {
    HWND CharTarget = IsWindow(Target) ? Target : GetFocus();
    if (CharTarget) DeliverKey(CharTarget, Alt ? WM_SYSCHAR : WM_CHAR, CharCode, KeyData(Shift, false));
  }
  PressModifiers(Shift, false);
}

void SimulateKeyUp(Word Key, TShiftState Shift, HWND Target) {
  if (!Target) Target = GetFocus();
  SetKeyState(Key, false);
  if (!Target) return;
  PressModifiers(Shift, true);
  DeliverKey(Target, IsSystemKey(Key, Shift) ? WM_SYSKEYUP : WM_KEYUP, Key, KeyData(Shift, true));
  PressModifiers(Shift, false);
  AltAlone() = false;
}

void SimulateKeyPress(Word Key, TShiftState Shift, Char CharCode, HWND Target) {
  if (CharCode == 0) CharCode = DefaultChar(Key, Shift);
  SimulateKeyDown(Key, Shift, CharCode, Target);
  SimulateKeyUp(Key, Shift, Target);
}

void SimulateTyping(const String& Text, HWND Target) {
  for (Char Ch : Text) {
    HWND T = Target ? Target : GetFocus();
    if (!T) return;
    DeliverKey(T, WM_CHAR, Ch, 1);
  }
}

namespace {

unsigned ButtonKeys(TShiftState Shift) {
  unsigned Keys = 0;
  if (Shift.Contains(ssShift) || GetKeyState(VK_SHIFT) < 0) Keys |= MK_SHIFT;
  if (Shift.Contains(ssCtrl) || GetKeyState(VK_CONTROL) < 0) Keys |= MK_CONTROL;
  if (GetKeyState(VK_LBUTTON) < 0) Keys |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) Keys |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) Keys |= MK_MBUTTON;
  return Keys;
}

int ButtonVK(TMouseButton B) { return B == mbLeft ? VK_LBUTTON : B == mbRight ? VK_RBUTTON : VK_MBUTTON; }

unsigned ButtonMsg(TMouseButton B, int Kind) {
  const unsigned Base = B == mbLeft ? WM_LBUTTONDOWN : B == mbRight ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
  return Base + unsigned(Kind);
}

// The window the mouse talks to: the capture holder, else the window under the point.
HWND MouseTarget(TPoint ScreenPos) {
  if (HWND C = GetCapture()) return C;
  return WindowAt(ScreenPos);
}

void SendMouse(HWND Wnd, unsigned Msg, TPoint ScreenPos, unsigned Keys) {
  TPoint P = Wnd->ScreenToClient(ScreenPos);
  SetMessageTimeForInput(GetTickCount());
  Wnd->Perform(Msg, Keys, MAKELPARAM(P.X, P.Y));
}

void TrackEnterLeave(HWND Wnd) {
  TControl*& Under = ControlUnderMouse();
  if (Under == Wnd) return;
  // Only HWNDs are stored; one without a handle now hears no leave.
  if (Under && IsWindow(static_cast<TWinControl*>(Under))) {
    // The windowless child the mouse was over leaves with its window.
    TControl*& Child = TWindowInternals::MouseControl(static_cast<TWinControl*>(Under));
    if (TControl* C = Child) {
      Child = nullptr;
      C->Perform(CM_MOUSELEAVE, 0, 0);
    }
    Under->Perform(CM_MOUSELEAVE, 0, 0);
  }
  Under = Wnd;
  if (Wnd) Wnd->Perform(CM_MOUSEENTER, 0, 0);
}

// Where the point lies in Wnd: the client area while Wnd holds the capture (no hit test then),
// else the window's answer to WM_NCHITTEST.
int HitTest(HWND Wnd, TPoint ScreenPos) {
  if (GetCapture() == Wnd) return HTCLIENT;
  return int(Wnd->Perform(WM_NCHITTEST, 0, MAKELPARAM(ScreenPos.X, ScreenPos.Y)));
}


}  // namespace

void ForgetMouseWindow(TWinControl* Wnd) {
  // A new window may take the freed one's memory; it must still hear its enter.
  if (ControlUnderMouse() == Wnd) ControlUnderMouse() = nullptr;
}

void SimulateMouseDown(TMouseButton Button, TPoint ScreenPos, TShiftState Shift) {
  SetCursorPos(ScreenPos.X, ScreenPos.Y);
  AltAlone() = false;
  HWND Wnd = MouseTarget(ScreenPos);
  if (!Wnd) return;
  // A press outside an open drop-down closes it and is swallowed with its release
  // (DropDownWindow.cpp).
  if (Application && Application->FilterOutsideClick(Wnd, ScreenPos)) {
    SwallowedButtons() |= 1u << Button;
    return;
  }
  TrackEnterLeave(Wnd);
  if (Application) Application->CancelHint();
  const int Hit = HitTest(Wnd, ScreenPos);
  Wnd->Perform(WM_SETCURSOR, WPARAM(Wnd), MAKELPARAM(Hit, ButtonMsg(Button, 0)));
  if (Wnd->Perform(WM_MOUSEACTIVATE, 0, 0) == MA_ACTIVATE) {
    if (TCustomForm* Form = ::GetParentForm(Wnd); Form && Screen && Screen->ActiveForm() != Form)
      Form->Perform(WM_ACTIVATE, 1, 0);
  }
  if (Hit != HTCLIENT) {
    // A press on the frame: the window's scroll bars take the left button (WM_NCLBUTTONDOWN's
    // default); the client hears nothing and no double click counts.
    SetKeyState(ButtonVK(Button), true);
    LastClick().Valid = false;
    if (Button == mbLeft)
      Wnd->Perform(WM_NCLBUTTONDOWN, WPARAM(Hit), MAKELPARAM(ScreenPos.X, ScreenPos.Y));
    return;
  }
  auto& Last = LastClick();
  const unsigned Now = GetTickCount();
  const int DX = GetSystemMetrics(SM_CXDOUBLECLK) / 2, DY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  const bool Double = Last.Valid && Last.Wnd == Wnd && Last.Button == Button &&
                      Now - Last.Time <= GetDoubleClickTime() &&
                      std::abs(ScreenPos.X - Last.Pos.X) <= DX &&
                      std::abs(ScreenPos.Y - Last.Pos.Y) <= DY &&
                      (Wnd->WindowClassStyle() & CS_DBLCLKS) != 0;
  // A double click ends the sequence: the next press starts a new one.
  if (Double) Last.Valid = false;
  else Last = {Wnd, Button, Now, ScreenPos, true};
  SetKeyState(ButtonVK(Button), true);
  SendMouse(Wnd, ButtonMsg(Button, Double ? 2 : 0), ScreenPos, ButtonKeys(Shift));
}

void SimulateMouseUp(TMouseButton Button, TPoint ScreenPos, TShiftState Shift) {
  SetCursorPos(ScreenPos.X, ScreenPos.Y);
  SetKeyState(ButtonVK(Button), false);
  if (SwallowedButtons() & (1u << Button)) {
    SwallowedButtons() &= ~(1u << Button);
    return;
  }
  if (HWND C = GetCapture(); C && Button == mbLeft && ScrollBarMouseUp(C, WindowPoint(C, ScreenPos)))
    return;
  HWND Wnd = MouseTarget(ScreenPos);
  if (!Wnd || HitTest(Wnd, ScreenPos) != HTCLIENT) return;
  SendMouse(Wnd, ButtonMsg(Button, 1), ScreenPos, ButtonKeys(Shift));
  if (Button == mbRight && IsWindow(Wnd)) {
    Wnd->Perform(WM_CONTEXTMENU, WPARAM(Wnd), MAKELPARAM(ScreenPos.X, ScreenPos.Y));
  }
}

void SimulateMouseMove(TPoint ScreenPos, TShiftState Shift) {
  SetCursorPos(ScreenPos.X, ScreenPos.Y);
  HWND Wnd = MouseTarget(ScreenPos);
  if (!Wnd) {
    TrackEnterLeave(nullptr);
    return;
  }
  if (HWND C = GetCapture(); C && ScrollBarMouseMove(C, WindowPoint(C, ScreenPos))) return;
  if (!GetCapture()) TrackEnterLeave(Wnd);
  const int Hit = HitTest(Wnd, ScreenPos);
  Wnd->Perform(WM_SETCURSOR, WPARAM(Wnd), MAKELPARAM(Hit, WM_MOUSEMOVE));
  if (Hit != HTCLIENT) {
    Wnd->Perform(WM_NCMOUSEMOVE, WPARAM(Hit), MAKELPARAM(ScreenPos.X, ScreenPos.Y));
    return;
  }
  SendMouse(Wnd, WM_MOUSEMOVE, ScreenPos, ButtonKeys(Shift));
}

void SimulateMouseLeave() {
  // While the mouse is captured it still belongs to the capturing window.
  if (GetCapture()) return;
  TrackEnterLeave(nullptr);
  if (Application) Application->NoteMouseOver(nullptr);
}

void SimulateMouseWheel(int WheelDelta, TPoint ScreenPos, TShiftState Shift) {
  // The wheel goes to the window with the focus, as the system sends it.
  HWND Wnd = GetFocus();
  if (!Wnd) Wnd = WindowAt(ScreenPos);
  if (!Wnd) return;
  Wnd->Perform(WM_MOUSEWHEEL, MAKEWPARAM(int(ButtonKeys(Shift)), WheelDelta),
               MAKELPARAM(ScreenPos.X, ScreenPos.Y));
}

void SimulateClick(TControl* Control, TPoint ClientPos, TMouseButton Button) {
  const TPoint S = Control->ClientToScreen(ClientPos);
  SimulateMouseDown(Button, S);
  SimulateMouseUp(Button, S);
}

TPoint WindowPoint(HWND Wnd, TPoint ScreenPos) {
  TRect R;
  GetWindowRect(Wnd, R);
  return {ScreenPos.X - R.Left, ScreenPos.Y - R.Top};
}

void SetMenuKeyHook(TMenuKeyHook Hook) { MenuKeyHook() = std::move(Hook); }
bool HasMenuKeyHook() { return bool(MenuKeyHook()); }
bool AltReleasedAlone() { return AltAlone(); }
void ForgetAltPress() { AltAlone() = false; }
