// DBGridZkTextIndexTest.cpp - the column texts a grid keeps for searches from the first record,
// over a query of a temporary SQLite file: after each kind of change (edit, insert, delete,
// filter, requery, other options) the search finds what a plain walk over the records finds,
// with the texts read at once from the query's rows and with a query that has them walked.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "gridlib/grid/DBGridZkFeatures.h"
#include "gridlib/grid/DBGridZkTextIndex.h"
#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/classes/Strings.h"
#include "platform/controls/WinApi.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

namespace fs = std::filesystem;

// A query that hands out no stored values: the index is filled by the searches' walks.
class TWalkedQuery : public TADOQuery {
public:
  using TADOQuery::TADOQuery;
  bool GetFieldColumn(TField*, std::vector<Variant>&) const override { return false; }
};

class DBGridZkTextIndex : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    std::ofstream(Dir / "names.data").close();
    Conn = new TADOConnection(F.Form);
    Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                              Utf8ToString((Dir / "names.data").string()));
    Conn->Open();
    Conn->Execute(u"CREATE TABLE NAMES (ID INTEGER PRIMARY KEY, NAME VARCHAR(30))");
    Conn->Execute(u"INSERT INTO NAMES VALUES (1, 'Бета'), (2, 'альфа'), (3, 'Гамма'), "
                  u"(4, 'Альфа-2'), (5, NULL), (6, 'дельта'), (7, 'Бета-7'), (8, 'омега')");
    Q = GetParam() ? new TWalkedQuery(F.Form) : new TADOQuery(F.Form);
    Q->SetConnection(Conn);
    Q->SQL()->SetText(u"SELECT ID, NAME FROM NAMES ORDER BY ID");
    Q->Open();
    F.Source->SetDataSet(Q);
    F.Grid->MoveCol(1, 0, false);
  }
  void TearDown() override {
    delete F.Form;
    F.Form = nullptr;
    fs::remove_all(Dir);
  }

  // The ID the grid's search from the first record finds, 0 for none.
  int Search(const String& Text, TLocateTextOptionsZk Options = {ltoCaseInsensitiveZk}) {
    if (!LocateGridText(F.Grid, u"", Text, Options, ltdAllZk, ltmFromBegingZk, lttInAllNodesZk))
      return 0;
    return Q->FieldByName(u"ID")->AsInteger();
  }
  // The same search as a plain walk over the records.
  int Walked(const String& Text, bool IgnoreCase = true) {
    const TBookmark Saved = Q->GetBookmark();
    int Id = 0;
    for (Q->First(); !Q->Eof() && Id == 0; Q->Next()) {
      const String Name = Q->FieldByName(u"NAME")->AsString();
      if (IgnoreCase ? AnsiUpperCase(Name).starts_with(AnsiUpperCase(Text)) : Name.starts_with(Text))
        Id = Q->FieldByName(u"ID")->AsInteger();
    }
    Q->GotoBookmark(Saved);
    return Id;
  }
  TGridTextIndexZk* Index() { return TGridTextIndexZk::Of(F.Grid); }

  const fs::path Dir = fs::temp_directory_path() / ("vorenta-textindex-" + std::to_string(getpid()));
  bool Made = fs::create_directories(Dir);
  TDBGridOnForm F{0};
  TADOConnection* Conn = nullptr;
  TADOQuery* Q = nullptr;
};

TEST_P(DBGridZkTextIndex, KeepsTheTextsAndAnswersFromThem) {
  EXPECT_EQ(Search(u"гам"), 3);
  if (GetParam()) {
    EXPECT_EQ(Index()->Count(), 3) << "the walk kept the texts it read";
    EXPECT_EQ(Search(u"аль"), 2) << "answered from the kept texts";
    EXPECT_EQ(Index()->Count(), 3);
  } else {
    EXPECT_EQ(Index()->Count(), 8) << "read at once from the rows";
    EXPECT_TRUE(Index()->Complete());
  }
  EXPECT_EQ(Search(u"ОМ"), 8);
  EXPECT_EQ(Search(u"я"), 0);
  EXPECT_TRUE(Index()->Complete());
  EXPECT_EQ(Q->FieldByName(u"ID")->AsInteger(), 8) << "a miss stays on the record it started";
  // The incremental search types into the same texts.
  F.Grid->SetOptionsZk(F.Grid->OptionsZk() + TDBGridZkOptions{dghIncSearch, dghPreferIncSearch});
  F.Grid->SetFocus();
  Q->First();
  SimulateTyping(u"бета-");
  EXPECT_EQ(Q->FieldByName(u"ID")->AsInteger(), 7);
  EXPECT_EQ(F.Grid->InplaceSearchText(), u"Бета-");
  // Its texts are the shown ones (another option): read again, and walked only to the match.
  EXPECT_EQ(Index()->Count(), GetParam() ? 7 : 8);
}

TEST_P(DBGridZkTextIndex, FindsWhatTheWalkFindsAfterEachChange) {
  auto Edit = [&](int Id, const Variant& Name) {
    ASSERT_TRUE(Q->Locate(u"ID", Id, {}));
    Q->Edit();
    Q->FieldByName(u"NAME")->SetValue(Name);
    Q->Post();
  };
  struct TStep {
    const char* Name;
    std::function<void()> Change;
  };
  const TStep Steps[] = {
      {"nothing", [] {}},
      {"an earlier record edited to match", [&] { Edit(1, String(u"Дельта-0")); }},
      {"a text that matched edited away", [&] { Edit(2, String(u"Каппа")); }},
      {"a Null given a text", [&] { Edit(5, String(u"Альфа-5")); }},
      {"a record appended", [&] { Q->AppendRecord({9, String(u"Эпсилон")}); }},
      {"a record inserted in the middle", [&] {
         Q->Locate(u"ID", 3, {});
         Q->InsertRecord({10, String(u"Альфа-10")});
       }},
      {"a matching record deleted", [&] {
         Q->Locate(u"ID", 4, {});
         Q->Delete();
       }},
      {"a filter", [&] {
         Q->SetFilter(u"ID > 5");
         Q->SetFilteredValue(true);
       }},
      {"another filter", [&] { Q->SetFilter(u"ID < 7"); }},
      {"no filter", [&] { Q->SetFilteredValue(false); }},
      {"a change from elsewhere read again", [&] {
         Conn->Execute(u"UPDATE NAMES SET NAME = 'Альфа-1' WHERE ID = 1");
         Q->Requery();
       }},
      {"the query closed and opened", [&] {
         Conn->Execute(u"DELETE FROM NAMES WHERE ID = 1");
         Q->Close();
         Q->Open();
         F.Grid->MoveCol(1, 0, false);
       }},
  };
  const String Patterns[] = {u"аль", u"АЛЬФА-", u"дел", u"эп", u"бета-7", u"ка", u"я"};
  for (const TStep& S : Steps) {
    S.Change();
    for (const String& P : Patterns)
      EXPECT_EQ(Search(P), Walked(P)) << S.Name << ": " << ToUtf8(P);
    // A second time from the kept texts, complete after the misses.
    for (const String& P : Patterns) EXPECT_EQ(Search(P), Walked(P)) << S.Name << ": " << ToUtf8(P);
  }
}

TEST_P(DBGridZkTextIndex, LetterCaseAndColumnsKeepTheirOwnTexts) {
  EXPECT_EQ(Search(u"Аль"), 2) << "case ignored";
  EXPECT_EQ(Search(u"Аль", {}), 4) << "case kept: the texts are read again";
  EXPECT_EQ(Search(u"аль", {}), 2);
  EXPECT_EQ(Search(u"АЛЬ"), 2);
  // The numbers of another column replace the kept names, then the names come back.
  F.Grid->MoveCol(0, 0, false);
  EXPECT_EQ(Search(u"7"), 7);
  F.Grid->MoveCol(1, 0, false);
  EXPECT_EQ(Search(u"оме"), 8);
}

TEST_P(DBGridZkTextIndex, FoundRecordSitsWhereTheWalkLeavesIt) {
  for (int Id = 9; Id <= 60; ++Id)
    Conn->Execute(u"INSERT INTO NAMES VALUES (" + IntToStr(Id) + u", 'Имя " + IntToStr(Id) + u"')");
  Q->Requery();
  ASSERT_EQ(Search(u"имя 40"), 40);
  const int WalkedRow = F.Grid->DataLink()->ActiveRecord();
  EXPECT_GT(WalkedRow, 0);
  Q->First();
  ASSERT_EQ(Search(u"имя 40"), 40);
  EXPECT_EQ(F.Grid->DataLink()->ActiveRecord(), WalkedRow) << "answered from the kept texts";
  Q->First();
  ASSERT_EQ(Search(u"альфа"), 2);
  EXPECT_EQ(F.Grid->DataLink()->ActiveRecord(), 1);
}

INSTANTIATE_TEST_SUITE_P(StoredAndWalked, DBGridZkTextIndex, ::testing::Values(false, true),
                         [](const auto& Info) { return Info.param ? "Walked" : "Stored"; });

}  // namespace
