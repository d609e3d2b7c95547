// PainterCanvas.cpp - the Qt painter backend: shapes, lines, text from the font service's
// outlines, and images with raster operations.
//
// One-pixel lines are rasterised here rather than by Qt, so that they follow the drawing
// calls' rules exactly: a segment leaves out its last pixel, a style pattern runs on across
// the segments of a polyline, and no pixel is drawn twice (XOR lines drawn twice vanish).
#include "platform/graphics/PainterCanvas.h"

#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>

#include <QPainter>
#include <QPainterPath>

#include "platform/graphics/Bitmap_p.h"

namespace {

QColor ToQColor(TColorRef C) { return QColor(GetRValue(C), GetGValue(C), GetBValue(C)); }

TColorRef FromQRgb(QRgb P) { return RGB(qRed(P), qGreen(P), qBlue(P)); }

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

// The pixel pattern of a one-pixel styled pen: on, off, on, off, ... lengths.
std::vector<int> StylePattern(TPenStyle Style) {
  switch (Style) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    case psAlternate: return {1, 1};
    default: return {};
  }
}

// The composition a pen mode stands for, and the colour it draws with.
QPainter::CompositionMode PenComposition(TPenMode Mode, QColor& Color) {
  switch (Mode) {
    case pmBlack: Color = Qt::black; return QPainter::CompositionMode_SourceOver;
    case pmWhite: Color = Qt::white; return QPainter::CompositionMode_SourceOver;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

QPainter::CompositionMode RopComposition(unsigned Rop) {
  switch (Rop) {
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case SRCERASE: return QPainter::RasterOp_SourceAndNotDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    case NOTSRCERASE: return QPainter::RasterOp_NotSourceAndNotDestination;
    case MERGEPAINT: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

Qt::BrushStyle HatchStyle(TBrushStyle Style) {
  switch (Style) {
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::BDiagPattern;  // "\\" in the drawing calls is Qt's backward one
    case bsBDiagonal: return Qt::FDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    case bsClear: return Qt::NoBrush;
    default: return Qt::SolidPattern;
  }
}

// Pixels of a one-pixel polyline, each segment without its last point (Bresenham).
class TLineRaster {
public:
  explicit TLineRaster(TPenStyle Style) : FPattern(StylePattern(Style)) {}

  void Segment(TPoint A, TPoint B, std::vector<QPoint>& Out) {
    const int DX = std::abs(B.X - A.X), DY = -std::abs(B.Y - A.Y);
    const int SX = A.X < B.X ? 1 : -1, SY = A.Y < B.Y ? 1 : -1;
    int Err = DX + DY;
    int X = A.X, Y = A.Y;
    while (X != B.X || Y != B.Y) {
      if (On()) Out.emplace_back(X, Y);
      const int E2 = 2 * Err;
      if (E2 >= DY) { Err += DY; X += SX; }
      if (E2 <= DX) { Err += DX; Y += SY; }
    }
  }

private:
  bool On() {
    if (FPattern.empty()) return true;
    const bool Result = FIndex % 2 == 0;
    if (++FRun >= FPattern[FIndex]) {
      FRun = 0;
      FIndex = (FIndex + 1) % FPattern.size();
    }
    return Result;
  }

  std::vector<int> FPattern;
  std::size_t FIndex = 0;
  int FRun = 0;
};

// Glyph outlines as painter paths, in em units: one table of glyphs per font file (path and
// face index), so drawing a run looks its file up once.
using TGlyphPaths = std::unordered_map<std::uint32_t, QPainterPath>;

TGlyphPaths& GlyphPathsOf(const TFontFile& File) {
  static std::map<std::pair<std::string, int>, TGlyphPaths> Cache;
  return Cache[{File.Path, File.Index}];
}

const QPainterPath& GlyphPath(TGlyphPaths& Paths, const TFontRequest& Font, std::uint32_t Glyph) {
  auto It = Paths.find(Glyph);
  if (It != Paths.end()) return It->second;
  std::vector<TOutlineOp> Ops;
  QPainterPath Path;
  Path.setFillRule(Qt::WindingFill);
  if (TFontService::Instance().GlyphOutline(Font, Glyph, Ops)) {
    for (const auto& Op : Ops) {
      switch (Op.Kind) {
        case TOutlineOp::MoveTo: Path.moveTo(Op.X1, -Op.Y1); break;
        case TOutlineOp::LineTo: Path.lineTo(Op.X1, -Op.Y1); break;
        case TOutlineOp::QuadTo: Path.quadTo(Op.X1, -Op.Y1, Op.X2, -Op.Y2); break;
        case TOutlineOp::CubicTo: Path.cubicTo(Op.X1, -Op.Y1, Op.X2, -Op.Y2, Op.X3, -Op.Y3); break;
      }
    }
    Path.closeSubpath();
  }
  return Paths.emplace(Glyph, std::move(Path)).first->second;
}

class TPainterDevice : public TCanvasDevice {
public:
  TPainterDevice(QImage* Image, QPainter* Painter, TCanvasKind Kind, TSize Size, int Dpi)
      : FImage(Image), FPainter(Painter), FKind(Kind), FSize(Size), FDpi(Dpi) {}

  TCanvasKind Kind() const override { return FKind; }
  TSize SurfaceSize() const override {
    return FImage ? TSize{FImage->width(), FImage->height()} : FSize;
  }
  int PixelsPerInch() const override { return FDpi; }

  void SetClip(const std::vector<TRect>* Rects) override {
    if (!Rects) {
      FClip.reset();
      return;
    }
    QRegion Region;
    for (const TRect& R : *Rects) Region += ToQRect(R);
    FClip = Region;
  }

  void PatBlt(const TRect& R, const TDeviceBrush& Brush, unsigned Rop) override {
    if (Rop == PATCOPY && Brush.Style == bsClear) return;
    TScope S(*this);
    QColor Color = ToQColor(Brush.Color);
    switch (Rop) {
      case DSTINVERT:
        S.P.setCompositionMode(QPainter::RasterOp_NotDestination);
        Color = Qt::black;
        break;
      case PATINVERT: S.P.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
      case BLACKNESS: Color = Qt::black; break;
      case WHITENESS: Color = Qt::white; break;
      default: break;
    }
    const bool Plain = Rop != PATCOPY && Rop != PATINVERT;
    if (!Plain && Brush.HatchBackground) S.P.fillRect(ToQRect(R), ToQColor(*Brush.HatchBackground));
    S.P.fillRect(ToQRect(R), QBrush(Color, Plain ? Qt::SolidPattern : HatchStyle(Brush.Style)));
  }

  void Polyline(const std::vector<TPoint>& Points, const TDevicePen& Pen) override {
    if (Pen.Style == psClear || Pen.Mode == pmNop || Points.size() < 2) return;
    TScope S(*this);
    if (Pen.Width <= 1) return ThinLines(S.P, Points, false, Pen);
    S.P.setPen(WidePen(S.P, Pen));
    QPolygon Poly;
    for (const TPoint& P : Points) Poly << QPoint(P.X, P.Y);
    S.P.drawPolyline(Poly);
  }

  void Shape(const TDeviceShape& Shape, const TDevicePen& Pen, const TDeviceBrush& Brush) override {
    TScope S(*this);
    const bool HasPen = Pen.Style != psClear && Pen.Mode != pmNop;
    const TRect& B = Shape.Bounds;
    // Without a pen the figure is one pixel smaller to the right and bottom.
    const QRectF Outline(B.Left + 0.5, B.Top + 0.5, B.Width() - 1, B.Height() - 1);
    const QRectF FillBox = HasPen ? Outline : QRectF(B.Left, B.Top, B.Width() - 1, B.Height() - 1);
    if (Shape.Kind == skRectangle) {
      if (Brush.Style != bsClear) {
        const QRect Inner = HasPen ? QRect(B.Left + 1, B.Top + 1, B.Width() - 2, B.Height() - 2)
                                   : QRect(B.Left, B.Top, B.Width() - 1, B.Height() - 1);
        FillWithBrush(S.P, Inner, Brush);
      }
      if (!HasPen) return;
      if (Pen.Width <= 1) {
        const std::vector<TPoint> Corners = {{B.Left, B.Top}, {B.Right - 1, B.Top},
                                             {B.Right - 1, B.Bottom - 1}, {B.Left, B.Bottom - 1},
                                             {B.Left, B.Top}};
        return ThinLines(S.P, Corners, false, Pen);
      }
      S.P.setPen(WidePen(S.P, Pen));
      S.P.setBrush(Qt::NoBrush);
      S.P.drawRect(Outline);
      return;
    }
    if (Shape.Kind == skPolygon && HasPen && Pen.Width <= 1) {
      FillPath(S.P, PolygonPath(Shape), Brush);
      std::vector<TPoint> Closed = Shape.Points;
      Closed.push_back(Shape.Points.front());
      return ThinLines(S.P, Closed, false, Pen);
    }
    QPainterPath Path = Shape.Kind == skPolygon ? PolygonPath(Shape) : FigurePath(Shape, FillBox);
    if (Shape.Kind != skArc) FillPath(S.P, Path, Brush);
    if (!HasPen) return;
    if (Shape.Kind != skPolygon && HasPen) Path = FigurePath(Shape, Outline);
    S.P.setPen(Pen.Width <= 1 ? ThinPen(S.P, Pen) : WidePen(S.P, Pen));
    S.P.setBrush(Qt::NoBrush);
    S.P.drawPath(Path);
  }

  void Text(const TDeviceText& T) override {
    TScope S(*this);
    auto& Service = TFontService::Instance();
    const TFontRequest& Font = T.Font.Request;
    const TTextMetric M = Service.TextMetrics(Font);
    const double Em = Service.EmPixels(Font);
    int Width = 0;
    for (int A : T.Advances) Width += A;
    if (T.Options & ETO_OPAQUE) S.P.fillRect(ToQRect(T.Rect), ToQColor(T.BkColor));
    if (T.Options & ETO_CLIPPED) S.P.setClipRect(ToQRect(T.Rect), Qt::IntersectClip);
    S.P.translate(T.Origin.X, T.Origin.Y);
    if (T.Font.Escapement != 0) S.P.rotate(-T.Font.Escapement / 10.0);
    if (!(T.Options & ETO_OPAQUE) && T.Opaque)
      S.P.fillRect(QRect(0, 0, Width, M.tmHeight), ToQColor(T.BkColor));
    const TFontFile File = Service.Resolve(Font.Name, Font.Bold, Font.Italic);
    TGlyphPaths& Paths = GlyphPathsOf(File);
    const QColor Color = ToQColor(T.Font.Color);
    S.P.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath Run;
    int X = 0;
    for (std::size_t I = 0; I < T.Text.size(); ++I) {
      const char16_t C = T.Text[I];
      const bool LowSurrogate = C >= 0xDC00 && C < 0xE000;
      if (!LowSurrogate) {
        char32_t Code = C;
        if (C >= 0xD800 && C < 0xDC00 && I + 1 < T.Text.size())
          Code = 0x10000 + ((char32_t(C) - 0xD800) << 10) + (T.Text[I + 1] - 0xDC00);
        QTransform Place;
        Place.translate(X, M.tmAscent);
        if (File.SyntheticItalic) Place.shear(-0.2, 0);
        Place.scale(Em, Em);
        Run.addPath(Place.map(GlyphPath(Paths, Font, Service.GlyphIndex(Font, Code))));
      }
      X += I < T.Advances.size() ? T.Advances[I] : 0;
    }
    S.P.fillPath(Run, Color);
    if (File.SyntheticBold) S.P.strokePath(Run, QPen(Color, Em / 32));
    DecorationLines(S.P, T, Width, M.tmAscent);
  }

  void Image(const TRect& Dest, const TBitmap& Source, const TRect& SrcRect, unsigned Rop,
             int Alpha, std::optional<TColorRef> TransparentColor) override {
    TScope S(*this);
    QImage Src = BitmapImage(Source).copy(ToQRect(SrcRect));
    if (TransparentColor) {
      Src = Src.convertToFormat(QImage::Format_ARGB32);
      const QRgb Key = qRgb(GetRValue(*TransparentColor), GetGValue(*TransparentColor),
                            GetBValue(*TransparentColor));
      for (int Y = 0; Y < Src.height(); ++Y) {
        auto* Line = reinterpret_cast<QRgb*>(Src.scanLine(Y));
        for (int X = 0; X < Src.width(); ++X)
          if ((Line[X] | 0xFF000000) == Key) Line[X] = 0;
      }
    }
    if (Rop == DSTINVERT || Rop == BLACKNESS || Rop == WHITENESS || Rop == PATCOPY) {
      S.Release();
      return PatBlt(Dest, TDeviceBrush{0, bsSolid, std::nullopt}, Rop);
    }
    if (Rop == SRCCOPY && !TransparentColor && Alpha >= 255 && !Src.hasAlphaChannel())
      S.P.setCompositionMode(QPainter::CompositionMode_Source);
    else
      S.P.setCompositionMode(RopComposition(Rop));
    if (Alpha < 255) S.P.setOpacity(std::max(0, Alpha) / 255.0);
    S.P.drawImage(ToQRect(Dest), Src);
  }

  TColorRef GetPixel(int X, int Y) override {
    QImage* Img = Target();
    if (!Img || !Img->rect().contains(X, Y)) return CLR_INVALID;
    if (FClip && !FClip->contains(QPoint(X, Y))) return CLR_INVALID;
    return FromQRgb(Img->pixel(X, Y));
  }

  void SetPixel(int X, int Y, TColorRef Color) override {
    TScope S(*this);
    S.P.fillRect(QRect(X, Y, 1, 1), ToQColor(Color));
  }

  bool ReadPixels(const TRect& R, TBitmap& Dest) override {
    QImage* Img = Target();
    if (!Img) return false;
    SetBitmapImage(Dest, Img->copy(ToQRect(R)));
    return true;
  }

private:
  // A painter for one call: a fresh one on the image, or the caller's saved and restored.
  class TScope {
  public:
    explicit TScope(TPainterDevice& D) : P(D.FPainter ? *D.FPainter : FOwn), FDevice(D) {
      if (D.FPainter) D.FPainter->save();
      else FOwn.begin(D.FImage);
      P.setRenderHint(QPainter::Antialiasing, false);
      if (D.FClip) P.setClipRegion(*D.FClip, D.FPainter ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    ~TScope() { Release(); }
    void Release() {
      if (FDone) return;
      FDone = true;
      if (FDevice.FPainter) FDevice.FPainter->restore();
      else FOwn.end();
    }
    QPainter& P;

  private:
    QPainter FOwn;
    TPainterDevice& FDevice;
    bool FDone = false;
  };

  QImage* Target() const {
    if (FImage) return FImage;
    if (FPainter && FPainter->device() && FPainter->device()->devType() == QInternal::Image)
      return static_cast<QImage*>(FPainter->device());
    return nullptr;
  }

  void ThinLines(QPainter& P, const std::vector<TPoint>& Points, bool, const TDevicePen& Pen) {
    TLineRaster Raster(Pen.Style);
    std::vector<QPoint> Pixels;
    for (std::size_t I = 1; I < Points.size(); ++I) Raster.Segment(Points[I - 1], Points[I], Pixels);
    P.setPen(ThinPen(P, Pen));
    P.drawPoints(Pixels.data(), int(Pixels.size()));
  }

  QPen ThinPen(QPainter& P, const TDevicePen& Pen) {
    QColor Color = ToQColor(Pen.Color);
    P.setCompositionMode(PenComposition(Pen.Mode, Color));
    QPen Q(Color, 1);
    Q.setCapStyle(Qt::FlatCap);
    return Q;
  }

  // Wide pens draw solid, with round ends and joins, as wide pens of the drawing calls do.
  QPen WidePen(QPainter& P, const TDevicePen& Pen) {
    QColor Color = ToQColor(Pen.Color);
    P.setCompositionMode(PenComposition(Pen.Mode, Color));
    QPen Q(Color, Pen.Width);
    Q.setCapStyle(Qt::RoundCap);
    Q.setJoinStyle(Qt::RoundJoin);
    return Q;
  }

  void FillWithBrush(QPainter& P, const QRect& R, const TDeviceBrush& Brush) {
    if (Brush.HatchBackground) P.fillRect(R, ToQColor(*Brush.HatchBackground));
    P.fillRect(R, QBrush(ToQColor(Brush.Color), HatchStyle(Brush.Style)));
  }

  void FillPath(QPainter& P, const QPainterPath& Path, const TDeviceBrush& Brush) {
    if (Brush.Style == bsClear) return;
    if (Brush.HatchBackground) P.fillPath(Path, ToQColor(*Brush.HatchBackground));
    P.fillPath(Path, QBrush(ToQColor(Brush.Color), HatchStyle(Brush.Style)));
  }

  static QPainterPath PolygonPath(const TDeviceShape& Shape) {
    QPolygonF Poly;
    for (const TPoint& P : Shape.Points) Poly << QPointF(P.X + 0.5, P.Y + 0.5);
    QPainterPath Path;
    Path.addPolygon(Poly);
    Path.closeSubpath();
    Path.setFillRule(Shape.Winding ? Qt::WindingFill : Qt::OddEvenFill);
    return Path;
  }

  static double AngleOf(const QRectF& Box, TPoint P) {
    const QPointF C = Box.center();
    return std::atan2(-(P.Y + 0.5 - C.y()), P.X + 0.5 - C.x()) * 180 / M_PI;
  }

  static QPainterPath FigurePath(const TDeviceShape& Shape, const QRectF& Box) {
    QPainterPath Path;
    switch (Shape.Kind) {
      case skEllipse: Path.addEllipse(Box); break;
      case skRoundRect: Path.addRoundedRect(Box, Shape.Corner.cx / 2.0, Shape.Corner.cy / 2.0); break;
      case skArc:
      case skChord:
      case skPie: {
        const double Start = AngleOf(Box, Shape.Start);
        double Sweep = AngleOf(Box, Shape.End) - Start;
        if (Sweep <= 0) Sweep += 360;  // arcs run counter-clockwise from start to end
        if (Shape.Kind == skPie) Path.moveTo(Box.center());
        else Path.arcMoveTo(Box, Start);
        Path.arcTo(Box, Start, Sweep);
        if (Shape.Kind != skArc) Path.closeSubpath();
        break;
      }
      default: Path.addRect(Box); break;
    }
    return Path;
  }

  static void DecorationLines(QPainter& P, const TDeviceText& T, int Width, int Ascent) {
    const bool Under = T.Font.Style.Contains(fsUnderline);
    const bool Strike = T.Font.Style.Contains(fsStrikeOut);
    if (!Under && !Strike) return;
    const TOutlineTextMetric O = TFontService::Instance().OutlineTextMetrics(T.Font.Request);
    const int Size = std::max(1, O.otmsUnderscoreSize);
    P.setRenderHint(QPainter::Antialiasing, false);
    const QColor Color = ToQColor(T.Font.Color);
    if (Under) P.fillRect(QRect(0, Ascent - O.otmsUnderscorePosition, Width, Size), Color);
    if (Strike)
      P.fillRect(QRect(0, Ascent - O.otmsStrikeoutPosition, Width, std::max(1, O.otmsStrikeoutSize)), Color);
  }

  QImage* FImage;
  QPainter* FPainter;
  TCanvasKind FKind;
  TSize FSize;
  int FDpi;
  std::optional<QRegion> FClip;
};

}  // namespace

std::unique_ptr<TCanvasDevice> CreateImageDevice(QImage* Image) {
  return std::make_unique<TPainterDevice>(Image, nullptr, ckBitmap, TSize{}, 96);
}

std::unique_ptr<TCanvasDevice> CreatePainterDevice(QPainter* Painter, TCanvasKind Kind, TSize Size,
                                                   int PixelsPerInch) {
  return std::make_unique<TPainterDevice>(nullptr, Painter, Kind, Size, PixelsPerInch);
}
