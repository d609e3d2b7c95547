// Buttons.h - TSpeedButton (windowless, grouped, with glyphs) and TBitBtn (a push button with a
// glyph).
#pragma once

#include <memory>

#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"

VORENTA_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom);
VORENTA_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive);
using TNumGlyphs = int;

// A windowless button. With a GroupIndex the buttons of one group stay down one at a time
// (AllowAllUp lets the last one come up); the press captures the mouse and a release inside
// clicks. Glyph holds NumGlyphs images side by side: up, disabled, down, exclusive.
class TSpeedButton : public TGraphicControl {
  VORENTA_CLASS(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TButtonState State() const { return FState; }
  // The mouse is over the button (the flat look shows its frame then).
  bool MouseInControl() const { return FMouseInControl; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void SetState(TButtonState Value);
  // Draws the glyph and caption inside R.
  void PaintFace(TCanvas* C, TRect R, bool Pressed);

private:
  void UpdateExclusive();
  bool FAllowAllUp = false;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FFlat = false;
  bool FTransparent = true;
  bool FDragging = false;
  bool FMouseInControl = false;
  std::unique_ptr<TBitmap> FGlyph;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  TButtonState FState = bsUp;
};

VORENTA_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort,
             bkRetry, bkIgnore, bkAll);

class TBitBtn : public TButton {
  VORENTA_CLASS(TBitBtn, TButton)
public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  TBitBtnKind Kind() const { return FKind; }
  // Sets the caption and modal result of the kind ("OK"/mrOk, "Cancel"/mrCancel, ...).
  void SetKind(TBitBtnKind Value);

protected:
  void PaintWindow(HDC DC) override;

private:
  std::unique_ptr<TBitmap> FGlyph;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  TBitBtnKind FKind = bkCustom;
};

// Draws the glyph image for a state (index into NumGlyphs) and the caption laid out around it.
void DrawButtonFace(TCanvas* C, const TRect& R, TBitmap* Glyph, int NumGlyphs, int GlyphIndex,
                    const String& Caption, TButtonLayout Layout, int Margin, int Spacing,
                    bool Enabled);

void RegisterButtonsClasses();
