// GZipResourceReader.cpp - DeflateStream and ReadGZipMember.
//
// Packed resource layout (a gzip member, RFC 1952, read this way):
//
//   offset  size  meaning
//   0       3     1F 8B 08 (ID1, ID2, CM = deflate); other bytes skip the header fields
//   3       1     FLG; only bit 3 (FNAME) is honoured
//   4       4     MTIME: the Adler-32 of the unpacked data, big-endian
//   8       2     XFL, OS (ignored)
//   10      n+1   the file name and a zero byte, when FNAME is set
//   ...           raw deflate data
//   end-8   8     CRC-32 and ISIZE (not checked)
//
// The member is rebuilt as a zlib stream (78 DA, the deflate data, MTIME as trailer) and
// inflated, so a wrong MTIME is a data error.
#include "report/output/GZipResourceReader.h"

#include <algorithm>
#include <vector>

void DeflateStream(TStream* Source, TStream* Dest, TZCompressionLevel Level) {
  TZCompressionStream Z(Dest, Level);
  Z.CopyFrom(Source, 0);
  Z.Finish();
}

std::string ReadGZipMember(TStream* Source, TStream* Dest) {
  Byte Head[4] = {};
  Source->ReadBuffer(Head, 4);
  Byte MTime[4] = {};
  std::string Name;
  if (Head[0] == 0x1F && Head[1] == 0x8B && Head[2] == 0x08) {
    Source->ReadBuffer(MTime, 4);
    Byte Skip[2];
    Source->ReadBuffer(Skip, 2);
    if (Head[3] & 8) {
      char C = 0;
      while (Source->Read(&C, 1) == 1 && C != 0) Name += C;
    }
  }
  Int64 DataSize = std::max<Int64>(Source->Size() - Source->Position() - 8, 0);
  std::vector<Byte> Zlib{0x78, 0xDA};
  Zlib.resize(2 + static_cast<std::size_t>(DataSize));
  if (DataSize > 0) Source->ReadBuffer(Zlib.data() + 2, DataSize);
  Zlib.insert(Zlib.end(), MTime, MTime + 4);
  std::vector<Byte> Out = InflateBuffer(Zlib.data(), static_cast<Int64>(Zlib.size()));
  if (!Out.empty()) Dest->WriteBuffer(Out.data(), static_cast<Int64>(Out.size()));
  return Name;
}
