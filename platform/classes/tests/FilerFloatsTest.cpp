// Tests of float properties of each type (Single, Double, Extended, Currency, TDateTime) in the
// registry and in component streams, binary and text, and of streams written before the types.
#include "platform/classes/Filer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Variant.h"

namespace {

class TPriced : public TComponent {
  VORENTA_CLASS(TPriced, TComponent)
public:
  using TComponent::TComponent;
  Single Scale() const { return FScale; }
  void SetScale(Single Value) { FScale = Value; }
  Double Ratio() const { return FRatio; }
  void SetRatio(Double Value) { FRatio = Value; }
  Extended Precise() const { return FPrecise; }
  void SetPrecise(Extended Value) { FPrecise = Value; }
  Currency Price() const { return FPrice; }
  void SetPrice(Currency Value) { FPrice = Value; }
  TDateTime Stamp() const { return FStamp; }
  void SetStamp(TDateTime Value) { FStamp = Value; }

  Single FScale = 0;
  Double FRatio = 0;
  Extended FPrecise = 0;
  Currency FPrice;
  TDateTime FStamp = 0;
};

}  // namespace

REGISTER_CLASS(TPriced) {
  Class.Property("Scale", &TPriced::Scale, &TPriced::SetScale)
       .Property("Ratio", &TPriced::Ratio, &TPriced::SetRatio)
       .Property("Precise", &TPriced::Precise, &TPriced::SetPrecise)
       .Property("Price", &TPriced::Price, &TPriced::SetPrice)
       .DateTimeProperty("Stamp", &TPriced::Stamp, &TPriced::SetStamp);
}

namespace {

class FilerFloatsTest : public ::testing::Test {
protected:
  void SetUp() override { RegisterClass(TPriced::ClassInfo()); }

  static std::unique_ptr<TPriced> Make() {
    auto P = std::make_unique<TPriced>(nullptr);
    P->SetName(u"Item");
    P->SetScale(0.1f);
    P->SetRatio(0.1);
    P->SetPrecise(0.1L);
    P->SetPrice(Currency::FromRaw(INT64_MAX));   // 922337203685477.5807
    P->SetStamp(45356.75);                       // 2024-03-05 18:00
    return P;
  }

  static std::string Binary(TComponent* C) {
    TMemoryStream S;
    WriteComponentToStream(C, &S);
    return std::string(static_cast<const char*>(S.Memory()), std::size_t(S.Size()));
  }
  static std::unique_ptr<TPriced> Read(const std::string& Data) {
    TMemoryStream S;
    S.WriteBuffer(Data.data(), Int64(Data.size()));
    S.SetPosition(0);
    return std::unique_ptr<TPriced>(static_cast<TPriced*>(ReadComponentFromStream(&S)));
  }
  static void ExpectSame(const TPriced& A, const TPriced& B) {
    EXPECT_EQ(A.FScale, B.FScale);
    EXPECT_EQ(A.FRatio, B.FRatio);
    EXPECT_EQ(A.FPrecise, B.FPrecise);
    EXPECT_EQ(A.FPrice.Raw(), B.FPrice.Raw());
    EXPECT_EQ(A.FStamp, B.FStamp);
  }
};

TEST_F(FilerFloatsTest, EachTypeHasItsNameAndVariantKind) {
  auto P = Make();
  struct Row { const char16_t* Name; const char16_t* TypeName; TFloatType Type; int VarType; } Rows[] = {
      {u"Scale", u"Single", TFloatType::ftSingle, varDouble},
      {u"Ratio", u"Double", TFloatType::ftDouble, varDouble},
      {u"Precise", u"Extended", TFloatType::ftExtended, varDouble},
      {u"Price", u"Currency", TFloatType::ftCurr, varCurrency},
      {u"Stamp", u"TDateTime", TFloatType::ftDouble, varDate},
  };
  for (const Row& R : Rows) {
    const TPropInfo* Prop = TPriced::ClassInfo()->FindProperty(R.Name);
    ASSERT_NE(Prop, nullptr);
    EXPECT_EQ(Prop->Kind(), tkFloat);
    EXPECT_EQ(Prop->TypeName(), R.TypeName);
    EXPECT_EQ(Prop->FloatType(), R.Type);
    EXPECT_EQ(GetPropValue(P.get(), Prop).VType(), R.VarType) << StringToUtf8(R.Name);
  }
  // Through a Variant a currency keeps every digit.
  const TPropInfo* Price = TPriced::ClassInfo()->FindProperty(u"Price");
  SetPropValue(P.get(), Price, Variant(Currency::FromRaw(INT64_MIN + 1)));
  EXPECT_EQ(P->Price().Raw(), INT64_MIN + 1);
  EXPECT_THROW(Price->SetFloat(P.get(), 1e30L), EOverflow);
  EXPECT_THROW(TPriced::ClassInfo()->FindProperty(u"Ratio")->GetCurr(P.get()), EPropertyError);
}

TEST_F(FilerFloatsTest, EachTypeIsStreamedInItsOwnTagAndComesBackExactly) {
  auto P = Make();
  const std::string Bin = Binary(P.get());
  struct Row { const char* Name; TValueType Tag; } Rows[] = {
      {"Scale", vaSingle}, {"Ratio", vaDouble}, {"Precise", vaExtended},
      {"Price", vaCurrency}, {"Stamp", vaDate},
  };
  for (const Row& R : Rows) {
    const std::string Name = char(std::strlen(R.Name)) + std::string(R.Name);
    const std::size_t At = Bin.find(Name);
    ASSERT_NE(At, std::string::npos) << R.Name;
    EXPECT_EQ(Bin[At + Name.size()], char(R.Tag)) << R.Name;
  }
  auto Copy = Read(Bin);
  ExpectSame(*P, *Copy);
  EXPECT_EQ(Binary(Copy.get()), Bin);
  // Zero is the default of every float: nothing is written.
  auto Zero = std::make_unique<TPriced>(nullptr);
  EXPECT_EQ(Binary(Zero.get()).find("\x05Price"), std::string::npos);
}

TEST_F(FilerFloatsTest, TextFormShowsEachTypeAndRoundTripsByteForByte) {
  auto P = Make();
  const String Text = ComponentToText(P.get());
  const std::string Utf8 = StringToUtf8(Text);
  for (const char* Piece : {"Scale = 0.1s\n", "Ratio = 0.1\n", "Price = 922337203685477.5807c\n",
                            "Stamp = 45356.75d\n"})
    EXPECT_NE(Utf8.find(Piece), std::string::npos) << Piece << "\n" << Utf8;
  auto FromText = std::unique_ptr<TPriced>(static_cast<TPriced*>(TextToComponent(Text)));
  ExpectSame(*P, *FromText);

  // The plain conversions, with an extended whose shortest form is a double's as well.
  for (Extended Precise : {0.1L, 1.5L, 1e20L, -3.0L}) {
    P->SetPrecise(Precise);
    const std::string Bin = Binary(P.get());
    TMemoryStream In, Middle, Out;
    In.WriteBuffer(Bin.data(), Int64(Bin.size()));
    In.SetPosition(0);
    ObjectBinaryToText(&In, &Middle);
    Middle.SetPosition(0);
    ObjectTextToBinary(&Middle, &Out);
    EXPECT_EQ(std::string(static_cast<const char*>(Out.Memory()), std::size_t(Out.Size())), Bin)
        << double(Precise);
  }
  EXPECT_NE(StringToUtf8(ComponentToText(P.get())).find("Precise = -3.00\n"), std::string::npos);
}

TEST_F(FilerFloatsTest, StreamsWrittenBeforeTheFloatTypesStillRead) {
  // Doubles used to be written as extended floats (long shortest forms in text); a currency
  // may come as an integer or a plain float, a date as a plain float.
  const String Old =
      u"object Item: TPriced\n"
      u"  Scale = 0.100000001490116119384765625\n"
      u"  Ratio = 0.1000000000000000055511151231257827\n"
      u"  Precise = 2\n"
      u"  Price = 5\n"
      u"  Stamp = 45356.75\n"
      u"end\n";
  auto P = std::unique_ptr<TPriced>(static_cast<TPriced*>(TextToComponent(Old)));
  EXPECT_EQ(P->Scale(), 0.1f);
  EXPECT_EQ(P->Ratio(), 0.1);
  EXPECT_EQ(P->Precise(), 2.0L);
  EXPECT_EQ(P->Price().Raw(), 50000);
  EXPECT_EQ(P->Stamp(), 45356.75);
  P = std::unique_ptr<TPriced>(static_cast<TPriced*>(
      TextToComponent(u"object Item: TPriced\n  Price = 12.3456\nend\n")));
  EXPECT_EQ(P->Price().Raw(), 123456);
}

// The text of the currency range's ends used to be refused when read back.
TEST_F(FilerFloatsTest, CurrencyRangeEndsReadBackFromText) {
  for (Int64 Raw : {INT64_MAX, INT64_MIN}) {
    auto P = Make();
    P->SetPrice(Currency::FromRaw(Raw));
    auto Copy = std::unique_ptr<TPriced>(static_cast<TPriced*>(TextToComponent(ComponentToText(P.get()))));
    EXPECT_EQ(Copy->Price().Raw(), Raw);
  }
  EXPECT_THROW(TextToComponent(u"object Item: TPriced\n  Price = 922337203685477.5808c\nend\n"),
               EReadError);
}

}  // namespace
