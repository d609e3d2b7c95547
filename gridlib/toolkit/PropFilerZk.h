// PropFilerZk.h - storage interceptors: substitute objects through which a property store saves
// and restores a component in a form that survives a change of screen resolution. The registry
// maps target classes to interceptor classes; the form interceptor stores the form's normal
// bounds with the pixels per inch they were taken at, and its window state.
#pragma once

#include <vector>

#include "platform/classes/Object.h"
#include "platform/controls/Forms.h"

class TStoragePropertyInterceptor : public TPersistent {
  VORENTA_CLASS(TStoragePropertyInterceptor, TPersistent)
public:
  explicit TStoragePropertyInterceptor(TObject* ATarget) : FTarget(ATarget) {}
  TObject* Target() const { return FTarget; }
  virtual bool NeedIntercept() { return true; }
  // Called by the store after it has written the stored values into the interceptor.
  virtual void Readed() {}

private:
  TObject* FTarget;
};

class TFormStoragePropertyInterceptor : public TStoragePropertyInterceptor {
  VORENTA_CLASS(TFormStoragePropertyInterceptor, TStoragePropertyInterceptor)
public:
  // Takes the form's normal bounds, pixels per inch, window state and active control.
  explicit TFormStoragePropertyInterceptor(TObject* ATarget);

  // Read from the live form (0 when the target is not a form); writing stores for Readed.
  int Left() const;
  void SetLeft(int Value);
  int Top() const;
  void SetTop(int Value);
  int Width() const;
  void SetWidth(int Value) { FWidth = Value; }
  int Height() const;
  void SetHeight(int Value) { FHeight = Value; }
  // What is restored: the values written, as they stand in the fields.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value) { FWindowState = Value; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Value) { FActiveControl = Value; }
  // Whether Left or Top was written.
  bool PosPresent() const { return FPosPresent; }

  // Rescales the stored bounds to the screen's pixels per inch and applies them, the window
  // state and the active control to the form.
  void Readed() override;
  void GetNotmalFormPlacement() {}

private:
  TCustomForm* Form() const { return dynamic_cast<TCustomForm*>(Target()); }
  TWinControl* FActiveControl = nullptr;
  int FHeight = 0, FLeft = 0, FPixelsPerInch = 0, FTop = 0, FWidth = 0;
  bool FPosPresent = false;
  TWindowState FWindowState = wsNormal;
};

// The form's bounds in the normal (not minimised or maximised) state.
TRect GetNormalFormPlacement(const TCustomForm* Form);

struct TStorageInterceptorEntry {
  TClass TargetClass;
  TClass InterceptorClass;
};
// Replaces every earlier registration of TargetClass and appends the pair.
void AddStorageInterceptorEntry(TClass TargetClass, TClass InterceptorClass);
// Deletes every entry with both classes.
void RemoveStorageInterceptorEntry(TClass TargetClass, TClass InterceptorClass);
const std::vector<TStorageInterceptorEntry>& StorageInterceptorEntries();
// The start-up registration of this unit: forms to the form interceptor.
void RegisterFormStorageInterceptor();
