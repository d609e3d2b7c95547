// ks_iparser.cpp - the lexer: white space and comments, words, numbers, strings, positions.
#include "script/ks_iparser.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "script/ks_itools.h"

namespace {

bool IsDigit(Char C) { return C >= u'0' && C <= u'9'; }
bool IsHexDigit(Char C) {
  return IsDigit(C) || (C >= u'A' && C <= u'F') || (C >= u'a' && C <= u'f');
}

// Splits "opener,closer" by the comma-text rules that matter here (no quoting in practice).
void SplitPair(const String& S, String& First, String& Second) {
  size_t Comma = S.find(u',');
  First = S.substr(0, Comma);
  Second = Comma == String::npos ? String() : S.substr(Comma + 1);
}

long long ParseCode(const String& Digits, bool Hex) {
  long long V = 0;
  for (Char C : Digits) {
    int D = IsDigit(C) ? C - u'0' : (C | 0x20) - u'a' + 10;
    V = V * (Hex ? 16 : 10) + D;
    if (V > 0x7FFFFFFF) throw EConvertError(u"'" + Digits + u"' is not a valid integer value");
  }
  return V;
}

}  // namespace

TksParser::TksParser() { Clear(); }

void TksParser::Clear() {
  ForgetSkips();
  FKeywords.clear();
  FKeywordRangesKnown = false;
  FKeywordLengths.fill(0);
  SetCommentBlock1(u"{,}");
  SetCommentBlock2(u"(*,*)");
  // Assigned as strings: GCC 12 warns falsely (-Wrestrict) on assigning the literals when
  // optimizing.
  FCommentLine1 = String(u"//");
  FHexSequence = String(u"$");
  ConstructCharset(u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
  FSkiPChar.clear();
  FSkipEOL = true;
  FSkipSpace = true;
  FStringQuotes = String(u"'");
  FSpecStrChar = false;
}

void TksParser::SetCommentBlock1(const String& Value) {
  ForgetSkips();
  FCommentBlock1 = Value;
  SplitPair(Value, FCommentBlock11, FCommentBlock12);
}

void TksParser::SetCommentBlock2(const String& Value) {
  ForgetSkips();
  FCommentBlock2 = Value;
  SplitPair(Value, FCommentBlock21, FCommentBlock22);
}

void TksParser::ConstructCharset(const String& S) {
  ForgetSkips();
  FIdentifierCharset.reset();
  for (Char C : S) FIdentifierCharset.set(C & 0xFF);
}

void TksParser::AddKeyword(const String& Word) {
  auto It = std::lower_bound(FKeywords.begin(), FKeywords.end(), Word,
                             [](const String& A, const String& B) { return ksCompareText(A, B) < 0; });
  FKeywords.insert(It, Word);
  FKeywordRangesKnown = false;
  if (!Word.empty()) {
    Char C = ksUpChar(Word[0]);
    if (C < FKeywordLengths.size()) FKeywordLengths[C] |= LengthBit(Word.size());
  }
}

void TksParser::SetText(const String& Value) {
  ForgetSkips();
  FText = Value;
  FText += Char(0);
  FSize = static_cast<int>(Value.size());
  SetPosition(1);
  if (!FUseY) return;
  FYList.assign(1, 0);
  for (int i = 0; i < FSize; ++i)
    if (Value[i] == u'\n') FYList.push_back(i + 1);
}

bool TksParser::StartsWith(int Pos, const String& S) const {
  if (S.empty() || Pos - 1 + static_cast<int>(S.size()) > FSize || At(Pos) != S[0]) return false;
  return FText.compare(Pos - 1, S.size(), S) == 0;
}

bool TksParser::LineCommentAt(int Pos, const String& Marker) const {
  if (!StartsWith(Pos, Marker)) return false;
  // A marker that is a word (BasicScript's "rem") starts a comment only as a whole word, so
  // "remaining = 5" stays a statement.
  int After = Pos + static_cast<int>(Marker.size());
  return !IsIdentChar(Marker.back()) || After > FSize || !IsIdentChar(At(After));
}

void TksParser::SkipSpaces() {
  const int From = FPosition;
  const TSkip& Known = FSkips[From & (FSkips.size() - 1)];
  if (Known.From == From) {
    FPosition = FLastPosition = Known.To;
    return;
  }
  SkipSpacesAndComments();
  FSkips[From & (FSkips.size() - 1)] = {From, FPosition};
}

void TksParser::NoteMarkStarts() {
  FMarkStartCount = 0;
  for (const String* M : {&FSkiPChar, &FCommentLine1, &FCommentLine2, &FCommentBlock11, &FCommentBlock21})
    if (!M->empty()) FMarkStarts[FMarkStartCount++] = (*M)[0];
}

void TksParser::SkipSpacesAndComments() {
  for (;;) {
    while (FPosition <= FSize) {
      Char C = At(FPosition);
      if (C > 32 || (C == 13 && !FSkipEOL)) break;
      ++FPosition;
    }
    if (FPosition <= FSize && !MayStartMark(At(FPosition))) break;
    if (!FSkiPChar.empty() && FPosition <= FSize && At(FPosition) == FSkiPChar[0]) {
      ++FPosition;
      GetEOL();
      continue;
    }
    if (FPosition >= FSize) break;
    if (LineCommentAt(FPosition, FCommentLine1) || LineCommentAt(FPosition, FCommentLine2)) {
      bool BeginsLine = FPosition == 1 || At(FPosition - 1) == u'\n';
      while (FPosition <= FSize && At(FPosition) != u'\n') {
        if (!FSkipEOL && !BeginsLine && At(FPosition) == u'\r') break;
        ++FPosition;
      }
      continue;
    }
    const String* Closer = nullptr;
    if (!FCommentBlock1.empty() && StartsWith(FPosition, FCommentBlock11)) {
      FPosition += static_cast<int>(FCommentBlock11.size());
      Closer = &FCommentBlock12;
    } else if (!FCommentBlock2.empty() && StartsWith(FPosition, FCommentBlock21)) {
      FPosition += static_cast<int>(FCommentBlock21.size());
      Closer = &FCommentBlock22;
    }
    if (!Closer) break;
    size_t End = Closer->empty() ? String::npos : FText.find(*Closer, FPosition - 1);
    FPosition = End == String::npos || static_cast<int>(End) >= FSize
                    ? FSize + 1
                    : static_cast<int>(End + Closer->size()) + 1;
  }
  FLastPosition = FPosition;
}

bool TksParser::GetEOL() {
  SkipSpaces();
  if (At(FPosition) != u'\r' && At(FPosition) != u'\n') return false;
  while (At(FPosition) == u'\r' || At(FPosition) == u'\n') ++FPosition;
  return true;
}

std::u16string_view TksParser::ReadWord() {
  if (FSkipSpace) SkipSpaces();
  Char C = At(FPosition);
  if (C == 0 || IsDigit(C) || !IsIdentChar(C)) return {};
  int Start = FPosition;
  while (FPosition <= FSize && IsIdentChar(At(FPosition))) ++FPosition;
  return std::u16string_view(FText.data() + Start - 1, static_cast<size_t>(FPosition - Start));
}

bool TksParser::MatchWord(std::u16string_view Word) {
  if (FSkipSpace) SkipSpaces();
  Char C = At(FPosition);
  if (C == 0 || IsDigit(C) || !IsIdentChar(C)) return false;
  int End = FPosition;
  while (End <= FSize && IsIdentChar(At(End))) ++End;
  const std::u16string_view Found(FText.data() + FPosition - 1, static_cast<size_t>(End - FPosition));
  if (FCaseSensitive ? Found != Word : !ksSameText(Found, Word)) return false;
  FPosition = End;
  return true;
}

std::u16string_view TksParser::ReadIdent() {
  std::u16string_view W = ReadWord();
  if (!W.empty() && IsKeyWord(W)) return {};
  return W;
}

bool TksParser::IsKeyWord(std::u16string_view S) const {
  // Words equal to a keyword, with or without case, start with the same upper-cased character
  // and are as long: most identifiers are told apart by that alone.
  if (S.empty()) return false;
  Char C = ksUpChar(S[0]);
  if (C < FKeywordLengths.size()) {
    if (!(FKeywordLengths[C] & LengthBit(S.size()))) return false;
    if (!FKeywordRangesKnown) NoteKeywordRanges();
    const TKeywordRange R = FKeywordRanges[C];
    for (size_t i = R.From; i < R.To; ++i) {
      const String& K = FKeywords[i];
      if (K.size() == S.size() && (FCaseSensitive ? K == S : ksSameText(K, S))) return true;
    }
    return false;
  }
  if (FCaseSensitive) return std::find(FKeywords.begin(), FKeywords.end(), S) != FKeywords.end();
  return std::binary_search(FKeywords.begin(), FKeywords.end(), S,
                            [](std::u16string_view A, std::u16string_view B) { return ksCompareText(A, B) < 0; });
}

void TksParser::NoteKeywordRanges() const {
  FKeywordRanges.fill({});
  for (size_t i = 0; i < FKeywords.size(); ++i) {
    if (FKeywords[i].empty()) continue;
    const Char C = ksUpChar(FKeywords[i][0]);
    if (C >= FKeywordRanges.size()) continue;
    TKeywordRange& R = FKeywordRanges[C];
    if (R.To == 0) R.From = static_cast<std::uint32_t>(i);
    R.To = static_cast<std::uint32_t>(i + 1);
  }
  FKeywordRangesKnown = true;
}

Char TksParser::GetPunctuation() {
  Char C = At(FPosition);
  bool Punct = (C >= 33 && C <= 47) || (C >= 58 && C <= 64) || (C >= 91 && C <= 96) ||
               (C >= 123 && C <= 126);
  if (!Punct) return 0;
  ++FPosition;
  return C;
}

String TksParser::GetChar() {
  Char C = GetPunctuation();
  return C ? String(1, C) : String();
}

bool TksParser::ReadInteger() {
  int Start = FPosition;
  if (StartsWith(FPosition, FHexSequence)) {
    FPosition += static_cast<int>(FHexSequence.size());
    if (!IsHexDigit(At(FPosition))) {
      FPosition = Start;
      return false;
    }
    while (IsHexDigit(At(FPosition))) ++FPosition;
    return true;
  }
  if (!IsDigit(At(FPosition))) return false;
  while (IsDigit(At(FPosition))) ++FPosition;
  return true;
}

bool TksParser::ReadFloat() {
  int Start = FPosition;
  if (!ReadInteger()) return false;
  if (At(FPosition) == u'.') {
    if (!IsDigit(At(FPosition + 1))) {
      FPosition = Start;
      return false;
    }
    FPosition += 1;
    while (IsDigit(At(FPosition))) ++FPosition;
  }
  if (At(FPosition) == u'E' || At(FPosition) == u'e') {
    int P = FPosition + 1;
    if (At(P) == u'+' || At(P) == u'-') ++P;
    if (IsDigit(At(P))) {
      while (IsDigit(At(P))) ++P;
      FPosition = P;
    }
  }
  return true;
}

std::u16string_view TksParser::ReadNumber() {
  if (FSkipSpace) SkipSpaces();
  int Start = FPosition;
  if (!ReadFloat()) {
    FPosition = Start;
    if (!ReadInteger()) return {};
  }
  return std::u16string_view(FText.data() + Start - 1, static_cast<size_t>(FPosition - Start));
}

String TksParser::GetNumber() {
  const std::u16string_view R = ReadNumber();
  if (FHexSequence == u"$" || FHexSequence.empty()) return String(R);
  // The language's hex prefix written as "$"; built anew rather than with replace, on which
  // GCC 12 warns falsely (-Wrestrict) when optimizing.
  String Out;
  size_t From = 0;
  for (size_t P; (P = R.find(FHexSequence, From)) != String::npos; From = P + FHexSequence.size()) {
    Out.append(R, From, P - From);
    Out.push_back(u'$');
  }
  Out.append(R, From, String::npos);
  return Out;
}

bool TksParser::ReadQuotedPiece(String& Value) {
  if (FStringQuotes.empty() || At(FPosition) != FStringQuotes[0]) return false;
  Char Q = FStringQuotes[0];
  int Start = FPosition;
  String Piece;
  int P = FPosition + 1;
  for (;;) {
    Char C = At(P);
    if (C < 32 && C != 9) {
      FPosition = Start;
      return false;
    }
    if (FSpecStrChar && C == u'\\') {
      Char E = At(P + 1);
      if (E < 32 && E != 9) {
        FPosition = Start;
        return false;
      }
      P += 2;
      switch (E | 0x20) {
        case u'n': Piece += u'\n'; break;
        case u'r': Piece += u'\r'; break;
        case u'x': {
          int H = P;
          while (IsHexDigit(At(P))) ++P;
          if (P > H) Piece += static_cast<Char>(ParseCode(FText.substr(H - 1, P - H), true));
          break;
        }
        default: Piece += E;
      }
      continue;
    }
    if (C == Q) {
      if (!FSpecStrChar && At(P + 1) == Q) {
        Piece += Q;
        P += 2;
        continue;
      }
      FPosition = P + 1;
      Value += Piece;
      return true;
    }
    Piece += C;
    ++P;
  }
}

bool TksParser::ReadCodePiece(String& Value) {
  if (At(FPosition) != u'#') return false;
  int Start = FPosition;
  ++FPosition;
  int DigitsAt = FPosition;
  bool Hex = StartsWith(FPosition, FHexSequence);
  if (!ReadInteger()) {
    FPosition = Start;
    return false;
  }
  if (Hex) DigitsAt += static_cast<int>(FHexSequence.size());
  Value += static_cast<Char>(ParseCode(FText.substr(DigitsAt - 1, FPosition - DigitsAt), Hex));
  return true;
}

String TksParser::GetString() {
  if (FSkipSpace) SkipSpaces();
  String Value;
  bool Any = false;
  while (ReadQuotedPiece(Value) || ReadCodePiece(Value)) Any = true;
  if (!Any) return {};
  return u"'" + Value + u"'";
}

String TksParser::GetVQString() {
  int Start = FPosition;
  int Depth = 1;
  bool InDouble = false, InSingle = false;
  while (FPosition <= FSize) {
    Char C = At(FPosition);
    if (C == u'"' && !InSingle) InDouble = !InDouble;
    else if (C == u'\'' && !InDouble) InSingle = !InSingle;
    else if (!InDouble && !InSingle) {
      if (C == u'<' || C == u'[') ++Depth;
      else if (C == u'>' || C == u']') --Depth;
      if (Depth == 0) break;
    }
    ++FPosition;
  }
  return FText.substr(Start - 1, FPosition - Start);
}

namespace {

// Writes V (not negative) in decimal at Out and gives the position after it.
Char* WriteDecimal(Char* Out, int V) {
  Char Digits[12];
  int N = 0;
  unsigned U = V < 0 ? 0u : static_cast<unsigned>(V);
  do {
    Digits[N++] = static_cast<Char>(u'0' + U % 10);
    U /= 10;
  } while (U);
  while (N) *Out++ = Digits[--N];
  return Out;
}

}  // namespace

// Writes "line:column" of Pos into Buf (room for 24) and returns its end.
TksPoint TksParser::LineColumnOf(int Pos) const {
  // Line is the index of the first line start at or after Pos.
  int Line;
  const size_t H = FLineHint;
  if (H < FYList.size() && FYList[H] < Pos && (H + 1 == FYList.size() || FYList[H + 1] >= Pos)) {
    Line = static_cast<int>(H) + 1;
  } else {
    Line = static_cast<int>(std::lower_bound(FYList.begin(), FYList.end(), Pos) - FYList.begin());
    if (Line > 0) FLineHint = static_cast<size_t>(Line) - 1;
  }
  if (Line == 0) return {Pos, 1};  // before any line feed can only happen at position 0
  return {Pos - FYList[Line - 1], Line};
}

Char* TksParser::WritePositionText(Char* Buf, int Pos) const {
  TksPoint Pt = LineColumnOf(Pos);
  Char* End = WriteDecimal(Buf, Pt.Y);
  *End++ = u':';
  return WriteDecimal(End, Pt.X);
}

void ksAppendLineColumn(String& Out, TksPoint Pt) { Out += ksLineColumnText(Pt); }

String ksLineColumnText(TksPoint Pt) {
  Char Buf[24];
  Char* End = WriteDecimal(Buf, Pt.Y);
  *End++ = u':';
  return String(Buf, static_cast<size_t>(WriteDecimal(End, Pt.X) - Buf));
}

String TksParser::PositionToText(int Pos) const {
  Char Buf[24];
  return String(Buf, static_cast<size_t>(WritePositionText(Buf, Pos) - Buf));
}

void TksParser::AppendPositionText(String& Out, int Pos) const {
  Char Buf[24];
  Out.append(Buf, static_cast<size_t>(WritePositionText(Buf, Pos) - Buf));
}

int TksParser::GetPlainPosition(TksPoint Pt) const {
  if (Pt.Y < 1 || Pt.Y > static_cast<int>(FYList.size())) return -1;
  return Pt.X + FYList[Pt.Y - 1];
}
