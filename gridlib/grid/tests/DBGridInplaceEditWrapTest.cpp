// DBGridInplaceEditWrapTest.cpp - the cell editor of a wrapping column in rows of several lines
// edits in wrapped rows: Ctrl+Enter breaks the line into the field, Up and Down move between
// the rows and leave them for the grid only as the grid's options say.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The items grid with rows three lines high, editing on, the NAME column current and narrow.
struct TWrapGrid : TDBGridOnForm {
  TColumnZk* Name = nullptr;
  explicit TWrapGrid(int RowLines = 3) : TDBGridOnForm(10, 520, 260) {
    Grid->SetOptions(Grid->Options() + TDBGridOptions{dgEditing});
    Grid->SetRowLines(RowLines);
    Name = Grid->FindColumnByName(u"NAME");
    Name->SetWidth(90);
    Grid->SetFocus();
    Grid->MoveCol(Name->Index(), 0, false);
  }
  TDBGridInplaceEdit* ShowEditor() {
    Grid->ShowCellEditor();
    Application->ProcessMessages();
    return Grid->DBInplaceEdit();
  }
};

TEST(DBGridInplaceEditWrap, WrapsForWrappingColumnsInRowsOfSeveralLines) {
  struct TCase {
    const char* Name;
    int RowLines;
    const char16_t* Field;
    int ColumnWrap;   // -1 the column's default
    bool Wraps;
  };
  const TCase Cases[] = {
      {"text column, three lines", 3, u"NAME", -1, true},
      {"text column, one line", 0, u"NAME", -1, false},
      {"number column, three lines", 3, u"QTY", -1, false},
      {"wrapping switched off", 3, u"NAME", 0, false},
      {"wrapping switched on for a number", 3, u"QTY", 1, true},
  };
  for (const TCase& C : Cases) {
    TWrapGrid F(C.RowLines);
    TColumnZk* Col = F.Grid->FindColumnByName(C.Field);
    if (C.ColumnWrap >= 0) Col->SetWordWrap(C.ColumnWrap == 1);
    F.Grid->MoveCol(Col->Index(), 0, false);
    TDBGridInplaceEdit* Edit = F.ShowEditor();
    ASSERT_TRUE(Edit && Edit->EditorVisible()) << C.Name;
    EXPECT_EQ(Edit->WordWrap(), C.Wraps) << C.Name;
  }
}

TEST(DBGridInplaceEditWrap, LongTextWrapsAtTheRightEdgeAndShowsItsRows) {
  TWrapGrid F;
  TDBGridInplaceEdit* Edit = F.ShowEditor();
  ASSERT_TRUE(Edit && Edit->WordWrap());
  Edit->SetText(u"Краска масляная белая");
  const auto& Rows = Edit->Rows();
  ASSERT_GE(Rows.size(), 2u) << "the text is wider than the cell";
  EXPECT_EQ(Rows[0].BreakLength, 0) << "a wrapped row, no line break";
  EXPECT_GT(Edit->PosFromChar(int(Edit->Text().size())).Y, Edit->PosFromChar(0).Y);
  EXPECT_LE(Edit->PosFromChar(int(Edit->Text().size())).X, Edit->EditTextRect().Right);
  // A point on the second row finds a character of that row.
  const TPoint Second = Edit->PosFromChar(Rows[1].Start + 1);
  EXPECT_EQ(Edit->CharFromPos(Second), Rows[1].Start + 1);
  SaveShot(F.Grid, "dbgrid-wrap-editor.png");
}

// Ctrl+Enter types a line break into a wrapping cell and puts the record into edit state; a
// cell of one line drops it.
TEST(DBGridInplaceEditWrap, CtrlEnterBreaksTheLineIntoTheField) {
  for (const bool Wraps : {true, false}) {
    TWrapGrid F(Wraps ? 3 : 0);
    TDBGridInplaceEdit* Edit = F.ShowEditor();
    ASSERT_TRUE(Edit && Edit->EditorVisible());
    Edit->SelectAll();
    SimulateTyping(u"ab");
    SimulateKeyPress(VK_RETURN, {ssCtrl}, u'\n');
    SimulateTyping(u"cd");
    Application->ProcessMessages();
    const String Expected = Wraps ? u"ab\r\ncd" : u"abcd";
    EXPECT_EQ(Edit->Text(), Expected) << Wraps;
    EXPECT_EQ(F.Set->State(), dsEdit) << Wraps;
    if (Wraps) {
      EXPECT_EQ(Edit->Rows().size(), 2u);
      EXPECT_EQ(Edit->Rows()[0].BreakLength, 2);
    }
    SimulateKeyPress(VK_TAB);
    F.Set->Post();
    EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), Expected) << Wraps;
  }
}

// Up and Down move the caret between the rows and keep the record; with the editor always
// shown they go on to the grid from the first or last row, or with the whole text selected.
TEST(DBGridInplaceEditWrap, UpAndDownMoveBetweenRowsBeforeTheRecord) {
  for (const bool Always : {false, true}) {
    TWrapGrid F;
    if (Always) F.Grid->SetOptions(F.Grid->Options() + TDBGridOptions{dgAlwaysShowEditor});
    F.Set->SetRecNo(2);
    TDBGridInplaceEdit* Edit = F.ShowEditor();
    ASSERT_TRUE(Edit && Edit->WordWrap());
    Edit->SetText(u"one\r\ntwo\r\nthree");
    Edit->SetSelStart(1);   // first row
    SimulateKeyPress(VK_DOWN);
    EXPECT_EQ(F.Set->RecNo(), 2) << Always;
    EXPECT_EQ(Edit->SelStart(), 6) << "second row, same column";
    SimulateKeyPress(VK_DOWN);
    EXPECT_EQ(Edit->SelStart(), 11) << "third row";
    SimulateKeyPress(VK_UP);
    SimulateKeyPress(VK_UP);
    EXPECT_EQ(Edit->SelStart(), 1) << Always;
    SimulateKeyPress(VK_UP);
    EXPECT_EQ(F.Set->RecNo(), Always ? 1 : 2) << "Up on the first row, always shown: " << Always;
    if (!Always) {
      EXPECT_EQ(Edit->SelStart(), 1) << "stays on the first row";
      continue;
    }
    Edit->SetText(u"one\r\ntwo");
    Edit->SelectAll();
    SimulateKeyPress(VK_DOWN);
    EXPECT_EQ(F.Set->RecNo(), 2) << "the whole text selected goes to the grid";
  }
}

}  // namespace
