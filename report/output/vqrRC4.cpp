// vqrRC4.cpp - RC4.
#include "report/output/vqrRC4.h"

#include <utility>

void TvqrRC4::Start(const void* Key, int KeyLength) {
  if (KeyLength < 1 || KeyLength > 256) return;
  const Byte* K = static_cast<const Byte*>(Key);
  for (int I = 0; I < 256; ++I) FKey[I] = static_cast<Byte>(I);
  int J = 0;
  for (int I = 0; I < 256; ++I) {
    J = (J + FKey[I] + K[I % KeyLength]) & 0xFF;
    std::swap(FKey[I], FKey[J]);
  }
}

void TvqrRC4::Crypt(const void* Source, void* Target, int Length) {
  const Byte* In = static_cast<const Byte*>(Source);
  Byte* Out = static_cast<Byte*>(Target);
  int I = 0, J = 0;
  for (int N = 0; N < Length; ++N) {
    I = (I + 1) & 0xFF;
    J = (J + FKey[I]) & 0xFF;
    std::swap(FKey[I], FKey[J]);
    Out[N] = In[N] ^ FKey[(FKey[I] + FKey[J]) & 0xFF];
  }
}
