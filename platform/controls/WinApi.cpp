// WinApi.cpp - the message queue, timers, clock, focus, capture, key state, metrics, carets.
#include "platform/controls/WinApi.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <set>

#include "platform/controls/Controls_p.h"
#include "platform/controls/Forms.h"

namespace {

struct TQueued {
  TMsg Msg;
};

struct TTimerEntry {
  unsigned Interval = 0;
  long long Due = 0;
  bool Pending = false;   // a WM_TIMER is queued and not yet delivered
};

// System timers share the table with the windows' own under keys of their own: the id with
// bit 32 set.
using TTimerKey = std::pair<TWinControl*, std::uint64_t>;
TTimerKey TimerKey(HWND Wnd, unsigned IDEvent, unsigned Message) {
  return {Wnd, (std::uint64_t(Message == WM_SYSTIMER) << 32) | IDEvent};
}

struct TState {
  std::set<TWinControl*> Windows;
  std::deque<TMsg> Queue;
  std::map<TTimerKey, TTimerEntry> Timers;
  HWND Focus = nullptr;
  TControl* Capture = nullptr;
  short Keys[256] = {};
  bool TestClock = false;
  unsigned TestTicks = 1000;
  unsigned DoubleClickTime = 500;
  unsigned MessageTime = 0;
  TPoint CursorPos;
  TCursor Cursor = crDefault;
  TCaretState Caret;
  int Beeps = 0;
};

TState& S() {
  static TState State;
  return State;
}

}  // namespace

// --- the registry --------------------------------------------------------------------------------

void RegisterWindow(TWinControl* Wnd) { S().Windows.insert(Wnd); }

void UnregisterWindow(TWinControl* Wnd) {
  auto& St = S();
  St.Windows.erase(Wnd);
  std::erase_if(St.Queue, [Wnd](const TMsg& M) { return M.hwnd == Wnd; });
  std::erase_if(St.Timers, [Wnd](const auto& T) { return T.first.first == Wnd; });
  if (St.Focus == Wnd) St.Focus = nullptr;
  if (St.Capture == Wnd ||
      (St.Capture && St.Capture->Parent() == Wnd && !dynamic_cast<TWinControl*>(St.Capture)))
    St.Capture = nullptr;
  if (St.Caret.Owner == Wnd) St.Caret = {};
  ForgetScrollBars(Wnd);
  ForgetLayeredAttributes(Wnd);
}

TControl* CaptureControl() { return S().Capture; }
void SetCaptureControl(TControl* Control) { S().Capture = Control; }

bool IsWindow(HWND Wnd) { return Wnd && S().Windows.count(Wnd) != 0; }

// --- sending and posting -------------------------------------------------------------------------

LRESULT SendMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam) {
  if (!Wnd) return 0;
  return Wnd->Perform(Msg, WParam, LParam);
}

bool PostMessage(HWND Wnd, unsigned Msg, WPARAM WParam, LPARAM LParam) {
  if (Wnd && !IsWindow(Wnd)) return false;
  TMsg M;
  M.hwnd = Wnd;
  M.message = Msg;
  M.wParam = WParam;
  M.lParam = LParam;
  M.time = GetTickCount();
  M.pt = S().CursorPos;
  S().Queue.push_back(M);
  WakeMessageLoop();
  return true;
}

void PostQuitMessage(int ExitCode) { PostMessage(nullptr, WM_QUIT, WPARAM(ExitCode), 0); }

bool PeekMessage(TMsg& Msg, HWND Wnd, unsigned FilterMin, unsigned FilterMax, unsigned RemoveMsg) {
  auto& Q = S().Queue;
  const bool AnyNumber = FilterMin == 0 && FilterMax == 0;
  for (auto It = Q.begin(); It != Q.end(); ++It) {
    if (Wnd && It->hwnd != Wnd) continue;
    if (!AnyNumber && (It->message < FilterMin || It->message > FilterMax)) continue;
    Msg = *It;
    if (RemoveMsg & PM_REMOVE) {
      if (It->message == WM_TIMER || It->message == WM_SYSTIMER) {
        auto T = S().Timers.find(TimerKey(It->hwnd, unsigned(It->wParam), It->message));
        if (T != S().Timers.end()) T->second.Pending = false;
      }
      Q.erase(It);
    }
    return true;
  }
  return false;
}

void DispatchMessage(const TMsg& Msg) {
  if (!Msg.hwnd || !IsWindow(Msg.hwnd)) return;
  const unsigned Saved = S().MessageTime;
  S().MessageTime = Msg.time;
  Msg.hwnd->Perform(Msg.message, Msg.wParam, Msg.lParam);
  S().MessageTime = Saved;
}

unsigned GetMessageTime() { return S().MessageTime ? S().MessageTime : GetTickCount(); }
int QueuedMessageCount() { return int(S().Queue.size()); }

// --- timers --------------------------------------------------------------------------------------

namespace {
unsigned StartTimer(HWND Wnd, unsigned IDEvent, unsigned Elapse, unsigned Message) {
  if (!IsWindow(Wnd)) return 0;
  auto& T = S().Timers[TimerKey(Wnd, IDEvent, Message)];
  T.Interval = std::max(10u, Elapse);
  T.Due = (long long)GetTickCount() + T.Interval;
  WakeMessageLoop();
  return IDEvent;
}

bool StopTimer(HWND Wnd, unsigned IDEvent, unsigned Message) {
  auto& St = S();
  if (St.Timers.erase(TimerKey(Wnd, IDEvent, Message)) == 0) return false;
  std::erase_if(St.Queue, [&](const TMsg& M) {
    return M.hwnd == Wnd && M.message == Message && M.wParam == IDEvent;
  });
  return true;
}
}  // namespace

unsigned SetTimer(HWND Wnd, unsigned IDEvent, unsigned Elapse) {
  return StartTimer(Wnd, IDEvent, Elapse, WM_TIMER);
}
bool KillTimer(HWND Wnd, unsigned IDEvent) { return StopTimer(Wnd, IDEvent, WM_TIMER); }
unsigned SetSystemTimer(HWND Wnd, unsigned IDEvent, unsigned Elapse) {
  return StartTimer(Wnd, IDEvent, Elapse, WM_SYSTIMER);
}
bool KillSystemTimer(HWND Wnd, unsigned IDEvent) { return StopTimer(Wnd, IDEvent, WM_SYSTIMER); }

void CheckTimers() {
  const long long Now = GetTickCount();
  for (auto& [Key, T] : S().Timers) {
    if (T.Pending || Now < T.Due) continue;
    T.Pending = true;
    // The next period counts from now: a late timer does not fire in bursts.
    T.Due = Now + T.Interval;
    PostMessage(Key.first, Key.second >> 32 ? WM_SYSTIMER : WM_TIMER, unsigned(Key.second), 0);
  }
}

long long NextTimerDue() {
  long long Next = -1;
  for (auto& [Key, T] : S().Timers)
    if (!T.Pending && (Next < 0 || T.Due < Next)) Next = T.Due;
  return Next;
}

// --- clock ---------------------------------------------------------------------------------------

void UseTestClock(bool Enable) {
  S().TestClock = Enable;
  if (Enable) SetTickCountForTests([] { return Cardinal(S().TestTicks); });
  else SetTickCountForTests(nullptr);
}
void AdvanceTestClock(unsigned Milliseconds) { S().TestTicks += Milliseconds; }

// --- focus and capture ---------------------------------------------------------------------------

HWND GetFocus() { return S().Focus; }

HWND SetFocus(HWND Wnd) {
  auto& St = S();
  HWND Old = St.Focus;
  if (Wnd == Old) return Old;
  if (Wnd && !IsWindow(Wnd)) return nullptr;
  St.Focus = Wnd;
  if (Old && IsWindow(Old)) SendMessage(Old, WM_KILLFOCUS, WPARAM(Wnd), 0);
  // A WM_KILLFOCUS handler may have moved the focus elsewhere already.
  if (Wnd && St.Focus == Wnd) {
    if (auto* Surface = TWindowInternals::Surface(Wnd)) Surface->TakeFocus();
    SendMessage(Wnd, WM_SETFOCUS, WPARAM(Old), 0);
  }
  return Old;
}

HWND GetCapture() {
  TControl* C = S().Capture;
  if (!C) return nullptr;
  if (auto* W = dynamic_cast<TWinControl*>(C)) return W;
  return C->Parent();
}

HWND SetCapture(HWND Wnd) {
  HWND Old = GetCapture();
  TControl* OldControl = S().Capture;
  S().Capture = Wnd;
  if (OldControl && OldControl != Wnd) OldControl->Perform(WM_CANCELMODE, 0, 0);
  return Old;
}

bool ReleaseCapture() {
  S().Capture = nullptr;
  return true;
}

HWND GetActiveWindow() { return Screen ? Screen->ActiveForm() : nullptr; }

bool IsChild(HWND Parent, HWND Wnd) {
  if (!Parent || !Wnd) return false;
  for (TWinControl* P = Wnd->Parent(); P; P = P->Parent())
    if (P == Parent) return true;
  return false;
}

bool IsWindowVisible(HWND Wnd) { return IsWindow(Wnd) && Wnd->Showing(); }
bool IsWindowEnabled(HWND Wnd) { return IsWindow(Wnd) && Wnd->Enabled(); }

// --- keyboard state ------------------------------------------------------------------------------

short GetKeyState(int VirtKey) { return S().Keys[VirtKey & 0xFF]; }
short GetAsyncKeyState(int VirtKey) { return GetKeyState(VirtKey); }

void SetKeyState(int VirtKey, bool Down) {
  short& K = S().Keys[VirtKey & 0xFF];
  if (Down) {
    if (K >= 0) K ^= 1;   // toggles on each press
    K = short(K | short(0x8000));
  } else {
    K = short(K & 1);
  }
}

void ResetKeyboardState() {
  for (short& K : S().Keys) K = 0;
}

// --- cursor --------------------------------------------------------------------------------------

bool GetCursorPos(TPoint& P) {
  P = S().CursorPos;
  return true;
}

bool SetCursorPos(int X, int Y) {
  S().CursorPos = {X, Y};
  return true;
}

TCursor GetCurrentCursor() { return S().Cursor; }
void SetCurrentCursor(TCursor Cursor) { S().Cursor = Cursor; }

// --- metrics -------------------------------------------------------------------------------------

int GetSystemMetrics(int Index) {
  switch (Index) {
    case SM_CXSCREEN: return Screen ? Screen->Width() : 1024;
    case SM_CYSCREEN: return Screen ? Screen->Height() : 768;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CYSMCAPTION: return 15;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CMONITORS: return Screen ? Screen->MonitorCount() : 1;
    default: return 0;
  }
}

unsigned GetDoubleClickTime() { return S().DoubleClickTime; }

bool SetDoubleClickTime(unsigned Milliseconds) {
  S().DoubleClickTime = Milliseconds ? Milliseconds : 500;
  return true;
}

bool SystemParametersInfo(unsigned Action, unsigned, void* Value, unsigned) {
  if (Action != SPI_GETWORKAREA || !Value) return false;
  InitControls();
  *static_cast<TRect*>(Value) = Screen->WorkAreaRect();
  return true;
}

// --- carets --------------------------------------------------------------------------------------

namespace {
void InvalidateCaret() {
  auto& C = S().Caret;
  if (C.Owner && IsWindow(C.Owner)) C.Owner->InvalidateRect(&C.Rect, false);
}
}  // namespace

bool CreateCaret(HWND Wnd, int Width, int Height) {
  if (!IsWindow(Wnd)) return false;
  InvalidateCaret();
  S().Caret = {Wnd, Bounds(0, 0, std::max(1, Width), Height), 1};
  return true;
}

bool DestroyCaret() {
  InvalidateCaret();
  S().Caret = {};
  return true;
}

bool ShowCaret(HWND Wnd) {
  auto& C = S().Caret;
  if (!C.Owner || (Wnd && Wnd != C.Owner) || C.HideCount == 0) return false;
  if (--C.HideCount == 0) InvalidateCaret();
  return true;
}

bool HideCaret(HWND Wnd) {
  auto& C = S().Caret;
  if (!C.Owner || (Wnd && Wnd != C.Owner)) return false;
  if (C.HideCount++ == 0) InvalidateCaret();
  return true;
}

bool SetCaretPos(int X, int Y) {
  auto& C = S().Caret;
  if (!C.Owner) return false;
  InvalidateCaret();
  OffsetRect(C.Rect, X - C.Rect.Left, Y - C.Rect.Top);
  InvalidateCaret();
  return true;
}

bool GetCaretPos(TPoint& P) {
  P = S().Caret.Rect.TopLeft();
  return S().Caret.Owner != nullptr;
}

TCaretState GetCaretState() { return S().Caret; }

bool MessageBeep(unsigned) {
  ++S().Beeps;
  return true;
}

int MessageBeepCount() { return S().Beeps; }

// --- internal access for the input routines -----------------------------------------------------

void SetMessageTimeForInput(unsigned Time) { S().MessageTime = Time; }
