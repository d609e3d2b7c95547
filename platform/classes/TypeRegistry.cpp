// TypeRegistry.cpp - class records, typed property access and registration by name.
#include "platform/classes/TypeRegistry.h"

#include <climits>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TextMap.h"
#include "platform/rtl/Variant.h"

void RaisePropertyError(const String& Msg) { throw EPropertyError(Msg); }

// --- TPropInfo ------------------------------------------------------------------------------------

String TPropInfo::TypeName() const {
  switch (FKind) {
    case tkInteger: return u"Integer";
    case tkInt64: return u"Int64";
    case tkChar: return u"Char";
    case tkFloat: return FloatTypeName();
    case tkString: return u"String";
    case tkVariant: return u"Variant";
    case tkMethod: return u"Event";
    case tkEnumeration: return FEnumType->Name();
    case tkSet: return FSetType->Name();
    case tkClass: return PropClass()->Name();
    case tkUnknown: break;
  }
  return u"Unknown";
}

String TPropInfo::FloatTypeName() const {
  switch (FFloatType) {
    case TFloatType::ftSingle: return u"Single";
    case TFloatType::ftExtended: return u"Extended";
    case TFloatType::ftComp: return u"Comp";
    case TFloatType::ftCurr: return u"Currency";
    case TFloatType::ftDouble: break;
  }
  return FIsDateTime ? u"TDateTime" : u"Double";
}

void TPropInfo::KindError() const {
  RaisePropertyError(Format(u"Property %s is of type %s", {FName, TypeName()}));
}

void TPropInfo::CheckWritable() const {
  if (FReadOnly) RaisePropertyError(Format(u"Property %s is read-only", {FName}));
}

Int64 TPropInfo::GetOrd(const TObject* Instance) const {
  if (!FGetOrd) KindError();
  return FGetOrd(Instance);
}

void TPropInfo::SetOrd(TObject* Instance, Int64 Value) const {
  if (!FGetOrd) KindError();
  CheckWritable();
  bool InRange = true;
  if (FKind == tkEnumeration) InRange = Value >= 0 && Value < FEnumType->Count();
  if (FKind == tkInteger) InRange = Value >= INT_MIN && Value <= static_cast<Int64>(UINT_MAX);
  if (FKind == tkChar) InRange = Value >= 0 && Value <= 0xFFFF;
  if (FKind == tkSet && FEnumType->Count() < 64)
    InRange = (static_cast<std::uint64_t>(Value) >> FEnumType->Count()) == 0;
  if (!InRange) RaisePropertyError(u"Invalid property value");
  FSetOrd(Instance, Value);
}

Extended TPropInfo::GetFloat(const TObject* Instance) const {
  if (!FGetFloat) KindError();
  return FGetFloat(Instance);
}

void TPropInfo::SetFloat(TObject* Instance, Extended Value) const {
  if (!FGetFloat) KindError();
  CheckWritable();
  FSetFloat(Instance, Value);
}

Currency TPropInfo::GetCurr(const TObject* Instance) const {
  if (!FGetCurr) KindError();
  return FGetCurr(Instance);
}

void TPropInfo::SetCurr(TObject* Instance, Currency Value) const {
  if (!FGetCurr) KindError();
  CheckWritable();
  FSetCurr(Instance, Value);
}

String TPropInfo::GetStr(const TObject* Instance) const {
  if (!FGetStr) KindError();
  return FGetStr(Instance);
}

void TPropInfo::SetStr(TObject* Instance, const String& Value) const {
  if (!FGetStr) KindError();
  CheckWritable();
  FSetStr(Instance, Value);
}

TObject* TPropInfo::GetObject(const TObject* Instance) const {
  if (!FGetObject) KindError();
  return FGetObject(Instance);
}

void TPropInfo::SetObject(TObject* Instance, TObject* Value) const {
  if (!FGetObject) KindError();
  CheckWritable();
  FSetObject(Instance, Value);
}

std::any TPropInfo::GetMethod(const TObject* Instance) const {
  if (!FGetMethod) KindError();
  return FGetMethod(Instance);
}

void TPropInfo::SetMethod(TObject* Instance, const std::any& Handler) const {
  if (!FGetMethod) KindError();
  CheckWritable();
  FSetMethod(Instance, Handler);
}

String TPropInfo::GetMethodName(const TObject* Instance) const {
  if (!FGetMethodName) KindError();
  return FGetMethodName(Instance);
}

void TPropInfo::SetMethodName(TObject* Instance, TObject* Root, const String& MethodName) const {
  if (!FGetMethod) KindError();
  CheckWritable();
  if (MethodName.empty()) return FSetMethod(Instance, std::any());
  const TMethodInfo* Method = Root ? Root->ClassType()->FindMethod(MethodName) : nullptr;
  if (!Method) throw EMethodNotFound(Format(u"Method %s not found", {MethodName}));
  FSetMethod(Instance, Method->Bind(Root));
}

Variant TPropInfo::GetVariant(const TObject* Instance) const {
  if (!FGetVariant) KindError();
  return FGetVariant(Instance);
}

void TPropInfo::SetVariant(TObject* Instance, const Variant& Value) const {
  if (!FGetVariant) KindError();
  CheckWritable();
  FSetVariant(Instance, Value);
}

// --- Values through Variant -----------------------------------------------------------------------

Variant GetPropValue(const TObject* Instance, const TPropInfo* Prop) {
  switch (Prop->Kind()) {
    case tkInteger: return Variant(static_cast<int>(Prop->GetOrd(Instance)));
    case tkInt64: return Variant(static_cast<long long>(Prop->GetOrd(Instance)));
    case tkChar: return Variant(static_cast<char16_t>(Prop->GetOrd(Instance)));
    case tkSet: return Variant(static_cast<long long>(Prop->GetOrd(Instance)));
    case tkEnumeration: {
      Int64 Ordinal = Prop->GetOrd(Instance);
      if (Prop->EnumType() == EnumInfoOf(static_cast<bool*>(nullptr))) return Variant(Ordinal != 0);
      return Variant(Prop->EnumType()->ValueName(static_cast<int>(Ordinal)));
    }
    case tkFloat:
      if (Prop->FloatType() == TFloatType::ftCurr) return Variant(Prop->GetCurr(Instance));
      if (Prop->IsDateTime()) return Variant::FromDateTime(static_cast<TDateTime>(Prop->GetFloat(Instance)));
      return Variant(static_cast<double>(Prop->GetFloat(Instance)));
    case tkString: return Variant(Prop->GetStr(Instance));
    case tkVariant: return Prop->GetVariant(Instance);
    default: break;
  }
  RaisePropertyError(Format(u"Property %s is of type %s", {Prop->Name(), Prop->TypeName()}));
}

void SetPropValue(TObject* Instance, const TPropInfo* Prop, const Variant& Value) {
  switch (Prop->Kind()) {
    case tkInteger:
    case tkInt64:
    case tkSet: return Prop->SetOrd(Instance, Value.AsInt64());
    case tkChar: {
      String Text = Value.AsString();
      return Prop->SetOrd(Instance, Text.empty() ? 0 : Text[0]);
    }
    case tkEnumeration: {
      if (Prop->EnumType() == EnumInfoOf(static_cast<bool*>(nullptr)))
        return Prop->SetOrd(Instance, Value.AsBoolean() ? 1 : 0);
      if (!Value.IsString()) return Prop->SetOrd(Instance, Value.AsInt64());
      int Ordinal = Prop->EnumType()->IndexOf(Value.AsString());
      if (Ordinal < 0) RaisePropertyError(u"Invalid property value");
      return Prop->SetOrd(Instance, Ordinal);
    }
    case tkFloat:
      if (Prop->FloatType() == TFloatType::ftCurr) return Prop->SetCurr(Instance, Value.AsCurrency());
      return Prop->SetFloat(Instance, Prop->IsDateTime() ? Value.AsDateTime() : Value.AsDouble());
    case tkString: return Prop->SetStr(Instance, Value.AsString());
    case tkVariant: return Prop->SetVariant(Instance, Value);
    default: break;
  }
  RaisePropertyError(Format(u"Property %s is of type %s", {Prop->Name(), Prop->TypeName()}));
}

// --- TClassInfo -----------------------------------------------------------------------------------

const TPropInfo* TClassInfo::FindProperty(const String& Name) const {
  for (const TPropInfo* Prop : FProperties)
    if (SameText(Prop->Name(), Name)) return Prop;
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const String& Name) const {
  for (TClass C = this; C; C = C->FParent)
    for (const auto& Method : C->FMethods)
      if (SameText(Method->Name(), Name)) return Method.get();
  return nullptr;
}

bool TClassInfo::IsComponentClass() const { return InheritsFrom(TComponent::ClassInfo()); }

bool TClassInfo::IsCollectionItemClass() const {
  return InheritsFrom(TCollectionItem::ClassInfo());
}

void TClassInfo::CreateError() const {
  throw EInvalidOperation(Format(u"Cannot create an instance of %s", {FName}));
}

TObject* TClassInfo::Create() const {
  if (FCreate) return FCreate();
  if (FCreateComponent) return FCreateComponent(nullptr);
  CreateError();
}

TComponent* TClassInfo::CreateComponent(TComponent* AOwner) const {
  if (!FCreateComponent) CreateError();
  return FCreateComponent(AOwner);
}

TCollectionItem* TClassInfo::CreateItem(TCollection* ACollection) const {
  if (!FCreateItem) CreateError();
  return FCreateItem(ACollection);
}

void CheckUniqueMemberName(const TClassInfo* Info, const String& Name, bool IsMethod) {
  bool Taken = false;
  if (IsMethod) {
    for (const auto& Method : Info->FMethods) Taken = Taken || SameText(Method->Name(), Name);
  } else {
    for (const auto& Prop : Info->FOwnProperties) Taken = Taken || SameText(Prop->Name(), Name);
  }
  if (Taken)
    RaisePropertyError(Format(u"Duplicate %s %s.%s",
                              {String(IsMethod ? u"method" : u"property"), Info->Name(), Name}));
}

namespace {
// Every record ever built; they live as long as the program.
std::vector<std::unique_ptr<TClassInfo>>& Records() {
  static std::vector<std::unique_ptr<TClassInfo>> List;
  return List;
}

// Registered classes by name, case ignored (ASCII letters, as class names are).
TTextMap<TClass>& RegisteredByName() {
  static TTextMap<TClass> Map;
  return Map;
}
}  // namespace

TClass BuildClassInfo(std::unique_ptr<TClassInfo> Info) {
  if (Info->FParent) {
    Info->FProperties = Info->FParent->FProperties;
    Info->FAncestry = Info->FParent->FAncestry;
  }
  Info->FAncestry.push_back(Info.get());
  for (auto& Own : Info->FOwnProperties) {
    Own->FOwnerClass = Info.get();
    bool Replaced = false;
    for (const TPropInfo*& Inherited : Info->FProperties) {
      if (!SameText(Inherited->Name(), Own->Name())) continue;
      Inherited = Own.get();
      Replaced = true;
    }
    if (!Replaced) Info->FProperties.push_back(Own.get());
  }
  Records().push_back(std::move(Info));
  return Records().back().get();
}

// --- Registration by name -------------------------------------------------------------------------

void RegisterClass(TClass AClass) {
  for (TClass C = AClass; C; C = C->Parent()) {
    auto [It, Inserted] = RegisteredByName().emplace(C->Name(), C);
    if (!Inserted && It->second != C)
      throw EFilerError(Format(u"A class named %s already exists", {C->Name()}));
  }
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass C : Classes) RegisterClass(C);
}

void UnRegisterClass(TClass AClass) {
  auto It = RegisteredByName().find(AClass->Name());
  if (It != RegisteredByName().end() && It->second == AClass) RegisteredByName().erase(It);
}

TClass GetClass(const String& ClassName) {
  auto It = RegisteredByName().find(ClassName);
  return It == RegisteredByName().end() ? nullptr : It->second;
}

TClass FindClass(const String& ClassName) {
  TClass Result = GetClass(ClassName);
  if (!Result) throw EClassNotFound(Format(u"Class %s not found", {ClassName}));
  return Result;
}
