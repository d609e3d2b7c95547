// Utf.cpp - UTF-8 and UTF-16 conversions.
#include <cstdint>
#include <cstring>

#include "platform/rtl/Types.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The end of the run of ASCII units that starts at I: eight bytes (four UTF-16 units) are
// tested at once, then the rest one by one.
std::size_t AsciiRunEnd(std::string_view Text, std::size_t I) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  for (std::uint64_t Word; I + 8 <= Text.size(); I += 8) {
    std::memcpy(&Word, Text.data() + I, 8);
    if (Word & kHighBits) break;
  }
  while (I < Text.size() && static_cast<unsigned char>(Text[I]) < 0x80) ++I;
  return I;
}

std::size_t AsciiRunEnd(std::u16string_view Text, std::size_t I) {
  constexpr std::uint64_t kHighBits = 0xFF80FF80FF80FF80ull;
  for (std::uint64_t Word; I + 4 <= Text.size(); I += 4) {
    std::memcpy(&Word, Text.data() + I, 8);
    if (Word & kHighBits) break;
  }
  while (I < Text.size() && Text[I] < 0x80) ++I;
  return I;
}

}  // namespace

String Utf8ToString(std::string_view Utf8) {
  // Never more UTF-16 units than bytes (four bytes make two units at most): the room is made
  // once and the units written into it without a check each.
  String Out(Utf8.size(), u'\0');
  char16_t* P = Out.data();
  std::size_t I = 0;
  const std::size_t N = Utf8.size();
  while (I < N) {
    const unsigned char Lead = static_cast<unsigned char>(Utf8[I]);
    if (Lead < 0x80) {
      // Most text is ASCII: a whole run is widened at once.
      const std::size_t End = AsciiRunEnd(Utf8, I);
      for (; I < End; ++I) *P++ = static_cast<char16_t>(Utf8[I]);
      continue;
    }
    int Extra = 0;
    char32_t Code = 0;
    char32_t Min = 0;
    if ((Lead & 0xE0) == 0xC0) { Extra = 1; Code = Lead & 0x1F; Min = 0x80; }
    else if ((Lead & 0xF0) == 0xE0) { Extra = 2; Code = Lead & 0x0F; Min = 0x800; }
    else if ((Lead & 0xF8) == 0xF0) { Extra = 3; Code = Lead & 0x07; Min = 0x10000; }
    else { *P++ = kReplacement; ++I; continue; }
    if (I + Extra >= N) { *P++ = kReplacement; break; }
    bool Valid = true;
    for (int K = 1; K <= Extra; ++K) {
      const unsigned char C = static_cast<unsigned char>(Utf8[I + K]);
      if ((C & 0xC0) != 0x80) { Valid = false; break; }
      Code = (Code << 6) | (C & 0x3F);
    }
    if (!Valid || Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) {
      *P++ = kReplacement;
      ++I;
      continue;
    }
    if (Code < 0x10000) {
      *P++ = static_cast<char16_t>(Code);
    } else {
      Code -= 0x10000;
      *P++ = static_cast<char16_t>(0xD800 + (Code >> 10));
      *P++ = static_cast<char16_t>(0xDC00 + (Code & 0x3FF));
    }
    I += Extra + 1;
  }
  Out.resize(static_cast<std::size_t>(P - Out.data()));
  return Out;
}

std::string StringToUtf8(std::u16string_view Text) {
  // A UTF-16 unit never takes more than three bytes (a surrogate pair, two units, takes
  // four): the room is made once and the bytes written into it without a check each.
  std::string Out(Text.size() * 3, '\0');
  char* P = Out.data();
  auto Put = [&P](unsigned Byte) { *P++ = static_cast<char>(Byte); };
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] < 0x80) {
      const std::size_t Start = I;
      I = AsciiRunEnd(Text, I) - 1;
      for (std::size_t K = Start; K <= I; ++K) Put(Text[K]);
      continue;
    }
    char32_t Code = Text[I];
    if (Code >= 0xD800 && Code <= 0xDBFF && I + 1 < Text.size() && Text[I + 1] >= 0xDC00 &&
        Text[I + 1] <= 0xDFFF) {
      Code = 0x10000 + ((Code - 0xD800) << 10) + (Text[I + 1] - 0xDC00);
      ++I;
    } else if (Code >= 0xD800 && Code <= 0xDFFF) {
      Code = kReplacement;
    }
    if (Code < 0x800) {
      Put(0xC0 | (Code >> 6));
    } else {
      if (Code < 0x10000) {
        Put(0xE0 | (Code >> 12));
      } else {
        Put(0xF0 | (Code >> 18));
        Put(0x80 | ((Code >> 12) & 0x3F));
      }
      Put(0x80 | ((Code >> 6) & 0x3F));
    }
    Put(0x80 | (Code & 0x3F));
  }
  Out.resize(static_cast<std::size_t>(P - Out.data()));
  return Out;
}
