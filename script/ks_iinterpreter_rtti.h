// ks_iinterpreter_rtti.h - host classes for scripts: objects as checked handles, property,
// method, component and event members, event adapters and class entries
// (ks_iinterpreter_rtti.cpp, ks_iinterpreter_objects.cpp).
#pragma once

#include <any>

#include "script/ks_iinterpreter_objects.h"

class TComponent;

// Objects as script values: a handle tagged "TObject" (Nil for no object), and back. An
// unknown or released handle raises EHandleError; an object not of class Expected (when
// given) raises EHandleError too. Integer 0, Null and Empty are no object.
Variant ksObjectToVariant(TObject* Obj);
TObject* ksVariantToObject(const Variant& Value, TClass Expected = nullptr);

// Free from a script: an object the script constructed, or a component (its owner lets go);
// anything else raises "Cannot free an object the host owns", and so does an object the host
// marks as kept (the report, Application) with ksKeepObject.
void ksFreeObject(TObject* Obj);
void ksKeepObject(TObject* Obj);
// Marks Obj as built by a script constructor.
void ksMarkScriptCreated(TObject* Obj);

class TksPropertyHelper;
// New-style property handlers: the helper comes last.
using TksGetValueNewEvent = std::function<Variant(TObject* Instance, TksClassRef ClassType,
                                                  const String& PropName, TksPropertyHelper* Caller)>;
using TksSetValueNewEvent =
    std::function<void(TObject* Instance, TksClassRef ClassType, const String& PropName,
                       const Variant& Value, TksPropertyHelper* Caller)>;

// ---- Event adapters -------------------------------------------------------------------------

// Turns an event of a host object into a call of a script procedure: the adapter's handler
// (GetMethod, an std::function of the event's own type) passes the event's arguments as the
// procedure's parameters and copies var arguments back afterwards. The procedure is reached
// through a handle, so an event firing after the script is gone is an EHandleError; a handler
// that is already running is not entered again.
class TksCustomEvent : public std::enable_shared_from_this<TksCustomEvent> {
public:
  TksCustomEvent(TObject* AObject, TksProcVariable* AProc);
  virtual ~TksCustomEvent() = default;
  TksCustomEvent(const TksCustomEvent&) = delete;
  TksCustomEvent& operator=(const TksCustomEvent&) = delete;
  // The handler as an std::any holding the event's std::function (a TBoundMethod named after
  // the procedure), keeping this adapter alive.
  virtual std::any GetMethod() = 0;
  TObject* Object() const { return FObject; }

protected:
  // Runs the procedure with Args as its parameters (only as many as it declares) and gives
  // back the parameters' values afterwards; false (nothing run) while it is already running.
  bool CallHandler(std::vector<Variant>& Args);
  const String& ProcName() const { return FProcName; }

private:
  TObject* FObject;
  TObjectHandle FProc;
  String FProcName;
  bool FRunning = false;
};

// An adapter kind: its name, how many arguments its event passes and how it is made.
struct TksEventClassInfo {
  const char16_t* Name;
  int ParamCount;
  std::shared_ptr<TksCustomEvent> (*Create)(TObject* AObject, TksProcVariable* AProc);
};
using TksEventClass = const TksEventClassInfo*;

// The adapter for TNotifyEvent (Sender), known to the engine itself.
TksEventClass ksNotifyEventClass();
// The adapters tried, in order, for an event whose member names none: the first whose handler
// type the event property takes. Binding libraries add theirs.
std::vector<TksEventClass>& ksEventClasses();

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
  TksGetValueNewEvent FOnGetValueNew;
  TksSetValueNewEvent FOnSetValueNew;
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
  // The constructor: see TksClassVariable::AddConstructor.
  Variant Create();
  // Runs the handler (old or new style) with the parameters as they stand.
  Variant CallHandler(TObject* Obj, TksClassRef Class, const String& Name);
  void ReleaseArguments();

  String FCategory;
  String FDescription;
  String FGetName, FSetName;  // the names an index method is called by: NAME.GET, NAME.SET
  bool FIndexMethod = false;
  Variant FSetValue = Variant::MakeNull();
  String FSyntax;
  Variant FVarArray;
};

// A published event. Reading it gives the name its handler is bound to ("" for none);
// writing the name of a script procedure binds it through an adapter, 0 or "" unbinds. The
// adapter is FEvent when the member names one (AddEvent), else the first of ksEventClasses
// whose handler type the event takes. A procedure with more parameters than the event passes
// raises SEventError.
class TksEventHelper : public TksCustomHelper {
public:
  TksEventHelper(TksClassRef AClass, const TPropInfo* AProp);
  TksEventHelper(const String& AName, TksEventClass AEvent);
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;

  TksClassRef FClassRef = nullptr;
  const TPropInfo* FPropInfo = nullptr;  // the registry's event (found by name when null)
  TksEventClass FEvent = nullptr;

private:
  bool Bind(TObject* Obj, const TPropInfo* P, TksProcVariable* Proc, TksEventClass Event);
};

// A component owned by a registered form, reached by its name.
class TksComponentHelper : public TksCustomHelper {
public:
  explicit TksComponentHelper(TComponent* AComponent);
  Variant GetValue() override { return FComponent; }
  Variant FComponent;  // its handle: a freed component is a run-time error
};

// A registered host class with its members: its published properties and events (sorted by
// name), a constructor "Create" through the registry's factory (taking the owner for a
// component, the collection for a collection item), "Free" on TObject, and what the host adds.
// A method added by hand replaces an automatic member of the same name.
class TksClassVariable : public TksCustomVariable {
public:
  // Named AName in scripts (AClass's name when empty).
  TksClassVariable(TksClassRef AClass, const String& Ancestor, TksScript* AProgram,
                   const String& AName = {});
  ~TksClassVariable() override;
  // A class name evaluates to its class token (the cast argument when one is given); only a
  // constructor member creates an object.
  Variant GetValue() override;

  TksMethodHelper* AddMethod(const String& Syntax, TksCallMethodNewEvent CallEvent);
  TksMethodHelper* AddMethod(const String& Syntax, TksCallMethodEvent CallEvent);
  // A constructor: a class with a plain factory (TksClassRef's Create, or the owner's or
  // collection's form) builds the object and the handler then works on it as Instance; a
  // class without one gives the handler a null Instance and the token's class as ClassType,
  // and the handler returns what it builds (an object as ksObjectToVariant). Either way an
  // object the handler fails on is freed.
  TksMethodHelper* AddConstructor(const String& Syntax, TksCallMethodNewEvent CallEvent);
  TksMethodHelper* AddConstructor(const String& Syntax, TksCallMethodEvent CallEvent);
  TksPropertyHelper* AddProperty(const String& Name, const String& Typ, TksGetValueEvent GetEvent,
                                 TksSetValueEvent SetEvent = nullptr);
  TksPropertyHelper* AddPropertyEx(const String& Name, const String& Typ,
                                   TksGetValueNewEvent GetEvent, TksSetValueNewEvent SetEvent = nullptr);
  // Params lists the index types, comma-separated; the handler is called with the name plus
  // ".GET" or ".SET" (the value assigned is the parameter after the indexes).
  TksMethodHelper* AddIndexProperty(const String& Name, const String& Params, const String& Typ,
                                    TksCallMethodNewEvent CallEvent, bool AReadOnly = false);
  TksMethodHelper* AddIndexProperty(const String& Name, const String& Params, const String& Typ,
                                    TksCallMethodEvent CallEvent, bool AReadOnly = false);
  TksMethodHelper* AddDefaultProperty(const String& Name, const String& Params, const String& Typ,
                                      TksCallMethodNewEvent CallEvent, bool AReadOnly = false);
  TksMethodHelper* AddDefaultProperty(const String& Name, const String& Params, const String& Typ,
                                      TksCallMethodEvent CallEvent, bool AReadOnly = false);
  // An event member bound through the adapter AEvent (the registry's event of that name).
  TksEventHelper* AddEvent(const String& Name, TksEventClass AEvent);
  TksComponentHelper* AddComponent(TComponent* Component);
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
  static String IndexSyntax(const String& Name, const String& Params, const String& Typ);
  TksMethodHelper* AsIndexProperty(TksMethodHelper* M, bool AReadOnly);
  template <class T>
  void AddMember(T* Member);
  void AddPublished();
  void AddFactoryMembers();

  String FAncestor;
  TksClassRef FClassRef;
  TksCustomHelper* FDefProperty = nullptr;
  std::vector<std::unique_ptr<TksCustomHelper>> FMembers;
  TksScript* FProgram = nullptr;
};
