// DBCtrlsZkNumberEdit.cpp - the number edit: value and text, typing with live thousand
// separators, stepping, paste with roll-back, and the drop-down calculator.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include "gridlib/toolkit/CalculatorZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool IsNumberVariant(const Variant& V) {
  switch (VarType(V)) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency: return true;
    default: return false;
  }
}

}  // namespace

TCustomDBNumberEditZk::TCustomDBNumberEditZk(TComponent* AOwner) : TCustomDBEditZk(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
  SetMaxLength(0);
  FValue = Null();
  ReplaceEditButton();
  DataChangedAndButtons();
}

TCustomDBNumberEditZk::~TCustomDBNumberEditZk() = default;

TEditButtonZk* TCustomDBNumberEditZk::CreateEditButton() { return new TDropDownEditButtonZk(this); }

TAlignment TCustomDBNumberEditZk::DefaultAlignment() {
  return Field() ? Field()->Alignment() : taRightJustify;
}

Variant TCustomDBNumberEditZk::GetVariantValue() { return FValue; }

// --- properties with field defaults ---------------------------------------------------------------

String TCustomDBNumberEditZk::DisplayFormat() const {
  if (FNumberAssignedValues.Contains(evDisplayFormatZk)) return FDisplayFormat;
  if (auto* F = dynamic_cast<TNumericField*>(Field())) return F->DisplayFormat();
  return String();
}

void TCustomDBNumberEditZk::SetDisplayFormat(const String& Value) {
  if (FNumberAssignedValues.Contains(evDisplayFormatZk) && Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  FNumberAssignedValues << evDisplayFormatZk;
  Invalidate();
  DataChangedAndButtons();
}

bool TCustomDBNumberEditZk::currency() const {
  if (FNumberAssignedValues.Contains(evCurrencyZk)) return FCurrency;
  if (auto* F = dynamic_cast<TFloatField*>(Field())) return F->currency();
  if (auto* F = dynamic_cast<TBCDField*>(Field())) return F->currency();
  return false;
}

void TCustomDBNumberEditZk::SetCurrency(bool Value) {
  if (FNumberAssignedValues.Contains(evCurrencyZk) && Value == FCurrency) return;
  FCurrency = Value;
  FNumberAssignedValues << evCurrencyZk;
  Invalidate();
  DataChangedAndButtons();
}

void TCustomDBNumberEditZk::SetDecimalPlaces(unsigned Value) {
  if (Value == FDecimalPlaces) return;
  FDecimalPlaces = Value;
  DataChangedAndButtons();
  Invalidate();
}

Extended TCustomDBNumberEditZk::MaxValue() const {
  if (FNumberAssignedValues.Contains(evMaxValueZk)) return FMaxValue;
  if (auto* F = dynamic_cast<TIntegerField*>(Field())) return Extended(F->MaxValue());
  if (auto* F = dynamic_cast<TFloatField*>(Field())) return F->MaxValue();
  return 0;
}

Extended TCustomDBNumberEditZk::MinValue() const {
  if (FNumberAssignedValues.Contains(evMinValueZk)) return FMinValue;
  if (auto* F = dynamic_cast<TIntegerField*>(Field())) return Extended(F->MinValue());
  if (auto* F = dynamic_cast<TFloatField*>(Field())) return F->MinValue();
  return 0;
}

void TCustomDBNumberEditZk::SetMaxValue(Extended Value) {
  if (FNumberAssignedValues.Contains(evMaxValueZk) && Value == FMaxValue) return;
  FMaxValue = Value;
  FNumberAssignedValues << evMaxValueZk;
  if (!ComponentState().Contains(csLoading) && FDataLink->DataIndepended()) UpdateData();
}

void TCustomDBNumberEditZk::SetMinValue(Extended Value) {
  if (FNumberAssignedValues.Contains(evMinValueZk) && Value == FMinValue) return;
  FMinValue = Value;
  FNumberAssignedValues << evMinValueZk;
  if (!ComponentState().Contains(csLoading) && FDataLink->DataIndepended()) UpdateData();
}

// --- formatting -----------------------------------------------------------------------------------

Extended TCustomDBNumberEditZk::CheckValue(Extended X) const {
  return CheckNumberValue(X, FMinValue, FMaxValue, FDecimalPlaces);
}

String TCustomDBNumberEditZk::FormatValue(Extended X) const {
  const String Format = DisplayFormat();
  if (!Format.empty()) return FormatFloat(Format, X);
  if (currency())
    return CurrToStrF(Currency(double(X)), ffCurrency, FormatSettings.CurrencyDecimals);
  return FloatToStrF(X, ffGeneral, 15, 0);
}

String TCustomDBNumberEditZk::GetDisplayText() {
  return VarIsNull(FValue) ? String() : FormatValue(FValue.AsDouble());
}

void TCustomDBNumberEditZk::SetTextInternally(const String& Value) {
  SetTextGuarded(Value, FInternalTextSetting);
}

void TCustomDBNumberEditZk::ReformatTypedText(const String& AText) {
  String S = AText;
  if (!S.empty() && S != u"-") S = NormalizeNumberText(S);
  S = InsertThousandSeparators(S, FEditFormat.find(u',') != String::npos);
  if (S == Text()) return;
  const int FromEnd = int(Text().size()) - SelStart();
  SetTextInternally(S);
  if (Focused() && !ComponentState().Contains(csDesigning))
    SetSelStart(std::max(int(S.size()) - FromEnd, 0));
}

void TCustomDBNumberEditZk::UpdateValueFromText() {
  const String S = NormalizeNumberText(Text());
  if (S.empty()) {
    FValue = Null();
    if (!Text().empty()) SetTextInternally(String());
  } else if (S == u"+" || S == u"-") {
    FValue = Variant(double(CheckValue(0)));
  } else {
    FValue = Variant(double(CheckValue(StrToFloat(S))));
  }
}

void TCustomDBNumberEditZk::Change() {
  if (!FInternalTextSetting) {
    ReformatTypedText(Text());
    UpdateValueFromText();
  }
  TCustomDBEditZk::Change();
}

// --- value and text -------------------------------------------------------------------------------

void TCustomDBNumberEditZk::InternalSetValue(const Variant& AValue) {
  if (VarIsNull(AValue) || VarIsEmpty(AValue)) {
    FValue = Null();
    SetTextInternally(String());
    return;
  }
  FValue = Variant(AValue.AsDouble());
  FDataLink->Modified();
  if (IsFocusedForEdit() && FDataLink->CanModify())
    ReformatTypedText(FormatFloat(FEditFormat, FValue.AsDouble()));
  else
    SetTextInternally(GetDisplayText());
}

void TCustomDBNumberEditZk::InternalSetText(const String& AText) {
  if (AText.empty()) InternalSetValue(Null());
  else InternalSetValue(Variant(double(StrToFloat(NormalizeNumberText(AText)))));
}

void TCustomDBNumberEditZk::InternalUpdatePostData() { FDataLink->SetValue(FValue); }

void TCustomDBNumberEditZk::DataChanged() {
  const String Format = DisplayFormat();
  FEditFormat = Format.empty() && currency() ? DefaultCurrencyEditFormat()
                                             : DisplayFormatToEditFormat(Format);
  if (TField* F = Field()) {
    if (!FAssignedValues.Contains(evAlignmentZk) && F->Alignment() != FAlignment) {
      FAlignment = F->Alignment();
      if (HandleAllocated()) RecreateWnd();
    }
    InternalSetValue(F->Value());
  } else if (FDataLink->DataIndepended()) {
    InternalSetValue(FDataLink->DataIndependentValue);
  } else {
    InternalSetValue(Null());
  }
  UpdateReadOnlyState();
  SetModified(false);
}

void TCustomDBNumberEditZk::CreateParams(TCreateParams& Params) {
  TCustomDBEditZk::CreateParams(Params);
  Params.Style &= ~unsigned(ES_LEFT | ES_RIGHT | ES_CENTER);
  const TAlignment A = Alignment();
  Params.Style |= A == taRightJustify ? ES_RIGHT : A == taCenter ? ES_CENTER : ES_LEFT;
}

// --- typing ---------------------------------------------------------------------------------------

bool TCustomDBNumberEditZk::IsValidChar(Char Key) {
  const String T = EditText();
  const String S =
      NormalizeNumberText(T.substr(0, SelStart()) + Key + T.substr(SelStart() + SelLength()));
  const std::size_t Dec = S.find(FormatSettings.DecimalSeparator);
  if (Dec != String::npos) {
    std::size_t End = S.find_first_of(u"Ee", Dec + 1);
    if (End == String::npos) End = S.size();
    if (End - Dec - 1 > FDecimalPlaces) return false;
  }
  if (S.empty()) return true;
  Extended V = 0;
  if (!TextToFloatCheck(S, V)) return false;
  if (MinValue() >= 0 && MaxValue() > 0 && (V < 0 || S[0] == u'-')) return false;
  return true;
}

void TCustomDBNumberEditZk::KeyDown(Word& Key, TShiftState Shift) {
  TCustomDBEditZk::KeyDown(Key, Shift);
  if (!ReadOnly() && (Key == VK_UP || Key == VK_DOWN)) {
    IncrementValue(Key == VK_UP);
    Key = 0;
  }
}

void TCustomDBNumberEditZk::KeyPress(Char& Key) {
  if (FCalculatorVisible && Key == VK_ESCAPE) {
    CloseUp(false);
    Key = 0;
    return;
  }
  const int Caret = SelStart();
  if (Key == VK_BACK && SelLength() == 0 && Caret > 0 &&
      EditText()[std::size_t(Caret) - 1] == FormatSettings.ThousandSeparator) {
    SetSelStart(Caret - 1);
    Key = 0;
    return;
  }
  TCustomDBEditZk::KeyPress(Key);
  if (Key == u'.' || Key == u',') Key = FormatSettings.DecimalSeparator;
  if (Key > 31 && !IsValidChar(Key)) Key = 0;
}

void TCustomDBNumberEditZk::EditPaste() {
  const String Kept = EditText();
  try {
    TCustomDBEditZk::EditPaste();
    UpdateValueFromText();
  } catch (const Exception&) {
    // A pasted text that is not a number is rolled back without a message.
    SetTextInternally(Kept);
    UpdateValueFromText();
    SelectAll();
    if (CanFocus()) SetFocus();
  }
}

void TCustomDBNumberEditZk::IncrementValue(bool IsIncrease) {
  if (FIncrement == 0 || !FDataLink->Edit()) return;
  const Extended Step = FIncrement * (IsIncrease ? 1 : -1);
  const Extended New = VarIsNull(FValue) ? FIncrement : Extended(FValue.AsDouble()) + Step;
  InternalSetValue(Variant(double(CheckValue(New))));
  if (Focused()) SelectAll();
}

bool TCustomDBNumberEditZk::WheelStep(bool Up) {
  if (KeyboardShiftState() != TShiftState{} || ReadOnly() || !FDataLink->Edit()) return false;
  IncrementValue(Up);
  return true;
}

bool TCustomDBNumberEditZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  return TCustomDBEditZk::DoMouseWheelDown(Shift, MousePos) || WheelStep(false);
}

bool TCustomDBNumberEditZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  return TCustomDBEditZk::DoMouseWheelUp(Shift, MousePos) || WheelStep(true);
}

void TCustomDBNumberEditZk::ButtonDownDropDown(bool LowerPart) {
  if (IsUpDownStyle(EditButton()->Style())) {
    if (!ReadOnly()) IncrementValue(!LowerPart);
    return;
  }
  TCustomDBEditZk::ButtonDownDropDown(LowerPart);
}

// --- the calculator -------------------------------------------------------------------------------

TWinControl* TCustomDBNumberEditZk::GetDropDownCalculator() {
  if (!FDropDownCalculator) {
    auto* Calc = new TPopupCalculatorZk(this);
    Calc->SetVisible(false);
    if (HandleAllocated()) Calc->HandleNeeded();
    FDropDownCalculator = Calc;
  }
  return FDropDownCalculator;
}

bool TCustomDBNumberEditZk::CalculatorContains(HWND Wnd) const {
  return FDropDownCalculator && Wnd &&
         (Wnd == FDropDownCalculator || IsChild(FDropDownCalculator, Wnd));
}

void TCustomDBNumberEditZk::DropDown() {
  TCustomDBEditZk::DropDown();
  if (FCalculatorVisible) return;
  if (FOnDropDown) FOnDropDown(this);
  auto* Calc = static_cast<TPopupCalculatorZk*>(GetDropDownCalculator());
  Calc->SetValue(VarIsNull(FValue) ? Variant(0.0) : FValue);
  Calc->SetFlat(Flat());
  TPoint Pos;
  PlaceDropDownUnderEdit(this, Calc, 0, Pos);
  Calc->Link().Open(Pos);
  FCalculatorVisible = true;
  FDroppedDown = true;
  HideCaret(this);
  SetSelLength(0);
}

void TCustomDBNumberEditZk::CloseUp(bool Accept) {
  if (!FCalculatorVisible) return;
  auto* Calc = static_cast<TPopupCalculatorZk*>(FDropDownCalculator);
  CancelCaptureForCloseUp();
  Calc->Link().Close();
  FCalculatorVisible = false;
  ShowCaret(this);
  FDroppedDown = false;
  TCustomDBEditZk::CloseUp(Accept);
  PostDropDownClosed();
  if (Accept && !ReadOnly() && FDataLink->Edit()) {
    const Variant V = static_cast<IPopupCalculatorZk*>(Calc)->GetValue();
    if (IsNumberVariant(V)) InternalSetValue(V);
    if (Focused()) SelectAll();
  }
  if (FOnCloseUp) FOnCloseUp(this, Accept);
}

void TCustomDBNumberEditZk::WndProc(TMessage& Message) {
  if (FCalculatorVisible &&
      (Message.Msg == WM_KEYDOWN || Message.Msg == WM_CHAR || Message.Msg == WM_SYSKEYDOWN)) {
    const Word Code = Word(Message.WParam);
    if (Code == VK_BACK || Code == VK_RETURN || (Code >= 32 && Code <= 126)) {
      if (Message.Msg == WM_CHAR || Code == VK_BACK || Code == VK_RETURN)
        FDropDownCalculator->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    }
  }
  if (FCalculatorVisible && Message.Msg == CM_MOUSEWHEEL &&
      FDropDownCalculator->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) {
    Message.Result = 1;
    return;
  }
  TCustomDBEditZk::WndProc(Message);
}

void TCustomDBNumberEditZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
      if (FCalculatorVisible && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_KILLFOCUS:
      if (FCalculatorVisible && !CalculatorContains(reinterpret_cast<HWND>(Message.WParam)))
        CloseUp(false);
      break;
    case CM_CANCELMODE: {
      auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
      // The editor itself closes it too; its buttons and the calculator's children do not.
      const bool FromInside = Sender && Sender != this && IsOwnOrChildControl(Sender);
      if (FCalculatorVisible && !FromInside && !ControlWithin(Sender, FDropDownCalculator))
        CloseUp(false);
      break;
    }
    default: break;
  }
  TCustomDBEditZk::Dispatch(Message);
}
