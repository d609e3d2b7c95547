// Encoding.h - the text encodings of files and streams, and the conversions between them.
//
// ANSI is the shop's 8-bit code page, Windows-1251. Unicode is UTF-16 little-endian. A byte
// order mark, when present, decides the encoding of text being read; without one the caller's
// encoding is used.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/Types.h"

enum class TEncoding { ANSI, UTF8, Unicode };

// The byte order mark of Encoding ("" for ANSI).
std::string_view EncodingPreamble(TEncoding Encoding);

// Encodes Text, with the byte order mark in front when WithPreamble is set.
std::string EncodeText(std::u16string_view Text, TEncoding Encoding, bool WithPreamble = false);

// Decodes Bytes in Encoding; no byte order mark is looked for or removed.
String DecodeText(std::string_view Bytes, TEncoding Encoding);

// Looks for a byte order mark: when one is found, sets Encoding to it and returns its length;
// otherwise leaves Encoding as it is and returns 0.
std::size_t DetectPreamble(std::string_view Bytes, TEncoding& Encoding);

// Text read without a known encoding, and what it was found to be in.
struct TDetectedText {
  String Text;
  TEncoding Encoding = TEncoding::UTF8;
  bool HasPreamble = false;
};

// Decodes Bytes, finding their encoding: a byte order mark decides when there is one; otherwise
// they are UTF-8 when well-formed UTF-8, and ANSI when not.
TDetectedText DetectAndDecodeText(std::string_view Bytes);
