// ks_iinterpreter_rtti.cpp - ks_iinterpreter: host classes from the platform's type registry.
//
// A class entry lists the class's published properties as property helpers (events as event
// helpers), sorted by name, and gets a constructor through the registry's factory. Objects
// travel as handles tagged "TObject"; every use looks the handle up again, so an object freed
// by the host or by the script is a run-time error.
#include <algorithm>
#include <any>
#include <cstdint>

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

// ---- Event handlers ----------------------------------------------------------------------------

// Runs the script procedure behind Proc with Args as its parameters.
void CallScriptHandler(TObjectHandle Proc, std::initializer_list<Variant> Args) {
  auto* P = static_cast<TksProcVariable*>(DefaultHandleRegistry().Lookup(Proc, kProcTag));
  int i = 0;
  for (const Variant& A : Args) P->ParamAt(i++)->SetValue(A);
  P->GetValue();
}

// The handler shapes a script procedure can stand for, by its parameter count. An event whose
// std::function has another signature refuses them all.
struct TEventShape {
  int Arity;
  std::any (*Make)(const String& Name, TObjectHandle Proc);
};

std::any NotifyHandler(const String& Name, TObjectHandle Proc) {
  using Sig = void(TObject*);
  return std::function<Sig>(TBoundMethod<Sig>(
      Name, [Proc](TObject* Sender) { CallScriptHandler(Proc, {ksObjectToVariant(Sender)}); }));
}

std::any PlainHandler(const String& Name, TObjectHandle Proc) {
  using Sig = void();
  return std::function<Sig>(TBoundMethod<Sig>(Name, [Proc] { CallScriptHandler(Proc, {}); }));
}

const TEventShape kEventShapes[] = {{1, NotifyHandler}, {0, PlainHandler}};

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
}

TksEventHelper::TksEventHelper(TksClassRef AClass, const TPropInfo* AProp)
    : TksCustomHelper(AProp->Name(), fvtString, String()), FClassRef(AClass), FPropInfo(AProp) {
  FIsReadOnly = AProp->ReadOnly();
}

Variant TksEventHelper::GetValue() {
  TObject* Obj = ParentObject();
  if (!Obj) return Variant(String());
  const TPropInfo* P = PropertyOn(Obj, FClassRef, FPropInfo);
  return Variant(P ? P->GetMethodName(Obj) : String());
}

void TksEventHelper::SetValue(const Variant& Value) {
  if (FIsReadOnly) return;
  TObject* Obj = WritableObject(ParentObject());
  const TPropInfo* P = PropertyOn(Obj, FClassRef, FPropInfo);
  if (!P || P->Kind() != tkMethod) return;
  String Name = VarToStr(Value);
  if (Name.empty() || Name == u"0") {
    P->SetMethod(Obj, std::any());
    return;
  }
  auto* Proc = FProgram ? dynamic_cast<TksProcVariable*>(FProgram->Find(Name)) : nullptr;
  if (!Proc) throw Exception(SEventError);
  TObjectHandle Handle = DefaultHandleRegistry().Register(Proc, kProcTag);
  for (const TEventShape& Shape : kEventShapes) {
    if (Shape.Arity != Proc->Count()) continue;
    try {
      P->SetMethod(Obj, Shape.Make(Proc->Name(), Handle));
      return;
    } catch (const EPropertyError&) {
      // The event has another signature: the next shape may fit.
    }
  }
  RaisePropertyError(u"Invalid property value");
}

// ---- Class entries ------------------------------------------------------------------------------

void TksClassVariable::AddPublished() {
  std::vector<const TPropInfo*> Props = FClassRef->Properties();
  std::stable_sort(Props.begin(), Props.end(), [](const TPropInfo* A, const TPropInfo* B) {
    return ksUpperCase(A->Name()) < ksUpperCase(B->Name());
  });
  for (const TPropInfo* P : Props) {
    if (P->Kind() == tkMethod) FMembers.emplace_back(new TksEventHelper(FClassRef, P));
    else FMembers.emplace_back(new TksPropertyHelper(FClassRef, P));
  }
}

void TksClassVariable::AddFactoryMembers() {
  // The constructor creates the object through the registry's factory (TksMethodHelper::GetValue);
  // the declaration only fixes the parameters scripts pass.
  if (FClassRef->IsComponentClass())
    AddConstructor(u"constructor Create(AOwner: TComponent)", TksCallMethodNewEvent());
  else if (FClassRef->IsCollectionItemClass())
    AddConstructor(u"constructor Create(Collection: TCollection)", TksCallMethodNewEvent());
  else
    AddConstructor(u"constructor Create", TksCallMethodNewEvent());
  if (FClassRef == TObject::ClassInfo())
    AddMethod(u"procedure Free", [](TObject* Obj, TksClassRef, const String&, TksMethodHelper*) {
      delete Obj;  // its destructor releases the handle
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
