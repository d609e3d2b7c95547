// PrintDocument.cpp - the recorded document: QPainter on QPdfWriter into memory.
#include "platform/printing/PrintDocument.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/PainterCanvas.h"

namespace {

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
  // The painter device writes text as text in the embedded faces, so the file is searchable.
  Canvas->SetDevice(CreatePainterDevice(&D.Painter, ckPrinter, Size, D.Dpi));
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
