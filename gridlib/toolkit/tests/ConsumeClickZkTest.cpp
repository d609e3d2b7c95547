// ConsumeClickZkTest.cpp - swallowing the queued press that closed a drop-down.
#include <gtest/gtest.h>

#include "gridlib/toolkit/ConsumeClickZk.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

namespace {

class TButtonSpot : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
};

class ConsumeClick : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    Form = new TForm(Application);
    Form->SetBounds(0, 0, 300, 200);
    Spot = new TButtonSpot(Form);
    Spot->SetParent(Form);
    Spot->SetBounds(100, 10, 20, 20);
    Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 50, 100, 100);
    Form->HandleNeeded();
  }
  void TearDown() override {
    TMsg Msg;
    while (PeekMessage(Msg, nullptr, 0, 0, PM_REMOVE)) {}
    delete Form;
  }
  TForm* Form = nullptr;
  TButtonSpot* Spot = nullptr;
  TPanel* Panel = nullptr;
};

TEST_F(ConsumeClick, PressOnAWindowlessControlIsRemoved) {
  Spot->SetEnabled(false);   // disabled controls count too
  PostMessage(Form, WM_LBUTTONDBLCLK, 0, MAKELPARAM(105, 15));
  PostMessage(Form, WM_LBUTTONDOWN, 0, MAKELPARAM(105, 15));
  EXPECT_TRUE(ConsumePendingClickOnControl(Spot));
  EXPECT_EQ(QueuedMessageCount(), 1);
  EXPECT_TRUE(ConsumePendingClickInRect(Spot));
  EXPECT_EQ(QueuedMessageCount(), 0);
  EXPECT_FALSE(ConsumePendingClickOnControl(Spot));
}

TEST_F(ConsumeClick, OtherPressesStayQueued) {
  struct Row {
    const char* Name;
    unsigned Message;
    TPoint P;
  } Rows[] = {
      {"beside the control", WM_LBUTTONDOWN, {50, 15}},
      {"a release comes first", WM_LBUTTONUP, {105, 15}},
  };
  for (const Row& R : Rows) {
    PostMessage(Form, R.Message, 0, MAKELPARAM(R.P.X, R.P.Y));
    PostMessage(Form, WM_LBUTTONDOWN, 0, MAKELPARAM(105, 15));
    EXPECT_FALSE(ConsumePendingClickOnControl(Spot)) << R.Name;
    EXPECT_FALSE(ConsumePendingClickInRect(Spot)) << R.Name;
    EXPECT_EQ(QueuedMessageCount(), 2) << R.Name;
    TMsg Msg;
    while (PeekMessage(Msg, nullptr, 0, 0, PM_REMOVE)) {}
  }
}

TEST_F(ConsumeClick, WindowedControlInRectNeedsTheClickInsideItsClientRect) {
  PostMessage(Panel, WM_LBUTTONDOWN, 0, MAKELPARAM(-5, 20));   // captured press outside
  EXPECT_FALSE(ConsumePendingClickInRect(Panel));
  EXPECT_TRUE(ConsumePendingClickOnControl(Panel));
  PostMessage(Panel, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 20));
  EXPECT_TRUE(ConsumePendingClickInRect(Panel));
  EXPECT_EQ(QueuedMessageCount(), 0);
}

}  // namespace
