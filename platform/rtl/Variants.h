// Variants.h - the free routines over Variant: type tests, text conversion, casts, arrays,
// comparison and object handles. The Variant class and its operators are in Variant.h; the
// rules for the open cases are in docs/variant.md.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Variant.h"

inline Variant Null() { return Variant::MakeNull(); }
inline Variant Unassigned() { return Variant(); }

// --- Type tests --------------------------------------------------------------------------
inline TVarType VarType(const Variant& V) { return V.VType(); }
inline bool VarIsType(const Variant& V, TVarType Type) { return V.VType() == Type; }
inline bool VarIsNull(const Variant& V) { return V.IsNull(); }
inline bool VarIsEmpty(const Variant& V) { return V.IsEmpty(); }
inline bool VarIsClear(const Variant& V) { return V.IsEmpty(); }
inline bool VarIsArray(const Variant& V) { return V.IsArray(); }
inline bool VarIsStr(const Variant& V) { return V.IsString(); }
inline bool VarIsHandle(const Variant& V) { return V.IsHandle(); }
// The integer kinds and Boolean.
bool VarIsOrdinal(const Variant& V);
// Single, Double and Currency (a Date is not a float here).
bool VarIsFloat(const Variant& V);
// VarIsOrdinal or VarIsFloat.
bool VarIsNumeric(const Variant& V);

// --- Text --------------------------------------------------------------------------------
// The value as text; Null and Empty give "". Arrays raise the cast error.
String VarToStr(const Variant& V);
// Default when V is Null, else VarToStr.
String VarToStrDef(const Variant& V, const String& Default);
inline String VarToWideStr(const Variant& V) { return VarToStr(V); }

// --- Casts -------------------------------------------------------------------------------
// V converted to the kind Type (any code of Variant.h except the "code only" ones). varVariant
// returns V itself, varEmpty gives Empty, varNull gives Null; converting Null to any other kind
// raises the cast error. An array converts element by element to varArray | element type.
Variant VarAsType(const Variant& V, TVarType Type);
inline void VarCast(Variant& Dest, const Variant& Source, TVarType Type) {
  Dest = VarAsType(Source, Type);
}
inline TDateTime VarToDateTime(const Variant& V) { return V.AsDateTime(); }
inline Variant VarFromDateTime(TDateTime Value) { return Variant::FromDateTime(Value); }

// --- Comparison --------------------------------------------------------------------------
// vrEqual, vrLessThan or vrGreaterThan by the Variant operators; Empty and Null are equal only
// to their own kind and vrNotEqual to anything else.
TVariantRelationship VarCompareValue(const Variant& A, const Variant& B);
// VarCompareValue(A, B) == vrEqual.
bool VarSameValue(const Variant& A, const Variant& B);

// --- Arrays ------------------------------------------------------------------------------
// One-dimensional arrays with bounds Low..High (High = Low - 1 is empty). Elements start as
// Empty for varVariant, 0 for numbers, "" for strings, False for Boolean.
Variant VarArrayCreate(int Low, int High, TVarType ElemType);
// The script form: Bounds holds pairs (low, high), one pair per dimension; only one dimension
// is supported (more raise EVariantError "Only one-dimensional variant arrays are supported").
Variant VarArrayCreate(const std::vector<int>& Bounds, TVarType ElemType);
// A 0-based array of Variants holding Values.
Variant VarArrayOf(std::initializer_list<Variant> Values);
Variant VarArrayOf(const std::vector<Variant>& Values);
// 1 for arrays, 0 for anything else.
int VarArrayDimCount(const Variant& A);
// Dim must be 1; a non-array raises "Variant is not an array".
int VarArrayLowBound(const Variant& A, int Dim);
int VarArrayHighBound(const Variant& A, int Dim);
Variant VarArrayGet(const Variant& A, int Index);
// Stores Value converted to the array's element type.
void VarArrayPut(Variant& A, const Variant& Value, int Index);
// Moves the high bound, keeping the elements that remain; new ones start as in VarArrayCreate.
void VarArrayRedim(Variant& A, int HighBound);
// Byte arrays (varArray | varByte), as blob fields exchange their data.
Variant VarArrayFromBytes(std::string_view Bytes);
std::string VarArrayToBytes(const Variant& A);

// --- Object handles ----------------------------------------------------------------------
// A handle value for Object in the default registry (nullptr gives the Nil handle).
Variant VarFromObject(void* Object, std::string_view TypeTag);
// The object V refers to, checked by the default registry: nullptr for Empty, Null and the Nil
// handle; an unknown, released or foreign handle raises EHandleError; other kinds raise the
// cast error.
void* VarToObject(const Variant& V, std::string_view TypeTag);
template <class T>
T* VarToObjectAs(const Variant& V, std::string_view TypeTag) {
  return static_cast<T*>(VarToObject(V, TypeTag));
}
