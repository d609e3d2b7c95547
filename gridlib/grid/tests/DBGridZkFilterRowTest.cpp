// DBGridZkFilterRowTest.cpp - the grid's filter row: typed conditions applied through
// OnApplyFilter over a query of a temporary SQLite file and over the memory table, moving
// between filter cells by key, leaving the row, a rejected text, and a picture of the row.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "gridlib/grid/DBGridZkCenter.h"
#include "gridlib/grid/DBGridZkColumnFilter.h"
#include "gridlib/grid/DBGridZkFilterList.h"
#include "gridlib/grid/DBGridZkFilterRow.h"
#include "gridlib/toolkit/PopupListboxZk.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "gridlib/memtable/MemTableZk.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "platform/controls/Snapshot.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

namespace fs = std::filesystem;

// The handler a program sets: the grid's conditions as the dataset's filter.
void ApplyAsDataSetFilter(TObject* Sender) {
  auto* Grid = static_cast<TCustomDBGridZk*>(Sender);
  String Filter;
  BuildGridFilterString(Grid, BuildFilterCondition, nullptr, false, true, Filter);
  Grid->DataSet()->SetFilter(Filter);
  Grid->DataSet()->SetFilteredValue(!Filter.empty());
}

// The grid as a form text.
std::string FormText(TComponent* C) {
  TMemoryStream Bin, Text;
  WriteComponentToStream(C, &Bin);
  Bin.SetPosition(0);
  ObjectBinaryToText(&Bin, &Text);
  return std::string(static_cast<const char*>(Text.Memory()), Text.Size());
}

std::vector<int> ShownIds(TDataSet* D) {
  std::vector<int> Ids;
  const TBookmark Saved = D->GetBookmark();
  for (D->First(); !D->Eof(); D->Next()) Ids.push_back(D->FieldByName(u"ID")->AsInteger());
  if (!Ids.empty()) D->First();
  return Ids;
}

void Type(const String& Text) {
  SimulateTyping(Text);
  SimulateKeyPress(VK_RETURN, {}, u'\r');
}

// Types conditions into the filter cells of NAME and PRICE and checks the rows shown.
void CheckTypedFilters(TDBGridOnForm& F, TDataSet* D) {
  TDBGridZk* G = F.Grid;
  G->SetOnApplyFilter(ApplyAsDataSetFilter);
  G->STFilter()->SetVisible(true);
  const int Name = G->FindColumnByName(u"NAME")->Index();
  const int Price = G->FindColumnByName(u"PRICE")->Index();
  G->EnterFilterCell(Name);
  ASSERT_TRUE(G->STFilter()->FilterEdit->Focused());
  Type(u"~ К%");
  EXPECT_EQ(ShownIds(D), (std::vector<int>{1, 6}));
  EXPECT_EQ(G->FilterCellText(Name), u"~ К%");
  G->EnterFilterCell(Price);
  Type(u"> 50");
  EXPECT_EQ(ShownIds(D), (std::vector<int>{6}));
  // The cell's text is replaced: Enter applies the new condition.
  G->STFilter()->FilterEdit->SelectAll();
  Type(u"<= 50 or = Null");
  EXPECT_EQ(ShownIds(D), (std::vector<int>{1}));
  // A text that does not read: the reader's message, the previous condition, nothing applied.
  G->STFilter()->FilterEdit->SelectAll();
  SimulateTyping(u"In 5");
  EXPECT_THROW(G->ApplyFilterRow(), Exception);
  EXPECT_EQ(G->Columns()->Items(Price)->STFilter()->ExpressionStr(), u"<= 50 or = Null");
  EXPECT_EQ(ShownIds(D), (std::vector<int>{1}));
  G->ClearFilter();
  G->ApplyFilter();
  EXPECT_EQ(ShownIds(D).size(), 10u);
  EXPECT_FALSE(G->STFilter()->FilterEditMode);
}

TEST(DBGridZkFilterRow, TypedConditionsFilterAnSqliteQuery) {
  TFormatSettingsScope Scope(TFormatSettings::Russian());
  const fs::path Dir = fs::temp_directory_path() / ("vorenta-filterrow-" + std::to_string(getpid()));
  fs::create_directories(Dir);
  std::ofstream(Dir / "items.data").close();
  {
    TDBGridOnForm F(0);
    auto* Conn = new TADOConnection(F.Form);
    Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                              Utf8ToString((Dir / "items.data").string()));
    Conn->Open();
    Conn->Execute(u"CREATE TABLE ITEMS (ID INTEGER PRIMARY KEY, NAME VARCHAR(30), PRICE FLOAT)");
    for (int I = 1; I <= 10; ++I)
      Conn->Execute(u"INSERT INTO ITEMS VALUES (" + IntToStr(I) + u", " +
                    (I % 5 == 0 ? String(u"NULL") : I % 5 == 1 ? String(u"'Краска'") : u"'Лак " + IntToStr(I) + u"'") +
                    u", " + (I == 1 ? String(u"NULL") : IntToStr(I * 10)) + u")");
    auto* Q = new TADOQuery(F.Form);
    Q->SetConnection(Conn);
    Q->SQL()->SetText(u"SELECT ID, NAME, PRICE FROM ITEMS ORDER BY ID");
    Q->Open();
    F.Source->SetDataSet(nullptr);
    F.Source->SetDataSet(Q);
    CheckTypedFilters(F, Q);
  }
  fs::remove_all(Dir);
}

// ID 1..10; NAME "Краска" (1, 6), Null (5, 10), else "Лак <ID>"; PRICE ID * 10, Null for 1.
TMemTableZk* ItemsMemTable(TDBGridOnForm& F) {
  auto* Table = new TMemTableZk(F.Form);
  Table->FieldDefs()->Add(u"ID", ftInteger);
  Table->FieldDefs()->Add(u"NAME", ftWideString, 30);
  Table->FieldDefs()->Add(u"PRICE", ftFloat);
  Table->CreateDataSet();
  for (int I = 1; I <= 10; ++I)
    Table->AppendRecord({I,
                         I % 5 == 0   ? Variant::MakeNull()
                         : I % 5 == 1 ? Variant(String(u"Краска"))
                                      : Variant(u"Лак " + IntToStr(I)),
                         I == 1 ? Variant::MakeNull() : Variant(double(I * 10))});
  F.Source->SetDataSet(nullptr);
  F.Source->SetDataSet(Table);
  return Table;
}

TEST(DBGridZkFilterRow, TypedConditionsFilterTheMemoryTable) {
  TFormatSettingsScope Scope(TFormatSettings::Russian());
  TDBGridOnForm F(0);
  CheckTypedFilters(F, ItemsMemTable(F));
}

// --- the filter cell's drop-down list -------------------------------------------------------------

std::vector<String> ListTexts(TStrings* Items) {
  std::vector<String> Out;
  for (int I = 0; I < Items->Count(); ++I) Out.push_back(Items->Strings(I));
  return Out;
}

TEST(DBGridZkFilterList, CommandsAndTheColumnsValues) {
  TDBGridOnForm F(0);
  ItemsMemTable(F);
  TDBGridZk* G = F.Grid;
  G->STFilter()->SetVisible(true);
  G->EnterFilterCell(1);
  TInplaceFilterEditZk* E = G->STFilter()->FilterEdit;
  E->DropDown();
  ASSERT_TRUE(E->ListVisible());
  EXPECT_EQ(ListTexts(E->PopupListbox()->Items()),
            (std::vector<String>{u"(Очистить фильтр)", u"(Применить фильтр)", u"(Условие...)",
                                 u"(Все)", u"(Не пустые)", u"(Пустые)", u"", u"Краска",
                                 u"Лак 2", u"Лак 3", u"Лак 4", u"Лак 7", u"Лак 8", u"Лак 9"}))
      << "no sort entries without automatic sort marking; the Null names give the empty value";
  E->CloseUp(false);
  // Sort entries with sort marking on a title button; no apply entry once instant.
  G->SetOptionsZk(G->OptionsZk() << dghAutoSortMarking);
  G->Columns()->Items(1)->Title()->SetTitleButton(true);
  G->STFilter()->SetLocal(true);
  E->DropDown();
  const std::vector<String> Texts = ListTexts(E->PopupListbox()->Items());
  ASSERT_EQ(Texts.size(), 16u);
  EXPECT_EQ(std::vector<String>(Texts.begin(), Texts.begin() + 8),
            (std::vector<String>{u"(Сортировка по возрастанию)", u"(Сортировка по убыванию)", u"-",
                                 u"(Очистить фильтр)", u"(Условие...)", u"(Все)", u"(Не пустые)",
                                 u"(Пустые)"}));
  // The sort entry marks the title.
  E->PopupListbox()->SetItemIndex(1);
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_EQ(G->Columns()->Items(1)->Title()->SortMarker(), smDownZk);
  E->CloseUp(false);
  // Another column's condition narrows the values to the records passing it.
  G->FindColumnByName(u"PRICE")->STFilter()->SetExpressionStr(u"> 60");
  E->DropDown();
  const std::vector<String> Narrowed = ListTexts(E->PopupListbox()->Items());
  EXPECT_EQ(std::vector<String>(Narrowed.begin() + 8, Narrowed.end()),
            (std::vector<String>{u"", u"Лак 7", u"Лак 8", u"Лак 9"}));
  E->CloseUp(false);
}

TEST(DBGridZkFilterList, ClickedValuesStayTickedWhenEnterClosesTheList) {
  TDBGridOnForm F(0);
  TMemTableZk* Table = ItemsMemTable(F);
  TDBGridZk* G = F.Grid;
  int Applied = 0;
  G->SetOnApplyFilter([&](TObject* Sender) {
    ++Applied;
    ApplyAsDataSetFilter(Sender);
  });
  G->STFilter()->SetVisible(true);
  G->EnterFilterCell(1);
  TInplaceFilterEditZk* E = G->STFilter()->FilterEdit;
  TSTColumnFilterZk* Name = G->Columns()->Items(1)->STFilter();
  E->DropDown();
  TPopupListboxZk* List = E->PopupListbox();
  auto Click = [&](const String& Text) {
    const int I = List->Items()->IndexOf(Text);
    ASSERT_GE(I, 0);
    bool Close = true;
    List->ItemObject(I)->MouseDown(List, I, {5, 5}, mbLeft, {});
    List->ItemObject(I)->MouseUp(List, I, {5, 5}, mbLeft, {}, Close);
    EXPECT_FALSE(Close) << "a value keeps the list open";
  };
  Click(u"Краска");
  Click(u"Лак 3");
  EXPECT_TRUE(E->ListVisible());
  EXPECT_EQ(Name->ExpressionStr(), u"in ('Краска','Лак 3')");
  EXPECT_EQ(E->Text(), u"in ('Краска','Лак 3')");
  EXPECT_EQ(Applied, 0) << "not instant: nothing applied yet";
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_FALSE(E->ListVisible());
  EXPECT_EQ(Name->ExpressionStr(), u"in ('Краска','Лак 3')") << "both values stay ticked";
  EXPECT_EQ(Applied, 1);
  EXPECT_EQ(ShownIds(Table), (std::vector<int>{1, 3, 6}));
  // After that accepted close-up, Enter on a value makes it the only one.
  E->DropDown();
  List->SetItemIndex(List->Items()->IndexOf(u"Лак 4"));
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_EQ(Name->ExpressionStr(), u"='Лак 4'");
  EXPECT_EQ(E->Text(), u"='Лак 4'") << "the entry's text never replaces the condition";
  // Ctrl+Space: the first makes its value the only one, the next adds; the list stays open.
  E->DropDown();
  List->SetItemIndex(List->Items()->IndexOf(u"Лак 2"));
  SimulateKeyPress(VK_SPACE, {ssCtrl}, u' ');
  List->SetItemIndex(List->Items()->IndexOf(u"Лак 3"));
  SimulateKeyPress(VK_SPACE, {ssCtrl}, u' ');
  EXPECT_TRUE(E->ListVisible());
  EXPECT_EQ(Name->ExpressionStr(), u"in ('Лак 2','Лак 3')");
  EXPECT_EQ(E->Text(), u"in ('Лак 2','Лак 3')") << "no blank typed";
  SimulateKeyPress(VK_ESCAPE, {}, u'\x1b');
  // A command entry: "(Пустые)".
  E->DropDown();
  List->SetItemIndex(List->Items()->IndexOf(u"(Пустые)"));
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_EQ(Name->ExpressionStr(), u"=Null");
  // "(Очистить фильтр)" clears and applies.
  E->DropDown();
  List->SetItemIndex(List->Items()->IndexOf(u"(Очистить фильтр)"));
  SimulateKeyPress(VK_RETURN, {}, u'\r');
  EXPECT_EQ(Name->ExpressionStr(), u"");
  EXPECT_EQ(ShownIds(Table).size(), 10u);
}

TEST(DBGridZkFilterList, InTitleLocationDropsTheListFromTheTitle) {
  TDBGridOnForm F(0);
  ItemsMemTable(F);
  TDBGridZk* G = F.Grid;
  G->STFilter()->SetVisible(true);
  G->STFilter()->SetLocation(stflInTitleFilterZk);
  G->SetFocus();
  G->SetCol(G->ColumnIndexToGridCol(1));
  SimulateKeyPress(u'T', {ssCtrl});
  ASSERT_TRUE(InTitleFilterListVisible(G));
  TPopupListboxZk* List = G->STFilter()->InTitleListbox;
  EXPECT_EQ(List->Items()->Strings(0), u"(Очистить фильтр)");
  EXPECT_EQ(G->STFilter()->InTitleColumn, G->Columns()->Items(1));
  CloseInTitleFilterList(G, false);
  EXPECT_FALSE(InTitleFilterListVisible(G));
  EXPECT_EQ(G->Columns()->Items(1)->STFilter()->ExpressionStr(), u"") << "closed without running";
  // A value ticked from the title's list, then "(Пустые)" run on closing.
  DropDownInTitleFilter(G, G->Columns()->Items(1));
  const int Paint = List->Items()->IndexOf(u"Краска");
  List->ItemObject(Paint)->Execute(List, Paint, {-1, -1}, {});
  EXPECT_TRUE(InTitleFilterListVisible(G)) << "ticking keeps the list open";
  EXPECT_EQ(G->Columns()->Items(1)->STFilter()->ExpressionStr(), u"='Краска'");
  List->SetItemIndex(List->Items()->IndexOf(u"(Пустые)"));
  CloseInTitleFilterList(G, true);
  EXPECT_EQ(G->Columns()->Items(1)->STFilter()->ExpressionStr(), u"=Null");
  // A press on the title's filter button drops the list; elsewhere on the title it does not.
  const int GridCol = G->ColumnIndexToGridCol(2);
  const TRect Title = G->CellRect(GridCol, G->TitleOffset() - 1);
  SimulateClick(G, {Title.Left + 4, (Title.Top + Title.Bottom) / 2});
  EXPECT_FALSE(InTitleFilterListVisible(G));
  SimulateClick(G, {Title.Right - 6, (Title.Top + Title.Bottom) / 2});
  EXPECT_TRUE(InTitleFilterListVisible(G));
  EXPECT_EQ(G->STFilter()->InTitleColumn, G->Columns()->Items(2));
  CloseInTitleFilterList(G, false);
}

TEST(DBGridZkFilterList, EventsFillTheListInOrderAndMayReplaceTheDefaults) {
  TDBGridOnForm F(0);
  ItemsMemTable(F);
  TDBGridZk* G = F.Grid;
  TColumnZk* Name = G->Columns()->Items(1);
  std::vector<String> Calls;
  G->SetOnFillSTFilterListValues([&](TCustomDBGridZk*, TColumnZk*, TStrings* Items, bool&) {
    Calls.push_back(u"grid");
    Items->Add(u"zz");
  });
  Name->SetOnFillSTFilterListValues([&](TCustomDBGridZk*, TColumnZk*, TStrings*, bool& Done) {
    Calls.push_back(u"column");
    Done = true;
  });
  G->Center()->SetOnFillSTFilterListValues([&](TCustomDBGridZk*, TColumnZk*, TStrings*, bool& Done) {
    Calls.push_back(Done ? u"center sees done" : u"center");
  });
  TStringList Items;
  int Width = 0;
  FillSTFilterListValues(G, Name, &Items, Width, nullptr);
  G->Center()->SetOnFillSTFilterListValues(nullptr);
  EXPECT_EQ(Calls, (std::vector<String>{u"grid", u"column", u"center sees done"}));
  ASSERT_EQ(Items.Count(), 1) << "processed: no default entries";
  EXPECT_TRUE(dynamic_cast<TPopupListboxItemZkData*>(Items.Objects(0))) << "an added text is a value";
  EXPECT_EQ(Name->STFilter()->ListValuesCheckingState().size(), 1u);
}

TEST(DBGridZkFilterList, TickedValuesBecomeOneQuotedCondition) {
  TDBGridOnForm F(3);
  TSTColumnFilterZk* Name = F.Grid->Columns()->Items(1)->STFilter();
  TPopupListboxItemZkData Data;
  TPopupListboxItemZkSpec Command;
  TStringList Items;
  Items.AddObject(u"(Все)", &Command);
  Items.AddObject(u"it's", &Data);
  Items.AddObject(u"a b", &Data);
  auto& Checks = Name->ListValuesCheckingState();
  Checks = {true, true, false};   // a ticked command does not count
  CheckedValuesToFilter(Name, &Items);
  EXPECT_EQ(Name->ExpressionStr(), u"='it''s'");
  EXPECT_EQ(VarToStr(Name->Expression().Operand1), u"it's");
  Checks = {false, true, true};
  CheckedValuesToFilter(Name, &Items);
  EXPECT_EQ(Name->ExpressionStr(), u"in ('it''s','a b')");
  // The condition's values tick the list again.
  Name->UpdateListCheckingState(&Items);
  EXPECT_EQ(Name->ListValuesCheckingState(), (std::vector<bool>{false, true, true}));
  Checks = {false, false, false};
  CheckedValuesToFilter(Name, &Items);
  EXPECT_EQ(Name->ExpressionStr(), u"");
}

// --- moving in the filter row ---------------------------------------------------------------------

struct TMoveCase {
  const char* Name;
  int StartColumn;
  Word Key;
  TShiftState Shift;
  bool Tabs;
  int FilterCol;   // -1: the filter row was left
};

TEST(DBGridZkFilterRow, KeysMoveBetweenFilterCells) {
  const TMoveCase Cases[] = {
      {"Tab without dgTabs stays", 2, VK_TAB, {}, false, 2},
      {"Tab with dgTabs moves on", 2, VK_TAB, {}, true, 3},
      {"Shift+Tab moves back", 2, VK_TAB, {ssShift}, true, 1},
      {"Tab wraps to the first", 5, VK_TAB, {}, true, 0},
      {"Home enters the first column, even column 0", 3, VK_HOME, {}, false, 0},
      {"End enters the last", 1, VK_END, {}, false, 5},
      {"Right at the end of the text moves on", 1, VK_RIGHT, {}, false, 2},
      {"Ctrl+Left to the first", 3, VK_LEFT, {ssCtrl}, false, 0},
      {"Up stays in the row", 2, VK_UP, {}, false, 2},
      {"Down leaves the row", 2, VK_DOWN, {}, false, -1},
      {"a hidden column is skipped", 3, VK_TAB, {}, true, 5},
  };
  for (const TMoveCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TDBGridOnForm F(10);
    TDBGridZk* G = F.Grid;
    if (C.Tabs) G->SetOptions(G->Options() << dgTabs);
    else G->SetOptions(G->Options() >> dgTabs);
    G->Columns()->Items(4)->STFilter()->SetVisible(false);
    G->STFilter()->SetVisible(true);
    G->EnterFilterCell(C.StartColumn);
    ASSERT_EQ(G->STFilter()->FilterCol, C.StartColumn);
    SimulateKeyPress(C.Key, C.Shift);
    if (C.FilterCol < 0) {
      EXPECT_FALSE(G->STFilter()->FilterEditMode);
      EXPECT_FALSE(G->STFilter()->FilterEdit->Visible());
    } else {
      EXPECT_TRUE(G->STFilter()->FilterEditMode);
      EXPECT_EQ(G->STFilter()->FilterCol, C.FilterCol);
    }
  }
}

TEST(DBGridZkFilterRow, DownGoesToTheTopRecordCtrlDownKeepsTheCurrent) {
  for (bool Ctrl : {false, true}) {
    SCOPED_TRACE(Ctrl ? "Ctrl+Down" : "Down");
    TDBGridOnForm F(30, 520, 200);
    TDBGridZk* G = F.Grid;
    G->STFilter()->SetVisible(true);
    F.Set->Last();
    F.Set->Prior();
    const int Current = F.Set->RecNo();
    const int Top = Current - G->DataLink()->ActiveRecord();
    ASSERT_LT(Top, Current);
    G->EnterFilterCell(3);
    SimulateKeyPress(VK_DOWN, Ctrl ? TShiftState{ssCtrl} : TShiftState{});
    EXPECT_FALSE(G->STFilter()->FilterEditMode);
    EXPECT_EQ(G->SelectedIndex(), 3);
    if (Ctrl) EXPECT_EQ(F.Set->RecNo(), Current);
    else EXPECT_EQ(F.Set->RecNo(), Top) << "the record shown in the top data row";
  }
}

// The filter editor stays over its cell while the grid scrolls sideways.
TEST(DBGridZkFilterRow, EditorFollowsItsCellWhenTheGridScrolls) {
  TDBGridOnForm F(5, 300, 160);
  TDBGridZk* G = F.Grid;
  G->STFilter()->SetVisible(true);
  G->EnterFilterCell(1);
  ASSERT_TRUE(G->STFilter()->FilterEditMode);
  auto CellLeft = [&] { return G->CellRect(G->ColumnIndexToGridCol(1), G->TitleOffset() - 1).Left; };
  TInplaceFilterEditZk* E = G->STFilter()->FilterEdit;
  EXPECT_EQ(E->Left(), CellLeft() + 1);
  const int Before = CellLeft();
  G->SetLeftCol(G->FixedCols() + 1);
  ASSERT_LT(CellLeft(), Before);
  ASSERT_GT(CellLeft(), 0);
  EXPECT_EQ(E->Left(), CellLeft() + 1);
}

TEST(DBGridZkFilterRow, SettingsLayoutAndAssign) {
  TDBGridOnForm F(5);
  TDBGridZk* G = F.Grid;
  const int Titles = G->TitleOffset();
  G->STFilter()->SetVisible(true);
  EXPECT_EQ(G->TitleOffset(), Titles + 1) << "the filter row sits under the titles";
  EXPECT_TRUE(G->IsFilterRowCell(G->IndicatorOffset(), Titles));
  G->STFilter()->SetLocation(stflInTitleFilterZk);
  EXPECT_EQ(G->TitleOffset(), Titles);
  G->EnterFilterCell(1);
  EXPECT_FALSE(G->STFilter()->FilterEditMode) << "no filter cell in the title location";

  EXPECT_FALSE(G->STFilter()->InstantApply());
  G->STFilter()->SetLocal(true);
  EXPECT_TRUE(G->STFilter()->InstantApply()) << "Local until set";
  G->STFilter()->SetInstantApply(false);
  EXPECT_FALSE(G->STFilter()->InstantApply());
  TSTDBGridZkFilter Other;
  Other.Assign(G->STFilter());
  EXPECT_TRUE(Other.Visible());
  EXPECT_TRUE(Other.Local());
  EXPECT_EQ(Other.Location(), stflUnderTitleFilterZk) << "Location is not copied";
  EXPECT_FALSE(Other.IsInstantApplyStored());
}

// The filter settings of a grid and its columns as a form text sets them; defaults stay out.
TEST(DBGridZkFilterRow, SettingsReadFromFormTextAndWrittenBack) {
  TDBGridOnForm F(3);
  F.Grid->SetName(u"Grid1");
  const std::string Plain = FormText(F.Grid);
  EXPECT_EQ(Plain.find("STFilter"), std::string::npos) << Plain;
  const std::string Form =
      "object Grid1: TDBGridZk\n"
      "  STFilter.InstantApply = False\n"
      "  STFilter.Local = True\n"
      "  STFilter.Location = stflInTitleFilterZk\n"
      "  STFilter.Visible = True\n"
      "  Columns = <\n"
      "    item\n"
      "      FieldName = 'NAME'\n"
      "      STFilter.DataField = 'CODE'\n"
      "      STFilter.DropDownListRows = 8\n"
      "      STFilter.KeyField = 'ID'\n"
      "      STFilter.ListField = 'TITLE'\n"
      "      STFilter.Visible = False\n"
      "    end>\n"
      "end\n";
  TMemoryStream Text, Bin;
  Text.Write(Form.data(), Form.size());
  Text.SetPosition(0);
  ObjectTextToBinary(&Text, &Bin);
  Bin.SetPosition(0);
  ReadComponentFromStream(&Bin, F.Grid);
  TSTDBGridZkFilter* GF = F.Grid->STFilter();
  EXPECT_TRUE(GF->Visible());
  EXPECT_TRUE(GF->Local());
  EXPECT_EQ(GF->Location(), stflInTitleFilterZk);
  EXPECT_TRUE(GF->IsInstantApplyStored()) << "an explicit False is kept apart from Local";
  EXPECT_FALSE(GF->InstantApply());
  ASSERT_EQ(F.Grid->Columns()->Count(), 1);
  TSTColumnFilterZk* CF = F.Grid->Columns()->Items(0)->STFilter();
  EXPECT_EQ(CF->DataField(), u"CODE");
  EXPECT_EQ(CF->DropDownListRows(), 8);
  EXPECT_EQ(CF->DropDownListWidth(), 0);
  EXPECT_EQ(CF->KeyField(), u"ID");
  EXPECT_EQ(CF->ListField(), u"TITLE");
  EXPECT_FALSE(CF->Visible());
  const std::string Again = FormText(F.Grid);
  for (const char* Line : {"STFilter.InstantApply = False", "STFilter.Local = True",
                           "STFilter.Location = stflInTitleFilterZk", "STFilter.Visible = True",
                           "STFilter.DataField = 'CODE'", "STFilter.DropDownListRows = 8",
                           "STFilter.KeyField = 'ID'", "STFilter.ListField = 'TITLE'",
                           "STFilter.Visible = False"})
    EXPECT_NE(Again.find(Line), std::string::npos) << Line << "\n" << Again;
  EXPECT_EQ(Again.find("DropDownListWidth"), std::string::npos) << Again;
}

// A copied column takes the filter's list settings and visibility, not its condition. The
// target columns are customised: default columns follow the dataset's fields.
TEST(DBGridZkFilterRow, CopiedColumnTakesTheFilterSettings) {
  TDBGridOnForm F(3);
  TDBGridZk* G = F.Grid;
  G->STFilter()->SetVisible(true);
  G->Columns()->Clear();
  TColumnZk* From = G->Columns()->Add();
  From->SetFieldName(u"NAME");
  TSTColumnFilterZk* S = From->STFilter();
  S->SetDataField(u"QTY");
  S->SetKeyField(u"ID");
  S->SetListField(u"NOTE");
  S->SetListSource(F.Source);
  S->SetVisible(false);
  S->SetExpressionStr(u"=abc");
  TColumnZk* To = G->Columns()->Add();
  To->SetFieldName(u"PRICE");
  ASSERT_TRUE(G->ColumnHasFilterCell(To->Index()));
  To->Assign(From);
  ASSERT_EQ(G->Columns()->Count(), 2);
  TSTColumnFilterZk* T = To->STFilter();
  EXPECT_EQ(T->DataField(), u"QTY");
  EXPECT_EQ(T->KeyField(), u"ID");
  EXPECT_EQ(T->ListField(), u"NOTE");
  EXPECT_EQ(T->ListSource(), F.Source);
  EXPECT_FALSE(T->Visible());
  EXPECT_FALSE(G->ColumnHasFilterCell(To->Index())) << "the copy takes no filter cell";
  EXPECT_TRUE(T->ExpressionStr().empty()) << "the condition is not copied";
  EXPECT_TRUE(T->IsEmpty());

  TDBGridOnForm F2(3);
  F2.Grid->Columns()->Assign(G->Columns());
  ASSERT_EQ(F2.Grid->Columns()->Count(), 2);
  EXPECT_EQ(F2.Grid->Columns()->Items(1)->STFilter()->KeyField(), u"ID");
  EXPECT_FALSE(F2.Grid->Columns()->Items(0)->STFilter()->Visible());
}

TEST(DBGridZkFilterRow, PictureOfAFilterRow) {
  TFormatSettingsScope Scope(TFormatSettings::Russian());
  TDBGridOnForm F(8, 520, 220);
  TDBGridZk* G = F.Grid;
  G->STFilter()->SetVisible(true);
  G->Columns()->Items(1)->STFilter()->SetExpressionStr(u"~ Кр%");
  G->Columns()->Items(2)->STFilter()->SetExpressionStr(u"> 20 AND < 70");
  G->EnterFilterCell(3);
  SimulateTyping(u"In (4,8)");
  G->Repaint();
  const char* Out = std::getenv("VORENTA_SCREENSHOT_FILTERROW");
  if (Out) SaveControlToPng(F.Form, Utf8ToString(Out));
  EXPECT_EQ(G->FilterCellText(1), u"~ Кр%");
  EXPECT_EQ(G->STFilter()->FilterEdit->Text(), u"In (4,8)");
}

}  // namespace
