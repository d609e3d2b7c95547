// MemTableZkTest.cpp - the memory table as a dataset: navigation, bookmarks, editing, order,
// filter, Locate and Lookup, links that go away, and the grid contract (instant read, view
// events checked against a grid that rebuilds its rows from them).
#include "gridlib/memtable/MemTableZk.h"

#include <gtest/gtest.h>

#include <random>

#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MTIndexZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/RefObjectField.h"
#include "gridlib/toolkit/BMListZk.h"
#include "platform/classes/Streams.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/IndexDefs.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

// A grid stand-in: keeps the IDs of its rows, changed only by the table's view events and
// read through instant read as the grid does.
class TRecordingGrid : public TComponent, public IMTViewEventReceiverZk {
public:
  explicit TRecordingGrid(TCustomMemTableZk* ATable) : TComponent(nullptr), Table(ATable) {
    Table->RegisterEventReceiver(this);
  }
  void MTViewDataEvent(int RowNum, TMTViewEventTypeZk Event, int OldRowNum) override {
    Events.push_back({RowNum, Event, OldRowNum});
    switch (Event) {
      case mtRowInsertedZk: Rows.insert(Rows.begin() + RowNum, Read(RowNum)); break;
      case mtRowChangedZk: Rows.at(static_cast<std::size_t>(RowNum)) = Read(RowNum); break;
      case mtRowDeletedZk: Rows.erase(Rows.begin() + RowNum); break;
      case mtRowMovedZk:
        Rows.erase(Rows.begin() + OldRowNum);
        Rows.insert(Rows.begin() + RowNum, Read(RowNum));
        break;
      case mtViewDataChangedZk: Rebuild(); break;
    }
  }
  int Read(int Row) {
    Table->InstantReadEnter(Row);
    const Variant V = Table->FieldByName(u"ID")->AsVariant();
    Table->InstantReadLeave();
    return V.IsNull() ? -1 : V.AsInteger();
  }
  void Rebuild() {
    Rows.clear();
    for (int I = 0; I < Table->InstantReadRowCount(); ++I) Rows.push_back(Read(I));
  }
  struct TEvent {
    int Row;
    TMTViewEventTypeZk Event;
    int Old;
    bool operator==(const TEvent&) const = default;
  };
  TCustomMemTableZk* Table;
  std::vector<int> Rows;
  std::vector<TEvent> Events;
};

std::vector<int> TableIds(TDataSet& T) {
  std::vector<int> Ids;
  TBookmark Saved = T.Bookmark();
  T.DisableControls();
  for (T.First(); !T.Eof(); T.Next()) Ids.push_back(T.FieldByName(u"ID")->AsInteger());
  if (!Saved.empty() && T.BookmarkValid(Saved)) T.GotoBookmark(Saved);
  T.EnableControls();
  return Ids;
}

class MemTableTest : public ::testing::Test {
protected:
  void SetUp() override {
    Table = std::make_unique<TMemTableZk>(nullptr);
    Table->SetName(u"MT");
    Table->FieldDefs()->Add(u"ID", ftInteger, 0, true);
    Table->FieldDefs()->Add(u"NM", ftWideString, 10);
    Table->CreateDataSet();
  }
  void Fill(std::initializer_list<std::pair<int, const char16_t*>> Rows) {
    for (auto& R : Rows) Table->AppendRecord({R.first, String(R.second)});
  }
  std::unique_ptr<TMemTableZk> Table;
};

TEST_F(MemTableTest, NavigationBookmarksNameRowsAndOutOfRangeRecNoDoesNothing) {
  Fill({{1, u"a"}, {2, u"b"}, {3, u"c"}, {4, u"d"}, {5, u"e"}});
  EXPECT_EQ(Table->RecordCount(), 5);
  Table->SetRecNo(5);
  const TBookmark Fifth = Table->Bookmark();
  EXPECT_EQ(TCustomMemTableZk::BookmarkToRecNo(Fifth), 5);
  Table->First();
  Table->Insert();
  Table->FieldByName(u"ID")->SetAsInteger(0);
  Table->Post();
  Table->GotoBookmark(Fifth);  // a bookmark names a row: now the record that moved down to it
  EXPECT_EQ(Table->FieldByName(u"ID")->AsInteger(), 4);
  for (int Bad : {0, 7}) EXPECT_FALSE(Table->BookmarkValid(TCustomMemTableZk::RecNoToBookmark(Bad)));
  EXPECT_EQ(Table->CompareBookmarks({}, Fifth), -1);
  EXPECT_EQ(Table->CompareBookmarks(Fifth, {}), 1);
  try {
    Table->GotoBookmark(TCustomMemTableZk::RecNoToBookmark(9));
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"MT: Record not found");
  }
  Table->SetRecNo(2);
  for (int Bad : {0, 7}) {
    Table->SetRecNo(Bad);
    EXPECT_EQ(Table->RecNo(), 2);
  }
  Table->EmptyTable();
  EXPECT_TRUE(Table->IsEmpty());
  EXPECT_EQ(Table->RecNo(), -1);
}

TEST_F(MemTableTest, AppendGoesLastInsertBeforeCurrentAndPostFollowsTheSortOrder) {
  Fill({{1, u"b"}, {2, u"d"}});
  Table->First();
  Table->Insert();
  Table->FieldByName(u"ID")->SetAsInteger(3);
  Table->FieldByName(u"NM")->SetAsString(u"c");
  Table->Post();
  EXPECT_EQ(TableIds(*Table), (std::vector<int>{3, 1, 2}));
  Table->SetSortOrder(u"NM DESC");
  EXPECT_EQ(TableIds(*Table), (std::vector<int>{2, 3, 1}));
  Table->Append();
  Table->FieldByName(u"ID")->SetAsInteger(4);
  Table->FieldByName(u"NM")->SetAsString(u"z");
  Table->Post();
  EXPECT_EQ(Table->RecNo(), 1);  // the sorted position of the posted record
  EXPECT_THROW(Table->SetSortOrder(u"NM DESCENDING"), Exception);
  EXPECT_EQ(Table->SortOrder(), u"NM DESC");
  EXPECT_EQ(TableIds(*Table), (std::vector<int>{4, 2, 3, 1}));
}

TEST_F(MemTableTest, PostChecksRequiredFieldsAndCancelLeavesRecordsAlone) {
  Fill({{1, u"a"}});
  Table->Append();
  Table->FieldByName(u"NM")->SetAsString(u"x");
  EXPECT_THROW(Table->Post(), EDatabaseError);
  Table->Cancel();
  Table->Edit();
  Table->FieldByName(u"NM")->SetAsString(u"changed");
  Table->Cancel();
  EXPECT_EQ(Table->FieldByName(u"NM")->AsString(), u"a");
  EXPECT_EQ(Table->RecordCount(), 1);
}

TEST_F(MemTableTest, SetRecNoPostsThePendingEditFirst) {
  Fill({{1, u"a"}, {2, u"b"}, {3, u"c"}});
  Table->SetRecNo(2);
  Table->Edit();
  Table->FieldByName(u"NM")->SetAsString(u"B");
  Table->SetRecNo(3);
  EXPECT_EQ(Table->State(), dsBrowse);
  EXPECT_EQ(Table->RecordCount(), 3);
  Table->SetRecNo(2);
  EXPECT_EQ(Table->FieldByName(u"NM")->AsString(), u"B");
}

TEST_F(MemTableTest, CachedUpdatesLogAndCancelAndApplyWithoutDriverMerges) {
  Fill({{1, u"a"}, {2, u"b"}});
  Table->SetCachedUpdates(true);
  Table->First();
  Table->Edit();
  Table->FieldByName(u"NM")->SetAsString(u"A");
  Table->Post();
  EXPECT_EQ(Table->UpdateStatus(), usModified);
  Table->CancelUpdates();
  EXPECT_EQ(Table->FieldByName(u"NM")->AsString(), u"a");
  Table->Delete();
  EXPECT_EQ(Table->RecordCount(), 1);
  EXPECT_EQ(Table->ApplyUpdates(-1), 0);
  EXPECT_FALSE(Table->MemTableData()->RecordsList()->HasCachedChanges());
  EXPECT_EQ(TableIds(*Table), std::vector<int>{2});
}

TEST_F(MemTableTest, FilterTextThatFailsToParseKeepsThePreviousOne) {
  Fill({{1, u"a"}, {2, u"b"}, {3, u"c"}});
  Table->SetFilter(u"ID > 1");
  Table->SetFilteredValue(true);
  EXPECT_EQ(TableIds(*Table), (std::vector<int>{2, 3}));
  EXPECT_THROW(Table->SetFilter(u"ID >"), Exception);
  EXPECT_EQ(Table->Filter(), u"ID > 1");
  EXPECT_EQ(TableIds(*Table), (std::vector<int>{2, 3}));
  Table->SetFilteredValue(false);
  EXPECT_EQ(Table->RecordCount(), 3);
}

TEST_F(MemTableTest, LocateAndLookupCases) {
  Fill({{1, u"ABC"}, {2, u"abd"}, {3, u"xyz"}});
  struct {
    const char16_t* Key;
    TLocateOptions Options;
    int Found;  // ID, or 0 for none
  } Cases[] = {
      {u"ab", {loPartialKey, loCaseInsensitive}, 1},
      {u"ab", {loPartialKey}, 2},
      {u"abc", {loCaseInsensitive}, 1},
      {u"abc", {}, 0},
  };
  for (const auto& C : Cases) {
    Table->Last();
    EXPECT_EQ(Table->Locate(u"NM", String(C.Key), C.Options), C.Found != 0) << std::string(C.Key, C.Key + 3);
    if (C.Found) {
      EXPECT_EQ(Table->FieldByName(u"ID")->AsInteger(), C.Found);
    }
  }
  EXPECT_TRUE(Table->Locate(u"ID;NM", VarArrayOf({3, u"xyz"}), {}));
  EXPECT_TRUE(Table->Lookup(u"ID", 9, u"NM").IsEmpty());
  EXPECT_EQ(Table->Lookup(u"ID", 2, u"NM").AsString(), u"abd");
  EXPECT_THROW(Table->Locate(u"NOPE", 1, {}), EDatabaseError);
}

TEST(MemTableIndex, LocateThroughAnIndexAnswersTheSmallestVisibleRowAndOpensRebuildIndexes) {
  TMemTableZk Table(nullptr);
  Table.FieldDefs()->Add(u"ID", ftInteger);
  Table.FieldDefs()->Add(u"GRP", ftInteger);
  Table.IndexDefs()->Add(u"BY_GRP", u"GRP", {});
  Table.CreateDataSet();
  for (int I = 1; I <= 4; ++I) Table.AppendRecord({I, I % 2});
  Table.SetFilter(u"ID > 1");
  Table.SetFilteredValue(true);
  ASSERT_TRUE(Table.Locate(u"GRP", 1, {}));  // ID 1 is hidden: ID 3 answers
  EXPECT_EQ(Table.FieldByName(u"ID")->AsInteger(), 3);
  Table.Close();
  Table.Open();
  Table.Close();
  Table.Open();
  EXPECT_EQ(Table.MemTableData()->RecordsList()->Indexes()->Count(), 1);
}

TEST_F(MemTableTest, MoveRecordsBeforeARowOrToTheEnd) {
  for (int I = 0; I < 10; ++I) Table->AppendRecord({I, String(u"r") + IntToStr(I)});
  struct {
    std::vector<int> Rows;  // 1-based bookmarks
    int To;
    std::vector<int> Expected;
  } Cases[] = {
      {{3, 4}, 7, {0, 1, 4, 5, 6, 2, 3, 7, 8, 9}},
      {{1}, 10, {1, 4, 5, 6, 2, 3, 7, 8, 9, 0}},
      {{10}, 1, {0, 1, 4, 5, 6, 2, 3, 7, 8, 9}},
  };
  for (const auto& C : Cases) {
    TBMListZk List;
    for (int Row : C.Rows) List.AppendItem(std::make_shared<const TBookmark>(TCustomMemTableZk::RecNoToBookmark(Row)));
    EXPECT_TRUE(Table->MoveRecords(&List, C.To, 0, true));
    EXPECT_TRUE(Table->MoveRecords(&List, C.To, 0, false));
    EXPECT_EQ(TableIds(*Table), C.Expected);
  }
  TBMListZk List;
  List.AppendItem(std::make_shared<const TBookmark>(TCustomMemTableZk::RecNoToBookmark(1)));
  for (int Bad : {0, 11}) EXPECT_FALSE(Table->MoveRecords(&List, Bad, 0, true));
}

TEST(MemTableValueList, DistinctValuesInValueOrderAndPostedChangesSeen) {
  TMemTableZk Table(nullptr);
  Table.FieldDefs()->Add(u"N", ftInteger);
  Table.FieldDefs()->Add(u"S", ftWideString, 10);
  Table.CreateDataSet();
  Table.AppendRecord({10, u"b"});
  Table.AppendRecord({9, u"A"});
  Table.AppendRecord({10, u"a"});
  auto Numbers = Table.GetFieldValueList(u"N");
  auto Texts = Table.GetFieldValueList(u"S");
  EXPECT_EQ(Numbers->GetValues()->CommaText(), u"9,10");
  EXPECT_EQ(Texts->GetValues()->CommaText(), u"A,b");
  Table.First();
  Table.Edit();
  Table.FieldByName(u"N")->SetAsInteger(8);
  Table.Post();
  EXPECT_EQ(Numbers->GetValues()->CommaText(), u"8,9,10");
  EXPECT_EQ(Table.GetFieldValueList(u"NOPE"), nullptr);
}

// The grid narrows a column's list by the other columns' conditions through the filter text.
TEST(MemTableValueList, OnlyRecordsPassingTheFilterGiveValues) {
  TMemTableZk Table(nullptr);
  Table.FieldDefs()->Add(u"N", ftInteger);
  Table.FieldDefs()->Add(u"S", ftWideString, 10);
  Table.CreateDataSet();
  for (auto [N, S] : {std::pair{10, u"b"}, {9, u"c"}, {10, u"a"}, {11, u"d"}})
    Table.AppendRecord({N, S});
  auto Texts = Table.GetFieldValueList(u"S");
  Texts->SetFilter(u"N = 10");
  EXPECT_EQ(Texts->GetValues()->CommaText(), u"a,b");
  Texts->SetFilter(u"(N >= 10) and (S <> 'b')");
  EXPECT_EQ(Texts->GetValues()->CommaText(), u"a,d");
  Texts->SetFilter(u"");
  EXPECT_EQ(Texts->GetValues()->CommaText(), u"a,b,c,d");
  EXPECT_ANY_THROW(Texts->SetFilter(u"N = = 1"));
}

TEST_F(MemTableTest, InstantReadAroundTheVirtualInsertRow) {
  Fill({{1, u"a"}, {2, u"b"}, {3, u"c"}});
  Table->SetRecNo(2);
  Table->Insert();
  Table->FieldByName(u"ID")->SetAsInteger(9);
  EXPECT_EQ(Table->InstantReadRowCount(), 4);
  const int Virtual = Table->GetInstantReadCurRow();
  EXPECT_EQ(Virtual, 1);
  std::vector<int> Seen;
  for (int Row = 0; Row < 4; ++Row) {
    Table->InstantReadEnter(Row);
    Seen.push_back(Table->FieldByName(u"ID")->AsInteger());
    Table->InstantReadLeave();
  }
  EXPECT_EQ(Seen, (std::vector<int>{1, 9, 2, 3}));
  Table->Cancel();
  EXPECT_THROW(Table->InstantReadLeave(), Exception);
}

TEST_F(MemTableTest, EventsWhileControlsAreDisabledCoalesce) {
  Fill({{1, u"a"}});
  TRecordingGrid Grid(Table.get());
  Grid.Rebuild();
  Table->DisableControls();
  for (int I = 2; I <= 11; ++I) Table->AppendRecord({I, u"x"});
  Grid.Events.clear();
  Table->EnableControls();
  ASSERT_EQ(Grid.Events.size(), 1u);
  EXPECT_EQ(Grid.Events[0].Event, mtViewDataChangedZk);
  EXPECT_EQ(Grid.Rows, TableIds(*Table));

  Table->DisableControls();
  Table->First();
  Table->Edit();
  Table->FieldByName(u"NM")->SetAsString(u"y");
  Table->Post();
  Grid.Events.clear();
  Table->EnableControls();
  ASSERT_EQ(Grid.Events.size(), 1u);  // the one stored event is replayed as it was
  EXPECT_EQ(Grid.Events[0], (TRecordingGrid::TEvent{0, mtRowChangedZk, -1}));
}

TEST_F(MemTableTest, FreedReceiverAndFreedExternalTableAreForgotten) {
  Fill({{1, u"a"}});
  {
    TRecordingGrid Grid(Table.get());
  }
  Table->AppendRecord({2, u"b"});  // would reach the freed receiver
  auto Shower = std::make_unique<TMemTableZk>(nullptr);
  Shower->SetExternalMemData(Table.get());
  Shower->Open();
  EXPECT_EQ(Shower->RecordCount(), 2);
  EXPECT_THROW(Shower->SetExternalMemData(Shower.get()), Exception);
  Table.reset();
  EXPECT_FALSE(Shower->Active());
  EXPECT_EQ(Shower->ExternalMemData(), nullptr);
}

// Fields of a table made from field definitions alone are shown (a grid over it has columns);
// a definition hidden in the structure hides its field at the next open.
TEST_F(MemTableTest, FieldsFollowTheirDefinitionsVisibility) {
  for (int I = 0; I < Table->FieldCount(); ++I) EXPECT_TRUE(Table->Fields()->Fields(I)->Visible()) << I;
  Table->Close();
  Table->MemTableData()->DataStruct()->FindField(u"NM")->SetVisible(false);
  Table->Open();
  EXPECT_TRUE(Table->FieldByName(u"ID")->Visible());
  EXPECT_FALSE(Table->FieldByName(u"NM")->Visible());
}

// Made from persistent fields alone: a type the records cannot hold is refused and the table
// stays closed; the field whose values are generated numbers new records.
TEST(MemTableCreate, FromPersistentFieldsChecksTypesAndMarksTheGeneratedField) {
  TMemTableZk Table(nullptr);
  Table.SetName(u"MT");
  auto* Id = new TIntegerField(&Table);
  Id->SetFieldName(u"ID");
  Id->SetAutoGenerateValue(arAutoInc);
  Id->SetDataSet(&Table);
  auto* Memo = new TWideMemoField(&Table);
  Memo->SetFieldName(u"NOTE");
  Memo->SetDataSet(&Table);
  auto* Ref = new TReferenceField(&Table);
  Ref->SetFieldName(u"REF");
  Ref->SetDisplayLabel(u"Ссылка");
  Ref->SetDataSet(&Table);
  try {
    Table.CreateDataSet();
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"MT: Field 'Ссылка' is of an unknown type");
  }
  EXPECT_FALSE(Table.Active());
  EXPECT_EQ(Table.MemTableData()->DataStruct()->Count(), 0);

  delete Ref;
  Table.CreateDataSet();
  Table.Append();
  Table.FieldByName(u"NOTE")->SetAsString(u"жёлтый");
  Table.Post();
  EXPECT_EQ(Table.FieldByName(u"ID")->AsInteger(), -1);
  EXPECT_EQ(Table.FieldByName(u"NOTE")->AsString(), u"жёлтый");
}

TEST(MemTableOpen, WithoutStructureOrDriverRaisesNoData) {
  TMemTableZk Table(nullptr);
  Table.SetName(u"MT");
  try {
    Table.Open();
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"MT: MemTable don't have data.");
  }
  EXPECT_FALSE(Table.Active());
}

// Random edits, sorts and filters: after each step the rows a grid rebuilds from the view
// events alone equal the table's rows.
TEST(MemTableProperty, GridRowsFollowTheViewEvents) {
  for (unsigned Seed : {1u, 2u, 3u}) {
    TMemTableZk Table(nullptr);
    Table.FieldDefs()->Add(u"ID", ftInteger);
    Table.FieldDefs()->Add(u"NM", ftWideString, 10);
    Table.CreateDataSet();
    TRecordingGrid Grid(&Table);
    Grid.Rebuild();
    std::mt19937 Random(Seed);
    int NextId = 1;
    for (int Step = 0; Step < 150; ++Step) {
      const int Op = static_cast<int>(Random() % 9);
      const String Name = String(1, static_cast<char16_t>(u'a' + Random() % 5));
      if (Op <= 2) {
        if (Op == 0) Table.Append(); else Table.Insert();
        Table.FieldByName(u"ID")->SetAsInteger(NextId++);
        Table.FieldByName(u"NM")->SetAsString(Name);
        if (Random() % 5 == 0) Table.Cancel(); else Table.Post();
      } else if (Op <= 4 && !Table.IsEmpty()) {
        Table.SetRecNo(1 + static_cast<int>(Random() % Table.RecordCount()));
        Table.Edit();
        Table.FieldByName(u"NM")->SetAsString(Name);
        if (Random() % 4 == 0) Table.Cancel(); else Table.Post();
      } else if (Op == 5 && !Table.IsEmpty()) {
        Table.SetRecNo(1 + static_cast<int>(Random() % Table.RecordCount()));
        Table.Delete();
      } else if (Op == 6) {
        const char16_t* Orders[] = {u"", u"NM", u"NM DESC, ID", u"ID DESC"};
        Table.SetSortOrder(Orders[Random() % 4]);
      } else if (Op == 7) {
        const char16_t* Filters[] = {u"NM <> 'a'", u"ID > 5", u"NM = 'c'"};
        Table.SetFilter(Filters[Random() % 3]);
        Table.SetFilteredValue(Random() % 2 == 0);
      }
      ASSERT_EQ(Grid.Rows, TableIds(Table)) << "seed " << Seed << " step " << Step << " op " << Op;
    }
  }
}

}  // namespace

namespace {

// The detail on its own side: all records are in the table, the master's key filters them;
// moving the master to another key shows that key's rows, an equal key refreshes nothing.
TEST(MemTableMasterDetail, SelfSideFollowsTheMasterAndFillsNewRecordsKeys) {
  TArrayDataSet Master(nullptr);
  Master.FieldDefs()->Add(u"GRP", ftInteger);
  for (int G : {1, 2, 2, 3}) Master.AddRow({G});
  Master.Open();
  TDataSource Source(nullptr);
  Source.SetDataSet(&Master);
  TMemTableZk Detail(nullptr);
  Detail.FieldDefs()->Add(u"ID", ftInteger);
  Detail.FieldDefs()->Add(u"GRP", ftInteger);
  Detail.IndexDefs()->Add(u"BY_GRP", u"GRP", {});
  Detail.CreateDataSet();
  for (int I = 1; I <= 6; ++I) Detail.AppendRecord({I, (I + 1) / 2});  // groups 1,1,2,2,3,3
  Detail.SetMasterSource(&Source);
  Detail.SetMasterFields(u"GRP");
  Detail.SetDetailFields(u"GRP");
  struct {
    int MasterRecNo;
    std::vector<int> Ids;
  } Cases[] = {{1, {1, 2}}, {2, {3, 4}}, {3, {3, 4}}, {4, {5, 6}}};
  for (const auto& C : Cases) {
    Master.SetRecNo(C.MasterRecNo);
    EXPECT_EQ(TableIds(Detail), C.Ids) << C.MasterRecNo;
  }
  Detail.Append();
  Detail.FieldByName(u"ID")->SetAsInteger(7);
  EXPECT_EQ(Detail.FieldByName(u"GRP")->AsInteger(), 3);
  Detail.Post();
  EXPECT_EQ(TableIds(Detail), (std::vector<int>{5, 6, 7}));
  EXPECT_THROW(Detail.SetDetailFields(u"NOPE"), EDatabaseError);
  EXPECT_EQ(Detail.DetailFields(), u"GRP");
}

}  // namespace

namespace {

// Each type is written through its field, posted, read back by value, and cut or kept as the
// field's own rules say; byte, shortint, longword, extended and fixed wide char included.
TEST(MemTableFieldExchange, ValuesOfEveryTypeComeBackAsWritten) {
  struct {
    TFieldType Type;
    int Size;
    Variant In;
    Variant Out;
  } Cases[] = {
      {ftString, 3, Variant(String(u"abcdef")), Variant(String(u"abc"))},
      {ftWideString, 4, Variant(String(u"Краска")), Variant(String(u"Крас"))},
      {ftFixedWideChar, 2, Variant(String(u"ab")), Variant(String(u"ab"))},
      {ftSmallint, 0, Variant(-300), Variant(-300)},
      {ftWord, 0, Variant(60000), Variant(60000)},
      {ftInteger, 0, Variant(123456), Variant(123456)},
      {ftLargeint, 0, Variant(static_cast<Int64>(1) << 40), Variant(static_cast<Int64>(1) << 40)},
      {ftByte, 0, Variant(200), Variant(200)},
      {ftShortint, 0, Variant(-100), Variant(-100)},
      {ftLongWord, 0, Variant(70000), Variant(70000)},
      {ftBoolean, 0, Variant(true), Variant(true)},
      {ftFloat, 0, Variant(2.5), Variant(2.5)},
      {ftExtended, 0, Variant(1.25), Variant(1.25)},
      {ftCurrency, 0, Variant(10.75), Variant(10.75)},
      {ftDateTime, 0, Variant::FromDateTime(45000.5), Variant::FromDateTime(45000.5)},
      {ftDate, 0, Variant::FromDateTime(45000.0), Variant::FromDateTime(45000.0)},
      {ftWideMemo, 0, Variant(String(u"Краска\nсиняя")), Variant(String(u"Краска\nсиняя"))},
      {ftMemo, 0, Variant(String(u"memo")), Variant(String(u"memo"))},
  };
  for (const auto& C : Cases) {
    TMemTableZk Table(nullptr);
    Table.FieldDefs()->Add(u"V", C.Type, C.Size);
    Table.CreateDataSet();
    Table.Append();
    Table.FieldByName(u"V")->SetAsVariant(C.In);
    Table.Post();
    Table.First();
    EXPECT_TRUE(VarSameValue(Table.FieldByName(u"V")->AsVariant(), C.Out)) << static_cast<int>(C.Type);
    Table.Edit();
    Table.FieldByName(u"V")->Clear();
    Table.Post();
    EXPECT_TRUE(Table.FieldByName(u"V")->IsNull()) << static_cast<int>(C.Type);
  }
}

}  // namespace

namespace {

// A filter that fails for a record leaves that record out and lets the others through; the
// error goes to the application's handler instead of out of the refresh.
TEST(MemTableFilter, ARecordWhoseFilterFailsIsOutOfTheFilter) {
  TMemTableZk Table(nullptr);
  Table.FieldDefs()->Add(u"ID", ftInteger);
  Table.CreateDataSet();
  for (int I = 1; I <= 3; ++I) Table.AppendRecord({I});
  int Calls = 0;
  Table.SetOnFilterRecordValue([&](TDataSet* DS, bool& Accept) {
    ++Calls;
    if (DS->FieldByName(u"ID")->AsInteger() == 2) throw Exception(u"broken filter");
    Accept = true;
  });
  Table.SetFilteredValue(true);
  EXPECT_EQ(TableIds(Table), (std::vector<int>{1, 3}));
  EXPECT_GE(Calls, 3);
}

}  // namespace

namespace {

// Aggregate fields read their aggregate over the rows in view: they follow the master in a
// detail on its own side, posted edits and deletions, a changed expression, and read Null
// while the aggregates are inactive, the table is closed or empty (no record buffer).
TEST(MemTableAggregateFields, FollowTheRowsInView) {
  TArrayDataSet Master(nullptr);
  Master.FieldDefs()->Add(u"GRP", ftInteger);
  for (int G : {1, 2, 3}) Master.AddRow({G});
  Master.Open();
  TDataSource Source(nullptr);
  Source.SetDataSet(&Master);
  TMemTableZk Detail(nullptr);
  Detail.FieldDefs()->Add(u"ID", ftInteger);
  Detail.FieldDefs()->Add(u"GRP", ftInteger);
  Detail.FieldDefs()->Add(u"PRICE", ftFloat);
  Detail.IndexDefs()->Add(u"BY_GRP", u"GRP", {});
  auto* Sum = new TAggregateField(&Detail);
  Sum->SetFieldName(u"TOTAL");
  Sum->SetExpression(u"SUM(PRICE)");
  Sum->SetActive(true);
  Sum->SetDataSet(&Detail);
  auto* Count = new TAggregateField(&Detail);
  Count->SetFieldName(u"ROWS");
  Count->SetExpression(u"COUNT(*)");
  Count->SetActive(true);
  Count->SetDataSet(&Detail);
  Detail.SetAggregatesActive(true);
  Detail.CreateDataSet();
  EXPECT_TRUE(Sum->AsVariant().IsNull());
  EXPECT_TRUE(Count->AsVariant().IsNull());
  Detail.AppendRecord({1, 1, 2.5});
  Detail.AppendRecord({2, 1, Variant::MakeNull()});
  Detail.AppendRecord({3, 2, 10.0});
  EXPECT_DOUBLE_EQ(Sum->AsVariant().AsDouble(), 12.5);
  EXPECT_EQ(Count->AsVariant().AsInteger(), 3);
  EXPECT_EQ(Sum->ResultType(), ftFloat);

  Detail.SetMasterSource(&Source);
  Detail.SetMasterFields(u"GRP");
  Detail.SetDetailFields(u"GRP");
  struct {
    int MasterRecNo;
    Variant Sum;
    Variant Count;
  } Cases[] = {{1, 2.5, 2}, {2, 10.0, 1}, {3, Variant::MakeNull(), Variant::MakeNull()}};
  for (const auto& C : Cases) {
    Master.SetRecNo(C.MasterRecNo);
    EXPECT_TRUE(VarSameValue(Sum->AsVariant(), C.Sum)) << C.MasterRecNo;
    EXPECT_TRUE(VarSameValue(Count->AsVariant(), C.Count)) << C.MasterRecNo;
  }
  Master.SetRecNo(1);
  Detail.First();
  Detail.Edit();
  Detail.FieldByName(u"PRICE")->SetAsFloat(4);
  Detail.Post();
  EXPECT_DOUBLE_EQ(Sum->AsVariant().AsDouble(), 4);
  Detail.Delete();  // one row left, its price Null: a sum over rows starts from 0
  EXPECT_DOUBLE_EQ(Sum->AsVariant().AsDouble(), 0);
  EXPECT_EQ(Count->AsVariant().AsInteger(), 1);

  Sum->SetExpression(u"MAX(ID)");
  EXPECT_EQ(Sum->AsVariant().AsInteger(), 2);
  Detail.SetAggregatesActive(false);
  EXPECT_TRUE(Count->AsVariant().IsNull());
  Detail.SetAggregatesActive(true);
  EXPECT_EQ(Count->AsVariant().AsInteger(), 1);
  Detail.Close();
  EXPECT_TRUE(Count->AsVariant().IsNull());
  delete Count;  // fields freed while closed and while open leave no aggregate behind
  Detail.Open();
  EXPECT_EQ(Sum->AsVariant().AsInteger(), 2);
  delete Sum;
  Detail.Close();
  Detail.Open();
}

}  // namespace

namespace {

// Writes every view event into a shared log.
class TLoggingReceiver : public TComponent, public IMTViewEventReceiverZk {
public:
  explicit TLoggingReceiver(std::vector<String>& ALog) : TComponent(nullptr), Log(ALog) {}
  void MTViewDataEvent(int RowNum, TMTViewEventTypeZk Event, int) override {
    static const char16_t* const Names[] = {u"inserted", u"changed", u"deleted", u"moved", u"view"};
    Log.push_back(String(u"grid ") + Names[static_cast<int>(Event)] + u" " + IntToStr(RowNum));
  }
  std::vector<String>& Log;
};

// Post with a driver: BeforePost, the driver writes the one change (its generated key lands in
// the record) and the grid hears of the row at once, then AfterPost. In cached mode the
// driver is not called until ApplyUpdates.
TEST(MemTablePostOrder, WithADriverInBothModes) {
  struct {
    bool Cached;
    bool Append;
    std::vector<String> Log;
  } Cases[] = {
      {false, false, {u"BeforePost", u"driver modified", u"grid changed 0", u"AfterPost"}},
      // the new record lands below the grid's insert row, which then goes
      {false, true, {u"BeforePost", u"driver inserted", u"grid inserted 2", u"grid deleted 1", u"AfterPost"}},
      {true, false, {u"BeforePost", u"grid changed 0", u"AfterPost"}},
      {true, true, {u"BeforePost", u"grid inserted 2", u"grid deleted 1", u"AfterPost"}},
  };
  for (const auto& C : Cases) {
    TArrayDataSet Provider(nullptr);
    Provider.FieldDefs()->Add(u"ID", ftInteger);
    Provider.FieldDefs()->Add(u"NM", ftWideString, 10);
    Provider.AddRow({1, u"a"});
    TDataSetDriverZk Driver(nullptr);
    Driver.SetProviderDataSet(&Provider);
    std::vector<String> Log;
    Driver.SetOnUpdateRecord([&](TDataDriverZk*, TMemTableDataZk*, TMemoryRecordZk* Rec) {
      Log.push_back(Rec->UpdateStatus() == usInserted ? u"driver inserted" : u"driver modified");
      if (Rec->UpdateStatus() == usInserted) Rec->SetDataValue(0, dvvValueZk, 42);
    });
    TMemTableZk Table(nullptr);
    Table.SetDataDriver(&Driver);
    Table.SetFetchAllOnOpen(true);
    Table.Open();
    Table.SetCachedUpdates(C.Cached);
    TLoggingReceiver Grid(Log);
    Table.RegisterEventReceiver(&Grid);
    Table.SetBeforePost([&](TDataSet*) { Log.push_back(u"BeforePost"); });
    Table.SetAfterPost([&](TDataSet*) { Log.push_back(u"AfterPost"); });
    if (C.Append) Table.Append(); else Table.Edit();
    Table.FieldByName(u"NM")->SetAsString(u"b");
    Log.erase(std::remove_if(Log.begin(), Log.end(), [](const String& S) { return S.starts_with(u"grid"); }),
              Log.end());  // the editing row's own events are not the point here
    Table.Post();
    EXPECT_EQ(Log, C.Log) << C.Cached << C.Append;
    if (C.Append) {
      EXPECT_EQ(Table.FieldByName(u"ID")->AsInteger(), C.Cached ? 0 : 42);
    }
    Table.UnregisterEventReceiver(&Grid);
  }
}

}  // namespace

namespace {

// A memory table answers Lookup with Empty when nothing matches; a lookup field over it then
// reads Null, not 0 or ''.
TEST(MemTableLookupField, NoMatchReadsNull) {
  TMemTableZk Colors(nullptr);
  Colors.FieldDefs()->Add(u"ID", ftInteger);
  Colors.FieldDefs()->Add(u"CODE", ftInteger);
  Colors.CreateDataSet();
  Colors.AppendRecord({1, 100});
  EXPECT_TRUE(Colors.Lookup(u"ID", 9, u"CODE").IsEmpty());
  TArrayDataSet Stock(nullptr);
  Stock.FieldDefs()->Add(u"COLOR_ID", ftInteger);
  Stock.AddRow({1});
  Stock.AddRow({9});
  auto* Key = new TIntegerField(&Stock);
  Key->SetFieldName(u"COLOR_ID");
  Key->SetDataSet(&Stock);
  auto* Code = new TIntegerField(&Stock);
  Code->SetFieldName(u"lvCODE");
  Code->SetFieldKind(fkLookup);
  Code->SetKeyFields(u"COLOR_ID");
  Code->SetLookupDataSet(&Colors);
  Code->SetLookupKeyFields(u"ID");
  Code->SetLookupResultField(u"CODE");
  Code->SetDataSet(&Stock);
  Stock.Open();
  EXPECT_EQ(Code->AsInteger(), 100);
  Stock.Next();
  EXPECT_TRUE(Code->IsNull());
  EXPECT_TRUE(Code->AsVariant().IsNull());
}

}  // namespace

namespace {

// Blob streams: bytes written through a stream come back through a read stream and as the
// field's bytes; a write stream needs edit mode.
TEST(MemTableBlobStream, BytesWrittenComeBack) {
  TMemTableZk Table(nullptr);
  Table.SetName(u"MT");
  Table.FieldDefs()->Add(u"B", ftBlob);
  Table.CreateDataSet();
  const std::string Bytes("\x00\x01\xff zebra", 9);
  Table.Append();
  {
    std::unique_ptr<TStream> W(Table.CreateBlobStream(Table.FieldByName(u"B"), bmWrite));
    W->Write(Bytes.data(), static_cast<Int64>(Bytes.size()));
  }
  Table.Post();
  std::unique_ptr<TStream> R(Table.CreateBlobStream(Table.FieldByName(u"B"), bmRead));
  std::string Back(static_cast<std::size_t>(R->Size()), '\0');
  R->Read(Back.data(), R->Size());
  EXPECT_EQ(Back, Bytes);
  EXPECT_EQ(static_cast<TBlobField*>(Table.FieldByName(u"B"))->AsBytes(), Bytes);
  EXPECT_THROW(std::unique_ptr<TStream>(Table.CreateBlobStream(Table.FieldByName(u"B"), bmWrite)),
               EDatabaseError);
}

}  // namespace

namespace {

// Tree moves: the neighbours at the drop place and the wanted level give the new parent and
// place; a drop into the node's own subtree is refused; the check event may refuse.
//   1            rows 0..6: 1, 2, 3, 4, 5, 6, 7
//     2, 3
//   4
//     5
//       6
//   7
TEST(MemTableTreeMoves, DropPlaceAndLevelGiveParentAndOrder) {
  struct {
    int FromRow;
    int ToRecNo;
    int LevelAboveTop;  // the wanted level, counted from the top level
    bool Moved;
    int MovedId;
    Variant NewParent;
    std::vector<int> Order;
  } Cases[] = {
      {6, 2, 1, true, 7, 1, {1, 7, 2, 3, 4, 5, 6}},     // up, before a node of the level
      {1, 6, 0, true, 2, Variant::MakeNull(), {1, 3, 4, 5, 6, 2, 7}},  // down, just above the last row
      {6, 6, 3, true, 7, 5, {1, 2, 3, 4, 5, 6, 7}},     // up, under a node of a lower level
      {3, 6, 3, false, 4, Variant::MakeNull(), {1, 2, 3, 4, 5, 6, 7}},  // into its own subtree
  };
  for (const auto& C : Cases) {
    TMemTableZk Table(nullptr);
    Table.FieldDefs()->Add(u"ID", ftInteger);
    Table.FieldDefs()->Add(u"PARENT_ID", ftInteger);
    Table.CreateDataSet();
    for (auto [Id, Parent] : std::vector<std::pair<int, int>>{{1, 0}, {2, 1}, {3, 1}, {4, 0}, {5, 4}, {6, 5}, {7, 0}})
      Table.AppendRecord({Id, Parent ? Variant(Parent) : Variant::MakeNull()});
    Table.SetTreeKeyFields(u"ID", u"PARENT_ID");
    Table.RecordsView()->MemoryTreeList()->SetDefaultNodeExpanded(true);
    Table.SetTreeViewActive(true);
    ASSERT_EQ(TableIds(Table), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    Table.First();
    const int Top = Table.TreeNodeLevel();
    TBMListZk List;
    List.AppendItem(std::make_shared<const TBookmark>(TCustomMemTableZk::RecNoToBookmark(C.FromRow + 1)));
    EXPECT_EQ(Table.MoveRecords(&List, C.ToRecNo, Top + C.LevelAboveTop, true), C.Moved) << C.MovedId;
    if (C.Moved)
      EXPECT_TRUE(Table.MoveRecords(&List, C.ToRecNo, Top + C.LevelAboveTop, false)) << C.MovedId;
    else  // the record refuses the loop before changing
      EXPECT_THROW(Table.MoveRecords(&List, C.ToRecNo, Top + C.LevelAboveTop, false), Exception);
    EXPECT_EQ(TableIds(Table), C.Order) << C.MovedId;
    ASSERT_TRUE(Table.Locate(u"ID", C.MovedId, {}));
    EXPECT_TRUE(VarSameValue(Table.FieldByName(u"PARENT_ID")->AsVariant(), C.NewParent)) << C.MovedId;
  }
}

TEST(MemTableTreeMoves, CheckEventMayRefuse) {
  TMemTableZk Table(nullptr);
  Table.FieldDefs()->Add(u"ID", ftInteger);
  Table.FieldDefs()->Add(u"PARENT_ID", ftInteger);
  Table.CreateDataSet();
  Table.AppendRecord({1, Variant::MakeNull()});
  Table.AppendRecord({2, Variant::MakeNull()});
  Table.SetTreeKeyFields(u"ID", u"PARENT_ID");
  Table.SetTreeViewActive(true);
  Table.First();
  int Asked = 0;
  Table.SetOnRecordsViewCheckMoveNode([&](TObject*, TMemRecViewZk*, TMemRecViewZk* Parent, int) {
    ++Asked;
    return Parent == nullptr || Parent->Rec() == nullptr;  // only top-level places
  });
  TBMListZk List;
  List.AppendItem(std::make_shared<const TBookmark>(TCustomMemTableZk::RecNoToBookmark(2)));
  EXPECT_FALSE(Table.MoveRecords(&List, 2, Table.TreeNodeLevel() + 1, true));  // as 1's child
  EXPECT_TRUE(Table.MoveRecords(&List, 1, Table.TreeNodeLevel(), false));      // before 1
  EXPECT_EQ(TableIds(Table), (std::vector<int>{2, 1}));
  EXPECT_EQ(Asked, 2);
}

}  // namespace

namespace {

// An ftUnknown definition gives an object reference field: the object comes back as set, a
// freed object is an error rather than a dangling pointer, and a field without a dataset
// raises the readable text.
TEST(MemTableRefObjectField, HoldsCheckedObjectReferences) {
  TMemTableZk Table(nullptr);
  Table.FieldDefs()->Add(u"ID", ftInteger);
  Table.FieldDefs()->Add(u"OBJ", ftUnknown);
  Table.CreateDataSet();
  auto* Ref = dynamic_cast<TRefObjectField*>(Table.FindField(u"OBJ"));
  ASSERT_NE(Ref, nullptr);
  auto Target = std::make_unique<TComponent>(nullptr);
  Table.Append();
  Table.FieldByName(u"ID")->SetAsInteger(1);
  Ref->SetValue(Target.get());
  Table.Post();
  Table.Append();
  Table.FieldByName(u"ID")->SetAsInteger(2);
  Table.Post();
  Table.First();
  EXPECT_EQ(Ref->Value(), Target.get());
  Table.Next();
  EXPECT_EQ(Ref->Value(), nullptr);
  EXPECT_TRUE(Ref->IsNull());
  Table.First();
  Target.reset();
  EXPECT_THROW(Ref->Value(), Exception);

  TRefObjectField Loose(nullptr);
  Loose.SetFieldName(u"X");
  try {
    Loose.Value();
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"Missing data set for field 'X'");
  }
}

}  // namespace
