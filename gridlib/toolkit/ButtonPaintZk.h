// ButtonPaintZk.h - the one painter of the library's small button faces (drop-down, ellipsis,
// up/down, check box, plus, minus and the alt arrow styles), in the themed or the classic look,
// with a process-wide cache of painted faces; the default flat button sizes, centred image-list
// drawing, the grid's tree-outline cells and the gradient routines.
#pragma once

#include <vector>

#include "platform/controls/StdCtrls.h"   // TCheckBoxState
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"

class TBitmap;
class TCustomImageList;

enum TDrawButtonControlStyleZk {
  bcsDropDownZk, bcsEllipsisZk, bcsUpDownZk, bcsCheckboxZk, bcsPlusZk, bcsMinusZk,
  bcsAltDropDownZk, bcsAltUpDownZk
};

// The cache key: every field counts.
struct TButtonBitmapInfoZk {
  TPoint Size;
  TDrawButtonControlStyleZk BitmapType = bcsDropDownZk;
  bool Flat = false;
  bool Pressed = false;
  bool Active = false;     // hot
  bool Enabled = true;
  bool DownDirect = false; // the lower half of an up/down pair
  TCheckBoxState CheckState = cbUnchecked;
  friend bool operator==(const TButtonBitmapInfoZk&, const TButtonBitmapInfoZk&) = default;
};

// Paints the button Style into Rect. PressedPart: 0 none, 1 the whole face or the upper half,
// 2 the lower half. BorderColor is the background around the button.
void PaintEditButtonCached(TCanvas* Canvas, TRect Rect, TColor BorderColor,
                           TCheckBoxState CheckState, bool Enabled, bool Active, bool Flat,
                           int PressedPart, TDrawButtonControlStyleZk Style);
// One check box / one face, painted directly (what fills the cache).
void PaintCheckBox(TCanvas* Canvas, TRect Rect, TCheckBoxState CheckState, bool Active,
                   bool Pressed, bool Flat, bool Enabled);
void PaintButtonFace(TCanvas* Canvas, TDrawButtonControlStyleZk Style, TRect Rect,
                     bool DownDirect, bool Pressed, bool Active, bool Flat, bool Enabled);

// The cache of painted faces (one bitmap per distinct key, no limit).
const TBitmap* GetButtonBitmap(TButtonBitmapInfoZk Info);
int ButtonBitmapCacheCount();
// Empties the cache (on a change of the system colours).
void ResetEditButtonBitmapCache();

// Round(screen font tmHeight x 2 / 3), made even with themes and odd without, capped at the
// scroll bar width.
int FlatEditButtonDefaultWidth();
int FlatEditButtonWidthForTextHeight(int TmHeight);
// Computed once at start-up (InitButtonPaint); 0 before.
extern int DefaultFlatButtonWidth;
void InitButtonPaint();
// Round(Width x 3 / 2) (halves to even) when Flat, else Width.
int ButtonHeightForWidth(int Width, bool Flat);
// The system check box size (13 x 13 in the classic look).
TSize CheckBoxSize();
// The check box inside Rect. HorzAlign 0 left, 1 right, 2 centre; VertAlign 0 top, 1 centre,
// 2 bottom.
TRect CalcCheckBoxRect(const TRect& Rect, int HorzAlign, int VertAlign);
// Draws image ImageIndex centred in Rect (clipped to it when larger), highlighted when Selected.
void DrawImageCentered(TCanvas* Canvas, const TRect& Rect, const TCustomImageList* Images,
                       int ImageIndex, bool Selected);
// One cell of a tree outline: kinds 0-7 a box (0-3 open, 4-7 closed) with lines, 8-11 lines.
void PaintTreeLineElement(TCanvas* Canvas, const TRect& Rect, int Kind, bool RightToLeft,
                          double ScaleY, double ScaleX, bool DotPhase);

TColor MixColorsPercent(TColor C1, TColor C2, int Percent);
void FillVerticalGradient(TCanvas* Canvas, const TRect& Rect, TColor C1, TColor C2);
// FillVerticalGradient under the name the grids call, the rectangle taken by value.
inline void FillGradientRect(TCanvas* Canvas, TRect Rect, TColor FromColor, TColor ToColor) {
  FillVerticalGradient(Canvas, Rect, FromColor, ToColor);
}
// Points taken in pairs, each pair a line from Origin + first to Origin + second, coloured in
// steps from C1 to C2.
void DrawGradientSegments(TCanvas* Canvas, TPoint Origin, const std::vector<TPoint>& Points,
                          TColor C1, TColor C2);
