// Collection.h - TCollection and TCollectionItem: owned, typed, streamable item lists.
//
// A collection creates its items from its item class (through the type registry), owns them
// and frees them. Every change ends in Changed(), which calls Update() unless an update
// bracket (BeginUpdate/EndUpdate) is open; EndUpdate of the outermost bracket calls it once.
// Notify tells of each item added, being extracted and being deleted.
#pragma once

#include <vector>

#include "platform/classes/Object.h"

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  VORENTA_CLASS(TCollectionItem, TPersistent)
public:
  explicit TCollectionItem(TCollection* ACollection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or out of any, with nullptr).
  virtual void SetCollection(TCollection* Value);
  // A number unique in the collection for its lifetime; never reused.
  int ID() const { return FID; }
  int Index() const;
  // Moves the item within its collection; Changed(true).
  virtual void SetIndex(int Value);
  // The text shown for the item; the class name by default.
  virtual String DisplayName() const;
  virtual void SetDisplayName(const String& Value);
  String GetNamePath() const override;

protected:
  // Tells the collection: the item changed (Update(this)) or all did (Update(nullptr)).
  void Changed(bool AllItems);
  TPersistent* GetOwner() const override;

private:
  TCollection* FCollection = nullptr;
  int FID = 0;

  friend class TCollection;
};

class TCollection : public TPersistent {
  VORENTA_CLASS(TCollection, TPersistent)
public:
  // AItemClass must be TCollectionItem or a registered descendant that is constructible from
  // a TCollection*.
  explicit TCollection(TClass AItemClass);
  ~TCollection() override;

  TClass ItemClass() const { return FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // EListError "List index out of bounds (%d)" when Index is outside.
  TCollectionItem* Items(int Index) const;
  // Assigns Value to the Index-th item.
  void SetItems(int Index, TCollectionItem* Value);
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  TCollectionItem* FindItemID(int ID) const;

  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Copies the items of another collection (each item's Assign).
  void Assign(TPersistent* Source) override;
  // The owner's path and the owner's property that holds this collection ("Grid1.Columns").
  String GetNamePath() const override;
  TPersistent* Owner() const { return GetOwner(); }

protected:
  // Something changed: one item, or everything when Item is nullptr. Does nothing here.
  virtual void Update(TCollectionItem* Item);
  // Calls Update(nullptr) unless an update bracket is open.
  void Changed();
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  // Hook for descendants that name new items; does nothing here.
  virtual void SetItemName(TCollectionItem* Item);

private:
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void Announce(TCollectionItem* Item);

  TClass FItemClass;
  bool FAdding = false;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;

  friend class TCollectionItem;
};

// A collection with an owner given at construction, for GetNamePath and streaming.
class TOwnedCollection : public TCollection {
  VORENTA_CLASS(TOwnedCollection, TCollection)
public:
  TOwnedCollection(TPersistent* AOwner, TClass AItemClass)
      : TCollection(AItemClass), FOwner(AOwner) {}

protected:
  TPersistent* GetOwner() const override { return FOwner; }

private:
  TPersistent* FOwner;
};
