// DBCtrlsZkDateTimeTest.cpp - the date routines (two-digit years, the format compiler, the
// element template and stepping) and the date-time edit: typing, stepping, jumping between
// elements, validation completing from today, and the calendar.
#include "gridlib/toolkit/tests/DBCtrlsZkTestFixture.h"

#include "gridlib/toolkit/PopupMonthCalendarZk.h"
#include "platform/controls/Clipboard.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

namespace {

class DateTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    SetNowForTests(EncodeDate(2026, 5, 17) + EncodeTime(10, 0, 0, 0));
  }
  void TearDown() override {
    SetClockForTests(nullptr);
    EditorTest::TearDown();
  }
};

using DateRoutines = DateTest;

TEST_F(DateRoutines, TwoDigitYearsLandInTheWindow) {
  struct Row {
    int In, Out;
  };
  for (Row R : {Row{30, 2030}, Row{65, 2065}, Row{66, 1966}, Row{70, 1970}, Row{0, 2000},
                Row{99, 1999}, Row{150, 150}})
    EXPECT_EQ(ExpandTwoDigitYear(R.In), R.Out) << R.In;
}

TEST_F(DateRoutines, DefaultFormatsFollowTheLocalesDateOrder) {
  EXPECT_EQ(DefaultDateEditFormat(true), u"DD/MM/YYYY");
  EXPECT_EQ(DefaultDateEditFormat(false), u"DD/MM/YY");
  TFormatSettingsScope Invariant(TFormatSettings::Invariant());   // "M/d/yyyy"
  EXPECT_EQ(DefaultDateEditFormat(true), u"MM/DD/YYYY");
  EXPECT_EQ(NormalizeNumberText(u"1,234.5"), u"1234.5");
}

TEST_F(DateRoutines, FormatCompilerAndItsErrors) {
  TDateTimeElementsMaskPosZk P;
  EXPECT_EQ(ParseDateTimeEditFormat(u"DD/MM/YYYY", P), u"!99/99/9999;1; ");
  EXPECT_EQ(P.Year.Pos, 7);
  EXPECT_EQ(P.Year.Length, 4);
  EXPECT_FALSE(P.Hour.Present);
  EXPECT_EQ(ParseDateTimeEditFormat(u"HH\\h NN", P), u"!99h 99;1; ");
  EXPECT_EQ(P.Min.Pos, 5);
  EXPECT_EQ(ParseDateTimeEditFormat(u"\\a MM", P), u"!\\a 99;1; ");
  EXPECT_EQ(EditFormatToDisplayFormat(u"DD/MM/YYYY"), u"DD/MM/YYYY");
  EXPECT_EQ(EditFormatToDisplayFormat(u"HH\\h NN"), u"HH'h 'NN");
  EXPECT_EQ(EditFormatToElementTemplate(u"DD/MM/YYYY HH:NN:SS"), u"DD/MM/YYYY HH:NN:SS");
  EXPECT_EQ(EditFormatToElementTemplate(u"HH\\h-NN"), u"HH  NN");
  struct Bad {
    const char16_t* Format;
    const char16_t* Message;
  };
  for (Bad B : {Bad{u"DD/MM/YYY", u"Invalid datetime format element length: \"Y\""},
                Bad{u"DD/MM/DD", u"Duplicating datetime format element: \"D\""},
                Bad{u"DDD/MM/YYYY",
                    u"Element in EditFormat: \"DDD/MM/YYYY\" is too long. Pos: 3"}}) {
    try {
      ParseDateTimeEditFormat(B.Format, P);
      ADD_FAILURE() << ToUtf8(B.Format);
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), B.Message);
    }
  }
}

TEST_F(DateRoutines, StepsWrapAround) {
  struct Row {
    const char16_t* Text;
    const char16_t* Template;
    int Pos;
    bool Up;
    const char16_t* Want;
    int WantPos;
  };
  const Row Rows[] = {
      {u"  .01.2026", u"DD/MM/YYYY", 1, true, u"01.01.2026", 1},
      {u"31.12.2026", u"DD/MM/YYYY", 4, true, u"31.01.2026", 4},
      {u"01.12.2026", u"DD/MM/YYYY", 1, false, u"31.12.2026", 1},
      {u"12:59:00", u"HH:NN:SS", 4, true, u"12:00:00", 4},
      {u"12:59:00", u"HH:NN:SS", 3, true, u"12:00:00", 4},   // on the separator: the next one
      {u"01.01.99", u"DD/MM/YY", 7, true, u"01.01.00", 7},
      {u"01.01.00", u"DD/MM/YY", 7, false, u"01.01.99", 7},
      {u"01.01.0001", u"DD/MM/YYYY", 7, false, u"01.01.9999", 7},
      {u"", u"DD/MM/YYYY", 7, true, u"      0001", 7},   // a text shorter than its template
  };
  for (const Row& R : Rows) {
    int Pos = R.Pos, Len = 0;
    EXPECT_EQ(StepDateTimeElement(R.Text, R.Template, R.Up, Pos, Len), R.Want) << ToUtf8(R.Text);
    EXPECT_EQ(Pos, R.WantPos) << ToUtf8(R.Text);
  }
}

class DateEditTest : public DateTest {
protected:
  void SetUp() override {
    DateTest::SetUp();
    Day = Place<TDBDateTimeEditZk>(10);
    Day->SetDataSource(Source);
    Day->SetDataField(u"DAY");
    Free = Place<TDBDateTimeEditZk>(40);
    Show();
  }
  TDBDateTimeEditZk* Day = nullptr;
  TDBDateTimeEditZk* Free = nullptr;
};

TEST_F(DateEditTest, DefaultFormatFollowsTheLocale) {
  EXPECT_EQ(Free->EditFormat(), u"DD/MM/YYYY");
  EXPECT_EQ(Free->EditMask(), u"!99/99/9999;1; ");
  EXPECT_EQ(Free->DateTimeFormat(), u"DD/MM/YYYY");
  EXPECT_THROW(Free->SetEditFormat(u"DD/MM/DD"), Exception);
  EXPECT_EQ(Free->EditMask(), u"!99/99/9999;1; ");   // a bad format is refused whole
}

TEST_F(DateEditTest, TypingDayAndMonthCompletesTheYearOnExit) {
  Day->SetFocus();
  SimulateKeyPress(VK_HOME);
  SimulateTyping(u"3112");
  EXPECT_TRUE(VarIsNull(Day->Value()) || Day->Value().AsDateTime() > 0);
  Other->SetFocus();
  EXPECT_EQ(Day->Text(), u"31.12.2026");
  EXPECT_EQ(Data->FieldByName(u"DAY")->AsDateTime(), EncodeDate(2026, 12, 31));
}

TEST_F(DateEditTest, StepToAnImpossibleDayIsNullUntilValidated) {
  Free->SetValue(Variant::FromDateTime(EncodeDate(2026, 1, 31)));
  Free->SetFocus();
  Free->SetSelStart(3);
  Free->SetSelLength(2);
  SimulateKeyPress(VK_UP);
  EXPECT_EQ(Free->EditText(), u"31.02.2026");
  EXPECT_TRUE(VarIsNull(Free->Value()));
  Other->SetFocus();
  EXPECT_EQ(Free->Text(), u"28.02.2026");
}

TEST_F(DateEditTest, SeparatorJumpsToTheNextElementOfItsOwnFormat) {
  Free->SetKind(dtkDateTimeZk);
  Free->SetValue(Variant::FromDateTime(EncodeDate(2026, 3, 4) + EncodeTime(11, 22, 33, 0)));
  Free->SetFocus();
  Free->SetSelStart(11);   // in the hour
  SimulateTyping(u":");
  EXPECT_EQ(Free->SelStart(), 14);   // the minutes
  EXPECT_EQ(Free->SelLength(), 2);
}

TEST_F(DateEditTest, PasteFillsAtMostTheMasksPositions) {
  SetClipboardForTests(true);
  Clipboard()->SetAsText(u"3112" + String(1 << 20, u'7'));
  Free->SetFocus();
  SimulateKeyPress(VK_HOME);
  Free->PasteFromClipboard();
  EXPECT_EQ(Free->EditText().size(), 10u);
  EXPECT_EQ(Free->EditText(), u"31.12.7777");
  SetClipboardForTests(false);
}

TEST_F(DateEditTest, SettingBadTextRaises) {
  try {
    Free->SetText(u"32.13.2026");
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Invalid datetime: \"32.13.2026\"");
  }
}

TEST_F(DateEditTest, CalendarOpensOnTodayAndKeepsTheTime) {
  Free->SetFocus();
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Free->CalendarVisible());
  auto* Cal = static_cast<TPopupMonthCalendarZk*>(Free->DropDownCalendar());
  EXPECT_EQ(Cal->Date(), EncodeDate(2026, 5, 17));
  SimulateKeyPress(VK_ESCAPE, {}, u'\x1b');
  EXPECT_FALSE(Free->CalendarVisible());
  EXPECT_TRUE(VarIsNull(Free->Value()));
  Free->SetKind(dtkDateTimeZk);
  Free->SetValue(Variant::FromDateTime(EncodeDate(2026, 1, 10) + EncodeTime(8, 30, 0, 0)));
  SimulateKeyPress(VK_DOWN, {ssAlt});
  SimulateKeyPress(VK_RIGHT);   // the next day
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_FALSE(Free->CalendarVisible());
  EXPECT_EQ(Free->Value().AsDateTime(), EncodeDate(2026, 1, 11) + EncodeTime(8, 30, 0, 0));
  EXPECT_TRUE(Free->Focused());
}

}  // namespace
