// ks_iclassesrttiTest.cpp - the base classes from scripts, on real objects in a temporary
// folder: string lists, file and memory streams, lists, XML documents, and freeing rules.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/classes/Component.h"
#include "platform/classes/List.h"
#include "platform/rtl/SysUtils.h"
#include "platform/classes/Strings.h"
#include "script/tests/ks_TestHost.h"

namespace {

struct TTempFolder {
  std::filesystem::path Path = std::filesystem::temp_directory_path() /
                               ("ks_classes_" + std::to_string(::getpid()));
  TTempFolder() { std::filesystem::create_directories(Path); }
  ~TTempFolder() { std::filesystem::remove_all(Path); }
  String File(const char* Name) const { return Utf8ToString((Path / Name).string()); }
};

struct TScriptCase {
  const char* Name;
  const char16_t* Source;
  const char* Expected;
};

const TScriptCase kCases[] = {
    {"registered after AddRTTI", u"var o: TObject; begin o := TStringList.Create; Out(o.ClassName); o.Free end.",
     "TStringList"},
    {"sorted list and find",
     u"var l: TStringList; i: Integer; begin l := TStringList.Create; l.Add('b'); l.Add('a'); l.Sorted := True; "
     u"Out(l[0]); Out(l.Find('b', i)); Out(i); Out(l.Find('c', i)); l.Free end.",
     "a True 1 False"},
    {"names and values",
     u"var l: TStringList; begin l := TStringList.Create; l.Add('key=value'); Out(l.Values['key']); Out(l.Names[0]); "
     u"l.Values['x'] := '1'; Out(l.CommaText); l.Strings[0] := 'k=v'; Out(l.Text); l.Free end.",
     "value key key=value,x=1 k=v\r\nx=1\r\n"},
    {"names are read-only", u"var l: TStringList; begin l := TStringList.Create; l.Names[0] := 'x' end.",
     "error 1:52: Left side cannot be assigned to"},
    {"objects cross as handles",
     u"var l: TStringList; o: TStringList; begin l := TStringList.Create; o := TStringList.Create; o.Add('in o'); "
     u"l.AddObject('x', o); Out(TStringList(l.Objects[0])[0]); Out(l.IndexOfObject(o)); "
     u"o.Free; try Out(l.IndexOfObject(o)) finally l.Free end end.",
     "in o 0 raised EHandleError: "},
    {"plain integer is no object", u"var l: TStringList; v: Variant; begin l := TStringList.Create; v := 5; try l.AddObject('x', v) finally l.Free end end.",
     " raised EHandleError: Invalid object reference: 5"},
    {"list items", u"var l: TList; s: TStringList; begin l := TList.Create; s := TStringList.Create; l.Add(s); l.Add(nil); "
                   u"Out(l.Count); Out(TStringList(l[0]).ClassName); l[1] := s; Out(l.IndexOf(s)); Out(l.Remove(s)); Out(l.Count); "
                   u"s.Free; Out(l.Count); try l[0].ClassName finally l.Free end end.",
     "2 TStringList 0 0 1 1 raised EHandleError: The list item is not an object scripts know"},
    {"memory stream bytes",
     u"var m: TMemoryStream; s: String; begin m := TMemoryStream.Create; Out(m.Write('abc', 3)); Out(m.Write('d', 100)); "
     u"Out(m.Size); m.Position := 0; Out(m.Read(s, 4)); Out(Length(s)); Out(Ord(s[1])); Out(Ord(s[2])); "
     u"Out(m.Read(s, 1000)); Out(m.Seek(0, soFromEnd)); m.Free end.",
     "3 2 5 4 4 97 25698 1 5"},
    {"unknown member of a class", u"var l: TStringList; begin l := TStringList.Create; l.Nothing end.",
     "error 1:61: Undeclared identifier: 'Nothing'"},
    {"xml tree",
     u"var d: TksXMLDocument; i: TksXMLItem; begin d := TksXMLDocument.Create; d.Root.Name := 'r'; i := d.Root.Add; "
     u"i.Name := 'c'; i.Prop['text'] := 'a<b'; i.Data := 7; Out(i.Prop['text']); Out(i.Text); Out(d.Root.Count); "
     u"Out(d.Root[0].Name); Out(i.Parent.Name); Out(i.Data); Out(d.Root.Find('c')); d.Free end.",
     "a<b text=\"a&#60;b\" 1 c r 7 0"},
    {"xml loop refused", u"var d: TksXMLDocument; i: TksXMLItem; begin d := TksXMLDocument.Create; i := d.Root.Add; "
                         u"try i.AddItem(d.Root) except Out(ExceptionMessage) end; d.Free end.",
     "An element cannot be added below itself"},
    {"freed child is an error", u"var d: TksXMLDocument; i: TksXMLItem; begin d := TksXMLDocument.Create; i := d.Root.Add; "
                                u"d.Free; Out(i.Name) end.",
     " raised EHandleError: "},
};

}  // namespace

TEST(ScriptClasses, FromScripts) {
  TksTestHost H;
  for (const TScriptCase& C : kCases) {
    std::string R = H.Run(C.Source);
    if (std::string(C.Expected).ends_with(": ")) EXPECT_THAT(R, testing::StartsWith(C.Expected)) << C.Name;
    else EXPECT_EQ(R, C.Expected) << C.Name;
  }
}

TEST(ScriptClasses, FilesStreamsAndXMLDocumentsInAFolder) {
  TTempFolder T;
  TksTestHost H;
  H.Script->AddVariable(u"Dir", u"String", Variant(T.File("")));
  EXPECT_EQ(H.Run(u"var f: TFileStream; l: TStringList; d: TksXMLDocument; m: TMemoryStream; s: String;\r\n"
                  u"begin\r\n"
                  u"  f := TFileStream.Create(Dir + 'a.bin', fmCreate); f.Write('xy', 4); Out(f.Size); f.Free;\r\n"
                  u"  f := TFileStream.Create(Dir + 'a.bin', fmOpenRead); f.Read(s, 4); Out(Copy(s, 1, 2)); f.Free;\r\n"
                  u"  l := TStringList.Create; l.Add('один'); l.Add('two'); l.SaveToFile(Dir + 'l.txt'); l.Clear;\r\n"
                  u"  l.LoadFromFile(Dir + 'l.txt'); Out(l.Count); Out(l[0]);\r\n"
                  u"  d := TksXMLDocument.Create; d.Root.Name := 'doc'; d.Root.Add.Name := 'x'; d.SaveToFile(Dir + 'd.xml');\r\n"
                  u"  m := TMemoryStream.Create; d.SaveToStream(m); m.Position := 0; d.Free;\r\n"
                  u"  d := TksXMLDocument.Create; d.LoadFromStream(m); Out(d.Root[0].Name); d.LoadFromFile(Dir + 'd.xml');\r\n"
                  u"  Out(d.Root.Name); d.Free; m.Free; l.Free\r\n"
                  u"end."),
            "4 xy 2 один x doc");
  EXPECT_EQ(H.Run(u"var f: TFileStream; begin f := TFileStream.Create(Dir + 'none/x', fmOpenRead) end."),
            StringToUtf8(u" raised EFOpenError: Cannot open file \"" + T.File("none/x") +
                         u"\". No such file or directory"));
}

TEST(ScriptClasses, FreeOnlyWhatTheScriptBuiltOrAComponent) {
  TksTestHost H;
  TStringList HostList;
  TComponent Owner(nullptr);
  auto* Part = new TComponent(&Owner);
  TStringList Kept;
  H.Script->AddObject(u"HostList", &HostList);
  H.Script->AddObject(u"Part", Part);
  H.Script->AddObject(u"Kept", &Kept);
  ksKeepObject(&Kept);
  EXPECT_EQ(H.Run(u"begin HostList.Free end."), " raised EInvalidOperation: Cannot free an object the host owns");
  EXPECT_EQ(H.Run(u"begin Kept.Free end."), " raised EInvalidOperation: Cannot free an object the host owns");
  EXPECT_EQ(H.Run(u"begin Part.Free; Out('freed') end."), "freed");
  EXPECT_EQ(Owner.ComponentCount(), 0);
  EXPECT_EQ(H.Run(u"var l: TStringList; begin l := TStringList.Create; l.Free; Out('ok') end."), "ok");
}

TEST(ScriptClasses, AddRTTIRegistersTheBaseMembersAndAutomationSaysItIsMissing) {
  TksTestHost H;
  TksClassVariable* Obj = H.Script->FindClass(u"TObject");
  TksClassVariable* Strings = H.Script->FindClass(u"TStrings");
  ASSERT_TRUE(Obj && Strings);
  EXPECT_TRUE(Obj->Find(u"ClassName"));
  EXPECT_TRUE(Strings->Find(u"Add"));
  EXPECT_TRUE(H.Script->FindClass(u"TIniFile")->Find(u"ClassName"));  // through its ancestors
  EXPECT_EQ(H.Run(u"var o: Variant; begin o := CreateOleObject('Excel.Application') end."),
            " raised EOleError: Automation is not available: Excel.Application");
}

TEST(ScriptClasses, RegistrationForms) {
  // A class under a script name of its own, new-style properties and an old-style index property.
  TksScript S;
  TList L;
  String Output;
  S.AddType(u"Integer", fvtInt);
  S.AddType(u"Variant", fvtVariant);
  S.AddMethod(u"procedure Out(v: Variant)", [&](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
    Output += VarToStr(H->GetParam(0)) + u" ";
    return Variant(0);
  });
  TksClassVariable* C = S.AddClass(TList::ClassInfo(), u"TObject", u"TPointerList");
  ASSERT_TRUE(C);
  EXPECT_EQ(S.FindClass(u"TList"), C);  // found by its own name too
  S.AddObject(u"L", &L);                // adds no second entry for the class
  EXPECT_EQ(S.FindClass(u"TList"), C);
  C->AddPropertyEx(
      u"Twice", u"Integer",
      [](TObject* I, TksClassRef, const String& Name, TksPropertyHelper* P) {
        return Variant(Name + u":" + P->Name() + u":" + IntToStr(static_cast<TList*>(I)->Count() * 2));
      },
      [](TObject* I, TksClassRef, const String&, const Variant& V, TksPropertyHelper*) {
        static_cast<TList*>(I)->SetCount(V.AsInteger());
      });
  C->AddIndexProperty(u"Slot", u"Integer", u"Integer",
                      [](TObject*, TksClassRef, const String& Name, Variant& Params) {
                        return Variant(Name + u" " + VarToStr(Params[0]));
                      });
  S.SetText(u"begin L.Twice := 3; Out(L.Twice); Out(L.Slot[7]) end.");
  ASSERT_TRUE(S.Compile()) << StringToUtf8(S.ErrorMsg());
  S.Execute();
  EXPECT_EQ(Output, u"TWICE:Twice:6 SLOT.GET 7 ");
}
