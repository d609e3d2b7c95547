// Icon.h - TIcon: the images of an .ico file, drawn by the one that fits best.
//
// An icon file holds several images of different sizes and colour depths: 32-bit ones with an
// alpha channel, older ones of 1, 4, 8 or 24 bits whose transparency is an AND mask, and
// PNG-compressed ones. Each image is kept as 32-bit pixels with alpha. The icon writes back the
// bytes it was loaded from until an image is added; then it writes every image as 32 bits with
// alpha plus the AND mask older readers use.
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/Bitmap.h"

class TIcon : public TGraphic {
  VORENTA_CLASS(TIcon, TGraphic)
public:
  TIcon();
  ~TIcon() override;
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FImages.empty(); }
  // The size of the current image: the one nearest the system's icon size (32 x 32), the
  // deepest colours among equals.
  int Width() const override;
  int Height() const override;
  // An icon's size is that of its images: EInvalidGraphicOperation "Cannot change the size of
  // an icon".
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  // Draws the smallest image that covers Rect (the largest when none does), stretched.
  void Draw(TCanvas* Canvas, const TRect& Rect) override;

  // EInvalidGraphic "Icon image is not valid" for anything but a well-formed icon file.
  void LoadFromBytes(std::string_view Data) override;
  std::string SaveToBytes() const override;

  int ImageCount() const { return int(FImages.size()); }
  // Image Index as 32-bit pixels with alpha, and the colour depth it was stored with.
  const TBitmap& Images(int Index) const;
  int ImageBitCount(int Index) const;
  // Adds a copy of Bitmap (at most 256 x 256) as one more image; a pf32bit bitmap keeps its
  // alpha, any other is opaque.
  void AddImage(const TBitmap& Bitmap);

private:
  struct TImage;
  const TImage* Current() const;
  std::vector<std::unique_ptr<TImage>> FImages;
  std::string FOriginal;   // empty once an image was added
};
