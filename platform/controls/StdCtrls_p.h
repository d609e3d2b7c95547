// StdCtrls_p.h - shared by the standard controls' own sources: painting on a control's own canvas,
// the clipboard text the edits use, and caption helpers.
#pragma once

#include "platform/controls/Controls.h"

// Points a control's canvas at the paint target for the duration of one paint, with the
// control's font and colour.
class TCanvasPaintScope {
public:
  TCanvasPaintScope(TCanvas* Canvas, HDC DC, TFont* Font, TColor Color);
  ~TCanvasPaintScope();
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

private:
  TCanvas* FCanvas;
};

// The clipboard's text, as Clipboard() holds it (the edits' cut, copy and paste).
String ClipboardText();
void SetClipboardText(const String& Value);

// The accelerator character of a caption ("&Ok" -> 'o'), or 0.
Char AccelCharOf(const String& Caption);

// The etched frame of a group box or radio group, its top through the middle of the caption
// line, and the caption on the control's colour, greyed when Enabled is false.
void PaintGroupFrame(TCanvas* Canvas, const TRect& ClientRect, const String& Caption, TColor Color,
                     bool Enabled);
