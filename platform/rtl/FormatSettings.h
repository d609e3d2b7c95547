// FormatSettings.h - the locale settings every formatting and parsing routine reads.
//
// The global FormatSettings is filled from the user's locale (LC_NUMERIC, LC_TIME) at start-up.
// Every routine that depends on it also has an overload taking an explicit TFormatSettings, which
// is what tests use: TFormatSettings::Russian() gives the Russian settings the system is written
// for, independent of the machine's locale.
#pragma once

#include <array>

#include "platform/rtl/Types.h"

struct TFormatSettings {
  // Currency format: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  Byte CurrencyFormat = 0;
  // Negative currency format, 0..15 as the class library numbers them: 0 "($1)", 1 "-$1",
  // 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-",
  // 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
  Byte NegCurrFormat = 1;
  Char ThousandSeparator = u',';
  Char DecimalSeparator = u'.';
  Byte CurrencyDecimals = 2;
  Char DateSeparator = u'/';
  Char TimeSeparator = u':';
  Char ListSeparator = u',';
  String CurrencyString = u"$";
  String ShortDateFormat = u"M/d/yyyy";
  String LongDateFormat = u"dddd, MMMM d, yyyy";
  String TimeAMString = u"AM";
  String TimePMString = u"PM";
  String ShortTimeFormat = u"h:mm AMPM";
  String LongTimeFormat = u"h:mm:ss AMPM";
  std::array<String, 12> ShortMonthNames;
  std::array<String, 12> LongMonthNames;
  // The month names a date format uses when it also shows the day's number ("d MMMM yyyy":
  // "5 марта 2024"), as the Russian locale has them; empty ones fall back to LongMonthNames.
  std::array<String, 12> GenitiveMonthNames;
  std::array<String, 7> ShortDayNames;  // [0] is Sunday
  std::array<String, 7> LongDayNames;
  Word TwoDigitYearCenturyWindow = 50;

  // Neutral settings: '.' decimals, ',' thousands, English names, "M/d/yyyy".
  static TFormatSettings Invariant();
  // Russian settings: ',' decimals, U+00A0 thousands, "dd.MM.yyyy", "h:mm:ss", "₽", months
  // "Март" alone and "5 марта 2024 г." in the long date.
  static TFormatSettings Russian();
  // Settings of the process's current C locale (LC_NUMERIC and LC_TIME through nl_langinfo);
  // values the locale leaves empty keep their invariant defaults.
  static TFormatSettings FromLocale();
};

// The process-wide settings, read from the user's locale at start-up.
extern TFormatSettings FormatSettings;

// ---- for tests ----
// Replaces the global FormatSettings while it lives and restores the previous value after.
class TFormatSettingsScope {
public:
  explicit TFormatSettingsScope(const TFormatSettings& Settings);
  ~TFormatSettingsScope();
  TFormatSettingsScope(const TFormatSettingsScope&) = delete;
  TFormatSettingsScope& operator=(const TFormatSettingsScope&) = delete;

private:
  TFormatSettings FSaved;
};
