// Component.cpp - TComponent: ownership, names, free notification, states.
#include "platform/classes/Component.h"

#include <algorithm>
#include <string_view>

#include "platform/classes/ClassUtils_p.h"
#include "platform/classes/Filer.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TextMap.h"

using namespace classes_detail;

REGISTER_CLASS(TComponent) {
  Class.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false)
       .Property("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
}

namespace {
[[noreturn]] void ListIndexError(int Index) {
  throw EListError(Format(u"List index out of bounds (%d)", {Index}));
}

// Lists shorter than this are searched one by one.
constexpr std::size_t IndexedListSize = 16;
}  // namespace

// Each name keeps the first component in the owner's list that carries it and how many do:
// two share a name only when a stream set it without the owner's check.
class TComponent::TNameIndex {
public:
  explicit TNameIndex(const std::vector<TComponent*>& List) {
    for (TComponent* C : List) Appended(C);
  }

  TComponent* Find(std::u16string_view Name) const {
    auto It = FMap.find(Name);
    return It == FMap.end() ? nullptr : It->second.First;
  }

  // C has joined at the end of the list.
  void Appended(TComponent* C) {
    if (C->FName.empty()) return;
    ++FMap.try_emplace(C->FName, TEntry{C, 0}).first->second.Count;
  }

  // C no longer carries Name; the first other carrier in List takes its place.
  void Dropped(const TComponent* C, const String& Name, const std::vector<TComponent*>& List) {
    if (Name.empty()) return;
    auto It = FMap.find(std::u16string_view(Name));
    if (It == FMap.end()) return;
    if (--It->second.Count == 0) {
      FMap.erase(It);
      return;
    }
    if (It->second.First == C) It->second.First = FirstNamed(Name, List, C);
  }

  // C, somewhere in List, has taken its present name.
  void Renamed(TComponent* C, const std::vector<TComponent*>& List) {
    if (C->FName.empty()) return;
    TEntry& Entry = FMap.try_emplace(C->FName, TEntry{C, 0}).first->second;
    if (++Entry.Count > 1) Entry.First = FirstNamed(C->FName, List, nullptr);
  }

private:
  struct TEntry {
    TComponent* First;
    int Count;
  };

  static TComponent* FirstNamed(std::u16string_view Name, const std::vector<TComponent*>& List,
                                const TComponent* Except) {
    for (TComponent* C : List)
      if (C != Except && SameText(C->FName, Name)) return C;
    return nullptr;
  }

  TTextMap<TEntry> FMap;
};

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  if (FComponentState.Contains(csFixups)) RemoveGlobalFixups(this);
  while (!FFreeNotifies.empty()) {
    TComponent* Other = FFreeNotifies.back();
    RemoveFreeNotification(Other);
    Other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

// --- Ownership ------------------------------------------------------------------------------------

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
  return FComponents[Index];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& List = FOwner->FComponents;
  return static_cast<int>(std::find(List.begin(), List.end(), this) - List.begin());
}

void TComponent::SetComponentIndex(int Value) {
  if (!FOwner) return;
  auto& List = FOwner->FComponents;
  int Current = ComponentIndex();
  Value = std::clamp(Value, 0, static_cast<int>(List.size()) - 1);
  if (Value == Current) return;
  List.erase(List.begin() + Current);
  List.insert(List.begin() + Value, this);
  FOwner->FNameIndex.reset();  // which of two same-named components comes first may change
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent->FOwner == this) return;
  ValidateRename(AComponent, String(), AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  if (FNameIndex) FNameIndex->Appended(AComponent);
}

// Searched from the end: an owner frees its components the last first.
void TComponent::Remove(TComponent* AComponent) {
  AComponent->FOwner = nullptr;
  auto It = std::find(FComponents.rbegin(), FComponents.rend(), AComponent);
  if (It == FComponents.rend()) return;
  FComponents.erase(std::next(It).base());
  if (FNameIndex) FNameIndex->Dropped(AComponent, AComponent->FName, FComponents);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* Last = FComponents.back();
    Remove(Last);
    delete Last;
  }
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  if (!FNameIndex && FComponents.size() >= IndexedListSize)
    FNameIndex = std::make_unique<TNameIndex>(FComponents);
  if (FNameIndex) return FNameIndex->Find(AName);
  for (TComponent* Item : FComponents)
    if (SameText(Item->FName, AName)) return Item;
  return nullptr;
}

// --- Name -----------------------------------------------------------------------------------------

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(Format(u"'%s' is not a valid component name", {NewName}));
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  ChangeName(NewName);
}

void TComponent::ChangeName(const String& NewName) {
  TNameIndex* Index = FOwner ? FOwner->FNameIndex.get() : nullptr;
  if (Index) Index->Dropped(this, FName, FOwner->FComponents);
  FName = NewName;
  if (Index) Index->Renamed(this, FOwner->FComponents);
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName,
                                const String& NewName) {
  if (!AComponent || NewName.empty() || SameText(CurName, NewName)) return;
  TComponent* Existing = FindComponent(NewName);
  if (Existing && Existing != AComponent)
    throw EComponentError(Format(u"A component named %s already exists", {NewName}));
}

String TComponent::GetNamePath() const { return FName; }

TPersistent* TComponent::GetOwner() const { return FOwner; }

// --- State ----------------------------------------------------------------------------------------

void TComponent::SetSubComponent(bool IsSubComponent) {
  if (IsSubComponent)
    FComponentStyle.Include(csSubComponent);
  else
    FComponentStyle.Exclude(csSubComponent);
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* Item : FComponents) Item->Destroying();
}

namespace {
void SetFlag(TComponentState& State, TComponentStateItem Item, bool Value) {
  if (Value)
    State.Include(Item);
  else
    State.Exclude(Item);
}
}  // namespace

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  SetFlag(FComponentState, csDesigning, Value);
  if (SetChildren)
    for (TComponent* Item : FComponents) Item->SetDesigning(Value, true);
}

void TComponent::SetInline(bool Value) { SetFlag(FComponentState, csInline, Value); }
void TComponent::SetAncestor(bool Value) {
  SetFlag(FComponentState, csAncestor, Value);
  for (TComponent* Item : FComponents) Item->SetAncestor(Value);
}
void TComponent::SetLoading(bool Value) { SetFlag(FComponentState, csLoading, Value); }
void TComponent::SetReading(bool Value) { SetFlag(FComponentState, csReading, Value); }
void TComponent::SetWriting(bool Value) { SetFlag(FComponentState, csWriting, Value); }
void TComponent::SetFixups(bool Value) { SetFlag(FComponentState, csFixups, Value); }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

// --- Free notification ----------------------------------------------------------------------------

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  FComponentState.Include(csFreeNotification);
  // Components of one owner hear of each other through the owner's Notification already.
  if (FOwner && AComponent->FOwner == FOwner) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) != FFreeNotifies.end())
    return;
  FFreeNotifies.push_back(AComponent);
  AComponent->FreeNotification(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  auto It = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (It == FFreeNotifies.end()) return;
  FFreeNotifies.erase(It);
  AComponent->RemoveFreeNotification(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Walk from the end; a handler may free components, so re-check the bound each step.
  for (int I = ComponentCount() - 1; I >= 0; --I) {
    if (I >= ComponentCount()) I = ComponentCount() - 1;
    if (I < 0) break;
    FComponents[I]->Notification(AComponent, Operation);
  }
}

// --- Streaming hooks ------------------------------------------------------------------------------

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}
TComponent* TComponent::GetChildOwner() { return nullptr; }
TComponent* TComponent::GetChildParent() { return this; }
bool TComponent::HasParent() const { return false; }
TComponent* TComponent::GetParentComponent() const { return nullptr; }
void TComponent::SetParentComponent(TComponent*) {}
