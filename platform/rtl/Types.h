// Types.h - the run-time library's basic types.
//
// String is UTF-16 because positions and lengths are counted in UTF-16 units throughout the
// system; byte strings (8-bit code page or UTF-8) are std::string. Extended is the widest
// float the compiler offers; TDateTime counts days since 1899-12-30 with the time of day as
// the fraction.
#pragma once

#include <cstdint>
#include <string>

using String = std::u16string;
using AnsiString = std::string;
using RawByteString = std::string;
using UTF8String = std::string;
using Char = char16_t;
using WideChar = char16_t;
using AnsiChar = char;

using Byte = std::uint8_t;
using ShortInt = std::int8_t;
using SmallInt = std::int16_t;
using Word = std::uint16_t;
using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongWord = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using NativeInt = std::intptr_t;
using NativeUInt = std::uintptr_t;
using Single = float;
using Double = double;
using Extended = long double;
using TDateTime = double;
using TDate = double;
using TTime = double;

// UTF-8 <-> UTF-16 conversions; invalid input bytes become U+FFFD, never an error.
String Utf8ToString(std::string_view Utf8);
std::string StringToUtf8(std::u16string_view Text);

// Lets tests and diagnostics print a String.
inline std::string ToUtf8(std::u16string_view Text) { return StringToUtf8(Text); }
