// DBGridZkStyleTest.cpp - the paint-style object: its change notifications, the grids it
// serves, and the hot-track and fixed-cell colours it gives.
#include <gtest/gtest.h>

#include <memory>

#include "gridlib/grid/DBGridZkDraw.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"

namespace {

// A grid that counts its layout recalculations.
class TCountingGrid : public TDBGridZk {
public:
  using TDBGridZk::TDBGridZk;
  void LayoutChanged() override {
    ++Layouts;
    TDBGridZk::LayoutChanged();
  }
  int Layouts = 0;
};

// Changing a style property recalculates every grid using the style, once per change; a grid
// moved to another style or freed hears no more; a freed style hands its grids back to the
// process's style.
TEST(DBGridZkStyle, ChangesReachTheGridsThatUseTheStyle) {
  TDBGridOnForm F(3);
  auto* A = new TCountingGrid(F.Form);
  auto* B = new TCountingGrid(F.Form);
  A->SetParent(F.Form);
  B->SetParent(F.Form);
  auto Own = std::make_unique<TDBGridZkStyle>();
  A->SetStyle(Own.get());
  B->SetStyle(Own.get());
  Own->AddChangeNotification(A);   // no second entry
  A->Layouts = B->Layouts = 0;
  Own->SetLuminateSelection(false);
  Own->SetLuminateSelection(false);   // unchanged: no notice
  EXPECT_EQ(A->Layouts, 1);
  EXPECT_EQ(B->Layouts, 1);
  Own->SetIsDrawFocusRect(false);
  Own->SetInTitleFitlerButtonStyle(ebsEllipsisZk);
  EXPECT_EQ(A->Layouts, 3);
  B->SetStyle(nullptr);
  EXPECT_EQ(B->Style(), DBGridZkStyle());
  EXPECT_FALSE(Own->GridInChangeNotification(B));
  EXPECT_TRUE(DBGridZkStyle()->GridInChangeNotification(B));
  delete A;
  Own->Changed();   // the freed grid is not called
  B->SetStyle(Own.get());
  Own.reset();
  EXPECT_EQ(B->Style(), DBGridZkStyle());
  EXPECT_TRUE(DBGridZkStyle()->GridInChangeNotification(B));
  EXPECT_TRUE(DBGridZkStyle()->GridInChangeNotification(F.Grid));
}

}  // namespace
