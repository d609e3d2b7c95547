// DBCtrlsZkNumberRoutines.cpp - the number edit's text routines: the character check, thousand
// separators, separator normalising, the editing format and the clamping and rounding.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include <cmath>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

bool TextToFloatCheck(const String& Text, Extended& Value) {
  const Char Decimal = FormatSettings.DecimalSeparator;
  for (Char C : Text)
    if (C != Decimal && C != u'+' && C != u'-' && C != u'E' && C != u'e' && !(C >= u'0' && C <= u'9'))
      return false;
  if (Text == u"+" || Text == u"-") {
    Value = 0;
    return true;
  }
  if (Text.empty() || Text.size() > 127) return false;
  return TryStrToFloat(Text, Value);
}

String InsertThousandSeparators(const String& Text, bool Group) {
  String Sign, Body = Text;
  if (!Body.empty() && (Body[0] == u'+' || Body[0] == u'-')) {
    Sign = Body.substr(0, 1);
    Body.erase(0, 1);
  }
  std::size_t End = Body.find_first_of(String{FormatSettings.DecimalSeparator, u'E', u'e'});
  if (End == String::npos) End = Body.size();
  String Int = Body.substr(0, End);
  const String Rest = Body.substr(End);
  if (Group)
    for (std::size_t I = Int.size(); I > 3; I -= 3)
      Int.insert(I - 3, 1, FormatSettings.ThousandSeparator);
  return Sign + Int + Rest;
}

String DefaultCurrencyEditFormat() {
  return u",#." + String(FormatSettings.CurrencyDecimals, u'0');
}

String NormalizeNumberText(const String& Text) {
  String S = Trim(Text);
  const Char Decimal = FormatSettings.DecimalSeparator;
  const Char Thousand = FormatSettings.ThousandSeparator;
  if (Decimal != Thousand) std::erase(S, Thousand);
  for (Char& C : S) {
    if (C == u'.' && Decimal != u'.' && Thousand != u'.') C = Decimal;
    if (C == u',' && Decimal != u',' && Thousand != u',') C = Decimal;
  }
  return S;
}

String DisplayFormatToEditFormat(const String& DisplayFormat) {
  String Result;
  int ExponentDrops = 0;
  bool AfterExponent = false;
  for (std::size_t I = 0; I < DisplayFormat.size(); ++I) {
    const Char C = DisplayFormat[I];
    if (C == u'"' || C == u'\'') {
      const std::size_t Close = DisplayFormat.find(C, I + 1);
      if (Close == String::npos) break;
      I = Close;
      continue;
    }
    if (C == u';') break;
    if (C == u'E' || C == u'e') {
      if (I + 1 < DisplayFormat.size() && DisplayFormat[I + 1] == u'+') ++I;
      AfterExponent = true;
      continue;
    }
    if (AfterExponent && C == u'0') {
      AfterExponent = false;
      if (++ExponentDrops >= 5) break;
      continue;
    }
    AfterExponent = false;
    if (C == u'#' || C == u'0' || C == u'.' || C == u',') Result += C;
  }
  return Result;
}

Extended CheckNumberValue(Extended X, Extended MinValue, Extended MaxValue,
                          unsigned DecimalPlaces) {
  if (MinValue < MaxValue) {
    X = std::min(std::max(X, MinValue), MaxValue);
  } else if (MinValue > MaxValue) {
    if (MaxValue == 0) X = std::max(X, MinValue);
    else if (MinValue == 0) X = std::min(X, MaxValue);
  }
  if (DecimalPlaces > 37 || !std::isfinite(X)) return X;
  Extended Power = 1;
  for (unsigned I = 0; I < DecimalPlaces; ++I) Power *= 10;
  const Extended Scaled = X * Power;
  // Beyond 2^63 the value has no fraction to round at this scale; a 64-bit conversion would
  // overflow, so the value stays as it is.
  if (!(std::fabs(Scaled) < 9223372036854775808.0L)) return X;
  return Extended(std::llrintl(Scaled)) / Power;
}
