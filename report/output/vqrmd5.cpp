// vqrmd5.cpp - MD5 as RFC 1321 gives it.
#include "report/output/vqrmd5.h"

#include <cstring>

#include "report/core/vqrUtils.h"

namespace {

// ORDER MD5ROUNDS: the shift amounts of the four rounds, four per round.
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

std::uint32_t Rotl(std::uint32_t X, int N) { return (X << N) | (X >> (32 - N)); }

// T[i] = floor(2^32 * |sin(i + 1)|), as the RFC tabulates it.
constexpr std::uint32_t kT[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391};

}  // namespace

void TvqrMD5::Init() {
  m_State[0] = 0x67452301;
  m_State[1] = 0xefcdab89;
  m_State[2] = 0x98badcfe;
  m_State[3] = 0x10325476;
  m_Count[0] = m_Count[1] = 0;
  std::memset(m_Buffer, 0, sizeof m_Buffer);
}

void TvqrMD5::Transform(const Byte Block[64]) {
  std::uint32_t X[16];
  for (int I = 0; I < 16; ++I)
    X[I] = Block[4 * I] | Block[4 * I + 1] << 8 | Block[4 * I + 2] << 16 |
           static_cast<std::uint32_t>(Block[4 * I + 3]) << 24;
  std::uint32_t A = m_State[0], B = m_State[1], C = m_State[2], D = m_State[3];
  for (int I = 0; I < 64; ++I) {
    int Round = I / 16;
    std::uint32_t F;
    int K;
    switch (Round) {
      case 0: F = (B & C) | (~B & D); K = I; break;
      case 1: F = (D & B) | (~D & C); K = (5 * I + 1) % 16; break;
      case 2: F = B ^ C ^ D; K = (3 * I + 5) % 16; break;
      default: F = C ^ (B | ~D); K = (7 * I) % 16; break;
    }
    std::uint32_t Next = B + Rotl(A + F + X[K] + kT[I], kShift[Round][I % 4]);
    A = D;
    D = C;
    C = B;
    B = Next;
  }
  m_State[0] += A;
  m_State[1] += B;
  m_State[2] += C;
  m_State[3] += D;
}

void TvqrMD5::Update(const void* Input, std::size_t Length) {
  const Byte* In = static_cast<const Byte*>(Input);
  std::size_t Index = (m_Count[0] >> 3) & 0x3F;
  std::uint64_t Bits = (static_cast<std::uint64_t>(m_Count[1]) << 32 | m_Count[0]) +
                       (static_cast<std::uint64_t>(Length) << 3);
  m_Count[0] = static_cast<std::uint32_t>(Bits);
  m_Count[1] = static_cast<std::uint32_t>(Bits >> 32);
  std::size_t Part = 64 - Index, I = 0;
  if (Length >= Part) {
    std::memcpy(m_Buffer + Index, In, Part);
    Transform(m_Buffer);
    for (I = Part; I + 63 < Length; I += 64) Transform(In + I);
    Index = 0;
  }
  std::memcpy(m_Buffer + Index, In + I, Length - I);
}

void TvqrMD5::Finalize() {
  Byte Bits[8];
  for (int I = 0; I < 4; ++I) {
    Bits[I] = static_cast<Byte>(m_Count[0] >> (8 * I));
    Bits[4 + I] = static_cast<Byte>(m_Count[1] >> (8 * I));
  }
  std::size_t Index = (m_Count[0] >> 3) & 0x3F;
  static const Byte kPadding[64] = {0x80};
  Update(kPadding, Index < 56 ? 56 - Index : 120 - Index);
  Update(Bits, 8);
  for (int I = 0; I < 16; ++I) m_Digest[I] = static_cast<Byte>(m_State[I / 4] >> (8 * (I % 4)));
  std::memset(m_State, 0, sizeof m_State);
  std::memset(m_Count, 0, sizeof m_Count);
  std::memset(m_Buffer, 0, sizeof m_Buffer);
}

void MD5OfBuffer(const void* Buffer, std::size_t Length, Byte Digest[16]) {
  TvqrMD5 MD5;
  MD5.Update(Buffer, Length);
  MD5.Finalize();
  std::memcpy(Digest, MD5.Digest(), 16);
}

std::string MD5HexOfText(const std::string& Text) {
  Byte Digest[16];
  MD5OfBuffer(Text.data(), Text.size(), Digest);
  return BytesToHex(Digest, sizeof Digest, true);
}
