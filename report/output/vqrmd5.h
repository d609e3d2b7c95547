// vqrmd5.h - MD5 (RFC 1321), used by the PDF export's security handler and file identifier.
#pragma once

#include <cstddef>
#include <string>

#include "platform/rtl/Types.h"

class TvqrMD5 {
public:
  // Starts initialised.
  TvqrMD5() { Init(); }

  // The standard initial state and a zero count.
  void Init();
  void Update(const void* Input, std::size_t Length);
  // Pads, appends the bit count and writes the digest; then clears state, count and buffer,
  // so the object needs Init before it is used again.
  void Finalize();
  // The 16 digest bytes of the last Finalize.
  const Byte* Digest() const { return m_Digest; }

private:
  void Transform(const Byte Block[64]);

  std::uint32_t m_State[4];
  std::uint32_t m_Count[2];  // bits, low word first
  Byte m_Buffer[64];
  Byte m_Digest[16] = {};
};

// MD5 of 8-bit text as 32 lower-case hex digits.
std::string MD5HexOfText(const std::string& Text);
// MD5 of a memory block into Digest (16 bytes).
void MD5OfBuffer(const void* Buffer, std::size_t Length, Byte Digest[16]);
