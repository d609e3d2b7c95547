// DBGridZkSqliteTest.cpp - the data grid over a query of a temporary SQLite file: columns from
// the result, a sum footer that follows a posted edit, and the rows painted from the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sqlite/ADODB.h"

namespace {

namespace fs = std::filesystem;

TEST(DBGridZkSqlite, QueryRowsSumsAndPostedEdits) {
  const fs::path Dir = fs::temp_directory_path() / ("vorenta-dbgrid-" + std::to_string(getpid()));
  fs::create_directories(Dir);
  // An empty file is an empty database; the connection opens existing files only.
  std::ofstream(Dir / "items.data").close();
  {
    TDBGridOnForm F(0);
    auto* Conn = new TADOConnection(F.Form);
    Conn->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                              Utf8ToString((Dir / "items.data").string()));
    Conn->Open();
    Conn->Execute(u"CREATE TABLE ITEMS (ID INTEGER PRIMARY KEY, NAME VARCHAR(30), PRICE CURRENCY)");
    Conn->Execute(u"INSERT INTO ITEMS VALUES (1, 'Краска', 10.25), (2, 'O''Neil', 20.5), "
                  u"(3, NULL, 1.125)");
    auto* Q = new TADOQuery(F.Form);
    Q->SetConnection(Conn);
    Q->SQL()->SetText(u"SELECT ID, NAME, PRICE FROM ITEMS ORDER BY ID");
    Q->Open();
    F.Source->SetDataSet(nullptr);
    F.Source->SetDataSet(Q);
    TDBGridZk* G = F.Grid;
    ASSERT_EQ(G->Columns()->Count(), 3);
    G->SetFooterRowCount(1);
    G->SumList()->SetActive(true);
    TColumnZk* Price = G->FindColumnByName(u"PRICE");
    Price->Footer()->SetValueType(fvtSum);
    Price->Footer()->SetDisplayFormat(u"0.0000");
    EXPECT_EQ(G->GetFooterText(Price, 0), FormatFloat(u"0.0000", 31.875));
    Q->Last();
    Q->Edit();
    Q->FieldByName(u"PRICE")->SetAsFloat(2.0);
    Q->Post();
    EXPECT_EQ(G->GetFooterText(Price, 0), FormatFloat(u"0.0000", 32.75));
    String Painted;
    G->ForDataRow(0, [&] { Painted = G->Columns()->Items(1)->DisplayText(); });
    EXPECT_EQ(Painted, u"Краска");
  }
  fs::remove_all(Dir);
}

}  // namespace
