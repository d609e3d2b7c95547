// DBGridZkValues.cpp - what a column shows and edits: its type, the pick and key lists, the
// display and edit texts, check-box states, the image index, write-back and value stepping.
#include "gridlib/grid/DBGridZk.h"

#include "platform/classes/Strings.h"
#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/SysUtils.h"
#include "gridlib/toolkit/LookupExtraRowZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"

namespace {

bool IsMemoType(TFieldType T) { return T == ftMemo || T == ftWideMemo || T == ftOraClob; }

// The numeric types a check box reads as 1 / not 1 (ftWord is not among them).
bool IsCheckNumberType(TFieldType T) {
  switch (T) {
    case ftSmallint: case ftInteger: case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
      return true;
    default:
      return false;
  }
}

TStrings* ListOf(std::unique_ptr<TStrings>& List) {
  if (!List) List = std::make_unique<TStringList>();
  return List.get();
}

int Count(const std::unique_ptr<TStrings>& List) { return List ? List->Count() : 0; }

String Entry(const std::unique_ptr<TStrings>& List, int Index) {
  return Index >= 0 && Index < Count(List) ? List->Strings(Index) : String();
}

// The grid and link allow editing: the grid is not read-only and its link is active and writable.
bool GridAllowsChanges(TCustomDBGridZk* Grid) {
  if (!Grid) return true;
  const TGridDataLinkZk* Link = Grid->DataLink();
  return !Grid->ReadOnly() && Link->Active() && !Link->ReadOnly();
}

// Changing or adding records is among the grid's allowed operations.
bool OperationsAllowEdit(TCustomDBGridZk* Grid) {
  if (!Grid) return true;
  TDataSet* D = Grid->DataSet();
  const TDBGridZkAllowedOperations Ops = Grid->AllowedOperations();
  if (D && D->State() == dsInsert) return Ops.Contains(alopInsertZk) || Ops.Contains(alopAppendZk);
  return Ops.Contains(alopUpdateZk);
}

}  // namespace

TStrings* TColumnZk::PickList() const { return ListOf(FPickList); }
void TColumnZk::SetPickList(TStrings* Value) { PickList()->Assign(Value); }
bool TColumnZk::IsPickListStored() const { return Count(FPickList) > 0; }
TStrings* TColumnZk::KeyList() const { return ListOf(FKeyList); }
void TColumnZk::SetKeyList(TStrings* Value) { KeyList()->Assign(Value); }
bool TColumnZk::IsKeyListStored() const { return Count(FKeyList) > 0; }

void TColumnZk::SetNotInKeyListIndex(int Value) {
  if (FNotInKeyListIndex == Value) return;
  FNotInKeyListIndex = Value;
  Changed(false);
}

TColumnZkType TColumnZk::GetColumnType() const {
  TField* F = Field();
  if (Checkboxes()) return ctCheckboxes;
  if (F && F->IsBlob() && F->DataType() == ftGraphic && Grid() && Grid()->DrawGraphicData())
    return ctGraphicData;
  if (F && F->Lookup()) return ctLookupField;
  if (Count(FPickList) > 0 && Count(FKeyList) == 0) return ctPickList;
  if (FImageList && !FShowImageAndText) return ctKeyImageList;
  if (Count(FKeyList) > 0 && Count(FPickList) > 0) return ctKeyPickList;
  return ctCommon;
}

String TColumnZk::FormatFieldValue(TField* Field, const String& Format) {
  if (!Field) return String();
  if (Format.empty()) return Field->DisplayText();
  if (Field->IsNull()) return String();
  if (dynamic_cast<TNumericField*>(Field)) return FormatFloat(Format, Field->AsFloat());
  if (dynamic_cast<TDateTimeField*>(Field)) return FormatDateTime(Format, Field->AsDateTime());
  return String();
}

String TColumnZk::DisplayText() const {
  TField* F = Field();
  if (!F) return String();
  if (FImageList && !FShowImageAndText && GetColumnType() == ctKeyImageList) return String();
  if (Count(FKeyList) > 0) {
    const int I = FKeyList->IndexOf(F->Text());
    if (I >= 0 && I < Count(FPickList)) return FPickList->Strings(I);
    return Entry(FPickList, FNotInKeyListIndex);
  }
  TCustomDBGridZk* G = Grid();
  if (G && G->DrawMemoText() && IsMemoType(F->DataType())) return F->AsString();
  if (F->Lookup() && FDropDownSpecRow->Visible() && F->DataSet() && !F->KeyFields().empty()) {
    // The special row's text for its own key, and for a key the list lacks when it says so.
    const bool HasValue = F->LookupDataSet() && F->LookupDataSet()->Active() && !F->IsNull();
    if (VariantsEqual(F->DataSet()->FieldValues(F->KeyFields()), FDropDownSpecRow->Value()) ||
        (FDropDownSpecRow->ShowIfNotInKeyList() && !HasValue))
      return FDropDownSpecRow->GetCellsTextItem(0);
  }
  return FormatFieldValue(F, FDisplayFormat);
}

String TColumnZk::EditText() const {
  TField* F = Field();
  if (!F) return String();
  if (FImageList && !FShowImageAndText && GetColumnType() == ctKeyImageList) return String();
  if (Count(FKeyList) == 0) {
    TCustomDBGridZk* G = Grid();
    if (G && G->DrawMemoText() && IsMemoType(F->DataType())) return F->AsString();
    if (!F->Lookup()) return F->Text();
  }
  return DisplayText();
}

String TColumnZk::GetEditMask() const {
  TCustomDBGridZk* G = Grid();
  if (G && !G->DataLink()->Active()) return String();
  if (!FEditMask.empty()) return FEditMask;
  TField* F = Field();
  return F && Count(FKeyList) == 0 ? F->EditMask() : String();
}

bool TColumnZk::KeyItemMatches(const String& Item, const String& Text) {
  if (Item.empty() && Text.empty()) return true;
  std::size_t Pos = 0;
  while (Pos < Item.size())
    if (CompareTextIgnoreCase(ExtractFieldName(Item, Pos), Text) == 0) return true;
  return !Item.empty() && Item.back() == u';' && Text.empty();
}

TCheckBoxState TColumnZk::CheckboxState() const {
  TField* F = Field();
  if (!F) return cbUnchecked;
  if (Count(FKeyList) == 0 && F->DataType() == ftBoolean)
    return F->IsNull() ? cbGrayed : F->AsBoolean() ? cbChecked : cbUnchecked;
  if (Count(FKeyList) == 0 && IsCheckNumberType(F->DataType()))
    return F->IsNull() ? cbGrayed : F->AsFloat() == 1.0 ? cbChecked : cbUnchecked;
  const String T = F->Text();
  if (Count(FKeyList) > 0 && KeyItemMatches(FKeyList->Strings(0), T)) return cbChecked;
  if (Count(FKeyList) > 1 && KeyItemMatches(FKeyList->Strings(1), T)) return cbUnchecked;
  return cbGrayed;
}

void TColumnZk::SetCheckboxState(TCheckBoxState Value) {
  TField* F = Field();
  if (!F) return;
  if (Value == cbGrayed) return UpdateDataValues(String(), Variant::MakeNull(), false);
  const bool Checked = Value == cbChecked;
  if (F->DataType() == ftBoolean) return UpdateDataValues(String(), Variant(Checked), false);
  if (IsCheckNumberType(F->DataType())) return UpdateDataValues(String(), Variant(Checked ? 1 : 0), false);
  String Key = Entry(FKeyList, Checked ? 0 : 1);
  const std::size_t Semi = Key.find(u';');
  if (Semi != String::npos) Key.resize(Semi);
  UpdateDataValues(Key, Variant(Key), true);
}

int TColumnZk::GetImageIndex() const {
  TField* F = Field();
  if (!F) return -1;
  int I = -1;
  if (Count(FKeyList) > 0) {
    I = FKeyList->IndexOf(F->Text());
  } else if (Count(FPickList) > 0) {
    I = FPickList->IndexOf(F->Text());
  } else if (IsNumberFieldType(F->DataType()) && !F->IsNull()) {
    const long double V = F->AsFloat();
    if (V >= INT32_MIN && V <= INT32_MAX) I = static_cast<int>(V);
  }
  return I == -1 ? FNotInKeyListIndex : I;
}

bool TColumnZk::CanModify(bool TryEdit) {
  TCustomDBGridZk* G = Grid();
  TField* F = Field();
  bool M = GridAllowsChanges(G) && !ReadOnly();
  if (!F) return false;
  TField* Edited = F;
  if (F->Lookup()) {
    if (F->KeyFields().empty() || !F->DataSet()) return false;
    std::size_t Pos = 0;
    while (M && Pos < F->KeyFields().size()) {
      TField* Key = F->DataSet()->FindField(ExtractFieldName(F->KeyFields(), Pos));
      M = Key && Key->CanModify();
      if (Key && Edited == F) Edited = Key;
    }
  }
  if (M) {
    M = Edited->CanModify();
    if (M && Edited->IsBlob() && !Edited->OnSetText())
      M = G && G->DrawMemoText() && IsMemoType(Edited->DataType());
    if (M) M = OperationsAllowEdit(G);
  }
  if (M && FOnGetCellParams) {
    TColCellParamsZk Params;
    Params.ReadOnly = ReadOnly();
    Params.Text = DisplayText();
    FOnGetCellParams(this, true, &Params);
    M = !Params.ReadOnly;
  }
  if (M && TryEdit && G) {
    G->DataLink()->Edit();
    M = G->DataLink()->Editing();
    if (M) G->DataLink()->Modified();
  }
  return M;
}

bool TColumnZk::CanEditAcceptKey(Char Key) const {
  TField* F = Field();
  if (!F) return static_cast<bool>(FOnUpdateData);
  return Count(FKeyList) > 0 || F->IsValidChar(Key);
}

String TColumnZk::GetAcceptableEditText(const String& InputEditText) const {
  String Out;
  for (Char C : InputEditText)
    if (CanEditAcceptKey(C)) Out += C;
  return Out;
}

void TColumnZk::UpdateDataValues(String Text, Variant Value, bool UseText) {
  if (!Grid()) return;
  bool Handled = false;
  if (FOnUpdateData) FOnUpdateData(this, Text, Value, UseText, Handled);
  TField* F = Field();
  if (Handled || !F) return;
  if (!UseText) {
    if (F->Lookup() && !F->KeyFields().empty() && F->DataSet())
      F->DataSet()->SetFieldValues(F->KeyFields(), Value);
    else
      F->SetValue(Value);
  } else if (Grid()->DrawMemoText() && IsMemoType(F->DataType())) {
    F->SetAsString(Text);
  } else {
    F->SetText(Text);
  }
  TInplaceEdit* Editor = Grid()->InplaceEditor();
  if (FMRUList->Active() && FMRUList->AutoAdd() && Editor && Editor->EditorVisible())
    FMRUList->Add(Text);
}

void TColumnZk::StepFieldValue(long double Step) {
  TCustomDBGridZk* G = Grid();
  TField* F = Field();
  if (!G || !F || F->Lookup()) return;
  if (!GridAllowsChanges(G) || ReadOnly() || !F->CanModify() || F->IsBlob() ||
      !OperationsAllowEdit(G))
    return;
  if (FOnGetCellParams) {
    TColCellParamsZk Params;
    FOnGetCellParams(this, true, &Params);
    if (Params.ReadOnly) return;
  }
  G->DataLink()->Edit();
  if (!G->DataLink()->Editing()) return;
  G->DataLink()->Modified();
  const bool Next = Step == 1.0L;
  const String Current = F->Text();
  switch (GetColumnType()) {
    case ctCheckboxes:
      SetCheckboxState(CheckboxState() == cbChecked ? cbUnchecked : cbChecked);
      return;
    case ctKeyPickList:
    case ctKeyImageList: {
      const int B = FKeyList->IndexOf(F->Text()), Last = FKeyList->Count() - 1;
      int To = Next ? B + 1 : B - 1;
      if (Next && (B == -1 || B == Last)) To = 0;
      if (!Next && (B == -1 || B == 0)) To = Last;
      UpdateDataValues(Current, Variant(FKeyList->Strings(To)), false);
      return;
    }
    case ctPickList: {
      const int B = FPickList->IndexOf(F->Text()), Last = FPickList->Count() - 1;
      if (Next && (B == -1 || B == Last)) return F->SetText(FPickList->Strings(0));
      if (!Next && (B == -1 || B == 0)) return F->SetText(FPickList->Strings(Last));
      const String E = FPickList->Strings(Next ? B + 1 : B - 1);
      UpdateDataValues(E, Variant(E), true);
      return;
    }
    default:
      break;
  }
  if (!IsNumberFieldType(F->DataType())) return;
  const Variant Start = F->IsNull() ? Variant(static_cast<double>(-Step)) : F->Value();
  try {
    UpdateDataValues(Current, Start + Variant(static_cast<double>(Step)), false);
  } catch (const EDatabaseError&) {
    // A value outside the field's range leaves the field as it was.
  }
}
