// ks_iilparser_p.h - shared by the walker and the compiler of TksILParser only.
//
// A grammar document is read once per language and kept as a graph of nodes with their
// attributes lower-cased and rule references bound, so that a compile neither re-reads the
// document nor searches the rules by name.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "script/ks_iilparser.h"
#include "script/ks_isyntaxtree.h"

enum TksGrammarKind {
  gkRule, gkChar, gkKeyword, gkIdent, gkNumber, gkString, gkVQString, gkEOL, gkSequence,
  gkSwitch, gkOptionalSwitch, gkOptional, gkLoop, gkOptionalLoop, gkRuleRef
};

struct TksGrammarNode {
  TksGrammarKind Kind = gkRule;
  String Name;        // element name as written (a rule's name, or the referenced rule's)
  String Text;        // `text`, lower-cased (token text or loop separator)
  bool HasText = false;
  String Node;        // `node`, lower-cased
  bool NodeIsUses = false;  // Node is "uses": the units it names are read in its place
  bool NodeIsExpr = false;  // Node is "expr": it keeps its end position too
  String Add;         // `add`
  String AddText;     // `addtext`
  bool HasAddText = false;
  String ErrText;     // the message of `err`
  bool HasErr = false;
  bool Term = false;
  bool NoSkip = false;   // char with skip "0"
  bool LoopSkip = false; // loop with skip "1"
  TksGrammarNode* Ref = nullptr;  // the rule a reference names, bound once
  // A reference with nothing of its own (no node, addition, error or parts): walking it is
  // walking its rule one level deeper.
  bool PlainRef = false;
  // A rule with nothing of its own and one part that gives the position back when it fails
  // (anything but a loop): walking it is walking that part one level deeper, once the rule's
  // start has counted as read for the error position.
  bool Wrapper = false;
  std::vector<TksGrammarNode*> Children;
  uint32_t ChildCount = 0;  // Children.size(), kept where the walker reads it with the node
  // Lookahead: when CanSkip, the element fails without recording an error unless the next
  // token starts with a character of First (FirstOther: any character past 127), so an
  // alternative can be passed over without entering it. FirstDepth is how many elements deep
  // the walk would go before failing, which the nesting limit needs; FirstEnters, whether it
  // would enter a rule or sequence on the way.
  bool CanSkip = false;
  // As CanSkip, for a switch's children only: leading optional parts counted in First.
  bool PickSkip = false;
  // An optional part or loop whose first child can be passed over: where that child cannot
  // start, the element matches empty text without being walked.
  bool OptionalFirstCanSkip = false;
  bool FirstOther = false;
  bool FirstEnters = false;
  int FirstDepth = 0;
  std::bitset<128> First;
  // Switches: the children worth trying for each class of next character (0-127, 128 for any
  // other), in order. Touch marks a child passed over that still counts its start for the
  // error position. Valid while the walk is at least PickDepth elements above the nesting
  // limit; PickLists is empty when no child can be passed over.
  struct TPick {
    uint32_t Index;
    bool Touch;
    bool operator<(const TPick& O) const { return Index != O.Index ? Index < O.Index : Touch < O.Touch; }
  };
  std::vector<std::vector<TPick>> PickLists;
  std::array<uint16_t, 129> PickOf{};
  int PickDepth = 0;
};

struct TksGrammar {
  String Name;
  String Source;  // the grammar text it was built from
  TksXMLDocument Doc;
  std::vector<std::unique_ptr<TksGrammarNode>> Nodes;
  TksGrammarNode* Program = nullptr;
  TksXMLItem* Types = nullptr;
  // The same types section as program-tree nodes, which every compiled tree shares.
  TksSyntaxTree TypesTree;
  TksSyntaxNode* TypesNode = nullptr;
  // Settings of the `parser` section, lower-cased name and text, in document order.
  std::vector<std::pair<String, String>> Settings;
  std::vector<String> Keywords;
  // The `requireeof` setting: text left after the start rule is an error with this message
  // (the error it names, else "Syntax error"). Empty when the grammar allows trailing text.
  String TrailingTextError;
};

// The grammar of a language, built on first use and kept for the process.
std::shared_ptr<const TksGrammar> ksGetGrammar(const String& LangName);
