// BitmapCursor.h - mouse pointers drawn from bitmaps: a program's own cursors, registered under
// positive numbers with Screen->SetCursors and then shown by any control whose Cursor is that
// number.
#pragma once

#include "platform/graphics/Graphics.h"

class TBitmap;

// A cursor handle from Image with TransparentColor see-through and the hot spot (HotX, HotY);
// nullptr for an empty image or a hot spot outside it. Free it with DestroyBitmapCursor.
void* CreateBitmapCursor(const TBitmap& Image, TColor TransparentColor, int HotX, int HotY);
void DestroyBitmapCursor(void* Handle);
