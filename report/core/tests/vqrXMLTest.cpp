// vqrXMLTest.cpp - the XML dialect: value codes, attribute edits, parsing, writing, unloading.
#include "report/core/vqrXML.h"

#include <gtest/gtest.h>

#include "platform/classes/Streams.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::string Save(TvqrXMLDocument& Doc) {
  TStringStream Out{std::string_view()};
  Doc.SaveToStream(&Out);
  return Out.Bytes();
}

void Load(TvqrXMLDocument& Doc, const std::string& Text) {
  TStringStream In{std::string_view(Text)};
  Doc.LoadFromStream(&In);
}

const std::string kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";

}  // namespace

TEST(VqrXMLValues, EncodeAndDecode) {
  struct {
    const char16_t* Plain;
    const char16_t* Encoded;
  } Cases[] = {
      {u"a\r\nb", u"a&#13;&#10;b"},
      {u"\"x\" & <y>", u"&#34;x&#34; &#38; &#60;y&#62;"},
      {u"Краска ' / é", u"Краска ' / é"},
      {u"&", u"&#38;"},
      {u"0123456789012345678901234567890123456789&", u"0123456789012345678901234567890123456789&#38;"},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(EncodeXMLValue(C.Plain), C.Encoded) << ToUtf8(C.Plain);
    EXPECT_EQ(DecodeXMLValue(C.Encoded), C.Plain) << ToUtf8(C.Plain);
  }
  // "&quot;" is written as one reference and so reads back as one double quote.
  EXPECT_EQ(EncodeXMLValue(u"a&quot;b"), u"a&#34;b");
  // One pass: an ampersand made from &amp; starts no new reference.
  EXPECT_EQ(DecodeXMLValue(u"&amp;lt;"), u"&lt;");
  EXPECT_EQ(DecodeXMLValue(u"&quot;&lt;&gt;&amp;&x;"), u"\"<>&&x;");
  EXPECT_EQ(DecodeXMLValue(u"&#128512;"), u"\xD83D\xDE00");
}

// Fault: the search for the semicolon of a numeric reference ran past the end of the value.
TEST(VqrXMLValues, UnterminatedReferenceStaysText) {
  EXPECT_EQ(DecodeXMLValue(u"a&#12"), u"a&#12");
  EXPECT_EQ(DecodeXMLValue(u"&#1234567"), u"&#1234567");
  EXPECT_EQ(DecodeXMLValue(u"&#"), u"&#");
  EXPECT_THROW(DecodeXMLValue(u"&#1a;"), EConvertError);
}

TEST(VqrXMLItem, AttributeEdits) {
  TvqrXMLItem Item;
  Item.SetText(u"a=\"1\" l=\"2\" b=\"3\"");
  Item.SetProp(u"l", u"9");
  EXPECT_EQ(Item.Text(), u"a=\"1\" l=\"9\" b=\"3\"");
  EXPECT_EQ(Item.Prop(u"L"), u"9");
  EXPECT_EQ(Item.Prop(u"xl"), u"");
  EXPECT_FALSE(Item.PropExists(u"x"));

  TvqrXMLItem Empty;
  Empty.SetProp(u"l", u"9");
  EXPECT_EQ(Empty.Text(), u"l=\"9\"");
  Empty.SetProp(u"t", u"a\"b");
  EXPECT_EQ(Empty.Text(), u"l=\"9\" t=\"a&#34;b\"");
  EXPECT_EQ(Empty.Prop(u"t"), u"a\"b");

  // A name matches only whole: "Name" is not found inside "UserName".
  TvqrXMLItem Names;
  Names.SetText(u"UserName=\"u\" Name=\"n\"");
  EXPECT_EQ(Names.Prop(u"Name"), u"n");
  // Text before the name whose upper case is longer (ß, the ligature ﬁ) does not shift the
  // value read or replaced.
  TvqrXMLItem Wide;
  Wide.SetText(u"t=\"Straße ﬁ\" l=\"2\"");
  EXPECT_EQ(Wide.Prop(u"L"), u"2");
  Wide.SetProp(u"l", u"7");
  EXPECT_EQ(Wide.Text(), u"t=\"Straße ﬁ\" l=\"7\"");

  TvqrXMLItem Del1;
  Del1.SetText(u"a=\"1\" b=\"2\"");
  Del1.DeleteProp(u"a");
  EXPECT_EQ(Del1.Text(), u"b=\"2\"");
  TvqrXMLItem Del2;
  Del2.SetText(u"b=\"2\" a=\"1\"");
  Del2.DeleteProp(u"a");
  EXPECT_EQ(Del2.Text(), u"b=\"2\" ");
}

TEST(VqrXMLItem, TreeOperations) {
  TvqrXMLItem Root;
  TvqrXMLItem* A = Root.Add();
  A->SetName(u"Страница");
  TvqrXMLItem* B = Root.FindItem(u"b");
  EXPECT_EQ(Root.Count(), 2);
  EXPECT_EQ(Root.Find(u"СТРАНИЦА"), 0);
  TvqrXMLItem* C = A->Add();
  EXPECT_EQ(C->Root(), &Root);
  B->AddItem(C);  // moves
  EXPECT_EQ(A->Count(), 0);
  EXPECT_EQ(C->Parent(), B);
  delete B;  // leaves the parent's list and frees its child
  EXPECT_EQ(Root.Count(), 1);
}

TEST(VqrXMLDocument, ParsingCases) {
  struct {
    const char* Name;
    std::string Body;
    bool Fails;
  } Cases[] = {
      {"empty element", "<a/>", false},
      {"attribute then slash", "<a x=\"1\"/>", false},
      {"closing tag in other case", "<a></A>", false},
      {"comments before and between", "<!-- c --><a><!--x-y--><b/><!-- --></a>", false},
      {"text between tags", "<a> text <b/> more </a>", false},
      {"mismatched closing tag", "<a></b>", true},
      {"< inside a tag", "<a <b/>", true},
      {"end inside a tag", "<a x=\"1\"", true},
  };
  for (const auto& C : Cases) {
    TvqrXMLDocument Doc;
    if (C.Fails) {
      EXPECT_THROW(Load(Doc, kHeader + C.Body), TvqrInvalidXMLException) << C.Name;
      continue;
    }
    ASSERT_NO_THROW(Load(Doc, kHeader + C.Body)) << C.Name;
    EXPECT_EQ(Doc.Root()->Name(), u"a") << C.Name;
  }
  TvqrXMLDocument Doc;
  EXPECT_THROW(Load(Doc, "<a/>"), TvqrInvalidXMLException);
  try {
    Load(Doc, "<x/>");
  } catch (const TvqrInvalidXMLException& E) {
    EXPECT_EQ(E.Message(), u"Invalid file format");
  }
  // A stream that ends before the closing tags is an error, not a half-read document.
  EXPECT_THROW(Load(Doc, kHeader + "<a><b x=\"1\"/><c>"), TvqrInvalidXMLException);
}

TEST(VqrXMLDocument, OldFormatReadsEightBitAttributes) {
  TvqrXMLDocument Doc;
  Load(Doc, "<?xml version=\"1.0\"?><r t=\"\xC0&#200;\"/>");
  EXPECT_TRUE(Doc.OldVersion());
  EXPECT_EQ(Doc.Root()->Prop(u"t"), u"А\u00C8");
  Load(Doc, kHeader + "<r t=\"Ц\"/>");
  EXPECT_FALSE(Doc.OldVersion());
  EXPECT_EQ(Doc.Root()->Prop(u"t"), u"Ц");
}

TEST(VqrXMLDocument, WritesCompactAndIndented) {
  TvqrXMLDocument Doc;
  TvqrXMLItem* Root = Doc.Root();
  Root->SetName(u"r");
  Root->SetText(u" v=\"1\"");
  TvqrXMLItem* Page = Root->Add();
  Page->SetName(u"page3");
  Page->SetUnloadable(true);
  Page->Add()->SetName(u"m1");
  TvqrXMLItem* Val = Root->Add();
  Val->SetName(u"v");
  Val->SetValue(u"<raw>");
  Root->Add()->SetName(u"previewpages");
  EXPECT_EQ(Save(Doc), kHeader +
                           "<r v=\"1\"><page3  ld=\"0\"><m1/></page3><v><raw></v><previewpages/></r>");
  Doc.SetAutoIndent(true);
  EXPECT_EQ(Save(Doc), kHeader + "\r\n<r v=\"1\">\r\n  <page3  ld=\"0\">\r\n    <m1/>\r\n"
                                 "  </page3>\r\n  <v><raw></v>\r\n  <previewpages/>\r\n</r>\r\n");
}

TEST(VqrXMLDocument, RoundTripKeepsAttributeTextRaw) {
  // Element names are 8-bit (1251) text, attribute texts UTF-8.
  const std::string Text = kHeader + "<r a=\"x&#13;&#10;y\"  b=\"&amp;\"><\xD6 n=\"ё\"/></r>";
  TvqrXMLDocument Doc;
  Load(Doc, Text);
  EXPECT_EQ(Doc.Root()->Text(), u"a=\"x&#13;&#10;y\"  b=\"&amp;\"");
  EXPECT_EQ(Doc.Root()->Items(0)->Name(), u"Ц");
  EXPECT_EQ(Save(Doc), Text);

  // Tags longer than the reader's buffer, and tags that straddle its end, arrive whole.
  std::string Long = kHeader + "<r>";
  for (int I = 0; I < 40; ++I) Long += "<i v=\"" + std::string(397 + I * 13, 'a' + I % 26) + "\"/>";
  Long += "<i v=\"" + std::string(9000, 'z') + "\"/></r>";
  TvqrXMLDocument Big;
  Load(Big, Long);
  ASSERT_EQ(Big.Root()->Count(), 41);
  EXPECT_EQ(Big.Root()->Items(39)->Prop(u"v"), String(397 + 39 * 13, u'a' + 39 % 26));
  EXPECT_EQ(Big.Root()->Items(40)->Prop(u"v").size(), 9000u);
  EXPECT_EQ(Save(Big), Long);
}

TEST(VqrXMLDocument, PartialLoadLeavesUnloadableItemsInTheStream) {
  TvqrXMLDocument Source;
  Source.Root()->SetName(u"pages");
  for (int I = 0; I < 3; ++I) {
    TvqrXMLItem* Page = Source.Root()->Add();
    Page->SetName(u"page" + IntToStr(I));
    Page->SetText(u"n=\"" + IntToStr(I) + u"\"");
    Page->SetUnloadable(I > 0);
    TvqrXMLItem* Memo = Page->Add();
    Memo->SetName(u"m");
    Memo->SetText(u"m=\"" + IntToStr(I) + u"\"");
  }
  const std::string Saved = Save(Source);

  TvqrXMLDocument Doc;
  Doc.LoadFromStream(new TStringStream(std::string_view(Saved)), true);
  TvqrXMLItem* Page2 = Doc.Root()->Items(2);
  EXPECT_FALSE(Page2->Loaded());
  EXPECT_EQ(Page2->Count(), 0);
  EXPECT_EQ(Page2->Text(), u"n=\"2\"");
  EXPECT_EQ(Saved.substr(Page2->Offset(), 7), "<page2 ");
  EXPECT_TRUE(Doc.Root()->Items(0)->Loaded());
  // Saving writes the unloaded items in full and leaves them unloaded.
  EXPECT_EQ(Save(Doc), Saved);
  EXPECT_FALSE(Page2->Loaded());
  Doc.LoadItem(Page2);
  ASSERT_EQ(Page2->Count(), 1);
  EXPECT_EQ(Page2->Items(0)->Prop(u"m"), u"2");
}

// The marker is a whole attribute, its name in any case; it is taken out of the text.
TEST(VqrXMLDocument, UnloadableMarkerIsFoundInAnyCase) {
  struct {
    std::string Attributes;
    bool Unloadable;
    String Text;
  } Cases[] = {
      {"n=\"1\" ld=\"0\"", true, u"n=\"1\""},
      {"n=\"1\" LD=\"0\" k=\"2\"", true, u"n=\"1\" k=\"2\""},
      {"n=\"1\" Ld=\"0\"", true, u"n=\"1\""},
      {"xld=\"0\" n=\"1\"", false, u"xld=\"0\" n=\"1\""},
      {"n=\"1\" ld=\"1\"", false, u"n=\"1\" ld=\"1\""},
      {"n=\"=&#34;0&#34;\" d=\"0\"", false, u"n=\"=&#34;0&#34;\" d=\"0\""},
  };
  for (const auto& C : Cases) {
    TvqrXMLDocument Doc;
    const std::string Text = kHeader + "<r><p " + C.Attributes + "><m/></p></r>";
    Doc.LoadFromStream(new TStringStream(std::string_view(Text)), true);
    TvqrXMLItem* Page = Doc.Root()->Items(0);
    EXPECT_EQ(Page->Loaded(), !C.Unloadable) << C.Attributes;
    EXPECT_EQ(ToUtf8(Page->Text()), ToUtf8(C.Text)) << C.Attributes;
  }
}

// Fault: unloading in a partially loaded document replaced the one reload stream by the swap
// file, so the items still waiting in the loaded stream were read from the wrong file.
TEST(VqrXMLDocument, UnloadAfterPartialLoadReadsEachItemFromItsOwnStream) {
  TvqrXMLDocument Source;
  Source.Root()->SetName(u"pages");
  for (int I = 0; I < 3; ++I) {
    TvqrXMLItem* Page = Source.Root()->Add();
    Page->SetName(u"page");
    Page->SetUnloadable(true);
    TvqrXMLItem* Memo = Page->Add();
    Memo->SetName(u"m");
    Memo->SetText(u"m=\"" + IntToStr(I) + u"\"");
  }
  const std::string Saved = Save(Source);

  TvqrXMLDocument Doc;
  Doc.LoadFromStream(new TStringStream(std::string_view(Saved)), true);
  TvqrXMLItem* Page0 = Doc.Root()->Items(0);
  TvqrXMLItem* Page1 = Doc.Root()->Items(1);
  Doc.LoadItem(Page0);
  Page0->Items(0)->SetText(u"m=\"changed\"");
  Doc.UnloadItem(Page0);  // goes to the swap file
  EXPECT_FALSE(Page0->Loaded());
  EXPECT_FALSE(Doc.SwapFileName().empty());
  Doc.LoadItem(Page1);  // still in the loaded stream
  ASSERT_EQ(Page1->Count(), 1);
  EXPECT_EQ(Page1->Items(0)->Prop(u"m"), u"1");
  Doc.LoadItem(Page0);
  ASSERT_EQ(Page0->Count(), 1);
  EXPECT_EQ(Page0->Items(0)->Prop(u"m"), u"changed");

  String Swap = Doc.SwapFileName();
  EXPECT_TRUE(FileExists(Swap));
  Doc.Clear();
  EXPECT_FALSE(FileExists(Swap));
}

TEST(VqrXMLDocument, UnloadedItemIsSavedInFullAndStaysUnloaded) {
  TvqrXMLDocument Doc;
  Doc.Root()->SetName(u"r");
  TvqrXMLItem* Page = Doc.Root()->Add();
  Page->SetName(u"p");
  Page->SetUnloadable(true);
  Page->Add()->SetName(u"m");
  const std::string Before = Save(Doc);
  Doc.UnloadItem(Page);
  EXPECT_EQ(Page->Count(), 0);
  EXPECT_EQ(Save(Doc), Before);
  EXPECT_FALSE(Page->Loaded());
}

TEST(VqrXMLDocument, FileRoundTrip) {
  String Name = GetTempDir() + u"vqr-xml-test.xml";
  {
    TvqrXMLDocument Doc;
    Doc.Root()->SetName(u"r");
    TvqrXMLItem* Item = Doc.Root()->Add();
    Item->SetName(u"i");
    Item->SetProp(u"x", u"1");
    Doc.SaveToFile(Name);
    EXPECT_EQ(Doc.Root()->Items(0)->Prop(u"x"), u"1");
  }
  TvqrXMLDocument Doc;
  Doc.LoadFromFile(Name);
  EXPECT_EQ(Doc.Root()->Count(), 1);
  DeleteFile(Name);
}
