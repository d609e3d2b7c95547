// DBLookupZk.cpp - the lookup combo box: binding of the data and the list, the key and its
// text, typing in both styles, the drop-down grid, and the published properties.
#include "gridlib/grid/DBLookupZk.h"

#include <algorithm>

#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "gridlib/toolkit/SizeGripZk.h"
#include "platform/classes/TypeRegistry.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/SysUtils.h"

namespace {

[[noreturn]] void RaiseDatabaseError(const String& Text) { throw EDatabaseError(Text); }

// Arrays of equal bounds element by element, plain values by variant equality; an array
// against a plain value and any comparison that raises are unequal.
bool KeyValuesEqual(const Variant& A, const Variant& B) {
  try {
    const bool ArrA = VarIsArray(A), ArrB = VarIsArray(B);
    if (ArrA != ArrB) return false;
    if (!ArrA) {
      if (VarIsNull(A) || VarIsNull(B)) return VarIsNull(A) && VarIsNull(B);
      return A == B;
    }
    const int Low = VarArrayLowBound(A, 1), High = VarArrayHighBound(A, 1);
    if (Low != VarArrayLowBound(B, 1) || High != VarArrayHighBound(B, 1)) return false;
    for (int I = Low; I <= High; ++I)
      if (!KeyValuesEqual(VarArrayGet(A, I), VarArrayGet(B, I))) return false;
    return true;
  } catch (...) {
    // Values the variant rules cannot compare are different keys.
    return false;
  }
}

bool IsTextField(const TField* F) {
  return F && (F->FieldKind() == fkData || F->FieldKind() == fkInternalCalc);
}

// The case-free form of a plain Latin or Cyrillic letter or a digit, else 0.
Char PlainLetterKey(Char C) {
  if (C >= u'a' && C <= u'z') return Char(C - 0x20);
  if ((C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9')) return C;
  if (C >= 0x0430 && C <= 0x044F) return Char(C - 0x20);
  if ((C >= 0x0410 && C <= 0x042F) || C == 0x0401) return C;
  if (C == 0x0451) return 0x0401;
  return 0;
}

bool CombiningMark(Char C) { return C >= 0x0300 && C <= 0x036F; }

// Whether two texts surely differ under a case-insensitive collation because their first
// characters are different plain letters (neither followed by a combining mark). This spares
// the collation for most texts of a list; every text that passes is still compared by it.
bool FirstLettersDiffer(std::u16string_view A, std::u16string_view B) {
  if (A.empty() || B.empty()) return false;
  if ((A.size() > 1 && CombiningMark(A[1])) || (B.size() > 1 && CombiningMark(B[1]))) return false;
  const Char X = PlainLetterKey(A[0]), Y = PlainLetterKey(B[0]);
  return X != 0 && Y != 0 && X != Y;
}

}  // namespace

// --- links ----------------------------------------------------------------------------------------

TDataSourceLinkZk::TDataSourceLinkZk(TCustomDBLookupComboboxZk* Combo) : FCombo(Combo) {
  SetMultiFields(true);
}

void TDataSourceLinkZk::LayoutChanged() {
  TFieldDataLinkZk::LayoutChanged();
  FCombo->UpdateDataFields();
}

TListSourceLinkZk::TListSourceLinkZk(TCustomDBLookupComboboxZk* Combo) : FCombo(Combo) {
  SetVisualControl(true);
}
void TListSourceLinkZk::ActiveChanged() {
  FCombo->FTextIndex.Invalidate();
  FCombo->UpdateListFields();
}
void TListSourceLinkZk::LayoutChanged() {
  FCombo->FTextIndex.Invalidate();
  FCombo->UpdateListFields();
}
// A dataset change also follows every walk with controls disabled, so it does not drop the text
// index: the index checks the record count and the found text itself.
void TListSourceLinkZk::DataSetChanged() { FCombo->ListDataSetChanged(); }
void TListSourceLinkZk::RecordChanged(TField*) { FCombo->FTextIndex.Invalidate(); }

// --- the text index of the list -------------------------------------------------------------------

bool TLookupTextIndexZk::IsCurrent(TDataSet* DataSet) const {
  return FValid && FCount == DataSet->RecordCount() && FVersion == DataSet->DataVersion();
}

// The stored values in record order give the texts without walking the list; the values are
// kept as they are (strings shared, not copied), so reading 10,000 of them costs little.
bool TLookupTextIndexZk::ReadStored(TDataSet* DataSet, TField* Field) {
  FTexts.clear();
  if (!DataSet->GetFieldColumn(Field, FTexts)) return false;
  for (Variant& V : FTexts)
    if (!V.IsString() && !V.IsNull()) V = Variant(V.AsString());
  Validate(DataSet);
  return true;
}

void TLookupTextIndexZk::Validate(TDataSet* DataSet) {
  FCount = DataSet->RecordCount();
  FVersion = DataSet->DataVersion();
  FValid = true;
  FLastProbe.clear();
}

void TLookupTextIndexZk::Prepare(TDataSet* DataSet, TField* Field) {
  if (!IsCurrent(DataSet)) ReadStored(DataSet, Field);
}

void TLookupTextIndexZk::Build(TDataSet* DataSet, TField* Field) {
  if (ReadStored(DataSet, Field)) return;
  FTexts.clear();
  const TBookmark Saved = DataSet->GetBookmark();
  DataSet->DisableControls();
  try {
    // A sequenced list numbers its records in the order it walks them.
    for (DataSet->First(); !DataSet->Eof(); DataSet->Next()) FTexts.emplace_back(Field->AsString());
    if (!Saved.empty()) DataSet->GotoBookmark(Saved);
  } catch (...) {
    DataSet->EnableControls();
    throw;
  }
  DataSet->EnableControls();
  Validate(DataSet);
}

std::u16string_view TLookupTextIndexZk::TextAt(std::size_t I) const {
  const Variant& V = FTexts[I];
  return V.IsString() ? std::u16string_view(V.StringRef()) : std::u16string_view();
}

int TLookupTextIndexZk::Find(TDataSet* DataSet, TField* Field, const String& Str, bool Partial) {
  if (!IsCurrent(DataSet)) Build(DataSet, Field);
  const std::u16string_view Probe = Str;
  // Every text that starts with the longer probe starts with the shorter one too.
  std::size_t I = !FLastProbe.empty() && Probe.size() >= FLastProbe.size() &&
                          AnsiSameText(Probe.substr(0, FLastProbe.size()), FLastProbe)
                      ? FLastIndex
                      : 0;
  for (; I < FTexts.size(); ++I) {
    const std::u16string_view T = TextAt(I);
    if (FirstLettersDiffer(T, Probe)) continue;
    if (Partial ? T.size() >= Probe.size() && AnsiSameText(T.substr(0, Probe.size()), Probe)
                : AnsiSameText(T, Probe))
      break;
  }
  if (Partial) {
    FLastProbe = Str;
    FLastIndex = I;
  }
  // The records are numbered from 1 in the order of the texts.
  return I < FTexts.size() ? static_cast<int>(I) + 1 : 0;
}

// --- construction ---------------------------------------------------------------------------------

TCustomDBLookupComboboxZk::TCustomDBLookupComboboxZk(TComponent* AOwner)
    : TCustomDBEditZk(AOwner) {
  // The base made a plain field link; the combo box's own keeps the same callbacks.
  FDataLink->OnDataChange = nullptr;
  FDataLink->OnEditingChange = nullptr;
  FDataLink->OnUpdateData = nullptr;
  FDataLink->OnActiveChange = nullptr;
  FDataLink.reset(CreateDataLink());
  FDataLink->SetControl(this);
  FDataLink->OnDataChange = [this](TObject*) { DataChangedAndButtons(); };
  FDataLink->OnEditingChange = [this](TObject*) { EditingChanged(); };
  FDataLink->OnUpdateData = [this](TObject*) { UpdateData(); };
  FDataLink->OnActiveChange = [this](TObject*) { ActiveChanged(); };
  ReplaceEditButton();
  FKeyValue = Null();
  FLookupSource = std::make_unique<TDataSource>(nullptr);
  FListLink = std::make_unique<TListSourceLinkZk>(this);
  FDataList = new TPopupDataGridZk(this);
  FDataList->SetVisible(false);
  FDataList->SetCtl3D(true);
  FDataList->SetParentCtl3D(false);
  FDataList->SetOnMouseCloseUp([this](TObject*, bool Accept) { CloseUp(Accept); });
  FDataList->SetOnUserKeyValueChange([](TObject*) {});
  FDropDownBox = std::make_unique<TLookupComboboxDropDownBoxZk>(this);
  FDropDownBox->SpecRow()->SetOnChanged([this](TObject*) { SpecRowChanged(); });
  UpdateEditReadOnly();
}

TCustomDBLookupComboboxZk::~TCustomDBLookupComboboxZk() {
  FDropDownBox->SpecRow()->SetOnChanged(nullptr);
  FListLink->SetDataSource(nullptr);
  FListLink.reset();
}

TFieldDataLinkZk* TCustomDBLookupComboboxZk::CreateDataLink() { return new TDataSourceLinkZk(this); }
TEditButtonZk* TCustomDBLookupComboboxZk::CreateEditButton() { return new TVisibleEditButtonZk(this); }

void TCustomDBLookupComboboxZk::Loaded() {
  TCustomDBEditZk::Loaded();
  FDataList->SpecRow()->Assign(FDropDownBox->SpecRow());
  UpdateDataFields();
  UpdateListFields();
}

void TCustomDBLookupComboboxZk::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomDBEditZk::Notification(AComponent, Operation);
  if (Operation != opRemove || !FDropDownBox) return;
  if (AComponent == FListSource) SetListSource(nullptr);
  if (AComponent == FDropDownBox->ListSource()) {
    FDropDownBox->SetListSource(nullptr);
    UpdateListSource();
  }
  if (AComponent == FDataList) FDataList = nullptr;
}

void TCustomDBLookupComboboxZk::DropDownBoxFreeNotification(TComponent* AComponent) {
  if (AComponent) AComponent->FreeNotification(this);
}

// --- key-text independence and read-only state ----------------------------------------------------

void TCustomDBLookupComboboxZk::UpdateKeyTextIndependent() {
  if (FLockUpdateKeyTextIndependent > 0) return;
  FKeyTextIndependent = !DataSource() && FDataFieldName.empty() && !FListSource &&
                        FListFieldName.empty() && FKeyFieldName.empty();
}

void TCustomDBLookupComboboxZk::ClearDataProps() {
  FKeyTextIndependent = true;
  ++FLockUpdateKeyTextIndependent;
  try {
    SetDataSource(nullptr);
    SetDataField(String());
    SetKeyField(String());
    SetListField(String());
    SetListSource(nullptr);
  } catch (...) {
    --FLockUpdateKeyTextIndependent;
    throw;
  }
  --FLockUpdateKeyTextIndependent;
  UpdateKeyTextIndependent();
}

void TCustomDBLookupComboboxZk::UpdateEditReadOnly() {
  if (!HandleAllocated()) return;
  if (FKeyTextIndependent) {
    TCustomDBEditZk::UpdateReadOnlyState();
    return;
  }
  TCustomMaskEdit::SetReadOnly(!(FDataLink->Editing() && FStyle == csDropDownZk));
}

void TCustomDBLookupComboboxZk::UpdateReadOnlyState() {
  TCustomDBEditZk::UpdateReadOnlyState();
  if (!FKeyTextIndependent && HandleAllocated())
    TCustomMaskEdit::SetReadOnly(!(FDataLink->Editing() && FStyle == csDropDownZk) ||
                                 ReadOnly());
}

void TCustomDBLookupComboboxZk::SetStyle(TDBLookupComboboxZkStyle Value) {
  FStyle = Value;
  UpdateReadOnlyState();
}

// --- list source ----------------------------------------------------------------------------------

TDataSource* TCustomDBLookupComboboxZk::MainListSource() const {
  return FLookupMode ? FLookupSource.get() : FListSource;
}

TDataSource* TCustomDBLookupComboboxZk::EffectiveListSource() const {
  if (IsFocusedForEdit() && !ComponentState().Contains(csDesigning) && FDropDownBox &&
      FDropDownBox->ListSource())
    return FDropDownBox->ListSource();
  return MainListSource();
}

bool TCustomDBLookupComboboxZk::IsDropDownListSource() {
  return FDropDownBox->ListSource() && EffectiveListSource() == FDropDownBox->ListSource();
}

void TCustomDBLookupComboboxZk::UpdateListSource() {
  TDataSource* S = EffectiveListSource();
  if (FListLink->DataSource() != S) FListLink->SetDataSource(S);
}

void TCustomDBLookupComboboxZk::CheckListSettable() {
  if (FLookupMode) RaiseDatabaseError(u"Property already defined by lookup field");
  if (FDataLink->DataSourceFixed()) RaiseDatabaseError(u"Operation not allowed in a DBCtrlGrid");
}

void TCustomDBLookupComboboxZk::SetListSource(TDataSource* Value) {
  if (Value == FListSource) return;
  if (Value) CheckListSettable();
  FListSource = Value;
  if (Value) Value->FreeNotification(this);
  UpdateKeyTextIndependent();
  UpdateListSource();
}

void TCustomDBLookupComboboxZk::SetKeyField(const String& Value) {
  if (Value == FKeyFieldName) return;
  if (!Value.empty()) CheckListSettable();
  FKeyFieldName = Value;
  UpdateKeyTextIndependent();
  UpdateListFields();
}

void TCustomDBLookupComboboxZk::SetListField(const String& Value) {
  if (Value == FListFieldName) return;
  FListFieldName = Value;
  UpdateKeyTextIndependent();
  UpdateListFields();
}

void TCustomDBLookupComboboxZk::SetListFieldIndex(int Value) {
  if (Value == FListFieldIndex) return;
  FListFieldIndex = Value;
  UpdateListFields();
}

void TCustomDBLookupComboboxZk::SetFocused(bool Value) {
  TCustomDBEditZk::SetFocused(Value);
  UpdateListSource();
  if (Value) PrepareTextIndex();
}

// Typing may come next: the list's texts are read now, while nobody waits for a key.
void TCustomDBLookupComboboxZk::PrepareTextIndex() {
  if (UsesTextIndex() && CanEditKey(false)) FTextIndex.Prepare(ListDataSet(), FListField);
}

// --- binding the data -----------------------------------------------------------------------------

void TCustomDBLookupComboboxZk::SetDataField(const String& Value) {
  if (Value == FDataFieldName) return;
  FDataFieldName = Value;
  UpdateDataFields();
}

void TCustomDBLookupComboboxZk::SetDataSource(TDataSource* Value) {
  TCustomDBEditZk::SetDataSource(Value);
  UpdateDataFields();
}

void TCustomDBLookupComboboxZk::ActiveChanged() {
  TCustomDBEditZk::ActiveChanged();
  UpdateDataFields();
}

void TCustomDBLookupComboboxZk::CheckNotCircular() {
  TDataSet* List = ListDataSet();
  if (List && DataSource() && List->IsLinkedTo(DataSource()))
    RaiseDatabaseError(u"Circular datalinks are not allowed");
}

void TCustomDBLookupComboboxZk::UpdateDataFields() {
  if (FDataFieldsUpdating) return;
  FDataFieldsUpdating = true;
  try {
    FDataFields.clear();
    FMasterFields.clear();
    FMasterFieldNames.clear();
    TDataSet* Data = FDataLink->DataSet();
    if (FDataLink->DataSetActive() && Data && !FDataFieldName.empty()) {
      CheckNotCircular();
      FieldsArrayByNames(Data, this, FDataFieldName, FDataFields);
      if (FDataFields.size() == 1 && FDataFields[0]->Lookup())
        FieldsArrayByNames(Data, this, FDataFields[0]->KeyFields(), FMasterFields);
      else
        FMasterFields = FDataFields;
      FMasterFieldNames = JoinFieldNames(FMasterFields);
    }
    const bool Lookup = FDataFields.size() == 1 && FDataFields[0]->Lookup();
    if (Lookup) {
      TField* F = FDataFields[0];
      FLookupSource->SetDataSet(F->LookupDataSet());
      FKeyFieldName = F->LookupKeyFields();
      FLookupMode = true;
      UpdateListSource();
    } else if (FLookupMode) {
      FListLink->SetDataSource(nullptr);
      FKeyFieldName.clear();
      FLookupSource->SetDataSet(nullptr);
      FLookupMode = false;
      FMasterFields = FDataFields;
      UpdateListSource();
    }
    const String LinkName = !FMasterFieldNames.empty() ? FMasterFieldNames : FDataFieldName;
    if (FDataLink->FieldName() != LinkName) FDataLink->SetFieldName(LinkName);
    UpdateKeyTextIndependent();
    UpdateReadOnlyState();
    if (!FKeyTextIndependent) DataChangedAndButtons();
  } catch (...) {
    FDataFieldsUpdating = false;
    throw;
  }
  FDataFieldsUpdating = false;
}

// --- binding the list -----------------------------------------------------------------------------

void TCustomDBLookupComboboxZk::UpdateListFields() {
  if (FListVisible) return;
  FListActive = false;
  FListField = nullptr;
  FListFields.clear();
  TDataSet* List = ListDataSet();
  if (FListLink->Active() && List && !FKeyFieldName.empty()) {
    CheckNotCircular();
    TField* Result = FLookupMode ? List->FindField(FDataFields[0]->LookupResultField()) : nullptr;
    ResolveLookupListFields(List, this, FKeyFieldName, FListFieldName, Result, FListFieldIndex,
                            FKeyFields, FListFields, FListField);
    FListActive = true;
  }
  UpdateKeyTextIndependent();
  UpdateReadOnlyState();
  const bool WasModified = Modified();
  if (!FKeyTextIndependent) {
    if (FListActive) {
      if (!ApplyTextRule(false)) SetTextInternal(String());
    } else {
      SetTextInternal(ComponentState().Contains(csDesigning) ? Name() : String());
    }
  }
  if (Modified() != WasModified) {
    SetModified(WasModified);
    if (WasModified) FDataLink->Modified();
  }
  if (Focused()) PrepareTextIndex();
  Invalidate();
}

// --- texts ----------------------------------------------------------------------------------------

void TCustomDBLookupComboboxZk::SetTextInternal(const String& Text) {
  const bool Old = FInternalTextSetting;
  FInternalTextSetting = true;
  try {
    TCustomDBEditZk::InternalSetText(Text);
  } catch (...) {
    FInternalTextSetting = Old;
    throw;
  }
  FInternalTextSetting = Old;
}

String TCustomDBLookupComboboxZk::GetListFieldText() const {
  if (!FListField) return String();
  const TFieldType T = FListField->DataType();
  if (T == ftMemo || T == ftWideMemo) return FListField->AsString();
  return FListField->DisplayText();
}

Variant TCustomDBLookupComboboxZk::ListRowKey() const {
  TDataSet* List = ListDataSet();
  return List ? List->FieldValues(FKeyFieldName) : Null();
}

bool TCustomDBLookupComboboxZk::ApplyTextRule(bool InDataChanged) {
  TSpecRowZk* Spec = FDropDownBox->SpecRow();
  if (IsFocusedForEdit() && IsDropDownListSource() && LocateKeyIn(MainListSource())) {
    TField* F = MainListSource()->DataSet()->FindField(FListField ? FListField->FieldName() : String());
    SetTextInternal(F ? F->DisplayText() : String());
    return true;
  }
  if (Spec->Visible() && (Spec->LocateKey(FKeyValue) || (Spec->ShowIfNotInKeyList() && !LocateKey()))) {
    SetTextInternal(Spec->GetCellsTextItem(FListFieldIndex));
    return true;
  }
  if (LocateKey()) {
    if (!InDataChanged) SetTextInternal(GetListFieldText());
    return true;
  }
  SetTextInternal(String());
  return false;
}

// --- the key --------------------------------------------------------------------------------------

bool TCustomDBLookupComboboxZk::ValidKeyValue(const String& KeyFields, const Variant& Value) {
  int Count = 1;
  for (Char C : KeyFields)
    if (C == u';') ++Count;
  if (Count < 2) return true;
  return VarIsArray(Value) && VarArrayHighBound(Value, 1) - VarArrayLowBound(Value, 1) + 1 == Count;
}

bool TCustomDBLookupComboboxZk::LocateKey() {
  TDataSet* List = ListDataSet();
  if (VarIsNull(FKeyValue) || !List || !List->Active() || !ValidKeyValue(FKeyFieldName, FKeyValue))
    return false;
  try {
    const Variant Saved = FKeyValue;
    if (!List->Locate(FKeyFieldName, FKeyValue, {})) return false;
    FKeyValue = Saved;
    return true;
  } catch (const Exception&) {
    // A key the list cannot compare is not in it.
    return false;
  }
}

bool TCustomDBLookupComboboxZk::LocateKeyIn(TDataSource* Source) {
  TDataSet* Set = Source ? Source->DataSet() : nullptr;
  if (!Set || VarIsNull(FKeyValue) || !Set->Active() || !ValidKeyValue(FKeyFieldName, FKeyValue))
    return false;
  try {
    return Set->Locate(FKeyFieldName, FKeyValue, {});
  } catch (const Exception&) {
    // As LocateKey: an incomparable key is not found.
    return false;
  }
}

void TCustomDBLookupComboboxZk::InternalSetKeyValue(const Variant& Value) {
  if (KeyValuesEqual(FKeyValue, Value)) return;
  FKeyValue = Value;
  KeyValueChanged();
}

void TCustomDBLookupComboboxZk::KeyValueChanged() {
  FDataLink->Modified();
  SetModified(true);
  if (!FKeyTextIndependent) {
    if (FListActive) {
      if (LocateKey() && !FDropDownBox->SpecRow()->LocateKey(FKeyValue))
        SetTextInternal(GetListFieldText());
    } else if (ComponentState().Contains(csDesigning)) {
      SetTextInternal(Name());
    }
  }
  if (FListVisible && FDataList) FDataList->SetKeyValue(FKeyValue);
  if (FStyle == csDropDownListZk && HandleAllocated() && !FKeyTextIndependent) SelectAll();
  if (FOnKeyValueChanged) FOnKeyValueChanged(this);
}

void TCustomDBLookupComboboxZk::SetKeyValue(const Variant& Value) {
  if (FMasterFields.empty()) {
    InternalSetKeyValue(Value);
    if (!DataPosting()) PostOrReset([this] { UpdateData(); });
  } else if (FDataLink->Edit()) {
    AssignKeyFieldValues(FDataLink->DataSet(), FMasterFieldNames, Value);
  }
  TSpecRowZk* Spec = FDropDownBox->SpecRow();
  if (FListActive && !LocateKey() &&
      (!Spec->Visible() || (!Spec->LocateKey(FKeyValue) && !Spec->ShowIfNotInKeyList())))
    SetTextInternal(String());
}

Variant TCustomDBLookupComboboxZk::GetVariantValue() { return FKeyValue; }

bool TCustomDBLookupComboboxZk::CanEditKey(bool Edit) {
  if ((!FKeyTextIndependent && !FListActive) || ReadOnly()) return false;
  if (DataSource()) {
    if (FMasterFields.empty()) return false;
    for (TField* F : FMasterFields)
      if (!F->CanModify()) return false;
    if (Edit) return FDataLink->Edit();
  }
  return true;
}

// --- data changes and posting ---------------------------------------------------------------------

void TCustomDBLookupComboboxZk::DataChanged() {
  if (SourceLink()->DataIndependentValueAsText()) {
    SetTextInternal(VarToStrNullEmpty(FDataLink->DataIndependentValue));
    LocateStr(Text(), false);
  } else {
    TDataSet* Data = FDataLink->DataSet();
    if (Data && Data->Active() && !FMasterFields.empty())
      InternalSetKeyValue(Data->FieldValues(FMasterFieldNames));
    else if (FDataLink->DataIndepended())
      InternalSetKeyValue(FDataLink->DataIndependentValue);
    else
      InternalSetKeyValue(Null());
    if (FListActive) ApplyTextRule(true);
    if (FListActive && LocateKey() && !FDropDownBox->SpecRow()->LocateKey(FKeyValue))
      SetTextInternal(GetListFieldText());
  }
  SetModified(false);
}

void TCustomDBLookupComboboxZk::InternalSetText(const String& AText) {
  if (FKeyTextIndependent) {
    SetTextInternal(AText);
    return;
  }
  if (FStyle == csDropDownZk) SetTextInternal(AText);
  LocateStr(AText, false);
}

void TCustomDBLookupComboboxZk::InternalSetValue(const Variant& AValue) { InternalSetKeyValue(AValue); }

void TCustomDBLookupComboboxZk::UpdateData() {
  if (FListActive && FOnNotInList) {
    const String T = Text();
    TDataSet* List = ListDataSet();
    auto InList = [&] {
      try {
        return List->Locate(FListField->FieldName(), Variant(T), {loCaseInsensitive});
      } catch (const Exception&) {
        return false;   // a list that cannot search counts as not holding the text
      }
    };
    if (FListField && !InList()) {
      bool Recheck = false;
      FOnNotInList(this, T, Recheck);
      if (Recheck && InList()) InternalSetKeyValue(ListRowKey());
    }
  }
  ValidateEdit();
  if (DoUpdateData()) return;
  if (FDataLink->DataIndepended() && FListActive && !LocateKey() && !Text().empty() &&
      FStyle == csDropDownZk && !FDropDownBox->SpecRow()->Visible()) {
    SourceLink()->SetDataIndependentValueAsText(true);
    FDataLink->SetValue(Variant(Text()));
  } else {
    SourceLink()->SetDataIndependentValueAsText(false);
    FDataLink->SetValue(FKeyValue);
  }
  SetModified(false);
}

String TCustomDBLookupComboboxZk::GetDisplayTextForPaintCopy() {
  if (ComponentState().Contains(csDesigning) && !FDataLink->Active()) return Name();
  if (ControlState().Contains(csPaintCopy) && Field() && FListActive) {
    TDataSet* Data = FDataLink->DataSet();
    try {
      if (ListDataSet()->Locate(FKeyFieldName, Data->FieldValues(FMasterFieldNames), {}))
        return GetListFieldText();
    } catch (const Exception&) {
      // An incomparable key shows no text.
    }
    return String();
  }
  return EditText();
}

// --- locating texts -------------------------------------------------------------------------------

bool TCustomDBLookupComboboxZk::LocateStr(const String& Str, bool Partial) {
  if (!FListActive || !FListField || !CanEditKey(true)) return false;
  try {
    if (LocateListText(Str, Partial)) {
      FTextBeenChanged = false;
      InternalSetKeyValue(ListRowKey());
      SetTextInternal(GetListFieldText());
      // The completed tail is selected backwards: the caret stays at the end.
      const int End = int(Text().size());
      Perform(EM_SETSEL, WPARAM(End), LPARAM(std::min(End, int(Str.size()))));
      return true;
    }
    if (FStyle == csDropDownZk) InternalSetKeyValue(Null());
  } catch (const Exception&) {
    // A list that cannot search by text leaves the typed text.
    if (FStyle == csDropDownZk) {
      InternalSetKeyValue(Null());
    } else {
      const String T = Text();
      SetTextInternal(T);
      SetSelStart(int(T.size()));
    }
  }
  return false;
}

// A list that numbers its records is searched through the text index, others by Locate.
bool TCustomDBLookupComboboxZk::UsesTextIndex() const {
  TDataSet* List = ListDataSet();
  if (!FListActive || !FListField || !List || !List->Active()) return false;
  const TFieldType T = FListField->DataType();
  return FListField->FieldKind() == fkData && (T == ftString || T == ftWideString) &&
         List->IsSequenced();
}

bool TCustomDBLookupComboboxZk::LocateListText(const String& Str, bool Partial) {
  TDataSet* List = ListDataSet();
  if (UsesTextIndex()) {
    const int RecNo = FTextIndex.Find(List, FListField, Str, Partial);
    if (RecNo <= 0) return false;
    if (List->RecNo() != RecNo) List->SetRecNo(RecNo);
    const String Found = FListField->AsString();
    if (Partial ? AnsiSameText(Found.substr(0, Str.size()), Str) : AnsiSameText(Found, Str))
      return true;
    // The record changed behind the index: the dataset itself answers.
    FTextIndex.Invalidate();
  }
  TLocateOptions Options{loCaseInsensitive};
  if (Partial) Options << loPartialKey;
  return List->Locate(FListField->FieldName(), Variant(Str), Options);
}

void TCustomDBLookupComboboxZk::AutoCompleteText(const String& Str) {
  if (!IsTextField(FListField) || !CanEditKey(true)) return;
  if (Str == String(1, Char(VK_BACK))) {
    const int End = int(Text().size());
    if (std::abs(SelLength()) >= End) {
      Perform(EM_SETSEL, WPARAM(End), LPARAM(End - 1));
    } else {
      const int N = std::abs(SelLength()) + 1;
      Perform(EM_SETSEL, WPARAM(End), LPARAM(std::max(0, End - N)));
    }
    return;
  }
  const int Start = std::min(SelStart(), SelStart() + SelLength());
  LocateStr(Text().substr(0, std::size_t(std::max(0, Start))) + Str, true);
}

void TCustomDBLookupComboboxZk::SelectAll() {
  if (!HandleAllocated()) return;
  Perform(EM_SETSEL, WPARAM(Text().size()), 0);
}

bool TCustomDBLookupComboboxZk::IsValidChar(Char Key) {
  if (FListActive && FListField) return FListField->IsValidChar(Key);
  return TCustomDBEditZk::IsValidChar(Key);
}

TAlignment TCustomDBLookupComboboxZk::DefaultAlignment() {
  return FKeyTextIndependent ? TCustomDBEditZk::DefaultAlignment() : taLeftJustify;
}

bool TCustomDBLookupComboboxZk::ButtonsEnabled() {
  return TCustomDBEditZk::ButtonsEnabled() &&
         (FListActive || TCustomDBEditZk::OnButtonClick() || TCustomDBEditZk::OnButtonDown());
}

int TCustomDBLookupComboboxZk::GetDefaultListWidth() {
  TBitmap Probe(1, 1);
  Probe.Canvas()->Font()->Assign(Font());
  const int Zero = Probe.Canvas()->TextWidth(u"0");
  const int Overhang = Probe.Canvas()->TextMetrics().tmOverhang;
  int Width = 0;
  for (TField* F : FListFields) Width += F->DisplayWidth() * (Zero - Overhang) + Overhang + 4;
  return Width;
}

void TCustomDBLookupComboboxZk::ListDataSetChanged() {}

void TCustomDBLookupComboboxZk::SpecRowChanged() {
  if (ComponentState().Contains(csLoading)) return;
  DataChanged();
  UpdateListFields();
  FDataList->SpecRow()->Assign(FDropDownBox->SpecRow());
}

// --- stepping and keys ----------------------------------------------------------------------------

void TCustomDBLookupComboboxZk::SelectNextValue(bool IsPrior) {
  if (!CanEditKey(true) || !FListLink->Active()) return;
  TDataSet* List = ListDataSet();
  if (LocateKey()) List->MoveBy(IsPrior ? -1 : 1);
  else List->First();
  InternalSetKeyValue(ListRowKey());
  if (Focused()) SelectAll();
}

void TCustomDBLookupComboboxZk::KeyDown(Word& Key, TShiftState Shift) {
  TCustomDBEditZk::KeyDown(Key, Shift);
  if (Key == 0) return;
  TSpecRowZk* Spec = FDropDownBox->SpecRow();
  if (FListActive && Spec->Visible() && ::ShortCut(Key, Shift) == Spec->ShortCut()) {
    InternalSetKeyValue(Spec->Value());
    SetTextInternal(Spec->GetCellsTextItem(FListFieldIndex));
    SelectAll();
    Key = 0;
    return;
  }
  if (FListActive && (Key == VK_UP || Key == VK_DOWN) && !FListVisible && CanEditKey(true)) {
    SelectNextValue(Key == VK_UP);
    Key = 0;
    return;
  }
  if (FListVisible) {
    const bool Nav = Key == VK_CONTROL || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP ||
                     Key == VK_DOWN ||
                     ((Key == VK_HOME || Key == VK_END) && Shift.Contains(ssCtrl));
    if (Nav) {
      FDataList->KeyDown(Key, Shift);
      Key = 0;
      return;
    }
  }
  if (Key == VK_DELETE && FStyle == csDropDownListZk && CanEditKey(true)) {
    bool Required = false;
    for (TField* F : FMasterFields) Required = Required || F->Required();
    const bool WholeText = std::abs(SelLength()) >= int(Text().size());
    if (!(Required && (!WholeText || FMasterFields.empty()))) {
      InternalSetKeyValue(Null());
      SetTextInternal(String());
    }
    Key = 0;
  }
}

void TCustomDBLookupComboboxZk::KeyUp(Word& Key, TShiftState Shift) {
  if (FListVisible && Key == VK_CONTROL) FDataList->KeyUp(Key, Shift);
  TCustomDBEditZk::KeyUp(Key, Shift);
}

void TCustomDBLookupComboboxZk::KeyPress(Char& Key) {
  if (FListVisible && (Key == VK_RETURN || Key == VK_ESCAPE)) {
    CloseUp(Key == VK_RETURN);
    Key = 0;
    return;
  }
  TCustomDBEditZk::KeyPress(Key);
  if (Key == VK_BACK && FStyle == csDropDownListZk && !FKeyTextIndependent) {
    AutoCompleteText(String(1, Char(VK_BACK)));
    Key = 0;
  } else if (Key >= 32 && !FKeyTextIndependent) {
    if (FDropDownBox->AutoDrop() && !FListVisible && FListActive) DropDown();
    if (FStyle == csDropDownListZk) {
      AutoCompleteText(GetCompleteKeyPress().empty() ? String(1, Key) : GetCompleteKeyPress());
      Key = 0;
    }
  }
}

// The drop-down style: after the character went into the text, the text is located.
void TCustomDBLookupComboboxZk::TypedInDropDownStyle(Char Typed) {
  if (FKeyTextIndependent || FStyle != csDropDownZk || Typed == u'.' ||
      GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
    return;
  const int End = int(Text().size());
  if (SelStart() == End && SelLength() == 0 && Typed != VK_BACK) {
    AutoCompleteText(String());
    return;
  }
  const int P = SelStart();
  if (LocateStr(Text(), false)) Perform(EM_SETSEL, WPARAM(Text().size()), LPARAM(P));
}

void TCustomDBLookupComboboxZk::RelocateWholeText() {
  const int P = SelStart();
  if (LocateStr(Text(), false)) Perform(EM_SETSEL, WPARAM(Text().size()), LPARAM(P));
}

bool TCustomDBLookupComboboxZk::WheelStep(bool Prior) {
  if (KeyboardShiftState() != TShiftState{} || ReadOnly() || !FDataLink->Edit()) return false;
  SelectNextValue(Prior);
  return true;
}

bool TCustomDBLookupComboboxZk::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (FListVisible && FDataList->Perform(WM_MOUSEWHEEL, WPARAM(-WHEEL_DELTA) << 16, 0)) return true;
  return TCustomDBEditZk::DoMouseWheelDown(Shift, MousePos) || WheelStep(false);
}

bool TCustomDBLookupComboboxZk::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (FListVisible && FDataList->Perform(WM_MOUSEWHEEL, WPARAM(WHEEL_DELTA) << 16, 0)) return true;
  return TCustomDBEditZk::DoMouseWheelUp(Shift, MousePos) || WheelStep(true);
}

void TCustomDBLookupComboboxZk::ButtonDownDropDown(bool LowerPart) {
  if (IsUpDownStyle(EditButton()->Style())) {
    if (CanEditKey(false)) SelectNextValue(!LowerPart);
    return;
  }
  TCustomDBEditZk::ButtonDownDropDown(LowerPart);
}

void TCustomDBLookupComboboxZk::EditButtonMouseMove(TObject* Sender, TShiftState, int X, int Y) {
  if (FListVisible) PassButtonDragToList(Sender, X, Y, FDataList, FDataList->DataRect(), true);
}

void TCustomDBLookupComboboxZk::Click() {
  TCustomDBEditZk::Click();
  if (FStyle == csDropDownListZk && ButtonsEnabled() && FListVisible && !FNoClickCloseUp)
    CloseUp(false);
  FNoClickCloseUp = false;
}

void TCustomDBLookupComboboxZk::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FStyle == csDropDownListZk && !FKeyTextIndependent && Button == mbLeft &&
      !GetEditButtonsRect().Contains({X, Y}) && ButtonsEnabled() && !FListVisible &&
      !Shift.Contains(ssDouble)) {
    if (CanFocus() && !Focused()) SetFocus();
    FNoClickCloseUp = true;
    DropDown();
  }
  TCustomDBEditZk::MouseDown(Button, Shift, X, Y);
}

void TCustomDBLookupComboboxZk::EditPaste() {
  if (ReadOnly() || FKeyTextIndependent) {
    TCustomDBEditZk::EditPaste();
    return;
  }
  FDataLink->Edit();
  if (FStyle == csDropDownZk) {
    TCustomDBEditZk::EditPaste();
    LocateStr(Text(), false);
  } else if (Clipboard()->HasFormat(CF_TEXT) || Clipboard()->HasFormat(CF_UNICODETEXT)) {
    AutoCompleteText(Clipboard()->AsText());
  }
}

// --- the drop-down --------------------------------------------------------------------------------

void TCustomDBLookupComboboxZk::DropDown() {
  if (FListVisible || !FListActive) return;
  if (!Focused() && CanFocus()) SetFocus();
  if (!Focused()) return;
  if (FOnDropDown) FOnDropDown(this);
  TPopupDataGridZk* G = FDataList;
  G->SetKeyValue(Null());
  G->SpecRow()->Assign(FDropDownBox->SpecRow());
  G->SetColor(Color());
  G->SetFont(Font());
  G->SetShowTitles(FDropDownBox->ShowTitles());
  G->SetUseMultiTitle(FDropDownBox->UseMultiTitle());
  G->SetReadOnly(!CanEditKey(false));
  TDataSet* List = ListDataSet();
  const int Rows = FDropDownBox->Rows();
  const int Count = List->IsSequenced() ? List->RecordCount() : -1;
  G->SetRowCount(Count >= 1 && Count < Rows ? Count : Rows);
  String Names;
  int Index = 0;
  for (std::size_t I = 0; I < FListFields.size(); ++I) {
    Names += FListFields[I]->FieldName() + u";";
    if (FListFields[I] == FListField) Index = int(I);
  }
  G->SetAutoFitColWidths(false);
  // One layout pass for the whole binding instead of one per property.
  G->BeginUpdate();
  try {
    G->SetListSource(FListLink->DataSource());
    G->SetKeyField(FKeyFieldName);
    G->SetListField(Names);
    G->SetListFieldIndex(Index);
  } catch (...) {
    G->EndUpdate();
    throw;
  }
  G->EndUpdate();
  G->LayoutChanged();
  if (!G->HandleAllocated()) G->HandleNeeded();
  int W = FDropDownBox->Width();
  if (W == -1) {
    G->SetClientWidth(G->GetColumnsWidthToFit());
    W = G->Width();
  } else if (W <= 0) {
    W = Width();
  }
  G->SetWidth(std::max(W, Width()));
  G->SetAutoFitColWidths(FDropDownBox->AutoFitColWidths());
  G->SetKeyValue(FKeyValue);
  G->SetReadOnly(!CanEditKey(false));
  FListColumnMothed = false;
  G->SetOnColumnMoved([this](TObject*, int, int) { FListColumnMothed = true; });
  TDropDownAlign Align = FDropDownBox->Align();
  if (FListField && UseRightToLeftAlignment()) {
    if (Align == daLeft) Align = daRight;
    else if (Align == daRight) Align = daLeft;
  }
  TPoint Pos;
  PlaceDropDownUnderEdit(this, G, Align == daRight ? 1 : Align == daCenter ? 2 : 0, Pos);
  G->Link().Open(Pos);
  G->SizeGrip()->SetVisible(FDropDownBox->Sizable());
  G->SetRowCount(G->RowCount());
  FListVisible = true;
  G->Invalidate();
  G->SetSizeGripResized(false);
  TCustomDBEditZk::DropDown();
  FDroppedDown = true;
}

void TCustomDBLookupComboboxZk::CloseUp(bool Accept) {
  if (!FListVisible) return;
  if (HWND Capture = GetCapture()) SendMessage(Capture, WM_CANCELMODE, 0, 0);
  TPopupDataGridZk* G = FDataList;
  const Variant Taken = G->KeyValue();
  G->Link().Close();
  FListVisible = false;
  if (G->SizeGripResized()) {
    FDropDownBox->SetRows(G->RowCount());
    FDropDownBox->SetWidth(G->Width());
  }
  G->SetOnColumnMoved(nullptr);
  G->SetAutoFitColWidths(false);
  G->SetListSource(nullptr);
  if (FListColumnMothed && G->Columns()->State()) {
    FListFieldIndex = G->ListFieldIndex();
    SetListField(G->ListField());
    FDropDownBox->SpecRow()->SetCellsText(G->SpecRow()->CellsText());
  }
  Invalidate();
  FDroppedDown = false;
  TCustomDBEditZk::CloseUp(Accept);
  if (Accept && CanEditKey(true)) {
    InternalSetKeyValue(Taken);
    TSpecRowZk* Spec = FDropDownBox->SpecRow();
    if (Spec->Visible() && (Spec->LocateKey(FKeyValue) || (Spec->ShowIfNotInKeyList() && !LocateKey())))
      SetTextInternal(Spec->GetCellsTextItem(FListFieldIndex));
    SelectAll();
  }
  if (FStyle == csDropDownZk && HandleAllocated()) SelectAll();
  if (FOnCloseUp) FOnCloseUp(this, Accept);
}

// --- messages -------------------------------------------------------------------------------------

void TCustomDBLookupComboboxZk::WndProc(TMessage& Message) {
  if (FListVisible && Message.Msg == CM_MOUSEWHEEL) {
    FDataList->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
    Message.Result = 1;
    return;
  }
  TCustomDBEditZk::WndProc(Message);
}

void TCustomDBLookupComboboxZk::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
      if (FListVisible && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_KILLFOCUS:
      if (FListVisible && reinterpret_cast<HWND>(Message.WParam) != FDataList) CloseUp(false);
      break;
    case CM_CANCELMODE: {
      TCustomDBEditZk::Dispatch(Message);
      auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
      if (FListVisible && !IsOwnOrChildControl(Sender) && !ControlWithin(Sender, FDataList))
        CloseUp(false);
      return;
    }
    case WM_SETCURSOR:
      if (FStyle == csDropDownListZk && !FKeyTextIndependent) {
        SetCurrentCursor(crArrow);
        Message.Result = 1;
        return;
      }
      break;
    case WM_CHAR: {
      const Char Typed = Char(Message.WParam);
      TCustomDBEditZk::Dispatch(Message);
      if (Message.WParam != 0) TypedInDropDownStyle(Typed);
      return;
    }
    case WM_KEYDOWN:
      if (Message.WParam == VK_DELETE && FStyle == csDropDownZk && !FKeyTextIndependent &&
          !ReadOnly()) {
        FDataLink->Edit();
        TCustomDBEditZk::Dispatch(Message);
        RelocateWholeText();
        return;
      }
      break;
    case WM_CUT:
      if (!FKeyTextIndependent && !ReadOnly()) {
        FDataLink->Edit();
        TCustomDBEditZk::Dispatch(Message);
        LocateStr(Text(), false);
        return;
      }
      break;
    default: break;
  }
  TCustomDBEditZk::Dispatch(Message);
}

void TCustomDBLookupComboboxZk::DefaultHandler(TMessage& Message) {
  if (!FKeyTextIndependent && Message.Msg >= WM_LBUTTONDOWN && Message.Msg <= WM_MBUTTONDBLCLK) {
    const TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    if (FStyle == csDropDownListZk || IsOverButtonsOrImage(P)) {
      if (Message.Msg == WM_RBUTTONUP) {
        const TPoint S = ClientToScreen(P);
        Perform(WM_CONTEXTMENU, WPARAM(this), MAKELPARAM(S.X, S.Y));
      }
      return;
    }
  }
  TCustomDBEditZk::DefaultHandler(Message);
}

// --- the published class --------------------------------------------------------------------------

void TDBLookupComboboxZk::SetOnButtonClick(TButtonClickEventZk Value) {
  TCustomDBEditZk::SetOnButtonClick(std::move(Value));
  UpdateEditButtonsState();
}

void TDBLookupComboboxZk::SetOnButtonDown(TButtonDownEventZk Value) {
  TCustomDBEditZk::SetOnButtonDown(std::move(Value));
  UpdateEditButtonsState();
}

REGISTER_CLASS(TCustomDBLookupComboboxZk) {}

REGISTER_CLASS(TDBLookupComboboxZk) {
  using C = TDBLookupComboboxZk;
  Class.Property("DropDownBox", &C::DropDownBox, &C::SetDropDownBox)
      .Property("EditButton", &C::EditButton, &C::SetEditButton)
      .Property("KeyField", &C::KeyField, &C::SetKeyField)
      .Property("KeyValue", &C::KeyValue, &C::SetKeyValueProp).Stored(&C::IsValueStored)
      .Property("ListField", &C::ListField, &C::SetListField)
      .Property("ListFieldIndex", &C::ListFieldIndex, &C::SetListFieldIndex, 0)
      .Property("ListSource", &C::ListSource, &C::SetListSource)
      .Property("Style", &C::Style, &C::SetStyle, csDropDownListZk)
      .Property("OnButtonClick", &C::OnButtonClick, &C::SetOnButtonClick)
      .Property("OnButtonDown", &C::OnButtonDown, &C::SetOnButtonDown)
      .Property("OnCloseUp", &C::OnCloseUp, &C::SetOnCloseUp)
      .Property("OnDropDown", &C::OnDropDown, &C::SetOnDropDown)
      .Property("OnKeyValueChanged", &C::OnKeyValueChanged, &C::SetOnKeyValueChanged)
      .Property("OnNotInList", &C::OnNotInList, &C::SetOnNotInList);
}

void RegisterDBLookupZkClasses() {
  RegisterDBLookupGridsZkClasses();
  RegisterClasses({TDBLookupComboboxZk::ClassInfo(), TLookupComboboxDropDownBoxZk::ClassInfo(),
                   TColumnDropDownBoxZk::ClassInfo()});
}
