// ADOQueryFilter.cpp - TADOQuery: Filter, FilterOptions and OnFilterRecord applied to the rows
// read, as a view the cursor walks (see ADOQuery_p.h).
#include "platform/sqlite/ADODB.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADOQuery_p.h"

using namespace SqliteImpl;

void TADOQuery::BuildFilter() {
  FImpl->FilterExpr.reset();
  if (FImpl->Open && Filtered() && !Trim(Filter()).empty())
    FImpl->FilterExpr = std::make_unique<TExprParser>(this, Filter(), FilterOptions());
}

// The filter's verdict on one row, read in the dsFilter state (calculated fields included).
bool TADOQuery::FilterAccepts(int Slot) {
  TRecBuf& B = FImpl->FilterBuf;
  B.Slot = Slot;
  B.Flag = bfCurrent;
  B.Owned = false;
  B.Values.clear();
  B.Calc.clear();
  const TDataSetState Saved = SetTempState(dsFilter);
  bool Accepted = true;
  try {
    GetCalcFields(reinterpret_cast<TRecordBuffer>(&B));
    if (FImpl->FilterExpr)
      Accepted = TExprEvaluator(FilterOptions()).IsTrue(*FImpl->FilterExpr->Root());
    if (Accepted && OnFilterRecord()) OnFilterRecord()(this, Accepted);
  } catch (...) {
    RestoreState(Saved);
    throw;
  }
  RestoreState(Saved);
  return Accepted;
}

// Rebuilds Order from every row read: all of them, or those the filter accepts.
void TADOQuery::ApplyFilter() {
  Impl& Q = *FImpl;
  if (Q.FilterView) {
    Q.Order = std::move(Q.AllOrder);
    Q.AllOrder.clear();
    Q.FilterView = false;
  }
  Q.PosDirty = true;
  StampDataVersion();
  if (!Q.Open || !Filtered() || (!Q.FilterExpr && !OnFilterRecord())) return;
  Q.AllOrder = Q.Order;
  Q.FilterView = true;
  Q.Order.clear();
  for (int Slot : Q.AllOrder)
    if (FilterAccepts(Slot)) Q.Order.push_back(Slot);
}

void TADOQuery::FilterChanged() {
  if (!Active()) return;
  CheckBrowseMode();
  BuildFilter();
  ApplyFilter();
  First();
}

void TADOQuery::SetFiltered(bool Value) {
  if (Value == Filtered()) return;
  if (Active()) CheckBrowseMode();
  TDataSet::SetFiltered(Value);
  FilterChanged();
}

void TADOQuery::SetFilterText(const String& Value) {
  if (Value == Filter()) return;
  if (Active()) CheckBrowseMode();
  TDataSet::SetFilterText(Value);
  if (Filtered()) FilterChanged();
}

void TADOQuery::SetFilterOptions(TFilterOptions Value) {
  if (Value == FilterOptions()) return;
  if (Active()) CheckBrowseMode();
  TDataSet::SetFilterOptions(Value);
  if (Filtered()) FilterChanged();
}

void TADOQuery::SetOnFilterRecord(TFilterRecordEvent Value) {
  if (Active()) CheckBrowseMode();
  TDataSet::SetOnFilterRecord(std::move(Value));
  if (Filtered()) FilterChanged();
}
