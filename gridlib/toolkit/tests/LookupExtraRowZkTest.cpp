// SpecRowZkTest.cpp - the ';' splitter, the special row's update counting, colour and font
// following the owner, LocateKey, and the field value list following its dataset.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gridlib/toolkit/FieldValueListZk.h"
#include "gridlib/toolkit/LookupExtraRowZk.h"
#include "platform/db/ArrayDataSet.h"
#include "platform/db/FieldDefs.h"

namespace {

std::vector<String> Split(const String& Text) {
  TStringList L;
  SplitQuotedSemicolonList(&L, Text);
  std::vector<String> Out;
  for (int I = 0; I < L.Count(); ++I) Out.push_back(L.Strings(I));
  return Out;
}

TEST(SplitQuotedSemicolonList, Table) {
  struct Row {
    String Text;
    std::vector<String> Items;
  } Rows[] = {
      {u"\"a;b\";c", {u"a;b", u"c"}},
      {u"x; y", {u"x", u" y"}},
      {u"  \t x;y ", {u"x", u"y "}},
      {u"a\r\n;\r\nb", {u"a", u"b"}},
      {u"\"say \"\"hi\"\"\";z", {u"say \"hi\"", u"z"}},
      {u"a;;b", {u"a", u"", u"b"}},
      {u"", {}},
      {u"   ", {}},
      {u"\"open", {u"open"}},
  };
  for (const Row& R : Rows) EXPECT_EQ(Split(R.Text), R.Items) << StringToUtf8(R.Text);
}

class TOwnerControl : public TControl {
public:
  TOwnerControl() : TControl(nullptr) {}
};

TEST(SpecRow, UpdateCountingSendsOneChangeAtTheOuterEnd) {
  TSpecRowZk Row(nullptr);
  int Changes = 0;
  Row.SetOnChanged([&](TObject*) { ++Changes; });
  Row.BeginUpdate();
  Row.BeginUpdate();
  Row.SetVisible(true);
  Row.SetCellsText(u"a;b");
  Row.EndUpdate();
  EXPECT_EQ(Changes, 0);
  Row.EndUpdate();
  EXPECT_EQ(Changes, 1);
  Row.SetVisible(true);   // unchanged: nothing
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Row.GetCellsTextItem(1), u"b");
  EXPECT_EQ(Row.GetCellsTextItem(2), u"");
  Row.SetValue(5);
  Row.SetValue(u"abc");   // another kind of value is a change, not a comparison error
  EXPECT_EQ(Row.Value().AsString(), u"abc");
  EXPECT_EQ(Changes, 3);
}

TEST(SpecRow, LocateKey) {
  TSpecRowZk Row(nullptr);
  EXPECT_FALSE(Row.LocateKey(Null()));   // not visible never matches
  Row.SetVisible(true);
  EXPECT_TRUE(Row.LocateKey(Null()));
  EXPECT_FALSE(Row.LocateKey(0));
  Row.SetValue(3);
  EXPECT_TRUE(Row.LocateKey(3.0));
  EXPECT_FALSE(Row.LocateKey(u"x"));
}

TEST(SpecRow, ColourAndFontFollowTheOwnerUntilAssigned) {
  TOwnerControl Owner;
  Owner.SetColor(clYellow);
  TSpecRowZk Row(&Owner);
  EXPECT_EQ(Row.Color(), clYellow);
  EXPECT_FALSE(Row.IsColorStored());

  Owner.Font()->SetName(u"Arial");
  EXPECT_EQ(Row.Font()->Name(), u"Arial");
  EXPECT_FALSE(Row.IsFontStored());
  Row.Font()->SetSize(14);
  EXPECT_TRUE(Row.IsFontStored());
  Owner.Font()->SetName(u"Courier New");
  EXPECT_EQ(Row.Font()->Name(), u"Arial");

  TSpecRowZk Copy(nullptr);
  int Changes = 0;
  Copy.SetOnChanged([&](TObject*) { ++Changes; });
  TSpecRowZk Plain(&Owner);
  Copy.Assign(&Plain);
  EXPECT_EQ(Copy.Color(), clYellow);
  EXPECT_TRUE(Copy.IsColorStored());
  EXPECT_FALSE(Copy.IsFontStored());
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Copy.ShortCut(), DefaultSpecRowShortCut);
}

class FieldValueListTest : public ::testing::Test {
protected:
  void SetUp() override {
    Owner = std::make_unique<TComponent>(nullptr);
    Set = new TArrayDataSet(Owner.get());
    Set->FieldDefs()->Add(u"ID", ftInteger);
    Set->FieldDefs()->Add(u"NAME", ftWideString, 10);
    Set->AddRow({1, u"B"});
    Set->AddRow({2, u"A"});
    Set->AddRow({3, u"B"});
    Set->AddRow({4, Null()});
    Set->AddRow({5, u"C"});
    Set->Open();
  }
  static std::vector<String> Texts(TStrings* L) {
    std::vector<String> Out;
    for (int I = 0; I < L->Count(); ++I) Out.push_back(L->Strings(I));
    return Out;
  }
  std::unique_ptr<TComponent> Owner;
  TArrayDataSet* Set = nullptr;
};

TEST_F(FieldValueListTest, SortedDistinctTextsRefilledAfterADataSetChange) {
  TDatasetFieldValueListZk List;
  List.SetDataSet(Set);
  List.SetFieldName(u"NAME");
  EXPECT_EQ(Texts(List.Values()), (std::vector<String>{u"", u"A", u"B", u"C"}));

  Set->SetFilter(u"ID < 3");
  Set->SetFilteredValue(true);   // a dataset change event
  EXPECT_EQ(Texts(List.Values()), (std::vector<String>{u"A", u"B"}));
}

TEST_F(FieldValueListTest, MissingFieldOrClosedDatasetGivesAnEmptyListAndRetries) {
  TDatasetFieldValueListZk List;
  List.SetDataSet(Set);
  List.SetFieldName(u"NOPE");
  EXPECT_EQ(List.Values()->Count(), 0);
  List.SetFieldName(u"NAME");
  EXPECT_EQ(List.Values()->Count(), 4);
  Set->Close();
  List.SetFieldName(u"ID");
  EXPECT_EQ(List.Values()->Count(), 0);
  Set->Open();
  EXPECT_EQ(List.Values()->Count(), 5);
}

// Reading the values (as a filter drop-down opens) must not move the dataset's record.
TEST_F(FieldValueListTest, RefillingKeepsTheDatasetOnItsRecord) {
  TDataSource Source(nullptr);
  Source.SetDataSet(Set);
  TDatasetFieldValueListZk List;
  List.SetDataSource(&Source);
  List.SetFieldName(u"NAME");
  Set->SetRecNo(2);
  List.Values();
  EXPECT_EQ(Set->RecNo(), 2);
  EXPECT_EQ(Set->FieldByName(u"ID")->AsInteger(), 2);
  EXPECT_FALSE(Set->ControlsDisabled());
}

}  // namespace
