// BitmapTest.cpp - bitmap files against hostile headers: a header promising more pixels than
// the limit or than the data holds is refused before anything is decoded.
#include "platform/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

void Put32(std::string& S, std::size_t At, std::uint32_t V) {
  for (int i = 0; i < 4; ++i) S[At + std::size_t(i)] = char((V >> (8 * i)) & 0xFF);
}

// An uncompressed 24-bit BMP of W x H pixels whose header says HeaderW x HeaderH.
std::string Bmp(int W, int H, int HeaderW, int HeaderH) {
  const std::size_t Row = (std::size_t(W) * 3 + 3) / 4 * 4, Data = Row * std::size_t(H);
  std::string S(54 + Data, '\x7f');
  S[0] = 'B';
  S[1] = 'M';
  Put32(S, 2, std::uint32_t(S.size()));
  Put32(S, 6, 0);
  Put32(S, 10, 54);
  Put32(S, 14, 40);
  Put32(S, 18, std::uint32_t(HeaderW));
  Put32(S, 22, std::uint32_t(HeaderH));
  Put32(S, 26, 1 | (24 << 16));
  for (std::size_t At = 30; At < 54; At += 4) Put32(S, At, 0);
  Put32(S, 34, std::uint32_t(Data));
  return S;
}

std::string Load(const std::string& Data) {
  try {
    TBitmap B;
    B.LoadFromBytes(Data);
    return "ok " + std::to_string(B.Width()) + "x" + std::to_string(B.Height());
  } catch (const Exception& E) {
    return StringToUtf8(E.Message());
  }
}

TEST(BitmapLimits, HostileHeadersAreInvalidGraphics) {
  struct {
    const char* Name;
    std::string Data;
    const char* Expected;
  } const kCases[] = {
      {"plain", Bmp(4, 3, 4, 3), "ok 4x3"},
      // Once 25 million pixels decoded and written out again from a 60-byte file.
      {"header beyond the data", Bmp(2, 2, 2097168, 12), "Bitmap image is too large"},
      // Qt's own allocation limit refuses this header before the pixel limit is asked.
      {"huge header", Bmp(2, 2, 20000, 20000), "Bitmap image is not valid"},
      {"not a bitmap", "BMxx", "Bitmap image is not valid"},
  };
  for (auto& C : kCases) {
    auto Start = std::chrono::steady_clock::now();
    EXPECT_EQ(Load(C.Data), C.Expected) << C.Name;
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5)) << C.Name;
  }
}

}  // namespace
