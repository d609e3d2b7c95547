// ActnList.cpp - actions and action lists.
#include "platform/controls/ActnList.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"

REGISTER_CLASS(TBasicAction) {}
REGISTER_CLASS(TCustomAction) {
  Class.Property("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption)
      .Property("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled, true)
      .Property("Hint", &TCustomAction::Hint, &TCustomAction::SetHint)
      .Property("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible, true);
}
REGISTER_CLASS(TAction) {}
REGISTER_CLASS(TActionList) {}

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
TBasicAction::~TBasicAction() = default;

bool TBasicAction::Execute() {
  if (!FOnExecute) return false;
  FOnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!FOnUpdate) return false;
  FOnUpdate(this);
  return true;
}

bool TBasicAction::HandlesTarget(TObject*) { return false; }
void TBasicAction::ExecuteTarget(TObject*) {}
void TBasicAction::UpdateTarget(TObject*) {}

int TBasicAction::AddChangeListener(TChangeListener Listener) {
  FListeners.emplace_back(FNextListener, std::move(Listener));
  return FNextListener++;
}

void TBasicAction::RemoveChangeListener(int Id) {
  std::erase_if(FListeners, [Id](const auto& L) { return L.first == Id; });
}

void TBasicAction::Change() {
  auto Copy = FListeners;   // a listener may unlink itself
  for (auto& L : Copy) L.second(this);
}

TCustomAction::TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}
TCustomAction::~TCustomAction() { SetActionList(nullptr); }

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  return TBasicAction::Execute();
}

void TCustomAction::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Change();
}
void TCustomAction::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  Change();
}
void TCustomAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Change();
}
void TCustomAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Change();
}
void TCustomAction::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  Change();
}
void TCustomAction::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  Change();
}
void TCustomAction::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Change();
}

void TCustomAction::SetActionList(TActionList* Value) {
  if (FActionList == Value) return;
  if (FActionList) std::erase(FActionList->FActions, this);
  FActionList = Value;
  if (Value) Value->FActions.push_back(this);
}

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
  for (auto* A : FActions) A->FActionList = nullptr;
}

bool TActionList::IsShortCut(TShortCut ShortCut) {
  for (auto* A : FActions) {
    if (A->ShortCut() != ShortCut || ShortCut == 0) continue;
    A->Update();
    return A->Enabled() && A->Execute();
  }
  return false;
}

void TActionList::UpdateActions() {
  for (auto* A : FActions) A->Update();
}
