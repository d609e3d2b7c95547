// ks_isysrtti.cpp - the system library: registration and the functions' bodies.
#include "script/ks_isysrtti.h"

#include <chrono>
#include <cmath>
#include <random>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/MaskUtils.h"
#include "platform/rtl/Math.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "script/ks_itools.h"

namespace {

using TBody = std::function<Variant(TksMethodHelper*)>;

std::mt19937_64& Generator() {
  static std::mt19937_64 G(12345);
  return G;
}

Variant IntResult(Int64 V) {
  // Results beyond 32 bits stay 64-bit rather than wrapping.
  if (V >= INT32_MIN && V <= INT32_MAX) return Variant(static_cast<int>(V));
  return Variant(static_cast<long long>(V));
}

double CheckedMath(double V, const char16_t* What) {
  if (std::isnan(V) || std::isinf(V)) throw EInvalidOp(String(u"Invalid floating point operation in ") + What);
  return V;
}

String Str(TksMethodHelper* H, int i) { return VarToStr(H->GetParam(i)); }
// The text of argument i, without a copy when it is a string (Keep holds it meanwhile).
const String& Text(TksMethodHelper* H, int i, Variant& Keep) {
  Keep = H->GetParam(i);
  if (!Keep.IsString()) Keep = Variant(VarToStr(Keep));
  return Keep.StringRef();
}
double Dbl(TksMethodHelper* H, int i) { return H->GetParam(i).AsDouble(); }
int Int(TksMethodHelper* H, int i) { return H->GetParam(i).AsInteger(); }

String NameCaseText(const String& S) {
  String R = AnsiLowerCase(S);
  for (size_t i = 0; i < R.size(); ++i)
    if (i == 0 || R[i - 1] == u' ') R[i] = ksUpChar(R[i]);
  return R;
}

}  // namespace

std::function<void(const String&)>& TksSysFunctions::OnShowMessage() {
  static std::function<void(const String&)> Hook = [](const String&) {};
  return Hook;
}

TksSysFunctions::TksSysFunctions(TksScript* S) : TksRTTIModule(S) {
  const std::pair<const char16_t*, TksVarType> Types[] = {
      {u"Byte", fvtInt},      {u"Word", fvtInt},       {u"Integer", fvtInt},   {u"Longint", fvtInt},
      {u"Cardinal", fvtInt},  {u"TColor", fvtInt},     {u"Boolean", fvtBool},  {u"Real", fvtFloat},
      {u"Single", fvtFloat},  {u"Double", fvtFloat},   {u"Extended", fvtFloat}, {u"Currency", fvtFloat},
      {u"TDate", fvtFloat},   {u"TTime", fvtFloat},    {u"TDateTime", fvtFloat}, {u"Char", fvtChar},
      {u"String", fvtString}, {u"Variant", fvtVariant}, {u"Pointer", fvtVariant}, {u"Array", fvtArray},
      {u"Constructor", fvtConstructor}};
  for (auto& [Name, Typ] : Types) S->AddType(Name, Typ);
  S->AddConst(u"True", u"Boolean", Variant(true));
  S->AddConst(u"False", u"Boolean", Variant(false));
  S->AddConst(u"nil", u"Variant", Variant(0));
  S->AddConst(u"Null", u"Variant", Variant::MakeNull());
  S->Add(u"__StringHelper", new TksStringHelper);
  S->Add(u"__ArrayHelper", new TksArrayHelper(u"__ArrayHelper", -1, fvtVariant, String()));
  S->AddVariable(u"ExceptionClassName", u"String", Variant(String()));
  S->AddVariable(u"ExceptionMessage", u"String", Variant(String()));

  auto Fn = [S](const char16_t* Syntax, const char16_t* Cat, TBody Body) {
    S->AddMethod(Syntax, [Body = std::move(Body)](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
      return Body(H);
    }, Cat);
  };
  // ctConv
  Fn(u"function IntToStr(i: Integer): String", u"ctConv", [](auto* H) { return Variant(IntToStr(H->GetParam(0).AsInt64())); });
  Fn(u"function FloatToStr(e: Extended): String", u"ctConv", [](auto* H) { return Variant(FloatToStr(Dbl(H, 0))); });
  Fn(u"function DateToStr(e: Extended): String", u"ctConv", [](auto* H) { return Variant(DateToStr(Dbl(H, 0))); });
  Fn(u"function TimeToStr(e: Extended): String", u"ctConv", [](auto* H) { return Variant(TimeToStr(Dbl(H, 0))); });
  Fn(u"function DateTimeToStr(e: Extended): String", u"ctConv", [](auto* H) { return Variant(DateTimeToStr(Dbl(H, 0))); });
  Fn(u"function BoolToStr(B: Boolean): string;", u"ctConv", [](auto* H) { return Variant(BoolToStr(H->GetParam(0).AsBoolean())); });
  Fn(u"function VarToStr(v: Variant): String", u"ctConv", [](auto* H) { return Variant(VarToStr(H->GetParam(0))); });
  Fn(u"function StrToInt(s: String): Integer", u"ctConv", [](auto* H) { return Variant(StrToInt(Str(H, 0))); });
  Fn(u"function StrToInt64(s: String): Integer", u"ctConv", [](auto* H) { return Variant(static_cast<long long>(StrToInt64(Str(H, 0)))); });
  Fn(u"function StrToFloat(s: String): Extended", u"ctConv", [](auto* H) { return Variant(static_cast<double>(StrToFloat(Str(H, 0)))); });
  Fn(u"function StrToDate(s: String): Extended", u"ctConv", [](auto* H) { return Variant::FromDateTime(StrToDate(Str(H, 0))); });
  Fn(u"function StrToTime(s: String): Extended", u"ctConv", [](auto* H) { return Variant::FromDateTime(StrToTime(Str(H, 0))); });
  Fn(u"function StrToDateTime(s: String): Extended", u"ctConv", [](auto* H) { return Variant::FromDateTime(StrToDateTime(Str(H, 0))); });
  Fn(u"function StrToBool(const S: string): Boolean;", u"ctConv", [](auto* H) { return Variant(H->GetParam(0).AsBoolean()); });
  // ctFormat
  Fn(u"function Format(Fmt: String; Args: array): String", u"ctFormat", [](auto* H) {
    return Variant(Format(Str(H, 0), VarRecsFromVariantArray(H->GetParam(1))));
  });
  Fn(u"function FormatFloat(Fmt: String; Value: Extended): String", u"ctFormat", [](auto* H) { return Variant(FormatFloat(Str(H, 0), Dbl(H, 1))); });
  Fn(u"function FormatDateTime(Fmt: String; DateTime: TDateTime): String", u"ctFormat", [](auto* H) { return Variant(FormatDateTime(Str(H, 0), Dbl(H, 1))); });
  Fn(u"function FormatMaskText(EditMask: string; Value: string): string", u"ctFormat", [](auto* H) { return Variant(FormatMaskText(Str(H, 0), Str(H, 1))); });
  // ctDate
  Fn(u"function EncodeDate(Year, Month, Day: Word): TDateTime", u"ctDate", [](auto* H) {
    return Variant::FromDateTime(EncodeDate(Int(H, 0), Int(H, 1), Int(H, 2)));
  });
  Fn(u"procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)", u"ctDate", [](auto* H) {
    Word Y, M, D;
    DecodeDate(Dbl(H, 0), Y, M, D);
    H->SetArgValue(1, Variant(Y));
    H->SetArgValue(2, Variant(M));
    H->SetArgValue(3, Variant(D));
    return Variant(0);
  });
  Fn(u"function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime", u"ctDate", [](auto* H) {
    return Variant::FromDateTime(EncodeTime(Int(H, 0), Int(H, 1), Int(H, 2), Int(H, 3)));
  });
  Fn(u"procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)", u"ctDate", [](auto* H) {
    Word A, B, C, D;
    DecodeTime(Dbl(H, 0), A, B, C, D);
    H->SetArgValue(1, Variant(A));
    H->SetArgValue(2, Variant(B));
    H->SetArgValue(3, Variant(C));
    H->SetArgValue(4, Variant(D));
    return Variant(0);
  });
  Fn(u"function Date: TDateTime", u"ctDate", [](auto*) { return Variant::FromDateTime(std::floor(Now())); });
  Fn(u"function Time: TDateTime", u"ctDate", [](auto*) { double N = Now(); return Variant::FromDateTime(N - std::floor(N)); });
  Fn(u"function Now: TDateTime", u"ctDate", [](auto*) { return Variant::FromDateTime(Now()); });
  Fn(u"function DayOfWeek(aDate: TDateTime): Integer", u"ctDate", [](auto* H) { return Variant(static_cast<int>(DayOfWeek(Dbl(H, 0)))); });
  Fn(u"function IsLeapYear(Year: Word): Boolean", u"ctDate", [](auto* H) { return Variant(IsLeapYear(Int(H, 0))); });
  Fn(u"function DaysInMonth(nYear, nMonth: Integer): Integer", u"ctDate", [](auto* H) {
    int M = Int(H, 1);
    if (M < 1 || M > 12) throw EConvertError(u"Invalid month: " + IntToStr(M));
    return Variant(static_cast<int>(DaysInAMonth(static_cast<Word>(Int(H, 0)), static_cast<Word>(M))));
  });
  // ctString
  Fn(u"function Length(s: Variant): Integer", u"ctString", [](auto* H) {
    Variant V = H->GetParam(0);
    if (V.IsArray()) return Variant(V.ArrayLength());
    return Variant(static_cast<int>(V.IsString() ? V.StringRef().size() : VarToStr(V).size()));
  });
  Fn(u"function Copy(s: String; from, count: Integer): String", u"ctString", [](auto* H) {
    Variant Keep;
    return Variant(Copy(Text(H, 0, Keep), Int(H, 1), Int(H, 2)));
  });
  Fn(u"function Pos(substr, s: String): Integer", u"ctString", [](auto* H) {
    Variant Keep0, Keep1;
    return Variant(Pos(Text(H, 0, Keep0), Text(H, 1, Keep1)));
  });
  for (const char16_t* Syntax : {u"procedure Delete(var s: String; from, count: Integer)",
                                 u"procedure DeleteStr(var s: String; from, count: Integer)"})
    Fn(Syntax, u"ctString", [](auto* H) {
      String T = Str(H, 0);
      Delete(T, Int(H, 1), Int(H, 2));
      H->SetArgValue(0, Variant(T));
      return Variant(0);
    });
  Fn(u"procedure Insert(s: String; var s2: String; pos: Integer)", u"ctString", [](auto* H) {
    String T = Str(H, 1);
    Insert(Str(H, 0), T, Int(H, 2));
    H->SetArgValue(1, Variant(T));
    return Variant(0);
  });
  Fn(u"function Uppercase(s: String): String", u"ctString", [](auto* H) { return Variant(AnsiUpperCase(Str(H, 0))); });
  Fn(u"function Lowercase(s: String): String", u"ctString", [](auto* H) { return Variant(AnsiLowerCase(Str(H, 0))); });
  Fn(u"function Trim(s: String): String", u"ctString", [](auto* H) { return Variant(Trim(Str(H, 0))); });
  Fn(u"function NameCase(s: String): String", u"ctString", [](auto* H) { return Variant(NameCaseText(Str(H, 0))); });
  Fn(u"function CompareText(s, s1: String): Integer", u"ctString", [](auto* H) { return Variant(AnsiCompareText(Str(H, 0), Str(H, 1))); });
  Fn(u"function Chr(i: Integer): Char", u"ctString", [](auto* H) { return Variant(static_cast<char16_t>(Int(H, 0))); });
  Fn(u"function Ord(ch: Char): Integer", u"ctString", [](auto* H) {
    String T = Str(H, 0);
    return Variant(static_cast<int>(T.empty() ? 0 : T[0]));
  });
  Fn(u"procedure SetLength(var S: Variant; L: Integer)", u"ctString", [](auto* H) {
    Variant V = H->GetParam(0);
    int L = Int(H, 1);
    if (V.IsString()) {
      String T = V.StringRef();
      T.resize(std::max(0, L), u' ');
      H->SetArgValue(0, Variant(T));
    } else {
      VarArrayRedim(V, L - 1);
      H->SetArgValue(0, V);
    }
    return Variant(0);
  });
  // ctMath
  Fn(u"function Round(e: Extended): Integer", u"ctMath", [](auto* H) { return IntResult(Round(Dbl(H, 0))); });
  Fn(u"function Trunc(e: Extended): Integer", u"ctMath", [](auto* H) { return IntResult(Trunc(Dbl(H, 0))); });
  Fn(u"function Int(e: Extended): Integer", u"ctMath", [](auto* H) { return Variant(std::trunc(Dbl(H, 0))); });
  Fn(u"function Frac(X: Extended): Extended", u"ctMath", [](auto* H) { double X = Dbl(H, 0); return Variant(X - std::trunc(X)); });
  Fn(u"function Sqrt(e: Extended): Extended", u"ctMath", [](auto* H) { return Variant(CheckedMath(std::sqrt(Dbl(H, 0)), u"Sqrt")); });
  Fn(u"function Abs(e: Extended): Extended", u"ctMath", [](auto* H) { return Variant(std::fabs(Dbl(H, 0))); });
  Fn(u"function Sin(e: Extended): Extended", u"ctMath", [](auto* H) { return Variant(std::sin(Dbl(H, 0))); });
  Fn(u"function Cos(e: Extended): Extended", u"ctMath", [](auto* H) { return Variant(std::cos(Dbl(H, 0))); });
  Fn(u"function ArcTan(X: Extended): Extended", u"ctMath", [](auto* H) { return Variant(std::atan(Dbl(H, 0))); });
  Fn(u"function Tan(X: Extended): Extended", u"ctMath", [](auto* H) { double X = Dbl(H, 0); return Variant(std::sin(X) / std::cos(X)); });
  Fn(u"function Exp(X: Extended): Extended", u"ctMath", [](auto* H) { return Variant(CheckedMath(std::exp(Dbl(H, 0)), u"Exp")); });
  Fn(u"function Ln(X: Extended): Extended", u"ctMath", [](auto* H) { return Variant(CheckedMath(std::log(Dbl(H, 0)), u"Ln")); });
  Fn(u"function Pi: Extended", u"ctMath", [](auto*) { return Variant(3.1415926535897932385); });
  // ctOther
  Fn(u"procedure Inc(var i: Integer; incr: Integer = 1)", u"ctOther", [](auto* H) {
    H->SetArgValue(0, H->GetParam(0) + H->GetParam(1));
    return Variant(0);
  });
  Fn(u"procedure Dec(var i: Integer; decr: Integer = 1)", u"ctOther", [](auto* H) {
    H->SetArgValue(0, H->GetParam(0) - H->GetParam(1));
    return Variant(0);
  });
  Fn(u"procedure RaiseException(Param: String)", u"ctOther", [](auto* H) -> Variant { throw Exception(Str(H, 0)); });
  Fn(u"procedure ShowMessage(Msg: Variant)", u"ctOther", [](auto* H) {
    OnShowMessage()(VarToStr(H->GetParam(0)));
    return Variant(0);
  });
  Fn(u"procedure Randomize", u"ctOther", [](auto*) {
    Generator().seed(std::chrono::steady_clock::now().time_since_epoch().count());
    return Variant(0);
  });
  Fn(u"function Random: Extended", u"ctOther", [](auto*) {
    return Variant(std::uniform_real_distribution<double>(0.0, 1.0)(Generator()));
  });
  Fn(u"function ValidInt(cInt: String): Boolean", u"ctOther", [](auto* H) { Integer V; return Variant(TryStrToInt(Str(H, 0), V)); });
  Fn(u"function ValidFloat(cFlt: String): Boolean", u"ctOther", [](auto* H) { Extended V; return Variant(TryStrToFloat(Str(H, 0), V)); });
  Fn(u"function ValidDate(cDate: String): Boolean", u"ctOther", [](auto* H) {
    Variant V = H->GetParam(0);
    String T = V.VType() == varDate ? DateToStr(V.AsDateTime()) : VarToStr(V);
    TDateTime D;
    return Variant(TryStrToDate(T, D));
  });
  Fn(u"function ExtractFilePath(const FileName: string): string;", u"ctOther", [](auto* H) { return Variant(ExtractFilePath(Str(H, 0))); });
  Fn(u"function VarArrayCreate(Bounds: Array; Typ: Integer): Variant", u"ctOther", [](auto* H) {
    Variant B = H->GetParam(0);
    std::vector<int> List;
    for (int i = B.ArrayLowBound(); i <= B.ArrayHighBound(); ++i) List.push_back(B[i].AsInteger());
    return VarArrayCreate(List, static_cast<TVarType>(Int(H, 1)));
  });
  // Scripts naming automation objects still compile; running the call says why it fails.
  Fn(u"function CreateOleObject(const ClassName: String): Variant", u"ctOther", [](auto* H) -> Variant {
    throw EOleError(u"Automation is not available: " + Str(H, 0));
  });
  Fn(u"function VarType(V: Variant): Integer", u"ctOther", [](auto* H) { return Variant(static_cast<int>(VarType(H->GetParam(0)))); });

  const std::pair<const char16_t*, int> Codes[] = {
      {u"varEmpty", 0},      {u"varNull", 1},       {u"varSmallint", 2},  {u"varInteger", 3},
      {u"varSingle", 4},     {u"varDouble", 5},     {u"varCurrency", 6},  {u"varDate", 7},
      {u"varOleStr", 8},     {u"varDispatch", 9},   {u"varError", 10},    {u"varBoolean", 11},
      {u"varVariant", 12},   {u"varUnknown", 13},   {u"varShortInt", 16}, {u"varByte", 17},
      {u"varWord", 18},      {u"varLongWord", 19},  {u"varInt64", 20},    {u"varStrArg", 0x48},
      {u"varString", 0x100}, {u"varAny", 0x101},    {u"varTypeMask", 0xFFF}, {u"varArray", 0x2000},
      {u"varByRef", 0x4000}};
  for (auto& [Name, Code] : Codes) S->AddConst(Name, u"Integer", Variant(Code));
}
