// FilterExpr.cpp - the filter-expression parser (lexer and recursive descent) and the
// framework's evaluator. The decisions the grammar leaves open are written down in
// docs/filter-expressions.md; keep the two in step.
#include "platform/db/FilterExpr.h"

#include <cmath>

#include "platform/db/DataSet.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

// ORDER FIELDTYPE: literal type codes per field type, ftUnknown .. ftSingle.
constexpr int kFieldMap[FieldTypeCount] = {
    0, 1, 5, 6, 12, 4, 7, 7, 8, 2, 10, 11, 9, 15, 6, 3, 3, 3, 3, 3, 3, 3, 17, 1, 1, 18,
    20, 21, 22, 23, 3, 3, 0, 0, 0, 1, 24, 25, 26, 3, 24, 1, 6, 0, 0, 7, 0, 0, 0, 0, 0, 0};

enum TTokenKind { tkEnd, tkName, tkString, tkNumber, tkSymbol };

struct TToken {
  TTokenKind Kind = tkEnd;
  String Text;    // name (without brackets), string value, number text, symbol
  bool Quoted = false;  // a bracketed or double-quoted name: never a keyword
  int Pos = 0;    // 1-based position in the text
};

bool IsNameStart(Char C) { return C == u'_' || (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z') || C >= 0x80; }
bool IsNameChar(Char C) { return IsNameStart(C) || (C >= u'0' && C <= u'9'); }
bool IsDigit(Char C) { return C >= u'0' && C <= u'9'; }

[[noreturn]] void SyntaxError(const String& Text, int Pos, const String& What) {
  DatabaseError(u"Filter expression \"" + Text + u"\": " + What + u" at position " +
                IntToStr(Pos));
}

class TLexer {
public:
  explicit TLexer(const String& Text) : FText(Text) {}

  // Numbers take the locale's decimal separator when it is not a list separator here.
  TToken Next(bool CommaIsDecimal) {
    SkipBlanks();
    TToken T;
    T.Pos = static_cast<int>(FPos) + 1;
    if (FPos >= FText.size()) return T;
    Char C = FText[FPos];
    if (C == u'\'') return ReadString(T);
    if (C == u'[') return ReadBracketed(T, u']');
    if (C == u'"') return ReadBracketed(T, u'"');
    if (IsDigit(C) || (C == u'.' && FPos + 1 < FText.size() && IsDigit(FText[FPos + 1])))
      return ReadNumber(T, CommaIsDecimal);
    if (IsNameStart(C)) {
      std::size_t Start = FPos;
      while (FPos < FText.size() && IsNameChar(FText[FPos])) ++FPos;
      T.Kind = tkName;
      T.Text = FText.substr(Start, FPos - Start);
      return T;
    }
    T.Kind = tkSymbol;
    static const char16_t* const kTwo[] = {u"<>", u"<=", u">=", u"!="};
    for (const char16_t* Two : kTwo) {
      if (FText.compare(FPos, 2, Two) == 0) {
        T.Text = Two;
        FPos += 2;
        return T;
      }
    }
    if (String(u"=<>()+-*/,").find(C) == String::npos)
      SyntaxError(FText, T.Pos, u"unexpected character '" + String(1, C) + u"'");
    T.Text = String(1, C);
    ++FPos;
    return T;
  }
  std::size_t Position() const { return FPos; }
  void Rewind(std::size_t Pos) { FPos = Pos; }

private:
  void SkipBlanks() {
    while (FPos < FText.size() && (FText[FPos] == u' ' || FText[FPos] == u'\t' ||
                                   FText[FPos] == u'\r' || FText[FPos] == u'\n'))
      ++FPos;
  }
  TToken ReadString(TToken& T) {
    ++FPos;
    for (;;) {
      if (FPos >= FText.size()) SyntaxError(FText, T.Pos, u"unterminated string");
      Char C = FText[FPos++];
      if (C == u'\'') {
        if (FPos < FText.size() && FText[FPos] == u'\'') {
          T.Text += u'\'';
          ++FPos;
          continue;
        }
        break;
      }
      T.Text += C;
    }
    T.Kind = tkString;
    return T;
  }
  TToken ReadBracketed(TToken& T, Char Close) {
    std::size_t End = FText.find(Close, FPos + 1);
    if (End == String::npos) SyntaxError(FText, T.Pos, u"unterminated field name");
    T.Kind = tkName;
    T.Quoted = true;
    T.Text = FText.substr(FPos + 1, End - FPos - 1);
    FPos = End + 1;
    return T;
  }
  TToken ReadNumber(TToken& T, bool CommaIsDecimal) {
    std::size_t Start = FPos;
    bool SeenPoint = false;
    while (FPos < FText.size()) {
      Char C = FText[FPos];
      bool Separator = C == u'.' || (CommaIsDecimal && C == u',');
      if (IsDigit(C)) {
        ++FPos;
      } else if (Separator && !SeenPoint && FPos + 1 < FText.size() && IsDigit(FText[FPos + 1])) {
        SeenPoint = true;
        ++FPos;
      } else if ((C == u'e' || C == u'E') && FPos + 1 < FText.size() &&
                 (IsDigit(FText[FPos + 1]) ||
                  ((FText[FPos + 1] == u'+' || FText[FPos + 1] == u'-') &&
                   FPos + 2 < FText.size() && IsDigit(FText[FPos + 2])))) {
        FPos += 2;
        SeenPoint = true;
      } else {
        break;
      }
    }
    T.Kind = tkNumber;
    T.Text = FText.substr(Start, FPos - Start);
    for (Char& C : T.Text)
      if (C == u',') C = u'.';
    return T;
  }

  const String& FText;
  std::size_t FPos = 0;
};

using TNodePtr = std::unique_ptr<TExprNode>;

TNodePtr MakeNode(TExprNodeClass Class, TCANOperator Op) {
  auto Node = std::make_unique<TExprNode>();
  Node->NodeClass = Class;
  Node->Operator = Op;
  return Node;
}

TNodePtr MakeConst(const Variant& Value, int LiteralType) {
  auto Node = MakeNode(nodeCONST, coCONST2);
  Node->Value = Value;
  Node->LiteralType = LiteralType;
  return Node;
}

TNodePtr MakeBinary(TExprNodeClass Class, TCANOperator Op, TNodePtr Left, TNodePtr Right) {
  auto Node = MakeNode(Class, Op);
  Node->Operands.push_back(std::move(Left));
  Node->Operands.push_back(std::move(Right));
  return Node;
}

TNodePtr MakeUnary(TCANOperator Op, TNodePtr Child) {
  auto Node = MakeNode(nodeUNARY, Op);
  Node->Operands.push_back(std::move(Child));
  return Node;
}

bool IsKeyword(const TToken& T, const char16_t* Word) {
  return T.Kind == tkName && !T.Quoted && SameText(T.Text, Word);
}
bool IsSymbol(const TToken& T, const char16_t* Sym) {
  return T.Kind == tkSymbol && T.Text == Sym;
}

const char16_t* const kFunctions[] = {
    u"SUBSTRING", u"UPPER", u"LOWER", u"TRIM", u"TRIMLEFT", u"TRIMRIGHT", u"YEAR", u"MONTH",
    u"DAY", u"HOUR", u"MINUTE", u"SECOND", u"GETDATE", u"DATE", u"TIME", u"SUM", u"MIN",
    u"MAX", u"AVG", u"COUNT"};
const char16_t* const kAggregates[] = {u"SUM", u"MIN", u"MAX", u"AVG", u"COUNT"};

bool IsFunctionName(const String& Name, bool Aggregate) {
  for (const char16_t* F : kFunctions)
    if (SameText(Name, F)) return true;
  (void)Aggregate;
  return false;
}
bool IsAggregateName(const String& Name) {
  for (const char16_t* F : kAggregates)
    if (SameText(Name, F)) return true;
  return false;
}

// Converts a string constant compared with a field to the field's type, so that dates and
// numbers written as text (the grid writes them in the locale's form) compare as values.
void CoerceConstant(TExprNode& Const, const TField& Field, const String& ExprText) {
  if (!Const.Value.IsString()) {
    return;
  }
  const String Text = Const.Value.AsString();
  const TFieldType Type = Field.DataType();
  auto Fail = [&] {
    DatabaseError(u"Filter expression \"" + ExprText + u"\": '" + Text +
                  u"' is not a valid value for field '" + Field.FieldName() + u"'");
  };
  switch (Type) {
    case ftDate: case ftTime: case ftDateTime: case ftTimeStamp: {
      TDateTime Value = 0;
      bool Ok = Type == ftTime ? TryStrToTime(Text, Value) : TryStrToDateTime(Text, Value);
      if (!Ok) Fail();
      Const.Value = Variant::FromDateTime(Value);
      break;
    }
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
    case ftLongWord: case ftShortint: case ftByte: case ftFloat: case ftCurrency: case ftBCD:
    case ftFMTBcd: case ftExtended: case ftSingle: {
      String Dotted = Trim(Text);
      for (Char& C : Dotted)
        if (C == FormatSettings.DecimalSeparator) C = u'.';
      double Value = 0;
      if (!TryStrToFloat(Dotted, Value, TFormatSettings::Invariant())) Fail();
      Const.Value = Value;
      break;
    }
    case ftBoolean: {
      bool Value = false;
      if (!TryStrToBool(Text, Value)) Fail();
      Const.Value = Value;
      break;
    }
    default:
      return;
  }
  Const.LiteralType = FieldTypeLiteralCode(Type);
}

class TParser {
public:
  TParser(TDataSet* DataSet, const String& Text, TFilterOptions Options,
          TParserOptions ParserOptions, std::vector<TField*>& Dependent)
      : FDataSet(DataSet), FText(Text), FLexer(Text), FOptions(Options),
        FParserOptions(ParserOptions), FDependent(Dependent) {
    Advance();
  }

  TNodePtr Parse() {
    if (FToken.Kind == tkEnd) SyntaxError(FText, 1, u"empty expression");
    TNodePtr Root = ParseOr();
    if (FToken.Kind != tkEnd) Unexpected();
    return Root;
  }

private:
  void Advance() { FToken = FLexer.Next(FListDepth == 0 && FormatSettings.DecimalSeparator == u','); }
  [[noreturn]] void Unexpected() {
    SyntaxError(FText, FToken.Pos,
                FToken.Kind == tkEnd ? String(u"unexpected end") : u"unexpected '" + FToken.Text + u"'");
  }
  void Expect(const char16_t* Sym) {
    if (!IsSymbol(FToken, Sym)) {
      if (FToken.Kind == tkEnd) SyntaxError(FText, FToken.Pos, String(u"missing '") + Sym + u"'");
      Unexpected();
    }
    Advance();
  }

  // or_expr -> and_expr { OR and_expr }
  TNodePtr ParseOr() {
    TNodePtr Left = ParseAnd();
    while (IsKeyword(FToken, u"OR")) {
      Advance();
      Left = MakeBinary(nodeBINARY, coOR, std::move(Left), ParseAnd());
    }
    return Left;
  }
  // and_expr -> not_expr { AND not_expr }
  TNodePtr ParseAnd() {
    TNodePtr Left = ParseNot();
    while (IsKeyword(FToken, u"AND")) {
      Advance();
      Left = MakeBinary(nodeBINARY, coAND, std::move(Left), ParseNot());
    }
    return Left;
  }
  // not_expr -> NOT not_expr | comparison
  TNodePtr ParseNot() {
    if (IsKeyword(FToken, u"NOT")) {
      Advance();
      return MakeUnary(coNOT, ParseNot());
    }
    return ParseComparison();
  }
  // comparison -> sum [ relop sum | [NOT] LIKE sum | [NOT] IN '(' list ')' | IS [NOT] NULL ]
  TNodePtr ParseComparison() {
    TNodePtr Left = ParseSum();
    static const struct { const char16_t* Sym; TCANOperator Op; } kRelOps[] = {
        {u"=", coEQ}, {u"<>", coNE}, {u"!=", coNE}, {u"<", coLT}, {u">", coGT},
        {u"<=", coLE}, {u">=", coGE}};
    for (const auto& R : kRelOps) {
      if (IsSymbol(FToken, R.Sym)) {
        Advance();
        return MakeRelation(R.Op, std::move(Left), ParseSum());
      }
    }
    if (IsKeyword(FToken, u"IS")) {
      Advance();
      bool Negated = IsKeyword(FToken, u"NOT");
      if (Negated) Advance();
      if (!IsKeyword(FToken, u"NULL")) Unexpected();
      Advance();
      return MakeUnary(Negated ? coNOTBLANK : coISBLANK, std::move(Left));
    }
    bool Negated = false;
    if (IsKeyword(FToken, u"NOT")) {
      Negated = true;
      Advance();
      if (!IsKeyword(FToken, u"LIKE") && !IsKeyword(FToken, u"IN")) Unexpected();
    }
    TNodePtr Result;
    if (IsKeyword(FToken, u"LIKE")) {
      Advance();
      Result = MakeBinary(nodeBINARY, coLIKE, std::move(Left), ParseSum());
    } else if (IsKeyword(FToken, u"IN")) {
      Advance();
      Result = ParseInList(std::move(Left));
    } else {
      return Left;
    }
    return Negated ? MakeUnary(coNOT, std::move(Result)) : std::move(Result);
  }
  TNodePtr ParseInList(TNodePtr Left) {
    auto Node = MakeNode(nodeBINARY, coIN);
    TField* Field = Left->NodeClass == nodeFIELD ? Left->Field : nullptr;
    Node->Operands.push_back(std::move(Left));
    Expect(u"(");
    ++FListDepth;
    Advance0();
    for (;;) {
      TNodePtr Item = ParseSum();
      if (Field && Item->NodeClass == nodeCONST) CoerceConstant(*Item, *Field, FText);
      Node->Operands.push_back(std::move(Item));
      if (!IsSymbol(FToken, u",")) break;
      Advance();
    }
    --FListDepth;
    Expect(u")");
    return Node;
  }
  // Re-reads the current token after the list depth changed (number separators differ).
  void Advance0() {
    FLexer.Rewind(static_cast<std::size_t>(FToken.Pos - 1));
    Advance();
  }
  TNodePtr MakeRelation(TCANOperator Op, TNodePtr Left, TNodePtr Right) {
    TExprNode* FieldNode = Left->NodeClass == nodeFIELD ? Left.get()
                           : Right->NodeClass == nodeFIELD ? Right.get() : nullptr;
    TExprNode* ConstNode = Left->NodeClass == nodeCONST ? Left.get()
                           : Right->NodeClass == nodeCONST ? Right.get() : nullptr;
    if (FieldNode && ConstNode && FieldNode->Field) {
      TFieldType Type = FieldNode->Field->DataType();
      bool StringField = FieldTypeLiteralCode(Type) == 1 || FieldTypeLiteralCode(Type) == 26 ||
                         Type == ftMemo || Type == ftWideMemo || Type == ftFmtMemo;
      if (StringField && ConstNode->Value.IsString() && (Op == coEQ || Op == coNE))
        return MakeStringCompare(Op, std::move(Left), std::move(Right), ConstNode);
      CoerceConstant(*ConstNode, *FieldNode->Field, FText);
    }
    return MakeBinary(nodeBINARY, Op, std::move(Left), std::move(Right));
  }
  // A string field compared by = or <> with text: a compare node carrying the dataset's case
  // option, so = and <> agree; a trailing '*' asks for a partial compare.
  TNodePtr MakeStringCompare(TCANOperator Op, TNodePtr Left, TNodePtr Right, TExprNode* Const) {
    auto Node = MakeBinary(nodeCOMPARE, Op, std::move(Left), std::move(Right));
    Node->CaseInsensitive = FOptions.Contains(foCaseInsensitive);
    String Text = Const->Value.AsString();
    if (!FOptions.Contains(foNoPartialCompare) && !Text.empty() && Text.back() == u'*') {
      Text.pop_back();
      Const->Value = Text;
      Node->PartialLength = static_cast<int>(Text.size());
      if (Node->PartialLength == 0) Node->PartialLength = -1;  // 'X*' with nothing: all match
    }
    return Node;
  }
  // sum -> term { (+|-) term }
  TNodePtr ParseSum() {
    TNodePtr Left = ParseTerm();
    for (;;) {
      TCANOperator Op = IsSymbol(FToken, u"+") ? coADD : IsSymbol(FToken, u"-") ? coSUB : coNOTDEFINED;
      if (Op == coNOTDEFINED) return Left;
      Advance();
      Left = MakeBinary(nodeBINARY, Op, std::move(Left), ParseTerm());
    }
  }
  // term -> factor { (*|/) factor }
  TNodePtr ParseTerm() {
    TNodePtr Left = ParseFactor();
    for (;;) {
      TCANOperator Op = IsSymbol(FToken, u"*") ? coMUL : IsSymbol(FToken, u"/") ? coDIV : coNOTDEFINED;
      if (Op == coNOTDEFINED) return Left;
      Advance();
      Left = MakeBinary(nodeBINARY, Op, std::move(Left), ParseFactor());
    }
  }
  // factor -> '-' factor | '+' factor | primary
  TNodePtr ParseFactor() {
    if (IsSymbol(FToken, u"-")) {
      Advance();
      TNodePtr Operand = ParseFactor();
      if (Operand->NodeClass == nodeCONST && !Operand->Value.IsString() && !Operand->Value.IsNull()) {
        Operand->Value = -Operand->Value;
        return Operand;
      }
      return MakeBinary(nodeBINARY, coSUB, MakeConst(Variant(0), 6), std::move(Operand));
    }
    if (IsSymbol(FToken, u"+")) {
      Advance();
      return ParseFactor();
    }
    return ParsePrimary();
  }
  // primary -> number | string | NULL | TRUE | FALSE | name | name '(' [args] ')' | '(' or ')'
  TNodePtr ParsePrimary() {
    TToken T = FToken;
    switch (T.Kind) {
      case tkNumber: {
        Advance();
        return MakeNumber(T);
      }
      case tkString:
        Advance();
        return MakeConst(Variant(T.Text), 4103);
      case tkSymbol:
        if (T.Text == u"(") {
          Advance();
          TNodePtr Inner = ParseOr();
          Expect(u")");
          return Inner;
        }
        Unexpected();
      case tkName:
        Advance();
        if (!T.Quoted && IsSymbol(FToken, u"(") && IsFunctionName(T.Text, false))
          return ParseFunction(T);
        if (!T.Quoted && SameText(T.Text, u"NULL")) return MakeConst(Variant::MakeNull(), 0);
        if (!T.Quoted && SameText(T.Text, u"TRUE")) return MakeConst(Variant(true), 4);
        if (!T.Quoted && SameText(T.Text, u"FALSE")) return MakeConst(Variant(false), 4);
        return MakeField(T);
      case tkEnd:
        Unexpected();
    }
    Unexpected();
  }
  TNodePtr MakeNumber(const TToken& T) {
    Int64 IntValue = 0;
    if (T.Text.find_first_of(u".eE") == String::npos && TryStrToInt64(T.Text, IntValue)) {
      if (IntValue >= INT32_MIN && IntValue <= INT32_MAX)
        return MakeConst(Variant(static_cast<int>(IntValue)), 6);
      return MakeConst(Variant(static_cast<long long>(IntValue)), 18);
    }
    double Value = 0;
    if (!TryStrToFloat(T.Text, Value, TFormatSettings::Invariant()))
      SyntaxError(FText, T.Pos, u"invalid number '" + T.Text + u"'");
    return MakeConst(Variant(Value), 7);
  }
  TNodePtr MakeField(const TToken& T) {
    TField* Field = FDataSet ? FDataSet->FindField(T.Text) : nullptr;
    if (!Field) DatabaseError(FieldNotFoundText(T.Text), FDataSet);
    auto Node = MakeNode(nodeFIELD, coFIELD2);
    Node->Field = Field;
    Node->FieldNo = Field->FieldNo();
    Node->Name = Field->FieldName();
    bool Known = false;
    for (TField* F : FDependent) Known = Known || F == Field;
    if (!Known) FDependent.push_back(Field);
    return Node;
  }
  // function -> name '(' [ '*' | expr { ',' expr } ] ')'
  TNodePtr ParseFunction(const TToken& Name) {
    auto Node = MakeNode(nodeFUNC, coFUNC2);
    Node->Name = UpperCase(Name.Text);
    bool Aggregate = IsAggregateName(Name.Text);
    if (Aggregate && !FParserOptions.Contains(poAggregate))
      SyntaxError(FText, Name.Pos, u"aggregate function " + Node->Name + u" is not allowed here");
    ++FListDepth;
    Expect(u"(");
    if (Aggregate && Node->Name == u"COUNT" && IsSymbol(FToken, u"*")) {
      Advance();
      Node->Name = u"COUNT(*)";
    } else if (!IsSymbol(FToken, u")")) {
      for (;;) {
        Node->Operands.push_back(ParseOr());
        if (!IsSymbol(FToken, u",")) break;
        Advance();
      }
    }
    --FListDepth;
    Expect(u")");
    return Node;
  }

  TDataSet* FDataSet;
  const String& FText;
  TLexer FLexer;
  TFilterOptions FOptions;
  TParserOptions FParserOptions;
  std::vector<TField*>& FDependent;
  TToken FToken;
  int FListDepth = 0;
};

}  // namespace

int FieldTypeLiteralCode(TFieldType Type) {
  int Index = static_cast<int>(Type);
  return Index >= 0 && Index < FieldTypeCount ? kFieldMap[Index] : 0;
}

TExprParser::TExprParser(TDataSet* DataSet, const String& Text, TFilterOptions FilterOptions,
                         TParserOptions ParserOptions) {
  TParser Parser(DataSet, Text, FilterOptions, ParserOptions, FDependentFields);
  FRoot = Parser.Parse();
}

TExprParser::~TExprParser() = default;
