// SysUtilsPicture.cpp - picture formats of FormatFloat and FormatCurr ("#,##0.00;(0.00);Nil").
//
// A section is read once into TPictureSection (counts and flags), then walked again to print:
// literals stand where they are written, the whole digits of the number fill the digit
// placeholders from the right of the decimal point leftwards (digits that do not fit go at
// the first placeholder), '0' forces a digit from its position on, and the decimal separator
// is printed only when a decimal digit follows.
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/rtl/SysUtils_p.h"

namespace {

struct TPictureSection {
  std::u16string_view Text;
  int IntPlaceholders = 0;     // '0' and '#' before the decimal point
  int DecPlaceholders = 0;     // after it
  int FirstIntZero = -1;       // index among the whole placeholders of the first '0'
  int LastDecZero = 0;         // 1-based index of the last '0' after the point
  bool HasPoint = false;
  bool Thousands = false;
  bool Scientific = false;

  int DigitCount() const { return IntPlaceholders + DecPlaceholders; }
};

bool IsExponentAt(std::u16string_view Text, std::size_t I) {
  return (Text[I] == u'E' || Text[I] == u'e') && I + 1 < Text.size() &&
         (Text[I + 1] == u'+' || Text[I + 1] == u'-');
}

// Index just past a quoted literal starting at I (or the end when it is not closed).
std::size_t SkipQuoted(std::u16string_view Text, std::size_t I) {
  const std::size_t Close = Text.find(Text[I], I + 1);
  return Close == std::u16string_view::npos ? Text.size() : Close + 1;
}

std::vector<std::u16string_view> SplitSections(std::u16string_view Format) {
  std::vector<std::u16string_view> Sections;
  std::size_t Start = 0;
  for (std::size_t I = 0; I < Format.size();) {
    if (Format[I] == u'"' || Format[I] == u'\'') { I = SkipQuoted(Format, I); continue; }
    if (Format[I] == u';') {
      Sections.push_back(Format.substr(Start, I - Start));
      Start = ++I;
      continue;
    }
    ++I;
  }
  Sections.push_back(Format.substr(Start));
  return Sections;
}

TPictureSection ScanSection(std::u16string_view Text) {
  TPictureSection S;
  S.Text = Text;
  for (std::size_t I = 0; I < Text.size();) {
    const Char C = Text[I];
    if (C == u'"' || C == u'\'') { I = SkipQuoted(Text, I); continue; }
    if (C == u'0' || C == u'#') {
      if (S.HasPoint) {
        ++S.DecPlaceholders;
        if (C == u'0') S.LastDecZero = S.DecPlaceholders;
      } else {
        if (C == u'0' && S.FirstIntZero < 0) S.FirstIntZero = S.IntPlaceholders;
        ++S.IntPlaceholders;
      }
    } else if (C == u'.') {
      S.HasPoint = true;
    } else if (C == u',') {
      S.Thousands = true;
    } else if (IsExponentAt(Text, I)) {
      S.Scientific = true;
      I += 2;
      while (I < Text.size() && Text[I] == u'0') ++I;
      continue;
    }
    ++I;
  }
  return S;
}

// Prints one section for a number already rounded for it. WholeDigits is how many digits the
// number has before the point (its exponent, or the placeholders in scientific form).
class TPicturePrinter {
public:
  TPicturePrinter(const TPictureSection& Section, const TDecimal& Dec, int WholeDigits,
                  int ExponentValue, const TFormatSettings& FS)
      : S(Section), D(Dec), FExp(WholeDigits), FWhole(std::max(WholeDigits, 0)), FExponent(ExponentValue), FS(FS) {
    const int Available = std::max(static_cast<int>(D.Digits.size()) - WholeDigits, 0);
    FDecimalsShown = std::max(S.LastDecZero, std::min(Available, S.DecPlaceholders));
  }

  String Print(bool LeadingMinus) {
    if (LeadingMinus) FOut.push_back(u'-');
    const std::u16string_view T = S.Text;
    for (std::size_t I = 0; I < T.size();) {
      const Char C = T[I];
      if (C == u'"' || C == u'\'') {
        const std::size_t Close = T.find(C, I + 1);
        if (Close == std::u16string_view::npos) {
          FOut.append(T.substr(I + 1));
          break;
        }
        FOut.append(T.substr(I + 1, Close - I - 1));
        I = Close + 1;
        continue;
      }
      if (C == u'0' || C == u'#') { PutPlaceholder(); ++I; continue; }
      if (C == u'.') { PutPoint(); ++I; continue; }
      if (C == u',') { ++I; continue; }
      if (S.Scientific && IsExponentAt(T, I)) { I = PutExponent(T, I); continue; }
      FOut.push_back(C);
      ++I;
    }
    return FOut;
  }

private:
  char DigitAtPosition(int Position) const {
    // Position counts whole digits from the point leftwards (1 = units) and decimals as 0, -1, ...
    const int Index = FExp - Position;
    return Index >= 0 && Index < static_cast<int>(D.Digits.size()) ? D.Digits[Index] : '0';
  }

  void PutDigit(int Position) {
    FOut.push_back(static_cast<Char>(DigitAtPosition(Position)));
    if (S.Thousands && Position > 1 && (Position - 1) % 3 == 0) FOut.push_back(FS.ThousandSeparator);
  }

  // Whole digits from position From down to To (From >= To).
  void PutWholeDigits(int From, int To) {
    for (int P = From; P >= To; --P) PutDigit(P);
  }

  void PutPlaceholder() {
    if (FPointDone) {
      ++FDecIndex;
      if (FDecIndex <= FDecimalsShown) FOut.push_back(static_cast<Char>(DigitAtPosition(1 - FDecIndex)));
      return;
    }
    const int Index = FIntIndex++;
    const int Position = S.IntPlaceholders - Index;
    // Whole digits beyond the placeholders all go in front of the first one.
    if (Index == 0 && FWhole > S.IntPlaceholders) PutWholeDigits(FWhole, Position + 1);
    const bool Forced = S.FirstIntZero >= 0 && Index >= S.FirstIntZero;
    if (Position <= FWhole || Forced) PutDigit(Position);
  }

  void PutPoint() {
    if (FPointDone) return;  // a second point is not a separator again
    if (S.IntPlaceholders == 0) PutWholeDigits(FWhole, 1);
    FPointDone = true;
    if (FDecimalsShown > 0) FOut.push_back(FS.DecimalSeparator);
  }

  std::size_t PutExponent(std::u16string_view T, std::size_t I) {
    FOut.push_back(T[I]);
    const bool AlwaysSign = T[I + 1] == u'+';
    if (FExponent < 0) FOut.push_back(u'-');
    else if (AlwaysSign) FOut.push_back(u'+');
    I += 2;
    int MinDigits = 0;
    while (I < T.size() && T[I] == u'0') { ++MinDigits; ++I; }
    std::string Digits = std::to_string(std::abs(FExponent));
    if (static_cast<int>(Digits.size()) < MinDigits) Digits.insert(0, MinDigits - Digits.size(), '0');
    for (char Ch : Digits) FOut.push_back(static_cast<Char>(Ch));
    return I;
  }

  const TPictureSection& S;
  const TDecimal& D;
  int FExp;    // the number's digits before the point; negative for 0.00x
  int FWhole;  // the same, at least 0
  int FExponent;
  const TFormatSettings& FS;
  int FDecimalsShown = 0;
  int FIntIndex = 0;
  int FDecIndex = 0;
  bool FPointDone = false;
  String FOut;
};

String PrintSection(const TPictureSection& S, TDecimal Dec, bool LeadingMinus,
                    const TFormatSettings& FS) {
  if (S.Scientific) {
    RoundDecimalTo(Dec, std::max(S.DigitCount(), 1));
    const int Exponent = Dec.IsZero() ? 0 : Dec.Exponent - S.IntPlaceholders;
    return TPicturePrinter(S, Dec, S.IntPlaceholders, Exponent, FS).Print(LeadingMinus);
  }
  return TPicturePrinter(S, Dec, Dec.Exponent, 0, FS).Print(LeadingMinus);
}

}  // namespace

String FormatDecimalPicture(const String& Format, TDecimal Dec, const TFormatSettings& FS) {
  if (Dec.Kind != TDecimal::dkFinite) return FormatDecimal(Dec, ffGeneral, 15, 0, FS);
  const std::vector<std::u16string_view> Sections = SplitSections(Format);
  if (Format.empty() || (Sections[0].empty() && Sections.size() == 1))
    return FormatDecimal(Dec, ffGeneral, 15, 0, FS);

  // The section follows the sign; a value that rounds to zero in its section takes the zero
  // section when there is one, and never prints as "-0".
  std::size_t Index = Dec.IsZero() ? 2 : (Dec.Negative ? 1 : 0);
  if (Index >= Sections.size() || Sections[Index].empty()) Index = 0;
  TPictureSection Section = ScanSection(Sections[Index]);
  // A scientific section rounds to its significant digits when it prints.
  if (!Section.Scientific) RoundDecimalPlaces(Dec, std::min(Section.DecPlaceholders, 18));
  if (Dec.IsZero() && Index != 2 && Sections.size() > 2 && !Sections[2].empty()) {
    Index = 2;
    Section = ScanSection(Sections[2]);
  }
  if (Dec.Exponent > 18 && !Section.Scientific) return FormatDecimal(Dec, ffGeneral, 15, 0, FS);
  const bool LeadingMinus = Dec.Negative && !Dec.IsZero() && Index == 0;
  Dec.Negative = false;
  return PrintSection(Section, Dec, LeadingMinus, FS);
}
