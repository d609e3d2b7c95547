// ClassUtils.cpp - the class library's shared helpers (ClassUtils_p.h).
#include "platform/classes/ClassUtils_p.h"

#include <string>

namespace classes_detail {

namespace {
char16_t Lower(char16_t C) { return C >= u'A' && C <= u'Z' ? C + (u'a' - u'A') : C; }
bool IsAlpha(char16_t C) { return (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z') || C == u'_'; }
bool IsDigit(char16_t C) { return C >= u'0' && C <= u'9'; }
}  // namespace

bool SameName(std::u16string_view A, std::u16string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I)
    if (Lower(A[I]) != Lower(B[I])) return false;
  return true;
}

String FormatMsg(std::u16string_view Pattern, std::initializer_list<String> Args) {
  String Result;
  auto Next = Args.begin();
  for (std::size_t I = 0; I < Pattern.size(); ++I) {
    char16_t C = Pattern[I];
    if (C == u'%' && I + 1 < Pattern.size()) {
      char16_t Spec = Pattern[I + 1];
      if (Spec == u'%') {
        Result += u'%';
        ++I;
        continue;
      }
      if ((Spec == u's' || Spec == u'd') && Next != Args.end()) {
        Result += *Next++;
        ++I;
        continue;
      }
    }
    Result += C;
  }
  return Result;
}

String IntToText(Int64 Value) {
  std::string Digits = std::to_string(Value);
  return String(Digits.begin(), Digits.end());
}

bool IsValidIdent(std::u16string_view Name) {
  if (Name.empty() || !IsAlpha(Name[0])) return false;
  for (char16_t C : Name)
    if (!IsAlpha(C) && !IsDigit(C)) return false;
  return true;
}

}  // namespace classes_detail
