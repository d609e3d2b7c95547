// GridMarkersZkTest.cpp - the marker windows: the move line's geometry and pieces, the layered
// attributes each combination of alpha and colour key gives, and the temporary hide.
#include "gridlib/grid/GridMarkersZk.h"

#include <gtest/gtest.h>

#include "gridlib/grid/tests/GridTestGrid.h"
#include "platform/controls/ExtCtrls.h"

namespace {

TEST(GridMarkers, MoveLineForAHundredPixelBoundary) {
  TGridOnForm F;
  TGridMoveLineZk* Line = GridMoveLineWindow();
  EXPECT_EQ(Line, GridMoveLineWindow()) << "one per process";
  Line->StartShow(F.Grid, {100, 20}, true, 100);
  TRect R;
  GetWindowRect(Line, R);
  const TPoint P = F.At(100, 20);
  EXPECT_EQ(R, Bounds(P.X - 3, P.Y - 4, 7, 108));
  EXPECT_TRUE(Line->Visible());
  EXPECT_TRUE(Line->Piece(u"sLine")->Visible());
  EXPECT_FALSE(Line->Piece(u"hLine")->Visible());
  EXPECT_EQ(Line->Piece(u"sLine")->Height(), 102) << "the line stretches with the window";
  EXPECT_EQ(Line->Piece(u"sLow7")->Top(), 107);

  Line->TemporaryHide();
  EXPECT_TRUE(Line->Visible());
  EXPECT_EQ(Line->Width(), 0);
  Line->StartShow(F.Grid, {10, 30}, false, 50);
  EXPECT_EQ(Line->Width(), 58);
  EXPECT_EQ(Line->Height(), 7);
  EXPECT_TRUE(Line->Piece(u"hLine")->Visible());
  Line->MoveToFor(F.Grid, {20, 30});
  GetWindowRect(Line, R);
  EXPECT_EQ(R.Left, F.At(17, 0).X);
  Line->SetVisible(false);
}

TEST(GridMarkers, LayeredAttributesTable) {
  InitControls();
  struct TCase {
    Byte Alpha;
    TColor Key;
    bool Layered;
    unsigned Flags;
  } Cases[] = {
      {255, 0, false, 0},
      {200, 0, true, LWA_ALPHA},
      {255, clWhite, true, LWA_COLORKEY},
      {128, clWhite, true, LWA_ALPHA | LWA_COLORKEY},
  };
  TGridDragBoxZk Box(Application);
  Box.HandleNeeded();
  EXPECT_EQ(Box.AlphaBlendValue(), 200);
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << int(C.Alpha) << " " << C.Key);
    Box.SetTransparentColorValue(C.Key);
    Box.SetAlphaBlendValue(C.Alpha);
    EXPECT_EQ((GetWindowLong(&Box, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, C.Layered);
    TColorRef Key = 0;
    Byte Alpha = 0;
    unsigned Flags = 0;
    EXPECT_EQ(GetLayeredWindowAttributes(&Box, &Key, &Alpha, &Flags), C.Layered);
    if (!C.Layered) continue;
    EXPECT_EQ(Flags, C.Flags);
    EXPECT_EQ(Alpha, C.Alpha);
    EXPECT_EQ(Key, ColorToRGB(C.Key));
  }
  EXPECT_TRUE(GetWindowLong(&Box, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLong(&Box, GWL_STYLE) & WS_POPUP);
  EXPECT_FALSE(Box.CanFocus());
}

}  // namespace
