// ks_iinterpreterTest.cpp - the script object as the report engine uses it, compile errors,
// host classes through handles, and the faults the engine guards against.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/rtl/Handles.h"
#include "script/ks_isysrtti.h"
#include "script/ks_itools.h"
#include "script/ks_xml.h"
#include "script/tests/ks_TestHost.h"

namespace {

struct TErrorCase {
  const char* Name;
  const char16_t* Language;
  const char16_t* Source;
  const char* Expected;  // "line:column message"
};

const TErrorCase kErrors[] = {
    {"missing dot", u"PascalScript", u"begin end", "2:1 '.' expected"},
    {"program name", u"PascalScript", u"program 123; begin end.", "1:9 Identifier expected"},
    {"empty var", u"PascalScript", u"var begin end.", "1:5 Identifier expected"},
    {"assign", u"PascalScript", u"var i: Integer;\r\nbegin\r\n  for i : = 1 to 2 do ;\r\nend.", "3:11 '=' expected"},
    {"undeclared", u"PascalScript", u"begin\r\n  x := 1\r\nend.", "2:4 Undeclared identifier: 'x'"},
    {"redeclared", u"PascalScript", u"var a: Integer; a: String; begin end.", "1:18 Identifier redeclared: 'a'"},
    {"incompatible op", u"PascalScript", u"var b: Boolean; begin b := b < True end.", "1:31 Incompatible types"},
    {"float to int", u"PascalScript", u"var i: Integer; begin i := 1.5 end.", "1:23 Incompatible types: 'Integer', 'Extended'"},
    {"const assign", u"PascalScript", u"const N = 1; begin N := 2 end.", "1:20 Left side cannot be assigned to"},
    {"for variable", u"PascalScript", u"var s: String; begin for s := 1 to 2 do ; end.", "1:27 For loop variable must be numeric variable"},
    {"too many", u"PascalScript", u"begin Out(1, 2) end.", "1:10 Too many actual parameters"},
    {"not enough", u"PascalScript", u"begin Copy('a') end.", "1:11 Not enough actual parameters"},
    {"unknown type", u"PascalScript", u"var a: TNothing; begin end.", "1:16 Unknown type: 'TNothing'"},
    {"with integer", u"PascalScript", u"var i: Integer; begin with i do Out(1) end.", "1:29 Class type required"},
    {"missing brace", u"D++Ividaz", u"{ Out(1);", "2:1 '}' expected"},
};

}  // namespace

TEST(ScriptCompile, ErrorsCarryMessageAndPosition) {
  for (const TErrorCase& C : kErrors) {
    TksTestHost H(C.Language);
    H.Script->SetText(C.Source);
    EXPECT_FALSE(H.Script->Compile()) << C.Name;
    EXPECT_EQ(StringToUtf8(H.Script->ErrorPos() + u" " + H.Script->ErrorMsg()), C.Expected) << C.Name;
  }
}

TEST(ScriptCompile, SuccessLeavesNoErrorAndUnknownLanguageRaises) {
  TksTestHost H;
  H.Script->SetText(u"begin end.");
  EXPECT_TRUE(H.Script->Compile());
  EXPECT_EQ(H.Script->ErrorPos(), u"");
  H.Script->SetSyntaxType(u"pascalscript");
  EXPECT_TRUE(H.Script->Compile());
  H.Script->SetSyntaxType(u"Cobol");
  try {
    H.Script->Compile();
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Language 'Cobol' not found");
  }
}

// ---- The report engine's use ----------------------------------------------------------------

TEST(ScriptReportUse, EvaluateBracketExpressionsWithHostFunctionsAndVariables) {
  TksTestHost H;
  H.Script->AddVariable(u"Rate", u"Extended", Variant(1.5));
  H.Script->AddMethod(u"function Get(Name: String): Variant",
                      [](void*, TksClassRef, const String&, TksMethodHelper* M) {
                        return Variant(M->GetParam(0).AsString() == u"ds.\"AMX\"" ? 40 : -1);
                      });
  H.Script->SetText(u"begin end.");
  ASSERT_TRUE(H.Script->Compile());
  EXPECT_EQ(H.Script->Evaluate(u"1+2"), Variant(3));
  EXPECT_EQ(H.Script->Evaluate(u"<ds.\"AMX\"> * Rate"), Variant(60.0));
  EXPECT_FALSE(H.Script->EvaluteRiseError());
  Variant Bad = H.Script->Evaluate(u"1 +");
  EXPECT_TRUE(H.Script->EvaluteRiseError());
  EXPECT_EQ(VarToStr(Bad), u"';' expected");  // the END after the cut expression
  H.Script->SetSyntaxType(u"D++Ividaz");
  EXPECT_EQ(H.Script->Evaluate(u"<ds.\"AMX\"> % 7"), Variant(5));
}

TEST(ScriptReportUse, MacroFunctionReceivesArgumentTexts) {
  TksTestHost H;
  String Seen;
  H.Script->AddMethod(u"function Get(Name: String): Variant",
                      [](void*, TksClassRef, const String&, TksMethodHelper*) { return Variant(1); });
  H.Script->AddMethod(u"macrofunction SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                      [&](void*, TksClassRef, const String&, TksMethodHelper* M) {
                        Seen = M->GetParam(0).AsString() + u"|" + M->GetParam(1).AsString();
                        return Variant(0);
                      });
  H.Script->AddVariable(u"MasterData1", u"Variant", Variant(0));
  H.Script->SetText(u"function vq3f0: Variant; begin Result := SUM(<ds.\"AMX\">,MasterData1) end; begin end.");
  ASSERT_TRUE(H.Script->Compile()) << StringToUtf8(H.Script->ErrorMsg());
  H.Script->CallFunction(u"vq3f0", Variant::MakeNull());
  EXPECT_EQ(Seen, u"<ds.\"AMX\">|MasterData1");
}

TEST(ScriptReportUse, CallFunctionByNameWritesVarParametersBack) {
  TksTestHost H;
  H.Script->SetText(u"function Add(a: Integer; var b: Integer): Integer; begin b := b * 2; Result := a + b end; begin end.");
  ASSERT_TRUE(H.Script->Compile());
  EXPECT_EQ(H.Script->CallFunction(u"Add", VarArrayOf({Variant(1), Variant(2)})), Variant(5));
  Variant Params = VarArrayOf({Variant(1), Variant(3)});
  EXPECT_EQ(H.Script->CallFunction1(u"Add", Params), Variant(7));
  EXPECT_EQ(Params[1], Variant(6));
  EXPECT_TRUE(H.Script->CallFunction(u"Missing", Variant::MakeNull()).IsNull());
}

TEST(ScriptReportUse, SavedProgramTreeLoadsAndRuns) {
  TksTestHost H;
  H.Script->SetText(u"var s: String; begin s := 'a & b &#65; \"q\"'; Out(s) end.");
  std::string Tree;
  ASSERT_TRUE(H.Script->GetILCode(Tree));
  TksTestHost Loaded;
  ASSERT_TRUE(Loaded.Script->SetILCode(Tree)) << StringToUtf8(Loaded.Script->ErrorMsg());
  Loaded.Script->Execute();
  EXPECT_EQ(Loaded.Output, u"a & b &#65; \"q\"");
  // A tree cut short fails to load instead of running half a program.
  TksTestHost Cut;
  EXPECT_FALSE(Cut.Script->SetILCode(Tree.substr(0, Tree.size() / 2 + 5)));
  EXPECT_EQ(Cut.Script->ErrorMsg(), u"Invalid file format");
}

// ---- Host classes through handles -----------------------------------------------------------

namespace {

struct TCounter {
  int Value = 0;
  String Caption = u"Счётчик";
  static int Live;
  TCounter() { ++Live; }
  ~TCounter() { --Live; DefaultHandleRegistry().ReleaseObject(this); }
};
int TCounter::Live = 0;

TksHostClass CounterClass() {
  TksHostClass C;
  C.Name = u"TCounter";
  C.Factory = [] { return static_cast<void*>(new TCounter); };
  C.Destroy = [](void* P) { delete static_cast<TCounter*>(P); };
  return C;
}

struct TCounterHost : TksTestHost {
  TksHostClass Object{u"TObject", nullptr, nullptr, nullptr};
  TksHostClass Counter = CounterClass();
  TCounterHost() {
    Counter.Parent = &Object;
    TksClassVariable* O = Script->AddClass(&Object, u"");
    O->AddMethod(u"procedure Free", [](void* P, TksClassRef, const String&, TksMethodHelper*) {
      delete static_cast<TCounter*>(P);
      return Variant(0);
    });
    TksClassVariable* C = Script->AddClass(&Counter, u"TObject");
    C->AddConstructor(u"constructor Create", [](void*, TksClassRef, const String&, TksMethodHelper*) { return Variant(0); });
    C->AddMethod(u"procedure Bump(n: Integer)", [](void* P, TksClassRef, const String&, TksMethodHelper* M) {
      static_cast<TCounter*>(P)->Value += M->GetParam(0).AsInteger();
      return Variant(0);
    });
    C->AddProperty(u"Value", u"Integer",
                   [](void* P, TksClassRef, const String&) { return Variant(static_cast<TCounter*>(P)->Value); },
                   [](void* P, TksClassRef, const String&, const Variant& V) { static_cast<TCounter*>(P)->Value = V.AsInteger(); });
    C->AddProperty(u"Caption", u"String",
                   [](void* P, TksClassRef, const String&) { return Variant(static_cast<TCounter*>(P)->Caption); });
  }
};

}  // namespace

TEST(ScriptHostClasses, ConstructorsPropertiesAndMethods) {
  TCounterHost H;
  EXPECT_EQ(H.Run(u"var c: TCounter; begin c := TCounter.Create; c.Value := 2; c.Bump(3); Out(c.Value); Out(c.Caption); "
                  u"with c do Bump(1); Out(c.Value); Out(c is TCounter); c.Free end."),
            "5 Счётчик 6 True");
  EXPECT_EQ(TCounter::Live, 0);
}

TEST(ScriptHostClasses, BareClassNameCreatesNothing) {
  TCounterHost H;
  EXPECT_EQ(H.Run(u"var v: Variant; begin v := TCounter; v := TCounter; Out('done') end."), "done");
  EXPECT_EQ(TCounter::Live, 0);
}

TEST(ScriptHostClasses, FreedOrForgedObjectIsARunTimeError) {
  TCounterHost H;
  EXPECT_THAT(H.Run(u"var c: TCounter; begin c := TCounter.Create; c.Free; c.Bump(1) end."),
              testing::StartsWith(" raised EHandleError: "));
  // A number that is no handle never reaches a member.
  EXPECT_EQ(H.Run(u"var v: Variant; begin v := 5; v.Bump(1) end."), " raised Exception: Undeclared identifier: 'Bump'");
  EXPECT_EQ(H.Run(u"var v: Variant; begin v := 5; try v.Bump(1) except Out('caught') end end."), "caught");
}

// ---- Faults -----------------------------------------------------------------------------------

TEST(ScriptFaults, BreakOutsideLoopDoesNotCutLaterCalls) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"procedure P(i: Integer); begin if i = 1 then break; Out(i); Out('end') end;\r\n"
                  u"begin P(1); P(2) end."),
            "2 end");
  H.Script->Execute();
  EXPECT_EQ(H.Output, u"2 end 2 end");
}

TEST(ScriptFaults, FinallyRunsWholeAndKeepsExitFromFinally) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var i: Integer; begin for i := 1 to 3 do try if i = 2 then break finally Out('f1'); Out('f2') end; Out(i) end."),
            "f1 f2 f1 f2 2");
  EXPECT_EQ(H.Run(u"procedure P; begin try Out(1) finally exit end; Out('not reached') end; begin P; Out(2) end."), "1 2");
  EXPECT_EQ(H.Run(u"procedure P; begin try exit finally Out('f') end; Out('no') end; begin P end."), "f");
}

TEST(ScriptFaults, VarParameterSurvivesRecursion) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"procedure SetIt(var x: Integer); begin x := 42 end;\r\n"
                  u"procedure R(n: Integer); var loc: Integer; begin loc := 0; if n > 0 then begin R(n - 1); SetIt(loc); Out(loc) end end;\r\n"
                  u"begin R(2) end."),
            "42 42");
}

TEST(ScriptFaults, RoundTruncAndFormatKeepLargeValues) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var v: Variant; begin v := Round(3000000000.4); Out(v); Out(Trunc(-5000000000.7)) end."), "3000000000 -5000000000");
  EXPECT_EQ(H.Run(u"var s: String; i: Integer; begin for i := 1 to 300 do s := s + 'x'; Out(Length(Format('%s', [s]))) end."), "300");
}

TEST(ScriptFaults, XmlEscapingRoundTripsAmpersand) {
  TksXMLItem Item;
  const String Value = u"a&b &#65; &quot; <x> \"y\"\r\n";
  Item.SetProp(u"text", Value);
  EXPECT_EQ(Item.Prop(u"TEXT"), Value);
  TksXMLDocument Doc;
  Doc.Root()->SetName(u"r");
  Doc.Root()->Add()->Assign(&Item);
  Doc.Root()->Items(0)->SetName(u"c");
  TksXMLDocument Back;
  Back.LoadFromString(Doc.SaveToString());
  EXPECT_EQ(Back.Root()->Items(0)->Prop(u"text"), Value);
}

TEST(ScriptGrammar, StartRuleFailingWithoutRecordedErrorIsASyntaxError) {
  // A grammar whose start rule records nothing when it fails: the walker must not report an
  // empty program as compiled.
  RegisterLanguageGrammar(u"TinyLoop",
                          u"<?xml version=\"1.0\"?><language text=\"TinyLoop\"><parser><keywords/><errors/></parser>"
                          u"<types/><empty/><program><loop><statement/></loop></program>"
                          u"<statement node=\"callstmt\"><designator/><char text=\";\"/></statement>"
                          u"<designator node=\"dsgn\"><ident add=\"node\"/></designator></language>");
  TksTestHost H(u"TinyLoop");
  H.Script->SetText(u"Randomize;\r\n)");
  EXPECT_TRUE(H.Script->Compile()) << "[" << StringToUtf8(H.Script->ErrorMsg()) << "] " << StringToUtf8(H.Script->ErrorPos());
  H.Script->SetText(u")");
  EXPECT_FALSE(H.Script->Compile());
  EXPECT_EQ(H.Script->ErrorMsg(), u"Syntax error");
  EXPECT_EQ(H.Script->ErrorPos(), u"1:1");
  H.Script->SetText(u"  ");
  EXPECT_TRUE(H.Script->Compile());
}
