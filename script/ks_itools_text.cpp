// ks_itools_text.cpp - ks_itools: case-insensitive text helpers and the grammar registry.
#include "script/ks_itools.h"

#include <utility>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Resources.h"
#include "script/ks_imessages.h"

Char ksUpChar(Char C) {
  if (C < 0x80) return C >= u'a' && C <= u'z' ? static_cast<Char>(C - 32) : C;
  if (C >= 0x430 && C <= 0x44F) return static_cast<Char>(C - 32);
  if (C >= 0x450 && C <= 0x45F) return static_cast<Char>(C - 80);
  if (C >= 0xE0 && C <= 0xFE && C != 0xF7) return static_cast<Char>(C - 32);
  return C;
}

namespace {
Char LowChar(Char C) {
  if (C < 0x80) return C >= u'A' && C <= u'Z' ? static_cast<Char>(C + 32) : C;
  if (C >= 0x410 && C <= 0x42F) return static_cast<Char>(C + 32);
  if (C >= 0x400 && C <= 0x40F) return static_cast<Char>(C + 80);
  if (C >= 0xC0 && C <= 0xDE && C != 0xD7) return static_cast<Char>(C + 32);
  return C;
}
}  // namespace

String ksUpperCase(std::u16string_view S) {
  String R(S);
  for (Char& C : R) C = ksUpChar(C);
  return R;
}

String ksLowerCase(std::u16string_view S) {
  String R(S);
  for (Char& C : R) C = LowChar(C);
  return R;
}

int ksCompareText(std::u16string_view A, std::u16string_view B) {
  size_t N = std::min(A.size(), B.size());
  for (size_t i = 0; i < N; ++i) {
    Char X = ksUpChar(A[i]), Y = ksUpChar(B[i]);
    if (X != Y) return X < Y ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

bool ksSameText(std::u16string_view A, std::u16string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (A[i] != B[i] && ksUpChar(A[i]) != ksUpChar(B[i])) return false;
  return true;
}

// ---- Grammar registry -----------------------------------------------------------------------

String ksCRLFText(std::u16string_view S) {
  String R;
  R.reserve(S.size() + S.size() / 16 + 2);
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == u'\r' || S[i] == u'\n') {
      if (S[i] == u'\r' && i + 1 < S.size() && S[i + 1] == u'\n') ++i;
      R += u"\r\n";
    } else {
      R += S[i];
    }
  }
  if (R.size() < 2 || R.compare(R.size() - 2, 2, u"\r\n") != 0) R += u"\r\n";
  return R;
}

namespace {

std::vector<std::pair<String, String>>& Registry() {
  static std::vector<std::pair<String, String>> List = [] {
    // The shipped languages, in the order they are registered at start-up.
    std::vector<std::pair<String, String>> L;
    const std::pair<const char16_t*, const char*> Shipped[] = {
        {u"BasicScript", "grammars/basicscript.xml"}, {u"JScript", "grammars/jscript.xml"},
        {u"D++Ividaz", "grammars/cppscript.xml"}, {u"PascalScript", "grammars/pascalscript.xml"}};
    for (auto& [Name, Res] : Shipped)
      if (FindResource(Res)) L.emplace_back(Name, Utf8ToString(LoadResource(Res)));
    return L;
  }();
  return List;
}

}  // namespace

void RegisterLanguageGrammar(const String& Name, const String& Grammar) {
  for (auto& Entry : Registry())
    if (ksSameText(Entry.first, Name)) {
      Entry.second = Grammar;
      return;
    }
  Registry().emplace_back(Name, Grammar);
}

const String& LanguageGrammar(const String& Name) {
  for (auto& Entry : Registry())
    if (ksSameText(Entry.first, Name)) return Entry.second;
  String Msg = SLangNotFound;
  size_t P = Msg.find(u"%s");
  if (P != String::npos) Msg.replace(P, 2, Name);
  throw Exception(Msg);
}

std::vector<String> LanguageNames() {
  std::vector<String> R;
  for (auto& Entry : Registry()) R.push_back(Entry.first);
  return R;
}
