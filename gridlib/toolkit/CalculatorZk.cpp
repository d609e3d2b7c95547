// CalculatorZk.cpp - the calculator's layout, key machine and the drop-down calculator.
#include "gridlib/toolkit/CalculatorZk.h"

#include <cmath>

#include "gridlib/toolkit/CloseUpOwnerZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TCalculatorZk) {}
REGISTER_CLASS(TPopupCalculatorZk) {}

void RegisterCalculatorZkClasses() {
  RegisterClasses({TCalculatorZk::ClassInfo(), TPopupCalculatorZk::ClassInfo()});
}

namespace {

struct TKeyButton {
  int Tag;
  const char16_t* Caption;
  Char Key;
  int X, Y, W, H;
  bool Red;
};

// Columns at 6, 35, 64, 93, 122, 151; rows at 29, 53, 77, 101.
constexpr TKeyButton Layout[23] = {
    {1, u"7", u'7', 6, 29, 27, 22, false},       {2, u"8", u'8', 35, 29, 27, 22, false},
    {3, u"9", u'9', 64, 29, 27, 22, false},      {4, u"/", u'/', 93, 29, 27, 22, true},
    {5, u"sqrt", u'S', 122, 29, 27, 22, false},  {6, u"C", u'C', 151, 29, 27, 22, true},
    {7, u"4", u'4', 6, 53, 27, 22, false},       {8, u"5", u'5', 35, 53, 27, 22, false},
    {9, u"6", u'6', 64, 53, 27, 22, false},      {10, u"*", u'*', 93, 53, 27, 22, true},
    {11, u"%", u'%', 122, 53, 27, 22, false},    {12, u"Cancel", u'A', 151, 53, 27, 23, true},
    {13, u"1", u'1', 6, 77, 27, 22, false},      {14, u"2", u'2', 35, 77, 27, 22, false},
    {15, u"3", u'3', 64, 77, 27, 22, false},     {16, u"-", u'-', 93, 77, 27, 22, true},
    {17, u"1/x", u'R', 122, 77, 27, 22, false},  {18, u"<-", Char(VK_BACK), 151, 77, 27, 22, true},
    {19, u"0", u'0', 6, 101, 27, 22, false},     {20, u"+/-", u'I', 35, 101, 27, 22, false},
    {21, u".", u'.', 64, 101, 27, 22, false},    {22, u"+", u'+', 93, 101, 27, 22, true},
    {23, u"Ok", u'=', 122, 101, 56, 22, true},
};

Char KeyOfTag(int Tag) { return Tag >= 1 && Tag <= 23 ? Layout[Tag - 1].Key : Char(0); }

bool IsOperator(Char Key) {
  return Key == VK_RETURN || Key == u'%' || Key == u'*' || Key == u'+' || Key == u'-' ||
         Key == u'/' || Key == u'=';
}

int Scale(int Value, int M, int D) { return D == 0 ? Value : MulDiv(Value, M, D); }

}  // namespace

// --- TCalculatorZk --------------------------------------------------------------------------------

TCalculatorZk::TCalculatorZk(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetParentColor(false);
  SetParentFont(false);
  Font()->SetHeight(-11);
  SetTabStop(true);
  BuildLayout();
  ScaleLayout();
  SetAutoSize(true);
}

TCalculatorZk::~TCalculatorZk() = default;

void TCalculatorZk::BuildLayout() {
  DisableAlign();
  FPanel = new TPanel(this);
  FPanel->SetParent(this);
  FPanel->SetBounds(6, 4, 171, 19);
  FPanel->SetParentColor(false);
  FPanel->SetColor(clWindow);
  FPanel->SetBevelOuter(bvNone);
  FPanel->SetBorderWidth(2);
  FPanel->SetCaption(String());
  FTextBox = new TLabel(this);
  FTextBox->SetParent(FPanel);
  FTextBox->SetAlign(alClient);
  FTextBox->SetAlignment(taRightJustify);
  FTextBox->SetLayout(tlCenter);
  FTextBox->SetCaption(u"0");
  for (const TKeyButton& K : Layout) {
    auto* B = new TSpeedButtonZk(this);
    B->SetParent(this);
    B->SetBounds(K.X, K.Y, K.W, K.H);
    B->SetCaption(K.Caption);
    B->SetTag(K.Tag);
    B->SetFlat(true);
    B->SetTransparent(false);
    B->SetLayout(blGlyphRight);
    B->SetStyle(ebsGlyphZk);
    B->SetActive(true);
    B->SetParentFont(false);
    B->Font()->SetHeight(-11);
    B->Font()->SetColor(K.Red ? clRed : clBlue);
    B->SetOnClick([this](TObject* Sender) { SpeedButtonClick(Sender); });
    FButtons[std::size_t(K.Tag - 1)] = B;
  }
  FEqual = FButtons[22];
  FEqual->SetName(u"spEqual");
  EnableAlign();
}

// The layout was made for a "0" 13 pixels high; a font that draws it higher or lower scales the
// children and the client size by that ratio.
void TCalculatorZk::ScaleLayout() {
  Canvas()->Font()->Assign(Font());
  const int Height = Canvas()->TextHeight(u"0");
  if (Height <= 0 || Height == FScaledTextHeight) return;
  const int From = FScaledTextHeight;
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    C->SetBounds(Scale(C->Left(), Height, From), Scale(C->Top(), Height, From),
                 Scale(C->Width(), Height, From), Scale(C->Height(), Height, From));
  }
  FClientWidth = Scale(FClientWidth, Height, From);
  FClientHeight = Scale(FClientHeight, Height, From);
  FScaledTextHeight = Height;
}

void TCalculatorZk::FontChanged() {
  TCustomControl::FontChanged();
  if (!FPanel) return;
  FTextBox->Font()->Assign(Font());
  ScaleLayout();
  AdjustSize();
}

TSize TCalculatorZk::FrameSize() {
  TRect R = Rect(0, 0, 0, 0);
  TCreateParams P;
  CreateParams(P);
  AdjustWindowRectEx(R, P.Style, false, P.ExStyle);
  return {R.Width(), R.Height()};
}

bool TCalculatorZk::CanAutoSize(int& NewWidth, int& NewHeight) {
  const TSize Frame = FrameSize();
  NewWidth = FClientWidth + Frame.cx;
  NewHeight = FClientHeight + Frame.cy;
  return true;
}

void TCalculatorZk::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style &= ~unsigned(WS_BORDER);
  Params.ExStyle &= ~unsigned(WS_EX_CLIENTEDGE);
  if (BorderStyle() == bsSingle) {
    if (Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
  }
}

void TCalculatorZk::SetCalcBorderStyle(TBorderStyle Value) {
  if (Value == BorderStyle()) return;
  SetBorderStyle(Value);
  RecreateWnd();
  AdjustSize();
}

String TCalculatorZk::DisplayText() const { return FTextBox->Caption(); }

void TCalculatorZk::SetDisplayText(const String& Value) { FTextBox->SetCaption(Value); }

Extended TCalculatorZk::DisplayValue() const {
  if (FStatus == csErrorZk) return 0;
  return StrToFloat(Trim(DisplayText()));
}

void TCalculatorZk::SetDisplayValue(Extended Value) {
  if (Value == 0) Value = 0;   // no "-0"
  SetDisplayText(FloatToStrF(Value, ffGeneral, 15, 0));
}

TSpeedButtonZk* TCalculatorZk::ButtonForKey(Char Key) const {
  for (const TKeyButton& K : Layout)
    if (K.Key == Key) return FButtons[std::size_t(K.Tag - 1)];
  return nullptr;
}

void TCalculatorZk::SpeedButtonClick(TObject* Sender) {
  if (auto* C = dynamic_cast<TComponent*>(Sender)) ProcessKey(KeyOfTag(int(C->Tag())));
}

void TCalculatorZk::DoCopy() { Clipboard()->SetAsText(DisplayText()); }

void TCalculatorZk::Paste() {
  if (!Clipboard()->HasFormat(CF_TEXT)) return;
  // A text that is not a number raises the conversion error; the display stays as it was.
  SetDisplayValue(StrToFloat(Trim(Clipboard()->AsText())));
}

void TCalculatorZk::Clear() {
  FStatus = csFirstZk;
  SetDisplayValue(0);
  FOperator = u'=';
  FOperand = 0;
}

void TCalculatorZk::StartNumber() {
  if (FStatus != csFirstZk) return;
  FStatus = csValidZk;
  SetDisplayText(u"0");
}

void TCalculatorZk::SetError() {
  FStatus = csErrorZk;
  SetDisplayText(u"Error");
}

void TCalculatorZk::ProcessKey(Char Key) {
  Key = UpperCase(String(1, Key))[0];
  if (FStatus == csErrorZk && Key != u'C') return;
  const Char Decimal = FormatSettings.DecimalSeparator;
  String Display = DisplayText();
  if (Key == Decimal || Key == u'.' || Key == u',') {
    StartNumber();
    Display = DisplayText();
    if (Display.find(Decimal) == String::npos) SetDisplayText(Display + Decimal);
  } else if (Key >= u'0' && Key <= u'9') {
    StartNumber();
    Display = DisplayText();
    if (Display == u"0") Display.clear();
    if (Display.find(u'E') == String::npos &&
        Display.size() < (!Display.empty() && Display[0] == u'-' ? 16u : 15u))
      Display += Key;
    SetDisplayText(Display.empty() ? String(u"0") : Display);
  } else if (Key == VK_BACK) {
    StartNumber();
    Display = DisplayText();
    if (Display.size() == 1 || (Display.size() == 2 && Display[0] == u'-'))
      SetDisplayText(u"0");
    else
      SetDisplayText(Display.substr(0, Display.size() - 1));
  } else if (IsOperator(Key)) {
    if (FStatus == csValidZk) {
      FStatus = csFirstZk;
      Extended V = DisplayValue();
      if (Key == u'%') {
        if (FOperator == u'*' || FOperator == u'/') V = V / 100;
        else if (FOperator == u'+' || FOperator == u'-') V = FOperand * V / 100;
      }
      switch (FOperator) {
        case u'*': SetDisplayValue(FOperand * V); break;
        case u'+': SetDisplayValue(FOperand + V); break;
        case u'-': SetDisplayValue(FOperand - V); break;
        case u'/':
          if (V == 0) SetError();
          else SetDisplayValue(FOperand / V);
          break;
        default: break;
      }
    }
    FOperator = Key;
    FOperand = DisplayValue();
  } else if (Key == u'I') {
    SetDisplayValue(-DisplayValue());
  } else if (Key == u'R' || Key == u'S') {
    FStatus = csFirstZk;
    const Extended V = DisplayValue();
    if (Key == u'R') {
      if (V == 0) SetError();
      else SetDisplayValue(1 / V);
    } else {
      if (V < 0) SetError();
      else SetDisplayValue(std::sqrt(V));
    }
  } else if (Key == u'C' || Key == VK_ESCAPE) {
    Clear();
  } else if (Key == 3) {
    DoCopy();
  } else if (Key == 22) {
    Paste();
  }
  UpdateEqualButton();
}

void TCalculatorZk::UpdateEqualButton() {
  const bool Pending = FOperand != 0 && FStatus == csValidZk &&
                       (FOperator == u'*' || FOperator == u'+' || FOperator == u'-' ||
                        FOperator == u'/');
  FEqual->SetCaption(Pending ? u"=" : u"Ok");
}

void TCalculatorZk::KeyPress(Char& Key) {
  TCustomControl::KeyPress(Key);
  if (Key != 0) ProcessKey(Key);
}

void TCalculatorZk::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_DELETE) ProcessKey(u'C');
}

bool TCalculatorZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TCustomControl::DoMouseWheelDown(Shift, MousePos) && FStatus != csErrorZk)
    SetDisplayValue(DisplayValue() - 1);
  return true;
}

bool TCalculatorZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TCustomControl::DoMouseWheelUp(Shift, MousePos) && FStatus != csErrorZk)
    SetDisplayValue(DisplayValue() + 1);
  return true;
}

void TCalculatorZk::Dispatch(TMessage& Message) { TCustomControl::Dispatch(Message); }

// --- TPopupCalculatorZk ---------------------------------------------------------------------------

TPopupCalculatorZk::TPopupCalculatorZk(TComponent* AOwner)
    : TCalculatorZk(AOwner), FLink(this) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  SetVisible(false);
  SetParentCtl3D(false);
  SetCtl3D(true);
  SetTabStop(false);
  FLink.SetOnOutsideClick([this](HWND, TPoint) {
    if (dynamic_cast<ICloseUpOwnerZk*>(Owner())) RequestCloseUp(false);
    else FLink.Close();   // nobody would close it otherwise
    return true;
  });
  AdjustSize();
}

TPopupCalculatorZk::~TPopupCalculatorZk() = default;

void TPopupCalculatorZk::RequestCloseUp(bool Accept) {
  if (auto* CloseUpOwner = dynamic_cast<ICloseUpOwnerZk*>(Owner())) CloseUpOwner->CloseUp(Accept);
}

void TPopupCalculatorZk::CreateParams(TCreateParams& Params) {
  TCalculatorZk::CreateParams(Params);
  SetDropDownParams(Params);
  Params.Style |= WS_POPUP;
  Params.Style &= ~unsigned(WS_BORDER);
  if (!Ctl3D()) Params.Style |= WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | (Params.ExStyle & (WS_EX_TOPMOST | WS_EX_NOACTIVATE));
  Params.WindowClass.style = CS_SAVEBITS;
}

TSize TPopupCalculatorZk::FrameSize() {
  const TSize Base = TCalculatorZk::FrameSize();
  return {Base.cx + 2 * FBorderWidth, Base.cy + 2 * FBorderWidth};
}

void TPopupCalculatorZk::PaintNonClient(HDC DC) {
  TCalculatorZk::PaintNonClient(DC);
  if (!Ctl3D()) return;
  TRect R = Rect(0, 0, Width(), Height());
  DC->Brush()->SetStyle(bsSolid);
  DC->Brush()->SetColor(cl3DDkShadow);
  DC->FrameRect(R);
  InflateRect(R, -1, -1);
  DrawEdge(DC, R, BDR_RAISEDINNER, BF_RECT);
}

void TPopupCalculatorZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      TCalculatorZk::Dispatch(Message);
      if (auto* R = reinterpret_cast<TRect*>(Message.LParam))
        InflateRect(*R, -FBorderWidth, -FBorderWidth);
      return;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    case WM_GETDLGCODE:
      TCalculatorZk::Dispatch(Message);
      Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
      return;
    case CM_WANTSPECIALKEY:
      if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
        RequestCloseUp(Message.WParam == VK_RETURN);
        Message.Result = 1;
        return;
      }
      TCalculatorZk::Dispatch(Message);
      return;
    case WM_DROPDOWN_CLOSEUP: RequestCloseUp(false); return;
    case CM_CTL3DCHANGED:
      TCalculatorZk::Dispatch(Message);
      FBorderWidth = Ctl3D() ? 2 : 0;
      RecreateWnd();
      AdjustSize();
      return;
    default: TCalculatorZk::Dispatch(Message);
  }
}

void TPopupCalculatorZk::ProcessKey(Char Key) {
  const bool ResultKey = Key == VK_RETURN || Key == u'=';
  if (ResultKey && GetResultReady()) {
    RequestCloseUp(true);
    return;
  }
  // The Cancel button closes the popup without taking the value, as Esc does.
  if (UpperCase(String(1, Key))[0] == u'A') {
    RequestCloseUp(false);
    return;
  }
  TCalculatorZk::ProcessKey(Key);
}

void TPopupCalculatorZk::KeyDown(Word& Key, TShiftState Shift) {
  TCalculatorZk::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) {
    RequestCloseUp(false);
    Key = 0;
  }
}

bool TPopupCalculatorZk::GetResultReady() { return EqualButton()->Caption() == u"Ok"; }

Variant TPopupCalculatorZk::GetValue() {
  if (Status() == csErrorZk) return Variant::FromRaw(varError, Variant::TData{});
  return Variant(double(DisplayValue()));
}

void TPopupCalculatorZk::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  for (TSpeedButtonZk* B : Buttons()) B->SetFlat(Value);
}

void TPopupCalculatorZk::SetValue(const Variant& Value) {
  ProcessKey(u'C');
  SetDisplayValue(VarIsNull(Value) ? 0 : Extended(Value.AsDouble()));
}
