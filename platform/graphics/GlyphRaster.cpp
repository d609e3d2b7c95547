// GlyphRaster.cpp - glyph outlines filled into coverage masks by FreeType's smooth rasteriser.
#include "platform/graphics/GlyphRaster.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "platform/rtl/Exceptions.h"

namespace {

FT_Library RasterLibrary() {
  static FT_Library Lib = [] {
    FT_Library L = nullptr;
    if (FT_Init_FreeType(&L) != 0) throw EOutOfResources(u"Cannot start the font engine");
    return L;
  }();
  return Lib;
}

// An outline in FreeType's form, in 1/64 pixel; the buffers are reused from glyph to glyph.
struct TFtOutline {
  std::vector<FT_Vector> Points;
  std::vector<char> Tags;
  std::vector<short> Contours;

  void Clear() {
    Points.clear();
    Tags.clear();
    Contours.clear();
  }
  void Add(FT_Pos X, FT_Pos Y, char Tag) {
    Points.push_back({X, Y});
    Tags.push_back(Tag);
  }
  void EndContour() {
    if (!Points.empty() && (Contours.empty() || Contours.back() != short(Points.size() - 1)))
      Contours.push_back(short(Points.size() - 1));
  }
};

// Places the outline's points at the em size, slanted when asked, as 26.6 fixed point.
void BuildOutline(const std::vector<TOutlineOp>& Ops, double Em, bool Slant, TFtOutline& Out) {
  Out.Clear();
  const auto Point = [&](float X, float Y, char Tag) {
    const double PX = (X + (Slant ? 0.2 * Y : 0)) * Em, PY = Y * Em;
    Out.Add(FT_Pos(std::lround(PX * 64)), FT_Pos(std::lround(PY * 64)), Tag);
  };
  for (const TOutlineOp& Op : Ops) {
    switch (Op.Kind) {
      case TOutlineOp::MoveTo:
        Out.EndContour();
        Point(Op.X1, Op.Y1, FT_CURVE_TAG_ON);
        break;
      case TOutlineOp::LineTo: Point(Op.X1, Op.Y1, FT_CURVE_TAG_ON); break;
      case TOutlineOp::QuadTo:
        Point(Op.X1, Op.Y1, FT_CURVE_TAG_CONIC);
        Point(Op.X2, Op.Y2, FT_CURVE_TAG_ON);
        break;
      case TOutlineOp::CubicTo:
        Point(Op.X1, Op.Y1, FT_CURVE_TAG_CUBIC);
        Point(Op.X2, Op.Y2, FT_CURVE_TAG_CUBIC);
        Point(Op.X3, Op.Y3, FT_CURVE_TAG_ON);
        break;
    }
  }
  Out.EndContour();
}

}  // namespace

TGlyphMask TrimmedCoverage(const std::uint8_t* Pixels, int Stride, int Width, int Height, int Left, int Top) {
  int X0 = Width, Y0 = Height, X1 = -1, Y1 = -1;
  for (int Y = 0; Y < Height; ++Y) {
    const std::uint8_t* Line = Pixels + std::size_t(Y) * Stride;
    for (int X = 0; X < Width; ++X)
      if (Line[X]) {
        X0 = std::min(X0, X), X1 = std::max(X1, X);
        Y0 = std::min(Y0, Y), Y1 = std::max(Y1, Y);
      }
  }
  TGlyphMask Mask;
  if (X1 < 0) return Mask;
  Mask.Left = Left + X0;
  Mask.Top = Top + Y0;
  Mask.Width = X1 - X0 + 1;
  Mask.Height = Y1 - Y0 + 1;
  Mask.Coverage.resize(std::size_t(Mask.Width) * Mask.Height);
  for (int Y = 0; Y < Mask.Height; ++Y)
    std::copy_n(Pixels + std::size_t(Y0 + Y) * Stride + X0, Mask.Width,
                &Mask.Coverage[std::size_t(Y) * Mask.Width]);
  return Mask;
}

TGlyphMask RasterizeGlyphOutline(const std::vector<TOutlineOp>& Ops, double Em, bool Slant) {
  static TFtOutline Outline;
  static std::vector<std::uint8_t> Pixels;
  BuildOutline(Ops, Em, Slant, Outline);
  // A glyph has far fewer points than the outline counters hold; a larger one is not drawn.
  if (Outline.Points.size() < 2 || Outline.Points.size() > SHRT_MAX) return {};
  FT_Outline Ft{};
  Ft.n_contours = short(Outline.Contours.size());
  Ft.n_points = short(Outline.Points.size());
  Ft.points = Outline.Points.data();
  Ft.tags = Outline.Tags.data();
  Ft.contours = Outline.Contours.data();
  Ft.flags = FT_OUTLINE_NONE;
  FT_BBox Box;
  FT_Outline_Get_CBox(&Ft, &Box);
  const FT_Pos Left = Box.xMin >> 6, Bottom = Box.yMin >> 6;
  const FT_Pos Right = (Box.xMax + 63) >> 6, Top = (Box.yMax + 63) >> 6;
  const FT_Pos Width = Right - Left, Height = Top - Bottom;
  if (Width <= 0 || Height <= 0 || Width > 4096 || Height > 4096) return {};
  FT_Outline_Translate(&Ft, -Left * 64, -Bottom * 64);
  Pixels.assign(std::size_t(Width * Height), 0);
  FT_Bitmap Target{};
  Target.rows = unsigned(Height);
  Target.width = unsigned(Width);
  Target.pitch = int(Width);
  Target.buffer = Pixels.data();
  Target.num_grays = 256;
  Target.pixel_mode = FT_PIXEL_MODE_GRAY;
  FT_Raster_Params Params{};
  Params.target = &Target;
  Params.source = &Ft;
  Params.flags = FT_RASTER_FLAG_AA;
  if (FT_Outline_Render(RasterLibrary(), &Ft, &Params) != 0) return {};
  // The bitmap's first row is its top, Top pixels above the baseline.
  return TrimmedCoverage(Pixels.data(), int(Width), int(Width), int(Height), int(Left), -int(Top));
}
