// DBLookupZkTest.cpp - the lookup combo box: the application's order combo box read from form
// text and dropped down, typing in both styles, free text stored by a data-independent link,
// Del on required and optional fields, the special row's shortcut, stepping, drop-down rows
// and a grip resize remembered.
#include "gridlib/grid/DBLookupZk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "gridlib/grid/DBGridZkModule.h"
#include "gridlib/toolkit/SizeGripZk.h"
#include "platform/classes/Filer.h"
#include "platform/controls/Forms.h"
#include "platform/controls/WinApi.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Variants.h"
#include "platform/sqlite/ADODB.h"

namespace {

class TUnsequencedDataSet : public TArrayDataSet {
public:
  using TArrayDataSet::TArrayDataSet;
  bool IsSequenced() const override { return false; }
};

int KeyInt(const Variant& V) { return VarIsNull(V) ? 0 : V.AsInteger(); }

struct TComboFixture {
  TForm* Form;
  TArrayDataSet* List;
  TDataSource* ListSource;
  TDBLookupComboboxZk* Combo;

  explicit TComboFixture(int Rows = 5, bool Unsequenced = false) {
    DBGridZkModuleInitialize();
    InitControls();
    Form = new TForm(Application);
    Form->SetBounds(40, 40, 500, 400);
    List = Unsequenced ? new TUnsequencedDataSet(Form) : new TArrayDataSet(Form);
    List->FieldDefs()->Add(u"ID", ftInteger);
    List->FieldDefs()->Add(u"NM", ftWideString, 30);
    const char16_t* Names[] = {u"Интерьер", u"Фасад", u"Пол", u"Металл", u"Дерево"};
    for (int I = 1; I <= Rows; ++I) List->AddRow({I, String(Names[(I - 1) % 5])});
    List->Open();
    ListSource = new TDataSource(Form);
    ListSource->SetDataSet(List);
    Combo = new TDBLookupComboboxZk(Form);
    Combo->SetParent(Form);
    Combo->SetBounds(10, 10, 160, 22);
    Form->Show();
    Combo->HandleNeeded();
    Combo->SetListSource(ListSource);
    Combo->SetKeyField(u"ID");
    Combo->SetListField(u"NM");
    Combo->SetFocus();
    Application->ProcessMessages();
  }
  ~TComboFixture() {
    delete Form;
    DBGridZkModuleFinalize();
  }
  TComboFixture(const TComboFixture&) = delete;
  TComboFixture& operator=(const TComboFixture&) = delete;

  void Type(const String& Text) {
    for (Char C : Text) Combo->Perform(WM_CHAR, C, 0);
  }
  void Key(Word K, TShiftState Shift = {}) { SimulateKeyPress(K, Shift, 0, Combo); }
};

TEST(DBLookupCombobox, UnboundComboChoosesAKeyTheProgramReads) {
  TComboFixture F;
  EXPECT_FALSE(F.Combo->KeyTextIndependent());
  ASSERT_TRUE(F.Combo->ListActive());
  F.Combo->SetKeyValue(3);
  EXPECT_EQ(F.Combo->Text(), u"Пол");
  F.Key(VK_DOWN);
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 4);
  EXPECT_EQ(F.Combo->Text(), u"Металл");
  F.Combo->SetKeyValue(Null());
  F.Key(VK_UP);
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 1) << "Up without a located key: the first record";
  F.Key(VK_UP);
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 1) << "Up on the first record stays";
}

TEST(DBLookupCombobox, DropDownListTypingLocatesByPrefixOnly) {
  TComboFixture F;
  F.Type(u"ф");
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 2);
  EXPECT_EQ(F.Combo->Text(), u"Фасад");
  F.Type(u"z");   // no list text starts with "фz": key and text stay
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 2);
  EXPECT_EQ(F.Combo->Text(), u"Фасад");
  const int Before = std::abs(F.Combo->SelLength());
  F.Combo->Perform(WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(F.Combo->Text(), u"Фасад") << "Backspace only widens the selection";
  EXPECT_EQ(std::abs(F.Combo->SelLength()), Before + 1);
}

// Typing searches an index of the list's texts: records added or changed after the first
// search are found.
TEST(DBLookupCombobox, TypingFindsTextsAddedOrChangedAfterTheFirstSearch) {
  TComboFixture F;
  F.Type(u"ф");
  ASSERT_EQ(KeyInt(F.Combo->KeyValue()), 2);
  F.List->Append();
  F.List->FieldByName(u"ID")->SetAsInteger(6);
  F.List->FieldByName(u"NM")->SetAsString(u"Шпатлёвка");
  F.List->Post();
  F.List->Locate(u"ID", 3, {});
  F.List->Edit();
  F.List->FieldByName(u"NM")->SetAsString(u"Щит");
  F.List->Post();
  F.Combo->SetKeyValue(Null());
  F.Type(u"ш");
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 6);
  F.Combo->SetKeyValue(Null());
  F.Type(u"щ");
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 3);
  EXPECT_EQ(F.Combo->Text(), u"Щит");
}

TEST(DBLookupCombobox, DropDownStyleFreeTextGivesANullKeyThatUpdateDataStoresAsText) {
  TComboFixture F;
  F.Combo->SetStyle(csDropDownZk);
  F.Combo->DataLink()->Edit();
  F.Type(u"Пол");
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 3);
  F.Type(u"ы");
  EXPECT_TRUE(VarIsNull(F.Combo->KeyValue()));
  EXPECT_EQ(F.Combo->Text(), u"Полы");
  F.Combo->UpdateData();
  EXPECT_EQ(VarToStr(F.Combo->DataLink()->DataIndependentValue), u"Полы");
}

TEST(DBLookupCombobox, DeleteClearsOptionalKeysAndRequiredOnlyWhenAllIsSelected) {
  struct Case { bool Required; bool WholeText; bool Cleared; };
  const Case Cases[] = {{false, false, true}, {true, false, false}, {true, true, true}};
  for (const Case& C : Cases) {
    TComboFixture F;
    auto* Data = new TArrayDataSet(F.Form);
    Data->FieldDefs()->Add(u"TP_ID", ftInteger);
    Data->AddRow({2});
    Data->Open();
    Data->FieldByName(u"TP_ID")->SetRequired(C.Required);
    auto* DS = new TDataSource(F.Form);
    DS->SetDataSet(Data);
    F.Combo->SetDataSource(DS);
    F.Combo->SetDataField(u"TP_ID");
    ASSERT_EQ(F.Combo->Text(), u"Фасад");
    F.Combo->SetSelStart(C.WholeText ? 0 : 2);
    F.Combo->SetSelLength(C.WholeText ? 5 : 1);
    F.Key(VK_DELETE);
    EXPECT_EQ(VarIsNull(F.Combo->KeyValue()), C.Cleared) << C.Required << C.WholeText;
  }
}

TEST(DBLookupCombobox, AltDeleteChoosesTheVisibleSpecialRow) {
  TComboFixture F;
  F.Combo->DropDownBox()->SpecRow()->SetValue(0);
  F.Combo->DropDownBox()->SpecRow()->SetCellsText(u"(все)");
  F.Combo->DropDownBox()->SpecRow()->SetVisible(true);
  F.Combo->SetKeyValue(4);
  F.Key(VK_DELETE, {ssAlt});
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 0);
  EXPECT_FALSE(VarIsNull(F.Combo->KeyValue()));
  EXPECT_EQ(F.Combo->Text(), u"(все)");
}

TEST(DBLookupCombobox, DropDownRowsFollowASmallSequencedList) {
  struct Case { int Records; bool Sequenced; int Rows; };
  const Case Cases[] = {{3, true, 3}, {0, true, 7}, {3, false, 7}, {20, true, 7}};
  for (const Case& C : Cases) {
    TComboFixture F(C.Records, !C.Sequenced);
    F.Combo->DropDown();
    ASSERT_EQ(F.Combo->ListVisible(), true) << C.Records;
    EXPECT_EQ(F.Combo->DataList()->RowCount(), C.Rows) << C.Records << " " << C.Sequenced;
    F.Combo->CloseUp(false);
  }
}

// Fitting is switched off at every close-up and on again at the next drop-down; the popup keeps
// its window through that, and a fitting list shows no horizontal bar.
TEST(DBLookupCombobox, DropDownsKeepTheirWindowAndAFittingListHasNoHorizontalBar) {
  struct Case { bool AutoFit; bool HorzBar; };
  for (const Case C : {Case{true, false}, Case{false, true}}) {
    TComboFixture F(20);
    F.Combo->DropDownBox()->SetAutoFitColWidths(C.AutoFit);
    TPopupDataGridZk* G = F.Combo->DataList();
    // A window made anew may land on the freed one's address: count its creations instead.
    int NewWindows = 0;
    for (int Open = 0; Open < 3; ++Open) {
      F.Combo->DropDown();
      ASSERT_TRUE(F.Combo->ListVisible());
      if (Open == 0)
        G->SetWindowProc([G, &NewWindows](TMessage& M) {
          if (M.Msg == WM_CREATE) ++NewWindows;
          G->WndProc(M);
        });
      EXPECT_EQ(NewWindows, 0) << "drop-down " << Open << " made a new window";
      EXPECT_EQ(G->ScrollBarShown(SB_HORZ), C.HorzBar) << C.AutoFit;
      int Sum = 0;
      for (int I = G->IndicatorOffset(); I < G->ColCount(); ++I) Sum += G->ColWidth(I) + 1;
      if (C.AutoFit) {
        EXPECT_LE(Sum, G->ClientWidth()) << "fitted columns";
      }
      F.Combo->CloseUp(false);
    }
    G->SetWindowProc(nullptr);
  }
}

TEST(DBLookupCombobox, EnterAcceptsEscapeDiscardsAndAGripResizeIsKept) {
  TComboFixture F(20);
  F.Combo->DropDownBox()->SetSizable(true);
  F.Combo->SetKeyValue(2);
  F.Combo->DropDown();
  ASSERT_TRUE(F.Combo->ListVisible());
  EXPECT_TRUE(F.Combo->DataList()->SizeGrip()->Visible());
  EXPECT_EQ(KeyInt(F.Combo->DataList()->KeyValue()), 2);
  F.Key(VK_DOWN);
  EXPECT_EQ(KeyInt(F.Combo->DataList()->KeyValue()), 3);
  F.Key(VK_ESCAPE);
  EXPECT_FALSE(F.Combo->ListVisible());
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 2);
  F.Combo->DropDown();
  F.Key(VK_DOWN);
  TPopupDataGridZk* G = F.Combo->DataList();
  G->SetBounds(G->Left(), G->Top(), 260, G->Height() + 3 * G->GetDataRowHeight());
  const int Rows = G->RowCount();
  F.Key(VK_RETURN);
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 3);
  EXPECT_EQ(F.Combo->Text(), u"Пол");
  EXPECT_EQ(F.Combo->DropDownBox()->Rows(), Rows);
  EXPECT_EQ(F.Combo->DropDownBox()->Width(), 260);
}

TEST(DBLookupCombobox, FocusLossClosesWithoutAccepting) {
  TComboFixture F;
  auto* Other = new TEdit(F.Form);
  Other->SetParent(F.Form);
  Other->SetBounds(10, 100, 80, 22);
  F.Combo->SetKeyValue(1);
  F.Combo->DropDown();
  F.Key(VK_DOWN);
  Other->SetFocus();
  Application->ProcessMessages();
  EXPECT_FALSE(F.Combo->ListVisible());
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 1);
}

TEST(DBLookupCombobox, AKeyArrayOfTheWrongLengthIsNeverLocated) {
  TComboFixture F;
  F.Combo->SetKeyField(u"ID;NM");
  F.Combo->SetKeyValue(VarArrayOf({Variant(2)}));
  EXPECT_EQ(F.Combo->Text(), u"");
  F.Combo->SetKeyValue(VarArrayOf({Variant(2), Variant(String(u"Фасад"))}));
  EXPECT_EQ(F.Combo->Text(), u"Фасад");
  F.Combo->SetKeyValue(VarArrayOf({Variant(2), Variant(String(u"Фасад")), Variant(1)}));
  EXPECT_EQ(F.Combo->Text(), u"");
}

TEST(DBLookupCombobox, CancelModeFromElsewhereClosesUnacceptedOwnDoesNot) {
  TComboFixture F;
  auto* Other = new TEdit(F.Form);
  Other->SetParent(F.Form);
  F.Combo->SetKeyValue(1);
  F.Combo->DropDown();
  F.Key(VK_DOWN);
  F.Combo->Perform(CM_CANCELMODE, 0, LPARAM(F.Combo->DataList()));
  EXPECT_TRUE(F.Combo->ListVisible()) << "the drop-down's own cancel mode keeps it open";
  F.Combo->Perform(CM_CANCELMODE, 0, LPARAM(static_cast<TControl*>(Other)));
  EXPECT_FALSE(F.Combo->ListVisible());
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 1);
}

TEST(DBLookupCombobox, NotInListMayAddTheTextBeforeItIsStored) {
  TComboFixture F;
  F.Combo->SetStyle(csDropDownZk);
  F.Combo->DataLink()->Edit();
  int Calls = 0;
  F.Combo->SetOnNotInList([&](TObject*, const String& Text, bool& Recheck) {
    ++Calls;
    F.List->AppendRecord({Variant(9), Variant(Text)});
    Recheck = true;
  });
  F.Type(u"Крыша");
  F.Combo->UpdateData();
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 9);
  EXPECT_EQ(KeyInt(F.Combo->DataLink()->DataIndependentValue), 9);
}

TEST(DBLookupCombobox, APressOnTheTextOpensTheListAndTheNextClickClosesItUnaccepted) {
  TComboFixture F;
  F.Combo->SetKeyValue(2);
  const TPoint P{10, 8};
  F.Combo->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.X, P.Y));
  F.Combo->Perform(WM_LBUTTONUP, 0, MAKELPARAM(P.X, P.Y));
  ASSERT_TRUE(F.Combo->ListVisible()) << "the opening click does not close it";
  F.Key(VK_DOWN);
  F.Combo->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.X, P.Y));
  F.Combo->Perform(WM_LBUTTONUP, 0, MAKELPARAM(P.X, P.Y));
  EXPECT_FALSE(F.Combo->ListVisible());
  EXPECT_EQ(KeyInt(F.Combo->KeyValue()), 2);
}

TEST(DBLookupCombobox, TheOrderComboBoxReadFromFormText) {
  TComboFixture F;
  TForm Read(nullptr);
  auto* Src = new TDataSource(&Read);
  Src->SetName(u"DSOrd");
  auto* Orders = new TArrayDataSet(&Read);
  Orders->FieldDefs()->Add(u"ID", ftInteger);
  Orders->FieldDefs()->Add(u"NUM", ftWideString, 10);
  Orders->FieldDefs()->Add(u"DT", ftDateTime);
  Orders->FieldDefs()->Add(u"COMMENT", ftWideString, 40);
  Orders->AddRow({7, String(u"З-7"), EncodeDate(2024, 5, 1), String(u"срочно")});
  Orders->AddRow({8, String(u"З-8"), EncodeDate(2024, 5, 2), String(u"")});
  Orders->Open();
  Src->SetDataSet(Orders);
  TextToComponent(u"object F: TForm\n"
                  u"  object DBLookupComboboxZkOrd: TDBLookupComboboxZk\n"
                  u"    Left = 8\n    Top = 8\n    Width = 150\n    Height = 21\n"
                  u"    DropDownBox.Columns = <\n"
                  u"      item\n        FieldName = 'NUM'\n        Width = 20\n      end\n"
                  u"      item\n        FieldName = 'DT'\n        Width = 30\n      end\n"
                  u"      item\n        FieldName = 'COMMENT'\n        Width = 40\n      end>\n"
                  u"    DropDownBox.Sizable = True\n"
                  u"    KeyField = 'ID'\n    ListField = 'NUM'\n    ListSource = DSOrd\n"
                  u"    Enabled = False\n"
                  u"  end\nend\n",
                  &Read);
  auto* Ord = dynamic_cast<TDBLookupComboboxZk*>(Read.FindComponent(u"DBLookupComboboxZkOrd"));
  ASSERT_NE(Ord, nullptr);
  EXPECT_EQ(Ord->KeyField(), u"ID");
  EXPECT_EQ(Ord->ListSource(), Src);
  EXPECT_TRUE(Ord->DropDownBox()->Sizable());
  EXPECT_EQ(Ord->DropDownBox()->Rows(), 7);
  ASSERT_EQ(Ord->DropDownBox()->Columns()->Count(), 3);
  EXPECT_EQ(Ord->DropDownBox()->Columns()->Items(2)->FieldName(), u"COMMENT");
  EXPECT_EQ(Ord->DropDownBox()->Columns()->Items(1)->Width(), 30);
  Ord->SetKeyValue(8);
  EXPECT_EQ(Ord->Text(), u"З-8");
  // Written back, the customised columns and the settings come out again.
  const String Text = ComponentToText(&Read);
  EXPECT_NE(Text.find(u"FieldName = 'COMMENT'"), String::npos);
  EXPECT_NE(Text.find(u"DropDownBox.Sizable = True"), String::npos);
}


// A query hands its texts out at once (read when the combo box takes the focus), or has them
// walked; after each kind of change typing finds what the list now holds.
class TWalkedQuery : public TADOQuery {
public:
  using TADOQuery::TADOQuery;
  bool GetFieldColumn(TField*, std::vector<Variant>&) const override { return false; }
};

TEST(DBLookupCombobox, TypingOverAQueryFollowsEveryKindOfChange) {
  namespace fs = std::filesystem;
  for (const bool Walked : {false, true}) {
    const fs::path Dir = fs::temp_directory_path() / ("lookup-query-" + std::to_string(getpid()));
    fs::create_directories(Dir);
    std::ofstream(Dir / "names.data").close();
    TComboFixture F;
    auto* Conn = new TADOConnection(F.Form);
    Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                              Utf8ToString((Dir / "names.data").string()));
    Conn->Open();
    Conn->Execute(u"CREATE TABLE NAMES (ID INTEGER PRIMARY KEY, NAME VARCHAR(30))");
    Conn->Execute(u"INSERT INTO NAMES VALUES (1, 'Бета'), (2, 'альфа'), (3, 'Гамма'), "
                  u"(4, 'Альфа-2'), (5, NULL), (6, 'дельта'), (7, 'Бета-7'), (8, 'омега')");
    TADOQuery* Q = Walked ? new TWalkedQuery(F.Form) : new TADOQuery(F.Form);
    Q->SetConnection(Conn);
    Q->SQL()->SetText(u"SELECT ID, NAME FROM NAMES ORDER BY ID");
    Q->Open();
    F.Combo->SetListSource(nullptr);
    F.Combo->SetListField(u"NAME");
    F.ListSource->SetDataSet(Q);
    F.Combo->SetListSource(F.ListSource);
    auto* Other = new TEdit(F.Form);
    Other->SetParent(F.Form);
    Other->SetBounds(10, 100, 80, 22);
    Other->SetFocus();
    F.Combo->SetFocus();   // the texts are read here
    struct Case { const char* Change; std::function<void()> Do; const char16_t* Typed; int Id; };
    const Case Cases[] = {
        {"none", [] {}, u"ал", 2},
        {"edit", [Q] { Q->Locate(u"ID", 8, {}); Q->Edit(); Q->FieldByName(u"NAME")->SetAsString(u"Ярь"); Q->Post(); }, u"яр", 8},
        {"insert", [Q] { Q->Append(); Q->FieldByName(u"ID")->SetAsInteger(9); Q->FieldByName(u"NAME")->SetAsString(u"Жёлтый"); Q->Post(); }, u"жё", 9},
        {"delete", [Q] { Q->Locate(u"ID", 2, {}); Q->Delete(); }, u"ал", 4},
        {"filter", [Q] { Q->SetFilter(u"ID > 4"); Q->SetFilteredValue(true); }, u"бе", 7},
        {"requery", [Q, Conn] { Conn->Execute(u"INSERT INTO NAMES VALUES (10, 'Щёлочь')"); Q->Requery(); }, u"щё", 10},
    };
    for (const Case& C : Cases) {
      C.Do();
      F.Combo->SetKeyValue(Null());
      F.Type(C.Typed);
      EXPECT_EQ(KeyInt(F.Combo->KeyValue()), C.Id) << C.Change << (Walked ? " (walked)" : "");
    }
    delete F.Form;
    F.Form = nullptr;
    fs::remove_all(Dir);
  }
}


// The text index compares as the locale's case-insensitive collation does; most texts are
// passed over by their first letter without asking it.
TEST(DBLookupCombobox, TextIndexMatchesAsTheCaseInsensitiveCollation) {
  DBGridZkModuleInitialize();
  auto* List = new TArrayDataSet(nullptr);
  List->FieldDefs()->Add(u"NM", ftWideString, 30);
  for (const char16_t* T : {u"Ёлка", u"елка", u"е\u0308ж", u"Жёлтый", u"ZEBRA", u"zebra-2",
                            u"1-й", u"Ärger"})
    List->AddRow({String(T)});
  List->Open();
  struct Case { const char16_t* Probe; bool Partial; int RecNo; };
  const Case Cases[] = {{u"ел", true, 2},    {u"ЁЛ", true, 1},      {u"ёж", false, 3},
                        {u"жЁ", true, 4},    {u"zeb", true, 5},     {u"ZEBRA-", true, 6},
                        {u"1", true, 7},     {u"ä", true, 8},       {u"щ", true, 0},
                        {u"елка", false, 2}, {u"ЕЛКА ", false, 0}};
  TLookupTextIndexZk Index;
  for (const Case& C : Cases)
    EXPECT_EQ(Index.Find(List, List->FieldByName(u"NM"), C.Probe, C.Partial), C.RecNo)
        << ToUtf8(C.Probe);
  delete List;
  DBGridZkModuleFinalize();
}

}  // namespace
