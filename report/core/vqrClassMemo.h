// vqrClassMemo.h - the text object: TvqrCustomMemoView (published as TvqrMemoView) and the
// system text TvqrSysMemoView; their fields, defaults, stored rules, styles and Diff.
//
// Evaluating the text during a run (GetData, FormatData, macros), measuring, splitting and
// drawing the text belong to the engine's text units and override the hooks here.
#pragma once

#include <memory>

#include "platform/rtl/Variants.h"
#include "report/core/vqrClassViews.h"
#include "report/core/vqrUnicodeUtils.h"
#include "report/core/vqrXMLSerializer.h"

class TvqrStyleItem;
class TvqrDrawText;

VORENTA_ENUM(TvqrHAlign, haLeft, haRight, haCenter, haBlock);
VORENTA_ENUM(TvqrVAlign, vaTop, vaBottom, vaCenter);

class TvqrCustomMemoView : public TvqrStretcheable, public IvqrSerializedText {
  VORENTA_CLASS(TvqrCustomMemoView, TvqrStretcheable)
public:
  explicit TvqrCustomMemoView(TComponent* AOwner);
  ~TvqrCustomMemoView() override;

  // --- the text -----------------------------------------------------------------------------
  TvqrWideStrings* Memo() const { return &FMemo; }
  void SetMemo(TStrings* Value) { FMemo.Assign(Value); }
  TvqrWideStrings* Lines() const { return &FMemo; }
  // The lines joined with CR LF, without the final line break.
  String Text() const;
  void SetText(const String& Value);
  String SerializedText() const override { return Text(); }
  void SetSerializedText(const String& Value) override { SetText(Value); }

  // --- properties (defaults as the constructor sets them) -----------------------------------
  bool AllowExpressions() const { return FAllowExpressions; }
  void SetAllowExpressions(bool Value) { FAllowExpressions = Value; }
  bool AllowHTMLTags() const { return FAllowHTMLTags; }
  void SetAllowHTMLTags(bool Value) { FAllowHTMLTags = Value; }
  bool AutoWidth() const { return FAutoWidth; }
  void SetAutoWidth(bool Value) { FAutoWidth = Value; }
  Extended CharSpacing() const { return FCharSpacing; }
  void SetCharSpacing(Extended Value) { FCharSpacing = Value; }
  bool Clipped() const { return FClipped; }
  void SetClipped(bool Value) { FClipped = Value; }
  TvqrFormat* DisplayFormat() const { return &FDisplayFormat; }
  void SetDisplayFormat(TvqrFormat* Value) { FDisplayFormat.Assign(Value); }
  const String& ExpressionDelimiters() const { return FExpressionDelimiters; }
  void SetExpressionDelimiters(const String& Value) { FExpressionDelimiters = Value; }
  TvqrCustomMemoView* FlowTo() const { return FFlowTo; }
  void SetFlowTo(TvqrCustomMemoView* Value);
  bool FirstParaBreak() const { return FFirstParaBreak; }
  void SetFirstParaBreak(bool Value) { FFirstParaBreak = Value; }
  bool LastParaBreak() const { return FLastParaBreak; }
  void SetLastParaBreak(bool Value) { FLastParaBreak = Value; }
  Extended GapX() const { return FGapX; }
  void SetGapX(Extended Value) { FGapX = Value; }
  Extended GapY() const { return FGapY; }
  void SetGapY(Extended Value) { FGapY = Value; }
  TvqrHAlign HAlign() const { return FHAlign; }
  void SetHAlign(TvqrHAlign Value) { FHAlign = Value; }
  bool HideZeros() const { return FHideZeros; }
  void SetHideZeros(bool Value) { FHideZeros = Value; }
  TvqrHighlight* Highlight() const { return &FHighlight; }
  void SetHighlight(TvqrHighlight* Value) { FHighlight.Assign(Value); }
  Extended LineSpacing() const { return FLineSpacing; }
  void SetLineSpacing(Extended Value) { FLineSpacing = Value; }
  Extended ParagraphGap() const { return FParagraphGap; }
  void SetParagraphGap(Extended Value) { FParagraphGap = Value; }
  int Rotation() const { return FRotation; }
  // Stores the value modulo 360, keeping its sign.
  void SetRotation(int Value) { FRotation = Value % 360; }
  bool RTLReading() const { return FRTLReading; }
  void SetRTLReading(bool Value) { FRTLReading = Value; }
  // Writing the name applies that style of the report's style sheet; a name the sheet lacks
  // is stored as it is.
  const String& Style() const { return FStyle; }
  void SetStyle(const String& Value);
  bool SuppressRepeated() const { return FSuppressRepeated; }
  void SetSuppressRepeated(bool Value) { FSuppressRepeated = Value; }
  bool Underlines() const { return FUnderlines; }
  void SetUnderlines(bool Value) { FUnderlines = Value; }
  bool UseDefaultCharset() const { return FUseDefaultCharset; }
  void SetUseDefaultCharset(bool Value) { FUseDefaultCharset = Value; }
  TvqrVAlign VAlign() const { return FVAlign; }
  void SetVAlign(TvqrVAlign Value) { FVAlign = Value; }
  bool WordBreak() const { return FWordBreak; }
  void SetWordBreak(bool Value) { FWordBreak = Value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { FWordWrap = Value; }
  bool Wysiwyg() const { return FWysiwyg; }
  void SetWysiwyg(bool Value) { FWysiwyg = Value; }

  // --- stored rules -------------------------------------------------------------------------
  bool IsCharSpacingStored() const { return FCharSpacing != 0; }
  bool IsExpressionDelimitersStored() const { return FExpressionDelimiters != u"[,]"; }
  bool IsGapXStored() const { return FGapX != 2; }
  bool IsGapYStored() const { return FGapY != 1; }
  bool IsLineSpacingStored() const { return FLineSpacing != 2; }
  bool IsParagraphGapStored() const { return FParagraphGap != 0; }
  bool IsHighlightStored() const;

  // --- run state ----------------------------------------------------------------------------
  const Variant& Value() const { return FValue; }
  void SetValue(const Variant& V) { FValue = V; }
  Variant LastValue = Null();
  String PartMemo, TempMemo;
  int TotalPages = 0, CopyNo = 0;
  TRect TextRect{};
  Extended PrintScale = 0;

  // Colour, font (ending ParentFont) and frame of the style item; nothing for none.
  void ApplyStyle(TvqrStyleItem* Item);
  // The text with the first "[TOTALPAGES]" (any case) replaced by TotalPages when
  // expressions are allowed.
  String GetComponentText() const override;
  // The view's differences, the text object's own, " u" with the text, the paragraph flags;
  // the flags then move on (LastParaBreak becomes the next part's FirstParaBreak).
  String Diff(TvqrComponent* AComponent) const override;
  String GetDescription() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // --- run time (vqrClassMemoRun.cpp) -------------------------------------------------------
  // Saves the designed text / restores it (unless bound to a data field).
  void BeforePrint() override;
  void AfterPrint() override;
  // The text for the current record: the field, or the text with its bracketed expressions
  // replaced by their formatted values; the highlight; repeated values; FlowTo.
  void GetData() override;
  // Value as text by AFormat (nullptr: DisplayFormat); never fails.
  String FormatData(const Variant& AValue, TvqrFormat* AFormat = nullptr) const;
  // "[TotalPages#]" and "[CopyName#]" become the page count and the copy's name.
  void ExtractMacros();
  void ResetSuppress() { LastValue = String(); }
  Extended CalcHeight() override;
  virtual Extended CalcWidth();
  void InitPart() override;
  Extended DrawPart() override;
  void BeginDraw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY, Extended AOffsetX,
                 Extended AOffsetY) override;
  void Draw(TCanvas* Canvas, Extended ScaleX, Extended ScaleY, Extended OffsetX,
            Extended OffsetY) override;
  // The wrapped lines (WrapWords) or the text without formatting tags.
  String WrapText(bool WrapWords);

private:
  String EvaluateBracketExpression(const String& Text);
  void PrepareDrawText(TvqrDrawText* R, TCanvas* ACanvas, Extended AScaleX, Extended AScaleY,
                       Extended AOffsetX, Extended AOffsetY);
  Extended GapSum(bool Horizontal) const;

  // The lines, the display format and the highlight are held in the object, not allocated
  // apart (every text object has them; mutable: the published getters hand them out from a
  // const object).
  mutable TvqrWideStrings FMemo;
  bool FAllowExpressions = true;
  bool FAllowHTMLTags = false;
  bool FAutoWidth = false;
  Extended FCharSpacing = 0;
  bool FClipped = true;
  mutable TvqrFormat FDisplayFormat;
  String FExpressionDelimiters = u"[,]";
  TvqrCustomMemoView* FFlowTo = nullptr;
  mutable bool FFirstParaBreak = false;
  mutable bool FLastParaBreak = false;
  Extended FGapX = 2, FGapY = 1;
  TvqrHAlign FHAlign = haLeft;
  bool FHideZeros = false;
  mutable TvqrHighlight FHighlight;
  Extended FLineSpacing = 2;
  Extended FParagraphGap = 0;
  int FRotation = 0;
  bool FRTLReading = false;
  String FStyle;
  bool FSuppressRepeated = false;
  bool FUnderlines = false;
  bool FUseDefaultCharset = false;
  TvqrVAlign FVAlign = vaTop;
  bool FWordBreak = false, FWordWrap = true, FWysiwyg = true;
  Variant FValue;
};

class TvqrMemoView : public TvqrCustomMemoView {
  VORENTA_CLASS(TvqrMemoView, TvqrCustomMemoView)
public:
  explicit TvqrMemoView(TComponent* AOwner) : TvqrCustomMemoView(AOwner) {}
};

// A text object without data binding, expressions or wrapping options.
class TvqrSysMemoView : public TvqrCustomMemoView {
  VORENTA_CLASS(TvqrSysMemoView, TvqrCustomMemoView)
public:
  explicit TvqrSysMemoView(TComponent* AOwner) : TvqrCustomMemoView(AOwner) {}
  String GetDescription() const override;
};
