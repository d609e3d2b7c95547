// Math.cpp - rounding and arithmetic helpers.
#include "platform/rtl/Math.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils_p.h"

namespace {

constexpr Extended kInt64Limit = 9223372036854775808.0L;  // 2^63

[[noreturn]] void RaiseInvalidOp() { throw EInvalidOp(u"Invalid floating point operation"); }

Int64 CheckedInt64(Extended Whole) {
  if (!(Whole >= -kInt64Limit && Whole < kInt64Limit)) RaiseInvalidOp();
  return static_cast<Int64>(Whole);
}

Integer CheckedInteger(Extended Whole) {
  if (!(Whole >= -2147483648.0L && Whole <= 2147483647.0L)) RaiseInvalidOp();
  return static_cast<Integer>(Whole);
}

// Rounds the decimal digits the value prints with, so 1.235 (stored a hair below) still
// rounds up, as it reads.
double RoundPrintedDigits(double Value, int Digit, TRoundHalf Half) {
  TDecimal Dec = MakeDecimal(Value);
  RoundDecimalTo(Dec, Dec.Exponent - Digit, Half);
  return static_cast<double>(DecimalToExtended(Dec));
}

}  // namespace

Int64 Round(Extended Value) {
  // rint follows the current rounding mode, which the program never changes from
  // round-to-nearest-even. It gives what nearbyint gives, without saving and restoring the
  // floating-point environment on each call (nearbyint's cost, which text layout paid per
  // character).
  return CheckedInt64(std::rint(Value));
}

Int64 Trunc(Extended Value) { return CheckedInt64(std::trunc(Value)); }

Extended Int(Extended Value) { return std::trunc(Value); }

Extended Frac(Extended Value) { return Value - std::trunc(Value); }

Integer Ceil(Extended Value) { return CheckedInteger(std::ceil(Value)); }

Integer Floor(Extended Value) { return CheckedInteger(std::floor(Value)); }

double RoundTo(double Value, int Digit) {
  if (Digit < -20 || Digit > 20) throw EInvalidOp(u"Invalid floating point operation");
  if (!std::isfinite(Value)) return Value;
  if (Digit < 0) {
    const Extended Factor = IntPower(10, -Digit);
    return static_cast<double>(std::nearbyint(Value * Factor) / Factor);
  }
  const Extended Factor = IntPower(10, Digit);
  return static_cast<double>(std::nearbyint(Value / Factor) * Factor);
}

double SimpleRoundTo(double Value, int Digit) {
  if (Digit < -20 || Digit > 20) throw EInvalidOp(u"Invalid floating point operation");
  if (!std::isfinite(Value)) return Value;
  return RoundPrintedDigits(Value, Digit, TRoundHalf::AwayFromZero);
}

double SimpleRoundToEven(double Value, int Digit) {
  if (!std::isfinite(Value) || Value == 0) return Value;
  return RoundPrintedDigits(Value, Digit, TRoundHalf::ToEven);
}

Integer MulDiv(Integer Number, Integer Numerator, Integer Denominator) {
  if (Denominator == 0) return -1;
  const Int64 Product = static_cast<Int64>(Number) * Numerator;
  Int64 Quotient = Product / Denominator;
  const Int64 Remainder = Product % Denominator;
  if (2 * std::llabs(Remainder) >= std::llabs(static_cast<Int64>(Denominator)))
    Quotient += ((Product < 0) != (Denominator < 0)) ? -1 : 1;
  if (Quotient < INT32_MIN || Quotient > INT32_MAX) return -1;
  return static_cast<Integer>(Quotient);
}

Extended Power(Extended Base, Extended Exponent) { return std::pow(Base, Exponent); }

Extended IntPower(Extended Base, Integer Exponent) {
  Extended Result = 1;
  Int64 N = Exponent < 0 ? -static_cast<Int64>(Exponent) : Exponent;
  Extended Factor = Base;
  while (N > 0) {
    if (N & 1) Result *= Factor;
    Factor *= Factor;
    N >>= 1;
  }
  return Exponent < 0 ? 1 / Result : Result;
}

bool IsNan(Extended Value) { return std::isnan(Value); }

bool IsInfinite(Extended Value) { return std::isinf(Value); }

int Sign(Extended Value) { return Value > 0 ? 1 : (Value < 0 ? -1 : 0); }

bool SameValue(Extended A, Extended B, Extended Epsilon) {
  if (Epsilon == 0) {
    // The class library's default: a thousand times the double resolution, relative.
    Epsilon = std::max(std::min(std::fabs(A), std::fabs(B)) * 1e-12L, 1e-12L);
  }
  return std::fabs(A - B) <= Epsilon;
}
