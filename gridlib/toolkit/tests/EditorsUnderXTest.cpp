// EditorsUnderXTest.cpp - the editors on a real X server: the calendar and the calculator drop
// down as shown tool windows at the placed spot while the focus stays in the editor, and Esc
// closes them; a screenshot of each goes to $VORENTA_SCREENSHOT_DIR (default: the temporary
// folder). CTest runs it under xvfb-run with QT_QPA_PLATFORM=xcb; elsewhere it skips.
#include "gridlib/toolkit/tests/DBCtrlsZkTestFixture.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "gridlib/toolkit/DropDownZk.h"
#include "platform/controls/Snapshot.h"
#include "platform/rtl/DateUtils.h"

namespace {

void Pump() {
  for (int I = 0; I < 12; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

std::string ShotPath(const char* Name) {
  const char* Dir = std::getenv("VORENTA_SCREENSHOT_DIR");
  return ((Dir ? std::filesystem::path(Dir) : std::filesystem::temp_directory_path()) / Name)
      .string();
}

class EditorsUnderX : public EditorTest {
protected:
  void SetUp() override {
    const char* Platform = std::getenv("QT_QPA_PLATFORM");
    if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
    EditorTest::SetUp();
    UseTestClock(false);
    Application->Initialize();
  }

  // The drop-down must be a shown tool window with its top left corner where the placement
  // put it, and the keyboard focus must stay in the editor.
  void ExpectDroppedAtPlace(TWinControl* Editor, TWinControl* DropDown) {
    Pump();
    ASSERT_TRUE(IsWindowVisible(DropDown));
    EXPECT_TRUE(DropDown->WindowExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetFocus(), Editor);
    TRect Placed;
    GetWindowRect(DropDown, Placed);
    const TPoint Corner = Editor->Parent()->ClientToScreen(Editor->BoundsRect().TopLeft());
    const TDropDownPlacement Expected =
        CalcDropDownPlacement(Screen->WorkAreaRect(), Bounds(Corner.X, Corner.Y, Editor->Width(),
                                                             Editor->Height()),
                              {DropDown->Width(), DropDown->Height()}, 0);
    EXPECT_EQ(Placed.TopLeft(), Expected.Pos);
  }
};

TEST_F(EditorsUnderX, CalendarAndCalculatorDropDownAsToolWindows) {
  SetNowForTests(EncodeDate(2026, 5, 17));
  Form->SetCaption(u"Заказ");
  Form->SetBounds(60, 60, 380, 260);
  int Top = 16;
  TDBDateTimeEditZk* Day = nullptr;
  TDBNumberEditZk* Sum = nullptr;
  for (int Size : {8, 9, 10}) {
    auto* D = Place<TDBDateTimeEditZk>(Top, 150);
    D->Font()->SetName(u"Tahoma");
    D->Font()->SetSize(Size);
    D->SetValue(Variant::FromDateTime(EncodeDate(2026, 5, 17)));
    auto* N = Place<TDBNumberEditZk>(Top, 150);
    N->SetLeft(180);
    N->Font()->SetName(u"Tahoma");
    N->Font()->SetSize(Size);
    N->EditButton()->SetVisible(true);
    N->SetValue(Variant(1234.5));
    Top += 40;
    if (!Day) {
      Day = D;
      Sum = N;
    }
  }
  Show();
  Pump();
  Day->SetFocus();
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Day->CalendarVisible());
  ExpectDroppedAtPlace(Day, Day->DropDownCalendar());
  SaveScreenToPng(Utf8ToString(ShotPath("editors-calendar-x.png")));
  SimulateKeyPress(VK_ESCAPE, {}, u'\x1b');
  Pump();
  EXPECT_FALSE(Day->CalendarVisible());
  EXPECT_FALSE(IsWindowVisible(Day->DropDownCalendar()));

  Sum->SetFocus();
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Sum->CalculatorVisible());
  ExpectDroppedAtPlace(Sum, Sum->DropDownCalculator());
  SaveScreenToPng(Utf8ToString(ShotPath("editors-calculator-x.png")));
  SimulateKeyPress(VK_ESCAPE, {}, u'\x1b');
  Pump();
  EXPECT_FALSE(Sum->CalculatorVisible());
  EXPECT_EQ(GetFocus(), Sum);
  SetClockForTests(nullptr);
}

}  // namespace
