// StringsTest.cpp - TStrings text forms and TStringList behaviours.
#include "platform/classes/Strings.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"

// A component with a string list property, for the streaming test.
class TStringsHolder : public TComponent {
  VORENTA_CLASS(TStringsHolder, TComponent)
public:
  explicit TStringsHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }

private:
  std::unique_ptr<TStringList> FItems = std::make_unique<TStringList>();
};

REGISTER_CLASS(TStringsHolder) { Class.Property("Items", &TStringsHolder::Items, &TStringsHolder::SetItems); }

namespace {

using Lines = std::vector<String>;

Lines ItemsOf(const TStrings& List) {
  Lines Result;
  for (int I = 0; I < List.Count(); ++I) Result.push_back(List.Get(I));
  return Result;
}

void Fill(TStrings& List, const Lines& Items) {
  List.Clear();
  for (const String& S : Items) List.Add(S);
}

template <class E>
String MessageOf(auto&& Action) {
  try {
    Action();
  } catch (const E& Error) {
    return Error.Message();
  }
  return u"<no exception>";
}

// Counts the object's destructions.
class TCounted : public TObject {
public:
  explicit TCounted(int& Freed) : FFreed(Freed) {}
  ~TCounted() override { ++FFreed; }

private:
  int& FFreed;
};

TEST(StringList, TextReadsEveryLineBreakAndWritesCrLf) {
  struct Case {
    const char16_t* Text;
    Lines Items;
  } Cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\nb\r\n", {u"a", u"b"}},
      {u"a\nb\rc", {u"a", u"b", u"c"}},
      {u"a\r\n\r\n", {u"a", u""}},
      {u"a\n\rb", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
  };
  for (const Case& C : Cases) {
    TStringList List;
    List.SetText(C.Text);
    EXPECT_EQ(ItemsOf(List), C.Items) << ToUtf8(C.Text);
  }
  TStringList List;
  Fill(List, {u"a", u"", u"b"});
  EXPECT_EQ(List.Text(), u"a\r\n\r\nb\r\n");
}

TEST(StringList, CommaTextQuotesWhatWouldNotSurvive) {
  struct Case {
    Lines Items;
    const char16_t* Comma;
  } Cases[] = {
      {{}, u""},
      {{u""}, u"\"\""},
      {{u"a", u"", u"b"}, u"a,,b"},
      {{u"a b", u"c"}, u"\"a b\",c"},
      {{u"x,y"}, u"\"x,y\""},
      {{u"say \"hi\""}, u"\"say \"\"hi\"\"\""},
      {{u"tab\there"}, u"\"tab\there\""},
      {{u"Краска", u"№5"}, u"Краска,№5"},
  };
  for (const Case& C : Cases) {
    TStringList List;
    Fill(List, C.Items);
    EXPECT_EQ(List.CommaText(), C.Comma);
    TStringList Back;
    Back.SetCommaText(C.Comma);
    EXPECT_EQ(ItemsOf(Back), C.Items) << ToUtf8(C.Comma);
  }
}

TEST(StringList, SetCommaTextSplitsAtBlanksAndDelimiters) {
  struct Case {
    const char16_t* Comma;
    Lines Items;
  } Cases[] = {
      {u"a b", {u"a", u"b"}},
      {u"  a , b  ", {u"a", u"b"}},
      {u"a,", {u"a", u""}},
      {u",a", {u"", u"a"}},
      {u"\"a\"b,c", {u"a", u"b", u"c"}},
      {u"\"unclosed", {u"unclosed"}},
      {u"a,,b", {u"a", u"", u"b"}},
  };
  for (const Case& C : Cases) {
    TStringList List;
    List.SetCommaText(C.Comma);
    EXPECT_EQ(ItemsOf(List), C.Items) << ToUtf8(C.Comma);
  }
}

TEST(StringList, DelimitedTextWithOwnDelimiterAndStrictness) {
  TStringList List;
  List.SetDelimiter(u';');
  List.SetQuoteChar(u'\'');
  List.SetDelimitedText(u"a b;'c;d';e");
  EXPECT_EQ(ItemsOf(List), (Lines{u"a", u"b", u"c;d", u"e"}));
  List.SetStrictDelimiter(true);
  List.SetDelimitedText(u" a b ;c");
  EXPECT_EQ(ItemsOf(List), (Lines{u" a b ", u"c"}));
  EXPECT_EQ(List.DelimitedText(), u" a b ;c") << "blanks need no quotes when strict";
  EXPECT_EQ(List.CommaText(), u"\" a b \",c") << "CommaText keeps its own rules";
}

TEST(StringList, NamesAndValues) {
  TStringList List;
  List.SetText(u"Host=db\r\nPort=5432\r\nflag\r\nEmpty=\r\n");
  EXPECT_EQ(List.Names(0), u"Host");
  EXPECT_EQ(List.Names(2), u"") << "a string without separator has no name";
  EXPECT_EQ(List.Values(u"port"), u"5432") << "names are found case-insensitively";
  EXPECT_EQ(List.ValueFromIndex(1), u"5432");
  EXPECT_EQ(List.IndexOfName(u"Empty"), 3);
  EXPECT_EQ(List.Values(u"Missing"), u"");
  List.SetValues(u"Port", u"6000");
  List.SetValues(u"User", u"admin");
  List.SetValues(u"Host", u"");
  EXPECT_EQ(ItemsOf(List), (Lines{u"Port=6000", u"flag", u"Empty=", u"User=admin"}));
  List.SetNameValueSeparator(u':');
  List.SetValueFromIndex(-1, u"x");
  EXPECT_EQ(List.Get(4), u":x");
}

TEST(StringList, SortedInsertAndDuplicatesModes) {
  struct Case {
    TDuplicates Mode;
    Lines Items;
  } Cases[] = {
      {dupIgnore, {u"a", u"b", u"c"}},
      {dupAccept, {u"a", u"b", u"b", u"c"}},
  };
  for (const Case& C : Cases) {
    TStringList List;
    List.SetSorted(true);
    List.SetDuplicates(C.Mode);
    for (const char16_t* S : {u"c", u"b", u"a", u"b"}) List.Add(S);
    EXPECT_EQ(ItemsOf(List), C.Items) << int(C.Mode);
  }
  TStringList List;
  List.SetSorted(true);
  List.SetDuplicates(dupError);
  List.Add(u"x");
  EXPECT_EQ(MessageOf<EStringListError>([&] { List.Add(u"X"); }),
            u"String list does not allow duplicates");
  EXPECT_EQ(MessageOf<EStringListError>([&] { List.Insert(0, u"a"); }),
            u"Operation not allowed on sorted list");
  EXPECT_EQ(List.Count(), 1);
}

TEST(StringList, IgnoredDuplicateReturnsTheIndexAlreadyThere) {
  TStringList List;
  List.SetSorted(true);
  List.Add(u"a");
  List.Add(u"m");
  List.Add(u"z");
  EXPECT_EQ(List.Add(u"M"), 1);
  EXPECT_EQ(List.Count(), 3);
}

TEST(StringList, MoveKeepsEveryStringAndRefusesSortedListWhole) {
  TStringList List;
  Fill(List, {u"a", u"b", u"c", u"d"});
  List.Move(0, 2);
  EXPECT_EQ(ItemsOf(List), (Lines{u"b", u"c", u"a", u"d"}));
  List.Move(3, 0);
  EXPECT_EQ(ItemsOf(List), (Lines{u"d", u"b", u"c", u"a"}));
  EXPECT_THROW(List.Move(0, 4), EStringListError);
  List.SetSorted(true);
  EXPECT_THROW(List.Move(0, 1), EStringListError);
  EXPECT_EQ(ItemsOf(List), (Lines{u"a", u"b", u"c", u"d"})) << "regression: nothing is lost";
}

TEST(StringList, UnsortedListAcceptsDuplicatesWhateverTheMode) {
  TStringList List;
  List.SetDuplicates(dupError);
  List.Add(u"a");
  List.Add(u"a");
  EXPECT_EQ(List.Count(), 2);
}

TEST(StringList, CaseSensitivityGovernsSearchAndSort) {
  TStringList List;
  Fill(List, {u"beta", u"Alpha", u"alpha", u"Гамма"});
  EXPECT_EQ(List.IndexOf(u"ALPHA"), 1);
  EXPECT_EQ(List.IndexOf(u"гамма"), 3);
  List.SetCaseSensitive(true);
  EXPECT_EQ(List.IndexOf(u"ALPHA"), -1);
  EXPECT_EQ(List.IndexOf(u"alpha"), 2);
  List.SetCaseSensitive(false);
  List.SetSorted(true);
  int Index = -1;
  ASSERT_TRUE(List.Find(u"BETA", Index));
  EXPECT_EQ(List.Get(Index), u"beta");
  const int BetaIndex = Index;
  EXPECT_FALSE(List.Find(u"b", Index));
  EXPECT_EQ(Index, BetaIndex) << "where it would go";
  EXPECT_EQ(List.Get(List.IndexOf(u"гАММА")), u"Гамма");
}

TEST(StringList, ChangingCaseSensitivityResortsASortedList) {
  TStringList List;
  List.SetSorted(true);
  List.SetDuplicates(dupAccept);
  for (const char16_t* S : {u"b", u"B", u"a", u"A"}) List.Add(S);
  List.SetCaseSensitive(true);
  int Index = -1;
  EXPECT_TRUE(List.Find(u"B", Index));
  EXPECT_EQ(List.Get(Index), u"B");
  EXPECT_TRUE(List.Find(u"a", Index));
  EXPECT_EQ(List.Get(Index), u"a");
}

TEST(StringList, ObjectsTravelWithTheirStringsAndOwnedOnesAreFreed) {
  int Freed = 0;
  {
    TStringList List(true);
    auto* One = new TCounted(Freed);
    auto* Two = new TCounted(Freed);
    List.AddObject(u"two", Two);
    List.AddObject(u"one", One);
    List.AddObject(u"three", new TCounted(Freed));
    List.Sort();
    EXPECT_EQ(ItemsOf(List), (Lines{u"one", u"three", u"two"}));
    EXPECT_EQ(List.GetObject(0), One);
    EXPECT_EQ(List.IndexOfObject(Two), 2);
    List.Move(2, 0);
    EXPECT_EQ(List.GetObject(0), Two);
    EXPECT_EQ(Freed, 0) << "moving keeps the object";
    List.Exchange(0, 1);
    EXPECT_EQ(List.GetObject(1), Two);
    List.Delete(0);
    EXPECT_EQ(Freed, 1);
  }
  EXPECT_EQ(Freed, 3);
}

TEST(StringList, CustomSortIsStableAndSeesPresentIndexes) {
  TStringList List;
  Fill(List, {u"bb", u"a", u"cc", u"d"});
  List.CustomSort([](TStringList* L, int A, int B) {
    return static_cast<int>(L->Get(A).size()) - static_cast<int>(L->Get(B).size());
  });
  EXPECT_EQ(ItemsOf(List), (Lines{u"a", u"d", u"bb", u"cc"}));
}

TEST(StringList, ChangeEventsOncePerChangeOrOncePerUpdateBracket) {
  TStringList List;
  int Changing = 0, Changed = 0;
  List.SetOnChanging([&](TObject*) { ++Changing; });
  List.SetOnChange([&](TObject* Sender) {
    EXPECT_EQ(Sender, &List);
    ++Changed;
  });
  List.Add(u"a");
  List.Add(u"b");
  List.Delete(0);
  EXPECT_EQ(Changing, 3);
  EXPECT_EQ(Changed, 3);

  Changing = Changed = 0;
  List.BeginUpdate();
  List.BeginUpdate();
  List.SetText(u"x\r\ny\r\nz");
  List.Sort();
  List.EndUpdate();
  EXPECT_EQ(Changed, 0) << "still inside the outer bracket";
  List.EndUpdate();
  EXPECT_EQ(Changing, 1);
  EXPECT_EQ(Changed, 1);

  Changing = Changed = 0;
  List.Clear();
  List.Clear();  // an empty list does not change
  EXPECT_EQ(Changed, 1);
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList List;
  List.Add(u"a");
  EXPECT_EQ(MessageOf<EStringListError>([&] { List.Get(1); }), u"List index out of bounds (1)");
  EXPECT_EQ(MessageOf<EStringListError>([&] { List.Delete(-1); }),
            u"List index out of bounds (-1)");
  EXPECT_EQ(MessageOf<EStringListError>([&] { List.Insert(3, u"x"); }),
            u"List index out of bounds (3)");
}

TEST(StringList, AssignAndEquals) {
  TStringList Source;
  Fill(Source, {u"a", u"b"});
  Source.SetDelimiter(u';');
  TStringList Dest;
  Dest.Add(u"old");
  Dest.Assign(&Source);
  EXPECT_TRUE(Dest.Equals(&Source));
  EXPECT_EQ(Dest.DelimitedText(), u"a;b");
  Dest.Put(1, u"B");
  EXPECT_FALSE(Dest.Equals(&Source)) << "Equals compares exactly";
  TPersistent Other;
  EXPECT_THROW(Dest.Assign(&Other), EConvertError);
}

TEST(StringList, StreamsInEveryEncodingKeepTheirForm) {
  struct Case {
    const char* Name;
    std::string Bytes;
    TEncoding Encoding;
  } Cases[] = {
      {"UTF-8", "\xD0\xAF\r\nb\r\n", TEncoding::UTF8},
      {"UTF-8 with BOM", "\xEF\xBB\xBF\xD0\xAF\r\nb\r\n", TEncoding::UTF8},
      {"UTF-16LE with BOM", std::string("\xFF\xFE\x2F\x04\r\0\n\0b\0\r\0\n\0", 14),
       TEncoding::Unicode},
      {"ANSI", "\xDF\r\nb\r\n", TEncoding::ANSI},
  };
  for (const Case& C : Cases) {
    TStringStream In{std::string_view(C.Bytes)};
    TStringList List;
    List.LoadFromStream(&In);
    EXPECT_EQ(ItemsOf(List), (Lines{u"Я", u"b"})) << C.Name;
    EXPECT_EQ(List.Encoding(), C.Encoding) << C.Name;
    TStringStream Out;
    List.SaveToStream(&Out);
    EXPECT_EQ(Out.Bytes(), C.Bytes) << C.Name << ": saved as loaded";
  }
}

TEST(StringList, FileRoundTripWithExplicitEncoding) {
  const String Path = Utf8ToString(::testing::TempDir()) + u"strings-1251.txt";
  TStringList List;
  Fill(List, {u"Цвет", u"№"});
  List.SaveToFile(Path, TEncoding::ANSI);
  TStringList Back;
  Back.LoadFromFile(Path, TEncoding::ANSI);
  EXPECT_TRUE(Back.Equals(&List));
  EXPECT_THROW(Back.LoadFromFile(Path + u".missing"), EFOpenError);
}

TEST(StringList, StreamsAsTheStringsListOfItsProperty) {
  TStringsHolder Source(nullptr);
  Source.SetName(u"Holder1");
  Fill(*Source.Items(), {u"SELECT *", u"", u"FROM \"Цвета\""});
  const String Text = ComponentToText(&Source);
  EXPECT_NE(Text.find(u"Items.Strings = ("), String::npos) << ToUtf8(Text);
  TStringsHolder Back(nullptr);
  TextToComponent(Text, &Back);
  EXPECT_EQ(ItemsOf(*Back.Items()), ItemsOf(*Source.Items()));

  TStringsHolder Empty(nullptr);
  EXPECT_EQ(ComponentToText(&Empty).find(u"Items"), String::npos) << "an empty list is not written";
}

}  // namespace
