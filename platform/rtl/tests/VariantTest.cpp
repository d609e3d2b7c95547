// Tests of Variant: the rule table of docs/variant.md, conversions, arrays and handles.
#include "platform/rtl/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <utility>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Variants.h"

namespace {

// A fixture with the Russian settings, which the examples of docs/variant.md assume.
class VariantRules : public ::testing::Test {
protected:
  TFormatSettingsScope FSettings{TFormatSettings::Russian()};
};
using VariantConversions = VariantRules;

struct TOutcome {
  Variant Value;
  String Error;  // "ClassName: message" when the expression raised
};

TOutcome Evaluate(const std::function<Variant()>& Expr) {
  try {
    return {Expr(), String()};
  } catch (const Exception& E) {
    return {Variant(), Utf8ToString(E.ClassName()) + u": " + E.Message()};
  }
}

// Same kind and same value (arrays element by element).
bool Same(const Variant& A, const Variant& B) {
  if (A.VType() != B.VType()) return false;
  if (A.IsNull() || A.IsEmpty()) return true;
  return A == B;
}

std::string Show(const TOutcome& O) {
  if (!O.Error.empty()) return StringToUtf8(O.Error);
  if (O.Value.IsArray()) return "array";
  return StringToUtf8(VarTypeAsText(O.Value.VType()) + u" " + VarToStr(O.Value));
}

Variant Cur(Int64 Raw) { return Variant(Currency::FromRaw(Raw)); }
Variant B(bool Value) { return Variant(Value); }

const String kStringToDouble =
    u"EVariantTypeCastError: Could not convert variant of type (String) into type (Double)";
const String kStringToBoolean =
    u"EVariantTypeCastError: Could not convert variant of type (String) into type (Boolean)";
const String kInvalidOp = u"EVariantInvalidOpError: Invalid variant operation";
const String kZeroDivide = u"EZeroDivide: Division by zero";

}  // namespace

// ORDER VARIANT TABLE: one row per row of docs/variant.md, with its number.
TEST_F(VariantRules, Table) {
  const TDateTime May1 = EncodeDate(2024, 5, 1);
  const Variant D = Variant::FromDateTime(May1);
  static const Variant One = 1;
  int Object = 0;
  THandleRegistry& Registry = DefaultHandleRegistry();
  const Variant H = Variant(Registry.Register(&Object, "TTest"));
  struct Row {
    int Number;
    std::function<Variant()> Expr;
    Variant Expected;
    String Error = String();
  } Rows[] = {
      {1, [] { return Null() + 1; }, Null()},
      {1, [] { return Null() * Variant(u"x"); }, Null()},
      {1, [] { return VarIntDiv(5, Null()); }, Null()},
      {2, [] { return Null() & true; }, Null()},
      {2, [] { return Variant(false) | Null(); }, Null()},
      {3, [] { return ~Null(); }, Null()},
      {3, [] { return -Null(); }, Null()},
      {4, [] { return B(Null() == Null()); }, true},
      {5, [] { return B(Null() == 0); }, false},
      {5, [] { return B(Null() != 0); }, true},
      {6, [] { return B(Null() < 1); }, true},
      {6, [] { return B(Variant(1) > Null()); }, true},
      {6, [] { return B(Null() < Null()); }, false},
      {6, [] { return B(Null() <= Null()); }, true},
      {7, [] { return Variant(Null().AsInteger()); }, Variant(),
       u"EVariantTypeCastError: Could not convert variant of type (Null) into type (Integer)"},
      {7, [] { return Variant(VarToStr(Null())); }, u""},
      {8, [] { return Unassigned() + 5; }, 5},
      {8, [] { return Unassigned() + Unassigned(); }, 0},
      {9, [] { return Unassigned() + u"ab"; }, u"ab"},
      {9, [] { return B(Unassigned() == u""); }, true},
      {10, [] { return B(Unassigned() == 0); }, true},
      {10, [] { return B(Unassigned() == false); }, true},
      {10, [] { return B(Unassigned() == Null()); }, false},
      {11, [] { return Variant(int(VarCompareValue(Unassigned(), 0))); }, int(vrNotEqual)},
      {11, [] { return Variant(int(VarCompareValue(Unassigned(), Unassigned()))); },
       int(vrEqual)},
      {11, [] { return Variant(int(VarCompareValue(Null(), Null()))); }, int(vrEqual)},
      {11, [] { return Variant(int(VarCompareValue(Null(), 1))); }, int(vrNotEqual)},
      {12, [] { return Variant(u"ab") + u"cd"; }, u"abcd"},
      {13, [] { return Variant(u"12") + 1; }, 13},
      {13, [] { return Variant(u"1,5") + 1; }, 2.5},
      {13, [] { return Variant(u"12") * Variant(u"2"); }, 24},
      {14, [] { return Variant(u"abc") + 1; }, Variant(), kStringToDouble},
      {15, [] { return B(Variant(u"10") == 10); }, true},
      {15, [] { return B(Variant(u"9") < 10); }, true},
      {15, [] { return B(Variant(u"abc") == 5); }, Variant(), kStringToDouble},
      {16, [] { return Variant(u"True") & true; }, true},
      {16, [] { return B(Variant(u"abc") == true); }, Variant(), kStringToBoolean},
      {17, [] { return Variant(true) + 1; }, 0},
      {17, [] { return B(Variant(true) == -1); }, true},
      {17, [] { return Variant(true) & 6; }, 6},
      {17, [] { return Variant(true) & false; }, false},
      {18, [] { return B(Variant(false) < true); }, true},
      {19, [] { return Variant(2147483647) + 1; }, Variant(Int64(2147483648LL))},
      {19, [] { return -Variant(-2147483647 - 1); }, Variant(Int64(2147483648LL))},
      {20, [] { return Variant(INT64_MAX) + 1; }, 9223372036854775808.0},
      {21, [] { return Variant(Byte(200)) + Variant(Byte(100)); }, 300},
      {21, [] { return Variant(50000) * 50000; }, Variant(Int64(2500000000LL))},
      {22, [] { return One + 0.5; }, 1.5},
      {22, [] { return Variant(1.5f) + Variant(1.0f); }, 2.5},
      {22, [] { return Cur(15000) + 1; }, Cur(25000)},
      {22, [] { return Cur(15000) + 0.25; }, 1.75},
      {22, [] { return Cur(10001) * Cur(15000); }, Cur(15002)},  // 1.50015 -> 1.5002
      {23, [] { return Variant(6) / 3; }, 2.0},
      {24, [] { return Variant(1) / 0; }, Variant(), kZeroDivide},
      {24, [] { return Variant(0) / 0; }, Variant(), kZeroDivide},
      {24, [] { return VarIntDiv(5, 0); }, Variant(), kZeroDivide},
      {24, [] { return Variant(5) % 0; }, Variant(), kZeroDivide},
      {25, [] { return VarIntDiv(-7, 2); }, -3},
      {25, [] { return Variant(-7) % 2; }, -1},
      {25, [] { return VarIntDiv(2.5, 1); }, 2},
      {25, [] { return VarIntDiv(3.5, 1); }, 4},
      {26, [] { return One << 31; }, -2147483647 - 1},
      {26, [] { return Variant(-1) >> 28; }, 15},
      {26, [] { return Variant(Int64(1)) << 40; }, Variant(Int64(1099511627776LL))},
      {26, [] { return ~Variant(5); }, -6},
      {26, [] { return ~Variant(true); }, false},
      {27, [] { return Variant(1e308) * 10; }, Variant(),
       u"EOverflow: Floating point overflow"},
      {28, [] { return B(Variant(u"a") == u"A"); }, false},
      {28, [] { return B(Variant(u"abc") == u"abc "); }, false},
      {29, [] { return B(Variant(u"a") < u"B"); }, true},
      {29, [] { return B(Variant(u"a") < u"A"); }, true},
      {29, [] { return B(Variant(u"ёж") < u"жук"); }, true},
      {30, [&] { return D + 1; }, Variant::FromDateTime(May1 + 1)},
      {30, [&] { return D - 1; }, Variant::FromDateTime(May1 - 1)},
      {30, [&] { return D - Variant::FromDateTime(May1 - 2); }, 2.0},
      {30, [&] { return D + D; }, May1 * 2},
      {30, [&] { return D * 2; }, May1 * 2},
      {31, [&] { return B(D == u"01.05.2024"); }, true},
      {32, [] { return Variant(VarToStr(true)); }, u"True"},
      {32, [] { return Variant(VarToStr(1.5)); }, u"1,5"},
      {32, [&] { return Variant(VarToStr(D)); }, u"01.05.2024"},
      {32, [] { return Variant(VarToStr(Cur(25000))); }, u"2,5"},
      {33, [] { return Variant(Variant(2.5).AsInteger()); }, 2},
      {33, [] { return Variant(Variant(3.5).AsInteger()); }, 4},
      {33, [] { return Variant(Variant(3e9).AsInteger()); }, Variant(),
       u"EVariantOverflowError: Overflow while converting variant of type (Double) into type "
       u"(Integer)"},
      {34, [] { return Variant(Variant(u"true").AsBoolean()); }, true},
      {34, [] { return Variant(Variant(u"0").AsBoolean()); }, false},
      {34, [] { return Variant(Variant(u"yes").AsBoolean()); }, Variant(), kStringToBoolean},
      {35, [] { return B(VarArrayOf({1, 2}) == VarArrayOf({1, 2})); }, true},
      {35, [] { return B(VarArrayOf({1}) == 1); }, Variant(), kInvalidOp},
      {35, [] { return VarArrayOf({1}) + 1; }, Variant(), kInvalidOp},
      {35, [] { return B(VarArrayOf({1}) < VarArrayOf({2})); }, Variant(), kInvalidOp},
      {36, [&] { return B(H == H); }, true},
      {36, [&] { return B(H == 0); }, false},
      {36, [] { return B(Variant(TObjectHandle::Nil) == 0); }, true},
      {36, [&] { return H + 1; }, Variant(), kInvalidOp},
      {37, [] { return B(Variant(std::nan("")) == std::nan("")); }, true},
      {37, [] { return B(Variant(std::nan("")) < -1e308); }, true},
      {37, [] { return B(Variant(std::nan("")) == 0); }, false},
  };
  for (const Row& R : Rows) {
    const TOutcome Got = Evaluate(R.Expr);
    const TOutcome Want{R.Expected, R.Error};
    const bool Ok = R.Error.empty() ? Got.Error.empty() && Same(Got.Value, R.Expected)
                                    : Got.Error == R.Error;
    EXPECT_TRUE(Ok) << "row " << R.Number << ": got " << Show(Got) << ", want " << Show(Want);
  }
  Registry.ReleaseObject(&Object);
}

TEST_F(VariantConversions, KindsAndCodes) {
  struct Case {
    Variant Value;
    TVarType Type;
    const char* Name;
  } Cases[] = {
      {Variant(), varEmpty, "Empty"},
      {Null(), varNull, "Null"},
      {Variant(true), varBoolean, "Boolean"},
      {Variant(ShortInt(-1)), varShortInt, "ShortInt"},
      {Variant(Byte(1)), varByte, "Byte"},
      {Variant(SmallInt(1)), varSmallint, "Smallint"},
      {Variant(Word(1)), varWord, "Word"},
      {Variant(1), varInteger, "Integer"},
      {Variant(1u), varLongWord, "LongWord"},
      {Variant(Int64(1)), varInt64, "Int64"},
      {Variant(UInt64(1)), varUInt64, "UInt64"},
      {Variant(1.0f), varSingle, "Single"},
      {Variant(1.0), varDouble, "Double"},
      {Variant(Currency(1)), varCurrency, "Currency"},
      {Variant::FromDateTime(1), varDate, "Date"},
      {Variant(u"x"), varUString, "String"},
      {Variant(u'x'), varUString, "String"},
      {VarArrayOf({1}), varArray | varVariant, "Array Variant"},
      {Variant(TObjectHandle{0x10000}), varObjectHandle, "Handle"},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(VarType(C.Value), C.Type) << C.Name;
    EXPECT_EQ(StringToUtf8(VarTypeAsText(C.Type)), C.Name);
  }
  EXPECT_EQ(sizeof(Variant), 16u);
}

TEST_F(VariantConversions, AsMethodsAndVarAsType) {
  EXPECT_EQ(Variant(u" 42 ").AsInteger(), 42);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(Currency::FromRaw(25000)).AsInteger(), 2);  // 2.5 -> 2, halves to even
  EXPECT_EQ(Variant(u"9000000000").AsInt64(), 9000000000LL);
  EXPECT_DOUBLE_EQ(Variant(u"2,25").AsDouble(), 2.25);
  EXPECT_EQ(Variant(u"1,15").AsCurrency().Raw(), 11500);
  EXPECT_EQ(Variant(0.1).AsCurrency().Raw(), 1000);
  EXPECT_DOUBLE_EQ(Variant(u"01.05.2024").AsDateTime(), EncodeDate(2024, 5, 1));
  EXPECT_FALSE(Variant().AsBoolean());
  EXPECT_TRUE(Variant(0.5).AsBoolean());
  EXPECT_EQ(Variant(Int64(-5)).AsString(), u"-5");
  EXPECT_EQ(Variant(UInt64(18446744073709551615ULL)).AsString(), u"18446744073709551615");
  EXPECT_EQ(Variant(0.1f).AsString(), u"0,1");  // Single prints 7 digits
  EXPECT_EQ(VarToStr(Variant::FromDateTime(EncodeDate(2024, 5, 1) + 0.5)),
            u"01.05.2024 12:00:00");
  EXPECT_EQ(VarToStrDef(Null(), u"-"), u"-");

  EXPECT_EQ(VarType(VarAsType(u"7", varSmallint)), varSmallint);
  EXPECT_EQ(VarAsType(u"7", varSmallint).AsInteger(), 7);
  EXPECT_EQ(VarType(VarAsType(7, varOleStr)), varOleStr);
  EXPECT_EQ(VarAsType(7, varOleStr).AsString(), u"7");
  EXPECT_TRUE(VarAsType(Null(), varNull).IsNull());
  EXPECT_EQ(VarType(VarAsType(VarArrayOf({u"1", u"2"}), varArray | varInteger)),
            varArray | varInteger);

  struct Failure {
    std::function<void()> Action;
    const char* Message;
  } Failures[] = {
      {[] { VarAsType(300, varByte); },
       "Overflow while converting variant of type (Integer) into type (Byte)"},
      {[] { VarAsType(-1, varWord); },
       "Overflow while converting variant of type (Integer) into type (Word)"},
      {[] { VarAsType(Null(), varInteger); },
       "Could not convert variant of type (Null) into type (Integer)"},
      {[] { VarAsType(1e40, varSingle); },
       "Overflow while converting variant of type (Double) into type (Single)"},
      {[] { Variant(1e20).AsCurrency(); },
       "Overflow while converting variant of type (Double) into type (Currency)"},
      {[] { Variant(u"x").AsDateTime(); },
       "Could not convert variant of type (String) into type (Date)"},
      {[] { VarArrayOf({1}).AsString(); },
       "Could not convert variant of type (Array Variant) into type (String)"},
      {[] { Variant(1.5).AsHandle(); },
       "Could not convert variant of type (Double) into type (Handle)"},
  };
  for (const Failure& F : Failures) {
    try {
      F.Action();
      ADD_FAILURE() << "no exception for " << F.Message;
    } catch (const EVariantError& E) {
      EXPECT_STREQ(E.what(), F.Message);
    }
  }
}

TEST(VariantArrays, BoundsElementsAndValueSemantics) {
  Variant A = VarArrayCreate(1, 3, varVariant);
  EXPECT_EQ(VarArrayDimCount(A), 1);
  EXPECT_EQ(VarArrayLowBound(A, 1), 1);
  EXPECT_EQ(VarArrayHighBound(A, 1), 3);
  EXPECT_TRUE(A[1].IsEmpty());  // Variant elements start Empty
  A[2] = u"two";
  Variant Copy = A;  // copies share storage until one is written
  Copy[2] = 22;
  EXPECT_EQ(A[2], u"two");
  EXPECT_EQ(Copy[2], 22);
  Variant& Ref = A[3];
  Ref = 3.5;
  EXPECT_EQ(VarArrayGet(A, 3), 3.5);

  Variant Ints = VarArrayCreate(0, 1, varInteger);
  EXPECT_EQ(VarType(Ints[0]), varInteger);  // typed elements start at 0 of their type
  VarArrayPut(Ints, u"12", 1);             // and VarArrayPut converts
  EXPECT_EQ(VarType(Ints[1]), varInteger);
  EXPECT_EQ(Ints[1], 12);

  Variant Shared = Ints;
  VarArrayRedim(Ints, 3);
  EXPECT_EQ(VarArrayHighBound(Ints, 1), 3);
  EXPECT_EQ(Ints[3], 0);
  EXPECT_EQ(VarArrayHighBound(Shared, 1), 1);  // the copy keeps its size
  VarArrayRedim(Ints, -1);
  EXPECT_EQ(Ints.ArrayLength(), 0);

  EXPECT_THROW(A[0], EVariantBadIndexError);
  EXPECT_THROW(A[4] = 1, EVariantBadIndexError);
  EXPECT_THROW(VarArrayHighBound(A, 2), EVariantBadIndexError);
  EXPECT_THROW(VarArrayLowBound(Variant(1), 1), EVariantInvalidOpError);
  EXPECT_THROW(VarArrayCreate(std::vector<int>{0, 1, 0, 1}, varVariant), EVariantError);
  EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);
}

// Element access checks the index against both bounds whatever the low bound, and for
// shared and unshared arrays alike; a value that is no array raises.
TEST(VariantArrays, IndexesFarOutsideTheBoundsRaise) {
  for (int Low : {-5, 0, 7}) {
    Variant A = VarArrayCreate(Low, Low + 2, varInteger);
    for (int Shares : {1, 2}) {
      Variant Other = Shares == 2 ? A : Variant();
      for (int Index : {INT32_MIN, INT32_MIN + 1, Low - 1, Low + 3, INT32_MAX - 1, INT32_MAX}) {
        SCOPED_TRACE(testing::Message() << "low " << Low << " shares " << Shares << " index " << Index);
        EXPECT_THROW(A[Index] = 1, EVariantBadIndexError);
        EXPECT_THROW(std::as_const(A)[Index], EVariantBadIndexError);
      }
      A[Low + 2] = Shares;
      EXPECT_EQ(std::as_const(A)[Low + 2], Shares);
      if (Shares == 2) {
        EXPECT_EQ(std::as_const(Other)[Low + 2], 1);  // the other holder kept its value
      }
    }
  }
  Variant Scalar = 1;
  EXPECT_THROW(Scalar[0] = 1, EVariantError);
  EXPECT_THROW(std::as_const(Scalar)[0], EVariantError);
}

TEST(VariantArrays, EqualityNeedsSameBounds) {
  Variant A = VarArrayCreate(0, 1, varVariant), B = VarArrayCreate(1, 2, varVariant);
  EXPECT_FALSE(A == B);  // same elements, different low bound
  EXPECT_TRUE(VarArrayOf({}) == VarArrayOf({}));
  EXPECT_FALSE(VarArrayOf({1, Null()}) == VarArrayOf({1, 2}));
  EXPECT_TRUE(VarArrayOf({1, Null()}) == VarArrayOf({1, Null()}));
}

TEST(VariantArrays, BytesRoundTrip) {
  const std::string Bytes("\x00\x01\xFF z", 5);
  const Variant A = VarArrayFromBytes(Bytes);
  EXPECT_EQ(VarType(A), varArray | varByte);
  EXPECT_EQ(A[2], 255);
  EXPECT_EQ(VarArrayToBytes(A), Bytes);
}

TEST(VariantHandles, ObjectsTravelAsCheckedHandles) {
  int Object = 0;
  const Variant V = VarFromObject(&Object, "TTest");
  EXPECT_TRUE(VarIsHandle(V));
  EXPECT_EQ(VarToObjectAs<int>(V, "TTest"), &Object);
  EXPECT_EQ(VarToObject(Null(), "TTest"), nullptr);
  EXPECT_EQ(VarToObject(VarFromObject(nullptr, "TTest"), "TTest"), nullptr);
  EXPECT_THROW(VarToObject(V, "TOther"), EHandleError);
  EXPECT_THROW(VarToObject(Variant(12345), "TTest"), EHandleError);  // a guessed number
  DefaultHandleRegistry().ReleaseObject(&Object);
  EXPECT_THROW(VarToObject(V, "TTest"), EHandleError);  // stale: raises, never crashes
}

TEST(VariantOps, CopiesAndMovesKeepStringsAlive) {
  Variant A = String(100, u'x');
  Variant B = A;
  A = 5;
  EXPECT_EQ(B.StringRef().size(), 100u);
  Variant C = std::move(B);
  EXPECT_TRUE(B.IsEmpty());
  C = C;  // self-assignment keeps the value
  EXPECT_EQ(C.StringRef().size(), 100u);
}

TEST(VariantOps, MixedComparisons) {
  struct Case {
    Variant A, B;
    TVariantRelationship Want;
  } Cases[] = {
      {1, 1.0, vrEqual},
      {Variant(Currency::FromRaw(15000)), 1.5, vrEqual},
      {Variant(Currency::FromRaw(15000)), 2, vrLessThan},
      {Variant(UInt64(18446744073709551615ULL)), Variant(Int64(-1)), vrGreaterThan},
      {Variant::FromDateTime(2), 1, vrGreaterThan},
      {u"b", u"a", vrGreaterThan},
      {true, u"False", vrGreaterThan},
      {Variant(), Null(), vrNotEqual},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(VarCompareValue(C.A, C.B), C.Want) << Show({C.A, u""}) << " vs " << Show({C.B, u""});
  EXPECT_TRUE(VarSameValue(u"10", 10));
}

TEST(VariantStrings, MutableStringChangesOnlyItsOwnVariant) {
  Variant A(String(u"краска"));
  Variant B = A;  // shares the text
  A.MutableString() += u"!";
  EXPECT_EQ(A.StringRef(), u"краска!");
  EXPECT_EQ(B.StringRef(), u"краска");
  B.MutableString()[0] = u'К';  // the only holder now: changed in place
  EXPECT_EQ(B.StringRef(), u"Краска");
  Variant N(5);
  EXPECT_THROW(N.MutableString(), EVariantTypeCastError);
}
