// DBGridZkEdit.cpp - the data grid's side of cell editing: when the editor may show and change
// the cell, what it starts with, and how its text reaches the field when the data link asks.
#include "gridlib/grid/DBGridZk.h"

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "gridlib/toolkit/LookupExtraRowZk.h"
#include "platform/controls/Forms.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Variants.h"

namespace {

bool IsMemoType(TFieldType T) { return T == ftMemo || T == ftOraClob || T == ftWideMemo; }

// Grid columns are the visible columns: a hidden column has none.
TColumnZk* CurrentColumnOf(const TCustomDBGridZk* Grid) { return Grid->ColumnAtGridCol(Grid->Col()); }

}  // namespace

TDBGridInplaceEdit* TCustomDBGridZk::DBInplaceEdit() const {
  return static_cast<TDBGridInplaceEdit*>(InplaceEditor());
}

bool TCustomDBGridZk::FieldIsEditable(TField* Field) const {
  if (!Field) return false;
  if (!Field->Lookup()) return Field->CanModify();
  if (Field->KeyFields().empty() || !Field->DataSet()) return false;
  std::size_t Pos = 0;
  while (Pos < Field->KeyFields().size()) {
    TField* Key = Field->DataSet()->FindField(ExtractFieldName(Field->KeyFields(), Pos));
    if (!Key || !Key->CanModify()) return false;
  }
  return true;
}

bool TCustomDBGridZk::CanEditInGrid() {
  if (!FDataLink->Active()) return false;
  TDataSet* D = DataSet();
  return (FAllowedOperations.Contains(alopUpdateZk) || D->State() == dsInsert) &&
         (!D->IsEmpty() || FAllowedOperations.Contains(alopInsertZk) ||
          FAllowedOperations.Contains(alopAppendZk));
}

bool TCustomDBGridZk::ColumnEditable(int Index) {
  if (Index < 0 || Index >= FColumns->Count() || !FOptions.Contains(dgEditing)) return false;
  TColumnZk* C = FColumns->Items(Index);
  return !C->ReadOnly() && !FReadOnly && FDataLink->Active() && !FDataLink->ReadOnly() &&
         FieldIsEditable(C->Field()) && DataSet()->CanModify();
}

bool TCustomDBGridZk::CanEditModifyField() {
  bool Result = false;
  TDBGridInplaceEdit* Edit = DBInplaceEdit();
  if (Edit && Edit->ReadOnlyStored()) {
    if (Edit->ReadOnly()) return false;
    FDataLink->Edit();
    FDataLink->Modified();
    Result = true;
  }
  if (FReadOnly || !FDataLink->Active() || FDataLink->ReadOnly()) return Result;
  TColumnZk* C = CurrentColumnOf(this);
  if (!C || C->ReadOnly() || !C->Field() || !FieldIsEditable(C->Field())) return Result;
  TField* F = C->Field();
  if (F->IsBlob() && !F->OnSetText() && !(FDrawMemoText && IsMemoType(F->DataType())))
    return Result;
  if (!CanEditInGrid() && DataSet()->State() != dsEdit) return Result;
  FDataLink->Edit();
  Result = FDataLink->Editing();
  if (Result) FDataLink->Modified();
  return Result;
}

bool TCustomDBGridZk::EditorMayModify() {
  TColumnZk* C = CurrentColumnOf(this);
  if ((C && C->Checkboxes()) || FInplaceSearching) return false;
  return CanEditModifyField();
}

bool TCustomDBGridZk::EditorAcceptsChar(Char Key) {
  TColumnZk* C = CurrentColumnOf(this);
  TDBGridInplaceEdit* Edit = DBInplaceEdit();
  const bool A = !(Edit && Edit->ReadOnlyStored() && Edit->ReadOnly());
  if (!FDataLink->Active() || !C || !C->Field()) return Edit && Edit->ReadOnlyStored() && A;
  return A && C->CanEditAcceptKey(Key);
}

bool TCustomDBGridZk::EditorMayShow() {
  // The base answer, with the grid counted active while its own editor has the focus (the
  // form may name the editor as its active control).
  const bool Active = GridIsActive() || (InplaceEditor() && InplaceEditor()->Focused());
  const TGridOptions O = TCustomGridZk::Options();
  const bool BaseAllows = O.Contains(goEditing) && !O.Contains(goRowSelect) && EditorMode() &&
                          HandleAllocated() && (O.Contains(goAlwaysShowEditor) || Active);
  if (FLayoutLock > 0 || !BaseAllows) return false;
  TColumnZk* C = CurrentColumnOf(this);
  const bool Blocked = FSelection->SelectionType() != gstNon &&
                       FOptionsZk.Contains(dghClearSelection) &&
                       SelectionTypeAllowed(gstRectangle);
  const bool Result = C && !C->Checkboxes() && !Blocked && !FInplaceSearching;
  if (!Result && InplaceEditor()) InplaceEditor()->Hide();
  return Result;
}

int TCustomDBGridZk::EditorTextLimit() {
  TColumnZk* C = CurrentColumnOf(this);
  if (C && C->KeyList()->Count() > 0) return 0;
  TField* F = SelectedField();
  return F && F->DataType() == ftString ? F->Size() : 0;
}

String TCustomDBGridZk::CellEditMask(int ACol, int) {
  if (!FDataLink->Active()) return {};
  TColumnZk* C = ColumnAtGridCol(ACol);
  return C ? C->GetEditMask() : String();
}

String TCustomDBGridZk::CellEditText(int ACol, int) {
  if (!FDataLink->Active()) return {};
  TColumnZk* C = ColumnAtGridCol(ACol);
  if (!C) return {};
  FEditText = C->EditText();
  FEditKeyValue = Null();
  TField* F = C->Field();
  if (F && F->Lookup() && !F->KeyFields().empty() && F->DataSet()) {
    // A lookup cell starts with the record's key, or the special row's value and text when
    // the key is that value or is missing from the list.
    FEditKeyValue = F->DataSet()->FieldValues(F->KeyFields());
    TSpecRowZk* Spec = C->DropDownSpecRow();
    if (Spec->Visible() && (VariantsEqual(FEditKeyValue, Spec->Value()) ||
                            (Spec->ShowIfNotInKeyList() && !C->KeyValueInLookupList()))) {
      FEditKeyValue = Spec->Value();
      FEditText = Spec->GetCellsTextItem(0);
    }
  }
  return FEditText;
}

void TCustomDBGridZk::TakeEditText(int, int, const String& Value) { FEditText = Value; }

TInplaceEdit* TCustomDBGridZk::MakeEditor() { return new TDBGridInplaceEdit(this); }

// The link asks for the data (a post, a scroll, leaving the cell): the editor's text goes into
// the current field by the field's own text conversion, so a refused value raises here and
// the editor keeps its text.
void TCustomDBGridZk::UpdateData() {
  TColumnZk* C = CurrentColumnOf(this);
  if (!C) return;
  TField* F = C->Field();
  const TColumnZkType Type = C->GetColumnType();
  if (Type == ctPickList && C->OnNotInList() && C->PickList()->IndexOf(FEditText) < 0) {
    bool Accept = false;   // the handler may add the text to the list
    C->OnNotInList()(C, FEditText, Accept);
  }
  if (Type == ctKeyPickList) {
    // The key of the chosen text; a text the list lacks keeps the key it had (OnNotInList may
    // add it, or it becomes Null), an empty one clears it.
    int I = C->PickList()->IndexOf(FEditText);
    if (I < 0 && !FEditText.empty() && C->OnNotInList()) {
      bool Accept = false;
      C->OnNotInList()(C, FEditText, Accept);
      I = Accept ? C->PickList()->IndexOf(FEditText) : -1;
      if (I < 0 || I >= C->KeyList()->Count()) FEditKeyValue = Null();
    }
    if (I >= 0 && I < C->KeyList()->Count()) FEditKeyValue = C->KeyList()->Strings(I);
    else if (FEditText.empty()) FEditKeyValue = Null();
    else if (F && !C->OnNotInList()) FEditKeyValue = F->Value();
    C->UpdateDataValues(FEditText, FEditKeyValue, false);
    return;
  }
  if (F && F->Lookup()) {
    if (F->KeyFields().empty()) return;
    if (VarIsNull(FEditKeyValue) && !FEditText.empty() && C->OnNotInList())
      FEditKeyValue = NotInListLookupKey(C, FEditText);
    if (!FieldIsEditable(F)) return;
    DataSet()->Edit();
    C->UpdateDataValues(FEditText, FEditKeyValue, false);
    return;
  }
  C->UpdateDataValues(FEditText, Null(), true);
}

// A typed text the lookup list lacks: the column's OnNotInList may add it; the key of the text
// found then, else Null.
Variant TCustomDBGridZk::NotInListLookupKey(TColumnZk* C, const String& Text) {
  TField* F = C->Field();
  TDataSet* List = F->LookupDataSet();
  if (!List || !List->Active()) return Null();
  auto Find = [&] {
    try {
      return List->Locate(F->LookupResultField(), Variant(Text), {loCaseInsensitive});
    } catch (const Exception&) {
      return false;   // a list that cannot search by text holds no match
    }
  };
  if (Find()) return List->FieldValues(F->LookupKeyFields());
  bool Accept = false;
  C->OnNotInList()(C, Text, Accept);
  if (Accept && Find()) return List->FieldValues(F->LookupKeyFields());
  return Null();
}

void TCustomDBGridZk::InvalidateEditor() {
  TDBGridInplaceEdit* Edit = DBInplaceEdit();
  const bool Lock = Edit && Edit->ListVisible();
  if (Lock) Edit->SetLockCloseList(true);
  try {
    ReloadEditor();
  } catch (...) {
    if (Lock) Edit->SetLockCloseList(false);
    throw;
  }
  if (Lock) Edit->SetLockCloseList(false);
}

void TCustomDBGridZk::ShowCellEditor() {
  if (TColumnZk* C = FGridRowPanel->Active() ? ColumnAtGridCol(Col()) : nullptr)
    ScrollToInRowColumn(C->Index());
  SetEditorMode(true);
}

void TCustomDBGridZk::HideCellEditor() {
  if (!InplaceEditor()) return;
  SetEditorMode(false);
}

void TCustomDBGridZk::DoExit() {
  if (FDataLink->Active()) {
    try {
      TDataSet* D = DataSet();
      if (FOptions.Contains(dgCancelOnExit) && D->State() == dsInsert && !D->Modified() &&
          !FDataLink->IsModified())
        D->Cancel();
      else
        FDataLink->UpdateRecord();
    } catch (...) {
      SetFocus();
      throw;
    }
  }
  TCustomGridZk::DoExit();
}

void TCustomDBGridZk::DrawRequiredState(TColumnZk* Column, const String& Text, const TRect& R,
                                        bool CurrentRow) {
  bool Draw = CurrentRow && RequiredValueMissing(Column);
  if (Column->OnCheckDrawRequiredState()) Column->OnCheckDrawRequiredState()(this, Text, Draw);
  if (!Draw) return;
  TPen* Pen = Canvas()->Pen();
  const TColor Color = Pen->Color();
  const TPenStyle Style = Pen->Style();
  const int Width = Pen->Width();
  DrawRequiredStateMark(Canvas(), R, R.Bottom);
  Pen->SetColor(Color);
  Pen->SetStyle(Style);
  Pen->SetWidth(Width);
}
