// DBCtrlsZkDateTimeEdit.cpp - the date-time edit: mask from the EditFormat, value and text,
// validation completing from today, element stepping and jumping, and the drop-down calendar.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include <cmath>

#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/PopupMonthCalendarZk.h"
#include "platform/controls/WinApi.h"
#include "platform/db/Fields.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

TCustomDBDateTimeEditZk::TCustomDBDateTimeEditZk(TComponent* AOwner) : TCustomDBEditZk(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
  FValue = Null();
  ReplaceEditButton();
  FFourDigitYear = UpperCase(FormatSettings.ShortDateFormat).find(u"YYY") != String::npos;
  UpdateMask();
  DataChangedAndButtons();
}

TCustomDBDateTimeEditZk::~TCustomDBDateTimeEditZk() = default;

TEditButtonZk* TCustomDBDateTimeEditZk::CreateEditButton() { return new TVisibleEditButtonZk(this); }

Variant TCustomDBDateTimeEditZk::GetVariantValue() { return FValue; }

void TCustomDBDateTimeEditZk::UpdateFourDigitYear() {
  const bool Four = UpperCase(FormatSettings.ShortDateFormat).find(u"YYY") != String::npos;
  if (Four == FFourDigitYear) return;
  FFourDigitYear = Four;
  UpdateMask();
}

void TCustomDBDateTimeEditZk::UpdateMask() {
  switch (FKind) {
    case dtkDateZk: FEditFormat = DefaultDateEditFormat(FFourDigitYear); break;
    case dtkTimeZk: FEditFormat = DefaultTimeEditFormat(); break;
    case dtkDateTimeZk:
      FEditFormat = DefaultDateEditFormat(FFourDigitYear) + u" " + DefaultTimeEditFormat();
      break;
    case dtkCustomZk: break;
  }
  if (FEditFormat.empty()) {
    FDateTimeFormat.clear();
    FDateTimeMaskPos = TDateTimeElementsMaskPosZk{};
    TCustomMaskEdit::SetEditMask(String());
    return;
  }
  TDateTimeElementsMaskPosZk Positions;
  const String Mask = ParseDateTimeEditFormat(FEditFormat, Positions);
  FDateTimeFormat = EditFormatToDisplayFormat(FEditFormat);
  FDateTimeMaskPos = Positions;
  TCustomMaskEdit::SetEditMask(Mask);
}

void TCustomDBDateTimeEditZk::SetEditFormat(const String& Value) {
  FKind = dtkCustomZk;
  if (Value == FEditFormat) return;
  const String Old = FEditFormat;
  FEditFormat = Value;
  try {
    UpdateMask();
  } catch (...) {
    // A bad format is refused whole: the editor keeps the format it had.
    FEditFormat = Old;
    UpdateMask();
    throw;
  }
  DataChangedAndButtons();
}

void TCustomDBDateTimeEditZk::SetKind(TDateTimeKindZk Value) {
  if (Value == FKind) return;
  FKind = Value;
  UpdateMask();
  DataChangedAndButtons();
}

// --- value and text -------------------------------------------------------------------------------

void TCustomDBDateTimeEditZk::SetTextInternally(const String& Value) {
  SetTextGuarded(Value, FInternalTextSetting);
}

void TCustomDBDateTimeEditZk::InternalSetValue(const Variant& AValue) {
  if (VarIsNull(AValue) || VarIsEmpty(AValue)) {
    FValue = Null();
    SetTextInternally(String());
    return;
  }
  FValue = Variant::FromDateTime(AValue.AsDateTime());
  SetTextInternally(IsMasked() ? FormatDateTime(FDateTimeFormat, FValue.AsDateTime())
                               : DateTimeToStr(FValue.AsDateTime()));
}

void TCustomDBDateTimeEditZk::InternalSetText(const String& AText) {
  Variant V = FValue;
  if (IsMasked()) {
    if (!ApplyDateTimeParts(ReadDateTimeParts(AText, FDateTimeMaskPos), FDateTimeMaskPos, V,
                            false))
      throw Exception(u"Invalid datetime: \"" + AText + u"\"");
  } else {
    V = Trim(AText).empty() ? Null() : Variant::FromDateTime(StrToDateTime(AText));
  }
  FValue = V;
  SetTextInternally(AText);
}

void TCustomDBDateTimeEditZk::UpdateValueFromText() {
  try {
    if (IsMasked()) {
      Variant V = FValue;
      ApplyDateTimeParts(ReadDateTimeParts(EditText(), FDateTimeMaskPos), FDateTimeMaskPos, V,
                         false);
      FValue = V;
    } else {
      TDateTime D;
      FValue = TryStrToDateTime(Text(), D) ? Variant::FromDateTime(D) : Null();
    }
  } catch (const EConvertError&) {
    // A text that cannot be read while typing is no value yet, not an error.
    FValue = Null();
  }
}

void TCustomDBDateTimeEditZk::Change() {
  if (!FInternalTextSetting) UpdateValueFromText();
  TCustomDBEditZk::Change();
}

void TCustomDBDateTimeEditZk::ValidateEdit() {
  if (FEditValidating) return;
  FEditValidating = true;
  try {
    TCustomDBEditZk::ValidateEdit();
    if (IsMasked()) {
      Variant V = FValue;
      ApplyDateTimeParts(ReadDateTimeParts(EditText(), FDateTimeMaskPos), FDateTimeMaskPos, V,
                         true);
      FValue = V;
      SetTextInternally(VarIsNull(V) ? String() : FormatDateTime(FDateTimeFormat, V.AsDateTime()));
    }
  } catch (...) {
    FEditValidating = false;
    throw;
  }
  FEditValidating = false;
}

void TCustomDBDateTimeEditZk::InternalUpdatePostData() {
  Variant V = FDataLink->DataIndepended() ? FDataLink->DataIndependentValue
                                          : (Field() ? Field()->Value() : Null());
  if (IsMasked()) {
    ApplyDateTimeParts(VariantToDateTimeParts(FValue), FDateTimeMaskPos, V, true);
  } else {
    V = Trim(Text()).empty() ? Null() : Variant::FromDateTime(StrToDateTime(Text()));
  }
  FDataLink->SetValue(V);
}

void TCustomDBDateTimeEditZk::DataChanged() {
  if (TField* F = Field()) {
    if (F->Alignment() != FAlignment) Invalidate();
    InternalSetValue(F->Value());
  } else if (FDataLink->DataIndepended()) {
    InternalSetValue(FDataLink->DataIndependentValue);
  } else {
    InternalSetValue(Null());
  }
  UpdateReadOnlyState();
  SetModified(false);
}

String TCustomDBDateTimeEditZk::GetDisplayTextForPaintCopy() {
  if (ComponentState().Contains(csDesigning) && !FDataLink->Active()) return Name();
  if (ControlState().Contains(csPaintCopy) && Field()) {
    if (Field()->IsNull()) return String();
    return IsMasked() ? FormatDateTime(FDateTimeFormat, Field()->AsDateTime())
                      : DateTimeToStr(Field()->AsDateTime());
  }
  return EditText();
}

void TCustomDBDateTimeEditZk::FilterMRUItem(const String& AText, bool& Accept) {
  String T = Text();
  while (!T.empty() && (T.back() == u' ' || T.back() == FormatSettings.DateSeparator))
    T.pop_back();
  Accept = AnsiCompareText(std::u16string_view(AText).substr(0, T.size()), T) == 0;
}

// --- stepping and keys ----------------------------------------------------------------------------

void TCustomDBDateTimeEditZk::StepElementAtCaret(bool Up) {
  int Pos = SelStart() + 1, Len = SelLength();
  const String New =
      StepDateTimeElement(EditText(), EditFormatToElementTemplate(FEditFormat), Up, Pos, Len);
  SetEditText(New);
  UpdateValueFromText();
  TCustomDBEditZk::Change();
  SetSelStart(Pos - 1);
  SetSelLength(Len);
}

void TCustomDBDateTimeEditZk::KeyDown(Word& Key, TShiftState Shift) {
  if (IsMasked() && Shift.Empty() && !ReadOnly()) {
    if (Key == VK_UP || Key == VK_DOWN) {
      if (OnKeyDown()) OnKeyDown()(this, Key, Shift);
      if (Key != 0 && InplaceMode() && FIntfInplaceEditHolder)
        FIntfInplaceEditHolder->InplaceEditKeyDown(this, Key, Shift);
      if (Key != 0 && FDataLink->Edit()) StepElementAtCaret(Key == VK_UP);
      if (Key == 0) return;
    } else if ((Key == VK_LEFT || Key == VK_RIGHT) && SelLength() > 1) {
      if (OnKeyDown()) OnKeyDown()(this, Key, Shift);
      if (Key != 0 && InplaceMode() && FIntfInplaceEditHolder)
        FIntfInplaceEditHolder->InplaceEditKeyDown(this, Key, Shift);
      if (Key == 0) return;
      SetCursor(Key == VK_LEFT ? SelStart() : SelStart() + SelLength() - 1);
    }
  }
  TCustomDBEditZk::KeyDown(Key, Shift);
}

void TCustomDBDateTimeEditZk::KeyPress(Char& Key) {
  if (IsMasked() && (Key == FormatSettings.DateSeparator || Key == FormatSettings.TimeSeparator)) {
    // Jumps to the element after the next separator of this editor's own format.
    const String After = EditText().substr(std::size_t(SelStart()));
    const std::size_t Found = After.find(Key);
    const int Pos = Found == String::npos ? 1 : SelStart() + int(Found) + 2;
    int Start = 0, Len = 0;
    if (FindDateElementAt(EditFormatToElementTemplate(FEditFormat), Pos, Start, Len)) {
      SetSelStart(Start - 1);
      SetSelLength(Len);
    }
    Key = 0;
    return;
  }
  TCustomDBEditZk::KeyPress(Key);
}

bool TCustomDBDateTimeEditZk::WheelStep(bool Up) {
  if (!IsMasked() || KeyboardShiftState() != TShiftState{} || ReadOnly() || !FDataLink->Edit())
    return false;
  StepElementAtCaret(Up);
  return true;
}

bool TCustomDBDateTimeEditZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (FCalendarVisible) return FDropDownCalendar->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0) != 0;
  return TCustomDBEditZk::DoMouseWheelDown(Shift, MousePos) || WheelStep(false);
}

bool TCustomDBDateTimeEditZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (FCalendarVisible) return FDropDownCalendar->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0) != 0;
  return TCustomDBEditZk::DoMouseWheelUp(Shift, MousePos) || WheelStep(true);
}

void TCustomDBDateTimeEditZk::ButtonDownDropDown(bool LowerPart) {
  if (IsUpDownStyle(EditButton()->Style())) {
    if (IsMasked() && !ReadOnly() && FDataLink->Edit()) StepElementAtCaret(!LowerPart);
    return;
  }
  TCustomDBEditZk::ButtonDownDropDown(LowerPart);
}

// --- the calendar ---------------------------------------------------------------------------------

TWinControl* TCustomDBDateTimeEditZk::GetDropDownCalendar() {
  if (!FDropDownCalendar) {
    auto* Cal = new TPopupMonthCalendarZk(this);
    Cal->SetVisible(false);
    FDropDownCalendar = Cal;
  }
  return FDropDownCalendar;
}

bool TCustomDBDateTimeEditZk::CalendarContains(HWND Wnd) const {
  return FDropDownCalendar && Wnd && (Wnd == FDropDownCalendar || IsChild(FDropDownCalendar, Wnd));
}

void TCustomDBDateTimeEditZk::DropDown() {
  TCustomDBEditZk::DropDown();
  if (FCalendarVisible) return;
  if (FOnDropDown) FOnDropDown(this);
  auto* Cal = static_cast<TPopupMonthCalendarZk*>(GetDropDownCalendar());
  Cal->SetDate(VarIsNull(FValue) ? Date() : TDateTime(std::trunc(FValue.AsDateTime())));
  TPoint Pos;
  PlaceDropDownUnderEdit(this, Cal, 0, Pos);
  Cal->DropDownAt(Pos);
  FCalendarVisible = true;
  FDroppedDown = true;
}

void TCustomDBDateTimeEditZk::CloseUp(bool Accept) {
  if (!FCalendarVisible) return;
  auto* Cal = static_cast<TPopupMonthCalendarZk*>(FDropDownCalendar);
  CancelCaptureForCloseUp();
  if (CalendarContains(GetFocus())) SetFocus();
  Cal->Link()->Close();
  FCalendarVisible = false;
  FDroppedDown = false;
  TCustomDBEditZk::CloseUp(Accept);
  PostDropDownClosed();
  if (Accept && !ReadOnly() && FDataLink->Edit()) {
    TDateTime Picked = Cal->Date();
    if (!VarIsNull(FValue)) ReplaceTimeOf(Picked, FValue.AsDateTime());
    Variant V = FValue;
    ApplyDateTimeParts(DecodeDateTimeParts(Picked), FDateTimeMaskPos, V, true);
    InternalSetValue(V);
    FDataLink->Modified();
    if (Focused()) SelectAll();
  }
  if (FOnCloseUp) FOnCloseUp(this, Accept);
}

void TCustomDBDateTimeEditZk::EditButtonMouseMove(TObject* Sender, TShiftState, int X, int Y) {
  if (FCalendarVisible)
    PassButtonDragToList(Sender, X, Y, FDropDownCalendar, FDropDownCalendar->ClientRect(), false);
}

void TCustomDBDateTimeEditZk::WndProc(TMessage& Message) {
  if (FCalendarVisible &&
      (Message.Msg == WM_KEYDOWN || Message.Msg == WM_CHAR || Message.Msg == WM_SYSKEYDOWN)) {
    const Word Code = Word(Message.WParam);
    const bool Nav = Code == VK_PRIOR || Code == VK_NEXT || Code == VK_UP || Code == VK_DOWN ||
                     Code == VK_LEFT || Code == VK_RIGHT ||
                     ((Code == VK_HOME || Code == VK_END) && GetKeyState(VK_CONTROL) < 0);
    if (Message.Msg != WM_CHAR && Nav) {
      FDropDownCalendar->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    if (Message.Msg == WM_CHAR && (Code == VK_RETURN || Code == VK_ESCAPE)) {
      CloseUp(Code == VK_RETURN);
      return;
    }
  }
  TCustomDBEditZk::WndProc(Message);
}

void TCustomDBDateTimeEditZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER: UpdateFourDigitYear(); break;
    case CM_WANTSPECIALKEY:
      if (FCalendarVisible && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_KILLFOCUS:
      if (FCalendarVisible && !CalendarContains(reinterpret_cast<HWND>(Message.WParam)))
        CloseUp(false);
      break;
    case CM_CANCELMODE: {
      auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
      if (FCalendarVisible && !IsOwnOrChildControl(Sender) &&
          !ControlWithin(Sender, FDropDownCalendar))
        CloseUp(false);
      break;
    }
    default: break;
  }
  TCustomDBEditZk::Dispatch(Message);
}
