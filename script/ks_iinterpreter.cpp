// ks_iinterpreter.cpp - TksScript: symbol table, registration, compiling, running, calling
// and evaluating.
#include "script/ks_iinterpreter.h"

#include <algorithm>

#include "platform/classes/Component.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iclassesrtti.h"
#include "script/ks_iilparser.h"
#include "script/ks_iinirtti.h"
#include "script/ks_isysrtti.h"
#include "script/ks_itools.h"

std::vector<TksRTTIModuleFactory>& RTTIModuleClasses() {
  // The engine's own modules in their order: the system library, ini files, the base
  // classes. The window-system bindings append dialogs, graphics and forms after them.
  static std::vector<TksRTTIModuleFactory> List{
      [](TksScript* S) -> TksRTTIModule* { return new TksSysFunctions(S); }, ksCreateIniRTTI,
      ksCreateClassesRTTI};
  return List;
}

void RegisterRTTIModule(TksRTTIModuleFactory Factory) {
  RTTIModuleClasses().push_back(std::move(Factory));
}

TksScript::TksScript(TksScript* AParent)
    : FParent(AParent), FStatement(std::make_unique<TksStatement>(this, String(), String())) {}

TksScript::~TksScript() {
  ScopeChanged();
  FStatement.reset();
  for (size_t i = FItems.size(); i-- > 0;) delete FItems[i].Item;
  FItems.clear();
}

// ---- Symbol table ---------------------------------------------------------------------------

namespace {
struct TKeyLess {
  bool operator()(const String& A, const String& B) const { return A < B; }
};
}  // namespace

void TksScript::Add(const String& Name, TksCustomVariable* Item) {
  // An item added under its own name knows that name in upper case already.
  String Key = Name == Item->Name() ? Item->UppercaseName() : ksUpperCase(Name);
  // A name added again goes before the older ones, so that it is the one found.
  if (FItems.empty() || FItems.back().Key < Key) {
    FItems.push_back(TEntry{std::move(Key), Item});  // after all others: nothing to move
  } else {
    auto It = std::lower_bound(FItems.begin(), FItems.end(), Key,
                               [](const TEntry& E, const String& K) { return E.Key < K; });
    FItems.insert(It, TEntry{std::move(Key), Item});
  }
  Item->SetAddedBy(FAddedBy);
}

void TksScript::Remove(TksCustomVariable* Item) {
  auto It = std::find_if(FItems.begin(), FItems.end(), [&](const TEntry& E) { return E.Item == Item; });
  if (It != FItems.end()) FItems.erase(It);
}

TksCustomVariable* TksScript::FindLocal(const String& Name) const {
  String Key = ksUpperCase(Name);
  auto It = std::lower_bound(FItems.begin(), FItems.end(), Key,
                             [](const TEntry& E, const String& K) { return E.Key < K; });
  if (It != FItems.end() && It->Key == Key) return It->Item;
  return nullptr;
}

TksCustomVariable* TksScript::Find(const String& Name) const {
  for (const TksScript* S = this; S; S = S->FParent)
    if (TksCustomVariable* V = S->FindLocal(Name)) return V;
  return nullptr;
}

TksClassVariable* TksScript::FindClass(const String& Name) const {
  for (const TksScript* S = this; S; S = S->FParent) {
    if (auto* C = dynamic_cast<TksClassVariable*>(S->FindLocal(Name))) return C;
    for (auto& [Registered, ScriptName] : S->FClassAliases)
      if (ksSameText(Registered, Name)) return S->FindClass(ScriptName);
  }
  return nullptr;
}

void TksScript::FreeEntry(size_t Index) {
  TksCustomVariable* V = FItems[Index].Item;
  FItems.erase(FItems.begin() + Index);
  delete V;
}

void TksScript::ResetStatement() { FStatement = std::make_unique<TksStatement>(this, String(), String()); }

void TksScript::Clear() {
  ResetStatement();
  for (size_t i = FItems.size(); i-- > 0;)
    if (FItems[i].Item->AddedBy() != ksRTTIMarker) FreeEntry(i);
  FUnitLines.clear();
  FErrorPos.clear();
  FErrorMsg.clear();
  FErrorUnit.clear();
}

void TksScript::RemoveItems(const void* Owner) {
  for (size_t i = FItems.size(); i-- > 0;)
    if (FItems[i].Item->AddedBy() == Owner) FreeEntry(i);
}

void TksScript::ClearItems(const void* Owner) {
  RemoveItems(Owner);
  ResetStatement();
  FUnitLines.clear();
}

void TksScript::ClearRTTI() {
  if (!FRTTIAdded) return;
  ResetStatement();
  RemoveItems(ksRTTIMarker);
  FModules.clear();
  FRTTIAdded = false;
}

// ---- Registration ---------------------------------------------------------------------------

TksClassVariable* TksScript::AddClass(TksClassRef AClass, const String& Ancestor,
                                      const String& ScriptName) {
  const String& Name = ScriptName.empty() ? AClass->Name() : ScriptName;
  if (Find(Name) || (ScriptName.empty() && FindClass(Name))) return nullptr;
  String Base = Ancestor;
  if (Base.empty() && AClass->Parent()) {
    Base = AClass->Parent()->Name();
    AddClass(AClass->Parent());
  }
  auto* C = new TksClassVariable(AClass, Base, this, Name);
  Add(Name, C);
  if (Name != AClass->Name()) FClassAliases.emplace_back(AClass->Name(), Name);
  if (TksClassVariable* A = FindClass(Base)) C->SetDefProperty(A->DefProperty());
  AddPropertyTypes(AClass);
  return C;
}

namespace {
// The value of an enumeration member (its ordinal) or of a set member (its bit: from bit 31 on
// a 64-bit integer, which a 32-bit one cannot hold).
Variant EnumMemberValue(int Ordinal, bool IsSet) {
  if (!IsSet) return Variant(Ordinal);
  if (Ordinal >= 64) throw ERangeError(u"Too many set members");
  return Ordinal < 31 ? Variant(1 << Ordinal) : Variant(static_cast<long long>(1ULL << Ordinal));
}
}  // namespace

void TksScript::AddEnumMember(const String& Name, const String& Typ, int Ordinal, bool IsSet) {
  auto* V = new TksVariable(Name, fvtEnum, Typ);
  V->SetValue(EnumMemberValue(Ordinal, IsSet));
  V->SetIsReadOnly(true);
  Add(Name, V);
}

void TksScript::AddPropertyTypes(TksClassRef AClass) {
  // Classes of class properties, so that designators can go on through them, and the value
  // names of enumerations and sets as constants (an existing name is kept).
  for (const TPropInfo* P : AClass->Properties()) {
    if (P->Kind() == tkClass && P->PropClass()) AddClass(P->PropClass());
    if (P->Kind() != tkEnumeration && P->Kind() != tkSet) continue;
    const TEnumInfo* E = P->EnumType();
    String Typ = P->Kind() == tkSet ? P->SetType()->Name() : E->Name();
    if (ksSameText(Typ, u"Boolean") || Find(Typ)) continue;
    Add(Typ, new TksVariable(Typ, fvtEnum, Typ));
    for (int i = 0; i < E->Count(); ++i)
      if (!Find(E->ValueName(i))) AddEnumMember(E->ValueName(i), Typ, i, P->Kind() == tkSet);
  }
}

void TksScript::AddConst(const String& Name, const String& Typ, const Variant& Value) {
  if (Find(Name)) return;
  TksCustomVariable* T = Find(Typ);
  auto* V = new TksVariable(Name, T ? T->Typ() : fvtClass, Typ);
  V->SetValue(Value);
  V->SetIsReadOnly(true);
  Add(Name, V);
}

namespace {
std::vector<String> SplitNames(const String& Names) {
  std::vector<String> R;
  size_t From = 0;
  while (From <= Names.size()) {
    size_t C = Names.find(u',', From);
    String N = Names.substr(From, C == String::npos ? String::npos : C - From);
    while (!N.empty() && N.front() <= u' ') N.erase(N.begin());
    while (!N.empty() && N.back() <= u' ') N.pop_back();
    R.push_back(N);
    if (C == String::npos) break;
    From = C + 1;
  }
  return R;
}
}  // namespace

void TksScript::AddEnum(const String& Typ, const String& Names) { AddEnumValues(Typ, Names, false); }

void TksScript::AddEnumSet(const String& Typ, const String& Names) { AddEnumValues(Typ, Names, true); }

void TksScript::AddEnumValues(const String& Typ, const String& Names, bool IsSet) {
  Add(Typ, new TksVariable(Typ, fvtEnum, Typ));
  int i = 0;
  for (const String& N : SplitNames(Names)) AddEnumMember(N, Typ, i++, IsSet);
}

TksMethodHelper* TksScript::AddMethod(const String& Syntax, TksCallMethodNewEvent CallEvent,
                                      const String& Category, const String& Description) {
  auto* M = new TksMethodHelper(Syntax, this);
  M->FOnCallNew = std::move(CallEvent);
  M->SetCategory(Category);
  M->SetDescription(Description.empty() ? M->Name() : Description);
  Add(M->Name(), M);
  return M;
}

TksMethodHelper* TksScript::AddMethod(const String& Syntax, TksCallMethodEvent CallEvent,
                                      const String& Category, const String& Description) {
  auto* M = new TksMethodHelper(Syntax, this);
  M->FOnCall = std::move(CallEvent);
  M->SetCategory(Category);
  M->SetDescription(Description.empty() ? M->Name() : Description);
  Add(M->Name(), M);
  return M;
}

void TksScript::AddObject(const String& Name, TObject* Obj) {
  AddClass(Obj->ClassType());
  AddVariable(Name, Obj->ClassName(), ksObjectToVariant(Obj));
}

void TksScript::AddComponent(TComponent* Form) {
  TksClassVariable* Cls = FindClass(Form->ClassName());
  if (!Cls) {
    String Ancestor;
    for (TClass C = Form->ClassType()->Parent(); C && Ancestor.empty(); C = C->Parent())
      for (const char16_t* Base : {u"TForm", u"TDataModule", u"TFrame"})
        if (C->Name() == Base) Ancestor = Base;
    if (Ancestor.empty()) return;
    Cls = AddClass(Form->ClassType(), Ancestor);
    if (!Cls) return;
  }
  for (int i = 0; i < Form->ComponentCount(); ++i) Cls->AddComponent(Form->Components(i));
  AddObject(Form->Name(), Form);
}

void TksScript::AddVariable(const String& Name, const String& Typ, const Variant& Value) {
  if (Find(Name)) return;
  TksCustomVariable* T = Find(Typ);
  auto* V = new TksVariable(Name, T ? T->Typ() : fvtClass, Typ);
  V->SetValue(Value);
  V->SetOnGetVarValue(FOnGetVarValue);
  Add(Name, V);
}

void TksScript::AddType(const String& TypeName, TksVarType ParentType) {
  if (Find(TypeName)) return;
  Add(TypeName, new TksTypeVariable(TypeName, ParentType, TypeName));
}

void TksScript::AddRTTI() {
  if (FRTTIAdded) return;
  const void* Saved = FAddedBy;
  FAddedBy = ksRTTIMarker;
  try {
    for (auto& Factory : RTTIModuleClasses()) FModules.emplace_back(Factory(this));
  } catch (...) {
    FAddedBy = Saved;
    throw;
  }
  FAddedBy = Saved;
  FRTTIAdded = true;
}

// ---- Compiling and running ------------------------------------------------------------------

void TksScript::SetText(const String& Text) {
  FLines.clear();
  size_t From = 0;
  while (From <= Text.size()) {
    size_t E = Text.find(u'\n', From);
    String L = Text.substr(From, E == String::npos ? String::npos : E - From);
    if (!L.empty() && L.back() == u'\r') L.pop_back();
    FLines.push_back(L);
    if (E == String::npos) break;
    From = E + 1;
  }
}

bool TksScript::CompileTree(bool Save, std::string* Out) {
  FErrorMsg.clear();
  TksILParser P(this);
  P.SelectLanguage(FSyntaxType);
  String Text;
  for (const String& L : FLines) {
    Text += L;
    Text += u"\r\n";
  }
  if (P.MakeILScript(Text)) {
    if (Save) *Out = P.SaveILText();
    else P.ParseILScript();
  }
  if (FErrorMsg.empty()) FErrorPos.clear();
  return FErrorMsg.empty();
}

bool TksScript::Compile() { return CompileTree(false, nullptr); }

bool TksScript::GetILCode(std::string& Out) { return CompileTree(true, &Out); }

bool TksScript::SetILCode(std::string_view In) {
  FErrorMsg.clear();
  TksILParser P(this);
  P.SelectLanguage(FSyntaxType);
  try {
    P.LoadILText(In);
  } catch (const Exception& E) {
    FErrorMsg = E.Message();
    return false;
  }
  P.ParseILScript();
  if (FErrorMsg.empty()) FErrorPos.clear();
  return FErrorMsg.empty();
}

void TksScript::Execute() {
  FExitCalled = FTerminated = FBreakCalled = FContinueCalled = false;
  FIsRunning = true;
  SetMainProg(true);
  auto Leave = [this] {
    FExitCalled = FTerminated = FBreakCalled = FContinueCalled = false;
    FIsRunning = false;
  };
  try {
    FStatement->Execute();
  } catch (...) {
    Leave();
    throw;
  }
  Leave();
}

bool TksScript::Run() {
  if (!Compile()) return false;
  Execute();
  return true;
}

void TksScript::TerminateAll() {
  FExitCalled = FTerminated = true;
  for (auto& E : FItems)
    if (auto* P = dynamic_cast<TksProcVariable*>(E.Item)) P->Prog()->TerminateAll();
}

void TksScript::Terminate() { TerminateAll(); }

Variant TksScript::CallFunction2(TksProcVariable* Func, const Variant& Params) {
  if (!Func) return Variant::MakeNull();
  if (Params.IsArray()) {
    int Lo = Params.ArrayLowBound(), Hi = Params.ArrayHighBound();
    for (int i = 0; i <= Hi - Lo; ++i) {
      if (i >= Func->Count()) throw EListError(u"List index out of bounds (" + IntToStr(i) + u")");
      Func->ParamAt(i)->SetValue(Params[Lo + i]);
    }
  }
  return Func->GetValue();
}

Variant TksScript::CallFunction(const String& Name, const Variant& Params) {
  return CallFunction2(dynamic_cast<TksProcVariable*>(FindLocal(Name)), Params);
}

Variant TksScript::CallFunction1(const String& Name, Variant& Params) {
  auto* F = dynamic_cast<TksProcVariable*>(FindLocal(Name));
  Variant R = CallFunction2(F, Params);
  if (F && Params.IsArray()) {
    int Lo = Params.ArrayLowBound(), Hi = Params.ArrayHighBound();
    for (int i = 0; i <= Hi - Lo && i < F->Count(); ++i) Params[Lo + i] = F->ParamAt(i)->GetValue();
  }
  return R;
}

Variant TksScript::Evaluate(const String& Expression) {
  FEvaluteRiseError = false;
  Variant Result = Variant::MakeNull();
  TksScript* Context = FProgRunning ? FProgRunning : this;
  TksScript Temp(Context);
  bool HasRTTI = false;
  for (TksScript* S = Context; S; S = S->FParent) HasRTTI = HasRTTI || S->FRTTIAdded;
  if (!HasRTTI) Temp.AddRTTI();
  Temp.SetOnGetVarValue(Context->FOnGetVarValue);
  Temp.SetExtendedCharset(FExtendedCharset);
  TksRunLineEvent SavedRunLine = std::move(FOnRunLine);
  FOnRunLine = nullptr;
  ScopeChanged();
  struct TRestore {
    TksScript* S;
    TksRunLineEvent& Saved;
    ~TRestore() {
      S->FOnRunLine = std::move(Saved);
      ScopeChanged();
    }
  } Restore{this, SavedRunLine};
  Temp.SetSyntaxType(FSyntaxType);
  if (ksSameText(FSyntaxType, u"PascalScript"))
    Temp.FLines.push_back(u"function ksEvaluateFUNC: Variant; begin Result := " + Expression +
                          u" end; begin end.");
  else if (ksSameText(FSyntaxType, u"D++Ividaz"))
    Temp.FLines.push_back(u"Variant ksEvaluateFUNC() { return " + Expression + u"; } {}");
  else if (ksSameText(FSyntaxType, u"BasicScript"))
    Temp.FLines.push_back(u"function ksEvaluateFUNC\r\nreturn " + Expression + u"\r\nend function");
  else if (ksSameText(FSyntaxType, u"JScript"))
    Temp.FLines.push_back(u"function ksEvaluateFUNC() { return (" + Expression + u"); }");
  if (Temp.Compile()) {
    if (auto* F = dynamic_cast<TksProcVariable*>(Temp.FindLocal(u"ksEvaluateFUNC")))
      Result = F->GetValue();
  } else {
    Result = Variant(Temp.ErrorMsg());
    FEvaluteRiseError = true;
  }
  return Result;
}

namespace {

// The line of a "line:column" position, when it is written as IntToStr writes a number; any
// other text names no line IsExecutableLine could be asked about.
bool LineOfPosition(const String& APos, int& Line) {
  size_t End = APos.find(u':');
  if (End == String::npos) End = APos.size();
  size_t i = 0;
  bool Negative = End > 0 && APos[0] == u'-';
  if (Negative) i = 1;
  if (i == End || (APos[i] == u'0' && (End - i > 1 || Negative))) return false;
  long long V = 0;
  for (; i < End; ++i) {
    if (APos[i] < u'0' || APos[i] > u'9' || V > 10'000'000'000LL) return false;
    V = V * 10 + (APos[i] - u'0');
  }
  if (Negative) V = -V;
  if (V < INT32_MIN || V > INT32_MAX) return false;
  Line = static_cast<int>(V);
  return true;
}

}  // namespace

void TksScript::AddCodeLine(const String& UnitName, const String& APos) {
  int Line;
  if (!LineOfPosition(APos, Line)) return;
  auto It = std::find_if(FUnitLines.begin(), FUnitLines.end(),
                         [&](auto& U) { return ksSameText(U.first, UnitName); });
  if (It == FUnitLines.end()) {
    FUnitLines.emplace_back(UnitName, std::vector<int>{});
    It = FUnitLines.end() - 1;
  }
  std::vector<int>& Lines = It->second;
  // Statements come mostly in source order: a later line goes at the end.
  if (Lines.empty() || Lines.back() < Line) {
    Lines.push_back(Line);
    return;
  }
  auto Pos = std::lower_bound(Lines.begin(), Lines.end(), Line);
  if (*Pos != Line) Lines.insert(Pos, Line);
}

bool TksScript::IsExecutableLine(int LineN, const String& UnitName) const {
  for (auto& U : FUnitLines)
    if (ksSameText(U.first, UnitName)) return std::binary_search(U.second.begin(), U.second.end(), LineN);
  return false;
}

void TksScript::ReportRunLine(const String& UnitName, const String& SourcePos) {
  if (FScopeGeneration != FScopeGenerationNow.load(std::memory_order_relaxed)) RefreshScope();
  if (FRunLineOwner) FRunLineOwner->FOnRunLine(this, UnitName, SourcePos);
}

void TksScript::RefreshScope() {
  FScopeGeneration = FScopeGenerationNow.load(std::memory_order_relaxed);
  FMainScope = FRunLineOwner = nullptr;
  for (TksScript* S = this; S; S = S->FParent)
    if (S->FMainProg) {
      FMainScope = S;
      break;
    }
  for (TksScript* S = this; S; S = S->FParent)
    if (S->FOnRunLine) {
      FRunLineOwner = S;
      break;
    }
}

void TksScript::AssignGlobal(const String& Name, const Variant& Value) {
  if (TksCustomVariable* V = Find(Name)) V->SetValue(Value);
  else AddVariable(Name, u"Variant", Value);
}
