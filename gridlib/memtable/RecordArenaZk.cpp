// RecordArenaZk.cpp - records cut from aligned chunks, freed places reused.
#include "gridlib/memtable/RecordArenaZk.h"

#include <sys/mman.h>

#include <atomic>
#include <mutex>
#include <cstdint>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define VORENTA_POISON(P, N) ASAN_POISON_MEMORY_REGION(P, N)
#define VORENTA_UNPOISON(P, N) ASAN_UNPOISON_MEMORY_REGION(P, N)
#else
#define VORENTA_POISON(P, N) ((void)(P), (void)(N))
#define VORENTA_UNPOISON(P, N) ((void)(P), (void)(N))
#endif

namespace {
std::atomic<std::size_t> GMappedBytes{0};

// Chunks given back by arenas, up to 128 MB, kept for the next arena: a table opened again
// would otherwise fault in every page of its chunks anew (malloc keeps freed memory the same
// way). Pages marked free to the kernel (MADV_FREE) cost more to use again than they save.
struct TChunkPool {
  std::mutex Lock;
  std::vector<void*> Chunks;
  static constexpr std::size_t kMaxChunks = 512;
};
TChunkPool& Pool() {
  static TChunkPool* P = new TChunkPool;  // never destroyed: arenas may go after static destruction
  return *P;
}

constexpr std::size_t kHeaderBytes = 16;  // keeps the places 16-byte aligned at the start

std::size_t RoundUp(std::size_t Bytes) {
  return (Bytes + TRecordArenaZk::kGranule - 1) / TRecordArenaZk::kGranule * TRecordArenaZk::kGranule;
}

// kChunkBytes at an address aligned to kChunkBytes: twice as much is mapped and the
// unaligned ends given back.
void* MapAlignedChunk() {
  {
    TChunkPool& P = Pool();
    std::lock_guard<std::mutex> Guard(P.Lock);
    if (!P.Chunks.empty()) {
      void* Chunk = P.Chunks.back();
      P.Chunks.pop_back();
      GMappedBytes += TRecordArenaZk::kChunkBytes;
      return Chunk;
    }
  }
  const std::size_t Size = TRecordArenaZk::kChunkBytes;
  void* Raw = mmap(nullptr, 2 * Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (Raw == MAP_FAILED) throw std::bad_alloc();
  const auto Start = reinterpret_cast<std::uintptr_t>(Raw);
  const std::uintptr_t Aligned = (Start + Size - 1) & ~(Size - 1);
  if (Aligned > Start) munmap(Raw, Aligned - Start);
  const std::uintptr_t Tail = Aligned + Size;
  if (Start + 2 * Size > Tail) munmap(reinterpret_cast<void*>(Tail), Start + 2 * Size - Tail);
  GMappedBytes += Size;
  return reinterpret_cast<void*>(Aligned);
}

void UnmapChunk(void* Chunk) {
  GMappedBytes -= TRecordArenaZk::kChunkBytes;
  TChunkPool& P = Pool();
  std::lock_guard<std::mutex> Guard(P.Lock);
  if (P.Chunks.size() < TChunkPool::kMaxChunks) return P.Chunks.push_back(Chunk);
  munmap(Chunk, TRecordArenaZk::kChunkBytes);
}
}  // namespace

std::size_t TRecordArenaZk::MappedBytes() { return GMappedBytes.load(); }

TRecordArenaZk::~TRecordArenaZk() { ReleaseChunks(); }

void TRecordArenaZk::Detach() {
  FDetached = true;
  if (FLive == 0) delete this;
}

void* TRecordArenaZk::Allocate(std::size_t Bytes, std::uint8_t& SizeClass) {
  const std::size_t Size = RoundUp(Bytes);
  const std::size_t Class = Size / kGranule;
  if (Class > kLargestClass || FHeapRecords < kHeapRecords) {
    if (Class <= kLargestClass) ++FHeapRecords;
    SizeClass = 0;
    return ::operator new(Bytes);
  }
  SizeClass = static_cast<std::uint8_t>(Class);
  ++FLive;
  if (TFreePlace* Place = FFree[Class]) {
    VORENTA_UNPOISON(Place, Size);
    FFree[Class] = Place->Next;
    return Place;
  }
  return Carve(Size);
}

void* TRecordArenaZk::Carve(std::size_t Size) {
  if (static_cast<std::size_t>(FEnd - FNext) < Size) NewChunk();
  void* P = FNext;
  FNext += Size;
  VORENTA_UNPOISON(P, Size);
  return P;
}

void TRecordArenaZk::NewChunk() {
  FChunks.reserve(FChunks.size() + 1);
  auto* Chunk = static_cast<unsigned char*>(MapAlignedChunk());
  FChunks.push_back(Chunk);
  reinterpret_cast<TChunkHeader*>(Chunk)->Arena = this;
  FNext = Chunk + kHeaderBytes;
  FEnd = Chunk + kChunkBytes;
  VORENTA_POISON(FNext, FEnd - FNext);
}

void TRecordArenaZk::Free(void* P, std::uint8_t SizeClass) {
  if (!P) return;
  if (SizeClass == 0) return ::operator delete(P);
  const auto Chunk = reinterpret_cast<std::uintptr_t>(P) & ~(kChunkBytes - 1);
  reinterpret_cast<TChunkHeader*>(Chunk)->Arena->Release(P, SizeClass);
}

void TRecordArenaZk::Release(void* P, std::uint8_t SizeClass) {
  if (--FLive == 0) {
    // The last record: the chunks go back now (a cleared table keeps no memory).
    ReleaseChunks();
    if (FDetached) delete this;
    return;
  }
  auto* Place = static_cast<TFreePlace*>(P);
  Place->Next = FFree[SizeClass];
  FFree[SizeClass] = Place;
  VORENTA_POISON(Place, std::size_t{SizeClass} * kGranule);
}

void TRecordArenaZk::ReleaseChunks() {
  for (void* Chunk : FChunks) {
    VORENTA_UNPOISON(Chunk, kChunkBytes);
    UnmapChunk(Chunk);
  }
  FChunks.clear();
  FChunks.shrink_to_fit();
  FNext = FEnd = nullptr;
  for (TFreePlace*& F : FFree) F = nullptr;
}
