// MRUListboxZk.cpp - the most-recently-used drop-down list with its own scroll bar.
#include "gridlib/toolkit/MRUListboxZk.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Messages.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/controls/WinApi.h"

namespace {

// The list's scroll bar: a move by anybody but the list puts it back in place.
class TMRUScrollBar : public TScrollBar {
public:
  TMRUScrollBar(TComponent* AOwner, std::function<void()> Replace)
      : TScrollBar(AOwner), FReplace(std::move(Replace)) {}
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override {
    TScrollBar::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FReplace) FReplace();
  }

private:
  std::function<void()> FReplace;
};

bool GripAtRight(const TSizeGripZk* Grip) {
  return Grip->Position() == sgpTopRight || Grip->Position() == sgpBottomRight;
}

}  // namespace

REGISTER_CLASS(TMRUListboxZk) {}

TMRUListboxZk::TMRUListboxZk(TComponent* AOwner) : TPopupListboxZk(AOwner), FScrollBar(nullptr) {
  auto* Bar = new TMRUScrollBar(this, [this] {
    if (!FScrollBarLockMove) UpdateScrollBarPos();
  });
  FScrollBar = Bar;
  TControlStyle Style = Bar->ControlStyle();
  Style << csReplicatable;
  Bar->SetControlStyle(Style);
  Bar->SetKind(sbVertical);
  Bar->SetTabStop(false);
  Bar->SetWidth(GetSystemMetrics(SM_CXVSCROLL));
  Bar->SetParent(this);
  Bar->SetWindowProc([this](TMessage& Message) { ScrollBarWndProc(Message); });
}

TMRUListboxZk::~TMRUListboxZk() {
  TScrollBar* Bar = FScrollBar;
  FScrollBar = nullptr;
  Bar->SetWindowProc(nullptr);
  delete Bar;
}

void TMRUListboxZk::CreateParams(TCreateParams& Params) {
  TPopupListboxZk::CreateParams(Params);
  Params.Style &= ~(WS_VSCROLL | WS_HSCROLL);
}

void TMRUListboxZk::ScrollBarWndProc(TMessage& Message) {
  if (Message.Msg == CN_VSCROLL) {
    Perform(WM_VSCROLL, Message.WParam, 0);
    UpdateScrollBar();   // the thumb follows the list's new top row
    return;
  }
  FScrollBar->WndProc(Message);
}

void TMRUListboxZk::UpdateScrollBarPos() {
  if (!FScrollBar) return;
  const bool Locked = FScrollBarLockMove;
  FScrollBarLockMove = true;
  const int BarWidth = FScrollBar->Width();
  int Top = 0;
  int Height = ClientHeight();
  if (GripAtRight(SizeGrip())) {
    Height -= SizeGrip()->Height();
    if (SizeGrip()->Position() == sgpTopRight) Top = SizeGrip()->Height();
  }
  FScrollBar->SetBounds(ClientWidth() - BarWidth, Top, BarWidth, std::max(Height, 0));
  FScrollBarLockMove = Locked;
}

void TMRUListboxZk::UpdateScrollBar() {
  if (!FScrollBar || !HandleAllocated()) return;
  FScrollBar->SetCtl3D(false);
  UpdateScrollBarPos();
  const int Rows = ClientHeight() / std::max(ItemHeight(), 1);
  const int Count = ItemCount();
  if (Count > 0 && Rows < Count) {
    FScrollBar->SetParams(TopIndex(), 0, Count - 1);
    FScrollBar->SetPageSize(Rows);
    FScrollBar->SetVisible(true);
    SizeGrip()->SetTriangleWindow(!GripAtRight(SizeGrip()));
  } else {
    FScrollBar->SetVisible(false);
    SizeGrip()->SetTriangleWindow(true);
  }
}

void TMRUListboxZk::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TPopupListboxZk::SetBounds(ALeft, ATop, AWidth, AHeight);
  UpdateScrollBar();
}

void TMRUListboxZk::Dispatch(TMessage& Message) {
  TPopupListboxZk::Dispatch(Message);
  if (Message.Msg == WM_SIZEGRIPCHANGEPOSITION || Message.Msg == CM_CHANGED) UpdateScrollBar();
}

bool TMRUListboxZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  const bool Result = TPopupListboxZk::DoMouseWheelDown(Shift, MousePos);
  UpdateScrollBar();
  return Result;
}

bool TMRUListboxZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  const bool Result = TPopupListboxZk::DoMouseWheelUp(Shift, MousePos);
  UpdateScrollBar();
  return Result;
}
