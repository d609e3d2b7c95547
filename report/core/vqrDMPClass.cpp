// vqrDMPClass.cpp - the dot-matrix page and objects.
#include "report/core/vqrDMPClass.h"

#include <cmath>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrDsgnIntf.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrXML.h"

namespace {

Extended SnapRound(Extended V, Extended Cell) { return Round(V / Cell) * Cell; }
Extended SnapTrunc(Extended V, Extended Cell) { return std::trunc(V / Cell) * Cell; }

// Courier New of 12 points with the printer style's bold, italic and underline.
void ApplyScreenFont(TFont* Font, TvqrDMPFontStyles Style) {
  Font->SetName(u"Courier New");
  Font->SetSize(12);
  TFontStyles S;
  if (Style.Contains(fsxBold)) S = S + TFontStyles{fsBold};
  if (Style.Contains(fsxItalic)) S = S + TFontStyles{fsItalic};
  if (Style.Contains(fsxUnderline)) S = S + TFontStyles{fsUnderline};
  Font->SetStyle(S);
}

String FontStyleDiff(TvqrDMPFontStyles Mine, TvqrDMPFontStyles Other) {
  if (Mine == Other) return String();
  return u" FontStyle=\"" + IntToStr(static_cast<Int64>(Mine.Bits() & 0x1FF)) + u"\"";
}

TvqrDMPFontStyles PageStyle(const TvqrComponent* C) {
  auto* P = dynamic_cast<const TvqrDMPPage*>(C->Page());
  return P ? P->FontStyle() : TvqrDMPFontStyles{};
}

}  // namespace

REGISTER_CLASS(TvqrDMPPage) {
  Class.Property("FontStyle", &TvqrDMPPage::FontStyle, &TvqrDMPPage::SetFontStyle);
}
REGISTER_CLASS(TvqrDMPMemoView) {
  Class.Property("FontStyle", &TvqrDMPMemoView::FontStyle, &TvqrDMPMemoView::SetFontStyle)
      .Property("TruncOutboundText", &TvqrDMPMemoView::TruncOutboundText,
                &TvqrDMPMemoView::SetTruncOutboundText, false);
}
REGISTER_CLASS(TvqrDMPLineView) {
  Class.Property("FontStyle", &TvqrDMPLineView::FontStyle, &TvqrDMPLineView::SetFontStyle);
}
REGISTER_CLASS(TvqrDMPCommand) {
  Class.Property("Command", &TvqrDMPCommand::Command, &TvqrDMPCommand::SetCommand);
}

// --- page -------------------------------------------------------------------------------------

TvqrDMPPage::TvqrDMPPage(TComponent* AOwner) : TvqrReportPage(AOwner) { ResetFontOptions(); }

void TvqrDMPPage::ResetFontOptions() { ApplyScreenFont(Font(), FFontStyle); }

void TvqrDMPPage::SetFontStyle(TvqrDMPFontStyles Value) {
  FFontStyle = Value;
  ResetFontOptions();
  for (TvqrComponent* C : AllObjects())
    if (C->ParentFont()) C->SetParentFont(true);
}

void TvqrDMPPage::SetPaperWidth(Extended Value) {
  TvqrReportPage::SetPaperWidth(Value);
  if (FInDefaults) return;
  TvqrReportPage::SetPaperWidth(SnapRound(PaperWidth() * vq01cm, vq1CharX) / vq01cm);
}

void TvqrDMPPage::SetPaperHeight(Extended Value) {
  TvqrReportPage::SetPaperHeight(Value);
  if (FInDefaults) return;
  TvqrReportPage::SetPaperHeight(SnapRound(PaperHeight() * vq01cm, vq1CharY) / vq01cm);
}

void TvqrDMPPage::SetPaperSize(int Value) {
  TvqrReportPage::SetPaperSize(Value);
  if (FInDefaults) return;
  TvqrReportPage::SetPaperWidth(SnapRound(PaperWidth() * vq01cm, vq1CharX) / vq01cm);
  TvqrReportPage::SetPaperHeight(SnapRound(PaperHeight() * vq01cm, vq1CharY) / vq01cm);
}

void TvqrDMPPage::SetDefaults() {
  // The printer's paper as it is, then cut down to whole cells.
  FInDefaults = true;
  TvqrReportPage::SetDefaults();
  FInDefaults = false;
  SetLeftMargin(vq1CharX / vq01cm);
  SetRightMargin(vq1CharX / vq01cm);
  SetTopMargin(vq1CharY / vq01cm);
  SetBottomMargin(vq1CharY / vq01cm);
  TvqrReportPage::SetPaperWidth(SnapTrunc(PaperWidth() * vq01cm, vq1CharX) / vq01cm);
  TvqrReportPage::SetPaperHeight(SnapTrunc(PaperHeight() * vq01cm, vq1CharY) / vq01cm);
}

// --- text -------------------------------------------------------------------------------------

TvqrDMPMemoView::TvqrDMPMemoView(TComponent* AOwner) : TvqrMemoView(AOwner) { ResetFontOptions(); }

void TvqrDMPMemoView::ResetFontOptions() {
  ApplyScreenFont(Font(), FFontStyle);
  SetCharSpacing(0);
  SetLineSpacing(1);
  SetGapX(0);
  SetGapY(0);
}

void TvqrDMPMemoView::SetFontStyle(TvqrDMPFontStyles Value) {
  FFontStyle = Value;
  TvqrMemoView::SetParentFont(false);
  ResetFontOptions();
}

void TvqrDMPMemoView::SetParentFont(bool Value) {
  TvqrMemoView::SetParentFont(Value);
  if (Value && dynamic_cast<TvqrDMPPage*>(Page())) {
    FFontStyle = PageStyle(this);
    ResetFontOptions();
  }
}

void TvqrDMPMemoView::SetLeft(Extended Value) {
  TvqrMemoView::SetLeft(Align() == baRight ? SnapTrunc(Value, vq1CharX) : SnapRound(Value, vq1CharX));
}
void TvqrDMPMemoView::SetTop(Extended Value) { TvqrMemoView::SetTop(SnapRound(Value, vq1CharY)); }
void TvqrDMPMemoView::SetWidth(Extended Value) { TvqrMemoView::SetWidth(SnapRound(Value, vq1CharX)); }
void TvqrDMPMemoView::SetHeight(Extended Value) { TvqrMemoView::SetHeight(SnapRound(Value, vq1CharY)); }

void TvqrDMPMemoView::SetBoundsDirect(Extended ALeft, Extended ATop, Extended AWidth, Extended AHeight) {
  TvqrComponent::SetLeft(ALeft);
  TvqrComponent::SetTop(ATop);
  TvqrComponent::SetWidth(AWidth);
  TvqrComponent::SetHeight(AHeight);
}

Extended TvqrDMPMemoView::CalcHeight() { return SnapRound(TvqrMemoView::CalcHeight(), vq1CharY); }
Extended TvqrDMPMemoView::CalcWidth() { return SnapRound(TvqrMemoView::CalcWidth(), vq1CharX); }

void TvqrDMPMemoView::DrawFrame() {
  X = static_cast<int>(Round((AbsLeft() - vq1CharX / 2) * ScaleX + OffsetX));
  Y = static_cast<int>(Round((AbsTop() - vq1CharY / 2.0L) * ScaleY + OffsetY));
  X1 = static_cast<int>(Round((AbsLeft() + Width() + vq1CharX / 2) * ScaleX + OffsetX));
  Y1 = static_cast<int>(Round((AbsTop() + Height() + vq1CharY / 2.0L) * ScaleY + OffsetY));
  TvqrMemoView::DrawFrame();
}

String TvqrDMPMemoView::GetoutBoundText() const {
  String Result;
  const int Rows = static_cast<int>(Round(Height() / vq1CharY));
  const int Cols = static_cast<int>(Round(Width() / vq1CharX));
  for (int I = 0; I < Rows && I < Lines()->Count(); ++I)
    Result += Lines()->Strings(I).substr(0, static_cast<size_t>(std::max(0, Cols))) + u"\r\n";
  return Result;
}

String TvqrDMPMemoView::Diff(TvqrComponent* AComponent) const {
  auto* Other = dynamic_cast<TvqrDMPMemoView*>(AComponent);
  return TvqrMemoView::Diff(AComponent) + FontStyleDiff(FFontStyle, Other ? Other->FFontStyle : TvqrDMPFontStyles{});
}

String TvqrDMPMemoView::GetDescription() const { return StringTable()->Get(u"obDMPText"); }

// --- line -------------------------------------------------------------------------------------

void TvqrDMPLineView::SetFontStyle(TvqrDMPFontStyles Value) {
  FFontStyle = Value;
  TvqrLineView::SetParentFont(false);
}

void TvqrDMPLineView::SetParentFont(bool Value) {
  TvqrLineView::SetParentFont(Value);
  if (Value && dynamic_cast<TvqrDMPPage*>(Page())) FFontStyle = PageStyle(this);
}

void TvqrDMPLineView::SetLeft(Extended Value) {
  Extended L;
  if (Value < 0) L = SnapTrunc(Value, vq1CharX) - vq1CharX / 2;
  else if (Align() == baRight) L = SnapRound(Value, vq1CharX) - vq1CharX / 2;
  else L = SnapTrunc(Value, vq1CharX) + vq1CharX / 2;
  TvqrLineView::SetLeft(L);
}

void TvqrDMPLineView::SetTop(Extended Value) {
  TvqrLineView::SetTop(SnapTrunc(Value, vq1CharY) + vq1CharY / 2.0L);
}

void TvqrDMPLineView::SetWidth(Extended Value) {
  TvqrLineView::SetWidth(Align() == baWidth ? SnapTrunc(Value, vq1CharX) : SnapRound(Value, vq1CharX));
}

String TvqrDMPLineView::Diff(TvqrComponent* AComponent) const {
  auto* Other = dynamic_cast<TvqrDMPLineView*>(AComponent);
  return TvqrLineView::Diff(AComponent) + FontStyleDiff(FFontStyle, Other ? Other->FFontStyle : TvqrDMPFontStyles{});
}

String TvqrDMPLineView::GetDescription() const { return StringTable()->Get(u"obDMPLine"); }

// --- command ----------------------------------------------------------------------------------

String TvqrDMPCommand::ToChr() const {
  String Result;
  if (!FCommand.empty() && FCommand[0] == u'#') {
    const String All = FCommand + u"#";
    size_t Start = 1;
    for (size_t P = All.find(u'#', Start); P != String::npos; P = All.find(u'#', Start)) {
      Result += static_cast<char16_t>(StrToInt(All.substr(Start, P - Start)));
      Start = P + 1;
    }
    return Result;
  }
  // Each code is read as "$" and two hex digits; the text is built by appending (GCC 12 gives
  // false -Wrestrict warnings for a string literal added or assigned here).
  String Code;
  for (size_t I = 0; I + 1 < FCommand.size(); I += 2) {
    Code.assign(1, u'$');
    Code.append(FCommand, I, 2);
    Result += static_cast<char16_t>(StrToInt(Code));
  }
  return Result;
}

void TvqrDMPCommand::SetLeft(Extended Value) { TvqrView::SetLeft(SnapRound(Value, vq1CharX)); }
void TvqrDMPCommand::SetTop(Extended Value) { TvqrView::SetTop(SnapRound(Value, vq1CharY)); }

String TvqrDMPCommand::Diff(TvqrComponent* AComponent) const {
  auto* Other = dynamic_cast<TvqrDMPCommand*>(AComponent);
  String Result = TvqrView::Diff(AComponent);
  if (!Other || Other->FCommand != FCommand) Result += u" Command=\"" + EncodeXMLValue(FCommand) + u"\"";
  return Result;
}

String TvqrDMPCommand::GetDescription() const { return StringTable()->Get(u"obDMPCmd"); }

void vqrRegisterDMPObjects() {
  TvqrObjectCollection* R = ObjectRegistry();
  R->RegisterObject1(TvqrDMPMemoView::ClassInfo(), nullptr, {}, {}, 0, 2, {ctDMP});
  R->RegisterObject1(TvqrDMPLineView::ClassInfo(), nullptr, {}, {}, 0, 5, {ctDMP});
  R->RegisterObject1(TvqrDMPCommand::ClassInfo(), nullptr, {}, {}, 0, 21, {ctDMP});
}

void vqrUnregisterDMPObjects() {
  TvqrObjectCollection* R = ObjectRegistry();
  for (TClass C : {TvqrDMPMemoView::ClassInfo(), TvqrDMPLineView::ClassInfo(), TvqrDMPCommand::ClassInfo()})
    R->Unregister(C);
}
