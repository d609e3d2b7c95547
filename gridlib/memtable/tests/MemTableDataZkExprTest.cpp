// MemTableDataZkExprTest.cpp - filters over records and aggregates over a view: what the
// memory table's evaluator adds to the framework's.
#include "gridlib/memtable/MemTableDataZkExpr.h"

#include <gtest/gtest.h>

#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/tests/MemTableTestUtil.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"

namespace {

// A dataset whose fields mirror the container's structure (ID, NM, V) and a calculated
// field cvTWICE, as the memory table would present them.
struct TExprFixture {
  std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>(nullptr);
  TArrayDataSet* DS = new TArrayDataSet(Owner.get());
  std::unique_ptr<TMemTableDataZk> Data = MakeContainer({{u"ID", ftInteger}, {u"NM", ftString}, {u"V", ftFloat}});
  TRecordsViewZk View{DS};

  TExprFixture() {
    DS->FieldDefs()->Add(u"ID", ftInteger);
    DS->FieldDefs()->Add(u"NM", ftWideString, 20);
    DS->FieldDefs()->Add(u"V", ftFloat);
    for (const char16_t* Name : {u"ID", u"NM", u"V"}) {
      TField* F = Name == std::u16string_view(u"NM") ? static_cast<TField*>(new TWideStringField(Owner.get()))
                  : Name == std::u16string_view(u"ID") ? static_cast<TField*>(new TIntegerField(Owner.get()))
                                                       : static_cast<TField*>(new TFloatField(Owner.get()));
      F->SetFieldName(Name);
      F->SetDataSet(DS);
    }
    auto* Twice = new TFloatField(Owner.get());
    Twice->SetFieldName(u"cvTWICE");
    Twice->SetFieldKind(fkCalculated);
    Twice->SetDataSet(DS);
    DS->SetOnCalcFields([](TDataSet* D) { D->FieldByName(u"cvTWICE")->SetAsFloat(21); });
    DS->AddRow({1, u"x", 1.0});
    DS->Open();
    View.SetMemTableData(Data.get());
  }
  bool Passes(const String& Filter, const TMemoryRecordZk* Rec) {
    TDataSetExprParserZk P(DS, dsptFilterZk);
    P.ParseExpression(Filter);
    return P.IsCurRecordInFilter(Rec);
  }
  String Aggregate(const String& Expr) {
    TDataSetExprParserZk P(DS, dsptAggregateZk);
    P.ParseExpression(Expr);
    try {
      return VarToStr(P.CalcAggregateValue(&View));
    } catch (const Exception& E) {
      return E.Message();
    }
  }
};

TEST(DataSetExprParserZk, FiltersReadTheRecord) {
  TExprFixture F;
  TMemoryRecordZk* R = AddRec(F.Data.get(), {7, u"ABC", Null()});
  struct TCase {
    const char16_t* Filter;
    bool CaseInsensitive;
    bool Passes;
  };
  const TCase Cases[] = {
      {u"ID = 7", false, true},        {u"ID > 7", false, false},
      {u"NM = 'abc'", false, false},   {u"NM = 'abc'", true, true},  // = honours the case option
      {u"NM <> 'abc'", true, false},   {u"NM LIKE 'a%'", true, true},
      {u"NM LIKE 'a%'", false, false}, {u"V IS NULL", false, true},
      {u"V > 1", false, false},        // a Null verdict rejects
      {u"cvTWICE = 21", false, true},  // a calculated field is read through the field
      {u"UPPER(NM) = 'ABC' AND SUBSTRING(NM, 2, 2) = 'BC'", false, true},
  };
  for (const TCase& C : Cases) {
    F.DS->SetFilterOptionsValue(C.CaseInsensitive ? TFilterOptions{foCaseInsensitive} : TFilterOptions{});
    EXPECT_EQ(F.Passes(C.Filter, R), C.Passes) << StringToUtf8(C.Filter);
  }
  TDataSetExprParserZk Empty(F.DS, dsptFilterZk);
  EXPECT_FALSE(Empty.IsCurRecordInFilter(R));
}

TEST(DataSetExprParserZk, AggregatesOverZeroOneAndThreeRows) {
  TExprFixture F;
  struct TCase {
    const char16_t* Expr;
    const char16_t* None;
    const char16_t* One;
    const char16_t* Three;
  };
  const TCase Cases[] = {
      {u"SUM(V)", u"", u"2", u"6"},       {u"AVG(V)", u"", u"2", u"2"},
      {u"COUNT(V)", u"", u"1", u"2"},     {u"COUNT(*)", u"0", u"1", u"3"},
      {u"MIN(V)", u"", u"2", u"2"},       {u"MAX(V)", u"", u"2", u"4"},
      {u"SUM(V * 2) + 1", u"", u"5", u"13"}, {u"MIN(NM)", u"", u"b", u"a"},
  };
  std::vector<std::vector<Variant>> Rows = {{1, u"b", 2.0}, {2, Null(), Null()}, {3, u"a", 4.0}};
  for (int Step = 0; Step < 3; ++Step) {
    if (Step == 1) AddRec(F.Data.get(), Rows[0]);
    if (Step == 2) {
      AddRec(F.Data.get(), Rows[1]);
      AddRec(F.Data.get(), Rows[2]);
    }
    for (const TCase& C : Cases)
      EXPECT_EQ(F.Aggregate(C.Expr), Step == 0 ? C.None : Step == 1 ? C.One : C.Three)
          << StringToUtf8(C.Expr) << " step " << Step;
  }
  EXPECT_EQ(F.Aggregate(u"SUM(V, ID)"), u"Incorrect number of arguments in function <SUM>");
}

TEST(DataSetExprParserZk, AggregateFieldFollowsTheView) {
  TExprFixture F;
  F.View.Aggregates()->SetActive(true);
  TMTAggregateZk* Sum = F.View.Aggregates()->Add();
  Sum->SetExpression(u"SUM(ID)");
  Sum->SetActive(true);
  EXPECT_TRUE(Sum->Value().IsNull());
  AddRec(F.Data.get(), {5, u"a", 1.0});
  AddRec(F.Data.get(), {6, u"b", 1.0});
  EXPECT_EQ(Sum->Value().AsInteger(), 11);
  F.Data->RecordsList()->DeleteRecord(0);
  EXPECT_EQ(Sum->Value().AsInteger(), 6);
  TMTAggregateZk* Bad = F.View.Aggregates()->Add();
  Bad->SetExpression(u"SUM(NOPE)");
  EXPECT_THROW(Bad->SetActive(true), Exception);
  EXPECT_FALSE(Bad->Active());
}

}  // namespace
