// DBGridZkEditScreenTest.cpp - the cell editor's calendar, pick list and calculator on a real X
// server:
// mapped tool windows under the cell while the focus stays in the editor, closed by Esc;
// photographed.
//
// Runs only on the xcb platform:
//   QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" vorenta_grid_tests
//       --gtest_filter=DBGridEditScreen.*
// The pictures go to $VORENTA_SCREENSHOT_DBGRID_EDIT (default dbgrid-calendar.png here) and
// $VORENTA_SCREENSHOT_DBGRID_PICK (default dbgrid-picklist.png) and
// $VORENTA_SCREENSHOT_DBGRID_CALC (default dbgrid-calculator.png) and
// $VORENTA_SCREENSHOT_DBGRID_TYPED (default dbgrid-typed.png).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/toolkit/CalculatorZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "gridlib/toolkit/PopupMonthCalendarZk.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Picture.h"
#include "platform/rtl/DateUtils.h"

namespace {

void Pump(int Rounds = 20) {
  for (int I = 0; I < Rounds; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TEST(DBGridEditScreen, CalendarDropsDownOnTheXServer) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  InitControls();
  Application->Initialize();
  TDBGridOnForm F(0, 420, 200);
  F.Form->SetCaption(u"Даты заказов");
  auto* Set = new TArrayDataSet(F.Form);
  Set->FieldDefs()->Add(u"ID", ftInteger);
  Set->FieldDefs()->Add(u"MADE", ftDateTime);
  for (int I = 1; I <= 6; ++I) Set->AddRow({I, EncodeDateTime(2024, 3, I, 9 + I, 0, 0, 0)});
  Set->Open();
  F.Source->SetDataSet(nullptr);
  F.Source->SetDataSet(Set);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->SetFocus();
  Pump();
  G->MoveCol(1, 0, false);
  G->ShowCellEditor();
  Pump();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  SimulateKeyPress(VK_DOWN, {ssAlt});
  Pump();
  ASSERT_TRUE(Edit->ListVisible());
  EXPECT_TRUE(IsWindowVisible(Edit->Calendar()));
  EXPECT_EQ(GetFocus(), Edit) << "the focus stays in the editor";
  const char* Out = std::getenv("VORENTA_SCREENSHOT_DBGRID_EDIT");
  const std::string Name = Out ? Out : "dbgrid-calendar.png";
  SaveScreenToPng(Utf8ToString(Name));
  TPicture Picture;
  Picture.LoadFromFile(Utf8ToString(Name));
  ASSERT_NE(Picture.Graphic(), nullptr);
  SimulateKeyPress(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(Edit->ListVisible());
  EXPECT_FALSE(IsWindowVisible(Edit->Calendar()));
}

TEST(DBGridEditScreen, PickListDropsDownOnTheXServer) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  InitControls();
  Application->Initialize();
  TDBGridOnForm F(6, 420, 200);
  F.Form->SetCaption(u"Материалы");
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  TColumnZk* Name = G->FindColumnByName(u"NAME");
  Name->PickList()->SetCommaText(u"Краска,Лак,Грунт,Растворитель,\"Колер синий\",Шпатлёвка");
  Name->SetDropDownRows(4);
  G->SetFocus();
  Pump();
  G->MoveCol(Name->Index(), 0, false);
  G->ShowCellEditor();
  Pump();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  SimulateKeyPress(VK_DOWN, {ssAlt});
  SimulateKeyPress(VK_DOWN);
  Pump();
  ASSERT_TRUE(Edit->ListVisible());
  EXPECT_TRUE(IsWindowVisible(Edit->PickListBox()));
  EXPECT_EQ(GetFocus(), Edit) << "the focus stays in the editor";
  const char* Out = std::getenv("VORENTA_SCREENSHOT_DBGRID_PICK");
  const std::string Name2 = Out ? Out : "dbgrid-picklist.png";
  SaveScreenToPng(Utf8ToString(Name2));
  SimulateKeyPress(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(Edit->ListVisible());
  EXPECT_FALSE(IsWindowVisible(Edit->PickListBox()));
  EXPECT_EQ(Edit->Text(), u"Краска");
}

TEST(DBGridEditScreen, ButtonCellsAndTheCalculatorOnTheXServer) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  InitControls();
  Application->Initialize();
  TDBGridOnForm F(6, 460, 220);
  F.Form->SetCaption(u"Цены");
  TDBGridZk* G = F.Grid;
  TColumnZk* Price = G->Columns()->Items(2);
  Price->SetButtonStyle(cbsDropDown);
  Price->SetAlwaysShowEditButton(true);
  TColumnZk* Qty = G->Columns()->Items(3);
  Qty->SetButtonStyle(cbsUpDown);
  Qty->SetAlwaysShowEditButton(true);
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->SetFocus();
  Pump();
  G->MoveCol(2, 0, false);
  G->ShowCellEditor();
  Pump();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  SimulateKeyPress(VK_DOWN, {ssAlt});
  Pump();
  ASSERT_TRUE(Edit->ListVisible());
  EXPECT_TRUE(IsWindowVisible(Edit->Calculator()));
  EXPECT_EQ(GetFocus(), Edit) << "the focus stays in the editor";
  const char* Out = std::getenv("VORENTA_SCREENSHOT_DBGRID_CALC");
  const std::string Name = Out ? Out : "dbgrid-calculator.png";
  SaveScreenToPng(Utf8ToString(Name));
  SimulateKeyPress(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(Edit->ListVisible());
}

}  // namespace

namespace {

// Typing repaints only the editor's part of the grid window; the picture on the screen must be
// the one a whole paint of the grid gives (nothing left out or stale around the editor).
TEST(DBGridEditScreen, TypedKeysRepaintOnlyWhatTheyChange) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  InitControls();
  Application->Initialize();
  TDBGridOnForm F(12, 420, 200);
  F.Form->SetCaption(u"Набор текста");
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->SetFocus();
  Pump();
  G->MoveCol(G->FindColumnByName(u"NAME")->Index(), 0, false);
  for (const char16_t* Text : {u"О", u"х", u"р", u"а", u" ", u"ж", u"ё", u"л", u"т", u"а", u"я"}) {
    SimulateTyping(Text);
    Pump(3);
  }
  SimulateKeyPress(VK_DOWN);   // leaves the cell: the row above and the editor's place change
  Pump();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit);
  EXPECT_EQ(F.Set->RecNo(), 2) << "moved on to record 2";
  const char* Out = std::getenv("VORENTA_SCREENSHOT_DBGRID_TYPED");
  const std::string Name = Out ? Out : "dbgrid-typed.png";
  SaveScreenToPng(Utf8ToString(Name));
  TPicture Screen;
  Screen.LoadFromFile(Utf8ToString(Name));
  TBitmap Shot;
  Shot.SetSize(Screen.Width(), Screen.Height());
  Shot.Canvas()->Draw(0, 0, Screen.Graphic());
  TBitmap Whole;
  RenderControl(G, Whole);
  const TPoint Origin = G->ClientToScreen({0, 0});
  const TRect In = G->NonClientInsets();
  // The editor's own window is left out: its caret blinks.
  const TRect Editor = Edit->EditorVisible() ? Edit->BoundsRect() : TRect{};
  int Differ = 0;
  for (int Y = 0; Y < G->ClientHeight(); ++Y)
    for (int X = 0; X < G->ClientWidth(); ++X)
      if (!Editor.Contains({X, Y}) && Shot.PixelRGB(Origin.X + X, Origin.Y + Y) !=
          Whole.PixelRGB(In.Left + X, In.Top + Y))
        ++Differ;
  EXPECT_EQ(Differ, 0) << "pixels of the grid's client area unlike a whole paint";
}

}  // namespace
