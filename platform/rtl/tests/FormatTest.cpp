// Tests of Format, FloatToStr, FloatToStrF, FormatFloat and StrToFloat in the Russian settings.
#include "platform/rtl/SysUtils.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

namespace {

const TFormatSettings& Ru() {
  static const TFormatSettings Settings = TFormatSettings::Russian();
  return Settings;
}

// Expected texts are UTF-8 so that a failure prints readably; "_" marks U+00A0, the Russian
// thousands separator.
std::string Nbsp(std::string Text) {
  std::string Out;
  for (char C : Text) {
    if (C == '_') Out += "\u00A0";
    else Out.push_back(C);
  }
  return Out;
}

template <class TCall>
void ExpectConvertError(TCall Call, const char16_t* Message) {
  try {
    Call();
    ADD_FAILURE() << "no EConvertError, expected: " << ToUtf8(Message);
  } catch (const EConvertError& E) {
    EXPECT_EQ(ToUtf8(E.Message()), ToUtf8(Message));
  }
}

}  // namespace

TEST(Format, IntegersTextsAndLayout) {
  struct Case { const char16_t* Fmt; std::vector<TVarRec> Args; const char* Out; } Cases[] = {
      {u"%d", {42}, "42"},
      {u"%5d|%-5d|", {42, 42}, "   42|42   |"},
      {u"%.4d", {-12}, "-0012"},
      {u"%d", {Int64(1) << 40}, "1099511627776"},
      {u"%u", {-1}, "4294967295"},
      {u"%x %x %.4x", {255, -1, 10}, "FF FFFFFFFF 000A"},
      {u"%s|%5s|%.2s", {u"abc", u"abc", u"abc"}, "abc|  abc|ab"},
      {u"%s", {u'Ж'}, "Ж"},
      {u"%1:s %0:s", {u"a", u"b"}, "b a"},
      {u"%1:s %s", {u"a", u"b", u"c"}, "b c"},   // after an index the next argument follows it
      {u"%*d|%-*d|", {4, 7, 3, 8}, "   7|8  |"},
      {u"100%% %s", {u"x"}, "100% x"},
      {u"Поле '%s' не найдено", {u"Цена"}, "Поле 'Цена' не найдено"},
  };
  for (const auto& C : Cases) EXPECT_EQ(ToUtf8(Format(C.Fmt, C.Args, Ru())), C.Out) << ToUtf8(C.Fmt);
}

TEST(Format, FloatsUseTheClassLibraryRules) {
  struct Case { const char16_t* Fmt; TVarRec Arg; const char* Out; } Cases[] = {
      {u"%g", 0.1 + 0.2, "0,3"},            // 15 significant digits, not C's 6 or 17
      {u"%g", 1234.5, "1234,5"},
      {u"%g", 123456789.125, "123456789,125"},
      {u"%g", 1e20, "1E20"},
      {u"%g", 1.5e-7, "1,5E-7"},
      {u"%g", 0.0001, "0,0001"},
      {u"%.3g", 1234.5, "1,23E3"},
      {u"%2.0n", 1234.5, "1_235"},         // the report's " #n%2.0n"
      {u"%2.2n", 1234567.891, "1_234_567,89"},
      {u"%n", -1234.5, "-1_234,50"},
      {u"%n", 999.995, "1_000,00"},        // halves away from zero on the decimal digits
      {u"%10.2f", 3.14159, "      3,14"},
      {u"%f", 2.675, "2,68"},              // printf gives 2.67 from the binary value
      {u"%.0f", -0.5, "-1"},
      {u"%.2f", -0.001, "0,00"},           // no "-0,00"
      {u"%e", 1234.5, "1,23450000000000E+003"},
      {u"%.3e", -0.000123456, "-1,23E-004"},
      {u"%m", 1234.5, "1_234,50 ₽"},
      {u"%m", -5.0, "-5,00 ₽"},
      {u"%.0m", Currency::FromRaw(125000), "13 ₽"},
      {u"%f", Currency::FromRaw(12345), "1,23"},
      {u"%g", Currency::FromRaw(12345), "1,2345"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(ToUtf8(Format(C.Fmt, {C.Arg}, Ru())), Nbsp(C.Out)) << ToUtf8(C.Fmt);
}

TEST(Format, BadSpecifiersAndMismatchesRaise) {
  struct Case { const char16_t* Fmt; std::vector<TVarRec> Args; const char16_t* Message; } Cases[] = {
      {u"%d", {u"x"}, u"Format '%d' invalid or incompatible with argument"},
      {u"%d", {1.5}, u"Format '%d' invalid or incompatible with argument"},
      {u"%f", {1}, u"Format '%f' invalid or incompatible with argument"},
      {u"%s", {1}, u"Format '%s' invalid or incompatible with argument"},
      {u"a %z", {1}, u"Format 'a %z' invalid or incompatible with argument"},
      {u"50%", {}, u"Format '50%' invalid or incompatible with argument"},
      {u"%*d", {u"x", 1}, u"Format '%*d' invalid or incompatible with argument"},
      {u"%d %d", {1}, u"No argument for format '%d %d'"},
      {u"%2:d", {1}, u"No argument for format '%2:d'"},
  };
  for (const auto& C : Cases)
    ExpectConvertError([&] { Format(C.Fmt, C.Args, Ru()); }, C.Message);
}

TEST(Format, GlobalSettingsAreUsedAndRestoredByTheScope) {
  {
    TFormatSettingsScope Scope(Ru());
    EXPECT_EQ(Format(u"%.1f", {1.25}), u"1,3");
    EXPECT_EQ(FloatToStr(1.5), u"1,5");
  }
  TFormatSettings Dot = TFormatSettings::Invariant();
  TFormatSettingsScope Scope(Dot);
  EXPECT_EQ(FloatToStr(1.5), u"1.5");
}

TEST(FloatToStr, FifteenDigitsGeneralFormat) {
  struct Case { Extended Value; const char* Out; } Cases[] = {
      {0.1 + 0.2, "0,3"},
      {1.0 / 3.0, "0,333333333333333"},
      {2.0 / 3.0, "0,666666666666667"},
      {-2.5, "-2,5"},
      {0.0, "0"},
      {-0.0, "0"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {1e-5, "1E-5"},
      {0.0001, "0,0001"},
      {1.5e300, "1,5E300"},
      {0.1L, "0,1"},                        // an Extended that is no double rounds to 15 too
      {718.1107L, "718,1107"},              // its nearest double's digits read back as it
      {1.0L / 3, "0,333333333333333"},      // ... and these need the Extended's own digits
      {std::nextafter(0.1L, 1.0L), "0,1"},
      {1e4000L, "1E4000"},
      {static_cast<Extended>(NAN), "NAN"},
      {static_cast<Extended>(INFINITY), "INF"},
      {-static_cast<Extended>(INFINITY), "-INF"},
  };
  for (const auto& C : Cases) EXPECT_EQ(ToUtf8(FloatToStr(C.Value, Ru())), C.Out) << C.Out;
}

// FloatToStr finds short decimals without the shortest-digits search; the text must be the
// one the general routine gives, for every kind of value.
TEST(FloatToStr, ShortDecimalsGiveTheGeneralRoutinesText) {
  std::mt19937_64 Random(20261211);
  auto Upto = [&](UInt64 Max) { return std::uniform_int_distribution<UInt64>(0, Max)(Random); };
  auto PowerOfTen = [](int N) {
    UInt64 P = 1;
    for (int K = 0; K < N; ++K) P *= 10;
    return P;
  };
  auto Check = [](Extended Value) {
    const String Expected = FloatToStrF(Value, ffGeneral, 15, 0, Ru());
    ASSERT_EQ(ToUtf8(FloatToStr(Value, Ru())), ToUtf8(Expected)) << static_cast<double>(Value);
  };
  for (Extended Edge : {1e-4L, 0.00009999L, 0.00010001L, 999999999999999.0L, 1e15L - 0.5L,
                        99999999999999.9L, 0.1L + 0.2L, 0.5L, 1.0L, 718.1107L, 46366.8485734722L,
                        std::nextafter(22.6772L, 0.0L), std::nextafter(22.6772L, 100.0L)}) {
    Check(Edge);
    Check(-Edge);
  }
  for (int I = 0; I < 100000; ++I) {
    // Decimals of up to 18 digits with the point anywhere, read as the template reader does;
    // doubles and Extendeds of every exponent; integers; and products that are near a
    // decimal but not on it.
    const int Places = static_cast<int>(Upto(18));
    const UInt64 Mantissa = Upto(PowerOfTen(1 + static_cast<int>(Upto(17))) - 1);
    Extended Power = 1;
    for (int K = 0; K < Places; ++K) Power *= 10;
    Check(static_cast<Extended>(Mantissa) / Power);
    Check(static_cast<double>(static_cast<Extended>(Mantissa) / Power));
    UInt64 Bits = Random();
    double D = 0;
    std::memcpy(&D, &Bits, sizeof D);
    if (std::isfinite(D)) Check(D);
    Check(std::ldexp(static_cast<Extended>(Random() | 1), static_cast<int>(Upto(140)) - 100));
    Check(static_cast<Extended>(static_cast<Int64>(Random()) >> Upto(63)));
    Check(static_cast<Extended>(Mantissa) * 0.1L / Power);
  }
}

TEST(FloatToStrF, EveryFormat) {
  struct Case { Extended Value; TFloatFormat Fmt; int Precision, Digits; const char* Out; } Cases[] = {
      {1234.567, ffFixed, 15, 2, "1234,57"},
      {1234.567, ffNumber, 15, 2, "1_234,57"},
      {1234.567, ffNumber, 15, 0, "1_235"},
      {0.5, ffFixed, 15, 0, "1"},
      {1234.5, ffExponent, 4, 2, "1,235E+03"},
      {0.0, ffExponent, 3, 2, "0,00E+00"},
      {-1234.5, ffCurrency, 15, 2, "-1_234,50 ₽"},
      {1234.5, ffGeneral, 3, 0, "1,23E3"},
      {1e20, ffFixed, 15, 2, "1E20"},      // more whole digits than the precision
      {12345.678, ffFixed, 4, 2, "1,235E4"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(ToUtf8(FloatToStrF(C.Value, C.Fmt, C.Precision, C.Digits, Ru())), Nbsp(C.Out)) << C.Out;
  TFormatSettings Prefix = Ru();
  Prefix.CurrencyFormat = 0;
  Prefix.NegCurrFormat = 0;
  Prefix.CurrencyString = u"$";
  EXPECT_EQ(FloatToStrF(1.5, ffCurrency, 15, 2, Prefix), u"$1,50");
  EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 2, Prefix), u"($1,50)");
}

TEST(FormatFloat, PicturesSectionsAndRounding) {
  struct Case { const char16_t* Fmt; Extended Value; const char* Out; } Cases[] = {
      {u"0.00", 1.005, "1,01"},            // the decimal 1.005 rounds up, as it reads
      {u"0.00", 2.5, "2,50"},
      {u"0.00", -0.001, "0,00"},
      {u"0", 0.5, "1"},
      {u"0", 2.5, "3"},
      {u"0", -2.5, "-3"},
      {u"0.0", 0.05, "0,1"},
      {u"0.0", 0.04, "0,0"},
      {u"#,##0.00", 1234567.891, "1_234_567,89"},
      {u"#,##0", 999.5, "1_000"},
      {u"#,##0", 12, "12"},
      {u"0.##", 1, "1"},                   // no separator without decimals
      {u"0.##", 1.5, "1,5"},
      {u".####", 0.625, ",625"},
      {u".####", 0, ""},
      {u"#.##", 12.5, "12,5"},
      {u"#", 0, ""},
      {u"00000", 42, "00042"},
      {u"#0.0#", 3, "3,0"},
      {u"### ### ### ### ###", 1545, "   1 545"},  // literal blanks stand where written
      {u"### ### ### ### ###", 0, "    "},
      {u"# ###", 1234567, "1234 567"},     // digits without placeholders go in front
      {u"0;(0);Zero", 5, "5"},
      {u"0;(0);Zero", -5, "(5)"},
      {u"0;(0);Zero", 0, "Zero"},
      {u"0;(0);Zero", -0.4, "Zero"},       // rounds to zero in its own section
      {u"0.00;;Zero", -1.5, "-1,50"},      // empty negative section: the first with a minus
      {u"0.00E+00", 1234.5, "1,23E+03"},
      {u"0.00E+00", 0, "0,00E+00"},
      {u"0.###E-0", 0.000123, "1,23E-4"},
      {u"0.0e+000", 5, "5,0e+000"},
      {u"\"Итого: \"0 'шт.'", 7, "Итого: 7 шт."},
      {u"0 \"a;b\"", 7, "7 a;b"},          // a quoted ';' does not split sections
      {u"", 1.5, "1,5"},
      {u"0", 1e20, "1E20"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(ToUtf8(FormatFloat(C.Fmt, C.Value, Ru())), Nbsp(C.Out)) << ToUtf8(C.Fmt);
}

TEST(FormatCurr, PrintsTheExactFixedPointValue) {
  EXPECT_EQ(ToUtf8(FormatCurr(u"#,##0.00", Currency::FromRaw(-12345678), Ru())), Nbsp("-1_234,57"));
  EXPECT_EQ(ToUtf8(FormatCurr(u"0.0000", Currency::FromRaw(INT64_MAX), Ru())),
            "922337203685477,5807");
  EXPECT_EQ(CurrToStr(Currency(1234.5), Ru()), u"1234,5");
  EXPECT_EQ(ToUtf8(CurrToStrF(Currency(1234.5), ffCurrency, 2, Ru())), Nbsp("1_234,50 ₽"));
}

TEST(StrToFloat, ReadsTheSettingsSeparatorOnly) {
  struct Case { const char16_t* In; Extended Out; } Good[] = {
      {u"1,5", 1.5}, {u" -2,25 ", -2.25}, {u"1e3", 1000}, {u"+1,5E-2", 0.015L}, {u"7", 7},
      {u"0,1", 0.1L},
  };
  for (const auto& C : Good) EXPECT_EQ(StrToFloat(C.In, Ru()), C.Out) << ToUtf8(C.In);
  for (const char16_t* Bad : {u"1.5", u"", u"  ", u"abc", u"1,2,3", u"1e", u",", u"1 000", u"--1"}) {
    Extended Value = 0;
    EXPECT_FALSE(TryStrToFloat(Bad, Value, Ru())) << ToUtf8(Bad);
  }
  EXPECT_TRUE(std::isinf(StrToFloat(u"-INF", Ru())));
  EXPECT_TRUE(std::isnan(StrToFloat(u"nan", Ru())));
  ExpectConvertError([] { StrToFloat(u"1.5", Ru()); }, u"'1.5' is not a valid floating point value");
  EXPECT_EQ(StrToFloatDef(u"x", 3.5, Ru()), 3.5);
  double D = 0;
  EXPECT_FALSE(TryStrToFloat(u"1e400", D, Ru()));  // beyond double
  EXPECT_TRUE(TryStrToFloat(u"2,5", D, Ru()));
  EXPECT_EQ(D, 2.5);
  EXPECT_EQ(StrToCurr(u"12,34567", Ru()), Currency::FromRaw(123457));
}

TEST(StrToFloat, RoundTripsFloatToStrForDoubles) {
  for (double Value : {0.1, 1.0 / 3.0, 1234.5678, -9.75e-12, 6.02e23}) {
    const String Text = FloatToStrF(Value, ffGeneral, 17, 0, Ru());
    EXPECT_EQ(static_cast<double>(StrToFloat(Text, Ru())), Value) << ToUtf8(Text);
  }
}

TEST(FormatSettings, CLocaleKeepsTheInvariantFormats) {
  const char* Saved = std::getenv("LC_ALL");
  const std::string Previous = Saved ? Saved : "";
  setenv("LC_ALL", "C", 1);
  const TFormatSettings FS = TFormatSettings::FromLocale();
  if (Saved) setenv("LC_ALL", Previous.c_str(), 1);
  else unsetenv("LC_ALL");
  EXPECT_EQ(FS.DecimalSeparator, u'.');
  EXPECT_EQ(FS.ShortDateFormat, u"M/d/yyyy");  // never a two-digit year
  EXPECT_EQ(FS.LongMonthNames[0], u"January");
}

TEST(Format, ArgumentsFromTemporaryStringsKeepTheirText) {
  // Each record keeps its own copy of a temporary, also after the vector moved its records.
  std::vector<TVarRec> Args;
  for (int i = 0; i < 40; ++i) Args.emplace_back(String(u"строка номер ") + IntToStr(i));
  std::vector<TVarRec> Copy = Args;
  EXPECT_EQ(ToUtf8(Format(u"%s|%s", {Args[3], Copy[39]}, Ru())), "строка номер 3|строка номер 39");
  TVarRec Moved = std::move(Copy[1]);
  EXPECT_EQ(ToUtf8(String(Moved.AsText())), "строка номер 1");
}
