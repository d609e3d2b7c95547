// ks_ProgramsTest.cpp - small programs in PascalScript and D++Ividaz with their output.
#include <gtest/gtest.h>

#include "script/tests/ks_TestHost.h"

namespace {

struct TProgramCase {
  const char* Name;
  const char16_t* Source;
  const char* Expected;
};

void RunTable(const char16_t* Language, const TProgramCase* Cases, size_t Count) {
  TksTestHost H(Language);
  for (size_t i = 0; i < Count; ++i)
    EXPECT_EQ(H.Run(Cases[i].Source), Cases[i].Expected) << Cases[i].Name;
}

const TProgramCase kPascal[] = {
    {"priorities", u"begin Out(2 + 3 * 4); Out((2 + 3) * 4); Out(10 - 4 - 3); Out(7 div 2); Out(7 mod 3); Out(1 / 2 = 0.5) end.",
     "14 20 3 3 1 True"},
    {"unary", u"begin Out(-2 * 3); Out(not True and False); Out(not (True and False)) end.", "-6 False True"},
    {"comparisons", u"begin Out(1 < 2); Out('a' = 'a'); Out(3 >= 4); Out(2 <> 2) end.", "True True False False"},
    {"in set", u"var x: Integer; begin for x := 1 to 6 do if x in [1, 3..5] then Out(x) end.", "1 3 4 5"},
    {"strings", u"var s: String; begin s := 'Кра'; s := s + 'ска'; Out(s); Out(Length(s)); Out(s[2]); s[1] := 'к'; Out(s) end.",
     "Краска 6 р краска"},
    {"string append", u"var s: String; v: Variant; begin s := 'a'; v := 'б'; s := s + v; s := s + s; s := s + 'в'; "
                      u"Out(s) end.",
     "aбaбв"},
    {"if else", u"var i: Integer; begin for i := 1 to 3 do if i = 2 then Out('two') else Out(i) end.", "1 two 3"},
    {"case", u"var i: Integer; begin for i := 0 to 5 do case i of 1: Out('one'); 2..3: Out('few'); 3: Out('never') else Out('x') end end.",
     "x one few few x x"},
    {"for downto", u"var i: Integer; begin for i := 5 downto 1 do Out(i); Out(i); for i := 1 to 0 do Out('no'); Out(i) end.",
     "5 4 3 2 1 1 1"},
    {"while repeat", u"var i: Integer; begin i := 0; while i < 3 do i := i + 1; Out(i); repeat i := i - 1 until i = 0; Out(i) end.",
     "3 0"},
    {"break continue", u"var i: Integer; begin for i := 1 to 10 do begin if i mod 2 = 0 then continue; if i > 7 then break; Out(i) end end.",
     "1 3 5 7"},
    // A body of one statement that ends its loop, and one that exits the routine from a loop.
    {"one-statement bodies", u"function F: Integer; begin Result := 0; while True do if Result > 2 then exit else Result := Result + 1 end;\r\n"
                             u"var i: Integer; begin for i := 1 to 10 do if i > 3 then break; Out(i); i := 0; "
                             u"repeat if i = 2 then break else i := i + 1 until False; Out(i); Out(F) end.",
     "4 2 3"},
    {"routines", u"procedure P(a: Integer; var b: Integer; const c: Integer); begin b := a + c end;\r\n"
                 u"function F(x: Integer; y: Integer = 10): Integer; begin Result := x * y end;\r\n"
                 u"var r: Integer; begin P(1, r, 2); Out(r); Out(F(2)); Out(F(2, 3)) end.",
     "3 20 6"},
    {"recursion", u"function Fact(n: Integer): Integer; begin if n <= 1 then Result := 1 else Result := n * Fact(n - 1) end;\r\n"
                  u"begin Out(Fact(5)) end.", "120"},
    {"forward call", u"procedure A; begin B end; procedure B; begin Out('b') end; begin A end.", "b"},
    {"exit", u"procedure P; begin Out(1); exit; Out(2) end; begin P; Out(3) end.", "1 3"},
    {"try except", u"begin try RaiseException('bad'); Out('no') except Out(ExceptionClassName); Out(ExceptionMessage) end; Out('after') end.",
     "Exception bad after"},
    {"try finally", u"begin try Out(1) finally Out(2) end end.", "1 2"},
    {"host error caught", u"begin try StrToInt('x') except Out(ExceptionClassName) end end.", "EConvertError"},
    {"arrays", u"var a: array[1..3] of Integer; i: Integer; begin for i := 1 to 3 do a[i] := i * i; Out(a[1] + a[2] + a[3]) end.", "14"},
    {"array 2d", u"var a: array[0..1, 0..1] of Integer; begin a[1, 0] := 5; Out(a[1, 0]) end.", "5"},
    {"variant array", u"var v: Variant; begin v := VarArrayCreate([0, 2], varVariant); v[1] := 'x'; Out(v[1]); Out(Length(v)) end.", "x 3"},
    {"const", u"const N = 2 * 3; begin Out(N) end.", "6"},
    {"var init", u"var a, b: Integer = 5; begin Out(a + b) end.", "10"},
    {"system library", u"begin Out(IntToStr(42) + '!'); Out(Copy('abcdef', 2, 3)); Out(Pos('c', 'abc')); Out(Uppercase('ab')); "
                       u"Out(Round(2.5)); Out(Round(3.5)); Out(Trunc(-2.7)); Out(BoolToStr(True)); Out(DaysInMonth(2000, 2)); "
                       u"Out(NameCase('jOHN smith')); Out(Format('%d-%s', [7, 'x'])) end.",
     "42! bcd 3 AB 2 4 -2 -1 29 John Smith 7-x"},
    {"mask text", u"begin Out(FormatMaskText('l 99-99;0;_', 'К1234')); Out(FormatMaskText('l 99-99;1;_', 'Я 1-3') + '|') end.",
     "К 12-34 Я 1 -3 |"},
    {"inc dec", u"var i: Integer; begin i := 1; Inc(i); Inc(i, 5); Dec(i); Out(i) end.", "6"},
    {"delete insert", u"var s: String; begin s := 'abcdef'; Delete(s, 2, 2); Out(s); Insert('XY', s, 2); Out(s) end.", "adef aXYdef"},
    {"comments", u"begin { one } (* two *) Out(1) // three\r\nend.", "1"},
    {"report expression", u"begin Out(<Total>) end.", "error 1:17: Undeclared identifier: 'Get'"},
};

const TProgramCase kCpp[] = {
    {"priorities", u"{ Out(2 + 3 * 4); Out((2 + 3) * 4); Out(7 % 3); Out(1 != 2); Out((1 == 1) && (2 > 3)); }", "14 20 1 True False"},
    {"declarations", u"int n = 5; { int m = 2, k; k = n * m; Out(k); }", "10"},
    {"define", u"#define N 10\r\n{ Out(N + 1); }", "11"},
    {"if else", u"{ for (int i = 1; i <= 3; i++) if (i == 2) Out(\"two\"); else Out(i); }", "1 two 3"},
    {"while do", u"{ int i = 0; while (i < 3) i++; Out(i); do { i--; } while (i > 0); Out(i); }", "3 0"},
    {"switch", u"{ for (int i = 0; i < 4; i++) switch (i) { case 1: Out(\"one\"); case 2, 3: Out(\"more\"); default: Out(\"x\"); } }",
     "x one more more"},
    {"functions", u"int Sq(int x) { return x * x; }\r\nvoid Show(int v, int w = 1) { Out(v + w); }\r\n{ Show(Sq(3)); Show(1, 2); }",
     "10 3"},
    {"var param", u"void Twice(int &x) { x = x * 2; }\r\n{ int a = 4; Twice(a); Out(a); }", "8"},
    {"recursion", u"int Fib(int n) { if (n < 2) return n; return Fib(n - 1) + Fib(n - 2); }\r\n{ Out(Fib(15)); }", "610"},
    {"strings", u"{ string s = \"a\\x41\\n\"; Out(Length(s)); s += \"b\"; Out(Copy(s, 1, 2) + s[4]); }", "3 aAb"},
    {"try", u"{ try { RaiseException(\"e\"); } except { Out(ExceptionMessage); } try { Out(1); } finally { Out(2); } }", "e 1 2"},
    {"arrays", u"{ int a[3]; a[0] = 1; a[2] = 3; Out(a[0] + a[2]); }", "4"},
    {"case sensitive keywords", u"{ int If = 3; Out(If); }", "3"},
    {"hex", u"{ Out(0x1F); }", "31"},
};

}  // namespace

TEST(ScriptPrograms, PascalScript) { RunTable(u"PascalScript", kPascal, std::size(kPascal)); }
TEST(ScriptPrograms, CppScript) { RunTable(u"D++Ividaz", kCpp, std::size(kCpp)); }
