// DBCtrlsZkCheckBoxTest.cpp - the check box: states read from the data, value lists, the toggle
// cycle, and each way of toggling (click, Space, BN_CLICKED) counting once.
#include "gridlib/toolkit/tests/DBCtrlsZkTestFixture.h"

#include "platform/db/DataSet.h"

namespace {

TEST(ValueInList, ItemsTrimmedCaseIgnoredAndTrailingSeparator) {
  struct Row {
    const char16_t* List;
    const char16_t* Text;
    bool Want;
  };
  for (Row R : {Row{u"Да; yes ;1", u"ДА", true}, Row{u"Да; yes ;1", u"yes", true},
                Row{u"Да; yes ;1", u"", false}, Row{u"Нет;", u"", true},
                Row{u"", u"", false}, Row{u"Нет", u"Не", false}})
    EXPECT_EQ(ValueInList(R.List, R.Text), R.Want) << ToUtf8(R.List) << "|" << ToUtf8(R.Text);
}

class CheckTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    Flag = Place<TDBCheckBoxZk>(10);
    Flag->SetCaption(u"С учетом ре&гистра");
    Flag->SetDataSource(Source);
    Flag->SetDataField(u"FLAG");
    Show();
  }
  TDBCheckBoxZk* Flag = nullptr;
};

TEST_F(CheckTest, BooleanFieldReadsNullAsGrayedAndWritesBooleans) {
  EXPECT_EQ(Flag->State(), cbChecked);
  Data->Edit();
  Data->FieldByName(u"FLAG")->Clear();
  EXPECT_EQ(Flag->State(), cbGrayed);
  Flag->SetState(cbUnchecked);
  EXPECT_FALSE(Data->FieldByName(u"FLAG")->AsBoolean());
  Flag->SetValueChecked(u"Да;True");   // other lists: read through the text, still a Boolean
  Data->FieldByName(u"FLAG")->SetAsBoolean(true);
  EXPECT_EQ(Flag->State(), cbChecked);
}

TEST_F(CheckTest, TextFieldWritesTheFirstItem) {
  Flag->SetDataField(u"NOTE");
  Flag->SetValueChecked(u" светлая ; С;light");
  Flag->SetValueUnchecked(u"тёмная;");
  EXPECT_EQ(Flag->State(), cbChecked);
  Data->Next();
  EXPECT_EQ(Flag->State(), cbUnchecked);   // a null note reads as the empty text
  Flag->SetState(cbChecked);
  EXPECT_EQ(Data->FieldByName(u"NOTE")->AsString(), u"светлая");
}

TEST_F(CheckTest, EachWayOfTogglingCountsOnce) {
  int Clicks = 0;
  Flag->SetOnClick([&](TObject*) { ++Clicks; });
  Flag->SetFocus();
  ASSERT_TRUE(Flag->Focused());
  SimulateClick(Flag, {5, 5});
  EXPECT_EQ(Flag->State(), cbUnchecked);
  SimulateKeyDown(VK_SPACE, {}, u' ');
  EXPECT_EQ(Flag->State(), cbUnchecked);   // the press only shows pressed
  SimulateKeyUp(VK_SPACE);
  EXPECT_EQ(Flag->State(), cbChecked);
  Flag->Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(Flag));
  EXPECT_EQ(Flag->State(), cbUnchecked);
  EXPECT_EQ(Clicks, 3);
  Other->SetFocus();
  EXPECT_FALSE(Data->FieldByName(u"FLAG")->AsBoolean());   // posted on exit
}

TEST_F(CheckTest, ToggleCycleWithAndWithoutGrayed) {
  auto* Free = Place<TDBCheckBoxZk>(40);
  EXPECT_EQ(Free->State(), cbUnchecked);
  EXPECT_FALSE(Free->IsStateStored());
  Free->Toggle();
  EXPECT_EQ(Free->State(), cbChecked);
  Free->SetAllowGrayed(true);
  Free->Toggle();
  Free->Toggle();
  EXPECT_EQ(Free->State(), cbGrayed);
  EXPECT_TRUE(Free->IsStateStored());
  Free->SetAllowGrayed(false);
  Free->Toggle();
  EXPECT_EQ(Free->State(), cbChecked);
}

}  // namespace
