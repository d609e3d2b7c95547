// ks_iinterpreter_stmts.cpp - ks_iinterpreter: the statement classes. (Designators and
// routine calls are in ks_iinterpreter_designators.cpp.)
#include <cstdint>
#include <typeinfo>
#include <utility>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iexpression.h"
#include "script/ks_iinterpreter.h"

// ---- Statements -----------------------------------------------------------------------------

TksStatement::TksStatement(TksScript* AProgram, const String& UnitName, const String& SourcePos)
    : FProgram(AProgram), FSourcePos(SourcePos), FUnitName(UnitName) {}

TksStatement::~TksStatement() { FreeAll(); }

void TksStatement::FreeAll() {
  for (TksStatement* S : FItems) delete S;
  FItems.clear();
}

void TksStatement::RunLineHook() { FProgram->NotifyRunLine(FUnitName, FSourcePos); }

bool TksStatement::Stopped() const { return FProgram->FTerminated; }

bool TksStatement::PassEnded() {
  if (FItems.empty()) RunLineHook();
  const TksScript& P = *FProgram;
  return !(P.FBreakCalled || P.FExitCalled || P.FTerminated);
}

void TksStatement::Execute() { ExecuteItems(); }

inline bool TksStatement::RunPassOf(TksStatement* Only) {
  if (!Only) return RunPass();
  TksScript& P = *FProgram;
  if (!P.FTerminated) Only->Execute();
  return !P.FStopFlags || !(P.FBreakCalled || P.FExitCalled || P.FTerminated);
}

namespace {
// The expression as a tree, or null. TksExpression has no subclasses, so comparing the exact
// type is enough and much cheaper than a cast through the hierarchy.
TksExpression* ExpressionTree(TksCustomExpression* E) {
  return E && typeid(*E) == typeid(TksExpression) ? static_cast<TksExpression*>(E) : nullptr;
}

// Kept out of line: the statements' inline fast paths call it when they give up.
[[gnu::noinline]] bool IsTrue(TksCustomExpression* C) {
  bool B;
  if (C->TryBool(B)) return B;
  return C->GetValue().AsBoolean();
}
}  // namespace

void TksLeafExpression::Find(TksCustomExpression* Expression) {
  FKind = kOther;
  TksExpression* Tree = ExpressionTree(Expression);
  TksExpressionNode* Root = Tree ? Tree->Root() : nullptr;
  if (!Root) return;
  if (const Variant* Store = Root->Store(FLeftVar)) {
    FLeft = Store;
    FKind = kLeaf;
    return;
  }
  TksOperatorNode* Op = ksOperatorNode(Root);
  if (!Op || !Op->FLeft || !Op->FRight) return;
  const Variant* L = Op->FLeft->Store(FLeftVar);
  const Variant* R = Op->FRight->Store(FRightVar);
  if (!L || !R) return;
  switch (Op->FOp) {
    case TksOperatorType::opGreat: case TksOperatorType::opLess: case TksOperatorType::opLessEq:
    case TksOperatorType::opGreatEq: case TksOperatorType::opNonEq: case TksOperatorType::opEq:
      FKind = kCompare;
      break;
    case TksOperatorType::opPlus: case TksOperatorType::opMinus: case TksOperatorType::opMul:
    case TksOperatorType::opMod:
      if (Op->FStrCat) return;
      FKind = kArithmetic;
      break;
    default: return;
  }
  FOp = static_cast<unsigned char>(Op->FOp);
  FLeft = L;
  FRight = R;
}

namespace {
// A stored operand as an integer, unless it is none or a read hook must be asked.
inline bool StoredInt(const Variant* Store, const TksCustomVariable* Var, long long& Out) {
  if (Store->VType() != varInteger || (Var && Var->OnGetVarValue())) return false;
  Out = Store->Data().Int;
  return true;
}
}  // namespace

inline bool TksLeafExpression::IsTrue(TksCustomExpression* Condition) {
  if (FKind == kUnknown) Find(Condition);
  long long A, B;
  // Two integers: what the tree's integer path would compare.
  if (FKind == kCompare && StoredInt(FLeft, FLeftVar, A) && StoredInt(FRight, FRightVar, B))
    return TksOperatorNode::Compare<long long>(static_cast<TksOperatorType>(FOp), A, B);
  return ::IsTrue(Condition);
}

inline bool TksLeafExpression::TryInt(TksExpression* Tree, long long& Out) {
  if (FKind == kUnknown) Find(Tree);
  long long A, B;
  switch (FKind) {
    case kLeaf: return StoredInt(FLeft, FLeftVar, Out);
    case kArithmetic:
      return StoredInt(FLeft, FLeftVar, A) && StoredInt(FRight, FRightVar, B) &&
             TksOperatorNode::Combine(static_cast<TksOperatorType>(FOp), A, B, Out);
    default: return Tree->TryInt(Out);
  }
}

TksAssignmentStmt::~TksAssignmentStmt() {
  delete FDesignator;
  delete FExpression;
}

void TksAssignmentStmt::Optimize() {
  FTree = ExpressionTree(FExpression);
  FVar = FDesignator;
  if (typeid(*FDesignator) == typeid(TksVariableDesignator)) FVar = FDesignator->RefItem();
  FExpr = FExpression;
  if (FTree)
    if (TksCustomVariable* S = FTree->SingleItem()) FExpr = S;
  if (FTree && FExpr == FTree) FRoot = FTree->Root();
  FPlainSource = FExpr != FExpression && ksStoresInPlace(FExpr);
  FIntegerSlot = ksIntegerSlot(FVar);
  if (FDesignator->Kind() == dkArray) FElement = dynamic_cast<TksArrayDesignator*>(FDesignator);
}

inline bool TksAssignmentStmt::AssignNumber() {
  TksNumber N;
  if (!FTree->TryNumber(N)) return false;
  FFloatSeen = N.IsFloat;
  // A Float variable keeps a double whatever is assigned; a Variant keeps the kind.
  if (FVar->Typ() == fvtFloat || N.IsFloat) StoreFloat(N.AsDouble());
  else *FVar->PValue() = Variant(N.Int);
  return true;
}

void TksAssignmentStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  if (FFloatSeen) {
    // The number path stored a double last time (so it applies): tried first and alone,
    // as the paths below would store the same.
    if (AssignNumber()) return;
  } else if (AssignFast()) {
    return;
  }
  if (FRoot) {
    Variant V = FRoot->Eval();
    // An Integer into a plain Integer or Variant variable is stored as it is (the typed
    // setter would store the same).
    if (FIntegerSlot && V.VType() == varInteger) *FVar->PValue() = std::move(V);
    else StoreValue(V);
    return;
  }
  // A plain variable's value is what it stores (its read hook aside): copied without a call.
  Variant V = FPlainSource && !FExpr->OnGetVarValue() ? *FExpr->PValue() : FExpr->GetValue();
  StoreValue(V);
}

inline bool TksAssignmentStmt::AssignFast() {
  // x := y, both plain, y holding an Integer: copied as it stands (what the integer path
  // below would store, without asking the tree).
  if (FPlainSource && FIntegerSlot) {
    const Variant& V = *FExpr->PValue();
    if (V.VType() == varInteger && !FExpr->OnGetVarValue()) {
      *FVar->PValue() = Variant(static_cast<int>(V.Data().Int));
      return true;
    }
  }
  long long R;
  if (IntegerTarget() && FLeaves.TryInt(FTree, R) && StoreInteger(R)) return true;
  return NumberTarget() && AssignNumber();
}

void TksAssignmentStmt::FindNumberTarget() {
  FNumTarget = ksStoresInPlace(FVar) && (FVar->Typ() == fvtFloat || FVar->Typ() == fvtVariant) &&
               !FVar->IsReadOnly() && FTree && FTree->Pure();
}


bool TksAssignmentStmt::FloatInPlace(double& Current, double& Operand) {
  TksNumber N;
  if (!NumberTarget() || FVar->Typ() != fvtFloat || FVar->OnGetVarValue()) return false;
  const Variant& Slot = *FVar->PValue();
  if (Slot.VType() != varDouble || !FTree->TryNumber(N)) return false;
  Current = Slot.Data().Double;
  Operand = N.AsDouble();
  return true;
}

void TksAssignmentStmt::FindIntegerTarget() { FIntTarget = ksIntegerSlot(FVar) && FTree && FTree->Pure(); }

bool TksAssignmentStmt::IntegerInPlace(long long& Current, long long& Operand) {
  if (!IntegerTarget() || FVar->OnGetVarValue() || !FLeaves.TryInt(FTree, Operand)) return false;
  const Variant& Slot = *FVar->PValue();
  if (Slot.VType() != varInteger) return false;
  Current = Slot.Data().Int;
  return true;
}

bool TksAssignmentStmt::StoreInteger(long long Value) {
  if (Value < INT32_MIN || Value > INT32_MAX) return false;
  *FVar->PValue() = Variant(static_cast<int>(Value));
  return true;
}

// The in-place forms: an Integer variable and an integer operand are computed without the
// general Variant operations; anything else (and a result beyond 32 bits, which the typed
// store rejects) takes the general path.
void TksAssignPlusStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  long long Cur, R;
  if (IntegerInPlace(Cur, R) && StoreInteger(Cur + R)) return;
  ExecuteOther();
}

void TksAssignPlusStmt::ExecuteOther() {
  if (AddResult()) return;
  if (double X, Y; FloatInPlace(X, Y)) return StoreFloat(X + Y);
  if (AppendInPlace() || AppendResult()) return;
  FVar->SetValue(FVar->GetValue() + FExpr->GetValue());
}

bool TksAssignPlusStmt::AddResult() {
  if (FIntSlot < 0) FIntSlot = ksIntegerSlot(FVar);
  if (!FIntSlot || FVar->OnGetVarValue()) return false;
  const Variant& Slot = *FVar->PValue();
  if (Slot.VType() != varInteger) return false;
  const int Current = Slot.Data().Int;
  const Variant Operand = FExpr->GetValue();
  if (Operand.VType() == varInteger && StoreInteger(static_cast<long long>(Current) + Operand.Data().Int))
    return true;
  FVar->SetValue(Variant(Current) + Operand);
  return true;
}

bool TksAssignPlusStmt::StringTarget() {
  if (FStringTarget < 0) {
    FStringTarget = 0;
    if (typeid(*FVar) == typeid(TksStringVariable) && !FVar->IsReadOnly()) FStringTarget = 1;
    else if (ksStoresInPlace(FVar) && FVar->Typ() == fvtVariant && !FVar->IsReadOnly()) FStringTarget = 2;
  }
  return FStringTarget == 1 && !FVar->OnGetVarValue();
}

Variant* TksAssignPlusStmt::TextSlot() {
  if (StringTarget()) return static_cast<TksStringVariable*>(FVar)->PText();
  if (FStringTarget != 2 || FVar->OnGetVarValue()) return nullptr;
  Variant* Slot = FVar->PValue();
  return Slot->VType() == varUString ? Slot : nullptr;
}

bool TksAssignPlusStmt::AppendResult() {
  Variant* Slot = TextSlot();
  if (!Slot) return false;
  Variant Before = *Slot;  // shares the text, no copy
  Variant Operand = FExpr->GetValue();
  if (!Operand.IsString() || Slot->VType() != varUString || &Before.StringRef() != &Slot->StringRef()) {
    FVar->SetValue(Before + Operand);
    return true;
  }
  Before = Variant();  // drop the share, so the append below needs no copy
  Slot->MutableString() += Operand.StringRef();
  return true;
}

bool TksAssignPlusStmt::AppendInPlace() {
  if (!StringTarget() || !FTree || !FTree->Root()) return false;
  // Only a leaf read in place: reading it cannot change the target first.
  const TksCustomVariable* OperandVar;
  const Variant* Operand = FTree->Root()->Store(OperandVar);
  if (!Operand || (OperandVar && OperandVar->OnGetVarValue()) || !Operand->IsString()) return false;
  static_cast<TksStringVariable*>(FVar)->Str() += Operand->StringRef();
  return true;
}

void TksAssignMinusStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  long long Cur, R;
  if (IntegerInPlace(Cur, R) && StoreInteger(Cur - R)) return;
  if (double X, Y; FloatInPlace(X, Y)) return StoreFloat(X - Y);
  FVar->SetValue(FVar->GetValue() - FExpr->GetValue());
}

void TksAssignMulStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  long long Cur, R;
  if (IntegerInPlace(Cur, R) && StoreInteger(Cur * R)) return;
  if (double X, Y; FloatInPlace(X, Y)) return StoreFloat(X * Y);
  FVar->SetValue(FVar->GetValue() * FExpr->GetValue());
}

void TksAssignDivStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  if (double X, Y; FloatInPlace(X, Y) && Y != 0) return StoreFloat(X / Y);
  FVar->SetValue(FVar->GetValue() / FExpr->GetValue());
}

TksCallStmt::~TksCallStmt() { delete FDesignator; }

void TksCallStmt::ExecuteCall() {
  if (FStep == 0) {
    FStep = FModificator == u"-" ? -1 : 1;
    // Later steps on such a variable run in place (Execute); the general operators below
    // give the same for this first one.
    if (dynamic_cast<TksVariableDesignator*>(FDesignator) && ksIntegerSlot(FDesignator->RefItem()))
      FSlotVar = FDesignator->RefItem();
  }
  if (FStep > 0) FDesignator->SetValue(FDesignator->GetValue() + Variant(1));
  else FDesignator->SetValue(FDesignator->GetValue() - Variant(1));
}

TksIfStmt::TksIfStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos)
    : TksStatement(AProgram, UnitName, SourcePos),
      FElseStmt(std::make_unique<TksStatement>(AProgram, UnitName, SourcePos)) {}

TksIfStmt::~TksIfStmt() { delete FCondition; }

void TksIfStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  if (FTest.IsTrue(FCondition)) ExecuteItems();
  else FElseStmt->ExecuteItems();
}

TksCaseSelector::~TksCaseSelector() { delete FSetExpression; }

TksCaseStmt::TksCaseStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos)
    : TksStatement(AProgram, UnitName, SourcePos),
      FElseStmt(std::make_unique<TksStatement>(AProgram, UnitName, SourcePos)) {}

TksCaseStmt::~TksCaseStmt() { delete FCondition; }

void TksCaseStmt::Execute() {
  Variant V = FCondition->GetValue();
  RunLineHook();
  if (Stopped()) return;
  for (TksStatement* S : FItems) {
    auto* Sel = static_cast<TksCaseSelector*>(S);
    if (Sel->Check(V)) {
      Sel->TksStatement::Execute();
      return;
    }
  }
  FElseStmt->Execute();
}

TksRepeatStmt::~TksRepeatStmt() { delete FCondition; }

void TksRepeatStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  TksScript& P = *FProgram;
  for (;;) {
    if (!RunPass()) break;
    P.FContinueCalled = false;
    if (IsTrue(FCondition) == !FInverseCondition) break;
  }
  P.FBreakCalled = false;
}

TksWhileStmt::~TksWhileStmt() { delete FCondition; }

void TksWhileStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  TksScript& P = *FProgram;
  TksStatement* const Only = LoneItem();
  while (FTest.IsTrue(FCondition)) {
    if (!RunPassOf(Only)) break;
    P.FContinueCalled = false;
  }
  P.FBreakCalled = false;
}

TksForStmt::~TksForStmt() {
  delete FBeginValue;
  delete FEndValue;
}

void TksForStmt::Execute() {
  int B = FBeginValue->GetValue().AsInteger();
  int E = FEndValue->GetValue().AsInteger();
  RunLineHook();
  if (Stopped()) return;
  TksScript& P = *FProgram;
  Variant* Slot = FVariable->PValue();
  TksStatement* const Only = LoneItem();
  if (!FDown) {
    for (long long V = B; V <= E; ++V) {
      *Slot = Variant(static_cast<int>(V));
      if (!RunPassOf(Only)) break;
      P.FContinueCalled = false;
    }
  } else {
    for (long long V = B; V >= E; --V) {
      *Slot = Variant(static_cast<int>(V));
      if (!RunPassOf(Only)) break;
      P.FContinueCalled = false;
    }
  }
  P.FBreakCalled = false;
}

TksVbForStmt::~TksVbForStmt() {
  delete FBeginValue;
  delete FEndValue;
  delete FStep;
}

void TksVbForStmt::Execute() {
  Variant V = FBeginValue->GetValue();
  Variant E = FEndValue->GetValue();
  Variant Step = FStep ? FStep->GetValue() : Variant(1);
  bool Down = Step < Variant(0);
  RunLineHook();
  if (Stopped()) return;
  TksScript& P = *FProgram;
  Variant* Slot = FVariable->PValue();
  if (V.VType() == varInteger && E.VType() == varInteger && Step.VType() == varInteger) {
    // Integer bounds and step, the common case: counted without Variant operations. The
    // counter cannot leave 32 bits while the loop goes on, as the end is a 32-bit value.
    const long long Last = E.Data().Int, By = Step.Data().Int;
    TksStatement* const Only = LoneItem();
    for (long long I = V.Data().Int; Down ? I >= Last : I <= Last; I += By) {
      *Slot = Variant(static_cast<int>(I));
      if (!RunPassOf(Only)) break;
      P.FContinueCalled = false;
    }
    P.FBreakCalled = false;
    return;
  }
  while (Down ? V >= E : V <= E) {
    *Slot = V;
    if (!RunPass()) break;
    P.FContinueCalled = false;
    V = V + Step;
  }
  P.FBreakCalled = false;
}

TksCppForStmt::TksCppForStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos)
    : TksStatement(AProgram, UnitName, SourcePos),
      FFirstStmt(std::make_unique<TksStatement>(AProgram, UnitName, SourcePos)),
      FSecondStmt(std::make_unique<TksStatement>(AProgram, UnitName, SourcePos)) {}

TksCppForStmt::~TksCppForStmt() { delete FExpression; }

void TksCppForStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  TksScript& P = *FProgram;
  FFirstStmt->Execute();
  if (Stopped()) return;
  if (!FStepKnown) {
    FStepKnown = true;
    if (FSecondStmt->Count() == 1) FStepCall = dynamic_cast<TksCallStmt*>(FSecondStmt->Items(0));
  }
  while (FTest.IsTrue(FExpression)) {
    if (!RunPass()) break;
    P.FContinueCalled = false;
    // A plain statement list: no dispatch needed (one call statement is called directly,
    // as the list would after its Terminate test).
    if (!FStepCall) {
      FSecondStmt->ExecuteItems();
    } else if (!P.FTerminated) {
      if (FCounterState == kCounterYes) {
        if (RunCounted()) break;
        continue;
      }
      FStepCall->Execute();
      if (FCounterState == kCounterUnknown) FindCounter();
    }
  }
  P.FBreakCalled = false;
}

void TksCppForStmt::FindCounter() {
  FCounterState = kCounterNo;
  FCounter = FStepCall->Counter();
  FCounterStep = FStepCall->CounterStep();
  if (FCounter && FCounterStep && FTest.CounterTest(FCounter, FCounterOp, FBound, FBoundVar))
    FCounterState = kCounterYes;
}

namespace {
constexpr unsigned char OpCode(TksOperatorType Op) { return static_cast<unsigned char>(Op); }
}  // namespace

bool TksCppForStmt::RunCounted() {
  // The test's operator picks the loop, so no pass dispatches on it.
  using enum TksOperatorType;
  switch (static_cast<TksOperatorType>(FCounterOp)) {
    case opGreat: return RunCountedWhile<OpCode(opGreat)>();
    case opLess: return RunCountedWhile<OpCode(opLess)>();
    case opLessEq: return RunCountedWhile<OpCode(opLessEq)>();
    case opGreatEq: return RunCountedWhile<OpCode(opGreatEq)>();
    case opNonEq: return RunCountedWhile<OpCode(opNonEq)>();
    default: return RunCountedWhile<OpCode(opEq)>();
  }
}

template <unsigned char Op>
bool TksCppForStmt::RunCountedWhile() {
  // What stays the same through the loop is read once: the statements, the counter's store
  // and the bound's (stores keep their place while the script lives).
  TksScript& P = *FProgram;
  TksCallStmt& Step = *FStepCall;
  TksScript& StepProgram = *Step.Prog();
  const String& StepUnit = Step.UnitName();
  const String& StepPos = Step.SourcePos();
  TksCustomVariable& Counter = *FCounter;
  Variant& Slot = *Counter.PValue();
  const long long By = FCounterStep;
  const Variant* const Bound = FBound;
  const TksCustomVariable* const BoundVar = FBoundVar;
  TksStatement* const Only = LoneItem();
  for (;;) {
    // The step, as the call statement runs it: its line notice, then the change in place;
    // a read hook, another kind or a result beyond 32 bits takes the general step.
    StepProgram.NotifyRunLine(StepUnit, StepPos);
    if (P.FTerminated) return true;
    if (Counter.OnGetVarValue() || Slot.VType() != varInteger) {
      Step.ExecuteCall();
      return false;
    }
    const long long Next = Slot.Data().Int + By;
    if (Next < INT32_MIN || Next > INT32_MAX) {
      Step.ExecuteCall();
      return false;
    }
    Slot = Variant(static_cast<int>(Next));
    // The test: nothing ran since the step, so the counter holds Next.
    long long Limit;
    if (!StoredInt(Bound, BoundVar, Limit)) return false;
    if (!TksOperatorNode::Compare<long long>(static_cast<TksOperatorType>(Op), Next, Limit)) return true;
    if (!RunPassOf(Only)) return true;
    P.FContinueCalled = false;
  }
}

TksTryStmt::TksTryStmt(TksScript* AProgram, const String& UnitName, const String& SourcePos)
    : TksStatement(AProgram, UnitName, SourcePos),
      FExceptStmt(std::make_unique<TksStatement>(AProgram, UnitName, SourcePos)) {}

void TksTryStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  TksScript& P = *FProgram;
  if (FIsExcept) {
    try {
      TksStatement::Execute();
    } catch (const Exception& E) {
      P.AssignGlobal(u"ExceptionClassName", Variant(Utf8ToString(E.ClassName())));
      P.AssignGlobal(u"ExceptionMessage", Variant(E.Message()));
      FExceptStmt->Execute();
    }
    return;
  }
  // The finally part runs whole whatever left the protected part; a break, continue or
  // exit from either part is kept afterwards.
  auto RunFinally = [&] {
    bool B = P.FBreakCalled, C = P.FContinueCalled, X = P.FExitCalled;
    P.FBreakCalled = P.FContinueCalled = P.FExitCalled = false;
    FExceptStmt->Execute();
    P.FBreakCalled = P.FBreakCalled || B;
    P.FContinueCalled = P.FContinueCalled || C;
    P.FExitCalled = P.FExitCalled || X;
  };
  try {
    TksStatement::Execute();
  } catch (...) {
    RunFinally();
    throw;
  }
  RunFinally();
}

void TksBreakStmt::Execute() { FProgram->FBreakCalled = true; }
void TksContinueStmt::Execute() { FProgram->FContinueCalled = true; }

void TksExitStmt::Execute() {
  RunLineHook();
  FProgram->FExitCalled = true;
}

TksWithStmt::~TksWithStmt() { delete FDesignator; }

void TksWithStmt::Execute() {
  TksStatement::Execute();
  FVariable->SetValue(FDesignator->GetValue());
}
