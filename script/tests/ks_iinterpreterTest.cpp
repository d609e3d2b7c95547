// ks_iinterpreterTest.cpp - the script object as the report engine uses it, compile errors,
// host classes through handles, and the faults the engine guards against.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"
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

// ---- Host classes from the type registry ----------------------------------------------------

namespace {

VORENTA_ENUM(TTintMode, tmNone, tmLight, tmDeep);
VORENTA_ENUM(TTintOption, toMix, toShake, toHeat);
VORENTA_SET(TTintOptions, TTintOption);

// A small component with one published property of each kind and an event.
class TTinter : public TComponent {
  VORENTA_CLASS(TTinter, TComponent)
public:
  using TMixedEvent = std::function<void(TObject* Sender)>;
  explicit TTinter(TComponent* AOwner) : TComponent(AOwner) { ++Live; }
  ~TTinter() override { --Live; }
  int Drops() const { return FDrops; }
  void SetDrops(int Value) { FDrops = Value; }
  double Ratio() const { return FRatio; }
  void SetRatio(double Value) { FRatio = Value; }
  String Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  TTintMode Mode() const { return FMode; }
  void SetMode(TTintMode Value) { FMode = Value; }
  TTintOptions Options() const { return FOptions; }
  void SetOptions(TTintOptions Value) { FOptions = Value; }
  bool Active() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }
  TTinter* Partner() const { return FPartner; }
  void SetPartner(TTinter* Value) { FPartner = Value; }
  Variant Extra() const { return FExtra; }
  void SetExtra(const Variant& Value) { FExtra = Value; }
  TMixedEvent OnMixed() const { return FOnMixed; }
  void SetOnMixed(const TMixedEvent& Value) { FOnMixed = Value; }
  void Mix() {
    if (FOnMixed) FOnMixed(this);
  }
  static int Live;

private:
  int FDrops = 0;
  double FRatio = 0;
  String FCaption = u"Колер";
  TTintMode FMode = tmNone;
  TTintOptions FOptions;
  bool FActive = false;
  TTinter* FPartner = nullptr;
  Variant FExtra = Variant::MakeNull();
  TMixedEvent FOnMixed;
};
int TTinter::Live = 0;

REGISTER_CLASS(TTinter) {
  Class.Property("Drops", &TTinter::Drops, &TTinter::SetDrops, 0)
      .Property("Ratio", &TTinter::Ratio, &TTinter::SetRatio)
      .Property("Caption", &TTinter::Caption, &TTinter::SetCaption)
      .Property("Mode", &TTinter::Mode, &TTinter::SetMode, tmNone)
      .Property("Options", &TTinter::Options, &TTinter::SetOptions)
      .Property("Active", &TTinter::Active, &TTinter::SetActive)
      .Property("Partner", &TTinter::Partner, &TTinter::SetPartner)
      .Property("Extra", &TTinter::Extra, &TTinter::SetExtra)
      .Property("OnMixed", &TTinter::OnMixed, &TTinter::SetOnMixed);
}

struct TTinterHost : TksTestHost {
  TComponent Owner{nullptr};
  TTinterHost() {
    Script->AddClass(TTinter::ClassInfo());
    Script->FindClass(u"TTinter")->AddMethod(
        u"procedure Mix", [](TObject* Obj, TksClassRef, const String&, TksMethodHelper*) {
          static_cast<TTinter*>(Obj)->Mix();
          return Variant(0);
        });
    Script->AddObject(u"Shop", &Owner);
  }
};

}  // namespace

TEST(ScriptHostClasses, RegistryClassWithAncestorsPropertiesAndFactory) {
  TTinterHost H;
  for (const char16_t* Name : {u"TObject", u"TPersistent", u"TComponent", u"TTinter"})
    EXPECT_NE(H.Script->FindClass(Name), nullptr) << StringToUtf8(Name);
  EXPECT_EQ(H.Run(u"var t: TTinter; v: Variant; begin t := TTinter.Create(nil); t.Drops := 3; t.Ratio := 0.25; "
                  u"t.Caption := t.Caption + '!'; t.Mode := tmDeep; t.Options := toMix or toHeat; "
                  u"t.Active := True; t.Extra := 'x'; t.Name := 'T1'; "
                  u"Out(t.Drops); Out(t.Ratio * 4); Out(t.Caption); Out(t.Mode = tmDeep); Out(t.Options); "
                  u"Out(t.Active); Out(t.Extra); Out(t.Name); v := 'tmLight'; t.Mode := v; Out(t.Mode); "
                  u"Out(t is TTinter); Out(t is TComponent); t.Free end."),
            "3 1 Колер! True 5 True x T1 1 True True");
  EXPECT_EQ(TTinter::Live, 0);
}

TEST(ScriptHostClasses, ConstructorTakesTheOwnerAndClassPropertiesChain) {
  TTinterHost H;
  EXPECT_EQ(H.Run(u"var a, b: TTinter; begin a := TTinter.Create(Shop); b := TTinter.Create(Shop); "
                  u"b.Drops := 7; a.Partner := b; Out(a.Partner.Drops); a.Partner.Drops := 8; Out(b.Drops); "
                  u"a.Partner := nil; Out(a.Partner = nil) end."),
            "7 8 True");
  EXPECT_EQ(H.Owner.ComponentCount(), 2);
  EXPECT_EQ(TTinter::Live, 2);
  H.Owner.DestroyComponents();
  EXPECT_EQ(TTinter::Live, 0);
  // A component is not a TTinter: the class property refuses it.
  EXPECT_THAT(H.Run(u"var a: TTinter; v: Variant; begin a := TTinter.Create(Shop); v := Shop; a.Partner := v end."),
              testing::MatchesRegex(" raised EHandleError: Object handle [0-9]+ refers to a TComponent, not a TTinter"));
}

TEST(ScriptHostClasses, EventsAreAssignedByProcedureName) {
  TTinterHost H;
  EXPECT_EQ(H.Run(u"procedure Mixed(Sender: Variant); begin Out('mixed ' + IntToStr(Sender.Drops)) end;\r\n"
                  u"var t: TTinter; begin t := TTinter.Create(Shop); t.Drops := 4; t.OnMixed := 'Mixed'; "
                  u"Out(t.OnMixed); t.Mix; t.OnMixed := ''; Out('[' + t.OnMixed + ']'); t.Mix end."),
            "Mixed mixed 4 []");
  EXPECT_EQ(H.Run(u"var t: TTinter; i: Integer; begin t := TTinter.Create(Shop); t.OnMixed := 'i' end."),
            " raised Exception: Event handler must be a procedure");
  EXPECT_EQ(H.Run(u"procedure Two(a, b: Integer); begin end;\r\n"
                  u"var t: TTinter; begin t := TTinter.Create(Shop); t.OnMixed := 'Two' end."),
            " raised Exception: Event handler must be a procedure");
}

TEST(ScriptHostClasses, HandlerOfAFreedScriptIsAnError) {
  TTinter Tinter(nullptr);
  {
    TTinterHost H;
    H.Script->AddObject(u"Tinter", &Tinter);
    EXPECT_EQ(H.Run(u"procedure Mixed(Sender: TObject); begin Out('mixed') end;\r\n"
                    u"begin Tinter.OnMixed := 'Mixed'; Tinter.Mix end."),
              "mixed");
  }
  EXPECT_THROW(Tinter.Mix(), EHandleError);
}

TEST(ScriptHostClasses, BareClassNameCreatesNothing) {
  TTinterHost H;
  EXPECT_EQ(H.Run(u"var v: Variant; begin v := TTinter; v := TTinter; Out('done') end."), "done");
  EXPECT_EQ(TTinter::Live, 0);
}

TEST(ScriptHostClasses, FreedNilOrForgedObjectIsARunTimeError) {
  TTinterHost H;
  EXPECT_THAT(H.Run(u"var t: TTinter; begin t := TTinter.Create(nil); t.Free; t.Mix end."),
              testing::MatchesRegex(" raised EHandleError: Object handle [0-9]+ refers to a released object"));
  EXPECT_THAT(H.Run(u"var t: TTinter; begin t := TTinter.Create(nil); t.Free; Out(t.Drops) end."),
              testing::StartsWith(" raised EHandleError: "));
  // A nil object reads Null and cannot be written.
  EXPECT_EQ(H.Run(u"var t: TTinter; begin t := nil; Out(VarType(t.Drops) = varNull); t.Drops := 1 end."),
            "True raised EHandleError: Object handle is nil");
  // A number that is no handle never reaches a member.
  EXPECT_EQ(H.Run(u"var v: Variant; begin v := 5; v.Mix end."), " raised Exception: Undeclared identifier: 'Mix'");
  EXPECT_EQ(H.Run(u"var v: Variant; begin v := 5; try v.Mix except Out('caught') end end."), "caught");
  EXPECT_EQ(H.Run(u"var t: TTinter; v: Variant; begin v := 5; t := v; t.Mix end."),
            " raised EHandleError: Invalid object reference: 5");
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

TEST(ScriptFaults, RecursionRestoresLocalsAfterReturnAndAfterAnException) {
  // Caller locals of every kind (String text, Variant, parameters, Result) survive inner
  // calls, also when an inner call raised and the caller caught it.
  TksTestHost H;
  EXPECT_EQ(H.Run(u"function R(n: Integer; t: String): String; var s: String; v: Variant;\r\n"
                  u"begin s := t + IntToStr(n); v := n * 10; Result := 'r';\r\n"
                  u"  if n = 0 then StrToInt('deep');\r\n"
                  u"  try R(n - 1, 'x') except Out(s + ':' + VarToStr(v) + ':' + Result + ':' + t) end;\r\n"
                  u"  Result := Result + s end;\r\n"
                  u"begin Out(R(2, 'a')) end."),
            "x1:10:r:x ra2");
}

TEST(ScriptFaults, IntegerFastPathLeavesOverflowToTheTypedStore) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var i, j: Integer; v: Variant; begin i := 2147483647; v := i + 1; Out(v); j := -5 mod 3; Out(j); "
                  u"j := 7; j := j * 3 - 1; Out(j); i := i + 1 end."),
            "2147483648 -2 20 raised EVariantOverflowError: Overflow while converting variant of type (Int64) into type (Integer)");
}

// ++, -- and v = v + x change an Integer held by a Variant in place; past 32 bits, or on a
// value of another kind, they give what the general operators give.
TEST(ScriptFaults, VariantIntegerInPlaceMatchesTheGeneralPath) {
  TksTestHost H(u"JScript");
  EXPECT_EQ(H.Run(u"v = 2147483646; v++; Out(v); v++; Out(v); w = -2147483647; w--; w--; Out(w);\r\n"
                  u"f = 1.5; f++; Out(f); t = \"x\"; t = t + \"y\"; Out(t); u = 2147483647; u = u + 1; Out(u);\r\n"
                  u"n = 0; for (i = 0; i < 5; i++) n = n + i; Out(n); Out(i);"),
            "2147483647 2147483648 -2147483649 2.5 xy 2147483648 10 5");
}

// Floats mixed with integers are computed as doubles without the general operators; the
// results, a zero divisor and comparisons are as the general operators give them.
TEST(ScriptFaults, FloatArithmeticMatchesTheGeneralPath) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var x: Extended; i: Integer; v: Variant; begin i := 3; x := i * 0.5 + 1; Out(x); Out(7 / 2); "
                  u"Out(i - 0.25); Out(0.5 < i); Out(i = 3.0); Out(0.1 + 0.2 = 0.3); v := 2.5; Out(v * i); "
                  u"Out(x / 0) end."),
            "2.5 3.5 2.75 True True False 7.5 raised EZeroDivide: Division by zero");
  // Assignments and the in-place forms: a Float target stores a double whatever it is given,
  // a Variant keeps the kind computed; conditions compare integers with doubles.
  EXPECT_EQ(H.Run(u"var x: Extended; i: Integer; v: Variant; begin i := 3; x := i + 1; Out(VarType(x)); v := i + 1; "
                  u"Out(VarType(v)); v := i / 2; Out(v); x := x + 1.5; x := x - i; x := x * 2; x := x / 4; Out(x); "
                  u"if x < i then Out('less'); while x < i do x := x + 0.75; Out(x); x := x / 0 end."),
            "5 3 1.5 1.25 less 3.5 raised EZeroDivide: Division by zero");
  // Several operators in one expression, read in one pass: mixed kinds, comparisons with
  // operators on both sides, and what the pass leaves to the general operators (a result
  // past 32 bits inside, a text, a zero divisor).
  EXPECT_EQ(H.Run(u"var x: Extended; i, j: Integer; v: Variant; begin i := 3; x := i * 0.5 + i * 2 - 1; Out(x); "
                  u"v := (i + 1) * (i - 1) mod 5; Out(v); if i * 2 + 0.5 > i + 3 then Out('gt'); "
                  u"if (i + 1) * 2 = 8 then Out('eq'); Out(0.1 + 0.2 + 0.3 = 0.6); Out(i + 1 - 0.5); j := 100000; "
                  u"v := j * j + 1; Out(v); v := j * 3 * 0.5; Out(v); v := '2'; Out(v + i * 2); "
                  u"x := i / (i - 3) + 1 end."),
            "6.5 3 gt eq False 3.5 10000000001 150000 8 raised EZeroDivide: Division by zero");
  // One assignment to a Variant, run again as its operand changes kind, keeps each kind.
  EXPECT_EQ(H.Run(u"var w, v: Variant; k: Integer; begin w := 0.5; for k := 1 to 4 do begin v := w + 1; "
                  u"Out(VarType(v)); Out(v); if k = 2 then w := 2 end; w := 2147483647; v := w + 1; Out(v) end."),
            "5 1.5 5 1.5 3 3 3 3 2147483648");
}

// s := s + e appends e's text in place; the result is what the general path gives: s as it
// was read before e ran, also when e changes s, and the general operators for other kinds.
TEST(ScriptFaults, AppendingARoutineResultMatchesTheGeneralPath) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var t: String; function F: String; begin t := 'changed'; Result := '!' end;\r\n"
                  u"function G(s: String): String; begin Result := Copy(s, 1, 1) end;\r\n"
                  u"begin t := 'ab'; t := t + G(t); t := t + G(t); Out(t); t := t + F; Out(t); t := t + IntToStr(5); Out(t) end."),
            "abaa abaa! abaa!5");
  TksTestHost J(u"JScript");
  EXPECT_EQ(J.Run(u"function F() { t = \"x\"; return \"!\"; } t = \"ab\"; t = t + Copy(t, 2, 1); Out(t); t = t + F(); Out(t);\r\n"
                  u"n = 2; n = n + Copy(\"3\", 1, 1); Out(n);"),
            "abb abb! 5");
}

// n := n + e on an Integer adds e's value directly; n is read before e runs, also when e
// changes n, and past 32 bits or on other kinds the general operators decide.
TEST(ScriptFaults, AddingARoutineResultMatchesTheGeneralPath) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var n: Integer; v: Variant; function F: Integer; begin n := 100; Result := 1 end;\r\n"
                  u"begin n := 5; n := n + F; Out(n); n := n + Length('abc'); Out(n); v := 2; v := v + IntToStr(3); Out(v);\r\n"
                  u"n := 2147483647; n := n + Length('a') end."),
            "6 9 5 raised EVariantOverflowError: Overflow while converting variant of type (Int64) into type (Integer)");
}

// x := y between plain variables copies an Integer as an Integer (not a wider kind).
TEST(ScriptFaults, CopyingAnIntegerVariableKeepsItsKind) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var i, j: Integer; v: Variant; begin i := 7; j := i; v := i; Out(VarType(j)); Out(VarType(v));\r\n"
                  u"v := 'x'; j := 2; v := j; Out(v + 1) end."),
            "3 3 3");
}

// Conditions and operands of one operator between constants or plain variables are read
// where they are stored: a body that changes the bound or the counter is seen on the next
// test, and a double, an overflow or a zero divisor goes to the general operators.
TEST(ScriptFaults, OneOperatorOnStoredValuesMatchesTheGeneralPath) {
  TksTestHost J(u"JScript");
  EXPECT_EQ(J.Run(u"n = 6; c = 0; for (i = 0; i < n; i++) { n = n - 1; c++; } Out(c);\r\n"
                  u"c = 0; for (i = 0; i < 10; i++) { i = i + 3; c++; } Out(c);\r\n"
                  u"x = 2.5; k = 0; while (k < x) k++; Out(k); if (k != x) Out(\"ne\");"),
            "3 3 3 ne");
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var i, z: Integer; v: Variant; begin i := 100000; z := 0; v := i * i; Out(v); v := i - z; Out(v);\r\n"
                  u"try v := i mod z except Out(ExceptionMessage) end; i := 7; v := 2; v := v * i; Out(v) end."),
            "10000000000 100000 Division by zero 14");
}

// A C-like for counting an Integer (i++ or i-- against a bound) sees whatever its body does to
// the counter: a jump, a double, break and continue; a step beyond 32 bits and a double bound
// take the general operators. The test's operator decides, and the bound is read each pass.
TEST(ScriptFaults, CountedForLoopsFollowWhatTheirBodyDoes) {
  TksTestHost J(u"JScript");
  struct TCase {
    const char16_t* Program;
    const char* Output;
  } Cases[] = {
      {u"c = 0; for (i = 0; i < 10; i++) { if (i == 2) i = i + 3; c++; } Out(c); Out(i);", "7 10"},
      {u"for (i = 0; i < 3; i++) { if (i == 1) i = 1.5; Out(i); }", "0 1.5 2.5"},
      {u"for (i = 3; i >= 1; i--) Out(i); Out(i);", "3 2 1 0"},
      {u"for (i = 2147483646; i <= 2147483647; i++) Out(i); Out(i);", "2147483646 2147483647 2147483648"},
      {u"for (i = 0; i < 10; i++) { if (i % 2 == 0) continue; if (i > 6) break; Out(i); } Out(i);", "1 3 5 7"},
      {u"for (i = 0; i < 2.5; i++) Out(i);", "0 1 2"},
      // Other comparisons as the test, and a bound the body moves.
      {u"for (i = 5; i > 2; i--) Out(i);", "5 4 3"},
      {u"for (i = 0; i != 3; i++) { Out(i); if (i == 4) break; if (i == 1) i = 3; }", "0 1 4"},
      {u"n = 3; for (i = 0; i < n; i++) { if (i == 1) n = 5; Out(i); } for (i = 4; i <= 2; i++) Out(i); Out(i);",
       "0 1 2 3 4 4"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(J.Run(C.Program), C.Output) << StringToUtf8(C.Program);
}

// Expressions of several operators on numbers follow the kinds their variables hold from one
// run to the next (integer, double, integer again, and kinds that keep changing), and an
// overflow or a zero divisor still reaches the general operators.
TEST(ScriptFaults, NumberExpressionsFollowTheKindsTheirVariablesHold) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var v, w: Variant; k, n: Integer; x: Extended; begin v := 1;\r\n"
                  u"for k := 1 to 4 do begin w := v * 2 + k; Out(w); if k = 1 then v := 0.5 else if k = 2 then v := 7 else v := 2147483647 end;\r\n"
                  u"x := 0; for k := 1 to 10 do begin if k mod 2 = 0 then v := k + 0.5 else v := k; x := x + (v * 2 + 1) end; Out(x);\r\n"
                  u"n := 0; x := 0; while x * 2 + 1 < n * 3 - 0.5 + 4 do begin x := x + 1; n := n - 1 end; Out(x);\r\n"
                  u"for k := 1 to 3 do try Out((k + 6) mod (k * 2 - 4) * 5) except Out(ExceptionMessage) end;\r\n"
                  u"for k := 1 to 3 do try x := (k - 2) / (k - 2) * 3 + 1; Out(x) except Out(ExceptionClassName) end end."),
            "3 3 17 4294967298 125 1 5 Division by zero 5 4 EZeroDivide 4");
  // A comparison whose one side is a lone variable: that side's kind is checked as well.
  EXPECT_EQ(H.Run(u"var v: Variant; k: Integer; begin v := 0; k := 0;\r\n"
                  u"while v < k * 2 - 1 + 3 do begin v := v + 2.5; k := k + 1; Out(v) end;\r\n"
                  u"v := 7; while k * 2 - 1 + 3 > v do begin v := v + 1.5; Out(v) end end."),
            "2.5 5 7.5 10 8.5 10");
}

// An operator with a leaf on one side and an operator on two leaves on the other, as array
// indexes and integer assignments use it: sides kept in order, kinds and 32-bit overflow of
// the inner operator as the general operators give them.
TEST(ScriptFaults, OperatorsOneLevelDeepFollowTheGeneralPath) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var a: array[0..2] of Integer; i, j, k: Integer; v, x: Variant; begin i := 10; j := 3; k := 1;\r\n"
                  u"v := i - (j - k); Out(v); v := (i - j) mod 4; Out(v); v := k - j * i; Out(v); v := (i + 2147483647) - 5; Out(v);\r\n"
                  u"x := 1.5; v := (x + 1) * 2; Out(v); x := 4; v := (x + 1) * 2; Out(v); v := 7 - (x - 2147483647); Out(v);\r\n"
                  u"for i := 0 to 5 do a[(i + 1) mod 3] := a[i mod 3] + i; Out(a[0]); Out(a[1]); Out(a[2]) end."),
            "8 3 -29 2147483652 5 10 2147483650 15 6 10");
}

// An operator's right side is read after its left side ran, also when it is a plain variable
// the left side changed; a condition on an array element holding a number is its truth.
TEST(ScriptFaults, RightOperandIsReadAfterTheLeftSide) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var n: Integer; a: array[0..1] of Variant; function F: Integer; begin n := 10; Result := 1 end;\r\n"
                  u"begin n := 1; Out(F + n); n := 1; Out(F * 3 - n); a[0] := 2; a[1] := False; if a[0] then Out('two');\r\n"
                  u"if a[1] then Out('no') else Out('false') end."),
            "11 -7 two false");
  // An array element on the left is read before a right side that changes it runs.
  EXPECT_EQ(H.Run(u"var a: array[0..1] of Integer; function G: Integer; begin a[0] := 100; Result := 1 end;\r\n"
                  u"begin a[0] := 2; a[1] := 8; Out(a[0] + G); Out(a[0] * 2); Out(a[1] + 1.5) end."),
            "3 200 9.5");
}

// A call with one var parameter writes it back after the routine ran, whatever the other
// arguments are; a function's result is kept apart from it.
TEST(ScriptFaults, OneVarParameterIsWrittenBack) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"function Step(var x: Integer; d: Integer; s: String): Integer; begin x := x + d; Result := x * 10 + Length(s) end;\r\n"
                  u"procedure Add(var t: String; s: String); begin t := t + s end;\r\n"
                  u"var n: Integer; t: String; begin n := 1; Out(Step(n, 2, 'ab')); Out(n); Step(n, n, ''); Out(n);\r\n"
                  u"t := 'a'; Add(t, 'b'); Add(t, t); Out(t) end."),
            "32 3 6 abab");
}

// Arguments that are stored values (constants, plain variables) are all read before any
// parameter is written, also when they are the routine's own parameters in another order; a
// var parameter's value goes back through its variable's type.
TEST(ScriptFaults, ArgumentsAreReadBeforeParametersAreWritten) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var k: Integer; procedure P(a, b: String; c: Integer); begin Out(a + b + IntToStr(c)); k := k + 1;\r\n"
                  u"  if k < 3 then P(b, a, c) end;\r\n"
                  u"procedure Q(a, b: Integer); begin Out(a * 10 + b); k := k + 1; if k < 6 then Q(b, a) end;\r\n"
                  u"begin k := 0; P('x', 'y', 7); Q(1, 2) end."),
            "xy7 yx7 xy7 12 21 12");
  EXPECT_EQ(H.Run(u"procedure Half(var x: Variant); begin x := x / 2 end; procedure Text(var x: Variant); begin x := '7' end;\r\n"
                  u"var i: Integer; d: Extended; v: Variant; begin i := 5; Half(i); Out(i); d := 5; Half(d); Out(d);\r\n"
                  u"v := 5; Half(v); Out(v); Text(i); Out(i + 1) end."),
            "2 2.5 2.5 8");
}

// Q's call of P runs first while P is idle, then from inside P: each run of P keeps its own
// locals, and the var parameter reaches s through every level.
TEST(ScriptFaults, VarCallSiteReachedIdleAndWhileItsRoutineRuns) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var k, s: Integer;\r\n"
                  u"procedure Q(var y: Integer; d: Integer); begin P(y, d) end;\r\n"
                  u"procedure P(var x: Integer; d: Integer); var Keep: Integer;\r\n"
                  u"begin Keep := d; x := x + d; k := k + 1; if k < 3 then Q(x, d * 10); Out(Keep) end;\r\n"
                  u"begin s := 1; k := 0; Q(s, 2); Out(s); k := 0; Q(s, 1); Out(s) end."),
            "200 20 2 223 100 10 1 334");
}

TEST(ScriptFaults, RoundTruncAndFormatKeepLargeValues) {
  TksTestHost H;
  EXPECT_EQ(H.Run(u"var v: Variant; begin v := Round(3000000000.4); Out(v); Out(Trunc(-5000000000.7)) end."), "3000000000 -5000000000");
  EXPECT_EQ(H.Run(u"var s: String; i: Integer; begin for i := 1 to 300 do s := s + 'x'; Out(Length(Format('%s', [s]))) end."), "300");
}

TEST(ScriptFaults, SetMembersFromBit31OnKeepTheirBit) {
  TksTestHost H;
  String Names;
  for (int i = 0; i < 33; ++i) Names += (i ? u"," : u"") + (u"m" + IntToStr(i));
  H.Script->AddEnumSet(u"TWide", Names);
  EXPECT_EQ(H.Run(u"begin Out(m30); Out(m31); Out(m32) end."), "1073741824 2147483648 4294967296");
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

// ---- Host hooks: variable values, run lines, termination --------------------------------------

TEST(ScriptHooks, GetVarValueReplacesReadsOnEveryPath) {
  // The hook is set before compiling, so declared variables carry it; a Null answer keeps the
  // stored value. The integer fast paths (conditions, arguments, assignments) must ask it too.
  TksTestHost H;
  std::vector<String> Asked;
  H.Script->SetOnGetVarValue([&](const String& Name, TksVarType, const Variant& Old) {
    Asked.push_back(Name);
    if (Name == u"t") return Variant(u"<" + Old.AsString() + u">");
    if (Name == u"b") return Variant(true);
    return Name == u"i" ? Variant(Old.AsInteger() * 10) : Variant::MakeNull();
  });
  EXPECT_EQ(H.Run(u"var i, j: Integer; function Twice(n: Integer): Integer; begin Result := n * 2 end;\r\n"
                  u"begin i := 3; j := i + 1; Out(j); if i > 20 then Out('hooked'); Out(Twice(i)); "
                  u"j := 5; j := j + i; Out(j); j := i * 2 + 1; Out(j); if i + 1 > 30 then Out('hooked'); j := i; Out(j) end."),
            "31 hooked 60 35 61 hooked 30");
  EXPECT_THAT(Asked, testing::Contains(String(u"j")));
  // The in-place string append too.
  EXPECT_EQ(H.Run(u"var t: String; begin t := 'a'; t := t + 'b'; Out(t) end."), "<<a>b>");
  // An array index and a condition read from their variables.
  EXPECT_EQ(H.Run(u"var a: array[0..40] of Integer; i: Integer; b: Boolean; begin a[30] := 7; i := 3; Out(a[i]); "
                  u"b := False; if b then Out('b') end."),
            "7 b");
  H.Script->AddVariable(u"Host", u"Integer", Variant(4));
  EXPECT_EQ(H.Run(u"begin Out(Host) end."), "4");
}

TEST(ScriptHooks, RunLineReportsEachStatementAndCanTerminate) {
  TksTestHost H;
  std::vector<std::string> Lines;
  String StopAt = u"6:3";
  H.Script->SetOnRunLine([&](TksScript* Sender, const String&, const String& Pos) {
    Lines.push_back(StringToUtf8(Pos));
    if (Pos == StopAt) Sender->Terminate();
  });
  EXPECT_EQ(H.Run(u"procedure P; begin\r\n  Out('p')\r\nend;\r\nbegin\r\n  P;\r\n  Out(1);\r\n  Out(2)\r\nend."), "p");
  EXPECT_THAT(Lines, testing::ElementsAre("5:3", "2:3", "6:3"));
  Lines.clear();
  StopAt.clear();
  EXPECT_EQ(H.Run(u"procedure P; begin\r\n  Out('p')\r\nend;\r\n\r\nbegin\r\n  P;\r\n  Out(1)\r\nend."), "p 1");
  EXPECT_THAT(Lines, testing::ElementsAre("6:3", "2:3", "7:3"));
  H.Script->SetOnRunLine(nullptr);
  H.Script->Execute();
  EXPECT_EQ(H.Output, u"p 1 p 1");
}

// The step of a C-like for loop (run without the statement list) still reports its line on
// every pass, and a Terminate there ends the loop before the next test.
TEST(ScriptHooks, CLikeForStepReportsItsLineAndStops) {
  TksTestHost H(u"JScript");
  std::vector<std::string> Lines;
  int Steps = 0;
  H.Script->SetOnRunLine([&](TksScript* Sender, const String&, const String& Pos) {
    Lines.push_back(StringToUtf8(Pos));
    if (Pos.rfind(u"3:", 0) == 0 && ++Steps == 2) Sender->Terminate();
  });
  EXPECT_EQ(H.Run(u"n = 0;\r\nfor (i = 0; i < 5;\r\n  i++)\r\n  Out(i);\r\nOut(\"no\");"), "0 1");
  EXPECT_THAT(Lines, testing::ElementsAre("1:1", "2:1", "2:6", "4:3", "3:3", "4:3", "3:3"));
}

TEST(ScriptHooks, TerminateFromTheHostStopsRoutinesLoopsAndTheProgram) {
  TksTestHost H;
  H.Script->AddMethod(u"procedure Stop", [&](TObject*, TksClassRef, const String&, TksMethodHelper*) {
    H.Script->Terminate();
    return Variant(0);
  });
  EXPECT_EQ(H.Run(u"var i: Integer;\r\nprocedure P; begin Out('p'); Stop; Out('no') end;\r\n"
                  u"begin i := 0; while True do begin i := i + 1; if i = 3 then P end; Out('no') end."),
            "p");
  // The next run starts afresh.
  EXPECT_EQ(H.Run(u"begin Out(1); Stop; Out(2) end."), "1");
  EXPECT_EQ(H.Run(u"begin Out(3) end."), "3");
}
