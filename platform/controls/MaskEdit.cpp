// MaskEdit.cpp - TCustomMaskEdit: the masked edit's keys, clipboard, focus and validation.
#include "platform/controls/Mask.h"

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/StdCtrls_p.h"
#include "platform/controls/WinApi.h"

namespace {
const char16_t* const SMaskEditErr = u"Invalid input value. Use escape key to abandon changes";
}  // namespace

REGISTER_CLASS(TCustomMaskEdit) {
  Class.Property("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask);
}
REGISTER_CLASS(TMaskEdit) {}

void RegisterMaskClasses() { RegisterClasses({TMaskEdit::ClassInfo()}); }

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

// --- mask and text ------------------------------------------------------------------------------

void TCustomMaskEdit::SetEditMask(const String& Value) {
  if (Value == FMask.EditMask()) return;
  TMaskEngine New(Value);
  String NewEditText = TMaskEngine::Remask(FMask, WindowText(), New);
  FMask = std::move(New);
  Engine().SetMaxLength(IsMasked() ? 0 : FMaxLength);
  SetEditText(NewEditText);
}

void TCustomMaskEdit::SetEditText(const String& Value) { TCustomEdit::SetTextBuf(Value); }

String TCustomMaskEdit::GetText() const {
  return IsMasked() ? FMask.TextFromEditText(WindowText()) : WindowText();
}

void TCustomMaskEdit::SetTextBuf(const String& Value) {
  TCustomEdit::SetTextBuf(IsMasked() ? FMask.EditTextFromText(Value) : Value);
}

void TCustomMaskEdit::SetMaxLength(int Value) {
  FMaxLength = std::max(Value, 0);
  if (!IsMasked()) TCustomEdit::SetMaxLength(Value);
}

template <class F>
void TCustomMaskEdit::Apply(F Step) {
  TMaskBuffer B{WindowText(), Engine().Anchor(), Engine().Caret()};
  Step(B);
  const bool Changed = B.Text != WindowText();
  Engine().ApplyEdit(B.Text, B.Anchor, B.Caret);
  if (Changed) TextChanged(true);
  else SelectionChanged();
}

void TCustomMaskEdit::SetCursor(int Pos) {
  Apply([&](TMaskBuffer& B) { FMask.SetCursor(B, Pos); });
}

void TCustomMaskEdit::CheckCursor() {
  if (IsMasked()) Apply([&](TMaskBuffer& B) { FMask.CheckCursor(B); });
}

// --- keys -----------------------------------------------------------------------------------------

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0 || Shift.Contains(ssAlt)) return;
  const bool Deleting = Key == VK_BACK || (Key == VK_DELETE && !Shift.Contains(ssShift));
  // Only a deletion asks EditCanModify (a data-aware edit enters edit mode there).
  const bool CanModify = Deleting && EditCanModify() && !ReadOnly();
  TMaskKeyResult Result = mkrNotHandled;
  Apply([&](TMaskBuffer& B) {
    Result = MaskKeyDown(FMask, B, Key, Shift.Contains(ssShift), Shift.Contains(ssCtrl),
                         CanModify);
  });
  if (Result != mkrNotHandled) Key = 0;
}

void TCustomMaskEdit::KeyPress(Char& Key) {
  TCustomEdit::KeyPress(Key);
  if (!IsMasked() || Key == 0) return;
  // The clipboard keys go on to WM_COPY, WM_PASTE and WM_CUT.
  if (Key == 3 || Key == 22 || Key == 24) return;
  const Char Typed = Key;
  Key = 0;
  if (Typed == VK_ESCAPE) {
    Reset();
    return;
  }
  if (!EditCanModify() || ReadOnly()) return;
  if (Typed == VK_BACK) return;   // done in KeyDown
  if (Typed == VK_RETURN) {
    ValidateEdit();
    return;
  }
  if (Typed < u' ') return;
  const Char C = Engine().ApplyCharCase(String(1, Typed))[0];
  TMaskKeyResult Result = mkrHandled;
  Apply([&](TMaskBuffer& B) { Result = FMask.TypeChar(B, C); });
  if (Result == mkrBeep) MessageBeep(0);
}

void TCustomMaskEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsMasked() && Button == mbLeft && SelLength() == 0) SetCursor(Engine().Caret());
  TCustomEdit::MouseUp(Button, Shift, X, Y);
}

// --- clipboard ------------------------------------------------------------------------------------

void TCustomMaskEdit::EditCut() {
  if (!IsMasked()) return TCustomEdit::EditCut();
  EditCopy();
  EditClear();
}

void TCustomMaskEdit::EditClear() {
  if (!IsMasked()) return TCustomEdit::EditClear();
  if (ReadOnly() || SelLength() == 0 || !EditCanModify()) return;
  Apply([&](TMaskBuffer& B) {
    const int Start = B.SelStart();
    FMask.BlankRange(B, Start, B.SelEnd());
    FMask.SetCursor(B, Start);
  });
}

void TCustomMaskEdit::EditPaste() {
  if (!IsMasked()) return TCustomEdit::EditPaste();
  if (ReadOnly() || !EditCanModify()) return;
  const String Value = Engine().ApplyCharCase(ClipboardText());
  Apply([&](TMaskBuffer& B) { FMask.Paste(B, Value); });
}

// --- focus and validation ---------------------------------------------------------------------

void TCustomMaskEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENTER: CMEnter(Message); return;
    case CM_EXIT: CMExit(Message); return;
    case CM_WANTSPECIALKEY:
      // Esc undoes a change here before it can reach the form's cancel button.
      if (Message.WParam == VK_ESCAPE && IsMasked() && Modified()) {
        Message.Result = 1;
        return;
      }
      TCustomEdit::Dispatch(Message);
      return;
    default: TCustomEdit::Dispatch(Message);
  }
}

void TCustomMaskEdit::CMEnter(TMessage& Message) {
  if (!IsMasked()) return TCustomEdit::Dispatch(Message);
  if (!FReentering) {
    FOldValue = EditText();
    TCustomEdit::Dispatch(Message);
  }
  FReentering = false;
  CheckCursor();
}

void TCustomMaskEdit::CMExit(TMessage& Message) {
  if (IsMasked()) {
    ValidateEdit();
    CheckCursor();
  }
  TCustomEdit::Dispatch(Message);
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !Modified()) return;
  const int Bad = FMask.FirstInvalidPos(EditText());
  if (Bad < 0) return;
  if (!Focused()) {
    FReentering = true;
    SetFocus();
  }
  SetCursor(Bad);
  MessageBeep(0);
  throw EDBEditError(SMaskEditErr);
}

void TCustomMaskEdit::Reset() {
  if (!Modified()) return;
  SetEditText(FOldValue);
  SetModified(false);
}
