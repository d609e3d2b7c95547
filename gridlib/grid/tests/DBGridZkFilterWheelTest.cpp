// DBGridZkFilterWheelTest.cpp - the mouse wheel while a filter list is open (the filter cell
// editor's list or the list dropped from a title): the list takes it, the grid neither scrolls
// nor moves the record; with the list closed the wheel moves the record again.
#include <gtest/gtest.h>

#include <functional>

#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"

namespace {

struct TFilterWheelCase {
  const char* Name;
  TSTFilterLocationZk Location;
  // Opens the list from the ID column and answers it.
  std::function<TPopupListboxZk*(TDBGridZk*)> Open;
  std::function<void(TDBGridZk*)> Close;
  // The control the focused-side wheel is sent to.
  std::function<TWinControl*(TDBGridZk*)> Focused;
};

const TFilterWheelCase FilterWheelCases[] = {
    {"filter cell editor's list", stflUnderTitleFilterZk,
     [](TDBGridZk* G) -> TPopupListboxZk* {
       G->EnterFilterCell(0);
       TInplaceFilterEditZk* E = G->STFilter()->FilterEdit;
       E->DropDown();
       return E->ListVisible() ? E->PopupListbox() : nullptr;
     },
     [](TDBGridZk* G) { G->STFilter()->FilterEdit->CloseUp(false); },
     [](TDBGridZk* G) -> TWinControl* { return G->STFilter()->FilterEdit; }},
    {"in-title list", stflInTitleFilterZk,
     [](TDBGridZk* G) -> TPopupListboxZk* {
       DropDownInTitleFilter(G, G->Columns()->Items(0));
       return InTitleFilterListVisible(G) ? G->STFilter()->InTitleListbox : nullptr;
     },
     [](TDBGridZk* G) { CloseInTitleFilterList(G, false); },
     [](TDBGridZk* G) -> TWinControl* { return G; }},
};

TEST(DBGridZkFilterWheel, OpenFilterListTakesTheWheelAndTheGridStaysPut) {
  for (const TFilterWheelCase& Case : FilterWheelCases) {
    SCOPED_TRACE(Case.Name);
    TDBGridOnForm F(30, 520, 200);
    TDBGridZk* G = F.Grid;
    G->STFilter()->SetVisible(true);
    G->STFilter()->SetLocation(Case.Location);
    G->Columns()->Items(0)->STFilter()->SetDropDownListRows(4);
    G->SetFocus();
    F.Set->SetRecNo(5);
    TPopupListboxZk* List = Case.Open(G);
    ASSERT_TRUE(List && IsWindowVisible(List));
    const int TopRow = G->TopRow();
    const WPARAM Down = MAKEWPARAM(0, -WHEEL_DELTA);

    const int Before = List->TopIndex();
    Case.Focused(G)->Perform(WM_MOUSEWHEEL, Down, 0);
    EXPECT_EQ(List->TopIndex(), Before + 1) << "the list took the wheel";
    G->Perform(WM_MOUSEWHEEL, Down, 0);
    EXPECT_EQ(List->TopIndex(), Before + 2) << "a wheel sent to the grid goes to the list";
    List->SetTopIndex(0);
    G->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(F.Set->RecNo(), 5) << "the record stays, also when the list cannot scroll";
    EXPECT_EQ(G->TopRow(), TopRow) << "the grid does not scroll";
    EXPECT_TRUE(IsWindowVisible(List)) << "the list stays open";

    Case.Close(G);
    ASSERT_FALSE(IsWindowVisible(List));
    G->Perform(WM_MOUSEWHEEL, Down, 0);
    EXPECT_EQ(F.Set->RecNo(), 6) << "with the list closed the wheel moves the record";
  }
}

}  // namespace
