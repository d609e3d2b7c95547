// vqrClassDataSetTest.cpp - data sources: the record counter, ranges of the dataset adapter
// over a ten-row dataset, the dataset's own handlers, aliases and values by field class.
#include <gtest/gtest.h>

#include <memory>

#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrDBSet.h"
#include "report/core/vqrRes.h"

namespace {

// Ten rows, ID 1..10 and NAME "r1".."r10", positioned on the fifth.
struct TTenRows {
  std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>(nullptr);
  TArrayDataSet* Rows = new TArrayDataSet(Owner.get());
  TvqrDBDataset Adapter{nullptr};

  TTenRows() {
    Rows->SetName(u"Rows");
    Rows->FieldDefs()->Add(u"ID", ftInteger);
    Rows->FieldDefs()->Add(u"NAME", ftWideString, 20);
    for (int I = 1; I <= 10; ++I) Rows->AddRow({Variant(I), Variant(u"r" + IntToStr(I))});
    Rows->Open();
    Rows->SetRecNo(5);
    Adapter.SetName(u"Adapter1");
    Adapter.SetDataSet(Rows);
  }

  // The IDs the adapter walks from First to Eof.
  std::vector<int> Walk() {
    std::vector<int> Ids;
    Adapter.Initialize();
    for (Adapter.First(); !Adapter.Eof() && Ids.size() < 20; Adapter.Next())
      Ids.push_back(Adapter.Value(u"ID").AsInteger());
    return Ids;
  }
};

}  // namespace

TEST(vqrDataSet, TheRecordCounterOfARangeOfThree) {
  TvqrUserDataSet Counter(nullptr);
  Counter.SetRangeEnd(reCount);
  Counter.SetRangeEndCount(3);
  std::vector<int> RecNos;
  for (Counter.First(); !Counter.Eof(); Counter.Next()) RecNos.push_back(Counter.RecNo());
  EXPECT_EQ(RecNos, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Counter.RecNo(), 2);
  EXPECT_EQ(Counter.RecordCount(), 3);
  Counter.SetRangeEndCount(0);
  Counter.First();
  EXPECT_TRUE(Counter.Eof());
  Counter.SetRangeBegin(rbCurrent);
  EXPECT_EQ(Counter.RecordCount(), 0);
  // A handler decides over the end whatever the range says.
  Counter.SetOnCheckEOF([](TObject*, bool& Eof) { Eof = false; });
  EXPECT_FALSE(Counter.Eof());
}

TEST(vqrDataSet, ABlankUserNameIsRefusedAndARenameCarriesTheUserName) {
  TvqrUserDataSet DS(nullptr);
  DS.SetName(u"Source1");
  EXPECT_EQ(DS.UserName(), u"Source1");
  EXPECT_THROW(DS.SetUserName(u"  "), Exception);
  EXPECT_EQ(DS.UserName(), u"Source1");
  DS.SetName(u"Source2");
  EXPECT_EQ(DS.UserName(), u"Source2");
  DS.SetUserName(u"Своё");
  DS.SetName(u"Source3");
  EXPECT_EQ(DS.UserName(), u"Своё");
}

TEST(vqrDBDataset, RangesOverTenRowsPositionedOnTheFifth) {
  struct TCase {
    TvqrRangeBegin Begin;
    TvqrRangeEnd End;
    std::vector<int> Ids;
  };
  const TCase Cases[] = {
      {rbFirst, reLast, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {rbCurrent, reCurrent, {5}},
      {rbFirst, reCurrent, {1, 2, 3, 4, 5}},
      {rbCurrent, reLast, {5, 6, 7, 8, 9, 10}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(int(C.Begin) * 10 + int(C.End));
    TTenRows T;
    T.Adapter.SetRangeBegin(C.Begin);
    T.Adapter.SetRangeEnd(C.End);
    EXPECT_EQ(T.Walk(), C.Ids);
    T.Adapter.Finalize();
    EXPECT_EQ(T.Rows->RecNo(), C.Begin == rbCurrent || C.End == reCurrent ? 5 : 10);
  }
}

TEST(vqrDBDataset, TheApplicationsOwnAfterOpenHandlerStillRuns) {
  TTenRows T;
  T.Rows->Close();
  int Opened = 0;
  T.Rows->SetAfterOpen([&Opened](TDataSet*) { ++Opened; });
  T.Walk();
  EXPECT_EQ(Opened, 1);
  T.Adapter.Finalize();
  T.Rows->Close();
  T.Rows->Open();
  EXPECT_EQ(Opened, 2);  // the handler is back in place
}

// A run whose start failed calls Finalize without Initialize: the dataset keeps its handlers.
TEST(vqrDBDataset, FinalizeWithoutInitializeLeavesTheDatasetsHandlers) {
  TTenRows T;
  int Opened = 0;
  T.Rows->SetAfterOpen([&Opened](TDataSet*) { ++Opened; });
  T.Adapter.Finalize();
  T.Rows->Close();
  T.Rows->Open();
  EXPECT_EQ(Opened, 1);
  // Twice in a run: the second Initialize must not save the adapter's own hook.
  T.Adapter.Initialize();
  T.Adapter.Initialize();
  T.Adapter.Finalize();
  T.Rows->Close();
  T.Rows->Open();
  EXPECT_EQ(Opened, 2);
}

TEST(vqrDBDataset, TwoSourcesOverOneDatasetLeaveItsOwnHandlersAfterTheRun) {
  RegisterReportClasses();
  TvqrReport Report(nullptr);
  TTenRows T;
  int Closed = 0;
  T.Rows->SetBeforeClose([&Closed](TDataSet*) { ++Closed; });
  auto First = std::make_unique<TvqrDBDataset>(nullptr);
  auto Second = std::make_unique<TvqrDBDataset>(nullptr);
  First->SetDataSet(T.Rows);
  Second->SetDataSet(T.Rows);
  Report.DataSets()->Add(First.get());
  Report.DataSets()->Add(Second.get());
  Report.DataSets()->Initialize();
  Report.DataSets()->Finalize();
  Report.DataSets()->Clear();
  // The sources go before the dataset closes: a handler left behind by either would be called
  // on a freed source (the sanitizer build reports it).
  First.reset();
  Second.reset();
  T.Rows->Close();
  EXPECT_EQ(Closed, 1);
}

TEST(vqrDBDataset, AliasesHideFieldsAndUnknownAliasesGiveNullAndOneErrorLine) {
  RegisterReportClasses();
  TvqrReport Report(nullptr);
  TTenRows T;
  T.Adapter.SetReportRef(&Report);
  Report.SetCurObject(u"Memo1");
  T.Adapter.FieldAliases()->SetText(u"ID=Номер\r\n-NAME=Имя\r\nNAME=Номер");
  EXPECT_EQ(T.Adapter.ConvertAlias(u"номер"), u"ID");  // the first line wins
  EXPECT_EQ(T.Adapter.GetAlias(u"NAME"), u"Номер");  // "-NAME" is another field name
  T.Adapter.Initialize();
  T.Adapter.First();
  EXPECT_EQ(T.Adapter.Value(u"Номер").AsInteger(), 1);
  EXPECT_TRUE(T.Adapter.Value(u"Имя").IsNull());
  EXPECT_TRUE(T.Adapter.Value(u"Имя").IsNull());
  const String Line = u"Memo1: " + StringTable()->Get(u"dbFldNotFound") + u" Adapter1.\"Имя\"";
  EXPECT_EQ(Report.Errors()->Text(), Line + u"\r\n");
  EXPECT_EQ(T.Adapter.DisplayText(u"Имя"),
            StringTable()->Get(u"dbFldNotFound") + u" Adapter1.\"Имя\"");
  EXPECT_EQ(T.Adapter.FieldType(u"Номер"), fftNumeric);
  T.Adapter.Finalize();
}

TEST(vqrDBDataset, AnAliasWhoseFieldIsMissingGivesNullAndTheErrorLine) {
  RegisterReportClasses();
  TvqrReport Report(nullptr);
  TTenRows T;
  T.Adapter.SetReportRef(&Report);
  T.Adapter.FieldAliases()->SetText(u"GONE=Нет");
  T.Adapter.Initialize();
  T.Adapter.First();
  EXPECT_TRUE(T.Adapter.Value(u"Нет").IsNull());
  EXPECT_FALSE(T.Adapter.IsBlobField(u"Нет"));
  EXPECT_EQ(Report.Errors()->Count(), 1);
  T.Adapter.Finalize();
}

TEST(vqrDBDataset, ValuesByFieldClass) {
  TFormatSettingsScope Russian(TFormatSettings::Russian());
  std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>(nullptr);
  auto* Rows = new TArrayDataSet(Owner.get());
  Rows->FieldDefs()->Add(u"B", ftBCD, 4);
  Rows->FieldDefs()->Add(u"L", ftLargeint);
  Rows->FieldDefs()->Add(u"D", ftDateTime);
  Rows->FieldDefs()->Add(u"M", ftWideMemo);
  Rows->AddRow({Variant(12.5), Variant(Int64(5000000000)), Variant(46000.5), Variant(u"текст")});
  Rows->AddRow({Null(), Null(), Null(), Null()});
  Rows->Open();
  TvqrDBDataset A(nullptr);
  A.SetName(u"A");
  A.SetDataSet(Rows);
  A.Initialize();
  A.First();
  EXPECT_EQ(A.Value(u"B").VType(), varDouble);
  EXPECT_EQ(A.Value(u"L").VType(), varInt64);
  EXPECT_EQ(A.Value(u"L").AsInt64(), 5000000000);
  EXPECT_DOUBLE_EQ(A.Value(u"D").AsDouble(), 46000.5);
  EXPECT_EQ(A.Value(u"M").AsString(), u"текст");
  EXPECT_TRUE(A.IsBlobField(u"M"));
  A.SetBCDToCurrency(true);
  EXPECT_EQ(A.Value(u"B").VType(), varCurrency);
  A.Next();
  EXPECT_TRUE(A.Value(u"B").IsNull());
  EXPECT_TRUE(A.Value(u"L").IsNull());
  EXPECT_TRUE(A.Value(u"D").IsNull());
  A.Finalize();
}

TEST(vqrDBDataset, AFreedDatasetLeavesTheAdapterUnboundAndTheNextRunFails) {
  TTenRows T;
  delete T.Rows;
  EXPECT_EQ(T.Adapter.DataSet(), nullptr);
  try {
    T.Adapter.Initialize();
    FAIL() << "Initialize without a dataset";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), Format(StringTable()->Get(u"dbNotConn"), {String(u"Adapter1")}));
  }
  T.Adapter.Finalize();  // nothing to restore, nothing to fail
}
