// SysUtilsFormat.cpp - Format: "%" [index ":"] ["-"] [width] ["." precision] type.
#include "platform/rtl/SysUtils.h"

#include "platform/rtl/SysUtils_p.h"

namespace {

struct TFormatSpec {
  bool LeftJustify = false;
  int Width = -1;
  int Precision = -1;
  Char Type = 0;
};

class TFormatter {
public:
  TFormatter(const String& Fmt, const TVarRec* Args, std::size_t Count, const TFormatSettings& FS)
      : FFmt(Fmt), FArgs(Args), FCount(Count), FS(FS) {}

  String Run() {
    String Out;
    for (std::size_t I = 0; I < FFmt.size();) {
      const std::size_t Percent = FFmt.find(u'%', I);
      if (Percent == String::npos) {
        Out.append(FFmt, I, String::npos);
        break;
      }
      Out.append(FFmt, I, Percent - I);
      FPos = Percent + 1;
      if (FPos < FFmt.size() && FFmt[FPos] == u'%') {
        Out.push_back(u'%');
        I = FPos + 1;
        continue;
      }
      const TFormatSpec Spec = ReadSpec();
      Out += Justify(Spec, Convert(Spec, NextArg()));
      I = FPos;
    }
    return Out;
  }

private:
  [[noreturn]] void Invalid() const {
    RaiseConvertError(u"Format '%s' invalid or incompatible with argument", FFmt);
  }

  const TVarRec& NextArg() {
    if (FArgIndex >= FCount) RaiseConvertError(u"No argument for format '%s'", FFmt);
    return FArgs[FArgIndex++];
  }

  bool AtDigit() const { return FPos < FFmt.size() && FFmt[FPos] >= u'0' && FFmt[FPos] <= u'9'; }

  // Digits, or '*' taking the number from the arguments; -1 when neither is there.
  int ReadNumber() {
    if (FPos < FFmt.size() && FFmt[FPos] == u'*') {
      ++FPos;
      const TVarRec& Arg = NextArg();
      if (Arg.Kind() != TVarRec::vtInteger && Arg.Kind() != TVarRec::vtInt64) Invalid();
      return static_cast<int>(Arg.AsInt64());
    }
    if (!AtDigit()) return -1;
    Int64 Value = 0;
    while (AtDigit()) {
      Value = Value * 10 + (FFmt[FPos++] - u'0');
      if (Value > 1000000) Invalid();
    }
    return static_cast<int>(Value);
  }

  TFormatSpec ReadSpec() {
    TFormatSpec Spec;
    int Number = ReadNumber();
    if (FPos < FFmt.size() && FFmt[FPos] == u':') {
      // An index: the following specifiers continue from it.
      if (Number < 0) Invalid();
      FArgIndex = static_cast<std::size_t>(Number);
      ++FPos;
      Number = -1;
    }
    if (Number < 0) {
      if (FPos < FFmt.size() && FFmt[FPos] == u'-') {
        Spec.LeftJustify = true;
        ++FPos;
      }
      Number = ReadNumber();
    }
    Spec.Width = Number;
    if (FPos < FFmt.size() && FFmt[FPos] == u'.') {
      ++FPos;
      Spec.Precision = ReadNumber();
      if (Spec.Precision < 0) Spec.Precision = 0;
    }
    if (FPos >= FFmt.size()) Invalid();
    Spec.Type = FFmt[FPos++];
    if (Spec.Type >= u'A' && Spec.Type <= u'Z') Spec.Type += 32;
    return Spec;
  }

  String Justify(const TFormatSpec& Spec, String Text) const {
    if (Spec.Width <= static_cast<int>(Text.size())) return Text;
    const String Pad(Spec.Width - Text.size(), u' ');
    return Spec.LeftJustify ? Text + Pad : Pad + Text;
  }

  static bool IsInteger(const TVarRec& Arg) {
    return Arg.Kind() == TVarRec::vtInteger || Arg.Kind() == TVarRec::vtInt64 ||
           Arg.Kind() == TVarRec::vtUInt64;
  }

  // Digits padded with zeros to Precision, the sign in front.
  static String PadDigits(String Digits, bool Negative, int Precision) {
    if (Precision > static_cast<int>(Digits.size()))
      Digits.insert(0, Precision - Digits.size(), u'0');
    return Negative ? u"-" + Digits : Digits;
  }

  String ConvertInteger(const TFormatSpec& Spec, const TVarRec& Arg) const {
    if (!IsInteger(Arg)) Invalid();
    const Int64 Value = Arg.AsInt64();
    switch (Spec.Type) {
      case u'd':
        if (Arg.Kind() == TVarRec::vtUInt64) return PadDigits(UIntToStr(static_cast<UInt64>(Value)), false, Spec.Precision);
        return PadDigits(UIntToStr(Value < 0 ? 0 - static_cast<UInt64>(Value) : static_cast<UInt64>(Value)),
                         Value < 0, Spec.Precision);
      case u'u':
        // A 32-bit argument prints as the unsigned 32-bit number with the same bits.
        if (Arg.Kind() == TVarRec::vtInteger)
          return PadDigits(UIntToStr(static_cast<std::uint32_t>(Value)), false, Spec.Precision);
        return PadDigits(UIntToStr(static_cast<UInt64>(Value)), false, Spec.Precision);
      default: {  // 'x'
        const UInt64 Bits = Arg.Kind() == TVarRec::vtInteger ? static_cast<std::uint32_t>(Value)
                                                             : static_cast<UInt64>(Value);
        return PadDigits(IntToHex(static_cast<Int64>(Bits), 1), false, Spec.Precision);
      }
    }
  }

  String ConvertFloat(const TFormatSpec& Spec, const TVarRec& Arg) const {
    TDecimal Dec;
    if (Arg.Kind() == TVarRec::vtExtended) Dec = MakeDecimal(Arg.AsExtended());
    else if (Arg.Kind() == TVarRec::vtCurrency) Dec = MakeDecimal(Arg.AsCurrency());
    else Invalid();
    const int P = Spec.Precision;
    switch (Spec.Type) {
      case u'e': return FormatDecimal(Dec, ffExponent, P < 0 ? 15 : P, 3, FS);
      case u'f': return FormatDecimal(Dec, ffFixed, 18, P < 0 ? 2 : P, FS);
      case u'g': return FormatDecimal(Dec, ffGeneral, P < 0 ? 15 : P, 0, FS);
      case u'n': return FormatDecimal(Dec, ffNumber, 18, P < 0 ? 2 : P, FS);
      default: return FormatDecimal(Dec, ffCurrency, 18, P < 0 ? FS.CurrencyDecimals : P, FS);
    }
  }

  String ConvertText(const TFormatSpec& Spec, const TVarRec& Arg) const {
    String Text;
    if (Arg.Kind() == TVarRec::vtString) Text = String(Arg.AsText());
    else if (Arg.Kind() == TVarRec::vtWideChar) Text = String(1, static_cast<Char>(Arg.AsInt64()));
    else Invalid();
    if (Spec.Precision >= 0 && Spec.Precision < static_cast<int>(Text.size())) Text.resize(Spec.Precision);
    return Text;
  }

  String Convert(const TFormatSpec& Spec, const TVarRec& Arg) const {
    switch (Spec.Type) {
      case u'd': case u'u': case u'x':
        return ConvertInteger(Spec, Arg);
      case u'e': case u'f': case u'g': case u'n': case u'm':
        return ConvertFloat(Spec, Arg);
      case u's':
        return ConvertText(Spec, Arg);
      case u'p':
        if (Arg.Kind() != TVarRec::vtPointer) Invalid();
        return IntToHex(static_cast<Int64>(reinterpret_cast<std::uintptr_t>(Arg.AsPointer())), 16);
      default:
        Invalid();
    }
  }

  const String& FFmt;
  const TVarRec* FArgs;
  std::size_t FCount;
  const TFormatSettings& FS;
  std::size_t FPos = 0;
  std::size_t FArgIndex = 0;
};

}  // namespace

String Format(const String& Fmt, const TVarRec* Args, std::size_t Count, const TFormatSettings& FS) {
  return TFormatter(Fmt, Args, Count, FS).Run();
}

String Format(const String& Fmt, std::initializer_list<TVarRec> Args) {
  return Format(Fmt, Args.begin(), Args.size(), FormatSettings);
}

String Format(const String& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& FS) {
  return Format(Fmt, Args.begin(), Args.size(), FS);
}

String Format(const String& Fmt, const std::vector<TVarRec>& Args) {
  return Format(Fmt, Args.data(), Args.size(), FormatSettings);
}

String Format(const String& Fmt, const std::vector<TVarRec>& Args, const TFormatSettings& FS) {
  return Format(Fmt, Args.data(), Args.size(), FS);
}
