// DBGridInplaceEditWheelTest.cpp - the mouse wheel while a list hangs under the cell editor: the
// list takes it, the grid neither scrolls nor moves the record; with the list closed the wheel
// moves the record again.
#include <gtest/gtest.h>

#include <functional>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/toolkit/CalculatorZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/MRUListboxZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "platform/classes/Strings.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"

namespace {

struct TWheelCase {
  const char* Name;
  const char* Column;
  std::function<void(TColumnZk*)> Prepare;
  std::function<void(TDBGridInplaceEdit*)> Open;
  std::function<TWinControl*(TDBGridInplaceEdit*)> List;
  // A reading of the list that a wheel step down changes.
  std::function<double(TWinControl*)> Probe;
};

const TWheelCase WheelCases[] = {
    {"pick list", "NAME",
     [](TColumnZk* C) {
       C->PickList()->SetCommaText(u"A1,A2,A3,A4,A5,A6,A7,A8,A9,A10,A11,A12");
       C->SetDropDownRows(4);
     },
     [](TDBGridInplaceEdit*) { SimulateKeyPress(VK_DOWN, {ssAlt}); },
     [](TDBGridInplaceEdit* E) -> TWinControl* { return E->PickListBox(); },
     [](TWinControl* L) { return double(static_cast<TPopupListboxZk*>(L)->TopIndex()); }},
    {"calculator", "PRICE", [](TColumnZk* C) { C->SetButtonStyle(cbsDropDown); },
     [](TDBGridInplaceEdit*) { SimulateKeyPress(VK_DOWN, {ssAlt}); },
     [](TDBGridInplaceEdit* E) -> TWinControl* { return E->Calculator(); },
     [](TWinControl* L) { return double(static_cast<TPopupCalculatorZk*>(L)->DisplayValue()); }},
    {"recent texts", "NAME",
     [](TColumnZk* C) {
       C->MRUList()->Items()->SetCommaText(u"k1,k2,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12");
       C->MRUList()->SetRows(4);
       C->MRUList()->SetActive(true);
     },
     [](TDBGridInplaceEdit* E) {
       E->SelectAll();
       SimulateTyping(u"k");
     },
     [](TDBGridInplaceEdit* E) -> TWinControl* {
       return E->MRUListDown() ? E->MRUListBox() : nullptr;
     },
     [](TWinControl* L) { return double(static_cast<TMRUListboxZk*>(L)->TopIndex()); }},
};

TEST(DBGridInplaceEditWheel, OpenListTakesTheWheelAndTheGridStaysPut) {
  for (const TWheelCase& Case : WheelCases) {
    SCOPED_TRACE(Case.Name);
    TDBGridOnForm F(30, 520, 200);
    TDBGridZk* G = F.Grid;
    G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
    TColumnZk* C = G->FindColumnByName(String(Case.Column, Case.Column + strlen(Case.Column)));
    ASSERT_TRUE(C);
    Case.Prepare(C);
    G->SetFocus();
    F.Set->SetRecNo(5);
    G->MoveCol(C->Index(), 0, false);
    G->ShowCellEditor();
    TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
    ASSERT_TRUE(Edit && Edit->EditorVisible());
    Case.Open(Edit);
    TWinControl* List = Case.List(Edit);
    ASSERT_TRUE(List && IsWindowVisible(List));
    ASSERT_EQ(GetFocus(), Edit);
    const TPoint At = Edit->ClientToScreen({2, 2});
    const double Before = Case.Probe(List);
    const int TopRow = G->TopRow();

    SimulateMouseWheel(-WHEEL_DELTA, At);   // to the focused editor
    EXPECT_NE(Case.Probe(List), Before) << "the list took the wheel";
    const double AfterEditor = Case.Probe(List);
    // A wheel that reaches the grid itself goes to the list first as well.
    G->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(At.X, At.Y));
    EXPECT_NE(Case.Probe(List), AfterEditor);
    EXPECT_EQ(F.Set->RecNo(), 5) << "the record stays";
    EXPECT_EQ(G->TopRow(), TopRow) << "the grid does not scroll";
    EXPECT_TRUE(IsWindowVisible(List)) << "the list stays open";

    SimulateKeyPress(VK_ESCAPE);
    ASSERT_FALSE(Case.List(Edit) && IsWindowVisible(Case.List(Edit)));
    SimulateMouseWheel(-WHEEL_DELTA, At);
    EXPECT_EQ(F.Set->RecNo(), 6) << "with the list closed the wheel moves the record";
    F.Set->Cancel();
  }
}

}  // namespace
