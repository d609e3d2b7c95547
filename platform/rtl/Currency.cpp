// Currency.cpp - the fixed-point money type's arithmetic.
#include "platform/rtl/Currency.h"

#include <cmath>

#include "platform/rtl/Currency_p.h"
#include "platform/rtl/Exceptions.h"

using currency_detail::DivideRoundingEven;

namespace {

using Int128 = __int128;

[[noreturn]] void RaiseOverflow() { throw EOverflow(u"Floating point overflow"); }

Int64 Checked(Int128 Value) {
  if (Value > INT64_MAX || Value < INT64_MIN) RaiseOverflow();
  return static_cast<Int64>(Value);
}

Int64 FromFloat(Extended Scaled) {
  if (!(Scaled > -9223372036854775808.5L && Scaled < 9223372036854775807.5L)) RaiseOverflow();
  return static_cast<Int64>(std::nearbyint(Scaled));  // round to nearest, halves to even
}

}  // namespace

__int128 currency_detail::DivideRoundingEven(__int128 Numerator, __int128 Denominator) {
  __int128 Quotient = Numerator / Denominator;
  const __int128 Remainder = Numerator % Denominator;
  const __int128 Twice = 2 * (Remainder < 0 ? -Remainder : Remainder);
  const __int128 Magnitude = Denominator < 0 ? -Denominator : Denominator;
  const bool Negative = (Numerator < 0) != (Denominator < 0);
  if (Twice > Magnitude || (Twice == Magnitude && (Quotient & 1) != 0))
    Quotient += Negative ? -1 : 1;
  return Quotient;
}

Currency::Currency(Int64 Units) : FValue(Checked(static_cast<Int128>(Units) * Scale)) {}

// A double times 10 000 is exact in the 64-bit mantissa of Extended, so only the final rounding
// rounds.
Currency::Currency(double Value) : FValue(FromFloat(static_cast<Extended>(Value) * Scale)) {}

Currency::Currency(Extended Value) : FValue(FromFloat(Value * Scale)) {}

Currency& Currency::operator+=(Currency Other) {
  FValue = Checked(static_cast<Int128>(FValue) + Other.FValue);
  return *this;
}

Currency& Currency::operator-=(Currency Other) {
  FValue = Checked(static_cast<Int128>(FValue) - Other.FValue);
  return *this;
}

Currency& Currency::operator*=(Currency Other) {
  FValue = Checked(DivideRoundingEven(static_cast<Int128>(FValue) * Other.FValue, Scale));
  return *this;
}

Currency& Currency::operator/=(Currency Other) {
  if (Other.FValue == 0) throw EZeroDivide(u"Floating point division by zero");
  FValue = Checked(DivideRoundingEven(static_cast<Int128>(FValue) * Scale, Other.FValue));
  return *this;
}

Currency Currency::operator-() const { return FromRaw(Checked(-static_cast<Int128>(FValue))); }
