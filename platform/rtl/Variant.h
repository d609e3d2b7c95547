// Variant.h - the tagged value every subsystem exchanges: field values, script values, report
// expressions.
//
// How to use it
//   Variant V = 42;              // implicit from the C++ types: bool, the integer types, float,
//   V = 1.5;                     // double, Currency, String, const char16_t*, TObjectHandle
//   V = u"Краска";               // (narrow C strings are refused: write u"..."; u'x' is a
//                                // one-character string)
//   V = Variant::FromDateTime(EncodeDate(2024, 5, 1));  // TDateTime is a double: say it is a date
//   V = Null(); V = Unassigned();                       // from Variants.h
//   V.VType();                   // the class library's type code: varInteger, varUString, ...
//   V.AsInteger(); V.AsInt64(); V.AsDouble(); V.AsCurrency(); V.AsDateTime(); V.AsBoolean();
//   V.AsString();                // explicit conversions with the class library's rules; a value
//                                // that cannot convert raises EVariantTypeCastError
//                                // "Could not convert variant of type (String) into type
//                                // (Double)", out of range EVariantOverflowError; Null raises
//                                // (VarToStr in Variants.h gives "" for Null); texts are
//                                // read and written with the global FormatSettings
//   A + B, A - B, A * B, A / B, -A, A % B (mod), VarIntDiv(A, B) (div),
//   A & B, A | B, A ^ B, ~A (and, or, xor, not), A << N, A >> N (shl, shr)
//   A == B, A != B, A < B, ...   // bool, with the Null rules of docs/variant.md
//   VarBinaryOp(opAdd, A, B)     // the same operations by code, for the script engine
//   V[I]                         // array element by reference (bounds checked)
//
// docs/variant.md holds the table of rules for Null, Empty, mixed strings and numbers, integer
// overflow, string order and dates; Variants.h has the free routines (VarType, VarToStr,
// VarArrayCreate, VarCompareValue, ...).
//
// Representation: 16 bytes, a type code and an 8-byte payload. Strings and arrays live in
// shared reference-counted blocks; an array is copied when a shared one is written (so copying a
// Variant copies its array, as far as anybody can observe). A string is changed in place only
// through MutableString, which copies a shared one first.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/Types.h"

using TVarType = std::uint16_t;

// ORDER VARTYPE: the class library's codes; VarTypeAsText (Variant.cpp) names each of them.
constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varSmallint = 0x0002;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varSingle = 0x0004;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varCurrency = 0x0006;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varOleStr = 0x0008;
constexpr TVarType varDispatch = 0x0009;  // code only: no automation objects here
constexpr TVarType varError = 0x000A;     // code only
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;   // element type of Variant arrays; "any" in VarAsType
constexpr TVarType varUnknown = 0x000D;   // code only
constexpr TVarType varShortInt = 0x0010;
constexpr TVarType varByte = 0x0011;
constexpr TVarType varWord = 0x0012;
constexpr TVarType varLongWord = 0x0013;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varUInt64 = 0x0015;
constexpr TVarType varString = 0x0100;
constexpr TVarType varUString = 0x0102;
// Our own kind: a checked object handle from THandleRegistry (Handles.h). The code is unused
// by the class library.
constexpr TVarType varObjectHandle = 0x0110;
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;
constexpr TVarType varByRef = 0x4000;  // code only: references are C++ references here

// The result of VarCompareValue.
enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// The operations of VarBinaryOp / VarUnaryOp.
enum TVarOp {
  opAdd, opSubtract, opMultiply, opDivide, opIntDivide, opModulus, opShiftLeft, opShiftRight,
  opAnd, opOr, opXor, opNegate, opNot
};

// "Invalid variant operation": an operator applied to arrays, handles or a type it has no
// meaning for.
VORENTA_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError);

class Variant {
public:
  // --- Construction ----------------------------------------------------------------------
  Variant() noexcept : FType(varEmpty) { FData.Int = 0; }
  Variant(bool Value) noexcept : FType(varBoolean) { FData.Int = Value; }
  Variant(signed char Value) noexcept : FType(varShortInt) { FData.Int = Value; }
  Variant(unsigned char Value) noexcept : FType(varByte) { FData.Int = Value; }
  Variant(short Value) noexcept : FType(varSmallint) { FData.Int = Value; }
  Variant(unsigned short Value) noexcept : FType(varWord) { FData.Int = Value; }
  Variant(int Value) noexcept : FType(varInteger) { FData.Int = Value; }
  Variant(unsigned Value) noexcept : FType(varLongWord) { FData.Int = Value; }
  Variant(long Value) noexcept : FType(varInt64) { FData.Int = Value; }
  Variant(long long Value) noexcept : FType(varInt64) { FData.Int = Value; }
  Variant(unsigned long Value) noexcept : FType(varUInt64) { FData.UInt = Value; }
  Variant(unsigned long long Value) noexcept : FType(varUInt64) { FData.UInt = Value; }
  Variant(float Value) noexcept : FType(varSingle) { FData.Single = Value; }
  Variant(double Value) noexcept : FType(varDouble) { FData.Double = Value; }
  Variant(Currency Value) noexcept : FType(varCurrency) { FData.Int = Value.Raw(); }
  Variant(TObjectHandle Value) noexcept : FType(varObjectHandle) {
    FData.UInt = static_cast<std::uint64_t>(Value);
  }
  Variant(const String& Value);
  Variant(String&& Value);
  Variant(std::u16string_view Value);
  Variant(const char16_t* Value);
  Variant(char16_t Value);         // a one-character string
  Variant(char) = delete;          // neither a number nor a UTF-16 character: say which
  Variant(const char*) = delete;   // write u"..." (or Utf8ToString for UTF-8 bytes)
  Variant(const void*) = delete;   // objects travel as handles, never as addresses

  static Variant FromDateTime(TDateTime Value) noexcept;
  static Variant MakeNull() noexcept;

  // Copies and moves are inline: scalars are copied as they stand, strings and arrays take
  // a reference.
  Variant(const Variant& Other) noexcept : FType(Other.FType), FData(Other.FData) {
    if (OwnsBlock()) AddRef();
  }
  Variant(Variant&& Other) noexcept : FType(Other.FType), FData(Other.FData) {
    Other.FType = varEmpty;
  }
  Variant& operator=(const Variant& Other) noexcept {
    if (this != &Other) {
      Variant Copy(Other);
      *this = std::move(Copy);
    }
    return *this;
  }
  Variant& operator=(Variant&& Other) noexcept {
    if (this != &Other) {
      if (OwnsBlock()) Release();
      FType = Other.FType;
      FData = Other.FData;
      Other.FType = varEmpty;
    }
    return *this;
  }
  ~Variant() { if (OwnsBlock()) Release(); }

  // --- Kind ------------------------------------------------------------------------------
  // The type code; arrays report varArray | element type.
  TVarType VType() const noexcept { return FType; }
  bool IsEmpty() const noexcept { return FType == varEmpty; }
  bool IsNull() const noexcept { return FType == varNull; }
  bool IsArray() const noexcept { return FType & varArray; }
  bool IsString() const noexcept {
    return FType == varUString || FType == varOleStr || FType == varString;
  }
  bool IsHandle() const noexcept { return FType == varObjectHandle; }
  void Clear() noexcept { *this = Variant(); }

  // --- Conversions (VariantConvert.cpp) --------------------------------------------------
  // Floats round to the nearest integer, halves to even; Boolean True is -1.
  Integer AsInteger() const;
  Int64 AsInt64() const;
  UInt64 AsUInt64() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  TDateTime AsDateTime() const;
  // Numbers are true when non-zero; texts "True"/"False" in any case, or a number.
  bool AsBoolean() const;
  // Numbers through IntToStr/FloatToStr (15 digits, locale separator), Currency through
  // CurrToStr, dates through DateTimeToStr, Boolean "True"/"False", a handle as its number.
  String AsString() const;
  // The handle of a varObjectHandle value (Nil for Empty, Null and integer 0).
  TObjectHandle AsHandle() const;
  // The text of a string value without a copy; the value must be a string.
  const String& StringRef() const;
  // The text of a string value for changing in place: a text shared with other Variants is
  // copied first, so the change reaches this Variant only.
  String& MutableString();

  // --- Arrays (VariantArray.cpp) ---------------------------------------------------------
  // One-dimensional, with any low bound. Index is checked: EVariantBadIndexError.
  int ArrayLowBound() const;
  int ArrayHighBound() const;
  int ArrayLength() const { return ArrayHighBound() - ArrayLowBound() + 1; }
  // The element by reference. The non-const form unshares the array first, so the write
  // reaches this Variant only. Writes through the reference are stored as given (VarArrayPut
  // converts to the array's element type). Inline for an unshared array and an index in
  // range (below); the rest, and every error, out of line.
  inline Variant& operator[](int Index);
  inline const Variant& operator[](int Index) const;

  // --- Internals for the unit's own sources ----------------------------------------------
  struct TStringRep;
  struct TArrayRep;
  union TData {
    Int64 Int;        // every signed and small integer kind, Boolean, Currency's raw value
    UInt64 UInt;      // UInt64, handles
    float Single;
    double Double;    // Double and Date
    TStringRep* Str;  // the three string kinds
    TArrayRep* Arr;   // arrays
  };
  const TData& Data() const noexcept { return FData; }
  static Variant FromRaw(TVarType Type, TData Data) noexcept;  // non-pointer kinds only
  static Variant FromArray(TArrayRep* Rep) noexcept;           // takes over one reference
  TArrayRep* ArrayRep() const noexcept { return FType & varArray ? FData.Arr : nullptr; }
  // The array's block, copied first when another Variant shares it; the value must be an array.
  TArrayRep& UniqueArray();
  // Sets the type code of a string value (varOleStr/varString/varUString share storage).
  void SetStringType(TVarType Type) noexcept;

private:
  Variant& SharedElement(int Index);
  const Variant& CheckedElement(int Index) const;
  // Scalars (every code below varString but varOleStr) are decided by one or two compares:
  // this runs on every copy, move and destruction.
  bool OwnsBlock() const noexcept {
    return FType < varString ? FType == varOleStr
                             : (FType & varArray) || FType == varString || FType == varUString;
  }
  void AddRef() const noexcept;
  void Release() noexcept;

  TVarType FType;
  TData FData;
};

static_assert(sizeof(Variant) == 16, "Variant must stay small");

// The shared block of an array, here so that element access can be inline.
struct Variant::TArrayRep {
  std::atomic<int> Refs{1};
  int Low = 0;
  TVarType ElemType = varVariant;
  std::vector<Variant> Items;
  // The element at Index, or null when Index is out of bounds.
  Variant* At(int Index) noexcept {
    const std::size_t Off = static_cast<std::size_t>(static_cast<Int64>(Index) - Low);
    return Off < Items.size() ? &Items[Off] : nullptr;
  }
};

inline Variant& Variant::operator[](int Index) {
  if (FType & varArray && FData.Arr->Refs.load(std::memory_order_acquire) == 1)
    if (Variant* E = FData.Arr->At(Index)) return *E;
  return SharedElement(Index);
}

inline const Variant& Variant::operator[](int Index) const {
  if (FType & varArray)
    if (const Variant* E = FData.Arr->At(Index)) return *E;
  return CheckedElement(Index);
}

// --- Operators (VariantOps.cpp); the rules are in docs/variant.md ---------------------------
Variant VarBinaryOp(TVarOp Op, const Variant& A, const Variant& B);
Variant VarUnaryOp(TVarOp Op, const Variant& A);
// div: integer division, truncated toward zero.
inline Variant VarIntDiv(const Variant& A, const Variant& B) {
  return VarBinaryOp(opIntDivide, A, B);
}

inline Variant operator+(const Variant& A, const Variant& B) { return VarBinaryOp(opAdd, A, B); }
inline Variant operator-(const Variant& A, const Variant& B) {
  return VarBinaryOp(opSubtract, A, B);
}
inline Variant operator*(const Variant& A, const Variant& B) {
  return VarBinaryOp(opMultiply, A, B);
}
inline Variant operator/(const Variant& A, const Variant& B) {
  return VarBinaryOp(opDivide, A, B);
}
inline Variant operator%(const Variant& A, const Variant& B) {
  return VarBinaryOp(opModulus, A, B);
}
inline Variant operator&(const Variant& A, const Variant& B) { return VarBinaryOp(opAnd, A, B); }
inline Variant operator|(const Variant& A, const Variant& B) { return VarBinaryOp(opOr, A, B); }
inline Variant operator^(const Variant& A, const Variant& B) { return VarBinaryOp(opXor, A, B); }
inline Variant operator<<(const Variant& A, const Variant& B) {
  return VarBinaryOp(opShiftLeft, A, B);
}
inline Variant operator>>(const Variant& A, const Variant& B) {
  return VarBinaryOp(opShiftRight, A, B);
}
inline Variant operator-(const Variant& A) { return VarUnaryOp(opNegate, A); }
inline Variant operator~(const Variant& A) { return VarUnaryOp(opNot, A); }

// Comparisons. VarEquals/VarLess hold the rules; the operators forward.
bool VarEquals(const Variant& A, const Variant& B);
bool VarLess(const Variant& A, const Variant& B);
inline bool operator==(const Variant& A, const Variant& B) { return VarEquals(A, B); }
inline bool operator!=(const Variant& A, const Variant& B) { return !VarEquals(A, B); }
inline bool operator<(const Variant& A, const Variant& B) { return VarLess(A, B); }
inline bool operator>(const Variant& A, const Variant& B) { return VarLess(B, A); }
inline bool operator<=(const Variant& A, const Variant& B) { return !VarLess(B, A); }
inline bool operator>=(const Variant& A, const Variant& B) { return !VarLess(A, B); }

// The name of a type code as error messages show it: "Integer", "String", "Array Variant".
String VarTypeAsText(TVarType Type);
