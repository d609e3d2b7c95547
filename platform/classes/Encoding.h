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

// True when Bytes are well-formed UTF-8 (text without a byte order mark is taken as UTF-8 only
// then, and as ANSI otherwise).
bool IsValidUtf8(std::string_view Bytes);
