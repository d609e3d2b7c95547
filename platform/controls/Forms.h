// Forms.h - TCustomForm/TForm, TFrame, TApplication and TScreen.
//
// A form is a top-level windowed control with a caption and a frame. It keeps the active
// control (the focused control of the form as the library sees it, which may differ from the
// window holding the keyboard focus, e.g. a grid whose cell editor has it), turns focus changes
// into CM_EXIT / CM_ENTER, answers CM_DIALOGKEY (Tab and arrows move the focus, Return and Esc
// reach the default and cancel buttons), and runs modally with ShowModal.
//
// TApplication runs the loop: the platform's events, our queued messages, due timers, hints and
// idle handling. TScreen lists the forms, monitors and cursors.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/Exceptions.h"

class TMainMenu;
class TMenuItem;
class TMonitor;
class THintWindow;
class TTimer;

VORENTA_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop);
VORENTA_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly,
             poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter);
VORENTA_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized);
VORENTA_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize);
VORENTA_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp);
VORENTA_SET(TBorderIcons, TBorderIcon);
VORENTA_ENUM(TFormStateItem, fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild,
             fsActivated);
VORENTA_SET(TFormState, TFormStateItem);

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TScrollingWinControl {
  VORENTA_CLASS(TCustomForm, TScrollingWinControl)
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // --- showing and closing
  void Show();
  // Shows the form modally and runs the loop until ModalResult is set (a button with a modal
  // result, Close, or the test hook); returns it and hides the form.
  virtual TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // CloseQuery, then OnClose decides: caHide hides (ends ShowModal with mrCancel when no result
  // is set), caFree releases the form, caNone keeps it.
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the message being handled is done (posts CM_RELEASE).
  void Release();
  TFormState FormState() const { return FFormState; }
  bool Modal() const { return FFormState.Contains(fsModal); }

  // --- focus
  TWinControl* ActiveControl() const { return FActiveControl; }
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" for a control that
  // cannot take the focus while the form is shown.
  void SetActiveControl(TWinControl* Control);
  // Makes Control the form's focused control: CM_EXIT to the previous one, CM_ENTER to it;
  // false when refused (the control cannot be focused, or an exit handler moved the focus).
  virtual bool SetFocusedControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  bool Active() const { return FActive; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  bool CanFocus() const override { return Visible() && Enabled(); }
  void SetFocus() override;

  // --- look and place
  TFormBorderStyle BorderStyle() const { return FFormBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value) { FBorderIcons = Value; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  // Kept for stored forms; it changes nothing here.
  bool OldCreateOrder() const { return FOldCreateOrder; }
  void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }
  // The height of the form font's text as a stored form recorded it ("TextHeight"; 0 when
  // none was read).
  int StoredTextHeight() const { return FStoredTextHeight; }
  void DefineProperties(TFiler* Filer) override;
  TCanvas* Canvas() const { return FCanvas.get(); }
  TMonitor* Monitor() const;
  // The main menu shown as a bar across the top of the form; the client area starts below it.
  // Its shortcuts work from every control of the form.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  bool ShowingForTests() const { return Showing(); }

  // --- events
  const TNotifyEvent& OnCreate() const { return FOnCreate; }
  void SetOnCreate(TNotifyEvent Value) { FOnCreate = std::move(Value); }
  const TNotifyEvent& OnShow() const { return FOnShow; }
  void SetOnShow(TNotifyEvent Value) { FOnShow = std::move(Value); }
  const TNotifyEvent& OnHide() const { return FOnHide; }
  void SetOnHide(TNotifyEvent Value) { FOnHide = std::move(Value); }
  const TNotifyEvent& OnActivate() const { return FOnActivate; }
  void SetOnActivate(TNotifyEvent Value) { FOnActivate = std::move(Value); }
  const TNotifyEvent& OnDeactivate() const { return FOnDeactivate; }
  void SetOnDeactivate(TNotifyEvent Value) { FOnDeactivate = std::move(Value); }
  const TCloseEvent& OnClose() const { return FOnClose; }
  void SetOnClose(TCloseEvent Value) { FOnClose = std::move(Value); }
  const TCloseQueryEvent& OnCloseQuery() const { return FOnCloseQuery; }
  void SetOnCloseQuery(TCloseQueryEvent Value) { FOnCloseQuery = std::move(Value); }
  const TNotifyEvent& OnPaint() const { return FOnPaint; }
  void SetOnPaint(TNotifyEvent Value) { FOnPaint = std::move(Value); }
  const TNotifyEvent& OnDestroy() const { return FOnDestroy; }
  void SetOnDestroy(TNotifyEvent Value) { FOnDestroy = std::move(Value); }

  // Shortcuts of the form's action lists and OnShortCut; true when one was executed.
  bool IsShortCutKey(TMessage& Message);
  using TShortCutEvent = std::function<void(TMessage& Message, bool& Handled)>;
  const TShortCutEvent& OnShortCut() const { return FOnShortCut; }
  void SetOnShortCut(TShortCutEvent Value) { FOnShortCut = std::move(Value); }

  void Dispatch(TMessage& Message) override;
  bool Showing() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // for tests: called when a form starts running modally, inside ShowModal's loop; it answers
  // by setting ModalResult (or sending input). Without a hook, a modal loop with no window
  // system and nothing queued raises EInvalidOperation instead of waiting forever.
  using TModalHook = std::function<void(TCustomForm* Form)>;
  static void SetModalHookForTests(TModalHook Hook);

protected:
  void CreateParams(TCreateParams& Params) override;
  bool IsTopLevel() const override { return true; }
  void PaintWindow(HDC DC) override;
  void PaintNonClient(HDC DC) override;
  virtual void Paint();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  void Loaded() override;
  void PlaceOnScreen();

  void CMDialogKeyForm(TMessage& Message);
  void CMShowingChangedForm(TMessage& Message);
  void CMActivate(TMessage& Message);
  void CMDeactivate(TMessage& Message);
  void CMRelease(TMessage& Message);
  void WMClose(TMessage& Message);
  void WMActivate(TMessage& Message);
  void WMNCHitTestForm(TMessage& Message);
  void WMNCLButtonDownForm(TMessage& Message);
  void WMSysCommand(TMessage& Message);

  // --- the menu bar from the keyboard (FormMenuMode.cpp)
  // Drops Item's sub-items down under it (the bar showing it pressed meanwhile). In the open
  // menu Left and Right go on to the neighbouring items; Esc comes back to the bar in menu
  // mode.
  void RunBarMenu(TMenuItem* Item);
  // Menu mode (F10, or Alt alone): the bar's hot item moves with Left and Right and opens with
  // Down, Up, Return or an accelerator; Esc, Alt, F10 or a press anywhere leaves the mode. The
  // focus stays where it was.
  void EnterMenuMode(TMenuItem* Hot);
  void ExitMenuMode();
  bool InMenuMode() const { return FMenuModeFilter != 0; }

private:
  friend class TApplication;
  void SetWindowFocus();
  bool MenuModeKey(unsigned Msg, WPARAM Key);
  int FMenuModeFilter = 0;   // the press filter that ends menu mode (0: not in it)

  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TMainMenu* FMenu = nullptr;
  TModalResult FModalResult = mrNone;
  TFormState FFormState;
  bool FActive = false;
  bool FKeyPreview = false;
  TFormBorderStyle FFormBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TFormStyle FFormStyle = fsNormal;
  TWindowState FWindowState = wsNormal;
  int FPixelsPerInch = 96;
  bool FScaled = true;
  bool FOldCreateOrder = false;
  int FStoredTextHeight = 0;
  bool FPlaced = false;
  std::unique_ptr<TControlCanvas> FCanvas;
  TNotifyEvent FOnCreate, FOnShow, FOnHide, FOnActivate, FOnDeactivate, FOnPaint, FOnDestroy;
  TCloseEvent FOnClose;
  TCloseQueryEvent FOnCloseQuery;
  TShortCutEvent FOnShortCut;
};

class TForm : public TCustomForm {
  VORENTA_CLASS(TForm, TCustomForm)
public:
  using TCustomForm::TCustomForm;
};

// A group of controls placed like a form's, for embedding into one.
class TFrame : public TScrollingWinControl {
  VORENTA_CLASS(TFrame, TScrollingWinControl)
public:
  explicit TFrame(TComponent* AOwner);
};

// --- TApplication -------------------------------------------------------------------------------

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TShowHintEvent =
    std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;

class TApplication : public TComponent {
  VORENTA_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Creates the platform's application object when none exists (with the platform named by
  // QT_QPA_PLATFORM, e.g. offscreen in tests); Run needs it, messages and timers do not.
  // Raises EOSError (CheckDisplay) instead of letting the platform abort without a display.
  void Initialize();
  // On the X11 platform (QT_QPA_PLATFORM unset or "xcb..."): raises EOSError "Нет графического
  // дисплея: ..." when DISPLAY is unset or no X server answers there.
  static void CheckDisplay();
  // Creates a form owned by the application; the first becomes the main form.
  template <class T>
  T* CreateForm() {
    T* Form = new T(this);
    AddForm(Form);
    return Form;
  }
  void AddForm(TCustomForm* Form);
  // Shows the main form and runs the loop until it closes or Terminate.
  void Run();
  // Delivers every pending platform event, queued message and due timer, then returns.
  void ProcessMessages();
  // The main form minimized, and back to its normal state.
  void Minimize();
  void Restore();
  // Waits for and handles one batch of input (the modal loops use it).
  void HandleMessage();
  // One step of a modal loop: handles what is pending (waiting for input when a window system
  // runs); false when nothing happened and nothing can (headless, queue empty, no timers).
  bool HandleModalStep();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* Value) { FMainForm = Value; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }

  // --- exceptions
  // OnException when set, otherwise ShowException; EAbort is silent.
  void HandleException(TObject* Sender, const Exception& E);
  // The error message box with the exception's message.
  void ShowException(const Exception& E);
  const TExceptionEvent& OnException() const { return FOnException; }
  void SetOnException(TExceptionEvent Value) { FOnException = std::move(Value); }
  const TIdleEvent& OnIdle() const { return FOnIdle; }
  void SetOnIdle(TIdleEvent Value) { FOnIdle = std::move(Value); }
  const TMessageEvent& OnMessage() const { return FOnMessage; }
  void SetOnMessage(TMessageEvent Value) { FOnMessage = std::move(Value); }

  // --- title, message boxes
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value);
  const String& ExeName() const { return FExeName; }
  void SetExeName(const String& Value) { FExeName = Value; }
  // The message box with Caption (the title when empty); Flags MB_*; answers ID*.
  int MessageBox(const String& Text, const String& Caption, unsigned Flags);

  // --- hints
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = Value; }
  int HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int Value) { FHintShortPause = Value; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = Value; }
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  const TShowHintEvent& OnShowHint() const { return FOnShowHint; }
  void SetOnShowHint(TShowHintEvent Value) { FOnShowHint = std::move(Value); }
  const TNotifyEvent& OnHint() const { return FOnHint; }
  void SetOnHint(TNotifyEvent Value) { FOnHint = std::move(Value); }
  // Asks Control for its hint (CM_HINTSHOW) and shows it at the cursor; the hint machinery
  // calls this after HintPause over a control with ShowHint.
  void ActivateHint(TPoint CursorPos);
  void CancelHint();
  THintWindow* HintWindow() const { return FHintWindow; }
  // The part of a hint before "|" (the long part follows it).
  static String GetShortHint(const String& Hint);
  static String GetLongHint(const String& Hint);
  // The mouse moved over Control (the input routines call it; nullptr: off our windows): a new
  // control hides the hint and, when it has one to show, starts the hint timer: the hint shows
  // after HintPause (HintShortPause when one was showing) and hides after HintHidePause.
  void NoteMouseOver(TControl* Control);

  // Whether one of the application's windows has the window system's focus. The window system
  // reports the changes; losing it hides the hint, closes the open drop-downs (as an outside
  // press would) and cancels what holds the mouse.
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // --- drop-down windows (DropDown.h)
  // A press at ScreenPos aimed at Target: open drop-downs it falls outside of are closed; true
  // when the press must be swallowed (it landed on the control that opened the drop-down).
  bool FilterOutsideClick(HWND Target, TPoint ScreenPos);
  using TOutsideClickFilter = std::function<bool(HWND Target, TPoint ScreenPos)>;
  int AddOutsideClickFilter(TOutsideClickFilter Filter);
  void RemoveOutsideClickFilter(int Id);

private:
  void Idle();
  void StartHintTimer(unsigned Interval, bool Hiding);
  void HintTimerExpired();
  // True headless or on the offscreen platform: no input will ever arrive.
  static bool HasPlatformOffscreen();

  String FTitle;
  String FExeName;
  TCustomForm* FMainForm = nullptr;
  bool FShowMainForm = true;
  bool FTerminated = false;
  bool FActive = true;
  bool FShowHint = true;
  int FHintPause = 500, FHintShortPause = 50, FHintHidePause = 2500;
  TColor FHintColor = clInfoBk;
  String FHint;
  TControl* FHintControl = nullptr;
  THintWindow* FHintWindow = nullptr;
  TTimer* FHintTimer = nullptr;
  bool FHintHiding = false;   // the timer runs to hide the hint, not to show it
  TExceptionEvent FOnException;
  TIdleEvent FOnIdle;
  TMessageEvent FOnMessage;
  TShowHintEvent FOnShowHint;
  TNotifyEvent FOnHint;
  bool FOwnsPlatformApp = false;
  std::vector<std::pair<int, TOutsideClickFilter>> FClickFilters;
  int FNextFilter = 1;
};

// --- TScreen ------------------------------------------------------------------------------------

class TMonitor : public TObject {
public:
  int MonitorNum() const { return FNum; }
  bool Primary() const { return FPrimary; }
  TRect BoundsRect() const { return FBounds; }
  TRect WorkareaRect() const { return FWorkarea; }
  int Left() const { return FBounds.Left; }
  int Top() const { return FBounds.Top; }
  int Width() const { return FBounds.Width(); }
  int Height() const { return FBounds.Height(); }

private:
  friend class TScreen;
  int FNum = 0;
  bool FPrimary = false;
  TRect FBounds, FWorkarea;
};

VORENTA_ENUM(TMonitorDefaultTo, mdNearest, mdNull, mdPrimary);

class TScreen : public TComponent {
  VORENTA_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // --- forms
  int FormCount() const { return int(FForms.size()); }
  TCustomForm* Forms(int Index) const { return FForms.at(size_t(Index)); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const;

  // --- monitors (read from the platform; one 1024 x 768 monitor when headless)
  int MonitorCount() const;
  TMonitor* Monitors(int Index) const;
  TMonitor* PrimaryMonitor() const;
  TMonitor* MonitorFromPoint(TPoint P, TMonitorDefaultTo Default = mdNearest) const;
  TMonitor* MonitorFromRect(const TRect& R, TMonitorDefaultTo Default = mdNearest) const;
  TRect WorkAreaRect() const;
  int Width() const;
  int Height() const;
  int PixelsPerInch() const { return FPixelsPerInch; }
  void RefreshMonitors();

  // --- cursors
  // The cursor for the whole screen (crDefault: each control's own); crHourGlass while busy.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // Registered cursors by number (a platform cursor handle); predefined ones are negative.
  void* Cursors(int Index) const;
  void SetCursors(int Index, void* Handle);

  // --- fonts
  TFont* HintFont() const { return FHintFont.get(); }
  TFont* MenuFont() const { return FMenuFont.get(); }
  TFont* IconFont() const { return FIconFont.get(); }
  const std::vector<String>& Fonts() const;

  // for tests: replaces the monitors (bounds and work areas); an empty list puts the real
  // monitors back.
  void SetMonitorsForTests(const std::vector<std::pair<TRect, TRect>>& Monitors);

private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form) { FActiveForm = Form; }

  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  mutable std::vector<std::unique_ptr<TMonitor>> FMonitors;
  bool FMonitorsForTests = false;
  int FPixelsPerInch = 96;
  TCursor FCursor = crDefault;
  std::map<int, void*> FCursors;
  std::unique_ptr<TFont> FHintFont, FMenuFont, FIconFont;
  mutable std::vector<String> FFontNames;
};

// The process's application and screen, created on first use of the library's units (the
// program's start creates them explicitly; tests get them from the first control).
extern TApplication* Application;
extern TScreen* Screen;
// Creates Application and Screen when they do not exist yet.
void InitControls();
