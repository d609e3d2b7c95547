// Controls.cpp - TControl: messages, geometry, parent, visibility, colour and font, mouse.
#include "platform/controls/Controls.h"

#include <cstdlib>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Controls_p.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Menus.h"
#include "platform/controls/WinApi.h"

namespace {
TControl::TPopupMenuHandler& PopupHandler() {
  static TControl::TPopupMenuHandler Handler;
  return Handler;
}
}  // namespace

REGISTER_CLASS(TControlCanvas) {}

TControlCanvas::TControlCanvas() = default;
TControlCanvas::~TControlCanvas() = default;

TShortCut ShortCut(Word Key, TShiftState Shift) {
  TShortCut Result = Key & 0xFF;
  if (Shift.Contains(ssShift)) Result |= scShift;
  if (Shift.Contains(ssCtrl)) Result |= scCtrl;
  if (Shift.Contains(ssAlt)) Result |= scAlt;
  return Result;
}

void ShortCutToKey(TShortCut Value, Word& Key, TShiftState& Shift) {
  Key = Value & 0xFF;
  Shift = {};
  if (Value & scShift) Shift << ssShift;
  if (Value & scCtrl) Shift << ssCtrl;
  if (Value & scAlt) Shift << ssAlt;
}

TShiftState KeysToShiftState(unsigned Keys) {
  TShiftState Result;
  if (Keys & MK_SHIFT) Result << ssShift;
  if (Keys & MK_CONTROL) Result << ssCtrl;
  if (Keys & MK_LBUTTON) Result << ssLeft;
  if (Keys & MK_RBUTTON) Result << ssRight;
  if (Keys & MK_MBUTTON) Result << ssMiddle;
  if (GetKeyState(VK_MENU) < 0) Result << ssAlt;
  return Result;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState Result;
  if (GetKeyState(VK_SHIFT) < 0) Result << ssShift;
  if (GetKeyState(VK_CONTROL) < 0) Result << ssCtrl;
  if (KeyData & KF_ALTDOWN_LPARAM) Result << ssAlt;
  return Result;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState Result;
  if (GetKeyState(VK_SHIFT) < 0) Result << ssShift;
  if (GetKeyState(VK_CONTROL) < 0) Result << ssCtrl;
  if (GetKeyState(VK_MENU) < 0) Result << ssAlt;
  if (GetKeyState(VK_LBUTTON) < 0) Result << ssLeft;
  if (GetKeyState(VK_RBUTTON) < 0) Result << ssRight;
  if (GetKeyState(VK_MBUTTON) < 0) Result << ssMiddle;
  return Result;
}

TCustomForm* GetParentForm(const TControl* Control) {
  const TControl* C = Control;
  while (C && C->Parent()) C = C->Parent();
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(C));
}

// =================================================================================================
// TControl
// =================================================================================================

REGISTER_CLASS(TControl) {
  Class.Property("Left", &TControl::Left, &TControl::SetLeft)
      .Property("Top", &TControl::Top, &TControl::SetTop)
      .Property("Width", &TControl::Width, &TControl::SetWidth)
      .Property("Height", &TControl::Height, &TControl::SetHeight)
      .Property("Align", &TControl::Align, &TControl::SetAlign, alNone)
      .Property("Visible", &TControl::Visible, &TControl::SetVisible, true)
      .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
      .Property("Hint", &TControl::Hint, &TControl::SetHint)
      .Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
      .Property("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault)
      .Property("Anchors", &TControl::Anchors, &TControl::SetAnchors, TAnchors{akLeft, akTop})
      .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true)
      .Property("Color", &TControl::Color, &TControl::SetColor)
      .Idents(ColorIdents())
      .Stored([](const TControl& C) { return !C.ParentColor(); })
      .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
      .Property("Font", &TControl::Font, &TControl::SetFont)
      .Stored([](const TControl& C) { return !C.ParentFont(); })
      .Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
      .Property("OnClick", &TControl::OnClick, &TControl::SetOnClick)
      .Property("OnDblClick", &TControl::OnDblClick, &TControl::SetOnDblClick)
      .Property("OnMouseDown", &TControl::OnMouseDown, &TControl::SetOnMouseDown)
      .Property("OnMouseMove", &TControl::OnMouseMove, &TControl::SetOnMouseMove)
      .Property("OnMouseUp", &TControl::OnMouseUp, &TControl::SetOnMouseUp)
      .Property("OnResize", &TControl::OnResize, &TControl::SetOnResize)
      .Property("OnCanResize", &TControl::OnCanResize, &TControl::SetOnCanResize);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->SetOnChange([this](TObject*) { FontChanged(); });
}

TControl::~TControl() {
  if (CaptureControl() == this) SetCaptureControl(nullptr);
  if (FParent) FParent->RemoveControl(this);
  if (FPopupMenu) FPopupMenu = nullptr;
}

// --- messages ------------------------------------------------------------------------------------

LRESULT TControl::Perform(unsigned Msg, WPARAM WParam, LPARAM LParam) {
  TMessage M{Msg, WParam, LParam, 0};
  WindowProc(M);
  return M.Result;
}

void TControl::WindowProc(TMessage& Message) {
  if (FWindowProc)
    FWindowProc(Message);
  else
    WndProc(Message);
}

void TControl::WndProc(TMessage& Message) {
  const unsigned Msg = Message.Msg;
  if (Msg >= WM_MOUSEFIRST && Msg <= WM_MBUTTONDBLCLK) {
    // Without csDoubleClicks a double click is a second press.
    if (!FControlStyle.Contains(csDoubleClicks) &&
        (Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK))
      Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK)
      FControlState << csLButtonDown;
    else if (Message.Msg == WM_LBUTTONUP)
      FControlState >> csLButtonDown;
    if (Message.Msg == WM_MOUSEMOVE && Application) Application->NoteMouseOver(this);
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP:
      WMMouse(Message);
      return;
    case WM_MOUSEMOVE: WMMouseMove(Message); return;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); return;
    case WM_CONTEXTMENU: WMContextMenu(Message); return;
    case WM_CANCELMODE: WMCancelMode(Message); return;
    case CM_MOUSEWHEEL: CMMouseWheel(Message); return;
    case CM_HINTSHOW: CMHintShow(Message); return;
    case CM_MOUSEENTER: CMMouseEnter(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); return;
    case WM_SETTEXT:
      SetTextBuf(Message.LParam ? *reinterpret_cast<const String*>(Message.LParam) : String());
      Message.Result = 1;
      return;
    case WM_GETTEXTLENGTH: Message.Result = LRESULT(GetText().size()); return;
    default: DefaultHandler(Message);
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT:
      if (Message.LParam) *reinterpret_cast<String*>(Message.LParam) = FText;
      Message.Result = LRESULT(FText.size());
      break;
    case WM_SETTEXT:
      FText = Message.LParam ? *reinterpret_cast<const String*>(Message.LParam) : String();
      Message.Result = 1;
      break;
    default: break;
  }
}

// --- geometry ------------------------------------------------------------------------------------

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (AWidth < 0) AWidth = 0;
  if (AHeight < 0) AHeight = 0;
  if (!CanResize(AWidth, AHeight)) {
    AWidth = FWidth;
    AHeight = FHeight;
  }
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool Resized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  BoundsChanged();
  // The whole client area: both the old and the new place are redrawn.
  if (FParent && Visible()) FParent->InvalidateRect(nullptr, true);
  if (Resized) {
    Resize();
  }
  RequestAlign();
}

TRect TControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
void TControl::SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }

void TControl::SetClientSize(int AWidth, int AHeight) {
  TRect Client = ClientRect();
  SetBounds(FLeft, FTop, FWidth - Client.Width() + AWidth, FHeight - Client.Height() + AHeight);
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) return {FLeft, FTop};
  TPoint P = FParent->ClientOrigin();
  return {P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) const {
  TPoint O = ClientOrigin();
  return {P.X + O.X, P.Y + O.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const {
  TPoint O = ClientOrigin();
  return {P.X - O.X, P.Y - O.Y};
}

TPoint TControl::ClientToParent(TPoint P, TWinControl* AParent) const {
  if (!AParent) AParent = FParent;
  if (!AParent) return P;
  return AParent->ScreenToClient(ClientToScreen(P));
}

TPoint TControl::ParentToClient(TPoint P, TWinControl* AParent) const {
  if (!AParent) AParent = FParent;
  if (!AParent) return P;
  return ScreenToClient(AParent->ClientToScreen(P));
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  if (Value != alNone && Value != alCustom) {
    switch (Value) {
      case alTop: FAnchors = {akLeft, akTop, akRight}; break;
      case alBottom: FAnchors = {akLeft, akRight, akBottom}; break;
      case alLeft: FAnchors = {akLeft, akTop, akBottom}; break;
      case alRight: FAnchors = {akRight, akTop, akBottom}; break;
      case alClient: FAnchors = {akLeft, akTop, akRight, akBottom}; break;
      default: break;
    }
  }
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!FParent) return;
  TRect C = FParent->ClientRect();
  FOriginalParentSize = {C.Width(), C.Height()};
  // For right/bottom anchors: the distances to the parent's far edges.
  FAnchorOrigin = {C.Width() - (FLeft + FWidth), C.Height() - (FTop + FHeight)};
}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

bool TControl::CanAutoSize(int&, int&) { return false; }
bool TControl::CanResize(int& NewWidth, int& NewHeight) {
  bool Resize = true;
  if (FOnCanResize) FOnCanResize(this, NewWidth, NewHeight, Resize);
  return Resize;
}

void TControl::AdjustSize() {
  int W = FWidth, H = FHeight;
  if (CanAutoSize(W, H)) SetBounds(FLeft, FTop, W, H);
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::Resize() {
  if (FOnResize) FOnResize(this);
}

void TControl::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  SetBounds(FLeft * M / D, FTop * M / D, FWidth * M / D, FHeight * M / D);
}

// --- parent and visibility ----------------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation(u"A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* W = dynamic_cast<TWinControl*>(Value)) SetParent(W);
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, WPARAM(Value), 0);
  RequestAlign();
}

void TControl::Show() {
  if (FParent) {
    // Showing a child shows the parents too, as the library does.
    for (TWinControl* P = FParent; P && !dynamic_cast<TCustomForm*>(P); P = P->Parent())
      P->SetVisible(true);
  }
  SetVisible(true);
}

void TControl::Hide() { SetVisible(false); }

bool TControl::IsEnabledInTree() const {
  for (const TControl* C = this; C; C = C->Parent())
    if (!C->Enabled()) return false;
  return true;
}

bool TControl::Showing() const {
  return FVisible && FParent && FParent->Showing();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& L = FParent->FControls;
  std::erase(L, this);
  L.push_back(this);
  if (auto* W = dynamic_cast<TWinControl*>(this))
    if (auto* Surface = TWindowInternals::Surface(W)) Surface->Raise();
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& L = FParent->FControls;
  std::erase(L, this);
  L.insert(L.begin(), this);
  FParent->InvalidateRect(nullptr, true);
}

// --- text, colour, font --------------------------------------------------------------------------

String TControl::GetText() const {
  String Result;
  const_cast<TControl*>(this)->Perform(WM_GETTEXT, 0, LPARAM(&Result));
  return Result;
}

void TControl::SetText(const String& Value) {
  if (GetText() == Value) return;
  SetTextBuf(Value);
}

void TControl::SetTextBuf(const String& Value) {
  TMessage M{WM_SETTEXT, 0, LPARAM(&Value), 0};
  DefaultHandler(M);
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor != Value) {
    FColor = Value;
    Perform(CM_COLORCHANGED, 0, 0);
  }
  FParentColor = false;
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value && FParent) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetFont(TFont* Value) { FFont->Assign(Value); }

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged() {
  if (!FUpdatingFont) FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent) return;
  if (FColor != FParent->Color()) {
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED, 0, 0);
  }
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FUpdatingFont = true;
  FFont->Assign(FParent->Font());
  FUpdatingFont = false;
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  FShowHint = Value;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (Value && FParent) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

// TPopupMenu is declared in Menus.h and derives from TComponent alone, so its TComponent part
// sits at its start; this unit only needs it for free notification.
void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) reinterpret_cast<TComponent*>(FPopupMenu)->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) reinterpret_cast<TComponent*>(Value)->FreeNotification(this);
}

void TControl::SetPopupMenuHandler(TPopupMenuHandler Handler) { PopupHandler() = std::move(Handler); }

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (reinterpret_cast<TComponent*>(FPopupMenu) == AComponent) FPopupMenu = nullptr;
  if (FAction == AComponent) FAction = nullptr;
}

TCustomForm* TControl::GetParentForm() const { return ::GetParentForm(this); }

// --- painting ------------------------------------------------------------------------------------

void TControl::Invalidate() {
  if (auto* W = dynamic_cast<TWinControl*>(this)) {
    W->InvalidateRect(nullptr, true);
    return;
  }
  if (FParent && FVisible) {
    TRect R = BoundsRect();
    FParent->InvalidateRect(&R, true);
  }
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

// --- mouse ---------------------------------------------------------------------------------------

bool TControl::MouseCapture() const { return CaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  if (!Value) {
    ReleaseCapture();
    return;
  }
  if (auto* W = dynamic_cast<TWinControl*>(this))
    SetCapture(W);
  else
    SetCaptureControl(this);
}

namespace {
TShiftState MouseShift(const TMessage& M) { return KeysToShiftState(unsigned(M.WParam)); }

void SendCancelMode(TControl* Sender) {
  if (TCustomForm* Form = ::GetParentForm(Sender))
    if (TWinControl* Active = Form->ActiveControl())
      Active->Perform(CM_CANCELMODE, 0, LPARAM(Sender));
}
}  // namespace

void TControl::WMMouse(TMessage& Message) {
  const unsigned Msg = Message.Msg;
  const TMouseButton Button = (Msg <= WM_LBUTTONDBLCLK)   ? mbLeft
                              : (Msg <= WM_RBUTTONDBLCLK) ? mbRight
                                                          : mbMiddle;
  const unsigned Kind = (Msg - WM_LBUTTONDOWN) % 3;   // 0 down, 1 up, 2 double click
  if (Kind == 1) {
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (Button == mbLeft && FControlState.Contains(csClicked)) {
      FControlState >> csClicked;
      if (ClientRect().Contains({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}))
        Click();
    }
    DoMouseUpMessage(Message, Button);
    return;
  }
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  TShiftState Shift;
  if (Kind == 2) {
    if (Button == mbLeft && FControlStyle.Contains(csClickEvents)) DblClick();
    Shift << ssDouble;
  } else if (Button == mbLeft && FControlStyle.Contains(csClickEvents)) {
    FControlState << csClicked;
  }
  DoMouseDownMessage(Message, Button, Shift);
}

void TControl::DoMouseDownMessage(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseDown(Button, MouseShift(Message) + Shift, GET_X_LPARAM(Message.LParam),
            GET_Y_LPARAM(Message.LParam));
}

void TControl::DoMouseUpMessage(TMessage& Message, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseUp(Button, MouseShift(Message), GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseMove(MouseShift(Message), GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

void TControl::WMMouseWheel(TMessage& Message) {
  Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  if (Message.Result == 0) DefaultHandler(Message);
}

void TControl::CMMouseWheel(TMessage& Message) {
  TCMMouseWheel W{Message};
  const TShiftState Shift = KeysToShiftState(W.ShiftState());
  if (DoMouseWheel(Shift, W.WheelDelta(), {W.XPos(), W.YPos()})) {
    Message.Result = 1;
    return;
  }
  // Not handled here: the parent gets its chance, as the native window procedure passes it on.
  if (FParent) Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::WMContextMenu(TMessage& Message) {
  TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  bool Handled = false;
  if (FOnContextPopup) FOnContextPopup(this, ScreenToClient(P), Handled);
  if (Handled) {
    Message.Result = 1;
    return;
  }
  if (FPopupMenu && PopupHandler()) {
    PopupHandler()(FPopupMenu, this, P);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
  if (Message.Result == 0 && FParent) Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
}

void TControl::WMCancelMode(TMessage& Message) {
  FControlState >> csClicked;
  if (MouseCapture()) SetMouseCapture(false);
  DefaultHandler(Message);
}

void TControl::CMHintShow(TMessage& Message) { DefaultHandler(Message); }

// LParam 0: the mouse entered this control; otherwise the notice of a child (LParam) passed
// up to the parents, which does not make the parent entered.
void TControl::CMMouseEnter(TMessage& Message) {
  if (Message.LParam == 0) {
    FMouseInClient = true;
    if (FOnMouseEnter) FOnMouseEnter(this);
  }
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, Message.LParam ? Message.LParam : LPARAM(this));
  DefaultHandler(Message);
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (Message.LParam == 0) {
    FMouseInClient = false;
    if (FOnMouseLeave) FOnMouseLeave(this);
  }
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, Message.LParam ? Message.LParam : LPARAM(this));
  DefaultHandler(Message);
}

void TControl::CMParentFontChanged(TMessage& Message) {
  ParentFontChanged();
  DefaultHandler(Message);
}

void TControl::CMParentColorChanged(TMessage& Message) {
  ParentColorChanged();
  DefaultHandler(Message);
}

void TControl::CMParentShowHintChanged(TMessage& Message) {
  if (FParentShowHint && FParent) FShowHint = FParent->ShowHint();
  DefaultHandler(Message);
}

void TControl::CMEnabledChanged(TMessage& Message) {
  Invalidate();
  DefaultHandler(Message);
}

void TControl::CMVisibleChanged(TMessage& Message) {
  if (FParent) {
    TRect R = BoundsRect();
    FParent->InvalidateRect(&R, true);
  }
  DefaultHandler(Message);
}

// --- events --------------------------------------------------------------------------------------

void TControl::Click() {
  if (FOnClick) {
    FOnClick(this);
    return;
  }
  if (FAction) FAction->Execute();
}

void TControl::DblClick() {
  if (FOnDblClick) FOnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FOnMouseDown) FOnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (FOnMouseMove) FOnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FOnMouseUp) FOnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool Result = false;
  if (FOnMouseWheel) FOnMouseWheel(this, Shift, WheelDelta, MousePos, Result);
  if (Result) return true;
  FWheelAccumulator += WheelDelta;
  while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
    const bool Down = FWheelAccumulator < 0;
    FWheelAccumulator = std::abs(FWheelAccumulator) - WHEEL_DELTA;
    if (Down) {
      FWheelAccumulator = -FWheelAccumulator;
      Result = DoMouseWheelDown(Shift, MousePos);
    } else {
      Result = DoMouseWheelUp(Shift, MousePos);
    }
  }
  return Result;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool Handled = false;
  if (FOnMouseWheelDown) FOnMouseWheelDown(this, Shift, MousePos, Handled);
  return Handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool Handled = false;
  if (FOnMouseWheelUp) FOnMouseWheelUp(this, Shift, MousePos, Handled);
  return Handled;
}

// --- actions -------------------------------------------------------------------------------------

void TControl::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (FAction) FAction->RemoveFreeNotification(this);
  FAction = Value;
  if (Value) Value->FreeNotification(this);
}

bool TControl::ExecuteAction(TBasicAction*) { return false; }
bool TControl::UpdateAction(TBasicAction*) { return false; }
