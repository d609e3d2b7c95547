// ks_ibindings.cpp - the binding modules' registration helpers.
#include "script/ks_ibindings.h"

#include <algorithm>
#include <string>

void TksBindingModule::Method(const char16_t* Syntax, TBody Body) {
  if (FClass)
    FClass->AddMethod(Syntax, [Body](TObject* I, TksClassRef, const String&, TksMethodHelper* H) {
      return Body(I, H);
    });
}

void TksBindingModule::Prop(const char16_t* Name, const char16_t* Typ, TGetter Get, TSetter Set) {
  if (!FClass) return;
  TksSetValueEvent Setter;
  if (Set) Setter = [Set](TObject* I, TksClassRef, const String&, const Variant& V) { Set(I, V); };
  FClass->AddProperty(Name, Typ, [Get](TObject* I, TksClassRef, const String&) { return Get(I); }, Setter);
}

void TksBindingModule::Indexed(const char16_t* Name, const char16_t* Params, const char16_t* Typ, bool Default,
                               TBody Get, TIndexSetter Set) {
  if (!FClass) return;
  const std::u16string_view P(Params);
  const int ValueAt = 1 + static_cast<int>(std::count(P.begin(), P.end(), u','));
  TksCallMethodNewEvent Call = [Get, Set, ValueAt](TObject* I, TksClassRef, const String& N, TksMethodHelper* H) {
    if (N.ends_with(u".SET")) {
      if (Set) Set(I, H, H->GetParam(ValueAt));
      return Variant(0);
    }
    return Get(I, H);
  };
  if (Default) FClass->AddDefaultProperty(Name, Params, Typ, Call, !Set);
  else FClass->AddIndexProperty(Name, Params, Typ, Call, !Set);
}
