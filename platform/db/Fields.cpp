// Fields.cpp - TField: binding to a dataset, the value exchange, typed access, texts, lookup
// values and the lookup cache; TFields. The field kinds are in FieldKinds.cpp.
#include "platform/db/Fields.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/db/DataSet.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

// The type-registry record of TField and the field kinds is in DBRegister.cpp.

namespace {
const Variant& NullValue() {
  static const Variant Value = Variant::MakeNull();
  return Value;
}
}  // namespace

TField::TField(TComponent* AOwner, TFieldType DataType) : TComponent(AOwner), FDataType(DataType) {}

TField::~TField() {
  if (FDataSet) FDataSet->RemoveField(this);
  FDataSet = nullptr;
  if (FLookupDataSet) FLookupDataSet->RemoveFreeNotification(this);
}

void TField::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (FDataSet) FDataSet->CheckInactive();
  if (Value) Value->CheckInactive();
  if (FDataSet) FDataSet->RemoveField(this);
  FDataSet = nullptr;
  if (Value) {
    Value->AddField(this);
    FDataSet = Value;
  }
}

void TField::SetFieldName(const String& Value) {
  if (FDataSet && Value != FFieldName) {
    TField* Other = FDataSet->FindField(Value);
    if (Other && Other != this) DatabaseError(DuplicateFieldText(Value), FDataSet);
  }
  FFieldName = Value;
}

void TField::SetFieldKind(TFieldKind Value) {
  if (FDataSet) FDataSet->CheckInactive();
  FFieldKind = Value;
}

int TField::Index() const {
  if (!FDataSet) return -1;
  const TFields& List = *FDataSet->Fields();
  if (static_cast<unsigned>(FIndexHint) < static_cast<unsigned>(List.Count()) && *(List.begin() + FIndexHint) == this)
    return FIndexHint;
  FIndexHint = List.IndexOf(this);
  return FIndexHint;
}

void TField::SetIndex(int Value) {
  if (FDataSet) FDataSet->Fields()->SetFieldIndex(this, Value);
}

void TField::SetSize(int Value) {
  if (FDataSet) FDataSet->CheckInactive();
  CheckTypeSize(Value);
  FSize = Value;
}

void TField::CheckTypeSize(int Value) const {
  if (Value != 0) DatabaseError(u"Invalid field size", this);
}

int TField::DataSize() const { return 8; }

void TField::PropertyChanged(bool LayoutAffected) {
  if (FDataSet && FDataSet->Active())
    FDataSet->DataEvent(LayoutAffected ? deLayoutChange : deDataSetChange, 0);
}

void TField::SetDisplayLabel(const String& Value) {
  FDisplayLabel = Value == FFieldName ? String() : Value;
  PropertyChanged(true);
}
void TField::SetDisplayWidth(int Value) { FDisplayWidth = Value; PropertyChanged(true); }
void TField::SetAlignment(TAlignment Value) { FAlignment = Value; PropertyChanged(false); }
void TField::SetVisible(bool Value) { FVisible = Value; PropertyChanged(true); }
void TField::SetReadOnly(bool Value) { FReadOnly = Value; PropertyChanged(false); }
void TField::SetEditMask(const String& Value) { FEditMask = Value; PropertyChanged(false); }

bool TField::CanModify() const {
  if (FReadOnly || !FDataSet || !FDataSet->CanModify()) return false;
  if (FFieldKind == fkLookup) return !FKeyFields.empty();
  return FFieldKind == fkData;
}

bool TField::IsValidChar(Char Ch) const { (void)Ch; return true; }

void TField::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FLookupDataSet) {
    FLookupDataSet = nullptr;
    FLookupList.clear();
  }
}

// ===== lookup definition =======================================================================

void TField::SetKeyFields(const String& Value) { FKeyFields = Value; FLookupList.clear(); }
void TField::SetLookupKeyFields(const String& Value) { FLookupKeyFields = Value; FLookupList.clear(); }
void TField::SetLookupResultField(const String& Value) { FLookupResultField = Value; FLookupList.clear(); }

void TField::SetLookupDataSet(TDataSet* Value) {
  if (Value == FLookupDataSet) return;
  if (FLookupDataSet) FLookupDataSet->RemoveFreeNotification(this);
  FLookupDataSet = Value;
  if (Value) Value->FreeNotification(this);
  FLookupList.clear();
}

void TField::SetLookupCache(bool Value) {
  FLookupCache = Value;
  FLookupList.clear();
  if (Value && FLookupDataSet && FLookupDataSet->Active()) RefreshLookupList();
}

void TField::RefreshLookupList() {
  FLookupList.clear();
  if (!FLookupDataSet || FLookupKeyFields.empty() || FLookupResultField.empty())
    DatabaseError(LookupInfoText(DisplayName()), FDataSet);
  TDataSet* Source = FLookupDataSet;
  Source->Open();
  TBookmark Saved = Source->GetBookmark();
  Source->DisableControls();
  try {
    for (Source->First(); !Source->Eof(); Source->Next())
      FLookupList.emplace_back(Source->FieldValues(FLookupKeyFields),
                               Source->FieldValues(FLookupResultField));
  } catch (...) {
    Source->EnableControls();
    throw;
  }
  if (!Saved.empty() && Source->BookmarkValid(Saved)) Source->GotoBookmark(Saved);
  Source->EnableControls();
}

void TField::CalcLookupValue() {
  if (!FDataSet) return;
  Variant Result = Variant::MakeNull();
  Variant Keys = FDataSet->FieldValues(FKeyFields);
  bool KeysNull = !Keys.IsArray() && Keys.IsNull();
  if (!KeysNull && FLookupCache) {
    if (FLookupList.empty() && FLookupDataSet && FLookupDataSet->Active()) RefreshLookupList();
    for (const auto& Entry : FLookupList)
      if (VarSameValue(Entry.first, Keys)) {
        Result = Entry.second;
        break;
      }
  } else if (!KeysNull && FLookupDataSet && FLookupDataSet->Active()) {
    Result = FLookupDataSet->Lookup(FLookupKeyFields, Keys, FLookupResultField);
  }
  // Lookup answers Empty when nothing matches; a lookup field shows that as Null.
  if (Result.IsEmpty()) Result = Variant::MakeNull();
  SetData(Result.IsNull() ? nullptr : &Result);
}

// ===== value exchange ==========================================================================

bool TField::GetData(Variant* Value) const {
  if (FValidating) {
    if (Value) *Value = *FValidating;
    return !FValidating->IsNull();
  }
  if (!FDataSet) DatabaseError(u"Field '" + DisplayName() + u"' has no dataset", this);
  return FDataSet->GetFieldData(const_cast<TField*>(this), Value);
}

void TField::SetData(const Variant* Value) {
  if (!FDataSet) DatabaseError(u"Field '" + DisplayName() + u"' has no dataset", this);
  // A read-only data field refuses the user's writes; calculated values and filter or key
  // buffers are the dataset's own.
  const TDataSetState State = FDataSet->State();
  if (FReadOnly && FFieldKind == fkData && (State == dsEdit || State == dsInsert))
    DatabaseError(FieldReadOnlyText(DisplayName()), FDataSet);
  if (Value && Value->IsNull()) Value = nullptr;
  FDataSet->SetFieldData(this, Value);
}

void TField::Validate(const Variant* Value) {
  if (!FOnValidate) return;
  const Variant* Saved = FValidating;
  FValidating = Value ? Value : &NullValue();
  try {
    FOnValidate(this);
  } catch (...) {
    FValidating = Saved;
    throw;
  }
  FValidating = Saved;
}

void TField::Change() {
  if (FOnChange) FOnChange(this);
}

void TField::FocusControl() {
  if (FDataSet && FDataSet->Active())
    FDataSet->DataEvent(deFocusControl, reinterpret_cast<std::intptr_t>(this));
}

bool TField::IsNull() const { return !GetData(nullptr); }

void TField::SetAsVariant(const Variant& V) {
  if (V.IsNull() || V.IsEmpty()) {
    Clear();
    return;
  }
  SetVarValue(V);
}

void TField::SetVarValue(const Variant& V) {
  if (FFieldKind == fkLookup && FDataSet && FLookupDataSet) {
    // Writing a lookup field writes its key fields with the keys of the chosen result.
    Variant Keys = FLookupDataSet->Lookup(FLookupResultField, V, FLookupKeyFields);
    if (Keys.IsEmpty()) Keys = Variant::MakeNull();
    FDataSet->SetFieldValues(FKeyFields, Keys);
    Change();
    return;
  }
  Variant Value = Canonical(V);
  SetData(&Value);
}

void TField::ConvertError(const String& Text) const {
  throw EConvertError(InvalidFieldValueText(Text, DisplayName()));
}

// ===== typed access ============================================================================

Variant TField::GetAsVariant() const {
  Variant V;
  if (GetData(&V)) return V;
  return Variant::MakeNull();
}

String TField::GetAsString() const {
  Variant V = GetAsVariant();
  return V.IsNull() ? String() : V.AsString();
}
void TField::SetAsStringValue(const String& V) {
  if (V.empty() && FDataType != ftString && FDataType != ftWideString) {
    Clear();
    return;
  }
  SetVarValue(Variant(V));
}

Integer TField::GetAsInteger() const {
  Variant V = GetAsVariant();
  return V.IsNull() ? 0 : V.AsInteger();
}
void TField::SetAsIntegerValue(Integer V) { SetVarValue(Variant(V)); }

Int64 TField::GetAsLargeInt() const {
  Variant V = GetAsVariant();
  return V.IsNull() ? 0 : V.AsInt64();
}
void TField::SetAsLargeIntValue(Int64 V) { SetVarValue(Variant(static_cast<long long>(V))); }

double TField::GetAsFloat() const {
  Variant V = GetAsVariant();
  return V.IsNull() ? 0.0 : V.AsDouble();
}
void TField::SetAsFloatValue(double V) { SetVarValue(Variant(V)); }

Currency TField::GetAsCurrency() const {
  Variant V = GetAsVariant();
  return V.IsNull() ? Currency() : V.AsCurrency();
}
void TField::SetAsCurrencyValue(Currency V) { SetVarValue(Variant(V)); }

TDateTime TField::GetAsDateTime() const {
  Variant V = GetAsVariant();
  return V.IsNull() ? 0.0 : V.AsDateTime();
}
void TField::SetAsDateTimeValue(TDateTime V) { SetVarValue(Variant::FromDateTime(V)); }

bool TField::GetAsBoolean() const {
  Variant V = GetAsVariant();
  return V.IsNull() ? false : V.AsBoolean();
}
void TField::SetAsBooleanValue(bool V) { SetVarValue(Variant(V)); }

// ===== texts ===================================================================================

void TField::GetText(String& Text, bool DisplayText) const {
  (void)DisplayText;
  Text = GetAsString();
}

void TField::SetTextValue(const String& Text) { SetAsStringValue(Text); }

String TField::Text() const {
  String Result;
  if (FOnGetText) FOnGetText(const_cast<TField*>(this), Result, false);
  else GetText(Result, false);
  return Result;
}

String TField::DisplayText() const {
  String Result;
  if (FOnGetText) FOnGetText(const_cast<TField*>(this), Result, true);
  else GetText(Result, true);
  return Result;
}

void TField::SetText(const String& Value) {
  if (FOnSetText) FOnSetText(this, Value);
  else SetTextValue(Value);
}

// ===== old, current and new values =============================================================

Variant TField::ValueInState(TDataSetState State) const {
  if (!FDataSet) return Variant::MakeNull();
  TDataSetState Saved = FDataSet->SetTempState(State);
  Variant Result;
  try {
    Result = GetAsVariant();
  } catch (...) {
    FDataSet->RestoreState(Saved);
    throw;
  }
  FDataSet->RestoreState(Saved);
  return Result;
}

Variant TField::OldValue() const { return ValueInState(dsOldValue); }
Variant TField::CurValue() const { return ValueInState(dsCurValue); }
Variant TField::NewValue() const { return ValueInState(dsNewValue); }

void TField::SetNewValue(const Variant& V) {
  if (!FDataSet) return;
  TDataSetState Saved = FDataSet->SetTempState(dsNewValue);
  try {
    SetAsVariant(V);
  } catch (...) {
    FDataSet->RestoreState(Saved);
    throw;
  }
  FDataSet->RestoreState(Saved);
}

// ===== TFields =================================================================================

TField* TFields::Fields(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return FList[Index];
}

int TFields::IndexOf(const TField* Field) const {
  auto It = std::find(FList.begin(), FList.end(), Field);
  return It == FList.end() ? -1 : static_cast<int>(It - FList.begin());
}

TField* TFields::FindField(const String& Name) const {
  for (TField* Field : FList)
    if (AnsiSameText(Field->FieldName(), Name)) return Field;
  return nullptr;
}

TField* TFields::FieldByName(const String& Name) const {
  TField* Field = FindField(Name);
  if (!Field) DatabaseError(FieldNotFoundText(Name), FDataSet);
  return Field;
}

TField* TFields::FieldByNumber(int FieldNo) const {
  for (TField* Field : FList)
    if (Field->FieldNo() == FieldNo) return Field;
  return nullptr;
}

void TFields::Add(TField* Field) { FList.push_back(Field); }

void TFields::Remove(TField* Field) {
  FList.erase(std::remove(FList.begin(), FList.end(), Field), FList.end());
}

void TFields::SetFieldIndex(TField* Field, int Index) {
  int Cur = IndexOf(Field);
  if (Cur < 0) return;
  Index = std::clamp(Index, 0, Count() - 1);
  FList.erase(FList.begin() + Cur);
  FList.insert(FList.begin() + Index, Field);
  if (FDataSet) FDataSet->DataEvent(deFieldListChange, 0);
}

void TFields::Clear() {
  for (TField* Field : std::vector<TField*>(FList)) Field->SetDataSet(nullptr);
}
