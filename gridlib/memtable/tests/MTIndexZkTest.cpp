// MTIndexZkTest.cpp - key indexes: unique keys, duplicate keys, records marked for deletion.
#include "gridlib/memtable/MTIndexZk.h"

#include <gtest/gtest.h>

#include "gridlib/memtable/tests/MemTableTestUtil.h"

namespace {

TMTIndexZk* AddIndex(TMemTableDataZk* Data, const String& Fields, bool Unique) {
  TMTIndexZk* I = Data->RecordsList()->Indexes()->Add();
  I->SetFields(Fields);
  I->SetUnical(Unique);
  I->SetActive(true);
  return I;
}

// The index's records for a key, in index order.
std::vector<TMemoryRecordZk*> Matches(TMTIndexZk* Index, const Variant& Key) {
  std::vector<TMemoryRecordZk*> List;
  Index->FillMatchedRecsList(Key, List);
  return List;
}

TEST(MTIndexZk, UniqueKeyViolationLeavesListUnchanged) {
  auto Data = MakeContainer({{u"ID", ftInteger}});
  AddIndex(Data.get(), u"ID", true);
  AddRec(Data.get(), {1});
  TMemoryRecordZk* Second = AddRec(Data.get(), {2});
  try {
    AddRec(Data.get(), {1});
    FAIL() << "no violation";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Unical key violation 1");
  }
  EXPECT_EQ(Data->RecordsList()->Count(), 2);
  SetValue(Second, 0, 2);  // its own present key: no violation
  Second->Edit();
  Second->SetDataValue(0, dvvValueZk, 1);
  EXPECT_THROW(Second->Post(), Exception);
  EXPECT_EQ(Second->EditState(), resEditZk);
  Second->Cancel();
}

TEST(MTIndexZk, FindsByCaseInsensitiveFieldsAndInsertsKeepPositions) {
  auto Data = MakeContainer({{u"ID", ftInteger}, {u"NM", ftString}});
  TMTIndexZk* Index = AddIndex(Data.get(), u"id", false);
  EXPECT_EQ(Data->RecordsList()->Indexes()->GetIndexForFields(u"ID"), Index);
  for (int V : {5, 3, 9}) AddRec(Data.get(), {V, u"x"});
  TMemoryRecordZk* First = Data->RecordsList()->NewRecord();
  First->SetDataValue(0, dvvValueZk, 4);
  Data->RecordsList()->InsertRecord(0, First);
  int Pos;
  ASSERT_TRUE(Index->FindRecordIndexByKey(9, Pos));
  EXPECT_EQ(Pos, 3);
  Data->RecordsList()->DeleteRecord(1);
  ASSERT_TRUE(Index->FindRecordIndexByKey(9, Pos));
  EXPECT_EQ(Pos, 2);
  EXPECT_FALSE(Index->FindRecordIndexByKey(5, Pos));
}

// Among equal keys, a change or deletion acts on the record's own entry.
TEST(MTIndexZk, DuplicateKeysChangeTheRecordsOwnEntry) {
  auto Data = MakeContainer({{u"K", ftString}});
  TMTIndexZk* Index = AddIndex(Data.get(), u"K", false);
  TMemoryRecordZk* A1 = AddRec(Data.get(), {u"A"});
  TMemoryRecordZk* A2 = AddRec(Data.get(), {u"A"});
  TMemoryRecordZk* A3 = AddRec(Data.get(), {u"A"});
  EXPECT_EQ(Matches(Index, u"A").size(), 3u);
  SetValue(A2, 0, u"C");
  EXPECT_EQ(Matches(Index, u"C"), std::vector<TMemoryRecordZk*>{A2});
  EXPECT_EQ(Matches(Index, u"A"), (std::vector<TMemoryRecordZk*>{A1, A3}));
  Data->RecordsList()->DeleteRecord(A3->Index());
  EXPECT_EQ(Matches(Index, u"A"), std::vector<TMemoryRecordZk*>{A1});
}

// A record marked for deletion leaves the index; reverting the deletion brings its entry
// back; inserting while an entry is missing keeps every position right.
TEST(MTIndexZk, MarkedForDeletionAndReverted) {
  auto Data = MakeContainer({{u"ID", ftInteger}});
  TMTIndexZk* Index = AddIndex(Data.get(), u"ID", false);
  for (int V : {1, 2, 3}) AddRec(Data.get(), {V});
  TRecordsListZk* List = Data->RecordsList();
  List->SetCachedUpdates(true);
  List->DeleteRecord(0);
  EXPECT_EQ(Index->Count(), 2);
  TMemoryRecordZk* New = List->NewRecord();
  New->SetDataValue(0, dvvValueZk, 4);
  List->InsertRecord(2, New);
  for (int I = 0; I < Index->Count(); ++I)
    EXPECT_EQ(List->Items(Index->Items(I).RecIndex())->GetDataValue(0, dvvValueZk).AsInteger(),
              Index->Items(I).Value.AsInteger());
  List->RevertRecord(0);
  EXPECT_EQ(Index->Count(), 4);
  EXPECT_EQ(Matches(Index, 1), std::vector<TMemoryRecordZk*>{List->Items(0)});
}

TEST(MTIndexZk, MultiFieldKeysAndIncomparableValues) {
  auto Data = MakeContainer({{u"A", ftInteger}, {u"B", ftString}, {u"V", ftVariant}});
  TMTIndexZk* Index = AddIndex(Data.get(), u"A;B", true);
  AddRec(Data.get(), {1, u"x", 0});
  AddRec(Data.get(), {1, u"y", 0});
  EXPECT_THROW(AddRec(Data.get(), {1, u"x", 0}), Exception);
  EXPECT_NE(Index->FindRecordByKey(VarArrayOf({1, u"y"})), nullptr);
  TMTIndexZk* Mixed = AddIndex(Data.get(), u"V", false);
  EXPECT_EQ(Mixed->Count(), 2);
  try {
    AddRec(Data.get(), {2, u"z", VarArrayOf({1})});
    FAIL() << "compared";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"TMTIndexZk.FindKeyValueIndex: values is not comparable.");
  }
}

}  // namespace
