// vqrResImages.cpp - the string table's image lists: packed strips cut into 16 x 16 (wizard:
// 32 x 32) cells, each masked with the colour of its bottom-left pixel.
#include "report/core/vqrRes.h"

#include <string>

#include "platform/classes/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Resources.h"

namespace {

TvqrResourceUnpacker& Unpacker() {
  static TvqrResourceUnpacker Instance;
  return Instance;
}

void AddMaskedCell(TBitmap* Strip, int X, int Y, int W, int H, TImageList* List) {
  TBitmap Cell;
  Cell.SetSize(W, H);
  Cell.Canvas()->CopyRect(Rect(0, 0, W, H), Strip->Canvas(), Rect(X, Y, X + W, Y + H));
  List->AddMasked(&Cell, Cell.Canvas()->Pixels(0, H - 1));
}

// Walks the strip row by row. Only whole cells inside the strip are taken: a walk that went
// on while a row's top was still on the strip's bottom edge would add a row of blank cells.
// With Second, the cells come in pairs: the one to the right of each goes to Second.
void AddImageStrip(TBitmap* Strip, int W, int H, TImageList* Second, TImageList* List) {
  for (int Y = 0; Y + H <= Strip->Height(); Y += H) {
    for (int X = 0; X + W <= Strip->Width(); X += W) {
      AddMaskedCell(Strip, X, Y, W, H, List);
      if (!Second) continue;
      X += W;
      if (X + W <= Strip->Width()) AddMaskedCell(Strip, X, Y, W, H, Second);
    }
  }
}

}  // namespace

void SetResourceUnpacker(const TvqrResourceUnpacker& Value) { Unpacker() = Value; }

void TvqrResources::LoadImages(const char* Resource,
                               void (TvqrResources::*Setter)(TBitmap*, bool)) {
  const std::string Name = std::string("report/") + Resource + ".gz";
  const std::string_view Packed = LoadResource(Name);
  if (!Unpacker())
    throw EResNotFound(u"Resource " + Utf8ToString(Name) + u" cannot be unpacked");
  TMemoryStream Source, Unpacked;
  Source.WriteBuffer(Packed.data(), Int64(Packed.size()));
  Source.SetPosition(0);
  Unpacker()(&Source, &Unpacked);
  TBitmap Strip;
  Strip.LoadFromBytes(std::string_view(static_cast<const char*>(Unpacked.Memory()),
                                       std::size_t(Unpacked.Size())));
  (this->*Setter)(&Strip, false);
}

TImageList* TvqrResources::MainButtonImages() {
  if (FMainButtonImages->Count() == 0) LoadImages("DesgnButtons", &TvqrResources::SetButtonImages);
  return FMainButtonImages.get();
}

TImageList* TvqrResources::ObjectImages() {
  if (FObjectImages->Count() == 0) LoadImages("ObjectButtons", &TvqrResources::SetObjectImages);
  return FObjectImages.get();
}

TImageList* TvqrResources::PreviewButtonImages() {
  if (FPreviewButtonImages->Count() == 0)
    LoadImages("PreviewButtons", &TvqrResources::SetPreviewButtonImages);
  return FPreviewButtonImages.get();
}

TImageList* TvqrResources::WizardImages() {
  if (FWizardImages->Count() == 0) LoadImages("WizardButtons", &TvqrResources::SetWizardImages);
  return FWizardImages.get();
}

void TvqrResources::SetButtonImages(TBitmap* Images, bool Clear) {
  if (Clear) {
    FMainButtonImages->Clear();
    FDisabledButtonImages->Clear();
  }
  AddImageStrip(Images, 16, 16, FDisabledButtonImages.get(), FMainButtonImages.get());
}

void TvqrResources::SetObjectImages(TBitmap* Images, bool Clear) {
  if (Clear) FObjectImages->Clear();
  AddImageStrip(Images, 16, 16, nullptr, FObjectImages.get());
}

void TvqrResources::SetPreviewButtonImages(TBitmap* Images, bool Clear) {
  if (Clear) FPreviewButtonImages->Clear();
  AddImageStrip(Images, 16, 16, nullptr, FPreviewButtonImages.get());
}

void TvqrResources::SetWizardImages(TBitmap* Images, bool Clear) {
  if (Clear) FWizardImages->Clear();
  AddImageStrip(Images, 32, 32, nullptr, FWizardImages.get());
}
