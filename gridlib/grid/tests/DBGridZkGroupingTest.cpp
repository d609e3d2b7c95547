// DBGridZkGroupingTest.cpp - the grouping engine with a fake host and a fake memory table:
// tree shapes and orders, record operations against a naive sort, instant reads always left,
// and keys that cannot be compared leaving the tree as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "gridlib/grid/DBGridZkGrouping.h"
#include "gridlib/toolkit/MemTableIntfZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

// A memory table reduced to what the engine asks: rows of values and instant reads.
class TFakeTable : public IMemTableZk {
public:
  std::vector<std::vector<Variant>> Rows;
  int CurRow = 0;
  std::vector<int> Instant;  // rows entered, innermost last
  int Enters = 0, Leaves = 0;
  std::vector<int> EnteredRows;

  const Variant& Value(int Col) const { return Rows[Instant.empty() ? CurRow : Instant.back()][Col]; }

  int FetchRecords(int) override { return 0; }
  int GetInstantReadCurRow() override { return Instant.empty() ? CurRow : Instant.back(); }
  bool ReservedQuery() override { return false; }
  bool GetTreeNodeExpanded() override { return false; }
  bool GetTreeNodeHasChildren() override { return false; }
  int GetTreeNodeLevel() override { return -1; }
  int GetPrevNodeLevel() override { return -1; }
  int GetNextNodeLevel() override { return -1; }
  TMemoryRecordZk* GetRec() override { return nullptr; }
  int InstantReadIndexOfBookmark(const TBookmark&) override { return -1; }
  int InstantReadRowCount() override { return static_cast<int>(Rows.size()); }
  bool GetTreeViewMode() override { return false; }
  bool ParentHasNextSibling(int) override { return false; }
  bool GotoRec(TMemoryRecordZk*) override { return false; }
  int SetTreeNodeExpanded(int, bool) override { return -1; }
  std::unique_ptr<IMemTableDataFieldValueListZk> GetFieldValueList(const String&) override {
    return nullptr;
  }
  bool MoveRecords(TBMListZk*, int, int, bool) override { return false; }
  void InstantReadEnter(int RowNum) override {
    Instant.push_back(RowNum);
    EnteredRows.push_back(RowNum);
    ++Enters;
  }
  void InstantReadLeave() override {
    Instant.pop_back();
    ++Leaves;
  }
  void RegisterEventReceiver(TComponent*) override {}
  void UnregisterEventReceiver(TComponent*) override {}
};

// A grouping column: the index of its value in the fake table's rows.
class TFakeColumn : public TPersistent {
public:
  explicit TFakeColumn(int AIndex) : Index(AIndex) {}
  int Index;
};

class TFakeHost : public IGridDataGroupsHostZk {
public:
  TFakeTable Table;
  TDataSet* DataSet = nullptr;
  TFont GridFont;
  int FlatChanges = 0, Repaints = 0, PanelChanges = 0;
  std::vector<int> RepaintedRows;

  IMemTableZk* GroupingMemTable() override { return &Table; }
  TDataSet* GroupingDataSet() override { return DataSet; }
  bool GroupingLinkActive() override { return true; }
  TField* GroupingColumnField(TPersistent*) override { return nullptr; }
  TColor GroupingGridColor() override { return clYellow; }
  TFont* GroupingGridFont() override { return &GridFont; }
  void GroupingInvalidate() override { ++Repaints; }
  void GroupingFlatListChanged() override { ++FlatChanges; }
  void GroupingInvalidateRow(int FlatIndex) override { RepaintedRows.push_back(FlatIndex); }
  int GroupingGroupRowHeight(TGroupDataTreeNodeZk*) override { return 20; }
  int GroupingDataRowHeight() override { return 17; }
  void GroupingUpdateAllRowHeights() override {}
  void GroupingPanelChanged() override { ++PanelChanges; }
};

}  // namespace

// The level reads its key from the fake table, as the grid's level reads its column's field.
class TTestGroupLevel : public TGridDataGroupLevelZk {
  VORENTA_CLASS(TTestGroupLevel, TGridDataGroupLevelZk)
public:
  using TGridDataGroupLevelZk::TGridDataGroupLevelZk;
  void GetKeyValue(Variant& KeyValue) override {
    auto* Col = static_cast<TFakeColumn*>(Column());
    KeyValue = static_cast<TFakeHost*>(Host())->Table.Value(Col->Index);
  }
};
REGISTER_CLASS(TTestGroupLevel) {}

namespace {

// Settings whose structure change rebuilds the tree keeping its groups, as the grid does.
class TTestGroups : public TGridDataGroupsZk {
public:
  explicit TTestGroups(TFakeHost* Host)
      : TGridDataGroupsZk(nullptr, Host, TTestGroupLevel::ClassInfo()) {}
  int StructureChanges = 0;
  void GroupStructureChanged() override {
    ++StructureChanges;
    GroupDataTree()->RebuildDataTreeEx(Host()->GroupingMemTable());
  }
};

class GroupingEngine : public ::testing::Test {
protected:
  TFakeHost Host;
  TTestGroups Groups{&Host};
  TFakeColumn Col0{0}, Col1{1};

  TGridGroupDataTreeZk* Tree() { return Groups.GroupDataTree(); }
  TGridDataGroupLevelZk* AddLevel(TFakeColumn* Column, TSortOrderZk Order = soAscZk) {
    TGridDataGroupLevelZk* Level = Groups.GroupLevels()->Add();
    Level->SetSortOrder(Order);
    Level->SetColumn(Column);
    return Level;
  }
  void Rows(std::initializer_list<std::vector<Variant>> Values) { Host.Table.Rows = Values; }
  void Rebuild(bool Expanded = true) {
    Groups.SetDefaultStateExpanded(Expanded);
    Tree()->RebuildDataTree(&Host.Table);
  }
  // The flat visible list: group rows as "key(count)", record rows as "#row".
  String Flat() {
    String S;
    for (int I = 0; I < Tree()->FlatVisibleCount(); ++I) {
      TGroupDataTreeNodeZk* N = Tree()->FlatVisibleItem(I);
      if (!S.empty()) S += u" ";
      if (N->NodeType() == dntDataGroupZk)
        S += String(N->Level() - 1, u'.') + VarToStrDef(N->KeyValue(), u"<Null>") + u"(" +
             IntToStr(N->Count()) + u")";
      else
        S += u"#" + IntToStr(N->DataSetRecordViewNo());
    }
    return S;
  }
  // Every node in depth-first order, with its key, for comparing whole trees.
  String Dump() {
    String S;
    for (TGroupDataTreeNodeZk* N = Tree()->FirstNode(); N; N = Tree()->NextNode(N)) {
      S += IntToStr(N->Level()) + u":" + VarToStrDef(N->KeyValue(), u"<Null>");
      if (N->NodeType() == dntDataSetRecordZk) {
        S += u"[";
        for (int I = 0; I < N->FullKey().ArrayLength(); ++I)
          S += VarToStrDef(N->FullKey()[I], u"<Null>") + u",";
        S += u"]";
      }
      S += N->Expanded() ? u"+ " : u" ";
    }
    return S;
  }
};

TEST_F(GroupingEngine, WithoutActiveLevelsTheRecordsAreTheRootsChildrenInViewOrder) {
  Rows({{u"B"}, {u"A"}, {u"C"}});
  Rebuild();
  EXPECT_EQ(Flat(), u"#0 #1 #2");
  EXPECT_EQ(Tree()->RootNode()->Count(), 3);
}

// Two levels, a Null key first, descending order, and a re-sort that touches one level only.
TEST_F(GroupingEngine, GroupsNestAndFollowEachLevelsSortOrder) {
  Rows({{u"A", 1}, {u"B", 1}, {u"A", 2}, {Null(), 5}, {u"A", 1}});
  TGridDataGroupLevelZk* L1 = AddLevel(&Col0);
  TGridDataGroupLevelZk* L2 = AddLevel(&Col1);
  Rebuild();
  EXPECT_EQ(Flat(), u"<Null>(1) .5(1) #3 A(2) .1(2) #0 #4 .2(1) #2 B(1) .1(1) #1");

  L1->SetSortOrder(soDescZk);
  EXPECT_EQ(Flat(), u"B(1) .1(1) #1 A(2) .1(2) #0 #4 .2(1) #2 <Null>(1) .5(1) #3");
  L2->SetSortOrder(soDescZk);
  EXPECT_EQ(Flat(), u"B(1) .1(1) #1 A(2) .2(1) #2 .1(2) #0 #4 <Null>(1) .5(1) #3");
  // A rebuild under the new orders places the same way as the re-sorts did.
  Rebuild();
  EXPECT_EQ(Flat(), u"B(1) .1(1) #1 A(2) .2(1) #2 .1(2) #0 #4 <Null>(1) .5(1) #3");
}

TEST_F(GroupingEngine, CollapsedByDefaultShowsTheFirstLevelAndLevelsExpandOrCollapseAsOne) {
  Rows({{u"A", 1}, {u"B", 1}, {u"A", 2}});
  TGridDataGroupLevelZk* L1 = AddLevel(&Col0);
  TGridDataGroupLevelZk* L2 = AddLevel(&Col1);
  Rebuild(false);
  EXPECT_EQ(Flat(), u"A(2) B(1)");
  EXPECT_EQ(Tree()->IndexOfVisibleRecordViewNo(0), -1);
  L1->ExtractNodes();
  EXPECT_EQ(Flat(), u"A(2) .1(1) .2(1) B(1) .1(1)");
  L2->ExtractNodes();
  EXPECT_EQ(Flat(), u"A(2) .1(1) #0 .2(1) #2 B(1) .1(1) #1");
  EXPECT_EQ(Tree()->IndexOfVisibleRecordViewNo(0), 2);  // behind two group rows
  L1->CollapseNodes();
  EXPECT_EQ(Flat(), u"A(2) B(1)");
  // Expanding one node outside an update brings its rows into the flat list.
  Tree()->RootNode()->Items(1)->SetExpanded(true);
  EXPECT_EQ(Flat(), u"A(2) B(1) .1(1) #1");
}

// Changed, deleted and inserted rows, one at a time, against a tree rebuilt from scratch.
TEST_F(GroupingEngine, RecordOperationsKeepTheTreeAsARebuildWouldMakeIt) {
  std::mt19937 Random(7);
  auto Key = [&] {
    const int K = static_cast<int>(Random() % 5);
    return K == 0 ? Null() : Variant(K);
  };
  for (int I = 0; I < 60; ++I) Host.Table.Rows.push_back({Key(), Key()});
  AddLevel(&Col0, soDescZk);
  AddLevel(&Col1);
  Rebuild();
  // The flat list equals the rows sorted by level 1 descending, level 2 ascending, row.
  auto Naive = [&] {
    std::vector<int> Order(Host.Table.Rows.size());
    for (size_t I = 0; I < Order.size(); ++I) Order[I] = static_cast<int>(I);
    auto Rank = [](const Variant& V) { return V.IsNull() ? -1 : V.AsInteger(); };
    std::stable_sort(Order.begin(), Order.end(), [&](int A, int B) {
      const auto& RA = Host.Table.Rows[A];
      const auto& RB = Host.Table.Rows[B];
      if (Rank(RA[0]) != Rank(RB[0])) return Rank(RA[0]) > Rank(RB[0]);
      return Rank(RA[1]) < Rank(RB[1]);
    });
    return Order;
  };
  auto Records = [&] {
    std::vector<int> Order;
    for (int I = 0; I < Tree()->FlatVisibleCount(); ++I)
      if (Tree()->FlatVisibleItem(I)->NodeType() == dntDataSetRecordZk)
        Order.push_back(Tree()->FlatVisibleItem(I)->DataSetRecordViewNo());
    return Order;
  };
  ASSERT_EQ(Records(), Naive());

  for (int Step = 0; Step < 200; ++Step) {
    auto& R = Host.Table.Rows;
    const int Row = static_cast<int>(Random() % R.size());
    switch (Random() % 3) {
      case 0:
        R[Row][Random() % 2] = Key();
        Tree()->RecordChanged(Row);
        break;
      case 1:
        if (R.size() < 10) continue;
        R.erase(R.begin() + Row);
        Tree()->RecordDeleted(Row);
        break;
      default:
        R.insert(R.begin() + Row, {Key(), Key()});
        Tree()->RecordInserted(Row);
        break;
    }
    // New groups come collapsed on no path: open everything before comparing.
    Tree()->ExpandLevel(1);
    Tree()->ExpandLevel(2);
    const String Incremental = Dump();
    ASSERT_EQ(Records(), Naive()) << "step " << Step;
    Rebuild();
    ASSERT_EQ(Incremental, Dump()) << "step " << Step;
  }
  EXPECT_EQ(Host.Table.Enters, Host.Table.Leaves);
}

TEST_F(GroupingEngine, AChangedKeyMovesTheRowAndAnEmptiedGroupGoes) {
  Rows({{u"Kiev"}, {u"Lviv"}, {u"Kiev"}});
  AddLevel(&Col0);
  Rebuild();
  Host.Table.Rows[1][0] = u"Kiev";
  Tree()->RecordChanged(1);
  EXPECT_EQ(Flat(), u"Kiev(3) #0 #1 #2");
  // An unchanged key only repaints the row.
  Tree()->RecordChanged(2);
  EXPECT_EQ(Host.RepaintedRows, std::vector<int>{3});

  Host.Table.Rows.erase(Host.Table.Rows.begin());
  Tree()->RecordDeleted(0);
  EXPECT_EQ(Flat(), u"Kiev(2) #0 #1");
  Host.Table.Rows.clear();
  Tree()->RecordDeleted(0);
  Tree()->RecordDeleted(0);
  EXPECT_EQ(Flat(), u"");
  EXPECT_EQ(Tree()->RootNode()->Count(), 0);
}

// A record inserted while the dataset inserts takes the group it was inserted into, with its
// own row number, and the collapsed path to it opens.
TEST_F(GroupingEngine, AnInsertedRecordJoinsTheInsertingGroupAndComesIntoView) {
  Rows({{u"Kiev", 1}, {u"Lviv", 2}});
  AddLevel(&Col0);
  AddLevel(&Col1);
  Rebuild(false);
  Groups.SetInsertingKeyValue(Groups.GetKeyValueForViewRecNo(1));  // the Lviv group

  TArrayDataSet DataSet(nullptr);
  DataSet.FieldDefs()->Add(u"A", ftInteger);
  DataSet.Open();
  DataSet.Insert();
  Host.DataSet = &DataSet;
  Host.Table.Rows.insert(Host.Table.Rows.begin(), {Null(), Null()});  // not filled in yet
  Host.Table.CurRow = 0;
  Tree()->RecordInserted(0);
  EXPECT_EQ(Flat(), u"Kiev(1) Lviv(1) .2(2) #0 #2");
  TGroupDataTreeNodeZk* Node = Tree()->GetNodeByRecordViewNo(0);
  EXPECT_EQ(VarToStr(Node->FullKey()[0]), u"Lviv");
  EXPECT_EQ(Node->FullKey()[2].AsInteger(), 0);
  EXPECT_TRUE(VarIsEmpty(Groups.InsertingKeyValue()));
  DataSet.Cancel();
}

TEST_F(GroupingEngine, InstantReadsArePairedAndARebuildReadsEachRowOnce) {
  Rows({{u"A"}, {u"B"}, {u"A"}, {u"C"}});
  AddLevel(&Col0);
  Rebuild();
  EXPECT_EQ(Host.Table.EnteredRows.size(), 4u + 4u);  // the rows, then the record row heights
  Host.Table.Rows[0][0] = u"C";
  Tree()->RecordChanged(0);
  Host.Table.Rows.push_back({u"B"});
  Tree()->RecordInserted(4);
  Tree()->UpdateAllDataRowHeights();
  EXPECT_EQ(Host.Table.Enters, Host.Table.Leaves);
  EXPECT_TRUE(Host.Table.Instant.empty());
  EXPECT_EQ(Tree()->RootNode()->Items(0)->RowHeight(), 20);
  EXPECT_EQ(Tree()->RootNode()->Items(0)->Items(0)->RowHeight(), 17);
}

// A key that cannot be compared with its neighbours raises; the tree, the update count and
// the instant reads are as they were.
TEST_F(GroupingEngine, IncomparableKeysRaiseWithTheTreeIntact) {
  Rows({{1}, {Null()}, {3}});
  AddLevel(&Col0);
  Rebuild();
  const String Before = Dump();

  // Null compares with anything: the new key passes the check and fails where it is placed.
  Host.Table.Rows[1][0] = u"Kiev";
  EXPECT_ANY_THROW(Tree()->RecordChanged(1));
  EXPECT_EQ(Dump(), Before);
  EXPECT_EQ(Flat(), u"<Null>(1) #1 1(1) #0 3(1) #2");

  Host.Table.Rows.insert(Host.Table.Rows.begin(), {u"Odesa"});
  EXPECT_ANY_THROW(Tree()->RecordInserted(0));
  EXPECT_EQ(Dump(), Before);
  Host.Table.Rows.erase(Host.Table.Rows.begin());

  EXPECT_ANY_THROW(Rebuild());
  EXPECT_EQ(Tree()->RootNode()->Count(), 0);
  EXPECT_EQ(Tree()->FlatVisibleCount(), 0);
  EXPECT_EQ(Tree()->UpdateCount(), 0);
  EXPECT_EQ(Host.Table.Enters, Host.Table.Leaves);
}

// Swapping two levels cuts the tree back to the first level that differs and, while active,
// rebuilds from there; groups above the cut keep their expanded state.
TEST_F(GroupingEngine, ChangedLevelsCutTheTreeBackToTheFirstDifference) {
  TFakeColumn Col2{2};
  Rows({{u"A", 1, u"x"}, {u"A", 2, u"y"}, {u"B", 1, u"x"}});
  AddLevel(&Col0);
  AddLevel(&Col1);
  TGridDataGroupLevelZk* L3 = AddLevel(&Col2);
  Groups.SetActive(true);
  Rebuild(false);
  Tree()->RootNode()->Items(0)->SetExpanded(true);  // A
  Groups.StructureChanges = 0;

  L3->SetIndex(1);  // levels 0, 2, 1
  EXPECT_EQ(Groups.StructureChanges, 1);
  EXPECT_EQ(Flat(), u"A(2) .x(1) .y(1) B(1)");

  Groups.GroupLevels()->Items(1)->SetIndex(0);  // levels 2, 0, 1: everything goes
  EXPECT_EQ(Groups.StructureChanges, 2);
  EXPECT_EQ(Flat(), u"x(2) y(1)");

  // A level without a column takes no part and changes nothing.
  Groups.GroupLevels()->Add();
  EXPECT_EQ(Groups.StructureChanges, 2);
  EXPECT_EQ(Groups.ActiveGroupLevelsCount(), 3);
}

TEST_F(GroupingEngine, FontsAndColoursFollowTheirParentsUntilSet) {
  TGridDataGroupLevelZk* L = AddLevel(&Col0);
  Host.GridFont.SetSize(14);
  EXPECT_EQ(L->Font()->Size(), 14);
  EXPECT_EQ(L->Color(), clYellow);
  Groups.SetColor(clRed);
  EXPECT_EQ(L->Color(), clRed);
  L->Font()->SetSize(9);
  EXPECT_FALSE(L->ParentFont());
  Host.GridFont.SetSize(20);
  EXPECT_EQ(L->Font()->Size(), 9);
  EXPECT_EQ(Groups.Font()->Size(), 20);
}

}  // namespace
