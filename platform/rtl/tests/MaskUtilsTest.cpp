// MaskUtilsTest.cpp - the mask syntax, EditText/Text rules, the masked editing steps and
// FormatMaskText.
#include "platform/rtl/MaskUtils.h"

#include <gtest/gtest.h>

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

TEST(MaskEngine, ParsesBodySaveAndBlank) {
  struct Row {
    const char16_t* EditMask;
    int Length;
    bool Save;
    Char Blank;
    const char16_t* Empty;
  } Rows[] = {
      {u"l 99-99;1;_", 7, true, u'_', u"_ __-__"},
      {u"l 99-99;0;_", 7, false, u'_', u"_ __-__"},
      {u"!99/99/9999;1; ", 10, true, u' ', u"  .  .    "},
      {u"!99:99:99;1; ", 8, true, u' ', u"  :  :  "},
      {u"000", 3, true, u'_', u"___"},
      {u"00;0", 2, false, u'_', u"__"},
      {u"99;1;", 2, true, u'_', u"__"},
      {u"a;b9;1;*", 4, true, u'*', u"*;b*"},     // a ";" in the body is a literal
      {u"\\L\\9>L<>l;1;_", 4, true, u'_', u"L9__"},  // escapes; directives take no place
      {u"#_c", 3, true, u'_', u"_ _"},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.EditMask));
    TMaskEngine M = Mask(R.EditMask);
    EXPECT_EQ(M.Length(), R.Length);
    EXPECT_EQ(M.SaveLiterals(), R.Save);
    EXPECT_EQ(M.BlankChar(), R.Blank);
    EXPECT_EQ(ToUtf8(M.EmptyEditText()), ToUtf8(R.Empty));
  }
  EXPECT_FALSE(Mask(u"").IsMasked());
  EXPECT_TRUE(Mask(u"!99/99/9999;1; ").Reverse());
}

TEST(MaskEngine, TextFromEditText) {
  struct Row {
    const char16_t* EditMask;
    const char16_t* EditText;
    const char16_t* Text;
  } Rows[] = {
      {u"l 99-99;1;_", u"_ __-__", u"    -  "},
      {u"l 99-99;1;_", u"К 1_-__", u"К 1 -  "},
      {u"l 99-99;1;_", u"К _1-__", u"К  1-  "},
      {u"l 99-99;1;_", u"К 12-34", u"К 12-34"},
      {u"l 99-99;0;_", u"К 1_-__", u"К1"},
      {u"l 99-99;0;_", u"_ _1-__", u"  1"},
      {u"!99/99/9999;1; ", u"31.12.    ", u"31.12.    "},
      {u"!99/99/9999;1; ", u"  .  .    ", u"  .  .    "},
      {u"!99/99/9999;1; ", u"  .12.2024", u"  .12.2024"},
      {u"!99/99/9999;0; ", u"  .12.2024", u"122024"},
      {u"", u"plain", u"plain"},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.EditMask) + " / " + ToUtf8(R.EditText));
    EXPECT_EQ(ToUtf8(Mask(R.EditMask).TextFromEditText(R.EditText)), ToUtf8(R.Text));
  }
}

TEST(MaskEngine, EditTextFromTextAndRoundTrips) {
  struct Row {
    const char16_t* EditMask;
    const char16_t* Text;
    const char16_t* EditText;
  } Rows[] = {
      {u"l 99-99;1;_", u"", u"_ __-__"},
      {u"l 99-99;1;_", u"    -  ", u"_ __-__"},
      {u"l 99-99;1;_", u"К 1 -  ", u"К 1_-__"},
      {u"l 99-99;1;_", u"К 12-34xyz", u"К 12-34"},   // beyond N is dropped
      {u"l 99-99;0;_", u"К1", u"К 1_-__"},
      {u"!99/99/9999;1; ", u"31.12.2024", u"31.12.2024"},
      {u"!99/99/9999;1; ", u"", u"  .  .    "},
      {u"!99/99/9999;1; ", u"1.12.2024", u" 1.12.2024"},   // reversed: laid from the right
      {u"!99/99/9999;0; ", u"122024", u"  .12.2024"},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.EditMask) + " / " + ToUtf8(R.Text));
    TMaskEngine M = Mask(R.EditMask);
    String E = M.EditTextFromText(R.Text);
    EXPECT_EQ(ToUtf8(E), ToUtf8(R.EditText));
    // Text := Text is the identity.
    String T = M.TextFromEditText(E);
    EXPECT_EQ(ToUtf8(M.TextFromEditText(M.EditTextFromText(T))), ToUtf8(T));
  }
}

TEST(MaskEngine, RemaskKeepsTheData) {
  TMaskEngine Old = Mask(u"l 99-99;1;_");
  TMaskEngine New = Mask(u"l99;1;_");
  EXPECT_EQ(ToUtf8(TMaskEngine::Remask(Old, u"К 1_-__", New)), "К1_");
  EXPECT_EQ(ToUtf8(TMaskEngine::Remask(Old, u"К 1_-__", Mask(u""))), "К 1_-__");
  EXPECT_EQ(ToUtf8(TMaskEngine::Remask(Mask(u""), u"Б12", Old)), "Б 12-__");
}

TEST(MaskEngine, CharacterClasses) {
  struct Row {
    const char16_t* EditMask;
    Char Typed;
    bool Accepted;
    Char Stored;
  } Rows[] = {
      {u"l", u'к', true, u'к'},   {u">l", u'к', true, u'К'},  {u"<L", u'Q', true, u'q'},
      {u"l", u'5', false, 0},     {u"9", u'5', true, u'5'},   {u"9", u'x', false, 0},
      {u"0", u'٣', false, 0},     // only 0-9 are digits
      {u"a", u'7', true, u'7'},   {u"A", u'-', false, 0},     {u"#", u'+', true, u'+'},
      {u"#", u' ', true, u' '},   {u"#", u'*', false, 0},     {u">c", u'ж', true, u'Ж'},
      {u">c", u'%', true, u'%'},  {u"<>l", u'Ж', true, u'Ж'},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.EditMask) + " " + ToUtf8(String(1, R.Typed)));
    Char C = R.Typed;
    EXPECT_EQ(Mask(R.EditMask).AcceptChar(0, C), R.Accepted);
    if (R.Accepted) {
      EXPECT_EQ(C, R.Stored);
    }
  }
}

// Typing sequences on the application's code mask: each row starts empty with the caret on
// the first position, types Keys, and checks the EditText, the caret and the beeps.
TEST(MaskEngine, TypingOnTheCodeMask) {
  struct Row {
    const char* Name;
    const char16_t* Keys;
    const char16_t* EditText;
    int Caret;
    int Beeps;
  } Rows[] = {
      {"cyrillic letter then digits", u"к1234", u"К 12-34", 7, 0},
      {"digit refused at the letter", u"1", u"_ __-__", 0, 1},
      {"letter refused at a digit", u"кд", u"К __-__", 2, 1},
      {"dash jumps to the literal", u"к1-5", u"К 1_-5_", 6, 0},
      {"blank literal typed at a digit", u"к ", u"К __-__", 2, 1},
      {"typing past the end beeps", u"к12345", u"К 12-34", 7, 1},
  };
  TMaskEngine M = Mask(u">l 99-99;1;_");
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    TMaskBuffer B = At(M, M.EmptyEditText(), 0);
    int Beeps = 0;
    for (const Char* K = R.Keys; *K; ++K) Beeps += M.TypeChar(B, *K) == mkrBeep ? 1 : 0;
    EXPECT_EQ(ToUtf8(B.Text), ToUtf8(R.EditText));
    EXPECT_EQ(B.SelStart(), R.Caret);
    EXPECT_EQ(Beeps, R.Beeps);
    EXPECT_EQ(B.SelLength(), R.Caret < M.Length() ? 1 : 0);
  }
}

TEST(MaskEngine, TypingOverASelectionAndAtALiteral) {
  TMaskEngine M = Mask(u">l 99-99;1;_");
  TMaskBuffer B{u"К 12-34", 1, 6};   // " 12-3" selected
  EXPECT_EQ(M.TypeChar(B, u'7'), mkrHandled);
  EXPECT_EQ(ToUtf8(B.Text), "К 7_-_4");
  EXPECT_EQ(B.SelStart(), 3);

  // The caret on a literal: the literal is re-typed and the caret goes on.
  B = At(M, u"К 12-34", 4);
  EXPECT_EQ(M.TypeChar(B, u'-'), mkrHandled);
  EXPECT_EQ(ToUtf8(B.Text), "К 12-34");
  EXPECT_EQ(B.SelStart(), 5);
}

TEST(MaskEngine, Paste) {
  struct Row {
    const char16_t* Pasted;
    int At;
    const char16_t* EditText;
    int Caret;
  } Rows[] = {
      {u"к 12-34", 0, u"К 12-34", 7},
      {u"к1234", 0, u"К 12-34", 7},    // literals missing from the text are kept
      {u"к1x", 0, u"К 1_-__", 5},      // a refused character is stored as the blank
      {u"56", 5, u"_ __-56", 7},
      {u"5", 2, u"_ 5_-__", 3},
  };
  TMaskEngine M = Mask(u">l 99-99;1;_");
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.Pasted));
    TMaskBuffer B = At(M, M.EmptyEditText(), R.At);
    M.Paste(B, R.Pasted);
    EXPECT_EQ(ToUtf8(B.Text), ToUtf8(R.EditText));
    EXPECT_EQ(B.SelStart(), R.Caret);
  }
}

TEST(MaskEngine, Validation) {
  struct Row {
    const char16_t* EditMask;
    const char16_t* EditText;
    int FirstInvalid;
  } Rows[] = {
      {u"l 99-99;1;_", u"_ __-__", -1},       // optional positions only
      {u"l 99-99;1;_", u"К 1_-__", -1},
      {u"L00;1;_", u"К1_", 2},
      {u"L00;1;_", u"К12", -1},
      {u"L00;1;_", u"___", -1},              // an empty text is valid
      {u"L00;1;_", u"", -1},
      {u"L00;1;_", u" 12", 0},               // a space is no letter
      {u"C0;1;_", u" 1", -1},                // but any character is
      {u"A0;1;_", u"z ", 1},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.EditMask) + " / " + ToUtf8(R.EditText));
    EXPECT_EQ(Mask(R.EditMask).FirstInvalidPos(R.EditText), R.FirstInvalid);
  }
}

TEST(MaskEngine, LocaleSeparators) {
  EXPECT_EQ(ToUtf8(Mask(u"!99/99/99 99:99;1;_").EmptyEditText()), "__.__.__ __:__");
  TFormatSettings En = TFormatSettings::Invariant();
  EXPECT_EQ(ToUtf8(TMaskEngine(u"99/99;1;_", En).EmptyEditText()), "__/__");
}

TEST(MaskUtils, FormatMaskText) {
  struct Row {
    const char16_t* EditMask;
    const char16_t* Value;
    const char16_t* Result;
  } Rows[] = {
      // Data only: literals put in, empty places are spaces whatever the blank character.
      {u"l 99-99;0;_", u"К1234", u"К 12-34"},
      {u"l 99-99;0;_", u"ж1", u"ж 1 -  "},
      {u"l 99-99;0;*", u"", u"    -  "},
      {u"!99/99/9999;0; ", u"122024", u"  .12.2024"},
      {u"000;0", u"12345", u"12345"},             // what no position takes is kept
      // Literals in the value: each stretch fills the places before its literal.
      {u"l 99-99;1;_", u"К 12-34", u"К 12-34"},
      {u"l 99-99;1;_", u"Я 1-3", u"Я 1 -3 "},
      {u"l 99-99;1;_", u"К1234", u"К 12-34"},      // missing literals: places filled in turn
      {u"!99/99/9999;1; ", u"1.2.2024", u" 1. 2.2024"},
      {u"99-99", u"1-2", u"1 -2 "},                // no save part keeps literals
      {u">l 99;0", u"к5", u"к 5 "},                // no case or class applied
      {u"", u"as is", u"as is"},
  };
  const TFormatSettings Ru = TFormatSettings::Russian();
  for (const Row& R : Rows) {
    SCOPED_TRACE(ToUtf8(R.EditMask) + " / " + ToUtf8(R.Value));
    EXPECT_EQ(ToUtf8(FormatMaskText(R.EditMask, R.Value, Ru)), ToUtf8(R.Result));
  }
}

}  // namespace
