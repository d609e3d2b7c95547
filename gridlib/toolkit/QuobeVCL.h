// QuobeVCL.h - the memory stream with a configurable growth step, the locale string compare and
// the thin wrappers the grid library calls by its own names (case-aware text compare, locale
// case mapping, text output, rectangles, bitmap resources, the dataset of a source property).
// Window calls without a rule of their own (DrawTextW, ScrollWindowEx, SendMessage, ...) are
// the platform layer's and are called directly.
#pragma once

#include <string_view>

#include "platform/classes/Streams.h"
#include "platform/controls/Controls.h"
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

// The user's collation: AnsiCompareText and AnsiCompareStr under the names the controls use.
int CompareTextIgnoreCase(std::u16string_view S1, std::u16string_view S2);
int CompareTextCaseSensitive(std::u16string_view S1, std::u16string_view S2);
// The locale's case mapping (AnsiUpperCase, AnsiLowerCase).
String UpperCaseLocale(const String& S);
String LowerCaseLocale(const String& S);

// --- drawing --------------------------------------------------------------------------------------
struct DRAWTEXTPARAMS;
class TBitmap;
class TPropInfo;
// The empty rectangle (0, 0, 0, 0).
constexpr TRect ZeroRect() { return TRect{0, 0, 0, 0}; }
// Both corners of Rect from logical to device coordinates of DC.
void LogicalToDeviceRect(HDC DC, TRect& Rect);
// DrawTextEx on the first Count characters of S (-1: all) with a copy of Params.
int DrawTextExString(HDC DC, const String& S, int Count, TRect& Rect, unsigned Format,
                     const DRAWTEXTPARAMS* Params);
// ExtTextOut of the first Count characters of S (-1: all), without a spacing array.
void ExtTextOutString(HDC DC, int X, int Y, unsigned Options, const TRect* Rect, const String& S,
                      int Count);
// The bitmap compiled in under ResName; EResNotFound naming it when there is none.
void LoadBitmapResource(TBitmap* Bitmap, const String& ResName);

// --- variants -------------------------------------------------------------------------------------
// "" for Null, else the value as text: VarToStr under the name the grids call.
String VarToStrNullEmpty(const Variant& V);
// Null stays Null; varVariant copies; anything else converts as VarCast.
void VarCastNullSafe(Variant& Dest, const Variant& Source, TVarType VarType);
void VarCopyNullSafe(Variant& Dest, const Variant& Source);
inline void RedimVariantArray(Variant& V, int HighBound) { VarArrayRedim(V, HighBound); }
// An object carried in a variant: a checked handle (a released or foreign handle raises), since
// a 64-bit address does not fit an integer variant.
Variant ObjectToVariant(TObject* Obj);
TObject* VariantToObject(const Variant& V);

// --- datasets -------------------------------------------------------------------------------------
// The dataset of the data source held by Component's class property PropInfo; nullptr when
// PropInfo is missing, is not a class property, holds no data source, or cannot be read.
TDataSet* DataSetFromSourceProperty(const TComponent* Component, const TPropInfo* PropInfo);
inline int CompareDataSetBookmarks(const TDataSet* DataSet, const TBookmark& B1,
                                   const TBookmark& B2) {
  return DataSet->CompareBookmarks(B1, B2);
}
inline bool DataSetBookmarkValid(const TDataSet* DataSet, const TBookmark& B) {
  return DataSet->BookmarkValid(B);
}
