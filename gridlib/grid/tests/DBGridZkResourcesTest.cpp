// DBGridZkResourcesTest.cpp - the grid unit's pictures: the two image lists and the sort-index
// font made at unit start, the indicator glyph of each dataset state, and the selection
// pointers over the indicator and the lowest pixels of a title.
#include <gtest/gtest.h>

#include "gridlib/grid/DBGridZkResources.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"

namespace {

TEST(DBGridZkResources, UnitStartBuildsTheImageListsAndTheSortIndexFont) {
  DBGridZkModuleInitialize();
  ASSERT_NE(GridIndicatorImages(), nullptr);
  EXPECT_EQ(GridIndicatorImages()->Count(), 7);
  EXPECT_EQ(GridIndicatorImages()->Width(), 6);
  EXPECT_EQ(GridIndicatorImages()->Height(), 11);
  EXPECT_EQ(GridSortMarkerImages()->Count(), 5);
  EXPECT_EQ(GridSortMarkerImages()->Width(), 10);
  EXPECT_EQ(GridSortMarkerImages()->Height(), 9);
  EXPECT_EQ(GridSortMarkerFont()->Height(), -8) << "one pixel shorter than the 9-pixel marker";
  EXPECT_EQ(GridSortMarkerFont()->Name(), u"Arial");
  for (TCursor C : {crColumnSelectZk, crRowSelectZk, crRowSelectRtlZk})
    EXPECT_NE(Screen->Cursors(C), nullptr);

  // The search arrow: the white block turned the search colour, the arrow itself a hole.
  BuildSearchArrowImage();
  EXPECT_EQ(GridIndicatorImages()->Count(), 7) << "rebuilding replaces image 6";
  TBitmap B;
  B.SetSize(6, 11);
  B.Canvas()->Brush()->SetColor(clBlue);
  B.Canvas()->FillRect(Rect(0, 0, 6, 11));
  GridIndicatorImages()->Draw(B.Canvas(), 0, 0, giiSearchArrowZk);
  EXPECT_EQ(B.PixelRGB(5, 0), ColorToRGB(clYellow));
  EXPECT_EQ(B.PixelRGB(0, 5), ColorToRGB(clBlue));

  DBGridZkModuleFinalize();
  if (DBGridZkModuleStarts() == 0) {
    EXPECT_EQ(GridIndicatorImages(), nullptr);
    EXPECT_EQ(Screen->Cursors(crRowSelectZk), nullptr);
  }
}

// The glyph sits centred in the 11 pixels at the right of the indicator cell, one pixel right.
TEST(DBGridZkResources, IndicatorShowsTheGlyphOfTheDatasetState) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  struct TCase {
    const char* Name;
    void (*Enter)(TDataSet*);
    TPoint Black, White;   // pixels of the glyph box
  };
  const TCase Cases[] = {
      {"browse: arrow", [](TDataSet*) {}, {0, 5}, {2, 0}},
      {"edit: caret", [](TDataSet* D) { D->Edit(); }, {2, 5}, {0, 5}},
      {"insert: star", [](TDataSet* D) { D->Insert(); }, {0, 5}, {0, 2}},
  };
  for (const TCase& C : Cases) {
    C.Enter(F.Set);
    TBitmap B;
    RenderControl(G, B);
    const TRect Insets = G->NonClientInsets();
    const TRect Cell = G->CellScreenRect(0, G->Row());
    const int X = Insets.Left + (2 * Cell.Right - 11 - 6) / 2 + 1;
    const int Y = Insets.Top + (Cell.Top + Cell.Bottom - 11) / 2;
    EXPECT_EQ(B.PixelRGB(X + C.Black.X, Y + C.Black.Y), ColorToRGB(clBlack)) << C.Name;
    EXPECT_NE(B.PixelRGB(X + C.White.X, Y + C.White.Y), ColorToRGB(clBlack)) << C.Name;
    F.Set->Cancel();
  }
}

TEST(DBGridZkResources, SelectionPointersOverIndicatorAndTitleBottom) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  auto CursorAt = [&](int X, int Y) {
    SimulateMouseMove(G->ClientToScreen(TPoint(X, Y)));
    return GetCurrentCursor();
  };
  const TRect Title = G->CellScreenRect(2, 0);
  const TRect Ind = G->CellScreenRect(0, 2);
  const int Mid = (Title.Left + Title.Right) / 2;
  EXPECT_NE(CursorAt(Ind.Left + 3, Ind.Top + 3), crRowSelectZk) << "no multi-select";
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect});
  struct TCase { const char* Where; TPoint At; TCursor Cursor; };
  const TCase Cases[] = {
      {"indicator data row", {Ind.Left + 3, Ind.Top + 3}, crRowSelectZk},
      {"title, lowest pixel", {Mid, Title.Bottom - 1}, crColumnSelectZk},
      {"title, seventh pixel from the bottom", {Mid, Title.Bottom - 7}, crColumnSelectZk},
      {"title, above the band", {Mid, Title.Bottom - 8}, crArrow},
      {"data cell", {Mid, Ind.Top + 3}, crArrow},
  };
  for (const TCase& C : Cases) EXPECT_EQ(CursorAt(C.At.X, C.At.Y), C.Cursor) << C.Where;
  G->SetAllowedSelections({gstRecordBookmarksAS});
  EXPECT_EQ(CursorAt(Mid, Title.Bottom - 1), crArrow) << "columns not allowed";
  EXPECT_EQ(CursorAt(Ind.Left + 3, Ind.Top + 3), crRowSelectZk);
}

}  // namespace
