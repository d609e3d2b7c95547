// Object.cpp - TObject and TPersistent.
#include "platform/classes/Object.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TObject) {}

// The handle registry is made before the first object, so it outlives every object, static
// ones included, and the destructor may always use it.
TObject::TObject() { DefaultHandleRegistry(); }

// A script or report may still hold a handle of this object: later uses of it fail cleanly.
TObject::~TObject() { DefaultHandleRegistry().ReleaseObject(this); }

TClass TObject::ClassType() const { return ClassInfo(); }

String TObject::ClassName() const { return ClassType()->Name(); }

bool TObject::InheritsFrom(TClass AClass) const { return ClassType()->InheritsFrom(AClass); }

// --- TPersistent --------------------------------------------------------------------------------

REGISTER_CLASS(TPersistent) {}

void TPersistent::Assign(TPersistent* Source) {
  if (!Source) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  String SourceName = Source ? Source->ClassName() : String(u"nil");
  throw EConvertError(Format(u"Cannot assign a %s to a %s", {SourceName, ClassName()}));
}

void TPersistent::DefineProperties(TFiler*) {}

TPersistent* TPersistent::GetOwner() const { return nullptr; }

String TPersistent::GetNamePath() const {
  String Result = ClassName();
  if (TPersistent* Owner = GetOwner()) {
    String OwnerPath = Owner->GetNamePath();
    if (!OwnerPath.empty()) Result = OwnerPath + u"." + Result;
  }
  return Result;
}
