// ks_iilparser.cpp - TksILParser, first half: grammars, language selection and the walker that
// turns source text into the program tree.
#include "script/ks_iilparser.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>

#include "platform/rtl/Exceptions.h"
#include "script/ks_iilparser_p.h"
#include "script/ks_iinterpreter.h"
#include "script/ks_imessages.h"
#include "script/ks_itools.h"

// ---------------------------------------------------------------------------------------------
// Grammar graph

namespace {

TksGrammarKind KindOf(const String& LowName) {
  static const std::map<String, TksGrammarKind> Kinds = {
      {u"char", gkChar},         {u"keyword", gkKeyword},
      {u"ident", gkIdent},       {u"number", gkNumber},
      {u"string", gkString},     {u"vqstring", gkVQString},
      {u"eol", gkEOL},           {u"sequence", gkSequence},
      {u"switch", gkSwitch},     {u"optionalswitch", gkOptionalSwitch},
      {u"optional", gkOptional}, {u"loop", gkLoop},
      {u"optionalloop", gkOptionalLoop}};
  auto It = Kinds.find(LowName);
  return It == Kinds.end() ? gkRuleRef : It->second;
}

class TksGrammarBuilder {
public:
  explicit TksGrammarBuilder(TksGrammar& G) : FG(G) {}

  void Build() {
    TksXMLItem* Root = FG.Doc.Root();
    TksXMLItem* Parser = Root->FindItem(u"parser");
    TksXMLItem* Keywords = Parser->FindItem(u"keywords");
    TksXMLItem* Errors = Parser->FindItem(u"errors");
    FErrors = Errors;
    for (int i = 0; i < Keywords->Count(); ++i) FG.Keywords.push_back(Keywords->Items(i)->Name());
    for (int i = 0; i < Parser->Count(); ++i) {
      TksXMLItem* S = Parser->Items(i);
      FG.Settings.emplace_back(ksLowerCase(S->Name()), S->Prop(u"text"));
      if (ksSameText(S->Name(), u"requireeof")) {
        int E = Errors->Find(S->Prop(u"text"));
        FG.TrailingTextError = E < 0 ? String(u"Syntax error") : Errors->Items(E)->Prop(u"text");
      }
    }
    FG.Types = Root->FindItem(u"types");
    FG.TypesNode = FG.Types ? FG.TypesTree.FromXML(FG.Types) : FG.TypesTree.NewNode(u"");
    // Rules first, so that references can be bound to them.
    for (int i = 0; i < Root->Count(); ++i) {
      TksXMLItem* R = Root->Items(i);
      auto* N = NewNode(R, gkRule);
      FRules.emplace(ksUpperCase(R->Name()), N);
      FRuleItems.push_back({R, N});
    }
    for (auto& [Item, Node] : FRuleItems) AddChildren(Item, Node);
    for (auto& N : FG.Nodes) {
      N->ChildCount = static_cast<uint32_t>(N->Children.size());
      const bool Bare = N->Node.empty() && N->Add.empty() && !N->HasErr;
      N->PlainRef = Bare && N->Kind == gkRuleRef && N->Ref && N->Children.empty();
      N->Wrapper = Bare && N->Kind == gkRule && N->Children.size() == 1 &&
                   N->Children[0]->Kind != gkLoop;
    }
    auto It = FRules.find(u"PROGRAM");
    FG.Program = It == FRules.end() ? nullptr : It->second;
  }

private:
  TksGrammarNode* NewNode(TksXMLItem* X, TksGrammarKind Kind) {
    FG.Nodes.push_back(std::make_unique<TksGrammarNode>());
    TksGrammarNode* N = FG.Nodes.back().get();
    N->Kind = Kind;
    N->Name = X->Name();
    const String& T = X->Text();
    auto Has = [&](const char16_t* A) { return !T.empty() && X->PropExists(A); };
    N->HasText = Has(u"text");
    if (N->HasText) N->Text = ksLowerCase(X->Prop(u"text"));
    if (Has(u"node")) N->Node = ksLowerCase(X->Prop(u"node"));
    N->NodeIsUses = N->Node == u"uses";
    N->NodeIsExpr = N->Node == u"expr";
    if (Has(u"add")) N->Add = X->Prop(u"add");
    N->HasAddText = Has(u"addtext");
    if (N->HasAddText) N->AddText = X->Prop(u"addtext");
    N->HasErr = Has(u"err");
    if (N->HasErr) {
      int E = FErrors->Find(X->Prop(u"err"));
      N->ErrText = E < 0 ? String() : FErrors->Items(E)->Prop(u"text");
    }
    N->Term = Has(u"term") && X->Prop(u"term") == u"1";
    String Skip = Has(u"skip") ? X->Prop(u"skip") : String();
    N->NoSkip = Kind == gkChar && Skip == u"0";
    N->LoopSkip = Skip == u"1";
    return N;
  }

  void AddChildren(TksXMLItem* X, TksGrammarNode* N) {
    for (int i = 0; i < X->Count(); ++i) {
      TksXMLItem* C = X->Items(i);
      TksGrammarKind K = KindOf(ksLowerCase(C->Name()));
      TksGrammarNode* CN = NewNode(C, K);
      if (K == gkRuleRef) {
        auto It = FRules.find(ksUpperCase(C->Name()));
        if (It != FRules.end()) CN->Ref = It->second;
      }
      N->Children.push_back(CN);
      AddChildren(C, CN);
    }
  }

  TksGrammar& FG;
  TksXMLItem* FErrors = nullptr;
  std::map<String, TksGrammarNode*> FRules;
  std::vector<std::pair<TksXMLItem*, TksGrammarNode*>> FRuleItems;
};

// Sets a lexer up for a grammar: its reserved words and lexical settings.
void ConfigureLexer(TksParser& L, const TksGrammar& G) {
  for (const String& W : G.Keywords) L.AddKeyword(W);
  for (auto& [Name, Value] : G.Settings) {
    if (Name == u"identchars") L.ConstructCharset(Value);
    else if (Name == u"commentline1") L.SetCommentLine1(Value);
    else if (Name == u"commentline2") L.SetCommentLine2(Value);
    else if (Name == u"commentblock1") L.SetCommentBlock1(Value);
    else if (Name == u"commentblock2") L.SetCommentBlock2(Value);
    else if (Name == u"stringquotes") L.SetStringQuotes(Value);
    else if (Name == u"hexsequence") L.SetHexSequence(Value);
    else if (Name == u"specstrchar") { if (Value == u"1") L.SetSpecStrChar(true); }
    else if (Name == u"skipeol") { if (Value == u"0") L.SetSkipEOL(false); }
    else if (Name == u"skipchar") L.SetSkiPChar(Value);
    else if (Name == u"casesensitive") { if (Value == u"1") L.SetCaseSensitive(true); }
  }
}

// Works out, once per grammar, which elements can be passed over by the first character of the
// next token (TksGrammarNode::CanSkip). An element qualifies when it cannot match empty text,
// every character its first token can start with is known, and failing at that token records
// no error. Anything else (a rule reached again before its answer is known, a string read
// without skipping blanks, an optional part first) is entered as before.
// A switch also passes over children whose leading optional parts cannot start either (each
// would match empty text and the walk go on to the next part at the same place): PickSkip.
// Entering such an element checks nothing, as the check would mostly find that it can start.
class TksLookahead {
public:
  explicit TksLookahead(const TksParser& L) : FL(L) {}

  void Build(TksGrammar& G) {
    for (auto& N : G.Nodes) Info(N.get());
    for (auto& N : G.Nodes)
      N->OptionalFirstCanSkip = (N->Kind == gkOptional || N->Kind == gkOptionalLoop) &&
                                !N->Children.empty() && N->Children[0]->CanSkip;
    for (auto& N : G.Nodes)
      if (N->Kind == gkSwitch || N->Kind == gkOptionalSwitch) BuildPicks(*N);
  }

private:
  struct TInfo {
    bool Known = false;
    bool Quiet = false;
    bool Enters = false;    // a rule or sequence is entered before the first token fails
    bool Nullable = false;  // matches empty text where none of First can start
    bool Extended = false;  // First includes a leading optional part's
    bool Other = false;
    int Depth = 0;
    std::bitset<128> First;
  };
  static constexpr int kMaxDepth = 200;

  const TInfo& Info(TksGrammarNode* N) {
    auto [It, New] = FInfos.try_emplace(N);
    if (!New) return It->second.second ? It->second.first : FUnknown;  // busy: a cycle
    TInfo R = Compute(N);
    if (R.Depth > kMaxDepth) R.Known = false;
    N->PickSkip = R.Known && R.Quiet && !R.Nullable;
    N->CanSkip = N->PickSkip && !R.Extended;
    N->First = R.First;
    N->FirstOther = R.Other;
    N->FirstDepth = R.Depth;
    N->FirstEnters = R.Enters;
    auto& Slot = FInfos[N];
    Slot = {R, true};
    return Slot.first;
  }

  // A switch's children by next character: what the walk would enter, and the passed-over
  // children that still count their start; children that would fail silently are left out.
  static void BuildPicks(TksGrammarNode& S) {
    bool AnySkip = false;
    for (const TksGrammarNode* C : S.Children)
      if (C->PickSkip) {
        AnySkip = true;
        S.PickDepth = std::max(S.PickDepth, C->FirstDepth);
      }
    if (!AnySkip) return;
    std::map<std::vector<TksGrammarNode::TPick>, uint16_t> Seen;
    for (int Class = 0; Class <= 128; ++Class) {
      std::vector<TksGrammarNode::TPick> Picks;
      for (uint32_t i = 0; i < S.Children.size(); ++i) {
        const TksGrammarNode* C = S.Children[i];
        bool Starts = Class < 128 ? C->First[Class] : C->FirstOther;
        if (!C->PickSkip || Starts) Picks.push_back({i, false});
        else if (C->FirstEnters) Picks.push_back({i, true});
      }
      auto [It, New] = Seen.try_emplace(Picks, static_cast<uint16_t>(S.PickLists.size()));
      if (New) S.PickLists.push_back(std::move(Picks));
      S.PickOf[Class] = It->second;
    }
  }

  static void AddChar(TInfo& I, Char C) {
    if (C < 128) I.First.set(C);
    else I.Other = true;
  }

  TInfo Token(const TksGrammarNode* N) {
    TInfo I;
    I.Known = true;
    I.Quiet = !N->HasErr;
    I.Depth = 1;
    return I;
  }

  void AddIdentStarts(TInfo& I) {
    for (Char C = 1; C < 128; ++C)
      if (FL.IsIdentStart(C)) I.First.set(C);
    I.Other = true;
  }

  TInfo Compute(TksGrammarNode* N) {
    TInfo I = Token(N);
    switch (N->Kind) {
      case gkChar:
        if (!N->HasText) {
          for (Char C = 33; C <= 126; ++C)
            if (!std::isalnum(C)) I.First.set(C);
        } else if (N->Text.size() == 1) {
          AddChar(I, N->Text[0]);
        } else {
          return {};
        }
        return I;
      case gkKeyword:
        if (N->HasText && !N->Text.empty()) {
          Char C = N->Text[0];
          AddChar(I, C);
          if (C >= u'a' && C <= u'z') AddChar(I, static_cast<Char>(C - 32));
          if (C >= u'A' && C <= u'Z') AddChar(I, static_cast<Char>(C + 32));
          if (C >= 127) I.Other = true;
        } else {
          AddIdentStarts(I);
        }
        return I;
      case gkIdent: AddIdentStarts(I); return I;
      case gkNumber:
        for (Char C = u'0'; C <= u'9'; ++C) I.First.set(C);
        if (!FL.HexSequence().empty()) AddChar(I, FL.HexSequence()[0]);
        return I;
      case gkString:
        if (!FL.StringQuotes().empty()) AddChar(I, FL.StringQuotes()[0]);
        AddChar(I, u'#');
        return I;
      case gkEOL:
        AddChar(I, u'\r');
        AddChar(I, u'\n');
        return I;
      case gkRule:
      case gkSequence:
        // Entered, they write their add element (a sequence also its node) before their parts:
        // such an element leaves something behind even when its first token fails.
        if (!N->Add.empty() || (N->Kind == gkSequence && !N->Node.empty())) return {};
        I = Parts(N);
        I.Enters = true;
        return I;
      case gkLoop:
        return Then(N, N->Children.empty() ? nullptr : N->Children[0]);
      case gkRuleRef:
        return Then(N, N->Ref);
      case gkOptional:
      case gkOptionalLoop:
        // Passed over, as its first part fails, where that part cannot start.
        I = Then(N, N->Children.empty() ? nullptr : N->Children[0]);
        I.Nullable = I.Known;
        return I;
      case gkSwitch:
      case gkOptionalSwitch: {
        I.Nullable = N->Kind == gkOptionalSwitch;
        for (TksGrammarNode* C : N->Children) {
          const TInfo& CI = Info(C);
          if (!CI.Known || CI.Nullable) return {};
          I.First |= CI.First;
          I.Other = I.Other || CI.Other;
          I.Quiet = I.Quiet && CI.Quiet;
          I.Enters = I.Enters || CI.Enters;
          I.Extended = I.Extended || CI.Extended;
          I.Depth = std::max(I.Depth, CI.Depth + 1);
        }
        return I;
      }
      default:
        return {};  // may match empty text
    }
  }

  // An element that fails where its first part (First) fails.
  TInfo Then(const TksGrammarNode* N, TksGrammarNode* First) {
    if (!First) return {};
    TInfo I = Info(First);
    if (I.Nullable) return {};
    I.Quiet = I.Quiet && !N->HasErr;
    I.Depth += 1;
    return I;
  }

  // A rule or sequence: fails where its leading optional parts and the first part that cannot
  // match empty text all cannot start.
  TInfo Parts(const TksGrammarNode* N) {
    TInfo I = Token(N);
    for (TksGrammarNode* C : N->Children) {
      const TInfo& CI = Info(C);
      if (!CI.Known) return {};
      I.First |= CI.First;
      I.Other = I.Other || CI.Other;
      I.Quiet = I.Quiet && CI.Quiet;
      I.Enters = I.Enters || CI.Enters;
      I.Extended = I.Extended || CI.Extended || CI.Nullable;
      I.Depth = std::max(I.Depth, CI.Depth + 1);
      if (!CI.Nullable) return I;
    }
    return {};
  }

  const TksParser& FL;
  std::map<const TksGrammarNode*, std::pair<TInfo, bool>> FInfos;  // bool: done
  TInfo FUnknown;
};

}  // namespace

std::shared_ptr<const TksGrammar> ksGetGrammar(const String& LangName) {
  static std::map<String, std::shared_ptr<TksGrammar>> Cache;
  const String& Source = LanguageGrammar(LangName);
  auto& Slot = Cache[ksUpperCase(LangName)];
  if (Slot && Slot->Source == Source) return Slot;
  auto G = std::make_shared<TksGrammar>();
  G->Name = LangName;
  G->Source = Source;
  G->Doc.LoadFromString(StringToUtf8(Source));
  TksGrammarBuilder(*G).Build();
  TksParser Lexer;
  ConfigureLexer(Lexer, *G);
  TksLookahead(Lexer).Build(*G);
  Slot = G;
  return G;
}

// ---------------------------------------------------------------------------------------------
// TksILParser

TksILParser::TksILParser(TksScript* AProgram)
    : FOwnTree(std::make_unique<TksSyntaxTree>()),
      FTree(FOwnTree.get()),
      FParser(std::make_unique<TksParser>()),
      FProgram(AProgram) {}

TksILParser::~TksILParser() = default;

void TksILParser::SelectLanguage(const String& LangName) {
  FParser->Clear();
  FGrammar = ksGetGrammar(LangName);
  FTree->KeepAlive(FGrammar);
  FLangName = LangName;
  ConfigureLexer(*FParser, *FGrammar);
  for (auto& [Name, Value] : FGrammar->Settings)
    if (Name == u"declarevars" && Value == u"0") FNeedDeclareVars = false;
  if (FProgram && FProgram->ExtendedCharset())
    for (int C = 128; C < 256; ++C) FParser->IdentifierCharset().set(C);
}

// ---------------------------------------------------------------------------------------------
// The walker

// Grammar elements entered at once. Each nesting level of the source (a bracket, a begin ...
// end block) takes several; the limit keeps the program tree shallow enough for the compiler,
// which walks it recursively, and still allows source nested a few hundred levels deep.
constexpr int kMaxWalkDepth = 3000;
// The token text of an element that reads none.
constexpr std::u16string_view kNoToken;
const char16_t* const kNestingTooDeep = u"Nesting too deep";

struct TksWalker {
  TksILParser& P;
  TksParser& L;
  // The elements read so far that no enclosing element has taken yet, in source order. An
  // element that matches takes those read since it started as its children; one that fails
  // drops them.
  std::vector<TksSyntaxNode*> Items;
  TksSyntaxTree& Tree;
  String ErrText;
  String ErrPosText;
  bool ErrRecorded = false;
  bool ErrTerm = false;
  int Furthest = 1;
  int Depth = 0;
  // Set when the depth limit was reached: every element then fails at once, so the walk
  // unwinds without trying alternatives, and the compile reports this position.
  bool TooDeep = false;
  String TooDeepPos;
  // kMaxWalkDepth, then 0 once the limit is reached, so that one test on entering fails every
  // element from then on.
  int DepthLimit = kMaxWalkDepth;

  [[gnu::noinline]] void NoteTooDeep() {
    TooDeep = true;
    DepthLimit = 0;
    L.SkipSpaces();
    TooDeepPos = L.GetXYPosition();
  }
  // The character the next token starts with at source position PeekAt (0: not read yet).
  int PeekAt = 0;
  Char Next = 0;

  // Room for the frames of an ordinary program from the start, so that a short text (a report
  // expression) does not pay for the stack growing step by step.
  explicit TksWalker(TksILParser& AP) : P(AP), L(*AP.FParser), Tree(*AP.FTree) { GrowStack(); }
  TksWalker(const TksWalker&) = delete;
  TksWalker& operator=(const TksWalker&) = delete;

  // Elements of a failed alternative are dropped from the list; their memory goes with the
  // tree's blocks.
  void Truncate(size_t Mark) {
    if (Items.size() > Mark) Items.resize(Mark);
  }

  // A new element at source position At; the caller adds it where it belongs.
  TksSyntaxNode* NewItem(std::u16string_view Name, int At) {
    TksSyntaxNode* X = Tree.NewNode(Name);
    TksSyntaxTree::SetPos(X, L.LineColumnOf(At));
    return X;
  }

  void RecordError(const TksGrammarNode* E, int Start) {
    if (E->HasErr && ErrText.empty()) RecordErrorAt(E, Start);
  }

  [[gnu::noinline]] void RecordErrorAt(const TksGrammarNode* E, int Start) {
    ErrText = E->ErrText;
    ErrRecorded = true;
    int Cur = L.Position();
    L.SetPosition(Start);
    L.SkipSpaces();
    ErrPosText = L.GetXYPosition();
    L.SetPosition(Cur);
    ErrTerm = E->Term;
  }

  bool TokenMatches(const TksGrammarNode* E, std::u16string_view Tok) const {
    if (Tok.empty()) return false;
    if (!E->HasText) return true;
    return L.CaseSensitive() ? Tok == E->Text : ksSameText(Tok, E->Text);
  }

  // Wraps the elements read since Mark into one element named by the grammar node.
  [[gnu::noinline]] void Emit(const TksGrammarNode* E, bool Result, int Start, size_t Mark) {
    if (E->NodeIsUses) {
      EmitUses(Mark);
      return;
    }
    if (!Result) {
      Truncate(Mark);
      return;
    }
    int Cur = L.Position();
    L.SetPosition(Start);
    L.SkipSpaces();
    int P0 = L.Position();
    L.SetPosition(Cur);
    TksSyntaxNode* X = NewItem(E->Node, P0);
    if (E->NodeIsExpr) TksSyntaxTree::SetPos1(X, L.LineColumnOf(Cur));
    Tree.SetChildren(X, Items.data() + Mark, Items.size() - Mark);
    Items.resize(Mark);
    Items.push_back(X);
  }

  void EmitUses(size_t Mark) {
    std::vector<TksSyntaxNode*> Files(Items.begin() + static_cast<std::ptrdiff_t>(Mark), Items.end());
    Items.resize(Mark);
    for (auto It = Files.rbegin(); It != Files.rend(); ++It) {
      if (!(*It)->HasText()) continue;
      String V = (*It)->Text();
      if (V.size() >= 2) V = V.substr(1, V.size() - 2);
      size_t At = Mark;
      if (!P.LoadUnit(V, Items, At) && ErrText.empty()) {
        ErrText = P.FProgram->ErrorMsg();
        ErrPosText = P.FProgram->ErrorPos();
        ErrRecorded = true;
      }
    }
  }

  // Helpers of the walk's loop are kept out of line, so that their locals stay out of it.
  // A token element: reads the token into Tok and tells whether it matches. Tok views the
  // source text, or Own where the token's text is made.
  [[gnu::noinline]] bool ReadToken(const TksGrammarNode* E, std::u16string_view& Tok, String& Own) {
    switch (E->Kind) {
      case gkChar:
        if (!E->NoSkip) L.SkipSpaces();
        // A character whose text nothing records is compared without making a token text.
        // Punctuation has no case, so the lower-cased grammar text compares as it stands.
        if (E->Add.empty()) {
          Char C = L.GetPunctuation();
          return C && (!E->HasText || (E->Text.size() == 1 && E->Text[0] == C));
        }
        if (L.GetPunctuation()) Tok = L.Text().substr(static_cast<size_t>(L.Position() - 2), 1);
        break;
      case gkKeyword:
        // A keyword is compared where it stands; a recorded one is then copied as written.
        if (E->HasText && !E->Text.empty()) {
          if (!L.MatchWord(E->Text)) return false;
          if (!E->Add.empty())
            Tok = L.Text().substr(static_cast<size_t>(L.Position() - 1) - E->Text.size(), E->Text.size());
          return true;
        }
        Tok = L.ReadWord();
        break;
      case gkIdent: Tok = L.ReadIdent(); break;
      case gkNumber:
        if (L.HexSequence().empty() || L.HexSequence() == u"$") {
          Tok = L.ReadNumber();
        } else {
          Own = L.GetNumber();
          Tok = Own;
        }
        break;
      case gkString:
        Own = L.GetString();
        Tok = Own;
        break;
      case gkVQString:
        Own = L.GetVQString();
        Tok = Own;
        WriteVQString(Own);
        break;
      case gkEOL: return L.GetEOL();
      default: return false;
    }
    return TokenMatches(E, Tok);
  }

  // A string in double quotes reads the value of that name: Get('...').
  [[gnu::noinline]] void WriteVQString(const String& Tok) {
    const int At = L.Position();
    TksSyntaxNode* Node = NewItem(u"node", At);
    Tree.SetStaticText(Node, u"Get");
    TksSyntaxNode* Str = NewItem(u"string", At);
    Tree.SetText(Str, u"'" + Tok + u"'");
    TksSyntaxNode* X = NewItem(u"expr", At);
    Tree.SetChildren(X, &Str, 1);
    TksSyntaxNode* D = NewItem(u"dsgn", At);
    TksSyntaxNode* const Parts[] = {Node, X};
    Tree.SetChildren(D, Parts, 2);
    Items.push_back(D);
  }

  [[gnu::noinline]] void WriteAdd(const TksGrammarNode* E, std::u16string_view Tok) {
    TksSyntaxNode* X = NewItem(E->Add, L.Position());
    if (E->HasAddText) Tree.SetStaticText(X, E->AddText);
    else Tree.SetText(X, Tok);
    Items.push_back(X);
  }

  // The walk keeps its own stack, one frame per element being walked: an element costs a frame
  // pushed and popped rather than nested calls, and deep source costs heap rather than the
  // thread's stack. An element's steps either walk one child next (the frame resumes with the
  // child's result) or end the element with its result.
  enum TPhase : uint8_t { phChildren, phRef, phPicks, phRest, phOptional, phLoop };
  // Plain data, so that room for frames is not filled in advance.
  struct TFrame {
    const TksGrammarNode* E;
    int Start;         // the source position where the element began
    int Levels;        // levels entered for it, plain references followed included
    size_t Mark;       // the size of Items then
    uint32_t Index;    // the next child (or, in phPicks, the next pick) to walk
    uint16_t List;     // switches: the pick list of the next character
    TPhase Phase;
    bool LastOk;         // loops: whether the last pass matched
    bool SecondStarted;  // loops: whether a second pass began
    int PassStart;       // loops: where the current pass began
    int AfterChildren;   // loops: where the last pass ended
  };
  static_assert(std::is_trivially_default_constructible_v<TFrame>);
  struct TStep {
    const TksGrammarNode* Next;  // the child to walk next; null: the element ends
    bool Result;
  };
  static TStep Call(const TksGrammarNode* C) { return {C, false}; }
  static TStep Done(bool Result) { return {nullptr, Result}; }
  // The frames are [Stack.data(), Top): pushing and popping move Top, and only a full stack
  // (checked on push) goes out of line to grow.
  std::unique_ptr<TFrame[]> Stack;
  TFrame* Top = nullptr;
  TFrame* StackEnd = nullptr;

  [[gnu::noinline]] void GrowStack() {
    const size_t Used = static_cast<size_t>(Top - Stack.get());
    const size_t Room = Stack ? static_cast<size_t>(StackEnd - Stack.get()) * 2 : 256;
    std::unique_ptr<TFrame[]> More(new TFrame[Room]);
    std::copy(Stack.get(), Top, More.get());
    Stack = std::move(More);
    Top = Stack.get() + Used;
    StackEnd = Stack.get() + Room;
  }

  bool Walk(const TksGrammarNode* Root) {
    const size_t Base = static_cast<size_t>(Top - Stack.get());
    const TksGrammarNode* E = Root;
    for (;;) {
      TStep S = Done(false);
      bool Pop = false;  // S ends the top frame (else E was not entered and fails at once)
      if (const int Levels = EnterAll(E)) {
        if (E->OptionalFirstCanSkip && PassesOverFirst(E)) {
          Depth -= Levels;
          S = Done(true);
        } else {
          if (Top == StackEnd) GrowStack();
          *Top = TFrame{E, L.Position(), Levels, Items.size(), 0, 0, phChildren, false, false, 0, 0};
          S = Begin(*Top++);
          Pop = true;
        }
      }
      while (!S.Next) {
        if (Pop) Depth -= (--Top)->Levels;
        if (Top == Stack.get() + Base) return S.Result;
        S = Resume(Top[-1], S.Result);
        Pop = true;
      }
      E = S.Next;
    }
  }

  // Enters E, following plain references and wrapper rules in place, each one level deeper,
  // as entering them would: such a reference matches, fails and leaves the position exactly as
  // its rule does, and a wrapper as its part does once its start counts as read.
  // Gives the levels entered, with E moved to the element to walk; 0 when it cannot be entered.
  [[gnu::always_inline]] int EnterAll(const TksGrammarNode*& E) {
    int Levels = 0;
    for (;;) {
      if (!Enter(E)) {
        Depth -= Levels;
        return 0;
      }
      ++Levels;
      if (E->PlainRef) {
        E = E->Ref;
      } else if (E->Wrapper) {
        if (L.Position() > Furthest) Furthest = L.Position();
        E = E->Children[0];
      } else {
        return Levels;
      }
    }
  }

  // Goes one level deeper into E, unless the nesting limit is reached or E cannot start here.
  [[gnu::always_inline]] bool Enter(const TksGrammarNode* E) {
    if (Depth >= DepthLimit) {
      if (!TooDeep) NoteTooDeep();
      return false;
    }
    // An element that cannot start here fails as entering it would, only sooner.
    if (E->CanSkip && Depth + E->FirstDepth < kMaxWalkDepth && !CanStartHere(E)) {
      // Entering a rule or sequence counts its start as read, for the error position.
      if (E->FirstEnters && L.Position() > Furthest) Furthest = L.Position();
      return false;
    }
    ++Depth;
    return true;
  }

  // Whether the first child of an optional element just entered fails at once, as entering it
  // would: the element then matches empty text, as walking it would.
  bool PassesOverFirst(const TksGrammarNode* E) {
    const TksGrammarNode* C = E->Children[0];
    if (Depth + C->FirstDepth >= kMaxWalkDepth || CanStartHere(C)) return false;
    if (C->FirstEnters && L.Position() > Furthest) Furthest = L.Position();
    return true;
  }

  bool CanStartHere(const TksGrammarNode* E) {
    PeekNext();
    return Next < 128 ? E->First[Next] : E->FirstOther;
  }

  void PeekNext() {
    if (PeekAt != L.Position()) {
      PeekAt = L.Position();
      Next = L.PeekTokenStart();
    }
  }

  static const TksGrammarNode* NextChildOf(TFrame& F) {
    return F.Index < F.E->ChildCount ? F.E->Children.data()[F.Index++] : nullptr;
  }

  // The first step of an element just entered.
  [[gnu::always_inline]] TStep Begin(TFrame& F) {
    const TksGrammarNode* E = F.E;
    switch (E->Kind) {
      case gkRule:
      case gkSequence:
        return OwnPartDone(F, true, kNoToken);
      case gkChar:
      case gkKeyword:
      case gkIdent:
      case gkNumber:
      case gkString:
      case gkVQString:
      case gkEOL:
        return WalkToken(F);
      case gkSwitch:
      case gkOptionalSwitch:
        return BeginSwitch(F);
      case gkOptional:
        F.Phase = phOptional;
        if (const TksGrammarNode* C = NextChildOf(F)) return Call(C);
        return Done(true);
      case gkLoop:
      case gkOptionalLoop:
        F.Phase = phLoop;
        F.PassStart = F.Start;
        if (const TksGrammarNode* C = NextChildOf(F)) return Call(C);
        return EndPass(F, true);
      case gkRuleRef:
        if (!E->Ref) throw Exception(SInvalidLanguage);
        F.Phase = phRef;
        return Call(E->Ref);
    }
    return Done(false);
  }

  // The next step of an element once the child it walked gave Result.
  [[gnu::always_inline]] TStep Resume(TFrame& F, bool Result) {
    switch (F.Phase) {
      case phChildren:
        if (!Result) return FinishElement(F, false);
        if (const TksGrammarNode* C = NextChildOf(F)) return Call(C);
        return FinishElement(F, true);
      case phRef:
        return OwnPartDone(F, Result, kNoToken);
      case phPicks:
        if (Result) return Done(true);
        // A failed child that moved the position: the rest are tried one by one.
        if (L.Position() != F.Start) {
          F.Index = F.E->PickLists[F.List][F.Index - 1].Index + 1;
          F.Phase = phRest;
          return NextAlternative(F);
        }
        return NextPick(F);
      case phRest:
        if (Result) return Done(true);
        return NextAlternative(F);
      case phOptional:
        if (!Result) {
          L.SetPosition(F.Start);
          return Done(true);
        }
        if (const TksGrammarNode* C = NextChildOf(F)) return Call(C);
        return Done(true);
      case phLoop:
        if (!Result) return EndPass(F, false);
        if (const TksGrammarNode* C = NextChildOf(F)) return Call(C);
        return EndPass(F, true);
    }
    return Done(false);
  }

  // The token lives here, whose frame only a token element pays.
  [[gnu::noinline]] TStep WalkToken(TFrame& F) {
    String Own;
    std::u16string_view Tok;
    const bool Result = ReadToken(F.E, Tok, Own);
    return OwnPartDone(F, Result, Tok);
  }

  // After an element's own part: writes its node and addition, then walks its children.
  [[gnu::always_inline]] TStep OwnPartDone(TFrame& F, bool Result, std::u16string_view Tok) {
    if (!Result) return FinishElement(F, false);
    const TksGrammarNode* E = F.E;
    if (L.Position() > Furthest) Furthest = L.Position();
    if (E->Kind != gkRule && !E->Node.empty()) Emit(E, true, F.Start, F.Mark);
    if (!E->Add.empty()) WriteAdd(E, Tok);
    F.Phase = phChildren;
    F.Index = 0;
    if (const TksGrammarNode* C = NextChildOf(F)) return Call(C);
    return FinishElement(F, true);
  }

  // Ends an element: a rule writes its node, and on failure the error is recorded and the
  // position goes back to Start.
  [[gnu::always_inline]] TStep FinishElement(TFrame& F, bool Result) {
    const TksGrammarNode* E = F.E;
    if (!Result) RecordError(E, F.Start);
    if (E->Kind == gkRule && !E->Node.empty()) Emit(E, Result, F.Start, F.Mark);
    if (!Result) L.SetPosition(F.Start);
    return Done(Result);
  }

  // A switch tries its children in order until one matches. Away from the nesting limit, the
  // children the next character cannot start are passed over through the switch's table, as
  // entering would pass them over one by one; once a failed child leaves the position moved,
  // the rest are tried one by one.
  [[gnu::always_inline]] TStep BeginSwitch(TFrame& F) {
    const TksGrammarNode* E = F.E;
    if (!E->PickLists.empty() && !TooDeep && Depth + E->PickDepth < kMaxWalkDepth) {
      PeekNext();
      F.List = E->PickOf[Next < 128 ? Next : 128];
      F.Phase = phPicks;
      return NextPick(F);
    }
    F.Phase = phRest;
    return NextAlternative(F);
  }

  [[gnu::always_inline]] TStep NextPick(TFrame& F) {
    const std::vector<TksGrammarNode::TPick>& Picks = F.E->PickLists[F.List];
    while (F.Index < Picks.size()) {
      const TksGrammarNode::TPick& P = Picks[F.Index++];
      if (!P.Touch) return Call(F.E->Children[P.Index]);
      if (!TooDeep && F.Start > Furthest) Furthest = F.Start;
    }
    return SwitchFailed(F);
  }

  [[gnu::always_inline]] TStep NextAlternative(TFrame& F) {
    if (const TksGrammarNode* C = NextChildOf(F)) return Call(C);
    return SwitchFailed(F);
  }

  [[gnu::always_inline]] TStep SwitchFailed(TFrame& F) {
    if (F.E->Kind == gkOptionalSwitch) return Done(true);
    RecordError(F.E, F.Start);
    L.SetPosition(F.Start);
    return Done(false);
  }

  // A loop walks its children pass after pass while a pass matches and moves on; with a
  // separator, a pass follows only that character. A pass that moved had children to walk.
  [[gnu::always_inline]] TStep EndPass(TFrame& F, bool Ok) {
    const TksGrammarNode* E = F.E;
    F.AfterChildren = L.Position();
    F.LastOk = Ok;
    if (Ok && F.AfterChildren != F.PassStart) {
      const Char Sep = E->HasText && !E->Text.empty() ? E->Text[0] : 0;
      if (Sep) L.SkipSpaces();
      if (!Sep || L.GetPunctuation() == Sep) {
        F.SecondStarted = true;
        F.PassStart = L.Position();
        F.Index = 0;
        return Call(NextChildOf(F));
      }
      L.SetPosition(F.AfterChildren);
    }
    if (F.SecondStarted) {
      if (E->LoopSkip || ErrTerm) {
        ErrText.clear();
        ErrRecorded = false;
      }
      L.SetPosition(F.AfterChildren);
      return Done(true);
    }
    if (F.LastOk) return Done(true);
    if (E->Kind == gkOptionalLoop) {
      L.SetPosition(F.Start);
      return Done(true);
    }
    RecordError(E, F.Start);
    return Done(false);
  }
};

bool TksILParser::MakeILScript(const String& Text) {
  TksWalker W(*this);
  FParser->SetText(Text);
  if (!Text.empty() && Text[0] == u'#') {
    FParser->SetPosition(2);
    String Id = FParser->GetIdent();
    int Start = 1;
    if (ksSameText(Id, u"language")) {
      size_t Cr = Text.find(u'\r');
      size_t From = FParser->Position() - 1;
      String Name = Text.substr(From, Cr == String::npos ? String::npos : Cr - From);
      while (!Name.empty() && Name.back() <= u' ') Name.pop_back();
      while (!Name.empty() && Name.front() <= u' ') Name.erase(Name.begin());
      SelectLanguage(Name);
      FParser->SetText(Text);
      Start = Cr == String::npos ? static_cast<int>(Text.size()) + 1 : static_cast<int>(Cr) + 3;
    }
    FParser->SetPosition(Start);
  }
  if (!FGrammar->Program) throw Exception(SInvalidLanguage);
  bool Matched = W.Walk(FGrammar->Program);
  if (W.TooDeep) {
    Matched = false;
    W.ErrText = kNestingTooDeep;
    W.ErrPosText = W.TooDeepPos;
  }
  if (!Matched && W.ErrText.empty()) {
    // A start rule that fails with nothing recorded would otherwise yield an empty program
    // that "compiles"; report where the text could not be read instead.
    FParser->SetPosition(W.Furthest);
    FParser->SkipSpaces();
    if (FParser->Position() <= FParser->Size()) {
      W.ErrText = u"Syntax error";
      W.ErrPosText = FParser->GetXYPosition();
    } else {
      Matched = true;
      W.Truncate(0);
    }
  }
  if (Matched && W.ErrText.empty() && !FGrammar->TrailingTextError.empty()) {
    while (FParser->GetEOL()) {
    }
    if (FParser->Position() <= FParser->Size()) {
      W.ErrText = FGrammar->TrailingTextError;
      W.ErrPosText = FParser->GetXYPosition();
    }
  }
  bool Ok = Matched && W.ErrText.empty();
  if (Ok) {
    W.Items.push_back(FGrammar->TypesNode);
    FRoot = FTree->NewNode(u"program");
    FTree->SetChildren(FRoot, W.Items.data(), W.Items.size());
    W.Items.clear();
    W.ErrPosText.clear();
  }
  if (FProgram) {
    FProgram->SetErrorPos(Ok ? String() : W.ErrPosText);
    FProgram->SetErrorMsg(Ok ? String() : W.ErrText);
  }
  return Ok;
}

std::string TksILParser::SaveILText() const {
  TksXMLDocument Doc;
  if (FRoot) Doc.Root()->Assign(TksSyntaxTree::ToXML(FRoot).get());
  return Doc.SaveToString();
}

void TksILParser::LoadILText(std::string_view Text) {
  TksXMLDocument Doc;
  Doc.LoadFromString(Text);
  FRoot = FTree->FromXML(Doc.Root());
}

namespace {

constexpr std::uintmax_t kMaxUnitFileSize = 16u << 20;
// Used units being read, one inside another; the compiler runs on one thread.
int UnitNesting = 0;
constexpr int kMaxUnitNesting = 64;

[[noreturn]] void UnitOpenError(const std::filesystem::path& File, const char16_t* Reason) {
  throw EFOpenError(u"Cannot open file \"" + Utf8ToString(File.string()) + u"\". " + Reason);
}

// The text of a used unit read from a file: the name is a path relative to a folder of
// IncludePath (an empty entry is the working folder; "\\" separates folders as "/" does),
// and may not leave that folder. The first folder holding the file is used, else the last one
// tried. Only a regular file of at most 16 MB is read, so a device, a pipe or a folder named
// by a script cannot exhaust memory or block the compile.
String ReadUnitFile(const std::vector<String>& IncludePath, const String& UnitName) {
  namespace fs = std::filesystem;
  std::string Name = StringToUtf8(UnitName);
  std::replace(Name.begin(), Name.end(), '\\', '/');
  fs::path Relative = fs::path(Name).lexically_normal();
  if (Name.empty() || Relative.is_absolute() || Relative.has_root_name() ||
      (!Relative.empty() && *Relative.begin() == ".."))
    UnitOpenError(Name, u"The unit must lie in the unit folder");
  fs::path File = Relative;
  for (const String& Dir : IncludePath) {
    File = fs::path(StringToUtf8(Dir)) / Relative;
    std::error_code Ec;
    if (fs::exists(File, Ec)) break;
  }
  std::error_code Ec;
  fs::file_status Status = fs::status(File, Ec);
  if (!fs::exists(Status)) UnitOpenError(File, u"The file does not exist");
  if (!fs::is_regular_file(Status)) UnitOpenError(File, u"Not a regular file");
  std::uintmax_t Size = fs::file_size(File, Ec);
  if (Ec || Size > kMaxUnitFileSize) UnitOpenError(File, u"The file is too large");
  std::ifstream In(File, std::ios::binary);
  if (!In) UnitOpenError(File, u"The file cannot be read");
  std::string Bytes(static_cast<size_t>(Size), '\0');
  In.read(Bytes.data(), static_cast<std::streamsize>(Size));
  Bytes.resize(static_cast<size_t>(In.gcount()));
  return Utf8ToString(Bytes);
}

}  // namespace

bool TksILParser::LoadUnit(const String& UnitName, std::vector<TksSyntaxNode*>& Items, size_t& Mark) {
  for (const String& U : FUsesList)
    if (ksSameText(U, UnitName)) return true;
  FUsesList.push_back(UnitName);
  String UnitText;
  if (FProgram->OnGetUnit()) {
    FProgram->OnGetUnit()(FProgram, UnitName, UnitText);
  } else {
    UnitText = ReadUnitFile(FProgram->IncludePath(), UnitName);
  }
  TksSyntaxNode* Tree = nullptr;
  bool Ok = true;
  if (!UnitText.empty() && UnitNesting >= kMaxUnitNesting) {
    // Units that use units without end (each name new) would recurse until the stack ends.
    FProgram->SetErrorMsg(kNestingTooDeep);
    FProgram->SetErrorPos(u"1:1");
    if (FProgram->ErrorUnit().empty()) FProgram->SetErrorUnit(UnitName);
    return false;
  }
  if (!UnitText.empty()) {
    UnitText = ksCRLFText(UnitText);
    ++UnitNesting;
    struct TLeave {
      ~TLeave() { --UnitNesting; }
    } Leave;
    TksILParser Sub(FProgram);
    Sub.FTree = FTree;  // the unit's elements join this tree
    Sub.FUnitName = UnitName;
    Sub.SelectLanguage(FLangName);
    Sub.FUsesList = FUsesList;
    if (Sub.MakeILScript(UnitText)) {
      FUsesList = Sub.FUsesList;
      Tree = Sub.FRoot;
    } else {
      Ok = false;
      if (FProgram->ErrorUnit().empty()) FProgram->SetErrorUnit(UnitName);
    }
  }
  TksSyntaxNode* Uses = FTree->NewRawNode(u"uses", u"unit=\"" + ksStrToXML(UnitName) + u"\"");
  if (Tree) FTree->SetChildren(Uses, &Tree, 1);
  Items.insert(Items.begin() + static_cast<std::ptrdiff_t>(Mark), Uses);
  Mark += 1;
  return Ok;
}
