// DBGridInplaceEditWheelTest.cpp - the mouse wheel while a list hangs under the cell editor: the
// list takes it, the grid neither scrolls nor moves the record; with the list closed the wheel
// moves the record again.
#include <gtest/gtest.h>

#include <functional>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/grid/DBLookupGridsZk.h"
#include "gridlib/toolkit/CalculatorZk.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/MRUListboxZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "gridlib/toolkit/PopupMonthCalendarZk.h"
#include "platform/classes/Strings.h"
#include "platform/controls/Messages.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

namespace {

using TListOf = std::function<TWinControl*(TDBGridInplaceEdit*)>;
using TProbe = std::function<double(TWinControl*)>;

// With the list open on record 5: two wheel steps down, one through the focused editor and one
// sent to the grid, both reach the list; the record, the grid's top row and the list stay. Esc
// closes the list, and the next step moves the record.
void ExpectListTakesTheWheel(TDBGridZk* G, TDataSet* Set, TDBGridInplaceEdit* Edit,
                             const TListOf& ListOf, const TProbe& Probe) {
  TWinControl* List = ListOf(Edit);
  ASSERT_TRUE(List && IsWindowVisible(List));
  ASSERT_EQ(GetFocus(), Edit);
  ASSERT_EQ(Set->RecNo(), 5);
  const TPoint At = Edit->ClientToScreen({2, 2});
  const double Before = Probe(List);
  const int TopRow = G->TopRow();

  SimulateMouseWheel(-WHEEL_DELTA, At);   // to the focused editor
  EXPECT_NE(Probe(List), Before) << "the list took the wheel";
  const double AfterEditor = Probe(List);
  G->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(At.X, At.Y));
  EXPECT_NE(Probe(List), AfterEditor) << "a wheel sent to the grid goes to the list first";
  EXPECT_EQ(Set->RecNo(), 5) << "the record stays";
  EXPECT_EQ(G->TopRow(), TopRow) << "the grid does not scroll";
  EXPECT_TRUE(IsWindowVisible(List)) << "the list stays open";

  SimulateKeyPress(VK_ESCAPE);
  ASSERT_FALSE(ListOf(Edit) && IsWindowVisible(ListOf(Edit)));
  SimulateMouseWheel(-WHEEL_DELTA, At);
  EXPECT_EQ(Set->RecNo(), 6) << "with the list closed the wheel moves the record";
}

struct TWheelCase {
  const char* Name;
  const char* Column;
  std::function<void(TColumnZk*)> Prepare;
  std::function<void(TDBGridInplaceEdit*)> Open;
  TListOf List;
  // A reading of the list that a wheel step down changes.
  TProbe Probe;
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
    ExpectListTakesTheWheel(G, F.Set, Edit, Case.List, Case.Probe);
    F.Set->Cancel();
  }
}

TEST(DBGridInplaceEditWheel, OpenCalendarTakesTheWheel) {
  TDBGridOnForm F(0, 520, 200);
  auto* Set = new TArrayDataSet(F.Form);
  Set->FieldDefs()->Add(u"ID", ftInteger);
  Set->FieldDefs()->Add(u"MADE", ftDateTime);
  for (int I = 1; I <= 30; ++I) Set->AddRow({I, EncodeDate(2024, 3, I)});
  Set->Open();
  F.Source->SetDataSet(nullptr);
  F.Source->SetDataSet(Set);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->SetFocus();
  Set->SetRecNo(5);
  G->MoveCol(1, 0, false);
  G->ShowCellEditor();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ExpectListTakesTheWheel(
      G, Set, Edit, [](TDBGridInplaceEdit* E) -> TWinControl* { return E->Calendar(); },
      [](TWinControl* L) { return double(static_cast<TPopupMonthCalendarZk*>(L)->Date()); });
  Set->Cancel();
}

TEST(DBGridInplaceEditWheel, OpenLookupListTakesTheWheel) {
  TDBGridOnForm F(0, 520, 200);
  auto* Colours = new TArrayDataSet(F.Form);
  Colours->FieldDefs()->Add(u"ID", ftInteger);
  Colours->FieldDefs()->Add(u"NM", ftWideString, 20);
  for (int I = 1; I <= 20; ++I) Colours->AddRow({I, u"Тон " + IntToStr(I)});
  Colours->Open();
  auto* Stock = new TArrayDataSet(F.Form);
  Stock->FieldDefs()->Add(u"POS", ftInteger);
  Stock->FieldDefs()->Add(u"COLOR_ID", ftInteger);
  for (const char16_t* N : {u"POS", u"COLOR_ID"}) {
    auto* Fld = new TIntegerField(F.Form);
    Fld->SetFieldName(N);
    Fld->SetDataSet(Stock);
  }
  AddLookupField(Stock, F.Form, u"lvNM", u"COLOR_ID", Colours, u"ID", u"NM");
  for (int I = 1; I <= 30; ++I) Stock->AddRow({I, 1});
  Stock->Open();
  F.Source->SetDataSet(nullptr);
  F.Source->SetDataSet(Stock);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->SetFocus();
  Stock->SetRecNo(5);
  G->MoveCol(2, 0, false);
  G->ShowCellEditor();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  ASSERT_EQ(Edit->EditStyle(), esDataList);
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ExpectListTakesTheWheel(
      G, Stock, Edit, [](TDBGridInplaceEdit* E) -> TWinControl* { return E->DataList(); },
      [Colours](TWinControl*) { return double(Colours->RecNo()); });
  Stock->Cancel();
}

}  // namespace
