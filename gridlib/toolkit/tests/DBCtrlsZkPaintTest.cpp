// DBCtrlsZkPaintTest.cpp - what the editors look like: the button strip's geometry, the red
// dotted required mark on the bottom row, the check square, right-aligned text inside its
// rectangle, antialiased text, and PNG pictures of each editor and drop-down to look at.
#include "gridlib/toolkit/tests/DBCtrlsZkTestFixture.h"

#include <filesystem>
#include <set>

#include "gridlib/toolkit/ButtonPaintZk.h"
#include "gridlib/toolkit/CalculatorZk.h"
#include "gridlib/toolkit/EditButtonControlZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "gridlib/toolkit/PopupMonthCalendarZk.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Snapshot.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/DateUtils.h"

namespace {

std::filesystem::path PngDir() {
  const auto Dir = std::filesystem::temp_directory_path() / "vorenta-editors";
  std::filesystem::create_directories(Dir);
  return Dir;
}

void SavePng(TWinControl* Control, const char* Name) {
  const auto File = PngDir() / Name;
  SaveControlToPng(Control, Utf8ToString(File.string()));
  EXPECT_GT(std::filesystem::file_size(File), 200u) << Name;
}

TColorRef PixelAt(TWinControl* Control, int X, int Y) {
  TBitmap B;
  RenderControl(Control, B);
  return B.PixelRGB(X, Y);
}

class PaintTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    SetNowForTests(EncodeDate(2026, 5, 17));
    Form->Font()->SetName(u"Tahoma");
    Form->Font()->SetSize(8);
  }
  void TearDown() override {
    SetClockForTests(nullptr);
    EditorTest::TearDown();
  }
};

TEST_F(PaintTest, FlatStripIsLineButtonLineButton) {
  auto* E = Place<TDBEditZk>(10);
  E->SetFlat(true);
  E->EditButton()->SetVisible(true);
  E->EditButtons()->Add()->SetStyle(ebsEllipsisZk);
  Show();
  const auto& List = E->EditButtonControlList();
  ASSERT_EQ(List.size(), 2u);
  ASSERT_GT(DefaultFlatButtonWidth, 0);
  const int W = DefaultFlatButtonWidth;
  const int Right = E->ClientWidth();
  EXPECT_EQ(List[1].EditButtonControl->BoundsRect().Right, Right);
  EXPECT_EQ(List[1].EditButtonControl->Width(), W);
  EXPECT_EQ(List[1].ButtonLine->Left(), Right - W - 1);
  EXPECT_EQ(List[0].EditButtonControl->Left(), Right - 2 * W - 1);
  EXPECT_EQ(List[0].ButtonLine->Left(), Right - 2 * W - 2);
  EXPECT_EQ(E->ButtonWidth(), 2 * W + 2);
  TRect R;
  E->Perform(EM_GETRECT, 0, LPARAM(&R));
  EXPECT_EQ(R.Right, Right - 2 * W - 2);   // the text stops at the strip
  E->SetFlat(false);
  EXPECT_FALSE(E->EditButtonControlList()[0].ButtonLine->Visible());
  EXPECT_EQ(E->ButtonWidth(), 2 * GetSystemMetrics(SM_CXVSCROLL));
  SavePng(E, "edit-buttons.png");
}

TEST_F(PaintTest, RequiredMarkIsARedDottedBottomRow) {
  auto* E = Place<TDBEditZk>(10);
  E->SetHighlightRequired(true);
  E->SetDataSource(Source);
  E->SetDataField(u"NAME");
  Show();
  Data->Append();
  const int Y = E->ClientHeight() - 1;
  TRect R;
  E->GetEditRect(R);
  const TPoint Origin = {E->NonClientInsets().Left, E->NonClientInsets().Top};
  int Red = 0, Other = 0;
  for (int X = R.Left + 2; X < R.Right - 3; ++X) {
    if (PixelAt(E, Origin.X + X, Origin.Y + Y) == RGB(255, 0, 0)) ++Red;
    else ++Other;
  }
  EXPECT_GT(Red, 5);
  EXPECT_GT(Other, 5);   // dotted, not solid
  SavePng(E, "edit-required.png");
  E->SetFocus();
  SimulateTyping(u"Охра");
  Data->Post();
  EXPECT_NE(PixelAt(E, Origin.X + R.Left + 2, Origin.Y + Y), RGB(255, 0, 0));
}

TEST_F(PaintTest, EditorsUnfocusedFocusedAndDroppedDown) {
  auto* Name = Place<TDBEditZk>(10);
  Name->SetDataSource(Source);
  Name->SetDataField(u"NAME");
  auto* Price = Place<TDBNumberEditZk>(40);
  Price->SetDataSource(Source);
  Price->SetDataField(u"PRICE");
  Price->SetDisplayFormat(u",0.00");
  Price->EditButton()->SetVisible(true);
  auto* Day = Place<TDBDateTimeEditZk>(70);
  Day->SetValue(Variant::FromDateTime(EncodeDate(2026, 5, 17)));
  auto* Combo = Place<TDBComboBoxZk>(100);
  Combo->Items()->SetText(u"Интерьер\r\nФасад\r\nУниверсальная");
  Combo->SetItemIndex(1);
  auto* Flag = Place<TDBCheckBoxZk>(130);
  Flag->SetCaption(u"С учетом формата");
  Flag->SetDataSource(Source);
  Flag->SetDataField(u"FLAG");
  Show();
  SavePng(Form, "editors-unfocused.png");
  // The right-aligned number ends inside its text rectangle.
  {
    TBitmap B;
    RenderControl(Price, B);
    const TRect Text = Price->GetTextRect();
    const TPoint O = {Price->NonClientInsets().Left, Price->NonClientInsets().Top};
    int LastInk = -1;
    std::set<TColorRef> Greys;
    for (int X = O.X; X < O.X + Price->ClientWidth() - Price->ButtonWidth(); ++X)
      for (int Y = O.Y + 2; Y < O.Y + Price->ClientHeight() - 2; ++Y) {
        const TColorRef C = B.PixelRGB(X, Y);
        if (C != RGB(255, 255, 255)) {
          LastInk = X - O.X;
          Greys.insert(C);
        }
      }
    EXPECT_GT(LastInk, Text.Right - 20);
    EXPECT_LT(LastInk, Text.Right);
    EXPECT_GT(Greys.size(), 2u);   // antialiased glyphs, not two-tone
  }
  Name->SetFocus();
  SavePng(Form, "editors-focused.png");
  Day->SetFocus();
  SimulateKeyPress(VK_DOWN, {ssAlt});
  SavePng(Day->DropDownCalendar(), "calendar-dropped.png");
  SimulateKeyPress(VK_ESCAPE, {}, u'\x1b');
  Price->SetFocus();
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Price->CalculatorVisible());
  SavePng(Price->DropDownCalculator(), "calculator-dropped.png");
  SimulateKeyPress(VK_ESCAPE, {}, u'\x1b');
  Combo->SetFocus();
  SimulateKeyPress(VK_DOWN, {ssAlt});
  SavePng(Combo->PopupListbox(), "combo-dropped.png");
  // The check square: 13 x 13 at the left, vertically centred.
  const TRect Square = CalcCheckBoxRect(Flag->ClientRect(), 0, 1);
  EXPECT_EQ(Square.Width(), 13);
  EXPECT_EQ(Square.Left, 0);
  Flag->SetFocus();
  SavePng(Flag, "check-focused.png");
}

}  // namespace
