// ks_iilparser.h - the grammar walker and the program-tree compiler.
//
// TksILParser first walks a language grammar over the source text and builds the program tree
// (MakeILScript), then compiles that tree into the run-time objects of a script object
// (ParseILScript). The tree can be saved as XML text and read back instead of walking the
// source. Nothing here knows a particular language: languages are grammar documents.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Types.h"
#include "script/ks_iparser.h"
#include "script/ks_xml.h"

class TksSyntaxNode;
class TksSyntaxTree;

class TksScript;
class TksDesignator;
class TksExpression;
class TksStatement;
class TksCustomVariable;
class TksVariable;
class TksProcVariable;
struct TksGrammar;
struct TksGrammarNode;

enum TksEmitOp { emNone, emCreate, emFree };

class TksILParser {
public:
  explicit TksILParser(TksScript* AProgram);
  ~TksILParser();
  TksILParser(const TksILParser&) = delete;
  TksILParser& operator=(const TksILParser&) = delete;

  void SelectLanguage(const String& LangName);
  bool MakeILScript(const String& Text);
  void ParseILScript();
  // The program tree MakeILScript built, as XML text; a tree read back from that text for
  // ParseILScript (raises "Invalid file format" on malformed text).
  std::string SaveILText() const;
  void LoadILText(std::string_view Text);
  TksDesignator* DoDesignator(TksSyntaxNode* xi, TksScript* Prog, TksEmitOp EmitOp = emNone);
  // A designator from its saved form: late binding keeps the elements it could not yet bind.
  TksDesignator* DoDesignator(const TksXMLItem* xi, TksScript* Prog);
  const String& LangName() const { return FLangName; }
  TksParser* Parser() const { return FParser.get(); }

private:
  friend struct TksWalker;
  friend class TksTreeCompiler;

  // The walker (ks_iilparser.cpp).
  bool LoadUnit(const String& UnitName, std::vector<TksSyntaxNode*>& Items, size_t& Mark);

  // The position compile errors report: FErrorNode's when it is set (written out only when an
  // error needs it), else FErrorPos.
  const String& ErrorPos();
  void SetErrorPos(const String& Pos);

  String FErrorPos;
  const TksSyntaxNode* FErrorNode = nullptr;
  std::shared_ptr<const TksGrammar> FGrammar;
  std::unique_ptr<TksSyntaxTree> FOwnTree;
  TksSyntaxTree* FTree;  // FOwnTree, or the tree of the parser whose used unit this one reads
  TksSyntaxNode* FRoot = nullptr;
  String FLangName;
  bool FNeedDeclareVars = true;
  std::unique_ptr<TksParser> FParser;
  TksScript* FProgram;
  TksSyntaxNode* FProgRoot = nullptr;
  String FUnitName;
  std::vector<String> FUsesList;
  std::vector<std::pair<String, TksStatement*>> FWithList;
};
