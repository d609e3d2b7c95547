// ScrollBars.cpp - the window scroll bars: state, the Win32 rules, painting, mouse, and
// ScrollWindowEx.
#include "platform/controls/ScrollBars.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/controls/Controls_p.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"

namespace {

struct TBar {
  TScrollBarState State;
  int DragOffset = 0;    // where in the thumb the press landed
};

std::map<std::pair<TWinControl*, int>, TBar>& Bars() {
  static std::map<std::pair<TWinControl*, int>, TBar> Map;
  return Map;
}

TBar& BarOf(HWND Wnd, int Bar) { return Bars()[{Wnd, Bar}]; }

// The arrow or page area held down, repeated by a system timer: at most one (one mouse).
struct THeld {
  HWND Wnd = nullptr;
  int Bar = SB_VERT;
  unsigned Code = 0;   // SB_LINEUP, SB_LINEDOWN, SB_PAGEUP or SB_PAGEDOWN
};
THeld& Held() {
  static THeld H;
  return H;
}

unsigned StyleBit(int Bar) { return Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

// The largest position the page allows.
int MaxPos(const SCROLLINFO& I) {
  return std::max(I.nMin, I.nMax - std::max(int(I.nPage) - 1, 0));
}

bool Needed(const SCROLLINFO& I) {
  if (I.nMax <= I.nMin) return false;
  return I.nPage == 0 || (long long)I.nMax - I.nMin + 1 > (long long)I.nPage;
}

void SetShown(HWND Wnd, int Bar, bool Show) {
  TBar& B = BarOf(Wnd, Bar);
  B.State.Visible = Show;
  if (Bar == SB_CTL) return;
  unsigned& Style = TWindowInternals::Style(Wnd);
  const unsigned Old = Style;
  Style = Show ? (Style | StyleBit(Bar)) : (Style & ~StyleBit(Bar));
  if (Style != Old) Wnd->UpdateNonClient();
}

void Repaint(HWND Wnd) { Wnd->InvalidateRect(nullptr, false); }

}  // namespace

void ForgetScrollBars(TWinControl* Wnd) {
  std::erase_if(Bars(), [Wnd](const auto& E) { return E.first.first == Wnd; });
  if (Held().Wnd == Wnd) Held() = {};
}

int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO& Info, bool Redraw) {
  if (!Wnd) return 0;
  TBar& B = BarOf(Wnd, Bar);
  SCROLLINFO& I = B.State.Info;
  if (Info.fMask & SIF_RANGE) {
    I.nMin = Info.nMin;
    I.nMax = Info.nMax;
  }
  if (Info.fMask & SIF_PAGE) I.nPage = Info.nPage;
  if (Info.fMask & SIF_POS) I.nPos = Info.nPos;
  // The page is at most the range's size; the position stays where the page fits.
  const long long Size = std::max<long long>(0, (long long)I.nMax - I.nMin + 1);
  if ((long long)I.nPage > Size) I.nPage = unsigned(Size);
  I.nPos = std::clamp(I.nPos, I.nMin, MaxPos(I));
  if (!B.State.Tracking) I.nTrackPos = I.nPos;
  if (Info.fMask & (SIF_RANGE | SIF_PAGE)) {
    if (Needed(I)) {
      B.State.Disabled = ESB_ENABLE_BOTH;
      SetShown(Wnd, Bar, true);
    } else if (Info.fMask & SIF_DISABLENOSCROLL) {
      B.State.Disabled = ESB_DISABLE_BOTH;
      SetShown(Wnd, Bar, true);
    } else {
      SetShown(Wnd, Bar, false);
    }
  }
  if (Redraw) Repaint(Wnd);
  return I.nPos;
}

bool GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO& Info) {
  if (!Wnd) return false;
  auto It = Bars().find({Wnd, Bar});
  if (It == Bars().end() && Bar != SB_CTL && !(Wnd->WindowStyle() & StyleBit(Bar))) return false;
  const SCROLLINFO I = It == Bars().end() ? SCROLLINFO{} : It->second.State.Info;
  if (Info.fMask & SIF_RANGE) {
    Info.nMin = I.nMin;
    Info.nMax = I.nMax;
  }
  if (Info.fMask & SIF_PAGE) Info.nPage = I.nPage;
  if (Info.fMask & SIF_POS) Info.nPos = I.nPos;
  if (Info.fMask & SIF_TRACKPOS) Info.nTrackPos = I.nTrackPos;
  return true;
}

int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw) {
  if (!Wnd) return 0;
  const int Old = BarOf(Wnd, Bar).State.Info.nPos;
  SCROLLINFO I;
  I.fMask = SIF_POS;
  I.nPos = Pos;
  SetScrollInfo(Wnd, Bar, I, Redraw);
  return Old;
}

int GetScrollPos(HWND Wnd, int Bar) {
  SCROLLINFO I;
  I.fMask = SIF_POS;
  return GetScrollInfo(Wnd, Bar, I) ? I.nPos : 0;
}

bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw) {
  if (!Wnd) return false;
  SCROLLINFO I;
  I.fMask = SIF_RANGE;
  I.nMin = Min;
  I.nMax = Max;
  SetScrollInfo(Wnd, Bar, I, Redraw);
  // Unlike SetScrollInfo, an empty range hides the bar whatever the page says.
  if (Min == Max) SetShown(Wnd, Bar, false);
  return true;
}

bool GetScrollRange(HWND Wnd, int Bar, int& Min, int& Max) {
  SCROLLINFO I;
  I.fMask = SIF_RANGE;
  if (!GetScrollInfo(Wnd, Bar, I)) return false;
  Min = I.nMin;
  Max = I.nMax;
  return true;
}

bool EnableScrollBar(HWND Wnd, unsigned Bar, unsigned Arrows) {
  if (!Wnd) return false;
  bool Changed = false;
  for (int B : {SB_HORZ, SB_VERT, SB_CTL}) {
    const bool Selected = Bar == SB_BOTH ? (B != SB_CTL) : int(Bar) == B;
    if (!Selected) continue;
    unsigned& D = BarOf(Wnd, B).State.Disabled;
    if (D != Arrows) {
      D = Arrows;
      Changed = true;
    }
  }
  if (Changed) Repaint(Wnd);
  return Changed;
}

bool ShowScrollBar(HWND Wnd, int Bar, bool Show) {
  if (!Wnd) return false;
  if (Bar == SB_BOTH) {
    SetShown(Wnd, SB_HORZ, Show);
    SetShown(Wnd, SB_VERT, Show);
  } else {
    SetShown(Wnd, Bar, Show);
  }
  return true;
}

std::optional<int> ScrollCodePos(unsigned Code, int Pos, int Line, int Page, int Thumb, int First,
                                 int Last) {
  switch (Code) {
    case SB_LINEUP: return Pos - Line;
    case SB_LINEDOWN: return Pos + Line;
    case SB_PAGEUP: return Pos - Page;
    case SB_PAGEDOWN: return Pos + Page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return Thumb;
    case SB_TOP: return First;
    case SB_BOTTOM: return Last;
    default: return std::nullopt;
  }
}

TScrollBarState GetScrollBarState(HWND Wnd, int Bar) {
  auto It = Bars().find({Wnd, Bar});
  return It == Bars().end() ? TScrollBarState{} : It->second.State;
}

// --- tracking ------------------------------------------------------------------------------------

namespace {
void SendScroll(HWND Wnd, int Bar, unsigned Code, int Pos) {
  Wnd->Perform(Bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(int(Code), Pos), 0);
}
}  // namespace

void ScrollBarTrack(HWND Wnd, int Bar, int Pos) {
  TBar& B = BarOf(Wnd, Bar);
  SCROLLINFO& I = B.State.Info;
  B.State.Tracking = true;
  I.nTrackPos = std::clamp(Pos, I.nMin, MaxPos(I));
  SendScroll(Wnd, Bar, SB_THUMBTRACK, I.nTrackPos);
  Repaint(Wnd);
}

void ScrollBarEndTrack(HWND Wnd, int Bar) {
  TBar& B = BarOf(Wnd, Bar);
  if (!B.State.Tracking) return;
  const int Pos = B.State.Info.nTrackPos;
  SendScroll(Wnd, Bar, SB_THUMBPOSITION, Pos);
  B.State.Tracking = false;
  B.State.Info.nTrackPos = B.State.Info.nPos;
  SendScroll(Wnd, Bar, SB_ENDSCROLL, 0);
  Repaint(Wnd);
}

// --- geometry, painting and the mouse ------------------------------------------------------------

namespace {

struct TBarGeometry {
  TRect Whole, Arrow1, Arrow2, Track, Thumb;
};

// The bar's rectangles in window coordinates; Inner is the window inside its border.
TBarGeometry Geometry(HWND Wnd, int Bar, const TRect& Inner) {
  TBarGeometry G;
  const int CX = GetSystemMetrics(SM_CXVSCROLL), CY = GetSystemMetrics(SM_CYHSCROLL);
  const bool Both = (Wnd->WindowStyle() & WS_HSCROLL) && (Wnd->WindowStyle() & WS_VSCROLL);
  const bool Vert = Bar == SB_VERT;
  if (Vert) G.Whole = {Inner.Right - CX, Inner.Top, Inner.Right, Inner.Bottom - (Both ? CY : 0)};
  else G.Whole = {Inner.Left, Inner.Bottom - CY, Inner.Right - (Both ? CX : 0), Inner.Bottom};
  const int Length = Vert ? G.Whole.Height() : G.Whole.Width();
  const int Arrow = std::min(Vert ? CX : CY, Length / 2);
  G.Arrow1 = G.Arrow2 = G.Track = G.Whole;
  if (Vert) {
    G.Arrow1.Bottom = G.Whole.Top + Arrow;
    G.Arrow2.Top = G.Whole.Bottom - Arrow;
    G.Track = {G.Whole.Left, G.Arrow1.Bottom, G.Whole.Right, G.Arrow2.Top};
  } else {
    G.Arrow1.Right = G.Whole.Left + Arrow;
    G.Arrow2.Left = G.Whole.Right - Arrow;
    G.Track = {G.Arrow1.Right, G.Whole.Top, G.Arrow2.Left, G.Whole.Bottom};
  }
  const TScrollBarState S = GetScrollBarState(Wnd, Bar);
  const SCROLLINFO& I = S.Info;
  const int TrackLen = Vert ? G.Track.Height() : G.Track.Width();
  const long long Range = (long long)I.nMax - I.nMin + 1;
  if (Range <= 0 || S.Disabled == ESB_DISABLE_BOTH || TrackLen < 8) return G;
  int ThumbLen = I.nPage ? int(TrackLen * (long long)I.nPage / Range) : Arrow;
  ThumbLen = std::clamp(ThumbLen, 8, TrackLen);
  const int Span = MaxPos(I) - I.nMin;
  const int Pos = (S.Tracking ? I.nTrackPos : I.nPos) - I.nMin;
  const int Offset = Span > 0 ? int((long long)(TrackLen - ThumbLen) * Pos / Span) : 0;
  G.Thumb = G.Track;
  if (Vert) {
    G.Thumb.Top = G.Track.Top + Offset;
    G.Thumb.Bottom = G.Thumb.Top + ThumbLen;
  } else {
    G.Thumb.Left = G.Track.Left + Offset;
    G.Thumb.Right = G.Thumb.Left + ThumbLen;
  }
  return G;
}

TRect InnerRect(HWND Wnd) {
  const TRect In = Wnd->NonClientInsets();
  TRect R = Rect(0, 0, Wnd->Width(), Wnd->Height());
  const int CX = (Wnd->WindowStyle() & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  const int CY = (Wnd->WindowStyle() & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
  return {R.Left + In.Left, R.Top + In.Top, R.Right - In.Right + CX, R.Bottom - In.Bottom + CY};
}

void PaintBar(TCanvas* DC, HWND Wnd, int Bar, const TRect& Inner) {
  const TBarGeometry G = Geometry(Wnd, Bar, Inner);
  const TScrollBarState S = GetScrollBarState(Wnd, Bar);
  DC->Brush()->SetColor(clScrollBar);
  DC->FillRect(G.Track);
  const bool Vert = Bar == SB_VERT;
  const unsigned Off1 = (S.Disabled & ESB_DISABLE_LTUP) ? unsigned(DFCS_INACTIVE) : 0u;
  const unsigned Off2 = (S.Disabled & ESB_DISABLE_RTDN) ? unsigned(DFCS_INACTIVE) : 0u;
  TRect A1 = G.Arrow1, A2 = G.Arrow2;
  DrawFrameControl(DC, A1, DFC_SCROLL, (Vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | Off1);
  DrawFrameControl(DC, A2, DFC_SCROLL, (Vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | Off2);
  if (!G.Thumb.IsEmpty()) {
    TRect T = G.Thumb;
    DrawEdge(DC, T, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  }
}

}  // namespace

void TWinControl::PaintScrollBars(HDC DC, const TRect& Inner) {
  if (WindowStyle() & WS_VSCROLL) PaintBar(DC, this, SB_VERT, Inner);
  if (WindowStyle() & WS_HSCROLL) PaintBar(DC, this, SB_HORZ, Inner);
}

namespace {

// The system's timings: the first repeat after 200 ms, then one every 50 ms.
constexpr unsigned kRepeatTimer = 0xFFFA;
constexpr unsigned kFirstDelay = 200;
constexpr unsigned kRepeatDelay = 50;

// Whether P (window coordinates) is on the part the held press began on: its arrow, or the
// track on the same side of the thumb (so a page repeat stops once the thumb reaches it).
bool OnHeldPart(const THeld& H, TPoint P) {
  const TBarGeometry G = Geometry(H.Wnd, H.Bar, InnerRect(H.Wnd));
  const bool Vert = H.Bar == SB_VERT;
  switch (H.Code) {
    case SB_LINEUP: return G.Arrow1.Contains(P);
    case SB_LINEDOWN: return G.Arrow2.Contains(P);
    case SB_PAGEUP: return G.Track.Contains(P) && (Vert ? P.Y < G.Thumb.Top : P.X < G.Thumb.Left);
    default:
      return G.Track.Contains(P) && (Vert ? P.Y >= G.Thumb.Bottom : P.X >= G.Thumb.Right);
  }
}

void StartRepeat(HWND Wnd, int Bar, unsigned Code) {
  Held() = {Wnd, Bar, Code};
  SetCapture(Wnd);
  SetSystemTimer(Wnd, kRepeatTimer, kFirstDelay);
}

// Ends the held press: the timer stops and the window gets SB_ENDSCROLL.
void EndRepeat() {
  const THeld H = std::exchange(Held(), THeld{});
  if (!H.Wnd) return;
  KillSystemTimer(H.Wnd, kRepeatTimer);
  SendScroll(H.Wnd, H.Bar, SB_ENDSCROLL, 0);
}

}  // namespace

void ScrollBarSystemTimer(TWinControl* Wnd, unsigned IDEvent) {
  if (IDEvent != kRepeatTimer) return;
  const THeld H = Held();
  if (H.Wnd != Wnd) {
    KillSystemTimer(Wnd, kRepeatTimer);
    return;
  }
  if (GetCapture() != Wnd) {   // the mouse went elsewhere without a release reaching us
    EndRepeat();
    return;
  }
  SetSystemTimer(Wnd, kRepeatTimer, kRepeatDelay);
  TPoint Cursor;
  GetCursorPos(Cursor);
  if (OnHeldPart(H, WindowPoint(Wnd, Cursor))) SendScroll(Wnd, H.Bar, H.Code, 0);
}

void ScrollBarCancelMode(TWinControl* Wnd) {
  if (Held().Wnd == Wnd) EndRepeat();
  // A thumb drag ends where it got to.
  for (int Bar : {SB_VERT, SB_HORZ}) {
    auto It = Bars().find({Wnd, Bar});
    if (It != Bars().end() && It->second.State.Tracking) ScrollBarEndTrack(Wnd, Bar);
  }
}

bool ScrollBarMouseDown(HWND Wnd, TPoint P) {
  const TRect Inner = InnerRect(Wnd);
  for (int Bar : {SB_VERT, SB_HORZ}) {
    if (!(Wnd->WindowStyle() & StyleBit(Bar))) continue;
    const TBarGeometry G = Geometry(Wnd, Bar, Inner);
    if (!G.Whole.Contains(P)) continue;
    TBar& B = BarOf(Wnd, Bar);
    if (B.State.Disabled == ESB_DISABLE_BOTH) return true;
    const bool Vert = Bar == SB_VERT;
    if (G.Thumb.Contains(P)) {
      B.DragOffset = Vert ? P.Y - G.Thumb.Top : P.X - G.Thumb.Left;
      B.State.Tracking = true;
      SetCapture(Wnd);
      return true;
    }
    // An arrow or the track: one step now, more while the button is held (SB_ENDSCROLL
    // comes with the release).
    unsigned Code;
    if (G.Arrow1.Contains(P)) Code = SB_LINEUP;
    else if (G.Arrow2.Contains(P)) Code = SB_LINEDOWN;
    else Code = (Vert ? P.Y < G.Thumb.Top : P.X < G.Thumb.Left) ? SB_PAGEUP : SB_PAGEDOWN;
    EndRepeat();
    SendScroll(Wnd, Bar, Code, 0);
    if (IsWindow(Wnd)) StartRepeat(Wnd, Bar, Code);
    return true;
  }
  return false;
}

int ScrollBarHitTest(HWND Wnd, TPoint P) {
  const TRect Inner = InnerRect(Wnd);
  for (int Bar : {SB_VERT, SB_HORZ})
    if ((Wnd->WindowStyle() & StyleBit(Bar)) && Geometry(Wnd, Bar, Inner).Whole.Contains(P))
      return Bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
  return HTNOWHERE;
}

bool ScrollBarMouseMove(HWND Wnd, TPoint P) {
  if (Held().Wnd == Wnd) return true;   // the repeat follows the pointer by itself
  for (int Bar : {SB_VERT, SB_HORZ}) {
    auto It = Bars().find({Wnd, Bar});
    if (It == Bars().end() || !It->second.State.Tracking) continue;
    const TBarGeometry G = Geometry(Wnd, Bar, InnerRect(Wnd));
    const SCROLLINFO& I = It->second.State.Info;
    const bool Vert = Bar == SB_VERT;
    const int TrackLen = Vert ? G.Track.Height() : G.Track.Width();
    const int ThumbLen = Vert ? G.Thumb.Height() : G.Thumb.Width();
    const int At = (Vert ? P.Y - G.Track.Top : P.X - G.Track.Left) - It->second.DragOffset;
    const int Span = MaxPos(I) - I.nMin;
    const int Room = std::max(1, TrackLen - ThumbLen);
    ScrollBarTrack(Wnd, Bar, I.nMin + int((long long)std::clamp(At, 0, Room) * Span / Room));
    return true;
  }
  return false;
}

bool ScrollBarMouseUp(HWND Wnd, TPoint) {
  if (Held().Wnd == Wnd) {
    ReleaseCapture();
    EndRepeat();
    return true;
  }
  for (int Bar : {SB_VERT, SB_HORZ}) {
    auto It = Bars().find({Wnd, Bar});
    if (It == Bars().end() || !It->second.State.Tracking) continue;
    ScrollBarEndTrack(Wnd, Bar);
    ReleaseCapture();
    return true;
  }
  return false;
}

// --- ScrollWindowEx ------------------------------------------------------------------------------

int ScrollWindowEx(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip, void*,
                   TRect* Update, unsigned Flags) {
  if (!Wnd) return ERROR_REGION;
  TRect Area = Scroll ? *Scroll : Wnd->ClientRect();
  if (Clip) IntersectRect(Area, Area, *Clip);
  if (Flags & SW_SCROLLCHILDREN) {
    for (int I = 0; I < Wnd->ControlCount(); ++I) {
      TControl* C = Wnd->Controls(I);
      if (Scroll && !Scroll->Contains(C->BoundsRect().TopLeft())) continue;
      C->SetBounds(C->Left() + DX, C->Top() + DY, C->Width(), C->Height());
    }
  }
  // The band the move uncovers.
  TRect Uncovered = Area;
  if (DX > 0) Uncovered.Right = std::min(Area.Right, Area.Left + DX);
  else if (DX < 0) Uncovered.Left = std::max(Area.Left, Area.Right + DX);
  if (DY > 0) Uncovered.Bottom = std::min(Area.Bottom, Area.Top + DY);
  else if (DY < 0) Uncovered.Top = std::max(Area.Top, Area.Bottom + DY);
  if (DX != 0 && DY != 0) Uncovered = Area;   // two bands: report their bounds
  if (DX == 0 && DY == 0) Uncovered = {};
  if (Update) *Update = Uncovered;
  if (Flags & SW_INVALIDATE) Wnd->InvalidateRect(&Area, (Flags & SW_ERASE) != 0);
  return Uncovered.IsEmpty() ? NULLREGION : SIMPLEREGION;
}

bool ScrollWindow(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip) {
  return ScrollWindowEx(Wnd, DX, DY, Scroll, Clip, nullptr, nullptr, SW_INVALIDATE) != ERROR_REGION;
}
