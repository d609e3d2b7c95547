// QuobeVCL.cpp - the growing memory stream, the locale compare and the variant helpers.
#include "gridlib/toolkit/QuobeVCL.h"

#include <algorithm>

#include "platform/classes/Object.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/db/DataSource.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/WinDraw.h"
#include "platform/rtl/Resources.h"
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

int CompareTextIgnoreCase(std::u16string_view S1, std::u16string_view S2) {
  return AnsiCompareText(S1, S2);
}

int CompareTextCaseSensitive(std::u16string_view S1, std::u16string_view S2) {
  return AnsiCompareStr(S1, S2);
}

String UpperCaseLocale(const String& S) { return AnsiUpperCase(S); }
String LowerCaseLocale(const String& S) { return AnsiLowerCase(S); }

// --- drawing --------------------------------------------------------------------------------------

namespace {
String HeadOf(const String& S, int Count) {
  return Count < 0 || std::size_t(Count) >= S.size() ? S : S.substr(0, std::size_t(Count));
}
}  // namespace

void LogicalToDeviceRect(HDC DC, TRect& Rect) {
  const TPoint A = DC->LPtoDP(TPoint{Rect.Left, Rect.Top});
  const TPoint B = DC->LPtoDP(TPoint{Rect.Right, Rect.Bottom});
  Rect = TRect{A.X, A.Y, B.X, B.Y};
}

int DrawTextExString(HDC DC, const String& S, int Count, TRect& Rect, unsigned Format,
                     const DRAWTEXTPARAMS* Params) {
  if (!Params) return DrawTextEx(DC, HeadOf(S, Count), Rect, Format, nullptr);
  DRAWTEXTPARAMS Copy = *Params;
  return DrawTextEx(DC, HeadOf(S, Count), Rect, Format, &Copy);
}

void ExtTextOutString(HDC DC, int X, int Y, unsigned Options, const TRect* Rect, const String& S,
                      int Count) {
  DC->ExtTextOut(X, Y, Options, Rect, HeadOf(S, Count));
}

void LoadBitmapResource(TBitmap* Bitmap, const String& ResName) {
  Bitmap->LoadFromBytes(LoadResource(ToUtf8(ResName)));
}

// --- datasets -------------------------------------------------------------------------------------

TDataSet* DataSetFromSourceProperty(const TComponent* Component, const TPropInfo* PropInfo) {
  if (!Component || !PropInfo || PropInfo->Kind() != tkClass) return nullptr;
  try {
    auto* Source = dynamic_cast<TDataSource*>(PropInfo->GetObject(Component));
    return Source ? Source->DataSet() : nullptr;
  } catch (const Exception&) {
    // A property that cannot be read names no dataset; callers only ask "which dataset".
    return nullptr;
  }
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
