// PrintDocument.cpp - the recorded document: QPainter on QPdfWriter into memory.
#include "platform/printing/PrintDocument.h"

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/PainterCanvas.h"

namespace {

// Forwards every call to the painter device; text also goes under the outlines as transparent
// text of the same family and size, which PDF readers extract and search.
class TTextLayerDevice : public TCanvasDevice {
public:
  TTextLayerDevice(std::unique_ptr<TCanvasDevice> Inner, QPainter* Painter)
      : FInner(std::move(Inner)), FPainter(Painter) {}

  TCanvasKind Kind() const override { return FInner->Kind(); }
  TSize SurfaceSize() const override { return FInner->SurfaceSize(); }
  int PixelsPerInch() const override { return FInner->PixelsPerInch(); }
  void SetClip(const std::vector<TRect>* Rects) override {
    FInner->SetClip(Rects);
    FClip = Rects ? std::optional<std::vector<TRect>>(*Rects) : std::nullopt;
  }
  void PatBlt(const TRect& R, const TDeviceBrush& Brush, unsigned Rop) override {
    FInner->PatBlt(R, Brush, Rop);
  }
  void Polyline(const std::vector<TPoint>& Points, const TDevicePen& Pen) override {
    FInner->Polyline(Points, Pen);
  }
  void Shape(const TDeviceShape& S, const TDevicePen& Pen, const TDeviceBrush& Brush) override {
    FInner->Shape(S, Pen, Brush);
  }
  void Text(const TDeviceText& T) override {
    FInner->Text(T);
    HiddenText(T);
  }
  void Image(const TRect& Dest, const TBitmap& Source, const TRect& SrcRect, unsigned Rop,
             int Alpha, std::optional<TColorRef> TransparentColor) override {
    FInner->Image(Dest, Source, SrcRect, Rop, Alpha, TransparentColor);
  }
  TColorRef GetPixel(int X, int Y) override { return FInner->GetPixel(X, Y); }
  void SetPixel(int X, int Y, TColorRef Color) override { FInner->SetPixel(X, Y, Color); }
  bool ReadPixels(const TRect& R, TBitmap& Dest) override { return FInner->ReadPixels(R, Dest); }

private:
  void HiddenText(const TDeviceText& T) {
    // Qt's fonts need the application object; without one the outlines stand alone.
    if (T.Text.empty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    FPainter->save();
    if (FClip) {
      QRegion Clip;
      for (const TRect& R : *FClip) Clip += QRect(R.Left, R.Top, R.Width(), R.Height());
      FPainter->setClipRegion(Clip, Qt::IntersectClip);
    }
    QFont Font(QString::fromStdU16String(T.Font.Request.Name));
    Font.setPixelSize(std::max(1, std::abs(T.Font.Request.Height)));
    Font.setKerning(false);
    FPainter->setFont(Font);
    FPainter->setPen(QColor(0, 0, 0, 0));
    FPainter->translate(T.Origin.X, T.Origin.Y);
    if (T.Font.Escapement != 0) FPainter->rotate(-T.Font.Escapement / 10.0);
    const int Ascent = FPainter->fontMetrics().ascent();
    // Each character at its own advance, so the words sit where the outlines are.
    int X = 0;
    QString Run;
    int RunX = 0;
    auto Flush = [&] {
      if (!Run.isEmpty()) FPainter->drawText(QPointF(RunX, Ascent), Run);
      Run.clear();
    };
    for (std::size_t I = 0; I < T.Text.size(); ++I) {
      const char16_t C = T.Text[I];
      if (C == u' ') Flush();
      else {
        if (Run.isEmpty()) RunX = X;
        Run.append(QChar(C));
      }
      X += I < T.Advances.size() ? T.Advances[I] : 0;
    }
    Flush();
    FPainter->restore();
  }

  std::unique_ptr<TCanvasDevice> FInner;
  QPainter* FPainter;
  std::optional<std::vector<TRect>> FClip;
};

QPageSize PaperOf(double WidthMm, double HeightMm) {
  return QPageSize(QSizeF(WidthMm, HeightMm), QPageSize::Millimeter, QString(),
                   QPageSize::ExactMatch);
}

}  // namespace

struct TPrintDocument::Impl {
  int Dpi;
  QByteArray Data;
  QBuffer Buffer{&Data};
  std::unique_ptr<QPdfWriter> Writer;
  QPainter Painter;
  int Pages = 0;
};

TPrintDocument::TPrintDocument(int Dpi) : FImpl(std::make_unique<Impl>()) {
  FImpl->Dpi = Dpi > 0 ? Dpi : 600;
}

TPrintDocument::~TPrintDocument() {
  if (FImpl->Painter.isActive()) FImpl->Painter.end();
}

void TPrintDocument::BeginPage(TCanvas* Canvas, double WidthMm, double HeightMm, double LeftMm,
                               double TopMm) {
  Impl& D = *FImpl;
  const QPageLayout Layout(PaperOf(WidthMm, HeightMm), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                           QPageLayout::Millimeter);
  if (!D.Writer) {
    D.Buffer.open(QIODevice::WriteOnly);
    D.Writer = std::make_unique<QPdfWriter>(&D.Buffer);
    D.Writer->setResolution(D.Dpi);
    D.Writer->setCreator(QStringLiteral("Vorenta"));
    D.Writer->setPageLayout(Layout);
    D.Painter.begin(D.Writer.get());
  } else {
    D.Writer->setPageLayout(Layout);
    D.Writer->newPage();
  }
  ++D.Pages;
  D.Painter.resetTransform();
  D.Painter.setClipping(false);
  const double PerMm = D.Dpi / 25.4;
  D.Painter.translate(LeftMm * PerMm, TopMm * PerMm);
  const TSize Size{int(WidthMm * PerMm + 0.5), int(HeightMm * PerMm + 0.5)};
  Canvas->SetDevice(std::make_unique<TTextLayerDevice>(
      CreatePainterDevice(&D.Painter, ckPrinter, Size, D.Dpi), &D.Painter));
}

void TPrintDocument::EndPage(TCanvas* Canvas) {
  if (Canvas) Canvas->ReleaseDevice();
}

int TPrintDocument::PageCount() const { return FImpl->Pages; }

std::string TPrintDocument::Finish() {
  Impl& D = *FImpl;
  if (!D.Writer) return std::string();
  D.Painter.end();
  D.Writer.reset();
  D.Buffer.close();
  return std::string(D.Data.constData(), static_cast<size_t>(D.Data.size()));
}
