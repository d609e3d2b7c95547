// DBGridInplaceEditLookup.cpp - the cell editor's side of lookup cells: the drop-down lookup
// grid under the cell, its keys, and typed text located in the lookup dataset. The editor keeps
// the chosen key in the grid's FEditKeyValue and the shown text in FEditText; the grid writes
// the key fields when the link asks.
#include "gridlib/grid/DBGridInplaceEdit.h"

#include <algorithm>

#include "gridlib/grid/DBLookupGridsZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

namespace {

// The key of the record the lookup field shows for the current record.
Variant CurrentLookupKey(TField* F) {
  if (!F->DataSet() || F->KeyFields().empty()) return Null();
  return F->DataSet()->FieldValues(F->KeyFields());
}

}  // namespace

void TDBGridInplaceEdit::DropDownDataList(TColumnZk* C) {
  TField* F = C->Field();
  if (!F->Lookup() || !F->LookupDataSet() || !F->LookupDataSet()->Active()) return;
  if (!FDataList) {
    FDataList = new TPopupDataGridZk(this);
    FDataList->SetVisible(false);
    FDataList->SetCtl3D(true);
    FDataList->SetParentCtl3D(false);
    FDataList->SetOnMouseCloseUp([this](TObject*, bool Accept) { CloseUp(Accept); });
    FDataListSource = new TDataSource(this);
  }
  TCustomDBGridZk* G = DBGrid();
  FDataListSource->SetDataSet(F->LookupDataSet());
  TPopupDataGridZk* L = FDataList;
  L->SetKeyValue(Null());
  L->SetListSource(FDataListSource);
  L->SetKeyField(F->LookupKeyFields());
  L->SetListField(F->LookupResultField());
  L->SetColor(Color());
  L->SetFont(Font());
  L->SetReadOnly(false);
  L->HandleNeeded();
  L->SetRowCount(C->DropDownRows());
  L->SetWidth(std::max(C->DropDownWidth() > 0 ? C->DropDownWidth() : L->GetColumnsWidthToFit(),
                       Width()));
  // A key chosen in this cell and not yet written, else the record's.
  const Variant Key = G->DataLink()->IsModified() && !VarIsNull(G->FEditKeyValue) &&
                              !VarIsEmpty(G->FEditKeyValue)
                          ? G->FEditKeyValue
                          : CurrentLookupKey(F);
  L->SetKeyValue(Key);
  TPoint Pos;
  PlaceDropDownUnderEdit(this, L, 0, Pos);
  L->Link().Open(Pos);
  L->SetSizeGripResized(false);
  FListVisible = true;
  FDroppedDown = true;
  Invalidate();
}

void TDBGridInplaceEdit::CloseUpDataList(bool Accept) {
  TPopupDataGridZk* L = FDataList;
  const Variant Key = L->KeyValue();
  const String Shown = L->SelectedItem();
  L->Link().Close();
  FListVisible = false;
  FDroppedDown = false;
  Invalidate();
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  if (Accept && G && C && C->Field() && !VarIsNull(Key) && G->CanEditModifyField()) {
    G->FEditKeyValue = Key;
    SetText(Shown);
    G->FEditText = Text();
    SelectAll();
  }
  if (G && !Focused() && EditorVisible() && CanFocus()) SetFocus();
}

// While the lookup grid is down it takes the moving keys; the editor shows the chosen text.
bool TDBGridInplaceEdit::HandleDataListKey(Word Key, TShiftState Shift) {
  if (!FListVisible || !FDataList) return false;
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
  return true;
}

// A typed character locates the text before the caret plus the character as a prefix of the
// lookup result field; a match shows the record's text with the completed part selected and
// takes its key. Every character is consumed: the cell holds list texts only.
bool TDBGridInplaceEdit::FilterDataListText(Char Key) {
  TCustomDBGridZk* G = DBGrid();
  TColumnZk* C = CurrentColumn();
  TField* F = C ? C->Field() : nullptr;
  if (!G || !F || !F->Lookup() || !F->LookupDataSet() || Key == 8) return true;
  if (!G->CanEditModifyField() || !G->CanEditInGrid()) return true;
  TDataSet* Look = F->LookupDataSet();
  const String Probe = Text().substr(0, std::size_t(std::max(0, SelStart()))) + String(1, Key);
  bool Found = false;
  try {
    Found = Look->Locate(F->LookupResultField(), Variant(Probe), {loCaseInsensitive, loPartialKey});
  } catch (const Exception&) {
    Found = false;   // a lookup list that cannot search by text holds no match
  }
  if (!Found || !G->DataLink()->Edit()) return true;
  G->DataLink()->Modified();
  TField* Result = Look->FieldByName(F->LookupResultField());
  G->FEditKeyValue = Look->FieldValues(F->LookupKeyFields());
  SetText(Result->DisplayText());
  SetSelStart(int(Probe.size()));
  SetSelLength(int(Text().size()) - int(Probe.size()));
  G->FEditText = Text();
  if (FListVisible && FDataList) FDataList->SetKeyValue(G->FEditKeyValue);
  return true;
}
