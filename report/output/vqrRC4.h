// vqrRC4.h - the RC4 stream cipher, used by the PDF export's security handler.
#pragma once

#include "platform/rtl/Types.h"

class TvqrRC4 {
public:
  // The key schedule over a key of 1 to 256 bytes; any other length leaves the state as it is.
  void Start(const void* Key, int KeyLength);
  // XORs Length bytes of Source with the key stream into Target (they may be the same block).
  // The two counters start from zero on every call while the permutation carries over, so
  // one Start followed by one Crypt is plain RC4.
  void Crypt(const void* Source, void* Target, int Length);

private:
  Byte FKey[256] = {};
};
