// DBGridZkValuesTest.cpp - what a column shows and writes: its type, key and pick lists,
// check-box states from Booleans, numbers and key texts, and stepping values.
#include <gtest/gtest.h>

#include "gridlib/grid/tests/DBGridZkTestForm.h"
#include "platform/classes/Strings.h"

namespace {

struct TValuesFixture : TDBGridOnForm {
  TValuesFixture() : TDBGridOnForm(3) {}
  TColumnZk* Column(const String& Name) { return Grid->FindColumnByName(Name); }
  void Write(const String& Field, const Variant& V) {
    Set->Edit();
    Set->FieldByName(Field)->SetValue(V);
    Set->Post();
  }
};

TEST(DBGridZkValues, KeyItemMatchesNamesAndTheTrailingSeparator) {
  struct {
    const char16_t *Item, *Text;
    bool Match;
  } const Cases[] = {
      {u"", u"", true},          {u"Y;Yes;1", u"yes", true}, {u"Y;Yes;1", u"1", true},
      {u"Y;Yes;1", u"", false},  {u"Y;Yes;1", u"No", false}, {u"N;", u"n", true},
      {u"N;", u"", true},        {u"N", u"", false},         {u"", u"x", false},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(TColumnZk::KeyItemMatches(C.Item, C.Text), C.Match)
        << StringToUtf8(C.Item) << " / " << StringToUtf8(C.Text);
}

TEST(DBGridZkValues, ColumnTypeAndKeyListTexts) {
  TValuesFixture F;
  TColumnZk* Name = F.Column(u"NAME");
  EXPECT_EQ(Name->GetColumnType(), ctCommon);
  Name->PickList()->SetText(u"One\r\nTwo");
  EXPECT_EQ(Name->GetColumnType(), ctPickList);
  Name->KeyList()->SetText(u"K1\r\nK2");
  EXPECT_EQ(Name->GetColumnType(), ctKeyPickList);
  Name->SetCheckboxes(true);
  EXPECT_EQ(Name->GetColumnType(), ctCheckboxes);
  Name->SetCheckboxes(false);

  struct {
    const char16_t* Stored;
    int NotInKeyList;
    const char16_t* Shown;
    int Image;
  } const Cases[] = {
      {u"k2", -1, u"Two", 1},  // the key list ignores case
      {u"K1", -1, u"One", 0},
      {u"K3", -1, u"", -1},
      {u"K3", 0, u"One", 0},   // a key outside the list shows the chosen pick entry
      {u"K3", 5, u"", 5},      // ... only when the pick list reaches it
  };
  for (const auto& C : Cases) {
    Name->SetNotInKeyListIndex(C.NotInKeyList);
    F.Write(u"NAME", String(C.Stored));
    EXPECT_EQ(Name->DisplayText(), C.Shown) << StringToUtf8(C.Stored);
    EXPECT_EQ(Name->EditText(), C.Shown) << StringToUtf8(C.Stored);
    EXPECT_EQ(Name->GetImageIndex(), C.Image) << StringToUtf8(C.Stored);
  }
  // Pick texts are typed whatever the field accepts, and the field's mask does not apply.
  F.Set->FieldByName(u"NAME")->SetEditMask(u"000");
  EXPECT_EQ(Name->GetEditMask(), u"");
  EXPECT_EQ(Name->GetAcceptableEditText(u"Two"), u"Two");
  TColumnZk* Qty = F.Column(u"QTY");
  EXPECT_EQ(Qty->GetAcceptableEditText(u"1a2"), u"12");
}

TEST(DBGridZkValues, CheckBoxStatesFromBooleansNumbersAndKeyTexts) {
  TValuesFixture F;
  TColumnZk* Flag = F.Column(u"FLAG");
  TColumnZk* Qty = F.Column(u"QTY");
  TColumnZk* Name = F.Column(u"NAME");
  Name->KeyList()->SetText(u"T;t;\r\nF");
  struct {
    TColumnZk* Column;
    const char16_t* Field;
    Variant Value;
    TCheckBoxState State;
  } const Cases[] = {
      {Flag, u"FLAG", true, cbChecked},          {Flag, u"FLAG", false, cbUnchecked},
      {Flag, u"FLAG", Null(), cbGrayed},         {Qty, u"QTY", 1, cbChecked},
      {Qty, u"QTY", 2, cbUnchecked},             {Qty, u"QTY", Null(), cbGrayed},
      {Name, u"NAME", String(u"T"), cbChecked},  {Name, u"NAME", String(u"t"), cbChecked},
      {Name, u"NAME", String(u""), cbChecked},   {Name, u"NAME", String(u"F"), cbUnchecked},
      {Name, u"NAME", String(u"X"), cbGrayed},
  };
  for (const auto& C : Cases) {
    F.Write(C.Field, C.Value);
    EXPECT_EQ(C.Column->CheckboxState(), C.State) << StringToUtf8(C.Field) << " "
                                                  << StringToUtf8(VarToStr(C.Value));
  }
  // Checking writes the first key up to its ';'; unchecking a number writes 0; grayed is Null.
  F.Set->Edit();
  Name->SetCheckboxState(cbChecked);
  Qty->SetCheckboxState(cbUnchecked);
  Flag->SetCheckboxState(cbGrayed);
  F.Set->Post();
  EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), u"T");
  EXPECT_EQ(F.Set->FieldByName(u"QTY")->AsInteger(), 0);
  EXPECT_TRUE(F.Set->FieldByName(u"FLAG")->IsNull());
}

TEST(DBGridZkValues, SteppingWrapsListsAndCountsFromNull) {
  TValuesFixture F;
  TColumnZk* Name = F.Column(u"NAME");
  Name->PickList()->SetText(u"P\r\nQ\r\nR");
  String Written;
  Name->SetOnUpdateData([&](TObject*, String& Text, Variant&, bool&, bool&) { Written = Text; });
  struct {
    const char16_t* From;
    long double Step;
    const char16_t* To;
    const char16_t* ThroughEvent;
  } const Picks[] = {
      {u"R", 1, u"P", u""},       // forward from the last wraps, bypassing the event
      {u"zz", 1, u"P", u""},      // a text outside the list starts at the first
      {u"P", -1, u"R", u""},      // back from the first wraps
      {u"P", 1, u"Q", u"Q"},      // an ordinary step is written through OnUpdateData
      {u"Q", -1, u"P", u"P"},
  };
  for (const auto& C : Picks) {
    F.Write(u"NAME", String(C.From));
    Written.clear();
    Name->StepFieldValue(C.Step);
    F.Set->Post();
    EXPECT_EQ(F.Set->FieldByName(u"NAME")->AsString(), C.To) << StringToUtf8(C.From);
    EXPECT_EQ(Written, C.ThroughEvent) << StringToUtf8(C.From);
  }
  // A Null number stepped up starts from minus the step: 0, then 1.
  TColumnZk* Qty = F.Column(u"QTY");
  F.Write(u"QTY", Null());
  Qty->StepFieldValue(1);
  EXPECT_EQ(F.Set->FieldByName(u"QTY")->AsInteger(), 0);
  Qty->StepFieldValue(1);
  EXPECT_EQ(F.Set->FieldByName(u"QTY")->AsInteger(), 1);
  F.Set->Post();
  // A key list steps through its keys; a read-only grid steps nothing.
  TColumnZk* Id = F.Column(u"ID");
  Id->KeyList()->SetText(u"1\r\n2\r\n3");
  Id->PickList()->SetText(u"a\r\nb\r\nc");
  F.Set->First();
  Id->StepFieldValue(-1);
  F.Set->Post();
  EXPECT_EQ(F.Set->FieldByName(u"ID")->AsInteger(), 3);
  F.Grid->SetReadOnly(true);
  Id->StepFieldValue(1);
  EXPECT_EQ(F.Set->State(), dsBrowse);
  EXPECT_EQ(F.Set->FieldByName(u"ID")->AsInteger(), 3);
}

}  // namespace
