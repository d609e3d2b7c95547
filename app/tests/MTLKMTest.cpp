// MTLKMTest.cpp - the data module's memory table of materials over its dataset driver, on a
// copy of the sample database: closed after creation, rows and labels when opened by hand,
// and edits, inserts and deletes written through to the file.
#include <gtest/gtest.h>

#include "app/DM_MAIN.h"
#include "app/tests/AppFixture.h"
#include "gridlib/memtable/DataDriverZk.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/sqlite/ADODB.h"
#include "platform/db/DataSet.h"
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

}  // namespace
