// ks_iinterpreter_objects.h - the script object model: named entities, variables, parameters,
// routines and the base of members reached through designators (ks_iinterpreter_objects.cpp).
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

// A script-declared Char or String variable; keeps every UTF-16 character. The text is held
// in a Variant, so reading the variable shares it instead of copying it; Str() gives it for
// changing in place (a shared text is copied first).
class TksStringVariable : public TksVariable {
public:
  using TksVariable::TksVariable;
  void SetValue(const Variant& Value) override;
  Variant GetValue() override;
  String& Str() { return FStr.MutableString(); }
  const String& Text() const { return FStr.StringRef(); }
  // The stored text as a Variant, for saving and restoring a routine's locals (no hook).
  const Variant& Stored() const { return FStr; }
  void SetStored(Variant&& Value) { FStr = std::move(Value); }
  Variant* PText() { return &FStr; }

private:
  Variant FStr{String()};
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

// Whether V is a writable plain variable whose slot may take an Integer directly: declared
// Integer, or Variant (which holds whatever is stored, an Integer result included).
inline bool ksIntegerSlot(const TksCustomVariable* V) {
  return ksStoresInPlace(V) && (V->Typ() == fvtInt || V->Typ() == fvtVariant) && !V->IsReadOnly();
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
  // Run's body, taken into the designators' calls (ks_iinterpreter_stmts.cpp). Nested: the
  // caller restores Result from its frame next, so Result's value is moved out, not copied.
  Variant Invoke(bool Nested);
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
