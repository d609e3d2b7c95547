// ks_isyntaxtreeTest.cpp - program-tree nodes: built and saved forms answer alike, and the
// saved form goes through the tree unchanged.
#include "script/ks_isyntaxtree.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string_view>
#include <utility>

#include "script/ks_xml.h"
#include "script/tests/ks_TestHost.h"

namespace {

std::string XMLText(const TksXMLItem* X) {
  TksXMLDocument Doc;
  Doc.Root()->Assign(X);
  return Doc.SaveToString();
}

TEST(ksSyntaxTree, BuiltNodesAnswerAsTheirSavedFormAndItsCopy) {
  TksSyntaxTree T;
  TksSyntaxNode* Str = T.NewNode(u"string");
  T.SetText(Str, u"'a \"b\" & <c>\r\n'");
  TksSyntaxTree::SetPos(Str, {7, 12});
  TksSyntaxNode* Expr = T.NewNode(u"expr");
  TksSyntaxTree::SetPos(Expr, {5, 12});
  TksSyntaxTree::SetPos1(Expr, {21, 13});
  T.SetChildren(Expr, &Str, 1);
  TksSyntaxNode* Bare = T.NewNode(u"Types");
  TksSyntaxNode* const Parts[] = {Expr, Bare};
  TksSyntaxNode* Root = T.NewNode(u"program");
  T.SetChildren(Root, Parts, 2);

  std::unique_ptr<TksXMLItem> Saved = TksSyntaxTree::ToXML(Root);
  EXPECT_EQ(Saved->Items(0)->Text(), u"pos=\"12:5\" pos1=\"13:21\"");
  EXPECT_EQ(Saved->Items(0)->Items(0)->Text(),
            u"text=\"'a &#34;b&#34; &#38; &#60;c&#62;&#13;&#10;'\" pos=\"12:7\"");
  EXPECT_EQ(Saved->Items(1)->Text(), u"");

  // The saved form read back answers every question as the built node does, and saves to the
  // same text again.
  TksSyntaxTree Copy;
  TksSyntaxNode* Loaded = Copy.FromXML(Saved.get());
  EXPECT_EQ(XMLText(TksSyntaxTree::ToXML(Loaded).get()), XMLText(Saved.get()));
  for (const TksSyntaxNode* R : {Root, Loaded}) {
    SCOPED_TRACE(R == Root ? "built" : "loaded");
    const TksSyntaxNode* S = R->Items(0)->Items(0);
    EXPECT_EQ(S->Text(), u"'a \"b\" & <c>\r\n'");
    EXPECT_EQ(S->Prop(u"TEXT"), S->Text());
    EXPECT_TRUE(S->HasText());
    EXPECT_EQ(S->Pos(), u"12:7");
    EXPECT_EQ(R->Items(0)->Prop(u"pos1"), u"13:21");
    EXPECT_EQ(R->Items(0)->EndPoint().Y, 13);
    EXPECT_EQ(R->Items(0)->StartPoint().X, 5);
    EXPECT_FALSE(R->Items(1)->HasText());
    EXPECT_EQ(R->Items(1)->Pos(), u"");
    EXPECT_EQ(R->Items(1)->Prop(u"unit"), u"");
    EXPECT_EQ(R->Find(u"TYPES"), 1);
    EXPECT_EQ(R->Find(u"stmt"), -1);
    // A saved tree may lack a child the compiler asks for.
    EXPECT_THROW(R->Items(2), std::out_of_range);
    EXPECT_THROW(S->Items(0), std::out_of_range);
  }
}

TEST(ksSyntaxTree, InsertedChildAndLargeTextsKeepTheirPlace) {
  TksSyntaxTree T;
  TksSyntaxNode* A = T.NewNode(u"a");
  TksSyntaxNode* B = T.NewNode(u"b");
  TksSyntaxNode* P = T.NewNode(u"p");
  T.SetChildren(P, &B, 1);
  T.InsertChild(P, 0, A);
  ASSERT_EQ(P->Count(), 2);
  EXPECT_EQ(P->Items(0)->Name(), u"a");
  EXPECT_EQ(P->Items(1)->Name(), u"b");
  // Texts larger than a block, between small ones, stay whole.
  String Big(100000, u'x');
  T.SetText(A, Big);
  T.SetText(B, u"small");
  EXPECT_EQ(A->Text(), Big);
  EXPECT_EQ(B->Text(), u"small");
}

// A saved tree is outside data: its element names may be in any case, cut short, longer or
// not letters at all, and only a whole name (ignoring case) is the compiler's.
TEST(ksSyntaxTree, NodeNamesAreKnownIgnoringCaseAndOnlyWhole) {
  const std::pair<std::u16string_view, TksNodeName> Cases[] = {
      {u"expr", nnExpr},          {u"EXPR", nnExpr},       {u"eXpR", nnExpr},
      {u"op", nnOp},              {u"o", nnOther},         {u"exp", nnOther},
      {u"exprs", nnOther},        {u"CaseSelector", nnCaseSelector},
      {u"caseselectors", nnOther}, {u"", nnOther},          {u"expr\u00e9", nnOther},
      {u"e\u0445pr", nnOther},     {u"types", nnTypes},     {u"type", nnType},
      {u"varparams", nnVarParams}, {u"VarParam", nnVarParam}};
  TksSyntaxTree T;
  for (auto& [Name, Id] : Cases) {
    EXPECT_EQ(ksNodeNameOf(Name), Id) << StringToUtf8(String(Name));
    TksSyntaxNode* N = T.NewNode(Name);
    EXPECT_TRUE(N->Is(Id));
    EXPECT_TRUE(N->Is(Id));  // the remembered id answers the second time
  }
}

// The saved form of a compiled program loads into a tree that compiles and runs as the source
// does, in each language, with a used unit in between.
TEST(ksSyntaxTree, SavedProgramWithAUnitRunsAfterLoading) {
  const struct {
    const char16_t* Language;
    const char16_t* Unit;
    const char16_t* Program;
  } kCases[] = {
      {u"PascalScript", u"function Twice(x: Integer): Integer; begin Result := x * 2 end; begin end.",
       u"uses 'u.pas'; var s: String; begin s := 'a&<'; Out(s + IntToStr(Twice(21))) end."},
      {u"JScript", u"function Twice(x) { return x * 2; }",
       u"import \"u.js\"; var s = \"a&<\"; Out(s + IntToStr(Twice(21)));"},
  };
  for (const auto& C : kCases) {
    SCOPED_TRACE(StringToUtf8(C.Language));
    auto Units = [&](TksScript*, const String&, String& Text) { Text = C.Unit; };
    TksTestHost H(C.Language);
    H.Script->SetOnGetUnit(Units);
    H.Script->SetText(C.Program);
    std::string Tree;
    ASSERT_TRUE(H.Script->GetILCode(Tree)) << StringToUtf8(H.Script->ErrorMsg());
    TksTestHost Loaded(C.Language);
    ASSERT_TRUE(Loaded.Script->SetILCode(Tree)) << StringToUtf8(Loaded.Script->ErrorMsg());
    Loaded.Script->Execute();
    EXPECT_EQ(Loaded.Output, u"a&<42");
  }
}

}  // namespace
