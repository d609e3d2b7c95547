// DBGridZkSearch.cpp - the incremental search typed into the grid, the find dialog, moving
// records by dragging the indicator, the indicator title with its menu, and the edit actions.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "gridlib/grid/GridMarkersZk.h"
#include "gridlib/toolkit/ConsumeClickZk.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdActns.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

// --- the policy object ----------------------------------------------------------------------------

void TCustomDBGridZk::SetCenter(TDBGridZkCenter* Value) {
  if (FCenter == Value) return;
  if (FCenter) FCenter->RemoveChangeNotification(this);
  FCenter = Value;
  if (FCenter) FCenter->AddChangeNotification(this);
}

// --- incremental search ---------------------------------------------------------------------------

void TCustomDBGridZk::StartInplaceSearch(const String& ss, int TimeOut,
                                         TLocateTextDirectionZk Direction) {
  if (!FDataLink->Active()) return;
  String S = FInplaceSearchText + ss;
  const String Old = FInplaceSearchText;
  bool Found = false;
  if (!S.empty()) {
    LockPaint();
    FInplaceSearchLocating = true;
    try {
      TField* F = SelectedField();
      const bool EditFormat = F && dynamic_cast<TNumericField*>(F) && FCenter &&
                              FCenter->PreferEditFormatForNumberFields();
      TLocateTextOptionsZk Options{ltoCaseInsensitiveZk, ltoStopOnEscape};
      if (!EditFormat) Options << ltoMatchFormatZk;
      Found = LocateText(this, u"", S, Options, Direction, ltmFromBegingZk, lttInAllNodesZk);
      if (Found) {
        // The search text takes the letter case of the data.
        TColumnZk* C = ColumnAtGridCol(Col());
        String Text = C ? (EditFormat && C->Field() ? C->Field()->Text() : C->DisplayText()) : S;
        S = Text.substr(0, S.size());
        // Over a memory table's whole view the found row comes to the middle.
        if (UsesMemTableRows()) SafeMoveTop(Row() - VisibleRowCount() / 2, false);
      }
    } catch (...) {
      FInplaceSearchLocating = false;
      UnlockPaint();
      throw;
    }
    FInplaceSearchLocating = false;
    UnlockPaint();
  }
  HideCellEditor();
  FInplaceSearching = true;
  FInplaceSearchText = Found ? S : Old;
  InvalidateGridRow(Row());
  FInplaceSearchTimeOut = TimeOut;
  RestartSearchTimer();
}

void TCustomDBGridZk::StopInplaceSearch() {
  if (!FInplaceSearching) return;
  StopSearchTimer();
  FInplaceSearching = false;
  FInplaceSearchText.clear();
  InvalidateGridRow(Row());
  if (FOptions.Contains(dgAlwaysShowEditor) && AlwaysShowEditor()) ShowCellEditor();
}

void TCustomDBGridZk::RestartSearchTimer() {
  StopSearchTimer();
  if (FInplaceSearchTimeOut < 0 || !HandleAllocated()) return;
  SetTimer(this, 2, unsigned(FInplaceSearchTimeOut));
  FInplaceSearchTimerActive = true;
}

void TCustomDBGridZk::StopSearchTimer() {
  if (FInplaceSearchTimerActive && HandleAllocated()) KillTimer(this, 2);
  FInplaceSearchTimerActive = false;
}

bool TCustomDBGridZk::LocateText(TCustomDBGridZk*, const String& FieldName, const String& Text,
                                 TLocateTextOptionsZk Options, TLocateTextDirectionZk Direction,
                                 TLocateTextMatchingZk Matching,
                                 TLocateTextTreeFindRangeZk TreeFindRange) {
  TDBGridZkCenter* C = FCenter ? FCenter : DBGridZkCenter();
  if (!C) return BasicLocateGridText(this, FieldName, Text, Options, Direction, Matching);
  const TCursor Saved = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  try {
    const bool Found = C->LocateText(this, FieldName, Text, Options, Direction, Matching, TreeFindRange);
    Screen->SetCursor(Saved);
    return Found;
  } catch (...) {
    Screen->SetCursor(Saved);
    throw;
  }
}

void TCustomDBGridZk::ShowFindDialog(const String& Text, const String& ColumnFieldName, bool Modal) {
  if (FCenter) FCenter->ExecuteFindDialog(this, Text, ColumnFieldName, Modal);
  else if (auto& Show = DBGridZkRoutines().ShowGridFindDialog) Show(this, Text, u"", Modal);
}

bool TCustomDBGridZk::IsFindDialogShowAsModal() { return true; }

// --- record moving --------------------------------------------------------------------------------

bool TCustomDBGridZk::CanStartDataRowMove() {
  return FOptionsZk.Contains(dghRecordMoving) && FDataLink->Active() && !DataSet()->IsEmpty();
}

// A press on the indicator of a record starts the drag; a record that is not selected while
// records may be selected does not move.
bool TCustomDBGridZk::StartDataRowMove(int X, int Y, bool CheckOnly) {
  const TGridCoord K = MouseCoord(X, Y);
  if (!CanStartDataRowMove() || K.X >= FIndicatorOffset || K.Y < FTitleOffset || K.X < 0) return false;
  if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0) return false;
  TBookmarkRef Bookmark;
  bool Selected = false;
  ForDataRow(K.Y - FTitleOffset, [&] {
    Bookmark = std::make_shared<const TBookmark>(DataSet()->GetBookmark());
    int Index = 0;
    Selected = FBookmarks->Count() > 0 && FBookmarks->Find(Bookmark, Index);
  });
  if (SelectionTypeAllowed(gstRecordBookmarks) && !Selected) return false;
  if (CheckOnly) return true;
  FMoveRowSour = FMoveRowDest = K.Y;
  FMoveBookmarkSour = Bookmark;
  FDBGridZkState = dgsRowMoving;
  StartTrackTimer(60);
  return true;
}

void TCustomDBGridZk::TrackDataRowMove(int Y) {
  if (FDBGridZkState != dgsRowMoving) return;
  const TGridMetrics M = CalcMetrics();
  int Candidate = MouseCoord(FIndicatorOffset, Y).Y;
  if (UsesMemTableRows()) {
    // Beyond an edge the view scrolls a row; the cursor stays.
    if (Y < M.Vert.FixedEnd) {
      SafeMoveTop(TopRow() - 1, false);
      Candidate = TopRow();
    } else if (Candidate < 0 || Y >= M.Vert.VisibleEnd) {
      SafeMoveTop(TopRow() + 1, false);
      Candidate = FTitleOffset + LastVisibleDataRow();
    }
  } else if (Y < M.Vert.FixedEnd) {
    MoveBy(-FDataLink->ActiveRecord());
    MoveBy(-1);
    Candidate = FTitleOffset;
  } else if (Candidate < 0 || Y >= M.Vert.VisibleEnd) {
    MoveBy(FDataLink->RecordCount() - FDataLink->ActiveRecord());
    MoveBy(1);
    Candidate = FTitleOffset + FDataLink->RecordCount() - 1;
  }
  if (Candidate < FTitleOffset || Candidate == FMoveRowDest) return;
  if (!MoveSelectedRecords(Candidate - FTitleOffset, -1, true)) return;
  FMoveRowDest = Candidate;
  ShowRowMoveLine();
}

void TCustomDBGridZk::EndDataRowMove(int, int, bool Accept) {
  StopTrackTimer();
  TGridMoveLineZk* Line = GridMoveLineWindow();
  if (Line->Visible()) Line->SetVisible(false);
  FDBGridZkState = dgsNormal;
  if (Accept && FMoveRowDest != FMoveRowSour && FMoveRowDest >= FTitleOffset)
    MoveSelectedRecords(FMoveRowDest - FTitleOffset, -1, false);
  FMoveBookmarkSour.reset();
}

// The marker under the target row when it lies below the source, else above it.
void TCustomDBGridZk::ShowRowMoveLine() {
  const TRect R = CellScreenRect(FIndicatorOffset, FMoveRowDest);
  const TPoint P{R.Left, FMoveRowDest > FMoveRowSour ? R.Bottom : R.Top};
  TGridMoveLineZk* Line = GridMoveLineWindow();
  if (Line->Visible()) Line->MoveToFor(this, P);
  else Line->StartShow(this, P, false, std::max(0, ClientWidth() - R.Left));
}

bool TCustomDBGridZk::MoveSelectedRecords(int ToDataRow, int TreeLevel, bool CheckOnly) {
  if (FBookmarks->Count() > 0) return MoveDataRows(FBookmarks.get(), ToDataRow, CheckOnly, TreeLevel);
  struct TOne : TBMListZk {
    TDataSet* Set;
    explicit TOne(TDataSet* D) : Set(D) {}
    TDataSet* GetDataSet() const override { return Set; }
  } One(DataSet());
  One.SetLinkActive(true);
  if (FMoveBookmarkSour) One.AppendItem(FMoveBookmarkSour);
  return MoveDataRows(&One, ToDataRow, CheckOnly, TreeLevel);
}

bool TCustomDBGridZk::MoveDataRows(TBMListZk* BookmarkList, int ToDataRow, bool CheckOnly,
                                   int TreeLevel) {
  // The data row's record number: the active record's number moved by the row distance.
  int RecNo = ToDataRow + 1;
  if (FDataLink->Active()) {
    const int Current = RecNoZk();
    if (Current > 0) RecNo = Current + ToDataRow - CurrentDataRow();
  }
  if (FOnMoveRecords) return FOnMoveRecords(this, BookmarkList, RecNo, TreeLevel, CheckOnly);
  return DefaultMoveDataRows(BookmarkList, RecNo, TreeLevel, CheckOnly);
}

// Over an ordinary dataset the policy object moves; afterwards the grid returns to the record
// that sat where the active one sits, at the same distance from the middle row, so the view
// does not jump.
bool TCustomDBGridZk::DefaultMoveDataRows(TBMListZk* BookmarkList, int ToRecNo, int TreeLevel,
                                          bool CheckOnly) {
  if (IMemTableZk* T = FDataLink->MemTable())
    return T->MoveRecords(BookmarkList, ToRecNo, TreeLevel, CheckOnly);
  if (!DataSource() || !DataSet()) return false;
  const int Count = FDataLink->RecordCount();
  const int Active = FDataLink->ActiveRecord();
  const int D = Active - Count / 2 + (Count + 1) % 2;
  int MiddleRecNo = -1;
  if (Count > 0) ForDataRow(Active - D, [&] { MiddleRecNo = DataSet()->RecNo(); });
  if (!FCenter) return false;
  const bool Result = FCenter->MoveDataRows(this, BookmarkList, ToRecNo, CheckOnly);
  if (!CheckOnly && MiddleRecNo > 0) {
    DataSet()->SetRecNo(MiddleRecNo);
    MoveBy(D);
  }
  return Result;
}

// --- indicator title ------------------------------------------------------------------------------

void TCustomDBGridZk::IndicatorTitleMouseDown(const TGridCoord& Cell, TMouseButton Button,
                                              TShiftState Shift, int X, int Y) {
  if (FOnIndicatorTitleMouseDown) FOnIndicatorTitleMouseDown(this, Cell, Button, Shift, X, Y);
  else DefaultIndicatorTitleMouseDown(Cell, Button, Shift, X, Y);
}

void TCustomDBGridZk::BuildIndicatorTitleMenu(TPopupMenu*& PopupMenu) {
  if (FOnBuildIndicatorTitleMenu) FOnBuildIndicatorTitleMenu(this, PopupMenu);
  else DefaultBuildIndicatorTitleMenu(PopupMenu);
}

void TCustomDBGridZk::DefaultBuildIndicatorTitleMenu(TPopupMenu*& PopupMenu) {
  if (FCenter) FCenter->BuildIndicatorTitleMenu(this, PopupMenu);
}

void TCustomDBGridZk::DefaultIndicatorTitleMouseDown(const TGridCoord& Cell, TMouseButton,
                                                     TShiftState, int, int) {
  if (!FIndicatorTitle->TitleButton()) {
    if (FOptions.Contains(dgMultiSelect) && FDataLink->Active() &&
        FAllowedSelections.Contains(gstAllAS)) {
      if (FSelection->SelectionType() == gstNon) FSelection->SelectAll();
      else ClearSelection();
    }
    return;
  }
  FIndicatorTitle->SetDown(true);
  FPressed = true;
  InvalidateCell(0, 0);
  TPopupMenu* Menu = nullptr;
  BuildIndicatorTitleMenu(Menu);
  if (Menu && Menu->Items()->Count() > 0) {
    const TRect R = CellScreenRect(Cell.X, Cell.Y);
    const TPoint P = ClientToScreen(TPoint{R.Left, R.Bottom});
    Menu->Popup(P.X, P.Y);
    FIndicatorTitle->SetDown(false);
    FPressed = false;
    InvalidateCell(0, 0);
    ConsumePendingClickInRect(this);
  } else if (MouseCapture()) {
    FDBGridZkState = dgsTitleDown;
    FTracking = true;
    FPressedCol = Cell.X;
    TrackButton(FDownMousePos.X, FDownMousePos.Y);
  }
}

// --- edit actions ---------------------------------------------------------------------------------

bool TCustomDBGridZk::CheckCopyAction() { return FDataLink->Active(); }

bool TCustomDBGridZk::CheckPasteAction() {
  if (!FDataLink->Active() || FReadOnly || !DataSet()->CanModify()) return false;
  if (!Clipboard()->HasFormat(CF_TEXT) && !Clipboard()->HasFormat(RegisterClipboardFormat(u"VCLDBIF")))
    return false;
  return DataSet()->State() == dsInsert || FAllowedOperations.Contains(alopUpdateZk);
}

bool TCustomDBGridZk::CheckDeleteAction() {
  if (!FDataLink->Active() || FReadOnly || DataSet()->IsEmpty() || !DataSet()->CanModify())
    return false;
  switch (FSelection->SelectionType()) {
    case gstRecordBookmarks: case gstAll: return FAllowedOperations.Contains(alopDeleteZk);
    case gstRectangle: case gstColumns: return FAllowedOperations.Contains(alopUpdateZk);
    default: return false;
  }
}

bool TCustomDBGridZk::CheckCutAction() { return CheckCopyAction() && CheckDeleteAction(); }

bool TCustomDBGridZk::CheckSelectAllAction() {
  return FDataLink->Active() && !DataSet()->IsEmpty() && FAllowedSelections.Contains(gstAllAS);
}

bool TCustomDBGridZk::ExecuteAction(TBasicAction* Action) {
  // The data link handles no action here (the platform has no dataset actions).
  if (!Focused()) return TCustomGridZk::ExecuteAction(Action);
  auto& R = DBGridZkRoutines();
  auto Run = [&](const std::function<void(TCustomDBGridZk*, bool)>& Routine) {
    if (Routine) Routine(this, false);
    return true;
  };
  if (dynamic_cast<TEditCopy*>(Action) && FEditActions.Contains(geaCopyZk) && CheckCopyAction())
    return Run(R.CopyGridSelectionToClipboard);
  if (dynamic_cast<TEditPaste*>(Action) && FEditActions.Contains(geaPasteZk) && CheckPasteAction())
    return Run(R.PasteClipboardIntoGrid);
  if (dynamic_cast<TEditCut*>(Action) && FEditActions.Contains(geaCutZk) && CheckCutAction())
    return Run(R.CutGridSelection);
  if (dynamic_cast<TEditSelectAll*>(Action) && FEditActions.Contains(geaSelectAllZk) &&
      CheckSelectAllAction()) {
    FSelection->SelectAll();
    return true;
  }
  if (dynamic_cast<TEditDelete*>(Action) && FEditActions.Contains(geaDeleteZk) &&
      CheckDeleteAction()) {
    DeleteSelectionOrRecord();
    return true;
  }
  return TCustomGridZk::ExecuteAction(Action);
}

bool TCustomDBGridZk::UpdateAction(TBasicAction* Action) {
  if (!Focused()) return TCustomGridZk::UpdateAction(Action);
  auto* A = dynamic_cast<TCustomAction*>(Action);
  auto Set = [&](TDBGridZkEditAction Kind, bool Enabled) {
    if (FEditActions.Contains(Kind)) A->SetEnabled(Enabled);
    return true;
  };
  if (!A) return TCustomGridZk::UpdateAction(Action);
  if (dynamic_cast<TEditCopy*>(A)) return Set(geaCopyZk, CheckCopyAction());
  if (dynamic_cast<TEditPaste*>(A)) return Set(geaPasteZk, CheckPasteAction());
  if (dynamic_cast<TEditCut*>(A)) return Set(geaCutZk, CheckCutAction());
  if (dynamic_cast<TEditSelectAll*>(A)) return Set(geaSelectAllZk, CheckSelectAllAction());
  if (dynamic_cast<TEditDelete*>(A)) return Set(geaDeleteZk, CheckDeleteAction());
  return TCustomGridZk::UpdateAction(Action);
}
