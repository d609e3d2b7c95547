// ks_iinterpreter_objects.cpp - ks_iinterpreter: the run-time object model (variables,
// parameters, routines, host methods and properties, class entries).
#include <algorithm>
#include <new>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_imessages.h"
#include "script/ks_itools.h"

const int ksRTTIMarkerObject = 1;

// ---- TksCustomVariable ----------------------------------------------------------------------

TksCustomVariable::TksCustomVariable(const String& AName, TksVarType ATyp, const String& ATypeName)
    : FTyp(ATyp), FTypeName(ATypeName), FValue(Variant::MakeNull()) {
  // Expressions, designators and other unnamed objects are made by the thousand while
  // compiling: their empty names need no upper-cased copy.
  if (!AName.empty()) SetName(AName);
}

TksCustomVariable::~TksCustomVariable() {
  for (TksParamItem* P : FParams) delete P;
}

void TksCustomVariable::SetName(const String& Value) {
  FName = Value;
  FUppercaseName = ksUpperCase(Value);
}

void TksCustomVariable::SetValue(const Variant& Value) {
  if (!FIsReadOnly) FValue = Value;
}

Variant TksCustomVariable::GetValue() { return FValue; }

void TksCustomVariable::AddParam(TksParamItem* Item) { FParams.push_back(Item); }

void TksCustomVariable::RemoveParam(TksParamItem* Item) {
  FParams.erase(std::remove(FParams.begin(), FParams.end(), Item), FParams.end());
}

int TksCustomVariable::GetNumberOfRequiredParams() const {
  int N = 0;
  for (TksParamItem* P : FParams)
    if (!P->IsOptional()) ++N;
  return N;
}

String TksCustomVariable::GetFullTypeName() const {
  switch (FTyp) {
    case fvtInt: return u"Integer";
    case fvtBool: return u"Boolean";
    case fvtFloat: return u"Extended";
    case fvtChar: return u"Char";
    case fvtString: return u"String";
    case fvtClass:
    case fvtEnum: return FTypeName;
    case fvtArray: return u"Array";
    default: return u"Variant";
  }
}

// ---- TksVariable, TksStringVariable, TksParamItem -------------------------------------------

void TksVariable::SetValue(const Variant& Value) {
  if (FIsReadOnly) return;
  switch (FTyp) {
    case fvtInt:
      if (Value.VType() == varInteger) FValue = Value;
      else FValue = Variant(Value.AsInteger());
      break;
    case fvtBool: FValue = Variant(Value.AsBoolean()); break;
    case fvtFloat: FValue = Variant(Value.AsDouble()); break;
    case fvtString: FValue = Value.IsString() ? Value : Variant(Value.AsString()); break;
    default: FValue = Value;
  }
}

Variant TksVariable::GetValue() {
  if (FOnGetVarValue) {
    Variant V = FOnGetVarValue(FName, FTyp, FValue);
    if (!V.IsNull()) return V;
  }
  return FValue;
}

void TksStringVariable::SetValue(const Variant& Value) {
  if (Value.VType() == varUString) FStr = Value;  // shared, not copied
  else FStr = Variant(Value.IsString() ? Value.StringRef() : VarToStr(Value));
}

Variant TksStringVariable::GetValue() {
  if (FOnGetVarValue) {
    Variant V = FOnGetVarValue(FName, FTyp, FStr);
    if (!V.IsNull()) return V;
  }
  return FStr;
}

TksParamItem::TksParamItem(const String& AName, TksVarType ATyp, const String& ATypeName,
                           bool AIsOptional, bool AIsVarParam)
    : TksCustomVariable(AName, ATyp, ATypeName), FIsOptional(AIsOptional), FIsVarParam(AIsVarParam) {}

// ---- TksProcVariable ------------------------------------------------------------------------

TksProcVariable::TksProcVariable(const String& AName, TksVarType ATyp, const String& ATypeName,
                                 TksScript* AParent, bool AIsFunc)
    : TksCustomVariable(AName, ATyp, ATypeName), FIsFunc(AIsFunc),
      FProgram(std::make_unique<TksScript>(AParent)) {
  FIsReadOnly = true;
  if (AParent) FProgram->SetUseClassLateBinding(AParent->UseClassLateBinding());
  if (AIsFunc) {
    auto* R = new TksVariable(u"Result", ATyp, ATypeName);
    FProgram->Add(u"Result", R);
    FRefItem = R;
  }
}

TksProcVariable::~TksProcVariable() {
  DefaultHandleRegistry().ReleaseObject(this);  // events bound to this routine now fail cleanly
  for (TksParamItem* P : FParams) FProgram->Remove(P);
  FProgram.reset();
}

void TksProcVariable::FindLocals() {
  FSlots.clear();
  FStrings.clear();
  for (int i = 0; i < FProgram->Count(); ++i) {
    TksCustomVariable* V = FProgram->SymbolAt(i);
    if (auto* S = dynamic_cast<TksStringVariable*>(V)) FStrings.push_back(S);
    else if (dynamic_cast<TksVariable*>(V) || dynamic_cast<TksParamItem*>(V)) FSlots.push_back(V->PValue());
  }
  FLocalsTableSize = FProgram->Count();
}

void TksProcVariable::CopyStringsTo(Variant* Out) {
  for (TksStringVariable* S : FStrings) new (Out++) Variant(S->Stored());
}

void TksProcVariable::MoveStringsFrom(Variant* In) {
  for (TksStringVariable* S : FStrings) {
    S->SetStored(std::move(*In));
    (In++)->Clear();
  }
}

void TksProcVariable::SaveLocals() {
  // Entries above FSavedCount are always Empty (restoring moves them out).
  const size_t N = LocalsCount();
  if (FSavedValues.size() < FSavedCount + N) FSavedValues.resize(2 * (FSavedCount + N));
  CopyLocalsTo(FSavedValues.data() + FSavedCount);
  FSavedCount += N;
}

void TksProcVariable::RestoreLocals() {
  FSavedCount -= FSlots.size() + FStrings.size();
  MoveLocalsFrom(FSavedValues.data() + FSavedCount);
}

// ---- Helpers --------------------------------------------------------------------------------

TObject* TksCustomHelper::ParentObject() const {
  // A host function (no parent) is the common case, answered without the lookup.
  return FParentValue.IsNull() ? nullptr : ksVariantToObject(FParentValue);
}

TksPropertyHelper::TksPropertyHelper(const String& AName, TksVarType ATyp, const String& ATypeName)
    : TksCustomHelper(AName, ATyp, ATypeName) {}

TksMethodHelper::TksMethodHelper(const String& Syntax, TksScript* Script)
    : TksCustomHelper(String(), fvtVariant, String()), FSyntax(Syntax) {
  std::unique_ptr<TksCustomVariable> D(ParseMethodSyntax(Syntax, Script));
  SetName(D->Name());
  FGetName = FUppercaseName + u".GET";
  FSetName = FUppercaseName + u".SET";
  FTyp = D->Typ();
  FTypeName = D->TypeName();
  FIsMacro = D->IsMacro();
  while (D->Count()) {
    TksParamItem* P = D->ParamAt(0);
    D->RemoveParam(P);
    AddParam(P);
  }
  FIsReadOnly = true;
  if (Count()) FVarArray = VarArrayCreate(0, Count() - 1, varVariant);
}

TksMethodHelper::~TksMethodHelper() { FVarArray = Variant::MakeNull(); }

Variant TksMethodHelper::GetParam(int i) {
  if (i == Count()) return FSetValue;
  return FParams.at(i)->GetValue();
}

void TksMethodHelper::SetArgValue(int i, const Variant& Value) { FParams.at(i)->SetValue(Value); }

Variant TksMethodHelper::CallHandler(TObject* Obj, TksClassRef Class, const String& Name) {
  if (!FOnCall && FOnCallNew) {
    // The new-style handler reads its arguments from the helper: nothing to copy around.
    Variant R = FOnCallNew(Obj, Class, Name, this);
    ReleaseArguments();
    return R;
  }
  Variant R(0);
  if (FOnCall) {
    for (int i = 0; i < Count(); ++i) FVarArray[i] = FParams[i]->GetValue();
    R = FOnCall(Obj, Class, Name, FVarArray);
    for (int i = 0; i < Count(); ++i) {
      if (FParams[i]->IsVarParam()) FParams[i]->SetValue(FVarArray[i]);
      FVarArray[i] = Variant::MakeNull();
    }
  } else if (FOnCallNew) {
    R = FOnCallNew(Obj, Class, Name, this);
  }
  ReleaseArguments();
  return R;
}

void TksMethodHelper::ReleaseArguments() {
  // The arguments are not read after the call (var parameters are written back from their
  // own values), and keeping them would keep a caller's text shared, so that changing it in
  // place would copy it.
  static const Variant Null = Variant::MakeNull();
  for (TksParamItem* P : FParams)
    if (!P->IsVarParam()) *P->PValue() = Null;
}

Variant TksMethodHelper::Create() {
  auto* Cls = static_cast<TksClassVariable*>(
      DefaultHandleRegistry().Lookup(FParentValue.AsHandle(), "TksClassVariable"));
  TksClassRef Class = Cls->ClassRef();
  if (!Class->CanCreate() && (FOnCall || FOnCallNew)) {
    // No plain factory (the constructor takes arguments, or the class is abstract): the
    // handler builds the object for the token's class.
    Variant Built = CallHandler(nullptr, Class, FUppercaseName);
    TObject* Made = ksVariantToObject(Built, Class);
    if (!Made) throw EInvalidOperation(u"Cannot create an instance of " + Class->Name());
    ksMarkScriptCreated(Made);
    return Built;
  }
  TObject* Obj = Construct(Class);
  try {
    // A handler that builds an object of its own (from the constructor's arguments) gives
    // it back; it replaces the one made by the plain factory.
    Variant Built = CallHandler(Obj, FClassRef, FUppercaseName);
    if (Built.IsHandle())
      if (TObject* Own = ksVariantToObject(Built, Class); Own && Own != Obj) {
        delete Obj;
        Obj = Own;
      }
  } catch (...) {
    delete Obj;
    throw;
  }
  ksMarkScriptCreated(Obj);
  return ksObjectToVariant(Obj);
}

Variant TksMethodHelper::GetValue() {
  if (FTyp == fvtConstructor) return Create();
  return CallHandler(ParentObject(), FClassRef, FIndexMethod ? FGetName : FUppercaseName);
}

void TksMethodHelper::SetValue(const Variant& Value) {
  if (!FIndexMethod) return;
  TObject* Obj = ParentObject();
  const String& Name = FSetName;
  if (FOnCall) {
    Variant A = VarArrayCreate(0, Count(), varVariant);
    for (int i = 0; i < Count(); ++i) A[i] = FParams[i]->GetValue();
    A[Count()] = Value;
    FOnCall(Obj, FClassRef, Name, A);
    return;
  }
  if (FOnCallNew) {
    FSetValue = Value;
    try {
      FOnCallNew(Obj, FClassRef, Name, this);
    } catch (...) {
      FSetValue = Variant::MakeNull();
      throw;
    }
    FSetValue = Variant::MakeNull();
  }
}

// ---- TksClassVariable -----------------------------------------------------------------------

TksClassVariable::TksClassVariable(TksClassRef AClass, const String& Ancestor, TksScript* AProgram,
                                   const String& AName)
    : TksCustomVariable(AName.empty() ? AClass->Name() : AName, fvtClass,
                        AName.empty() ? AClass->Name() : AName),
      FAncestor(Ancestor),
      FClassRef(AClass), FProgram(AProgram) {
  AddParam(new TksParamItem(String(), fvtVariant, String(), true, false));
  AddPublished();
  AddFactoryMembers();
}

TksClassVariable::~TksClassVariable() { DefaultHandleRegistry().ReleaseObject(this); }

TObjectHandle TksClassVariable::Token() {
  return DefaultHandleRegistry().Register(this, "TksClassVariable");
}

Variant TksClassVariable::GetValue() {
  Variant Cast = FParams[0]->GetValue();
  FParams[0]->SetValue(Variant::MakeNull());
  if (!Cast.IsNull()) return Cast;
  return Variant(Token());
}

TksMethodHelper* TksClassVariable::NewMethod(const String& Syntax) {
  auto* M = new TksMethodHelper(Syntax, FProgram);
  M->FClassRef = FClassRef;
  AddMember(M);
  return M;
}

TksMethodHelper* TksClassVariable::AddMethod(const String& Syntax, TksCallMethodNewEvent CallEvent) {
  TksMethodHelper* M = NewMethod(Syntax);
  M->FOnCallNew = std::move(CallEvent);
  return M;
}

TksMethodHelper* TksClassVariable::AddMethod(const String& Syntax, TksCallMethodEvent CallEvent) {
  TksMethodHelper* M = NewMethod(Syntax);
  M->FOnCall = std::move(CallEvent);
  return M;
}

namespace {
String ConstructorSyntax(const String& Syntax) {
  size_t Sp = Syntax.find(u' ');
  return u"function" + (Sp == String::npos ? u" " + Syntax : Syntax.substr(Sp)) + u": Constructor";
}
}  // namespace

TksMethodHelper* TksClassVariable::AddConstructor(const String& Syntax, TksCallMethodNewEvent CallEvent) {
  return AddMethod(ConstructorSyntax(Syntax), std::move(CallEvent));
}

TksMethodHelper* TksClassVariable::AddConstructor(const String& Syntax, TksCallMethodEvent CallEvent) {
  return AddMethod(ConstructorSyntax(Syntax), std::move(CallEvent));
}

template <class T>
void TksClassVariable::AddMember(T* Member) {
  // A member added by hand replaces the automatic one of that name.
  std::erase_if(FMembers, [&](const std::unique_ptr<TksCustomHelper>& Old) {
    return ksSameText(Old->Name(), Member->Name());
  });
  FMembers.emplace_back(Member);
}

TksPropertyHelper* TksClassVariable::AddProperty(const String& Name, const String& Typ,
                                                 TksGetValueEvent GetEvent, TksSetValueEvent SetEvent) {
  auto* P = new TksPropertyHelper(Name, VarTypeOfTypeName(Typ, FProgram), Typ);
  P->FClassRef = FClassRef;
  P->SetIsReadOnly(!SetEvent);
  P->FOnGetValue = std::move(GetEvent);
  P->FOnSetValue = std::move(SetEvent);
  AddMember(P);
  return P;
}

TksPropertyHelper* TksClassVariable::AddPropertyEx(const String& Name, const String& Typ,
                                                   TksGetValueNewEvent GetEvent,
                                                   TksSetValueNewEvent SetEvent) {
  auto* P = new TksPropertyHelper(Name, VarTypeOfTypeName(Typ, FProgram), Typ);
  P->FClassRef = FClassRef;
  P->SetIsReadOnly(!SetEvent);
  P->FOnGetValueNew = std::move(GetEvent);
  P->FOnSetValueNew = std::move(SetEvent);
  AddMember(P);
  return P;
}

String TksClassVariable::IndexSyntax(const String& Name, const String& Params, const String& Typ) {
  String List;
  int i = 0;
  size_t From = 0;
  while (From <= Params.size()) {
    size_t Comma = Params.find(u',', From);
    String T = Params.substr(From, Comma == String::npos ? String::npos : Comma - From);
    while (!T.empty() && T.front() == u' ') T.erase(T.begin());
    while (!T.empty() && T.back() == u' ') T.pop_back();
    if (!List.empty()) List += u"; ";
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on u"p" + ... when inlined.
    List += u'p';
    List += IntToStr(i++);
    List += u": ";
    List += T;
    if (Comma == String::npos) break;
    From = Comma + 1;
  }
  return u"function " + Name + u"(" + List + u"): " + Typ;
}

TksMethodHelper* TksClassVariable::AsIndexProperty(TksMethodHelper* M, bool AReadOnly) {
  M->SetIsReadOnly(AReadOnly);
  M->SetIndexMethod(true);
  return M;
}

TksMethodHelper* TksClassVariable::AddIndexProperty(const String& Name, const String& Params,
                                                    const String& Typ, TksCallMethodNewEvent CallEvent,
                                                    bool AReadOnly) {
  return AsIndexProperty(AddMethod(IndexSyntax(Name, Params, Typ), std::move(CallEvent)), AReadOnly);
}

TksMethodHelper* TksClassVariable::AddIndexProperty(const String& Name, const String& Params,
                                                    const String& Typ, TksCallMethodEvent CallEvent,
                                                    bool AReadOnly) {
  return AsIndexProperty(AddMethod(IndexSyntax(Name, Params, Typ), std::move(CallEvent)), AReadOnly);
}

TksMethodHelper* TksClassVariable::AddDefaultProperty(const String& Name, const String& Params,
                                                      const String& Typ, TksCallMethodNewEvent CallEvent,
                                                      bool AReadOnly) {
  return static_cast<TksMethodHelper*>(
      FDefProperty = AddIndexProperty(Name, Params, Typ, std::move(CallEvent), AReadOnly));
}

TksMethodHelper* TksClassVariable::AddDefaultProperty(const String& Name, const String& Params,
                                                      const String& Typ, TksCallMethodEvent CallEvent,
                                                      bool AReadOnly) {
  return static_cast<TksMethodHelper*>(
      FDefProperty = AddIndexProperty(Name, Params, Typ, std::move(CallEvent), AReadOnly));
}

TksEventHelper* TksClassVariable::AddEvent(const String& Name, TksEventClass AEvent) {
  auto* E = new TksEventHelper(Name, AEvent);
  E->FClassRef = FClassRef;
  E->SetProg(FProgram);
  AddMember(E);
  return E;
}

TksComponentHelper* TksClassVariable::AddComponent(TComponent* Component) {
  // Added again on a later call, the newest member of the name is the one found.
  auto* C = new TksComponentHelper(Component);
  AddMember(C);
  return C;
}

TksCustomHelper* TksClassVariable::Find(const String& Name) const {
  for (auto& M : FMembers)
    if (ksSameText(M->Name(), Name)) return M.get();
  if (FProgram && !FAncestor.empty()) {
    TksClassVariable* A = FProgram->FindClass(FAncestor);
    if (A && A != this) return A->Find(Name);
  }
  return nullptr;
}
