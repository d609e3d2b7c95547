// vqrPictureCache.h - TvqrPictureCache: the pictures of a prepared report.
//
// A prepared page keeps no picture in an object's attribute text: a picture object hands its
// graphic to the cache once and records the number it gets back (its ImageIndex, position
// + 1; 0 means no picture). The cache appends each picture, in the graphic's own file format,
// to one of a few large segments in memory or in temporary files ("vqPic..."), and gives the
// bytes back when a page is rebuilt. A picture's length is not stored: it runs to the next
// item's offset in the same segment, or to the segment's end. In a saved prepared report the
// cache is the "picturecache" element: one child per picture, the bytes as hex text.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Types.h"

class TGraphic;
class TStream;
class TvqrXMLItem;

struct TvqrCacheItem {
  int Segment = 0;
  Int64 Offset = 0;
};

class TvqrPictureCache {
public:
  TvqrPictureCache();
  ~TvqrPictureCache();
  TvqrPictureCache(const TvqrPictureCache&) = delete;
  TvqrPictureCache& operator=(const TvqrPictureCache&) = delete;

  // Frees the segments and deletes their temporary files.
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  // Stores the graphic's bytes; its ImageIndex, or 0 (nothing stored) without a graphic.
  int AddPicture(TGraphic* Graphic);
  int AddBytes(std::string_view Data);
  // The bytes of picture ImageIndex; empty outside 1..Count.
  std::string PictureBytes(int ImageIndex) const;
  void SaveToXML(TvqrXMLItem* Item) const;
  // Clear, then one picture per child; hex stops at the first pair that is not hexadecimal.
  void LoadFromXML(TvqrXMLItem* Item);
  void AddSegment();

  // Both take effect only while the cache has no segment.
  bool UseFileCache() const { return FUseFileCache; }
  void SetUseFileCache(bool Value);
  const String& TempDir() const { return FTempDir; }
  void SetTempDir(const String& Value);
  // The temporary files, in segment order (empty without UseFileCache).
  const std::vector<String>& FileNames() const { return FFileNames; }

  // A new segment is opened past this size.
  static constexpr Int64 SegmentLimit = 1789569705;

private:
  TvqrCacheItem& NewItem();
  Int64 ItemLength(int Index) const;

  std::vector<TvqrCacheItem> FItems;
  std::vector<std::unique_ptr<TStream>> FSegments;
  std::vector<String> FFileNames;
  bool FUseFileCache = false;
  String FTempDir;
};
