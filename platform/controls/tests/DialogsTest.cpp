// DialogsTest.cpp - input queries through the dialog service, and the common dialogs' base.
#include "platform/controls/Dialogs.h"

#include <gtest/gtest.h>

#include "platform/classes/TypeRegistry.h"
#include "platform/rtl/Exceptions.h"

namespace {

struct DialogsTest : ::testing::Test {
  void SetUp() override {
    Answers = new TTestDialogAnswerer;
    Previous = SetDialogService(std::unique_ptr<IDialogService>(Answers));
  }
  void TearDown() override { SetDialogService(std::move(Previous)); }
  TTestDialogAnswerer* Answers = nullptr;
  std::unique_ptr<IDialogService> Previous;
};

}  // namespace

TEST_F(DialogsTest, InputQueryAndInputBoxAskTheService) {
  TInputQueryRequest Seen;
  Answers->InputAnswers.push_back([&](TInputQueryRequest& R) {
    Seen = R;
    R.Value = u"Охра";
    return true;
  });
  Answers->InputAnswers.push_back([](TInputQueryRequest& R) {
    R.Value = u"ignored";
    return false;
  });
  String Value = u"Белила";
  EXPECT_TRUE(InputQuery(u"Краска", u"Название:", Value));
  EXPECT_EQ(Value, u"Охра");
  EXPECT_EQ(Seen.Caption, u"Краска");
  EXPECT_EQ(Seen.Prompt, u"Название:");
  EXPECT_EQ(Seen.Value, u"Белила");
  EXPECT_EQ(InputBox(u"C", u"P", u"default"), u"default");  // cancelled
  EXPECT_THROW(InputBox(u"C", u"P", u"x"), EInvalidOperation);  // nobody expected it
}

TEST_F(DialogsTest, CommonDialogsShareTheirBase) {
  for (TClass C : {TOpenDialog::ClassInfo(), TSaveDialog::ClassInfo(), TColorDialog::ClassInfo(),
                   TFontDialog::ClassInfo(), TPrintDialog::ClassInfo(), TPrinterSetupDialog::ClassInfo()})
    EXPECT_TRUE(C->InheritsFrom(TCommonDialog::ClassInfo())) << StringToUtf8(C->Name());
  EXPECT_FALSE(TCommonDialog::ClassInfo()->CanCreate());
  TColorDialog Dialog(nullptr);
  Answers->ColorAnswers.push_back([](TColorDialogRequest& R) {
    R.Color = clRed;
    return true;
  });
  TCommonDialog& Common = Dialog;
  EXPECT_TRUE(Common.Execute());
  EXPECT_EQ(Dialog.Color(), clRed);
}
