// QuobeVCL.h - the memory stream with a configurable growth step, the locale string compare and
// the few platform wrappers of the grid library that carry rules of their own. The plain
// wrappers of the original (DrawTextW, ScrollWindowEx, SendMessage, ...) are the platform
// layer's own calls here and are used directly.
#pragma once

#include <string_view>

#include "platform/classes/Streams.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/Variants.h"

// A memory stream whose capacity grows in steps of 2 x HalfMemoryDelta bytes (a power of two;
// 4096 by default, so 8192-byte steps). A failed allocation raises EStreamError "Out of memory
// while expanding memory stream" and keeps the old block.
class TMemoryStreamZk : public TMemoryStream {
public:
  TMemoryStreamZk() = default;

  int HalfMemoryDelta() const { return FHalfMemoryDelta; }
  void SetHalfMemoryDelta(int Value) { FHalfMemoryDelta = Value; }

  void SetSize(Int64 NewSize) override;
  // The requested capacity rounded up to the growth step.
  void SetCapacity(Int64 NewCapacity);

private:
  Int64 RoundedCapacity(Int64 Requested) const;
  void Realloc(Int64 NewCapacity);

  int FHalfMemoryDelta = 4096;
};

// --- strings --------------------------------------------------------------------------------------
// The user's collation over the first Len characters of both strings (0: the whole strings):
// -1, 0 or 1 (-2 when the comparison cannot be made).
int CompareWideStrLocale(std::u16string_view S1, std::u16string_view S2, int Len, bool IgnoreCase);
int CompareStrLocale(std::u16string_view S1, std::u16string_view S2, int Len, bool IgnoreCase);

// --- variants -------------------------------------------------------------------------------------
// "" for Null, else the value as text: VarToStr under the name the grids call.
String VarToStrNullEmpty(const Variant& V);
// Null stays Null; varVariant copies; anything else converts as VarCast.
void VarCastNullSafe(Variant& Dest, const Variant& Source, TVarType VarType);
void VarCopyNullSafe(Variant& Dest, const Variant& Source);
inline void RedimVariantArray(Variant& V, int HighBound) { VarArrayRedim(V, HighBound); }
// An object carried in a variant: a checked handle (a released or foreign handle raises), since
// a 64-bit address does not fit the integer the original used.
Variant ObjectToVariant(TObject* Obj);
TObject* VariantToObject(const Variant& V);

// --- datasets -------------------------------------------------------------------------------------
inline int CompareDataSetBookmarks(const TDataSet* DataSet, const TBookmark& B1,
                                   const TBookmark& B2) {
  return DataSet->CompareBookmarks(B1, B2);
}
inline bool DataSetBookmarkValid(const TDataSet* DataSet, const TBookmark& B) {
  return DataSet->BookmarkValid(B);
}
