// Encoding.cpp - text encodings of files and streams.
#include "platform/classes/Encoding.h"

#include "platform/rtl/CodePage.h"

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
    case TEncoding::ANSI: return Out + StringToAnsi(Text);
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

TDetectedText DetectAndDecodeText(std::string_view Bytes) {
  TDetectedText Result;
  const std::size_t Bom = DetectPreamble(Bytes, Result.Encoding);
  Result.HasPreamble = Bom != 0;
  if (Result.HasPreamble) {
    Result.Text = DecodeText(Bytes.substr(Bom), Result.Encoding);
    return Result;
  }
  // Well-formed UTF-8 is what survives a decoding and encoding unchanged.
  Result.Text = Utf8ToString(Bytes);
  if (StringToUtf8(Result.Text) != Bytes) {
    Result.Encoding = TEncoding::ANSI;
    Result.Text = AnsiToString(Bytes);
  }
  return Result;
}
