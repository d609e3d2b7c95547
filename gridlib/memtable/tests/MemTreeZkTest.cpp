// MemTreeZkTest.cpp - the ordered tree: attaching, level limit, moves, visible walks.
#include "gridlib/memtable/MemTreeZk.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"

namespace {

TTreeListZk* NewTree() {
  return new TTreeListZk([](TTreeListZk* Owner) { return new TBaseTreeNodeZk(Owner); });
}

String Texts(TBaseTreeNodeZk* Parent) {
  String S;
  for (int I = 0; I < Parent->Count(); ++I) S += Parent->Items(I)->Text();
  return S;
}

// A root with children a, b, c; b has children b1, b2.
struct TSmallTree {
  std::unique_ptr<TTreeListZk> Tree{NewTree()};
  TBaseTreeNodeZk* A = Tree->AddChild(u"a", nullptr, nullptr);
  TBaseTreeNodeZk* B = Tree->AddChild(u"b", nullptr, nullptr);
  TBaseTreeNodeZk* C = Tree->AddChild(u"c", nullptr, nullptr);
  TBaseTreeNodeZk* B1 = Tree->AddChild(u"1", B, nullptr);
  TBaseTreeNodeZk* B2 = Tree->AddChild(u"2", B, nullptr);
};

TEST(MemTreeZk, NewTreeIsEmpty) {
  std::unique_ptr<TTreeListZk> Tree(NewTree());
  EXPECT_EQ(Tree->Root()->Level(), 0);
  EXPECT_EQ(Tree->GetFirst(), nullptr);
  EXPECT_EQ(Tree->GetLast(nullptr), nullptr);
  EXPECT_EQ(Tree->GetFirstVisible(), nullptr);
  EXPECT_EQ(Tree->CountChildren(nullptr), 0);
}

TEST(MemTreeZk, AttachModes) {
  struct TCase {
    TNodeAttachModeZk Mode;
    const char* Destination;  // "root", "nil" or "b"
    bool ReIndex;
    const char16_t* TopLevel;
    const char16_t* UnderB;
  };
  const TCase Cases[] = {
      {naAddZk, "b", true, u"abcx", u"12"},        {naAddFirstZk, "b", true, u"xabc", u"12"},
      {naAddChildZk, "b", false, u"abc", u"12x"},  {naAddChildFirstZk, "b", true, u"abc", u"x12"},
      {naInsertZk, "b", true, u"axbc", u"12"},     {naAddChildZk, "nil", false, u"abcx", u"12"},
      {naAddZk, "nil", true, u"abc", u"12"},       {naInsertZk, "root", true, u"abc", u"12"},
      {naAddChildFirstZk, "root", true, u"xabc", u"12"},
  };
  for (const TCase& Case : Cases) {
    TSmallTree T;
    TBaseTreeNodeZk* X = T.Tree->CreateNodeApart(u"x", nullptr);
    TBaseTreeNodeZk* Dest = std::string(Case.Destination) == "b" ? T.B
                            : std::string(Case.Destination) == "root" ? T.Tree->Root()
                                                                      : nullptr;
    T.Tree->AddNode(X, Dest, Case.Mode, Case.ReIndex);
    SCOPED_TRACE(std::string(Case.Destination) + " mode " + std::to_string(Case.Mode));
    EXPECT_EQ(Texts(T.Tree->Root()), Case.TopLevel);
    EXPECT_EQ(Texts(T.B), Case.UnderB);
    if (!X->Parent()) delete X;  // not attached: still ours
    else
      EXPECT_EQ(X->Level(), X->Parent()->Level() + 1);
  }
}

TEST(MemTreeZk, InsertWithoutReIndexLeavesLaterIndexesUntilRebuilt) {
  TSmallTree T;
  TBaseTreeNodeZk* X = T.Tree->CreateNodeApart(u"x", nullptr);
  T.Tree->AddNode(X, T.B, naInsertZk, false);
  EXPECT_EQ(X->Index(), 1);
  EXPECT_EQ(T.B->Index(), 1);
  T.Tree->BuildChildrenIndex(nullptr, false);
  EXPECT_EQ(T.B->Index(), 2);
  EXPECT_EQ(T.C->Index(), 3);
}

// The level limit is checked before anything changes (1000 allowed, 1001 refused).
TEST(MemTreeZk, LevelLimitIsCheckedBeforeAttaching) {
  std::unique_ptr<TTreeListZk> Tree(NewTree());
  TBaseTreeNodeZk* N = nullptr;
  for (int I = 0; I < 1000; ++I) N = Tree->AddChild(u"n", N, nullptr);
  EXPECT_EQ(N->Level(), 1000);
  EXPECT_THROW(
      {
        try {
          Tree->AddChild(u"too deep", N, nullptr);
        } catch (const Exception& E) {
          EXPECT_EQ(E.Message(), u"TBaseTreeNodeZk.SetLevel: Max level exceed - 1000");
          throw;
        }
      },
      Exception);
  EXPECT_EQ(N->Count(), 0);
  EXPECT_FALSE(N->HasChildren());

  // A subtree of depth 1 moved under level 999 would reach 1001: refused, nothing moved.
  TBaseTreeNodeZk* Top = Tree->AddChild(u"top", nullptr, nullptr);
  Tree->AddChild(u"child", Top, nullptr);
  TBaseTreeNodeZk* L999 = N->Parent();
  EXPECT_THROW(Tree->MoveTo(Top, L999, naAddChildZk, true), Exception);
  EXPECT_EQ(Top->Parent(), Tree->Root());
  EXPECT_EQ(L999->Count(), 1);
  TBaseTreeNodeZk* Apart = Tree->CreateNodeApart(u"apart", nullptr);
  EXPECT_THROW(Tree->AddNode(Apart, N, naAddChildZk, true), Exception);
  EXPECT_EQ(Apart->Parent(), nullptr);
  delete Apart;
}

TEST(MemTreeZk, NodeOfAnotherTreeIsRefusedBeforeChanges) {
  TSmallTree T;
  std::unique_ptr<TTreeListZk> Other(NewTree());
  TBaseTreeNodeZk* Foreign = Other->CreateNodeApart(u"f", nullptr);
  EXPECT_THROW(T.Tree->AddNode(Foreign, T.B, naAddChildZk, true), Exception);
  EXPECT_EQ(Foreign->Parent(), nullptr);
  EXPECT_EQ(Texts(T.B), u"12");
  delete Foreign;
}

TEST(MemTreeZk, MoveOntoSelfOrDescendantRaisesAndChangesNothing) {
  TSmallTree T;
  for (TBaseTreeNodeZk* Dest : {T.B, T.B1}) {
    EXPECT_THROW(T.Tree->MoveTo(T.B, Dest, naAddChildZk, true), Exception);
    EXPECT_EQ(Texts(T.Tree->Root()), u"abc");
    EXPECT_EQ(Texts(T.B), u"12");
  }
  T.Tree->MoveTo(T.B1, T.A, naAddChildZk, true);
  EXPECT_EQ(Texts(T.A), u"1");
  EXPECT_EQ(T.B2->Index(), 0);
  EXPECT_EQ(T.B1->Level(), 2);
}

TEST(MemTreeZk, ExtractClearsHasChildrenButDeleteChildrenDoesNot) {
  TSmallTree T;
  T.Tree->DeleteNode(T.B1, true);
  T.Tree->DeleteNode(T.B2, true);
  EXPECT_FALSE(T.B->HasChildren());
  TBaseTreeNodeZk* A1 = T.Tree->AddChild(u"1", T.A, nullptr);
  (void)A1;
  T.Tree->DeleteChildren(T.A);
  EXPECT_TRUE(T.A->HasChildren());
  EXPECT_EQ(T.A->Count(), 0);
}

TEST(MemTreeZk, ExpandAndCollapseRecursively) {
  TSmallTree T;
  T.Tree->Expand(nullptr, true);
  EXPECT_TRUE(T.B->Expanded());
  EXPECT_FALSE(T.A->Expanded());
  EXPECT_FALSE(T.Tree->Root()->Expanded());
  T.Tree->Collapse(nullptr, true);
  EXPECT_FALSE(T.B->Expanded());
}

TEST(MemTreeZk, VisibleWalksSkipHiddenAndCollapsed) {
  TSmallTree T;
  T.Tree->Expand(nullptr, true);
  auto Walk = [&T](bool ConsiderCollapsed) {
    String S;
    for (TBaseTreeNodeZk* N = T.Tree->GetFirstVisible(); N; N = T.Tree->GetNextVisible(N, ConsiderCollapsed))
      S += N->Text();
    return S;
  };
  EXPECT_EQ(Walk(true), u"ab12c");
  T.B1->SetVisible(false);
  EXPECT_EQ(Walk(true), u"ab2c");
  EXPECT_EQ(T.Tree->GetNextVisibleSibling(T.B2), nullptr);
  EXPECT_EQ(T.Tree->GetPrevVisibleSibling(T.B2), nullptr);
  T.B->SetExpanded(false);
  EXPECT_EQ(Walk(true), u"abc");
  EXPECT_EQ(Walk(false), u"ab2c");
  T.A->SetVisible(false);
  EXPECT_EQ(Walk(true), u"bc");
  T.B2->SetVisible(false);
  EXPECT_EQ(T.B->GetVisibleCount(), 0);
  EXPECT_FALSE(T.B->HasChildren());
}

TEST(MemTreeZk, GetNodeFindsFirstMatchDepthFirstAndNeverTheStart) {
  TSmallTree T;
  TObject Marker;
  T.B2->SetData(&Marker);
  T.C->SetData(&Marker);
  EXPECT_EQ(T.Tree->GetNode(nullptr, &Marker), T.B2);
  EXPECT_EQ(T.Tree->GetNode(T.B2, &Marker), nullptr);
  EXPECT_EQ(T.Tree->GetNext(T.B2), T.C);
  EXPECT_EQ(T.Tree->GetPrevious(T.C), T.B2);
  EXPECT_EQ(T.Tree->GetParentAtLevel(T.B2, 1), T.B);
}

TEST(MemTreeZk, SortChildrenRecursively) {
  std::unique_ptr<TTreeListZk> Tree(NewTree());
  for (const char16_t* S : {u"c", u"a", u"b"}) {
    TBaseTreeNodeZk* N = Tree->AddChild(S, nullptr, nullptr);
    Tree->AddChild(u"z", N, nullptr);
    Tree->AddChild(u"y", N, nullptr);
  }
  Tree->SortData([](TBaseTreeNodeZk* A, TBaseTreeNodeZk* B, void*) { return A->Text().compare(B->Text()); },
                 nullptr, true);
  EXPECT_EQ(Texts(Tree->Root()), u"abc");
  EXPECT_EQ(Texts(Tree->Root()->Items(0)), u"yz");
  EXPECT_EQ(Tree->Root()->Items(2)->Index(), 2);
}

}  // namespace
