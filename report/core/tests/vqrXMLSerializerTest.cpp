// vqrXMLSerializerTest.cpp - write and read rules of the serializer over small test classes.
#include "report/core/vqrXMLSerializer.h"

#include <gtest/gtest.h>

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrXML.h"

namespace {

VORENTA_ENUM(TSerTestAlign, staLeft, staCenter, staRight);

class TSerTestFrame : public TPersistent {
  VORENTA_CLASS(TSerTestFrame, TPersistent)
public:
  int Typ() const { return FTyp; }
  void SetTyp(int Value) { FTyp = Value; }
  const String& Style() const { return FStyle; }
  void SetStyle(const String& Value) { FStyle = Value; }

private:
  int FTyp = 0;
  String FStyle = u"solid";
};

// A view with one property of each kind, a text, and a defined property "Extra".
class TSerTestView : public TvqrComponent, public IvqrSerializedText {
  VORENTA_CLASS(TSerTestView, TvqrComponent)
public:
  explicit TSerTestView(TComponent* AOwner) : TvqrComponent(AOwner) {}

  int Count() const { return FCount; }
  void SetCount(int Value) {
    if (Value < 0) throw EConvertError(u"Count below zero");
    FCount = Value;
  }
  TSerTestAlign Align() const { return FAlign; }
  void SetAlign(TSerTestAlign Value) { FAlign = Value; }
  bool Flag() const { return FFlag; }
  void SetFlag(bool Value) { FFlag = Value; }
  Extended Ratio() const { return FRatio; }
  void SetRatio(Extended Value) { FRatio = Value; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  const Variant& Data() const { return FData; }
  void SetData(const Variant& Value) { FData = Value; }
  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  TSerTestFrame* Frame() const { return FFrame.get(); }
  void SetFrame(TSerTestFrame*) {}
  TComponent* Link() const { return FLink; }
  void SetLink(TComponent* Value) { FLink = Value; }
  const String& Extra() const { return FExtra; }
  void SetExtra(const String& Value) { FExtra = Value; }

  String SerializedText() const override { return FText; }
  void SetSerializedText(const String& Value) override { FText = Value; }

protected:
  void DefineProperties(TFiler* Filer) override {
    Filer->DefineProperty(
        u"Extra", [this](TReader* R) { FExtra = R->ReadString(); },
        [this](TWriter* W) { W->WriteString(FExtra); }, !FExtra.empty());
  }

private:
  int FCount = 5;
  TSerTestAlign FAlign = staLeft;
  bool FFlag = false;
  Extended FRatio = 0;
  String FCaption;
  Variant FData;
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
  std::unique_ptr<TSerTestFrame> FFrame = std::make_unique<TSerTestFrame>();
  TComponent* FLink = nullptr;
  String FExtra;
  String FText;
};

}  // namespace

REGISTER_CLASS(TSerTestFrame) {
  Class.Property("Typ", &TSerTestFrame::Typ, &TSerTestFrame::SetTyp, 0)
      .Property("Style", &TSerTestFrame::Style, &TSerTestFrame::SetStyle, u"solid");
}

REGISTER_CLASS(TSerTestView) {
  Class.Property("Left", &TvqrComponent::Left, &TvqrComponent::SetLeft)
      .Property("Count", &TSerTestView::Count, &TSerTestView::SetCount, 5)
      .Property("Align", &TSerTestView::Align, &TSerTestView::SetAlign, staLeft)
      .Property("Flag", &TSerTestView::Flag, &TSerTestView::SetFlag)
      .Property("Ratio", &TSerTestView::Ratio, &TSerTestView::SetRatio)
      .Property("Caption", &TSerTestView::Caption, &TSerTestView::SetCaption)
      .Property("Data", &TSerTestView::Data, &TSerTestView::SetData)
      .Property("Lines", &TSerTestView::Lines, &TSerTestView::SetLines)
      .Property("Frame", &TSerTestView::Frame, &TSerTestView::SetFrame)
      .Property("Link", &TSerTestView::Link, &TSerTestView::SetLink);
}

namespace {

class VqrSerializer : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterReportClasses();
    RegisterClass(TSerTestView::ClassInfo());
  }
  TvqrReport Report{nullptr};
  TFormatSettingsScope Russian{TFormatSettings::Russian()};
};

}  // namespace

TEST_F(VqrSerializer, WritesWhatDiffersFromDefaults) {
  auto* V = new TSerTestView(&Report);
  TvqrXMLSerializer S;
  S.SetOwner(&Report);
  // Floats, variants, string lists and the text are always written without an ancestor;
  // a string with a non-empty default is written as it is.
  EXPECT_EQ(S.ObjToXML(V), u" Left=\"0\" Flag=\"0\" Ratio=\"0\" Data=\"\" Lines.Text=\"\" "
                           u"Frame.Style=\"solid\" Text=\"\"");
  V->SetCount(7);
  V->SetAlign(staRight);
  V->SetFlag(true);
  V->SetRatio(1.5);
  V->SetCaption(u"a\"b");
  V->SetData(Variant(u"x<y"));
  V->Lines()->SetText(u"one\r\ntwo\r\n");
  V->Frame()->SetTyp(15);
  V->Frame()->SetStyle(u"");
  V->SetSerializedText(u"L1\r\nL2");
  V->SetExtra(u"E");
  String Text = S.ObjToXML(V);
  EXPECT_EQ(Text.substr(0, Text.find(u" PropData")),
            u" Left=\"0\" Count=\"7\" Align=\"staRight\" Flag=\"1\" Ratio=\"1,5\" "
            u"Caption=\"a&#34;b\" Data=\"x&#60;y\" Lines.Text=\"one&#13;&#10;two\" "
            u"Frame.Typ=\"15\" Frame.Style=\"\" Text=\"L1&#13;&#10;L2\"");
  EXPECT_NE(Text.find(u" PropData=\""), String::npos);

  S.SetSerializeDefaultValues(true);
  auto* Plain = new TSerTestView(&Report);
  EXPECT_NE(S.ObjToXML(Plain).find(u" Count=\"5\""), String::npos);
}

TEST_F(VqrSerializer, AgainstAnEqualAncestorNothingIsWritten) {
  auto* A = new TSerTestView(&Report);
  auto* B = new TSerTestView(&Report);
  for (TSerTestView* V : {A, B}) {
    V->SetRatio(2.0000001);
    V->SetCaption(u"c");
    V->SetSerializedText(u"t");
    V->SetExtra(u"e");
  }
  B->SetRatio(2.0000002);
  TvqrXMLSerializer S;
  S.SetOwner(&Report);
  EXPECT_EQ(S.ObjToXML(A, {}, B), u"");
  B->SetLink(A);
  EXPECT_EQ(S.ObjToXML(A, {}, B), u" Link=\"nil\"");
}

TEST_F(VqrSerializer, DefinedPropertiesWithTheSameChecksumAsTheAncestorsAreStillWritten) {
  // The two texts have the same CRC-32, and so have the defined-property streams holding them.
  auto* A = new TSerTestView(&Report);
  auto* B = new TSerTestView(&Report);
  A->SetExtra(u"erJIIsgT");
  B->SetExtra(u"hKrOElKs");
  TvqrXMLSerializer S;
  S.SetOwner(&Report);
  EXPECT_NE(S.ObjToXML(A, {}, B).find(u" PropData=\""), String::npos);
}

TEST_F(VqrSerializer, ReadsValuesPathsAndReferences) {
  auto* V = new TSerTestView(&Report);
  V->SetName(u"View1");
  auto* Target = new TSerTestView(&Report);
  Target->SetName(u"Target");
  TvqrXMLSerializer S;
  S.ReadPersistentStr(&Report, V,
                      u" l=\"1,5\" Count=\"8\" Align=\"staCenter\" Flag=\"True\" Ratio=\"2.25\" "
                      u"Caption=\"a&#34;b\" Frame.Typ=\"3\" Frame.Nothing=\"1\" Nope.Typ=\"2\" "
                      u"Lines.Text=\"x&#13;&#10;y\" Link=\"Target\" Unknown=\"1\" u=\"m&#10;n\"");
  EXPECT_EQ(V->Left(), 1.5L);
  EXPECT_EQ(V->Count(), 8);
  EXPECT_EQ(V->Align(), staCenter);
  EXPECT_TRUE(V->Flag());
  EXPECT_EQ(V->Ratio(), 2.25L);
  EXPECT_EQ(V->Caption(), u"a\"b");
  EXPECT_EQ(V->Frame()->Typ(), 3);
  EXPECT_EQ(V->Lines()->Count(), 2);
  EXPECT_EQ(V->Link(), Target);
  EXPECT_EQ(V->SerializedText(), u"m\nn");
  EXPECT_EQ(S.Errors()->Count(), 0);

  // A reference naming nothing leaves the property as it was.
  S.ReadPersistentStr(&Report, V, u"Link=\"nil\" Align=\"staNowhere\"");
  EXPECT_EQ(V->Link(), Target);
  EXPECT_EQ(V->Align(), staCenter);
}

// Objects of one class read one after another: the lookup learns the order of the names
// from each object and must still find every name when the next object's order or case
// differs, a name repeats or an unknown name comes between.
TEST_F(VqrSerializer, NamesAreFoundInAnyOrderAndCaseAcrossObjects) {
  struct TCase {
    const char16_t* Text;
    int Count;
    TSerTestAlign Align;
    const char16_t* Caption;
    int FrameTyp;
  };
  const TCase Cases[] = {
      {u"Count=\"1\" Align=\"staRight\" Caption=\"a\" Frame.Typ=\"1\"", 1, staRight, u"a", 1},
      {u"Count=\"2\" Align=\"staCenter\" Caption=\"b\" Frame.Typ=\"2\"", 2, staCenter, u"b", 2},
      {u"Frame.Typ=\"3\" Caption=\"c\" Align=\"staRight\" Count=\"3\"", 3, staRight, u"c", 3},
      {u"COUNT=\"4\" caption=\"d\" frame.TYP=\"4\" aLiGn=\"staCenter\"", 4, staCenter, u"d", 4},
      {u"Count=\"5\" Nothing=\"1\" Count=\"6\" Caption=\"e\" Caption=\"f\"", 6, staLeft, u"f", 0},
      {u"Caption=\"g\" Frame.Style=\"x\" Frame.Typ=\"7\" Count=\"7\"", 7, staLeft, u"g", 7},
  };
  TvqrXMLSerializer S;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(StringToUtf8(C.Text));
    auto* V = new TSerTestView(&Report);
    S.ReadPersistentStr(&Report, V, C.Text);
    EXPECT_EQ(V->Count(), C.Count);
    EXPECT_EQ(V->Align(), C.Align);
    EXPECT_EQ(V->Caption(), C.Caption);
    EXPECT_EQ(V->Frame()->Typ(), C.FrameTyp);
  }
  EXPECT_EQ(S.Errors()->Count(), 0);
}

// Integers and enumerations read the same whether the text is the writer's plain digits or
// another form the general parser knows; a text that is no number is one error.
TEST_F(VqrSerializer, IntegerAndEnumerationTextsInEveryForm) {
  struct TCase {
    const char16_t* Text;
    int Count;
    TSerTestAlign Align;
    int Errors;
  };
  const TCase Cases[] = {
      {u"Count=\"12\" Align=\"2\"", 12, staRight, 0},
      {u"Count=\"-0\" Align=\"0\"", 0, staLeft, 0},
      {u"Count=\"$1F\" Align=\"$1\"", 31, staCenter, 0},
      {u"Count=\" 7\" Align=\" 2\"", 7, staRight, 0},
      {u"Count=\"+9\" Align=\"0x1\"", 9, staCenter, 0},
      {u"Count=\"000000000000000000000042\" Align=\"STARIGHT\"", 42, staRight, 0},
      {u"Count=\"12a\" Align=\"staNowhere\"", 5, staLeft, 1},
      {u"Count=\"-\"", 5, staLeft, 1},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(StringToUtf8(C.Text));
    auto* V = new TSerTestView(&Report);
    TvqrXMLSerializer S;
    S.ReadPersistentStr(&Report, V, C.Text);
    EXPECT_EQ(V->Count(), C.Count);
    EXPECT_EQ(V->Align(), C.Align);
    EXPECT_EQ(S.Errors()->Count(), C.Errors);
  }
}

TEST_F(VqrSerializer, BadValuesAreCollectedAndReadingGoesOn) {
  auto* V = new TSerTestView(&Report);
  TvqrXMLSerializer S;
  S.ReadPersistentStr(&Report, V, u"Count=\"-1\" Ratio=\"x\" Count=\"-2\" Caption=\"ok\"");
  EXPECT_EQ(V->Caption(), u"ok");
  EXPECT_EQ(V->Count(), 5);
  ASSERT_EQ(S.Errors()->Count(), 2);  // "Count below zero" once, and the float error
  EXPECT_EQ(S.Errors()->IndexOf(u"Count below zero") >= 0, true);
}

TEST_F(VqrSerializer, DefinedPropertiesTravelAsHex) {
  auto* V = new TSerTestView(&Report);
  V->SetExtra(u"Краска");
  TvqrXMLSerializer S;
  S.SetOwner(&Report);
  String Text = S.ObjToXML(V);
  auto* W = new TSerTestView(&Report);
  S.XMLToObj(Text, W);
  EXPECT_EQ(W->Extra(), u"Краска");
  // Bad data ends the binary reading silently.
  S.XMLToObj(u"PropData=\"05ZZ\"", W);
  EXPECT_EQ(S.Errors()->Count(), 0);
}

TEST_F(VqrSerializer, ComponentStringsAndTrees) {
  auto* V = new TSerTestView(&Report);
  V->SetCount(9);
  TvqrXMLSerializer S;
  String Str = S.WriteComponentStr(V);
  EXPECT_EQ(Str.substr(0, 24), u"TSerTestView Left=\"0\" Co");
  TComponent* Copy = S.ReadComponentStr(&Report, Str);
  ASSERT_TRUE(dynamic_cast<TSerTestView*>(Copy));
  EXPECT_EQ(static_cast<TSerTestView*>(Copy)->Count(), 9);
  EXPECT_EQ(S.ReadComponentStr(&Report, u"  "), nullptr);
  EXPECT_THROW(S.ReadComponentStr(&Report, u"TNoSuchClass a=\"1\""), EClassNotFound);

  // A tree with two elements of an unknown class reports it once and reads the rest.
  TvqrXMLDocument Doc;
  Doc.Root()->SetName(u"TvqrReport");
  Doc.Root()->SetText(u"Name=\"Renamed\"");
  for (const char16_t* Name : {u"TUnknown", u"TUnknown", u"TSerTestView"}) {
    TvqrXMLItem* Item = Doc.Root()->Add();
    Item->SetName(Name);
    Item->SetText(u"Name=\"Obj1\" Count=\"3\"");
    Item->Add()->SetName(u"TSerTestView");
  }
  TvqrReport Target(nullptr);
  Target.SetName(u"Kept");
  TvqrXMLSerializer R;
  R.ReadRootComponent(&Target, Doc.Root());
  EXPECT_EQ(Target.Name(), u"Kept");
  ASSERT_EQ(R.Errors()->Count(), 1);
  EXPECT_EQ(R.Errors()->Get(0), u"Не удалось найти класс TUnknown");
  ASSERT_EQ(Target.Objects().size(), 1u);
  auto* Read = dynamic_cast<TSerTestView*>(Target.Objects()[0]);
  ASSERT_TRUE(Read);
  EXPECT_EQ(Read->Name(), u"Obj1");
  EXPECT_EQ(Read->Count(), 3);
  EXPECT_EQ(Read->Objects().size(), 1u);
  EXPECT_FALSE(Read->IsLoading());
}
