// ks_iinterpreter_rtti.cpp - ks_iinterpreter: host classes from the platform's type registry.
//
// A class entry lists the class's published properties as property helpers (events as event
// helpers), sorted by name, and gets a constructor through the registry's factory. Objects
// travel as handles tagged "TObject"; every use looks the handle up again, so an object freed
// by the host or by the script is a run-time error.
#include <algorithm>
#include <any>
#include <cstdint>
#include <unordered_set>

#include "platform/classes/Component.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_imessages.h"
#include "script/ks_itools.h"

namespace {

constexpr std::string_view kObjectTag = "TObject";
constexpr std::string_view kProcTag = "TksProcVariable";

String HandleText(const Variant& Value) { return Value.AsString(); }

// ---- Property kinds ----------------------------------------------------------------------------

TksVarType VarTypeOfProperty(const TPropInfo* P) {
  switch (P->Kind()) {
    case tkChar: return fvtChar;
    case tkEnumeration:
      return ksSameText(P->EnumType()->Name(), u"Boolean") || ksSameText(P->EnumType()->Name(), u"bool")
                 ? fvtBool
                 : fvtEnum;
    case tkFloat: return fvtFloat;
    case tkString: return fvtString;
    case tkSet: return fvtEnum;
    case tkClass: return fvtClass;
    case tkVariant: return fvtVariant;
    default: return fvtInt;
  }
}

String TypeNameOfProperty(const TPropInfo* P) {
  switch (P->Kind()) {
    case tkEnumeration: return P->EnumType()->Name();
    case tkSet: return P->SetType()->Name();
    case tkClass: return P->PropClass() ? P->PropClass()->Name() : String(u"TObject");
    default: return P->TypeName();
  }
}

// The property Prop stands for on Obj: Prop itself when Obj is of the entry's class, else the
// property of that name in Obj's own class (or null).
const TPropInfo* PropertyOn(const TObject* Obj, TksClassRef Class, const TPropInfo* Prop) {
  if (!Class || Obj->InheritsFrom(Class)) return Prop;
  return Obj->ClassType()->FindProperty(Prop->Name());
}

Variant ReadProperty(const TObject* Obj, const TPropInfo* P, TksVarType Typ) {
  switch (P->Kind()) {
    case tkInteger: return Variant(static_cast<int>(P->GetOrd(Obj)));
    case tkInt64: return Variant(static_cast<long long>(P->GetOrd(Obj)));
    case tkChar: return Variant(String(1, static_cast<char16_t>(P->GetOrd(Obj))));
    case tkEnumeration:
      if (Typ == fvtBool) return Variant(P->GetOrd(Obj) != 0);
      return Variant(static_cast<int>(P->GetOrd(Obj)));
    case tkSet: {
      Int64 Bits = P->GetOrd(Obj);
      return Bits <= INT32_MAX ? Variant(static_cast<int>(Bits)) : Variant(static_cast<long long>(Bits));
    }
    case tkFloat: return Variant(static_cast<double>(P->GetFloat(Obj)));
    case tkString: return Variant(P->GetStr(Obj));
    case tkClass: return ksObjectToVariant(P->GetObject(Obj));
    case tkVariant: return P->GetVariant(Obj);
    default: return Variant::MakeNull();
  }
}

void WriteProperty(TObject* Obj, const TPropInfo* P, TksVarType Typ, const Variant& Value) {
  switch (P->Kind()) {
    case tkInteger:
    case tkInt64: P->SetOrd(Obj, Value.AsInt64()); break;
    case tkChar: {
      String S = VarToStr(Value);
      P->SetOrd(Obj, S.empty() ? 0 : S[0]);
      break;
    }
    case tkEnumeration:
      if (Value.IsString()) SetPropValue(Obj, P, Value);  // a value name
      else P->SetOrd(Obj, Typ == fvtBool ? (Value.AsBoolean() ? 1 : 0) : Value.AsInt64());
      break;
    case tkSet: P->SetOrd(Obj, Value.AsInt64()); break;
    case tkFloat: P->SetFloat(Obj, Value.AsDouble()); break;
    case tkString: P->SetStr(Obj, VarToStr(Value)); break;
    case tkClass: P->SetObject(Obj, ksVariantToObject(Value, P->PropClass())); break;
    case tkVariant: P->SetVariant(Obj, Value); break;
    default: break;
  }
}

TObject* WritableObject(TObject* Obj) {
  if (!Obj) throw EHandleError(u"Object handle is nil");
  return Obj;
}

}  // namespace

// ---- Objects as values --------------------------------------------------------------------------

Variant ksObjectToVariant(TObject* Obj) {
  if (!Obj) return Variant(0);
  return Variant(DefaultHandleRegistry().Register(static_cast<void*>(Obj), kObjectTag));
}

TObject* ksVariantToObject(const Variant& Value, TClass Expected) {
  if (Value.IsNull() || Value.IsEmpty()) return nullptr;
  if (!Value.IsHandle()) {
    if (VarIsOrdinal(Value) && Value.AsInt64() == 0) return nullptr;
    throw EHandleError(u"Invalid object reference: " + VarToStr(Value));
  }
  if (Value.AsHandle() == TObjectHandle::Nil) return nullptr;
  auto* Obj = static_cast<TObject*>(DefaultHandleRegistry().Lookup(Value.AsHandle(), kObjectTag));
  if (Expected && !Obj->InheritsFrom(Expected))
    throw EHandleError(u"Object handle " + HandleText(Value) + u" refers to a " + Obj->ClassName() +
                       u", not a " + Expected->Name());
  return Obj;
}

// ---- Freeing from scripts ----------------------------------------------------------------------

namespace {
// By handle (never reused), so a freed object's address cannot stand for a new one.
std::unordered_set<std::uint64_t>& ScriptCreated() {
  static std::unordered_set<std::uint64_t> Set;
  return Set;
}
std::unordered_set<std::uint64_t>& Kept() {
  static std::unordered_set<std::uint64_t> Set;
  return Set;
}
std::uint64_t HandleNumber(TObject* Obj) {
  return static_cast<std::uint64_t>(ksObjectToVariant(Obj).AsHandle());
}
}  // namespace

void ksMarkScriptCreated(TObject* Obj) { ScriptCreated().insert(HandleNumber(Obj)); }

void ksKeepObject(TObject* Obj) { Kept().insert(HandleNumber(Obj)); }

void ksFreeObject(TObject* Obj) {
  if (!Obj) return;
  std::uint64_t H = HandleNumber(Obj);
  if (Kept().count(H) || (!ScriptCreated().count(H) && !dynamic_cast<TComponent*>(Obj)))
    throw EInvalidOperation(u"Cannot free an object the host owns");
  ScriptCreated().erase(H);
  delete Obj;  // its destructor releases the handle
}

// ---- Published properties and events --------------------------------------------------------

TksPropertyHelper::TksPropertyHelper(TksClassRef AClass, const TPropInfo* AProp)
    : TksCustomHelper(AProp->Name(), VarTypeOfProperty(AProp), TypeNameOfProperty(AProp)),
      FClassRef(AClass), FPropInfo(AProp) {
  FIsReadOnly = AProp->ReadOnly();
}

Variant TksPropertyHelper::GetValue() {
  Variant V = Variant::MakeNull();
  TObject* Obj = ParentObject();
  if (FPropInfo) {
    if (!Obj) return V;
    const TPropInfo* P = PropertyOn(Obj, FClassRef, FPropInfo);
    return P ? ReadProperty(Obj, P, FTyp) : V;
  }
  if (FOnGetValue) V = FOnGetValue(Obj, FClassRef, FUppercaseName);
  else if (FOnGetValueNew) V = FOnGetValueNew(Obj, FClassRef, FUppercaseName, this);
  if (FTyp == fvtBool && !V.IsNull()) V = Variant(!(V == Variant(0)));
  return V;
}

void TksPropertyHelper::SetValue(const Variant& Value) {
  if (FIsReadOnly) return;
  if (FPropInfo) {
    TObject* Obj = WritableObject(ParentObject());
    if (const TPropInfo* P = PropertyOn(Obj, FClassRef, FPropInfo)) WriteProperty(Obj, P, FTyp, Value);
    return;
  }
  if (FOnSetValue) FOnSetValue(ParentObject(), FClassRef, FUppercaseName, Value);
  else if (FOnSetValueNew) FOnSetValueNew(ParentObject(), FClassRef, FUppercaseName, Value, this);
}

TksEventHelper::TksEventHelper(TksClassRef AClass, const TPropInfo* AProp)
    : TksCustomHelper(AProp->Name(), fvtString, String()), FClassRef(AClass), FPropInfo(AProp) {
  FIsReadOnly = AProp->ReadOnly();
}

TksEventHelper::TksEventHelper(const String& AName, TksEventClass AEvent)
    : TksCustomHelper(AName, fvtString, String()), FEvent(AEvent) {}

namespace {
// The registry's event property the member stands for on Obj, or null.
const TPropInfo* EventOn(const TObject* Obj, TksClassRef Class, const TPropInfo* Prop,
                         const String& Name) {
  const TPropInfo* P = Prop ? PropertyOn(Obj, Class, Prop) : Obj->ClassType()->FindProperty(Name);
  return P && P->Kind() == tkMethod ? P : nullptr;
}
}  // namespace

Variant TksEventHelper::GetValue() {
  TObject* Obj = ParentObject();
  if (!Obj) return Variant(String());
  const TPropInfo* P = EventOn(Obj, FClassRef, FPropInfo, FName);
  return Variant(P ? P->GetMethodName(Obj) : String());
}

bool TksEventHelper::Bind(TObject* Obj, const TPropInfo* P, TksProcVariable* Proc, TksEventClass Event) {
  std::shared_ptr<TksCustomEvent> Adapter = Event->Create(Obj, Proc);
  try {
    P->SetMethod(Obj, Adapter->GetMethod());
  } catch (const EPropertyError&) {
    return false;  // the event has another handler type
  }
  if (Proc->Count() > Event->ParamCount) {
    P->SetMethod(Obj, std::any());
    throw Exception(SEventError);
  }
  return true;
}

void TksEventHelper::SetValue(const Variant& Value) {
  if (FIsReadOnly) return;
  TObject* Obj = WritableObject(ParentObject());
  const TPropInfo* P = EventOn(Obj, FClassRef, FPropInfo, FName);
  if (!P) return;
  String Name = VarToStr(Value);
  if (Name.empty() || Name == u"0") {
    P->SetMethod(Obj, std::any());
    return;
  }
  auto* Proc = FProgram ? dynamic_cast<TksProcVariable*>(FProgram->Find(Name)) : nullptr;
  if (!Proc) throw Exception(SEventError);
  if (FEvent) {
    if (!Bind(Obj, P, Proc, FEvent)) RaisePropertyError(u"Invalid property value");
    return;
  }
  for (TksEventClass Event : ksEventClasses())
    if (Bind(Obj, P, Proc, Event)) return;
  RaisePropertyError(u"Invalid property value");
}

TksComponentHelper::TksComponentHelper(TComponent* AComponent)
    : TksCustomHelper(AComponent->Name(), fvtClass, AComponent->ClassName()),
      FComponent(ksObjectToVariant(AComponent)) {
  FIsReadOnly = true;
}

// ---- Event adapters -----------------------------------------------------------------------------

TksCustomEvent::TksCustomEvent(TObject* AObject, TksProcVariable* AProc)
    : FObject(AObject), FProc(DefaultHandleRegistry().Register(AProc, kProcTag)),
      FProcName(AProc->Name()) {}

bool TksCustomEvent::CallHandler(std::vector<Variant>& Args) {
  if (FRunning) return false;
  auto* P = static_cast<TksProcVariable*>(DefaultHandleRegistry().Lookup(FProc, kProcTag));
  const int N = std::min(static_cast<int>(Args.size()), P->Count());
  for (int i = 0; i < N; ++i) P->ParamAt(i)->SetValue(Args[i]);
  struct TRunning {
    bool& Flag;
    explicit TRunning(bool& F) : Flag(F) { Flag = true; }
    ~TRunning() { Flag = false; }
  } Running(FRunning);
  P->GetValue();
  for (int i = 0; i < N; ++i) Args[i] = P->ParamAt(i)->GetValue();
  return true;
}

namespace {

class TksNotifyEvent : public TksCustomEvent {
public:
  using TksCustomEvent::TksCustomEvent;
  std::any GetMethod() override {
    using Sig = void(TObject*);
    std::shared_ptr<TksCustomEvent> Self = shared_from_this();
    return std::function<Sig>(TBoundMethod<Sig>(ProcName(), [Self, this](TObject* Sender) {
      std::vector<Variant> Args{ksObjectToVariant(Sender)};
      CallHandler(Args);
    }));
  }
};

const TksEventClassInfo kNotifyEvent{u"TksNotifyEvent", 1, [](TObject* O, TksProcVariable* P) {
                                       return std::shared_ptr<TksCustomEvent>(new TksNotifyEvent(O, P));
                                     }};

}  // namespace

TksEventClass ksNotifyEventClass() { return &kNotifyEvent; }

std::vector<TksEventClass>& ksEventClasses() {
  static std::vector<TksEventClass> List{&kNotifyEvent};
  return List;
}

// ---- Class entries ------------------------------------------------------------------------------

void TksClassVariable::AddPublished() {
  std::vector<const TPropInfo*> Props = FClassRef->Properties();
  // By name ignoring case (the order of the names in upper case), without building them.
  std::stable_sort(Props.begin(), Props.end(), [](const TPropInfo* A, const TPropInfo* B) {
    return ksCompareText(A->Name(), B->Name()) < 0;
  });
  for (const TPropInfo* P : Props) {
    if (P->Kind() == tkMethod) FMembers.emplace_back(new TksEventHelper(FClassRef, P));
    else FMembers.emplace_back(new TksPropertyHelper(FClassRef, P));
  }
}

void TksClassVariable::AddFactoryMembers() {
  // The constructor creates the object through the registry's factory (TksMethodHelper::GetValue);
  // the declaration only fixes the parameters scripts pass.
  // A class without a plain factory gets no automatic constructor, so that an ancestor's
  // constructor member (which builds the token's class) is found.
  if (!FClassRef->CanCreate()) {
  } else if (FClassRef->IsComponentClass())
    AddConstructor(u"constructor Create(AOwner: TComponent)", TksCallMethodNewEvent());
  else if (FClassRef->IsCollectionItemClass())
    AddConstructor(u"constructor Create(Collection: TCollection)", TksCallMethodNewEvent());
  else
    AddConstructor(u"constructor Create", TksCallMethodNewEvent());
  if (FClassRef == TObject::ClassInfo())
    AddMethod(u"procedure Free", [](TObject* Obj, TksClassRef, const String&, TksMethodHelper*) {
      ksFreeObject(Obj);
      return Variant(0);
    });
}

TObject* TksMethodHelper::Construct(TksClassRef Class) {
  if (Class->IsComponentClass())
    return Class->CreateComponent(Count() ? static_cast<TComponent*>(ksVariantToObject(
                                                FParams[0]->GetValue(), TComponent::ClassInfo()))
                                          : nullptr);
  if (Class->IsCollectionItemClass())
    return Class->CreateItem(Count() ? static_cast<TCollection*>(ksVariantToObject(
                                           FParams[0]->GetValue(), TCollection::ClassInfo()))
                                     : nullptr);
  return Class->Create();
}
