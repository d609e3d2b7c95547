// DBGridZkFilterUtils.h - the column filter texts of the data grids: the record a column's
// filter text is parsed into, the reader of that text, the builder of the dataset filter
// string from all of a grid's column filters, and the tables other units share.
//
// A column filter text holds at most two conditions joined by AND or OR; an operator stands
// only at the start of a condition or after a blank, so bare values may hold blanks ("New
// York") and operator characters ("5>3"). Examples: "> 5", "~ a%", "In (1,2)", "= Null OR b".
// The built string is in the dataset filter syntax ([Field] Like 'a%' ...) and is read by the
// dataset's own filter parser; nothing here evaluates a filter.
#pragma once

#include <functional>

#include "platform/db/DBConsts.h"
#include "platform/rtl/Variant.h"

class TColumnZk;
class TCustomDBGridZk;
class TDataSet;

VORENTA_ENUM(TSTOperandTypeZk, botNon, botString, botNumber, botDateTime, botBoolean);
VORENTA_ENUM(TSTFilterOperatorZk, foNon, foEqual, foNotEqual, foGreaterThan, foLessThan,
             foGreaterOrEqual, foLessOrEqual, foLike, foNotLike, foIn, foNotIn, foNull, foNotNull,
             foAND, foOR, foValue);
VORENTA_ENUM(TSTFilterDefaultOperatorZk, fdoAuto, fdoEqual, fdoNotEqual, fdoGreaterThan,
             fdoLessThan, fdoGreaterOrEqual, fdoLessOrEqual, fdoLike, fdoNotLike, fdoIn, fdoNotIn,
             fdoBeginsWith, fdoDoesntBeginWith, fdoEndsWith, fdoDoesntEndWith, fdoContains,
             fdoDoesntContain);

// One column's condition. Operands are Null for foNon, foNull and foNotNull; an In list of
// more than one value is a variant array from index 0; otherwise botNumber operands are
// doubles, botDateTime ones date-times (the text "NOW" stays a string), others strings.
struct TSTFilterExpressionZk {
  TSTOperandTypeZk ExpressionType = botNon;
  TSTFilterOperatorZk Operator1 = foNon;
  Variant Operand1 = Variant::MakeNull();
  TSTFilterOperatorZk Relation = foNon;
  TSTFilterOperatorZk Operator2 = foNon;
  Variant Operand2 = Variant::MakeNull();
};

// Both conditions off, operands Null; ExpressionType stays.
void ClearColumnFilterExpression(TSTFilterExpressionZk& Expr);

TSTOperandTypeZk FieldTypeToOperandType(TFieldType Type);
TSTFilterOperatorZk DefaultOperatorToOperator(TSTFilterDefaultOperatorZk Operator);
// The operator's word in a column filter text ("~", "In", "Null") and in the dataset filter
// string ("LIKE", "IN", "IS NULL").
String FilterOperatorDisplayText(TSTFilterOperatorZk Operator);
String FilterOperatorSQLText(TSTFilterOperatorZk Operator);

// Parses Text into Expr (whose ExpressionType the caller sets first). A bare first value takes
// DefaultOperator. Errors raise Exception with the message and the trimmed text ("Quote is
// absent: 'abc"); numbers and dates convert with the global FormatSettings (EConvertError).
void ParseColumnFilterExpression(const String& Text, TSTFilterExpressionZk& Expr,
                                 TSTFilterDefaultOperatorZk DefaultOperator);

// Formats a date operand for a dataset (none is passed in this program).
using TFilterDateFormatterZk =
    std::function<void(TDataSet* DataSet, const Variant& Value, String& Text)>;
// Appends one condition's text to Result (BuildFilterCondition is the program's one).
using TFilterConditionProcZk = std::function<void(
    TSTFilterOperatorZk Operator, const Variant& Operand, const String& FieldText,
    TDataSet* DataSet, const TFilterDateFormatterZk& DateFormatter, bool SupportsLike,
    String& Result)>;

// The filter conditions of all the grid's columns (hidden ones too), joined by " AND ". As the
// dataset filter reads it: "( [Name] Like 'a%' OR [Name] = 'b') AND  [Price] > 5 ".
void BuildGridFilterString(TCustomDBGridZk* Grid, const TFilterConditionProcZk& ConditionProc,
                           const TFilterDateFormatterZk& DateFormatter, bool UseOrigin,
                           bool SupportsLike, String& Result);
// One column's part; empty for a column without field, type or condition.
void BuildColumnFilterString(TColumnZk* Column, const TFilterConditionProcZk& ConditionProc,
                             const TFilterDateFormatterZk& DateFormatter, bool UseOrigin,
                             bool SupportsLike, String& Result);
void BuildFilterCondition(TSTFilterOperatorZk Operator, const Variant& Operand,
                          const String& FieldText, TDataSet* DataSet,
                          const TFilterDateFormatterZk& DateFormatter, bool SupportsLike,
                          String& Result);
// A double in the locale's float form; a date-time through DateFormatter, else quoted in the
// locale's form; anything else quoted with its quotes doubled.
void FormatFilterValue(const Variant& Value, String& Text, TDataSet* DataSet = nullptr,
                       const TFilterDateFormatterZk& DateFormatter = nullptr);
