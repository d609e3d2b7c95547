// PainterCanvas.cpp - the Qt painter backend: shapes, lines, text from the font service's
// outlines, and images with raster operations.
//
// Text on windows and bitmaps is drawn from cached glyph masks (GlyphCache.h) when it is
// unrotated and lands on whole pixels; otherwise (printers, rotation, scaling transformations)
// the glyph outlines are filled. The masks come from FreeType's rasteriser (GlyphRaster.h) as
// the font service loads each glyph; it follows the curves that Qt's fill flattens: the same
// pixels are inked, edge pixels differ by a few grey levels. On a PDF painter text is written as
// text in the embedded face, so the file can be searched and copied from.
//
// One-pixel lines are rasterised here rather than by Qt, so that they follow the drawing
// calls' rules exactly: a segment leaves out its last pixel, a style pattern runs on across
// the segments of a polyline, and no pixel is drawn twice (XOR lines drawn twice vanish).
#include "platform/graphics/PainterCanvas.h"

#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <unordered_map>

#include <QFontDatabase>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include "platform/graphics/Bitmap_p.h"
#include "platform/graphics/GlyphCache.h"
#include "platform/graphics/GlyphRaster.h"

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

// What drawing a run needs of its font. Resolving and measuring a font costs more than drawing
// a short text, so the faces of the last fonts drawn are kept.
struct TTextFace {
  TFontRequest Request;
  TTextMetric Metric;
  double Em = 0;
  std::uint32_t Id = 0;            // the face's key in the glyph cache
  bool SyntheticBold = false;
  bool SyntheticItalic = false;
  TGlyphPaths* Paths = nullptr;
  std::string Path;                // the face's file, for writers that embed it
  TRect Box;                       // what any glyph may cover, from its origin (y down)
};

std::uint32_t FaceId(const TFontFile& File) {
  static std::map<std::string, std::uint32_t> Ids;
  const std::string Key = File.Path + '#' + std::to_string(File.Index) +
                          (File.SyntheticBold ? "b" : "") + (File.SyntheticItalic ? "i" : "");
  return Ids.emplace(Key, std::uint32_t(Ids.size())).first->second;
}

TTextFace MakeTextFace(const TFontRequest& Font) {
  auto& Service = TFontService::Instance();
  const TFontFile File = Service.Resolve(Font.Name, Font.Bold, Font.Italic);
  TTextFace F;
  F.Request = Font;
  F.Metric = Service.TextMetrics(Font);
  F.Em = Service.EmPixels(Font);
  F.Id = FaceId(File);
  F.SyntheticBold = File.SyntheticBold;
  F.SyntheticItalic = File.SyntheticItalic;
  F.Paths = &GlyphPathsOf(File);
  if (File.Index == 0) F.Path = File.Path;
  // The font box (y up), widened by the slant and stroke of synthetic styles and a margin.
  const TRect B = Service.OutlineTextMetrics(Font).otmrcFontBox;
  const int Slant = F.SyntheticItalic ? int(std::ceil(0.2 * std::max(B.Top, -B.Bottom))) : 0;
  const int Pad = 2 + int(std::ceil(F.Em / 32));
  F.Box = {B.Left - Slant - Pad, -B.Top - Pad, B.Right + Slant + Pad, -B.Bottom + Pad};
  return F;
}

const TTextFace& TextFace(const TFontRequest& Font) {
  static std::vector<TTextFace> Recent;
  for (const TTextFace& F : Recent)
    if (F.Request.Height == Font.Height && F.Request == Font) return F;
  if (Recent.size() >= 16) Recent.erase(Recent.begin());
  Recent.push_back(MakeTextFace(Font));
  return Recent.back();
}

// The code point starting at Text[I] (a surrogate pair as one), or nothing for a low half.
std::optional<char32_t> CodeAt(const String& Text, std::size_t I) {
  const char16_t C = Text[I];
  if (C >= 0xDC00 && C < 0xE000) return std::nullopt;
  if (C >= 0xD800 && C < 0xDC00 && I + 1 < Text.size())
    return 0x10000 + ((char32_t(C) - 0xD800) << 10) + (Text[I + 1] - 0xDC00);
  return C;
}

// The glyph's placement at its origin on the baseline: scaled to the em, slanted for a
// synthetic italic.
QTransform GlyphPlacement(const TTextFace& Face, double X, double Y) {
  QTransform Place;
  Place.translate(X, Y);
  if (Face.SyntheticItalic) Place.shear(-0.2, 0);
  Place.scale(Face.Em, Face.Em);
  return Place;
}

// The run's glyphs as one path filled with the colour (a synthetic bold also stroked): exact
// at any transformation, for printers, rotated text and the reference of the glyph cache.
void FillGlyphRun(QPainter& P, const TDeviceText& T, const TTextFace& Face) {
  auto& Service = TFontService::Instance();
  P.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath Run;
  int X = 0;
  for (std::size_t I = 0; I < T.Text.size(); ++I) {
    if (const auto Code = CodeAt(T.Text, I)) {
      const QPainterPath& Glyph = GlyphPath(*Face.Paths, T.Font.Request, Service.GlyphIndex(T.Font.Request, *Code));
      Run.addPath(GlyphPlacement(Face, X, Face.Metric.tmAscent).map(Glyph));
    }
    X += I < T.Advances.size() ? T.Advances[I] : 0;
  }
  const QColor Color = ToQColor(T.Font.Color);
  P.fillPath(Run, Color);
  if (Face.SyntheticBold) P.strokePath(Run, QPen(Color, Face.Em / 32));
}

// The face as Qt's font database knows it, at the run's em: registered from its file, so that
// a PDF writer embeds it and maps its glyphs back to characters. Nothing when Qt resolves the
// family to another file (its "head" table differs) or the face cannot be registered.
// Qt's fonts live as long as the application object, so the faces are let go with it (the
// tables themselves outlive static destruction, which may end the application later).
struct TPdfFonts {
  std::map<std::pair<std::uint32_t, std::int32_t>, std::optional<QRawFont>> Sized;
  std::map<std::uint32_t, std::optional<QRawFont>> Faces;
};

TPdfFonts& PdfFonts() {
  static TPdfFonts& Fonts = *new TPdfFonts;
  static QObject* App = nullptr;
  if (App != QCoreApplication::instance()) {
    App = QCoreApplication::instance();
    QObject::connect(App, &QObject::destroyed, [] {
      Fonts.Sized.clear();
      Fonts.Faces.clear();
      App = nullptr;
    });
  }
  return Fonts;
}

const QRawFont* PdfTextFont(const TTextFace& Face) {
  auto& [Sized, Faces] = PdfFonts();
  const std::int32_t Em64 = std::int32_t(std::lround(Face.Em * 64));
  auto [It, Added] = Sized.try_emplace({Face.Id, Em64});
  if (!Added) return It->second ? &*It->second : nullptr;
  auto [FaceIt, NewFace] = Faces.try_emplace(Face.Id);
  if (NewFace && !Face.Path.empty()) {
    const int AppId = QFontDatabase::addApplicationFont(QString::fromStdString(Face.Path));
    const std::string Head = TFontService::Instance().FontTable(Face.Request, "head");
    for (const QString& Family : QFontDatabase::applicationFontFamilies(AppId)) {
      QFont Q(Family);
      Q.setBold(Face.Request.Bold);
      Q.setItalic(Face.Request.Italic);
      Q.setStyleStrategy(QFont::NoFontMerging);
      QRawFont Raw = QRawFont::fromFont(Q);
      const QByteArray RawHead = Raw.fontTable("head");
      if (Raw.isValid() && !Head.empty() && std::string(RawHead.constData(), RawHead.size()) == Head) {
        FaceIt->second = Raw;
        break;
      }
    }
  }
  if (!FaceIt->second) return nullptr;
  QRawFont Raw = *FaceIt->second;
  Raw.setPixelSize(Face.Em);
  It->second = Raw;
  return &*It->second;
}

// The run written as text on a PDF painter: the same glyphs at the same origins FillGlyphRun
// fills. False when the face has no embeddable match; synthetic styles are left to the outlines,
// which alone show them.
bool WriteGlyphRun(QPainter& P, const TDeviceText& T, const TTextFace& Face) {
  if (Face.SyntheticBold || Face.SyntheticItalic) return false;
  const QRawFont* Font = PdfTextFont(Face);
  if (!Font) return false;
  auto& Service = TFontService::Instance();
  QList<quint32> Glyphs;
  QList<QPointF> Positions;
  int X = 0;
  for (std::size_t I = 0; I < T.Text.size(); ++I) {
    if (const auto Code = CodeAt(T.Text, I)) {
      Glyphs.append(Service.GlyphIndex(T.Font.Request, *Code));
      Positions.append(QPointF(X, 0));
    }
    X += I < T.Advances.size() ? T.Advances[I] : 0;
  }
  QGlyphRun Run;
  Run.setRawFont(*Font);
  Run.setGlyphIndexes(Glyphs);
  Run.setPositions(Positions);
  P.setPen(ToQColor(T.Font.Color));
  P.drawGlyphRun(QPointF(0, Face.Metric.tmAscent), Run);
  return true;
}

// Glyphs up to this em size are cached; larger ones cost more memory than filling them.
constexpr double MaxCachedEm = 128;

// The glyph stroked and filled as FillGlyphRun does for a synthetic bold, at the origin, into a
// coverage mask cut to the pixels it touches.
TGlyphMask RenderBoldGlyphMask(const QPainterPath& Glyph, const TTextFace& Face) {
  const QPainterPath Path = GlyphPlacement(Face, 0, 0).map(Glyph);
  if (Path.isEmpty()) return {};
  const double Stroke = Face.Em / 32;
  const QRectF B = Path.boundingRect().adjusted(-Stroke - 1, -Stroke - 1, Stroke + 1, Stroke + 1);
  const int Left = int(std::floor(B.left())), Top = int(std::floor(B.top()));
  QImage Image(int(std::ceil(B.right())) - Left, int(std::ceil(B.bottom())) - Top, QImage::Format_Alpha8);
  Image.fill(0);
  {
    QPainter P(&Image);
    P.setRenderHint(QPainter::Antialiasing, true);
    P.translate(-Left, -Top);
    P.fillPath(Path, Qt::white);
    P.strokePath(Path, QPen(Qt::white, Stroke));
  }
  return TrimmedCoverage(Image.constBits(), int(Image.bytesPerLine()), Image.width(), Image.height(), Left, Top);
}

// A glyph's mask as FillGlyphRun would fill it. The font service rasterises the outline as it
// loads it; only a synthetic bold, which is also stroked, goes through a painter.
TGlyphMask GlyphMask(const TFontRequest& Font, std::uint32_t Glyph, const TTextFace& Face) {
  if (Face.SyntheticBold) return RenderBoldGlyphMask(GlyphPath(*Face.Paths, Font, Glyph), Face);
  return TFontService::Instance().RasterizeGlyph(Font, Glyph, Face.SyntheticItalic);
}

// A run's coverage: the masks of its glyphs added up inside the box any of them may cover,
// and the part they did cover.
class TRunCoverage {
public:
  void Reset(const TRect& Box) {
    FBox = Box;
    FCover.assign(std::size_t(Box.Width()) * Box.Height(), 0);
    FUsed = {Box.Right, Box.Bottom, Box.Left, Box.Top};
  }

  // Adds a mask whose origin lies at (X, Y) in run coordinates; what falls outside the box
  // (a glyph outside its font's box) is left out.
  void Add(const TGlyphMask& M, int X, int Y) {
    const TRect R = Bounds(X + M.Left, Y + M.Top, M.Width, M.Height);
    TRect In;
    if (!IntersectRect(In, R, FBox)) return;
    for (int Row = In.Top; Row < In.Bottom; ++Row) {
      const std::uint8_t* Src = &M.Coverage[std::size_t(Row - R.Top) * M.Width + (In.Left - R.Left)];
      std::uint8_t* Dst = &FCover[std::size_t(Row - FBox.Top) * FBox.Width() + (In.Left - FBox.Left)];
      for (int I = 0; I < In.Width(); ++I) {
        const int V = Dst[I] + Src[I];
        Dst[I] = std::uint8_t(V > 255 ? 255 : V);
      }
    }
    FUsed = {std::min(FUsed.Left, In.Left), std::min(FUsed.Top, In.Top),
             std::max(FUsed.Right, In.Right), std::max(FUsed.Bottom, In.Bottom)};
  }

  const TRect& Used() const { return FUsed; }
  std::uint8_t At(int X, int Y) const {
    return FCover[std::size_t(Y - FBox.Top) * FBox.Width() + (X - FBox.Left)];
  }

private:
  TRect FBox, FUsed;
  std::vector<std::uint8_t> FCover;
};

// The text colour at every coverage, premultiplied as the raster engine multiplies a colour by
// its coverage when it fills a path, so that blending gives the pixels a fill gives.
const std::array<QRgb, 256>& CoverageColors(TColorRef Color) {
  static std::array<QRgb, 256> Table;
  static TColorRef TableColor = CLR_INVALID;
  if (Color == TableColor) return Table;
  const auto Mul = [](int C, int A) {
    const int T = C * A;
    return (T + (T >> 8) + 0x80) >> 8;
  };
  for (int A = 0; A < 256; ++A)
    Table[A] = qRgba(Mul(GetRValue(Color), A), Mul(GetGValue(Color), A), Mul(GetBValue(Color), A), A);
  TableColor = Color;
  return Table;
}

// The run drawn from cached glyph masks: their coverage is added up, turned into the text
// colour and blended in one image, at whole-pixel positions (the painter's transformation is
// a whole-pixel translation here).
void BlendGlyphRun(QPainter& P, const TDeviceText& T, const TTextFace& Face) {
  auto& Service = TFontService::Instance();
  TGlyphCache& Cache = ScreenGlyphCache();
  static TRunCoverage Coverage;
  static QImage Colored;
  int Width = 0;
  for (int A : T.Advances) Width += A;
  const int Ascent = Face.Metric.tmAscent;
  Coverage.Reset({std::min(0, Face.Box.Left), Ascent + Face.Box.Top, Width + std::max(0, Face.Box.Right),
                  Ascent + Face.Box.Bottom});
  const std::int32_t Em64 = std::int32_t(std::lround(Face.Em * 64));
  int X = 0;
  for (std::size_t I = 0; I < T.Text.size(); ++I) {
    if (const auto Code = CodeAt(T.Text, I)) {
      const TGlyphKey Key{Face.Id, Em64, Service.GlyphIndex(T.Font.Request, *Code)};
      const TGlyphMask* Mask = Cache.Find(Key);
      if (!Mask) Mask = &Cache.Add(Key, GlyphMask(T.Font.Request, Key.Glyph, Face));
      if (Mask->Width > 0) Coverage.Add(*Mask, X, Ascent);
    }
    X += I < T.Advances.size() ? T.Advances[I] : 0;
  }
  const TRect& U = Coverage.Used();
  if (U.IsEmpty()) return;
  if (Colored.width() < U.Width() || Colored.height() < U.Height())
    Colored = QImage(std::max(Colored.width(), U.Width()), std::max(Colored.height(), U.Height()),
                     QImage::Format_ARGB32_Premultiplied);
  const auto& Colors = CoverageColors(T.Font.Color);
  for (int Y = U.Top; Y < U.Bottom; ++Y) {
    auto* Line = reinterpret_cast<QRgb*>(Colored.scanLine(Y - U.Top));
    for (int X = U.Left; X < U.Right; ++X) Line[X - U.Left] = Colors[Coverage.At(X, Y)];
  }
  P.drawImage(QPoint(U.Left, U.Top), Colored, QRect(0, 0, U.Width(), U.Height()));
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
    const TTextFace& Face = TextFace(T.Font.Request);
    int Width = 0;
    for (int A : T.Advances) Width += A;
    if (T.Options & ETO_OPAQUE) S.P.fillRect(ToQRect(T.Rect), ToQColor(T.BkColor));
    if (T.Options & ETO_CLIPPED) S.P.setClipRect(ToQRect(T.Rect), Qt::IntersectClip);
    S.P.translate(T.Origin.X, T.Origin.Y);
    if (T.Font.Escapement != 0) S.P.rotate(-T.Font.Escapement / 10.0);
    if (!(T.Options & ETO_OPAQUE) && T.Opaque)
      S.P.fillRect(QRect(0, 0, Width, Face.Metric.tmHeight), ToQColor(T.BkColor));
    if (UsesGlyphCache(S.P, T, Face)) BlendGlyphRun(S.P, T, Face);
    else if (!IsPdfPainter(S.P) || !WriteGlyphRun(S.P, T, Face)) FillGlyphRun(S.P, T, Face);
    DecorationLines(S.P, T, Width, Face.Metric.tmAscent);
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
  // Cached glyphs draw unrotated text on raster surfaces at whole-pixel positions; printers
  // keep the exact outlines.
  bool UsesGlyphCache(const QPainter& P, const TDeviceText& T, const TTextFace& Face) const {
    if (!GlyphCacheEnabled() || (FKind != ckBitmap && FKind != ckWindow)) return false;
    if (T.Font.Escapement != 0 || Face.Em > MaxCachedEm) return false;
    const QTransform D = P.deviceTransform();
    return D.type() <= QTransform::TxTranslate && D.dx() == std::floor(D.dx()) &&
           D.dy() == std::floor(D.dy());
  }

  // Qt's font database, which the PDF writer embeds from, needs the application object.
  static bool IsPdfPainter(const QPainter& P) {
    return P.paintEngine() && P.paintEngine()->type() == QPaintEngine::Pdf &&
           qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  }

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
    const QPen Thin = ThinPen(P, Pen);
    const bool Solid = StylePattern(Pen.Style).empty();
    for (std::size_t I = 1; I < Points.size(); ++I) {
      const TPoint A = Points[I - 1], B = Points[I];
      // A solid horizontal or vertical segment covers the same pixels as a one-pixel rectangle
      // from its start up to (not including) its end; filling it is far cheaper than points.
      if (Solid && (A.X == B.X) != (A.Y == B.Y)) {
        const int L = A.X == B.X ? A.X : A.X < B.X ? A.X : B.X + 1;
        const int T = A.Y == B.Y ? A.Y : A.Y < B.Y ? A.Y : B.Y + 1;
        P.fillRect(QRect(L, T, A.X == B.X ? 1 : std::abs(B.X - A.X), A.Y == B.Y ? 1 : std::abs(B.Y - A.Y)),
                   Thin.color());
      } else {
        Raster.Segment(A, B, Pixels);
      }
    }
    if (Pixels.empty()) return;
    P.setPen(Thin);
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
