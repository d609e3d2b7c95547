// MonthCalendarZk.h - the month view of a calendar as plain logic: the selected date, the month
// on show, the 6 x 7 grid of days, the layout of title, weekday row and days in a client rect,
// hit testing with the month-calendar codes, and the navigation keys.
#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Types.h"

// Hit-test codes as the platform's month-calendar control gives them.
enum : unsigned {
  MCHT_NOWHERE = 0x00000000,
  MCHT_TITLE = 0x00010000,
  MCHT_CALENDAR = 0x00020000,
  MCHT_NEXT = 0x01000000,
  MCHT_PREV = 0x02000000,
  MCHT_TITLEBKGND = MCHT_TITLE,
  MCHT_TITLEBTNNEXT = MCHT_TITLE | MCHT_NEXT | 0x0003,
  MCHT_TITLEBTNPREV = MCHT_TITLE | MCHT_PREV | 0x0003,
  MCHT_CALENDARBK = MCHT_CALENDAR,
  MCHT_CALENDARDATE = MCHT_CALENDAR | 0x0001,
  MCHT_CALENDARDATENEXT = MCHT_CALENDARDATE | MCHT_NEXT,
  MCHT_CALENDARDATEPREV = MCHT_CALENDARDATE | MCHT_PREV,
  MCHT_CALENDARDAY = MCHT_CALENDAR | 0x0002
};

// Views of the calendar; only the month view is built here.
enum TMonthCalendarView { mcvMonth = 0, mcvYear = 1, mcvDecade = 2, mcvCentury = 3 };

struct TMonthCalendarHit {
  unsigned Code = MCHT_NOWHERE;
  TDateTime Date = 0;   // the day under the point for the date codes
};

class TMonthCalendarModelZk {
public:
  static constexpr int Rows = 6;
  static constexpr int Cols = 7;

  // Today's date, shown from Monday (the Russian week).
  TMonthCalendarModelZk();

  TDateTime Date() const { return FDate; }
  // Selects the day of Value (its time dropped) and shows its month; outside years 1..9999
  // nothing changes and the answer is false.
  bool SetDate(TDateTime Value);
  Word ShownYear() const { return FYear; }
  Word ShownMonth() const { return FMonth; }
  // Shows the month Delta months away; the selected day moves with it, clipped to the month's
  // length (31 January plus one month is the last of February).
  void ScrollMonths(int Delta);

  // 1 = Sunday ... 7 = Saturday, as DayOfWeek counts.
  Word FirstDayOfWeek() const { return FFirstDayOfWeek; }
  void SetFirstDayOfWeek(Word Value);
  // The day of grid cell (Row, Col): the grid starts on the week's first day on or before the
  // 1st of the shown month.
  TDateTime DayAt(int Row, int Col) const;
  bool InShownMonth(TDateTime Day) const;

  // A navigation key: arrows a day or a week, Page Up / Page Down a month (with Ctrl a year),
  // Home / End the first / last day of the month. False for any other key.
  bool KeyDown(Word Key, bool Ctrl);
  // One wheel notch: a day forward (down) or back (up).
  void Wheel(bool Down) { SetDate(IncDay(FDate, Down ? 1 : -1)); }

  // Layout in a client rect of Width x Height with a line height LineHeight: the title line
  // (with the buttons at its two ends), the weekday line, then 6 rows of days.
  void SetLayout(TRect Client, int LineHeight);
  TRect TitleRect() const;
  TRect PrevButtonRect() const;
  TRect NextButtonRect() const;
  TRect WeekdayRect() const;
  TRect CellRect(int Row, int Col) const;
  // The smallest size for LineHeight and a widest day-number width CellWidth.
  static TSize MinSize(int LineHeight, int CellWidth);

  TMonthCalendarHit HitTest(TPoint P) const;
  // A press in the month view: the title buttons scroll a month, a day selects it (a day of the
  // neighbouring month shows that month). Other places change nothing.
  void Press(TPoint P);

private:
  TDateTime FDate = 0;
  Word FYear = 1, FMonth = 1;
  Word FFirstDayOfWeek = 2;
  TRect FClient{};
  int FLine = 16;
};

// Whether a release with hit code Hit ends the choice: a day (or the calendar area), not the
// weekday line nor a title button, after a press that began in the month view.
bool MonthCalendarReleaseAccepts(unsigned Hit, int DownView);
