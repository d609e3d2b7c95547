// IniFiles.cpp - TCustomIniFile's typed values, TMemIniFile and TIniFile.
#include "platform/classes/IniFiles.h"

#include <algorithm>

#include "platform/classes/IniText_p.h"
#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TCustomIniFile) {}
REGISTER_CLASS(TMemIniFile) {}
REGISTER_CLASS(TIniFile) {}

namespace {

// Numbers, dates and times are written in one form whatever the user's settings.
const TFormatSettings& IniSettings() {
  static const TFormatSettings Settings = TFormatSettings::Invariant();
  return Settings;
}

// Reads N digits at S[Pos]; false when there are not that many.
bool ReadDigits(const String& S, std::size_t& Pos, int N, Word& Value) {
  Value = 0;
  for (int I = 0; I < N; ++I, ++Pos) {
    if (Pos >= S.size() || S[Pos] < u'0' || S[Pos] > u'9') return false;
    Value = static_cast<Word>(Value * 10 + (S[Pos] - u'0'));
  }
  return true;
}

bool Expect(const String& S, std::size_t& Pos, Char C) { return Pos < S.size() && S[Pos++] == C; }

// "yyyy-mm-dd", optionally followed by " hh:nn" or " hh:nn:ss".
bool TryIsoDateTime(const String& S, TDateTime& Value) {
  std::size_t Pos = 0;
  Word Year, Month, Day, Hour = 0, Min = 0, Sec = 0;
  if (!ReadDigits(S, Pos, 4, Year) || !Expect(S, Pos, u'-') || !ReadDigits(S, Pos, 2, Month) ||
      !Expect(S, Pos, u'-') || !ReadDigits(S, Pos, 2, Day))
    return false;
  if (Pos < S.size()) {
    if (!Expect(S, Pos, u' ') || !ReadDigits(S, Pos, 2, Hour) || !Expect(S, Pos, u':') ||
        !ReadDigits(S, Pos, 2, Min))
      return false;
    if (Pos < S.size() && (!Expect(S, Pos, u':') || !ReadDigits(S, Pos, 2, Sec))) return false;
    if (Pos != S.size()) return false;
  }
  TDateTime Date, Time;
  if (!TryEncodeDate(Year, Month, Day, Date) || !TryEncodeTime(Hour, Min, Sec, 0, Time))
    return false;
  Value = ComposeDateTime(Date, Time);
  return true;
}

}  // namespace

// =============================================================================================
// TCustomIniFile

TCustomIniFile::TCustomIniFile(const String& FileName) : FFileName(FileName) {}

TCustomIniFile::~TCustomIniFile() = default;

bool TCustomIniFile::SectionExists(const String& Section) {
  TStringList Keys;
  ReadSection(Section, &Keys);
  return Keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList Keys;
  ReadSection(Section, &Keys);
  return Keys.IndexOf(Ident) >= 0;
}

Integer TCustomIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
  return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? u"1" : u"0");
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default) {
  const String S = ReadString(Section, Ident, String());
  double Value = 0;
  if (TryStrToFloat(S, Value, IniSettings()) || TryStrToFloat(S, Value))
    return Value;
  return Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value, IniSettings()));
}

TDateTime TCustomIniFile::ReadDate(const String& Section, const String& Ident,
                                   TDateTime Default) {
  const String S = Trim(ReadString(Section, Ident, String()));
  TDateTime Value = 0;
  if (TryIsoDateTime(S, Value) || TryStrToDate(S, Value)) return Value;
  return Default;
}

void TCustomIniFile::WriteDate(const String& Section, const String& Ident, TDateTime Value) {
  WriteString(Section, Ident, FormatDateTime(u"yyyy-mm-dd", Value, IniSettings()));
}

TDateTime TCustomIniFile::ReadDateTime(const String& Section, const String& Ident,
                                       TDateTime Default) {
  const String S = Trim(ReadString(Section, Ident, String()));
  TDateTime Value = 0;
  if (TryIsoDateTime(S, Value) || TryStrToDateTime(S, Value)) return Value;
  return Default;
}

void TCustomIniFile::WriteDateTime(const String& Section, const String& Ident, TDateTime Value) {
  WriteString(Section, Ident, FormatDateTime(u"yyyy-mm-dd hh:nn:ss", Value, IniSettings()));
}

TDateTime TCustomIniFile::ReadTime(const String& Section, const String& Ident, TDateTime Default) {
  const String S = Trim(ReadString(Section, Ident, String()));
  TDateTime Value = 0;
  if (TryStrToTime(S, Value, IniSettings()) || TryStrToTime(S, Value)) return Value;
  return Default;
}

void TCustomIniFile::WriteTime(const String& Section, const String& Ident, TDateTime Value) {
  WriteString(Section, Ident, FormatDateTime(u"hh:nn:ss", Value, IniSettings()));
}

int TCustomIniFile::ReadBinaryStream(const String& Section, const String& Ident, TStream* Value) {
  const String Hex = Trim(ReadString(Section, Ident, String()));
  if (Hex.size() % 2) return 0;
  std::string Bytes(Hex.size() / 2, '\0');
  auto Digit = [](Char C) {
    if (C >= u'0' && C <= u'9') return C - u'0';
    if (C >= u'A' && C <= u'F') return C - u'A' + 10;
    if (C >= u'a' && C <= u'f') return C - u'a' + 10;
    return -1;
  };
  for (std::size_t I = 0; I < Bytes.size(); ++I) {
    const int Hi = Digit(Hex[2 * I]), Lo = Digit(Hex[2 * I + 1]);
    if (Hi < 0 || Lo < 0) return 0;
    Bytes[I] = static_cast<char>(Hi * 16 + Lo);
  }
  if (Value) Value->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  return static_cast<int>(Bytes.size());
}

void TCustomIniFile::WriteBinaryStream(const String& Section, const String& Ident, TStream* Value) {
  static const char16_t Digits[] = u"0123456789ABCDEF";
  String Hex;
  if (Value) {
    std::string Bytes(static_cast<std::size_t>(std::max<Int64>(0, Value->Size() - Value->Position())), '\0');
    Bytes.resize(static_cast<std::size_t>(Value->Read(Bytes.data(), static_cast<Int64>(Bytes.size()))));
    for (unsigned char B : Bytes) {
      Hex += Digits[B >> 4];
      Hex += Digits[B & 15];
    }
  }
  WriteString(Section, Ident, Hex);
}

// =============================================================================================
// TMemIniFile

TMemIniFile::TMemIniFile(const String& FileName)
    : TCustomIniFile(FileName), FText(std::make_unique<TIniText>()) {
  Reload();
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::Reload() {
  std::string Bytes;
  if (ReadFileBytes(FileName(), Bytes))
    FText->Parse(Bytes);
  else
    FText->Clear();
}

void TMemIniFile::Clear() { FText->Clear(); }

void TMemIniFile::GetStrings(TStrings* List) { FillStrings(List, FText->Lines()); }

void TMemIniFile::SetStrings(TStrings* List) {
  std::vector<String> Lines;
  for (int I = 0; I < List->Count(); ++I) Lines.push_back(List->Strings(I));
  FText->SetLines(Lines);
}

String TMemIniFile::ReadString(const String& Section, const String& Ident,
                               const String& Default) {
  return FText->Read(Section, Ident).value_or(Default);
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  FText->Write(Section, Ident, Value);
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) {
  FillStrings(Strings, FText->Keys(Section));
}

void TMemIniFile::ReadSections(TStrings* Strings) { FillStrings(Strings, FText->Sections()); }

void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  std::vector<String> Lines;
  for (const String& Key : FText->Keys(Section))
    Lines.push_back(Key + u"=" + FText->Read(Section, Key).value_or(String()));
  FillStrings(Strings, Lines);
}

void TMemIniFile::EraseSection(const String& Section) { FText->EraseSection(Section); }

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
  FText->DeleteKey(Section, Ident);
}

bool TMemIniFile::SectionExists(const String& Section) { return FText->SectionExists(Section); }

bool TMemIniFile::ValueExists(const String& Section, const String& Ident) {
  return FText->Read(Section, Ident).has_value();
}

void TMemIniFile::UpdateFile() { WriteFileBytes(FileName(), FText->Bytes()); }

// =============================================================================================
// TIniFile

TIniFile::TIniFile(const String& FileName)
    : TCustomIniFile(FileName), FFile(std::make_unique<TMemIniFile>(FileName)) {}

TIniFile::~TIniFile() = default;

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  FFile->Reload();
  return FFile->ReadString(Section, Ident, Default);
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  FFile->Reload();
  FFile->WriteString(Section, Ident, Value);
  FFile->UpdateFile();
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) {
  FFile->Reload();
  FFile->ReadSection(Section, Strings);
}

void TIniFile::ReadSections(TStrings* Strings) {
  FFile->Reload();
  FFile->ReadSections(Strings);
}

void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  FFile->Reload();
  FFile->ReadSectionValues(Section, Strings);
}

void TIniFile::EraseSection(const String& Section) {
  FFile->Reload();
  if (!FFile->SectionExists(Section)) return;
  FFile->EraseSection(Section);
  FFile->UpdateFile();
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  FFile->Reload();
  if (!FFile->ValueExists(Section, Ident)) return;
  FFile->DeleteKey(Section, Ident);
  FFile->UpdateFile();
}

bool TIniFile::SectionExists(const String& Section) {
  FFile->Reload();
  return FFile->SectionExists(Section);
}

bool TIniFile::ValueExists(const String& Section, const String& Ident) {
  FFile->Reload();
  return FFile->ValueExists(Section, Ident);
}

void TIniFile::UpdateFile() {}
