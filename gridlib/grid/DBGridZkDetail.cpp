// DBGridZkDetail.cpp - the row detail panel: its settings, its host control and its place
// below the current row; the in-row panel's settings and the empty seams of the editing,
// selection, moving and search work that other units fill in.
#include "gridlib/grid/DBGridZk.h"

#include "gridlib/grid/DBGridZk_p.h"
#include "platform/db/DataSet.h"

// --- settings -------------------------------------------------------------------------------------

TRowDetailPanelZk::TRowDetailPanelZk(TCustomDBGridZk* Grid)
    : FGrid(Grid), FColor(Grid ? Grid->FixedColor() : clBtnFace) {}

void TRowDetailPanelZk::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TRowDetailPanelZk*>(Source)) return SetActive(S->FActive);
  TPersistent::Assign(Source);
}

void TRowDetailPanelZk::Place() {
  if (FGrid) FGrid->PlaceRowDetailControl();
}

void TRowDetailPanelZk::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (!Value) SetVisible(false);
  Place();
  if (FGrid) FGrid->LayoutChanged();
}

void TRowDetailPanelZk::SetVisible(bool Value) {
  if (Value == FVisible) return;
  bool Can = true;
  if (Value) {
    TDataSet* D = FGrid ? FGrid->DataSet() : nullptr;
    Can = FActive && FGrid->DataLink()->Active() && D && !D->IsEmpty();
  }
  if (FGrid && !FGrid->ComponentState().Contains(csDestroying)) {
    if (Value && FGrid->OnRowDetailPanelShow()) FGrid->OnRowDetailPanelShow()(FGrid, Can);
    if (!Value && FGrid->OnRowDetailPanelHide()) FGrid->OnRowDetailPanelHide()(FGrid, Can);
  }
  if (!Can) return;
  FVisible = Value;
  if (FGrid && !FGrid->ComponentState().Contains(csDestroying)) {
    FGrid->UpdateAllDataRowHeights();
    Place();
    FGrid->Invalidate();
  }
}

void TRowDetailPanelZk::SetWidth(int Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  Place();
}
void TRowDetailPanelZk::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = std::max(0, Value);
  if (FGrid) FGrid->UpdateAllDataRowHeights();
  Place();
}
void TRowDetailPanelZk::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (FGrid && FGrid->RowDetailPanelControl()) FGrid->RowDetailPanelControl()->SetBorderStyle(Value);
  Place();
}
TColor TRowDetailPanelZk::Color() const {
  return FParentColor && FGrid ? FGrid->Color() : FColor;
}
void TRowDetailPanelZk::SetColor(TColor Value) {
  if (Value == FColor && !FParentColor) return;
  FColor = Value;
  FParentColor = false;
  Place();
}
void TRowDetailPanelZk::SetParentColor(bool Value) {
  if (Value == FParentColor) return;
  FParentColor = Value;
  Place();
}

TRowDetailPanelControlZk::TRowDetailPanelControlZk(TComponent* AOwner)
    : TScrollingWinControl(AOwner) {}

void TRowDetailPanelControlZk::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TGridRowPanelZk::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TGridRowPanelZk*>(Source)) {
    FNavKeys = S->FNavKeys;
    FTab = S->FTab;
    return SetActive(S->FActive);
  }
  TPersistent::Assign(Source);
}
void TGridRowPanelZk::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (FGrid) FGrid->LayoutChanged();
}

// --- the grid's side ------------------------------------------------------------------------------

bool TCustomDBGridZk::RowDetailPanelShown() const {
  return FRowDetailPanel->Active() && FRowDetailPanel->Visible() && FDataLink &&
         FDataLink->Active();
}

int TCustomDBGridZk::RowDetailDataRow() const {
  if (!RowDetailPanelShown()) return -1;
  // Under grouping the rows are the tree's: the panel hangs under the current one.
  return GroupingWorks() ? Row() - FTitleOffset : CurrentDataRow();
}

void TCustomDBGridZk::PlaceRowDetailControl() {
  if (!FRowDetailControl || ComponentState().Contains(csDestroying)) return;
  const int DataRow = RowDetailDataRow();
  if (DataRow < 0 || FTitleOffset + DataRow >= RowCount()) {
    FRowDetailControl->SetVisible(false);
    return;
  }
  const int GridRow = FTitleOffset + DataRow;
  const TRect Cells = CellsBoxRect(FIndicatorOffset, GridRow, ColCount() - 1, GridRow);
  int Left = Cells.Left + 12;
  int Width = FRowDetailPanel->Width() > 0 ? FRowDetailPanel->Width() : Cells.Right - Left;
  Width = std::max(0, std::min(Width, GridClientSize().cx - Left));
  const int Top = Cells.Top + DataRowHeight(DataRow);
  FRowDetailControl->SetColor(FRowDetailPanel->Color());
  FRowDetailControl->SetBounds(Left, Top, Width, FRowDetailPanel->Height());
  FRowDetailControl->SetVisible(true);
}

void TCustomDBGridZk::PaintRowDetailExpander(TRect ARect, bool Expanded) {
  TCanvas* C = Canvas();
  C->Brush()->SetColor(clWindow);
  C->Pen()->SetColor(clBtnShadow);
  C->Rectangle(ARect);
  const int Cy = (ARect.Top + ARect.Bottom) / 2, Cx = (ARect.Left + ARect.Right) / 2;
  C->Pen()->SetColor(clWindowText);
  C->MoveTo(ARect.Left + 2, Cy);
  C->LineTo(ARect.Right - 2, Cy);
  if (!Expanded) {
    C->MoveTo(Cx, ARect.Top + 2);
    C->LineTo(Cx, ARect.Bottom - 2);
  }
}

bool TCustomDBGridZk::RowDetailExpanderAtMouse(int X, int Y) {
  const TGridCoord Cell = MouseCoord(X, Y);
  return InRowDetailExpander(Cell.X, Cell.Y, X, Y);
}

bool TCustomDBGridZk::InRowDetailExpander(int ACol, int ARow, int X, int Y) {
  if (!FRowDetailPanel->Active() || ACol != FIndicatorOffset || ARow < FTitleOffset) return false;
  const TRect Visible = CellScreenRect(ACol, ARow);
  TPoint Origin = Visible.TopLeft();
  if (FGridRowPanel->Active()) {
    // The expander is painted in the first column's data cell of the whole master cell, which
    // starts left of the visible part once the panel is scrolled.
    if (FVisibleColumns.empty() || X < Visible.Left) return false;
    const TRect Cell = RowPanelCellRect(ARow);
    const auto& P = FVisibleColumns.front()->RowPlacement();
    Origin = {Cell.Left + P.DataCellLeft, Cell.Top + P.Top};
  }
  return X >= Origin.X + 2 && X < Origin.X + 11 && Y >= Origin.Y + 2 && Y < Origin.Y + 11;
}


// --- seams of the tree, group and filter work ----------------------------------------------------

bool TCustomDBGridZk::AcquireFocus() {
  if (CanFocus() && !Focused()) SetFocus();
  return Focused();
}
void TCustomDBGridZk::RowMoveTreeLevelAt(int& Left, int& Level) { Left = 0; Level = 0; }
bool TCustomDBGridZk::FocusedRowSelect() { return FOptions.Contains(dgRowSelect); }
bool TCustomDBGridZk::AlwaysShowEditor() { return FOptions.Contains(dgAlwaysShowEditor); }
bool TCustomDBGridZk::GridActive() { return Focused(); }
void TCustomDBGridZk::ColEnter() { if (FOnColEnter) FOnColEnter(this); }
void TCustomDBGridZk::ColExit() { if (FOnColExit) FOnColExit(this); }
void TCustomDBGridZk::SizeChanged(int, int) {}
void TCustomDBGridZk::EditButtonClick() { if (FOnEditButtonClick) FOnEditButtonClick(this); }
void TCustomDBGridZk::GetDataSetFields(std::vector<TField*>& List) {
  TDataSet* D = DataSet();
  if (!D) return;
  for (int I = 0; I < D->FieldCount(); ++I) List.push_back(D->Fields()->Fields(I));
}
void TCustomDBGridZk::GroupNodeMouseDown() {}
void TCustomDBGridZk::SelectionActiveChanged() {}
void TCustomDBGridZk::TitleClick(TColumnZk*) { if (FOnTitleClick) FOnTitleClick(this); }
