// MonthCalendarZkTest.cpp - the month view: the grid of days, the keys, presses and the release
// that ends the choice.
#include <gtest/gtest.h>

#include "gridlib/toolkit/MonthCalendarZk.h"
#include "platform/controls/Messages.h"

namespace {

TEST(MonthCalendarModel, GridStartsOnTheWeeksFirstDay) {
  TMonthCalendarModelZk M;
  M.SetDate(EncodeDate(2024, 3, 15));   // 1 March 2024 is a Friday
  EXPECT_EQ(M.DayAt(0, 0), EncodeDate(2024, 2, 26));   // Monday before
  EXPECT_EQ(M.DayAt(0, 4), EncodeDate(2024, 3, 1));
  M.SetFirstDayOfWeek(1);   // Sunday
  EXPECT_EQ(M.DayAt(0, 0), EncodeDate(2024, 2, 25));
  M.SetFirstDayOfWeek(6);   // Friday: the 1st opens the grid
  EXPECT_EQ(M.DayAt(0, 0), EncodeDate(2024, 3, 1));
  EXPECT_EQ(M.DayAt(5, 6), EncodeDate(2024, 4, 11));
}

TEST(MonthCalendarModel, KeysMoveTheSelection) {
  struct Row {
    const char* Name;
    TDateTime From;
    Word Key;
    bool Ctrl;
    TDateTime To;
  } Rows[] = {
      {"left over the month start", EncodeDate(2024, 3, 1), VK_LEFT, false, EncodeDate(2024, 2, 29)},
      {"right over the year end", EncodeDate(2023, 12, 31), VK_RIGHT, false, EncodeDate(2024, 1, 1)},
      {"up a week", EncodeDate(2024, 3, 5), VK_UP, false, EncodeDate(2024, 2, 27)},
      {"down a week", EncodeDate(2024, 3, 28), VK_DOWN, false, EncodeDate(2024, 4, 4)},
      {"page down clips the day", EncodeDate(2024, 1, 31), VK_NEXT, false, EncodeDate(2024, 2, 29)},
      {"page up", EncodeDate(2024, 3, 31), VK_PRIOR, false, EncodeDate(2024, 2, 29)},
      {"ctrl page down is a year", EncodeDate(2024, 2, 29), VK_NEXT, true, EncodeDate(2025, 2, 28)},
      {"home", EncodeDate(2024, 3, 17), VK_HOME, false, EncodeDate(2024, 3, 1)},
      {"end", EncodeDate(2024, 2, 10), VK_END, false, EncodeDate(2024, 2, 29)},
      {"left at the first day stays", EncodeDate(1, 1, 1), VK_LEFT, false, EncodeDate(1, 1, 1)},
      {"page down at the last month stays", EncodeDate(9999, 12, 5), VK_NEXT, false, EncodeDate(9999, 12, 5)},
  };
  for (const Row& R : Rows) {
    TMonthCalendarModelZk M;
    ASSERT_TRUE(M.SetDate(R.From)) << R.Name;
    EXPECT_TRUE(M.KeyDown(R.Key, R.Ctrl)) << R.Name;
    EXPECT_EQ(M.Date(), R.To) << R.Name;
    EXPECT_EQ(M.ShownMonth(), MonthOf(R.To)) << R.Name;
  }
  TMonthCalendarModelZk M;
  EXPECT_FALSE(M.KeyDown(VK_RETURN, false));
  EXPECT_FALSE(M.KeyDown('A', false));
}

TEST(MonthCalendarModel, SetDateDropsTheTimeAndRejectsOutOfRange) {
  TMonthCalendarModelZk M;
  ASSERT_TRUE(M.SetDate(EncodeDate(2024, 3, 15) + 0.75));
  EXPECT_EQ(M.Date(), EncodeDate(2024, 3, 15));
  EXPECT_FALSE(M.SetDate(1e9));
  EXPECT_FALSE(M.SetDate(-1e9));
  EXPECT_EQ(M.Date(), EncodeDate(2024, 3, 15));
  M.Wheel(true);
  EXPECT_EQ(M.Date(), EncodeDate(2024, 3, 16));
  M.Wheel(false);
  M.Wheel(false);
  EXPECT_EQ(M.Date(), EncodeDate(2024, 3, 14));
}

// A 7 x 8 line layout: title 0..20 (buttons 20 wide), weekdays 20..36, days from 36, 16 high.
class MonthCalendarLayout : public ::testing::Test {
protected:
  void SetUp() override {
    M.SetDate(EncodeDate(2024, 3, 15));
    M.SetLayout(Rect(0, 0, 140, 132), 16);
  }
  TMonthCalendarModelZk M;
};

TEST_F(MonthCalendarLayout, HitTestCodes) {
  EXPECT_EQ(M.HitTest({5, 5}).Code, unsigned(MCHT_TITLEBTNPREV));
  EXPECT_EQ(M.HitTest({135, 5}).Code, unsigned(MCHT_TITLEBTNNEXT));
  EXPECT_EQ(M.HitTest({70, 5}).Code, unsigned(MCHT_TITLEBKGND));
  EXPECT_EQ(M.HitTest({70, 25}).Code, unsigned(MCHT_CALENDARDAY));
  EXPECT_EQ(M.HitTest({5, 40}).Code, unsigned(MCHT_CALENDARDATEPREV));   // 26 February
  const TMonthCalendarHit Day = M.HitTest({4 * 20 + 5, 40});
  EXPECT_EQ(Day.Code, unsigned(MCHT_CALENDARDATE));
  EXPECT_EQ(Day.Date, EncodeDate(2024, 3, 1));
  EXPECT_EQ(M.HitTest({135, 130}).Code, unsigned(MCHT_CALENDARDATENEXT));   // 7 April
  EXPECT_EQ(M.HitTest({200, 40}).Code, unsigned(MCHT_NOWHERE));
}

TEST_F(MonthCalendarLayout, PressesScrollAndSelect) {
  M.Press({135, 5});
  EXPECT_EQ(M.Date(), EncodeDate(2024, 4, 15));
  M.Press({5, 5});
  M.Press({5, 5});
  EXPECT_EQ(M.Date(), EncodeDate(2024, 2, 15));
  M.Press({70, 25});   // the weekday line changes nothing
  EXPECT_EQ(M.Date(), EncodeDate(2024, 2, 15));
  M.Press({5, 40});    // 29 January in February's grid: January is shown
  EXPECT_EQ(M.Date(), EncodeDate(2024, 1, 29));
  EXPECT_EQ(M.ShownMonth(), 1);
}

TEST(MonthCalendarRelease, AcceptsOnlyDaysInTheMonthView) {
  struct Row {
    unsigned Hit;
    int View;
    bool Accepts;
  } Rows[] = {
      {MCHT_CALENDARDATE, mcvMonth, true},     {MCHT_CALENDARDATEPREV, mcvMonth, true},
      {MCHT_CALENDARDATENEXT, mcvMonth, true}, {MCHT_CALENDARBK, mcvMonth, true},
      {MCHT_CALENDARDAY, mcvMonth, false},     {MCHT_TITLEBTNNEXT, mcvMonth, false},
      {MCHT_TITLEBTNPREV, mcvMonth, false},    {MCHT_TITLEBKGND, mcvMonth, false},
      {MCHT_NOWHERE, mcvMonth, false},         {MCHT_CALENDARDATE, mcvYear, false},
      {MCHT_CALENDARDATE, mcvDecade, false},
  };
  for (const Row& R : Rows)
    EXPECT_EQ(MonthCalendarReleaseAccepts(R.Hit, R.View), R.Accepts) << std::hex << R.Hit << " " << R.View;
}

}  // namespace
