// Component.h - TComponent: ownership, names, free notification and the streaming hooks.
//
// A component is created with its owner and freed by it: the owner's destructor frees what
// it owns, the last inserted first. A component that holds a reference to a component owned
// elsewhere asks it for FreeNotification and clears the reference in Notification(opRemove).
//
// A descendant whose Notification override must see its own components leave while it is
// being destroyed calls Destroying() and DestroyComponents() in its own destructor: by the
// time ~TComponent runs, the descendant's part of the object is gone.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Object.h"
#include "platform/classes/TypeInfo.h"

class TComponent;
class TReader;
class TWriter;

VORENTA_ENUM(TOperation, opInsert, opRemove);

VORENTA_ENUM(TComponentStateItem, csLoading, csReading, csWriting, csDestroying, csDesigning,
             csAncestor, csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance);
VORENTA_SET(TComponentState, TComponentStateItem);

VORENTA_ENUM(TComponentStyleItem, csInheritable, csCheckPropAvail, csSubComponent, csTransient);
VORENTA_SET(TComponentStyle, TComponentStyleItem);

// Called by GetChildren for each child to be streamed.
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  VORENTA_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  // --- Ownership ----------------------------------------------------------------------------
  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // The Index-th owned component; EListError "List index out of bounds (%d)" when outside.
  TComponent* Components(int Index) const;
  // The position in the owner's list, or -1 without an owner.
  int ComponentIndex() const;
  void SetComponentIndex(int Value);
  // Takes AComponent from its present owner (if any); its name must be free here.
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Frees every owned component, the last first.
  void DestroyComponents();
  // The owned component of that name (case ignored; the first in the list when a stream
  // gave two the same name), or nullptr. A long list is searched through a name index.
  TComponent* FindComponent(const String& AName) const;

  // --- Name and tag -------------------------------------------------------------------------
  const String& Name() const { return FName; }
  // Raises EComponentError "'%s' is not a valid component name" or "A component named %s
  // already exists" (among the owner's components).
  virtual void SetName(const String& NewName);
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }
  String GetNamePath() const override;

  // --- State --------------------------------------------------------------------------------
  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  // Marks the component as one that streams as part of its owner's property, not by itself.
  void SetSubComponent(bool IsSubComponent);
  // Sets csDestroying here and in every owned component.
  void Destroying();
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetInline(bool Value);
  void SetAncestor(bool Value);

  // --- Free notification --------------------------------------------------------------------
  // AComponent's Notification(this, opRemove) will be called when this component is freed
  // (and the other way round).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // --- Streaming ----------------------------------------------------------------------------
  // Calls Proc for each child that is streamed with this component; Root is the component
  // being written. The default passes nothing.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
  // The owner for children read into this component (the default: none, so the root owns).
  virtual TComponent* GetChildOwner();
  // The parent for children read into this component (the default: the component itself).
  virtual TComponent* GetChildParent();
  // Whether the component has a parent other than its owner (controls do).
  virtual bool HasParent() const;
  virtual TComponent* GetParentComponent() const;
  virtual void SetParentComponent(TComponent* Value);
  // Read and write this component's properties and children; the filer calls these.
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  // Called once after the whole tree has been read: clears csLoading.
  virtual void Loaded();
  // Forwarded down the owned components; clears a free-notification link on opRemove.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

  void SetLoading(bool Value);
  void SetReading(bool Value);
  void SetWriting(bool Value);
  void SetFixups(bool Value);

protected:
  TPersistent* GetOwner() const override;
  // Checks that NewName is free among the owner's components (AComponent being renamed).
  virtual void ValidateRename(TComponent* AComponent, const String& CurName,
                              const String& NewName);
  // Sets the name without checks (the reader uses it while loading).
  void ChangeName(const String& NewName);

  TComponentState FComponentState;

private:
  class TNameIndex;

  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  // The owned components by name, built by the first search of a long list and kept by
  // Insert, Remove and ChangeName; a reordering of the list drops it.
  mutable std::unique_ptr<TNameIndex> FNameIndex;
  String FName;
  int FTag = 0;
  TComponentStyle FComponentStyle{csInheritable};

  friend class TReader;
};
