// PropFilerZkTest.cpp - the interceptor registry and the form interceptor's store and restore.
#include <gtest/gtest.h>

#include "gridlib/toolkit/PropFilerZk.h"

namespace {

TEST(StorageInterceptorRegistry, ALaterRegistrationReplacesTheEarlierOne) {
  const TClass Target = TCustomForm::ClassInfo();
  AddStorageInterceptorEntry(Target, TStoragePropertyInterceptor::ClassInfo());
  RegisterFormStorageInterceptor();
  int Found = 0;
  for (const auto& E : StorageInterceptorEntries()) {
    if (E.TargetClass != Target) continue;
    ++Found;
    EXPECT_EQ(E.InterceptorClass, TFormStoragePropertyInterceptor::ClassInfo());
  }
  EXPECT_EQ(Found, 1);
  RemoveStorageInterceptorEntry(Target, TStoragePropertyInterceptor::ClassInfo());   // no match
  EXPECT_EQ(StorageInterceptorEntries().size(), 1u);
  RemoveStorageInterceptorEntry(Target, TFormStoragePropertyInterceptor::ClassInfo());
  EXPECT_TRUE(StorageInterceptorEntries().empty());
}

class FormInterceptor : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    Form = new TForm(Application);
    Form->SetBounds(40, 30, 800, 600);
  }
  void TearDown() override { delete Form; }
  TForm* Form = nullptr;
};

TEST_F(FormInterceptor, TakesTheFormsValuesAndReadsItsBoundsLive) {
  Form->SetWindowState(wsMaximized);
  TFormStoragePropertyInterceptor I(Form);
  EXPECT_EQ(I.PixelsPerInch(), Form->PixelsPerInch());
  EXPECT_EQ(I.WindowState(), wsMaximized);
  Form->SetBounds(50, 60, 700, 500);
  EXPECT_EQ(I.Left(), 50);
  EXPECT_EQ(I.Height(), 500);
  TObject NotAForm;
  TFormStoragePropertyInterceptor None(&NotAForm);
  EXPECT_EQ(None.Width(), 0);
  None.Readed();   // nothing to restore into
}

TEST_F(FormInterceptor, RestoreRescalesToTheScreensPixelsPerInch) {
  TFormStoragePropertyInterceptor I(Form);
  ASSERT_EQ(Screen->PixelsPerInch(), 96);
  I.SetPixelsPerInch(120);   // stored on a 120 pixels-per-inch screen
  I.SetLeft(100);
  I.SetTop(50);
  I.SetWidth(1000);
  I.SetHeight(502);
  I.SetWindowState(wsMaximized);
  EXPECT_TRUE(I.PosPresent());
  I.Readed();
  EXPECT_EQ(Form->Width(), 800);
  EXPECT_EQ(Form->Height(), 402);   // 401.6 rounded
  EXPECT_EQ(Form->Left(), 80);
  EXPECT_EQ(Form->Top(), 40);
  EXPECT_EQ(Form->WindowState(), wsMaximized);
  EXPECT_EQ(GetNormalFormPlacement(Form), Rect(80, 40, 880, 442));
}

TEST_F(FormInterceptor, AMissingPixelsPerInchDoesNotScale) {
  TFormStoragePropertyInterceptor I(Form);
  I.SetPixelsPerInch(0);
  I.SetWidth(640);
  I.Readed();
  EXPECT_EQ(Form->Width(), 640);
}

}  // namespace
