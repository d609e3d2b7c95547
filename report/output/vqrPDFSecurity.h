// vqrPDFSecurity.h - the PDF standard security handler (revision 3, 128-bit RC4): password
// padding, the O, U and document keys, per-object keys, literal-string escapes.
#pragma once

#include <string>
#include <string_view>

#include "platform/classes/TypeInfo.h"

VORENTA_ENUM(TvqrPDFEncBit, ePrint, eModify, eCopy, eAnnot);
VORENTA_SET(TvqrPDFEncBits, TvqrPDFEncBit);

// The P value of a set of permissions: the four bits times 4, every bit from 64 up set
// (all four give -4, none -64).
int ProtectionValue(TvqrPDFEncBits Flags);

// The first 32 bytes of Password, filled up to 32 with the start of the standard padding.
std::string PadPassword(std::string_view Password);

struct TvqrPDFSecurityKeys {
  std::string O;     // 32 bytes
  std::string U;     // 32 bytes
  std::string Key;   // 16 bytes, the document key
};

// O, the document key and U of a document whose identifier is FileIdHex (32 hex digits).
TvqrPDFSecurityKeys ComputeSecurityKeys(std::string_view Owner, std::string_view User, int P,
                                        std::string_view FileIdHex);

// The RC4 key of object Object: MD5 of the document key, the object's three low bytes and a
// zero generation.
std::string ObjectKey(std::string_view DocumentKey, int Object);

// Data encrypted (or decrypted) in place with Object's key.
void EncryptObjectData(std::string_view DocumentKey, int Object, std::string& Data);

// "\n", "\r", "\(", "\)" and "\\" for LF, CR, "(", ")" and "\"; other bytes stay raw.
std::string EscapeLiteralString(std::string_view Text);
