// Streams.h - byte streams: the abstract TStream and its memory, file, string, bytes and
// resource kinds.
//
// Positions and sizes are 64-bit. Read and Write move as many bytes as they can and say how
// many; ReadBuffer and WriteBuffer insist on the whole count and raise EReadError or
// EWriteError otherwise. Text encodings (TStringStream) are described in Encoding.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/classes/Encoding.h"
#include "platform/classes/Object.h"
#include "platform/rtl/Types.h"

using TBytes = std::vector<Byte>;

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
// The older names of the origins; they are the same values.
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

// File modes for TFileStream: one access mode, or fmCreate, combined (or) with a share mode.
// Share modes are accepted and ignored: files are not locked.
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
  VORENTA_CLASS(TStream, TObject)
public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream();

  // --- Primitive operations ---------------------------------------------------------------
  // Reads up to Count bytes; returns the number read (0 at the end).
  virtual Int64 Read(void* Buffer, Int64 Count) = 0;
  // Writes up to Count bytes; returns the number written.
  virtual Int64 Write(const void* Buffer, Int64 Count) = 0;
  // Moves the position; returns the new position.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  // --- Position and size --------------------------------------------------------------------
  Int64 Position();
  void SetPosition(Int64 Value);
  virtual Int64 Size();
  // Sets the size; the position is kept unless it falls beyond the new end.
  virtual void SetSize(Int64 NewSize);

  // --- Whole-count operations -------------------------------------------------------------
  // Raise EReadError "Stream read error" / EWriteError "Stream write error" when fewer than
  // Count bytes move.
  void ReadBuffer(void* Buffer, Int64 Count);
  void WriteBuffer(const void* Buffer, Int64 Count);
  // Copies Count bytes from Source's position; Count 0 copies the whole of Source from its
  // beginning. Returns the number of bytes copied.
  Int64 CopyFrom(TStream* Source, Int64 Count);
};

// Reads every byte of Stream from its position on.
std::string ReadRestOfStream(TStream* Stream);

// A stream over a block of memory it does not own; reading and seeking only. The base of the
// memory, resource and bytes streams.
class TCustomMemoryStream : public TStream {
  VORENTA_CLASS(TCustomMemoryStream, TStream)
public:
  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return FSize; }

  void* Memory() const { return FMemory; }
  void SaveToStream(TStream* Stream);
  void SaveToFile(const String& FileName);

protected:
  void SetPointer(void* Ptr, Int64 Size);

  void* FMemory = nullptr;
  Int64 FSize = 0;
  Int64 FPosition = 0;
};

// A growable stream in memory. Writing past the end grows the capacity in blocks.
class TMemoryStream : public TCustomMemoryStream {
  VORENTA_CLASS(TMemoryStream, TCustomMemoryStream)
public:
  TMemoryStream() = default;
  ~TMemoryStream() override;

  Int64 Write(const void* Buffer, Int64 Count) override;
  void SetSize(Int64 NewSize) override;

  // Frees the memory; size and position become 0.
  void Clear();
  // Replaces the contents with the whole of Stream (from its beginning) / of the file.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);

  Int64 Capacity() const { return FCapacity; }
  void SetCapacity(Int64 NewCapacity);

private:
  void Reallocate(Int64 NewCapacity);

  Int64 FCapacity = 0;
};

// A memory stream that starts with a copy of Data.
class TBytesStream : public TMemoryStream {
public:
  explicit TBytesStream(const TBytes& Data = {});
  // The bytes of the stream (its Size bytes).
  TBytes Bytes() const;
};

// A memory stream holding text in one encoding (UTF-8 unless said otherwise).
class TStringStream : public TMemoryStream {
public:
  explicit TStringStream(const String& AString = {}, TEncoding Encoding = TEncoding::UTF8);
  // Bytes taken as they are, with no encoding step.
  explicit TStringStream(std::string_view Bytes, TEncoding Encoding = TEncoding::UTF8);

  TEncoding Encoding() const { return FEncoding; }
  // The whole contents decoded from the stream's encoding.
  String DataString() const;
  // The whole contents as bytes.
  std::string Bytes() const;
  // Reads Count bytes (or up to the end) from the position and decodes them.
  String ReadString(Int64 Count);
  // Encodes Value and writes it at the position.
  void WriteString(const String& Value);

private:
  TEncoding FEncoding;
};

// A file on disk. fmCreate creates or truncates the file; the open modes need it to exist.
// Failures raise EFCreateError "Cannot create file \"%s\". %s" or EFOpenError
// "Cannot open file \"%s\". %s" with the system's reason.
class TFileStream : public TStream {
  VORENTA_CLASS(TFileStream, TStream)
public:
  TFileStream(const String& FileName, Word Mode);
  ~TFileStream() override;

  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SetSize(Int64 NewSize) override;

  const String& FileName() const { return FFileName; }
  int Handle() const { return FHandle; }

private:
  String FFileName;
  int FHandle = -1;
};

// A read-only stream over a resource compiled into the program (see platform/rtl/Resources.h);
// an unknown name raises EResNotFound. Writing raises EStreamError.
class TResourceStream : public TCustomMemoryStream {
public:
  explicit TResourceStream(std::string_view ResName);
  Int64 Write(const void* Buffer, Int64 Count) override;
};
