// SysUtilsStr.cpp - integers and Booleans as text, string routines, case and comparison.
#include "platform/rtl/SysUtils.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/uiter.h>
#include <unicode/ustring.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

#include "platform/rtl/SysUtils_p.h"

// ---- Shared helpers ----------------------------------------------------------------------

void RaiseConvertError(std::u16string_view Template, std::u16string_view Arg) {
  String Message(Template);
  const std::size_t At = Message.find(u"%s");
  if (At != String::npos) Message.replace(At, 2, Arg);
  throw EConvertError(Message);
}

std::u16string_view TrimView(std::u16string_view S) {
  std::size_t Begin = 0;
  std::size_t End = S.size();
  while (Begin < End && IsBlank(S[Begin])) ++Begin;
  while (End > Begin && IsBlank(S[End - 1])) --End;
  return S.substr(Begin, End - Begin);
}

String AsciiToString(std::string_view Ascii) { return String(Ascii.begin(), Ascii.end()); }

// ---- Integers ----------------------------------------------------------------------------

String IntToStr(Int64 Value) { return AsciiToString(std::to_string(Value)); }

String UIntToStr(UInt64 Value) { return AsciiToString(std::to_string(Value)); }

String IntToHex(Int64 Value, int Digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  UInt64 Bits = static_cast<UInt64>(Value);
  String Out;
  do {
    Out.insert(Out.begin(), static_cast<Char>(kHex[Bits & 15]));
    Bits >>= 4;
  } while (Bits != 0);
  if (Digits > static_cast<int>(Out.size())) Out.insert(0, Digits - Out.size(), u'0');
  return Out;
}

namespace {

// Leading blanks, a sign, then decimal digits or hex after "$", "0x" or "0X"; the whole text.
bool ParseInt64(const String& S, Int64 Min, Int64 Max, Int64& Value) {
  std::size_t I = 0;
  while (I < S.size() && IsBlank(S[I])) ++I;
  bool Negative = false;
  if (I < S.size() && (S[I] == u'+' || S[I] == u'-')) Negative = S[I++] == u'-';
  unsigned Base = 10;
  if (I < S.size() && S[I] == u'$') { Base = 16; ++I; }
  else if (I + 1 < S.size() && S[I] == u'0' && (S[I + 1] == u'x' || S[I + 1] == u'X')) { Base = 16; I += 2; }
  if (I == S.size()) return false;
  const UInt64 TypeMax = Max == INT32_MAX ? 0xFFFFFFFFull : UINT64_MAX;
  UInt64 Magnitude = 0;
  for (; I < S.size(); ++I) {
    const Char C = S[I];
    unsigned Digit;
    if (C >= u'0' && C <= u'9') Digit = C - u'0';
    else if (Base == 16 && C >= u'a' && C <= u'f') Digit = C - u'a' + 10;
    else if (Base == 16 && C >= u'A' && C <= u'F') Digit = C - u'A' + 10;
    else return false;
    if (Magnitude > (TypeMax - Digit) / Base) return false;
    Magnitude = Magnitude * Base + Digit;
  }
  if (Negative) {
    if (Magnitude > 0 - static_cast<UInt64>(Min)) return false;
    Value = static_cast<Int64>(0 - Magnitude);
    return true;
  }
  if (Magnitude > static_cast<UInt64>(Max)) {
    // Hex may give the whole bit pattern: "$FFFFFFFF" is -1 as an Integer.
    if (Base != 16) return false;
    Value = Max == INT32_MAX ? static_cast<std::int32_t>(Magnitude) : static_cast<Int64>(Magnitude);
    return true;
  }
  Value = static_cast<Int64>(Magnitude);
  return true;
}

}  // namespace

bool TryStrToInt64(const String& S, Int64& Value) { return ParseInt64(S, INT64_MIN, INT64_MAX, Value); }

bool TryStrToInt(const String& S, Integer& Value) {
  Int64 Wide = 0;
  if (!ParseInt64(S, INT32_MIN, INT32_MAX, Wide)) return false;
  Value = static_cast<Integer>(Wide);
  return true;
}

Integer StrToInt(const String& S) {
  Integer Value = 0;
  if (!TryStrToInt(S, Value)) RaiseConvertError(u"'%s' is not a valid integer value", S);
  return Value;
}

Int64 StrToInt64(const String& S) {
  Int64 Value = 0;
  if (!TryStrToInt64(S, Value)) RaiseConvertError(u"'%s' is not a valid integer value", S);
  return Value;
}

Integer StrToIntDef(const String& S, Integer Default) {
  Integer Value = 0;
  return TryStrToInt(S, Value) ? Value : Default;
}

Int64 StrToInt64Def(const String& S, Int64 Default) {
  Int64 Value = 0;
  return TryStrToInt64(S, Value) ? Value : Default;
}

// ---- Booleans ----------------------------------------------------------------------------

String BoolToStr(bool Value, bool UseBoolStrs) {
  if (UseBoolStrs) return Value ? u"True" : u"False";
  return Value ? u"-1" : u"0";
}

bool TryStrToBool(const String& S, bool& Value) {
  const String Trimmed(TrimView(S));
  if (SameText(Trimmed, u"True")) { Value = true; return true; }
  if (SameText(Trimmed, u"False")) { Value = false; return true; }
  Extended Number = 0;
  if (!TryStrToFloat(Trimmed, Number)) return false;
  Value = Number != 0;
  return true;
}

bool StrToBool(const String& S) {
  bool Value = false;
  if (!TryStrToBool(S, Value)) RaiseConvertError(u"'%s' is not a valid boolean value", S);
  return Value;
}

bool StrToBoolDef(const String& S, bool Default) {
  bool Value = false;
  return TryStrToBool(S, Value) ? Value : Default;
}

// ---- Trimming, positions, pieces ---------------------------------------------------------

String Trim(const String& S) { return String(TrimView(S)); }

String TrimLeft(const String& S) {
  std::size_t Begin = 0;
  while (Begin < S.size() && IsBlank(S[Begin])) ++Begin;
  return S.substr(Begin);
}

String TrimRight(const String& S) {
  std::size_t End = S.size();
  while (End > 0 && IsBlank(S[End - 1])) --End;
  return S.substr(0, End);
}

int Pos(std::u16string_view SubStr, std::u16string_view S, int Offset) {
  if (SubStr.empty() || Offset < 1 || Offset > static_cast<int>(S.size())) return 0;
  const std::size_t At = S.find(SubStr, Offset - 1);
  return At == std::u16string_view::npos ? 0 : static_cast<int>(At) + 1;
}

String Copy(const String& S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || Index > static_cast<int>(S.size())) return String();
  return S.substr(Index - 1, Count);
}

void Delete(String& S, int Index, int Count) {
  if (Index < 1 || Index > static_cast<int>(S.size()) || Count <= 0) return;
  S.erase(Index - 1, Count);
}

void Insert(const String& Source, String& S, int Index) {
  if (Index < 1) Index = 1;
  if (Index > static_cast<int>(S.size()) + 1) Index = static_cast<int>(S.size()) + 1;
  S.insert(Index - 1, Source);
}

String StringOfChar(Char Ch, int Count) { return Count > 0 ? String(Count, Ch) : String(); }

String DupeString(const String& S, int Count) {
  String Out;
  for (int I = 0; I < Count; ++I) Out += S;
  return Out;
}

String LeftStr(const String& S, int Count) { return Count > 0 ? S.substr(0, Count) : String(); }

String RightStr(const String& S, int Count) {
  if (Count <= 0) return String();
  return Count >= static_cast<int>(S.size()) ? S : S.substr(S.size() - Count);
}

int LastDelimiter(std::u16string_view Delimiters, std::u16string_view S) {
  const std::size_t At = S.find_last_of(Delimiters);
  return At == std::u16string_view::npos ? 0 : static_cast<int>(At) + 1;
}

// ---- Replacing and quoting ---------------------------------------------------------------

namespace {

// One-to-one case folding, so that positions in the folded text match the original.
String FoldCase(const String& S) {
  String Out(S);
  for (Char& C : Out) {
    if (C < 0xD800 || C > 0xDFFF) C = static_cast<Char>(u_foldCase(C, U_FOLD_CASE_DEFAULT));
  }
  return Out;
}

}  // namespace

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  const bool IgnoreCase = Flags.Contains(rfIgnoreCase);
  const String Haystack = IgnoreCase ? FoldCase(S) : S;
  const String Needle = IgnoreCase ? FoldCase(OldPattern) : OldPattern;
  String Out;
  std::size_t From = 0;
  while (true) {
    const std::size_t At = Haystack.find(Needle, From);
    if (At == String::npos) break;
    Out.append(S, From, At - From);
    Out += NewPattern;
    From = At + Needle.size();
    if (!Flags.Contains(rfReplaceAll)) break;
  }
  Out.append(S, From, String::npos);
  return Out;
}

String AnsiQuotedStr(const String& S, Char Quote) {
  String Out(1, Quote);
  for (Char C : S) {
    Out.push_back(C);
    if (C == Quote) Out.push_back(C);
  }
  Out.push_back(Quote);
  return Out;
}

String QuotedStr(const String& S) { return AnsiQuotedStr(S, u'\''); }

String AnsiExtractQuotedStr(const Char*& Src, Char Quote) {
  if (Src == nullptr || *Src != Quote) return String();
  String Out;
  ++Src;
  while (*Src != 0) {
    if (*Src == Quote) {
      if (Src[1] != Quote) {
        ++Src;
        return Out;
      }
      ++Src;  // a doubled quote stands for one
    }
    Out.push_back(*Src++);
  }
  return Out;
}

String AnsiDequotedStr(const String& S, Char Quote) {
  const Char* P = S.c_str();
  const String Unquoted = AnsiExtractQuotedStr(P, Quote);
  // Not quoted, or not closed at the very end: the text is given back as it is.
  if (S.empty() || S[0] != Quote || P != S.c_str() + S.size() || S.size() < 2 ||
      S.back() != Quote)
    return S;
  return Unquoted;
}

// ---- Case --------------------------------------------------------------------------------

String UpperCase(const String& S) {
  String Out(S);
  for (Char& C : Out)
    if (C >= u'a' && C <= u'z') C -= 32;
  return Out;
}

String LowerCase(const String& S) {
  String Out(S);
  for (Char& C : Out)
    if (C >= u'A' && C <= u'Z') C += 32;
  return Out;
}

namespace {

using TCaseMapper = int32_t (*)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);

String MapCase(const String& S, TCaseMapper Mapper) {
  if (S.empty()) return S;
  String Out(S.size() + 8, u'\0');
  UErrorCode Status = U_ZERO_ERROR;
  int32_t Length = Mapper(reinterpret_cast<UChar*>(Out.data()), static_cast<int32_t>(Out.size()),
                          reinterpret_cast<const UChar*>(S.data()), static_cast<int32_t>(S.size()),
                          "", &Status);
  if (Status == U_BUFFER_OVERFLOW_ERROR) {
    Out.assign(Length, u'\0');
    Status = U_ZERO_ERROR;
    Length = Mapper(reinterpret_cast<UChar*>(Out.data()), Length,
                    reinterpret_cast<const UChar*>(S.data()), static_cast<int32_t>(S.size()), "",
                    &Status);
  }
  if (U_FAILURE(Status)) return S;
  Out.resize(Length);
  return Out;
}

}  // namespace

String AnsiUpperCase(const String& S) { return MapCase(S, u_strToUpper); }

String AnsiLowerCase(const String& S) { return MapCase(S, u_strToLower); }

// ---- Comparison --------------------------------------------------------------------------

namespace {

int SignOf(int Value) { return Value < 0 ? -1 : (Value > 0 ? 1 : 0); }

Char AsciiUpper(Char C) { return C >= u'a' && C <= u'z' ? static_cast<Char>(C - 32) : C; }

std::string DefaultCollationLocale() {
  for (const char* Name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* Value = std::getenv(Name);
    if (Value == nullptr || *Value == 0) continue;
    std::string Locale(Value);
    Locale = Locale.substr(0, Locale.find_first_of(".@"));
    if (Locale == "C" || Locale == "POSIX") return "";
    return Locale;
  }
  return "";
}

struct TCollatorDeleter {
  void operator()(UCollator* C) const { ucol_close(C); }
};
using TCollatorPtr = std::unique_ptr<UCollator, TCollatorDeleter>;

// Collators are made once per locale and strength; ICU allows concurrent compares on one.
class TCollators {
public:
  UCollator* Get(bool IgnoreCase) {
    std::lock_guard<std::mutex> Lock(FMutex);
    if (!FLocaleRead) {
      FLocale = DefaultCollationLocale();
      FLocaleRead = true;
    }
    TCollatorPtr& Slot = IgnoreCase ? FCaseless : FCased;
    if (!Slot) {
      UErrorCode Status = U_ZERO_ERROR;
      Slot.reset(ucol_open(FLocale.c_str(), &Status));
      if (U_FAILURE(Status)) {
        Status = U_ZERO_ERROR;
        Slot.reset(ucol_open("", &Status));
      }
      // Secondary strength keeps accents (and "Ё" apart from "Е") but ignores case.
      ucol_setStrength(Slot.get(), IgnoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
    }
    return Slot.get();
  }

  void SetLocale(const std::string& Name) {
    std::lock_guard<std::mutex> Lock(FMutex);
    FLocale = Name;
    FLocaleRead = true;
    FCased.reset();
    FCaseless.reset();
  }

private:
  std::mutex FMutex;
  std::string FLocale;
  bool FLocaleRead = false;
  TCollatorPtr FCased;
  TCollatorPtr FCaseless;
};

TCollators& Collators() {
  static TCollators Instance;
  return Instance;
}

int Collate(std::u16string_view A, std::u16string_view B, bool IgnoreCase) {
  const UCollationResult Result =
      ucol_strcoll(Collators().Get(IgnoreCase), reinterpret_cast<const UChar*>(A.data()),
                   static_cast<int32_t>(A.size()), reinterpret_cast<const UChar*>(B.data()),
                   static_cast<int32_t>(B.size()));
  return Result == UCOL_LESS ? -1 : (Result == UCOL_GREATER ? 1 : 0);
}

}  // namespace

int CompareStr(std::u16string_view A, std::u16string_view B) { return SignOf(A.compare(B)); }

int CompareText(std::u16string_view A, std::u16string_view B) {
  const std::size_t N = std::min(A.size(), B.size());
  for (std::size_t I = 0; I < N; ++I) {
    const Char X = AsciiUpper(A[I]);
    const Char Y = AsciiUpper(B[I]);
    if (X != Y) return X < Y ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

bool SameStr(std::u16string_view A, std::u16string_view B) { return A == B; }

bool SameText(std::u16string_view A, std::u16string_view B) {
  return A.size() == B.size() && CompareText(A, B) == 0;
}

int AnsiCompareStr(std::u16string_view A, std::u16string_view B) { return Collate(A, B, false); }

int AnsiCompareText(std::u16string_view A, std::u16string_view B) { return Collate(A, B, true); }

std::uint64_t AnsiSortKeyPrefix(std::u16string_view S) {
  // The first bytes of the collation's sort key, big-endian: sort keys order bytewise as the
  // collation orders the texts, so unequal prefixes decide; a shorter key ends in zero bytes.
  UCharIterator It;
  uiter_setString(&It, reinterpret_cast<const UChar*>(S.data()), static_cast<int32_t>(S.size()));
  uint32_t State[2] = {0, 0};
  uint8_t Bytes[8] = {};
  UErrorCode Status = U_ZERO_ERROR;
  ucol_nextSortKeyPart(Collators().Get(false), &It, State, Bytes, 8, &Status);
  if (U_FAILURE(Status)) return 0;  // zero never decides: the caller compares the texts
  std::uint64_t Key = 0;
  for (uint8_t B : Bytes) Key = (Key << 8) | B;
  return Key;
}

bool AnsiSameStr(std::u16string_view A, std::u16string_view B) { return A == B; }

bool AnsiSameText(std::u16string_view A, std::u16string_view B) { return AnsiCompareText(A, B) == 0; }

void SetCollationLocale(const std::string& LocaleName) { Collators().SetLocale(LocaleName); }
