// Uf_data.cpp - RoundToDigits and SanitizeFileName.
#include "app/Uf_data.h"

#include <cassert>
#include <cmath>

#include "platform/rtl/SysUtils.h"

namespace {

constexpr std::size_t kMaxFileNameLength = 100;

bool IsForbiddenFileNameChar(Char Ch) {
  return Ch == u'/' || Ch == u'?' || Ch == u'*' || Ch == u'"' || Ch == u'\\';
}

}  // namespace

double RoundToDigits(double Value, int Digits) {
  assert(Digits >= 0 && "RoundToDigits takes a non-negative number of decimals");
  const double Scale = std::pow(10.0, Digits);
  return std::trunc(Value * Scale + std::copysign(0.5, Value)) / Scale;
}

String SanitizeFileName(const String& Name) {
  const String Kept = Name.substr(0, kMaxFileNameLength);
  String Result;
  String Piece;
  auto FlushPiece = [&] {
    if (Piece.empty()) return;
    if (!Result.empty()) Result += u'-';
    Result += Piece;
    Piece.clear();
  };
  for (Char Ch : Kept) {
    if (IsForbiddenFileNameChar(Ch))
      FlushPiece();
    else
      Piece += Ch;
  }
  FlushPiece();
  return Trim(Result);
}
