// DataDriverZkSQLTest.cpp - the SQL driver's generated statements, its routing through the
// resolver, and generated statements run on a real database file by a test resolver.
#include "gridlib/memtable/DataDriverZk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "gridlib/memtable/MemTableZk.h"
#include "gridlib/memtable/tests/MemTableTestUtil.h"
#include "gridlib/memtable/tests/SQLCommandRunner.h"
#include "platform/classes/Strings.h"
#include "platform/db/Params.h"
#include "platform/sqlite/ADODB.h"

namespace fs = std::filesystem;

namespace {

String Lines(TStrings* S) {
  String R;
  for (int I = 0; I < S->Count(); ++I) R += S->Strings(I) + u"|";
  return R;
}

struct TRecords {
  std::unique_ptr<TMemTableDataZk> Data = MakeContainer({{u"ID", ftInteger}, {u"NM", ftString}, {u"COMMENT", ftString}});
  TMemoryRecordZk* Fetched(int Id) {
    TMemoryRecordZk* R = Data->RecordsList()->NewRecord();
    R->SetDataValue(0, dvvValueZk, Id);
    R->SetDataValue(1, dvvValueZk, u"n");
    R->SetDataValue(2, dvvValueZk, u"c");
    Data->RecordsList()->FetchRecord(R);
    return R;
  }
};

TEST(SQLDataDriverZk, GeneratedStatements) {
  TRecords Recs;
  TMemoryRecordZk* Modified = Recs.Fetched(1);
  TMemoryRecordZk* Deleted = Recs.Fetched(2);
  TMemoryRecordZk* Unchanged = Recs.Fetched(3);
  Recs.Data->RecordsList()->SetCachedUpdates(true);
  SetValue(Modified, 1, u"N");
  SetValue(Unchanged, 1, u"n");
  Recs.Data->RecordsList()->DeleteRecord(Deleted->Index());
  TMemoryRecordZk* Inserted = AddRec(Recs.Data.get(), {4, u"x", u"y"});

  TCustomSQLDataDriverZk Driver(nullptr);
  TDynaSQLParamsZk* P = Driver.DynaSQLParams();
  P->SetUpdateTable(u"T");
  P->SetKeyFields(u"ID");
  P->SetUpdateFields(u"NM,COMMENT");
  P->SetSkipUnchangedFields(true);
  TCustomSQLCommandZk* Cmd = Driver.ServiceCommand();
  struct {
    TMemoryRecordZk* Rec;
    const char16_t* Text;
  } Cases[] = {
      {Inserted, u"insert into T|  (ID, NM, COMMENT)|values|  (:ID, :NM, :COMMENT)|"},
      {Modified, u"update T|set| NM = :NM|where| ID = :OLD_ID|"},
      {Unchanged, u""},
      {Deleted, u"delete from T|where| ID = :OLD_ID|"},
  };
  for (const auto& C : Cases) {
    Driver.GenerateDynamicSQLCommand(C.Rec, Cmd);
    EXPECT_EQ(Lines(Cmd->CommandText()), C.Text);
    EXPECT_EQ(Cmd->CommandType(), cthUpdateQuery);
  }

  P->SetUpdateFields(u"A_LONG_FIELD_NAME_1,A_LONG_FIELD_NAME_2,A_LONG_FIELD_NAME_3,A_LONG_FIELD_NAME_4,"
                     u"A_LONG_FIELD_NAME_5");
  P->SetSkipUnchangedFields(false);
  Driver.GenerateDynamicSQLCommand(Inserted, Cmd);
  EXPECT_EQ(Cmd->CommandText()->Strings(1),
            u"  (ID, A_LONG_FIELD_NAME_1, A_LONG_FIELD_NAME_2, A_LONG_FIELD_NAME_3, A_LONG_FIELD_NAME_4");
  EXPECT_EQ(Cmd->CommandText()->Strings(2), u"   , A_LONG_FIELD_NAME_5)");

  P->SetKeyFields(u"");  // an unkeyed update or delete would change every row
  EXPECT_THROW(Driver.GenerateDynamicSQLCommand(Modified, Cmd), Exception);
  EXPECT_THROW(Driver.GenerateDynamicSQLCommand(Deleted, Cmd), Exception);
  P->SetUpdateFields(u"NM,NOPE");
  P->SetKeyFields(u"ID");
  P->SetSkipUnchangedFields(true);
  try {
    Driver.GenerateDynamicSQLCommand(Modified, Cmd);
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Invalid field name \"NOPE\" in field list \"NM,NOPE\"");
  }
}

TEST(SQLDataDriverZk, WithoutHooksCommandsReturnNothing) {
  TCustomSQLDataDriverZk Driver(nullptr);
  TDataSet* Cursor = nullptr;
  bool FreeOnEof = false;
  EXPECT_EQ(Driver.ExecuteCommand(Driver.SelectCommand(), Cursor, FreeOnEof), -1);
  EXPECT_EQ(Cursor, nullptr);
  TRecords Recs;
  try {
    Driver.DefaultBuildDataStruct(Recs.Data->DataStruct());
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"SelectCommand.Execute does not get DataSet");
  }
  std::unique_ptr<TSQLDataDriverResolver> Saved = SetSQLDataDriverResolver(nullptr);
  EXPECT_EQ(Driver.ExecuteCommand(Driver.SelectCommand(), Cursor, FreeOnEof), -1);
  SetSQLDataDriverResolver(std::move(Saved));
}

TEST(SQLDataDriverZk, GeneratedStatementsRunOnAFileChangeExactlyTheRecordsMeant) {
  const fs::path Dir = fs::temp_directory_path() / ("vorenta_sqldriver_" + std::to_string(getpid()));
  fs::create_directories(Dir);
  std::ofstream(Dir / "t.data").close();
  TADOConnection Conn(nullptr);
  Conn.SetConnectionString(Utf8ToString("Data Source=" + (Dir / "t.data").string()));
  Conn.Open();
  Conn.Execute(u"CREATE TABLE T (ID INTEGER PRIMARY KEY, NM TEXT, COMMENT TEXT)");
  Conn.Execute(u"INSERT INTO T VALUES (1, 'a', 'x'), (2, 'b', 'y'), (3, 'c', 'z')");

  // The test resolver notes the record being written and runs its generated statement through
  // TADOCommand: ":NAME" from the record's values, ":OLD_NAME" from its oldest ones.
  auto Saved = SetSQLDataDriverResolver(std::make_unique<TSQLDataDriverResolver>());
  TMemoryRecordZk* Current = nullptr;
  GetSQLDataDriverResolver()->SetOnUpdateRecord(
      [&](TCustomSQLDataDriverZk*, TMemTableDataZk*, TMemoryRecordZk* MemRec, bool&) { Current = MemRec; });
  GetSQLDataDriverResolver()->SetOnExecuteCommand(
      [&](TCustomSQLDataDriverZk*, TCustomSQLCommandZk* Command, TDataSet*& Cursor, bool&, bool& Processed) {
        Processed = true;
        Cursor = nullptr;
        return RunGeneratedCommand(&Conn, Command, Current);
      });

  TRecords Recs;
  for (int Id = 1; Id <= 3; ++Id) {
    TMemoryRecordZk* R = Recs.Fetched(Id);
    R->SetDataValue(1, dvvValueZk, Id == 1 ? u"a" : Id == 2 ? u"b" : u"c");
  }
  TCustomSQLDataDriverZk Driver(nullptr);
  Driver.DynaSQLParams()->SetUpdateTable(u"T");
  Driver.DynaSQLParams()->SetKeyFields(u"ID");
  Driver.DynaSQLParams()->SetUpdateFields(u"NM,COMMENT");
  Driver.DynaSQLParams()->SetOptions({dsoDynamicSQLInsertZk, dsoDynamicSQLUpdateZk, dsoDynamicSQLDeleteZk});
  TRecordsListZk* List = Recs.Data->RecordsList();
  List->SetCachedUpdates(true);
  SetValue(List->Items(1), 1, u"B");
  List->DeleteRecord(2);
  AddRec(Recs.Data.get(), {4, u"d", u"w"});
  EXPECT_EQ(Driver.ApplyUpdates(Recs.Data.get()), 3);

  TADOQuery Q(nullptr);
  Q.SetConnection(&Conn);
  Q.SQL()->SetText(u"SELECT GROUP_CONCAT(ID || NM || COMMENT, ' ') AS R FROM (SELECT * FROM T ORDER BY ID)");
  Q.Open();
  EXPECT_EQ(Q.FieldByName(u"R")->AsString(), u"1ax 2Bc 4dw");
  Q.Close();
  SetSQLDataDriverResolver(std::move(Saved));
  Conn.Close();
  fs::remove_all(Dir);
}

}  // namespace
