// MemTableDataZkExpr.cpp - the memory table's evaluator: record and view reads, aggregates.
#include "gridlib/memtable/MemTableDataZkExpr.h"

#include <algorithm>

#include "gridlib/memtable/CompiledFilterZk.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

bool IsAggregableNumber(const Variant& V) {
  switch (V.VType()) {
    case varSmallint: case varInteger: case varInt64: case varShortInt: case varByte:
    case varWord: case varLongWord: case varUInt64: case varSingle: case varDouble:
    case varCurrency: case varDate: case varBoolean:
      return true;
    default:
      return false;
  }
}

// MIN and MAX order: texts by the locale's comparison, other values by the variant order.
bool AggrLess(const Variant& A, const Variant& B) {
  if (A.IsString() || B.IsString()) return AnsiCompareStr(VarToStr(A), VarToStr(B)) < 0;
  return VarLess(A, B);
}

}  // namespace

// Field values come from the record being filtered, from the row an aggregate is at, or
// (calculated fields, FieldNo <= 0) from the dataset's field, which the table fills from its
// filter buffer.
class TDataSetExprParserZk::TEvaluator : public TExprEvaluator {
public:
  TEvaluator(TFilterOptions Options, const TMemoryRecordZk* Rec, const TRecordsViewZk* View)
      : TExprEvaluator(Options), FRec(Rec), FView(View) {}

protected:
  Variant FieldValue(const TExprNode& Node) const override {
    if (Node.FieldNo <= 0) return TExprEvaluator::FieldValue(Node);
    if (FRec) return FRec->GetDataValue(Node.FieldNo - 1, dvvValueZk);
    if (FView && FAggrRow >= 0)
      return FView->AccountableItems(FAggrRow)->GetDataValue(Node.FieldNo - 1, dvvValueZk);
    return TExprEvaluator::FieldValue(Node);
  }

  Variant AggregateValue(const TExprNode& Node) const override {
    if (!FView) return TExprEvaluator::AggregateValue(Node);
    const int Rows = FView->AccountableItemsCount();
    if (Node.Name == u"COUNT(*)") return Rows;
    if (Node.Operands.size() != 1)
      throw Exception(u"Incorrect number of arguments in function <" + Node.Name + u">");
    if (Rows == 0) return Variant::MakeNull();
    const bool IsCount = Node.Name == u"COUNT", IsMin = Node.Name == u"MIN",
               IsMax = Node.Name == u"MAX";
    Variant Acc = IsCount ? Variant(0) : (IsMin || IsMax) ? Variant::MakeNull() : Variant(0);
    const int OldRow = FAggrRow;
    try {
      for (int R = 0; R < Rows; ++R) {
        FAggrRow = R;
        const Variant V = Evaluate(*Node.Operands[0]);
        if (V.IsNull() || V.IsEmpty()) continue;
        if (IsCount)
          Acc = Acc + Variant(1);
        else if (IsMin || IsMax) {
          if (Acc.IsNull() || (IsMin ? AggrLess(V, Acc) : AggrLess(Acc, V))) Acc = V;
        } else if (IsAggregableNumber(V)) {
          Acc = Acc + V;
        }
      }
    } catch (...) {
      FAggrRow = OldRow;
      throw;
    }
    FAggrRow = OldRow;
    if (Node.Name == u"AVG") return Acc / Variant(Rows);
    return Acc;
  }

private:
  const TMemoryRecordZk* FRec;
  const TRecordsViewZk* FView;
  mutable int FAggrRow = -1;
};

TDataSetExprParserZk::TDataSetExprParserZk(TDataSet* ADataSet, TDataSetExprParserTypeZk ExprParserType)
    : FDataSet(ADataSet), FExprParserType(ExprParserType) {}

TDataSetExprParserZk::~TDataSetExprParserZk() = default;

void TDataSetExprParserZk::ParseExpression(const String& Expr) {
  FCompiled.reset();
  FParser.reset();
  if (Trim(Expr).empty()) return;
  TParserOptions Options{poExtSyntax};
  if (FExprParserType == dsptAggregateZk) Options.Include(poAggregate);
  FParser = std::make_unique<TExprParser>(FDataSet, Expr, FDataSet->FilterOptions(), Options);
  if (FExprParserType == dsptFilterZk)
    FCompiled = TCompiledFilterZk::Compile(*FParser->Root());
}

bool TDataSetExprParserZk::IsCurRecordInFilter(const TMemoryRecordZk* Rec) const {
  if (!FParser) return false;
  const TEvaluator General(FDataSet->FilterOptions(), Rec, nullptr);
  if (FCompiled) return FCompiled->IsTrue(Rec, General);
  return General.IsTrue(*FParser->Root());
}

Variant TDataSetExprParserZk::CalcAggregateValue(const TRecordsViewZk* RecordsView) const {
  if (!FParser) return false;
  return TEvaluator(FDataSet->FilterOptions(), nullptr, RecordsView).Evaluate(*FParser->Root());
}

// --- aggregates -------------------------------------------------------------------------------------

TMTAggregateZk::TMTAggregateZk(TRecordsViewZk* AView) : FView(AView) {}

TMTAggregateZk::~TMTAggregateZk() {
  if (FField && FField->Handle() == this) FField->SetHandle(nullptr);
}

void TMTAggregateZk::AssignField(TAggregateField* Field) {
  FField = Field;
  FActive = Field->Active();
  FExpression = Field->Expression();
}

void TMTAggregateZk::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  try {
    Reset();
    Recalc();
  } catch (...) {
    FActive = false;
    FInUse = false;
    throw;
  }
}

void TMTAggregateZk::SetExpression(const String& Value) {
  if (Value == FExpression) return;
  FExpression = Value;
  Reset();
}

void TMTAggregateZk::Reset() {
  FInUse = false;
  FObsolete = true;
  FValue = Variant::MakeNull();
  TDataSet* DataSet = FView->DataSet();
  const TMTAggregatesZk* Owner = FView->Aggregates();
  if (!DataSet || !FActive || FExpression.empty() || !Owner->Active() || !Owner->DataSetOpen()) return;
  FAggrExpr = std::make_unique<TDataSetExprParserZk>(DataSet, dsptAggregateZk);
  FAggrExpr->ParseExpression(FExpression);
  FDataType = ftFloat;
  FInUse = true;
}

void TMTAggregateZk::Recalc() {
  FValue = FInUse ? FAggrExpr->CalcAggregateValue(FView) : Variant::MakeNull();
  FObsolete = false;
}

Variant TMTAggregateZk::Value() {
  if (FObsolete) Recalc();
  return FValue;
}

TMTAggregateZk* TMTAggregatesZk::Add() {
  FItems.push_back(std::make_unique<TMTAggregateZk>(FOwner));
  return FItems.back().get();
}

void TMTAggregatesZk::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  Reset(FDataSetOpen);
}

// Aggregates added by hand are kept and reset; those of aggregate fields are made again. A field
// no longer among the dataset's aggregate fields may be freed already: its aggregate forgets it
// without touching it.
void TMTAggregatesZk::Reset(bool DataSetOpen) {
  FDataSetOpen = DataSetOpen;
  TDataSet* DataSet = FOwner->DataSet();
  std::vector<std::unique_ptr<TMTAggregateZk>> Kept;
  for (auto& A : FItems) {
    if (!A->Field()) {
      A->Reset();
      Kept.push_back(std::move(A));
      continue;
    }
    TFields* Fields = DataSet ? DataSet->AggFields() : nullptr;
    if (!Fields || std::find(Fields->begin(), Fields->end(), A->Field()) == Fields->end()) A->ForgetField();
  }
  FItems = std::move(Kept);
  if (!DataSet) return;
  for (TField* F : *DataSet->AggFields()) {
    auto* Field = static_cast<TAggregateField*>(F);
    TMTAggregateZk* A = Add();
    A->AssignField(Field);
    A->Reset();
    Field->SetHandle(A);
    Field->SetResultType(A->DataType());
  }
}

void TMTAggregatesZk::Recalc() {
  for (const auto& A : FItems) A->MarkObsolete();
}
