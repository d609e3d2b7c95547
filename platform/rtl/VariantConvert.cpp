// VariantConvert.cpp - the Variant's conversions: the numeric view shared with the operators,
// the As... methods, VarAsType, VarToStr and the type tests of Variants.h.
#include "platform/rtl/Variant.h"

#include <cmath>
#include <limits>

#include "platform/rtl/Currency_p.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant_p.h"
#include "platform/rtl/Variants.h"

using namespace variant_detail;

namespace {

constexpr __int128 kInt32Min = std::numeric_limits<Integer>::min();
constexpr __int128 kInt32Max = std::numeric_limits<Integer>::max();
constexpr __int128 kInt64Min = std::numeric_limits<Int64>::min();
constexpr __int128 kInt64Max = std::numeric_limits<Int64>::max();
constexpr __int128 kUInt64Max = std::numeric_limits<UInt64>::max();

TNumber IntNumber(__int128 Value, int Width) {
  TNumber N;
  N.Int = Value;
  N.Width = Width;
  return N;
}

TNumber FloatNumber(double Value, bool IsDate = false) {
  TNumber N;
  N.Kind = TNumber::nkFloat;
  N.Float = Value;
  N.IsDate = IsDate;
  return N;
}

TNumber StringToNumber(const String& S, TVarType Target) {
  Int64 I = 0;
  if (TryStrToInt64(S, I)) return IntNumber(I, I >= kInt32Min && I <= kInt32Max ? 0 : 1);
  double D = 0;
  if (TryStrToFloat(S, D)) return FloatNumber(D);
  RaiseCastError(varUString, Target);
}

// V as an integer (floats and Currency rounded halves to even) for a conversion to To.
__int128 IntegerOf(const Variant& V, TVarType To) {
  if (V.IsHandle()) return V.Data().UInt;
  return NumberToInteger(ToNumber(V, To), V.VType(), To);
}

__int128 RangedInteger(const Variant& V, TVarType To, __int128 Min, __int128 Max) {
  const __int128 Value = IntegerOf(V, To);
  if (Value < Min || Value > Max) RaiseOverflow(V.VType(), To);
  return Value;
}

Variant IntegerOfKind(const Variant& V, TVarType Type) {
  Variant::TData D;
  switch (Type) {
    case varShortInt: D.Int = static_cast<Int64>(RangedInteger(V, Type, -128, 127)); break;
    case varByte: D.Int = static_cast<Int64>(RangedInteger(V, Type, 0, 255)); break;
    case varSmallint: D.Int = static_cast<Int64>(RangedInteger(V, Type, -32768, 32767)); break;
    case varWord: D.Int = static_cast<Int64>(RangedInteger(V, Type, 0, 65535)); break;
    case varInteger:
      D.Int = static_cast<Int64>(RangedInteger(V, Type, kInt32Min, kInt32Max));
      break;
    case varLongWord: D.Int = static_cast<Int64>(RangedInteger(V, Type, 0, 0xFFFFFFFFu)); break;
    case varInt64: D.Int = static_cast<Int64>(RangedInteger(V, Type, kInt64Min, kInt64Max)); break;
    default: D.UInt = static_cast<UInt64>(RangedInteger(V, Type, 0, kUInt64Max)); break;
  }
  return Variant::FromRaw(Type, D);
}

Variant ArrayAsType(const Variant& V, TVarType Type) {
  const TVarType ElemType = Type & varTypeMask;
  Variant Result = VarArrayCreate(V.ArrayLowBound(), V.ArrayHighBound(), ElemType);
  for (int I = V.ArrayLowBound(); I <= V.ArrayHighBound(); ++I)
    Result[I] = ElemType == varVariant ? V[I] : VarAsType(V[I], ElemType);
  return Result;
}

}  // namespace

// ======================================================================================
// The numeric view
// ======================================================================================

namespace variant_detail {

TNumber ToNumber(const Variant& V, TVarType Target) {
  const Variant::TData& D = V.Data();
  switch (V.VType()) {
    case varEmpty: return IntNumber(0, 0);
    case varBoolean: return IntNumber(D.Int ? -1 : 0, 0);
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord:
      return IntNumber(D.Int, 0);
    case varInt64: return IntNumber(D.Int, 1);
    case varUInt64: return IntNumber(D.UInt, 2);
    case varSingle: return FloatNumber(D.Single);
    case varDouble: return FloatNumber(D.Double);
    case varDate: return FloatNumber(D.Double, true);
    case varCurrency: {
      TNumber N = IntNumber(D.Int, 0);
      N.Kind = TNumber::nkCurrency;
      return N;
    }
    case varOleStr: case varString: case varUString:
      return StringToNumber(V.StringRef(), Target);
    default:
      RaiseCastError(V.VType(), Target);
  }
}

Variant IntResult(__int128 Value, int MinWidth) {
  if (MinWidth == 0 && Value >= kInt32Min && Value <= kInt32Max)
    return Variant(static_cast<int>(Value));
  if (Value >= kInt64Min && Value <= kInt64Max && (MinWidth < 2 || Value < 0))
    return Variant(static_cast<Int64>(Value));
  if (MinWidth == 2 && Value >= 0 && Value <= kUInt64Max)
    return Variant(static_cast<UInt64>(Value));
  return Variant(static_cast<double>(Value));
}

__int128 NumberToInteger(const TNumber& N, TVarType From, TVarType To) {
  switch (N.Kind) {
    case TNumber::nkInt: return N.Int;
    case TNumber::nkCurrency: return currency_detail::DivideRoundingEven(N.Int, Currency::Scale);
    case TNumber::nkFloat: break;
  }
  // 2^63 is exactly representable; anything from it up (or NaN) cannot be an Int64.
  if (!(N.Float >= -9223372036854775808.0 && N.Float < 9223372036854775808.0))
    RaiseOverflow(From, To);
  return Round(N.Float);
}

double NumberToDouble(const TNumber& N) {
  switch (N.Kind) {
    case TNumber::nkInt: return static_cast<double>(N.Int);
    case TNumber::nkCurrency: return static_cast<double>(N.Int) / Currency::Scale;
    case TNumber::nkFloat: break;
  }
  return N.Float;
}

}  // namespace variant_detail

// ======================================================================================
// As... conversions
// ======================================================================================

Integer Variant::AsInteger() const {
  if (FType == varInteger) return static_cast<Integer>(FData.Int);
  return static_cast<Integer>(RangedInteger(*this, varInteger, kInt32Min, kInt32Max));
}

Int64 Variant::AsInt64() const {
  if (FType == varInt64 || FType == varInteger) return FData.Int;
  return static_cast<Int64>(RangedInteger(*this, varInt64, kInt64Min, kInt64Max));
}

UInt64 Variant::AsUInt64() const {
  return static_cast<UInt64>(RangedInteger(*this, varUInt64, 0, kUInt64Max));
}

double Variant::AsDouble() const {
  if (FType == varDouble || FType == varDate) return FData.Double;
  return NumberToDouble(ToNumber(*this, varDouble));
}

Currency Variant::AsCurrency() const {
  if (IsString()) {
    Currency C;
    if (TryStrToCurr(FData.Str->Value, C)) return C;
  }
  const TNumber N = ToNumber(*this, varCurrency);
  switch (N.Kind) {
    case TNumber::nkCurrency: return Currency::FromRaw(static_cast<Int64>(N.Int));
    case TNumber::nkInt:
      if (N.Int > kInt64Max / Currency::Scale || N.Int < kInt64Min / Currency::Scale)
        RaiseOverflow(FType, varCurrency);
      return Currency::FromRaw(static_cast<Int64>(N.Int * Currency::Scale));
    case TNumber::nkFloat: break;
  }
  try {
    return Currency(N.Float);
  } catch (const EOverflow&) {
    RaiseOverflow(FType, varCurrency);
  }
}

TDateTime Variant::AsDateTime() const {
  if (IsString()) {
    TDateTime Value = 0;
    if (TryStrToDateTime(FData.Str->Value, Value)) return Value;
    RaiseCastError(FType, varDate);
  }
  return NumberToDouble(ToNumber(*this, varDate));
}

bool Variant::AsBoolean() const {
  if (FType == varBoolean) return FData.Int != 0;
  if (IsString()) {
    bool Value = false;
    if (TryStrToBool(FData.Str->Value, Value)) return Value;
    RaiseCastError(FType, varBoolean);
  }
  const TNumber N = ToNumber(*this, varBoolean);
  return N.Kind == TNumber::nkFloat ? N.Float != 0 : N.Int != 0;
}

String Variant::AsString() const {
  switch (FType) {
    case varEmpty: return String();
    case varBoolean: return FData.Int ? u"True" : u"False";
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64:
      return IntToStr(FData.Int);
    case varUInt64: case varObjectHandle: return UIntToStr(FData.UInt);
    case varSingle: return FloatToStrF(FData.Single, ffGeneral, 7, 0);
    case varDouble: return FloatToStr(FData.Double);
    case varDate: return DateTimeToStr(FData.Double);
    case varCurrency: return CurrToStr(Currency::FromRaw(FData.Int));
    case varOleStr: case varString: case varUString: return FData.Str->Value;
    default: RaiseCastError(FType, varUString);
  }
}

TObjectHandle Variant::AsHandle() const {
  if (FType == varObjectHandle) return TObjectHandle{FData.UInt};
  if (FType == varEmpty || FType == varNull) return TObjectHandle::Nil;
  if (!IsIntegerType(FType)) RaiseCastError(FType, varObjectHandle);
  return TObjectHandle{static_cast<UInt64>(RangedInteger(*this, varObjectHandle, 0, kUInt64Max))};
}

// ======================================================================================
// Variants.h: casts, text, type tests, object handles
// ======================================================================================

Variant VarAsType(const Variant& V, TVarType Type) {
  if (Type == varVariant || Type == V.VType()) return V;
  if (V.IsArray()) {
    if (!(Type & varArray)) RaiseCastError(V.VType(), Type);
    return ArrayAsType(V, Type);
  }
  if (Type == varEmpty) return Variant();
  if (Type == varNull) return Null();
  if (V.IsNull()) RaiseCastError(varNull, Type);
  if (IsIntegerType(Type)) return IntegerOfKind(V, Type);
  switch (Type) {
    case varSingle: {
      const double D = V.AsDouble();
      if (std::isfinite(D) && std::fabs(D) > std::numeric_limits<float>::max())
        RaiseOverflow(V.VType(), varSingle);
      return Variant(static_cast<float>(D));
    }
    case varDouble: return Variant(V.AsDouble());
    case varCurrency: return Variant(V.AsCurrency());
    case varDate: return Variant::FromDateTime(V.AsDateTime());
    case varBoolean: return Variant(V.AsBoolean());
    case varObjectHandle: return Variant(V.AsHandle());
    case varOleStr: case varString: case varUString: {
      Variant Result(V.AsString());
      Result.SetStringType(Type);
      return Result;
    }
    default: RaiseCastError(V.VType(), Type);
  }
}

String VarToStr(const Variant& V) { return V.IsNull() ? String() : V.AsString(); }

String VarToStrDef(const Variant& V, const String& Default) {
  return V.IsNull() ? Default : V.AsString();
}

bool VarIsOrdinal(const Variant& V) {
  return IsIntegerType(V.VType()) || V.VType() == varBoolean;
}

bool VarIsFloat(const Variant& V) {
  const TVarType T = V.VType();
  return T == varSingle || T == varDouble || T == varCurrency;
}

bool VarIsNumeric(const Variant& V) { return VarIsOrdinal(V) || VarIsFloat(V); }

Variant VarFromObject(void* Object, std::string_view TypeTag) {
  if (Object == nullptr) return Variant(TObjectHandle::Nil);
  return Variant(DefaultHandleRegistry().Register(Object, TypeTag));
}

void* VarToObject(const Variant& V, std::string_view TypeTag) {
  const TObjectHandle Handle = V.AsHandle();
  if (Handle == TObjectHandle::Nil) return nullptr;
  return DefaultHandleRegistry().Lookup(Handle, TypeTag);
}
