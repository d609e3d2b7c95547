// ks_iexpression.h - expression trees: operands and operators built from a flat sequence,
// typed once, evaluated by walking the tree.
#pragma once

#include <memory>

#include "script/ks_iinterpreter.h"

enum class TksOperatorType {
  opNone, opGreat, opLess, opLessEq, opGreatEq, opNonEq, opEq, opPlus, opMinus, opOr, opXor,
  opMul, opDivFloat, opDivInt, opMod, opAnd, opShl, opShr, opLeftBracket, opRightBracket, opNot,
  opUnMinus, opIn, opIs
};

class TksExpressionNode {
public:
  virtual ~TksExpressionNode();
  virtual Variant Eval() = 0;
  // A lower priority binds tighter; operands are 0.
  virtual int Priority() const = 0;
  void AttachChild(TksExpressionNode* Node);
  void DetachChild(TksExpressionNode* Node);

  TksExpressionNode* FLeft = nullptr;   // owned
  TksExpressionNode* FRight = nullptr;  // owned
  TksExpressionNode* FParent = nullptr;
  TksTypeRec FType;
  String FSourcePos;
};

class TksOperandNode : public TksExpressionNode {
public:
  Variant Eval() override { return FValue; }
  int Priority() const override { return 0; }
  Variant FValue;
};

class TksDesignatorNode : public TksOperandNode {
public:
  explicit TksDesignatorNode(TksDesignator* ADesignator);
  ~TksDesignatorNode() override;
  Variant Eval() override { return FVar->GetValue(); }
  TksDesignator* FDesignator;
  TksCustomVariable* FVar;
};

class TksSetNode : public TksOperandNode {
public:
  explicit TksSetNode(TksSetExpression* ASet) : FSetExpression(ASet) {}
  ~TksSetNode() override;
  Variant Eval() override;
  TksSetExpression* FSetExpression;
};

class TksOperatorNode : public TksExpressionNode {
public:
  TksOperatorNode(TksOperatorType Op, bool StrCat) : FOp(Op), FStrCat(StrCat) {}
  Variant Eval() override;
  int Priority() const override;
  TksOperatorType FOp;
  bool FStrCat;  // the text-joining form of plus
  bool FOptimizeBool = false;
};

class TksExpression : public TksCustomExpression {
public:
  explicit TksExpression(TksScript* Script);
  ~TksExpression() override;
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;

  void AddConst(const Variant& AValue);
  void AddDesignator(TksDesignator* ADesignator);
  void AddSet(TksSetExpression* ASet);
  // Adds the operator of text Op (compared in upper case); unknown texts add nothing.
  void AddOperator(const String& Op);
  // Types the tree; the position of the first ill-typed operator, or empty.
  String Finalize();
  // Rewrites x := x op e; returns "+", "-", "*", "/" or " ".
  String Optimize(TksDesignator* Designator);
  TksCustomVariable* SingleItem() const;
  const String& Source() const { return FSource; }
  void SetSource(const String& Value) { FSource = Value; }
  void SetCurrentPos(const String& Value) { FCurPos = Value; }

private:
  void AttachOperand(TksExpressionNode* Node);
  TksTypeRec TypeNode(TksExpressionNode* Node, String& ErrPos);

  TksExpressionNode* FCurNode;
  TksExpressionNode* FNode;  // owned root
  TksScript* FScript;
  String FSource;
  String FCurPos;
};
