// MemTableDataZkViewTest.cpp - the records view's events, its direct aggregate and the record
// tree's placement rules.
#include "gridlib/memtable/MemTableDataZkView.h"

#include <gtest/gtest.h>

#include <random>

#include "gridlib/memtable/tests/MemTableTestUtil.h"

namespace {

struct TEventLog {
  std::vector<std::string> Items;
  void Attach(TRecordsViewZk& View) {
    View.SetOnViewDataEvent([this](TMemoryRecordZk*, int Row, TRecordsListNotification A) {
      Items.push_back(std::to_string(A) + "@" + std::to_string(Row));
    });
    View.SetOnViewRecordMovedEvent([this](TMemoryRecordZk*, int Old, int New) {
      Items.push_back("moved " + std::to_string(Old) + ">" + std::to_string(New));
    });
  }
};

std::vector<int> Ids(const TRecordsViewZk& View, int Field = 0) {
  std::vector<int> R;
  for (int I = 0; I < View.Count(); ++I) R.push_back(View.ViewItems(I)->GetDataValue(Field, dvvValueZk).AsInteger());
  return R;
}

TEST(RecordsViewZk, SortedRowsFollowChangesWithMoveAndChangeEvents) {
  auto Data = MakeContainer({{u"ID", ftInteger}, {u"NM", ftString}});
  TRecordsViewZk View(nullptr);
  View.SetMemTableData(Data.get());
  View.SetSortOrder(u"NM");
  TMemoryRecordZk* C = AddRec(Data.get(), {1, u"c"});
  AddRec(Data.get(), {2, u"a"});
  AddRec(Data.get(), {3, u"b"});
  EXPECT_EQ(Ids(View), (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(View.IndexOf(C), 2);
  TEventLog Log;
  Log.Attach(View);
  SetValue(C, 1, u"0");
  EXPECT_EQ(Ids(View), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Log.Items, (std::vector<std::string>{"moved 2>0", std::to_string(rlnRecChangedZk) + "@0"}));
  EXPECT_THROW(View.SetSortOrder(u"NOPE"), Exception);
  EXPECT_EQ(View.SortOrder(), u"NM");
}

// A view sorted on text keeps each row's sort-key prefix: rows placed by those prefixes must
// still come out in the collation's order where names share long beginnings, differ only in
// case, are Null, and across block splits, sorted both ways and after a re-sort.
TEST(RecordsViewZk, TextOrderHoldsAcrossKeyedSearchesAndBlockSplits) {
  auto Data = MakeContainer({{u"ID", ftInteger}, {u"NM", ftString}});
  const std::vector<Variant> Names = {Null(), u"", u"a", u"A", u"ab", u"Краска акриловая белая 1",
                                      u"Краска акриловая белая 2", u"краска акриловая белая 2", u"Ёж", u"Еж", u"z"};
  std::mt19937 Random(3);
  auto AnyName = [&] { return Names[Random() % Names.size()]; };
  for (const char16_t* Order : {u"NM, ID", u"NM DESC, ID"}) {
    TRecordsViewZk View(nullptr);
    View.SetMemTableData(Data.get());
    View.SetSortOrder(Order);
    for (int I = 0; I < 1500; ++I) AddRec(Data.get(), {Data->RecordsList()->Count() + 1, AnyName()});
    for (int I = 0; I < 500; ++I) SetValue(View.ViewItems(static_cast<int>(Random() % 1500)), 1, AnyName());
    auto CheckOrder = [&] {
      ASSERT_EQ(View.Count(), Data->RecordsList()->Count());
      for (int I = 1; I < View.Count(); ++I)
        ASSERT_LE(CompareRecordsByOrder(View.ViewItems(I - 1), View.ViewItems(I), View.OrderByList()), 0)
            << (Order[2] == u',' ? "NM" : "NM DESC") << " row " << I;
    };
    CheckOrder();
    View.SetSortOrder(u"ID");
    View.SetSortOrder(Order);
    for (int I = 0; I < 500; ++I) AddRec(Data.get(), {Data->RecordsList()->Count() + 1, AnyName()});
    CheckOrder();
  }
  // The records list grew by appending only (its blocks split at the end): positions hold.
  TRecordsListZk* List = Data->RecordsList();
  for (int I = 0; I < List->Count(); ++I) {
    ASSERT_EQ(List->Items(I)->GetDataValue(0, dvvValueZk).AsInteger(), I + 1);
    ASSERT_EQ(List->IndexOf(List->Items(I)), I);
  }
}

TEST(RecordsViewZk, FilterStatusAndDisabledFilter) {
  auto Data = MakeContainer({{u"ID", ftInteger}});
  TRecordsViewZk View(nullptr);
  View.SetOnFilterRecord([](TMemoryRecordZk* R) { return R->GetDataValue(0, dvvValueZk).AsInteger() < 10; });
  View.SetMemTableData(Data.get());
  for (int V : {1, 2, 3}) AddRec(Data.get(), {V});
  TEventLog Log;
  Log.Attach(View);
  SetValue(Data->RecordsList()->Items(1), 0, 20);
  EXPECT_EQ(Ids(View), (std::vector<int>{1, 3}));
  EXPECT_EQ(Log.Items, std::vector<std::string>{std::to_string(rlnRecDeletedZk) + "@1"});

  Data->RecordsList()->SetCachedUpdates(true);
  Data->RecordsList()->DeleteRecord(0);
  EXPECT_EQ(Ids(View), std::vector<int>{3});
  View.SetStatusFilter({usUnmodified, usModified, usInserted, usDeleted});
  EXPECT_EQ(Ids(View), (std::vector<int>{1, 3}));

  View.InstantDisableFilter();
  AddRec(Data.get(), {4});
  EXPECT_EQ(Ids(View), (std::vector<int>{1, 3}));
  View.InstantEnableFilter();
  View.RefreshFilteredRecsList();
  EXPECT_EQ(Ids(View), (std::vector<int>{1, 3, 4}));
}

// A refresh lets every old row go, also those its walk does not meet (a prefiltered list), so
// no record keeps a link to a freed block of rows; edits still move records in and out.
TEST(RecordsViewZk, RefilterLeavesNoOldRowLinked) {
  auto Data = MakeContainer({{u"ID", ftInteger}});
  TRecordsViewZk View(nullptr);
  int Modulo = 1;
  View.SetOnFilterRecord([&](TMemoryRecordZk* R) { return R->GetDataValue(0, dvvValueZk).AsInteger() % Modulo == 0; });
  std::vector<TMemoryRecordZk*> Pre;
  bool UsePre = false;
  View.SetOnGetPrefilteredList([&]() { return UsePre ? &Pre : nullptr; });
  View.SetMemTableData(Data.get());
  for (int V = 0; V < 1200; ++V) AddRec(Data.get(), {V});
  for (int I = 0; I < 1200; I += 7) Pre.push_back(Data->RecordsList()->Items(I));
  struct TCase { int Modulo; bool UsePre; };
  for (const TCase& C : {TCase{1, false}, TCase{2, true}, TCase{3, false}, TCase{1, true}, TCase{1, false}}) {
    SCOPED_TRACE(std::to_string(C.Modulo) + (C.UsePre ? " pre" : ""));
    Modulo = C.Modulo;
    UsePre = C.UsePre;
    View.RefreshFilteredRecsList();
    int Row = 0;
    for (int V = 0; V < 1200; ++V) {
      TMemoryRecordZk* R = Data->RecordsList()->Items(V);
      const bool Walked = !C.UsePre || V % 7 == 0;
      ASSERT_EQ(View.IndexOf(R), Walked && V % C.Modulo == 0 ? Row++ : -1) << V;
    }
    EXPECT_EQ(View.Count(), Row);
  }
  Modulo = 2;
  SetValue(Data->RecordsList()->Items(5), 0, 6);
  SetValue(Data->RecordsList()->Items(4), 0, 7);
  EXPECT_EQ(View.IndexOf(Data->RecordsList()->Items(5)), 4);
  EXPECT_EQ(View.IndexOf(Data->RecordsList()->Items(4)), -1);
  EXPECT_EQ(View.Count(), 1199);
}

TEST(RecordsViewZk, InsertRecordAtRowCountAppends) {
  auto Data = MakeContainer({{u"ID", ftInteger}});
  TRecordsViewZk View(nullptr);
  View.SetMemTableData(Data.get());
  for (int V : {1, 2}) AddRec(Data.get(), {V});
  TMemoryRecordZk* R = View.NewRecord();
  R->SetDataValue(0, dvvValueZk, 3);
  View.InsertRecord(View.Count(), R);
  TMemoryRecordZk* Front = View.NewRecord();
  Front->SetDataValue(0, dvvValueZk, 0);
  View.InsertRecord(0, Front);
  EXPECT_EQ(Ids(View), (std::vector<int>{0, 1, 2, 3}));
}

TEST(RecordsViewZk, RecordMovesRepositionRows) {
  auto Data = MakeContainer({{u"ID", ftInteger}});
  TRecordsViewZk View(nullptr);
  View.SetMemTableData(Data.get());
  for (int V : {0, 1, 2, 3, 4}) AddRec(Data.get(), {V});
  Data->RecordsList()->Move(4, 1);
  EXPECT_EQ(Ids(View), (std::vector<int>{0, 4, 1, 2, 3}));
  Data->RecordsList()->Move(0, 4);
  EXPECT_EQ(Ids(View), (std::vector<int>{4, 1, 2, 3, 0}));
}

TEST(RecordsViewZk, CalcAggrFieldFunc) {
  auto Data = MakeContainer({{u"V", ftInteger}});
  TRecordsViewZk View(nullptr);
  View.SetMemTableData(Data.get());
  EXPECT_TRUE(View.CalcAggrFieldFunc(u"V", u"AVG").IsNull());
  EXPECT_EQ(View.CalcAggrFieldFunc(u"V", u"SUM").AsInteger(), 0);
  for (Variant V : {Variant(2), Null(), Variant(4)}) AddRec(Data.get(), {V});
  struct TCase {
    const char16_t* Field;
    const char16_t* Func;
    const char16_t* Result;
  };
  const TCase Cases[] = {
      {u"V", u"SUM", u"6"},  {u"V", u"COUNT", u"2"}, {u"V", u"MIN", u"2"},
      {u"V", u"MAX", u"4"},  {u"V", u"AVG", u"2"},   {u"*", u"COUNT", u"3"},
      {u"*", u"SUM", u"Invalid field name: *"},      {u"V", u"sum", u"Unsupported aggrigate function: sum"},
  };
  for (const TCase& C : Cases) {
    String Result;
    try {
      Result = VarToStr(View.CalcAggrFieldFunc(C.Field, C.Func));
    } catch (const Exception& E) {
      Result = E.Message();
    }
    EXPECT_EQ(Result, C.Result) << StringToUtf8(C.Func);
  }
}

// --- record tree --------------------------------------------------------------------------------

struct TTreeFixture {
  std::unique_ptr<TMemTableDataZk> Data = MakeContainer({{u"ID", ftInteger}, {u"PARENT", ftInteger}});
  TRecordsViewZk View{nullptr};
  TTreeFixture(bool FullBuildCheck) {
    View.SetMemTableData(Data.get());
    View.SetTreeViewKeyFieldName(u"ID");
    View.SetTreeViewRefParentFieldName(u"PARENT");
    View.MemoryTreeList()->SetFullBuildCheck(FullBuildCheck);
    View.SetViewAsTreeList(true);
  }
  // "id(children...)" of the whole tree.
  std::string Shape(TBaseTreeNodeZk* Node = nullptr) {
    if (!Node) Node = View.MemoryTreeList()->Root();
    std::string S;
    for (int I = 0; I < Node->Count(); ++I) {
      auto* N = static_cast<TMemRecViewZk*>(Node->Items(I));
      S += std::to_string(N->Rec()->GetDataValue(0, dvvValueZk).AsInteger());
      if (N->Count()) S += "(" + Shape(N) + ")";
      S += " ";
    }
    return S;
  }
};

TEST(MemoryTreeListZk, ArrivalOrdersWithAndWithoutFullBuildCheck) {
  for (bool Full : {false, true}) {
    TTreeFixture T(Full);
    AddRec(T.Data.get(), {2, 1});  // child before its parent
    AddRec(T.Data.get(), {1, Null()});
    AddRec(T.Data.get(), {3, 2});
    AddRec(T.Data.get(), {4, 1});
    EXPECT_EQ(T.Shape(), Full ? "1(2(3 ) 4 ) " : "2(3 ) 1(4 ) ");
    SetValue(T.Data->RecordsList()->Items(0), 1, 1);  // a change re-parents
    EXPECT_EQ(T.Shape(), "1(2(3 ) 4 ) ");
  }
}

TEST(MemoryTreeListZk, LoopsAndDeepChainsAreRefusedBeforeTheChange) {
  TTreeFixture T(true);
  AddRec(T.Data.get(), {1, Null()});
  TMemoryRecordZk* Two = AddRec(T.Data.get(), {2, 1});
  AddRec(T.Data.get(), {3, 2});
  TMemoryRecordZk* One = T.Data->RecordsList()->Items(0);
  for (int Parent : {1, 3}) {
    One->Edit();
    One->SetDataValue(1, dvvValueZk, Parent);
    try {
      One->Post();
      ADD_FAILURE() << "posted";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), u"Reference-loop found");
    }
    One->Cancel();
  }
  EXPECT_EQ(T.Shape(), "1(2(3 ) ) ");
  EXPECT_THROW(AddRec(T.Data.get(), {4, 4}), Exception);
  EXPECT_EQ(T.Data->RecordsList()->Count(), 3);

  // Deleting a parent puts its children at the top level.
  T.Data->RecordsList()->DeleteRecord(Two->Index());
  EXPECT_EQ(T.Shape(), "1 3 ");
}

TEST(MemoryTreeListZk, ChainBeyondMaximumLevelIsRefused) {
  TTreeFixture T(false);
  AddRec(T.Data.get(), {1, Null()});
  for (int I = 2; I <= 1000; ++I) AddRec(T.Data.get(), {I, I - 1});
  try {
    AddRec(T.Data.get(), {1001, 1000});
    ADD_FAILURE() << "added";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"TBaseTreeNodeZk.SetLevel: Max level exceed - 1000");
  }
  EXPECT_EQ(T.Data->RecordsList()->Count(), 1000);
}

TEST(MemoryTreeListZk, VisibleAndAccountableRows) {
  TTreeFixture T(true);
  T.View.SetOnFilterRecord([](TMemoryRecordZk* R) { return R->GetDataValue(0, dvvValueZk).AsInteger() == 3; });
  AddRec(T.Data.get(), {1, Null()});
  AddRec(T.Data.get(), {2, 1});
  AddRec(T.Data.get(), {3, 2});
  AddRec(T.Data.get(), {4, Null()});
  T.View.RefreshFilteredRecsList();
  // Only the grandchild matches: its path stays visible; the root is collapsed.
  EXPECT_EQ(T.View.Count(), 1);
  EXPECT_EQ(T.View.AccountableItemsCount(), 3);
  T.View.MemoryTreeList()->Expand(nullptr, true);
  EXPECT_EQ(Ids(T.View), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(T.View.CalcAggrFieldFunc(u"ID", u"SUM").AsInteger(), 6);
}

}  // namespace
