// ks_inumberprogram.h - a pure number expression compiled for the kinds its leaves hold:
// each operator knows whether it works on integers or doubles, so a run reads each leaf with
// one kind test and computes without converting every value.
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
  // A variable leaf read into its register at the start of a run.
  struct TLoad {
    const Variant* Store;
    const TksCustomVariable* Var;  // its read hook, when set, bars reading Store; or null
    TValue* Reg;
    TVarType Kind;  // what the leaf must hold: varInteger or varDouble
  };
  // Dst := A op B, on registers.
  struct TOp {
    TCode Code;
    const TValue* A;
    const TValue* B;
    TValue* Dst;
  };
  enum TState : signed char { kNone, kUnbuilt, kReady };
  static constexpr int kMaxRebuilds = 4;

  bool Build();
  bool BuildAndRun(TksNumber* Out);
  bool Execute(TksNumber* Out);

  std::vector<TSource> FSource;
  std::vector<TLoad> FLoads;
  std::vector<TOp> FOps;
  TValue FRegs[kRegisters];  // constants stay from the build; leaves and results each run
  TState FState = kNone;
  int FValues = 1;
  int FRebuilds = 0;
  unsigned char FResult[2] = {0, 0};
  bool FFloatResult[2] = {false, false};
};
