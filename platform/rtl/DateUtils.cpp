// DateUtils.cpp - TDateTime encoding, decoding, calendar arithmetic and the clock.
#include "platform/rtl/DateUtils.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <mutex>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Math.h"

namespace {

constexpr int kUnixEpochDay = 25569;  // TDateTime of 1970-01-01

constexpr Word kDaysBeforeMonth[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// Days since 1970-01-01 to the proleptic Gregorian date (H. Hinnant's civil_from_days).
void CivilFromDays(Int64 Z, int& Year, int& Month, int& Day) {
  Z += 719468;
  const Int64 Era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const Int64 DayOfEra = Z - Era * 146097;
  const Int64 YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
  const Int64 DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
  const Int64 MP = (5 * DayOfYear + 2) / 153;
  Day = static_cast<int>(DayOfYear - (153 * MP + 2) / 5 + 1);
  Month = static_cast<int>(MP < 10 ? MP + 3 : MP - 9);
  Year = static_cast<int>(YearOfEra + Era * 400 + (Month <= 2));
}

std::mutex& ClockMutex() {
  static std::mutex Mutex;
  return Mutex;
}

TClockFunction& ClockOverride() {
  static TClockFunction Clock;
  return Clock;
}

TDateTime SystemNow() {
  timespec Now{};
  clock_gettime(CLOCK_REALTIME, &Now);
  std::tm Local{};
  localtime_r(&Now.tv_sec, &Local);
  const TDateTime Day = EncodeDate(static_cast<Word>(Local.tm_year + 1900),
                                   static_cast<Word>(Local.tm_mon + 1),
                                   static_cast<Word>(Local.tm_mday));
  const Word Seconds = static_cast<Word>(Local.tm_sec > 59 ? 59 : Local.tm_sec);  // leap second
  return Day + EncodeTime(static_cast<Word>(Local.tm_hour), static_cast<Word>(Local.tm_min),
                          Seconds, static_cast<Word>(Now.tv_nsec / 1000000));
}

}  // namespace

// ---- Calendar ----------------------------------------------------------------------------

bool IsLeapYear(Word Year) {
  return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

Word DaysInAMonth(Word Year, Word Month) {
  if (Month < 1 || Month > 12) return 0;
  const int Leap = IsLeapYear(Year) ? 1 : 0;
  return kDaysBeforeMonth[Leap][Month] - kDaysBeforeMonth[Leap][Month - 1];
}

// ---- Encoding ----------------------------------------------------------------------------

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Result) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
      Day > DaysInAMonth(Year, Month))
    return false;
  const Int64 I = Year - 1;
  const Int64 DayOfYear = kDaysBeforeMonth[IsLeapYear(Year) ? 1 : 0][Month - 1] + Day;
  Result = static_cast<TDateTime>(I * 365 + I / 4 - I / 100 + I / 400 + DayOfYear - DateDelta);
  return true;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Result) {
  if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
  Result = static_cast<TDateTime>(((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
  TDateTime Result = 0;
  if (!TryEncodeDate(Year, Month, Day, Result)) throw EConvertError(u"Invalid argument to date encode");
  return Result;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
  TDateTime Result = 0;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, Result))
    throw EConvertError(u"Invalid argument to time encode");
  return Result;
}

TDateTime ComposeDateTime(TDateTime Date, TDateTime Time) {
  return Date < 0 ? Date - std::fabs(Time) : Date + std::fabs(Time);
}

TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec,
                         Word MSec) {
  return ComposeDateTime(EncodeDate(Year, Month, Day), EncodeTime(Hour, Min, Sec, MSec));
}

// ---- Time stamps and decoding ------------------------------------------------------------

TTimeStamp DateTimeToTimeStamp(TDateTime Value) {
  const Int64 MSecs = Round(static_cast<Extended>(Value) * MSecsPerDay);
  Int64 Days = MSecs / MSecsPerDay;  // toward zero: the whole part keeps its sign
  TTimeStamp Stamp;
  Stamp.Date = static_cast<Integer>(DateDelta + Days);
  Stamp.Time = static_cast<Integer>((MSecs < 0 ? -MSecs : MSecs) % MSecsPerDay);
  return Stamp;
}

TDateTime TimeStampToDateTime(const TTimeStamp& Value) {
  if (Value.Time < 0 || Value.Time >= MSecsPerDay || Value.Date <= 0)
    throw EConvertError(u"Invalid argument to date encode");
  return ComposeDateTime(Value.Date - DateDelta, static_cast<TDateTime>(Value.Time) / MSecsPerDay);
}

Extended TimeStampToMSecs(const TTimeStamp& Value) {
  return static_cast<Extended>(Value.Date) * MSecsPerDay + Value.Time;
}

TTimeStamp MSecsToTimeStamp(Extended MSecs) {
  TTimeStamp Stamp;
  const Int64 Whole = Trunc(MSecs);
  Stamp.Date = static_cast<Integer>(Whole / MSecsPerDay);
  Stamp.Time = static_cast<Integer>(Whole % MSecsPerDay);
  return Stamp;
}

bool DecodeDateFully(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& DOW) {
  const TTimeStamp Stamp = DateTimeToTimeStamp(Value);
  if (Stamp.Date <= 0) {
    Year = Month = Day = DOW = 0;
    return false;
  }
  DOW = static_cast<Word>(Stamp.Date % 7 + 1);
  int Y = 0, M = 0, D = 0;
  CivilFromDays(static_cast<Int64>(Stamp.Date) - DateDelta - kUnixEpochDay, Y, M, D);
  Year = static_cast<Word>(Y);
  Month = static_cast<Word>(M);
  Day = static_cast<Word>(D);
  return IsLeapYear(Year);
}

void DecodeDate(TDateTime Value, Word& Year, Word& Month, Word& Day) {
  Word DOW = 0;
  DecodeDateFully(Value, Year, Month, Day, DOW);
}

void DecodeTime(TDateTime Value, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
  Integer MSecs = DateTimeToTimeStamp(Value).Time;
  Hour = static_cast<Word>(MSecs / 3600000);
  MSecs %= 3600000;
  Min = static_cast<Word>(MSecs / 60000);
  MSecs %= 60000;
  Sec = static_cast<Word>(MSecs / 1000);
  MSec = static_cast<Word>(MSecs % 1000);
}

void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min,
                    Word& Sec, Word& MSec) {
  DecodeDate(Value, Year, Month, Day);
  DecodeTime(Value, Hour, Min, Sec, MSec);
}

// ---- Calendar arithmetic -----------------------------------------------------------------

Word DaysInMonth(TDateTime Value) {
  Word Y, M, D;
  DecodeDate(Value, Y, M, D);
  return DaysInAMonth(Y, M);
}

Word DayOfWeek(TDateTime Value) { return static_cast<Word>(DateTimeToTimeStamp(Value).Date % 7 + 1); }

TDateTime DateOf(TDateTime Value) {
  return static_cast<TDateTime>(DateTimeToTimeStamp(Value).Date - DateDelta);
}

TDateTime TimeOf(TDateTime Value) {
  return static_cast<TDateTime>(DateTimeToTimeStamp(Value).Time) / MSecsPerDay;
}

TDateTime IncMonth(TDateTime Value, int NumberOfMonths) {
  Word Y, M, D;
  DecodeDate(Value, Y, M, D);
  const Int64 Months = static_cast<Int64>(Y) * 12 + (M - 1) + NumberOfMonths;
  if (Months < 12 || Months >= 10000 * 12) throw EConvertError(u"Invalid argument to date encode");
  const Word NewYear = static_cast<Word>(Months / 12);
  const Word NewMonth = static_cast<Word>(Months % 12 + 1);
  const Word Days = DaysInAMonth(NewYear, NewMonth);
  return ComposeDateTime(EncodeDate(NewYear, NewMonth, D > Days ? Days : D), TimeOf(Value));
}

TDateTime IncYear(TDateTime Value, int NumberOfYears) { return IncMonth(Value, NumberOfYears * 12); }

TDateTime IncDay(TDateTime Value, int NumberOfDays) {
  return ComposeDateTime(DateOf(Value) + NumberOfDays, TimeOf(Value));
}

Word YearOf(TDateTime Value) { Word Y, M, D; DecodeDate(Value, Y, M, D); return Y; }
Word MonthOf(TDateTime Value) { Word Y, M, D; DecodeDate(Value, Y, M, D); return M; }
Word DayOf(TDateTime Value) { Word Y, M, D; DecodeDate(Value, Y, M, D); return D; }
Word HourOf(TDateTime Value) { Word H, N, S, Z; DecodeTime(Value, H, N, S, Z); return H; }
Word MinuteOf(TDateTime Value) { Word H, N, S, Z; DecodeTime(Value, H, N, S, Z); return N; }
Word SecondOf(TDateTime Value) { Word H, N, S, Z; DecodeTime(Value, H, N, S, Z); return S; }
Word MilliSecondOf(TDateTime Value) { Word H, N, S, Z; DecodeTime(Value, H, N, S, Z); return Z; }

Word CurrentYear() { return YearOf(Now()); }

// ---- Clock -------------------------------------------------------------------------------

TDateTime Now() {
  {
    std::lock_guard<std::mutex> Lock(ClockMutex());
    if (ClockOverride()) return ClockOverride()();
  }
  return SystemNow();
}

TDateTime Date() { return DateOf(Now()); }

TDateTime Time() { return TimeOf(Now()); }

namespace {
std::function<Cardinal()>& TickOverride() {
  static std::function<Cardinal()> Clock;
  return Clock;
}
}  // namespace

void SetTickCountForTests(std::function<Cardinal()> Clock) { TickOverride() = std::move(Clock); }

Cardinal GetTickCount() {
  if (TickOverride()) return TickOverride()();
  const auto Elapsed = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<Cardinal>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Elapsed).count());
}

void SetClockForTests(TClockFunction Clock) {
  std::lock_guard<std::mutex> Lock(ClockMutex());
  ClockOverride() = std::move(Clock);
}

void SetNowForTests(TDateTime Value) {
  SetClockForTests([Value] { return Value; });
}
