// vqrUtilsTest.cpp - numbers, text scanning, checksums and hex text, page ranges.
#include "report/core/vqrUtils.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

String Joined(const TStrings& List) {
  String S;
  for (int I = 0; I < List.Count(); ++I) S += (I ? u"," : u"") + List.Get(I);
  return S;
}

}  // namespace

TEST(VqrUtils, RectAreaOverlap) {
  TvqrRectArea A(0, 0, 10, 10);
  EXPECT_FALSE(A.InterceptsX(TvqrRectArea(10, 0, 20, 10)));
  EXPECT_TRUE(A.InterceptsX(TvqrRectArea(9.9998L, 0, 20, 10)));
  auto Common = A.InterceptX(TvqrRectArea(5, 3, 20, 4));
  ASSERT_TRUE(Common);
  EXPECT_EQ(Common->X, 5);
  EXPECT_EQ(Common->X1, 10);
  EXPECT_EQ(Common->Y, 0);
  EXPECT_FALSE(A.InterceptY(TvqrRectArea(0, 10, 1, 12)));
}

TEST(VqrUtils, Numbers) {
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  EXPECT_EQ(ParseFloatText(u"1,5"), 1.5L);
  EXPECT_EQ(ParseFloatText(u" 1 000.25"), 1000.25L);
  EXPECT_THROW(ParseFloatText(u"x"), EConvertError);
  EXPECT_EQ(FormatFloatText(2.5), u"2,50");
  EXPECT_EQ(FormatFloatText(3), u"3");
  struct {
    int Digits;
    long double X;
    const char16_t* Text;
  } Cases[] = {{2, 0.125L, u"0.13"}, {2, -0.125L, u"-0.13"}, {0, 0.5L, u"1"},
               {0, 2.5L, u"3"},      {2, 12.0L, u"12.00"},  {3, 0.0004L, u"0.000"},
               {1, 99.96L, u"100.0"}, {0, 0.4L, u"0"},      {2, 1234567.891L, u"1234567.89"}};
  for (const auto& C : Cases)
    EXPECT_EQ(FloatToFixedText(C.Digits, u'.', C.X), C.Text) << static_cast<double>(C.X);
}

// Plain decimal texts take a shorter path than the general float parser; both must give the
// same long double, bit for bit, including near the limits of that path (19 digits, the
// largest powers of ten, -0) and for texts it hands on (exponents, blanks, 20 digits).
TEST(VqrUtils, ParseFloatTextAgreesWithTheGeneralParser) {
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  auto General = [](String Text) {
    for (Char& C : Text)
      if (C == u'.') C = u',';
    String Compact;
    for (Char C : Text)
      if (C != u' ') Compact += C;
    return StrToFloat(Compact);
  };
  auto SameBits = [](long double A, long double B) {
    return std::memcmp(&A, &B, 10) == 0;
  };
  const char16_t* Cases[] = {u"0",          u"-0",          u"-0,0",       u"718,1107",
                             u"22.6772",     u"0,1",         u"0.000001",   u"71,811",
                             u"9999999999999999999",        u"1844674407370955161,5",
                             u"0,0000000000000000001",      u"-123456789,0123456789",
                             u"12345678901234567890",       u"1e5",        u"1 000,25",
                             u"007,50",      u"3,"};
  for (const char16_t* Text : Cases) {
    long double Expected = 0;
    bool Valid = true;
    try {
      Expected = General(Text);
    } catch (const EConvertError&) {
      Valid = false;
    }
    if (!Valid) {
      EXPECT_THROW(ParseFloatText(String(Text)), EConvertError) << String(Text).size();
      continue;
    }
    EXPECT_TRUE(SameBits(ParseFloatText(String(Text)), Expected)) << static_cast<double>(Expected);
  }
  // Random texts of every length of integer and fraction part.
  std::uint64_t Seed = 88172645463325252ull;
  for (int I = 0; I < 20000; ++I) {
    Seed ^= Seed << 13, Seed ^= Seed >> 7, Seed ^= Seed << 17;
    String Text = IntToStr(static_cast<Int64>(Seed % (I % 2 ? 1000000000000000000ull : 100000ull)));
    const std::size_t Point = Seed >> 60;
    if (Point > 0 && Point < Text.size()) Text.insert(Text.size() - Point, 1, u',');
    if (Seed & 1) Text.insert(0, 1, u'-');
    ASSERT_TRUE(SameBits(ParseFloatText(Text), General(Text))) << I;
  }
}

TEST(VqrUtils, SplitAndBrackets) {
  TStringList List;
  SplitTextToList(u"a,,b,", &List, u',');
  EXPECT_EQ(List.Count(), 3);
  EXPECT_EQ(Joined(List), u"a,,b");
  SplitTextToList(u",a", &List, u',');
  EXPECT_EQ(List.Count(), 2);

  int Start = 1, End = 0;
  EXPECT_EQ(ExtractBracketedText(u"[a[b]c] x", u"[", u"]", Start, End), u"a[b]c");
  EXPECT_EQ(End, 7);
  Start = 1;
  EXPECT_EQ(ExtractBracketedText(u"[a\"]\"']'b] x", u"[", u"]", Start, End), u"a\"]\"']'b");
  Start = 2;
  EXPECT_EQ(ExtractBracketedText(u"[a]", u"[", u"]", Start, End), u"");
  EXPECT_EQ(End, Start);
  Start = 1;
  EXPECT_EQ(ExtractBracketedText(u"[abc", u"[", u"]", Start, End), u"ab");
  EXPECT_EQ(End, 4);
  EXPECT_EQ(SlashesToBackslashes(u"a/b/c"), u"a\\b\\c");
}

TEST(VqrUtils, PageRanges) {
  struct {
    const char16_t* Text;
    int LastPage;
    const char16_t* Pages;
  } Cases[] = {
      {u"1,3,5-7", 10, u"1,3,5,6,7"}, {u"4-", 6, u"4,5,6"}, {u"2 - 4 , 9", 10, u"2,3,4,9"},
      {u"5-3", 10, u""},             {u"", 10, u""},       {u"11", 3, u"11"},
  };
  TStringList List;
  for (const auto& C : Cases) {
    ParsePageRanges(C.Text, &List, C.LastPage);
    EXPECT_EQ(Joined(List), C.Pages) << ToUtf8(C.Text);
  }
  EXPECT_THROW(ParsePageRanges(u"1,x", &List, 5), EConvertError);
  EXPECT_EQ(Joined(List), u"1");
}

// Fault: a typed range such as 1-2000000000 built two billion entries.
TEST(VqrUtils, UnboundedPageRangeStopsAtTheLastPage) {
  TStringList List;
  ParsePageRanges(u"1-2000000000", &List, 3);
  EXPECT_EQ(Joined(List), u"1,2,3");
}

TEST(VqrUtils, ChecksumAndHex) {
  TStringStream S{std::string_view("abc")};
  S.SetPosition(1);
  EXPECT_EQ(ComputeStreamChecksum(&S), 0x352441C2u);
  EXPECT_EQ(S.Position(), 1);
  TBytesStream Two(TBytes{0x00, 0xAB});
  EXPECT_EQ(StreamToHexText(&Two), u"00AB");
  TMemoryStream Out;
  HexTextToStream(u"00ab", &Out);
  EXPECT_EQ(StreamToHexText(&Out), u"00AB");
}

// Fault: after a bad hex pair the rest of the promised bytes were uninitialised memory, and
// older bytes of the stream stayed behind.
TEST(VqrUtils, BadHexPairWritesOnlyConvertedBytes) {
  TStringStream Out{std::string_view("0123456789")};
  HexTextToStream(u"4142zz4344", &Out);
  EXPECT_EQ(Out.Bytes(), "AB");
  HexTextToStream(u"G0", &Out);
  EXPECT_EQ(Out.Size(), 0);
}

TEST(VqrUtils, TempFiles) {
  String Name = NewTempFileName();
  EXPECT_TRUE(FileExists(Name));
  EXPECT_EQ(ExtractFileName(Name).substr(0, 2), u"vq");
  DeleteFile(Name);
  EXPECT_FALSE(ModuleFolder().empty());
}
