// ks_iinterpreter_designators.cpp - ks_iinterpreter: designator chains, routine calls, index
// helpers and set expressions. (The statements are in ks_iinterpreter_stmts.cpp; the two are
// apart so that each unit's hot paths are inlined within its own growth limit.)
#include <algorithm>
#include <cstdint>
#include <typeinfo>
#include <utility>

#include <pthread.h>

#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iexpression.h"
#include "script/ks_iilparser.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_itools.h"

// ---- TksDesignator --------------------------------------------------------------------------

TksDesignatorItem::~TksDesignatorItem() {
  for (TksCustomExpression* A : Args) delete A;
}

TksDesignator::TksDesignator(TksScript* AProgram)
    : TksCustomVariable(String(), fvtInt, String()), FProgram(AProgram) {
  FMainProg = AProgram;
  for (TksScript* S = AProgram; S; S = S->Parent())
    if (S->MainProg()) {
      FMainProg = S;
      break;
    }
  AProgram->SetUseClassLateBinding(FMainProg->UseClassLateBinding());
}

TksDesignator::~TksDesignator() {
  for (TksDesignatorItem* I : FItems) delete I;
}

TksDesignatorItem* TksDesignator::AddItem() {
  FItems.push_back(new TksDesignatorItem);
  return FItems.back();
}

void TksDesignator::DeleteItem(int i) {
  delete FItems[i];
  FItems.erase(FItems.begin() + i);
}

void TksDesignator::Finalize() {
  if (FItems.empty()) return;
  TksCustomVariable* Last = FItems.back()->Ref;
  FTyp = Last->Typ();
  FTypeName = Last->TypeName();
  if (FTyp == fvtConstructor && FItems.size() >= 2) {
    FTyp = fvtClass;
    FTypeName = FItems[FItems.size() - 2]->Ref->TypeName();
  }
  FIsReadOnly = Last->IsReadOnly();
  TksCustomVariable* E0 = FItems[0]->Ref;
  bool PlainVar = dynamic_cast<TksVariable*>(E0) || dynamic_cast<TksParamItem*>(E0);
  FKind = dkOther;
  if (FLateBindingXmlSource) return;  // the shape is known only once bound
  if (FItems.size() == 1 && PlainVar && FItems[0]->Args.empty()) {
    FKind = dkVariable;
    FRefItem = E0;
  } else if (FItems.size() == 2 && dynamic_cast<TksStringVariable*>(E0) &&
             FItems[1]->Args.size() == 1 && dynamic_cast<TksStringHelper*>(FItems[1]->Ref)) {
    FKind = dkStringArray;
    FRefItem = E0;
    FRef1 = FItems[1]->Args[0];
  } else if (FItems.size() == 2 && dynamic_cast<TksVariable*>(E0) && E0->Typ() == fvtArray &&
             dynamic_cast<TksArrayHelper*>(FItems[1]->Ref)) {
    FKind = dkArray;
    FRefItem = E0;
    FRef1 = E0->RefItem();
    FRef2 = FItems[1];
    FRefInPlace = ksStoresInPlace(E0);
  }
}

void TksDesignator::Borrow(TksDesignator* ADesignator) {
  std::swap(FItems, ADesignator->FItems);
  FFastRoutine = nullptr;
  FVarRoutine = nullptr;
  FKind = ADesignator->FKind;
  FRef1 = ADesignator->FRef1;
  FRef2 = ADesignator->FRef2;
  FRefInPlace = ADesignator->FRefInPlace;
  FTyp = ADesignator->FTyp;
  FTypeName = ADesignator->FTypeName;
  FIsReadOnly = ADesignator->FIsReadOnly;
  FRefItem = ADesignator->FRefItem;
}

Variant TksDesignator::GetValue() {
  if (FVarRoutine && !FVarRoutine->Executing()) return CallRoutineVar(FItems[0], FVarRoutine);
  if (FLateBindingXmlSource) BindLate();
  if (FItems.size() == 1) {
    TksDesignatorItem* Step = FItems[0];
    if (Step->RefKind == TksDesignatorItem::rkUnknown) Classify(Step);
    if (Step->RefKind == TksDesignatorItem::rkProc && !Step->Ref->IsMacro()) {
      auto* Proc = static_cast<TksProcVariable*>(Step->Ref);
      if (!Step->HasVarParams) {
        FFastRoutine = Proc;
        return CallRoutine(Step, Proc);
      }
      if (Step->LoneVarParam >= 0 && !Proc->Executing()) {
        FVarRoutine = Proc;
        return CallRoutineVar(Step, Proc);
      }
    } else if (Step->RefKind == TksDesignatorItem::rkHelper && !Step->HasVarParams) {
      return CallHelper(Step);
    }
  }
  return EvaluateChain(false, Variant());
}

void TksDesignator::SetValue(const Variant& Value) {
  if (FLateBindingXmlSource) BindLate();
  EvaluateChain(true, Value);
}

void TksDesignator::BindLate() {
  if (!FLateBindingXmlSource) return;
  std::unique_ptr<TksXMLItem> Source = std::move(FLateBindingXmlSource);
  TksILParser P(FProgram);
  std::unique_ptr<TksDesignator> D(P.DoDesignator(Source.get(), FProgram));
  Borrow(D.get());
}

void TksDesignator::Classify(TksDesignatorItem* Step) {
  TksCustomVariable* E = Step->Ref;
  Step->RefKind = dynamic_cast<TksDesignator*>(E)     ? TksDesignatorItem::rkDesignator
                  : dynamic_cast<TksProcVariable*>(E) ? TksDesignatorItem::rkProc
                  : dynamic_cast<TksCustomHelper*>(E) ? TksDesignatorItem::rkHelper
                                                      : TksDesignatorItem::rkOther;
  Step->PlainParams = true;
  int VarParams = 0;
  for (int k = 0; k < E->Count() && k < static_cast<int>(Step->Args.size()); ++k) {
    TksParamItem* P = E->ParamAt(k);
    if (P->IsVarParam()) {
      Step->HasVarParams = true;
      Step->LoneVarParam = ++VarParams == 1 ? k : -1;
    }
    Step->PlainParams = Step->PlainParams && typeid(*P) == typeid(TksParamItem);
  }
  if (Step->RefKind == TksDesignatorItem::rkProc || Step->RefKind == TksDesignatorItem::rkHelper)
    PlanArguments(Step);
}

void TksDesignator::PlanArguments(TksDesignatorItem* Step) {
  TksCustomVariable* E = Step->Ref;
  if (E->IsMacro()) return;  // a macro takes its arguments' source texts
  const int N = std::min(E->Count(), static_cast<int>(Step->Args.size()));
  Step->ArgPlans.assign(N, TksArgPlan());
  bool Direct = true;
  for (int k = 0; k < N; ++k) {
    TksArgPlan& A = Step->ArgPlans[k];
    TksParamItem* P = E->ParamAt(k);
    if (typeid(*P) == typeid(TksParamItem) && !P->IsReadOnly()) A.Slot = P->PValue();
    auto* X = dynamic_cast<TksExpression*>(Step->Args[k]);
    if (X && X->Root()) {
      A.Root = X->Root();
      A.Store = A.Root->Store(A.Var);
      if (P->IsVarParam() && A.Store && A.Var && !X->IsReadOnly() && !A.Var->IsReadOnly()) {
        A.Back = const_cast<TksCustomVariable*>(A.Var);
        A.BackAsIs = typeid(*A.Var) == typeid(TksParamItem) || A.Var->Typ() == fvtVariant;
      }
    }
    Direct = Direct && A.Store && A.Slot;
  }
  // A parameter read as another's argument must be read before it is written.
  for (int k = 0; Direct && k < N; ++k)
    for (int j = 0; j < N; ++j)
      if (Step->ArgPlans[k].Store == Step->ArgPlans[j].Slot) Direct = false;
  Step->DirectArgs = Direct;
}

namespace {
const Variant kNullValue = Variant::MakeNull();

std::vector<Variant>& PendingArguments() {
  thread_local std::vector<Variant> Stack;
  return Stack;
}

// Takes back what a call pushed on PendingArguments, however the call ends.
struct TPop {
  std::vector<Variant>& Stack;
  size_t Base;
  ~TPop() { Stack.resize(Base); }
};

Variant ArgumentValue(TksCustomVariable* E, TksCustomExpression* A) {
  if (!E->IsMacro()) {
    long long I;
    if (A->TryInt(I)) return Variant(static_cast<int>(I));
    return A->GetValue();
  }
  auto* X = dynamic_cast<TksExpression*>(A);
  return Variant(X ? X->Source() : String());
}

// The value of an argument with a plan: its stored value, read without a call when no read
// hook bars it, else the integer path, else the general evaluation.
inline Variant PlannedValue(const TksArgPlan& Plan, TksCustomExpression* A) {
  if (Plan.Store && !(Plan.Var && Plan.Var->OnGetVarValue())) return *Plan.Store;
  long long I;
  if (Plan.Root ? Plan.Root->TryInt(I) : A->TryInt(I)) return Variant(static_cast<int>(I));
  return A->GetValue();
}

// The same when it is a 32-bit integer, without a Variant; false when it is not one (nothing
// was evaluated that matters).
inline bool PlannedInt(const TksArgPlan& Plan, TksCustomExpression* A, long long& Out) {
  if (!Plan.Store) return Plan.Root ? Plan.Root->TryInt(Out) : A->TryInt(Out);
  if ((Plan.Var && Plan.Var->OnGetVarValue()) || Plan.Store->VType() != varInteger) return false;
  Out = Plan.Store->Data().Int;
  return true;
}

inline void HandOver(const TksArgPlan& Plan, TksParamItem* P, Variant& Value) {
  // A parameter that stores what it is given takes the value without a copy.
  if (Plan.Slot) *Plan.Slot = std::move(Value);
  else P->SetValue(Value);
}

// Copies each stored argument into its parameter, in order (DirectArgs); false, with nothing
// decided, when a read hook has to be asked: the general way then evaluates them all again.
inline bool CopyStoredArguments(const TksArgPlan* Plan, int N) {
  for (int k = 0; k < N; ++k) {
    if (Plan[k].Var && Plan[k].Var->OnGetVarValue()) return false;
    *Plan[k].Slot = *Plan[k].Store;
  }
  return true;
}
}  // namespace

// All arguments are evaluated before any parameter is written (an argument may read the
// routine's own parameters). Stored values and integers go across without a Variant of
// their own (trying them evaluates nothing, so a give-up leaves the general way as it was);
// false when the general way must run.
inline bool TksDesignator::QuickArguments(TksDesignatorItem* Step, TksCustomVariable* E, int N) {
  const TksArgPlan* Plan = Step->ArgPlans.data();
  if (Step->DirectArgs && CopyStoredArguments(Plan, N)) return true;
  constexpr int kInts = 4;
  if (N > kInts) return false;
  long long Ints[kInts];
  int Given = 0;
  while (Given < N && PlannedInt(Plan[Given], Step->Args[Given], Ints[Given])) ++Given;
  if (Given < N) return false;
  for (int k = 0; k < N; ++k) {
    if (Plan[k].Slot) *Plan[k].Slot = Variant(static_cast<int>(Ints[k]));
    else E->ParamAt(k)->SetValue(Variant(static_cast<int>(Ints[k])));
  }
  return true;
}

// The common call of integers into parameters that store what they are given, taken into the
// callers: every argument read first (from its store or the integer path), then each written
// into its parameter. False, with no parameter written, when any argument is not such a value
// or any parameter does not store its value, or the step has no plans (a macro's).
namespace {
[[gnu::always_inline]] inline bool IntArguments(TksDesignatorItem* Step, int Count) {
  constexpr int kInts = 4;
  const int N = static_cast<int>(Step->ArgPlans.size());
  if (N > kInts || N != std::min(Count, static_cast<int>(Step->Args.size()))) return false;
  const TksArgPlan* Plan = Step->ArgPlans.data();
  long long Ints[kInts];
  for (int k = 0; k < N; ++k)
    if (!Plan[k].Slot || !PlannedInt(Plan[k], Step->Args[k], Ints[k])) return false;
  for (int k = 0; k < N; ++k) *Plan[k].Slot = Variant(static_cast<int>(Ints[k]));
  return true;
}
}  // namespace

inline void TksDesignator::PassPlannedArguments(TksDesignatorItem* Step, TksCustomVariable* E) {
  const int N = std::min(E->Count(), static_cast<int>(Step->Args.size()));
  if (E->IsMacro() || static_cast<int>(Step->ArgPlans.size()) != N) PassUnplannedArguments(Step, E, N);
  else if (!QuickArguments(Step, E, N)) PassArgumentValues(Step, E, N);
}

void TksDesignator::PassArguments(TksDesignatorItem* Step, TksCustomVariable* E) {
  PassPlannedArguments(Step, E);
}

void TksDesignator::PassArgumentValues(TksDesignatorItem* Step, TksCustomVariable* E, int N) {
  // One value in place, a few in a small array, more on one stack shared by nested calls.
  const TksArgPlan* Plan = Step->ArgPlans.data();
  if (N == 1) {
    Variant Value = PlannedValue(Plan[0], Step->Args[0]);
    HandOver(Plan[0], E->ParamAt(0), Value);
    return;
  }
  constexpr int kInPlace = 4;
  if (N <= kInPlace) {
    Variant Values[kInPlace];
    for (int k = 0; k < N; ++k) Values[k] = PlannedValue(Plan[k], Step->Args[k]);
    for (int k = 0; k < N; ++k) HandOver(Plan[k], E->ParamAt(k), Values[k]);
    return;
  }
  std::vector<Variant>& Pending = PendingArguments();
  const size_t Base = Pending.size();
  TPop Pop{Pending, Base};
  for (int k = 0; k < N; ++k) Pending.push_back(PlannedValue(Plan[k], Step->Args[k]));
  for (int k = 0; k < N; ++k) HandOver(Plan[k], E->ParamAt(k), Pending[Base + k]);
}

void TksDesignator::PassUnplannedArguments(TksDesignatorItem* Step, TksCustomVariable* E, int N) {
  std::vector<Variant>& Pending = PendingArguments();
  const size_t Base = Pending.size();
  TPop Pop{Pending, Base};
  for (int k = 0; k < N; ++k) Pending.push_back(ArgumentValue(E, Step->Args[k]));
  for (int k = 0; k < N; ++k) E->ParamAt(k)->SetValue(Pending[Base + k]);
}

inline void TksDesignator::PassRoutineArguments(TksDesignatorItem* Step, TksProcVariable* Proc) {
  if (Step->ArgPlans.size() == 1) {
    // A lone integer argument goes straight into its parameter.
    const TksArgPlan& A = Step->ArgPlans[0];
    long long I;
    if (A.Slot && PlannedInt(A, Step->Args[0], I)) {
      *A.Slot = Variant(static_cast<int>(I));
      return;
    }
  }
  if (Proc->Count()) PassArguments(Step, Proc);
}

// Here, beside the designators' calls, so that they take it in.
namespace {

VORENTA_DECLARE_EXCEPTION(EStackOverflow, Exception);

// Script routine calls in progress; scripts run on the one user-interface thread.
int CallDepth = 0;
// Deep enough for any recursion a report script needs, and well inside an 8 MB stack even
// with sanitizers, which enlarge every frame.
constexpr int kMaxCallDepth = 1000;
// A routine may nest statements deeply between two calls, so the native stack is watched too:
// a call is refused while less than this much of it is left.
constexpr std::uintptr_t kStackReserve = 1 << 20;

std::uintptr_t StackLimit() {
  static thread_local const std::uintptr_t Limit = [] {
    pthread_attr_t Attr;
    void* Low = nullptr;
    size_t Size = 0;
    if (pthread_getattr_np(pthread_self(), &Attr) != 0) return std::uintptr_t(0);
    pthread_attr_getstack(&Attr, &Low, &Size);
    pthread_attr_destroy(&Attr);
    return reinterpret_cast<std::uintptr_t>(Low) + kStackReserve;
  }();
  return Limit;
}

// One run of a routine's body, for its lifetime: counts the call, marks the routine as
// executing and its scope as the one running (what Evaluate sees), and puts all of it back,
// also when the body raised. Raises "Stack overflow" (a run-time error a script can catch)
// instead of letting runaway recursion end the process.
class TRoutineRun {
public:
  TRoutineRun(bool& Executing, TksScript& P)
      : FExecuting(Executing), FSavedExecuting(Executing), FP(P), FMain(P.MainScope()) {
    if (CallDepth >= kMaxCallDepth ||
        reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < StackLimit())
      throw EStackOverflow(u"Stack overflow");
    ++CallDepth;
    Executing = true;
    if (FMain) {
      FSavedRunning = FMain->ProgRunning();
      FMain->SetProgRunning(&P);
    }
    P.FStopFlags = 0;
    P.SetIsRunning(true);
  }
  ~TRoutineRun() {
    // Loop flags are cleared too, so a stray break or continue cannot cut later calls short.
    FP.FStopFlags = 0;
    FP.SetIsRunning(false);
    if (FMain) FMain->SetProgRunning(FSavedRunning);
    FExecuting = FSavedExecuting;
    --CallDepth;
  }
  TRoutineRun(const TRoutineRun&) = delete;
  TRoutineRun& operator=(const TRoutineRun&) = delete;

private:
  bool& FExecuting;
  const bool FSavedExecuting;
  TksScript& FP;
  TksScript* const FMain;
  TksScript* FSavedRunning = nullptr;
};

}  // namespace

[[gnu::always_inline]] inline Variant TksProcVariable::Invoke(bool Nested) {
  {
    TRoutineRun Running(FExecuting, *FProgram);
    // Result starts Empty (a caller's Result often is already: recursion runs before it is set).
    if (FIsFunc && !FRefItem->PValue()->IsEmpty()) FRefItem->PValue()->Clear();
    FProgram->Statement()->ExecuteItems();
  }
  if (!FIsFunc) return kNullValue;
  // Result is always a plain variable: its stored value unless a read hook is set.
  if (FRefItem->OnGetVarValue()) return FRefItem->GetValue();
  if (Nested) return std::move(*FRefItem->PValue());
  return *FRefItem->PValue();
}

Variant TksProcVariable::Run() { return Invoke(false); }

Variant TksDesignator::CallRoutine(TksDesignatorItem* Step, TksProcVariable* Proc) {
  if (!Proc->Executing()) {
    PassRoutineArguments(Step, Proc);
    Proc->SetNeedResult(FNeedResult);
    return Proc->Invoke(false);
  }
  // A routine called while it runs keeps the caller's locals aside until it returns: in a
  // frame here when they are few (the common recursion), else on the routine's own stack.
  // The frame is raw storage: the copies are made in place and moved out again, which
  // leaves every entry Empty, so nothing is left to destroy.
  constexpr size_t kFrame = 8;
  const bool OnStack = Proc->LocalsCount() > kFrame;
  alignas(Variant) unsigned char Raw[kFrame * sizeof(Variant)];
  auto* Frame = reinterpret_cast<Variant*>(Raw);
  if (OnStack) Proc->SaveLocals();
  else Proc->CopyLocalsTo(Frame);
  auto Restore = [&] {
    if (OnStack) Proc->RestoreLocals();
    else Proc->MoveLocalsFrom(Frame);
  };
  try {
    PassRoutineArguments(Step, Proc);
    Proc->SetNeedResult(FNeedResult);
    Variant Result = Proc->Invoke(true);
    Restore();
    return Result;
  } catch (...) {
    Restore();
    throw;
  }
}

Variant TksDesignator::CallRoutineVar(TksDesignatorItem* Step, TksProcVariable* Proc) {
  if (!IntArguments(Step, Proc->Count())) PassPlannedArguments(Step, Proc);
  Proc->SetNeedResult(FNeedResult);
  Variant Result = Proc->Invoke(false);
  const int K = Step->LoneVarParam;
  const TksArgPlan* A = K < static_cast<int>(Step->ArgPlans.size()) ? &Step->ArgPlans[K] : nullptr;
  if (A && A->Back && A->Slot) {
    // The argument is a plain variable: written without the designator, converted by its
    // type as its setter would.
    const Variant& V = *A->Slot;
    if (V.VType() == varInteger && (A->BackAsIs || A->Back->Typ() == fvtInt))
      *A->Back->PValue() = Variant(static_cast<int>(V.Data().Int));  // no reference to take
    else if (A->BackAsIs) *A->Back->PValue() = V;
    else A->Back->SetValue(V);
  } else {
    Step->Args[K]->SetValue(Proc->ParamAt(K)->GetValue());
  }
  return Result;
}

Variant TksDesignator::CallHelper(TksDesignatorItem* Step) {
  auto* H = static_cast<TksCustomHelper*>(Step->Ref);
  // Stored arguments (constants, plain variables) are copied across here, the common host call.
  const int N = static_cast<int>(Step->ArgPlans.size());
  if (H->Count() && !(Step->DirectArgs && CopyStoredArguments(Step->ArgPlans.data(), N))) PassArguments(Step, H);
  H->SetParentRef(nullptr);
  if (!H->ParentValue().IsNull()) H->SetParentValue(kNullValue);
  H->SetProg(FProgram);
  H->SetNeedResult(FNeedResult);
  return H->GetValue();
}

Variant TksDesignator::EvaluateChain(bool Write, const Variant& Value) {
  Variant Cur = Variant::MakeNull();
  TksCustomVariable* CurRef = nullptr;
  size_t N = FItems.size();
  for (size_t i = 0; i < N; ++i) {
    TksDesignatorItem* Step = FItems[i];
    TksCustomVariable* E = Step->Ref;
    bool Last = i + 1 == N;
    if (Step->RefKind == TksDesignatorItem::rkUnknown) Classify(Step);
    if (Step->RefKind == TksDesignatorItem::rkDesignator) {
      Cur = E->GetValue();
      CurRef = E;
      continue;
    }
    auto* Proc = Step->RefKind == TksDesignatorItem::rkProc ? static_cast<TksProcVariable*>(E) : nullptr;
    TksProcVariable* Saved = Proc && Proc->Executing() ? Proc : nullptr;
    if (Saved) Saved->SaveLocals();
    try {
      int PC = E->Count();
      if (PC) PassArguments(Step, E);
      if (Step->RefKind == TksDesignatorItem::rkHelper) {
        auto* H = static_cast<TksCustomHelper*>(E);
        H->SetParentRef(CurRef);
        H->SetParentValue(Cur);
        H->SetProg(FProgram);
      }
      CurRef = E;
      if (Write && Last) {
        E->SetValue(Value);
      } else {
        E->SetNeedResult(Last ? FNeedResult : true);
        Cur = E->GetValue();
      }
      // Var parameters: the caller's locals come back first, then the results are written
      // into the argument variables, so a recursive caller keeps them.
      if (Step->HasVarParams) {
        const int N = std::min(PC, static_cast<int>(Step->Args.size()));
        std::vector<Variant>& Pending = PendingArguments();
        const size_t Base = Pending.size();
        TPop Pop{Pending, Base};
        for (int k = 0; k < N; ++k)
          if (E->ParamAt(k)->IsVarParam()) Pending.push_back(E->ParamAt(k)->GetValue());
        if (Saved) Saved->RestoreLocals();
        Saved = nullptr;
        // Each value is taken out first: writing an argument may run calls that grow the stack.
        size_t j = Base;
        for (int k = 0; k < N; ++k)
          if (E->ParamAt(k)->IsVarParam()) {
            const Variant V = std::move(Pending[j++]);
            Step->Args[k]->SetValue(V);
          }
      }
      if (Saved) Saved->RestoreLocals();
    } catch (...) {
      if (Saved) Saved->RestoreLocals();
      throw;
    }
  }
  return Cur;
}

Variant TksStringDesignator::GetValue() {
  const String& S = static_cast<TksStringVariable*>(FRefItem)->Text();
  int I = FRef1->GetValue().AsInteger();
  if (I < 1 || I > static_cast<int>(S.size())) throw ERangeError(u"String index out of range");
  return Variant(S[I - 1]);
}

void TksStringDesignator::SetValue(const Variant& Value) {
  String& S = static_cast<TksStringVariable*>(FRefItem)->Str();
  int I = FRef1->GetValue().AsInteger();
  if (I < 1 || I > static_cast<int>(S.size())) throw ERangeError(u"String index out of range");
  String V = VarToStr(Value);
  if (!V.empty()) S[I - 1] = V[0];
}

void TksArrayDesignator::FindIndex() {
  FIndexKnown = true;
  if (FRef2->Args.size() != 1) return;
  FIndex = FRef2->Args[0];
  if (auto* X = dynamic_cast<TksExpression*>(FIndex)) {
    FIndexRoot = X->Root();
    if (FIndexRoot) FIndexStore = FIndexRoot->Store(FIndexVar);
  }
}

inline Variant* TksArrayDesignator::DirectElement(bool ForWrite) {
  if (!FRefInPlace) return nullptr;
  if (!FIndexKnown) FindIndex();
  long long I;
  if (FIndexStore && !(FIndexVar && FIndexVar->OnGetVarValue())) {
    if (FIndexStore->VType() != varInteger) return nullptr;
    I = FIndexStore->Data().Int;
  } else if (FIndexRoot ? !FIndexRoot->TryInt(I) : !FIndex || !FIndex->TryInt(I)) {
    return nullptr;
  }
  Variant& Arr = *FRefItem->PValue();
  if (!Arr.IsArray()) return nullptr;
  const int Index = static_cast<int>(I);
  return ForWrite ? &Arr[Index] : const_cast<Variant*>(&std::as_const(Arr)[Index]);
}

const Variant* TksArrayDesignator::StoredValue() { return DirectElement(false); }

Variant TksArrayDesignator::GetValue() {
  if (const Variant* E = DirectElement(false)) return *E;
  auto* H = static_cast<TksArrayHelper*>(FRef1);
  H->SetParentRef(FRefItem);
  for (size_t k = 0; k < FRef2->Args.size(); ++k) H->ParamAt(k)->SetValue(FRef2->Args[k]->GetValue());
  return H->Read(FRefInPlace);
}

void TksArrayDesignator::SetValue(const Variant& Value) {
  if (Variant* E = DirectElement(true)) {
    *E = Value;
    return;
  }
  auto* H = static_cast<TksArrayHelper*>(FRef1);
  H->SetParentRef(FRefItem);
  for (size_t k = 0; k < FRef2->Args.size(); ++k) H->ParamAt(k)->SetValue(FRef2->Args[k]->GetValue());
  H->Write(Value, FRefInPlace);
}

bool TksArrayDesignator::MoveIntoElement(Variant& Value) {
  Variant* E = DirectElement(true);
  if (!E) return false;
  *E = std::move(Value);
  return true;
}

// ---- Helpers --------------------------------------------------------------------------------

TksArrayHelper::TksArrayHelper(const String& AName, int DimCount, TksVarType ATyp,
                               const String& ATypeName)
    : TksCustomHelper(AName, ATyp, ATypeName), FDimCount(DimCount) {
  int N = DimCount < 0 ? 3 : DimCount;
  for (int i = 0; i < N; ++i) {
    String Name = u"p";
    Name += IntToStr(i);  // not u"p" + ...: GCC 12 warns falsely (-Wrestrict) on that when inlined
    AddParam(new TksParamItem(Name, fvtInt, u"Integer", DimCount < 0 && i > 0, false));
  }
}

Variant* TksArrayHelper::Element(Variant& Arr, bool ForWrite) {
  Variant* A = &Arr;
  for (int i = 0; i < Count(); ++i) {
    Variant Idx = FParams[i]->GetValue();
    if (Idx.IsNull()) break;
    if (!A->IsArray()) throw EVariantBadIndexError(u"Variant is not an array");
    A = ForWrite ? &(*A)[Idx.AsInteger()] : const_cast<Variant*>(&std::as_const(*A)[Idx.AsInteger()]);
  }
  return A;
}

Variant TksArrayHelper::GetValue() { return Read(ksStoresInPlace(FParentRef)); }

void TksArrayHelper::SetValue(const Variant& Value) { Write(Value, ksStoresInPlace(FParentRef)); }

Variant TksArrayHelper::Read(bool InPlace) {
  if (InPlace) return *Element(*FParentRef->PValue(), false);
  Variant Copy = FParentValue;
  return *Element(Copy, false);
}

void TksArrayHelper::Write(const Variant& Value, bool InPlace) {
  if (InPlace) {
    *Element(*FParentRef->PValue(), true) = Value;
    return;
  }
  Variant Copy = FParentValue;
  *Element(Copy, true) = Value;
  if (FParentRef) FParentRef->SetValue(Copy);
}

TksStringHelper::TksStringHelper() : TksCustomHelper(u"__StringHelper", fvtChar, u"Char") {
  AddParam(new TksParamItem(u"Index", fvtInt, u"Integer", false, false));
}

Variant TksStringHelper::GetValue() {
  String S = VarToStr(FParentValue);
  int I = FParams[0]->GetValue().AsInteger();
  if (I < 1 || I > static_cast<int>(S.size())) throw ERangeError(u"String index out of range");
  return Variant(S[I - 1]);
}

void TksStringHelper::SetValue(const Variant& Value) {
  String S = VarToStr(FParentValue);
  int I = FParams[0]->GetValue().AsInteger();
  if (I < 1 || I > static_cast<int>(S.size())) throw ERangeError(u"String index out of range");
  String V = VarToStr(Value);
  if (!V.empty()) S[I - 1] = V[0];
  if (FParentRef) FParentRef->SetValue(Variant(S));
}

TksSetExpression::TksSetExpression() : TksCustomVariable(String(), fvtVariant, String()) {}

TksSetExpression::~TksSetExpression() {
  for (TksCustomExpression* E : Items) delete E;
}

Variant TksSetExpression::GetValue() {
  int N = static_cast<int>(Items.size());
  Variant A = VarArrayCreate(0, N - 1, varVariant);
  for (int i = 0; i < N; ++i) A[i] = Items[i] ? Items[i]->GetValue() : Variant::MakeNull();
  return A;
}

bool TksSetExpression::Check(const Variant& Value) {
  int N = static_cast<int>(Items.size());
  for (int i = 0; i < N; ++i) {
    if (i < N - 1 && !Items[i + 1] && i + 2 < N) {
      bool In = Value >= Items[i]->GetValue() && Value <= Items[i + 2]->GetValue();
      i += 2;
      if (In) return true;
    } else if (Items[i] && Value == Items[i]->GetValue()) {
      return true;
    }
  }
  return false;
}
