// vqrZLib.h - a thin layer over zlib: a write-only deflating stream, its errors, and an
// inflater for whole zlib streams held in memory.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Streams.h"
#include "platform/rtl/Exceptions.h"

enum TZCompressionLevel { zcNone, zcFastest, zcDefault, zcMax };

VORENTA_DECLARE_EXCEPTION(EZLibError, Exception);
VORENTA_DECLARE_EXCEPTION(EZCompressionError, EZLibError);
VORENTA_DECLARE_EXCEPTION(EZDecompressionError, EZLibError);

// The code when it is 0 or positive; a negative zlib result raises with its message
// ("stream error", "data error", ...).
int CheckCompress(int Code);
int CheckDecompress(int Code);

class TZCompressionStream;
using TZProgressEvent = std::function<void(TZCompressionStream* Sender)>;

// Deflates everything written to it into Dest (a complete zlib stream: header, data,
// Adler-32). Output goes to Dest in whole 64 KB windows, the rest when the stream finishes.
class TZCompressionStream : public TStream {
public:
  TZCompressionStream(TStream* Dest, TZCompressionLevel Level = zcDefault);
  // Finishes the stream when Finish was not called (errors can then only be swallowed: call
  // Finish to see them).
  ~TZCompressionStream() override;

  // Always raises EZCompressionError "Invalid ZStream operation!".
  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  // Seek(0, soCurrent) gives the number of bytes written so far (so Position reads as the
  // uncompressed size); anything else raises "Invalid ZStream operation!".
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;

  // Flushes the last output and ends the deflate stream.
  void Finish();
  // (1 - output / input) * 100, or 0 before any input.
  Single CompressionRate() const;
  // Fired after each full 64 KB window written to Dest.
  const TZProgressEvent& OnProgress() const { return FOnProgress; }
  void SetOnProgress(const TZProgressEvent& Value) { FOnProgress = Value; }

private:
  struct TState;
  struct TStateDeleter {
    void operator()(TState* State) const;
  };
  using TStatePtr = std::unique_ptr<TState, TStateDeleter>;
  // A compressor of Level: the thread's idle one reset when its level matches, else a new one.
  static TStatePtr TakeState(int Level);
  // Keeps a finished compressor as the thread's idle one (or frees it).
  static void ReleaseState(TStatePtr State);
  static TStatePtr& IdleState();
  void WriteWindow(std::size_t Count);

  TStream* FStream;
  Int64 FStreamPos;
  TZProgressEvent FOnProgress;
  TStatePtr FState;
  bool FFinished = false;
  // The totals once Finish has handed the compressor back.
  unsigned long FTotalIn = 0, FTotalOut = 0;
};

// Inflates a whole zlib stream (header, data, Adler-32). The output buffer starts at
// OutEstimate bytes (the input size rounded up to 256 when 0) and grows by that step.
std::vector<Byte> InflateBuffer(const void* Input, Int64 InputSize, Int64 OutEstimate = 0);
