// Tests of the integer, Boolean, string, comparison and file-name routines.
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

TEST(IntToStr, DecimalAndHex) {
  EXPECT_EQ(IntToStr(-42), u"-42");
  EXPECT_EQ(IntToStr(INT64_MIN), u"-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), u"00FF");
  EXPECT_EQ(IntToHex(0, 0), u"0");
  EXPECT_EQ(IntToHex(-1, 2), u"FFFFFFFFFFFFFFFF");
}

TEST(StrToInt, AcceptsTheClassLibraryForms) {
  struct Case { const char16_t* In; bool Ok; Integer Out; } Cases[] = {
      {u"123", true, 123},       {u"  -45", true, -45},     {u"+7", true, 7},
      {u"$FF", true, 255},       {u"0x10", true, 16},       {u"$FFFFFFFF", true, -1},
      {u"-2147483648", true, INT32_MIN},  {u"2147483647", true, INT32_MAX},
      {u"2147483648", false, 0}, {u"abc", false, 0},        {u"12 ", false, 0},
      {u"", false, 0},           {u"-", false, 0},          {u"1.5", false, 0},
      {u"$", false, 0},          {u"$1FFFFFFFF", false, 0},
  };
  for (const auto& C : Cases) {
    Integer Value = 0;
    EXPECT_EQ(TryStrToInt(C.In, Value), C.Ok) << ToUtf8(C.In);
    if (C.Ok) {
      EXPECT_EQ(Value, C.Out) << ToUtf8(C.In);
    }
  }
  EXPECT_EQ(StrToInt64(u"9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64(u"-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64Def(u"9223372036854775808", -1), -1);
  EXPECT_EQ(StrToIntDef(u"x", 7), 7);
  try {
    StrToInt(u"abc");
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), u"'abc' is not a valid integer value");
  }
}

TEST(BoolToStr, BothSpellings) {
  EXPECT_EQ(BoolToStr(true), u"-1");
  EXPECT_EQ(BoolToStr(false), u"0");
  EXPECT_EQ(BoolToStr(true, true), u"True");
  EXPECT_TRUE(StrToBool(u"true"));
  EXPECT_FALSE(StrToBool(u"FALSE"));
  EXPECT_TRUE(StrToBool(u"-1"));
  EXPECT_FALSE(StrToBool(u"0"));
  EXPECT_THROW(StrToBool(u"yes"), EConvertError);
}

TEST(Strings, TrimPosCopyDeleteInsert) {
  EXPECT_EQ(Trim(u" \t a b \r\n"), u"a b");
  EXPECT_EQ(TrimLeft(u"\x01 a "), u"a ");
  EXPECT_EQ(TrimRight(u" a \x1F"), u" a");
  EXPECT_EQ(Trim(u"\u00A0a"), u"\u00A0a");  // only characters up to the blank
  EXPECT_EQ(Pos(u"b", u"abc"), 2);
  EXPECT_EQ(Pos(u"x", u"abc"), 0);
  EXPECT_EQ(Pos(u"", u"abc"), 0);
  EXPECT_EQ(Pos(u"c", u"abcabc", 4), 6);
  struct CopyCase { int Index, Count; const char16_t* Out; } Copies[] = {
      {2, 3, u"bcd"}, {0, 2, u"ab"}, {-5, 1, u"a"}, {5, 10, u"ef"}, {7, 1, u""}, {2, -1, u""},
  };
  for (const auto& C : Copies) EXPECT_EQ(Copy(u"abcdef", C.Index, C.Count), C.Out) << C.Index;
  String S = u"abcdef";
  Delete(S, 2, 2);
  EXPECT_EQ(S, u"adef");
  Delete(S, 3, 100);
  EXPECT_EQ(S, u"ad");
  Delete(S, 0, 1);  // out of range: nothing
  EXPECT_EQ(S, u"ad");
  Insert(u"XY", S, 2);
  EXPECT_EQ(S, u"aXYd");
  Insert(u"!", S, 100);
  EXPECT_EQ(S, u"aXYd!");
  EXPECT_EQ(StringOfChar(u'-', 3), u"---");
  EXPECT_EQ(LastDelimiter(u"./", u"/a/b.c"), 5);
}

TEST(Strings, StringReplaceFlags) {
  struct Case { const char16_t* S; const char16_t* Old; const char16_t* New; TReplaceFlags Flags; const char16_t* Out; } Cases[] = {
      {u"aAaA", u"a", u"x", {}, u"xAaA"},
      {u"aAaA", u"a", u"x", {rfReplaceAll}, u"xAxA"},
      {u"aAaA", u"a", u"x", {rfReplaceAll, rfIgnoreCase}, u"xxxx"},
      {u"Привет привет", u"ПРИВЕТ", u"мир", {rfReplaceAll, rfIgnoreCase}, u"мир мир"},
      {u"aaa", u"aa", u"a", {rfReplaceAll}, u"aa"},  // no re-scan of what was put in
      {u"abc", u"", u"x", {rfReplaceAll}, u"abc"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(StringReplace(C.S, C.Old, C.New, C.Flags), C.Out) << ToUtf8(C.S) << " " << ToUtf8(C.Old);
}

TEST(Strings, Quoting) {
  EXPECT_EQ(QuotedStr(u"It's"), u"'It''s'");
  EXPECT_EQ(AnsiQuotedStr(u"a\"b", u'"'), u"\"a\"\"b\"");
  EXPECT_EQ(AnsiDequotedStr(u"'It''s'", u'\''), u"It's");
  EXPECT_EQ(AnsiDequotedStr(u"abc", u'\''), u"abc");
  EXPECT_EQ(AnsiDequotedStr(u"'abc", u'\''), u"'abc");    // not closed: unchanged
  EXPECT_EQ(AnsiDequotedStr(u"'a'b", u'\''), u"'a'b");    // text after the quote: unchanged
  EXPECT_EQ(AnsiDequotedStr(u"''", u'\''), u"");
  const String Text = u"'a''b' rest";
  const Char* P = Text.c_str();
  EXPECT_EQ(AnsiExtractQuotedStr(P, u'\''), u"a'b");
  EXPECT_EQ(String(P), u" rest");
}

TEST(Strings, CaseMapping) {
  EXPECT_EQ(UpperCase(u"abcЖж"), u"ABCЖж");
  EXPECT_EQ(LowerCase(u"ABCЖ"), u"abcЖ");
  EXPECT_EQ(AnsiUpperCase(u"абвё straße"), u"АБВЁ STRASSE");
  EXPECT_EQ(AnsiLowerCase(u"ЁЖ ABC"), u"ёж abc");
  EXPECT_EQ(AnsiUpperCase(u""), u"");
}

TEST(Strings, OrdinalComparison) {
  EXPECT_EQ(CompareStr(u"a", u"b"), -1);
  EXPECT_EQ(CompareStr(u"a", u"A"), 1);
  EXPECT_EQ(CompareStr(u"ab", u"ab"), 0);
  EXPECT_EQ(CompareText(u"abc", u"ABD"), -1);
  EXPECT_EQ(CompareText(u"abc", u"AB"), 1);
  EXPECT_TRUE(SameText(u"Abc", u"aBC"));
  EXPECT_FALSE(SameText(u"Ж", u"ж"));  // ASCII only
}

TEST(Strings, LocaleCollationSortsYoWithYe) {
  SetCollationLocale("ru");
  EXPECT_EQ(AnsiCompareStr(u"ёлка", u"ель"), -1);  // ordinal order would put ё after я
  EXPECT_EQ(AnsiCompareStr(u"ёлка", u"жук"), -1);
  EXPECT_EQ(AnsiCompareStr(u"Ель", u"ель"), 1);
  EXPECT_EQ(AnsiCompareText(u"ЕЛЬ", u"ель"), 0);
  EXPECT_NE(AnsiCompareText(u"ёлка", u"елка"), 0);
  EXPECT_TRUE(AnsiSameText(u"Краска", u"КРАСКА"));
  std::vector<String> Words = {u"жук", u"Ёлка", u"яма", u"ель", u"Еда"};
  std::sort(Words.begin(), Words.end(),
            [](const String& A, const String& B) { return AnsiCompareText(A, B) < 0; });
  EXPECT_EQ(Words, (std::vector<String>{u"Еда", u"Ёлка", u"ель", u"жук", u"яма"}));
  SetCollationLocale("");
}

// Where two sort-key prefixes differ, the collation orders the texts the same way: random
// texts of mixed scripts, case, accents, digits and blanks, under two locales.
TEST(Strings, SortKeyPrefixesAgreeWithTheCollation) {
  const std::u16string Alphabet = u"aAbBzZ09 -.,еЕёЁжЖяЯйЙéÉ中";
  std::mt19937 Random(7);
  auto RandomText = [&] {
    std::u16string S(Random() % 12, u' ');
    for (char16_t& C : S) C = Alphabet[Random() % Alphabet.size()];
    return S;
  };
  for (const char* Locale : {"ru", ""}) {
    SetCollationLocale(Locale);
    int Decided = 0;
    for (int I = 0; I < 20000; ++I) {
      const std::u16string A = RandomText(), B = I % 4 ? RandomText() : A.substr(0, A.size() / 2);
      const std::uint64_t KA = AnsiSortKeyPrefix(A), KB = AnsiSortKeyPrefix(B);
      if (KA == KB) continue;
      ++Decided;
      ASSERT_EQ(KA < KB ? -1 : 1, AnsiCompareStr(A, B)) << Locale << " " << I;
    }
    EXPECT_GT(Decided, 15000);
    EXPECT_EQ(AnsiSortKeyPrefix(u""), AnsiSortKeyPrefix(u""));
    EXPECT_LT(AnsiSortKeyPrefix(u""), AnsiSortKeyPrefix(u"a"));
  }
  SetCollationLocale("");
}

TEST(FileNames, PiecesOfAPath) {
  EXPECT_EQ(ExtractFileName(u"/a/b/c.txt"), u"c.txt");
  EXPECT_EQ(ExtractFilePath(u"/a/b/c.txt"), u"/a/b/");
  EXPECT_EQ(ExtractFileDir(u"/a/b/c.txt"), u"/a/b");
  EXPECT_EQ(ExtractFileDir(u"/c.txt"), u"/");
  EXPECT_EQ(ExtractFilePath(u"c.txt"), u"");
  EXPECT_EQ(ExtractFileExt(u"/a.b/c"), u"");
  EXPECT_EQ(ExtractFileExt(u"c.tar.gz"), u".gz");
  EXPECT_EQ(ChangeFileExt(u"/a/c.txt", u".pdf"), u"/a/c.pdf");
  EXPECT_EQ(ChangeFileExt(u"/a.b/c", u".pdf"), u"/a.b/c.pdf");
  EXPECT_EQ(IncludeTrailingPathDelimiter(u"/a"), u"/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(u"/a/"), u"/a/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/a/"), u"/a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/"), u"/");
}

TEST(FileNames, DirectoriesAreCreatedAndFound) {
  const String Root = GetTempDir() + u"vorenta-rtl-test-Заказы";
  std::filesystem::remove_all(StringToUtf8(Root));
  const String Deep = Root + u"/a/b";
  EXPECT_FALSE(DirectoryExists(Deep));
  EXPECT_TRUE(ForceDirectories(Deep));
  EXPECT_TRUE(DirectoryExists(Deep));
  EXPECT_FALSE(FileExists(Deep));
  EXPECT_TRUE(RemoveDir(Deep));
  EXPECT_FALSE(DeleteFile(Root + u"/missing"));
  std::filesystem::remove_all(StringToUtf8(Root));
}
