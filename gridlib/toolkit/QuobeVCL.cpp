// QuobeVCL.cpp - the growing memory stream, the locale compare and the variant helpers.
#include "gridlib/toolkit/QuobeVCL.h"

#include <algorithm>

#include "platform/classes/Object.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr std::string_view ObjectTag = "TObject";

std::u16string_view Head(std::u16string_view S, int Len) {
  return Len > 0 ? S.substr(0, static_cast<std::size_t>(Len)) : S;
}

}  // namespace

// --- TMemoryStreamZk ------------------------------------------------------------------------------

Int64 TMemoryStreamZk::RoundedCapacity(Int64 Requested) const {
  if (Requested <= 0 || Requested == FSize) return Requested;
  const Int64 Step = Int64(FHalfMemoryDelta) * 2;
  return (Requested + Step - 1) / Step * Step;
}

void TMemoryStreamZk::Realloc(Int64 NewCapacity) {
  NewCapacity = RoundedCapacity(NewCapacity);
  if (NewCapacity == Capacity()) return;
  try {
    TMemoryStream::SetCapacity(NewCapacity);
  } catch (const EOutOfMemory&) {
    // The base keeps its block on failure; report it as the stream error callers expect.
    throw EStreamError(u"Out of memory while expanding memory stream");
  }
}

void TMemoryStreamZk::SetCapacity(Int64 NewCapacity) { Realloc(std::max(NewCapacity, FSize)); }

void TMemoryStreamZk::SetSize(Int64 NewSize) {
  if (NewSize > Capacity()) Realloc(NewSize);
  TMemoryStream::SetSize(NewSize);
}

// --- strings --------------------------------------------------------------------------------------

int CompareWideStrLocale(std::u16string_view S1, std::u16string_view S2, int Len,
                         bool IgnoreCase) {
  const auto A = Head(S1, Len), B = Head(S2, Len);
  return IgnoreCase ? AnsiCompareText(A, B) : AnsiCompareStr(A, B);
}

int CompareStrLocale(std::u16string_view S1, std::u16string_view S2, int Len, bool IgnoreCase) {
  return CompareWideStrLocale(S1, S2, Len, IgnoreCase);
}

// --- variants -------------------------------------------------------------------------------------

String VarToStrNullEmpty(const Variant& V) { return VarToStr(V); }

void VarCastNullSafe(Variant& Dest, const Variant& Source, TVarType VarType) {
  if (VarIsNull(Source))
    Dest = Null();
  else if (VarType == varVariant)
    Dest = Source;
  else
    VarCast(Dest, Source, VarType);
}

void VarCopyNullSafe(Variant& Dest, const Variant& Source) {
  VarCastNullSafe(Dest, Source, varVariant);
}

Variant ObjectToVariant(TObject* Obj) { return VarFromObject(Obj, ObjectTag); }

TObject* VariantToObject(const Variant& V) { return VarToObjectAs<TObject>(V, ObjectTag); }
