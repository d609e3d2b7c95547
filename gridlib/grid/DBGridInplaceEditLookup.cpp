// DBGridInplaceEditLookup.cpp - the cell editor's side of lookup and key pick-list cells: the
// column's drop-down lookup grid under the cell, its keys, typed and pasted text located in the
// lookup dataset (or the pick list), the special row's shortcut, and Backspace and Delete. The
// editor keeps the chosen key in the grid's FEditKeyValue and the shown text in FEditText; the
// grid writes the key fields when the link asks. A text the list lacks is taken only when the
// column has an OnNotInList handler (its key is then Null until the handler adds the text).
#include "gridlib/grid/DBGridInplaceEdit.h"

#include <algorithm>

#include "gridlib/grid/DBLookupGridsZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/LookupExtraRowZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "gridlib/toolkit/SizeGripZk.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

namespace {

bool LocateText(TDataSet* List, TField* F, const String& Text, TLocateOptions Options) {
  try {
    return List->Locate(F->LookupResultField(), Variant(Text), Options);
  } catch (const Exception&) {
    return false;   // a lookup list that cannot search by text holds no match
  }
}

}  // namespace

void TDBGridInplaceEdit::DropDownDataList(TColumnZk* C) {
  TField* F = C->Field();
  TDataSet* List = C->LookupListDataSet();
  if (!F->Lookup() || !List || !List->Active()) return;
  auto* L = static_cast<TPopupDataGridZk*>(C->DataList());
  if (FDataList != L) {
    FDataList = L;
    L->SetVisible(false);
    L->SetCtl3D(true);
    L->SetParentCtl3D(false);
    L->FreeNotification(this);
  }
  L->SetOnMouseCloseUp([this](TObject*, bool Accept) { CloseUp(Accept); });
  if (!FDataListSource) FDataListSource = new TDataSource(this);
  TCustomDBGridZk* G = DBGrid();
  FDataListSource->SetDataSet(List);
  L->SetKeyValue(Null());
  L->SetColor(Color());
  L->SetFont(Font());
  L->SetSpecRow(C->DropDownSpecRow());
  const int Count = List->IsSequenced() ? List->RecordCount() : -1;
  const int Rows = C->DropDownRows();
  L->SetShowTitles(C->DropDownShowTitles());
  L->SetUseMultiTitle(C->DropDownBox()->UseMultiTitle());
  L->SetAutoFitColWidths(false);
  L->BeginUpdate();
  try {
    L->SetListSource(FDataListSource);
    L->SetKeyField(F->LookupKeyFields());
    L->SetListField(F->LookupResultField());
    L->SetListFieldIndex(0);
  } catch (...) {
    L->EndUpdate();
    throw;
  }
  L->EndUpdate();
  L->LayoutChanged();
  L->SetReadOnly(false);
  L->HandleNeeded();
  L->SetRowCount(Count >= 1 && Count < Rows ? Count : Rows);
  int W = C->DropDownWidth();
  if (W == -1) {
    L->SetClientWidth(L->GetColumnsWidthToFit());
    W = L->Width();
  } else if (W <= 0) {
    W = Width();
  }
  L->SetWidth(std::max(W, Width()));
  L->SetAutoFitColWidths(C->DropDownBox()->AutoFitColWidths());
  // A key chosen in this cell and not yet written, else the record's.
  L->SetKeyValue(G->FEditKeyValue);
  FListColumnMoved = false;
  L->SetOnColumnMoved([this](TObject*, int, int) { FListColumnMoved = true; });
  FTextBeforeList = Text();
  TPoint Pos;
  PlaceDropDownUnderEdit(this, L, 0, Pos);
  L->Link().Open(Pos);
  L->SizeGrip()->SetVisible(C->DropDownSizing());
  L->SetSizeGripResized(false);
  FListVisible = true;
  FDroppedDown = true;
  Invalidate();
}

void TDBGridInplaceEdit::CloseUpDataList(bool Accept) {
  TPopupDataGridZk* L = FDataList;
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  const Variant Key = L->KeyValue();
  const String Shown = L->SelectedItem();
  if (C && L->SizeGripResized()) {
    C->SetDropDownRows(L->RowCount());
    C->SetDropDownWidth(L->Width());
  }
  if (C && FListColumnMoved) {
    // The cells of the list's special row follow its moved columns.
    String Cells;
    for (int I = 0; I < L->Columns()->Count(); ++I) {
      auto* LC = dynamic_cast<TDBLookupGridColumnZk*>(L->Columns()->Items(I));
      Cells += (I > 0 ? u";" : u"") + (LC ? LC->SpecCell()->Text() : String());
    }
    C->DropDownSpecRow()->SetCellsText(Cells);
  }
  L->Link().Close();
  L->SetOnColumnMoved(nullptr);
  L->SetAutoFitColWidths(false);
  L->SetListSource(nullptr);
  FDataListSource->SetDataSet(nullptr);
  FListVisible = false;
  FDroppedDown = false;
  Invalidate();
  TField* F = C ? C->Field() : nullptr;
  if (Accept && G && F && G->FieldIsEditable(F) && G->CanEditModifyField() && C->CanModify(true)) {
    if (G->DataLink()->Editing()) {
      G->DataLink()->Modified();
      G->FEditKeyValue = Key;
      G->FEditText = Shown;
    }
    SetText(Shown);
    G->FEditText = Text();
    SelectAll();
  } else if (!Accept && G) {
    SetText(G->FEditText);
  }
  if (G && !Focused() && EditorVisible() && CanFocus()) SetFocus();
}

// With OnNotInList, Enter first looks the typed text up: a text the list lacks closes the list
// without taking its row, so the typed text stays.
bool TDBGridInplaceEdit::HandleDataListKey(Word Key, TShiftState Shift) {
  if (!FListVisible || !FDataList) return false;
  TColumnZk* C = CurrentColumn();
  const bool Ctrl = Shift.Contains(ssCtrl);
  const bool Moving = Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT ||
                      ((Key == VK_HOME || Key == VK_END) && Ctrl);
  if (!Moving || Shift.Contains(ssAlt)) return false;
  Word K = Key;
  FDataList->KeyDown(K, Shift);
  if (FDataList->SelectedItem() != Text()) {
    SetText(FDataList->SelectedItem());
    SelectAll();
  }
  (void)C;
  return true;
}

bool TDBGridInplaceEdit::DataListEnterKeepsText() {
  TColumnZk* C = CurrentColumn();
  TField* F = C ? C->Field() : nullptr;
  if (!F || !C->OnNotInList() || !F->LookupDataSet()) return false;
  return !LocateText(F->LookupDataSet(), F, Text(), {loCaseInsensitive});
}

// A typed character locates the text before the caret plus the character as a prefix of the
// lookup result field; a match shows the record's text with the completed part selected and
// takes its key. Every character is consumed: the cell holds list texts only, unless the
// column's OnNotInList takes free text.
bool TDBGridInplaceEdit::FilterDataListText(Char Key) {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  TField* F = C ? C->Field() : nullptr;
  if (!G || !F || !F->Lookup() || !C->LookupListDataSet() || Key == 8) return true;
  if (!G->CanEditModifyField() || !G->CanEditInGrid()) return true;
  TDataSet* Look = C->LookupListDataSet();
  const String Probe = Text().substr(0, std::size_t(std::max(0, SelStart()))) + String(1, Key);
  if (LocateText(Look, F, Probe, {loCaseInsensitive, loPartialKey})) {
    if (!G->DataLink()->Edit()) return true;
    G->DataLink()->Modified();
    G->FEditKeyValue = Look->FieldValues(F->LookupKeyFields());
    SetText(Look->FieldByName(F->LookupResultField())->DisplayText());
    SetSelStart(int(Probe.size()));
    SetSelLength(int(Text().size()) - int(Probe.size()));
    G->FEditText = Text();
    ShowListKey();
  } else if (C->OnNotInList() && G->DataLink()->Edit()) {
    G->DataLink()->Modified();
    SetText(Probe);
    SetSelStart(int(Probe.size()));
    SetSelLength(0);
    G->FEditKeyValue = Null();
    G->FEditText = Text();
  }
  return true;
}

// The open list (lookup grid or pick list) shows the key or text the cell holds now.
void TDBGridInplaceEdit::ShowListKey() {
  TCustomDBGridZk* G = DBGrid();
  if (FEditStyle == esDataList && FDataList && FListVisible) FDataList->SetKeyValue(G->FEditKeyValue);
  if (FEditStyle == esPickList && FPickListBox)
    FPickListBox->SetItemIndex(FindListItem(FPickListBox->Items(), Text(), 0));
}

void TDBGridInplaceEdit::UpdateEditKeyValue() {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!G || !C || !C->CanModify(true)) return;
  G->FEditText = Text();
  TField* F = C->Field();
  TDataSet* List = C->LookupListDataSet();
  if (FEditStyle != esDataList || !F || !List) return;
  G->FEditKeyValue = LocateText(List, F, Text(), {loCaseInsensitive})
                         ? List->FieldValues(F->LookupKeyFields())
                         : Null();
}

// Delete clears a wholly selected list cell to Null; with OnNotInList, Delete and Backspace
// edit the text by hand and the key follows the text. Without a handler Backspace moves left
// and Delete of part of the text does nothing.
bool TDBGridInplaceEdit::HandleListCellDelete(Word& Key, TShiftState Shift) {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!G || !C || (Key != VK_DELETE && Key != VK_BACK) || !Shift.Empty()) return false;
  const TColumnZkType Type = C->GetColumnType();
  if (Type != ctLookupField && Type != ctKeyPickList) return false;
  const bool Handler = bool(C->OnNotInList());
  if (Key == VK_BACK && !Handler) {
    Key = VK_LEFT;
    return false;
  }
  if (!C->CanModify(false)) {
    Key = 0;
    return true;
  }
  const String T = Text();
  const int Start = std::max(0, SelStart()), Length = std::max(0, SelLength());
  if (Key == VK_DELETE && Length == int(T.size()) && C->CanModify(true)) {
    if (FEditStyle == esDataList && G->FieldIsEditable(C->Field())) {
      C->Field()->DataSet()->Edit();
      G->DataLink()->Modified();
      G->FEditKeyValue = Null();
      G->FEditText.clear();
      SetText(String());
      if (FDataList && FListVisible) FDataList->SetKeyValue(Null());
    } else if (FEditStyle == esPickList) {
      if (G->DataLink()->Edit()) G->DataLink()->Modified();
      SetText(String());
      G->FEditText.clear();
      G->FEditKeyValue = Null();
    }
  } else if (Handler && G->DataLink()->Edit()) {
    G->DataLink()->Modified();
    String Rest = T.substr(0, std::size_t(Start)) + T.substr(std::size_t(Start + Length));
    int Caret = Start;
    if (Key == VK_BACK && Length == 0 && Caret > 0) Rest.erase(std::size_t(--Caret), 1);
    if (Key == VK_DELETE && Length == 0 && Caret < int(Rest.size())) Rest.erase(std::size_t(Caret), 1);
    SetText(Rest);
    SetSelStart(Caret);
    SetSelLength(0);
    UpdateEditKeyValue();
    ShowListKey();
  }
  Key = 0;
  return true;
}

bool TDBGridInplaceEdit::TakeSpecRowByShortCut(TShortCut SC) {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (!G || !C || FEditStyle != esDataList || SC == 0) return false;
  TSpecRowZk* Spec = C->DropDownSpecRow();
  if (!Spec->Visible() || Spec->ShortCut() != SC) return false;
  if (C->CanModify(false) && C->CanModify(true)) {
    G->DataLink()->Modified();
    SetText(Spec->GetCellsTextItem(0));
    G->FEditText = Text();
    G->FEditKeyValue = Spec->Value();
    if (FDataList && FListVisible) FDataList->SetKeyValue(Spec->Value());
    SelectAll();
  }
  return true;
}

// A paste into a lookup or key pick-list cell completes the probe (the text around the
// selection with the clipboard text in it) from the list, or takes it as it is when the column
// has OnNotInList; anything else leaves the cell as it was.
bool TDBGridInplaceEdit::PasteIntoListCell(const String& Clip) {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  TField* F = C ? C->Field() : nullptr;
  const String T = Text();
  const std::size_t Start = std::size_t(std::max(0, SelStart()));
  const std::size_t Length = std::size_t(std::max(0, SelLength()));
  const String Probe = T.substr(0, Start) + Clip + T.substr(std::min(T.size(), Start + Length));
  String Taken;
  Variant Key = Null();
  bool Found = false;
  if (FEditStyle == esDataList) {
    TDataSet* List = C->LookupListDataSet();
    if (!List || !F) return true;
    Found = LocateText(List, F, Probe, {loCaseInsensitive, loPartialKey});
    if (Found) {
      Taken = List->FieldByName(F->LookupResultField())->DisplayText();
      Key = List->FieldValues(F->LookupKeyFields());
    } else if (C->OnNotInList()) {
      Taken = Probe;
    } else {
      return true;
    }
  } else {
    const int I = FindListItem(C->PickList(), Probe, 2);
    Found = I >= 0 && G->CanEditModifyField();
    if (Found) Taken = C->PickList()->Strings(I);
    else if (C->OnNotInList()) Taken = Probe;
    else return true;
  }
  if (!G->DataLink()->Edit()) return true;
  G->DataLink()->Modified();
  SetText(Taken);
  const int Probed = Found ? int(std::min(Probe.size(), Taken.size())) : int(Taken.size());
  SetSelStart(Probed);
  SetSelLength(int(Taken.size()) - Probed);
  G->FEditKeyValue = Key;
  G->FEditText = Text();
  ShowListKey();
  return true;
}
