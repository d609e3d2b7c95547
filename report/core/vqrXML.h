// vqrXML.h - the report engine's XML dialect: items, document, buffered reader and writer.
//
// Every file and in-memory record of the engine (templates, prepared reports, the live page
// store, variables, style sheets, string tables) is kept in this dialect. Two things set it
// apart from a general XML library:
//  - an element's attributes are kept as one raw text (values still encoded) and a single
//    attribute is searched for only when it is asked for (Prop);
//  - an item marked unloadable can have its children moved out of memory (to a swap file, or
//    left in a partially loaded stream) and read back on demand.
// Attribute values are encoded with decimal character references (EncodeXMLValue).
#pragma once

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/classes/Streams.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

class Variant;

// Raised by the reader, always with "Invalid file format".
VORENTA_DECLARE_EXCEPTION(TvqrInvalidXMLException, Exception);

class TvqrXMLItem {
public:
  TvqrXMLItem() = default;
  TvqrXMLItem(const TvqrXMLItem&) = delete;
  TvqrXMLItem& operator=(const TvqrXMLItem&) = delete;
  // Frees the children, then leaves its parent's list.
  ~TvqrXMLItem();

  // Frees every child; an unloadable item then counts as not loaded.
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  TvqrXMLItem* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
  // Appends and returns a new child.
  TvqrXMLItem* Add();
  // Appends / inserts an existing item, taking it out of its previous parent first.
  void AddItem(TvqrXMLItem* Item);
  void InsertItem(int Index, TvqrXMLItem* Item);
  // Index of the first child of that name (case ignored), or -1.
  int Find(const String& AName) const;
  // That child, or a new child of that name appended.
  TvqrXMLItem* FindItem(const String& AName);
  int IndexOf(const TvqrXMLItem* Item) const;
  // The topmost ancestor (the item itself for a root).
  TvqrXMLItem* Root();

  // --- Attributes (searched in Text, names compared ignoring case) ------------------------
  // The decoded value, empty when absent.
  String Prop(const String& AName) const;
  // Sets or adds the attribute; an existing one keeps its place.
  void SetProp(const String& AName, const String& Value);
  bool PropExists(const String& AName) const;
  // Removes the pair and the one character after it (kept: stored texts rely on the spacing).
  void DeleteProp(const String& AName);

  // --- Fields -------------------------------------------------------------------------------
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  // The raw attribute text, e.g. Name="Memo1" l="10"; never decoded as a whole.
  const String& Text() const { return FText; }
  void SetText(String Value) { FText = std::move(Value); }
  // Content between the tags: written as it is, never read back.
  const String& Value() const { return FValue; }
  void SetValue(const String& Value) { FValue = Value; }
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  TvqrXMLItem* Parent() const { return FParent; }
  // The children are in memory.
  bool Loaded() const { return FLoaded; }
  // The children may be moved out of memory; the writer marks such an item with ld="0".
  bool Unloadable() const { return FUnloadable; }
  void SetUnloadable(bool Value) { FUnloadable = Value; }
  // Where the item's tag can be read again in the stream its children are reloaded from.
  UInt64 Offset() const { return FOffset; }
  void SetOffset(UInt64 Value) { FOffset = Value; }
  // The stream that stream Offset refers to, when the item was unloaded (not owned; the
  // document that unloaded the item keeps it alive). nullptr: the reader's TempStream.
  TStream* SourceStream() const { return FSource; }
  void SetSourceStream(TStream* Value) { FSource = Value; }

private:
  void Unhook(TvqrXMLItem* Child);

  String FName;
  String FText;
  String FValue;
  void* FData = nullptr;
  bool FModified = false;
  bool FLoaded = true;
  bool FUnloadable = false;
  UInt64 FOffset = 0;
  TStream* FSource = nullptr;
  TvqrXMLItem* FParent = nullptr;
  std::vector<TvqrXMLItem*> FItems;  // owned

  friend class TvqrXMLReader;
  friend class TvqrXMLDocument;
};

// Reads tags from a stream through a 4096-byte buffer. On destruction the stream is left
// just after the last tag consumed.
class TvqrXMLReader {
public:
  explicit TvqrXMLReader(TStream* Stream);
  ~TvqrXMLReader();
  TvqrXMLReader(const TvqrXMLReader&) = delete;
  TvqrXMLReader& operator=(const TvqrXMLReader&) = delete;

  // Reads the <?xml ...?> header and sets OldFormat.
  void ReadHeader();
  // Reads one element into Item (name, text and, recursively, children). Without
  // ReadChildren an element marked ld="0" keeps only its shell: not loaded, Offset at its tag.
  void ReadRootItem(TvqrXMLItem* Item, bool ReadChildren = true);
  // The logical position: bytes consumed from the stream.
  Int64 Position() const { return FPosition; }
  void SetPosition(Int64 Value);
  Int64 Size() const { return FSize; }
  // Version "1.0" without standalone=: attribute texts are in the 8-bit code page.
  bool OldFormat() const { return FOldFormat; }
  [[noreturn]] void RaiseException() const;

private:
  bool ReadChar(char& C);
  bool ReadTag(String& Name, String& Text);
  bool ReadTagBytes(std::string& Tag);
  void SkipComment();
  bool ReadItem(TvqrXMLItem* Item, bool ReadChildren);
  bool ReadElement(TvqrXMLItem* Item, bool ReadChildren);

  TStream* FStream;
  std::string FTag;  // the tag being read, kept for its capacity
  int FDepth = 0;    // elements open while reading
  char FBuffer[4096];
  int FBufPos = 0;
  int FBufEnd = 0;
  Int64 FPosition = 0;
  Int64 FSize = 0;
  bool FOldFormat = false;
};

// Writes the header and element trees, buffered.
class TvqrXMLWriter {
public:
  explicit TvqrXMLWriter(TStream* Stream);
  // Writes what is still buffered.
  ~TvqrXMLWriter();
  TvqrXMLWriter(const TvqrXMLWriter&) = delete;
  TvqrXMLWriter& operator=(const TvqrXMLWriter&) = delete;

  void WriteHeader();
  void WriteRootItem(TvqrXMLItem* RootItem);
  void Flush();

  bool AutoIndent() const { return FAutoIndent; }
  void SetAutoIndent(bool Value) { FAutoIndent = Value; }
  // The stream unloaded items are read back from while writing (items that carry their own
  // SourceStream use that one).
  TStream* TempStream() const { return FTempStream; }
  void SetTempStream(TStream* Value) { FTempStream = Value; }

private:
  void WriteItem(TvqrXMLItem* Item, int Level);
  void ReloadItem(TvqrXMLItem* Item, TStream* Source);
  void EndLine();

  TStream* FStream;
  bool FAutoIndent = false;
  TStream* FTempStream = nullptr;
  std::string FBuffer;
};

class TvqrXMLDocument {
public:
  TvqrXMLDocument();
  ~TvqrXMLDocument();
  TvqrXMLDocument(const TvqrXMLDocument&) = delete;
  TvqrXMLDocument& operator=(const TvqrXMLDocument&) = delete;

  // Clears the root and drops the swap state (reload streams freed, own swap file deleted).
  void Clear();
  // Reads a document. With AllowPartialLoading the items marked ld="0" stay in the stream,
  // and the document takes ownership of Stream (it is freed with the document); without it
  // the caller keeps the stream.
  void LoadFromStream(TStream* Stream, bool AllowPartialLoading = false);
  void SaveToStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);
  // Brings the children of an unloaded item back.
  void LoadItem(TvqrXMLItem* Item);
  // Moves the children of a loaded unloadable item to the swap file.
  void UnloadItem(TvqrXMLItem* Item);

  TvqrXMLItem* Root() const { return FRoot.get(); }
  bool AutoIndent() const { return FAutoIndent; }
  void SetAutoIndent(bool Value) { FAutoIndent = Value; }
  const String& TempDir() const { return FTempDir; }
  void SetTempDir(const String& Value) { FTempDir = Value; }
  bool OldVersion() const { return FOldVersion; }
  // The swap file's name, empty while there is none.
  const String& SwapFileName() const { return FSwapFileName; }

private:
  void DropSwap();
  void CreateSwapFile();

  std::unique_ptr<TvqrXMLItem> FRoot;
  bool FAutoIndent = false;
  String FTempDir;
  bool FOldVersion = false;
  // A partially loaded stream and the swap file are kept apart: each unloaded item names
  // the one its Offset refers to.
  std::unique_ptr<TStream> FLoadStream;
  std::unique_ptr<TStream> FSwapStream;
  String FSwapFileName;
};

// The six characters LF, CR, ", &, <, > become decimal references (&#34; ...); "&quot;" is
// written as one &#34;.
String EncodeXMLValue(const String& Str);
// The same, appended to Out.
void AppendEncodedXMLValue(String& Out, std::u16string_view Str);
// Decodes &#n;, &quot;, &amp;, &lt;, &gt; in one left-to-right pass; other ampersands stay.
String DecodeXMLValue(std::u16string_view Str);
// A variant as attribute text (numbers, dates, strings encoded, Booleans "1"/"0").
String VariantToXMLText(const Variant& Value);
