// Filer_p.h - the binary component-stream format, shared by the writer, reader and the text
// converter only.
//
// A stream made by WriteRootComponent:
//
//   offset  size  meaning
//   0       4     signature "TPF0"
//   4       ...   the root's entry
//
// An entry (a component):
//
//   size      meaning
//   0 or 1    prefix byte F0 | flags, only when flags are set (1 inherited, 2 child position,
//             4 inline)
//   value     the child position as an integer value, only with flag 2
//   1 + n     class name: length byte, UTF-8 bytes
//   1 + n     component name: length byte, UTF-8 bytes ("" for none)
//   ...       properties: { name (length byte, UTF-8; dotted for sub-objects: "Font.Name"),
//             value }*, then 00
//   ...       children: { entry }*, then 00
//
// A value is a tag byte and its payload, little-endian (ORDER VALUETYPE, Filer.h):
//
//   tag  name          payload
//   00   vaNull        none: ends a list; as a value, Null
//   01   vaList        values until 00
//   02   vaInt8        1 byte, signed
//   03   vaInt16       2 bytes
//   04   vaInt32       4 bytes
//   05   vaExtended    10 bytes: 64-bit mantissa with explicit integer bit, then 15-bit
//                      exponent (bias 16383) and the sign in the top bit
//   06   vaString      length byte, ASCII bytes (Windows-1251 when read from elsewhere)
//   07   vaIdent       length byte, identifier (enumeration values, references, handlers)
//   08   vaFalse       none
//   09   vaTrue        none
//   0A   vaBinary      4-byte length, bytes
//   0B   vaSet         element names (length byte, bytes) until an empty name
//   0C   vaLString     4-byte length, ASCII bytes (strings of more than 255)
//   0D   vaNil         none: no reference / Empty
//   0E   vaCollection  { [integer index] vaList properties 00 }*, then 00
//   0F   vaSingle      4-byte float
//   10   vaCurrency    8 bytes: value x 10000
//   11   vaDate        8-byte double
//   12   vaWString     4-byte count of UTF-16 units, UTF-16LE
//   13   vaInt64       8 bytes
//   14   vaUTF8String  4-byte byte count, UTF-8
//   15   vaDouble      8-byte double
//
// The writer always picks the smallest integer tag, and for strings: vaString (up to 255
// bytes) or vaLString when all ASCII and UTF-8 is shorter than UTF-16; vaWString when UTF-8
// would take at least twice the UTF-16 length (so the empty string is 12 00 00 00 00);
// vaUTF8String otherwise.
#pragma once

#include <cstdint>
#include <string>

#include "platform/classes/Filer.h"

namespace filer_detail {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};
constexpr unsigned char kPrefixMark = 0xF0;
constexpr int kMaxDepth = 512;  // nesting of entries and lists a stream may have

// The tag WriteString chooses for Value, and Value's UTF-8 form.
TValueType StringTag(const String& Value, std::string& Utf8);

// The 10 bytes of an 80-bit extended float, and back.
void EncodeExtended(Extended Value, unsigned char Bytes[10]);
Extended DecodeExtended(const unsigned char Bytes[10]);

// Keeps a reference into a root that does not exist yet until GlobalFixupReferences sets it.
void AddGlobalFixup(TComponent* Root, TPersistent* Instance, const TPropInfo* Prop,
                    const String& Name);

}  // namespace filer_detail
