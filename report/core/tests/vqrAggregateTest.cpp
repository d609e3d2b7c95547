// vqrAggregateTest.cpp - aggregate accumulators fed by hand, the call scanner and splitter.
#include "report/core/vqrAggregate.h"

#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrVariables.h"

namespace {

class AggregateTest : public ::testing::Test {
protected:
  void SetUp() override {
    vqrModuleInitialize();
    Report = std::make_unique<TvqrReport>(nullptr);
    Report->Variables()->SetVariables(u"X", Null());
  }
  void TearDown() override {
    Report.reset();
    vqrModuleFinalize();
  }
  // Feeds the values through the report variable X.
  Variant Feed(TvqrAggregateFunction F, const std::vector<Variant>& Values, int Flags = 0) {
    TvqrAggregateItem Item;
    Item.AggregateFunction = F;
    Item.Expression = u"X";
    Item.Report = Report.get();
    Item.CountInvisibleBands = Flags & 1;
    for (const Variant& V : Values) {
      Report->Variables()->SetVariables(u"X", V);
      Item.Calc();
    }
    return Item.Value();
  }
  std::unique_ptr<TvqrReport> Report;
};

TEST_F(AggregateTest, FunctionsOverValuesWithNull) {
  struct Case {
    TvqrAggregateFunction F;
    std::vector<Variant> Values;
    double Expected;
  } Cases[] = {
      {agSum, {1, 2, Null()}, 3},      {agAvg, {1, 2, Null()}, 1.5},
      {agCount, {1, 2, Null()}, 3},    {agMin, {}, 0},
      {agMin, {5, 2, 7}, 2},           {agMax, {5, 2, 7}, 7},
      {agSum, {true, false, true}, 2},
  };
  for (const Case& C : Cases)
    EXPECT_DOUBLE_EQ(Feed(C.F, C.Values).AsDouble(), C.Expected) << int(C.F);
}

TEST_F(AggregateTest, RunningTotalsKeepBlocksAndTakingBack) {
  TvqrAggregateItem Item;
  Item.Expression = u"X";
  Item.Report = Report.get();
  Item.DontReset = true;
  Report->Variables()->SetVariables(u"X", 4);
  Item.Calc();
  Item.Reset();  // a running total keeps its value
  EXPECT_EQ(Item.Value().AsInteger(), 4);
  Item.Calc();
  Item.DeleteValue();
  EXPECT_EQ(Item.Value().AsInteger(), 4);

  Item.IsPageFooter = true;
  Item.StartKeep();
  Item.Calc();
  EXPECT_EQ(Item.Value().AsInteger(), 4);  // held in the keep block
  Item.EndKeep();
  EXPECT_EQ(Item.Value().AsInteger(), 8);
}

TEST_F(AggregateTest, AVerticalColumnAboveTheLimitIsACheckedError) {
  TvqrAggregateItem Item;
  Item.Expression = u"X";
  Item.Report = Report.get();
  Report->Variables()->SetVariables(u"X", 1);
  Item.VColumn = 1000;
  Item.Calc();
  EXPECT_EQ(Item.Value().AsInteger(), 1);
  Item.VColumn = 1001;
  EXPECT_THROW(Item.Calc(), ERangeError);
}

TEST_F(AggregateTest, SplitsArgumentsAndScansCalls) {
  size_t End = 0;
  String T = u"SUM(IIF(<a>, 'x,y', \"(\"), MasterData1, 2) + 1";
  std::vector<String> Args = TvqrAggregateList::SplitAggregateArgs(T, 3, End);
  EXPECT_EQ(Args[0], u"IIF(<a>, 'x,y', \"(\")");
  EXPECT_EQ(Args[1], u"MasterData1");
  EXPECT_EQ(Args[2], u"2");
  EXPECT_EQ(T[End], u')');

  TvqrAggregateList List(Report.get());
  List.ScanAggregateCalls(u"sum(<x>) + COUNT(,1) + MAX(<y>) * 2", nullptr, nullptr, nullptr);
  ASSERT_EQ(List.Count(), 3);
  EXPECT_EQ(List.Items(0)->OriginalName, u"sum(<x>)");
  EXPECT_EQ(List.Items(1)->AggregateFunction, agCount);
  EXPECT_TRUE(List.Items(1)->CountInvisibleBands);
  EXPECT_EQ(List.Items(2)->Expression, u"<y>");

  // A variable holding a call is scanned; one naming itself is an error, not a stack overflow.
  Report->Variables()->SetVariables(u"Total", String(u"SUM(<z>)"));
  Report->Variables()->SetVariables(u"Self", String(u"Self + 1"));
  List.ScanAggregateCalls(u"Total", nullptr, nullptr, nullptr);
  EXPECT_EQ(List.Count(), 4);
  EXPECT_THROW(List.ScanAggregateCalls(u"Self", nullptr, nullptr, nullptr), Exception);
}

}  // namespace
