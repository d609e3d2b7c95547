// EditButtonsZk.cpp - the edit button model, its collection and its action link.
#include "gridlib/toolkit/EditButtonsZk.h"

#include <algorithm>

#include "gridlib/toolkit/EditButtonControlZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Menus.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Exceptions.h"

REGISTER_CLASS(TEditButtonZk) {
  Class.Property("Action", &TEditButtonZk::Action, &TEditButtonZk::SetAction)
      .Property("DropdownMenu", &TEditButtonZk::DropdownMenu, &TEditButtonZk::SetDropdownMenu)
      .Property("Enabled", &TEditButtonZk::Enabled, &TEditButtonZk::SetEnabled, true)
      .Stored(&TEditButtonZk::IsEnabledStored)
      .Property("Glyph", &TEditButtonZk::Glyph, &TEditButtonZk::SetGlyph)
      .Property("Hint", &TEditButtonZk::Hint, &TEditButtonZk::SetHint)
      .Stored(&TEditButtonZk::IsHintStored)
      .Property("NumGlyphs", &TEditButtonZk::NumGlyphs, &TEditButtonZk::SetNumGlyphs, 1)
      .Property("ShortCut", &TEditButtonZk::ShortCut, &TEditButtonZk::SetShortCut, TShortCut(0))
      .Stored(&TEditButtonZk::IsShortCutStored)
      .Property("Style", &TEditButtonZk::Style, &TEditButtonZk::SetStyle, ebsDropDownZk)
      .Property("Visible", &TEditButtonZk::Visible, &TEditButtonZk::SetVisible, false)
      .Stored(&TEditButtonZk::IsVisibleStored)
      .Property("Width", &TEditButtonZk::Width, &TEditButtonZk::SetWidth, 0)
      .Property("OnClick", &TEditButtonZk::OnClick, &TEditButtonZk::SetOnClick)
      .Property("OnDown", &TEditButtonZk::OnDown, &TEditButtonZk::SetOnDown);
}
REGISTER_CLASS(TDropDownEditButtonZk) {
  Class.Property("ShortCut", &TEditButtonZk::ShortCut, &TEditButtonZk::SetShortCut,
                 AltDownShortCut)
      .Stored(&TEditButtonZk::IsShortCutStored);
}
REGISTER_CLASS(TVisibleEditButtonZk) {
  Class.Property("Visible", &TEditButtonZk::Visible, &TEditButtonZk::SetVisible, true)
      .Stored(&TEditButtonZk::IsVisibleStored);
}
REGISTER_CLASS(TEditButtonsZk) {}

void RegisterEditButtonsClasses() {
  RegisterClasses({TEditButtonZk::ClassInfo(), TDropDownEditButtonZk::ClassInfo(),
                   TVisibleEditButtonZk::ClassInfo(), TEditButtonsZk::ClassInfo(),
                   TEditButtonControlZk::ClassInfo(), TSpeedButtonZk::ClassInfo()});
}

// --- free notification for the objects a button refers to but does not own ---------------------

namespace {

// A hidden component that tells its owner object when the watched component is freed.
class TFreeWatcher : public TComponent {
public:
  explicit TFreeWatcher(std::function<void()> OnFreed)
      : TComponent(nullptr), FOnFreed(std::move(OnFreed)) {}
  ~TFreeWatcher() override { Watch(nullptr); }
  void Watch(TComponent* Value) {
    if (FWatched == Value) return;
    if (FWatched) FWatched->RemoveFreeNotification(this);
    FWatched = Value;
    if (FWatched) FWatched->FreeNotification(this);
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FWatched) {
      FWatched = nullptr;
      FOnFreed();
    }
  }

private:
  TComponent* FWatched = nullptr;
  std::function<void()> FOnFreed;
};

}  // namespace

class TEditButtonActionLinkZk::TWatcher : public TFreeWatcher {
  using TFreeWatcher::TFreeWatcher;
};

class TEditButtonZk::TMenuWatcher : public TFreeWatcher {
  using TFreeWatcher::TFreeWatcher;
};

// --- TEditButtonActionLinkZk ---------------------------------------------------------------------

TEditButtonActionLinkZk::TEditButtonActionLinkZk(TObject* AClient)
    : FWatcher(std::make_unique<TWatcher>([this] { ActionFreed(); })) {
  AssignClient(AClient);
}

TEditButtonActionLinkZk::~TEditButtonActionLinkZk() { SetAction(nullptr); }

void TEditButtonActionLinkZk::AssignClient(TObject* AClient) {
  FClient = dynamic_cast<TEditButtonZk*>(AClient);
  if (!FClient) throw EInvalidCast(u"Invalid class typecast");
}

void TEditButtonActionLinkZk::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (FAction) FAction->RemoveChangeListener(FListenerId);
  FAction = Value;
  FWatcher->Watch(FAction);
  if (!FAction) return;
  FListenerId = FAction->AddChangeListener([this](TBasicAction*) { ActionChanged(); });
  FLast = CurrentValues();
}

TEditButtonActionLinkZk::TActionValues TEditButtonActionLinkZk::CurrentValues() const {
  TActionValues V;
  if (auto* A = dynamic_cast<TCustomAction*>(FAction)) {
    V.Enabled = A->Enabled();
    V.Visible = A->Visible();
    V.Hint = A->Hint();
    V.ShortCut = A->ShortCut();
  }
  return V;
}

bool TEditButtonActionLinkZk::IsEnabledLinked() const {
  return dynamic_cast<TCustomAction*>(FAction) && FClient->Enabled() == FLast.Enabled;
}
bool TEditButtonActionLinkZk::IsHintLinked() const {
  return dynamic_cast<TCustomAction*>(FAction) && FClient->Hint() == FLast.Hint;
}
bool TEditButtonActionLinkZk::IsShortCutLinked() const {
  return dynamic_cast<TCustomAction*>(FAction) && FClient->ShortCut() == FLast.ShortCut;
}
bool TEditButtonActionLinkZk::IsVisibleLinked() const {
  return dynamic_cast<TCustomAction*>(FAction) && FClient->Visible() == FLast.Visible;
}

// The action changed: each value the client still shared with the action follows it.
void TEditButtonActionLinkZk::ActionChanged() {
  const TActionValues New = CurrentValues();
  if (New.Enabled != FLast.Enabled && IsEnabledLinked()) FClient->SetEnabled(New.Enabled);
  if (New.Hint != FLast.Hint && IsHintLinked()) FClient->SetHint(New.Hint);
  if (New.ShortCut != FLast.ShortCut && IsShortCutLinked()) FClient->SetShortCut(New.ShortCut);
  if (New.Visible != FLast.Visible && IsVisibleLinked()) FClient->SetVisible(New.Visible);
  FLast = New;
  if (FOnChange) FOnChange(FAction);
}

void TEditButtonActionLinkZk::ActionFreed() {
  FAction = nullptr;
  FListenerId = 0;
  FLast = {};
}

bool TEditButtonActionLinkZk::Execute(TComponent* Target) {
  if (!FAction) return false;
  if (FAction->Execute()) return true;
  if (auto* A = dynamic_cast<TCustomAction*>(FAction); A && !A->Enabled()) return false;
  if (!Target || !FAction->HandlesTarget(Target)) return false;
  FAction->ExecuteTarget(Target);
  return true;
}

bool TEditButtonActionLinkZk::Update() { return FAction && FAction->Update(); }

// --- TEditButtonZk -------------------------------------------------------------------------------

namespace {
TCollection* BeginUpdateOf(TCollection* C) {
  if (C) C->BeginUpdate();
  return C;
}
}  // namespace

TEditButtonZk::TEditButtonZk(TWinControl* EditControl)
    : TCollectionItem(nullptr), FEditControl(EditControl) {
  Init();
}

TEditButtonZk::TEditButtonZk(TCollection* ACollection)
    : TCollectionItem(BeginUpdateOf(ACollection)) {
  Init();
  if (ACollection) ACollection->EndUpdate();
}

void TEditButtonZk::Init() {
  FGlyph = std::make_unique<TBitmap>();
  FGlyph->SetTransparent(true);
  FMenuWatcher = std::make_unique<TMenuWatcher>([this] { FDropdownMenu = nullptr; });
}

TEditButtonZk::~TEditButtonZk() = default;

void TEditButtonZk::Assign(TPersistent* Source) {
  auto* B = dynamic_cast<TEditButtonZk*>(Source);
  if (!B) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetAction(B->Action());
  SetDropdownMenu(B->DropdownMenu());
  SetEnabled(B->Enabled());
  SetGlyph(B->Glyph());
  SetHint(B->Hint());
  SetNumGlyphs(B->NumGlyphs());
  SetShortCut(B->ShortCut());
  SetStyle(B->Style());
  SetVisible(B->Visible());
  SetWidth(B->Width());
  SetOnClick(B->OnClick());
  SetOnDown(B->OnDown());
}

TBasicAction* TEditButtonZk::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TEditButtonZk::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) {
    FActionLink = std::make_unique<TEditButtonActionLinkZk>(this);
    FActionLink->SetOnChange([this](TObject* Sender) { DoActionChange(Sender); });
  }
  FActionLink->SetAction(Value);
  ActionChange(Value, IsLoading());
}

void TEditButtonZk::SetDropdownMenu(TPopupMenu* Value) {
  FDropdownMenu = Value;
  FMenuWatcher->Watch(Value);
}

void TEditButtonZk::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  ButtonChanged();
}

void TEditButtonZk::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  ButtonChanged();
}

void TEditButtonZk::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  ButtonChanged();
}

void TEditButtonZk::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  ButtonChanged();
}

void TEditButtonZk::SetStyle(TEditButtonStyleZk Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  ButtonChanged();
}

void TEditButtonZk::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  ButtonChanged();
}

void TEditButtonZk::SetWidth(int Value) {
  if (FWidth == Value) return;
  FWidth = Value;
  ButtonChanged();
}

void TEditButtonZk::ButtonChanged() {
  if (FOnChanged) FOnChanged(this);
  else if (Collection()) Changed(false);
}

TEditButtonControlZk* TEditButtonZk::CreateEditButtonControl() {
  auto* C = new TEditButtonControlZk(FEditControl);
  C->SetControlStyle(C->ControlStyle() + TControlStyle{csReplicatable});
  C->SetParent(FEditControl);
  C->SetBounds(C->Left(), C->Top(), 10, 17);
  C->SetVisible(true);
  C->SetTransparent(false);
  return C;
}

TComponent* TEditButtonZk::ActionTarget() const {
  if (FEditControl) return FEditControl;
  return Collection() ? dynamic_cast<TComponent*>(Collection()->Owner()) : nullptr;
}

bool TEditButtonZk::IsLoading() const {
  const TComponent* C = ActionTarget();
  return C && C->ComponentState().Contains(csLoading);
}

void TEditButtonZk::Click(TObject* Sender, bool& Handled) {
  if (FOnButtonClick) {
    FOnButtonClick(Sender, Handled);
    return;
  }
  if (!FActionLink) return;
  FActionLink->Execute(ActionTarget());
  Handled = true;
}

void TEditButtonZk::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TEditButtonZk::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* A = dynamic_cast<TCustomAction*>(Sender);
  if (!A) return;
  if (!CheckDefaults || Enabled()) SetEnabled(A->Enabled());
  if (!CheckDefaults || Hint().empty()) SetHint(A->Hint());
  if (!CheckDefaults || ShortCut() == 0) SetShortCut(A->ShortCut());
  if (!CheckDefaults || Visible()) SetVisible(A->Visible());
}

void TEditButtonZk::DoActionChange(TObject* Sender) {
  if (Sender == Action()) ActionChange(Sender, false);
}

bool TEditButtonZk::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TEditButtonZk::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TEditButtonZk::IsShortCutStored() const {
  return !FActionLink || !FActionLink->IsShortCutLinked();
}
bool TEditButtonZk::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }

// --- the default-setting descendants ---------------------------------------------------------------

TDropDownEditButtonZk::TDropDownEditButtonZk(TWinControl* EditControl) : TEditButtonZk(EditControl) {
  FShortCut = AltDownShortCut;
}
TDropDownEditButtonZk::TDropDownEditButtonZk(TCollection* ACollection) : TEditButtonZk(ACollection) {
  FShortCut = AltDownShortCut;
}
TVisibleEditButtonZk::TVisibleEditButtonZk(TWinControl* EditControl)
    : TDropDownEditButtonZk(EditControl) {
  FVisible = true;
}
TVisibleEditButtonZk::TVisibleEditButtonZk(TCollection* ACollection)
    : TDropDownEditButtonZk(ACollection) {
  FVisible = true;
}

// --- TEditButtonsZk ----------------------------------------------------------------------------------

TEditButtonsZk::TEditButtonsZk(TPersistent* AOwner, TClass EditButtonClass)
    : TCollection(EditButtonClass), FOwner(AOwner) {}

void TEditButtonsZk::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (FOnChanged) FOnChanged(Item);
}
