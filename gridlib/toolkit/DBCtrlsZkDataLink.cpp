// DBCtrlsZkDataLink.cpp - the field data link of the editors and the edit image settings.
#include "gridlib/toolkit/DBCtrlsZk.h"

#include <algorithm>

#include "platform/classes/TypeRegistry.h"
#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/graphics/ImageList.h"

// --- TFieldDataLinkZk -----------------------------------------------------------------------------

TFieldDataLinkZk::TFieldDataLinkZk() : DataIndependentValue(Null()) { SetVisualControl(true); }

TFieldDataLinkZk::~TFieldDataLinkZk() = default;

bool TFieldDataLinkZk::Active() const {
  return FDataIndepended || (TDataLink::Active() && !FFields.empty());
}

bool TFieldDataLinkZk::CanModify() const {
  if (FDataIndepended) return true;
  return Field() && Field()->CanModify();
}

bool TFieldDataLinkZk::DataSetActive() const {
  return DataSource() && DataSource()->DataSet() && DataSource()->DataSet()->Active();
}

TField* TFieldDataLinkZk::Fields(int Index) const {
  if (FFields.empty() || Index < 0 || Index >= FieldsCount()) return nullptr;
  return FFields[std::size_t(Index)];
}

bool TFieldDataLinkZk::IsDataIndepended() const {
  return DataSource() == nullptr && FFieldName.empty();
}

void TFieldDataLinkZk::SetDataSource(TDataSource* Value) {
  if (Value == DataSource()) return;
  TDataLink::SetDataSource(Value);
  UpdateDataIndepended();
}

void TFieldDataLinkZk::SetFieldName(const String& Value) {
  if (Value == FFieldName) return;
  FFieldName = Value;
  UpdateFields();
  UpdateDataIndepended();
}

void TFieldDataLinkZk::SetMultiFields(bool Value) {
  if (Value == FMultiFields) return;
  FMultiFields = Value;
  UpdateFields();
}

bool TFieldDataLinkZk::Edit() {
  if (FDataIndepended) {
    if (!FEditing && !ReadOnly()) {
      FEditing = true;
      FModified = false;
      if (OnEditingChange) OnEditingChange(this);
    }
  } else if (CanModify()) {
    TDataLink::Edit();
  }
  return FEditing;
}

void TFieldDataLinkZk::Reset() { RecordChanged(nullptr); }

void TFieldDataLinkZk::SetText(const String& Text) {
  if (FDataIndepended) {
    DataIndependentValue = Variant(Text);
    RecordChanged(nullptr);
  } else if (TField* F = Field()) {
    if (dynamic_cast<TMemoField*>(F)) F->SetAsString(Text);
    else F->SetText(Text);
  }
}

void TFieldDataLinkZk::SetValue(const Variant& Value) {
  if (FDataIndepended) {
    DataIndependentValue = Value;
    RecordChanged(nullptr);
  } else if (FFields.size() > 1) {
    if (VarIsNull(Value)) {
      for (TField* F : FFields) F->Clear();
    } else {
      const int Low = VarArrayLowBound(Value, 1);
      for (std::size_t I = 0; I < FFields.size(); ++I)
        FFields[I]->SetValue(VarArrayGet(Value, Low + int(I)));
    }
  } else if (TField* F = Field()) {
    F->SetValue(Value);
  }
}

void TFieldDataLinkZk::UpdateFields() {
  TFieldsArrZk List;
  if (TDataLink::Active() && !FFieldName.empty()) {
    TDataSet* Set = DataSet();
    if (FMultiFields) {
      if (FControl) CollectFieldsByNames(&List, Set, FControl, FFieldName);
      else Set->GetFieldList(List, FFieldName);
    } else if (FControl) {
      TField* F = Set->FindField(FFieldName);
      if (!F) DatabaseError(FieldNotFoundText(FFieldName), FControl);
      List.push_back(F);
    } else {
      List.push_back(Set->FieldByName(FFieldName));
    }
  }
  SetFieldsList(List);
}

void TFieldDataLinkZk::SetFieldsList(const TFieldsArrZk& List) {
  FFields = List;
  EditingChanged();
  RecordChanged(nullptr);
  // Right-to-left layouts are not supported: the window never needs recreating for them.
}

void TFieldDataLinkZk::UpdateDataIndepended() {
  const bool Now = IsDataIndepended();
  if (Now == FDataIndepended) return;
  FDataIndepended = Now;
  DataIndependentValue = Null();
  LayoutChanged();
  if (Now) RecordChanged(nullptr);
}

void TFieldDataLinkZk::SetEditing(bool Value) {
  if (Value == FEditing) return;
  FEditing = Value;
  FModified = false;
  if (OnEditingChange) OnEditingChange(this);
}

bool TFieldDataLinkZk::FieldFound(const TField* Field) const {
  return std::find(FFields.begin(), FFields.end(), Field) != FFields.end();
}

void TFieldDataLinkZk::ActiveChanged() {
  UpdateFields();
  if (OnActiveChange) OnActiveChange(this);
}

void TFieldDataLinkZk::DataEvent(TDataEvent Event, std::intptr_t Info) {
  TDataLink::DataEvent(Event, Info);
  if (Event != deDisabledStateChange) return;
  if (Info != 0) UpdateFields();
  else FFields.clear();
}

void TFieldDataLinkZk::EditingChanged() {
  // The data-independent link keeps its own flag; only a bound one follows the dataset.
  if (!FDataIndepended) SetEditing(TDataLink::Editing() && CanModify());
}

void TFieldDataLinkZk::FocusControl(TField*& Field) {
  if (!Field || !FieldFound(Field)) return;
  auto* Ctrl = dynamic_cast<TWinControl*>(FControl);
  if (Ctrl && Ctrl->CanFocus()) {
    Field = nullptr;
    Ctrl->SetFocus();
  }
}

void TFieldDataLinkZk::LayoutChanged() { UpdateFields(); }

void TFieldDataLinkZk::RecordChanged(TField* Field) {
  if (Field && !FieldFound(Field)) return;
  if (OnDataChange) OnDataChange(this);
  FModified = false;
}

void TFieldDataLinkZk::UpdateData() {
  if (FDataIndepended) {
    if (FModified && OnUpdateData) OnUpdateData(this);
    SetEditing(false);
  } else if (FModified && Field() && OnUpdateData) {
    OnUpdateData(this);
  }
  FModified = false;
}

// --- TEditImageZk ---------------------------------------------------------------------------------

TEditImageZk::TEditImageZk(TWinControl* EditControl) : FEditControl(EditControl) {}

TEditImageZk::~TEditImageZk() = default;

void TEditImageZk::Changed() {
  if (FEditControl) FEditControl->Perform(WM_EDIT_IMAGECHANGED, WPARAM(this), 0);
}

void TEditImageZk::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  FImages = Value;
  Changed();
}

void TEditImageZk::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  if (FEditControl) FEditControl->Invalidate();
}

void TEditImageZk::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Changed();
}

void TEditImageZk::SetWidth(int Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  Changed();
}

void TEditImageZk::SetUseImageHeight(bool Value) {
  if (Value == FUseImageHeight) return;
  FUseImageHeight = Value;
  Changed();
}

void TEditImageZk::Assign(TPersistent* Source) {
  if (auto* Other = dynamic_cast<TEditImageZk*>(Source)) {
    SetImages(Other->FImages);
    SetImageIndex(Other->FImageIndex);
    SetVisible(Other->FVisible);
    SetWidth(Other->FWidth);
    return;
  }
  TPersistent::Assign(Source);
}
