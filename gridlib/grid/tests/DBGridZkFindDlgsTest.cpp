// DBGridZkFindDlgsTest.cpp - the grids' find dialog over the "ITEMS" grid: its form, the column
// list, "Все" from the first record then onward, Ctrl reversing, "<All>", keys, modal use
// through the grid's Ctrl+F, and the tree row over a memory table in tree view.
#include <gtest/gtest.h>

#include "gridlib/grid/DBGridZkFindDlgs.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/MemTableZk.h"
#include "gridlib/toolkit/DBCtrlsZk.h"
#include "platform/controls/StdCtrls.h"
#include "platform/controls/WinApi.h"

namespace {

// Rows: ID 1..10, NAME cycles "Краска", "O'Neil", "a\tb", "", Null; QTY = 2 * ID.
struct TFindFixture {
  TDBGridOnForm F{10};
  TDBGridZkFindDlg* Dlg = nullptr;
  explicit TFindFixture(const String& Text, int StartRecNo = 3, int StartColumn = 1) {
    F.Set->First();
    F.Set->MoveBy(StartRecNo - 1);
    F.Grid->SetCol(F.Grid->ColumnIndexToGridCol(StartColumn));
    ShowGridFindDialog(F.Grid, Text, u"", false);
    Dlg = DBGridZkFindDlg();
  }
  int Find(bool Ctrl = false) {
    SetKeyState(VK_CONTROL, Ctrl);
    Dlg->bFind->Click();
    SetKeyState(VK_CONTROL, false);
    return F.Set->RecNo();
  }
};

TEST(DBGridZkFindDlg, FormAndColumnList) {
  TFindFixture X(u"Кр");
  TDBGridZkFindDlg* D = X.Dlg;
  ASSERT_TRUE(D);
  EXPECT_EQ(D->Caption(), u"Поиск");
  EXPECT_TRUE(D->Visible());
  EXPECT_EQ(D->FormStyle(), fsStayOnTop);
  EXPECT_EQ(D->ClientWidth(), 467);
  EXPECT_EQ(D->ClientHeight(), 115) << "cut to the tree row's top over an ordinary dataset";
  EXPECT_FALSE(D->dbcTreeFindRange->Visible());
  EXPECT_FALSE(D->Label4->Visible());
  EXPECT_EQ(D->cbText->Text(), u"Кр");
  EXPECT_EQ(D->cbMatchinType->Text(), u"С любой части поля");
  EXPECT_EQ(D->cbFindDirection->Text(), u"Все");
  EXPECT_FALSE(D->cbCharCase->Checked());
  EXPECT_TRUE(D->cbUseFormat->Checked());
  EXPECT_EQ(D->ActiveControl(), D->cbText);
  TStrings* Items = D->cbFindIn->Items();
  ASSERT_EQ(Items->Count(), 7);
  EXPECT_EQ(Items->Strings(1), u"NAME");
  EXPECT_EQ(Items->Objects(1), X.F.Grid->Columns()->Items(1));
  EXPECT_EQ(Items->Strings(6), u"<All>");
  EXPECT_EQ(Items->Objects(6), nullptr);
  EXPECT_EQ(D->cbFindIn->KeyItems()->Text(), Items->Text());
  EXPECT_EQ(D->cbFindIn->ItemIndex(), 1) << "the grid's current column";
  // The same dialog serves the next call; a hidden column leaves the list.
  X.F.Grid->Columns()->Items(3)->SetVisible(false);
  ShowGridFindDialog(X.F.Grid, u"", u"", false);
  EXPECT_EQ(DBGridZkFindDlg(), D);
  EXPECT_EQ(D->cbFindIn->Items()->Count(), 6);
}

TEST(DBGridZkFindDlg, AllStartsAtTheFirstRecordOnceThenGoesOnAndCtrlReverses) {
  TFindFixture X(u"Краска", 3);
  EXPECT_TRUE(X.Dlg->IsFirstTry());
  EXPECT_EQ(X.Find(), 1) << "the first search of \"Все\" starts at the first record";
  EXPECT_FALSE(X.Dlg->IsFirstTry());
  EXPECT_EQ(X.Find(), 6) << "then it continues downward from the found cell";
  EXPECT_EQ(X.Dlg->cbText->Items()->Count(), 1) << "the pattern is kept once in the history";
  EXPECT_EQ(X.Find(true), 1) << "Ctrl with \"Все\" searches upward";
  X.Dlg->cbFindDirection->SetItemIndex(0);   // "Вверх"
  X.F.Set->Last();
  EXPECT_EQ(X.Find(), 6);
  EXPECT_EQ(X.Find(true), 6) << "Ctrl with \"Вверх\" searches downward: nothing after 6";
  X.Dlg->cbFindDirection->SetItemIndex(1);   // "Вниз"
  EXPECT_EQ(X.Find(true), 1) << "Ctrl with \"Вниз\" searches upward";
  // A changed pattern searches "Все" from the first record again.
  X.Dlg->cbFindDirection->SetItemIndex(2);
  X.Dlg->cbText->SetText(u"O'Neil");
  EXPECT_TRUE(X.Dlg->IsFirstTry());
  X.F.Set->Last();
  EXPECT_EQ(X.Find(), 2);
  // Letter case counts only when asked for.
  X.Dlg->cbText->SetText(u"o'neil");
  EXPECT_EQ(X.Find(), 2);
  X.Dlg->cbCharCase->SetChecked(true);
  X.Dlg->cbText->SetText(u"O'NEIL");
  X.F.Set->Last();
  EXPECT_EQ(X.Find(), 10) << "not found: the grid stays where it was";
}

TEST(DBGridZkFindDlg, AllColumnsWholeCellsFromTheFirstCellAndMatchSelectsTheColumn) {
  TFindFixture X(u"8", 5, 4);
  X.Dlg->cbFindIn->SetItemIndex(X.Dlg->cbFindIn->Items()->Count() - 1);   // "<All>"
  X.Dlg->cbMatchinType->SetItemIndex(1);                                  // "Поля целиком"
  EXPECT_EQ(X.Find(), 4);
  EXPECT_EQ(X.F.Grid->SelectedIndex(), 3) << "QTY 8 is in the fourth column";
  X.Dlg->cbText->SetText(u"1");
  EXPECT_EQ(X.Find(), 1) << "the first record's first column is searched too";
  EXPECT_EQ(X.F.Grid->SelectedIndex(), 0);
}

TEST(DBGridZkFindDlg, EnterFindsAndEscapeCloses) {
  TFindFixture X(u"O'Neil", 1);
  X.Dlg->cbText->SetFocus();
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_EQ(X.F.Set->RecNo(), 2);
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_EQ(X.F.Set->RecNo(), 7);
  EXPECT_TRUE(X.Dlg->Visible());
  SimulateKeyPress(VK_ESCAPE, {}, u'\x1b');
  EXPECT_FALSE(X.Dlg->Visible());
}

TEST(DBGridZkFindDlg, GridCtrlFShowsItModallyAndEscapeEndsIt) {
  TDBGridOnForm F(10);
  F.Grid->SetOptionsZk(F.Grid->OptionsZk() << dghDialogFind);
  F.Grid->SetFocus();
  F.Set->First();
  int Runs = 0;
  TCustomForm::SetModalHookForTests([&](TCustomForm* Form) {
    auto* D = dynamic_cast<TDBGridZkFindDlg*>(Form);
    ASSERT_TRUE(D);
    ++Runs;
    EXPECT_EQ(D->FormStyle(), fsNormal);
    SetKeyState(VK_CONTROL, false);   // the user lets go of Ctrl+F before searching
    D->cbText->SetText(u"O'Neil");
    EXPECT_EQ(D->cbFindIn->ItemIndex(), 0) << "the grid's current column, ID";
    D->cbFindIn->SetItemIndex(1);
    D->cbMatchinType->SetItemIndex(1);
    EXPECT_EQ(Screen->ActiveForm(), D);
    SimulateKeyPress(VK_RETURN, {}, u'\r', D->cbText);
    SimulateKeyPress(VK_ESCAPE, {}, u'\x1b', D->cbText);
  });
  SimulateKeyPress(u'F', {ssCtrl});
  TCustomForm::SetModalHookForTests(nullptr);
  EXPECT_EQ(Runs, 1);
  EXPECT_EQ(F.Set->RecNo(), 2);
  ASSERT_TRUE(DBGridZkFindDlg());
  EXPECT_FALSE(DBGridZkFindDlg()->Visible());
  EXPECT_EQ(DBGridZkFindDlg()->ModalResult(), mrCancel);
}

TEST(DBGridZkFindDlg, TreeRowOnlyOverAMemoryTableInTreeView) {
  TDBGridOnForm F(3);
  auto* Table = new TMemTableZk(F.Form);
  Table->FieldDefs()->Add(u"ID", ftInteger);
  Table->FieldDefs()->Add(u"PARENT_ID", ftInteger);
  Table->CreateDataSet();
  Table->AppendRecord({1, Variant::MakeNull()});
  Table->AppendRecord({2, 1});
  Table->SetTreeKeyFields(u"ID", u"PARENT_ID");
  F.Source->SetDataSet(Table);
  ShowGridFindDialog(F.Grid, u"", u"", false);
  TDBGridZkFindDlg* D = DBGridZkFindDlg();
  EXPECT_FALSE(D->dbcTreeFindRange->Visible()) << "a memory table not in tree view";
  Table->SetTreeViewActive(true);
  ShowGridFindDialog(F.Grid, u"", u"", false);
  EXPECT_TRUE(D->dbcTreeFindRange->Visible());
  EXPECT_TRUE(D->Label4->Visible());
  EXPECT_EQ(D->Height(), D->SourceHeight());
  EXPECT_EQ(D->dbcTreeFindRange->Text(), u"Во всех ветвях");
}

}  // namespace
