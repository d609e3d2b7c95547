// ks_iexpression.h - expression trees: operands and operators built from a flat sequence,
// typed once, evaluated by walking the tree.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "script/ks_iinterpreter.h"
#include "script/ks_inumberprogram.h"

enum class TksOperatorType {
  opNone, opGreat, opLess, opLessEq, opGreatEq, opNonEq, opEq, opPlus, opMinus, opOr, opXor,
  opMul, opDivFloat, opDivInt, opMod, opAnd, opShl, opShr, opLeftBracket, opRightBracket, opNot,
  opUnMinus, opIn, opIs
};

// A number read on the fast path: a 32-bit integer or a double.
struct TksNumber {
  bool IsFloat;
  int Int;
  double Float;
  double AsDouble() const { return IsFloat ? Float : Int; }
};

class TksExpressionNode {
public:
  // What the node is: building and typing a tree tell the kinds apart by this byte rather
  // than by a type test per node.
  enum TKind : unsigned char { nkOperand, nkDesignator, nkSet, nkOperator };
  virtual ~TksExpressionNode();
  TKind Kind() const { return FKind; }
  virtual Variant Eval() = 0;
  // A lower priority binds tighter; operands are 0.
  virtual int Priority() const = 0;
  // The integer fast path. A pure node reads nothing but constants and plain variables, so
  // it may be evaluated again by Eval when TryInt gives up. TryInt gives the node's value
  // when it is a 32-bit integer (and all that it reads are), false otherwise.
  virtual bool Pure() { return false; }
  virtual bool TryInt(long long&) { return false; }
  // The same for a condition: the truth of a pure comparison of integers (or of and/or of
  // such comparisons), false when the general path must decide.
  virtual bool TryBool(bool&) { return false; }
  // The same for arithmetic mixing integers and doubles: the node's value when it is an
  // Integer or a Double computed from such values alone.
  virtual bool TryNumber(TksNumber&) { return false; }
  // The designator a designator node reads (what a var argument writes back to), else null.
  virtual TksDesignator* WritableDesignator() { return nullptr; }
  // For a pure leaf: where its value is stored (a constant's own, a plain variable's), and
  // the variable whose read hook, when set, bars reading the store directly (null for a
  // constant). Null for anything else.
  virtual const Variant* Store(const TksCustomVariable*& Var) {
    Var = nullptr;
    return nullptr;
  }
  void AttachChild(TksExpressionNode* Node);
  void DetachChild(TksExpressionNode* Node);

  TksExpressionNode* FLeft = nullptr;   // owned
  TksExpressionNode* FRight = nullptr;  // owned
  TksExpressionNode* FParent = nullptr;
  TksTypeRec FType;
  String FSourcePos;

protected:
  explicit TksExpressionNode(TKind AKind) : FKind(AKind) {}

private:
  const TKind FKind;
};

class TksOperandNode : public TksExpressionNode {
public:
  TksOperandNode() : TksExpressionNode(nkOperand) {}
  Variant Eval() override { return FValue; }
  int Priority() const override { return 0; }
  bool Pure() override { return true; }
  bool TryInt(long long& Out) override {
    if (FValue.VType() != varInteger) return false;
    Out = FValue.Data().Int;
    return true;
  }
  bool TryNumber(TksNumber& Out) override { return ReadNumber(FValue, Out); }
  const Variant* Store(const TksCustomVariable*& Var) override {
    Var = nullptr;
    return &FValue;
  }
  // An Integer or Double value as a number; false for any other kind.
  static bool ReadNumber(const Variant& V, TksNumber& Out) {
    if (V.VType() == varInteger) {
      Out.IsFloat = false;
      Out.Int = V.Data().Int;
      return true;
    }
    if (V.VType() != varDouble) return false;
    Out.IsFloat = true;
    Out.Float = V.Data().Double;
    return true;
  }
  Variant FValue;

protected:
  explicit TksOperandNode(TKind AKind) : TksExpressionNode(AKind) {}
};

class TksDesignatorNode : public TksOperandNode {
public:
  explicit TksDesignatorNode(TksDesignator* ADesignator);
  ~TksDesignatorNode() override;
  TksDesignator* WritableDesignator() override { return FDesignator; }
  Variant Eval() override {
    if (TksProcVariable* Proc = FDesignator->FastRoutine()) return FDesignator->CallRoutine(Proc);
    return FVar->GetValue();
  }
  bool Pure() override { return FPlainVariable; }
  bool TryInt(long long& Out) override;
  // A Boolean read where it is stored: a plain variable's, or an array element's.
  bool TryBool(bool& Out) override;
  bool TryNumber(TksNumber& Out) override {
    return FPlainVariable && !FVar->OnGetVarValue() && ReadNumber(*FVar->PValue(), Out);
  }
  const Variant* Store(const TksCustomVariable*& Var) override {
    Var = FVar;
    return FPlainVariable ? FVar->PValue() : nullptr;
  }
  TksDesignator* FDesignator;
  TksCustomVariable* FVar;

private:
  bool FPlainVariable;  // FVar is a variable or parameter whose value is its stored value
};

class TksSetNode : public TksOperandNode {
public:
  explicit TksSetNode(TksSetExpression* ASet) : TksOperandNode(nkSet), FSetExpression(ASet) {}
  ~TksSetNode() override;
  Variant Eval() override;
  bool Pure() override { return false; }
  bool TryInt(long long&) override { return false; }
  bool TryNumber(TksNumber&) override { return false; }
  const Variant* Store(const TksCustomVariable*& Var) override {
    Var = nullptr;
    return nullptr;
  }
  TksSetExpression* FSetExpression;
};

class TksOperatorNode : public TksExpressionNode {
public:
  TksOperatorNode(TksOperatorType Op, bool StrCat);
  Variant Eval() override;
  int Priority() const override;
  bool Pure() override {
    if (FPure < 0) FindPure();
    return FPure;
  }
  bool TryInt(long long& Out) override;
  bool TryBool(bool& Out) override;
  bool TryNumber(TksNumber& Out) override;
  // The arithmetic operators on two numbers of which one is a double (or two integers for
  // the float division); false for a zero divisor and for the operators that need the
  // general path. Inline, as the fast paths below: they run once per operator and value.
  static bool CombineFloat(TksOperatorType Op, double A, double B, double& Out) {
    switch (Op) {
      case TksOperatorType::opPlus: Out = A + B; return true;
      case TksOperatorType::opMinus: Out = A - B; return true;
      case TksOperatorType::opMul: Out = A * B; return true;
      case TksOperatorType::opDivFloat:
        if (B == 0) return false;
        Out = A / B;
        return true;
      default: return false;
    }
  }
  // The arithmetic operators on two integers; false when the result leaves 32 bits (or for
  // a zero divisor), which the general path then handles.
  static bool Combine(TksOperatorType Op, long long A, long long B, long long& Out) {
    long long V;
    switch (Op) {
      case TksOperatorType::opPlus: V = A + B; break;
      case TksOperatorType::opMinus: V = A - B; break;
      case TksOperatorType::opMul: V = A * B; break;
      case TksOperatorType::opMod:
        if (B == 0) return false;
        V = A % B;
        break;
      default: return false;
    }
    if (V < INT32_MIN || V > INT32_MAX) return false;
    Out = V;
    return true;
  }
  // The same on two numbers, the way TryNumber combines its operands' values: into A.
  static bool CombineNumbers(TksOperatorType Op, TksNumber& A, const TksNumber& B) {
    if (!A.IsFloat && !B.IsFloat && Op != TksOperatorType::opDivFloat) {
      long long V;
      if (!Combine(Op, A.Int, B.Int, V)) return false;
      A.Int = static_cast<int>(V);
      return true;
    }
    double V;
    if (!CombineFloat(Op, A.AsDouble(), B.AsDouble(), V)) return false;
    A.IsFloat = true;
    A.Float = V;
    return true;
  }
  // A comparison operator on two integers, on two doubles, and on two numbers.
  template <typename T>
  static bool Compare(TksOperatorType Op, T A, T B) {
    switch (Op) {
      case TksOperatorType::opGreat: return A > B;
      case TksOperatorType::opLess: return A < B;
      case TksOperatorType::opLessEq: return A <= B;
      case TksOperatorType::opGreatEq: return A >= B;
      case TksOperatorType::opNonEq: return A != B;
      default: return A == B;
    }
  }
  static bool CompareNumbers(TksOperatorType Op, const TksNumber& A, const TksNumber& B) {
    if (A.IsFloat || B.IsFloat) return Compare<double>(Op, A.AsDouble(), B.AsDouble());
    return Compare<long long>(Op, A.Int, B.Int);
  }
  TksOperatorType FOp;
  bool FStrCat;  // the text-joining form of plus
  bool FOptimizeBool = false;

private:
  // An operand of the integer fast path: a leaf's store, read without a call, or null to
  // ask the child node.
  struct TIntOperand {
    const Variant* Store = nullptr;
    const TksCustomVariable* Var = nullptr;
  };
  void FindPure();
  static bool ReadInt(const TIntOperand& O, TksExpressionNode* Node, long long& Out) {
    if (!O.Store) return Node->TryInt(Out);
    if ((O.Var && O.Var->OnGetVarValue()) || O.Store->VType() != varInteger) return false;
    Out = O.Store->Data().Int;
    return true;
  }
  // A leaf's integer, read from its store (the node has two leaves: FLeaves).
  static bool LeafInt(const TIntOperand& O, long long& Out) {
    if ((O.Var && O.Var->OnGetVarValue()) || O.Store->VType() != varInteger) return false;
    Out = O.Store->Data().Int;
    return true;
  }
  bool TryOperands(long long& A, long long& B) {
    return Pure() && ReadInt(FLeftInt, FLeft, A) && ReadInt(FRightInt, FRight, B);
  }
  static bool ReadNumber(const TIntOperand& O, TksExpressionNode* Node, TksNumber& Out) {
    if (!O.Store) return Node->TryNumber(Out);
    return !(O.Var && O.Var->OnGetVarValue()) && TksOperandNode::ReadNumber(*O.Store, Out);
  }
  bool NumberOperands(TksNumber& A, TksNumber& B) {
    return Pure() && ReadNumber(FLeftInt, FLeft, A) && ReadNumber(FRightInt, FRight, B);
  }
  // Two numbers of which one is a float (or two integers for the float division), as doubles.
  bool FloatOperands(const Variant& L, const Variant& R, double& A, double& B) const;
  signed char FPriority;   // of FOp, looked up once
  signed char FPure = -1;  // found at the first use
  // Found with FPure: both operands are leaves read from their stores, under an arithmetic
  // operator or a comparison; the fast paths then read them without asking the nodes. Or,
  // under an arithmetic operator, one side is such a leaf and the other an arithmetic
  // operator on two leaves ((i + 1) mod n, s + i mod n), whose leaves the integer path
  // reads without calling that node.
  enum : signed char { lvNo, lvArithmetic, lvCompare, lvLeftNested, lvRightNested } FLeaves = lvNo;
  // The value of the inner operator of lvLeftNested/lvRightNested, from its leaves.
  static bool NestedInt(const TksExpressionNode* Node, long long& Out) {
    auto* N = static_cast<const TksOperatorNode*>(Node);
    long long A, B;
    return LeafInt(N->FLeftInt, A) && LeafInt(N->FRightInt, B) && Combine(N->FOp, A, B, Out);
  }
  TIntOperand FLeftInt, FRightInt;  // found with FPure
  TIntOperand FRightStore;          // found with FPure, whether the node is pure or not
  // Found with FPure: the left operand reads an array element (its designator), else null.
  TksDesignator* FLeftElement = nullptr;
};

// The node as an operator, a designator or a set node; null for any other node (or null).
inline TksOperatorNode* ksOperatorNode(TksExpressionNode* N) {
  return N && N->Kind() == TksExpressionNode::nkOperator ? static_cast<TksOperatorNode*>(N) : nullptr;
}
inline TksDesignatorNode* ksDesignatorNode(TksExpressionNode* N) {
  return N && N->Kind() == TksExpressionNode::nkDesignator ? static_cast<TksDesignatorNode*>(N) : nullptr;
}
inline TksSetNode* ksSetNode(TksExpressionNode* N) {
  return N && N->Kind() == TksExpressionNode::nkSet ? static_cast<TksSetNode*>(N) : nullptr;
}

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
  TksExpressionNode* Root() const { return FNode; }
  // The value when it is a 32-bit integer computed on the integer fast path (see
  // TksExpressionNode::TryInt); false means nothing was evaluated that matters.
  bool TryInt(long long& Out) override { return FNode && FNode->TryInt(Out); }
  // The tree reads nothing but constants and plain variables (fixed once built), so TryInt
  // may succeed; when false it never does.
  bool Pure() { return FNode && FNode->Pure(); }
  bool TryBool(bool& Out) override {
    if (FFlatState == kFlatNo) return FNode && FNode->TryBool(Out);
    return FlatBool(Out);
  }
  bool TryNumber(TksNumber& Out) {
    // A built number program, the common case, runs without the calls between.
    if (FFlatState == kFlatYes && FFlatCompare == TksOperatorType::opNone && FNumbers.Run(&Out)) return true;
    if (FFlatState == kFlatNo) return FNode && FNode->TryNumber(Out);
    return FlatNumber(Out);
  }
  const String& Source() const { return FSource; }
  void SetSource(const String& Value) { FSource = Value; }
  void SetCurrentPos(const String& Value) { FCurPos = Value; }

private:
  // A pure tree with an operator at its root, kept as a postfix list of leaf reads and
  // operators, so the fast paths run one loop instead of a virtual call per node. A
  // comparison at the root is kept aside: the list then leaves its two operands.
  struct TFlatStep {
    const Variant* Store;          // a leaf's stored value; null for an operator on two values
    const TksCustomVariable* Var;  // the leaf's variable, whose read hook bars reading Store
    TksOperatorType Op;            // opNone: push the leaf; else the leaf is Op's right side
  };
  static constexpr int kFlatDepth = 16;  // values the list may hold at once
  enum : signed char { kFlatUnknown = -1, kFlatNo = 0, kFlatYes = 1 };
  // Whether the tree has a list: built at the first use, and again after the tree changed.
  bool Flat() {
    if (FFlatState == kFlatUnknown) BuildFlat();
    return FFlatState == kFlatYes;
  }
  void BuildFlat();
  bool AddFlat(TksExpressionNode* Node, int Depth);
  // Runs the list into Out (one value, or a comparison's two operands) the way TryNumber
  // would; false when the general path must decide.
  [[gnu::always_inline]] inline bool FlatNumbers(TksNumber* Out) const;
  // TryBool and TryNumber through the list, or through the nodes without one. (Integers
  // alone are quicker through the nodes, which read them without a conversion.)
  // Kept out of line, so that the wrappers above stay a test and a jump.
  [[gnu::noinline]] bool FlatBool(bool& Out);
  [[gnu::noinline]] bool FlatNumber(TksNumber& Out);
  void AttachOperand(TksExpressionNode* Node);
  // Types Node's tree; the node's own type record (a shared Variant record for no node).
  const TksTypeRec& TypeNode(TksExpressionNode* Node, String& ErrPos);

  std::vector<TFlatStep> FFlat;
  // The list typed for the kinds its leaves hold, tried first by FlatNumbers.
  mutable TksNumberProgram FNumbers;
  signed char FFlatState = kFlatUnknown;
  TksOperatorType FFlatCompare = TksOperatorType::opNone;

  TksExpressionNode* FCurNode;
  TksExpressionNode* FNode;  // owned root
  TksScript* FScript;
  String FSource;
  String FCurPos;
};
