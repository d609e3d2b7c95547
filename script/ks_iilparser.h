// ks_iilparser.h - the grammar walker and the program-tree compiler.
//
// TksILParser first walks a language grammar over the source text and builds the program tree
// (MakeILScript), then compiles that tree into the run-time objects of a script object
// (ParseILScript). Nothing here knows a particular language: languages are grammar documents.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Types.h"
#include "script/ks_iparser.h"
#include "script/ks_xml.h"

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
  TksDesignator* DoDesignator(TksXMLItem* xi, TksScript* Prog, TksEmitOp EmitOp = emNone);

  TksXMLDocument* ILScript() const { return FILScript.get(); }
  const String& LangName() const { return FLangName; }
  TksParser* Parser() const { return FParser.get(); }

private:
  friend struct TksWalker;
  friend class TksTreeCompiler;

  // The walker (ks_iilparser.cpp).
  void ErrorPosAt(const String& Pos);
  bool LoadUnit(const String& UnitName, std::vector<TksXMLItem*>& Items, size_t& Mark);

  String FErrorPos;
  std::shared_ptr<const TksGrammar> FGrammar;
  std::unique_ptr<TksXMLDocument> FILScript;
  String FLangName;
  bool FNeedDeclareVars = true;
  std::unique_ptr<TksParser> FParser;
  TksScript* FProgram;
  TksXMLItem* FProgRoot = nullptr;
  String FUnitName;
  std::vector<String> FUsesList;
  std::vector<std::pair<String, TksStatement*>> FWithList;
};
