// GridsZkScreenTest.cpp - a 10,000-row grid on a real X server: paging through the scroll bar,
// sizing a column with the mouse, and the column-move marker photographed where it stands.
//
// Runs only on the xcb platform, and the picture is looked at by a person:
//   QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" vorenta_grid_tests
//       --gtest_filter=GridScreen.*
// The picture goes to $VORENTA_SCREENSHOT (default grid-screenshot.png in the working directory).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "gridlib/grid/GridMarkersZk.h"
#include "gridlib/grid/tests/GridTestGrid.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/Snapshot.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/Picture.h"

namespace {

void Pump(int Rounds = 20) {
  for (int I = 0; I < Rounds; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

TEST(GridScreen, TenThousandRowsOnTheXServer) {
  const char* Platform = std::getenv("QT_QPA_PLATFORM");
  if (!Platform || std::string(Platform) != "xcb") GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
  InitControls();
  Application->Initialize();
  auto* Form = new TForm(Application);
  Form->SetCaption(u"Колеровка");
  Form->SetBounds(40, 40, 560, 360);
  auto* Grid = new TTestGrid(Form);
  Grid->SetParent(Form);
  Grid->SetBounds(8, 8, 520, 300);
  Grid->SetColCount(8);
  Grid->SetRowCount(10000);
  Grid->SetOptions(Grid->Options() + TGridOptions{goColSizing, goColMoving});
  Form->Show();
  Grid->SetFocus();
  Pump();

  // Page down through the bar: a press on its track below the thumb.
  const TGridMetrics M = Grid->CalcMetrics();
  const int Pages = M.Vert.LastWholeCell - Grid->TopRow();
  TRect Window;
  GetWindowRect(Grid, Window);
  const TPoint Track = {Window.Right - 4 - GetSystemMetrics(SM_CXVSCROLL) / 2, Window.Bottom - 60};
  SimulateMouseDown(mbLeft, Track);
  SimulateMouseUp(mbLeft, Track);
  Pump(5);
  EXPECT_EQ(Grid->TopRow(), 1 + Pages);

  // Widen column 1 by dragging its edge in the title row.
  const TPoint Edge = Grid->ClientToScreen({129, 10});
  SimulateMouseDown(mbLeft, Edge);
  SimulateMouseMove({Edge.X + 30, Edge.Y});
  SimulateMouseUp(mbLeft, {Edge.X + 30, Edge.Y});
  EXPECT_EQ(Grid->ColWidth(1), 94);

  // Start moving column 2 (160..224) and hold it over column 4.
  SimulateMouseDown(mbLeft, Grid->ClientToScreen({180, 10}));
  SimulateMouseMove(Grid->ClientToScreen({300, 60}));
  Pump();
  TGridMoveLineZk* Line = GridMoveLineWindow();
  ASSERT_TRUE(Line->Visible());
  const int MarkerX = Grid->CellScreenRect(4, Grid->TopRow()).Right;
  const TPoint Marker = Grid->ClientToScreen({MarkerX, 0});
  TRect R;
  GetWindowRect(Line, R);
  EXPECT_EQ(R.Left + 3, Marker.X);
  EXPECT_EQ(R.Top + 4, Marker.Y);

  const char* Out = std::getenv("VORENTA_SCREENSHOT");
  const std::string Name = Out ? Out : "grid-screenshot.png";
  SaveScreenToPng(Utf8ToString(Name));
  TPicture Picture;
  Picture.LoadFromFile(Utf8ToString(Name));
  TGraphic* Image = Picture.Graphic();
  ASSERT_NE(Image, nullptr);
  TBitmap Shot;
  Shot.SetSize(Image->Width(), Image->Height());
  Image->Draw(Shot.Canvas(), Rect(0, 0, Image->Width(), Image->Height()));
  EXPECT_EQ(Shot.PixelRGB(Marker.X, Marker.Y + 40), 0x0000FFu) << "the red line";
  SimulateMouseUp(mbLeft, Grid->ClientToScreen({300, 60}));
  EXPECT_FALSE(Line->Visible());
  delete Form;
}

}  // namespace
