// vqrClassBandsTest.cpp - bands: names and numbers, the child chain, data-band columns and
// the record counter, the group header's drill-down attribute.
#include <gtest/gtest.h>

#include <memory>

#include "platform/classes/TypeRegistry.h"
#include "report/core/vqrClass.h"

TEST(vqrBand, NamesAndNumbers) {
  struct TCase {
    TClass Class;
    const char16_t* Name;
    int Ordinal;
  };
  const TCase Cases[] = {
      {TvqrReportTitle::ClassInfo(), u"ReportTitle", 0},
      {TvqrMasterData::ClassInfo(), u"MasterData", 6},
      {TvqrDetailData::ClassInfo(), u"DetailData", 7},
      {TvqrDataBand4::ClassInfo(), u"Data4", 9},
      {TvqrDataBand6::ClassInfo(), u"Data6", 11},
      {TvqrGroupHeader::ClassInfo(), u"GroupHeader", 12},
      {TvqrOverlay::ClassInfo(), u"Overlay", 17},
      {TvqrNullBand::ClassInfo(), u"Null", 0},
      {TvqrDataBand::ClassInfo(), u"Data", 0},
      {TvqrBand::ClassInfo(), u"", 0},
  };
  for (const TCase& C : Cases) {
    std::unique_ptr<TComponent> Band(C.Class->CreateComponent(nullptr));
    auto* B = dynamic_cast<TvqrBand*>(Band.get());
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->BandName(), C.Name);
    EXPECT_EQ(B->BandOrdinal(), C.Ordinal) << StringToUtf8(C.Name);
  }
}

TEST(vqrBand, AChildChainThatLeadsBackIsRefused) {
  TvqrChild A(nullptr), B(nullptr);
  EXPECT_THROW(A.SetChild(&A), Exception);
  A.SetChild(&B);
  try {
    B.SetChild(&A);
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Circular child reference is not allowed");
  }
  EXPECT_EQ(B.Child(), nullptr);
  EXPECT_EQ(A.Child(), &B);
}

TEST(vqrBand, AFreedChildLeavesTheBand) {
  TvqrMasterData Band(nullptr);
  auto* Child = new TvqrChild(nullptr);
  Band.SetChild(Child);
  delete Child;
  EXPECT_EQ(Band.Child(), nullptr);
}

TEST(vqrDataBand, ColumnsMoveTheBandAndWrap) {
  TvqrMasterData Band(nullptr);
  Band.SetColumns(3);
  Band.SetColumnWidth(200);
  Band.SetColumnGap(10);
  Band.SetCurColumn(2);
  EXPECT_EQ(double(Band.Left()), 210.0);
  Band.MaxY = 50;
  Band.SetCurColumn(4);
  EXPECT_EQ(Band.CurColumn(), 1);
  EXPECT_EQ(double(Band.Left()), 0.0);
  EXPECT_EQ(double(Band.MaxY), 0.0);
}

TEST(vqrDataBand, RowCountCountsThroughTheVirtualDataSource) {
  TvqrMasterData Band(nullptr);
  Band.SetRowCount(5);
  TvqrUserDataSet* Counter = Band.VirtualDataSet();
  int Rows = 0;
  for (Counter->First(); !Counter->Eof(); Counter->Next()) ++Rows;
  EXPECT_EQ(Rows, 5);
}

TEST(vqrGroupHeader, DrillDownAddsTheDrillNameToThePreparedText) {
  TvqrGroupHeader Template(nullptr), Copy(nullptr);
  Copy.SetDrillName(u"Группа \"1\"");
  EXPECT_EQ(Copy.Diff(&Template), u" t=\"0\"");
  Copy.SetDrillDown(true);
  EXPECT_EQ(Copy.Diff(&Template), u" t=\"0\" DrillName=\"Группа &#34;1&#34;\"");
}
