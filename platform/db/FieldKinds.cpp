// FieldKinds.cpp - the field kinds: canonical values (size, range, type), texts with display
// and edit formats, and the class for each field type.
#include "platform/db/Fields.h"

#include <cmath>
#include <limits>

#include "platform/db/DataSet.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

// ===== strings =================================================================================

TStringField::TStringField(TComponent* AOwner, TFieldType DataType) : TField(AOwner, DataType) {
  FSize = 20;
}

void TStringField::CheckTypeSize(int Value) const {
  if (Value < 0) DatabaseError(u"Invalid field size", this);
}

Variant TStringField::Canonical(const Variant& V) const {
  String Text = V.AsString();
  if (FSize > 0 && Text.size() > static_cast<std::size_t>(FSize)) Text.resize(FSize);
  return Variant(std::move(Text));
}

Integer TStringField::GetAsInteger() const {
  String S = Trim(GetAsString());
  if (S.empty()) return 0;
  Integer Value = 0;
  if (!TryStrToInt(S, Value)) ConvertError(S);
  return Value;
}

double TStringField::GetAsFloat() const {
  String S = Trim(GetAsString());
  if (S.empty()) return 0;
  double Value = 0;
  if (!TryStrToFloat(S, Value)) ConvertError(S);
  return Value;
}

bool TStringField::GetAsBoolean() const {
  String S = GetAsString();
  if (S.empty()) return false;
  Char C = S[0];
  return C == u'T' || C == u't' || C == u'Y' || C == u'y';
}

TGuidField::TGuidField(TComponent* AOwner) : TStringField(AOwner, ftGuid) { FSize = 38; }

// ===== numbers =================================================================================

TNumericField::TNumericField(TComponent* AOwner, TFieldType DataType) : TField(AOwner, DataType) {
  SetAlignment(taRightJustify);
}

void TNumericField::SetDisplayFormat(const String& Value) { FDisplayFormat = Value; PropertyChanged(false); }
void TNumericField::SetEditFormat(const String& Value) { FEditFormat = Value; PropertyChanged(false); }

bool TNumericField::IsValidChar(Char Ch) const {
  if (Ch >= u'0' && Ch <= u'9') return true;
  if (Ch == u'+' || Ch == u'-') return true;
  bool IsFloat = DataType() != ftSmallint && DataType() != ftInteger && DataType() != ftWord &&
                 DataType() != ftAutoInc && DataType() != ftLargeint;
  if (!IsFloat) return false;
  return Ch == FormatSettings.DecimalSeparator || Ch == u'E' || Ch == u'e';
}

void TNumericField::SetAsStringValue(const String& V) {
  if (Trim(V).empty()) {
    Clear();
    return;
  }
  SetVarValue(Variant(V));
}

TIntegerField::TIntegerField(TComponent* AOwner, TFieldType DataType)
    : TNumericField(AOwner, DataType) {}

void TIntegerField::TypeRange(Int64& Min, Int64& Max) const {
  switch (DataType()) {
    case ftSmallint: Min = INT16_MIN; Max = INT16_MAX; break;
    case ftWord: Min = 0; Max = UINT16_MAX; break;
    case ftLargeint: Min = INT64_MIN; Max = INT64_MAX; break;
    default: Min = INT32_MIN; Max = INT32_MAX; break;
  }
}

Variant TIntegerField::Canonical(const Variant& V) const {
  Int64 Value = 0;
  if (V.IsString()) {
    String S = Trim(V.AsString());
    if (!TryStrToInt64(S, Value)) ConvertError(S);
  } else {
    Value = V.AsInt64();
  }
  Int64 Min = 0, Max = 0;
  TypeRange(Min, Max);
  if (FMinValue != 0 || FMaxValue != 0) {
    Min = FMinValue;
    Max = FMaxValue;
  }
  if (Value < Min || Value > Max)
    DatabaseError(FieldRangeText(IntToStr(Value), DisplayName(), IntToStr(Min), IntToStr(Max)));
  switch (DataType()) {
    case ftSmallint: return Variant(static_cast<short>(Value));
    case ftWord: return Variant(static_cast<unsigned short>(Value));
    case ftLargeint: return Variant(static_cast<long long>(Value));
    default: return Variant(static_cast<int>(Value));
  }
}

void TIntegerField::GetText(String& Text, bool DisplayText) const {
  Variant V = GetAsVariant();
  if (V.IsNull()) {
    Text.clear();
    return;
  }
  const String& Fmt = DisplayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
  Text = Fmt.empty() ? IntToStr(V.AsInt64()) : FormatFloat(Fmt, static_cast<Extended>(V.AsInt64()));
}

TAutoIncField::TAutoIncField(TComponent* AOwner) : TIntegerField(AOwner, ftAutoInc) {
  SetAutoGenerateValue(arAutoInc);
}

TFloatField::TFloatField(TComponent* AOwner, TFieldType DataType) : TNumericField(AOwner, DataType) {}

void TFloatField::SetCurrency(bool Value) { FCurrency = Value; PropertyChanged(false); }

void TFloatField::SetPrecision(int Value) {
  FPrecision = Value < 2 ? 2 : Value > 15 ? 15 : Value;
  PropertyChanged(false);
}

Variant TFloatField::Canonical(const Variant& V) const {
  double Value = 0;
  if (V.IsString()) {
    String S = Trim(V.AsString());
    if (!TryStrToFloat(S, Value)) ConvertError(S);
  } else {
    Value = V.AsDouble();
  }
  if ((FMinValue != 0 || FMaxValue != 0) && (Value < FMinValue || Value > FMaxValue))
    DatabaseError(FieldRangeText(FloatToStr(Value), DisplayName(), FloatToStr(FMinValue),
                                 FloatToStr(FMaxValue)));
  return Variant(Value);
}

void TFloatField::GetText(String& Text, bool DisplayText) const {
  Variant V = GetAsVariant();
  if (V.IsNull()) {
    Text.clear();
    return;
  }
  double Value = V.AsDouble();
  const String& Fmt = DisplayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
  if (!Fmt.empty()) {
    Text = FormatFloat(Fmt, Value);
  } else if (FCurrency) {
    Text = FloatToStrF(Value, DisplayText ? ffCurrency : ffFixed, FPrecision,
                       FormatSettings.CurrencyDecimals);
  } else {
    Text = FloatToStrF(Value, ffGeneral, FPrecision, 0);
  }
}

TCurrencyField::TCurrencyField(TComponent* AOwner) : TFloatField(AOwner, ftCurrency) {
  SetCurrency(true);
}

TBCDField::TBCDField(TComponent* AOwner, TFieldType DataType) : TNumericField(AOwner, DataType) {
  FSize = 4;
}

void TBCDField::SetCurrency(bool Value) { FCurrency = Value; PropertyChanged(false); }

void TBCDField::CheckTypeSize(int Value) const {
  if (Value < 0 || Value > 32) DatabaseError(u"Invalid field size", this);
}

Variant TBCDField::Canonical(const Variant& V) const {
  if (V.IsString()) {
    String S = Trim(V.AsString());
    Currency Value;
    if (!TryStrToCurr(S, Value)) ConvertError(S);
    return Variant(Value);
  }
  return Variant(V.AsCurrency());
}

void TBCDField::GetText(String& Text, bool DisplayText) const {
  Variant V = GetAsVariant();
  if (V.IsNull()) {
    Text.clear();
    return;
  }
  Currency Value = V.AsCurrency();
  const String& Fmt = DisplayText || EditFormat().empty() ? DisplayFormat() : EditFormat();
  if (!Fmt.empty()) Text = FormatCurr(Fmt, Value);
  else if (FCurrency) Text = CurrToStrF(Value, DisplayText ? ffCurrency : ffFixed, FormatSettings.CurrencyDecimals);
  else Text = CurrToStr(Value);
}

// ===== Boolean and dates =======================================================================

TBooleanField::TBooleanField(TComponent* AOwner) : TField(AOwner, ftBoolean) {}

void TBooleanField::SetDisplayValues(const String& Value) {
  FDisplayValues = Value;
  std::size_t Semi = Value.find(u';');
  FTrueText = Value.empty() ? String(u"True") : Value.substr(0, Semi);
  FFalseText = Value.empty() ? String(u"False") : Semi == String::npos ? String() : Value.substr(Semi + 1);
  PropertyChanged(false);
}

Variant TBooleanField::Canonical(const Variant& V) const { return Variant(V.AsBoolean()); }

void TBooleanField::GetText(String& Text, bool DisplayText) const {
  (void)DisplayText;
  Variant V = GetAsVariant();
  Text = V.IsNull() ? String() : V.AsBoolean() ? FTrueText : FFalseText;
}

void TBooleanField::SetAsStringValue(const String& V) {
  String S = Trim(V);
  if (S.empty()) {
    Clear();
    return;
  }
  auto Matches = [&](const String& Word) {
    return !Word.empty() && AnsiSameText(S, Word.substr(0, S.size()));
  };
  if (Matches(FTrueText)) SetAsBooleanValue(true);
  else if (Matches(FFalseText)) SetAsBooleanValue(false);
  else ConvertError(S);
}

TDateTimeField::TDateTimeField(TComponent* AOwner, TFieldType DataType) : TField(AOwner, DataType) {}

void TDateTimeField::SetDisplayFormat(const String& Value) { FDisplayFormat = Value; PropertyChanged(false); }

Variant TDateTimeField::Canonical(const Variant& V) const {
  TDateTime Value = 0;
  if (V.IsString()) {
    String S = Trim(V.AsString());
    bool Ok = DataType() == ftDate   ? TryStrToDate(S, Value)
              : DataType() == ftTime ? TryStrToTime(S, Value)
                                     : TryStrToDateTime(S, Value);
    if (!Ok) ConvertError(S);
  } else {
    Value = V.AsDateTime();
  }
  if (DataType() == ftDate) Value = std::trunc(Value);
  if (DataType() == ftTime) Value = std::fabs(Value - std::trunc(Value));
  return Variant::FromDateTime(Value);
}

void TDateTimeField::GetText(String& Text, bool DisplayText) const {
  Variant V = GetAsVariant();
  if (V.IsNull()) {
    Text.clear();
    return;
  }
  TDateTime Value = V.AsDateTime();
  String Fmt = DisplayText ? FDisplayFormat : String();
  if (Fmt.empty()) {
    switch (DataType()) {
      case ftDate: Fmt = FormatSettings.ShortDateFormat; break;
      case ftTime: Fmt = FormatSettings.LongTimeFormat; break;
      default: Text = DateTimeToStr(Value); return;
    }
  }
  Text = FormatDateTime(Fmt, Value);
}

void TDateTimeField::SetAsStringValue(const String& V) {
  if (Trim(V).empty()) {
    Clear();
    return;
  }
  SetVarValue(Variant(V));
}

// ===== blobs and the rest ======================================================================

TBlobField::TBlobField(TComponent* AOwner, TFieldType DataType) : TField(AOwner, DataType) {}

void TBlobField::CheckTypeSize(int Value) const {
  if (Value < 0) DatabaseError(u"Invalid field size", this);
}

void TBlobField::GetText(String& Text, bool DisplayText) const {
  if (DataType() == ftMemo || DataType() == ftWideMemo || DataType() == ftFmtMemo) {
    Text = DisplayText ? (IsNull() ? String(u"(memo)") : String(u"(MEMO)")) : GetAsString();
    return;
  }
  Text = IsNull() ? String(u"(") + (FDataType == ftGraphic ? u"graphic" : u"blob") + u")"
                  : String(u"(") + (FDataType == ftGraphic ? u"GRAPHIC" : u"BLOB") + u")";
}

void TBlobField::SetVarValue(const Variant& V) {
  Variant Value = V.IsArray() ? Variant(BlobBytesToText(VarArrayToBytes(V))) : V;
  FModified = true;
  SetData(&Value);
}

String BlobBytesToText(std::string_view Bytes) {
  String Text(Bytes.size(), u'\0');
  for (std::size_t I = 0; I < Bytes.size(); ++I)
    Text[I] = static_cast<unsigned char>(Bytes[I]);
  return Text;
}

bool BlobTextToBytes(std::u16string_view Text, std::string& Bytes) {
  Bytes.resize(Text.size());
  bool AllBytes = true;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] > 0xFF) AllBytes = false;
    Bytes[I] = static_cast<char>(Text[I] & 0xFF);
  }
  return AllBytes;
}

std::string TBlobField::AsBytes() const {
  // A character above 0xFF can only come from text assigned as a string; it keeps its low byte.
  std::string Result;
  BlobTextToBytes(GetAsString(), Result);
  return Result;
}

void TBlobField::SetAsBytes(const std::string& Bytes) { SetVarValue(Variant(BlobBytesToText(Bytes))); }

TAggregateField::TAggregateField(TComponent* AOwner) : TField(AOwner, ftUnknown) {
  SetFieldKind(fkAggregate);
}

void TAggregateField::SetExpression(const String& Value) {
  FExpression = Value;
  if (DataSet()) DataSet()->ResetAggField(this);
}

void TAggregateField::SetActive(bool Value) {
  FActive = Value;
  if (DataSet()) DataSet()->ResetAggField(this);
}

Variant TAggregateField::GetAsVariant() const {
  if (!DataSet() || !FActive) return Variant::MakeNull();
  return DataSet()->GetAggregateValue(const_cast<TAggregateField*>(this));
}

void TAggregateField::GetText(String& Text, bool DisplayText) const {
  (void)DisplayText;
  Variant V = GetAsVariant();
  if (V.IsNull()) {
    Text.clear();
    return;
  }
  if (!FDisplayFormat.empty() && !V.IsString()) Text = FormatFloat(FDisplayFormat, V.AsDouble());
  else if (FCurrency && !V.IsString()) Text = FloatToStrF(V.AsDouble(), ffCurrency, 15, FormatSettings.CurrencyDecimals);
  else Text = V.AsString();
}

// ===== field classes ===========================================================================

namespace {
template <class T>
TField* Make(TComponent* Owner) { return new T(Owner); }
TField* MakeString(TComponent* Owner) { return new TStringField(Owner, ftString); }
TField* MakeFixedChar(TComponent* Owner) {
  auto* F = new TStringField(Owner, ftFixedChar);
  F->SetFixedChar(true);
  return F;
}
TField* MakeInteger(TComponent* Owner) { return new TIntegerField(Owner, ftInteger); }
TField* MakeFloat(TComponent* Owner) { return new TFloatField(Owner, ftFloat); }
TField* MakeBCD(TComponent* Owner) { return new TBCDField(Owner, ftBCD); }
TField* MakeFMTBcd(TComponent* Owner) { return new TBCDField(Owner, ftFMTBcd); }
TField* MakeDateTime(TComponent* Owner) { return new TDateTimeField(Owner, ftDateTime); }
TField* MakeBlob(TComponent* Owner) { return new TBlobField(Owner, ftBlob); }
TField* MakeMemo(TComponent* Owner) { return new TMemoField(Owner, ftMemo); }
TField* MakeFmtMemo(TComponent* Owner) { return new TMemoField(Owner, ftFmtMemo); }
}  // namespace

TFieldClass DefaultFieldClass(TFieldType Type) {
  switch (Type) {
    case ftString: return MakeString;
    case ftFixedChar: return MakeFixedChar;
    case ftWideString: case ftFixedWideChar: return Make<TWideStringField>;
    case ftGuid: return Make<TGuidField>;
    case ftSmallint: case ftShortint: case ftByte: return Make<TSmallintField>;
    case ftInteger: case ftLongWord: return MakeInteger;
    case ftWord: return Make<TWordField>;
    case ftAutoInc: return Make<TAutoIncField>;
    case ftLargeint: return Make<TLargeintField>;
    case ftFloat: case ftExtended: case ftSingle: return MakeFloat;
    case ftCurrency: return Make<TCurrencyField>;
    case ftBCD: return MakeBCD;
    case ftFMTBcd: return MakeFMTBcd;
    case ftBoolean: return Make<TBooleanField>;
    case ftDate: return Make<TDateField>;
    case ftTime: return Make<TTimeField>;
    case ftDateTime: case ftTimeStamp: return MakeDateTime;
    case ftBlob: case ftBytes: case ftVarBytes: case ftTypedBinary: case ftOraBlob:
      return MakeBlob;
    case ftMemo: case ftOraClob: return MakeMemo;
    case ftFmtMemo: return MakeFmtMemo;
    case ftWideMemo: return Make<TWideMemoField>;
    case ftGraphic: return Make<TGraphicField>;
    case ftVariant: return Make<TVariantField>;
    case ftReference: return Make<TReferenceField>;
    default: return nullptr;
  }
}
