// ScrollBars.h - a window's own scroll bars with the Win32 rules, and ScrollWindowEx.
//
// The rules kept: the range is nMin..nMax inclusive; the page is at most the range's size; the
// position stays within nMin..nMax - max(nPage - 1, 0); a bar whose range is empty or covered by
// the page is hidden, unless SIF_DISABLENOSCROLL, which keeps it shown but disabled; SetScrollRange
// with an empty range hides the bar. Showing or hiding a bar changes the window's client size
// (WM_SIZE follows). While the thumb is dragged, the track position moves and the window gets
// SB_THUMBTRACK; the release gives SB_THUMBPOSITION, then SB_ENDSCROLL.
#pragma once

#include <optional>

#include "platform/controls/Controls.h"

enum : unsigned {
  SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8, SIF_TRACKPOS = 0x10,
  SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS
};
enum : unsigned { ESB_ENABLE_BOTH = 0, ESB_DISABLE_LTUP = 1, ESB_DISABLE_RTDN = 2, ESB_DISABLE_BOTH = 3 };
enum : unsigned { SW_SCROLLCHILDREN = 0x1, SW_INVALIDATE = 0x2, SW_ERASE = 0x4 };
enum : int { ERROR_REGION = 0, NULLREGION = 1, SIMPLEREGION = 2 };

struct SCROLLINFO {
  unsigned cbSize = sizeof(SCROLLINFO);
  unsigned fMask = 0;
  int nMin = 0;
  int nMax = 0;
  unsigned nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// Returns the new position.
int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO& Info, bool Redraw);
bool GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO& Info);
// Returns the previous position.
int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw);
int GetScrollPos(HWND Wnd, int Bar);
bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw);
bool GetScrollRange(HWND Wnd, int Bar, int& Min, int& Max);
// False when the bar already was in that state.
bool EnableScrollBar(HWND Wnd, unsigned Bar, unsigned Arrows);
bool ShowScrollBar(HWND Wnd, int Bar, bool Show);

// The position a WM_xSCROLL code asks for, from Pos: a line or a page back or on, Thumb for
// SB_THUMBTRACK and SB_THUMBPOSITION, First for SB_TOP, Last for SB_BOTTOM; nullopt for the
// others (SB_ENDSCROLL). The caller decodes the thumb and keeps the result within its range.
std::optional<int> ScrollCodePos(unsigned Code, int Pos, int Line, int Page, int Thumb, int First,
                                 int Last);

// The state of one bar, for painting and tests.
struct TScrollBarState {
  SCROLLINFO Info;
  bool Visible = false;
  unsigned Disabled = ESB_ENABLE_BOTH;
  bool Tracking = false;
};
TScrollBarState GetScrollBarState(HWND Wnd, int Bar);

// Thumb dragging (the window surface and tests call these): the track position moves to Pos
// and the window gets SB_THUMBTRACK; the end gives SB_THUMBPOSITION and SB_ENDSCROLL.
void ScrollBarTrack(HWND Wnd, int Bar, int Pos);
void ScrollBarEndTrack(HWND Wnd, int Bar);
// A press on a bar at a point in window coordinates; true when it hit one (arrows send
// SB_LINEx, the track SB_PAGEx, the thumb starts tracking).
bool ScrollBarMouseDown(HWND Wnd, TPoint WindowPos);
// HTVSCROLL or HTHSCROLL when a shown bar holds the point (window coordinates), else HTNOWHERE.
int ScrollBarHitTest(HWND Wnd, TPoint WindowPos);
bool ScrollBarMouseMove(HWND Wnd, TPoint WindowPos);
bool ScrollBarMouseUp(HWND Wnd, TPoint WindowPos);

// Scrolls the client area (or Scroll) by DX, DY: with SW_SCROLLCHILDREN the child windows
// move; with SW_INVALIDATE the uncovered part is invalidated (the whole scrolled rectangle is
// repainted, since our controls paint from their model). Update receives the uncovered part.
int ScrollWindowEx(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip,
                   void* UpdateRegion, TRect* Update, unsigned Flags);
bool ScrollWindow(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip);
