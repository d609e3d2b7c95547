// ks_iparserTest.cpp - the lexer's token requests, and the XML layer's reading rules.
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "script/ks_iparser.h"
#include "script/ks_xml.h"

TEST(ksParser, TokensAsTheWalkerAsksForThem) {
  TksParser L;
  L.SetText(u"x { note } (* more *) // end\ny");
  EXPECT_EQ(L.GetWord(), u"x");
  EXPECT_EQ(L.GetWord(), u"y");

  struct {
    const char16_t* Text;
    String (TksParser::*Read)();
    const char16_t* Expected;
  } Cases[] = {
      {u"'It''s'", &TksParser::GetString, u"'It's'"},
      {u"'ab'#13#10'cd'", &TksParser::GetString, u"'ab\r\ncd'"},
      {u"''", &TksParser::GetString, u"''"},
      {u"'open\r\n'", &TksParser::GetString, u""},
      {u"1.5e-3", &TksParser::GetNumber, u"1.5e-3"},
      {u"1..2", &TksParser::GetNumber, u"1"},
      {u"1e", &TksParser::GetNumber, u"1"},
      {u"Name>", &TksParser::GetVQString, u"Name"},
      {u"a[\"x>\"]>", &TksParser::GetVQString, u"a[\"x>\"]"},
  };
  for (auto& C : Cases) {
    L.SetText(C.Text);
    EXPECT_EQ((L.*C.Read)(), C.Expected) << StringToUtf8(C.Text);
  }
  L.SetText(u"'open\r\n'");
  L.GetString();
  EXPECT_EQ(L.Position(), 1);
}

TEST(ksParser, KeywordsAreFoundByCaseAndWholeWord) {
  TksParser L;
  for (const char16_t* W : {u"then", u"If", u"in", u"\u00e9t\u00e9"}) L.AddKeyword(W);
  std::string Found;
  for (const char16_t* W : {u"IF", u"iF", u"in", u"is", u"i", u"thens", u"THEN", u"\u00c9T\u00c9"})
    Found += L.IsKeyWord(W) ? "1" : "0";
  EXPECT_EQ(Found, "11100011");
  L.AddKeyword(u"is");  // after a lookup
  EXPECT_TRUE(L.IsKeyWord(u"IS"));
  L.SetCaseSensitive(true);
  Found.clear();
  for (const char16_t* W : {u"If", u"IF", u"in", u"In", u"is"}) Found += L.IsKeyWord(W) ? "1" : "0";
  EXPECT_EQ(Found, "10101");
}

TEST(ksParser, CStyleSettingsAndPositions) {
  TksParser L;
  L.SetHexSequence(u"0x");
  L.SetStringQuotes(u"\"");
  L.SetSpecStrChar(true);
  L.SetText(u"0x1F \"a\\nb\\x41\"\"c\"");
  EXPECT_EQ(L.GetNumber(), u"$1F");
  EXPECT_EQ(L.GetString(), u"'a\nbAc'");
  L.AddKeyword(u"begin");
  L.SetText(u"BEGIN");
  EXPECT_EQ(L.GetIdent(), u"");
  L.SetText(u"ab\ncd");
  L.SetPosition(4);
  EXPECT_EQ(L.GetXYPosition(), u"2:1");
  EXPECT_EQ(L.GetPlainPosition({1, 2}), 4);
}

// Skips are remembered by position; each change they depend on must make them be made anew.
TEST(ksParser, PositionsAskedInAnyOrderGiveTheirLineAndColumn) {
  TksParser L;
  L.SetText(u"ab\ncd\n\nefg");  // line feeds at positions 3, 6 and 7
  struct {
    int Pos;
    const char16_t* Expected;
  } Cases[] = {{1, u"1:1"}, {3, u"1:3"}, {4, u"2:1"}, {5, u"2:2"}, {8, u"4:1"}, {2, u"1:2"},
               {10, u"4:3"}, {7, u"3:1"}, {8, u"4:1"}, {5, u"2:2"}, {6, u"2:3"}, {0, u"1:0"}};
  for (auto& C : Cases) EXPECT_EQ(L.PositionToText(C.Pos), C.Expected) << C.Pos;
  // A shorter text after a long one: what was found last must not carry over.
  L.SetText(u"x\ny");
  EXPECT_EQ(L.PositionToText(3), u"2:1");
  EXPECT_EQ(L.PositionToText(1), u"1:1");
}

TEST(ksParser, RememberedSkipsFollowChangedSettings) {
  TksParser L;
  L.SetText(u"  {c} x");
  EXPECT_EQ(L.GetWord(), u"x");
  L.SetText(u"  y");
  EXPECT_EQ(L.GetWord(), u"y");

  L.SetText(u" \r\n x");
  L.SetSkipEOL(false);
  L.SkipSpaces();
  EXPECT_EQ(L.Position(), 2);
  L.SetSkipEOL(true);
  L.SetPosition(1);
  EXPECT_EQ(L.GetWord(), u"x");

  L.SetText(u"# c\nx");
  EXPECT_EQ(L.GetWord(), u"");
  L.SetCommentLine2(u"#");
  L.SetPosition(1);
  EXPECT_EQ(L.GetWord(), u"x");

  L.SetCommentLine2(u"rem");
  L.SetText(u"rem.\nz");
  EXPECT_EQ(L.GetWord(), u"z");
  L.IdentifierCharset().set(u'.');
  L.SetPosition(1);
  EXPECT_EQ(L.GetWord(), u"rem.");

  L.SetText(u"[c] w");
  EXPECT_EQ(L.GetWord(), u"");
  L.SetCommentBlock1(u"[,]");
  L.SetPosition(1);
  EXPECT_EQ(L.GetWord(), u"w");

  L.SetText(u"& \r\n v");
  EXPECT_EQ(L.GetWord(), u"");
  L.SetSkiPChar(u"&");
  L.SetPosition(1);
  EXPECT_EQ(L.GetWord(), u"v");
}

TEST(ksXML, ReadingRules) {
  TksXMLDocument D;
  D.LoadFromString("<?xml version=\"1.0\" encoding=\"UTF-8\"?><R a=\"1\">text<!-- c --><x></X><y b=\"2\"/></r>");
  ASSERT_EQ(D.Root()->Count(), 2);
  EXPECT_EQ(D.Root()->Prop(u"A"), u"1");
  EXPECT_EQ(D.Root()->Items(1)->Prop(u"b"), u"2");
  EXPECT_EQ(D.Root()->Items(1)->Prop(u"missing"), u"");
  for (const char* Bad : {"<R/>", "<?xml?><a><b></c></a>", "<?xml?><a <b>", "<?xml?><a><b>"}) {
    EXPECT_THROW(D.LoadFromString(Bad), Exception) << Bad;
  }
  D.LoadFromString("<?xml?><a><b c=\"1\"><d/></b></a>");
  D.SetAutoIndent(true);
  EXPECT_EQ(D.SaveToString(), "<?xml version=\"1.0\"?>\r\n<a>\r\n  <b c=\"1\">\r\n    <d/>\r\n  </b>\r\n</a>\r\n");
}
