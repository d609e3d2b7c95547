// ks_isyntaxtree.h - the program tree: what the grammar walker builds and the compiler reads.
//
// Nodes, their child lists and their texts live in blocks the tree owns, freed with the tree in
// one step. A node the walker builds keeps its attributes parsed: the token text as it reads,
// the source positions as line and column. A node copied from the saved form (XML) keeps its
// raw attribute text instead and answers the same questions from it, exactly as the XML element
// would. The tree converts to that form and back.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/rtl/Types.h"
#include "script/ks_iparser.h"

class TksXMLItem;

// The element names the compiler tells apart, one byte each (nnOther: any other name). A
// node's name is looked up once, ignoring case as ksSameText does.
enum TksNodeName : unsigned char {
  nnOther, nnAddr, nnArray, nnAssignStmt, nnBreak, nnCallStmt, nnCaseSelector, nnCaseStmt,
  nnCompoundStmt, nnConst, nnContinue, nnCppForStmt, nnDelete, nnDim, nnDownto, nnDsgn,
  nnElseStmt, nnExceptStmt, nnExit, nnExpr, nnFinallyStmt, nnForStmt, nnFunction, nnIdent,
  nnIfStmt, nnInit, nnInverse, nnModificator, nnName, nnNew, nnNode, nnNumber, nnOp,
  nnParameters, nnProcedure, nnRange, nnRepeatStmt, nnReturn, nnSet, nnString, nnThenStmt,
  nnTryStmt, nnType, nnTypes, nnUses, nnVar, nnVarParam, nnVarParams, nnVbForStmt, nnWhileStmt,
  nnWith, nnUnknown  // not looked up yet
};

// The name's id; nnOther when the compiler has no use for it.
TksNodeName ksNodeNameOf(std::u16string_view Name);

class TksSyntaxNode {
public:
  std::u16string_view Name() const { return FName; }
  TksNodeName NameId() const {
    if (FNameId == nnUnknown) FNameId = ksNodeNameOf(FName);
    return FNameId;
  }
  bool Is(TksNodeName Id) const { return NameId() == Id; }
  int Count() const { return FCount; }
  // Raises std::out_of_range past the end, as a saved tree may lack a child the compiler needs.
  TksSyntaxNode* Items(int Index) const {
    if (Index < 0 || Index >= FCount) [[unlikely]]
      ChildOutOfRange();
    return FItems[Index];
  }
  // The first child named AName, ignoring case; -1 when there is none.
  int Find(std::u16string_view AName) const;
  // The value of an attribute ("text", "pos", "pos1", "unit", ...); empty when absent.
  String Prop(std::u16string_view AName) const;
  String Text() const;
  bool HasText() const;
  // The start position as "line:column"; empty when the node has none.
  String Pos() const;
  // Whether Pos() is not empty.
  bool HasPos() const { return FBuilt ? FPos.Y != 0 : HasRawPos(); }
  // The start and end positions (Y = line, X = column); Y is 0 when unknown.
  TksPoint StartPoint() const;
  TksPoint EndPoint() const;
  bool HasEndPoint() const;

private:
  friend class TksSyntaxTree;

  bool HasRawPos() const;
  [[noreturn]] static void ChildOutOfRange();

  std::u16string_view FName;
  std::u16string_view FText;  // the "text" value of a built node, decoded
  std::u16string_view FRaw;   // the attribute text of a node copied from the saved form
  TksPoint FPos;              // "pos" of a built node (Y = 0: none)
  TksPoint FPos1;             // "pos1" of a built node (Y = 0: none)
  bool FBuilt = true;
  bool FHasText = false;
  mutable TksNodeName FNameId = nnUnknown;
  TksSyntaxNode** FItems = nullptr;
  int FCount = 0;
};

class TksSyntaxTree {
public:
  TksSyntaxTree();
  ~TksSyntaxTree();
  TksSyntaxTree(const TksSyntaxTree&) = delete;
  TksSyntaxTree& operator=(const TksSyntaxTree&) = delete;

  TksSyntaxNode* Root() const { return FRoot; }
  void SetRoot(TksSyntaxNode* Value) { FRoot = Value; }
  // Keeps an object (a grammar) alive as long as the tree: node names may point into it.
  void KeepAlive(std::shared_ptr<const void> Owner) { FKeep.push_back(std::move(Owner)); }

  // A built node. Name must outlive the tree (a grammar's text, a literal, or Keep's copy).
  TksSyntaxNode* NewNode(std::u16string_view Name);
  void SetText(TksSyntaxNode* N, std::u16string_view Text) {
    N->FText = Keep(Text);
    N->FHasText = true;
  }
  // Sets a text that outlives the tree without copying it.
  void SetStaticText(TksSyntaxNode* N, std::u16string_view Text) {
    N->FText = Text;
    N->FHasText = true;
  }
  static void SetPos(TksSyntaxNode* N, TksPoint Pos) { N->FPos = Pos; }
  static void SetPos1(TksSyntaxNode* N, TksPoint Pos) { N->FPos1 = Pos; }
  // A node with a raw attribute text, as the saved form writes it.
  TksSyntaxNode* NewRawNode(std::u16string_view Name, std::u16string_view Attributes);
  void SetChildren(TksSyntaxNode* N, TksSyntaxNode* const* First, size_t Count);
  void InsertChild(TksSyntaxNode* N, int Index, TksSyntaxNode* Child);
  // A copy of S in the tree's blocks.
  std::u16string_view Keep(std::u16string_view S);

  // Copies a saved element and its children into the tree.
  TksSyntaxNode* FromXML(const TksXMLItem* X);
  // The saved form of a node and its children, attributes written as the XML element holds them.
  static std::unique_ptr<TksXMLItem> ToXML(const TksSyntaxNode* N);
  // The raw attribute text of a node in the saved form.
  static String AttributeText(const TksSyntaxNode* N);

private:
  void* Allocate(size_t Bytes);
  // The id of a name, remembered by where its text is: nodes of one grammar element share
  // their name's text, which outlives the tree, so a place seen before has the same text.
  TksNodeName NameIdOf(std::u16string_view Name);

  struct TNameSeen {
    const Char* Data = nullptr;
    size_t Size = 0;
    TksNodeName Id = nnOther;
  };
  TNameSeen FNamesSeen[64];

  std::vector<std::unique_ptr<char[]>> FBlocks;
  char* FNext = nullptr;
  size_t FLeft = 0;
  TksSyntaxNode* FRoot = nullptr;
  std::vector<std::shared_ptr<const void>> FKeep;
};
