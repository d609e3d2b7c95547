// Mask.h - the masked edit: TCustomMaskEdit and TMaskEdit on TCustomEdit, with the mask rules of
// platform/rtl/MaskUtils.h.
//
// With a mask, the window text is the EditText (N characters, blanks in empty positions) and
// Text reads and writes through the mask; the caret is the one-character selection, typing
// overwrites, literals are skipped, and nothing is inserted by the plain edit. Esc restores the
// EditText of the moment the control was entered (Reset); leaving or Return validates
// (ValidateEdit) when the text was modified.
#pragma once

#include "platform/controls/MaskEngine.h"
#include "platform/controls/StdCtrls.h"
#include "platform/rtl/Exceptions.h"

VORENTA_DECLARE_EXCEPTION(EDBEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
  VORENTA_CLASS(TCustomMaskEdit, TCustomEdit)
public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  const String& EditMask() const { return FMask.EditMask(); }
  void SetEditMask(const String& Value);
  bool IsMasked() const { return FMask.IsMasked(); }
  const TMaskEngine& Mask() const { return FMask; }
  // The window text as shown, stored as given (no check, no re-formatting).
  String EditText() const { return WindowText(); }
  void SetEditText(const String& Value);
  String GetText() const override;
  void SetMaxLength(int Value) override;

  // Raises EDBEditError when a required position is empty (only when masked and modified).
  virtual void ValidateEdit();
  // Back to the EditText saved on entry, when modified.
  virtual void Reset();

  void Dispatch(TMessage& Message) override;

protected:
  virtual bool EditCanModify() { return true; }
  // The caret as the one-character selection at Pos.
  void SetCursor(int Pos);
  virtual void CheckCursor();
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void SetTextBuf(const String& Value) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void EditCut() override;
  void EditPaste() override;
  void EditClear() override;

private:
  // Runs a mask step on the engine's text and selection and applies the result.
  template <class F>
  void Apply(F Step);
  void CMEnter(TMessage& Message);
  void CMExit(TMessage& Message);

  TMaskEngine FMask;
  String FOldValue;          // EditText when entered, for Reset
  bool FReentering = false;  // focus came back after a failed validation
  int FMaxLength = 0;        // kept for unmasked use; a mask's length is its own
};

class TMaskEdit : public TCustomMaskEdit {
  VORENTA_CLASS(TMaskEdit, TCustomMaskEdit)
public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};

void RegisterMaskClasses();
