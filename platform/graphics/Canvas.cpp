// Canvas.cpp - TCanvas: drawing state, mapping and clipping over a device.
#include "platform/graphics/Canvas.h"

#include <cmath>
#include <limits>

#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bitmap_p.h"
#include "platform/rtl/Exceptions.h"

namespace {

constexpr int Huge = std::numeric_limits<int>::max() / 4;
const TRect Unbounded{-Huge, -Huge, Huge, Huge};

TRect Normalised(TRect R) {
  if (R.Left > R.Right) std::swap(R.Left, R.Right);
  if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
  return R;
}

// The parts of R that lie outside Hole (at most four rectangles).
void Subtract(const TRect& R, const TRect& Hole, std::vector<TRect>& Out) {
  TRect Common;
  if (!IntersectRect(Common, R, Hole)) {
    Out.push_back(R);
    return;
  }
  if (Common.Top > R.Top) Out.push_back({R.Left, R.Top, R.Right, Common.Top});
  if (Common.Bottom < R.Bottom) Out.push_back({R.Left, Common.Bottom, R.Right, R.Bottom});
  if (Common.Left > R.Left) Out.push_back({R.Left, Common.Top, Common.Left, Common.Bottom});
  if (Common.Right < R.Right) Out.push_back({Common.Right, Common.Top, R.Right, Common.Bottom});
}

// ROP_PSDPxax as an image: Color where SrcRect of Source is black, transparent elsewhere (so
// the destination stays). Pixels of TransparentColor are left out as in any drawing.
void PaintWhereBlack(const TBitmap& Source, const TRect& SrcRect, TColorRef Color,
                     std::optional<TColorRef> TransparentColor, TBitmap& Into) {
  const QImage& Src = BitmapImage(Source);
  QImage Out(SrcRect.Width(), SrcRect.Height(), QImage::Format_ARGB32);
  Out.fill(Qt::transparent);
  const QRgb Paint = qRgb(GetRValue(Color), GetGValue(Color), GetBValue(Color));
  for (int Y = 0; Y < Out.height(); ++Y)
    for (int X = 0; X < Out.width(); ++X) {
      const QPoint At(SrcRect.Left + X, SrcRect.Top + Y);
      if (!Src.rect().contains(At)) continue;
      const QRgb P = Src.pixel(At);
      const TColorRef Rgb = RGB(qRed(P), qGreen(P), qBlue(P));
      if (qAlpha(P) == 255 && Rgb == 0 && TransparentColor != Rgb) Out.setPixel(X, Y, Paint);
    }
  SetBitmapImage(Into, Out);
}

}  // namespace

std::vector<int> ScaledAdvances(std::span<const int> Advances, double Scale) {
  std::vector<int> Out(Advances.size());
  long Sum = 0;
  int Previous = 0;
  for (std::size_t I = 0; I < Advances.size(); ++I) {
    Sum += Advances[I];
    const int Now = int(std::lround(Sum * Scale));
    Out[I] = Now - Previous;
    Previous = Now;
  }
  return Out;
}

TCanvasDevice::~TCanvasDevice() = default;

struct TCanvas::TSaved {
  TClipRegion Clip;
  int MapMode;
  TPoint WindowOrg, ViewportOrg;
  TSize WindowExt, ViewportExt;
  TPoint PenPos;
};

REGISTER_CLASS(TCanvas) {}

TCanvas::TCanvas(std::unique_ptr<TCanvasDevice> Device)
    : FDevice(std::move(Device)),
      FFont(std::make_unique<TFont>()),
      FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::Changing() {
  if (FOnChanging) FOnChanging(this);
}

void TCanvas::Changed() {
  if (FOnChange) FOnChange(this);
}

TCanvasDevice& TCanvas::RequireDevice() {
  if (!FDevice) throw EInvalidOperation(u"Canvas does not allow drawing");
  return *FDevice;
}

TCanvasKind TCanvas::Kind() const { return FDevice ? FDevice->Kind() : ckBitmap; }

void TCanvas::SetDevice(std::unique_ptr<TCanvasDevice> Device) {
  FDevice = std::move(Device);
  ApplyClip();
}

std::unique_ptr<TCanvasDevice> TCanvas::ReleaseDevice() { return std::move(FDevice); }

// --- mapping --------------------------------------------------------------------------------

double TCanvas::ScaleX() const {
  return FMapMode == MM_ANISOTROPIC ? double(FViewportExt.cx) / FWindowExt.cx : 1.0;
}

double TCanvas::ScaleY() const {
  return FMapMode == MM_ANISOTROPIC ? double(FViewportExt.cy) / FWindowExt.cy : 1.0;
}

void TCanvas::SetMapMode(int Mode) {
  FMapMode = Mode == MM_ANISOTROPIC ? MM_ANISOTROPIC : MM_TEXT;
  if (FMapMode == MM_TEXT) FWindowExt = FViewportExt = {1, 1};
}

void TCanvas::SetWindowExt(int CX, int CY) {
  if (FMapMode != MM_ANISOTROPIC || CX == 0 || CY == 0) return;
  FWindowExt = {CX, CY};
}

void TCanvas::SetViewportExt(int CX, int CY) {
  if (FMapMode != MM_ANISOTROPIC || CX == 0 || CY == 0) return;
  FViewportExt = {CX, CY};
}

TPoint TCanvas::LPtoDP(TPoint P) const {
  return {int(std::lround((P.X - FWindowOrg.X) * ScaleX())) + FViewportOrg.X,
          int(std::lround((P.Y - FWindowOrg.Y) * ScaleY())) + FViewportOrg.Y};
}

TPoint TCanvas::DPtoLP(TPoint P) const {
  return {int(std::lround((P.X - FViewportOrg.X) / ScaleX())) + FWindowOrg.X,
          int(std::lround((P.Y - FViewportOrg.Y) / ScaleY())) + FWindowOrg.Y};
}

TRect TCanvas::LPtoDP(const TRect& R) const {
  const TPoint A = LPtoDP(R.TopLeft()), B = LPtoDP(R.BottomRight());
  return Normalised({A.X, A.Y, B.X, B.Y});
}

TRect TCanvas::DPtoLP(const TRect& R) const {
  const TPoint A = DPtoLP(R.TopLeft()), B = DPtoLP(R.BottomRight());
  return Normalised({A.X, A.Y, B.X, B.Y});
}

std::vector<TPoint> TCanvas::ToDevice(const std::vector<TPoint>& Points) const {
  std::vector<TPoint> Result;
  Result.reserve(Points.size());
  for (const TPoint& P : Points) Result.push_back(LPtoDP(P));
  return Result;
}

// --- tools as the device sees them ----------------------------------------------------------

TDevicePen TCanvas::DevicePen() const {
  TDevicePen P;
  P.Color = ColorToRGB(FPen->Color());
  P.Width = FPen->Width() <= 1 ? 1 : std::max(1, int(std::lround(FPen->Width() * std::fabs(ScaleX()))));
  P.Style = FPen->Style();
  P.Mode = FPen->Mode();
  return P;
}

TDeviceBrush TCanvas::DeviceBrush() const {
  TDeviceBrush B;
  B.Color = ColorToRGB(FBrush->Color());
  B.Style = FBrush->Style();
  return B;
}

TDeviceFont TCanvas::DeviceFont() const {
  TDeviceFont F;
  F.Request = FFont->Request();
  if (FMapMode == MM_ANISOTROPIC)
    F.Request.Height = int(std::lround(F.Request.Height * std::fabs(ScaleY())));
  F.Style = FFont->Style();
  F.Color = ColorToRGB(FFont->Color());
  F.Escapement = FFont->Orientation();
  return F;
}

// --- lines and figures ----------------------------------------------------------------------

void TCanvas::LineTo(int X, int Y) {
  auto& Device = RequireDevice();
  Changing();
  Device.Polyline(std::vector<TPoint>{LPtoDP(FPenPos), LPtoDP(Point(X, Y))}, DevicePen());
  FPenPos = {X, Y};
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  auto& Device = RequireDevice();
  if (Points.size() < 2) return;
  Changing();
  Device.Polyline(ToDevice(Points), DevicePen());
  Changed();
}

void TCanvas::PolyPolyline(const std::vector<TPoint>& Points, const std::vector<int>& Counts) {
  auto& Device = RequireDevice();
  Changing();
  const TDevicePen Pen = DevicePen();
  std::size_t At = 0;
  for (int Count : Counts) {
    if (Count < 0 || At + std::size_t(Count) > Points.size()) break;
    std::vector<TPoint> Part(Points.begin() + At, Points.begin() + At + Count);
    if (Part.size() >= 2) Device.Polyline(ToDevice(Part), Pen);
    At += std::size_t(Count);
  }
  Changed();
}

void TCanvas::DrawShape(TDeviceShape Shape, bool Filled) {
  auto& Device = RequireDevice();
  Changing();
  TDeviceBrush Brush = DeviceBrush();
  if (!Filled) Brush.Style = bsClear;
  Device.Shape(Shape, DevicePen(), Brush);
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  if (Points.size() < 2) return;
  TDeviceShape S;
  S.Kind = skPolygon;
  S.Points = ToDevice(Points);
  DrawShape(std::move(S), true);
}

void TCanvas::Rectangle(const TRect& R) {
  TDeviceShape S;
  S.Kind = skRectangle;
  S.Bounds = LPtoDP(R);
  DrawShape(std::move(S), true);
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  TDeviceShape S;
  S.Kind = skRoundRect;
  S.Bounds = LPtoDP(Rect(X1, Y1, X2, Y2));
  S.Corner = {int(std::lround(X3 * std::fabs(ScaleX()))), int(std::lround(Y3 * std::fabs(ScaleY())))};
  DrawShape(std::move(S), true);
}

void TCanvas::Ellipse(const TRect& R) {
  TDeviceShape S;
  S.Kind = skEllipse;
  S.Bounds = LPtoDP(R);
  DrawShape(std::move(S), true);
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  TDeviceShape S{skArc, LPtoDP(Rect(X1, Y1, X2, Y2)), {}, LPtoDP(Point(X3, Y3)), LPtoDP(Point(X4, Y4)), {}, false};
  DrawShape(std::move(S), false);
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  TDeviceShape S{skChord, LPtoDP(Rect(X1, Y1, X2, Y2)), {}, LPtoDP(Point(X3, Y3)), LPtoDP(Point(X4, Y4)), {}, false};
  DrawShape(std::move(S), true);
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  TDeviceShape S{skPie, LPtoDP(Rect(X1, Y1, X2, Y2)), {}, LPtoDP(Point(X3, Y3)), LPtoDP(Point(X4, Y4)), {}, false};
  DrawShape(std::move(S), true);
}

void TCanvas::FillRect(const TRect& R) { PatBlt(R, PATCOPY); }

void TCanvas::PatBlt(const TRect& R, unsigned Rop) {
  auto& Device = RequireDevice();
  const TRect D = LPtoDP(R);
  if (D.IsEmpty()) return;
  Changing();
  Device.PatBlt(D, DeviceBrush(), Rop);
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  auto& Device = RequireDevice();
  const TRect D = LPtoDP(R);
  if (D.IsEmpty()) return;
  Changing();
  const TDeviceBrush Brush = DeviceBrush();
  Device.PatBlt({D.Left, D.Top, D.Right, D.Top + 1}, Brush, PATCOPY);
  Device.PatBlt({D.Left, D.Bottom - 1, D.Right, D.Bottom}, Brush, PATCOPY);
  Device.PatBlt({D.Left, D.Top + 1, D.Left + 1, D.Bottom - 1}, Brush, PATCOPY);
  Device.PatBlt({D.Right - 1, D.Top + 1, D.Right, D.Bottom - 1}, Brush, PATCOPY);
  Changed();
}

TColor TCanvas::Pixels(int X, int Y) {
  const TPoint D = LPtoDP(Point(X, Y));
  return TColor(RequireDevice().GetPixel(D.X, D.Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Color) {
  auto& Device = RequireDevice();
  Changing();
  const TPoint D = LPtoDP(Point(X, Y));
  Device.SetPixel(D.X, D.Y, ColorToRGB(Color));
  Changed();
}

// --- text -----------------------------------------------------------------------------------

TTextMetric TCanvas::TextMetrics() { return FontMetrics().TextMetrics(DeviceFont().Request); }

TSize TCanvas::TextExtent(const String& Text) {
  const TDeviceFont F = DeviceFont();
  const int Width = FontMetrics().TextWidth(F.Request, Text);
  const int Height = FontMetrics().TextMetrics(F.Request).tmHeight;
  return {int(std::lround(Width / std::fabs(ScaleX()))), int(std::lround(Height / std::fabs(ScaleY())))};
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
  const int Width = OutputText(X, Y, 0, nullptr, Text, nullptr);
  FPenPos = {X + int(std::lround(Width / std::fabs(ScaleX()))), Y};  // as TextWidth rounds
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text) {
  unsigned Options = ETO_CLIPPED;
  if (FBrush->Style() != bsClear) Options |= ETO_OPAQUE;
  ExtTextOut(X, Y, Options, &R, Text);
}

void TCanvas::ExtTextOut(int X, int Y, unsigned Options, const TRect* R, const String& Text,
                         const int* Dx) {
  OutputText(X, Y, Options, R, Text, Dx);
}

int TCanvas::OutputText(int X, int Y, unsigned Options, const TRect* R, const String& Text,
                        const int* Dx) {
  auto& Device = RequireDevice();
  Changing();
  TDeviceText T;
  T.Origin = LPtoDP(Point(X, Y));
  T.Text = Text;
  T.Font = DeviceFont();
  T.Options = R ? Options : Options & ~unsigned(ETO_OPAQUE | ETO_CLIPPED);
  if (R) T.Rect = LPtoDP(*R);
  T.Opaque = FBrush->Style() != bsClear;
  T.BkColor = ColorToRGB(FBrush->Color());
  if (Dx)
    T.Advances = ScaledAdvances({Dx, Text.size()}, std::fabs(ScaleX()));
  else
    FontMetrics().CharAdvances(T.Font.Request, Text, T.Advances);
  Device.Text(T);
  Changed();
  int Width = 0;
  for (int A : T.Advances) Width += A;
  return Width;
}

// --- pictures and copying -------------------------------------------------------------------

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Graphic->Draw(this, R);
}

void TCanvas::DrawBitmap(const TRect& Dest, const TBitmap& Source, const TRect& SrcRect,
                         unsigned Rop, int Alpha, std::optional<TColorRef> TransparentColor) {
  auto& Device = RequireDevice();
  const TRect D = LPtoDP(Dest);
  if (D.IsEmpty() || SrcRect.IsEmpty()) return;
  Changing();
  if (Rop == ROP_PSDPxax) {
    TBitmap Painted;
    PaintWhereBlack(Source, SrcRect, DeviceBrush().Color, TransparentColor, Painted);
    Device.Image(D, Painted, Rect(0, 0, SrcRect.Width(), SrcRect.Height()), SRCCOPY, Alpha, std::nullopt);
  } else {
    Device.Image(D, Source, SrcRect, Rop, Alpha, TransparentColor);
  }
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SrcRect) {
  if (!Source) return;
  TBitmap Pixels;
  const TRect S = Source->LPtoDP(SrcRect);
  if (!Source->RequireDevice().ReadPixels(S, Pixels)) return;
  DrawBitmap(Dest, Pixels, Rect(0, 0, S.Width(), S.Height()), FCopyMode);
}

void TCanvas::BitBlt(int X, int Y, int W, int H, TCanvas* Source, int SX, int SY, unsigned Rop) {
  if (!Source) return PatBlt(Bounds(X, Y, W, H), Rop);
  const TCopyMode Saved = FCopyMode;
  FCopyMode = Rop;
  CopyRect(Bounds(X, Y, W, H), Source, Bounds(SX, SY, W, H));
  FCopyMode = Saved;
}

// --- clipping -------------------------------------------------------------------------------

void TCanvas::ApplyClip() {
  if (FDevice) FDevice->SetClip(FClip.Active ? &FClip.Rects : nullptr);
}

void TCanvas::SelectClipRegion(const TClipRegion& Region) {
  FClip = Region;
  ApplyClip();
}

void TCanvas::IntersectClipRect(const TRect& R) {
  const TRect D = LPtoDP(R);
  std::vector<TRect> Result;
  if (!FClip.Active) {
    if (!D.IsEmpty()) Result.push_back(D);
  } else {
    for (const TRect& Part : FClip.Rects) {
      TRect Common;
      if (IntersectRect(Common, Part, D)) Result.push_back(Common);
    }
  }
  FClip = {true, std::move(Result)};
  ApplyClip();
}

void TCanvas::ExcludeClipRect(const TRect& R) {
  const TRect D = LPtoDP(R);
  std::vector<TRect> Source = FClip.Rects;
  if (!FClip.Active) {
    const TSize Size = FDevice ? FDevice->SurfaceSize() : TSize{};
    Source = {Size.cx > 0 ? Rect(0, 0, Size.cx, Size.cy) : Unbounded};
  }
  std::vector<TRect> Result;
  for (const TRect& Part : Source) Subtract(Part, D, Result);
  FClip = {true, std::move(Result)};
  ApplyClip();
}

TRect TCanvas::ClipRect() const {
  const TSize Size = FDevice ? FDevice->SurfaceSize() : TSize{};
  const TRect Surface = Size.cx > 0 ? Rect(0, 0, Size.cx, Size.cy) : Unbounded;
  TRect Box = Surface;
  if (FClip.Active) {
    TRect All;
    for (const TRect& Part : FClip.Rects) UnionRect(All, All, Part);
    IntersectRect(Box, All, Surface);
  }
  return DPtoLP(Box);
}

bool TCanvas::RectVisible(const TRect& R) const {
  const TRect D = LPtoDP(R);
  TRect Common;
  if (!FClip.Active) {
    const TSize Size = FDevice ? FDevice->SurfaceSize() : TSize{};
    return Size.cx <= 0 || IntersectRect(Common, D, Rect(0, 0, Size.cx, Size.cy));
  }
  for (const TRect& Part : FClip.Rects)
    if (IntersectRect(Common, Part, D)) return true;
  return false;
}

TCanvasState TCanvas::SaveDC() {
  FSaved.push_back({FClip, FMapMode, FWindowOrg, FViewportOrg, FWindowExt, FViewportExt, FPenPos});
  return TCanvasState(FSaved.size());
}

void TCanvas::RestoreDC(TCanvasState State) {
  const int Depth = int(FSaved.size());
  const int Target = State < 0 ? Depth + State + 1 : State;  // the SaveDC number to return to
  if (Target < 1 || Target > Depth) return;
  const TSaved S = FSaved[Target - 1];
  FSaved.resize(Target - 1);
  FClip = S.Clip;
  FMapMode = S.MapMode;
  FWindowOrg = S.WindowOrg;
  FViewportOrg = S.ViewportOrg;
  FWindowExt = S.WindowExt;
  FViewportExt = S.ViewportExt;
  FPenPos = S.PenPos;
  ApplyClip();
}
