// vqrPictureCache.cpp - pictures of a prepared report in memory or temporary-file segments.
#include "report/core/vqrPictureCache.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/classes/Streams.h"
#include "platform/graphics/Graphic.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrXML.h"

namespace {

String NewPictureFile(const String& Dir) {
  String Folder = Dir.empty() ? SystemTempPath() : IncludeTrailingPathDelimiter(Dir);
  std::string Template = StringToUtf8(Folder) + "vqPicXXXXXX";
  int Handle = mkstemp(Template.data());
  if (Handle < 0) throw EFCreateError(u"Cannot create file \"" + Utf8ToString(Template) + u"\"");
  close(Handle);
  return Utf8ToString(Template);
}

}  // namespace

TvqrPictureCache::TvqrPictureCache() = default;
TvqrPictureCache::~TvqrPictureCache() { Clear(); }

void TvqrPictureCache::Clear() {
  FSegments.clear();
  for (const String& Name : FFileNames) DeleteFile(Name);
  FFileNames.clear();
  FItems.clear();
}

void TvqrPictureCache::SetUseFileCache(bool Value) {
  if (FSegments.empty()) FUseFileCache = Value;
}

void TvqrPictureCache::SetTempDir(const String& Value) {
  if (FSegments.empty()) FTempDir = Value;
}

void TvqrPictureCache::AddSegment() {
  if (!FUseFileCache) {
    FSegments.push_back(std::make_unique<TMemoryStream>());
    return;
  }
  String Name = NewPictureFile(FTempDir);
  FFileNames.push_back(Name);
  FSegments.push_back(std::make_unique<TFileStream>(Name, fmOpenReadWrite));
}

TvqrCacheItem& TvqrPictureCache::NewItem() {
  if (FSegments.empty() || FSegments.back()->Size() > SegmentLimit) AddSegment();
  TStream* S = FSegments.back().get();
  TvqrCacheItem Item;
  Item.Segment = static_cast<int>(FSegments.size()) - 1;
  Item.Offset = S->Size();
  S->SetPosition(Item.Offset);
  FItems.push_back(Item);
  return FItems.back();
}

int TvqrPictureCache::AddBytes(std::string_view Data) {
  NewItem();
  TStream* S = FSegments.back().get();
  if (!Data.empty()) S->WriteBuffer(Data.data(), static_cast<Int64>(Data.size()));
  return Count();
}

int TvqrPictureCache::AddPicture(TGraphic* Graphic) {
  if (!Graphic) return 0;
  return AddBytes(Graphic->SaveToBytes());
}

Int64 TvqrPictureCache::ItemLength(int Index) const {
  const TvqrCacheItem& Item = FItems[static_cast<size_t>(Index)];
  if (Index + 1 < Count() && FItems[static_cast<size_t>(Index + 1)].Segment == Item.Segment)
    return FItems[static_cast<size_t>(Index + 1)].Offset - Item.Offset;
  return FSegments[static_cast<size_t>(Item.Segment)]->Size() - Item.Offset;
}

std::string TvqrPictureCache::PictureBytes(int ImageIndex) const {
  if (ImageIndex < 1 || ImageIndex > Count() || FSegments.empty()) return {};
  const TvqrCacheItem& Item = FItems[static_cast<size_t>(ImageIndex - 1)];
  TStream* S = FSegments[static_cast<size_t>(Item.Segment)].get();
  std::string Data(static_cast<size_t>(ItemLength(ImageIndex - 1)), '\0');
  S->SetPosition(Item.Offset);
  if (!Data.empty()) S->ReadBuffer(Data.data(), static_cast<Int64>(Data.size()));
  return Data;
}

void TvqrPictureCache::SaveToXML(TvqrXMLItem* Item) const {
  Item->Clear();
  for (int I = 1; I <= Count(); ++I) {
    std::string Data = PictureBytes(I);
    Item->Add()->SetText(u"stream=\"" + Utf8ToString(BytesToHex(Data.data(), Data.size())) + u"\"");
    Item->Items(Item->Count() - 1)->SetName(u"item");
  }
}

void TvqrPictureCache::LoadFromXML(TvqrXMLItem* Item) {
  Clear();
  for (int I = 0; I < Item->Count(); ++I) {
    std::vector<Byte> Bytes = HexToBytes(Item->Items(I)->Prop(u"stream"));
    AddBytes(std::string_view(reinterpret_cast<const char*>(Bytes.data()), Bytes.size()));
  }
}
