// PackedValuesZk.cpp - packing a record's values into one block and reading them in place.
#include "gridlib/memtable/PackedValuesZk.h"

#include <malloc.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <memory>
#include <new>

#include "gridlib/memtable/MTOrderByZk.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Value kinds (the tag's low five bits).
enum : std::uint8_t {
  kNull, kEmpty, kSmallint, kInteger, kSingle, kDouble, kCurrency, kDate, kError, kBoolean,
  kShortInt, kByte, kWord, kLongWord, kInt64, kUInt64, kHandle, kOleStr, kString, kUString,
  kBoxed
};
constexpr TVarType kKindTypes[] = {varNull,     varEmpty,    varSmallint, varInteger, varSingle,
                                   varDouble,   varCurrency, varDate,     varError,   varBoolean,
                                   varShortInt, varByte,     varWord,     varLongWord, varInt64,
                                   varUInt64,   varObjectHandle, varOleStr, varString,  varUString};

// Text forms (the tag's top three bits): UTF-16, ASCII only, or ASCII plus one window.
enum : std::uint8_t { kWide, kAscii, kWindow };
// Scalar forms: the payload's byte count. Forms 0-5 hold the value's bits sign-extended from
// that many bytes; forms 6 and 7 (doubles and dates only) a short decimal: the low four bits
// the count of decimal places, the rest the signed digits, the value being digits / 10^places
// (one correctly rounded division, so it comes back bit for bit). Prices and times of day are
// such decimals: 3 or 4 bytes in place of 8.
constexpr std::size_t kScalarBytes[] = {0, 1, 2, 4, 8, 3, 3, 4};
enum : std::uint8_t { kForm3Bytes = 5, kDecimal3 = 6, kDecimal4 = 7 };
constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

constexpr std::size_t kHeader = 2;

std::uint8_t KindOf(TVarType Type) {
  switch (Type) {
    case varNull: return kNull;
    case varEmpty: return kEmpty;
    case varSmallint: return kSmallint;
    case varInteger: return kInteger;
    case varSingle: return kSingle;
    case varDouble: return kDouble;
    case varCurrency: return kCurrency;
    case varDate: return kDate;
    case varError: return kError;
    case varBoolean: return kBoolean;
    case varShortInt: return kShortInt;
    case varByte: return kByte;
    case varWord: return kWord;
    case varLongWord: return kLongWord;
    case varInt64: return kInt64;
    case varUInt64: return kUInt64;
    case varObjectHandle: return kHandle;
    case varOleStr: return kOleStr;
    case varString: return kString;
    case varUString: return kUString;
    default: return kBoxed;
  }
}

bool IsTextKind(std::uint8_t Kind) { return Kind >= kOleStr && Kind <= kUString; }
bool IsScalarKind(std::uint8_t Kind) { return Kind >= kSmallint && Kind <= kHandle; }

std::int64_t ScalarBits(const Variant& V) {
  if (V.VType() == varSingle) {
    std::uint32_t B;
    std::memcpy(&B, &V.Data().Single, sizeof B);
    return B;
  }
  std::int64_t B;
  std::memcpy(&B, &V.Data(), sizeof B);
  return B;
}

bool FitsBytes(std::int64_t Bits, int Bytes) {
  const int Shift = 64 - 8 * Bytes;
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(Bits) << Shift) >> Shift == Bits;
}

// The smallest form whose bytes, sign-extended, give Bits back.
std::uint8_t ScalarForm(std::int64_t Bits) {
  if (Bits == 0) return 0;
  if (Bits == static_cast<std::int8_t>(Bits)) return 1;
  if (Bits == static_cast<std::int16_t>(Bits)) return 2;
  if (FitsBytes(Bits, 3)) return kForm3Bytes;
  if (Bits == static_cast<std::int32_t>(Bits)) return 3;
  return 4;
}

std::int64_t DoubleBits(double D) {
  std::int64_t B;
  std::memcpy(&B, &D, sizeof B);
  return B;
}

// The decimal form of a double that is a short decimal (see kScalarBytes): its payload in Raw.
bool DecimalForm(std::int64_t Bits, std::int64_t& Raw, std::uint8_t& Form) {
  double V;
  std::memcpy(&V, &Bits, sizeof V);
  constexpr double kMaxDigits = 1 << 27;  // what four bytes hold beside the places
  if (!(std::fabs(V) < kMaxDigits)) return false;  // NaN too
  for (std::int64_t Places = 0; Places < 16; ++Places) {
    const double Digits = std::nearbyint(V * kPow10[Places]);
    if (std::fabs(Digits) >= kMaxDigits) return false;
    const auto N = static_cast<std::int64_t>(Digits);
    if (DoubleBits(static_cast<double>(N) / kPow10[Places]) == Bits) {
      Raw = N * 16 + Places;
      Form = FitsBytes(Raw, 3) ? kDecimal3 : kDecimal4;
      return true;
    }
  }
  return false;
}

std::size_t VarUIntSize(std::uint32_t N) {
  std::size_t S = 1;
  while (N >= 0x80) {
    N >>= 7;
    ++S;
  }
  return S;
}

unsigned char* PutVarUInt(unsigned char* P, std::uint32_t N) {
  while (N >= 0x80) {
    *P++ = static_cast<unsigned char>(N | 0x80);
    N >>= 7;
  }
  *P++ = static_cast<unsigned char>(N);
  return P;
}

const unsigned char* GetVarUInt(const unsigned char* P, std::uint32_t& N) {
  N = 0;
  for (int Shift = 0;; Shift += 7) {
    const unsigned char B = *P++;
    N |= static_cast<std::uint32_t>(B & 0x7F) << Shift;
    if (!(B & 0x80)) return P;
  }
}

// How one value is written: its tag and payload size, worked out once before writing.
struct TEncoding {
  std::uint8_t Kind = kNull;
  std::uint8_t Form = 0;
  std::int64_t Bits = 0;
  std::u16string_view Text;
  std::uint16_t Base = 0;
  std::size_t Size = 1;  // tag included
};

// The narrow form of a text, if it has one: every character ASCII or in one window of 128.
std::uint8_t TextForm(std::u16string_view S, std::uint16_t& Base) {
  Base = 0;
  bool Window = false;
  for (char16_t C : S) {
    if (C < 0x80) continue;
    if (!Window) {
      if (C >= 0x8000) return kWide;
      Base = static_cast<std::uint16_t>(C & ~0x7F);
      Window = true;
    } else if (C < Base || C >= Base + 0x80) {
      return kWide;
    }
  }
  return Window ? kWindow : kAscii;
}

TEncoding Encoding(const Variant& V) {
  TEncoding E;
  E.Kind = KindOf(V.VType());
  if (IsScalarKind(E.Kind)) {
    E.Bits = ScalarBits(V);
    E.Form = ScalarForm(E.Bits);
    if (E.Form == 4 && (E.Kind == kDouble || E.Kind == kDate)) DecimalForm(E.Bits, E.Bits, E.Form);
    E.Size += kScalarBytes[E.Form];
  } else if (IsTextKind(E.Kind)) {
    E.Text = V.StringRef();
    E.Form = TextForm(E.Text, E.Base);
    const auto Length = static_cast<std::uint32_t>(E.Text.size());
    E.Size += VarUIntSize(Length) + (E.Form == kWindow ? 1 : 0) + (E.Form == kWide ? 2 * E.Text.size() : E.Text.size());
  } else if (E.Kind == kBoxed) {
    E.Size += sizeof(Variant*);
  }
  return E;
}

// Box is the boxed value's own copy (made before the block changes, so nothing can fail here).
void Write(const TEncoding& E, Variant* Box, unsigned char* P) {
  *P++ = static_cast<unsigned char>(E.Kind | (E.Form << 5));
  if (IsScalarKind(E.Kind)) {
    std::memcpy(P, &E.Bits, kScalarBytes[E.Form]);  // little-endian: the low bytes
  } else if (IsTextKind(E.Kind)) {
    P = PutVarUInt(P, static_cast<std::uint32_t>(E.Text.size()));
    if (E.Form == kWide) {
      std::memcpy(P, E.Text.data(), 2 * E.Text.size());
      return;
    }
    if (E.Form == kWindow) *P++ = static_cast<unsigned char>(E.Base >> 7);
    for (char16_t C : E.Text) *P++ = static_cast<unsigned char>(C < 0x80 ? C : 0x80 + (C - E.Base));
  } else if (E.Kind == kBoxed) {
    std::memcpy(P, &Box, sizeof Box);
  }
}

// Reads the value at P; answers where the next one starts.
const unsigned char* Read(const unsigned char* P, TVarType& Type, std::uint8_t& Form,
                          std::uint16_t& Base, std::uint32_t& Length, const unsigned char*& Bytes,
                          std::int64_t& Bits) {
  const std::uint8_t Tag = *P++;
  const std::uint8_t Kind = Tag & 31;
  Form = Tag >> 5;
  Type = Kind == kBoxed ? varVariant : kKindTypes[Kind];
  if (IsScalarKind(Kind)) {
    const std::size_t N = kScalarBytes[Form];
    Bits = 0;
    if (N > 0) {
      std::memcpy(&Bits, P, N);
      const int Shift = static_cast<int>(64 - 8 * N);
      if (Shift > 0) Bits = static_cast<std::int64_t>(static_cast<std::uint64_t>(Bits) << Shift) >> Shift;
      if (Form >= kDecimal3) Bits = DoubleBits(static_cast<double>(Bits >> 4) / kPow10[Bits & 15]);
    }
    return P + N;
  }
  if (IsTextKind(Kind)) {
    P = GetVarUInt(P, Length);
    if (Form == kWindow) Base = static_cast<std::uint16_t>(*P++ << 7);
    Bytes = P;
    return P + (Form == kWide ? 2 * std::size_t{Length} : Length);
  }
  if (Kind == kBoxed) {
    Bytes = P;
    return P + sizeof(Variant*);
  }
  return P;
}

const unsigned char* Skip(const unsigned char* P) {
  TVarType Type;
  std::uint8_t Form;
  std::uint16_t Base;
  std::uint32_t Length;
  const unsigned char* Bytes;
  std::int64_t Bits;
  return Read(P, Type, Form, Base, Length, Bytes, Bits);
}

Variant* BoxAt(const unsigned char* P) {
  Variant* Box;
  std::memcpy(&Box, P, sizeof Box);
  return Box;
}

std::uint16_t BlockCount(const unsigned char* Block) {
  std::uint16_t N = 0;
  if (Block) std::memcpy(&N, Block, sizeof N);
  return N;
}

unsigned char* Allocate(std::size_t Size) {
  auto* P = static_cast<unsigned char*>(std::malloc(Size));
  if (!P) throw std::bad_alloc();
  return P;
}

}  // namespace

// --- TTextBufferZk -------------------------------------------------------------------------------

char16_t* TTextBufferZk::Reserve(std::size_t Length) {
  if (Length <= sizeof FLocal / sizeof FLocal[0]) return FLocal;
  FHeap.resize(Length);
  return FHeap.data();
}

// --- TPackedValueZk ------------------------------------------------------------------------------

std::u16string_view TPackedValueZk::Text(TTextBufferZk& Buffer) const {
  char16_t* Chars = Buffer.Reserve(FLength);
  if (FForm == kWide) {
    std::memcpy(Chars, FBytes, 2 * std::size_t{FLength});
  } else {
    // Without a branch per character: mixed scripts would mispredict half of them.
    const auto Shift = static_cast<std::uint16_t>(FBase - 0x80);
    for (std::uint32_t I = 0; I < FLength; ++I) {
      const std::uint16_t B = FBytes[I];
      Chars[I] = static_cast<char16_t>(B + (static_cast<std::uint16_t>(-(B >> 7)) & Shift));
    }
  }
  return {Chars, FLength};
}

Variant TPackedValueZk::ToVariant() const {
  switch (FType) {
    case varNull: return Variant::MakeNull();
    case varEmpty: return Variant();
    case varVariant: return *BoxAt(FBytes);
    default: break;
  }
  if (IsString()) {
    TTextBufferZk Buffer;
    Variant V(Text(Buffer));
    V.SetStringType(FType);
    return V;
  }
  Variant::TData D;
  if (FType == varSingle) {
    const auto B = static_cast<std::uint32_t>(FBits);
    std::memcpy(&D.Single, &B, sizeof B);
  } else {
    std::memcpy(&D, &FBits, sizeof FBits);
  }
  return Variant::FromRaw(FType, D);
}

// --- TPackedValuesZk -----------------------------------------------------------------------------

namespace {
void WriteNulls(unsigned char* Block, int Count) {
  const auto N = static_cast<std::uint16_t>(Count);
  std::memcpy(Block, &N, sizeof N);
  std::memset(Block + kHeader, kNull, static_cast<std::size_t>(Count));
}
unsigned char* Tagged(unsigned char* Block) {
  return reinterpret_cast<unsigned char*>(reinterpret_cast<std::uintptr_t>(Block) | 1);
}
}  // namespace

TPackedValuesZk::TPackedValuesZk(int Count) {
  if (Count <= 0) return;
  if (Count > 0xFFFF) throw Exception(u"Too many fields in a record");
  FBlock = Allocate(kHeader + static_cast<std::size_t>(Count));
  WriteNulls(FBlock, Count);
}

TPackedValuesZk::TPackedValuesZk(int Count, unsigned char* Room, std::size_t RoomBytes) {
  if (Count <= 0) return;
  if (Count > 0xFFFF) throw Exception(u"Too many fields in a record");
  const std::size_t Size = kHeader + static_cast<std::size_t>(Count);
  if (RoomBytes >= kRoomOverhead + Size) {
    const auto Capacity = static_cast<std::uint16_t>(std::min<std::size_t>(RoomBytes - kRoomOverhead, 0xFFFF));
    std::memcpy(Room, &Capacity, sizeof Capacity);
    FBlock = Tagged(Room + kRoomOverhead);
  } else {
    FBlock = Allocate(Size);
  }
  WriteNulls(Block(), Count);
}

TPackedValuesZk::TPackedValuesZk(const TPackedValuesZk& Other) {
  if (!Other.FBlock) return;
  const std::size_t Size = Other.ByteSize();
  FBlock = Allocate(Size);
  std::memcpy(FBlock, Other.Block(), Size);
  CopyBoxes();
}

TPackedValuesZk::TPackedValuesZk(const TPackedValuesZk& Other, unsigned char* Room, std::size_t RoomBytes) {
  if (!Other.FBlock) return;
  const std::size_t Size = Other.ByteSize();
  if (!PlaceInRoom(Other.Block(), Size, Room, RoomBytes)) {
    FBlock = Allocate(Size);
    std::memcpy(FBlock, Other.Block(), Size);
  }
  CopyBoxes();
}

TPackedValuesZk::TPackedValuesZk(TPackedValuesZk&& Other) {
  if (!Other.InRoom()) {
    FBlock = Other.FBlock;
    Other.FBlock = nullptr;
    return;
  }
  const std::size_t Size = Other.ByteSize();
  FBlock = Allocate(Size);
  std::memcpy(FBlock, Other.Block(), Size);
  Other.DropBlockKeepBoxes();
}

// Boxed values are the block's own: after its bytes were copied, each copy gets its own.
void TPackedValuesZk::CopyBoxes() {
  unsigned char* P = Block() + kHeader;
  for (int I = 0, N = Count(); I < N; ++I) {
    if ((*P & 31) == kBoxed) {
      Variant* Box = new Variant(*BoxAt(P + 1));
      std::memcpy(P + 1, &Box, sizeof Box);
    }
    P = const_cast<unsigned char*>(Skip(P));
  }
}

bool TPackedValuesZk::PlaceInRoom(const unsigned char* Bytes, std::size_t Size, unsigned char* Room,
                                  std::size_t RoomBytes) {
  if (!Room || RoomBytes < kRoomOverhead + Size) return false;
  const auto Capacity = static_cast<std::uint16_t>(std::min<std::size_t>(RoomBytes - kRoomOverhead, 0xFFFF));
  if (Capacity < Size) return false;
  std::memcpy(Room, &Capacity, sizeof Capacity);
  std::memmove(Room + kRoomOverhead, Bytes, Size);
  FBlock = Tagged(Room + kRoomOverhead);
  return true;
}

std::size_t TPackedValuesZk::RoomCapacity() const {
  std::uint16_t Capacity;
  std::memcpy(&Capacity, Block() - kRoomOverhead, sizeof Capacity);
  return Capacity;
}

void TPackedValuesZk::DropBlockKeepBoxes() {
  if (InRoom()) {
    const std::uint16_t Zero = 0;
    std::memcpy(Block(), &Zero, sizeof Zero);  // an empty block stays in the room
  } else {
    std::free(FBlock);
    FBlock = nullptr;
  }
}

TPackedValuesZk& TPackedValuesZk::operator=(const TPackedValuesZk& Other) {
  if (this != &Other) *this = TPackedValuesZk(Other);
  return *this;
}

TPackedValuesZk& TPackedValuesZk::operator=(TPackedValuesZk&& Other) {
  if (this == &Other) return *this;
  const std::size_t Size = Other.ByteSize();
  if (InRoom() && Size <= RoomCapacity()) {
    ReleaseBoxes();
    if (Other.FBlock) {
      std::memmove(Block(), Other.Block(), Size);
    } else {
      const std::uint16_t Zero = 0;
      std::memcpy(Block(), &Zero, sizeof Zero);
    }
    Other.DropBlockKeepBoxes();
    return *this;
  }
  unsigned char* Taken;
  if (Other.InRoom()) {
    Taken = Allocate(Size);
    std::memcpy(Taken, Other.Block(), Size);
    Other.DropBlockKeepBoxes();
  } else {
    Taken = Other.FBlock;
    Other.FBlock = nullptr;
  }
  ReleaseBoxes();
  if (!InRoom()) std::free(FBlock);
  FBlock = Taken;
  return *this;
}

TPackedValuesZk::~TPackedValuesZk() {
  ReleaseBoxes();
  if (!InRoom()) std::free(FBlock);
}

void TPackedValuesZk::ReleaseBoxes() {
  if (!FBlock) return;
  const unsigned char* P = Block() + kHeader;
  for (int I = 0, N = Count(); I < N; ++I) {
    if ((*P & 31) == kBoxed) delete BoxAt(P + 1);
    P = Skip(P);
  }
}

void TPackedValuesZk::ClearValues() {
  if (!FBlock) return;
  ReleaseBoxes();
  WriteNulls(Block(), Count());
}

namespace {
const unsigned char* Unmarked(const unsigned char* MarkedBlock) {
  return reinterpret_cast<const unsigned char*>(reinterpret_cast<std::uintptr_t>(MarkedBlock) & ~std::uintptr_t{1});
}
}  // namespace

int TPackedValuesZk::CountOf(const unsigned char* MarkedBlock) { return BlockCount(Unmarked(MarkedBlock)); }

std::size_t TPackedValuesZk::ByteSize() const {
  if (!FBlock) return 0;
  const unsigned char* B = Block();
  const unsigned char* P = B + kHeader;
  for (int I = 0, N = Count(); I < N; ++I) P = Skip(P);
  return static_cast<std::size_t>(P - B);
}

std::pair<std::size_t, std::size_t> TPackedValuesZk::Span(int Index) const {
  const unsigned char* B = Block();
  const unsigned char* P = B + kHeader;
  for (int I = 0; I < Index; ++I) P = Skip(P);
  return {static_cast<std::size_t>(P - B), static_cast<std::size_t>(Skip(P) - B)};
}

TPackedValueZk TPackedValuesZk::AtOf(const unsigned char* MarkedBlock, int Index) {
  const unsigned char* P = Unmarked(MarkedBlock) + kHeader;
  for (int I = 0; I < Index; ++I) P = Skip(P);
  TPackedValueZk V;
  Read(P, V.FType, V.FForm, V.FBase, V.FLength, V.FBytes, V.FBits);
  return V;
}

void TPackedValuesZk::Set(int Index, const Variant& Value) {
  const TEncoding E = Encoding(Value);
  std::unique_ptr<Variant> Box(E.Kind == kBoxed ? new Variant(Value) : nullptr);
  unsigned char* B = Block();
  const auto [Start, End] = Span(Index);
  Variant* OldBox = (B[Start] & 31) == kBoxed ? BoxAt(B + Start + 1) : nullptr;
  if (E.Size == End - Start) {
    delete OldBox;
    Write(E, Box.release(), B + Start);
    return;
  }
  // The block is resized in place where its room or the allocator allows (a record being
  // filled value by value grows at the end of the heap), the values after this one moved along.
  const unsigned char* Last = B + End;
  for (int I = Index + 1, N = Count(); I < N; ++I) Last = Skip(Last);
  const std::size_t Size = static_cast<std::size_t>(Last - B), NewSize = Size - (End - Start) + E.Size;
  const bool Room = InRoom();
  unsigned char* Target = B;
  const unsigned char* Rest = B + End;  // the values after this one
  if (NewSize > Size && NewSize > (Room ? RoomCapacity() : malloc_usable_size(B))) {
    // Growing out of the block: nothing has changed if the allocation fails.
    if (Room) {
      Target = Allocate(NewSize);
      std::memcpy(Target, B, Start);
    } else {
      Target = static_cast<unsigned char*>(std::realloc(B, NewSize));
      if (!Target) throw std::bad_alloc();
      Rest = Target + End;
    }
    FBlock = Target;
  }
  if (Target + Start + E.Size != Rest) std::memmove(Target + Start + E.Size, Rest, Size - End);
  delete OldBox;
  Write(E, Box.release(), Target + Start);
}

TPackedValuesZk::TPackedValuesZk(TPackedValuesAppenderZk& Source, unsigned char* Room, std::size_t RoomBytes) {
  if (Source.FCount == 0) return;
  Source.SkipTo(Source.FCount);
  const unsigned char* Bytes = Source.FBytes.data();
  if (!PlaceInRoom(Bytes, Source.FSize, Room, RoomBytes)) {
    FBlock = Allocate(Source.FSize);
    std::memcpy(FBlock, Bytes, Source.FSize);
  }
  Source.Restart(false);  // the boxes are this block's now
}

// --- TPackedValuesAppenderZk ---------------------------------------------------------------------

TPackedValuesAppenderZk::TPackedValuesAppenderZk(int Count) : FCount(std::max(Count, 0)) {
  if (Count > 0xFFFF) throw Exception(u"Too many fields in a record");
  FBytes.resize(kHeader + 16 * static_cast<std::size_t>(FCount));
  Restart(false);
}

TPackedValuesAppenderZk::~TPackedValuesAppenderZk() { Restart(true); }

void TPackedValuesAppenderZk::Restart(bool DeleteBoxes) {
  if (DeleteBoxes && FHasBoxes) {
    const unsigned char* P = FBytes.data() + kHeader;
    for (int I = 0; I < FNext; ++I) {
      if ((*P & 31) == kBoxed) delete BoxAt(P + 1);
      P = Skip(P);
    }
  }
  FHasBoxes = false;
  FNext = 0;
  FSize = kHeader;
  const auto N = static_cast<std::uint16_t>(FCount);
  std::memcpy(FBytes.data(), &N, sizeof N);
}

unsigned char* TPackedValuesAppenderZk::Reserve(std::size_t Bytes) {
  if (FSize + Bytes > FBytes.size()) FBytes.resize(2 * (FSize + Bytes));
  return FBytes.data() + FSize;
}

void TPackedValuesAppenderZk::SkipTo(int Index) {
  if (Index <= FNext) return;
  const auto Nulls = static_cast<std::size_t>(Index - FNext);
  std::memset(Reserve(Nulls), kNull, Nulls);
  FSize += Nulls;
  FNext = Index;
}

void TPackedValuesAppenderZk::Append(int Index, const Variant& Value) {
  if (Index < FNext || Index >= FCount) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  if (Value.IsString()) return AppendText(Index, KindOf(Value.VType()), Value.StringRef());
  const TEncoding E = Encoding(Value);
  std::unique_ptr<Variant> Box(E.Kind == kBoxed ? new Variant(Value) : nullptr);
  Reserve(static_cast<std::size_t>(Index - FNext) + E.Size);  // nothing changes if this fails
  SkipTo(Index);
  Write(E, Box.get(), FBytes.data() + FSize);
  if (Box) FHasBoxes = true;
  Box.release();
  FSize += E.Size;
  FNext = Index + 1;
}

void TPackedValuesAppenderZk::AppendText(int Index, TVarType Type, std::u16string_view Text) {
  if (Index < FNext || Index >= FCount) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  AppendText(Index, KindOf(Type), Text);
}

// A text in the form Write gives it, worked out while its characters are written narrow (one
// pass instead of a look for the form and then a write); written again wide if it has no
// narrow form.
void TPackedValuesAppenderZk::AppendText(int Index, std::uint8_t Kind, std::u16string_view Text) {
  const std::size_t Length = Text.size();
  const auto Length32 = static_cast<std::uint32_t>(Length);
  Reserve(static_cast<std::size_t>(Index - FNext) + 2 + VarUIntSize(Length32) + 2 * Length);
  SkipTo(Index);
  unsigned char* const Start = FBytes.data() + FSize;
  unsigned char* const P = PutVarUInt(Start + 1, Length32);
  unsigned char* const Chars = P + 1;  // behind a window's base byte
  std::uint16_t Base = 0;
  bool Window = false;
  std::size_t I = 0;
  for (; I < Length; ++I) {
    const char16_t C = Text[I];
    if (C < 0x80) {
      Chars[I] = static_cast<unsigned char>(C);
      continue;
    }
    if (!Window) {
      if (C >= 0x8000) break;
      Base = static_cast<std::uint16_t>(C & ~0x7F);
      Window = true;
    } else if (C < Base || C >= Base + 0x80) {
      break;
    }
    Chars[I] = static_cast<unsigned char>(0x80 + (C - Base));
  }
  std::uint8_t Form;
  unsigned char* End;
  if (I < Length) {
    Form = kWide;
    std::memcpy(P, Text.data(), 2 * Length);
    End = P + 2 * Length;
  } else if (Window) {
    Form = kWindow;
    *P = static_cast<unsigned char>(Base >> 7);
    End = Chars + Length;
  } else {
    Form = kAscii;
    std::memmove(P, Chars, Length);
    End = P + Length;
  }
  *Start = static_cast<unsigned char>(Kind | (Form << 5));
  FSize = static_cast<std::size_t>(End - FBytes.data());
  FNext = Index + 1;
}

std::size_t TPackedValuesAppenderZk::RoomNeeded() const {
  return FCount == 0 ? 0 : TPackedValuesZk::kRoomOverhead + FSize + static_cast<std::size_t>(FCount - FNext);
}

// --- comparison ----------------------------------------------------------------------------------

namespace {
bool IsPlainInteger(TVarType T) {
  switch (T) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64: case varCurrency:
      return true;
    default:
      return false;
  }
}
}  // namespace

int CompareOrderValues(const TPackedValueZk& V1, const TPackedValueZk& V2, bool CaseInsensitive) {
  if (V1.IsNone()) return V2.IsNone() ? 0 : -1;
  if (V2.IsNone()) return 1;
  if (V1.IsString() && V2.IsString()) {
    TTextBufferZk B1, B2;
    const std::u16string_view S1 = V1.Text(B1), S2 = V2.Text(B2);
    if (CaseInsensitive) {
      const int C = AnsiCompareText(S1, S2);
      return C == 0 ? 0 : C < 0 ? -1 : 1;
    }
    const int C = AnsiCompareStr(S1, S2);
    return C != 0 ? C : CompareStr(S1, S2);
  }
  if (!CaseInsensitive && V1.VType() == V2.VType()) {
    if (IsPlainInteger(V1.VType())) return V1.Bits() < V2.Bits() ? -1 : V1.Bits() > V2.Bits() ? 1 : 0;
    if (V1.VType() == varDouble || V1.VType() == varDate) {
      double A, B;
      const std::int64_t BA = V1.Bits(), BB = V2.Bits();
      std::memcpy(&A, &BA, sizeof A);
      std::memcpy(&B, &BB, sizeof B);
      if (!std::isnan(A) && !std::isnan(B)) return A < B ? -1 : A > B ? 1 : 0;
    }
  }
  return CompareOrderValues(V1.ToVariant(), V2.ToVariant(), CaseInsensitive);
}
