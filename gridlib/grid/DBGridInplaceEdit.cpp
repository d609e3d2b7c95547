// DBGridInplaceEdit.cpp - the data grid's cell editor: style from the column, the calendar and
// pick-list drop-downs, the keys a data cell adds, and the edit text kept in the grid.
#include "gridlib/grid/DBGridInplaceEdit.h"

#include <cmath>
#include <cstdint>

#include "gridlib/grid/DBLookupGridsZk.h"
#include "gridlib/toolkit/CalculatorZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/MRUListboxZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "gridlib/toolkit/PopupMonthCalendarZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/classes/Strings.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/ImageList.h"
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
  switch (Column ? Column->ButtonStyle() : cbsAuto) {
    case cbsEllipsis: return esEllipsis;
    case cbsNone: return esSimple;
    case cbsUpDown: return esUpDown;
    case cbsDropDown: return esDropDown;
    case cbsAltUpDown: return esAltUpDown;
    case cbsAltDropDown: return F && IsDateField(F) ? esAltCalendar : esAltDropDown;
    case cbsAuto: break;
  }
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

bool RequiredValueMissing(TColumnZk* Column) {
  TCustomDBGridZk* G = Column ? Column->Grid() : nullptr;
  if (!G || !Column->HighlightRequired() || !G->DataLink()->Active()) return false;
  TDataSet* Set = G->DataLink()->DataSet();
  TField* F = Column->Field();
  return Set && F && (Set->State() == dsEdit || Set->State() == dsInsert) && F->Required() &&
         F->IsNull();
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
  return G ? G->ColumnAtGridCol(G->Col()) : nullptr;
}

void TDBGridInplaceEdit::SetEditStyle(TEditStyle Value) {
  if (Value == FEditStyle) return;
  if (FListVisible) CloseUp(false);
  FEditStyle = Value;
  if (HandleAllocated()) EditorBoundsChanged();
}

void TDBGridInplaceEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TInplaceEdit::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FDataList) return;
  FDataList = nullptr;
  FListVisible = FDroppedDown = false;
  if (!ComponentState().Contains(csDestroying)) SetEditStyle(esSimple);
}

void TDBGridInplaceEdit::ReloadContents() {
  if (FListVisible && !FLockCloseList) CloseUp(false);
  CloseMRUList(false);
  SetWordWrap(WrapsByColumn());
  TInplaceEdit::ReloadContents();
  TColumnZk* C = CurrentColumn();
  FImageIndex = C ? C->GetImageIndex() : -1;
  SetEditStyle(ColumnEditStyle(C));
  FReadOnlyStored = false;
  SetReadOnly(C && C->ReadOnly());
  if (HandleAllocated()) EditorBoundsChanged();
}

// Every change of the text, typed or set, is the grid's edit text.
void TDBGridInplaceEdit::Change() {
  TInplaceEdit::Change();
  if (TCustomDBGridZk* G = DBGrid()) G->FEditText = Text();
}

// --- the drop-downs -------------------------------------------------------------------------------

TWinControl* TDBGridInplaceEdit::ActiveList() const {
  if (FEditStyle == esPickList) return FPickListBox;
  if (FEditStyle == esDataList) return FDataList;
  if (IsCalculatorStyle()) return FPopupCalculator;
  return FPopupMonthCalendar;
}

void TDBGridInplaceEdit::DropDown() {
  if (FListVisible || !IsListStyle()) return;
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!G || !C || !C->Field()) return;
  CloseMRUList(false);
  if (TEditButtonControlZk* B = MainButton()) B->SetAlwaysDown(true);
  if (FEditStyle == esPickList) return DropDownPickList(C);
  if (FEditStyle == esDataList) return DropDownDataList(C);
  if (IsCalculatorStyle()) {
    DropDownCalculator();
    FListVisible = FDroppedDown = true;
    Invalidate();
    if (CanFocus()) SetFocus();
    return;
  }
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

// The pick list shows the pick-list texts (with a key list only those that have a key), as
// many rows as DropDownRows allows, at least as wide as the editor and its widest text.
void TDBGridInplaceEdit::DropDownPickList(TColumnZk* C) {
  if (!FPickListBox) {
    FPickListBox = new TPopupListboxZk(this);
    FPickListBox->SetVisible(false);
    FPickListBox->SetCtl3D(true);
    FPickListBox->SetOnMouseUp([this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
      if (Button == mbLeft && FPickListBox->IsMouseUpCloseListbox())
        CloseUp(FPickListBox->ClientRect().Contains({X, Y}));
    });
  }
  TPopupListboxZk* L = FPickListBox;
  L->SetColor(Color());
  L->SetFont(Font());
  L->SetItemHeight(L->GetTextHeight());
  TStrings* Pick = C->PickList();
  const int KeyCount = C->KeyList()->Count();
  L->Items()->Clear();
  if (KeyCount > 0) {
    for (int I = 0; I < std::min(KeyCount, Pick->Count()); ++I)
      L->Items()->AddObject(Pick->Strings(I), Pick->Objects(I));
  } else {
    L->Items()->Assign(Pick);
  }
  L->SetRowCount(std::min(L->Items()->Count(), C->DropDownRows()));
  L->SetItemIndex(C->Field()->IsNull() ? -1 : FindListItem(L->Items(), Text(), 0));
  int Widest = 0;
  L->Canvas()->Font()->Assign(L->Font());
  for (int I = 0; I < L->Items()->Count(); ++I)
    Widest = std::max(Widest, L->Canvas()->TextWidth(L->Items()->Strings(I)));
  L->SetWidth(Width());
  if (L->ClientWidth() < Widest + 4) L->SetWidth(Width() + Widest + 4 - L->ClientWidth());
  FTextBeforeList = Text();
  TPoint Pos;
  PlaceDropDownUnderEdit(this, L, 0, Pos);
  L->Link().Open(Pos);
  L->SizeGrip()->SetVisible(false);
  L->SetSizeGripResized(false);
  FListVisible = true;
  FDroppedDown = true;
  Invalidate();
  if (CanFocus()) SetFocus();
}

// Accepting takes the chosen entry's text (the key list's entry is written by the grid from
// it); cancelling returns to the text the editor had when the list dropped down.
void TDBGridInplaceEdit::CloseUpPickList(bool Accept) {
  TPopupListboxZk* L = FPickListBox;
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  const int Index = L->ItemIndex();
  const bool Chosen = C && Index >= 0 && Index < L->Items()->Count();
  if (C && L->SizeGripResized() && L->ItemHeight() > 0) {
    C->SetDropDownRows(L->ClientHeight() / L->ItemHeight());
    C->SetDropDownWidth(L->Width());
  }
  L->Link().Close();
  FListVisible = false;
  FDroppedDown = false;
  Invalidate();
  if (Accept && Chosen && G && G->CanEditModifyField()) {
    if (G->DataLink()->Edit()) G->DataLink()->Modified();
    SetText(L->Items()->Strings(Index));
    G->FEditText = Text();
    RefreshImageIndex();
    SelectAll();
  } else if (!Accept) {
    SetText(FTextBeforeList);
  }
  if (G && !Focused() && EditorVisible() && CanFocus()) SetFocus();
}

void TDBGridInplaceEdit::CloseUp(bool Accept) {
  if (!FListVisible) return;
  TWinControl* List = ActiveList();
  if (List && HandleAllocated() && List->HandleAllocated() &&
      (GetFocus() == List || IsChild(List, GetFocus())))
    SetFocus();
  if (TEditButtonControlZk* B = MainButton()) B->SetAlwaysDown(false);
  if (FLockCloseList) return;
  if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  if (FEditStyle == esPickList) return CloseUpPickList(Accept);
  if (FEditStyle == esDataList) return CloseUpDataList(Accept);
  if (IsCalculatorStyle() && FPopupCalculator) {
    FListVisible = FDroppedDown = false;
    CloseUpCalculator(Accept);
    Invalidate();
    if (DBGrid() && !Focused() && EditorVisible() && CanFocus()) SetFocus();
    return;
  }
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
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && FListVisible && !Alt && !IsCalculatorStyle()) {
    const bool KeepText = Key == VK_RETURN && FEditStyle == esDataList && DataListEnterKeepsText();
    CloseUp(Key == VK_RETURN && !KeepText);
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
  if (FListVisible && IsCalendarStyle() &&
      (Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_PRIOR ||
       Key == VK_NEXT || Key == VK_HOME || Key == VK_END)) {
    SendMessage(FPopupMonthCalendar, WM_KEYDOWN, Key, 0);
    return true;
  }
  if (FEditStyle == esDataList && HandleDataListKey(Key, Shift)) return true;
  const bool Ctrl = Shift.Contains(ssCtrl), NoShift = !Shift.Contains(ssShift);
  if (FListVisible && FEditStyle == esPickList &&
      (((Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) && NoShift) ||
       ((Key == VK_HOME || Key == VK_END) && Ctrl))) {
    // The list moves; the editor shows the entry it moved to.
    SendMessage(FPickListBox, WM_KEYDOWN, Key, 0);
    const int I = FPickListBox->ItemIndex();
    if (I >= 0 && FPickListBox->Items()->Strings(I) != Text()) {
      SetText(FPickListBox->Items()->Strings(I));
      SelectAll();
    }
    return true;
  }
  return false;
}

// --- the most recently used texts -----------------------------------------------------------------

TMRUListZk* TDBGridInplaceEdit::ColumnMRUList() const {
  TColumnZk* C = CurrentColumn();
  return C ? C->MRUList() : nullptr;
}

TWinControl* TDBGridInplaceEdit::OpenList() const {
  if (FListVisible) return ActiveList();
  if (MRUListDown()) return FMRUListBox;
  return nullptr;
}

bool TDBGridInplaceEdit::WheelToOpenList(TMessage& Message) {
  TWinControl* List = OpenList();
  return List && List->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0;
}

bool TDBGridInplaceEdit::MRUListDown() const {
  TMRUListZk* MRU = ColumnMRUList();
  return FMRUListBox && MRU && MRU->DroppedDown();
}

void TDBGridInplaceEdit::UserTextChanged() {
  TMRUListZk* MRU = ColumnMRUList();
  if (!MRU) return;
  if (MRUListDown() && Text().empty()) CloseMRUList(false);
  else if (MRU->Active() && EditorVisible() && !FListVisible) ShowMRUList();
}

// The list holds the recent texts that start with the editor's text, as many rows as the MRU
// list allows; it closes when none is left.
void TDBGridInplaceEdit::ShowMRUList() {
  TMRUListZk* MRU = ColumnMRUList();
  if (!MRU) return;
  if (!FMRUListBox) {
    FMRUListBox = new TMRUListboxZk(this);
    FMRUListBox->SetVisible(false);
    FMRUListBox->SetOnMouseUp([this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
      if (Button == mbLeft && FMRUListBox->IsMouseUpCloseListbox())
        CloseMRUList(FMRUListBox->ClientRect().Contains({X, Y}));
    });
  }
  TMRUListboxZk* L = FMRUListBox;
  if (!MRU->FilterItemsTo(L->Items(), Text())) MRU->CloseUp(false);
  const int Count = L->Items()->Count();
  if (MRU->DroppedDown() && Count == 0) return CloseMRUList(false);
  if (Count == 0) return;
  L->SetRowCount(std::min(Count, std::max(1, MRU->Rows())));
  TPoint Pos;
  if (!MRU->DroppedDown()) {
    L->SetColor(Color());
    L->SetFont(Font());
    L->SetItemHeight(L->GetTextHeight());
    L->SetItemIndex(-1);
    L->SetWidth(std::max(Width(), MRU->Width()));
  }
  PlaceDropDownUnderEdit(this, L, 0, Pos);
  if (!MRU->DroppedDown()) {
    L->Link().Open(Pos);
    MRU->SetDroppedDown(true);
    // A resize through the grip is kept in the MRU list for the next time.
    L->SizeGrip()->SetVisible(true);
    L->SizeGrip()->SetOnParentResized([this](TObject*) {
      TMRUListZk* List = ColumnMRUList();
      if (!List || !MRUListDown()) return;
      List->SetRows(FMRUListBox->RowCount());
      List->SetWidth(FMRUListBox->Width());
    });
  } else {
    L->SetBounds(Pos.X, Pos.Y, L->Width(), L->Height());
  }
}

void TDBGridInplaceEdit::CloseMRUList(bool Accept) {
  if (!MRUListDown()) return;
  TMRUListZk* MRU = ColumnMRUList();
  if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  FMRUListBox->Link().Close();
  MRU->SetDroppedDown(false);
  TCustomDBGridZk* G = DBGrid();
  const int I = FMRUListBox->ItemIndex();
  if (Accept && G && !ReadOnly() && I >= 0 && G->DataLink()->Edit()) {
    G->DataLink()->Modified();
    SetText(FMRUListBox->Items()->Strings(I));
    G->FEditText = Text();
    if (Focused()) SelectAll();
  }
}

// With the list down, the row keys move in it and Enter or Esc close it.
bool TDBGridInplaceEdit::HandleMRUKey(Word Key) {
  const bool Alt = GetKeyState(VK_MENU) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0;
  if ((Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN) && !Alt) {
    SendMessage(FMRUListBox, WM_KEYDOWN, Key, 0);
    return true;
  }
  if ((Key == VK_HOME || Key == VK_END) && Ctrl) {
    SendMessage(FMRUListBox, WM_KEYDOWN, Key, 0);
    return true;
  }
  if (Key == VK_RETURN || Key == VK_ESCAPE) {
    CloseMRUList(Key == VK_RETURN);
    FSkipListChar = true;   // its character must not reach the grid as well
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
  if (FEditStyle == esDataList) return FilterDataListText(Key);
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
  if (HandleListCellDelete(Key, Shift)) return;
  const TShortCut SC = ShortCut(Key, Shift);
  if (Key == VK_RETURN && Shift == TShiftState{ssCtrl} &&
      (FEditStyle == esEllipsis || FEditStyle == esDropDown)) {
    TMsg M;
    PeekMessage(M, this, WM_CHAR, WM_CHAR, PM_REMOVE);
    G->EditButtonClick();
    Key = 0;
    return;
  }
  if ((Key == VK_UP || Key == VK_DOWN) && FWordWrap &&
      !(G->Options().Contains(dgAlwaysShowEditor) && RowKeyLeavesText(Key))) {
    // The caret moves between the rows; the grid keeps its record.
    if (G->OnKeyDown()) G->OnKeyDown()(G, Key, Shift);
    if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
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
  if (TakeSpecRowByShortCut(SC) || EditButtonByShortCut(SC)) {
    Key = 0;
    return;
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void TDBGridInplaceEdit::WndProc(TMessage& Message) {
  if (RouteToCalculator(Message)) return;
  // While a list is open the wheel belongs to it: the grid behind neither scrolls nor moves.
  if (Message.Msg == CM_MOUSEWHEEL && OpenList()) {
    WheelToOpenList(Message);
    Message.Result = 1;
    return;
  }
  // A press on the box at the right end of the tree outline expands or collapses the node.
  if (Message.Msg == WM_LBUTTONDOWN && DBGrid()) {
    const int Tree = TreeAreaWidth(), X = GET_X_LPARAM(Message.LParam);
    if (Tree > 0 && X >= Tree - 18 && X < Tree)
      DBGrid()->CellTreeElementClick(Left() + X, Top() + GET_Y_LPARAM(Message.LParam), false);
  }
  // A typed character opens the list first when the column drops down by itself.
  TColumnZk* C = CurrentColumn();
  if (Message.Msg == WM_CHAR && Message.WParam >= 32 && !FListVisible && IsListStyle() && C &&
      C->AutoDropDown()) {
    DropDown();
    if (RouteToCalculator(Message)) return;
  }
  TInplaceEdit::WndProc(Message);
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
  // Ctrl+Enter's line feed breaks the line of a multi-line cell; other cells hold one line.
  if (Key == u'\n' && (!FWordWrap || !DBGrid() || !DBGrid()->EditorMayModify())) {
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
  if (Message.Msg == WM_PASTE) {
    TCustomDBGridZk* G = DBGrid();
    TColumnZk* C = CurrentColumn();
    if (G && C && (FEditStyle == esDataList || C->GetColumnType() == ctKeyPickList)) {
      // Lookup and key pick-list cells take list texts only.
      if (G->CanEditInGrid() && C->CanModify(false) && Clipboard()->HasFormat(CF_TEXT))
        PasteIntoListCell(Clipboard()->AsText());
      return;
    }
  }
  if (Message.Msg == WM_KILLFOCUS && FListVisible) {
    const HWND To = reinterpret_cast<HWND>(Message.WParam);
    TWinControl* List = ActiveList();
    if (!List || (To != List && !IsChild(List, To))) CloseUp(false);
  }
  if (Message.Msg == WM_KILLFOCUS && MRUListDown() &&
      reinterpret_cast<HWND>(Message.WParam) != FMRUListBox)
    CloseMRUList(false);
  if (Message.Msg == WM_KEYDOWN && MRUListDown() && HandleMRUKey(Word(Message.WParam))) return;
  // A typed change of the text (a character, Backspace or Delete) lets the MRU list follow.
  const bool Typed = (Message.Msg == WM_CHAR || (Message.Msg == WM_KEYDOWN &&
                                                 Message.WParam == VK_DELETE)) &&
                     ColumnMRUList() && ColumnMRUList()->Active();
  const String Before = Typed ? Text() : String();
  TInplaceEdit::Dispatch(Message);
  if (Typed && Text() != Before) UserTextChanged();
}

REGISTER_CLASS(TDBGridInplaceEdit) {}

void RegisterDBGridInplaceEditClasses() { RegisterClass(TDBGridInplaceEdit::ClassInfo()); }

void TDBGridInplaceEdit::PaintWindow(HDC DC) {
  if (FWordWrap) PaintRows(DC);
  else TInplaceEdit::PaintWindow(DC);
  // The tree outline of the current node, on the grid's colour as in the cells.
  if (const int Tree = TreeAreaWidth()) {
    DC->Brush()->SetColor(DBGrid()->Color());
    DBGrid()->DrawTreeLines(DC, Rect(0, 0, Tree, ClientHeight()), false, false);
  }
  DrawRequiredMark(DC);
  // The image stands left of the text rectangle, centred in its strip.
  TCustomImageList* Images = CellImages();
  if (Images && FImageIndex >= 0 && EditorVisible())
    Images->Draw(DC, 2 + TreeAreaWidth(), (ClientHeight() - Images->Height()) / 2, FImageIndex);
}

int TDBGridInplaceEdit::TreeAreaWidth() const {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!G || !C || !G->MemTableTreeShown()) return 0;
  const TColumnsZkList& V = G->VisibleColumns();
  return !V.empty() && V.front() == C ? G->GetCellTreeElmentsAreaWidth() : 0;
}

TCustomImageList* TDBGridInplaceEdit::CellImages() const {
  TColumnZk* C = CurrentColumn();
  return C && C->ShowImageAndText() ? C->ImageList() : nullptr;
}

void TDBGridInplaceEdit::RefreshImageIndex() {
  TColumnZk* C = CurrentColumn();
  if (!C || !C->ImageList()) return;
  int Index = -1;
  TField* F = C->Field();
  if (C->PickList()->Count() > 0) {
    Index = C->PickList()->IndexOf(Text());
  } else if (F && IsNumericField(F) && !F->IsNull()) {
    const double V = F->AsFloat();
    if (V == std::trunc(V) && V >= INT32_MIN && V <= INT32_MAX) Index = int(V);
  }
  if (Index == -1) Index = C->NotInKeyListIndex();
  if (Index == FImageIndex) return;
  FImageIndex = Index;
  Invalidate();
}

void TDBGridInplaceEdit::DrawRequiredMark(TCanvas* ACanvas) {
  TColumnZk* C = CurrentColumn();
  TCustomDBGridZk* G = DBGrid();
  if (!C || !G) return;
  bool Draw = RequiredValueMissing(C);
  if (C->OnCheckDrawRequiredState()) C->OnCheckDrawRequiredState()(this, Text(), Draw);
  if (Draw) DrawRequiredStateMark(ACanvas, EditTextRect(), ClientHeight());
}
