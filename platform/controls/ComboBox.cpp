// ComboBox.cpp - TCustomComboBox: the plain combo box with its drop-down list window.
#include "platform/controls/StdCtrls.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

// The list a combo box drops down: a top-level window that never takes the focus; the combo
// box keeps the keyboard and routes the list keys to it.
class TComboListBox : public TCustomListBox {
  VORENTA_CLASS(TComboListBox, TCustomListBox)
public:
  TComboListBox(TCustomComboBox* Combo) : TCustomListBox(Combo), FCombo(Combo) {
    SetBorderStyle(bsNone);   // the popup's one-pixel border only: all rows fit its height
    SetVisible(false);
    SetTabStop(false);
  }
  bool CanFocus() const override { return false; }

protected:
  bool IsTopLevel() const override { return true; }
  void CreateParams(TCreateParams& Params) override {
    TCustomListBox::CreateParams(Params);
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP | WS_BORDER;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TCustomListBox::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && ItemAtPos({X, Y}, true) >= 0) FCombo->CloseList(true);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    // The press selects without taking the focus from the combo box.
    const int Index = ItemAtPos({X, Y}, true);
    if (Button == mbLeft && Index >= 0) SetItemIndex(Index);
    TWinControl::MouseDown(Button, Shift, X, Y);
  }
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override {
    if (!FCombo->IsOwnerDraw()) {
      TCustomListBox::DrawItem(Index, Rect, State);
      return;
    }
    FCombo->FDrawCanvas = Canvas();
    FCombo->DrawItem(Index, Rect, State);
    FCombo->FDrawCanvas = nullptr;
  }

private:
  TCustomComboBox* FCombo;
};

REGISTER_CLASS(TComboListBox) {}
REGISTER_CLASS(TCustomComboBox) {
  Class.Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle, csDropDown)
      .Property("DropDownCount", &TCustomComboBox::DropDownCount,
                &TCustomComboBox::SetDropDownCount, 8)
      .Property("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted, false)
      .Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
      .Property("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex, -1);
}
REGISTER_CLASS(TComboBox) {}

namespace {
constexpr int ButtonWidth = 17;
}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomEdit(AOwner), FItems(std::make_unique<TStringList>()) {
  SetMultiLine(true);   // for the formatting rectangle that leaves the button out
  FList = new TComboListBox(this);
  FItems->SetOnChange([this](TObject*) {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  });
  SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() { FItems->SetOnChange(nullptr); }

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  TRect R = ClientRect();
  R.Left += LeftMargin();
  R.Right -= ButtonWidth + RightMargin();
  R.Top += 1;
  if (R.Right < R.Left) R.Right = R.Left;
  Perform(EM_SETRECT, 0, LPARAM(&R));
}

TRect TCustomComboBox::ButtonRect() const {
  TRect R = ClientRect();
  R.Left = std::max(R.Left, R.Right - ButtonWidth);
  return R;
}

void TCustomComboBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= FItems->Count()) Value = -1;
  FItemIndex = Value;
  SetText(Value >= 0 ? FItems->Get(Value) : String());
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  FStyle = Value;
  Perform(EM_SETREADONLY, IsFixedList() ? 1 : 0);
  Invalidate();
}

int TCustomComboBox::ItemHeight() { return FItemHeight > 0 ? FItemHeight : std::max(FontHeight() + 2, 14); }

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (IsOwnerDraw() && FOnDrawItem) {
    FOnDrawItem(this, Index, Rect, State);
    return;
  }
  FDrawCanvas->FillRect(Rect);
  TRect T = Rect;
  T.Left += 2;
  FDrawCanvas->Brush()->SetStyle(bsClear);
  DrawText(FDrawCanvas, FItems->Get(Index), T, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  FDrawCanvas->Brush()->SetStyle(bsSolid);
}

TPoint TCustomComboBox::DropDownSize() {
  const int Rows = std::clamp(FItems->Count(), 1, std::max(FDropDownCount, 1));
  return {Width(), Rows * ItemHeight() + 2};
}

void TCustomComboBox::SetSorted(bool Value) {
  FSorted = Value;
  FItems->SetSorted(Value);
}

void TCustomComboBox::Select() {
  if (FOnSelect) FOnSelect(this);
  else Change();
}

void TCustomComboBox::DropDown() {
  if (FOnDropDown) FOnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (FOnCloseUp) FOnCloseUp(this);
}

void TCustomComboBox::SelectByUser(int Index) {
  if (FItems->Count() == 0) return;
  Index = std::clamp(Index, 0, FItems->Count() - 1);
  if (Index == FItemIndex) return;
  SetItemIndex(Index);
  SelectAll();
  Select();
}

// --- the drop-down list ----------------------------------------------------------------------

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (Value == FDroppedDown) return;
  if (!Value) {
    CloseList(false);
    return;
  }
  DropDown();
  FList->Items()->Assign(FItems.get());
  FList->Font()->Assign(Font());
  FList->SetItemHeight(ItemHeight());
  const TPoint Size = DropDownSize();
  const TPoint P = ClientToScreen({0, Height()});
  FList->SetBounds(P.X, P.Y, Size.X, Size.Y);
  FList->SetItemIndex(FItemIndex);
  FDroppedDown = true;
  ShowWindow(FList->Handle(), SW_SHOWNA);
  FList->SetVisible(true);
  Invalidate();
}

void TCustomComboBox::CloseList(bool Accept) {
  if (!FDroppedDown) return;
  FDroppedDown = false;
  const int Chosen = FList->ItemIndex();
  FList->SetVisible(false);
  Invalidate();
  if (Accept && Chosen >= 0) SelectByUser(Chosen);
  CloseUp();
}

// --- keys and mouse ---------------------------------------------------------------------------

void TCustomComboBox::EditKeyDown(Word Key, TShiftState Shift) {
  const bool Alt = Shift.Contains(ssAlt);
  if (Key == VK_F4 || (Alt && (Key == VK_DOWN || Key == VK_UP))) {
    SetDroppedDown(!FDroppedDown);
    return;
  }
  if (FDroppedDown) {
    const int I = FList->ItemIndex();
    switch (Key) {
      case VK_UP: FList->SetItemIndex(std::max(I - 1, 0)); return;
      case VK_DOWN: FList->SetItemIndex(std::min(I + 1, FList->ItemCount() - 1)); return;
      default: break;
    }
  } else {
    switch (Key) {
      case VK_UP: SelectByUser(FItemIndex - 1); return;
      case VK_DOWN: SelectByUser(FItemIndex + 1); return;
      default: break;
    }
  }
  TCustomEdit::EditKeyDown(Key, Shift);
}

void TCustomComboBox::EditChar(Char C) {
  if (FDroppedDown && (C == VK_RETURN || C == VK_ESCAPE)) {
    CloseList(C == VK_RETURN);
    return;
  }
  if (IsFixedList() && C >= u' ') {
    // A fixed list: the typed letter selects the next item starting with it.
    const String Key = AnsiUpperCase(String(1, C));
    const int Count = FItems->Count();
    for (int K = 1; K <= Count; ++K) {
      const int I = (FItemIndex + K + Count) % Count;
      if (AnsiUpperCase(FItems->Get(I)).compare(0, 1, Key) == 0) {
        SelectByUser(I);
        break;
      }
    }
    return;
  }
  TCustomEdit::EditChar(C);
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && (ButtonRect().Contains({X, Y}) || IsFixedList())) {
    if (CanFocus() && !Focused()) SetFocus();
    SetDroppedDown(!FDroppedDown);
    return;
  }
  TCustomEdit::MouseDown(Button, Shift, X, Y);
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      // Typing in the edit part looks the text up among the items.
      if (HIWORD(Message.WParam) == EN_CHANGE) {
        FItemIndex = FItems->IndexOf(WindowText());
        Change();
        return;
      }
      TCustomEdit::Dispatch(Message);
      return;
    case WM_KILLFOCUS:
    case CM_CANCELMODE:
      CloseList(false);
      TCustomEdit::Dispatch(Message);
      return;
    case WM_GETDLGCODE:
      TCustomEdit::Dispatch(Message);
      if (FDroppedDown) Message.Result |= DLGC_WANTALLKEYS;
      return;
    case CM_MOUSEWHEEL: {
      TCMMouseWheel W{Message};
      if (!FDroppedDown) SelectByUser(FItemIndex - W.WheelDelta() / WHEEL_DELTA);
      Message.Result = 1;
      return;
    }
    default: TCustomEdit::Dispatch(Message);
  }
}

void TCustomComboBox::PaintWindow(HDC DC) {
  if (IsOwnerDraw()) PaintOwnerDrawnFace(DC);
  else TCustomEdit::PaintWindow(DC);
  TCanvasPaintScope Scope(ControlCanvas(), DC, Font(), Color());
  TRect B = ButtonRect();
  unsigned State = DFCS_SCROLLCOMBOBOX;
  if (FDroppedDown) State |= DFCS_PUSHED;
  if (!IsEnabledInTree()) State |= DFCS_INACTIVE;
  DrawFrameControl(ControlCanvas(), B, DFC_SCROLL, State);
}

// The owner-drawn face: the chosen item painted by DrawItem left of the button, highlighted
// while the box has the focus.
void TCustomComboBox::PaintOwnerDrawnFace(HDC DC) {
  TCanvasPaintScope Scope(ControlCanvas(), DC, Font(), Color());
  TCanvas* C = ControlCanvas();
  C->FillRect(ClientRect());
  if (FItemIndex < 0) return;
  TRect R = ClientRect();
  R.Right = ButtonRect().Left;
  InflateRect(R, -1, -1);
  TOwnerDrawState State;
  State << odComboBoxEdit;
  const bool Selected = Focused() && !FDroppedDown;
  if (Selected) State << odSelected << odFocused;
  if (!IsEnabledInTree()) State << odDisabled;
  C->Brush()->SetColor(Selected ? clHighlight : Color());
  if (Selected) C->Font()->SetColor(clHighlightText);
  FDrawCanvas = C;
  DrawItem(FItemIndex, R, State);
  FDrawCanvas = nullptr;
  if (Selected) DrawFocusRect(C, R);
}
