// DBGridZkDraw.h - the grid unit's drawing routines on any canvas: the colour arithmetic of
// selection and hot-track colours, and the cell text writers. The routines that depend on a
// grid (buttons, 3-D frames, themed backgrounds) are members of TCustomDBGridZk.
#pragma once

#include "platform/controls/StdCtrls.h"   // TTextLayout
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"

#include <memory>

class TCustomImageList;
class TBitmap;

// Per channel: halfway toward Glass, then 60 % toward 225; with Ungray stretched a quarter away
// from 122; rounded (halves to even) and clamped.
TColor LightenColor(TColor AColor, TColor GlassColor, bool Ungray);
// Per channel: C1 moved Weight/255 of the way toward C2, truncated toward zero.
TColor ApproachColor(TColor C1, TColor C2, double Weight);

// Text with as many characters dropped from its end as it takes, then "...", to fit MaxWidth.
String EllipsisText(const String& Text, TCanvas* Canvas, int MaxWidth);
// The width DrawText measures for one line of Text.
int MeasureTextWidth(TCanvas* Canvas, const String& Text);

// Writes Text into ARect: filled with the brush when FillBackground, DX and DY inside the
// edges; wrapped, ellipsised or with margins through DrawTextEx, otherwise as one line placed
// by alignment and layout.
void WriteTextToCell(TCanvas* Canvas, const TRect& ARect, bool FillBackground, int DX, int DY,
                     const String& Text, TAlignment Alignment, TTextLayout Layout, bool WordWrap,
                     bool EndEllipsis, int LeftMargin, int RightMargin, bool RightToLeftReading);
// One opaque, clipped line at (X, ARect.Top + DY), X placed by alignment.
void WriteSimpleCellText(TCanvas* Canvas, const TRect& ARect, int DX, int DY, const String& Text,
                         TAlignment Alignment);

// A copy of Font turned to run upward (90 degrees): height, style, charset and pitch kept; the
// face "Default" (any case) becomes the default font's name.
std::unique_ptr<TFont> CreateVerticalFont(TFont* Font);
// Text running upward in ARect in the canvas font turned upright; answers its length along the
// run (its width plus an italic font's slant). With CalcOnly nothing is drawn. Alignment places
// it across the rect (DX from the left), Layout along it (top: it ends at the top; bottom: it
// starts DY above the bottom).
int WriteVerticalText(TCanvas* Canvas, const TRect& ARect, bool FillBackground, int DX, int DY,
                      const String& Text, TAlignment Alignment, TTextLayout Layout,
                      bool CalcOnly);
// Image ImageIndex of Images (or Bitmap without a list) placed by Alignment (DX from the left,
// or DX to the right) and centred vertically; clipped to ARect when it sticks out.
void DrawCellImage(TCustomImageList* Images, TBitmap* Bitmap, TCanvas* Canvas, const TRect& ARect,
                   int ImageIndex, int DX, TAlignment Alignment);
