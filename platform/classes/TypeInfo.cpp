// TypeInfo.cpp - enumeration and set type information.
#include "platform/classes/TypeInfo.h"

#include <cassert>
#include <string_view>

#include "platform/classes/ClassUtils_p.h"
#include "platform/rtl/SysUtils.h"

using namespace classes_detail;

namespace {
bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r'; }

// Splits the stringified list "alNone, alTop, alBottom".
std::vector<String> SplitNames(std::string_view Names) {
  std::vector<String> Result;
  while (!Names.empty()) {
    std::size_t Comma = Names.find(',');
    std::string_view Item = Names.substr(0, Comma);
    while (!Item.empty() && IsBlank(Item.front())) Item.remove_prefix(1);
    while (!Item.empty() && IsBlank(Item.back())) Item.remove_suffix(1);
    String Name = Utf8ToString(Item);
    assert(IsValidIdent(Name) && "enumeration values are plain identifiers numbered from 0");
    Result.push_back(std::move(Name));
    if (Comma == std::string_view::npos) break;
    Names.remove_prefix(Comma + 1);
  }
  return Result;
}
}  // namespace

TEnumInfo::TEnumInfo(const char* TypeName, const char* Names)
    : FName(Utf8ToString(TypeName)), FValueNames(SplitNames(Names)) {
  for (std::size_t I = 0; I < FValueNames.size() && FNamesDifferInText; ++I)
    for (std::size_t J = I + 1; J < FValueNames.size(); ++J)
      if (SameText(FValueNames[I], FValueNames[J])) {
        FNamesDifferInText = false;
        break;
      }
}

String TEnumInfo::ValueName(int Ordinal) const {
  if (Ordinal < 0 || Ordinal >= Count()) return IntToStr(Ordinal);
  return FValueNames[Ordinal];
}

int TEnumInfo::IndexOf(std::u16string_view ValueName) const {
  // Streamed values are nearly always spelled as declared: an exact match is the answer unless
  // an earlier name equals it but for case.
  if (FNamesDifferInText)
    for (int I = 0; I < Count(); ++I)
      if (FValueNames[I] == ValueName) return I;
  for (int I = 0; I < Count(); ++I)
    if (SameText(FValueNames[I], ValueName)) return I;
  return -1;
}

TSetInfo::TSetInfo(const char* TypeName, const TEnumInfo* ElementType)
    : FName(Utf8ToString(TypeName)), FElementType(ElementType) {}

const TEnumInfo* EnumInfoOf(bool*) {
  static const TEnumInfo Info("Boolean", "False, True");
  return &Info;
}
