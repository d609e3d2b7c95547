// WinApiWindows.cpp - window placement, showing, rectangles, styles, regions and invalidation
// over the control model.
#include "platform/controls/WinApi.h"

#include <map>

#include "platform/controls/Controls_p.h"
#include "platform/controls/DropDownWindow.h"
#include "platform/controls/Forms.h"

const HWND HWND_TOP = nullptr;
const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);

bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, unsigned Flags) {
  if (!Wnd) return false;
  Wnd->HandleNeeded();
  int L = Wnd->Left(), T = Wnd->Top(), W = Wnd->Width(), H = Wnd->Height();
  if (!(Flags & SWP_NOMOVE)) {
    L = X;
    T = Y;
  }
  if (!(Flags & SWP_NOSIZE)) {
    W = CX;
    H = CY;
  }
  Wnd->SetBounds(L, T, W, H);
  if (!(Flags & SWP_NOZORDER)) {
    if (InsertAfter == HWND_BOTTOM) Wnd->SendToBack();
    else Wnd->BringToFront();
  }
  if (Flags & SWP_SHOWWINDOW) Wnd->SetVisible(true);
  if (Flags & SWP_HIDEWINDOW) Wnd->SetVisible(false);
  if (Flags & SWP_FRAMECHANGED) Wnd->UpdateNonClient();
  return true;
}

bool MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, bool Repaint) {
  if (!Wnd) return false;
  Wnd->SetBounds(X, Y, Width, Height);
  if (Repaint) Wnd->Invalidate();
  return true;
}

bool ShowWindow(HWND Wnd, int CmdShow) {
  if (!Wnd) return false;
  const bool Was = Wnd->Visible();
  Wnd->SetVisible(CmdShow != SW_HIDE);
  return Was;
}

HWND SetParent(HWND Wnd, HWND NewParent) {
  if (!Wnd) return nullptr;
  HWND Old = Wnd->Parent();
  Wnd->SetParent(NewParent);
  return Old;
}

bool GetWindowRect(HWND Wnd, TRect& R) {
  if (!Wnd) return false;
  const TPoint O = Wnd->ClientOrigin();
  const TRect In = Wnd->NonClientInsets();
  R = Bounds(O.X - In.Left, O.Y - In.Top, Wnd->Width(), Wnd->Height());
  return true;
}

bool GetClientRect(HWND Wnd, TRect& R) {
  if (!Wnd) return false;
  R = Wnd->ClientRect();
  return true;
}

bool ClientToScreen(HWND Wnd, TPoint& P) {
  if (!Wnd) return false;
  P = Wnd->ClientToScreen(P);
  return true;
}

bool ScreenToClient(HWND Wnd, TPoint& P) {
  if (!Wnd) return false;
  P = Wnd->ScreenToClient(P);
  return true;
}

long GetWindowLong(HWND Wnd, int Index) {
  if (!Wnd) return 0;
  Wnd->HandleNeeded();
  if (Index == GWL_STYLE) {
    unsigned Style = Wnd->WindowStyle();
    if (Wnd->Visible()) Style |= WS_VISIBLE;
    return long(Style);
  }
  if (Index == GWL_EXSTYLE) return long(Wnd->WindowExStyle());
  return 0;
}

long SetWindowLong(HWND Wnd, int Index, long Value) {
  if (!Wnd) return 0;
  const long Old = GetWindowLong(Wnd, Index);
  if (Index == GWL_STYLE) {
    TWindowInternals::Style(Wnd) = unsigned(Value) & ~unsigned(WS_VISIBLE);
    Wnd->SetVisible((unsigned(Value) & WS_VISIBLE) != 0);
  } else if (Index == GWL_EXSTYLE) {
    TWindowInternals::ExStyle(Wnd) = unsigned(Value);
    if (!(unsigned(Value) & WS_EX_LAYERED)) ForgetLayeredAttributes(Wnd);
  }
  return Old;
}

// --- layered windows -----------------------------------------------------------------------------

namespace {

struct TLayered {
  TColorRef Key = 0;
  Byte Alpha = 255;
  unsigned Flags = 0;
};

std::map<const TWinControl*, TLayered>& LayeredWindows() {
  static std::map<const TWinControl*, TLayered> Map;
  return Map;
}

}  // namespace

void ForgetLayeredAttributes(TWinControl* Wnd) {
  if (LayeredWindows().erase(Wnd) == 0) return;
  if (auto* S = TWindowInternals::Surface(Wnd)) S->SetLayered(false, std::nullopt, 255);
}

bool SetLayeredWindowAttributes(HWND Wnd, TColorRef Key, Byte Alpha, unsigned Flags) {
  if (!Wnd) return false;
  Wnd->HandleNeeded();
  if (!(Wnd->WindowExStyle() & WS_EX_LAYERED)) return false;
  LayeredWindows()[Wnd] = {Key, Alpha, Flags};
  if (auto* S = TWindowInternals::Surface(Wnd)) {
    std::optional<TColorRef> UsedKey;
    if (Flags & LWA_COLORKEY) UsedKey = Key;
    S->SetLayered(true, UsedKey, (Flags & LWA_ALPHA) ? Alpha : 255);
  }
  return true;
}

bool GetLayeredWindowAttributes(HWND Wnd, TColorRef* Key, Byte* Alpha, unsigned* Flags) {
  if (!Wnd || !(Wnd->WindowExStyle() & WS_EX_LAYERED)) return false;
  const auto It = LayeredWindows().find(Wnd);
  if (It == LayeredWindows().end()) return false;
  if (Key) *Key = It->second.Key;
  if (Alpha) *Alpha = It->second.Alpha;
  if (Flags) *Flags = It->second.Flags;
  return true;
}

bool AdjustWindowRectEx(TRect& R, unsigned Style, bool Menu, unsigned ExStyle) {
  int Edge = 0;
  if (ExStyle & WS_EX_CLIENTEDGE) Edge += 2;
  if ((Style & WS_THICKFRAME)) Edge += GetSystemMetrics(SM_CXFRAME);
  else if ((Style & WS_BORDER) || (ExStyle & WS_EX_DLGMODALFRAME)) Edge += 1;
  InflateRect(R, Edge, Edge);
  if ((Style & WS_CAPTION) == WS_CAPTION)
    R.Top -= (ExStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
  if (Menu) R.Top -= GetSystemMetrics(SM_CYMENU);
  return true;
}

bool SetWindowRgn(HWND Wnd, const std::vector<TPoint>* Polygon, bool Redraw) {
  if (!Wnd) return false;
  Wnd->HandleNeeded();
  if (auto* S = TWindowInternals::Surface(Wnd)) S->SetOutline(Polygon);
  if (Redraw) Wnd->Invalidate();
  return true;
}

bool InvalidateRect(HWND Wnd, const TRect* R, bool Erase) {
  if (!Wnd) return false;
  Wnd->InvalidateRect(R, Erase);
  return true;
}

bool ValidateRect(HWND Wnd, const TRect* R) {
  if (!Wnd) return false;
  Wnd->ValidateRect(R);
  return true;
}

bool UpdateWindow(HWND Wnd) {
  if (!Wnd) return false;
  Wnd->Update();
  return true;
}

bool RedrawWindow(HWND Wnd, const TRect* R, unsigned Flags) {
  if (!Wnd) return false;
  if (Flags & RDW_FRAME) Wnd->UpdateNonClient();
  if (Flags & RDW_INVALIDATE) Wnd->InvalidateRect(R, Flags & RDW_ERASE);
  if (Flags & RDW_UPDATENOW) Wnd->Update();
  return true;
}

namespace {
TWinControl* DeepestAt(TWinControl* W, TPoint ScreenPos) {
  const TPoint P = W->ScreenToClient(ScreenPos);
  for (int I = W->ControlCount() - 1; I >= 0; --I) {
    auto* C = dynamic_cast<TWinControl*>(W->Controls(I));
    if (!C || !C->Visible() || !C->BoundsRect().Contains(P)) continue;
    return DeepestAt(C, ScreenPos);
  }
  return W;
}
}  // namespace

TWinControl* FindVCLWindow(TPoint ScreenPos) {
  // Open drop-downs are topmost.
  if (TWinControl* DropDown = FindDropDownAt(ScreenPos)) return DeepestAt(DropDown, ScreenPos);
  if (!Screen) return nullptr;
  // The forms in z-order: the active one first, then the others as listed.
  std::vector<TCustomForm*> Forms;
  if (Screen->ActiveForm()) Forms.push_back(Screen->ActiveForm());
  for (int I = Screen->FormCount() - 1; I >= 0; --I)
    if (Screen->Forms(I) != Screen->ActiveForm()) Forms.push_back(Screen->Forms(I));
  for (TCustomForm* F : Forms) {
    if (!F->Showing()) continue;
    TRect R;
    GetWindowRect(F, R);
    if (R.Contains(ScreenPos)) return DeepestAt(F, ScreenPos);
  }
  return nullptr;
}
