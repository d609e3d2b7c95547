// IniText.cpp - the line-by-line text of an ini file.
#include "platform/classes/IniText_p.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool HasLineBreak(const String& S) { return S.find_first_of(u"\r\n") != String::npos; }

bool SameName(const String& A, const String& B) { return AnsiSameText(A, B); }

void AddOnce(std::vector<String>& Names, const String& Name) {
  for (const String& N : Names)
    if (SameName(N, Name)) return;
  Names.push_back(Name);
}

}  // namespace

void CheckIniNames(const String& Section, const String& Ident) {
  if (HasLineBreak(Section))
    throw EIniFileException(u"Invalid section name \"" + Section + u"\"");
  const String Name = Trim(Ident);
  if (Name.empty() || Name != Ident || HasLineBreak(Ident) || Ident.find(u'=') != String::npos ||
      Ident[0] == u'[' || Ident[0] == u';' || Ident[0] == u'#')
    throw EIniFileException(u"Invalid key name \"" + Ident + u"\"");
}

TIniText::TLine TIniText::ParseLine(const String& Raw) {
  TLine Line;
  Line.Raw = Raw;
  const String Text = Trim(Raw);
  if (Text.empty() || Text[0] == u';' || Text[0] == u'#') return Line;
  if (Text[0] == u'[') {
    const std::size_t Close = Text.rfind(u']');
    Line.Kind = lkSection;
    Line.Name = Trim(Text.substr(1, Close == 0 ? String::npos : Close - 1));
    return Line;
  }
  const std::size_t Eq = Text.find(u'=');
  if (Eq == String::npos) return Line;
  Line.Kind = lkKey;
  Line.Name = Trim(Text.substr(0, Eq));
  Line.Value = Trim(Text.substr(Eq + 1));
  return Line;
}

void TIniText::Clear() { FLines.clear(); }

void TIniText::Parse(std::string_view Bytes) {
  const TDetectedText Found = DetectAndDecodeText(Bytes);
  FEncoding = Found.Encoding;
  FBom = Found.HasPreamble;
  const String& Text = Found.Text;
  const std::size_t FirstBreak = Text.find_first_of(u"\r\n");
  FLineBreak = FirstBreak != String::npos && Text.compare(FirstBreak, 2, u"\r\n") == 0 ? u"\r\n"
                                                                                      : u"\n";
  FLines.clear();
  std::size_t Pos = 0;
  while (Pos < Text.size()) {
    const std::size_t End = Text.find_first_of(u"\r\n", Pos);
    FLines.push_back(ParseLine(Text.substr(Pos, End == String::npos ? String::npos : End - Pos)));
    if (End == String::npos) break;
    Pos = End + 1;
    if (Text[End] == u'\r' && Pos < Text.size() && Text[Pos] == u'\n') ++Pos;
  }
}

std::string TIniText::Bytes() const {
  String Text;
  for (const TLine& Line : FLines) Text += Line.Raw + FLineBreak;
  return EncodeText(Text, FEncoding, FBom);
}

std::vector<String> TIniText::Lines() const {
  std::vector<String> R;
  R.reserve(FLines.size());
  for (const TLine& Line : FLines) R.push_back(Line.Raw);
  return R;
}

void TIniText::SetLines(const std::vector<String>& Lines) {
  FLines.clear();
  for (const String& Raw : Lines) FLines.push_back(ParseLine(Raw));
}

template <class F>
void TIniText::ForEachLineIn(const String& Section, F Visit) const {
  bool Inside = false;
  for (std::size_t I = 0; I < FLines.size(); ++I) {
    const TLine& Line = FLines[I];
    if (Line.Kind == lkSection) {
      Inside = SameName(Line.Name, Section);
      continue;
    }
    if (Inside && !Visit(static_cast<int>(I))) return;
  }
}

bool TIniText::SectionExists(const String& Section) const {
  return std::any_of(FLines.begin(), FLines.end(), [&](const TLine& Line) {
    return Line.Kind == lkSection && SameName(Line.Name, Section);
  });
}

int TIniText::FindKey(const String& Section, const String& Ident) const {
  int Found = -1;
  ForEachLineIn(Section, [&](int I) {
    if (FLines[I].Kind == lkKey && SameName(FLines[I].Name, Ident)) Found = I;
    return Found < 0;
  });
  return Found;
}

std::optional<String> TIniText::Read(const String& Section, const String& Ident) const {
  const int I = FindKey(Section, Ident);
  if (I < 0) return std::nullopt;
  return FLines[I].Value;
}

void TIniText::AddSection(const String& Section) {
  if (SectionExists(Section)) return;
  // A blank line keeps sections apart, as the file's own sections usually are.
  if (!FLines.empty() && !Trim(FLines.back().Raw).empty()) FLines.push_back(TLine{});
  FLines.push_back(ParseLine(u"[" + Section + u"]"));
}

void TIniText::Write(const String& Section, const String& Ident, const String& Value) {
  CheckIniNames(Section, Ident);
  if (HasLineBreak(Value))
    throw EIniFileException(u"The value of \"" + Ident + u"\" holds a line break");
  const int Existing = FindKey(Section, Ident);
  if (Existing >= 0) {
    // Keep the name and the spacing around '=' as written.
    TLine& Line = FLines[Existing];
    const std::size_t AfterEq = Line.Raw.find(u'=') + 1;
    const std::size_t ValueStart = Line.Raw.size() - TrimLeft(Line.Raw.substr(AfterEq)).size();
    Line.Raw = Line.Raw.substr(0, ValueStart) + Value;
    Line.Value = Trim(Value);
    return;
  }
  AddSection(Section);
  // After the last key of the section's first block, so that trailing comments and blank
  // lines stay at its end.
  std::size_t Header = 0;
  while (!(FLines[Header].Kind == lkSection && SameName(FLines[Header].Name, Section))) ++Header;
  std::size_t At = Header + 1;
  for (std::size_t I = Header + 1; I < FLines.size() && FLines[I].Kind != lkSection; ++I)
    if (FLines[I].Kind == lkKey) At = I + 1;
  FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(At), ParseLine(Ident + u"=" + Value));
}

bool TIniText::EraseSection(const String& Section) {
  bool Inside = false, Erased = false;
  std::vector<TLine> Kept;
  for (TLine& Line : FLines) {
    if (Line.Kind == lkSection) Inside = SameName(Line.Name, Section);
    if (Inside) {
      Erased = true;
      continue;
    }
    Kept.push_back(std::move(Line));
  }
  FLines.swap(Kept);
  return Erased;
}

bool TIniText::DeleteKey(const String& Section, const String& Ident) {
  bool Deleted = false;
  for (int I = FindKey(Section, Ident); I >= 0; I = FindKey(Section, Ident)) {
    FLines.erase(FLines.begin() + I);
    Deleted = true;
  }
  return Deleted;
}

std::vector<String> TIniText::Sections() const {
  std::vector<String> Names;
  for (const TLine& Line : FLines)
    if (Line.Kind == lkSection) AddOnce(Names, Line.Name);
  return Names;
}

std::vector<String> TIniText::Keys(const String& Section) const {
  std::vector<String> Names;
  ForEachLineIn(Section, [&](int I) {
    if (FLines[I].Kind == lkKey) AddOnce(Names, FLines[I].Name);
    return true;
  });
  return Names;
}

bool ReadFileBytes(const String& FileName, std::string& Bytes) {
  std::error_code Error;
  if (!std::filesystem::exists(StringToUtf8(FileName), Error)) return false;
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  Bytes.assign(static_cast<std::size_t>(File.Size()), '\0');
  File.ReadBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  return true;
}

void WriteFileBytes(const String& FileName, const std::string& Bytes) {
  const String Temporary = FileName + u".tmp" + IntToStr(::getpid());
  try {
    {
      TFileStream File(Temporary, fmCreate);
      File.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    }
    std::error_code Error;
    std::filesystem::rename(StringToUtf8(Temporary), StringToUtf8(FileName), Error);
    if (!Error) return;
  } catch (const EStreamError&) {
    // Reported below as the ini file's own error, naming the file rather than the temporary.
  }
  std::error_code Ignored;
  std::filesystem::remove(StringToUtf8(Temporary), Ignored);
  throw EIniFileException(u"Unable to write to " + FileName);
}

void FillStrings(TStrings* Strings, const std::vector<String>& Items) {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (const String& S : Items) Strings->Add(S);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}
