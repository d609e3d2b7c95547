// DBCtrlsZkDateRoutines.cpp - the date-time edit's routines: two-digit years, part clamping,
// encoding and decoding parts, the EditFormat compiler and element stepping.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include <cmath>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr int TwoDigitYearWindow = 60;

bool IsElementLetter(Char C) {
  const Char U = UpperCase(String(1, C))[0];
  return U == u'D' || U == u'M' || U == u'Y' || U == u'H' || U == u'N' || U == u'S';
}

Char Upper(Char C) { return UpperCase(String(1, C))[0]; }

bool IsMaskSpecial(Char C) { return String(u"!#09;<>ACLacl").find(C) != String::npos; }

TElementMaskPosZk* ElementOf(TDateTimeElementsMaskPosZk& P, Char Letter) {
  switch (Letter) {
    case u'Y': return &P.Year;
    case u'M': return &P.Month;
    case u'D': return &P.Day;
    case u'H': return &P.Hour;
    case u'N': return &P.Min;
    default: return &P.Sec;
  }
}

String Quoted(const String& S) { return u"\"" + S + u"\""; }

void TodayParts(int& Y, int& M, int& D) {
  Word YY, MM, DD;
  DecodeDate(Date(), YY, MM, DD);
  Y = YY;
  M = MM;
  D = DD;
}

bool IsSeparator(Char C) {
  return C == u'/' || C == u':' || C == FormatSettings.DateSeparator ||
         C == FormatSettings.TimeSeparator;
}

}  // namespace

int ExpandTwoDigitYear(int Y) {
  if (Y >= 100) return Y;
  const int Current = CurrentYear();
  Y += ((Current - TwoDigitYearWindow) / 100) * 100;
  if (TwoDigitYearWindow > 0 && Y < Current - TwoDigitYearWindow) Y += 100;
  return Y;
}

int DaysInMonthOf(int Y, int M) {
  static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (M < 1 || M > 12) return 31;
  return M == 2 && Y > 0 && Y <= 9999 && IsLeapYear(Word(Y)) ? 29 : Days[M - 1];
}

void FixDateParts(int& Y, int& M, int& D) {
  int TY, TM, TD;
  TodayParts(TY, TM, TD);
  if (D < 1) D = TD;
  if (M < 1) M = TM;
  if (Y < 1) Y = TY;
  if (M > 12) M = 12;
  if (Y > 9999) Y = 9999;
  Y = ExpandTwoDigitYear(Y);
  if (D > DaysInMonthOf(Y, M)) D = DaysInMonthOf(Y, M);
}

void FixTimeParts(int& H, int& N, int& S) {
  H = std::min(std::max(H, 0), 23);
  N = std::min(std::max(N, 0), 59);
  S = std::min(std::max(S, 0), 59);
}

TDateOrderZk ShortDateOrder(const String& Format) {
  for (Char C : Format) {
    const Char U = Upper(C);
    if (U == u'M') return doMDYZk;
    if (U == u'D') return doDMYZk;
    if (U == u'Y') return doYMDZk;
  }
  return doDMYZk;
}

String DefaultDateEditFormat(bool FourDigitYear) {
  switch (ShortDateOrder(FormatSettings.ShortDateFormat)) {
    case doMDYZk: return FourDigitYear ? u"MM/DD/YYYY" : u"MM/DD/YY";
    case doYMDZk: return FourDigitYear ? u"YYYY/MM/DD" : u"YY/MM/DD";
    default: return FourDigitYear ? u"DD/MM/YYYY" : u"DD/MM/YY";
  }
}

String DefaultTimeEditFormat() { return u"HH:NN:SS"; }

bool TryEncodeDateTimeParts(const TDateTimePartsZk& P, TDateTime& Value) {
  TDateTime DatePart = 0;
  if (!(P.Y < 0 && P.M < 0 && P.D < 0)) {
    if (P.Y <= 0 || P.M <= 0 || P.D <= 0 || P.Y > 9999 || P.M > 12 ||
        P.D > DaysInMonthOf(P.Y, P.M))
      return false;
    DatePart = EncodeDate(Word(P.Y), Word(P.M), Word(P.D));
  }
  if (P.H < 0 || P.N < 0 || P.S < 0 || P.H > 23 || P.N > 59 || P.S > 59) return false;
  const TDateTime TimePart = (P.H * 3600000.0 + P.N * 60000.0 + P.S * 1000.0) / 86400000.0;
  Value = DatePart + (DatePart < 0 ? -TimePart : TimePart);
  return true;
}

TDateTimePartsZk DecodeDateTimeParts(TDateTime Value) {
  Word Y, M, D, H, N, S, MS;
  DecodeDateTime(Value, Y, M, D, H, N, S, MS);
  return {Y, M, D, H, N, S};
}

TDateTimePartsZk VariantToDateTimeParts(const Variant& Value) {
  if (VarIsNull(Value) || VarIsEmpty(Value)) return {};
  return DecodeDateTimeParts(Value.AsDateTime());
}

void ReplaceTimeOf(TDateTime& Date, TDateTime Time) {
  const TDateTime Whole = std::trunc(Date);
  const TDateTime Fraction = std::fabs(Time - std::trunc(Time));
  Date = Whole < 0 ? Whole - Fraction : Whole + Fraction;
}

int ParseElementNumber(const String& Text) {
  std::size_t I = 0;
  while (I < Text.size() && Text[I] == u' ') ++I;
  if (I == Text.size()) return -1;
  String Digits;
  for (; I < Text.size(); ++I) {
    if (Text[I] == u' ') continue;
    if (Text[I] < u'0' || Text[I] > u'9') return -1;
    Digits += Text[I];
  }
  int Value = 0;
  return TryStrToInt(Digits, Value) ? Value : -1;
}

String ParseDateTimeEditFormat(const String& EditFormat, TDateTimeElementsMaskPosZk& Positions) {
  Positions = TDateTimeElementsMaskPosZk{};
  String Mask;
  int TextPos = 1;
  Char RunLetter = 0;
  int RunStart = 0, RunLength = 0;
  auto EndRun = [&] {
    if (!RunLetter) return;
    const bool LengthOk = RunLength == 2 || (RunLetter == u'Y' && RunLength == 4);
    if (!LengthOk)
      throw Exception(u"Invalid datetime format element length: " + Quoted(String(1, RunLetter)));
    TElementMaskPosZk* E = ElementOf(Positions, RunLetter);
    if (E->Present)
      throw Exception(u"Duplicating datetime format element: " + Quoted(String(1, RunLetter)));
    *E = {RunStart, RunLength, true};
    Mask += String(std::size_t(RunLength), u'9');
    RunLetter = 0;
  };
  for (std::size_t I = 0; I < EditFormat.size(); ++I) {
    Char C = EditFormat[I];
    const bool Escaped = C == u'\\' && I + 1 < EditFormat.size();
    if (!Escaped && IsElementLetter(C)) {
      const Char Letter = Upper(C);
      if (Letter == RunLetter) {
        ++RunLength;
        if (RunLength > (Letter == u'Y' ? 4 : 2))
          throw Exception(u"Element in EditFormat: " + Quoted(EditFormat) +
                          u" is too long. Pos: " + IntToStr(TextPos));
      } else {
        EndRun();
        RunLetter = Letter;
        RunStart = TextPos;
        RunLength = 1;
      }
      ++TextPos;
      continue;
    }
    EndRun();
    if (Escaped) C = EditFormat[++I];
    if (IsMaskSpecial(C)) Mask += u'\\';
    Mask += C;
    ++TextPos;
  }
  EndRun();
  return u"!" + Mask + u";1; ";
}

String EditFormatToDisplayFormat(const String& EditFormat) {
  String Result, Literal;
  auto Flush = [&] {
    if (Literal.empty()) return;
    String Q;
    for (Char C : Literal) Q += C == u'\'' ? String(u"''") : String(1, C);
    Result += u"'" + Q + u"'";
    Literal.clear();
  };
  for (std::size_t I = 0; I < EditFormat.size(); ++I) {
    Char C = EditFormat[I];
    if (C == u'\\' && I + 1 < EditFormat.size()) {
      Literal += EditFormat[++I];
      continue;
    }
    if (IsElementLetter(C) || C == u'/' || C == u':') {
      Flush();
      Result += Upper(C);
    } else {
      Literal += C;
    }
  }
  Flush();
  return Result;
}

String EditFormatToElementTemplate(const String& EditFormat) {
  String Result;
  for (std::size_t I = 0; I < EditFormat.size(); ++I) {
    const Char C = EditFormat[I];
    if (C == u'\\' && I + 1 < EditFormat.size()) {
      ++I;
      Result += u' ';
    } else if (IsElementLetter(C) || C == u'/' || C == u':') {
      Result += Upper(C);
    } else {
      Result += u' ';
    }
  }
  return Result;
}

TDateTimePartsZk ReadDateTimeParts(const String& Text, const TDateTimeElementsMaskPosZk& Pos) {
  auto Read = [&](const TElementMaskPosZk& E) {
    if (!E.Present || E.Pos < 1 || std::size_t(E.Pos - 1) >= Text.size()) return -1;
    return ParseElementNumber(Text.substr(std::size_t(E.Pos - 1), std::size_t(E.Length)));
  };
  TDateTimePartsZk P{Read(Pos.Year), Read(Pos.Month), Read(Pos.Day),
                     Read(Pos.Hour), Read(Pos.Min),   Read(Pos.Sec)};
  if (P.Y >= 0) P.Y = ExpandTwoDigitYear(P.Y);
  return P;
}

bool ApplyDateTimeParts(TDateTimePartsZk P, const TDateTimeElementsMaskPosZk& Pos,
                        Variant& Value, bool FillFromToday) {
  if (P == TDateTimePartsZk{}) {
    Value = Null();
    return true;
  }
  if (FillFromToday) {
    FixDateParts(P.Y, P.M, P.D);
    FixTimeParts(P.H, P.N, P.S);
  } else {
    if (!Pos.Year.Present && P.Y <= 0) P.Y = 1;
    if (!Pos.Month.Present && P.M <= 0) P.M = 1;
    if (!Pos.Day.Present && P.D <= 0) P.D = 1;
    if (!Pos.Hour.Present && P.H < 0) P.H = 0;
    if (!Pos.Min.Present && P.N < 0) P.N = 0;
    if (!Pos.Sec.Present && P.S < 0) P.S = 0;
  }
  TDateTime Check;
  if (!TryEncodeDateTimeParts(P, Check)) {
    Value = Null();
    return false;
  }
  TDateTimePartsZk Base{1900, 1, 1, 0, 0, 0};
  int MSec = 0;
  if (!VarIsNull(Value) && !VarIsEmpty(Value)) {
    Word Y, M, D, H, N, S, MS;
    DecodeDateTime(Value.AsDateTime(), Y, M, D, H, N, S, MS);
    Base = {Y, M, D, H, N, S};
    MSec = MS;
  }
  if (Pos.Year.Present && P.Y > 0) Base.Y = P.Y;
  if (Pos.Month.Present && P.M > 0) Base.M = P.M;
  if (Pos.Day.Present && P.D > 0) Base.D = P.D;
  if (Pos.Hour.Present && P.H >= 0) Base.H = P.H;
  if (Pos.Min.Present && P.N >= 0) Base.N = P.N;
  if (Pos.Sec.Present && P.S >= 0) Base.S = P.S;
  if (Base.D > DaysInMonthOf(Base.Y, Base.M)) {
    Value = Null();
    return false;
  }
  TDateTime Result;
  if (!TryEncodeDateTimeParts(Base, Result)) {
    Value = Null();
    return false;
  }
  Result += (Result < 0 ? -1 : 1) * MSec / 86400000.0;
  Value = Variant::FromDateTime(Result);
  return true;
}

bool FindDateElementAt(const String& Template, int Pos, int& ElementPos, int& Len) {
  if (Template.empty()) return false;
  Pos = std::min(std::max(Pos, 1), int(Template.size()));
  if (IsSeparator(Template[std::size_t(Pos - 1)])) ++Pos;
  if (Pos > int(Template.size())) return false;
  const Char Letter = Template[std::size_t(Pos - 1)];
  if (!IsElementLetter(Letter)) return false;
  const std::size_t Start = Template.find(Letter);
  std::size_t End = Start;
  while (End < Template.size() && Template[End] == Letter) ++End;
  ElementPos = int(Start) + 1;
  Len = int(End - Start);
  return true;
}

String StepDateTimeElement(const String& Text, const String& Template, bool Up, int& Pos,
                           int& Len) {
  int Start = 0, Length = 0;
  if (!FindDateElementAt(Template, Pos, Start, Length)) return Text;
  const Char Letter = Template[std::size_t(Start - 1)];
  int Min = 0, Max = 59;
  switch (Letter) {
    case u'D': Min = 1, Max = 31; break;
    case u'M': Min = 1, Max = 12; break;
    // A two-digit year wraps within its two digits.
    case u'Y': Min = Length == 2 ? 0 : 1, Max = Length == 2 ? 99 : 9999; break;
    case u'H': Min = 0, Max = 23; break;
    default: break;
  }
  // The text may be shorter than its template (a value typed or set from code): an element
  // past its end steps from nothing, like an empty one.
  const std::size_t From = std::min(std::size_t(Start - 1), Text.size());
  int N = std::max(ParseElementNumber(Text.substr(From, std::size_t(Length))), 0);
  if (Up) N = N >= Max ? Min : N + 1;
  else N = N <= Min ? Max : N - 1;
  String Digits = IntToStr(N);
  if (int(Digits.size()) < Length) Digits.insert(0, std::size_t(Length) - Digits.size(), u'0');
  String Result = Text;
  if (Result.size() < std::size_t(Start - 1 + Length))
    Result.resize(std::size_t(Start - 1 + Length), u' ');
  Result.replace(std::size_t(Start - 1), std::size_t(Length), Digits);
  Pos = Start;
  Len = Length;
  return Result;
}
