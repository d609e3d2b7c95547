// ToolCtrlsZkTest.cpp - key value equality and ordering, field-name lists, the memory stream's
// growth step and the locale compare.
#include <gtest/gtest.h>

#include <memory>

#include "gridlib/toolkit/QuobeVCL.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

Variant Arr(int Low, std::initializer_list<Variant> Values) {
  Variant A = VarArrayCreate(Low, Low + static_cast<int>(Values.size()) - 1, varVariant);
  int I = Low;
  for (const Variant& V : Values) VarArrayPut(A, V, I++);
  return A;
}

Variant EmptyArr() { return VarArrayCreate(0, -1, varVariant); }

TEST(VariantsEqual, Table) {
  struct Row {
    const char* Name;
    Variant A, B;
    bool Equal;
  } Rows[] = {
      {"Null Null", Null(), Null(), true},
      {"Null 0", Null(), 0, false},
      {"Empty Null", Unassigned(), Null(), false},
      {"Empty Empty", Unassigned(), Unassigned(), true},
      {"Empty 0", Unassigned(), 0, false},
      {"Empty empty string", Unassigned(), u"", false},
      {"numbers", 5, 5.0, true},
      {"string against number swallows the cast error", u"abc", 5, false},
      {"numeric string against number", u"10", 10, true},
      {"strings by case", u"a", u"A", false},
      {"one-element array against a value", Arr(0, {1}), 1, false},
      {"equal arrays", Arr(0, {1, u"x"}), Arr(0, {1, u"x"}), true},
      {"arrays differing in one element", Arr(0, {1, u"x"}), Arr(0, {1, u"y"}), false},
      {"equal elements, other low bound", Arr(0, {1, 2}), Arr(1, {1, 2}), false},
      {"two empty arrays are unequal", EmptyArr(), EmptyArr(), false},
      {"arrays with Null elements", Arr(0, {Null(), 1}), Arr(0, {Null(), 1}), true},
      {"array element type error", Arr(0, {u"abc"}), Arr(0, {5}), false},
  };
  for (const Row& R : Rows) {
    EXPECT_EQ(VariantsEqual(R.A, R.B), R.Equal) << R.Name;
    EXPECT_EQ(VariantsEqual(R.B, R.A), R.Equal) << R.Name << " (swapped)";
  }
}

TEST(CompareVariantKeys, Table) {
  struct Row {
    const char* Name;
    Variant A, B;
    TVariantRelationship Result;
  } Rows[] = {
      {"Null first", Null(), 1, vrLessThan},
      {"Null last", 1, Null(), vrGreaterThan},
      {"Null Null", Null(), Null(), vrEqual},
      {"numbers", 2, 1, vrGreaterThan},
      {"strings", u"a", u"b", vrLessThan},
      {"Null element first", Arr(0, {1, Null()}), Arr(0, {1, 2}), vrLessThan},
      {"first element decides", Arr(0, {2, 1}), Arr(0, {1, 5}), vrGreaterThan},
      {"equal arrays", Arr(0, {1, u"x"}), Arr(0, {1, u"x"}), vrEqual},
      {"two empty arrays", EmptyArr(), EmptyArr(), vrNotEqual},
      {"array against value", Arr(0, {1}), 1, vrNotEqual},
      {"other bounds", Arr(0, {1, 2}), Arr(1, {1, 2}), vrNotEqual},
      {"other lengths", Arr(0, {1}), Arr(0, {1, 2}), vrNotEqual},
  };
  for (const Row& R : Rows) EXPECT_EQ(CompareVariantKeys(R.A, R.B), R.Result) << R.Name;
}

TEST(CompareVariantKeys, PassesTheComparisonErrorOn) {
  EXPECT_THROW(CompareVariantKeys(u"abc", 5), EVariantTypeCastError);
}

class FieldListTest : public ::testing::Test {
protected:
  void SetUp() override {
    Owner = std::make_unique<TComponent>(nullptr);
    Set = new TArrayDataSet(Owner.get());
    Set->SetName(u"Colors");
    Set->FieldDefs()->Add(u"ID", ftInteger);
    Set->FieldDefs()->Add(u"CODE", ftWideString, 10);
    Set->FieldDefs()->Add(u"PRICE", ftFloat);
    Set->AddRow({1, u"A1", 2.5});
    Set->Open();
  }
  std::unique_ptr<TComponent> Owner;
  TArrayDataSet* Set = nullptr;
};

TEST_F(FieldListTest, ResolvesNamesInListOrderAndTrimsThem) {
  std::vector<TField*> List;
  CollectFieldsByNames(&List, Set, nullptr, u"PRICE; ID");
  ASSERT_EQ(List.size(), 2u);
  EXPECT_EQ(List[0]->FieldName(), u"PRICE");
  EXPECT_EQ(List[1]->FieldName(), u"ID");

  List.clear();
  CollectFieldsByNames(&List, Set, nullptr, u"");
  EXPECT_TRUE(List.empty());
  CollectFieldsByNames(nullptr, Set, nullptr, u"ID;CODE");   // validation only
}

TEST_F(FieldListTest, UnknownNameRaisesWithTheComponentPrefixAfterAppendingTheEarlierOnes) {
  std::vector<TField*> List;
  try {
    CollectFieldsByNames(&List, Set, Set, u"ID;NAME;CODE");
    FAIL() << "no error";
  } catch (const EDatabaseError& E) {
    EXPECT_EQ(E.Message(), u"Colors: Field 'NAME' not found");
  }
  ASSERT_EQ(List.size(), 1u);
  EXPECT_EQ(List[0]->FieldName(), u"ID");

  TFieldsArrZk Fields{nullptr};
  EXPECT_THROW(FieldsArrayByNames(Set, nullptr, u"X", Fields), EDatabaseError);
  FieldsArrayByNames(Set, nullptr, u"CODE;ID", Fields);
  ASSERT_EQ(Fields.size(), 2u);
  EXPECT_EQ(Fields[0]->FieldName(), u"CODE");
}

TEST_F(FieldListTest, AssignKeyFieldValuesClearsOnNullAndAssignsArrays) {
  Set->Edit();
  AssignKeyFieldValues(Set, u"ID;CODE", Arr(0, {7, u"Z9"}));
  EXPECT_EQ(Set->FieldByName(u"ID")->AsInteger(), 7);
  EXPECT_EQ(Set->FieldByName(u"CODE")->AsString(), u"Z9");
  AssignKeyFieldValues(Set, u"ID;CODE", Null());
  EXPECT_TRUE(Set->FieldByName(u"ID")->IsNull());
  EXPECT_TRUE(Set->FieldByName(u"CODE")->IsNull());
  Set->Cancel();
}

TEST(NumberFieldType, LargeIntAndAutoIncAreNotNumbers) {
  EXPECT_TRUE(IsNumberFieldType(ftFMTBcd));
  EXPECT_TRUE(IsNumberFieldType(ftWord));
  EXPECT_FALSE(IsNumberFieldType(ftLargeint));
  EXPECT_FALSE(IsNumberFieldType(ftAutoInc));
  EXPECT_FALSE(IsNumberFieldType(ftSingle));
}

TEST(MemoryStreamZk, CapacityGrowsInDoubleHalfDeltaSteps) {
  TMemoryStreamZk S;
  S.SetCapacity(1);
  EXPECT_EQ(S.Capacity(), 8192);
  const char Byte = 'x';
  S.WriteBuffer(&Byte, 1);
  EXPECT_EQ(S.Capacity(), 8192);

  TMemoryStreamZk Big;
  Big.SetHalfMemoryDelta(65536);
  Big.WriteBuffer(&Byte, 1);
  EXPECT_EQ(Big.Capacity(), 131072);
  std::string Block(131072, 'a');
  Big.WriteBuffer(Block.data(), static_cast<Int64>(Block.size()));
  EXPECT_EQ(Big.Capacity(), 262144);
  EXPECT_EQ(Big.Size(), 131073);
  Big.Clear();
  EXPECT_EQ(Big.Capacity(), 0);
}

TEST(CompareStrLocale, CaseAndLength) {
  EXPECT_EQ(CompareStrLocale(u"abc", u"ABC", 0, true), 0);
  EXPECT_NE(CompareStrLocale(u"abc", u"ABC", 0, false), 0);
  EXPECT_EQ(CompareStrLocale(u"abcX", u"abcY", 3, false), 0);
  EXPECT_EQ(CompareWideStrLocale(u"a", u"b", 0, false), -1);
}

TEST(VariantHelpers, NullSafeCastsAndText) {
  EXPECT_EQ(VarToStrNullEmpty(Null()), u"");
  EXPECT_EQ(VarToStrNullEmpty(12), u"12");
  Variant D;
  VarCastNullSafe(D, Null(), varInteger);
  EXPECT_TRUE(VarIsNull(D));
  VarCastNullSafe(D, u"12", varInteger);
  EXPECT_EQ(VarType(D), varInteger);
  VarCopyNullSafe(D, u"x");
  EXPECT_EQ(D.AsString(), u"x");

  TObject Obj;
  EXPECT_EQ(VariantToObject(ObjectToVariant(&Obj)), &Obj);
  EXPECT_EQ(VariantToObject(ObjectToVariant(nullptr)), nullptr);
}

}  // namespace
