// PackedValuesZkTest.cpp - packed record values: every kind of value comes back with its type
// and bits wherever it sits in the block, texts in each of their forms, resizing values keeps
// their neighbours, copies own their boxed values, and comparisons in place agree with the
// comparison of the Variants.
#include "gridlib/memtable/PackedValuesZk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "gridlib/memtable/MTOrderByZk.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

std::int64_t BitsOf(const Variant& V) {
  if (V.VType() == varSingle) {
    std::uint32_t B;
    std::memcpy(&B, &V.Data().Single, sizeof B);
    return B;
  }
  std::int64_t B;
  std::memcpy(&B, &V.Data(), sizeof B);
  return B;
}

void ExpectSame(const Variant& Want, const Variant& Got, const std::string& What) {
  ASSERT_EQ(Got.VType(), Want.VType()) << What;
  if (Want.IsString()) {
    EXPECT_EQ(Got.StringRef(), Want.StringRef()) << What;
  } else if (Want.IsArray()) {
    EXPECT_TRUE(VarEquals(Got, Want)) << What;
  } else if (!Want.IsNull() && !Want.IsEmpty()) {
    EXPECT_EQ(BitsOf(Got), BitsOf(Want)) << What;
  }
}

Variant Typed(const Variant& V, TVarType Type) {
  Variant R = V;
  R.SetStringType(Type);
  return R;
}

std::vector<Variant> Samples() {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  return {Variant::MakeNull(), Variant(), Variant(static_cast<short>(-1)), 0, 127, 128, -128, -129, 32767,
          32768, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
          std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max(),
          Variant(std::numeric_limits<unsigned long long>::max()), Variant(4000000000u),
          Variant(static_cast<unsigned char>(255)), Variant(static_cast<signed char>(-128)),
          Variant(static_cast<unsigned short>(65535)), true, false, Currency(-12.5), 0.1, -0.0, NaN,
          std::numeric_limits<double>::infinity(), Variant::FromDateTime(45000.25), Variant(1.5f),
          // doubles near and past what the short decimal forms hold
          12.34, -999.99, 0.001, 524287.0, 524288.0, 134217727.0, 134217728.0, -134217727.0, 1e-15,
          123456.789, 0.30000000000000004, 5e-324, 1.0 / 3.0, Variant::FromDateTime(44123.456),
          Variant::FromDateTime(-2.75), 8388607, 8388608, -8388608, -8388609,
          u"", u"plain ascii", u"жёлтый", u"aЖ z", u"жα", u"中文", u"😀", String(200, u'ё'), u"\u0080\u00ff",
          Typed(u"ole жёлтый", varOleStr), Typed(u"ansi", varString), VarArrayFromBytes("ab\0c")};
}

TEST(PackedValues, EveryKindComesBackWhereverItSits) {
  const std::vector<Variant> Values = Samples();
  for (std::size_t I = 0; I < Values.size(); ++I) {
    const std::string What = "sample " + std::to_string(I);
    for (int Slot = 0; Slot < 3; ++Slot) {
      TPackedValuesZk P(3);
      for (int N = 0; N < 3; ++N) P.Set(N, Variant(u"neighbour"));
      P.Set(Slot, Values[I]);
      ExpectSame(Values[I], P.Get(Slot), What);
      for (int N = 0; N < 3; ++N)
        if (N != Slot) ExpectSame(Variant(u"neighbour"), P.Get(N), What + " neighbour");
    }
  }
}

TEST(PackedValues, ResizingCopyingAndMoving) {
  TPackedValuesZk P(4);
  for (int I = 0; I < 4; ++I) EXPECT_TRUE(P.Get(I).IsNull());
  const String Long(300, u'ж');
  const Variant Steps[] = {Long, 5, Variant::MakeNull(), VarArrayFromBytes("xyz"), u"ab", Long + u"中", 1.25};
  for (const Variant& V : Steps) {
    P.Set(1, V);
    P.Set(2, Long);
    ExpectSame(V, P.Get(1), "step");
    ExpectSame(Long, P.Get(2), "after");
    EXPECT_TRUE(P.Get(0).IsNull());
    EXPECT_TRUE(P.Get(3).IsNull());
  }
  P.Set(0, VarArrayFromBytes("box"));
  TPackedValuesZk Copy(P);
  P.Set(0, 7);  // frees the original's box, not the copy's
  ExpectSame(VarArrayFromBytes("box"), Copy.Get(0), "copy");
  TPackedValuesZk Moved(std::move(Copy));
  EXPECT_EQ(Copy.Count(), 0);
  EXPECT_EQ(Moved.Count(), 4);
  Moved = P;
  ExpectSame(Variant(7), Moved.Get(0), "assigned");
  EXPECT_EQ(TPackedValuesZk(0).Count(), 0);
}

// A block in its owner's room: it stays there while its values fit, moves to the heap when
// they do not (the neighbours intact), and copies and moves never free or share the room.
TEST(PackedValues, BlocksInRoom) {
  TPackedValuesZk Source(3);
  Source.Set(0, 42);
  Source.Set(1, u"жёлтый");
  Source.Set(2, VarArrayFromBytes("box"));
  alignas(8) unsigned char Room[64];
  {
    TPackedValuesZk InRoom(Source, Room, Source.RoomNeeded());
    EXPECT_TRUE(InRoom.InRoom());
    InRoom.Set(1, u"ж");  // shrinks in place
    EXPECT_TRUE(InRoom.InRoom());
    InRoom.Set(1, String(40, u'ё'));  // outgrows the room
    EXPECT_FALSE(InRoom.InRoom());
    ExpectSame(Variant(42), InRoom.Get(0), "moved out");
    ExpectSame(String(40, u'ё'), InRoom.Get(1), "moved out");
    ExpectSame(VarArrayFromBytes("box"), InRoom.Get(2), "moved out");
  }
  {
    TPackedValuesZk InRoom(3, Room, sizeof Room);
    EXPECT_TRUE(InRoom.InRoom());
    InRoom = TPackedValuesZk(Source);  // fits: copied into the room, the box handed over
    EXPECT_TRUE(InRoom.InRoom());
    ExpectSame(VarArrayFromBytes("box"), InRoom.Get(2), "assigned into room");
    TPackedValuesZk Copy(InRoom);
    EXPECT_FALSE(Copy.InRoom());
    TPackedValuesZk Moved(std::move(InRoom));  // out of the room: a heap copy, the room left empty
    EXPECT_EQ(InRoom.Count(), 0);
    EXPECT_TRUE(InRoom.InRoom());
    ExpectSame(VarArrayFromBytes("box"), Moved.Get(2), "moved");
    TPackedValuesZk Big(2);
    Big.Set(0, String(100, u'z'));
    InRoom = std::move(Big);  // too big for the room: the heap block is taken over
    EXPECT_FALSE(InRoom.InRoom());
    ExpectSame(String(100, u'z'), InRoom.Get(0), "taken over");
    Copy.ClearValues();
    EXPECT_EQ(Copy.Count(), 3);
    EXPECT_TRUE(Copy.Get(2).IsNull());
  }
  TPackedValuesZk Small(1, Room, 2);  // no room for even the header: on the heap
  EXPECT_FALSE(Small.InRoom());
}

// Values appended in position order, some positions passed over, make the same block as the
// same values set one by one; the appender is reused record after record, boxed values it
// still holds are its own, and a position already passed is refused with nothing changed.
TEST(PackedValues, AppendedValuesMakeTheSameBlock) {
  const std::vector<Variant> Values = Samples();
  const int Count = static_cast<int>(2 * Values.size() + 1);
  TPackedValuesAppenderZk Appender(Count);
  alignas(8) unsigned char Room[2048];
  for (int Round = 0; Round < 2; ++Round) {
    TPackedValuesZk Expected(Count);
    for (std::size_t I = 0; I < Values.size(); ++I) {
      const int Pos = static_cast<int>(2 * I + 1);  // even positions passed over: Null
      Appender.Append(Pos, Values[I]);
      Expected.Set(Pos, Values[I]);
    }
    ASSERT_EQ(Appender.RoomNeeded(), Expected.RoomNeeded());
    TPackedValuesZk Built(Appender, Room, Round == 0 ? sizeof Room : 0);  // in room, then on the heap
    EXPECT_EQ(Built.InRoom(), Round == 0);
    ASSERT_EQ(Built.Count(), Count);
    for (int Pos = 0; Pos < Count; ++Pos) ExpectSame(Expected.Get(Pos), Built.Get(Pos), "position " + std::to_string(Pos));
    EXPECT_EQ(Appender.Next(), 0);
  }
  Appender.Append(3, VarArrayFromBytes("held"));  // freed with the appender (the leak checker watches)
  EXPECT_THROW(Appender.Append(3, 1), EListError);
  EXPECT_THROW(Appender.Append(Count, 1), EListError);
  Appender.Append(4, 9);
  TPackedValuesZk Built(Appender, nullptr, 0);
  ExpectSame(VarArrayFromBytes("held"), Built.Get(3), "held box");
  ExpectSame(Variant(9), Built.Get(4), "after a refusal");
  TPackedValuesAppenderZk None(0);
  EXPECT_EQ(TPackedValuesZk(None, nullptr, 0).Count(), 0);
  Appender.Append(1, VarArrayFromBytes("dropped"));
}

TEST(PackedValues, NarrowTextsTakeOneByteACharacter) {
  TPackedValuesZk Narrow(1), Wide(1);
  String Mixed;
  for (int I = 0; I < 50; ++I) Mixed += u"Жz";
  Narrow.Set(0, Mixed);
  Wide.Set(0, String(50, u'ж') + String(50, u'α'));  // two windows besides ASCII
  EXPECT_LT(Narrow.ByteSize(), 110u);
  EXPECT_GT(Wide.ByteSize(), 200u);
}

// Short decimals (prices, dates with times to the second) and integers of three bytes take
// fewer bytes than their full width.
TEST(PackedValues, ShortDecimalsAndThreeByteIntegersAreNarrow) {
  struct TCase { Variant Value; std::size_t Bytes; };  // tag included
  const TCase Cases[] = {{123.45, 4}, {-0.5, 4}, {Variant::FromDateTime(44000.0 + 1234567.0 / 1000), 5},
                         {1000000, 4}, {-8388608, 4}, {8388608, 5}, {0.1 + 0.2, 9}, {-0.0, 9}};
  for (const TCase& C : Cases) {
    TPackedValuesZk P(1);
    P.Set(0, C.Value);
    EXPECT_EQ(P.ByteSize() - 2, C.Bytes) << C.Value.AsString().size();
    ExpectSame(C.Value, P.Get(0), "narrow");
  }
}

int Sign(int C) { return C < 0 ? -1 : C > 0 ? 1 : 0; }

TEST(PackedValues, ComparisonInPlaceAgreesWithTheVariants) {
  std::vector<Variant> Values = Samples();
  Values.pop_back();  // arrays have no order
  Values.push_back(u"Жёлтый");
  Values.push_back(u"plain ASCII");
  Values.push_back(2.5);
  Values.push_back(-7);
  TPackedValuesZk P(static_cast<int>(Values.size()));
  for (std::size_t I = 0; I < Values.size(); ++I) P.Set(static_cast<int>(I), Values[I]);
  for (std::size_t I = 0; I < Values.size(); ++I)
    for (std::size_t J = 0; J < Values.size(); ++J)
      for (bool CaseIns : {false, true}) {
        int Want;
        try {
          Want = CompareOrderValues(Values[I], Values[J], CaseIns);
        } catch (const Exception&) {
          EXPECT_THROW(CompareOrderValues(P.At(static_cast<int>(I)), P.At(static_cast<int>(J)), CaseIns),
                       Exception);
          continue;
        }
        EXPECT_EQ(Sign(CompareOrderValues(P.At(static_cast<int>(I)), P.At(static_cast<int>(J)), CaseIns)), Sign(Want))
            << I << " vs " << J << (CaseIns ? " ci" : "");
      }
}

}  // namespace
