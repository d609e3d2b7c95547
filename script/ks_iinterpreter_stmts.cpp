// ks_iinterpreter_stmts.cpp - ks_iinterpreter: designator chains, index helpers, set
// expressions and the statement classes.
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
      if (Step->LoneVarParam >= 0 && !Proc->Executing()) return CallRoutineVar(Step, Proc);
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
}

namespace {
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

void HandOver(TksParamItem* P, Variant& Value, bool Plain) {
  // A parameter stores what it is given: hand the value over without a copy.
  if (Plain && !P->IsReadOnly()) *P->PValue() = std::move(Value);
  else P->SetValue(Value);
}
}  // namespace

void TksDesignator::PassArguments(TksDesignatorItem* Step, TksCustomVariable* E) {
  // All arguments are evaluated before any parameter is written (an argument may read the
  // routine's own parameters): one in place, more on one stack shared by nested calls.
  const int N = std::min(E->Count(), static_cast<int>(Step->Args.size()));
  const bool Plain = Step->PlainParams;
  if (N == 1) {
    Variant Value = ArgumentValue(E, Step->Args[0]);
    HandOver(E->ParamAt(0), Value, Plain);
    return;
  }
  constexpr int kInPlace = 4;
  if (N <= kInPlace) {
    // Integer arguments from the fast path need no Variant until they are stored (trying
    // them evaluates nothing, so a give-up leaves the general way below as it was).
    long long Ints[kInPlace];
    int Given = 0;
    if (Plain && !E->IsMacro())
      while (Given < N && Step->Args[Given]->TryInt(Ints[Given])) ++Given;
    if (Given == N) {
      for (int k = 0; k < N; ++k) {
        TksParamItem* P = E->ParamAt(k);
        if (P->IsReadOnly()) P->SetValue(Variant(static_cast<int>(Ints[k])));
        else *P->PValue() = Variant(static_cast<int>(Ints[k]));
      }
      return;
    }
    Variant Values[kInPlace];
    for (int k = 0; k < N; ++k) Values[k] = ArgumentValue(E, Step->Args[k]);
    for (int k = 0; k < N; ++k) HandOver(E->ParamAt(k), Values[k], Plain);
    return;
  }
  std::vector<Variant>& Pending = PendingArguments();
  const size_t Base = Pending.size();
  TPop Pop{Pending, Base};
  for (int k = 0; k < N; ++k) Pending.push_back(ArgumentValue(E, Step->Args[k]));
  for (int k = 0; k < N; ++k) HandOver(E->ParamAt(k), Pending[Base + k], Plain);
}

inline void TksDesignator::PassRoutineArguments(TksDesignatorItem* Step, TksProcVariable* Proc) {
  if (!Proc->Count()) return;
  if (Step->PlainParams && Step->Args.size() == 1) {
    TksParamItem* P = Proc->ParamAt(0);
    long long I;
    if (!P->IsReadOnly() && Step->Args[0]->TryInt(I)) {
      *P->PValue() = Variant(static_cast<int>(I));
      return;
    }
  }
  PassArguments(Step, Proc);
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

// Counts a call for its lifetime; raises "Stack overflow" (a run-time error a script can
// catch) instead of letting runaway recursion end the process.
class TCallDepthGuard {
public:
  TCallDepthGuard() {
    if (CallDepth >= kMaxCallDepth ||
        reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < StackLimit())
      throw EStackOverflow(u"Stack overflow");
    ++CallDepth;
  }
  ~TCallDepthGuard() { --CallDepth; }
  TCallDepthGuard(const TCallDepthGuard&) = delete;
  TCallDepthGuard& operator=(const TCallDepthGuard&) = delete;
};

}  // namespace

[[gnu::always_inline]] inline Variant TksProcVariable::Invoke(bool Nested) {
  TCallDepthGuard Guard;
  bool SavedExecuting = FExecuting;
  FExecuting = true;
  if (FIsFunc) FRefItem->PValue()->Clear();
  TksScript* Main = FProgram->MainScope();
  TksScript* SavedRunning = Main ? Main->ProgRunning() : nullptr;
  if (Main) Main->SetProgRunning(FProgram.get());
  TksScript& P = *FProgram;
  auto Leave = [&] {
    // Loop flags are cleared too, so a stray break or continue cannot cut later calls short.
    P.FExitCalled = P.FTerminated = P.FBreakCalled = P.FContinueCalled = false;
    P.SetIsRunning(false);
    if (Main) Main->SetProgRunning(SavedRunning);
    FExecuting = SavedExecuting;
  };
  P.FExitCalled = P.FTerminated = P.FBreakCalled = P.FContinueCalled = false;
  P.SetIsRunning(true);
  try {
    P.Statement()->ExecuteItems();
  } catch (...) {
    Leave();
    throw;
  }
  Leave();
  if (!FIsFunc) return Variant::MakeNull();
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
  PassRoutineArguments(Step, Proc);
  Proc->SetNeedResult(FNeedResult);
  Variant Result = Proc->Run();
  const int K = Step->LoneVarParam;
  Step->Args[K]->SetValue(Proc->ParamAt(K)->GetValue());
  return Result;
}

namespace {
const Variant kNullValue = Variant::MakeNull();
}  // namespace

Variant TksDesignator::CallHelper(TksDesignatorItem* Step) {
  auto* H = static_cast<TksCustomHelper*>(Step->Ref);
  if (H->Count()) PassArguments(Step, H);
  H->SetParentRef(nullptr);
  H->SetParentValue(kNullValue);
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
  if (auto* X = dynamic_cast<TksExpression*>(FIndex))
    if (X->Root()) FIndexStore = X->Root()->Store(FIndexVar);
}

inline Variant* TksArrayDesignator::DirectElement(bool ForWrite) {
  if (!FRefInPlace) return nullptr;
  if (!FIndexKnown) FindIndex();
  long long I;
  if (FIndexStore && !(FIndexVar && FIndexVar->OnGetVarValue())) {
    if (FIndexStore->VType() != varInteger) return nullptr;
    I = FIndexStore->Data().Int;
  } else if (!FIndex || !FIndex->TryInt(I)) {
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

namespace {
bool IsTrue(TksCustomExpression* C) {
  bool B;
  if (C->TryBool(B)) return B;
  return C->GetValue().AsBoolean();
}
}  // namespace

TksAssignmentStmt::~TksAssignmentStmt() {
  delete FDesignator;
  delete FExpression;
}

void TksAssignmentStmt::Optimize() {
  FTree = dynamic_cast<TksExpression*>(FExpression);
  FVar = FDesignator;
  if (dynamic_cast<TksVariableDesignator*>(FDesignator)) FVar = FDesignator->RefItem();
  FExpr = FExpression;
  if (auto* X = dynamic_cast<TksExpression*>(FExpression))
    if (TksCustomVariable* S = X->SingleItem()) FExpr = S;
  if (FTree && FExpr == FTree) FRoot = FTree->Root();
  FPlainSource = FExpr != FExpression && ksStoresInPlace(FExpr);
  FIntegerSlot = ksIntegerSlot(FVar);
}

void TksAssignmentStmt::Execute() {
  RunLineHook();
  if (Stopped()) return;
  // x := y, both plain, y holding an Integer: copied as it stands (what the integer path
  // below would store, without asking the tree).
  if (FPlainSource && FIntegerSlot) {
    const Variant& V = *FExpr->PValue();
    if (V.VType() == varInteger && !FExpr->OnGetVarValue()) {
      *FVar->PValue() = Variant(static_cast<int>(V.Data().Int));
      return;
    }
  }
  long long R;
  // A Variant target that last took a double tries the number path first (both store the
  // same when the value is an integer).
  if (IntegerTarget() && !FFloatSeen && FTree->TryInt(R) && StoreInteger(R)) return;
  if (NumberTarget() && AssignNumber()) return;
  if (FRoot) {
    Variant V = FRoot->Eval();
    // An Integer into a plain Integer or Variant variable is stored as it is (the typed
    // setter would store the same).
    if (FIntegerSlot && V.VType() == varInteger) *FVar->PValue() = std::move(V);
    else FVar->SetValue(V);
    return;
  }
  // A plain variable's value is what it stores (its read hook aside): copied without a call.
  if (FPlainSource && !FExpr->OnGetVarValue()) return FVar->SetValue(Variant(*FExpr->PValue()));
  FVar->SetValue(FExpr->GetValue());
}

void TksAssignmentStmt::FindNumberTarget() {
  FNumTarget = ksStoresInPlace(FVar) && (FVar->Typ() == fvtFloat || FVar->Typ() == fvtVariant) &&
               !FVar->IsReadOnly() && FTree && FTree->Pure();
}

bool TksAssignmentStmt::AssignNumber() {
  TksNumber N;
  if (!NumberTarget() || !FTree->TryNumber(N)) return false;
  FFloatSeen = N.IsFloat;
  // A Float variable keeps a double whatever is assigned; a Variant keeps the kind.
  if (FVar->Typ() == fvtFloat || N.IsFloat) StoreFloat(N.AsDouble());
  else *FVar->PValue() = Variant(N.Int);
  return true;
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
  if (!IntegerTarget() || FVar->OnGetVarValue() || !FTree->TryInt(Operand)) return false;
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
  if (IsTrue(FCondition)) ExecuteItems();
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
  while (IsTrue(FCondition)) {
    if (!RunPass()) break;
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
  if (!FDown) {
    for (long long V = B; V <= E; ++V) {
      *Slot = Variant(static_cast<int>(V));
      if (!RunPass()) break;
      P.FContinueCalled = false;
    }
  } else {
    for (long long V = B; V >= E; --V) {
      *Slot = Variant(static_cast<int>(V));
      if (!RunPass()) break;
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
    for (long long I = V.Data().Int; Down ? I >= Last : I <= Last; I += By) {
      *Slot = Variant(static_cast<int>(I));
      if (!RunPass()) break;
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
  while (IsTrue(FExpression)) {
    if (!RunPass()) break;
    P.FContinueCalled = false;
    // A plain statement list: no dispatch needed (one call statement is called directly,
    // as the list would after its Terminate test).
    if (!FStepCall) FSecondStmt->ExecuteItems();
    else if (!P.FTerminated) FStepCall->Execute();
  }
  P.FBreakCalled = false;
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
