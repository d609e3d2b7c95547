// StdCtrls_p.h - shared by the standard controls' own sources: the clipboard text the edits use,
// caption helpers and the group frame.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/controls/Controls_p.h"

// The clipboard's text, as Clipboard() holds it (the edits' cut, copy and paste).
String ClipboardText();
void SetClipboardText(const String& Value);

// The position in Text (0..size) whose left edge lies nearest to X, measured from the text's
// start in Canvas's font; the first of equally near ones.
int CharIndexAtX(TCanvas* Canvas, const String& Text, int X);

// Whether C is the accelerator of a caption, the character after its first single '&'
// ("&Ok" and 'o'), case ignored.
bool IsAccel(Char C, const String& Caption);

// The etched frame of a group box or radio group, its top through the middle of the caption
// line, and the caption on the control's colour, greyed when Enabled is false.
void PaintGroupFrame(TCanvas* Canvas, const TRect& ClientRect, const String& Caption, TColor Color,
                     bool Enabled);
