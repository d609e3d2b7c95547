// WindowInputTest.cpp - the input routines against the window model, headless: the hint delay,
// presses on a window's own scroll bars, cursors from mouse moves, mouse enter and leave.
#include "platform/controls/WinApi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/controls/HintWindow.h"
#include "platform/controls/ScrollBars.h"

namespace {

using TLog = std::vector<std::string>;

// Logs presses, scroll codes and mouse enter/leave (its own, not its children's).
class TInputProbe : public TCustomControl {
public:
  TInputProbe(TComponent* Owner, TLog* Log, const char* Name) : TCustomControl(Owner), FLog(Log), FName(Name) {
    SetOnMouseEnter([this](TObject*) { FLog->push_back(FName + " enter"); });
    SetOnMouseLeave([this](TObject*) { FLog->push_back(FName + " leave"); });
  }
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_LBUTTONDOWN) FLog->push_back(FName + " down");
    if (M.Msg == WM_VSCROLL) FLog->push_back(FName + " scroll " + std::to_string(LOWORD(M.WParam)));
    TCustomControl::Dispatch(M);
  }

private:
  TLog* FLog;
  std::string FName;
};

class TLoggedGraphic : public TGraphicControl {
public:
  TLoggedGraphic(TComponent* Owner, TLog* Log) : TGraphicControl(Owner) {
    SetOnMouseEnter([Log](TObject*) { Log->push_back("graphic enter"); });
    SetOnMouseLeave([Log](TObject*) { Log->push_back("graphic leave"); });
  }
};

class WindowInputTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    UseTestClock(true);
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 300, 200);   // client origin (100, 100): forms have no frame here
    A = new TInputProbe(Form, &Log, "A");
    A->SetParent(Form);
    A->SetBounds(10, 10, 100, 100);
    B = new TInputProbe(Form, &Log, "B");
    B->SetParent(Form);
    B->SetBounds(150, 10, 100, 100);
    Form->Show();
    SimulateMouseLeave();
    Log.clear();
  }
  void TearDown() override {
    delete Form;
    UseTestClock(false);
  }
  void Wait(unsigned Ms) {
    AdvanceTestClock(Ms);
    Application->ProcessMessages();
  }
  bool HintShown() const { return Application->HintWindow() && Application->HintWindow()->Visible(); }

  TLog Log;
  TForm* Form = nullptr;
  TInputProbe *A = nullptr, *B = nullptr;
};

TEST_F(WindowInputTest, HintShowsAfterThePauseAndHidesAfterTheHidePause) {
  A->SetHint(u"Смешать|Смешать краски по рецепту");
  A->SetShowHint(true);
  SimulateMouseMove({150, 150});
  EXPECT_EQ(Application->Hint(), u"Смешать краски по рецепту");
  Wait(unsigned(Application->HintPause()) - 10);
  EXPECT_FALSE(HintShown());
  Wait(10);
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Application->HintWindow()->Caption(), u"Смешать");
  // Below the cursor, on the screen.
  EXPECT_GT(Application->HintWindow()->Top(), 150);
  Wait(unsigned(Application->HintHidePause()));
  EXPECT_FALSE(HintShown());
}

TEST_F(WindowInputTest, HintIsDroppedByPressesLeavingAndAFreedControl) {
  A->SetHint(u"Смешать");
  A->SetShowHint(true);
  SimulateMouseMove({150, 150});
  SimulateMouseDown(mbLeft, {150, 150});
  SimulateMouseUp(mbLeft, {150, 150});
  Wait(unsigned(Application->HintPause()));
  EXPECT_FALSE(HintShown());

  SimulateMouseMove({300, 150});   // B has no hint
  SimulateMouseMove({151, 150});
  SimulateMouseLeave();
  Wait(unsigned(Application->HintPause()));
  EXPECT_FALSE(HintShown());

  SimulateMouseMove({150, 150});
  delete A;   // the timer must not reach a freed control
  Wait(unsigned(Application->HintPause()));
  EXPECT_FALSE(HintShown());
}

TEST_F(WindowInputTest, PressesOnTheWindowsScrollBarScrollInsteadOfReachingTheClient) {
  SCROLLINFO Info;
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  Info.nMax = 99;
  Info.nPage = 10;
  SetScrollInfo(A, SB_VERT, Info, true);
  ASSERT_TRUE(A->WindowStyle() & WS_VSCROLL);
  // A's window spans screen (110, 110)-(210, 210); the bar is its right 17 pixels.
  EXPECT_EQ(A->Perform(WM_NCHITTEST, 0, MAKELPARAM(200, 200)), HTVSCROLL);
  EXPECT_EQ(A->Perform(WM_NCHITTEST, 0, MAKELPARAM(150, 150)), HTCLIENT);
  SimulateMouseDown(mbLeft, {200, 205});   // the down arrow
  SimulateMouseUp(mbLeft, {200, 205});
  EXPECT_EQ(Log, (TLog{"A enter", "A scroll 1", "A scroll 8"}));   // SB_LINEDOWN, SB_ENDSCROLL

  Log.clear();
  AdvanceTestClock(1000);
  SimulateMouseDown(mbLeft, {200, 130});   // the thumb, at the top of the track
  EXPECT_EQ(GetCapture(), A);
  SimulateMouseMove({200, 160});
  SimulateMouseUp(mbLeft, {200, 160});
  EXPECT_EQ(Log, (TLog{"A scroll 5", "A scroll 4", "A scroll 8"}));   // track, position, end
  EXPECT_EQ(GetCapture(), nullptr);
  // The client still gets its presses.
  Log.clear();
  SimulateMouseDown(mbLeft, {150, 150});
  SimulateMouseUp(mbLeft, {150, 150});
  EXPECT_EQ(Log, (TLog{"A down"}));
}

TEST_F(WindowInputTest, MouseMovesSetTheCursorOfTheControlUnderTheMouse) {
  auto* Graphic = new TLoggedGraphic(Form, &Log);
  Graphic->SetParent(A);
  Graphic->SetBounds(0, 0, 20, 20);
  Graphic->SetCursor(crHandPoint);
  A->SetCursor(crIBeam);
  SimulateMouseMove({150, 150});
  EXPECT_EQ(GetCurrentCursor(), crIBeam);
  SimulateMouseMove({115, 115});
  EXPECT_EQ(GetCurrentCursor(), crHandPoint);
  SimulateMouseMove({300, 150});   // B: default
  EXPECT_EQ(GetCurrentCursor(), crArrow);
  Screen->SetCursor(crHourGlass);   // the screen's cursor wins everywhere
  SimulateMouseMove({150, 150});
  EXPECT_EQ(GetCurrentCursor(), crHourGlass);
  Screen->SetCursor(crDefault);
}

TEST_F(WindowInputTest, EnterAndLeaveFollowThePointerAcrossWindowsAndOut) {
  auto* Graphic = new TLoggedGraphic(Form, &Log);
  Graphic->SetParent(A);
  Graphic->SetBounds(0, 0, 20, 20);
  SimulateMouseMove({115, 115});
  SimulateMouseMove({300, 150});
  SimulateMouseLeave();
  // A windowless child's notice passed up does not make A entered a second time.
  EXPECT_EQ(Log, (TLog{"A enter", "graphic enter", "graphic leave", "A leave", "B enter", "B leave"}));
  EXPECT_FALSE(Graphic->MouseInClient());
  EXPECT_FALSE(B->MouseInClient());
}

TEST_F(WindowInputTest, ControlMadeWhereAFreedOneWasUnderThePointerIsEntered) {
  SimulateMouseMove({300, 150});
  delete B;   // freed under the pointer; a new control of its class often takes its memory
  B = new TInputProbe(Form, &Log, "C");
  B->SetParent(Form);
  B->SetBounds(150, 10, 100, 100);
  Log.clear();
  SimulateMouseMove({300, 150});
  EXPECT_EQ(Log, (TLog{"C enter"}));
}

}  // namespace
