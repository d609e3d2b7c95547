// JpegLimitsTest.cpp - JPEG decoding against hostile files: a header promising a huge image,
// data that ends early, and a progressive file with endless scans.
#include "platform/graphics/Picture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <jpeglib.h>

#include "platform/rtl/Exceptions.h"

namespace {

// A W x H picture of noise (which compresses poorly), as libjpeg writes it.
std::string EncodeNoise(int W, int H, bool Progressive) {
  jpeg_compress_struct C{};
  jpeg_error_mgr E{};
  C.err = jpeg_std_error(&E);
  jpeg_create_compress(&C);
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&C, &Buffer, &Size);
  C.image_width = JDIMENSION(W);
  C.image_height = JDIMENSION(H);
  C.input_components = 3;
  C.in_color_space = JCS_RGB;
  jpeg_set_defaults(&C);
  if (Progressive) jpeg_simple_progression(&C);
  jpeg_start_compress(&C, TRUE);
  std::string Row(std::size_t(W) * 3, '\0');
  unsigned Seed = 1;
  while (C.next_scanline < C.image_height) {
    for (char& B : Row) B = char((Seed = Seed * 1103515245 + 12345) >> 16);
    JSAMPROW Line = reinterpret_cast<JSAMPROW>(Row.data());
    jpeg_write_scanlines(&C, &Line, 1);
  }
  jpeg_finish_compress(&C);
  jpeg_destroy_compress(&C);
  std::string Result(reinterpret_cast<const char*>(Buffer), Size);
  std::free(Buffer);
  return Result;
}

// The frame header's height and width replaced.
std::string WithSize(std::string Jpeg, int W, int H) {
  std::size_t At = Jpeg.find("\xFF\xC0");
  if (At == std::string::npos) At = Jpeg.find("\xFF\xC2");
  Jpeg[At + 5] = char(H >> 8);
  Jpeg[At + 6] = char(H);
  Jpeg[At + 7] = char(W >> 8);
  Jpeg[At + 8] = char(W);
  return Jpeg;
}

// The last scan of a progressive file written Count times more before the end marker.
std::string WithRepeatedLastScan(const std::string& Jpeg, int Count) {
  std::size_t Sos = Jpeg.rfind("\xFF\xDA");
  std::size_t Eoi = Jpeg.rfind("\xFF\xD9");
  std::string Scan = Jpeg.substr(Sos, Eoi - Sos);
  std::string R = Jpeg.substr(0, Eoi);
  for (int i = 0; i < Count; ++i) R += Scan;
  return R + "\xFF\xD9";
}

// "ok WxH", or the message of the error decoding raised.
std::string Decode(const std::string& Jpeg) {
  try {
    TJPEGImage Image;
    Image.LoadFromBytes(Jpeg);
    return "ok " + std::to_string(Image.Width()) + "x" + std::to_string(Image.Height());
  } catch (const EInvalidGraphic& E) {
    return StringToUtf8(E.Message());
  }
}

TEST(JpegLimits, HostileFilesAreInvalidGraphics) {
  const std::string Baseline = EncodeNoise(64, 48, false);
  const std::string Progressive = EncodeNoise(64, 48, true);
  struct {
    const char* Name;
    std::string Jpeg;
    const char* Expected;
  } const kCases[] = {
      {"baseline", Baseline, "ok 64x48"},
      {"progressive", Progressive, "ok 64x48"},
      // Once a 2.3 GB allocation whose failure ended the process.
      {"huge header", WithSize(Baseline, 65000, 65000), "JPEG image is too large"},
      {"header beyond the data", WithSize(Baseline, 16000, 16000), "JPEG image is too large"},
      {"truncated data", Baseline.substr(0, Baseline.size() / 2), "Picture data is truncated"},
      {"truncated progressive", Progressive.substr(0, Progressive.size() / 2),
       "Picture data is truncated"},
      {"endless scans", WithRepeatedLastScan(Progressive, 400), "JPEG image has too many scans"},
      {"not a JPEG", "GIF89a", "JPEG error #53"},
  };
  for (auto& C : kCases) {
    auto Start = std::chrono::steady_clock::now();
    EXPECT_EQ(Decode(C.Jpeg), C.Expected) << C.Name;
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(10)) << C.Name;
  }
}

}  // namespace
