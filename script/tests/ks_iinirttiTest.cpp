// ks_iinirttiTest.cpp - both ini classes from scripts, on files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "script/tests/ks_TestHost.h"

namespace {

struct TIniFolder {
  std::filesystem::path Path =
      std::filesystem::temp_directory_path() / ("ks_ini_" + std::to_string(::getpid()));
  TIniFolder() { std::filesystem::create_directories(Path); }
  ~TIniFolder() { std::filesystem::remove_all(Path); }
  std::string Read(const char* Name) const {
    std::ifstream In(Path / Name, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }
};

}  // namespace

TEST(ScriptIni, BothClassesFromScripts) {
  TIniFolder T;
  TksTestHost H;
  H.Script->AddVariable(u"Dir", u"String", Variant(Utf8ToString(T.Path.string() + "/")));
  EXPECT_EQ(H.Run(u"var i: TIniFile; m: TMemIniFile; l: TStringList; s: TMemoryStream;\r\n"
                  u"begin\r\n"
                  u"  i := TIniFile.Create(Dir + 'a.ini'); Out(i.ClassName);\r\n"
                  u"  l := TStringList.Create; l.Add('x'); l.Add('y'); l.Add('z');\r\n"
                  u"  i.WriteTStrings('L', l); Out(i.ReadInteger('L', 'Count', -1)); Out(i.ReadString('L', 'Items2', ''));\r\n"
                  u"  l.Clear; l.Add('keep'); Out(i.ReadTStrings('L', l, False)); Out(l.CommaText);\r\n"
                  u"  i.ReadTStrings('L', l); Out(l.CommaText);\r\n"
                  u"  i.WriteString('V', 'a', '1'); i.WriteString('V', 'b', '2'); i.ReadSectionValuesEx('V', l); Out(l.CommaText);\r\n"
                  u"  i.WriteBool('V', 'ok', True); Out(i.ReadBool('V', 'ok', False)); Out(i.ValueExists('V', 'b'));\r\n"
                  u"  s := TMemoryStream.Create; i.SaveIniFileToStream(s); s.Position := 0;\r\n"
                  u"  m := TMemIniFile.Create(Dir + 'm.ini'); m.LoadIniFileFromStream(s); Out(m.ReadString('V', 'b', '?'));\r\n"
                  u"  m.WriteTime('T', 't', EncodeTime(10, 20, 30, 0)); Out(m.ReadString('T', 't', ''));\r\n"
                  u"  s.Clear; s.Write('hi', 4); s.Position := 0; m.WriteBinaryStream('T', 'b', s); Out(m.ReadString('T', 'b', ''));\r\n"
                  u"  m.GetStrings(l); Out(l.Count); s.Free; m.Free; i.Free; l.Free\r\n"
                  u"end."),
            "TIniFile 3 z 0 keep,x,y,z x,y,z 1,2 True True 2 10:20:30 68006900 14");
  EXPECT_NE(T.Read("a.ini").find("Items1=y"), std::string::npos);
  EXPECT_EQ(H.Run(u"var c: TCustomIniFile; begin c := TCustomIniFile.Create('x.ini') end."),
            " raised EInvalidOperation: Cannot create an instance of TCustomIniFile");
}
