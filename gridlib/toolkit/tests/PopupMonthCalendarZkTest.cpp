// PopupMonthCalendarZkTest.cpp - the drop-down calendar closing through its owner: keys, a click
// on a day, the title buttons, the outside press, the wheel and the border.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gridlib/toolkit/CloseUpOwnerZk.h"
#include "gridlib/toolkit/DropDownZk.h"
#include "gridlib/toolkit/PopupMonthCalendarZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

namespace {

using TLog = std::vector<std::string>;

// An editor that owns the calendar and hides it when asked to close.
class TDateOwner : public TCustomControl, public ICloseUpOwnerZk {
public:
  TDateOwner(TComponent* Owner, TLog* Log) : TCustomControl(Owner), FLog(Log) {}
  void CloseUp(bool Accept) override {
    FLog->push_back(Accept ? "accept" : "cancel");
    if (Calendar) Calendar->TDropDownWindow::CloseUp(Accept);
  }
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_LBUTTONDOWN) FLog->push_back("owner down");
    TCustomControl::Dispatch(M);
  }
  TPopupMonthCalendarZk* Calendar = nullptr;

private:
  TLog* FLog;
};

class PopupMonthCalendarTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    UseTestClock(true);
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 400, 300);
    Owner = new TDateOwner(Form, &Log);
    Owner->SetParent(Form);
    Owner->SetBounds(10, 10, 100, 20);
    Form->Show();
    Calendar = new TPopupMonthCalendarZk(Owner);
    Owner->Calendar = Calendar;
    Calendar->SetDate(EncodeDate(2024, 3, 15));
    Calendar->DropDownAt(Owner->ClientToScreen({0, Owner->Height()}));
  }
  void TearDown() override {
    delete Form;
    UseTestClock(false);
  }
  void Key(Word K) { Calendar->Perform(WM_KEYDOWN, K, 0); }
  // Screen point of a client point of the calendar.
  TPoint At(TPoint Client) { return Calendar->ClientToScreen(Client); }
  TPoint CenterOf(const TRect& R) { return At({(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}); }
  void Click(TPoint Screen) {
    SimulateMouseDown(mbLeft, Screen);
    SimulateMouseUp(mbLeft, Screen);
    AdvanceTestClock(1000);
  }

  TLog Log;
  TForm* Form = nullptr;
  TDateOwner* Owner = nullptr;
  TPopupMonthCalendarZk* Calendar = nullptr;
};

TEST_F(PopupMonthCalendarTest, OpensSizedToTheMonthWithoutTheFocus) {
  EXPECT_TRUE(Calendar->DroppedDown());
  EXPECT_FALSE(Calendar->Focused());
  const TRect Last = Calendar->Model().CellRect(5, 6);
  EXPECT_GT(Calendar->Width(), 7 * 10);
  EXPECT_EQ(Last.Bottom, Calendar->ClientHeight() - Calendar->BorderWidth());
}

TEST_F(PopupMonthCalendarTest, KeysMoveAndEnterOrEscapeClose) {
  Key(VK_RIGHT);
  Key(VK_DOWN);
  EXPECT_EQ(Calendar->Date(), EncodeDate(2024, 3, 23));
  EXPECT_TRUE(Log.empty());
  Key(VK_ESCAPE);
  EXPECT_EQ(Log, TLog{"cancel"});
  EXPECT_FALSE(Calendar->DroppedDown());
  Log.clear();
  Calendar->DropDownAt(At({0, 0}));
  Key(VK_RETURN);
  EXPECT_EQ(Log, TLog{"accept"});
  // The special-key query for Enter closes too and answers that the key was taken.
  Log.clear();
  EXPECT_EQ(Calendar->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(Log, TLog{"cancel"});
  EXPECT_EQ(Calendar->Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 0);
  EXPECT_TRUE(Calendar->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);
}

TEST_F(PopupMonthCalendarTest, ClickOnADayTakesItTitleButtonsDoNot) {
  const TMonthCalendarModelZk& M = Calendar->Model();
  Click(CenterOf(M.NextButtonRect()));
  EXPECT_EQ(Calendar->Date(), EncodeDate(2024, 4, 15));
  Click(CenterOf(M.WeekdayRect()));
  EXPECT_TRUE(Log.empty());
  EXPECT_TRUE(Calendar->DroppedDown());
  Click(CenterOf(M.CellRect(0, 0)));   // 1 April 2024 is a Monday
  EXPECT_EQ(Calendar->Date(), EncodeDate(2024, 4, 1));
  EXPECT_EQ(Log, TLog{"accept"});
  EXPECT_FALSE(Calendar->DroppedDown());
}

TEST_F(PopupMonthCalendarTest, OutsidePressCancelsAndIsSwallowed) {
  Click(Owner->ClientToScreen({5, 5}));
  EXPECT_EQ(Log, TLog{"cancel"});
  EXPECT_FALSE(Calendar->DroppedDown());
  Click(Owner->ClientToScreen({5, 5}));   // closed: the next press reaches the owner
  EXPECT_EQ(Log, (TLog{"cancel", "owner down"}));
}

// The wheel goes to the focused owner, which passes it on like the keys.
TEST_F(PopupMonthCalendarTest, WheelStepsADay) {
  const TPoint P = CenterOf(Calendar->Model().CellRect(2, 2));
  auto Wheel = [&](int Delta) {
    Calendar->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, Delta), MAKELPARAM(P.X, P.Y));
  };
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(Calendar->Date(), EncodeDate(2024, 3, 16));
  Wheel(WHEEL_DELTA);
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(Calendar->Date(), EncodeDate(2024, 3, 14));
}

TEST_F(PopupMonthCalendarTest, WithoutCtl3DTheBorderIsTheWindowsOwn) {
  EXPECT_EQ(Calendar->BorderWidth(), 2);
  Calendar->SetCtl3D(false);
  EXPECT_EQ(Calendar->BorderWidth(), 0);
  EXPECT_EQ(Calendar->Width() - Calendar->ClientWidth(), 2);
}

TEST_F(PopupMonthCalendarTest, DeferredCloseUpCancels) {
  Calendar->Perform(WM_DEFERREDCLOSEUP, 0, 0);
  EXPECT_EQ(Log, TLog{"cancel"});
}

}  // namespace
