// Controls_p.h - shared by the controls unit's own sources only: the platform surface under a
// windowed control, the registry of live windows, and the paint helpers.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/controls/Controls.h"

class QImage;

// The platform window under a TWinControl (a QWidget subclass in Surface.cpp). Geometry is in
// the parent surface's coordinates for child windows and in screen coordinates for top-level
// ones; the window's whole rectangle, non-client frame included.
class TWindowSurface {
public:
  virtual ~TWindowSurface() = default;
  virtual void SetGeometry(const TRect& R) = 0;
  virtual void SetVisible(bool Visible, bool Activate) = 0;
  virtual void Invalidate(const TRect& WindowRect) = 0;
  virtual void TakeFocus() = 0;
  virtual void SetTitle(const String& Title) = 0;
  virtual void SetCursorShape(TCursor Cursor) = 0;
  virtual void Raise() = 0;
  virtual void SetOutline(const std::vector<TPoint>* Polygon) = 0;
  // Layered look: Key (when set) cut out of the window's shape, Alpha its opacity (255 opaque).
  virtual void SetLayered(bool Layered, std::optional<TColorRef> Key, int Alpha) = 0;
  virtual void* Widget() = 0;
};

// A surface for Control when a Qt application runs, else nullptr (headless).
std::unique_ptr<TWindowSurface> CreateWindowSurface(TWinControl* Control, bool TopLevel,
                                                    const TCreateParams& Params);

struct TWinControl::TSurfaceHolder {
  std::unique_ptr<TWindowSurface> Surface;
};

// Friends' access to TWinControl internals for WinApi.cpp and the surface.
struct TWindowInternals {
  static TWindowSurface* Surface(const TWinControl* W) {
    return W->FSurface ? W->FSurface->Surface.get() : nullptr;
  }
  static TControl*& CaptureChild(TWinControl* W) { return W->FCaptureChild; }
  static TControl*& MouseControl(TWinControl* W) { return W->FMouseControl; }
  static bool IsTopLevel(const TWinControl* W) { return W->IsTopLevel(); }
  static unsigned& Style(TWinControl* W) { return W->FStyle; }
  static unsigned& ExStyle(TWinControl* W) { return W->FExStyle; }
};

// --- the registry of live windows (WinApi.cpp) ---
void RegisterWindow(TWinControl* Wnd);
// Forgets Wnd: drops its queued messages and timers, focus, capture and caret.
void UnregisterWindow(TWinControl* Wnd);
// Forgets the scroll bars of a window (ScrollBars.cpp).
void ForgetScrollBars(TWinControl* Wnd);
// Forgets the layered attributes of a window (WinApiWindows.cpp).
void ForgetLayeredAttributes(TWinControl* Wnd);
// Forgets a freed window as the one under the mouse (WinControlInput.cpp).
void ForgetMouseWindow(TWinControl* Wnd);
// While set, every key message goes to the hook before any window; true swallows it (a form's
// keyboard menu mode, Forms.cpp). WinControlInput.cpp.
using TMenuKeyHook = std::function<bool(unsigned Msg, WPARAM Key)>;
void SetMenuKeyHook(TMenuKeyHook Hook);
bool HasMenuKeyHook();
// Whether the Alt key being released went down and up with no other key or press between.
bool AltReleasedAlone();
// Forgets an Alt press (the application lost the keyboard meanwhile, as with Alt+Tab).
void ForgetAltPress();
// A screen point in Wnd's window coordinates (WinControlInput.cpp).
TPoint WindowPoint(HWND Wnd, TPoint ScreenPos);
// The window's own answers to the scroll bars' system timer and to cancel mode
// (ScrollBars.cpp).
void ScrollBarSystemTimer(TWinControl* Wnd, unsigned IDEvent);
void ScrollBarCancelMode(TWinControl* Wnd);
// The control holding the mouse (a windowless control or a window), or nullptr.
TControl* CaptureControl();
void SetCaptureControl(TControl* Control);
// Raises EInvalidOperation for focusing a disabled or invisible window (Forms.cpp).
[[noreturn]] void CannotFocus();
// Whether a window system is there (a Qt application object exists).
bool HasPlatform();
// Delivers due timers and queued messages; true when anything was delivered (Application.cpp).
bool DeliverQueuedMessages();
// Where a window's surface goes: its bounds, in the parent surface's coordinates for a child.
TRect SurfaceGeometry(const TWinControl* Control);
// Shows Cursor over the window a WM_SETCURSOR message names (WinControlInput.cpp).
void ShowCursorOver(const TMessage& SetCursorMessage, TCursor Cursor);
// The image and hot spot of a bitmap cursor registered under Cursor (BitmapCursor.cpp); false
// for a predefined or unregistered cursor.
bool BitmapCursorOf(TCursor Cursor, QImage& Image, TPoint& HotSpot);
// The platform's cursor for the whole application (crDefault: none), e.g. the hourglass.
void SetPlatformOverrideCursor(TCursor Cursor);
// Wakes the platform's loop so that queued messages and due timers get delivered.
void WakeMessageLoop();

// --- painting helpers (Paint.cpp) ---
// A canvas drawing into Target's device shifted by Offset (device pixels) and clipped to Clip
// (device pixels of Target, already shifted). The canvas keeps Target's font and brush.
std::unique_ptr<TCanvas> CreateSubCanvas(TCanvas* Target, TPoint Offset, const TRect& Clip);
// Points Canvas at the same surface as DC (for a control's own canvas during painting).
void AttachCanvas(TCanvas* Canvas, TCanvas* DC);
void DetachCanvas(TCanvas* Canvas);

// What a paint scope sets on the canvas besides the font and the brush colour; each adds to
// the one before: a solid brush, then a black pen, then a solid pen.
enum TPaintReset { prBrushColor, prSolidBrush, prBlackPen, prSolidPen };

// Points a control's canvas at the paint target for the duration of one paint, with the
// control's font and colour; the canvas lets go of the target however the paint ends.
class TCanvasPaintScope {
public:
  TCanvasPaintScope(TCanvas* Canvas, HDC DC, TFont* Font, TColor Color,
                    TPaintReset Reset = prSolidPen);
  ~TCanvasPaintScope();
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

private:
  TCanvas* FCanvas;
};
