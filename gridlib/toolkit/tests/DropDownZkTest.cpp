// DropDownZkTest.cpp - drop-down placement above and below an edit near the work-area edges,
// and the size grip's corner after a move.
#include <gtest/gtest.h>

#include "gridlib/toolkit/DropDownZk.h"

namespace {

TEST(DropDownPlacement, Table) {
  const TRect Work = Rect(0, 0, 1000, 700);
  struct Row {
    const char* Name;
    TRect Edit;
    TSize Size;
    int Align;
    TPoint Pos;
    TSize NewSize;
    TSizeGripChangePosition V, H;
  } Rows[] = {
      {"below", Rect(100, 100, 300, 120), {200, 150}, 0, {100, 120}, {200, 150}, sgcpToBottom, sgcpToRight},
      {"exactly fits below", Rect(100, 500, 300, 550), {200, 150}, 0, {100, 550}, {200, 150}, sgcpToBottom, sgcpToRight},
      {"above when only above fits", Rect(100, 600, 300, 620), {200, 150}, 0, {100, 450}, {200, 150}, sgcpToTop, sgcpToRight},
      {"neither: more room above, shrunk", Rect(100, 400, 300, 420), {200, 500}, 0, {100, 0}, {200, 400}, sgcpToTop, sgcpToRight},
      {"neither: more room below, shrunk", Rect(100, 250, 300, 270), {200, 500}, 0, {100, 270}, {200, 430}, sgcpToBottom, sgcpToRight},
      {"neither: tie goes below", Rect(100, 340, 300, 360), {200, 400}, 0, {100, 360}, {200, 340}, sgcpToBottom, sgcpToRight},
      {"right alignment", Rect(100, 100, 300, 120), {250, 100}, 1, {50, 120}, {250, 100}, sgcpToBottom, sgcpToLeft},
      {"centre alignment", Rect(100, 100, 300, 120), {300, 100}, 2, {50, 120}, {300, 100}, sgcpToBottom, sgcpToRight},
      {"clamped at the right edge", Rect(900, 100, 990, 120), {200, 100}, 0, {800, 120}, {200, 100}, sgcpToBottom, sgcpToLeft},
      {"clamped at the left edge", Rect(10, 100, 60, 120), {200, 100}, 1, {0, 120}, {200, 100}, sgcpToBottom, sgcpToRight},
      {"wider than the work area", Rect(10, 100, 60, 120), {1200, 100}, 0, {0, 120}, {1000, 100}, sgcpToBottom, sgcpToLeft},
  };
  for (const Row& R : Rows) {
    const TDropDownPlacement P = CalcDropDownPlacement(Work, R.Edit, R.Size, R.Align);
    EXPECT_EQ(P.Pos, R.Pos) << R.Name;
    EXPECT_EQ(P.Size.cx, R.NewSize.cx) << R.Name;
    EXPECT_EQ(P.Size.cy, R.NewSize.cy) << R.Name;
    EXPECT_EQ(P.Vertical, R.V) << R.Name;
    EXPECT_EQ(P.Horizontal, R.H) << R.Name;
  }
}

TEST(DropDownPlacement, WorkAreaOffsetFromTheScreenOrigin) {
  const TDropDownPlacement P =
      CalcDropDownPlacement(Rect(1000, 30, 2000, 730), Rect(1010, 40, 1050, 60), {100, 100}, 1);
  EXPECT_EQ(P.Pos, (TPoint{1000, 60}));
  EXPECT_EQ(P.Horizontal, sgcpToRight);
}

TEST(SizeGrip, CornerAfterAMove) {
  EXPECT_EQ(ChangedGripPosition(sgpBottomRight, sgcpToLeft), sgpBottomLeft);
  EXPECT_EQ(ChangedGripPosition(sgpTopRight, sgcpToLeft), sgpTopLeft);
  EXPECT_EQ(ChangedGripPosition(sgpBottomLeft, sgcpToRight), sgpBottomRight);
  EXPECT_EQ(ChangedGripPosition(sgpBottomRight, sgcpToTop), sgpTopRight);
  EXPECT_EQ(ChangedGripPosition(sgpTopLeft, sgcpToBottom), sgpBottomLeft);
  EXPECT_EQ(ChangedGripPosition(sgpTopLeft, sgcpToLeft), sgpTopLeft);
  EXPECT_EQ(ChangedGripPosition(sgpBottomLeft, sgcpToBottom), sgpBottomLeft);
}

}  // namespace
