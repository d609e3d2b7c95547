// vqrUnicodeUtils.cpp - TvqrWideStrings and the code-page conversions.
#include "report/core/vqrUnicodeUtils.h"

#include <locale.h>

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TvqrWideStrings) {}

TvqrWideStrings::~TvqrWideStrings() { Clear(); }

String TvqrWideStrings::Get(int Index) const {
  if (Index < 0 || Index >= Count()) return {};
  return FWideStringList[static_cast<std::size_t>(Index)].Str;
}

TObject* TvqrWideStrings::GetObject(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FWideStringList[static_cast<std::size_t>(Index)].Obj;
}

void TvqrWideStrings::Put(int Index, const String& S) { Insert(Index, S); }

void TvqrWideStrings::PutObject(int Index, TObject* AObject) {
  if (Index < 0 || Index >= Count()) return;
  FWideStringList[static_cast<std::size_t>(Index)].Obj = AObject;
}

void TvqrWideStrings::Insert(int Index, const String& S) {
  if (Index == Count()) {
    FWideStringList.push_back({S, nullptr});
    return;
  }
  if (Index < 0 || Index > Count()) throw Exception(u"Wide String Out of Bounds");
  FWideStringList[static_cast<std::size_t>(Index)].Str = S;
}

int TvqrWideStrings::Add(const String& S) {
  FWideStringList.push_back({S, nullptr});
  return Count() - 1;
}

int TvqrWideStrings::AddObject(const String& S, TObject* AObject) {
  FWideStringList.push_back({S, AObject});
  return Count() - 1;
}

void TvqrWideStrings::AddStrings(TStrings* Strings) {
  for (int I = 0; I < Strings->Count(); ++I) AddObject(Strings->Get(I), Strings->GetObject(I));
}

void TvqrWideStrings::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  FWideStringList.erase(FWideStringList.begin() + Index);
}

void TvqrWideStrings::Clear() { FWideStringList.clear(); }

int TvqrWideStrings::IndexOf(const String& S) const {
  for (int I = 0; I < Count(); ++I)
    if (FWideStringList[static_cast<std::size_t>(I)].Str == S) return I;
  return -1;
}

void TvqrWideStrings::Assign(TPersistent* Source) {
  auto* Strings = dynamic_cast<TStrings*>(Source);
  if (!Strings) return TStrings::Assign(Source);
  if (Strings == this) return;
  Clear();
  AddStrings(Strings);
}

void TvqrWideStrings::AssignTo(TPersistent* Dest) {
  auto* Strings = dynamic_cast<TStrings*>(Dest);
  if (!Strings) return TStrings::AssignTo(Dest);
  Strings->BeginUpdate();
  Strings->Clear();
  for (const TEntry& E : FWideStringList) Strings->AddObject(E.Str, E.Obj);
  Strings->EndUpdate();
}

// Sized once and filled from the entries directly (no copy of each line on the way).
String TvqrWideStrings::Text() const {
  std::size_t Size = 0;
  for (const TEntry& E : FWideStringList) Size += E.Str.size() + 2;
  String Result;
  Result.reserve(Size);
  for (const TEntry& E : FWideStringList) {
    Result += E.Str;
    Result += u"\r\n";
  }
  return Result;
}

void TvqrWideStrings::SetText(const String& Value) {
  Clear();
  std::size_t P = 0;
  const std::size_t N = Value.size();
  while (P < N) {
    std::size_t Start = P;
    while (P < N && Value[P] != u'\r' && Value[P] != u'\n' && Value[P] != u'\x2028') ++P;
    // Each line is cut straight into its entry.
    FWideStringList.push_back({Value.substr(Start, P - Start), nullptr});
    if (P < N && Value[P] == u'\r') ++P;
    if (P < N && Value[P] == u'\n') ++P;
    if (P < N && Value[P] == u'\x2028') ++P;
  }
}

namespace {

String Utf16LeToString(const std::string& Bytes) {
  String Text(Bytes.size() / 2, u'\0');
  for (std::size_t I = 0; I < Text.size(); ++I)
    Text[I] = static_cast<Char>(static_cast<Byte>(Bytes[2 * I]) |
                                static_cast<Byte>(Bytes[2 * I + 1]) << 8);
  return Text;
}

}  // namespace

void TvqrWideStrings::LoadFromStream(TStream* Stream) {
  std::string Bytes = ReadRestOfStream(Stream);
  if (Bytes.size() > 2 && static_cast<Byte>(Bytes[0]) == 0xFF &&
      static_cast<Byte>(Bytes[1]) == 0xFE)
    SetText(Utf16LeToString(Bytes.substr(2)));
  else
    SetText(AnsiToString(Bytes));
}

void TvqrWideStrings::LoadFromWStream(TStream* Stream) {
  SetText(Utf16LeToString(ReadRestOfStream(Stream)));
}

void TvqrWideStrings::SaveToStream(TStream* Stream) const {
  String Value = Text();
  std::string Bytes;
  Bytes.reserve(Value.size() * 2);
  for (Char C : Value) {
    Bytes += static_cast<char>(C & 0xFF);
    Bytes += static_cast<char>(C >> 8);
  }
  if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
}

void TvqrWideStrings::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

void TvqrWideStrings::SaveToFile(const String& FileName) const {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

void TvqrWideStrings::DefineProperties(TFiler* Filer) {
  auto ReadList = [this](TReader* Reader, auto Convert) {
    Clear();
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) Add(Convert(Reader->ReadString()));
    Reader->ReadListEnd();
  };
  Filer->DefineProperty(
      u"UTF8W", [ReadList](TReader* R) { ReadList(R, [](const String& S) { return S; }); },
      [this](TWriter* Writer) {
        Writer->WriteListBegin();
        for (const TEntry& E : FWideStringList) Writer->WriteString(E.Str);
        Writer->WriteListEnd();
      },
      Count() > 0);
  Filer->DefineProperty(
      u"UTF8",
      [ReadList](TReader* R) {
        ReadList(R, [](const String& S) { return Utf8ToString(StringToAnsi(S)); });
      },
      nullptr, false);
  Filer->DefineProperty(
      u"Strings", [ReadList](TReader* R) { ReadList(R, [](const String& S) { return S; }); },
      nullptr, false);
}

// --- Code pages -----------------------------------------------------------------------------

unsigned CodePageOfCharset(int Charset) {
  switch (Charset) {
    case 1: return GetACP();
    case 77: return 10007;  // the system Macintosh code page (Cyrillic)
    case 255: return GetOEMCP();
    case 0: return 1252;
    case 2: return 42;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default:
      throw EOSError(u"System Error.  Code: 87.\nThe parameter is incorrect");
  }
}

String AnsiToUnicodeText(const std::string& S, int Charset, unsigned CodePage) {
  if (S.empty()) return {};
  return CodePageToString(S, CodePage ? CodePage : CodePageOfCharset(Charset));
}

std::string UnicodeToAnsiText(const String& WS, int Charset, unsigned CodePage) {
  if (WS.empty()) return {};
  return StringToCodePage(WS, CodePage ? CodePage : CodePageOfCharset(Charset));
}

std::string OemToAnsiText(const std::string& S) {
  std::string Out = StringToCodePage(CodePageToString(S, GetOEMCP()), GetACP());
  Out.resize(S.size(), '?');
  return Out;
}

unsigned LocaleOfCharset(int Charset) {
  switch (Charset) {
    case 128: return 1041;
    case 129: return 1042;
    case 130: return 2066;
    case 134: return 2052;
    case 136: return 3076;
    case 161: return 1032;
    case 162: return 1055;
    case 163: return 1066;
    case 177: return 1037;
    case 178: return 13313;
    case 186: return 1061;
    case 204: return 1049;
    case 222: return 1054;
    case 238: return 1029;
    default: return 1049;  // the current thread's locale: the system is Russian
  }
}
