// SysUtils_p.h - internals shared by the run-time library's own sources; not part of its API.
//
// TDecimal is a number as decimal digits: the form every float-to-text routine rounds and
// prints from, so that rounding happens on the digits people read, halves away from zero.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/Currency.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Types.h"

struct TDecimal {
  enum TKind { dkFinite, dkInfinite, dkNaN };
  TKind Kind = dkFinite;
  bool Negative = false;
  // Significant digits, no leading or trailing zeros; empty for zero.
  std::string Digits;
  // The value is 0.Digits x 10^Exponent, so Exponent counts the digits before the point.
  int Exponent = 0;

  bool IsZero() const { return Kind == dkFinite && Digits.empty(); }
};

// The shortest decimal that reads back as Value (as a double when Value is exactly one).
TDecimal MakeDecimal(Extended Value);
TDecimal MakeDecimal(Currency Value);
// How a value exactly halfway between its two neighbours rounds.
enum class TRoundHalf { AwayFromZero, ToEven };
// Keeps at most Count significant digits, halves away from zero unless Half says otherwise;
// Count <= 0 may round to zero or to one unit of the first dropped position.
void RoundDecimalTo(TDecimal& Dec, int Count, TRoundHalf Half = TRoundHalf::AwayFromZero);
// Rounds to Decimals digits after the point.
inline void RoundDecimalPlaces(TDecimal& Dec, int Decimals) {
  RoundDecimalTo(Dec, Dec.Exponent + Decimals);
}
Extended DecimalToExtended(const TDecimal& Dec);

String FormatDecimal(TDecimal Dec, int Format, int Precision, int Digits,
                     const TFormatSettings& FS);
String FormatDecimalPicture(const String& Format, TDecimal Dec, const TFormatSettings& FS);

// Raises EConvertError with the message; %s in Template is replaced by Arg.
[[noreturn]] void RaiseConvertError(std::u16string_view Template, std::u16string_view Arg);

// Characters up to ' ' are blanks for Trim and the parsers.
inline bool IsBlank(Char C) { return C <= u' '; }
std::u16string_view TrimView(std::u16string_view S);

// Formatting an ASCII byte text straight into a String.
String AsciiToString(std::string_view Ascii);
