// Buttons.cpp - TSpeedButton and TBitBtn.
#include "platform/controls/Buttons.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/graphics/WinDraw.h"

REGISTER_CLASS(TSpeedButton) {
  Class.Property("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption)
      .Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false)
      .Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0)
      .Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false)
      .Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false)
      .Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
      .Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs, 1)
      .Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout, blGlyphLeft);
}
REGISTER_CLASS(TBitBtn) {
  Class.Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
      .Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind, bkCustom)
      .Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, 1);
}

void RegisterButtonsClasses() {
  RegisterClasses({TSpeedButton::ClassInfo(), TBitBtn::ClassInfo()});
}

void DrawButtonFace(TCanvas* C, const TRect& R, TBitmap* Glyph, int NumGlyphs, int GlyphIndex,
                    const String& Caption, TButtonLayout Layout, int Margin, int Spacing,
                    bool Enabled) {
  NumGlyphs = std::max(NumGlyphs, 1);
  const bool HasGlyph = Glyph && !Glyph->Empty();
  const int GW = HasGlyph ? Glyph->Width() / NumGlyphs : 0;
  const int GH = HasGlyph ? Glyph->Height() : 0;
  TRect TextR = Rect(0, 0, R.Width(), 0);
  if (!Caption.empty()) DrawText(C, Caption, TextR, DT_CALCRECT | DT_SINGLELINE);
  const int TW = TextR.Width(), TH = TextR.Height();
  const bool Horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  const int Gap = HasGlyph && TW > 0 ? Spacing : 0;
  // Glyph and text centred together, unless a margin fixes the glyph's distance from the edge.
  const int Total = Horizontal ? GW + Gap + TW : GH + Gap + TH;
  const int Extent = Horizontal ? R.Width() : R.Height();
  const int Start = Margin >= 0 ? Margin : (Extent - Total) / 2;
  TPoint GlyphPos, TextPos;
  if (Horizontal) {
    const int First = (Horizontal ? R.Left : R.Top) + Start;
    const bool GlyphFirst = Layout == blGlyphLeft;
    GlyphPos = {GlyphFirst ? First : First + TW + Gap, R.Top + (R.Height() - GH) / 2};
    TextPos = {GlyphFirst ? First + GW + Gap : First, R.Top + (R.Height() - TH) / 2};
  } else {
    const int First = R.Top + Start;
    const bool GlyphFirst = Layout == blGlyphTop;
    GlyphPos = {R.Left + (R.Width() - GW) / 2, GlyphFirst ? First : First + TH + Gap};
    TextPos = {R.Left + (R.Width() - TW) / 2, GlyphFirst ? First + GH + Gap : First};
  }
  if (HasGlyph) {
    const int Index = std::min(GlyphIndex, NumGlyphs - 1);
    const TRect Src = Bounds(Index * GW, 0, GW, GH);
    C->DrawBitmap(Bounds(GlyphPos.X, GlyphPos.Y, GW, GH), *Glyph, Src, SRCCOPY, 255,
                  Glyph->Transparent() ? std::optional<TColorRef>(ColorToRGB(Glyph->TransparentColor()))
                                       : std::nullopt);
  }
  if (Caption.empty()) return;
  TRect T = Bounds(TextPos.X, TextPos.Y, TW, TH);
  C->Brush()->SetStyle(bsClear);
  if (!Enabled) {
    TRect Shadow = T;
    OffsetRect(Shadow, 1, 1);
    C->Font()->SetColor(clBtnHighlight);
    DrawText(C, Caption, Shadow, DT_SINGLELINE);
    C->Font()->SetColor(clBtnShadow);
  }
  DrawText(C, Caption, T, DT_SINGLELINE);
}

// --- TSpeedButton -------------------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 23, 22);
  SetControlStyle({csCaptureMouse, csDoubleClicks});
  SetParentColor(true);
  FGlyph->SetOnChange([this](TObject*) { Invalidate(); });
}

TSpeedButton::~TSpeedButton() { FGlyph->SetOnChange(nullptr); }

void TSpeedButton::SetState(TButtonState Value) {
  if (FState == Value) return;
  FState = Value;
  Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  if (FDown && !Value && !FAllowAllUp) return;   // the last one of a group stays down
  FDown = Value;
  SetState(Value ? bsExclusive : bsUp);
  if (Value) UpdateExclusive();
}

// Other buttons of the group in the same parent come up.
void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  for (int I = 0; I < Parent()->ControlCount(); ++I) {
    auto* B = dynamic_cast<TSpeedButton*>(Parent()->Controls(I));
    if (!B || B == this || B->FGroupIndex != FGroupIndex || !B->FDown) continue;
    B->FDown = false;
    B->FAllowAllUp = FAllowAllUp;
    B->SetState(bsUp);
  }
}

void TSpeedButton::SetFlat(bool Value) {
  FFlat = Value;
  Invalidate();
}
void TSpeedButton::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}
void TSpeedButton::SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  FNumGlyphs = std::clamp(Value, 1, 4);
  Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout Value) {
  FLayout = Value;
  Invalidate();
}
void TSpeedButton::SetMargin(int Value) {
  FMargin = Value;
  Invalidate();
}
void TSpeedButton::SetSpacing(int Value) {
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !IsEnabledInTree()) return;
  if (!FDown) SetState(bsDown);
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  const bool Inside = ClientRect().Contains({X, Y});
  if (!FDown) SetState(Inside ? bsDown : bsUp);
  else SetState(Inside ? bsDown : bsExclusive);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging || Button != mbLeft) return;
  FDragging = false;
  const bool Inside = ClientRect().Contains({X, Y});
  if (FGroupIndex == 0) {
    SetState(bsUp);
    if (Inside) Click();
    return;
  }
  if (Inside) SetDown(!FDown);
  SetState(FDown ? bsExclusive : bsUp);
  if (Inside) Click();
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseInControl = Message.Msg == CM_MOUSEENTER;
      if (FFlat) Invalidate();
      TGraphicControl::Dispatch(Message);
      return;
    case WM_CANCELMODE:
      FDragging = false;
      SetState(FDown ? bsExclusive : bsUp);
      TGraphicControl::Dispatch(Message);
      return;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      TGraphicControl::Dispatch(Message);
      return;
    default: TGraphicControl::Dispatch(Message);
  }
}

void TSpeedButton::PaintFace(TCanvas* C, TRect R, bool Pressed) {
  if (Pressed) OffsetRect(R, 1, 1);
  const bool Enabled = IsEnabledInTree();
  const int Index = !Enabled ? 1 : FState == bsDown ? 2 : FState == bsExclusive ? 3 : 0;
  C->Font()->Assign(Font());
  DrawButtonFace(C, R, FGlyph.get(), FNumGlyphs, FNumGlyphs > Index ? Index : 0, Caption(),
                 FLayout, FMargin, FSpacing, Enabled);
}

void TSpeedButton::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  const bool Pressed = FState == bsDown || FState == bsExclusive;
  if (!FTransparent || !FFlat) {
    C->Brush()->SetColor(FState == bsExclusive && !FFlat ? clBtnHighlight : Color());
    C->FillRect(R);
  }
  if (!FFlat) {
    TRect Frame = R;
    DrawFrameControl(C, Frame, DFC_BUTTON, DFCS_BUTTONPUSH | (Pressed ? unsigned(DFCS_PUSHED) : 0u));
    if (FState == bsExclusive) {
      InflateRect(Frame, -2, -2);
      C->Brush()->SetColor(clBtnHighlight);
      C->FillRect(Frame);
    }
  } else if (Pressed || (FMouseInControl && IsEnabledInTree())) {
    TRect Frame = R;
    DrawEdge(C, Frame, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  PaintFace(C, R, Pressed);
}

// --- TBitBtn ----------------------------------------------------------------------------------

namespace {
struct TKindInfo {
  const char16_t* Caption;
  TModalResult Result;
};
// ORDER KINDS: as TBitBtnKind.
const TKindInfo KindInfo[] = {
    {u"", mrNone},     {u"OK", mrOk},       {u"Cancel", mrCancel}, {u"&Help", mrNone},
    {u"&Yes", mrYes},  {u"&No", mrNo},      {u"&Close", mrNone},   {u"Abort", mrAbort},
    {u"&Retry", mrRetry}, {u"&Ignore", mrIgnore}, {u"&All", mrAll},
};
}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->SetOnChange([this](TObject*) { Invalidate(); });
}

TBitBtn::~TBitBtn() { FGlyph->SetOnChange(nullptr); }

void TBitBtn::SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
void TBitBtn::SetNumGlyphs(TNumGlyphs Value) {
  FNumGlyphs = std::clamp(Value, 1, 4);
  Invalidate();
}
void TBitBtn::SetLayout(TButtonLayout Value) {
  FLayout = Value;
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  FKind = Value;
  if (Value == bkCustom) return;
  SetCaption(KindInfo[Value].Caption);
  SetModalResult(KindInfo[Value].Result);
  if (Value == bkOK || Value == bkYes) SetDefault(true);
  if (Value == bkCancel || Value == bkNo) SetCancel(true);
}

void TBitBtn::PaintWindow(HDC DC) {
  TCanvasPaintScope Scope(Canvas(), DC, Font(), Color());
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  if (Active()) {
    C->Brush()->SetColor(clWindowFrame);
    C->FrameRect(R);
    InflateRect(R, -1, -1);
  }
  TRect Face = R;
  DrawFrameControl(C, Face, DFC_BUTTON, DFCS_BUTTONPUSH | (Pressed() ? unsigned(DFCS_PUSHED) : 0u));
  TRect Inner = R;
  if (Pressed()) OffsetRect(Inner, 1, 1);
  C->Font()->Assign(Font());
  DrawButtonFace(C, Inner, FGlyph.get(), FNumGlyphs, IsEnabledInTree() ? 0 : 1, Caption(), FLayout,
                 -1, 4, IsEnabledInTree());
  if (Focused()) {
    TRect F = R;
    InflateRect(F, -3, -3);
    C->Brush()->SetStyle(bsSolid);
    DrawFocusRect(C, F);
  }
}
