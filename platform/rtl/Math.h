// Math.h - rounding and arithmetic helpers with the class library's rules.
//
// Round rounds halves to even (Round(2.5) = 2, Round(-2.5) = -2), as the floating-point unit
// does; Trunc rounds toward zero. Both raise EInvalidOp for NaN, infinities and values outside
// the Int64 range. MulDiv rounds halves away from zero and returns -1 for a zero divisor.
#pragma once

#include "platform/rtl/Types.h"

Int64 Round(Extended Value);
Int64 Trunc(Extended Value);
Extended Int(Extended Value);   // whole part, toward zero, as a float
Extended Frac(Extended Value);  // Value - Int(Value), with Value's sign
Integer Ceil(Extended Value);
Integer Floor(Extended Value);

// Rounds to a power of ten, 10^Digit, halves to even on the binary value:
// RoundTo(1234567, 3) = 1235000, RoundTo(1.2345, -2) = 1.23. Digit is -20..20.
double RoundTo(double Value, int Digit);
// Rounds to 10^Digit, halves away from zero, on the shortest decimal digits of the value (the
// digits FloatToStr shows), so SimpleRoundTo(1.235, -2) = 1.24 although the double 1.235 lies a
// hair below. Digit defaults to hundredths.
double SimpleRoundTo(double Value, int Digit = -2);
// As SimpleRoundTo, but halves go to the even neighbour (154.5 -> 154, 2.675 -> 2.68 at -2)
// and any Digit is taken; zero and non-finite values come back as they are, and a value that
// rounds to zero gives +0.
double SimpleRoundToEven(double Value, int Digit = -2);

// Number * Numerator / Denominator computed in 64 bits, rounded halves away from zero;
// -1 when Denominator is 0.
Integer MulDiv(Integer Number, Integer Numerator, Integer Denominator);

inline Integer Min(Integer A, Integer B) { return A < B ? A : B; }
inline Integer Max(Integer A, Integer B) { return A > B ? A : B; }
inline Int64 Min(Int64 A, Int64 B) { return A < B ? A : B; }
inline Int64 Max(Int64 A, Int64 B) { return A > B ? A : B; }
inline double Min(double A, double B) { return A < B ? A : B; }
inline double Max(double A, double B) { return A > B ? A : B; }
inline Extended Min(Extended A, Extended B) { return A < B ? A : B; }
inline Extended Max(Extended A, Extended B) { return A > B ? A : B; }

Extended Power(Extended Base, Extended Exponent);
Extended IntPower(Extended Base, Integer Exponent);
bool IsNan(Extended Value);
bool IsInfinite(Extended Value);
// -1, 0 or 1.
int Sign(Extended Value);
bool SameValue(Extended A, Extended B, Extended Epsilon = 0);
inline bool InRange(Int64 Value, Int64 AMin, Int64 AMax) { return Value >= AMin && Value <= AMax; }
inline Int64 EnsureRange(Int64 Value, Int64 AMin, Int64 AMax) {
  return Value < AMin ? AMin : (Value > AMax ? AMax : Value);
}
