// vqrExportPDFContent.cpp - the PDF export's page content: each exported view becomes content
// operators of the current page (text memos as text with glyph ids, lines, shapes and frames
// as paths, anything else as an inline JPEG picture).
#include "report/output/vqrExportPDF.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Picture.h"
#include "report/core/vqrClassMemo.h"
#include "report/core/vqrClassPicture.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrClassViews.h"
#include "report/core/vqrDrawText.h"
#include "report/core/vqrUnicodeUtils.h"
#include "report/output/vqrExportPDF_p.h"
#include "report/output/vqrPDFFont.h"

using namespace vqrpdf;

namespace {

// The export's own lock, held with the text renderer's while a memo is written.
std::recursive_mutex& ExportLock() {
  static std::recursive_mutex Lock;
  return Lock;
}

// A raster picture never passes this many pixels a side; larger views draw at a lower scale.
constexpr Extended kMaxRasterSide = 8000;

constexpr std::size_t kMemoLayouts = 20000;   // memo layouts remembered per document

std::string DashText(TvqrFrameStyle Style, Extended Width) {
  // A pattern of zero lengths is not a dash pattern: such a line is drawn solid.
  if (Style == fsSolid || Style == fsDouble || Width * 2 < 0.005L) return "[] 0 d";
  const std::string D = Num(Width * 6) + " ", O = Num(Width * 2) + " ";
  switch (Style) {
    case fsDash: return "[" + D + "] 0 d";
    case fsDot: return "[" + O + D + "] 0 d";
    case fsDashDot: return "[" + D + D + O + D + "] 0 d";
    case fsDashDotDot: return "[" + D + D + O + D + O + D + "] 0 d";
    default: return "[] 0 d";
  }
}

bool SolidOrClear(TBrushStyle S) { return S == bsSolid || S == bsClear; }

}  // namespace

// Writes one view into the filter's page content.
class TvqrPDFContentWriter {
public:
  TvqrPDFContentWriter(TvqrPDFExport& F, TvqrView* V) : F(F), V(V), Out(F.OutStream) {
    const Extended Left = V->AbsLeft(), Top = V->AbsTop();
    X1 = Num(PdfX(Left));
    Y1 = Num(PdfY(Top));
    X2 = Num(PdfX(Left + V->Width()));
    Y2 = Num(PdfY(Top + V->Height()));
    W = Num(V->Width() * 0.75L);
    H = Num(V->Height() * 0.75L);
  }

  void Write() {
    if (auto* M = vqrAs<TvqrCustomMemoView>(V);
        M && SolidOrClear(M->BrushStyle()) && M->WordWrap() && !HasHtmlTags(M))
      return WriteMemo(M);
    if (auto* L = vqrAs<TvqrCustomLineView>(V)) return WriteLine(L);
    if (auto* S = vqrAs<TvqrShapeView>(V)) return WriteShape(S);
    if ((V->Name() != u"_pagebackground" || F.Background()) && V->Width() > 0 && V->Height() > 0)
      WritePicture();
  }

private:
  Extended PdfX(Extended X) const { return X * 0.75L + F.FMarginLeft; }
  Extended PdfY(Extended Y) const { return (F.FHeight - F.FMarginTop) - Y * 0.75L; }
  // Pieces written one after the other: the content grows once, the pieces copied in. The
  // operators of a view are put a few lines at a time, line ends written in the pieces.
  template <class... TPieces>
  void Put(const TPieces&... Pieces) {
    const std::string_view Views[] = {std::string_view(Pieces)...};
    std::size_t Length = 0;
    for (std::string_view V : Views) Length += V.size();
    const std::size_t Start = Out.size();
    Out.resize(Start + Length);
    char* To = Out.data() + Start;
    for (std::string_view V : Views) {
      std::memcpy(To, V.data(), V.size());
      To += V.size();
    }
  }
  // One line of one or more pieces.
  template <class... TPieces>
  void Ln(const TPieces&... Pieces) {
    Put(Pieces..., "\r\n");
  }

  std::string ColorText(TColor C) {
    const TColorRef Rgb = ColorToRGB(C);
    if (Rgb == 0) return "0 0 0";
    if (Rgb == 0xFFFFFF) return "1 1 1";
    if (C == F.FLastColor) return F.FLastColorResult;
    F.FLastColor = C;
    F.FLastColorResult = Num(GetRValue(Rgb) / 255.0L) + " " + Num(GetGValue(Rgb) / 255.0L) + " " +
                         Num(GetBValue(Rgb) / 255.0L);
    return F.FLastColorResult;
  }

  bool HasHtmlTags(TvqrCustomMemoView* M) const {
    return M->AllowHTMLTags() && F.HTMLTags() && M->Text().find(u'<') != String::npos;
  }

  void WriteFrame() {
    TvqrFrame* Fr = V->Frame();
    if (Fr->Typ().Empty() || Fr->Color() == clNone) return;
    Ln(ColorText(Fr->Color()), " RG");
    struct Edge { TvqrFrameType Type; TvqrFrameLine* Line; const std::string *AX, *AY, *BX, *BY; };
    const Edge Edges[] = {{ftTop, Fr->TopLine(), &X1, &Y1, &X2, &Y1},
                          {ftRight, Fr->RightLine(), &X2, &Y1, &X2, &Y2},
                          {ftBottom, Fr->BottomLine(), &X1, &Y2, &X2, &Y2},
                          {ftLeft, Fr->LeftLine(), &X1, &Y1, &X1, &Y2}};
    for (const Edge& E : Edges) {
      if (!Fr->Typ().Contains(E.Type)) continue;
      // Frames mostly share one line style and width: their dash and width lines are made
      // once.
      const int Style = int(E.Line->Style());
      const Extended Width = E.Line->Width();
      if (Style != F.FLastLineStyle || Width != F.FLastLineWidth) {
        F.FLastLineStyle = Style;
        F.FLastLineWidth = Width;
        F.FLastEdgeStart = DashText(E.Line->Style(), Width) + "\r\n" + Num(Width * 0.75L) + " w\r\n";
      }
      Put(F.FLastEdgeStart, *E.AX, " ", *E.AY, " m\r\n", *E.BX, " ", *E.BY, " l\r\nS\r\n");
    }
  }

  void WriteMemo(TvqrCustomMemoView* M);
  TvqrPDFExport::TMemoLayout& LayOut(TvqrCustomMemoView* M, TFont* Font, const TRect& Box,
                                     TvqrDrawText* R);
  void WriteLine(TvqrCustomLineView* L);
  void WriteArrow(TvqrCustomLineView* L, Extended TX, Extended TY, Extended OX, Extended OY);
  void WriteShape(TvqrShapeView* S);
  void WritePicture();

  TvqrPDFExport& F;
  TvqrView* V;
  std::string& Out;
  std::string X1, Y1, X2, Y2, W, H;
};

namespace {

// The numbers' bytes as they lie in memory, in one step: the key is only compared.
void AppendNumbers(std::u16string& Key, const long long* X, std::size_t Count) {
  const std::size_t Start = Key.size();
  Key.resize(Start + Count * 4);
  std::memcpy(Key.data() + Start, X, Count * sizeof *X);
}

// Exactly: each value's significant bytes, the 64-bit mantissa and the sign and exponent
// (the rest of the type's storage is padding). An equal value with other bytes, such as -0,
// only misses the memory.
void AppendNumbers(std::u16string& Key, std::initializer_list<Extended> X) {
  static_assert(std::numeric_limits<Extended>::digits == 64 && sizeof(Extended) >= 10);
  const std::size_t Start = Key.size();
  Key.resize(Start + X.size() * 5);
  char16_t* To = Key.data() + Start;
  for (const Extended& V : X) {
    std::memcpy(To, &V, 10);
    To += 5;
  }
}

void AppendNumber(std::u16string& Key, long long X) { AppendNumbers(Key, &X, 1); }

void AppendText(std::u16string& Key, const String& Text) {
  AppendNumber(Key, static_cast<long long>(Text.size()));
  Key += Text;
}

}  // namespace

// The memo's lines as the shared renderer (set up by the caller) wraps them, laid out once for
// each text, font, box and option set in the document.
TvqrPDFExport::TMemoLayout& TvqrPDFContentWriter::LayOut(TvqrCustomMemoView* M, TFont* Font,
                                                         const TRect& Box, TvqrDrawText* R) {
  std::u16string& Key = F.FLayoutKey;
  Key.clear();
  AppendText(Key, Font->Name());
  const long long Whole[] = {Font->Size(),       static_cast<long long>(Font->Style().Bits()),
                             Font->Color(),      Font->Charset(),
                             M->AllowHTMLTags(), M->RTLReading(),
                             M->WordBreak(),     M->Clipped(),
                             M->Wysiwyg(),       M->Rotation(),
                             Box.Width(),        Box.Height()};
  AppendNumbers(Key, Whole, std::size(Whole));
  AppendNumbers(Key, {M->ParagraphGap(), M->CharSpacing(), M->LineSpacing()});
  TvqrWideStrings* Text = M->Memo();
  for (int I = 0; I < Text->Count(); ++I) AppendText(Key, Text->Get(I));
  auto It = F.FMemoLayouts.find(Key);
  if (It != F.FMemoLayouts.end()) return It->second;
  R->SetText(Text);
  TvqrPDFExport::TMemoLayout Layout;
  Layout.LineHeight = R->LineHeight();
  for (int I = 0; I < R->LineCount(); ++I) Layout.Lines.push_back(R->Lines(I));
  Layout.Widths.assign(Layout.Lines.size(), -1);
  Layout.Glyphs.resize(Layout.Lines.size());
  // Bounded: a document of ever new texts starts the memory afresh.
  if (F.FMemoLayouts.size() >= kMemoLayouts) F.FMemoLayouts.clear();
  return F.FMemoLayouts.emplace(Key, std::move(Layout)).first->second;
}

void TvqrPDFContentWriter::WriteMemo(TvqrCustomMemoView* M) {
  TvqrFrame* Fr = M->Frame();
  const Extended FW = Fr->Width();
  // Read once: each is computed anew on every call (the position up the parent chain).
  const Extended MemoLeft = M->AbsLeft(), MemoTop = M->AbsTop();
  Put("q\r\n", Num(PdfX(MemoLeft - FW)), " ", Num(PdfY(MemoTop + M->Height() + FW)), " ",
      Num((2 * FW + M->Width()) * 0.75L), " ", Num((2 * FW + M->Height()) * 0.75L),
      " re\r\nW\r\nn\r\n");
  const Extended SW = Fr->ShadowWidth();
  Extended Wt = M->Width(), Ht = M->Height();
  if (Fr->DropShadow()) {
    Wt -= SW;
    Ht -= SW;
    W = Num(Wt * 0.75L);
    H = Num(Ht * 0.75L);
    X2 = Num(PdfX(MemoLeft + Wt));
    Y2 = Num(PdfY(MemoTop + Ht));
    const std::string C = ColorText(Fr->ShadowColor());
    Ln(C + " rg");
    Ln(C + " RG");
    Ln(Num(PdfX(MemoLeft + Wt)) + " " + Num(PdfY(MemoTop + Ht + SW)) + " " +
       Num(SW * 0.75L) + " " + Num(Ht * 0.75L) + " re");
    Ln("B");
    Ln(Num(PdfX(MemoLeft + SW)) + " " + Num(PdfY(MemoTop + Ht + SW)) + " " +
       Num(Wt * 0.75L) + " " + Num(SW * 0.75L) + " re");
    Ln("B");
  }

  std::lock_guard<std::recursive_mutex> Own(ExportLock());
  TvqrDrawTextLock Shared;
  TFont* Font = M->Font();
  TColor Color = M->Color();
  if (M->Highlight()->Active()) {
    Font = M->Highlight()->Font();
    Color = M->Highlight()->Color();
  }
  const int FontSize = Font->Size();
  TvqrDrawText* R = SharedDrawText();
  R->SetFont(Font);
  R->SetOptions(true, M->AllowHTMLTags(), M->RTLReading(), M->WordBreak(), M->Clipped(),
                M->Wysiwyg(), M->Rotation());
  R->SetGaps(M->ParagraphGap(), M->CharSpacing(), M->LineSpacing());
  int L = RoundToInt(MemoLeft), T = RoundToInt(MemoTop);
  int Rt = RoundToInt(MemoLeft + M->Width());
  int B = RoundToInt(MemoTop + M->Height());
  if (Fr->Typ().Contains(ftLeft)) L += RoundToInt((FW - 1) / 2);
  if (Fr->Typ().Contains(ftRight)) Rt -= RoundToInt(FW / 2);
  if (Fr->Typ().Contains(ftTop)) T += RoundToInt((FW - 1) / 2);
  if (Fr->Typ().Contains(ftBottom)) B -= RoundToInt(FW / 2);
  const int GX = RoundToInt(M->GapX()), GY = RoundToInt(M->GapY());
  const TRect Box{L + GX, T + GY, Rt - GX + 1, B - GY + 1};
  R->SetDimensions(1, 1, 1, Box, Box);
  TvqrPDFExport::TMemoLayout& Layout = LayOut(M, Font, Box, R);
  const Extended LH = Layout.LineHeight;
  const std::vector<String>& Lines = Layout.Lines;

  if (Color != clNone) Put(ColorText(Color), " rg\r\n", X1, " ", Y2, " ", W, " ", H, " re\r\nf\r\n");
  WriteFrame();
  if (M->Underlines() && LH > 0) {
    const int N = int(M->Height() / LH);
    for (int J = 1; J <= N; ++J) {
      const std::string Y = Num(PdfY(MemoTop + M->GapY() + 1 + J * LH));
      Ln(ColorText(Fr->Color()) + " RG");
      Ln(Num(Fr->Width() * 0.75L) + " w");
      Ln(X1 + " " + Y + " m");
      Ln(X2 + " " + Y + " l");
      Ln("S");
    }
  }
  const int Rotation = M->Rotation();
  if (Rotation > 0) {
    const Extended A = Rotation * M_PI / 180;
    Ln(Num(std::cos(A)) + " " + Num(std::sin(A)) + " " + Num(-std::sin(A)) + " " +
       Num(std::cos(A)) + " " + Num(PdfX(MemoLeft + M->Width() / 2)) + " " +
       Num(PdfY(MemoTop + M->Height() / 2)) + " cm");
  }
  if (!Lines.empty()) {
    TvqrPDFFont* PdfFont = F.FPageFonts[std::size_t(F.FindPageFont(Font))];
    Put(PdfFont->Name, " ", Dec(FontSize), " Tf\r\n",
        ColorText(Font->Color() == clNone ? TColor(0) : Font->Color()), " rg\r\n");
    const Extended CS = M->CharSpacing() * 0.75L;
    if (CS != 0) Ln(Num(CS) + " Tc");
    R->SetGaps(0, M->CharSpacing(), M->LineSpacing());
    const int N = int(Lines.size());
    const TvqrHAlign HA = M->HAlign();
    const TvqrVAlign VA = M->VAlign();
    const Extended RC = HA == haRight ? CS : 0;
    const bool Swap = (Rotation >= 45 && Rotation <= 135) || (Rotation >= 225 && Rotation <= 315);
    const TFontStyles Style = Font->Style();
    // A left-aligned line without underline or strike-out is placed without its width.
    const bool NeedWidth = HA == haRight || HA == haCenter || Style.Contains(fsUnderline) ||
                           Style.Contains(fsStrikeOut);
    for (int I = 0; I < N; ++I) {
      const String& Line = Lines[std::size_t(I)];
      // An empty paragraph comes from the renderer as a blank: nothing to write, but the line
      // keeps its place.
      if (Line.find_first_not_of(u' ') == String::npos) continue;
      const Extended Indent = I == 0 ? M->ParagraphGap() : 0;
      Extended& LW = Layout.Widths[std::size_t(I)];
      if (NeedWidth && LW < 0) {
        R->SetText(std::vector<String>{Line});
        LW = R->CalcWidth();
      }
      Extended X, Y;
      if (Rotation <= 0) {
        const Extended Avail = Wt - 2 * M->GapX() - Indent;
        const Extended Start = MemoLeft + M->GapX() + FontSize * 0.01L + M->GapX() / 2 + Indent;
        Extended Left = Start;
        if (HA == haRight) Left = Start + Avail - LW;
        if (HA == haCenter) Left = Start + (Avail - LW) / 2;
        X = PdfX(Left) + RC;
        const Extended Top = MemoTop + M->GapY() - FontSize * 0.1L;
        const Extended AvailH = Ht - 2 * M->GapY();
        Extended Base = Top + (I + 1) * LH;
        if (VA == vaBottom) Base = Top + AvailH - (N - I - 1) * LH;
        if (VA == vaCenter) Base = Top + (AvailH - N * LH) / 2 + (I + 1) * LH;
        Y = PdfY(Base);
      } else {
        const Extended Along = Swap ? Ht : Wt, Across = Swap ? Wt : Ht;
        Extended RL = -Along / 2;
        if (HA == haCenter) RL = -LW / 2;
        if (HA == haRight) RL = Along / 2 - LW;
        X = RL * 0.75L + RC;
        const Extended Half = Across / 2;
        Extended RB = (I + 1) * LH - Half;
        if (VA == vaBottom) RB = Half - (N - I - 1) * LH;
        if (VA == vaCenter) RB = -LH * N / 2 + (I + 1) * LH;
        Y = -RB * 0.75L + FontSize * 0.4L;
      }
      // The layout's key holds the font and the reading order, so a line's glyphs are the same
      // each time it is written; its glyphs were recorded in the font when first shaped.
      std::string& Glyphs = Layout.Glyphs[std::size_t(I)];
      if (Glyphs.empty()) Glyphs = HexOfGlyphs(PdfFont->RemapString(Line, M->RTLReading()));
      Put("BT\r\n", Num(X), " ", Num(Y), " Td\r\n<", Glyphs, "> Tj\r\nET\r\n");
      if (Style.Contains(fsUnderline)) {
        Ln(ColorText(Font->Color()) + " RG");
        Ln(Num(FontSize * 0.08L) + " w");
        Ln(Num(X) + " " + Num(Y - FontSize * 0.12L) + " m");
        Ln(Num(X + LW * 0.75L) + " " + Num(Y - FontSize * 0.12L) + " l");
        Ln("S");
      }
      if (Style.Contains(fsStrikeOut)) {
        Ln(ColorText(Font->Color()) + " RG");
        Ln(Num(FontSize * 0.08L) + " w");
        Ln(Num(X) + " " + Num(Y + FontSize * 0.28L) + " m");
        Ln(Num(X + LW * 0.75L) + " " + Num(Y + FontSize * 0.28L) + " l");
        Ln("S");
      }
    }
  }
  Ln("Q");
}

void TvqrPDFContentWriter::WriteLine(TvqrCustomLineView* L) {
  TvqrFrame* Fr = L->Frame();
  Ln(DashText(Fr->Style(), Fr->Width()));
  Ln(ColorText(Fr->Color()) + " RG");
  Ln(Num(Fr->Width() * 0.75L) + " w");
  Ln(X1 + " " + Y1 + " m");
  Ln(X2 + " " + Y2 + " l");
  Ln("S");
  const Extended AX = PdfX(L->AbsLeft()), AY = PdfY(L->AbsTop());
  const Extended BX = PdfX(L->AbsLeft() + L->Width()), BY = PdfY(L->AbsTop() + L->Height());
  if (L->ArrowStart()) WriteArrow(L, AX, AY, BX, BY);
  if (L->ArrowEnd()) WriteArrow(L, BX, BY, AX, AY);
}

void TvqrPDFContentWriter::WriteArrow(TvqrCustomLineView* L, Extended TX, Extended TY,
                                      Extended OX, Extended OY) {
  const Extended Len = L->ArrowLength() * 0.75L, Half = L->ArrowWidth() * 0.75L;
  auto Between = [](Extended V, Extended A, Extended B) {
    return V >= std::min(A, B) - 1e-9L && V <= std::max(A, B) + 1e-9L;
  };
  Extended BX, BY, C1X, C1Y, C2X, C2Y;
  if (TX != OX) {
    const Extended K = (TY - OY) / (TX - OX), Mi = (TX * OY - TY * OX) / (TX - OX);
    // (x - tx)^2 + (k x + m - ty)^2 = len^2
    const Extended A = 1 + K * K, Bq = 2 * (K * (Mi - TY) - TX);
    const Extended Cq = TX * TX + (Mi - TY) * (Mi - TY) - Len * Len;
    const Extended D = std::max<Extended>(0, Bq * Bq - 4 * A * Cq);
    BX = (-Bq + std::sqrt(D)) / (2 * A);
    if (!Between(BX, OX, TX)) BX = (-Bq - std::sqrt(D)) / (2 * A);
    BY = K * BX + Mi;
    if (TY != OY) {
      const Extended Th = std::atan(K);
      C1X = BX + std::sin(Th) * Half;
      C1Y = BY - std::cos(Th) * Half;
      C2X = BX - std::sin(Th) * Half;
      C2Y = BY + std::cos(Th) * Half;
    } else {
      C1X = C2X = BX;
      C1Y = BY - Half;
      C2Y = BY + Half;
    }
  } else {
    BX = TX;
    BY = TY - Len;
    if (!Between(BY, OY, TY)) BY = TY + Len;
    C1X = TX - Half;
    C2X = TX + Half;
    C1Y = C2Y = BY;
  }
  Ln(DashText(L->Frame()->Style(), L->Frame()->Width()));
  // The line join and fill colour are state: they are set before the path begins.
  if (L->ArrowSolid()) {
    Ln("1 j");
    Ln(ColorText(L->Frame()->Color()) + " rg");
  }
  Ln(Num(C1X) + " " + Num(C1Y) + " m");
  Ln(Num(TX) + " " + Num(TY) + " l");
  Ln(Num(C2X) + " " + Num(C2Y) + " l");
  Ln(L->ArrowSolid() ? "b" : "S");
}

void TvqrPDFContentWriter::WriteShape(TvqrShapeView* S) {
  TvqrFrame* Fr = S->Frame();
  const std::string Width = Num(Fr->Width() * 0.75L) + " w";
  const std::string Close = S->Color() == clNone ? "S" : "B";
  const Extended L = S->AbsLeft(), T = S->AbsTop(), Wd = S->Width(), Hg = S->Height();
  auto P = [&](Extended X, Extended Y) { return Num(PdfX(X)) + " " + Num(PdfY(Y)); };
  Ln(DashText(Fr->Style(), Fr->Width()));
  Ln(ColorText(Fr->Color()) + " RG");
  Ln(Width);
  switch (S->Shape()) {
    case TvqrShapeKind::skRectangle:
      Ln(ColorText(S->Color()) + " rg");
      Ln(X1 + " " + Y2 + " " + W + " " + H + " re");
      Ln(Close);
      break;
    case TvqrShapeKind::skRoundRectangle: {
      Ln(ColorText(S->Color()) + " rg");
      const Extended Q = S->Curve() != 0 ? S->Curve() * 3.74L : 7.48L, R = Q / 2;
      const Extended Rt = L + Wd, B = T + Hg;
      Ln(P(L + Q, B) + " m");
      Ln(P(Rt - Q, B) + " l");
      Ln(P(Rt - R, B) + " " + P(Rt, B - R) + " " + P(Rt, B - Q) + " c");
      Ln(P(Rt, T + Q) + " l");
      Ln(P(Rt, T + R) + " " + P(Rt - R, T) + " " + P(Rt - Q, T) + " c");
      Ln(P(L + Q, T) + " l");
      Ln(P(L + R, T) + " " + P(L, T + R) + " " + P(L, T + Q) + " c");
      Ln(P(L, B - Q) + " l");
      Ln(P(L, B - R) + " " + P(L + R, B) + " " + P(L + Q, B) + " c");
      Ln(Close);
      break;
    }
    case TvqrShapeKind::skEllipse: {
      Ln(ColorText(S->Color()) + " rg");
      const Extended RX = Wd / 2, RY = Hg / 2, K1 = 1.5522847498L, K2 = 0.4477152502L;
      Ln(P(L + 2 * RX, T + RY) + " m");
      Ln(P(L + 2 * RX, T + K1 * RY) + " " + P(L + K1 * RX, T + 2 * RY) + " " + P(L + RX, T + 2 * RY) + " c");
      Ln(P(L + K2 * RX, T + 2 * RY) + " " + P(L, T + K1 * RY) + " " + P(L, T + RY) + " c");
      Ln(P(L, T + K2 * RY) + " " + P(L + K2 * RX, T) + " " + P(L + RX, T) + " c");
      Ln(P(L + K1 * RX, T) + " " + P(L + 2 * RX, T + K2 * RY) + " " + P(L + 2 * RX, T + RY) + " c");
      Ln(Close);
      break;
    }
    case TvqrShapeKind::skTriangle:
      Ln(ColorText(S->Color()) + " rg");
      Ln(P(L + Wd / 2, T) + " m " + P(L + Wd, T + Hg) + " l " + P(L, T + Hg) + " l " +
         P(L + Wd / 2, T) + " l");
      Ln(Close);
      break;
    case TvqrShapeKind::skDiamond:
      Ln(ColorText(S->Color()) + " rg");
      Ln(P(L + Wd / 2, T) + " m " + P(L + Wd, T + Hg / 2) + " l " + P(L + Wd / 2, T + Hg) + " l " +
         P(L, T + Hg / 2) + " l " + P(L + Wd / 2, T) + " l");
      Ln(Close);
      break;
    case TvqrShapeKind::skDiagonal1:
      Ln(X1 + " " + Y2 + " m");
      Ln(X2 + " " + Y1 + " l");
      Ln("S");
      break;
    case TvqrShapeKind::skDiagonal2:
      Ln(X1 + " " + Y1 + " m");
      Ln(X2 + " " + Y2 + " l");
      Ln("S");
      break;
  }
}

void TvqrPDFContentWriter::WritePicture() {
  TvqrFrame* Fr = V->Frame();
  const Extended SavedWidth = Fr->Width();
  if (SavedWidth > 0) Fr->SetWidth(0);
  const TvqrRect Bounds = V->GetRealBounds();
  const Extended BW = Bounds.Right - Bounds.Left, BH = Bounds.Bottom - Bounds.Top;
  Extended DX = 0, DY = 0;
  if (BW != V->Width() && V->AbsLeft() != Bounds.Left)
    DX = Bounds.Right != V->AbsLeft() + V->Width() ? (BW - V->Width()) / 2 : BW - V->Width();
  if (BH != V->Height() && V->AbsTop() != Bounds.Top)
    DY = Bounds.Bottom != V->AbsTop() + V->Height() ? (BH - V->Height()) / 2 : BH - V->Height();
  const bool IsMemo = vqrAs<TvqrCustomMemoView>(V) != nullptr;
  Extended S = (F.PrintOptimized() || IsMemo) && SolidOrClear(V->BrushStyle()) ? 3 : 1;
  Extended O = 0;
  if (V->ClassName() == u"TvqrBarCodeView" && !F.PrintOptimized()) {
    S = 2;
    O = 2;
  }
  // A huge view is drawn at a lower scale so that neither side passes the raster limit.
  const Extended Side = std::max(BW, BH);
  if (S * (Side + 1) > kMaxRasterSide) S = kMaxRasterSide / (Side + 1);
  const int BmW = std::max(1, int(S + std::nearbyint(S * BW)));
  const int BmH = std::max(1, int(S + std::nearbyint(S * BH)));
  TBitmap Bitmap(BmW, BmH);
  Bitmap.SetPixelFormat(pf24bit);
  Bitmap.Canvas()->Brush()->SetColor(clWhite);
  Bitmap.Canvas()->FillRect(TRect{0, 0, BmW, BmH});
  V->Draw(Bitmap.Canvas(), S, S, O - std::nearbyint((V->AbsLeft() - DX) * S),
          -std::nearbyint((V->AbsTop() - DY) * S));
  Ln("q");
  Ln((BW == 0 ? std::string("1") : Num(BW * 0.75L)) + " 0 0 " +
     (BH == 0 ? std::string("1") : Num(BH * 0.75L)) + " " + Num(PdfX(V->AbsLeft() - DX)) + " " +
     Num(PdfY(V->AbsTop() - DY + BH)) + " cm");
  Ln("BI");
  Ln("/W " + Dec(BmW));
  Ln("/H " + Dec(BmH));
  Ln("/CS /RGB");
  Ln("/BPC 8");
  Ln("/I true");
  Ln("/F [/DCT]");
  // "ID" is followed by exactly one white-space byte before the image data.
  Out.append("ID\n");
  TJPEGImage Jpeg;
  Jpeg.Bitmap()->Assign(&Bitmap);
  const bool Vector = V->ClassName() == u"TvqrBarCodeView" || vqrAs<TvqrCustomLineView>(V) ||
                      vqrAs<TvqrShapeView>(V);
  Jpeg.SetCompressionQuality(Vector ? 95 : 90);
  Out.append(Jpeg.SaveToBytes());
  Out.append("\r\n");
  Ln("EI");
  Ln("Q");
  if (SavedWidth > 0) Fr->SetWidth(SavedWidth);
  WriteFrame();
}

void TvqrPDFExport::WriteViewContent(TvqrView* View) {
  TvqrPDFContentWriter(*this, View).Write();
}
