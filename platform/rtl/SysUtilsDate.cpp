// SysUtilsDate.cpp - dates and times as text: FormatDateTime and the StrToDate family.
#include "platform/rtl/SysUtils.h"

#include <cstdio>

#include "platform/rtl/SysUtils_p.h"

// ======================================================================================
// Formatting
// ======================================================================================

namespace {

Char Upper(Char C) { return C >= u'a' && C <= u'z' ? static_cast<Char>(C - 32) : C; }

String Number(int Value, int MinDigits) {
  String Out = IntToStr(Value);
  if (static_cast<int>(Out.size()) < MinDigits) Out.insert(0, MinDigits - Out.size(), u'0');
  return Out;
}

bool StartsNoCase(std::u16string_view Text, std::size_t At, std::u16string_view Word) {
  if (At + Word.size() > Text.size()) return false;
  for (std::size_t I = 0; I < Word.size(); ++I)
    if (Upper(Text[At + I]) != Upper(Word[I])) return false;
  return true;
}

// Walks Format outside quoted text, calling Visit(I) at each position; Visit may move I on
// past what it read. True at the first position Visit accepts; an unclosed quote ends the walk.
template <class F>
bool FindUnquoted(std::u16string_view Format, F Visit) {
  for (std::size_t I = 0; I < Format.size(); ++I) {
    const Char C = Format[I];
    if (C == u'"' || C == u'\'') {
      const std::size_t Close = Format.find(C, I + 1);
      if (Close == std::u16string_view::npos) return false;
      I = Close;
      continue;
    }
    if (Visit(I)) return true;
  }
  return false;
}

// Whether the format holds an am/pm specifier outside quotes: hours then count to 12.
bool HasAmPm(std::u16string_view Format) {
  return FindUnquoted(Format, [Format](std::size_t& I) {
    return StartsNoCase(Format, I, u"am/pm") || StartsNoCase(Format, I, u"a/p") ||
           StartsNoCase(Format, I, u"ampm");
  });
}

// Whether the format shows the day's number ("d" or "dd" outside quotes): month names then
// take their genitive form, as the locale's date pictures do.
bool HasDayNumber(std::u16string_view Format) {
  return FindUnquoted(Format, [Format](std::size_t& I) {
    if (Upper(Format[I]) != u'D') return false;
    std::size_t End = I;
    while (End < Format.size() && Upper(Format[End]) == u'D') ++End;
    if (End - I <= 2) return true;
    I = End - 1;
    return false;
  });
}

class TDateTimeFormatter {
public:
  TDateTimeFormatter(TDateTime Value, const TFormatSettings& FS) : FS(FS) {
    DecodeDateFully(Value, FYear, FMonth, FDay, FDayOfWeek);
    DecodeTime(Value, FHour, FMin, FSec, FMSec);
  }

  String Run(std::u16string_view Format) {
    Append(Format.empty() ? std::u16string_view(u"C") : Format, 0);
    return FOut;
  }

private:
  const String& MonthName(int Count, bool Genitive) const {
    const std::size_t Index = std::size_t(FMonth - 1);
    if (Count == 3) return FS.ShortMonthNames[Index];
    if (Genitive && !FS.GenitiveMonthNames[Index].empty()) return FS.GenitiveMonthNames[Index];
    return FS.LongMonthNames[Index];
  }

  int CountRun(std::u16string_view Format, std::size_t& I, Char Token) const {
    int Count = 1;
    while (I < Format.size() && Upper(Format[I]) == Token) { ++I; ++Count; }
    return Count;
  }

  void Append(std::u16string_view Format, int Depth) {
    if (Depth > 2) return;  // formats naming formats: the settings could loop
    const bool TwelveHour = HasAmPm(Format);
    const bool Genitive = HasDayNumber(Format);
    Char LastToken = u' ';
    for (std::size_t I = 0; I < Format.size();) {
      const Char Raw = Format[I++];
      Char Token = Upper(Raw);
      if (Token >= u'A' && Token <= u'Z') {
        if (Token == u'M' && LastToken == u'H') Token = u'N';  // minutes right after an hour
        LastToken = Token;
      }
      switch (Token) {
        case u'Y': {
          const int Count = CountRun(Format, I, u'Y');
          FOut += Count <= 2 ? Number(FYear % 100, 2) : Number(FYear, 4);
          break;
        }
        case u'M': {
          const int Count = CountRun(Format, I, u'M');
          if (Count <= 2) FOut += Number(FMonth, Count);
          else if (FMonth >= 1) FOut += MonthName(Count, Genitive);
          break;
        }
        case u'D': {
          const int Count = CountRun(Format, I, u'D');
          if (Count <= 2) FOut += Number(FDay, Count);
          else if (Count == 3 && FDayOfWeek >= 1) FOut += FS.ShortDayNames[FDayOfWeek - 1];
          else if (Count == 4 && FDayOfWeek >= 1) FOut += FS.LongDayNames[FDayOfWeek - 1];
          else if (Count == 5) Append(FS.ShortDateFormat, Depth + 1);
          else if (Count >= 6) Append(FS.LongDateFormat, Depth + 1);
          break;
        }
        case u'H': {
          const int Count = CountRun(Format, I, u'H');
          int Hour = FHour;
          if (TwelveHour) Hour = Hour % 12 == 0 ? 12 : Hour % 12;
          FOut += Number(Hour, Count >= 2 ? 2 : 1);
          break;
        }
        case u'N': {
          const int Count = CountRun(Format, I, Upper(Raw));
          FOut += Number(FMin, Count >= 2 ? 2 : 1);
          break;
        }
        case u'S': {
          const int Count = CountRun(Format, I, u'S');
          FOut += Number(FSec, Count >= 2 ? 2 : 1);
          break;
        }
        case u'Z': {
          const int Count = CountRun(Format, I, u'Z');
          FOut += Number(FMSec, Count >= 2 ? 3 : 1);
          break;
        }
        case u'T': {
          const int Count = CountRun(Format, I, u'T');
          Append(Count == 1 ? FS.ShortTimeFormat : FS.LongTimeFormat, Depth + 1);
          break;
        }
        case u'C':
          CountRun(Format, I, u'C');
          Append(FS.ShortDateFormat, Depth + 1);
          if (FHour != 0 || FMin != 0 || FSec != 0 || FMSec != 0) {
            FOut.push_back(u' ');
            Append(FS.LongTimeFormat, Depth + 1);
          }
          break;
        case u'A':
          AppendAmPm(Format, I);
          break;
        case u'/':
          if (FS.DateSeparator != 0) FOut.push_back(FS.DateSeparator);
          break;
        case u':':
          if (FS.TimeSeparator != 0) FOut.push_back(FS.TimeSeparator);
          break;
        case u'"':
        case u'\'': {
          const std::size_t Close = Format.find(Raw, I);
          const std::size_t End = Close == std::u16string_view::npos ? Format.size() : Close;
          FOut.append(Format.substr(I, End - I));
          I = End == Format.size() ? End : End + 1;
          break;
        }
        default:
          FOut.push_back(Raw);
      }
    }
  }

  // At I - 1 stands an 'a': "am/pm" and "a/p" keep the case written, "ampm" prints the
  // settings' texts; any other 'a' is a literal.
  void AppendAmPm(std::u16string_view Format, std::size_t& I) {
    const std::size_t Start = I - 1;
    const bool Pm = FHour >= 12;
    if (StartsNoCase(Format, Start, u"am/pm")) {
      const std::size_t At = Start + (Pm ? 3 : 0);
      FOut.append(Format.substr(At, 2));
      I = Start + 5;
    } else if (StartsNoCase(Format, Start, u"a/p")) {
      FOut.push_back(Format[Start + (Pm ? 2 : 0)]);
      I = Start + 3;
    } else if (StartsNoCase(Format, Start, u"ampm")) {
      FOut += Pm ? FS.TimePMString : FS.TimeAMString;
      I = Start + 4;
    } else {
      FOut.push_back(Format[Start]);
    }
  }

  const TFormatSettings& FS;
  Word FYear = 0, FMonth = 0, FDay = 0, FDayOfWeek = 0;
  Word FHour = 0, FMin = 0, FSec = 0, FMSec = 0;
  String FOut;
};

}  // namespace

String FormatDateTime(const String& Format, TDateTime Value) {
  return FormatDateTime(Format, Value, FormatSettings);
}

String FormatDateTime(const String& Format, TDateTime Value, const TFormatSettings& FS) {
  return TDateTimeFormatter(Value, FS).Run(Format);
}

String DateTimeToStr(TDateTime Value) { return DateTimeToStr(Value, FormatSettings); }
String DateTimeToStr(TDateTime Value, const TFormatSettings& FS) { return FormatDateTime(u"c", Value, FS); }
String DateToStr(TDateTime Value) { return DateToStr(Value, FormatSettings); }
String DateToStr(TDateTime Value, const TFormatSettings& FS) { return FormatDateTime(u"ddddd", Value, FS); }
String TimeToStr(TDateTime Value) { return TimeToStr(Value, FormatSettings); }
String TimeToStr(TDateTime Value, const TFormatSettings& FS) { return FormatDateTime(u"tt", Value, FS); }

// ======================================================================================
// Parsing
// ======================================================================================

namespace {

class TDateTimeScanner {
public:
  TDateTimeScanner(std::u16string_view Text, const TFormatSettings& FS) : FText(Text), FS(FS) {}

  bool AtEnd() {
    SkipBlanks();
    return FPos == FText.size();
  }

  std::size_t Position() const { return FPos; }
  void SetPosition(std::size_t Pos) { FPos = Pos; }

  bool ScanDate(TDateTime& Value) {
    enum { doMDY, doDMY, doYMD } Order = doMDY;
    for (Char C : FS.ShortDateFormat) {
      const Char U = Upper(C);
      if (U == u'D') { Order = doDMY; break; }
      if (U == u'M') { Order = doMDY; break; }
      if (U == u'Y') { Order = doYMD; break; }
    }
    int N1 = 0, N2 = 0, N3 = 0, L1 = 0, L2 = 0, L3 = 0;
    if (!ScanNumber(N1, L1) || !ScanChar(FS.DateSeparator) || !ScanNumber(N2, L2)) return false;
    int Year = 0, Month = 0, Day = 0, YearDigits = 0;
    if (ScanChar(FS.DateSeparator)) {
      if (!ScanNumber(N3, L3)) return false;
      switch (Order) {
        case doMDY: Month = N1; Day = N2; Year = N3; YearDigits = L3; break;
        case doDMY: Day = N1; Month = N2; Year = N3; YearDigits = L3; break;
        case doYMD: Year = N1; YearDigits = L1; Month = N2; Day = N3; break;
      }
    } else {
      Year = CurrentYear();
      YearDigits = 4;
      if (Order == doDMY) { Day = N1; Month = N2; }
      else { Month = N1; Day = N2; }
    }
    if (YearDigits <= 2) Year = ApplyCenturyWindow(Year);
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > 31) return false;
    // A trailing date separator is allowed ("01.02.2024.").
    ScanChar(FS.DateSeparator);
    return TryEncodeDate(static_cast<Word>(Year), static_cast<Word>(Month), static_cast<Word>(Day), Value);
  }

  bool ScanTime(TDateTime& Value) {
    int Hour = 0, Min = 0, Sec = 0, MSec = 0, L = 0;
    if (!ScanNumber(Hour, L)) return false;
    bool HasSeparator = false;
    if (ScanChar(FS.TimeSeparator)) {
      HasSeparator = true;
      if (!ScanNumber(Min, L)) return false;
      if (ScanChar(FS.TimeSeparator)) {
        if (!ScanNumber(Sec, L)) return false;
        if (ScanChar(FS.DecimalSeparator) && !ScanNumber(MSec, L)) return false;
      }
    }
    const int AmPm = ScanAmPm();
    if (!HasSeparator && AmPm == 0) return false;
    if (AmPm != 0) {
      if (Hour < 1 || Hour > 12) return false;
      Hour %= 12;
      if (AmPm == 2) Hour += 12;
    }
    if (Hour > 23 || Min > 59 || Sec > 59 || MSec > 999) return false;
    return TryEncodeTime(static_cast<Word>(Hour), static_cast<Word>(Min), static_cast<Word>(Sec),
                         static_cast<Word>(MSec), Value);
  }

private:
  void SkipBlanks() {
    while (FPos < FText.size() && IsBlank(FText[FPos])) ++FPos;
  }

  bool ScanNumber(int& Value, int& Digits) {
    SkipBlanks();
    Value = 0;
    Digits = 0;
    while (FPos < FText.size() && FText[FPos] >= u'0' && FText[FPos] <= u'9' && Digits < 9) {
      Value = Value * 10 + (FText[FPos++] - u'0');
      ++Digits;
    }
    return Digits > 0;
  }

  bool ScanChar(Char C) {
    SkipBlanks();
    if (C == 0 || FPos >= FText.size() || FText[FPos] != C) return false;
    ++FPos;
    return true;
  }

  bool ScanWord(const String& Word) {
    if (Word.empty() || !StartsNoCase(FText, FPos, Word)) return false;
    FPos += Word.size();
    return true;
  }

  // 0 none, 1 AM, 2 PM.
  int ScanAmPm() {
    SkipBlanks();
    if (ScanWord(FS.TimeAMString) || ScanWord(u"AM")) return 1;
    if (ScanWord(FS.TimePMString) || ScanWord(u"PM")) return 2;
    return 0;
  }

  int ApplyCenturyWindow(int Year) const {
    const int Window = FS.TwoDigitYearCenturyWindow;
    const int Base = CurrentYear() - Window;
    Year += Base / 100 * 100;
    if (Window > 0 && Year < Base) Year += 100;
    return Year;
  }

  std::u16string_view FText;
  const TFormatSettings& FS;
  std::size_t FPos = 0;
};

}  // namespace

bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& FS) {
  TDateTimeScanner Scanner(S, FS);
  TDateTime Result = 0;
  if (!Scanner.ScanDate(Result) || !Scanner.AtEnd()) return false;
  Value = Result;
  return true;
}

bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& FS) {
  TDateTimeScanner Scanner(S, FS);
  TDateTime Result = 0;
  if (!Scanner.ScanTime(Result) || !Scanner.AtEnd()) return false;
  Value = Result;
  return true;
}

bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& FS) {
  TDateTimeScanner Scanner(S, FS);
  TDateTime Day = 0;
  if (Scanner.ScanDate(Day)) {
    TDateTime Time = 0;
    if (Scanner.AtEnd() || (Scanner.ScanTime(Time) && Scanner.AtEnd())) {
      Value = ComposeDateTime(Day, Time);
      return true;
    }
  }
  return TryStrToTime(S, Value, FS);
}

bool TryStrToDate(const String& S, TDateTime& Value) { return TryStrToDate(S, Value, FormatSettings); }
bool TryStrToTime(const String& S, TDateTime& Value) { return TryStrToTime(S, Value, FormatSettings); }
bool TryStrToDateTime(const String& S, TDateTime& Value) {
  return TryStrToDateTime(S, Value, FormatSettings);
}

TDateTime StrToDate(const String& S) { return StrToDate(S, FormatSettings); }
TDateTime StrToTime(const String& S) { return StrToTime(S, FormatSettings); }
TDateTime StrToDateTime(const String& S) { return StrToDateTime(S, FormatSettings); }

TDateTime StrToDate(const String& S, const TFormatSettings& FS) {
  TDateTime Value = 0;
  if (!TryStrToDate(S, Value, FS)) RaiseConvertError(u"'%s' is not a valid date", S);
  return Value;
}

TDateTime StrToTime(const String& S, const TFormatSettings& FS) {
  TDateTime Value = 0;
  if (!TryStrToTime(S, Value, FS)) RaiseConvertError(u"'%s' is not a valid time", S);
  return Value;
}

TDateTime StrToDateTime(const String& S, const TFormatSettings& FS) {
  TDateTime Value = 0;
  if (!TryStrToDateTime(S, Value, FS)) RaiseConvertError(u"'%s' is not a valid date and time", S);
  return Value;
}

TDateTime StrToDateDef(const String& S, TDateTime Default) {
  TDateTime Value = 0;
  return TryStrToDate(S, Value) ? Value : Default;
}

TDateTime StrToDateTimeDef(const String& S, TDateTime Default) {
  TDateTime Value = 0;
  return TryStrToDateTime(S, Value) ? Value : Default;
}
