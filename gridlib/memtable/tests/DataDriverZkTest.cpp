// DataDriverZkTest.cpp - data drivers: reading on demand from a TArrayDataSet, and posting,
// applying cached updates and their error actions against a real database file through
// TADOQuery.
#include "gridlib/memtable/DataDriverZk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "gridlib/memtable/MemTableZk.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Params.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TArrayDataSet> Provider(int Rows) {
  auto P = std::make_unique<TArrayDataSet>(nullptr);
  P->FieldDefs()->Add(u"ID", ftInteger);
  P->FieldDefs()->Add(u"NM", ftWideString, 20);
  for (int I = 1; I <= Rows; ++I) P->AddRow({I, String(u"n") + IntToStr(I)});
  return P;
}

TEST(DataDriverZk, RecordsAreReadOnDemandOrAllOnOpen) {
  struct {
    int Rows;
    bool FetchAll;
  } Cases[] = {{3, false}, {10, false}, {1000, false}, {1000, true}};
  for (const auto& C : Cases) {
    auto P = Provider(C.Rows);
    TDataSetDriverZk Driver(nullptr);
    Driver.SetProviderDataSet(P.get());
    TMemTableZk Table(nullptr);
    Table.SetDataDriver(&Driver);
    Table.SetFetchAllOnOpen(C.FetchAll);
    Table.Open();
    const int Read = Table.MemTableData()->RecordsList()->Count();
    if (C.FetchAll)
      EXPECT_EQ(Read, C.Rows);
    else
      EXPECT_LT(Read, C.Rows) << C.Rows;
    EXPECT_EQ(Table.FieldByName(u"ID")->AsInteger(), 1);
    Table.Last();
    EXPECT_EQ(Table.RecordCount(), C.Rows);
    EXPECT_EQ(Table.FieldByName(u"ID")->AsInteger(), C.Rows);
    EXPECT_TRUE(Driver.ProviderEOF());
  }
}

TEST(DataDriverZk, ReadDataCountsTheAttemptThatMetTheEnd) {
  auto P = Provider(3);
  TDataSetDriverZk Driver(nullptr);
  Driver.SetProviderDataSet(P.get());
  TMemTableZk Table(nullptr);
  Table.SetDataDriver(&Driver);
  Table.Open();
  Table.Close();  // the structure stays; the records go when reopened
  TMemTableDataZk* Data = Table.MemTableData();
  Data->RecordsList()->Clear();
  Driver.GetDataReader();
  EXPECT_EQ(Driver.ReadData(Data, 10), 4);
  EXPECT_TRUE(Driver.ProviderEOF());
  EXPECT_EQ(Driver.ReadData(Data, 10), 0);
  EXPECT_EQ(Data->RecordsList()->Count(), 3);
}

TEST(DataDriverZk, LocateReadsRecordsUntilFoundAndFreedProviderIsForgotten) {
  auto P = Provider(50);
  TDataSetDriverZk Driver(nullptr);
  Driver.SetProviderDataSet(P.get());
  TMemTableZk Table(nullptr);
  Table.SetDataDriver(&Driver);
  Table.Open();
  EXPECT_TRUE(Table.Locate(u"ID", 20, {}));
  EXPECT_EQ(Table.MemTableData()->RecordsList()->Count(), 20);
  EXPECT_FALSE(Table.Locate(u"ID", 99, {}));
  Table.Close();
  P.reset();
  EXPECT_EQ(Driver.ProviderDataSet(), nullptr);
}

// A driver freed under an open table closes it; the table keeps its structure and opens again
// on its own records, with no call into the freed driver.
TEST(DataDriverZk, FreedDriverClosesTheTable) {
  auto P = Provider(5);
  auto Driver = std::make_unique<TDataSetDriverZk>(nullptr);
  Driver->SetProviderDataSet(P.get());
  TMemTableZk Table(nullptr);
  Table.SetDataDriver(Driver.get());
  Table.SetFetchAllOnOpen(true);
  Table.Open();
  Driver.reset();
  EXPECT_FALSE(Table.Active());
  EXPECT_EQ(Table.DataDriver(), nullptr);
  Table.Open();
  EXPECT_EQ(Table.RecordCount(), 5);
}

// A material table in a database file, read and written through TADOQuery.
class DataDriverFile : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("vorenta_driver_" + std::to_string(getpid()));
    fs::create_directories(Dir);
    std::ofstream(Dir / "lkm.data").close();
    Conn = std::make_unique<TADOConnection>(nullptr);
    Conn->SetConnectionString(Utf8ToString("Data Source=" + (Dir / "lkm.data").string()));
    Conn->Open();
    Conn->Execute(u"CREATE TABLE LKM (ID INTEGER PRIMARY KEY AUTOINCREMENT, NM VARCHAR(40),"
                  u" PRICE REAL CHECK (PRICE >= 0))");
    Conn->Execute(u"INSERT INTO LKM (NM, PRICE) VALUES ('a', 1), ('b', 2), ('c', 3)");
    Query = std::make_unique<TADOQuery>(nullptr);
    Query->SetConnection(Conn.get());
    Query->SQL()->SetText(u"SELECT ID, NM, PRICE FROM LKM ORDER BY ID");
    Driver = std::make_unique<TDataSetDriverZk>(nullptr);
    Driver->SetProviderDataSet(Query.get());
    Table = std::make_unique<TMemTableZk>(nullptr);
    Table->SetName(u"MT");
    Table->SetDataDriver(Driver.get());
  }
  void TearDown() override {
    Table.reset();
    Driver.reset();
    Query.reset();
    Conn.reset();
    fs::remove_all(Dir);
  }
  // The table's rows as a second connection sees them: "ID:NM:PRICE" joined by blanks.
  String FileRows() {
    TADOConnection Other(nullptr);
    Other.SetConnectionString(Conn->ConnectionString());
    Other.Open();
    TADOQuery Q(nullptr);
    Q.SetConnection(&Other);
    Q.SQL()->SetText(u"SELECT ID, NM, PRICE FROM LKM ORDER BY ID");
    Q.Open();
    String Result;
    for (; !Q.Eof(); Q.Next()) {
      if (!Result.empty()) Result += u' ';
      Result += Q.FieldByName(u"ID")->AsString() + u":" + Q.FieldByName(u"NM")->AsString() + u":" +
                Q.FieldByName(u"PRICE")->AsString();
    }
    return Result;
  }
  fs::path Dir;
  std::unique_ptr<TADOConnection> Conn;
  std::unique_ptr<TADOQuery> Query;
  std::unique_ptr<TDataSetDriverZk> Driver;
  std::unique_ptr<TMemTableZk> Table;
};

TEST_F(DataDriverFile, EditInsertAndDeleteReachTheFileAndTheNewKeyLandsInTheRecord) {
  Table->Open();
  ASSERT_TRUE(Table->Locate(u"ID", 2, {}));
  Table->Edit();
  Table->FieldByName(u"NM")->SetAsString(u"B");
  Table->Post();
  Table->Append();
  Table->FieldByName(u"NM")->SetAsString(u"d");
  Table->FieldByName(u"PRICE")->SetAsFloat(4);
  Table->Post();
  EXPECT_EQ(Table->FieldByName(u"ID")->AsInteger(), 4);
  ASSERT_TRUE(Table->Locate(u"ID", 1, {}));
  Table->Delete();
  EXPECT_EQ(FileRows(), u"2:B:2 3:c:3 4:d:4");
}

TEST_F(DataDriverFile, RowChangedBehindItsBackFailsThePostAndLeavesTheFile) {
  Table->Open();
  Table->Last();  // every record read: the provider may read its rows again
  Conn->Execute(u"UPDATE LKM SET NM = 'other' WHERE ID = 1");
  Table->First();
  Table->Edit();
  Table->FieldByName(u"NM")->SetAsString(u"mine");
  try {
    Table->Post();
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_NE(E.Message().find(u"Record not found or changed"), String::npos);
  }
  EXPECT_EQ(FileRows(), u"1:other:1 2:b:2 3:c:3");
}

TEST_F(DataDriverFile, UpdateErrorActionsOnARealConstraintError) {
  struct {
    TUpdateErrorActionZk Action;
    int Applied;
    const char16_t* File;
    int Pending;        // changes left in the log
    bool ErrorKept;     // the failing record holds its error
  } Cases[] = {
      {ueaCountinueSkip, 2, u"1:A:1 2:b:2 3:C:3", 1, true},
      {ueaCountinueZk, 2, u"1:A:1 2:b:2 3:C:3", 0, true},
      {ueaBreakAbortZk, 1, u"1:A:1 2:b:2 3:c:3", 2, true},
  };
  for (const auto& C : Cases) {
    if (&C != &Cases[0]) {  // a fresh file for each action
      TearDown();
      SetUp();
    }
    Table->Open();
    Table->SetCachedUpdates(true);
    Table->Last();
    const char16_t* Names[] = {u"A", u"B", u"C"};
    for (int Id = 1; Id <= 3; ++Id) {
      ASSERT_TRUE(Table->Locate(u"ID", Id, {}));
      Table->Edit();
      Table->FieldByName(u"NM")->SetAsString(Names[Id - 1]);
      if (Id == 2) Table->FieldByName(u"PRICE")->SetAsFloat(-5);  // breaks the CHECK
      Table->Post();
    }
    Driver->SetOnUpdateError([&](TDataDriverZk*, TMemTableDataZk*, TMemoryRecordZk*, TUpdateErrorActionZk& A) {
      A = C.Action;
    });
    EXPECT_EQ(Table->ApplyUpdates(-1), C.Applied);
    EXPECT_EQ(FileRows(), C.File);
    int Pending = 0;
    for (TMemoryRecordZk* Rec : Table->MemTableData()->RecordsList()->DeltaList())
      if (Rec) ++Pending;
    EXPECT_EQ(Pending, C.Pending) << C.Action;
    ASSERT_TRUE(Table->Locate(u"ID", 2, {}));
    EXPECT_EQ(Table->UpdateError() != nullptr, C.ErrorKept);
  }
}

TEST_F(DataDriverFile, BreakRaiseLeavesTheRestPendingAndAFailedOpenLeavesTheTableClosed) {
  Table->Open();
  Table->SetCachedUpdates(true);
  Table->First();
  Table->Edit();
  Table->FieldByName(u"PRICE")->SetAsFloat(-1);
  Table->Post();
  EXPECT_THROW(Table->ApplyUpdates(-1), EDatabaseError);
  EXPECT_TRUE(Table->MemTableData()->RecordsList()->HasCachedChanges());
  Table->Close();
  Query->SQL()->SetText(u"SELECT NOPE FROM LKM");
  EXPECT_THROW(Table->Open(), EDatabaseError);
  EXPECT_FALSE(Table->Active());
}

// A failed immediate apply of an insert or a delete raises out of Post or Delete and cancels
// the view's pending change: the table keeps what the file has.
TEST_F(DataDriverFile, FailedInsertOrDeleteLeavesTableAndFileAsTheyWere) {
  Table->Open();
  Table->Last();
  Table->Append();
  Table->FieldByName(u"NM")->SetAsString(u"bad");
  Table->FieldByName(u"PRICE")->SetAsFloat(-1);  // breaks the CHECK
  EXPECT_THROW(Table->Post(), EDatabaseError);
  Table->Cancel();
  EXPECT_EQ(Table->RecordCount(), 3);
  Conn->Execute(u"DELETE FROM LKM WHERE ID = 3");
  ASSERT_TRUE(Table->Locate(u"ID", 3, {}));
  try {
    Table->Delete();
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_NE(E.Message().find(u"Record not found or changed"), String::npos);
  }
  EXPECT_EQ(Table->RecordCount(), 3);
  EXPECT_TRUE(Table->Locate(u"ID", 3, {}));
  EXPECT_EQ(FileRows(), u"1:a:1 2:b:2");
}

TEST(ADOQueryProvider, QueryReportsItsParameters) {
  TADOQuery Q(nullptr);
  Q.SQL()->SetText(u"SELECT * FROM T WHERE A = :A AND B = :B");
  TDataSet& Base = Q;
  ASSERT_NE(Base.PSGetParams(), nullptr);
  EXPECT_EQ(Base.PSGetParams()->Count(), 2);
}

}  // namespace

namespace {

// The three master-detail sides over a provider that answers its GRP parameter: the rows
// shown per master move, and how often the provider was queried (its RunCount).
TEST(DataDriverZk, MasterDetailSidesRowsAndProviderRunsPerMasterMove) {
  struct {
    TMasterDetailSideZk Side;
    std::vector<int> Runs;  // provider runs after opening and after each master move
  } Cases[] = {
      {mdsOnSelfZk, {1, 1, 1, 1}},
      {mdsOnProviderZk, {1, 2, 2, 3}},
      {mdsOnSelfAfterProviderZk, {1, 2, 2, 2}},
  };
  const int MasterRecNos[] = {2, 3, 1};  // groups 2, 2 again, then 1 again
  const std::vector<int> Rows[] = {{1, 2}, {3, 4}, {3, 4}, {1, 2}};
  for (const auto& C : Cases) {
    TArrayDataSet Master(nullptr);
    Master.FieldDefs()->Add(u"GRP", ftInteger);
    for (int G : {1, 2, 2}) Master.AddRow({G});
    Master.Open();
    TDataSource Source(nullptr);
    Source.SetDataSet(&Master);
    TArrayDataSet P(nullptr);
    P.FieldDefs()->Add(u"ID", ftInteger);
    P.FieldDefs()->Add(u"GRP", ftInteger);
    for (int I = 1; I <= 6; ++I) P.AddRow({I, (I + 1) / 2});
    TParam* Grp = P.Params()->CreateParam(ftInteger, u"GRP", ptInput);
    P.SetOnFilterRecordValue([&](TDataSet* D, bool& Accept) {
      Accept = Grp->IsNull() || D->FieldByName(u"GRP")->AsInteger() == Grp->AsInteger();
    });
    P.SetFilteredValue(C.Side != mdsOnSelfZk);
    TDataSetDriverZk Driver(nullptr);
    Driver.SetProviderDataSet(&P);
    TMemTableZk Detail(nullptr);
    Detail.SetDataDriver(&Driver);
    Detail.SetMasterDetailSide(C.Side);
    Detail.SetMasterSource(&Source);
    Detail.SetMasterFields(u"GRP");
    if (C.Side != mdsOnProviderZk) Detail.SetDetailFields(u"GRP");
    Detail.Open();
    auto Ids = [&] {
      std::vector<int> Out;
      for (Detail.First(); !Detail.Eof(); Detail.Next()) Out.push_back(Detail.FieldByName(u"ID")->AsInteger());
      return Out;
    };
    EXPECT_EQ(Ids(), Rows[0]) << C.Side;
    EXPECT_EQ(P.RunCount(), C.Runs[0]) << C.Side;
    for (int Step = 0; Step < 3; ++Step) {
      Master.SetRecNo(MasterRecNos[Step]);
      EXPECT_EQ(Ids(), Rows[Step + 1]) << C.Side << " step " << Step;
      EXPECT_EQ(P.RunCount(), C.Runs[Step + 1]) << C.Side << " step " << Step;
    }
  }
}

}  // namespace
