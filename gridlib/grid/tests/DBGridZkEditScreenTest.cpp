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
// $VORENTA_SCREENSHOT_DBGRID_CALC (default dbgrid-calculator.png).
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
