// RecordArenaZk.h - the memory of a records list's records: cut from large chunks, and the
// place of a freed record reused by the next record of its size.
//
// A million records fetched with a malloc each spend most of the fetch in malloc (on a heap
// that earlier work fragmented it searches its bins for every record), and malloc's header
// and rounding add about 16 bytes a record. Here records are cut from chunks in steps of
// 8 bytes, with no header: a record keeps its size class (one byte) itself.
//
// Chunks are mapped at an address aligned to their size, so a record finds its chunk's header,
// and through it the arena, from its own address. The arena lives until its owner lets go and
// its last record is freed, so a record may outlive the list that made it. When the last
// record goes, the chunks go with it (a cleared table keeps no memory): up to a limit to a pool
// the next arena takes its chunks from, the rest back to the system. The first
// records of an arena come from the heap: a small table, or the shadow list of one applied
// change, maps no chunk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TRecordArenaZk {
public:
  // A new arena, owned by the caller until Detach.
  static TRecordArenaZk* Create() { return new TRecordArenaZk; }
  // The owner lets go: the arena goes now if it holds no record, else with its last record.
  void Detach();

  // Bytes for one record. SizeClass receives what Free needs back: 0 for a place on the heap.
  void* Allocate(std::size_t Bytes, std::uint8_t& SizeClass);
  static void Free(void* P, std::uint8_t SizeClass);

  static constexpr std::size_t kChunkBytes = std::size_t{256} * 1024;
  static constexpr std::size_t kGranule = 8;
  static constexpr std::size_t kLargestClass = 255;  // places up to 255 * 8 bytes; larger: heap
  static constexpr int kHeapRecords = 64;
  // The bytes of the chunks arenas hold, pooled chunks not counted (for measuring memory use
  // beside malloc's figures).
  static std::size_t MappedBytes();

private:
  TRecordArenaZk() = default;
  ~TRecordArenaZk();
  TRecordArenaZk(const TRecordArenaZk&) = delete;
  TRecordArenaZk& operator=(const TRecordArenaZk&) = delete;

  struct TChunkHeader {
    TRecordArenaZk* Arena;
  };
  struct TFreePlace {
    TFreePlace* Next;
  };
  void* Carve(std::size_t Bytes);
  void NewChunk();
  void Release(void* P, std::uint8_t SizeClass);
  void ReleaseChunks();

  std::vector<void*> FChunks;
  unsigned char* FNext = nullptr;  // the unused rest of the newest chunk
  unsigned char* FEnd = nullptr;
  TFreePlace* FFree[kLargestClass + 1] = {};
  std::size_t FLive = 0;  // records in chunks
  int FHeapRecords = 0;
  bool FDetached = false;
};
