// ClassUtils.cpp - the class library's shared helpers (ClassUtils_p.h).
#include "platform/classes/ClassUtils_p.h"

namespace classes_detail {

namespace {
bool IsAlpha(char16_t C) { return (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z') || C == u'_'; }
bool IsDigit(char16_t C) { return C >= u'0' && C <= u'9'; }
}  // namespace

bool IsValidIdent(std::u16string_view Name) {
  if (Name.empty() || !IsAlpha(Name[0])) return false;
  for (char16_t C : Name)
    if (!IsAlpha(C) && !IsDigit(C)) return false;
  return true;
}

}  // namespace classes_detail
