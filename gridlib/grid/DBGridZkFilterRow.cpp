// DBGridZkFilterRow.cpp - the grid's filter settings, the filter row's cells and editor,
// moving between filter cells, and applying and clearing the grid's filter.
#include "gridlib/grid/DBGridZkFilterRow.h"

#include <algorithm>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "gridlib/grid/DBGridZkDraw.h"
#include "gridlib/grid/DBGridZkFilterList.h"
#include "gridlib/grid/DBGridZkHeadTree.h"
#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "gridlib/toolkit/ToolCtrlsZk.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/rtl/Variants.h"

// --- the grid's filter settings -------------------------------------------------------------------

TSTDBGridZkFilter::TSTDBGridZkFilter(TCustomDBGridZk* AGrid) : FGrid(AGrid) {}

TSTDBGridZkFilter::~TSTDBGridZkFilter() {
  delete FilterEdit;   // a child of the grid: it leaves before the grid goes
}

void TSTDBGridZkFilter::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TSTDBGridZkFilter*>(Source)) {
    SetVisible(S->FVisible);
    FLocal = S->FLocal;
    return;
  }
  TPersistent::Assign(Source);
}

void TSTDBGridZkFilter::SetVisible(bool Value) {
  if (FVisible == Value) return;
  if (!Value && FGrid) FGrid->LeaveFilterRow();
  FVisible = Value;
  if (FGrid) FGrid->LayoutChanged();
}

void TSTDBGridZkFilter::SetLocation(TSTFilterLocationZk Value) {
  if (FLocation == Value) return;
  FLocation = Value;
  if (FGrid) FGrid->LayoutChanged();
}

void TSTDBGridZkFilter::SetInstantApply(bool Value) {
  FInstantApply = Value;
  FIsInstantApplyStored = true;
}

void TSTDBGridZkFilterDeleterZk::operator()(TSTDBGridZkFilter* Filter) const { delete Filter; }

TSTDBGridZkFilter* TCustomDBGridZk::STFilter() const {
  if (!FSTFilter) FSTFilter.reset(new TSTDBGridZkFilter(const_cast<TCustomDBGridZk*>(this)));
  return FSTFilter.get();
}
void TCustomDBGridZk::SetSTFilter(TSTDBGridZkFilter* Value) { STFilter()->Assign(Value); }
const TNotifyEvent& TCustomDBGridZk::OnApplyFilter() const { return STFilter()->OnApplyFilter; }
void TCustomDBGridZk::SetOnApplyFilter(TNotifyEvent Value) {
  STFilter()->OnApplyFilter = std::move(Value);
}
const TDBGridZkFillSTFilterListValuesEvent& TCustomDBGridZk::OnFillSTFilterListValues() const {
  return STFilter()->OnFillSTFilterListValues;
}
void TCustomDBGridZk::SetOnFillSTFilterListValues(TDBGridZkFillSTFilterListValuesEvent Value) {
  STFilter()->OnFillSTFilterListValues = std::move(Value);
}

// --- the filter editor ----------------------------------------------------------------------------

TInplaceFilterEditZk::TInplaceFilterEditZk(TComponent* AOwner) : TDBComboBoxZk(AOwner) {}

TRect TInplaceFilterEditZk::EditRect() const {
  TRect R = ClientRect();
  R.Top += 1;
  return R;
}

void TInplaceFilterEditZk::WndProc(TMessage& Message) {
  // While the list is open the wheel belongs to it: the grid behind neither scrolls nor moves.
  if (Message.Msg == CM_MOUSEWHEEL && ListVisible()) {
    PopupListbox()->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
    Message.Result = 1;
    return;
  }
  TDBComboBoxZk::WndProc(Message);
  if (Message.Msg == WM_GETDLGCODE && FGrid && FGrid->Options().Contains(dgTabs))
    Message.Result |= DLGC_WANTTAB;
}

void TInplaceFilterEditZk::CloseUp(bool Accept) {
  if (FColumn && FColumn->STFilter()->InFilterListBox) return;
  TDBComboBoxZk::CloseUp(Accept);
}

namespace {

// The list's entries, filled afresh for every opening, with the condition's values ticked.
void FillEditorList(TInplaceFilterEditZk* E) {
  TColumnZk* Column = E->Column();
  if (!Column || !E->Grid()) return;
  int Width = E->DropDownBox()->Width();
  FillSTFilterListValues(E->Grid(), Column, E->Items(), Width, E->PopupListbox());
  E->DropDownBox()->SetWidth(Width);
  Column->STFilter()->UpdateListCheckingState(E->Items());
}

// An accepted close-up runs the highlighted entry instead of taking its text. After clicks
// on values the ticked values are applied as they stand: running the value clicked last once
// more would tick it off again.
void FilterEditClosingUp(TInplaceFilterEditZk* E, bool& Accept) {
  TColumnZk* Column = E->Column();
  if (!Column) return;
  TSTColumnFilterZk* Filter = Column->STFilter();
  Filter->PopupListboxDownIndex = -1;
  if (E->Visible()) {
    Filter->SetDropDownListWidth(E->DropDownBox()->Width());
    Filter->SetDropDownListRows(E->DropDownBox()->Rows());
  }
  if (!Accept) return;
  TPopupListboxZk* List = E->PopupListbox();
  const int Index = List->ItemIndex();
  if (TPopupListboxItemZk* Item = Index >= 0 ? List->ItemObject(Index) : nullptr) {
    Accept = false;
    if (dynamic_cast<TPopupListboxItemZkData*>(Item) && Filter->EnterNotClearData)
      E->Grid()->ApplyFilterRow();
    else
      Item->Execute(List, Index, TPoint{-1, -1}, TShiftState{});
  }
  Filter->EnterNotClearData = false;
}

bool CaretAtStart(TInplaceFilterEditZk* E) {
  const int Len = static_cast<int>(E->Text().size());
  return E->SelStart() == 0 && (E->SelLength() == 0 || E->SelLength() == Len);
}
bool CaretAtEnd(TInplaceFilterEditZk* E) {
  const int Len = static_cast<int>(E->Text().size());
  return E->SelStart() + E->SelLength() == Len && (E->SelStart() == 0 || E->SelLength() == 0);
}

}  // namespace

// Moves between filter cells; keys the filter row does not take go to the combo box.
void TInplaceFilterEditZk::KeyDown(Word& Key, TShiftState Shift) {
  TCustomDBGridZk* G = FGrid;
  // Ctrl+Space on the open list runs the highlighted entry and keeps earlier ticks.
  if (G && ListVisible() && Key == VK_SPACE && Shift == TShiftState{ssCtrl} && FColumn) {
    TPopupListboxZk* List = PopupListbox();
    const int I = List->ItemIndex();
    if (TPopupListboxItemZk* Item = I >= 0 ? List->ItemObject(I) : nullptr) {
      Key = 0;
      if (Item->CloseOnExecute(List, I)) CloseUp(true);
      else Item->Execute(List, I, TPoint{-1, -1}, Shift);
      FColumn->STFilter()->EnterNotClearData = true;
      if (List->Link().IsOpen()) List->SetItemIndex(I);
      FSwallowSpace = true;   // its character is not typed
      return;
    }
  }
  if (!G || ListVisible()) {
    TDBComboBoxZk::KeyDown(Key, Shift);
    return;
  }
  const bool Ctrl = Shift.Contains(ssCtrl);
  const bool NoShift = !Shift.Contains(ssShift) && !Ctrl && !Shift.Contains(ssAlt);
  const Word Pressed = Key;
  Key = 0;
  switch (Pressed) {
    case VK_TAB:
      if (G->Options().Contains(dgTabs)) G->StepFilterColumn(!Shift.Contains(ssShift), false);
      return;
    case VK_LEFT:
      if (Ctrl || CaretAtStart(this)) return G->StepFilterColumn(false, Ctrl);
      break;
    case VK_RIGHT:
      if (Ctrl || CaretAtEnd(this)) return G->StepFilterColumn(true, Ctrl);
      break;
    case VK_HOME:
      if (Ctrl || CaretAtStart(this)) return G->StepFilterColumn(false, true);
      break;
    case VK_END:
      if (Ctrl || CaretAtEnd(this)) return G->StepFilterColumn(true, true);
      break;
    case VK_UP:
      if (NoShift) return;   // stays in the filter row
      break;
    case VK_DOWN:
      if ((NoShift || Shift == TShiftState{ssCtrl}) && G->DataLink()->Active()) {
        const int Index = G->STFilter()->FilterCol;
        const TColumnsZkList& Visible = G->VisibleColumns();
        TColumnZk* Column =
            Index >= 0 && Index < G->Columns()->Count() ? G->Columns()->Items(Index) : nullptr;
        const auto It = std::find(Visible.begin(), Visible.end(), Column);
        if (!Ctrl) G->MoveBy(G->TopDataRow() - G->CurrentDataRow());   // the record shown on top
        if (It != Visible.end())
          G->SetCol(G->ColumnIndexToGridCol(static_cast<int>(It - Visible.begin())));
        G->LeaveFilterRow();
        G->SetFocus();
        return;
      }
      break;
    case VK_F2:
      SetSelStart(static_cast<int>(Text().size()));
      SetSelLength(0);
      return;
    default: break;
  }
  Key = Pressed;
  TDBComboBoxZk::KeyDown(Key, Shift);
}

void TInplaceFilterEditZk::KeyPress(Char& Key) {
  if (FSwallowSpace && Key == u' ') {
    FSwallowSpace = false;
    Key = 0;
    return;
  }
  FSwallowSpace = false;
  if (Key == u'\t') {   // the Tab character of a filter-row move
    Key = 0;
    return;
  }
  if (Key == u'\r' && FGrid && !ListVisible()) {
    Key = 0;
    FGrid->ApplyFilterRow();
    return;
  }
  TDBComboBoxZk::KeyPress(Key);
}

// --- the grid's filter row ------------------------------------------------------------------------

int TCustomDBGridZk::FilterRowCount() {
  TSTDBGridZkFilter* F = STFilter();
  return F->Visible() && F->Location() == stflUnderTitleFilterZk ? 1 : 0;
}

bool TCustomDBGridZk::IsFilterRowCell(int ACol, int ARow) const {
  return ACol >= FIndicatorOffset && ARow == FTitleOffset - 1 &&
         const_cast<TCustomDBGridZk*>(this)->FilterRowCount() > 0;
}

bool TCustomDBGridZk::ColumnHasFilterCell(int Index) const {
  if (Index < 0 || Index >= FColumns->Count()) return false;
  TColumnZk* C = FColumns->Items(Index);
  return C->Visible() && C->STFilter()->Visible() &&
         STFilter()->Location() == stflUnderTitleFilterZk;
}

String TCustomDBGridZk::FilterCellText(int Index) const {
  if (Index < 0 || Index >= FColumns->Count()) return String();
  TColumnZk* C = FColumns->Items(Index);
  return C->FieldName().empty() ? String() : C->STFilter()->ExpressionStr();
}

bool TCustomDBGridZk::CanShowFilterEditor() {
  return STFilter()->FilterEditMode && FSelection->SelectionType() == gstNon;
}

void TCustomDBGridZk::CreateFilterEditor() {
  TSTDBGridZkFilter* F = STFilter();
  if (F->FilterEdit) return;
  auto* E = new TInplaceFilterEditZk(this);
  E->FGrid = this;
  E->SetVisible(false);
  E->SetParent(this);
  E->SetBorderStyle(bsNone);
  E->Font()->Assign(Font());
  E->Font()->SetColor(clBlue);
  E->SetColor(ApproachColor(clWindow, FixedColor(), 8));
  E->SetFlat(true);
  F->FilterEdit = E;
}

void TCustomDBGridZk::FilterToFilterEditor() {
  TSTDBGridZkFilter* F = STFilter();
  TInplaceFilterEditZk* E = F->FilterEdit;
  if (!E || F->FilterCol < 0 || F->FilterCol >= FColumns->Count()) return;
  TColumnZk* Column = FColumns->Items(F->FilterCol);
  TSTColumnFilterZk* CF = Column->STFilter();
  E->FColumn = Column;
  E->Items()->Clear();
  E->SetText(CF->ExpressionStr());
  E->DropDownBox()->SetWidth(CF->DropDownListWidth() > 0 ? CF->DropDownListWidth() : 100);
  E->DropDownBox()->SetRows(CF->DropDownListRows() > 0 ? CF->DropDownListRows() : 17);
  E->DropDownBox()->SetSizable(true);
  E->PopupListbox()->SetUseItemObjects(true);
  E->SetOnDropDown([E](TObject*) { E->Items()->Clear(); });
  E->SetOnGetItemsList([E](TObject*) { FillEditorList(E); });
  E->SetOnClosingUp([E](TObject*, bool& Accept) { FilterEditClosingUp(E, Accept); });
  E->SetOnCloseUp([this](TObject*, bool Accept) {
    if (Accept && FCenter && FCenter->FilterEditCloseUpApplyFilter()) ApplyFilterRow();
  });
}

void TCustomDBGridZk::FilterEditorToFilter() {
  TSTDBGridZkFilter* F = STFilter();
  if (!F->FilterEdit || F->FilterCol < 0 || F->FilterCol >= FColumns->Count()) return;
  TColumnZk* Column = FColumns->Items(F->FilterCol);
  if (!Column->FieldName().empty()) Column->STFilter()->ApplyExpressionText(F->FilterEdit->Text());
}

void TCustomDBGridZk::EnterFilterCell(int Index) {
  TSTDBGridZkFilter* F = STFilter();
  if (!F->Visible() || !ColumnHasFilterCell(Index)) return;
  if (FDataLink->Active()) DataSet()->CheckBrowseMode();
  CreateFilterEditor();
  if (F->FilterCol != Index && F->FilterEdit->Visible()) CloseFilterCellEditor();
  F->FilterCol = Index;
  F->FilterEditMode = true;
  HideCellEditor();
  const auto It = std::find(FVisibleColumns.begin(), FVisibleColumns.end(), FColumns->Items(Index));
  if (It != FVisibleColumns.end()) {
    const int GridCol = ColumnIndexToGridCol(static_cast<int>(It - FVisibleColumns.begin()));
    if (FOptions.Contains(dgRowSelect)) {
      if (GridCol >= FixedCols() && GridCol < LeftCol()) SetLeftCol(GridCol);
    } else {
      SetCol(GridCol);
    }
  }
  InvalidateRow(FTitleOffset - 1);
  PlaceFilterEditor(true);
}

void TCustomDBGridZk::PlaceFilterEditor(bool Refresh) {
  TSTDBGridZkFilter* F = STFilter();
  if (F->UpdateCount() > 0) return;
  if (!F->Visible() || F->Location() != stflUnderTitleFilterZk ||
      !ColumnHasFilterCell(F->FilterCol) || !F->FilterEditMode) {
    LeaveFilterRow();
    return;
  }
  TInplaceFilterEditZk* E = F->FilterEdit;
  if (!E) return;
  TRect R = FilterCellClientRect(this, FColumns->Items(F->FilterCol));
  R.Left += 1;
  if (!CanShowFilterEditor()) {
    CloseFilterCellEditor();
    return;
  }
  if (Refresh) {
    E->SetBounds(R.Left, R.Top, 0, 0);
    E->SetVisible(true);
    FilterToFilterEditor();
    if (HandleAllocated() && CanFocus()) E->SetFocus();
    E->SelectAll();
  }
  E->SetBounds(R.Left, R.Top, R.Width(), R.Height());
  E->SetVisible(true);
}

void TCustomDBGridZk::CloseFilterCellEditor() {
  TSTDBGridZkFilter* F = STFilter();
  TInplaceFilterEditZk* E = F->FilterEdit;
  if (!E || !E->Visible()) return;
  if (E->Focused() && CanFocus()) SetFocus();
  E->SetVisible(false);
  E->FColumn = nullptr;
  if (F->FilterCol >= 0) {
    FilterEditorToFilter();
    InvalidateRow(FTitleOffset - 1);
  }
}

void TCustomDBGridZk::LeaveFilterRow() {
  TSTDBGridZkFilter* F = STFilter();
  if (F->UpdateCount() > 0) return;
  CloseFilterCellEditor();
  const bool Was = F->FilterEditMode;
  F->FilterEditMode = false;
  if (Was && FTitleOffset > 0) InvalidateRow(FTitleOffset - 1);
  if (Was && FOptions.Contains(dgAlwaysShowEditor) && HandleAllocated()) ShowCellEditor();
}

void TCustomDBGridZk::StepFilterColumn(bool Forward, bool ToEdge) {
  const int Count = FColumns->Count();
  if (Count == 0) return;
  const int Current = STFilter()->FilterCol;
  int Candidate;
  if (ToEdge) Candidate = Forward ? Count - 1 : 0;
  else Candidate = ((Current + (Forward ? 1 : -1)) % Count + Count) % Count;
  // Columns without a filter cell are skipped in the direction of travel, without wrapping;
  // an edge jump searches from the edge back towards the other end.
  const int Step = ToEdge ? (Forward ? -1 : 1) : (Forward ? 1 : -1);
  while (Candidate >= 0 && Candidate < Count && !ColumnHasFilterCell(Candidate)) Candidate += Step;
  if (Candidate < 0 || Candidate >= Count || Candidate == Current) return;
  EnterFilterCell(Candidate);
}

// --- painting -------------------------------------------------------------------------------------

void TCustomDBGridZk::DrawFilterSign(TRect ARect, bool Highlighted) {
  const std::vector<TPoint> P{{0, 0}, {5, 0}, {1, 1}, {4, 1}, {2, 2}, {3, 2},
                              {2, 3}, {3, 3}, {2, 4}, {3, 4}, {3, 5}, {3, 5}};
  const TColor Base = Highlighted ? clWhite : clBtnText;
  DrawGradientSegments(Canvas(), Point((ARect.Left + ARect.Right - 6) / 2 + 1, (ARect.Top + ARect.Bottom - 6) / 2),
                       P, Base, MixColorsPercent(Base, clBlack, Highlighted ? 7 : 30));
}

// Filter cells of selected columns (and every filter cell with everything selected) take the
// selection's colours, as the titles above them do.
void TCustomDBGridZk::DrawFilterCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  const bool Selected = FixedCellInSelection(ACol, ARow);
  C->Font()->Assign(Font());
  if (ACol < FIndicatorOffset) {
    TColor Back = FixedColor();
    SelectedFixedCellColor(ACol, ARow, ACol, ARow, catIndicator, AState, Selected, Back,
                           C->Font());
    C->Brush()->SetColor(Back);
    C->FillRect(ARect);
    DrawFilterSign(ARect, Selected);
    return;
  }
  TColumnZk* Column = ColumnAtGridCol(ACol);
  const bool HasCell = Column && Column->STFilter()->Visible();
  // A column without a filter is a plain cell in its title's colour.
  TColor Back = HasCell ? ApproachColor(clWindow, FixedColor(), 8)
                        : Column ? Column->Title()->Color() : FixedColor();
  C->Font()->SetColor(clBlue);
  SelectedFixedCellColor(ACol, ARow, GridColToColumnIndex(ACol), ARow, catTitle, AState, Selected,
                         Back, C->Font());
  C->Brush()->SetColor(Back);
  if (!HasCell) {
    C->FillRect(ARect);
    return;
  }
  const bool Button = Column->STFilter()->HasFilterButton();
  const int FlatExtra = Flat() ? 1 : 0;
  TRect Text = ARect;
  if (Button) Text.Right -= InplaceEditorButtonWidth() + FlatExtra;
  if (Text.Right > Text.Left)
    WriteTextToCell(C, Text, true, 1, 1, FilterCellText(Column->Index()), taLeftJustify,
                    Column->Layout(), false, false, 0, 0, false);
  if (!Button) return;
  // The drop-down button at the right, as high as the editor's; a flat grid's button keeps a
  // one-pixel gap in the cell's colour at its left. Opaque while the filter row is edited.
  int Transparency = 80;
  if (ComponentState().Contains(csDesigning)) Transparency = 30;
  else if (STFilter()->FilterEditMode) Transparency = 0;
  else if (AState.Contains(gdHotTrack)) Transparency = 30;
  const TRect ButtonR(Text.Right, ARect.Top, ARect.Right,
                      ARect.Top + std::min(InplaceEditorButtonHeight(), ARect.Height()));
  DrawCellButton(Column, C, ebsDropDownZk, ButtonR, ARect, false, false, Flat(),
                 FDataLink->Active(), Back, nullptr, Transparency);
  C->Brush()->SetColor(Back);
  if (ButtonR.Bottom < ARect.Bottom) C->FillRect(TRect(ButtonR.Left, ButtonR.Bottom, ARect.Right, ARect.Bottom));
}

// --- the title's filter button (in-title location) ------------------------------------------------

bool HasTitleFilterButton(TCustomDBGridZk* Grid, TColumnZk* Column) {
  TSTDBGridZkFilter* F = Grid->STFilter();
  return Column && F->Visible() && F->Location() == stflInTitleFilterZk &&
         Column->STFilter()->Visible();
}

TRect TitleFilterButtonRect(const TRect& Cell) {
  const int Width = std::min(16, Cell.Width() / 2);
  return TRect{Cell.Right - Width - 1, Cell.Top + 1, Cell.Right - 1, Cell.Bottom - 1};
}

int TitleFilterButtonWidth(TCustomDBGridZk* Grid, int ContentWidth) {
  const int Width = Grid->Flat() ? FlatEditButtonDefaultWidth() + (ThemesActive() ? 0 : 1)
                                 : GetSystemMetrics(SM_CXVSCROLL);
  return std::min(ContentWidth / 2, Width);
}

namespace {

// The title's content: the cell less its raised frame; under multi-level titles the leaf's own
// part.
TRect TitleContentRect(TCustomDBGridZk* Grid, TColumnZk* Column, TRect Cell) {
  if (Grid->IsUseMultiTitle())
    if (THeadTreeNode* Leaf = Grid->LeafNodeOf(Column))
      Cell.Top = std::max(Cell.Top, Cell.Bottom - Leaf->Height + 1);
  if (Grid->OptionsZk().Contains(dghFixed3D)) InflateRect(Cell, -1, -1);
  return Cell;
}

}  // namespace

TRect TitleFilterButtonRect(TCustomDBGridZk* Grid, TColumnZk* Column, TRect Cell) {
  Cell = TitleContentRect(Grid, Column, Cell);
  TRect R = Cell;
  R.Left = R.Right - TitleFilterButtonWidth(Grid, Cell.Width());
  const int Height = Grid->InplaceEditorButtonHeight();
  if (Height < R.Height()) {
    R.Top = (R.Top + R.Bottom - Height) / 2;
    R.Bottom = R.Top + Height;
  }
  return R;
}

TRect FilterCellClientRect(TCustomDBGridZk* Grid, TColumnZk* Column) {
  const int Row = std::max(0, Grid->TitleOffset() - 1);
  if (Grid->RowPanel()->Active()) return Grid->RowPanelTitleClientRect(Column, Row);
  const TColumnsZkList& Visible = Grid->VisibleColumns();
  const auto It = std::find(Visible.begin(), Visible.end(), Column);
  if (It == Visible.end()) return TRect{};
  return Grid->CellRect(Grid->ColumnIndexToGridCol(static_cast<int>(It - Visible.begin())), Row);
}

// Opaque and hot under the mouse or while its list is open; otherwise 30 % see-through while
// the mouse is over the title (not over a multi-level title's groups), else 80 %.
void DrawTitleFilterButton(TCustomDBGridZk* Grid, TColumnZk* Column, const TRect& TitleCell,
                           TGridDrawState AState, int Shift) {
  if (!HasTitleFilterButton(Grid, Column)) return;
  const bool Normal = Grid->GridState() == dgsNormal;
  const bool HotCell = AState.Contains(gdHotTrack);
  const bool Open = Grid->STFilter()->InTitleColumn == Column && InTitleFilterListVisible(Grid);
  bool Hot = false;
  int Transparency = 80;
  if (Grid->ComponentState().Contains(csDesigning)) {
    Transparency = 30;
  } else if ((HotCell && Normal && Grid->HotTrackEditButton() == 0) || Open) {
    Hot = true;
    Transparency = 0;
  } else if (HotCell && Normal && !Grid->HotTrackMultiTitleOver()) {
    Transparency = 30;
  }
  const TEditButtonStyleZk Style =
      Grid->Style() ? Grid->Style()->InTitleFitlerButtonStyle() : ebsDropDownZk;
  TRect Button = TitleFilterButtonRect(Grid, Column, TitleCell);
  // The funnel's square: left of the button, at the top of the title's content.
  const int SignTop = TitleContentRect(Grid, Column, TitleCell).Top;
  TRect Sign = Rect(Button.Left - 6, SignTop, Button.Left, SignTop + 6);
  OffsetRect(Button, Shift, Shift);
  OffsetRect(Sign, Shift, Shift);
  Grid->DrawCellButton(Column, Grid->Canvas(), Style, Button, TitleCell, Open, Hot, Grid->Flat(),
                       Grid->DataLink()->Active(), Column->Title()->Color(), nullptr,
                       Transparency);
  // A filtered column shows the funnel left of the button, at the top of its title.
  if (!Column->STFilter()->ExpressionStr().empty()) {
    TDBGridZkSelection* S = Grid->Selection();
    const bool Selected = S->SelectionType() == gstAll ||
                          (S->SelectionType() == gstColumns && S->Columns()->Contains(Column));
    Grid->DrawFilterSign(Sign, Selected);
  }
}

bool TitleFilterButtonAt(TCustomDBGridZk* Grid, TColumnZk* Column, int X, int Y) {
  if (!HasTitleFilterButton(Grid, Column) || Grid->TitleOffset() < 1) return false;
  return TitleFilterButtonRect(Grid, Column, FilterCellClientRect(Grid, Column)).Contains({X, Y});
}

bool TitleFilterButtonAt(TCustomDBGridZk* Grid, int ACol, int X, int Y) {
  return TitleFilterButtonAt(Grid, Grid->ColumnAtGridCol(ACol), X, Y);
}

// --- applying and clearing ------------------------------------------------------------------------

void TCustomDBGridZk::DefaultApplyFilter() {
  TDBGridZkCenter* C = FCenter ? FCenter : DBGridZkCenter();
  if (!C) return;
  LockPaint();
  try {
    C->ApplyFilter(this);
  } catch (...) {
    UnlockPaint();
    throw;
  }
  UnlockPaint();
}

void TCustomDBGridZk::ApplyFilter() { ApplyFilterRow(); }

void TCustomDBGridZk::ApplyFilterRow() {
  TSTDBGridZkFilter* F = STFilter();
  // A text that does not read raises here, before anything is applied.
  if (F->FilterEdit && F->FilterEdit->Visible()) FilterEditorToFilter();
  const int SavedLeft = LeftCol();
  auto Restore = [&] {
    if (SavedLeft < ColCount()) SetLeftCol(SavedLeft);
    PlaceFilterEditor(true);
    if (FSumList && FSumList->Active()) FSumList->RecalcAll();
    Invalidate();
  };
  try {
    if (F->OnApplyFilter) F->OnApplyFilter(this);
    else DefaultApplyFilter();
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
}

void TCustomDBGridZk::ClearFilter() {
  // Every condition goes: the editor's text is not stored on the way out.
  if (STFilter()->FilterEdit) STFilter()->FilterEdit->SetText(u"");
  LeaveFilterRow();
  for (int I = 0; I < FColumns->Count(); ++I) FColumns->Items(I)->STFilter()->Clear();
  Invalidate();
}

// --- the column filters' hooks --------------------------------------------------------------------

namespace {

bool InFilterReload = false;

// A visible filter editor shows the column's new text.
void ReloadFilterEditor(TCustomDBGridZk* Grid) {
  TSTDBGridZkFilter* F = Grid->STFilter();
  TColumnZk* Column = F->FilterEdit ? F->FilterEdit->Column() : nullptr;
  if (Column && Column->STFilter()->InFilterListBox && F->FilterEdit->Visible()) {
    F->FilterEdit->SetText(Column->STFilter()->ExpressionStr());   // the list stays open
    return;
  }
  if (F->FilterEdit && F->FilterEdit->Visible() && F->FilterEditMode && !InFilterReload) {
    InFilterReload = true;
    Grid->PlaceFilterEditor(true);
    InFilterReload = false;
  }
}

void ApplyWhenInstant(TSTColumnFilterZk* Filter) {
  TCustomDBGridZk* G = Filter->Grid();
  if (G && G->STFilter()->InstantApply()) G->ApplyFilterRow();
}

}  // namespace

void DBGridZkFilterRowInitialize() {
  FilterEditorChangedHook = ReloadFilterEditor;
  FilterInstantApplyHook = ApplyWhenInstant;
}

REGISTER_CLASS(TSTDBGridZkFilter) {
  using C = TSTDBGridZkFilter;
  Class.Property("InstantApply", &C::InstantApply, &C::SetInstantApply)
      .Stored(&C::IsInstantApplyStored)
      .Property("Local", &C::Local, &C::SetLocal, false)
      .Property("Location", &C::Location, &C::SetLocation, stflUnderTitleFilterZk)
      .Property("Visible", &C::Visible, &C::SetVisible, false);
}
REGISTER_CLASS(TInplaceFilterEditZk) {}
