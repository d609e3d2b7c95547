// Forms.cpp - TCustomForm: showing, activation, the focused control, dialog keys, closing and
// the modal loop; TFrame.
#include "platform/controls/Forms.h"

#include <algorithm>

#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Controls_p.h"
#include "platform/controls/Menus.h"
#include "platform/controls/WinApi.h"

namespace {
TCustomForm::TModalHook& ModalHook() {
  static TCustomForm::TModalHook Hook;
  return Hook;
}
}  // namespace

void CannotFocus() { throw EInvalidOperation(u"Cannot focus a disabled or invisible window"); }

REGISTER_CLASS(TCustomForm) {
  Class.Property("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption)
      .Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
      .Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
      .Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable)
      .Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
                TBorderIcons{biSystemMenu, biMinimize, biMaximize})
      .Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false)
      .Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
      .Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
      .Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned)
      .Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal)
      .Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, wsNormal)
      .Property("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
      .Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
      .Property("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled, true)
      .Property("OnCreate", &TCustomForm::OnCreate, &TCustomForm::SetOnCreate)
      .Property("OnShow", &TCustomForm::OnShow, &TCustomForm::SetOnShow)
      .Property("OnHide", &TCustomForm::OnHide, &TCustomForm::SetOnHide)
      .Property("OnActivate", &TCustomForm::OnActivate, &TCustomForm::SetOnActivate)
      .Property("OnDeactivate", &TCustomForm::OnDeactivate, &TCustomForm::SetOnDeactivate)
      .Property("OnClose", &TCustomForm::OnClose, &TCustomForm::SetOnClose)
      .Property("OnCloseQuery", &TCustomForm::OnCloseQuery, &TCustomForm::SetOnCloseQuery)
      .Property("OnPaint", &TCustomForm::OnPaint, &TCustomForm::SetOnPaint)
      .Property("OnDestroy", &TCustomForm::OnDestroy, &TCustomForm::SetOnDestroy);
}
REGISTER_CLASS(TForm) {}
REGISTER_CLASS(TFrame) {}

TFrame::TFrame(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  SetBounds(0, 0, 320, 240);
}

// "TextHeight": the text height of the form's font when the form was stored.
void TCustomForm::DefineProperties(TFiler* Filer) {
  TScrollingWinControl::DefineProperties(Filer);
  const auto ReadData = [this](TReader* Reader) { FStoredTextHeight = Reader->ReadInteger(); };
  const auto WriteData = [this](TWriter* Writer) {
    FCanvas->Font()->Assign(Font());
    Writer->WriteInteger(FCanvas->TextHeight(u"0"));
  };
  Filer->DefineProperty(u"TextHeight", ReadData, WriteData, true);
}

TCustomForm::TCustomForm(TComponent* AOwner)
    : TScrollingWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  InitControls();
  FCanvas->SetControl(this);
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  ExitMenuMode();
  if (FOnDestroy) FOnDestroy(this);
  Destroying();
  // Children go while the form is still a form (focus bookkeeping reads it).
  DestroyComponents();
  while (ControlCount() > 0) Controls(ControlCount() - 1)->SetParent(nullptr);
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  Params.Style = WS_CLIPCHILDREN;
  Params.ExStyle = 0;
  switch (FFormBorderStyle) {
    case bsNone: Params.Style |= WS_POPUP; break;
    case bsSingle: case bsToolWindow: Params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: case bsSizeToolWin: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: Params.Style |= WS_CAPTION | WS_POPUP; Params.ExStyle |= WS_EX_DLGMODALFRAME; break;
  }
  if (FFormBorderStyle == bsToolWindow || FFormBorderStyle == bsSizeToolWin)
    Params.ExStyle |= WS_EX_TOOLWINDOW;
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (FBorderIcons.Contains(biSystemMenu)) Params.Style |= WS_SYSMENU;
  Params.WndParent = nullptr;
}

// The frame of a form is the platform's (a title bar and border drawn by the window manager),
// so the client area is the whole window here, less the menu bar.

bool TCustomForm::Showing() const { return TWinControl::Showing(); }

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FFormBorderStyle == Value) return;
  FFormBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState Value) { FWindowState = Value; }

TMonitor* TCustomForm::Monitor() const { return Screen->MonitorFromRect(BoundsRect()); }

void TCustomForm::Loaded() { TScrollingWinControl::Loaded(); }

// --- showing -------------------------------------------------------------------------------------

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
  if (!FActive) Perform(CM_ACTIVATE, 0, 0);
}

void TCustomForm::PlaceOnScreen() {
  if (FPlaced) return;
  FPlaced = true;
  TRect Area = Screen->WorkAreaRect();
  TCustomForm* Center = nullptr;
  switch (FPosition) {
    case poScreenCenter: case poDesktopCenter: break;
    case poMainFormCenter: Center = Application->MainForm(); break;
    case poOwnerFormCenter:
      // A form owned by the application centres on the main form.
      Center = dynamic_cast<TCustomForm*>(Owner());
      if (!Center) Center = Application->MainForm();
      break;
    default: return;
  }
  if (Center && Center != this) Area = Center->BoundsRect();
  // A centred form stays inside the work area: its caption never leaves the screen.
  const TRect Work = Screen->WorkAreaRect();
  const int X = Area.Left + (Area.Width() - Width()) / 2;
  const int Y = Area.Top + (Area.Height() - Height()) / 2;
  SetBounds(std::max(Work.Left, std::min(X, Work.Right - Width())),
            std::max(Work.Top, std::min(Y, Work.Bottom - Height())), Width(), Height());
}

void TCustomForm::DoShow() {
  if (FOnShow) FOnShow(this);
}

void TCustomForm::DoHide() {
  if (FOnHide) FOnHide(this);
}

void TCustomForm::CMShowingChangedForm(TMessage& Message) {
  if (Showing()) {
    FFormState << fsShowing;
    try {
      DoShow();
    } catch (...) {
      FFormState >> fsShowing;
      throw;
    }
    FFormState >> fsShowing;
    FFormState << fsVisible;
    PlaceOnScreen();
    TWinControl::Dispatch(Message);
    return;
  }
  FFormState >> fsVisible;
  DoHide();
  TWinControl::Dispatch(Message);
  if (FActive) Perform(CM_DEACTIVATE, 0, 0);
}

// --- activation and focus ------------------------------------------------------------------------

void TCustomForm::CMActivate(TMessage&) {
  if (Screen->ActiveForm() && Screen->ActiveForm() != this)
    Screen->ActiveForm()->Perform(CM_DEACTIVATE, 0, 0);
  Screen->SetActiveForm(this);
  FActive = true;
  if (!FActiveControl) {
    TWinControl* First = FindNextControl(nullptr, true, true, false);
    if (First) FActiveControl = First;
  }
  SetWindowFocus();
  Activate();
}

void TCustomForm::CMDeactivate(TMessage&) {
  if (!FActive) return;
  FActive = false;
  if (Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
  Deactivate();
}

void TCustomForm::WMActivate(TMessage& Message) {
  Perform(Message.WParam ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
}

void TCustomForm::Activate() {
  if (FOnActivate) FOnActivate(this);
}

void TCustomForm::Deactivate() {
  if (FOnDeactivate) FOnDeactivate(this);
}

void TCustomForm::SetWindowFocus() {
  TWinControl* Target = FActiveControl ? FActiveControl : this;
  if (!Target->CanFocus()) Target = this;
  ::SetFocus(Target->Handle());
}

void TCustomForm::SetFocus() {
  if (!CanFocus()) CannotFocus();
  if (!FActive) {
    Perform(CM_ACTIVATE, 0, 0);
    return;
  }
  SetWindowFocus();
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) {
    if (Control && FActive && GetFocus() != Control) SetWindowFocus();
    return;
  }
  if (Control && (Control == this || ::GetParentForm(Control) != this ||
                  (!ComponentState().Contains(csLoading) && Showing() && !Control->CanFocus())))
    CannotFocus();
  FActiveControl = Control;
  if (FActive && Control) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  const bool WasActive = FActive;
  SetActiveControl(Control);
  if (!WasActive && Showing()) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->Parent();
  if (Control->ContainsControl(FActiveControl)) {
    FActiveControl = nullptr;
    if (FActive && GetFocus() && Control->ContainsControl(GetFocus())) ::SetFocus(this);
  }
}

// The focus reached Control: CM_EXIT up from the old focused control to the common parent,
// CM_ENTER down to Control. False when an exit or enter handler moved the focus away.
bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (Control != this) FActiveControl = Control;
  else FActiveControl = nullptr;
  if (Control->ControlState().Contains(csFocusing)) return false;
  Control->SetControlState(Control->ControlState() + TControlState{csFocusing});
  struct TClear {
    TWinControl* C;
    ~TClear() { C->SetControlState(C->ControlState() - TControlState{csFocusing}); }
  } Clear{Control};
  HWND FocusHandle = Control;
  if (!FFocusedControl) FFocusedControl = this;
  while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
    TWinControl* Leaving = FFocusedControl;
    FFocusedControl = Leaving->Parent();
    Leaving->Perform(CM_EXIT, 0, 0);
    if (GetFocus() != FocusHandle) return false;
  }
  if (!FFocusedControl) FFocusedControl = this;
  while (FFocusedControl != Control) {
    TWinControl* Next = Control;
    while (Next->Parent() != FFocusedControl) Next = Next->Parent();
    FFocusedControl = Next;
    Next->Perform(CM_ENTER, 0, 0);
    if (GetFocus() != FocusHandle) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, LPARAM(Control));
  return true;
}

// --- keys ----------------------------------------------------------------------------------------

bool TCustomForm::IsShortCutKey(TMessage& Message) {
  bool Handled = false;
  if (FOnShortCut) FOnShortCut(Message, Handled);
  if (Handled) return true;
  const TShortCut SC = ShortCut(Word(Message.WParam), KeyDataToShiftState(Message.LParam));
  for (int I = 0; I < ComponentCount(); ++I)
    if (auto* List = dynamic_cast<TActionList*>(Components(I)))
      if (List->IsShortCut(SC)) return true;
  return false;
}

void TCustomForm::CMDialogKeyForm(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(FActiveControl,
                                               Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN,
                                               false);
          Message.Result = 1;
        }
        return;
      default: break;
    }
  }
  TScrollingWinControl::Dispatch(Message);   // Return and Esc reach the buttons
}

// --- closing -------------------------------------------------------------------------------------

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  if (FOnCloseQuery) FOnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (FOnClose) FOnClose(this, Action);
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction Action = caHide;
  DoClose(Action);
  if (Action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    Hide();
  } else if (Action == caHide) {
    Hide();
  } else if (Action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  HandleNeeded();
  PostMessage(this, CM_RELEASE, 0, 0);
}

void TCustomForm::CMRelease(TMessage&) { delete this; }

void TCustomForm::WMClose(TMessage&) { Close(); }

// --- modal ---------------------------------------------------------------------------------------

void TCustomForm::SetModalHookForTests(TModalHook Hook) { ModalHook() = std::move(Hook); }

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation(u"Cannot make a visible window modal");
  ReleaseCapture();
  FFormState << fsModal;
  TCustomForm* Previous = Screen->ActiveForm();
  struct TRestore {
    TCustomForm* Form;
    TCustomForm* Previous;
    ~TRestore() {
      Form->Hide();
      Form->FFormState >> fsModal;
      if (Previous && Previous->Showing()) Previous->Perform(CM_ACTIVATE, 0, 0);
    }
  } Restore{this, Previous};
  Show();
  FModalResult = mrNone;
  if (ModalHook()) ModalHook()(this);
  while (true) {
    if (FModalResult == mrNone) {
      const bool Progress = Application->HandleModalStep();
      if (Application->Terminated()) FModalResult = mrCancel;
      else if (FModalResult == mrNone && !Progress)
        throw EInvalidOperation(u"A modal window waits for input that cannot come");
    }
    if (FModalResult == mrNone) continue;
    // Closing a modal form asks CloseQuery and OnClose; caNone keeps it open.
    TCloseAction Action = caNone;
    if (CloseQuery()) {
      Action = caHide;
      DoClose(Action);
    }
    if (Action == caNone) {
      FModalResult = mrNone;
      continue;
    }
    TModalResult Result = FModalResult;
    if (Action == caFree) Release();
    return Result;
  }
}

// --- painting and dispatch -----------------------------------------------------------------------

void TCustomForm::Paint() {
  if (FOnPaint) FOnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC) {
  if (!FOnPaint) return;
  TCanvasPaintScope Scope(FCanvas.get(), DC, Font(), Color(), prBrushColor);
  Paint();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TScrollingWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FActiveControl) FActiveControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
  if (FMenu && AComponent == FMenu) SetMenu(nullptr);
}

// --- the menu bar --------------------------------------------------------------------------------

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  ExitMenuMode();
  if (FMenu) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (FMenu) FMenu->FreeNotification(this);
  UpdateNonClient();
}

void TCustomForm::PaintNonClient(HDC DC) {
  if (FMenu) FMenu->PaintBar(DC, Rect(0, 0, Width(), TMainMenu::BarHeight()));
}

void TCustomForm::WMNCHitTestForm(TMessage& Message) {
  if (FMenu) {
    const TPoint P = ScreenToClient({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    if (P.Y < 0 && P.Y >= -TMainMenu::BarHeight() && P.X >= 0 && P.X < Width()) {
      Message.Result = HTMENU;
      return;
    }
  }
  TScrollingWinControl::Dispatch(Message);
}

void TCustomForm::WMNCLButtonDownForm(TMessage& Message) {
  if (!FMenu || Message.WParam != HTMENU) {
    TScrollingWinControl::Dispatch(Message);
    return;
  }
  const TPoint P = ScreenToClient({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
  const TPoint BarPos{P.X, P.Y + TMainMenu::BarHeight()};
  if (TMenuItem* Item = FMenu->ItemAtBarPos(BarPos)) RunBarMenu(Item);
}

// SC_KEYMENU: with a letter (Alt and the letter, from WM_SYSCHAR's default) the item with that
// accelerator drops down; without one (F10, Alt alone) the bar enters menu mode.
void TCustomForm::WMSysCommand(TMessage& Message) {
  if ((Message.WParam & 0xFFF0) == SC_KEYMENU && FMenu) {
    if (!Message.LParam) {
      EnterMenuMode(FMenu->AdjacentBarItem(nullptr, 1));
      Message.Result = 1;
      return;
    }
    if (TMenuItem* Item = FMenu->FindAccelItem(Char(Message.LParam))) {
      RunBarMenu(Item);
      Message.Result = 1;
      return;
    }
    MessageBeep(0);
    return;
  }
  TScrollingWinControl::Dispatch(Message);
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY: CMDialogKeyForm(Message); return;
    case CM_SHOWINGCHANGED: CMShowingChangedForm(Message); return;
    case CM_ACTIVATE: CMActivate(Message); return;
    case CM_DEACTIVATE: CMDeactivate(Message); return;
    case CM_RELEASE: CMRelease(Message); return;
    case WM_CLOSE: WMClose(Message); return;
    case WM_ACTIVATE: WMActivate(Message); return;
    case WM_MOUSEACTIVATE: Message.Result = MA_ACTIVATE; return;
    case WM_NCCALCSIZE:
      // The window manager draws a form's frame; the menu bar is ours.
      if (FMenu && Message.LParam) reinterpret_cast<TRect*>(Message.LParam)->Top += TMainMenu::BarHeight();
      return;
    case WM_NCHITTEST: WMNCHitTestForm(Message); return;
    case WM_NCLBUTTONDOWN: WMNCLButtonDownForm(Message); return;
    case WM_SYSCOMMAND: WMSysCommand(Message); return;
    default: TScrollingWinControl::Dispatch(Message);
  }
}
