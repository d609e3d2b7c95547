// Snapshot.cpp - rendering controls into bitmaps and PNG files.
#include "platform/controls/Snapshot.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PainterCanvas.h"
#include "platform/rtl/Exceptions.h"

void RenderControl(TWinControl* Control, TBitmap& Bitmap) {
  Bitmap.SetSize(std::max(1, Control->Width()), std::max(1, Control->Height()));
  Control->PaintTo(Bitmap.Canvas(), 0, 0);
}

void SaveControlToPng(TWinControl* Control, const String& FileName) {
  QImage Image(std::max(1, Control->Width()), std::max(1, Control->Height()), QImage::Format_RGB32);
  Image.fill(Qt::white);
  TCanvas Canvas(CreateImageDevice(&Image));
  Control->PaintTo(&Canvas, 0, 0);
  const QString Name = QString::fromUtf16(FileName.data(), qsizetype(FileName.size()));
  if (!Image.save(Name, "PNG")) throw EInOutError(u"Cannot write the image file " + FileName);
}

void SaveScreenToPng(const String& FileName) {
  auto* App = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  QScreen* Screen = App ? App->primaryScreen() : nullptr;
  if (!Screen) throw EInOutError(u"No screen to take a picture of");
  const QString Name = QString::fromUtf16(FileName.data(), qsizetype(FileName.size()));
  if (!Screen->grabWindow(0).save(Name, "PNG")) throw EInOutError(u"Cannot write the image file " + FileName);
}
