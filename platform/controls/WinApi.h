// WinApi.h - the window services the Parts call by their Win32 names, over our window model.
//
// The message queue (PostMessage, PeekMessage), window timers, focus, capture, the keyboard
// state table, the clock, system metrics, window placement and carets. All of it lives on the
// user-interface thread. The queue is ours: the platform's event loop only wakes it up, so the
// order of posted messages and timers is the same with and without a window system.
//
// Input from the platform enters through the routines under "input": the window surfaces call
// them, and so do tests, so that a test key press takes exactly the path a real one takes.
#pragma once

#include <functional>

#include "platform/controls/Controls.h"
#include "platform/rtl/DateUtils.h"

// --- sending and posting ------------------------------------------------------------------------

LRESULT SendMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam);
// Queues the message for Wnd; the loop delivers it (Application->ProcessMessages). A message
// to a window freed in the meantime is dropped. Wnd nullptr posts a thread message (WM_QUIT).
bool PostMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam);
void PostQuitMessage(int ExitCode);

struct TMsg {
  HWND hwnd = nullptr;
  unsigned message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  unsigned time = 0;
  TPoint pt;
};
enum : unsigned { PM_NOREMOVE = 0, PM_REMOVE = 1 };
// The first queued message for Wnd (or any window when Wnd is nullptr) with a number in
// [FilterMin, FilterMax] (both 0: any), removed with PM_REMOVE.
bool PeekMessage(TMsg& Msg, HWND Wnd, unsigned FilterMin, unsigned FilterMax, unsigned RemoveMsg);
// Delivers one message taken from the queue to its window (what the loop does).
void DispatchMessage(const TMsg& Msg);
// The time of the message being delivered now (GetTickCount at posting or input).
unsigned GetMessageTime();
// The number of messages queued (for tests).
int QueuedMessageCount();

// --- timers -------------------------------------------------------------------------------------

// Starts or restarts Wnd's timer IDEvent; intervals below 10 ms become 10 ms. WM_TIMER with
// WParam IDEvent is queued when due, at most one pending per timer. Returns IDEvent.
unsigned SetTimer(HWND Wnd, unsigned IDEvent, unsigned Elapse);
bool KillTimer(HWND Wnd, unsigned IDEvent);
// The window system's own timers (the scroll bars' auto-repeat): the same rules, but they
// post WM_SYSTIMER, which the window's default handling answers, and their ids do not
// meet the control's own.
unsigned SetSystemTimer(HWND Wnd, unsigned IDEvent, unsigned Elapse);
bool KillSystemTimer(HWND Wnd, unsigned IDEvent);
// Queues WM_TIMER for every timer due at the present tick; the loop calls it.
void CheckTimers();
// The next due time (a GetTickCount value) or -1 when no timer runs.
long long NextTimerDue();

// --- the clock ----------------------------------------------------------------------------------

// GetTickCount is the run-time library's (DateUtils.h); the test clock replaces it.
// for tests
void UseTestClock(bool Enable);
void AdvanceTestClock(unsigned Milliseconds);

// --- focus, capture, activity -------------------------------------------------------------------

HWND GetFocus();
// Moves the keyboard focus: WM_KILLFOCUS to the old window (WParam the new), then WM_SETFOCUS
// to the new one (WParam the old). Returns the old window.
HWND SetFocus(HWND Wnd);
HWND GetCapture();
HWND SetCapture(HWND Wnd);
bool ReleaseCapture();
HWND GetActiveWindow();
bool IsChild(HWND Parent, HWND Wnd);
bool IsWindowVisible(HWND Wnd);
bool IsWindowEnabled(HWND Wnd);
bool IsWindow(HWND Wnd);

// --- keyboard state -----------------------------------------------------------------------------

// Negative while the key is down; bit 0 is the toggle state.
short GetKeyState(int VirtKey);
short GetAsyncKeyState(int VirtKey);
// for tests and the input routines: marks a key down or up.
void SetKeyState(int VirtKey, bool Down);
void ResetKeyboardState();

// --- input (from the window surfaces, and from tests) -------------------------------------------

// A key press as the system delivers it to the focused window: CN_KEYDOWN (shortcuts,
// KeyPreview, dialog-key negotiation), WM_KEYDOWN, then, when Char is not 0, CN_CHAR and WM_CHAR
// (the character is produced even when KeyDown cleared the key). Alt makes it WM_SYSKEYDOWN.
// Target nullptr: the focused window. Shift sets the key state for the duration.
void SimulateKeyDown(Word Key, TShiftState Shift = {}, Char CharCode = 0, HWND Target = nullptr);
void SimulateKeyUp(Word Key, TShiftState Shift = {}, HWND Target = nullptr);
// Key down, its character (for printable keys and Return, Esc, Tab, Backspace), key up.
void SimulateKeyPress(Word Key, TShiftState Shift = {}, Char CharCode = 0, HWND Target = nullptr);
// WM_CHAR sequences for each character of Text.
void SimulateTyping(const String& Text, HWND Target = nullptr);
// Mouse input at a screen point, routed to the capture window or the window under the point;
// presses within the double-click time and distance of the previous one become double clicks.
void SimulateMouseDown(TMouseButton Button, TPoint ScreenPos, TShiftState Shift = {});
void SimulateMouseUp(TMouseButton Button, TPoint ScreenPos, TShiftState Shift = {});
void SimulateMouseMove(TPoint ScreenPos, TShiftState Shift = {});
void SimulateMouseWheel(int WheelDelta, TPoint ScreenPos, TShiftState Shift = {});
// The pointer left all our windows: the control under it gets CM_MOUSELEAVE, a pending hint
// is dropped (nothing while the mouse is captured).
void SimulateMouseLeave();
// A click on a control at a point in its client coordinates.
void SimulateClick(TControl* Control, TPoint ClientPos, TMouseButton Button = mbLeft);

// --- cursor -------------------------------------------------------------------------------------

bool GetCursorPos(TPoint& P);
bool SetCursorPos(int X, int Y);
// The cursor shown now (set by WM_SETCURSOR handling through Screen or windows).
TCursor GetCurrentCursor();
void SetCurrentCursor(TCursor Cursor);

// --- system metrics and settings ---------------------------------------------------------------

enum : int {
  SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
  SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CYVTHUMB = 9,
  SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14,
  SM_CYMENU = 15, SM_CYVSCROLL = 20, SM_CXHSCROLL = 21, SM_CXFRAME = 32, SM_CYFRAME = 33,
  SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXEDGE = 45, SM_CYEDGE = 46,
  SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CYSMCAPTION = 51, SM_CXDRAG = 68, SM_CYDRAG = 69,
  SM_CMONITORS = 80
};
// Classic values: scroll bars 17, borders 1, edges 2, double click 4 x 4 px.
int GetSystemMetrics(int Index);
unsigned GetDoubleClickTime();   // 500 ms unless set
bool SetDoubleClickTime(unsigned Milliseconds);

enum : unsigned { SPI_GETWORKAREA = 0x0030 };
bool SystemParametersInfo(unsigned Action, unsigned Param, void* Value, unsigned WinIni);

// --- window placement ---------------------------------------------------------------------------

enum : unsigned {
  SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
  SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_SHOWWINDOW = 0x0040,
  SWP_HIDEWINDOW = 0x0080, SWP_NOOWNERZORDER = 0x0200
};
// Z-order places for SetWindowPos's InsertAfter.
extern const HWND HWND_TOP;
extern const HWND HWND_BOTTOM;
extern const HWND HWND_TOPMOST;
extern const HWND HWND_NOTOPMOST;
bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, unsigned Flags);
bool MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool Repaint);
enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
             SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWNA = 8,
             SW_RESTORE = 9 };
bool ShowWindow(HWND Wnd, int CmdShow);
// A child window made top-level (NewParent nullptr) or moved to another parent.
HWND SetParent(HWND Wnd, HWND NewParent);
bool GetWindowRect(HWND Wnd, TRect& R);   // screen coordinates
bool GetClientRect(HWND Wnd, TRect& R);
bool ClientToScreen(HWND Wnd, TPoint& P);
bool ScreenToClient(HWND Wnd, TPoint& P);
enum : int { GWL_STYLE = -16, GWL_EXSTYLE = -20 };
long GetWindowLong(HWND Wnd, int Index);
// The window size that gives a client rect R with the given styles (frame widths added).
bool AdjustWindowRectEx(TRect& R, unsigned Style, bool Menu, unsigned ExStyle);
// The window's outline (nullptr: rectangular); points in window coordinates.
bool SetWindowRgn(HWND Wnd, const std::vector<TPoint>* Polygon, bool Redraw);
// Changes a style word (GWL_STYLE, GWL_EXSTYLE) of the window; returns the previous value.
// Taking WS_EX_LAYERED away drops the window's layered attributes.
long SetWindowLong(HWND Wnd, int Index, long Value);

// --- layered windows ----------------------------------------------------------------------------

enum : unsigned { LWA_COLORKEY = 0x1, LWA_ALPHA = 0x2 };
// The look of a top-level window with WS_EX_LAYERED: with LWA_COLORKEY the pixels of the colour
// Key are cut out of the window's shape (the window shows only the others), with LWA_ALPHA the
// window is drawn at the constant opacity Alpha where the window system composites windows (a
// plain X server shows it opaque). False for a window without WS_EX_LAYERED.
bool SetLayeredWindowAttributes(HWND Wnd, TColorRef Key, Byte Alpha, unsigned Flags);
// The attributes last set; false when the window is not layered or none were set.
bool GetLayeredWindowAttributes(HWND Wnd, TColorRef* Key, Byte* Alpha, unsigned* Flags);

// --- painting -----------------------------------------------------------------------------------

bool InvalidateRect(HWND Wnd, const TRect* R, bool Erase);
bool ValidateRect(HWND Wnd, const TRect* R);
bool UpdateWindow(HWND Wnd);
enum : unsigned { RDW_INVALIDATE = 0x1, RDW_ERASE = 0x4, RDW_ALLCHILDREN = 0x80,
                  RDW_UPDATENOW = 0x100, RDW_FRAME = 0x400 };
bool RedrawWindow(HWND Wnd, const TRect* R, unsigned Flags);

// --- carets -------------------------------------------------------------------------------------

// One caret per thread, owned by a window: hidden until ShowCaret, hide counts nest.
bool CreateCaret(HWND Wnd, int Width, int Height);
bool DestroyCaret();
bool ShowCaret(HWND Wnd);
bool HideCaret(HWND Wnd);
bool SetCaretPos(int X, int Y);
bool GetCaretPos(TPoint& P);
struct TCaretState {
  HWND Owner = nullptr;
  TRect Rect;           // client coordinates of Owner
  int HideCount = 1;    // shown when 0
};
TCaretState GetCaretState();

// --- sounds -------------------------------------------------------------------------------------

bool MessageBeep(unsigned Type);
// for tests: how many beeps since the start.
int MessageBeepCount();
