// DBGridZkFilterUtilsTest.cpp - column filter texts: the reader's table under "." and ","
// decimals, every error text, the built dataset filter string read by the dataset's own filter
// over the "ITEMS" grid, and the column filter's display and operand texts.
#include <gtest/gtest.h>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "gridlib/grid/DBGridZkFilterUtils.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

// The record as text: "op1 operand1 [rel op2 operand2]", arrays as [a|b], doubles as d:<v>.
String Describe(const Variant& V) {
  if (VarIsNull(V)) return u"null";
  if (VarIsArray(V)) {
    String S = u"[";
    for (int I = VarArrayLowBound(V, 1); I <= VarArrayHighBound(V, 1); ++I)
      S += (I ? u"|" : u"") + Describe(VarArrayGet(V, I));
    return S + u"]";
  }
  if (VarType(V) == varDouble) return u"d:" + FloatToStr(V.AsDouble(), TFormatSettings::Invariant());
  if (VarType(V) == varDate) return u"date:" + FormatDateTime(u"yyyy-mm-dd", VarToDateTime(V));
  return u"s:" + VarToStr(V);
}

String Describe(const TSTFilterExpressionZk& E) {
  String S = FilterOperatorSQLText(E.Operator1) + u" " + Describe(E.Operand1);
  if (E.Relation != foNon)
    S += u" " + FilterOperatorSQLText(E.Relation) + u" " + FilterOperatorSQLText(E.Operator2) +
         u" " + Describe(E.Operand2);
  return S;
}

struct TParseCase {
  const char16_t* Text;
  TSTOperandTypeZk Type;
  TSTFilterDefaultOperatorZk Default;
  const char16_t* Expected;   // Describe() of the record, or the error message
};

void RunParseCases(const TParseCase* Cases, size_t Count) {
  for (size_t I = 0; I < Count; ++I) {
    const TParseCase& C = Cases[I];
    SCOPED_TRACE(ToUtf8(C.Text));
    TSTFilterExpressionZk E;
    E.ExpressionType = C.Type;
    String Got;
    try {
      ParseColumnFilterExpression(C.Text, E, C.Default);
      Got = Describe(E);
    } catch (const Exception& X) {
      Got = X.Message();
    }
    EXPECT_EQ(ToUtf8(Got), ToUtf8(C.Expected));
  }
}

TEST(ParseColumnFilterExpression, TableUnderPointDecimals) {
  TFormatSettings FS = TFormatSettings::Russian();
  FS.DecimalSeparator = u'.';
  TFormatSettingsScope Scope(FS);
  const TParseCase Cases[] = {
      {u"   ", botString, fdoAuto, u" null"},
      {u"abc", botString, fdoAuto, u"LIKE s:abc"},
      {u"5", botNumber, fdoAuto, u"= d:5"},
      {u"2.5", botNumber, fdoAuto, u"= d:2.5"},
      {u"1,2,3", botNumber, fdoAuto, u"IN [d:1|d:2|d:3]"},
      {u"In (1,2)", botNumber, fdoAuto, u"IN [d:1|d:2]"},
      {u"= Null", botNumber, fdoAuto, u"IS NULL null"},
      {u"<> null", botString, fdoAuto, u"IS NOT NULL null"},
      {u"!= NULL", botString, fdoAuto, u"IS NOT NULL null"},
      {u"Null", botString, fdoAuto, u"Unexpected expression after operator: Null"},
      {u"Not Null", botString, fdoAuto, u"Unexpected expression after operator: Not Null"},
      {u"!~ a%", botString, fdoAuto, u"NOT LIKE s:a%"},
      {u"not like a%", botString, fdoAuto, u"NOT LIKE s:a%"},
      {u"!In (1)", botNumber, fdoAuto, u"NOT IN d:1"},
      {u"not in (1)", botNumber, fdoAuto, u"NOT IN d:1"},
      {u"In 1, 2", botNumber, fdoAuto, u"'(' expected: In 1, 2"},
      {u"'It''s'", botString, fdoAuto, u"LIKE s:It's"},
      {u"'abc", botString, fdoAuto, u"Quote is absent: 'abc"},
      {u"New York", botString, fdoAuto, u"LIKE s:New York"},
      {u"a and b", botString, fdoAuto, u"LIKE s:a AND LIKE s:b"},
      {u"5>3", botString, fdoAuto, u"LIKE s:5>3"},
      {u"> 1 AND < 5 AND = 3", botNumber, fdoAuto, u"> d:1 AND < d:5"},
      {u"> 1 AND", botNumber, fdoAuto, u"> d:1 AND  null"},
      {u"%x", botString, fdoBeginsWith, u"LIKE s:%x%"},
      {u"x%", botString, fdoContains, u"LIKE s:%x%"},
      {u"x", botString, fdoDoesntEndWith, u"NOT LIKE s:%x"},
      {u"7", botNumber, fdoGreaterThan, u"> d:7"},
      {u"NOW", botDateTime, fdoAuto, u"= s:NOW"},
      {u">= 05.03.2024", botDateTime, fdoAuto, u">= date:2024-03-05"},
      {u"= Null or > 2", botNumber, fdoAuto, u"IS NULL null OR > d:2"},
      {u"> 5 <= 6", botNumber, fdoAuto, u"Unexpected AND or OR: > 5 <= 6"},
      {u"(5)", botNumber, fdoAuto, u"Error in expression: (5)"},
      {u"> 5 <", botNumber, fdoAuto, u"Unexpected AND or OR: > 5 <"},
      {u"In (1,2", botNumber, fdoAuto, u"')' expected: In (1,2"},
      {u"> Null", botNumber, fdoAuto, u"Unexpected expression before Null: > Null"},
      {u"> 1 or (5", botNumber, fdoAuto, u"Incorrect expression: > 1 or (5"},
      {u"> 1 or (", botNumber, fdoAuto, u"> d:1 OR  null"},
      {u"~ ' x'%", botString, fdoAuto, u"Unexpected AND or OR: ~ ' x'%"},
  };
  RunParseCases(Cases, std::size(Cases));
}

TEST(ParseColumnFilterExpression, CommaDecimalsKeepListsOnlyInsideIn) {
  TFormatSettingsScope Scope(TFormatSettings::Russian());
  const TParseCase Cases[] = {
      {u"2,5", botNumber, fdoAuto, u"= d:2.5"},
      {u"In (1,2)", botNumber, fdoAuto, u"IN [d:1|d:2]"},
      {u"a,b", botString, fdoAuto, u"IN [s:a|s:b]"},
  };
  RunParseCases(Cases, std::size(Cases));
  TSTFilterExpressionZk E;
  E.ExpressionType = botNumber;
  EXPECT_THROW(ParseColumnFilterExpression(u"1,2,3", E, fdoAuto), EConvertError)
      << "one value under ',' decimals, and it does not convert";
  E.ExpressionType = botNumber;
  EXPECT_THROW(ParseColumnFilterExpression(u"abc", E, fdoAuto), EConvertError);
}

TEST(FilterTables, OperandTypesAndDefaultOperators) {
  EXPECT_EQ(FieldTypeToOperandType(ftWideMemo), botString);
  EXPECT_EQ(FieldTypeToOperandType(ftLargeint), botNumber);
  EXPECT_EQ(FieldTypeToOperandType(ftTimeStamp), botDateTime);
  EXPECT_EQ(FieldTypeToOperandType(ftBoolean), botBoolean);
  EXPECT_EQ(FieldTypeToOperandType(ftSingle), botNon);
  EXPECT_EQ(FieldTypeToOperandType(ftBlob), botNon);
  EXPECT_EQ(DefaultOperatorToOperator(fdoAuto), foNon);
  EXPECT_EQ(DefaultOperatorToOperator(fdoNotIn), foNotIn);
  EXPECT_EQ(DefaultOperatorToOperator(fdoEndsWith), foLike);
  EXPECT_EQ(DefaultOperatorToOperator(fdoDoesntContain), foNotLike);
  EXPECT_EQ(FilterOperatorDisplayText(foNotIn), u"!In");
  EXPECT_EQ(FilterOperatorSQLText(foNotLike), u"NOT LIKE");
}

// --- the built string over the grid -------------------------------------------------------------

String GridFilter(TCustomDBGridZk* Grid) {
  String S;
  BuildGridFilterString(Grid, BuildFilterCondition, nullptr, false, true, S);
  return S;
}

std::vector<int> FilteredIds(TDataSet* D, const String& Filter) {
  D->SetFilter(Filter);
  D->SetFilteredValue(true);
  std::vector<int> Ids;
  for (D->First(); !D->Eof(); D->Next()) Ids.push_back(D->FieldByName(u"ID")->AsInteger());
  D->SetFilteredValue(false);
  return Ids;
}

TEST(BuildGridFilterString, ExampleAndStringsTheDatasetFilterReads) {
  TFormatSettingsScope Scope(TFormatSettings::Russian());
  TDBGridOnForm F(10);
  TColumnZk* Name = F.Grid->Columns()->Items(1);
  TColumnZk* Price = F.Grid->Columns()->Items(2);
  EXPECT_EQ(GridFilter(F.Grid), u"") << "no filtered column";
  Name->STFilter()->SetExpressionStr(u"~ К% OR O'Neil");
  Price->STFilter()->SetExpressionStr(u"> 5,5");
  EXPECT_EQ(GridFilter(F.Grid),
            u"( [NAME] Like 'К%' OR [NAME] Like 'O''Neil') AND  [PRICE] > 5,5 ");
  EXPECT_EQ(FilteredIds(F.Set, GridFilter(F.Grid)), (std::vector<int>{1, 2, 6, 7}));

  struct {
    const char16_t* Name;
    const char16_t* Price;
    std::vector<int> Ids;
  } const Cases[] = {
      {u"=Null", u"", {4, 5, 9, 10}},   // an empty text field reads as Null
      {u"<>Null", u"< 30", {1, 2}},
      {u"In ('a\tb',Краска)", u"", {1, 3, 6, 8}},
      {u"!In (Краска)", u">= 63", {7, 8, 9}},   // the Null name of 10 drops out of <>
      {u"O'Neil", u"", {2, 7}},
      {u"", u"21 or 52,5", {2, 5}},
      {u"", u"> 1 AND", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},   // the dangling AND is dropped
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(ToUtf8(String(C.Name) + u" / " + C.Price));
    Name->STFilter()->SetExpressionStr(C.Name);
    Price->STFilter()->SetExpressionStr(C.Price);
    EXPECT_EQ(FilteredIds(F.Set, GridFilter(F.Grid)), C.Ids) << ToUtf8(GridFilter(F.Grid));
  }
  Price->STFilter()->SetExpressionStr(u"> 1 AND");
  EXPECT_EQ(GridFilter(F.Grid), u" [PRICE] > 1 ");
}

TEST(FormatFilterValue, QuotesDoubledFloatsBareDatesQuoted) {
  TFormatSettingsScope Scope(TFormatSettings::Russian());
  String S;
  FormatFilterValue(Variant(String(u"It's")), S);
  EXPECT_EQ(S, u"'It''s'");
  FormatFilterValue(Variant(2.5), S);
  EXPECT_EQ(S, u"2,5");
  FormatFilterValue(VarFromDateTime(EncodeDate(2024, 3, 5)), S);
  EXPECT_EQ(S, u"'05.03.2024'");
  FormatFilterValue(Null(), S);
  EXPECT_EQ(S, u"''");
}

// --- the column filter --------------------------------------------------------------------------

TEST(STColumnFilter, TextsReadBackAndErrorsKeepThePreviousCondition) {
  TFormatSettingsScope Scope(TFormatSettings::Russian());
  TDBGridOnForm F(3);
  TSTColumnFilterZk* Qty = F.Grid->Columns()->Items(3)->STFilter();
  TSTColumnFilterZk* Name = F.Grid->Columns()->Items(1)->STFilter();
  Qty->SetExpressionStr(u"=Null");
  EXPECT_EQ(Qty->Expression().Operator1, foNull);
  String Shown;
  Qty->FilterExpressionToText(Shown);
  EXPECT_EQ(Shown, u"=Null");
  Qty->SetExpressionStr(u"!In (5,7)");
  Qty->FilterExpressionToText(Shown);
  EXPECT_EQ(Shown, u"!In (5,7)");
  Qty->SetExpressionStr(u">= 12,5");
  Qty->FilterExpressionToText(Shown);
  EXPECT_EQ(Shown, u">= 12,5");
  EXPECT_THROW(Qty->SetExpressionStr(u"In 1"), Exception);
  EXPECT_EQ(Qty->ExpressionStr(), u">= 12,5") << "the previous text stays";
  EXPECT_EQ(Qty->Expression().Operator1, foGreaterOrEqual);

  // A value with a quote is shown so that the reader takes it back.
  Name->SetExpressionStr(u"= 'O''Neil'");
  Name->FilterExpressionToText(Shown);
  EXPECT_EQ(Shown, u"= 'O''Neil'");
  TSTFilterExpressionZk Back;
  Back.ExpressionType = botString;
  ParseColumnFilterExpression(Shown, Back, fdoAuto);
  EXPECT_EQ(VarToStr(Back.Operand1), u"O'Neil");
  Name->SetExpressionStr(u"In (a,b)");
  Name->FilterExpressionToText(Shown);
  EXPECT_EQ(Shown, u"In ('a','b')");
  Name->Clear();
  EXPECT_TRUE(Name->IsEmpty());
  EXPECT_EQ(Name->ExpressionStr(), u"");
}

TEST(STColumnFilter, OperandTextsForTheReader) {
  TDBGridOnForm F(3);
  TSTColumnFilterZk* Name = F.Grid->Columns()->Items(1)->STFilter();
  struct {
    TSTFilterOperatorZk Op;
    Variant Value;
    const char16_t* Text;
  } const Cases[] = {
      {foEqual, Variant(String(u"OR")), u"'OR'"},
      {foEqual, Variant(String(u"black and")), u"'black and'"},
      {foIn, Variant(String(u"Smith, John")), u"'Smith, John'"},
      {foEqual, Variant(String(u"Smith, John")), u"Smith, John"},
      {foEqual, Variant(String(u"O'Neil ")), u"'O''Neil '"},
      {foEqual, Variant(String(u"'x")), u"'''x'"},
      {foIn, VarArrayOf({Variant(String(u"a")), Variant(String(u"b,c"))}), u"a,'b,c'"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Name->GetOperandAsString(C.Op, C.Value), C.Text);
}

TEST(STColumnFilter, PickListFiltersByShownTextAndDefaultOperatorComesFromThePolicyObject) {
  TDBGridOnForm F(3);
  TColumnZk* Qty = F.Grid->Columns()->Items(3);
  Qty->KeyList()->SetText(u"2\n4\n6");
  Qty->PickList()->SetText(u"Red\nGreen\nBlue");
  Qty->STFilter()->SetExpressionStr(u"= Green");
  EXPECT_EQ(Qty->STFilter()->Expression().ExpressionType, botString);
  EXPECT_EQ(VarToStr(Qty->STFilter()->Expression().Operand1), u"4");
  EXPECT_EQ(Qty->STFilter()->ExpressionStr(), u"= Green");

  TDBGridZkCenter* C = F.Grid->Center();
  C->SetSTFilterDefaultStringOperator(fdoContains);
  TSTColumnFilterZk* Name = F.Grid->Columns()->Items(1)->STFilter();
  Name->SetExpressionStr(u"раск");
  EXPECT_EQ(VarToStr(Name->Expression().Operand1), u"%раск%");
  C->SetSTFilterDefaultStringOperator(fdoAuto);
}

TEST(STColumnFilter, ListSourceFiltersByShownTextsAndComparesKeys) {
  TDBGridOnForm F(5);
  auto* Colours = new TArrayDataSet(F.Form);
  Colours->FieldDefs()->Add(u"ID", ftInteger);
  Colours->FieldDefs()->Add(u"NAME", ftWideString, 20);
  Colours->AddRow({2, String(u"Green")});
  Colours->AddRow({4, String(u"O'Neil")});
  Colours->AddRow({6, String(u"Red")});
  auto* ColourSource = new TDataSource(F.Form);
  ColourSource->SetDataSet(Colours);
  TSTColumnFilterZk* Qty = F.Grid->Columns()->Items(3)->STFilter();
  Qty->SetKeyField(u"ID");
  Qty->SetListField(u"NAME");
  Qty->SetListSource(ColourSource);
  Colours->Open();
  EXPECT_EQ(Qty->List()->Text(), u"Green\r\nO'Neil\r\nRed\r\n");
  EXPECT_EQ(Qty->Keys()->Text(), u"2\r\n4\r\n6\r\n");
  EXPECT_EQ(Qty->GetOperandAsString(foEqual, Variant(4)), u"O'Neil") << "a key shows its name";

  TStringList Picked;
  Picked.Add(u"Green");
  Picked.Add(u"O'Neil");
  Qty->SetKeysFromListValues(&Picked);
  EXPECT_EQ(Qty->ExpressionStr(), u"'Green','O''Neil'") << "the names read back";
  String Filter;
  BuildGridFilterString(F.Grid, BuildFilterCondition, nullptr, false, true, Filter);
  EXPECT_EQ(Filter, u" ([QTY] = '2' OR [QTY] = '4') ") << "compared by key";
  EXPECT_EQ(FilteredIds(F.Set, Filter), (std::vector<int>{1, 2}));
  Qty->Clear();
  EXPECT_TRUE(VarIsNull(Qty->KeyValues()));
}

}  // namespace
