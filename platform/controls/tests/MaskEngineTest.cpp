// MaskEngineTest.cpp - the masked edit's caret and deletion keys, given as virtual-key codes.
#include "platform/controls/MaskEngine.h"

#include <gtest/gtest.h>

#include "platform/controls/Messages.h"
#include "platform/rtl/FormatSettings.h"

namespace {

const TFormatSettings Ru = TFormatSettings::Russian();

TMaskEngine Mask(const String& EditMask) { return TMaskEngine(EditMask, Ru); }

// A buffer holding EditText with the one-character caret at Pos.
TMaskBuffer At(const TMaskEngine& M, const String& EditText, int Pos) {
  TMaskBuffer B{EditText};
  M.SetCursor(B, Pos);
  return B;
}

TEST(MaskEngine, DeletingKeys) {
  struct Row {
    const char* Name;
    Word Key;
    int Anchor, Caret;
    const char16_t* EditText;
    int SelStart;
  } Rows[] = {
      {"backspace goes to the prior edit position", VK_BACK, 7, 6, u"К 12-_4", 5},
      {"backspace skips the blank literal", VK_BACK, 3, 2, u"_ 12-34", 0},
      {"backspace at the first position does nothing", VK_BACK, 1, 0, u"К 12-34", 0},
      {"delete blanks the caret character", VK_DELETE, 3, 2, u"К _2-34", 2},
      {"delete a range keeps literals", VK_DELETE, 0, 6, u"_ __-_4", 0},
      {"backspace a range from a literal", VK_BACK, 4, 1, u"К __-34", 2},
  };
  TMaskEngine M = Mask(u">l 99-99;1;_");
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    TMaskBuffer B{u"К 12-34", R.Anchor, R.Caret};
    EXPECT_EQ(MaskKeyDown(M, B, R.Key, false, false, true), mkrHandled);
    EXPECT_EQ(ToUtf8(B.Text), ToUtf8(R.EditText));
    EXPECT_EQ(B.SelStart(), R.SelStart);
  }
  // Backspace from just after the dash lands on the digit before it.
  TMaskBuffer B = At(M, u"К 12-34", 5);
  MaskKeyDown(M, B, VK_BACK, false, false, true);
  EXPECT_EQ(ToUtf8(B.Text), "К 1_-34");
  EXPECT_EQ(B.SelStart(), 3);
  // Without EditCanModify the key is consumed and nothing changes.
  B = At(M, u"К 12-34", 2);
  EXPECT_EQ(MaskKeyDown(M, B, VK_DELETE, false, false, false), mkrHandled);
  EXPECT_EQ(ToUtf8(B.Text), "К 12-34");
}

TEST(MaskEngine, CaretKeys) {
  TMaskEngine M = Mask(u"l 99-99;1;_");
  TMaskBuffer B = At(M, M.EmptyEditText(), 0);
  MaskKeyDown(M, B, VK_RIGHT, false, false, true);
  EXPECT_EQ(B.SelStart(), 2);   // over the blank literal
  MaskKeyDown(M, B, VK_RIGHT, false, false, true);
  MaskKeyDown(M, B, VK_RIGHT, false, false, true);
  EXPECT_EQ(B.SelStart(), 5);   // over the dash
  MaskKeyDown(M, B, VK_LEFT, false, false, true);
  EXPECT_EQ(B.SelStart(), 3);
  EXPECT_EQ(B.SelLength(), 1);
  B = At(M, M.EmptyEditText(), 0);
  MaskKeyDown(M, B, VK_LEFT, false, false, true);
  EXPECT_EQ(B.SelStart(), 0);   // the first edit position has no prior one

  MaskKeyDown(M, B, VK_END, false, false, true);
  EXPECT_EQ(B.SelStart(), 7);
  EXPECT_EQ(B.SelLength(), 0);
  MaskKeyDown(M, B, VK_HOME, true, false, true);
  EXPECT_EQ(B.SelStart(), 0);
  EXPECT_EQ(B.SelEnd(), 7);
  EXPECT_EQ(B.Caret, 0);
  // A longer selection collapses to its caret side.
  MaskKeyDown(M, B, VK_RIGHT, false, false, true);
  EXPECT_EQ(B.SelStart(), 0);
  EXPECT_EQ(B.SelLength(), 1);
  // Shift or Ctrl leave the arrow to the plain edit; Up and Down are eaten.
  EXPECT_EQ(MaskKeyDown(M, B, VK_RIGHT, true, false, true), mkrNotHandled);
  EXPECT_EQ(MaskKeyDown(M, B, VK_UP, false, false, true), mkrHandled);
  // Another key turns an empty selection into the caret.
  B.Anchor = B.Caret = 3;
  EXPECT_EQ(MaskKeyDown(M, B, u'A', false, false, true), mkrNotHandled);
  EXPECT_EQ(B.SelLength(), 1);
}

}  // namespace
