// MTLKMTest.cpp - the data module's memory table of materials over its dataset driver, on a
// copy of the sample database: closed after creation, rows and labels when opened by hand,
// and edits, inserts and deletes written through to the file.
#include <gtest/gtest.h>

#include "app/DM_MAIN.h"
#include "app/tests/AppFixture.h"
#include "gridlib/memtable/MemTableZk.h"
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

}  // namespace
