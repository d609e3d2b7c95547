// BMListZk.cpp - the sorted bookmark list, its find cache and the record-set operations.
#include "gridlib/toolkit/BMListZk.h"

#include <utility>

#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/db/DBConsts.h"
#include "platform/rtl/SysUtils.h"

TBMListZk::~TBMListZk() {
  TBMListZk::Clear();
  TBMListZk::UpdateState();
}

void TBMListZk::IndexError(int Index) const {
  throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}

void TBMListZk::SetItems(int Index, TBookmarkRef Item) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  FList[static_cast<std::size_t>(Index)] = std::move(Item);
  InvalidateCache();
}

int TBMListZk::CompareItems(const TBookmark& B1, const TBookmark& B2) const {
  return CompareDataSetBookmarks(GetDataSet(), B1, B2);
}

bool TBMListZk::Find(const TBookmarkRef& Item, int& Index) {
  if (Item && Item == FCache && FCacheIndex >= 0) {
    Index = FCacheIndex;
    return FCacheFind;
  }
  int L = 0, H = Count() - 1;
  bool Found = false;
  while (L <= H) {
    const int I = (L + H) / 2;
    const int Cmp = CompareItems(*FList[static_cast<std::size_t>(I)], *Item);
    if (Cmp < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (Cmp == 0) {
        L = I;
        Found = true;
      }
    }
  }
  Index = L;
  FCache = Item;
  FCacheIndex = L;
  FCacheFind = Found;
  return Found;
}

int TBMListZk::IndexOf(const TBookmarkRef& Item) {
  int Index = -1;
  return Find(Item, Index) ? Index : -1;
}

void TBMListZk::InsertItem(int Index, TBookmarkRef Item) {
  if (Index < 0 || Index > Count()) IndexError(Index);
  FList.insert(FList.begin() + Index, std::move(Item));
  InvalidateCache();
}

void TBMListZk::DeleteItem(int Index) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  FList.erase(FList.begin() + Index);
  InvalidateCache();
}

void TBMListZk::InvalidateCache() {
  FCache.reset();
  FCacheIndex = -1;
}

void TBMListZk::RaiseError(const String& Msg) { throw Exception(Msg); }

TBookmarkRef TBMListZk::GetCurrentBookmark() {
  if (!FLinkActive) RaiseError(DBText::DataSetClosed);
  return std::make_shared<const TBookmark>(GetDataSet()->GetBookmark());
}

bool TBMListZk::CurrentRowSelected() {
  int Index = 0;
  return Find(GetCurrentBookmark(), Index);
}

void TBMListZk::SetCurrentRowSelected(bool Value) {
  TBookmarkRef Current = GetCurrentBookmark();
  int Index = 0;
  if (Find(Current, Index) == Value) return;
  if (Value)
    InsertItem(Index, std::move(Current));
  else
    DeleteItem(Index);
}

void TBMListZk::Clear() {
  if (FList.empty()) return;
  FList.clear();
  InvalidateCache();
  UpdateState();
  ListChanged();
}

void TBMListZk::SetLinkActive(bool Value) {
  Clear();
  UpdateState();
  FLinkActive = Value;
}

bool TBMListZk::Refresh() {
  TDataSet* Set = GetDataSet();
  bool Dropped = false;
  auto Finish = [&] {
    UpdateState();
    Set->UpdateCursorPos();
    if (Dropped) ListChanged();
  };
  try {
    Set->CheckBrowseMode();
    for (int I = Count() - 1; I >= 0; --I) {
      if (!DataSetBookmarkValid(Set, *FList[static_cast<std::size_t>(I)])) {
        DeleteItem(I);
        Dropped = true;
      }
    }
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
  return Dropped;
}

void TBMListZk::Delete() {
  TDataSet* Set = GetDataSet();
  Set->DisableControls();
  try {
    for (int I = Count() - 1; I >= 0; --I) {
      Set->GotoBookmark(*FList[static_cast<std::size_t>(I)]);
      Set->Delete();
      DeleteItem(I);
    }
  } catch (...) {
    Set->EnableControls();
    UpdateState();
    throw;
  }
  Set->EnableControls();
  UpdateState();
}

void TBMListZk::SelectAll() {
  if (!FLinkActive) return;
  TDataSet* Set = GetDataSet();
  Set->DisableControls();
  try {
    const TBookmark Saved = Set->GetBookmark();
    Set->First();
    while (!Set->Eof()) {
      SetCurrentRowSelected(true);
      Set->Next();
    }
    Set->GotoBookmark(Saved);
  } catch (...) {
    Set->EnableControls();
    throw;
  }
  Set->EnableControls();
}

void TBMListZk::CustomSort(TDataSet* DataSet, const TBMListSortCompare& Compare) {
  if (Count() > 1) QuickSort(DataSet, Compare, 0, Count() - 1);
  InvalidateCache();
}

void TBMListZk::QuickSort(TDataSet* DataSet, const TBMListSortCompare& Compare, int L, int R) {
  int I = L;
  do {
    I = L;
    int J = R, P = (L + R) / 2;
    do {
      while (Compare(this, DataSet, I, P) < 0) ++I;
      while (Compare(this, DataSet, J, P) > 0) --J;
      if (I <= J) {
        if (I != J) std::swap(FList[static_cast<std::size_t>(I)], FList[static_cast<std::size_t>(J)]);
        if (P == I)
          P = J;
        else if (P == J)
          P = I;
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSort(DataSet, Compare, L, J);
    L = I;
  } while (I < R);
}
