// vqrXMLSerializer.cpp - report objects to attribute texts and element trees, and back.
//
// Attribute text written by ObjToXML, in the order of the class's published properties
// (inherited first), each pair ` <Add><Name>="<value>"`:
//
//   kind                       written when (no ancestor / against an ancestor)     value
//   integer, char, set         differs from the declared default / from ancestor    decimal
//   enumeration                as integer                                            value name
//   Boolean                    as integer                                            "1" / "0"
//   float                      always / differs by 0.000001 or more                  15 digits
//   string                     not empty or not the declared default / differs       encoded
//   variant                    always / differs                                      encoded
//   component reference        set / exactly one set or names differ                 name, "nil"
//   string list                always / texts differ                                 .Text=
//   other persistent object    its own properties with the prefix "<Name>."
//   TvqrWideStrings, events, Int64: not written
// then ` Text="..."` for a text object and ` PropData="<hex>"` for defined properties.
// SerializeDefaultValues writes ordinal, float, string and variant values whatever they are.
#include "report/core/vqrXMLSerializer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TextMap.h"
#include "platform/rtl/Variant.h"
#include "report/core/vqrCast.h"
#include "report/core/vqrClass.h"
#include "report/core/vqrRes.h"
#include "report/core/vqrUnicodeUtils.h"
#include "report/core/vqrUtils.h"
#include "report/core/vqrXML.h"

namespace {

// Obj's text interface. Whether a class implements it, and where the interface lies inside
// the object, depend only on the object's dynamic type (the layout of a complete object is
// fixed by its type), so the cross-cast is made once per type and its offset reused.
IvqrSerializedText* SerializedTextOf(TObject* Obj) {
  if (!Obj) return nullptr;
  constexpr std::ptrdiff_t kNone = PTRDIFF_MIN;
  thread_local std::unordered_map<const std::type_info*, std::ptrdiff_t> Offsets;
  auto [It, Added] = Offsets.try_emplace(&typeid(*Obj), kNone);
  if (Added)
    if (auto* Text = dynamic_cast<IvqrSerializedText*>(Obj))
      It->second = reinterpret_cast<char*>(Text) - reinterpret_cast<char*>(Obj);
  if (It->second == kNone) return nullptr;
  return reinterpret_cast<IvqrSerializedText*>(reinterpret_cast<char*>(Obj) + It->second);
}

// Sets a report component's IsWriting (or IsLoading) for the life of the guard.
class TWritingGuard {
public:
  explicit TWritingGuard(TvqrComponent* Comp) : FComp(Comp) {
    if (FComp) {
      FOld = FComp->IsWriting();
      FComp->SetIsWriting(true);
    }
  }
  ~TWritingGuard() {
    if (FComp) FComp->SetIsWriting(FOld);
  }
  TWritingGuard(const TWritingGuard&) = delete;
  TWritingGuard& operator=(const TWritingGuard&) = delete;

private:
  TvqrComponent* FComp;
  bool FOld = false;
};

// Appends ` <Add><Name>="<Value>"` to Out: the room made once, the pieces copied into it.
void AppendPair(String& Out, const String& Add, std::u16string_view Name, std::u16string_view Value) {
  const std::size_t Start = Out.size();
  Out.resize(Start + Add.size() + Name.size() + Value.size() + 4);
  Char* P = Out.data() + Start;
  auto Put = [&P](std::u16string_view Piece) {
    std::char_traits<Char>::copy(P, Piece.data(), Piece.size());
    P += Piece.size();
  };
  *P++ = u' ';
  Put(Add);
  Put(Name);
  *P++ = u'=';
  *P++ = u'"';
  Put(Value);
  *P = u'"';
}

// The same with the value encoded on the way.
void AppendEncodedPair(String& Out, const String& Add, std::u16string_view Name,
                       std::u16string_view Value) {
  Out.reserve(Out.size() + Add.size() + Name.size() + Value.size() + 4);
  Out += u' ';
  Out += Add;
  Out += Name;
  Out += u"=\"";
  AppendEncodedXMLValue(Out, Value);
  Out += u'"';
}

// A list's text without its final line break.
String TextWithoutFinalBreak(const String& Text) {
  String S = Text;
  if (S.size() >= 2 && S.compare(S.size() - 2, 2, u"\r\n") == 0) S.resize(S.size() - 2);
  return S;
}

bool IsComponentClass(TClass C) { return C && C->InheritsFrom(TComponent::ClassInfo()); }

// Writes the bytes of Obj's defined properties to Data as the platform writer makes them.
// Most objects define none: the caller's stream then stays empty and allocates nothing.
void WriteDefinedPropertyData(TPersistent* Obj, TComponent* Root, TMemoryStream& Data) {
  TWriter Writer(&Data);
  Writer.SetRoot(Root);
  Writer.WriteDefinedProperties(Obj);
}

String OrdinalText(const TPropInfo* Prop, Int64 Value) {
  if (Prop->Kind() != tkEnumeration) return IntToStr(Value);
  if (Prop->EnumType() == EnumInfoOf(static_cast<bool*>(nullptr))) return Value ? u"1" : u"0";
  return Prop->EnumType()->ValueName(static_cast<int>(Value));
}

// The published property of that name (case ignored), through an index per class built on
// first use; the first of two names that differ only in case wins, as in the class's list.
// Objects of a class are written alike, so their attributes come in the same order each
// time: each class remembers which property followed each one last time and first tries
// that one by exact name; only a miss hashes the name.
// Registry records live as long as the program, so the index may key on them. One index per
// thread: reading needs no lock.
const TPropInfo* PublishedProperty(TClass Class, std::u16string_view Name) {
  struct TIndex {
    TTextMap<std::size_t> Positions;
    // The properties in the class's order, a name that loses to an earlier one differing
    // only in case left out (its lookups hash to the winner).
    std::vector<const TPropInfo*> Ordered;
    // For each position, and for the start (the last entry), the position found after it
    // the last time; the class's order at first.
    std::vector<std::size_t> Successor;
    std::size_t Last = 0;
  };
  thread_local std::unordered_map<TClass, TIndex> Indexes;
  thread_local TClass LastClass = nullptr;
  thread_local TIndex* LastIndex = nullptr;
  if (Class != LastClass) {
    auto [It, Added] = Indexes.try_emplace(Class);
    TIndex& New = It->second;
    if (Added) {
      for (const TPropInfo* Prop : Class->Properties())
        if (New.Positions.try_emplace(Prop->Name(), New.Ordered.size()).second)
          New.Ordered.push_back(Prop);
      for (std::size_t I = 1; I <= New.Ordered.size(); ++I) New.Successor.push_back(I);
      New.Successor.push_back(0);
      New.Last = New.Ordered.size();
    }
    LastClass = Class;
    LastIndex = &New;
  }
  TIndex& Index = *LastIndex;
  std::size_t& Next = Index.Successor[Index.Last];
  if (Next < Index.Ordered.size()) {
    const String& Expected = Index.Ordered[Next]->Name();
    if (Expected.size() == Name.size() &&
        std::memcmp(Expected.data(), Name.data(), Name.size() * sizeof(Char)) == 0) {
      Index.Last = Next;
      return Index.Ordered[Next];
    }
  }
  auto Found = Index.Positions.find(Name);
  if (Found == Index.Positions.end()) return nullptr;
  Next = Found->second;
  Index.Last = Found->second;
  return Index.Ordered[Found->second];
}

// Name equals Word (ASCII letters) with case ignored. A name of ASCII letters and digits
// only, as every class name is, is compared directly; anything else through the collation.
bool SameAsWord(std::u16string_view Name, std::u16string_view Word) {
  auto IsAlnum = [](Char C) {
    return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9');
  };
  if (!std::all_of(Name.begin(), Name.end(), IsAlnum)) return AnsiSameText(Name, Word);
  auto Lower = [](Char C) { return C >= u'A' && C <= u'Z' ? static_cast<Char>(C + 32) : C; };
  return Name.size() == Word.size() &&
         std::equal(Name.begin(), Name.end(), Word.begin(),
                    [&](Char A, Char B) { return Lower(A) == Lower(B); });
}

// The decimal integers the writer makes (an optional minus and up to 18 digits) read without
// a copy of the text; false for anything else, which the general parser then reads.
bool PlainInteger(std::u16string_view Text, Int64& Value) {
  const bool Negative = !Text.empty() && Text[0] == u'-';
  const std::u16string_view Digits = Text.substr(Negative ? 1 : 0);
  if (Digits.empty() || Digits.size() > 18) return false;
  Int64 Magnitude = 0;
  for (Char C : Digits) {
    if (C < u'0' || C > u'9') return false;
    Magnitude = Magnitude * 10 + (C - u'0');
  }
  Value = Negative ? -Magnitude : Magnitude;
  return true;
}

bool StartsWithLetter(std::u16string_view Text) {
  return !Text.empty() && ((Text[0] >= u'a' && Text[0] <= u'z') || (Text[0] >= u'A' && Text[0] <= u'Z'));
}

bool VariantsDiffer(const Variant& A, const Variant& B) {
  if (A.VType() != B.VType()) return true;
  return VariantToXMLText(A) != VariantToXMLText(B);
}

}  // namespace

TvqrXMLSerializer::TvqrXMLSerializer(TStream* Stream)
    : FErrors(std::make_unique<TStringList>()), FStream(Stream) {
  FErrors->SetSorted(true);
  FErrors->SetDuplicates(dupIgnore);
}

TvqrXMLSerializer::~TvqrXMLSerializer() = default;

void TvqrXMLSerializer::AddError(const String& Msg) { FErrors->Add(Msg); }

// --- Writing --------------------------------------------------------------------------------

String TvqrXMLSerializer::ObjToXML(TPersistent* Obj, const String& Add, TPersistent* Ancestor) {
  String Out;
  AppendObjXML(Out, Obj, Add, Ancestor);
  return Out;
}

// A published property as the writer treats it, worked out once per class from the property's
// kind and declared class (a getter returns an object of its declared class or a descendant,
// so the declared class bounds what the value can be).
struct TvqrXMLSerializer::TWriteStep {
  enum TAction : unsigned char {
    Ordinal,
    Float,
    Text,
    VariantValue,
    Reference,  // a component: written by name
    Object,     // a persistent object that cannot be a string list: its own properties
    AnyObject,  // anything else: its kind is looked at when written
  };
  const TPropInfo* Prop;
  TAction Action;
};

// The steps of a class in the order of its published properties, without the ones never
// written (text lists held by TvqrWideStrings, events, Int64 and other kinds), and whether its
// objects are report components.
struct TvqrXMLSerializer::TWritePlan {
  bool IsComponent = false;
  std::vector<TWriteStep> Steps;
};

// Registry records live as long as the program, so the plans may key on them; one set per
// thread.
const TvqrXMLSerializer::TWritePlan& TvqrXMLSerializer::WritePlanOf(TClass Class) {
  thread_local std::unordered_map<TClass, TWritePlan> Plans;
  auto [It, Added] = Plans.try_emplace(Class);
  TWritePlan& Plan = It->second;
  if (!Added) return Plan;
  Plan.IsComponent = Class->InheritsFrom(TvqrComponent::ClassInfo());
  for (const TPropInfo* Prop : Class->Properties()) {
    switch (Prop->Kind()) {
      case tkInteger:
      case tkChar:
      case tkEnumeration:
      case tkSet:
        Plan.Steps.push_back({Prop, TWriteStep::Ordinal});
        break;
      case tkFloat:
        Plan.Steps.push_back({Prop, TWriteStep::Float});
        break;
      case tkString:
        Plan.Steps.push_back({Prop, TWriteStep::Text});
        break;
      case tkVariant:
        Plan.Steps.push_back({Prop, TWriteStep::VariantValue});
        break;
      case tkClass: {
        const TClass Declared = Prop->PropClass();
        if (Declared && Declared->InheritsFrom(TvqrWideStrings::ClassInfo())) break;
        const TClass Strings = TStrings::ClassInfo();
        TWriteStep::TAction Action = TWriteStep::AnyObject;
        if (IsComponentClass(Declared))
          Action = TWriteStep::Reference;
        else if (Declared && Declared->InheritsFrom(TPersistent::ClassInfo()) &&
                 !Declared->InheritsFrom(Strings) && !Strings->InheritsFrom(Declared))
          Action = TWriteStep::Object;
        Plan.Steps.push_back({Prop, Action});
        break;
      }
      default:
        break;
    }
  }
  return Plan;
}

void TvqrXMLSerializer::AppendObjXML(String& Out, TPersistent* Obj, const String& Add,
                                     TPersistent* Ancestor) {
  if (!Obj) return;
  const TWritePlan& Plan = WritePlanOf(Obj->ClassType());
  auto* Comp = Plan.IsComponent ? static_cast<TvqrComponent*>(Obj) : nullptr;
  TWritingGuard ObjGuard(Comp);
  if (Comp && !Ancestor && FOnGetAncestor) FOnGetAncestor(Comp->Name(), Ancestor);
  TWritingGuard AncestorGuard(Ancestor ? vqrAs<TvqrComponent>(Ancestor) : nullptr);

  for (const TWriteStep& Step : Plan.Steps)
    if (Step.Prop->IsStored(Obj)) WriteProperty(Obj, Step, Add, Ancestor, Out);

  if (auto* Text = SerializedTextOf(Obj)) {
    auto* AncestorText = SerializedTextOf(Ancestor);
    String Value = Text->SerializedText();
    if (!AncestorText || AncestorText->SerializedText() != Value)
      AppendEncodedPair(Out, Add, u"Text", Value);
  }
  WriteDefinedProperties(Obj, Add, Ancestor, Out);
}

void TvqrXMLSerializer::WriteProperty(TPersistent* Obj, const TWriteStep& Step, const String& Add,
                                      TPersistent* Ancestor, String& Out) {
  const TPropInfo* Prop = Step.Prop;
  const TPropInfo* AncProp = Ancestor ? PublishedProperty(Ancestor->ClassType(), Prop->Name()) : nullptr;
  if (AncProp && AncProp->Kind() != Prop->Kind()) AncProp = nullptr;
  const String& Name = Prop->Name();
  const bool All = FSerializeDefaultValues;
  switch (Step.Action) {
    case TWriteStep::Ordinal: {
      Int64 V = Prop->GetOrd(Obj);
      bool Write = AncProp ? V != AncProp->GetOrd(Ancestor)
                           : !Prop->HasDefault() || V != Prop->Default();
      if (All || Write) AppendPair(Out, Add, Name, OrdinalText(Prop, V));
      break;
    }
    case TWriteStep::Float: {
      Extended V = Prop->GetFloat(Obj);
      bool Write = !AncProp || std::fabs(V - AncProp->GetFloat(Ancestor)) >= 0.000001L;
      if (All || Write) AppendPair(Out, Add, Name, FloatToStr(V));
      break;
    }
    case TWriteStep::Text: {
      String V = Prop->GetStr(Obj);
      // Without an ancestor a string is written when not empty, and also when it differs
      // from a declared non-empty default, or emptying it would not survive a reload.
      bool Write = AncProp ? V != AncProp->GetStr(Ancestor)
                           : !V.empty() || (Prop->HasDefault() && V != Prop->DefaultStr());
      if (All || Write) AppendEncodedPair(Out, Add, Name, V);
      break;
    }
    case TWriteStep::VariantValue: {
      Variant V = Prop->GetVariant(Obj);
      bool Write = !AncProp || VariantsDiffer(V, AncProp->GetVariant(Ancestor));
      if (All || Write) AppendPair(Out, Add, Name, VariantToXMLText(V));
      break;
    }
    case TWriteStep::Reference: {
      auto* C = vqrAs<TComponent>(Prop->GetObject(Obj));
      if (!AncProp) {
        if (C) AppendPair(Out, Add, Name, ComponentReferenceText(FOwner, C));
        break;
      }
      auto* AC = vqrAs<TComponent>(AncProp->GetObject(Ancestor));
      if (!C != !AC || (C && !AnsiSameText(C->Name(), AC->Name())))
        AppendPair(Out, Add, Name, C ? ComponentReferenceText(FOwner, C) : String(u"nil"));
      break;
    }
    case TWriteStep::Object:
      // The declared class is a persistent one and no string list: so is the value.
      if (auto* Sub = static_cast<TPersistent*>(Prop->GetObject(Obj)))
        WriteSubObject(Sub, Name, AncProp ? AncProp->GetObject(Ancestor) : nullptr, Add, Out);
      break;
    case TWriteStep::AnyObject:
      WriteObjectProperty(Prop->GetObject(Obj), Prop, AncProp, Ancestor, Add, Out);
      break;
  }
}

// A value of a property declared with a class that may hold a string list or no persistent
// object at all.
void TvqrXMLSerializer::WriteObjectProperty(TObject* Value, const TPropInfo* Prop,
                                            const TPropInfo* AncProp, TPersistent* Ancestor,
                                            const String& Add, String& Out) {
  TObject* AncValue = AncProp ? AncProp->GetObject(Ancestor) : nullptr;
  const String& Name = Prop->Name();
  if (vqrAs<TvqrWideStrings>(Value)) return;
  if (auto* List = vqrAs<TStrings>(Value)) {
    auto* AncList = vqrAs<TStrings>(AncValue);
    if (!AncList || AncList->Text() != List->Text())
      AppendEncodedPair(Out, Add, Name + u".Text", TextWithoutFinalBreak(List->Text()));
    return;
  }
  if (auto* Sub = vqrAs<TPersistent>(Value)) WriteSubObject(Sub, Name, AncValue, Add, Out);
}

void TvqrXMLSerializer::WriteSubObject(TPersistent* Sub, const String& Name, TObject* AncValue,
                                       const String& Add, String& Out) {
  // The sub-object's prefix is built in a buffer kept for its depth, so writing thousands of
  // fonts and frames allocates no prefix texts.
  if (FPrefixDepth == FPrefixes.size()) FPrefixes.emplace_back();
  String& Prefix = FPrefixes[FPrefixDepth];
  Prefix.assign(Add);
  Prefix += Name;
  Prefix += u'.';
  ++FPrefixDepth;
  try {
    AppendObjXML(Out, Sub, Prefix, vqrAs<TPersistent>(AncValue));
  } catch (...) {
    --FPrefixDepth;
    throw;
  }
  --FPrefixDepth;
}

void TvqrXMLSerializer::WriteDefinedProperties(TPersistent* Obj, const String& Add,
                                               TPersistent* Ancestor, String& Out) {
  // One stream serves object after object (most define nothing); a call made while it is in
  // use (a DefineProperties writer reaching this serializer again) takes a stream of its own.
  std::unique_ptr<TMemoryStream> Own;
  bool* Busy = nullptr;
  if (FDefinedDataBusy) {
    Own = std::make_unique<TMemoryStream>();
  } else {
    if (!FDefinedData) FDefinedData = std::make_unique<TMemoryStream>();
    Busy = &FDefinedDataBusy;
    *Busy = true;
  }
  struct TRelease {
    bool* Flag;
    ~TRelease() {
      if (Flag) *Flag = false;
    }
  } Release{Busy};
  TMemoryStream& Data = Own ? *Own : *FDefinedData;
  Data.SetSize(0);
  WriteDefinedPropertyData(Obj, FOwner, Data);
  if (Data.Size() == 0) return;
  if (Ancestor) {
    TMemoryStream AncData;
    WriteDefinedPropertyData(Ancestor, FOwner, AncData);
    if (Data.Size() == AncData.Size() &&
        std::memcmp(Data.Memory(), AncData.Memory(), static_cast<std::size_t>(Data.Size())) == 0)
      return;
  }
  AppendPair(Out, Add, u"PropData", StreamToHexText(&Data));
}

String TvqrXMLSerializer::WriteComponentStr(TComponent* C) {
  return C->ClassName() + ObjToXML(C, {}, nullptr);
}

void TvqrXMLSerializer::WriteComponent(TComponent* C) {
  // Built piece by piece: GCC 12 warns wrongly on a chain of string additions here.
  std::string Bytes = "<";
  Bytes += StringToUtf8(WriteComponentStr(C));
  Bytes += "/>";
  FStream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
}

void TvqrXMLSerializer::WriteRootComponent(TvqrComponent* Root, bool SaveChildren,
                                           TvqrXMLItem* XMLItem, bool Streaming) {
  if (!FOwner) FOwner = Root;
  std::unique_ptr<TvqrXMLDocument> Doc;
  if (!XMLItem) {
    Doc = std::make_unique<TvqrXMLDocument>();
    Doc->SetAutoIndent(true);
    XMLItem = Doc->Root();
  }
  FillItem(Root, XMLItem, true, SaveChildren, Streaming);
  if (Doc) Doc->SaveToStream(FStream);
}

void TvqrXMLSerializer::FillItem(TvqrComponent* C, TvqrXMLItem* Item, bool IsRoot,
                                 bool SaveChildren, bool Streaming) {
  Item->SetName(C->IsAncestor() && !Streaming ? String(u"inherited") : C->ClassName());
  // The text grows pair by pair in a buffer kept from item to item and is copied out once at
  // its length, rather than growing (and reallocating) a new string for every object. A call
  // made while the buffer is in use takes a string of its own.
  String Own;
  const bool UseOwn = FItemTextBusy;
  String& Text = UseOwn ? Own : FItemText;
  FItemTextBusy = true;
  Text.clear();
  // The platform's Name is not a stored property, so a child's name is written here.
  if (!IsRoot) {
    Text += u"Name=\"";
    Text += C->Name();
    Text += u'"';
  }
  try {
    AppendObjXML(Text, C, {}, nullptr);
  } catch (...) {
    if (!UseOwn) FItemTextBusy = false;
    throw;
  }
  if (UseOwn) {
    Item->SetText(std::move(Own));
  } else {
    FItemTextBusy = false;
    Item->SetText(String(Text));
  }
  if (!SaveChildren) return;
  for (TvqrComponent* Child : C->Objects()) FillItem(Child, Item->Add(), false, true, Streaming);
}

// --- Reading --------------------------------------------------------------------------------

// The object a run of pairs is applied to, with the casts the hand-read names need, made
// once for all its pairs.
struct TvqrXMLSerializer::TReadTarget {
  explicit TReadTarget(TPersistent* AObj) : Obj(AObj) {}
  void Cast() {
    if (Casted) return;
    Component = vqrAs<TvqrComponent>(Obj);
    Text = SerializedTextOf(Obj);
    Casted = true;
  }
  TPersistent* Obj;
  bool Casted = false;
  TvqrComponent* Component = nullptr;
  IvqrSerializedText* Text = nullptr;
};

void TvqrXMLSerializer::XMLToObj(const String& Text, TPersistent* Obj) {
  ApplyText(Text, Obj);
}

void TvqrXMLSerializer::ApplyText(std::u16string_view Text, TPersistent* Obj) {
  TReadTarget Target(Obj);
  std::size_t I = 0;
  const std::size_t N = Text.size();
  while (I < N) {
    while (I < N && Text[I] == u' ') ++I;
    std::size_t Eq = Text.find(u'=', I);
    if (Eq == std::u16string_view::npos) return;
    std::u16string_view Name = Text.substr(I, Eq - I);
    while (!Name.empty() && Name.back() <= u' ') Name.remove_suffix(1);
    if (Name.empty()) return;
    std::size_t Open = Text.find(u'"', Eq + 1);
    if (Open == std::u16string_view::npos) return;
    std::size_t Close = Text.find(u'"', Open + 1);
    if (Close == std::u16string_view::npos) Close = N;
    std::u16string_view Value = Text.substr(Open + 1, Close - Open - 1);
    I = Close + 1;
    ApplyPair(Target, Name, Value);
  }
}

void TvqrXMLSerializer::ApplyPair(TReadTarget& Target, std::u16string_view Name,
                                  std::u16string_view Value) {
  // Follow a dotted name through object-valued properties; an unknown part ends the walk and
  // the pair is ignored.
  TPersistent* Obj = Target.Obj;
  std::size_t Start = 0;
  for (std::size_t Dot = Name.find(u'.'); Dot != std::u16string_view::npos;
       Dot = Name.find(u'.', Start)) {
    const TPropInfo* Prop = PublishedProperty(Obj->ClassType(), Name.substr(Start, Dot - Start));
    if (!Prop || Prop->Kind() != tkClass) return;
    Obj = vqrAs<TPersistent>(Prop->GetObject(Obj));
    if (!Obj) return;
    Start = Dot + 1;
  }
  try {
    if (Obj == Target.Obj) return ApplyValue(Target, Name.substr(Start), Value);
    TReadTarget Sub(Obj);
    ApplyValue(Sub, Name.substr(Start), Value);
  } catch (const Exception& E) {
    // A bad value must not stop the load: the message goes to the caller's error list.
    AddError(E.Message());
  }
}

// The names read by hand are one letter, Text, PropData and Name; only they need the object's
// kind, so the casts wait for them (a template sets thousands of ordinary properties).
void TvqrXMLSerializer::ApplyValue(TReadTarget& Target, std::u16string_view Name,
                                   std::u16string_view Value) {
  TPersistent* Obj = Target.Obj;
  auto TextValue = [&] {
    return FOldFormat ? DecodeXMLValue(Utf8ToString(StringToAnsi(String(Value))))
                      : DecodeXMLValue(Value);
  };
  const bool IsText = Name == u"Text";
  if (Name.size() == 1 || IsText) Target.Cast();
  if (Name.size() == 1 && Target.Component) {
    TvqrComponent* C = Target.Component;
    switch (Name[0]) {
      case u'h': return C->SetHeight(ParseFloatText(Value));
      case u'l': return C->SetLeft(ParseFloatText(Value));
      case u't': return C->SetTop(ParseFloatText(Value));
      case u'w': return C->SetWidth(ParseFloatText(Value));
      case u'x':
        if (Target.Text) return Target.Text->SetSerializedText(DecodeXMLValue(Value));
        break;
      case u'u':
        if (Target.Text) return Target.Text->SetSerializedText(TextValue());
        break;
      default:
        break;
    }
  }
  if (IsText) {
    if (auto* List = vqrAs<TStrings>(Obj)) return List->SetText(DecodeXMLValue(Value));
    if (Target.Text) return Target.Text->SetSerializedText(TextValue());
  }
  if (Name == u"PropData") return ReadDefinedProperties(Obj, String(Value));
  if (Name == u"Name" && vqrAs<TvqrReport>(Obj)) return;  // the report keeps its name
  const TPropInfo* Prop = PublishedProperty(Obj->ClassType(), Name);
  if (!Prop || Prop->ReadOnly()) return;
  ApplyGeneral(Obj, Prop, Value);
}

void TvqrXMLSerializer::ApplyGeneral(TPersistent* Obj, const TPropInfo* Prop,
                                     std::u16string_view Value) {
  Int64 Ordinal = 0;
  switch (Prop->Kind()) {
    case tkInteger:
    case tkChar:
    case tkSet:
      if (!PlainInteger(Value, Ordinal)) Ordinal = StrToInt64(String(Value));
      return Prop->SetOrd(Obj, Ordinal);
    case tkEnumeration: {
      // A value name starts with a letter, which no number does.
      if (!StartsWithLetter(Value)) {
        if (PlainInteger(Value, Ordinal) || TryStrToInt64(String(Value), Ordinal))
          return Prop->SetOrd(Obj, Ordinal);
      }
      int Index = Prop->EnumType()->IndexOf(Value);
      if (Index >= 0) Prop->SetOrd(Obj, Index);
      return;
    }
    case tkFloat:
      return Prop->SetFloat(Obj, ParseFloatText(Value));
    case tkString:
      return Prop->SetStr(Obj, DecodeXMLValue(Value));
    case tkVariant:
      return Prop->SetVariant(Obj, Variant(DecodeXMLValue(Value)));
    case tkClass:
      FFixups.push_back({Obj, Prop, DecodeXMLValue(Value)});
      return;
    default:
      return;
  }
}

void TvqrXMLSerializer::ReadDefinedProperties(TPersistent* Obj, const String& Hex) {
  TMemoryStream Data;
  HexTextToStream(Hex, &Data);
  Data.SetPosition(0);
  TReader Reader(&Data);
  Reader.SetRoot(FOwner);
  try {
    while (Data.Position() < Data.Size()) Reader.ReadPropertyRecord(Obj);
  } catch (const Exception&) {
    // Bad binary data ends the reading of the remaining binary properties, silently: the
    // published attributes already read stay.
  }
}

void TvqrXMLSerializer::FixupReferences() {
  std::vector<TvqrFixupItem> Fixups;
  Fixups.swap(FFixups);
  for (const TvqrFixupItem& F : Fixups) {
    TComponent* Found = nullptr;
    if (auto* OwnerComp = vqrAs<TvqrComponent>(FOwner)) Found = OwnerComp->FindObject(F.Value);
    if (!Found) {
      try {
        Found = FindComponentByPath(FOwner, F.Value);
      } catch (const EClassNotFound&) {
        // A reference naming nothing leaves the property as it was (so a written "nil"
        // keeps an inherited reference); nothing is reported.
      }
    }
    if (!Found) continue;
    try {
      F.PropInfo->SetObject(F.Obj, Found);
    } catch (const Exception& E) {
      AddError(E.Message());
    }
  }
}

void TvqrXMLSerializer::CopyFixupList(std::vector<TvqrFixupItem>* FixList) const {
  if (FixList) FixList->insert(FixList->end(), FFixups.begin(), FFixups.end());
}

void TvqrXMLSerializer::ReadPersistentStr(TComponent* Root, TPersistent* Obj, const String& Text) {
  if (!FOwner) FOwner = Root;
  XMLToObj(Text, Obj);
  FixupReferences();
}

namespace {

void FinishLoading(TComponent* Obj) {
  if (auto* C = vqrAs<TvqrComponent>(Obj)) C->SetIsLoading(false);
  if (!vqrAs<TvqrReport>(Obj)) Obj->Loaded();
}

// The name a child element's text starts with, as the writer puts it (` Name="..."` first,
// without character references); empty when the text does not start so.
String LeadingName(std::u16string_view Text) {
  constexpr std::u16string_view kStart = u"Name=\"";
  if (Text.substr(0, kStart.size()) != kStart) return {};
  const std::size_t Close = Text.find(u'"', kStart.size());
  if (Close == std::u16string_view::npos) return {};
  const std::u16string_view Name = Text.substr(kStart.size(), Close - kStart.size());
  if (Name.find(u'&') != std::u16string_view::npos) return {};
  return String(Name);
}

}  // namespace

TComponent* TvqrXMLSerializer::ReadComponentStr(TComponent* Root, const String& Text,
                                                bool DontFixup) {
  FOwner = Root;
  std::u16string_view Trimmed(Text);
  while (!Trimmed.empty() && Trimmed.front() <= u' ') Trimmed.remove_prefix(1);
  if (Trimmed.empty()) return nullptr;
  std::size_t Blank = Trimmed.find(u' ');
  TComponent* Obj = FindClass(String(Trimmed.substr(0, Blank)))->CreateComponent(Root);
  auto* C = vqrAs<TvqrComponent>(Obj);
  if (C) C->SetIsLoading(true);
  // Whatever happens while the text is applied, the fix-ups are settled and loading ends.
  auto Finish = [&] {
    if (DontFixup)
      FFixups.clear();
    else
      FixupReferences();
    FinishLoading(Obj);
  };
  try {
    if (Blank != String::npos) ApplyText(Trimmed.substr(Blank + 1), Obj);
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
  return Obj;
}

TComponent* TvqrXMLSerializer::ReadComponent(TComponent* Root) {
  TvqrXMLItem Item;
  {
    TvqrXMLReader Reader(FStream);
    Reader.ReadRootItem(&Item, true);
  }
  return ReadComponentStr(Root, Item.Name() + u" " + Item.Text(), false);
}

void TvqrXMLSerializer::ReadRootComponent(TvqrComponent* Root, TvqrXMLItem* XMLItem) {
  if (!FOwner) FOwner = Root;
  std::unique_ptr<TvqrXMLDocument> Doc;
  if (!XMLItem) {
    Doc = std::make_unique<TvqrXMLDocument>();
    Doc->LoadFromStream(FStream, false);
    FOldFormat = Doc->OldVersion();
    XMLItem = Doc->Root();
  }
  std::vector<TComponent*> Read;
  ReadItem(XMLItem, nullptr, true, Root, Read);
  FixupReferences();
  for (TComponent* Obj : Read) FinishLoading(Obj);
}

void TvqrXMLSerializer::ReadItem(TvqrXMLItem* Item, TvqrComponent* Parent, bool IsFirst,
                                 TvqrComponent* Root, std::vector<TComponent*>& Read) {
  const bool Inherited = SameAsWord(Item->Name(), u"inherited");
  TClass Class = Inherited ? nullptr : GetClass(Item->Name());
  if (!Inherited && !Class) {
    AddError(StringTable()->Get(u"xrCantFindClass") + u" " + Item->Name());
    return;
  }
  TvqrComponent* Obj = Root;
  if (!IsFirst) {
    String Name = LeadingName(Item->Text());
    if (Name.empty()) Name = Item->Prop(u"Name");
    Obj = FOwner ? vqrAs<TvqrComponent>(FOwner->FindComponent(Name)) : nullptr;
    if (!Obj && !Name.empty())
      if (auto* OwnerComp = vqrAs<TvqrComponent>(FOwner)) Obj = OwnerComp->FindObject(Name);
    if (!Obj) {
      if (Inherited) return;
      try {
        TComponent* Created = Class->CreateComponent(Parent);
        Obj = vqrAs<TvqrComponent>(Created);
        if (!Obj) {
          delete Created;
          AddError(StringTable()->Get(u"xrCantFindClass") + u" " + Item->Name());
          return;
        }
      } catch (const Exception& E) {
        // An abstract or unsuitable class: reported, its subtree skipped, the load goes on.
        AddError(E.Message());
        return;
      }
    }
  }
  Obj->SetIsLoading(true);
  XMLToObj(Item->Text(), Obj);
  Read.push_back(Obj);
  for (int I = 0; I < Item->Count(); ++I) ReadItem(Item->Items(I), Obj, false, Root, Read);
}
