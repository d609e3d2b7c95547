// Picture.cpp - encoded images (PNG through Qt) and TPicture.
#include "platform/graphics/Picture.h"

#include <QBuffer>
#include <QImage>

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Bitmap_p.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/Metafile.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

enum class TFormat { Unknown, Bmp, Png, Jpeg, Ico };

TFormat Sniff(std::string_view D) {
  if (D.size() >= 2 && D[0] == 'B' && D[1] == 'M') return TFormat::Bmp;
  if (D.size() >= 8 && D.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) return TFormat::Png;
  if (D.size() >= 3 && std::uint8_t(D[0]) == 0xFF && std::uint8_t(D[1]) == 0xD8 && std::uint8_t(D[2]) == 0xFF)
    return TFormat::Jpeg;
  if (D.size() >= 6 && D.substr(0, 4) == std::string_view("\0\0\1\0", 4)) return TFormat::Ico;
  return TFormat::Unknown;
}

TFormat ByExtension(const String& FileName, String& Ext) {
  Ext = ExtractFileExt(FileName);
  const String Lower = LowerCase(Ext);
  if (Lower == u".bmp") return TFormat::Bmp;
  if (Lower == u".png") return TFormat::Png;
  if (Lower == u".jpg" || Lower == u".jpeg" || Lower == u".jpe") return TFormat::Jpeg;
  if (Lower == u".ico") return TFormat::Ico;
  return TFormat::Unknown;
}

std::unique_ptr<TGraphic> NewGraphic(TFormat Format) {
  switch (Format) {
    case TFormat::Bmp: return std::make_unique<TBitmap>();
    case TFormat::Png: return std::make_unique<TPngImage>();
    case TFormat::Jpeg: return std::make_unique<TJPEGImage>();
    case TFormat::Ico: return std::make_unique<TIcon>();
    default: return nullptr;
  }
}

// The graphic kinds a component stream may name in a picture's "Data".
std::unique_ptr<TGraphic> NewGraphicOfClass(const std::string& Name) {
  std::string Lower = Name;
  for (auto& C : Lower)
    if (C >= 'A' && C <= 'Z') C = char(C + 32);
  if (Lower == "tbitmap") return std::make_unique<TBitmap>();
  if (Lower == "tpngimage") return std::make_unique<TPngImage>();
  if (Lower == "tjpegimage") return std::make_unique<TJPEGImage>();
  if (Lower == "ticon") return std::make_unique<TIcon>();
  if (Lower == "tmetafile") return std::make_unique<TMetafile>();
  return nullptr;
}

// These kinds put their byte count before their bytes in a picture's "Data"; the others
// run to the end of the data.
bool HasCountedData(const TGraphic* Graphic) {
  return dynamic_cast<const TBitmap*>(Graphic) || dynamic_cast<const TJPEGImage*>(Graphic) ||
         dynamic_cast<const TMetafile*>(Graphic);
}

}  // namespace

REGISTER_CLASS(TEncodedImage) {}

void TEncodedImage::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TEncodedImage*>(Source); Other && Other->ClassType() == ClassType()) {
    FBitmap.Assign(&Other->FBitmap);
    FOriginal = Other->FOriginal;
    return Changed();
  }
  if (auto* Bmp = dynamic_cast<TBitmap*>(Source)) {
    FBitmap.Assign(Bmp);
    FOriginal.clear();
    return Changed();
  }
  inherited::Assign(Source);
}

void TEncodedImage::SetWidth(int Value) { Bitmap()->SetWidth(Value); }
void TEncodedImage::SetHeight(int Value) { Bitmap()->SetHeight(Value); }

TBitmap* TEncodedImage::Bitmap() {
  FOriginal.clear();
  return &FBitmap;
}

void TEncodedImage::Draw(TCanvas* Canvas, const TRect& Rect) { FBitmap.Draw(Canvas, Rect); }

void TEncodedImage::LoadFromBytes(std::string_view Data) {
  Decode(Data, FBitmap);
  FOriginal.assign(Data);
  Changed();
}

std::string TEncodedImage::SaveToBytes() const {
  if (!FOriginal.empty()) return FOriginal;
  return FBitmap.Empty() ? std::string() : Encode(FBitmap);
}

REGISTER_CLASS(TPngImage) {}

void TPngImage::Decode(std::string_view Data, TBitmap& Into) const {
  QImage Image;
  if (Sniff(Data) != TFormat::Png ||
      !Image.loadFromData(reinterpret_cast<const uchar*>(Data.data()), int(Data.size()), "PNG"))
    throw EInvalidGraphic(u"PNG image is not valid");
  SetBitmapImage(Into, Image);
}

std::string TPngImage::Encode(const TBitmap& From) const {
  QByteArray Bytes;
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::WriteOnly);
  BitmapImage(From).save(&Buffer, "PNG");
  return std::string(Bytes.constData(), std::size_t(Bytes.size()));
}

REGISTER_CLASS(TJPEGImage) {}

REGISTER_CLASS(TPicture) {}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (FOnChange) FOnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> Graphic) {
  FGraphic = std::move(Graphic);
  if (FGraphic) FGraphic->SetOnChange([this](TObject*) { Changed(); });
  Changed();
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) return SetGraphic(nullptr);
  if (auto* Other = dynamic_cast<TPicture*>(Source)) return SetGraphic(Other->Graphic());
  if (auto* G = dynamic_cast<TGraphic*>(Source)) return SetGraphic(G);
  inherited::Assign(Source);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (!Value) return Take(nullptr);
  auto Copy = std::unique_ptr<TGraphic>(dynamic_cast<TGraphic*>(Value->ClassType()->Create()));
  Copy->Assign(Value);
  Take(std::move(Copy));
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) Take(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::LoadFromFile(const String& FileName) {
  String Ext;
  auto Graphic = NewGraphic(ByExtension(FileName, Ext));
  if (!Graphic) throw EInvalidGraphic(u"Unknown picture file extension (" + Ext + u")");
  Graphic->LoadFromFile(FileName);
  Take(std::move(Graphic));
}

void TPicture::SaveToFile(const String& FileName) const {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::LoadFromBytes(std::string_view Data) {
  auto Graphic = NewGraphic(Sniff(Data));
  if (!Graphic) throw EInvalidGraphic(u"Unknown picture format");
  Graphic->LoadFromBytes(Data);
  Take(std::move(Graphic));
}

// --- Component streams -----------------------------------------------------------------------

void TPicture::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      u"Data", [this](TStream* Stream) { ReadData(Stream); },
      [this](TStream* Stream) { WriteData(Stream); }, FGraphic != nullptr);
}

void TPicture::WriteData(TStream* Stream) const {
  const std::string Name = FGraphic ? StringToUtf8(FGraphic->ClassName()) : std::string();
  const std::uint8_t Length = std::uint8_t(Name.size());
  Stream->WriteBuffer(&Length, 1);
  Stream->WriteBuffer(Name.data(), Length);
  if (!FGraphic) return;
  const std::string Bytes = FGraphic->Empty() ? std::string() : FGraphic->SaveToBytes();
  if (HasCountedData(FGraphic.get())) {
    const std::uint32_t Count = std::uint32_t(Bytes.size());
    const std::uint8_t Le[4] = {std::uint8_t(Count), std::uint8_t(Count >> 8),
                                std::uint8_t(Count >> 16), std::uint8_t(Count >> 24)};
    Stream->WriteBuffer(Le, 4);
  }
  Stream->WriteBuffer(Bytes.data(), Int64(Bytes.size()));
}

void TPicture::ReadData(TStream* Stream) {
  std::uint8_t Length = 0;
  Stream->ReadBuffer(&Length, 1);
  std::string Name(Length, '\0');
  Stream->ReadBuffer(Name.data(), Length);
  if (Name.empty()) return Take(nullptr);
  auto Graphic = NewGraphicOfClass(Name);
  if (!Graphic) throw EInvalidGraphic(u"Unknown picture format");
  std::string Bytes;
  if (HasCountedData(Graphic.get())) {
    std::uint8_t Le[4];
    Stream->ReadBuffer(Le, 4);
    const std::uint32_t Count = Le[0] | Le[1] << 8 | Le[2] << 16 | std::uint32_t(Le[3]) << 24;
    if (Count > Stream->Size() - Stream->Position())
      throw EInvalidGraphic(u"Picture data is truncated");
    Bytes.resize(Count);
    Stream->ReadBuffer(Bytes.data(), Count);
  } else {
    Bytes = ReadRestOfStream(Stream);
  }
  if (!Bytes.empty()) Graphic->LoadFromBytes(Bytes);
  Take(std::move(Graphic));
}
