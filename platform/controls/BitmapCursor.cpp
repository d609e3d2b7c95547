// BitmapCursor.cpp - cursors from bitmaps. The handle keeps the image and the hot spot; the
// window surface builds the platform pointer from it when the cursor is shown, so a cursor can
// be made before the windowing platform starts (and in tests without it).
#include "platform/controls/BitmapCursor.h"

#include <QImage>

#include "platform/controls/Controls_p.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bitmap_p.h"

namespace {
struct TBitmapCursorData {
  QImage Image;
  int HotX, HotY;
};
}  // namespace

void* CreateBitmapCursor(const TBitmap& Image, TColor TransparentColor, int HotX, int HotY) {
  if (Image.Empty() || HotX < 0 || HotY < 0 || HotX >= Image.Width() || HotY >= Image.Height())
    return nullptr;
  auto* C = new TBitmapCursorData{BitmapImage(Image).convertToFormat(QImage::Format_ARGB32),
                                  HotX, HotY};
  const QRgb Key = ColorToRGB(TransparentColor);
  const QRgb KeyQt = qRgb(GetRValue(Key), GetGValue(Key), GetBValue(Key));
  for (int Y = 0; Y < C->Image.height(); ++Y) {
    auto* Line = reinterpret_cast<QRgb*>(C->Image.scanLine(Y));
    for (int X = 0; X < C->Image.width(); ++X)
      if ((Line[X] & 0xFFFFFF) == (KeyQt & 0xFFFFFF)) Line[X] = 0;
  }
  return C;
}

void DestroyBitmapCursor(void* Handle) { delete static_cast<TBitmapCursorData*>(Handle); }

bool BitmapCursorOf(TCursor Cursor, QImage& Image, TPoint& HotSpot) {
  if (Cursor <= 0 || !Screen) return false;
  const auto* C = static_cast<const TBitmapCursorData*>(Screen->Cursors(Cursor));
  if (!C) return false;
  Image = C->Image;
  HotSpot = Point(C->HotX, C->HotY);
  return true;
}
