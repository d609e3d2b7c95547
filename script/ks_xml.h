// ks_xml.h - the script engine's own small XML layer.
//
// Carries the language grammars, the program tree the grammar walker writes and the compiler
// reads, and the saved form of a compiled script. An element has a name, a raw attribute text
// (values still escaped) and owned children; text between tags is dropped, comments skipped.
// Attribute values are decoded only when asked for through Prop().
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/classes/Object.h"
#include "platform/rtl/Types.h"

class TStream;

// Both classes are registry classes, so scripts reach them as objects (their handles).
class TksXMLItem : public TObject {
  VORENTA_CLASS(TksXMLItem, TObject)
public:
  TksXMLItem() = default;
  TksXMLItem(const TksXMLItem&) = delete;
  TksXMLItem& operator=(const TksXMLItem&) = delete;
  // Frees the children, then unhooks itself from its parent.
  ~TksXMLItem() override;

  void Clear();
  TksXMLItem* Add();
  void AddItem(TksXMLItem* Item);
  void InsertItem(int Index, TksXMLItem* Item);
  int Find(const String& AName) const;
  TksXMLItem* FindItem(const String& AName);
  TksXMLItem* Root();
  int IndexOf(const TksXMLItem* Item) const;
  bool PropExists(std::u16string_view Index) const;
  void Assign(const TksXMLItem* Item);

  int Count() const { return static_cast<int>(FItems.size()); }
  // Room for Capacity children, so that adding them does not regrow the list.
  void ReserveItems(size_t Capacity) { FItems.reserve(Capacity); }
  TksXMLItem* Items(int Index) const { return FItems.at(Index); }
  const String& Name() const { return FName; }
  void SetName(String Value) { FName = std::move(Value); }
  const String& Text() const { return FText; }
  void SetText(String Value) { FText = std::move(Value); }
  // A number the user of the tree keeps with the element (never an address).
  int Data() const { return FData; }
  void SetData(int Value) { FData = Value; }
  TksXMLItem* Parent() const { return FParent; }
  // Removes the element from its old parent's list; does not add it to the new one.
  void SetParent(TksXMLItem* Value);

  String Prop(std::u16string_view Index) const;
  void SetProp(const String& Index, const String& Value);

private:
  void Unhook(TksXMLItem* Child);

  int FData = 0;
  std::vector<TksXMLItem*> FItems;  // owned
  String FName;
  TksXMLItem* FParent = nullptr;
  String FText;
};

// Reads elements from bytes or from a stream (in blocks); on destruction a stream is left just
// after the last byte consumed. Malformed or truncated input raises EReadError "Invalid file
// format" (RaiseException).
class TksXMLReader {
public:
  explicit TksXMLReader(std::string_view Bytes);
  explicit TksXMLReader(TStream* Stream);
  ~TksXMLReader();
  TksXMLReader(const TksXMLReader&) = delete;
  TksXMLReader& operator=(const TksXMLReader&) = delete;

  // The "<?xml ...?>" header (anything before its "<" is skipped).
  void ReadHeader();
  // Reads one element with its children into Item; false at an end tag or the end of input.
  bool ReadRootItem(TksXMLItem* Item);
  // The offset of the next byte to read, and the input's size.
  Int64 Position() const;
  Int64 Size() const;
  [[noreturn]] void RaiseException();

private:
  bool ReadElement(TksXMLItem* Item);
  int NextByte();  // -1 at the end
  void ReadTag(String& Name, String& Text);
  static void SplitTag(std::string& Buf, String& Name, String& Text);

  TStream* FStream = nullptr;
  std::string FBlock;       // the stream's current block
  Int64 FBlockStart = 0;    // its offset in the stream
  std::string_view FBytes;  // the bytes being read (the whole text, or FBlock)
  size_t FPos = 0;
  String FLastName;
  bool FEnded = false;
  int FDepth = 0;  // elements open while reading
};

// Writes the header and elements to a stream: 8-bit text, with AutoIndent two blanks a level
// and CR LF line ends.
class TksXMLWriter {
public:
  explicit TksXMLWriter(TStream* Stream);
  void WriteHeader(bool AutoIndent);
  void WriteRootItem(const TksXMLItem* Item, bool AutoIndent);
  Int64 Position() const;
  Int64 Size() const;
  [[noreturn]] void RaiseException();

private:
  TStream* FStream;
};

class TksXMLDocument : public TObject {
  VORENTA_CLASS(TksXMLDocument, TObject)
public:
  TksXMLDocument();
  ~TksXMLDocument() override;
  TksXMLDocument(const TksXMLDocument&) = delete;
  TksXMLDocument& operator=(const TksXMLDocument&) = delete;

  void Clear();
  // Reads a whole document from bytes; raises "Invalid file format" on a malformed or
  // truncated document.
  void LoadFromString(std::string_view Bytes);
  std::string SaveToString() const;
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName) const;
  // From the stream's position to its end; to the stream at its position.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream) const;

  bool AutoIndent() const { return FAutoIndent; }
  void SetAutoIndent(bool Value) { FAutoIndent = Value; }
  TksXMLItem* Root() const { return FRoot.get(); }
  // Hands the root element over to the caller; the document is left with a new empty root.
  std::unique_ptr<TksXMLItem> TakeRoot();

private:
  void Load(TksXMLReader& Reader);

  bool FAutoIndent = false;
  std::unique_ptr<TksXMLItem> FRoot;
};

// The decoded value of attribute Name in a raw attribute text (empty when absent), and
// whether it is there: the lookup Prop and PropExists make.
String ksXMLProp(std::u16string_view Attributes, std::u16string_view Name);
bool ksXMLPropExists(std::u16string_view Attributes, std::u16string_view Name);

// Attribute value escaping: LF, CR, '"', '<', '>' and '&' become "&#NN;".
String ksStrToXML(const String& S);
String ksXMLToStr(const String& S);
