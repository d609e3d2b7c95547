// ks_iinterpreter.h - the script object, its run-time object model, designators and statements.
//
// The object model, host classes and statements are declared in ks_iinterpreter_objects.h,
// ks_iinterpreter_rtti.h and ks_iinterpreter_stmts.h, which this header includes.
//
// TksScript is what a host uses: it holds one program's source, language, symbol table and
// compiled statements, and offers Compile, Execute, CallFunction and Evaluate. Everything a
// script can name is a TksCustomVariable: reading it calls GetValue (for a routine or host
// function that is the call), writing it SetValue. Objects cross between host and script as
// checked handles (platform/rtl/Handles.h), never as addresses.
//
// Host classes come from the platform's type registry (platform/classes/TypeRegistry.h):
// AddClass(TClass) makes a class, its ancestors, its published properties (events bound by
// the name of a script procedure) and a constructor through the registry's factory known to
// scripts; methods are added by hand on the class entry. An object crosses as a handle with
// the type tag "TObject" (ksObjectToVariant/ksVariantToObject); TObject's destructor releases
// it, so a freed object is a run-time error, never a dangling address.
#pragma once

#include <cstdint>

#include "script/ks_iinterpreter_objects.h"
#include "script/ks_iinterpreter_rtti.h"
#include "script/ks_iinterpreter_stmts.h"

// ---------------------------------------------------------------------------------------------
// Registration modules

class TksRTTIModule {
public:
  explicit TksRTTIModule(TksScript* AScript) : FScript(AScript) {}
  virtual ~TksRTTIModule() = default;
  TksScript* Script() const { return FScript; }

private:
  TksScript* FScript;
};

using TksRTTIModuleFactory = std::function<TksRTTIModule*(TksScript*)>;
// The process-wide list of module factories, the system library first. Binding units add
// theirs at start-up through RegisterRTTIModule, in the order they are listed there.
std::vector<TksRTTIModuleFactory>& RTTIModuleClasses();
void RegisterRTTIModule(TksRTTIModuleFactory Factory);

// ---------------------------------------------------------------------------------------------
// The script object

class TksScript {
public:
  explicit TksScript(TksScript* AParent = nullptr);
  virtual ~TksScript();
  TksScript(const TksScript&) = delete;
  TksScript& operator=(const TksScript&) = delete;

  // --- Symbol table ---
  void Add(const String& Name, TksCustomVariable* Item);
  void Remove(TksCustomVariable* Item);
  TksCustomVariable* Find(const String& Name) const;
  TksCustomVariable* FindLocal(const String& Name) const;
  TksClassVariable* FindClass(const String& Name) const;
  void Clear();
  void ClearItems(const void* Owner);
  void RemoveItems(const void* Owner);
  void ClearRTTI();
  int Count() const { return static_cast<int>(FItems.size()); }
  TksCustomVariable* SymbolAt(int i) const { return FItems[i].Item; }

  // --- Registration ---
  // Makes AClass known with its published properties, under ScriptName when given (the class
  // is then found by its own name too). Without Ancestor its registry parent is the ancestor,
  // and unknown ancestors are added first; registration modules always name the ancestor, so
  // that a later module's members for it are not lost. Does nothing (returns null) when the
  // name is known already.
  virtual TksClassVariable* AddClass(TksClassRef AClass, const String& Ancestor = {},
                                     const String& ScriptName = {});
  virtual void AddConst(const String& Name, const String& Typ, const Variant& Value);
  virtual void AddEnum(const String& Typ, const String& Names);
  virtual void AddEnumSet(const String& Typ, const String& Names);
  virtual TksMethodHelper* AddMethod(const String& Syntax, TksCallMethodNewEvent CallEvent,
                                     const String& Category = {}, const String& Description = {});
  virtual TksMethodHelper* AddMethod(const String& Syntax, TksCallMethodEvent CallEvent,
                                     const String& Category = {}, const String& Description = {});
  // A global variable holding Obj, typed as its class (which is added when unknown).
  virtual void AddObject(const String& Name, TObject* Obj);
  virtual void AddVariable(const String& Name, const String& Typ, const Variant& Value);
  virtual void AddType(const String& TypeName, TksVarType ParentType);
  // A form, data module or frame (by its class line: "TForm", "TDataModule", "TFrame") with the
  // components it owns as members of its class, and the object under its name; any other
  // component is ignored. A second call adds the members again (the newest is found).
  virtual void AddComponent(TComponent* Form);
  void AddForm(TComponent* Form) { AddComponent(Form); }
  void AddRTTI();

  // --- Compiling and running ---
  bool Compile();
  void Execute();
  bool Run();
  bool GetILCode(std::string& Out);
  bool SetILCode(std::string_view In);
  void Terminate();
  // Runs the script routine Name (this script's own table only) with the elements of the
  // Variant array Params as its parameters and gives its result; an unknown name, or one that
  // is no routine, gives Null (the report engine calls event names a template may not define).
  Variant CallFunction(const String& Name, const Variant& Params = Variant::MakeNull());
  Variant CallFunction1(const String& Name, Variant& Params);
  Variant CallFunction2(TksProcVariable* Func, const Variant& Params);
  Variant Evaluate(const String& Expression);
  void AddCodeLine(const String& UnitName, const String& APos);
  bool IsExecutableLine(int LineN, const String& UnitName) const;
  // Every statement runs it: the common case (no handler, scope unchanged) is one test, and
  // the rest stays out of the statements' loops.
  void NotifyRunLine(const String& UnitName, const String& SourcePos) {
    if (FRunLineOwner || FScopeGeneration != FScopeGenerationNow.load(std::memory_order_relaxed))
      ReportRunLine(UnitName, SourcePos);
  }
  void AssignGlobal(const String& Name, const Variant& Value);

  // --- Properties ---
  const void* AddedBy() const { return FAddedBy; }
  void SetAddedBy(const void* Value) { FAddedBy = Value; }
  const String& ErrorMsg() const { return FErrorMsg; }
  void SetErrorMsg(const String& Value) { FErrorMsg = Value; }
  const String& ErrorPos() const { return FErrorPos; }
  void SetErrorPos(const String& Value) { FErrorPos = Value; }
  const String& ErrorUnit() const { return FErrorUnit; }
  void SetErrorUnit(const String& Value) { FErrorUnit = Value; }
  bool ExtendedCharset() const { return FExtendedCharset; }
  void SetExtendedCharset(bool Value) { FExtendedCharset = Value; }
  bool IsRunning() const { return FIsRunning; }
  void SetIsRunning(bool Value) { FIsRunning = Value; }
  // The source text, one entry per line; joined with CR LF for compiling.
  std::vector<String>& Lines() { return FLines; }
  void SetLines(const std::vector<String>& Value) { FLines = Value; }
  void SetText(const String& Text);
  bool MainProg() const { return FMainProg; }
  void SetMainProg(bool Value) {
    if (FMainProg != Value) ScopeChanged();
    FMainProg = Value;
  }
  const TksGetUnitEvent& OnGetILUnit() const { return FOnGetILUnit; }
  void SetOnGetILUnit(TksGetUnitEvent Value) { FOnGetILUnit = std::move(Value); }
  const TksGetUnitEvent& OnGetUnit() const { return FOnGetUnit; }
  void SetOnGetUnit(TksGetUnitEvent Value) { FOnGetUnit = std::move(Value); }
  const TksRunLineEvent& OnRunLine() const { return FOnRunLine; }
  void SetOnRunLine(TksRunLineEvent Value) {
    FOnRunLine = std::move(Value);
    ScopeChanged();
  }
  const TksGetVariableValueEvent& OnGetVarValue() const { return FOnGetVarValue; }
  void SetOnGetVarValue(TksGetVariableValueEvent Value) { FOnGetVarValue = std::move(Value); }
  TksScript* Parent() const { return FParent; }
  void SetParent(TksScript* Value) {
    FParent = Value;
    ScopeChanged();
  }
  // The nearest main program up the scope chain (this one included), or null.
  TksScript* MainScope() {
    if (FScopeGeneration != FScopeGenerationNow.load(std::memory_order_relaxed)) RefreshScope();
    return FMainScope;
  }
  TksScript* ProgRunning() const { return FProgRunning; }
  void SetProgRunning(TksScript* Value) { FProgRunning = Value; }
  TksStatement* Statement() const { return FStatement.get(); }
  const String& SyntaxType() const { return FSyntaxType; }
  void SetSyntaxType(const String& Value) { FSyntaxType = Value; }
  bool Terminated() const { return FTerminated; }
  std::vector<String>& IncludePath() { return FIncludePath; }
  bool UseClassLateBinding() const { return FUseClassLateBinding; }
  void SetUseClassLateBinding(bool Value) { FUseClassLateBinding = Value; }
  bool EvaluteRiseError() const { return FEvaluteRiseError; }
  // Macro texts a host keeps with the script; the engine stores nothing in them.
  std::vector<String>& Macros() { return FMacros; }

  // Loop and exit flags of this scope; statements and routine calls read and write them.
  // FStopFlags reads or clears the four at once (non-zero: the running list stops).
  union {
    struct {
      bool FBreakCalled;
      bool FContinueCalled;
      bool FExitCalled;
      bool FTerminated;
    };
    std::uint32_t FStopFlags = 0;
  };

private:
  struct TEntry {
    String Key;  // upper-cased name
    TksCustomVariable* Item;
  };
  void TerminateAll();
  // Scope lookups are cached per script and found again only after any script's parent,
  // main-program flag or run-line handler changed (each change moves a process-wide count).
  static void ScopeChanged() { FScopeGenerationNow.fetch_add(1, std::memory_order_relaxed); }
  void RefreshScope();
  [[gnu::noinline]] void ReportRunLine(const String& UnitName, const String& SourcePos);
  static inline std::atomic<unsigned> FScopeGenerationNow{1};
  void AddPropertyTypes(TksClassRef AClass);
  void AddEnumValues(const String& Typ, const String& Names, bool IsSet);
  void AddEnumMember(const String& Name, const String& Typ, int Ordinal, bool IsSet);
  void FreeEntry(size_t Index);
  void ResetStatement();
  bool CompileTree(bool Save, std::string* Out);

  const void* FAddedBy = nullptr;
  String FErrorMsg;
  String FErrorPos;
  String FErrorUnit;
  bool FExtendedCharset = false;
  std::vector<TEntry> FItems;
  std::vector<std::unique_ptr<TksRTTIModule>> FModules;
  bool FIsRunning = false;
  std::vector<String> FLines;
  bool FMainProg = false;
  TksGetUnitEvent FOnGetILUnit;
  TksGetUnitEvent FOnGetUnit;
  TksRunLineEvent FOnRunLine;
  TksGetVariableValueEvent FOnGetVarValue;
  TksScript* FParent;
  TksScript* FProgRunning = nullptr;
  bool FRTTIAdded = false;
  std::unique_ptr<TksStatement> FStatement;
  String FSyntaxType = u"PascalScript";
  // The lines that hold a statement, per unit, in ascending order.
  std::vector<std::pair<String, std::vector<int>>> FUnitLines;
  std::vector<String> FIncludePath{String()};
  std::vector<String> FMacros;
  // Registry names of classes added under another script name, with that name.
  std::vector<std::pair<String, String>> FClassAliases;
  bool FUseClassLateBinding = false;
  bool FEvaluteRiseError = false;
  unsigned FScopeGeneration = 0;
  TksScript* FMainScope = nullptr;
  TksScript* FRunLineOwner = nullptr;  // the nearest script with a run-line handler
};

inline void TksStatement::ExecuteItems() {
  TksScript& P = *FProgram;
  if (FItems.size() == 1) {
    // One statement, the common body of a branch or routine: nothing follows to be cut short.
    if (!P.FTerminated) FItems[0]->Execute();
    return;
  }
  // After a statement any flag ends the list; before the first only Terminate does.
  if (P.FTerminated) return;
  for (TksStatement* S : FItems) {
    S->Execute();
    if (P.FStopFlags) return;
  }
}

inline bool TksStatement::RunPass() {
  TksScript& P = *FProgram;
  if (FItems.size() == 1) {
    // A body of one statement, the common case, runs without walking the list.
    if (!P.FTerminated) FItems[0]->Execute();
    return !P.FStopFlags || !(P.FBreakCalled || P.FExitCalled || P.FTerminated);
  }
  ExecuteItems();
  return PassEnded();
}

inline void TksCallStmt::Execute() {
  FProgram->NotifyRunLine(FUnitName, FSourcePos);
  if (FProgram->FTerminated) return;
  if (!FSlotVar) {
    if (FModificator.empty()) {
      FDesignator->SetNeedResult(false);
      FDesignator->GetValue();
      return;
    }
  } else if (!FSlotVar->OnGetVarValue()) {
    Variant& Slot = *FSlotVar->PValue();
    if (Slot.VType() == varInteger) {
      const long long Next = static_cast<long long>(Slot.Data().Int) + FStep;
      if (Next >= INT32_MIN && Next <= INT32_MAX) {
        Slot = Variant(static_cast<int>(Next));
        return;
      }
    }
  }
  ExecuteCall();
}

inline size_t TksProcVariable::LocalsCount() {
  if (FLocalsTableSize != FProgram->Count()) FindLocals();
  return FSlots.size() + FStrings.size();
}
