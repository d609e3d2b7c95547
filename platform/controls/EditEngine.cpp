// EditEngine.cpp - text, selection and undo of the edit control.
#include "platform/controls/EditEngine.h"

#include <algorithm>

#include <QChar>

#include "platform/rtl/SysUtils.h"

namespace {

bool IsWordChar(Char C) { return QChar(C).isLetterOrNumber() || C == u'_'; }

}  // namespace

void TEditEngine::SetText(const String& Value) {
  FText = ApplyCharCase(Value);
  FAnchor = FCaret = 0;
  EmptyUndoBuffer();
  FModified = false;
}

void TEditEngine::Clamp() {
  const int Len = int(FText.size());
  FAnchor = std::clamp(FAnchor, 0, Len);
  FCaret = std::clamp(FCaret, 0, Len);
}

void TEditEngine::SetSel(int Start, int End) {
  FTyping = false;
  const int Len = int(FText.size());
  if (Start < 0) {
    FAnchor = FCaret;
    return;
  }
  if (End < 0 || End > Len) End = Len;
  FAnchor = std::min(Start, Len);
  FCaret = End;
  Clamp();
}

void TEditEngine::MoveCaret(int Pos, bool Extend) {
  FTyping = false;
  FCaret = Pos;
  if (!Extend) FAnchor = Pos;
  Clamp();
}

void TEditEngine::SaveUndo() {
  FUndoText = FText;
  FUndoAnchor = FAnchor;
  FUndoCaret = FCaret;
  FHasUndo = true;
}

String TEditEngine::ApplyCharCase(const String& Value) const {
  if (FCharCase == ecUpperCase) return AnsiUpperCase(Value);
  if (FCharCase == ecLowerCase) return AnsiLowerCase(Value);
  return Value;
}

void TEditEngine::SetCharCase(TEditCharCase Value) {
  FCharCase = Value;
  FText = ApplyCharCase(FText);
}

bool TEditEngine::ReplaceSel(const String& Value, bool CanUndo) {
  String Insert = ApplyCharCase(Value);
  const int Start = SelStart();
  const int Removed = SelLength();
  if (FMaxLength > 0) {
    const int Room = FMaxLength - (int(FText.size()) - Removed);
    if (Room < int(Insert.size())) Insert.resize(std::max(Room, 0));
    if (Insert.empty() && !Value.empty()) return false;
  }
  if (Insert.empty() && Removed == 0) return true;
  if (CanUndo) SaveUndo();
  FText.replace(Start, Removed, Insert);
  FAnchor = FCaret = Start + int(Insert.size());
  FTyping = false;
  FModified = true;
  return true;
}

void TEditEngine::ApplyEdit(const String& Value, int Anchor, int Caret) {
  if (Value != FText) {
    SaveUndo();
    FText = Value;
    FModified = true;
  }
  FAnchor = Anchor;
  FCaret = Caret;
  FTyping = false;
  Clamp();
}

bool TEditEngine::TypeChar(Char C) {
  const bool Continue = FTyping && SelLength() == 0;
  if (!Continue) SaveUndo();
  if (!ReplaceSel(String(1, C), false)) {
    FTyping = Continue;
    return false;
  }
  FTyping = true;
  return true;
}

bool TEditEngine::DeleteBackward(bool Word) {
  if (SelLength() == 0) {
    if (FCaret == 0) return false;
    FAnchor = FCaret;
    FCaret = Word ? WordStartBefore(FCaret) : FCaret - 1;
  }
  return ReplaceSel(String());
}

bool TEditEngine::DeleteForward(bool Word) {
  if (SelLength() == 0) {
    if (FCaret >= int(FText.size())) return false;
    FAnchor = FCaret;
    FCaret = Word ? WordEndAfter(FCaret) : FCaret + 1;
  }
  return ReplaceSel(String());
}

void TEditEngine::KeyLeft(bool Shift, bool Ctrl) {
  if (!Shift && !Ctrl && SelLength() > 0) {
    MoveCaret(SelStart(), false);
    return;
  }
  MoveCaret(Ctrl ? WordStartBefore(FCaret) : FCaret - 1, Shift);
}

void TEditEngine::KeyRight(bool Shift, bool Ctrl) {
  if (!Shift && !Ctrl && SelLength() > 0) {
    MoveCaret(SelEnd(), false);
    return;
  }
  MoveCaret(Ctrl ? WordEndAfter(FCaret) : FCaret + 1, Shift);
}

int TEditEngine::WordStartBefore(int Pos) const {
  Pos = std::clamp(Pos, 0, int(FText.size()));
  while (Pos > 0 && !IsWordChar(FText[Pos - 1])) --Pos;
  while (Pos > 0 && IsWordChar(FText[Pos - 1])) --Pos;
  return Pos;
}

// The start of the next word, as Ctrl+Right moves in the native edit.
int TEditEngine::WordEndAfter(int Pos) const {
  const int Len = int(FText.size());
  Pos = std::clamp(Pos, 0, Len);
  while (Pos < Len && IsWordChar(FText[Pos])) ++Pos;
  while (Pos < Len && !IsWordChar(FText[Pos])) ++Pos;
  return Pos;
}

void TEditEngine::SelectWordAt(int Pos) {
  const int Len = int(FText.size());
  Pos = std::clamp(Pos, 0, Len);
  int Start = Pos, End = Pos;
  while (Start > 0 && IsWordChar(FText[Start - 1])) --Start;
  while (End < Len && IsWordChar(FText[End])) ++End;
  SetSel(Start, End);
}

bool TEditEngine::Undo() {
  if (!FHasUndo) return false;
  std::swap(FText, FUndoText);
  std::swap(FAnchor, FUndoAnchor);
  std::swap(FCaret, FUndoCaret);
  FTyping = false;
  FModified = true;
  Clamp();
  return true;
}

void TEditEngine::EmptyUndoBuffer() {
  FUndoText.clear();
  FHasUndo = false;
  FTyping = false;
}
