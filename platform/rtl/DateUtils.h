// DateUtils.h - TDateTime: encoding, decoding and calendar arithmetic, and the clock.
//
// A TDateTime counts days since 1899-12-30 (1900-01-01 is 2) with the time of day as the
// fraction. Before the epoch the whole part is negative and the fraction still counts forward
// from midnight, with the whole part's sign: -1.25 is 1899-12-29 06:00. Decoding rounds to the
// nearest millisecond first. Now/Date/Time read a clock that tests can replace.
#pragma once

#include <functional>

#include "platform/rtl/Types.h"

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;
// Days from 0001-01-01 (day 1) to 1899-12-30 (TDateTime 0).
constexpr int DateDelta = 693594;

// Time = milliseconds since midnight; Date = days since 0001-01-01, plus one.
struct TTimeStamp {
  Integer Time = 0;
  Integer Date = 0;
};

// ---- Encoding and decoding --------------------------------------------------------------
// Invalid parts raise EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(Word Year, Word Month, Word Day);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec,
                         Word MSec);
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Result);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Result);
// Joins a date and a time of day, keeping the rule for dates before the epoch.
TDateTime ComposeDateTime(TDateTime Date, TDateTime Time);

void DecodeDate(TDateTime Value, Word& Year, Word& Month, Word& Day);
// As DecodeDate, also giving the day of the week (1 = Sunday); returns IsLeapYear(Year).
bool DecodeDateFully(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& DOW);
void DecodeTime(TDateTime Value, Word& Hour, Word& Min, Word& Sec, Word& MSec);
void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min,
                    Word& Sec, Word& MSec);

TTimeStamp DateTimeToTimeStamp(TDateTime Value);
// Raises EConvertError for a time stamp with a negative time or a date below 1.
TDateTime TimeStampToDateTime(const TTimeStamp& Value);
Extended TimeStampToMSecs(const TTimeStamp& Value);
TTimeStamp MSecsToTimeStamp(Extended MSecs);

// ---- Calendar ----------------------------------------------------------------------------
bool IsLeapYear(Word Year);
Word DaysInAMonth(Word Year, Word Month);
Word DaysInMonth(TDateTime Value);
// 1 = Sunday ... 7 = Saturday.
Word DayOfWeek(TDateTime Value);
// Adds months keeping the time of day; the day is clipped to the target month's length
// (IncMonth of 31 January is 28 or 29 February).
TDateTime IncMonth(TDateTime Value, int NumberOfMonths = 1);
TDateTime IncDay(TDateTime Value, int NumberOfDays = 1);
TDateTime IncYear(TDateTime Value, int NumberOfYears = 1);
Word YearOf(TDateTime Value);
Word MonthOf(TDateTime Value);
Word DayOf(TDateTime Value);
Word HourOf(TDateTime Value);
Word MinuteOf(TDateTime Value);
Word SecondOf(TDateTime Value);
Word MilliSecondOf(TDateTime Value);
// The date part (time 00:00) and the time part of a value.
TDateTime DateOf(TDateTime Value);
TDateTime TimeOf(TDateTime Value);
Word CurrentYear();

// ---- The clock ---------------------------------------------------------------------------
// Local date and time, to the millisecond.
TDateTime Now();
// Today at 00:00.
TDateTime Date();
// The time of day (fraction only).
TDateTime Time();
// Milliseconds of a monotonic clock, wrapping at 2^32.
Cardinal GetTickCount();

// ---- for tests ----
using TClockFunction = std::function<TDateTime()>;
// Replaces the clock behind Now/Date/Time; an empty function restores the system clock.
void SetClockForTests(TClockFunction Clock);
// Fixes the clock at one moment.
void SetNowForTests(TDateTime Value);
// Replaces the clock behind GetTickCount (the message loop's timers and double clicks follow
// it); an empty function restores the monotonic clock.
void SetTickCountForTests(std::function<Cardinal()> Clock);
