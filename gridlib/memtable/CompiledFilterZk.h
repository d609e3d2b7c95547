// CompiledFilterZk.h - a filter's common shapes, answered from a record's packed values.
//
// The general evaluator builds a Variant for every field and constant it meets, compares
// them through the generic Variant comparison and splits a LIKE pattern into pieces again
// for every record. Over a million records that is most of a filter's refresh. Here the
// shapes most filters are made of are prepared once:
//   a stored field compared (= <> < > <= >=) with a number or date constant,
//   a stored field LIKE a text constant (the pattern split once),
//   a stored field compared with a text constant (= and <> of a text field with their case
//   option and partial length, any relation of another field in the dataset's case option),
//   AND, OR and NOT of these;
// any other node is handed to the general evaluator, as is a leaf whose record value is not
// of its constant's kind. The verdicts are the evaluator's (docs/filter-expressions.md):
// Null operands give Null, AND and OR follow three-valued logic with the left side first,
// and a Null verdict rejects the record.
#pragma once

#include <memory>
#include <vector>

#include "platform/db/FilterExpr.h"

class TMemoryRecordZk;

class TCompiledFilterZk {
public:
  // The prepared filter, or nullptr when the expression holds none of the shapes above.
  static std::unique_ptr<TCompiledFilterZk> Compile(const TExprNode& Root);
  // Whether Rec passes. General evaluates the nodes left to it, reading the same record; its
  // options (foCaseInsensitive) hold for LIKE.
  bool IsTrue(const TMemoryRecordZk* Rec, const TExprEvaluator& General) const;

private:
  enum class TKind : std::uint8_t { And, Or, Not, Compare, Like, Text, General };
  enum class TVerdict : std::uint8_t { False, True, Null };
  struct TStep {
    TKind Kind = TKind::General;
    TCANOperator Op = coNOTDEFINED;  // Compare: the relation with the field on the left
    int Value = -1;                  // Compare, Like: the record value's position
    int Left = -1, Right = -1;       // And, Or, Not: the operands' steps
    TVarType ConstType = varNull;    // Compare: an integer kind, varDouble or varDate
    std::int64_t ConstBits = 0;
    std::vector<TLikeItem> Pattern;       // Like: the pattern split
    std::vector<TLikeItem> UpperPattern;  // Like: split in upper case, for foCaseInsensitive
    String Text;                          // Text: the constant
    int PartialLength = 0;                // Text: characters compared (0 all, < 0 none: all match)
    bool CaseFromNode = false;            // Text: the node's case option, else the evaluator's
    bool CaseInsensitive = false;
    const TExprNode* Source = nullptr;
  };

  TCompiledFilterZk() = default;
  int Add(const TExprNode& Node);
  bool AddLeaf(const TExprNode& Node, TStep& Step) const;
  TVerdict Run(int Step, const TMemoryRecordZk* Rec, const TExprEvaluator& General) const;
  TVerdict Compare(const TStep& S, const TMemoryRecordZk* Rec, const TExprEvaluator& General) const;
  TVerdict Like(const TStep& S, const TMemoryRecordZk* Rec, const TExprEvaluator& General) const;
  TVerdict CompareText(const TStep& S, const TMemoryRecordZk* Rec, const TExprEvaluator& General) const;
  static TVerdict FromVariant(const Variant& V);

  std::vector<TStep> FSteps;
  int FRoot = -1;
  bool FAnyFast = false;
};
