// ks_iparser.h - the script engine's one lexer, set up by a grammar and read on demand.
//
// There is no fixed token set: the grammar walker asks for one kind of token at a time at the
// current position. A request either consumes the token and returns its text, or returns the
// empty string and leaves the position where it was (after any white space it skipped), so the
// walker can try alternatives by setting Position back.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/rtl/Types.h"

using TksIdentifierCharset = std::bitset<256>;

struct TksPoint {
  int X = 0;
  int Y = 0;
};

// Appends "line:column" (Y, then X).
void ksAppendLineColumn(String& Out, TksPoint Pt);
String ksLineColumnText(TksPoint Pt);

class TksParser {
public:
  TksParser();

  void Clear();
  void ConstructCharset(const String& S);
  void SkipSpaces();
  bool GetEOL();
  String GetWord() { return String(ReadWord()); }
  // GetWord's, GetIdent's and GetNumber's text as written, a view into the source text (valid
  // until the text changes). ReadNumber keeps the language's hex prefix; GetNumber writes "$".
  std::u16string_view ReadWord();
  std::u16string_view ReadIdent();
  std::u16string_view ReadNumber();
  // Reads the word at the position when it is Word (exactly when case-sensitive, else
  // ignoring case), without copying it: true with the position after it; false otherwise,
  // with the position after any white space skipped.
  bool MatchWord(std::u16string_view Word);
  String GetIdent() { return String(ReadIdent()); }
  bool IsKeyWord(std::u16string_view S) const;
  String GetChar();
  // GetChar's character itself, 0 where GetChar gives an empty text.
  Char GetPunctuation();
  String GetNumber();
  String GetString();
  String GetVQString();
  // The character the next token starts with, after white space and comments (0 at the end);
  // the position stays where it is.
  Char PeekTokenStart() {
    const int P = FPosition, LP = FLastPosition;
    SkipSpaces();
    const Char C = At(FPosition);
    FPosition = P;
    FLastPosition = LP;
    return C;
  }
  bool IsIdentStart(Char C) const { return C && !(C >= u'0' && C <= u'9') && IsIdentChar(C); }
  String GetXYPosition() const { return PositionToText(FPosition); }
  String PositionToText(int Pos) const;
  // Appends the same "line:column" text to Out, without a String of its own.
  void AppendPositionText(String& Out, int Pos) const;
  // The line (Y) and column (X) of a position, as PositionToText writes them.
  TksPoint LineColumnOf(int Pos) const;
  int GetPlainPosition(TksPoint Pt) const;

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
  const String& CommentBlock1() const { return FCommentBlock1; }
  void SetCommentBlock1(const String& Value);
  const String& CommentBlock2() const { return FCommentBlock2; }
  void SetCommentBlock2(const String& Value);
  const String& CommentLine1() const { return FCommentLine1; }
  void SetCommentLine1(const String& Value) {
    FCommentLine1 = Value;
    ForgetSkips();
  }
  const String& CommentLine2() const { return FCommentLine2; }
  void SetCommentLine2(const String& Value) {
    FCommentLine2 = Value;
    ForgetSkips();
  }
  const String& HexSequence() const { return FHexSequence; }
  void SetHexSequence(const String& Value) { FHexSequence = Value; }
  // Writable: the skips made so far are forgotten, as a word-like comment marker depends on it.
  TksIdentifierCharset& IdentifierCharset() {
    ForgetSkips();
    return FIdentifierCharset;
  }
  // Sorted (case-insensitively) reserved words; AddKeyword keeps the order.
  const std::vector<String>& Keywords() const { return FKeywords; }
  void AddKeyword(const String& Word);
  int Position() const { return FPosition; }
  void SetPosition(int Value) { FPosition = FLastPosition = Value; }
  int LastPosition() const { return FLastPosition; }
  const String& SkiPChar() const { return FSkiPChar; }
  void SetSkiPChar(const String& Value) {
    FSkiPChar = Value;
    ForgetSkips();
  }
  bool SkipEOL() const { return FSkipEOL; }
  void SetSkipEOL(bool Value) {
    FSkipEOL = Value;
    ForgetSkips();
  }
  bool SkipSpace() const { return FSkipSpace; }
  void SetSkipSpace(bool Value) { FSkipSpace = Value; }
  const String& StringQuotes() const { return FStringQuotes; }
  void SetStringQuotes(const String& Value) { FStringQuotes = Value; }
  bool SpecStrChar() const { return FSpecStrChar; }
  void SetSpecStrChar(bool Value) { FSpecStrChar = Value; }
  bool UseY() const { return FUseY; }
  void SetUseY(bool Value) { FUseY = Value; }
  // The source text without the sentinel.
  std::u16string_view Text() const { return std::u16string_view(FText).substr(0, FSize); }
  void SetText(const String& Value);
  int Size() const { return FSize; }

private:
  Char* WritePositionText(Char* Buf, int Pos) const;
  Char At(int Pos) const { return FText[Pos - 1]; }  // 1-based; the sentinel stops every scan
  bool StartsWith(int Pos, const String& S) const;
  bool IsIdentChar(Char C) const { return C >= 127 || FIdentifierCharset[C]; }
  bool LineCommentAt(int Pos, const String& Marker) const;
  void SkipSpacesAndComments();
  void ForgetSkips() {
    FSkips.fill({});
    FMarkStartCount = -1;
  }
  // Whether C may begin the skip character or a comment marker.
  bool MayStartMark(Char C) {
    if (FMarkStartCount < 0) NoteMarkStarts();
    for (int i = 0; i < FMarkStartCount; ++i)
      if (FMarkStarts[i] == C) return true;
    return false;
  }
  void NoteMarkStarts();
  bool ReadInteger();
  bool ReadFloat();
  bool ReadQuotedPiece(String& Value);
  bool ReadCodePiece(String& Value);

  bool FCaseSensitive = false;
  String FCommentBlock1, FCommentBlock11, FCommentBlock12;
  String FCommentBlock2, FCommentBlock21, FCommentBlock22;
  String FCommentLine1, FCommentLine2;
  String FHexSequence;
  TksIdentifierCharset FIdentifierCharset;
  std::vector<String> FKeywords;
  // For each upper-cased ASCII first character, the lengths of the keywords starting with it
  // (bit N: length N; bit 31: 31 or longer). Characters past 127 are not filtered.
  static constexpr size_t kLongWord = 31;
  static std::uint32_t LengthBit(size_t Length) { return 1u << (Length < kLongWord ? Length : kLongWord); }
  std::array<std::uint32_t, 128> FKeywordLengths{};
  // For each upper-cased ASCII first character, where the keywords starting with it lie in
  // FKeywords (the order keeps them together); worked out when first needed after a change.
  struct TKeywordRange {
    std::uint32_t From = 0;
    std::uint32_t To = 0;
  };
  void NoteKeywordRanges() const;
  mutable std::array<TKeywordRange, 128> FKeywordRanges{};
  mutable bool FKeywordRangesKnown = false;
  int FLastPosition = 1;
  int FPosition = 1;
  int FSize = 0;
  String FSkiPChar;
  bool FSkipEOL = true;
  bool FSkipSpace = true;
  String FStringQuotes;
  String FText = String(1, Char(0));
  bool FUseY = true;
  std::vector<int> FYList{0};
  // The line entry WritePositionText found last: the walker asks mostly about nearby places.
  mutable size_t FLineHint = 0;
  bool FSpecStrChar = false;
  // Skips already made, by start position in a small direct-mapped table: the grammar walker
  // tries its alternatives from one position, and each would skip the same blanks and
  // comments again. Whatever a skip depends on (the text, comment markers, end-of-line
  // handling, identifier characters) forgets them when it changes.
  struct TSkip {
    int From = 0;  // 0: unused (positions start at 1)
    int To = 0;
  };
  std::array<TSkip, 64> FSkips{};
  // The first characters of the skip character and the comment markers, so that the blanks
  // before most tokens end without a comparison per marker; -1: not known since they changed.
  std::array<Char, 5> FMarkStarts{};
  int FMarkStartCount = -1;
};
