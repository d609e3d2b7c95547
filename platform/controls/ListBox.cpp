// ListBox.cpp - TCustomListBox: rows, selection, keys, type-ahead, owner draw and virtual data.
#include "platform/controls/StdCtrls.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TCustomListBox) {
  Class.Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight, 16)
      .Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted, false)
      .Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle, lbStandard)
      .Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
}
REGISTER_CLASS(TListBox) {}

namespace {
// Type-ahead forgets what was typed after this pause.
constexpr unsigned TypeAheadResetMs = 2000;
}  // namespace

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      FCanvas(std::make_unique<TControlCanvas>()),
      FItems(std::make_unique<TStringList>()) {
  FCanvas->SetControl(this);
  FItems->SetOnChange([this](TObject*) { ItemsChanged(); });
  SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetBorderStyle(bsSingle);
}

TCustomListBox::~TCustomListBox() { FItems->SetOnChange(nullptr); }

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= WS_VSCROLL;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBar();
}

void TCustomListBox::ItemsChanged() {
  if (FItemIndex >= ItemCount()) FItemIndex = -1;
  SetTopIndex(FTopIndex);
  UpdateScrollBar();
  Invalidate();
}

int TCustomListBox::ItemCount() const { return IsVirtual() ? FCount : FItems->Count(); }

void TCustomListBox::SetCount(int Value) {
  FCount = std::max(Value, 0);
  ItemsChanged();
}

String TCustomListBox::ItemText(int Index) const {
  if (Index < 0 || Index >= ItemCount()) return String();
  if (!IsVirtual()) return FItems->Get(Index);
  String Data;
  if (FOnData) FOnData(const_cast<TCustomListBox*>(this), Index, Data);
  return Data;
}

void TCustomListBox::Clear() {
  FItems->Clear();
  FCount = 0;
  FItemIndex = -1;
  FTopIndex = 0;
  ItemsChanged();
}

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= ItemCount()) Value = -1;
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  if (Value >= 0) {
    if (Value < FTopIndex) SetTopIndex(Value);
    else if (Value >= FTopIndex + VisibleRows()) SetTopIndex(Value - VisibleRows() + 1);
  }
  Invalidate();
}

void TCustomListBox::SetTopIndex(int Value) {
  const int MaxTop = std::max(0, ItemCount() - VisibleRows());
  Value = std::clamp(Value, 0, MaxTop);
  if (FTopIndex == Value) return;
  FTopIndex = Value;
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value <= 0) return;
  FItemHeight = Value;
  ItemsChanged();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  FStyle = Value;
  ItemsChanged();
}

void TCustomListBox::SetSorted(bool Value) {
  FSorted = Value;
  FItems->SetSorted(Value);
}

void TCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  SetTopIndex(FTopIndex);
  UpdateScrollBar();
}

int TCustomListBox::VisibleRows() const {
  return std::max(1, ClientHeight() / std::max(FItemHeight, 1));
}

int TCustomListBox::ItemAtPos(TPoint P, bool Existing) const {
  const int Count = ItemCount();
  if (P.Y < 0 || P.X < 0 || P.X >= ClientWidth()) return Existing ? -1 : Count;
  const int Index = FTopIndex + P.Y / FItemHeight;
  if (Index < Count) return Index;
  return Existing ? -1 : Count;
}

TRect TCustomListBox::ItemRect(int Index) const {
  const int Row = Index - FTopIndex;
  return Rect(0, Row * FItemHeight, ClientWidth(), (Row + 1) * FItemHeight);
}

void TCustomListBox::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  // A list box created without WS_VSCROLL never shows its own bar.
  TCreateParams Params;
  CreateParams(Params);
  if (!(Params.Style & WS_VSCROLL)) return;
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  Info.nMin = 0;
  Info.nMax = std::max(ItemCount() - 1, 0);
  Info.nPage = unsigned(VisibleRows());
  Info.nPos = FTopIndex;
  SetScrollInfo(this, SB_VERT, Info, true);
}

// --- user selection ---------------------------------------------------------------------------

void TCustomListBox::SelectByUser(int Index) {
  const int Count = ItemCount();
  if (Count == 0) return;
  Index = std::clamp(Index, 0, Count - 1);
  if (Index == FItemIndex) return;
  SetItemIndex(Index);
  Click();
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    const int Index = ItemAtPos({X, Y}, true);
    if (Index >= 0) SelectByUser(Index);
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
  if (Shift.Contains(ssLeft) && MouseCapture()) {
    const int Index = ItemAtPos({X, std::clamp(Y, 0, ClientHeight() - 1)}, true);
    if (Index >= 0) SelectByUser(Index);
  }
  TWinControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::KeyDown(Word& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  const int Page = std::max(VisibleRows() - 1, 1);
  switch (Key) {
    case VK_UP: SelectByUser(FItemIndex - 1); break;
    case VK_DOWN: SelectByUser(FItemIndex + 1); break;
    case VK_PRIOR: SelectByUser(FItemIndex - Page); break;
    case VK_NEXT: SelectByUser(FItemIndex + Page); break;
    case VK_HOME: SelectByUser(0); break;
    case VK_END: SelectByUser(ItemCount() - 1); break;
    default: return;
  }
  Key = 0;
}

// Type-ahead: the typed prefix selects the first item starting with it.
void TCustomListBox::KeyPress(Char& Key) {
  TWinControl::KeyPress(Key);
  if (!FAutoComplete || Key < u' ') {
    if (Key == VK_BACK) FTypeAhead.clear();
    return;
  }
  const unsigned Now = GetTickCount();
  if (Now - FTypeAheadTime > TypeAheadResetMs) FTypeAhead.clear();
  FTypeAheadTime = Now;
  FTypeAhead += Key;
  const int Found = IndexOfPrefix(FTypeAhead);
  if (Found >= 0) SelectByUser(Found);
  Key = 0;
}

int TCustomListBox::IndexOfPrefix(const String& Prefix) const {
  const String Wanted = AnsiUpperCase(Prefix);
  for (int I = 0; I < ItemCount(); ++I)
    if (AnsiUpperCase(ItemText(I)).compare(0, Wanted.size(), Wanted) == 0) return I;
  return -1;
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case LB_GETCURSEL: Message.Result = FItemIndex; return;
    case LB_SETCURSEL: SetItemIndex(int(std::intptr_t(Message.WParam))); return;
    case LB_GETTOPINDEX: Message.Result = FTopIndex; return;
    case LB_SETTOPINDEX: SetTopIndex(int(Message.WParam)); return;
    case LB_GETITEMHEIGHT: Message.Result = FItemHeight; return;
    case WM_VSCROLL: {
      if (Message.LParam) {   // a child scroll bar's notice: reflected to it
        TWinControl::Dispatch(Message);
        return;
      }
      const int Page = std::max(VisibleRows() - 1, 1);
      if (const std::optional<int> Top = ScrollCodePos(LOWORD(Message.WParam), FTopIndex, 1, Page,
                                                       SmallInt(HIWORD(Message.WParam)), 0, ItemCount()))
        SetTopIndex(*Top);
      return;
    }
    case CM_MOUSEWHEEL: {
      TCMMouseWheel W{Message};
      SetTopIndex(FTopIndex - W.WheelDelta() / WHEEL_DELTA * 3);
      Message.Result = 1;
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TWinControl::Dispatch(Message);
      Invalidate();
      return;
    case WM_LBUTTONDBLCLK:
      TWinControl::Dispatch(Message);
      DblClick();
      return;
    default: TWinControl::Dispatch(Message);
  }
}

// --- painting ------------------------------------------------------------------------------------

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  const bool OwnerDraw = FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable ||
                         FStyle == lbVirtualOwnerDraw;
  if (OwnerDraw && FOnDrawItem) {
    FOnDrawItem(this, Index, Rect, State);
    return;
  }
  TCanvas* C = FCanvas.get();
  C->FillRect(Rect);
  TRect T = Rect;
  T.Left += 2;
  C->Brush()->SetStyle(bsClear);
  DrawText(C, ItemText(Index), T, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  C->Brush()->SetStyle(bsSolid);
}

void TCustomListBox::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(FCanvas.get(), DC, Font(), Color());
  TCanvas* C = FCanvas.get();
  C->FillRect(ClientRect());
  const int Last = std::min(ItemCount(), FTopIndex + VisibleRows() + 1);
  for (int I = FTopIndex; I < Last; ++I) {
    TOwnerDrawState State;
    const bool Selected = I == FItemIndex;
    if (Selected) State << odSelected;
    if (Selected && Focused()) State << odFocused;
    if (!IsEnabledInTree()) State << odDisabled;
    C->Font()->Assign(Font());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Selected ? clHighlight : Color());
    if (Selected) C->Font()->SetColor(clHighlightText);
    const TRect R = ItemRect(I);
    DrawItem(I, R, State);
    if (State.Contains(odFocused)) DrawFocusRect(C, R);
  }
}
