// Filer.h - the component-stream writer and reader, and the text form of component streams.
//
// TWriter writes a component, its published properties, the properties it defines by hand
// (DefineProperties) and its children in the class library's binary format; TReader reads
// them back, creating components through the type registry. The format is described in
// Filer_p.h. ObjectBinaryToText/ObjectTextToBinary convert between the binary form and the
// readable text form ("object Form1: TForm1 ... end") in which forms and data modules are
// kept in the source tree; a binary stream the writer made survives both conversions
// byte for byte.
//
// Bad input raises EReadError whose message says what was wrong, in which property, and at
// which offset of the stream (or line of the text).
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/Streams.h"
#include "platform/rtl/Currency.h"

class Variant;
class TCollection;
class TPropInfo;

// ORDER VALUETYPE: the value tags of the binary format (Filer_p.h has the table).
enum TValueType {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
  vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
  vaInt64, vaUTF8String, vaDouble
};

VORENTA_ENUM(TFilerFlag, ffInherited, ffChildPos, ffInline);
VORENTA_SET(TFilerFlags, TFilerFlag);

class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;
// Called for each entry before its component is created, with the entry's registered class:
// the handler may refuse the entry (by raising) or hand over an existing component in
// Component, which is then read instead of a new one.
using TCreateComponentEvent =
    std::function<void(TReader* Reader, TClass ComponentClass, TComponent*& Component)>;

class TFiler : public TObject {
  VORENTA_CLASS(TFiler, TObject)
public:
  explicit TFiler(TStream* Stream) : FStream(Stream) {}

  TStream* Stream() const { return FStream; }
  // The component the stream is written from or read into; names are resolved against it.
  TComponent* Root() const { return FRoot; }
  void SetRoot(TComponent* Value) { FRoot = Value; }

  // Inside DefineProperties: a property streamed by hand. The writer calls WriteData when
  // HasData is set; the reader calls ReadData when the stream holds a property of that name.
  virtual void DefineProperty(const String& Name, const TReaderProc& ReadData,
                              const TWriterProc& WriteData, bool HasData) = 0;
  // The same for raw bytes, kept as a vaBinary value.
  virtual void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                                    const TStreamProc& WriteData, bool HasData) = 0;

protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
};

class TWriter : public TFiler {
  VORENTA_CLASS(TWriter, TFiler)
public:
  using TFiler::TFiler;

  // --- Components ---------------------------------------------------------------------------
  // "TPF0" and Root's entry with every child.
  void WriteRootComponent(TComponent* ARoot);
  // One component entry (through the component's WriteState).
  void WriteComponent(TComponent* Component);
  // The body of an entry; TComponent::WriteState calls it.
  void WriteData(TComponent* Instance);
  // The stored published properties and the defined properties of Instance.
  void WriteProperties(TPersistent* Instance);
  // Only the properties Instance defines by hand (the report's serializer keeps them apart
  // from the published ones, which it writes as attributes).
  void WriteDefinedProperties(TPersistent* Instance) { Instance->DefineProperties(this); }
  void WriteSignature();
  void WritePrefix(TFilerFlags Flags, int ChildPos);

  // --- Values -------------------------------------------------------------------------------
  void WriteValue(TValueType Value);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  // The smallest of vaInt8, vaInt16, vaInt32, vaInt64 that holds Value.
  void WriteInteger(Int64 Value);
  void WriteBoolean(bool Value);
  // vaString/vaLString for ASCII, vaWString when UTF-8 would take at least as many bytes as
  // UTF-16 (so also for ""), vaUTF8String otherwise.
  void WriteString(const String& Value);
  void WriteChar(Char Value) { WriteString(String(1, Value)); }
  // vaExtended; a property's float goes by its type: Single as vaSingle, Double as vaDouble,
  // Currency as vaCurrency, a date as vaDate, Extended as vaExtended.
  void WriteFloat(Extended Value);
  void WriteDouble(Double Value);
  void WriteSingle(Single Value);
  void WriteCurrency(Currency Value);
  void WriteDate(TDateTime Value);
  void WriteIdent(const String& Ident);
  // vaSet with the names of the elements in Bits, then an empty name.
  void WriteSet(std::uint64_t Bits, const TEnumInfo* ElementType);
  void WriteCollection(TCollection* Value);
  // Empty as vaNil, Null as vaNull, the rest by kind; arrays as lists. Handles raise
  // EWriteError.
  void WriteVariant(const Variant& Value);
  void WriteBinary(const TStreamProc& WriteData);
  // A raw name: one length byte and UTF-8 bytes (class, component and property names).
  void WriteStr(const String& Value);

  void DefineProperty(const String& Name, const TReaderProc& ReadData,
                      const TWriterProc& WriteData, bool HasData) override;
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

private:
  void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);
  void WriteFloatProperty(TPersistent* Instance, const TPropInfo* Prop);
  void WritePropName(const String& Name);
  void WriteBytes(const void* Data, std::size_t Count);
  String ComponentReference(TComponent* Component) const;

  String FPropPath;
  TComponent* FLookupRoot = nullptr;
};

class TReader : public TFiler {
  VORENTA_CLASS(TReader, TFiler)
public:
  using TFiler::TFiler;
  ~TReader() override;

  // --- Components ---------------------------------------------------------------------------
  // Reads a whole stream made by WriteRootComponent into ARoot, or into a new component of
  // the stream's class (registered) when ARoot is nullptr. References between components are
  // resolved at the end and Loaded is called on every component read.
  TComponent* ReadRootComponent(TComponent* ARoot);
  // One entry: a component of the entry's class owned by Owner() (children are created).
  TComponent* ReadComponent(TComponent* Component);
  // The body of an entry; TComponent::ReadState calls it.
  void ReadData(TComponent* Instance);
  void ReadSignature();
  void ReadPrefix(TFilerFlags& Flags, int& ChildPos);
  // The owner and parent given to components read as children.
  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* Value) { FOwner = Value; }
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* Value) { FParent = Value; }
  const TCreateComponentEvent& OnCreateComponent() const { return FOnCreateComponent; }
  void SetOnCreateComponent(TCreateComponentEvent Value) { FOnCreateComponent = std::move(Value); }

  // --- Values -------------------------------------------------------------------------------
  TValueType ReadValue();
  TValueType NextValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  int ReadInteger();
  Int64 ReadInt64();
  bool ReadBoolean();
  // Any of the four string tags.
  String ReadString();
  Char ReadChar();
  // Any float tag, or an integer.
  Extended ReadFloat();
  Single ReadSingle();
  // vaCurrency only.
  Currency ReadCurrency();
  TDateTime ReadDate();
  String ReadIdent();
  std::uint64_t ReadSet(const TEnumInfo* ElementType);
  void ReadCollection(TCollection* Collection);
  Variant ReadVariant();
  String ReadStr();
  // Skips one value of any kind.
  void SkipValue();
  // One property record (name and value) into Instance, published or defined: the report's
  // serializer reads the records of its PropData attribute this way.
  void ReadPropertyRecord(TPersistent* Instance) { ReadProperty(Instance); }

  void DefineProperty(const String& Name, const TReaderProc& ReadData,
                      const TWriterProc& WriteData, bool HasData) override;
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

  // Raises EReadError: Reason, the property being read, and the stream offset.
  [[noreturn]] void ReadError(const String& Reason);

private:
  struct TFixup {
    TPersistent* Instance;
    const TPropInfo* Prop;
    String Name;
  };

  void ReadProperty(TPersistent* Instance);
  void ReadPropValue(TPersistent* Instance, const TPropInfo* Prop);
  void ReadBytes(void* Data, Int64 Count);
  Int64 ReadLength();
  void CheckValue(TValueType Expected, TValueType Found);
  void ResolveFixups();
  TComponent* FindReference(const String& Name) const;
  bool WaitsForGlobalRoot(const String& Name) const;

  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  TCreateComponentEvent FOnCreateComponent;
  String FPropName;       // the property being read, for messages and DefineProperty
  bool FPropHandled = false;
  int FDepth = 0;
  std::vector<TFixup> FFixups;
  std::vector<TComponent*> FLoaded;
};

// --- Whole streams and texts ------------------------------------------------------------------
void WriteComponentToStream(TComponent* Root, TStream* Stream);
TComponent* ReadComponentFromStream(TStream* Stream, TComponent* Root = nullptr);

// Converts a binary component stream (from its position) to the text form and back. Text is
// UTF-8; strings keep their characters and show control characters as #n.
void ObjectBinaryToText(TStream* Input, TStream* Output);
void ObjectTextToBinary(TStream* Input, TStream* Output);

// A component tree as text and back.
String ComponentToText(TComponent* Root);
TComponent* TextToComponent(const String& Text, TComponent* Root = nullptr);

// --- References into other roots ("DM.DSColor") -----------------------------------------------
// A reference "Root.Component" whose first part names neither the root being read nor one of
// its components is looked up among the global components (the program's forms and data
// modules, found through the procedures registered here). When no global component of that name
// exists yet, the reference waits: it is set once a root of that name has been read. A
// reference still waiting once every window exists is the reader's error (CheckGlobalFixups).
using TFindGlobalComponent = std::function<TComponent*(const String& Name)>;
// Adds a procedure that finds a global component by name (nullptr when it has none).
void RegisterFindGlobalComponentProc(TFindGlobalComponent Proc);
// The global component of that name: the first registered procedure that knows one.
TComponent* FindGlobalComponent(const String& Name);
// Sets every waiting reference whose root now exists (the reader calls it after each root).
void GlobalFixupReferences();
// The references still waiting, as written ("DM.DSColor"), in the order they were read.
std::vector<String> PendingGlobalFixups();
// Raises EReadError "Unresolved reference to <name>" for the first waiting reference.
void CheckGlobalFixups();
// Drops the waiting references of the components Root owns (Root is being destroyed).
void RemoveGlobalFixups(TComponent* Root);
