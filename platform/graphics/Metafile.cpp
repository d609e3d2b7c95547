// Metafile.cpp - the recording device, replay at any scale and the text-record enumeration.
#include "platform/graphics/Metafile.h"

#include <cmath>

#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Exceptions.h"

namespace {

class TRecordingDevice : public TCanvasDevice {
public:
  TRecordingDevice(TMetafile* Metafile, std::vector<TMetaRecord>& Records, int Dpi)
      : FMetafile(Metafile), FRecords(Records), FDpi(Dpi) {}

  TCanvasKind Kind() const override { return ckMetafile; }
  TSize SurfaceSize() const override { return {FMetafile->Width(), FMetafile->Height()}; }
  int PixelsPerInch() const override { return FDpi; }

  void SetClip(const std::vector<TRect>* Rects) override {
    TMetaRecord R;
    R.Kind = mrClip;
    R.ClipActive = Rects != nullptr;
    if (Rects) R.Rects = *Rects;
    FRecords.push_back(std::move(R));
  }
  void PatBlt(const TRect& Bounds, const TDeviceBrush& Brush, unsigned Rop) override {
    TMetaRecord R;
    R.Kind = mrPatBlt;
    R.Bounds = Bounds;
    R.Brush = Brush;
    R.Rop = Rop;
    Grow(Bounds);
    FRecords.push_back(std::move(R));
  }
  void Polyline(const std::vector<TPoint>& Points, const TDevicePen& Pen) override {
    TMetaRecord R;
    R.Kind = mrPolyline;
    R.Points = Points;
    R.Pen = Pen;
    for (TPoint P : Points) Grow(Rect(P.X, P.Y, P.X + 1, P.Y + 1));
    FRecords.push_back(std::move(R));
  }
  void Shape(const TDeviceShape& Shape, const TDevicePen& Pen, const TDeviceBrush& Brush) override {
    TMetaRecord R;
    R.Kind = mrShape;
    R.Shape = Shape;
    R.Pen = Pen;
    R.Brush = Brush;
    Grow(Shape.Bounds);
    for (TPoint P : Shape.Points) Grow(Rect(P.X, P.Y, P.X + 1, P.Y + 1));
    FRecords.push_back(std::move(R));
  }
  void Text(const TDeviceText& Text) override {
    TMetaRecord R;
    R.Kind = mrText;
    R.Text = Text;
    int Width = 0;
    for (int A : Text.Advances) Width += A;
    Grow(Bounds(Text.Origin.X, Text.Origin.Y, Width, std::abs(Text.Font.Request.Height)));
    FRecords.push_back(std::move(R));
  }
  void Image(const TRect& Dest, const TBitmap& Source, const TRect& SrcRect, unsigned Rop,
             int Alpha, std::optional<TColorRef> TransparentColor) override {
    TMetaRecord R;
    R.Kind = mrImage;
    R.Bounds = Dest;
    auto Copy = std::make_shared<TBitmap>();
    Copy->Assign(const_cast<TBitmap*>(&Source));
    R.Image = std::move(Copy);
    R.SrcRect = SrcRect;
    R.Rop = Rop;
    R.Alpha = Alpha;
    R.TransparentColor = TransparentColor;
    Grow(Dest);
    FRecords.push_back(std::move(R));
  }
  TColorRef GetPixel(int, int) override { return CLR_INVALID; }
  void SetPixel(int X, int Y, TColorRef Color) override {
    TMetaRecord R;
    R.Kind = mrPixel;
    R.Points = {{X, Y}};
    R.Color = Color;
    Grow(Rect(X, Y, X + 1, Y + 1));
    FRecords.push_back(std::move(R));
  }
  bool ReadPixels(const TRect&, TBitmap&) override { return false; }

  TRect Extent() const { return FExtent; }

private:
  void Grow(const TRect& R) { UnionRect(FExtent, FExtent, R); }

  TMetafile* FMetafile;
  std::vector<TMetaRecord>& FRecords;
  int FDpi;
  TRect FExtent;
};

// Maps recorded device values into a destination rectangle.
struct TScaler {
  double SX, SY;
  int DX, DY;
  int X(int V) const { return int(std::lround(V * SX)) + DX; }
  int Y(int V) const { return int(std::lround(V * SY)) + DY; }
  TPoint P(TPoint V) const { return {X(V.X), Y(V.Y)}; }
  TRect R(const TRect& V) const { return {X(V.Left), Y(V.Top), X(V.Right), Y(V.Bottom)}; }
};

TDeviceText ScaleText(const TDeviceText& T, const TScaler& S) {
  TDeviceText Out = T;
  Out.Origin = S.P(T.Origin);
  Out.Rect = S.R(T.Rect);
  Out.Font.Request.Height = int(std::lround(T.Font.Request.Height * S.SY));
  Out.Advances = ScaledAdvances(T.Advances, S.SX);
  return Out;
}

}  // namespace

REGISTER_CLASS(TMetafile) {}

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TMetafile*>(Source);
  if (!Other) return inherited::Assign(Source);
  FRecords = Other->FRecords;
  FWidth = Other->FWidth;
  FHeight = Other->FHeight;
  Changed();
}

void TMetafile::SetWidth(int Value) {
  FWidth = std::max(0, Value);
  Changed();
}

void TMetafile::SetHeight(int Value) {
  FHeight = std::max(0, Value);
  Changed();
}

void TMetafile::Clear() {
  FRecords.clear();
  Changed();
}

void TMetafile::Draw(TCanvas* Canvas, const TRect& Rect) {
  if (Empty() || FWidth <= 0 || FHeight <= 0 || !Canvas->Device()) return;
  const TRect D = Canvas->LPtoDP(Rect);
  const TScaler S{double(D.Width()) / FWidth, double(D.Height()) / FHeight, D.Left, D.Top};
  TCanvasDevice& Device = *Canvas->Device();
  const TClipRegion Outer = Canvas->GetClipRegion();
  for (const TMetaRecord& R : FRecords) {
    switch (R.Kind) {
      case mrClip: {
        // The recorded clip, narrowed by the destination canvas's own.
        std::vector<TRect> Rects;
        const std::vector<TRect> Mine = R.ClipActive ? R.Rects : std::vector<TRect>{::Rect(0, 0, FWidth, FHeight)};
        for (const TRect& Part : Mine) {
          const TRect Scaled = S.R(Part);
          if (!Outer.Active) { Rects.push_back(Scaled); continue; }
          for (const TRect& O : Outer.Rects) {
            TRect Common;
            if (IntersectRect(Common, Scaled, O)) Rects.push_back(Common);
          }
        }
        Device.SetClip(&Rects);
        break;
      }
      case mrPatBlt: Device.PatBlt(S.R(R.Bounds), R.Brush, R.Rop); break;
      case mrPolyline: {
        std::vector<TPoint> Points;
        for (TPoint P : R.Points) Points.push_back(S.P(P));
        TDevicePen Pen = R.Pen;
        if (Pen.Width > 1) Pen.Width = std::max(1, int(std::lround(Pen.Width * S.SX)));
        Device.Polyline(Points, Pen);
        break;
      }
      case mrShape: {
        TDeviceShape Shape = R.Shape;
        Shape.Bounds = S.R(Shape.Bounds);
        Shape.Start = S.P(Shape.Start);
        Shape.End = S.P(Shape.End);
        Shape.Corner = {int(std::lround(Shape.Corner.cx * S.SX)), int(std::lround(Shape.Corner.cy * S.SY))};
        for (TPoint& P : Shape.Points) P = S.P(P);
        TDevicePen Pen = R.Pen;
        if (Pen.Width > 1) Pen.Width = std::max(1, int(std::lround(Pen.Width * S.SX)));
        Device.Shape(Shape, Pen, R.Brush);
        break;
      }
      case mrText: Device.Text(ScaleText(R.Text, S)); break;
      case mrImage: Device.Image(S.R(R.Bounds), *R.Image, R.SrcRect, R.Rop, R.Alpha, R.TransparentColor); break;
      case mrPixel: Device.SetPixel(S.X(R.Points[0].X), S.Y(R.Points[0].Y), R.Color); break;
    }
  }
  Canvas->SelectClipRegion(Outer);
}

std::vector<TMetaTextRecord> TMetafile::TextRecords() const {
  std::vector<TMetaTextRecord> Result;
  for (const TMetaRecord& R : FRecords) {
    if (R.Kind != mrText) continue;
    int Width = 0;
    for (int A : R.Text.Advances) Width += A;
    TRect Box = Bounds(R.Text.Origin.X, R.Text.Origin.Y, Width,
                       FontMetrics().TextMetrics(R.Text.Font.Request).tmHeight);
    if (R.Text.Options & ETO_CLIPPED) IntersectRect(Box, Box, R.Text.Rect);
    Result.push_back({R.Text.Text, R.Text.Origin, Box});
  }
  return Result;
}

void TMetafile::LoadFromBytes(std::string_view) {
  throw EInvalidGraphic(u"Metafile is not valid");
}

std::string TMetafile::SaveToBytes() const {
  throw EInvalidGraphic(u"Metafile cannot be saved");
}

REGISTER_CLASS(TMetafileCanvas) {}

TMetafileCanvas::TMetafileCanvas(TMetafile* Metafile, int PixelsPerInch) {
  Metafile->FRecords.clear();
  SetDevice(std::make_unique<TRecordingDevice>(Metafile, Metafile->FRecords, PixelsPerInch));
  Font()->SetPixelsPerInch(PixelsPerInch);
  FMetafile = Metafile;
}

TMetafileCanvas::~TMetafileCanvas() {
  auto* Device = static_cast<TRecordingDevice*>(this->Device());
  if (FMetafile->FWidth == 0 && FMetafile->FHeight == 0) {
    const TRect E = Device->Extent();
    FMetafile->FWidth = std::max(0, E.Right);
    FMetafile->FHeight = std::max(0, E.Bottom);
  }
  FMetafile->Changed();
}
