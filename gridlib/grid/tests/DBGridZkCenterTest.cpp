// DBGridZkCenterTest.cpp - the grids' policy object (event or default), the indicator-title
// menu, the edit actions' enabling, and record moves over an ordinary dataset and a memory
// table.
#include <gtest/gtest.h>

#include <algorithm>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/StdActns.h"
#include "platform/controls/WinApi.h"

namespace {

TEST(DBGridZkCenter, EventsReplaceDefaults) {
  TDBGridOnForm F(5);
  TDBGridZkCenter* C = F.Grid->Center();
  ASSERT_EQ(C, DBGridZkCenter());
  EXPECT_FALSE(C->GridInChangeNotification(F.Grid)) << "the constructor does not list the grid";
  F.Grid->SetCenter(nullptr);
  F.Grid->SetCenter(C);
  EXPECT_TRUE(C->GridInChangeNotification(F.Grid));
  // Sorting: the grid's event, else the policy object's, else nothing happens to the data.
  int Sorted = 0;
  C->SetOnApplySorting([&](TObject* Sender) {
    EXPECT_EQ(Sender, F.Grid);
    ++Sorted;
  });
  F.Grid->SortMarkingChanged();
  EXPECT_EQ(Sorted, 1);
  F.Grid->SetOnSortMarkingChanged([](TObject*) {});
  F.Grid->SortMarkingChanged();
  EXPECT_EQ(Sorted, 1);
  C->SetOnApplySorting(nullptr);
  // Text location: the event answers, else the built-in search.
  C->SetOnLocateText([](TObject*, const String&, const String& Text, TLocateTextOptionsZk,
                        TLocateTextDirectionZk, TLocateTextMatchingZk,
                        TLocateTextTreeFindRangeZk) { return Text == u"yes"; });
  EXPECT_TRUE(C->LocateText(F.Grid, u"", u"yes", {}, ltdAllZk, ltmWholeZk, lttInAllNodesZk));
  C->SetOnLocateText(nullptr);
  EXPECT_TRUE(C->LocateText(F.Grid, u"NAME", u"лак", {ltoCaseInsensitiveZk}, ltdAllZk,
                            ltmAnyPartZk, lttInAllNodesZk) == false);
  EXPECT_TRUE(C->LocateText(F.Grid, u"NAME", u"краска", {ltoCaseInsensitiveZk}, ltdAllZk,
                            ltmWholeZk, lttInAllNodesZk));
  F.Grid->SetDataSource(nullptr);
  EXPECT_FALSE(C->LocateText(F.Grid, u"", u"x", {}, ltdAllZk, ltmAnyPartZk, lttInAllNodesZk));
  EXPECT_FALSE(C->MoveDataRows(F.Grid, nullptr, 1, true)) << "no dataset class moves records";
  F.Grid->SetCenter(nullptr);
  EXPECT_FALSE(C->GridInChangeNotification(F.Grid));
}

TEST(DBGridZkCenter, IndicatorMenuHoldsOneSetOfEntries) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->SetEditActions({geaCopyZk, geaSelectAllZk});
  G->Columns()->Items(5)->Title()->SetCaption(u"");
  TPopupMenu* User = new TPopupMenu(F.Form);
  auto* Mine = new TMenuItem(User);
  Mine->SetCaption(u"Моё");
  User->Items()->Add(Mine);
  G->IndicatorTitle()->SetDropdownMenu(User);
  TPopupMenu* Menu = nullptr;
  G->BuildIndicatorTitleMenu(Menu);
  G->BuildIndicatorTitleMenu(Menu);
  ASSERT_TRUE(Menu);
  std::vector<String> Captions;
  for (int I = 0; I < Menu->Items()->Count(); ++I) Captions.push_back(Menu->Items()->Items(I)->Caption());
  EXPECT_EQ(Captions, (std::vector<String>{u"Видимые столбцы", u"Вырезать", u"Копировать",
                                           u"Вставить", u"Удалить", u"Выбрать все", u"-", u"Моё"}));
  TMenuItem* Columns = Menu->Items()->Items(0);
  EXPECT_EQ(Columns->Count(), 5) << "a column without caption is left out";
  EXPECT_FALSE(Menu->Items()->Items(1)->Enabled()) << "cut is not among the edit actions";
  EXPECT_TRUE(Menu->Items()->Items(2)->Enabled());
  // Choosing a column entry hides the column; the last visible one stays.
  Columns->Items(1)->Click();
  EXPECT_FALSE(G->Columns()->Items(1)->Visible());
  for (int I = 0; I < G->Columns()->Count(); ++I)
    if (I != 2) G->Columns()->Items(I)->SetVisible(false);
  G->BuildIndicatorTitleMenu(Menu);
  Menu->Items()->Items(0)->Items(2)->Click();
  EXPECT_TRUE(G->Columns()->Items(2)->Visible());
  // Without the global menu only the user's entries remain, with no separator.
  G->IndicatorTitle()->SetUseGlobalMenu(false);
  G->BuildIndicatorTitleMenu(Menu);
  ASSERT_EQ(Menu->Items()->Count(), 1);
  EXPECT_EQ(Menu->Items()->Items(0)->Caption(), u"Моё");
}

TEST(DBGridZkCenter, EditActionsFollowTheSelectionAndOperations) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgMultiSelect});
  G->SetEditActions({geaCopyZk, geaPasteZk, geaDeleteZk, geaSelectAllZk});
  G->SetFocus();
  auto* Delete = new TEditDelete(F.Form);
  auto* Paste = new TEditPaste(F.Form);
  auto* SelectAll = new TEditSelectAll(F.Form);
  Clipboard()->SetAsText(u"x");
  Delete->Update();
  EXPECT_FALSE(Delete->Enabled()) << "nothing selected";
  G->SelectedRows()->SetCurrentRowSelected(true);
  Delete->Update();
  EXPECT_TRUE(Delete->Enabled());
  Paste->Update();
  EXPECT_TRUE(Paste->Enabled());
  G->SetAllowedOperations(G->AllowedOperations() - TDBGridZkAllowedOperations{alopUpdateZk});
  Paste->Update();
  EXPECT_FALSE(Paste->Enabled()) << "pasting changes records";
  F.Set->Append();
  Paste->Update();
  EXPECT_TRUE(Paste->Enabled()) << "unless the dataset is inserting";
  F.Set->Cancel();
  EXPECT_TRUE(SelectAll->Execute());
  EXPECT_EQ(G->Selection()->SelectionType(), gstAll);
}

// A policy object that moves nothing but, as a handler may, leaves the dataset elsewhere.
class TWanderingCenter : public TDBGridZkCenter {
public:
  int Moves = 0;
  bool DefaultMoveDataRows(TCustomDBGridZk* Grid, TBMListZk*, int, bool CheckOnly) override {
    if (!CheckOnly) ++Moves;
    Grid->DataSet()->First();
    return false;
  }
};

TEST(DBGridZkCenter, RefusedRecordMoveKeepsTheGridOnItsRecord) {
  TDBGridOnForm F(60);
  TDBGridZk* G = F.Grid;
  TWanderingCenter Center;
  G->SetCenter(&Center);
  // An earlier scroll leaves other records at the window's edges.
  F.Set->SetRecNo(40);
  F.Set->SetRecNo(25);
  const int Row = G->DataLink()->ActiveRecord();
  TBMListZk* None = nullptr;
  EXPECT_FALSE(G->DefaultMoveDataRows(None, 10, -1, false));
  EXPECT_EQ(Center.Moves, 1);
  EXPECT_EQ(F.Set->RecNo(), 25) << "the grid stays on its record";
  EXPECT_EQ(G->DataLink()->ActiveRecord(), Row) << "in the same row of the window";
  G->SetCenter(DBGridZkCenter());
}

}  // namespace
