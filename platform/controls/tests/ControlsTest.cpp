// ControlsTest.cpp - the window model driven by messages and input routines, headless: key
// routing and dialog keys, focus changes and their messages, double clicks, timers, wheel.
#include "platform/controls/Controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/controls/Timer.h"
#include "platform/controls/WinApi.h"

namespace {

// A windowed control that logs the messages and events it sees.
class TProbe : public TCustomControl {
public:
  TProbe(TComponent* Owner, std::vector<std::string>* Log, const char* Name)
      : TCustomControl(Owner), FLog(Log), FName(Name) {
    SetTabStop(true);
    SetBounds(0, 0, 80, 20);
  }
  unsigned DlgCode = 0;
  bool WantEscape = false;
  bool ClearKeyInKeyDown = false;
  void Dispatch(TMessage& M) override {
    switch (M.Msg) {
      case WM_GETDLGCODE: M.Result = DlgCode; return;
      case CM_WANTSPECIALKEY: M.Result = (WantEscape && M.WParam == VK_ESCAPE) ? 1 : 0; return;
      case WM_SETFOCUS: Log("WM_SETFOCUS"); break;
      case WM_KILLFOCUS: Log("WM_KILLFOCUS"); break;
      case CM_ENTER: Log("CM_ENTER"); break;
      case CM_EXIT: Log("CM_EXIT"); break;
      case WM_CHAR: Log("WM_CHAR " + std::to_string(M.WParam)); break;
      case WM_TIMER: Log("WM_TIMER " + std::to_string(M.WParam)); return;
      case WM_LBUTTONDOWN: Log("WM_LBUTTONDOWN"); break;
      case WM_LBUTTONDBLCLK: Log("WM_LBUTTONDBLCLK"); break;
      case CM_DIALOGKEY:
        if (M.WParam == VK_RETURN && IsDefault) {
          Log("default button");
          M.Result = 1;
          return;
        }
        break;
      default: break;
    }
    TCustomControl::Dispatch(M);
  }
  bool IsDefault = false;

protected:
  void KeyDown(Word& Key, TShiftState Shift) override {
    Log("KeyDown " + std::to_string(Key));
    if (ClearKeyInKeyDown) Key = 0;
    TCustomControl::KeyDown(Key, Shift);
  }
  void KeyPress(Char& Key) override { Log("KeyPress " + std::to_string(Key)); }
  void Click() override { Log("Click"); }
  void DblClick() override { Log("DblClick"); }

private:
  void Log(const std::string& S) { FLog->push_back(FName + ": " + S); }
  std::vector<std::string>* FLog;
  std::string FName;
};

class ControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    UseTestClock(true);
    ResetKeyboardState();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 300, 200);
    A = new TProbe(Form, &Log, "A");
    A->SetParent(Form);
    B = new TProbe(Form, &Log, "B");
    B->SetParent(Form);
    B->SetTop(40);
    C = new TProbe(Form, &Log, "C");
    C->SetParent(Form);
    C->SetTop(80);
    Form->Show();
    Log.clear();
  }
  void TearDown() override {
    delete Form;
    UseTestClock(false);
  }
  std::vector<std::string> Log;
  TForm* Form = nullptr;
  TProbe *A = nullptr, *B = nullptr, *C = nullptr;
};

TEST_F(ControlsTest, ShowingAFormFocusesItsFirstTabStop) {
  EXPECT_EQ(GetFocus(), A);
  EXPECT_EQ(Form->ActiveControl(), A);
  EXPECT_TRUE(A->Focused());
}

TEST_F(ControlsTest, FocusChangeSendsKillSetExitEnterInOrder) {
  B->SetFocus();
  const std::vector<std::string> Expected{"A: WM_KILLFOCUS", "B: WM_SETFOCUS", "A: CM_EXIT", "B: CM_ENTER"};
  EXPECT_EQ(Log, Expected);
  EXPECT_EQ(Form->ActiveControl(), B);
}

TEST_F(ControlsTest, ExitHandlerThatKeepsTheFocusRefusesTheChange) {
  // An editor whose exit fails takes the focus back (the data-aware editors do this).
  A->SetOnExit([this](TObject*) { A->SetFocus(); });
  B->SetFocus();
  EXPECT_EQ(GetFocus(), A);
  EXPECT_EQ(Form->ActiveControl(), A);
}

TEST_F(ControlsTest, DisabledOrHiddenControlCannotBeFocused) {
  B->SetEnabled(false);
  EXPECT_THROW(B->SetFocus(), EInvalidOperation);
  C->SetVisible(false);
  EXPECT_FALSE(C->CanFocus());
}


TEST_F(ControlsTest, DialogKeyNegotiation) {
  struct Case {
    const char* Name;
    Word Key;
    TShiftState Shift;
    unsigned DlgCode;
    bool WantEscape;
    const char* FocusAfter;
    bool KeyDownSeen;
    bool CharSeen;
  };
  const Case Cases[] = {
      {"Tab moves on", VK_TAB, {}, 0, false, "B", false, false},
      {"Shift+Tab moves back (wraps)", VK_TAB, {ssShift}, 0, false, "C", false, false},
      {"Tab wanted by the control", VK_TAB, {}, DLGC_WANTTAB, false, "A", true, true},
      {"Down arrow moves on", VK_DOWN, {}, 0, false, "B", false, false},
      {"arrows wanted", VK_DOWN, {}, DLGC_WANTARROWS, false, "A", true, false},
      {"Return with no default button reaches the control", VK_RETURN, {}, 0, false, "A", true, true},
      {"Esc claimed by CM_WANTSPECIALKEY", VK_ESCAPE, {}, 0, true, "A", true, true},
      {"all keys wanted", VK_RETURN, {}, DLGC_WANTALLKEYS, false, "A", true, true},
      {"a letter is never a dialog key", 'X', {}, 0, false, "A", true, true},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    A->SetFocus();
    A->DlgCode = K.DlgCode;
    A->WantEscape = K.WantEscape;
    Log.clear();
    SimulateKeyPress(K.Key, K.Shift);
    TProbe* Expected = std::string(K.FocusAfter) == "A" ? A : std::string(K.FocusAfter) == "B" ? B : C;
    EXPECT_EQ(GetFocus(), Expected);
    bool KeyDown = false, Char = false;
    for (auto& L : Log) {
      if (L.rfind("A: KeyDown", 0) == 0) KeyDown = true;
      if (L.rfind("A: KeyPress", 0) == 0) Char = true;
    }
    EXPECT_EQ(KeyDown, K.KeyDownSeen);
    EXPECT_EQ(Char, K.CharSeen);
  }
}

TEST_F(ControlsTest, ReturnReachesTheDefaultButtonAndProducesNoCharacter) {
  C->IsDefault = true;
  SimulateKeyPress(VK_RETURN);
  const std::vector<std::string> Expected{"C: default button"};
  EXPECT_EQ(Log, Expected);
}

TEST_F(ControlsTest, ClearingTheKeyInKeyDownDoesNotSuppressTheCharacter) {
  A->ClearKeyInKeyDown = true;
  SimulateKeyPress('Q');
  const std::vector<std::string> Expected{"A: KeyDown 81", "A: WM_CHAR 113", "A: KeyPress 113"};
  EXPECT_EQ(Log, Expected);
}

TEST_F(ControlsTest, KeyPreviewLetsTheFormSeeKeysFirst) {
  Form->SetKeyPreview(true);
  Word Seen = 0;
  Form->SetOnKeyDown([&](TObject*, Word& Key, TShiftState) {
    Seen = Key;
    Key = 0;   // swallowed: the control gets no KeyDown
  });
  SimulateKeyPress(VK_F2, {}, 0);
  EXPECT_EQ(Seen, VK_F2);
  for (auto& L : Log) EXPECT_EQ(L.find("KeyDown"), std::string::npos) << L;
}

TEST_F(ControlsTest, DoubleClickWithinTimeAndDistanceOnly) {
  struct Case {
    const char* Name;
    unsigned Delay;
    int Move;
    bool WithDoubleClicks;
    const char* Second;
  };
  const Case Cases[] = {
      {"quick and close", 100, 1, true, "A: WM_LBUTTONDBLCLK"},
      {"too late", GetDoubleClickTime() + 1, 0, true, "A: WM_LBUTTONDOWN"},
      {"too far", 100, 3, true, "A: WM_LBUTTONDOWN"},
      {"no csDoubleClicks: a second press", 100, 0, false, "A: WM_LBUTTONDOWN"},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    TControlStyle Style = A->ControlStyle();
    if (K.WithDoubleClicks) Style << csDoubleClicks;
    else Style >> csDoubleClicks;
    A->SetControlStyle(Style);
    AdvanceTestClock(5000);   // forget earlier presses
    SimulateClick(A, {10, 10});
    AdvanceTestClock(K.Delay);
    Log.clear();
    const TPoint P = A->ClientToScreen({10 + K.Move, 10});
    SimulateMouseDown(mbLeft, P);
    SimulateMouseUp(mbLeft, P);
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.front(), K.Second);
  }
}

TEST_F(ControlsTest, ClickOnlyWhenReleasedInside) {
  SimulateMouseDown(mbLeft, A->ClientToScreen({5, 5}));
  EXPECT_EQ(GetCapture(), A);   // csCaptureMouse
  SimulateMouseUp(mbLeft, A->ClientToScreen({500, 5}));
  EXPECT_EQ(GetCapture(), nullptr);
  for (auto& L : Log) EXPECT_NE(L, "A: Click");
  AdvanceTestClock(5000);
  SimulateClick(A, {5, 5});
  EXPECT_NE(std::find(Log.begin(), Log.end(), "A: Click"), Log.end());
}

TEST_F(ControlsTest, CancelModeEndsAPressWithoutAClick) {
  SimulateMouseDown(mbLeft, A->ClientToScreen({5, 5}));
  A->Perform(WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  SimulateMouseUp(mbLeft, A->ClientToScreen({5, 5}));
  for (auto& L : Log) EXPECT_NE(L, "A: Click");
}

TEST_F(ControlsTest, TimersByIdWithTheTenMillisecondFloor) {
  SetTimer(A, 1, 60);
  SetTimer(A, 2, 1);   // raised to 10 ms
  AdvanceTestClock(9);
  Application->ProcessMessages();
  EXPECT_TRUE(Log.empty());
  AdvanceTestClock(1);
  Application->ProcessMessages();
  EXPECT_EQ(Log, std::vector<std::string>{"A: WM_TIMER 2"});
  KillTimer(A, 2);
  Log.clear();
  AdvanceTestClock(50);
  Application->ProcessMessages();
  EXPECT_EQ(Log, std::vector<std::string>{"A: WM_TIMER 1"});
  // Due twice over while the loop was busy: one WM_TIMER, not a burst.
  Log.clear();
  AdvanceTestClock(200);
  Application->ProcessMessages();
  EXPECT_EQ(Log.size(), 1u);
  KillTimer(A, 1);
}

TEST_F(ControlsTest, PostedMessagesWaitForTheLoopAndDieWithTheirWindow) {
  PostMessage(A, WM_TIMER, 7, 0);
  EXPECT_TRUE(Log.empty());
  TMsg M;
  EXPECT_TRUE(PeekMessage(M, A, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  EXPECT_EQ(M.wParam, 7u);
  Application->ProcessMessages();
  EXPECT_EQ(Log, std::vector<std::string>{"A: WM_TIMER 7"});
  PostMessage(C, WM_TIMER, 8, 0);
  delete C;
  C = nullptr;
  EXPECT_FALSE(PeekMessage(M, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

TEST_F(ControlsTest, TimerComponentRunsOnTheLoop) {
  TTimer Timer(nullptr);
  int Ticks = 0;
  Timer.SetInterval(100);
  Timer.SetOnTimer([&](TObject*) { ++Ticks; });
  AdvanceTestClock(250);
  Application->ProcessMessages();
  EXPECT_EQ(Ticks, 1);
  Timer.SetEnabled(false);
  AdvanceTestClock(250);
  Application->ProcessMessages();
  EXPECT_EQ(Ticks, 1);
}

TEST_F(ControlsTest, WheelNotchesAccumulateAndUnhandledGoesToTheParent) {
  int Downs = 0, FormWheels = 0;
  A->SetOnMouseWheelDown([&](TObject*, TShiftState, TPoint, bool& Handled) {
    ++Downs;
    Handled = true;
  });
  SimulateMouseWheel(-60, A->ClientToScreen({1, 1}));
  EXPECT_EQ(Downs, 0);
  SimulateMouseWheel(-60, A->ClientToScreen({1, 1}));
  EXPECT_EQ(Downs, 1);
  Form->SetOnMouseWheel([&](TObject*, TShiftState, int, TPoint, bool& Handled) {
    ++FormWheels;
    Handled = true;
  });
  SimulateMouseWheel(120, A->ClientToScreen({1, 1}));   // up: A does not handle it
  EXPECT_EQ(FormWheels, 1);
}

TEST_F(ControlsTest, ParentFontAndColourFollowUntilSetLocally) {
  Form->Font()->SetName(u"Arial");
  EXPECT_EQ(A->Font()->Name(), u"Arial");
  A->Font()->SetSize(14);
  EXPECT_FALSE(A->ParentFont());
  Form->Font()->SetName(u"Courier New");
  EXPECT_EQ(A->Font()->Name(), u"Arial");
  Form->SetColor(clWindow);
  EXPECT_EQ(B->Color(), clWindow);
}

TEST_F(ControlsTest, AlignmentAndAnchors) {
  auto* Top = new TProbe(Form, &Log, "T");
  Top->SetParent(Form);
  Top->SetHeight(30);
  Top->SetAlign(alTop);
  auto* Client = new TProbe(Form, &Log, "Cl");
  Client->SetParent(Form);
  Client->SetAlign(alClient);
  EXPECT_EQ(Top->BoundsRect(), Rect(0, 0, 300, 30));
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 30, 300, 200));
  auto* Corner = new TProbe(Form, &Log, "Co");
  Corner->SetParent(Form);
  Corner->SetBounds(250, 150, 40, 20);
  Corner->SetAnchors({akRight, akBottom});
  Form->SetBounds(100, 100, 400, 300);
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 30, 400, 300));
  EXPECT_EQ(Corner->BoundsRect(), Rect(350, 250, 390, 270));
}

TEST_F(ControlsTest, ShortCutEncoding) {
  EXPECT_EQ(ShortCut(VK_DOWN, {ssAlt}), 0x8028);
  EXPECT_EQ(ShortCut(VK_DELETE, {ssAlt}), 0x802E);
  Word Key;
  TShiftState Shift;
  ShortCutToKey(0x4046, Key, Shift);
  EXPECT_EQ(Key, 'F');
  EXPECT_TRUE(Shift == TShiftState{ssCtrl});
}

}  // namespace

TEST_F(ControlsTest, CanResizeAsksOnCanResizeWhichMayChangeOrRefuseTheSize) {
  A->SetBounds(0, 0, 50, 20);
  A->SetOnCanResize([](TObject*, int& NewWidth, int& NewHeight, bool& Resize) {
    if (NewWidth > 100) Resize = false;
    NewHeight = std::max(NewHeight, 10);
  });
  A->SetBounds(0, 0, 80, 4);
  EXPECT_EQ(A->Width(), 80);
  EXPECT_EQ(A->Height(), 10);
  A->SetBounds(0, 0, 200, 30);
  EXPECT_EQ(A->Width(), 80);
}

TEST_F(ControlsTest, ApplicationMinimizesAndRestoresTheMainForm) {
  TCustomForm* Saved = Application->MainForm();
  Application->SetMainForm(Form);
  Application->Minimize();
  EXPECT_EQ(Form->WindowState(), wsMinimized);
  Application->Restore();
  EXPECT_EQ(Form->WindowState(), wsNormal);
  Application->SetMainForm(Saved);
}
