// DBGridZkScreenTest.cpp - a styled data grid on a real X server: striped rows, a multi-title
// header, a sum footer and the record-number bar, photographed from the screen.
//
// Runs only on the xcb platform, and the picture is looked at by a person:
//   QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" vorenta_grid_tests
//       --gtest_filter=DBGridScreen.*
// The picture goes to $VORENTA_SCREENSHOT_DBGRID (default dbgrid-screenshot.png here).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Picture.h"

namespace {

void Pump(int Rounds = 20) {
  for (int I = 0; I < Rounds; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TEST(DBGridScreen, StyledGridOnTheXServer) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  InitControls();
  Application->Initialize();
  TDBGridOnForm F(40, 560, 300);
  F.Form->SetCaption(u"Позиции заказа");
  TDBGridZk* G = F.Grid;
  G->SetOddRowColor(TColor(0xF0E8E0));
  G->SetUseMultiTitle(true);
  G->FindColumnByName(u"PRICE")->Title()->SetCaption(u"Товар|Цена");
  G->FindColumnByName(u"QTY")->Title()->SetCaption(u"Товар|Кол-во");
  G->SetFooterRowCount(1);
  G->SumList()->SetActive(true);
  G->FindColumnByName(u"PRICE")->Footer()->SetValueType(fvtSum);
  G->SetFocus();
  Pump();
  G->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
  Pump();
  EXPECT_GT(F.Set->RecNo(), 1);
  const char* Out = std::getenv("VORENTA_SCREENSHOT_DBGRID");
  const std::string Name = Out ? Out : "dbgrid-screenshot.png";
  SaveScreenToPng(Utf8ToString(Name));
  TPicture Picture;
  Picture.LoadFromFile(Utf8ToString(Name));
  ASSERT_NE(Picture.Graphic(), nullptr);
  EXPECT_GT(Picture.Graphic()->Width(), 0);
}

}  // namespace
