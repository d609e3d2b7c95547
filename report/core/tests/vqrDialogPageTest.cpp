// vqrDialogPageTest.cpp - dialog pages with a platform button and edit wrapped by test
// subclasses: captions that follow names, client sizes, the modal showing with the bounds the
// user left, and a cancelled page stopping the report's run.
#include "report/core/vqrDialogPage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/Variants.h"
#include "report/core/vqrClassAbstract.h"
#include "report/core/vqrClassRTTI.h"
#include "report/core/vqrClassReport.h"
#include "report/core/vqrDMPClass.h"
#include "script/ks_iinterpreter.h"

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

class TTestLabelControl : public TvqrDialogControl {
public:
  explicit TTestLabelControl(TComponent* AOwner) : TvqrDialogControl(AOwner) {
    SetControl(new TLabel(nullptr));
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

// Drawn into a picture of the report, each control looks as on its window, at its place.
TEST_F(DialogPageTest, ControlsAreDrawnAtTheirPlaceAsTheyLook) {
  TvqrDialogPage Page(nullptr);
  auto* Button = new TTestButtonControl(&Page);
  Button->SetParent(&Page);
  Button->SetCaption(u"ОК");
  Button->SetBounds(10, 20, 75, 25);
  auto* Label = new TTestLabelControl(&Page);
  Label->SetParent(&Page);
  Label->SetCaption(u"Цвет");
  Label->SetBounds(100, 60, 40, 16);
  TBitmap Picture(200, 100);
  Picture.Canvas()->Brush()->SetColor(clWhite);
  Picture.Canvas()->FillRect(Rect(0, 0, 200, 100));
  for (TvqrComponent* C : Page.Objects())
    static_cast<TvqrReportComponent*>(C)->Draw(Picture.Canvas(), 1, 1, 0, 0);
  EXPECT_EQ(Picture.PixelRGB(9, 19), ColorToRGB(clWhite));
  EXPECT_EQ(Picture.PixelRGB(10 + 74, 20 + 24), ColorToRGB(cl3DDkShadow));   // the button's edge
  EXPECT_EQ(Picture.PixelRGB(10 + 5, 20 + 12), ColorToRGB(clBtnFace));
  bool Text = false;
  for (int X = 100; X < 140; ++X)
    for (int Y = 60; Y < 76; ++Y) Text = Text || Picture.PixelRGB(X, Y) == ColorToRGB(clWindowText);
  EXPECT_TRUE(Text);
  EXPECT_EQ(Picture.PixelRGB(139, 61), ColorToRGB(clBtnFace));
  EXPECT_EQ(Picture.PixelRGB(141, 61), ColorToRGB(clWhite));
}

// A page's controls are freed under the loading lock: another thread loading a report waits.
TEST_F(DialogPageTest, ControlsAreFreedUnderTheLoadingLock) {
  std::future<void> Loader;
  bool LoaderWaited = false;
  struct TWatchedControl : TTestButtonControl {
    TWatchedControl(TComponent* AOwner, std::future<void>& L, bool& W)
        : TTestButtonControl(AOwner), Loader(L), Waited(W) {}
    ~TWatchedControl() override {
      Loader = std::async(std::launch::async, [] {
        vqrLockXMLLoading();
        vqrUnlockXMLLoading();
      });
      Waited = Loader.wait_for(std::chrono::milliseconds(50)) == std::future_status::timeout;
    }
    std::future<void>& Loader;
    bool& Waited;
  };
  auto* Page = new TvqrDialogPage(nullptr);
  (new TWatchedControl(Page, Loader, LoaderWaited))->SetParent(Page);
  delete Page;
  Loader.get();   // the lock was let go
  EXPECT_TRUE(LoaderWaited);
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

// A report script shows a dialog page, reads and sets its modal result and focuses a control
// on it; the dot-matrix classes are known by name.
TEST_F(DialogPageTest, ScriptsShowDialogPagesAndFocusTheirControls) {
  vqrRegisterClassRTTI();
  TvqrDialogPage Page(nullptr);
  auto* Edit = new TTestEditControl(&Page);
  Edit->SetParent(&Page);
  auto* Button = new TTestButtonControl(&Page);
  Button->SetParent(&Page);
  TWinControl* FocusedWhenShown = nullptr;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    FocusedWhenShown = Form->ActiveControl();
    Form->SetOnCloseQuery(nullptr);
    Form->SetModalResult(mrOk);
  });
  TksScript S;
  S.AddRTTI();
  String Output;
  S.AddMethod(u"procedure Out(v: Variant)", [&](TObject*, TksClassRef, const String&, TksMethodHelper* H) {
    Output += VarToStr(H->GetParam(0)) + u" ";
    return Variant(0);
  });
  S.AddObject(u"Page1", &Page);
  S.AddObject(u"Button1", Button);
  S.SetText(u"var d: TvqrDMPPage; m: TvqrDMPMemoView; c: TvqrDMPCommand; l: TvqrDMPLineView;\r\n"
            u"begin Button1.SetFocus; Out(Page1.ShowModal); Out(Page1.ModalResult);\r\n"
            u"  Page1.ModalResult := 2; Out(Page1.ModalResult) end.");
  ASSERT_TRUE(S.Compile()) << StringToUtf8(S.ErrorPos() + u" " + S.ErrorMsg());
  S.Execute();
  EXPECT_EQ(Output, u"1 1 2 ");  // mrOk, mrOk, mrCancel
  EXPECT_EQ(FocusedWhenShown, Button->Control());  // not the first control, which has focus by default
}

}  // namespace
