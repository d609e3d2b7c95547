// DBGridInplaceEditTreeTest.cpp - the cell editor in the first column of a memory table's tree
// view shows the node's outline before the text, which starts after it, and a press on the
// node's box in the editor collapses and expands the node.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/MemTableDataZkView.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Nodes 1 > 2 > 3 and 4, all expanded, the ID column first; the editor open on node 2.
struct TTreeGrid {
  TDBGridOnForm F{0, 420, 200};
  TMemTableZk* Table = nullptr;
  TDBGridZk* G = F.Grid;
  TTreeGrid() {
    Table = new TMemTableZk(F.Form);
    Table->FieldDefs()->Add(u"ID", ftInteger);
    Table->FieldDefs()->Add(u"UP", ftInteger);
    Table->CreateDataSet();
    const int Up[] = {0, 1, 2, 0};
    for (int Id = 1; Id <= 4; ++Id)
      Table->AppendRecord({Id, Up[Id - 1] ? Variant(Up[Id - 1]) : Variant::MakeNull()});
    Table->SetTreeKeyFields(u"ID", u"UP");
    Table->RecordsView()->MemoryTreeList()->SetDefaultNodeExpanded(true);
    Table->SetTreeViewActive(true);
    Table->Locate(u"ID", 2, {});
    F.Source->SetDataSet(Table);
    G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
    G->SetFocus();
    G->ShowCellEditor();
  }
};

TEST(DBGridInplaceEditTree, OutlineStandsBeforeTheTextAndItsBoxToggles) {
  TTreeGrid T;
  TDBGridInplaceEdit* Edit = T.G->DBInplaceEdit();
  ASSERT_TRUE(T.G->MemTableTreeShown());
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  EXPECT_EQ(Edit->EditTextRect().Left, 2 + 36 + 1) << "node 2 stands on level 2";
  TBitmap B;
  RenderControl(Edit, B);
  const TRect In = Edit->NonClientInsets();
  int Drawn = 0;
  for (int X = 18; X < 36; ++X)
    for (int Y = 0; Y < Edit->ClientHeight(); ++Y)
      if (B.PixelRGB(In.Left + X, In.Top + Y) != ColorToRGB(T.G->Color())) ++Drawn;
  EXPECT_GT(Drawn, 10) << "the node's box is drawn in the editor";
  SaveShot(T.G, "dbgrid-tree-editor.png");

  const int Rows = T.G->RowCount();
  const TPoint Box = {36 - 9, Edit->ClientHeight() / 2};
  Edit->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Box.X, Box.Y));
  Edit->Perform(WM_LBUTTONUP, 0, MAKELPARAM(Box.X, Box.Y));
  EXPECT_EQ(T.G->RowCount(), Rows - 1) << "node 3 folded away";
  EXPECT_EQ(T.Table->FieldByName(u"ID")->AsInteger(), 2) << "the node stays current";
}

}  // namespace
