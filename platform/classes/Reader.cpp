// Reader.cpp - TReader: components, properties and values from the binary stream format.
//
// Every length and count is checked against the bytes left in the stream before anything is
// allocated, and nesting is bounded, so a damaged or hostile stream ends in EReadError.
#include "platform/classes/Filer.h"

#include <cstring>

#include "platform/classes/ClassUtils_p.h"
#include "platform/classes/Encoding.h"
#include "platform/classes/Filer_p.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant.h"
#include "platform/rtl/Variants.h"

using namespace classes_detail;
using namespace filer_detail;

REGISTER_CLASS(TReader) {}

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

TReader::~TReader() = default;

namespace {
// Raises the depth count for one nested entry or list.
class TDepthGuard {
public:
  TDepthGuard(TReader* Reader, int& Depth) : FDepth(Depth) {
    if (++FDepth > kMaxDepth) {
      --FDepth;
      Reader->ReadError(u"Nesting too deep");
    }
  }
  ~TDepthGuard() { --FDepth; }

private:
  int& FDepth;
};

template <class T>
T GetLE(const unsigned char* In) {
  T Value;
  std::memcpy(&Value, In, sizeof(T));
  return Value;
}
}  // namespace

void TReader::ReadError(const String& Reason) {
  String Where = FPropName.empty() ? String() : u"Error reading " + FPropName + u": ";
  throw EReadError(Where + Reason + u" at offset " + IntToStr(FStream->Position()));
}

// --- Components ---------------------------------------------------------------------------------

TComponent* TReader::ReadRootComponent(TComponent* ARoot) {
  ReadSignature();
  TFilerFlags Flags;
  int ChildPos = 0;
  ReadPrefix(Flags, ChildPos);
  String ClassName = ReadStr();
  String Name = ReadStr();
  bool Created = false;
  if (!ARoot) {
    TClass Class = GetClass(ClassName);
    if (!Class) ReadError(Format(u"Class %s not found", {ClassName}));
    if (!Class->IsComponentClass()) ReadError(Format(u"%s is not a component class", {ClassName}));
    ARoot = Class->CreateComponent(nullptr);
    Created = true;
  }
  try {
    FRoot = ARoot;
    FOwner = ARoot;
    FParent = ARoot;
    if (!Name.empty() && !IsValidIdent(Name))
      ReadError(Format(u"'%s' is not a valid component name", {Name}));
    ARoot->ChangeName(Name);
    ARoot->SetLoading(true);
    ARoot->SetReading(true);
    FLoaded.push_back(ARoot);
    ARoot->ReadState(this);
    ResolveFixups();
  } catch (...) {
    for (TComponent* C : FLoaded) {
      C->SetReading(false);
      C->SetLoading(false);
    }
    FLoaded.clear();
    if (Created) delete ARoot;
    throw;
  }
  for (TComponent* C : FLoaded) C->SetReading(false);
  std::vector<TComponent*> Loaded;
  Loaded.swap(FLoaded);
  for (TComponent* C : Loaded) C->Loaded();
  GlobalFixupReferences();
  return ARoot;
}

TComponent* TReader::ReadComponent(TComponent* Component) {
  TDepthGuard Guard(this, FDepth);
  TFilerFlags Flags;
  int ChildPos = 0;
  ReadPrefix(Flags, ChildPos);
  String ClassName = ReadStr();
  String Name = ReadStr();
  if (!Name.empty() && !IsValidIdent(Name))
    ReadError(Format(u"'%s' is not a valid component name", {Name}));
  if (!Component && Flags.Contains(ffInherited) && FOwner) Component = FOwner->FindComponent(Name);
  if (!Component) {
    TClass Class = GetClass(ClassName);
    if (!Class) ReadError(Format(u"Class %s not found", {ClassName}));
    // The handler sees the class before anything is created: it may refuse the entry or
    // hand over an existing component (which keeps its own name).
    if (FOnCreateComponent) FOnCreateComponent(this, Class, Component);
  }
  if (!Component) {
    TClass Class = GetClass(ClassName);
    if (!Class->IsComponentClass()) ReadError(Format(u"%s is not a component class", {ClassName}));
    if (FOwner && FOwner->FindComponent(Name))
      ReadError(Format(u"A component named %s already exists", {Name}));
    Component = Class->CreateComponent(FOwner);
    Component->ChangeName(Name);
  }
  Component->SetLoading(true);
  Component->SetReading(true);
  FLoaded.push_back(Component);
  if (Flags.Contains(ffInline)) Component->SetInline(true);
  if (Component->HasParent()) Component->SetParentComponent(FParent);
  TComponent* OldOwner = FOwner;
  TComponent* OldParent = FParent;
  try {
    Component->ReadState(this);
  } catch (...) {
    FOwner = OldOwner;
    FParent = OldParent;
    throw;
  }
  FOwner = OldOwner;
  FParent = OldParent;
  return Component;
}

void TReader::ReadData(TComponent* Instance) {
  while (!EndOfList()) ReadProperty(Instance);
  ReadListEnd();
  FOwner = Instance->GetChildOwner() ? Instance->GetChildOwner() : FRoot;
  FParent = Instance->GetChildParent() ? Instance->GetChildParent() : FRoot;
  while (!EndOfList()) ReadComponent(nullptr);
  ReadListEnd();
}

void TReader::ReadSignature() {
  char Signature[4];
  ReadBytes(Signature, 4);
  if (std::memcmp(Signature, kSignature, 4) != 0) ReadError(u"Invalid stream format");
}

void TReader::ReadPrefix(TFilerFlags& Flags, int& ChildPos) {
  Flags = TFilerFlags();
  unsigned char Byte = 0;
  Int64 Start = FStream->Position();
  if (FStream->Read(&Byte, 1) != 1) ReadError(u"Stream read error");
  if ((Byte & 0xF0) != kPrefixMark) {
    FStream->SetPosition(Start);
    return;
  }
  if (Byte & 0x08) ReadError(u"Invalid stream format");
  Flags = TFilerFlags::FromBits(Byte & 0x07);
  if (Flags.Contains(ffChildPos)) ChildPos = ReadInteger();
}

// --- Properties ---------------------------------------------------------------------------------

void TReader::ReadProperty(TPersistent* Instance) {
  String Path = ReadStr();
  FPropName = Path;
  TPersistent* Target = Instance;
  std::size_t Start = 0;
  for (std::size_t Dot = Path.find(u'.'); Dot != String::npos; Dot = Path.find(u'.', Start)) {
    const TPropInfo* Prop = Target->ClassType()->FindProperty(Path.substr(Start, Dot - Start));
    auto* Next = Prop && Prop->Kind() == tkClass
                     ? dynamic_cast<TPersistent*>(Prop->GetObject(Target)) : nullptr;
    if (!Next) ReadError(Format(u"Property %s does not exist", {Path}));
    Target = Next;
    Start = Dot + 1;
  }
  String Name = Path.substr(Start);
  if (const TPropInfo* Prop = Target->ClassType()->FindProperty(Name)) {
    ReadPropValue(Target, Prop);
  } else {
    FPropHandled = false;
    String OldName = FPropName;
    FPropName = Name;
    Target->DefineProperties(this);
    FPropName = OldName;
    if (!FPropHandled) ReadError(Format(u"Property %s does not exist", {Name}));
  }
  FPropName.clear();
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo* Prop) {
  if (Prop->ReadOnly() && Prop->Kind() != tkClass)
    ReadError(Format(u"Property %s is read-only", {Prop->Name()}));
  try {
    switch (Prop->Kind()) {
      case tkInteger: {
        if (NextValue() != vaIdent) return Prop->SetOrd(Instance, ReadInteger());
        const String Ident = ReadIdent();
        Int64 Value;
        if (!IdentToInt(Ident, Value, Prop->Idents())) ReadError(u"Invalid property value");
        return Prop->SetOrd(Instance, Value);
      }
      case tkInt64: return Prop->SetOrd(Instance, ReadInt64());
      case tkChar: return Prop->SetOrd(Instance, ReadChar());
      case tkSet: return Prop->SetOrd(Instance, static_cast<Int64>(ReadSet(Prop->EnumType())));
      case tkEnumeration: {
        TValueType Tag = NextValue();
        if (Tag == vaFalse || Tag == vaTrue) return Prop->SetOrd(Instance, ReadBoolean());
        if (Tag != vaIdent) return Prop->SetOrd(Instance, ReadInteger());
        String Ident = ReadIdent();
        int Ordinal = Prop->EnumType()->IndexOf(Ident);
        if (Ordinal < 0) ReadError(u"Invalid property value");
        return Prop->SetOrd(Instance, Ordinal);
      }
      case tkFloat:
        // A currency read exactly; any other float or integer converted.
        if (Prop->FloatType() == TFloatType::ftCurr)
          return Prop->SetCurr(Instance, NextValue() == vaCurrency ? ReadCurrency() : Currency(ReadFloat()));
        return Prop->SetFloat(Instance, ReadFloat());
      case tkString: return Prop->SetStr(Instance, ReadString());
      case tkVariant: return Prop->SetVariant(Instance, ReadVariant());
      case tkMethod: {
        if (NextValue() == vaNil) {
          ReadValue();
          return Prop->SetMethod(Instance, std::any());
        }
        return Prop->SetMethodName(Instance, FRoot, ReadIdent());
      }
      case tkClass: {
        TValueType Tag = NextValue();
        if (Tag == vaCollection) {
          auto* Collection = dynamic_cast<TCollection*>(Prop->GetObject(Instance));
          if (!Collection) ReadError(u"Invalid property value");
          return ReadCollection(Collection);
        }
        if (Tag == vaNil) {
          ReadValue();
          return Prop->SetObject(Instance, nullptr);
        }
        FFixups.push_back({Instance, Prop, ReadIdent()});
        return;
      }
      case tkUnknown: break;
    }
  } catch (const EReadError&) {
    throw;
  } catch (const Exception& E) {
    ReadError(E.Message());
  }
  ReadError(u"Invalid property value");
}

void TReader::DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc&,
                             bool) {
  if (FPropHandled || !ReadData || !SameText(Name, FPropName)) return;
  ReadData(this);
  FPropHandled = true;
}

void TReader::DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                                   const TStreamProc&, bool) {
  if (FPropHandled || !ReadData || !SameText(Name, FPropName)) return;
  CheckValue(vaBinary, ReadValue());
  Int64 Count = ReadLength();
  std::string Bytes(static_cast<std::size_t>(Count), '\0');
  ReadBytes(Bytes.data(), Count);
  TMemoryStream Data;
  Data.WriteBuffer(Bytes.data(), Count);
  Data.SetPosition(0);
  ReadData(&Data);
  FPropHandled = true;
}

TComponent* TReader::FindReference(const String& Name) const {
  if (SameText(Name, u"Owner")) return FRoot;
  std::size_t Dot = Name.find(u'.');
  if (Dot == String::npos) return FRoot->FindComponent(Name);
  String Head = Name.substr(0, Dot);
  String Tail = Name.substr(Dot + 1);
  TComponent* Owner = SameText(Head, FRoot->Name()) ? FRoot : FRoot->FindComponent(Head);
  if (!Owner) Owner = FindGlobalComponent(Head);
  if (!Owner) return nullptr;
  return SameText(Tail, u"Owner") ? Owner : Owner->FindComponent(Tail);
}

// "Root.Component" naming a root that is neither this one, one of its components, nor a global
// component yet: the reference waits for that root to be read.
bool TReader::WaitsForGlobalRoot(const String& Name) const {
  const std::size_t Dot = Name.find(u'.');
  if (Dot == String::npos) return false;
  const String Head = Name.substr(0, Dot);
  return !SameText(Head, FRoot->Name()) && !FRoot->FindComponent(Head) &&
         !FindGlobalComponent(Head);
}

void TReader::ResolveFixups() {
  std::vector<TFixup> Fixups;
  Fixups.swap(FFixups);
  for (const TFixup& Fixup : Fixups) {
    TComponent* Target = FindReference(Fixup.Name);
    FPropName = Fixup.Prop->Name();
    if (!Target && WaitsForGlobalRoot(Fixup.Name)) {
      AddGlobalFixup(FRoot, Fixup.Instance, Fixup.Prop, Fixup.Name);
      continue;
    }
    if (!Target) ReadError(Format(u"Unresolved reference to %s", {Fixup.Name}));
    try {
      Fixup.Prop->SetObject(Fixup.Instance, Target);
    } catch (const Exception& E) {
      ReadError(E.Message());
    }
  }
  FPropName.clear();
}

// --- Values -------------------------------------------------------------------------------------

void TReader::ReadBytes(void* Data, Int64 Count) {
  if (Count < 0 || FStream->Read(Data, Count) != Count) ReadError(u"Stream read error");
}

Int64 TReader::ReadLength() {
  unsigned char Bytes[4];
  ReadBytes(Bytes, 4);
  Int64 Length = GetLE<std::int32_t>(Bytes);
  if (Length < 0 || Length > FStream->Size() - FStream->Position()) ReadError(u"Stream read error");
  return Length;
}

void TReader::CheckValue(TValueType Expected, TValueType Found) {
  if (Expected != Found) ReadError(u"Invalid property value");
}

TValueType TReader::ReadValue() {
  unsigned char Tag;
  ReadBytes(&Tag, 1);
  if (Tag > vaDouble) {
    FStream->Seek(-1, soCurrent);
    ReadError(u"Invalid value type");
  }
  return static_cast<TValueType>(Tag);
}

TValueType TReader::NextValue() {
  TValueType Tag = ReadValue();
  FStream->Seek(-1, soCurrent);
  return Tag;
}

// Peeks the raw byte: where a list may end, a property or class name may begin instead, and
// its length byte can be any value (a name of 21 characters starts with 0x15).
bool TReader::EndOfList() {
  unsigned char Tag;
  ReadBytes(&Tag, 1);
  FStream->Seek(-1, soCurrent);
  return Tag == vaNull;
}

void TReader::ReadListBegin() { CheckValue(vaList, ReadValue()); }

void TReader::ReadListEnd() { CheckValue(vaNull, ReadValue()); }

Int64 TReader::ReadInt64() {
  unsigned char Bytes[8];
  switch (ReadValue()) {
    case vaInt8: ReadBytes(Bytes, 1); return GetLE<std::int8_t>(Bytes);
    case vaInt16: ReadBytes(Bytes, 2); return GetLE<std::int16_t>(Bytes);
    case vaInt32: ReadBytes(Bytes, 4); return GetLE<std::int32_t>(Bytes);
    case vaInt64: ReadBytes(Bytes, 8); return GetLE<std::int64_t>(Bytes);
    default: break;
  }
  FStream->Seek(-1, soCurrent);
  ReadError(u"Invalid property value");
}

int TReader::ReadInteger() {
  Int64 Value = ReadInt64();
  if (Value < INT32_MIN || Value > INT32_MAX) ReadError(u"Invalid property value");
  return static_cast<int>(Value);
}

bool TReader::ReadBoolean() {
  TValueType Tag = ReadValue();
  if (Tag != vaTrue && Tag != vaFalse) ReadError(u"Invalid property value");
  return Tag == vaTrue;
}

String TReader::ReadString() {
  TValueType Tag = ReadValue();
  switch (Tag) {
    case vaString:
    case vaLString: {
      Int64 Count;
      if (Tag == vaString) {
        unsigned char Short;
        ReadBytes(&Short, 1);
        Count = Short;
      } else {
        Count = ReadLength();
      }
      std::string Bytes(static_cast<std::size_t>(Count), '\0');
      ReadBytes(Bytes.data(), Count);
      return AnsiToString(Bytes);
    }
    case vaUTF8String: {
      Int64 Count = ReadLength();
      std::string Bytes(static_cast<std::size_t>(Count), '\0');
      ReadBytes(Bytes.data(), Count);
      return Utf8ToString(Bytes);
    }
    case vaWString: {
      Int64 Count = ReadLength();
      if (Count * 2 > FStream->Size() - FStream->Position()) ReadError(u"Stream read error");
      std::string Bytes(static_cast<std::size_t>(Count * 2), '\0');
      ReadBytes(Bytes.data(), Count * 2);
      return DecodeText(Bytes, TEncoding::Unicode);
    }
    default: break;
  }
  FStream->Seek(-1, soCurrent);
  ReadError(u"Invalid property value");
}

Char TReader::ReadChar() {
  String Text = ReadString();
  if (Text.size() != 1) ReadError(u"Invalid property value");
  return Text[0];
}

Extended TReader::ReadFloat() {
  unsigned char Bytes[10];
  switch (ReadValue()) {
    case vaExtended: ReadBytes(Bytes, 10); return DecodeExtended(Bytes);
    case vaSingle: ReadBytes(Bytes, 4); return GetLE<float>(Bytes);
    case vaDate:
    case vaDouble: ReadBytes(Bytes, 8); return GetLE<double>(Bytes);
    case vaCurrency: ReadBytes(Bytes, 8); return Currency::FromRaw(GetLE<Int64>(Bytes)).ToExtended();
    default: break;
  }
  FStream->Seek(-1, soCurrent);
  // Integers are accepted where a float is expected, as they are written without a fraction.
  return static_cast<Extended>(ReadInt64());
}

Single TReader::ReadSingle() {
  if (NextValue() != vaSingle) return static_cast<Single>(ReadFloat());
  unsigned char Bytes[4];
  ReadValue();
  ReadBytes(Bytes, 4);
  return GetLE<float>(Bytes);
}

Currency TReader::ReadCurrency() {
  if (NextValue() != vaCurrency) ReadError(u"Invalid property value");
  unsigned char Bytes[8];
  ReadValue();
  ReadBytes(Bytes, 8);
  return Currency::FromRaw(GetLE<Int64>(Bytes));
}

TDateTime TReader::ReadDate() {
  if (NextValue() != vaDate) return static_cast<TDateTime>(ReadFloat());
  unsigned char Bytes[8];
  ReadValue();
  ReadBytes(Bytes, 8);
  return GetLE<double>(Bytes);
}

String TReader::ReadIdent() {
  TValueType Tag = ReadValue();
  switch (Tag) {
    case vaIdent: return ReadStr();
    case vaFalse: return u"False";
    case vaTrue: return u"True";
    case vaNil: return u"nil";
    case vaNull: return u"Null";
    default: break;
  }
  FStream->Seek(-1, soCurrent);
  ReadError(u"Invalid property value");
}

String TReader::ReadStr() {
  unsigned char Length;
  ReadBytes(&Length, 1);
  std::string Bytes(Length, '\0');
  ReadBytes(Bytes.data(), Length);
  return Utf8ToString(Bytes);
}

std::uint64_t TReader::ReadSet(const TEnumInfo* ElementType) {
  CheckValue(vaSet, ReadValue());
  std::uint64_t Bits = 0;
  for (String Name = ReadStr(); !Name.empty(); Name = ReadStr()) {
    int Ordinal = ElementType->IndexOf(Name);
    if (Ordinal < 0 || Ordinal >= 64) ReadError(u"Invalid property value");
    Bits |= std::uint64_t{1} << Ordinal;
  }
  return Bits;
}

void TReader::ReadCollection(TCollection* Collection) {
  TDepthGuard Guard(this, FDepth);
  CheckValue(vaCollection, ReadValue());
  String OuterProp = FPropName;
  Collection->BeginUpdate();
  try {
    Collection->Clear();
    while (!EndOfList()) {
      TValueType Tag = NextValue();
      if (Tag == vaInt8 || Tag == vaInt16 || Tag == vaInt32) ReadInteger();  // item order: unused
      ReadListBegin();
      TCollectionItem* Item = Collection->Add();
      while (!EndOfList()) ReadProperty(Item);
      FPropName = OuterProp;
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    Collection->EndUpdate();
    throw;
  }
  Collection->EndUpdate();
}

Variant TReader::ReadVariant() {
  TDepthGuard Guard(this, FDepth);
  switch (NextValue()) {
    case vaNil: ReadValue(); return Variant();
    case vaNull: ReadValue(); return Null();
    case vaFalse:
    case vaTrue: return Variant(ReadBoolean());
    case vaInt8:
    case vaInt16:
    case vaInt32: return Variant(ReadInteger());
    case vaInt64: return Variant(static_cast<long long>(ReadInt64()));
    case vaExtended:
    case vaDouble: return Variant(static_cast<double>(ReadFloat()));
    case vaSingle: return Variant(ReadSingle());
    case vaCurrency: return Variant(ReadCurrency());
    case vaDate: return Variant::FromDateTime(ReadDate());
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String: return Variant(ReadString());
    case vaIdent: return Variant(ReadIdent());
    case vaList: {
      ReadListBegin();
      std::vector<Variant> Items;
      while (!EndOfList()) Items.push_back(ReadVariant());
      ReadListEnd();
      Variant Result = VarArrayCreate(0, static_cast<int>(Items.size()) - 1, varVariant);
      for (std::size_t I = 0; I < Items.size(); ++I) Result[static_cast<int>(I)] = Items[I];
      return Result;
    }
    default: break;
  }
  ReadError(u"Invalid property value");
}

void TReader::SkipValue() {
  TDepthGuard Guard(this, FDepth);
  unsigned char Bytes[10];
  switch (ReadValue()) {
    case vaNull: case vaFalse: case vaTrue: case vaNil: return;
    case vaList:
      while (!EndOfList()) SkipValue();
      return ReadListEnd();
    case vaInt8: return ReadBytes(Bytes, 1);
    case vaInt16: return ReadBytes(Bytes, 2);
    case vaInt32: case vaSingle: return ReadBytes(Bytes, 4);
    case vaInt64: case vaCurrency: case vaDate: case vaDouble: return ReadBytes(Bytes, 8);
    case vaExtended: return ReadBytes(Bytes, 10);
    case vaIdent: ReadStr(); return;
    case vaSet: while (!ReadStr().empty()) {} return;
    case vaCollection:
      while (!EndOfList()) {
        if (NextValue() != vaList) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipValue();
        }
        ReadListEnd();
      }
      return ReadListEnd();
    default:  // the string kinds and binary: back up and read them as what they are
      FStream->Seek(-1, soCurrent);
      if (NextValue() == vaBinary) {
        ReadValue();
        Int64 Count = ReadLength();
        FStream->Seek(Count, soCurrent);
        return;
      }
      ReadString();
  }
}

// --- Whole streams ------------------------------------------------------------------------------

void WriteComponentToStream(TComponent* Root, TStream* Stream) {
  TWriter Writer(Stream);
  Writer.WriteRootComponent(Root);
}

TComponent* ReadComponentFromStream(TStream* Stream, TComponent* Root) {
  TReader Reader(Stream);
  return Reader.ReadRootComponent(Root);
}
