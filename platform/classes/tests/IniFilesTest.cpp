// IniFilesTest.cpp - ini files keep their text, read typed values and write through.
#include "platform/classes/IniFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"

namespace {

class IniFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    FDir = std::filesystem::path(::testing::TempDir()) /
           ("ini-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(FDir);
    std::filesystem::create_directories(FDir);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  String Path(const char* Name) const { return Utf8ToString((FDir / Name).string()); }
  void WriteRaw(const char* Name, const std::string& Bytes) const {
    std::ofstream(FDir / Name, std::ios::binary) << Bytes;
  }
  std::string ReadRaw(const char* Name) const {
    std::ifstream In(FDir / Name, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }

  std::filesystem::path FDir;
};

const std::string kSample =
    "; Shop settings\r\n"
    "[Main]\r\n"
    "Title = Paint shop\r\n"
    "  Count=3\r\n"
    "\r\n"
    "; tinting\r\n"
    "[Tint]\r\n"
    "Base=White\r\n";

TEST_F(IniFilesTest, RewriteKeepsCommentsSpacingOrderAndLineBreaks) {
  WriteRaw("a.ini", kSample);
  TMemIniFile Ini(Path("a.ini"));
  Ini.UpdateFile();
  EXPECT_EQ(ReadRaw("a.ini"), kSample) << "an unchanged file is written back byte for byte";

  Ini.WriteString(u"main", u"title", u"Краски");
  Ini.WriteInteger(u"Main", u"Added", 7);
  Ini.WriteString(u"New", u"Key", u"v");
  Ini.UpdateFile();
  EXPECT_EQ(ReadRaw("a.ini"),
            "; Shop settings\r\n"
            "[Main]\r\n"
            "Title = \xD0\x9A\xD1\x80\xD0\xB0\xD1\x81\xD0\xBA\xD0\xB8\r\n"
            "  Count=3\r\n"
            "Added=7\r\n"
            "\r\n"
            "; tinting\r\n"
            "[Tint]\r\n"
            "Base=White\r\n"
            "\r\n"
            "[New]\r\n"
            "Key=v\r\n");
}

TEST_F(IniFilesTest, ReadsSectionsKeysAndValues) {
  WriteRaw("a.ini", kSample + "[main]\r\nLate=1\r\nCount=99\r\n");
  TMemIniFile Ini(Path("a.ini"));
  TStringList List;
  Ini.ReadSections(&List);
  EXPECT_EQ(List.CommaText(), u"Main,Tint") << "a repeated section is one section";
  Ini.ReadSection(u"MAIN", &List);
  EXPECT_EQ(List.CommaText(), u"Title,Count,Late");
  Ini.ReadSectionValues(u"Main", &List);
  EXPECT_EQ(List.Text(), u"Title=Paint shop\r\nCount=3\r\nLate=1\r\n");
  EXPECT_EQ(Ini.ReadInteger(u"Main", u"Count", 0), 3) << "the first key of a name wins";
  EXPECT_EQ(Ini.ReadString(u"Main", u"Missing", u"def"), u"def");
  EXPECT_TRUE(Ini.SectionExists(u"tint"));
  EXPECT_FALSE(Ini.SectionExists(u"None"));
  EXPECT_TRUE(Ini.ValueExists(u"Tint", u"base"));
  EXPECT_FALSE(Ini.ValueExists(u"Tint", u"Title"));
}

TEST_F(IniFilesTest, TypedValuesRoundTripAndBadTextGivesDefault) {
  TMemIniFile Ini(Path("t.ini"));
  Ini.WriteBool(u"S", u"On", true);
  Ini.WriteFloat(u"S", u"Ratio", 0.1 + 0.2);
  Ini.WriteDateTime(u"S", u"At", EncodeDateTime(2026, 12, 9, 14, 5, 30, 0));
  Ini.WriteDate(u"S", u"Day", EncodeDate(2026, 1, 2));
  Ini.WriteString(u"S", u"Hex", u"$1F");
  Ini.WriteString(u"S", u"Comma", u"2,5");
  Ini.WriteString(u"S", u"Bad", u"x1");
  Ini.UpdateFile();
  EXPECT_NE(ReadRaw("t.ini").find("Ratio=0.3\nAt=2026-12-09 14:05:30\nDay=2026-01-02\n"),
            std::string::npos)
      << ReadRaw("t.ini");

  TMemIniFile Back(Path("t.ini"));
  EXPECT_TRUE(Back.ReadBool(u"S", u"On", false));
  EXPECT_DOUBLE_EQ(Back.ReadFloat(u"S", u"Ratio", 0), 0.3);
  EXPECT_DOUBLE_EQ(Back.ReadDateTime(u"S", u"At", 0), EncodeDateTime(2026, 12, 9, 14, 5, 30, 0));
  EXPECT_DOUBLE_EQ(Back.ReadDate(u"S", u"Day", 0), EncodeDate(2026, 1, 2));
  EXPECT_EQ(Back.ReadInteger(u"S", u"Hex", 0), 31);
  EXPECT_EQ(Back.ReadInteger(u"S", u"Bad", -1), -1);
  EXPECT_TRUE(Back.ReadBool(u"S", u"Bad", true));
  EXPECT_DOUBLE_EQ(Back.ReadFloat(u"S", u"Bad", 1.5), 1.5);
  EXPECT_DOUBLE_EQ(Back.ReadDate(u"S", u"Bad", 7), 7);
}

TEST_F(IniFilesTest, EraseSectionAndDeleteKey) {
  WriteRaw("a.ini", kSample + "[Main]\nCount=4\n");
  TMemIniFile Ini(Path("a.ini"));
  Ini.DeleteKey(u"Main", u"Count");
  EXPECT_FALSE(Ini.ValueExists(u"Main", u"Count")) << "every key of the name goes";
  Ini.EraseSection(u"Tint");
  Ini.UpdateFile();
  EXPECT_EQ(ReadRaw("a.ini"), "; Shop settings\r\n[Main]\r\nTitle = Paint shop\r\n\r\n"
                              "; tinting\r\n[Main]\r\n");
}

TEST_F(IniFilesTest, MemIniFileWritesOnlyOnUpdateFile) {
  {
    TMemIniFile Ini(Path("m.ini"));
    Ini.WriteString(u"S", u"K", u"v");
  }
  EXPECT_FALSE(std::filesystem::exists(FDir / "m.ini"));
}

TEST_F(IniFilesTest, IniFileWritesThroughAndSeesOtherWriters) {
  TIniFile First(Path("w.ini"));
  TIniFile Second(Path("w.ini"));
  First.WriteString(u"Grid", u"Grid1.Price", u"0,64,0,1,0,7,0,0,1");
  Second.WriteString(u"Grid", u"(Default)", u"18,1");
  EXPECT_EQ(First.ReadString(u"Grid", u"(Default)", u""), u"18,1");
  EXPECT_EQ(ReadRaw("w.ini"), "[Grid]\nGrid1.Price=0,64,0,1,0,7,0,0,1\n(Default)=18,1\n");
  First.EraseSection(u"Grid");
  EXPECT_EQ(ReadRaw("w.ini"), "");
}

TEST_F(IniFilesTest, EncodingsAreReadAndKeptOnRewrite) {
  struct Case {
    const char* Name;
    std::string Bytes;
  } Cases[] = {
      {"utf8.ini", "[S]\nK=\xD0\xAF\n"},
      {"bom.ini", "\xEF\xBB\xBF[S]\nK=\xD0\xAF\n"},
      {"ansi.ini", "[S]\nK=\xDF\n"},
      {"utf16.ini", std::string("\xFF\xFE[\0S\0]\0\n\0K\0=\0\x2F\x04\n\0", 18)},
  };
  for (const Case& C : Cases) {
    WriteRaw(C.Name, C.Bytes);
    TMemIniFile Ini(Path(C.Name));
    EXPECT_EQ(Ini.ReadString(u"S", u"K", u""), u"Я") << C.Name;
    Ini.UpdateFile();
    EXPECT_EQ(ReadRaw(C.Name), C.Bytes) << C.Name;
  }
}

TEST_F(IniFilesTest, NamesAndValuesThatWouldBreakTheFileAreRefused) {
  TMemIniFile Ini(Path("bad.ini"));
  struct Case {
    const char16_t* Section;
    const char16_t* Ident;
    const char16_t* Value;
  } Cases[] = {
      {u"S", u"A=B", u"v"},  {u"S", u"", u"v"},    {u"S", u" K", u"v"},
      {u"S", u"K", u"1\n2"}, {u"S\r", u"K", u"v"}, {u"S", u";K", u"v"},
  };
  for (const Case& C : Cases)
    EXPECT_THROW(Ini.WriteString(C.Section, C.Ident, C.Value), EIniFileException)
        << ToUtf8(C.Ident) << "/" << ToUtf8(C.Value);
  TStringList Sections;
  Ini.ReadSections(&Sections);
  EXPECT_EQ(Sections.Count(), 0) << "nothing half-written";
}

TEST_F(IniFilesTest, UnwritableFileRaisesAndLeavesNoTemporary) {
  TMemIniFile Ini(Path("missing-dir/x.ini"));
  Ini.WriteString(u"S", u"K", u"v");
  try {
    Ini.UpdateFile();
    FAIL() << "no exception";
  } catch (const EIniFileException& E) {
    EXPECT_EQ(E.Message(), u"Unable to write to " + Path("missing-dir/x.ini"));
  }
  EXPECT_TRUE(std::filesystem::is_empty(FDir));
}

}  // namespace

TEST_F(IniFilesTest, TimesBinaryStreamsAndTheTextAsLines) {
  TMemIniFile Ini(Path("t.ini"));
  Ini.WriteTime(u"S", u"T", EncodeTime(13, 5, 9, 0));
  EXPECT_EQ(Ini.ReadString(u"S", u"T", u""), u"13:05:09");
  EXPECT_DOUBLE_EQ(Ini.ReadTime(u"S", u"T", 0), EncodeTime(13, 5, 9, 0));
  EXPECT_DOUBLE_EQ(Ini.ReadTime(u"S", u"none", 0.5), 0.5);

  TMemoryStream Out;
  Out.WriteBuffer("\x00\x7F\xFFz", 4);
  Out.SetPosition(1);  // from the position to the end
  Ini.WriteBinaryStream(u"S", u"B", &Out);
  EXPECT_EQ(Ini.ReadString(u"S", u"B", u""), u"7FFF7A");
  TMemoryStream In;
  EXPECT_EQ(Ini.ReadBinaryStream(u"S", u"B", &In), 3);
  EXPECT_EQ(In.Size(), 3);
  EXPECT_EQ(static_cast<const unsigned char*>(In.Memory())[1], 0xFF);
  for (const char16_t* Bad : {u"7FF", u"7G", u""}) {
    Ini.WriteString(u"S", u"Bad", Bad);
    EXPECT_EQ(Ini.ReadBinaryStream(u"S", u"Bad", &In), 0) << StringToUtf8(Bad);
  }
  EXPECT_EQ(In.Size(), 3);

  TStringList Lines;
  Ini.GetStrings(&Lines);
  EXPECT_EQ(Lines.Text(), u"[S]\r\nT=13:05:09\r\nB=7FFF7A\r\nBad=\r\n");
  Lines.Clear();
  Lines.Add(u"; note");
  Lines.Add(u"[N]");
  Lines.Add(u"a = 1");
  Ini.SetStrings(&Lines);
  EXPECT_EQ(Ini.ReadInteger(u"N", u"a", 0), 1);
  EXPECT_FALSE(Ini.SectionExists(u"S"));
  Ini.UpdateFile();
  EXPECT_EQ(ReadRaw("t.ini"), "; note\n[N]\na = 1\n");
}
