// vqrClassMemoRun.cpp - the run-time half of views and the text object: bracket expansion of
// TagStr and URL, the text object's data, expressions, display formats, page macros,
// measuring, splitting across pages and drawing through the text renderer.
#include "report/core/vqrClassMemo.h"

#include "platform/graphics/Canvas.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrEngine.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrVariables.h"

namespace {

TvqrDrawText* RendererOf(TvqrReport* Report) {
  auto* Engine = Report ? dynamic_cast<TvqrEngine*>(Report->Engine()) : nullptr;
  return Engine ? Engine->DrawText() : SharedDrawText();
}

int RoundInt(Extended X) { return static_cast<int>(Round(X)); }

// A value's plain text; a date-time shows its date alone when it has no time of day and its
// time alone when it has no date (so "[Date] [Time]" prints "09.12.2025 14:35:12").
String ValueText(const Variant& V) {
  if (V.VType() != varDate) return VarToStr(V);
  TDateTime D = V.AsDateTime();
  if (D == static_cast<TDateTime>(static_cast<Int64>(D))) return DateToStr(D);
  if (static_cast<Int64>(D) == 0) return TimeToStr(D);
  return DateTimeToStr(D);
}

bool IsZeroNumber(const Variant& V) {
  if (V.IsString() || V.IsNull() || V.IsEmpty()) return false;
  try {
    return V.AsDouble() == 0;
  } catch (const Exception&) {
    return false;  // a value that is no number is not a zero
  }
}

}  // namespace

// =============================================================================================
// Views

void TvqrView::GetData() {
  TvqrReport* R = Report();
  if (!R) return;
  auto Eval = [R](const String& Expr) { return VarToStr(vqrCalc(R, Expr)); };
  if (TagStr().find(u'[') != String::npos) SetTagStr(vqrExpandBrackets(TagStr(), u"[", u"]", Eval));
  if (URL().find(u'[') != String::npos) SetURL(vqrExpandBrackets(URL(), u"[", u"]", Eval));
}

// =============================================================================================
// Text object: data

void TvqrCustomMemoView::BeforePrint() {
  TvqrStretcheable::BeforePrint();
  if (TvqrReport* R = Report()) vqrSetSelfValue(R, this);
  if (!IsDataField()) TempMemo = Text();
}

void TvqrCustomMemoView::AfterPrint() {
  if (!IsDataField()) SetText(TempMemo);
  TvqrStretcheable::AfterPrint();
}

String TvqrCustomMemoView::EvaluateBracketExpression(const String& Text) {
  String Expr = Text;
  std::unique_ptr<TvqrFormat> Format;
  size_t At = Text.find(u" #");
  if (At != String::npos) {
    String Suffix = Text.substr(At + 2);
    if (Suffix.find(u')') == String::npos) {
      Expr = Text.substr(0, At);
      Format = std::make_unique<TvqrFormat>();
      Char First = Suffix.empty() ? Char(0) : Suffix[0];
      if (First == u'N' || First == u'n') {
        Format->SetKind(fkNumeric);
        for (Char& C : Suffix)
          if (C == u',' || C == u'-' || C == u'.') {
            Format->SetDecimalSeparator(String(1, C));
            C = u'.';
          }
      } else if (First == u'D' || First == u'd' || First == u'T' || First == u't') {
        Format->SetKind(fkDateTime);
      } else if (First == u'B' || First == u'b') {
        Format->SetKind(fkBoolean);
      }
      Format->SetFormatStr(Suffix.size() > 1 ? Suffix.substr(1, 255) : String());
    }
  }
  Variant V;
  if (SameText(Expr, u"TOTALPAGES#"))
    V = String(u"[TotalPages#]");
  else if (SameText(Expr, u"COPYNAME#"))
    V = String(u"[CopyName#]");
  else
    V = vqrCalc(Report(), Expr);
  SetValue(V);
  if (HideZeros() && IsZeroNumber(V)) return String();
  return FormatData(V, Format.get());
}

String TvqrCustomMemoView::FormatData(const Variant& AValue, TvqrFormat* AFormat) const {
  if (AValue.IsNull() || AValue.IsEmpty()) return String();
  TvqrFormat* F = AFormat ? AFormat : DisplayFormat();
  try {
    const String& Str = F->FormatStr();
    switch (F->Kind()) {
      case fkText: return ValueText(AValue);
      case fkNumeric: {
        String Result;
        if (Str.find(u'#') != String::npos)
          Result = FormatFloat(Str, AValue.AsDouble());
        else if (Str.find(u'd') != String::npos || Str.find(u'u') != String::npos)
          Result = Format(Str, {AValue.AsInteger()});
        else
          Result = Format(Str, {static_cast<Extended>(AValue.AsDouble())});
        const String& Dec = F->DecimalSeparator();
        const String& Thou = F->ThousandSeparator();
        size_t DecAt = String::npos;
        if (Dec.size() == 1 && Dec[0] != FormatSettings.DecimalSeparator)
          DecAt = Result.rfind(FormatSettings.DecimalSeparator);
        if (Thou.size() == 1 && Thou[0] != FormatSettings.ThousandSeparator)
          for (Char& C : Result)
            if (C == FormatSettings.ThousandSeparator) C = Thou[0];
        if (DecAt != String::npos) Result[DecAt] = Dec[0];
        return Result;
      }
      case fkDateTime: return FormatDateTime(Str, AValue.AsDateTime());
      case fkBoolean: {
        size_t Comma = Str.find(u',');
        if (VarSameValue(AValue, Variant(true)))
          return Comma == String::npos ? String() : Str.substr(Comma + 1, 255);
        return Str.substr(0, Comma);
      }
    }
  } catch (const Exception&) {
    // Formatting never fails: a value or pattern that does not fit prints as plain text.
  }
  return ValueText(AValue);
}

void TvqrCustomMemoView::GetData() {
  TvqrView::GetData();
  TvqrReport* R = Report();
  if (!R) return;
  if (IsDataField()) {
    TvqrDataSet* DS = DataSet();
    if (DS->IsBlobField(DataField())) {
      DS->AssignBlobTo(DataField(), Memo());
    } else {
      SetValue(DS->Value(DataField()));
      String T = DisplayFormat()->Kind() != fkText ? FormatData(Value()) : DS->DisplayText(DataField());
      if (HideZeros() && IsZeroNumber(Value())) T.clear();
      SetText(T);
    }
  } else if (AllowExpressions()) {
    String Open, Close, T = Text();
    if (vqrSplitDelimiters(ExpressionDelimiters(), Open, Close) && T.find(Open) != String::npos)
      SetText(vqrExpandBrackets(T, Open, Close,
                                [this](const String& E) { return EvaluateBracketExpression(E); }));
  }
  vqrSetLocalValue(R, Value());
  Highlight()->SetActive(false);
  if (!Highlight()->Condition().empty())
    Highlight()->SetActive(VarSameValue(vqrCalc(R, Highlight()->Condition()), Variant(true)));
  if (SuppressRepeated()) {
    String T = Text();
    if (LastValue.IsNull() || VarToStr(LastValue) != T)
      LastValue = T;
    else
      SetText(String());
  }
  if (TvqrCustomMemoView* Flow = FlowTo()) {
    InitPart();
    DrawPart();
    Flow->SetText(PartMemo);
    Flow->SetAllowExpressions(false);
  }
}

void TvqrCustomMemoView::ExtractMacros() {
  if (!AllowExpressions()) return;
  String T = Text();
  String Upper = UpperCase(T);
  bool Changed = false;
  size_t At = Upper.find(u"[TOTALPAGES#]");
  if (At != String::npos) {
    T.replace(At, 13, IntToStr(TotalPages));
    Upper = UpperCase(T);
    Changed = true;
  }
  At = Upper.find(u"[COPYNAME#]");
  if (At != String::npos) {
    String Name = u"CopyName" + IntToStr(CopyNo);
    TvqrVariables* G = vqrGlobalVariables();
    T.replace(At, 11, G && G->IndexOf(Name) >= 0 ? VarToStr(G->Variables(Name)) : String());
    Changed = true;
  }
  if (Changed) SetText(T);
}

// =============================================================================================
// Text object: measuring and drawing

void TvqrCustomMemoView::BeginDraw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY,
                                   Extended AOffsetX, Extended AOffsetY) {
  TvqrView::BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  Extended Fx = AScaleX * Frame()->Width(), Fy = AScaleY * Frame()->Width();
  TvqrFrameTypes Typ = Frame()->Typ();
  int L = Typ.Contains(ftLeft) ? X + RoundInt((Fx - 1) / 2) : X;
  int R = Typ.Contains(ftRight) ? X1 - RoundInt(Fx / 2) : X1;
  int T = Typ.Contains(ftTop) ? Y + RoundInt((Fy - 1) / 2) : Y;
  int B = Typ.Contains(ftBottom) ? Y1 - RoundInt(Fy / 2) : Y1;
  int Gx = RoundInt(AScaleX * GapX()), Gy = RoundInt(AScaleY * GapY());
  TextRect = Rect(L + Gx, T + Gy, R - Gx + 1, B - Gy + 1);
}

Extended TvqrCustomMemoView::GapSum(bool Horizontal) const {
  TvqrFrameTypes Typ = Frame()->Typ();
  Extended W = Frame()->Width();
  Extended Sum = 2 * (Horizontal ? GapX() : GapY());
  if (Typ.Contains(Horizontal ? ftLeft : ftTop)) Sum += (W - 1) / 2;
  if (Typ.Contains(Horizontal ? ftRight : ftBottom)) Sum += W / 2;
  if (Frame()->DropShadow()) Sum += Frame()->ShadowWidth();
  return Sum;
}

void TvqrCustomMemoView::PrepareDrawText(TvqrDrawText* R, TCanvas* ACanvas, Extended AScaleX,
                                         Extended AScaleY, Extended AOffsetX,
                                         Extended AOffsetY) {
  R->SetUseDefaultCharset(UseDefaultCharset());
  if (Highlight()->Active()) {
    R->SetFont(Highlight()->Font());
    if (Highlight()->Color() != clNone) SetColor(Highlight()->Color());
  } else {
    R->SetFont(Font());
  }
  R->SetOptions(WordWrap(), AllowHTMLTags(), RTLReading(), WordBreak(), Clipped(), Wysiwyg(),
                Rotation());
  R->SetGaps(ParagraphGap(), CharSpacing(), LineSpacing());
  if (!IsDesigning() && AutoWidth()) {
    TRect Big = Rect(0, 0, 10000, 10000);
    R->SetDimensions(1, 1, 1, Big, Big);
    R->SetText(Memo());
    Extended OldWidth = Width();
    SetWidth(GapSum(true) + R->CalcWidth());
    if (HAlign() == haRight) SetLeft(Left() + OldWidth - Width());
    if (HAlign() == haCenter) SetLeft(Left() + (OldWidth - Width()) / 2);
    R->SetOptions(WordWrap(), AllowHTMLTags(), RTLReading(), WordBreak(), Clipped(), Wysiwyg(),
                  Rotation());
  }
  BeginDraw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  TRect Scaled = TextRect;
  BeginDraw(ACanvas, 1, 1, 0, 0);
  TRect Original = TextRect;
  if (!IsPrinting()) PrintScale = 1;
  R->SetDimensions(AScaleX, AScaleY, PrintScale, Original, Scaled);
  R->SetText(Memo());
  R->SetParaBreaks(FirstParaBreak(), LastParaBreak());
}

Extended TvqrCustomMemoView::CalcHeight() {
  TvqrDrawTextLock Lock;
  TvqrDrawText* R = RendererOf(Report());
  TColor SavedColor = Color();
  PrepareDrawText(R, nullptr, 1, 1, 0, 0);
  SetColor(SavedColor);
  return static_cast<Extended>(Round(GapSum(false) + R->CalcHeight()));
}

Extended TvqrCustomMemoView::CalcWidth() {
  TvqrDrawTextLock Lock;
  TvqrDrawText* R = RendererOf(Report());
  R->SetFont(Font());
  R->SetOptions(WordWrap(), AllowHTMLTags(), RTLReading(), WordBreak(), Clipped(), Wysiwyg(),
                Rotation());
  R->SetGaps(ParagraphGap(), CharSpacing(), LineSpacing());
  TRect Big = Rect(0, 0, 10000, 10000);
  R->SetDimensions(1, 1, 1, Big, Big);
  R->SetText(Memo());
  return static_cast<Extended>(Round(GapSum(true) + R->CalcWidth()));
}

void TvqrCustomMemoView::InitPart() {
  PartMemo = Text();
  SetFirstParaBreak(false);
  SetLastParaBreak(false);
}

Extended TvqrCustomMemoView::DrawPart() {
  TvqrDrawTextLock Lock;
  TvqrDrawText* R = RendererOf(Report());
  TColor SavedColor = Color();
  SetText(PartMemo);
  PrepareDrawText(R, nullptr, 1, 1, 0, 0);
  bool ParaBreak = false;
  PartMemo = R->GetOutBoundsText(ParaBreak);
  SetLastParaBreak(ParaBreak);
  String Inside = R->GetInBoundsText();
  if (Inside.size() >= 2 && Inside.compare(Inside.size() - 2, 2, u"\r\n") == 0)
    Inside.resize(Inside.size() - 2);
  SetText(Inside);
  Extended Unused = R->UnusedSpace();
  SetColor(SavedColor);
  return Unused != 0 ? Unused : Height();
}

void TvqrCustomMemoView::Draw(TCanvas* ACanvas, Extended AScaleX, Extended AScaleY,
                              Extended AOffsetX, Extended AOffsetY) {
  if (!IsDesigning()) ExtractMacros();
  TColor SavedColor = Color();
  TvqrDrawTextLock Lock;
  TvqrDrawText* R = RendererOf(Report());
  PrepareDrawText(R, ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  TvqrView::Draw(ACanvas, AScaleX, AScaleY, AOffsetX, AOffsetY);
  if (Underlines() && Rotation() == 0 && ACanvas) {
    ACanvas->Pen()->SetColor(Frame()->Color());
    ACanvas->Pen()->SetWidth(FrameWidth);
    ACanvas->Pen()->SetStyle(psSolid);
    Extended Step = R->LineHeight() * AScaleY;
    if (Step > 0)
      for (Extended Yl = Y + Step + (GapY() - LineSpacing() + 1) * AScaleY; Yl < Y1; Yl += Step) {
        ACanvas->MoveTo(X, RoundInt(Yl));
        ACanvas->LineTo(X1, RoundInt(Yl));
      }
  }
  if (ACanvas) {
    ACanvas->Brush()->SetStyle(bsClear);
    R->DrawText(ACanvas, static_cast<int>(HAlign()), static_cast<int>(VAlign()));
  }
  SetColor(SavedColor);
}

String TvqrCustomMemoView::WrapText(bool WrapWords) {
  TvqrDrawTextLock Lock;
  TvqrDrawText* R = RendererOf(Report());
  PrepareDrawText(R, nullptr, 1, 1, 0, 0);
  return WrapWords ? R->WrappedText() : R->DeleteTags(Text());
}
