// Tests of TDateTime encoding and calendar arithmetic, the test clock, FormatDateTime and the
// StrToDate family in the Russian settings.
#include "platform/rtl/DateUtils.h"

#include <cmath>

#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"

namespace {

const TFormatSettings& Ru() {
  static const TFormatSettings Settings = TFormatSettings::Russian();
  return Settings;
}

// Fixes the clock at 2024-05-06 07:08:09.010 for one test.
class FixedClock : public ::testing::Test {
protected:
  void SetUp() override { SetNowForTests(EncodeDateTime(2024, 5, 6, 7, 8, 9, 10)); }
  void TearDown() override { SetClockForTests({}); }
};

struct TYmd { Word Y, M, D; };

TYmd Ymd(TDateTime Value) {
  TYmd R{};
  DecodeDate(Value, R.Y, R.M, R.D);
  return R;
}

bool operator==(const TYmd& A, const TYmd& B) { return A.Y == B.Y && A.M == B.M && A.D == B.D; }

void PrintTo(const TYmd& V, std::ostream* Os) { *Os << V.Y << "-" << V.M << "-" << V.D; }

}  // namespace

TEST(DateUtils, EncodeCountsDaysFromTheEpoch) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);  // the fraction keeps the sign
  for (auto [Y, M, D] : {TYmd{2023, 2, 29}, TYmd{2024, 13, 1}, TYmd{0, 1, 1}, TYmd{2024, 4, 31}}) {
    try {
      EncodeDate(Y, M, D);
      ADD_FAILURE() << Y << "-" << M << "-" << D;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), u"Invalid argument to date encode");
    }
  }
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(1, 60, 0, 0), EConvertError);
}

TEST(DateUtils, DecodeRoundsToTheMillisecondAndHandlesNegativeDates) {
  Word H, N, S, Z;
  EXPECT_EQ(Ymd(-1.25), (TYmd{1899, 12, 29}));
  DecodeTime(-1.25, H, N, S, Z);
  EXPECT_EQ(H, 6);
  const TDateTime AlmostMidnight = EncodeDate(2024, 12, 31) + 0.9999999999;
  EXPECT_EQ(Ymd(AlmostMidnight), (TYmd{2025, 1, 1}));
  DecodeTime(AlmostMidnight, H, N, S, Z);
  EXPECT_EQ(H * 1000 + N + S + Z, 0);
  const TDateTime V = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
  DecodeTime(V, H, N, S, Z);
  EXPECT_EQ((std::vector<int>{H, N, S, Z}), (std::vector<int>{14, 7, 9, 45}));
  for (int Day = -693593; Day < 2958466; Day += 997) {  // encode/decode agree across the range
    const TYmd D = Ymd(Day);
    ASSERT_EQ(EncodeDate(D.Y, D.M, D.D), Day);
  }
}

TEST(DateUtils, CalendarHelpers) {
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(EncodeDate(2024, 4, 10)), 30);
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);  // Monday; 1 is Sunday
  EXPECT_EQ(DayOfWeek(0), 7);                      // 1899-12-30 was a Saturday
  EXPECT_EQ(DayOfWeek(-1.25), 6);
}

TEST(DateUtils, IncMonthClipsTheDayAndKeepsTheTime) {
  struct Case { TYmd From; int Months; TYmd To; } Cases[] = {
      {{2024, 1, 31}, 1, {2024, 2, 29}},
      {{2023, 1, 31}, 1, {2023, 2, 28}},
      {{2024, 1, 31}, 13, {2025, 2, 28}},
      {{2024, 3, 15}, -3, {2023, 12, 15}},
      {{2024, 3, 31}, -1, {2024, 2, 29}},
      {{2024, 5, 6}, -1200, {1924, 5, 6}},
  };
  for (const auto& C : Cases) {
    const TDateTime From = EncodeDate(C.From.Y, C.From.M, C.From.D) + 0.75;
    const TDateTime To = IncMonth(From, C.Months);
    EXPECT_EQ(Ymd(To), C.To) << C.Months;
    EXPECT_EQ(TimeOf(To), 0.75);
  }
  EXPECT_EQ(IncMonth(-1.25, 1), EncodeDateTime(1900, 1, 29, 6, 0, 0, 0));
  EXPECT_EQ(IncDay(-1.25, 2), EncodeDateTime(1899, 12, 31, 6, 0, 0, 0));
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
}

TEST_F(FixedClock, NowDateAndTimeReadTheTestClock) {
  EXPECT_EQ(Now(), EncodeDateTime(2024, 5, 6, 7, 8, 9, 10));
  EXPECT_EQ(Date(), EncodeDate(2024, 5, 6));
  EXPECT_NEAR(Time(), EncodeTime(7, 8, 9, 10), 1e-12);
  EXPECT_EQ(CurrentYear(), 2024);
}

TEST(DateUtils, SystemClockIsBackAfterTheTest) {
  SetClockForTests({});
  EXPECT_GE(YearOf(Now()), 2024);
  EXPECT_EQ(Frac(Date()), 0);
}

TEST(DateUtils, TimeStamps) {
  const TTimeStamp Stamp = DateTimeToTimeStamp(EncodeDateTime(1899, 12, 30, 12, 0, 0, 0));
  EXPECT_EQ(Stamp.Date, DateDelta);
  EXPECT_EQ(Stamp.Time, MSecsPerDay / 2);
  EXPECT_EQ(TimeStampToDateTime(Stamp), 0.5);
  EXPECT_EQ(TimeStampToDateTime(MSecsToTimeStamp(TimeStampToMSecs(Stamp))), 0.5);
  EXPECT_THROW(TimeStampToDateTime(TTimeStamp{-1, 5}), EConvertError);
}

TEST(FormatDateTime, SpecifiersInRussianSettings) {
  const TDateTime V = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);  // a Tuesday
  struct Case { const char16_t* Fmt; const char* Out; } Cases[] = {
      {u"dd.mm.yyyy", "05.03.2024"},
      {u"d/m/yy", "5.3.24"},              // '/' is the settings' date separator
      {u"yyyy-mm-dd", "2024-03-05"},
      {u"hh:nn:ss.zzz", "14:07:09.045"},
      {u"h:mm", "14:07"},                 // m right after an hour means minutes
      {u"hh:mm am/pm", "02:07 pm"},
      {u"h:mm AM/PM", "2:07 PM"},
      {u"h:mm AMPM", "2:07 PM"},
      {u"h a/p", "2 p"},
      {u"ddd dddd", "Вт вторник"},
      {u"mmm mmmm", "мар Март"},
      {u"c", "05.03.2024 14:07:09"},
      {u"", "05.03.2024 14:07:09"},
      {u"ddddd", "05.03.2024"},
      {u"dddddd", "5 марта 2024 г."},    // next to the day's number the month is genitive
      {u"d mmmm", "5 марта"},
      {u"mmmm yyyy", "Март 2024"},
      {u"dddd, mmmm", "вторник, Март"},    // a weekday is not the day's number
      {u"mmmm 'd'", "Март d"},
      {u"t|tt", "14:07|14:07:09"},
      {u"'Дата:' dd", "Дата: 05"},
      {u"\"h\"h", "h14"},
      {u"z", "45"},
  };
  for (const auto& C : Cases) EXPECT_EQ(ToUtf8(FormatDateTime(C.Fmt, V, Ru())), C.Out) << ToUtf8(C.Fmt);
  const TDateTime Midnight = EncodeDate(2024, 3, 5);
  EXPECT_EQ(ToUtf8(FormatDateTime(u"c", Midnight, Ru())), "05.03.2024");
  EXPECT_EQ(ToUtf8(FormatDateTime(u"hh:nn am/pm", Midnight, Ru())), "12:00 am");
  EXPECT_EQ(ToUtf8(DateTimeToStr(V, Ru())), "05.03.2024 14:07:09");
  EXPECT_EQ(ToUtf8(DateToStr(V, Ru())), "05.03.2024");
  EXPECT_EQ(ToUtf8(TimeToStr(V, Ru())), "14:07:09");
}

TEST_F(FixedClock, StrToDateReadsTheShortDateOrder) {
  struct Case { const char16_t* In; TYmd Out; } Good[] = {
      {u"05.03.2024", {2024, 3, 5}},
      {u" 5.3.2024 ", {2024, 3, 5}},
      {u"5.3.24", {2024, 3, 5}},          // century window from the clock's year
      {u"5.3.80", {1980, 3, 5}},
      {u"5.3", {2024, 3, 5}},             // this year
      {u"29.02.2024", {2024, 2, 29}},
  };
  for (const auto& C : Good) EXPECT_EQ(Ymd(StrToDate(C.In, Ru())), C.Out) << ToUtf8(C.In);
  for (const char16_t* Bad : {u"31.02.2024", u"2024-03-05", u"5", u"", u"05.03.2024 x", u"a.b.c"}) {
    TDateTime Value = 0;
    EXPECT_FALSE(TryStrToDate(Bad, Value, Ru())) << ToUtf8(Bad);
  }
  try {
    StrToDate(u"31.02.2024", Ru());
    ADD_FAILURE();
  } catch (const EConvertError& E) {
    EXPECT_EQ(ToUtf8(E.Message()), "'31.02.2024' is not a valid date");
  }
  TFormatSettings Ymd = Ru();
  Ymd.ShortDateFormat = u"yyyy-MM-dd";
  Ymd.DateSeparator = u'-';
  EXPECT_EQ(StrToDate(u"2024-03-05", Ymd), EncodeDate(2024, 3, 5));
}

TEST(StrToTime, HoursMinutesSecondsAndAmPm) {
  struct Case { const char16_t* In; TDateTime Out; } Good[] = {
      {u"14:07", EncodeTime(14, 7, 0, 0)},
      {u"14:07:09", EncodeTime(14, 7, 9, 0)},
      {u"14:07:09,5", EncodeTime(14, 7, 9, 5)},
      {u"2:07 PM", EncodeTime(14, 7, 0, 0)},
      {u"12:00 am", 0},
      {u"3 pm", EncodeTime(15, 0, 0, 0)},
  };
  for (const auto& C : Good) EXPECT_EQ(StrToTime(C.In, Ru()), C.Out) << ToUtf8(C.In);
  for (const char16_t* Bad : {u"25:00", u"14", u"14:60", u"13:00 PM", u"x", u"14:07:"}) {
    TDateTime Value = 0;
    EXPECT_FALSE(TryStrToTime(Bad, Value, Ru())) << ToUtf8(Bad);
  }
  EXPECT_THROW(StrToTime(u"25:00", Ru()), EConvertError);
}

TEST(StrToDateTime, DateWithOptionalTimeAndRoundTrip) {
  EXPECT_EQ(StrToDateTime(u"05.03.2024 14:07:09", Ru()), EncodeDateTime(2024, 3, 5, 14, 7, 9, 0));
  EXPECT_EQ(StrToDateTime(u"05.03.2024", Ru()), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDateTime(u"14:07", Ru()), EncodeTime(14, 7, 0, 0));
  EXPECT_EQ(StrToDateTime(u"29.12.1899 06:00", Ru()), -1.25);
  try {
    StrToDateTime(u"05.03.2024 x", Ru());
    ADD_FAILURE();
  } catch (const EConvertError& E) {
    EXPECT_EQ(ToUtf8(E.Message()), "'05.03.2024 x' is not a valid date and time");
  }
  const TDateTime V = EncodeDateTime(1987, 11, 23, 9, 41, 7, 0);
  EXPECT_EQ(StrToDateTime(DateTimeToStr(V, Ru()), Ru()), V);
}
