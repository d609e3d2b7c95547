// DBCtrlsZkCheckBox.cpp - the data-aware check box: three states mapped to a field or an own
// value, toggling by click, Space and button commands, and its own painting.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include "gridlib/toolkit/DBCtrlsZk_p.h"

#include <algorithm>

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/SysUtils.h"

bool ValueInList(const String& List, const String& Text) {
  if (List.empty()) return false;
  // Every item counts, so a list ending with ';' also matches the empty text.
  std::size_t Start = 0;
  for (;;) {
    std::size_t End = List.find(u';', Start);
    if (End == String::npos) End = List.size();
    if (CompareTextIgnoreCase(Trim(List.substr(Start, End - Start)), Text) == 0) return true;
    if (End == List.size()) return false;
    Start = End + 1;
  }
}

namespace {
String FirstItem(const String& List) { return Trim(List.substr(0, List.find(u';'))); }
}  // namespace

TCustomDBCheckBoxZk::TCustomDBCheckBoxZk(TComponent* AOwner)
    : TButtonControl(AOwner), FDataLink(std::make_unique<TFieldDataLinkZk>()) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
  SetControlStyle((ControlStyle() - TControlStyle{csDoubleClicks}) +
                  TControlStyle{csReplicatable, csClickEvents});
  FDataLink->SetControl(this);
  FDataLink->DataIndependentValue = Variant(false);
  FDataLink->OnDataChange = [this](TObject*) { DataChange(); };
  FDataLink->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TCustomDBCheckBoxZk::~TCustomDBCheckBoxZk() {
  FDataLink->OnDataChange = nullptr;
  FDataLink->OnUpdateData = nullptr;
  FDataLink->SetDataSource(nullptr);
}

// --- properties -----------------------------------------------------------------------------------

void TCustomDBCheckBoxZk::SetAlignment(TLeftRight Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  RecreateWnd();
  Invalidate();
}

void TCustomDBCheckBoxZk::SetAlwaysShowBorder(bool Value) {
  if (Value == FAlwaysShowBorder) return;
  FAlwaysShowBorder = Value;
  Invalidate();
}

void TCustomDBCheckBoxZk::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  RecreateWnd();
  Invalidate();
}

void TCustomDBCheckBoxZk::SetValueChecked(const String& Value) {
  FValueCheck = Value;
  DataChange();
}

void TCustomDBCheckBoxZk::SetValueUnchecked(const String& Value) {
  FValueUncheck = Value;
  DataChange();
}

void TCustomDBCheckBoxZk::SetDataField(const String& Value) { FDataLink->SetFieldName(Value); }

void TCustomDBCheckBoxZk::SetDataSource(TDataSource* Value) {
  if (!(FDataLink->DataSourceFixed() && ComponentState().Contains(csLoading)))
    FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
}

void TCustomDBCheckBoxZk::Notification(TComponent* AComponent, TOperation Operation) {
  TButtonControl::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink && AComponent == DataSource()) SetDataSource(nullptr);
}

bool TCustomDBCheckBoxZk::IsStateStored() const {
  return FDataLink->DataIndepended() && FState != cbUnchecked;
}

bool TCustomDBCheckBoxZk::IsDataIndepended() { return FDataLink->DataIndepended(); }

bool TCustomDBCheckBoxZk::ExecuteAction(TBasicAction* Action) {
  return TButtonControl::ExecuteAction(Action);
}

bool TCustomDBCheckBoxZk::UpdateAction(TBasicAction* Action) {
  return TButtonControl::UpdateAction(Action);
}

// --- state and data -------------------------------------------------------------------------------

TCheckBoxState TCustomDBCheckBoxZk::GetStateFromData() {
  if (FDataLink->DataIndepended()) {
    if (VariantsEqual(FDataLink->DataIndependentValue, Variant(true))) return cbChecked;
    if (VariantsEqual(FDataLink->DataIndependentValue, Variant(false))) return cbUnchecked;
    return cbGrayed;
  }
  TField* F = Field();
  if (!F) return cbUnchecked;
  if (dynamic_cast<TBooleanField*>(F) && FValueCheck == u"True" && FValueUncheck == u"False") {
    if (F->IsNull()) return cbGrayed;
    return F->AsBoolean() ? cbChecked : cbUnchecked;
  }
  const String Text = F->Text();
  if (ValueInList(FValueCheck, Text)) return cbChecked;
  if (ValueInList(FValueUncheck, Text)) return cbUnchecked;
  return cbGrayed;
}

void TCustomDBCheckBoxZk::DataChange() {
  InternalSetState(GetStateFromData());
  FModified = false;
}

void TCustomDBCheckBoxZk::InternalSetState(TCheckBoxState Value) {
  if (Value == FState) return;
  FState = Value;
  if (HandleAllocated()) Perform(BM_SETCHECK, WPARAM(Value), 0);
  // The click event only: the virtual Click toggles.
  if (!ClicksDisabled() && OnClick()) OnClick()(this);
  Invalidate();
  FModified = true;
}

void TCustomDBCheckBoxZk::InternalUpdatePostData() {
  if (FDataLink->DataIndepended()) {
    FDataLink->SetValue(FState == cbGrayed ? Null() : Variant(FState == cbChecked));
    return;
  }
  TField* F = Field();
  if (!F) return;
  if (FState == cbGrayed) F->Clear();
  else if (dynamic_cast<TBooleanField*>(F)) F->SetAsBoolean(FState == cbChecked);
  else F->SetText(FirstItem(FState == cbChecked ? FValueCheck : FValueUncheck));
}

void TCustomDBCheckBoxZk::SetState(TCheckBoxState Value) {
  if (ComponentState().Contains(csDesigning) && !FDataLink->DataIndepended()) return;
  if (!FDataLink->DataIndepended())
    if (TDataSet* Set = FDataLink->DataSet()) Set->Edit();
  InternalSetState(Value);
  if (FDataPosting) return;
  try {
    UpdateData();
  } catch (...) {
    FDataLink->Reset();
    throw;
  }
}

void TCustomDBCheckBoxZk::SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }

bool TCustomDBCheckBoxZk::DoUpdateData() {
  return FireUpdateData(FOnUpdateData, this, FDataPosting);
}

void TCustomDBCheckBoxZk::UpdateData() {
  if (!DoUpdateData()) InternalUpdatePostData();
}

void TCustomDBCheckBoxZk::Toggle() {
  if (!FDataLink->Edit()) return;
  switch (FState) {
    case cbUnchecked: InternalSetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: InternalSetState(cbUnchecked); break;
    case cbGrayed: InternalSetState(cbChecked); break;
  }
  FDataLink->Modified();
  Invalidate();
}

// --- input ----------------------------------------------------------------------------------------

// The mouse click, BN_CLICKED and the caption's accelerator all end here; the native button's
// own release emulation is not used, so each of them toggles once.
void TCustomDBCheckBoxZk::Click() { Toggle(); }

bool TCustomDBCheckBoxZk::TakeFocusFirst() {
  if (Focused() || ComponentState().Contains(csDesigning)) return true;
  SetClicksDisabled(true);
  if (CanFocus()) SetFocus();
  SetClicksDisabled(false);
  return Focused();
}

void TCustomDBCheckBoxZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (!TakeFocusFirst()) return;
    FMousePressed = true;
    FMouseInside = true;
    Invalidate();
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomDBCheckBoxZk::MouseMove(TShiftState Shift, int X, int Y) {
  const bool Inside = ClientRect().Contains({X, Y});
  if (FMousePressed && Inside != FMouseInside) {
    FMouseInside = Inside;
    Invalidate();
  }
  TWinControl::MouseMove(Shift, X, Y);
}

void TCustomDBCheckBoxZk::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FMousePressed) {
    FMousePressed = false;
    Invalidate();
  }
  TWinControl::MouseUp(Button, Shift, X, Y);
}

void TCustomDBCheckBoxZk::KeyDown(Word& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE && !FToggleKeyDown) {
    FToggleKeyDown = true;
    Invalidate();
  }
}

void TCustomDBCheckBoxZk::KeyUp(Word& Key, TShiftState Shift) {
  TWinControl::KeyUp(Key, Shift);
  if (Key == VK_SPACE && FToggleKeyDown) {
    FToggleKeyDown = false;
    Toggle();
  }
}

void TCustomDBCheckBoxZk::KeyPress(Char& Key) {
  TButtonControl::KeyPress(Key);
  if (Key == VK_SPACE || Key == VK_BACK) {
    FDataLink->Edit();
  } else if (Key == VK_ESCAPE) {
    FDataLink->Reset();
    Key = 0;
  }
}

void TCustomDBCheckBoxZk::CMExitMessage(TMessage& Message) {
  try {
    FDataLink->UpdateRecord();
  } catch (...) {
    SetFocus();
    throw;
  }
  TButtonControl::Dispatch(Message);
}

void TCustomDBCheckBoxZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_EXIT: CMExitMessage(Message); return;
    case CM_GETDATALINK: Message.Result = LRESULT(FDataLink.get()); return;
    case CM_WANTSPECIALKEY:
      if (Message.WParam == VK_ESCAPE && FModified) {
        Message.Result = 1;
        return;
      }
      break;
    case BM_GETCHECK: Message.Result = LRESULT(FState); return;
    case BM_SETCHECK: Invalidate(); return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseAboveControl = Message.Msg == CM_MOUSEENTER;
      Invalidate();
      break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      TButtonControl::Dispatch(Message);
      if (FMousePressed) {
        // The release no longer counts as a click.
        FMousePressed = false;
        SetControlState(ControlState() - TControlState{csClicked});
        if (MouseCapture()) SetMouseCapture(false);
      }
      FToggleKeyDown = false;
      Invalidate();
      return;
    case WM_LBUTTONDBLCLK:
      if (!TakeFocusFirst()) return;
      break;
    default: break;
  }
  TButtonControl::Dispatch(Message);
}

void TCustomDBCheckBoxZk::CreateWnd() {
  TButtonControl::CreateWnd();
  Perform(BM_SETCHECK, WPARAM(FState), 0);
}

// --- painting -------------------------------------------------------------------------------------

TCanvas* TCustomDBCheckBoxZk::PaintCanvas() const { return FPaintDC ? FPaintDC : Canvas(); }

void TCustomDBCheckBoxZk::PaintWindow(HDC DC) {
  FPaintDC = DC;
  DC->Font()->Assign(Font());
  DC->Brush()->SetStyle(bsSolid);
  DC->Brush()->SetColor(Color());
  DC->FillRect(ClientRect());
  try {
    PaintControl();
  } catch (...) {
    FPaintDC = nullptr;
    throw;
  }
  FPaintDC = nullptr;
}

void TCustomDBCheckBoxZk::PaintControl() {
  if (ControlState().Contains(csPaintCopy)) {
    PaintState(GetStateFromData(), false, false, false);
    return;
  }
  const bool Pressed = (FMouseAboveControl && FMousePressed && FMouseInside) || FToggleKeyDown;
  PaintState(FState, Focused(), FMouseAboveControl, Pressed);
}

void TCustomDBCheckBoxZk::PaintState(TCheckBoxState State, bool Focused, bool Hot,
                                     bool Pressed) {
  TCanvas* C = PaintCanvas();
  C->Brush()->SetColor(Color());
  const TRect Client = ClientRect();
  const bool SquareRight = FAlignment == taLeftJustify;
  const TRect Square = CalcCheckBoxRect(Client, SquareRight ? 1 : 0, 1);
  const TRect Caption = SquareRight ? Rect(0, 0, Square.Left - 5, Client.Bottom)
                                    : Rect(Square.Right + 5, 0, Client.Right, Client.Bottom);
  PaintCaption(Caption, Focused, Hot, Pressed);
  PaintCheckSquare(Square, State, Focused, Hot, Pressed);
}

void TCustomDBCheckBoxZk::PaintCaption(TRect R, bool Focused, bool, bool) {
  TCanvas* C = PaintCanvas();
  C->Font()->Assign(Font());
  C->Brush()->SetColor(Color());
  C->Brush()->SetStyle(bsClear);
  const String Text = Caption();
  TRect T = R;
  DrawText(C, Text, T, DT_CALCRECT | DT_SINGLELINE);
  const int H = T.Height();
  T = Rect(R.Left, (ClientHeight() - H) / 2, R.Left + T.Width(), (ClientHeight() - H) / 2 + H);
  if (IsEnabledInTree() || ComponentState().Contains(csDesigning)) {
    DrawText(C, Text, T, DT_SINGLELINE);
  } else {
    TRect Shadow = T;
    OffsetRect(Shadow, 1, 1);
    C->Font()->SetColor(clBtnHighlight);
    DrawText(C, Text, Shadow, DT_SINGLELINE);
    C->Font()->SetColor(clGrayText);
    DrawText(C, Text, T, DT_SINGLELINE);
  }
  if (!Focused) return;
  InflateRect(T, 1, 1);
  T.Bottom += 1;
  T.Left = std::max(T.Left, 0);
  T.Top = std::max(T.Top, 0);
  T.Right = std::min(T.Right, ClientWidth());
  T.Bottom = std::min(T.Bottom, ClientHeight());
  C->Brush()->SetStyle(bsSolid);
  DrawFocusRect(C, T);
}

void TCustomDBCheckBoxZk::PaintCheckSquare(TRect R, TCheckBoxState State, bool Focused, bool Hot,
                                           bool Pressed) {
  const bool Active = Hot || Focused || (FAlwaysShowBorder && !ThemesActive());
  PaintEditButtonCached(PaintCanvas(), R, Color(), State,
                        IsEnabledInTree() || ComponentState().Contains(csDesigning), Active,
                        FFlat, Pressed ? 1 : 0, bcsCheckboxZk);
}
