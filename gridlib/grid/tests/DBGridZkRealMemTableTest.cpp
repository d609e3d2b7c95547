// DBGridZkRealMemTableTest.cpp - the data grid over the memory table itself: it registers for
// the table's view events while linked, reads each painted row through the link (RecNo and
// fields of that row), and a posted change reaches it as a view event.
#include <gtest/gtest.h>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/rtl/SysUtils.h"

namespace {

TEST(DBGridZkRealMemTable, RowsEventsAndStripesOverTheMemoryTable) {
  TDBGridOnForm F(0);
  auto* Table = new TMemTableZk(F.Form);
  Table->FieldDefs()->Add(u"ID", ftInteger);
  Table->FieldDefs()->Add(u"NM", ftWideString, 20);
  Table->CreateDataSet();
  for (int I = 1; I <= 6; ++I)
    Table->AppendRecord({Variant(I), Variant(String(u"Колер ") + IntToStr(I))});
  Table->First();
  // The table's fields come out hidden from its data structure; the grid shows visible ones.
  for (int I = 0; I < Table->FieldCount(); ++I) Table->Fields()->Fields(I)->SetVisible(true);
  // The source switches from the open array dataset straight to the open table.
  F.Source->SetDataSet(Table);
  F.Grid->SetEvenRowColor(clYellow);
  F.Grid->SetOddRowColor(clWhite);
  ASSERT_EQ(F.Grid->DataLink()->MemTable(), static_cast<IMemTableZk*>(Table));
  ASSERT_NE(F.Grid->FindColumnByName(u"NM"), nullptr) << "columns follow the switched dataset";
  EXPECT_EQ(F.Grid->FindColumnByName(u"NAME"), nullptr);

  // Rows not current report their own record number and values while painted.
  for (int Row = 0; Row < 4; ++Row)
    F.Grid->ForDataRow(Row, [&] {
      EXPECT_EQ(F.Grid->RecNoZk(), Row + 1);
      EXPECT_EQ(F.Grid->FindColumnByName(u"NM")->DisplayText(), u"Колер " + IntToStr(Row + 1));
      EXPECT_EQ(F.Grid->RowColor(F.Grid->RecNoZk()), Row % 2 == 1 ? clYellow : clWhite);
    });
  EXPECT_EQ(Table->RecNo(), 1) << "reading rows leaves the cursor";

  // A posted change reaches the grid as a view event; unlinked, it no longer does.
  const int Before = F.Grid->ViewEventCount();
  Table->Edit();
  Table->FieldByName(u"NM")->SetAsString(u"Охра");
  Table->Post();
  EXPECT_GT(F.Grid->ViewEventCount(), Before);
  F.Grid->SetDataSource(nullptr);
  const int Unlinked = F.Grid->ViewEventCount();
  Table->Edit();
  Table->FieldByName(u"NM")->SetAsString(u"Умбра");
  Table->Post();
  EXPECT_EQ(F.Grid->ViewEventCount(), Unlinked);
}

}  // namespace
