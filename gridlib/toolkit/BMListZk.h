// BMListZk.h - TBMListZk, a set of dataset bookmarks kept in the dataset's bookmark order, so
// that "is the current record in the set" (is its row selected) is a binary search. The base
// of the grid's selected rows and of the footer-sum bookmark list; it knows no dataset itself:
// descendants supply it (GetDataSet) and react to changes through the virtual hooks.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/db/DataSet.h"
#include "platform/rtl/Types.h"

// A held bookmark. The find cache recognises the bookmark it saw last by this reference, not by
// its bytes: an equal bookmark in another buffer is searched again.
using TBookmarkRef = std::shared_ptr<const TBookmark>;

class TBMListZk;
// Negative, zero or positive by the order of entries Index1 and Index2.
using TBMListSortCompare =
    std::function<int(TBMListZk* List, TDataSet* DataSet, int Index1, int Index2)>;

class TBMListZk {
public:
  TBMListZk() = default;
  // Clears and updates the state (the base's hooks: descendants clear in their own destructor
  // when they must see their overrides called).
  virtual ~TBMListZk();
  TBMListZk(const TBMListZk&) = delete;
  TBMListZk& operator=(const TBMListZk&) = delete;

  int Count() const { return static_cast<int>(FList.size()); }
  const TBookmarkRef& Items(int Index) const { return FList.at(static_cast<std::size_t>(Index)); }
  // Rewrites an entry in place (the memory table renumbers rows this way); keeps the order
  // the caller's business.
  void SetItems(int Index, TBookmarkRef Item);
  TDataSet* DataSet() const { return GetDataSet(); }

  // Whether Item is in the list; Index is where it is or would be inserted (the first equal
  // entry when there are several).
  bool Find(const TBookmarkRef& Item, int& Index);
  int IndexOf(const TBookmarkRef& Item);
  // "List index out of bounds (%d)" (EListError) outside 0..Count.
  void InsertItem(int Index, TBookmarkRef Item);
  // "List index out of bounds (%d)" (EListError) outside 0..Count - 1.
  void DeleteItem(int Index);
  // Appends without keeping the order (for filling in dataset order).
  void AppendItem(TBookmarkRef Item) { InsertItem(Count(), std::move(Item)); }

  bool CurrentRowSelected();
  void SetCurrentRowSelectedValue(bool Value) { SetCurrentRowSelected(Value); }
  // Drops the bookmarks the dataset no longer knows; true when something was dropped.
  bool Refresh();
  // Deletes the records of every entry from the dataset, last entry first.
  void Delete();
  // Selects every record of the dataset (only while the link is active).
  void SelectAll();
  void SetLinkActive(bool Value);
  bool LinkActive() const { return FLinkActive; }
  TBookmarkRef GetCurrentBookmark();
  int CompareItems(const TBookmark& B1, const TBookmark& B2) const;

  virtual TDataSet* GetDataSet() const { return nullptr; }
  // After the entries changed (the grid repaints).
  virtual void ListChanged() {}
  [[noreturn]] virtual void RaiseError(const String& Msg);
  virtual void SetCurrentRowSelected(bool Value);
  virtual void InvalidateCache();
  // After the selection state may have changed (the grid updates its own).
  virtual void UpdateState() {}
  virtual void Clear();
  // Reorders the entries by Compare. The find cache is dropped afterwards: the cached index
  // may name another entry once the order changed.
  virtual void CustomSort(TDataSet* DataSet, const TBMListSortCompare& Compare);

private:
  void QuickSort(TDataSet* DataSet, const TBMListSortCompare& Compare, int L, int R);
  [[noreturn]] void IndexError(int Index) const;

  TBookmarkRef FCache;
  bool FCacheFind = false;
  int FCacheIndex = -1;
  bool FLinkActive = false;
  std::vector<TBookmarkRef> FList;
};
