// Snapshot.h - a control or form drawn into an image, for looking at it without a screen.
//
// The control paints itself through the same messages as on the screen (WM_NCPAINT, WM_ERASEBKGND,
// WM_PAINT, its children after it), into a bitmap; no window system is needed.
#pragma once

#include "platform/controls/Controls.h"

class TBitmap;

// Draws Control (frame and children included) into a new bitmap of its size.
void RenderControl(TWinControl* Control, TBitmap& Bitmap);
// Draws Control into a PNG file; raises EInOutError when the file cannot be written.
void SaveControlToPng(TWinControl* Control, const String& FileName);
// The primary screen as the window system shows it, into a PNG file (a screenshot of the running
// program); raises EInOutError without a window system or when the file cannot be written.
void SaveScreenToPng(const String& FileName);
