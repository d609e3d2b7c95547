// EditEngineTest.cpp - selection rules, MaxLength, CharCase and the one-level undo of the edit.
#include "platform/controls/EditEngine.h"

#include <gtest/gtest.h>

namespace {

TEditEngine With(const String& Text) {
  TEditEngine E;
  E.SetText(Text);
  return E;
}

TEST(EditEngine, SetSelRules) {
  struct Row {
    const char* Name;
    int Start, End;
    int SelStart, SelLength, Caret;
  } Rows[] = {
      {"plain", 1, 3, 1, 2, 3},
      {"end -1 is the end", 2, -1, 2, 3, 5},
      {"end beyond the text", 0, 99, 0, 5, 5},
      {"backward selection keeps the caret at its start", 4, 1, 1, 3, 1},
      {"deselect: caret to the end", 0x7FFFFFFF, -1, 5, 0, 5},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    TEditEngine E = With(u"abcde");
    E.SetSel(R.Start, R.End);
    EXPECT_EQ(E.SelStart(), R.SelStart);
    EXPECT_EQ(E.SelLength(), R.SelLength);
    EXPECT_EQ(E.Caret(), R.Caret);
  }
  TEditEngine E = With(u"abcde");
  E.SetSel(1, 3);
  E.SetSel(-1, 0);   // start -1 drops the selection, the caret stays
  EXPECT_EQ(E.SelLength(), 0);
  EXPECT_EQ(E.Caret(), 3);
}

TEST(EditEngine, MaxLengthCutsWhatDoesNotFit) {
  TEditEngine E = With(u"abc");
  E.SetMaxLength(5);
  E.SetSel(3, 3);
  EXPECT_TRUE(E.ReplaceSel(u"XYZ"));
  EXPECT_EQ(ToUtf8(E.Text()), "abcXY");
  EXPECT_FALSE(E.TypeChar(u'Q'));
  EXPECT_EQ(ToUtf8(E.Text()), "abcXY");
  // Replacing a selection makes room.
  E.SetSel(0, 2);
  EXPECT_TRUE(E.TypeChar(u'Q'));
  EXPECT_EQ(ToUtf8(E.Text()), "QcXY");
  // A program write is not limited, as in the native edit.
  E.SetText(u"1234567");
  EXPECT_EQ(ToUtf8(E.Text()), "1234567");
}

TEST(EditEngine, UndoSwapsWithTheTextBeforeTheLastChange) {
  TEditEngine E = With(u"ab");
  EXPECT_FALSE(E.CanUndo());
  E.SetSel(2, 2);
  E.TypeChar(u'c');
  E.TypeChar(u'd');   // one typing run, one undo step
  EXPECT_TRUE(E.Modified());
  EXPECT_TRUE(E.Undo());
  EXPECT_EQ(ToUtf8(E.Text()), "ab");
  EXPECT_TRUE(E.Undo());   // the second undo redoes
  EXPECT_EQ(ToUtf8(E.Text()), "abcd");

  E.SetSel(0, 1);
  E.ReplaceSel(u"Z");
  E.DeleteBackward();
  EXPECT_EQ(ToUtf8(E.Text()), "bcd");
  E.Undo();
  EXPECT_EQ(ToUtf8(E.Text()), "Zbcd");

  E.SetText(u"new");   // a program write empties the undo and clears Modified
  EXPECT_FALSE(E.CanUndo());
  EXPECT_FALSE(E.Modified());
}

TEST(EditEngine, KeysAndWords) {
  TEditEngine E = With(u"one two, three");
  E.KeyEnd(false);
  E.KeyLeft(false, true);
  EXPECT_EQ(E.Caret(), 9);
  E.KeyLeft(true, true);
  EXPECT_EQ(ToUtf8(E.SelText()), "two, ");
  E.KeyRight(false, false);   // collapses to the selection's end
  EXPECT_EQ(E.Caret(), 9);
  EXPECT_EQ(E.SelLength(), 0);
  E.DeleteBackward(true);
  EXPECT_EQ(ToUtf8(E.Text()), "one three");
  E.SelectWordAt(6);
  EXPECT_EQ(ToUtf8(E.SelText()), "three");
  E.KeyHome(false);
  E.DeleteForward(true);
  EXPECT_EQ(ToUtf8(E.Text()), "three");
}

TEST(EditEngine, CharCaseConvertsTypedAndProgramText) {
  TEditEngine E;
  E.SetCharCase(ecUpperCase);
  E.SetText(u"абв");
  EXPECT_EQ(ToUtf8(E.Text()), "АБВ");
  E.KeyEnd(false);
  E.TypeChar(u'ж');
  EXPECT_EQ(ToUtf8(E.Text()), "АБВЖ");
}

}  // namespace
