// SysUtils.h - the run-time library's string, number and date routines.
//
// The routines keep the class library's semantics, not C's:
// - Positions are 1-based (Pos, Copy, Delete, Insert) and count UTF-16 units.
// - Float to text rounds on the decimal digits, halves away from zero. The digits of a value are
//   the shortest decimal that reads back as the same double (for an Extended that is not exactly
//   a double, its own shortest form), so FormatFloat("0.00", 1.005) is "1.01" and
//   FloatToStr(0.1 + 0.2) is "0.3" (15 significant digits).
// - Everything that depends on the locale reads the global FormatSettings, and has an overload
//   taking explicit settings.
// - Conversion failures raise EConvertError with the class library's texts, e.g.
//   "'abc' is not a valid integer value".
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/rtl/Currency.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/Types.h"

// ======================================================================================
// Format arguments
// ======================================================================================

// One argument of Format: an integer, a float, a Currency, a text or a pointer. Texts are held
// as views: the String a TVarRec was made from must outlive it (a temporary in the argument
// list of a call lives long enough). Narrow C strings and bool are refused at compile time, so
// that neither slips through as a pointer or an integer.
class TVarRec {
public:
  enum TKind { vtInteger, vtInt64, vtUInt64, vtExtended, vtCurrency, vtString, vtWideChar,
               vtPointer };

  TVarRec(int Value) : FKind(vtInteger), FInt(Value) {}
  TVarRec(unsigned Value) : FKind(vtInt64), FInt(Value) {}
  TVarRec(long Value) : FKind(vtInt64), FInt(Value) {}
  TVarRec(long long Value) : FKind(vtInt64), FInt(Value) {}
  TVarRec(unsigned long Value) : FKind(vtUInt64), FInt(static_cast<Int64>(Value)) {}
  TVarRec(unsigned long long Value) : FKind(vtUInt64), FInt(static_cast<Int64>(Value)) {}
  TVarRec(float Value) : FKind(vtExtended), FFloat(Value) {}
  TVarRec(double Value) : FKind(vtExtended), FFloat(Value) {}
  TVarRec(long double Value) : FKind(vtExtended), FFloat(Value) {}
  TVarRec(Currency Value) : FKind(vtCurrency), FInt(Value.Raw()) {}
  TVarRec(const String& Value) : FKind(vtString), FText(Value) {}
  // A temporary string is kept by the record itself, so a vector of records built from
  // temporaries stays valid; copies and moves point at their own copy.
  TVarRec(String&& Value) : FKind(vtString), FOwned(std::move(Value)), FOwns(true) { FText = FOwned; }
  TVarRec(const TVarRec& Other) { *this = Other; }
  TVarRec(TVarRec&& Other) noexcept { *this = std::move(Other); }
  TVarRec& operator=(const TVarRec& Other) {
    if (this != &Other) Assign(Other, String(Other.FOwned));
    return *this;
  }
  TVarRec& operator=(TVarRec&& Other) noexcept {
    if (this != &Other) Assign(Other, std::move(Other.FOwned));
    return *this;
  }
  TVarRec(std::u16string_view Value) : FKind(vtString), FText(Value) {}
  TVarRec(const char16_t* Value) : FKind(vtString), FText(Value ? Value : u"") {}
  TVarRec(char16_t Value) : FKind(vtWideChar), FInt(Value) {}
  TVarRec(const void* Value) : FKind(vtPointer), FPointer(Value) {}
  TVarRec(const char*) = delete;
  TVarRec(bool) = delete;

  TKind Kind() const { return FKind; }
  Int64 AsInt64() const { return FInt; }            // vtInteger, vtInt64, vtUInt64, vtWideChar
  Extended AsExtended() const { return FFloat; }    // vtExtended
  Currency AsCurrency() const { return Currency::FromRaw(FInt); }  // vtCurrency
  std::u16string_view AsText() const { return FText; }              // vtString
  const void* AsPointer() const { return FPointer; }                // vtPointer

private:
  void Assign(const TVarRec& Other, String&& Owned) {
    FKind = Other.FKind;
    FInt = Other.FInt;
    FFloat = Other.FFloat;
    FPointer = Other.FPointer;
    FOwns = Other.FOwns;
    FOwned = std::move(Owned);
    FText = FOwns ? std::u16string_view(FOwned) : Other.FText;
  }

  TKind FKind = vtInteger;
  Int64 FInt = 0;
  Extended FFloat = 0;
  std::u16string_view FText;
  const void* FPointer = nullptr;
  String FOwned;
  bool FOwns = false;
};

// ======================================================================================
// Integers
// ======================================================================================

String IntToStr(Int64 Value);
String UIntToStr(UInt64 Value);
// Upper-case hex, at least Digits digits; negative values print their 64-bit pattern.
String IntToHex(Int64 Value, int Digits);
// Accept leading blanks, a sign, decimals or hex with "$" or "0x"; nothing after the digits.
Integer StrToInt(const String& S);
Int64 StrToInt64(const String& S);
Integer StrToIntDef(const String& S, Integer Default);
Int64 StrToInt64Def(const String& S, Int64 Default);
bool TryStrToInt(const String& S, Integer& Value);
bool TryStrToInt64(const String& S, Int64& Value);

// "-1"/"0", or "True"/"False" with UseBoolStrs.
String BoolToStr(bool Value, bool UseBoolStrs = false);
// "True"/"False" in any case, or a number (0 is false).
bool StrToBool(const String& S);
bool StrToBoolDef(const String& S, bool Default);
bool TryStrToBool(const String& S, bool& Value);

// ======================================================================================
// Floats and Currency
// ======================================================================================

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// General format, 15 significant digits: "0.3", "1234.5", "1E20", "1.5E-7"; "INF", "-INF", "NAN".
String FloatToStr(Extended Value);
String FloatToStr(Extended Value, const TFormatSettings& FS);
// Precision = significant digits (max 18); Digits = minimum exponent digits (ffGeneral,
// ffExponent) or decimals (ffFixed, ffNumber, ffCurrency).
String FloatToStrF(Extended Value, TFloatFormat Format, int Precision, int Digits);
String FloatToStrF(Extended Value, TFloatFormat Format, int Precision, int Digits,
                   const TFormatSettings& FS);
// Picture formats: up to three sections "positive;negative;zero"; '0' digit, '#' optional digit,
// '.' decimal separator, ',' thousands, "E+"/"E-" exponent, "..." and '...' literals; other
// characters stand as written.
String FormatFloat(const String& Format, Extended Value);
String FormatFloat(const String& Format, Extended Value, const TFormatSettings& FS);
String FormatCurr(const String& Format, Currency Value);
String FormatCurr(const String& Format, Currency Value, const TFormatSettings& FS);

// Accepts blanks around, a sign, the settings' decimal separator and an exponent; also "INF",
// "-INF" and "NAN". Bad text raises "'%s' is not a valid floating point value".
Extended StrToFloat(const String& S);
Extended StrToFloat(const String& S, const TFormatSettings& FS);
Extended StrToFloatDef(const String& S, Extended Default);
Extended StrToFloatDef(const String& S, Extended Default, const TFormatSettings& FS);
bool TryStrToFloat(const String& S, Extended& Value);
bool TryStrToFloat(const String& S, Extended& Value, const TFormatSettings& FS);
bool TryStrToFloat(const String& S, double& Value);
bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& FS);

String CurrToStr(Currency Value);
String CurrToStr(Currency Value, const TFormatSettings& FS);
String CurrToStrF(Currency Value, TFloatFormat Format, int Digits);
String CurrToStrF(Currency Value, TFloatFormat Format, int Digits, const TFormatSettings& FS);
Currency StrToCurr(const String& S);
Currency StrToCurr(const String& S, const TFormatSettings& FS);
Currency StrToCurrDef(const String& S, Currency Default);
bool TryStrToCurr(const String& S, Currency& Value);
bool TryStrToCurr(const String& S, Currency& Value, const TFormatSettings& FS);

// ======================================================================================
// Format
// ======================================================================================

// "%" [index ":"] ["-"] [width] ["." precision] type, with '*' taking width or precision from
// the arguments and "%%" a percent sign. Types: d u x (integers; precision = minimum digits),
// e f g n m (floats and Currency; g has 15 significant digits by default and writes exponents
// as FloatToStr does, "1E20"; f/n default to 2 decimals, e to 15 digits with a 3-digit
// exponent; m uses the currency format and CurrencyDecimals), s (texts and characters; precision = maximum length),
// p (pointer). A bad specifier or an argument of the wrong kind raises EConvertError
// "Format '%s' invalid or incompatible with argument"; a missing argument raises
// "No argument for format '%s'".
String Format(const String& Fmt, std::initializer_list<TVarRec> Args);
String Format(const String& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& FS);
String Format(const String& Fmt, const std::vector<TVarRec>& Args);
String Format(const String& Fmt, const std::vector<TVarRec>& Args, const TFormatSettings& FS);
String Format(const String& Fmt, const TVarRec* Args, std::size_t Count,
              const TFormatSettings& FS);

// ======================================================================================
// Dates and times as text
// ======================================================================================

// Specifiers (any case): c d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss
// z zzz t tt am/pm a/p ampm; "m" right after an hour means minutes; '/' and ':' print the
// settings' separators; "..." and '...' are literal.
String FormatDateTime(const String& Format, TDateTime Value);
String FormatDateTime(const String& Format, TDateTime Value, const TFormatSettings& FS);
// Short date, plus the long time when the value has a time of day.
String DateTimeToStr(TDateTime Value);
String DateTimeToStr(TDateTime Value, const TFormatSettings& FS);
String DateToStr(TDateTime Value);
String DateToStr(TDateTime Value, const TFormatSettings& FS);
String TimeToStr(TDateTime Value);
String TimeToStr(TDateTime Value, const TFormatSettings& FS);

// Dates are read in the order of ShortDateFormat (day, month, year for "dd.MM.yyyy") with the
// date separator; the year may be left out (this year) or given with two digits (century
// window). Times are h:n[:s[.z]] with an optional AM/PM. Failures raise
// "'%s' is not a valid date" / "... time" / "... date and time".
TDateTime StrToDate(const String& S);
TDateTime StrToDate(const String& S, const TFormatSettings& FS);
TDateTime StrToTime(const String& S);
TDateTime StrToTime(const String& S, const TFormatSettings& FS);
TDateTime StrToDateTime(const String& S);
TDateTime StrToDateTime(const String& S, const TFormatSettings& FS);
TDateTime StrToDateDef(const String& S, TDateTime Default);
TDateTime StrToDateTimeDef(const String& S, TDateTime Default);
bool TryStrToDate(const String& S, TDateTime& Value);
bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& FS);
bool TryStrToTime(const String& S, TDateTime& Value);
bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& FS);
bool TryStrToDateTime(const String& S, TDateTime& Value);
bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& FS);

// ======================================================================================
// Strings
// ======================================================================================

// Remove characters up to ' ' (blanks and control characters).
String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);

// 1-based position of SubStr in S at or after Offset, 0 when absent or SubStr is empty.
int Pos(std::u16string_view SubStr, std::u16string_view S, int Offset = 1);
inline int AnsiPos(std::u16string_view SubStr, std::u16string_view S) { return Pos(SubStr, S); }
// Count units from Index (1-based); out-of-range parts are clipped, never an error.
String Copy(const String& S, int Index, int Count);
void Delete(String& S, int Index, int Count);
// Inserts Source before position Index (clipped to 1..Length+1).
void Insert(const String& Source, String& S, int Index);
String StringOfChar(Char Ch, int Count);
String DupeString(const String& S, int Count);
String LeftStr(const String& S, int Count);
String RightStr(const String& S, int Count);
// 1-based index of the last character of S found in Delimiters, 0 if none.
int LastDelimiter(std::u16string_view Delimiters, std::u16string_view S);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
class TReplaceFlags {
public:
  TReplaceFlags() = default;
  TReplaceFlags(std::initializer_list<TReplaceFlag> Flags) {
    for (TReplaceFlag F : Flags) FBits |= 1u << F;
  }
  bool Contains(TReplaceFlag F) const { return (FBits & (1u << F)) != 0; }

private:
  unsigned FBits = 0;
};
// rfIgnoreCase compares with Unicode simple case folding.
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags);

// 'It''s' style quoting.
String QuotedStr(const String& S);
String AnsiQuotedStr(const String& S, Char Quote);
// Reads a quoted text at Src (which must point at Quote), doubled quotes giving one; Src moves
// past the closing quote (or to the end when it is missing). Returns "" when Src is not at Quote.
String AnsiExtractQuotedStr(const Char*& Src, Char Quote);
// The unquoted text when S is quoted with Quote, otherwise S unchanged.
String AnsiDequotedStr(const String& S, Char Quote);

// ASCII letters only.
String UpperCase(const String& S);
String LowerCase(const String& S);
// Every letter, by Unicode's rules (ICU).
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);

// Ordinal comparison of UTF-16 units: -1, 0 or 1.
int CompareStr(std::u16string_view A, std::u16string_view B);
// Ordinal, ASCII letters compared without case: -1, 0 or 1.
int CompareText(std::u16string_view A, std::u16string_view B);
bool SameStr(std::u16string_view A, std::u16string_view B);
bool SameText(std::u16string_view A, std::u16string_view B);
// Collation of the user's language (ICU): -1, 0 or 1. "Ё" sorts with "Е"; the Text variants
// ignore case.
int AnsiCompareStr(std::u16string_view A, std::u16string_view B);
int AnsiCompareText(std::u16string_view A, std::u16string_view B);
// The first eight bytes of a text's sort key under AnsiCompareStr's collation, as a number:
// where two prefixes differ, AnsiCompareStr of the texts agrees with their order; equal
// prefixes decide nothing. For sorting many texts with few collation calls.
std::uint64_t AnsiSortKeyPrefix(std::u16string_view S);
bool AnsiSameStr(std::u16string_view A, std::u16string_view B);
bool AnsiSameText(std::u16string_view A, std::u16string_view B);

// ---- for tests ----
// The collation locale ("ru", "en_US", ...); by default the one of LC_ALL / LC_COLLATE / LANG,
// and the root collation for "C" and "POSIX".
void SetCollationLocale(const std::string& LocaleName);

// ======================================================================================
// File names and files
// ======================================================================================

constexpr Char PathDelim = u'/';
constexpr Char DriveDelim = u'\0';
constexpr Char PathSep = u':';

String IncludeTrailingPathDelimiter(const String& S);
String ExcludeTrailingPathDelimiter(const String& S);
// Path with its trailing delimiter ("/tmp/a.txt" -> "/tmp/").
String ExtractFilePath(const String& FileName);
// Path without its trailing delimiter ("/tmp/a.txt" -> "/tmp").
String ExtractFileDir(const String& FileName);
String ExtractFileName(const String& FileName);
// The extension with its dot, "" when none.
String ExtractFileExt(const String& FileName);
String ChangeFileExt(const String& FileName, const String& Extension);
String ExpandFileName(const String& FileName);

bool FileExists(const String& FileName);
bool DirectoryExists(const String& Directory);
// Creates the directory and its missing parents; false on failure.
bool ForceDirectories(const String& Directory);
bool CreateDir(const String& Directory);
bool RemoveDir(const String& Directory);
bool DeleteFile(const String& FileName);
bool RenameFile(const String& OldName, const String& NewName);
String GetCurrentDir();
// The temporary-files directory ($TMPDIR or /tmp) with a trailing delimiter.
String GetTempDir();
