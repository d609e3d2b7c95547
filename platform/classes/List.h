// List.h - TList, the list of untyped pointers, and TObjectList, which may own its objects.
//
// Index errors raise EListError "List index out of bounds (%d)"; a capacity or count below
// zero (or a capacity below the count) raises "List capacity out of bounds (%d)" / "List
// count out of bounds (%d)".
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/Object.h"

// Negative when Item1 sorts before Item2, zero when equal, positive after.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

class TList : public TObject {
  VORENTA_CLASS(TList, TObject)
public:
  TList() = default;
  ~TList() override;

  int Count() const { return static_cast<int>(FList.size()); }
  // Grows with nullptr items or shrinks (items dropped are Notify'd as deleted).
  void SetCount(int NewCount);
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  void SetCapacity(int NewCapacity);
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  // Deletes the first occurrence of Item; returns its former index or -1.
  int Remove(void* Item);
  // Takes Item out without deleting it (lnExtracted); returns it, or nullptr if absent.
  void* Extract(void* Item);
  int IndexOf(void* Item) const;
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  // Removes the nullptr items.
  void Pack();
  void Clear();
  // Sorts by Compare; items that compare equal keep their order.
  void Sort(const TListSortCompare& Compare);

  const std::vector<void*>& List() const { return FList; }

protected:
  // Called after an item is added and after one is taken out.
  virtual void Notify(void* Ptr, TListNotification Action);

private:
  void CheckIndex(int Index) const;

  std::vector<void*> FList;
};

// A list of objects; when OwnsObjects is set, deleting an item (Delete, Remove, Clear, the
// destructor) frees it. Extract never frees.
class TObjectList : public TList {
  VORENTA_CLASS(TObjectList, TList)
public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override;

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
  TObject* Items(int Index) const { return static_cast<TObject*>(TList::Items(Index)); }
  int Add(TObject* AObject) { return TList::Add(AObject); }
  int IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
  int Remove(TObject* AObject) { return TList::Remove(AObject); }

protected:
  void Notify(void* Ptr, TListNotification Action) override;

private:
  bool FOwnsObjects;
};
