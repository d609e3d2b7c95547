// Guid.cpp - new globally unique identifiers from the system's random source.
#include "platform/shell/Guid.h"

#include <array>
#include <cstdio>
#include <random>

String CreateGUID() {
  std::random_device Source;
  std::array<unsigned char, 16> B{};
  for (unsigned char& Byte : B) Byte = static_cast<unsigned char>(Source() & 0xFF);
  B[6] = static_cast<unsigned char>((B[6] & 0x0F) | 0x40);  // version 4
  B[8] = static_cast<unsigned char>((B[8] & 0x3F) | 0x80);  // RFC 4122 variant
  char Text[40];
  std::snprintf(Text, sizeof Text,
                "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", B[0],
                B[1], B[2], B[3], B[4], B[5], B[6], B[7], B[8], B[9], B[10], B[11], B[12], B[13],
                B[14], B[15]);
  String Result;
  for (const char* P = Text; *P; ++P) Result += static_cast<Char>(*P);
  return Result;
}
