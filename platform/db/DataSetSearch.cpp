// DataSetSearch.cpp - TDataSet's field-value lists and the generic Locate and Lookup, which
// walk the records with controls disabled. Datasets with a faster way override them.
#include "platform/db/DataSet.h"

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

namespace {

// One key's value as the list of values gives it (a single value or an array element).
Variant KeyValue(const Variant& Values, std::size_t Index, std::size_t Count) {
  if (Count == 1 && !Values.IsArray()) return Values;
  if (!Values.IsArray()) DatabaseError(DBText::NotArray);
  if (static_cast<int>(Index) >= Values.ArrayLength()) return Variant::MakeNull();
  return Values[Values.ArrayLowBound() + static_cast<int>(Index)];
}

bool FieldMatches(const TField* Field, const Variant& Key, TLocateOptions Options) {
  Variant Value = Field->AsVariant();
  bool KeyNull = Key.IsNull() || Key.IsEmpty();
  if (Value.IsNull() || KeyNull) return Value.IsNull() && KeyNull;
  bool CaseIns = Options.Contains(loCaseInsensitive);
  bool Partial = Options.Contains(loPartialKey);
  if (Value.IsString() || Key.IsString() || CaseIns || Partial) {
    if (!Value.IsString() && !Key.IsString()) return VarSameValue(Value, Key);
    String Text = Value.AsString();
    String KeyText = Key.AsString();
    if (Partial && Text.size() > KeyText.size()) Text.resize(KeyText.size());
    return CaseIns ? AnsiSameText(Text, KeyText) : Text == KeyText;
  }
  return VarSameValue(Value, Key);
}

}  // namespace

Variant TDataSet::FieldValues(const String& FieldNames) const {
  std::vector<TField*> List;
  GetFieldList(List, FieldNames);
  if (List.size() == 1) return List[0]->AsVariant();
  std::vector<Variant> Values;
  for (TField* Field : List) Values.push_back(Field->AsVariant());
  return VarArrayOf(Values);
}

void TDataSet::SetFieldValues(const String& FieldNames, const Variant& Value) {
  std::vector<TField*> List;
  GetFieldList(List, FieldNames);
  if (List.size() == 1) {
    List[0]->SetAsVariant(Value);
    return;
  }
  if (!Value.IsArray()) DatabaseError(DBText::NotArray, this);
  for (std::size_t I = 0; I < List.size(); ++I)
    List[I]->SetAsVariant(KeyValue(Value, I, List.size()));
}

bool TDataSet::LocateRecord(const String& KeyFields, const Variant& KeyValues,
                            TLocateOptions Options, bool SyncCursor) {
  CheckBrowseMode();
  std::vector<TField*> Keys;
  GetFieldList(Keys, KeyFields);
  if (Keys.empty()) return false;
  if (IsEmpty()) return false;
  TBookmark Saved = GetBookmark();
  bool Found = false;
  DisableControls();
  try {
    // Walk without scroll events: only the final position counts as a move.
    TDataSetNotifyEvent SavedBefore = std::move(FBeforeScroll);
    TDataSetNotifyEvent SavedAfter = std::move(FAfterScroll);
    FBeforeScroll = nullptr;
    FAfterScroll = nullptr;
    try {
      for (First(); !Eof(); Next()) {
        Found = true;
        for (std::size_t I = 0; I < Keys.size() && Found; ++I)
          Found = FieldMatches(Keys[I], KeyValue(KeyValues, I, Keys.size()), Options);
        if (Found) break;
      }
    } catch (...) {
      FBeforeScroll = std::move(SavedBefore);
      FAfterScroll = std::move(SavedAfter);
      throw;
    }
    FBeforeScroll = std::move(SavedBefore);
    FAfterScroll = std::move(SavedAfter);
    if (!Found || !SyncCursor) {
      if (!Saved.empty()) {
        InternalGotoBookmark(Saved);
        Resync({rmExact, rmCenter});
      }
    }
  } catch (...) {
    EnableControls();
    throw;
  }
  EnableControls();
  return Found;
}

bool TDataSet::Locate(const String& KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  DoBeforeScroll();
  bool Found = LocateRecord(KeyFields, KeyValues, Options, true);
  if (Found) DoAfterScroll();
  return Found;
}

Variant TDataSet::Lookup(const String& KeyFields, const Variant& KeyValues,
                         const String& ResultFields) {
  CheckActive();
  if (IsEmpty()) return Variant::MakeNull();
  // Lookup must leave the cursor where it was: search, read, and return.
  TBookmark Saved = GetBookmark();
  Variant Result = Variant::MakeNull();
  DisableControls();
  try {
    if (LocateRecord(KeyFields, KeyValues, {}, true)) Result = FieldValues(ResultFields);
    if (!Saved.empty()) {
      InternalGotoBookmark(Saved);
      Resync({rmExact, rmCenter});
    }
  } catch (...) {
    EnableControls();
    throw;
  }
  EnableControls();
  return Result;
}
