// ScrollBarControlTest.cpp - the scroll bar control: its range rules, its own presses through
// the parent's reflection, and the model surviving a new window.
#include "platform/controls/ScrollBarControl.h"

#include <gtest/gtest.h>

#include "platform/controls/Forms.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/WinApi.h"

namespace {

TEST(ScrollBarControlTest, ArrowPressesMoveThePositionWithinTheRange) {
  InitControls();
  TForm Form(Application);
  Form.SetBounds(10, 10, 200, 200);
  auto* Bar = new TScrollBar(&Form);
  Bar->SetKind(sbVertical);
  Bar->SetParent(&Form);
  Bar->SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), 120);
  Bar->SetParams(0, 0, 2);
  int Changes = 0;
  Bar->SetOnChange([&](TObject*) { ++Changes; });
  Form.Show();
  const TPoint Down = Bar->ClientToScreen({2, Bar->Height() - 3});
  for (int I = 0; I < 4; ++I) {
    SimulateMouseDown(mbLeft, Down);
    SimulateMouseUp(mbLeft, Down);
  }
  EXPECT_EQ(Bar->Position(), 2);   // stops at Max
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(GetScrollPos(Bar, SB_VERT), 2);

  Bar->SetParams(5, 3, 1);   // Max below Min is raised to it
  EXPECT_EQ(Bar->Max(), 3);
  EXPECT_EQ(Bar->Position(), 3);
  Bar->SetCtl3D(false);   // a new window shows the same model
  EXPECT_EQ(GetScrollPos(Bar, SB_VERT), 3);
  EXPECT_TRUE(GetScrollBarState(Bar, SB_VERT).Visible);   // shown, disabled, with no range
}

}  // namespace
