// DBGridZkKeys.cpp - the data grid's keys: shortcuts, the Ctrl and plain key tables, typed
// characters (search or editor), column moves, row steps that append or cancel an untouched
// insert, the delete question and the copy of the previous record's value.
#include "gridlib/grid/DBGridZk.h"

#include <algorithm>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/DBGridZk_p.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/WinApi.h"
#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"

TShortCut GridIncSearchKey = ShortCut(u'F', TShiftState{ssCtrl});
TShortCut GridFindDialogKey = ShortCut(u'F', TShiftState{ssCtrl});
TShortCut GridIncSearchNextKey = ShortCut(VK_RETURN, TShiftState{ssCtrl});
TShortCut GridIncSearchPriorKey = ShortCut(VK_RETURN, TShiftState{ssCtrl, ssShift});
TShortCut GridCopyPrevValueKey = ShortCut(222, TShiftState{ssCtrl});
TShortCut GridTitleFilterKey = ShortCut(u'T', TShiftState{ssCtrl});
int GridIncSearchTimeout = 1500;

namespace {

TColumnZk* ColumnAt(const TCustomDBGridZk* G, int Index) {
  return Index >= 0 && Index < G->Columns()->Count() ? G->Columns()->Items(Index) : nullptr;
}

// The clipboard and delete routines of the grid's neighbours, on the selection.
void RunRoutine(const std::function<void(TCustomDBGridZk*, bool)>& Routine, TCustomDBGridZk* G) {
  if (Routine) Routine(G, false);
}

bool CanAppendOrInsert(TCustomDBGridZk* G, TDataSet* D) {
  return D->CanModify() && !G->ReadOnly() && G->Options().Contains(dgEditing);
}

}  // namespace

// --- rows and columns -----------------------------------------------------------------------------

void TCustomDBGridZk::NextRow(bool Select) {
  TDataSet* D = DataSet();
  const bool Untouched = D->State() == dsInsert && !D->Modified() && !FDataLink->IsModified();
  if (Untouched) {
    if (D->Eof()) return;
    D->Cancel();
  } else {
    const bool Shift = GetKeyState(VK_SHIFT) < 0;
    if (Shift) MoveWithSelection(Select, 1, false, !FAllowedSelections.Contains(gstRectangleAS));
    else MoveWithSelection(false, 1, false, true);
  }
  if (D->Eof() && CanAppendOrInsert(this, D) && FAllowedOperations.Contains(alopAppendZk))
    D->Append();
}

void TCustomDBGridZk::PriorRow(bool Select) {
  TDataSet* D = DataSet();
  if (D->State() == dsInsert && D->Eof() && !D->Modified() && !FDataLink->IsModified()) {
    D->Cancel();
    return;
  }
  const bool Shift = GetKeyState(VK_SHIFT) < 0;
  if (Shift) MoveWithSelection(Select, -1, false, !FAllowedSelections.Contains(gstRectangleAS));
  else MoveWithSelection(false, -1, false, true);
}

void TCustomDBGridZk::TabToColumn(bool GoForward) {
  const int Current = SelectedIndex();
  if (Current < 0 || Current >= FColumns->Count()) return;
  BeginUpdate();
  try {
    ClearSelectionIfOption();
    TColumnZk* From = FColumns->Items(Current);
    TColumnZk* Next = FColumns->GetNextTabColumn(From, GoForward);
    if (Next == From) {
      // No further Tab stop on this record: the first (last) one of the next (prior) record.
      if (GoForward) NextRow(false);
      else PriorRow(false);
      Next = GoForward ? FColumns->GetFirstTabColumn() : FColumns->GetLastTabColumn();
    }
    if (Next) MoveCol(Next->Index(), 0, false);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TCustomDBGridZk::InRowCellToCellNavigation() const {
  return RowPanel()->Active() && RowPanel()->NavKeysNavigationType() == rpntCellToCellZk;
}

// Up and Down inside an in-row panel go to the overlapping column above or below; past the
// panel's edge they move to the neighbouring record, entering it at its bottom (top) column.
// The column the moves started from stays the reference, so a run of Up and Down presses
// keeps to one vertical track.
void TCustomDBGridZk::MoveInRowPanelVertically(bool Down) {
  TColumnZk* Start = ColumnAtGridCol(Col());
  if (!Start) return;
  TColumnZk* Base = FColumns->UpDownBaseColumn() ? FColumns->UpDownBaseColumn() : Start;
  TColumnZk* Next = FColumns->GetNextVertColumn(Start, Down);
  TDataSet* D = DataSet();
  if (Next != Start) {
    MoveCol(Next->Index(), 0, false);
  } else if (!Down && D && !D->Bof()) {
    MoveCol(FColumns->GetBottomColumn(Start)->Index(), 0, false);
    PriorRow(true);
    if (D->Bof()) MoveCol(Start->Index(), 0, false);
  } else if (Down && D && !D->Eof()) {
    MoveCol(FColumns->GetTopColumn(Start)->Index(), 0, false);
    FLockAutoShowCurCell = true;
    try {
      NextRow(true);
    } catch (...) {
      FLockAutoShowCurCell = false;
      throw;
    }
    FLockAutoShowCurCell = false;
    if (D->Eof()) MoveCol(Start->Index(), 0, false);
  }
  FColumns->SetUpDownBaseColumn(Base);
}

void TCustomDBGridZk::MoveCol(int DataCol, int Direction, bool Select) {
  Select = Select && !FOptions.Contains(dgRowSelect) && SelectionTypeAllowed(gstRectangle);
  if (Select && FSelection->SelectionType() != gstRectangle && FDataLink->Active()) {
    FSelection->Rect()->Clear();
    FSelection->Rect()->Select(SelectedIndex(), FBookmarks->GetCurrentBookmark(), true);
  }
  FDataLink->UpdateRecord();
  const int Count = FColumns->Count();
  if (Count == 0) return;
  DataCol = std::clamp(DataCol, 0, Count - 1);
  if (Direction != 0) {
    while (DataCol >= 0 && DataCol < Count && !FColumns->Items(DataCol)->Visible())
      DataCol += Direction;
    if (DataCol < 0 || DataCol > Count - ContraColCount() - 1) return;
  }
  TColumnZk* Target = FColumns->Items(DataCol);
  const auto& V = FVisibleColumns;
  const auto It = std::find(V.begin(), V.end(), Target);
  if (It == V.end()) return;
  const int GridCol = FIndicatorOffset + int(It - V.begin());
  if (GridCol != Col()) {
    if (!FInColExit) {
      FInColExit = true;
      const int Before = Col();
      try {
        ColExit();
      } catch (...) {
        FInColExit = false;
        throw;
      }
      FInColExit = false;
      if (Col() != Before) return;
    }
    if (!FOptions.Contains(dgAlwaysShowEditor)) HideCellEditor();
    // In an in-row panel the grid's columns have no width: the column's data cell is shown.
    if (!FOptions.Contains(dgRowSelect))
      SetCurrentCell(GridCol, Row(), true, !FGridRowPanel->Active(), false);
    ScrollToInRowColumn(Target->Index());
    if (!Target->Checkboxes() && FOptions.Contains(dgAlwaysShowEditor)) ShowCellEditor();
    ColEnter();
  }
  if (Select && FDataLink->Active())
    FSelection->Rect()->Select(SelectedIndex(), FBookmarks->GetCurrentBookmark(), true);
  StopInplaceSearch();
  // Any column change starts a new vertical track for Up and Down in an in-row panel.
  if (TColumnZk* Current = ColumnAt(this, SelectedIndex())) FColumns->SetUpDownBaseColumn(Current);
}

// --- the delete question and the previous value ---------------------------------------------------

bool TCustomDBGridZk::ConfirmDeleteRecords() {
  const String Text = FBookmarks->Count() < 2 ? DBText::DeleteRecordQuestion
                                              : DBText::DeleteMultipleRecordsQuestion;
  HWND Focus = GetFocus();
  bool Result = true;
  if (FOptions.Contains(dgConfirmDelete))
    Result = MessageDlg(Text, mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}, 0) != mrCancel;
  if (Focus && GetFocus() != Focus && IsWindow(Focus)) ::SetFocus(Focus);
  return Result;
}

void TCustomDBGridZk::SetValueFromPrevRecord() {
  const int Index = CurrentDataRow();
  TColumnZk* C = ColumnAt(this, SelectedIndex());
  if (Index <= 0 || !C || !C->Field() || C->ReadOnly() || !FieldIsEditable(C->Field())) return;
  Variant Value;
  ForDataRow(Index - 1, [&] { Value = C->Field()->Value(); });
  ClearSelection();
  FDataLink->Edit();
  C->Field()->SetValue(Value);
  ShowCellEditor();
  if (InplaceEditor() && InplaceEditor()->EditorVisible()) InplaceEditor()->SelectAll();
}

void TCustomDBGridZk::DeleteSelectionOrRecord() {
  TDataSet* D = DataSet();
  if (FEditActions.Contains(geaDeleteZk) && FSelection->SelectionType() != gstNon) {
    if (!CheckDeleteAction()) return;
    if (DBGridZkRoutines().DeleteGridSelection) DBGridZkRoutines().DeleteGridSelection(this, false);
    else if (FSelection->SelectionType() == gstRecordBookmarks && ConfirmDeleteRecords())
      FBookmarks->Delete();   // what the delete routine does with selected records
    return;
  }
  if (FReadOnly || D->IsEmpty() || !D->CanModify() || !FAllowedOperations.Contains(alopDeleteZk))
    return;
  if (!ConfirmDeleteRecords()) return;
  if (FBookmarks->Count() > 0) FBookmarks->Delete();
  else D->Delete();
}

// --- key tables -----------------------------------------------------------------------------------

bool TCustomDBGridZk::KeyDownShortcut(Word Key, TShiftState Shift) {
  const TShortCut SC = ShortCut(Key, Shift);
  if (SC == GridCopyPrevValueKey) {
    SetValueFromPrevRecord();
    return true;
  }
  if (SC == GridIncSearchKey && FOptionsZk.Contains(dghIncSearch)) {
    if (FInplaceSearching && FOptionsZk.Contains(dghDialogFind) &&
        GridFindDialogKey == GridIncSearchKey) {
      StopInplaceSearch();
      ShowFindDialog(u"", u"", IsFindDialogShowAsModal());
    } else {
      StartInplaceSearch(u"", -1, ltdAllZk);
    }
    return true;
  }
  if (SC == GridTitleFilterKey && STFilter()->Visible() &&
      STFilter()->Location() == stflInTitleFilterZk) {
    const int I = SelectedIndex();
    if (I >= 0 && I < static_cast<int>(FVisibleColumns.size()))
      DropDownInTitleFilter(this, FVisibleColumns[I]);
    return true;
  }
  if (SC == GridFindDialogKey && FOptionsZk.Contains(dghDialogFind)) {
    ShowFindDialog(u"", u"", IsFindDialogShowAsModal());
    return true;
  }
  if (!FInplaceSearching) return false;
  if (Shift.Empty() && (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_F2)) {
    StopInplaceSearch();
    return true;
  }
  if (Shift.Empty() && Key == VK_BACK) {
    // One character; a surrogate pair is one character.
    String& T = FInplaceSearchText;
    if (!T.empty()) {
      const bool Pair = T.size() >= 2 && T.back() >= 0xDC00 && T.back() <= 0xDFFF;
      T.resize(T.size() - (Pair ? 2 : 1));
    }
    InvalidateGridRow(Row());
    RestartSearchTimer();
    return true;
  }
  if (SC == GridIncSearchNextKey) {
    StartInplaceSearch(u"", FInplaceSearchTimeOut, ltdDownZk);
    return true;
  }
  if (SC == GridIncSearchPriorKey) {
    StartInplaceSearch(u"", FInplaceSearchTimeOut, ltdUpZk);
    return true;
  }
  return false;
}

void TCustomDBGridZk::KeyDownCtrl(Word& Key, TShiftState Shift) {
  TDataSet* D = DataSet();
  const bool ShiftMulti = Shift.Contains(ssShift) && FOptions.Contains(dgMultiSelect);
  const int Active = CurrentDataRow() - TopDataRow();
  if (!Shift.Contains(ssShift) && (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END ||
                                   Key == VK_HOME || Key == VK_UP || Key == VK_DOWN))
    ClearSelectionIfOption();
  switch (Key) {
    case VK_PRIOR: case VK_UP:
      if (ShiftMulti) MoveWithSelection(true, -Active, false, false);
      else MoveBy(-Active);
      break;
    case VK_NEXT: case VK_DOWN: {
      const int Distance = LastVisibleDataRow() - CurrentDataRow();
      if (ShiftMulti) MoveWithSelection(true, Distance, false, false);
      else MoveBy(Distance);
      break;
    }
    case VK_END:
      if (ShiftMulti) MoveWithSelection(true, 1, true, false);
      else D->Last();
      break;
    case VK_HOME:
      if (ShiftMulti) MoveWithSelection(true, -1, true, false);
      else D->First();
      break;
    case VK_LEFT: MoveCol(0, 1, false); break;
    case VK_RIGHT: MoveCol(FColumns->Count() - 1, -1, false); break;
    case VK_INSERT: case u'C':
      if (CheckCopyAction() && FEditActions.Contains(geaCopyZk))
        RunRoutine(DBGridZkRoutines().CopyGridSelectionToClipboard, this);
      break;
    case VK_DELETE: DeleteSelectionOrRecord(); break;
    case u'A':
      if (CheckSelectAllAction() && FEditActions.Contains(geaSelectAllZk)) FSelection->SelectAll();
      break;
    case u'V':
      if (FInplaceSearching) StartInplaceSearch(Clipboard()->AsText(), FInplaceSearchTimeOut, ltdAllZk);
      else if (CheckPasteAction() && FEditActions.Contains(geaPasteZk))
        RunRoutine(DBGridZkRoutines().PasteClipboardIntoGrid, this);
      break;
    case u'X':
      if (CheckCutAction() && FEditActions.Contains(geaCutZk))
        RunRoutine(DBGridZkRoutines().CutGridSelection, this);
      break;
    default: return;
  }
  Key = 0;
}

void TCustomDBGridZk::KeyDownPlain(Word& Key, TShiftState Shift) {
  TDataSet* D = DataSet();
  const bool ShiftMulti = Shift.Contains(ssShift) && FOptions.Contains(dgMultiSelect);
  const bool Single = ColCount() == FIndicatorOffset + 1 || FOptions.Contains(dgRowSelect);
  const bool RectAllowed = FAllowedSelections.Contains(gstRectangleAS);
  switch (Key) {
    case VK_TAB:
      if (Shift.Contains(ssAlt)) return;
      TabToColumn(!Shift.Contains(ssShift));
      break;
    case VK_RETURN:
      if (!FOptionsZk.Contains(dghEnterAsTab)) return;
      TabToColumn(!Shift.Contains(ssShift));
      break;
    case VK_ESCAPE:
      FDataLink->Reset();
      ClearSelection();
      if (!FOptions.Contains(dgAlwaysShowEditor)) HideCellEditor();
      if (GridState() == dgsRowMoving || FGridState == gsRowSizing ||
          FGridState == gsColSizing || FGridState == gsColMoving)
        SendMessage(this, WM_CANCELMODE, 0, 0);
      break;
    case VK_PRIOR: case VK_NEXT: {
      const int Distance = (Key == VK_PRIOR ? -1 : 1) * VisibleDataRowCount();
      if (ShiftMulti) {
        MoveWithSelection(true, Distance, false, !RectAllowed);
      } else {
        ClearSelectionIfOption();
        if (Key == VK_NEXT && FDataLink->MemTable()) {
          const int Below = RowCount() - TopRow() - VisibleDataRowCount();
          if (Below < VisibleDataRowCount())
            FDataLink->MemTable()->FetchRecords(VisibleDataRowCount() - Below);
        }
        MoveBy(Distance);
      }
      break;
    }
    case VK_END: case VK_HOME: {
      const bool End = Key == VK_END;
      if (Single && ShiftMulti) {
        MoveWithSelection(true, End ? 1 : -1, true, false);
      } else if (Single) {
        ClearSelectionIfOption();
        if (End) D->Last();
        else D->First();
      } else {
        MoveCol(End ? FColumns->Count() - 1 : 0, End ? -1 : 1, ShiftMulti);
      }
      break;
    }
    case VK_LEFT: case VK_RIGHT: {
      const int Dir = Key == VK_LEFT ? -1 : 1;
      if (FOptions.Contains(dgRowSelect)) return;   // the base grid scrolls the view
      if (ShiftMulti) {
        MoveCol(SelectedIndex() + Dir, Dir, true);
      } else {
        ClearSelectionIfOption();
        TColumnZk* Current = ColumnAt(this, SelectedIndex());
        if (Current && InRowCellToCellNavigation())
          MoveCol(FColumns->GetNextHorzColumn(Current, Dir > 0, true, false)->Index(), 0, false);
        else
          MoveCol(SelectedIndex() + Dir, Dir, false);
      }
      break;
    }
    case VK_UP: case VK_DOWN:
      if (InRowCellToCellNavigation() && ColumnAt(this, SelectedIndex()))
        MoveInRowPanelVertically(Key == VK_DOWN);
      else if (Key == VK_UP)
        PriorRow(true);
      else
        NextRow(true);
      break;
    case VK_INSERT:
      if (Shift.Contains(ssShift)) {
        if (FInplaceSearching)
          StartInplaceSearch(Clipboard()->AsText(), FInplaceSearchTimeOut, ltdAllZk);
        else if (CheckPasteAction() && FEditActions.Contains(geaPasteZk))
          RunRoutine(DBGridZkRoutines().PasteClipboardIntoGrid, this);
      } else if (CanAppendOrInsert(this, D)) {
        ClearSelectionIfOption();
        if (FAllowedOperations.Contains(alopInsertZk)) DataInsert();
        else if (FAllowedOperations.Contains(alopAppendZk)) D->Append();
      }
      break;
    case VK_DELETE:
      if (!Shift.Contains(ssShift)) return;
      if (CheckCutAction() && FEditActions.Contains(geaCutZk))
        RunRoutine(DBGridZkRoutines().CutGridSelection, this);
      break;
    case VK_F2:
      ShowCellEditor();
      if (InplaceEditor()) InplaceEditor()->Deselect();
      break;
    default: return;
  }
  Key = 0;
}

void TCustomDBGridZk::KeyDown(Word& Key, TShiftState Shift) {
  FAntiSelection = Shift.Contains(ssCtrl) || !FOptionsZk.Contains(dghClearSelection);
  if (OnKeyDown()) OnKeyDown()(this, Key, Shift);
  if (Key == 0 || !FDataLink->Active() || !GridAcceptsKey(Key, Shift)) return;
  if (GroupingWorks() && FCurGroupDataNode && FCurGroupDataNode->NodeType() == dntDataGroupZk) {
    GroupRowKeyDown(Key, Shift);
    if (Key == 0) return;
  }
  if (!Shift.Contains(ssCtrl) && TreeNodeKeyDown(Key)) {
    Key = 0;
    return;
  }
  if (KeyDownShortcut(Key, Shift)) {
    Key = 0;
    return;
  }
  const Word Original = Key;
  if (Shift.Contains(ssCtrl)) KeyDownCtrl(Key, Shift);
  else KeyDownPlain(Key, Shift);
  if (Key != 0 && Original != VK_LEFT && Original != VK_RIGHT) return;
  if (Key != 0) {
    // Row select: the base grid scrolls the view sideways (its own step fires no event again).
    TKeyEvent SavedKey = OnKeyDown();
    SetOnKeyDown(nullptr);
    try {
      TCustomGridZk::KeyDown(Key, Shift);
    } catch (...) {
      SetOnKeyDown(SavedKey);
      throw;
    }
    SetOnKeyDown(SavedKey);
  }
}

void TCustomDBGridZk::KeyPress(Char& Key) {
  if (FOptionsZk.Contains(dghEnterAsTab) && Key == u'\r') Key = u'\t';
  if (!FOptions.Contains(dgAlwaysShowEditor) && Key == u'\r') FDataLink->UpdateRecord();
  TCustomGridZk::KeyPress(Key);
  const bool EditorShown = InplaceEditor() && InplaceEditor()->EditorVisible();
  const bool SearchWanted =
      FInplaceSearching || (FOptionsZk.Contains(dghPreferIncSearch) &&
                            !FOptions.Contains(dgAlwaysShowEditor) && !EditorShown);
  if (SearchWanted && Key > 31 && FDataLink->Active()) {
    const TDataSetState S = DataSet()->State();
    if (S != dsEdit && S != dsInsert && S != dsSetKey) {
      StartInplaceSearch(FCompleteKeyPress.empty() ? String(1, Key) : FCompleteKeyPress,
                         FInplaceSearching ? FInplaceSearchTimeOut : GridIncSearchTimeout,
                         ltdAllZk);
      Key = 0;
    }
  }
}

void TCustomDBGridZk::KeyUp(Word& Key, TShiftState Shift) {
  if (FSortMarking && Key == VK_CONTROL) {
    FSortMarking = false;
    SortMarkingChanged();
  }
  TCustomGridZk::KeyUp(Key, Shift);
}

void TCustomDBGridZk::WMCharZk(TMessage& Message) {
  const Char Ch = Char(Message.WParam);
  FCompleteKeyPress = String(1, Ch);
  struct TClear {
    String& S;
    ~TClear() { S.clear(); }
  } Clear{FCompleteKeyPress};
  TColumnZk* C = ColumnAt(this, SelectedIndex());
  if (Ch == u' ' && C && C->Checkboxes() && !FOptions.Contains(dgRowSelect)) {
    Char K = Ch;
    if (OnKeyPress()) OnKeyPress()(this, K);
    if (K != 0) KeyPress(K);
    if (K == u' ' && C->Field() && FDataLink->Active() && ColumnEditable(SelectedIndex())) {
      FDataLink->Edit();
      C->Field()->SetAsBoolean(C->Field()->IsNull() ? true : !C->Field()->AsBoolean());
    }
    return;
  }
  const bool Editable = ColumnEditable(SelectedIndex());
  const bool EditorShown = InplaceEditor() && InplaceEditor()->EditorVisible();
  const bool ToSearch = FInplaceSearching ||
                        (FOptionsZk.Contains(dghIncSearch) && !Editable) ||
                        (FOptionsZk.Contains(dghPreferIncSearch) &&
                         !FOptions.Contains(dgAlwaysShowEditor) && !EditorShown);
  if (ToSearch && (Ch >= 32 || Ch == 8) && FDataLink->Active()) {
    const TDataSetState S = DataSet()->State();
    if (S != dsEdit && S != dsInsert && S != dsSetKey) {
      Char K = Ch;
      if (OnKeyPress()) OnKeyPress()(this, K);
      if (K != 0) KeyPress(K);
      return;
    }
  }
  // Over a tree the numpad's signs expand and collapse nodes; they open no editor.
  if (MemTableTreeShown() && (Ch == u'*' || Ch == u'+' || Ch == u'-')) {
    Char K = Ch;
    if (OnKeyPress()) OnKeyPress()(this, K);
    if (K != 0) KeyPress(K);
    return;
  }
  TCustomGridZk::Dispatch(Message);
}
