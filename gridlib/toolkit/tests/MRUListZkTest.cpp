// MRUListZkTest.cpp - the most-recently-used list: adding, the limit, case, filtering and its
// interruption by a waiting key press.
#include <gtest/gtest.h>

#include "gridlib/toolkit/MRUListZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

namespace {

String Joined(TStrings* S) {
  String R;
  for (int I = 0; I < S->Count(); ++I) R += (I ? u"," : u"") + S->Strings(I);
  return R;
}

TEST(MRUList, AddMovesEqualEntriesToTheEndAndIgnoresBlanks) {
  TMRUListZk L;
  L.Add(u"abc");
  L.Add(u"def");
  L.Add(u"  ");
  L.Add(u"");
  EXPECT_EQ(Joined(L.Items()), u"abc,def");
  L.Add(u"ABC");   // the same entry: moved, its first text kept
  EXPECT_EQ(Joined(L.Items()), u"def,abc");
  L.SetCaseSensitive(true);
  L.Add(u"DEF");
  EXPECT_EQ(Joined(L.Items()), u"def,abc,DEF");
  L.Add(u" abc");  // compared untrimmed: a new entry
  EXPECT_EQ(L.Items()->Count(), 4);
}

TEST(MRUList, LimitDropsTheOldest) {
  TMRUListZk L;
  for (int I = 0; I < 101; ++I) L.Add(Utf8ToString(std::to_string(I)));
  EXPECT_EQ(L.Items()->Count(), 100);
  EXPECT_EQ(L.Items()->Strings(0), u"1");
  L.SetLimit(2);
  EXPECT_EQ(Joined(L.Items()), u"99,100");
}

TEST(MRUList, FilterTakesPrefixesAndTheEventDecides) {
  TMRUListZk L;
  for (const char16_t* S : {u"Alpha", u"alpine", u"beta", u"Al"}) L.Add(S);
  TStringList Out;
  Out.Add(u"stale");
  EXPECT_TRUE(L.FilterItemsTo(&Out, u"al"));
  EXPECT_EQ(Joined(&Out), u"Alpha,alpine,Al");
  L.SetCaseSensitive(true);
  EXPECT_TRUE(L.FilterItemsTo(&Out, u"Al"));
  EXPECT_EQ(Joined(&Out), u"Alpha,Al");
  int Seen = 0;
  L.SetOnFilterItem([&](TObject*, bool& Accept) { Accept = ++Seen % 2 == 0; });
  EXPECT_TRUE(L.FilterItemsTo(&Out, u""));
  EXPECT_EQ(Joined(&Out), u"alpine,Al");
}

TEST(MRUList, WaitingKeyPressInterruptsTheFilter) {
  InitControls();
  TForm* Form = new TForm(Application);
  Form->HandleNeeded();
  TMRUListZk L;
  L.SetLimit(300);
  for (int I = 0; I < 250; ++I) L.Add(u"x" + Utf8ToString(std::to_string(I)));
  PostMessage(Form, WM_KEYDOWN, 'A', 0);
  TStringList Out;
  EXPECT_FALSE(L.FilterItemsTo(&Out, u"x"));
  EXPECT_EQ(Out.Count(), 1);   // stopped after the first item
  L.SetCancelIfKeyInQueue(false);
  EXPECT_TRUE(L.FilterItemsTo(&Out, u"x"));
  EXPECT_EQ(Out.Count(), 250);
  TMsg Msg;
  while (PeekMessage(Msg, nullptr, 0, 0, PM_REMOVE)) {}
  delete Form;
}

TEST(MRUList, AssignCopiesTheSettingsAndEventsFire) {
  TMRUListZk A, B;
  A.Add(u"one");
  A.SetLimit(5);
  A.SetRows(3);
  A.SetCaseSensitive(true);
  int ActiveChanges = 0;
  B.SetOnActiveChanged([&](TObject*) { ++ActiveChanges; });
  A.SetActive(true);
  B.Assign(&A);
  EXPECT_TRUE(B.Active());
  EXPECT_EQ(ActiveChanges, 1);
  EXPECT_EQ(Joined(B.Items()), u"one");
  EXPECT_EQ(B.Limit(), 5);
  EXPECT_EQ(B.Rows(), 3);
  EXPECT_TRUE(B.CaseSensitive());
  TStringList NotAList;
  EXPECT_THROW(B.Assign(&NotAList), Exception);
}

}  // namespace
