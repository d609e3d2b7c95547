// StreamsTest.cpp - stream round trips, errors and encodings.
#include "platform/classes/Streams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/rtl/Exceptions.h"

namespace {

String TempPath(const char* Name) {
  return Utf8ToString((std::filesystem::temp_directory_path() /
                       ("vorenta-streams-" + std::to_string(::getpid()) + "-" + Name))
                          .string());
}

template <class E>
String MessageOf(auto&& Action) {
  try {
    Action();
  } catch (const E& Error) {
    return Error.Message();
  }
  return u"<no exception>";
}

TEST(MemoryStream, WriteSeekReadRoundTrip) {
  TMemoryStream S;
  const char Data[] = "0123456789";
  S.WriteBuffer(Data, 10);
  EXPECT_EQ(S.Size(), 10);
  EXPECT_EQ(S.Seek(-4, soFromEnd), 6);
  char Tail[4];
  S.ReadBuffer(Tail, 4);
  EXPECT_EQ(std::string(Tail, 4), "6789");
  EXPECT_EQ(S.Read(Tail, 4), 0) << "nothing is left past the end";
  S.SetPosition(12);  // writing past the end fills the gap
  S.WriteBuffer("X", 1);
  EXPECT_EQ(S.Size(), 13);
  EXPECT_EQ(std::string(static_cast<char*>(S.Memory()) + 10, 2), std::string(2, '\0'));
  S.SetSize(3);
  EXPECT_EQ(S.Position(), 3) << "position is clipped to the new end";
  EXPECT_EQ(std::string(static_cast<char*>(S.Memory()), 3), "012");
  S.Clear();
  EXPECT_EQ(S.Size(), 0);
  EXPECT_EQ(S.Memory(), nullptr);
}

TEST(MemoryStream, CapacityGrowsInBlocksAndKeepsData) {
  TMemoryStream S;
  for (int I = 0; I < 20000; ++I) S.WriteBuffer(&I, sizeof I);
  EXPECT_EQ(S.Size(), 80000);
  EXPECT_GE(S.Capacity(), S.Size());
  EXPECT_EQ(S.Capacity() % 0x2000, 0);
  S.SetPosition(4 * 12345);
  int V = 0;
  S.ReadBuffer(&V, sizeof V);
  EXPECT_EQ(V, 12345);
}

TEST(Stream, ReadBufferAndWriteBufferRaiseOnShortCount) {
  TMemoryStream S;
  S.WriteBuffer("ab", 2);
  S.SetPosition(0);
  char Buf[3];
  EXPECT_EQ(MessageOf<EReadError>([&] { S.ReadBuffer(Buf, 3); }), u"Stream read error");
  TResourceStream R("rtl/selftest.txt");
  EXPECT_EQ(MessageOf<EStreamError>([&] { R.Write("x", 1); }),
            u"Can't write to a read-only resource stream");
}

TEST(Stream, CopyFromWholeSourceAndPart) {
  TStringStream Source(u"hello world");
  Source.SetPosition(5);
  TMemoryStream Dest;
  EXPECT_EQ(Dest.CopyFrom(&Source, 0), 11) << "0 copies the whole source from its beginning";
  Source.SetPosition(6);
  Dest.CopyFrom(&Source, 5);
  EXPECT_EQ(std::string(static_cast<char*>(Dest.Memory()), Dest.Size()), "hello worldworld");
  Source.SetPosition(8);
  EXPECT_THROW(Dest.CopyFrom(&Source, 5), EReadError);
}

TEST(FileStream, CreateWriteReopenRead) {
  const String Path = TempPath("a.bin");
  {
    TFileStream F(Path, fmCreate | fmShareExclusive);
    F.WriteBuffer("abcdef", 6);
  }
  {
    TFileStream F(Path, fmOpenReadWrite | fmShareDenyNone);
    EXPECT_EQ(F.Size(), 6);
    F.Seek(2, soFromBeginning);
    F.WriteBuffer("ZZ", 2);
    F.SetSize(5);
  }
  TMemoryStream M;
  M.LoadFromFile(Path);
  EXPECT_EQ(std::string(static_cast<char*>(M.Memory()), M.Size()), "abZZe");
  M.SaveToFile(Path);
  TFileStream F(Path, fmOpenRead);
  EXPECT_EQ(F.Size(), 5);
  EXPECT_EQ(F.Write("x", 1), 0) << "a file opened for reading takes no writes";
  std::filesystem::remove(StringToUtf8(Path));
}

TEST(FileStream, ErrorsNameTheFileAndTheReason) {
  const String Missing = TempPath("missing/none.bin");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream F(Missing, fmOpenRead); }),
            u"Cannot open file \"" + Missing + u"\". No such file or directory");
  EXPECT_EQ(MessageOf<EFCreateError>([&] { TFileStream F(Missing, fmCreate); }),
            u"Cannot create file \"" + Missing + u"\". No such file or directory");
}

TEST(StringStream, EncodingsRoundTrip) {
  const String Text = u"Краска №5";
  struct Case {
    TEncoding Encoding;
    std::string Bytes;
  } Cases[] = {
      {TEncoding::UTF8, "\xD0\x9A\xD1\x80\xD0\xB0\xD1\x81\xD0\xBA\xD0\xB0 \xE2\x84\x96" "5"},
      {TEncoding::ANSI, "\xCA\xF0\xE0\xF1\xEA\xE0 \xB9" "5"},
      {TEncoding::Unicode, std::string("\x1A\x04\x40\x04\x30\x04\x41\x04\x3A\x04\x30\x04 \0\x16!5\0",
                                       18)},
  };
  for (const Case& C : Cases) {
    TStringStream S(Text, C.Encoding);
    EXPECT_EQ(S.Bytes(), C.Bytes) << int(C.Encoding);
    EXPECT_EQ(S.DataString(), Text) << int(C.Encoding);
    TStringStream Raw(std::string_view(C.Bytes), C.Encoding);
    EXPECT_EQ(Raw.DataString(), Text) << int(C.Encoding);
  }
}

TEST(BytesStream, StartsWithDataAtPositionZero) {
  TBytesStream S({1, 2, 3});
  EXPECT_EQ(S.Position(), 0);
  S.Seek(0, soFromEnd);
  S.WriteBuffer("\x04", 1);
  EXPECT_EQ(S.Bytes(), (TBytes{1, 2, 3, 4}));
}

TEST(ResourceStream, ReadsCompiledInFileAndRejectsUnknownName) {
  TResourceStream R("rtl/selftest.txt");
  EXPECT_GT(R.Size(), 0);
  EXPECT_THROW(TResourceStream("no/such/resource"), EResNotFound);
}

}  // namespace
