// ks_xml.cpp - the script engine's XML elements, reader, writer and attribute escaping.
#include "script/ks_xml.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"

namespace {

[[noreturn]] void RaiseFormatError() { throw EReadError(u"Invalid file format"); }

Char FoldChar(Char C) {
  if (C >= u'a' && C <= u'z') return static_cast<Char>(C - 32);
  if (C >= 0x430 && C <= 0x44F) return static_cast<Char>(C - 32);
  if (C == 0x451) return 0x401;
  return C;
}

bool SameTextView(std::u16string_view A, std::u16string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (FoldChar(A[i]) != FoldChar(B[i])) return false;
  return true;
}

// Finds attribute Name in the raw attribute text: the offset of the name and of the value.
// The name matches ignoring case where it starts the text or follows a blank and is followed
// by =" (the first such place).
bool LocateProp(std::u16string_view T, std::u16string_view N, size_t& NameAt, size_t& ValueAt) {
  const size_t Len = N.size();
  if (T.size() < Len + 2) return false;
  // Only the text's start and the places after a blank can start a name.
  for (size_t P = 0; P + Len + 2 <= T.size();) {
    if (T[P + Len] == u'=' && T[P + Len + 1] == u'"' && SameTextView(T.substr(P, Len), N)) {
      NameAt = P;
      ValueAt = P + Len + 2;
      return true;
    }
    size_t Blank = T.find(u' ', P);
    if (Blank == std::u16string_view::npos) break;
    P = Blank + 1;
  }
  return false;
}

void WriteItem(std::string& Out, const TksXMLItem* Item, bool AutoIndent, int Level) {
  if (AutoIndent) Out.append(Level, ' ');
  Out += '<';
  Out += StringToUtf8(Item->Name());
  if (!Item->Text().empty()) {
    if (Item->Text()[0] != u' ') Out += ' ';
    Out += StringToUtf8(Item->Text());
  }
  Out += Item->Count() ? ">" : "/>";
  if (AutoIndent) Out += "\r\n";
  if (!Item->Count()) return;
  for (int i = 0; i < Item->Count(); ++i) WriteItem(Out, Item->Items(i), AutoIndent, Level + 2);
  if (AutoIndent) Out.append(Level, ' ');
  Out += "</";
  Out += StringToUtf8(Item->Name());
  Out += '>';
  if (AutoIndent) Out += "\r\n";
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TksXMLReader

TksXMLReader::TksXMLReader(std::string_view Bytes) : FBytes(Bytes) {}

TksXMLReader::TksXMLReader(TStream* Stream) : FStream(Stream) {}

TksXMLReader::~TksXMLReader() {
  // The stream is left just after the last byte the reader consumed.
  if (FStream && FPos < FBytes.size()) {
    try {
      FStream->Seek(-static_cast<Int64>(FBytes.size() - FPos), soCurrent);
    } catch (...) {
      // A destructor must not throw; a stream that cannot seek back stays where it is.
    }
  }
}

Int64 TksXMLReader::Position() const {
  return FStream ? FBlockStart + static_cast<Int64>(FPos) : static_cast<Int64>(FPos);
}

Int64 TksXMLReader::Size() const { return FStream ? FStream->Size() : static_cast<Int64>(FBytes.size()); }

void TksXMLReader::RaiseException() { RaiseFormatError(); }

int TksXMLReader::NextByte() {
  if (FPos >= FBytes.size()) {
    if (!FStream) return -1;
    FBlockStart = FStream->Position();
    FBlock.resize(4096);
    FBlock.resize(static_cast<size_t>(FStream->Read(FBlock.data(), static_cast<Int64>(FBlock.size()))));
    FBytes = FBlock;
    FPos = 0;
    if (FBytes.empty()) return -1;
  }
  return static_cast<unsigned char>(FBytes[FPos++]);
}

void TksXMLReader::ReadHeader() {
  String Name, Text;
  ReadTag(Name, Text);
  if (Name.rfind(u"?xml", 0) != 0) RaiseFormatError();
}

// Grammars and program trees nest a few hundred levels at most (the compiler's walk stops
// source text nested deeper); the limit keeps the recursive reader, and the compiler that walks
// a loaded tree, far inside an 8 MB stack, sanitizers included.
constexpr int kMaxXMLDepth = 1000;

bool TksXMLReader::ReadRootItem(TksXMLItem* Item) {
  // Reading the end tag of an element at the limit looks one level further.
  if (FDepth > kMaxXMLDepth) RaiseFormatError();
  ++FDepth;
  struct TLeave {
    int& Depth;
    ~TLeave() { --Depth; }
  } Leave{FDepth};
  return ReadElement(Item);
}

bool TksXMLReader::ReadElement(TksXMLItem* Item) {
  String Name, Text;
  ReadTag(Name, Text);
  FLastName = Name;
  if (Name.empty()) {
    FEnded = true;
    return false;
  }
  if (Name[0] == u'/') return false;
  bool HasChildren = true;
  if (Name.back() == u'/') {
    Name.pop_back();
    HasChildren = false;
  } else if (!Text.empty() && Text.back() == u'/') {
    Text.pop_back();
    HasChildren = false;
  }
  Item->SetName(std::move(Name));
  Item->SetText(std::move(Text));
  if (!HasChildren) return true;
  for (;;) {
    auto Child = std::make_unique<TksXMLItem>();
    if (!ReadRootItem(Child.get())) break;
    Item->AddItem(Child.release());
  }
  // A document cut short would otherwise load as a silently shorter tree.
  if (FEnded) RaiseFormatError();
  if (!SameTextView(FLastName, u"/" + Item->Name())) RaiseFormatError();
  return true;
}

void TksXMLReader::ReadTag(String& Name, String& Text) {
  std::string Buf;
  enum { Outside, InTag, InComment } State = Outside;
  int Dashes = 0;
  for (int B; (B = NextByte()) >= 0;) {
    char C = static_cast<char>(B);
    switch (State) {
      case Outside:
        if (C == '<') State = InTag;
        break;
      case InTag:
        if (C == '>') {
          SplitTag(Buf, Name, Text);
          return;
        }
        if (C == '<') RaiseFormatError();
        Buf.push_back(C);
        if (Buf.size() == 3 && Buf == "!--") {
          Buf.clear();
          State = InComment;
          Dashes = 0;
        }
        break;
      case InComment:
        if (Dashes == 2) {
          if (C == '>') {
            State = Outside;
            Dashes = 0;
            break;
          }
          Dashes = 0;
          break;
        }
        Dashes = C == '-' ? Dashes + 1 : 0;
        break;
    }
  }
  if (State == InTag) RaiseFormatError();
  Name.clear();
  Text.clear();
}

void TksXMLReader::SplitTag(std::string& Buf, String& Name, String& Text) {
  if (!Buf.empty() && Buf.back() == ' ') Buf.pop_back();
  size_t Sp = Buf.find(' ');
  if (Sp == std::string::npos) {
    Name = Utf8ToString(Buf);
    Text.clear();
  } else {
    Name = Utf8ToString(std::string_view(Buf).substr(0, Sp));
    Text = Utf8ToString(std::string_view(Buf).substr(Sp + 1));
  }
}

// ---------------------------------------------------------------------------------------------
// TksXMLWriter

TksXMLWriter::TksXMLWriter(TStream* Stream) : FStream(Stream) {}

Int64 TksXMLWriter::Position() const { return FStream->Position(); }

Int64 TksXMLWriter::Size() const { return FStream->Size(); }

void TksXMLWriter::RaiseException() { RaiseFormatError(); }

void TksXMLWriter::WriteHeader(bool AutoIndent) {
  std::string Out = "<?xml version=\"1.0\"?>";
  if (AutoIndent) Out += "\r\n";
  FStream->WriteBuffer(Out.data(), static_cast<Int64>(Out.size()));
}

void TksXMLWriter::WriteRootItem(const TksXMLItem* Item, bool AutoIndent) {
  std::string Out;
  WriteItem(Out, Item, AutoIndent, 0);
  FStream->WriteBuffer(Out.data(), static_cast<Int64>(Out.size()));
}

// ---------------------------------------------------------------------------------------------
// TksXMLItem

TksXMLItem::~TksXMLItem() {
  Clear();
  if (FParent) FParent->Unhook(this);
}

void TksXMLItem::Unhook(TksXMLItem* Child) {
  // Searched from the end: Clear and the compiler take children off last first, which a
  // search from the front made quadratic in the number of children.
  auto It = std::find(FItems.rbegin(), FItems.rend(), Child);
  if (It != FItems.rend()) FItems.erase(std::next(It).base());
}

void TksXMLItem::Clear() {
  while (!FItems.empty()) delete FItems.back();  // each child unhooks itself
}

TksXMLItem* TksXMLItem::Add() {
  auto* Item = new TksXMLItem;
  AddItem(Item);
  return Item;
}

void TksXMLItem::AddItem(TksXMLItem* Item) {
  if (Item->FParent) Item->FParent->Unhook(Item);
  FItems.push_back(Item);
  Item->FParent = this;
}

void TksXMLItem::InsertItem(int Index, TksXMLItem* Item) {
  AddItem(Item);
  FItems.pop_back();
  FItems.insert(FItems.begin() + std::clamp(Index, 0, Count()), Item);
}

int TksXMLItem::Find(const String& AName) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextView(FItems[i]->FName, AName)) return i;
  return -1;
}

TksXMLItem* TksXMLItem::FindItem(const String& AName) {
  int i = Find(AName);
  if (i >= 0) return FItems[i];
  TksXMLItem* Item = Add();
  Item->FName = AName;
  return Item;
}

TksXMLItem* TksXMLItem::Root() {
  TksXMLItem* Item = this;
  while (Item->FParent) Item = Item->FParent;
  return Item;
}

int TksXMLItem::IndexOf(const TksXMLItem* Item) const {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

bool TksXMLItem::PropExists(std::u16string_view Index) const {
  size_t NameAt, ValueAt;
  return LocateProp(FText, Index, NameAt, ValueAt);
}

void TksXMLItem::Assign(const TksXMLItem* Item) {
  Clear();
  if (!Item) return;
  FName = Item->FName;
  FText = Item->FText;
  FData = Item->FData;
  for (const TksXMLItem* Child : Item->FItems) Add()->Assign(Child);
}

void TksXMLItem::SetParent(TksXMLItem* Value) {
  if (FParent) FParent->Unhook(this);
  FParent = Value;
}

String TksXMLItem::Prop(std::u16string_view Index) const { return ksXMLProp(FText, Index); }

void TksXMLItem::SetProp(const String& Index, const String& Value) {
  String Attr = Index + u"=\"" + ksStrToXML(Value) + u"\"";
  size_t NameAt, ValueAt;
  size_t At = FText.size();
  if (LocateProp(FText, Index, NameAt, ValueAt)) {
    size_t End = FText.find(u'"', ValueAt);
    End = End == String::npos ? FText.size() : End + 1;
    FText.erase(NameAt, End - NameAt);
    At = NameAt;
  }
  if (At > 0 && FText[At - 1] != u' ') Attr.insert(Attr.begin(), u' ');
  FText.insert(At, Attr);
}

String ksXMLProp(std::u16string_view Attributes, std::u16string_view Name) {
  size_t NameAt, ValueAt;
  if (!LocateProp(Attributes, Name, NameAt, ValueAt)) return {};
  size_t End = Attributes.find(u'"', ValueAt);
  if (End == std::u16string_view::npos) End = Attributes.size();
  const std::u16string_view Value = Attributes.substr(ValueAt, End - ValueAt);
  if (Value.find(u'&') == std::u16string_view::npos) return String(Value);
  return ksXMLToStr(String(Value));
}

bool ksXMLPropExists(std::u16string_view Attributes, std::u16string_view Name) {
  size_t NameAt, ValueAt;
  return LocateProp(Attributes, Name, NameAt, ValueAt);
}

// ---------------------------------------------------------------------------------------------
// TksXMLDocument

REGISTER_CLASS(TksXMLItem) {}
REGISTER_CLASS(TksXMLDocument) {}

TksXMLDocument::TksXMLDocument() : FRoot(std::make_unique<TksXMLItem>()) {}
TksXMLDocument::~TksXMLDocument() = default;

void TksXMLDocument::Clear() { FRoot->Clear(); }

std::unique_ptr<TksXMLItem> TksXMLDocument::TakeRoot() {
  auto Root = std::move(FRoot);
  FRoot = std::make_unique<TksXMLItem>();
  return Root;
}

void TksXMLDocument::LoadFromString(std::string_view Bytes) {
  if (Bytes.substr(0, 3) == "\xEF\xBB\xBF") Bytes.remove_prefix(3);
  TksXMLReader Reader(Bytes);
  Load(Reader);
}

void TksXMLDocument::Load(TksXMLReader& Reader) {
  FRoot->Clear();
  Reader.ReadHeader();
  Reader.ReadRootItem(FRoot.get());
}

std::string TksXMLDocument::SaveToString() const {
  std::string Out = "<?xml version=\"1.0\"?>";
  if (FAutoIndent) Out += "\r\n";
  WriteItem(Out, FRoot.get(), FAutoIndent, 0);
  return Out;
}

void TksXMLDocument::LoadFromFile(const String& FileName) {
  std::ifstream In(StringToUtf8(FileName), std::ios::binary);
  if (!In) throw EFOpenError(u"Cannot open file \"" + FileName + u"\"");
  std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  LoadFromString(Bytes);
}

void TksXMLDocument::SaveToFile(const String& FileName) const {
  std::ofstream Out(StringToUtf8(FileName), std::ios::binary | std::ios::trunc);
  if (!Out) throw EFCreateError(u"Cannot create file \"" + FileName + u"\"");
  Out << SaveToString();
}

void TksXMLDocument::LoadFromStream(TStream* Stream) {
  TksXMLReader Reader(Stream);
  Load(Reader);
}

void TksXMLDocument::SaveToStream(TStream* Stream) const {
  TksXMLWriter Writer(Stream);
  Writer.WriteHeader(FAutoIndent);
  Writer.WriteRootItem(FRoot.get(), FAutoIndent);
}

// ---------------------------------------------------------------------------------------------
// Escaping

String ksStrToXML(const String& S) {
  String R;
  R.reserve(S.size());
  for (Char C : S) {
    switch (C) {
      case 10: case 13: case 34: case 38: case 60: case 62: {
        std::string Code = std::to_string(static_cast<int>(C));
        R += u"&#";
        R.append(Code.begin(), Code.end());
        R += u';';
        break;
      }
      default:
        R += C;
    }
  }
  return R;
}

String ksXMLToStr(const String& S) {
  if (S.find(u'&') == String::npos) return S;
  String R;
  R.reserve(S.size());
  size_t i = 0;
  while (i < S.size()) {
    Char C = S[i];
    if (C == u'&' && i + 1 < S.size()) {
      if (S[i + 1] == u'#' && i + 3 < S.size() + 1) {
        size_t Semi = S.find(u';', i + 2);
        if (Semi != String::npos && Semi > i + 2) {
          long Code = 0;
          bool Ok = true;
          for (size_t k = i + 2; k < Semi; ++k) {
            if (S[k] < u'0' || S[k] > u'9' || Code > 0x10FFFF) {
              Ok = false;
              break;
            }
            Code = Code * 10 + (S[k] - u'0');
          }
          if (!Ok)
            throw EConvertError(u"'" + S.substr(i + 2, Semi - i - 2) + u"' is not a valid integer value");
          R += static_cast<Char>(Code);
          i = Semi + 1;
          continue;
        }
      } else if (S.compare(i + 1, 5, u"quot;") == 0) {
        R += u'"';
        i += 6;
        continue;
      }
    }
    R += C;
    ++i;
  }
  return R;
}
