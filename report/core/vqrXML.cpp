// vqrXML.cpp - the report engine's XML dialect: items, reader, writer, document, value codes.
//
// The text format:
//
//   <?xml version="1.0" encoding="utf-8" standalone="no"?>      header (old format: version
//                                                                "1.0" and no standalone=)
//   <name attr-text/>                no children, empty Value
//   <name attr-text>children</name>  children
//   <name attr-text>Value</name>     no children, a Value (never read back)
//
//   name          8-bit code page (1251)
//   attr-text     the item's Text in UTF-8 (8-bit code page in the old format), preceded by
//                 one blank unless it begins with one; an unloadable item appends ` ld="0"`
//   indentation   with AutoIndent every line ends with CR LF and elements are indented by
//                 2 x depth blanks; without it there are no line breaks at all
//   comments      <!-- ... --> wherever a tag may stand; text between tags is ignored
#include "report/core/vqrXML.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant.h"
#include "report/core/vqrUtils.h"

namespace {

const char kHeader[] = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";
const char16_t kInvalidFormat[] = u"Invalid file format";
// Elements open at once while reading. Reports nest a few dozen levels; the limit keeps the
// recursive reader, writer and serializer far inside an 8 MB stack, sanitizers included.
constexpr int kMaxDepth = 1000;

bool IsEncodedChar(Char C) {
  return C == 10 || C == 13 || C == u'"' || C == u'&' || C == u'<' || C == u'>';
}

bool StartsAt(std::u16string_view S, std::size_t Index, std::u16string_view What) {
  return S.substr(std::min(Index, S.size())).starts_with(What);
}

void AppendReference(String& Out, unsigned Code) {
  Out += u"&#";
  Out += IntToStr(Code);
  Out += u';';
}

void AppendCodePoint(String& Out, Int64 Code) {
  if (Code < 0 || Code > 0x10FFFF) {
    Out += u'\xFFFD';
  } else if (Code > 0xFFFF) {
    Code -= 0x10000;
    Out += static_cast<Char>(0xD800 + (Code >> 10));
    Out += static_cast<Char>(0xDC00 + (Code & 0x3FF));
  } else {
    Out += static_cast<Char>(Code);
  }
}

// Decodes the numeric reference at Index ("&#"); false when it is not terminated inside the
// text, which leaves the ampersand as it stands. Digits that do not make a number raise the
// platform's conversion error.
bool DecodeNumericReference(std::u16string_view S, std::size_t& Index, String& Out) {
  std::size_t Semicolon = S.find(u';', Index + 2);
  if (Semicolon == std::u16string_view::npos) return false;
  String Digits(S.substr(Index + 2, Semicolon - Index - 2));
  bool AllDigits = !Digits.empty() && Digits.size() <= 9 &&
                   std::all_of(Digits.begin(), Digits.end(),
                               [](Char C) { return C >= u'0' && C <= u'9'; });
  Int64 Code = AllDigits ? StrToInt64(Digits) : StrToInt(Digits);
  AppendCodePoint(Out, Code);
  Index = Semicolon + 1;
  return true;
}

// Where Text holds the unloadable marker ` ld="0"` (the name in any case), or npos.
std::size_t FindUnloadableMarker(std::u16string_view Text) {
  constexpr std::u16string_view kValue = u"=\"0\"";
  for (std::size_t P = Text.find(kValue); P != std::u16string_view::npos; P = Text.find(kValue, P + 1))
    if (P >= 3 && Text[P - 3] == u' ' && (Text[P - 2] | 0x20) == u'l' && (Text[P - 1] | 0x20) == u'd')
      return P - 3;
  return std::u16string_view::npos;
}

// The closing tag of element Name: "/" and the name, case ignored. The same text, the usual
// case, is found without the collation.
bool IsClosingTag(std::u16string_view Closing, std::u16string_view Name) {
  if (Closing.empty() || Closing[0] != u'/') return false;
  Closing.remove_prefix(1);
  if (Closing == Name) return true;
  return AnsiSameText(Closing, Name);
}

}  // namespace

// --- Values ---------------------------------------------------------------------------------

String EncodeXMLValue(const String& Str) {
  String Out;
  Out.reserve(Str.size() + 8);
  AppendEncodedXMLValue(Out, Str);
  return Out;
}

void AppendEncodedXMLValue(String& Out, std::u16string_view Str) {
  std::size_t I = 0;
  while (I < Str.size()) {
    // The characters that stay as they are go in whole runs.
    const std::size_t Start = I;
    while (I < Str.size() && !IsEncodedChar(Str[I])) ++I;
    Out.append(Str.substr(Start, I - Start));
    if (I == Str.size()) break;
    if (Str[I] == u'&' && StartsAt(Str, I + 1, u"quot;")) {
      Out += u"&#34;";
      I += 6;
    } else {
      AppendReference(Out, Str[I]);
      ++I;
    }
  }
}

String DecodeXMLValue(std::u16string_view Str) {
  if (Str.find(u'&') == std::u16string_view::npos) return String(Str);
  String Out;
  Out.reserve(Str.size());
  std::size_t I = 0;
  while (I < Str.size()) {
    // The plain run up to the next reference is copied in one piece.
    const std::size_t Amp = Str.find(u'&', I);
    if (Amp == std::u16string_view::npos) {
      Out.append(Str.substr(I));
      break;
    }
    Out.append(Str.substr(I, Amp - I));
    I = Amp;
    // The shortest numeric reference, &#n;, must still fit.
    if (I + 3 < Str.size() && Str[I + 1] == u'#' && DecodeNumericReference(Str, I, Out))
      continue;
    struct TEntity {
      std::u16string_view Name;
      Char Value;
    };
    static const TEntity kEntities[] = {
        {u"quot;", u'"'}, {u"amp;", u'&'}, {u"lt;", u'<'}, {u"gt;", u'>'}};
    bool Found = false;
    for (const TEntity& E : kEntities)
      if (StartsAt(Str, I + 1, E.Name)) {
        Out += E.Value;
        I += 1 + E.Name.size();
        Found = true;
        break;
      }
    if (!Found) {
      Out += u'&';
      ++I;
    }
  }
  return Out;
}

String VariantToXMLText(const Variant& Value) {
  switch (Value.VType()) {
    case varSmallint:
    case varInteger:
    case varByte:
      return IntToStr(Value.AsInteger());
    case varSingle:
    case varDouble:
    case varCurrency:
      return FloatToStr(Value.AsDouble());
    case varDate:
      return DateToStr(Value.AsDateTime());
    case varOleStr:
    case varString:
    case varUString:
      return EncodeXMLValue(Value.AsString());
    case varBoolean:
      return Value.AsBoolean() ? u"1" : u"0";
    default:
      return {};
  }
}

// --- TvqrXMLItem ----------------------------------------------------------------------------

TvqrXMLItem::~TvqrXMLItem() {
  Clear();
  if (FParent) FParent->Unhook(this);
}

void TvqrXMLItem::Unhook(TvqrXMLItem* Child) {
  auto It = std::find(FItems.begin(), FItems.end(), Child);
  if (It != FItems.end()) FItems.erase(It);
  Child->FParent = nullptr;
}

void TvqrXMLItem::Clear() {
  std::vector<TvqrXMLItem*> Items;
  Items.swap(FItems);
  for (TvqrXMLItem* Item : Items) {
    Item->FParent = nullptr;
    delete Item;
  }
  if (FUnloadable) FLoaded = false;
}

TvqrXMLItem* TvqrXMLItem::Add() {
  auto* Item = new TvqrXMLItem;
  AddItem(Item);
  return Item;
}

void TvqrXMLItem::AddItem(TvqrXMLItem* Item) { InsertItem(Count(), Item); }

void TvqrXMLItem::InsertItem(int Index, TvqrXMLItem* Item) {
  if (Item->FParent) Item->FParent->Unhook(Item);
  Index = std::clamp(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

int TvqrXMLItem::Find(const String& AName) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(FItems[static_cast<std::size_t>(I)]->FName, AName)) return I;
  return -1;
}

TvqrXMLItem* TvqrXMLItem::FindItem(const String& AName) {
  int I = Find(AName);
  if (I >= 0) return Items(I);
  TvqrXMLItem* Item = Add();
  Item->FName = AName;
  return Item;
}

int TvqrXMLItem::IndexOf(const TvqrXMLItem* Item) const {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

TvqrXMLItem* TvqrXMLItem::Root() {
  TvqrXMLItem* Item = this;
  while (Item->FParent) Item = Item->FParent;
  return Item;
}

namespace {

// Position in Text of the first character of attribute Name, or npos. The leading blank of
// the search makes a name match only at the start or after a blank.
// Attribute names are ASCII: they are compared with ASCII case folding in place, so a name
// is found without an upper-cased copy of the text (whose full case mapping may also change
// the length, as for ß, and shift the position found).
std::size_t FindAttribute(const String& Text, const String& Name) {
  auto IsAscii = [](Char C) { return C < 0x80; };
  if (!std::all_of(Name.begin(), Name.end(), IsAscii)) {
    String Haystack = AnsiUpperCase(u" " + Text);
    String Needle = AnsiUpperCase(u" " + Name + u"=\"");
    return Haystack.find(Needle);
  }
  auto Fold = [](Char C) { return C >= u'a' && C <= u'z' ? static_cast<Char>(C - 32) : C; };
  const std::size_t Length = Name.size() + 2;
  for (std::size_t P = 0; P + Length <= Text.size(); ++P) {
    if (P > 0 && Text[P - 1] != u' ') continue;
    std::size_t I = 0;
    while (I < Name.size() && Fold(Text[P + I]) == Fold(Name[I])) ++I;
    if (I == Name.size() && Text[P + I] == u'=' && Text[P + I + 1] == u'"') return P;
  }
  return String::npos;
}

}  // namespace

String TvqrXMLItem::Prop(const String& AName) const {
  std::size_t P = FindAttribute(FText, AName);
  if (P == String::npos) return {};
  std::size_t Start = P + AName.size() + 2;
  std::size_t End = FText.find(u'"', Start);
  if (End == String::npos) End = FText.size();
  return DecodeXMLValue(FText.substr(Start, End - Start));
}

bool TvqrXMLItem::PropExists(const String& AName) const {
  return FindAttribute(FText, AName) != String::npos;
}

void TvqrXMLItem::SetProp(const String& AName, const String& Value) {
  std::size_t P = FindAttribute(FText, AName);
  if (P != String::npos) {
    std::size_t End = FText.find(u'"', P + AName.size() + 2);
    End = End == String::npos ? FText.size() : End + 1;
    FText.erase(P, End - P);
  } else {
    P = FText.size();
  }
  String Pair = AName + u"=\"" + EncodeXMLValue(Value) + u"\"";
  if (P > 0 && FText[P - 1] != u' ') Pair.insert(Pair.begin(), u' ');
  FText.insert(P, Pair);
}

void TvqrXMLItem::DeleteProp(const String& AName) {
  if (!PropExists(AName)) return;
  SetProp(AName, {});
  std::size_t P = FindAttribute(FText, AName);
  FText.erase(P, std::min(FText.size() - P, AName.size() + 4));
}

// --- TvqrXMLReader --------------------------------------------------------------------------

TvqrXMLReader::TvqrXMLReader(TStream* Stream) : FStream(Stream) {
  FPosition = Stream->Position();
  FSize = Stream->Size();
}

TvqrXMLReader::~TvqrXMLReader() { FStream->SetPosition(FPosition); }

void TvqrXMLReader::SetPosition(Int64 Value) {
  FStream->SetPosition(Value);
  FPosition = Value;
  FBufPos = FBufEnd = 0;
}

void TvqrXMLReader::RaiseException() const { throw TvqrInvalidXMLException(kInvalidFormat); }

bool TvqrXMLReader::ReadChar(char& C) {
  if (FBufPos >= FBufEnd) {
    FBufEnd = static_cast<int>(FStream->Read(FBuffer, sizeof FBuffer));
    FBufPos = 0;
    if (FBufEnd <= 0) {
      FBufEnd = 0;
      return false;
    }
  }
  C = FBuffer[FBufPos++];
  ++FPosition;
  return true;
}

void TvqrXMLReader::SkipComment() {
  char Prev1 = 0, Prev2 = 0, C = 0;
  for (;;) {
    if (!ReadChar(C)) RaiseException();
    if (C == '>' && Prev1 == '-' && Prev2 == '-') return;
    Prev2 = Prev1;
    Prev1 = C;
  }
}

namespace {

// The first '<' or '>' in [Begin, End), or End.
const char* NextBracket(const char* Begin, const char* End) {
  auto Find = [Begin](char C, const char* Until) {
    return static_cast<const char*>(std::memchr(Begin, C, static_cast<std::size_t>(Until - Begin)));
  };
  const char* Close = Find('>', End);
  const char* Limit = Close ? Close : End;
  const char* Open = Find('<', Limit);
  return Open ? Open : Limit;
}

}  // namespace

// The bytes between < and >, comments skipped; false at the end of the stream outside a tag.
bool TvqrXMLReader::ReadTagBytes(std::string& Tag) {
  for (;;) {
    char C = 0;
    do {
      if (!ReadChar(C)) return false;
    } while (C != '<');
    Tag.clear();
    for (;;) {
      // Whole runs of the buffer up to the next bracket are copied at once; the brackets are
      // searched with memchr, which tests many bytes per step.
      const char* Begin = FBuffer + FBufPos;
      const char* End = FBuffer + FBufEnd;
      const char* Stop = NextBracket(Begin, End);
      Tag.append(Begin, Stop);
      FBufPos += static_cast<int>(Stop - Begin);
      FPosition += Stop - Begin;
      if (!ReadChar(C)) RaiseException();
      if (C == '>') break;
      if (C == '<') RaiseException();
      Tag += C;
    }
    if (Tag.compare(0, 3, "!--") != 0) return true;
    bool Closed = Tag.size() >= 5 && Tag.compare(Tag.size() - 2, 2, "--") == 0;
    if (!Closed) SkipComment();
  }
}

bool TvqrXMLReader::ReadTag(String& Name, String& Text) {
  Name.clear();
  Text.clear();
  std::string& Tag = FTag;
  if (!ReadTagBytes(Tag)) return false;
  if (!Tag.empty() && Tag.back() == ' ') Tag.pop_back();
  std::size_t Blank = Tag.find(' ');
  if (Blank == std::string::npos) {
    Name = AnsiToString(Tag);
    return true;
  }
  Name = AnsiToString(std::string_view(Tag).substr(0, Blank));
  std::string_view Attr = std::string_view(Tag).substr(Blank + 1);
  Text = FOldFormat ? AnsiToString(Attr) : Utf8ToString(Attr);
  return true;
}

void TvqrXMLReader::ReadHeader() {
  String Name, Text;
  ReadTag(Name, Text);
  if (Name.compare(0, 4, u"?xml") != 0) RaiseException();
  std::size_t P = Text.find(u"version=\"");
  String Version = P == String::npos ? String() : Text.substr(P + 9, 3);
  FOldFormat = Version == u"1.0" && Text.find(u"standalone=") == String::npos;
}

void TvqrXMLReader::ReadRootItem(TvqrXMLItem* Item, bool ReadChildren) {
  FDepth = 0;
  ReadItem(Item, ReadChildren);
}

// Reads one element into Item; false when the tag was a closing tag or the stream ended
// (Item's name then holds the closing tag, or is empty at the end). An element whose stream
// ends before its closing tag, or nested deeper than kMaxDepth, is "Invalid file format".
bool TvqrXMLReader::ReadItem(TvqrXMLItem* Item, bool ReadChildren) {
  // Reading the closing tag of an element at the limit looks one level further.
  if (FDepth > kMaxDepth) RaiseException();
  ++FDepth;
  bool Result = ReadElement(Item, ReadChildren);
  --FDepth;
  return Result;
}

bool TvqrXMLReader::ReadElement(TvqrXMLItem* Item, bool ReadChildren) {
  Int64 Start = FPosition;
  ReadTag(Item->FName, Item->FText);
  const String& Name = Item->FName;
  if (Name.empty() || Name[0] == u'/') return false;
  if (Name.back() == u'/') {
    Item->FName.pop_back();
    return true;
  }
  if (!Item->FText.empty() && Item->FText.back() == u'/') {
    Item->FText.pop_back();
    return true;
  }
  String Closing;
  for (;;) {
    auto* Child = new TvqrXMLItem;
    Item->AddItem(Child);
    if (!ReadItem(Child, ReadChildren)) {
      Closing = std::move(Child->FName);
      delete Child;
      break;
    }
  }
  if (!IsClosingTag(Closing, Item->FName)) RaiseException();
  Item->FLoaded = true;
  std::size_t Marker = FindUnloadableMarker(Item->FText);
  if (Marker != String::npos) {
    Item->FText.erase(Marker, 7);
    if (!ReadChildren) {
      Item->Clear();
      Item->FOffset = static_cast<UInt64>(Start);
      Item->FUnloadable = true;
      Item->FLoaded = false;
      Item->FSource = FStream;
    }
  }
  return true;
}

// --- TvqrXMLWriter --------------------------------------------------------------------------

TvqrXMLWriter::TvqrXMLWriter(TStream* Stream) : FStream(Stream) {}

TvqrXMLWriter::~TvqrXMLWriter() { Flush(); }

void TvqrXMLWriter::Flush() {
  if (FBuffer.empty()) return;
  FStream->WriteBuffer(FBuffer.data(), static_cast<Int64>(FBuffer.size()));
  FBuffer.clear();
}

// Ends a line written into the buffer, and hands the buffer on once it holds enough.
void TvqrXMLWriter::EndLine() {
  if (FAutoIndent) FBuffer += "\r\n";
  if (FBuffer.size() > 4096) Flush();
}

void TvqrXMLWriter::WriteHeader() {
  FBuffer += kHeader;
  EndLine();
}

void TvqrXMLWriter::WriteRootItem(TvqrXMLItem* RootItem) { WriteItem(RootItem, 0); }

// Reads the children of an unloaded item back from Source. The reader and its buffer live on
// the heap: this runs inside the writer's recursion, whose frames stay small.
void TvqrXMLWriter::ReloadItem(TvqrXMLItem* Item, TStream* Source) {
  String Name = Item->Name(), Text = Item->Text();
  {
    auto Reader = std::make_unique<TvqrXMLReader>(Source);
    Reader->SetPosition(static_cast<Int64>(Item->Offset()));
    Reader->ReadRootItem(Item, true);
  }
  Item->SetName(Name);
  Item->SetText(Text);
}

void TvqrXMLWriter::WriteItem(TvqrXMLItem* Item, int Level) {
  if (Item->Unloadable() && !Item->Loaded()) {
    TStream* Source = Item->SourceStream() ? Item->SourceStream() : FTempStream;
    if (Source) {
      // Copy the unloaded item into the output without keeping it in memory.
      ReloadItem(Item, Source);
      WriteItem(Item, Level);
      Item->Clear();
      return;
    }
  }
  // Written straight into the buffer, piece by piece.
  const std::size_t Indent = FAutoIndent ? static_cast<std::size_t>(Level) * 2 : 0;
  const std::string Name = StringToAnsi(Item->Name());
  FBuffer.append(Indent, ' ');
  FBuffer += '<';
  FBuffer += Name;
  if (!Item->Text().empty() || Item->Unloadable()) {
    if (Item->Text().empty() || Item->Text()[0] != u' ') FBuffer += ' ';
    FBuffer += StringToUtf8(Item->Text());
    if (Item->Unloadable()) FBuffer += " ld=\"0\"";
  }
  if (Item->Count() > 0) {
    FBuffer += '>';
    EndLine();
    for (int I = 0; I < Item->Count(); ++I) WriteItem(Item->Items(I), Level + 1);
    FBuffer.append(Indent, ' ');
    FBuffer += "</";
    FBuffer += Name;
    FBuffer += '>';
  } else if (Item->Value().empty()) {
    FBuffer += "/>";
  } else {
    FBuffer += '>';
    FBuffer += StringToUtf8(Item->Value());
    FBuffer += "</";
    FBuffer += Name;
    FBuffer += '>';
  }
  EndLine();
}

// --- TvqrXMLDocument ------------------------------------------------------------------------

TvqrXMLDocument::TvqrXMLDocument() : FRoot(std::make_unique<TvqrXMLItem>()) {}

TvqrXMLDocument::~TvqrXMLDocument() {
  FRoot.reset();
  DropSwap();
}

void TvqrXMLDocument::DropSwap() {
  FLoadStream.reset();
  FSwapStream.reset();
  if (!FSwapFileName.empty()) DeleteFile(FSwapFileName);
  FSwapFileName.clear();
}

void TvqrXMLDocument::Clear() {
  FRoot->Clear();
  DropSwap();
}

void TvqrXMLDocument::LoadFromStream(TStream* Stream, bool AllowPartialLoading) {
  DropSwap();
  FRoot->Clear();
  FRoot->SetOffset(0);
  // From here on a partially loaded stream is the document's, also when reading fails.
  if (AllowPartialLoading) FLoadStream.reset(Stream);
  TvqrXMLReader Reader(Stream);
  Reader.ReadHeader();
  FOldVersion = Reader.OldFormat();
  Reader.ReadRootItem(FRoot.get(), !AllowPartialLoading);
}

void TvqrXMLDocument::SaveToStream(TStream* Stream) {
  TvqrXMLWriter Writer(Stream);
  Writer.SetAutoIndent(FAutoIndent);
  Writer.SetTempStream(FLoadStream ? FLoadStream.get() : FSwapStream.get());
  Writer.WriteHeader();
  Writer.WriteRootItem(FRoot.get());
}

void TvqrXMLDocument::LoadFromFile(const String& FileName) {
  LoadFromStream(new TFileStream(FileName, fmOpenRead | fmShareDenyWrite), true);
}

void TvqrXMLDocument::SaveToFile(const String& FileName) {
  String TempName = FileName + u".tmp";
  {
    TFileStream Stream(TempName, fmCreate);
    SaveToStream(&Stream);
  }
  DropSwap();
  DeleteFile(FileName);
  RenameFile(TempName, FileName);
  LoadFromFile(FileName);
}

void TvqrXMLDocument::CreateSwapFile() {
  String Dir = !FTempDir.empty() && DirectoryExists(FTempDir) ? FTempDir : String();
  FSwapFileName = NewTempFileNameIn(Dir);
  FSwapStream = std::make_unique<TFileStream>(FSwapFileName, fmOpenReadWrite);
}

void TvqrXMLDocument::UnloadItem(TvqrXMLItem* Item) {
  if (!Item->Loaded() || !Item->Unloadable()) return;
  if (!FSwapStream) CreateSwapFile();
  Int64 Offset = FSwapStream->Seek(0, soEnd);
  {
    TvqrXMLWriter Writer(FSwapStream.get());
    Writer.WriteRootItem(Item);
  }
  Item->Clear();
  Item->SetOffset(static_cast<UInt64>(Offset));
  Item->SetSourceStream(FSwapStream.get());
}

void TvqrXMLDocument::LoadItem(TvqrXMLItem* Item) {
  if (!Item->Unloadable() || Item->Loaded()) return;
  TStream* Source = Item->SourceStream();
  if (!Source) Source = FLoadStream ? FLoadStream.get() : FSwapStream.get();
  if (!Source) return;
  String Text = Item->Text();
  {
    TvqrXMLReader Reader(Source);
    Reader.SetPosition(static_cast<Int64>(Item->Offset()));
    Reader.ReadRootItem(Item, true);
  }
  Item->SetText(Text);
  Item->FLoaded = true;
}
