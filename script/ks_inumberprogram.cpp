// ks_inumberprogram.cpp - building and running the typed form of a pure number expression.
#include "script/ks_inumberprogram.h"

#include <cstdint>

#include "script/ks_iexpression.h"

using Op = TksOperatorType;

void TksNumberProgram::SetSource(std::vector<TSource> Source, int Values) {
  FSource = std::move(Source);
  FLoads.clear();
  FOps.clear();
  FValues = Values;
  FRebuilds = 0;
  FState = kUnbuilt;
}

void TksNumberProgram::Clear() {
  FSource.clear();
  FLoads.clear();
  FOps.clear();
  FState = kNone;
}

// Every leaf and every operator's result takes a register of its own. A constant's register
// is filled here; a variable's at each run, after its kind is checked. Only the operators the
// integer and double paths compute are taken (the others need the general path); two
// integers stay integers except under the float division.
bool TksNumberProgram::Build() {
  FLoads.clear();
  FOps.clear();
  unsigned char Stack[kDepth];
  bool IsFloat[kRegisters];
  int Top = -1, Used = 0;
  auto Leaf = [&](const TSource& S, unsigned char& Reg) {
    const TVarType K = S.Store->VType();
    if ((K != varInteger && K != varDouble) || Used >= kRegisters) return false;
    Reg = static_cast<unsigned char>(Used++);
    IsFloat[Reg] = K == varDouble;
    TValue& R = FRegs[Reg];
    R.I = K == varInteger ? S.Store->Data().Int : 0;
    R.D = K == varDouble ? S.Store->Data().Double : static_cast<double>(R.I);
    if (S.Var) FLoads.push_back({S.Store, S.Var, &R, K});
    return true;
  };
  for (const TSource& S : FSource) {
    unsigned char Right;
    if (S.Store) {
      if (!Leaf(S, Right)) return false;
      if (S.Op == Op::opNone) {
        if (++Top >= kDepth) return false;
        Stack[Top] = Right;
        continue;
      }
    } else {
      if (Top < 1) return false;
      Right = Stack[Top--];
    }
    if (Top < 0 || Used >= kRegisters) return false;
    const unsigned char Left = Stack[Top], Dst = static_cast<unsigned char>(Used++);
    const bool Float = IsFloat[Left] || IsFloat[Right] || S.Op == Op::opDivFloat;
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
    IsFloat[Dst] = Float;
    FOps.push_back({Code, &FRegs[Left], &FRegs[Right], &FRegs[Dst]});
    Stack[Top] = Dst;
  }
  if (Top + 1 != FValues) return false;
  for (int i = 0; i < FValues; ++i) {
    FResult[i] = Stack[i];
    FFloatResult[i] = IsFloat[Stack[i]];
  }
  return true;
}

bool TksNumberProgram::BuildAndRun(TksNumber* Out) {
  if (FRebuilds >= kMaxRebuilds || !Build()) {
    Clear();
    return false;
  }
  FState = kReady;
  return Execute(Out);
}

bool TksNumberProgram::Execute(TksNumber* Out) {
  for (const TLoad& L : FLoads) {
    const Variant& V = *L.Store;
    if (V.VType() != L.Kind || L.Var->OnGetVarValue()) {
      // A leaf changed kind (or gained a read hook): built again at the next run.
      FState = kUnbuilt;
      ++FRebuilds;
      return false;
    }
    TValue& R = *L.Reg;
    if (L.Kind == varDouble) {
      R.D = V.Data().Double;
    } else {
      R.I = V.Data().Int;
      R.D = static_cast<double>(R.I);
    }
  }
  for (const TOp& O : FOps) {
    const TValue& A = *O.A;
    const TValue& B = *O.B;
    TValue& Dst = *O.Dst;
    long long I = 0;
    switch (O.Code) {
      case kAddD: Dst.D = A.D + B.D; continue;
      case kSubD: Dst.D = A.D - B.D; continue;
      case kMulD: Dst.D = A.D * B.D; continue;
      case kDivD:
        if (B.D == 0) return false;
        Dst.D = A.D / B.D;
        continue;
      case kAddI: I = A.I + B.I; break;
      case kSubI: I = A.I - B.I; break;
      case kMulI: I = A.I * B.I; break;
      case kModI:
        if (B.I == 0) return false;
        I = A.I % B.I;
        break;
    }
    if (I < INT32_MIN || I > INT32_MAX) return false;
    Dst.I = I;
    Dst.D = static_cast<double>(I);
  }
  for (int i = 0; i < FValues; ++i) {
    const TValue& R = FRegs[FResult[i]];
    Out[i].IsFloat = FFloatResult[i];
    if (FFloatResult[i]) Out[i].Float = R.D;
    else Out[i].Int = static_cast<int>(R.I);
  }
  return true;
}
