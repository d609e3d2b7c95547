// DBGridZkInputTest.cpp - the data grid's keys, clicks and selection: tables of key presses and
// of selection transitions, title clicks with sort marking, the check box stepped on release,
// the delete question, the incremental search on the test clock.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gridlib/grid/DBGridZkDraw.h"
#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"

namespace {

class DBGridZkInput : public ::testing::Test {
protected:
  void SetUp() override {
    UseTestClock(true);
    AdvanceTestClock(1000);   // earlier presses make no double clicks
    G->SetFocus();
  }
  void TearDown() override { UseTestClock(false); }

  TPoint CellPoint(int ACol, int ARow, int DX = 0, int DY = 0) {
    const TRect R = G->CellScreenRect(ACol, ARow);
    return G->ClientToScreen(TPoint((R.Left + R.Right) / 2 + DX, (R.Top + R.Bottom) / 2 + DY));
  }
  void Click(int ACol, int ARow, TShiftState Shift = {}) {
    AdvanceTestClock(1000);
    SimulateMouseDown(mbLeft, CellPoint(ACol, ARow), Shift);
    SimulateMouseUp(mbLeft, CellPoint(ACol, ARow), Shift);
  }
  std::vector<int> SelectedIds() {
    std::vector<int> Ids;
    TBookmarkListZk* Rows = G->SelectedRows();
    const TBookmark Saved = F.Set->GetBookmark();
    for (int I = 0; I < Rows->Count(); ++I) {
      F.Set->GotoBookmark(*Rows->Items(I));
      Ids.push_back(F.Set->FieldByName(u"ID")->AsInteger());
    }
    F.Set->GotoBookmark(Saved);
    return Ids;
  }

  TDBGridOnForm F{20, 520, 260};
  TDBGridZk* G = F.Grid;
};

TEST_F(DBGridZkInput, RowKeysAppendCancelAndWrap) {
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  F.Set->Last();
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(F.Set->State(), dsInsert) << "Down on the last record appends";
  SimulateKeyPress(VK_UP);
  EXPECT_EQ(F.Set->State(), dsBrowse) << "Up cancels the untouched insert";
  EXPECT_EQ(F.Set->RecNo(), 20);
  // Tab on the last column of the last record appends and goes to the first column.
  G->MoveCol(G->Columns()->Count() - 1, 0, false);
  SimulateKeyPress(VK_TAB);
  EXPECT_EQ(F.Set->State(), dsInsert);
  EXPECT_EQ(G->SelectedIndex(), 0);
  F.Set->Cancel();
  // Enter as Tab, Shift+Enter backwards.
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghEnterAsTab});
  G->MoveCol(2, 0, false);
  SimulateKeyPress(VK_RETURN);
  EXPECT_EQ(G->SelectedIndex(), 3);
  SimulateKeyPress(VK_RETURN, {ssShift});
  SimulateKeyPress(VK_RETURN, {ssShift});
  EXPECT_EQ(G->SelectedIndex(), 1);
}

TEST_F(DBGridZkInput, TabSkipsColumnsThatCannotBeWritten) {
  G->Columns()->Items(1)->SetReadOnly(true);              // NAME: the column is read-only
  F.Set->FieldByName(u"QTY")->SetReadOnly(true);          // QTY: the field is
  G->Columns()->Items(3)->SetVisible(true);
  struct TStep { const char* Name; TShiftState Shift; int RecNo, Col; };
  const TStep Steps[] = {
      {"over the read-only column", {}, 1, 2},
      {"over the read-only field", {}, 1, 4},
      {"to the last Tab stop", {}, 1, 5},
      {"wraps to the next record", {}, 2, 0},
      {"back to the prior record", {ssShift}, 1, 5},
      {"back over the read-only field", {ssShift}, 1, 4},
      {"back over both", {ssShift}, 1, 2},
  };
  F.Set->First();
  G->MoveCol(0, 0, false);
  for (const TStep& S : Steps) {
    SimulateKeyPress(VK_TAB, S.Shift);
    EXPECT_EQ(F.Set->RecNo(), S.RecNo) << S.Name;
    EXPECT_EQ(G->SelectedIndex(), S.Col) << S.Name;
  }
  EXPECT_FALSE(G->Columns()->Items(1)->IsTabStop());
  EXPECT_EQ(G->Columns()->GetFirstTabColumn(), G->Columns()->Items(0));
  EXPECT_EQ(G->Columns()->GetLastTabColumn(), G->Columns()->Items(5));
}

TEST_F(DBGridZkInput, KeyTable) {
  struct TCase {
    const char* Name;
    Word Key;
    TShiftState Shift;
    int StartRecNo, StartCol;
    int RecNo, Col;
  };
  const TCase Cases[] = {
      {"Down", VK_DOWN, {}, 3, 1, 4, 1},
      {"PgDn stops at the end", VK_NEXT, {}, 18, 1, 20, 1},
      {"Ctrl+Home", VK_HOME, {ssCtrl}, 9, 2, 1, 2},
      {"Ctrl+End", VK_END, {ssCtrl}, 9, 2, 20, 2},
      {"Home goes to the first column", VK_HOME, {}, 5, 3, 5, 0},
      {"End goes to the last column", VK_END, {}, 5, 1, 5, 5},
      {"Right", VK_RIGHT, {}, 5, 1, 5, 2},
      {"Ctrl+Left", VK_LEFT, {ssCtrl}, 5, 3, 5, 0},
      {"Tab without editing", VK_TAB, {}, 5, 5, 6, 0},
      {"Shift+Tab wraps back", VK_TAB, {ssShift}, 5, 0, 4, 5},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    F.Set->SetRecNo(C.StartRecNo);
    G->MoveCol(C.StartCol, 0, false);
    SimulateKeyPress(C.Key, C.Shift);
    EXPECT_EQ(F.Set->RecNo(), C.RecNo);
    EXPECT_EQ(G->SelectedIndex(), C.Col);
  }
}

TEST_F(DBGridZkInput, KeysWithAnInactiveLinkOnlyFireOnKeyDown) {
  int Fired = 0;
  G->SetOnKeyDown([&](TObject*, Word&, TShiftState) { ++Fired; });
  F.Set->Close();
  for (Word Key : {Word(VK_DOWN), Word(VK_DELETE), Word(VK_TAB), Word(VK_F2)})
    EXPECT_NO_THROW(SimulateKeyPress(Key, {ssCtrl}));
  EXPECT_EQ(Fired, 4);
}

TEST_F(DBGridZkInput, SpaceDeleteAndCopyOfThePreviousValue) {
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->Columns()->Items(4)->SetCheckboxes(true);
  F.Set->SetRecNo(1);   // FLAG false
  G->MoveCol(4, 0, false);
  SimulateKeyPress(VK_SPACE);
  EXPECT_TRUE(F.Set->FieldByName(u"FLAG")->AsBoolean()) << "Space steps the check box";
  F.Set->Cancel();
  F.Set->First();
  G->MoveCol(3, 0, false);
  SimulateKeyPress(222, {ssCtrl});
  EXPECT_EQ(F.Set->State(), dsBrowse) << "Ctrl+' on the first row does nothing";
  F.Set->SetRecNo(2);
  SimulateKeyPress(222, {ssCtrl});
  EXPECT_EQ(F.Set->FieldByName(u"QTY")->AsInteger(), 2) << "the value of the row above";
  F.Set->Cancel();
}

TEST_F(DBGridZkInput, CtrlDeleteAsksAndDeletes) {
  auto Answerer = new TTestDialogAnswerer;
  auto Saved = SetDialogService(std::unique_ptr<IDialogService>(Answerer));
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect});
  struct TCase {
    const char* Name;
    bool Confirm;
    int Selected;
    TModalResult Answer;
    const char16_t* Question;
    int CountAfter;
  };
  const TCase Cases[] = {
      {"one record, Cancel", true, 0, mrCancel, u"Delete record?", 20},
      {"one record, OK", true, 0, mrOk, u"Delete record?", 19},
      {"two selected, OK", true, 2, mrOk, u"Delete all selected records?", 17},
      {"without the option", false, 0, mrNone, nullptr, 16},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    G->SetOptions(C.Confirm ? G->Options() + TDBGridOptions{dgConfirmDelete}
                            : G->Options() - TDBGridOptions{dgConfirmDelete});
    Answerer->Messages.clear();
    if (C.Answer != mrNone) Answerer->MessageAnswers.push_back(C.Answer);
    F.Set->SetRecNo(3);
    for (int I = 0; I < C.Selected; ++I) {
      G->SelectedRows()->SetCurrentRowSelected(true);
      F.Set->Next();
    }
    SimulateKeyPress(VK_DELETE, {ssCtrl});
    if (C.Question) {
      ASSERT_EQ(Answerer->Messages.size(), 1u);
      EXPECT_EQ(Answerer->Messages[0].Text, C.Question);
    } else {
      EXPECT_TRUE(Answerer->Messages.empty());
    }
    EXPECT_EQ(F.Set->RecordCount(), C.CountAfter);
  }
  SetDialogService(std::move(Saved));
}

TEST_F(DBGridZkInput, SelectionTransitions) {
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect});
  TDBGridZkSelection* S = G->Selection();
  // Indicator clicks select records; Ctrl adds, Shift extends from the anchor.
  Click(0, 2);
  EXPECT_EQ(S->SelectionType(), gstRecordBookmarks);
  EXPECT_EQ(SelectedIds(), (std::vector<int>{2}));
  Click(0, 4, {ssCtrl});
  EXPECT_EQ(SelectedIds(), (std::vector<int>{2, 4}));
  Click(0, 1);
  EXPECT_EQ(SelectedIds(), (std::vector<int>{1})) << "a plain click starts over";
  Click(0, 3, {ssShift});
  EXPECT_EQ(SelectedIds(), (std::vector<int>{1, 2, 3}));
  // A data-cell click clears it; dragging over cells makes a rectangle.
  Click(2, 2);
  EXPECT_EQ(S->SelectionType(), gstNon) << "a rectangle of one cell is no selection";
  Click(3, 4, {ssShift});
  EXPECT_EQ(S->SelectionType(), gstRectangle);
  EXPECT_EQ(S->Rect()->LeftCol(), 1);
  EXPECT_EQ(S->Rect()->RightCol(), 2);
  EXPECT_TRUE(S->DataCellSelected(2, F.Set->GetBookmark()));
  // The lowest pixels of a title select its column; Ctrl adds another.
  const TRect T = G->CellScreenRect(2, 0);
  AdvanceTestClock(1000);
  const TPoint Band = G->ClientToScreen(TPoint(T.Left + 10, T.Bottom - 2));
  SimulateMouseDown(mbLeft, Band);
  SimulateMouseUp(mbLeft, Band);
  EXPECT_EQ(S->SelectionType(), gstColumns);
  ASSERT_EQ(S->Columns()->size(), 1u);
  EXPECT_EQ((*S->Columns())[0]->FieldName(), u"NAME");
  // The indicator title selects everything, and clears again.
  Click(0, 0);
  EXPECT_EQ(S->SelectionType(), gstNon);
  Click(0, 0);
  EXPECT_EQ(S->SelectionType(), gstAll);
  G->ClearSelection();
  EXPECT_EQ(S->SelectionType(), gstNon);
}

TEST_F(DBGridZkInput, RangeWalkStopsAtTheEndAndUndoesBackwards) {
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect, dgRowSelect});
  F.Set->SetRecNo(17);
  G->MoveWithSelection(true, 10, false, true);
  EXPECT_EQ(F.Set->RecNo(), 20) << "the walk stops at the last record";
  EXPECT_EQ(SelectedIds(), (std::vector<int>{17, 18, 19, 20}));
  G->MoveWithSelection(true, -2, false, true);
  EXPECT_EQ(SelectedIds(), (std::vector<int>{17, 18})) << "walking back unselects";
  // Anti-selection: a range from a selected anchor takes the opposite state.
  G->ClearSelection();
  F.Set->SetRecNo(5);
  G->SelectedRows()->SetCurrentRowSelected(true);
  G->SetOptionsZk(G->OptionsZk() - TDBGridZkOptions{dghClearSelection});
  SimulateKeyPress(VK_UP, {ssShift});
  SimulateKeyPress(VK_UP, {ssShift});
  EXPECT_EQ(SelectedIds(), (std::vector<int>{})) << "the range unselected the anchor too";
}

TEST_F(DBGridZkInput, TitleClicksApplySortMarking) {
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghAutoSortMarking, dghMultiSortMarking});
  for (int I = 0; I < G->Columns()->Count(); ++I) G->Columns()->Items(I)->Title()->SetTitleButton(true);
  int Applied = 0;
  G->SetOnSortMarkingChanged([&](TObject*) { ++Applied; });
  Click(2, 0);
  EXPECT_EQ(Applied, 1);
  EXPECT_EQ(G->Columns()->Items(1)->Title()->SortMarker(), smDownZk);
  Click(2, 0);
  EXPECT_EQ(G->Columns()->Items(1)->Title()->SortMarker(), smUpZk);
  // Ctrl clicks mark several columns; the sorting waits for the release of Ctrl.
  Click(3, 0, {ssCtrl});
  EXPECT_EQ(Applied, 2);
  SimulateKeyUp(VK_CONTROL);
  EXPECT_EQ(Applied, 3);
  ASSERT_EQ(G->SortMarkedColumns().size(), 2u);
  EXPECT_EQ(G->SortMarkedColumns()[1]->FieldName(), u"PRICE");
  // A press moved more than 3 pixels with column moving on is no click.
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghColumnMove});
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, CellPoint(2, 0));
  SimulateMouseMove(CellPoint(2, 0, 5, 0));
  SimulateMouseUp(mbLeft, CellPoint(2, 0, 5, 0));
  EXPECT_EQ(Applied, 3);
}

TEST_F(DBGridZkInput, CheckBoxStepsOnReleaseAndWheelMovesOneRecord) {
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->Columns()->Items(4)->SetCheckboxes(true);
  F.Set->First();
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, CellPoint(5, 3));
  EXPECT_EQ(F.Set->RecNo(), 3);
  EXPECT_FALSE(F.Set->FieldByName(u"FLAG")->AsBoolean()) << "not on the press";
  SimulateMouseUp(mbLeft, CellPoint(5, 3));
  EXPECT_TRUE(F.Set->FieldByName(u"FLAG")->AsBoolean());
  F.Set->Cancel();
  SimulateMouseWheel(-120, CellPoint(2, 3));
  EXPECT_EQ(F.Set->RecNo(), 4);
  SimulateMouseWheel(120, CellPoint(2, 3));
  EXPECT_EQ(F.Set->RecNo(), 3);
}

TEST_F(DBGridZkInput, IncrementalSearchTakesTheDataCaseAndTimesOut) {
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghIncSearch, dghPreferIncSearch});
  G->MoveCol(1, 0, false);
  F.Set->First();
  SimulateTyping(u"o'n");
  EXPECT_TRUE(G->InplaceSearching());
  EXPECT_EQ(G->InplaceSearchText(), u"O'N") << "the letter case of the data";
  EXPECT_EQ(F.Set->RecNo(), 2);
  SimulateTyping(u"z");
  EXPECT_EQ(G->InplaceSearchText(), u"O'N") << "a character that finds nothing is dropped";
  SimulateKeyPress(VK_BACK);
  EXPECT_EQ(G->InplaceSearchText(), u"O'");
  AdvanceTestClock(1499);
  Application->ProcessMessages();
  EXPECT_TRUE(G->InplaceSearching());
  AdvanceTestClock(1);
  Application->ProcessMessages();
  EXPECT_FALSE(G->InplaceSearching()) << "1500 ms without a key end a typed search";
  // Ctrl+F starts a search without time-out; a second Ctrl+F opens the find dialog.
  G->SetOptionsZk(G->OptionsZk() + TDBGridZkOptions{dghDialogFind});
  int Dialogs = 0;
  DBGridZkRoutines().ShowGridFindDialog = [&](TCustomDBGridZk*, const String&, const String&,
                                              bool) { ++Dialogs; };
  SimulateKeyPress(u'F', {ssCtrl});
  EXPECT_TRUE(G->InplaceSearching());
  AdvanceTestClock(5000);
  Application->ProcessMessages();
  EXPECT_TRUE(G->InplaceSearching());
  SimulateKeyPress(u'F', {ssCtrl});
  EXPECT_FALSE(G->InplaceSearching());
  EXPECT_EQ(Dialogs, 1);
  DBGridZkRoutines().ShowGridFindDialog = nullptr;
}

TEST_F(DBGridZkInput, SelectionsArePainted) {
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect});
  Click(2, 2);
  Click(3, 4, {ssShift});   // NAME..PRICE of records 2..4
  Application->ProcessMessages();
  TBitmap B;
  RenderControl(G, B);
  SaveShot(G, "dbgrid-rectangle.png");
  const TRect Insets = G->NonClientInsets();
  auto Pixel = [&](int ACol, int ARow) {
    const TRect R = G->CellScreenRect(ACol, ARow);
    return B.PixelRGB(Insets.Left + R.Left + 3, Insets.Top + R.Top + 3);
  };
  // Selected cells other than the current one are lightened toward the highlight colour.
  const TColorRef Lit = ColorToRGB(LightenColor(G->Color(), clHighlight, true));
  EXPECT_EQ(Pixel(2, 3), Lit) << "inside the rectangle";
  EXPECT_EQ(Pixel(3, 2), Lit);
  EXPECT_EQ(Pixel(3, 4), ColorToRGB(clHighlight)) << "the current cell";
  EXPECT_NE(Pixel(4, 3), Lit) << "right of it";
  EXPECT_NE(Pixel(2, 5), Lit) << "below it";
}

TEST_F(DBGridZkInput, SizingZones) {
  G->SetRowSizingAllowed(true);
  G->SetFrozenCols(1);
  struct TCase {
    const char* Name;
    int ACol, ARow;
    bool RightEdge, BottomEdge;
    TGridState State;
  };
  const TCase Cases[] = {
      {"title edge of a scrolled column", 3, 0, true, false, gsColSizing},
      {"title edge of the frozen column", 1, 0, true, false, gsColSizing},
      {"row edge over a data cell", 2, 3, false, true, gsNormal},
      {"inside a data cell", 2, 3, false, false, gsNormal},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TRect R = G->CellScreenRect(C.ACol, C.ARow);
    const int X = C.RightEdge ? R.Right : (R.Left + R.Right) / 2;
    const int Y = C.BottomEdge ? R.Bottom : (R.Top + R.Bottom) / 2;
    TGridState State = gsNormal;
    int Index = -1, Pos = 0, Ofs = 0;
    TGridMetrics M;
    G->FindSizingLine(X, Y, State, Index, Pos, Ofs, M);
    EXPECT_EQ(State, C.State);
    if (C.State == gsColSizing) {
      EXPECT_EQ(Index, C.ACol);
    }
  }
  // Under tall titles the frozen column's zone ends with the one-line filter row below them:
  // its edge in the data rows is no sizing edge.
  G->STFilter()->SetLocation(stflUnderTitleFilterZk);
  G->STFilter()->SetVisible(true);
  G->SetTitleLines(3);
  ASSERT_EQ(G->TopDataOffset(), 2);
  for (const int ARow : {1, 2, 3}) {
    SCOPED_TRACE(ARow == 1 ? "filter row" : "data row");
    const TRect R = G->CellScreenRect(1, ARow);
    TGridState State = gsNormal;
    int Index = -1, Pos = 0, Ofs = 0;
    TGridMetrics M;
    G->FindSizingLine(R.Right, (R.Top + R.Bottom) / 2, State, Index, Pos, Ofs, M);
    EXPECT_EQ(State, ARow == 1 ? gsColSizing : gsNormal);
  }
}

TEST_F(DBGridZkInput, EscCancelsColumnSizing) {
  const TRect T = G->CellScreenRect(2, 0);
  const TPoint Edge = G->ClientToScreen(TPoint(T.Right, T.Top + 5));
  const int Before = G->ColWidth(2);
  SimulateMouseDown(mbLeft, Edge);
  SimulateMouseMove(G->ClientToScreen(TPoint(T.Right + 40, T.Top + 5)), {ssLeft});
  SimulateKeyPress(VK_ESCAPE);
  SimulateMouseUp(mbLeft, G->ClientToScreen(TPoint(T.Right + 40, T.Top + 5)));
  EXPECT_EQ(G->ColWidth(2), Before);
}

}  // namespace
