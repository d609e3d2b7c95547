// CodePage.cpp - 8-bit code pages through iconv.
#include "platform/rtl/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "platform/rtl/Exceptions.h"

namespace {

const char* IconvName(unsigned CodePage) {
  switch (CodePage) {
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 866: return "CP866";
    case 10007: return "MAC-CYRILLIC";
    case 20866: return "KOI8-R";
    case 28591: return "ISO-8859-1";
    case 65001: return "UTF-8";
    default: return nullptr;
  }
}

[[noreturn]] void RaiseUnsupported(unsigned CodePage) {
  throw EConvertError(u"Code page " + Utf8ToString(std::to_string(CodePage)) + u" is not supported");
}

// One iconv descriptor for the life of a conversion.
class TIconv {
public:
  TIconv(const char* To, const char* From) : FHandle(iconv_open(To, From)) {}
  ~TIconv() {
    if (Valid()) iconv_close(FHandle);
  }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }
  iconv_t Handle() const { return FHandle; }

private:
  iconv_t FHandle;
};

// Converts one unit (a byte or a UTF-16 character) that iconv refused alone, so a bad unit
// costs one replacement and not the rest of the text.
std::size_t Convert(TIconv& Cd, const char* In, std::size_t InLength, std::string& Out,
                    std::size_t UnitSize, const std::string& Replacement) {
  std::size_t Failures = 0;
  char* InPtr = const_cast<char*>(In);
  std::size_t InLeft = InLength;
  char Buffer[1024];
  while (InLeft > 0) {
    char* OutPtr = Buffer;
    std::size_t OutLeft = sizeof Buffer;
    const std::size_t Result = iconv(Cd.Handle(), &InPtr, &InLeft, &OutPtr, &OutLeft);
    Out.append(Buffer, OutPtr - Buffer);
    if (Result != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: skip one unit (a surrogate pair counts as one character).
    ++Failures;
    Out += Replacement;
    std::size_t Skip = std::min(UnitSize, InLeft);
    if (UnitSize == 2 && InLeft >= 4) {
      const unsigned char Hi = static_cast<unsigned char>(InPtr[1]);
      if (Hi >= 0xD8 && Hi <= 0xDB) Skip = 4;
    }
    InPtr += Skip;
    InLeft -= Skip;
    iconv(Cd.Handle(), nullptr, nullptr, nullptr, nullptr);
  }
  return Failures;
}

// Every supported code page maps 0x00-0x7F to the same characters, so ASCII text needs no
// conversion.
bool IsAscii(std::string_view Bytes) {
  for (char C : Bytes)
    if (static_cast<unsigned char>(C) >= 0x80) return false;
  return true;
}

bool IsAscii(std::u16string_view Text) {
  for (Char C : Text)
    if (C >= 0x80) return false;
  return true;
}

}  // namespace

unsigned GetACP() { return CP_ACP_1251; }

unsigned GetOEMCP() { return CP_OEM_866; }

bool IsCodePageSupported(unsigned CodePage) { return IconvName(CodePage) != nullptr; }

String CodePageToString(std::string_view Bytes, unsigned CodePage) {
  const char* Name = IconvName(CodePage);
  if (!Name) RaiseUnsupported(CodePage);
  if (IsAscii(Bytes)) return String(Bytes.begin(), Bytes.end());
  if (CodePage == CP_UTF8_65001) return Utf8ToString(Bytes);
  TIconv Cd("UTF-16LE", Name);
  if (!Cd.Valid()) RaiseUnsupported(CodePage);
  std::string Utf16;
  Convert(Cd, Bytes.data(), Bytes.size(), Utf16, 1, std::string("\xFD\xFF", 2));
  String Out(Utf16.size() / 2, u'\0');
  for (std::size_t I = 0; I < Out.size(); ++I)
    Out[I] = static_cast<Char>(static_cast<unsigned char>(Utf16[2 * I]) |
                               (static_cast<unsigned char>(Utf16[2 * I + 1]) << 8));
  return Out;
}

namespace {

std::size_t FromString(std::u16string_view Text, unsigned CodePage, std::string& Bytes) {
  const char* Name = IconvName(CodePage);
  if (!Name) RaiseUnsupported(CodePage);
  if (IsAscii(Text)) {
    Bytes.assign(Text.begin(), Text.end());
    return 0;
  }
  std::string Utf16;
  Utf16.reserve(Text.size() * 2);
  for (Char C : Text) {
    Utf16.push_back(static_cast<char>(C & 0xFF));
    Utf16.push_back(static_cast<char>(C >> 8));
  }
  TIconv Cd(Name, "UTF-16LE");
  if (!Cd.Valid()) RaiseUnsupported(CodePage);
  Bytes.clear();
  return Convert(Cd, Utf16.data(), Utf16.size(), Bytes, 2, "?");
}

}  // namespace

std::string StringToCodePage(std::u16string_view Text, unsigned CodePage) {
  if (CodePage == CP_UTF8_65001) return StringToUtf8(Text);
  std::string Bytes;
  FromString(Text, CodePage, Bytes);
  return Bytes;
}

bool TryStringToCodePage(std::u16string_view Text, unsigned CodePage, std::string& Bytes) {
  std::string Result;
  if (FromString(Text, CodePage, Result) != 0) return false;
  Bytes = std::move(Result);
  return true;
}

String AnsiToString(std::string_view Bytes) { return CodePageToString(Bytes, CP_ACP_1251); }

std::string StringToAnsi(std::u16string_view Text) { return StringToCodePage(Text, CP_ACP_1251); }
