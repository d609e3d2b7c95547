// DropDownWindowTest.cpp - drop-down windows headless: opening without the focus, hit testing
// over forms, the swallowed outside press, nested drop-downs and the size grip message.
#include "platform/controls/DropDownWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"

namespace {

using TLog = std::vector<std::string>;

// Logs the presses and releases it receives.
template <class TBase>
class TPressLog : public TBase {
public:
  TPressLog(TComponent* Owner, TLog* Log, const char* Name) : TBase(Owner), FLog(Log), FName(Name) {}
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_LBUTTONDOWN) FLog->push_back(FName + " down");
    if (M.Msg == WM_LBUTTONUP) FLog->push_back(FName + " up");
    TBase::Dispatch(M);
  }

protected:
  TLog* FLog;
  std::string FName;
};

class TGripDropDown : public TPressLog<TDropDownWindow> {
public:
  using TPressLog::TPressLog;
  int GripDirection = -1;

protected:
  void SizeGripChangePosition(int Direction) override { GripDirection = Direction; }
};

class DropDownWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    UseTestClock(true);
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 300, 200);
    Edit = new TPressLog<TCustomControl>(Form, &Log, "edit");
    Edit->SetParent(Form);
    Edit->SetTabStop(true);
    Edit->SetBounds(10, 10, 100, 20);
    Other = new TPressLog<TCustomControl>(Form, &Log, "other");
    Other->SetParent(Form);
    Other->SetTabStop(true);
    Other->SetBounds(10, 150, 100, 20);
    Form->Show();
    DropDown = new TGripDropDown(Form, &Log, "drop");
    DropDown->SetBounds(0, 0, 120, 80);
    DropDown->SetOnCloseUp([this](TObject*, bool Accept) { Log.push_back(Accept ? "closeup ok" : "closeup cancel"); });
  }
  void TearDown() override {
    delete Form;
    UseTestClock(false);
  }
  // The drop-down under the edit: screen (110, 130) to (230, 210), over the form.
  void Open() { DropDown->DropDownAt(Edit->ClientToScreen({0, Edit->Height()})); }
  void Click(TPoint Screen) {
    SimulateMouseDown(mbLeft, Screen);
    SimulateMouseUp(mbLeft, Screen);
    AdvanceTestClock(1000);   // no double clicks between the cases
  }

  TLog Log;
  TForm* Form = nullptr;
  TCustomControl* Edit = nullptr;
  TCustomControl* Other = nullptr;
  TGripDropDown* DropDown = nullptr;
};

TEST_F(DropDownWindowTest, OpensAsATopmostToolWindowWithoutTakingTheFocus) {
  Edit->SetFocus();
  Open();
  EXPECT_TRUE(DropDown->DroppedDown());
  EXPECT_TRUE(DropDown->Showing());
  EXPECT_EQ(DropDown->BoundsRect(), Rect(110, 130, 230, 210));
  EXPECT_EQ(GetFocus(), Edit);
  const long Ex = GetWindowLong(DropDown, GWL_EXSTYLE);
  EXPECT_EQ(Ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE),
            long(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE));
  EXPECT_TRUE(GetWindowLong(DropDown, GWL_STYLE) & long(WS_POPUP));
  EXPECT_FALSE(GetWindowLong(DropDown, GWL_STYLE) & long(WS_CHILD));
  // Over the form the drop-down is found first; beside it, the form's controls.
  EXPECT_EQ(FindVCLWindow({115, 200}), DropDown);
  EXPECT_EQ(FindVCLWindow({115, 255}), Other);
}

TEST_F(DropDownWindowTest, PressInsideReachesItAndKeepsItOpenAndTheFocus) {
  Edit->SetFocus();
  Open();
  Click({150, 150});
  EXPECT_EQ(Log, (TLog{"drop down", "drop up"}));
  EXPECT_TRUE(DropDown->DroppedDown());
  EXPECT_EQ(GetFocus(), Edit);
}

TEST_F(DropDownWindowTest, OutsidePressClosesItAndIsSwallowedWithItsRelease) {
  Edit->SetFocus();
  Open();
  const TPoint OnOther = Other->ClientToScreen({5, 5});
  Click(OnOther);
  EXPECT_EQ(Log, (TLog{"closeup cancel"}));
  EXPECT_FALSE(DropDown->DroppedDown());
  EXPECT_FALSE(DropDown->Showing());
  EXPECT_EQ(FindVCLWindow({150, 150}), Form);
  // The next press is an ordinary one again.
  Log.clear();
  Click(OnOther);
  EXPECT_EQ(Log, (TLog{"other down", "other up"}));
}

TEST_F(DropDownWindowTest, ApplicationLosingActivationClosesIt) {
  Edit->SetFocus();
  Open();
  Application->SetActive(false);
  EXPECT_EQ(Log, (TLog{"closeup cancel"}));
  EXPECT_FALSE(DropDown->DroppedDown());
  Application->SetActive(true);
  // Presses reach their controls again, none is swallowed.
  Log.clear();
  Click(Other->ClientToScreen({5, 5}));
  EXPECT_EQ(Log, (TLog{"other down", "other up"}));
}

TEST_F(DropDownWindowTest, PressOnADropDownOpenedFromItCountsAsInside) {
  auto* Inner = new TPressLog<TDropDownWindow>(Form, &Log, "inner");
  Inner->SetBounds(0, 0, 50, 50);
  Open();
  Inner->DropDownAt({400, 400});   // outside the first one
  Click({410, 410});
  EXPECT_EQ(Log, (TLog{"inner down", "inner up"}));
  EXPECT_TRUE(DropDown->DroppedDown());
  Log.clear();
  Click(Other->ClientToScreen({5, 5}));
  EXPECT_EQ(Log, (TLog{"closeup cancel"}));
  EXPECT_FALSE(Inner->DroppedDown());
}

TEST_F(DropDownWindowTest, LinkOwnerMayLetTheOutsidePressThrough) {
  // A control of another base (here a plain custom control) made a drop-down through a link.
  class TLinked : public TCustomControl {
  public:
    explicit TLinked(TComponent* Owner) : TCustomControl(Owner), Link(this) { SetVisible(false); }
    bool CanFocus() const override { return false; }
    TDropDownLink Link;

  protected:
    bool IsTopLevel() const override { return true; }
    void CreateParams(TCreateParams& Params) override {
      TCustomControl::CreateParams(Params);
      SetDropDownParams(Params);
    }
  };
  auto* Linked = new TLinked(Form);
  Linked->SetBounds(0, 0, 40, 40);
  Linked->Link.SetOnOutsideClick([&](HWND Target, TPoint) {
    Log.push_back(Target == Other ? "outside on other" : "outside elsewhere");
    return false;
  });
  Linked->Link.Open({500, 500});
  EXPECT_EQ(FindVCLWindow({520, 520}), Linked);
  Click(Other->ClientToScreen({5, 5}));
  EXPECT_EQ(Log, (TLog{"outside on other", "other down", "other up"}));
  EXPECT_TRUE(Linked->Link.IsOpen());
  Linked->Link.Close();
  EXPECT_FALSE(Linked->Showing());
}

TEST_F(DropDownWindowTest, FreeingAnOpenDropDownStopsWatchingPresses) {
  Open();
  delete DropDown;
  EXPECT_EQ(FindVCLWindow({150, 150}), Form);
  Click(Other->ClientToScreen({5, 5}));
  EXPECT_EQ(Log, (TLog{"other down", "other up"}));
}

TEST_F(DropDownWindowTest, SizeGripMessageReachesTheHook) {
  DropDown->Perform(WM_DROPDOWN_SIZEGRIP, 2, 0);
  EXPECT_EQ(DropDown->GripDirection, 2);
}

}  // namespace
