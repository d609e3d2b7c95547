// Bitmap_p.h - the image behind a TBitmap, for the graphics units' own .cpp files only.
#pragma once

#include <QImage>

#include "platform/graphics/Bitmap.h"

QImage& BitmapImage(const TBitmap& Bitmap);
// Makes a bitmap of an image (converted to the bitmap's storage format).
void SetBitmapImage(TBitmap& Bitmap, const QImage& Image);
