// Tests of the type registry and of component streams in binary and text form.
#include "platform/classes/Filer.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include "platform/classes/Filer_p.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Variant.h"

VORENTA_ENUM(TTestAlign, taNone, taTop, taBottom);
VORENTA_ENUM(TTestOption, toOne, toTwo, toThree);
VORENTA_SET(TTestOptions, TTestOption);

namespace {

class TTestFont : public TPersistent {
  VORENTA_CLASS(TTestFont, TPersistent)
public:
  String FontName() const { return FName; }
  void SetFontName(const String& Value) { FName = Value; }
  int Size() const { return FSize; }
  void SetSize(int Value) { FSize = Value; }

private:
  String FName = u"Arial";
  int FSize = 8;
};

class TTestItem2 : public TCollectionItem {
  VORENTA_CLASS(TTestItem2, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  String Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }

private:
  String FCaption;
};

using TTestEvent = std::function<void(TObject*)>;

// A component with one property of every kind, a sub-object, a collection, a defined
// property, and its owned components as children.
class TWidget : public TComponent {
  VORENTA_CLASS(TWidget, TComponent)
public:
  explicit TWidget(TComponent* AOwner)
      : TComponent(AOwner), FFont(new TTestFont), FItems(this, TTestItem2::ClassInfo()) {}

  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  Int64 Big() const { return FBig; }
  void SetBig(Int64 Value) { FBig = Value; }
  double Ratio() const { return FRatio; }
  void SetRatio(double Value) { FRatio = Value; }
  String Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  Char Accel() const { return FAccel; }
  void SetAccel(Char Value) { FAccel = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  TTestAlign Align() const { return FAlign; }
  void SetAlign(TTestAlign Value) { FAlign = Value; }
  TTestOptions Options() const { return FOptions; }
  void SetOptions(TTestOptions Value) { FOptions = Value; }
  TTestFont* Font() const { return FFont.get(); }
  void SetFont(TTestFont* Value) { FFont->Assign(Value); }
  TOwnedCollection* Items() const { return const_cast<TOwnedCollection*>(&FItems); }
  void SetItems(TOwnedCollection* Value) { FItems.Assign(Value); }
  TWidget* Buddy() const { return FBuddy; }
  void SetBuddy(TWidget* Value) { FBuddy = Value; }
  Variant Value() const { return FValue; }
  void SetValue(const Variant& V) { FValue = V; }
  TTestEvent OnClick() const { return FOnClick; }
  void SetOnClick(const TTestEvent& Value) { FOnClick = Value; }
  bool IsCaptionStored() const { return FCaption != u"-"; }

  std::string Blob;  // the defined property "Data"
  int Clicks = 0;
  void Widget1Click(TObject*) { ++Clicks; }
  int LoadedCalls = 0;

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {
    if (Root != this) return;
    for (int I = 0; I < ComponentCount(); ++I) Proc(Components(I));
  }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCalls;
  }

protected:
  void DefineProperties(TFiler* Filer) override {
    TComponent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        u"Data", [this](TStream* S) { Blob.resize(S->Size()); S->ReadBuffer(Blob.data(), S->Size()); },
        [this](TStream* S) { S->WriteBuffer(Blob.data(), Blob.size()); }, !Blob.empty());
  }

private:
  int FWidth = 100;
  Int64 FBig = 0;
  double FRatio = 0;
  String FCaption;
  Char FAccel = u'A';
  bool FVisible = true;
  TTestAlign FAlign = taNone;
  TTestOptions FOptions;
  std::unique_ptr<TTestFont> FFont;
  TOwnedCollection FItems;
  TWidget* FBuddy = nullptr;
  Variant FValue;
  TTestEvent FOnClick;
};

}  // namespace

REGISTER_CLASS(TTestFont) {
  Class.Property("Name", &TTestFont::FontName, &TTestFont::SetFontName, u"Arial")
       .Property("Size", &TTestFont::Size, &TTestFont::SetSize, 8);
}

REGISTER_CLASS(TTestItem2) { Class.Property("Caption", &TTestItem2::Caption, &TTestItem2::SetCaption); }

REGISTER_CLASS(TWidget) {
  Class.Property("Width", &TWidget::Width, &TWidget::SetWidth, 100)
       .Property("Big", &TWidget::Big, &TWidget::SetBig, 0)
       .Property("Ratio", &TWidget::Ratio, &TWidget::SetRatio)
       .Property("Caption", &TWidget::Caption, &TWidget::SetCaption).Stored(&TWidget::IsCaptionStored)
       .Property("Accel", &TWidget::Accel, &TWidget::SetAccel, u'A')
       .Property("Visible", &TWidget::Visible, &TWidget::SetVisible, true)
       .Property("Align", &TWidget::Align, &TWidget::SetAlign, taNone)
       .Property("Options", &TWidget::Options, &TWidget::SetOptions, TTestOptions{})
       .Property("Font", &TWidget::Font, &TWidget::SetFont)
       .Property("Items", &TWidget::Items, &TWidget::SetItems)
       .Property("Buddy", &TWidget::Buddy, &TWidget::SetBuddy)
       .Property("Value", &TWidget::Value, &TWidget::SetValue)
       .Property("OnClick", &TWidget::OnClick, &TWidget::SetOnClick)
       .Method("Widget1Click", &TWidget::Widget1Click);
}

namespace {

class FilerTest : public ::testing::Test {
protected:
  void SetUp() override { RegisterClasses({TWidget::ClassInfo(), TTestFont::ClassInfo()}); }

  // Root "Form" with children "Edit" (referring to "Label") and "Label".
  static std::unique_ptr<TWidget> MakeTree() {
    auto Root = std::make_unique<TWidget>(nullptr);
    Root->SetName(u"Form");
    Root->SetCaption(u"Заказ №1 'A'\r\n" + String(70, u'x'));
    Root->SetRatio(0.1);
    Root->SetBig(1LL << 40);
    Root->SetOptions({toOne, toThree});
    Root->Font()->SetFontName(u"");  // differs from the default "Arial": written as vaWString
    Root->Blob = std::string("\x00\x01\xFF", 3);
    static_cast<TTestItem2*>(Root->Items()->Add())->SetCaption(u"first");
    Root->Items()->Add();
    Root->SetValue(Variant(Currency::FromRaw(-12345)));
    auto* Edit = new TWidget(Root.get());
    Edit->SetName(u"Edit");
    Edit->SetWidth(-129);
    Edit->SetAlign(taBottom);
    Edit->SetVisible(false);
    Edit->SetAccel(u'Ж');
    auto* Label = new TWidget(Root.get());
    Label->SetName(u"Label");
    Label->SetCaption(u"-");  // not stored
    Edit->SetBuddy(Label);
    TWidget* R = Root.get();
    R->ClassType()->FindProperty(u"OnClick")->SetMethodName(Label, R, u"Widget1Click");
    return Root;
  }

  static std::string Bytes(TMemoryStream& S) {
    return std::string(static_cast<const char*>(S.Memory()), static_cast<std::size_t>(S.Size()));
  }
  static std::string Binary(TComponent* Root) {
    TMemoryStream S;
    WriteComponentToStream(Root, &S);
    return Bytes(S);
  }
  static std::unique_ptr<TWidget> ReadBinary(const std::string& Data) {
    TMemoryStream S;
    S.WriteBuffer(Data.data(), Data.size());
    S.SetPosition(0);
    return std::unique_ptr<TWidget>(static_cast<TWidget*>(ReadComponentFromStream(&S)));
  }
};

// --- The registry -------------------------------------------------------------------------------

TEST_F(FilerTest, PropertiesInOrderInheritedFirstWithKindsAndDefaults) {
  struct Row {
    const char16_t* Name;
    TTypeKind Kind;
    const char16_t* TypeName;
    bool HasDefault;
    Int64 Default;
  } Rows[] = {
      {u"Name", tkString, u"String", false, 0},  {u"Tag", tkInteger, u"Integer", true, 0},
      {u"Width", tkInteger, u"Integer", true, 100}, {u"Big", tkInt64, u"Int64", true, 0},
      {u"Ratio", tkFloat, u"Double", false, 0},  {u"Caption", tkString, u"String", false, 0},
      {u"Accel", tkChar, u"Char", true, u'A'},   {u"Visible", tkEnumeration, u"Boolean", true, 1},
      {u"Align", tkEnumeration, u"TTestAlign", true, 0},
      {u"Options", tkSet, u"TTestOptions", true, 0},
      {u"Font", tkClass, u"TTestFont", false, 0},
      {u"Items", tkClass, u"TOwnedCollection", false, 0},
      {u"Buddy", tkClass, u"TWidget", false, 0}, {u"Value", tkVariant, u"Variant", false, 0},
      {u"OnClick", tkMethod, u"Event", false, 0},
  };
  const auto& Props = TWidget::ClassInfo()->Properties();
  ASSERT_EQ(Props.size(), std::size(Rows));
  for (std::size_t I = 0; I < Props.size(); ++I) {
    SCOPED_TRACE(ToUtf8(Rows[I].Name));
    EXPECT_EQ(Props[I]->Name(), Rows[I].Name);
    EXPECT_EQ(Props[I]->Kind(), Rows[I].Kind);
    EXPECT_EQ(Props[I]->TypeName(), Rows[I].TypeName);
    EXPECT_EQ(Props[I]->HasDefault(), Rows[I].HasDefault);
    if (Rows[I].HasDefault) { EXPECT_EQ(Props[I]->Default(), Rows[I].Default); }
  }
  EXPECT_EQ(TWidget::ClassInfo()->Parent(), TComponent::ClassInfo());
  EXPECT_EQ(FindClass(u"twidget"), TWidget::ClassInfo());
  EXPECT_EQ(FindClass(u"TComponent"), TComponent::ClassInfo());  // ancestors come along
  try {
    FindClass(u"TNoSuch");
    FAIL();
  } catch (const EClassNotFound& E) {
    EXPECT_EQ(E.Message(), u"Class TNoSuch not found");
  }
}

TEST_F(FilerTest, StoredEnumNamesAndVariantAccess) {
  TWidget W(nullptr);
  const TClassInfo* C = W.ClassType();
  EXPECT_TRUE(C->FindProperty(u"caption")->IsStored(&W));
  W.SetCaption(u"-");
  EXPECT_FALSE(C->FindProperty(u"Caption")->IsStored(&W));
  EXPECT_FALSE(C->FindProperty(u"Name")->IsStored(&W));
  const TPropInfo* Align = C->FindProperty(u"Align");
  EXPECT_EQ(Align->EnumType()->ValueName(2), u"taBottom");
  EXPECT_EQ(Align->EnumType()->IndexOf(u"TATOP"), 1);
  EXPECT_EQ(Align->EnumType()->IndexOf(u"taBottom"), 2);
  EXPECT_EQ(Align->EnumType()->IndexOf(u"taLeft"), -1);
  // Names equal but for case: any spelling gives the first of them, even the later one's own.
  const TEnumInfo Twins("TTwins", "Mixed, Other, mixed");
  EXPECT_EQ(Twins.IndexOf(u"mixed"), 0);
  EXPECT_EQ(Twins.IndexOf(u"MIXED"), 0);
  EXPECT_EQ(Twins.IndexOf(u"Other"), 1);
  SetPropValue(&W, Align, Variant(u"taTop"));
  EXPECT_EQ(W.Align(), taTop);
  EXPECT_EQ(GetPropValue(&W, Align).AsString(), u"taTop");
  EXPECT_THROW(SetPropValue(&W, Align, Variant(u"taLeft")), EPropertyError);
  EXPECT_THROW(Align->SetOrd(&W, 3), EPropertyError);
  SetPropValue(&W, C->FindProperty(u"Width"), Variant(u"42"));
  EXPECT_EQ(W.Width(), 42);
  EXPECT_TRUE(GetPropValue(&W, C->FindProperty(u"Visible")).AsBoolean());
  C->FindProperty(u"Options")->SetOrd(&W, 0b110);
  EXPECT_EQ(W.Options(), (TTestOptions{toTwo, toThree}));
  EXPECT_THROW(C->FindProperty(u"Options")->SetOrd(&W, 0b1000), EPropertyError);
  EXPECT_THROW(C->FindProperty(u"Width")->GetStr(&W), EPropertyError);
  EXPECT_EQ(W.ClassName(), u"TWidget");
  EXPECT_TRUE(W.InheritsFrom(TPersistent::ClassInfo()));
  EXPECT_TRUE(W.InheritsFrom(C));
  EXPECT_FALSE(W.InheritsFrom(TCollection::ClassInfo()));  // a sibling line of TComponent
  EXPECT_FALSE(TPersistent::ClassInfo()->InheritsFrom(C));  // an ancestor from a descendant
  EXPECT_FALSE(C->InheritsFrom(nullptr));
  std::unique_ptr<TComponent> Made(C->CreateComponent(nullptr));
  EXPECT_EQ(Made->ClassType(), C);
}

TEST_F(FilerTest, EventsBindToPublishedMethodsByName) {
  TWidget W(nullptr);
  const TPropInfo* OnClick = W.ClassType()->FindProperty(u"OnClick");
  OnClick->SetMethodName(&W, &W, u"widget1click");
  W.OnClick()(&W);
  EXPECT_EQ(W.Clicks, 1);
  EXPECT_EQ(OnClick->GetMethodName(&W), u"Widget1Click");
  W.SetOnClick([](TObject*) {});  // code without a name is not streamed
  EXPECT_EQ(OnClick->GetMethodName(&W), u"");
  EXPECT_THROW(OnClick->SetMethodName(&W, &W, u"Nothing"), EMethodNotFound);
}

class TDuplicate : public TComponent {
  VORENTA_CLASS(TDuplicate, TComponent)
public:
  using TComponent::TComponent;
  int Width() const { return 0; }
  void SetWidth(int) {}
};

}  // namespace

REGISTER_CLASS(TDuplicate) {
  Class.Property("Width", &TDuplicate::Width, &TDuplicate::SetWidth)
       .Property("WIDTH", &TDuplicate::Width, &TDuplicate::SetWidth);
}

namespace {

TEST_F(FilerTest, DuplicatePropertyNameIsRejected) {
  try {
    TDuplicate::ClassInfo();
    FAIL();
  } catch (const EPropertyError& E) {
    EXPECT_EQ(E.Message(), u"Duplicate property TDuplicate.WIDTH");
  }
}

// --- Binary and text streams --------------------------------------------------------------------

TEST_F(FilerTest, TreeWrittenReadAndWrittenAgainGivesTheSameBytes) {
  auto Tree = MakeTree();
  std::string First = Binary(Tree.get());
  auto Copy = ReadBinary(First);
  EXPECT_EQ(Binary(Copy.get()), First);

  EXPECT_EQ(Copy->Caption(), Tree->Caption());
  EXPECT_EQ(Copy->Blob, Tree->Blob);
  EXPECT_EQ(Copy->Font()->FontName(), u"");
  EXPECT_EQ(Copy->Big(), 1LL << 40);
  EXPECT_EQ(Copy->Items()->Count(), 2);
  EXPECT_EQ(Copy->Value().AsCurrency().Raw(), -12345);
  ASSERT_EQ(Copy->ComponentCount(), 2);
  auto* Edit = static_cast<TWidget*>(Copy->FindComponent(u"Edit"));
  auto* Label = static_cast<TWidget*>(Copy->FindComponent(u"Label"));
  EXPECT_EQ(Edit->Buddy(), Label);
  EXPECT_EQ(Edit->Accel(), u'Ж');
  EXPECT_EQ(Edit->Width(), -129);
  Label->OnClick()(Label);
  EXPECT_EQ(Copy->Clicks, 1);  // bound to the root's method
  EXPECT_EQ(Label->LoadedCalls, 1);
  EXPECT_EQ(Copy->LoadedCalls, 1);
  EXPECT_FALSE(Label->ComponentState().Contains(csLoading));
}

TEST_F(FilerTest, TextFormRoundTripsExactly) {
  auto Tree = MakeTree();
  std::string Bin = Binary(Tree.get());
  String Text = ComponentToText(Tree.get());
  auto FromText = std::unique_ptr<TWidget>(static_cast<TWidget*>(TextToComponent(Text)));
  EXPECT_EQ(Binary(FromText.get()), Bin);
  EXPECT_EQ(ComponentToText(FromText.get()), Text);
  // The stream conversions alone: binary -> text -> binary is byte for byte.
  TMemoryStream In, TextStream, Out;
  In.WriteBuffer(Bin.data(), Bin.size());
  In.SetPosition(0);
  ObjectBinaryToText(&In, &TextStream);
  TextStream.SetPosition(0);
  ObjectTextToBinary(&TextStream, &Out);
  EXPECT_EQ(Bytes(Out), Bin);
  std::string Utf8 = ToUtf8(Text);
  for (const char* Piece : {"object Form: TWidget\n", "  Caption = 'Заказ №1 ''A'''#13#10'xx",
                            "' +\n", "  Options = [toOne, toThree]\n", "  Font.Name = ''\n",
                            "  Items = <\n    item\n      Caption = 'first'\n    end\n    item\n    end>\n",
                            "  Value = -1.2345c\n", "  Data = {\n    0001FF}\n",
                            "    Align = taBottom\n", "    Visible = False\n", "    Buddy = Label\n",
                            "    OnClick = Widget1Click\n", "  end\nend\n"})
    EXPECT_NE(Utf8.find(Piece), std::string::npos) << Piece << "\n" << Utf8;
}

TEST_F(FilerTest, ValueEncodings) {
  struct Case {
    const char* Name;
    std::function<void(TWriter&)> Write;
    std::string Expected;
  } Cases[] = {
      {"300", [](TWriter& W) { W.WriteInteger(300); }, std::string("\x03\x2C\x01", 3)},
      {"-129", [](TWriter& W) { W.WriteInteger(-129); }, std::string("\x03\x7F\xFF", 3)},
      {"-128", [](TWriter& W) { W.WriteInteger(-128); }, std::string("\x02\x80", 2)},
      {"2^31", [](TWriter& W) { W.WriteInteger(2147483648LL); },
       std::string("\x13\x00\x00\x00\x80\x00\x00\x00\x00", 9)},
      {"empty", [](TWriter& W) { W.WriteString(u""); }, std::string("\x12\x00\x00\x00\x00", 5)},
      {"ascii", [](TWriter& W) { W.WriteString(u"ab"); }, std::string("\x06\x02" "ab", 4)},
      {"cyrillic", [](TWriter& W) { W.WriteString(u"Жук"); },
       std::string("\x12\x03\x00\x00\x00\x16\x04\x43\x04\x3A\x04", 11)},
      {"mixed", [](TWriter& W) { W.WriteString(u"aЖ"); }, std::string("\x14\x03\x00\x00\x00" "a\xD0\x96", 8)},
      {"255", [](TWriter& W) { W.WriteString(String(255, u'x')); }, "\x06\xFF" + std::string(255, 'x')},
      {"256", [](TWriter& W) { W.WriteString(String(256, u'x')); },
       std::string("\x0C\x00\x01\x00\x00", 5) + std::string(256, 'x')},
      {"1.0", [](TWriter& W) { W.WriteFloat(1.0L); },
       std::string("\x05\x00\x00\x00\x00\x00\x00\x00\x80\xFF\x3F", 11)},
      {"-2.5", [](TWriter& W) { W.WriteFloat(-2.5L); },
       std::string("\x05\x00\x00\x00\x00\x00\x00\x00\xA0\x00\xC0", 11)},
      {"0.0", [](TWriter& W) { W.WriteFloat(0.0L); }, std::string("\x05", 1) + std::string(10, '\0')},
      {"True", [](TWriter& W) { W.WriteBoolean(true); }, "\x09"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TMemoryStream S;
    TWriter W(&S);
    C.Write(W);
    EXPECT_EQ(Bytes(S), C.Expected);
  }
  for (Extended V : {0.1L, -1e300L, 3.141592653589793238L, 1e-4940L, 6.5e4931L}) {
    unsigned char B[10];
    filer_detail::EncodeExtended(V, B);
    EXPECT_EQ(filer_detail::DecodeExtended(B), V);
  }
}

TEST_F(FilerTest, BadInputRaisesReadErrorWithOffset) {
  std::string Good = Binary(MakeTree().get());
  struct Case {
    const char* Name;
    std::string Data;
    const char16_t* Message;
  } Cases[] = {
      {"signature", "TPF1" + Good.substr(4), u"Invalid stream format at offset 4"},
      {"truncated", Good.substr(0, 40), nullptr},
      {"unknown class", std::string("TPF0\x07TNoSuch\x00\x00\x00", 14), u"Class TNoSuch not found at offset 13"},
      {"bad tag", std::string("TPF0\x07TWidget\x00\x05Width\x42", 20),
       u"Error reading Width: Invalid value type at offset 19"},
      {"bad enum", std::string("TPF0\x07TWidget\x00\x05" "Align\x07\x03" "abc\x00\x00", 26),
       u"Error reading Align: Invalid property value at offset 24"},
      {"no property", std::string("TPF0\x07TWidget\x00\x04Wide\x02\x01\x00\x00", 22),
       u"Error reading Wide: Property Wide does not exist at offset 18"},
      {"huge length", std::string("TPF0\x07TWidget\x00\x07" "Caption\x0C\xFF\xFF\xFF\x7F", 27),
       u"Error reading Caption: Stream read error at offset 26"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    try {
      ReadBinary(C.Data);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& E) {
      if (C.Message) { EXPECT_EQ(E.Message(), C.Message); }
      EXPECT_NE(E.Message().find(u"at offset"), String::npos);
    }
  }
  // Every truncation of a good stream fails cleanly.
  for (std::size_t Size = 0; Size < Good.size(); ++Size)
    EXPECT_THROW(ReadBinary(Good.substr(0, Size)), EReadError) << Size;
}

TEST_F(FilerTest, TextErrorsNameTheLine) {
  try {
    TextToComponent(u"object Form: TWidget\n  Width =\n  )\nend\n");
    FAIL();
  } catch (const EReadError& E) {
    EXPECT_EQ(E.Message(), u"Value expected on line 3");
  }
  EXPECT_THROW(TextToComponent(u"object Form: TWidget\n  Caption = 'open\nend\n"), EReadError);
}

}  // namespace

// A window read before the data module it names: "Data.Source" waits until a root named Data
// has been read; a reference to a root that never comes is the reader's error; a destroyed
// window takes its waiting references with it.
TEST_F(FilerTest, ReferencesIntoLaterRootsWaitForThem) {
  std::vector<TComponent*> Globals;
  static bool Registered = false;
  static std::vector<TComponent*>* Current = nullptr;
  Current = &Globals;
  if (!Registered) {
    RegisterFindGlobalComponentProc([](const String& Name) -> TComponent* {
      for (TComponent* C : *Current)
        if (SameText(C->Name(), Name)) return C;
      return nullptr;
    });
    Registered = true;
  }
  TWidget Window(nullptr);
  Globals.push_back(&Window);
  TextToComponent(u"object Window: TWidget\n  object Edit: TWidget\n    Buddy = Data.Source\n"
                  u"  end\nend\n", &Window);
  auto* Edit = static_cast<TWidget*>(Window.FindComponent(u"Edit"));
  EXPECT_EQ(Edit->Buddy(), nullptr);
  EXPECT_EQ(PendingGlobalFixups(), std::vector<String>{u"Data.Source"});

  TWidget Data(nullptr);
  Globals.push_back(&Data);
  TextToComponent(u"object Data: TWidget\n  object Source: TWidget\n  end\nend\n", &Data);
  EXPECT_EQ(Edit->Buddy(), Data.FindComponent(u"Source"));
  EXPECT_NO_THROW(CheckGlobalFixups());

  // A later window finds the existing root at once.
  TWidget Dialog(nullptr);
  TextToComponent(u"object Dialog: TWidget\n  Buddy = Data.Source\nend\n", &Dialog);
  EXPECT_EQ(Dialog.Buddy(), Data.FindComponent(u"Source"));

  {
    TWidget Orphan(nullptr);
    TextToComponent(u"object Orphan: TWidget\n  Buddy = Gone.Source\nend\n", &Orphan);
    try {
      CheckGlobalFixups();
      ADD_FAILURE() << "a reference to a root that never came was accepted";
    } catch (const EReadError& E) {
      EXPECT_EQ(E.Message(), u"Unresolved reference to Gone.Source");
    }
  }
  EXPECT_TRUE(PendingGlobalFixups().empty());
  // A plain unknown name is still an error at once.
  TWidget Bad(nullptr);
  EXPECT_THROW(TextToComponent(u"object Bad: TWidget\n  Buddy = Nowhere\nend\n", &Bad), EReadError);
  Current = &Globals;
  Globals.clear();
}
