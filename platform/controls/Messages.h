// Messages.h - the message record, the message numbers and the constants that travel in messages.
//
// A message is four machine words (Msg, WParam, LParam, Result) as the window procedures of the
// class library take them. The numbers are the Win32 ones for WM_/EM_/BM_/LB_ messages, the
// class library's own for CM_ (CM_BASE + n) and CN_ (CN_BASE + WM_x, the notifications a parent
// reflects to the child that sent them), and WM_USER + n for the private messages of the
// drop-downs, editors and grids. Code compares these numbers and the grids test for their own number by
// value, so they are fixed here once.
//
// Differences from Win32, decided once:
// - WM_PAINT, WM_ERASEBKGND and WM_NCPAINT carry the canvas to draw on (an HDC, which is a
//   TCanvas*) in WParam; WM_NCPAINT's canvas covers the whole window, WM_PAINT's the client area.
// - WM_KILLFOCUS / WM_SETFOCUS carry the other window (a TWinControl*) in WParam.
// - CM_MOUSEWHEEL carries the shift state in WParam's low word and the wheel delta in its high
//   word (signed), the screen point in LParam; the answer is non-zero when handled.
// - CM_CANCELMODE carries the control that causes it (a TControl*) in LParam.
#pragma once

#include <cstdint>

#include "platform/rtl/Types.h"

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct TMessage {
  unsigned Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// --- word packing -------------------------------------------------------------------------------

constexpr Word LOWORD(std::uintptr_t V) { return Word(V & 0xFFFF); }
constexpr Word HIWORD(std::uintptr_t V) { return Word((V >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int Lo, int Hi) {
  return LPARAM(std::uint32_t((unsigned(Lo) & 0xFFFF) | ((unsigned(Hi) & 0xFFFF) << 16)));
}
constexpr WPARAM MAKEWPARAM(int Lo, int Hi) { return WPARAM(MAKELPARAM(Lo, Hi)); }
// Signed coordinates out of a packed point (GET_X_LPARAM / GET_Y_LPARAM).
constexpr int GET_X_LPARAM(LPARAM V) { return SmallInt(LOWORD(std::uintptr_t(V))); }
constexpr int GET_Y_LPARAM(LPARAM V) { return SmallInt(HIWORD(std::uintptr_t(V))); }

// --- window messages (Win32 numbers) ------------------------------------------------------------

enum : unsigned {
  WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A,
  WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E,
  WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014,
  WM_SYSCOLORCHANGE = 0x0015, WM_SHOWWINDOW = 0x0018, WM_ACTIVATEAPP = 0x001C,
  WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020, WM_MOUSEACTIVATE = 0x0021,
  WM_GETMINMAXINFO = 0x0024, WM_SETFONT = 0x0030, WM_GETFONT = 0x0031,
  WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047, WM_NOTIFY = 0x004E,
  WM_CONTEXTMENU = 0x007B, WM_NCCALCSIZE = 0x0083, WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085,
  WM_GETDLGCODE = 0x0087, WM_NCMOUSEMOVE = 0x00A0, WM_NCLBUTTONDOWN = 0x00A1,
  WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104,
  WM_SYSKEYUP = 0x0105, WM_SYSCHAR = 0x0106, WM_KEYFIRST = WM_KEYDOWN, WM_KEYLAST = 0x0109,
  WM_IME_STARTCOMPOSITION = 0x010D, WM_INITDIALOG = 0x0110, WM_COMMAND = 0x0111,
  WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113, WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115,
  WM_SYSTIMER = 0x0118,
  WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
  WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208,
  WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A, WM_MOUSEFIRST = WM_MOUSEMOVE,
  WM_MOUSELAST = WM_MOUSEWHEEL, WM_PARENTNOTIFY = 0x0210, WM_ENTERSIZEMOVE = 0x0231,
  WM_EXITSIZEMOVE = 0x0232, WM_MOUSELEAVE = 0x02A3, WM_CUT = 0x0300, WM_COPY = 0x0301,
  WM_PASTE = 0x0302, WM_CLEAR = 0x0303, WM_UNDO = 0x0304, WM_USER = 0x0400
};

// --- edit, button, list box and month-calendar messages ------------------------------------------

enum : unsigned {
  EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETRECT = 0x00B2, EM_SETRECT = 0x00B3,
  EM_SETRECTNP = 0x00B4, EM_SCROLL = 0x00B5, EM_LINESCROLL = 0x00B6, EM_SCROLLCARET = 0x00B7,
  EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9, EM_GETLINECOUNT = 0x00BA, EM_LINEINDEX = 0x00BB,
  EM_LINELENGTH = 0x00C1, EM_REPLACESEL = 0x00C2, EM_GETLINE = 0x00C4, EM_LIMITTEXT = 0x00C5,
  EM_CANUNDO = 0x00C6, EM_UNDO = 0x00C7, EM_LINEFROMCHAR = 0x00C9, EM_SETPASSWORDCHAR = 0x00CC,
  EM_EMPTYUNDOBUFFER = 0x00CD, EM_GETFIRSTVISIBLELINE = 0x00CE, EM_SETREADONLY = 0x00CF,
  EM_GETPASSWORDCHAR = 0x00D2, EM_SETMARGINS = 0x00D3, EM_GETMARGINS = 0x00D4,
  EM_GETLIMITTEXT = 0x00D5, EM_POSFROMCHAR = 0x00D6, EM_CHARFROMPOS = 0x00D7,

  BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_GETSTATE = 0x00F2, BM_SETSTATE = 0x00F3,
  BM_CLICK = 0x00F5,

  LB_SETCURSEL = 0x0186, LB_GETCURSEL = 0x0188, LB_SELECTSTRING = 0x018C,
  LB_GETTOPINDEX = 0x018E, LB_SETTOPINDEX = 0x0197, LB_GETITEMHEIGHT = 0x01A1,

  MCM_FIRST = 0x1000, MCM_SETCURSEL = MCM_FIRST + 2, MCM_GETMINREQRECT = MCM_FIRST + 9,
  MCM_HITTEST = MCM_FIRST + 14, MCM_GETCURRENTVIEW = MCM_FIRST + 22
};

// EM_SETMARGINS flags.
enum : unsigned { EC_LEFTMARGIN = 0x1, EC_RIGHTMARGIN = 0x2, EC_USEFONTINFO = 0xFFFF };

// Notification codes in the high word of WM_COMMAND's WParam.
enum : unsigned {
  EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400,
  EN_MAXTEXT = 0x0501, BN_CLICKED = 0, LBN_SELCHANGE = 1, LBN_DBLCLK = 2, CBN_SELCHANGE = 1
};

// Button check states (BM_GETCHECK / BM_SETCHECK).
enum : unsigned { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };

// --- the class library's notifications ----------------------------------------------------------
//
// ORDER CM: CM_BASE + n as the class library numbers them; the grids send CM_INVALIDATE as
// 0xB034 by value.

enum : unsigned {
  CM_BASE = 0xB000,
  CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_GOTFOCUS = CM_BASE + 2,
  CM_LOSTFOCUS = CM_BASE + 3, CM_CANCELMODE = CM_BASE + 4, CM_DIALOGKEY = CM_BASE + 5,
  CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7,
  CM_PARENTFONTCHANGED = CM_BASE + 8, CM_PARENTCOLORCHANGED = CM_BASE + 9,
  CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11, CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_COLORCHANGED = CM_BASE + 13, CM_FONTCHANGED = CM_BASE + 14, CM_CURSORCHANGED = CM_BASE + 15,
  CM_CTL3DCHANGED = CM_BASE + 16, CM_PARENTCTL3DCHANGED = CM_BASE + 17,
  CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
  CM_MENUCHANGED = CM_BASE + 21, CM_APPKEYDOWN = CM_BASE + 22, CM_APPSYSCOMMAND = CM_BASE + 23,
  CM_BUTTONPRESSED = CM_BASE + 24, CM_SHOWINGCHANGED = CM_BASE + 25, CM_ENTER = CM_BASE + 26,
  CM_EXIT = CM_BASE + 27, CM_DESIGNHITTEST = CM_BASE + 28, CM_ICONCHANGED = CM_BASE + 29,
  CM_WANTSPECIALKEY = CM_BASE + 30, CM_INVOKEHELP = CM_BASE + 31, CM_WINDOWHOOK = CM_BASE + 32,
  CM_RELEASE = CM_BASE + 33, CM_SHOWHINTCHANGED = CM_BASE + 34,
  CM_PARENTSHOWHINTCHANGED = CM_BASE + 35, CM_SYSCOLORCHANGE = CM_BASE + 36,
  CM_WININICHANGE = CM_BASE + 37, CM_FONTCHANGE = CM_BASE + 38, CM_TIMECHANGE = CM_BASE + 39,
  CM_TABSTOPCHANGED = CM_BASE + 40, CM_UIACTIVATE = CM_BASE + 41, CM_UIDEACTIVATE = CM_BASE + 42,
  CM_DOCWINDOWACTIVATE = CM_BASE + 43, CM_CONTROLLISTCHANGE = CM_BASE + 44,
  CM_GETDATALINK = CM_BASE + 45, CM_CHILDKEY = CM_BASE + 46, CM_DRAG = CM_BASE + 47,
  CM_HINTSHOW = CM_BASE + 48, CM_DIALOGHANDLE = CM_BASE + 49, CM_ISTOOLCONTROL = CM_BASE + 50,
  CM_RECREATEWND = CM_BASE + 51, CM_INVALIDATE = CM_BASE + 52, CM_SYSFONTCHANGED = CM_BASE + 53,
  CM_CONTROLCHANGE = CM_BASE + 54, CM_CHANGED = CM_BASE + 55, CM_DOCKCLIENT = CM_BASE + 56,
  CM_UNDOCKCLIENT = CM_BASE + 57, CM_FLOAT = CM_BASE + 58, CM_BORDERCHANGED = CM_BASE + 59,
  CM_BIDIMODECHANGED = CM_BASE + 60, CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
  CM_ALLCHILDRENFLIPPED = CM_BASE + 62, CM_ACTIONUPDATE = CM_BASE + 63,
  CM_ACTIONEXECUTE = CM_BASE + 64, CM_HINTSHOWPAUSE = CM_BASE + 65,
  CM_DOCKNOTIFICATION = CM_BASE + 66, CM_MOUSEWHEEL = CM_BASE + 67
};

// Reflected notifications: a parent hands WM_COMMAND, WM_HSCROLL, ... back to the child that
// sent them as CN_BASE + the message.
enum : unsigned {
  CN_BASE = 0xBC00,
  CN_CHARTOITEM = CN_BASE + 0x002F, CN_COMMAND = CN_BASE + WM_COMMAND,
  CN_NOTIFY = CN_BASE + WM_NOTIFY, CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
  CN_KEYUP = CN_BASE + WM_KEYUP, CN_CHAR = CN_BASE + WM_CHAR,
  CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN, CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
  CN_HSCROLL = CN_BASE + WM_HSCROLL, CN_VSCROLL = CN_BASE + WM_VSCROLL
};

// --- private messages ---------------------------------------------------------------------------
//
// ORDER PRIVATE: one number may serve several pairs of sender and receiver; each name says whose.
enum : unsigned {
  // WParam a windowed control whose window the shared parent form creates (not sent here).
  WM_SHAREDPARENT_CREATEHANDLE = WM_USER + 1,
  WM_SHAREDPARENT_RESERVED = WM_USER + 2,
  // Drop-down placement -> drop-down: move the size grip (WParam a TSizeGripChangePosition).
  WM_DROPDOWN_SIZEGRIP = WM_USER + 100,   // 0x464
  // Grid -> itself: deferred layout recalculation (posted only when none is queued). Its own
  // number: the size grip keeps 0x464, and a grid hosting a drop-down must not mistake one.
  WM_GRID_DEFERLAYOUT = WM_USER + 103,    // 0x467
  // Edit image -> editor (sent): the image settings changed, recreate the window.
  WM_EDIT_IMAGECHANGED = WM_USER + 101,   // 0x465
  // Drop-down -> itself (posted): deferred close-up without accepting.
  WM_DROPDOWN_CLOSEUP = WM_USER + 101,    // 0x465
  // Date or number editor -> itself (posted) after its drop-down closed; WParam the main button's Tag.
  WM_DROPDOWN_CLOSED = WM_USER + 102      // 0x466
};

// --- values carried by messages -----------------------------------------------------------------

// WM_GETDLGCODE answers.
enum : unsigned {
  DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
  DLGC_WANTMESSAGE = 0x0004, DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010,
  DLGC_UNDEFPUSHBUTTON = 0x0020, DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080,
  DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000
};

// Mouse message key flags (WParam of WM_xBUTTONx and WM_MOUSEMOVE).
enum : unsigned {
  MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
  MK_MBUTTON = 0x0010
};

// WHEEL_DELTA: one notch of the wheel.
constexpr int WHEEL_DELTA = 120;

// Scroll codes (low word of WM_HSCROLL / WM_VSCROLL) and bars.
enum : unsigned {
  SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
  SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5,
  SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8
};
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };

// WM_NCHITTEST answers.
enum : int {
  HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTSYSMENU = 3,
  HTSIZE = 4, HTMENU = 5, HTHSCROLL = 6, HTVSCROLL = 7, HTLEFT = 10, HTRIGHT = 11, HTTOP = 12,
  HTTOPLEFT = 13, HTTOPRIGHT = 14, HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17,
  HTBORDER = 18
};

// WM_MOUSEACTIVATE answers.
enum : int { MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4 };

// WM_SYSCOMMAND codes.
enum : unsigned { SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
                  SC_CLOSE = 0xF060, SC_RESTORE = 0xF120, SC_KEYMENU = 0xF100 };

// WM_SIZE kinds.
enum : unsigned { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Virtual key codes.
enum : Word {
  VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08,
  VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
  VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
  VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
  VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SELECT = 0x29, VK_PRINT = 0x2A, VK_EXECUTE = 0x2B,
  VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_LWIN = 0x5B,
  VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_NUMPAD9 = 0x69, VK_MULTIPLY = 0x6A,
  VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
  VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75,
  VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B,
  VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2,
  VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5, VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB,
  VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF,
  VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE
};
// Letters and digits are their ASCII capitals: 'A' = 0x41, '0' = 0x30.

// The key data of WM_KEYDOWN / WM_CHAR (LParam): bit 29 marks Alt held, bit 30 a repeat,
// bit 31 a release.
constexpr LPARAM KF_ALTDOWN_LPARAM = LPARAM(1) << 29;

// --- cracked views ------------------------------------------------------------------------------
// Each view reads and writes the fields of one TMessage as the message's record would name them.

struct TWMKey {
  TMessage& M;
  Word CharCode() const { return Word(M.WParam); }
  void SetCharCode(Word Value) { M.WParam = Value; }
  LPARAM KeyData() const { return M.LParam; }
};
using TWMChar = TWMKey;
using TWMKeyDown = TWMKey;

struct TWMMouse {
  TMessage& M;
  unsigned Keys() const { return unsigned(M.WParam); }
  int XPos() const { return GET_X_LPARAM(M.LParam); }
  int YPos() const { return GET_Y_LPARAM(M.LParam); }
};

struct TWMScroll {
  TMessage& M;
  unsigned ScrollCode() const { return LOWORD(M.WParam); }
  int Pos() const { return SmallInt(HIWORD(M.WParam)); }
  LPARAM ScrollBar() const { return M.LParam; }
};

struct TWMSize {
  TMessage& M;
  unsigned SizeType() const { return unsigned(M.WParam); }
  int Width() const { return LOWORD(std::uintptr_t(M.LParam)); }
  int Height() const { return HIWORD(std::uintptr_t(M.LParam)); }
};

struct TWMCommand {
  TMessage& M;
  Word ItemID() const { return LOWORD(M.WParam); }
  Word NotifyCode() const { return HIWORD(M.WParam); }
  LPARAM Ctl() const { return M.LParam; }
};

struct TCMMouseWheel {
  TMessage& M;
  unsigned ShiftState() const { return LOWORD(M.WParam); }
  int WheelDelta() const { return SmallInt(HIWORD(M.WParam)); }
  int XPos() const { return GET_X_LPARAM(M.LParam); }
  int YPos() const { return GET_Y_LPARAM(M.LParam); }
};

struct TWMSetCursor {
  TMessage& M;
  int HitTest() const { return SmallInt(LOWORD(std::uintptr_t(M.LParam))); }
  unsigned MouseMsg() const { return HIWORD(std::uintptr_t(M.LParam)); }
};
