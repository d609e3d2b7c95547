// CompiledFilterZk.cpp - prepared filter steps over packed record values.
#include "gridlib/memtable/CompiledFilterZk.h"

#include <bit>
#include <cmath>

#include "gridlib/memtable/MemTableDataZk.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool IsRelation(TCANOperator Op) { return Op >= coEQ && Op <= coLE; }

// The relation that holds with the operands swapped (2 < F is F > 2).
TCANOperator Mirrored(TCANOperator Op) {
  switch (Op) {
    case coGT: return coLT;
    case coLT: return coGT;
    case coGE: return coLE;
    case coLE: return coGE;
    default: return Op;
  }
}

// The order the Variant comparison gives two values of one kind: NaN lowest and equal to itself.
int CompareDoubles(double A, double B) {
  if (std::isnan(A) || std::isnan(B)) return std::isnan(B) - std::isnan(A);
  return A < B ? -1 : (A > B ? 1 : 0);
}

bool IsStoredField(const TExprNode& Node) { return Node.NodeClass == nodeFIELD && Node.FieldNo > 0; }

// How the Variant comparison orders a kind against numbers: integers exactly among themselves,
// anything with a floating-point side as doubles. Other kinds are left to the evaluator.
enum class TNumberKind { None, Integer, Float };

TNumberKind NumberKind(TVarType Type) {
  switch (Type) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64:
      return TNumberKind::Integer;
    case varDouble: case varDate:
      return TNumberKind::Float;
    default:
      return TNumberKind::None;
  }
}

double AsDouble(TNumberKind Kind, std::int64_t Bits) {
  return Kind == TNumberKind::Integer ? static_cast<double>(Bits) : std::bit_cast<double>(Bits);
}

}  // namespace

std::unique_ptr<TCompiledFilterZk> TCompiledFilterZk::Compile(const TExprNode& Root) {
  std::unique_ptr<TCompiledFilterZk> Result(new TCompiledFilterZk);
  Result->FRoot = Result->Add(Root);
  // A lone node left to the evaluator, or no prepared leaf at all, gains nothing.
  if (!Result->FAnyFast) return nullptr;
  return Result;
}

int TCompiledFilterZk::Add(const TExprNode& Node) {
  TStep Step;
  Step.Source = &Node;
  const bool Logical = Node.NodeClass == nodeBINARY && (Node.Operator == coAND || Node.Operator == coOR);
  if (Logical) {
    Step.Kind = Node.Operator == coAND ? TKind::And : TKind::Or;
    Step.Left = Add(*Node.Operands[0]);
    Step.Right = Add(*Node.Operands[1]);
  } else if (Node.NodeClass == nodeUNARY && Node.Operator == coNOT) {
    Step.Kind = TKind::Not;
    Step.Left = Add(*Node.Operands[0]);
  } else if (AddLeaf(Node, Step)) {
    FAnyFast = true;
  }
  FSteps.push_back(std::move(Step));
  return static_cast<int>(FSteps.size()) - 1;
}

bool TCompiledFilterZk::AddLeaf(const TExprNode& Node, TStep& Step) const {
  if ((Node.NodeClass != nodeBINARY && Node.NodeClass != nodeCOMPARE) || Node.Operands.size() != 2) return false;
  const TExprNode& L = *Node.Operands[0];
  const TExprNode& R = *Node.Operands[1];
  if (Node.NodeClass == nodeCOMPARE) {
    // A text field = or <> a text: the node carries its own case option and partial length.
    if (Node.Operator != coEQ && Node.Operator != coNE) return false;
    const bool FieldLeft = IsStoredField(L) && R.NodeClass == nodeCONST && R.Value.IsString();
    const bool FieldRight = IsStoredField(R) && L.NodeClass == nodeCONST && L.Value.IsString();
    if (!FieldLeft && !FieldRight) return false;
    Step.Kind = TKind::Text;
    Step.Op = Node.Operator;  // the same either way round
    Step.Value = (FieldLeft ? L : R).FieldNo - 1;
    Step.Text = (FieldLeft ? R : L).Value.StringRef();
    Step.PartialLength = Node.PartialLength;
    Step.CaseFromNode = true;
    Step.CaseInsensitive = Node.CaseInsensitive;
    return true;
  }
  if (Node.Operator == coLIKE) {
    if (!IsStoredField(L) || R.NodeClass != nodeCONST || !R.Value.IsString()) return false;
    Step.Kind = TKind::Like;
    Step.Value = L.FieldNo - 1;
    const String& Pattern = R.Value.StringRef();
    TokenizeLikePattern(Pattern, std::nullopt, Step.Pattern);
    TokenizeLikePattern(AnsiUpperCase(Pattern), std::nullopt, Step.UpperPattern);
    return true;
  }
  if (!IsRelation(Node.Operator)) return false;
  const bool FieldLeft = IsStoredField(L) && R.NodeClass == nodeCONST;
  const bool FieldRight = IsStoredField(R) && L.NodeClass == nodeCONST;
  if (!FieldLeft && !FieldRight) return false;
  const Variant& Const = FieldLeft ? R.Value : L.Value;
  if (Const.IsString()) {
    // Compared as texts in the dataset's case option, read when the filter runs.
    Step.Kind = TKind::Text;
    Step.Op = FieldLeft ? Node.Operator : Mirrored(Node.Operator);
    Step.Value = (FieldLeft ? L : R).FieldNo - 1;
    Step.Text = Const.StringRef();
    return true;
  }
  if (NumberKind(Const.VType()) == TNumberKind::None) return false;
  Step.Kind = TKind::Compare;
  Step.Op = FieldLeft ? Node.Operator : Mirrored(Node.Operator);
  Step.Value = (FieldLeft ? L : R).FieldNo - 1;
  Step.ConstType = Const.VType();
  Step.ConstBits = Const.Data().Int;  // the bits of either member, as packed values give them
  return true;
}

bool TCompiledFilterZk::IsTrue(const TMemoryRecordZk* Rec, const TExprEvaluator& General) const {
  return Run(FRoot, Rec, General) == TVerdict::True;
}

TCompiledFilterZk::TVerdict TCompiledFilterZk::FromVariant(const Variant& V) {
  if (V.IsNull()) return TVerdict::Null;
  return V.AsBoolean() ? TVerdict::True : TVerdict::False;
}

TCompiledFilterZk::TVerdict TCompiledFilterZk::Run(int Index, const TMemoryRecordZk* Rec,
                                                   const TExprEvaluator& General) const {
  const TStep& S = FSteps[static_cast<std::size_t>(Index)];
  switch (S.Kind) {
    case TKind::And:
    case TKind::Or: {
      // False decides an AND and True an OR whatever the other side holds; the left runs first.
      const TVerdict Decides = S.Kind == TKind::And ? TVerdict::False : TVerdict::True;
      const TVerdict L = Run(S.Left, Rec, General);
      if (L == Decides) return Decides;
      const TVerdict R = Run(S.Right, Rec, General);
      if (R == Decides) return Decides;
      if (L == TVerdict::Null || R == TVerdict::Null) return TVerdict::Null;
      return L;
    }
    case TKind::Not: {
      const TVerdict V = Run(S.Left, Rec, General);
      if (V == TVerdict::Null) return V;
      return V == TVerdict::True ? TVerdict::False : TVerdict::True;
    }
    case TKind::Compare:
      return Compare(S, Rec, General);
    case TKind::Like:
      return Like(S, Rec, General);
    case TKind::Text:
      return CompareText(S, Rec, General);
    case TKind::General:
      break;
  }
  return FromVariant(General.Evaluate(*S.Source));
}

TCompiledFilterZk::TVerdict TCompiledFilterZk::Compare(const TStep& S, const TMemoryRecordZk* Rec,
                                                       const TExprEvaluator& General) const {
  const TPackedValueZk V = Rec->ValueAt(S.Value);
  if (V.VType() == varNull) return TVerdict::Null;
  const TNumberKind Kind = NumberKind(V.VType()), ConstKind = NumberKind(S.ConstType);
  if (Kind == TNumberKind::None) return FromVariant(General.Evaluate(*S.Source));
  const int Cmp = Kind == TNumberKind::Integer && ConstKind == TNumberKind::Integer
                      ? (V.Bits() < S.ConstBits ? -1 : V.Bits() > S.ConstBits ? 1 : 0)
                      : CompareDoubles(AsDouble(Kind, V.Bits()), AsDouble(ConstKind, S.ConstBits));
  return RelationHolds(S.Op, Cmp) ? TVerdict::True : TVerdict::False;
}

TCompiledFilterZk::TVerdict TCompiledFilterZk::Like(const TStep& S, const TMemoryRecordZk* Rec,
                                                    const TExprEvaluator& General) const {
  const TPackedValueZk V = Rec->ValueAt(S.Value);
  if (V.VType() == varNull) return TVerdict::Null;
  if (!V.IsString()) return FromVariant(General.Evaluate(*S.Source));
  TTextBufferZk Buffer;
  const std::u16string_view Text = V.Text(Buffer);
  // The case option is read now, as the evaluator reads it (it may change after parsing).
  const bool Match = General.Options().Contains(foCaseInsensitive)
                         ? MatchLikeItems(S.UpperPattern, AnsiUpperCase(String(Text)))
                         : MatchLikeItems(S.Pattern, Text);
  return Match ? TVerdict::True : TVerdict::False;
}

TCompiledFilterZk::TVerdict TCompiledFilterZk::CompareText(const TStep& S, const TMemoryRecordZk* Rec,
                                                           const TExprEvaluator& General) const {
  const TPackedValueZk V = Rec->ValueAt(S.Value);
  if (V.VType() == varNull) return TVerdict::Null;
  if (S.PartialLength < 0) return S.Op != coNE ? TVerdict::True : TVerdict::False;  // 'X*' with nothing
  if (!V.IsString()) return FromVariant(General.Evaluate(*S.Source));
  TTextBufferZk Buffer;
  std::u16string_view Text = V.Text(Buffer), Const = S.Text;
  if (S.PartialLength > 0) {
    const auto Count = static_cast<std::size_t>(S.PartialLength);
    Text = Text.substr(0, Count);
    Const = Const.substr(0, Count);
  }
  const bool CaseInsensitive = S.CaseFromNode ? S.CaseInsensitive : General.Options().Contains(foCaseInsensitive);
  // The same characters are equal in any collation; other texts go to the locale comparison.
  const int Cmp = Text == Const ? 0 : CaseInsensitive ? AnsiCompareText(Text, Const) : AnsiCompareStr(Text, Const);
  return RelationHolds(S.Op, Cmp) ? TVerdict::True : TVerdict::False;
}
