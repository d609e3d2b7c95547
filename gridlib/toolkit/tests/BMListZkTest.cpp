// BMListZkTest.cpp - the bookmark list over the array dataset: sorted selection, the find cache
// by reference, index errors, Refresh, Delete, SelectAll and the sort dropping the cache.
#include <gtest/gtest.h>

#include <memory>

#include "gridlib/toolkit/BMListZk.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"

namespace {

class TTestBMList : public TBMListZk {
public:
  explicit TTestBMList(TDataSet* Set) : FSet(Set) {}
  TDataSet* GetDataSet() const override { return FSet; }
  void ListChanged() override { ++Changes; }
  int Changes = 0;

private:
  TDataSet* FSet;
};

class BMListTest : public ::testing::Test {
protected:
  void SetUp() override {
    Owner = std::make_unique<TComponent>(nullptr);
    Set = new TArrayDataSet(Owner.get());
    Set->FieldDefs()->Add(u"ID", ftInteger);
    for (int I = 1; I <= 5; ++I) Set->AddRow({I});
    Set->Open();
    List = std::make_unique<TTestBMList>(Set);
    List->SetLinkActive(true);
  }
  void SelectRecNo(int RecNo) {
    Set->SetRecNo(RecNo);
    List->SetCurrentRowSelected(true);
  }
  TBookmarkRef BookmarkAt(int RecNo) {
    Set->SetRecNo(RecNo);
    return std::make_shared<const TBookmark>(Set->GetBookmark());
  }
  std::unique_ptr<TComponent> Owner;
  TArrayDataSet* Set = nullptr;
  std::unique_ptr<TTestBMList> List;
};

TEST_F(BMListTest, SelectionStaysSortedAndIdempotent) {
  SelectRecNo(4);
  SelectRecNo(2);
  SelectRecNo(4);
  ASSERT_EQ(List->Count(), 2);
  EXPECT_EQ(Set->CompareBookmarks(*List->Items(0), *BookmarkAt(2)), 0);
  EXPECT_EQ(Set->CompareBookmarks(*List->Items(1), *BookmarkAt(4)), 0);

  Set->SetRecNo(3);
  EXPECT_FALSE(List->CurrentRowSelected());
  List->SetCurrentRowSelected(false);   // deselecting an unselected row does nothing
  EXPECT_EQ(List->Count(), 2);
  Set->SetRecNo(2);
  EXPECT_TRUE(List->CurrentRowSelected());
  List->SetCurrentRowSelected(false);
  EXPECT_EQ(List->Count(), 1);
}

TEST_F(BMListTest, FindGivesTheInsertionIndexAndCachesByReference) {
  int Index = -1;
  EXPECT_FALSE(List->Find(BookmarkAt(3), Index));
  EXPECT_EQ(Index, 0);

  SelectRecNo(1);
  SelectRecNo(5);
  TBookmarkRef Third = BookmarkAt(3);
  EXPECT_FALSE(List->Find(Third, Index));
  EXPECT_EQ(Index, 1);

  // The same reference answers from the cache; an equal bookmark in another buffer is
  // searched again and found the same way.
  TBookmarkRef Fifth = BookmarkAt(5);
  EXPECT_TRUE(List->Find(Fifth, Index));
  EXPECT_EQ(Index, 1);
  EXPECT_TRUE(List->Find(Fifth, Index));
  auto Copy = std::make_shared<const TBookmark>(*Fifth);
  EXPECT_TRUE(List->Find(Copy, Index));
  EXPECT_EQ(Index, 1);
  EXPECT_EQ(List->IndexOf(BookmarkAt(2)), -1);
}

TEST_F(BMListTest, IndexErrors) {
  List->InsertItem(0, BookmarkAt(1));
  List->InsertItem(1, BookmarkAt(2));   // at Count appends
  try {
    List->InsertItem(3, BookmarkAt(3));
    FAIL();
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), u"List index out of bounds (3)");
  }
  try {
    List->DeleteItem(2);
    FAIL();
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), u"List index out of bounds (2)");
  }
  EXPECT_THROW(List->DeleteItem(-1), EListError);
  EXPECT_EQ(List->Count(), 2);
}

TEST_F(BMListTest, ClosedLinkRaisesAndSelectAllDoesNothing) {
  SelectRecNo(1);
  const int Before = List->Changes;
  List->SetLinkActive(false);
  EXPECT_EQ(List->Count(), 0);
  EXPECT_EQ(List->Changes, Before + 1);
  List->Clear();   // an empty list sends nothing
  EXPECT_EQ(List->Changes, Before + 1);
  try {
    List->CurrentRowSelected();
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Cannot perform this operation on a closed dataset");
  }
  List->SelectAll();
  EXPECT_EQ(List->Count(), 0);
}

TEST_F(BMListTest, SelectAllKeepsThePosition) {
  Set->SetRecNo(3);
  List->SelectAll();
  EXPECT_EQ(List->Count(), 5);
  EXPECT_EQ(Set->RecNo(), 3);
  EXPECT_FALSE(Set->ControlsDisabled());
}

TEST_F(BMListTest, RefreshDropsBookmarksOfRecordsDeletedElsewhere) {
  SelectRecNo(2);
  SelectRecNo(4);
  int Changes = List->Changes;
  EXPECT_FALSE(List->Refresh());
  EXPECT_EQ(List->Changes, Changes);

  Set->SetRecNo(4);
  Set->Delete();
  EXPECT_TRUE(List->Refresh());
  EXPECT_EQ(List->Count(), 1);
  EXPECT_EQ(List->Changes, Changes + 1);
}

TEST_F(BMListTest, DeleteRemovesTheSelectedRecords) {
  SelectRecNo(1);
  SelectRecNo(3);
  SelectRecNo(5);
  List->Delete();
  EXPECT_EQ(List->Count(), 0);
  EXPECT_EQ(Set->RecordCount(), 2);
  Set->First();
  EXPECT_EQ(Set->FieldByName(u"ID")->AsInteger(), 2);
  EXPECT_FALSE(Set->ControlsDisabled());
}

// Filled in dataset order, then sorted into bookmark order: a find cached before the sort
// must not answer after it (the cached index names another entry now).
TEST_F(BMListTest, CustomSortClearsTheFindCache) {
  for (int I : {5, 1, 3, 2, 4}) List->AppendItem(BookmarkAt(I));
  TBookmarkRef Fifth = List->Items(0);
  int Index = -1;
  List->Find(Fifth, Index);   // searched over the unsorted list, and cached
  List->CustomSort(Set, [](TBMListZk* L, TDataSet* DS, int A, int B) {
    return DS->CompareBookmarks(*L->Items(A), *L->Items(B));
  });
  ASSERT_EQ(List->Items(4), Fifth);
  EXPECT_TRUE(List->Find(Fifth, Index));
  EXPECT_EQ(Index, 4);
}

TEST_F(BMListTest, CustomSortSortsByTheCompare) {
  for (int I : {5, 1, 3, 2, 4}) List->AppendItem(BookmarkAt(I));
  List->CustomSort(Set, [](TBMListZk* L, TDataSet* DS, int A, int B) {
    return DS->CompareBookmarks(*L->Items(A), *L->Items(B));
  });
  for (int I = 0; I < 5; ++I)
    EXPECT_EQ(Set->CompareBookmarks(*List->Items(I), *BookmarkAt(I + 1)), 0) << I;
}

}  // namespace
