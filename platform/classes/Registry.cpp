// Registry.cpp - the registry stand-in over ini files (the storage is described in the header).
#include "platform/classes/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/classes/IniText_p.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TRegistry) {}
REGISTER_CLASS(TRegIniFile) {}
REGISTER_CLASS(TRegistryIniFile) {}

struct TRegistry::TValue {
  enum TKind { vkString, vkInteger, vkBinary };
  TKind Kind = vkString;
  String Text;
  Integer Int = 0;
  std::string Bytes;
};

namespace {

const char16_t kDefaultValueName[] = u"@";
const char16_t kDwordPrefix[] = u"dword:";
const char16_t kHexPrefix[] = u"hex:";

[[noreturn]] void RaiseRegistryError(const char16_t* Template, const String& Name) {
  throw ERegistryException(Template + Name + u"'");
}

String Escaped(const String& S) {
  String Result;
  for (Char C : S) {
    switch (C) {
      case u'\\': Result += u"\\\\"; break;
      case u'"': Result += u"\\\""; break;
      case u'\r': Result += u"\\r"; break;
      case u'\n': Result += u"\\n"; break;
      case u'=': Result += u"\\x3D"; break;
      default: Result += C;
    }
  }
  return Result;
}

int HexDigit(Char C) {
  if (C >= u'0' && C <= u'9') return C - u'0';
  if (C >= u'a' && C <= u'f') return C - u'a' + 10;
  if (C >= u'A' && C <= u'F') return C - u'A' + 10;
  return -1;
}

// The inverse of Escaped for a quoted text: S starts with '"'; the closing quote is optional.
String Unescaped(const String& S) {
  String Result;
  std::size_t I = 1;
  const std::size_t End = S.size() > 1 && S.back() == u'"' ? S.size() - 1 : S.size();
  while (I < End) {
    const Char C = S[I++];
    if (C != u'\\' || I >= End) {
      Result += C;
      continue;
    }
    const Char E = S[I++];
    if (E == u'r') Result += u'\r';
    else if (E == u'n') Result += u'\n';
    else if (E == u'x' && I + 1 < End && HexDigit(S[I]) >= 0 && HexDigit(S[I + 1]) >= 0) {
      Result += static_cast<Char>(HexDigit(S[I]) * 16 + HexDigit(S[I + 1]));
      I += 2;
    } else Result += E;
  }
  return Result;
}

bool NeedsQuotedName(const String& Name) {
  if (Name == kDefaultValueName || Name.front() <= u' ' || Name.back() <= u' ') return true;
  if (Name.find_first_of(u"=\r\n\"") != String::npos) return true;
  return Name.front() == u';' || Name.front() == u'#' || Name.front() == u'[';
}

// Text escaped and in double quotes, built by appending: GCC 12 warns wrongly (-Wrestrict)
// on a literal added before a string.
String Quoted(const String& Text) {
  String Result(u"\"");
  Result += Escaped(Text);
  Result += u'"';
  return Result;
}

String EncodeName(const String& Name) {
  if (Name.empty()) return kDefaultValueName;
  return NeedsQuotedName(Name) ? Quoted(Name) : Name;
}

String DecodeName(const String& Stored) {
  if (Stored == kDefaultValueName) return String();
  return !Stored.empty() && Stored.front() == u'"' ? Unescaped(Stored) : Stored;
}

String HexText(const void* Buffer, int Size) {
  String Result = kHexPrefix;
  const auto* P = static_cast<const unsigned char*>(Buffer);
  for (int I = 0; I < Size; ++I) {
    char Pair[4];
    std::snprintf(Pair, sizeof Pair, "%02x", P[I]);
    if (I > 0) Result += u',';
    Result += Utf8ToString(Pair);
  }
  return Result;
}

bool ParseHex(std::u16string_view Text, std::string& Bytes) {
  Bytes.clear();
  std::size_t I = 0;
  while (I < Text.size()) {
    if (I + 1 >= Text.size() || HexDigit(Text[I]) < 0 || HexDigit(Text[I + 1]) < 0) return false;
    Bytes.push_back(static_cast<char>(HexDigit(Text[I]) * 16 + HexDigit(Text[I + 1])));
    I += 2;
    if (I < Text.size() && Text[I++] != u',') return false;
  }
  return true;
}

bool StartsWithPath(const String& Section, const String& Prefix) {
  return Section.size() > Prefix.size() &&
         AnsiSameText(std::u16string_view(Section).substr(0, Prefix.size()), Prefix);
}

// Removes leading and trailing backslashes.
String TrimmedPath(const String& Path) {
  std::size_t B = 0, E = Path.size();
  while (B < E && Path[B] == u'\\') ++B;
  while (E > B && Path[E - 1] == u'\\') --E;
  return Path.substr(B, E - B);
}

}  // namespace

// =============================================================================================
// TRegistry

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() = default;

String TRegistry::StorageFolder() {
  const char* Config = std::getenv("XDG_CONFIG_HOME");
  if (Config && *Config) return Utf8ToString(Config) + u"/vorenta";
  const char* Home = std::getenv("HOME");
  return Utf8ToString(Home && *Home ? Home : ".") + u"/.config/vorenta";
}

String TRegistry::RootFileName() const {
  switch (FRootKey) {
    case HKEY_CURRENT_USER: return StorageFolder() + u"/HKEY_CURRENT_USER.ini";
    case HKEY_LOCAL_MACHINE: return StorageFolder() + u"/HKEY_LOCAL_MACHINE.ini";
    default: throw ERegistryException(u"Invalid root key " + IntToHex(Int64(FRootKey), 8));
  }
}

void TRegistry::LoadRoot(TIniText& Text) const {
  std::string Bytes;
  if (ReadFileBytes(RootFileName(), Bytes))
    Text.Parse(Bytes);
  else
    Text.Clear();
}

void TRegistry::SaveRoot(const TIniText& Text) const {
  const String FileName = RootFileName();
  std::error_code Error;
  std::filesystem::create_directories(StringToUtf8(StorageFolder()), Error);
  WriteFileBytes(FileName, Text.Bytes());
}

void TRegistry::SetRootKey(HKEY Value) {
  CloseKey();
  FRootKey = Value;
}

String TRegistry::FullPath(const String& Key) const {
  if (!Key.empty() && Key.front() == u'\\') return TrimmedPath(Key);
  const String Relative = TrimmedPath(Key);
  if (!FKeyOpen || FCurrentPath.empty()) return Relative;
  return Relative.empty() ? FCurrentPath : FCurrentPath + u"\\" + Relative;
}

namespace {

bool KeyExistsIn(const TIniText& Text, const String& Path) {
  if (Path.empty() || Text.SectionExists(Path)) return true;
  for (const String& Section : Text.Sections())
    if (StartsWithPath(Section, Path + u"\\")) return true;
  return false;
}

}  // namespace

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
  const String Path = FullPath(Key);
  TIniText Text;
  LoadRoot(Text);
  if (!KeyExistsIn(Text, Path)) {
    if (!CanCreate) return false;
    Text.AddSection(Path);
    SaveRoot(Text);
  }
  FCurrentPath = Path;
  FKeyOpen = true;
  FReadOnly = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
  if (!OpenKey(Key, false)) return false;
  FReadOnly = true;
  return true;
}

void TRegistry::CloseKey() {
  FCurrentPath.clear();
  FKeyOpen = false;
  FReadOnly = false;
}

bool TRegistry::KeyExists(const String& Key) {
  TIniText Text;
  LoadRoot(Text);
  return KeyExistsIn(Text, FullPath(Key));
}

bool TRegistry::DeleteKey(const String& Key) {
  const String Path = FullPath(Key);
  if (Path.empty()) return false;
  TIniText Text;
  LoadRoot(Text);
  bool Deleted = Text.EraseSection(Path);
  for (const String& Section : Text.Sections())
    if (StartsWithPath(Section, Path + u"\\")) Deleted = Text.EraseSection(Section) || Deleted;
  if (Deleted) SaveRoot(Text);
  return Deleted;
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  TIniText Text;
  LoadRoot(Text);
  const String Prefix = FCurrentPath.empty() ? String() : FCurrentPath + u"\\";
  std::vector<String> Names;
  for (const String& Section : Text.Sections()) {
    if (!StartsWithPath(Section, Prefix)) continue;
    const String Rest = Section.substr(Prefix.size());
    const String Child = Rest.substr(0, Rest.find(u'\\'));
    bool Seen = false;
    for (const String& N : Names) Seen = Seen || AnsiSameText(N, Child);
    if (!Seen && !Child.empty()) Names.push_back(Child);
  }
  FillStrings(Strings, Names);
}

void TRegistry::GetValueNames(TStrings* Strings) {
  TIniText Text;
  LoadRoot(Text);
  std::vector<String> Names;
  for (const String& Stored : Text.Keys(FCurrentPath)) Names.push_back(DecodeName(Stored));
  FillStrings(Strings, Names);
}

void TRegistry::DecodeValue(const String& Stored, TValue& Value) {
  const std::u16string_view Text(Stored);
  Value.Kind = TValue::vkString;
  Value.Text = Stored;
  if (!Stored.empty() && Stored.front() == u'"') {
    Value.Text = Unescaped(Stored);
    return;
  }
  if (Text.starts_with(kDwordPrefix)) {
    const String Digits(Text.substr(std::char_traits<char16_t>::length(kDwordPrefix)));
    Int64 N = 0;
    if (TryStrToInt64(u"$" + Digits, N) && N >= 0 && N <= 0xFFFFFFFFLL) {
      Value.Kind = TValue::vkInteger;
      Value.Int = static_cast<Integer>(static_cast<std::uint32_t>(N));
    }
    return;
  }
  if (Text.starts_with(kHexPrefix) &&
      ParseHex(Text.substr(std::char_traits<char16_t>::length(kHexPrefix)), Value.Bytes))
    Value.Kind = TValue::vkBinary;
}

bool TRegistry::FindValue(const String& Name, TValue& Value) {
  TIniText Text;
  LoadRoot(Text);
  const std::optional<String> Stored = Text.Read(FCurrentPath, EncodeName(Name));
  if (!Stored) return false;
  DecodeValue(*Stored, Value);
  return true;
}

void TRegistry::CheckWritable(const String& Name) const {
  if (FReadOnly) RaiseRegistryError(u"Failed to set data for '", Name);
}

void TRegistry::PutValue(const String& Name, const String& Stored) {
  CheckWritable(Name);
  TIniText Text;
  LoadRoot(Text);
  Text.Write(FCurrentPath, EncodeName(Name), Stored);
  SaveRoot(Text);
}

bool TRegistry::ValueExists(const String& Name) {
  TValue Value;
  return FindValue(Name, Value);
}

bool TRegistry::DeleteValue(const String& Name) {
  CheckWritable(Name);
  TIniText Text;
  LoadRoot(Text);
  if (!Text.DeleteKey(FCurrentPath, EncodeName(Name))) return false;
  SaveRoot(Text);
  return true;
}

String TRegistry::ReadString(const String& Name) {
  TValue Value;
  if (!FindValue(Name, Value)) return String();
  if (Value.Kind != TValue::vkString) RaiseRegistryError(u"Invalid data type for '", Name);
  return Value.Text;
}

void TRegistry::WriteString(const String& Name, const String& Value) {
  PutValue(Name, Quoted(Value));
}

Integer TRegistry::ReadInteger(const String& Name) {
  TValue Value;
  if (!FindValue(Name, Value)) RaiseRegistryError(u"Failed to get data for '", Name);
  if (Value.Kind != TValue::vkInteger) RaiseRegistryError(u"Invalid data type for '", Name);
  return Value.Int;
}

void TRegistry::WriteInteger(const String& Name, Integer Value) {
  PutValue(Name, kDwordPrefix + IntToHex(static_cast<std::uint32_t>(Value), 8));
}

bool TRegistry::ReadBool(const String& Name) { return ReadInteger(Name) != 0; }

void TRegistry::WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

double TRegistry::ReadFloat(const String& Name) {
  double Result = 0;
  TValue Value;
  if (!FindValue(Name, Value)) RaiseRegistryError(u"Failed to get data for '", Name);
  if (Value.Kind != TValue::vkBinary || Value.Bytes.size() != sizeof Result)
    RaiseRegistryError(u"Invalid data type for '", Name);
  std::memcpy(&Result, Value.Bytes.data(), sizeof Result);
  return Result;
}

void TRegistry::WriteFloat(const String& Name, double Value) {
  WriteBinaryData(Name, &Value, sizeof Value);
}

int TRegistry::ReadBinaryData(const String& Name, void* Buffer, int BufSize) {
  TValue Value;
  if (!FindValue(Name, Value)) return 0;
  if (Value.Kind != TValue::vkBinary || static_cast<int>(Value.Bytes.size()) > BufSize)
    RaiseRegistryError(u"Invalid data type for '", Name);
  std::memcpy(Buffer, Value.Bytes.data(), Value.Bytes.size());
  return static_cast<int>(Value.Bytes.size());
}

void TRegistry::WriteBinaryData(const String& Name, const void* Buffer, int BufSize) {
  PutValue(Name, HexText(Buffer, BufSize));
}

// =============================================================================================
// TRegIniFile

TRegIniFile::TRegIniFile(const String& FileName) : FFileName(FileName) {
  OpenKey(FileName, true);
}

TRegIniFile::~TRegIniFile() = default;

template <class F>
bool TRegIniFile::WithSection(const String& Section, bool Create, F Action) {
  if (Section.empty()) {
    Action();
    return true;
  }
  const String SavedPath = FCurrentPath;
  const bool SavedOpen = FKeyOpen, SavedReadOnly = FReadOnly;
  const auto Restore = [&] {
    FCurrentPath = SavedPath;
    FKeyOpen = SavedOpen;
    FReadOnly = SavedReadOnly;
  };
  if (!OpenKey(Section, Create)) return false;
  try {
    Action();
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
  return true;
}

String TRegIniFile::ReadString(const String& Section, const String& Ident,
                               const String& Default) {
  String Result = Default;
  WithSection(Section, false, [&] {
    if (ValueExists(Ident)) Result = ReadString(Ident);
  });
  return Result;
}

void TRegIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  WithSection(Section, true, [&] { WriteString(Ident, Value); });
}

Integer TRegIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
  Integer Result = Default;
  WithSection(Section, false, [&] {
    TValue Value;
    if (!FindValue(Ident, Value)) return;
    if (Value.Kind == TValue::vkInteger) Result = Value.Int;
    if (Value.Kind == TValue::vkString) Result = StrToIntDef(Value.Text, Default);
  });
  return Result;
}

void TRegIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TRegIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? u"1" : u"0");
}

void TRegIniFile::ReadSection(const String& Section, TStrings* Strings) {
  Strings->Clear();
  WithSection(Section, false, [&] { GetValueNames(Strings); });
}

void TRegIniFile::ReadSections(TStrings* Strings) { GetKeyNames(Strings); }

void TRegIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  std::vector<String> Lines;
  WithSection(Section, false, [&] {
    TStringList Names;
    GetValueNames(&Names);
    for (int I = 0; I < Names.Count(); ++I) {
      TValue Value;
      if (!FindValue(Names.Get(I), Value)) continue;
      if (Value.Kind == TValue::vkString) Lines.push_back(Names.Get(I) + u"=" + Value.Text);
      if (Value.Kind == TValue::vkInteger) Lines.push_back(Names.Get(I) + u"=" + IntToStr(Value.Int));
    }
  });
  FillStrings(Strings, Lines);
}

void TRegIniFile::EraseSection(const String& Section) { TRegistry::DeleteKey(Section); }

void TRegIniFile::DeleteKey(const String& Section, const String& Ident) {
  WithSection(Section, false, [&] { DeleteValue(Ident); });
}

// =============================================================================================
// TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const String& FileName)
    : TCustomIniFile(FileName), FRegIniFile(std::make_unique<TRegIniFile>(FileName)) {}

TRegistryIniFile::~TRegistryIniFile() = default;

String TRegistryIniFile::ReadString(const String& Section, const String& Ident,
                                    const String& Default) {
  return FRegIniFile->ReadString(Section, Ident, Default);
}

void TRegistryIniFile::WriteString(const String& Section, const String& Ident,
                                   const String& Value) {
  FRegIniFile->WriteString(Section, Ident, Value);
}

Integer TRegistryIniFile::ReadInteger(const String& Section, const String& Ident,
                                      Integer Default) {
  return FRegIniFile->ReadInteger(Section, Ident, Default);
}

void TRegistryIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  FRegIniFile->WriteInteger(Section, Ident, Value);
}

void TRegistryIniFile::ReadSection(const String& Section, TStrings* Strings) {
  FRegIniFile->ReadSection(Section, Strings);
}

void TRegistryIniFile::ReadSections(TStrings* Strings) { FRegIniFile->ReadSections(Strings); }

void TRegistryIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  FRegIniFile->ReadSectionValues(Section, Strings);
}

void TRegistryIniFile::EraseSection(const String& Section) { FRegIniFile->EraseSection(Section); }

void TRegistryIniFile::DeleteKey(const String& Section, const String& Ident) {
  FRegIniFile->DeleteKey(Section, Ident);
}

bool TRegistryIniFile::SectionExists(const String& Section) {
  return FRegIniFile->KeyExists(Section);
}

bool TRegistryIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList Names;
  FRegIniFile->ReadSection(Section, &Names);
  return Names.IndexOf(Ident) >= 0;
}

void TRegistryIniFile::UpdateFile() {}
