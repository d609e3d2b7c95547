// DBGridZkEditTest.cpp - cell editing through the grid's in-place editor over a query of a
// temporary SQLite file: typed text reaches the file, a refused value keeps the editor's text,
// the focus and the edit state; the editor's answers per column and option.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "gridlib/grid/DBGridInplaceEdit.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/toolkit/MRUListZk.h"
#include "gridlib/toolkit/MRUListboxZk.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "platform/classes/Strings.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/DateUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

namespace fs = std::filesystem;

// A grid over "SELECT ID, NAME, QTY, MADE FROM ITEMS" of its own SQLite file.
struct TSqliteGrid {
  fs::path Dir;
  std::unique_ptr<TDBGridOnForm> F;
  TADOConnection* Conn = nullptr;
  TADOQuery* Q = nullptr;

  TSqliteGrid() {
    Dir = fs::temp_directory_path() /
          ("vorenta-dbgrid-edit-" + std::to_string(getpid()) + "-" + std::to_string(++Serial()));
    fs::create_directories(Dir);
    std::ofstream(Dir / "items.data").close();
    F = std::make_unique<TDBGridOnForm>(0);
    Conn = new TADOConnection(F->Form);
    Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                              Utf8ToString((Dir / "items.data").string()));
    Conn->Open();
    Conn->Execute(u"CREATE TABLE ITEMS (ID INTEGER PRIMARY KEY, NAME VARCHAR(30), QTY INTEGER, "
                  u"MADE DATETIME)");
    Conn->Execute(u"INSERT INTO ITEMS VALUES (1, 'Краска', 5, '2024-03-01 14:30:00'), "
                  u"(2, 'Лак', 7, NULL), (3, 'Грунт', 9, NULL)");
    Q = OpenQuery();
    F->Source->SetDataSet(nullptr);
    F->Source->SetDataSet(Q);
    F->Grid->SetOptions(F->Grid->Options() + TDBGridOptions{dgEditing});
    F->Grid->SetFocus();
  }
  ~TSqliteGrid() {
    F.reset();
    fs::remove_all(Dir);
  }
  static int& Serial() {
    static int N = 0;
    return N;
  }
  TADOQuery* OpenQuery() {
    auto* Query = new TADOQuery(F->Form);
    Query->SetConnection(Conn);
    Query->SQL()->SetText(u"SELECT ID, NAME, QTY, MADE FROM ITEMS ORDER BY ID");
    Query->Open();
    return Query;
  }
  // The value of a column of record ID as a second query reads it from the file.
  String ReadBack(int Id, const String& Field) {
    TADOQuery* Second = OpenQuery();
    Second->Locate(u"ID", Id, {});
    const String Result = Second->FieldByName(Field)->AsString();
    delete Second;
    return Result;
  }
  TDBGridZk* Grid() const { return F->Grid; }
  void Type(const String& Text) {
    SimulateTyping(Text);
    Application->ProcessMessages();
  }
};

TEST(DBGridZkEdit, TypedTextTabAndDownPostToTheFile) {
  TSqliteGrid S;
  TDBGridZk* G = S.Grid();
  G->MoveCol(1, 0, false);
  S.Type(u"О");   // the first character opens the editor and is posted to it
  S.Type(u"хра");
  auto* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  EXPECT_EQ(Edit->Text(), u"Охра") << "the first character opens the editor over the old text";
  EXPECT_EQ(S.Q->State(), dsEdit);
  SimulateKeyPress(VK_TAB);
  EXPECT_EQ(G->SelectedIndex(), 2) << "Tab goes to the next column";
  EXPECT_EQ(S.Q->FieldByName(u"NAME")->AsString(), u"Охра") << "leaving the cell writes it";
  S.Type(u"1");
  S.Type(u"2");
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(S.Q->State(), dsBrowse) << "moving to the next record posts";
  EXPECT_EQ(S.Q->RecNo(), 2);
  EXPECT_EQ(S.ReadBack(1, u"NAME"), u"Охра");
  EXPECT_EQ(S.ReadBack(1, u"QTY"), u"12");
}

// Grid columns are the visible ones: behind a hidden column the editor still shows and writes
// the current column's own field.
TEST(DBGridZkEdit, EditorBehindAHiddenColumnWritesItsOwnField) {
  TSqliteGrid S;
  TDBGridZk* G = S.Grid();
  G->Columns()->Items(1)->SetVisible(false);
  G->MoveCol(2, 0, false);
  ASSERT_EQ(G->SelectedField(), S.Q->FieldByName(u"QTY"));
  S.Type(u"8");
  auto* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit && Edit->EditorVisible());
  EXPECT_EQ(Edit->CurrentColumn(), G->Columns()->Items(2));
  Edit->SetText(u"8");
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(S.ReadBack(1, u"QTY"), u"8");
  EXPECT_EQ(S.ReadBack(1, u"NAME"), u"Краска");
}

TEST(DBGridZkEdit, RefusedValueKeepsTextFocusAndEditState) {
  TSqliteGrid S;
  TDBGridZk* G = S.Grid();
  G->MoveCol(2, 0, false);
  S.Type(u"4");
  auto* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit);
  // A character the integer field refuses never reaches the editor.
  S.Type(u"x");
  EXPECT_EQ(Edit->Text(), u"4");
  Edit->SetText(u"99999999999");   // out of the integer range: the field refuses it
  try {
    SimulateKeyPress(VK_TAB);
    ADD_FAILURE() << "the field took the value";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), u"99999999999 is not a valid value for field 'QTY'. The allowed range "
                           u"is -2147483648 to 2147483647");
  }
  SimulateKeyUp(VK_TAB);
  EXPECT_EQ(Edit->Text(), u"99999999999");
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(S.Q->State(), dsEdit);
  EXPECT_EQ(G->SelectedIndex(), 2);
  EXPECT_EQ(S.ReadBack(1, u"QTY"), u"5") << "nothing was posted";
  SimulateKeyPress(VK_ESCAPE);
  EXPECT_EQ(Edit->Text(), u"5") << "Esc takes back the editor's text";
  SimulateKeyPress(VK_ESCAPE);
  EXPECT_EQ(S.Q->State(), dsBrowse) << "a second Esc cancels the record's edit";
}

TEST(DBGridZkEdit, EditorAnswersPerColumnAndOption) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  G->SetFocus();
  struct TCase {
    const char* Name;
    int Column;
    std::function<void()> Setup;
    bool Modifies;
  };
  const TCase Cases[] = {
      {"plain text column", 1, [] {}, true},
      {"read-only grid", 1, [&] { G->SetReadOnly(true); }, false},
      {"read-only column", 1, [&] { G->Columns()->Items(1)->SetReadOnly(true); }, false},
      {"check-box column", 4, [&] { G->Columns()->Items(4)->SetCheckboxes(true); }, false},
      {"memo without memo text", 5, [] {}, false},
      {"memo with memo text", 5, [&] { G->SetDrawMemoText(true); }, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    G->SetReadOnly(false);
    G->SetDrawMemoText(false);
    for (int I = 0; I < G->Columns()->Count(); ++I) {
      G->Columns()->Items(I)->SetReadOnly(false);
      G->Columns()->Items(I)->SetCheckboxes(false);
    }
    F.Set->Cancel();
    C.Setup();
    G->MoveCol(C.Column, 0, false);
    EXPECT_EQ(G->EditorMayModify(), C.Modifies);
    EXPECT_EQ(F.Set->State() == dsEdit, C.Modifies) << "only an editable cell starts editing";
  }
  F.Set->Cancel();
  G->MoveCol(1, 0, false);
  EXPECT_EQ(G->EditorTextLimit(), 0) << "a wide-string field has no limit";
}

TEST(DBGridZkEdit, LeavingAnUntouchedAppendedRecordCancelsIt) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing, dgCancelOnExit});
  auto* Other = new TEdit(F.Form);
  Other->SetParent(F.Form);
  Other->SetBounds(0, 300, 80, 20);
  G->SetFocus();
  F.Set->Last();
  SimulateKeyPress(VK_DOWN);
  ASSERT_EQ(F.Set->State(), dsInsert) << "Down on the last record appends";
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(F.Set->State(), dsInsert) << "Down on the untouched new record does nothing";
  Other->SetFocus();
  EXPECT_EQ(F.Set->State(), dsBrowse);
  EXPECT_EQ(F.Set->RecordCount(), 3);
}

}  // namespace

namespace {

// A grid over ID and MADE (date-time) records, editing on.
struct TDatedGrid {
  TDBGridOnForm F{0};
  TArrayDataSet* Set = nullptr;
  TDatedGrid() {
    Set = new TArrayDataSet(F.Form);
    Set->FieldDefs()->Add(u"ID", ftInteger);
    Set->FieldDefs()->Add(u"MADE", ftDateTime);
    Set->AddRow({1, EncodeDateTime(2024, 3, 1, 14, 30, 0, 0)});
    Set->AddRow({2, Null()});
    Set->Open();
    F.Source->SetDataSet(nullptr);
    F.Source->SetDataSet(Set);
    F.Grid->SetOptions(F.Grid->Options() + TDBGridOptions{dgEditing});
    F.Grid->SetFocus();
    F.Grid->MoveCol(1, 0, false);
    F.Grid->ShowCellEditor();
  }
};

TEST(DBGridZkEdit, CalendarKeepsTheTimeOfDay) {
  TDatedGrid D;
  TDBGridInplaceEdit* Edit = D.F.Grid->DBInplaceEdit();
  ASSERT_TRUE(Edit);
  EXPECT_EQ(Edit->EditStyle(), esDateCalendar);
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Edit->ListVisible());
  EXPECT_EQ(GetFocus(), Edit) << "the calendar never takes the focus";
  SimulateKeyPress(VK_RIGHT);   // the next day, in the calendar
  SimulateKeyPress(VK_RETURN);
  EXPECT_FALSE(Edit->ListVisible());
  EXPECT_EQ(D.Set->FieldByName(u"MADE")->AsDateTime(), EncodeDateTime(2024, 3, 2, 14, 30, 0, 0));
  SimulateKeyPress(VK_DOWN, {ssAlt});
  SimulateKeyPress(VK_ESCAPE);
  EXPECT_FALSE(Edit->ListVisible()) << "Esc closes without taking a date";
  EXPECT_EQ(D.Set->FieldByName(u"MADE")->AsDateTime(), EncodeDateTime(2024, 3, 2, 14, 30, 0, 0));
}

}  // namespace

namespace {

TEST(DBGridZkEdit, PickListDropsDownChoosesAndCancels) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  TColumnZk* Name = G->FindColumnByName(u"NAME");
  Name->PickList()->SetCommaText(u"Alpha,Beta,Gamma,Delta");
  Name->SetDropDownRows(3);
  TColumnZk* Qty = G->FindColumnByName(u"QTY");
  Qty->PickList()->SetCommaText(u"Два,Четыре,Шесть,Без ключа");
  Qty->KeyList()->SetCommaText(u"2,4,6");
  G->SetFocus();
  F.Set->First();   // NAME "Краска", QTY 2
  G->MoveCol(Name->Index(), 0, false);
  G->ShowCellEditor();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit);
  EXPECT_EQ(Edit->EditStyle(), esPickList);
  SimulateKeyPress(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Edit->ListVisible());
  TPopupListboxZk* List = Edit->PickListBox();
  EXPECT_TRUE(List->Visible());
  EXPECT_EQ(GetFocus(), Edit) << "the list never takes the focus";
  EXPECT_EQ(List->RowCount(), 3) << "DropDownRows bounds the rows";
  EXPECT_EQ(List->ItemIndex(), -1) << "a text the list lacks selects nothing";
  EXPECT_GE(List->Width(), Edit->Width());
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_DOWN);
  EXPECT_EQ(Edit->Text(), u"Beta") << "the editor shows the entry moved to";
  SimulateKeyPress(VK_ESCAPE);
  EXPECT_FALSE(Edit->ListVisible());
  EXPECT_EQ(Edit->Text(), u"Краска") << "Esc returns to the text before the list";
  SimulateKeyPress(VK_DOWN, {ssAlt});
  SimulateKeyPress(VK_END, {ssCtrl});
  SimulateKeyPress(VK_RETURN);
  EXPECT_FALSE(Edit->ListVisible());
  EXPECT_EQ(Edit->Text(), u"Delta");
  SimulateKeyPress(VK_TAB);
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"Delta");
  F.Set->Post();
  // A key pick list offers only the texts that have a key and writes the key.
  G->MoveCol(Qty->Index(), 0, false);
  G->ShowCellEditor();
  Edit = G->DBInplaceEdit();
  SimulateKeyPress(VK_RETURN, {ssCtrl});
  ASSERT_TRUE(Edit->ListVisible());
  List = Edit->PickListBox();
  EXPECT_EQ(List->Items()->Count(), 3);
  EXPECT_EQ(List->ItemIndex(), 0) << "the key's text is selected";
  // A click on the third entry chooses it.
  const TRect R = List->ItemRect(2);
  const TPoint P = List->ClientToScreen(TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
  SimulateMouseDown(mbLeft, P);
  SimulateMouseUp(mbLeft, P);
  EXPECT_FALSE(Edit->ListVisible());
  EXPECT_EQ(Edit->Text(), u"Шесть");
  SimulateKeyPress(VK_TAB);
  EXPECT_EQ(F.Set->FieldByName(u"QTY")->AsInteger(), 6);
  F.Set->Cancel();
}

TEST(DBGridZkEdit, RecentTextsFollowTheTypedTextAndLearnWrittenOnes) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  TColumnZk* Name = G->FindColumnByName(u"NAME");
  TMRUListZk* MRU = Name->MRUList();
  MRU->Items()->SetCommaText(u"\"Краска белая\",\"Краска синяя\",Лак");
  MRU->SetActive(true);
  MRU->SetAutoAdd(true);
  G->SetFocus();
  F.Set->First();
  G->MoveCol(Name->Index(), 0, false);
  G->ShowCellEditor();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit);
  Edit->SelectAll();
  SimulateTyping(u"к");
  ASSERT_TRUE(Edit->MRUListDown()) << "texts starting with the typed one (case ignored)";
  EXPECT_EQ(Edit->MRUListBox()->Items()->Count(), 2);
  EXPECT_EQ(GetFocus(), Edit);
  SimulateTyping(u"x");
  EXPECT_FALSE(Edit->MRUListDown()) << "none left: the list closes";
  SimulateKeyPress(VK_BACK);
  ASSERT_TRUE(Edit->MRUListDown()) << "Backspace brings them back";
  // A resize through the size grip is kept in the MRU list.
  TMRUListboxZk* Box = Edit->MRUListBox();
  ASSERT_TRUE(Box->SizeGrip()->Visible());
  Box->SetBounds(Box->Left(), Box->Top(), Box->Width() + 40, Box->Height());
  Box->SizeGrip()->OnParentResized()(Box->SizeGrip());
  EXPECT_EQ(MRU->Width(), Box->Width());
  EXPECT_EQ(MRU->Rows(), Box->RowCount());
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_DOWN);
  SimulateKeyPress(VK_RETURN);
  EXPECT_FALSE(Edit->MRUListDown());
  EXPECT_EQ(Edit->Text(), u"Краска синяя");
  EXPECT_TRUE(Edit->EditorVisible()) << "Enter only closed the list";
  SimulateKeyPress(VK_ESCAPE);   // nothing down: the grid's Esc restores the cell
  G->ShowCellEditor();
  G->DBInplaceEdit()->SelectAll();
  SimulateTyping(u"Олифа");
  SimulateKeyPress(VK_TAB);
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"Олифа");
  EXPECT_EQ(MRU->Items()->Strings(MRU->Items()->Count() - 1), u"Олифа") << "a written text is learnt";
  F.Set->Cancel();
}

TEST(DBGridZkEdit, KeyPickListTakesListTextsOnly) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  G->SetOptions(G->Options() + TDBGridOptions{dgEditing});
  TColumnZk* Qty = G->FindColumnByName(u"QTY");
  Qty->PickList()->SetCommaText(u"Два,Четыре,Шесть");
  Qty->KeyList()->SetCommaText(u"2,4,6");
  G->SetFocus();
  F.Set->First();   // QTY 2
  G->MoveCol(Qty->Index(), 0, false);
  G->ShowCellEditor();
  TDBGridInplaceEdit* Edit = G->DBInplaceEdit();
  ASSERT_TRUE(Edit);
  EXPECT_EQ(Edit->Text(), u"Два") << "the cell edits the key's text";
  Edit->SelectAll();
  ASSERT_EQ(GetFocus(), Edit);
  SimulateTyping(u"ч");
  EXPECT_EQ(Edit->Text(), u"Четыре") << "completed from the list";
  EXPECT_EQ(Edit->SelText(), u"етыре");
  SimulateTyping(u"x");
  EXPECT_EQ(Edit->Text(), u"Четыре") << "a text the list lacks is not typed";
  SimulateKeyPress(VK_TAB);
  EXPECT_EQ(F.Set->FieldByName(u"QTY")->AsInteger(), 4) << "the key is written";
  // Delete with the whole text selected clears the value.
  G->MoveCol(Qty->Index(), 0, false);
  G->ShowCellEditor();
  G->DBInplaceEdit()->SelectAll();
  SimulateKeyPress(VK_DELETE);
  EXPECT_EQ(G->DBInplaceEdit()->Text(), u"");
  SimulateKeyPress(VK_TAB);
  EXPECT_TRUE(F.Set->FieldByName(u"QTY")->IsNull());
  F.Set->Cancel();
}

}  // namespace
