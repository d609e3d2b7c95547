// VariantArray.cpp - the Variant's one-dimensional arrays: bounds, element access with
// copy-on-write, and the VarArray... routines of Variants.h.
#include "platform/rtl/Variant.h"

#include <memory>

#include "platform/rtl/Variant_p.h"
#include "platform/rtl/Variants.h"

using namespace variant_detail;

namespace {

const Variant::TArrayRep& RepOf(const Variant& A) {
  const Variant::TArrayRep* Rep = A.ArrayRep();
  if (Rep == nullptr) RaiseNotArray();
  return *Rep;
}

void CheckDim(int Dim) {
  if (Dim != 1) RaiseBadIndex();
}

std::size_t Offset(const Variant::TArrayRep& Rep, int Index) {
  const Int64 Off = static_cast<Int64>(Index) - Rep.Low;
  if (Off < 0 || Off >= static_cast<Int64>(Rep.Items.size())) RaiseBadIndex();
  return static_cast<std::size_t>(Off);
}

bool IsValidElemType(TVarType T) {
  return T == varVariant || T == varBoolean || T == varSingle || T == varDouble ||
         T == varCurrency || T == varDate || IsIntegerType(T) || IsStringType(T);
}

Variant NewArray(int Low, TVarType ElemType, std::vector<Variant> Items) {
  auto Rep = std::make_unique<Variant::TArrayRep>();
  Rep->Low = Low;
  Rep->ElemType = ElemType;
  Rep->Items = std::move(Items);
  return Variant::FromArray(Rep.release());
}

Variant InitialElement(TVarType ElemType) {
  if (ElemType == varVariant) return Variant();
  return VarAsType(Variant(0), ElemType);
}

}  // namespace

// ======================================================================================
// Member access
// ======================================================================================

int Variant::ArrayLowBound() const { return RepOf(*this).Low; }

int Variant::ArrayHighBound() const {
  const TArrayRep& Rep = RepOf(*this);
  return Rep.Low + static_cast<int>(Rep.Items.size()) - 1;
}

const Variant& Variant::CheckedElement(int Index) const {
  const TArrayRep& Rep = RepOf(*this);
  return Rep.Items[Offset(Rep, Index)];
}

Variant& Variant::SharedElement(int Index) {
  const std::size_t Off = Offset(RepOf(*this), Index);
  return UniqueArray().Items[Off];
}

Variant::TArrayRep& Variant::UniqueArray() {
  TArrayRep& Rep = const_cast<TArrayRep&>(RepOf(*this));
  if (Rep.Refs.load(std::memory_order_acquire) == 1) return Rep;
  auto Copy = std::make_unique<TArrayRep>();
  Copy->Low = Rep.Low;
  Copy->ElemType = Rep.ElemType;
  Copy->Items = Rep.Items;
  *this = FromArray(Copy.release());
  return *FData.Arr;
}

// ======================================================================================
// Routines
// ======================================================================================

Variant VarArrayCreate(int Low, int High, TVarType ElemType) {
  if (!IsValidElemType(ElemType)) RaiseBadVarType();
  if (static_cast<Int64>(High) < static_cast<Int64>(Low) - 1) RaiseBadIndex();
  const auto Size = static_cast<std::size_t>(static_cast<Int64>(High) - Low + 1);
  return NewArray(Low, ElemType, std::vector<Variant>(Size, InitialElement(ElemType)));
}

Variant VarArrayCreate(const std::vector<int>& Bounds, TVarType ElemType) {
  if (Bounds.size() != 2) RaiseBadBounds(Bounds.size());
  return VarArrayCreate(Bounds[0], Bounds[1], ElemType);
}

Variant VarArrayOf(const std::vector<Variant>& Values) {
  return NewArray(0, varVariant, Values);
}

Variant VarArrayOf(std::initializer_list<Variant> Values) {
  return VarArrayOf(std::vector<Variant>(Values));
}

int VarArrayDimCount(const Variant& A) { return A.IsArray() ? 1 : 0; }

int VarArrayLowBound(const Variant& A, int Dim) {
  RepOf(A);
  CheckDim(Dim);
  return A.ArrayLowBound();
}

int VarArrayHighBound(const Variant& A, int Dim) {
  RepOf(A);
  CheckDim(Dim);
  return A.ArrayHighBound();
}

Variant VarArrayGet(const Variant& A, int Index) { return A[Index]; }

void VarArrayPut(Variant& A, const Variant& Value, int Index) {
  const TVarType ElemType = RepOf(A).ElemType;
  Variant& Element = A[Index];
  Element = ElemType == varVariant ? Value : VarAsType(Value, ElemType);
}

void VarArrayRedim(Variant& A, int HighBound) {
  Variant::TArrayRep& Rep = A.UniqueArray();
  if (static_cast<Int64>(HighBound) < static_cast<Int64>(Rep.Low) - 1) RaiseBadIndex();
  const auto Size = static_cast<std::size_t>(static_cast<Int64>(HighBound) - Rep.Low + 1);
  Rep.Items.resize(Size, InitialElement(Rep.ElemType));
}

Variant VarArrayFromBytes(std::string_view Bytes) {
  std::vector<Variant> Items;
  Items.reserve(Bytes.size());
  for (char C : Bytes) Items.emplace_back(static_cast<unsigned char>(C));
  return NewArray(0, varByte, std::move(Items));
}

std::string VarArrayToBytes(const Variant& A) {
  const Variant::TArrayRep& Rep = RepOf(A);
  std::string Bytes;
  Bytes.reserve(Rep.Items.size());
  for (const Variant& Item : Rep.Items) {
    const Integer Value = Item.AsInteger();
    if (Value < 0 || Value > 255) RaiseOverflow(Item.VType(), varByte);
    Bytes.push_back(static_cast<char>(Value));
  }
  return Bytes;
}
