// WinControl.cpp - TWinControl, part one: the window, children, tab order, look, alignment,
// and message dispatch. Input and focus are in WinControlInput.cpp, painting in ControlPaint.cpp.
#include "platform/controls/Controls.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Controls_p.h"
#include "platform/controls/Forms.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"

REGISTER_CLASS(TWinControl) {
  Class.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
      .Property("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D, true)
      .Property("OnEnter", &TWinControl::OnEnter, &TWinControl::SetOnEnter)
      .Property("OnExit", &TWinControl::OnExit, &TWinControl::SetOnExit)
      .Property("OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::SetOnKeyDown)
      .Property("OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::SetOnKeyPress)
      .Property("OnKeyUp", &TWinControl::OnKeyUp, &TWinControl::SetOnKeyUp);
}

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner), FBrush(std::make_unique<TBrush>()), FSurface(std::make_unique<TSurfaceHolder>()) {
  FBrush->SetColor(Color());
}

TWinControl::~TWinControl() {
  // The form forgets this control as its focused and active one now: once this destructor is
  // done, leaving the parent can no longer tell a windowed control from a plain one.
  if (FParent)
    if (TCustomForm* Form = ::GetParentForm(this); Form && Form != this)
      Form->DefocusControl(this, true);
  // Children owned elsewhere lose their parent; the owner frees them later.
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
  DestroyHandle();
  UnregisterWindow(this);
  ForgetMouseWindow(this);
}

// --- the window ----------------------------------------------------------------------------------

HWND TWinControl::Handle() {
  HandleNeeded();
  return this;
}

void TWinControl::HandleNeeded() {
  if (FHandleAllocated) return;
  if (FParent && !IsTopLevel()) FParent->HandleNeeded();
  CreateHandle();
}

void* TWinControl::Surface() const {
  auto* S = TWindowInternals::Surface(this);
  return S ? S->Widget() : nullptr;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = {};
  Params.Caption = TControl::GetText();
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (ControlStyle().Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (FBorderStyle == bsSingle) {
    if (FCtl3D)
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = Height();
  Params.WndParent = FParent;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

bool TWinControl::IsTopLevel() const { return FParent == nullptr; }

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  FStyle = Params.Style;
  FExStyle = Params.ExStyle;
  FClassStyle = Params.WindowClass.style;
  FHandleAllocated = true;
  RegisterWindow(this);
  FSurface->Surface = CreateWindowSurface(this, IsTopLevel(), Params);
  SendNonClientCalc();
  Perform(WM_CREATE, 0, 0);
}

void TWinControl::CreateHandle() {
  if (FHandleAllocated) return;
  FControlState << csCreating;
  try {
    CreateWnd();
  } catch (...) {
    FControlState >> csCreating;
    throw;
  }
  FControlState >> csCreating;
  CreateChildHandles();
  UpdateShowing();
}

void TWinControl::CreateChildHandles() {
  for (TControl* C : FControls)
    if (auto* W = dynamic_cast<TWinControl*>(C)) W->HandleNeeded();
}

void TWinControl::DestroyWnd() {
  FSurface->Surface.reset();
  FHandleAllocated = false;
  UnregisterWindow(this);
}

void TWinControl::DestroyHandle() {
  if (!FHandleAllocated) return;
  FControlState << csDestroyingHandle;
  for (TControl* C : FControls)
    if (auto* W = dynamic_cast<TWinControl*>(C)) W->DestroyHandle();
  Perform(WM_DESTROY, 0, 0);
  DestroyWnd();
  FControlState >> csDestroyingHandle;
}

void TWinControl::RecreateWnd() {
  if (!FHandleAllocated) return;
  const bool HadFocus = GetFocus() == this;
  DestroyHandle();
  HandleNeeded();
  if (HadFocus && CanFocus()) ::SetFocus(this);
}

// --- children ------------------------------------------------------------------------------------

void TWinControl::InsertControl(TControl* AControl) {
  AControl->FParent = this;
  FControls.push_back(AControl);
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    FTabList.push_back(W);
    if (W->FParentCtl3D) W->FCtl3D = FCtl3D;
    if (FHandleAllocated) W->HandleNeeded();
  }
  AControl->UpdateAnchorRules();
  AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
  AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), 1);
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) W->UpdateShowing();
  AlignControl(AControl);
  if (AControl->Visible()) AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), 0);
  if (FCaptureChild == AControl) FCaptureChild = nullptr;
  if (FMouseControl == AControl) FMouseControl = nullptr;
  if (AControl->Visible()) {
    TRect R = AControl->BoundsRect();
    InvalidateRect(&R, true);
  }
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    if (TCustomForm* Form = ::GetParentForm(this)) Form->DefocusControl(W, true);
    W->DestroyHandle();
    std::erase(FTabList, W);
  }
  std::erase(FControls, AControl);
  AControl->FParent = nullptr;
  Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (; Control; Control = Control->Parent())
    if (Control == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled, bool AllowWinControls,
                                    bool AllLevels) const {
  for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
    TControl* C = *It;
    const bool IsWin = dynamic_cast<TWinControl*>(C) != nullptr;
    if (IsWin && !AllowWinControls) continue;
    if (!C->Visible() || (!C->Enabled() && !AllowDisabled)) continue;
    if (!C->BoundsRect().Contains(P)) continue;
    if (AllLevels && IsWin) {
      auto* W = static_cast<TWinControl*>(C);
      TPoint Inner = W->ParentToClient(P, const_cast<TWinControl*>(this));
      if (TControl* Deeper = W->ControlAtPos(Inner, AllowDisabled, AllowWinControls, true))
        return Deeper;
    }
    return C;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  auto Copy = FControls;
  for (TControl* C : Copy) {
    C->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(unsigned Msg) {
  TMessage M{Msg, 0, 0, 0};
  Broadcast(M);
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TControl* C : FControls)
    if (C->Owner() == Root) Proc(C);
}

// --- tab order -----------------------------------------------------------------------------------

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& L = FParent->FTabList;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : int(It - L.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!FParent) return;
  auto& L = FParent->FTabList;
  std::erase(L, this);
  Value = std::clamp(Value, 0, int(L.size()));
  L.insert(L.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* W : FTabList) {
    List.push_back(W);
    W->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) const {
  std::vector<TWinControl*> List;
  GetTabOrderList(List);
  if (List.empty()) return nullptr;
  const int Count = int(List.size());
  auto It = std::find(List.begin(), List.end(), CurControl);
  int Start = It == List.end() ? (GoForward ? Count - 1 : 0) : int(It - List.begin());
  int I = Start;
  for (int Step = 0; Step < Count; ++Step) {
    I = GoForward ? (I + 1) % Count : (I - 1 + Count) % Count;
    TWinControl* C = List[size_t(I)];
    if (C == CurControl) break;
    if (CheckTabStop && !C->TabStop()) continue;
    if (CheckParent && C->Parent() != this) continue;
    if (C->CanFocus()) return C;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
  if (!Next) return;
  if (TCustomForm* Form = ::GetParentForm(this)) {
    Form->SetActiveControl(Next);
    return;
  }
  Next->SetFocus();
}

// --- look ----------------------------------------------------------------------------------------

void TWinControl::SetCtl3D(bool Value) {
  FParentCtl3D = false;
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  Perform(CM_CTL3DCHANGED, 0, 0);
  NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::SetParentCtl3D(bool Value) {
  if (FParentCtl3D == Value) return;
  FParentCtl3D = Value;
  if (Value && FParent) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
  UpdateNonClient();
}

void TWinControl::SetBorderWidth(int Value) {
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  UpdateNonClient();
}

void TWinControl::SetBevelKind(TBevelKind Value) {
  if (FBevelKind == Value) return;
  FBevelKind = Value;
  UpdateNonClient();
}
void TWinControl::SetBevelInner(TBevelCut Value) {
  FBevelInner = Value;
  UpdateNonClient();
}
void TWinControl::SetBevelOuter(TBevelCut Value) {
  FBevelOuter = Value;
  UpdateNonClient();
}
void TWinControl::SetBevelEdges(TBevelEdges Value) {
  FBevelEdges = Value;
  UpdateNonClient();
}
void TWinControl::SetBevelWidth(int Value) {
  FBevelWidth = std::max(1, Value);
  UpdateNonClient();
}

// --- client area and non-client frame -----------------------------------------------------------

void TWinControl::SendNonClientCalc() {
  // WParam 0: LParam points at the window rectangle (window coordinates), which the handler
  // shrinks to the client rectangle.
  TRect R = Rect(0, 0, Width(), Height());
  Perform(WM_NCCALCSIZE, 0, LPARAM(&R));
  FInsets = {R.Left, R.Top, Width() - R.Right, Height() - R.Bottom};
}

void TWinControl::UpdateNonClient() {
  const TRect Old = FInsets;
  if (FHandleAllocated) {
    TCreateParams Params;
    CreateParams(Params);
    // The scroll bars shown by the scroll-bar calls stay as they are.
    constexpr unsigned Bars = WS_HSCROLL | WS_VSCROLL;
    FStyle = (Params.Style & ~Bars) | (FStyle & Bars);
    FExStyle = Params.ExStyle;
  }
  SendNonClientCalc();
  if (!(Old == FInsets)) {
    Realign();
    Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(ClientWidth(), ClientHeight()));
  }
  InvalidateRect(nullptr, true);
}

TRect TWinControl::ClientRect() const {
  const int W = std::max(0, Width() - FInsets.Left - FInsets.Right);
  const int H = std::max(0, Height() - FInsets.Top - FInsets.Bottom);
  return Rect(0, 0, W, H);
}

TPoint TWinControl::ClientOrigin() const {
  TPoint P = IsTopLevel() || !FParent ? TPoint{Left(), Top()} : FParent->ClientOrigin();
  if (FParent && !IsTopLevel()) {
    P.X += Left();
    P.Y += Top();
  }
  return {P.X + FInsets.Left, P.Y + FInsets.Top};
}

bool TWinControl::ScrollBarShown(int Bar) const {
  return (FStyle & (Bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

// --- bounds and showing --------------------------------------------------------------------------

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int OldW = Width(), OldH = Height();
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Width() != OldW || Height() != OldH) {
    SendNonClientCalc();
    Realign();
    Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(ClientWidth(), ClientHeight()));
  }
  if (auto* S = TWindowInternals::Surface(this)) S->SetGeometry(SurfaceGeometry(this));
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (Parent() == AParent) return;
  if (FHandleAllocated && !AParent && !IsTopLevel()) DestroyHandle();
  const bool Recreate = FHandleAllocated;
  if (Recreate) DestroyHandle();
  TControl::SetParent(AParent);
  if (Recreate && (AParent == nullptr || AParent->HandleAllocated())) HandleNeeded();
  UpdateShowing();
}

bool TWinControl::Showing() const { return FShowing; }

void TWinControl::UpdateShowing() {
  // A top-level window shows while visible (a form is made visible by Show; other top-level
  // windows once their window exists); a child while visible on a showing parent.
  bool NewShowing = IsTopLevel()
                        ? Visible() && (dynamic_cast<TCustomForm*>(this) || FHandleAllocated)
                        : Visible() && Parent() && Parent()->Showing();
  if (NewShowing && !FHandleAllocated) HandleNeeded();
  if (FShowing != NewShowing) {
    FShowing = NewShowing;
    Perform(CM_SHOWINGCHANGED, 0, 0);
  }
  for (TControl* C : FControls)
    if (auto* W = dynamic_cast<TWinControl*>(C)) W->UpdateShowing();
}

TRect SurfaceGeometry(const TWinControl* Control) {
  TRect R = Control->BoundsRect();
  if (Control->Parent() && !TWindowInternals::IsTopLevel(Control)) {
    const TRect In = Control->Parent()->NonClientInsets();
    OffsetRect(R, In.Left, In.Top);
  }
  return R;
}

String TWinControl::GetText() const { return TControl::GetText(); }

// --- alignment -----------------------------------------------------------------------------------

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0 && --FAlignLevel == 0) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (FAlignLevel > 0 || FAligning) {
    FControlState << csAlignmentNeeded;
    return;
  }
  FAligning = true;
  FControlState >> csAlignmentNeeded;
  TRect R = ClientRect();
  AdjustClientRect(R);
  try {
    AlignControls(AControl, R);
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TWinControl::AdjustClientRect(TRect& Rect) {
  InflateRect(Rect, -FBorderWidth, -FBorderWidth);
}

namespace {
// The order controls of one alignment are placed in: by position along the alignment's axis,
// the control being moved (AControl) first among equals.
bool PlacedBefore(TControl* A, TControl* B, TAlign Align, TControl* Moving) {
  auto Key = [Align](TControl* C) {
    switch (Align) {
      case alTop: return C->Top();
      case alBottom: return -(C->Top() + C->Height());
      case alLeft: return C->Left();
      case alRight: return -(C->Left() + C->Width());
      default: return 0;
    }
  };
  if (Key(A) != Key(B)) return Key(A) < Key(B);
  return A == Moving && B != Moving;
}
}  // namespace

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  const TRect Client = ClientRect();
  // Anchored controls follow the parent's size.
  for (TControl* C : FControls) {
    if (C->Align() != alNone || !C->Visible()) continue;
    const TAnchors A = C->Anchors();
    if (!A.Contains(akRight) && !A.Contains(akBottom)) continue;
    if (C == AControl) {
      C->UpdateAnchorRules();
      continue;
    }
    int L = C->Left(), T = C->Top(), W = C->Width(), H = C->Height();
    if (A.Contains(akRight)) {
      const int Right = Client.Width() - C->FAnchorOrigin.X;
      if (A.Contains(akLeft)) W = std::max(0, Right - L);
      else L = Right - W;
    }
    if (A.Contains(akBottom)) {
      const int Bottom = Client.Height() - C->FAnchorOrigin.Y;
      if (A.Contains(akTop)) H = std::max(0, Bottom - T);
      else T = Bottom - H;
    }
    const TPoint Saved = C->FAnchorOrigin;
    C->SetBounds(L, T, W, H);
    C->FAnchorOrigin = Saved;
  }
  for (TAlign Align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> List;
    for (TControl* C : FControls)
      if (C->Align() == Align && C->Visible()) List.push_back(C);
    std::stable_sort(List.begin(), List.end(),
                     [&](TControl* A, TControl* B) { return PlacedBefore(A, B, Align, AControl); });
    for (TControl* C : List) {
      int L = Rect.Left, T = Rect.Top, W = Rect.Width(), H = Rect.Height();
      switch (Align) {
        case alTop: H = C->Height(); Rect.Top += H; break;
        case alBottom: H = C->Height(); T = Rect.Bottom - H; Rect.Bottom -= H; break;
        case alLeft: W = C->Width(); Rect.Left += W; break;
        case alRight: W = C->Width(); L = Rect.Right - W; Rect.Right -= W; break;
        default: break;
      }
      C->SetBounds(L, T, std::max(0, W), std::max(0, H));
      // The control may refuse a size (fixed height, auto size): the space it took counts.
      if (Align == alTop) Rect.Top += C->Height() - H;
      if (Align == alLeft) Rect.Left += C->Width() - W;
    }
  }
}

// --- dispatch ------------------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& Message) {
  const unsigned Msg = Message.Msg;
  if (Msg >= WM_MOUSEFIRST && Msg <= WM_MBUTTONDBLCLK && RouteToGraphicChild(Message)) return;
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); return;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); return;
    case WM_NCPAINT: WMNCPaint(Message); return;
    case WM_NCHITTEST: WMNCHitTest(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_SETCURSOR: WMSetCursor(Message); return;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: WMKeyDown(Message); return;
    case WM_KEYUP: case WM_SYSKEYUP: WMKeyUp(Message); return;
    case WM_CHAR: WMChar(Message); return;
    case WM_SIZE: WMSize(Message); return;
    case WM_COMMAND: case WM_HSCROLL: case WM_VSCROLL: ReflectToChild(Message); return;
    case CN_KEYDOWN: case CN_SYSKEYDOWN: CNKeyDown(Message); return;
    case CN_KEYUP: CNKeyUp(Message); return;
    case CN_CHAR: case CN_SYSCHAR: CNChar(Message); return;
    case CM_ENTER: CMEnter(Message); return;
    case CM_EXIT: CMExit(Message); return;
    case CM_DIALOGKEY: CMDialogKey(Message); return;
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_CHILDKEY: CMChildKey(Message); return;
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); return;
    case CM_PARENTCTL3DCHANGED: CMParentCtl3DChanged(Message); return;
    case CM_RECREATEWND: CMRecreateWnd(Message); return;
    case CM_INVALIDATE: CMInvalidate(Message); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); return;
    case CM_COLORCHANGED: CMColorChanged(Message); return;
    case CM_FONTCHANGED: CMFontChanged(Message); return;
    case CM_ENABLEDCHANGED: CMEnabledChangedWin(Message); return;
    case CM_VISIBLECHANGED:
      TControl::Dispatch(Message);
      UpdateShowing();
      return;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
    default: TControl::Dispatch(Message);
  }
}

namespace {

// What the native window procedure answers to WM_NCHITTEST: the client area, the window's own
// scroll bars, the rest of the frame, or nowhere outside the window.
int NonClientHitTest(TWinControl* W, TPoint ScreenPos) {
  if (W->ClientRect().Contains(W->ScreenToClient(ScreenPos))) return HTCLIENT;
  const TPoint P = WindowPoint(W, ScreenPos);
  if (!Rect(0, 0, W->Width(), W->Height()).Contains(P)) return HTNOWHERE;
  const int Bar = ScrollBarHitTest(W, P);
  return Bar != HTNOWHERE ? Bar : HTBORDER;
}

}  // namespace

void TWinControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintHandler(Message); return;
    case WM_NCPAINT:
      if (Message.WParam) PaintNonClient(reinterpret_cast<HDC>(Message.WParam));
      return;
    case WM_NCHITTEST: Message.Result = NonClientHitTest(this, {GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}); return;
    case WM_NCLBUTTONDOWN:
      // The window's own scroll bars track the press (LParam the screen point).
      if (Message.WParam == HTVSCROLL || Message.WParam == HTHSCROLL)
        ScrollBarMouseDown(this, WindowPoint(this, {GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}));
      return;
    case WM_SYSTIMER: ScrollBarSystemTimer(this, unsigned(Message.WParam)); return;
    case WM_CANCELMODE:
      ScrollBarCancelMode(this);
      TControl::DefaultHandler(Message);
      return;
    case WM_MOUSEACTIVATE: Message.Result = MA_ACTIVATE; return;
    case WM_GETDLGCODE: Message.Result = 0; return;
    case WM_CONTEXTMENU:
      // The native window procedure passes an unanswered context menu to the parent.
      if (Parent() && !IsTopLevel()) Message.Result = Parent()->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
      return;
    case WM_SETCURSOR:
      if (Parent() && !IsTopLevel()) Message.Result = Parent()->Perform(WM_SETCURSOR, Message.WParam, Message.LParam);
      if (Message.Result == 0 && TWMSetCursor{Message}.HitTest() == HTCLIENT) {
        ShowCursorOver(Message, crArrow);
        Message.Result = 1;
      }
      return;
    case WM_CLOSE: return;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
      // F10, or Alt pressed and released alone, puts the form's menu bar in keyboard mode.
      const bool F10 = Message.Msg == WM_SYSKEYDOWN && Message.WParam == VK_F10 &&
                       GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
      const bool AltAlone = Message.Msg == WM_SYSKEYUP && Message.WParam == VK_MENU && AltReleasedAlone();
      if (F10 || AltAlone)
        if (TCustomForm* Form = ::GetParentForm(this)) Form->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0);
      return;
    }
    case WM_SYSCHAR:
      // Alt and a letter opens the form's menu at the item with that accelerator.
      if (TCustomForm* Form = ::GetParentForm(this))
        Message.Result = Form->Perform(WM_SYSCOMMAND, SC_KEYMENU, LPARAM(Message.WParam));
      return;
    default: TControl::DefaultHandler(Message);
  }
}

// --- notifications -------------------------------------------------------------------------------

void TWinControl::WMSize(TMessage& Message) {
  UpdateAnchorRules();
  DefaultHandler(Message);
}

void TWinControl::ReflectToChild(TMessage& Message) {
  // A child's notification (WM_COMMAND, WM_xSCROLL) goes back to it as CN_BASE + the message.
  if (auto* Child = reinterpret_cast<TControl*>(Message.LParam)) {
    if (ContainsControl(Child) && Child != this) {
      Message.Result = Child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::CMCtl3DChanged(TMessage& Message) {
  RecreateWnd();
  UpdateNonClient();
  DefaultHandler(Message);
}

void TWinControl::CMParentCtl3DChanged(TMessage& Message) {
  if (FParentCtl3D && Parent() && FCtl3D != Parent()->Ctl3D()) {
    FCtl3D = Parent()->Ctl3D();
    Perform(CM_CTL3DCHANGED, 0, 0);
    NotifyControls(CM_PARENTCTL3DCHANGED);
  }
  DefaultHandler(Message);
}

void TWinControl::CMRecreateWnd(TMessage& Message) {
  RecreateWnd();
  DefaultHandler(Message);
}

void TWinControl::CMInvalidate(TMessage& Message) {
  InvalidateRect(nullptr, true);
  DefaultHandler(Message);
}

void TWinControl::CMShowingChanged(TMessage& Message) {
  if (auto* S = TWindowInternals::Surface(this)) {
    S->SetGeometry(SurfaceGeometry(this));
    S->SetVisible(FShowing, true);
  }
  if (!FShowing && GetFocus() && (GetFocus() == this || IsChild(this, GetFocus()))) {
    if (TCustomForm* Form = ::GetParentForm(this)) Form->DefocusControl(this, false);
  }
  DefaultHandler(Message);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  FBrush->SetColor(Color());
  NotifyControls(CM_PARENTCOLORCHANGED);
  InvalidateRect(nullptr, true);
  DefaultHandler(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  NotifyControls(CM_PARENTFONTCHANGED);
  InvalidateRect(nullptr, true);
  DefaultHandler(Message);
}

void TWinControl::CMEnabledChangedWin(TMessage& Message) {
  if (!Enabled() && GetFocus() && (GetFocus() == this || IsChild(this, GetFocus()))) {
    if (TCustomForm* Form = ::GetParentForm(this)) Form->DefocusControl(this, false);
  }
  FStyle = Enabled() ? (FStyle & ~WS_DISABLED) : (FStyle | WS_DISABLED);
  TControl::Dispatch(Message);
}
