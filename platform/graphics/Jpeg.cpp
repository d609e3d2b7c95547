// Jpeg.cpp - TJPEGImage's codec over libjpeg, with errors turned into EInvalidGraphic.
#include "platform/graphics/Picture.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/rtl/Exceptions.h"

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back out.
// Reason, when set, is the message for a limit of ours that stopped the decoding.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  const char16_t* Reason = nullptr;

  String Message() const {
    if (Reason) return Reason;
    return u"JPEG error #" + Utf8ToString(std::to_string(Manager.msg_code));
  }
};

// Limits on outside data. A picture has at most 2^28 pixels; and as compressed data spends at
// least one bit on every 8x8 block it holds, a header promising more than 512 pixels per byte
// of data describes an image the data does not hold. A progressive file reads every scan over
// the whole image, so the number of scans is bounded too (encoders write about ten).
constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 28;
constexpr std::uint64_t kMaxPixelsPerByte = 512;
constexpr int kMaxScans = 256;
const char16_t kTooLarge[] = u"JPEG image is too large";
const char16_t kTruncated[] = u"Picture data is truncated";
const char16_t kTooManyScans[] = u"JPEG image has too many scans";

TJpegError& ErrorOf(j_common_ptr Info) { return *reinterpret_cast<TJpegError*>(Info->err); }

void FailJump(j_common_ptr Info) { std::longjmp(ErrorOf(Info).Jump, 1); }

// Warnings are ignored, except that data ending before the image does is an error: libjpeg
// would fill the rest with grey and report success.
void OnMessage(j_common_ptr Info, int Level) {
  if (Level < 0 && Info->err->msg_code == JWRN_JPEG_EOF) {
    ErrorOf(Info).Reason = kTruncated;
    FailJump(Info);
  }
}

void OnProgress(j_common_ptr Info) {
  if (reinterpret_cast<j_decompress_ptr>(Info)->input_scan_number > kMaxScans) {
    ErrorOf(Info).Reason = kTooManyScans;
    FailJump(Info);
  }
}

bool PlausibleSize(const jpeg_decompress_struct& Info, std::size_t DataSize) {
  const std::uint64_t Pixels = std::uint64_t(Info.image_width) * Info.image_height;
  return Pixels <= kMaxPixels && Pixels <= std::uint64_t(DataSize) * kMaxPixelsPerByte;
}

}  // namespace

void TJPEGImage::Decode(std::string_view Data, TBitmap& Into) const {
  jpeg_decompress_struct Info{};
  TJpegError Error{};
  Info.err = jpeg_std_error(&Error.Manager);
  Error.Manager.error_exit = FailJump;
  Error.Manager.emit_message = OnMessage;
  jpeg_progress_mgr Progress{};
  Progress.progress_monitor = OnProgress;
  std::vector<std::uint8_t> Pixels;
  int Width = 0, Height = 0;
  if (setjmp(Error.Jump)) {
    jpeg_destroy_decompress(&Info);
    throw EInvalidGraphic(Error.Message());
  }
  jpeg_create_decompress(&Info);
  Info.progress = &Progress;
  jpeg_mem_src(&Info, reinterpret_cast<const unsigned char*>(Data.data()), static_cast<unsigned long>(Data.size()));
  jpeg_read_header(&Info, TRUE);
  bool Allocated = PlausibleSize(Info, Data.size());
  if (Allocated) {
    Info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&Info);
    Width = int(Info.output_width);
    Height = int(Info.output_height);
    try {
      Pixels.resize(std::size_t(Width) * Height * 3);
    } catch (const std::bad_alloc&) {
      Allocated = false;
    }
  }
  if (!Allocated) {
    jpeg_destroy_decompress(&Info);
    throw EInvalidGraphic(kTooLarge);
  }
  while (Info.output_scanline < Info.output_height) {
    JSAMPROW Row = Pixels.data() + std::size_t(Info.output_scanline) * Width * 3;
    jpeg_read_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
  try {
    Into.SetPixelFormat(pf24bit);
    Into.SetSize(Width, Height);
  } catch (const std::bad_alloc&) {
    throw EInvalidGraphic(kTooLarge);
  }
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      const std::uint8_t* P = &Pixels[(std::size_t(Y) * Width + X) * 3];
      Into.SetPixelRGB(X, Y, RGB(P[0], P[1], P[2]));
    }
}

std::string TJPEGImage::Encode(const TBitmap& From) const {
  jpeg_compress_struct Info{};
  TJpegError Error{};
  Info.err = jpeg_std_error(&Error.Manager);
  Error.Manager.error_exit = FailJump;
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  if (setjmp(Error.Jump)) {
    jpeg_destroy_compress(&Info);
    std::free(Buffer);
    throw EInvalidGraphic(u"JPEG error #" + Utf8ToString(std::to_string(Error.Manager.msg_code)));
  }
  jpeg_create_compress(&Info);
  jpeg_mem_dest(&Info, &Buffer, &Size);
  Info.image_width = JDIMENSION(From.Width());
  Info.image_height = JDIMENSION(From.Height());
  Info.input_components = 3;
  Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, FQuality, TRUE);
  jpeg_start_compress(&Info, TRUE);
  std::vector<std::uint8_t> Row(std::size_t(From.Width()) * 3);
  while (Info.next_scanline < Info.image_height) {
    const int Y = int(Info.next_scanline);
    for (int X = 0; X < From.Width(); ++X) {
      const TColorRef C = From.PixelRGB(X, Y);
      Row[X * 3] = std::uint8_t(GetRValue(C));
      Row[X * 3 + 1] = std::uint8_t(GetGValue(C));
      Row[X * 3 + 2] = std::uint8_t(GetBValue(C));
    }
    JSAMPROW Line = Row.data();
    jpeg_write_scanlines(&Info, &Line, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  std::string Result(reinterpret_cast<const char*>(Buffer), Size);
  std::free(Buffer);
  return Result;
}
