// DBGridZkColumnButtons.cpp - a column's cell-editor buttons (main button style, extra edit
// buttons and their width) and its lookup drop-down settings: the special row, the drop-down box,
// the drop-down grid itself ("DataList") and the lookup list it shows.
#include "gridlib/grid/DBGridZk.h"

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "gridlib/grid/DBLookupGridsZk.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/LookupExtraRowZk.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"

namespace {

TColumnDefValuesZk* DefValuesOf(const TColumnZk* C) {
  TCustomDBGridZk* G = C->Grid();
  return G ? G->ColumnDefValues() : nullptr;
}

// The width one button takes in a cell when it has none of its own.
int DefaultCellButtonWidth(const TCustomDBGridZk* G) {
  return G && G->Flat() ? FlatEditButtonDefaultWidth() + 1 : GetSystemMetrics(SM_CXVSCROLL);
}

}  // namespace

void TColumnZk::CreateButtonsAndDropDown() {
  FEditButtons = std::make_unique<TEditButtonsZk>(this, TVisibleEditButtonZk::ClassInfo());
  FEditButtons->SetOnChanged([this](TObject*) { Changed(false); });
  FDropDownSpecRow = std::make_unique<TSpecRowZk>(this);
  FDropDownSpecRow->SetOnChanged([this](TObject*) {
    Changed(false);
    if (FDataList) static_cast<TDBLookupGridZk*>(FDataList.get())->SetSpecRow(FDropDownSpecRow.get());
  });
  FDropDownBox = std::make_unique<TColumnDropDownBoxZk>(this);
}

void TColumnZk::AssignButtonsAndDropDown(const TColumnZk* S) {
  SetButtonStyle(S->FButtonStyle);
  if (S->FAssignedAutoDropDown) SetAutoDropDown(S->FAutoDropDown);
  if (S->FAssignedAlwaysShowEditButton) SetAlwaysShowEditButton(S->FAlwaysShowEditButton);
  if (S->FAssignedDblClickNextVal) SetDblClickNextVal(S->FDblClickNextVal);
  if (S->FAssignedDropDownSizing) SetDropDownSizing(S->FDropDownSizing);
  if (S->FAssignedDropDownShowTitles) SetDropDownShowTitles(S->FDropDownShowTitles);
  FIncrement = S->FIncrement;
  FOnNotInList = S->FOnNotInList;
  FOnEditButtonClick = S->FOnEditButtonClick;
  FOnEditButtonDown = S->FOnEditButtonDown;
  FEditButtons->Assign(S->FEditButtons.get());
  // The drop-down grid's own settings are copied only when the source made its grid.
  if (S->FDataList) {
    FDropDownBox->Assign(S->FDropDownBox.get());
    CopyDropDownBoxEvents(S);
  } else {
    FDropDownBox->AssignOwnSettings(S->FDropDownBox.get());
  }
  FDropDownSpecRow->Assign(S->FDropDownSpecRow.get());
}

void TColumnZk::CopyDropDownBoxEvents(const TColumnZk* S) {
  SetOnDropDownBoxCheckButton(S->OnDropDownBoxCheckButton());
  SetOnDropDownBoxDrawColumnCell(S->OnDropDownBoxDrawColumnCell());
  SetOnDropDownBoxGetCellParams(S->OnDropDownBoxGetCellParams());
  SetOnDropDownBoxSortMarkingChanged(S->OnDropDownBoxSortMarkingChanged());
  SetOnDropDownBoxTitleBtnClick(S->OnDropDownBoxTitleBtnClick());
}

void TColumnZk::SetButtonStyle(TColumnButtonStyleZk Value) {
  if (Value == FButtonStyle) return;
  FButtonStyle = Value;
  Changed(false);
}

void TColumnZk::SetEditButtons(TEditButtonsZk* Value) { FEditButtons->Assign(Value); }
bool TColumnZk::IsEditButtonsStored() const { return FEditButtons->Count() > 0; }

bool TColumnZk::AlwaysShowEditButton() const {
  if (FAssignedAlwaysShowEditButton) return FAlwaysShowEditButton;
  TColumnDefValuesZk* D = DefValuesOf(this);
  return D && D->AlwaysShowEditButton();
}

void TColumnZk::SetAlwaysShowEditButton(bool Value) {
  if (FAssignedAlwaysShowEditButton && Value == FAlwaysShowEditButton) return;
  FAlwaysShowEditButton = Value;
  FAssignedAlwaysShowEditButton = true;
  Changed(false);
}

bool TColumnZk::AutoDropDown() const {
  if (FAssignedAutoDropDown) return FAutoDropDown;
  TColumnDefValuesZk* D = DefValuesOf(this);
  return D && D->AutoDropDown();
}

void TColumnZk::SetAutoDropDown(bool Value) {
  FAutoDropDown = Value;
  FAssignedAutoDropDown = true;
}

bool TColumnZk::DblClickNextVal() const {
  if (FAssignedDblClickNextVal) return FDblClickNextVal;
  TColumnDefValuesZk* D = DefValuesOf(this);
  return D && D->DblClickNextVal();
}

void TColumnZk::SetDblClickNextVal(bool Value) {
  FDblClickNextVal = Value;
  FAssignedDblClickNextVal = true;
}

bool TColumnZk::DropDownShowTitles() const {
  if (FAssignedDropDownShowTitles) return FDropDownShowTitles;
  TColumnDefValuesZk* D = DefValuesOf(this);
  return D && D->DropDownShowTitles();
}

void TColumnZk::SetDropDownShowTitles(bool Value) {
  FDropDownShowTitles = Value;
  FAssignedDropDownShowTitles = true;
}

bool TColumnZk::DropDownSizing() const {
  if (FAssignedDropDownSizing) return FDropDownSizing;
  TColumnDefValuesZk* D = DefValuesOf(this);
  return D && D->DropDownSizing();
}

void TColumnZk::SetDropDownSizing(bool Value) {
  FDropDownSizing = Value;
  FAssignedDropDownSizing = true;
}

void TColumnZk::SetDropDownSpecRow(TSpecRowZk* Value) { FDropDownSpecRow->Assign(Value); }
void TColumnZk::SetDropDownBox(TColumnDropDownBoxZk* Value) { FDropDownBox->Assign(Value); }

TCustomDBGridZk* TColumnZk::DataList() const {
  if (!FDataList) {
    auto* L = new TPopupDataGridZk(nullptr);
    L->SetName(u"DataList");
    L->SetVisible(false);
    L->SetSpecRow(FDropDownSpecRow.get());
    FDataList.reset(L);
  }
  return FDataList.get();
}

void BindDesignTimeDataList(TColumnZk* Column, TField* Field) {
  TCustomDBGridZk* G = Column->Grid();
  if (!Field || !G || !G->ComponentState().Contains(csDesigning)) return;
  auto* List = static_cast<TDBLookupGridZk*>(Column->DataList());
  // The private data source belongs to the drop-down grid and goes with it.
  auto* Source = dynamic_cast<TDataSource*>(List->FindComponent(u"DesignListSource"));
  if (!Source) {
    Source = new TDataSource(List);
    Source->SetName(u"DesignListSource");
  }
  Source->SetDataSet(Field->LookupDataSet());
  List->SetListSource(Source);
  List->SetKeyField(Field->LookupKeyFields());
  List->SetListField(Field->LookupResultField());
}

// The drop-down grid's events: reading one does not make the grid, setting one does.
const TDBGridZkCheckButtonEvent& TColumnZk::OnDropDownBoxCheckButton() const {
  static const TDBGridZkCheckButtonEvent None;
  return FDataList ? FDataList->OnCheckButton() : None;
}
void TColumnZk::SetOnDropDownBoxCheckButton(TDBGridZkCheckButtonEvent Value) {
  if (Value || FDataList) DataList()->SetOnCheckButton(std::move(Value));
}
const TDrawColumnCellEventZk& TColumnZk::OnDropDownBoxDrawColumnCell() const {
  static const TDrawColumnCellEventZk None;
  return FDataList ? FDataList->OnDrawColumnCell() : None;
}
void TColumnZk::SetOnDropDownBoxDrawColumnCell(TDrawColumnCellEventZk Value) {
  if (Value || FDataList) DataList()->SetOnDrawColumnCell(std::move(Value));
}
const TGetCellParamsEventZk& TColumnZk::OnDropDownBoxGetCellParams() const {
  static const TGetCellParamsEventZk None;
  return FDataList ? FDataList->OnGetCellParams() : None;
}
void TColumnZk::SetOnDropDownBoxGetCellParams(TGetCellParamsEventZk Value) {
  if (Value || FDataList) DataList()->SetOnGetCellParams(std::move(Value));
}
const TNotifyEvent& TColumnZk::OnDropDownBoxSortMarkingChanged() const {
  static const TNotifyEvent None;
  return FDataList ? FDataList->OnSortMarkingChanged() : None;
}
void TColumnZk::SetOnDropDownBoxSortMarkingChanged(TNotifyEvent Value) {
  if (Value || FDataList) DataList()->SetOnSortMarkingChanged(std::move(Value));
}
const TDBGridZkTitleBtnClickEvent& TColumnZk::OnDropDownBoxTitleBtnClick() const {
  static const TDBGridZkTitleBtnClickEvent None;
  return FDataList ? FDataList->OnTitleBtnClick() : None;
}
void TColumnZk::SetOnDropDownBoxTitleBtnClick(TDBGridZkTitleBtnClickEvent Value) {
  if (Value || FDataList) DataList()->SetOnTitleBtnClick(std::move(Value));
}

void TColumnZk::DropDownBoxFreeNotification(TComponent* AComponent) {
  if (AComponent && Grid()) AComponent->FreeNotification(Grid());
}

TDBLookupGridZkOptions TColumnZk::GetDropDownGridOptions() {
  return static_cast<TDBLookupGridZk*>(DataList())->Options();
}

void TColumnZk::SetDropDownGridOptions(TDBLookupGridZkOptions Value) {
  static_cast<TDBLookupGridZk*>(DataList())->SetOptions(Value);
}

int TColumnZk::EditButtonsWidth() const {
  TCustomDBGridZk* G = Grid();
  const int Default = DefaultCellButtonWidth(G);
  const int FlatExtra = G && G->Flat() ? 1 : 0;
  int W = ColumnEditStyle(const_cast<TColumnZk*>(this)) != esSimple ? Default : 0;
  for (int I = 0; I < FEditButtons->Count(); ++I) {
    TEditButtonZk* B = FEditButtons->Items(I);
    if (!B->Visible()) continue;
    W += B->Width() > 0 ? B->Width() + FlatExtra : Default;
  }
  return W;
}

TDataSet* TColumnZk::LookupListDataSet() const {
  if (TDataSource* S = FDropDownBox->ListSource())
    if (S->DataSet()) return S->DataSet();
  TField* F = Field();
  return F && F->Lookup() ? F->LookupDataSet() : nullptr;
}

bool TColumnZk::KeyValueInLookupList() const {
  TField* F = Field();
  TDataSet* List = LookupListDataSet();
  if (!F || !F->Lookup() || !List || !List->Active() || !F->LookupDataSet() || !F->DataSet())
    return false;
  const Variant Key = F->DataSet()->FieldValues(F->KeyFields());
  try {
    return F->LookupDataSet()->Locate(F->LookupKeyFields(), Key, {loCaseInsensitive});
  } catch (const Exception&) {
    return false;   // a key the list cannot compare is not in it
  }
}

void TColumnZk::DropDown() {
  TCustomDBGridZk* G = Grid();
  auto* Editor = G ? dynamic_cast<TDBGridInplaceEdit*>(G->InplaceEditor()) : nullptr;
  if (Editor && Editor->EditorVisible()) Editor->DropDown();
}

// --- grid-wide defaults ---------------------------------------------------------------------------

void TColumnDefValuesZk::SetAlwaysShowEditButton(bool Value) {
  if (Value == FAlwaysShowEditButton) return;
  FAlwaysShowEditButton = Value;
  if (FGrid) FGrid->Invalidate();
}

void TColumnDefValuesZk::SetHighlightRequired(bool Value) {
  if (Value == FHighlightRequired) return;
  FHighlightRequired = Value;
  if (FGrid) FGrid->Invalidate();
}

bool TColumnZk::HighlightRequired() const {
  if (FAssignedHighlightRequired) return FHighlightRequired;
  TColumnDefValuesZk* D = DefValuesOf(this);
  return D && D->HighlightRequired();
}

void TColumnZk::SetHighlightRequired(bool Value) {
  if (FAssignedHighlightRequired && Value == FHighlightRequired) return;
  FHighlightRequired = Value;
  FAssignedHighlightRequired = true;
  Changed(false);
}

void TColumnDefValuesZk::SetLayout(TTextLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  if (FGrid) FGrid->Invalidate();
}

TTextLayout TColumnZk::Layout() const {
  if (FAssignedLayout) return FLayout;
  TColumnDefValuesZk* D = DefValuesOf(this);
  return D ? D->Layout() : tlTop;
}

void TColumnZk::SetLayout(TTextLayout Value) {
  if (FAssignedLayout && Value == FLayout) return;
  FLayout = Value;
  FAssignedLayout = true;
  Changed(false);
}

// Written to a form only when set to something other than the grid-wide default.
bool TColumnZk::IsLayoutStored() const {
  if (!FAssignedLayout) return false;
  TColumnDefValuesZk* D = DefValuesOf(this);
  return FLayout != (D ? D->Layout() : tlTop);
}

void TColumnDefValuesZk::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TColumnDefValuesZk*>(Source);
  if (!S) return TPersistent::Assign(Source);
  TColumnDefValuesTitleZk* T = S->Title();
  if (T->IsAlignmentStored()) FTitle->SetAlignment(T->Alignment());
  if (T->IsColorStored()) FTitle->SetColor(T->Color());
  FTitle->SetEndEllipsis(T->EndEllipsis());
  FTitle->SetTitleButton(T->TitleButton());
  SetAlwaysShowEditButton(S->FAlwaysShowEditButton);
  SetEndEllipsis(S->FEndEllipsis);
  FAutoDropDown = S->FAutoDropDown;
  FDblClickNextVal = S->FDblClickNextVal;
  FToolTips = S->FToolTips;
  FDropDownSizing = S->FDropDownSizing;
  FDropDownShowTitles = S->FDropDownShowTitles;
}
