// MonthCalendarZk.cpp - the month view's dates, layout, hit test and keys.
#include "gridlib/toolkit/MonthCalendarZk.h"

#include <cmath>

#include "platform/controls/Messages.h"

namespace {

constexpr TDateTime MinDate = -693593;   // 0001-01-01
constexpr TDateTime MaxDate = 2958465;   // 9999-12-31

int TitleHeight(int Line) { return Line + 4; }

}  // namespace

TMonthCalendarModelZk::TMonthCalendarModelZk() { SetDate(::Date()); }

bool TMonthCalendarModelZk::SetDate(TDateTime Value) {
  if (!std::isfinite(Value)) return false;
  const TDateTime Day = std::floor(Value);
  if (Day < MinDate || Day > MaxDate) return false;
  FDate = Day;
  Word D;
  DecodeDate(FDate, FYear, FMonth, D);
  return true;
}

void TMonthCalendarModelZk::ScrollMonths(int Delta) {
  const int Index = FYear * 12 + (FMonth - 1) + Delta;
  if (Index < 12 || Index > 9999 * 12 + 11) return;
  SetDate(IncMonth(FDate, Delta));
}

void TMonthCalendarModelZk::SetFirstDayOfWeek(Word Value) {
  if (Value >= 1 && Value <= 7) FFirstDayOfWeek = Value;
}

TDateTime TMonthCalendarModelZk::DayAt(int Row, int Col) const {
  const TDateTime First = EncodeDate(FYear, FMonth, 1);
  const int Offset = (DayOfWeek(First) - FFirstDayOfWeek + 7) % 7;
  return First - Offset + Row * Cols + Col;
}

bool TMonthCalendarModelZk::InShownMonth(TDateTime Day) const {
  Word Y, M, D;
  DecodeDate(Day, Y, M, D);
  return Y == FYear && M == FMonth;
}

bool TMonthCalendarModelZk::KeyDown(Word Key, bool Ctrl) {
  switch (Key) {
    case VK_LEFT: SetDate(FDate - 1); return true;
    case VK_RIGHT: SetDate(FDate + 1); return true;
    case VK_UP: SetDate(FDate - 7); return true;
    case VK_DOWN: SetDate(FDate + 7); return true;
    case VK_PRIOR: ScrollMonths(Ctrl ? -12 : -1); return true;
    case VK_NEXT: ScrollMonths(Ctrl ? 12 : 1); return true;
    case VK_HOME: SetDate(EncodeDate(FYear, FMonth, 1)); return true;
    case VK_END: SetDate(EncodeDate(FYear, FMonth, DaysInAMonth(FYear, FMonth))); return true;
    default: return false;
  }
}

void TMonthCalendarModelZk::SetLayout(TRect Client, int LineHeight) {
  FClient = Client;
  FLine = LineHeight > 0 ? LineHeight : 1;
}

TRect TMonthCalendarModelZk::TitleRect() const {
  return Rect(FClient.Left, FClient.Top, FClient.Right, FClient.Top + TitleHeight(FLine));
}

TRect TMonthCalendarModelZk::PrevButtonRect() const {
  const TRect T = TitleRect();
  return Rect(T.Left, T.Top, T.Left + T.Height(), T.Bottom);
}

TRect TMonthCalendarModelZk::NextButtonRect() const {
  const TRect T = TitleRect();
  return Rect(T.Right - T.Height(), T.Top, T.Right, T.Bottom);
}

TRect TMonthCalendarModelZk::WeekdayRect() const {
  const int Top = TitleRect().Bottom;
  return Rect(FClient.Left, Top, FClient.Right, Top + FLine);
}

TRect TMonthCalendarModelZk::CellRect(int Row, int Col) const {
  const int Top = WeekdayRect().Bottom;
  const int W = FClient.Width(), H = FClient.Bottom - Top;
  return Rect(FClient.Left + Col * W / Cols, Top + Row * H / Rows,
              FClient.Left + (Col + 1) * W / Cols, Top + (Row + 1) * H / Rows);
}

TSize TMonthCalendarModelZk::MinSize(int LineHeight, int CellWidth) {
  return {Cols * CellWidth, TitleHeight(LineHeight) + LineHeight + Rows * LineHeight};
}

TMonthCalendarHit TMonthCalendarModelZk::HitTest(TPoint P) const {
  TMonthCalendarHit Hit;
  if (!FClient.Contains(P)) return Hit;
  if (PrevButtonRect().Contains(P)) {
    Hit.Code = MCHT_TITLEBTNPREV;
  } else if (NextButtonRect().Contains(P)) {
    Hit.Code = MCHT_TITLEBTNNEXT;
  } else if (TitleRect().Contains(P)) {
    Hit.Code = MCHT_TITLEBKGND;
  } else if (WeekdayRect().Contains(P)) {
    Hit.Code = MCHT_CALENDARDAY;
  } else {
    Hit.Code = MCHT_CALENDARBK;
    for (int R = 0; R < Rows; ++R)
      for (int C = 0; C < Cols; ++C)
        if (CellRect(R, C).Contains(P)) {
          Hit.Date = DayAt(R, C);
          const TDateTime First = EncodeDate(FYear, FMonth, 1);
          Hit.Code = Hit.Date < First           ? MCHT_CALENDARDATEPREV
                     : InShownMonth(Hit.Date) ? MCHT_CALENDARDATE
                                              : MCHT_CALENDARDATENEXT;
        }
  }
  return Hit;
}

void TMonthCalendarModelZk::Press(TPoint P) {
  const TMonthCalendarHit Hit = HitTest(P);
  if (Hit.Code == MCHT_TITLEBTNPREV) ScrollMonths(-1);
  else if (Hit.Code == MCHT_TITLEBTNNEXT) ScrollMonths(1);
  else if ((Hit.Code & MCHT_CALENDARDATE) == MCHT_CALENDARDATE) SetDate(Hit.Date);
}

bool MonthCalendarReleaseAccepts(unsigned Hit, int DownView) {
  const bool InCalendar = (Hit & MCHT_CALENDAR) == MCHT_CALENDAR ||
                          (Hit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE;
  return InCalendar && Hit != MCHT_CALENDARDAY && Hit != MCHT_TITLEBTNNEXT &&
         Hit != MCHT_TITLEBTNPREV && DownView == mcvMonth;
}
