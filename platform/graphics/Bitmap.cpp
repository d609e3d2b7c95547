// Bitmap.cpp - TBitmap over a QImage.
#include "platform/graphics/Bitmap.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Bitmap_p.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/PainterCanvas.h"
#include "platform/rtl/Exceptions.h"

namespace {

QImage::Format StorageFormat(TPixelFormat Format) {
  return Format == pf32bit ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

QImage BlankImage(int Width, int Height, TPixelFormat Format) {
  if (Width <= 0 || Height <= 0) return QImage();
  QImage Image(Width, Height, StorageFormat(Format));
  // A new bitmap is white, as the library's are.
  Image.fill(Format == pf32bit ? Qt::transparent : Qt::white);
  return Image;
}

// Limits on outside data, as for JPEG: at most 2^28 pixels, and no more than 512 pixels per
// byte of data. Uncompressed rows spend at least a bit per pixel and run-length codes at most
// 255 pixels per two bytes, so a larger header describes pixels the data does not hold (the
// decoder would fill them in, at the cost of memory and time the file never paid for).
constexpr qint64 kMaxPixels = qint64(1) << 28;
constexpr qint64 kMaxPixelsPerByte = 512;

void CheckPlausibleSize(std::string_view Data) {
  QByteArray Bytes = QByteArray::fromRawData(Data.data(), qsizetype(Data.size()));
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::ReadOnly);
  const QSize Size = QImageReader(&Buffer).size();
  if (!Size.isValid()) return;  // the decoder says what is wrong with the header
  const qint64 Pixels = qint64(Size.width()) * Size.height();
  if (Pixels > kMaxPixels || Pixels > qint64(Data.size()) * kMaxPixelsPerByte)
    throw EInvalidGraphic(u"Bitmap image is too large");
}

}  // namespace

struct TBitmap::Impl {
  QImage Image;
  // The size asked for while one side is still 0 (no image yet), so that setting Width and
  // then Height gives a bitmap of both.
  int Width = 0, Height = 0;
  std::unique_ptr<TCanvas> Canvas;
};

QImage& BitmapImage(const TBitmap& Bitmap) { return Bitmap.FImpl->Image; }

void SetBitmapImage(TBitmap& Bitmap, const QImage& Image) {
  BitmapImage(Bitmap) = Image.hasAlphaChannel()
                            ? Image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                            : Image.convertToFormat(QImage::Format_RGB32);
  Bitmap.SetPixelFormat(Image.hasAlphaChannel() ? pf32bit : pf24bit);
}

REGISTER_CLASS(TBitmap) {}

TBitmap::TBitmap() : FImpl(std::make_unique<Impl>()) {}

TBitmap::TBitmap(int Width, int Height) : TBitmap() { SetSize(Width, Height); }

TBitmap::~TBitmap() = default;

void TBitmap::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TBitmap*>(Source);
  if (!Other) return inherited::Assign(Source);
  FImpl->Image = Other->FImpl->Image.copy();
  FImpl->Width = Other->FImpl->Width;
  FImpl->Height = Other->FImpl->Height;
  FPixelFormat = Other->FPixelFormat;
  FTransparentMode = Other->FTransparentMode;
  FTransparentColor = Other->FTransparentColor;
  SetTransparent(Other->Transparent());
  Changed();
}

bool TBitmap::Empty() const { return FImpl->Image.isNull(); }
int TBitmap::Width() const { return FImpl->Image.isNull() ? FImpl->Width : FImpl->Image.width(); }
int TBitmap::Height() const { return FImpl->Image.isNull() ? FImpl->Height : FImpl->Image.height(); }
void TBitmap::SetWidth(int Value) { SetSize(Value, Height()); }
void TBitmap::SetHeight(int Value) { SetSize(Width(), Value); }

void TBitmap::SetSize(int Width, int Height) {
  if (Width == this->Width() && Height == this->Height()) return;
  QImage Fresh = BlankImage(Width, Height, FPixelFormat);
  if (!Fresh.isNull() && !FImpl->Image.isNull()) {
    // The old pixels stay where they were, as when a bitmap is resized.
    QPainter P(&Fresh);
    P.setCompositionMode(QPainter::CompositionMode_Source);
    P.drawImage(0, 0, FImpl->Image);
  }
  FImpl->Image = Fresh;
  FImpl->Width = Width;
  FImpl->Height = Height;
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  FPixelFormat = Value;
  if (!FImpl->Image.isNull()) FImpl->Image = FImpl->Image.convertToFormat(StorageFormat(Value));
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  return TColor(PixelRGB(0, Height() - 1));
}

void TBitmap::SetTransparentColor(TColor Value) {
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  FTransparentMode = Value;
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!FImpl->Canvas) {
    FImpl->Canvas = std::make_unique<TCanvas>(CreateImageDevice(&FImpl->Image));
    FImpl->Canvas->SetOnChange([this](TObject*) { Changed(); });
  }
  return FImpl->Canvas.get();
}

void TBitmap::Draw(TCanvas* Canvas, const TRect& Rect) {
  if (Empty()) return;
  std::optional<TColorRef> Key;
  if (Transparent()) Key = ColorToRGB(TransparentColor());
  Canvas->DrawBitmap(Rect, *this, ::Rect(0, 0, Width(), Height()), Canvas->CopyMode(), 255, Key);
}

void TBitmap::LoadFromBytes(std::string_view Data) {
  CheckPlausibleSize(Data);
  QImage Image;
  if (!Image.loadFromData(reinterpret_cast<const uchar*>(Data.data()), int(Data.size())))
    throw EInvalidGraphic(u"Bitmap image is not valid");
  SetBitmapImage(*this, Image);
  Changed();
}

std::string TBitmap::SaveToBytes() const {
  if (Empty()) return {};
  QByteArray Bytes;
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::WriteOnly);
  FImpl->Image.save(&Buffer, "BMP");
  return std::string(Bytes.constData(), std::size_t(Bytes.size()));
}

TColorRef TBitmap::PixelRGB(int X, int Y) const {
  if (!FImpl->Image.rect().contains(X, Y)) return CLR_INVALID;
  const QRgb P = FImpl->Image.pixel(X, Y);
  return RGB(qRed(P), qGreen(P), qBlue(P));
}

void TBitmap::SetPixelRGB(int X, int Y, TColorRef Color) {
  if (!FImpl->Image.rect().contains(X, Y)) return;
  FImpl->Image.setPixel(X, Y, qRgb(GetRValue(Color), GetGValue(Color), GetBValue(Color)));
}
