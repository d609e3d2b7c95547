// DBGridZkHeadTreeTest.cpp - the multi-title header tree: captions turned into groups, the ring
// operations and their errors, and the title row sized from the stacked captions.
#include <gtest/gtest.h>

#include <vector>

#include "gridlib/grid/DBGridZkHeadTree.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

// "A(X,Y),B": each node's text, children in parentheses.
String Shape(THeadTreeNode* Node) {
  String S;
  if (!Node->Child) return S;
  THeadTreeNode* K = Node->Child;
  do {
    if (!S.empty()) S += u",";
    S += K->Text;
    if (K->Child) S += u"(" + Shape(K) + u")";
    K = K->Next;
  } while (K != Node->Child);
  return S;
}

void SetCaptions(TDBGridZk* G, const std::vector<String>& Captions) {
  const char16_t* Fields[] = {u"ID", u"NAME", u"PRICE", u"QTY", u"FLAG"};
  G->Columns()->BeginUpdate();
  G->Columns()->Clear();
  for (std::size_t I = 0; I < Captions.size(); ++I) {
    TColumnZk* C = G->Columns()->Add();
    C->SetFieldName(Fields[I % 5]);
    C->Title()->SetCaption(Captions[I]);
  }
  G->Columns()->EndUpdate();
}

TEST(DBGridZkHeadTree, CaptionsBecomeGroupsOfNeighbours) {
  TDBGridOnForm F(2);
  TDBGridZk* G = F.Grid;
  G->SetUseMultiTitle(true);
  struct TCase { std::vector<String> Captions; const char16_t* Shape; };
  const TCase Cases[] = {
      {{u"A|X", u"A|Y", u"B"}, u"A(X,Y),B"},
      {{u"A|X", u"B", u"A|Y"}, u"A(X),B,A(Y)"},
      {{u"A||X", u"B"}, u"A(X),B"},
      {{u"A|", u"B"}, u"A|,B"},
      {{u"A|B|x", u"A|B|y", u"A|z"}, u"A(B(x,y),z)"},
      {{u"Товар|Название", u"Товар|Цена", u"Товар|Кол-во", u"Флаг"},
       u"Товар(Название,Цена,Кол-во),Флаг"},
  };
  for (const TCase& C : Cases) {
    SetCaptions(G, C.Captions);
    EXPECT_EQ(Shape(G->HeadTree()), C.Shape) << StringToUtf8(Shape(G->HeadTree()));
    ASSERT_EQ(G->LeafFieldArr().size(), C.Captions.size());
    EXPECT_EQ(G->LeafFieldArr()[0].FColumn, G->Columns()->Items(0));
  }
  // A group spans its leaves and the lines between them; its caption band sits above them.
  SetCaptions(G, {u"A|X", u"A|Y", u"B"});
  THeadTreeNode* A = G->HeadTree()->Child;
  THeadTreeNode* X = A->Child;
  EXPECT_EQ(A->Width, X->Width + 1 + X->Next->Width);
  EXPECT_EQ(X->Width, G->ColWidth(1));
  EXPECT_EQ(A->Height + X->Height, A->Next->Height) << "the stack is as tall as a plain leaf";
  EXPECT_EQ(G->RowHeight(0), A->Next->Height - 1) << "raised titles";
  EXPECT_EQ(X->GetLevel(), 2);
}

TEST(DBGridZkHeadTree, TitleRowGrowsWithTheLevels) {
  TDBGridOnForm F(2);
  TDBGridZk* G = F.Grid;
  G->SetUseMultiTitle(true);
  SetCaptions(G, {u"X", u"Y"});
  const int One = G->RowHeight(0);
  SetCaptions(G, {u"A|X", u"A|Y"});
  const int Two = G->RowHeight(0);
  SetCaptions(G, {u"A|B|X", u"A|B|Y"});
  const int Three = G->RowHeight(0);
  EXPECT_GT(Two, One);
  EXPECT_EQ(Three - Two, Two - One) << "each level adds the same band";
  G->SetVTitleMargin(20);
  EXPECT_EQ(G->RowHeight(0), Three + 3 * 10) << "every level's band has the margin";
}

TEST(DBGridZkHeadTree, RingOperationsCheckTheirNodes) {
  THeadTreeNode Root(u"Root", 10, 0);
  THeadTreeNode* P = Root.AddChild(&Root, u"P", 30, 40);
  THeadTreeNode* Q = Root.Add(P, u"Q", 30, 50);
  THeadTreeNode* R = Root.AddChild(&Root, u"R", 30, 60);
  for (THeadTreeNode* N : {P, Q, R}) N->VLineWidth = 1;
  EXPECT_EQ(Shape(&Root), u"P,Q,R");
  THeadTreeNode Stranger(u"S", 0, 0);
  EXPECT_THROW(Root.Add(&Stranger, u"x", 0, 0), Exception);
  try {
    Root.AddChild(&Stranger, u"x", 0, 0);
    ADD_FAILURE();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Node not in Tree");
  }
  try {
    Root.Union(Q, P, u"G", 20);
    ADD_FAILURE();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"ATo not in level") << "P comes before Q";
  }
  THeadTreeNode* G = Root.Union(Q, R, u"G", 20);
  EXPECT_EQ(Shape(&Root), u"P,G(Q,R)");
  EXPECT_EQ(G->Width, 50 + 1 + 60);
  EXPECT_EQ(Q->Height, 10);
  EXPECT_EQ(R->Host, G);
  EXPECT_EQ(R->Next, Q) << "the grouped nodes form their own ring";
  EXPECT_EQ(G->Next, P);
  Root.Union(P, G, u"All", 5);
  EXPECT_EQ(Shape(&Root), u"All(P,G(Q,R))");
  EXPECT_EQ(Root.Child->Next, Root.Child) << "a lone node points to itself";
}

}  // namespace
