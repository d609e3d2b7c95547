// DropDownWindow.cpp - drop-down windows: the list of open ones, the outside-press filter and
// the self-painted base.
#include "platform/controls/DropDownWindow.h"

#include <algorithm>
#include <vector>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

namespace {

// The open drop-downs in the order they were opened.
std::vector<TDropDownLink*>& OpenLinks() {
  static std::vector<TDropDownLink*> Links;
  return Links;
}

}  // namespace

void SetDropDownParams(TCreateParams& Params) {
  Params.Style = (Params.Style & ~(WS_CHILD | WS_DLGFRAME | WS_THICKFRAME)) | WS_POPUP;
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
}

TWinControl* FindDropDownAt(TPoint ScreenPos) {
  auto& Links = OpenLinks();
  for (auto It = Links.rbegin(); It != Links.rend(); ++It) {
    TWinControl* W = (*It)->Window();
    TRect R;
    if (W->Showing() && GetWindowRect(W, R) && R.Contains(ScreenPos)) return W;
  }
  return nullptr;
}

// --- TDropDownLink -------------------------------------------------------------------------------

TDropDownLink::TDropDownLink(TWinControl* Window) : FWindow(Window) {}

TDropDownLink::~TDropDownLink() { StopWatching(); }

void TDropDownLink::Open(TPoint ScreenPos) {
  InitControls();
  FWindow->SetBounds(ScreenPos.X, ScreenPos.Y, FWindow->Width(), FWindow->Height());
  FWindow->HandleNeeded();
  if (!IsOpen()) {
    FFilterId = Application->AddOutsideClickFilter(
        [this](HWND Target, TPoint P) { return HandleOutsideClick(Target, P); });
    OpenLinks().push_back(this);
  }
  FWindow->SetVisible(true);
  FWindow->BringToFront();
}

void TDropDownLink::Close() {
  if (!IsOpen()) return;
  StopWatching();
  FWindow->SetVisible(false);
}

void TDropDownLink::StopWatching() {
  if (FFilterId != 0 && Application) Application->RemoveOutsideClickFilter(FFilterId);
  FFilterId = 0;
  std::erase(OpenLinks(), this);
}

bool TDropDownLink::Contains(HWND Wnd) const { return Wnd && (Wnd == FWindow || IsChild(FWindow, Wnd)); }

bool TDropDownLink::HandleOutsideClick(HWND Target, TPoint ScreenPos) {
  auto& Links = OpenLinks();
  auto Self = std::find(Links.begin(), Links.end(), this);
  if (Self == Links.end()) return false;
  // Presses on this drop-down or on one opened after it (from it) are inside.
  for (auto It = Self; It != Links.end(); ++It)
    if ((*It)->Contains(Target)) return false;
  if (FOnOutsideClick) return FOnOutsideClick(Target, ScreenPos);
  Close();
  return true;
}

// --- TDropDownWindow -----------------------------------------------------------------------------

REGISTER_CLASS(TDropDownWindow) {}

TDropDownWindow::TDropDownWindow(TComponent* AOwner) : TCustomControl(AOwner), FLink(this) {
  SetVisible(false);
  SetTabStop(false);
  FLink.SetOnOutsideClick([this](HWND, TPoint) {
    CloseUp(false);
    return true;
  });
}

TDropDownWindow::~TDropDownWindow() = default;

void TDropDownWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  SetDropDownParams(Params);
}

void TDropDownWindow::DropDownAt(TPoint ScreenPos) { FLink.Open(ScreenPos); }

void TDropDownWindow::CloseUp(bool Accept) {
  if (!FLink.IsOpen()) return;
  FLink.Close();
  if (FOnCloseUp) FOnCloseUp(this, Accept);
}

void TDropDownWindow::SizeGripChangePosition(int) {}

void TDropDownWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DROPDOWN_SIZEGRIP: SizeGripChangePosition(int(Message.WParam)); return;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    default: TCustomControl::Dispatch(Message);
  }
}
