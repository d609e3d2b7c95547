// DataSetProviderTest.cpp - provider support: parameters, key fields and index definitions.
#include <gtest/gtest.h>

#include <memory>

#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/IndexDefs.h"

TEST(DataSetProvider, KeyFieldsFromFlagsElsePrimaryIndexAndFilteredIndexDefs) {
  TArrayDataSet Data(nullptr);
  Data.FieldDefs()->Add(u"ID", ftInteger);
  Data.FieldDefs()->Add(u"CODE", ftWideString, 10);
  Data.FieldDefs()->Add(u"NM", ftWideString, 20);
  Data.IndexDefs()->Add(u"BY_NM", u"NM", {});
  Data.IndexDefs()->Add(u"PK", u"ID;CODE", {ixPrimary, ixUnique});
  Data.Open();
  EXPECT_EQ(Data.PSGetKeyFields(), u"ID;CODE");
  Data.FieldByName(u"NM")->SetProviderFlags({pfInUpdate, pfInKey});
  EXPECT_EQ(Data.PSGetKeyFields(), u"NM");

  std::unique_ptr<TIndexDefs> Unique = Data.PSGetIndexDefs({ixUnique});
  ASSERT_EQ(Unique->Count(), 1);
  EXPECT_EQ(Unique->Items(0)->Fields(), u"ID;CODE");
  EXPECT_EQ(Data.PSGetIndexDefs({})->Count(), 2);
}

TEST(DataSetProvider, ArrayDataSetReportsItsParameters) {
  TArrayDataSet Data(nullptr);
  EXPECT_EQ(Data.PSGetParams(), Data.Params());
  TDataSet& Base = Data;
  EXPECT_NE(Base.PSGetParams(), nullptr);
}
