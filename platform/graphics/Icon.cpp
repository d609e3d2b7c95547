// Icon.cpp - TIcon: reading and writing the .ico format, choosing and drawing an image.
//
// The file: a 6-byte header (0, type 1, count), one 16-byte entry per image (width, height,
// colours, planes, bit count, byte size, offset), then each image as a PNG file or as a DIB
// without its file header whose height counts twice: the colour rows, then a 1-bit AND mask
// (1 = transparent), both bottom-up with rows padded to 4 bytes.
#include "platform/graphics/Icon.h"

#include <QImage>

#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Bitmap_p.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr int SystemIconSize = 32;
constexpr std::size_t DirSize = 6, EntrySize = 16, InfoSize = 40;

[[noreturn]] void Invalid() { throw EInvalidGraphic(u"Icon image is not valid"); }

unsigned Get16(std::string_view D, std::size_t At) {
  return unsigned(std::uint8_t(D[At])) | unsigned(std::uint8_t(D[At + 1])) << 8;
}

std::uint32_t Get32(std::string_view D, std::size_t At) { return Get16(D, At) | Get16(D, At + 2) << 16; }

void PutWord(std::string& Out, unsigned V) {
  Out += char(V & 0xFF);
  Out += char(V >> 8 & 0xFF);
}

void PutDWord(std::string& Out, std::uint32_t V) {
  PutWord(Out, V & 0xFFFF);
  PutWord(Out, V >> 16);
}

std::size_t Stride(int Width, int Bits) { return (std::size_t(Width) * Bits + 31) / 32 * 4; }

bool IsPng(std::string_view D) {
  return D.size() >= 8 && D.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8);
}

// One colour pixel of row Row (bottom-up data) of a DIB, as BGRA with alpha 255 below 32 bits.
QRgb DibPixel(std::string_view Rows, std::size_t RowStart, int X, int Bits,
              const std::vector<QRgb>& Palette) {
  const char* Row = Rows.data() + RowStart;
  auto Byte = [&](std::size_t I) { return std::uint8_t(Row[I]); };
  switch (Bits) {
    case 32: return qRgba(Byte(X * 4 + 2), Byte(X * 4 + 1), Byte(X * 4), Byte(X * 4 + 3));
    case 24: return qRgb(Byte(X * 3 + 2), Byte(X * 3 + 1), Byte(X * 3));
    default: {
      const int PerByte = 8 / Bits;
      const unsigned Shift = unsigned(8 - Bits * (X % PerByte + 1));
      const unsigned Index = Byte(std::size_t(X / PerByte)) >> Shift & ((1u << Bits) - 1);
      if (Index >= Palette.size()) Invalid();
      return Palette[Index];
    }
  }
}

QImage DecodeDib(std::string_view D) {
  if (D.size() < InfoSize) Invalid();
  const std::uint32_t HeaderSize = Get32(D, 0);
  const auto Width = std::int32_t(Get32(D, 4)), DoubleHeight = std::int32_t(Get32(D, 8));
  const int Bits = int(Get16(D, 14));
  const std::uint32_t Compression = Get32(D, 16), ColorsUsed = Get32(D, 32);
  if (HeaderSize < InfoSize || HeaderSize > D.size() || Width <= 0 || Width > 256 ||
      DoubleHeight <= 0 || DoubleHeight % 2 != 0 || DoubleHeight > 512 || Compression != 0)
    Invalid();
  if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 24 && Bits != 32) Invalid();
  const int Height = DoubleHeight / 2;
  std::size_t At = HeaderSize;
  std::vector<QRgb> Palette;
  if (Bits <= 8) {
    const std::size_t Count = ColorsUsed ? ColorsUsed : std::size_t(1) << Bits;
    if (Count > 256 || D.size() - At < Count * 4) Invalid();
    for (std::size_t I = 0; I < Count; ++I, At += 4)
      Palette.push_back(qRgb(std::uint8_t(D[At + 2]), std::uint8_t(D[At + 1]), std::uint8_t(D[At])));
  }
  const std::size_t ColorStride = Stride(Width, Bits), MaskStride = Stride(Width, 1);
  const std::size_t ColorBytes = ColorStride * std::size_t(Height);
  if (D.size() - At < ColorBytes) Invalid();
  const std::string_view Colors = D.substr(At, ColorBytes), Mask = D.substr(At + ColorBytes);
  // A 32-bit image may leave the mask out; the older kinds need it.
  const bool HasMask = Mask.size() >= MaskStride * std::size_t(Height);
  if (!HasMask && Bits != 32) Invalid();

  QImage Image(Width, Height, QImage::Format_ARGB32);
  bool AnyAlpha = false;
  for (int Y = 0; Y < Height; ++Y) {
    const std::size_t Row = std::size_t(Height - 1 - Y);
    for (int X = 0; X < Width; ++X) {
      const QRgb P = DibPixel(Colors, Row * ColorStride, X, Bits, Palette);
      AnyAlpha = AnyAlpha || (Bits == 32 && qAlpha(P) != 0);
      Image.setPixel(X, Y, P);
    }
  }
  // Alpha, where a 32-bit image has any, wins over the mask; else the mask decides.
  if (Bits == 32 && AnyAlpha) return Image;
  for (int Y = 0; Y < Height; ++Y) {
    const std::size_t Row = std::size_t(Height - 1 - Y) * MaskStride;
    for (int X = 0; X < Width; ++X) {
      const bool Clear = HasMask && (std::uint8_t(Mask[Row + std::size_t(X / 8)]) >> (7 - X % 8) & 1);
      const QRgb P = Image.pixel(X, Y);
      Image.setPixel(X, Y, Clear ? 0 : (P | 0xFF000000));
    }
  }
  return Image;
}

QImage DecodeImage(std::string_view D) {
  if (!IsPng(D)) return DecodeDib(D);
  QImage Image;
  if (!Image.loadFromData(reinterpret_cast<const uchar*>(D.data()), int(D.size()), "PNG")) Invalid();
  return Image.convertToFormat(QImage::Format_ARGB32);
}

// The image as a 32-bit DIB with its AND mask.
std::string EncodeDib(const QImage& Source) {
  const QImage Image = Source.convertToFormat(QImage::Format_ARGB32);
  const int W = Image.width(), H = Image.height();
  const std::size_t MaskStride = Stride(W, 1);
  std::string Out;
  for (std::uint32_t V : {std::uint32_t(InfoSize), std::uint32_t(W), std::uint32_t(2 * H)}) PutDWord(Out, V);
  PutWord(Out, 1);
  PutWord(Out, 32);
  PutDWord(Out, 0);   // uncompressed
  PutDWord(Out, std::uint32_t(Stride(W, 32) + MaskStride) * std::uint32_t(H));
  for (int I = 0; I < 4; ++I) PutDWord(Out, 0);   // resolution and colour counts
  for (int Y = H - 1; Y >= 0; --Y)
    for (int X = 0; X < W; ++X) {
      const QRgb P = Image.pixel(X, Y);
      for (int C : {qBlue(P), qGreen(P), qRed(P), qAlpha(P)}) Out += char(C);
    }
  for (int Y = H - 1; Y >= 0; --Y) {
    std::string Row(MaskStride, '\0');
    for (int X = 0; X < W; ++X)
      if (qAlpha(Image.pixel(X, Y)) == 0) Row[std::size_t(X / 8)] = char(Row[std::size_t(X / 8)] | 0x80 >> X % 8);
    Out += Row;
  }
  return Out;
}

}  // namespace

struct TIcon::TImage {
  TBitmap Pixels;
  int BitCount = 32;
};

REGISTER_CLASS(TIcon) {}

TIcon::TIcon() { SetTransparent(true); }
TIcon::~TIcon() = default;

void TIcon::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TIcon*>(Source);
  if (!Other) return inherited::Assign(Source);
  FImages.clear();
  for (const auto& Image : Other->FImages) {
    auto Copy = std::make_unique<TImage>();
    Copy->Pixels.Assign(&Image->Pixels);
    Copy->BitCount = Image->BitCount;
    FImages.push_back(std::move(Copy));
  }
  FOriginal = Other->FOriginal;
  Changed();
}

const TIcon::TImage* TIcon::Current() const {
  const TImage* Best = nullptr;
  auto Distance = [](const TImage& I) {
    return std::abs(I.Pixels.Width() - SystemIconSize) + std::abs(I.Pixels.Height() - SystemIconSize);
  };
  for (const auto& Image : FImages)
    if (!Best || Distance(*Image) < Distance(*Best) ||
        (Distance(*Image) == Distance(*Best) && Image->BitCount > Best->BitCount))
      Best = Image.get();
  return Best;
}

int TIcon::Width() const { return Empty() ? 0 : Current()->Pixels.Width(); }
int TIcon::Height() const { return Empty() ? 0 : Current()->Pixels.Height(); }

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation(u"Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation(u"Cannot change the size of an icon"); }

void TIcon::Draw(TCanvas* Canvas, const TRect& Rect) {
  const TImage* Best = nullptr;
  auto Covers = [&](const TImage& I) {
    return I.Pixels.Width() >= Rect.Width() && I.Pixels.Height() >= Rect.Height();
  };
  auto Area = [](const TImage& I) { return I.Pixels.Width() * I.Pixels.Height(); };
  auto Better = [&](const TImage& A, const TImage& B) {
    if (Covers(A) != Covers(B)) return Covers(A);
    if (Area(A) != Area(B)) return Covers(A) ? Area(A) < Area(B) : Area(A) > Area(B);
    return A.BitCount > B.BitCount;
  };
  for (const auto& Image : FImages)
    if (!Best || Better(*Image, *Best)) Best = Image.get();
  if (!Best) return;
  const TBitmap& Pixels = Best->Pixels;
  Canvas->DrawBitmap(Rect, Pixels, ::Rect(0, 0, Pixels.Width(), Pixels.Height()));
}

void TIcon::LoadFromBytes(std::string_view Data) {
  if (Data.size() < DirSize || Get16(Data, 0) != 0 || Get16(Data, 2) != 1 || Get16(Data, 4) == 0)
    Invalid();
  const std::size_t Count = Get16(Data, 4);
  if (Data.size() < DirSize + Count * EntrySize) Invalid();
  std::vector<std::unique_ptr<TImage>> Images;
  for (std::size_t I = 0; I < Count; ++I) {
    const std::size_t Entry = DirSize + I * EntrySize;
    const std::uint32_t Size = Get32(Data, Entry + 8), Offset = Get32(Data, Entry + 12);
    if (Offset > Data.size() || Size > Data.size() - Offset) Invalid();
    const std::string_view Bytes = Data.substr(Offset, Size);
    auto Image = std::make_unique<TImage>();
    SetBitmapImage(Image->Pixels, DecodeImage(Bytes));
    Image->Pixels.SetPixelFormat(pf32bit);
    Image->BitCount = IsPng(Bytes) ? 32 : int(Get16(Bytes, 14));
    Images.push_back(std::move(Image));
  }
  FImages = std::move(Images);
  FOriginal.assign(Data);
  Changed();
}

std::string TIcon::SaveToBytes() const {
  if (!FOriginal.empty() || Empty()) return FOriginal;
  std::vector<std::string> Dibs;
  for (const auto& Image : FImages) Dibs.push_back(EncodeDib(BitmapImage(Image->Pixels)));
  std::string Out;
  PutWord(Out, 0);
  PutWord(Out, 1);
  PutWord(Out, unsigned(FImages.size()));
  std::size_t Offset = DirSize + EntrySize * FImages.size();
  for (std::size_t I = 0; I < FImages.size(); ++I) {
    const TBitmap& Pixels = FImages[I]->Pixels;
    Out += char(Pixels.Width() & 0xFF);    // 256 is written as 0
    Out += char(Pixels.Height() & 0xFF);
    Out += std::string(2, '\0');           // colour count, reserved
    PutWord(Out, 1);
    PutWord(Out, 32);
    PutDWord(Out, std::uint32_t(Dibs[I].size()));
    PutDWord(Out, std::uint32_t(Offset));
    Offset += Dibs[I].size();
  }
  for (const std::string& Dib : Dibs) Out += Dib;
  return Out;
}

const TBitmap& TIcon::Images(int Index) const {
  if (Index < 0 || Index >= ImageCount())
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return FImages[std::size_t(Index)]->Pixels;
}

int TIcon::ImageBitCount(int Index) const {
  Images(Index);   // checks the index
  return FImages[std::size_t(Index)]->BitCount;
}

void TIcon::AddImage(const TBitmap& Bitmap) {
  if (Bitmap.Empty() || Bitmap.Width() > 256 || Bitmap.Height() > 256)
    throw EInvalidGraphicOperation(u"Icon image size is not valid");
  if (FImages.size() >= 0xFFFF) throw EInvalidGraphicOperation(u"Too many icon images");
  auto Image = std::make_unique<TImage>();
  SetBitmapImage(Image->Pixels, BitmapImage(Bitmap));
  Image->Pixels.SetPixelFormat(pf32bit);
  Image->BitCount = Bitmap.PixelFormat() == pf32bit ? 32 : 24;
  FImages.push_back(std::move(Image));
  FOriginal.clear();
  Changed();
}
