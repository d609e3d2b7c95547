// GlyphCache.cpp - the least-recently-used store of glyph masks.
#include "platform/graphics/GlyphCache.h"

namespace {

bool Enabled = true;

}  // namespace

const TGlyphMask* TGlyphCache::Find(const TGlyphKey& Key) {
  auto It = FIndex.find(Key);
  if (It == FIndex.end()) return nullptr;
  if (It->second != FEntries.begin()) FEntries.splice(FEntries.begin(), FEntries, It->second);
  return &It->second->Mask;
}

const TGlyphMask& TGlyphCache::Add(const TGlyphKey& Key, TGlyphMask Mask) {
  auto It = FIndex.find(Key);
  if (It != FIndex.end()) {
    FBytes -= Cost(It->second->Mask);
    FEntries.erase(It->second);
    FIndex.erase(It);
  }
  FEntries.push_front({Key, std::move(Mask)});
  FIndex.emplace(Key, FEntries.begin());
  FBytes += Cost(FEntries.front().Mask);
  Trim();
  return FEntries.front().Mask;
}

void TGlyphCache::SetByteLimit(std::size_t Value) {
  FByteLimit = Value;
  Trim();
}

void TGlyphCache::Clear() {
  FIndex.clear();
  FEntries.clear();
  FBytes = 0;
}

// Forgets from the least recently used end, but always keeps the newest mask: a run being
// drawn holds on to it.
void TGlyphCache::Trim() {
  while (FBytes > FByteLimit && FEntries.size() > 1) {
    const TEntry& Last = FEntries.back();
    FBytes -= Cost(Last.Mask);
    FIndex.erase(Last.Key);
    FEntries.pop_back();
  }
}

TGlyphCache& ScreenGlyphCache() {
  static TGlyphCache Cache;
  return Cache;
}

void SetGlyphCacheEnabled(bool Value) { Enabled = Value; }

bool GlyphCacheEnabled() { return Enabled; }
