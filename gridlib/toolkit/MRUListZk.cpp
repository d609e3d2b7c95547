// MRUListZk.cpp - the most-recently-used list of an editor.
#include "gridlib/toolkit/MRUListZk.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

REGISTER_CLASS(TMRUListZk) {
  Class.Property("AutoAdd", &TMRUListZk::AutoAdd, &TMRUListZk::SetAutoAdd, true)
      .Property("Active", &TMRUListZk::Active, &TMRUListZk::SetActive, false)
      .Property("CaseSensitive", &TMRUListZk::CaseSensitive, &TMRUListZk::SetCaseSensitive, false)
      .Property("Items", &TMRUListZk::Items, &TMRUListZk::SetItems)
      .Property("Limit", &TMRUListZk::Limit, &TMRUListZk::SetLimit, 100)
      .Property("Rows", &TMRUListZk::Rows, &TMRUListZk::SetRows, 7);
}

TMRUListZk::TMRUListZk(TPersistent* AOwner)
    : FItems(std::make_unique<TStringList>()), FOwner(AOwner) {}

TMRUListZk::~TMRUListZk() = default;

int TMRUListZk::Compare(std::u16string_view A, std::u16string_view B) const {
  return FCaseSensitive ? AnsiCompareStr(A, B) : AnsiCompareText(A, B);
}

void TMRUListZk::TrimToLimit() {
  while (FItems->Count() > std::max(FLimit, 0)) FItems->Delete(0);
}

void TMRUListZk::Add(const String& S) {
  if (Trim(S).empty()) return;
  for (int I = 0; I < FItems->Count(); ++I)
    if (Compare(S, FItems->Strings(I)) == 0) {
      FItems->Move(I, FItems->Count() - 1);
      return;
    }
  FItems->Add(S);
  TrimToLimit();
}

void TMRUListZk::SetLimit(int Value) {
  if (Value == FLimit) return;
  FLimit = Value;
  TrimToLimit();
}

void TMRUListZk::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (FOnActiveChanged) FOnActiveChanged(this);
}

bool TMRUListZk::FilterItemsTo(TStrings* FilteredItems, const String& MaskText) {
  FilteredItems->BeginUpdate();
  bool Complete = true;
  try {
    FilteredItems->Clear();
    for (int I = 0; I < FItems->Count(); ++I) {
      const String Item = FItems->Strings(I);
      bool Accept = Compare(std::u16string_view(Item).substr(0, MaskText.size()), MaskText) == 0;
      if (FOnFilterItem) FOnFilterItem(this, Accept);
      if (Accept) FilteredItems->Add(Item);
      TMsg Msg;
      if (I % 100 == 0 && FCancelIfKeyInQueue &&
          PeekMessage(Msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) {
        Complete = false;
        break;
      }
    }
  } catch (...) {
    FilteredItems->EndUpdate();
    throw;
  }
  FilteredItems->EndUpdate();
  return Complete;
}

void TMRUListZk::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TMRUListZk*>(Source)) {
    SetActive(Other->FActive);
    FItems->Assign(Other->FItems.get());
    SetLimit(Other->FLimit);
    FRows = Other->FRows;
    FCaseSensitive = Other->FCaseSensitive;
    return;
  }
  TPersistent::Assign(Source);
}

void TMRUListZk::CloseUp(bool Accept) {
  if (FOnSetCloseUp) FOnSetCloseUp(this, Accept);
}

void TMRUListZk::DropDown() {
  if (FOnSetDropDown) FOnSetDropDown(this);
}
