// Encoding.cpp - text encodings of files and streams.
#include "platform/classes/Encoding.h"

#include "platform/rtl/Exceptions.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

std::string EncodeUtf16Le(std::u16string_view Text) {
  std::string Out;
  Out.reserve(Text.size() * 2);
  for (char16_t C : Text) {
    Out.push_back(static_cast<char>(C & 0xFF));
    Out.push_back(static_cast<char>(C >> 8));
  }
  return Out;
}

// An odd trailing byte cannot be a code unit: it becomes U+FFFD rather than being dropped.
String DecodeUtf16Le(std::string_view Bytes) {
  String Out;
  Out.reserve(Bytes.size() / 2 + 1);
  std::size_t I = 0;
  for (; I + 1 < Bytes.size(); I += 2)
    Out.push_back(static_cast<char16_t>(static_cast<unsigned char>(Bytes[I]) |
                                        (static_cast<unsigned char>(Bytes[I + 1]) << 8)));
  if (I < Bytes.size()) Out.push_back(u'\xFFFD');
  return Out;
}

// Windows-1251 until the run-time library's code page unit is available.
constexpr char16_t kCp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char16_t Cp1251Char(unsigned char B) {
  if (B < 0x80) return B;
  if (B >= 0xC0) return static_cast<char16_t>(0x0410 + (B - 0xC0));
  return kCp1251High[B - 0x80];
}

String AnsiToString(std::string_view Bytes) {
  String Out;
  Out.reserve(Bytes.size());
  for (char B : Bytes) Out.push_back(Cp1251Char(static_cast<unsigned char>(B)));
  return Out;
}

// Characters the code page lacks become '?'.
std::string AnsiFromString(std::u16string_view Text) {
  std::string Out;
  Out.reserve(Text.size());
  for (char16_t C : Text) {
    char B = '?';
    for (int I = 0; I < 256; ++I)
      if (Cp1251Char(static_cast<unsigned char>(I)) == C) {
        B = static_cast<char>(I);
        break;
      }
    Out.push_back(B);
  }
  return Out;
}

}  // namespace

std::string_view EncodingPreamble(TEncoding Encoding) {
  switch (Encoding) {
    case TEncoding::UTF8: return kUtf8Bom;
    case TEncoding::Unicode: return kUtf16LeBom;
    case TEncoding::ANSI: break;
  }
  return {};
}

std::string EncodeText(std::u16string_view Text, TEncoding Encoding, bool WithPreamble) {
  std::string Out(WithPreamble ? EncodingPreamble(Encoding) : std::string_view());
  switch (Encoding) {
    case TEncoding::UTF8: return Out + StringToUtf8(Text);
    case TEncoding::Unicode: return Out + EncodeUtf16Le(Text);
    case TEncoding::ANSI: return Out + AnsiFromString(Text);
  }
  return Out;
}

String DecodeText(std::string_view Bytes, TEncoding Encoding) {
  switch (Encoding) {
    case TEncoding::UTF8: return Utf8ToString(Bytes);
    case TEncoding::Unicode: return DecodeUtf16Le(Bytes);
    case TEncoding::ANSI: return AnsiToString(Bytes);
  }
  return {};
}

std::size_t DetectPreamble(std::string_view Bytes, TEncoding& Encoding) {
  for (TEncoding Candidate : {TEncoding::UTF8, TEncoding::Unicode}) {
    const std::string_view Bom = EncodingPreamble(Candidate);
    if (Bytes.starts_with(Bom)) {
      Encoding = Candidate;
      return Bom.size();
    }
  }
  return 0;
}

bool IsValidUtf8(std::string_view Bytes) { return StringToUtf8(Utf8ToString(Bytes)) == Bytes; }
