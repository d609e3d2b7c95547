// GlyphCache.h - rendered glyphs (coverage masks) for drawing unrotated text on raster surfaces.
//
// Filling a glyph's outline costs far more than copying its pixels, and screens draw the same
// few glyphs of the same few fonts over and over. The painter backend renders each glyph once
// per face, size and glyph id into a mask of antialiasing coverage at a whole-pixel position,
// keeps it here, and blends the masks of a run with the text colour. The cache holds at most a
// byte limit of masks and forgets the least recently used ones first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

// A face (an id the backend gives each font file and synthetic style), an em size in 1/64
// pixel, and a glyph id.
struct TGlyphKey {
  std::uint32_t Face = 0;
  std::int32_t Em64 = 0;
  std::uint32_t Glyph = 0;
  friend bool operator==(const TGlyphKey&, const TGlyphKey&) = default;
};

// Coverage (0 none, 255 full) of Width x Height pixels, row by row; Left and Top place its
// first pixel relative to the glyph's origin on the baseline (y down).
struct TGlyphMask {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Coverage;
};

class TGlyphCache {
public:
  static constexpr std::size_t DefaultByteLimit = 4u << 20;

  explicit TGlyphCache(std::size_t ByteLimit = DefaultByteLimit) : FByteLimit(ByteLimit) {}

  // The mask kept for Key (now the most recently used), or nullptr.
  const TGlyphMask* Find(const TGlyphKey& Key);
  // Keeps Mask for Key, forgetting the least recently used masks beyond the byte limit; the
  // reference stays valid until the next Add.
  const TGlyphMask& Add(const TGlyphKey& Key, TGlyphMask Mask);

  std::size_t Bytes() const { return FBytes; }
  std::size_t Count() const { return FIndex.size(); }
  std::size_t ByteLimit() const { return FByteLimit; }
  void SetByteLimit(std::size_t Value);
  void Clear();

private:
  struct TEntry {
    TGlyphKey Key;
    TGlyphMask Mask;
  };
  struct THash {
    std::size_t operator()(const TGlyphKey& K) const {
      return std::size_t(K.Glyph) * 0x9E3779B97F4A7C15ull ^ std::size_t(K.Em64) << 20 ^ K.Face;
    }
  };

  static std::size_t Cost(const TGlyphMask& Mask) { return Mask.Coverage.size() + 96; }
  void Trim();

  std::list<TEntry> FEntries;   // most recently used first
  std::unordered_map<TGlyphKey, std::list<TEntry>::iterator, THash> FIndex;
  std::size_t FBytes = 0;
  std::size_t FByteLimit;
};

// The cache screen and bitmap text drawing uses.
TGlyphCache& ScreenGlyphCache();

// for tests
// Off, text on raster surfaces fills the glyph outlines as printers do (to compare pixels).
void SetGlyphCacheEnabled(bool Value);
bool GlyphCacheEnabled();
