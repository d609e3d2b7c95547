// DBGridZkColumnNavigationTest.cpp - moving between the columns of an in-row panel by their
// placements: along a line and on to the next, up and down through overlapping columns, and Tab
// in the left-to-right mode.
#include <gtest/gtest.h>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/WinApi.h"

namespace {

// Two lines a pixel apart: A B C on top, D (under A and B) and E (under C) below; H hidden
// under E.
struct TPanelColumns {
  TDBGridOnForm F{3};
  TColumnZk *A, *B, *C, *D, *E, *H;
  TPanelColumns() {
    TDBGridColumnsZk* Cols = F.Grid->Columns();
    Cols->BeginUpdate();
    Cols->Clear();
    for (const char16_t* Field : {u"ID", u"NAME", u"PRICE", u"QTY", u"NOTE", u"FLAG"})
      Cols->Add()->SetFieldName(Field);
    Cols->EndUpdate();
    A = Cols->Items(0), B = Cols->Items(1), C = Cols->Items(2);
    D = Cols->Items(3), E = Cols->Items(4), H = Cols->Items(5);
    H->SetVisible(false);
    Place();
  }
  // The panel's layout places the columns itself: these placements go in after it.
  void Place() {
    auto Put = [](TColumnZk* Col, int Left, int Top, int Width) {
      TColumnZkInRowPanelPlacement P;
      P.Left = P.DataCellLeft = Left;
      P.Top = Top;
      P.Width = P.DataCellWidth = Width;
      P.Height = 20;
      Col->SetRowPlacement(P);
    };
    Put(A, 0, 0, 50);
    Put(B, 51, 0, 50);
    Put(C, 102, 0, 50);
    Put(D, 0, 21, 101);
    Put(E, 102, 21, 50);
    Put(H, 120, 42, 30);
  }
};

TEST(DBGridZkColumnNavigation, AlongTheLineAndOnToTheOthers) {
  TPanelColumns P;
  TDBGridColumnsZk* Cols = P.F.Grid->Columns();
  struct TCase { const char* Name; TColumnZk* From; bool Forward, Till; TColumnZk* To; };
  const TCase Cases[] = {
      {"right on the line", P.A, true, false, P.B},
      {"left on the line", P.C, false, false, P.B},
      {"end of the line stays", P.C, true, false, P.C},
      {"end of the line goes on to the upper-left below", P.C, true, true, P.D},
      {"start of a line goes back to the lower-right above", P.D, false, true, P.C},
      {"last column: nothing further", P.E, true, true, P.E},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(Cols->GetNextHorzColumn(C.From, C.Forward, C.Till, false), C.To) << C.Name;
}

TEST(DBGridZkColumnNavigation, UpAndDownThroughOverlappingColumns) {
  TPanelColumns P;
  TDBGridColumnsZk* Cols = P.F.Grid->Columns();
  EXPECT_EQ(Cols->GetNextVertColumn(P.B, true), P.D);
  EXPECT_EQ(Cols->GetNextVertColumn(P.C, true), P.E);
  EXPECT_EQ(Cols->GetNextVertColumn(P.E, true), P.E) << "the hidden column is no candidate";
  EXPECT_EQ(Cols->GetNextVertColumn(P.D, false), P.A) << "A and B overlap D: the leftmost";
  EXPECT_EQ(Cols->GetTopColumn(P.E), P.C);
  EXPECT_EQ(Cols->GetBottomColumn(P.A), P.D);
  // Moving up from D keeps to the span of the column the moves started from.
  Cols->SetUpDownBaseColumn(P.B);
  EXPECT_EQ(Cols->GetNextVertColumn(P.D, false), P.B);
  Cols->SetUpDownBaseColumn(P.E);
  EXPECT_EQ(Cols->GetNextVertColumn(P.D, false), P.C);
}

TEST(DBGridZkColumnNavigation, TabFollowsTheLinesInLeftToRightMode) {
  TPanelColumns P;
  TDBGridZk* G = P.F.Grid;
  TDBGridColumnsZk* Cols = G->Columns();
  P.D->SetIndex(1);   // collection order A D B C E
  EXPECT_EQ(Cols->GetNextTabColumn(P.A, true), P.D) << "collection order";
  G->RowPanel()->SetActive(true);
  G->RowPanel()->SetTabNavigationType(rpntLeftToRightPriorityZk);
  P.Place();
  EXPECT_EQ(Cols->GetNextTabColumn(P.A, true), P.B);
  EXPECT_EQ(Cols->GetNextTabColumn(P.C, true), P.D);
  EXPECT_EQ(Cols->GetNextTabColumn(P.D, false), P.C);
}

TEST(DBGridZkColumnNavigation, ArrowKeysMoveCellToCellInThePanel) {
  TPanelColumns P;
  TDBGridZk* G = P.F.Grid;
  P.D->SetIndex(1);   // collection order A D B C E: arrows follow the panel, not the order
  G->RowPanel()->SetActive(true);
  G->RowPanel()->SetNavKeysNavigationType(rpntCellToCellZk);
  P.Place();
  G->SetFocus();
  auto Press = [&](Word Key) {
    SimulateKeyPress(Key);
    return G->Columns()->Items(G->SelectedIndex());
  };
  ASSERT_EQ(G->Columns()->Items(G->SelectedIndex()), P.A);
  EXPECT_EQ(Press(VK_RIGHT), P.B);
  EXPECT_EQ(Press(VK_RIGHT), P.C);
  EXPECT_EQ(Press(VK_RIGHT), P.D) << "past the line's end: the first column of the next line";
  EXPECT_EQ(Press(VK_LEFT), P.C);
  EXPECT_EQ(Press(VK_LEFT), P.B);
  EXPECT_EQ(Press(VK_DOWN), P.D);
  EXPECT_EQ(P.F.Set->RecNo(), 1);
  EXPECT_EQ(Press(VK_UP), P.B) << "back up on the track the moves started from, not to A";
  EXPECT_EQ(P.F.Set->RecNo(), 1);
  Press(VK_DOWN);
  EXPECT_EQ(Press(VK_DOWN), P.B) << "below the panel: the next record's top column";
  EXPECT_EQ(P.F.Set->RecNo(), 2);
  EXPECT_EQ(Press(VK_UP), P.D) << "above the panel: the prior record's bottom column";
  EXPECT_EQ(P.F.Set->RecNo(), 1);
  EXPECT_EQ(Press(VK_UP), P.B);
  EXPECT_EQ(Press(VK_UP), P.B) << "at the first record the column stays";
  EXPECT_EQ(P.F.Set->RecNo(), 1);
}

}  // namespace
