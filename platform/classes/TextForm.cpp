// TextForm.cpp - the text form of component streams and its conversions to and from binary.
//
//   object Form1: TForm1
//     Caption = 'Заказ №'#9'1'
//     Font.Style = [fsBold]
//     Lines.Strings = (
//       'first'
//       'second')
//     Columns = <
//       item
//         Width = 64
//       end>
//     Data = {
//       0102FF}
//     object Button1: TButton
//       OnClick = Button1Click
//     end
//   end
//
// Text is UTF-8. Strings are quoted with '' for a quote, characters below 32 (and unpaired
// surrogates) as #n, everything else as it stands; strings longer than 64 characters continue
// on the next line after " +". Floats are written in their shortest exact form with a "."
// (suffix s for Single, c for Currency, d for a date). A number without a suffix is a double
// (vaDouble) when it is written as a double's shortest form, else an extended (vaExtended);
// an extended whose shortest form would read as a double gets one more "0" ("1.50").
// Converting the writer's binary output to text and back gives the same bytes.
#include "platform/classes/Filer.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/classes/Filer_p.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

using namespace filer_detail;

namespace {

// --- Binary to text -----------------------------------------------------------------------------

template <class F>
std::string FloatText(F Value) {
  char Buffer[64];
  auto [End, Error] = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
  std::string Text(Buffer, Error == std::errc() ? End : Buffer);
  for (char& C : Text)
    if (C == 'e') C = 'E';
  if (Text.find_first_of(".En") == std::string::npos) {
    std::size_t Exp = Text.find('E');
    Text.insert(Exp == std::string::npos ? Text.size() : Exp, ".0");
  }
  return Text;
}

// The double that Text is the shortest form of, if it is one.
std::optional<double> ShortestDouble(std::string_view Text) {
  double Value = 0;
  auto [Ptr, Err] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  if (Err != std::errc() || Ptr != Text.data() + Text.size() || FloatText(Value) != Text)
    return std::nullopt;
  return Value;
}

std::string ExtendedText(Extended Value) {
  std::string Text = FloatText(Value);
  if (Text.find('n') != std::string::npos || !ShortestDouble(Text)) return Text;
  const std::size_t Exp = std::min(Text.find('E'), Text.size());
  Text.insert(Exp, Text.find('.') == std::string::npos ? ".0" : "0");
  return Text;
}

std::string CurrencyText(Int64 Raw) {
  bool Negative = Raw < 0;
  UInt64 Abs = Negative ? 0 - static_cast<UInt64>(Raw) : static_cast<UInt64>(Raw);
  std::string Fraction = std::to_string(Abs % 10000);
  Fraction.insert(0, 4 - Fraction.size(), '0');
  while (Fraction.size() > 1 && Fraction.back() == '0') Fraction.pop_back();
  return (Negative ? "-" : "") + std::to_string(Abs / 10000) + "." + Fraction;
}

// Counts one nested object, list or collection for a converter's lifetime in it; past the
// reader's limit (kMaxDepth) it calls the converter's error, as the reader itself would.
template <class TFail>
class TNestingGuard {
public:
  TNestingGuard(int& Depth, TFail Fail) : FDepth(Depth) {
    if (FDepth >= kMaxDepth) Fail();
    ++FDepth;
  }
  ~TNestingGuard() { --FDepth; }
  TNestingGuard(const TNestingGuard&) = delete;
  TNestingGuard& operator=(const TNestingGuard&) = delete;

private:
  int& FDepth;
};

const char16_t kNestingTooDeep[] = u"Nesting too deep";

class TBinaryToText {
public:
  TBinaryToText(TStream* Input, std::string& Out) : FReader(Input), FOut(Out) {}

  void Convert() {
    FReader.ReadSignature();
    ConvertObject(0);
  }

private:
  void NewLine(int Indent) {
    FOut += '\n';
    FOut.append(Indent, ' ');
  }

  void TooDeep() { FReader.ReadError(kNestingTooDeep); }

  void ConvertObject(int Indent) {
    TNestingGuard Guard(FDepth, [this] { TooDeep(); });
    TFilerFlags Flags;
    int ChildPos = 0;
    FReader.ReadPrefix(Flags, ChildPos);
    std::string ClassName = StringToUtf8(FReader.ReadStr());
    std::string Name = StringToUtf8(FReader.ReadStr());
    FOut.append(Indent, ' ');
    FOut += Flags.Contains(ffInherited) ? "inherited " : Flags.Contains(ffInline) ? "inline " : "object ";
    if (!Name.empty()) FOut += Name + ": ";
    FOut += ClassName;
    if (Flags.Contains(ffChildPos)) FOut += " [" + std::to_string(ChildPos) + "]";
    FOut += '\n';
    while (!FReader.EndOfList()) ConvertProperty(Indent + 2);
    FReader.ReadListEnd();
    while (!FReader.EndOfList()) ConvertObject(Indent + 2);
    FReader.ReadListEnd();
    FOut.append(Indent, ' ');
    FOut += "end\n";
  }

  void ConvertProperty(int Indent) {
    FOut.append(Indent, ' ');
    FOut += StringToUtf8(FReader.ReadStr()) + " = ";
    ConvertValue(Indent);
    FOut += '\n';
  }

  void ConvertValue(int Indent) {
    switch (FReader.NextValue()) {
      case vaList: {
        TNestingGuard Guard(FDepth, [this] { TooDeep(); });
        FReader.ReadListBegin();
        FOut += '(';
        while (!FReader.EndOfList()) {
          NewLine(Indent + 2);
          ConvertValue(Indent + 2);
        }
        FReader.ReadListEnd();
        FOut += ')';
        return;
      }
      case vaInt8: case vaInt16: case vaInt32: case vaInt64:
        FOut += std::to_string(FReader.ReadInt64());
        return;
      case vaExtended: FOut += ExtendedText(FReader.ReadFloat()); return;
      case vaDouble: FOut += FloatText(static_cast<double>(FReader.ReadFloat())); return;
      case vaSingle: FOut += FloatText(FReader.ReadSingle()) + "s"; return;
      case vaCurrency: FOut += CurrencyText(FReader.ReadCurrency().Raw()) + "c"; return;
      case vaDate: FOut += FloatText(FReader.ReadDate()) + "d"; return;
      case vaString: case vaLString: case vaWString: case vaUTF8String:
        ConvertString(FReader.ReadString(), Indent);
        return;
      case vaIdent: case vaFalse: case vaTrue: case vaNil: case vaNull:
        FOut += StringToUtf8(FReader.ReadIdent());
        return;
      case vaBinary: {
        FReader.ReadValue();
        ConvertBinary(Indent);
        return;
      }
      case vaSet: {
        FReader.ReadValue();
        FOut += '[';
        bool First = true;
        for (String Name = FReader.ReadStr(); !Name.empty(); Name = FReader.ReadStr()) {
          if (!First) FOut += ", ";
          FOut += StringToUtf8(Name);
          First = false;
        }
        FOut += ']';
        return;
      }
      case vaCollection: ConvertCollection(Indent); return;
    }
  }

  void ConvertBinary(int Indent) {
    unsigned char Length[4];
    FReader.Stream()->ReadBuffer(Length, 4);
    std::int32_t Count;
    std::memcpy(&Count, Length, 4);
    if (Count < 0 || Count > FReader.Stream()->Size() - FReader.Stream()->Position())
      FReader.ReadError(u"Stream read error");
    std::string Data(static_cast<std::size_t>(Count), '\0');
    FReader.Stream()->ReadBuffer(Data.data(), Count);
    static const char Hex[] = "0123456789ABCDEF";
    FOut += '{';
    for (std::size_t I = 0; I < Data.size(); ++I) {
      if (I % 32 == 0) NewLine(Indent + 2);
      unsigned char B = static_cast<unsigned char>(Data[I]);
      FOut += Hex[B >> 4];
      FOut += Hex[B & 15];
    }
    FOut += '}';
  }

  void ConvertCollection(int Indent) {
    TNestingGuard Guard(FDepth, [this] { TooDeep(); });
    FReader.ReadValue();
    FOut += '<';
    while (!FReader.EndOfList()) {
      NewLine(Indent + 2);
      FOut += "item";
      TValueType Tag = FReader.NextValue();
      if (Tag == vaInt8 || Tag == vaInt16 || Tag == vaInt32)
        FOut += " [" + std::to_string(FReader.ReadInteger()) + "]";
      FReader.ReadListBegin();
      FOut += '\n';
      while (!FReader.EndOfList()) ConvertProperty(Indent + 4);
      FReader.ReadListEnd();
      FOut.append(Indent + 2, ' ');
      FOut += "end";
    }
    FReader.ReadListEnd();
    FOut += '>';
  }

  void ConvertString(const String& Value, int Indent) {
    if (Value.empty()) {
      FOut += "''";
      return;
    }
    bool Quoted = false;
    for (std::size_t I = 0; I < Value.size(); ++I) {
      if (I > 0 && I % 64 == 0) {
        if (Quoted) FOut += '\'';
        Quoted = false;
        FOut += " +";
        NewLine(Indent + 2);
      }
      Char C = Value[I];
      bool HighSurrogate = C >= 0xD800 && C < 0xDC00;
      bool Paired = HighSurrogate && I + 1 < Value.size() && Value[I + 1] >= 0xDC00 &&
                    Value[I + 1] < 0xE000 && (I + 1) % 64 != 0;
      bool Lone = (C >= 0xD800 && C < 0xE000) && !Paired;
      if (C < 32 || Lone) {
        if (Quoted) FOut += '\'';
        Quoted = false;
        FOut += '#' + std::to_string(C);
        continue;
      }
      if (!Quoted) FOut += '\'';
      Quoted = true;
      if (C == u'\'') {
        FOut += "''";
      } else if (Paired) {
        FOut += StringToUtf8(Value.substr(I, 2));
        ++I;
      } else {
        FOut += StringToUtf8(std::u16string_view(&Value[I], 1));
      }
    }
    if (Quoted) FOut += '\'';
  }

  TReader FReader;
  std::string& FOut;
  int FDepth = 0;
};

// --- Text to binary -----------------------------------------------------------------------------

enum TTokenKind { tkEnd, tkSymbol, tkName, tkInt, tkFloatNum, tkStr };

class TTextToBinary {
public:
  TTextToBinary(std::string_view Text, TStream* Output) : FText(Text), FWriter(Output) {}

  void Convert() {
    Next();
    FWriter.WriteSignature();
    ConvertObject();
    if (FKind != tkEnd) Error(u"End of text expected");
  }

private:
  [[noreturn]] void Error(const String& Reason) {
    throw EReadError(Reason + u" on line " + IntToStr(FTokenLine));
  }

  static bool IsIdentStart(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
  }
  static bool IsDigit(char C) { return C >= '0' && C <= '9'; }

  void SkipBlanks() {
    while (FPos < FText.size()) {
      char C = FText[FPos];
      if (C == '\n') ++FLine;
      if (C != ' ' && C != '\t' && C != '\r' && C != '\n') break;
      ++FPos;
    }
  }

  void Next() {
    SkipBlanks();
    FTokenLine = FLine;
    FToken.clear();
    if (FPos >= FText.size()) {
      FKind = tkEnd;
      return;
    }
    char C = FText[FPos];
    if (IsIdentStart(C)) {
      std::size_t Start = FPos;
      while (FPos < FText.size() && (IsIdentStart(FText[FPos]) || IsDigit(FText[FPos]) || FText[FPos] == '.'))
        ++FPos;
      FToken = FText.substr(Start, FPos - Start);
      FKind = tkName;
      return;
    }
    if (IsDigit(C) || ((C == '-' || C == '+') && FPos + 1 < FText.size() && IsDigit(FText[FPos + 1]))) {
      ScanNumber();
      return;
    }
    if (C == '\'' || C == '#') {
      ScanString();
      return;
    }
    FKind = tkSymbol;
    FToken = std::string(1, C);
    ++FPos;
  }

  void ScanNumber() {
    std::size_t Start = FPos;
    ++FPos;
    bool Float = false;
    while (FPos < FText.size()) {
      char C = FText[FPos];
      if (IsDigit(C)) {
        ++FPos;
      } else if (C == '.' || C == 'E' || C == 'e') {
        Float = true;
        ++FPos;
        if ((C == 'E' || C == 'e') && FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-'))
          ++FPos;
      } else {
        break;
      }
    }
    FToken = FText.substr(Start, FPos - Start);
    FKind = Float ? tkFloatNum : tkInt;
    FSuffix = 0;
    if (FPos < FText.size() && (FText[FPos] == 's' || FText[FPos] == 'c' || FText[FPos] == 'd')) {
      FSuffix = FText[FPos++];
      FKind = tkFloatNum;
    }
  }

  // 'text'#13#10'more' + (next line) 'rest'
  void ScanString() {
    FString.clear();
    for (;;) {
      if (FPos < FText.size() && FText[FPos] == '\'') {
        ++FPos;
        std::string Bytes;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == '\n') Error(u"Unterminated string");
          if (FText[FPos] == '\'') {
            if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
              Bytes += '\'';
              FPos += 2;
              continue;
            }
            ++FPos;
            break;
          }
          Bytes += FText[FPos++];
        }
        FString += Utf8ToString(Bytes);
      } else if (FPos < FText.size() && FText[FPos] == '#') {
        ++FPos;
        std::size_t Start = FPos;
        while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
        unsigned Code = 0;
        auto [Ptr, Err] = std::from_chars(FText.data() + Start, FText.data() + FPos, Code);
        if (Start == FPos || Err != std::errc() || Ptr != FText.data() + FPos || Code > 0xFFFF)
          Error(u"Invalid character code");
        FString += static_cast<Char>(Code);
      } else {
        // A '+' joins the string with the one on the next line.
        std::size_t Save = FPos;
        int SaveLine = FLine;
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == '+') {
          ++FPos;
          SkipBlanks();
          if (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) continue;
          Error(u"String expected after '+'");
        }
        FPos = Save;
        FLine = SaveLine;
        break;
      }
    }
    FKind = tkStr;
  }

  bool IsSymbol(char C) const { return FKind == tkSymbol && FToken[0] == C; }
  bool IsWord(const char* Word) const {
    return FKind == tkName && SameText(Utf8ToString(FToken), Utf8ToString(Word));
  }
  void Expect(char C) {
    if (!IsSymbol(C)) Error(Format(u"'%s' expected", {String(1, static_cast<Char>(C))}));
    Next();
  }
  String ExpectName() {
    if (FKind != tkName) Error(u"Identifier expected");
    String Name = Utf8ToString(FToken);
    Next();
    return Name;
  }
  Int64 ExpectInt() {
    if (FKind != tkInt) Error(u"Integer expected");
    Int64 Value = 0;
    const char* First = FToken.data() + (FToken[0] == '+' ? 1 : 0);
    auto [Ptr, Err] = std::from_chars(First, FToken.data() + FToken.size(), Value);
    if (Err != std::errc() || Ptr != FToken.data() + FToken.size()) Error(u"Integer out of range");
    Next();
    return Value;
  }

  void ConvertObject() {
    TNestingGuard Guard(FDepth, [this] { Error(kNestingTooDeep); });
    TFilerFlags Flags;
    if (IsWord("inherited"))
      Flags.Include(ffInherited);
    else if (IsWord("inline"))
      Flags.Include(ffInline);
    else if (!IsWord("object"))
      Error(u"'object' expected");
    Next();
    String First = ExpectName();
    String Name, ClassName = First;
    if (IsSymbol(':')) {
      Next();
      Name = First;
      ClassName = ExpectName();
    }
    int ChildPos = 0;
    if (IsSymbol('[')) {
      Next();
      ChildPos = static_cast<int>(ExpectInt());
      Flags.Include(ffChildPos);
      Expect(']');
    }
    FWriter.WritePrefix(Flags, ChildPos);
    FWriter.WriteStr(ClassName);
    FWriter.WriteStr(Name);
    while (FKind == tkName && !IsWord("end") && !IsWord("object") && !IsWord("inherited") &&
           !IsWord("inline"))
      ConvertProperty();
    FWriter.WriteListEnd();
    while (!IsWord("end")) {
      if (FKind == tkEnd) Error(u"'end' expected");
      ConvertObject();
    }
    Next();
    FWriter.WriteListEnd();
  }

  void ConvertProperty() {
    FWriter.WriteStr(ExpectName());
    Expect('=');
    ConvertValue();
  }

  void ConvertValue() {
    switch (FKind) {
      case tkInt: FWriter.WriteInteger(ExpectInt()); return;
      case tkFloatNum: ConvertFloat(); return;
      case tkStr:
        FWriter.WriteString(FString);
        Next();
        return;
      case tkName: {
        String Ident = ExpectName();
        if (Ident == u"False") return FWriter.WriteBoolean(false);
        if (Ident == u"True") return FWriter.WriteBoolean(true);
        if (Ident == u"nil") return FWriter.WriteValue(vaNil);
        if (Ident == u"Null") return FWriter.WriteValue(vaNull);
        return FWriter.WriteIdent(Ident);
      }
      case tkSymbol: break;
      case tkEnd: Error(u"Value expected");
    }
    char C = FToken[0];
    if (C == '(') {
      TNestingGuard Guard(FDepth, [this] { Error(kNestingTooDeep); });
      Next();
      FWriter.WriteListBegin();
      while (!IsSymbol(')')) {
        if (FKind == tkEnd) Error(u"')' expected");
        ConvertValue();
      }
      Next();
      FWriter.WriteListEnd();
    } else if (C == '[') {
      Next();
      FWriter.WriteValue(vaSet);
      while (!IsSymbol(']')) {
        FWriter.WriteStr(ExpectName());
        if (IsSymbol(',')) Next();
        else if (!IsSymbol(']')) Error(u"']' expected");
      }
      Next();
      FWriter.WriteStr(String());
    } else if (C == '<') {
      ConvertCollection();
    } else if (C == '{') {
      ConvertBinary();
    } else {
      Error(u"Value expected");
    }
  }

  void ConvertFloat() {
    const char* First = FToken.data() + (FToken[0] == '+' ? 1 : 0);
    const char* Last = FToken.data() + FToken.size();
    if (FSuffix == 'c') {
      ConvertCurrency(First, Last);
    } else {
      // Each kind read at its own precision, so that nothing is rounded twice.
      if (FSuffix == 's')
        FWriter.WriteSingle(ParseFloat<Single>(First, Last));
      else if (FSuffix == 'd')
        FWriter.WriteDate(ParseFloat<TDateTime>(First, Last));
      else if (auto Double = ShortestDouble(std::string_view(First, std::size_t(Last - First))))
        FWriter.WriteDouble(*Double);
      else
        FWriter.WriteFloat(ParseFloat<Extended>(First, Last));
    }
    Next();
  }

  template <class F>
  F ParseFloat(const char* First, const char* Last) {
    F Value = 0;
    auto [Ptr, Err] = std::from_chars(First, Last, Value);
    if (Err != std::errc() || Ptr != Last) Error(u"Invalid floating point number");
    return Value;
  }

  // Exact: "-12.3456" becomes the raw value -123456.
  void ConvertCurrency(const char* First, const char* Last) {
    bool Negative = First < Last && *First == '-';
    if (Negative) ++First;
    Int64 Whole = 0, Fraction = 0;
    const char* Dot = std::find(First, Last, '.');
    auto [P1, E1] = std::from_chars(First, Dot, Whole);
    int Digits = 0;
    if (Dot != Last) {
      for (const char* P = Dot + 1; P < Last; ++P, ++Digits) {
        if (!IsDigit(*P) || Digits >= 4) Error(u"Invalid currency value");
        Fraction = Fraction * 10 + (*P - '0');
      }
    }
    if (E1 != std::errc() || P1 != Dot || Whole > INT64_MAX / 10000) Error(u"Invalid currency value");
    while (Digits++ < 4) Fraction *= 10;
    // The whole range, up to 922337203685477.5807 and down to -922337203685477.5808.
    const UInt64 Raw = static_cast<UInt64>(Whole) * 10000 + static_cast<UInt64>(Fraction);
    if (Raw > static_cast<UInt64>(INT64_MAX) + (Negative ? 1 : 0)) Error(u"Invalid currency value");
    FWriter.WriteCurrency(Currency::FromRaw(static_cast<Int64>(Negative ? 0 - Raw : Raw)));
  }

  void ConvertCollection() {
    TNestingGuard Guard(FDepth, [this] { Error(kNestingTooDeep); });
    Next();
    FWriter.WriteValue(vaCollection);
    while (!IsSymbol('>')) {
      if (!IsWord("item")) Error(u"'item' expected");
      Next();
      if (IsSymbol('[')) {
        Next();
        FWriter.WriteInteger(ExpectInt());
        Expect(']');
      }
      FWriter.WriteListBegin();
      while (!IsWord("end")) {
        if (FKind != tkName) Error(u"'end' expected");
        ConvertProperty();
      }
      Next();
      FWriter.WriteListEnd();
    }
    Next();
    FWriter.WriteListEnd();
  }

  // The bytes between the braces, read straight from the text.
  void ConvertBinary() {
    std::string Bytes;
    int High = -1;
    for (;;) {
      if (FPos >= FText.size()) Error(u"'}' expected");
      char C = FText[FPos++];
      if (C == '}') break;
      if (C == '\n') ++FLine;
      if (C == ' ' || C == '\t' || C == '\r' || C == '\n') continue;
      int Digit = IsDigit(C) ? C - '0' : (C >= 'A' && C <= 'F') ? C - 'A' + 10
                                       : (C >= 'a' && C <= 'f') ? C - 'a' + 10 : -1;
      if (Digit < 0) Error(u"Invalid binary value");
      if (High < 0) {
        High = Digit;
      } else {
        Bytes += static_cast<char>(High * 16 + Digit);
        High = -1;
      }
    }
    if (High >= 0) Error(u"Invalid binary value");
    FWriter.WriteBinary([&Bytes](TStream* S) { S->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size())); });
    Next();
  }

  std::string_view FText;
  TWriter FWriter;
  std::size_t FPos = 0;
  int FLine = 1;
  int FTokenLine = 1;
  TTokenKind FKind = tkEnd;
  std::string FToken;
  String FString;
  char FSuffix = 0;
  int FDepth = 0;
};

}  // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output) {
  std::string Text;
  TBinaryToText(Input, Text).Convert();
  Output->WriteBuffer(Text.data(), static_cast<Int64>(Text.size()));
}

void ObjectTextToBinary(TStream* Input, TStream* Output) {
  std::string Text = ReadRestOfStream(Input);
  std::string_view View = Text;
  if (View.substr(0, 3) == "\xEF\xBB\xBF") View.remove_prefix(3);
  TTextToBinary(View, Output).Convert();
}

String ComponentToText(TComponent* Root) {
  TMemoryStream Binary;
  WriteComponentToStream(Root, &Binary);
  Binary.SetPosition(0);
  TMemoryStream Text;
  ObjectBinaryToText(&Binary, &Text);
  return Utf8ToString(std::string_view(static_cast<const char*>(Text.Memory()), static_cast<std::size_t>(Text.Size())));
}

TComponent* TextToComponent(const String& Text, TComponent* Root) {
  std::string Utf8 = StringToUtf8(Text);
  TMemoryStream Input;
  Input.WriteBuffer(Utf8.data(), static_cast<Int64>(Utf8.size()));
  Input.SetPosition(0);
  TMemoryStream Binary;
  ObjectTextToBinary(&Input, &Binary);
  Binary.SetPosition(0);
  return ReadComponentFromStream(&Binary, Root);
}
