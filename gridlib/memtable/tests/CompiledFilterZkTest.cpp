// CompiledFilterZkTest.cpp - prepared filters give the general evaluator's verdicts over mixed
// values, Nulls and both case options, and raise where it raises.
#include "gridlib/memtable/CompiledFilterZk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gridlib/memtable/tests/MemTableTestUtil.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"

namespace {

// The general evaluator reading the record (what the memory table's evaluator does).
class TRecordEvaluator : public TExprEvaluator {
public:
  TRecordEvaluator(TFilterOptions Options, const TMemoryRecordZk* Rec) : TExprEvaluator(Options), FRec(Rec) {}

protected:
  Variant FieldValue(const TExprNode& Node) const override {
    return Node.FieldNo > 0 ? FRec->GetDataValue(Node.FieldNo - 1, dvvValueZk) : TExprEvaluator::FieldValue(Node);
  }

private:
  const TMemoryRecordZk* FRec;
};

String Verdict(const std::function<bool()>& Run) {
  try {
    return Run() ? u"true" : u"false";
  } catch (const Exception& E) {
    return E.Message();
  }
}

TEST(CompiledFilterZk, VerdictsMatchTheEvaluator) {
  std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>(nullptr);
  auto* DS = new TArrayDataSet(Owner.get());
  DS->FieldDefs()->Add(u"ID", ftInteger);
  DS->FieldDefs()->Add(u"NM", ftWideString, 20);
  DS->FieldDefs()->Add(u"V", ftFloat);
  DS->FieldDefs()->Add(u"ANY", ftVariant);
  DS->Open();
  auto Data = MakeContainer({{u"ID", ftInteger}, {u"NM", ftWideString, 20}, {u"V", ftFloat}, {u"ANY", ftVariant}});
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const Variant N = Null();
  const std::vector<std::vector<Variant>> Rows = {
      {1, u"abc", 1.0, 2},          {2, u"ABC", 2.5, 2.0},      {-5, u"Кот", NaN, u"2"},
      {N, u"", N, N},               {2147483647, N, -0.0, 3.5}, {2, u"a%b", 0.5, u"abc"},
      {0, u"кот", 1e300, u"Кот"},   {2, N, 3.0, N},            {3, u"abd", 2.0, Variant::FromDateTime(2.0)},
  };
  std::vector<TMemoryRecordZk*> Recs;
  for (const auto& Row : Rows) Recs.push_back(AddRec(Data.get(), Row));

  struct TCase {
    const char16_t* Filter;
    bool Prepared;  // whether a prepared step takes part
  };
  const TCase Cases[] = {
      {u"ID = 2", true},           {u"ID <> 2", true},          {u"ID > 1", true},
      {u"2 < ID", true},           {u"0 >= ID", true},          {u"ID <= -5", true},
      {u"3 > ID", true},           {u"1.5 <= ID", true},        {u"ID = 2.0", true},
      {u"V >= 1", true},           {u"V < 2.5", true},          {u"1 = V", true},
      {u"V <> 0", true},           {u"ANY = 2", true},          {u"ANY > 2", true},
      {u"ANY <= 3", true},         {u"NM LIKE 'a%'", true},     {u"NM LIKE '%B%'", true},
      {u"NM LIKE 'к_т'", true},    {u"NM LIKE ''", true},       {u"NM LIKE '%'", true},
      {u"ANY LIKE '2%'", true},    {u"NM LIKE 'a\\%b'", true},  {u"ID = 2 AND NM LIKE 'a%'", true},
      {u"ID = 2 OR V > 1", true},  {u"ID = 2 AND NM LIKE 'a%' OR ANY <> 2", true},  {u"NOT (ID = 2)", true},     {u"NOT (V > 1) OR NM LIKE 'A%'", true},
      {u"ID = 2 AND UPPER(NM) = 'ABC'", true},
      {u"(ID > 0 AND V IS NULL) OR NOT (NM LIKE '%c')", true},
      {u"ANY = 2 AND ANY + 1 > 2", true},  // the evaluator raises for a text plus a number
      {u"NM = 'abc'", true},       {u"NM <> 'ABC'", true},      {u"'кот' = NM", true},
      {u"NM = 'ab*'", true},       {u"NM <> 'К*'", true},       {u"NM = '*'", true},
      {u"NM <> '*'", true},        {u"NM = ''", true},          {u"ANY = 'abc'", true},
      {u"ANY > '2'", true},        {u"'2' <= ANY", true},       {u"ID = 2 AND NM <> 'a*'", true},
      {u"UPPER(NM) LIKE 'A%'", false},
  };
  for (const bool CaseInsensitive : {false, true}) {
    const TFilterOptions Options = CaseInsensitive ? TFilterOptions{foCaseInsensitive} : TFilterOptions{};
    DS->SetFilterOptionsValue(Options);
    for (const TCase& C : Cases) {
      TExprParser Parser(DS, C.Filter, Options);
      const auto Compiled = TCompiledFilterZk::Compile(*Parser.Root());
      EXPECT_EQ(Compiled != nullptr, C.Prepared) << StringToUtf8(C.Filter);
      if (!Compiled) continue;
      for (std::size_t R = 0; R < Recs.size(); ++R) {
        const TRecordEvaluator General(Options, Recs[R]);
        EXPECT_EQ(Verdict([&] { return Compiled->IsTrue(Recs[R], General); }),
                  Verdict([&] { return General.IsTrue(*Parser.Root()); }))
            << StringToUtf8(C.Filter) << " row " << R << " case-insensitive " << CaseInsensitive;
      }
    }
  }
}

}  // namespace
