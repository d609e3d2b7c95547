// Tests of the UTF conversions, exceptions and compiled-in resources.
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/Types.h"

#include <gtest/gtest.h>

TEST(Utf, RoundTripsCyrillicAndAstral) {
  const std::string Utf8 = "Краска \xF0\x9F\x8E\xA8 ok";
  const String Text = Utf8ToString(Utf8);
  EXPECT_EQ(Text.size(), 12u);  // the emoji takes two UTF-16 units
  EXPECT_EQ(StringToUtf8(Text), Utf8);
}

TEST(Utf, InvalidBytesBecomeReplacementCharacters) {
  struct Case { std::string In; String Out; } Cases[] = {
      {"a\xFF" "b", u"a\uFFFDb"},
      {"\xC3", u"\uFFFD"},             // truncated sequence at the end
      {"\xC0\xAF", u"\uFFFD\uFFFD"},   // overlong form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
      {"ab\xE0" "cd", u"ab\uFFFDcd"},  // a sequence cut short between ASCII runs
      {"ab\xE0\x80" "cd", u"ab\uFFFD\uFFFDcd"},
      {"ab\xD0\x9A" "cd\xD0", u"abКcd\uFFFD"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Utf8ToString(C.In), C.Out) << C.In;
  struct Back { String In; std::string Out; } Backs[] = {
      {u"\xD800x", "\xEF\xBF\xBDx"},  // lone surrogate
      {u"ab\xDC00", "ab\xEF\xBF\xBD"},
      {u"ab\xD83D\xDE00" u"cd", "ab\xF0\x9F\x98\x80" "cd"},
  };
  for (const auto& C : Backs) EXPECT_EQ(StringToUtf8(C.In), C.Out) << C.Out;
}

// ASCII is tested several units at a time: a non-ASCII character at any place in texts of
// every length around the word sizes still converts, both ways.
TEST(Utf, NonAsciiAtEveryPlaceOfShortAndLongRuns) {
  for (std::size_t Length = 1; Length <= 19; ++Length)
    for (std::size_t At = 0; At < Length; ++At) {
      String Text(Length, u'a');
      Text[At] = u'Ж';
      std::string Utf8(Length - 1 - At, 'a');
      Utf8.insert(0, "\xD0\x96");
      Utf8.insert(0, std::string(At, 'a'));
      EXPECT_EQ(StringToUtf8(Text), Utf8) << Length << " " << At;
      EXPECT_EQ(Utf8ToString(Utf8), Text) << Length << " " << At;
      Text[At] = 0x7F;  // the last ASCII unit stays ASCII
      EXPECT_EQ(Utf8ToString(StringToUtf8(Text)), Text) << Length << " " << At;
    }
}

TEST(Exceptions, CarryMessageAndClass) {
  try {
    throw EConvertError(u"'abc' is not a valid integer value");
  } catch (const Exception& E) {
    EXPECT_STREQ(E.ClassName(), "EConvertError");
    EXPECT_EQ(E.Message(), u"'abc' is not a valid integer value");
    EXPECT_STREQ(E.what(), "'abc' is not a valid integer value");
  }
}

TEST(Resources, CompiledInFilesAreFoundByName) {
  EXPECT_EQ(LoadResource("rtl/selftest.txt"), "hello, resources\n");
  EXPECT_EQ(FindResource("rtl/missing.txt"), nullptr);
  EXPECT_THROW(LoadResource("rtl/missing.txt"), EResNotFound);
  EXPECT_EQ(ResourceNames("rtl/"), std::vector<std::string>{"rtl/selftest.txt"});
}
