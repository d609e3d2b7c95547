// EditButtonsZkTest.cpp - the edit button model (clamping, change notification, defaults,
// actions, menus) and the button control (pressed half, auto-repeat on the test clock, drag-out
// release).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/EditButtonsZk.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Timer.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Exceptions.h"

namespace {

// --- the model -----------------------------------------------------------------------------------

class EditButtonModel : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterEditButtonsClasses();
    Buttons.SetOnChanged([this](TObject*) { ++Changes; });
  }
  TEditButtonsZk Buttons{nullptr, TEditButtonZk::ClassInfo()};
  int Changes = 0;
};

TEST_F(EditButtonModel, NumGlyphsIsClampedToOneToFour) {
  TEditButtonZk* B = Buttons.Add();
  for (auto [In, Out] : {std::pair{0, 1}, {-3, 1}, {7, 4}, {3, 3}}) {
    B->SetNumGlyphs(In);
    EXPECT_EQ(B->NumGlyphs(), Out) << In;
  }
}

TEST_F(EditButtonModel, OnlyChangedValuesNotifyButTheGlyphAlwaysDoes) {
  TEditButtonZk* B = Buttons.Add();
  Changes = 0;
  B->SetHint(u"");
  B->SetEnabled(true);
  B->SetStyle(ebsDropDownZk);
  B->SetWidth(0);
  B->SetShortCut(scCtrl | 'A');   // a plain field
  EXPECT_EQ(Changes, 0);
  B->SetHint(u"Open");
  B->SetStyle(ebsEllipsisZk);
  EXPECT_EQ(Changes, 2);
  B->SetGlyph(B->Glyph());
  EXPECT_EQ(Changes, 3);
  // The button's own OnChanged takes the place of the collection's.
  int Own = 0;
  B->SetOnChanged([&](TObject*) { ++Own; });
  B->SetWidth(20);
  EXPECT_EQ(Own, 1);
  EXPECT_EQ(Changes, 3);
}

TEST(EditButtonDefaults, DropDownAndVisibleDescendants) {
  RegisterEditButtonsClasses();
  TEditButtonsZk DropDowns(nullptr, TDropDownEditButtonZk::ClassInfo());
  TEditButtonZk* D = DropDowns.Add();
  EXPECT_EQ(D->ShortCut(), ::ShortCut(VK_DOWN, {ssAlt}));
  EXPECT_FALSE(D->Visible());
  EXPECT_TRUE(D->Enabled());
  EXPECT_EQ(D->NumGlyphs(), 1);
  EXPECT_TRUE(D->Glyph()->Transparent());
  TEditButtonsZk Visibles(nullptr, TVisibleEditButtonZk::ClassInfo());
  TEditButtonZk* V = Visibles.Add();
  EXPECT_EQ(V->ShortCut(), AltDownShortCut);
  EXPECT_TRUE(V->Visible());
  TEditButtonZk Plain(static_cast<TWinControl*>(nullptr));
  EXPECT_EQ(Plain.ShortCut(), 0);
}

TEST_F(EditButtonModel, AssignCopiesEveryPropertyAndRefusesOtherClasses) {
  TAction Action(nullptr);
  TPopupMenu Menu(nullptr);
  TEditButtonZk* A = Buttons.Add();
  A->SetStyle(ebsUpDownZk);
  A->SetHint(u"Step");
  A->SetWidth(15);
  A->SetNumGlyphs(2);
  A->SetShortCut(::ShortCut(VK_DOWN, {ssCtrl}));
  A->SetVisible(true);
  A->SetDropdownMenu(&Menu);
  int Clicks = 0;
  A->SetOnClick([&](TObject*, bool&) { ++Clicks; });
  TEditButtonZk* B = Buttons.Add();
  B->Assign(A);
  EXPECT_EQ(B->Style(), ebsUpDownZk);
  EXPECT_EQ(B->Hint(), u"Step");
  EXPECT_EQ(B->Width(), 15);
  EXPECT_EQ(B->NumGlyphs(), 2);
  EXPECT_EQ(B->ShortCut(), ::ShortCut(VK_DOWN, {ssCtrl}));
  EXPECT_TRUE(B->Visible());
  EXPECT_EQ(B->DropdownMenu(), &Menu);
  bool Handled = false;
  B->Click(B, Handled);
  EXPECT_EQ(Clicks, 1);
  EXPECT_THROW(B->Assign(&Buttons), EConvertError);
}

TEST_F(EditButtonModel, AFreedMenuOrActionIsForgotten) {
  TEditButtonZk* B = Buttons.Add();
  auto* Menu = new TPopupMenu(nullptr);
  auto* Action = new TAction(nullptr);
  B->SetDropdownMenu(Menu);
  B->SetAction(Action);
  delete Menu;
  delete Action;
  EXPECT_EQ(B->DropdownMenu(), nullptr);
  EXPECT_EQ(B->Action(), nullptr);
  bool Handled = false;
  B->Click(B, Handled);   // no action left to execute
}

// An action that records the target it was executed on.
class TTargetAction : public TAction {
public:
  using TAction::TAction;
  bool HandlesTarget(TObject*) override { return true; }
  void ExecuteTarget(TObject* Target) override { Targets.push_back(Target); }
  std::vector<TObject*> Targets;
};

TEST(EditButtonAction, ExecutedOnTheEditorUnlessOnClickIsSet) {
  RegisterEditButtonsClasses();
  TWinControl Editor(nullptr);
  TTargetAction Action(nullptr);
  TEditButtonZk B(&Editor);
  B.SetAction(&Action);
  bool Handled = false;
  B.Click(&B, Handled);
  EXPECT_TRUE(Handled);
  ASSERT_EQ(Action.Targets.size(), 1u);
  EXPECT_EQ(Action.Targets[0], &Editor);

  int Executed = 0;
  Action.SetOnExecute([&](TObject*) { ++Executed; });
  Handled = false;
  B.Click(&B, Handled);
  EXPECT_EQ(Executed, 1);
  EXPECT_TRUE(Handled);

  int Clicks = 0;
  B.SetOnClick([&](TObject*, bool&) { ++Clicks; });
  Handled = false;
  B.Click(&B, Handled);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Executed, 1);
  EXPECT_FALSE(Handled);

  TEditButtonZk Bare(&Editor);
  Handled = false;
  Bare.Click(&Bare, Handled);
  EXPECT_FALSE(Handled);
}

TEST(EditButtonAction, LinkedValuesFollowTheActionAndAreNotStored) {
  RegisterEditButtonsClasses();
  TWinControl Editor(nullptr);
  TAction Action(nullptr);
  Action.SetHint(u"Choose");
  Action.SetShortCut(scCtrl | 'L');
  TEditButtonZk B(&Editor);
  B.SetAction(&Action);
  EXPECT_EQ(B.Hint(), u"Choose");
  EXPECT_EQ(B.ShortCut(), TShortCut(scCtrl | 'L'));
  EXPECT_TRUE(B.Visible());   // the action's Visible
  EXPECT_FALSE(B.IsHintStored());
  EXPECT_FALSE(B.IsShortCutStored());
  Action.SetEnabled(false);
  EXPECT_FALSE(B.Enabled());
  Action.SetHint(u"Pick");
  EXPECT_EQ(B.Hint(), u"Pick");
  B.SetHint(u"Own");   // no longer linked: stored
  EXPECT_TRUE(B.IsHintStored());
  B.SetAction(nullptr);
  EXPECT_TRUE(B.IsEnabledStored());
}

TEST(EditButtonAction, LoadingKeepsChangedValuesButTakesADisabledAction) {
  RegisterEditButtonsClasses();
  TWinControl Editor(nullptr);
  TAction Action(nullptr);
  Action.SetEnabled(false);
  Action.SetHint(u"From the action");
  TEditButtonZk B(&Editor);
  B.SetHint(u"Own hint");
  Editor.SetLoading(true);
  B.SetAction(&Action);
  Editor.SetLoading(false);
  EXPECT_FALSE(B.Enabled());   // True was still the default
  EXPECT_EQ(B.Hint(), u"Own hint");
}

TEST(EditButtonActionLink, RefusesAClientOfAnotherClass) {
  TPersistent Other;
  EXPECT_THROW(TEditButtonActionLinkZk Link(&Other), EInvalidCast);
}

// --- the control -------------------------------------------------------------------------------

class EditButtonControl : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    UseTestClock(true);
    RegisterEditButtonsClasses();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 300, 200);
    Editor = new TWinControl(Form);
    Editor->SetParent(Form);
    Editor->SetBounds(10, 10, 120, 40);
    Model = std::make_unique<TEditButtonZk>(Editor);
    Button = Model->CreateEditButtonControl();
    Button->SetBounds(100, 0, 16, 21);   // odd height: rows 10 and 11 press nothing
    Button->SetStyle(ebsUpDownZk);
    Button->SetOnDown([this](TObject*, bool Top, bool& AutoRepeat, bool&) {
      Downs.push_back(Top ? "top" : "bottom");
      if (StopAfter && int(Downs.size()) >= StopAfter) AutoRepeat = false;
    });
    Button->SetOnClick([this](TObject*) { ++Clicks; });
    Form->Show();
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
    delete Form;
    UseTestClock(false);
  }
  TPoint At(int Y) const { return Button->ClientToScreen({8, Y}); }
  void Wait(unsigned Ms) {
    AdvanceTestClock(Ms);
    Application->ProcessMessages();
  }
  TForm* Form = nullptr;
  TWinControl* Editor = nullptr;
  std::unique_ptr<TEditButtonZk> Model;
  TEditButtonControlZk* Button = nullptr;
  std::vector<std::string> Downs;
  int StopAfter = 0;
  int Clicks = 0;
};

TEST_F(EditButtonControl, CreatedByTheModelOnTheEditor) {
  EXPECT_EQ(Button->Parent(), Editor);
  EXPECT_EQ(Button->Owner(), Editor);
  EXPECT_TRUE(Button->ControlStyle().Contains(csReplicatable));
  EXPECT_FALSE(Button->Transparent());
  TEditButtonControlZk* Fresh = Model->CreateEditButtonControl();
  EXPECT_EQ(Fresh->Width(), 10);
  EXPECT_EQ(Fresh->Height(), 17);
}

TEST_F(EditButtonControl, HoldingTheLowerHalfRepeatsAfter400ThenEvery100) {
  SimulateMouseDown(mbLeft, At(15));
  EXPECT_EQ(Downs, std::vector<std::string>{"bottom"});
  EXPECT_EQ(Button->ButtonNum(), 2);
  Wait(399);
  EXPECT_EQ(Downs.size(), 1u);
  Wait(1);
  EXPECT_EQ(Downs.size(), 2u);
  Wait(99);
  EXPECT_EQ(Downs.size(), 2u);
  Wait(1);
  EXPECT_EQ(Downs.size(), 3u);
  Wait(100);
  EXPECT_EQ(Downs.size(), 4u);
  SimulateMouseUp(mbLeft, At(15));
  EXPECT_FALSE(Button->RepeatTimer()->Enabled());
  Wait(500);
  EXPECT_EQ(Downs.size(), 4u);
  EXPECT_EQ(Downs.back(), "bottom");
  EXPECT_EQ(Clicks, 1);
}

TEST_F(EditButtonControl, TheMiddleRowsPressNothing) {
  for (int Y : {10, 11}) {
    SimulateMouseDown(mbLeft, At(Y));
    EXPECT_EQ(Button->ButtonNum(), 0) << Y;
    EXPECT_EQ(Button->RepeatTimer(), nullptr) << Y;
    SimulateMouseUp(mbLeft, At(Y));
    AdvanceTestClock(1000);   // no double click
  }
  EXPECT_TRUE(Downs.empty());
  SimulateMouseDown(mbLeft, At(9));
  EXPECT_EQ(Downs, std::vector<std::string>{"top"});
  SimulateMouseUp(mbLeft, At(9));
}

TEST_F(EditButtonControl, OnDownClearingAutoRepeatStopsTheTimer) {
  StopAfter = 1;
  SimulateMouseDown(mbLeft, At(2));
  EXPECT_EQ(Button->RepeatTimer(), nullptr);
  SimulateMouseUp(mbLeft, At(2));
  AdvanceTestClock(1000);
  Downs.clear();
  StopAfter = 2;
  SimulateMouseDown(mbLeft, At(2));
  Wait(400);
  Wait(100);
  Wait(100);
  EXPECT_EQ(Downs.size(), 2u);
  EXPECT_FALSE(Button->RepeatTimer()->Enabled());
  SimulateMouseUp(mbLeft, At(2));
}

TEST_F(EditButtonControl, OtherStylesPressAsAWholeWithoutRepeat) {
  Button->SetStyle(ebsEllipsisZk);
  SimulateMouseDown(mbLeft, At(15));
  EXPECT_EQ(Button->ButtonNum(), 1);
  EXPECT_EQ(Downs, std::vector<std::string>{"top"});
  EXPECT_EQ(Button->RepeatTimer(), nullptr);
  SimulateMouseUp(mbLeft, At(15));
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Button->ButtonNum(), 0);
}

TEST_F(EditButtonControl, DraggingIntoTheOtherHalfReleasesWithoutAClick) {
  SimulateMouseDown(mbLeft, At(3));
  EXPECT_EQ(Button->State(), bsDown);
  SimulateMouseMove(At(16));
  EXPECT_EQ(Button->State(), bsUp);
  SimulateMouseMove(At(3));   // coming back does not press it again
  EXPECT_EQ(Button->State(), bsUp);
  Wait(600);
  EXPECT_EQ(Downs.size(), 1u);   // the repeat does nothing while up
  SimulateMouseUp(mbLeft, At(16));
  EXPECT_EQ(Clicks, 0);
  EXPECT_EQ(Button->ButtonNum(), 0);
}

TEST_F(EditButtonControl, AlwaysDownAndOwnerDrivenState) {
  Button->SetAlwaysDown(true);
  EXPECT_TRUE(Button->Down());
  EXPECT_EQ(Button->GroupIndex(), 1);
  EXPECT_EQ(Button->ButtonNum(), 1);
  Button->SetAlwaysDown(false);
  EXPECT_FALSE(Button->Down());
  EXPECT_EQ(Button->GroupIndex(), 0);
  EXPECT_EQ(Button->ButtonNum(), 0);
  Button->SetState(bsDown, true, 2);
  EXPECT_EQ(Button->State(), bsDown);
  EXPECT_TRUE(Button->Active());
  EXPECT_EQ(Button->ButtonNum(), 2);
}

}  // namespace
