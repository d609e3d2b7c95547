// Currency.h - the fixed-point money type: a 64-bit integer count of 1/10 000.
//
// Arithmetic is exact where the class library's is: addition, subtraction and comparison work
// on the scaled integers; multiplication and division round the exact result to the nearest
// 1/10 000, halves to even (the floating-point unit's default rounding). Conversion from a
// double also rounds to nearest, halves to even, on the double's exact binary value. Results
// outside the 64-bit range raise EOverflow. Text conversions live in SysUtils.h (CurrToStr,
// StrToCurr, FormatCurr).
#pragma once

#include <compare>

#include "platform/rtl/Types.h"

class Currency {
public:
  static constexpr Int64 Scale = 10000;

  constexpr Currency() = default;
  // Whole units: Currency(5) is 5.0000.
  constexpr explicit Currency(int Units) : FValue(static_cast<Int64>(Units) * Scale) {}
  explicit Currency(Int64 Units);
  // Rounded to 1/10 000, halves to even; NaN, infinities and out-of-range values raise EOverflow.
  explicit Currency(double Value);
  explicit Currency(Extended Value);

  // The raw scaled integer: Currency::FromRaw(12345) is 1.2345.
  static constexpr Currency FromRaw(Int64 Raw) { Currency C; C.FValue = Raw; return C; }
  constexpr Int64 Raw() const { return FValue; }

  double ToDouble() const { return static_cast<double>(FValue) / Scale; }
  Extended ToExtended() const { return static_cast<Extended>(FValue) / Scale; }
  explicit operator double() const { return ToDouble(); }

  Currency& operator+=(Currency Other);
  Currency& operator-=(Currency Other);
  Currency& operator*=(Currency Other);
  Currency& operator/=(Currency Other);
  Currency operator-() const;

  friend Currency operator+(Currency A, Currency B) { return A += B; }
  friend Currency operator-(Currency A, Currency B) { return A -= B; }
  friend Currency operator*(Currency A, Currency B) { return A *= B; }
  // Division by zero raises EZeroDivide.
  friend Currency operator/(Currency A, Currency B) { return A /= B; }
  friend constexpr bool operator==(Currency A, Currency B) = default;
  friend constexpr std::strong_ordering operator<=>(Currency A, Currency B) = default;

private:
  Int64 FValue = 0;
};
