// vqrDrawText.cpp - the text renderer: tags, layout, measuring and splitting.
// Drawing on a canvas is in vqrDrawTextDraw.cpp.
#include "report/core/vqrDrawText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "platform/classes/Strings.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/FontService.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::recursive_mutex& DrawTextLock() {
  static std::recursive_mutex Lock;
  return Lock;
}

const String kVowels = u"АЕЁИОУЫЭЮЯ";
const String kConsonants = u"БВГДЖЗЙКЛМНПРСТФХЦЧШЩЬЪ";
const String kSigns = u"ЬЪ";
const String kDelimiters = u" .,-;";

bool In(const String& Set, Char C) { return Set.find(C) != String::npos; }
Char At(const String& S, int I) {  // 1-based, 0 outside
  return I >= 1 && I <= static_cast<int>(S.size()) ? S[static_cast<size_t>(I - 1)] : Char(0);
}
Char UpChar(Char C) { return C >= u'a' && C <= u'z' ? static_cast<Char>(C - 32) : C; }

// Whether the first occurrence of Word in Upper starts at the 1-based position At.
bool FirstAt(const String& Upper, const String& Word, int At) {
  return Pos(Word, Upper) == At;
}

int RoundInt(Extended X) { return static_cast<int>(Round(X)); }

bool ContainsVowel(const String& S) {
  for (Char C : S)
    if (In(kVowels, C)) return true;
  return false;
}

}  // namespace

void TvqrHTMLTag::Assign(const TvqrHTMLTag& Tag) {
  bool Keep = DontWRAP;
  *this = Tag;
  DontWRAP = Keep;
}

// --- Tag list --------------------------------------------------------------------------------

void TvqrHTMLTagsList::SetDefaults(TColor DefColor, int DefSize, TFontStyles DefStyle) {
  FDefColor = FColor = DefColor;
  FDefSize = FSize = DefSize;
  FDefStyle = FStyle = DefStyle;
  FAddY = 0;
  FDontWRAP = false;
  FPosition = 1;
  FItems.clear();
}

void TvqrHTMLTagsList::StartTagLine() {
  if (!FItems.empty()) FItems.emplace_back();
}

bool TvqrHTMLTagsList::DefaultAgainst(const TvqrHTMLTag& Tag,
                                      const TvqrHTMLTag* Previous) const {
  if (!FAllowTags) return true;
  if (Previous)
    return Tag.Style == Previous->Style && Tag.Color == Previous->Color &&
           Tag.Size == Previous->Size && Tag.AddY == Previous->AddY &&
           Tag.DontWRAP == Previous->DontWRAP;
  return Tag.Style == FDefStyle && Tag.Color == FDefColor && Tag.Size == FDefSize;
}

void TvqrHTMLTagsList::AppendCharTags(size_t Count) {
  if (Count == 0) return;
  if (FItems.empty()) FItems.emplace_back();
  const TvqrHTMLTag* Previous = nullptr;
  for (auto It = FItems.rbegin(); It != FItems.rend() && !Previous; ++It)
    if (!It->empty()) Previous = &It->back();
  TvqrHTMLTag Tag;
  Tag.Position = FPosition;
  Tag.Size = FSize;
  Tag.Style = FStyle;
  Tag.Color = FColor;
  Tag.AddY = FAddY;
  Tag.DontWRAP = FDontWRAP;
  Tag.Small = FSize != FDefSize;
  Tag.Default = DefaultAgainst(Tag, Previous);
  TvqrHTMLTags& Line = FItems.back();
  Line.reserve(Line.size() + Count);
  Line.push_back(Tag);
  // The characters after the first share its formatting, so each is a default tag.
  Tag.Default = true;
  for (size_t I = 1; I < Count; ++I) {
    ++Tag.Position;
    Line.push_back(Tag);
  }
  FPosition += static_cast<int>(Count);
}

int TvqrHTMLTagsList::ParseFontColor(const String& S, const String& Upper, int I) {
  if (!FirstAt(Upper, u"FONT COLOR", I + 1)) return 0;
  int P = I + 11;
  int Len = static_cast<int>(S.size());
  while (P <= Len && S[static_cast<size_t>(P - 1)] != u'=') ++P;
  if (P > Len) return 0;
  ++P;
  while (P <= Len && S[static_cast<size_t>(P - 1)] == u' ') ++P;
  int Start = P;
  while (P <= Len && S[static_cast<size_t>(P - 1)] != u'>') ++P;
  String Value = S.substr(static_cast<size_t>(Start - 1), static_cast<size_t>(P - Start));
  int TagLen = (P <= Len ? P : Len) - I + 1;
  if (Value.empty()) return 0;
  if (Value.size() > 3 && Value[0] == u'"' && Value[1] == u'#' && Value.back() == u'"') {
    String Hex = Value.substr(2, Value.size() - 3);
    // A colour whose digits are not hexadecimal leaves the tag as plain text.
    if (Hex.empty() || Hex.size() > 6) return 0;
    for (Char C : Hex)
      if (!std::isxdigit(static_cast<unsigned char>(C < 128 ? C : 0))) return 0;
    long Rgb = std::strtol(ToUtf8(Hex).c_str(), nullptr, 16);
    FColor = static_cast<TColor>(((Rgb & 0xFF) << 16) | (Rgb & 0xFF00) | ((Rgb >> 16) & 0xFF));
    return TagLen;
  }
  TColor C;
  if (!IdentToColor(u"cl" + Value, C)) return 0;
  FColor = C;
  return TagLen;
}

int TvqrHTMLTagsList::ParseTag(const String& S, const String& Upper, int I) {
  int Len = static_cast<int>(S.size());
  Char C1 = At(S, I + 1);
  if (At(S, I + 2) == u'>') {
    switch (UpChar(C1)) {
      case u'B': FStyle.Include(fsBold); return 3;
      case u'I': FStyle.Include(fsItalic); return 3;
      case u'U': FStyle.Include(fsUnderline); return 3;
      default: return 0;
    }
  }
  if (At(S, I + 4) == u'>') {
    if (FirstAt(Upper, u"SUB>", I + 1) || FirstAt(Upper, u"SUP>", I + 1)) {
      FSize = RoundInt(FDefSize / 1.5L);
      FAddY = FirstAt(Upper, u"SUB>", I + 1) ? 1 : 0;
      return 5;
    }
    return 0;
  }
  if (Len - I >= 7 && UpChar(C1) == u'N') {
    if (!FirstAt(Upper, u"NOWRAP>", I + 1)) return 0;
    FDontWRAP = true;
    return 8;
  }
  if (UpChar(C1) == u'S') {
    if (!FirstAt(Upper, u"STRIKE>", I + 1)) return 0;
    FStyle.Include(fsStrikeOut);
    return 8;
  }
  if (C1 == u'/') {
    if (At(S, I + 3) == u'>') {
      switch (UpChar(At(S, I + 2))) {
        case u'B': FStyle.Exclude(fsBold); return 4;
        case u'I': FStyle.Exclude(fsItalic); return 4;
        case u'U': FStyle.Exclude(fsUnderline); return 4;
        default: return 0;
      }
    }
    if (FirstAt(Upper, u"STRIKE>", I + 2)) { FStyle.Exclude(fsStrikeOut); return 9; }
    if (FirstAt(Upper, u"NOWRAP>", I + 2)) { FDontWRAP = false; return 9; }
    if (FirstAt(Upper, u"FONT>", I + 2)) { FColor = FDefColor; return 7; }
    if (FirstAt(Upper, u"SUB>", I + 2) || FirstAt(Upper, u"SUP>", I + 2)) {
      FSize = FDefSize;
      FAddY = 0;
      return 6;
    }
    return 0;
  }
  return ParseFontColor(S, Upper, I);
}

void TvqrHTMLTagsList::ExpandHTMLTags(String& S) {
  if (S.empty()) return;
  // Runs without "<" take their tags in one go; only a "<" can start a tag.
  size_t I = 0;
  while (I < S.size()) {
    const size_t Next = FAllowTags ? S.find(u'<', I) : String::npos;
    if (Next == String::npos) {
      AppendCharTags(S.size() - I);
      break;
    }
    AppendCharTags(Next - I);
    const int TagLen = ParseTag(S, UpperCase(S), static_cast<int>(Next) + 1);
    if (TagLen > 0) {
      S.erase(Next, static_cast<size_t>(TagLen));
      FPosition += TagLen;
      I = Next;
    } else {
      AppendCharTags(1);
      I = Next + 1;
    }
  }
  if (S.empty()) {
    AppendCharTags(1);
    --FPosition;
    S = u" ";
  }
}

void TvqrHTMLTagsList::SplitTagLine(int TagsCount, bool AddBreak) {
  if (FItems.empty()) return;
  TvqrHTMLTags& Last = FItems.back();
  if (static_cast<int>(Last.size()) <= TagsCount) return;
  TvqrHTMLTags Moved(Last.begin() + TagsCount, Last.end());
  Last.erase(Last.begin() + TagsCount, Last.end());
  if (AddBreak && !Last.empty()) {
    TvqrHTMLTag Hyphen;
    Hyphen.Assign(Last.back());
    Last.push_back(Hyphen);
  } else if (!AddBreak && !Last.empty() && Moved.front().Default) {
    Moved.front().Assign(Last.back());
  }
  FItems.push_back(std::move(Moved));
}

void TvqrHTMLTagsList::BeginParagraph() {
  FPending.clear();
  FPendingStart = 0;
  if (!FItems.empty()) FPending.swap(FItems.back());
}

const TvqrHTMLTag* TvqrHTMLTagsList::PendingTag(int Index) const {
  size_t I = FPendingStart + static_cast<size_t>(Index);
  return Index >= 0 && I < FPending.size() ? &FPending[I] : nullptr;
}

void TvqrHTMLTagsList::SplitParagraph(int TagsCount, bool AddBreak) {
  size_t Count = static_cast<size_t>(TagsCount);
  if (FPending.size() - FPendingStart <= Count) return;
  TvqrHTMLTags& Line = FItems.back();
  Line.assign(FPending.begin() + static_cast<std::ptrdiff_t>(FPendingStart),
              FPending.begin() + static_cast<std::ptrdiff_t>(FPendingStart + Count));
  FPendingStart += Count;
  if (AddBreak && !Line.empty()) {
    TvqrHTMLTag Hyphen;
    Hyphen.Assign(Line.back());
    Line.push_back(Hyphen);
  } else if (!AddBreak && !Line.empty() && FPending[FPendingStart].Default) {
    FPending[FPendingStart].Assign(Line.back());
  }
  FItems.emplace_back();
}

void TvqrHTMLTagsList::EndParagraph() {
  if (FItems.empty()) return;
  FItems.back().assign(FPending.begin() + static_cast<std::ptrdiff_t>(FPendingStart),
                       FPending.end());
  FPending.clear();
  FPendingStart = 0;
}

// --- Renderer --------------------------------------------------------------------------------

TvqrDrawText::TvqrDrawText() = default;
TvqrDrawText::~TvqrDrawText() = default;

void TvqrDrawText::Lock() { DrawTextLock().lock(); }
void TvqrDrawText::Unlock() { DrawTextLock().unlock(); }

TvqrDrawText* SharedDrawText() {
  static TvqrDrawText Shared;
  return &Shared;
}

void TvqrDrawText::SetFont(TFont* Font) {
  FFontSize = Font->Size();
  FFontName = Font->Name();
  FFontStyle = FMeasureStyle = Font->Style();
  FFontColor = Font->Color();
  FFontCharset = Font->Charset();
}

void TvqrDrawText::SetOptions(bool WordWrap, bool HTMLTags, bool RTLReading, bool WordBreak,
                              bool Clipped, bool Wysiwyg, int Rotation) {
  FWordWrap = WordWrap;
  FRTLReading = RTLReading;
  FWordBreak = WordBreak;
  FWysiwyg = Wysiwyg;
  FHTMLTags.SetAllowTags(HTMLTags);
  FOptions = (Clipped ? 4u : 0u) | (RTLReading ? 128u : 0u);
  FRotation = Rotation % 360;
}

void TvqrDrawText::SetGaps(Extended ParagraphGap, Extended CharSpacing, Extended LineSpacing) {
  FParagraphGap = ParagraphGap;
  FCharSpacing = CharSpacing;
  FLineSpacing = LineSpacing;
}

void TvqrDrawText::SetDimensions(Extended ScaleX, Extended ScaleY, Extended PrintScale,
                                 const TRect& OriginalRect, const TRect& ScaledRect) {
  FScaleX = ScaleX;
  FScaleY = ScaleY;
  FPrintScale = PrintScale;
  FOriginalRect = OriginalRect;
  FScaledRect = ScaledRect;
}

int TvqrDrawText::MeasureHeight() const { return RoundInt(FFontSize * 600.0L / 72); }

int TvqrDrawText::CharWidths(std::vector<int>& Widths, const String& S, bool Cumulative,
                             int CharSpacing, int LineIndex, TCanvas* Canvas) {
  TFontRequest Request;
  if (Canvas) {
    Request = Canvas->Font()->Request();
  } else {
    Request.Name = FFontName;
    Request.Height = -MeasureHeight();
  }
  TFontStyles Style = Canvas ? Canvas->Font()->Style() : FMeasureStyle;
  TvqrHTMLTags* Tags = LineIndex >= 0 && LineIndex < FHTMLTags.Count() ? &FHTMLTags.Line(LineIndex)
                                                                       : nullptr;
  auto TagAt = [&](size_t I) -> const TvqrHTMLTag* {
    return Tags && I < Tags->size() ? &(*Tags)[I] : nullptr;
  };
  if (const TvqrHTMLTag* First = TagAt(0); First && !First->Default) Style = First->Style;

  std::vector<int>& Advances = FAdvances;
  TFontStyles Measured;
  bool Have = false;
  auto Measure = [&]() {
    if (Have && Measured == Style) return;
    TFontRequest R = Request;
    R.Bold = Style.Contains(fsBold);
    R.Italic = Style.Contains(fsItalic);
    FontMetrics().CharAdvances(R, S, Advances);
    Measured = Style;
    Have = true;
  };
  Widths.assign(S.size(), 0);
  int Sum = 0;
  for (size_t I = 0; I < S.size(); ++I) {
    const TvqrHTMLTag* Tag = TagAt(I);
    if (I > 0 && Tag && !Tag->Default) Style = Tag->Style;
    Measure();
    int W = Advances[I] + CharSpacing;
    if (Tag && Tag->Small) W = RoundInt(W / 1.5L);
    Sum += W;
    Widths[I] = Cumulative && I > 0 ? W + Widths[I - 1] : W;
  }
  if (Canvas) {
    Canvas->Font()->SetStyle(Style);
  } else {
    FMeasureStyle = Style;
  }
  return Sum;
}

void TvqrDrawText::AddLine(String S) { FText.push_back({std::move(S), 0}); }

void TvqrDrawText::SetText(TStrings* Text) {
  BeginText();
  if (Text)
    for (int I = 0; I < Text->Count(); ++I) AddParagraph(Text->Get(I));
  EndText();
}

void TvqrDrawText::SetText(const std::vector<String>& Lines) {
  BeginText();
  for (const String& Line : Lines) AddParagraph(Line);
  EndText();
}

void TvqrDrawText::BeginText() {
  FPlainText.clear();
  FText.clear();
  FHTMLTags.SetDefaults(FFontColor, FFontSize, FFontStyle);
  FSavedMeasureStyle = FMeasureStyle;
}

void TvqrDrawText::EndText() { FMeasureStyle = FSavedMeasureStyle; }

void TvqrDrawText::AddParagraph(String Line) {
  bool Turned = (FRotation >= 90 && FRotation <= 179) || (FRotation >= 270 && FRotation <= 359);
  Extended Width = Turned ? FOriginalRect.Height() : FOriginalRect.Width();
  Extended K = 600.0L / 96;
  if (Line.empty()) Line = u" ";
  FPlainText += Line;
  FPlainText += u"\r\n";
  size_t Before = FText.size();
  LayoutParagraph(std::move(Line), RoundInt(Width * K), RoundInt(FCharSpacing * K),
                  RoundInt((Width - FParagraphGap) * K));
  if (FText.size() > Before) {
    FText[Before].Flags = FText.size() - Before == 1 ? 3 : 1;
    if (FText.size() - Before > 1) FText.back().Flags = 2;
  }
}

void TvqrDrawText::LayoutParagraph(String S, int LineWidth, int CharSpacing, int FirstWidth) {
  FHTMLTags.StartTagLine();
  FHTMLTags.ExpandHTMLTags(S);
  FHTMLTags.SetPosition(FHTMLTags.Position() + 2);
  int TagLine = FHTMLTags.Count() - 1;
  if (S.size() < 2 || !FWordWrap) {
    AddLine(std::move(S));
    if (TagLine >= 0 && !FHTMLTags.Line(TagLine).empty() &&
        !FHTMLTags.Line(TagLine).front().Default)
      FMeasureStyle = FHTMLTags.Line(TagLine).front().Style;
    return;
  }
  // The advances are sized for this paragraph: any length is measured safely.
  std::vector<int>& W = FParagraphWidths;
  int Total = CharWidths(W, S, true, CharSpacing, TagLine, nullptr);
  if (Total < FirstWidth) {
    AddLine(std::move(S));
    return;
  }
  auto Sub = [&](int From, int To) {  // 1-based, inclusive
    return To < From ? String() : S.substr(static_cast<size_t>(From - 1),
                                           static_cast<size_t>(To - From + 1));
  };
  auto Wat = [&](int I) { return I >= 1 ? W[static_cast<size_t>(I - 1)] : 0; };
  bool Tagged = FHTMLTags.AllowTags();
  int Len = static_cast<int>(S.size());
  FHTMLTags.BeginParagraph();
  int Avail = FirstWidth, Start = 1, Brk = 1, Used = 0;
  for (int I = 1; I <= Len; ++I) {
    if (S[static_cast<size_t>(I - 1)] == u' ') {
      const TvqrHTMLTag* Tag = FHTMLTags.PendingTag(I - Start);
      bool NoWrap = Tagged && Tag && Tag->DontWRAP;
      if (!NoWrap) Brk = I;
    }
    if (Wat(I) - Used <= Avail) continue;
    if (Brk == Start) {
      if (I == Start) {
        AddLine(Sub(I, I));
        FHTMLTags.SplitParagraph(1, false);
      } else if (FWordBreak) {
        String R = HyphenateWord(S, Start, I);
        if (!R.empty()) {
          AddLine(R + u"-");
          FHTMLTags.SplitParagraph(static_cast<int>(R.size()), true);
        } else {
          R = Sub(Start, I - 1);
          AddLine(R);
          FHTMLTags.SplitParagraph(static_cast<int>(R.size()), false);
        }
        Brk = Start + static_cast<int>(R.size()) - 1;
      } else {
        AddLine(Sub(Start, I - 1));
        FHTMLTags.SplitParagraph(I - Start, false);
        Brk = I - 1;
      }
    } else {
      String R = FWordBreak ? HyphenateWord(S, Brk + 1, I) : String();
      if (!R.empty()) {
        int Count = Brk - Start + 1 + static_cast<int>(R.size());
        AddLine(Sub(Start, Brk) + R + u"-");
        FHTMLTags.SplitParagraph(Count, true);
        Brk = Start + Count - 1;
      } else {
        AddLine(Sub(Start, Brk - 1));
        FHTMLTags.SplitParagraph(Brk - Start + 1, false);
      }
    }
    Used = Wat(Brk);
    I = Brk;
    Start = Brk + 1;
    Brk = Brk + 1;
    Avail = LineWidth;
  }
  if (Start <= Len) AddLine(Sub(Start, Len));
  FHTMLTags.EndParagraph();
}

// --- Hyphenation -----------------------------------------------------------------------------

std::vector<int> TvqrDrawText::HyphenPositions(const String& W) {
  std::vector<int> Result;
  int Len = static_cast<int>(W.size());
  if (Len <= 3) return Result;
  for (int I = 1; I <= Len; ++I) {
    Char C = At(W, I), N = At(W, I + 1);
    bool Candidate = false;
    if (In(kConsonants, C)) {
      Candidate = !(N != 0 && (In(kVowels, N) || In(kSigns, N)));
    } else if (In(kVowels, C)) {
      bool Doubled = N != 0 && In(kConsonants, N) && At(W, I + 2) == N &&
                     At(W, I + 3) != 0 && In(kVowels, At(W, I + 3));
      Candidate = N != u'Й' && !Doubled;
    }
    if (!Candidate) continue;
    String Head = W.substr(0, static_cast<size_t>(I));
    String Tail = W.substr(static_cast<size_t>(I), 255);
    if (ContainsVowel(Head) && ContainsVowel(Tail) && Head.size() > 1 && Tail.size() > 1)
      Result.push_back(I);
  }
  return Result;
}

int TvqrDrawText::HyphenateWordLength(const String& S, int WordStart, int Overflow) {
  int Len = static_cast<int>(S.size());
  int End = Overflow;
  while (End <= Len && !In(kDelimiters, S[static_cast<size_t>(End - 1)])) ++End;
  if (WordStart < 1 || WordStart > Len || End <= WordStart) return 0;
  String Word = AnsiUpperCase(S.substr(static_cast<size_t>(WordStart - 1),
                                       static_cast<size_t>(End - WordStart)));
  int Best = 0;
  for (int P : HyphenPositions(Word))
    if (P < Overflow - WordStart) Best = P;
  return Best;
}

String TvqrDrawText::HyphenateWord(const String& S, int WordStart, int Overflow) const {
  int N = HyphenateWordLength(S, WordStart, Overflow);
  return N > 0 ? S.substr(static_cast<size_t>(WordStart - 1), static_cast<size_t>(N)) : String();
}

// --- Measuring and splitting -----------------------------------------------------------------

void TvqrDrawText::SetParaBreaks(bool FirstParaBreak, bool LastParaBreak) {
  if (FText.empty()) return;
  if (FirstParaBreak) FText.front().Flags &= ~1;
  if (LastParaBreak) FText.back().Flags &= ~2;
}

Extended TvqrDrawText::TextHeight() const { return MeasureHeight() * 96.0L / 600; }
Extended TvqrDrawText::LineHeight() const { return TextHeight() + FLineSpacing; }

Extended TvqrDrawText::CalcHeight() const {
  if (FText.empty()) return 0;
  Extended Result = LineHeight() * static_cast<Extended>(FText.size());
  if (FLineSpacing < 0) Result -= FLineSpacing;
  return Result;
}

Extended TvqrDrawText::CalcWidth() {
  if (FText.empty()) return 0;
  Extended K = 600.0L / 96;
  TFontRequest Request;
  Request.Name = FFontName;
  Request.Height = -MeasureHeight();
  auto Extent = [&](const String& Run, TFontStyles Style) {
    TFontRequest R = Request;
    R.Bold = Style.Contains(fsBold);
    R.Italic = Style.Contains(fsItalic);
    return FontMetrics().TextWidth(R, Run);
  };
  Extended Max = 0;
  for (size_t L = 0; L < FText.size(); ++L) {
    const String& S = FText[L].Text;
    TvqrHTMLTags* Tags = static_cast<int>(L) < FHTMLTags.Count() ? &FHTMLTags.Line(static_cast<int>(L))
                                                                 : nullptr;
    Extended W = 0;
    if (FHTMLTags.AllowTags() && Tags && !Tags->empty()) {
      TFontStyles Style = FMeasureStyle;
      size_t RunStart = 0;
      for (size_t I = 0; I <= S.size(); ++I) {
        bool Breaks = I == S.size() || (I < Tags->size() && !(*Tags)[I].Default);
        if (!Breaks) continue;
        if (I > RunStart) W += Extent(S.substr(RunStart, I - RunStart), Style);
        if (I < S.size()) {
          Style = (*Tags)[I].Style;
          (*Tags)[I].Default = true;
        }
        RunStart = I;
      }
    } else {
      W = Extent(S, FMeasureStyle);
    }
    W += Round(static_cast<Extended>(S.size()) * FCharSpacing * K);
    if (FText[L].Flags & 1) W += Round(FParagraphGap * K);
    if (W > Max) Max = W;
  }
  return Max / K;
}

Extended TvqrDrawText::UnusedSpace() const {
  Extended Lh = LineHeight();
  Extended Height = FOriginalRect.Height() + 1;
  if (Lh <= 0) return 0;
  Int64 N = Trunc(Height / Lh);
  if (N == 0) return 0;
  Extended Result = Height - Lh * static_cast<Extended>(N);
  return Result == 0 ? 0.0001L : Result;
}

String TvqrDrawText::GetOutBoundsText(bool& ParaBreak) {
  ParaBreak = false;
  if (FText.empty()) return String();
  Extended Lh = LineHeight();
  Int64 N = Lh > 0 ? Trunc((FOriginalRect.Height() + 1) / Lh) : 0;
  if (N < 0) N = 0;
  if (N >= static_cast<Int64>(FText.size())) return String();
  size_t Kept = static_cast<size_t>(N);
  ParaBreak = Kept > 0 && (FText[Kept - 1].Flags & 2) == 0;
  TvqrHTMLTag First;
  bool HaveTag = static_cast<int>(Kept) < FHTMLTags.Count() && !FHTMLTags.Line(static_cast<int>(Kept)).empty();
  if (HaveTag) First = FHTMLTags.Line(static_cast<int>(Kept)).front();
  FText.resize(Kept);
  int P = HaveTag ? First.Position : static_cast<int>(FPlainText.size()) + 1;
  if (P < 1) P = 1;
  String Result = P <= static_cast<int>(FPlainText.size()) ? FPlainText.substr(static_cast<size_t>(P - 1))
                                                           : String();
  if (ParaBreak && !Result.empty() && Result[0] == u' ') Result.erase(0, 1);
  FPlainText = FPlainText.substr(0, static_cast<size_t>(P - 1));
  if (FWordBreak && !FText.empty() && !FText.back().Text.empty() && FText.back().Text.back() == u'-')
    FPlainText += u"-";
  if (FHTMLTags.AllowTags() && HaveTag) {
    if (First.Style.Contains(fsBold)) Result = u"<b>" + Result;
    if (First.Style.Contains(fsItalic)) Result = u"<i>" + Result;
    if (First.Style.Contains(fsUnderline)) Result = u"<u>" + Result;
    TColorRef Bgr = static_cast<TColorRef>(ColorToRGB(First.Color));
    unsigned Rgb = ((Bgr & 0xFF) << 16) | (Bgr & 0xFF00) | ((Bgr >> 16) & 0xFF);
    Result = u"<font color=\"#" + IntToHex(Rgb, 6) + u"\">" + Result;
  }
  return Result;
}

String TvqrDrawText::WrappedText() const {
  String Result;
  for (const TLine& L : FText) Result += L.Text + u"\r\n";
  return Result;
}

String TvqrDrawText::DeleteTags(const String& Txt) {
  String S = Txt;
  TvqrHTMLTagsList Parser;
  Parser.SetAllowTags(true);
  Parser.SetDefaults(FFontColor, FFontSize, FFontStyle);
  Parser.ExpandHTMLTags(S);
  return Txt.empty() ? Txt : S;
}
