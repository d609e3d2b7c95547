// vqrClassMemo.cpp - the text object's model: published lists, stored rules, styles and Diff.
#include "report/core/vqrClassMemo.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClass_p.h"
#include "report/core/vqrXML.h"

using namespace vqrclass_detail;

namespace {

using M = TvqrCustomMemoView;

// The view properties the text objects publish (TvqrView leaves them to its descendants).
template <class T>
void ViewSet(TClassBuilder<T>& C, bool WithData) {
  C.Property("BrushStyle", &TvqrView::BrushStyle, &TvqrView::SetBrushStyle, bsSolid)
      .Property("Color", &TvqrView::Color, &TvqrView::SetColor, clNone)
      .Property("Cursor", &TvqrView::Cursor, &TvqrView::SetCursor, 0);
  if (WithData)
    C.Property("DataField", &TvqrView::DataField, &TvqrView::SetDataField)
        .Property("DataSet", &TvqrView::DataSet, &TvqrView::SetDataSet)
        .Property("DataSetName", &TvqrView::DataSetName, &TvqrView::SetDataSetName);
  C.Property("Frame", &TvqrView::Frame, &TvqrView::SetFrame)
      .Property("TagStr", &TvqrView::TagStr, &TvqrView::SetTagStr)
      .Property("URL", &TvqrView::URL, &TvqrView::SetURL);
}

void AddAttr(String& Out, const char16_t* Name, const String& Value) {
  Out += u" ";
  Out += Name;
  Out += u"=\"" + Value + u"\"";
}

String BoolText(bool Value) { return Value ? u"1" : u"0"; }

}  // namespace

namespace {

// The text object's published list; the system text leaves out the data binding, the
// expression and the wrapping options.
template <class T>
void MemoProps(TClassBuilder<T>& C, bool Full) {
  if (Full) ViewSet(C, true);
  C.Property("AutoWidth", &M::AutoWidth, &M::SetAutoWidth, false);
  if (Full)
    C.Property("AllowExpressions", &M::AllowExpressions, &M::SetAllowExpressions, true)
        .Property("AllowHTMLTags", &M::AllowHTMLTags, &M::SetAllowHTMLTags, false);
  else
    C.Property("BrushStyle", &TvqrView::BrushStyle, &TvqrView::SetBrushStyle, bsSolid);
  C.Property("CharSpacing", &M::CharSpacing, &M::SetCharSpacing).Stored(&M::IsCharSpacingStored);
  if (Full) C.Property("Clipped", &M::Clipped, &M::SetClipped, true);
  if (!Full) C.Property("Color", &TvqrView::Color, &TvqrView::SetColor, clNone);
  C.Property("DisplayFormat", &M::DisplayFormat, &M::SetDisplayFormat);
  if (Full)
    C.Property("ExpressionDelimiters", &M::ExpressionDelimiters, &M::SetExpressionDelimiters)
        .Stored(&M::IsExpressionDelimitersStored)
        .Property("FlowTo", &M::FlowTo, &M::SetFlowTo)
        .Property("FirstParaBreak", &M::FirstParaBreak, &M::SetFirstParaBreak, false);
  C.Property("Font", &TvqrComponent::Font, &TvqrComponent::SetFont)
      .Stored(&TvqrComponent::IsFontStored);
  if (!Full) C.Property("Frame", &TvqrView::Frame, &TvqrView::SetFrame);
  C.Property("GapX", &M::GapX, &M::SetGapX)
      .Stored(&M::IsGapXStored)
      .Property("GapY", &M::GapY, &M::SetGapY)
      .Stored(&M::IsGapYStored)
      .Property("HAlign", &M::HAlign, &M::SetHAlign, haLeft)
      .Property("HideZeros", &M::HideZeros, &M::SetHideZeros, false)
      .Property("Highlight", &M::Highlight, &M::SetHighlight)
      .Stored(&M::IsHighlightStored);
  if (Full)
    C.Property("LastParaBreak", &M::LastParaBreak, &M::SetLastParaBreak, false)
        .Property("LineSpacing", &M::LineSpacing, &M::SetLineSpacing)
        .Stored(&M::IsLineSpacingStored);
  C.Property("Memo", &M::Memo, &M::SetMemo);
  if (Full)
    C.Property("ParagraphGap", &M::ParagraphGap, &M::SetParagraphGap)
        .Stored(&M::IsParagraphGapStored);
  C.Property("ParentFont", &TvqrComponent::ParentFont, &TvqrComponent::SetParentFont, true)
      .Property("Rotation", &M::Rotation, &M::SetRotation, 0)
      .Property("RTLReading", &M::RTLReading, &M::SetRTLReading, false)
      .Property("Style", &M::Style, &M::SetStyle)
      .Property("SuppressRepeated", &M::SuppressRepeated, &M::SetSuppressRepeated, false);
  if (Full)
    C.Property("Underlines", &M::Underlines, &M::SetUnderlines, false)
        .Property("UseDefaultCharset", &M::UseDefaultCharset, &M::SetUseDefaultCharset, false)
        .Property("WordBreak", &M::WordBreak, &M::SetWordBreak, false);
  C.Property("WordWrap", &M::WordWrap, &M::SetWordWrap, true);
  if (Full) C.Property("Wysiwyg", &M::Wysiwyg, &M::SetWysiwyg, true);
  C.Property("VAlign", &M::VAlign, &M::SetVAlign, vaTop);
}

}  // namespace

// The published lists sit on the two published classes; the common base publishes only what
// the stretchable view does.
REGISTER_CLASS(TvqrCustomMemoView) {}
REGISTER_CLASS(TvqrMemoView) { MemoProps(Class, true); }
REGISTER_CLASS(TvqrSysMemoView) { MemoProps(Class, false); }

// =============================================================================================
// TvqrCustomMemoView
// =============================================================================================

TvqrCustomMemoView::TvqrCustomMemoView(TComponent* AOwner)
    : TvqrStretcheable(AOwner) {
  SetParentFont(true);
  SetvqComponentStyle(vqComponentStyle() - TvqrComponentStyle{csDefaultDiff});
}

TvqrCustomMemoView::~TvqrCustomMemoView() = default;

String TvqrCustomMemoView::Text() const {
  String Result = FMemo.Text();
  if (Result.size() >= 2 && Result.ends_with(u"\r\n")) Result.resize(Result.size() - 2);
  return Result;
}

void TvqrCustomMemoView::SetText(const String& Value) { FMemo.SetText(Value); }

void TvqrCustomMemoView::SetFlowTo(TvqrCustomMemoView* Value) {
  FFlowTo = Value;
  if (Value) Value->FreeNotification(this);
}

bool TvqrCustomMemoView::IsHighlightStored() const {
  return !Trim(FHighlight.Condition()).empty();
}

void TvqrCustomMemoView::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFlowTo) FFlowTo = nullptr;
}

void TvqrCustomMemoView::SetStyle(const String& Value) {
  FStyle = Value;
  if (TvqrReport* R = Report()) ApplyStyle(R->Styles()->Find(Value));
}

void TvqrCustomMemoView::ApplyStyle(TvqrStyleItem* Item) {
  if (!Item) return;
  SetColor(Item->Color());
  SetFont(Item->Font());
  Frame()->Assign(Item->Frame());
}

String TvqrCustomMemoView::GetComponentText() const {
  String Result = Text();
  if (!FAllowExpressions) return Result;
  const std::size_t P = UpperCase(Result).find(u"[TOTALPAGES]");
  if (P != String::npos) Result.replace(P, 12, IntToStr(TotalPages));
  return Result;
}

String TvqrCustomMemoView::GetDescription() const { return ResText(u"obText"); }

String TvqrCustomMemoView::Diff(TvqrComponent* AComponent) const {
  String Out = ViewDiff(AComponent);
  auto* Ref = dynamic_cast<TvqrCustomMemoView*>(AComponent);
  if (Ref) {
    if (FAutoWidth != Ref->FAutoWidth) AddAttr(Out, u"AutoWidth", BoolText(FAutoWidth));
    if (FloatsDiffer(FCharSpacing, Ref->FCharSpacing))
      AddAttr(Out, u"CharSpacing", FloatToStr(FCharSpacing));
    if (FloatsDiffer(FGapX, Ref->FGapX)) AddAttr(Out, u"GapX", FloatToStr(FGapX));
    if (FloatsDiffer(FGapY, Ref->FGapY)) AddAttr(Out, u"GapY", FloatToStr(FGapY));
    if (FHAlign != Ref->FHAlign) AddAttr(Out, u"HAlign", IntToStr(static_cast<int>(FHAlign)));
    if (FHighlight.Active() != Ref->FHighlight.Active())
      AddAttr(Out, u"Highlight.Active", BoolText(FHighlight.Active()));
    if (FloatsDiffer(FLineSpacing, Ref->FLineSpacing))
      AddAttr(Out, u"LineSpacing", FloatToStr(FLineSpacing));
    if (FUseDefaultCharset != Ref->FUseDefaultCharset)
      AddAttr(Out, u"UseDefaultCharset", BoolText(FUseDefaultCharset));
  }
  AddAttr(Out, u"u", EncodeXMLValue(Text()));
  if (Ref) {
    if (FloatsDiffer(FParagraphGap, Ref->FParagraphGap))
      AddAttr(Out, u"ParagraphGap", FloatToStr(FParagraphGap));
    if (FRotation != Ref->FRotation) AddAttr(Out, u"Rotation", IntToStr(FRotation));
    if (FRTLReading != Ref->FRTLReading) AddAttr(Out, u"RTLReading", BoolText(FRTLReading));
    if (FUnderlines != Ref->FUnderlines) AddAttr(Out, u"Underlines", BoolText(FUnderlines));
    if (FVAlign != Ref->FVAlign) AddAttr(Out, u"VAlign", IntToStr(static_cast<int>(FVAlign)));
    if (FWordWrap != Ref->FWordWrap) AddAttr(Out, u"WordWrap", BoolText(FWordWrap));
    const TvqrFormat* F = &FDisplayFormat;
    const TvqrFormat* RF = &Ref->FDisplayFormat;
    if (F->Kind() != RF->Kind())
      AddAttr(Out, u"DisplayFormat.Kind", IntToStr(static_cast<int>(F->Kind())));
    if (F->DecimalSeparator() != RF->DecimalSeparator())
      AddAttr(Out, u"DisplayFormat.DecimalSeparator", EncodeXMLValue(F->DecimalSeparator()));
    if (F->ThousandSeparator() != RF->ThousandSeparator())
      AddAttr(Out, u"DisplayFormat.ThousandSeparator", EncodeXMLValue(F->ThousandSeparator()));
    if (F->FormatStr() != RF->FormatStr())
      AddAttr(Out, u"DisplayFormat.FormatStr", EncodeXMLValue(F->FormatStr()));
  }
  if (FFirstParaBreak) AddAttr(Out, u"FirstParaBreak", u"1");
  if (FLastParaBreak) AddAttr(Out, u"LastParaBreak", u"1");
  // The next part of a split text starts with the break this part ended in.
  FFirstParaBreak = FLastParaBreak;
  FLastParaBreak = false;
  return Out;
}

String TvqrSysMemoView::GetDescription() const { return ResText(u"obSysText"); }
