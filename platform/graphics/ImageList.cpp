// ImageList.cpp - image storage with alpha masks, and the drawing styles.
#include "platform/graphics/ImageList.h"

#include <QPainter>

#include "platform/classes/TypeRegistry.h"
#include "platform/graphics/Bitmap_p.h"
#include "platform/graphics/Canvas.h"

namespace {

QRgb Opaque(TColorRef C) { return qRgb(GetRValue(C), GetGValue(C), GetBValue(C)); }

// Every visible pixel of Image in one colour (the shapes of the disabled look and the mask).
QImage Silhouette(const QImage& Image, QRgb Color) {
  QImage Out(Image.size(), QImage::Format_ARGB32);
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X)
      Out.setPixel(X, Y, qAlpha(Image.pixel(X, Y)) ? Color : 0);
  return Out;
}

QImage Blend(const QImage& Image, QRgb Color, int Percent) {
  QImage Out = Image.convertToFormat(QImage::Format_ARGB32);
  for (int Y = 0; Y < Out.height(); ++Y)
    for (int X = 0; X < Out.width(); ++X) {
      const QRgb P = Out.pixel(X, Y);
      if (!qAlpha(P)) continue;
      auto Mix = [&](int A, int B) { return A + (B - A) * Percent / 100; };
      Out.setPixel(X, Y, qRgba(Mix(qRed(P), qRed(Color)), Mix(qGreen(P), qGreen(Color)),
                               Mix(qBlue(P), qBlue(Color)), qAlpha(P)));
    }
  return Out;
}

void Put(TCanvas* Canvas, int X, int Y, const TBitmap& Bitmap) {
  Canvas->DrawBitmap(Bounds(X, Y, Bitmap.Width(), Bitmap.Height()), Bitmap,
                     Rect(0, 0, Bitmap.Width(), Bitmap.Height()), SRCCOPY, 255);
}

void Put(TCanvas* Canvas, int X, int Y, const QImage& Image) {
  TBitmap Piece;
  SetBitmapImage(Piece, Image);
  Put(Canvas, X, Y, Piece);
}

}  // namespace

REGISTER_CLASS(TCustomImageList) {
  Class.Property("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor, clNone)
      .Property("BlendColor", &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor, clNone)
      .Property("DrawingStyle", &TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle, dsNormal)
      .Property("ImageType", &TCustomImageList::ImageType, &TCustomImageList::SetImageType, itImage);
}
REGISTER_CLASS(TImageList) {}

TCustomImageList::TCustomImageList(int Width, int Height)
    : FWidth(std::max(1, Width)), FHeight(std::max(1, Height)) {
  std::fill(std::begin(FOverlays), std::end(FOverlays), -1);
}

TCustomImageList::~TCustomImageList() {
  // Each user hears of the end once; a handler may unregister other links meanwhile.
  while (!FLinks.empty()) {
    TChangeLink* Link = FLinks.back();
    FLinks.pop_back();
    Link->FSender = nullptr;
    if (Link->OnFree) Link->OnFree(this);
  }
}

void TCustomImageList::Changed() {
  if (FOnChange) FOnChange(this);
  const std::vector<TChangeLink*> Links = FLinks;
  for (TChangeLink* Link : Links)
    if (Link->FSender == this && Link->OnChange) Link->OnChange(this);
}

void TCustomImageList::RegisterChanges(TChangeLink* Link) {
  if (!Link || Link->FSender == this) return;
  if (Link->FSender) Link->FSender->UnRegisterChanges(Link);
  Link->FSender = this;
  FLinks.push_back(Link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Link) {
  const auto It = std::find(FLinks.begin(), FLinks.end(), Link);
  if (It == FLinks.end()) return;
  FLinks.erase(It);
  Link->FSender = nullptr;
}

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TCustomImageList*>(Source);
  if (!Other) return inherited::Assign(Source);
  FWidth = Other->FWidth;
  FHeight = Other->FHeight;
  FImages.clear();
  for (const auto& Image : Other->FImages) {
    auto Copy = std::make_unique<TBitmap>();
    Copy->Assign(Image.get());
    FImages.push_back(std::move(Copy));
  }
  std::copy(std::begin(Other->FOverlays), std::end(Other->FOverlays), FOverlays);
  FBkColor = Other->FBkColor;
  FBlendColor = Other->FBlendColor;
  FDrawingStyle = Other->FDrawingStyle;
  FImageType = Other->FImageType;
  Changed();
}

void TCustomImageList::SetSize(int Width, int Height) {
  if (Width == FWidth && Height == FHeight) return;
  FWidth = std::max(1, Width);
  FHeight = std::max(1, Height);
  Clear();
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  const QImage& Src = BitmapImage(*Image);
  const int First = Count();
  for (int Left = 0; Left + FWidth <= std::max(Src.width(), FWidth); Left += FWidth) {
    QImage Piece(FWidth, FHeight, QImage::Format_ARGB32);
    Piece.fill(Qt::transparent);
    for (int Y = 0; Y < std::min(FHeight, Src.height()); ++Y)
      for (int X = 0; X < FWidth && Left + X < Src.width(); ++X) {
        const bool Keep = !Mask || Mask->PixelRGB(Left + X, Y) == 0;
        if (Keep) Piece.setPixel(X, Y, Src.pixel(Left + X, Y) | 0xFF000000);
      }
    auto Stored = std::make_unique<TBitmap>();
    SetBitmapImage(*Stored, Piece);
    FImages.push_back(std::move(Stored));
    if (Src.width() <= FWidth) break;
  }
  Changed();
  return First;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  const TColorRef Key = MaskColor == clDefault ? Image->PixelRGB(0, Image->Height() - 1) : ColorToRGB(MaskColor);
  TBitmap Mask(Image->Width(), Image->Height());
  for (int Y = 0; Y < Image->Height(); ++Y)
    for (int X = 0; X < Image->Width(); ++X)
      Mask.SetPixelRGB(X, Y, Image->PixelRGB(X, Y) == Key ? 0xFFFFFF : 0);
  return Add(Image, &Mask);
}

void TCustomImageList::Delete(int Index) {
  if (!Valid(Index)) return;
  FImages.erase(FImages.begin() + Index);
  for (int& O : FOverlays) {
    if (O == Index) O = -1;
    else if (O > Index) --O;
  }
  Changed();
}

void TCustomImageList::Clear() {
  FImages.clear();
  std::fill(std::begin(FOverlays), std::end(FOverlays), -1);
  Changed();
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) const {
  if (!Image || !Valid(Index)) return;
  QImage Out(FWidth, FHeight, QImage::Format_RGB32);
  Out.fill(Opaque(FBkColor == clNone ? 0xFFFFFF : ColorToRGB(FBkColor)));
  QPainter P(&Out);
  P.drawImage(0, 0, BitmapImage(*FImages[Index]));
  P.end();
  SetBitmapImage(*Image, Out);
}

bool TCustomImageList::Overlay(int ImageIndex, int Overlay) {
  if (Overlay < 0 || Overlay >= 15 || !Valid(ImageIndex)) return false;
  FOverlays[Overlay] = ImageIndex;
  return true;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const {
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle Style,
                            TImageType Type, bool Enabled) const {
  if (!Canvas || !Valid(Index)) return;
  const QImage& Image = BitmapImage(*FImages[Index]);
  if (Type == itMask) {
    QImage Mask(Image.size(), QImage::Format_RGB32);
    for (int J = 0; J < Image.height(); ++J)
      for (int I = 0; I < Image.width(); ++I) Mask.setPixel(I, J, qAlpha(Image.pixel(I, J)) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return Put(Canvas, X, Y, Mask);
  }
  if (!Enabled) {
    // The classic disabled look: a highlight silhouette one pixel down and right, the shadow
    // silhouette over it.
    Put(Canvas, X + 1, Y + 1, Silhouette(Image, Opaque(ColorToRGB(clBtnHighlight))));
    return Put(Canvas, X, Y, Silhouette(Image, Opaque(ColorToRGB(clBtnShadow))));
  }
  if (Style == dsNormal && FBkColor != clNone) {
    Canvas->Brush()->SetColor(FBkColor);
    Canvas->FillRect(Bounds(X, Y, FWidth, FHeight));
  }
  if (Style == dsFocus || Style == dsSelected) {
    const TColor Blend = (FBlendColor == clNone || FBlendColor == clDefault) ? clHighlight : FBlendColor;
    return Put(Canvas, X, Y, ::Blend(Image, Opaque(ColorToRGB(Blend)), Style == dsSelected ? 50 : 25));
  }
  // The stored image is already a bitmap in the storage format: drawn as it is.
  Put(Canvas, X, Y, *FImages[Index]);
}

void TCustomImageList::DrawOverlay(TCanvas* Canvas, int X, int Y, int ImageIndex, int Overlay,
                                   bool Enabled) const {
  Draw(Canvas, X, Y, ImageIndex, Enabled);
  if (Overlay >= 0 && Overlay < 15 && Valid(FOverlays[Overlay]))
    Draw(Canvas, X, Y, FOverlays[Overlay], dsTransparent, itImage, Enabled);
}
