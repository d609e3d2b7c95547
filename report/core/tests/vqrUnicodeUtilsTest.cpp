// vqrUnicodeUtilsTest.cpp - the wide-string list: text splitting, Insert, streams, filer.
#include "report/core/vqrUnicodeUtils.h"

#include <gtest/gtest.h>

#include "platform/classes/Streams.h"
#include "platform/rtl/Exceptions.h"

TEST(VqrWideStrings, TextSplitsAtEveryBreakKind) {
  struct {
    const char16_t* Text;
    int Count;
  } Cases[] = {{u"a\r\nb", 2}, {u"a\n\rb", 3}, {u"a\rb\n", 2}, {u"a\x2028" u"b", 2},
               {u"", 0},       {u"\r\n", 1}};
  TvqrWideStrings L;
  for (const auto& C : Cases) {
    L.SetText(C.Text);
    EXPECT_EQ(L.Count(), C.Count) << ToUtf8(C.Text);
  }
  L.SetText(u"a\nb");
  EXPECT_EQ(L.Text(), u"a\r\nb\r\n");
}

TEST(VqrWideStrings, InsertReplacesBelowCount) {
  TvqrWideStrings L;
  L.Insert(0, u"x");
  L.Insert(0, u"y");
  EXPECT_EQ(L.Count(), 1);
  EXPECT_EQ(L.Get(0), u"y");
  L.Insert(1, u"z");
  EXPECT_EQ(L.Count(), 2);
  try {
    L.Insert(5, u"w");
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Wide String Out of Bounds");
  }
  EXPECT_EQ(L.Get(9), u"");
  EXPECT_EQ(L.IndexOf(u"Z"), -1);
  EXPECT_EQ(L.IndexOf(u"z"), 1);
}

TEST(VqrWideStrings, StreamsSenseTheByteOrderMark) {
  TvqrWideStrings L;
  TBytesStream Wide(TBytes{0xFF, 0xFE, 0x16, 0x04, 0x0A, 0x00, 'b', 0});
  L.LoadFromStream(&Wide);
  ASSERT_EQ(L.Count(), 2);
  EXPECT_EQ(L.Get(0), u"Ж");
  TBytesStream MarkAndOne(TBytes{0xFF, 0xFE, 0x41});
  L.LoadFromStream(&MarkAndOne);
  EXPECT_EQ(L.Count(), 0);
  TBytesStream Ansi(TBytes{0xC6, 0x41});
  L.LoadFromStream(&Ansi);
  EXPECT_EQ(L.Get(0), u"ЖA");
  TBytesStream Short(TBytes{0xFF, 0xFE});
  L.LoadFromStream(&Short);
  EXPECT_EQ(L.Count(), 1);  // two bytes are 8-bit text

  L.SetText(u"Ж");
  TBytesStream Out;
  L.SaveToStream(&Out);
  EXPECT_EQ(Out.Bytes(), (TBytes{0x16, 0x04, 0x0D, 0, 0x0A, 0}));
}

TEST(VqrWideStrings, CodePages) {
  EXPECT_EQ(CodePageOfCharset(1), 1251u);
  EXPECT_EQ(CodePageOfCharset(204), 1251u);
  EXPECT_THROW(CodePageOfCharset(99), EOSError);
  EXPECT_EQ(AnsiToUnicodeText("\xC6", 204), u"Ж");
  EXPECT_EQ(UnicodeToAnsiText(u"Ж", 1), "\xC6");
  EXPECT_EQ(OemToAnsiText("\x86"), "\xC6");
  EXPECT_EQ(LocaleOfCharset(204), 1049u);
}
