// MaskUtils.h - the edit mask: its syntax, the EditText/Text rules, the masked editing steps and
// FormatMaskText.
//
// Pure logic without a window, so the masked edit, the grid's cell editor, the script engine and
// the tests share it. A mask is "body[;save[;blank]]":
//
//   L l   a letter (required / optional)        0 9   a digit 0-9 (required / optional)
//   A a   a letter or a digit                     #     a digit, "+", "-" or a space (optional)
//   C c   any character                           \x    the literal x
//   :  /  the locale's time / date separator      _     a literal shown as a space
//   >     upper-case what follows                 <     lower-case what follows; "<>" stops
//   !     optional characters are blanks at the start (trim and pad from the left)
//   any other character is a literal.
//
// save "0" keeps literals out of Text (any other character, or none, keeps them); blank is the
// character shown in empty positions ("_" when absent). Every literal and mask character takes
// one position; N = Length() positions make the EditText.
//
// The editing steps work on a TMaskBuffer (the text with its selection) and answer what the
// control must do (beep, nothing). The caret of a masked edit is a one-character selection
// [p, p+1) with the caret at its left end; at p = N the selection is empty.
#pragma once

#include <vector>

#include "platform/rtl/Types.h"

struct TFormatSettings;

enum TMaskCharKind {
  mkLiteral,
  mkLetter,          // L l
  mkLetterOrDigit,   // A a
  mkAny,             // C c
  mkDigit,           // 0 9
  mkDigitOrSign      // #
};

enum TMaskCase { mcNone, mcUpper, mcLower };

struct TMaskPosition {
  TMaskCharKind Kind = mkLiteral;
  bool Required = false;
  Char Literal = 0;             // the character shown, for literals
  TMaskCase Case = mcNone;
};

// The text of a masked edit with its selection: Anchor and Caret are positions 0..length;
// the selection is between them, the caret where typing goes.
struct TMaskBuffer {
  String Text;
  int Anchor = 0;
  int Caret = 0;

  int SelStart() const { return Anchor < Caret ? Anchor : Caret; }
  int SelEnd() const { return Anchor < Caret ? Caret : Anchor; }
  int SelLength() const { return SelEnd() - SelStart(); }
};

// What a key did: handled quietly, refused with a beep, or left to the plain edit.
enum TMaskKeyResult { mkrHandled, mkrBeep, mkrNotHandled };

// The keys the editing steps take; the masked edit maps its virtual-key codes onto them.
enum TMaskEditKey { mekOther, mekLeft, mekRight, mekUp, mekDown, mekHome, mekEnd, mekDelete,
                    mekBack };

class TMaskEngine {
public:
  TMaskEngine() = default;
  // Parses EditMask with the separators of Settings (the global FormatSettings by default).
  explicit TMaskEngine(const String& EditMask);
  TMaskEngine(const String& EditMask, const TFormatSettings& Settings);

  const String& EditMask() const { return FEditMask; }
  bool IsMasked() const { return !FPositions.empty(); }
  int Length() const { return int(FPositions.size()); }
  bool SaveLiterals() const { return FSaveLiterals; }
  Char BlankChar() const { return FBlank; }
  bool Reverse() const { return FReverse; }
  const TMaskPosition& Position(int Index) const { return FPositions[Index]; }
  bool IsLiteral(int Pos) const;

  // --- EditText and Text
  // The EditText of an empty edit: literals, blanks elsewhere.
  String EmptyEditText() const;
  // Text as read from EditText (literals dropped or laid back, blanks trimmed and spaced).
  String TextFromEditText(const String& EditText) const;
  // EditText for a Text write: the value laid onto the positions, no class check.
  String EditTextFromText(const String& Text) const;
  // The data characters of an EditText: literals dropped, blanks trimmed, inner blanks spaces.
  String DataText(const String& EditText) const;
  // EditText for a new mask keeping the data of OldEditText under the old mask.
  static String Remask(const TMaskEngine& OldMask, const String& OldEditText,
                       const TMaskEngine& NewMask);

  // --- characters and positions
  // Converts C by the position's case and answers whether the position accepts it.
  bool AcceptChar(int Pos, Char& C) const;
  int FirstEditPos() const;
  // The first mask position after Pos, or N when none follows.
  int NextEditPos(int Pos) const;
  // The first mask position at or after Pos, or N.
  int EditPosFrom(int Pos) const;
  // The last mask position before Pos; the first edit position when none is before it.
  int PriorEditPos(int Pos) const;
  // The first position whose required character is missing, or -1 when EditText is valid.
  int FirstInvalidPos(const String& EditText) const;

  // --- editing steps
  // The one-character caret at Pos (clamped to 0..N).
  void SetCursor(TMaskBuffer& Buffer, int Pos) const;
  // An empty selection becomes the one-character caret at its position.
  void CheckCursor(TMaskBuffer& Buffer) const;
  // Caret and deletion keys (Left, Right, Up, Down, Home, End, Delete, Back); CanModify gates
  // the deletions. Keys it does not take get CheckCursor and mkrNotHandled.
  TMaskKeyResult KeyDown(TMaskBuffer& Buffer, TMaskEditKey Key, bool Shift, bool Ctrl,
                         bool CanModify) const;
  // A typed printable character.
  TMaskKeyResult TypeChar(TMaskBuffer& Buffer, Char C) const;
  // Blanks the mask positions of [Start, End); literals stay.
  void BlankRange(TMaskBuffer& Buffer, int Start, int End) const;
  // Blanks the selection and feeds Value from its start; the caret goes after the last
  // stored position.
  void Paste(TMaskBuffer& Buffer, const String& Value) const;
  // A mouse click at Pos without a drag.
  void Click(TMaskBuffer& Buffer, int Pos) const { SetCursor(Buffer, Pos); }

private:
  void Parse(const TFormatSettings& Settings);
  bool MatchesKind(TMaskCharKind Kind, Char C) const;
  // Pads EditText to N positions so the editing steps can index it.
  void Normalise(TMaskBuffer& Buffer) const;

  String FEditMask;
  std::vector<TMaskPosition> FPositions;
  bool FSaveLiterals = true;
  bool FReverse = false;
  Char FBlank = u'_';
};

// The class library's FormatMaskText: Value laid onto EditMask with its literals, spaces in the
// positions Value leaves empty; no character class or case is applied. With save "0" Value holds
// only the data characters, filled in from the left (from the right with "!"). Otherwise Value
// holds literals too: the text before each literal fills the positions before it (padded at the
// end, or at the start with "!"), and where Value lacks a literal its next characters fill those
// positions as far as they go. Characters no position takes are kept at the end (at the start
// when filled from the right), so nothing of Value is lost. The separators are FormatSettings'.
String FormatMaskText(const String& EditMask, const String& Value);
String FormatMaskText(const String& EditMask, const String& Value,
                      const TFormatSettings& Settings);
