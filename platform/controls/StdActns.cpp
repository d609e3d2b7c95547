// StdActns.cpp - the standard edit actions on the focused control.
#include "platform/controls/StdActns.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"

namespace {

TCustomEdit* AsEdit(TObject* Target) { return dynamic_cast<TCustomEdit*>(Target); }

}  // namespace

TControl* TEditAction::Target() const {
  if (FControl) return FControl;
  return Screen ? Screen->ActiveControl() : nullptr;
}

bool TEditAction::HandlesTarget(TObject* Target) {
  TCustomEdit* Edit = AsEdit(Target);
  return Edit && (FControl ? Edit == FControl : Edit->Focused());
}

bool TEditAction::Execute() {
  if (OnExecute()) return TAction::Execute();
  Update();
  if (!Enabled()) return false;
  TControl* T = Target();
  if (!T) return false;
  if (T->ExecuteAction(this)) return true;
  if (!HandlesTarget(T)) return false;
  ExecuteTarget(T);
  return true;
}

bool TEditAction::Update() {
  if (OnUpdate()) return TAction::Update();
  TControl* T = Target();
  if (!T) return false;
  if (T->UpdateAction(this)) return true;
  if (!HandlesTarget(T)) {
    SetEnabled(false);
    return false;
  }
  UpdateTarget(T);
  return true;
}

void TEditCopy::ExecuteTarget(TObject* Target) { AsEdit(Target)->CopyToClipboard(); }
void TEditCopy::UpdateTarget(TObject* Target) { SetEnabled(AsEdit(Target)->SelLength() > 0); }

void TEditCut::ExecuteTarget(TObject* Target) { AsEdit(Target)->CutToClipboard(); }
void TEditCut::UpdateTarget(TObject* Target) {
  TCustomEdit* E = AsEdit(Target);
  SetEnabled(E->SelLength() > 0 && !E->ReadOnly());
}

void TEditPaste::ExecuteTarget(TObject* Target) { AsEdit(Target)->PasteFromClipboard(); }
void TEditPaste::UpdateTarget(TObject* Target) {
  SetEnabled(!AsEdit(Target)->ReadOnly() &&
             (Clipboard()->HasFormat(CF_TEXT) || Clipboard()->HasFormat(CF_UNICODETEXT)));
}

void TEditSelectAll::ExecuteTarget(TObject* Target) { AsEdit(Target)->SelectAll(); }
void TEditSelectAll::UpdateTarget(TObject* Target) {
  SetEnabled(!AsEdit(Target)->Text().empty());
}

void TEditDelete::ExecuteTarget(TObject* Target) { AsEdit(Target)->ClearSelection(); }
void TEditDelete::UpdateTarget(TObject* Target) {
  TCustomEdit* E = AsEdit(Target);
  SetEnabled(E->SelLength() > 0 && !E->ReadOnly());
}

REGISTER_CLASS(TEditAction) {}
REGISTER_CLASS(TEditCopy) {}
REGISTER_CLASS(TEditCut) {}
REGISTER_CLASS(TEditPaste) {}
REGISTER_CLASS(TEditSelectAll) {}
REGISTER_CLASS(TEditDelete) {}

void RegisterStdActnsClasses() {
  RegisterClass(TEditCopy::ClassInfo());
  RegisterClass(TEditCut::ClassInfo());
  RegisterClass(TEditPaste::ClassInfo());
  RegisterClass(TEditSelectAll::ClassInfo());
  RegisterClass(TEditDelete::ClassInfo());
}
