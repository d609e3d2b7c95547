// ScreenShotTest.cpp - a small form with an open drop-down on a real X server, photographed.
//
// Runs only on the xcb platform, by hand, and the picture is looked at by a person:
//   QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 800x600x24"
//       vorenta_controls_tests --gtest_filter=ScreenShot.*
// The picture goes to $VORENTA_SCREENSHOT (default screenshot.png in the working directory).
#include "platform/controls/Snapshot.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/controls/DropDownWindow.h"
#include "platform/controls/Forms.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Graphics.h"

namespace {

class TListDropDown : public TDropDownWindow {
public:
  using TDropDownWindow::TDropDownWindow;

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clWindow);
    Canvas()->Pen()->SetColor(clBlack);
    Canvas()->Rectangle(ClientRect());
    const char16_t* Items[] = {u"Белила", u"Охра", u"Умбра"};
    for (int I = 0; I < 3; ++I) Canvas()->TextOut(4, 2 + I * 16, Items[I]);
  }
};

TEST(ScreenShot, SmallFormWithAnOpenDropDownOnTheXServer) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  InitControls();
  Application->Initialize();
  auto* Form = new TForm(Application);
  Form->SetCaption(u"Колеровка");
  Form->SetBounds(40, 40, 360, 220);
  auto* Edit = new TEdit(Form);
  Edit->SetParent(Form);
  Edit->SetBounds(16, 16, 200, 21);
  Edit->SetText(u"Белила");
  auto* Ok = new TButton(Form);
  Ok->SetParent(Form);
  Ok->SetCaption(u"Ok");
  Ok->SetBounds(240, 150, 90, 25);
  auto* Box = new TCheckBox(Form);
  Box->SetParent(Form);
  Box->SetCaption(u"Наименование");
  Box->SetBounds(16, 150, 150, 17);
  Box->SetChecked(true);
  Form->Show();
  auto* DropDown = new TListDropDown(Form);
  DropDown->SetBounds(0, 0, 200, 54);
  DropDown->DropDownAt(Edit->ClientToScreen({0, Edit->Height()}));
  for (int I = 0; I < 20; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_TRUE(DropDown->DroppedDown());
  EXPECT_EQ(GetFocus(), Edit);
  const char* Out = std::getenv("VORENTA_SCREENSHOT");
  const std::string Name = Out ? Out : "screenshot.png";
  SaveScreenToPng(Utf8ToString(Name));
  delete Form;
}

}  // namespace
