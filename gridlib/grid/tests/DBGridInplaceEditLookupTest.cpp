// DBGridInplaceEditLookupTest.cpp - a lookup cell of the data grid: its drop-down lookup grid
// (the column's DataList: Alt+Down, moving keys, Enter writes the key fields, Esc changes
// nothing), typed and pasted text completed from the lookup dataset, free text through the
// column's OnNotInList, Delete and Backspace, the special row's shortcut, and the column's
// drop-down events.
#include "gridlib/grid/DBGridInplaceEdit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "gridlib/grid/DBLookupGridsZk.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/toolkit/LookupExtraRowZk.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/Bitmap.h"

namespace {

struct TLookupCellFixture {
  TDBGridOnForm F{0};
  TArrayDataSet* Colours;
  TArrayDataSet* Stock;
  TDBGridInplaceEdit* Edit = nullptr;

  TLookupCellFixture() { Build(); }
  // Runs Prepare on the lookup column before the editor opens.
  explicit TLookupCellFixture(std::function<void(TColumnZk*)> Prepare) {
    FPrepare = std::move(Prepare);
    Build();
  }
  std::function<void(TColumnZk*)> FPrepare;
  TColumnZk* Column() { return F.Grid->Columns()->Items(2); }
  int ColorId() {
    TField* Fld = Stock->FieldByName(u"COLOR_ID");
    return Fld->IsNull() ? -1 : Fld->AsInteger();
  }
  void Build() {
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
    AddLookupField(Stock, F.Form, u"lvNM", u"COLOR_ID", Colours, u"ID", u"NM");
    Stock->AddRow({1, 2});
    Stock->AddRow({2, 4});
    Stock->Open();
    F.Source->SetDataSet(nullptr);
    F.Source->SetDataSet(Stock);
    TDBGridZk* G = F.Grid;
    G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
    G->SetFocus();
    if (FPrepare) FPrepare(G->Columns()->Items(2));
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

TEST(DBGridLookupCell, TheDropDownIsTheColumnsDataListSizedByTheColumn) {
  TLookupCellFixture T([](TColumnZk* C) {
    C->SetDropDownRows(3);
    C->SetDropDownShowTitles(true);
  });
  T.Key(VK_DOWN, {ssAlt});
  ASSERT_TRUE(T.Edit->ListVisible());
  EXPECT_EQ(T.Edit->DataList(), T.Column()->DataList());
  EXPECT_EQ(T.Column()->DataList()->Name(), u"DataList");
  EXPECT_EQ(T.Edit->DataList()->RowCount(), 3);
  EXPECT_TRUE(T.Edit->DataList()->ShowTitles());
  EXPECT_GE(T.Edit->DataList()->Width(), T.Edit->Width());
  T.Key(VK_ESCAPE);
}

TEST(DBGridLookupCell, FreeTextIsKeptOnlyWithOnNotInListWhichMayAddIt) {
  int Asked = 0;
  TLookupCellFixture* Self = nullptr;
  TLookupCellFixture T([&](TColumnZk* C) {
    C->SetOnNotInList([&](TObject*, const String& Text, bool& Accept) {
      ++Asked;
      Self->Colours->AppendRecord({6, Text});
      Accept = true;
    });
  });
  Self = &T;
  T.Edit->SelectAll();
  T.Edit->Perform(WM_CHAR, u'z', 0);
  T.Edit->Perform(WM_CHAR, u'x', 0);
  EXPECT_EQ(T.Edit->Text(), u"zx") << "a text the list lacks stays with the handler";
  EXPECT_TRUE(VarIsNull(T.F.Grid->EditKeyValue()));
  T.Stock->CheckBrowseMode();
  EXPECT_EQ(Asked, 1);
  EXPECT_EQ(T.ColorId(), 6) << "the key of the text the handler added";
}

TEST(DBGridLookupCell, DeleteOfTheWholeTextClearsTheKeyBackspaceOnlyMovesWithoutAHandler) {
  TLookupCellFixture T;
  T.Edit->SetSelStart(2);
  T.Edit->SetSelLength(0);
  T.Key(VK_BACK);
  EXPECT_EQ(T.Edit->Text(), u"Охра");
  EXPECT_EQ(T.Edit->SelStart(), 1) << "Backspace moved the caret left";
  T.Key(VK_DELETE);
  EXPECT_EQ(T.Edit->Text(), u"Охра") << "Delete of part of the text does nothing";
  T.Edit->SelectAll();
  T.Key(VK_DELETE);
  EXPECT_EQ(T.Edit->Text(), u"");
  T.Stock->CheckBrowseMode();
  EXPECT_EQ(T.ColorId(), -1) << "Null written";
}

TEST(DBGridLookupCell, BackspaceWithAHandlerEditsTheTextAndTheKeyFollows) {
  TLookupCellFixture T([](TColumnZk* C) { C->SetOnNotInList([](TObject*, const String&, bool&) {}); });
  T.Edit->SetSelStart(4);
  T.Edit->SetSelLength(0);
  T.Key(VK_BACK);
  EXPECT_EQ(T.Edit->Text(), u"Охр");
  EXPECT_TRUE(VarIsNull(T.F.Grid->EditKeyValue())) << "no row is called Охр";
  T.Edit->Perform(WM_CHAR, u'а', 0);
  EXPECT_EQ(T.Edit->Text(), u"Охра");
  EXPECT_EQ(T.F.Grid->EditKeyValue().AsInteger(), 2);
}

TEST(DBGridLookupCell, SpecialRowShortcutTakesItsValueAndTextShowsForItsKey) {
  TLookupCellFixture T([](TColumnZk* C) {
    C->DropDownSpecRow()->SetCellsText(u"(нет)");
    C->DropDownSpecRow()->SetValue(Variant(99));
    C->DropDownSpecRow()->SetVisible(true);
  });
  T.Key(VK_DELETE, {ssAlt});
  EXPECT_EQ(T.Edit->Text(), u"(нет)");
  EXPECT_EQ(T.Edit->SelLength(), 5);
  T.Stock->CheckBrowseMode();
  EXPECT_EQ(T.ColorId(), 99);
  EXPECT_EQ(T.Column()->DisplayText(), u"(нет)");
  T.F.Grid->InvalidateEditor();
  EXPECT_EQ(T.Edit->Text(), u"(нет)") << "the editor starts with the special row for its key";
}

TEST(DBGridLookupCell, PasteCompletesFromTheListOrIsRefused) {
  TLookupCellFixture T;
  T.Edit->SelectAll();
  Clipboard()->SetAsText(u"ум");
  T.Edit->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(T.Edit->Text(), u"Умбра");
  EXPECT_EQ(T.Edit->SelStart(), 2);
  EXPECT_EQ(T.Edit->SelLength(), 3) << "the completed part is selected";
  EXPECT_EQ(T.F.Grid->EditKeyValue().AsInteger(), 3);
  T.Edit->SelectAll();
  Clipboard()->SetAsText(u"нет такого");
  T.Edit->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(T.Edit->Text(), u"Умбра") << "a text the list lacks is not pasted";
  T.Stock->CheckBrowseMode();
  EXPECT_EQ(T.ColorId(), 3);
}

TEST(DBGridLookupCell, ColumnsDropDownBoxEventsAreTheListsOwnAndFollowAssign) {
  TColumnZk Bare(nullptr);
  EXPECT_FALSE(Bare.OnDropDownBoxGetCellParams()) << "an empty event";
  Bare.SetOnDropDownBoxTitleBtnClick(nullptr);
  TLookupCellFixture Probe;
  std::vector<String> Painted;
  TObject* ParamsSender = nullptr;
  int Drawn = 0;
  TLookupCellFixture T([&](TColumnZk* C) {
    C->SetOnDropDownBoxGetCellParams([&](TObject* S, TColumnZk* LC, TFont*, TColor& Back,
                                         TGridDrawState) {
      ParamsSender = S;
      Painted.push_back(LC->Field()->AsString());
      Back = clYellow;
    });
    C->SetOnDropDownBoxDrawColumnCell(
        [&](TObject*, const TRect&, int, TColumnZk*, TGridDrawState) { ++Drawn; });
  });
  TColumnZk* C = T.Column();
  EXPECT_TRUE(C->DataList()->OnGetCellParams());
  EXPECT_TRUE(C->DataList()->OnDrawColumnCell());
  T.Key(VK_DOWN, {ssAlt});
  ASSERT_TRUE(T.Edit->ListVisible());
  TBitmap B;
  RenderControl(T.Edit->DataList(), B);
  EXPECT_EQ(ParamsSender, C->DataList()) << "the list's own cells ask the column's handler";
  EXPECT_NE(std::find(Painted.begin(), Painted.end(), String(u"Кобальт")), Painted.end());
  EXPECT_GT(Drawn, 0);
  T.Key(VK_ESCAPE);
  // Another grid's column copies the handlers into its own list.
  TColumnZk* Other = Probe.Column();
  Other->Assign(C);
  ASSERT_NE(Other->DataList(), C->DataList());
  EXPECT_TRUE(Other->OnDropDownBoxGetCellParams());
  EXPECT_TRUE(Other->DataList()->OnDrawColumnCell());
  EXPECT_FALSE(Other->OnDropDownBoxTitleBtnClick());
}

}  // namespace

// While the grid is designed, a column over a lookup field shows that field's list in its
// drop-down grid; at run time the drop-down grid is left alone.
TEST(DBGridLookupCell, AtDesignTimeTheDataListShowsTheLookupFieldsList) {
  for (bool Designing : {false, true}) {
    SCOPED_TRACE(Designing ? "designing" : "running");
    TDBGridOnForm F{0};
    auto* Colours = new TArrayDataSet(F.Form);
    Colours->FieldDefs()->Add(u"ID", ftInteger);
    Colours->FieldDefs()->Add(u"NM", ftWideString, 20);
    Colours->AddRow({1, String(u"Охра")});
    Colours->Open();
    auto* Stock = new TArrayDataSet(F.Form);
    Stock->FieldDefs()->Add(u"COLOR_ID", ftInteger);
    auto* Key = new TIntegerField(F.Form);
    Key->SetFieldName(u"COLOR_ID");
    Key->SetDataSet(Stock);
    TField* Look = AddLookupField(Stock, F.Form, u"lvNM", u"COLOR_ID", Colours, u"ID", u"NM");
    Stock->AddRow({1});
    Stock->Open();
    if (Designing) F.Grid->SetDesigning(true);
    F.Source->SetDataSet(nullptr);
    F.Source->SetDataSet(Stock);
    TColumnZk* Column = F.Grid->Columns()->Items(1);
    ASSERT_EQ(Column->Field(), Look);
    auto* List = static_cast<TDBLookupGridZk*>(Column->DataList());
    if (!Designing) {
      EXPECT_EQ(List->ListSource(), nullptr);
      continue;
    }
    ASSERT_NE(List->ListSource(), nullptr);
    EXPECT_EQ(List->ListSource()->DataSet(), Colours);
    EXPECT_EQ(List->KeyField(), u"ID");
    EXPECT_EQ(List->ListField(), u"NM");
    // A second resolution reuses the drop-down grid's own data source.
    Column->SetField(nullptr);
    Column->SetField(Look);
    int Sources = 0;
    for (int I = 0; I < List->ComponentCount(); ++I)
      Sources += dynamic_cast<TDataSource*>(List->Components(I)) != nullptr;
    EXPECT_EQ(Sources, 1);
  }
}
