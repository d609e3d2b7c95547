// vqrUtils.cpp - numbers, text scanning, checksums and hex text, error box and temporary
// files. The parts that need the report's component tree are in vqrUtilsComponents.cpp.
#include "report/core/vqrUtils.h"

#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "report/core/vqrRes.h"

// --- Numbers --------------------------------------------------------------------------------

namespace {

// The plain texts the serializer writes (an optional minus, digits, at most one separator and
// digits, 19 digits at most) read without the general parser. The digits form an integer
// that a long double holds exactly, and so does the power of ten under it (below 5^27), so
// the one division rounds exactly as the general parser's correctly rounded reading does.
bool TryParsePlainFloat(std::u16string_view S, Extended& Value) {
  std::size_t I = 0;
  const bool Negative = !S.empty() && S[0] == u'-';
  if (Negative) ++I;
  std::uint64_t Mantissa = 0;
  int Digits = 0, IntegerDigits = 0, Scale = 0;
  bool SeenSeparator = false;
  for (; I < S.size(); ++I) {
    const Char C = S[I];
    if (C >= u'0' && C <= u'9') {
      if (++Digits > 19) return false;
      Mantissa = Mantissa * 10 + static_cast<unsigned>(C - u'0');
      if (SeenSeparator) ++Scale; else ++IntegerDigits;
    } else if ((C == u'.' || C == u',') && !SeenSeparator) {
      SeenSeparator = true;
    } else {
      return false;
    }
  }
  if (IntegerDigits == 0 || (SeenSeparator && Scale == 0)) return false;
  static constexpr Extended kPowers[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                         1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                         1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L};
  const Extended Magnitude = static_cast<Extended>(Mantissa) / kPowers[Scale];
  Value = Negative ? -Magnitude : Magnitude;
  return true;
}

}  // namespace

Extended ParseFloatText(std::u16string_view S) {
  if (Extended Value = 0; TryParsePlainFloat(S, Value)) return Value;
  String Text;
  Text.reserve(S.size());
  for (Char C : S) {
    if (C == u' ') continue;
    Text += (C == u'.' || C == u',') ? FormatSettings.DecimalSeparator : C;
  }
  return StrToFloat(Text);
}

String FormatFloatText(Extended X) {
  if (X != std::trunc(X)) return Format(u"%2.2f", {X});
  return FloatToStr(X);
}

namespace {

// Adds one to a string of decimal digits.
void IncrementDigits(std::string& Digits) {
  for (std::size_t I = Digits.size(); I-- > 0;) {
    if (Digits[I] != '9') {
      ++Digits[I];
      return;
    }
    Digits[I] = '0';
  }
  Digits.insert(Digits.begin(), '1');
}

}  // namespace

String FloatToFixedText(int Digits, Char Separator, Extended X) {
  Digits = std::clamp(Digits, 0, 18);
  if (!std::isfinite(X) || std::fabs(X) >= 1e18L) return FloatToStr(X);
  // The value's 18 significant digits: d.ddddddddddddddddde+XX.
  char Buf[64];
  std::snprintf(Buf, sizeof Buf, "%.17Le", std::fabs(X));
  std::string Mantissa = std::string(1, Buf[0]) + std::string(Buf + 2, 17);
  int Exponent = std::atoi(std::strchr(Buf, 'e') + 1);
  // Kept = the value in units of 10^-Digits, rounded half away from zero.
  int Pos = Exponent + 1 + Digits;
  std::string Kept;
  if (Pos > 18) {
    Kept = Mantissa + std::string(static_cast<std::size_t>(Pos - 18), '0');
  } else if (Pos > 0) {
    Kept = Mantissa.substr(0, static_cast<std::size_t>(Pos));
    if (Pos < 18 && Mantissa[static_cast<std::size_t>(Pos)] >= '5') IncrementDigits(Kept);
  } else {
    Kept.assign(1, Pos == 0 && Mantissa[0] >= '5' ? '1' : '0');
  }
  if (Kept.size() < static_cast<std::size_t>(Digits) + 1)
    Kept.insert(0, static_cast<std::size_t>(Digits) + 1 - Kept.size(), '0');
  std::string IntPart = Kept.substr(0, Kept.size() - static_cast<std::size_t>(Digits));
  std::string Fraction = Kept.substr(IntPart.size());
  IntPart.erase(0, std::min(IntPart.find_first_not_of('0'), IntPart.size() - 1));
  bool IsZero = Kept.find_first_not_of('0') == std::string::npos;
  String Out = X < 0 && !IsZero ? u"-" : u"";
  Out += Utf8ToString(IntPart);
  if (Digits > 0) {
    Out += Separator;
    Out += Utf8ToString(Fraction);
  }
  return Out;
}

// --- Text -----------------------------------------------------------------------------------

void SplitTextToList(const String& Text, TStrings* List, Char Separator) {
  List->Clear();
  std::size_t Start = 0;
  while (Start < Text.size()) {
    std::size_t End = Text.find(Separator, Start);
    if (End == String::npos) End = Text.size();
    List->Add(Text.substr(Start, End - Start));
    Start = End + 1;
  }
}

String ExtractBracketedText(const String& Text, const String& Open, const String& Close,
                            int& Start, int& EndPos) {
  EndPos = Start;
  const int Len = static_cast<int>(Text.size());
  if (Text.empty() || Start > Len || Start < 1) return {};
  auto At = [&](int Pos, const String& What) {
    return Text.compare(static_cast<std::size_t>(Pos - 1), What.size(), What) == 0;
  };
  int Level = 0;
  bool InDouble = false, InSingle = false;
  for (EndPos = Start; EndPos <= Len; ++EndPos) {
    if (!InDouble && !InSingle) {
      if (At(EndPos, Open)) {
        if (Level == 0) Start = EndPos;
        ++Level;
      } else if (At(EndPos, Close)) {
        --Level;
      }
    }
    Char C = Text[static_cast<std::size_t>(EndPos - 1)];
    if (!InSingle && C == u'"') InDouble = !InDouble;
    if (!InDouble && C == u'\'') InSingle = !InSingle;
    if (Level == 0) break;
  }
  if (EndPos > Len) EndPos = Len;
  int Count = EndPos - Start - static_cast<int>(Open.size());
  String Result = Count > 0 ? Text.substr(static_cast<std::size_t>(Start - 1 + Open.size()),
                                          static_cast<std::size_t>(Count))
                            : String();
  if (Start != EndPos) EndPos += static_cast<int>(Close.size()) - 1;
  return Result;
}

String ReplaceCharInText(const String& Text, Char From, Char To) {
  String Out = Text;
  for (Char& C : Out)
    if (C == From) C = To;
  return Out;
}

String SlashesToBackslashes(const String& Text) { return ReplaceCharInText(Text, u'/', u'\\'); }

void ParsePageRanges(const String& Text, TStrings* List, int LastPage) {
  List->Clear();
  String S;
  for (Char C : Text)
    if (C != u' ') S += C;
  if (S.empty()) return;
  if (S.back() == u'-') S += IntToStr(LastPage);
  S += u',';
  String Number;
  bool InRange = false;
  int RangeStart = 0;
  for (Char C : S) {
    if (C == u'-') {
      RangeStart = StrToInt(Number);
      InRange = true;
      Number.clear();
    } else if (C == u',') {
      int Value = StrToInt(Number);
      Number.clear();
      if (!InRange) {
        List->Add(IntToStr(Value));
        continue;
      }
      // A range never runs past the last page: a typed 1-2000000000 must not build two
      // billion entries; the pages past the end would be skipped anyway.
      int End = std::min(Value, LastPage);
      for (int Page = RangeStart; Page <= End; ++Page) List->Add(IntToStr(Page));
      InRange = false;
    } else {
      Number += C;
    }
  }
}

// --- Binary ---------------------------------------------------------------------------------

namespace {

const std::array<Cardinal, 256>& CrcTable() {
  static const std::array<Cardinal, 256> Table = [] {
    std::array<Cardinal, 256> T{};
    for (Cardinal N = 0; N < 256; ++N) {
      Cardinal C = N;
      for (int K = 0; K < 8; ++K) C = C & 1 ? 0xEDB88320u ^ (C >> 1) : C >> 1;
      T[N] = C;
    }
    return T;
  }();
  return Table;
}

int HexDigit(Char C) {
  if (C >= u'0' && C <= u'9') return C - u'0';
  if (C >= u'a' && C <= u'f') return C - u'a' + 10;
  if (C >= u'A' && C <= u'F') return C - u'A' + 10;
  return -1;
}

std::vector<Byte> WholeStream(TStream* Stream) {
  Int64 Saved = Stream->Position();
  std::vector<Byte> Bytes(static_cast<std::size_t>(Stream->Size()));
  Stream->SetPosition(0);
  Int64 Got = Stream->Read(Bytes.data(), static_cast<Int64>(Bytes.size()));
  Bytes.resize(static_cast<std::size_t>(std::max<Int64>(Got, 0)));
  Stream->SetPosition(Saved);
  return Bytes;
}

}  // namespace

Cardinal ComputeStreamChecksum(TStream* Stream) {
  Cardinal Crc = 0xFFFFFFFFu;
  for (Byte B : WholeStream(Stream)) Crc = CrcTable()[(Crc ^ B) & 0xFF] ^ (Crc >> 8);
  return Crc ^ 0xFFFFFFFFu;
}

std::string BytesToHex(const void* Data, std::size_t Count, bool LowerCase) {
  const char* Digits = LowerCase ? "0123456789abcdef" : "0123456789ABCDEF";
  const auto* Bytes = static_cast<const Byte*>(Data);
  std::string Hex;
  Hex.reserve(Count * 2);
  for (std::size_t I = 0; I < Count; ++I) {
    Hex += Digits[Bytes[I] >> 4];
    Hex += Digits[Bytes[I] & 15];
  }
  return Hex;
}

std::vector<Byte> HexToBytes(std::u16string_view Text) {
  std::vector<Byte> Bytes;
  Bytes.reserve(Text.size() / 2);
  for (std::size_t I = 0; I + 1 < Text.size(); I += 2) {
    int High = HexDigit(Text[I]), Low = HexDigit(Text[I + 1]);
    if (High < 0 || Low < 0) break;
    Bytes.push_back(static_cast<Byte>(High * 16 + Low));
  }
  return Bytes;
}

String StreamToHexText(TStream* Stream) {
  const std::vector<Byte> Bytes = WholeStream(Stream);
  const std::string Hex = BytesToHex(Bytes.data(), Bytes.size());
  return String(Hex.begin(), Hex.end());  // hex digits are ASCII
}

void HexTextToStream(const String& Text, TStream* Stream) {
  const std::vector<Byte> Bytes = HexToBytes(Text);
  // Only the converted bytes are written and the stream ends after them: nothing
  // unconverted or left over from before stays behind.
  Stream->SetPosition(0);
  if (!Bytes.empty()) Stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
  Stream->SetSize(static_cast<Int64>(Bytes.size()));
}

// --- Errors ---------------------------------------------------------------------------------

namespace {

TvqrErrorBoxHandler& ErrorBoxHandler() {
  static TvqrErrorBoxHandler Handler;
  return Handler;
}

}  // namespace

void SetErrorBoxHandler(const TvqrErrorBoxHandler& Handler) { ErrorBoxHandler() = Handler; }

void ShowErrorBox(const String& Text) {
  String Caption = StringTable()->Get(u"mbError");
  if (ErrorBoxHandler()) return ErrorBoxHandler()(Caption, Text);
  // Without a window system to ask, the message goes to the error output.
  std::cerr << ToUtf8(Caption) << ": " << ToUtf8(Text) << '\n';
}

// --- Files ----------------------------------------------------------------------------------

String ModuleFileName() {
  std::error_code Error;
  auto Path = std::filesystem::read_symlink("/proc/self/exe", Error);
  return Error ? String() : Utf8ToString(Path.string());
}

String ModuleFolder() { return IncludeTrailingPathDelimiter(ExtractFileDir(ModuleFileName())); }

String SystemTempPath() { return GetTempDir(); }

String NewTempFileName() { return NewTempFileNameIn({}); }

String NewTempFileNameIn(const String& Dir) {
  String Folder = Dir.empty() ? SystemTempPath() : IncludeTrailingPathDelimiter(Dir);
  std::string Template = StringToUtf8(Folder) + "vqXXXXXX";
  int Handle = mkstemp(Template.data());
  // As the system call it stands for, no error is raised when the file cannot be made; the
  // name then says where it would have been.
  if (Handle >= 0) close(Handle);
  return Utf8ToString(Template);
}
