// Variant.cpp - the Variant's storage: construction, copying, shared strings and arrays, type
// names and the error texts. Conversions are in VariantConvert.cpp, operators in
// VariantOps.cpp, arrays in VariantArray.cpp.
#include "platform/rtl/Variant.h"

#include "platform/rtl/Variant_p.h"

using namespace variant_detail;

// ======================================================================================
// Errors
// ======================================================================================

namespace variant_detail {

void RaiseCastError(TVarType From, TVarType To) {
  throw EVariantTypeCastError(u"Could not convert variant of type (" + VarTypeAsText(From) +
                              u") into type (" + VarTypeAsText(To) + u")");
}

void RaiseOverflow(TVarType From, TVarType To) {
  throw EVariantOverflowError(u"Overflow while converting variant of type (" +
                              VarTypeAsText(From) + u") into type (" + VarTypeAsText(To) + u")");
}

void RaiseInvalidOp() { throw EVariantInvalidOpError(u"Invalid variant operation"); }

// One text for every division by zero (/, div, mod, integer or float, 0/0 included): callers
// recognise it by this message.
void RaiseZeroDivide() { throw EZeroDivide(u"Division by zero"); }

void RaiseBadIndex() {
  throw EVariantBadIndexError(u"Variant or safe array index out of bounds");
}

void RaiseNotArray() { throw EVariantInvalidOpError(u"Variant is not an array"); }

void RaiseBadVarType() { throw EVariantError(u"Invalid variant type"); }

void RaiseFloatOverflow() { throw EOverflow(u"Floating point overflow"); }

// Count is the number of bounds given; pairs beyond the first ask for more dimensions.
void RaiseBadBounds(std::size_t Count) {
  if (Count > 2 && Count % 2 == 0)
    throw EVariantError(u"Only one-dimensional variant arrays are supported");
  throw EVariantError(u"Invalid argument");
}

}  // namespace variant_detail

// ======================================================================================
// Type names
// ======================================================================================

String VarTypeAsText(TVarType Type) {
  if (Type & varArray) return u"Array " + VarTypeAsText(Type & varTypeMask);
  // ORDER VARTYPE
  switch (Type & varTypeMask) {
    case varEmpty: return u"Empty";
    case varNull: return u"Null";
    case varSmallint: return u"Smallint";
    case varInteger: return u"Integer";
    case varSingle: return u"Single";
    case varDouble: return u"Double";
    case varCurrency: return u"Currency";
    case varDate: return u"Date";
    case varOleStr: return u"OleStr";
    case varDispatch: return u"Dispatch";
    case varError: return u"Error";
    case varBoolean: return u"Boolean";
    case varVariant: return u"Variant";
    case varUnknown: return u"Unknown";
    case varShortInt: return u"ShortInt";
    case varByte: return u"Byte";
    case varWord: return u"Word";
    case varLongWord: return u"LongWord";
    case varInt64: return u"Int64";
    case varUInt64: return u"UInt64";
    case varString: return u"String";
    case varUString: return u"String";
    case varObjectHandle: return u"Handle";
    default: return u"Unknown";
  }
}

// ======================================================================================
// Construction and copying
// ======================================================================================

Variant::Variant(const String& Value) : FType(varUString) {
  FData.Str = new TStringRep;
  FData.Str->Value = Value;
}

Variant::Variant(String&& Value) : FType(varUString) {
  FData.Str = new TStringRep;
  FData.Str->Value = std::move(Value);
}

Variant::Variant(std::u16string_view Value) : Variant(String(Value)) {}

Variant::Variant(const char16_t* Value) : Variant(String(Value ? Value : u"")) {}

Variant::Variant(char16_t Value) : Variant(String(1, Value)) {}

Variant Variant::FromDateTime(TDateTime Value) noexcept {
  TData D;
  D.Double = Value;
  return FromRaw(varDate, D);
}

Variant Variant::MakeNull() noexcept {
  TData D;
  D.Int = 0;
  return FromRaw(varNull, D);
}

Variant Variant::FromRaw(TVarType Type, TData Data) noexcept {
  Variant V;
  V.FType = Type;
  V.FData = Data;
  return V;
}

Variant Variant::FromArray(TArrayRep* Rep) noexcept {
  Variant V;
  V.FType = varArray | Rep->ElemType;
  V.FData.Arr = Rep;
  return V;
}

void Variant::AddRef() const noexcept {
  if (IsString()) FData.Str->Refs.fetch_add(1, std::memory_order_relaxed);
  else if (IsArray()) FData.Arr->Refs.fetch_add(1, std::memory_order_relaxed);
}

void Variant::Release() noexcept {
  if (IsString()) {
    if (FData.Str->Refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete FData.Str;
  } else if (IsArray()) {
    if (FData.Arr->Refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete FData.Arr;
  }
  FType = varEmpty;
}

const String& Variant::StringRef() const {
  if (!IsString()) RaiseCastError(FType, varUString);
  return FData.Str->Value;
}

String& Variant::MutableString() {
  if (!IsString()) RaiseCastError(FType, varUString);
  if (FData.Str->Refs.load(std::memory_order_acquire) > 1) {
    auto* Own = new TStringRep;
    Own->Value = FData.Str->Value;
    const TVarType Type = FType;
    Release();
    FType = Type;
    FData.Str = Own;
  }
  return FData.Str->Value;
}

void Variant::SetStringType(TVarType Type) noexcept {
  if (IsString() && IsStringType(Type)) FType = Type;
}
