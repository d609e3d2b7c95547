// vqrClassViews.cpp - frames, highlights, formats and the view model with its Diff texts;
// the shape and the subreport. Drawing is in vqrClassViewsDraw.cpp.
#include "report/core/vqrClassViews.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrXML.h"

using namespace vqrclass_detail;

REGISTER_CLASS(TvqrFrameLine) {
  Class.Property("Color", &TvqrFrameLine::Color, &TvqrFrameLine::SetColor)
      .Stored(&TvqrFrameLine::IsColorStored)
      .Property("Style", &TvqrFrameLine::Style, &TvqrFrameLine::SetStyle)
      .Stored(&TvqrFrameLine::IsStyleStored)
      .Property("Width", &TvqrFrameLine::Width, &TvqrFrameLine::SetWidth)
      .Stored(&TvqrFrameLine::IsWidthStored);
}

REGISTER_CLASS(TvqrFrame) {
  Class.Property("Color", &TvqrFrame::Color, &TvqrFrame::SetColor, 0)
      .Property("DropShadow", &TvqrFrame::DropShadow, &TvqrFrame::SetDropShadow, false)
      .Property("ShadowColor", &TvqrFrame::ShadowColor, &TvqrFrame::SetShadowColor, 0)
      .Property("ShadowWidth", &TvqrFrame::ShadowWidth, &TvqrFrame::SetShadowWidth)
      .Stored(&TvqrFrame::IsShadowWidthStored)
      .Property("Style", &TvqrFrame::Style, &TvqrFrame::SetStyle, fsSolid)
      .Property("Typ", &TvqrFrame::Typ, &TvqrFrame::SetTyp)
      .Stored(&TvqrFrame::IsTypStored)
      .Property("Width", &TvqrFrame::Width, &TvqrFrame::SetWidth)
      .Stored(&TvqrFrame::IsWidthStored)
      .Property("LeftLine", &TvqrFrame::LeftLine, &TvqrFrame::SetLeftLine)
      .Property("TopLine", &TvqrFrame::TopLine, &TvqrFrame::SetTopLine)
      .Property("RightLine", &TvqrFrame::RightLine, &TvqrFrame::SetRightLine)
      .Property("BottomLine", &TvqrFrame::BottomLine, &TvqrFrame::SetBottomLine);
}

REGISTER_CLASS(TvqrHighlight) {
  Class.Property("Active", &TvqrHighlight::Active, &TvqrHighlight::SetActive, false)
      .Property("Font", &TvqrHighlight::Font, &TvqrHighlight::SetFont)
      .Property("Color", &TvqrHighlight::Color, &TvqrHighlight::SetColor, clNone)
      .Property("Condition", &TvqrHighlight::Condition, &TvqrHighlight::SetCondition);
}

REGISTER_CLASS(TvqrFormat) {
  Class.Property("DecimalSeparator", &TvqrFormat::DecimalSeparator,
                 &TvqrFormat::SetDecimalSeparator)
      .Property("FormatStr", &TvqrFormat::FormatStr, &TvqrFormat::SetFormatStr)
      .Property("Kind", &TvqrFormat::Kind, &TvqrFormat::SetKind, fkText)
      .Property("ThousandSeparator", &TvqrFormat::ThousandSeparator,
                &TvqrFormat::SetThousandSeparator);
}

REGISTER_CLASS(TvqrView) {
  Class.Property("Align", &TvqrView::Align, &TvqrView::SetAlign, baNone)
      .Property("Printable", &TvqrView::Printable, &TvqrView::SetPrintable, true)
      .Property("ShiftMode", &TvqrView::ShiftMode, &TvqrView::SetShiftMode, smAlways)
      .Property("Left", &TvqrComponent::Left, &TvqrComponent::SetLeft)
      .Property("Top", &TvqrComponent::Top, &TvqrComponent::SetTop)
      .Property("Width", &TvqrComponent::Width, &TvqrComponent::SetWidth)
      .Property("Height", &TvqrComponent::Height, &TvqrComponent::SetHeight)
      .Property("GroupIndex", &TvqrComponent::GroupIndex, &TvqrComponent::SetGroupIndex, 0)
      .Property("Restrictions", &TvqrComponent::Restrictions, &TvqrComponent::SetRestrictions,
                TvqrRestrictions())
      .Property("Visible", &TvqrComponent::Visible, &TvqrComponent::SetVisible, true)
      .Property("OnAfterData", &TvqrReportComponent::OnAfterData,
                &TvqrReportComponent::SetOnAfterData)
      .Property("OnAfterPrint", &TvqrReportComponent::OnAfterPrint,
                &TvqrReportComponent::SetOnAfterPrint)
      .Property("OnBeforePrint", &TvqrReportComponent::OnBeforePrint,
                &TvqrReportComponent::SetOnBeforePrint)
      .Property("OnPreviewClick", &TvqrReportComponent::OnPreviewClick,
                &TvqrReportComponent::SetOnPreviewClick)
      .Property("OnPreviewDblClick", &TvqrReportComponent::OnPreviewDblClick,
                &TvqrReportComponent::SetOnPreviewDblClick)
      .Property("Hint", &TvqrView::Hint, &TvqrView::SetHint)
      .Property("ShowHint", &TvqrView::ShowHint, &TvqrView::SetShowHint, false);
}

REGISTER_CLASS(TvqrStretcheable) {
  Class.Property("StretchMode", &TvqrStretcheable::StretchMode, &TvqrStretcheable::SetStretchMode,
                 smDontStretch);
}

REGISTER_CLASS(TvqrShapeView) {
  Class.Property("BrushStyle", &TvqrView::BrushStyle, &TvqrView::SetBrushStyle, bsSolid)
      .Property("Color", &TvqrView::Color, &TvqrView::SetColor, clNone)
      .Property("Cursor", &TvqrView::Cursor, &TvqrView::SetCursor, 0)
      .Property("Curve", &TvqrShapeView::Curve, &TvqrShapeView::SetCurve, 0)
      .Property("Frame", &TvqrView::Frame, &TvqrView::SetFrame)
      .Property("Shape", &TvqrShapeView::Shape, &TvqrShapeView::SetShape,
                TvqrShapeKind::skRectangle)
      .Property("TagStr", &TvqrView::TagStr, &TvqrView::SetTagStr)
      .Property("URL", &TvqrView::URL, &TvqrView::SetURL);
}

REGISTER_CLASS(TvqrSubreport) {
  Class.Property("Page", &TvqrSubreport::Page, &TvqrSubreport::SetPage)
      .Property("PrintOnParent", &TvqrSubreport::PrintOnParent, &TvqrSubreport::SetPrintOnParent,
                false);
}

namespace {

void AddAttr(String& Out, const String& Name, const String& Value) {
  Out += u" " + Name + u"=\"" + Value + u"\"";
}

String BoolText(bool Value) { return Value ? u"1" : u"0"; }

}  // namespace

int FrameTypBits(TvqrFrameTypes Typ) {
  return (Typ.Contains(ftLeft) ? 1 : 0) | (Typ.Contains(ftRight) ? 2 : 0) |
         (Typ.Contains(ftTop) ? 4 : 0) | (Typ.Contains(ftBottom) ? 8 : 0);
}

// =============================================================================================
// Frame lines and frames
// =============================================================================================

void TvqrFrameLine::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrFrameLine*>(Source);
  if (!Src) return inherited::Assign(Source);
  FColor = Src->FColor;
  FStyle = Src->FStyle;
  FWidth = Src->FWidth;
}

bool TvqrFrameLine::IsColorStored() const { return !FFrame || FColor != FFrame->Color(); }
bool TvqrFrameLine::IsStyleStored() const { return !FFrame || FStyle != FFrame->Style(); }
bool TvqrFrameLine::IsWidthStored() const { return !FFrame || FWidth != FFrame->Width(); }

String TvqrFrameLine::Diff(const TvqrFrameLine* ALine, const String& LineName, bool ColorChanged,
                           bool StyleChanged, bool WidthChanged) const {
  String Out;
  const bool ColorDiffers = ColorChanged ? IsColorStored() : FColor != ALine->FColor;
  if (ColorDiffers) AddAttr(Out, LineName + u".Color", IntToStr(FColor));
  const bool StyleDiffers = StyleChanged ? IsStyleStored() : FStyle != ALine->FStyle;
  if (StyleDiffers) AddAttr(Out, LineName + u".Style", IntToStr(static_cast<int>(FStyle)));
  const bool WidthDiffers = WidthChanged ? (FFrame && FloatsDiffer(FWidth, FFrame->Width()))
                                         : FloatsDiffer(FWidth, ALine->FWidth);
  if (WidthDiffers) AddAttr(Out, LineName + u".Width", FloatToStr(FWidth));
  return Out;
}

TvqrFrame::TvqrFrame() = default;

TvqrFrame::~TvqrFrame() = default;

void TvqrFrame::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrFrame*>(Source);
  if (!Src) return inherited::Assign(Source);
  FColor = Src->FColor;
  FDropShadow = Src->FDropShadow;
  FShadowWidth = Src->FShadowWidth;
  FShadowColor = Src->FShadowColor;
  FStyle = Src->FStyle;
  FTyp = Src->FTyp;
  FWidth = Src->FWidth;
  FLeftLine.Assign(&Src->FLeftLine);
  FTopLine.Assign(&Src->FTopLine);
  FRightLine.Assign(&Src->FRightLine);
  FBottomLine.Assign(&Src->FBottomLine);
}

void TvqrFrame::SetColor(TColor Value) {
  FColor = Value;
  for (TvqrFrameLine* L : {&FLeftLine, &FTopLine, &FRightLine, &FBottomLine})
    L->SetColor(Value);
}

void TvqrFrame::SetStyle(TvqrFrameStyle Value) {
  FStyle = Value;
  for (TvqrFrameLine* L : {&FLeftLine, &FTopLine, &FRightLine, &FBottomLine})
    L->SetStyle(Value);
}

void TvqrFrame::SetWidth(Extended Value) {
  FWidth = Value;
  for (TvqrFrameLine* L : {&FLeftLine, &FTopLine, &FRightLine, &FBottomLine})
    L->SetWidth(Value);
}

String TvqrFrame::Diff(const TvqrFrame* AFrame) const {
  String Out;
  const bool ColorChanged = FColor != AFrame->FColor;
  const bool StyleChanged = FStyle != AFrame->FStyle;
  const bool WidthChanged = FloatsDiffer(FWidth, AFrame->FWidth);
  if (ColorChanged) AddAttr(Out, u"Frame.Color", IntToStr(FColor));
  if (FDropShadow != AFrame->FDropShadow) AddAttr(Out, u"Frame.DropShadow", BoolText(FDropShadow));
  if (FShadowColor != AFrame->FShadowColor)
    AddAttr(Out, u"Frame.ShadowColor", IntToStr(FShadowColor));
  if (FloatsDiffer(FShadowWidth, AFrame->FShadowWidth))
    AddAttr(Out, u"Frame.ShadowWidth", FloatToStr(FShadowWidth));
  if (StyleChanged) AddAttr(Out, u"Frame.Style", IntToStr(static_cast<int>(FStyle)));
  if (!(FTyp == AFrame->FTyp)) AddAttr(Out, u"Frame.Typ", IntToStr(FrameTypBits(FTyp)));
  if (WidthChanged) AddAttr(Out, u"Frame.Width", FloatToStr(FWidth));
  Out += FLeftLine.Diff(&AFrame->FLeftLine, u"Frame.LeftLine", ColorChanged, StyleChanged,
                        WidthChanged);
  Out += FTopLine.Diff(&AFrame->FTopLine, u"Frame.TopLine", ColorChanged, StyleChanged,
                       WidthChanged);
  Out += FRightLine.Diff(&AFrame->FRightLine, u"Frame.RightLine", ColorChanged, StyleChanged,
                         WidthChanged);
  Out += FBottomLine.Diff(&AFrame->FBottomLine, u"Frame.BottomLine", ColorChanged,
                          StyleChanged, WidthChanged);
  return Out;
}

// =============================================================================================
// Highlight and format
// =============================================================================================

TvqrHighlight::TvqrHighlight() {
  FFont.SetName(u"Arial");
  FFont.SetSize(10);
  FFont.SetColor(255);
  FFont.SetCharset(1);
}

TvqrHighlight::~TvqrHighlight() = default;

void TvqrHighlight::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrHighlight*>(Source);
  if (!Src) return inherited::Assign(Source);
  FFont.Assign(&Src->FFont);
  FColor = Src->FColor;
  FCondition = Src->FCondition;
}

void TvqrFormat::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TvqrFormat*>(Source);
  if (!Src) return inherited::Assign(Source);
  FDecimalSeparator = Src->FDecimalSeparator;
  FThousandSeparator = Src->FThousandSeparator;
  FFormatStr = Src->FFormatStr;
  FKind = Src->FKind;
}

// =============================================================================================
// TvqrView
// =============================================================================================

TvqrView::TvqrView(TComponent* AOwner)
    : TvqrReportComponent(AOwner) {
  SetvqComponentStyle(vqComponentStyle() + TvqrComponentStyle{csDefaultDiff});
}

TvqrView::~TvqrView() = default;

void TvqrView::SetDataSet(TvqrDataSet* Value) { FDataSet.Set(Value, this); }

String TvqrView::DataSetName() const { return FDataSet.Name(); }

void TvqrView::SetDataSetName(const String& Value) { FDataSet.SetName(Value, this); }

bool TvqrView::IsDataField() const { return FDataSet.DataSet && !FDataField.empty(); }

void TvqrView::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove) FDataSet.Removed(AComponent);
}

void TvqrView::BeforePrint() {
  inherited::BeforePrint();
  FSavedTagStr = FTagStr;
  FSavedURL = FURL;
}

void TvqrView::AfterPrint() {
  inherited::AfterPrint();
  FTagStr = FSavedTagStr;
  FURL = FSavedURL;
}

String TvqrView::GetDescription() const { return ClassName(); }

String TvqrView::ViewDiff(TvqrComponent* AComponent) const {
  String Out = DiffBaseAttributes(AComponent);
  auto* Ref = dynamic_cast<TvqrView*>(AComponent);
  if (!Ref) return Out;
  if (FBrushStyle != Ref->FBrushStyle)
    AddAttr(Out, u"BrushStyle", IntToStr(static_cast<int>(FBrushStyle)));
  if (FAlign != Ref->FAlign) AddAttr(Out, u"Align", IntToStr(static_cast<int>(FAlign)));
  if (FColor != Ref->FColor) AddAttr(Out, u"Color", IntToStr(FColor));
  Out += FFrame.Diff(&Ref->FFrame);
  if (FCursor != Ref->FCursor) AddAttr(Out, u"Cursor", IntToStr(FCursor));
  if (FPrintable != Ref->FPrintable) AddAttr(Out, u"Printable", BoolText(FPrintable));
  if (FTagStr != Ref->FTagStr) AddAttr(Out, u"TagStr", EncodeXMLValue(FTagStr));
  if (FURL != Ref->FURL) AddAttr(Out, u"URL", EncodeXMLValue(FURL));
  return Out;
}

String TvqrView::Diff(TvqrComponent* AComponent) const { return ViewDiff(AComponent); }

// =============================================================================================
// Shape and subreport
// =============================================================================================

TvqrShapeView::TvqrShapeView(TComponent* AOwner) : TvqrView(AOwner) {
  SetvqComponentStyle(vqComponentStyle() - TvqrComponentStyle{csDefaultDiff});
}

TvqrShapeView* TvqrShapeView::DesignCreate(TComponent* AOwner, Word Flags) {
  auto* Shape = TvqrComponent::DesignCreate<TvqrShapeView>(AOwner);
  if (Flags <= TvqrShapeKind::skDiagonal2) Shape->SetShape(static_cast<TvqrShapeKind>(Flags));
  return Shape;
}

String TvqrShapeView::Diff(TvqrComponent* AComponent) const {
  String Out = ViewDiff(AComponent);
  auto* Ref = dynamic_cast<TvqrShapeView*>(AComponent);
  if (Ref && FShape != Ref->FShape) AddAttr(Out, u"Shape", IntToStr(static_cast<int>(FShape)));
  return Out;
}

String TvqrShapeView::GetDescription() const { return ResText(u"obShape"); }

TvqrSubreport::TvqrSubreport(TComponent* AOwner) : TvqrView(AOwner) {
  SetvqComponentStyle(vqComponentStyle() - TvqrComponentStyle{csPreviewVisible});
  TvqrFrameTypes All;
  All << ftLeft << ftRight << ftTop << ftBottom;
  Frame()->SetTyp(All);
  Font()->SetName(u"Tahoma");
  Font()->SetSize(8);
  SetColor(12632256);
}

TvqrSubreport::~TvqrSubreport() {
  if (FPage) FPage->SetSubReport(nullptr);
}

void TvqrSubreport::SetPage(TvqrReportPage* Value) {
  if (FPage && FPage != Value) FPage->SetSubReport(nullptr);
  FPage = Value;
  if (Value) {
    Value->SetSubReport(this);
    Value->FreeNotification(this);
  }
}

void TvqrSubreport::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPage) FPage = nullptr;
}

String TvqrSubreport::GetDescription() const { return ResText(u"obSubRep"); }
