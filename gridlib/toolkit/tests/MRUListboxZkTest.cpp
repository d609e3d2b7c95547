// MRUListboxZkTest.cpp - the most-recently-used drop-down list: its scroll bar beside the size
// grip, scrolling through it, and the list's own bars kept off.
#include <gtest/gtest.h>

#include "gridlib/toolkit/MRUListboxZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

namespace {

class MRUListbox : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    List = new TMRUListboxZk(Application);
    for (int I = 0; I < 10; ++I) List->Items()->Add(u"text " + IntToStr(I));
    List->SetBounds(0, 0, 150, 100);
    List->HandleNeeded();
    List->SetRowCount(4);
    List->Link().Open({100, 100});
  }
  void TearDown() override {
    List->Link().Close();
    delete List;
  }
  TScrollBar* Bar() const { return List->ScrollBar(); }
  TMRUListboxZk* List = nullptr;
};

TEST_F(MRUListbox, BarStandsAtTheRightEdgeClearOfTheGrip) {
  EXPECT_EQ(List->WindowStyle() & (WS_VSCROLL | WS_HSCROLL), 0u);
  EXPECT_EQ(List->ClientWidth(), List->Width() - 2 * List->BorderWidth());
  ASSERT_TRUE(Bar()->Visible());
  const int Grip = List->SizeGrip()->Height();
  struct {
    TSizeGripChangePosition Move;
    TSizeGripPostion Corner;
    int Top, Height;
    bool Triangle;
  } const Cases[] = {
      {sgcpToBottom, sgpBottomRight, 0, List->ClientHeight() - Grip, false},
      {sgcpToTop, sgpTopRight, Grip, List->ClientHeight() - Grip, false},
      {sgcpToLeft, sgpTopLeft, 0, List->ClientHeight(), true},
      {sgcpToBottom, sgpBottomLeft, 0, List->ClientHeight(), true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(int(C.Corner));
    List->Perform(WM_SIZEGRIPCHANGEPOSITION, C.Move, 0);
    ASSERT_EQ(List->SizeGrip()->Position(), C.Corner);
    EXPECT_EQ(Bar()->Left(), List->ClientWidth() - Bar()->Width());
    EXPECT_EQ(Bar()->Top(), C.Top);
    EXPECT_EQ(Bar()->Height(), C.Height);
    EXPECT_EQ(List->SizeGrip()->TriangleWindow(), C.Triangle);
  }
  Bar()->SetBounds(0, 0, 5, 5);   // moved by somebody else: put back
  EXPECT_EQ(Bar()->Left(), List->ClientWidth() - Bar()->Width());
}

TEST_F(MRUListbox, BarFollowsTheContentAndHidesWhenAllRowsFit) {
  EXPECT_EQ(Bar()->Max(), 9);
  EXPECT_EQ(Bar()->PageSize(), 4);
  while (List->Items()->Count() > 4) List->Items()->Delete(0);
  List->Perform(CM_CHANGED, 0, 0);
  EXPECT_FALSE(Bar()->Visible());
  EXPECT_TRUE(List->SizeGrip()->TriangleWindow());
  EXPECT_EQ(List->WindowStyle() & WS_VSCROLL, 0u);
}

TEST_F(MRUListbox, BarScrollsTheListAndFollowsTheWheel) {
  const TPoint DownArrow = Bar()->ClientToScreen({2, Bar()->Height() - 3});
  SimulateMouseDown(mbLeft, DownArrow);
  SimulateMouseUp(mbLeft, DownArrow);
  EXPECT_EQ(List->TopIndex(), 1);
  EXPECT_EQ(Bar()->Position(), 1);
  SimulateMouseWheel(-2 * WHEEL_DELTA, List->ClientToScreen({5, 5}));
  EXPECT_EQ(List->TopIndex(), 3);
  EXPECT_EQ(Bar()->Position(), 3);
}

}  // namespace
