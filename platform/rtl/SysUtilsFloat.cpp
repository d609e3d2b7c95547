// SysUtilsFloat.cpp - floats and Currency to text and back (FloatToStr, FloatToStrF,
// FormatFloat, StrToFloat, CurrToStr, ...), through decimal digits.
#include "platform/rtl/SysUtils.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/rtl/SysUtils_p.h"

namespace {

constexpr int kMaxPrecision = 18;

// Parses std::to_chars' scientific form "-d.ddde+xx".
TDecimal ParseScientific(std::string_view Text) {
  TDecimal Dec;
  std::size_t I = 0;
  if (I < Text.size() && Text[I] == '-') { Dec.Negative = true; ++I; }
  int PointExponent = 0;
  bool SeenPoint = false;
  for (; I < Text.size() && Text[I] != 'e'; ++I) {
    if (Text[I] == '.') { SeenPoint = true; continue; }
    Dec.Digits.push_back(Text[I]);
    if (!SeenPoint) ++PointExponent;
  }
  int Exp = 0;
  if (I < Text.size()) std::from_chars(Text.data() + I + 1 + (Text[I + 1] == '+'),
                                       Text.data() + Text.size(), Exp);
  Dec.Exponent = PointExponent + Exp;
  const std::size_t First = Dec.Digits.find_first_not_of('0');
  if (First == std::string::npos) {
    Dec.Digits.clear();
    Dec.Negative = false;
    Dec.Exponent = 0;
    return Dec;
  }
  Dec.Digits.erase(0, First);
  Dec.Exponent -= static_cast<int>(First);
  Dec.Digits.erase(Dec.Digits.find_last_not_of('0') + 1);
  return Dec;
}

void StripTrailingZeros(TDecimal& Dec) {
  const std::size_t Last = Dec.Digits.find_last_not_of('0');
  if (Last == std::string::npos) {
    Dec.Digits.clear();
    Dec.Exponent = 0;
    return;
  }
  Dec.Digits.erase(Last + 1);
}

void AppendAscii(String& Out, std::string_view Ascii) {
  for (char C : Ascii) Out.push_back(static_cast<Char>(C));
}

// Digit at index I of the digits, '0' beyond them.
char DigitAt(const TDecimal& Dec, int I) {
  return I >= 0 && I < static_cast<int>(Dec.Digits.size()) ? Dec.Digits[I] : '0';
}

// Whole part with optional thousands separators.
void AppendIntegerPart(String& Out, const TDecimal& Dec, Char Thousands) {
  if (Dec.Exponent <= 0) {
    Out.push_back(u'0');
    return;
  }
  for (int I = 0; I < Dec.Exponent; ++I) {
    Out.push_back(static_cast<Char>(DigitAt(Dec, I)));
    const int Left = Dec.Exponent - I - 1;
    if (Thousands != 0 && Left > 0 && Left % 3 == 0) Out.push_back(Thousands);
  }
}

void AppendFraction(String& Out, const TDecimal& Dec, int Decimals, Char Separator) {
  if (Decimals <= 0) return;
  Out.push_back(Separator);
  for (int I = 0; I < Decimals; ++I) Out.push_back(static_cast<Char>(DigitAt(Dec, Dec.Exponent + I)));
}

void AppendExponent(String& Out, int Exponent, bool AlwaysSign, int MinDigits) {
  Out.push_back(u'E');
  if (Exponent < 0) Out.push_back(u'-');
  else if (AlwaysSign) Out.push_back(u'+');
  std::string Digits = std::to_string(std::abs(Exponent));
  if (static_cast<int>(Digits.size()) < MinDigits) Digits.insert(0, MinDigits - Digits.size(), '0');
  AppendAscii(Out, Digits);
}

String SpecialText(const TDecimal& Dec) {
  if (Dec.Kind == TDecimal::dkNaN) return u"NAN";
  return Dec.Negative ? u"-INF" : u"INF";
}

String FormatGeneral(TDecimal Dec, int Precision, int Digits, const TFormatSettings& FS) {
  RoundDecimalTo(Dec, Precision);
  if (Dec.IsZero()) return u"0";
  String Out;
  if (Dec.Negative) Out.push_back(u'-');
  const int Count = static_cast<int>(Dec.Digits.size());
  if (Dec.Exponent > Precision || Dec.Exponent < -3) {
    Out.push_back(static_cast<Char>(Dec.Digits[0]));
    if (Count > 1) {
      Out.push_back(FS.DecimalSeparator);
      AppendAscii(Out, std::string_view(Dec.Digits).substr(1));
    }
    AppendExponent(Out, Dec.Exponent - 1, false, Digits);
    return Out;
  }
  AppendIntegerPart(Out, Dec, 0);
  AppendFraction(Out, Dec, Count - Dec.Exponent, FS.DecimalSeparator);
  return Out;
}

String FormatExponent(TDecimal Dec, int Precision, int Digits, const TFormatSettings& FS) {
  RoundDecimalTo(Dec, Precision);
  String Out;
  if (Dec.Negative && !Dec.IsZero()) Out.push_back(u'-');
  Out.push_back(static_cast<Char>(DigitAt(Dec, 0)));
  if (Precision > 1) {
    Out.push_back(FS.DecimalSeparator);
    for (int I = 1; I < Precision; ++I) Out.push_back(static_cast<Char>(DigitAt(Dec, I)));
  }
  AppendExponent(Out, Dec.IsZero() ? 0 : Dec.Exponent - 1, true, Digits);
  return Out;
}

// Currency layouts, indexed by CurrencyFormat (0..3) and NegCurrFormat (0..15): '$' is the
// currency string, '1' the number.
constexpr const char* kPositiveCurrency[] = {"$1", "1$", "$ 1", "1 $"};
constexpr const char* kNegativeCurrency[] = {
    "($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
    "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};

String ApplyCurrencyLayout(const char* Layout, const String& Number, const TFormatSettings& FS) {
  String Out;
  for (const char* P = Layout; *P; ++P) {
    if (*P == '$') Out += FS.CurrencyString;
    else if (*P == '1') Out += Number;
    else Out.push_back(static_cast<Char>(*P));
  }
  return Out;
}

String FormatFixed(TDecimal Dec, int Format, int Precision, int Digits, const TFormatSettings& FS) {
  // More whole digits than the precision holds: the general form says it honestly.
  RoundDecimalTo(Dec, std::min(Precision, Dec.Exponent + Digits));
  if (Dec.Exponent > Precision) return FormatGeneral(Dec, Precision, 0, FS);
  String Number;
  AppendIntegerPart(Number, Dec, Format == ffFixed ? 0 : FS.ThousandSeparator);
  AppendFraction(Number, Dec, Digits, FS.DecimalSeparator);
  const bool Negative = Dec.Negative && !Dec.IsZero();
  if (Format == ffCurrency) {
    if (Negative) return ApplyCurrencyLayout(kNegativeCurrency[FS.NegCurrFormat % 16], Number, FS);
    return ApplyCurrencyLayout(kPositiveCurrency[FS.CurrencyFormat % 4], Number, FS);
  }
  return Negative ? u"-" + Number : Number;
}

}  // namespace

// ---- Decimal digits ----------------------------------------------------------------------

TDecimal MakeDecimal(Extended Value) {
  TDecimal Dec;
  if (std::isnan(Value)) { Dec.Kind = TDecimal::dkNaN; return Dec; }
  if (std::isinf(Value)) {
    Dec.Kind = TDecimal::dkInfinite;
    Dec.Negative = Value < 0;
    return Dec;
  }
  char Buffer[64];
  const double AsDouble = static_cast<double>(Value);
  auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, AsDouble, std::chars_format::scientific);
  if (static_cast<Extended>(AsDouble) != Value) {
    // The shortest digits of an 80-bit value are slow to find. When the nearest double's
    // digits (17 at most) read back as Value they are the same digits: a long double's
    // rounding interval is too narrow to hold two decimals of 17 digits or fewer.
    Extended Back = 0;
    const auto Read = std::from_chars(Buffer, Result.ptr, Back);
    if (Read.ec != std::errc() || Back != Value)
      Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value, std::chars_format::scientific);
  }
  return ParseScientific(std::string_view(Buffer, Result.ptr - Buffer));
}

TDecimal MakeDecimal(Currency Value) {
  TDecimal Dec;
  const Int64 Raw = Value.Raw();
  if (Raw == 0) return Dec;
  Dec.Negative = Raw < 0;
  // The magnitude of INT64_MIN does not fit an Int64; go through UInt64.
  const UInt64 Magnitude = Raw < 0 ? 0 - static_cast<UInt64>(Raw) : static_cast<UInt64>(Raw);
  Dec.Digits = std::to_string(Magnitude);
  Dec.Exponent = static_cast<int>(Dec.Digits.size()) - 4;
  StripTrailingZeros(Dec);
  return Dec;
}

void RoundDecimalTo(TDecimal& Dec, int Count, TRoundHalf Half) {
  const int Size = static_cast<int>(Dec.Digits.size());
  if (Dec.Kind != TDecimal::dkFinite || Count >= Size) return;
  bool Up = false;
  if (Count >= 0) {
    const char Next = Dec.Digits[Count];
    // Digits has no trailing zeros, so a '5' with digits after it lies above the half.
    const bool LastOdd = Count > 0 && ((Dec.Digits[Count - 1] - '0') & 1) != 0;
    Up = Next > '5' ||
         (Next == '5' && (Half == TRoundHalf::AwayFromZero || Count + 1 < Size || LastOdd));
  }
  if (Count <= 0 && !Up) {
    Dec.Digits.clear();
    Dec.Exponent = 0;
    return;
  }
  Dec.Digits.resize(Count);
  if (Up) {
    int I = Count - 1;
    while (I >= 0 && Dec.Digits[I] == '9') Dec.Digits[I--] = '0';
    if (I >= 0) {
      ++Dec.Digits[I];
    } else {
      Dec.Digits.insert(Dec.Digits.begin(), '1');
      ++Dec.Exponent;
    }
  }
  StripTrailingZeros(Dec);
}

Extended DecimalToExtended(const TDecimal& Dec) {
  if (Dec.Kind == TDecimal::dkNaN) return NAN;
  if (Dec.Kind == TDecimal::dkInfinite) return Dec.Negative ? -INFINITY : INFINITY;
  if (Dec.Digits.empty()) return 0;
  const std::string Text = (Dec.Negative ? "-0." : "0.") + Dec.Digits + "e" +
                           std::to_string(Dec.Exponent);
  double Value = 0;
  std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  return Value;
}

String FormatDecimal(TDecimal Dec, int Format, int Precision, int Digits,
                     const TFormatSettings& FS) {
  if (Dec.Kind != TDecimal::dkFinite) return SpecialText(Dec);
  Precision = std::clamp(Precision, 1, kMaxPrecision);
  switch (Format) {
    case ffGeneral:
      return FormatGeneral(Dec, Precision, std::clamp(Digits, 0, 4), FS);
    case ffExponent:
      return FormatExponent(Dec, Precision, std::clamp(Digits, 0, 4), FS);
    default:
      return FormatFixed(Dec, Format, Precision, std::clamp(Digits, 0, kMaxPrecision), FS);
  }
}

// ---- Float to text -----------------------------------------------------------------------

String FloatToStr(Extended Value) { return FloatToStr(Value, FormatSettings); }

namespace {

// The general text of a value that is a decimal of at most 15 digits lying between 1E-4 and
// 1E15, the kind of value forms and reports hold (positions, sizes, prices), found without
// the shortest-digits search. Value is N / 10^k for the fewest fraction digits k whose
// nearest N, divided back, gives exactly Value: that decimal reads back as Value, and no
// other decimal of as few digits does (two of them lie 10^-k apart, far more than the
// rounding interval), so it is the shortest text and FloatToStr's 15 digits leave it
// unchanged. False for any other value.
bool ShortDecimalText(Extended Value, Char Separator, String& Out) {
  const Extended Magnitude = std::fabs(Value);
  if (!(Magnitude >= 1e-4L && Magnitude < 1e15L)) return false;
  constexpr UInt64 kLimit = 1000000000000000ULL;  // 10^15: 15 digits at most
  Extended Scale = 1;
  UInt64 Power = 1;
  for (int Fraction = 0; Fraction <= 19; ++Fraction, Scale *= 10, Power *= 10) {
    const Extended Scaled = Magnitude * Scale;
    if (Scaled >= static_cast<Extended>(kLimit)) return false;
    const UInt64 N = static_cast<UInt64>(Scaled + 0.5L);
    if (static_cast<Extended>(N) / Scale != Magnitude) continue;
    // At most a sign, 15 digits and a separator: built in place, then copied out once.
    char Digits[24];
    char* End = std::to_chars(Digits, Digits + sizeof Digits, N / Power).ptr;
    Char Text[40];
    Char* P = Text;
    if (Value < 0) *P++ = u'-';
    for (const char* D = Digits; D < End; ++D) *P++ = static_cast<Char>(*D);
    UInt64 Rest = N % Power;
    if (Rest != 0) {
      *P++ = Separator;
      // Leading zeros of the fraction are written; the last digit written is not zero.
      for (UInt64 Unit = Power / 10; Rest != 0; Unit /= 10) {
        *P++ = static_cast<Char>(u'0' + Rest / Unit);
        Rest %= Unit;
      }
    }
    Out.assign(Text, P);
    return true;
  }
  return false;
}

}  // namespace

String FloatToStr(Extended Value, const TFormatSettings& FS) {
  if (Value == 0) return u"0";  // either sign: the general form drops a zero's sign
  String Short;
  if (ShortDecimalText(Value, FS.DecimalSeparator, Short)) return Short;
  return FormatDecimal(MakeDecimal(Value), ffGeneral, 15, 0, FS);
}

String FloatToStrF(Extended Value, TFloatFormat Format, int Precision, int Digits) {
  return FloatToStrF(Value, Format, Precision, Digits, FormatSettings);
}

String FloatToStrF(Extended Value, TFloatFormat Format, int Precision, int Digits,
                   const TFormatSettings& FS) {
  return FormatDecimal(MakeDecimal(Value), Format, Precision, Digits, FS);
}

String FormatFloat(const String& Format, Extended Value) {
  return FormatFloat(Format, Value, FormatSettings);
}

String FormatFloat(const String& Format, Extended Value, const TFormatSettings& FS) {
  return FormatDecimalPicture(Format, MakeDecimal(Value), FS);
}

String FormatCurr(const String& Format, Currency Value) {
  return FormatCurr(Format, Value, FormatSettings);
}

String FormatCurr(const String& Format, Currency Value, const TFormatSettings& FS) {
  return FormatDecimalPicture(Format, MakeDecimal(Value), FS);
}

String CurrToStr(Currency Value) { return CurrToStr(Value, FormatSettings); }

String CurrToStr(Currency Value, const TFormatSettings& FS) {
  return FormatDecimal(MakeDecimal(Value), ffGeneral, kMaxPrecision + 1, 0, FS);
}

String CurrToStrF(Currency Value, TFloatFormat Format, int Digits) {
  return CurrToStrF(Value, Format, Digits, FormatSettings);
}

String CurrToStrF(Currency Value, TFloatFormat Format, int Digits, const TFormatSettings& FS) {
  return FormatDecimal(MakeDecimal(Value), Format, kMaxPrecision, Digits, FS);
}

// ---- Text to float -----------------------------------------------------------------------

namespace {

bool EqualsAsciiNoCase(std::u16string_view S, std::string_view Ascii) {
  if (S.size() != Ascii.size()) return false;
  for (std::size_t I = 0; I < S.size(); ++I) {
    Char C = S[I];
    if (C >= u'a' && C <= u'z') C -= 32;
    if (C != static_cast<Char>(Ascii[I])) return false;
  }
  return true;
}

// Copies a float text into ASCII with '.' as the point; false on anything else.
bool NormaliseFloatText(std::u16string_view S, Char DecimalSeparator, std::string& Out) {
  std::size_t I = 0;
  if (I < S.size() && (S[I] == u'+' || S[I] == u'-')) {
    if (S[I] == u'-') Out.push_back('-');
    ++I;
  }
  int MantissaDigits = 0;
  bool SeenPoint = false;
  for (; I < S.size(); ++I) {
    const Char C = S[I];
    if (C >= u'0' && C <= u'9') { Out.push_back(static_cast<char>(C)); ++MantissaDigits; continue; }
    if (C == DecimalSeparator && !SeenPoint) { Out.push_back('.'); SeenPoint = true; continue; }
    break;
  }
  if (MantissaDigits == 0) return false;
  if (I < S.size() && (S[I] == u'e' || S[I] == u'E')) {
    Out.push_back('e');
    ++I;
    if (I < S.size() && (S[I] == u'+' || S[I] == u'-')) Out.push_back(static_cast<char>(S[I++]));
    int ExponentDigits = 0;
    for (; I < S.size() && S[I] >= u'0' && S[I] <= u'9'; ++I, ++ExponentDigits)
      Out.push_back(static_cast<char>(S[I]));
    if (ExponentDigits == 0) return false;
  }
  return I == S.size();
}

}  // namespace

bool TryStrToFloat(const String& S, Extended& Value, const TFormatSettings& FS) {
  const std::u16string_view Text = TrimView(S);
  if (EqualsAsciiNoCase(Text, "NAN")) { Value = NAN; return true; }
  if (EqualsAsciiNoCase(Text, "INF") || EqualsAsciiNoCase(Text, "+INF")) { Value = INFINITY; return true; }
  if (EqualsAsciiNoCase(Text, "-INF")) { Value = -INFINITY; return true; }
  std::string Ascii;
  if (!NormaliseFloatText(Text, FS.DecimalSeparator, Ascii)) return false;
  long double Parsed = 0;
  const auto Result = std::from_chars(Ascii.data(), Ascii.data() + Ascii.size(), Parsed);
  if (Result.ec != std::errc() || Result.ptr != Ascii.data() + Ascii.size()) return false;
  Value = Parsed;
  return true;
}

bool TryStrToFloat(const String& S, Extended& Value) { return TryStrToFloat(S, Value, FormatSettings); }

bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& FS) {
  Extended Parsed = 0;
  if (!TryStrToFloat(S, Parsed, FS)) return false;
  if (std::isfinite(Parsed) && std::fabs(Parsed) > 1.7976931348623157e308L) return false;
  Value = static_cast<double>(Parsed);
  return true;
}

bool TryStrToFloat(const String& S, double& Value) { return TryStrToFloat(S, Value, FormatSettings); }

Extended StrToFloat(const String& S) { return StrToFloat(S, FormatSettings); }

Extended StrToFloat(const String& S, const TFormatSettings& FS) {
  Extended Value = 0;
  if (!TryStrToFloat(S, Value, FS)) RaiseConvertError(u"'%s' is not a valid floating point value", S);
  return Value;
}

Extended StrToFloatDef(const String& S, Extended Default) {
  return StrToFloatDef(S, Default, FormatSettings);
}

Extended StrToFloatDef(const String& S, Extended Default, const TFormatSettings& FS) {
  Extended Value = 0;
  return TryStrToFloat(S, Value, FS) ? Value : Default;
}

bool TryStrToCurr(const String& S, Currency& Value, const TFormatSettings& FS) {
  Extended Parsed = 0;
  if (!TryStrToFloat(S, Parsed, FS)) return false;
  if (!std::isfinite(Parsed) || std::fabs(Parsed) >= 922337203685477.5807L) return false;
  Value = Currency(Parsed);
  return true;
}

bool TryStrToCurr(const String& S, Currency& Value) { return TryStrToCurr(S, Value, FormatSettings); }

Currency StrToCurr(const String& S) { return StrToCurr(S, FormatSettings); }

Currency StrToCurr(const String& S, const TFormatSettings& FS) {
  Currency Value;
  if (!TryStrToCurr(S, Value, FS)) RaiseConvertError(u"'%s' is not a valid floating point value", S);
  return Value;
}

Currency StrToCurrDef(const String& S, Currency Default) {
  Currency Value;
  return TryStrToCurr(S, Value) ? Value : Default;
}
