// ks_iilparser_compile.cpp - TksILParser, second half: the program-tree compiler that turns
// declarations, statements, expressions and designators into run-time objects.
#include <exception>
#include <iterator>
#include <memory>
#include <new>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Handles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "script/ks_iexpression.h"
#include "script/ks_iilparser.h"
#include "script/ks_iilparser_p.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_imessages.h"
#include "script/ks_isyntaxtree.h"
#include "script/ks_itools.h"

namespace {

[[noreturn]] void Fail(const String& Msg) { throw Exception(Msg); }
[[noreturn]] void FailName(const String& Msg, const String& Name) { throw Exception(Msg + u"'" + Name + u"'"); }
const String kNoPos;
// An operator's position while an expression is first built: see BuildExpression.
const String kSomePos = u"?";

// Operands and operators of the expressions being built, the one being built and those whose
// arguments it is in. An expression tree is as deep as its chain of operators (1+1+...+1), and
// evaluating, typing and freeing it recurse once per level, also into the expressions of its
// arguments; this bound keeps that recursion far inside an 8 MB stack, sanitizers included.
int ExprNodesOpen = 0;  // the compiler runs on one thread
constexpr int kMaxExprNodes = 2000;

// The operands and operators an expr element adds to its expression (brackets included).
int ExprNodeCount(TksSyntaxNode* E) {
  int N = 0;
  for (int i = 0; i < E->Count(); ++i) {
    TksSyntaxNode* C = E->Items(i);
    N += C->Is(nnExpr) ? ExprNodeCount(C) : 1;
  }
  return N;
}

// Counts an expression's nodes while it is built; "Expression too complex" past the bound.
class TExprNodesGuard {
public:
  explicit TExprNodesGuard(int Nodes) : FNodes(Nodes) {
    if (ExprNodesOpen + Nodes > kMaxExprNodes) Fail(u"Expression too complex");
    ExprNodesOpen += Nodes;
  }
  ~TExprNodesGuard() { ExprNodesOpen -= FNodes; }
  TExprNodesGuard(const TExprNodesGuard&) = delete;
  TExprNodesGuard& operator=(const TExprNodesGuard&) = delete;

private:
  int FNodes;
};

// The element each step of a designator was read from, whose position the step's errors
// report. Designators have few steps; those past the first few go into a vector.
class TStepNodes {
public:
  void Set(const TksDesignatorItem* Step, const TksSyntaxNode* X) {
    if (FCount < std::size(FSmall)) FSmall[FCount++] = {Step, X};
    else FMore.push_back({Step, X});
  }
  const TksSyntaxNode* Of(const TksDesignatorItem* Step) const {
    for (size_t i = 0; i < FCount; ++i)
      if (FSmall[i].first == Step) return FSmall[i].second;
    for (auto& [S, X] : FMore)
      if (S == Step) return X;
    return nullptr;
  }

private:
  std::pair<const TksDesignatorItem*, const TksSyntaxNode*> FSmall[6];
  size_t FCount = 0;
  std::vector<std::pair<const TksDesignatorItem*, const TksSyntaxNode*>> FMore;
};

}  // namespace

// The compiler works on one TksILParser's context; its operations are named as the engine
// names them.
class TksTreeCompiler {
public:
  explicit TksTreeCompiler(TksILParser& AP) : P(AP) {}

  // Makes the element's position, when it has one, the one errors report. The text is written
  // only when an error needs it.
  void SetPos(const TksSyntaxNode* X) {
    if (X->HasPos()) P.FErrorNode = X;
  }

  // ---- Programs and statements ----
  void DeclareRoutines(TksSyntaxNode* E, TksScript* S) {
    for (int i = 0; i < E->Count(); ++i) {
      TksSyntaxNode* C = E->Items(i);
      if (C->Is(nnCompoundStmt)) DeclareRoutines(C, S);
      else if (C->Is(nnProcedure) || C->Is(nnFunction)) DeclareRoutine(C, S);
    }
  }

  void CompileProgram(TksSyntaxNode* E, TksScript* S) {
    TksSyntaxNode* Saved = P.FProgRoot;
    P.FProgRoot = E;
    DeclareRoutines(E, S);
    for (int i = 0; i < E->Count(); ++i) CompileStatement(E->Items(i), S, S->Statement());
    P.FProgRoot = Saved;
  }

  template <class T>
  T* NewStmt(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    SetPos(E);
    const String Pos = E->Pos();
    auto* St = new T(S, P.FUnitName, Pos);
    List->Add(St);
    P.FProgram->AddCodeLine(P.FUnitName, Pos);
    return St;
  }

  void CompileStatement(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    switch (E->NameId()) {
      case nnAssignStmt: Assign(E, S, List); break;
      case nnCallStmt: Call(E, S, List); break;
      case nnIfStmt: If(E, S, List); break;
      case nnCaseStmt: Case(E, S, List); break;
      case nnForStmt: For(E, S, List); break;
      case nnVbForStmt: VbFor(E, S, List); break;
      case nnCppForStmt: CppFor(E, S, List); break;
      case nnWhileStmt: While(E, S, List); break;
      case nnRepeatStmt: Repeat(E, S, List); break;
      case nnTryStmt: Try(E, S, List); break;
      case nnBreak: NewStmt<TksBreakStmt>(E, S, List); break;
      case nnContinue: NewStmt<TksContinueStmt>(E, S, List); break;
      case nnExit: NewStmt<TksExitStmt>(E, S, List); break;
      case nnReturn: Return(E, S, List); break;
      case nnWith: With(E, S, List); break;
      case nnDelete: Delete(E, S, List); break;
      case nnCompoundStmt: case nnThenStmt: case nnElseStmt: case nnFinallyStmt: case nnExceptStmt:
        for (int i = 0; i < E->Count(); ++i) CompileStatement(E->Items(i), S, List);
        break;
      case nnUses: Uses(E, S); break;
      case nnVar: Var(E, S, List); break;
      case nnConst: Const(E, S); break;
      case nnProcedure: case nnFunction: RoutineBody(E, S); break;
      default: break;
    }
  }

  void CompileInto(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    if (E) CompileStatement(E, S, List);
  }

  void CheckAssignTypes(TksCustomVariable* Target, TksCustomVariable* Source) {
    if (!VariablesCompatible(Target, Source, P.FProgram))
      Fail(SIncompatibleTypes + u": '" + Target->GetFullTypeName() + u"', '" +
           Source->GetFullTypeName() + u"'");
  }

  void Assign(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    // BasicScript's Set wraps a whole assignment.
    if (E->Count() == 1 && E->Items(0)->Is(nnAssignStmt)) return Assign(E->Items(0), S, List);
    SetPos(E);
    std::unique_ptr<TksDesignator> D(P.DoDesignator(E->Items(0), S));
    int Next = 1;
    String Mod;
    if (E->Count() > 2 && E->Items(1)->Is(nnModificator)) {
      Mod = E->Items(1)->Text();
      Next = 2;
    }
    std::unique_ptr<TksExpression> X(BuildExpression(E->Items(Next), S));
    SetPos(E);
    if (D->IsReadOnly()) Fail(SLeftCantAssigned);
    CheckAssignTypes(D.get(), X.get());
    if (Mod.empty()) {
      Mod = X->Optimize(D.get());
      // A lone expression left after the rewrite keeps the checked type.
    }
    TksAssignmentStmt* St;
    switch (Mod.empty() ? u' ' : Mod[0]) {
      case u'+': St = NewStmt<TksAssignPlusStmt>(E, S, List); break;
      case u'-': St = NewStmt<TksAssignMinusStmt>(E, S, List); break;
      case u'*': St = NewStmt<TksAssignMulStmt>(E, S, List); break;
      case u'/': St = NewStmt<TksAssignDivStmt>(E, S, List); break;
      default: St = NewStmt<TksAssignmentStmt>(E, S, List);
    }
    St->FDesignator = D.release();
    St->FExpression = X.release();
    St->Optimize();
  }

  void Call(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    SetPos(E);
    std::unique_ptr<TksDesignator> D(P.DoDesignator(E->Items(0), S));
    String Mod;
    if (E->Count() > 1) {
      Mod = E->Items(1)->Text();
      if (D->IsReadOnly()) Fail(SLeftCantAssigned);
    }
    auto* St = NewStmt<TksCallStmt>(E, S, List);
    St->FDesignator = D.release();
    St->FModificator = Mod;
  }

  void If(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    std::unique_ptr<TksExpression> C(BuildExpression(E->Items(0), S));
    auto* St = NewStmt<TksIfStmt>(E, S, List);
    St->FCondition = C.release();
    for (int i = 1; i < E->Count(); ++i) {
      TksSyntaxNode* X = E->Items(i);
      if (X->Is(nnThenStmt)) CompileStatement(X, S, St);
      else if (X->Is(nnElseStmt)) CompileStatement(X, S, St->FElseStmt.get());
    }
  }

  TksSetExpression* BuildSet(TksSyntaxNode* E, TksScript* S) {
    auto Set = std::make_unique<TksSetExpression>();
    for (int i = 0; i < E->Count(); ++i) {
      TksSyntaxNode* X = E->Items(i);
      if (X->Is(nnExpr)) Set->Items.push_back(BuildExpression(X, S));
      else if (X->Is(nnRange)) Set->Items.push_back(nullptr);
    }
    return Set.release();
  }

  void Case(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    std::unique_ptr<TksExpression> C(BuildExpression(E->Items(0), S));
    auto* St = NewStmt<TksCaseStmt>(E, S, List);
    St->FCondition = C.release();
    int N = E->Count();
    for (int i = 1; i < N; ++i) {
      TksSyntaxNode* X = E->Items(i);
      if (X->Is(nnCaseSelector)) {
        if (X->Count() < 1) continue;
        SetPos(X);
        auto* Sel = new TksCaseSelector(S, P.FUnitName, X->Pos());
        St->Add(Sel);
        Sel->FSetExpression = BuildSet(X->Items(0), S);
        // A selector without a statement matches and does nothing.
        if (X->Count() > 1) CompileStatement(X->Items(1), S, Sel);
      } else if (i == N - 1) {
        CompileStatement(X, S, St->FElseStmt.get());
      }
    }
  }

  TksCustomVariable* LoopVariable(TksSyntaxNode* E, TksScript* S) {
    SetPos(E);
    TksSyntaxNode* Id = E->Items(0);
    SetPos(Id);
    TksCustomVariable* V = LookupVariable(S, Id->Text());
    if (!dynamic_cast<TksVariable*>(V) ||
        !(V->Typ() == fvtInt || V->Typ() == fvtFloat || V->Typ() == fvtVariant))
      Fail(SForError);
    return V;
  }

  TksExpression* LoopBound(TksSyntaxNode* E, TksScript* S, TksCustomVariable* V) {
    std::unique_ptr<TksExpression> X(BuildExpression(E, S));
    CheckAssignTypes(V, X.get());
    return X.release();
  }

  void VbFor(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    TksCustomVariable* V = LoopVariable(E, S);
    std::unique_ptr<TksExpression> B(LoopBound(E->Items(1), S, V));
    std::unique_ptr<TksExpression> End(LoopBound(E->Items(2), S, V));
    std::unique_ptr<TksExpression> Step;
    int i = 3;
    if (i < E->Count() && E->Items(i)->Is(nnExpr)) Step.reset(LoopBound(E->Items(i++), S, V));
    auto* St = NewStmt<TksVbForStmt>(E, S, List);
    St->FVariable = V;
    St->FBeginValue = B.release();
    St->FEndValue = End.release();
    St->FStep = Step.release();
    for (; i < E->Count(); ++i) CompileStatement(E->Items(i), S, St);
  }

  void For(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    TksCustomVariable* V = LoopVariable(E, S);
    std::unique_ptr<TksExpression> B(BuildExpression(E->Items(1), S));
    CheckAssignTypes(V, B.get());
    int i = 2;
    bool Down = false;
    if (i < E->Count() && E->Items(i)->Is(nnDownto)) {
      Down = true;
      ++i;
    }
    std::unique_ptr<TksExpression> End(BuildExpression(E->Items(i++), S));
    CheckAssignTypes(V, End.get());
    auto* St = NewStmt<TksForStmt>(E, S, List);
    St->FVariable = V;
    St->FDown = Down;
    St->FBeginValue = B.release();
    St->FEndValue = End.release();
    for (; i < E->Count(); ++i) CompileStatement(E->Items(i), S, St);
  }

  void CppFor(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    auto* St = NewStmt<TksCppForStmt>(E, S, List);
    // JScript's first part is not wrapped in a compound statement, and a var part yields one
    // element per variable: everything before the condition is the first part.
    int Cond = 0;
    while (Cond < E->Count() && !E->Items(Cond)->Is(nnExpr)) ++Cond;
    if (Cond == E->Count()) Fail(u"Expression expected");
    for (int i = 0; i < Cond; ++i) CompileStatement(E->Items(i), S, St->FFirstStmt.get());
    St->FExpression = BuildExpression(E->Items(Cond), S);
    if (Cond + 1 < E->Count()) CompileStatement(E->Items(Cond + 1), S, St->FSecondStmt.get());
    for (int i = Cond + 2; i < E->Count(); ++i) CompileStatement(E->Items(i), S, St);
  }

  void While(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    std::unique_ptr<TksExpression> C(BuildExpression(E->Items(0), S));
    auto* St = NewStmt<TksWhileStmt>(E, S, List);
    St->FCondition = C.release();
    for (int i = 1; i < E->Count(); ++i) CompileStatement(E->Items(i), S, St);
  }

  void Repeat(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    int N = E->Count();
    bool Inverse = N > 0 && E->Items(N - 1)->Is(nnInverse);
    int CondAt = Inverse ? N - 2 : N - 1;
    std::unique_ptr<TksExpression> C(BuildExpression(E->Items(CondAt), S));
    auto* St = NewStmt<TksRepeatStmt>(E, S, List);
    St->FCondition = C.release();
    St->FInverseCondition = Inverse;
    for (int i = 0; i < CondAt; ++i) CompileStatement(E->Items(i), S, St);
  }

  void Try(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    auto* St = NewStmt<TksTryStmt>(E, S, List);
    for (int i = 0; i < E->Count(); ++i) {
      TksSyntaxNode* X = E->Items(i);
      if (X->Is(nnExceptStmt)) {
        St->FIsExcept = true;
        CompileStatement(X, S, St->FExceptStmt.get());
      } else if (X->Is(nnFinallyStmt)) {
        CompileStatement(X, S, St->FExceptStmt.get());
      } else {
        CompileStatement(X, S, St);
      }
    }
  }

  void Return(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    if (E->Count() == 1) {
      // return X is Result := X, then exit.
      const String Pos = u"pos=\"" + ksStrToXML(E->Items(0)->Pos()) + u"\"";
      TksSyntaxTree& T = *P.FTree;
      TksSyntaxNode* D = T.NewRawNode(u"dsgn", Pos);
      TksSyntaxNode* N = T.NewRawNode(u"node", u"text=\"Result\" " + Pos);
      T.SetChildren(D, &N, 1);
      T.InsertChild(E, 0, D);
      Assign(E, S, List);
    }
    NewStmt<TksExitStmt>(E, S, List);
  }

  void With(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    size_t Added = 0;
    for (int i = 0; i + 1 < E->Count(); ++i) {
      TksSyntaxNode* X = E->Items(i);
      SetPos(X);
      std::unique_ptr<TksDesignator> D(P.DoDesignator(X, S));
      if (D->Typ() != fvtClass && D->Typ() != fvtVariant) Fail(SClassRequired);
      String Name;
      for (int k = 0;; ++k) {
        Name = u"_WithList_" + IntToStr(k);
        bool Used = S->FindLocal(Name) != nullptr;
        for (auto& W : P.FWithList) Used = Used || ksSameText(W.first, Name);
        if (!Used) break;
      }
      auto* V = new TksVariable(Name, D->Typ(), D->TypeName());
      S->Add(Name, V);
      auto* St = NewStmt<TksWithStmt>(E, S, List);
      St->FVariable = V;
      St->FDesignator = D.release();
      P.FWithList.emplace_back(Name, St);
      ++Added;
    }
    try {
      if (E->Count()) CompileStatement(E->Items(E->Count() - 1), S, List);
    } catch (...) {
      P.FWithList.resize(P.FWithList.size() - Added);
      throw;
    }
    P.FWithList.resize(P.FWithList.size() - Added);
  }

  void Delete(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    SetPos(E);
    std::unique_ptr<TksDesignator> D(P.DoDesignator(E->Items(0), S, emFree));
    auto* St = NewStmt<TksCallStmt>(E, S, List);
    St->FDesignator = D.release();
  }

  void Uses(TksSyntaxNode* E, TksScript* S) {
    String Saved = P.FUnitName;
    P.FUnitName = E->Prop(u"unit");
    String Text;
    if (P.FProgram->OnGetILUnit()) P.FProgram->OnGetILUnit()(P.FProgram, P.FUnitName, Text);
    if (!Text.empty()) {
      TksXMLDocument Doc;
      Doc.LoadFromString(StringToUtf8(Text));
      CompileProgram(P.FTree->FromXML(Doc.Root()), S);
    } else {
      for (int i = 0; i < E->Count(); ++i) CompileProgram(E->Items(i), S);
    }
    P.FUnitName = Saved;
  }

  // ---- Declarations ----
  void CheckRedeclared(TksScript* S, const String& Name) {
    if (S->FindLocal(Name)) FailName(SIdRedeclared, Name);
  }

  void Var(TksSyntaxNode* E, TksScript* S, TksStatement* List) {
    for (int i = 0; i < E->Count(); ++i) {
      TksSyntaxNode* Id = E->Items(i);
      if (!Id->Is(nnIdent)) continue;
      SetPos(Id);
      String Name = Id->Text();
      CheckRedeclared(S, Name);
      TksCustomVariable* V = MakeVariable(E, S, false, false, List, Name, E);
      S->Add(Name, V);
    }
  }

  TksCustomVariable* MakeVariable(TksSyntaxNode* E, TksScript* S, bool IsVarParam, bool IsParam,
                                  TksStatement* List, const String& Name, TksSyntaxNode* PosOf) {
    String EntryPos = P.ErrorPos();
    String TypeName = u"Variant";
    int TypeAt = -1;
    for (int i = 0; i < E->Count(); ++i)
      if (E->Items(i)->Is(nnType)) {
        TypeAt = i;
        break;
      }
    int NameAt = -1;
    for (int i = 0; i < E->Count(); ++i)
      if (E->Items(i)->Is(nnIdent) && E->Items(i)->Text() == Name) {
        NameAt = i;
        break;
      }
    bool TypeFirst = TypeAt == 0;
    int LastName = -1;
    for (int i = 0; i < E->Count(); ++i)
      if (E->Items(i)->Is(nnIdent)) LastName = i;
    if (TypeAt >= 0) {
      TypeName = E->Items(TypeAt)->Text();
      SetPos(E->Items(TypeAt));
    }
    TksVarType Typ = ResolveTypeName(TypeName, S);
    Variant Init;
    switch (Typ) {
      case fvtBool: Init = Variant(false); break;
      case fvtChar: case fvtString: Init = Variant(String()); break;
      case fvtArray: case fvtVariant: case fvtEnum: case fvtConstructor: Init = Variant::MakeNull(); break;
      default: Init = Variant(0);
    }
    // The parts that apply to this name: after the type for the PascalScript form, after the
    // name up to the next name for the C form.
    int From = TypeFirst ? NameAt + 1 : LastName + 1;
    TksSyntaxNode* ArrayItem = nullptr;
    TksSyntaxNode* InitItem = nullptr;
    for (int i = From; i < E->Count(); ++i) {
      TksSyntaxNode* X = E->Items(i);
      if (TypeFirst && X->Is(nnIdent)) break;
      if (X->Is(nnArray)) ArrayItem = X;
      else if (X->Is(nnInit)) InitItem = X;
    }
    if (!TypeFirst && TypeAt < 0) {
      // No type at all: parts follow the name.
      for (int i = NameAt + 1; i < E->Count() && !E->Items(i)->Is(nnIdent); ++i) {
        if (E->Items(i)->Is(nnArray)) ArrayItem = E->Items(i);
        else if (E->Items(i)->Is(nnInit)) InitItem = E->Items(i);
      }
    }
    std::unique_ptr<TksCustomVariable> V;
    TksArrayHelper* Helper = nullptr;
    if (ArrayItem) {
      std::vector<std::pair<int, int>> Dims;
      for (int i = 0; i < ArrayItem->Count(); ++i) {
        TksSyntaxNode* D = ArrayItem->Items(i);
        if (!D->Is(nnDim)) continue;
        std::vector<int> B;
        for (int k = 0; k < D->Count(); ++k)
          if (D->Items(k)->Is(nnExpr)) {
            std::unique_ptr<TksExpression> X(BuildExpression(D->Items(k), S));
            B.push_back(X->GetValue().AsInteger());
          }
        if (B.size() >= 2) Dims.emplace_back(B[0], B[1]);
        else if (B.size() == 1) Dims.emplace_back(0, B[0] - 1);
      }
      if (Dims.empty()) Dims.emplace_back(0, 0);
      Init = MakeArray(Dims, 0);
      Helper = new TksArrayHelper(String(), static_cast<int>(Dims.size()), Typ, TypeName);
      S->Add(String(), Helper);
      Typ = fvtArray;
    }
    if (IsParam) {
      V = std::make_unique<TksParamItem>(Name, Typ, TypeName, InitItem != nullptr, IsVarParam);
    } else if (Typ == fvtChar || Typ == fvtString) {
      V = std::make_unique<TksStringVariable>(Name, Typ, TypeName);
    } else {
      V = std::make_unique<TksVariable>(Name, Typ, TypeName);
    }
    if (InitItem && !List) {
      std::unique_ptr<TksExpression> X(BuildExpression(InitItem->Items(0), S));
      CheckAssignTypes(V.get(), X.get());
      Init = X->GetValue();
      if (auto* PI = dynamic_cast<TksParamItem*>(V.get())) PI->SetDefValue(Init);
    }
    V->SetValue(Init);
    V->SetRefItem(Helper);
    V->SetSourcePos(EntryPos);
    V->SetSourceUnit(P.FUnitName);
    V->SetOnGetVarValue(P.FProgram->OnGetVarValue());
    if (InitItem && List) {
      std::unique_ptr<TksExpression> X(BuildExpression(InitItem->Items(0), S));
      CheckAssignTypes(V.get(), X.get());
      auto* D = new TksVariableDesignator(S);
      TksDesignatorItem* It = D->AddItem();
      It->Ref = V.get();
      D->Finalize();
      auto* St = NewStmt<TksAssignmentStmt>(PosOf, S, List);
      St->FDesignator = D;
      St->FExpression = X.release();
      St->Optimize();
    }
    return V.release();
  }

  static Variant MakeArray(const std::vector<std::pair<int, int>>& Dims, size_t At) {
    Variant A = VarArrayCreate(Dims[At].first, Dims[At].second, varVariant);
    if (At + 1 < Dims.size())
      for (int i = Dims[At].first; i <= Dims[At].second; ++i) A[i] = MakeArray(Dims, At + 1);
    return A;
  }

  void Const(TksSyntaxNode* E, TksScript* S) {
    TksSyntaxNode* Id = E->Items(0);
    SetPos(Id);
    String Name = Id->Text();
    CheckRedeclared(S, Name);
    std::unique_ptr<TksExpression> X(BuildExpression(E->Items(1), S));
    // Owned here until added: evaluating the value may raise (1 div 0).
    auto V = std::make_unique<TksVariable>(Name, X->Typ(), X->TypeName());
    V->SetValue(X->GetValue());
    V->SetIsReadOnly(true);
    V->SetSourcePos(Id->Pos());
    S->Add(Name, V.release());
  }

  TksSyntaxNode* ChildNamed(TksSyntaxNode* E, TksNodeName Name) {
    for (int i = 0; i < E->Count(); ++i)
      if (E->Items(i)->Is(Name)) return E->Items(i);
    return nullptr;
  }

  String RoutineName(TksSyntaxNode* E) {
    if (TksSyntaxNode* N = ChildNamed(E, nnName)) return N->Text();
    return E->Count() ? E->Items(0)->Text() : String();
  }

  void DeclareRoutine(TksSyntaxNode* E, TksScript* S) {
    SetPos(E);
    bool IsFunction = E->Is(nnFunction);
    TksVarType Typ = IsFunction ? fvtVariant : fvtInt;
    String TypeName;
    if (IsFunction)
      if (TksSyntaxNode* T = ChildNamed(E, nnType)) {
        SetPos(T);
        TypeName = T->Text();
        Typ = ResolveTypeName(TypeName, S);
      }
    String Name = RoutineName(E);
    if (TksSyntaxNode* N = ChildNamed(E, nnName)) SetPos(N);
    CheckRedeclared(S, Name);
    bool IsFunc = IsFunction && !ksSameText(TypeName, u"void");
    auto* R = new TksProcVariable(Name, Typ, TypeName, S, IsFunc);
    R->SetSourcePos(E->Pos());
    R->SetSourceUnit(P.FUnitName);
    S->Add(Name, R);
    for (int i = 0; i < E->Count(); ++i)
      if (E->Items(i)->Is(nnParameters)) Parameters(E->Items(i), R);
  }

  void Parameters(TksSyntaxNode* E, TksProcVariable* R) {
    TksScript* Local = R->Prog();
    bool VarGroup = false;
    for (int i = 0; i < E->Count(); ++i) {
      TksSyntaxNode* G = E->Items(i);
      if (G->Is(nnVarParams)) {
        VarGroup = true;
        continue;
      }
      if (!G->Is(nnVar)) continue;
      bool VarNext = VarGroup;
      VarGroup = false;
      for (int k = 0; k < G->Count(); ++k) {
        TksSyntaxNode* X = G->Items(k);
        if (X->Is(nnVarParam)) VarNext = true;
        if (!X->Is(nnIdent)) continue;
        SetPos(X);
        String Name = X->Text();
        CheckRedeclared(Local, Name);
        auto* Param = static_cast<TksParamItem*>(MakeVariable(G, Local, VarNext, true, nullptr, Name, G));
        R->AddParam(Param);
        Local->Add(Name, Param);
        if (G->Items(0)->Is(nnType)) VarNext = false;
      }
    }
  }

  void RoutineBody(TksSyntaxNode* E, TksScript* S) {
    auto* R = dynamic_cast<TksProcVariable*>(S->FindLocal(RoutineName(E)));
    if (!R) return;
    TksSyntaxNode* Saved = P.FProgRoot;
    P.FProgRoot = E;
    TksScript* L = R->Prog();
    DeclareRoutines(E, L);
    for (int i = 0; i < E->Count(); ++i) {
      TksSyntaxNode* C = E->Items(i);
      if (C->Is(nnName) || C->Is(nnType) || C->Is(nnParameters)) continue;
      CompileStatement(C, L, L->Statement());
    }
    P.FProgRoot = Saved;
  }

  TksVarType ResolveTypeName(String& Name, TksScript* S) {
    auto Alias = [&](TksSyntaxNode* Types) {
      if (!Types) return false;
      int i = Types->Find(Name);
      if (i < 0) return false;
      Name = Types->Items(i)->Prop(u"type");
      return true;
    };
    TksSyntaxNode* Types = P.FProgRoot ? ChildNamed(P.FProgRoot, nnTypes) : nullptr;
    if (!Alias(Types) && P.FGrammar) Alias(P.FGrammar->TypesNode);
    TksCustomVariable* T = S->Find(Name);
    if (T && !dynamic_cast<TksClassVariable*>(T)) return T->Typ();
    if (!S->FindClass(Name)) FailName(SUnknownType, Name);
    return fvtClass;
  }

  TksCustomVariable* LookupVariable(TksScript* S, const String& Name) {
    if (TksCustomVariable* V = S->Find(Name)) return V;
    if (P.FNeedDeclareVars) FailName(SIdUndeclared, Name);
    auto* V = new TksVariable(Name, fvtVariant, String());
    P.FProgram->Add(Name, V);
    return V;
  }

  // ---- Expressions ----
  void AddExprChildren(TksExpression* X, TksSyntaxNode* E, TksScript* S) {
    int N = E->Count();
    for (int i = 0; i < N; ++i) {
      TksSyntaxNode* C = E->Items(i);
      SetPos(C);
      const TksNodeName Name = C->NameId();
      // Only operators keep their position: the type check reports an operator's.
      X->SetCurrentPos(Name != nnOp ? kNoPos : FOpPositions ? C->Pos() : C->HasPos() ? kSomePos : kNoPos);
      if (Name == nnOp) {
        String T = C->Text();
        for (Char& Ch : T)
          if (Ch >= u'A' && Ch <= u'Z') Ch = static_cast<Char>(Ch + 32);
          else if (Ch >= 128) {
            T = ksLowerCase(T);
            break;
          }
        if (i == N - 1 && T != u")") continue;
        X->AddOperator(T);
      } else if (Name == nnNumber || Name == nnString) {
        X->AddConst(LiteralToVariant(C->Text()));
      } else if (Name == nnDsgn) {
        X->AddDesignator(P.DoDesignator(C, S));
      } else if (Name == nnSet) {
        X->AddSet(BuildSet(C, S));
      } else if (Name == nnNew) {
        X->AddDesignator(P.DoDesignator(C->Items(0), S, emCreate));
      } else if (Name == nnExpr) {
        AddExprChildren(X, C, S);
      }
    }
  }

  TksExpression* BuildExpression(TksSyntaxNode* E, TksScript* S) {
    SetPos(E);
    const String Pos = E->Pos();
    TExprNodesGuard Guard(ExprNodeCount(E));
    auto X = std::make_unique<TksExpression>(S);
    AddExprChildren(X.get(), E, S);
    String Bad = X->Finalize();
    if (!Bad.empty() && !FOpPositions) {
      // Operators were given a stand-in for their position, as the texts are needed only
      // here: the expression is built again with them to name the ill-typed operator's.
      X = std::make_unique<TksExpression>(S);
      FOpPositions = true;
      try {
        AddExprChildren(X.get(), E, S);
      } catch (...) {
        FOpPositions = false;
        throw;
      }
      FOpPositions = false;
      Bad = X->Finalize();
    }
    if (!Bad.empty()) {
      P.SetErrorPos(Bad);
      Fail(SIncompatibleTypes);
    }
    X->SetSourcePos(Pos);
    X->SetSource(SourceText(E, Pos));
    return X.release();
  }

  // The source between the expression's start position A and its end (attribute pos1).
  String SourceText(TksSyntaxNode* E, const String& A) {
    if (A.empty() || !E->HasEndPoint() || P.FParser->Size() == 0) return {};
    int From = P.FParser->GetPlainPosition(E->StartPoint());
    int To = P.FParser->GetPlainPosition(E->EndPoint());
    if (From < 1 || To < From) return {};
    return String(P.FParser->Text().substr(From - 1, To - From));
  }

  TksILParser& P;
  bool FOpPositions = false;  // operators are given their position texts (see BuildExpression)
};

// ---- Designators ----------------------------------------------------------------------------

TksDesignator* TksILParser::DoDesignator(TksSyntaxNode* xi, TksScript* Prog, TksEmitOp EmitOp) {
  TksTreeCompiler C(*this);
  // A lone name (no arguments, steps or with block to bind late through) is mostly a plain
  // variable: its designator is made of that kind at once rather than moved into one below.
  const bool LoneName = EmitOp == emNone && FWithList.empty() && xi->Count() == 1 &&
                        xi->Items(0)->Is(nnNode);
  std::unique_ptr<TksDesignator> D;
  if (LoneName) D = std::make_unique<TksVariableDesignator>(Prog);
  else D = std::make_unique<TksDesignator>(Prog);
  auto LateBind = [&](std::unique_ptr<TksXMLItem> Src) {
    D->SetLateBindingXmlSource(std::move(Src));
    D->Finalize();
    D->SetTyp(fvtVariant);
  };
  auto CopyOf = [&](TksSyntaxNode* X) { return TksSyntaxTree::ToXML(X); };
  TStepNodes Steps;
  for (int i = 0; i < xi->Count(); ++i) {
    TksSyntaxNode* X = xi->Items(i);
    C.SetPos(X);
    const TksNodeName Name = X->NameId();
    if (Name == nnExpr) {
      if (!D->ItemCount()) continue;
      D->Item(D->ItemCount() - 1)->Args.push_back(C.BuildExpression(X, Prog));
      continue;
    }
    if (Name == nnAddr) {
      if (xi->Count() != 2) throw Exception(SVarRequired);
      auto* V = new TksVariable(String(), fvtString, String());
      V->SetValue(Variant(xi->Items(1)->Text()));
      Prog->Add(String(), V);
      D->AddItem()->Ref = V;
      break;
    }
    if (Name != nnNode) continue;
    String T = X->Text();
    if (!D->ItemCount()) {
      // First step: with variables, innermost first.
      bool Done = false;
      for (auto W = FWithList.rbegin(); W != FWithList.rend() && !Done; ++W) {
        TksCustomVariable* WV = Prog->FindLocal(W->first);
        if (!WV) continue;
        if (WV->Typ() == fvtVariant) {
          if (Prog->Find(T)) break;
          TksDesignatorItem* It = D->AddItem();
          It->Ref = WV;
          auto Src = CopyOf(xi);
          auto* First = new TksXMLItem;
          First->SetName(u"node");
          First->SetProp(u"text", W->first);
          Src->InsertItem(0, First);
          LateBind(std::move(Src));
          return D.release();
        }
        TksClassVariable* Cls = Prog->FindClass(WV->TypeName());
        if (Cls && Cls->Find(T)) {
          D->AddItem()->Ref = WV;
          TksDesignatorItem* It = D->AddItem();
          It->Ref = Cls->Find(T);
          Steps.Set(It, X);
          Done = true;
        }
      }
      if (Done) continue;
      TksDesignatorItem* It = D->AddItem();
      Steps.Set(It, X);
      It->Ref = C.LookupVariable(Prog, T);
      if (EmitOp == emCreate) {
        auto* Cls = dynamic_cast<TksClassVariable*>(It->Ref);
        if (!Cls) throw Exception(SClassRequired);
        TksDesignatorItem* Ctor = D->AddItem();
        Ctor->Ref = Cls->Find(u"Create");
        if (!Ctor->Ref) throw Exception(SIdUndeclared + u"'Create'");
      }
      continue;
    }
    TksDesignatorItem* Prev = D->Item(D->ItemCount() - 1);
    TksCustomVariable* R = Prev->Ref;
    auto* M = dynamic_cast<TksMethodHelper*>(R);
    if (M && M->IndexMethod() && !Prev->Flag) {
      Prev->Flag = true;
      if (T != u"[") {
        if (const TksSyntaxNode* N = Steps.Of(Prev)) C.SetPos(N);
        throw Exception(SIndexRequired);
      }
      continue;
    }
    TksVarType K = R->Typ();
    String TypeName = R->TypeName();
    if (K == fvtVariant) {
      Variant V = R->GetValue();
      if (V.IsNull() || V.IsEmpty()) {
        while (D->ItemCount() > 1) D->DeleteItem(D->ItemCount() - 1);
        LateBind(CopyOf(xi));
        return D.release();
      }
      if (V.IsString()) K = fvtString;
      else if (V.IsArray()) {
        if (T != u"[") throw Exception(SIndexRequired);
        TksDesignatorItem* It = D->AddItem();
        It->Ref = Prog->Find(u"__ArrayHelper");
        Steps.Set(It, X);
        continue;
      } else if (V.IsHandle() && DefaultHandleRegistry().IsValid(V.AsHandle())) {
        TypeName = Utf8ToString(DefaultHandleRegistry().TypeTagOf(V.AsHandle()));
        if (TypeName == u"TObject") {
          // The nearest class of the object's line that scripts know.
          TClass C = ksVariantToObject(V)->ClassType();
          while (C->Parent() && !Prog->FindClass(C->Name())) C = C->Parent();
          TypeName = C->Name();
        }
        K = fvtClass;
      } else {
        throw Exception(SIdUndeclared + u"'" + T + u"'");
      }
    }
    TksDesignatorItem* It = D->AddItem();
    Steps.Set(It, X);
    if (K == fvtString) {
      if (T != u"[") throw Exception(SStringError);
      It->Ref = Prog->Find(u"__StringHelper");
    } else if (K == fvtClass) {
      TksClassVariable* Cls = Prog->FindClass(TypeName);
      if (!Cls) throw Exception(SUnknownType + u"'" + TypeName + u"'");
      if (T == u"[") {
        It->Flag = true;
        It->Ref = Cls->DefProperty();
        if (!It->Ref) {
          String Msg = SClassError;
          size_t P = Msg.find(u"%s");
          if (P != String::npos) Msg.replace(P, 2, TypeName);
          throw Exception(Msg);
        }
      } else {
        It->Ref = Cls->Find(T);
        if (!It->Ref) {
          Variant V = R->GetValue();
          if ((V.IsNull() || (!V.IsHandle() && V.AsInt64() == 0)) && !Prog->IsRunning() &&
              Prog->UseClassLateBinding()) {
            while (D->ItemCount() > 1) D->DeleteItem(D->ItemCount() - 1);
            LateBind(CopyOf(xi));
            return D.release();
          }
          throw Exception(SIdUndeclared + u"'" + T + u"'");
        }
      }
    } else if (K == fvtArray) {
      It->Ref = R->RefItem();
      if (!It->Ref) throw Exception(SArrayRequired);
    } else {
      throw Exception(SArrayRequired);
    }
  }
  if (!D->ItemCount()) throw Exception(SVarRequired);
  if (EmitOp == emFree) {
    TksCustomVariable* Last = D->Item(D->ItemCount() - 1)->Ref;
    if (Last->Typ() != fvtClass && Last->Typ() != fvtVariant) throw Exception(SClassRequired);
    TksClassVariable* Obj = Prog->FindClass(u"TObject");
    TksCustomHelper* Free = Obj ? Obj->Find(u"Free") : nullptr;
    if (!Free) throw Exception(SIdUndeclared + u"'Free'");
    D->AddItem()->Ref = Free;
  }
  D->Finalize();
  std::unique_ptr<TksDesignator> Fast;
  switch (D->Kind()) {
    case dkVariable:
      if (!LoneName) Fast = std::make_unique<TksVariableDesignator>(Prog);
      break;
    case dkStringArray: Fast = std::make_unique<TksStringDesignator>(Prog); break;
    case dkArray: Fast = std::make_unique<TksArrayDesignator>(Prog); break;
    default:
      if (LoneName) Fast = std::make_unique<TksDesignator>(Prog);
      break;
  }
  if (Fast) {
    Fast->Borrow(D.get());
    D = std::move(Fast);
  }
  // Argument counts, defaults and types of every step.
  for (int i = 0; i < D->ItemCount(); ++i) {
    TksDesignatorItem* It = D->Item(i);
    TksCustomVariable* R = It->Ref;
    // Most steps are variables; a designator as a step is rare and checked in full.
    if (typeid(*R) != typeid(TksVariable) && dynamic_cast<TksDesignator*>(R)) continue;
    if (const TksSyntaxNode* N = Steps.Of(It)) C.SetPos(N);
    int Given = static_cast<int>(It->Args.size());
    if (Given < R->GetNumberOfRequiredParams()) throw Exception(SNotEnoughParams);
    if (Given > R->Count()) throw Exception(STooManyParams);
    for (int k = Given; k < R->Count(); ++k) {
      auto X = std::make_unique<TksExpression>(Prog);
      X->AddConst(R->ParamAt(k)->DefValue());
      X->Finalize();
      It->Args.push_back(X.release());
    }
    for (int k = 0; k < Given; ++k) C.CheckAssignTypes(R->ParamAt(k), It->Args[k]);
  }
  return D.release();
}

TksDesignator* TksILParser::DoDesignator(const TksXMLItem* xi, TksScript* Prog) {
  return DoDesignator(FTree->FromXML(xi), Prog);
}

const String& TksILParser::ErrorPos() {
  if (FErrorNode) {
    FErrorPos = FErrorNode->Pos();
    FErrorNode = nullptr;
  }
  return FErrorPos;
}

void TksILParser::SetErrorPos(const String& Pos) {
  FErrorPos = Pos;
  FErrorNode = nullptr;
}

void TksILParser::ParseILScript() {
  FWithList.clear();
  FProgram->SetErrorUnit(String());
  FUnitName.clear();
  TksTreeCompiler C(*this);
  auto Fail = [this](const String& Message) {
    FProgram->SetErrorMsg(Message);
    FProgram->SetErrorPos(ErrorPos());
    FProgram->SetErrorUnit(FUnitName);
  };
  try {
    if (!FRoot) FRoot = FTree->NewNode(u"");  // nothing made or loaded: an empty program
    C.CompileProgram(FRoot, FProgram);
    FProgram->SetErrorPos(String());
  } catch (const Exception& E) {
    Fail(E.Message());
  } catch (const std::bad_alloc&) {
    Fail(u"Out of memory");
  } catch (const std::exception&) {
    // A program tree that lacks an element the compiler needs (a loaded tree is outside
    // data): the standard library's range errors become the tree's own error.
    Fail(u"Invalid file format");
  }
}

