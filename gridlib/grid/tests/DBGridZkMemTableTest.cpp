// DBGridZkMemTableTest.cpp - the data grid over a dataset offering IMemTableZk (a fake over
// an array dataset): the grid registers for view events while linked and leaves after, and a
// view event repaints without moving the cursor.
#include <gtest/gtest.h>

#include <algorithm>

#include "gridlib/grid/tests/DBGridZkTestForm.h"

namespace {

class TFakeMemTable : public TArrayDataSet, public IMemTableZk {
public:
  using TArrayDataSet::TArrayDataSet;
  std::vector<TComponent*> Receivers;

  int FetchRecords(int) override { return 0; }
  int GetInstantReadCurRow() override { return RecNo() - 1; }
  bool ReservedQuery() override { return false; }
  bool GetTreeNodeExpanded() override { return false; }
  bool GetTreeNodeHasChildren() override { return false; }
  int GetTreeNodeLevel() override { return -1; }
  int GetPrevNodeLevel() override { return -1; }
  int GetNextNodeLevel() override { return -1; }
  TMemoryRecordZk* GetRec() override { return nullptr; }
  int InstantReadIndexOfBookmark(const TBookmark&) override { return -1; }
  int InstantReadRowCount() override { return RecordCount(); }
  bool GetTreeViewMode() override { return false; }
  bool ParentHasNextSibling(int) override { return false; }
  bool GotoRec(TMemoryRecordZk*) override { return false; }
  int SetTreeNodeExpanded(int, bool) override { return -1; }
  std::unique_ptr<IMemTableDataFieldValueListZk> GetFieldValueList(const String&) override {
    return nullptr;
  }
  bool MoveRecords(TBMListZk*, int, int, bool) override { return false; }
  void InstantReadEnter(int) override {}
  void InstantReadLeave() override {}
  void RegisterEventReceiver(TComponent* R) override { Receivers.push_back(R); }
  void UnregisterEventReceiver(TComponent* R) override { std::erase(Receivers, R); }

  void Fire(int Row, TMTViewEventTypeZk Event) {
    for (TComponent* R : Receivers)
      if (auto* E = dynamic_cast<IMTViewEventReceiverZk*>(R)) E->MTViewDataEvent(Row, Event, -1);
  }
};

TEST(DBGridZkMemTable, GridRegistersForViewEventsWhileLinked) {
  TDBGridOnForm F(0);
  auto* Table = new TFakeMemTable(F.Form);
  FillItems(Table, 20);
  Table->Open();
  F.Source->SetDataSet(nullptr);
  F.Source->SetDataSet(Table);
  ASSERT_EQ(Table->Receivers.size(), 1u);
  EXPECT_EQ(Table->Receivers[0], F.Grid);
  Table->SetRecNo(5);
  Table->Fire(2, mtRowChangedZk);
  Table->Fire(-1, mtViewDataChangedZk);
  EXPECT_EQ(F.Grid->ViewEventCount(), 2);
  EXPECT_EQ(Table->RecNo(), 5) << "a view event does not move the cursor";
  F.Grid->SetTryUseMemTableInt(false);
  EXPECT_TRUE(Table->Receivers.empty());
  F.Grid->SetTryUseMemTableInt(true);
  EXPECT_EQ(Table->Receivers.size(), 1u);
  F.Grid->SetDataSource(nullptr);
  EXPECT_TRUE(Table->Receivers.empty()) << "unlinking leaves the table";
}

}  // namespace
