// VariantOps.cpp - the Variant's operators: arithmetic, logic, shifts and comparisons, with the
// rules written down in docs/variant.md (ORDER VARIANT RULES: the table there and its test in
// tests/VariantTest.cpp follow this file).
#include "platform/rtl/Variant.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Currency_p.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant_p.h"
#include "platform/rtl/Variants.h"

using namespace variant_detail;

namespace {

// ======================================================================================
// Helpers
// ======================================================================================

bool IsStringOrEmpty(const Variant& V) { return V.IsString() || V.IsEmpty(); }

// The text of a string or Empty value, without a copy.
const String& TextOf(const Variant& V) {
  static const String Empty;
  return V.IsEmpty() ? Empty : V.StringRef();
}

Variant Concat(const String& A, const String& B) {
  String R;
  R.reserve(A.size() + B.size());
  R.append(A).append(B);
  return Variant(std::move(R));
}

int Sign128(__int128 A, __int128 B) { return A < B ? -1 : (A > B ? 1 : 0); }
// NaN sorts below every number and equals itself: a total order, which sorting needs.
int SignDouble(double A, double B) {
  if (std::isnan(A) || std::isnan(B)) return std::isnan(B) - std::isnan(A);
  return A < B ? -1 : (A > B ? 1 : 0);
}

// Finite operands giving an infinite result: the floating-point overflow the class library
// raises (the processor here does not trap it).
double CheckedFloat(double Result, double A, double B) {
  if (std::isinf(Result) && std::isfinite(A) && std::isfinite(B))
    RaiseFloatOverflow();
  return Result;
}

// The raw Currency count of a number that is an integer or a Currency.
__int128 CurrencyRaw(const TNumber& N) {
  return N.Kind == TNumber::nkCurrency ? N.Int : N.Int * Currency::Scale;
}

Variant CurrencyResult(__int128 Raw) {
  if (Raw >= INT64_MIN && Raw <= INT64_MAX)
    return Variant(Currency::FromRaw(static_cast<Int64>(Raw)));
  return Variant(static_cast<double>(Raw) / Currency::Scale);  // beyond Currency: promote
}

// ======================================================================================
// Arithmetic
// ======================================================================================

// Integer with Integer and Double with Double under + - *, the script engine's daily bread;
// the same results as the general path below.
bool FastArith(TVarOp Op, const Variant& A, const Variant& B, Variant& Result) {
  if (A.VType() != B.VType()) return false;
  const Variant::TData &X = A.Data(), &Y = B.Data();
  if (A.VType() == varInteger) {
    const Int64 R = Op == opAdd        ? X.Int + Y.Int
                    : Op == opSubtract ? X.Int - Y.Int
                                       : X.Int * Y.Int;
    Result = R >= INT32_MIN && R <= INT32_MAX ? Variant(static_cast<int>(R)) : Variant(R);
    return true;
  }
  if (A.VType() == varDouble) {
    const double R = Op == opAdd        ? X.Double + Y.Double
                     : Op == opSubtract ? X.Double - Y.Double
                                        : X.Double * Y.Double;
    Result = Variant(CheckedFloat(R, X.Double, Y.Double));
    return true;
  }
  return false;
}

Variant FloatArith(TVarOp Op, const TNumber& A, const TNumber& B) {
  const double X = NumberToDouble(A), Y = NumberToDouble(B);
  double R = 0;
  bool IsDate = false;
  switch (Op) {
    case opAdd: R = X + Y; IsDate = A.IsDate != B.IsDate; break;
    case opSubtract: R = X - Y; IsDate = A.IsDate && !B.IsDate; break;
    default: R = X * Y; break;
  }
  R = CheckedFloat(R, X, Y);
  return IsDate ? Variant::FromDateTime(R) : Variant(R);
}

Variant CurrencyArith(TVarOp Op, const TNumber& A, const TNumber& B) {
  const __int128 X = CurrencyRaw(A), Y = CurrencyRaw(B);
  switch (Op) {
    case opAdd: return CurrencyResult(X + Y);
    case opSubtract: return CurrencyResult(X - Y);
    default: break;
  }
  if (A.Kind == TNumber::nkInt) return CurrencyResult(A.Int * Y);
  if (B.Kind == TNumber::nkInt) return CurrencyResult(X * B.Int);
  return CurrencyResult(currency_detail::DivideRoundingEven(X * Y, Currency::Scale));
}

Variant Arith(TVarOp Op, const Variant& VA, const Variant& VB) {
  const TNumber A = ToNumber(VA), B = ToNumber(VB);
  if (A.Kind == TNumber::nkFloat || B.Kind == TNumber::nkFloat) return FloatArith(Op, A, B);
  if (A.Kind == TNumber::nkCurrency || B.Kind == TNumber::nkCurrency)
    return CurrencyArith(Op, A, B);
  const int Width = std::max(A.Width, B.Width);
  switch (Op) {
    case opAdd: return IntResult(A.Int + B.Int, Width);
    case opSubtract: return IntResult(A.Int - B.Int, Width);
    default: return IntResult(A.Int * B.Int, Width);
  }
}

Variant Divide(const Variant& VA, const Variant& VB) {
  const double X = NumberToDouble(ToNumber(VA)), Y = NumberToDouble(ToNumber(VB));
  if (Y == 0) RaiseZeroDivide();
  return Variant(CheckedFloat(X / Y, X, Y));
}

struct TIntPair {
  __int128 A, B;
  int Width;
};

TIntPair Integers(const Variant& VA, const Variant& VB) {
  const TNumber A = ToNumber(VA, varInt64), B = ToNumber(VB, varInt64);
  return {NumberToInteger(A, VA.VType(), varInt64), NumberToInteger(B, VB.VType(), varInt64),
          std::max(A.Width, B.Width)};
}

Variant IntDivMod(TVarOp Op, const Variant& VA, const Variant& VB) {
  const TIntPair P = Integers(VA, VB);
  if (P.B == 0) RaiseZeroDivide();
  return IntResult(Op == opIntDivide ? P.A / P.B : P.A % P.B, P.Width);
}

Variant Shift(TVarOp Op, const Variant& VA, const Variant& VB) {
  const TIntPair P = Integers(VA, VB);
  if (P.Width == 0 && P.A >= INT32_MIN && P.A <= UINT32_MAX) {
    const auto Bits = static_cast<std::uint32_t>(P.A);
    const unsigned Count = static_cast<unsigned>(P.B) & 31;
    const std::uint32_t R = Op == opShiftLeft ? Bits << Count : Bits >> Count;
    return Variant(static_cast<int>(R));
  }
  const auto Bits = static_cast<std::uint64_t>(P.A);
  const unsigned Count = static_cast<unsigned>(P.B) & 63;
  const std::uint64_t R = Op == opShiftLeft ? Bits << Count : Bits >> Count;
  if (P.Width == 2) return Variant(R);
  return Variant(static_cast<Int64>(R));
}

// ======================================================================================
// Logic
// ======================================================================================

// Logical when one side is Boolean and the other Boolean, Empty or a string; else bitwise.
bool IsLogical(const Variant& A, const Variant& B) {
  const bool BoolA = A.VType() == varBoolean, BoolB = B.VType() == varBoolean;
  if (BoolA && BoolB) return true;
  if (BoolA) return IsStringOrEmpty(B);
  if (BoolB) return IsStringOrEmpty(A);
  return false;
}

Variant Logic(TVarOp Op, const Variant& VA, const Variant& VB) {
  if (IsLogical(VA, VB)) {
    const bool A = VA.AsBoolean(), B = VB.AsBoolean();
    switch (Op) {
      case opAnd: return Variant(A && B);
      case opOr: return Variant(A || B);
      default: return Variant(A != B);
    }
  }
  const TIntPair P = Integers(VA, VB);
  switch (Op) {
    case opAnd: return IntResult(P.A & P.B, P.Width);
    case opOr: return IntResult(P.A | P.B, P.Width);
    default: return IntResult(P.A ^ P.B, P.Width);
  }
}

bool IsBooleanText(const Variant& V) {
  return V.IsString() && (SameText(V.StringRef(), u"True") || SameText(V.StringRef(), u"False"));
}

Variant Not(const Variant& V) {
  if (V.VType() == varBoolean || IsBooleanText(V)) return Variant(!V.AsBoolean());
  const TNumber N = ToNumber(V, varInt64);
  return IntResult(~NumberToInteger(N, V.VType(), varInt64), N.Width);
}

Variant Negate(const Variant& V) {
  const Variant::TData& D = V.Data();
  switch (V.VType()) {
    case varSingle: return Variant(-D.Single);
    case varDouble: return Variant(-D.Double);
    case varDate: return Variant::FromDateTime(-D.Double);
    case varCurrency: return CurrencyResult(-static_cast<__int128>(D.Int));
    default: break;
  }
  const TNumber N = ToNumber(V);
  if (N.Kind == TNumber::nkFloat) return Variant(-N.Float);
  return IntResult(-N.Int, N.Width == 2 ? 1 : N.Width);
}

// ======================================================================================
// Comparison of two values that are neither Null nor arrays: -1, 0 or 1
// ======================================================================================

int CompareTexts(const String& A, const String& B) {
  if (A == B) return 0;
  const int Collated = AnsiCompareStr(A, B);
  return Collated != 0 ? Collated : CompareStr(A, B);  // collation ties: keep a strict order
}

// A Boolean next to a Boolean, a text or Empty compares as a Boolean; next to a number it
// counts as -1/0.
bool IsBooleanPair(const Variant& A, const Variant& B) {
  const bool BoolA = A.VType() == varBoolean, BoolB = B.VType() == varBoolean;
  if (!BoolA && !BoolB) return false;
  const Variant& Other = BoolA ? B : A;
  return Other.VType() == varBoolean || IsStringOrEmpty(Other);
}

int CompareHandles(const Variant& A, const Variant& B) {
  const bool Usable = (A.IsHandle() || VarIsOrdinal(A) || A.IsEmpty()) &&
                      (B.IsHandle() || VarIsOrdinal(B) || B.IsEmpty());
  if (!Usable) RaiseInvalidOp();
  const UInt64 X = static_cast<UInt64>(A.AsHandle()), Y = static_cast<UInt64>(B.AsHandle());
  return X < Y ? -1 : (X > Y ? 1 : 0);
}

int CompareNumbers(const TNumber& A, const TNumber& B) {
  if (A.Kind == TNumber::nkInt && B.Kind == TNumber::nkInt) return Sign128(A.Int, B.Int);
  if (A.Kind != TNumber::nkFloat && B.Kind != TNumber::nkFloat)
    return Sign128(CurrencyRaw(A), CurrencyRaw(B));
  return SignDouble(NumberToDouble(A), NumberToDouble(B));
}

int CompareValues(const Variant& A, const Variant& B) {
  if (A.VType() == B.VType()) {  // the common case first: keys and loop counters
    const Variant::TData &X = A.Data(), &Y = B.Data();
    switch (A.VType()) {
      case varInteger: case varInt64: return Sign128(X.Int, Y.Int);
      case varDouble: return SignDouble(X.Double, Y.Double);
      default: break;
    }
  }
  if (IsStringOrEmpty(A) && IsStringOrEmpty(B)) return CompareTexts(TextOf(A), TextOf(B));
  if (A.IsHandle() || B.IsHandle()) return CompareHandles(A, B);
  if (IsBooleanPair(A, B)) return Sign128(A.AsBoolean(), B.AsBoolean());  // False < True
  if (A.VType() == varDate && B.IsString()) return SignDouble(A.AsDouble(), B.AsDateTime());
  if (B.VType() == varDate && A.IsString()) return SignDouble(A.AsDateTime(), B.AsDouble());
  return CompareNumbers(ToNumber(A), ToNumber(B));
}

bool ArraysEqual(const Variant& A, const Variant& B) {
  if (A.ArrayLowBound() != B.ArrayLowBound() || A.ArrayHighBound() != B.ArrayHighBound())
    return false;
  for (int I = A.ArrayLowBound(); I <= A.ArrayHighBound(); ++I)
    if (!VarEquals(A[I], B[I])) return false;
  return true;
}

}  // namespace

// ======================================================================================
// Entry points
// ======================================================================================

Variant VarBinaryOp(TVarOp Op, const Variant& A, const Variant& B) {
  Variant Fast;
  if (Op <= opMultiply && FastArith(Op, A, B, Fast)) return Fast;
  if (A.IsArray() || B.IsArray() || A.IsHandle() || B.IsHandle()) RaiseInvalidOp();
  if (A.IsNull() || B.IsNull()) return Null();
  switch (Op) {
    case opAdd:
      if (IsStringOrEmpty(A) && IsStringOrEmpty(B) && !(A.IsEmpty() && B.IsEmpty()))
        return Concat(TextOf(A), TextOf(B));
      return Arith(Op, A, B);
    case opSubtract: case opMultiply: return Arith(Op, A, B);
    case opDivide: return Divide(A, B);
    case opIntDivide: case opModulus: return IntDivMod(Op, A, B);
    case opShiftLeft: case opShiftRight: return Shift(Op, A, B);
    case opAnd: case opOr: case opXor: return Logic(Op, A, B);
    default: RaiseInvalidOp();
  }
}

Variant VarUnaryOp(TVarOp Op, const Variant& A) {
  if (A.IsArray() || A.IsHandle()) RaiseInvalidOp();
  if (A.IsNull()) return Null();
  switch (Op) {
    case opNegate: return Negate(A);
    case opNot: return Not(A);
    default: RaiseInvalidOp();
  }
}

bool VarEquals(const Variant& A, const Variant& B) {
  if (A.IsString() && B.IsString()) return A.StringRef() == B.StringRef();
  if (A.IsNull() || B.IsNull()) return A.IsNull() && B.IsNull();
  if (A.IsArray() || B.IsArray()) {
    if (!(A.IsArray() && B.IsArray())) RaiseInvalidOp();
    return ArraysEqual(A, B);
  }
  return CompareValues(A, B) == 0;
}

bool VarLess(const Variant& A, const Variant& B) {
  if (A.IsNull() || B.IsNull()) return A.IsNull() && !B.IsNull();  // Null is lowest
  if (A.IsArray() || B.IsArray()) RaiseInvalidOp();
  return CompareValues(A, B) < 0;
}

TVariantRelationship VarCompareValue(const Variant& A, const Variant& B) {
  if (A.IsEmpty() || A.IsNull() || B.IsEmpty() || B.IsNull())
    return A.VType() == B.VType() ? vrEqual : vrNotEqual;
  if (A.IsArray() || B.IsArray()) RaiseInvalidOp();
  const int C = CompareValues(A, B);
  return C == 0 ? vrEqual : (C < 0 ? vrLessThan : vrGreaterThan);
}

bool VarSameValue(const Variant& A, const Variant& B) { return VarCompareValue(A, B) == vrEqual; }
