// PropFilerZk.cpp - the storage interceptor registry and the form interceptor.
#include "gridlib/toolkit/PropFilerZk.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Math.h"

REGISTER_CLASS(TStoragePropertyInterceptor) {}
REGISTER_CLASS(TFormStoragePropertyInterceptor) {
  Class.Property("ActiveControl", &TFormStoragePropertyInterceptor::ActiveControl,
                 &TFormStoragePropertyInterceptor::SetActiveControl)
      .Property("Height", &TFormStoragePropertyInterceptor::Height,
                &TFormStoragePropertyInterceptor::SetHeight)
      .Property("Left", &TFormStoragePropertyInterceptor::Left,
                &TFormStoragePropertyInterceptor::SetLeft)
      .Property("PixelsPerInch", &TFormStoragePropertyInterceptor::PixelsPerInch,
                &TFormStoragePropertyInterceptor::SetPixelsPerInch)
      .Property("Top", &TFormStoragePropertyInterceptor::Top,
                &TFormStoragePropertyInterceptor::SetTop)
      .Property("Width", &TFormStoragePropertyInterceptor::Width,
                &TFormStoragePropertyInterceptor::SetWidth)
      .Property("WindowState", &TFormStoragePropertyInterceptor::WindowState,
                &TFormStoragePropertyInterceptor::SetWindowState);
}

// --- the registry ------------------------------------------------------------------------------------

namespace {
std::vector<TStorageInterceptorEntry>& Entries() {
  static std::vector<TStorageInterceptorEntry> List;
  return List;
}
}  // namespace

void AddStorageInterceptorEntry(TClass TargetClass, TClass InterceptorClass) {
  auto& List = Entries();
  for (size_t I = List.size(); I-- > 0;)
    if (I < List.size() && List[I].TargetClass == TargetClass)
      RemoveStorageInterceptorEntry(TargetClass, List[I].InterceptorClass);
  List.push_back({TargetClass, InterceptorClass});
}

void RemoveStorageInterceptorEntry(TClass TargetClass, TClass InterceptorClass) {
  auto& List = Entries();
  for (size_t I = List.size(); I-- > 0;)
    if (List[I].TargetClass == TargetClass && List[I].InterceptorClass == InterceptorClass)
      List.erase(List.begin() + std::ptrdiff_t(I));
}

const std::vector<TStorageInterceptorEntry>& StorageInterceptorEntries() { return Entries(); }

void RegisterFormStorageInterceptor() {
  AddStorageInterceptorEntry(TCustomForm::ClassInfo(), TFormStoragePropertyInterceptor::ClassInfo());
}

// --- the form interceptor ------------------------------------------------------------------------------

// Our windows keep their normal bounds while minimised or maximised (the window state does not
// move them), so the normal placement is the form's bounds in every state.
TRect GetNormalFormPlacement(const TCustomForm* Form) {
  return Rect(Form->Left(), Form->Top(), Form->Left() + Form->Width(), Form->Top() + Form->Height());
}

TFormStoragePropertyInterceptor::TFormStoragePropertyInterceptor(TObject* ATarget)
    : TStoragePropertyInterceptor(ATarget) {
  TCustomForm* F = Form();
  if (!F) return;
  const TRect R = GetNormalFormPlacement(F);
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = R.Width();
  FHeight = R.Height();
  FPixelsPerInch = F->PixelsPerInch();
  FWindowState = F->WindowState();
  FActiveControl = F->ActiveControl();
}

int TFormStoragePropertyInterceptor::Left() const {
  return Form() ? GetNormalFormPlacement(Form()).Left : 0;
}
int TFormStoragePropertyInterceptor::Top() const {
  return Form() ? GetNormalFormPlacement(Form()).Top : 0;
}
int TFormStoragePropertyInterceptor::Width() const {
  return Form() ? GetNormalFormPlacement(Form()).Width() : 0;
}
int TFormStoragePropertyInterceptor::Height() const {
  return Form() ? GetNormalFormPlacement(Form()).Height() : 0;
}

void TFormStoragePropertyInterceptor::SetLeft(int Value) {
  FLeft = Value;
  FPosPresent = true;
}

void TFormStoragePropertyInterceptor::SetTop(int Value) {
  FTop = Value;
  FPosPresent = true;
}

void TFormStoragePropertyInterceptor::Readed() {
  TStoragePropertyInterceptor::Readed();
  // The stored pixels were taken at the stored pixels per inch.
  if (FPixelsPerInch > 0) {
    const int Ppi = Screen->PixelsPerInch();
    FHeight = MulDiv(FHeight, Ppi, FPixelsPerInch);
    FLeft = MulDiv(FLeft, Ppi, FPixelsPerInch);
    FTop = MulDiv(FTop, Ppi, FPixelsPerInch);
    FWidth = MulDiv(FWidth, Ppi, FPixelsPerInch);
  }
  TCustomForm* F = Form();
  if (!F) return;
  F->SetWindowState(FWindowState);
  F->SetActiveControl(FActiveControl);
  // Minimised or maximised, these become the bounds the form restores to.
  F->SetBounds(FLeft, FTop, FWidth, FHeight);
}
