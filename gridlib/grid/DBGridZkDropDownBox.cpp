// DBGridZkDropDownBox.cpp - the settings of a lookup drop-down (TColumnDropDownBoxZk and the
// lookup combo box's TLookupComboboxDropDownBoxZk): kept here, or in the owner's drop-down grid.
#include "gridlib/grid/DBGridZk.h"

#include "gridlib/toolkit/LookupExtraRowZk.h"
#include "platform/classes/TypeRegistry.h"

TColumnDropDownBoxZk::TColumnDropDownBoxZk(TPersistent* Owner)
    : FOwner(Owner), FSpecRow(std::make_unique<TSpecRowZk>(this)) {}

TColumnDropDownBoxZk::~TColumnDropDownBoxZk() = default;

TCustomDBGridZk* TColumnDropDownBoxZk::OwnerGrid() const {
  IDropDownBoxOwnerZk* Intf = OwnerIntf();
  return Intf ? Intf->GetDropDownGrid() : nullptr;
}

TDBGridColumnsZk* TColumnDropDownBoxZk::Columns() const {
  TCustomDBGridZk* Grid = OwnerGrid();
  return Grid ? Grid->Columns() : nullptr;
}

void TColumnDropDownBoxZk::SetColumns(TDBGridColumnsZk* Value) {
  if (TDBGridColumnsZk* Own = Columns()) Own->Assign(Value);
}

bool TColumnDropDownBoxZk::IsColumnsStored() const {
  TDBGridColumnsZk* Own = Columns();
  return Own && !Own->State();
}

TColumnDefValuesZk* TColumnDropDownBoxZk::ColumnDefValues() const {
  TCustomDBGridZk* Grid = OwnerGrid();
  return Grid ? Grid->ColumnDefValues() : nullptr;
}

void TColumnDropDownBoxZk::SetColumnDefValues(TColumnDefValuesZk* Value) {
  if (TColumnDefValuesZk* Own = ColumnDefValues()) Own->Assign(Value);
}

void TColumnDropDownBoxZk::SetListSource(TDataSource* Value) {
  if (Value == FListSource) return;
  FListSource = Value;
  if (IDropDownBoxOwnerZk* Intf = OwnerIntf()) Intf->DropDownBoxFreeNotification(Value);
}

TDBLookupGridZkOptions TColumnDropDownBoxZk::Options() const {
  IDropDownBoxOwnerZk* Intf = OwnerIntf();
  return Intf ? Intf->GetDropDownGridOptions() : TDBLookupGridZkOptions{};
}

void TColumnDropDownBoxZk::SetOptions(TDBLookupGridZkOptions Value) {
  if (IDropDownBoxOwnerZk* Intf = OwnerIntf()) Intf->SetDropDownGridOptions(Value);
}

bool TColumnDropDownBoxZk::SortLocal() const {
  TCustomDBGridZk* Grid = OwnerGrid();
  return Grid && Grid->SortLocal();
}

void TColumnDropDownBoxZk::SetSortLocal(bool Value) {
  if (TCustomDBGridZk* Grid = OwnerGrid()) Grid->SetSortLocal(Value);
}

void TColumnDropDownBoxZk::SetSpecRow(TSpecRowZk* Value) { FSpecRow->Assign(Value); }

// The special row and SortLocal stay this object's own.
void TColumnDropDownBoxZk::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TColumnDropDownBoxZk*>(Source);
  if (!Other) {
    TPersistent::Assign(Source);
    return;
  }
  if (Other->ColumnDefValues()) SetColumnDefValues(Other->ColumnDefValues());
  if (TDBGridColumnsZk* Own = Columns()) {
    if (Other->IsColumnsStored()) Own->Assign(Other->Columns());
    else Own->Clear();
  }
  if (Other->OwnerIntf()) SetOptions(Other->Options());
  AssignOwnSettings(Other);
}

void TColumnDropDownBoxZk::AssignOwnSettings(const TColumnDropDownBoxZk* Other) {
  FAlign = Other->FAlign;
  FAutoDrop = Other->FAutoDrop;
  FAutoFitColWidths = Other->FAutoFitColWidths;
  FRows = Other->FRows;
  FWidth = Other->FWidth;
  FSizable = Other->FSizable;
  FShowTitles = Other->FShowTitles;
  FUseMultiTitle = Other->FUseMultiTitle;
  SetListSource(Other->FListSource);
}

TLookupComboboxDropDownBoxZk::TLookupComboboxDropDownBoxZk(TPersistent* Owner)
    : TColumnDropDownBoxZk(Owner) {
  SetRows(7);
}

REGISTER_CLASS(TColumnDropDownBoxZk) {
  using B = TColumnDropDownBoxZk;
  Class.Property("AutoFitColWidths", &B::AutoFitColWidths, &B::SetAutoFitColWidths, true)
      .Property("ColumnDefValues", &B::ColumnDefValues, &B::SetColumnDefValues)
      .Property("Columns", &B::Columns, &B::SetColumns).Stored(&B::IsColumnsStored)
      .Property("ListSource", &B::ListSource, &B::SetListSource)
      .Property("Options", &B::Options, &B::SetOptions, TDBLookupGridZkOptions{dlgColLinesZk})
      .Property("SortLocal", &B::SortLocal, &B::SetSortLocal, false)
      .Property("UseMultiTitle", &B::UseMultiTitle, &B::SetUseMultiTitle, false);
}

REGISTER_CLASS(TLookupComboboxDropDownBoxZk) {
  using B = TLookupComboboxDropDownBoxZk;
  Class.Property("Align", &B::Align, &B::SetAlign, daLeft)
      .Property("AutoDrop", &B::AutoDrop, &B::SetAutoDrop, false)
      .Property("Rows", &B::Rows, &B::SetRows, 7)
      .Property("ShowTitles", &B::ShowTitles, &B::SetShowTitles, false)
      .Property("Sizable", &B::Sizable, &B::SetSizable, false)
      .Property("SpecRow", &B::SpecRow, &B::SetSpecRow)
      .Property("Width", &B::Width, &B::SetWidth, 0);
}
