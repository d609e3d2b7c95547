// GlyphRaster.h - coverage masks of glyph outlines, from the font engine's antialiasing rasteriser.
//
// Text drawn on screens and bitmaps blends cached masks (GlyphCache.h); this fills one glyph's
// outline into such a mask straight from the outline, without building a painter path or a
// painter, so that a glyph seen for the first time costs a few microseconds.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/FontService.h"
#include "platform/graphics/GlyphCache.h"

// An outline handed over piece by piece in em units (y up), as a font's outline is walked, and
// filled into a mask as RasterizeGlyphOutline fills one; its buffers are reused from glyph to
// glyph, so that a glyph costs no allocation but its mask.
class TGlyphRasterizer {
public:
  TGlyphRasterizer();
  ~TGlyphRasterizer();
  TGlyphRasterizer(const TGlyphRasterizer&) = delete;
  TGlyphRasterizer& operator=(const TGlyphRasterizer&) = delete;

  // Starts an outline to be scaled to Em pixels and, with Slant, leaned right by a fifth of its
  // height.
  void Begin(double Em, bool Slant);
  void MoveTo(float X, float Y);
  void LineTo(float X, float Y);
  void QuadTo(float X1, float Y1, float X, float Y);
  void CubicTo(float X1, float Y1, float X2, float Y2, float X, float Y);
  TGlyphMask Fill();

private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// The outline (em units, y up) scaled to Em pixels and, with Slant, leaned right by a fifth of
// its height, filled with the non-zero rule into a mask cut to the pixels it touches (an empty
// mask for an outline without area). The mask is placed relative to the glyph's origin on the
// baseline, y down.
TGlyphMask RasterizeGlyphOutline(const std::vector<TOutlineOp>& Ops, double Em, bool Slant);

// The smallest mask holding every non-zero coverage of Width x Height pixels (rows Stride bytes
// apart) whose first pixel lies at (Left, Top) from the glyph's origin, y down.
TGlyphMask TrimmedCoverage(const std::uint8_t* Pixels, int Stride, int Width, int Height, int Left, int Top);
