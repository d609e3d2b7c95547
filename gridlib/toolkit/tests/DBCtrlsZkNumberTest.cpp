// DBCtrlsZkNumberTest.cpp - the number routines and the number edit: typing with separators,
// the character check, clamping and rounding, stepping, paste roll-back and the calculator.
#include "gridlib/toolkit/tests/DBCtrlsZkTestFixture.h"

#include <cmath>
#include <limits>

#include "gridlib/toolkit/CalculatorZk.h"
#include "platform/controls/Clipboard.h"

namespace {

constexpr Char NBSP = u'\u00A0';

using NumberRoutines = EditorTest;

TEST_F(NumberRoutines, TextChecksAndSeparators) {
  Extended V = 0;
  EXPECT_TRUE(TextToFloatCheck(u"-", V));
  EXPECT_EQ(V, 0);
  EXPECT_TRUE(TextToFloatCheck(u"1,5E3", V));
  EXPECT_EQ(V, 1500);
  EXPECT_FALSE(TextToFloatCheck(u"1.5", V));   // "." is not the Russian decimal separator
  EXPECT_FALSE(TextToFloatCheck(u"", V));
  EXPECT_EQ(InsertThousandSeparators(u"-1234567,891", true), String(u"-1") + NBSP + u"234" + NBSP + u"567,891");
  EXPECT_EQ(InsertThousandSeparators(u"123", true), u"123");
  EXPECT_EQ(InsertThousandSeparators(u"12345E10", false), u"12345E10");
  EXPECT_EQ(NormalizeNumberText(String(u" 1") + NBSP + u"234.5 "), u"1234,5");
  EXPECT_EQ(DefaultCurrencyEditFormat(), u",#.00");
  EXPECT_EQ(DisplayFormatToEditFormat(u"### ### ### ### ###"), u"###############");
  EXPECT_EQ(DisplayFormatToEditFormat(u"#,##0.00 'руб';-#,##0.00"), u"#,##0.00");
  EXPECT_EQ(DisplayFormatToEditFormat(u"0.00E+00"), u"0.000");
}

TEST_F(NumberRoutines, CheckValueClampsAndRounds) {
  struct Row {
    Extended X, Min, Max;
    unsigned Dp;
    Extended Want;
  };
  const Row Rows[] = {
      {150, 0, 100, 2, 100},     {-5, 0, 100, 2, 0},        {5, 10, 0, 2, 10},
      {1000, 10, 0, 2, 1000},    {1000, 0, -10, 2, -10},    {5, 3, 3, 2, 5},
      {0.125, 0, 0, 2, 0.12},    {0.375, 0, 0, 2, 0.38},    {2.5, 0, 0, 0, 2},
      {3.5, 0, 0, 0, 4},         {1.23456, 0, 0, 40, 1.23456},
      {1e17, 0, 0, 2, 1e17},     {-1e300, 0, 0, 2, -1e300},
  };
  for (const Row& R : Rows)
    EXPECT_NEAR(double(CheckNumberValue(R.X, R.Min, R.Max, R.Dp)), double(R.Want),
                std::fabs(double(R.Want)) * 1e-12 + 1e-9)
        << double(R.X);
  // Not finite: unchanged, no undefined conversion.
  EXPECT_TRUE(std::isinf(CheckNumberValue(std::numeric_limits<Extended>::infinity(), 0, 0, 2)));
  EXPECT_TRUE(std::isnan(CheckNumberValue(std::numeric_limits<Extended>::quiet_NaN(), 0, 0, 2)));
}

class NumberEditTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    Price = Place<TDBNumberEditZk>(10);
    Price->SetDataSource(Source);
    Price->SetDataField(u"PRICE");
    Qty = Place<TDBNumberEditZk>(40);
    Show();
  }
  TDBNumberEditZk* Price = nullptr;
  TDBNumberEditZk* Qty = nullptr;   // unbound
};

TEST_F(NumberEditTest, TypingInsertsSeparatorsAndKeepsTheCaretFromTheEnd) {
  Qty->SetDisplayFormat(u",0.00");
  Qty->SetFocus();
  SimulateTyping(u"1234567.8");
  EXPECT_EQ(Qty->Text(), String(u"1") + NBSP + u"234" + NBSP + u"567,8");
  EXPECT_EQ(Qty->Value().AsDouble(), 1234567.8);
  SimulateTyping(u"99");   // a third decimal is refused
  EXPECT_EQ(Qty->Text(), String(u"1") + NBSP + u"234" + NBSP + u"567,89");
  SimulateKeyPress(VK_HOME);
  SimulateKeyPress(VK_RIGHT);
  SimulateKeyPress(VK_RIGHT);   // after the first separator
  SimulateKeyPress(VK_BACK, {}, u'\b');
  EXPECT_EQ(Qty->SelStart(), 1);   // stepped over it, nothing deleted
  SimulateKeyPress(VK_BACK, {}, u'\b');
  EXPECT_EQ(Qty->Text(), String(u"234") + NBSP + u"567,89");
  EXPECT_EQ(Qty->SelStart(), 0);
}

TEST_F(NumberEditTest, BoundsAndSigns) {
  Qty->SetMinValue(0);
  Qty->SetMaxValue(100);
  Qty->SetFocus();
  SimulateTyping(u"-");
  EXPECT_EQ(Qty->Text(), u"");   // refused while the range is not negative
  SimulateTyping(u"150");
  EXPECT_EQ(Qty->Text(), u"150");
  EXPECT_EQ(Qty->Value().AsDouble(), 100);
  SimulateTyping(u"x");
  EXPECT_EQ(Qty->Text(), u"150");
}

TEST_F(NumberEditTest, StepsFromNullAndByIncrement) {
  Qty->SetIncrement(0.5);
  Qty->SetFocus();
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(Qty->Value().AsDouble(), 0.5);
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(Qty->Value().AsDouble(), 0.0);
  SimulateKeyPress(VK_UP);
  SimulateKeyPress(VK_UP);
  EXPECT_EQ(Qty->Value().AsDouble(), 1.0);
}

TEST_F(NumberEditTest, PasteOfANonNumberRollsBackSilently) {
  SetClipboardForTests(true);
  Qty->SetFocus();
  SimulateTyping(u"42");
  Clipboard()->SetAsText(String(1 << 20, u'ж'));
  Qty->SelectAll();
  EXPECT_NO_THROW(Qty->PasteFromClipboard());
  EXPECT_EQ(Qty->Text(), u"42");
  EXPECT_EQ(Qty->Value().AsDouble(), 42.0);
  SetClipboardForTests(false);
}

TEST_F(NumberEditTest, BoundValuePostsAndBadTextRaises) {
  EXPECT_EQ(Price->Value().AsDouble(), 12.5);
  Price->SetFocus();
  SimulateKeyPress('A', {ssCtrl});
  SimulateTyping(u"3,25");
  Other->SetFocus();
  EXPECT_EQ(Data->FieldByName(u"PRICE")->AsFloat(), 3.25);
  Price->SetFocus();
  SimulateTyping(u"9");   // typed, not posted
  EXPECT_THROW(Price->SetText(u"три"), EConvertError);
  EXPECT_EQ(Price->Value().AsDouble(), 3.25);   // reloaded from the field
  EXPECT_EQ(Price->Text(), u"3,25");
  Qty->SetValue(Variant(3.14159));
  EXPECT_EQ(Qty->Text(), u"3,14159");   // a value from code is not rounded
}

TEST_F(NumberEditTest, CalculatorTakesItsValueOnReturn) {
  Qty->SetValue(Variant(12.0));
  Qty->SetFocus();
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Qty->CalculatorVisible());
  EXPECT_TRUE(Qty->Focused());
  SimulateTyping(u"+3");
  SimulateKeyPress(VK_RETURN, {}, u'\r');   // computes
  EXPECT_TRUE(Qty->CalculatorVisible());
  SimulateKeyPress(VK_RETURN, {}, u'\r');   // takes 15
  EXPECT_FALSE(Qty->CalculatorVisible());
  EXPECT_EQ(Qty->Value().AsDouble(), 15.0);
  SimulateKeyPress(VK_DOWN, {ssAlt});
  SimulateTyping(u"9");
  SimulateKeyPress(VK_ESCAPE, {}, u'\x1b');
  EXPECT_FALSE(Qty->CalculatorVisible());
  EXPECT_EQ(Qty->Value().AsDouble(), 15.0);
}

}  // namespace
