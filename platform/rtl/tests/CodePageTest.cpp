// Tests of the 8-bit code page conversions.
#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

TEST(CodePage, Windows1251BothWays) {
  EXPECT_EQ(AnsiToString("\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xB8!"), u"Привет, Ёё!");
  EXPECT_EQ(StringToAnsi(u"Краска №5 €"), "\xCA\xF0\xE0\xF1\xEA\xE0 \xB9" "5 \x88");
  std::string All;
  for (int B = 1; B < 256; ++B)
    if (B != 0x98) All.push_back(static_cast<char>(B));  // 0x98 is not defined in 1251
  EXPECT_EQ(StringToAnsi(AnsiToString(All)), All);
}

TEST(CodePage, MissingCharactersAndOtherPages) {
  EXPECT_EQ(StringToAnsi(u"a\u30FCb\U0001F3A8c"), "a?b?c");  // a surrogate pair is one '?'
  std::string Bytes = "keep";
  EXPECT_FALSE(TryStringToCodePage(u"a\u30FC", 1251, Bytes));
  EXPECT_EQ(Bytes, "keep");
  EXPECT_TRUE(TryStringToCodePage(u"Ёж", 866, Bytes));
  EXPECT_EQ(Bytes, "\xF0\xA6");
  EXPECT_EQ(CodePageToString("\x80\xA0", GetOEMCP()), u"Аа");
  EXPECT_EQ(CodePageToString("\xD0\xB6", 65001), u"ж");
  EXPECT_EQ(CodePageToString("", 1251), u"");
  try {
    CodePageToString("x", 12345);
    ADD_FAILURE();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), u"Code page 12345 is not supported");
  }
}
