// ks_inumberprogram.cpp - building and running the typed form of a pure number expression.
#include "script/ks_inumberprogram.h"

#include <cstdint>

#include "script/ks_iexpression.h"

using Op = TksOperatorType;

void TksNumberProgram::SetSource(std::vector<TSource> Source, int Values) {
  FSource = std::move(Source);
  FOps.clear();
  FValues = Values;
  FRebuilds = 0;
  FState = kUnbuilt;
}

void TksNumberProgram::Clear() {
  FSource.clear();
  FOps.clear();
  FState = kNone;
}

// A constant takes a register filled here; a variable leaf becomes an operand that the
// operator reading it reads at each run, after checking its kind; each operator's result
// takes a register of its own. Only the operators the integer and double paths compute are
// taken (the others need the general path); two integers stay integers except under the
// float division.
bool TksNumberProgram::Build() {
  FOps.clear();
  TArg Stack[kDepth];
  bool IsFloat[kDepth];
  int Top = -1, Used = 0;
  auto Leaf = [&](const TSource& S, TArg& A, bool& Float) {
    const TVarType K = S.Store->VType();
    if (K != varInteger && K != varDouble) return false;
    Float = K == varDouble;
    if (S.Var) {
      A = {S.Store, S.Var, nullptr, Float ? kVarD : kVarI};
      return true;
    }
    if (Used >= kRegisters) return false;
    TValue& R = FRegs[Used++];
    R.I = Float ? 0 : S.Store->Data().Int;
    R.D = Float ? S.Store->Data().Double : static_cast<double>(R.I);
    A = {nullptr, nullptr, &R, kReg};
    return true;
  };
  for (const TSource& S : FSource) {
    TArg Right;
    bool RightFloat;
    if (S.Store) {
      if (!Leaf(S, Right, RightFloat)) return false;
      if (S.Op == Op::opNone) {
        if (++Top >= kDepth) return false;
        Stack[Top] = Right;
        IsFloat[Top] = RightFloat;
        continue;
      }
    } else {
      if (Top < 1) return false;
      Right = Stack[Top];
      RightFloat = IsFloat[Top--];
    }
    if (Top < 0 || Used >= kRegisters) return false;
    const bool Float = IsFloat[Top] || RightFloat || S.Op == Op::opDivFloat;
    TCode Code;
    switch (S.Op) {
      case Op::opPlus: Code = Float ? kAddD : kAddI; break;
      case Op::opMinus: Code = Float ? kSubD : kSubI; break;
      case Op::opMul: Code = Float ? kMulD : kMulI; break;
      case Op::opDivFloat: Code = kDivD; break;
      case Op::opMod:
        if (Float) return false;
        Code = kModI;
        break;
      default: return false;
    }
    TValue* Dst = &FRegs[Used++];
    FOps.push_back({StepOf(Code, Stack[Top].Mode, Right.Mode), Stack[Top], Right, Dst});
    Stack[Top] = {nullptr, nullptr, Dst, kReg};
    IsFloat[Top] = Float;
  }
  if (Top + 1 != FValues) return false;
  for (int i = 0; i < FValues; ++i) {
    FResult[i] = Stack[i];
    FFloatResult[i] = IsFloat[i];
  }
  return true;
}

bool TksNumberProgram::BuildAndRun(TksNumber* Out) {
  if (FRebuilds >= kMaxRebuilds || !Build()) {
    Clear();
    return false;
  }
  FState = kReady;
  FRuns = 0;
  return Execute(Out);
}

template <TksNumberProgram::TMode M>
inline bool TksNumberProgram::Read(const TArg& A, double& Out) {
  if constexpr (M == kReg) {
    Out = A.Reg->D;
  } else {
    const Variant& V = *A.Store;
    if (V.VType() != (M == kVarD ? varDouble : varInteger) || A.Var->OnGetVarValue()) return false;
    Out = M == kVarD ? V.Data().Double : static_cast<double>(V.Data().Int);
  }
  return true;
}

template <TksNumberProgram::TMode M>
inline bool TksNumberProgram::Read(const TArg& A, long long& Out) {
  if constexpr (M == kReg) {
    Out = A.Reg->I;
  } else {
    // An integer operator never reads a Double leaf (Build makes it a double operator).
    const Variant& V = *A.Store;
    if (M == kVarD || V.VType() != varInteger || A.Var->OnGetVarValue()) return false;
    Out = V.Data().Int;
  }
  return true;
}

template <TksNumberProgram::TCode C, TksNumberProgram::TMode MA, TksNumberProgram::TMode MB>
[[gnu::always_inline]] inline TksNumberProgram::TOutcome TksNumberProgram::Run(const TOp& O) {
  TValue& Dst = *O.Dst;
  if constexpr (C >= kAddD) {
    double A, B;
    if (!Read<MA>(O.A, A) || !Read<MB>(O.B, B)) return kKindChanged;
    if constexpr (C == kAddD) Dst.D = A + B;
    else if constexpr (C == kSubD) Dst.D = A - B;
    else if constexpr (C == kMulD) Dst.D = A * B;
    else if (B == 0) return kGeneral;
    else Dst.D = A / B;
  } else {
    long long A, B, I;
    if (!Read<MA>(O.A, A) || !Read<MB>(O.B, B)) return kKindChanged;
    if constexpr (C == kAddI) I = A + B;
    else if constexpr (C == kSubI) I = A - B;
    else if constexpr (C == kMulI) I = A * B;
    else if (B == 0) return kGeneral;
    else I = A % B;
    if (I < INT32_MIN || I > INT32_MAX) return kGeneral;
    Dst.I = I;
    Dst.D = static_cast<double>(I);
  }
  return kDone;
}

// One case per operator and pair of operand modes.
#define KS_STEP(C, MA, MB) \
  case StepOf(C, MA, MB): R = Run<C, MA, MB>(O); break;
#define KS_STEPS_B(C, MA) KS_STEP(C, MA, kReg) KS_STEP(C, MA, kVarI) KS_STEP(C, MA, kVarD)
#define KS_STEPS(C) KS_STEPS_B(C, kReg) KS_STEPS_B(C, kVarI) KS_STEPS_B(C, kVarD)

bool TksNumberProgram::Execute(TksNumber* Out) {
  ++FRuns;
  for (const TOp& O : FOps) {
    TOutcome R;
    switch (O.Step) {
      KS_STEPS(kAddI) KS_STEPS(kSubI) KS_STEPS(kMulI) KS_STEPS(kModI)
      KS_STEPS(kAddD) KS_STEPS(kSubD) KS_STEPS(kMulD) KS_STEPS(kDivD)
      default: R = kGeneral;
    }
    if (R == kDone) continue;
    return R == kGeneral ? false : Outdated();
  }
  if (FValues == 1 && FResult[0].Mode == kReg) {
    // One operator's result, the common case.
    const TValue& R = *FResult[0].Reg;
    Out->IsFloat = FFloatResult[0];
    if (Out->IsFloat) Out->Float = R.D;
    else Out->Int = static_cast<int>(R.I);
    return true;
  }
  for (int i = 0; i < FValues; ++i) {
    TksNumber& N = Out[i];
    const TArg& A = FResult[i];
    // A result is an operator's register, or a comparison's side that is a leaf alone.
    N.IsFloat = FFloatResult[i];
    bool Ok;
    long long I = 0;
    switch (A.Mode) {
      case kReg: Ok = N.IsFloat ? Read<kReg>(A, N.Float) : Read<kReg>(A, I); break;
      case kVarI: Ok = N.IsFloat ? Read<kVarI>(A, N.Float) : Read<kVarI>(A, I); break;
      default: Ok = Read<kVarD>(A, N.Float); break;
    }
    if (!Ok) return Outdated();
    N.Int = static_cast<int>(I);
  }
  return true;
}

#undef KS_STEPS
#undef KS_STEPS_B
#undef KS_STEP
