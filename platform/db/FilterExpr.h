// FilterExpr.h - the filter-expression parser: text to a node tree that datasets evaluate,
// and the framework's evaluator of that tree against a dataset's current field values.
//
// Node classes and operator codes keep the class library's numbering (TExprNodeClass,
// TCANOperator) so that an evaluator written against that numbering reads the tree as it
// would read the byte code; the tree replaces the byte code because it never leaves the
// process. Operands are child nodes in order:
//   nodeUNARY      Operands[0]
//   nodeBINARY     Operands[0] left, Operands[1] right; coIN: Operands[1..] the list values
//   nodeCOMPARE    Operands[0] left, Operands[1] right; CaseInsensitive, PartialLength
//   nodeFIELD      Field (resolved; calculated and lookup fields included), FieldNo, Name
//   nodeCONST      Value, LiteralType (the field map's code of the value's type)
//   nodeFUNC       Name (upper case; "COUNT(*)" as one name), Operands = its own arguments
// The grammar, the literal forms and the coercion rules are in docs/filter-expressions.md.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/db/DBConsts.h"
#include "platform/rtl/Variant.h"

class TDataSet;
class TField;

// ORDER NODECLASS: the class library's node classes.
enum TExprNodeClass {
  nodeNULL, nodeUNARY, nodeBINARY, nodeCOMPARE, nodeFIELD, nodeCONST, nodeTUPLE, nodeCONTINUE,
  nodeUDF, nodeLIST, nodeFUNC, nodeLISTELEM
};

// ORDER CANOPERATOR: the class library's operator codes.
enum TCANOperator {
  coNOTDEFINED, coISBLANK, coNOTBLANK, coEQ, coNE, coGT, coLT, coGE, coLE, coNOT, coAND, coOR,
  coTUPLE2, coFIELD2, coCONST2, coMINUS, coADD, coSUB, coMUL, coDIV, coMOD, coREM, coSUM,
  coCOUNT, coMIN, coMAX, coAVG, coCONT, coUDF2, coCONTINUE2, coLIKE, coIN, coLIST2, coUPPER,
  coLOWER, coFUNC2, coLISTELEM2, coASSIGN
};

struct TExprNode {
  TExprNodeClass NodeClass = nodeNULL;
  TCANOperator Operator = coNOTDEFINED;
  std::vector<std::unique_ptr<TExprNode>> Operands;
  bool CaseInsensitive = false;  // nodeCOMPARE
  int PartialLength = 0;         // nodeCOMPARE: compare only so many characters (0 = all)
  TField* Field = nullptr;       // nodeFIELD
  int FieldNo = 0;               // nodeFIELD: the field's FieldNo (-1 for calculated fields)
  String Name;                   // nodeFIELD: field name; nodeFUNC: function name
  Variant Value;                 // nodeCONST
  int LiteralType = 0;           // nodeCONST
};

// The literal type code the class library's parser uses for each field type (the field map).
int FieldTypeLiteralCode(TFieldType Type);

// Parses Text for DataSet (names resolve against its fields). A syntax error, an unknown
// field or a literal that does not convert to its field's type raises EDatabaseError.
class TExprParser {
public:
  TExprParser(TDataSet* DataSet, const String& Text, TFilterOptions FilterOptions,
              TParserOptions ParserOptions = {poExtSyntax});
  TExprParser(const TExprParser&) = delete;
  TExprParser& operator=(const TExprParser&) = delete;
  ~TExprParser();

  const TExprNode* Root() const { return FRoot.get(); }
  // The fields the expression reads, each once, in order of appearance.
  const std::vector<TField*>& DependentFields() const { return FDependentFields; }

private:
  std::unique_ptr<TExprNode> FRoot;
  std::vector<TField*> FDependentFields;
};

// Evaluates a tree against the fields' current values (the record the dataset's state
// selects). Aggregate functions raise here: datasets that compute aggregates evaluate them
// themselves.
class TExprEvaluator {
public:
  TExprEvaluator(TFilterOptions Options) : FOptions(Options) {}
  virtual ~TExprEvaluator() = default;
  Variant Evaluate(const TExprNode& Node) const;
  // The filter verdict: Null and False reject.
  bool IsTrue(const TExprNode& Node) const;
  TFilterOptions Options() const { return FOptions; }

protected:
  // A field node's value: here the field's current value. A dataset that keeps its records
  // itself reads them its own way.
  virtual Variant FieldValue(const TExprNode& Node) const;
  // An aggregate function node (SUM, MIN, MAX, AVG, COUNT, COUNT(*)): refused here; a
  // dataset that computes aggregates evaluates the node's arguments over its rows.
  virtual Variant AggregateValue(const TExprNode& Node) const;

private:
  Variant EvaluateBinary(const TExprNode& Node) const;
  Variant EvaluateCompare(const TExprNode& Node) const;
  Variant EvaluateFunc(const TExprNode& Node) const;
  TFilterOptions FOptions;
};

// Whether a comparison result (below, at or above zero) satisfies a relational operator
// (coEQ .. coLE); any other operator is false. Inline: filters ask it once per record.
inline bool RelationHolds(TCANOperator Op, int Cmp) {
  switch (Op) {
    case coEQ: return Cmp == 0;
    case coNE: return Cmp != 0;
    case coGT: return Cmp > 0;
    case coLT: return Cmp < 0;
    case coGE: return Cmp >= 0;
    case coLE: return Cmp <= 0;
    default: return false;
  }
}

// SQL-style LIKE: '%' any run of characters, '_' one character; whole text must match.
bool MatchLikePattern(const String& Text, const String& Pattern, bool CaseInsensitive);

// ---- LIKE matching for other callers -----------------------------------------------------
// A caller folds case its own way first; the pieces and the matcher work on any sequence of
// characters (UTF-16 code units or code points) that compare as char32_t.

enum class TLikeToken { Literal, AnyOne, AnySequence };

struct TLikeItem {
  TLikeToken Kind;
  char32_t Ch;
};

// Reads a pattern into pieces: a run of '%' is one AnySequence, '_' is AnyOne, anything else
// (and the character after Escape) a literal. False when Escape ends the pattern.
template <typename TChars>
bool TokenizeLikePattern(const TChars& Pattern, std::optional<char32_t> Escape,
                         std::vector<TLikeItem>& Out) {
  Out.clear();
  for (std::size_t I = 0; I < Pattern.size(); ++I) {
    const auto C = static_cast<char32_t>(Pattern[I]);
    if (Escape && C == *Escape) {
      if (++I == Pattern.size()) return false;
      Out.push_back({TLikeToken::Literal, static_cast<char32_t>(Pattern[I])});
    } else if (C == U'%') {
      if (Out.empty() || Out.back().Kind != TLikeToken::AnySequence)
        Out.push_back({TLikeToken::AnySequence, 0});
    } else if (C == U'_') {
      Out.push_back({TLikeToken::AnyOne, 0});
    } else {
      Out.push_back({TLikeToken::Literal, C});
    }
  }
  return true;
}

// Whether the whole Text matches the pieces. Only the last AnySequence needs to be retried:
// what an earlier one swallowed can never help a later piece, so the work stays within
// Text's length times the pattern's, however many '%' the pattern holds.
template <typename TChars>
bool MatchLikeItems(const std::vector<TLikeItem>& Pattern, const TChars& Text) {
  constexpr std::size_t NoStar = static_cast<std::size_t>(-1);
  std::size_t S = 0, P = 0, StarP = NoStar, StarS = 0;
  while (S < Text.size()) {
    if (P < Pattern.size() && Pattern[P].Kind == TLikeToken::AnySequence) {
      StarP = P++;
      StarS = S;
    } else if (P < Pattern.size() && (Pattern[P].Kind == TLikeToken::AnyOne ||
                                      Pattern[P].Ch == static_cast<char32_t>(Text[S]))) {
      ++S;
      ++P;
    } else if (StarP != NoStar) {
      P = StarP + 1;
      S = ++StarS;
    } else {
      return false;
    }
  }
  while (P < Pattern.size() && Pattern[P].Kind == TLikeToken::AnySequence) ++P;
  return P == Pattern.size();
}
