// Sets.h - TSet<E>, the set type of the class library (set of an enumeration).
//
// A set holds up to 64 elements of an enumeration whose ordinals start at 0 (every
// enumeration in the system does). Bit i stands for the element of ordinal i, so a set's
// Bits() is the bit mask that streams, the type registry and the script engine exchange.
// A set type gets its own name for the type registry with VORENTA_SET, next to its enum:
//   VORENTA_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut);
//   VORENTA_SET(TFontStyles, TFontStyle);
#pragma once

#include <cassert>
#include <cstdint>
#include <initializer_list>

template <class E>
class TSet {
public:
  using Element = E;

  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Elements) {
    for (E Item : Elements) Include(Item);
  }
  static constexpr TSet FromBits(std::uint64_t Bits) {
    TSet Result;
    Result.FBits = Bits;
    return Result;
  }

  constexpr std::uint64_t Bits() const { return FBits; }
  constexpr bool Contains(E Item) const { return (FBits & Mask(Item)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }

  constexpr TSet& Include(E Item) {
    FBits |= Mask(Item);
    return *this;
  }
  constexpr TSet& Exclude(E Item) {
    FBits &= ~Mask(Item);
    return *this;
  }
  // The C++ spelling of Include/Exclude the class library's users know: State << csLoading.
  constexpr TSet& operator<<(E Item) { return Include(Item); }
  constexpr TSet& operator>>(E Item) { return Exclude(Item); }

  friend constexpr TSet operator+(TSet A, TSet B) { return FromBits(A.FBits | B.FBits); }
  friend constexpr TSet operator-(TSet A, TSet B) { return FromBits(A.FBits & ~B.FBits); }
  friend constexpr TSet operator*(TSet A, TSet B) { return FromBits(A.FBits & B.FBits); }
  friend constexpr bool operator==(TSet A, TSet B) { return A.FBits == B.FBits; }

private:
  static constexpr std::uint64_t Mask(E Item) {
    assert(static_cast<int>(Item) >= 0 && static_cast<int>(Item) < 64 && "set element out of range");
    return std::uint64_t{1} << static_cast<int>(Item);
  }

  std::uint64_t FBits = 0;
};
