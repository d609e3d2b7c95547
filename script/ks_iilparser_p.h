// ks_iilparser_p.h - shared by the walker and the compiler of TksILParser only.
//
// A grammar document is read once per language and kept as a graph of nodes with their
// attributes lower-cased and rule references bound, so that a compile neither re-reads the
// document nor searches the rules by name.
#pragma once

#include <bitset>
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
  String Add;         // `add`
  String AddText;     // `addtext`
  bool HasAddText = false;
  String ErrText;     // the message of `err`
  bool HasErr = false;
  bool Term = false;
  bool NoSkip = false;   // char with skip "0"
  bool LoopSkip = false; // loop with skip "1"
  TksGrammarNode* Ref = nullptr;  // the rule a reference names, bound once
  std::vector<TksGrammarNode*> Children;
  // Lookahead: when CanSkip, the element fails without recording an error unless the next
  // token starts with a character of First (FirstOther: any character past 127), so an
  // alternative can be passed over without entering it. FirstDepth is how many elements deep
  // the walk would go before failing, which the nesting limit needs; FirstEnters, whether it
  // would enter a rule or sequence on the way.
  bool CanSkip = false;
  bool FirstOther = false;
  bool FirstEnters = false;
  int FirstDepth = 0;
  std::bitset<128> First;
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
