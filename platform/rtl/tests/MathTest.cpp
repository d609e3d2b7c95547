// Tests of rounding, MulDiv and the Currency type.
#include "platform/rtl/Math.h"

#include <cmath>

#include <gtest/gtest.h>

#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"

TEST(Round, HalvesGoToEven) {
  struct Case { Extended In; Int64 Out; } Cases[] = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {-0.5, 0}, {16.5, 16}, {2.4999, 2}, {-1.6, -2},
      {4503599627370497.0L, 4503599627370497}, {9.2e18L, 9200000000000000000},
  };
  for (const auto& C : Cases) EXPECT_EQ(Round(C.In), C.Out) << static_cast<double>(C.In);
  EXPECT_THROW(Round(1e30), EInvalidOp);
  EXPECT_THROW(Round(NAN), EInvalidOp);
}

TEST(Round, TruncIntFrac) {
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_EQ(Trunc(2.7), 2);
  EXPECT_THROW(Trunc(-1e19), EInvalidOp);
  EXPECT_EQ(Int(-2.7L), -2.0L);
  EXPECT_DOUBLE_EQ(static_cast<double>(Frac(-2.75L)), -0.75);
  EXPECT_EQ(Ceil(1.1), 2);
  EXPECT_EQ(Floor(-1.1), -2);
}

TEST(Round, RoundToAndSimpleRoundTo) {
  EXPECT_EQ(RoundTo(1234567, 3), 1235000);
  EXPECT_EQ(RoundTo(1.2345, -2), 1.23);
  EXPECT_EQ(RoundTo(2.5, 0), 2);     // halves to even
  EXPECT_EQ(SimpleRoundTo(1.235, -2), 1.24);  // halves away, on the decimal as it reads
  EXPECT_EQ(SimpleRoundTo(-1.235, -2), -1.24);
  EXPECT_EQ(SimpleRoundTo(2.5, 0), 3);
  EXPECT_EQ(SimpleRoundTo(1234.5, 2), 1200);
}

TEST(MulDiv, HalvesAwayFromZeroAndMinusOneOnZero) {
  struct Case { Integer A, B, C, Out; } Cases[] = {
      {10, 3, 4, 8}, {-10, 3, 4, -8}, {10, -3, 4, -8}, {7, 1, 2, 4}, {-7, 1, 2, -4},
      {6, 1, 4, 2}, {5, 1, 4, 1}, {INT32_MAX, 2, 2, INT32_MAX}, {1, 2, 0, -1}, {96, 72, 96, 72},
  };
  for (const auto& C : Cases) EXPECT_EQ(MulDiv(C.A, C.B, C.C), C.Out) << C.A << "*" << C.B << "/" << C.C;
}

TEST(Currency, ArithmeticOnScaledIntegers) {
  EXPECT_EQ(Currency(0.1 + 0.2).Raw(), 3000);
  EXPECT_EQ(Currency(1.23456789).Raw(), 12346);
  EXPECT_EQ(Currency(-1.23456789).Raw(), -12346);
  EXPECT_EQ((Currency(2) + Currency(0.5)).Raw(), 25000);
  EXPECT_EQ((Currency(2) - Currency(5)).Raw(), -30000);
  // 0.0005 * 0.5 = 0.00025: halves to even -> 0.0002; 0.0015 * 0.5 -> 0.0008.
  EXPECT_EQ((Currency::FromRaw(5) * Currency::FromRaw(5000)).Raw(), 2);
  EXPECT_EQ((Currency::FromRaw(15) * Currency::FromRaw(5000)).Raw(), 8);
  EXPECT_EQ((Currency(1) / Currency(3)).Raw(), 3333);
  EXPECT_EQ((Currency(2) / Currency(3)).Raw(), 6667);
  EXPECT_EQ((-Currency(2)).Raw(), -20000);
  EXPECT_LT(Currency(1), Currency(2));
  EXPECT_EQ(Currency(1.5).ToDouble(), 1.5);
}

TEST(Currency, OverflowAndZeroDivideRaise) {
  EXPECT_THROW(Currency::FromRaw(INT64_MAX) + Currency::FromRaw(1), EOverflow);
  EXPECT_THROW(Currency(1e20), EOverflow);
  EXPECT_THROW(Currency(static_cast<double>(NAN)), EOverflow);
  EXPECT_THROW(Currency(Int64(1) << 60), EOverflow);
  EXPECT_THROW(-Currency::FromRaw(INT64_MIN), EOverflow);
  EXPECT_THROW(Currency(1) / Currency(0), EZeroDivide);
}
