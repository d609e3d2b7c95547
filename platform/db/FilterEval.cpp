// FilterEval.cpp - the framework's evaluator of filter-expression trees: reads field values
// through the fields (so calculated and lookup fields work) and follows the null, string and
// LIKE rules written in docs/filter-expressions.md.
#include "platform/db/FilterExpr.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool IsText(const Variant& V) { return V.IsString(); }

[[noreturn]] void EvalError(const String& Message) { throw Exception(Message); }

// Locale comparison of two texts, -1/0/1; Count > 0 compares only that many characters.
int CompareTexts(String A, String B, bool CaseInsensitive, int Count) {
  if (Count > 0) {
    if (A.size() > static_cast<std::size_t>(Count)) A.resize(Count);
    if (B.size() > static_cast<std::size_t>(Count)) B.resize(Count);
  }
  return CaseInsensitive ? AnsiCompareText(A, B) : AnsiCompareStr(A, B);
}

}  // namespace

bool MatchLikePattern(const String& Text, const String& Pattern, bool CaseInsensitive) {
  std::vector<TLikeItem> Items;
  if (CaseInsensitive) {
    TokenizeLikePattern(AnsiUpperCase(Pattern), std::nullopt, Items);
    return MatchLikeItems(Items, AnsiUpperCase(Text));
  }
  TokenizeLikePattern(Pattern, std::nullopt, Items);
  return MatchLikeItems(Items, Text);
}

Variant TExprEvaluator::Evaluate(const TExprNode& Node) const {
  switch (Node.NodeClass) {
    case nodeCONST:
      return Node.Value;
    case nodeFIELD:
      return FieldValue(Node);
    case nodeUNARY: {
      Variant V = Evaluate(*Node.Operands[0]);
      switch (Node.Operator) {
        case coISBLANK: return V.IsNull() || V.IsEmpty() || (IsText(V) && V.AsString().empty());
        case coNOTBLANK: return !(V.IsNull() || V.IsEmpty() || (IsText(V) && V.AsString().empty()));
        case coNOT: return V.IsNull() ? Variant::MakeNull() : Variant(!V.AsBoolean());
        case coUPPER: return V.IsNull() ? V : Variant(AnsiUpperCase(V.AsString()));
        case coLOWER: return V.IsNull() ? V : Variant(AnsiLowerCase(V.AsString()));
        default: break;
      }
      break;
    }
    case nodeBINARY:
      return EvaluateBinary(Node);
    case nodeCOMPARE:
      return EvaluateCompare(Node);
    case nodeFUNC:
      return EvaluateFunc(Node);
    default:
      return Variant::MakeNull();
  }
  EvalError(u"Operator <" + IntToStr(Node.NodeClass) + u":" + IntToStr(Node.Operator) +
            u"> not supported.");
}

bool TExprEvaluator::IsTrue(const TExprNode& Node) const {
  Variant V = Evaluate(Node);
  if (V.IsNull() || V.IsEmpty()) return false;
  return V.AsBoolean();
}

Variant TExprEvaluator::EvaluateBinary(const TExprNode& Node) const {
  const bool CaseIns = FOptions.Contains(foCaseInsensitive);
  Variant L = Evaluate(*Node.Operands[0]);
  if (Node.Operator == coIN) {
    if (L.IsNull()) return Variant::MakeNull();
    for (std::size_t I = 1; I < Node.Operands.size(); ++I) {
      Variant Item = Evaluate(*Node.Operands[I]);
      if (Item.IsNull()) continue;
      if (IsText(L) || IsText(Item) ? CompareTexts(L.AsString(), Item.AsString(), CaseIns, 0) == 0
                                    : VarEquals(L, Item))
        return true;
    }
    return false;
  }
  // AND and OR follow three-valued logic: False decides whatever the other side holds.
  if (Node.Operator == coAND || Node.Operator == coOR) {
    bool IsAnd = Node.Operator == coAND;
    if (!L.IsNull() && L.AsBoolean() != IsAnd) return !IsAnd;
    Variant R = Evaluate(*Node.Operands[1]);
    if (!R.IsNull() && R.AsBoolean() != IsAnd) return !IsAnd;
    if (L.IsNull() || R.IsNull()) return Variant::MakeNull();
    return IsAnd;
  }
  Variant R = Evaluate(*Node.Operands[1]);
  switch (Node.Operator) {
    case coEQ: case coNE: case coGT: case coLT: case coGE: case coLE:
      if (L.IsNull() || R.IsNull()) return Variant::MakeNull();
      if (IsText(L) || IsText(R))
        return RelationHolds(Node.Operator, CompareTexts(L.AsString(), R.AsString(), CaseIns, 0));
      if (VarEquals(L, R)) return RelationHolds(Node.Operator, 0);
      return RelationHolds(Node.Operator, VarLess(L, R) ? -1 : 1);
    case coLIKE:
      if (L.IsNull() || R.IsNull()) return Variant::MakeNull();
      return MatchLikePattern(L.AsString(), R.AsString(), CaseIns);
    case coADD:
      if (L.IsNull() || R.IsNull()) return Variant::MakeNull();
      if (IsText(L) && IsText(R)) return Variant(L.AsString() + R.AsString());
      return L + R;
    case coSUB: case coMUL: case coDIV:
      if (L.IsNull() || R.IsNull()) return Variant::MakeNull();
      return Node.Operator == coSUB ? L - R : Node.Operator == coMUL ? L * R : L / R;
    default:
      EvalError(u"Operator <" + IntToStr(Node.NodeClass) + u":" + IntToStr(Node.Operator) +
                u"> not supported.");
  }
}

Variant TExprEvaluator::EvaluateCompare(const TExprNode& Node) const {
  Variant L = Evaluate(*Node.Operands[0]);
  Variant R = Evaluate(*Node.Operands[1]);
  if (L.IsNull() || R.IsNull()) return Variant::MakeNull();
  if (Node.PartialLength < 0) return Node.Operator != coNE;  // 'X' = '*' matches every text
  switch (Node.Operator) {
    case coEQ:
    case coNE: {
      int Cmp = CompareTexts(L.AsString(), R.AsString(), Node.CaseInsensitive, Node.PartialLength);
      return Node.Operator == coEQ ? Cmp == 0 : Cmp != 0;
    }
    case coLIKE:
      return MatchLikePattern(L.AsString(), R.AsString(), Node.CaseInsensitive);
    default:
      EvalError(u"Operator <" + IntToStr(Node.NodeClass) + u":" + IntToStr(Node.Operator) +
                u"> not supported.");
  }
}

Variant TExprEvaluator::FieldValue(const TExprNode& Node) const {
  return Node.Field ? Node.Field->AsVariant() : Variant::MakeNull();
}

Variant TExprEvaluator::AggregateValue(const TExprNode& Node) const {
  EvalError(u"Aggregate function " + Node.Name + u" cannot be used in a filter");
}

Variant TExprEvaluator::EvaluateFunc(const TExprNode& Node) const {
  const String& Name = Node.Name;
  if (Name == u"SUM" || Name == u"MIN" || Name == u"MAX" || Name == u"AVG" ||
      Name == u"COUNT" || Name == u"COUNT(*)")
    return AggregateValue(Node);
  std::vector<Variant> Args;
  for (const auto& Arg : Node.Operands) Args.push_back(Evaluate(*Arg));
  auto CheckCount = [&](std::size_t Min, std::size_t Max) {
    if (Args.size() < Min || Args.size() > Max)
      EvalError(u"Incorrect number of arguments in function <" + Name + u">");
  };
  if (Name == u"GETDATE") {
    CheckCount(0, 0);
    return Variant::FromDateTime(Now());
  }
  if (Name == u"SUBSTRING") CheckCount(2, 3);
  else if (Name == u"TRIM" || Name == u"TRIMLEFT" || Name == u"TRIMRIGHT") CheckCount(1, 2);
  else CheckCount(1, 1);
  if (Args[0].IsNull()) return Variant::MakeNull();

  if (Name == u"SUBSTRING") {
    String S = Args[0].AsString();
    int From = Args[1].AsInteger();
    int Count = Args.size() == 3 ? Args[2].AsInteger() : static_cast<int>(S.size());
    return Copy(S, From, Count);
  }
  if (Name == u"UPPER") return AnsiUpperCase(Args[0].AsString());
  if (Name == u"LOWER") return AnsiLowerCase(Args[0].AsString());
  if (Name == u"TRIM" || Name == u"TRIMLEFT" || Name == u"TRIMRIGHT") {
    String S = Args[0].AsString();
    String What = Args.size() == 2 && !Args[1].IsNull() ? Args[1].AsString() : String(u" ");
    if (What.empty()) return S;
    std::size_t B = 0, E = S.size();
    if (Name != u"TRIMRIGHT")
      while (B < E && S.compare(B, What.size(), What) == 0) B += What.size();
    if (Name != u"TRIMLEFT")
      while (E >= B + What.size() && S.compare(E - What.size(), What.size(), What) == 0)
        E -= What.size();
    return S.substr(B, E - B);
  }
  TDateTime D = Args[0].AsDateTime();
  if (Name == u"YEAR") return YearOf(D);
  if (Name == u"MONTH") return MonthOf(D);
  if (Name == u"DAY") return DayOf(D);
  if (Name == u"HOUR") return HourOf(D);
  if (Name == u"MINUTE") return MinuteOf(D);
  if (Name == u"SECOND") return SecondOf(D);
  if (Name == u"DATE") return Variant::FromDateTime(DateOf(D));
  if (Name == u"TIME") return Variant::FromDateTime(TimeOf(D));
  EvalError(u"Unsupported function: " + Name);
}
