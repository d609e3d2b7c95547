// RegistryTest.cpp - the registry stand-in under a temporary XDG_CONFIG_HOME.
#include "platform/classes/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/classes/Strings.h"
#include "platform/rtl/Exceptions.h"

namespace {

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* Old = std::getenv("XDG_CONFIG_HOME");
    FOld = Old ? std::optional<std::string>(Old) : std::nullopt;
    FDir = std::filesystem::path(::testing::TempDir()) /
           ("reg-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(FDir);
    ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
  }
  void TearDown() override {
    if (FOld)
      ::setenv("XDG_CONFIG_HOME", FOld->c_str(), 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(FDir);
  }
  std::string RootFile(const char* Name) const {
    std::ifstream In(FDir / "vorenta" / Name, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }

  std::filesystem::path FDir;
  std::optional<std::string> FOld;
};

template <class E>
String MessageOf(auto&& Action) {
  try {
    Action();
  } catch (const E& Error) {
    return Error.Message();
  }
  return u"<no exception>";
}

TEST_F(RegistryTest, ValuesRoundTripThroughTheRootFile) {
  {
    TRegistry Reg;
    Reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(Reg.OpenKey(u"\\Software\\Quillerant\\Connections", false));
    ASSERT_TRUE(Reg.OpenKey(u"\\Software\\Quillerant\\Connections", true));
    EXPECT_EQ(Reg.CurrentPath(), u"Software\\Quillerant\\Connections");
    Reg.WriteString(u"Main", u"Data Source=shop.db;\"quoted\"\\x");
    Reg.WriteString(u"", u"default");
    Reg.WriteString(u"a=b", u"line1\r\nline2");
    Reg.WriteInteger(u"Count", -2);
    Reg.WriteBool(u"On", true);
    Reg.WriteFloat(u"Ratio", 0.1);
    const unsigned char Blob[] = {0, 1, 0xFE};
    Reg.WriteBinaryData(u"Blob", Blob, 3);
  }
  EXPECT_EQ(RootFile("HKEY_LOCAL_MACHINE.ini"),
            "[Software\\Quillerant\\Connections]\n"
            "Main=\"Data Source\\x3Dshop.db;\\\"quoted\\\"\\\\x\"\n"
            "@=\"default\"\n"
            "\"a\\x3Db\"=\"line1\\r\\nline2\"\n"
            "Count=dword:FFFFFFFE\n"
            "On=dword:00000001\n"
            "Ratio=hex:9a,99,99,99,99,99,b9,3f\n"
            "Blob=hex:00,01,fe\n");
  TRegistry Reg;
  Reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(Reg.OpenKeyReadOnly(u"Software\\quillerant\\CONNECTIONS"));
  EXPECT_EQ(Reg.ReadString(u"main"), u"Data Source=shop.db;\"quoted\"\\x");
  EXPECT_EQ(Reg.ReadString(u""), u"default");
  EXPECT_EQ(Reg.ReadString(u"a=b"), u"line1\r\nline2");
  EXPECT_EQ(Reg.ReadInteger(u"Count"), -2);
  EXPECT_TRUE(Reg.ReadBool(u"On"));
  EXPECT_DOUBLE_EQ(Reg.ReadFloat(u"Ratio"), 0.1);
  unsigned char Buffer[8] = {};
  EXPECT_EQ(Reg.ReadBinaryData(u"Blob", Buffer, sizeof Buffer), 3);
  EXPECT_EQ(Buffer[2], 0xFE);
  EXPECT_EQ(Reg.ReadBinaryData(u"None", Buffer, sizeof Buffer), 0);
  TStringList Names;
  Reg.GetValueNames(&Names);
  EXPECT_EQ(Names.CommaText(), u"Main,,a=b,Count,On,Ratio,Blob");
  EXPECT_EQ(RootFile("HKEY_CURRENT_USER.ini"), "") << "each root has its own file";
}

TEST_F(RegistryTest, ErrorsForMissingValuesWrongKindsAndReadOnlyKeys) {
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKey(u"Software\\Test", true));
  Reg.WriteString(u"S", u"text");
  Reg.WriteInteger(u"I", 5);
  EXPECT_EQ(Reg.ReadString(u"Missing"), u"");
  EXPECT_EQ(MessageOf<ERegistryException>([&] { Reg.ReadInteger(u"Missing"); }),
            u"Failed to get data for 'Missing'");
  EXPECT_EQ(MessageOf<ERegistryException>([&] { Reg.ReadInteger(u"S"); }),
            u"Invalid data type for 'S'");
  EXPECT_EQ(MessageOf<ERegistryException>([&] { Reg.ReadString(u"I"); }),
            u"Invalid data type for 'I'");
  EXPECT_EQ(MessageOf<ERegistryException>([&] { Reg.ReadFloat(u"I"); }),
            u"Invalid data type for 'I'");
  Reg.WriteBinaryData(u"B", "abcd", 4);
  char Small[2];
  EXPECT_THROW(Reg.ReadBinaryData(u"B", Small, 2), ERegistryException);
  ASSERT_TRUE(Reg.OpenKeyReadOnly(u"\\Software\\Test"));
  EXPECT_EQ(MessageOf<ERegistryException>([&] { Reg.WriteString(u"S", u"x"); }),
            u"Failed to set data for 'S'");
  EXPECT_EQ(Reg.ReadString(u"S"), u"text");
}

TEST_F(RegistryTest, KeysNestDeleteAndList) {
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKey(u"\\Software\\Quillerant\\Grids\\Orders", true));
  Reg.WriteString(u"Grid1.Price", u"0,64,0,1,0,7,0,0,1");
  ASSERT_TRUE(Reg.OpenKey(u"\\Software\\Quillerant\\Connections", true));
  ASSERT_TRUE(Reg.OpenKey(u"Local", true)) << "relative to the open key";
  EXPECT_EQ(Reg.CurrentPath(), u"Software\\Quillerant\\Connections\\Local");
  EXPECT_TRUE(Reg.KeyExists(u"\\Software\\Quillerant\\Grids")) << "a parent exists by its children";
  EXPECT_FALSE(Reg.KeyExists(u"\\Software\\Quill"));
  Reg.CloseKey();
  ASSERT_TRUE(Reg.OpenKey(u"Software\\Quillerant", false));
  TStringList Keys;
  Reg.GetKeyNames(&Keys);
  EXPECT_EQ(Keys.CommaText(), u"Grids,Connections");
  EXPECT_TRUE(Reg.DeleteKey(u"Grids"));
  EXPECT_FALSE(Reg.KeyExists(u"Grids\\Orders"));
  EXPECT_FALSE(Reg.DeleteKey(u"Grids"));
  Reg.GetKeyNames(&Keys);
  EXPECT_EQ(Keys.CommaText(), u"Connections");
}

TEST_F(RegistryTest, RegIniFileSectionsAreSubkeysAndDefaultValueIsUnnamed) {
  {
    TRegIniFile Ini(u"\\Software\\Quillerant");
    Ini.WriteString(u"TForm1Grid1", u"Grid1.Price", u"0,64,0,1,0,7,0,0,1");
    Ini.WriteString(u"TForm1Grid1", u"", u"18,1");
    Ini.WriteInteger(u"Form.TvqrDesignerForm", u"Units", 2);
    Ini.WriteBool(u"Form.TvqrDesignerForm", u"Grid", true);
  }
  TRegistryIniFile Ini(u"\\Software\\Quillerant");
  EXPECT_EQ(Ini.ReadString(u"TForm1Grid1", u"", u""), u"18,1");
  EXPECT_EQ(Ini.ReadInteger(u"Form.TvqrDesignerForm", u"Units", 0), 2);
  EXPECT_TRUE(Ini.ReadBool(u"Form.TvqrDesignerForm", u"Grid", false));
  EXPECT_EQ(Ini.ReadInteger(u"Missing", u"Units", 7), 7);
  TStringList List;
  Ini.ReadSections(&List);
  EXPECT_EQ(List.CommaText(), u"TForm1Grid1,Form.TvqrDesignerForm");
  Ini.ReadSectionValues(u"TForm1Grid1", &List);
  EXPECT_EQ(List.Text(), u"Grid1.Price=0,64,0,1,0,7,0,0,1\r\n=18,1\r\n");
  EXPECT_TRUE(Ini.ValueExists(u"TForm1Grid1", u"Grid1.Price"));
  Ini.DeleteKey(u"TForm1Grid1", u"Grid1.Price");
  EXPECT_FALSE(Ini.ValueExists(u"TForm1Grid1", u"Grid1.Price"));
  Ini.EraseSection(u"TForm1Grid1");
  EXPECT_FALSE(Ini.SectionExists(u"TForm1Grid1"));
  EXPECT_TRUE(Ini.SectionExists(u"Form.TvqrDesignerForm"));
  EXPECT_EQ(Ini.RegIniFile()->CurrentPath(), u"Software\\Quillerant") << "the base key stays open";
}

TEST_F(RegistryTest, HandEditedFileIsReadLeniently) {
  std::filesystem::create_directories(FDir / "vorenta");
  std::ofstream(FDir / "vorenta" / "HKEY_CURRENT_USER.ini")
      << "; edited by hand\n[Software\\X]\nPlain=some text\nBadHex=hex:zz\n";
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKey(u"Software\\X", false));
  EXPECT_EQ(Reg.ReadString(u"Plain"), u"some text");
  EXPECT_EQ(Reg.ReadString(u"BadHex"), u"hex:zz");
  Reg.WriteInteger(u"N", 1);
  EXPECT_EQ(RootFile("HKEY_CURRENT_USER.ini"),
            "; edited by hand\n[Software\\X]\nPlain=some text\nBadHex=hex:zz\nN=dword:00000001\n");
}

}  // namespace
