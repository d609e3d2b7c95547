// vqrProgressTest.cpp - the progress box: steps, the message place, Cancel and the window it
// holds disabled, and the report getting it from the output module's start.
#include "report/output/vqrProgress.h"

#include <gtest/gtest.h>

#include "platform/controls/ProgressBar.h"
#include "platform/controls/StdCtrls.h"
#include "report/output/vqrOutputModule.h"

namespace {

class ProgressTest : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    vqrOutputModuleInitialize();
    Owner = new TForm(Application);
    Owner->SetBounds(100, 100, 500, 400);
    Owner->Show();
    Owner->SetFocus();
    ASSERT_EQ(Screen->ActiveForm(), Owner);
  }
  void TearDown() override {
    delete Owner;
    vqrOutputModuleFinalize();
  }
  TForm* Owner = nullptr;
};

TEST_F(ProgressTest, TicksStayInsideTheRangeAndTheMessageMovesWithTheBar) {
  TvqrProgress Box(nullptr);
  Box.Execute(3, u"Экспорт", false, true);
  EXPECT_TRUE(Box.Visible());
  EXPECT_FALSE(Box.CancelB->Visible());
  EXPECT_EQ(Box.LMessage->Caption(), u"Экспорт");
  EXPECT_EQ(Box.LMessage->Top(), 15);
  for (int I = 0; I < 5; ++I) Box.Tick();
  EXPECT_EQ(Box.Position(), 3);  // at the maximum a tick does nothing
  EXPECT_EQ(Box.Bar->Position(), 3);
  Box.SetPosition(-1);
  Box.Tick();
  EXPECT_EQ(Box.Position(), -1);  // nor below the minimum
  Box.SetShowProgress(false);
  EXPECT_FALSE(Box.Bar->Visible());
  EXPECT_EQ(Box.LMessage->Top(), 35);
}

TEST_F(ProgressTest, CancelEndsTheBoxAndGivesTheWindowItsInputBack) {
  auto* Box = new TvqrProgress(nullptr);
  EXPECT_FALSE(Owner->Enabled());
  Box->Execute(0, String(), true, false);
  EXPECT_TRUE(Box->CancelB->Visible());
  EXPECT_FALSE(Box->Bar->Visible());
  Box->CancelB->Click();
  EXPECT_TRUE(Box->Terminated());
  EXPECT_TRUE(Box->Canceled());
  EXPECT_FALSE(Box->Visible());
  EXPECT_TRUE(Owner->Enabled());
  delete Box;
  EXPECT_TRUE(Owner->Enabled());
}

TEST_F(ProgressTest, AnOldStyleRunOfTheReportShowsTheBox) {
  TvqrReport Report(nullptr);
  Report.SetOldStyleProgress(true);
  Report.InternalOnProgressStart(ptPrinting);
  Report.InternalOnProgress(ptPrinting, 2);
  bool Found = false;
  for (int I = 0; I < Screen->FormCount(); ++I)
    if (auto* P = dynamic_cast<TvqrProgress*>(Screen->Forms(I))) {
      Found = true;
      EXPECT_EQ(P->Message(), u"Печатается страница 2");
      EXPECT_TRUE(P->CancelB->Visible());
    }
  EXPECT_TRUE(Found);
  Report.InternalOnProgressStop(ptPrinting);
}

}  // namespace
