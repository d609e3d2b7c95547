// WinDraw.h - the Win32 drawing routines over a canvas: DrawText, DrawEdge, DrawFrameControl,
// DrawFocusRect, GradientFill, AlphaBlend, InvertRect, and text extents.
//
// DrawText measures through the font service (FontMetrics()), so its line breaks agree with the
// report's and the printer's. Its layout is available on its own (LayoutDrawText) for callers
// and tests that need the lines without drawing.
#pragma once

#include <vector>

#include "platform/graphics/Canvas.h"

class TBitmap;

enum : unsigned {
  DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
  DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
  DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
  DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000,
  DT_WORD_ELLIPSIS = 0x40000, DT_HIDEPREFIX = 0x100000, DT_PREFIXONLY = 0x200000
};

struct DRAWTEXTPARAMS {
  unsigned cbSize = sizeof(DRAWTEXTPARAMS);
  int iTabLength = 8;       // in average character widths
  int iLeftMargin = 0;
  int iRightMargin = 0;
  unsigned uiLengthDrawn = 0;
};

// One laid-out line of DrawText.
struct TDrawTextLine {
  String Text;              // as drawn: prefixes removed, tabs expanded, ellipsis applied
  int Width = 0;
  int X = 0;                // left edge of the line's text
  int Y = 0;                // top of the line's cell
  int PrefixIndex = -1;     // the character underlined for an "&" prefix, or -1
};

struct TDrawTextLayout {
  std::vector<TDrawTextLine> Lines;
  TRect Bounds;             // the rectangle DT_CALCRECT gives back
  int Height = 0;           // DrawText's result
};

TDrawTextLayout LayoutDrawText(IFontMetrics& Metrics, const TFontRequest& Font, const String& Text,
                               const TRect& R, unsigned Format,
                               const DRAWTEXTPARAMS* Params = nullptr);
// Draws (or with DT_CALCRECT measures into R) and returns the text's height.
int DrawText(TCanvas* Canvas, const String& Text, TRect& R, unsigned Format);
int DrawTextEx(TCanvas* Canvas, const String& Text, TRect& R, unsigned Format,
               DRAWTEXTPARAMS* Params);

// GetDeviceCaps of a canvas: LOGPIXELSX and LOGPIXELSY are its device's pixels per inch (96 on
// the screen and bitmaps, the printer's on a printer canvas); surfaces are true
// colour, so NUMCOLORS is -1 (palette paths never run), BITSPIXEL 32 and PLANES 1; any other
// index answers 0.
enum : int { BITSPIXEL = 12, PLANES = 14, NUMCOLORS = 24, LOGPIXELSX = 88, LOGPIXELSY = 90 };
int GetDeviceCaps(TCanvas* Canvas, int Index);

// GetTextExtentExPoint: the cumulative extent after each UTF-16 unit, and how many units fit
// in MaxExtent (when Fit is given).
TSize GetTextExtentExPoint(TCanvas* Canvas, const String& Text, int MaxExtent, int* Fit,
                           std::vector<int>* Extents);

enum : unsigned {
  BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
  BDR_OUTER = 0x3, BDR_INNER = 0xC,
  EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
  EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
  BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_TOPLEFT = BF_TOP | BF_LEFT,
  BF_TOPRIGHT = BF_TOP | BF_RIGHT, BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT,
  BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT, BF_RECT = 0xF, BF_MIDDLE = 0x800, BF_SOFT = 0x1000,
  BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000
};

// The classic two-colour bevels; BF_ADJUST shrinks R to the inside.
bool DrawEdge(TCanvas* Canvas, TRect& R, unsigned Edge, unsigned Flags);

enum : unsigned {
  DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4,
  DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
  DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
  DFCS_SCROLLCOMBOBOX = 0x5,
  DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_TRANSPARENT = 0x800,
  DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000
};

// Buttons (push, check box 13 x 13, radio) and scroll arrows in the classic look.
bool DrawFrameControl(TCanvas* Canvas, TRect& R, unsigned Type, unsigned State);

// The dotted focus frame, drawn by inverting every other pixel: drawing it twice erases it.
void DrawFocusRect(TCanvas* Canvas, const TRect& R);
void InvertRect(TCanvas* Canvas, const TRect& R);
// A two-colour gradient, top to bottom (Vertical) or left to right; the first row or column
// has From, each next one steps 1/n of the way to To.
void GradientFill(TCanvas* Canvas, const TRect& R, TColor From, TColor To, bool Vertical);
// Draws SrcRect of Source over Dest with a constant alpha (255 opaque).
void AlphaBlend(TCanvas* Canvas, const TRect& Dest, const TBitmap& Source, const TRect& SrcRect,
                int ConstantAlpha);
