// PopupListboxZk.cpp - the popup list box of the drop-downs.
#include "gridlib/toolkit/PopupListboxZk.h"

#include <algorithm>

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr unsigned SearchResetMs = 2000;
constexpr size_t MaxSearchLength = 32;
constexpr int RaisedFrameWidth = 2;

}  // namespace

REGISTER_CLASS(TPopupListboxZk) {}

TPopupListboxZk::TPopupListboxZk(TComponent* AOwner)
    : TCustomListBox(AOwner), FLink(this), FSizeGrip(new TSizeGripZk(this)) {
  SetVisible(false);
  TControlStyle Style = ControlStyle();
  Style << csReplicatable;
  SetControlStyle(Style);
  SetStyle(lbOwnerDrawFixed);
  SetTabStop(false);
  SetAutoComplete(false);
  // The frame is drawn here (PaintNonClient), not as the list box's client edge.
  SetBorderStyle(bsNone);
  FSizeGrip->SetParent(this);
  SetOnData([this](TWinControl*, int Index, String& Data) { GetExtItemText(Index, Data); });
  SetOnDataObject(
      [this](TWinControl*, int Index, TObject*& Object) { Object = GetExtItemObject(Index); });
}

void TPopupListboxZk::SetUseItemObjects(bool Value) {
  if (FUseItemObjects == Value) return;
  FUseItemObjects = Value;
  Invalidate();
}

void TPopupListboxZk::SetExtItems(TStrings* Value) {
  FExtItems = Value;
  if (Value) {
    SetStyle(lbVirtualOwnerDraw);
    SetCount(Value->Count());
  } else {
    SetStyle(lbOwnerDrawFixed);
  }
  Invalidate();
}

void TPopupListboxZk::GetExtItemText(int Index, String& Text) {
  if (FExtItems && Index >= 0 && Index < FExtItems->Count()) Text = FExtItems->Get(Index);
}

TObject* TPopupListboxZk::GetExtItemObject(int Index) {
  if (FExtItems && Index >= 0 && Index < FExtItems->Count()) return FExtItems->Objects(Index);
  return nullptr;
}

TPopupListboxItemZk* TPopupListboxZk::ItemObject(int Index) const {
  if (!FUseItemObjects || Index < 0 || Index >= ItemCount()) return nullptr;
  TObject* Object = nullptr;
  if (!IsVirtual())
    Object = Items()->Objects(Index);
  else if (OnDataObject())
    OnDataObject()(const_cast<TPopupListboxZk*>(this), Index, Object);
  return dynamic_cast<TPopupListboxItemZk*>(Object);
}

// The list never has the focus but draws its selected item as focused.
void TPopupListboxZk::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  const bool FocusDrawnByList = State.Contains(odFocused);
  if (State.Contains(odSelected)) State << odFocused;
  if (TPopupListboxItemZk* Item = ItemObject(Index)) {
    if (!Item->CanShowFocus(this, Index)) State >> odFocused;
    Item->DrawItem(this, Index, Rect, State);
  } else {
    DefaultDrawItem(Index, Rect, State);
  }
  if (State.Contains(odFocused) && !FocusDrawnByList) DrawFocusRect(Canvas(), Rect);
}

void TPopupListboxZk::SetImageList(TCustomImageList* Value) {
  if (FImageList == Value) return;
  FImageList = Value;
  Invalidate();
}

void TPopupListboxZk::DefaultDrawItem(int Index, const TRect& ARect, TOwnerDrawState State) {
  if (!FImageList) {
    TCustomListBox::DrawItem(Index, ARect, State);
    return;
  }
  // The brush and font colours (highlight for the selected item) are set by the painting.
  TCanvas* C = Canvas();
  int ImageIndex = Index;
  if (FOnGetImageIndex) FOnGetImageIndex(this, Index, ImageIndex);
  TRect Column = ARect;
  Column.Right = Column.Left + FImageList->Width() + 4;
  C->FillRect(Column);
  DrawImageCentered(C, Column, FImageList, ImageIndex, State.Contains(odSelected));
  TRect TextRect = ARect;
  TextRect.Left = Column.Right;
  C->ExtTextOut(ARect.Left + FImageList->Width() + 5, ARect.Top, ETO_CLIPPED | ETO_OPAQUE,
                &TextRect, ItemText(Index));
}

void TPopupListboxZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FIsMouseUpCloseListbox = true;
  const int Index = ItemAtPos({X, Y}, true);
  if (TPopupListboxItemZk* Item = ItemObject(Index))
    Item->MouseDown(this, Index, {X, Y}, Button, Shift);
  TCustomListBox::MouseDown(Button, Shift, X, Y);
}

void TPopupListboxZk::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FIsMouseUpCloseListbox = true;
  const int Index = ItemAtPos({X, Y}, true);
  if (TPopupListboxItemZk* Item = ItemObject(Index))
    Item->MouseUp(this, Index, {X, Y}, Button, Shift, FIsMouseUpCloseListbox);
  TCustomListBox::MouseUp(Button, Shift, X, Y);
}

void TPopupListboxZk::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  SetDropDownParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  if (!Ctl3D()) Params.Style |= WS_BORDER;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TPopupListboxZk::PaintNonClient(HDC DC) {
  if (FBorderWidth == 0) {
    TCustomListBox::PaintNonClient(DC);
    return;
  }
  TRect R = Rect(0, 0, Width(), Height());
  DrawEdge(DC, R, BDR_RAISEDOUTER, BF_RECT);
  InflateRect(R, -1, -1);
  DrawEdge(DC, R, BDR_RAISEDINNER, BF_RECT);
  InflateRect(R, 1 - FBorderWidth, 1 - FBorderWidth);
  PaintScrollBars(DC, R);
}

int TPopupListboxZk::GetTextHeight() const {
  TBitmap Probe(1, 1);
  Probe.Canvas()->SetFont(Font());
  return Probe.Canvas()->TextMetrics().tmHeight;
}

int TPopupListboxZk::RowHeight() const {
  return std::max(ItemHeight() > 0 ? ItemHeight() : GetTextHeight(), 1);
}

int TPopupListboxZk::BorderHeight() const { return Height() - ClientHeight(); }

void TPopupListboxZk::SetRowCount(int Value) {
  SetHeight(std::max(Value, 1) * RowHeight() + BorderHeight());
}

void TPopupListboxZk::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int Border = BorderHeight();
  const int Row = RowHeight();
  FRowCount = std::max((AHeight - Border) / Row, 1);
  AHeight = std::max(Border + FRowCount * Row, GetSystemMetrics(SM_CYVSCROLL));
  AWidth = std::max(AWidth, GetSystemMetrics(SM_CXVSCROLL));
  TCustomListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FSizeGrip) FSizeGrip->UpdatePosition();
  FSizeGripResized = true;
}

void TPopupListboxZk::InvalidateIndex(int Index) {
  if (Index < 0 || !HandleAllocated()) return;
  const TRect R = ItemRect(Index);
  InvalidateRect(&R, false);
}

void TPopupListboxZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZEGRIPCHANGEPOSITION:
      FSizeGrip->ChangePosition(TSizeGripChangePosition(Message.WParam));
      return;
    case WM_NCCALCSIZE:   // the raised frame first, then the border and scroll bars inside it
      if (auto* R = reinterpret_cast<TRect*>(Message.LParam))
        InflateRect(*R, -FBorderWidth, -FBorderWidth);
      TCustomListBox::Dispatch(Message);
      return;
    case CM_CTL3DCHANGED:   // re-creates the window with the new frame, keeping the rows
      FBorderWidth = Ctl3D() ? RaisedFrameWidth : 0;
      TCustomListBox::Dispatch(Message);
      SetRowCount(FRowCount);
      return;
    case CM_MOUSEWHEEL:   // through DoMouseWheel, one row per step
      TWinControl::Dispatch(Message);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TCustomListBox::Dispatch(Message);
      InvalidateIndex(ItemIndex());
      return;
    default: TCustomListBox::Dispatch(Message);
  }
}

// Hot tracking: with no button held, the item under the mouse becomes the selected one.
void TPopupListboxZk::MouseMove(TShiftState Shift, int X, int Y) {
  if (TPopupListboxItemZk* Item = ItemObject(ItemAtPos({X, Y}, true)))
    Item->MouseMove(this, ItemAtPos({X, Y}, true), {X, Y}, Shift);
  TCustomListBox::MouseMove(Shift, X, Y);
  const TPoint P{X, Y};
  if (P == FMousePos) return;
  FMousePos = P;
  if (Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle)) return;
  const int Index = ItemAtPos(P, true);
  if (Index >= 0) SetItemIndex(Index);
  if (Index != FMouseIndex) {
    InvalidateIndex(FMouseIndex);
    InvalidateIndex(Index);
    FMouseIndex = Index;
  }
}

bool TPopupListboxZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TCustomListBox::DoMouseWheelDown(Shift, MousePos)) SetTopIndex(TopIndex() + 1);
  return true;
}

bool TPopupListboxZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TCustomListBox::DoMouseWheelUp(Shift, MousePos)) SetTopIndex(TopIndex() - 1);
  return true;
}

void TPopupListboxZk::KeyPress(Char& Key) {
  if (TPopupListboxItemZk* Item = ItemObject(ItemIndex())) {
    bool IsCloseListbox = false;   // not read after a key press
    Item->KeyPress(this, ItemIndex(), IsCloseListbox, KeyboardShiftState(), Key);
    if (Key == 0) return;
  }
  TCustomListBox::KeyPress(Key);
  if (Key == VK_BACK || Key == VK_ESCAPE) {
    FSearchText.clear();
  } else if (Key > 31) {
    SearchFor(Key);
    Key = 0;
  }
}

// Appends Key to the search text (restarted after a pause) and selects the first item that
// starts with it, ignoring case.
void TPopupListboxZk::SearchFor(Char Key) {
  const unsigned Now = GetTickCount();
  if (Now - FSearchTickCount > SearchResetMs) FSearchText.clear();
  FSearchTickCount = Now;
  if (FSearchText.size() < MaxSearchLength) FSearchText += Key;
  const int Found = IndexOfPrefix(FSearchText);
  if (Found >= 0) SetItemIndex(Found);
}
