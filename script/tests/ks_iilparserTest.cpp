// ks_iilparserTest.cpp - the grammar walker on small grammars: an alternative that cannot start
// at the next character is passed over only where entering it would change nothing.
#include "script/ks_iilparser.h"

#include <gtest/gtest.h>

#include "script/ks_itools.h"
#include "script/tests/ks_TestHost.h"

namespace {

// Items separated by commas, then a full stop. An item is a number or a name; a name may carry
// an error of its own (Named) or not (Plain). With Lead, a name is a rule whose name may follow
// an optional '@', the error then on the '@'.
String Grammar(const char16_t* Language, const char16_t* NameAttr, bool Lead = false) {
  const String Name = Lead ? String(u"<name/>") : u"<ident add=\"node\" " + String(NameAttr) + u"/>";
  return String(u"<?xml version=\"1.0\"?><language text=\"") + Language +
         u"\"><parser><keywords/><errors><err1 text=\"Name expected\"/></errors></parser>"
         u"<types/><empty/><program><loop text=\",\"><item/></loop><char text=\".\"/></program>"
         u"<item node=\"callstmt\"><switch><number add=\"number\"/>" + Name + u"</switch></item>"
         u"<name><optional><char text=\"@\" add=\"addr\" " + NameAttr +
         u"/></optional><ident add=\"node\"/></name></language>";
}

TEST(ksILParser, PassingOverAlternativesKeepsErrorsAndTheirPositions) {
  RegisterLanguageGrammar(u"ItemsNamed", Grammar(u"ItemsNamed", u"err=\"err1\""));
  RegisterLanguageGrammar(u"ItemsPlain", Grammar(u"ItemsPlain", u""));
  RegisterLanguageGrammar(u"LeadNamed", Grammar(u"LeadNamed", u"err=\"err1\"", true));
  RegisterLanguageGrammar(u"LeadPlain", Grammar(u"LeadPlain", u"", true));
  const struct {
    const char16_t* Language;
    const char16_t* Text;
    const char* Expected;  // "ok" or "<pos> <message>"
  } kCases[] = {
      {u"ItemsNamed", u"1, x.", "ok"},
      // The name cannot start with '+', but failing there records its error.
      {u"ItemsNamed", u"1, +.", "1:4 Name expected"},
      {u"ItemsNamed", u"+", "1:1 Name expected"},
      // Nothing records an error: the text is read up to the item begun after the comma.
      {u"ItemsPlain", u"1, +.", "1:4 Syntax error"},
      {u"ItemsPlain", u"1 +", "1:3 Syntax error"},
      {u"ItemsPlain", u"1,2,x.", "ok"},
      // A name whose optional lead fails with an error is entered (its error recorded), where
      // one without is passed over.
      {u"LeadNamed", u"1, @x, y.", "1:8 Name expected"},
      {u"LeadNamed", u"1, +.", "1:4 Name expected"},
      {u"LeadPlain", u"1, +.", "1:4 Syntax error"},
      {u"LeadPlain", u"@x, 2, y.", "ok"},
  };
  for (const auto& C : kCases) {
    SCOPED_TRACE(StringToUtf8(C.Text));
    TksTestHost H(C.Language);
    H.Script->SetText(C.Text);
    std::string Tree;
    std::string Got = H.Script->GetILCode(Tree)
                          ? "ok"
                          : StringToUtf8(H.Script->ErrorPos()) + " " + StringToUtf8(H.Script->ErrorMsg());
    EXPECT_EQ(Got, C.Expected);
  }
}

}  // namespace

TEST(ksILParser, ExecutableLinesAreTheLinesHoldingStatements) {
  // Lines past 9 (ordered as numbers); declarations and blank lines hold no statement.
  String Text = u"var i: Integer;\r\nprocedure P;\r\nbegin\r\n  i := 2\r\nend;\r\nbegin\r\n";
  for (int Line = 7; Line <= 11; ++Line) Text += u"  i := 1;\r\n";
  Text += u"\r\n  P\r\nend.";
  TksTestHost H;
  ASSERT_EQ(H.Run(Text), "");
  std::string Lines;
  for (int Line = -1; Line <= 20; ++Line)
    if (H.Script->IsExecutableLine(Line, String())) Lines += std::to_string(Line) + " ";
  EXPECT_EQ(Lines, "4 7 8 9 10 11 13 ");
  EXPECT_FALSE(H.Script->IsExecutableLine(4, u"Other"));

  // Lines added out of order, twice, or in positions no line number is written as.
  TksScript S;
  for (const char16_t* Pos : {u"12:3", u"4:1", u"12:9", u"-2:1", u"9", u"007:1", u"x:1", u"", u"99999999999:1"})
    S.AddCodeLine(u"U", Pos);
  Lines.clear();
  for (int Line = -3; Line <= 20; ++Line)
    if (S.IsExecutableLine(Line, u"u")) Lines += std::to_string(Line) + " ";
  EXPECT_EQ(Lines, "-2 4 9 12 ");
}

TEST(ksILParser, NumberLiteralsKeepTheirValueAndKind) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"begin Out(007); Out(123456789); Out(2147483647 + 1); Out(4294967296 div 2); "
                  u"Out(1.5 * 2); Out($FF); Out(VarType(123456789) = VarType(1)) end."),
            "7 123456789 2147483648 2147483648 3 255 True");
}

// The type check names the first ill-typed operator by its position, wherever it stands: first,
// after well-typed ones, in a routine's argument, or in a condition.
TEST(ksILParser, IllTypedOperatorsAreReportedAtTheirPosition) {
  const struct {
    const char16_t* Text;
    const char* Expected;  // "ok" or "<pos> <message>"
  } kCases[] = {
      {u"var b: Boolean; begin b := b < True end.", "1:31 Incompatible types"},
      {u"var b: Boolean; i: Integer; begin i := i + 1 + (b < True) * 2 end.", "1:52 Incompatible types"},
      {u"function F(x: Boolean): Boolean; begin Result := x end;\r\n"
       u"var b: Boolean; begin b := F(b < True) end.", "2:33 Incompatible types"},
      {u"var b: Boolean; begin if (b < True) or b then b := True end.", "1:30 Incompatible types"},
      {u"var b: Boolean; begin b := (b = True) and b end.", "ok"},
  };
  for (const auto& C : kCases) {
    SCOPED_TRACE(StringToUtf8(C.Text));
    TksTestHost H(u"PascalScript");
    H.Script->SetText(C.Text);
    std::string Got =
        H.Script->Compile() ? "ok" : StringToUtf8(H.Script->ErrorPos()) + " " + StringToUtf8(H.Script->ErrorMsg());
    EXPECT_EQ(Got, C.Expected);
  }
}
