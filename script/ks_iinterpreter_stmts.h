// ks_iinterpreter_stmts.h - designators, array and string helpers, set expressions and the
// statements of a compiled program (ks_iinterpreter_stmts.cpp).
#pragma once

#include "script/ks_iinterpreter_objects.h"

// ---------------------------------------------------------------------------------------------
// Designators, helpers, set expressions

class TksExpressionNode;

// How one argument of a call step reaches its parameter, found with the step's RefKind.
struct TksArgPlan {
  const Variant* Store = nullptr;          // a constant's or plain variable's stored value
  const TksCustomVariable* Var = nullptr;  // that variable, whose read hook bars reading Store
  TksExpressionNode* Root = nullptr;       // the argument's tree, asked for an integer
  Variant* Slot = nullptr;                 // the parameter's value, when it stores what it is given
  // A var parameter's argument when it is a plain writable variable: written back directly
  // (BackAsIs: stored as it is; else an Integer as it is, anything else through SetValue).
  TksCustomVariable* Back = nullptr;
  bool BackAsIs = false;
};

class TksDesignatorItem {
public:
  TksDesignatorItem() = default;
  ~TksDesignatorItem();
  TksDesignatorItem(const TksDesignatorItem&) = delete;
  TksDesignatorItem& operator=(const TksDesignatorItem&) = delete;
  std::vector<TksCustomExpression*> Args;  // owned
  bool Flag = false;
  TksCustomVariable* Ref = nullptr;
  String SourcePos;
  // What Ref is, found once at the first evaluation (saves a type test per step and call).
  enum TRefKind : signed char { rkUnknown, rkDesignator, rkProc, rkHelper, rkOther };
  TRefKind RefKind = rkUnknown;
  bool HasVarParams = false;  // found with RefKind
  // Found with RefKind: the index of the only var parameter among those given, or -1 (none,
  // or more than one).
  int LoneVarParam = -1;
  bool PlainParams = false;   // found with RefKind: every parameter stores what it is given
  // Found with RefKind for a routine or helper (not a macro): one plan per argument given;
  // DirectArgs when every argument is a stored value that no parameter of the call is, and
  // every parameter stores what it is given, so the values are copied across in order.
  std::vector<TksArgPlan> ArgPlans;
  bool DirectArgs = false;
};

enum TksDesignatorKind { dkOther, dkVariable, dkStringArray, dkArray };

class TksDesignator : public TksCustomVariable {
public:
  explicit TksDesignator(TksScript* AProgram);
  ~TksDesignator() override;
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
  void Finalize();
  void Borrow(TksDesignator* ADesignator);

  TksDesignatorItem* AddItem();
  int ItemCount() const { return static_cast<int>(FItems.size()); }
  TksDesignatorItem* Item(int i) const { return FItems[i]; }
  void DeleteItem(int i);
  TksDesignatorKind Kind() const { return FKind; }
  TksScript* Prog() const { return FProgram; }
  TksXMLItem* LateBindingXmlSource() const { return FLateBindingXmlSource.get(); }
  void SetLateBindingXmlSource(std::unique_ptr<TksXMLItem> Value) {
    FLateBindingXmlSource = std::move(Value);
  }
  // The routine of a one-step call of a script routine without var parameters, known after
  // the first evaluation (null otherwise); expression trees then call it directly.
  TksProcVariable* FastRoutine() const { return FFastRoutine; }
  // Where the value this designator reads is stored, when it can be found without running
  // anything that matters (an array element by a fast-path index); null otherwise.
  virtual const Variant* StoredValue() { return nullptr; }
  Variant CallRoutine(TksProcVariable* Proc) { return CallRoutine(FItems[0], Proc); }

protected:
  Variant EvaluateChain(bool Write, const Variant& Value);
  void BindLate();
  static void Classify(TksDesignatorItem* Step);
  static void PlanArguments(TksDesignatorItem* Step);
  static void PassArguments(TksDesignatorItem* Step, TksCustomVariable* E);
  static bool QuickArguments(TksDesignatorItem* Step, TksCustomVariable* E, int N);
  static void PassPlannedArguments(TksDesignatorItem* Step, TksCustomVariable* E);
  static void PassArgumentValues(TksDesignatorItem* Step, TksCustomVariable* E, int N);
  // Each argument through ArgumentValue (a macro's: its source text), for a step without plans.
  static void PassUnplannedArguments(TksDesignatorItem* Step, TksCustomVariable* E, int N);
  // The same for a script routine, with a lone integer argument written straight into its
  // parameter.
  static void PassRoutineArguments(TksDesignatorItem* Step, TksProcVariable* Proc);
  // The one-step call of a script routine without var parameters.
  Variant CallRoutine(TksDesignatorItem* Step, TksProcVariable* Proc);
  // The one-step call of a script routine that is not running, with one var parameter: its
  // value is written back into the argument after the call.
  Variant CallRoutineVar(TksDesignatorItem* Step, TksProcVariable* Proc);
  // The one-step call of a host function or method helper without var parameters.
  Variant CallHelper(TksDesignatorItem* Step);

  std::vector<TksDesignatorItem*> FItems;  // owned
  TksDesignatorKind FKind = dkOther;
  TksScript* FMainProg;
  TksScript* FProgram;
  TksCustomVariable* FRef1 = nullptr;
  TksDesignatorItem* FRef2 = nullptr;
  bool FRefInPlace = false;  // an array's variable stores its value (ksStoresInPlace)
  std::unique_ptr<TksXMLItem> FLateBindingXmlSource;
  TksProcVariable* FFastRoutine = nullptr;
  // The same for a one-step call with one var parameter (CallRoutineVar).
  TksProcVariable* FVarRoutine = nullptr;
};

class TksVariableDesignator : public TksDesignator {
public:
  using TksDesignator::TksDesignator;
  Variant GetValue() override { return FRefItem->GetValue(); }
  void SetValue(const Variant& Value) override { FRefItem->SetValue(Value); }
};

class TksStringDesignator : public TksDesignator {
public:
  using TksDesignator::TksDesignator;
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
};

class TksArrayDesignator : public TksDesignator {
public:
  using TksDesignator::TksDesignator;
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
  const Variant* StoredValue() override;
  // SetValue for a value the caller gives up: moved into the element when SetValue would
  // store it there as it is (one index into an array stored in place); false, with Value
  // untouched, when SetValue must run.
  bool MoveIntoElement(Variant& Value);

private:
  // The element of a one-index access to an array stored in place, found without the helper
  // when the index is an integer the fast path gives; null otherwise. Taken into each
  // caller, as each element read or write runs it.
  [[gnu::always_inline]] inline Variant* DirectElement(bool ForWrite);
  void FindIndex();
  // The lone index expression, and where its value is stored when it is a constant or a
  // plain variable (then read without a call; FIndexVar's read hook, when set, bars that).
  // FIndexRoot is its tree's top node, asked directly for the integer rather than through
  // the expression (null when the index is no tree).
  bool FIndexKnown = false;
  TksCustomExpression* FIndex = nullptr;
  TksExpressionNode* FIndexRoot = nullptr;
  const Variant* FIndexStore = nullptr;
  const TksCustomVariable* FIndexVar = nullptr;
};

// The index step of an array: reads and writes elements of the array held by ParentRef.
class TksArrayHelper : public TksCustomHelper {
public:
  TksArrayHelper(const String& AName, int DimCount, TksVarType ATyp, const String& ATypeName);
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
  // The same, told whether ParentRef stores its value (ksStoresInPlace): the element is then
  // read or written in place, else in a copy of ParentValue written back to ParentRef.
  Variant Read(bool InPlace);
  void Write(const Variant& Value, bool InPlace);
  int DimCount() const { return FDimCount; }

private:
  Variant* Element(Variant& Arr, bool ForWrite);
  int FDimCount;
};

class TksStringHelper : public TksCustomHelper {
public:
  TksStringHelper();
  Variant GetValue() override;
  void SetValue(const Variant& Value) override;
};

class TksSetExpression : public TksCustomVariable {
public:
  TksSetExpression();
  ~TksSetExpression() override;
  Variant GetValue() override;
  bool Check(const Variant& Value);
  std::vector<TksCustomExpression*> Items;  // owned; null marks a range
};

// ---------------------------------------------------------------------------------------------
// Statements

// An expression of one constant or plain variable, or of one operator between two of them
// (i < n, i mod 7), the common test of loops and branches and operand of assignments: its
// shape is found at the first use, then it is read where its operands are stored without
// asking the tree; whatever the stores cannot give, the tree decides
// (ks_iinterpreter_stmts.cpp).
class TksLeafExpression {
public:
  // The truth of a condition.
  inline bool IsTrue(TksCustomExpression* Condition);
  // The value as the tree's integer path gives it (TksExpressionNode::TryInt).
  inline bool TryInt(TksExpression* Tree, long long& Out);
  // For a comparison of Counter's stored value with a constant or variable: the operator
  // (TksOperatorType), and where the other side is stored with its variable (null for a
  // constant). False for any other shape, or before the first use.
  bool CounterTest(const TksCustomVariable* Counter, unsigned char& Op, const Variant*& Bound,
                   const TksCustomVariable*& BoundVar) const {
    if (FKind != kCompare || FLeftVar != Counter || !Counter) return false;
    Op = FOp;
    Bound = FRight;
    BoundVar = FRightVar;
    return true;
  }

private:
  void Find(TksCustomExpression* Expression);
  enum : unsigned char { kUnknown, kOther, kLeaf, kArithmetic, kCompare } FKind = kUnknown;
  unsigned char FOp = 0;  // the operator (TksOperatorType)
  const Variant* FLeft = nullptr;
  const Variant* FRight = nullptr;
  const TksCustomVariable* FLeftVar = nullptr;  // read hooks bar the stores; null for a constant
  const TksCustomVariable* FRightVar = nullptr;
};

class TksStatement {
public:
  TksStatement(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  virtual ~TksStatement();
  TksStatement(const TksStatement&) = delete;
  TksStatement& operator=(const TksStatement&) = delete;

  virtual void Execute();
  // The items in order, stopping after one that breaks, continues, exits or terminates.
  inline void ExecuteItems();
  void Add(TksStatement* Item) { FItems.push_back(Item); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TksStatement* Items(int i) const { return FItems[i]; }
  void FreeAll();
  TksScript* Prog() const { return FProgram; }
  const String& SourcePos() const { return FSourcePos; }
  const String& UnitName() const { return FUnitName; }

protected:
  void RunLineHook();
  bool Stopped() const;
  // After one pass of a loop's body: whether the loop goes on (no break, exit or Terminate).
  // An empty body reports its line on every pass, so that the host can still stop the loop.
  bool PassEnded();
  // One pass of a loop's body, the items and then PassEnded: false when the loop ends.
  inline bool RunPass();
  // The same for a loop that found its body's lone statement (null for any other count)
  // before its passes: a compiled body keeps its statements while it runs.
  inline bool RunPassOf(TksStatement* Only);
  TksStatement* LoneItem() const { return FItems.size() == 1 ? FItems[0] : nullptr; }

  std::vector<TksStatement*> FItems;  // owned
  TksScript* FProgram;
  String FSourcePos;
  String FUnitName;
};

class TksAssignmentStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksAssignmentStmt() override;
  void Execute() override;
  void Optimize();
  TksDesignator* FDesignator = nullptr;
  TksCustomExpression* FExpression = nullptr;

protected:
  // The integer fast path applies: the target is a plain Integer variable (writable) and
  // the expression pure (see TksExpression::Pure).
  bool IntegerTarget() {
    if (FIntTarget < 0) FindIntegerTarget();
    return FIntTarget;
  }
  void FindIntegerTarget();
  // For the in-place forms: true with the target's value and the operand when both are
  // integers and the operand came from the integer fast path (nothing else was evaluated).
  bool IntegerInPlace(long long& Current, long long& Operand);
  // Stores Value into the target; false when it does not fit 32 bits.
  bool StoreInteger(long long Value);
  // The number fast path applies: the target is a plain Float or Variant variable (writable)
  // and the expression pure, so integers and doubles are computed without Variant operations.
  bool NumberTarget() {
    if (FNumTarget < 0) FindNumberTarget();
    return FNumTarget;
  }
  void FindNumberTarget();
  // Computes the expression on the number fast path into the target, once NumberTarget()
  // holds; false when the general path must run (nothing was evaluated that matters).
  [[gnu::always_inline]] inline bool AssignNumber();
  // The plain-copy, integer and number paths in turn; false when none applied (nothing was
  // evaluated that matters).
  [[gnu::always_inline]] inline bool AssignFast();
  // For the in-place forms on a Float variable: its value and the operand as doubles.
  bool FloatInPlace(double& Current, double& Operand);
  void StoreFloat(double Value) { *FVar->PValue() = Variant(Value); }
  // Stores V, given up, into the target: moved into an array element where it goes as it is.
  void StoreValue(Variant& V) {
    if (!FElement || !FElement->MoveIntoElement(V)) FVar->SetValue(V);
  }

  TksCustomVariable* FVar = nullptr;
  TksCustomVariable* FExpr = nullptr;
  TksExpression* FTree = nullptr;  // FExpression when it is an expression tree
  TksExpressionNode* FRoot = nullptr;  // the tree's root when FExpr is the tree
  TksLeafExpression FLeaves;  // FTree read without asking it, when it has such a shape
  TksArrayDesignator* FElement = nullptr;  // the target when it is an array element
  signed char FIntTarget = -1;  // unknown until the first run
  signed char FNumTarget = -1;  // unknown until the first run
  bool FPlainSource = false;    // FExpr is a plain variable read alone
  bool FIntegerSlot = false;    // ksIntegerSlot(FVar)
  bool FFloatSeen = false;      // the number path last stored a double
};

class TksAssignPlusStmt : public TksAssignmentStmt {
public:
  using TksAssignmentStmt::TksAssignmentStmt;
  void Execute() override;

private:
  // Everything but the integer in-place sum, kept out of line so that the sum runs without
  // the general path's frame.
  [[gnu::noinline]] void ExecuteOther();
  // s := s + x on a String variable, x a constant or plain variable holding text: appended
  // in place. False when the general path must run (nothing was evaluated).
  bool AppendInPlace();
  // s := s + e on a String variable, or on a plain Variant variable holding text, for any e:
  // e is evaluated after s is read, as on the general path; a text result is appended in
  // place unless evaluating e changed s. False when the target is not such a variable
  // (nothing was evaluated).
  bool AppendResult();
  bool StringTarget();
  // s := s + e on a plain Integer (or Variant) variable holding an integer, for any e: s is
  // read before e runs, as on the general path, and an integer sum is stored directly. False
  // when the target is not such a variable (nothing was evaluated).
  bool AddResult();
  // The target's stored text: a String variable's, or a plain Variant variable's when it
  // holds text; null otherwise.
  Variant* TextSlot();
  signed char FStringTarget = -1;  // unknown until the first run; 1 String, 2 Variant
  signed char FIntSlot = -1;       // unknown until the first run: ksIntegerSlot of the target
};
class TksAssignMinusStmt : public TksAssignmentStmt {
public:
  using TksAssignmentStmt::TksAssignmentStmt;
  void Execute() override;
};
class TksAssignMulStmt : public TksAssignmentStmt {
public:
  using TksAssignmentStmt::TksAssignmentStmt;
  void Execute() override;
};
class TksAssignDivStmt : public TksAssignmentStmt {
public:
  using TksAssignmentStmt::TksAssignmentStmt;
  void Execute() override;
};

class TksCallStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksCallStmt() override;
  // Inline (ks_iinterpreter.h) for a plain call and for ++ and -- on an Integer in place,
  // which a C-like for loop runs on every pass; ExecuteCall does the rest of ++ and --.
  inline void Execute() final;
  TksDesignator* FDesignator = nullptr;
  String FModificator;
  // ++ or -- on an Integer variable changed in place: that variable and +1 or -1, known
  // after the first run (null and 0 otherwise).
  TksCustomVariable* Counter() const { return FSlotVar; }
  int CounterStep() const { return FStep; }
  // The step after its line notice, the general way (also the first ++ or --).
  void ExecuteCall();

private:
  int FStep = 0;                          // +1 or -1 for ++ and --, found at the first run
  TksCustomVariable* FSlotVar = nullptr;  // the variable ++ and -- change in place, if any
};

class TksIfStmt : public TksStatement {
public:
  TksIfStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  ~TksIfStmt() override;
  void Execute() override;
  TksCustomExpression* FCondition = nullptr;
  std::unique_ptr<TksStatement> FElseStmt;

private:
  TksLeafExpression FTest;
};

class TksCaseSelector : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksCaseSelector() override;
  bool Check(const Variant& Value) { return FSetExpression->Check(Value); }
  TksSetExpression* FSetExpression = nullptr;
};

class TksCaseStmt : public TksStatement {
public:
  TksCaseStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  ~TksCaseStmt() override;
  void Execute() override;
  TksCustomExpression* FCondition = nullptr;
  std::unique_ptr<TksStatement> FElseStmt;
};

class TksRepeatStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksRepeatStmt() override;
  void Execute() override;
  TksCustomExpression* FCondition = nullptr;
  bool FInverseCondition = false;
};

class TksWhileStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksWhileStmt() override;
  void Execute() override;
  TksCustomExpression* FCondition = nullptr;

private:
  TksLeafExpression FTest;
};

class TksForStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksForStmt() override;
  void Execute() override;
  TksCustomExpression* FBeginValue = nullptr;
  TksCustomExpression* FEndValue = nullptr;
  bool FDown = false;
  TksCustomVariable* FVariable = nullptr;
};

// BasicScript's For ... To ... Step: bounds and step are Variants computed once; a step of 0
// repeats until break, exit or Terminate.
class TksVbForStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksVbForStmt() override;
  void Execute() override;
  TksCustomExpression* FBeginValue = nullptr;
  TksCustomExpression* FEndValue = nullptr;
  TksCustomExpression* FStep = nullptr;  // none: step 1
  TksCustomVariable* FVariable = nullptr;
};

class TksCppForStmt : public TksStatement {
public:
  TksCppForStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  ~TksCppForStmt() override;
  void Execute() override;
  std::unique_ptr<TksStatement> FFirstStmt;
  std::unique_ptr<TksStatement> FSecondStmt;
  TksCustomExpression* FExpression = nullptr;

private:
  // i++ (or i--) as the step and i compared with a constant or variable as the test: after a
  // pass, the step, the test and the next passes run with i read and written in place. True
  // when the loop ended; false when the general loop goes on at the test (the step ran).
  bool RunCounted();
  template <unsigned char Op>
  bool RunCountedWhile();
  void FindCounter();
  // The step when it is one call statement (i++ and the like), run without the list walk;
  // found at the first run.
  TksCallStmt* FStepCall = nullptr;
  bool FStepKnown = false;
  TksLeafExpression FTest;
  // Found after the first step: the counter, its step and the test's operator and bound.
  enum : signed char { kCounterUnknown, kCounterNo, kCounterYes } FCounterState = kCounterUnknown;
  TksCustomVariable* FCounter = nullptr;
  int FCounterStep = 0;
  unsigned char FCounterOp = 0;
  const Variant* FBound = nullptr;
  const TksCustomVariable* FBoundVar = nullptr;
};

class TksTryStmt : public TksStatement {
public:
  TksTryStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos);
  void Execute() override;
  bool FIsExcept = false;
  std::unique_ptr<TksStatement> FExceptStmt;
};

class TksBreakStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  void Execute() override;
};
class TksContinueStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  void Execute() override;
};
class TksExitStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  void Execute() override;
};

class TksWithStmt : public TksStatement {
public:
  using TksStatement::TksStatement;
  ~TksWithStmt() override;
  void Execute() override;
  TksDesignator* FDesignator = nullptr;
  TksCustomVariable* FVariable = nullptr;
};
