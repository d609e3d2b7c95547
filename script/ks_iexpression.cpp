// ks_iexpression.cpp - building, typing, rewriting and evaluating expression trees.
#include "script/ks_iexpression.h"

#include <cstdint>
#include <iterator>

#include "platform/rtl/Variants.h"
#include "script/ks_itools.h"

using Op = TksOperatorType;

namespace {

struct TOpInfo {
  const char16_t* Text;
  Op Code;
  int Priority;
};

// ORDER OPERATORS: texts, codes and priorities of the operator nodes.
constexpr TOpInfo kOps[] = {
    {u" ", Op::opNone, 7},        {u">", Op::opGreat, 4},       {u"<", Op::opLess, 4},
    {u"<=", Op::opLessEq, 4},     {u">=", Op::opGreatEq, 4},    {u"<>", Op::opNonEq, 4},
    {u"=", Op::opEq, 4},          {u"+", Op::opPlus, 3},        {u"STRCAT", Op::opPlus, 3},
    {u"-", Op::opMinus, 3},       {u"OR", Op::opOr, 3},         {u"XOR", Op::opXor, 3},
    {u"*", Op::opMul, 2},         {u"/", Op::opDivFloat, 2},    {u"DIV", Op::opDivInt, 2},
    {u"MOD", Op::opMod, 2},       {u"AND", Op::opAnd, 2},       {u"SHL", Op::opShl, 2},
    {u"SHR", Op::opShr, 2},       {u"(", Op::opLeftBracket, 6}, {u")", Op::opRightBracket, 5},
    {u"NOT", Op::opNot, 1},       {u"UNMINUS", Op::opUnMinus, 1}, {u"IN", Op::opIn, 4},
    {u"IS", Op::opIs, 4}};

// The operators whose text is one character other than a letter, by that character (-1:
// none); a letter may upper-case from a non-ASCII one, so operators of letters are searched.
struct TOneCharOps {
  signed char At[128];
  constexpr TOneCharOps() : At{} {
    for (signed char& A : At) A = -1;
    for (size_t i = 0; i < std::size(kOps); ++i) {
      Char C = kOps[i].Text[0];
      bool Letter = (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z');
      if (C < 128 && !Letter && kOps[i].Text[1] == 0 && At[C] < 0) At[C] = static_cast<signed char>(i);
    }
  }
};
constexpr TOneCharOps kOneCharOps;

int PriorityOf(Op Code) {
  for (const TOpInfo& I : kOps)
    if (I.Code == Code) return I.Priority;
  return 0;
}

bool IsComparison(Op C) {
  return C == Op::opGreat || C == Op::opLess || C == Op::opLessEq || C == Op::opGreatEq ||
         C == Op::opNonEq || C == Op::opEq;
}

TksTypeRec TypeOfConst(const Variant& V) {
  switch (V.VType()) {
    case varBoolean: return {fvtBool, {}};
    case varSingle: case varDouble: case varCurrency: return {fvtFloat, {}};
    case varUString: case varString: case varOleStr: return {fvtString, {}};
    default: return {fvtInt, {}};
  }
}

bool InArray(const Variant& L, const Variant& R) {
  if (!R.IsArray()) return false;
  int Lo = R.ArrayLowBound(), Hi = R.ArrayHighBound();
  for (int i = Lo; i <= Hi; ++i) {
    const Variant& E = R[i];
    if (i + 2 <= Hi && R[i + 1].IsNull() && !(L == E)) {
      if (L >= E && L <= R[i + 2]) return true;
      i += 2;
      continue;
    }
    if (L == E) return true;
  }
  return false;
}

}  // namespace

// ---- Nodes ----------------------------------------------------------------------------------

TksExpressionNode::~TksExpressionNode() {
  delete FLeft;
  delete FRight;
}

void TksExpressionNode::AttachChild(TksExpressionNode* Node) {
  if (!FLeft) FLeft = Node;
  else FRight = Node;
  if (Node) Node->FParent = this;
}

void TksExpressionNode::DetachChild(TksExpressionNode* Node) {
  if (FLeft == Node) FLeft = nullptr;
  else if (FRight == Node) FRight = nullptr;
}

TksDesignatorNode::TksDesignatorNode(TksDesignator* ADesignator)
    : TksOperandNode(nkDesignator), FDesignator(ADesignator) {
  FVar = ADesignator->Kind() == dkVariable ? ADesignator->RefItem() : ADesignator;
  FType = {ADesignator->Typ(), ADesignator->TypeName()};
  FPlainVariable = ksStoresInPlace(FVar);
}

bool TksDesignatorNode::TryInt(long long& Out) {
  if (!FPlainVariable || FVar->OnGetVarValue()) return false;
  const Variant& V = *FVar->PValue();
  if (V.VType() != varInteger) return false;
  Out = V.Data().Int;
  return true;
}

bool TksDesignatorNode::TryBool(bool& Out) {
  const Variant* V = nullptr;
  if (FPlainVariable) {
    if (!FVar->OnGetVarValue()) V = FVar->PValue();
  } else if (!FDesignator->FastRoutine()) {
    V = FDesignator->StoredValue();
  }
  if (!V || V->VType() != varBoolean) return false;
  Out = V->AsBoolean();
  return true;
}

void TksOperatorNode::FindPure() {
  bool Arith = FOp == Op::opPlus || FOp == Op::opMinus || FOp == Op::opMul || FOp == Op::opMod ||
               FOp == Op::opDivFloat || IsComparison(FOp);
  // A leaf on the right is read from its store by the general path too.
  if (FRight) FRightStore.Store = FRight->Store(FRightStore.Var);
  if (auto* D = ksDesignatorNode(FLeft); D && D->FDesignator->Kind() == dkArray)
    FLeftElement = D->FDesignator;
  FPure = Arith && !FStrCat && FLeft && FRight && FLeft->Pure() && FRight->Pure();
  if (!FPure) return;
  FLeftInt.Store = FLeft->Store(FLeftInt.Var);
  FRightInt.Store = FRight->Store(FRightInt.Var);
  if (FLeftInt.Store && FRightInt.Store) {
    FLeaves = IsComparison(FOp) ? lvCompare : lvArithmetic;
    return;
  }
  if (IsComparison(FOp)) return;
  // The children are pure, so their own leaves are found by now.
  auto Leaves = [](TksExpressionNode* N) {
    TksOperatorNode* O = ksOperatorNode(N);
    return O && O->FLeaves == lvArithmetic;
  };
  if (FRightInt.Store && Leaves(FLeft)) FLeaves = lvLeftNested;
  else if (FLeftInt.Store && Leaves(FRight)) FLeaves = lvRightNested;
}

bool TksOperatorNode::TryInt(long long& Out) {
  long long A, B;
  switch (FLeaves) {
    case lvArithmetic: return LeafInt(FLeftInt, A) && LeafInt(FRightInt, B) && Combine(FOp, A, B, Out);
    case lvLeftNested: return NestedInt(FLeft, A) && LeafInt(FRightInt, B) && Combine(FOp, A, B, Out);
    case lvRightNested: return LeafInt(FLeftInt, A) && NestedInt(FRight, B) && Combine(FOp, A, B, Out);
    default: break;
  }
  return TryOperands(A, B) && Combine(FOp, A, B, Out);
}

bool TksOperatorNode::TryBool(bool& Out) {
  if (FLeaves == lvCompare) {
    if (long long I, J; LeafInt(FLeftInt, I) && LeafInt(FRightInt, J)) {
      Out = Compare<long long>(FOp, I, J);
      return true;
    }
  } else if (FOp == Op::opAnd || FOp == Op::opOr) {
    // Both sides are Boolean (else Eval does not short-circuit either); the right side is
    // read only when the left does not decide, as in Eval.
    bool L;
    if (!FOptimizeBool || !FLeft->TryBool(L)) return false;
    if ((FOp == Op::opOr) == L) {
      Out = L;
      return true;
    }
    return FRight->TryBool(Out);
  }
  if (!IsComparison(FOp)) return false;
  // Two integers, the common case, first: read without the conversion to a number.
  if (long long I, J; TryOperands(I, J)) {
    Out = Compare<long long>(FOp, I, J);
    return true;
  }
  TksNumber A, B;
  if (!NumberOperands(A, B)) return false;
  Out = CompareNumbers(FOp, A, B);
  return true;
}

bool TksOperatorNode::TryNumber(TksNumber& Out) {
  TksNumber B;
  if (IsComparison(FOp) || !NumberOperands(Out, B)) return false;
  return CombineNumbers(FOp, Out, B);
}

bool TksOperatorNode::FloatOperands(const Variant& L, const Variant& R, double& A, double& B) const {
  const TVarType TL = L.VType(), TR = R.VType();
  if ((TL != varInteger && TL != varDouble) || (TR != varInteger && TR != varDouble)) return false;
  if (TL == varInteger && TR == varInteger && FOp != Op::opDivFloat) return false;
  A = TL == varDouble ? L.Data().Double : L.Data().Int;
  B = TR == varDouble ? R.Data().Double : R.Data().Int;
  return true;
}

TksDesignatorNode::~TksDesignatorNode() { delete FDesignator; }

TksSetNode::~TksSetNode() { delete FSetExpression; }

Variant TksSetNode::Eval() { return FSetExpression->GetValue(); }

TksOperatorNode::TksOperatorNode(TksOperatorType Op, bool StrCat)
    : TksExpressionNode(nkOperator), FOp(Op), FStrCat(StrCat), FPriority(static_cast<signed char>(PriorityOf(Op))) {}

int TksOperatorNode::Priority() const { return FPriority; }

Variant TksOperatorNode::Eval() {
  if (Pure()) {
    // Integers and doubles all the way down: computed without building a Variant per node.
    if (bool B; IsComparison(FOp) && TryBool(B)) return Variant(B);
    if (TksNumber N; TryNumber(N)) return N.IsFloat ? Variant(N.Float) : Variant(N.Int);
  }
  // A loaded program tree may give an operator no operand.
  if (!FLeft && FOp != Op::opNone) throw Exception(u"Invalid file format");
  switch (FOp) {
    case Op::opNone: return FLeft ? FLeft->Eval() : Variant::MakeNull();
    case Op::opNot: return VarUnaryOp(opNot, FLeft->Eval());
    case Op::opUnMinus: return VarUnaryOp(opNegate, FLeft->Eval());
    case Op::opOr:
    case Op::opAnd:
      if (FOptimizeBool) {
        Variant L = FLeft->Eval();
        bool LTrue = L.AsBoolean();
        if ((FOp == Op::opOr) == LTrue) return L;
        return FRight->Eval();
      }
      break;
    case Op::opIn:
      if (auto* S = ksSetNode(FRight)) return Variant(S->FSetExpression->Check(FLeft->Eval()));
      {
        Variant L = FLeft->Eval();
        return Variant(InArray(L, FRight->Eval()));
      }
    case Op::opIs: {
      Variant L = FLeft->Eval();
      auto* D = ksDesignatorNode(FRight);
      if (!L.IsHandle() || !D || !D->FDesignator->ItemCount()) return Variant(false);
      auto* Cls = dynamic_cast<TksClassVariable*>(D->FDesignator->Item(0)->Ref);
      TObject* Obj = Cls ? ksVariantToObject(L) : nullptr;
      return Variant(Obj && Obj->InheritsFrom(Cls->ClassRef()));
    }
    default:
      break;
  }
  // The right side after the left, as always; a constant or plain variable is read where it
  // is stored (after the left side ran, so a change the left side made is seen). With such a
  // right side, nothing runs between the two reads, so an array element on the left is read
  // where it is stored too.
  const bool FromStore = FRightStore.Store && !(FRightStore.Var && FRightStore.Var->OnGetVarValue());
  const Variant* LStore = FromStore && FLeftElement ? FLeftElement->StoredValue() : nullptr;
  const Variant LValue = LStore ? Variant() : FLeft->Eval();
  const Variant& L = LStore ? *LStore : LValue;
  const Variant RValue = FromStore ? Variant() : FRight ? FRight->Eval() : Variant::MakeNull();
  const Variant& R = FromStore ? *FRightStore.Store : RValue;
  if (L.VType() == varInteger && R.VType() == varInteger) {
    // Two 32-bit integers: the common case, computed without the general conversions; a
    // result beyond 32 bits, or a zero divisor, goes to the general path below.
    const long long A = L.Data().Int, B = R.Data().Int;
    if (IsComparison(FOp)) return Variant(Compare<long long>(FOp, A, B));
    if (long long V; Combine(FOp, A, B, V)) return Variant(static_cast<int>(V));
  }
  if (double A, B; FloatOperands(L, R, A, B)) {
    // Floats mixed with integers (or two integers divided): plain double arithmetic, which is
    // what the general operators compute; a zero divisor is left to them.
    if (IsComparison(FOp)) return Variant(Compare<double>(FOp, A, B));
    if (double V; CombineFloat(FOp, A, B, V)) return Variant(V);
  }
  switch (FOp) {
    case Op::opGreat: return Variant(L > R);
    case Op::opLess: return Variant(L < R);
    case Op::opLessEq: return Variant(L <= R);
    case Op::opGreatEq: return Variant(L >= R);
    case Op::opNonEq: return Variant(L != R);
    case Op::opEq: return Variant(L == R);
    case Op::opPlus:
      if (FStrCat && L.IsString()) return Variant(L.StringRef() + VarToStr(R));
      return VarBinaryOp(opAdd, L, R);
    case Op::opMinus: return VarBinaryOp(opSubtract, L, R);
    case Op::opOr: return VarBinaryOp(opOr, L, R);
    case Op::opXor: return VarBinaryOp(opXor, L, R);
    case Op::opMul: return VarBinaryOp(opMultiply, L, R);
    case Op::opDivFloat: return VarBinaryOp(opDivide, L, R);
    case Op::opDivInt: return VarBinaryOp(opIntDivide, L, R);
    case Op::opMod: return VarBinaryOp(opModulus, L, R);
    case Op::opAnd: return VarBinaryOp(opAnd, L, R);
    case Op::opShl: return VarBinaryOp(opShiftLeft, L, R);
    case Op::opShr: return VarBinaryOp(opShiftRight, L, R);
    default: return Variant::MakeNull();
  }
}

// ---- TksExpression --------------------------------------------------------------------------

TksExpression::TksExpression(TksScript* Script)
    : TksCustomExpression(String(), fvtVariant, String()), FScript(Script) {
  FNode = new TksOperatorNode(Op::opNone, false);
  FCurNode = FNode;
}

TksExpression::~TksExpression() { delete FNode; }

bool TksExpression::FlatNumbers(TksNumber* Out) const {
  if (FNumbers.Run(Out)) return true;
  TksNumber Stack[kFlatDepth];
  TksNumber* Top = Stack - 1;
  for (const TFlatStep& S : FFlat) {
    if (S.Store) {
      if (S.Var && S.Var->OnGetVarValue()) return false;
      if (S.Op == Op::opNone) {
        if (!TksOperandNode::ReadNumber(*S.Store, *++Top)) return false;
        continue;
      }
      TksNumber Right;
      if (!TksOperandNode::ReadNumber(*S.Store, Right) || !TksOperatorNode::CombineNumbers(S.Op, *Top, Right))
        return false;
    } else {
      --Top;
      if (!TksOperatorNode::CombineNumbers(S.Op, Top[0], Top[1])) return false;
    }
  }
  Out[0] = Stack[0];
  if (FFlatCompare != Op::opNone) Out[1] = Stack[1];
  return true;
}

Variant TksExpression::GetValue() {
  if (TksNumber N[2]; Flat() && FlatNumbers(N)) {
    if (FFlatCompare != Op::opNone) return Variant(TksOperatorNode::CompareNumbers(FFlatCompare, N[0], N[1]));
    return N[0].IsFloat ? Variant(N[0].Float) : Variant(N[0].Int);
  }
  return FNode ? FNode->Eval() : Variant::MakeNull();
}

void TksExpression::SetValue(const Variant& Value) {
  if (FIsReadOnly) return;
  if (TksDesignator* D = FNode ? FNode->WritableDesignator() : nullptr) D->SetValue(Value);
}

void TksExpression::AttachOperand(TksExpressionNode* Node) {
  FCurNode->AttachChild(Node);
  FCurNode = Node;
}

void TksExpression::AddConst(const Variant& AValue) {
  auto* N = new TksOperandNode;
  N->FValue = AValue;
  N->FType = TypeOfConst(AValue);
  N->FSourcePos = FCurPos;
  AttachOperand(N);
}

void TksExpression::AddDesignator(TksDesignator* ADesignator) {
  auto* N = new TksDesignatorNode(ADesignator);
  N->FSourcePos = FCurPos;
  AttachOperand(N);
}

void TksExpression::AddSet(TksSetExpression* ASet) {
  auto* N = new TksSetNode(ASet);
  N->FType = {fvtVariant, {}};
  N->FSourcePos = FCurPos;
  AttachOperand(N);
}

namespace {

// The operator named by Text, ignoring case; null when there is none. ASCII text is compared
// in place; other text is upper-cased first, as a non-ASCII letter may upper-case to ASCII.
const TOpInfo* FindOperator(const String& Text) {
  // The one-character operators, the most common, straight from their character.
  if (Text.size() == 1 && Text[0] < 128 && kOneCharOps.At[Text[0]] >= 0) return &kOps[kOneCharOps.At[Text[0]]];
  bool Ascii = true;
  for (Char C : Text) Ascii = Ascii && C < 128;
  const String Upper = Ascii ? String() : ksUpperCase(Text);
  const std::u16string_view Key = Ascii ? std::u16string_view(Text) : std::u16string_view(Upper);
  for (const TOpInfo& I : kOps) {
    size_t i = 0;
    for (; i < Key.size() && I.Text[i]; ++i) {
      Char C = Key[i];
      if ((C >= u'a' && C <= u'z' ? C - 32 : C) != I.Text[i]) break;
    }
    if (i == Key.size() && !I.Text[i]) return &I;
  }
  return nullptr;
}

}  // namespace

void TksExpression::AddOperator(const String& OpText) {
  const TOpInfo* Info = FindOperator(OpText);
  if (!Info) return;
  const Op Code = Info->Code;
  const bool Prefix = Code == Op::opLeftBracket || Code == Op::opUnMinus || Code == Op::opNot;
  if (Prefix && (OpText == u"(" || OpText == u"unminus" || OpText == u"not")) {
    auto* N = new TksOperatorNode(Info->Code, false);
    N->FSourcePos = FCurPos;
    AttachOperand(N);
    return;
  }
  if (Info->Code == Op::opRightBracket) {
    TksExpressionNode* N = FCurNode;
    while (N && N->Priority() <= 5) N = N->FParent;
    if (!N || N->Priority() != 6) return;
    TksExpressionNode* Sub = N->FLeft;
    TksExpressionNode* Up = N->FParent;
    Up->DetachChild(N);
    N->FLeft = nullptr;
    delete N;
    Up->AttachChild(Sub);
    FCurNode = Sub ? Sub : Up;
    return;
  }
  auto* N = new TksOperatorNode(Info->Code, std::u16string_view(Info->Text) == u"STRCAT");
  N->FSourcePos = FCurPos;
  int P = Info->Priority;
  if (FCurNode == FNode) {
    FNode->AttachChild(N);
    FCurNode = N;
    return;
  }
  TksExpressionNode* K = FCurNode;
  TksExpressionNode* A = FCurNode->FParent;
  if (FCurNode->Priority() == 6) {
    A = FCurNode;
    K = nullptr;
  }
  while (A->FParent && A->Priority() <= P) {
    K = A;
    A = A->FParent;
  }
  if (K) A->DetachChild(K);
  A->AttachChild(N);
  if (K) N->AttachChild(K);
  FCurNode = N;
}

const TksTypeRec& TksExpression::TypeNode(TksExpressionNode* Node, String& ErrPos) {
  static const TksTypeRec kNone{fvtVariant, {}};
  if (!Node) return kNone;
  auto* O = ksOperatorNode(Node);
  if (!O) return Node->FType;
  const TksTypeRec& L = TypeNode(O->FLeft, ErrPos);
  const TksTypeRec& R = TypeNode(O->FRight, ErrPos);
  if (L.Typ == fvtBool && R.Typ == fvtBool) O->FOptimizeBool = true;
  Op C = O->FOp;
  bool Ok;
  if (C == Op::opIs) {
    Ok = L.Typ == fvtClass && R.Typ == fvtClass;
  } else {
    Ok = TypeRecsCompatible(L, R, FScript);
    if (Ok) switch (L.Typ) {
        case fvtBool:
          Ok = C == Op::opNonEq || C == Op::opEq || C == Op::opOr || C == Op::opXor ||
               C == Op::opAnd || C == Op::opNot || C == Op::opNone;
          break;
        case fvtChar:
        case fvtString: Ok = IsComparison(C) || C == Op::opPlus || C == Op::opIn || C == Op::opNone; break;
        case fvtClass:
        case fvtArray: Ok = C == Op::opNonEq || C == Op::opEq || C == Op::opNone; break;
        default: break;
      }
  }
  if (!Ok && ErrPos.empty()) ErrPos = O->FSourcePos;
  // The children's records are their own nodes', apart from O's: assigned in place.
  if (IsComparison(C) || C == Op::opIn || C == Op::opIs) {
    O->FType.Typ = fvtBool;
    O->FType.TypeName.clear();
  } else if ((L.Typ == fvtInt && R.Typ == fvtFloat) || (L.Typ == fvtFloat && R.Typ == fvtInt) ||
             (L.Typ == fvtInt && R.Typ == fvtInt && C == Op::opDivFloat)) {
    O->FType.Typ = fvtFloat;
    O->FType.TypeName.clear();
  } else {
    O->FType = L;
  }
  return O->FType;
}

String TksExpression::Finalize() {
  TksExpressionNode* Root = FNode->FLeft;
  FNode->FLeft = nullptr;
  delete FNode;
  FNode = Root;
  FFlatState = kFlatUnknown;
  FCurNode = Root;
  if (Root) Root->FParent = nullptr;
  String ErrPos;
  const TksTypeRec& T = TypeNode(FNode, ErrPos);
  FTyp = T.Typ;
  FTypeName = T.TypeName;
  auto* D = ksDesignatorNode(FNode);
  FIsReadOnly = !(D && !D->FDesignator->IsReadOnly());
  return ErrPos;
}

String TksExpression::Optimize(TksDesignator* Designator) {
  auto* O = ksOperatorNode(FNode);
  if (!O || Designator->Kind() != dkVariable || O->FStrCat) return u" ";
  TksCustomVariable* Target = Designator->RefItem();
  String Result;
  switch (O->FOp) {
    case Op::opPlus: Result = u"+"; break;
    case Op::opMinus: Result = u"-"; break;
    case Op::opMul: Result = u"*"; break;
    case Op::opDivFloat: Result = u"/"; break;
    default: return u" ";
  }
  auto SameVar = [&](TksExpressionNode* N) {
    auto* D = ksDesignatorNode(N);
    return D && D->FVar == Target;
  };
  TksExpressionNode* Keep = nullptr;
  if (SameVar(O->FLeft)) {
    Keep = O->FRight;
    O->FRight = nullptr;
  } else if ((O->FOp == Op::opPlus || O->FOp == Op::opMul) && SameVar(O->FRight) &&
             Target->Typ() != fvtString && Target->Typ() != fvtVariant) {
    Keep = O->FLeft;
    O->FLeft = nullptr;
  } else {
    return u" ";
  }
  delete O;
  FNode = Keep;
  FFlatState = kFlatUnknown;
  if (Keep) Keep->FParent = nullptr;
  return Result;
}

void TksExpression::BuildFlat() {
  FFlatState = kFlatNo;
  FFlat.clear();
  FFlatCompare = Op::opNone;
  auto* Root = ksOperatorNode(FNode);
  if (!Root || !Root->Pure()) return;
  bool Ok;
  if (IsComparison(Root->FOp)) {
    FFlatCompare = Root->FOp;
    Ok = AddFlat(Root->FLeft, 0) && AddFlat(Root->FRight, 1);
  } else {
    Ok = AddFlat(Root, 0);
  }
  // One operator on two leaves is quicker through its node, which reads both leaves itself.
  size_t Operators = FFlatCompare == Op::opNone ? 0 : 1;
  for (const TFlatStep& S : FFlat) Operators += S.Op != Op::opNone;
  FNumbers.Clear();
  if (!Ok || Operators < 2) {
    FFlat.clear();
    return;
  }
  FFlatState = kFlatYes;
  std::vector<TksNumberProgram::TSource> Source;
  for (const TFlatStep& S : FFlat) Source.push_back({S.Store, S.Var, S.Op});
  FNumbers.SetSource(std::move(Source), FFlatCompare == Op::opNone ? 1 : 2);
}

bool TksExpression::FlatBool(bool& Out) {
  if (!Flat() || FFlatCompare == Op::opNone) return FNode && FNode->TryBool(Out);
  TksNumber N[2];
  if (!FlatNumbers(N)) return false;
  Out = TksOperatorNode::CompareNumbers(FFlatCompare, N[0], N[1]);
  return true;
}

bool TksExpression::FlatNumber(TksNumber& Out) {
  if (!Flat()) return FNode && FNode->TryNumber(Out);
  if (FFlatCompare == Op::opNone && FNumbers.Run(&Out)) return true;
  TksNumber N[2];
  if (FFlatCompare != Op::opNone || !FlatNumbers(N)) return false;
  Out = N[0];
  return true;
}

// Depth is the number of values held before Node's own. A comparison below the root never
// gives a number, so such a tree keeps the node-by-node path (which gives up as well).
bool TksExpression::AddFlat(TksExpressionNode* Node, int Depth) {
  if (Depth >= kFlatDepth) return false;
  const TksCustomVariable* Var;
  if (const Variant* Store = Node->Store(Var)) {
    FFlat.push_back({Store, Var, Op::opNone});
    return true;
  }
  auto* O = ksOperatorNode(Node);
  if (!O || IsComparison(O->FOp) || !O->FLeft || !O->FRight || !AddFlat(O->FLeft, Depth)) return false;
  // A leaf on the right is read by the operator's own step.
  if (const Variant* Store = O->FRight->Store(Var)) {
    FFlat.push_back({Store, Var, O->FOp});
    return true;
  }
  if (!AddFlat(O->FRight, Depth + 1)) return false;
  FFlat.push_back({nullptr, nullptr, O->FOp});
  return true;
}

TksCustomVariable* TksExpression::SingleItem() const {
  if (auto* D = ksDesignatorNode(FNode)) return D->FVar;
  return nullptr;
}
