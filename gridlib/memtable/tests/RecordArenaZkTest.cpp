// RecordArenaZkTest.cpp - records' memory: heap first, then chunks; places reused by size; an
// arena outliving its list; chunks given back with the last record.
#include "gridlib/memtable/RecordArenaZk.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gridlib/memtable/tests/MemTableTestUtil.h"

namespace {

struct TPlace {
  void* P;
  std::uint8_t Class;
  std::size_t Bytes;
};

TPlace Take(TRecordArenaZk* Arena, std::size_t Bytes) {
  TPlace Place{nullptr, 0, Bytes};
  Place.P = Arena->Allocate(Bytes, Place.Class);
  std::memset(Place.P, static_cast<int>(Bytes & 0xFF), Bytes);
  return Place;
}

TEST(RecordArenaZk, PlacesFromHeapThenChunksReusedBySizeAndGivenBack) {
  const std::size_t MappedBefore = TRecordArenaZk::MappedBytes();
  TRecordArenaZk* Arena = TRecordArenaZk::Create();
  std::vector<TPlace> Places;
  for (int I = 0; I < TRecordArenaZk::kHeapRecords; ++I) Places.push_back(Take(Arena, 100));
  for (const TPlace& P : Places) EXPECT_EQ(P.Class, 0);
  EXPECT_EQ(TRecordArenaZk::MappedBytes(), MappedBefore);

  // Sizes across several chunks, each place filled with its own byte: no two overlap.
  for (int I = 0; I < 20000; ++I) Places.push_back(Take(Arena, 57 + static_cast<std::size_t>(I % 9) * 20));
  EXPECT_GE(TRecordArenaZk::MappedBytes(), MappedBefore + 3 * TRecordArenaZk::kChunkBytes);
  const TPlace Big = Take(Arena, 5000);
  EXPECT_EQ(Big.Class, 0);
  for (const TPlace& P : Places) {
    const auto* Bytes = static_cast<const unsigned char*>(P.P);
    ASSERT_EQ(Bytes[0], P.Bytes & 0xFF);
    ASSERT_EQ(Bytes[P.Bytes - 1], P.Bytes & 0xFF);
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(P.P) % 8, 0u);
  }

  // A freed place goes to the next record of its size class, not to another size.
  const TPlace Freed = Places[TRecordArenaZk::kHeapRecords + 5];
  TRecordArenaZk::Free(Freed.P, Freed.Class);
  Places.push_back(Take(Arena, Freed.Bytes + 8));
  EXPECT_NE(Places.back().P, Freed.P);
  const TPlace Again = Take(Arena, Freed.Bytes - 1);
  EXPECT_EQ(Again.P, Freed.P);
  Places[TRecordArenaZk::kHeapRecords + 5] = Again;

  // The owner lets go first; the records stay usable until each is freed, and the chunks go
  // with the last one.
  Arena->Detach();
  TRecordArenaZk::Free(Big.P, Big.Class);
  for (const TPlace& P : Places) TRecordArenaZk::Free(P.P, P.Class);
  EXPECT_EQ(TRecordArenaZk::MappedBytes(), MappedBefore);
}

TEST(RecordArenaZk, ClearedTableGivesItsChunksBackAndRecordsOutliveTheirList) {
  const std::size_t MappedBefore = TRecordArenaZk::MappedBytes();
  auto Data = MakeContainer({{u"ID", ftInteger}, {u"NM", ftWideString, 40}});
  for (int I = 0; I < 3000; ++I) AddRec(Data.get(), {I, String(u"record ") + IntToStr(I)});
  EXPECT_GT(TRecordArenaZk::MappedBytes(), MappedBefore);
  Data->RecordsList()->Clear();
  EXPECT_EQ(TRecordArenaZk::MappedBytes(), MappedBefore);

  // A record being inserted (not in the list) when its container goes.
  for (int I = 0; I < 100; ++I) AddRec(Data.get(), {I, u"again"});
  TMemoryRecordZk* Pending = Data->RecordsList()->NewRecord();
  Pending->SetDataValue(1, dvvValueZk, u"pending");
  Data.reset();
  EXPECT_EQ(Pending->GetDataValue(1, dvvValueZk).AsString(), u"pending");
  delete Pending;
  EXPECT_EQ(TRecordArenaZk::MappedBytes(), MappedBefore);
}

}  // namespace
