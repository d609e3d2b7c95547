// FormatSettings.cpp - the invariant, Russian and locale-derived format settings.
#include "platform/rtl/FormatSettings.h"

#include <langinfo.h>
#include <locale.h>

#include <climits>
#include <string_view>

namespace {

template <std::size_t N>
std::array<String, N> Names(const char16_t* const (&List)[N]) {
  std::array<String, N> Result;
  for (std::size_t I = 0; I < N; ++I) Result[I] = List[I];
  return Result;
}

// ---- Reading the C locale ----------------------------------------------------------------

String LocaleText(locale_t Locale, nl_item Item) {
  const char* Text = nl_langinfo_l(Item, Locale);
  return Text ? Utf8ToString(Text) : String();
}

int LocaleByte(locale_t Locale, nl_item Item) {
  const char* Text = nl_langinfo_l(Item, Locale);
  return Text ? static_cast<unsigned char>(Text[0]) : CHAR_MAX;
}

// Translates a strftime date or time format into the class library's specifiers.
String TranslateStrftime(std::u16string_view Format) {
  String Out;
  for (std::size_t I = 0; I < Format.size(); ++I) {
    if (Format[I] != u'%' || I + 1 >= Format.size()) {
      Out.push_back(Format[I]);
      continue;
    }
    Char Spec = Format[++I];
    while ((Spec == u'-' || Spec == u'_' || Spec == u'0' || Spec == u'E' || Spec == u'O') &&
           I + 1 < Format.size())
      Spec = Format[++I];  // flags and modifiers
    switch (Spec) {
      case u'd': Out += u"dd"; break;
      case u'e': Out += u"d"; break;
      case u'm': Out += u"MM"; break;
      case u'b': case u'h': Out += u"MMM"; break;
      case u'B': Out += u"MMMM"; break;
      case u'y': Out += u"yy"; break;
      case u'Y': Out += u"yyyy"; break;
      case u'a': Out += u"ddd"; break;
      case u'A': Out += u"dddd"; break;
      case u'H': Out += u"hh"; break;
      case u'k': Out += u"h"; break;
      case u'I': Out += u"hh"; break;
      case u'l': Out += u"h"; break;
      case u'M': Out += u"nn"; break;
      case u'S': Out += u"ss"; break;
      case u'p': case u'P': Out += u"AMPM"; break;
      case u'T': Out += u"hh:nn:ss"; break;
      case u'R': Out += u"hh:nn"; break;
      case u'r': Out += u"hh:nn:ss AMPM"; break;
      case u'D': Out += u"MM/dd/yy"; break;
      case u'F': Out += u"yyyy-MM-dd"; break;
      case u'%': Out.push_back(u'%'); break;
      default: break;  // time zone and the like: not shown
    }
  }
  return Out;
}

// The first character of a date or time format that is not a specifier letter.
Char FirstSeparator(std::u16string_view Format, Char Default) {
  for (Char C : Format) {
    const bool Letter = (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z');
    if (!Letter && C != u' ' && C != u'\'' && C != u'"') return C;
  }
  return Default;
}

// "h:nn:ss" -> "h:nn": the short time drops the seconds.
String WithoutSeconds(const String& LongTime) {
  String Out = LongTime;
  const std::size_t S = Out.find_first_of(u"sS");
  if (S == String::npos || S == 0) return Out;
  std::size_t End = S;
  while (End < Out.size() && (Out[End] == u's' || Out[End] == u'S')) ++End;
  Out.erase(S - 1, End - S + 1);
  return Out;
}

void ReadCurrency(locale_t Locale, TFormatSettings& FS) {
  const String Symbol = LocaleText(Locale, CURRENCY_SYMBOL);
  if (Symbol.empty()) return;
  FS.CurrencyString = Symbol;
  const int Digits = LocaleByte(Locale, FRAC_DIGITS);
  if (Digits >= 0 && Digits <= 18) FS.CurrencyDecimals = static_cast<Byte>(Digits);
  const bool Precedes = LocaleByte(Locale, P_CS_PRECEDES) == 1;
  const bool Space = LocaleByte(Locale, P_SEP_BY_SPACE) == 1;
  FS.CurrencyFormat = Precedes ? (Space ? 2 : 0) : (Space ? 3 : 1);
  FS.NegCurrFormat = Precedes ? (Space ? 9 : 1) : (Space ? 8 : 5);
}

void ReadDateTimeFormats(locale_t Locale, TFormatSettings& FS) {
  // The C and POSIX locales' "%m/%d/%y" would lose the century: keep the invariant formats.
  const String Strftime = LocaleText(Locale, D_FMT);
  if (Strftime == u"%m/%d/%y") return;
  const String DateFormat = TranslateStrftime(Strftime);
  if (!DateFormat.empty()) {
    FS.ShortDateFormat = DateFormat;
    FS.DateSeparator = FirstSeparator(DateFormat, FS.DateSeparator);
    if ((DateFormat[0] == u'd' || DateFormat[0] == u'D'))
      FS.LongDateFormat = u"d MMMM yyyy";
  }
  const String TimeFormat = TranslateStrftime(LocaleText(Locale, T_FMT));
  if (!TimeFormat.empty()) {
    FS.LongTimeFormat = TimeFormat;
    FS.ShortTimeFormat = WithoutSeconds(TimeFormat);
    FS.TimeSeparator = FirstSeparator(TimeFormat, FS.TimeSeparator);
  }
}

void ReadNames(locale_t Locale, TFormatSettings& FS) {
  FS.TimeAMString = LocaleText(Locale, AM_STR);
  FS.TimePMString = LocaleText(Locale, PM_STR);
  for (int I = 0; I < 12; ++I) {
    String Long = LocaleText(Locale, MON_1 + I);
    const String Short = LocaleText(Locale, ABMON_1 + I);
#ifdef ALTMON_1
    // Where a language declines month names, MON is the form next to a day ("марта") and
    // ALTMON the name standing alone ("март").
    const String Alone = LocaleText(Locale, ALTMON_1 + I);
    if (!Alone.empty() && Alone != Long) {
      FS.GenitiveMonthNames[I] = Long;
      Long = Alone;
    }
#endif
    if (!Long.empty()) FS.LongMonthNames[I] = Long;
    if (!Short.empty()) FS.ShortMonthNames[I] = Short;
  }
  for (int I = 0; I < 7; ++I) {
    const String Long = LocaleText(Locale, DAY_1 + I);
    const String Short = LocaleText(Locale, ABDAY_1 + I);
    if (!Long.empty()) FS.LongDayNames[I] = Long;
    if (!Short.empty()) FS.ShortDayNames[I] = Short;
  }
}

void ReadLocale(locale_t Locale, TFormatSettings& FS) {
  const String Radix = LocaleText(Locale, RADIXCHAR);
  if (Radix.size() == 1) FS.DecimalSeparator = Radix[0];
  const String Thousands = LocaleText(Locale, THOUSEP);
  if (Thousands.size() == 1 && Thousands[0] != FS.DecimalSeparator) FS.ThousandSeparator = Thousands[0];
  else if (FS.DecimalSeparator == u',') FS.ThousandSeparator = u'\u00A0';
  if (FS.DecimalSeparator == u',') FS.ListSeparator = u';';
  ReadDateTimeFormats(Locale, FS);
  ReadNames(Locale, FS);
  ReadCurrency(Locale, FS);
}

}  // namespace

TFormatSettings TFormatSettings::Invariant() {
  TFormatSettings FS;
  FS.ShortMonthNames = Names({u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug",
                              u"Sep", u"Oct", u"Nov", u"Dec"});
  FS.LongMonthNames = Names({u"January", u"February", u"March", u"April", u"May", u"June",
                             u"July", u"August", u"September", u"October", u"November",
                             u"December"});
  FS.ShortDayNames = Names({u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"});
  FS.LongDayNames = Names({u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday",
                           u"Friday", u"Saturday"});
  return FS;
}

TFormatSettings TFormatSettings::Russian() {
  TFormatSettings FS = Invariant();
  FS.CurrencyFormat = 3;   // "1 ₽"
  FS.NegCurrFormat = 8;    // "-1 ₽"
  FS.ThousandSeparator = u'\u00A0';
  FS.DecimalSeparator = u',';
  FS.CurrencyDecimals = 2;
  FS.DateSeparator = u'.';
  FS.TimeSeparator = u':';
  FS.ListSeparator = u';';
  FS.CurrencyString = u"₽";
  FS.ShortDateFormat = u"dd.MM.yyyy";
  FS.LongDateFormat = u"d MMMM yyyy 'г.'";
  FS.TimeAMString = u"AM";
  FS.TimePMString = u"PM";
  FS.ShortTimeFormat = u"h:mm";
  FS.LongTimeFormat = u"h:mm:ss";
  FS.ShortMonthNames = Names({u"янв", u"фев", u"мар", u"апр", u"май", u"июн", u"июл", u"авг",
                              u"сен", u"окт", u"ноя", u"дек"});
  FS.LongMonthNames = Names({u"Январь", u"Февраль", u"Март", u"Апрель", u"Май", u"Июнь",
                             u"Июль", u"Август", u"Сентябрь", u"Октябрь", u"Ноябрь",
                             u"Декабрь"});
  FS.GenitiveMonthNames = Names({u"января", u"февраля", u"марта", u"апреля", u"мая", u"июня",
                                 u"июля", u"августа", u"сентября", u"октября", u"ноября",
                                 u"декабря"});
  FS.ShortDayNames = Names({u"Вс", u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб"});
  FS.LongDayNames = Names({u"воскресенье", u"понедельник", u"вторник", u"среда", u"четверг",
                           u"пятница", u"суббота"});
  FS.TwoDigitYearCenturyWindow = 50;
  return FS;
}

TFormatSettings TFormatSettings::FromLocale() {
  TFormatSettings FS = Invariant();
  // newlocale reads the environment without touching the process's C locale.
  locale_t Locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
  if (!Locale) return FS;
  ReadLocale(Locale, FS);
  freelocale(Locale);
  return FS;
}

TFormatSettings FormatSettings = TFormatSettings::FromLocale();

TFormatSettingsScope::TFormatSettingsScope(const TFormatSettings& Settings)
    : FSaved(FormatSettings) {
  FormatSettings = Settings;
}

TFormatSettingsScope::~TFormatSettingsScope() { FormatSettings = FSaved; }
