// Jpeg.cpp - TJPEGImage's codec over libjpeg, with errors turned into EInvalidGraphic.
#include "platform/graphics/Picture.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "platform/rtl/Exceptions.h"

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back out.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

void FailJump(j_common_ptr Info) { std::longjmp(reinterpret_cast<TJpegError*>(Info->err)->Jump, 1); }

}  // namespace

void TJPEGImage::Decode(std::string_view Data, TBitmap& Into) const {
  jpeg_decompress_struct Info{};
  TJpegError Error{};
  Info.err = jpeg_std_error(&Error.Manager);
  Error.Manager.error_exit = FailJump;
  std::vector<std::uint8_t> Pixels;
  int Width = 0, Height = 0;
  if (setjmp(Error.Jump)) {
    jpeg_destroy_decompress(&Info);
    throw EInvalidGraphic(u"JPEG error #" + Utf8ToString(std::to_string(Error.Manager.msg_code)));
  }
  jpeg_create_decompress(&Info);
  jpeg_mem_src(&Info, reinterpret_cast<const unsigned char*>(Data.data()), static_cast<unsigned long>(Data.size()));
  jpeg_read_header(&Info, TRUE);
  Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&Info);
  Width = int(Info.output_width);
  Height = int(Info.output_height);
  Pixels.resize(std::size_t(Width) * Height * 3);
  while (Info.output_scanline < Info.output_height) {
    JSAMPROW Row = Pixels.data() + std::size_t(Info.output_scanline) * Width * 3;
    jpeg_read_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
  Into.SetPixelFormat(pf24bit);
  Into.SetSize(Width, Height);
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
