// DBGridZkFilterUtils.cpp - the column filter text reader, its tables and the dataset filter
// string builder.
#include "gridlib/grid/DBGridZkFilterUtils.h"

#include "gridlib/grid/DBGridZk.h"
#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

// --- tables ---------------------------------------------------------------------------------------

void ClearColumnFilterExpression(TSTFilterExpressionZk& Expr) {
  Expr.Operator1 = Expr.Relation = Expr.Operator2 = foNon;
  Expr.Operand1 = Expr.Operand2 = Null();
}

TSTOperandTypeZk FieldTypeToOperandType(TFieldType Type) {
  switch (Type) {
    case ftString: case ftMemo: case ftFmtMemo: case ftFixedChar: case ftWideString: case ftGuid:
    case ftFixedWideChar: case ftWideMemo: case ftOraInterval:
      return botString;
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD:
    case ftAutoInc: case ftLargeint: case ftFMTBcd: case ftLongWord: case ftShortint: case ftByte:
    case ftExtended:
      return botNumber;
    case ftDate: case ftTime: case ftDateTime: case ftTimeStamp: return botDateTime;
    case ftBoolean: return botBoolean;
    default: return botNon;
  }
}

TSTFilterOperatorZk DefaultOperatorToOperator(TSTFilterDefaultOperatorZk Operator) {
  switch (Operator) {
    case fdoAuto: return foNon;
    case fdoBeginsWith: case fdoEndsWith: case fdoContains: return foLike;
    case fdoDoesntBeginWith: case fdoDoesntEndWith: case fdoDoesntContain: return foNotLike;
    default: return static_cast<TSTFilterOperatorZk>(Operator);   // fdoEqual .. fdoNotIn
  }
}

String FilterOperatorDisplayText(TSTFilterOperatorZk Operator) {
  static const char16_t* const Texts[] = {u"",   u"=",  u"<>", u">",    u"<",    u">=",
                                          u"<=", u"~",  u"!~", u"In",   u"!In",  u"Null",
                                          u"Null", u"AND", u"OR", u""};
  return Texts[Operator];
}

String FilterOperatorSQLText(TSTFilterOperatorZk Operator) {
  static const char16_t* const Texts[] = {
      u"",         u"=",        u"<>",     u">",           u"<",   u">=", u"<=", u"LIKE",
      u"NOT LIKE", u"IN",       u"NOT IN", u"IS NULL", u"IS NOT NULL", u"AND", u"OR", u""};
  return Texts[Operator];
}

// --- reading a column filter text -----------------------------------------------------------------

namespace {

// The keywords and their second forms; NOT and IN are handled by the reader itself.
enum TKeyword { kwNone, kwNot, kwAnd, kwOr, kwLike, kwIn, kwNull };

class TFilterReader {
public:
  TFilterReader(const String& Text, bool AllowComma) : FText(Text), FAllowComma(AllowComma) {}

  Char Ch(int Pos) const {
    return Pos >= 1 && Pos <= static_cast<int>(FText.size()) ? FText[Pos - 1] : Char(0);
  }
  bool AtEnd(int Pos) const { return Pos > static_cast<int>(FText.size()); }
  void SkipBlanks(int& Pos) const {
    while (Ch(Pos) == u' ') ++Pos;
  }
  [[noreturn]] void Fail(const char16_t* Message) const { throw Exception(Message + FText); }

  bool AllowComma() const { return FAllowComma; }
  void SetAllowComma(bool Value) { FAllowComma = Value; }

  // One token from Pos; Value is set for foValue. Peek only tells an operator or keyword
  // from a value, without reading the value.
  TSTFilterOperatorZk ReadToken(int& Pos, Variant& Value, bool Peek = false) {
    const Char C = Ch(Pos);
    if (C == 0) return foNon;
    if (C == u'\'') {
      if (Peek) return foValue;
      Value = ReadValueList(Pos);
      return foValue;
    }
    const Char Next = Ch(Pos + 1);
    TSTFilterOperatorZk Op = foNon;
    bool IsNot = false, IsIn = false;
    if ((C == u'!' && Next == u'=') || (C == u'<' && Next == u'>')) Op = foNotEqual, Pos += 2;
    else if (C == u'!') IsNot = true, Pos += 1;
    else if (C == u'&') Op = foAND, Pos += 1;
    else if (C == u'(') Op = foNon, Pos += 1;
    else if (C == u'<' && Next == u'=') Op = foLessOrEqual, Pos += 2;
    else if (C == u'<') Op = foLessThan, Pos += 1;
    else if (C == u'=') Op = foEqual, Pos += 1;
    else if (C == u'>' && Next == u'=') Op = foGreaterOrEqual, Pos += 2;
    else if (C == u'>') Op = foGreaterThan, Pos += 1;
    else if (C == u'|') Op = foOR, Pos += 1;
    else if (C == u'~') Op = foLike, Pos += 1;
    else {
      int End = Pos;
      switch (ReadWord(End)) {
        case kwNot: IsNot = true; break;
        case kwAnd: Op = foAND; break;
        case kwOr: Op = foOR; break;
        case kwLike: Op = foLike; break;
        case kwIn: IsIn = true; break;
        case kwNull: Op = foNull; break;
        case kwNone:
          if (Peek) return foValue;
          Value = ReadValueList(Pos);
          return VarIsNull(Value) ? foNon : foValue;
      }
      Pos = End;
    }
    SkipBlanks(Pos);
    if (IsNot) {
      Variant Ignored;
      switch (ReadToken(Pos, Ignored, Peek)) {
        case foLike: return foNotLike;
        case foIn: return foNotIn;
        case foNull: return foNotNull;
        default: return foNon;
      }
    }
    if (IsIn) {
      if (Ch(Pos) != u'(') Fail(u"'(' expected: ");
      ++Pos;
      return foIn;
    }
    return Op;
  }

  // A value list from Pos: one value, or an array of values separated by commas.
  Variant ReadValueList(int& Pos) {
    Variant First = ReadValue(Pos);
    if (VarIsNull(First) || !FAllowComma || Ch(Pos) != u',') return First;
    std::vector<Variant> Values{First};
    while (!VarIsNull(Values.back()) && FAllowComma && Ch(Pos) == u',') {
      ++Pos;
      Values.push_back(ReadValue(Pos));
    }
    return VarArrayOf(Values);
  }

private:
  // A word of characters from code 32 up to a blank or a separator, matched upper-cased
  // against the keywords; End moves past it.
  TKeyword ReadWord(int& End) const {
    static const String Stops = u"!\"&'()+,-.<=>|~";
    const int Start = End;
    while (Ch(End) > u' ' && Stops.find(Ch(End)) == String::npos) ++End;
    const String Word = AnsiUpperCase(FText.substr(Start - 1, End - Start));
    if (Word.empty()) return kwNone;
    if (Word == u"NOT") return kwNot;
    if (Word == u"AND") return kwAnd;
    if (Word == u"OR") return kwOr;
    if (Word == u"LIKE") return kwLike;
    if (Word == u"IN") return kwIn;
    if (Word == u"NULL") return kwNull;
    return kwNone;
  }

  Variant ReadValue(int& Pos) {
    if (AtEnd(Pos)) return Null();
    if (Ch(Pos) == u'\'') return ReadQuoted(Pos);
    const int Start = Pos;
    while (!AtEnd(Pos)) {
      const Char C = Ch(Pos);
      if (C == u'(' || C == u')' || (C == u',' && FAllowComma)) break;
      if (C == u' ' && OperatorFollows(Pos)) break;
      ++Pos;
    }
    return Variant(FText.substr(Start - 1, Pos - Start));
  }

  // Whether the blank at Pos is followed (after further blanks) by an operator or keyword.
  bool OperatorFollows(int Pos) {
    SkipBlanks(Pos);
    Variant Ignored;
    const TSTFilterOperatorZk Op = ReadToken(Pos, Ignored, true);
    return Op >= foEqual && Op <= foOR;
  }

  Variant ReadQuoted(int& Pos) {
    String Value;
    ++Pos;
    for (;;) {
      if (AtEnd(Pos)) Fail(u"Quote is absent: ");
      if (Ch(Pos) == u'\'') {
        if (Ch(Pos + 1) != u'\'') break;
        ++Pos;
      }
      Value += Ch(Pos++);
    }
    ++Pos;
    return Variant(Value);
  }

  const String& FText;
  bool FAllowComma;
};

bool IsArray(const Variant& V) { return VarIsArray(V); }

String ValueText(const Variant& V) { return IsArray(V) ? String() : VarToStr(V); }

Variant StrToFilterDateTime(const String& S) {
  if (AnsiUpperCase(S) == u"NOW") return Variant(S);
  return VarFromDateTime(StrToDateTime(S));
}

Variant ConvertOne(const Variant& V, TSTOperandTypeZk Type) {
  switch (Type) {
    case botNumber: return Variant(static_cast<double>(StrToFloat(VarToStr(V))));
    case botDateTime: return StrToFilterDateTime(VarToStr(V));
    default: return V;
  }
}

void ConvertFilterOperand(TSTFilterOperatorZk Operator, Variant& Operand,
                          TSTOperandTypeZk Type) {
  if (Operator < foEqual || Operator > foNotIn) {
    Operand = Null();
    return;
  }
  if (!IsArray(Operand)) {
    Operand = ConvertOne(Operand, Type);
    return;
  }
  for (int I = VarArrayLowBound(Operand, 1); I <= VarArrayHighBound(Operand, 1); ++I)
    VarArrayPut(Operand, ConvertOne(VarArrayGet(Operand, I), Type), I);
}

// A value typed without an operator on the first condition, under the default operator.
void ApplyDefaultOperator(TSTFilterExpressionZk& Expr, const Variant& Value,
                          TSTFilterDefaultOperatorZk Default) {
  Expr.Operand1 = Value;
  if (Default == fdoAuto) {
    Expr.Operator1 = IsArray(Value) ? foIn : Expr.ExpressionType == botString ? foLike : foEqual;
    return;
  }
  Expr.Operator1 = DefaultOperatorToOperator(Default);
  if (IsArray(Value)) return;
  String Text = ValueText(Value);
  if (Default == fdoBeginsWith || Default == fdoDoesntBeginWith || Default == fdoContains ||
      Default == fdoDoesntContain)
    if (Text.empty() || Text.back() != u'%') Text += u'%';
  if (Default == fdoEndsWith || Default == fdoDoesntEndWith || Default == fdoContains ||
      Default == fdoDoesntContain)
    if (Text.empty() || Text.front() != u'%') Text = u'%' + Text;
  Expr.Operand1 = Variant(Text);
}

// An operator token and its operand; foIn and foNotIn read their list with commas.
void ReadCondition(TFilterReader& R, int& Pos, TSTFilterOperatorZk Token,
                   TSTFilterOperatorZk& Operator, Variant& Operand, bool CloseList) {
  const bool Saved = R.AllowComma();
  const bool List = Token == foIn || Token == foNotIn;
  if (List) R.SetAllowComma(true);
  R.SkipBlanks(Pos);
  Variant Value;
  const TSTFilterOperatorZk OperandToken = R.ReadToken(Pos, Value);
  Operator = Token;
  if (OperandToken == foNull) {
    if (Token == foEqual) Operator = foNull;
    else if (Token == foNotEqual) Operator = foNotNull;
    else R.Fail(u"Unexpected expression before Null: ");
  } else if (OperandToken != foValue) {
    R.Fail(u"Unexpected expression after operator: ");
  }
  Operand = Value;
  if (List && CloseList) {
    R.SkipBlanks(Pos);
    if (R.Ch(Pos) != u')') R.Fail(u"')' expected: ");
    ++Pos;
  }
  R.SetAllowComma(Saved);
}

}  // namespace

void ParseColumnFilterExpression(const String& Text, TSTFilterExpressionZk& Expr,
                                 TSTFilterDefaultOperatorZk DefaultOperator) {
  ClearColumnFilterExpression(Expr);
  const String Trimmed = Trim(Text);
  if (Trimmed.empty()) return;
  const bool CommaIsDecimal =
      Expr.ExpressionType == botNumber && FormatSettings.DecimalSeparator == u',';
  TFilterReader R(Trimmed, !CommaIsDecimal);
  int Pos = 1;
  Variant Value;

  // The first condition.
  const TSTFilterOperatorZk First = R.ReadToken(Pos, Value);
  if (First == foValue) ApplyDefaultOperator(Expr, Value, DefaultOperator);
  else if (First == foNon) R.Fail(u"Error in expression: ");
  else ReadCondition(R, Pos, First, Expr.Operator1, Expr.Operand1, true);

  // The relation.
  R.SkipBlanks(Pos);
  const TSTFilterOperatorZk Relation = R.ReadToken(Pos, Value);
  if (Relation == foNon) {
    if (!R.AtEnd(Pos)) R.Fail(u"Incorrect expression: ");
  } else if (Relation != foAND && Relation != foOR) {
    R.Fail(u"Unexpected AND or OR: ");
  } else {
    Expr.Relation = Relation;
    // The second condition; whatever follows it is not read.
    R.SkipBlanks(Pos);
    const TSTFilterOperatorZk Second = R.ReadToken(Pos, Value);
    if (Second == foNon) {
      if (!R.AtEnd(Pos)) R.Fail(u"Incorrect expression: ");
    } else if (Second == foValue) {
      Expr.Operator2 = IsArray(Value) ? foIn : Expr.ExpressionType == botString ? foLike : foEqual;
      Expr.Operand2 = Value;
    } else {
      ReadCondition(R, Pos, Second, Expr.Operator2, Expr.Operand2, false);
    }
  }

  ConvertFilterOperand(Expr.Operator1, Expr.Operand1, Expr.ExpressionType);
  ConvertFilterOperand(Expr.Operator2, Expr.Operand2, Expr.ExpressionType);
}

// --- building the dataset filter string -----------------------------------------------------------

void FormatFilterValue(const Variant& Value, String& Text, TDataSet* DataSet,
                       const TFilterDateFormatterZk& DateFormatter) {
  if (VarType(Value) == varDouble) {
    Text = FloatToStr(Value.AsDouble());
  } else if (VarType(Value) == varDate) {
    if (DateFormatter) DateFormatter(DataSet, Value, Text);
    else Text = QuotedStr(DateTimeToStr(VarToDateTime(Value)));
  } else {
    // Quotes inside are doubled, so a value such as O'Neil stays one literal.
    Text = QuotedStr(VarToStr(Value));
  }
}

void BuildFilterCondition(TSTFilterOperatorZk Operator, const Variant& Operand,
                          const String& FieldText, TDataSet* DataSet,
                          const TFilterDateFormatterZk& DateFormatter, bool SupportsLike,
                          String& Result) {
  auto V = [&](const Variant& Value) {
    String Text;
    FormatFilterValue(Value, Text, DataSet, DateFormatter);
    return Text;
  };
  String S;
  if (Operator == foIn || Operator == foNotIn) {
    const String Compare = Operator == foIn ? u"] = " : u"] <> ";
    const String Join = Operator == foIn ? u" OR " : u" AND ";
    S = u" (";
    if (IsArray(Operand)) {
      for (int I = VarArrayLowBound(Operand, 1); I <= VarArrayHighBound(Operand, 1); ++I)
        S += u"[" + FieldText + Compare + V(VarArrayGet(Operand, I)) + Join;
    } else {
      S += u"[" + FieldText + Compare + V(Operand) + Join;
    }
    S.resize(S.size() - Join.size());
    S += u")";
  } else if (Operator == foLike || Operator == foNotLike) {
    const bool Not = Operator == foNotLike;
    S = u" [" + FieldText +
        (SupportsLike ? (Not ? u"] Not Like " : u"] Like ") : (Not ? u"] <> " : u"] = ")) +
        V(Operand);
  } else if (Operator == foNull || Operator == foNotNull) {
    S = u" [" + FieldText + u"] " + FilterOperatorSQLText(Operator);
  } else {
    S = u" [" + FieldText + u"] " + FilterOperatorSQLText(Operator) + u" " + V(Operand);
  }
  Result += S;
}

void BuildColumnFilterString(TColumnZk* Column, const TFilterConditionProcZk& ConditionProc,
                             const TFilterDateFormatterZk& DateFormatter, bool UseOrigin,
                             bool SupportsLike, String& Result) {
  Result.clear();
  TSTColumnFilterZk* Filter = Column->STFilter();
  TField* Field = Column->Field();
  const TSTFilterExpressionZk Expr = Filter->Expression();
  if (!Field || Expr.ExpressionType == botNon || Expr.Operator1 == foNon) return;
  String FieldText;
  if (UseOrigin && !Field->Origin().empty() && Filter->DataField().empty())
    FieldText = Field->Origin();
  else
    FieldText = Filter->GetFilterFieldName();
  TDataSet* DataSet = Column->Grid() ? Column->Grid()->DataSet() : nullptr;
  ConditionProc(Expr.Operator1, Filter->GetOperand1(), FieldText, DataSet, DateFormatter,
                SupportsLike, Result);
  // A relation without a second condition ("> 1 AND") writes the first condition alone.
  if (Expr.Relation == foNon || Expr.Operator2 == foNon) return;
  Result += u" " + FilterOperatorSQLText(Expr.Relation);
  ConditionProc(Expr.Operator2, Filter->GetOperand2(), FieldText, DataSet, DateFormatter,
                SupportsLike, Result);
  if (Expr.Relation == foOR) Result = u"(" + Result + u")";
}

void BuildGridFilterString(TCustomDBGridZk* Grid, const TFilterConditionProcZk& ConditionProc,
                           const TFilterDateFormatterZk& DateFormatter, bool UseOrigin,
                           bool SupportsLike, String& Result) {
  Result.clear();
  if (!Grid || !Grid->DataSource() || !Grid->DataSource()->DataSet()) return;
  for (int I = 0; I < Grid->Columns()->Count(); ++I) {
    String Part;
    BuildColumnFilterString(Grid->Columns()->Items(I), ConditionProc, DateFormatter, UseOrigin,
                            SupportsLike, Part);
    if (!Part.empty()) Result += Part + u" AND ";
  }
  if (Result.size() >= 4) Result.resize(Result.size() - 4);
}
