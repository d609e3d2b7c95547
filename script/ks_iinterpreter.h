// ks_iinterpreter.h - the script object, its run-time object model, designators and statements.
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

#include <atomic>
#include <functional>
#include <memory>
#include <new>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/classes/Object.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/Variant.h"
#include "script/ks_xml.h"

class TksScript;
class TksStatement;
class TksClassVariable;
class TksMethodHelper;
class TksPropertyHelper;
class TksDesignator;
class TksExpression;
class TksExpressionNode;
class TPropInfo;

// ORDER VARTYPE: the type class of every named script entity.
enum TksVarType {
  fvtInt, fvtBool, fvtFloat, fvtChar, fvtString, fvtClass, fvtArray, fvtVariant, fvtEnum,
  fvtConstructor
};

struct TksTypeRec {
  TksVarType Typ = fvtVariant;
  String TypeName;
};

// A host class as scripts know it: its record in the type registry.
using TksClassRef = TClass;

// Objects as script values: a handle tagged "TObject" (Nil for no object), and back. An
// unknown or released handle raises EHandleError; an object not of class Expected (when
// given) raises EHandleError too. Integer 0, Null and Empty are no object.
Variant ksObjectToVariant(TObject* Obj);
TObject* ksVariantToObject(const Variant& Value, TClass Expected = nullptr);

using TksRunLineEvent =
    std::function<void(TksScript* Sender, const String& UnitName, const String& SourcePos)>;
using TksGetUnitEvent =
    std::function<void(TksScript* Sender, const String& UnitName, String& UnitText)>;
using TksGetVariableValueEvent =
    std::function<Variant(const String& VarName, TksVarType VarTyp, const Variant& OldValue)>;
// Host handlers. Instance is the object the member is used on (null for free functions and
// constructors' classes);
// ClassType the class the member was registered on; MethodName the member name in upper case.
using TksCallMethodEvent = std::function<Variant(TObject* Instance, TksClassRef ClassType,
                                                 const String& MethodName, Variant& Params)>;
using TksCallMethodNewEvent = std::function<Variant(
    TObject* Instance, TksClassRef ClassType, const String& MethodName, TksMethodHelper* Caller)>;
using TksGetValueEvent =
    std::function<Variant(TObject* Instance, TksClassRef ClassType, const String& PropName)>;
using TksSetValueEvent = std::function<void(TObject* Instance, TksClassRef ClassType,
                                            const String& PropName, const Variant& Value)>;

// Marks items made by registration modules (AddedBy), so that Clear keeps them.
extern const int ksRTTIMarkerObject;
inline const void* const ksRTTIMarker = &ksRTTIMarkerObject;

// ---------------------------------------------------------------------------------------------
// The object model

class TksParamItem;

class TksCustomVariable {
public:
  TksCustomVariable(const String& AName, TksVarType ATyp, const String& ATypeName);
  virtual ~TksCustomVariable();
  TksCustomVariable(const TksCustomVariable&) = delete;
  TksCustomVariable& operator=(const TksCustomVariable&) = delete;

  virtual void SetValue(const Variant& Value);
  virtual Variant GetValue();

  void AddParam(TksParamItem* Item);
  void RemoveParam(TksParamItem* Item);
  int Count() const { return static_cast<int>(FParams.size()); }
  TksParamItem* ParamAt(int i) const { return FParams[i]; }
  int GetNumberOfRequiredParams() const;
  String GetFullTypeName() const;

  const void* AddedBy() const { return FAddedBy; }
  void SetAddedBy(const void* Value) { FAddedBy = Value; }
  bool IsMacro() const { return FIsMacro; }
  void SetIsMacro(bool Value) { FIsMacro = Value; }
  bool IsReadOnly() const { return FIsReadOnly; }
  void SetIsReadOnly(bool Value) { FIsReadOnly = Value; }
  const String& Name() const { return FName; }
  const String& UppercaseName() const { return FUppercaseName; }
  bool NeedResult() const { return FNeedResult; }
  void SetNeedResult(bool Value) { FNeedResult = Value; }
  TksCustomVariable* RefItem() const { return FRefItem; }
  void SetRefItem(TksCustomVariable* Value) { FRefItem = Value; }
  const String& SourcePos() const { return FSourcePos; }
  void SetSourcePos(const String& Value) { FSourcePos = Value; }
  const String& SourceUnit() const { return FSourceUnit; }
  void SetSourceUnit(const String& Value) { FSourceUnit = Value; }
  TksVarType Typ() const { return FTyp; }
  void SetTyp(TksVarType Value) { FTyp = Value; }
  const String& TypeName() const { return FTypeName; }
  void SetTypeName(const String& Value) { FTypeName = Value; }
  Variant* PValue() { return &FValue; }
  const TksGetVariableValueEvent& OnGetVarValue() const { return FOnGetVarValue; }
  void SetOnGetVarValue(TksGetVariableValueEvent Value) { FOnGetVarValue = std::move(Value); }

protected:
  void SetName(const String& Value);

  const void* FAddedBy = nullptr;
  bool FIsMacro = false;
  bool FIsReadOnly = false;
  String FName;
  bool FNeedResult = true;
  TksCustomVariable* FRefItem = nullptr;
  String FSourcePos;
  String FSourceUnit;
  TksVarType FTyp;
  String FTypeName;
  String FUppercaseName;
  Variant FValue;
  TksGetVariableValueEvent FOnGetVarValue;
  std::vector<TksParamItem*> FParams;  // owned
};

// A typed variable or constant: the setter converts by Typ.
class TksVariable : public TksCustomVariable {
public:
  using TksCustomVariable::TksCustomVariable;
  void SetValue(const Variant& Value) override;
  Variant GetValue() override;
};

class TksTypeVariable : public TksCustomVariable {
public:
  using TksCustomVariable::TksCustomVariable;
};

// A script-declared Char or String variable; keeps every UTF-16 character.
class TksStringVariable : public TksVariable {
public:
  using TksVariable::TksVariable;
  void SetValue(const Variant& Value) override;
  Variant GetValue() override;
  String& Str() { return FStr; }

private:
  String FStr;
};

class TksParamItem : public TksCustomVariable {
public:
  TksParamItem(const String& AName, TksVarType ATyp, const String& ATypeName, bool AIsOptional,
               bool AIsVarParam);
  const Variant& DefValue() const { return FDefValue; }
  void SetDefValue(const Variant& Value) { FDefValue = Value; }
  bool IsOptional() const { return FIsOptional; }
  void SetIsOptional(bool Value) { FIsOptional = Value; }
  bool IsVarParam() const { return FIsVarParam; }

private:
  Variant FDefValue = Variant::MakeNull();
  bool FIsOptional;
  bool FIsVarParam;
};

// Whether V is a plain variable or parameter, whose value is what it stores (*PValue(); a
// read hook aside): its class adds no conversion or storage of its own.
inline bool ksStoresInPlace(const TksCustomVariable* V) {
  return V && (typeid(*V) == typeid(TksVariable) || typeid(*V) == typeid(TksParamItem));
}

// A script procedure or function; reading it runs it.
class TksProcVariable : public TksCustomVariable {
public:
  TksProcVariable(const String& AName, TksVarType ATyp, const String& ATypeName,
                  TksScript* AParent, bool AIsFunc);
  ~TksProcVariable() override;
  Variant GetValue() override { return Run(); }
  // Runs the body with the parameters as they stand and gives the result (Null for a
  // procedure). Not virtual: calls from designators take it directly.
  Variant Run();
  TksScript* Prog() const { return FProgram.get(); }
  bool IsFunc() const { return FIsFunc; }
  bool Executing() const { return FExecuting; }
  // Around a recursive call: the values of the routine's locals and parameters are pushed
  // before the inner call and popped back after it (also when it raised).
  void SaveLocals();
  void RestoreLocals();
  // The same into a caller's frame: LocalsCount values copied into Empty entries of Out, and
  // moved back from In (leaving them Empty).
  inline size_t LocalsCount();
  // Inline: a recursive call runs them on every activation.
  void CopyLocalsTo(Variant* Out) {
    // The stored values themselves (a String variable's text), so restoring them neither
    // converts nor calls a value hook.
    Variant* const* Slot = FSlots.data();
    for (Variant* const* End = Slot + FSlots.size(); Slot != End; ++Slot) new (Out++) Variant(**Slot);
    if (!FStrings.empty()) CopyStringsTo(Out);
  }
  void MoveLocalsFrom(Variant* In) {
    Variant* const* Slot = FSlots.data();
    for (Variant* const* End = Slot + FSlots.size(); Slot != End; ++Slot) **Slot = std::move(*In++);
    if (!FStrings.empty()) MoveStringsFrom(In);
  }

private:
  void FindLocals();
  void CopyStringsTo(Variant* Out);
  void MoveStringsFrom(Variant* In);

  bool FExecuting = false;
  bool FIsFunc;
  std::unique_ptr<TksScript> FProgram;
  // The value-holding entries of FProgram (found once per table size): the stored values of
  // plain entries and the String variables (whose text is kept). The saved values are one
  // stack, FSavedCount entries in use, so a deep recursion allocates only while it grows.
  std::vector<Variant*> FSlots;
  std::vector<TksStringVariable*> FStrings;
  int FLocalsTableSize = -1;
  std::vector<Variant> FSavedValues;
  size_t FSavedCount = 0;
};

class TksCustomExpression : public TksCustomVariable {
public:
  using TksCustomVariable::TksCustomVariable;
  // Fast paths that skip building a Variant: the value when it is a 32-bit integer, or the
  // truth of a condition, computed from constants and plain variables only. False means
  // nothing was evaluated; GetValue then gives the value.
  virtual bool TryInt(long long&) { return false; }
  virtual bool TryBool(bool&) { return false; }
};

// Base of members reached through a designator; the designator fills ParentRef, ParentValue
// and Prog before each use.
class TksCustomHelper : public TksCustomVariable {
public:
  using TksCustomVariable::TksCustomVariable;
  TksCustomVariable* ParentRef() const { return FParentRef; }
  void SetParentRef(TksCustomVariable* Value) { FParentRef = Value; }
  const Variant& ParentValue() const { return FParentValue; }
  void SetParentValue(const Variant& Value) { FParentValue = Value; }
  TksScript* Prog() const { return FProgram; }
  void SetProg(TksScript* Value) { FProgram = Value; }

protected:
  // The object of ParentValue: null for Null/Empty/0; an unknown or freed handle raises.
  TObject* ParentObject() const;

  TksCustomVariable* FParentRef = nullptr;
  Variant FParentValue;
  TksScript* FProgram = nullptr;
};

class TksPropertyHelper : public TksCustomHelper {
public:
  TksPropertyHelper(const String& AName, TksVarType ATyp, const String& ATypeName);
  // A published property of the type registry, read and written through it.
  TksPropertyHelper(TksClassRef AClass, const TPropInfo* AProp);
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;

  TksClassRef FClassRef = nullptr;
  const TPropInfo* FPropInfo = nullptr;  // set for a published property
  TksGetValueEvent FOnGetValue;
  TksSetValueEvent FOnSetValue;
};

class TksMethodHelper : public TksCustomHelper {
public:
  TksMethodHelper(const String& Syntax, TksScript* Script);
  ~TksMethodHelper() override;
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
  Variant GetParam(int i);
  void SetArgValue(int i, const Variant& Value);

  const String& Category() const { return FCategory; }
  void SetCategory(const String& Value) { FCategory = Value; }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }
  bool IndexMethod() const { return FIndexMethod; }
  void SetIndexMethod(bool Value) { FIndexMethod = Value; }
  const String& Syntax() const { return FSyntax; }

  TksClassRef FClassRef = nullptr;
  TksCallMethodEvent FOnCall;
  TksCallMethodNewEvent FOnCallNew;

private:
  // A new object of Class through the registry's factory; the first parameter is the owner
  // of a component or the collection of an item.
  TObject* Construct(TksClassRef Class);

  String FCategory;
  String FDescription;
  String FGetName, FSetName;  // the names an index method is called by: NAME.GET, NAME.SET
  bool FIndexMethod = false;
  Variant FSetValue = Variant::MakeNull();
  String FSyntax;
  Variant FVarArray;
};

// A published event. Reading it gives the name its handler is bound to ("" for none);
// writing the name of a script procedure binds it, 0 or "" unbinds. The handler refers to the
// procedure through a handle, so calling it after the script is gone is an EHandleError.
class TksEventHelper : public TksCustomHelper {
public:
  TksEventHelper(TksClassRef AClass, const TPropInfo* AProp);
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;

  TksClassRef FClassRef = nullptr;
  const TPropInfo* FPropInfo = nullptr;
};

// A registered host class with its members: its published properties and events (sorted by
// name), a constructor "Create" through the registry's factory (taking the owner for a
// component, the collection for a collection item), "Free" on TObject, and what the host adds.
// A method added by hand replaces an automatic member of the same name.
class TksClassVariable : public TksCustomVariable {
public:
  TksClassVariable(TksClassRef AClass, const String& Ancestor, TksScript* AProgram);
  ~TksClassVariable() override;
  // A class name evaluates to its class token (the cast argument when one is given); only a
  // constructor member creates an object.
  Variant GetValue() override;

  TksMethodHelper* AddMethod(const String& Syntax, TksCallMethodNewEvent CallEvent);
  TksMethodHelper* AddMethod(const String& Syntax, TksCallMethodEvent CallEvent);
  TksMethodHelper* AddConstructor(const String& Syntax, TksCallMethodNewEvent CallEvent);
  TksPropertyHelper* AddProperty(const String& Name, const String& Typ, TksGetValueEvent GetEvent,
                                 TksSetValueEvent SetEvent = nullptr);
  TksMethodHelper* AddIndexProperty(const String& Name, const String& Params, const String& Typ,
                                    TksCallMethodNewEvent CallEvent, bool AReadOnly = false);
  TksMethodHelper* AddDefaultProperty(const String& Name, const String& Params, const String& Typ,
                                      TksCallMethodNewEvent CallEvent, bool AReadOnly = false);
  TksCustomHelper* Find(const String& Name) const;
  int MembersCount() const { return static_cast<int>(FMembers.size()); }
  TksCustomHelper* MemberAt(int i) const { return FMembers[i].get(); }

  const String& Ancestor() const { return FAncestor; }
  TksClassRef ClassRef() const { return FClassRef; }
  TksCustomHelper* DefProperty() const { return FDefProperty; }
  void SetDefProperty(TksCustomHelper* Value) { FDefProperty = Value; }
  TksScript* Prog() const { return FProgram; }
  void SetProg(TksScript* Value) { FProgram = Value; }
  // The class token: a handle naming this class entry.
  TObjectHandle Token();

private:
  TksMethodHelper* NewMethod(const String& Syntax);
  void AddPublished();
  void AddFactoryMembers();

  String FAncestor;
  TksClassRef FClassRef;
  TksCustomHelper* FDefProperty = nullptr;
  std::vector<std::unique_ptr<TksCustomHelper>> FMembers;
  TksScript* FProgram = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Designators, helpers, set expressions

class TksDesignatorItem {
public:
  TksDesignatorItem() = default;
  ~TksDesignatorItem();
  TksDesignatorItem(const TksDesignatorItem&) = delete;
  TksDesignatorItem& operator=(const TksDesignatorItem&) = delete;
  std::vector<TksCustomExpression*> Args;  // owned
  bool Flag = false;
  TksCustomVariable* Ref = nullptr;
  String SourcePos;
  // What Ref is, found once at the first evaluation (saves a type test per step and call).
  enum TRefKind : signed char { rkUnknown, rkDesignator, rkProc, rkHelper, rkOther };
  TRefKind RefKind = rkUnknown;
  bool HasVarParams = false;  // found with RefKind
  bool PlainParams = false;   // found with RefKind: every parameter stores what it is given
};

enum TksDesignatorKind { dkOther, dkVariable, dkStringArray, dkArray };

class TksDesignator : public TksCustomVariable {
public:
  explicit TksDesignator(TksScript* AProgram);
  ~TksDesignator() override;
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
  void Finalize();
  void Borrow(TksDesignator* ADesignator);

  TksDesignatorItem* AddItem();
  int ItemCount() const { return static_cast<int>(FItems.size()); }
  TksDesignatorItem* Item(int i) const { return FItems[i]; }
  void DeleteItem(int i);
  TksDesignatorKind Kind() const { return FKind; }
  TksScript* Prog() const { return FProgram; }
  TksXMLItem* LateBindingXmlSource() const { return FLateBindingXmlSource.get(); }
  void SetLateBindingXmlSource(std::unique_ptr<TksXMLItem> Value) {
    FLateBindingXmlSource = std::move(Value);
  }
  // The routine of a one-step call of a script routine without var parameters, known after
  // the first evaluation (null otherwise); expression trees then call it directly.
  TksProcVariable* FastRoutine() const { return FFastRoutine; }
  Variant CallRoutine(TksProcVariable* Proc) { return CallRoutine(FItems[0], Proc); }

protected:
  Variant EvaluateChain(bool Write, const Variant& Value);
  void BindLate();
  static void Classify(TksDesignatorItem* Step);
  static void PassArguments(TksDesignatorItem* Step, TksCustomVariable* E);
  // The same for a script routine, with a lone integer argument written straight into its
  // parameter.
  static void PassRoutineArguments(TksDesignatorItem* Step, TksProcVariable* Proc);
  // The one-step call of a script routine without var parameters.
  Variant CallRoutine(TksDesignatorItem* Step, TksProcVariable* Proc);

  std::vector<TksDesignatorItem*> FItems;  // owned
  TksDesignatorKind FKind = dkOther;
  TksScript* FMainProg;
  TksScript* FProgram;
  TksCustomVariable* FRef1 = nullptr;
  TksDesignatorItem* FRef2 = nullptr;
  bool FRefInPlace = false;  // an array's variable stores its value (ksStoresInPlace)
  std::unique_ptr<TksXMLItem> FLateBindingXmlSource;
  TksProcVariable* FFastRoutine = nullptr;
};

class TksVariableDesignator : public TksDesignator {
public:
  using TksDesignator::TksDesignator;
  Variant GetValue() override { return FRefItem->GetValue(); }
  void SetValue(const Variant& Value) override { FRefItem->SetValue(Value); }
};

class TksStringDesignator : public TksDesignator {
public:
  using TksDesignator::TksDesignator;
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
};

class TksArrayDesignator : public TksDesignator {
public:
  using TksDesignator::TksDesignator;
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
};

// The index step of an array: reads and writes elements of the array held by ParentRef.
class TksArrayHelper : public TksCustomHelper {
public:
  TksArrayHelper(const String& AName, int DimCount, TksVarType ATyp, const String& ATypeName);
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
  // The same, told whether ParentRef stores its value (ksStoresInPlace): the element is then
  // read or written in place, else in a copy of ParentValue written back to ParentRef.
  Variant Read(bool InPlace);
  void Write(const Variant& Value, bool InPlace);
  int DimCount() const { return FDimCount; }

private:
  Variant* Element(Variant& Arr, bool ForWrite);
  int FDimCount;
};

class TksStringHelper : public TksCustomHelper {
public:
  TksStringHelper();
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
};

class TksSetExpression : public TksCustomVariable {
public:
  TksSetExpression();
  ~TksSetExpression() override;
  Variant GetValue() override;
  bool Check(const Variant& Value);
  std::vector<TksCustomExpression*> Items;  // owned; null marks a range
};

// ---------------------------------------------------------------------------------------------
// Statements

class TksStatement {
public:
  TksStatement(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  virtual ~TksStatement();
  TksStatement(const TksStatement&) = delete;
  TksStatement& operator=(const TksStatement&) = delete;

  virtual void Execute();
  // The items in order, stopping after one that breaks, continues, exits or terminates.
  inline void ExecuteItems();
  void Add(TksStatement* Item) { FItems.push_back(Item); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TksStatement* Items(int i) const { return FItems[i]; }
  void FreeAll();
  TksScript* Prog() const { return FProgram; }
  const String& SourcePos() const { return FSourcePos; }

protected:
  void RunLineHook();
  bool Stopped() const;

  std::vector<TksStatement*> FItems;  // owned
  TksScript* FProgram;
  String FSourcePos;
  String FUnitName;
};

class TksAssignmentStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksAssignmentStmt() override;
  void Execute() override;
  void Optimize();
  TksDesignator* FDesignator = nullptr;
  TksCustomExpression* FExpression = nullptr;

protected:
  // The integer fast path applies: the target is a plain Integer variable (writable) and
  // the expression pure (see TksExpression::Pure).
  bool IntegerTarget();
  // For the in-place forms: true with the target's value and the operand when both are
  // integers and the operand came from the integer fast path (nothing else was evaluated).
  bool IntegerInPlace(long long& Current, long long& Operand);
  // Stores Value into the target; false when it does not fit 32 bits.
  bool StoreInteger(long long Value);

  TksCustomVariable* FVar = nullptr;
  TksCustomVariable* FExpr = nullptr;
  TksExpression* FTree = nullptr;  // FExpression when it is an expression tree
  TksExpressionNode* FRoot = nullptr;  // the tree's root when FExpr is the tree
  signed char FIntTarget = -1;  // unknown until the first run
};

class TksAssignPlusStmt : public TksAssignmentStmt {
public:
  using TksAssignmentStmt::TksAssignmentStmt;
  void Execute() override;

private:
  // s := s + x on a String variable, x a constant or plain variable holding text: appended
  // in place. False when the general path must run (nothing was evaluated).
  bool AppendInPlace();
  signed char FStringTarget = -1;  // unknown until the first run
};
class TksAssignMinusStmt : public TksAssignmentStmt {
public:
  using TksAssignmentStmt::TksAssignmentStmt;
  void Execute() override;
};
class TksAssignMulStmt : public TksAssignmentStmt {
public:
  using TksAssignmentStmt::TksAssignmentStmt;
  void Execute() override;
};
class TksAssignDivStmt : public TksAssignmentStmt {
public:
  using TksAssignmentStmt::TksAssignmentStmt;
  void Execute() override;
};

class TksCallStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksCallStmt() override;
  void Execute() override;
  TksDesignator* FDesignator = nullptr;
  String FModificator;
};

class TksIfStmt : public TksStatement {
public:
  TksIfStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  ~TksIfStmt() override;
  void Execute() override;
  TksCustomExpression* FCondition = nullptr;
  std::unique_ptr<TksStatement> FElseStmt;
};

class TksCaseSelector : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksCaseSelector() override;
  bool Check(const Variant& Value) { return FSetExpression->Check(Value); }
  TksSetExpression* FSetExpression = nullptr;
};

class TksCaseStmt : public TksStatement {
public:
  TksCaseStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  ~TksCaseStmt() override;
  void Execute() override;
  TksCustomExpression* FCondition = nullptr;
  std::unique_ptr<TksStatement> FElseStmt;
};

class TksRepeatStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksRepeatStmt() override;
  void Execute() override;
  TksCustomExpression* FCondition = nullptr;
  bool FInverseCondition = false;
};

class TksWhileStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksWhileStmt() override;
  void Execute() override;
  TksCustomExpression* FCondition = nullptr;
};

class TksForStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksForStmt() override;
  void Execute() override;
  TksCustomExpression* FBeginValue = nullptr;
  TksCustomExpression* FEndValue = nullptr;
  bool FDown = false;
  TksCustomVariable* FVariable = nullptr;
};

// BasicScript's For ... To ... Step: bounds and step are Variants computed once; a step of 0
// repeats until break, exit or Terminate.
class TksVbForStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksVbForStmt() override;
  void Execute() override;
  TksCustomExpression* FBeginValue = nullptr;
  TksCustomExpression* FEndValue = nullptr;
  TksCustomExpression* FStep = nullptr;  // none: step 1
  TksCustomVariable* FVariable = nullptr;
};

class TksCppForStmt : public TksStatement {
public:
  TksCppForStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  ~TksCppForStmt() override;
  void Execute() override;
  std::unique_ptr<TksStatement> FFirstStmt;
  std::unique_ptr<TksStatement> FSecondStmt;
  TksCustomExpression* FExpression = nullptr;
};

class TksTryStmt : public TksStatement {
public:
  TksTryStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  void Execute() override;
  bool FIsExcept = false;
  std::unique_ptr<TksStatement> FExceptStmt;
};

class TksBreakStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  void Execute() override;
};
class TksContinueStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  void Execute() override;
};
class TksExitStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  void Execute() override;
};

class TksWithStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksWithStmt() override;
  void Execute() override;
  TksDesignator* FDesignator = nullptr;
  TksCustomVariable* FVariable = nullptr;
};

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
  // Makes AClass known with its published properties; without Ancestor its registry parent is
  // the ancestor, and unknown ancestors are added first. Does nothing (returns null) when
  // the name is known already.
  virtual TksClassVariable* AddClass(TksClassRef AClass, const String& Ancestor = {});
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
  void AddRTTI();

  // --- Compiling and running ---
  bool Compile();
  void Execute();
  bool Run();
  bool GetILCode(std::string& Out);
  bool SetILCode(std::string_view In);
  void Terminate();
  Variant CallFunction(const String& Name, const Variant& Params);
  Variant CallFunction1(const String& Name, Variant& Params);
  Variant CallFunction2(TksProcVariable* Func, const Variant& Params);
  Variant Evaluate(const String& Expression);
  void AddCodeLine(const String& UnitName, const String& APos);
  bool IsExecutableLine(int LineN, const String& UnitName) const;
  void NotifyRunLine(const String& UnitName, const String& SourcePos) {
    if (FScopeGeneration != FScopeGenerationNow.load(std::memory_order_relaxed)) RefreshScope();
    if (FRunLineOwner) FRunLineOwner->FOnRunLine(this, UnitName, SourcePos);
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

  // Loop and exit flags of this scope; statements and routine calls read and write them.
  bool FBreakCalled = false;
  bool FContinueCalled = false;
  bool FExitCalled = false;
  bool FTerminated = false;

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
  std::vector<std::pair<String, std::vector<String>>> FUnitLines;
  std::vector<String> FIncludePath{String()};
  bool FUseClassLateBinding = false;
  bool FEvaluteRiseError = false;
  unsigned FScopeGeneration = 0;
  TksScript* FMainScope = nullptr;
  TksScript* FRunLineOwner = nullptr;  // the nearest script with a run-line handler
};

inline void TksStatement::ExecuteItems() {
  TksScript& P = *FProgram;
  for (TksStatement* S : FItems) {
    if (P.FTerminated) return;
    S->Execute();
    if (P.FBreakCalled || P.FContinueCalled || P.FExitCalled) return;
  }
}

inline size_t TksProcVariable::LocalsCount() {
  if (FLocalsTableSize != FProgram->Count()) FindLocals();
  return FSlots.size() + FStrings.size();
}
