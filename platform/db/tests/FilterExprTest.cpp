// FilterExprTest.cpp - the filter-expression parser and the framework's evaluator: the forms
// the grid writes (locale decimals, quoted dates, LIKE with '%'), case options, partial
// compare, NOT LIKE / NOT IN / IS NULL, and the errors.
#include <gtest/gtest.h>

#include <memory>

#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/FilterExpr.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"

namespace {

class FilterExprTest : public ::testing::Test {
protected:
  void SetUp() override {
    Data = std::make_unique<TArrayDataSet>(nullptr);
    Data->FieldDefs()->Add(u"NAME", ftWideString, 30);
    Data->FieldDefs()->Add(u"PRICE", ftFloat);
    Data->FieldDefs()->Add(u"DT", ftDateTime);
    Data->FieldDefs()->Add(u"NOTE", ftWideString, 30);
    Data->AddRow({u"Краска белая", 12.5, Variant::FromDateTime(EncodeDate(2024, 3, 1)),
                  Variant::MakeNull()});
    Data->Open();
  }

  bool Eval(const String& Text, TFilterOptions Options = {}) {
    TExprParser Parser(Data.get(), Text, Options);
    return TExprEvaluator(Options).IsTrue(*Parser.Root());
  }

  TFormatSettingsScope Russian{TFormatSettings::Russian()};
  std::unique_ptr<TArrayDataSet> Data;
};

TEST_F(FilterExprTest, Verdicts) {
  struct Case {
    const char16_t* Text;
    TFilterOptions Options;
    bool Expected;
  } Cases[] = {
      {u"PRICE > 12,4", {}, true},               // the locale's decimal separator
      {u"PRICE > 12.6", {}, false},
      {u"PRICE = 12,5 AND NAME <> 'x'", {}, true},
      {u"PRICE IN (1,5, 12.5)", {}, true},        // in lists ',' separates items
      {u"PRICE NOT IN (1, 2)", {}, true},
      {u"DT = '01.03.2024'", {}, true},          // quoted dates take the field's type
      {u"DT < '02.03.2024 10:00:00'", {}, true},
      {u"NAME LIKE 'Краска%'", {}, true},
      {u"NAME LIKE '%бел_я'", {}, true},
      {u"NAME LIKE 'краска%'", {}, false},
      {u"NAME LIKE 'краска%'", {foCaseInsensitive}, true},
      {u"[NAME] NOT LIKE '%син%'", {}, true},
      {u"NAME = 'краска белая'", {}, false},
      {u"NAME = 'краска белая'", {foCaseInsensitive}, true},  // = and <> agree on case
      {u"NAME <> 'краска белая'", {foCaseInsensitive}, false},
      {u"NAME = 'Крас*'", {}, true},             // partial compare
      {u"NAME = 'Крас*'", {foNoPartialCompare}, false},
      {u"NOTE IS NULL", {}, true},
      {u"NOTE IS NOT NULL OR NOT (PRICE < 0)", {}, true},
      {u"NOTE = 'x'", {}, false},                // Null compares to no verdict: rejected
      {u"PRICE * 2 - -1 = 26", {}, true},
      {u"-PRICE < 0", {}, true},
      {u"UPPER(NAME) = 'КРАСКА БЕЛАЯ'", {}, true},
      {u"SUBSTRING(NAME, 2, 3) = 'рас'", {}, true},
      {u"YEAR(DT) = 2024 AND MONTH(DT) = 3", {}, true},
      {u"TRIM('  x ') = 'x'", {}, true},
  };
  for (const auto& C : Cases) EXPECT_EQ(C.Expected, Eval(C.Text, C.Options)) << ToUtf8(C.Text);
}

TEST_F(FilterExprTest, TreeMirrorsTheLibraryNodes) {
  TExprParser Parser(Data.get(), u"NAME = 'A*' AND PRICE IN (1, 2)", {foCaseInsensitive});
  const TExprNode* Root = Parser.Root();
  ASSERT_EQ(nodeBINARY, Root->NodeClass);
  EXPECT_EQ(coAND, Root->Operator);
  const TExprNode& Compare = *Root->Operands[0];
  EXPECT_EQ(nodeCOMPARE, Compare.NodeClass);
  EXPECT_TRUE(Compare.CaseInsensitive);
  EXPECT_EQ(1, Compare.PartialLength);
  const TExprNode& In = *Root->Operands[1];
  EXPECT_EQ(coIN, In.Operator);
  EXPECT_EQ(3u, In.Operands.size());
  EXPECT_EQ(nodeFIELD, In.Operands[0]->NodeClass);
  EXPECT_EQ(2, In.Operands[0]->FieldNo);
  EXPECT_EQ(2u, Parser.DependentFields().size());
}

TEST_F(FilterExprTest, Errors) {
  struct Case {
    const char16_t* Text;
    const char16_t* Message;
  } Cases[] = {
      {u"PRICE >", u"Filter expression \"PRICE >\": unexpected end at position 8"},
      {u"NAME = 'abc", u"Filter expression \"NAME = 'abc\": unterminated string at position 8"},
      {u"COLOR = 1", u"Field 'COLOR' not found"},
      {u"DT = 'вчера'", u"Filter expression \"DT = 'вчера'\": 'вчера' is not a valid value for field 'DT'"},
      {u"(PRICE > 1", u"Filter expression \"(PRICE > 1\": missing ')' at position 11"},
      {u"PRICE # 1", u"Filter expression \"PRICE # 1\": unexpected character '#' at position 7"},
      {u"SUM(PRICE) > 1", u"Filter expression \"SUM(PRICE) > 1\": aggregate function SUM is not allowed here at position 1"},
  };
  for (const auto& C : Cases) {
    try {
      TExprParser Parser(Data.get(), C.Text, {});
      ADD_FAILURE() << ToUtf8(C.Text);
    } catch (const EDatabaseError& E) {
      EXPECT_EQ(String(C.Message), E.Message()) << ToUtf8(C.Text);
    }
  }
}

TEST_F(FilterExprTest, LikePatterns) {
  struct Case {
    const char16_t* Text;
    const char16_t* Pattern;
    bool Expected;
  } Cases[] = {
      {u"abc", u"abc", true},   {u"abc", u"a%", true},    {u"abc", u"%c", true},
      {u"abc", u"%b%", true},   {u"abc", u"a_c", true},   {u"abcd", u"a_c", false},
      {u"", u"%", true},        {u"", u"", true},         {u"", u"_", false},
      {u"abcab", u"%ab%ab", true}, {u"ab", u"%ab%ab", false},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(C.Expected, MatchLikePattern(C.Text, C.Pattern, false)) << ToUtf8(C.Pattern);
}

TEST_F(FilterExprTest, LikeWithManyPercentRunsOnALongValue) {
  const String Text = String(3000, u'a') + u"b";
  struct Case {
    const char16_t* Pattern;
    bool CaseInsensitive;
    bool Expected;
  } Cases[] = {
      {u"%a%a%a%a%a%a%a%a%a%a%a%a%b", false, true},
      {u"%a%a%a%a%a%a%a%a%a%a%a%a%c", false, false},
      {u"%a%a%a%a%a%a%a%a%a%a%a%a%B", false, false},
      {u"%A%A%A%A%A%A%A%A%A%A%A%A%B", true, true},
      {u"%a%%a%_%a%a%_b", false, true},
      {u"%a%a%a%a%a%a%a%a%a%a%a%a%ba", false, false},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(C.Expected, MatchLikePattern(Text, C.Pattern, C.CaseInsensitive))
        << ToUtf8(C.Pattern);
}

}  // namespace
