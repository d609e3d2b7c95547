// vqrCast.h - casts between report classes through the type registry.
//
// dynamic_cast compares type names along the class graph, and reading a template or a
// prepared page asks for the kind of every object and sub-object, many times over. A class
// declared with VORENTA_CLASS answers from its registry record instead. An object of a class
// without a record of its own answers through its nearest registered ancestor, which derives
// from T exactly when the object does, so the result is the one dynamic_cast gives. Interfaces
// that are not registry classes still need dynamic_cast.
#pragma once

#include "platform/classes/Object.h"

template <class T>
T* vqrAs(TObject* Obj) {
  return Obj && Obj->InheritsFrom(T::ClassInfo()) ? static_cast<T*>(Obj) : nullptr;
}

template <class T>
const T* vqrAs(const TObject* Obj) {
  return Obj && Obj->InheritsFrom(T::ClassInfo()) ? static_cast<const T*>(Obj) : nullptr;
}
