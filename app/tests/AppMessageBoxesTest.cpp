// The application's boxes reach the platform's message-box service with the right buttons.
#include "app/AppMessageBoxes.h"

#include <gtest/gtest.h>

#include "platform/controls/Dialogs.h"

namespace {

struct TAnsweredBoxes : ::testing::Test {
  TTestDialogAnswerer* Answerer = nullptr;
  std::unique_ptr<IDialogService> Previous;
  TAppBoxHandler PreviousHandler;

  void SetUp() override {
    auto Service = std::make_unique<TTestDialogAnswerer>();
    Answerer = Service.get();
    Previous = SetDialogService(std::move(Service));
    PreviousHandler = SetAppBoxHandler(nullptr);
    UsePlatformMessageBoxes();
  }
  void TearDown() override {
    SetAppBoxHandler(PreviousHandler);
    SetDialogService(std::move(Previous));
  }
};

TEST_F(TAnsweredBoxes, QuestionIsAYesNoBoxAndAnswersYesOnlyForYes) {
  Answerer->MessageAnswers = {mrYes, mrNo};
  EXPECT_TRUE(AskYesNo(u"Удалить цвет из заказа?", u""));
  EXPECT_FALSE(AskYesNo(u"Удалить цвет из заказа?", u""));
  ASSERT_EQ(Answerer->Messages.size(), 2u);
  EXPECT_EQ(Answerer->Messages[0].Text, u"Удалить цвет из заказа?");
  EXPECT_EQ(Answerer->Messages[0].Buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo}));
}

TEST_F(TAnsweredBoxes, NoticeAndSystemBoxHaveOneOkButton) {
  Answerer->MessageAnswers = {mrOk, mrOk};
  ShowNotice(u"Готово", u"");
  ShowSystemError(u"Ошибка подключения к базе данных! \n ", u"");
  ASSERT_EQ(Answerer->Messages.size(), 2u);
  for (const auto& Box : Answerer->Messages)
    EXPECT_EQ(Box.Buttons, std::vector<TMsgDlgBtn>{mbOK});
  EXPECT_EQ(Answerer->Messages[1].Type, mtWarning);
}

}  // namespace
