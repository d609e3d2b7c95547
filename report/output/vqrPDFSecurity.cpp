// vqrPDFSecurity.cpp - the PDF standard security handler over TvqrMD5 and TvqrRC4.
#include "report/output/vqrPDFSecurity.h"

#include <cstring>

#include "report/output/vqrRC4.h"
#include "report/output/vqrmd5.h"

namespace {

const unsigned char kPadding[32] = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

std::string MD5(std::string_view Data) {
  Byte Digest[16];
  MD5OfBuffer(Data.data(), Data.size(), Digest);
  return std::string(reinterpret_cast<const char*>(Digest), 16);
}

// MD5 and then 50 more rounds over the 16-byte digest.
std::string MD5Rounds(std::string_view Data) {
  std::string D = MD5(Data);
  for (int I = 0; I < 50; ++I) D = MD5(D);
  return D;
}

void RC4(std::string_view Key, std::string& Data) {
  TvqrRC4 Cipher;
  Cipher.Start(Key.data(), int(Key.size()));
  Cipher.Crypt(Data.data(), Data.data(), int(Data.size()));
}

// RC4 with the key, then 19 more passes with every key byte XORed with the pass number.
void RC4Passes(std::string_view Key, std::string& Data) {
  RC4(Key, Data);
  for (int I = 1; I <= 19; ++I) {
    std::string K(Key);
    for (char& C : K) C = char(C ^ I);
    RC4(K, Data);
  }
}

std::string HexToBytes(std::string_view Hex) {
  auto Nibble = [](char C) {
    return C <= '9' ? C - '0' : (C | 0x20) - 'a' + 10;
  };
  std::string Bytes;
  for (std::size_t I = 0; I + 1 < Hex.size(); I += 2)
    Bytes += char(Nibble(Hex[I]) * 16 + Nibble(Hex[I + 1]));
  return Bytes;
}

}  // namespace

int ProtectionValue(TvqrPDFEncBits Flags) {
  int Bits = 0;
  for (TvqrPDFEncBit B : {ePrint, eModify, eCopy, eAnnot})
    if (Flags.Contains(B)) Bits |= 1 << int(B);
  return Bits * 4 - 64;
}

std::string PadPassword(std::string_view Password) {
  std::string Padded(Password.substr(0, 32));
  Padded.append(reinterpret_cast<const char*>(kPadding), 32 - Padded.size());
  return Padded;
}

TvqrPDFSecurityKeys ComputeSecurityKeys(std::string_view Owner, std::string_view User, int P,
                                        std::string_view FileIdHex) {
  TvqrPDFSecurityKeys Keys;
  const std::string OwnerKey = MD5Rounds(PadPassword(Owner));
  Keys.O = PadPassword(User);
  RC4Passes(OwnerKey, Keys.O);
  const std::string Id = HexToBytes(FileIdHex);
  std::string Seed = PadPassword(User) + Keys.O;
  for (int I = 0; I < 4; ++I) Seed += char((unsigned(P) >> (8 * I)) & 0xFF);
  Seed += Id;
  Keys.Key = MD5Rounds(Seed);
  Keys.U = MD5(std::string(reinterpret_cast<const char*>(kPadding), 32) + Id);
  RC4Passes(Keys.Key, Keys.U);
  Keys.U.append(16, '\0');
  return Keys;
}

std::string ObjectKey(std::string_view DocumentKey, int Object) {
  std::string Seed(DocumentKey);
  for (int I = 0; I < 3; ++I) Seed += char((unsigned(Object) >> (8 * I)) & 0xFF);
  Seed.append(2, '\0');
  return MD5(Seed);
}

void EncryptObjectData(std::string_view DocumentKey, int Object, std::string& Data) {
  RC4(ObjectKey(DocumentKey, Object), Data);
}

std::string EscapeLiteralString(std::string_view Text) {
  std::string Out;
  Out.reserve(Text.size() + 8);
  for (char C : Text) {
    switch (C) {
      case '\n': Out += "\\n"; break;
      case '\r': Out += "\\r"; break;
      case '(': Out += "\\("; break;
      case ')': Out += "\\)"; break;
      case '\\': Out += "\\\\"; break;
      default: Out += C;
    }
  }
  return Out;
}
