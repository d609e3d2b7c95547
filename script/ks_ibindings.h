// ks_ibindings.h - what the binding modules share: the checked instance and arguments of a
// member call, and a module base that registers each member with its own handler.
#pragma once

#include <functional>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iinterpreter.h"

// The instance a member works on, checked to be a T (a nil one or another class raises).
template <class T>
T& ksSelf(TObject* Instance) {
  if (!Instance) throw EHandleError(u"Object handle is nil");
  auto* Obj = dynamic_cast<T*>(Instance);
  if (!Obj)
    throw EHandleError(u"The object is a " + Instance->ClassName() + u", not a " + T::ClassInfo()->Name());
  return *Obj;
}

// Argument i as an object of class T (nil for 0 or Null; anything else that is no T raises).
template <class T>
T* ksArg(TksMethodHelper* H, int i) {
  return static_cast<T*>(ksVariantToObject(H->GetParam(i), T::ClassInfo()));
}

inline String ksStrArg(TksMethodHelper* H, int i) { return VarToStr(H->GetParam(i)); }
inline int ksIntArg(TksMethodHelper* H, int i) { return H->GetParam(i).AsInteger(); }

class TksBindingModule : public TksRTTIModule {
public:
  using TksRTTIModule::TksRTTIModule;

protected:
  using TBody = std::function<Variant(TObject* Instance, TksMethodHelper* H)>;
  using TGetter = std::function<Variant(TObject* Instance)>;
  using TSetter = std::function<void(TObject* Instance, const Variant& Value)>;
  using TIndexSetter = std::function<void(TObject* Instance, TksMethodHelper* H, const Variant& Value)>;

  // Registers C under Ancestor; the members below go to it (nothing when it was known).
  void Class(TClass C, const char16_t* Ancestor) { FClass = Script()->AddClass(C, Ancestor); }
  void Method(const char16_t* Syntax, TBody Body);
  // A property, read-only without Set.
  void Prop(const char16_t* Name, const char16_t* Typ, TGetter Get, TSetter Set = nullptr);
  // An indexed property (the default one when Default), read-only without Set; Params lists
  // the index types.
  void Indexed(const char16_t* Name, const char16_t* Params, const char16_t* Typ, bool Default, TBody Get,
               TIndexSetter Set = nullptr);

  TksClassVariable* FClass = nullptr;
};
