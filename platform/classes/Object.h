// Object.h - TObject and TPersistent, the roots of the class library.
//
// Every class knows its record in the type registry (TypeRegistry.h): a class declares
// VORENTA_CLASS(Name, Base) in its body and defines the record with REGISTER_CLASS in its
// .cpp, where its published properties are listed. ClassName and InheritsFrom read that
// record. TPersistent adds assignment between objects and the filer hook DefineProperties.
#pragma once

#include "platform/rtl/Types.h"

class TClassInfo;
// A class reference: the class's record in the type registry.
using TClass = const TClassInfo*;
class TFiler;

// Placed first in a class body; declares the class's registry record (defined by
// REGISTER_CLASS in the class's .cpp) and `inherited` for calls to the ancestor.
#define VORENTA_CLASS(Name, Base)                         \
public:                                                   \
  using inherited = Base;                                 \
  static TClass ClassInfo();                              \
  TClass ClassType() const override { return ClassInfo(); } \
                                                          \
private:

class TObject {
public:
  TObject();
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  static TClass ClassInfo();
  // The record of the object's own class.
  virtual TClass ClassType() const;
  String ClassName() const;
  bool InheritsFrom(TClass AClass) const;
};

class TPersistent : public TObject {
  VORENTA_CLASS(TPersistent, TObject)
public:
  // Copies Source into this object; the default asks Source->AssignTo and fails with
  // EConvertError "Cannot assign a %s to a %s" when neither side knows the other.
  virtual void Assign(TPersistent* Source);
  // The dotted path that names this object in its owner ("Form1.Button1.Font").
  virtual String GetNamePath() const;

protected:
  virtual void AssignTo(TPersistent* Dest);
  // Lists the properties streamed by hand (TFiler::DefineProperty); the default lists none.
  virtual void DefineProperties(TFiler* Filer);
  // The object that owns this one for GetNamePath; none by default.
  virtual TPersistent* GetOwner() const;
  [[noreturn]] void AssignError(const TPersistent* Source) const;

  friend class TFiler;
  friend class TWriter;
  friend class TReader;
};
