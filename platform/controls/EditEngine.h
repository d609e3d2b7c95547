// EditEngine.h - the text, selection, caret and one-level undo of an edit control, without a window.
//
// What the native edit window does with its text: EM_SETSEL rules, backward selections with the
// caret at the start, MaxLength, CharCase, word moves, and an undo that swaps the text with the
// one before the last change (so a second undo redoes). Consecutive typed characters make one
// undo step, as in the native edit. TCustomEdit keeps one and drives it from its messages.
#pragma once

#include "platform/rtl/Types.h"

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TEditEngine {
public:
  const String& Text() const { return FText; }
  // A program write: the selection goes to the start, undo is emptied, Modified is cleared.
  void SetText(const String& Value);

  int Anchor() const { return FAnchor; }
  int Caret() const { return FCaret; }
  int SelStart() const { return FAnchor < FCaret ? FAnchor : FCaret; }
  int SelEnd() const { return FAnchor < FCaret ? FCaret : FAnchor; }
  int SelLength() const { return SelEnd() - SelStart(); }
  String SelText() const { return FText.substr(SelStart(), SelLength()); }
  // EM_SETSEL: Start -1 removes the selection (caret kept); End -1 or beyond the text means the
  // end; End below Start makes a backward selection with the caret at End.
  void SetSel(int Start, int End);
  void SelectAll() { SetSel(0, -1); }
  // Moves the caret; Extend keeps the anchor (Shift held).
  void MoveCaret(int Pos, bool Extend);

  // Replaces the selection as the user does (CharCase, MaxLength applied); false when nothing
  // could be inserted for MaxLength. CanUndo false leaves the undo step untouched.
  bool ReplaceSel(const String& Value, bool CanUndo = true);
  // A user change computed elsewhere (the masked edit): the new text and selection, one undo
  // step, Modified set when the text differs.
  void ApplyEdit(const String& Value, int Anchor, int Caret);
  // A typed character: joins the running undo step while typing goes on at the caret.
  bool TypeChar(Char C);
  // Backspace and Delete; Word deletes to the word boundary (Ctrl).
  bool DeleteBackward(bool Word = false);
  bool DeleteForward(bool Word = false);
  // The arrow keys, Home and End of a single line.
  void KeyLeft(bool Shift, bool Ctrl);
  void KeyRight(bool Shift, bool Ctrl);
  void KeyHome(bool Shift) { MoveCaret(0, Shift); }
  void KeyEnd(bool Shift) { MoveCaret(int(FText.size()), Shift); }
  // Double click: the word at Pos.
  void SelectWordAt(int Pos);

  bool CanUndo() const { return FHasUndo; }
  bool Undo();
  void EmptyUndoBuffer();

  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  // 0 means no limit.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value) { FMaxLength = Value < 0 ? 0 : Value; }
  TEditCharCase CharCase() const { return FCharCase; }
  // Converts the present text too, as the native edit does when the style changes.
  void SetCharCase(TEditCharCase Value);
  String ApplyCharCase(const String& Value) const;

  int WordStartBefore(int Pos) const;
  int WordEndAfter(int Pos) const;

private:
  void SaveUndo();
  void Clamp();

  String FText;
  int FAnchor = 0;
  int FCaret = 0;
  String FUndoText;
  int FUndoAnchor = 0, FUndoCaret = 0;
  bool FHasUndo = false;
  bool FTyping = false;   // the last change was typing ending at the caret
  bool FModified = false;
  int FMaxLength = 0;
  TEditCharCase FCharCase = ecNormal;
};
