// MTLKMTest.cpp - the data module's memory table of materials over its dataset driver, on a
// copy of the sample database: closed after creation, rows and labels when opened by hand,
// and edits, inserts and deletes written through to the file; an SQL driver over the same
// table writing its generated statements.
#include <gtest/gtest.h>

#include "app/DM_MAIN.h"
#include "app/tests/AppFixture.h"
#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MemTableZk.h"
#include "gridlib/memtable/tests/SQLCommandRunner.h"
#include "platform/db/DataSet.h"
#include "platform/sqlite/ADODB.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

class MTLKMTest : public AppFixture {
protected:
  TMemTableZk* Table() { return dynamic_cast<TMemTableZk*>(Module->FindComponent(u"MTLKM")); }
};

TEST_F(MTLKMTest, StaysClosedAndShowsTheMaterialsInTheQuerysOrderWhenOpened) {
  TMemTableZk* MT = Table();
  ASSERT_NE(MT, nullptr);
  EXPECT_FALSE(MT->Active());
  MT->Open();
  MT->Last();  // records are read from the query on demand
  const Variant Count = Scalar(u"SELECT COUNT(*) FROM DS_LKM WHERE LKM_TP_ID IN (1, 2)");
  EXPECT_EQ(MT->RecordCount(), Count.AsInteger());
  String Order;
  for (MT->First(); !MT->Eof(); MT->Next())
    Order += MT->FieldByName(u"ID")->AsString() + u";";
  EXPECT_EQ(Order, Scalar(u"SELECT GROUP_CONCAT(ID, ';') || ';' FROM (SELECT ID FROM DS_LKM"
                          u" WHERE LKM_TP_ID=1 or LKM_TP_ID=2 ORDER BY LKM_TP_ID, NM COLLATE RU)")
                       .AsString());
  EXPECT_EQ(MT->FieldByName(u"ID")->DisplayLabel(), u"Код");
  EXPECT_EQ(MT->FieldByName(u"NM")->DisplayLabel(), u"Наименование");
  EXPECT_EQ(MT->FieldByName(u"COMMENT")->DisplayLabel(), u"Примечание");
}

TEST_F(MTLKMTest, EditInsertAndDeleteReachTheFile) {
  TMemTableZk* MT = Table();
  MT->Open();
  MT->First();
  const int FirstId = MT->FieldByName(u"ID")->AsInteger();
  MT->Edit();
  MT->FieldByName(u"COMMENT")->SetAsString(u"проверка");
  MT->Post();
  EXPECT_EQ(Scalar(u"SELECT COMMENT FROM DS_LKM WHERE ID=" + IntToStr(FirstId)).AsString(), u"проверка");

  MT->Append();
  MT->FieldByName(u"NM")->SetAsString(u"Новый материал");
  MT->FieldByName(u"LKM_TP_ID")->SetAsInteger(2);
  MT->Post();
  const int NewId = MT->FieldByName(u"ID")->AsInteger();
  EXPECT_EQ(NewId, Scalar(u"SELECT MAX(ID) FROM DS_LKM").AsInteger());
  EXPECT_EQ(Scalar(u"SELECT NM FROM DS_LKM WHERE ID=" + IntToStr(NewId)).AsString(), u"Новый материал");

  MT->Delete();
  EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM DS_LKM WHERE ID=" + IntToStr(NewId)).AsInteger(), 0);
}

// A row changed behind the table's back: the post fails with the driver's error and the
// file keeps the other writer's change.
TEST_F(MTLKMTest, RowChangedBehindItsBackFailsThePostAndLeavesTheFile) {
  TMemTableZk* MT = Table();
  MT->Open();
  MT->Last();  // every record read: the driver reads the provider again to find the row
  MT->First();
  const String Id = MT->FieldByName(u"ID")->AsString();
  Exec(u"UPDATE DS_LKM SET NM = NM || ' (другой)' WHERE ID=" + Id);
  const Variant Before = Scalar(u"SELECT COMMENT FROM DS_LKM WHERE ID=" + Id);
  MT->Edit();
  MT->FieldByName(u"COMMENT")->SetAsString(u"моё");
  try {
    MT->Post();
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_NE(E.Message().find(u"Record not found or changed"), String::npos);
  }
  EXPECT_TRUE(VarSameValue(Scalar(u"SELECT COMMENT FROM DS_LKM WHERE ID=" + Id), Before));
  MT->Cancel();
}

// Cached updates over the recipe lines, the second change breaking a constraint of the table:
// each update-error action decides what reaches the file and what stays pending.
TEST_F(MTLKMTest, CachedUpdatesMeetARealConstraintError) {
  struct {
    TUpdateErrorActionZk Action;
    int Applied;
    int Written;  // changed AM values in the file
    int Pending;
  } Cases[] = {{ueaCountinueSkip, 2, 2, 1}, {ueaCountinueZk, 2, 2, 0}, {ueaBreakAbortZk, 1, 1, 2}};
  for (const auto& C : Cases) {
    Exec(u"UPDATE DS_COLOR_REC_A SET AM = 1 WHERE RID IN (SELECT RID FROM DS_COLOR_REC_A ORDER BY RID LIMIT 3)");
    TADOQuery Query(nullptr);
    Query.SetConnection(Module->Connection);
    Query.SQL()->SetText(u"SELECT * FROM DS_COLOR_REC_A ORDER BY RID");
    TDataSetDriverZk Driver(nullptr);
    Driver.SetProviderDataSet(&Query);
    Driver.SetOnUpdateError([&](TDataDriverZk*, TMemTableDataZk*, TMemoryRecordZk*, TUpdateErrorActionZk& A) {
      A = C.Action;
    });
    TMemTableZk Lines(nullptr);
    Lines.SetDataDriver(&Driver);
    Lines.SetCachedUpdates(true);
    Lines.Open();
    Lines.First();
    for (int Row = 0; Row < 3; ++Row, Lines.Next()) {
      Lines.Edit();
      Lines.FieldByName(u"AM")->SetAsFloat(7);
      if (Row == 1) Lines.FieldByName(u"IS_BASE1")->Clear();  // NOT NULL
      Lines.Post();
    }
    EXPECT_EQ(Lines.ApplyUpdates(-1), C.Applied) << C.Action;
    EXPECT_EQ(Scalar(u"SELECT COUNT(*) FROM (SELECT AM FROM DS_COLOR_REC_A ORDER BY RID LIMIT 3) WHERE AM = 7")
                  .AsInteger(),
              C.Written)
        << C.Action;
    int Pending = 0;
    for (TMemoryRecordZk* Rec : Lines.MemTableData()->RecordsList()->DeltaList())
      if (Rec) ++Pending;
    EXPECT_EQ(Pending, C.Pending) << C.Action;
  }
}

// An SQL driver whose resolver reads through its select command and runs the generated
// statements through TADOCommand on the module's connection: cached changes to the materials
// reach exactly the rows meant, every other row of the file stays as it was.
TEST_F(MTLKMTest, SQLDriverWritesExactlyTheRecordsMeant) {
  const String Rows = u"SELECT GROUP_CONCAT(R, '|') FROM (SELECT ID || ';' || IFNULL(NM, '') || ';' ||"
                      u" IFNULL(COMMENT, '') || ';' || IFNULL(LKM_TP_ID, '') AS R FROM DS_LKM";
  auto Others = [&](const String& Ids) { return Scalar(Rows + u" WHERE ID NOT IN (" + Ids + u") ORDER BY ID)"); };
  auto Row = [&](int Id) { return Scalar(Rows + u" WHERE ID = " + IntToStr(Id) + u")"); };

  struct TResolverGuard {  // the process-wide resolver comes back whatever happens
    std::unique_ptr<TSQLDataDriverResolver> Saved;
    ~TResolverGuard() { SetSQLDataDriverResolver(std::move(Saved)); }
  } Guard{SetSQLDataDriverResolver(std::make_unique<TSQLDataDriverResolver>())};
  TMemoryRecordZk* Current = nullptr;
  GetSQLDataDriverResolver()->SetOnUpdateRecord(
      [&](TCustomSQLDataDriverZk*, TMemTableDataZk*, TMemoryRecordZk* MemRec, bool&) { Current = MemRec; });
  GetSQLDataDriverResolver()->SetOnExecuteCommand([&](TCustomSQLDataDriverZk* Driver, TCustomSQLCommandZk* Command,
                                                      TDataSet*& Cursor, bool& FreeOnEof, bool& Processed) {
    Processed = true;
    if (Command == Driver->SelectCommand()) {
      auto* Query = new TADOQuery(nullptr);
      Query->SetConnection(Module->Connection);
      Query->SQL()->SetText(Command->CommandText()->Text());
      Query->Open();
      Cursor = Query;
      FreeOnEof = true;
      return 0;
    }
    Cursor = nullptr;
    return RunGeneratedCommand(Module->Connection, Command, Current);
  });

  TCustomSQLDataDriverZk Driver(nullptr);
  Driver.SelectCommand()->CommandText()->SetText(
      u"SELECT ID, NM, COMMENT, LKM_TP_ID FROM DS_LKM WHERE LKM_TP_ID = 1 ORDER BY ID");
  Driver.DynaSQLParams()->SetUpdateTable(u"DS_LKM");
  Driver.DynaSQLParams()->SetKeyFields(u"ID");
  Driver.DynaSQLParams()->SetUpdateFields(u"NM,COMMENT,LKM_TP_ID");
  Driver.DynaSQLParams()->SetOptions({dsoDynamicSQLInsertZk, dsoDynamicSQLUpdateZk, dsoDynamicSQLDeleteZk});
  TMemTableZk Table(nullptr);
  Table.SetDataDriver(&Driver);
  Table.SetCachedUpdates(true);
  Table.Open();
  Table.Last();
  ASSERT_EQ(Table.RecordCount(), Scalar(u"SELECT COUNT(*) FROM DS_LKM WHERE LKM_TP_ID = 1").AsInteger());
  ASSERT_GE(Table.RecordCount(), 2);

  Table.First();
  const int Edited = Table.FieldByName(u"ID")->AsInteger();
  const Variant EditedComment = Scalar(u"SELECT COMMENT FROM DS_LKM WHERE ID = " + IntToStr(Edited));
  Table.Next();
  const int Deleted = Table.FieldByName(u"ID")->AsInteger();
  const String Touched = IntToStr(Edited) + u"," + IntToStr(Deleted);
  const Variant Before = Others(Touched);

  Table.First();
  Table.Edit();
  Table.FieldByName(u"NM")->SetAsString(u"Эмаль «проверка»");
  Table.Post();
  Table.Next();
  Table.Delete();
  Table.Append();
  Table.FieldByName(u"NM")->SetAsString(u"Новый материал");
  Table.FieldByName(u"LKM_TP_ID")->SetAsInteger(1);
  Table.Post();
  // The key column generates its values: the table numbers the new record itself, and the
  // insert writes that number.
  const int Inserted = Table.FieldByName(u"ID")->AsInteger();
  EXPECT_TRUE(Row(Inserted).IsNull());  // cached: nothing written yet

  EXPECT_EQ(Table.ApplyUpdates(-1), 3);
  EXPECT_EQ(VarToStr(Row(Edited)), IntToStr(Edited) + u";Эмаль «проверка»;" + VarToStr(EditedComment) + u";1");
  EXPECT_TRUE(Row(Deleted).IsNull());
  EXPECT_EQ(VarToStr(Row(Inserted)), IntToStr(Inserted) + u";Новый материал;;1");
  EXPECT_TRUE(VarSameValue(Others(Touched + u"," + IntToStr(Inserted)), Before));
  Table.Close();
}

}  // namespace
