// Writer.cpp - TWriter: components, properties and values in the binary stream format.
#include "platform/classes/Filer.h"

#include <cmath>
#include <cstring>

#include "platform/classes/Encoding.h"
#include "platform/classes/Filer_p.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant.h"

using namespace filer_detail;

REGISTER_CLASS(TFiler) {}
REGISTER_CLASS(TWriter) {}

void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

// --- Encodings shared with the reader -----------------------------------------------------------

TValueType filer_detail::StringTag(const String& Value, std::string& Utf8) {
  Utf8 = StringToUtf8(Value);
  if (Utf8.size() >= 2 * Value.size()) return vaWString;
  if (Utf8.size() == Value.size()) return Utf8.size() <= 255 ? vaString : vaLString;
  return vaUTF8String;
}

void filer_detail::EncodeExtended(Extended Value, unsigned char Bytes[10]) {
  std::uint64_t Mantissa = 0;
  unsigned Exponent = 0;
  unsigned Sign = std::signbit(Value) ? 0x8000 : 0;
  if (std::isnan(Value)) {
    Exponent = 0x7FFF;
    Mantissa = 0xC000000000000000ULL;
  } else if (std::isinf(Value)) {
    Exponent = 0x7FFF;
    Mantissa = 0x8000000000000000ULL;
  } else if (Value != 0) {
    int Exp2 = 0;
    Extended Fraction = std::frexp(std::fabs(Value), &Exp2);  // [0.5, 1)
    int Biased = Exp2 - 1 + 16383;
    if (Biased <= 0) {  // too small for a normal number: a denormal with the exponent at 0
      Fraction = std::ldexp(Fraction, Biased - 1);
      Biased = 0;
    }
    Mantissa = static_cast<std::uint64_t>(std::ldexp(Fraction, 64));
    Exponent = static_cast<unsigned>(Biased);
  }
  for (int I = 0; I < 8; ++I) Bytes[I] = static_cast<unsigned char>(Mantissa >> (8 * I));
  unsigned High = Sign | Exponent;
  Bytes[8] = static_cast<unsigned char>(High);
  Bytes[9] = static_cast<unsigned char>(High >> 8);
}

Extended filer_detail::DecodeExtended(const unsigned char Bytes[10]) {
  std::uint64_t Mantissa = 0;
  for (int I = 7; I >= 0; --I) Mantissa = (Mantissa << 8) | Bytes[I];
  unsigned High = Bytes[8] | (Bytes[9] << 8);
  bool Negative = High & 0x8000;
  int Exponent = static_cast<int>(High & 0x7FFF);
  Extended Result;
  if (Exponent == 0x7FFF)
    Result = (Mantissa << 1) == 0 ? HUGE_VALL : NAN;
  else if (Exponent == 0)
    Result = std::ldexp(static_cast<Extended>(Mantissa), 1 - 16383 - 63);
  else
    Result = std::ldexp(static_cast<Extended>(Mantissa), Exponent - 16383 - 63);
  return Negative ? -Result : Result;
}

// --- Components ---------------------------------------------------------------------------------

void TWriter::WriteRootComponent(TComponent* ARoot) {
  FRoot = ARoot;
  FLookupRoot = ARoot;
  WriteSignature();
  WriteComponent(ARoot);
}

void TWriter::WriteComponent(TComponent* Component) {
  Component->SetWriting(true);
  try {
    Component->WriteState(this);
  } catch (...) {
    Component->SetWriting(false);
    throw;
  }
  Component->SetWriting(false);
}

void TWriter::WriteData(TComponent* Instance) {
  TFilerFlags Flags;
  if (Instance->ComponentState().Contains(csInline)) Flags.Include(ffInline);
  if (Instance->ComponentState().Contains(csAncestor)) Flags.Include(ffInherited);
  WritePrefix(Flags, 0);
  WriteStr(Instance->ClassName());
  WriteStr(Instance->Name());
  WriteProperties(Instance);
  WriteListEnd();
  TComponent* OldLookupRoot = FLookupRoot;
  if (Instance != FRoot && Instance->ComponentState().Contains(csInline)) FLookupRoot = Instance;
  Instance->GetChildren([this](TComponent* Child) { WriteComponent(Child); }, FRoot);
  FLookupRoot = OldLookupRoot;
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* Instance) {
  for (const TPropInfo* Prop : Instance->ClassType()->Properties())
    if (Prop->IsStored(Instance)) WriteProperty(Instance, Prop);
  Instance->DefineProperties(this);
}

void TWriter::WriteSignature() { WriteBytes(kSignature, sizeof kSignature); }

void TWriter::WritePrefix(TFilerFlags Flags, int ChildPos) {
  if (Flags.Empty()) return;
  unsigned char Prefix = static_cast<unsigned char>(kPrefixMark | Flags.Bits());
  WriteBytes(&Prefix, 1);
  if (Flags.Contains(ffChildPos)) WriteInteger(ChildPos);
}

// --- Properties ---------------------------------------------------------------------------------

void TWriter::WritePropName(const String& Name) { WriteStr(FPropPath + Name); }

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* Prop) {
  const bool Writable = !Prop->ReadOnly();
  switch (Prop->Kind()) {
    case tkInteger:
    case tkInt64:
    case tkChar:
    case tkEnumeration:
    case tkSet: {
      if (!Writable) return;
      Int64 Value = Prop->GetOrd(Instance);
      if (Prop->HasDefault() && Value == Prop->Default()) return;
      WritePropName(Prop->Name());
      if (Prop->Kind() == tkSet)
        WriteSet(static_cast<std::uint64_t>(Value), Prop->EnumType());
      else if (Prop->Kind() == tkChar)
        WriteChar(static_cast<Char>(Value));
      else if (Prop->Kind() == tkEnumeration && Prop->TypeName() == u"Boolean")
        WriteBoolean(Value != 0);
      else if (Prop->Kind() == tkEnumeration)
        WriteIdent(Prop->EnumType()->ValueName(static_cast<int>(Value)));
      else if (String Ident; IntToIdent(Value, Ident, Prop->Idents()))
        WriteIdent(Ident);
      else
        WriteInteger(Value);
      return;
    }
    case tkFloat: return Writable ? WriteFloatProperty(Instance, Prop) : void();
    case tkString: {
      String Value = Prop->GetStr(Instance);
      if (!Writable || Value == Prop->DefaultStr()) return;
      WritePropName(Prop->Name());
      WriteString(Value);
      return;
    }
    case tkVariant: {
      Variant Value = Prop->GetVariant(Instance);
      if (!Writable || Value.IsEmpty()) return;
      WritePropName(Prop->Name());
      WriteVariant(Value);
      return;
    }
    case tkMethod: {
      String Handler = Prop->GetMethodName(Instance);
      if (!Writable || Handler.empty()) return;
      WritePropName(Prop->Name());
      WriteIdent(Handler);
      return;
    }
    case tkClass: {
      TObject* Value = Prop->GetObject(Instance);
      if (!Value) return;
      auto* Component = dynamic_cast<TComponent*>(Value);
      if (Component && !Component->ComponentStyle().Contains(csSubComponent)) {
        String Reference = ComponentReference(Component);
        if (!Writable || Reference.empty()) return;
        WritePropName(Prop->Name());
        WriteIdent(Reference);
        return;
      }
      if (auto* Collection = dynamic_cast<TCollection*>(Value)) {
        if (Collection->Count() == 0) return;
        WritePropName(Prop->Name());
        WriteCollection(Collection);
        return;
      }
      if (auto* Persistent = dynamic_cast<TPersistent*>(Value)) {
        String OldPath = FPropPath;
        FPropPath += Prop->Name() + u".";
        try {
          WriteProperties(Persistent);
        } catch (...) {
          FPropPath = OldPath;
          throw;
        }
        FPropPath = OldPath;
      }
      return;
    }
    case tkUnknown: return;
  }
}

// The name a reference property is written with, relative to the component being written.
String TWriter::ComponentReference(TComponent* Component) const {
  if (Component->Owner() == FLookupRoot) return Component->Name();
  if (Component == FLookupRoot) return u"Owner";
  TComponent* Owner = Component->Owner();
  if (Owner && !Owner->Name().empty() && !Component->Name().empty())
    return Owner->Name() + u"." + Component->Name();
  if (!Component->Name().empty()) return Component->Name() + u".Owner";
  return String();
}

void TWriter::DefineProperty(const String& Name, const TReaderProc&, const TWriterProc& WriteData,
                             bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const String& Name, const TStreamProc&,
                                   const TStreamProc& WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteBinary(WriteData);
}

// --- Values -------------------------------------------------------------------------------------

void TWriter::WriteBytes(const void* Data, std::size_t Count) {
  FStream->WriteBuffer(Data, static_cast<Int64>(Count));
}

void TWriter::WriteValue(TValueType Value) {
  unsigned char Tag = static_cast<unsigned char>(Value);
  WriteBytes(&Tag, 1);
}

namespace {
template <class T>
void PutLE(unsigned char* Out, T Value) {
  std::memcpy(Out, &Value, sizeof(T));  // the targets are little-endian, as the format is
}
}  // namespace

void TWriter::WriteInteger(Int64 Value) {
  unsigned char Buffer[8];
  if (Value >= INT8_MIN && Value <= INT8_MAX) {
    WriteValue(vaInt8);
    PutLE(Buffer, static_cast<std::int8_t>(Value));
    WriteBytes(Buffer, 1);
  } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
    WriteValue(vaInt16);
    PutLE(Buffer, static_cast<std::int16_t>(Value));
    WriteBytes(Buffer, 2);
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    WriteValue(vaInt32);
    PutLE(Buffer, static_cast<std::int32_t>(Value));
    WriteBytes(Buffer, 4);
  } else {
    WriteValue(vaInt64);
    PutLE(Buffer, Value);
    WriteBytes(Buffer, 8);
  }
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteString(const String& Value) {
  std::string Utf8;
  TValueType Tag = StringTag(Value, Utf8);
  WriteValue(Tag);
  unsigned char Length[4];
  switch (Tag) {
    case vaString: {
      unsigned char Short = static_cast<unsigned char>(Utf8.size());
      WriteBytes(&Short, 1);
      WriteBytes(Utf8.data(), Utf8.size());
      return;
    }
    case vaWString: {
      PutLE(Length, static_cast<std::int32_t>(Value.size()));
      WriteBytes(Length, 4);
      const std::string Units = EncodeText(Value, TEncoding::Unicode);
      WriteBytes(Units.data(), Units.size());
      return;
    }
    default:  // vaLString, vaUTF8String
      PutLE(Length, static_cast<std::int32_t>(Utf8.size()));
      WriteBytes(Length, 4);
      WriteBytes(Utf8.data(), Utf8.size());
      return;
  }
}

// A float property other than zero, in the tag of its type.
void TWriter::WriteFloatProperty(TPersistent* Instance, const TPropInfo* Prop) {
  if (Prop->FloatType() == TFloatType::ftCurr) {
    const Currency Value = Prop->GetCurr(Instance);
    if (Value.Raw() == 0) return;
    WritePropName(Prop->Name());
    return WriteCurrency(Value);
  }
  const Extended Value = Prop->GetFloat(Instance);
  if (Value == 0) return;
  WritePropName(Prop->Name());
  if (Prop->IsDateTime()) return WriteDate(static_cast<TDateTime>(Value));
  switch (Prop->FloatType()) {
    case TFloatType::ftSingle: return WriteSingle(static_cast<Single>(Value));
    case TFloatType::ftDouble: return WriteDouble(static_cast<Double>(Value));
    default: return WriteFloat(Value);
  }
}

void TWriter::WriteDouble(Double Value) {
  unsigned char Bytes[8];
  PutLE(Bytes, Value);
  WriteValue(vaDouble);
  WriteBytes(Bytes, 8);
}

void TWriter::WriteFloat(Extended Value) {
  unsigned char Bytes[10];
  EncodeExtended(Value, Bytes);
  WriteValue(vaExtended);
  WriteBytes(Bytes, 10);
}

void TWriter::WriteSingle(Single Value) {
  unsigned char Bytes[4];
  PutLE(Bytes, Value);
  WriteValue(vaSingle);
  WriteBytes(Bytes, 4);
}

void TWriter::WriteCurrency(Currency Value) {
  unsigned char Bytes[8];
  PutLE(Bytes, Value.Raw());
  WriteValue(vaCurrency);
  WriteBytes(Bytes, 8);
}

void TWriter::WriteDate(TDateTime Value) {
  unsigned char Bytes[8];
  PutLE(Bytes, Value);
  WriteValue(vaDate);
  WriteBytes(Bytes, 8);
}

void TWriter::WriteIdent(const String& Ident) {
  WriteValue(vaIdent);
  WriteStr(Ident);
}

void TWriter::WriteStr(const String& Value) {
  std::string Utf8 = StringToUtf8(Value);
  if (Utf8.size() > 255)
    throw EWriteError(Format(u"Name too long to be written: %s", {Value}));
  unsigned char Length = static_cast<unsigned char>(Utf8.size());
  WriteBytes(&Length, 1);
  WriteBytes(Utf8.data(), Utf8.size());
}

void TWriter::WriteSet(std::uint64_t Bits, const TEnumInfo* ElementType) {
  WriteValue(vaSet);
  for (int I = 0; I < 64; ++I)
    if (Bits & (std::uint64_t{1} << I)) WriteStr(ElementType->ValueName(I));
  WriteStr(String());
}

void TWriter::WriteCollection(TCollection* Value) {
  WriteValue(vaCollection);
  for (int I = 0; I < Value->Count(); ++I) {
    WriteListBegin();
    String OldPath = FPropPath;
    FPropPath.clear();
    WriteProperties(Value->Items(I));
    FPropPath = OldPath;
    WriteListEnd();
  }
  WriteListEnd();
}

void TWriter::WriteBinary(const TStreamProc& WriteData) {
  TMemoryStream Data;
  WriteData(&Data);
  unsigned char Length[4];
  PutLE(Length, static_cast<std::int32_t>(Data.Size()));
  WriteValue(vaBinary);
  WriteBytes(Length, 4);
  WriteBytes(Data.Memory(), static_cast<std::size_t>(Data.Size()));
}

void TWriter::WriteVariant(const Variant& Value) {
  if (Value.IsArray()) {
    WriteListBegin();
    for (int I = Value.ArrayLowBound(); I <= Value.ArrayHighBound(); ++I) WriteVariant(Value[I]);
    WriteListEnd();
    return;
  }
  switch (Value.VType()) {
    case varEmpty: return WriteValue(vaNil);
    case varNull: return WriteValue(vaNull);
    case varBoolean: return WriteBoolean(Value.AsBoolean());
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger:
    case varLongWord:
    case varInt64: return WriteInteger(Value.AsInt64());
    case varSingle: return WriteSingle(static_cast<Single>(Value.AsDouble()));
    case varDouble: return WriteFloat(Value.AsDouble());
    case varCurrency: return WriteCurrency(Value.AsCurrency());
    case varDate: return WriteDate(Value.AsDateTime());
    case varOleStr:
    case varString:
    case varUString: return WriteString(Value.StringRef());
    default: break;
  }
  throw EWriteError(u"Stream write error");
}
