// DBGridZkMoveTest.cpp - moving records by dragging the indicator over a memory table: the
// record lands on the row it was dropped on, a drop on its own row moves nothing, and with
// record selection allowed only a selected record can be dragged.
#include <gtest/gtest.h>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

namespace {

class DBGridZkMove : public ::testing::Test {
protected:
  void SetUp() override {
    UseTestClock(true);
    AdvanceTestClock(1000);
    Table = new TMemTableZk(F.Form);
    Table->FieldDefs()->Add(u"ID", ftInteger);
    Table->FieldDefs()->Add(u"NAME", ftWideString, 20);
    Table->CreateDataSet();
    for (int I = 1; I <= 10; ++I) Table->AppendRecord({I, String(u"r") + IntToStr(I)});
    Table->First();
    F.Source->SetDataSet(nullptr);
    F.Source->SetDataSet(Table);
    G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghRecordMoving});
    G->SetFocus();
  }
  void TearDown() override { UseTestClock(false); }

  TPoint Indicator(int ARow) {
    const TRect R = G->CellScreenRect(0, ARow);
    return G->ClientToScreen(TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
  }
  void Drag(int FromRow, int ToRow) {
    AdvanceTestClock(1000);
    SimulateMouseDown(mbLeft, Indicator(FromRow));
    SimulateMouseMove(Indicator(ToRow), {ssLeft});
    SimulateMouseUp(mbLeft, Indicator(ToRow));
  }
  std::vector<int> Ids() {
    std::vector<int> Result;
    const int Saved = Table->RecNo();
    for (Table->First(); !Table->Eof(); Table->Next())
      Result.push_back(Table->FieldByName(u"ID")->AsInteger());
    Table->SetRecNo(Saved);
    return Result;
  }

  TDBGridOnForm F{0};
  TDBGridZk* G = F.Grid;
  TMemTableZk* Table = nullptr;
};

TEST_F(DBGridZkMove, DraggedRecordLandsOnTheDropRow) {
  Drag(3, 7);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 4, 5, 6, 7, 3, 8, 9, 10}));
  EXPECT_EQ(G->GridState(), dgsNormal);
  Drag(5, 5);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 4, 5, 6, 7, 3, 8, 9, 10})) << "a drop on itself";
}

TEST_F(DBGridZkMove, OnlySelectedRecordsMoveWhileRecordsMayBeSelected) {
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect, dgRowSelect});
  Drag(2, 6);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}))
      << "the press selects instead of dragging";
  G->ClearSelection();
  Table->SetRecNo(2);
  G->SelectedRows()->SetCurrentRowSelected(true);
  Table->SetRecNo(3);
  G->SelectedRows()->SetCurrentRowSelected(true);
  Drag(2, 6);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 4, 5, 6, 2, 3, 7, 8, 9, 10}));
}

}  // namespace
