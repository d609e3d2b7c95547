// DBGridInplaceEditLookupTest.cpp - a lookup cell of the data grid: its drop-down lookup grid
// (Alt+Down, moving keys, Enter writes the key fields, Esc changes nothing) and typed text
// completed from the lookup dataset.
#include "gridlib/grid/DBGridInplaceEdit.h"

#include <gtest/gtest.h>

#include "gridlib/grid/DBLookupGridsZk.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/controls/WinApi.h"

namespace {

struct TLookupCellFixture {
  TDBGridOnForm F{0};
  TArrayDataSet* Colours;
  TArrayDataSet* Stock;
  TDBGridInplaceEdit* Edit = nullptr;

  TLookupCellFixture() {
    Colours = new TArrayDataSet(F.Form);
    Colours->FieldDefs()->Add(u"ID", ftInteger);
    Colours->FieldDefs()->Add(u"NM", ftWideString, 20);
    const char16_t* Names[] = {u"Белила", u"Охра", u"Умбра", u"Сиена", u"Кобальт"};
    for (int I = 0; I < 5; ++I) Colours->AddRow({I + 1, String(Names[I])});
    Colours->Open();
    Stock = new TArrayDataSet(F.Form);
    Stock->FieldDefs()->Add(u"POS", ftInteger);
    Stock->FieldDefs()->Add(u"COLOR_ID", ftInteger);
    for (const char16_t* N : {u"POS", u"COLOR_ID"}) {
      auto* Fld = new TIntegerField(F.Form);
      Fld->SetFieldName(N);
      Fld->SetDataSet(Stock);
    }
    auto* Look = new TWideStringField(F.Form);
    Look->SetFieldName(u"lvNM");
    Look->SetFieldKind(fkLookup);
    Look->SetKeyFields(u"COLOR_ID");
    Look->SetLookupDataSet(Colours);
    Look->SetLookupKeyFields(u"ID");
    Look->SetLookupResultField(u"NM");
    Look->SetDataSet(Stock);
    Stock->AddRow({1, 2});
    Stock->AddRow({2, 4});
    Stock->Open();
    F.Source->SetDataSet(nullptr);
    F.Source->SetDataSet(Stock);
    TDBGridZk* G = F.Grid;
    G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
    G->SetFocus();
    G->MoveCol(2, 0, false);   // the lookup column
    G->ShowCellEditor();
    Application->ProcessMessages();
    Edit = G->DBInplaceEdit();
  }
  void Key(Word K, TShiftState Shift = {}) { SimulateKeyPress(K, Shift, 0, Edit); }
};

TEST(DBGridLookupCell, DropDownChoosesAKeyThatEnterWritesAndEscapeLeaves) {
  TLookupCellFixture T;
  ASSERT_TRUE(T.Edit && T.Edit->EditorVisible());
  ASSERT_EQ(T.Edit->EditStyle(), esDataList);
  EXPECT_EQ(T.Edit->Text(), u"Охра");
  T.Key(VK_DOWN, {ssAlt});
  ASSERT_TRUE(T.Edit->ListVisible());
  ASSERT_NE(T.Edit->DataList(), nullptr);
  EXPECT_TRUE(IsWindowVisible(T.Edit->DataList()));
  EXPECT_EQ(T.Edit->DataList()->KeyValue().AsInteger(), 2);
  T.Key(VK_DOWN);
  EXPECT_EQ(T.Edit->Text(), u"Умбра");
  T.Key(VK_ESCAPE);
  EXPECT_FALSE(T.Edit->ListVisible());
  EXPECT_EQ(T.Stock->FieldByName(u"COLOR_ID")->AsInteger(), 2) << "Esc changes nothing";
  T.Key(VK_DOWN, {ssAlt});
  T.Key(VK_DOWN);
  T.Key(VK_DOWN);
  T.Key(VK_RETURN);
  EXPECT_FALSE(T.Edit->ListVisible());
  EXPECT_EQ(T.Edit->Text(), u"Сиена");
  T.Stock->CheckBrowseMode();
  EXPECT_EQ(T.Stock->FieldByName(u"COLOR_ID")->AsInteger(), 4);
  EXPECT_EQ(T.Stock->FieldByName(u"lvNM")->AsString(), u"Сиена");
}

TEST(DBGridLookupCell, TypedTextCompletesFromTheLookupList) {
  TLookupCellFixture T;
  T.Edit->SelectAll();
  T.Edit->Perform(WM_CHAR, u'к', 0);
  EXPECT_EQ(T.Edit->Text(), u"Кобальт");
  EXPECT_EQ(T.Edit->SelLength(), 6) << "the completed part is selected";
  T.Edit->Perform(WM_CHAR, u'z', 0);   // no match: nothing typed
  EXPECT_EQ(T.Edit->Text(), u"Кобальт");
  T.Stock->CheckBrowseMode();
  EXPECT_EQ(T.Stock->FieldByName(u"COLOR_ID")->AsInteger(), 5);
}

}  // namespace
