// DBGridInplaceEdit.cpp - the data grid's cell editor: style from the column, the calendar
// drop-down, the keys a data cell adds, and the edit text kept in the grid.
#include "gridlib/grid/DBGridInplaceEdit.h"

#include <cmath>

#include "gridlib/toolkit/DBCtrlsZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/PopupMonthCalendarZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/classes/Strings.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool IsDateField(const TField* F) {
  const TFieldType T = F->DataType();
  return T == ftDate || T == ftDateTime || T == ftTimeStamp;
}

bool IsNumericField(const TField* F) { return dynamic_cast<const TNumericField*>(F) != nullptr; }

bool AllKeysModifiable(TField* F) {
  if (F->KeyFields().empty() || !F->DataSet()) return false;
  std::size_t Pos = 0;
  while (Pos < F->KeyFields().size()) {
    TField* Key = F->DataSet()->FindField(ExtractFieldName(F->KeyFields(), Pos));
    if (!Key || !Key->CanModify()) return false;
  }
  return true;
}

}  // namespace

TEditStyle ColumnEditStyle(TColumnZk* Column) {
  TField* F = Column ? Column->Field() : nullptr;
  if (!F) return esSimple;
  if (F->Lookup()) {
    TCustomDBGridZk* G = Column->Grid();
    const bool GridReadOnly = G && G->ReadOnly() && G->DataLink()->Active() &&
                              !G->DataLink()->ReadOnly();
    const bool Usable = AllKeysModifiable(F) && !(Column->IsReadOnlyStored() && Column->ReadOnly()) &&
                        !GridReadOnly && F->LookupDataSet() && F->LookupDataSet()->Active();
    return Usable ? esDataList : esSimple;
  }
  if (Column->PickList()->Count() > 0 && !Column->ReadOnly()) return esPickList;
  if (IsDateField(F) && !Column->ReadOnly()) return esDateCalendar;
  return esSimple;
}

int FindListItem(const TStrings* Items, const String& Text, int Flags) {
  if (!Items) return -1;
  for (int I = 0; I < Items->Count(); ++I) {
    const String& Item = Items->Strings(I);
    const String Probe = Flags & 2 ? Item.substr(0, Text.size()) : Item;
    if (CompareTextIgnoreCase(Probe, Text) == 0) return I;
  }
  return -1;
}

TDBGridInplaceEdit::TDBGridInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {}
TDBGridInplaceEdit::~TDBGridInplaceEdit() = default;

TColumnZk* TDBGridInplaceEdit::CurrentColumn() const {
  TCustomDBGridZk* G = DBGrid();
  if (!G) return nullptr;
  const int I = G->SelectedIndex();
  return I >= 0 && I < G->Columns()->Count() ? G->Columns()->Items(I) : nullptr;
}

void TDBGridInplaceEdit::SetEditStyle(TEditStyle Value) {
  if (Value == FEditStyle) return;
  if (FListVisible) CloseUp(false);
  FEditStyle = Value;
}

void TDBGridInplaceEdit::ReloadContents() {
  if (FListVisible && !FLockCloseList) CloseUp(false);
  TInplaceEdit::ReloadContents();
  TColumnZk* C = CurrentColumn();
  SetEditStyle(ColumnEditStyle(C));
  FReadOnlyStored = false;
  SetReadOnly(C && C->ReadOnly());
}

// Every change of the text, typed or set, is the grid's edit text.
void TDBGridInplaceEdit::Change() {
  TInplaceEdit::Change();
  if (TCustomDBGridZk* G = DBGrid()) G->FEditText = Text();
}

// --- the calendar ---------------------------------------------------------------------------------

void TDBGridInplaceEdit::DropDown() {
  if (FListVisible || !IsListStyle()) return;
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!G || !C || !C->Field()) return;
  if (!FPopupMonthCalendar) {
    FPopupMonthCalendar = new TPopupMonthCalendarZk(this);
    FPopupMonthCalendar->SetVisible(false);
  }
  TDateTime Start = Date();
  if (!Text().empty()) {
    try {
      Start = StrToDateTime(Text());
    } catch (const Exception&) {
      // A text that is no date yet: the field's value, or today.
      const TDateTime Stored = C->Field()->IsNull() ? 0.0 : C->Field()->AsDateTime();
      if (Stored != 0.0) Start = Stored;
    }
  }
  FPopupMonthCalendar->SetColor(Color());
  FPopupMonthCalendar->Font()->Assign(Font());
  FPopupMonthCalendar->SetDate(TDateTime(std::trunc(double(Start))));
  TPoint Pos;
  PlaceDropDownUnderEdit(this, FPopupMonthCalendar, 0, Pos);
  FPopupMonthCalendar->DropDownAt(Pos);
  FListVisible = true;
  FDroppedDown = true;
  Invalidate();
  if (CanFocus()) SetFocus();
}

void TDBGridInplaceEdit::CloseUp(bool Accept) {
  if (!FListVisible) return;
  if (FPopupMonthCalendar && HandleAllocated() && FPopupMonthCalendar->HandleAllocated() &&
      (GetFocus() == FPopupMonthCalendar || IsChild(FPopupMonthCalendar, GetFocus())))
    SetFocus();
  if (FLockCloseList) return;
  if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  FPopupMonthCalendar->Link()->Close();
  FListVisible = false;
  FDroppedDown = false;
  Invalidate();
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (Accept && G && C && C->Field() && !C->ReadOnly() && G->CanEditModifyField()) {
    // The day comes from the calendar, the time of day stays the field's.
    TField* F = C->Field();
    TDateTime Picked = FPopupMonthCalendar->Date();
    TDateTime Old = 0.0;
    if (!F->IsNull()) {
      try {
        Old = F->AsDateTime();
      } catch (const Exception&) {
        Old = 0.0;   // no date-time in the field: midnight
      }
    }
    ReplaceTimeOf(Picked, Old);
    F->SetAsDateTime(Picked);
    SetText(F->Text());
    G->FEditText = Text();
    SelectAll();
  }
  // The focus ends in the editor, where the grid would hand it back.
  if (G && !Focused() && EditorVisible() && CanFocus()) SetFocus();
}

bool TDBGridInplaceEdit::HandleListKey(Word Key, TShiftState Shift) {
  const bool Alt = Shift.Contains(ssAlt);
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && FListVisible && !Alt) {
    CloseUp(Key == VK_RETURN);
    FSkipListChar = true;   // its character must not reach the grid as well
    return true;
  }
  if (Key == VK_RETURN && Shift == TShiftState{ssCtrl} && !FListVisible) {
    DropDown();
    return true;
  }
  if ((Key == VK_UP || Key == VK_DOWN) && Alt) {
    if (FListVisible) CloseUp(true);
    else DropDown();
    return true;
  }
  if (FListVisible && (Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT ||
                       Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END)) {
    SendMessage(FPopupMonthCalendar, WM_KEYDOWN, Key, 0);
    return true;
  }
  return false;
}

// --- type-ahead -----------------------------------------------------------------------------------

// A character typed into a pick-list cell completes the text to the first list entry that starts
// with the text before the caret plus the character; the completed part is selected. A key
// pick list takes no text of its own; a plain pick list takes an unmatched character as typed.
bool TDBGridInplaceEdit::FilterTypedText(Char Key) {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!G || !C || (Key < 32 && Key != 8)) return false;
  const bool KeyPick = C->GetColumnType() == ctKeyPickList;
  if (!KeyPick && FEditStyle != esPickList) return false;
  if (!G->CanEditModifyField()) return KeyPick;
  if (Key == 8) return KeyPick;
  const String Probe = Text().substr(0, std::size_t(SelStart())) + String(1, Key);
  const int I = FindListItem(C->PickList(), Probe, 2);
  if (I < 0) return KeyPick;
  if (G->DataLink()->Edit()) G->DataLink()->Modified();
  SetText(C->PickList()->Strings(I));
  SetSelStart(int(Probe.size()));
  SetSelLength(int(Text().size() - Probe.size()));
  G->FEditText = Text();
  return true;
}

// --- keys -----------------------------------------------------------------------------------------

void TDBGridInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomDBGridZk* G = DBGrid();
  if (!G) return TInplaceEdit::KeyDown(Key, Shift);
  if (IsListStyle() && HandleListKey(Key, Shift)) {
    Key = 0;
    return;
  }
  TColumnZk* C = CurrentColumn();
  if (C && C->GetColumnType() == ctKeyPickList && Shift.Empty()) {
    // A key pick list holds list texts only: Backspace moves left, Delete clears the whole
    // selected text or nothing.
    if (Key == VK_BACK) Key = VK_LEFT;
    if (Key == VK_DELETE) {
      if (SelLength() == int(Text().size()) && C->CanModify(true) && G->CanEditModifyField()) {
        SetText(u"");
        G->FEditText.clear();
      }
      Key = 0;
      return;
    }
  }
  const TShortCut SC = ShortCut(Key, Shift);
  if (Key == VK_RETURN && Shift == TShiftState{ssCtrl} &&
      (FEditStyle == esEllipsis || FEditStyle == esDropDown)) {
    TMsg M;
    PeekMessage(M, this, WM_CHAR, WM_CHAR, PM_REMOVE);
    G->EditButtonClick();
    Key = 0;
    return;
  }
  if ((Key == VK_RETURN && Shift.Empty() && G->OptionsZk().Contains(dghEnterAsTab)) ||
      (Key == VK_RETURN && Shift == TShiftState{ssShift} && G->OptionsZk().Contains(dghEnterAsTab)) ||
      SC == GridCopyPrevValueKey) {
    G->KeyDown(Key, Shift);
    Key = 0;
    return;
  }
  if (SC == GridIncSearchKey && G->OptionsZk().Contains(dghIncSearch)) {
    if (G->InplaceSearching() && G->OptionsZk().Contains(dghDialogFind) &&
        GridFindDialogKey == GridIncSearchKey) {
      G->StopInplaceSearch();
      G->ShowFindDialog(SelText(), u"", G->IsFindDialogShowAsModal());
    } else {
      G->StartInplaceSearch(u"", -1, ltdAllZk);
    }
    Key = 0;
    return;
  }
  if (SC == GridFindDialogKey && G->OptionsZk().Contains(dghDialogFind)) {
    G->ShowFindDialog(SelText(), u"", G->IsFindDialogShowAsModal());
    Key = 0;
    return;
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void TDBGridInplaceEdit::KeyPress(Char& Key) {
  if (FSkipListChar && (Key == u'\r' || Key == 27)) {
    FSkipListChar = false;
    Key = 0;
    return;
  }
  FSkipListChar = false;
  TColumnZk* C = CurrentColumn();
  if (C && C->Field() && IsNumericField(C->Field()) && (Key == u'.' || Key == u','))
    Key = FormatSettings.DecimalSeparator;
  if (Key == u'\n') {   // Ctrl+Enter's line feed: cells hold one line
    Key = 0;
    return;
  }
  if (FilterTypedText(Key)) {
    Key = 0;
    return;
  }
  TInplaceEdit::KeyPress(Key);
}

void TDBGridInplaceEdit::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_KILLFOCUS && FListVisible) {
    const HWND To = reinterpret_cast<HWND>(Message.WParam);
    if (!FPopupMonthCalendar || (To != FPopupMonthCalendar && !IsChild(FPopupMonthCalendar, To)))
      CloseUp(false);
  }
  TInplaceEdit::Dispatch(Message);
}

REGISTER_CLASS(TDBGridInplaceEdit) {}

void RegisterDBGridInplaceEditClasses() { RegisterClass(TDBGridInplaceEdit::ClassInfo()); }
