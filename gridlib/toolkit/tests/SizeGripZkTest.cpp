// SizeGripZkTest.cpp - the size grip: its outline and corner, dragging within the work area,
// and its painting.
#include <gtest/gtest.h>

#include "gridlib/toolkit/SizeGripZk.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"

namespace {

class SizeGripDrag : public ::testing::Test {
protected:
  void SetUp() override {
    InitControls();
    Screen->SetMonitorsForTests({{Rect(0, 0, 1000, 700), Work}});
    Form = new TForm(Application);
    Form->SetBounds(300, 200, 200, 150);
    Grip = new TSizeGripZk(Form);
    Grip->SetParent(Form);
    Grip->SetOnParentResized([this](TObject*) { ++Resized; });
    Form->Show();
  }
  void TearDown() override {
    delete Form;
    Screen->SetMonitorsForTests({});
  }
  // Drags the grip from its middle by (DX, DY).
  void Drag(int DX, int DY) {
    const TPoint Start = Grip->ClientToScreen({Grip->Width() / 2, Grip->Height() / 2});
    SimulateMouseDown(mbLeft, Start);
    SimulateMouseMove({Start.X + DX, Start.Y + DY}, {ssLeft});
    SimulateMouseUp(mbLeft, {Start.X + DX, Start.Y + DY});
  }
  bool InItsCorner() const {
    const int CW = Form->ClientWidth(), CH = Form->ClientHeight();
    const bool Right = Grip->Position() == sgpTopRight || Grip->Position() == sgpBottomRight;
    const bool Bottom = Grip->Position() == sgpBottomLeft || Grip->Position() == sgpBottomRight;
    return Grip->Left() == (Right ? CW - Grip->Width() : 0) &&
           Grip->Top() == (Bottom ? CH - Grip->Height() : 0);
  }
  const TRect Work = Rect(0, 0, 1000, 600);
  TForm* Form = nullptr;
  TSizeGripZk* Grip = nullptr;
  int Resized = 0;
};

TEST_F(SizeGripDrag, StartsTriangularInTheBottomRightCorner) {
  EXPECT_EQ(Grip->Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(Grip->Position(), sgpBottomRight);
  EXPECT_TRUE(Grip->TriangleWindow());
  EXPECT_TRUE(InItsCorner());
  EXPECT_EQ(Grip->Cursor(), crSizeNWSE);
  Grip->SetBounds(5, 5, Grip->Width(), Grip->Height());   // moved by somebody else
  EXPECT_TRUE(InItsCorner());
  Grip->ChangePosition(sgcpToTop);
  EXPECT_EQ(Grip->Position(), sgpTopRight);
  EXPECT_TRUE(InItsCorner());
  EXPECT_EQ(Grip->Cursor(), crSizeNESW);
}

TEST_F(SizeGripDrag, TriangleHasItsRightAngleInTheCorner) {
  using P = std::vector<TPoint>;
  EXPECT_EQ(SizeGripTriangle(sgpBottomRight, 17, 17), (P{{0, 17}, {17, 17}, {17, 0}}));
  EXPECT_EQ(SizeGripTriangle(sgpBottomLeft, 17, 17), (P{{0, 0}, {0, 17}, {17, 17}}));
  EXPECT_EQ(SizeGripTriangle(sgpTopRight, 17, 17), (P{{1, 0}, {17, 0}, {17, 16}}));
  EXPECT_EQ(SizeGripTriangle(sgpTopLeft, 17, 17), (P{{0, 0}, {16, 0}, {0, 16}}));
}

TEST_F(SizeGripDrag, BottomRightDragGrowsTheClientWithinTheWorkArea) {
  const int CW = Form->ClientWidth(), CH = Form->ClientHeight();
  const TPoint Origin = Form->ClientOrigin();
  Drag(30, 20);
  EXPECT_EQ(Form->ClientWidth(), CW + 30);
  EXPECT_EQ(Form->ClientHeight(), CH + 20);
  EXPECT_EQ(Form->ClientOrigin(), Origin);
  EXPECT_EQ(Resized, 1);
  EXPECT_TRUE(InItsCorner());
  Drag(2000, 2000);
  EXPECT_EQ(Form->BoundsRect().Right, Work.Right);
  EXPECT_EQ(Form->BoundsRect().Bottom, Work.Bottom);
}

TEST_F(SizeGripDrag, TopLeftDragKeepsTheOppositeEdges) {
  Grip->SetPosition(sgpTopLeft);
  const TRect Before = Form->BoundsRect();
  Drag(-30, -20);
  EXPECT_EQ(Form->BoundsRect(), Rect(Before.Left - 30, Before.Top - 20, Before.Right, Before.Bottom));
  EXPECT_TRUE(InItsCorner());
  Drag(-2000, -2000);   // the client origin stops at the work area's edges
  EXPECT_EQ(Form->ClientOrigin(), (TPoint{Work.Left, Work.Top}));
  EXPECT_EQ(Form->BoundsRect().Right, Before.Right);
  EXPECT_EQ(Form->BoundsRect().Bottom, Before.Bottom);
  EXPECT_EQ(Resized, 2);
}

TEST_F(SizeGripDrag, MovesWithoutTheLeftButtonDoNotResize) {
  const TRect Before = Form->BoundsRect();
  const TPoint Start = Grip->ClientToScreen({8, 8});
  SimulateMouseMove(Start);
  SimulateMouseMove({Start.X + 40, Start.Y + 40});
  EXPECT_EQ(Form->BoundsRect(), Before);
  EXPECT_EQ(Resized, 0);
}

TEST_F(SizeGripDrag, PaintsDiagonalsTowardsTheCorner) {
  TBitmap Bitmap;
  RenderControl(Grip, Bitmap);
  const int H = Grip->Height();
  // The long side in highlight, the next two lines in shadow, then face.
  EXPECT_EQ(Bitmap.Canvas()->Pixels(0, H - 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Bitmap.Canvas()->Pixels(1, H - 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Bitmap.Canvas()->Pixels(2, H - 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Bitmap.Canvas()->Pixels(3, H - 1), ColorToRGB(clBtnFace));
  EXPECT_EQ(Bitmap.Canvas()->Pixels(4, H - 1), ColorToRGB(clBtnHighlight));
}

}  // namespace
