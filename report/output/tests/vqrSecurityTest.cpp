// vqrSecurityTest.cpp - MD5 and RC4 against their published vectors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "report/output/vqrRC4.h"
#include "report/output/vqrmd5.h"

TEST(VqrMD5, Rfc1321Vectors) {
  struct {
    const char* Text;
    const char* Hex;
  } Cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& C : Cases) EXPECT_EQ(MD5HexOfText(C.Text), C.Hex) << C.Text;
}

TEST(VqrMD5, PiecewiseUpdatesAndReuse) {
  std::string Text(1000, 'x');
  TvqrMD5 MD5;
  for (std::size_t I = 0; I < Text.size(); I += 7)
    MD5.Update(Text.data() + I, std::min<std::size_t>(7, Text.size() - I));
  MD5.Finalize();
  Byte Whole[16];
  MD5OfBuffer(Text.data(), Text.size(), Whole);
  EXPECT_EQ(std::memcmp(MD5.Digest(), Whole, 16), 0);
  MD5.Init();
  MD5.Update("abc", 3);
  MD5.Finalize();
  EXPECT_EQ(MD5.Digest()[0], 0x90);
}

TEST(VqrRC4, KnownVectors) {
  struct {
    const char* Key;
    const char* Plain;
    const char* Cipher;
  } Cases[] = {
      {"Key", "Plaintext", "BBF316E8D940AF0AD3"},
      {"Wiki", "pedia", "1021BF0420"},
      {"Secret", "Attack at dawn", "45A01F645FC35B383552544B9BF5"},
  };
  for (const auto& C : Cases) {
    TvqrRC4 RC4;
    RC4.Start(C.Key, static_cast<int>(std::strlen(C.Key)));
    std::string Out(std::strlen(C.Plain), '\0');
    RC4.Crypt(C.Plain, Out.data(), static_cast<int>(Out.size()));
    std::string Hex;
    for (unsigned char B : Out) {
      Hex += "0123456789ABCDEF"[B >> 4];
      Hex += "0123456789ABCDEF"[B & 15];
    }
    EXPECT_EQ(Hex, C.Cipher) << C.Key;
  }
}

TEST(VqrRC4, InPlaceAndBadKeyLength) {
  TvqrRC4 RC4;
  RC4.Start("Key", 3);
  char Block[] = "Plaintext";
  RC4.Crypt(Block, Block, 9);
  EXPECT_EQ(static_cast<unsigned char>(Block[0]), 0xBB);
  RC4.Start("Key", 3);
  RC4.Crypt(Block, Block, 9);
  EXPECT_EQ(std::string(Block), "Plaintext");
  TvqrRC4 Empty;
  Empty.Start("", 0);  // ignored: the state stays as it was
  char Zero = 0;
  Empty.Crypt(&Zero, &Zero, 1);
}
