// DropDownWindow.h - drop-down windows: the small top-level windows an editor, a combo box or a
// grid opens at a screen position under (or above) its edit area.
//
// A drop-down is a frameless tool window, topmost, shown without activation; it never takes the
// keyboard focus, which stays with the control that opened it (that control routes the keys it
// wants, arrows, Return, Esc, to the drop-down). While it is open:
// - FindVCLWindow finds it (and its child windows) before any form, so the input routines
//   deliver presses, moves and the wheel over it to it;
// - a mouse press outside it and its child windows closes it, and that press is swallowed: it
//   reaches no window, nor does its release. A press on a drop-down opened later (one drop-down
//   opening another) counts as inside.
//
// Two ways to make one:
// - Derive from TDropDownWindow (a TCustomControl): paint in Paint, open with DropDownAt
//   (ScreenPos), close with CloseUp(Accept), which fires OnCloseUp; an outside press calls
//   CloseUp(false).
// - Any other windowed control (a list box, a grid) keeps a TDropDownLink and declares itself a
//   drop-down:
//       class TMyList : public TCustomListBox {
//       public:
//         explicit TMyList(TComponent* AOwner) : TCustomListBox(AOwner), FLink(this) {
//           SetVisible(false);
//         }
//         bool CanFocus() const override { return false; }
//       protected:
//         bool IsTopLevel() const override { return true; }
//         void CreateParams(TCreateParams& Params) override {
//           TCustomListBox::CreateParams(Params);
//           SetDropDownParams(Params);
//         }
//       private:
//         TDropDownLink FLink;
//       };
//   It opens with FLink.Open(ScreenPos) and closes with FLink.Close(); SetOnOutsideClick
//   replaces what an outside press does (by default the link closes the window).
//
// Size grip: the drop-down placement sends WM_DROPDOWN_SIZEGRIP (Messages.h; WParam the
// direction, a TSizeGripChangePosition value of the control toolkit) to tell the drop-down to
// move its size grip away from the edit area. TDropDownWindow passes it to the virtual
// SizeGripChangePosition; a control with a TDropDownLink handles the message in its Dispatch.
#pragma once

#include <functional>

#include "platform/controls/Controls.h"

// Makes creation parameters those of a drop-down: a top-level popup window without caption or
// sizing frame (a WS_BORDER is kept), a topmost tool window that is never activated.
void SetDropDownParams(TCreateParams& Params);

// The open-and-close bookkeeping of one drop-down window; see the file comment.
class TDropDownLink {
public:
  explicit TDropDownLink(TWinControl* Window);
  // Stops watching presses; the window is not touched (it is being destroyed).
  ~TDropDownLink();
  TDropDownLink(const TDropDownLink&) = delete;
  TDropDownLink& operator=(const TDropDownLink&) = delete;

  TWinControl* Window() const { return FWindow; }
  // Moves the window's top left corner to ScreenPos (its size unchanged), shows it on top
  // without activating it, and starts watching presses. Opening an open drop-down moves it.
  void Open(TPoint ScreenPos);
  // Hides the window and stops watching; nothing when it is closed.
  void Close();
  bool IsOpen() const { return FFilterId != 0; }
  // Whether Wnd is the drop-down window or one of its child windows.
  bool Contains(HWND Wnd) const;

  // A press outside the open drop-down: Target is the window it was aimed at. The answer says
  // whether to swallow the press. Unset: the link closes the window and swallows the press.
  using TOutsideClickEvent = std::function<bool(HWND Target, TPoint ScreenPos)>;
  const TOutsideClickEvent& OnOutsideClick() const { return FOnOutsideClick; }
  void SetOnOutsideClick(TOutsideClickEvent Value) { FOnOutsideClick = std::move(Value); }

private:
  bool HandleOutsideClick(HWND Target, TPoint ScreenPos);
  void StopWatching();

  TWinControl* FWindow;
  int FFilterId = 0;
  TOutsideClickEvent FOnOutsideClick;
};

// A drop-down painted by itself.
class TDropDownWindow : public TCustomControl {
  VORENTA_CLASS(TDropDownWindow, TCustomControl)
public:
  explicit TDropDownWindow(TComponent* AOwner);
  ~TDropDownWindow() override;

  // Opens with the top left corner at ScreenPos and the present size.
  void DropDownAt(TPoint ScreenPos);
  // Closes (when open) and fires OnCloseUp; Accept says whether the choice is taken.
  virtual void CloseUp(bool Accept);
  bool DroppedDown() const { return FLink.IsOpen(); }
  TDropDownLink* Link() { return &FLink; }
  bool CanFocus() const override { return false; }

  using TCloseUpEvent = std::function<void(TObject* Sender, bool Accept)>;
  const TCloseUpEvent& OnCloseUp() const { return FOnCloseUp; }
  void SetOnCloseUp(TCloseUpEvent Value) { FOnCloseUp = std::move(Value); }

  void Dispatch(TMessage& Message) override;

protected:
  bool IsTopLevel() const override { return true; }
  void CreateParams(TCreateParams& Params) override;
  // WM_DROPDOWN_SIZEGRIP: move the size grip in Direction (a TSizeGripChangePosition value).
  // The base has no grip and does nothing.
  virtual void SizeGripChangePosition(int Direction);

private:
  TDropDownLink FLink;
  TCloseUpEvent FOnCloseUp;
};

// The open drop-down (the last opened first) whose window rectangle holds ScreenPos, or nullptr.
TWinControl* FindDropDownAt(TPoint ScreenPos);
