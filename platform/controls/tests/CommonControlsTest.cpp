// CommonControlsTest.cpp - progress bar, up-down, paint box and tree view, driven through
// their messages on a form.
#include <gtest/gtest.h>

#include "platform/controls/Forms.h"
#include "platform/controls/PaintBox.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/TreeView.h"
#include "platform/controls/UpDown.h"
#include "platform/graphics/Bitmap.h"

namespace {

class CommonControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 400, 300);
    Form->Show();
  }
  void TearDown() override { delete Form; }
  template <class T>
  T* Add() {
    auto* C = new T(Form);
    C->SetParent(Form);
    return C;
  }
  void Click(TControl* C, int X, int Y) {
    C->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
    C->Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
  }
  TForm* Form = nullptr;
};

TEST_F(CommonControlsTest, ProgressBarKeepsItsRangeAndFillsInProportion) {
  auto* Bar = Add<TProgressBar>();
  Bar->SetBounds(0, 0, 102, 17);
  Bar->SetPosition(150);
  EXPECT_EQ(Bar->Position(), 100);
  EXPECT_EQ(Bar->FilledWidth(), 100);
  Bar->SetPosition(-3);
  EXPECT_EQ(Bar->Position(), 0);
  Bar->SetMax(11);
  Bar->SetStep(5);
  Bar->StepIt();
  Bar->StepIt();
  EXPECT_EQ(Bar->Position(), 10);
  EXPECT_EQ(Bar->FilledWidth(), 100 * 10 / 11);
  Bar->StepIt();  // past the end: wraps to the start
  EXPECT_EQ(Bar->Position(), 3);
}

TEST_F(CommonControlsTest, UpDownStepsItsEditWithinTheRange) {
  auto* Edit = Add<TEdit>();
  Edit->SetBounds(10, 10, 60, 21);
  auto* Up = Add<TUpDown>();
  Up->SetMin(1);
  Up->SetMax(3);
  Up->SetAssociate(Edit);
  EXPECT_EQ(Edit->Text(), u"1");
  EXPECT_EQ(Up->Left(), 70);
  int Clicks = 0;
  Up->SetOnClick([&](TObject*) { ++Clicks; });
  for (int I = 0; I < 4; ++I) Click(Up, 5, 2);
  EXPECT_EQ(Edit->Text(), u"3");
  Edit->SetText(u"2");
  EXPECT_EQ(Up->Position(), 2);
  Click(Up, 5, 18);
  EXPECT_EQ(Edit->Text(), u"1");
  EXPECT_EQ(Clicks, 5);
  delete Edit;
  EXPECT_EQ(Up->Associate(), nullptr);
}

TEST_F(CommonControlsTest, PaintBoxPaintsThroughItsEvent) {
  auto* Box = Add<TPaintBox>();
  Box->SetBounds(0, 0, 20, 20);
  Box->SetOnPaint([Box](TObject*) {
    Box->Canvas()->Brush()->SetColor(clRed);
    Box->Canvas()->FillRect(Rect(0, 0, 20, 20));
  });
  TBitmap Shot;
  RenderControl(Form, Shot);
  EXPECT_EQ(ColorToRGB(Shot.Canvas()->Pixels(5, 5)), ColorToRGB(clRed));
}

TEST_F(CommonControlsTest, TreeViewRowsExpandCollapseTopItemAndClicks) {
  auto* Tree = Add<TTreeView>();
  Tree->SetBounds(0, 0, 150, 48);  // three rows
  TTreeNodes* Items = Tree->Items();
  Items->BeginUpdate();
  TTreeNode* A = Items->AddChild(nullptr, u"A");
  A->SetImageIndex(3);
  A->SetStateIndex(120);
  TTreeNode* A1 = Items->AddChild(A, u"A1");
  Items->AddChild(A1, u"A1a");
  Items->AddChild(nullptr, u"B");
  Items->EndUpdate();
  EXPECT_EQ(Items->Count(), 4);
  EXPECT_EQ(Tree->VisibleNodes().size(), 2u);
  Tree->FullExpand();
  EXPECT_EQ(Tree->VisibleNodes().size(), 4u);
  Tree->SetTopItem(A1);
  EXPECT_EQ(Tree->TopItem(), A1);
  Tree->SetTopItem(Items->Root(1));  // the last row cannot be at the top of three rows
  EXPECT_EQ(Tree->TopItem(), A1);
  int Clicks = 0;
  Tree->SetOnClick([&](TObject*) { ++Clicks; });
  Click(Tree, 60, 20);  // second visible row: A1a
  ASSERT_NE(Tree->Selected(), nullptr);
  EXPECT_EQ(Tree->Selected()->Text(), u"A1a");
  EXPECT_EQ(Clicks, 1);
  Tree->FullCollapse();
  EXPECT_EQ(Tree->TopItem(), A);
  Click(Tree, 8, 4);  // the plus box of A
  EXPECT_TRUE(A->Expanded());
  EXPECT_EQ(A->StateIndex(), 120);
  Items->Clear();
  EXPECT_EQ(Tree->Selected(), nullptr);
  EXPECT_EQ(Tree->TopItem(), nullptr);
}

}  // namespace
