// FormsTest.cpp - modal forms, closing, the message-box service and a rendered form.
#include "platform/controls/Forms.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include <QCoreApplication>
#include <QWidget>
#include <sstream>

#include "platform/controls/Dialogs.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/WinDraw.h"

namespace {

// A minimal push button: Return reaches it as the default button, a click ends the modal form.
class TOkButton : public TCustomControl {
public:
  explicit TOkButton(TComponent* Owner) : TCustomControl(Owner) {
    SetTabStop(true);
    SetBounds(10, 10, 75, 25);
  }
  void Dispatch(TMessage& M) override {
    if (M.Msg == CM_DIALOGKEY && M.WParam == VK_RETURN) {
      Click();
      M.Result = 1;
      return;
    }
    TCustomControl::Dispatch(M);
  }

protected:
  void Click() override { GetParentForm()->SetModalResult(mrOk); }
  void Paint() override {
    TRect R = ClientRect();
    DrawFrameControl(Canvas(), R, DFC_BUTTON, DFCS_BUTTONPUSH);
    R = ClientRect();
    Canvas()->Brush()->SetStyle(bsClear);
    DrawText(Canvas(), u"ОК", R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
};

struct FormsTest : ::testing::Test {
  void SetUp() override {
    InitControls();
    Answers = new TTestDialogAnswerer;
    Previous = SetDialogService(std::unique_ptr<IDialogService>(Answers));
  }
  void TearDown() override {
    TCustomForm::SetModalHookForTests(nullptr);
    SetDialogService(std::move(Previous));
  }
  TTestDialogAnswerer* Answers = nullptr;
  std::unique_ptr<IDialogService> Previous;
};

TEST_F(FormsTest, ShowModalReturnsTheDefaultButtonsResult) {
  TForm Form(nullptr);
  new TOkButton(&Form);
  static_cast<TControl*>(Form.Components(0))->SetParent(&Form);
  TCustomForm::SetModalHookForTests([](TCustomForm*) { SimulateKeyPress(VK_RETURN); });
  EXPECT_EQ(Form.ShowModal(), mrOk);
  EXPECT_FALSE(Form.Visible());
  EXPECT_FALSE(Form.Modal());
}

TEST_F(FormsTest, CloseQueryAsksThroughTheMessageBoxService) {
  TForm Form(nullptr);
  Form.SetOnCloseQuery([](TObject*, bool& CanClose) {
    CanClose = MessageDlg(u"Сохранить изменения?", mtConfirmation, {mbYes, mbNo}) == mrYes;
  });
  Answers->MessageAnswers = {mrNo, mrYes};
  TCustomForm::SetModalHookForTests([](TCustomForm* F) { F->Close(); });
  // The first answer keeps the form open, so the loop would wait: close again from a timer.
  Form.HandleNeeded();
  UseTestClock(true);
  SetTimer(&Form, 1, 10);
  int Closes = 0;
  Form.SetWindowProc([&](TMessage& M) {
    if (M.Msg == WM_TIMER) {
      ++Closes;
      KillTimer(&Form, 1);
      Form.Close();
      return;
    }
    Form.WndProc(M);
  });
  AdvanceTestClock(20);
  EXPECT_EQ(Form.ShowModal(), mrCancel);
  UseTestClock(false);
  ASSERT_EQ(Answers->Messages.size(), 2u);
  EXPECT_EQ(Answers->Messages[0].Caption, u"Подтверждение");
  EXPECT_EQ(MsgDlgButtonCaption(Answers->Messages[0].Buttons[0]), u"Да");
  EXPECT_EQ(MsgDlgButtonCaption(Answers->Messages[0].Buttons[1]), u"Нет");
  EXPECT_EQ(Closes, 1);
}

TEST_F(FormsTest, AModalFormNobodyCanAnswerIsAnErrorNotAHang) {
  TForm Form(nullptr);
  EXPECT_THROW(Form.ShowModal(), EInvalidOperation);
  EXPECT_FALSE(Form.Visible());
}

TEST_F(FormsTest, MessageBoxFlagsBecomeButtonsAndAnswers) {
  Answers->MessageAnswers = {mrCancel};
  EXPECT_EQ(MessageBox(nullptr, u"Текст", u"Заголовок", MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2), IDCANCEL);
  const TMessageBoxRequest& R = Answers->Messages.back();
  EXPECT_EQ(R.Type, mtWarning);
  ASSERT_EQ(R.Buttons.size(), 2u);
  EXPECT_EQ(MsgDlgButtonCaption(R.Buttons[0]), u"ОК");
  EXPECT_EQ(MsgDlgButtonCaption(R.Buttons[1]), u"Отмена");
  EXPECT_EQ(R.DefaultIndex, 1);
  // A message box nobody expected fails the test instead of waiting.
  EXPECT_THROW(ShowMessage(u"?"), EInvalidOperation);
}

TEST_F(FormsTest, ExceptionDisplayUsesTheTitleAndSkipsAbort) {
  Application->SetTitle(u"Колеровка");
  Answers->MessageAnswers = {mrOk};
  Application->HandleException(nullptr, EConvertError(u"'x' is not a valid integer value"));
  ASSERT_EQ(Answers->Messages.size(), 1u);
  EXPECT_EQ(Answers->Messages[0].Caption, u"Колеровка");
  EXPECT_EQ(Answers->Messages[0].Text, u"'x' is not a valid integer value.");
  Application->HandleException(nullptr, EAbort(u""));
  EXPECT_EQ(Answers->Messages.size(), 1u);
}

// A handler's exception inside an event the platform delivers (input, activation) reaches the
// exception display, and the caller goes on.
TEST_F(FormsTest, ExceptionInAnEventFromThePlatformIsShownAndTheLoopGoesOn) {
  struct TThrowing : QObject {
    bool event(QEvent*) override { throw EConvertError(u"'x' is not a valid integer value"); }
  } Receiver;
  Application->Initialize();
  Answers->MessageAnswers = {mrOk};
  QEvent Event(QEvent::User);
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&Receiver, &Event));
  ASSERT_EQ(Answers->Messages.size(), 1u);
  EXPECT_EQ(Answers->Messages[0].Text, u"'x' is not a valid integer value.");
}

// A window the window system moves tells its form; a form that then places itself elsewhere
// moves the window once more, and that move is not fed back to it again (the two chased each
// other until the stack ran out).
TEST_F(FormsTest, AFormPlacingItselfElsewhereWhenMovedDoesNotChaseItsWindow) {
  struct TShiftingForm : TForm {
    using TForm::TForm;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override {
      ++Calls;
      TForm::SetBounds(ALeft + 1, ATop, AWidth, AHeight);
    }
    int Calls = 0;
  };
  Application->Initialize();
  TShiftingForm Form(nullptr);
  Form.Show();
  auto* Window = static_cast<QWidget*>(Form.Surface());
  ASSERT_NE(Window, nullptr);
  Form.Calls = 0;
  Window->move(200, 150);
  EXPECT_EQ(Form.Calls, 1);
  EXPECT_EQ(Form.Left(), 201);
  Form.Hide();
}

TEST_F(FormsTest, RendersAFormToPng) {
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 200, 120);
  auto* Button = new TOkButton(&Form);
  Button->SetParent(&Form);
  Button->SetBounds(110, 85, 80, 25);
  auto* Panel = new TCustomControl(&Form);
  Panel->SetParent(&Form);
  Panel->SetBounds(10, 10, 180, 60);
  Panel->SetBorderStyle(bsSingle);
  Panel->SetColor(clWindow);
  const String File = u"controls-form.png";
  SaveControlToPng(&Form, File);
  std::ifstream In("controls-form.png", std::ios::binary);
  std::stringstream Bytes;
  Bytes << In.rdbuf();
  TBitmap Image;
  Image.LoadFromBytes(Bytes.str());
  ASSERT_EQ(Image.Width(), 200);
  // The form's face, the panel's white inside its sunken edge, the edge's shadow.
  EXPECT_EQ(Image.PixelRGB(5, 5), ColorToRGB(clBtnFace));
  EXPECT_EQ(Image.PixelRGB(50, 40), ColorToRGB(clWindow));
  EXPECT_EQ(Image.PixelRGB(10, 10), ColorToRGB(clBtnShadow));
}

// An OnPaint that raises leaves the form's canvas detached from the paint target, which goes away
// with the paint; the next paint draws as usual.
TEST_F(FormsTest, ThrowingOnPaintLeavesTheCanvasDetached) {
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 60, 40);
  bool Raise = true;
  Form.SetOnPaint([&](TObject*) {
    Form.Canvas()->Brush()->SetColor(clRed);
    Form.Canvas()->FillRect(TRect{0, 0, 10, 10});
    if (Raise) throw Exception(u"paint failed");
  });
  TBitmap Image;
  EXPECT_THROW(RenderControl(&Form, Image), Exception);
  EXPECT_EQ(Form.Canvas()->Device(), nullptr);
  Raise = false;
  RenderControl(&Form, Image);
  EXPECT_EQ(Form.Canvas()->Device(), nullptr);
  EXPECT_EQ(Image.PixelRGB(5, 5), ColorToRGB(clRed));
}

}  // namespace

// Without a display the X11 platform must end in EOSError, never in the platform's abort;
// other platforms (offscreen in the tests) are not checked.
TEST(ApplicationDisplay, CheckDisplayRaisesWithoutAnXServer) {
  struct TEnvCase {
    const char* Platform;   // nullptr: unset
    const char* Display;    // nullptr: unset
    const char16_t* Message;  // nullptr: no error
  };
  const TEnvCase Cases[] = {
      {nullptr, nullptr, u"Нет графического дисплея: переменная DISPLAY не задана"},
      {"xcb", "", u"Нет графического дисплея: переменная DISPLAY не задана"},
      {"xcb", ":97531", u"Нет графического дисплея: нет связи с X-сервером :97531"},
      {"offscreen", nullptr, nullptr},
  };
  auto Saved = [](const char* Name) {
    const char* V = std::getenv(Name);
    return V ? std::optional<std::string>(V) : std::nullopt;
  };
  const auto OldPlatform = Saved("QT_QPA_PLATFORM"), OldDisplay = Saved("DISPLAY");
  auto Put = [](const char* Name, const char* Value) {
    if (Value) setenv(Name, Value, 1); else unsetenv(Name);
  };
  for (const TEnvCase& Case : Cases) {
    Put("QT_QPA_PLATFORM", Case.Platform);
    Put("DISPLAY", Case.Display);
    if (!Case.Message) {
      EXPECT_NO_THROW(TApplication::CheckDisplay()) << Case.Platform;
      continue;
    }
    try {
      TApplication::CheckDisplay();
      ADD_FAILURE() << "no error for display " << (Case.Display ? Case.Display : "(unset)");
    } catch (const EOSError& E) {
      EXPECT_EQ(E.Message(), Case.Message);
    }
  }
  Put("QT_QPA_PLATFORM", OldPlatform ? OldPlatform->c_str() : nullptr);
  Put("DISPLAY", OldDisplay ? OldDisplay->c_str() : nullptr);
}

// The platform's dialogs speak Russian, and the title names the program to the window system.
// In a child process: the platform's application object made here would outlive this test.
TEST(ApplicationDisplay, PlatformTextsInRussianAndTheTitleAsApplicationName) {
  EXPECT_EXIT(
      {
        InitControls();
        Application->Initialize();
        Application->SetTitle(u"V o r e n t a");
        const bool Named = QCoreApplication::applicationName() == QStringLiteral("V o r e n t a");
        const bool Russian = QCoreApplication::translate("QPlatformTheme", "Cancel") ==
                             QStringLiteral("Отмена");
        std::exit(Named && Russian ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}
