// vqrDialogFormTest.cpp - the dialog page's window: thread-safe mode from its owner's tag, the
// refused close, the modification notice after moving, and a button and edit placed on it.
#include "report/core/vqrDialogForm.h"

#include <gtest/gtest.h>

#include "platform/controls/StdCtrls.h"

namespace {

TEST(vqrDialogForm, ThreadSafeByTagRefusedCloseAndModifyAfterMoving) {
  InitControls();
  TComponent Page(nullptr);
  Page.SetTag(318);
  TvqrDialogForm Safe(&Page);
  EXPECT_TRUE(Safe.ThreadSafe());
  EXPECT_EQ(Safe.Owner(), nullptr);
  TvqrDialogForm Plain(nullptr);
  EXPECT_FALSE(Plain.ThreadSafe());
  EXPECT_EQ(Plain.Caption(), u" ");
  EXPECT_EQ(Plain.ClientWidth(), 115);

  auto* Ok = new TButton(&Plain);
  Ok->SetParent(&Plain);
  Ok->SetModalResult(mrOk);
  auto* Edit = new TEdit(&Plain);
  Edit->SetParent(&Plain);
  Plain.Show();
  Plain.Close();
  EXPECT_TRUE(Plain.Visible());  // the page's relay decides; alone the window stays
  int Modified = 0;
  Plain.SetOnModify([&](TObject*) { ++Modified; });
  Plain.Perform(WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(Modified, 1);
  Plain.SetOnCloseQuery(nullptr);
  Plain.Close();
  EXPECT_FALSE(Plain.Visible());
}

}  // namespace
