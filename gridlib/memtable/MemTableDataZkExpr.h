// MemTableDataZkExpr.h - filter and aggregate expressions over the memory table's records:
// the framework's parser builds the tree, this evaluator reads field values from a record,
// from the row a view's aggregate is at, or (for calculated fields, FieldNo <= 0) from the
// dataset's field itself; aggregates run over a view's accountable rows.
//
// Everything else is the framework's (docs/filter-expressions.md): "=" and "<>" on texts both
// follow foCaseInsensitive; comparisons, LIKE and arithmetic with Null give Null and a Null
// verdict rejects the record; each function call has its own arguments. Aggregates skip Null
// values (MIN and MAX too); AVG divides by every row; over no row they are Null and COUNT(*)
// is 0.
#pragma once

#include <memory>

#include "platform/db/FilterExpr.h"

class TCompiledFilterZk;
class TDataSet;
class TMemoryRecordZk;
class TRecordsViewZk;

enum TDataSetExprParserTypeZk { dsptFilterZk, dsptAggregateZk };

class TDataSetExprParserZk {
public:
  TDataSetExprParserZk(TDataSet* ADataSet, TDataSetExprParserTypeZk ExprParserType);
  ~TDataSetExprParserZk();
  TDataSetExprParserZk(const TDataSetExprParserZk&) = delete;
  TDataSetExprParserZk& operator=(const TDataSetExprParserZk&) = delete;

  // Parses Expr against the dataset's fields with its FilterOptions; the parser's errors
  // pass through. An empty text clears the expression.
  void ParseExpression(const String& Expr);
  bool HasData() const { return FParser != nullptr; }
  // Whether Rec passes the filter: false without an expression; a Null verdict rejects.
  bool IsCurRecordInFilter(const TMemoryRecordZk* Rec) const;
  // The expression over RecordsView's rows; false (as a value) without an expression.
  Variant CalcAggregateValue(const TRecordsViewZk* RecordsView) const;

private:
  class TEvaluator;

  TDataSet* FDataSet;
  TDataSetExprParserTypeZk FExprParserType;
  std::unique_ptr<TExprParser> FParser;
  std::unique_ptr<TCompiledFilterZk> FCompiled;  // a filter's common shapes (CompiledFilterZk.h)
};
