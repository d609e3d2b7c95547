// Tests of the connection, command and query on a temporary database file.
#include "platform/sqlite/ADODB.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>

#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

namespace {

namespace fs = std::filesystem;

const char* const Schema = R"(
CREATE TABLE DS_COLOR (ID INTEGER PRIMARY KEY AUTOINCREMENT, NM TEXT, AM REAL, IND INTEGER,
  PRICE1 REAL);
CREATE TABLE DS_COLOR_REC (RID INTEGER PRIMARY KEY AUTOINCREMENT, COLOR_ID INTEGER, AM REAL,
  IS_BASE1 INTEGER NOT NULL DEFAULT 0 CHECK (IS_BASE1 IN (0,1)));
CREATE TABLE DR_ORD (ID INTEGER PRIMARY KEY AUTOINCREMENT, NUM INTEGER, DT DATETIME);
CREATE TABLE DS_COLOR_COST (COLOR_ID INTEGER, PRICE1 REAL);
INSERT INTO DS_COLOR (NM, AM, IND, PRICE1) VALUES
  ('Белый', 100, 1, 154.5), ('Ёлка', 100, 1, 10), ('Арбуз', 99.5, 2, NULL), ('елка', 100, 1, 1);
INSERT INTO DS_COLOR_REC (COLOR_ID, AM) VALUES (1, 60), (1, 40), (2, 100), (3, 99.5);
)";

class ADODB : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() /
          ("vorenta_adodb_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(Dir / "DATA");
    sqlite3* Db = nullptr;
    ASSERT_EQ(sqlite3_open((Dir / "DATA/test.data").c_str(), &Db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(Db, Schema, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(Db);
    sqlite3_close(Db);
    OldDir = fs::current_path();
    fs::current_path(Dir);
    Conn = std::make_unique<TADOConnection>(nullptr);
    Conn->SetConnectionString(
        u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin; \t\t\t\t\tData Source=DATA/test.data;"
        u"Jet OLEDB:Database Password=secret;\t\t\t\t\tJet OLEDB:Engine Type=5");
    Conn->Open();
  }
  void TearDown() override {
    Conn.reset();
    fs::current_path(OldDir);
    fs::remove_all(Dir);
  }

  std::unique_ptr<TADOQuery> Query(const String& Sql) {
    auto Q = std::make_unique<TADOQuery>(nullptr);
    Q->SetConnection(Conn.get());
    Q->SQL()->SetText(Sql);
    return Q;
  }

  Variant Scalar(const String& Sql) {
    auto Q = Query(Sql);
    Q->Open();
    return Q->Fields()->Fields(0)->Value();
  }

  String OpenError(const String& ConnectionString) {
    TADOConnection C(nullptr);
    C.SetConnectionString(ConnectionString);
    try {
      C.Open();
    } catch (const EDatabaseError& E) {
      EXPECT_FALSE(C.Connected());
      return E.Message();
    }
    return u"(opened)";
  }

  fs::path Dir, OldDir;
  std::unique_ptr<TADOConnection> Conn;
};

TEST_F(ADODB, OpeningNeverCreatesAndReportsSqlitesMessage) {
  EXPECT_TRUE(Conn->Connected());
  EXPECT_EQ(Conn->DatabaseFileName(), u"DATA/test.data");
  EXPECT_EQ(OpenError(u"Provider=X;Data Source=DATA/missing.data"),
            u"Не удаётся открыть файл базы данных: DATA/missing.data");
  EXPECT_FALSE(fs::exists("DATA/missing.data"));
  std::ofstream("DATA/junk.data") << "this is no database, just some text of a reasonable size "
                                     "for the header check to see it";
  EXPECT_EQ(OpenError(u"Data Source=DATA/junk.data"),
            u"Файл не является базой данных: DATA/junk.data");
  EXPECT_EQ(OpenError(u"Provider=Microsoft.Jet.OLEDB.4.0"),
            u"The connection string names no Data Source");
}

TEST_F(ADODB, ClosedConnectionRaisesInsteadOfCrashing) {
  auto Q = Query(u"SELECT * FROM DS_COLOR");
  Conn->Close();
  EXPECT_THROW(Q->Open(), EDatabaseError);
  EXPECT_THROW(Conn->Execute(u"DELETE FROM DS_COLOR"), EDatabaseError);
  Conn->Open();
  Q->Open();
  EXPECT_EQ(Q->RecordCount(), 4);
  Conn->Close();  // closes the query on it
  EXPECT_FALSE(Q->Active());
}

TEST_F(ADODB, ErrorsCarryTheDatabaseMessage) {
  struct Case { const char16_t* Sql; const char16_t* Message; } Cases[] = {
      {u"SELEC * FROM DS_COLOR", u"near \"SELEC\": syntax error"},
      {u"SELECT * FROM NO_SUCH", u"no such table: NO_SUCH"},
      {u"INSERT INTO DS_COLOR (ID) VALUES (1)", u"UNIQUE constraint failed: DS_COLOR.ID"},
      {u"INSERT INTO DS_COLOR_REC (IS_BASE1) VALUES (5)", u"CHECK constraint failed: IS_BASE1 IN (0,1)"},
      {u"SELECT FDIV(1, 0)", u"Division by zero"},
  };
  for (const auto& C : Cases) {
    try {
      Conn->Execute(C.Sql);
      ADD_FAILURE() << "no error for " << ToUtf8(C.Sql);
    } catch (const EDatabaseError& E) {
      EXPECT_EQ(E.Message(), C.Message) << ToUtf8(C.Sql);
    }
  }
}

TEST_F(ADODB, LockedFileIsAClearError) {
  sqlite3* Other = nullptr;
  ASSERT_EQ(sqlite3_open("DATA/test.data", &Other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(Other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  try {
    Conn->Execute(u"UPDATE DS_COLOR SET AM = 1");
    ADD_FAILURE() << "no error on a locked file";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"База данных занята другой программой: " +
                               Utf8ToString(fs::absolute("DATA/test.data").string()));
  }
  sqlite3_exec(Other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(Other);
}

// A file nobody may write opens read-only, whoever runs the program (the system lets root
// write it); a change is then a clear error and the file keeps its rows.
TEST_F(ADODB, WriteProtectedFileOpensReadOnly) {
  Conn->Close();
  fs::permissions("DATA/test.data", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  Conn->Open();
  EXPECT_TRUE(Conn->ReadOnly());
  try {
    Conn->Execute(u"UPDATE DS_COLOR SET AM = 1");
    ADD_FAILURE() << "a write-protected file was changed";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"Файл базы данных открыт только для чтения: " +
                               Utf8ToString(fs::absolute("DATA/test.data").string()));
  }
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_COLOR").AsInteger(), 4);
  Conn->Close();
  fs::permissions("DATA/test.data", fs::perms::owner_write, std::filesystem::perm_options::add);
  Conn->Open();
  EXPECT_FALSE(Conn->ReadOnly());
}

TEST_F(ADODB, SeveralStatementsAreAllOrNothing) {
  EXPECT_THROW(Conn->Execute(u"DELETE FROM DS_COLOR_REC; INSERT INTO DS_COLOR (ID) VALUES (1);"),
               EDatabaseError);
  EXPECT_EQ(Scalar(u"SELECT count(*) FROM DS_COLOR_REC").AsInteger(), 4);

  TADOCommand Cmd(nullptr);
  Cmd.SetConnection(Conn.get());
  Cmd.SetCommandText(u"UPDATE DS_COLOR SET PRICE1 = 0 WHERE ID = :ID;\n"
                     u"INSERT INTO DS_COLOR (ID) VALUES (:ID)");
  Cmd.Parameters()->ParamByName(u"ID")->SetValue(2);
  EXPECT_THROW(Cmd.Execute(), EDatabaseError);
  EXPECT_EQ(Scalar(u"SELECT PRICE1 FROM DS_COLOR WHERE ID = 2").AsDouble(), 10.0);
}

TEST_F(ADODB, TransactionsCommitRollBackAndNest) {
  EXPECT_EQ(Conn->BeginTrans(), 1);
  Conn->Execute(u"DELETE FROM DS_COLOR_REC WHERE COLOR_ID = 1");
  EXPECT_EQ(Conn->BeginTrans(), 2);
  Conn->Execute(u"DELETE FROM DS_COLOR_REC");
  Conn->RollbackTrans();
  EXPECT_EQ(Scalar(u"SELECT count(*) FROM DS_COLOR_REC").AsInteger(), 2);
  Conn->CommitTrans();
  EXPECT_FALSE(Conn->InTransaction());
  EXPECT_EQ(Scalar(u"SELECT count(*) FROM DS_COLOR_REC").AsInteger(), 2);
  try {
    Conn->CommitTrans();
    ADD_FAILURE();
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"No transaction is active");
  }
  Conn->BeginTrans();
  Conn->Execute(u"DELETE FROM DS_COLOR_REC");
  Conn->Close();  // an open transaction is rolled back, never half-kept
  Conn->Open();
  EXPECT_EQ(Scalar(u"SELECT count(*) FROM DS_COLOR_REC").AsInteger(), 2);
}

TEST_F(ADODB, CommandBindsParametersByNameAndCountsRows) {
  TADOCommand Cmd(nullptr);
  Cmd.SetConnection(Conn.get());
  Cmd.SetCommandText(u"UPDATE DS_COLOR_REC\nSET AM=:AM\nWHERE DS_COLOR_REC.COLOR_ID=:ColorID");
  ASSERT_EQ(Cmd.Parameters()->Count(), 2);
  Cmd.Parameters()->ParamByName(u"colorid")->SetValue(String(u"1"));  // text against integers
  Cmd.Parameters()->ParamByName(u"AM")->SetValue(2.5);
  Cmd.SetPrepared(true);
  EXPECT_EQ(Cmd.Execute(), 2);
  EXPECT_EQ(Scalar(u"SELECT sum(AM) FROM DS_COLOR_REC WHERE COLOR_ID = 1").AsDouble(), 5.0);
  Cmd.Parameters()->ParamByName(u"ColorID")->SetValue(3);  // re-bound on the next run
  EXPECT_EQ(Cmd.Execute(), 1);
  EXPECT_THROW(Cmd.Parameters()->ParamByName(u"NOPE"), EDatabaseError);
}

TEST_F(ADODB, QueryReadsEveryRowWithFieldsFromDeclaredTypes) {
  auto Q = Query(u"SELECT DS_COLOR.*, ID as ID1, ROUND(AM, 0) AS R\nFROM DS_COLOR\n"
                 u"WHERE ROUND(AM,2)=100 ORDER BY IND, NM COLLATE RU, ID");
  Q->Open();
  EXPECT_EQ(Q->RecordCount(), 3);
  EXPECT_EQ(Q->FieldByName(u"ID")->DataType(), ftAutoInc);
  EXPECT_EQ(Q->FieldByName(u"NM")->DataType(), ftWideString);
  EXPECT_EQ(Q->FieldByName(u"AM")->DataType(), ftFloat);
  EXPECT_EQ(Q->FieldByName(u"IND")->DataType(), ftInteger);
  EXPECT_EQ(Q->FieldByName(u"R")->DataType(), ftFloat);
  std::vector<String> Names;
  for (Q->First(); !Q->Eof(); Q->Next()) Names.push_back(Q->FieldByName(u"NM")->AsString());
  EXPECT_EQ(Names, (std::vector<String>{u"Белый", u"елка", u"Ёлка"}));
  Q->First();
  EXPECT_EQ(Q->FieldByName(u"PRICE1")->AsFloat(), 154.5);
  EXPECT_EQ(Scalar(u"SELECT ROUND(PRICE1) FROM DS_COLOR WHERE ID = 1").AsDouble(), 154.0);
  EXPECT_EQ(Scalar(u"SELECT count(*) FROM DS_COLOR WHERE NM LIKE 'ЁЛ%'").AsInteger(), 1);
  EXPECT_EQ(Scalar(u"SELECT count(*) FROM DS_COLOR WHERE MID(NM, 1, 1) LIKE 'е'").AsInteger(), 1);
}

TEST_F(ADODB, PostingWritesTheBaseTableAndReadsTheNewKeyBack) {
  auto Q = Query(u"SELECT * FROM DS_COLOR_REC WHERE COLOR_ID=:ID ORDER BY RID");
  Q->Parameters()->ParamByName(u"ID")->SetValue(1);
  Q->Open();
  ASSERT_EQ(Q->RecordCount(), 2);
  Q->Edit();
  Q->FieldByName(u"AM")->SetAsFloat(61);
  Q->Post();
  Q->Append();
  Q->FieldByName(u"COLOR_ID")->SetAsInteger(1);
  Q->FieldByName(u"AM")->SetAsFloat(1);
  Q->Post();
  EXPECT_EQ(Q->FieldByName(u"RID")->AsInteger(), 5);       // the database's key, at once
  EXPECT_EQ(Q->FieldByName(u"IS_BASE1")->AsInteger(), 0);  // and the column default
  EXPECT_EQ(Q->RecNo(), 3);
  Q->First();
  Q->Delete();
  EXPECT_EQ(Q->RecordCount(), 2);
  EXPECT_EQ(Q->FieldByName(u"RID")->AsInteger(), 2);

  auto Check = Query(u"SELECT group_concat(RID || ':' || AM, ' ') FROM "
                     u"(SELECT * FROM DS_COLOR_REC WHERE COLOR_ID = 1 ORDER BY RID)");
  Check->Open();
  EXPECT_EQ(Check->Fields()->Fields(0)->AsString(), u"2:40.0 5:1.0");
  // A deleted key is never given again.
  Q->Append();
  Q->FieldByName(u"COLOR_ID")->SetAsInteger(1);
  Q->Post();
  EXPECT_EQ(Q->FieldByName(u"RID")->AsInteger(), 6);
}

TEST_F(ADODB, FailedPostKeepsTheEditAndWritesNothing) {
  auto Q = Query(u"SELECT * FROM DS_COLOR_REC ORDER BY RID");
  Q->Open();
  Q->Edit();
  Q->FieldByName(u"IS_BASE1")->SetAsInteger(7);
  try {
    Q->Post();
    ADD_FAILURE() << "the check constraint did not fail";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"CHECK constraint failed: IS_BASE1 IN (0,1)");
  }
  EXPECT_EQ(Q->State(), dsEdit);
  Q->Cancel();
  EXPECT_EQ(Q->FieldByName(u"IS_BASE1")->AsInteger(), 0);
  EXPECT_EQ(Scalar(u"SELECT max(IS_BASE1) FROM DS_COLOR_REC").AsInteger(), 0);
}

TEST_F(ADODB, DatesTravelAsIsoText) {
  auto Q = Query(u"SELECT * FROM DR_ORD");
  Q->Open();
  EXPECT_EQ(Q->FieldByName(u"DT")->DataType(), ftDateTime);
  Q->Append();
  Q->FieldByName(u"NUM")->SetAsInteger(12);
  Q->FieldByName(u"DT")->SetAsDateTime(46365.0);  // 2026-12-09
  Q->Post();
  EXPECT_EQ(Scalar(u"SELECT DT || '' FROM DR_ORD").AsString(), u"2026-12-09");
  Q->Close();
  Q->Open();
  EXPECT_EQ(Q->FieldByName(u"DT")->AsDateTime(), 46365.0);
}

TEST_F(ADODB, DatesBeforeTheEpochKeepTheirTimeOfDay) {
  // -1.25 is 1899-12-29 06:00: the fraction counts forward from that day's midnight.
  auto Q = Query(u"SELECT * FROM DR_ORD");
  Q->Open();
  Q->Append();
  Q->FieldByName(u"DT")->SetAsDateTime(-1.25);
  Q->Post();
  EXPECT_EQ(Scalar(u"SELECT DT || '' FROM DR_ORD").AsString(), u"1899-12-29 06:00:00");
  Q->Close();
  Q->Open();
  EXPECT_EQ(Q->FieldByName(u"DT")->AsDateTime(), -1.25);
}

TEST_F(ADODB, ImpossibleDayOfMonthIsNoDate) {
  Conn->Execute(u"INSERT INTO DR_ORD (NUM, DT) VALUES (1, '2024-02-31'), (2, '2024-02-29')");
  auto Q = Query(u"SELECT DT FROM DR_ORD ORDER BY NUM");
  Q->Open();
  // Text that is no date stays text, as any other text in a date column does.
  const Variant V = Q->Fields()->Fields(0)->Value();
  EXPECT_TRUE(V.IsString());
  EXPECT_EQ(V.AsString(), u"2024-02-31");
  Q->Next();
  EXPECT_EQ(Q->Fields()->Fields(0)->AsDateTime(), EncodeDate(2024, 2, 29));
}

TEST_F(ADODB, ResultsWithoutAKeyAreReadOnly) {
  auto Q = Query(u"SELECT COLOR_ID, sum(AM) AS S FROM DS_COLOR_REC GROUP BY COLOR_ID");
  Q->Open();
  EXPECT_FALSE(Q->CanModify());
  EXPECT_THROW(Q->Edit(), EDatabaseError);
}

TEST_F(ADODB, LocateMovesOnlyOnAMatch) {
  auto Q = Query(u"SELECT * FROM DS_COLOR ORDER BY ID");
  Q->Open();
  EXPECT_TRUE(Q->Locate(u"ID", 3, {}));
  EXPECT_EQ(Q->RecNo(), 3);
  EXPECT_FALSE(Q->Locate(u"ID", 99, {}));
  EXPECT_EQ(Q->RecNo(), 3);
  EXPECT_TRUE(Q->Locate(u"NM", String(u"ЁЛ"), {loCaseInsensitive, loPartialKey}));
  EXPECT_EQ(Q->FieldByName(u"ID")->AsInteger(), 2);
  EXPECT_EQ(Q->Lookup(u"ID", 1, u"NM").AsString(), u"Белый");
  EXPECT_EQ(Q->RecNo(), 2);
}

// The data stamp moves with every change of the rows, their order or a stored value, never with
// the cursor; the stored values of a column come in cursor order without moving.
TEST_F(ADODB, DataVersionFollowsChangesAndColumnsAreReadInPlace) {
  auto Q = Query(u"SELECT ID, NM FROM DS_COLOR ORDER BY ID");
  Q->Open();
  auto Names = [&] {
    std::vector<Variant> Values;
    EXPECT_TRUE(Q->GetFieldColumn(Q->FieldByName(u"NM"), Values));
    String Joined;
    for (const Variant& V : Values) Joined += (V.IsNull() ? String(u"-") : V.AsString()) + u";";
    return Joined;
  };
  struct TStep {
    const char* Name;
    std::function<void()> Run;
    bool Changes;
  };
  const TStep Steps[] = {
      {"moves", [&] { Q->Last(); Q->Prior(); Q->First(); Q->SetRecNo(3); }, false},
      {"an edit posted", [&] { Q->Edit(); Q->FieldByName(u"NM")->SetAsString(u"Бирюза"); Q->Post(); }, true},
      {"an edit cancelled", [&] { Q->Edit(); Q->FieldByName(u"NM")->SetAsString(u"X"); Q->Cancel(); }, false},
      {"a record appended", [&] { Q->AppendRecord({Variant(), String(u"Охра")}); }, true},
      {"a record deleted", [&] { Q->First(); Q->Delete(); }, true},
      {"a filter", [&] { Q->SetFilter(u"ID > 2"); Q->SetFilteredValue(true); }, true},
      {"no filter", [&] { Q->SetFilteredValue(false); }, true},
      {"requeried", [&] { Q->Requery(); }, true},
      {"refreshed", [&] { Q->Refresh(); }, true},
      {"closed and opened", [&] { Q->Close(); Q->Open(); }, true},
  };
  EXPECT_NE(Q->DataVersion(), 0u);
  EXPECT_EQ(Names(), u"Белый;Ёлка;Арбуз;елка;");
  for (const TStep& S : Steps) {
    const unsigned Before = Q->DataVersion();
    S.Run();
    EXPECT_EQ(Q->DataVersion() != Before, S.Changes) << S.Name;
  }
  Q->SetRecNo(2);
  EXPECT_EQ(Names(), u"Ёлка;Бирюза;елка;Охра;");
  EXPECT_EQ(Q->RecNo(), 2) << "reading a column leaves the cursor";
  Q->Edit();
  std::vector<Variant> Values;
  EXPECT_FALSE(Q->GetFieldColumn(Q->FieldByName(u"NM"), Values)) << "a record in edit";
  Q->Cancel();
}

TEST_F(ADODB, DetailRunsAgainOnlyWhenTheMasterValuesChange) {
  auto Master = Query(u"SELECT * FROM DS_COLOR ORDER BY ID");
  TDataSource Source(nullptr);
  Source.SetDataSet(Master.get());
  auto Detail = Query(u"SELECT * FROM DS_COLOR_REC WHERE COLOR_ID=:ID ORDER BY RID");
  Detail->SetDataSource(&Source);
  Master->Open();
  Detail->Open();
  EXPECT_EQ(Detail->RecordCount(), 2);
  const int Runs = Detail->ExecutionCount();
  Master->Next();
  EXPECT_EQ(Detail->RecordCount(), 1);
  EXPECT_EQ(Detail->ExecutionCount(), Runs + 1);
  Master->Edit();
  Master->FieldByName(u"NM")->SetAsString(u"Ель");
  Master->Post();  // same ID: no new run
  Detail->Refresh();
  EXPECT_EQ(Detail->ExecutionCount(), Runs + 2);
  Master->Locate(u"ID", 2, {});
  EXPECT_EQ(Detail->ExecutionCount(), Runs + 2);
  Master->Next();
  EXPECT_EQ(Detail->ExecutionCount(), Runs + 3);
  EXPECT_EQ(Detail->FieldByName(u"AM")->AsFloat(), 99.5);
}

}  // namespace

TEST_F(ADODB, FilterRestrictsNavigationCountAndSearch) {
  auto Q = Query(u"SELECT ID, NM, AM FROM DS_COLOR ORDER BY ID");
  Q->SetFilter(u"AM = 100 AND NM <> 'Ёлка'");
  Q->SetFilteredValue(true);
  Q->Open();
  auto Names = [&Q] {
    String Out;
    for (Q->First(); !Q->Eof(); Q->Next()) Out += Q->FieldByName(u"NM")->AsString() + u";";
    return Out;
  };
  EXPECT_EQ(Names(), u"Белый;елка;");
  EXPECT_EQ(Q->RecordCount(), 2);
  Q->Last();
  EXPECT_EQ(Q->RecNo(), 2);
  EXPECT_FALSE(Q->Locate(u"NM", Variant(u"Арбуз"), {}));
  EXPECT_TRUE(Q->Lookup(u"ID", Variant(2), u"NM").IsNull());
  EXPECT_TRUE(Q->Locate(u"NM", Variant(u"Белый"), {}));
  EXPECT_EQ(Q->RecNo(), 1);

  // A posted row the filter no longer accepts leaves the view; a new one that fits stays.
  Q->Edit();
  Q->FieldByName(u"AM")->SetAsFloat(50);
  Q->Post();
  EXPECT_EQ(Names(), u"елка;");
  Q->Append();
  Q->FieldByName(u"NM")->SetAsString(u"Синий");
  Q->FieldByName(u"AM")->SetAsFloat(100);
  Q->Post();
  EXPECT_EQ(Q->FieldByName(u"NM")->AsString(), u"Синий");
  EXPECT_EQ(Names(), u"елка;Синий;");

  // The event narrows further; switching filtering off shows every row.
  Q->SetOnFilterRecordValue([](TDataSet* DataSet, bool& Accept) {
    Accept = DataSet->FieldByName(u"NM")->AsString() != u"елка";
  });
  EXPECT_EQ(Names(), u"Синий;");
  Q->SetFilteredValue(false);
  EXPECT_EQ(Q->RecordCount(), 5);
  Q->SetFilter(u"NM = 'ЕЛКА'");
  Q->SetOnFilterRecordValue(nullptr);
  Q->SetFilterOptionsValue({foCaseInsensitive});
  Q->SetFilteredValue(true);
  EXPECT_EQ(Names(), u"елка;");
  Q->Delete();
  EXPECT_TRUE(Q->IsEmpty());
  Q->SetFilteredValue(false);
  EXPECT_EQ(Q->RecordCount(), 4);
  Q->SetFilter(u"NO_SUCH = 1");
  EXPECT_THROW(Q->SetFilteredValue(true), EDatabaseError);
}

TEST_F(ADODB, BlobsAreStoredAsBytes) {
  Conn->Execute(u"CREATE TABLE PICS (ID INTEGER PRIMARY KEY, IMG BLOB)");
  const std::string Bytes("\0\x01\xFE\xFF" "AB", 6);
  auto Q = Query(u"SELECT ID, IMG FROM PICS");
  Q->Open();
  Q->Append();
  {
    std::unique_ptr<TStream> S(Q->CreateBlobStream(Q->FieldByName(u"IMG"), bmWrite));
    S->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  }
  Q->Post();
  EXPECT_EQ(Scalar(u"SELECT typeof(IMG) || length(IMG) FROM PICS").AsString(), u"blob6");
  auto Again = Query(u"SELECT ID, IMG FROM PICS");
  Again->Open();
  std::unique_ptr<TStream> S(Again->CreateBlobStream(Again->FieldByName(u"IMG"), bmRead));
  std::string Read(static_cast<size_t>(S->Size()), '\0');
  S->ReadBuffer(Read.data(), S->Size());
  EXPECT_EQ(Read, Bytes);
  // Edited blobs and blob parameters are bytes too.
  Again->Edit();
  static_cast<TBlobField*>(Again->FieldByName(u"IMG"))->SetAsBytes(std::string("\xFF", 1));
  Again->Post();
  EXPECT_EQ(Scalar(u"SELECT hex(IMG) FROM PICS").AsString(), u"FF");
  TADOCommand Cmd(nullptr);
  Cmd.SetConnection(Conn.get());
  Cmd.SetCommandText(u"UPDATE PICS SET IMG = :IMG");
  Cmd.Parameters()->ParamByName(u"IMG")->SetDataType(ftBlob);
  Cmd.Parameters()->ParamByName(u"IMG")->SetValue(Variant(String{u'\x00', u'\x80'}));
  Cmd.Execute();
  EXPECT_EQ(Scalar(u"SELECT typeof(IMG) || hex(IMG) FROM PICS").AsString(), u"blob0080");
}

TEST_F(ADODB, ExecSQLCountsRowsAndComputedColumnsAreReadOnly) {
  auto Q = Query(u"UPDATE DS_COLOR SET PRICE1 = :P WHERE AM = :AM");
  Q->Parameters()->ParamByName(u"P")->SetValue(Variant(5.0));
  Q->Parameters()->ParamByName(u"AM")->SetValue(Variant(100));
  EXPECT_EQ(Q->ExecSQL(), 3);
  EXPECT_EQ(Q->RowsAffected(), 3);
  EXPECT_EQ(Scalar(u"SELECT SUM(PRICE1) FROM DS_COLOR").AsInteger(), 15);

  auto R = Query(u"SELECT ID, NM, AM * 2 AS AM2 FROM DS_COLOR");
  R->Open();
  R->Edit();
  try {
    R->FieldByName(u"AM2")->SetAsFloat(1);
    ADD_FAILURE() << "a computed column was written";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"Field 'AM2' cannot be modified");
  }
  R->FieldByName(u"NM")->SetAsString(u"Новый");
  R->Post();
  EXPECT_EQ(Scalar(u"SELECT NM FROM DS_COLOR WHERE ID = 1").AsString(), u"Новый");
}

namespace {

// Dates kept as ISO text in a column declared TEXT reach a persistent date field as dates.
TEST_F(ADODB, PersistentDateFieldReadsIsoTextAsADate) {
  Conn->Execute(u"CREATE TABLE T (ID INTEGER PRIMARY KEY, DT TEXT)");
  Conn->Execute(u"INSERT INTO T VALUES (1, '2026-12-09')");
  auto Q = Query(u"SELECT ID, DT FROM T");
  auto* Id = new TIntegerField(Q.get());
  Id->SetFieldName(u"ID");
  Id->SetDataSet(Q.get());
  auto* Dt = new TDateTimeField(Q.get());
  Dt->SetFieldName(u"DT");
  Dt->SetDataSet(Q.get());
  Q->Open();
  EXPECT_EQ(Dt->AsDateTime(), EncodeDate(2026, 12, 9));
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  EXPECT_EQ(Dt->AsString(), u"09.12.2026");
}

// A column holding text its persistent field cannot read as its kind fails the open with the
// type mismatch; the same column under a text field opens.
TEST_F(ADODB, ColumnThatCannotFeedItsFieldFailsTheOpen) {
  Conn->Execute(u"CREATE TABLE T (ID INTEGER PRIMARY KEY, DT TEXT, N INTEGER)");
  Conn->Execute(u"INSERT INTO T VALUES (1, '2026-12-09', 5), (2, 'завтра', 'пять')");
  const struct {
    const char16_t* Column;
    TFieldType Kind;
    const char16_t* Error;   // nullptr: opens
  } Cases[] = {
      {u"DT", ftDateTime, u"Type mismatch for field 'DT', expecting: DateTime actual: WideString"},
      {u"N", ftInteger, u"Type mismatch for field 'N', expecting: Integer actual: WideString"},
      {u"N", ftFloat, u"Type mismatch for field 'N', expecting: Float actual: WideString"},
      {u"DT", ftWideString, nullptr},
  };
  for (const auto& C : Cases) {
    auto Q = Query(u"SELECT " + String(C.Column) + u" FROM T");
    TField* F = nullptr;
    switch (C.Kind) {
      case ftDateTime: F = new TDateTimeField(Q.get()); break;
      case ftInteger: F = new TIntegerField(Q.get()); break;
      case ftFloat: F = new TFloatField(Q.get()); break;
      default: F = new TWideStringField(Q.get()); break;
    }
    F->SetFieldName(C.Column);
    F->SetDataSet(Q.get());
    if (!C.Error) {
      Q->Open();
      EXPECT_TRUE(Q->Active());
      continue;
    }
    try {
      Q->Open();
      ADD_FAILURE() << "opened";
    } catch (const EDatabaseError& E) {
      EXPECT_EQ(E.Message(), C.Error);
    }
    EXPECT_FALSE(Q->Active());
  }
}

}  // namespace

namespace {

// A damaged page is told as a damaged file, naming it; the statements that do not touch the
// damage go on working.
TEST_F(ADODB, CorruptFileIsToldAsSuch) {
  Conn->Execute(u"CREATE TABLE BIG (ID INTEGER PRIMARY KEY, T TEXT)");
  Conn->Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<2000) "
                u"INSERT INTO BIG SELECT i, printf('%0100d', i) FROM n");
  Conn->Close();
  {
    std::fstream File("DATA/test.data", std::ios::in | std::ios::out | std::ios::binary);
    File.seekp(0, std::ios::end);
    const std::streamoff Size = File.tellp();
    const std::string Garbage(4096, '\xA5');
    for (std::streamoff At = Size - 40960; At < Size - 4096; At += 8192) {
      File.seekp(At);
      File.write(Garbage.data(), std::streamsize(Garbage.size()));
    }
  }
  Conn->Open();
  try {
    Scalar(u"SELECT COUNT(*) FROM BIG WHERE T LIKE '%7%'");
    ADD_FAILURE() << "the damage went unnoticed";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"Файл базы данных повреждён: " +
                               Utf8ToString(fs::absolute("DATA/test.data").string()));
  }
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_COLOR").AsInteger(), 4);
}

}  // namespace
