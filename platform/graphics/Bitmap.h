// Bitmap.h - TBitmap: a picture of pixels with its own canvas, read and written as BMP.
#pragma once

#include <memory>

#include "platform/graphics/Graphic.h"

class QImage;

VORENTA_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit,
             pfCustom);
VORENTA_ENUM(TTransparentMode, tmAuto, tmFixed);

class TBitmap : public TGraphic {
  VORENTA_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  TBitmap(int Width, int Height);
  ~TBitmap() override;
  void Assign(TPersistent* Source) override;

  bool Empty() const override;
  int Width() const override;
  void SetWidth(int Value) override;
  int Height() const override;
  void SetHeight(int Value) override;
  void SetSize(int Width, int Height);
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // pf32bit keeps an alpha channel; the other formats are opaque.
  void SetPixelFormat(TPixelFormat Value);
  // The colour left out when drawing transparently: with tmAuto the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  TCanvas* Canvas();
  void Draw(TCanvas* Canvas, const TRect& Rect) override;

  void LoadFromBytes(std::string_view Data) override;   // BMP, or any raster format Qt reads
  std::string SaveToBytes() const override;             // BMP
  // The pixel at (X, Y) as an RGB colour; for tests and the image list.
  TColorRef PixelRGB(int X, int Y) const;
  void SetPixelRGB(int X, int Y, TColorRef Color);

private:
  friend QImage& BitmapImage(const TBitmap& Bitmap);
  struct Impl;
  std::unique_ptr<Impl> FImpl;
  TPixelFormat FPixelFormat = pf24bit;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
};
