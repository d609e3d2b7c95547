// DBCtrlsZkSQLiteTest.cpp - the editors end to end on a real database file: a name, a date, a
// price and a flag typed into a new row of a query, posted, and read back by a second query.
#include "gridlib/toolkit/tests/DBCtrlsZkTestFixture.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/db/DataSet.h"
#include "platform/rtl/DateUtils.h"
#include "platform/sqlite/ADODB.h"

namespace fs = std::filesystem;

namespace {

class SQLiteEditing : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    Dir = fs::temp_directory_path() / ("vorenta_editors_" + std::to_string(getpid()));
    fs::create_directories(Dir);
    std::ofstream(Dir / "orders.data").close();   // an empty file is an empty database
    Conn = new TADOConnection(Form);
    Conn->SetConnectionString(Utf8ToString("Data Source=" + (Dir / "orders.data").string()));
    Conn->Open();
    Conn->Execute(u"CREATE TABLE DR_ORD (ID INTEGER PRIMARY KEY AUTOINCREMENT, NM VARCHAR(40),"
                  u" DT DATETIME, PRICE REAL, PAID INTEGER)");
  }
  void TearDown() override {
    EditorTest::TearDown();
    fs::remove_all(Dir);
  }
  fs::path Dir;
  TADOConnection* Conn = nullptr;
};

TEST_F(SQLiteEditing, TypedRowIsPostedAndReadBack) {
  auto* Orders = new TADOQuery(Form);
  Orders->SetConnection(Conn);
  Orders->SQL()->SetText(u"SELECT ID, NM, DT, PRICE, PAID FROM DR_ORD");
  Source->SetDataSet(Orders);
  auto* Name = Place<TDBEditZk>(10);
  Name->SetDataSource(Source);
  Name->SetDataField(u"NM");
  auto* Day = Place<TDBDateTimeEditZk>(40);
  Day->SetDataSource(Source);
  Day->SetDataField(u"DT");
  auto* Price = Place<TDBNumberEditZk>(70);
  Price->SetDataSource(Source);
  Price->SetDataField(u"PRICE");
  auto* Paid = Place<TDBCheckBoxZk>(100);
  Paid->SetDataSource(Source);
  Paid->SetDataField(u"PAID");
  Paid->SetValueChecked(u"1");
  Paid->SetValueUnchecked(u"0");
  Form->Show();
  Orders->Open();
  Orders->Append();

  Name->SetFocus();
  SimulateTyping(u"Колеровка «Охра»");
  SimulateKeyPress(VK_TAB, {}, u'\t');
  ASSERT_TRUE(Day->Focused());
  SimulateKeyPress(VK_HOME);
  SimulateTyping(u"07032026");
  SimulateKeyPress(VK_TAB, {}, u'\t');
  SimulateTyping(u"1234,56");
  SimulateKeyPress(VK_TAB, {}, u'\t');
  ASSERT_TRUE(Paid->Focused());
  SimulateKeyPress(VK_SPACE, {}, u' ');
  SimulateKeyPress(VK_TAB, {}, u'\t');
  Orders->Post();

  TADOQuery Check(nullptr);
  Check.SetConnection(Conn);
  Check.SQL()->SetText(u"SELECT NM, DT, PRICE, PAID FROM DR_ORD");
  Check.Open();
  ASSERT_EQ(Check.RecordCount(), 1);
  EXPECT_EQ(Check.FieldByName(u"NM")->AsString(), u"Колеровка «Охра»");
  EXPECT_EQ(Check.FieldByName(u"DT")->AsDateTime(), EncodeDate(2026, 3, 7));
  EXPECT_DOUBLE_EQ(Check.FieldByName(u"PRICE")->AsFloat(), 1234.56);
  EXPECT_EQ(Check.FieldByName(u"PAID")->AsInteger(), 1);
}

}  // namespace
