// vqrZLibTest.cpp - the deflating stream, the inflater and packed gzip resources.
#include "report/output/vqrZLib.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "report/output/GZipResourceReader.h"

namespace {

TBytes RandomBytes(std::size_t N) {
  std::mt19937 Gen(7);
  TBytes Out(N);
  for (Byte& B : Out) B = static_cast<Byte>(Gen());
  return Out;
}

// A gzip member as the program's packed resources are made: MTIME holds the big-endian
// Adler-32 of Data (CRC-32 and ISIZE follow but are not checked).
TBytes PackedMember(const TBytes& Data, const std::string& Name, bool WrongAdler = false) {
  TBytes Raw(compressBound(static_cast<uLong>(Data.size())) + 16);
  z_stream Z{};
  deflateInit2(&Z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  Z.next_in = const_cast<Bytef*>(Data.data());
  Z.avail_in = static_cast<uInt>(Data.size());
  Z.next_out = Raw.data();
  Z.avail_out = static_cast<uInt>(Raw.size());
  deflate(&Z, Z_FINISH);
  Raw.resize(Z.total_out);
  deflateEnd(&Z);
  uLong Adler = adler32(adler32(0, nullptr, 0), Data.data(), static_cast<uInt>(Data.size()));
  if (WrongAdler) Adler ^= 1;
  TBytes Out{0x1F, 0x8B, 0x08, static_cast<Byte>(Name.empty() ? 0 : 8)};
  for (int Shift = 24; Shift >= 0; Shift -= 8) Out.push_back(static_cast<Byte>(Adler >> Shift));
  Out.push_back(0);
  Out.push_back(3);
  if (!Name.empty()) {
    Out.insert(Out.end(), Name.begin(), Name.end());
    Out.push_back(0);
  }
  Out.insert(Out.end(), Raw.begin(), Raw.end());
  Out.insert(Out.end(), 8, 0);
  return Out;
}

}  // namespace

TEST(VqrZLib, EmptySourceGivesACompleteStream) {
  TBytesStream Source, Dest;
  DeflateStream(&Source, &Dest, zcFastest);
  TBytes Out = Dest.Bytes();
  ASSERT_GE(Out.size(), 6u);
  EXPECT_EQ(Out[0], 0x78);
  EXPECT_EQ(Out[1], 0x01);
  EXPECT_EQ(TBytes(Out.end() - 4, Out.end()), (TBytes{0, 0, 0, 1}));
  EXPECT_TRUE(InflateBuffer(Out.data(), static_cast<Int64>(Out.size())).empty());
}

TEST(VqrZLib, DeflateAndInflateRoundTrip) {
  TBytes Text(100000);
  for (std::size_t I = 0; I < Text.size(); ++I) Text[I] = static_cast<Byte>("краска "[I % 13]);
  for (TZCompressionLevel Level : {zcNone, zcFastest, zcDefault, zcMax}) {
    TBytesStream Source(Text), Dest;
    Source.SetPosition(500);  // the whole source is taken whatever its position
    DeflateStream(&Source, &Dest, Level);
    TBytes Z = Dest.Bytes();
    EXPECT_EQ(InflateBuffer(Z.data(), static_cast<Int64>(Z.size())), Text) << Level;
  }
}

TEST(VqrZLib, StreamWindowsProgressAndPosition) {
  TBytes Data = RandomBytes(3 * 0x10000);
  TBytesStream Dest;
  int Windows = 0;
  {
    TZCompressionStream Z(&Dest, zcNone);
    Z.SetOnProgress([&](TZCompressionStream* Sender) {
      EXPECT_EQ(Sender, &Z);
      ++Windows;
    });
    Z.WriteBuffer(Data.data(), static_cast<Int64>(Data.size()));
    EXPECT_EQ(Z.Position(), static_cast<Int64>(Data.size()));
    EXPECT_EQ(Dest.Size() % 0x10000, 0);
    try {
      Z.SetPosition(0);
      FAIL();
    } catch (const EZCompressionError& E) {
      EXPECT_EQ(E.Message(), u"Invalid ZStream operation!");
    }
    char C;
    EXPECT_THROW(Z.Read(&C, 1), EZCompressionError);
    Z.Finish();
    EXPECT_LT(Z.CompressionRate(), 0.0f);  // stored blocks grow random data a little
  }
  EXPECT_EQ(Windows, 3);
  TBytes Out = Dest.Bytes();
  EXPECT_EQ(InflateBuffer(Out.data(), static_cast<Int64>(Out.size())), Data);
}

TEST(VqrZLib, InflateBufferEdges) {
  TBytes Data(300, 'a');
  TBytesStream Source(Data), Dest;
  DeflateStream(&Source, &Dest, zcMax);
  TBytes Z = Dest.Bytes();
  // Output exactly the estimate: one more round with room finishes it.
  EXPECT_EQ(InflateBuffer(Z.data(), static_cast<Int64>(Z.size()), 300), Data);
  EXPECT_EQ(InflateBuffer(Z.data(), static_cast<Int64>(Z.size()), 1), Data);
  TBytes Bad = Z;
  Bad[Bad.size() - 1] ^= 0xFF;
  try {
    InflateBuffer(Bad.data(), static_cast<Int64>(Bad.size()));
    FAIL();
  } catch (const EZDecompressionError& E) {
    EXPECT_EQ(E.Message(), u"data error");
  }
  TBytes Cut(Z.begin(), Z.begin() + 4);
  EXPECT_THROW(InflateBuffer(Cut.data(), static_cast<Int64>(Cut.size())), EZDecompressionError);
  EXPECT_EQ(CheckCompress(1), 1);
  EXPECT_THROW(CheckCompress(-6), EZCompressionError);
}

TEST(VqrZLib, PackedGZipMembers) {
  TBytes Bitmap = RandomBytes(19254);
  for (Byte& B : Bitmap) B &= 0x0F;  // compressible, like a bitmap strip
  struct {
    const char* Name;
    std::string Stored;
  } Cases[] = {{"with a stored name", "1"}, {"without FNAME", ""}};
  for (const auto& C : Cases) {
    TBytesStream Source(PackedMember(Bitmap, C.Stored)), Dest;
    EXPECT_EQ(ReadGZipMember(&Source, &Dest), C.Stored) << C.Name;
    EXPECT_EQ(Dest.Bytes(), Bitmap) << C.Name;
  }
  TBytesStream Wrong(PackedMember(Bitmap, "1", true)), Dest;
  EXPECT_THROW(ReadGZipMember(&Wrong, &Dest), EZDecompressionError);
}

// A finished compressor is reset and used again for the next stream: every stream must still
// come out as zlib's one-shot compress2 writes it, across changes of level and after a stream
// that failed to write.
TEST(VqrZLib, ReusedCompressorsWriteWhatAFreshOneWrites) {
  TBytes Text;
  for (int I = 0; I < 4000; ++I) {
    const std::string Line = "0.00 0 0 RG [] 0 d 0.75 w " + std::to_string(I * 37 % 1000) + " m\r\n";
    Text.insert(Text.end(), Line.begin(), Line.end());
  }
  auto OneShot = [&](int Level) {
    TBytes Out(compressBound(uLong(Text.size())));
    uLongf Size = uLongf(Out.size());
    compress2(Out.data(), &Size, Text.data(), uLong(Text.size()), Level);
    Out.resize(Size);
    return Out;
  };
  auto Ours = [&](TZCompressionLevel Level) {
    TBytesStream Source(Text), Dest;
    DeflateStream(&Source, &Dest, Level);
    return Dest.Bytes();
  };
  const std::pair<TZCompressionLevel, int> Levels[] = {
      {zcFastest, 1}, {zcFastest, 1}, {zcMax, 9}, {zcFastest, 1}, {zcDefault, Z_DEFAULT_COMPRESSION}};
  for (const auto& [Level, ZLevel] : Levels) EXPECT_EQ(Ours(Level), OneShot(ZLevel)) << ZLevel;
  // A destination that takes nothing: the stream fails, and its compressor is not kept.
  struct TFull : TStream {
    Int64 Read(void*, Int64) override { return 0; }
    Int64 Write(const void*, Int64) override { return 0; }
    Int64 Seek(Int64, TSeekOrigin) override { return 0; }
  } Full;
  {
    TZCompressionStream Z(&Full, zcFastest);
    Z.WriteBuffer(Text.data(), Int64(Text.size()));
    EXPECT_THROW(Z.Finish(), EWriteError);
  }
  EXPECT_EQ(Ours(zcFastest), OneShot(1));
  TBytesStream Dest;
  TZCompressionStream Z(&Dest, zcFastest);
  Z.Finish();
  char C = 0;
  EXPECT_THROW(Z.Write(&C, 1), EZCompressionError);   // nothing can follow the end
}
