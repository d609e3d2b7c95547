// MTOrderByZkTest.cpp - ORDER BY texts and the record comparison.
#include "gridlib/memtable/MTOrderByZk.h"

#include <gtest/gtest.h>

#include "gridlib/memtable/tests/MemTableTestUtil.h"

namespace {

// Resolves the names NAME, ID and "My Field" to 0, 1 and 2.
class TTestOrderBy : public TOrderByList {
public:
  int FindFieldIndex(const String& Name) const override {
    if (Name == u"NAME") return 0;
    if (Name == u"ID") return 1;
    if (Name == u"My Field") return 2;
    return -1;
  }
};

String Describe(const TOrderByList& L) {
  String S;
  for (int I = 0; I < L.Count(); ++I)
    S += IntToStr(L.Items(I).FieldIndex) + (L.Items(I).Desc ? u"d" : u"a") + u" ";
  return S;
}

TEST(OrderByList, Texts) {
  struct TCase {
    const char16_t* Text;
    const char16_t* Items;  // or the error text
  };
  const TCase Cases[] = {
      {u"NAME DESC, [My Field] ASC", u"0d 2a "},
      {u"NAME desc asc", u"0d "},
      {u"NAME;ID", u"0a 1a "},
      {u"NAME,", u"0a "},
      {u"", u""},
      {u"   ", u""},
      {u"NAME ID", u" Invalid token - \"ID\""},
      {u"NAME,,ID", u" Field - \",\" not found."},
      {u"NAME DESCENDING", u" Invalid token - \"DESCENDING\""},
      {u"Nope", u" Field - \"Nope\" not found."},
  };
  for (const TCase& C : Cases) {
    TTestOrderBy L;
    L.Add({1, true, false});  // an earlier order, kept on errors
    String Result;
    try {
      L.ParseOrderByStr(C.Text);
      Result = Describe(L);
    } catch (const Exception& E) {
      Result = E.Message();
      EXPECT_EQ(Describe(L), u"1d ") << "changed by an error";
    }
    EXPECT_EQ(Result, C.Items) << StringToUtf8(C.Text);
  }
}

TEST(OrderByList, TokenizerSkipsBlanksOnly) {
  int Pos = 1;
  EXPECT_EQ(TOrderByList::GetToken(u"  [a b]x", Pos), u"a b");
  EXPECT_EQ(TOrderByList::GetToken(u"  [a b]x", Pos), u"x");
  EXPECT_EQ(TOrderByList::GetToken(u"  [a b]x", Pos), u"");
  Pos = 1;
  EXPECT_EQ(TOrderByList::GetToken(u"\tA", Pos), u"\tA");
}

TEST(OrderByList, CompareNullsFirstAndDescending) {
  auto Data = MakeContainer({{u"NAME", ftString}, {u"ID", ftInteger}});
  TMemoryRecordZk* A = AddRec(Data.get(), {u"a", 1});
  TMemoryRecordZk* B = AddRec(Data.get(), {u"B", 1});
  TMemoryRecordZk* N = AddRec(Data.get(), {Null(), 2});
  TTestOrderBy L;
  L.ParseOrderByStr(u"NAME");
  EXPECT_LT(CompareRecordsByOrder(N, A, L), 0);
  EXPECT_LT(CompareRecordsByOrder(A, B, L), 0);  // the user's collation: lower case first
  L.ParseOrderByStr(u"NAME DESC");
  EXPECT_GT(CompareRecordsByOrder(N, A, L), 0);
  L.ParseOrderByStr(u"ID DESC, NAME");
  EXPECT_LT(CompareRecordsByOrder(A, B, L), 0);
  EXPECT_LT(CompareRecordsByOrder(N, A, L), 0);
}

}  // namespace
