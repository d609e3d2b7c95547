// PackedValuesZk.h - a record's values packed into one block of bytes, and a value read in
// place from such a block.
//
// A table of a million records holds a million value lists: a Variant per value, with each
// text in a block of its own, costs several times the bytes of the values themselves and
// scatters one record over many allocations. Here a record's values share one allocation:
// a type byte per value, integers in as few bytes as keep their sign, and texts inline. A
// text whose characters are all ASCII or lie in one window of 128 characters besides ASCII
// (Cyrillic, Greek, ...) takes one byte a character, any other two.
//
// Layout: the value count (16 bits), then per value a tag byte (kind in the low five bits,
// the form of the payload in the top three) and its payload. Values are found by walking
// from the first; records have few fields and the walk costs a few compares a value.
//
// A block may live in room its owner provides (a record keeps its values right behind itself:
// one allocation, and the values are reached without a second cache miss). Such a block is
// marked by the low bit of the pointer, and the room's capacity sits in the two bytes before
// it. A value that no longer fits moves the block to the heap; the room is then left unused.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Variant.h"

// Room for a text read out of a packed block: short texts stay on the stack.
class TTextBufferZk {
public:
  char16_t* Reserve(std::size_t Length);

private:
  char16_t FLocal[128];
  std::u16string FHeap;
};

// One value of a packed block, read without building a Variant. Valid while the block is
// neither changed nor freed.
class TPackedValueZk {
public:
  TVarType VType() const { return FType; }
  bool IsNone() const { return FType == varNull || FType == varEmpty; }
  bool IsString() const { return FType == varUString || FType == varOleStr || FType == varString; }
  // The bits of a scalar as Variant::TData keeps them.
  std::int64_t Bits() const { return FBits; }
  // The characters of a text, put into Buffer when they are not stored as UTF-16.
  std::u16string_view Text(TTextBufferZk& Buffer) const;
  Variant ToVariant() const;

private:
  friend class TPackedValuesZk;
  TVarType FType = varNull;
  std::uint8_t FForm = 0;
  std::uint16_t FBase = 0;
  std::uint32_t FLength = 0;
  const unsigned char* FBytes = nullptr;
  std::int64_t FBits = 0;
};

class TPackedValuesAppenderZk;

class TPackedValuesZk {
public:
  TPackedValuesZk() = default;
  // Count values, all Null.
  explicit TPackedValuesZk(int Count);
  TPackedValuesZk(const TPackedValuesZk& Other);
  // Room bytes at Room (kRoomOverhead of them for its capacity, the rest for the block): the
  // values start there when they fit, else on the heap.
  TPackedValuesZk(int Count, unsigned char* Room, std::size_t RoomBytes);
  TPackedValuesZk(const TPackedValuesZk& Other, unsigned char* Room, std::size_t RoomBytes);
  // Takes over the values Source holds (boxed values included; the rest of its positions
  // Null), in Room when they fit (Room may be null), and leaves Source empty for new values.
  TPackedValuesZk(TPackedValuesAppenderZk& Source, unsigned char* Room, std::size_t RoomBytes);
  // Moving out of a block kept in room copies it to the heap and leaves the room empty.
  TPackedValuesZk(TPackedValuesZk&& Other);
  TPackedValuesZk& operator=(const TPackedValuesZk& Other);
  // Values that fit this block's room are copied into it; otherwise the block is taken over.
  TPackedValuesZk& operator=(TPackedValuesZk&& Other);
  ~TPackedValuesZk();

  // An owner may keep the block itself instead of this object (a record keeps no pointer while
  // its values sit in its room): ReleaseBlock hands the block over, marked as this object holds
  // it, and the adopting constructor makes an object over such a block again.
  enum TAdoptBlock { kAdopt };
  TPackedValuesZk(TAdoptBlock, unsigned char* MarkedBlock) : FBlock(MarkedBlock) {}
  unsigned char* ReleaseBlock() {
    unsigned char* Result = FBlock;
    FBlock = nullptr;
    return Result;
  }
  // Count() and At() of a block so handed over, read where it lies.
  static int CountOf(const unsigned char* MarkedBlock);
  static TPackedValueZk AtOf(const unsigned char* MarkedBlock, int Index);
  static bool InRoom(const unsigned char* MarkedBlock) {
    return (reinterpret_cast<std::uintptr_t>(MarkedBlock) & 1) != 0;
  }
  // The mark of a block placed at RoomStart + kRoomOverhead in its owner's room.
  static unsigned char* MarkInRoom(unsigned char* RoomStart) {
    return reinterpret_cast<unsigned char*>(reinterpret_cast<std::uintptr_t>(RoomStart + kRoomOverhead) | 1);
  }

  static constexpr std::size_t kRoomOverhead = 2;
  // The room a block of these values needs.
  std::size_t RoomNeeded() const { return kRoomOverhead + ByteSize(); }
  // Whether the block lives in its owner's room.
  bool InRoom() const { return (reinterpret_cast<std::uintptr_t>(FBlock) & 1) != 0; }
  // Every value Null again, in the same block.
  void ClearValues();

  int Count() const { return CountOf(FBlock); }
  TPackedValueZk At(int Index) const { return AtOf(FBlock, Index); }
  Variant Get(int Index) const { return At(Index).ToVariant(); }
  void Set(int Index, const Variant& Value);
  // The bytes of the block (for measuring).
  std::size_t ByteSize() const;

private:
  // Where value Index starts and ends in the block.
  std::pair<std::size_t, std::size_t> Span(int Index) const;
  void ReleaseBoxes();
  unsigned char* Block() const {
    return reinterpret_cast<unsigned char*>(reinterpret_cast<std::uintptr_t>(FBlock) & ~std::uintptr_t{1});
  }
  std::size_t RoomCapacity() const;
  // Puts Size bytes into Room when they fit (answers whether they did).
  bool PlaceInRoom(const unsigned char* Bytes, std::size_t Size, unsigned char* Room, std::size_t RoomBytes);
  // Forgets the block after its bytes and boxes went elsewhere.
  void DropBlockKeepBoxes();
  void CopyBoxes();

  unsigned char* FBlock = nullptr;
};

// Values written one after another in position order, the way a fetch fills a record: no walk
// from the first value for each value, no moves, and one buffer reused for record after record.
// A value for a position before Next() needs TPackedValuesZk::Set instead.
class TPackedValuesAppenderZk {
public:
  explicit TPackedValuesAppenderZk(int Count);
  ~TPackedValuesAppenderZk();
  TPackedValuesAppenderZk(const TPackedValuesAppenderZk&) = delete;
  TPackedValuesAppenderZk& operator=(const TPackedValuesAppenderZk&) = delete;

  int Count() const { return FCount; }
  // The first position still open.
  int Next() const { return FNext; }
  // Value at Index (Next() <= Index < Count()); the positions passed over are Null.
  void Append(int Index, const Variant& Value);
  // A text as a value of the string kind Type (varUString, varOleStr or varString).
  void AppendText(int Index, TVarType Type, std::u16string_view Text);
  // The room (as TPackedValuesZk's room constructors take it) the values need, the positions
  // not yet given counted as Null.
  std::size_t RoomNeeded() const;

private:
  friend class TPackedValuesZk;
  // Nulls up to Index.
  void SkipTo(int Index);
  unsigned char* Reserve(std::size_t Bytes);
  void AppendText(int Index, std::uint8_t Kind, std::u16string_view Text);
  // Starts again with no values; boxed values still held are deleted when DeleteBoxes.
  void Restart(bool DeleteBoxes);

  std::vector<unsigned char> FBytes;
  std::size_t FSize = 0;
  int FCount = 0;
  int FNext = 0;
  bool FHasBoxes = false;
};

// The order of two values as CompareOrderValues gives it for the Variants they hold.
int CompareOrderValues(const TPackedValueZk& V1, const TPackedValueZk& V2, bool CaseInsensitive);
