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

// The outline in FreeType's form, in 1/64 pixel.
struct TGlyphRasterizer::Impl {
  std::vector<FT_Vector> Points;
  std::vector<char> Tags;
  std::vector<short> Contours;
  std::vector<std::uint8_t> Pixels;
  double Em = 0;
  bool Slant = false;

  void Add(float X, float Y, char Tag) {
    const double PX = (X + (Slant ? 0.2 * Y : 0)) * Em, PY = Y * Em;
    Points.push_back({FT_Pos(std::lround(PX * 64)), FT_Pos(std::lround(PY * 64))});
    Tags.push_back(Tag);
  }
  void EndContour() {
    if (!Points.empty() && (Contours.empty() || Contours.back() != short(Points.size() - 1)))
      Contours.push_back(short(Points.size() - 1));
  }
  TGlyphMask Render(FT_Outline& Outline);
};

TGlyphRasterizer::TGlyphRasterizer() : FImpl(std::make_unique<Impl>()) {}
TGlyphRasterizer::~TGlyphRasterizer() = default;

void TGlyphRasterizer::Begin(double Em, bool Slant) {
  FImpl->Points.clear();
  FImpl->Tags.clear();
  FImpl->Contours.clear();
  FImpl->Em = Em;
  FImpl->Slant = Slant;
}

void TGlyphRasterizer::MoveTo(float X, float Y) {
  FImpl->EndContour();
  FImpl->Add(X, Y, FT_CURVE_TAG_ON);
}

void TGlyphRasterizer::LineTo(float X, float Y) { FImpl->Add(X, Y, FT_CURVE_TAG_ON); }

void TGlyphRasterizer::QuadTo(float X1, float Y1, float X, float Y) {
  FImpl->Add(X1, Y1, FT_CURVE_TAG_CONIC);
  FImpl->Add(X, Y, FT_CURVE_TAG_ON);
}

void TGlyphRasterizer::CubicTo(float X1, float Y1, float X2, float Y2, float X, float Y) {
  FImpl->Add(X1, Y1, FT_CURVE_TAG_CUBIC);
  FImpl->Add(X2, Y2, FT_CURVE_TAG_CUBIC);
  FImpl->Add(X, Y, FT_CURVE_TAG_ON);
}

TGlyphMask TGlyphRasterizer::Fill() {
  FImpl->EndContour();
  // A glyph has far fewer points than the outline counters hold; a larger one is not drawn.
  if (FImpl->Points.size() < 2 || FImpl->Points.size() > SHRT_MAX) return {};
  FT_Outline Ft{};
  Ft.n_contours = short(FImpl->Contours.size());
  Ft.n_points = short(FImpl->Points.size());
  Ft.points = FImpl->Points.data();
  Ft.tags = FImpl->Tags.data();
  Ft.contours = FImpl->Contours.data();
  Ft.flags = FT_OUTLINE_NONE;
  return FImpl->Render(Ft);
}

TGlyphMask TGlyphRasterizer::Impl::Render(FT_Outline& Outline) {
  FT_BBox Box;
  FT_Outline_Get_CBox(&Outline, &Box);
  const FT_Pos Left = Box.xMin >> 6, Bottom = Box.yMin >> 6;
  const FT_Pos Right = (Box.xMax + 63) >> 6, Top = (Box.yMax + 63) >> 6;
  const FT_Pos Width = Right - Left, Height = Top - Bottom;
  if (Width <= 0 || Height <= 0 || Width > 4096 || Height > 4096) return {};
  FT_Outline_Translate(&Outline, -Left * 64, -Bottom * 64);
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
  Params.source = &Outline;
  Params.flags = FT_RASTER_FLAG_AA;
  if (FT_Outline_Render(RasterLibrary(), &Outline, &Params) != 0) return {};
  // The bitmap's first row is its top, Top pixels above the baseline.
  return TrimmedCoverage(Pixels.data(), int(Width), int(Width), int(Height), int(Left), -int(Top));
}

TGlyphMask RasterizeGlyphOutline(const std::vector<TOutlineOp>& Ops, double Em, bool Slant) {
  static TGlyphRasterizer Rasterizer;
  Rasterizer.Begin(Em, Slant);
  for (const TOutlineOp& Op : Ops) {
    switch (Op.Kind) {
      case TOutlineOp::MoveTo: Rasterizer.MoveTo(Op.X1, Op.Y1); break;
      case TOutlineOp::LineTo: Rasterizer.LineTo(Op.X1, Op.Y1); break;
      case TOutlineOp::QuadTo: Rasterizer.QuadTo(Op.X1, Op.Y1, Op.X2, Op.Y2); break;
      case TOutlineOp::CubicTo: Rasterizer.CubicTo(Op.X1, Op.Y1, Op.X2, Op.Y2, Op.X3, Op.Y3); break;
    }
  }
  return Rasterizer.Fill();
}
