// vqrExpression.cpp - the expression cache, Calc and its name lookup, the report script's
// preparation with Get, Set and the macro functions, and the script event calls.
#include "report/core/vqrExpression.h"

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrEngine.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrVariables.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_iinterpreter_objects.h"

namespace {

String Res(const String& Key) { return StringTable()->Get(Key); }

// Nesting of expressions through report variables and aggregate arguments; a variable that
// reaches itself again would otherwise recurse until the stack ends.
constexpr int MaxCalcDepth = 64;
thread_local int GCalcDepth = 0;

struct TDepthGuard {
  TDepthGuard() { ++GCalcDepth; }
  ~TDepthGuard() { --GCalcDepth; }
};

// Raised inside nested expressions when a variable reaches itself; the outermost expression
// reports it once, under its object's name.
class ECalcCycle : public Exception {
public:
  using Exception::Exception;
};

const char16_t kCycleText[] = u"': expression refers to itself";

bool IsAggregateName(const String& Name) {
  return Name == u"SUM" || Name == u"AVG" || Name == u"MIN" || Name == u"MAX" ||
         Name == u"COUNT";
}

}  // namespace

// =============================================================================================
// Expression cache

bool TvqrExpressionCache::TLess::operator()(const String& A, const String& B) const {
  return *CaseSensitive ? A < B : CompareText(A, B) < 0;
}

TvqrExpressionCache::TvqrExpressionCache(TksScript* MainScript)
    : FMainScript(MainScript),
      FScript(std::make_unique<TksScript>()),
      FExpressions(TLess{&FCaseSensitive}) {
  FScript->SetExtendedCharset(true);
}

TvqrExpressionCache::~TvqrExpressionCache() = default;

void TvqrExpressionCache::Clear() {
  FExpressions.clear();
  LocalVariable = SelfVariable = nullptr;
  FScript->Clear();
}

void TvqrExpressionCache::SetCaseSensitive(bool Value) {
  if (Value == FCaseSensitive) return;
  std::vector<std::pair<String, TksCustomVariable*>> Items(FExpressions.begin(), FExpressions.end());
  FExpressions.clear();
  FCaseSensitive = Value;
  for (auto& Item : Items) FExpressions.insert(Item);
}

String TvqrExpressionCache::WrapExpression(const String& Language, const String& Name,
                                           const String& Expression) {
  if (SameText(Language, u"PascalScript"))
    return u"function " + Name + u": Variant; begin Result := " + Expression + u" end; begin end.";
  if (SameText(Language, u"D++Ividaz"))
    return u"Variant " + Name + u"() { return " + Expression + u"; } {}";
  if (SameText(Language, u"BasicScript"))
    return u"function " + Name + u"\r\nreturn " + Expression + u"\r\nend function";
  if (SameText(Language, u"JScript"))
    return u"function " + Name + u"() { return " + Expression + u"; }";
  return String();
}

Variant TvqrExpressionCache::Calc(const String& Expression, String& ErrorMsg,
                                  TksScript* AScript) {
  ErrorMsg.clear();
  FScript->SetParent(AScript);
  TksCustomVariable* Func = nullptr;
  auto It = FExpressions.find(Expression);
  if (It != FExpressions.end()) {
    Func = It->second;
  } else {
    String Name = u"vq3f" + IntToStr(Count());
    String Source = WrapExpression(FScriptLanguage, Name, Expression);
    if (Source.empty()) {
      ErrorMsg = Format(Res(u"SLangNotFound"), {FScriptLanguage});
      return Null();
    }
    FScript->SetSyntaxType(FScriptLanguage);
    FScript->SetText(Source);
    bool Compiled = FScript->Compile();
    Func = FScript->FindLocal(Name);
    if (!Compiled || !Func) {
      if (Func) {
        FScript->Remove(Func);
        delete Func;
      }
      ErrorMsg = Res(u"clExprError") + u" '" + Expression + u"': " + FScript->ErrorMsg();
      return Null();
    }
    FExpressions.emplace(Expression, Func);
  }
  Variant Result;
  TksScript* Main = FMainScript;
  if (Main) Main->SetMainProg(false);
  try {
    Result = Func->GetValue();
  } catch (const Exception& E) {
    ErrorMsg = E.Message();
  }
  if (Main) Main->SetMainProg(true);
  return Result;
}

// =============================================================================================
// Calc and the name lookup

TvqrExpressionCache* vqrExpressionCache(TvqrReport* Report) {
  auto* Engine = Report ? dynamic_cast<TvqrEngine*>(Report->Engine()) : nullptr;
  return Engine ? Engine->ExpressionCache() : nullptr;
}

bool vqrResolveValueName(TvqrReport* Report, const String& Name, Variant& Value) {
  Value = Null();
  if (TvqrVQ2Events* Hooks = vqrVQ2Events(); Hooks && Hooks->OnGetValue) {
    Variant V;
    Hooks->OnGetValue(Name, V);
    if (!V.IsEmpty()) {
      Value = V;
      return true;
    }
  }
  TvqrDataSet* DS = nullptr;
  String Field;
  Report->GetDatasetAndField(Name, DS, Field);
  if (DS && !Field.empty()) {
    Value = DS->Value(Field);
    if (Value.IsNull() && Report->EngineOptions()->ConvertNulls()) {
      switch (DS->FieldType(Field)) {
        case fftNumeric: Value = 0; break;
        case fftString: Value = String(); break;
        case fftBoolean: Value = false; break;
        default: break;
      }
    }
    return true;
  }
  int Sys = Report->SysVariables()->IndexOf(Name);
  if (Sys >= 0) {
    TvqrCustomEngine* E = Report->Engine();
    TvqrCustomPreviewPages* P = Report->PreviewPages();
    switch (Sys) {
      case 0: Value = VarFromDateTime(E ? E->StartDate : 0); break;
      case 1: Value = VarFromDateTime(E ? E->StartTime : 0); break;
      case 2: Value = P ? P->GetLogicalPageNo() : 0; break;
      case 3: Value = P ? P->CurPage + 1 : 0; break;
      case 4: Value = P ? P->GetLogicalTotalPages() : 0; break;
      case 5: Value = E ? E->TotalPages : 0; break;
      case 6: Value = E ? E->CurLine : 0; break;
      case 7: Value = E ? E->CurLineThrough : 0; break;
      case 8:
        Value = vqrGlobalVariables() ? vqrGlobalVariables()->Variables(u"CopyName0") : Null();
        break;
      default: break;
    }
    return true;
  }
  Variant Hosted;
  if (Report->OnGetValue()) Report->OnGetValue()(Name, Hosted);
  if (Report->OnNewGetValue()) Report->OnNewGetValue()(Report, Name, Hosted);
  if (!Hosted.IsEmpty()) {
    Value = Hosted;
    return true;
  }
  if (Report->Variables()->IndexOf(Name) >= 0) {
    Variant V = Report->Variables()->Variables(Name);
    if (V.IsString() && VarToStr(V).find(u"\r\n") == String::npos)
      Value = vqrCalc(Report, VarToStr(V));
    else
      Value = V;
    return true;
  }
  if (TvqrVariables* Globals = vqrGlobalVariables(); Globals && Globals->IndexOf(Name) >= 0) {
    Value = Globals->Variables(Name);
    return true;
  }
  if (TvqrVQ2Events* Hooks = vqrVQ2Events(); Hooks && Hooks->OnGetScriptValue) return false;
  if (TksCustomVariable* V = Report->Script()->FindLocal(Name)) {
    if (!dynamic_cast<TksProcVariable*>(V) && !dynamic_cast<TksMethodHelper*>(V)) {
      Value = V->GetValue();
      return true;
    }
  }
  return false;
}

Variant vqrCalc(TvqrReport* Report, const String& Expr, TksScript* AScript, bool FromScript) {
  if (!AScript) AScript = Report->Script();
  String ErrorMsg;
  Variant Result;
  if (GCalcDepth >= MaxCalcDepth) {
    ErrorMsg = Res(u"clExprError") + u" '" + Expr + kCycleText;
  } else {
    const bool Outermost = GCalcDepth == 0;
    TDepthGuard Guard;
    try {
      if (vqrResolveValueName(Report, Expr, Result)) return Result;
    } catch (const ECalcCycle& E) {
      if (!Outermost) throw;
      ErrorMsg = E.Message();
    }
    if (ErrorMsg.empty()) {
      TvqrExpressionCache* Cache = vqrExpressionCache(Report);
      if (!Cache) return Null();
      Result = Cache->Calc(Expr, ErrorMsg, AScript);
    }
  }
  if (ErrorMsg.empty()) return Result;
  if (Report->EngineOptions()->IgnoreDevByZero() && (ErrorMsg == u"Division by zero" || ErrorMsg == u"Floating point division by zero"))
    return Result;
  String Message;
  if (FromScript) {
    Message = u"Error in Calc expression: " + ErrorMsg;
  } else if (GCalcDepth > 0 && ErrorMsg.find(kCycleText) != String::npos) {
    throw ECalcCycle(ErrorMsg);
  } else {
    Message = Report->CurObject().empty() ? ErrorMsg : Report->CurObject() + u": " + ErrorMsg;
    Report->Errors()->Add(Message);
  }
  throw Exception(Message);
}

// =============================================================================================
// The report script

namespace {

TksScript* Running(TvqrReport* Report) {
  TksScript* S = Report->Script()->ProgRunning();
  return S ? S : Report->Script();
}

Variant ArgumentValue(TvqrReport* Report, const Variant& Arg) {
  String Text = Trim(VarToStr(Arg));
  return Text.empty() ? Variant(0) : vqrCalc(Report, Text, Running(Report));
}

TvqrBand* BandArgument(const Variant& V) {
  if (V.IsHandle()) return dynamic_cast<TvqrBand*>(ksVariantToObject(V));
  return nullptr;
}

Variant MacroHandler(TvqrReport* Report, const String& Method, Variant& Params) {
  auto Param = [&](int I) -> Variant {
    return Params.IsArray() && I <= VarArrayHighBound(Params, 1) ? Params[I] : Variant(String());
  };
  if (Method == u"IIF") {
    Variant Result;
    try {
      TksScript* S = Running(Report);
      Variant Cond = vqrCalc(Report, VarToStr(Param(0)), S);
      Result = VarSameValue(Cond, Variant(true)) ? vqrCalc(Report, VarToStr(Param(1)), S)
                                                 : vqrCalc(Report, VarToStr(Param(2)), S);
    } catch (const Exception&) {
      // Errors inside IIF arguments do not propagate; Calc has listed them in Errors.
    }
    return Result;
  }
  auto* Engine = Report->Engine();
  if (!Engine) return Null();
  if (Method == u"COUNT") {
    Variant Band = ArgumentValue(Report, Param(0));
    Variant Flags = ArgumentValue(Report, Param(1));
    return Engine->GetAggregateValue(u"COUNT", String(), BandArgument(Band), Flags.AsInteger());
  }
  Variant Band = ArgumentValue(Report, Param(1));
  Variant Flags = ArgumentValue(Report, Param(2));
  return Engine->GetAggregateValue(Method, VarToStr(Param(0)), BandArgument(Band),
                                   Flags.AsInteger());
}

Variant GetHandler(TvqrReport* Report, Variant& Params) {
  String Name = VarToStr(Params.IsArray() ? Params[0] : Params);
  Variant Value;
  if (vqrResolveValueName(Report, Name, Value)) return Value;
  size_t Paren = Name.find(u'(');
  if (Paren != String::npos && IsAggregateName(UpperCase(Trim(Name.substr(0, Paren)))))
    return vqrCalc(Report, Name);
  if (TvqrVQ2Events* Hooks = vqrVQ2Events(); Hooks && Hooks->OnGetScriptValue)
    return Hooks->OnGetScriptValue(Params);
  Report->Errors()->Add(Res(u"clUnknownVar") + u" " + Name);
  return Null();
}

}  // namespace

void vqrPrepareScript(TvqrReport* Report) {
  TksScript* Script = Report->Script();
  if (TvqrExpressionCache* Cache = vqrExpressionCache(Report)) {
    Cache->Clear();
    Cache->SetScriptLanguage(Report->ScriptLanguage());
  }
  if (Report->Engine()) Report->Engine()->NotifyList()->Clear();
  Script->ClearItems(Report);
  Script->SetAddedBy(Report);
  Script->SetMainProg(true);
  struct TReset {
    TksScript* S;
    ~TReset() { S->SetAddedBy(nullptr); }
  } Reset{Script};
  for (TvqrComponent* Obj : Report->AllObjects()) {
    Obj->SetIsDesigning(false);
    Obj->BeforeStartReport();
    if (auto* Picture = dynamic_cast<TvqrPictureView*>(Obj)) Picture->SetPictureChanged(true);
    if (!Obj->Name().empty()) Script->AddObject(Obj->Name(), Obj);
  }
  Script->AddObject(u"Report", Report);
  if (Report->Engine()) Script->AddObject(u"Engine", Report->Engine());
  if (Report->PreviewPages() && Report->PreviewPages()->Outline())
    Script->AddObject(u"Outline", Report->PreviewPages()->Outline());
  Script->AddVariable(u"Value", u"Variant", Null());
  Script->AddVariable(u"Self", u"TvqrView", Null());
  Script->AddMethod(u"function Get(Name: String): Variant",
                    TksCallMethodEvent([Report](TObject*, TksClassRef, const String&,
                                                Variant& Params) { return GetHandler(Report, Params); }));
  Script->AddMethod(u"procedure Set(Name: String; Value: Variant)",
                    TksCallMethodEvent([Report](TObject*, TksClassRef, const String&,
                                                Variant& Params) -> Variant {
                      Report->Variables()->SetVariables(VarToStr(Params[0]), Params[1]);
                      return Variant();
                    }));
  auto Macro = TksCallMethodEvent([Report](TObject*, TksClassRef, const String& Method,
                                           Variant& Params) {
    return MacroHandler(Report, UpperCase(Method), Params);
  });
  Script->AddMethod(u"macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant", Macro);
  for (const char16_t* Name : {u"SUM", u"AVG", u"MIN", u"MAX"})
    Script->AddMethod(u"macrofunction " + String(Name) +
                          u"(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                      Macro);
  Script->AddMethod(u"macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant", Macro);
  if (TvqrVQ2Events* Hooks = vqrVQ2Events(); Hooks && Hooks->OnPrepareScript)
    Hooks->OnPrepareScript(Report);
  if (TvqrExpressionCache* Cache = vqrExpressionCache(Report)) {
    Cache->LocalVariable = Script->Find(u"Value");
    Cache->SelfVariable = Script->Find(u"Self");
  }
}

namespace {
TksCustomVariable* ScriptVariable(TvqrReport* Report, bool Self) {
  if (TvqrExpressionCache* Cache = vqrExpressionCache(Report)) {
    TksCustomVariable* V = Self ? Cache->SelfVariable : Cache->LocalVariable;
    if (V) return V;
  }
  return Report->Script()->Find(Self ? u"Self" : u"Value");
}
}  // namespace

Variant vqrLocalValue(TvqrReport* Report) {
  TksCustomVariable* V = ScriptVariable(Report, false);
  return V ? V->GetValue() : Null();
}

void vqrSetLocalValue(TvqrReport* Report, const Variant& Value) {
  if (TksCustomVariable* V = ScriptVariable(Report, false)) V->SetValue(Value);
}

TvqrView* vqrSelfValue(TvqrReport* Report) {
  TksCustomVariable* V = ScriptVariable(Report, true);
  if (!V) return nullptr;
  Variant Handle = V->GetValue();
  return Handle.IsHandle() ? dynamic_cast<TvqrView*>(ksVariantToObject(Handle)) : nullptr;
}

void vqrSetSelfValue(TvqrReport* Report, TvqrView* View) {
  if (TksCustomVariable* V = ScriptVariable(Report, true)) V->SetValue(ksObjectToVariant(View));
}

// =============================================================================================
// Script events

namespace {
bool EventRuns(TvqrReport* Report, const String& EventName, bool RunAlways) {
  return !EventName.empty() && (RunAlways || (Report->Engine() && Report->Engine()->Running));
}
}  // namespace

void vqrDoNotifyEvent(TvqrReport* Report, TObject* Obj, const String& EventName, bool RunAlways) {
  if (!EventRuns(Report, EventName, RunAlways)) return;
  Report->Script()->CallFunction(EventName, VarArrayOf({ksObjectToVariant(Obj)}));
}

void vqrDoParamEvent(TvqrReport* Report, const String& EventName, Variant& Params,
                     bool RunAlways) {
  if (!EventRuns(Report, EventName, RunAlways)) return;
  Report->Script()->CallFunction1(EventName, Params);
}

void vqrDoBeforePrint(TvqrReport* Report, TvqrReportComponent* Component) {
  if (Report->OnBeforePrint()) Report->OnBeforePrint()(Component);
  vqrDoNotifyEvent(Report, Component, Component->OnBeforePrint(), false);
}

void vqrDoAfterPrint(TvqrReport* Report, TvqrReportComponent* Component) {
  if (Report->OnAfterPrint()) Report->OnAfterPrint()(Component);
  vqrDoNotifyEvent(Report, Component, Component->OnAfterPrint(), false);
}

bool vqrSplitDelimiters(const String& Delimiters, String& Open, String& Close) {
  size_t Comma = Delimiters.find(u',');
  Open = Delimiters.substr(0, Comma);
  Close = Comma == String::npos ? String() : Delimiters.substr(Comma + 1, 255);
  return !Open.empty() && !Close.empty();
}

String vqrExpandBrackets(const String& S, const String& Open, const String& Close,
                         const std::function<String(const String& Inner)>& Evaluate) {
  String Text = S;
  int I = 1;
  while (I <= static_cast<int>(Text.size())) {
    int At = Pos(Open, Text, I);
    if (At == 0) break;
    int Start = At, End = At;
    String Inner = ExtractBracketedText(Text, Open, Close, Start, End);
    if (End <= Start) break;
    String Value = Evaluate(Inner);
    Text.replace(static_cast<size_t>(Start - 1), static_cast<size_t>(End - Start + 1), Value);
    I = Start + static_cast<int>(Value.size());
  }
  return Text;
}

Byte ShiftStateToByte(Word Shift) { return static_cast<Byte>(Shift & 0xFF); }
