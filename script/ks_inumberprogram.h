// ks_inumberprogram.h - a pure number expression compiled for the kinds its leaves hold:
// each operator knows whether it works on integers or doubles and reads its variable leaves
// itself, with one kind test each, so a run computes without converting every value.
#pragma once

#include <vector>

#include "platform/rtl/Variant.h"

class TksCustomVariable;
enum class TksOperatorType;
struct TksNumber;

class TksNumberProgram {
public:
  // One step of the postfix form it is built from: a leaf read (Op is opNone), an operator
  // whose right side is a leaf, or an operator on the two values on top (Store is null).
  struct TSource {
    const Variant* Store;
    const TksCustomVariable* Var;  // whose read hook, when set, bars reading Store
    TksOperatorType Op;
  };
  static constexpr int kDepth = 16;  // values the steps may hold at once

  TksNumberProgram() = default;
  // The steps point into the program's own registers.
  TksNumberProgram(const TksNumberProgram&) = delete;
  TksNumberProgram& operator=(const TksNumberProgram&) = delete;

  // Takes the postfix form; Values is 1, or 2 when the steps leave a comparison's operands.
  // The program itself is built at the next run, for the kinds the leaves then hold.
  void SetSource(std::vector<TSource> Source, int Values);
  void Clear();
  // The values into Out as TksNumber (Values of them); false when a leaf holds another kind
  // than the program was built for, a result leaves 32 bits or a divisor is zero: the caller
  // then takes its general path. A program whose leaves keep changing kind is given up.
  bool Run(TksNumber* Out) {
    if (FState == kReady) return Execute(Out);
    return FState == kUnbuilt && BuildAndRun(Out);
  }

private:
  // A value: an integer result keeps its double beside it, so an operator on doubles reads
  // either kind without a conversion step.
  struct TValue {
    long long I;
    double D;
  };
  static constexpr int kRegisters = 64;
  enum TCode : unsigned char { kAddI, kSubI, kMulI, kModI, kAddD, kSubD, kMulD, kDivD };
  // Where an operand is read: a register (a constant, filled once, or an earlier result),
  // or a variable leaf holding an Integer or a Double, read where it is stored by the
  // operator itself, so a leaf costs no step of its own.
  enum TMode : unsigned char { kReg, kVarI, kVarD };
  struct TArg {
    const Variant* Store;          // the leaf's stored value; null for a register
    const TksCustomVariable* Var;  // the leaf's variable, whose read hook bars Store
    const TValue* Reg;             // the register, when Store is null
    TMode Mode;
  };
  // Dst := A op B. Step is the operator and both operands' modes in one code, so that each
  // combination runs its own code without testing the modes.
  struct TOp {
    unsigned char Step;
    TArg A;
    TArg B;
    TValue* Dst;
  };
  static constexpr unsigned char StepOf(TCode Code, TMode A, TMode B) { return Code * 9 + A * 3 + B; }
  enum TState : signed char { kNone, kUnbuilt, kReady };
  // How a step ended: done, a leaf no longer holds its kind (or has a read hook), or the
  // general path must compute (a result beyond 32 bits, a zero divisor).
  enum TOutcome : unsigned char { kDone, kKindChanged, kGeneral };
  // Builds in a row after which a program whose leaves keep changing kind is given up. A
  // build that served kSettledRuns runs starts the count again: a variable set to 0 and then
  // to doubles each time a script runs costs two builds per run, and is not given up.
  static constexpr int kMaxRebuilds = 4;
  static constexpr unsigned kSettledRuns = 64;

  bool Build();
  bool BuildAndRun(TksNumber* Out);
  bool Execute(TksNumber* Out);
  // A leaf changed kind (or gained a read hook): built again at the next run.
  bool Outdated() {
    FState = kUnbuilt;
    FRebuilds = FRuns >= kSettledRuns ? 1 : FRebuilds + 1;
    return false;
  }
  template <TCode C, TMode A, TMode B>
  static inline TOutcome Run(const TOp& O);
  template <TMode M>
  static inline bool Read(const TArg& A, double& Out);
  template <TMode M>
  static inline bool Read(const TArg& A, long long& Out);

  std::vector<TSource> FSource;
  std::vector<TOp> FOps;
  TArg FResult[2] = {};
  bool FFloatResult[2] = {false, false};
  TValue FRegs[kRegisters];  // constants stay from the build; results each run
  TState FState = kNone;
  int FValues = 1;
  int FRebuilds = 0;
  unsigned FRuns = 0;  // runs of the current build
};
