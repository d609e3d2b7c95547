// vqrDialogPageTest.cpp - dialog pages with a platform button and edit wrapped by test
// subclasses: captions that follow names, client sizes, the modal showing with the bounds the
// user left, and a cancelled page stopping the report's run.
#include "report/core/vqrDialogPage.h"

#include <gtest/gtest.h>

#include "platform/controls/StdCtrls.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClassReport.h"

namespace {

class TTestButtonControl : public TvqrDialogControl {
public:
  explicit TTestButtonControl(TComponent* AOwner) : TvqrDialogControl(AOwner) {
    SetControl(new TButton(nullptr));
  }
};

class TTestEditControl : public TvqrDialogControl {
public:
  explicit TTestEditControl(TComponent* AOwner) : TvqrDialogControl(AOwner) {
    SetControl(new TEdit(nullptr));
  }
};

struct DialogPageTest : ::testing::Test {
  void SetUp() override {
    InitControls();
    vqrModuleInitialize();
  }
  void TearDown() override {
    TCustomForm::SetModalHookForTests(nullptr);
    vqrModuleFinalize();
  }
};

TEST_F(DialogPageTest, ControlsSitOnThePageWindowAndCaptionsFollowNames) {
  TvqrDialogPage Page(nullptr);
  auto* Button = new TTestButtonControl(&Page);
  Button->SetName(u"Button1");
  Button->SetCaption(u"Button1");
  Button->SetParent(&Page);
  Button->SetBounds(10.4, 20, 75, 25);
  EXPECT_EQ(Button->Control()->Parent(), Page.DialogForm());
  EXPECT_EQ(Button->Control()->Left(), 10);
  Button->SetName(u"OkButton");
  EXPECT_EQ(Button->Caption(), u"OkButton");
  auto* Edit = new TTestEditControl(&Page);
  Edit->SetParent(&Page);
  Edit->SetCaption(u"Охра");
  Edit->SetName(u"Edit1");
  EXPECT_EQ(Edit->Caption(), u"Охра");
  Page.SetClientWidth(300);
  EXPECT_EQ(Page.DialogForm()->ClientWidth(), 300);
  EXPECT_EQ(Page.Width(), Page.DialogForm()->Width());
}

TEST_F(DialogPageTest, ShownModallyItKeepsWhereTheUserLeftIt) {
  TvqrDialogPage Page(nullptr);
  auto* Button = new TTestButtonControl(&Page);
  Button->SetParent(&Page);
  Page.SetCaption(u"Параметры");
  TCustomForm::SetModalHookForTests([](TCustomForm* Form) {
    Form->SetBounds(40, 50, 320, 200);
    Form->SetOnCloseQuery(nullptr);
    Form->SetModalResult(mrOk);
  });
  EXPECT_EQ(Page.ShowModal(), mrOk);
  EXPECT_EQ(Page.DialogForm()->Caption(), u"Параметры");
  Page.UpdateBounds();
  EXPECT_EQ(Page.Left(), 40);
  EXPECT_EQ(Page.Top(), 50);
  EXPECT_EQ(Page.Width(), 320);
  EXPECT_EQ(Page.DialogForm()->FormStyle(), fsStayOnTop);
}

TEST_F(DialogPageTest, ACancelledPageStopsTheRunAndAnEmptyPageIsNotShown) {
  TvqrReport Report(nullptr);
  auto* Empty = new TvqrDialogPage(&Report);
  Empty->SetParent(&Report);
  EXPECT_TRUE(vqrRunDialogPages(&Report));  // no controls: not shown
  auto* Page = new TvqrDialogPage(&Report);
  Page->SetParent(&Report);
  (new TTestButtonControl(Page))->SetParent(Page);
  int Shown = 0;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    ++Shown;
    Form->SetOnCloseQuery(nullptr);
    Form->SetModalResult(mrCancel);
  });
  EXPECT_FALSE(vqrRunDialogPages(&Report));
  EXPECT_EQ(Shown, 1);
  EXPECT_FALSE(Report.PrepareReport(true));
  EXPECT_EQ(Shown, 2);
}

}  // namespace
