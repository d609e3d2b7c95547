// vqrZLib.cpp - the deflating stream, zlib's result texts and the buffer inflater.
#include "report/output/vqrZLib.h"

#include <zlib.h>

#include <algorithm>

namespace {

// ORDER ZLIBCODES: zlib's results from 2 down to -6.
const char16_t* ZErrorText(int Code) {
  switch (Code) {
    case Z_NEED_DICT: return u"need dictionary";
    case Z_STREAM_END: return u"stream end";
    case Z_OK: return u"";
    case Z_ERRNO: return u"file error";
    case Z_STREAM_ERROR: return u"stream error";
    case Z_DATA_ERROR: return u"data error";
    case Z_MEM_ERROR: return u"insufficient memory";
    case Z_BUF_ERROR: return u"buffer error";
    case Z_VERSION_ERROR: return u"incompatible version";
    default: return u"";
  }
}

const char16_t kInvalidOperation[] = u"Invalid ZStream operation!";
constexpr std::size_t kWindow = 0x10000;

int LevelOf(TZCompressionLevel Level) {
  switch (Level) {
    case zcNone: return 0;
    case zcFastest: return 1;
    case zcMax: return 9;
    default: return Z_DEFAULT_COMPRESSION;
  }
}

}  // namespace

int CheckCompress(int Code) {
  if (Code < 0) throw EZCompressionError(ZErrorText(Code));
  return Code;
}

int CheckDecompress(int Code) {
  if (Code < 0) throw EZDecompressionError(ZErrorText(Code));
  return Code;
}

struct TZCompressionStream::TState {
  z_stream Z{};
  int Level = 0;
  Byte Buffer[kWindow];   // left uninitialised: only written output is read back
};

void TZCompressionStream::TStateDeleter::operator()(TState* State) const {
  deflateEnd(&State->Z);
  delete State;
}

// A PDF export deflates every page and font file in turn; zlib's set-up of a compressor
// (some 300 KB allocated and its hash table cleared) costs as much as deflating a page, so
// one finished compressor per thread is kept and reset for the next stream. A reset
// compressor writes the same bytes as a new one.
TZCompressionStream::TStatePtr& TZCompressionStream::IdleState() {
  thread_local TStatePtr Idle;
  return Idle;
}

TZCompressionStream::TStatePtr TZCompressionStream::TakeState(int Level) {
  TStatePtr& Idle = IdleState();
  if (Idle && Idle->Level == Level && deflateReset(&Idle->Z) == Z_OK) return std::move(Idle);
  auto* State = new TState;
  State->Level = Level;
  const int Code = deflateInit(&State->Z, Level);
  if (Code != Z_OK) {
    delete State;   // nothing of zlib's to release after a failed init
    CheckCompress(Code);
  }
  return TStatePtr(State);
}

void TZCompressionStream::ReleaseState(TStatePtr State) {
  TStatePtr& Idle = IdleState();
  if (!Idle) Idle = std::move(State);
}

TZCompressionStream::TZCompressionStream(TStream* Dest, TZCompressionLevel Level)
    : FStream(Dest), FStreamPos(Dest->Position()), FState(TakeState(LevelOf(Level))) {
  FState->Z.next_out = FState->Buffer;
  FState->Z.avail_out = kWindow;
}

TZCompressionStream::~TZCompressionStream() {
  if (FFinished) return;
  try {
    Finish();
  } catch (const Exception&) {
    // A destructor cannot report: callers that need the error call Finish themselves (as
    // DeflateStream does). The zlib state is released by Finish in any case.
  }
}

void TZCompressionStream::WriteWindow(std::size_t Count) {
  FStream->WriteBuffer(FState->Buffer, static_cast<Int64>(Count));
  FStreamPos = FStream->Position();
  FState->Z.next_out = FState->Buffer;
  FState->Z.avail_out = kWindow;
}

Int64 TZCompressionStream::Read(void*, Int64) { throw EZCompressionError(kInvalidOperation); }

Int64 TZCompressionStream::Write(const void* Buffer, Int64 Count) {
  if (!FState) throw EZCompressionError(kInvalidOperation);   // written after Finish
  z_stream& Z = FState->Z;
  Z.next_in = static_cast<Bytef*>(const_cast<void*>(Buffer));
  Z.avail_in = static_cast<uInt>(Count);
  if (FStream->Position() != FStreamPos) FStream->SetPosition(FStreamPos);
  while (Z.avail_in > 0) {
    CheckCompress(deflate(&Z, Z_NO_FLUSH));
    if (Z.avail_out == 0) {
      WriteWindow(kWindow);
      if (FOnProgress) FOnProgress(this);
    }
  }
  return Count;
}

Int64 TZCompressionStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  if (Offset == 0 && Origin == soCurrent)
    return static_cast<Int64>(FState ? FState->Z.total_in : FTotalIn);
  throw EZCompressionError(kInvalidOperation);
}

void TZCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  z_stream& Z = FState->Z;
  Z.next_in = nullptr;
  Z.avail_in = 0;
  // A compressor that failed is freed, not kept.
  if (FStream->Position() != FStreamPos) FStream->SetPosition(FStreamPos);
  while (CheckCompress(deflate(&Z, Z_FINISH)) != Z_STREAM_END) WriteWindow(kWindow - Z.avail_out);
  WriteWindow(kWindow - Z.avail_out);
  FTotalIn = Z.total_in;
  FTotalOut = Z.total_out;
  ReleaseState(std::move(FState));
}

Single TZCompressionStream::CompressionRate() const {
  const unsigned long In = FState ? FState->Z.total_in : FTotalIn;
  const unsigned long Out = FState ? FState->Z.total_out : FTotalOut;
  if (In == 0) return 0;
  return static_cast<Single>((1.0 - static_cast<double>(Out) / In) * 100.0);
}

std::vector<Byte> InflateBuffer(const void* Input, Int64 InputSize, Int64 OutEstimate) {
  const Int64 Step = std::max<Int64>((InputSize + 255) / 256 * 256, 256);
  if (OutEstimate <= 0) OutEstimate = Step;
  std::vector<Byte> Out(static_cast<std::size_t>(OutEstimate));
  z_stream Z{};
  Z.next_in = static_cast<Bytef*>(const_cast<void*>(Input));
  Z.avail_in = static_cast<uInt>(InputSize);
  Z.next_out = Out.data();
  Z.avail_out = static_cast<uInt>(Out.size());
  CheckDecompress(inflateInit(&Z));
  try {
    while (CheckDecompress(inflate(&Z, Z_NO_FLUSH)) != Z_STREAM_END) {
      Out.resize(Out.size() + static_cast<std::size_t>(Step));
      Z.next_out = Out.data() + Z.total_out;
      Z.avail_out = static_cast<uInt>(Step);
    }
  } catch (...) {
    inflateEnd(&Z);
    throw;
  }
  CheckDecompress(inflateEnd(&Z));
  Out.resize(Z.total_out);
  return Out;
}
