// TextMap.h - a hash map keyed by text whose keys compare as SameText does (ASCII case ignored).
//
// Component and report-object names are looked up this way. Lookups take a string view, so
// searching needs no upper-cased copy of the name.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Types.h"

// FNV-1a over the UTF-16 units with ASCII letters upper-cased.
struct TFoldedTextHash {
  using is_transparent = void;
  std::size_t operator()(std::u16string_view S) const {
    std::size_t H = 14695981039346656037ull;
    for (char16_t Ch : S) {
      const char16_t Up = Ch >= u'a' && Ch <= u'z' ? static_cast<char16_t>(Ch - 32) : Ch;
      H = (H ^ Up) * 1099511628211ull;
    }
    return H;
  }
};

// The map compares keys only when their hashes match, so they are nearly always equal and
// nearly always spelled alike: a plain comparison settles most of them inline.
struct TSameTextEqual {
  using is_transparent = void;
  bool operator()(std::u16string_view A, std::u16string_view B) const {
    return A.size() == B.size() && (A == B || SameText(A, B));
  }
};

template <class T>
using TTextMap = std::unordered_map<String, T, TFoldedTextHash, TSameTextEqual>;
