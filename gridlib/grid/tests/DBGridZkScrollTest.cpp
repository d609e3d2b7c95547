// DBGridZkScrollTest.cpp - the data grid's vertical bar: record numbers of a sequenced
// dataset, five positions of an unsequenced one, the mode that always shows, thumb tracking
// past 16 bits, and the thumb kept while a record is inserted.
#include <gtest/gtest.h>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/controls/ScrollBars.h"

namespace {

// A dataset that cannot number its records.
class TUnsequencedSet : public TArrayDataSet {
public:
  using TArrayDataSet::TArrayDataSet;
  bool IsSequenced() const override { return false; }
};

void TenRowsHigh(TDBGridZk* G) {
  for (int H = 60; H < 600 && G->VisibleDataRowCount() != 10; ++H) G->SetHeight(H);
  ASSERT_EQ(G->VisibleDataRowCount(), 10);
}

SCROLLINFO Bar(TDBGridZk* G) {
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  GetScrollInfo(G, SB_VERT, SI);
  return SI;
}

TEST(DBGridZkScroll, SequencedRangeFollowsRecordNumbers) {
  TDBGridOnForm F(100);
  TDBGridZk* G = F.Grid;
  TenRowsHigh(G);
  // Line steps go to the record just outside the visible window.
  struct TCase { unsigned Code; int RecNo; };
  const TCase Cases[] = {{SB_PAGEDOWN, 11}, {SB_LINEDOWN, 12}, {SB_LINEUP, 2},
                         {SB_BOTTOM, 100}, {SB_TOP, 1}};
  EXPECT_EQ(Bar(G).nMin, 1);
  EXPECT_EQ(Bar(G).nMax, 109);
  EXPECT_EQ(static_cast<int>(Bar(G).nPage), 10);
  for (const TCase& C : Cases) {
    G->Perform(WM_VSCROLL, C.Code, 0);
    EXPECT_EQ(F.Set->RecNo(), C.RecNo) << "code " << C.Code;
    EXPECT_EQ(Bar(G).nPos, C.RecNo) << "code " << C.Code;
  }
}

TEST(DBGridZkScroll, UnsequencedBarHasFivePositions) {
  DBGridZkModuleInitialize();
  {
    TDBGridOnForm F(0);
    auto* Set = new TUnsequencedSet(F.Form);
    FillItems(Set, 50);
    Set->Open();
    // Through nil: a source switched between two open datasets tells its links nothing.
    F.Source->SetDataSet(nullptr);
    F.Source->SetDataSet(Set);
    TDBGridZk* G = F.Grid;
    EXPECT_EQ(Bar(G).nMin, 0);
    EXPECT_EQ(Bar(G).nMax, 4);
    EXPECT_EQ(Bar(G).nPos, 0);
    Set->MoveBy(5);
    EXPECT_EQ(Bar(G).nPos, 2);
    ScrollBarTrack(G, SB_VERT, 4);
    ScrollBarEndTrack(G, SB_VERT);
    EXPECT_EQ(Set->FieldByName(u"ID")->AsInteger(), 50);
    EXPECT_EQ(Bar(G).nPos, 4);
  }
  DBGridZkModuleFinalize();
}

TEST(DBGridZkScroll, ThumbAtSeventyThousandOfAHundredThousandLandsThere) {
  TDBGridOnForm F(100000);
  TDBGridZk* G = F.Grid;
  EXPECT_EQ(Bar(G).nMax, 100000 + G->VisibleDataRowCount() - 1);
  ScrollBarTrack(G, SB_VERT, 70000);
  ScrollBarEndTrack(G, SB_VERT);
  EXPECT_EQ(F.Set->RecNo(), 70000) << "the 32-bit track position, not the message's 16 bits";
  G->VertScrollBar()->SetTracking(true);
  ScrollBarTrack(G, SB_VERT, 65537);
  EXPECT_EQ(F.Set->RecNo(), 65537);
}

TEST(DBGridZkScroll, AlwaysShownBarIsDisabledWhenThereIsNothingToScroll) {
  TDBGridOnForm F(0);
  TDBGridZk* G = F.Grid;
  G->VertScrollBar()->SetVisibleMode(sbAlwaysShowZk);
  const TScrollBarState S = GetScrollBarState(G, SB_VERT);
  EXPECT_TRUE(S.Visible);
  EXPECT_EQ(S.Disabled, static_cast<unsigned>(ESB_DISABLE_BOTH));
}

TEST(DBGridZkScroll, ThumbStaysWhileInserting) {
  TDBGridOnForm F(100);
  TDBGridZk* G = F.Grid;
  F.Set->SetRecNo(40);
  const int Pos = Bar(G).nPos;
  F.Set->Insert();
  EXPECT_EQ(Bar(G).nPos, Pos);
  F.Set->Cancel();
}

}  // namespace

namespace {

TEST(DBGridZkScroll, AnExternalBarServesOneGridOnly) {
  TDBGridOnForm F(3);
  auto* Bar = new TScrollBar(F.Form);
  Bar->SetName(u"SB1");
  F.Grid->VertScrollBar()->SetExtScrollBar(Bar);
  EXPECT_EQ(Bar->Max(), 3 + F.Grid->VisibleDataRowCount() - 1) << "the bar mirrors the range";
  auto* Other = new TDBGridZk(F.Form);
  try {
    Other->VertScrollBar()->SetExtScrollBar(Bar);
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"Possible SB1 already attached to the other control.");
  }
  EXPECT_EQ(Other->VertScrollBar()->ExtScrollBar(), nullptr) << "left unchanged";
  delete Bar;
  EXPECT_EQ(F.Grid->VertScrollBar()->ExtScrollBar(), nullptr) << "a freed bar is dropped";
  Other->VertScrollBar()->SetExtScrollBar(new TScrollBar(F.Form));
}

// Frozen columns stay at the left while the others scroll; at least one column is left to
// scroll however many are asked to freeze.
TEST(DBGridZkScroll, FrozenColumnsStayInViewWhileTheOthersScroll) {
  TDBGridOnForm F(20, 300, 200);
  TDBGridZk* G = F.Grid;
  G->SetFrozenCols(1);
  const TRect Frozen = G->CellRect(1, G->TopDataOffset());
  EXPECT_EQ(G->FixedCols(), G->IndicatorOffset() + 1);
  G->SetLeftCol(4);
  ASSERT_EQ(G->LeftCol(), 4);
  EXPECT_EQ(G->CellRect(1, G->TopDataOffset()), Frozen);
  EXPECT_EQ(G->CellRect(4, G->TopDataOffset()).Left, Frozen.Right + G->GridLineWidth());
  SaveShot(G, "dbgrid-frozen-scrolled.png");
  G->SetFrozenCols(50);
  EXPECT_EQ(G->FixedCols(), G->ColCount() - 1);
  EXPECT_EQ(G->FrozenColCount(), G->ColCount() - 1 - G->IndicatorOffset());
}

}  // namespace
