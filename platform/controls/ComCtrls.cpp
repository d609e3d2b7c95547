// ComCtrls.cpp - page control and tab sheets, tool bar and tool buttons, status bar, scroll box.
#include "platform/controls/ComCtrls.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Menus.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/WinDraw.h"

REGISTER_CLASS(TTabSheet) {
  Class.Property("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption)
      .Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true)
      .Property("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex, -1)
      .Property("OnShow", &TTabSheet::OnShow, &TTabSheet::SetOnShow)
      .Property("OnHide", &TTabSheet::OnHide, &TTabSheet::SetOnHide);
}
REGISTER_CLASS(TPageControl) {
  Class.Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
      .Property("OnChange", &TPageControl::OnChange, &TPageControl::SetOnChange);
}
REGISTER_CLASS(TToolButton) {
  Class.Property("Caption", &TToolButton::Caption, &TToolButton::SetCaption)
      .Property("Style", &TToolButton::Style, &TToolButton::SetStyle, tbsButton)
      .Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex, -1)
      .Property("Down", &TToolButton::Down, &TToolButton::SetDown, false)
      .Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped, false);
}
REGISTER_CLASS(TToolBar) {
  Class.Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth, 23)
      .Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight, 22)
      .Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat, false)
      .Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions, false);
}
REGISTER_CLASS(TStatusPanel) {
  Class.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
      .Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth, 50);
}
REGISTER_CLASS(TStatusBar) {
  Class.Property("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel, false)
      .Property("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
}
REGISTER_CLASS(TScrollBox) {}

void RegisterComCtrlsClasses() {
  RegisterClasses({TTabSheet::ClassInfo(), TPageControl::ClassInfo(), TToolButton::ClassInfo(),
                   TToolBar::ClassInfo(), TStatusPanel::ClassInfo(), TStatusBar::ClassInfo(),
                   TScrollBox::ClassInfo()});
}

namespace {
constexpr int TabPadding = 12;
const unsigned AlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
}  // namespace

// --- TTabSheet ------------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  SetAlign(alClient);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
  if (FPageControl == Value) return;
  if (FPageControl) FPageControl->RemovePage(this);
  SetParent(Value);
  if (Value) Value->InsertPage(this);
}

void TTabSheet::SetParentComponent(TComponent* Value) {
  if (auto* Pages = dynamic_cast<TPageControl*>(Value))
    SetPageControl(Pages);
  else
    TWinControl::SetParentComponent(Value);
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  auto& P = FPageControl->FPages;
  return int(std::find(P.begin(), P.end(), this) - P.begin());
}

void TTabSheet::SetTabVisible(bool Value) {
  FTabVisible = Value;
  if (FPageControl) FPageControl->Invalidate();
}

void TTabSheet::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->Invalidate();
  TWinControl::Dispatch(Message);
}

void TTabSheet::PaintWindow(HDC DC) {
  DC->Brush()->SetColor(Color());
  DC->Brush()->SetStyle(bsSolid);
  DC->FillRect(ClientRect());
}

// --- TPageControl ---------------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csDoubleClicks, csOpaque, csCaptureMouse});
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  for (TTabSheet* P : FPages) P->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  if (!FActivePage) SetActivePage(Page);
  Invalidate();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  std::erase(FPages, Page);
  Page->FPageControl = nullptr;
  if (FActivePage == Page) {
    FActivePage = nullptr;
    if (!FPages.empty()) SetActivePage(FPages.front());
  }
  Invalidate();
}

void TPageControl::ShowPage(TTabSheet* Page) {
  if (Page) {
    Page->BringToFront();
    Page->SetVisible(true);
  }
}

void TPageControl::SetActivePage(TTabSheet* Value) {
  if (Value && Value->FPageControl != this) return;
  if (FActivePage == Value) return;
  TTabSheet* Old = FActivePage;
  FActivePage = Value;
  ShowPage(Value);
  if (Old) {
    Old->SetVisible(false);
    if (Old->FOnHide) Old->FOnHide(Old);
  }
  if (Value && Value->FOnShow) Value->FOnShow(Value);
  Invalidate();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[size_t(Value)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* Current, bool GoForward) const {
  const int N = PageCount();
  if (N == 0) return nullptr;
  int I = Current ? Current->PageIndex() : (GoForward ? -1 : N);
  for (int K = 0; K < N; ++K) {
    I = (I + (GoForward ? 1 : -1) + N) % N;
    if (FPages[size_t(I)]->TabVisible()) return FPages[size_t(I)];
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward) {
  if (TTabSheet* P = FindNextPage(FActivePage, GoForward)) ChangeByUser(P);
}

bool TPageControl::ChangeByUser(TTabSheet* Page) {
  if (Page == FActivePage) return true;
  bool Allow = true;
  if (FOnChanging) FOnChanging(this, Allow);
  if (!Allow) return false;
  SetActivePage(Page);
  if (FOnChange) FOnChange(this);
  return true;
}

int TPageControl::TabHeight() {
  Canvas()->Font()->Assign(Font());
  return Canvas()->TextHeight(u"Wg") + 6;
}

TRect TPageControl::TabRect(int PageIndex) {
  Canvas()->Font()->Assign(Font());
  int X = 2;
  const int H = TabHeight();
  for (int I = 0; I < PageCount(); ++I) {
    TTabSheet* P = FPages[size_t(I)];
    if (!P->TabVisible()) continue;
    const int W = Canvas()->TextWidth(P->Caption()) + TabPadding;
    if (I == PageIndex) return Rect(X, 2, X + W, H);
    X += W;
  }
  return TRect();
}

int TPageControl::IndexOfTabAt(int X, int Y) {
  for (int I = 0; I < PageCount(); ++I)
    if (FPages[size_t(I)]->TabVisible() && TabRect(I).Contains({X, Y})) return I;
  return -1;
}

void TPageControl::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect.Top += TabHeight();
  InflateRect(Rect, -4, -4);
  Rect.Top -= 2;
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int I = IndexOfTabAt(X, Y);
  if (I < 0) return;
  if (CanFocus() && !Focused()) SetFocus();
  ChangeByUser(FPages[size_t(I)]);
}

void TPageControl::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_LEFT || Key == VK_RIGHT) {
    SelectNextPage(Key == VK_RIGHT);
    Key = 0;
  }
}

void TPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case CM_DIALOGKEY:
      // Ctrl+Tab and Ctrl+Shift+Tab turn the pages from anywhere inside.
      if (Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        Message.Result = 1;
        return;
      }
      TCustomControl::Dispatch(Message);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      Realign();
      Invalidate();
      return;
    default: TCustomControl::Dispatch(Message);
  }
}

void TPageControl::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  C->Brush()->SetColor(Color());
  C->FillRect(R);
  const int H = TabHeight();
  TRect Body = Rect(R.Left, H, R.Right, R.Bottom);
  DrawEdge(C, Body, EDGE_RAISED, BF_RECT);
  for (int I = 0; I < PageCount(); ++I) {
    TTabSheet* P = FPages[size_t(I)];
    if (!P->TabVisible()) continue;
    TRect T = TabRect(I);
    const bool Active = P == FActivePage;
    if (Active) {
      InflateRect(T, 2, 0);
      T.Top -= 2;
      T.Bottom += 1;
    }
    C->Brush()->SetColor(Color());
    C->FillRect(T);
    TRect Edge = T;
    DrawEdge(C, Edge, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(Font());
    TRect Text = T;
    DrawText(C, P->Caption(), Text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    C->Brush()->SetStyle(bsSolid);
    if (Active && Focused()) {
      InflateRect(Text, -3, -3);
      DrawFocusRect(C, Text);
    }
  }
}

// --- TToolButton ----------------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle({csCaptureMouse, csSetCaption});
  SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetStyle(TToolButtonStyle Value) {
  FStyle = Value;
  if (Parent()) Parent()->Realign();
  Invalidate();
}

void TToolButton::SetImageIndex(int Value) {
  FImageIndex = Value;
  Invalidate();
}

void TToolButton::SetDown(bool Value) {
  if (FDown == Value) return;
  if (FDown && !Value && FGrouped && !FAllowAllUp) return;   // one of a group stays down
  FDown = Value;
  if (Value && FGrouped && Parent()) {
    // The neighbouring grouped check buttons (up to a separator) come up.
    const int Me = [&] {
      for (int I = 0; I < Parent()->ControlCount(); ++I)
        if (Parent()->Controls(I) == this) return I;
      return -1;
    }();
    for (int Dir : {-1, 1})
      for (int I = Me + Dir; I >= 0 && I < Parent()->ControlCount(); I += Dir) {
        auto* B = dynamic_cast<TToolButton*>(Parent()->Controls(I));
        if (!B || !B->FGrouped || B->FStyle != tbsCheck) break;
        B->FDown = false;
        B->Invalidate();
      }
  }
  Invalidate();
}

void TToolButton::Click() {
  if (FStyle == tbsCheck) SetDown(!FDown);
  TGraphicControl::Click();
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !IsEnabledInTree() || FStyle == tbsSeparator || FStyle == tbsDivider)
    return;
  FTracking = true;
  FPressed = true;
  Invalidate();
  if (FStyle == tbsDropDown && FDropdownMenu && X >= Width() - 12) {
    FTracking = false;
    FPressed = false;
    const TPoint P = ClientToScreen({0, Height()});
    FDropdownMenu->Popup(P.X, P.Y);
    Invalidate();
  }
}

void TToolButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FTracking) return;
  const bool Inside = ClientRect().Contains({X, Y});
  if (Inside != FPressed) {
    FPressed = Inside;
    Invalidate();
  }
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FTracking || Button != mbLeft) return;
  FTracking = false;
  FPressed = false;
  Invalidate();
  if (ClientRect().Contains({X, Y})) Click();
}

void TToolButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseIn = Message.Msg == CM_MOUSEENTER;
      Invalidate();
      break;
    case WM_CANCELMODE:
      FTracking = FPressed = false;
      Invalidate();
      break;
    case CM_TEXTCHANGED:
      if (Parent()) Parent()->Realign();
      Invalidate();
      break;
    default: break;
  }
  TGraphicControl::Dispatch(Message);
}

void TToolButton::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  if (FStyle == tbsSeparator) return;
  if (FStyle == tbsDivider) {
    TRect L = Rect(R.Width() / 2 - 1, R.Top, R.Width() / 2 + 1, R.Bottom);
    DrawEdge(C, L, EDGE_ETCHED, BF_LEFT);
    return;
  }
  TToolBar* Bar = ToolBar();
  const bool Flat = Bar && Bar->Flat();
  const bool Sunken = FPressed || FDown;
  if (FDown && !FPressed) {
    C->Brush()->SetColor(clBtnHighlight);
    C->FillRect(R);
  }
  if (Sunken || !Flat || (FMouseIn && IsEnabledInTree())) {
    TRect E = R;
    DrawEdge(C, E, Sunken ? BDR_SUNKENOUTER : (Flat ? BDR_RAISEDINNER : EDGE_RAISED), BF_RECT);
  }
  TRect Face = R;
  if (Sunken) OffsetRect(Face, 1, 1);
  TCustomImageList* Images = Bar ? Bar->Images() : nullptr;
  const bool ShowCaption = Bar && Bar->ShowCaptions();
  int TextTop = Face.Top;
  if (Images && FImageIndex >= 0) {
    const int IX = Face.Left + (Face.Width() - Images->Width()) / 2;
    const int IY = ShowCaption ? Face.Top + 3 : Face.Top + (Face.Height() - Images->Height()) / 2;
    Images->Draw(C, IX, IY, FImageIndex, IsEnabledInTree());
    TextTop = IY + Images->Height() + 1;
  }
  if (!ShowCaption && Images) return;
  TRect T = Rect(Face.Left, TextTop, Face.Right, Face.Bottom);
  C->Brush()->SetStyle(bsClear);
  C->Font()->Assign(Font());
  if (!IsEnabledInTree()) C->Font()->SetColor(clGrayText);
  DrawText(C, Caption(), T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// --- TToolBar -------------------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csSetCaption});
  SetAlign(alTop);
  SetBounds(0, 0, 150, 29);
}

void TToolBar::SetButtonWidth(int Value) {
  FButtonWidth = Value;
  Realign();
}
void TToolBar::SetButtonHeight(int Value) {
  FButtonHeight = Value;
  Realign();
}
void TToolBar::SetFlat(bool Value) {
  FFlat = Value;
  Invalidate();
}
void TToolBar::SetShowCaptions(bool Value) {
  FShowCaptions = Value;
  Realign();
}
void TToolBar::SetList(bool Value) {
  FList = Value;
  Realign();
}
void TToolBar::SetWrapable(bool Value) {
  FWrapable = Value;
  Realign();
}
void TToolBar::SetImages(TCustomImageList* Value) {
  FImages = Value;
  Realign();
  Invalidate();
}

int TToolBar::ButtonCount() const {
  int N = 0;
  for (int I = 0; I < ControlCount(); ++I) N += dynamic_cast<TToolButton*>(Controls(I)) ? 1 : 0;
  return N;
}

TToolButton* TToolBar::Buttons(int Index) const {
  for (int I = 0; I < ControlCount(); ++I)
    if (auto* B = dynamic_cast<TToolButton*>(Controls(I)); B && Index-- == 0) return B;
  return nullptr;
}

// Buttons in the order of the children, left to right; a button with a caption grows to fit
// it when captions show.
void TToolBar::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  if (FArranging) return;
  FArranging = true;
  Canvas()->Font()->Assign(Font());
  int X = Rect.Left + 1, Y = Rect.Top + 2;
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (!C->Visible() || C->Align() != alNone) continue;
    int W = C->Width(), H = C->Height();
    if (auto* B = dynamic_cast<TToolButton*>(C)) {
      const bool Sep = B->Style() == tbsSeparator || B->Style() == tbsDivider;
      W = Sep ? 8 : FButtonWidth;
      if (!Sep && FShowCaptions)
        W = std::max(W, Canvas()->TextWidth(StripHotkey(B->Caption())) + 12);
      H = FButtonHeight;
    }
    if (FWrapable && X > Rect.Left + 1 && X + W > Rect.Right) {
      X = Rect.Left + 1;
      Y += FButtonHeight;
    }
    C->SetBounds(X, Y, W, H);
    X += W;
  }
  FArranging = false;
}

void TToolBar::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SIZE || Message.Msg == CM_FONTCHANGED) {
    TCustomControl::Dispatch(Message);
    Realign();
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TToolBar::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

// --- TStatusBar -----------------------------------------------------------------------------------

namespace {
// The status bar's panels: a change repaints the bar.
class TStatusPanels : public TCollection {
public:
  explicit TStatusPanels(TStatusBar* Bar) : TCollection(TStatusPanel::ClassInfo()), FBar(Bar) {}
  void Update(TCollectionItem*) override { FBar->Invalidate(); }

private:
  TStatusBar* FBar;
};
}  // namespace

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::SetText(const String& Value) {
  FText = Value;
  Changed(false);
}
void TStatusPanel::SetWidth(int Value) {
  FWidth = Value;
  Changed(true);
}
void TStatusPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Changed(false);
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TCustomControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
  SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
  SetAlign(alBottom);
  SetBounds(0, 0, 150, 19);
  SetParentColor(false);
  SetColor(clBtnFace);
}

TStatusBar::~TStatusBar() = default;

TStatusPanel* TStatusBar::AddPanel() { return static_cast<TStatusPanel*>(FPanels->Add()); }

TStatusPanel* TStatusBar::Panel(int Index) const {
  return static_cast<TStatusPanel*>(FPanels->Items(Index));
}

void TStatusBar::SetSimplePanel(bool Value) {
  FSimplePanel = Value;
  Invalidate();
}
void TStatusBar::SetSimpleText(const String& Value) {
  FSimpleText = Value;
  Invalidate();
}
void TStatusBar::SetSizeGrip(bool Value) {
  FSizeGrip = Value;
  Invalidate();
}

void TStatusBar::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SIZE) Invalidate();
  TCustomControl::Dispatch(Message);
}

void TStatusBar::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  C->Brush()->SetColor(Color());
  C->FillRect(R);
  C->Font()->Assign(Font());
  auto PaintPanel = [&](TRect P, const String& Text, TAlignment Align) {
    TRect E = P;
    DrawEdge(C, E, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    InflateRect(E, -2, 0);
    C->Brush()->SetStyle(bsClear);
    DrawText(C, Text, E, AlignFlags[Align] | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    C->Brush()->SetStyle(bsSolid);
  };
  R.Top += 2;
  if (FSimplePanel || FPanels->Count() == 0) {
    PaintPanel(R, FSimpleText, taLeftJustify);
    return;
  }
  int X = R.Left;
  for (int I = 0; I < FPanels->Count(); ++I) {
    TStatusPanel* P = Panel(I);
    // The last panel takes the rest of the bar.
    const int Right = I == FPanels->Count() - 1 ? R.Right : std::min(X + P->Width(), R.Right);
    PaintPanel(Rect(X, R.Top, Right, R.Bottom), P->Text(), P->Alignment());
    X = Right + 2;
  }
}

// --- TScrollBox -----------------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  SetControlStyle({csCaptureMouse, csClickEvents, csAcceptsControls, csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 185, 41);
  SetBorderStyle(bsSingle);
  SetTabStop(false);
}
