// DBGridInplaceEditRequiredTest.cpp - the cell editor of a required field underlines its empty
// value with a red dotted line while the record is edited, and only then; painted cells of the
// record under edit do the same.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Red and other pixels on the editor's bottom client row across the mark's span.
std::pair<int, int> MarkPixels(TDBGridInplaceEdit* Edit) {
  TBitmap B;
  RenderControl(Edit, B);
  const TRect R = Edit->EditTextRect();
  const TPoint Origin = {Edit->NonClientInsets().Left, Edit->NonClientInsets().Top};
  const int Y = Origin.Y + Edit->ClientHeight() - 1;
  int Red = 0, Other = 0;
  for (int X = R.Left + 2; X < R.Right - 3; ++X) {
    if (B.PixelRGB(Origin.X + X, Y) == RGB(255, 0, 0)) ++Red;
    else ++Other;
  }
  return {Red, Other};
}

TEST(DBGridInplaceEditRequired, EmptyRequiredFieldUnderEditIsUnderlined) {
  TDBGridOnForm F(10, 520, 200);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  TColumnZk* C = G->FindColumnByName(u"NAME");
  ASSERT_TRUE(C);
  C->Field()->SetRequired(true);
  G->SetFocus();
  G->MoveCol(C->Index(), 0, false);

  G->ShowCellEditor();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  EXPECT_EQ(MarkPixels(Edit).first, 0) << "off by default";

  G->ColumnDefValues()->SetHighlightRequired(true);
  EXPECT_TRUE(C->HighlightRequired()) << "the grid's default";
  EXPECT_EQ(MarkPixels(Edit).first, 0) << "a browsed record with a value";

  F.Set->Edit();
  C->Field()->Clear();
  const auto [Red, Other] = MarkPixels(Edit);
  EXPECT_GT(Red, 5) << "an empty required field under edit";
  EXPECT_GT(Other, 5) << "dotted, not solid";

  C->SetHighlightRequired(false);
  EXPECT_EQ(MarkPixels(Edit).first, 0) << "the column's own setting wins";
  C->SetHighlightRequired(true);
  C->Field()->SetRequired(false);
  EXPECT_EQ(MarkPixels(Edit).first, 0) << "not a required field";
  C->Field()->SetRequired(true);

  String Seen = u"?";
  C->SetOnCheckDrawRequiredState([&](TObject* Sender, const String& Text, bool& Draw) {
    EXPECT_EQ(Sender, Edit);
    Seen = Text;
    Draw = false;
  });
  EXPECT_EQ(MarkPixels(Edit).first, 0) << "the handler turns it off";
  EXPECT_EQ(Seen, Edit->Text());
  C->SetOnCheckDrawRequiredState([](TObject*, const String&, bool& Draw) { Draw = true; });
  F.Set->Cancel();
  EXPECT_GT(MarkPixels(Edit).first, 5) << "the handler turns it on in browse state";
}

}  // namespace

namespace {

// Red pixels on the bottom pixel row of the data cell (ACol, ARow), the grid painted whole.
int CellMarkPixels(TCustomDBGridZk* G, int ACol, int ARow) {
  TBitmap B;
  RenderControl(G, B);
  const TRect Insets = G->NonClientInsets();
  const TRect R = G->CellScreenRect(ACol, ARow);
  int Red = 0;
  for (int X = R.Left; X < R.Right; ++X)
    if (B.PixelRGB(Insets.Left + X, Insets.Top + R.Bottom - 1) == RGB(255, 0, 0)) ++Red;
  return Red;
}

// Painted cells follow the editor's rule, for the current record only: record 5's name is
// Null as well, but it is not the record under edit.
TEST(DBGridInplaceEditRequired, CellOfTheRecordUnderEditIsUnderlined) {
  TDBGridOnForm F(10, 520, 200);
  TDBGridZk* G = F.Grid;
  TColumnZk* C = G->FindColumnByName(u"NAME");
  ASSERT_TRUE(C);
  C->Field()->SetRequired(true);
  G->ColumnDefValues()->SetHighlightRequired(true);
  const int Col = G->IndicatorOffset() + C->Index();
  const int Current = G->Row(), Other = Current + 4;
  EXPECT_EQ(CellMarkPixels(G, Col, Current), 0) << "a browsed record";

  F.Set->Edit();
  C->Field()->Clear();
  G->Invalidate();
  const int Red = CellMarkPixels(G, Col, Current);
  EXPECT_GT(Red, 5) << "the empty name under edit";
  EXPECT_LT(Red, G->CellScreenRect(Col, Current).Width() - 8) << "dotted, inset from the edges";
  EXPECT_EQ(CellMarkPixels(G, Col, Other), 0) << "another record's empty name";
  EXPECT_EQ(CellMarkPixels(G, Col + 1, Current), 0) << "a field that is not required";
  SaveShot(G, "dbgrid-required-cell.png");

  std::vector<TObject*> Senders;
  C->SetOnCheckDrawRequiredState([&](TObject* Sender, const String&, bool& Draw) {
    Senders.push_back(Sender);
    Draw = false;
  });
  EXPECT_EQ(CellMarkPixels(G, Col, Current), 0) << "the handler turns it off";
  ASSERT_FALSE(Senders.empty());
  EXPECT_EQ(Senders.front(), G) << "cells ask with the grid as sender";
}

}  // namespace
