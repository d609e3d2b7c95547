// Variant_p.h - what the Variant unit's own sources share: the shared blocks behind strings
// and arrays, the error texts, and the numeric view of a value used by operators and
// conversions. Not part of the interface.
#pragma once

#include <atomic>
#include <vector>

#include "platform/rtl/Variant.h"

struct Variant::TStringRep {
  std::atomic<int> Refs{1};
  String Value;
};

namespace variant_detail {

// ORDER VARIANT ERRORS: every text the unit raises is written here once.
[[noreturn]] void RaiseCastError(TVarType From, TVarType To);
[[noreturn]] void RaiseOverflow(TVarType From, TVarType To);
[[noreturn]] void RaiseInvalidOp();
[[noreturn]] void RaiseZeroDivide();
[[noreturn]] void RaiseBadIndex();
[[noreturn]] void RaiseNotArray();
[[noreturn]] void RaiseBadVarType();
[[noreturn]] void RaiseFloatOverflow();
[[noreturn]] void RaiseBadBounds(std::size_t Count);

inline bool IsStringType(TVarType T) {
  return T == varUString || T == varOleStr || T == varString;
}
inline bool IsIntegerType(TVarType T) {
  switch (T) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64: case varUInt64:
      return true;
    default:
      return false;
  }
}

// A value as a number for arithmetic, comparison and conversion.
struct TNumber {
  enum TKind { nkInt, nkCurrency, nkFloat };
  TKind Kind = nkInt;
  // Integer width: 0 for the 32-bit kinds (and Boolean, Empty), 1 for Int64, 2 for UInt64.
  int Width = 0;
  bool IsDate = false;
  __int128 Int = 0;   // nkInt: the value; nkCurrency: the raw count of 1/10 000
  double Float = 0;   // nkFloat
};

// The numeric view of V: Empty is 0, Boolean -1/0, strings are read as an integer or else a
// float in the locale's format (failing: the cast error from (String) to (Target)). Null,
// arrays and handles raise the cast error to Target.
TNumber ToNumber(const Variant& V, TVarType Target = varDouble);
// The smallest of Integer, Int64, UInt64 (when MinWidth is 2), Double that holds Value, but
// at least MinWidth wide.
Variant IntResult(__int128 Value, int MinWidth);
double NumberToDouble(const TNumber& N);
// N as an integer: Currency and floats rounded to the nearest, halves to even; a float beyond
// the Int64 range raises the overflow error from From to To.
__int128 NumberToInteger(const TNumber& N, TVarType From, TVarType To);

}  // namespace variant_detail
