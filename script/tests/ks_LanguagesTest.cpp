// ks_LanguagesTest.cpp - the same programs in the four languages with the same output, then
// each language's quirks and first errors.
#include <gtest/gtest.h>

#include "platform/classes/Component.h"
#include "script/ks_itools.h"
#include "script/ks_xml.h"
#include "script/tests/ks_TestHost.h"

namespace {

const char16_t* const kLanguages[] = {u"PascalScript", u"D++Ividaz", u"JScript", u"BasicScript"};

// A test host with Get(name) for bracketed expressions and a component named Shop.
struct TLanguageHost : TksTestHost {
  TComponent Shop{nullptr};
  explicit TLanguageHost(const String& Language) : TksTestHost(Language) {
    Shop.SetName(u"Shop");
    Script->AddMethod(u"function Get(Name: String): Variant",
                      [](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
                        return Variant(u"Get:" + VarToStr(H->GetParam(0)));
                      });
    Script->AddObject(u"Shop", &Shop);
  }
};

struct TCrossCase {
  const char* Name;
  const char16_t* Source[4];  // in the order of kLanguages; null where a language lacks it
  const char* Expected;
};

const TCrossCase kCross[] = {
    {"break continue",
     {u"var i: Integer; begin for i := 1 to 10 do begin if i mod 2 = 0 then continue; if i > 7 then break; Out(i) end end.",
      u"{ for (int i = 1; i <= 10; i++) { if (i % 2 == 0) continue; if (i > 7) break; Out(i); } }",
      u"for (i = 1; i <= 10; i++) { if (i % 2 == 0) continue; if (i > 7) break; Out(i); }",
      u"For i = 1 To 10\r\n  If i Mod 2 = 0 Then Continue\r\n  If i > 7 Then Break\r\n  Out(i)\r\nNext"},
     "1 3 5 7"},
    {"while and do",
     {u"var i: Integer; begin i := 0; while i < 3 do i := i + 1; Out(i); repeat i := i - 1 until i = 0; Out(i) end.",
      u"{ int i = 0; while (i < 3) i++; Out(i); do { i--; } while (i > 0); Out(i); }",
      u"i = 0; while (i < 3) i++; Out(i); do { i--; } while (i > 0); Out(i);",
      u"i = 0\r\nWhile i < 3\r\n  i = i + 1\r\nWend\r\nOut(i)\r\nDo\r\n  i = i - 1\r\nLoop Until i = 0\r\nOut(i)"},
     "3 0"},
    {"recursion",
     {u"function Fact(n: Integer): Integer; begin if n <= 1 then Result := 1 else Result := n * Fact(n - 1) end;\r\n"
      u"begin Out(Fact(5)) end.",
      u"int Fact(int n) { if (n <= 1) return 1; return n * Fact(n - 1); }\r\n{ Out(Fact(5)); }",
      u"function Fact(n) { if (n <= 1) return 1; return n * Fact(n - 1); }\r\nOut(Fact(5));",
      u"Function Fact(n)\r\n  If n <= 1 Then\r\n    Return 1\r\n  End If\r\n  Return n * Fact(n - 1)\r\nEnd Function\r\nOut(Fact(5))"},
     "120"},
    {"var parameter",
     {u"procedure Twice(var x: Integer); begin x := x * 2 end; var a: Integer; begin a := 4; Twice(a); Out(a) end.",
      u"void Twice(int &x) { x = x * 2; }\r\n{ int a = 4; Twice(a); Out(a); }",
      u"function Twice(&x) { x = x * 2; }\r\na = 4; Twice(a); Out(a);",
      u"Sub Twice(ByRef x)\r\n  x = x * 2\r\nEnd Sub\r\na = 4\r\nTwice(a)\r\nOut(a)"},
     "8"},
    {"try except finally",
     {u"begin try RaiseException('bad'); Out('no') except Out(ExceptionMessage) end; try Out(1) finally Out(2) end end.",
      u"{ try { RaiseException(\"bad\"); Out(\"no\"); } except { Out(ExceptionMessage); } try { Out(1); } finally { Out(2); } }",
      u"try { RaiseException(\"bad\"); Out(\"no\"); } except { Out(ExceptionMessage); } try { Out(1); } finally { Out(2); }",
      u"Try\r\n  RaiseException(\"bad\")\r\n  Out(\"no\")\r\nCatch\r\n  Out(ExceptionMessage)\r\nEnd Try\r\n"
      u"Try\r\n  Out(1)\r\nFinally\r\n  Out(2)\r\nEnd Try"},
     "bad 1 2"},
    {"case ranges",
     {u"var i: Integer; begin for i := 0 to 4 do case i of 1: Out('one'); 2..3: Out('few') else Out('x') end end.",
      u"{ for (int i = 0; i <= 4; i++) switch (i) { case 1: Out(\"one\"); case 2..3: Out(\"few\"); default: Out(\"x\"); } }",
      u"for (i = 0; i <= 4; i++) switch (i) { case 1: Out(\"one\"); case 2..3: Out(\"few\"); default: Out(\"x\"); }",
      u"For i = 0 To 4\r\n  Select Case i\r\n  Case 1:\r\n    Out(\"one\")\r\n  Case 2..3:\r\n    Out(\"few\")\r\n"
      u"  Case Else:\r\n    Out(\"x\")\r\n  End Select\r\nNext"},
     "x one few few x"},
    {"arrays",
     {u"var a: array[0..2] of Integer; i, s: Integer; begin for i := 0 to 2 do a[i] := i * 2; s := 0; "
      u"for i := 0 to 2 do s := s + a[i]; Out(s) end.",
      u"{ int a[3], i, s = 0; for (i = 0; i < 3; i++) a[i] = i * 2; for (i = 0; i < 3; i++) s = s + a[i]; Out(s); }",
      u"var a[3]; s = 0; for (i = 0; i < 3; i++) a[i] = i * 2; for (i = 0; i < 3; i++) s = s + a[i]; Out(s);",
      u"Dim a[3]\r\ns = 0\r\nFor i = 0 To 2\r\n  a[i] = i * 2\r\nNext\r\nFor i = 0 To 2\r\n  s = s + a[i]\r\nNext\r\nOut(s)"},
     "6"},
    {"with",
     {u"begin with Shop do Out(Name) end.", nullptr, u"with (Shop) Out(Name);",
      u"With Shop\r\n  Out(Name)\r\nEnd With"},
     "Shop"},
    {"strings",
     {u"var s: String; begin s := 'ab'; s := s + 'cd'; Out(Length(s)); Out(Copy(s, 2, 2)); Out(s[4]); Out(Uppercase(s)) end.",
      u"{ string s = \"ab\"; s = s + \"cd\"; Out(Length(s)); Out(Copy(s, 2, 2)); Out(s[4]); Out(Uppercase(s)); }",
      u"s = \"ab\"; s = s + \"cd\"; Out(Length(s)); Out(Copy(s, 2, 2)); Out(s[4]); Out(Uppercase(s));",
      u"s = \"ab\"\r\ns = s & \"cd\"\r\nOut(Length(s)) : Out(Copy(s, 2, 2)) : Out(s[4]) : Out(Uppercase(s))"},
     "4 bc d ABCD"},
    {"report expression",
     {u"begin Out(<Total>) end.", u"{ Out(<Total>); }", u"Out(<Total>);", u"Out(<Total>)"},
     "Get:Total"},
};

}  // namespace

TEST(ScriptLanguages, SameProgramsGiveTheSameOutput) {
  for (int L = 0; L < 4; ++L) {
    TLanguageHost H(kLanguages[L]);
    for (const TCrossCase& C : kCross) {
      if (!C.Source[L]) continue;
      EXPECT_EQ(H.Run(C.Source[L]), C.Expected) << C.Name << " in " << StringToUtf8(kLanguages[L]);
    }
  }
}

TEST(ScriptLanguages, EvaluateInEachLanguage) {
  for (const char16_t* Lang : kLanguages) {
    TLanguageHost H(Lang);
    EXPECT_EQ(VarToStr(H.Script->Evaluate(u"1 + 2 * 3")), u"7") << StringToUtf8(Lang);
    EXPECT_EQ(VarToStr(H.Script->Evaluate(u"Copy(<Total>, 5, 5)")), u"Total") << StringToUtf8(Lang);
  }
}

namespace {

struct TQuirkCase {
  const char* Name;
  const char16_t* Language;
  const char16_t* Source;
  const char* Expected;
};

const TQuirkCase kQuirks[] = {
    // BasicScript.
    {"strcat keeps text", u"BasicScript", u"s = \"5\"\r\ns = s & 1\r\nOut(s)\r\nt = \"abc\"\r\nt = t & 2\r\nOut(t)", "51 abc2"},
    {"rem comment", u"BasicScript", u"Out(1) rem gone\r\nrem also gone\r\nOut(2) ' and this", "1 2"},
    {"rem in a name", u"BasicScript", u"remaining = 5\r\nOut(remaining)", "5"},
    {"line continuation", u"BasicScript", u"Out(1 + _\r\n  2)", "3"},
    {"colon separates", u"BasicScript", u"a = 1 : b = 2 : Out(a + b)", "3"},
    {"one-line if", u"BasicScript", u"If 1 > 2 Then Out(\"no\")\r\nIf 1 < 2 Then Out(\"yes\") : Out(\"too\")", "yes too"},
    {"elseif", u"BasicScript",
     u"For i = 1 To 3\r\n  If i = 1 Then\r\n    Out(\"a\")\r\n  ElseIf i = 2 Then\r\n    Out(\"b\")\r\n  Else\r\n    Out(\"c\")\r\n  End If\r\nNext",
     "a b c"},
    {"step down", u"BasicScript", u"For i = 10 To 1 Step -3\r\n  Out(i)\r\nNext\r\nOut(i)", "10 7 4 1 1"},
    {"float step", u"BasicScript", u"For x = 0 To 1 Step 0.5\r\n  Out(x)\r\nNext", "0 0.5 1"},
    {"counter kept apart from the variable", u"BasicScript", u"For i = 1 To 3\r\n  Out(i)\r\n  i = 10\r\nNext", "1 2 3"},
    {"end at the largest integer", u"BasicScript", u"For i = 2147483646 To 2147483647\r\n  Out(i)\r\nNext", "2147483646 2147483647"},
    {"step zero stops at exit", u"BasicScript",
     u"Sub P\r\n  n = 0\r\n  For i = 1 To 2 Step 0\r\n    n = n + 1\r\n    If n = 3 Then Exit\r\n  Next\r\n  Out(\"no\")\r\nEnd Sub\r\nP\r\nOut(\"done\")",
     "done"},
    {"dim as decimal", u"BasicScript", u"Dim d As Decimal = 1.5, n As Integer\r\nn = 2\r\nOut(d * n)", "3"},
    {"set and div", u"BasicScript", u"Set a = 7 \\ 2\r\nOut(a)\r\nOut(a <> 3)", "3 False"},
    {"function with type", u"BasicScript", u"Function Sq(x As Integer) As Integer\r\n  Return x * x\r\nEnd Function\r\nOut(Sq(4))", "16"},
    {"do while", u"BasicScript", u"i = 0\r\nDo\r\n  i = i + 1\r\nLoop While i < 3\r\nOut(i)", "3"},
    // JScript.
    {"no semicolons", u"JScript", u"a = 1\r\nb = 2\r\nOut(a + b)", "3"},
    {"compound assign", u"JScript", u"var a = 10; a += 5; a -= 3; a *= 2; Out(a);", "24"},
    {"string escapes", u"JScript", u"Out(\"a\\nb\" == \"a\" + Chr(10) + \"b\");", "True"},
    {"logic", u"JScript", u"Out(!(1 == 2) && (3 != 4)); Out(6 ^ 3); Out(1 << 4);", "True 5 16"},
};

}  // namespace

TEST(ScriptLanguages, Quirks) {
  for (const TQuirkCase& C : kQuirks) {
    TLanguageHost H(C.Language);
    EXPECT_EQ(H.Run(C.Source), C.Expected) << C.Name;
  }
}

namespace {

const TQuirkCase kFirstErrors[] = {
    {"stray brace", u"JScript", u"Out(1);\r\n}\r\nOut(2);", "error 2:1: Statement expected"},
    {"stray paren", u"JScript", u"Out(1); )", "error 1:9: Statement expected"},
    {"missing paren", u"JScript", u"if (1 > 2 Out(1);", "error 1:11: ')' expected"},
    {"missing brace", u"JScript", u"function F() { Out(1);", "error 2:1: '}' expected"},
    {"stray loop", u"BasicScript", u"Out(1)\r\nLoop\r\nOut(2)", "error 2:1: Syntax error"},
    {"stray next", u"BasicScript", u"Next", "error 1:1: Syntax error"},
    {"missing then", u"BasicScript", u"If 1 > 2\r\n  Out(1)\r\nEnd If", "error 1:9: 'THEN' expected"},
    {"missing wend", u"BasicScript", u"While 1 > 2\r\n  Out(1)", "error 3:1: 'WEND' expected"},
    {"missing next", u"BasicScript", u"For i = 1 To 2\r\n  Out(i)", "error 3:1: 'NEXT' expected"},
    {"missing to", u"BasicScript", u"For i = 1 2\r\nNext", "error 1:11: 'TO' expected"},
    {"two statements", u"BasicScript", u"a = 1 b = 2", "error 1:7: End of line expected"},
};

}  // namespace

TEST(ScriptLanguages, FirstErrors) {
  for (const TQuirkCase& C : kFirstErrors) {
    TLanguageHost H(C.Language);
    EXPECT_EQ(H.Run(C.Source), C.Expected) << C.Name;
  }
}

TEST(ScriptLanguages, UnitTextsWithLFLineEnds) {
  TLanguageHost H(u"BasicScript");
  H.Script->SetOnGetUnit([](TksScript*, const String&, String& Text) {
    Text = u"Sub Hello\n  Out(\"hello\")\nEnd Sub";
  });
  EXPECT_EQ(H.Run(u"Imports \"u.vb\"\r\nHello"), "hello");
}

TEST(ScriptLanguages, GrammarDocumentsHoldTheirRulesWordsAndErrors) {
  struct {
    const char16_t* Name;
    int Rules, Keywords, Errors;
  } const kSizes[] = {{u"JScript", 42, 22, 17}, {u"BasicScript", 47, 40, 28}};
  for (auto& S : kSizes) {
    TksXMLDocument Doc;
    Doc.LoadFromString(StringToUtf8(LanguageGrammar(S.Name)));
    TksXMLItem* Parser = Doc.Root()->FindItem(u"parser");
    EXPECT_EQ(Doc.Root()->Count() - 2, S.Rules) << StringToUtf8(S.Name);  // less parser and types
    EXPECT_EQ(Parser->FindItem(u"keywords")->Count(), S.Keywords) << StringToUtf8(S.Name);
    EXPECT_EQ(Parser->FindItem(u"errors")->Count(), S.Errors) << StringToUtf8(S.Name);
  }
  std::vector<String> Names = LanguageNames();
  ASSERT_GE(Names.size(), 4u);
  EXPECT_EQ(std::vector<String>(Names.begin(), Names.begin() + 4),
            (std::vector<String>{u"BasicScript", u"JScript", u"D++Ividaz", u"PascalScript"}));
}
