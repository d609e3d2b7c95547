// Picture.h - PNG and JPEG images and TPicture, the container of one graphic of any kind.
//
// An encoded image keeps the bytes it was loaded from and writes them back unchanged until it is
// modified (the report's picture cache relies on a graphic saving its own file format). TPicture
// picks the graphic class from a file's extension or a stream's first bytes.
#pragma once

#include <memory>

#include "platform/graphics/Bitmap.h"

// A raster image stored in a compressed format; drawing goes through its decoded bitmap.
class TEncodedImage : public TGraphic {
  VORENTA_CLASS(TEncodedImage, TGraphic)
public:
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FBitmap.Empty(); }
  int Width() const override { return FBitmap.Width(); }
  void SetWidth(int Value) override;
  int Height() const override { return FBitmap.Height(); }
  void SetHeight(int Value) override;
  void Draw(TCanvas* Canvas, const TRect& Rect) override;
  void LoadFromBytes(std::string_view Data) override;
  std::string SaveToBytes() const override;
  // The decoded pixels; changing them makes the image encode itself afresh when saved.
  TBitmap* Bitmap();
  const TBitmap& Pixels() const { return FBitmap; }

protected:
  virtual void Decode(std::string_view Data, TBitmap& Into) const = 0;
  virtual std::string Encode(const TBitmap& From) const = 0;

private:
  TBitmap FBitmap;
  std::string FOriginal;   // empty once the pixels were changed
};

class TPngImage : public TEncodedImage {
  VORENTA_CLASS(TPngImage, TEncodedImage)
protected:
  void Decode(std::string_view Data, TBitmap& Into) const override;
  std::string Encode(const TBitmap& From) const override;
};

class TJPEGImage : public TEncodedImage {
  VORENTA_CLASS(TJPEGImage, TEncodedImage)
public:
  int CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(int Value) { FQuality = std::clamp(Value, 1, 100); }

protected:
  void Decode(std::string_view Data, TBitmap& Into) const override;   // libjpeg
  std::string Encode(const TBitmap& From) const override;             // libjpeg

private:
  int FQuality = 90;
};

class TPicture : public TPersistent {
  VORENTA_CLASS(TPicture, TPersistent)
public:
  TPicture();
  ~TPicture() override;
  void Assign(TPersistent* Source) override;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Takes a copy of Value (nullptr empties the picture).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap, replacing any other kind with an empty bitmap.
  TBitmap* Bitmap();
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // By extension: .bmp, .png, .jpg/.jpeg, .ico; EInvalidGraphic "Unknown picture file extension (.x)".
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName) const;
  // By the first bytes (BM, PNG signature, JPEG SOI, icon header); EInvalidGraphic "Unknown picture format".
  void LoadFromBytes(std::string_view Data);

  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }

  // Component streams: the defined property "Data" (written when there is a graphic) holds
  // the graphic's class name (one length byte, then its characters) and the graphic's own
  // file bytes; a bitmap, JPEG image or metafile puts their 32-bit count before them. An
  // empty class name reads as no graphic; an unknown one raises EInvalidGraphic.
  void DefineProperties(TFiler* Filer) override;

private:
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream) const;
  void Take(std::unique_ptr<TGraphic> Graphic);
  void Changed();
  std::unique_ptr<TGraphic> FGraphic;
  TNotifyEvent FOnChange;
};
