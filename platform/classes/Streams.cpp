// Streams.cpp - the stream classes.
#include "platform/classes/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Resources.h"

REGISTER_CLASS(TStream) {}
REGISTER_CLASS(TCustomMemoryStream) {}
REGISTER_CLASS(TMemoryStream) {}
REGISTER_CLASS(TFileStream) {}

namespace {

// Memory streams grow in blocks of this size so that many small writes stay cheap.
constexpr Int64 kMemoryDelta = 0x2000;
constexpr Int64 kCopyBlock = 0xF000;

String SystemErrorText(int Code) { return Utf8ToString(std::strerror(Code)); }

String FileErrorMessage(const char16_t* Prefix, const String& FileName, int Code) {
  return Prefix + FileName + u"\". " + SystemErrorText(Code);
}

[[noreturn]] void RaiseCreateError(const String& FileName, int Code) {
  throw EFCreateError(FileErrorMessage(u"Cannot create file \"", FileName, Code));
}

[[noreturn]] void RaiseOpenError(const String& FileName, int Code) {
  throw EFOpenError(FileErrorMessage(u"Cannot open file \"", FileName, Code));
}

int OpenFlags(Word Mode) {
  if ((Mode & fmCreate) == fmCreate) return O_RDWR | O_CREAT | O_TRUNC;
  switch (Mode & 0x0003) {
    case fmOpenWrite: return O_WRONLY;
    case fmOpenReadWrite: return O_RDWR;
    default: return O_RDONLY;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TStream

TStream::~TStream() = default;

Int64 TStream::Position() { return Seek(0, soCurrent); }

void TStream::SetPosition(Int64 Value) { Seek(Value, soBeginning); }

Int64 TStream::Size() {
  const Int64 Pos = Seek(0, soCurrent);
  const Int64 Result = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

void TStream::SetSize(Int64) {}

void TStream::ReadBuffer(void* Buffer, Int64 Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, Int64 Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(u"Stream write error");
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  const Int64 Result = Count;
  std::vector<Byte> Block(static_cast<std::size_t>(std::min(Count, kCopyBlock)));
  while (Count > 0) {
    const Int64 N = std::min(Count, kCopyBlock);
    Source->ReadBuffer(Block.data(), N);
    WriteBuffer(Block.data(), N);
    Count -= N;
  }
  return Result;
}

std::string ReadRestOfStream(TStream* Stream) {
  const Int64 Count = Stream->Size() - Stream->Position();
  std::string Data(std::size_t(std::max<Int64>(0, Count)), '\0');
  if (!Data.empty()) Stream->ReadBuffer(Data.data(), Int64(Data.size()));
  return Data;
}

// ---------------------------------------------------------------------------------------------
// TCustomMemoryStream

void TCustomMemoryStream::SetPointer(void* Ptr, Int64 Size) {
  FMemory = Ptr;
  FSize = Size;
}

Int64 TCustomMemoryStream::Read(void* Buffer, Int64 Count) {
  if (Count <= 0 || FPosition < 0 || FPosition >= FSize) return 0;
  const Int64 N = std::min(Count, FSize - FPosition);
  std::memcpy(Buffer, static_cast<const Byte*>(FMemory) + FPosition, static_cast<std::size_t>(N));
  FPosition += N;
  return N;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FSize + Offset; break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) { Stream->WriteBuffer(FMemory, FSize); }

void TCustomMemoryStream::SaveToFile(const String& FileName) {
  TFileStream File(FileName, fmCreate);
  SaveToStream(&File);
}

// ---------------------------------------------------------------------------------------------
// TMemoryStream

TMemoryStream::~TMemoryStream() { std::free(FMemory); }

void TMemoryStream::Reallocate(Int64 NewCapacity) {
  if (NewCapacity == FCapacity) return;
  if (NewCapacity == 0) {
    std::free(FMemory);
    FMemory = nullptr;
    FCapacity = 0;
    return;
  }
  void* P = std::realloc(FMemory, static_cast<std::size_t>(NewCapacity));
  if (!P) throw EOutOfMemory(u"Out of memory while expanding memory stream");
  FMemory = P;
  FCapacity = NewCapacity;
}

void TMemoryStream::SetCapacity(Int64 NewCapacity) {
  Reallocate(std::max(NewCapacity, FSize));
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) NewSize = 0;
  // Growth by half the capacity at least, so that writing a large stream in small pieces
  // copies it a few times, not once per 8 KB.
  if (NewSize > FCapacity) {
    const Int64 Wanted = std::max(NewSize, FCapacity + FCapacity / 2);
    Reallocate((Wanted + kMemoryDelta - 1) / kMemoryDelta * kMemoryDelta);
  }
  // A gap left by seeking past the end reads as zeros, never as stale memory.
  if (NewSize > FSize)
    std::memset(static_cast<Byte*>(FMemory) + FSize, 0, static_cast<std::size_t>(NewSize - FSize));
  FSize = NewSize;
  if (FPosition > NewSize) FPosition = NewSize;
}

Int64 TMemoryStream::Write(const void* Buffer, Int64 Count) {
  if (Count <= 0 || FPosition < 0) return 0;
  const Int64 End = FPosition + Count;
  if (End > FSize) {
    const Int64 Pos = FPosition;
    SetSize(End);
    FPosition = Pos;
  }
  std::memcpy(static_cast<Byte*>(FMemory) + FPosition, Buffer, static_cast<std::size_t>(Count));
  FPosition = End;
  return Count;
}

void TMemoryStream::Clear() {
  Reallocate(0);
  FSize = 0;
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  const Int64 Count = Stream->Size();
  SetSize(Count);
  if (Count != 0) Stream->ReadBuffer(FMemory, Count);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&File);
}

// ---------------------------------------------------------------------------------------------
// TBytesStream

TBytesStream::TBytesStream(const TBytes& Data) {
  WriteBuffer(Data.data(), static_cast<Int64>(Data.size()));
  FPosition = 0;
}

TBytes TBytesStream::Bytes() const {
  const Byte* P = static_cast<const Byte*>(FMemory);
  return TBytes(P, P + FSize);
}

// ---------------------------------------------------------------------------------------------
// TStringStream

TStringStream::TStringStream(const String& AString, TEncoding Encoding) : FEncoding(Encoding) {
  const std::string Bytes = EncodeText(AString, Encoding);
  WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  FPosition = 0;
}

TStringStream::TStringStream(std::string_view Bytes, TEncoding Encoding) : FEncoding(Encoding) {
  WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  FPosition = 0;
}

std::string TStringStream::Bytes() const {
  return std::string(static_cast<const char*>(FMemory), static_cast<std::size_t>(FSize));
}

String TStringStream::DataString() const { return DecodeText(Bytes(), FEncoding); }

String TStringStream::ReadString(Int64 Count) {
  std::string Bytes(static_cast<std::size_t>(std::max<Int64>(0, std::min(Count, FSize - FPosition))),
                    '\0');
  Read(Bytes.data(), static_cast<Int64>(Bytes.size()));
  return DecodeText(Bytes, FEncoding);
}

void TStringStream::WriteString(const String& Value) {
  const std::string Bytes = EncodeText(Value, FEncoding);
  WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
}

// ---------------------------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const String& FileName, Word Mode) : FFileName(FileName) {
  const std::string Path = StringToUtf8(FileName);
  FHandle = ::open(Path.c_str(), OpenFlags(Mode) | O_CLOEXEC, 0666);
  if (FHandle >= 0) return;
  const int Code = errno;
  if ((Mode & fmCreate) == fmCreate) RaiseCreateError(FileName, Code);
  RaiseOpenError(FileName, Code);
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

Int64 TFileStream::Read(void* Buffer, Int64 Count) {
  Int64 Done = 0;
  while (Done < Count) {
    const ssize_t N = ::read(FHandle, static_cast<Byte*>(Buffer) + Done,
                             static_cast<std::size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += N;
  }
  return Done;
}

Int64 TFileStream::Write(const void* Buffer, Int64 Count) {
  Int64 Done = 0;
  while (Done < Count) {
    const ssize_t N = ::write(FHandle, static_cast<const Byte*>(Buffer) + Done,
                              static_cast<std::size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += N;
  }
  return Done;
}

Int64 TFileStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const int Whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return ::lseek(FHandle, Offset, Whence);
}

void TFileStream::SetSize(Int64 NewSize) {
  const Int64 Pos = Position();
  if (::ftruncate(FHandle, NewSize) != 0)
    throw EStreamError(u"Cannot set the size of file \"" + FFileName + u"\". " +
                       SystemErrorText(errno));
  if (Pos > NewSize) Seek(NewSize, soBeginning);
}

// ---------------------------------------------------------------------------------------------
// TResourceStream

TResourceStream::TResourceStream(std::string_view ResName) {
  const std::string_view Bytes = LoadResource(ResName);
  // The resource's bytes are read-only; Write refuses, so the cast never leads to a store.
  SetPointer(const_cast<char*>(Bytes.data()), static_cast<Int64>(Bytes.size()));
}

Int64 TResourceStream::Write(const void*, Int64) {
  throw EStreamError(u"Can't write to a read-only resource stream");
}
