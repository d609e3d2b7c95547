// DBGridZkSelection.cpp - the data grid's selection: selected records (bookmarks), a rectangle
// of cells, whole columns or everything; the kinds' transitions, their repainting, and the
// record-range walk keys and the mouse share.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>

#include "gridlib/grid/DBGridZk_p.h"
#include "gridlib/toolkit/QuobeVCL.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"

namespace {

int CompareRows(const TCustomDBGridZk* Grid, const TBookmark& A, const TBookmark& B) {
  return CompareDataSetBookmarks(Grid->DataSet(), A, B);
}

bool SameBookmarkObject(const TBookmarkRef& A, const TBookmarkRef& B) {
  return A == B || (!A && !B) || (A && B && A->empty() && B->empty());
}

}  // namespace

// --- TBookmarkListZk ------------------------------------------------------------------------------

TBookmarkListZk::~TBookmarkListZk() { TBMListZk::Clear(); }

TDataSet* TBookmarkListZk::GetDataSet() const { return FGrid->DataSet(); }

void TBookmarkListZk::ListChanged() { FGrid->Invalidate(); }

void TBookmarkListZk::SetCurrentRowSelected(bool Value) {
  TDataSet* D = GetDataSet();
  if (Value && D && D->IsEmpty()) return;
  TBMListZk::SetCurrentRowSelected(Value);
  FGrid->InvalidateGridRow(FGrid->TopDataOffset() + std::max(0, FGrid->CurrentDataRow()));
  TDBGridZkSelection* S = FGrid->Selection();
  if (S->SelectionType() != gstRecordBookmarks && Count() > 0) {
    // Another kind is dropped; its own clearing must not empty this list.
    std::vector<TBookmarkRef> Kept;
    for (int I = 0; I < Count(); ++I) Kept.push_back(Items(I));
    const TDBGridZkSelectionType Was = S->SelectionType();
    if (Was == gstRectangle) S->Rect()->Clear();
    else if (Was == gstColumns) S->Columns()->Clear();
    else if (Was == gstAll) FGrid->Invalidate();
    S->SetSelectionTypeDirect(gstRecordBookmarks);
  }
}

void TBookmarkListZk::InvalidateCache() {
  TBMListZk::InvalidateCache();
  if (!FGrid->Selection()) return;
  FGrid->Selection()->UpdateState();
  FGrid->Selection()->SelectionChanged();
}

void TBookmarkListZk::UpdateState() {
  if (FGrid->Selection()) FGrid->Selection()->UpdateState();
}

void TBookmarkListZk::Clear() {
  TBMListZk::Clear();
  if (FGrid->Selection()) FGrid->Selection()->SelectionChanged();
}

TRect TBookmarkListZk::SelectionToGridRect() {
  TRect R{-1, -1, -1, -1};
  TGridDataLinkZk* Link = FGrid->DataLink();
  if (!Link->Active() || Count() == 0) return R;
  int First = -1, Last = -1, From = 0, To = 0;
  FGrid->ReadableDataRows(From, To);
  for (int Row = From; Row < To; ++Row) {
    FGrid->ForDataRow(Row, [&] {
      int Index = 0;
      if (Find(std::make_shared<const TBookmark>(GetDataSet()->GetBookmark()), Index)) {
        if (First < 0) First = Row;
        Last = Row;
      }
    });
  }
  if (First < 0) return R;
  return TRect{0, First + FGrid->TopDataOffset(), FGrid->ColCount() - 1,
               Last + FGrid->TopDataOffset()};
}

// --- TDBGridZkSelectionRect -----------------------------------------------------------------------

void TDBGridZkSelectionRect::CheckUsable(const char16_t* Text) const {
  if (!FGrid->DataSource() || !FGrid->DataSet() || !FGrid->DataLink()->Active())
    throw EInvalidGridOperationZk(Text);
}

TBookmarkRef TDBGridZkSelectionRect::TopRow() const {
  CheckUsable(u"Error in TDBGridZkSelectionRect.GetTopRow");
  return CompareRows(FGrid, *FAnchor.Row, *FShiftCell.Row) <= 0 ? FAnchor.Row : FShiftCell.Row;
}
TBookmarkRef TDBGridZkSelectionRect::BottomRow() const {
  CheckUsable(u"Error in TDBGridZkSelectionRect.GetBottomRow");
  return CompareRows(FGrid, *FAnchor.Row, *FShiftCell.Row) < 0 ? FShiftCell.Row : FAnchor.Row;
}
int TDBGridZkSelectionRect::LeftCol() const {
  CheckUsable(u"Error in TDBGridZkSelectionRect.GetLeftCol");
  return std::min(FAnchor.Col, FShiftCell.Col);
}
int TDBGridZkSelectionRect::RightCol() const {
  CheckUsable(u"Error in TDBGridZkSelectionRect.GetRightCol");
  return std::max(FAnchor.Col, FShiftCell.Col);
}

bool TDBGridZkSelectionRect::DataCellSelected(int DataCol, const TBookmark& DataRow) const {
  CheckUsable(u"Error in function TDBGridZkSelectionRect.CellSelected");
  if (!FAnchor.Row || !FShiftCell.Row) return false;
  return CompareRows(FGrid, *TopRow(), DataRow) <= 0 &&
         CompareRows(FGrid, DataRow, *BottomRow()) <= 0 && LeftCol() <= DataCol &&
         DataCol <= RightCol();
}

void TDBGridZkSelectionRect::Clear() {
  FAnchor = TDBCell();
  FShiftCell = TDBCell();
  FGrid->Invalidate();
  FGrid->Selection()->SelectionChanged();
}

int TCustomDBGridZk::FindBufferRow(const TBookmark& B) const {
  int Found = -1, From = 0, To = 0;
  TDataSet* D = DataSet();
  ReadableDataRows(From, To);
  for (int Row = From; Row < To && Found < 0; ++Row)
    const_cast<TCustomDBGridZk*>(this)->ForDataRow(Row, [&] {
      if (CompareDataSetBookmarks(D, D->GetBookmark(), B) == 0) Found = Row;
    });
  return Found;
}

TRect TDBGridZkSelectionRect::CellRangeRect(int Col1, const TBookmarkRef& Row1, int Col2,
                                            const TBookmarkRef& Row2) const {
  if (!Row1 || !Row2 || Col1 < 0 || Col2 < 0 || !FGrid->DataLink()->Active()) return TRect();
  TBookmarkRef A = Row1, B = Row2;
  if (CompareRows(FGrid, *A, *B) > 0) std::swap(A, B);
  if (Col1 > Col2) std::swap(Col1, Col2);
  TGridDataLinkZk* Link = FGrid->DataLink();
  TDataSet* D = FGrid->DataSet();
  const int Top = FGrid->TopDataOffset();
  if (IMemTableZk* Table = FGrid->UsesMemTableRows() ? Link->MemTable() : nullptr)
    return FGrid->CellsBoxRect(FGrid->ColumnIndexToGridCol(Col1), Table->InstantReadIndexOfBookmark(*A) + Top,
                               FGrid->ColumnIndexToGridCol(Col2), Table->InstantReadIndexOfBookmark(*B) + Top);
  const int Count = Link->RecordCount();
  if (Count == 0) return TRect();
  int FirstBook = -1, LastBook = -1;
  bool BeforeFirst = false, AfterLast = false;
  FGrid->ForDataRow(0, [&] { BeforeFirst = CompareDataSetBookmarks(D, *A, D->GetBookmark()) < 0; });
  FGrid->ForDataRow(Count - 1,
                    [&] { AfterLast = CompareDataSetBookmarks(D, *B, D->GetBookmark()) > 0; });
  FirstBook = BeforeFirst ? 0 : FGrid->FindBufferRow(*A);
  if (FirstBook < 0) FirstBook = Count;
  LastBook = AfterLast ? FGrid->VisibleDataRowCount() : FGrid->FindBufferRow(*B);
  if (LastBook < 0) LastBook = FGrid->VisibleDataRowCount();
  return FGrid->CellsBoxRect(FGrid->ColumnIndexToGridCol(Col1), FirstBook + Top,
                             FGrid->ColumnIndexToGridCol(Col2), LastBook + Top);
}

void TDBGridZkSelectionRect::Select(int ACol, const TBookmarkRef& ARow, bool AddSel) {
  TDBGridZkSelection* S = FGrid->Selection();
  if (S->SelectionType() != gstRectangle) S->Clear();
  const TDBCell OldAnchor = FAnchor, OldShift = FShiftCell;
  if (FAnchor.Col < 0 || !AddSel) FAnchor = {ACol, ARow};
  FShiftCell = {ACol, ARow};
  const bool OneCell = FAnchor.Col == FShiftCell.Col && FAnchor.Row && FShiftCell.Row &&
                       CompareRows(FGrid, *FAnchor.Row, *FShiftCell.Row) == 0;
  if (OneCell) {
    if (S->SelectionType() == gstRectangle) S->SetSelectionType(gstNon);
  } else {
    S->SetSelectionType(gstRectangle);
  }
  if (FGrid->HandleAllocated()) {
    TRect Old = CellRangeRect(OldAnchor.Col, OldAnchor.Row, OldShift.Col, OldShift.Row);
    const TRect New = CellRangeRect(FAnchor.Col, FAnchor.Row, FShiftCell.Col, FShiftCell.Row);
    // A rectangle switching between one and several columns repaints whole rows: the
    // focused cell's look depends on it.
    if (SameBookmarkObject(OldAnchor.Row, OldShift.Row) &&
        SameBookmarkObject(FAnchor.Row, FShiftCell.Row) &&
        ((OldAnchor.Col == OldShift.Col) != (FAnchor.Col == FShiftCell.Col))) {
      const TRect All = FGrid->CellsBoxRect(0, 0, FGrid->ColCount(), 0);
      Old.Left = All.Left;
      Old.Right = std::max(Old.Right, FGrid->ClientWidth());
    }
    ::InvalidateRect(FGrid, &Old, false);
    ::InvalidateRect(FGrid, &New, false);
  }
  S->SelectionChanged();
}

TRect TDBGridZkSelectionRect::SelectionToGridRect() const {
  TRect R{-1, -1, -1, -1};
  if (FAnchor.Col < 0 || !FAnchor.Row || !FGrid->DataLink()->Active()) return R;
  R.Left = FGrid->ColumnIndexToGridCol(LeftCol());
  R.Right = FGrid->ColumnIndexToGridCol(RightCol());
  TDataSet* D = FGrid->DataSet();
  const TBookmarkRef T = TopRow(), B = BottomRow();
  if (IMemTableZk* Table = FGrid->UsesMemTableRows() ? FGrid->DataLink()->MemTable() : nullptr) {
    R.Top = Table->InstantReadIndexOfBookmark(*T) + FGrid->TopDataOffset();
    R.Bottom = Table->InstantReadIndexOfBookmark(*B) + FGrid->TopDataOffset();
    return R;
  }
  int Top = -1, Bottom = -1, From = 0, To = 0;
  FGrid->ReadableDataRows(From, To);
  for (int Row = From; Row < To; ++Row)
    FGrid->ForDataRow(Row, [&] {
      const TBookmark Here = D->GetBookmark();
      if (Top < 0 && CompareDataSetBookmarks(D, Here, *T) >= 0) Top = Row;
      if (CompareDataSetBookmarks(D, Here, *B) <= 0) Bottom = Row;
    });
  if (Top >= 0 && Bottom >= 0) {
    R.Top = Top + FGrid->TopDataOffset();
    R.Bottom = Bottom + FGrid->TopDataOffset();
  }
  return R;
}

// --- TDBGridZkSelectionCols -----------------------------------------------------------------------

bool TDBGridZkSelectionCols::Contains(TColumnZk* ACol) const {
  return std::find(begin(), end(), ACol) != end();
}

void TDBGridZkSelectionCols::RepaintColumn(TColumnZk* ACol) {
  const auto& V = FGrid->VisibleColumns();
  const auto It = std::find(V.begin(), V.end(), ACol);
  if (It != V.end()) FGrid->InvalidateGridCol(FGrid->ColumnIndexToGridCol(int(It - V.begin())));
}

void TDBGridZkSelectionCols::AddInOrder(TColumnZk* ACol) {
  auto It = std::find_if(begin(), end(), [&](TColumnZk* C) { return C->Index() > ACol->Index(); });
  insert(It, ACol);
}

void TDBGridZkSelectionCols::RemoveColumn(TColumnZk* ACol) {
  erase(std::remove(begin(), end(), ACol), end());
}

void TDBGridZkSelectionCols::Clear() {
  for (TColumnZk* C : *this) RepaintColumn(C);
  std::vector<TColumnZk*>::clear();
  FAnchor = nullptr;
  FGrid->Selection()->SelectionChanged();
}

void TDBGridZkSelectionCols::Select(TColumnZk* ACol, bool AddSel) {
  TDBGridZkSelection* S = FGrid->Selection();
  if (S->SelectionType() != gstColumns) S->Clear();
  if (!AddSel) Clear();
  if (!Contains(ACol)) AddInOrder(ACol);
  RepaintColumn(ACol);
  FAnchor = FShiftCol = ACol;
  S->SetSelectionType(gstColumns);
  FShiftSelectedCols.clear();
  S->SelectionChanged();
}

void TDBGridZkSelectionCols::InvertSelect(TColumnZk* ACol) {
  TDBGridZkSelection* S = FGrid->Selection();
  if (S->SelectionType() != gstColumns) S->Clear();
  if (Contains(ACol)) RemoveColumn(ACol);
  else AddInOrder(ACol);
  RepaintColumn(ACol);
  FAnchor = FShiftCol = ACol;
  S->SetSelectionType(empty() ? gstNon : gstColumns);
  FShiftSelectedCols.clear();
  S->SelectionChanged();
}

void TDBGridZkSelectionCols::SelectShift(TColumnZk* ACol) {
  TDBGridZkSelection* S = FGrid->Selection();
  if (S->SelectionType() != gstColumns) S->Clear();
  if (!FAnchor) {
    Select(ACol, true);
    FAnchor = ACol;
  } else {
    const int A = FAnchor->Index(), Sh = FShiftCol ? FShiftCol->Index() : A, N = ACol->Index();
    int From = N, To = N, Step = 1, Turn = -1;
    bool Adding = true;
    if (A < Sh) {
      if (N > Sh) { From = Sh; To = N; }
      else if (N < Sh) { From = Sh; Step = -1; Adding = false; if (N < A) { Turn = A; To = N; } else To = N + 1; }
    } else if (A > Sh) {
      if (N < Sh) { From = Sh; To = N; Step = -1; }
      else if (N > Sh) { From = Sh; Adding = false; if (N > A) { Turn = A; To = N; } else To = N - 1; }
    } else {
      From = A; To = N; Step = N < A ? -1 : 1;
    }
    const bool AnchorListed = Contains(FAnchor);
    auto InShift = [&](TColumnZk* P) {
      auto It = std::find(FShiftSelectedCols.begin(), FShiftSelectedCols.end(), P);
      if (It == FShiftSelectedCols.end()) return false;
      FShiftSelectedCols.erase(It);
      return true;
    };
    TDBGridColumnsZk* Cols = FGrid->Columns();
    for (int I = From;; I += Step) {
      if (I == Turn) Adding = !Adding;
      if (I >= 0 && I < Cols->Count()) {
        TColumnZk* P = Cols->Items(I);
        const bool Listed = Contains(P);
        bool Changed = false;
        if (Adding && AnchorListed && !Listed && P->Visible()) {
          AddInOrder(P);
          FShiftSelectedCols.push_back(P);
          Changed = true;
        } else if (Adding && !AnchorListed && Listed && I != A) {
          RemoveColumn(P);
          FShiftSelectedCols.push_back(P);
          Changed = true;
        } else if (!Adding && AnchorListed && Listed && I != A) {
          if (InShift(P)) RemoveColumn(P);
          Changed = true;
        } else if (!Adding && !AnchorListed && !Listed && P->Visible()) {
          if (InShift(P)) AddInOrder(P);
          Changed = true;
        }
        if (Changed) {
          RepaintColumn(P);
          S->SelectionChanged();
        }
      }
      if (I == To) break;
    }
  }
  FShiftCol = ACol;
  S->SetSelectionType(empty() ? gstNon : gstColumns);
}

void TDBGridZkSelectionCols::Refresh() {
  TDBGridColumnsZk* Cols = FGrid->Columns();
  erase(std::remove_if(begin(), end(),
                       [&](TColumnZk* C) {
                         for (int I = 0; I < Cols->Count(); ++I)
                           if (Cols->Items(I) == C) return false;
                         return true;
                       }),
        end());
  std::sort(begin(), end(), [](TColumnZk* A, TColumnZk* B) { return A->Index() < B->Index(); });
}

TRect TDBGridZkSelectionCols::SelectionToGridRect() const {
  int Lo = -1, Hi = -1;
  for (TColumnZk* C : *this) {
    if (Lo < 0 || C->Index() < Lo) Lo = C->Index();
    Hi = std::max(Hi, C->Index());
  }
  return TRect{FGrid->ColumnIndexToGridCol(Lo), 0, FGrid->ColumnIndexToGridCol(Hi),
               FGrid->RowCount()};
}

// --- TDBGridZkSelection ---------------------------------------------------------------------------

TDBGridZkSelection::TDBGridZkSelection(TCustomDBGridZk* Grid)
    : FColumns(std::make_unique<TDBGridZkSelectionCols>(Grid)), FGrid(Grid),
      FRect(std::make_unique<TDBGridZkSelectionRect>(Grid)) {}
TDBGridZkSelection::~TDBGridZkSelection() = default;

TBookmarkListZk* TDBGridZkSelection::Rows() const { return FGrid->SelectedRows(); }

void TDBGridZkSelection::SelectionChanged() {
  if (FGrid->ComponentState().Contains(csDestroying)) return;
  if (FGrid->OnSelectionChanged()) FGrid->OnSelectionChanged()(FGrid);
}

void TDBGridZkSelection::SetSelectionType(TDBGridZkSelectionType Value) {
  if (Value == FSelectionType) return;
  FSelectionType = Value;
  FGrid->InvalidateEditor();
}

void TDBGridZkSelection::Clear() {
  auto Finish = [this] {
    FSelectionType = gstNon;
    if (FGrid->Options().Contains(dgAlwaysShowEditor) && FGrid->AlwaysShowEditor() &&
        FGrid->HandleAllocated())
      FGrid->ShowCellEditor();
  };
  try {
    switch (FSelectionType) {
      case gstRecordBookmarks: if (Rows()) Rows()->Clear(); break;
      case gstRectangle: FRect->Clear(); break;
      case gstColumns: FColumns->Clear(); break;
      case gstAll: FGrid->Invalidate(); break;
      default: break;
    }
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
}

void TDBGridZkSelection::SelectAll() {
  if (FSelectionType == gstAll) return;
  if (FSelectionType != gstNon) Clear();
  FSelectionType = gstAll;
  FGrid->Invalidate();
  FGrid->InvalidateEditor();
  SelectionChanged();
}

void TDBGridZkSelection::UpdateState() {
  if ((FSelectionType == gstRecordBookmarks && Rows() && Rows()->Count() == 0) ||
      (FSelectionType == gstColumns && FColumns->empty())) {
    FSelectionType = gstNon;
    FGrid->Invalidate();
  }
}

void TDBGridZkSelection::Refresh() {
  if (FSelectionType == gstRecordBookmarks && Rows()) Rows()->Refresh();
  if (FSelectionType == gstColumns) {
    FColumns->Refresh();
    UpdateState();
  }
}

void TDBGridZkSelection::LinkActive(bool Value) {
  if (Rows()) Rows()->SetLinkActive(Value);
  Clear();
}

bool TDBGridZkSelection::DataCellSelected(int DataCol, const TBookmark& DataRow) const {
  switch (FSelectionType) {
    case gstRecordBookmarks: {
      if (!Rows() || Rows()->Count() == 0) return false;
      int Index = 0;
      return Rows()->Find(std::make_shared<const TBookmark>(DataRow), Index);
    }
    case gstRectangle: return DataCol >= 0 && FRect->DataCellSelected(DataCol, DataRow);
    case gstColumns:
      return DataCol >= 0 && DataCol < FGrid->Columns()->Count() &&
             FColumns->Contains(FGrid->Columns()->Items(DataCol));
    case gstAll: return true;
    default: return false;
  }
}

TRect TDBGridZkSelection::SelectionToGridRect() const {
  switch (FSelectionType) {
    case gstRecordBookmarks: return Rows() ? Rows()->SelectionToGridRect() : TRect{-1, -1, -1, -1};
    case gstRectangle: return FRect->SelectionToGridRect();
    case gstColumns: return FColumns->SelectionToGridRect();
    case gstAll: return TRect{0, 0, FGrid->ColCount(), FGrid->RowCount()};
    default: return TRect{-1, -1, -1, -1};
  }
}

// --- grid operations ------------------------------------------------------------------------------

bool TCustomDBGridZk::SelectionTypeAllowed(TDBGridZkSelectionType AType) const {
  if (AType == gstNon) return true;
  if (!FOptions.Contains(dgMultiSelect) ||
      !FAllowedSelections.Contains(static_cast<TDBGridZkAllowedSelection>(AType)))
    return false;
  if ((AType == gstRectangle || AType == gstColumns) && FOptions.Contains(dgRowSelect)) return false;
  return true;
}

void TCustomDBGridZk::ClearSelection() {
  if (FOptions.Contains(dgMultiSelect) && FBookmarks) FBookmarks->Clear();
  FSelecting = false;
  if (FSelection->SelectionType() != gstNon) {
    FSelection->Clear();
    Invalidate();
    InvalidateEditor();
  }
}

void TCustomDBGridZk::ClearSelectionIfOption() {
  if (FOptionsZk.Contains(dghClearSelection)) ClearSelection();
  FSelecting = false;
}

void TCustomDBGridZk::MoveWithSelection(bool Select, int Distance, bool ToEnd, bool RowSel) {
  TDataSet* D = DataSet();
  if (!FDataLink->Active() || !D) return;
  bool Stopped = false;
  BeginUpdate();
  try {
    if (RowSel || FOptions.Contains(dgRowSelect)) {
      Select = Select && SelectionTypeAllowed(gstRecordBookmarks);
      while (Distance != 0) {
        const int Dir = Distance > 0 ? 1 : -1;
        bool MarkNext = false;
        if (FOptions.Contains(dgMultiSelect)) {
          if (Select) {
            if (!FSelecting) {
              FSelectionAnchor = FBookmarks->GetCurrentBookmark();
              FSelectionAnchorSelected = FBookmarks->CurrentRowSelected();
              FBookmarks->SetCurrentRowSelected(FAntiSelection ? !FSelectionAnchorSelected : true);
              FSelecting = true;
              MarkNext = true;
            } else {
              const int Cmp = CompareDataSetBookmarks(D, D->GetBookmark(), *FSelectionAnchor);
              if (Cmp != 0 && (Cmp > 0 ? 1 : -1) == -Dir) {
                FBookmarks->SetCurrentRowSelected(FAntiSelection ? FSelectionAnchorSelected : false);
              } else {
                MarkNext = true;
              }
            }
          } else {
            ClearSelectionIfOption();
          }
        }
        if (MoveBy(Dir) == 0) {
          Stopped = true;
          break;
        }
        if (MarkNext) FBookmarks->SetCurrentRowSelected(FAntiSelection ? !FSelectionAnchorSelected : true);
        if (!ToEnd) Distance -= Dir;
      }
    } else {
      Select = Select && SelectionTypeAllowed(gstRectangle);
      auto Move = [&] {
        if (!ToEnd) MoveBy(Distance);
        else if (Distance == 1) D->Last();
        else D->First();
      };
      if (Select) {
        if (FSelection->SelectionType() != gstRectangle) {
          FSelection->Rect()->Clear();
          FSelection->Rect()->Select(SelectedIndex(), FBookmarks->GetCurrentBookmark(), true);
        }
        Move();
        FSelection->Rect()->Select(SelectedIndex(), FBookmarks->GetCurrentBookmark(), true);
      } else {
        EndUpdate();
        Move();
        BeginUpdate();
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (!Stopped && FUpdateLock == 0 && HandleAllocated()) Update();
}

void TCustomDBGridZk::StartTrackTimer(int Interval) {
  if (!FTimerActive || FTimerInterval != Interval) {
    if (FTimerActive) KillTimer(this, 1);
    SetTimer(this, 1, unsigned(std::max(0, Interval)));
    FTimerInterval = Interval;
  }
  FTimerActive = true;
}

void TCustomDBGridZk::StopTrackTimer() {
  if (!FTimerActive) return;
  KillTimer(this, 1);
  FTimerActive = false;
  FTimerInterval = -1;
}

// Record and rectangle tracking: while the pointer stays outside the data area the grid
// scrolls, faster the farther away it is.
void TCustomDBGridZk::TrackSelection() {
  if (!HandleAllocated()) return;
  const TGridMetrics M = CalcMetrics();
  const int Top = M.Vert.FixedEnd, Bottom = M.Vert.VisibleEnd;
  const int Left = M.Horz.FixedEnd, Right = M.Horz.VisibleEnd;
  const TPoint P = FDownMousePos;
  int VDir = 0, HDir = 0, Dy = 0, Dx = 0;
  if (P.Y < Top) { VDir = -1; Dy = Top - P.Y; }
  else if (P.Y >= Bottom) { VDir = 1; Dy = P.Y - Bottom + 1; }
  if (P.X < Left) { HDir = -1; Dx = Left - P.X; }
  else if (P.X >= Right) { HDir = 1; Dx = P.X - Right; }
  const int Dist = std::max(Dy, Dx);
  if (VDir == 0 && HDir == 0) {
    StopTrackTimer();
    return;
  }
  const bool Select = FMouseShift.Contains(ssLeft);
  const int Step = VDir * std::min(Dist / 6, 8);
  BeginUpdate();
  try {
    if (VDir != 0 && FDBGridZkState != dgsRectSelecting)
      MoveWithSelection(Select, Step, false, true);
    if (FDataTracking) {
      if (HDir < 0 && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
      else if (HDir > 0 && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
    }
    if (FDBGridZkState != dgsRowSelecting && HDir != 0)
      MoveCol(SelectedIndex() + HDir, HDir < 1 ? -1 : 1, false);
    if (FDBGridZkState == dgsRectSelecting) {
      if (Step != 0) MoveBy(Step);
      FSelection->Rect()->Select(SelectedIndex(), FBookmarks->GetCurrentBookmark(), true);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (FUpdateLock == 0) Update();
  StartTrackTimer(std::max(0, 200 - 15 * Dist));
}

bool TCustomDBGridZk::IsCellSelected(int ACol, int ARow, TGridDrawState) {
  const bool Current = ARow == Row();
  if (FSelection->SelectionType() != gstNon && FDataLink->Active() && ARow >= FTitleOffset) {
    bool Selected = false;
    const TBookmark B = DataSet()->GetBookmark();
    Selected = FSelection->DataCellSelected(GridColToColumnIndex(ACol), B);
    if (Selected) return true;
  }
  if (!Current) return false;
  return FOptions.Contains(dgRowSelect) || ACol == Col();
}
