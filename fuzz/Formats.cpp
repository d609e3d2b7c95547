// Formats.cpp - fuzz target: the run-time library's formatting and conversion routines with a
// format and a value text taken from the input (split at its first line break).
#include "fuzz/FuzzTarget.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static TFormatSettingsScope Russian(TFormatSettings::Russian());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const String Input = FuzzText(Data, Size);
  const std::size_t Break = Input.find(u'\n');
  const String Fmt = Input.substr(0, Break);
  const String Value = Break == String::npos ? String() : Input.substr(Break + 1);
  Extended Number = 0;
  TDateTime Date = 45000.25;
  FuzzRun([&] { Number = StrToFloat(Value); });
  FuzzRun([&] { (void)StrToInt64(Value); });
  FuzzRun([&] { (void)StrToCurr(Value); });
  FuzzRun([&] { Date = StrToDateTime(Value); });
  FuzzRun([&] { (void)StrToDate(Value); });
  FuzzRun([&] { (void)StrToTime(Value); });
  FuzzRun([&] { (void)StrToBool(Value); });
  FuzzRun([&] { (void)FormatFloat(Fmt, Number); });
  FuzzRun([&] { (void)FormatCurr(Fmt, Currency::FromRaw(static_cast<Int64>(Size) * 12345)); });
  FuzzRun([&] { (void)FormatDateTime(Fmt, Date); });
  FuzzRun([&] { (void)Format(Fmt, {TVarRec(42), TVarRec(Value), TVarRec(Number), TVarRec(-7)}); });
  FuzzRun([&] { (void)FloatToStrF(Number, ffGeneral, 15, 2); });
  FuzzRun([&] { (void)FloatToStr(Number); });
  return 0;
}
