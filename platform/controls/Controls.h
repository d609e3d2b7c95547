// Controls.h - TControl, TWinControl, TCustomControl, TGraphicControl and the window model.
//
// Every control receives messages through Perform -> WindowProc (WndProc by default) ->
// Dispatch -> DefaultHandler. Dispatch finds the handler by message number: a class overrides
// Dispatch with a switch over the numbers it handles, calls its handler method and returns,
// and passes every other number to inherited::Dispatch; a handler that wants the ancestor's
// handling calls inherited::Dispatch(Message) itself (the "inherited" of a message method).
// What nobody handles ends in DefaultHandler, the stand-in for the native window procedure.
//
// A windowed control (TWinControl) has a window: its Handle (HWND, the control itself) once
// created. Under the window the platform keeps a surface (a QWidget when a Qt application runs,
// nothing in headless tests) that turns input, focus, paint and resize into our messages. Focus,
// capture, visibility, bounds and painting are all kept here, so tests can drive a control with
// messages and the input routines of WinApi.h without any window system.
//
// A windowless control (TGraphicControl) is painted by its parent after the parent's own
// painting, and receives the mouse messages its parent routes to it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Alignment.h"
#include "platform/classes/Component.h"
#include "platform/classes/Sets.h"
#include "platform/graphics/Canvas.h"
#include "platform/controls/Messages.h"

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;

// A window handle is the windowed control itself; a device context is the canvas painted on.
using HWND = TWinControl*;
using HDC = TCanvas*;

// --- enumerations -------------------------------------------------------------------------------

VORENTA_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble);
VORENTA_SET(TShiftState, TShiftStateItem);
VORENTA_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle);

VORENTA_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom);
VORENTA_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom);
VORENTA_SET(TAnchors, TAnchorKind);
// TAlignment: platform/classes/Alignment.h (shared with the dataset framework).
using TLeftRight = TAlignment;   // taLeftJustify or taRightJustify
VORENTA_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign,
             bdRightToLeftReadingOnly);

// bsNone and bsSingle are the border styles of controls; the rest are forms'.
VORENTA_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin);
using TBorderStyle = TFormBorderStyle;

VORENTA_ENUM(TBevelKind, bkNone, bkTile, bkSoft, bkFlat);
VORENTA_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace);
VORENTA_ENUM(TBevelEdge, beLeft, beTop, beRight, beBottom);
VORENTA_SET(TBevelEdges, TBevelEdge);

VORENTA_ENUM(TControlStyleItem, csAcceptsControls, csCaptureMouse, csDesignInteractive,
             csClickEvents, csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth,
             csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents, csDisplayDragImage,
             csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint, csParentBackground);
VORENTA_SET(TControlStyle, TControlStyleItem);

VORENTA_ENUM(TControlStateItem, csLButtonDown, csClicked, csPalette, csReadingState,
             csAlignmentNeeded, csFocusing, csCreating, csPaintCopy, csCustomPaint,
             csDestroyingHandle, csDocking);
VORENTA_SET(TControlState, TControlStateItem);

VORENTA_ENUM(TDragMode, dmManual, dmAutomatic);
VORENTA_ENUM(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira,
             imSKata, imKata, imChinese, imSHanguel, imHanguel);

// Cursors: the screen's predefined ones are negative, crDefault lets the parent decide.
using TCursor = int;
enum : TCursor {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
  crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
  crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
  crSizeAll = -22, crSize = -22
};

// Modal results of forms, buttons and message boxes.
using TModalResult = int;
enum : TModalResult {
  mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
  mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10, mrClose = 11
};

// A shortcut: the virtual key plus scShift / scCtrl / scAlt (Alt+Down = 0x8028).
using TShortCut = Word;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };
TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);

// --- window styles and creation parameters ------------------------------------------------------

enum : unsigned {
  WS_OVERLAPPED = 0x00000000, WS_TABSTOP = 0x00010000, WS_GROUP = 0x00020000,
  WS_THICKFRAME = 0x00040000, WS_SYSMENU = 0x00080000, WS_HSCROLL = 0x00100000,
  WS_VSCROLL = 0x00200000, WS_DLGFRAME = 0x00400000, WS_BORDER = 0x00800000,
  WS_CAPTION = 0x00C00000, WS_MAXIMIZE = 0x01000000, WS_CLIPCHILDREN = 0x02000000,
  WS_CLIPSIBLINGS = 0x04000000, WS_DISABLED = 0x08000000, WS_VISIBLE = 0x10000000,
  WS_MINIMIZE = 0x20000000, WS_CHILD = 0x40000000, WS_POPUP = 0x80000000,
  WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,

  WS_EX_DLGMODALFRAME = 0x00000001, WS_EX_TOPMOST = 0x00000008, WS_EX_TRANSPARENT = 0x00000020,
  WS_EX_TOOLWINDOW = 0x00000080, WS_EX_WINDOWEDGE = 0x00000100, WS_EX_CLIENTEDGE = 0x00000200,
  WS_EX_RIGHT = 0x00001000, WS_EX_RTLREADING = 0x00002000, WS_EX_LEFTSCROLLBAR = 0x00004000,
  WS_EX_CONTROLPARENT = 0x00010000, WS_EX_STATICEDGE = 0x00020000, WS_EX_APPWINDOW = 0x00040000,
  WS_EX_LAYERED = 0x00080000, WS_EX_NOACTIVATE = 0x08000000,

  CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_SAVEBITS = 0x0800,

  ES_LEFT = 0x0000, ES_CENTER = 0x0001, ES_RIGHT = 0x0002, ES_MULTILINE = 0x0004,
  ES_UPPERCASE = 0x0008, ES_LOWERCASE = 0x0010, ES_PASSWORD = 0x0020, ES_AUTOVSCROLL = 0x0040,
  ES_AUTOHSCROLL = 0x0080, ES_NOHIDESEL = 0x0100, ES_READONLY = 0x0800, ES_WANTRETURN = 0x1000
};

struct TWindowClass {
  unsigned style = 0;
};

struct TCreateParams {
  String Caption;
  unsigned Style = 0;
  unsigned ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  TWindowClass WindowClass;
};

// --- events -------------------------------------------------------------------------------------

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, Char& Key)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
// A control's OnCanResize (the splitter's TCanResizeEvent has other arguments).
using TControlCanResizeEvent =
    std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TWndMethod = std::function<void(TMessage& Message)>;

// --- hints --------------------------------------------------------------------------------------

class THintWindow;
using THintWindowClass = TClass;

// The record CM_HINTSHOW carries (LParam a THintInfo*); a non-zero Result means no hint.
struct THintInfo {
  TControl* HintControl = nullptr;
  TClass HintWindowClass = nullptr;
  TPoint HintPos;             // screen coordinates
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;           // client coordinates of HintControl
  TPoint CursorPos;           // client coordinates of HintControl
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;   // e.g. a TFont for the hint window
};

// --- TControlCanvas -----------------------------------------------------------------------------

// The canvas of a control. While the control paints it draws on the paint target; outside
// painting it measures with the screen's metrics (drawing then goes nowhere visible).
class TControlCanvas : public TCanvas {
  VORENTA_CLASS(TControlCanvas, TCanvas)
public:
  TControlCanvas();
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value) { FControl = Value; }

private:
  TControl* FControl = nullptr;
};

// --- TControl -----------------------------------------------------------------------------------

class TControl : public TComponent {
  VORENTA_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // --- messages
  LRESULT Perform(unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  void Perform(TMessage& Message) { WindowProc(Message); }
  // The window procedure: WndProc unless replaced (SetWindowProc keeps the old one callable).
  void WindowProc(TMessage& Message);
  const TWndMethod& WindowProcHook() const { return FWindowProc; }
  void SetWindowProc(TWndMethod Value) { FWindowProc = std::move(Value); }
  virtual void WndProc(TMessage& Message);
  // Handlers by message number; see the file comment. The base calls DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // --- position and size (in the parent's client coordinates)
  int Left() const { return FLeft; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  int Top() const { return FTop; }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  void SetClientWidth(int Value);
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientHeight(int Value);
  void SetClientSize(int AWidth, int AHeight);
  // The screen position of the client area's top left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;
  // Between this control's client coordinates and its parent's.
  TPoint ClientToParent(TPoint P, TWinControl* AParent = nullptr) const;
  TPoint ParentToClient(TPoint P, TWinControl* AParent = nullptr) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);

  // --- parent, visibility, enabling
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show();
  void Hide();
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Enabled here and in every parent.
  bool IsEnabledInTree() const;
  // Visible here and in every parent up to a shown form.
  virtual bool Showing() const;
  void BringToFront();
  void SendToBack();

  // --- text, colour, font
  // Caption and Text are one value (WM_SETTEXT / WM_GETTEXT); a change sends CM_TEXTCHANGED.
  String Caption() const { return GetText(); }
  void SetCaption(const String& Value) { SetText(Value); }
  String Text() const { return GetText(); }
  void SetText(const String& Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  TBiDiMode BiDiMode() const { return bdLeftToRight; }
  // Right-to-left layouts are not supported: these answer false, the flags are 0.
  bool UseRightToLeftAlignment() const { return false; }
  bool UseRightToLeftReading() const { return false; }
  bool IsRightToLeft() const { return false; }
  unsigned DrawTextBiDiModeFlagsReadingOnly() const { return 0; }

  // --- styles and states
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }

  // --- painting
  void Invalidate();
  // Paints what is invalid now.
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }

  // --- mouse
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);
  bool MouseInClient() const { return FMouseInClient; }

  // --- actions
  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value);
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

  // --- events
  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent Value) { FOnClick = std::move(Value); }
  const TNotifyEvent& OnDblClick() const { return FOnDblClick; }
  void SetOnDblClick(TNotifyEvent Value) { FOnDblClick = std::move(Value); }
  const TMouseEvent& OnMouseDown() const { return FOnMouseDown; }
  void SetOnMouseDown(TMouseEvent Value) { FOnMouseDown = std::move(Value); }
  const TMouseEvent& OnMouseUp() const { return FOnMouseUp; }
  void SetOnMouseUp(TMouseEvent Value) { FOnMouseUp = std::move(Value); }
  const TMouseMoveEvent& OnMouseMove() const { return FOnMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent Value) { FOnMouseMove = std::move(Value); }
  const TMouseWheelEvent& OnMouseWheel() const { return FOnMouseWheel; }
  void SetOnMouseWheel(TMouseWheelEvent Value) { FOnMouseWheel = std::move(Value); }
  const TMouseWheelUpDownEvent& OnMouseWheelDown() const { return FOnMouseWheelDown; }
  void SetOnMouseWheelDown(TMouseWheelUpDownEvent Value) { FOnMouseWheelDown = std::move(Value); }
  const TMouseWheelUpDownEvent& OnMouseWheelUp() const { return FOnMouseWheelUp; }
  void SetOnMouseWheelUp(TMouseWheelUpDownEvent Value) { FOnMouseWheelUp = std::move(Value); }
  const TNotifyEvent& OnMouseEnter() const { return FOnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent Value) { FOnMouseEnter = std::move(Value); }
  const TNotifyEvent& OnMouseLeave() const { return FOnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent Value) { FOnMouseLeave = std::move(Value); }
  const TNotifyEvent& OnResize() const { return FOnResize; }
  void SetOnResize(TNotifyEvent Value) { FOnResize = std::move(Value); }
  // Asked by CanResize before the size changes: may change the new size or refuse it.
  const TControlCanResizeEvent& OnCanResize() const { return FOnCanResize; }
  void SetOnCanResize(TControlCanResizeEvent Value) { FOnCanResize = std::move(Value); }
  const TContextPopupEvent& OnContextPopup() const { return FOnContextPopup; }
  void SetOnContextPopup(TContextPopupEvent Value) { FOnContextPopup = std::move(Value); }

  // --- component model
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The form holding this control (or nullptr); the control itself when it is a form.
  TCustomForm* GetParentForm() const;

  // The routine that shows a control's popup menu (Menus.cpp installs it).
  using TPopupMenuHandler = std::function<void(TPopupMenu* Menu, TControl* Sender, TPoint ScreenPos)>;
  static void SetPopupMenuHandler(TPopupMenuHandler Handler);

  // The text (WM_GETTEXT); windowed descendants keep it in their window.
  virtual String GetText() const;

protected:
  // --- virtual behaviour
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void Resize();
  virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
  virtual bool CanResize(int& NewWidth, int& NewHeight);
  virtual void AdjustSize();
  virtual void RequestAlign();
  virtual void VisibleChanging() {}
  virtual void SetTextBuf(const String& Value);
  virtual TControlCanvas* ControlCanvas() { return nullptr; }
  virtual void ChangeScale(int M, int D);
  // The parent's colour or font reached this control.
  virtual void ParentColorChanged();
  virtual void ParentFontChanged();
  virtual void FontChanged();
  bool IsFontStored() const { return !FParentFont; }

  // Called by SetBounds after the position changed, with a window to move.
  virtual void BoundsChanged() {}
  void UpdateAnchorRules();

  // --- message handlers of TControl
  void WMMouse(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void WMCancelMode(TMessage& Message);
  void CMMouseWheel(TMessage& Message);
  void CMHintShow(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMParentFontChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMParentShowHintChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);

  TControlStyle FControlStyle;
  TControlState FControlState;
  TAnchors FAnchors{akLeft, akTop};
  // The distances anchored edges keep from the parent's right and bottom edges.
  TPoint FAnchorOrigin;
  TSize FOriginalParentSize;

private:
  friend class TWinControl;
  void DoMouseDownMessage(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUpMessage(TMessage& Message, TMouseButton Button);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  bool FAutoSize = false;
  bool FVisible = true;
  bool FEnabled = true;
  String FText;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FUpdatingFont = false;
  TCursor FCursor = crDefault;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TPopupMenu* FPopupMenu = nullptr;
  TBasicAction* FAction = nullptr;
  bool FMouseInClient = false;
  int FWheelAccumulator = 0;
  TWndMethod FWindowProc;
  TNotifyEvent FOnClick, FOnDblClick, FOnResize, FOnMouseEnter, FOnMouseLeave;
  TControlCanResizeEvent FOnCanResize;
  TMouseEvent FOnMouseDown, FOnMouseUp;
  TMouseMoveEvent FOnMouseMove;
  TMouseWheelEvent FOnMouseWheel;
  TMouseWheelUpDownEvent FOnMouseWheelDown, FOnMouseWheelUp;
  TContextPopupEvent FOnContextPopup;
};

// --- TWinControl --------------------------------------------------------------------------------

class TWinControl : public TControl {
  VORENTA_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // --- the window
  HWND Handle();
  bool HandleAllocated() const { return FHandleAllocated; }
  void HandleNeeded();
  void RecreateWnd();
  // The platform surface (a QWidget*) or nullptr when headless; for the platform's own code.
  void* Surface() const;

  // --- children (windowed and windowless, in z-order: first is bottom)
  int ControlCount() const { return int(FControls.size()); }
  TControl* Controls(int Index) const { return FControls.at(size_t(Index)); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  // The child (topmost first) under P (client coordinates), or nullptr.
  TControl* ControlAtPos(TPoint P, bool AllowDisabled, bool AllowWinControls = false,
                         bool AllLevels = false) const;
  // Sends the message to every child (stops when one sets Result).
  void Broadcast(TMessage& Message);
  void NotifyControls(unsigned Msg);

  // --- tab order and focus
  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // The windowed children in tab order, recursively.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  // --- look
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TBevelKind BevelKind() const { return FBevelKind; }
  void SetBevelKind(TBevelKind Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  TBevelEdges BevelEdges() const { return FBevelEdges; }
  void SetBevelEdges(TBevelEdges Value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  TBrush* Brush() const { return FBrush.get(); }
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  TImeMode ImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode Value) { FImeMode = Value; }
  const String& ImeName() const { return FImeName; }
  void SetImeName(const String& Value) { FImeName = Value; }

  // The window's style as created (CreateParams); GetWindowLong reads these.
  unsigned WindowStyle() const { return FStyle; }
  unsigned WindowExStyle() const { return FExStyle; }
  unsigned WindowClassStyle() const { return FClassStyle; }

  // --- client area and non-client frame
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  // The frame between the window's edge and its client area, as WM_NCCALCSIZE answered it.
  TRect NonClientInsets() const { return FInsets; }
  // WM_NCCALCSIZE again (after a border change).
  void UpdateNonClient();
  // The window's scroll bars (SB_HORZ/SB_VERT) take this much of the window when shown.
  bool ScrollBarShown(int Bar) const;

  // --- alignment
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void Realign();
  bool Showing() const override;

  // --- painting
  // Paints the control and its children into Canvas at (X, Y), non-client frame included.
  void PaintTo(TCanvas* Canvas, int X, int Y);
  void Update() override;
  // Invalid area bookkeeping (client coordinates); the surface repaints it.
  void InvalidateRect(const TRect* R, bool Erase);
  void ValidateRect(const TRect* R);
  bool HasInvalidRegion() const { return !FInvalid.IsEmpty(); }

  // --- events
  const TKeyEvent& OnKeyDown() const { return FOnKeyDown; }
  void SetOnKeyDown(TKeyEvent Value) { FOnKeyDown = std::move(Value); }
  const TKeyEvent& OnKeyUp() const { return FOnKeyUp; }
  void SetOnKeyUp(TKeyEvent Value) { FOnKeyUp = std::move(Value); }
  const TKeyPressEvent& OnKeyPress() const { return FOnKeyPress; }
  void SetOnKeyPress(TKeyPressEvent Value) { FOnKeyPress = std::move(Value); }
  const TNotifyEvent& OnEnter() const { return FOnEnter; }
  void SetOnEnter(TNotifyEvent Value) { FOnEnter = std::move(Value); }
  const TNotifyEvent& OnExit() const { return FOnExit; }
  void SetOnExit(TNotifyEvent Value) { FOnExit = std::move(Value); }

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void SetParent(TWinControl* AParent) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  String GetText() const override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  // The colour-filled background and the children's painting (WM_PAINT's default).
  void PaintHandler(TMessage& Message);

protected:
  // --- window creation
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  virtual void CreateHandle();
  virtual void DestroyHandle();
  // A top-level window (forms, drop-downs, hint windows) rather than a child of its parent.
  virtual bool IsTopLevel() const;

  // --- keyboard
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(Char& Key);
  // Run KeyPreview and the events; true when the key was swallowed.
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  virtual void DoEnter();
  virtual void DoExit();

  // --- painting
  virtual void PaintWindow(HDC DC);
  void PaintControls(HDC DC, TControl* First);
  // The non-client frame: border, client edge, bevels (WM_NCPAINT's default).
  virtual void PaintNonClient(HDC DC);
  bool HasClientEdge() const;
  bool HasPlainBorder() const;
  // The window's own scroll bars inside the frame rectangle Inner (ScrollBars.cpp).
  void PaintScrollBars(HDC DC, const TRect& Inner);

  // --- alignment
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect);
  void AlignControl(TControl* AControl);

  // --- message handlers of TWinControl
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMSize(TMessage& Message);
  void ReflectToChild(TMessage& Message);
  void CNKeyDown(TMessage& Message);
  void CNKeyUp(TMessage& Message);
  void CNChar(TMessage& Message);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMChildKey(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);
  void CMParentCtl3DChanged(TMessage& Message);
  void CMRecreateWnd(TMessage& Message);
  void CMInvalidate(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMEnabledChangedWin(TMessage& Message);
  void CMMouseWheelWin(TMessage& Message);
  // Mouse messages go to the windowless child under the point (or capturing it).
  bool RouteToGraphicChild(TMessage& Message);

  TRect FInvalid;   // client coordinates; empty when all is valid

private:
  friend class TControl;
  friend struct TWindowInternals;
  void UpdateShowing();
  void SendNonClientCalc();
  void CreateChildHandles();

  std::vector<TControl*> FControls;       // z-order, bottom first
  std::vector<TWinControl*> FTabList;     // tab order
  bool FHandleAllocated = false;
  bool FShowing = false;
  bool FTabStop = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  bool FDoubleBuffered = false;
  TBorderStyle FBorderStyle = bsNone;
  int FBorderWidth = 0;
  TBevelKind FBevelKind = bkNone;
  TBevelCut FBevelInner = bvRaised, FBevelOuter = bvLowered;
  TBevelEdges FBevelEdges{beLeft, beTop, beRight, beBottom};
  int FBevelWidth = 1;
  TImeMode FImeMode = imDontCare;
  String FImeName;
  std::unique_ptr<TBrush> FBrush;
  unsigned FStyle = 0, FExStyle = 0, FClassStyle = 0;
  TRect FInsets;   // Left/Top/Right/Bottom widths of the non-client frame
  int FAlignLevel = 0;
  bool FAligning = false;
  TControl* FCaptureChild = nullptr;   // windowless child holding the press
  TControl* FMouseControl = nullptr;   // windowless child last under the mouse
  struct TSurfaceHolder;
  std::unique_ptr<TSurfaceHolder> FSurface;
  TKeyEvent FOnKeyDown, FOnKeyUp;
  TKeyPressEvent FOnKeyPress;
  TNotifyEvent FOnEnter, FOnExit;
};

// --- TCustomControl and TGraphicControl ---------------------------------------------------------

// A windowed control that paints itself on its Canvas in Paint.
class TCustomControl : public TWinControl {
  VORENTA_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

protected:
  virtual void Paint();
  void PaintWindow(HDC DC) override;
  TControlCanvas* ControlCanvas() override { return FCanvas.get(); }

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// A windowless control painted by its parent, in the parent's client coordinates shifted to
// its own top left corner.
class TGraphicControl : public TControl {
  VORENTA_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

  void Dispatch(TMessage& Message) override;

protected:
  virtual void Paint();
  TControlCanvas* ControlCanvas() override { return FCanvas.get(); }

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// --- TScrollingWinControl -----------------------------------------------------------------------

VORENTA_ENUM(TScrollBarKind, sbHorizontal, sbVertical);

// One of the scrolling control's two bars: the range is the scrolled contents' extent.
class TControlScrollBar : public TPersistent {
  VORENTA_CLASS(TControlScrollBar, TPersistent)
public:
  TControlScrollBar(class TScrollingWinControl* Control, TScrollBarKind Kind);
  TScrollBarKind Kind() const { return FKind; }
  int Range() const { return FRange; }
  void SetRange(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Tracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }
  // Shown when the range exceeds the client extent.
  bool IsScrollBarVisible() const;
  void Update();
  void ScrollMessage(TMessage& Message);

private:
  int ClientExtent() const;
  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  int FRange = 0, FPosition = 0, FIncrement = 8;
  bool FVisible = true, FTracking = false;
};

class TScrollingWinControl : public TWinControl {
  VORENTA_CLASS(TScrollingWinControl, TWinControl)
public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;
  TControlScrollBar* HorzScrollBar() const { return FHorz.get(); }
  TControlScrollBar* VertScrollBar() const { return FVert.get(); }
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value);
  // Scrolls so that AControl is wholly visible.
  void ScrollInView(TControl* AControl);
  // Moves every child by (DeltaX, DeltaY).
  void ScrollBy(int DeltaX, int DeltaY);
  void Dispatch(TMessage& Message) override;

protected:
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void UpdateScrollBars();
  void CalcAutoRange();

private:
  std::unique_ptr<TControlScrollBar> FHorz, FVert;
  bool FAutoScroll = true;
  bool FUpdatingScrollBars = false;
};

// --- mouse --------------------------------------------------------------------------------------

class TMouse {
public:
  TPoint CursorPos() const;
  void SetCursorPos(TPoint Value);
  HWND Capture() const;
  void SetCapture(HWND Value);
  bool DragImmediate() const { return true; }
  int DragThreshold() const { return 5; }
  int WheelScrollLines() const { return 3; }
};
extern TMouse* Mouse;

// The form holding Control, or nullptr.
TCustomForm* GetParentForm(const TControl* Control);
// The control whose window is Wnd (every HWND is one).
inline TWinControl* FindControl(HWND Wnd) { return Wnd; }
// The innermost windowed control at a screen point, or nullptr.
TWinControl* FindVCLWindow(TPoint ScreenPos);
// The current shift state from the key state table (GetKeyState).
TShiftState KeyboardStateToShiftState();
TShiftState KeysToShiftState(unsigned Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
